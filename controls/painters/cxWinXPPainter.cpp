// The native look: every part through the visual style, falling back on
// the standard painter wherever its theme class does not open.
#include "controls/painters/cxLookAndFeelPainters.h"

#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Regions.h"
#include "platform/win/Paint.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePages.h"

namespace {
using Std = TcxStandardLookAndFeelPainter;

// Visual-style parts and states.
constexpr int BP_PUSHBUTTON = 1, BP_CHECKBOX = 3;
constexpr int PushButtonStates[] = {5, 1, 2, 3, 4};
constexpr int CheckStates[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
constexpr int HeaderStates[] = {1, 1, 2, 3, 1};
constexpr int SBP_ARROWBTN = 1;
constexpr int BP_RADIOBUTTON = 2;
constexpr int RadioStates[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
constexpr int CloseButtonStates[] = {1, 1, 2, 3, 4};
constexpr int DropDownStates[] = {1, 1, 2, 3, 4};
constexpr int TabItemStates[] = {1, 1, 2, 3, 4};
constexpr int ToolBarStates[] = {2, 2, 5, 3, 4};
int GroupExpandState(TcxButtonState S) { return S == cxbsHot ? 2 : S == cxbsPressed ? 3 : 1; }

// The content rectangle of a part laid in (0, 0, 100, 100); false when the
// style does not give one.
bool ContentIn100(HTHEME T, int Part, int State, TRect& C) {
  const TRect Box{0, 0, 100, 100};
  HDC Dc = GetDC(nullptr);
  const bool Ok = GetThemeBackgroundContentRect(T, Dc, Part, State, &Box, &C) == S_OK;
  ReleaseDC(nullptr, Dc);
  return Ok;
}
int ThumbState(TcxButtonState S) {
  return S == cxbsHot ? 2 : S == cxbsPressed ? 3 : S == cxbsDisabled ? 4 : 1;
}
int ArrowState(TcxArrowDirection D, TcxButtonState S) {
  static constexpr int Add[] = {1, 1, 2, 3, 4};
  return 4 * int(D) + Add[S];
}

void ThemedText(TcxCanvas* ACanvas, HTHEME Theme, int Part, int State, const TRect& R, const AnsiString& Text,
                DWORD Flags) {
  if (Text.empty()) return;
  const WideString W = AnsiToWide(Text);
  ACanvas->Canvas()->RequiredState({csHandleValid, csFontValid});
  DrawThemeText(Theme, ACanvas->GetDC(), Part, State, W.c_str(), int(W.size()), Flags, 0, &R);
}
}  // namespace

TcxLookAndFeelPainterClass TcxWinXPLookAndFeelPainter::Instance() {
  static const TcxWinXPLookAndFeelPainter P;
  return &P;
}

TColor TcxWinXPLookAndFeelPainter::DefaultColor31() const {
  COLORREF C = 0;
  if (HTHEME T = GetThemeHandle(totComboBox); T && GetThemeColor(T, 1, 1, 3801, &C) == S_OK) return TColor(C);
  return Std::DefaultColor31();
}

int TcxWinXPLookAndFeelPainter::BorderWidth() const {
  return GetThemeHandle(totListView) ? 1 : Std::BorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME T = GetThemeHandle(totListView);
  if (!T) {
    Std::DrawControlBorder(ACanvas, R);
    return;
  }
  HDC DC = ACanvas->GetDC();
  const int Saved = SaveDC(DC);
  ExcludeClipRect(DC, R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  DrawThemeBackground(T, DC, 5, 0, &R, nullptr);
  RestoreDC(DC, Saved);
}

void TcxWinXPLookAndFeelPainter::DrawButtonBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (HTHEME T = GetThemeHandle(totButton))
    DrawThemeBackground(T, ACanvas->GetDC(), BP_PUSHBUTTON, PushButtonStates[AState], &R, nullptr);
  else
    Std::DrawButtonBackground(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawCaptionButton(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                   TcxButtonState AState, bool ADrawFrame, TColor AFaceColor,
                                                   TColor ATextColor) const {
  HTHEME T = GetThemeHandle(totButton);
  if (!T) {
    Std::DrawCaptionButton(ACanvas, R, AText, AState, ADrawFrame, AFaceColor, ATextColor);
    return;
  }
  DrawThemeBackground(T, ACanvas->GetDC(), BP_PUSHBUTTON, PushButtonStates[AState], &R, nullptr);
  ThemedText(ACanvas, T, BP_PUSHBUTTON, PushButtonStates[AState], R, AText, 37);
}

void TcxWinXPLookAndFeelPainter::PaintArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  TcxArrowDirection ADirection, bool ADrawFrame) const {
  if (HTHEME T = GetThemeHandle(totScrollBar))
    DrawThemeBackground(T, ACanvas->GetDC(), SBP_ARROWBTN, ArrowState(ADirection, AState), &R, nullptr);
  else
    TcxCustomLookAndFeelPainter::PaintArrowButton(ACanvas, R, AState, ADirection, ADrawFrame);
}

int TcxWinXPLookAndFeelPainter::CheckFrameWidth() const {
  return GetThemeHandle(totButton) ? 0 : TcxCustomLookAndFeelPainter::CheckFrameWidth();
}

TSize TcxWinXPLookAndFeelPainter::CheckBoxSize() const {
  if (HTHEME T = GetThemeHandle(totButton)) {
    TSize S{};
    if (GetThemePartSize(T, nullptr, BP_CHECKBOX, 5, nullptr, TS_TRUE, &S) == S_OK) return S;
  }
  return TcxCustomLookAndFeelPainter::CheckBoxSize();
}

void TcxWinXPLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               bool AChecked, TColor AColor) const {
  if (HTHEME T = GetThemeHandle(totButton))
    DrawThemeBackground(T, ACanvas->GetDC(), BP_CHECKBOX, CheckStates[AChecked ? 1 : 0][AState], &R, nullptr);
  else
    TcxCustomLookAndFeelPainter::DrawCheckMark(ACanvas, R, AState, AChecked, AColor);
}

void TcxWinXPLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (!GetThemeHandle(totButton)) Std::DrawCheckFrame(ACanvas, R, AState);
}

int TcxWinXPLookAndFeelPainter::ExpandBoxSize() const {
  if (HTHEME T = GetThemeHandle(totTreeView)) {
    TSize S{};
    if (GetThemePartSize(T, nullptr, 2, 1, nullptr, TS_TRUE, &S) == S_OK) return S.cx;
  }
  return Std::ExpandBoxSize();
}

void TcxWinXPLookAndFeelPainter::DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                               TColor AColor) const {
  HTHEME T = GetThemeHandle(totTreeView);
  if (!T) {
    Std::DrawExpandBox(ACanvas, R, AExpanded, AColor);
    return;
  }
  DrawThemeBackground(T, ACanvas->GetDC(), 2, AExpanded ? 2 : 1, &R, nullptr);
  ACanvas->ExcludeClipRect(R);
}

void TcxWinXPLookAndFeelPainter::DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                    TColor /*ABorderColor*/, TColor AColor) const {
  // Without the tree theme the given fill colour frames the box.
  if (GetThemeHandle(totTreeView))
    DrawExpandBox(ACanvas, R, AExpanded, clDefault);
  else
    TcxCustomLookAndFeelPainter::DrawSmallExpandBox(ACanvas, R, AExpanded, AColor, clDefault);
}

void TcxWinXPLookAndFeelPainter::DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                                unsigned ANeighbours, TcxBorders ASides, TcxButtonState AState,
                                                TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                TColor ATextColor, TColor ABkColor,
                                                const TcxDrawBackgroundEvent& AOnDrawBackground, bool ALastItem) const {
  HTHEME T = GetThemeHandle(totHeader);
  if (!T) {
    Std::DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, ANeighbours, ASides, AState, AAlignHorz, AAlignVert,
                        AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, ALastItem);
    return;
  }
  const int State = HeaderStates[AState];
  // The rightmost item has a part of its own only in the blue and olive styles.
  const int Scheme = GetOffice11SchemeIndex();
  const int Part = (ALastItem && State == 1 && (Scheme == 1 || Scheme == 2)) ? 3 : 1;
  DrawThemeBackground(T, ACanvas->GetDC(), Part, State, &ABounds, nullptr);
  TRect Text = ATextAreaBounds;
  if (AState == cxbsPressed) OffsetRect(&Text, 1, 1);
  if (AFont) ACanvas->Canvas()->SetFont(AFont);
  ACanvas->GetFont()->SetColor(ATextColor);
  static constexpr DWORD Horz[] = {0, 2, 1};
  static constexpr DWORD Vert[] = {0, 8, 4};
  ThemedText(ACanvas, T, Part, State, Text, AText,
             Horz[AAlignHorz] | Vert[AAlignVert] | (AMultiLine ? 16 : 32) | (AShowEndEllipsis ? 32768 : 0) | 2048 |
                 8192);
}

void TcxWinXPLookAndFeelPainter::DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                TcxScrollBarPart APart, TcxButtonState AState) const {
  if (R.IsEmpty()) return;
  HTHEME T = GetThemeHandle(totScrollBar);
  if (!T) {
    Std::DrawScrollPart(ACanvas, AHorizontal, R, APart, AState);
    return;
  }
  HDC DC = ACanvas->GetDC();
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
      PaintArrowButton(ACanvas, R, AState, TcxArrowDirection(2 * int(AHorizontal) + (APart == sbpLineUp ? 0 : 1)),
                       true);
      break;
    case sbpThumbnail:
      DrawThemeBackground(T, DC, AHorizontal ? 2 : 3, ThumbState(AState), &R, nullptr);
      DrawThemeBackground(T, DC, AHorizontal ? 8 : 9, 0, &R, nullptr);
      break;
    case sbpPageUp:
    case sbpPageDown:
      DrawThemeBackground(T, DC, AHorizontal ? (APart == sbpPageUp ? 4 : 5) : (APart == sbpPageUp ? 6 : 7),
                          ThumbState(AState), &R, nullptr);
      break;
    default:
      break;
  }
}

// --- buttons ---

int TcxWinXPLookAndFeelPainter::ButtonFrameWidth(TcxButtonState AState) const {
  TRect C;
  if (HTHEME T = GetThemeHandle(totButton); T && ContentIn100(T, BP_PUSHBUTTON, PushButtonStates[AState], C))
    return C.Left;
  return Std::ButtonFrameWidth(cxbsNormal);
}

TColor TcxWinXPLookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  COLORREF C = 0;
  if (HTHEME T = GetThemeHandle(totButton);
      T && GetThemeColor(T, BP_PUSHBUTTON, PushButtonStates[AState], 204, &C) == S_OK)
    return TColor(C);
  return Std::ButtonFaceColor(AState);
}

TColor TcxWinXPLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  COLORREF C = 0;
  if (HTHEME T = GetThemeHandle(totButton);
      T && GetThemeColor(T, BP_PUSHBUTTON, PushButtonStates[AState], 3803, &C) == S_OK)
    return TColor(C);
  return Std::ButtonGlyphColor(AState, ADefaultColor);
}

TRect TcxWinXPLookAndFeelPainter::ButtonFocusBounds(TcxCanvas* ACanvas, const TRect& R) const {
  if (HTHEME T = GetThemeHandle(totButton)) {
    TRect C;
    if (GetThemeBackgroundContentRect(T, ACanvas->GetDC(), BP_PUSHBUTTON, 1, &R, &C) == S_OK) return C;
  }
  return Std::ButtonFocusBounds(ACanvas, R);
}

TRect TcxWinXPLookAndFeelPainter::ButtonGroupFrameWidths(int AButtonCount, int AButtonIndex) const {
  TRect C;
  HTHEME T = GetThemeHandle(totButton);
  if (!T || !ContentIn100(T, BP_PUSHBUTTON, 1, C)) return Std::ButtonGroupFrameWidths(AButtonCount, AButtonIndex);
  const int Extra = IsThemeBackgroundPartiallyTransparent(T, BP_PUSHBUTTON, 1) ? 1 : 0;
  return {C.Left + Extra, C.Top + Extra, 100 - C.Right + Extra, 100 - C.Bottom + Extra};
}

TRect TcxWinXPLookAndFeelPainter::AdjustGroupButtonRect(const TRect& R, int AButtonCount, int AButtonIndex) const {
  HTHEME T = GetThemeHandle(totButton);
  if (!T) return Std::AdjustGroupButtonRect(R, AButtonCount, AButtonIndex);
  TRect A = R;
  if (IsThemeBackgroundPartiallyTransparent(T, BP_PUSHBUTTON, 1)) InflateRect(&A, 1, 1);
  return A;
}

// --- radio buttons and expand boxes ---

TSize TcxWinXPLookAndFeelPainter::RadioButtonSize() const {
  TSize S{};
  if (HTHEME T = GetThemeHandle(totButton);
      T && GetThemePartSize(T, nullptr, BP_RADIOBUTTON, 1, nullptr, TS_TRUE, &S) == S_OK)
    return S;
  // The painter is chosen only while buttons are themed; this keeps a
  // caller that asks anyway on the classic images.
  return Std::RadioButtonSize();
}

void TcxWinXPLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AState,
                                                 bool AChecked, bool AHighlight, TColor ABrushColor,
                                                 bool AHighlightIfEnabled) const {
  HTHEME T = GetThemeHandle(totButton);
  if (!T) {
    Std::DrawRadioButton(ACanvas, X, Y, AState, AChecked, AHighlight, ABrushColor, AHighlightIfEnabled);
    return;
  }
  const TSize S = RadioButtonSize();
  const TRect R{X, Y, X + S.cx, Y + S.cy};
  DrawThemeBackground(T, ACanvas->GetDC(), BP_RADIOBUTTON, RadioStates[AChecked ? 1 : 0][AState], &R, nullptr);
}

int TcxWinXPLookAndFeelPainter::GroupExpandBoxSize() const {
  TSize S{};
  if (HTHEME T = GetThemeHandle(totExplorerBar); T && GetThemePartSize(T, nullptr, 7, 1, nullptr, TS_TRUE, &S) == S_OK)
    return S.cx;
  return Std::GroupExpandBoxSize();
}

int TcxWinXPLookAndFeelPainter::SmallExpandBoxSize() const {
  return GetThemeHandle(totTreeView) ? ExpandBoxSize() : Std::SmallExpandBoxSize();
}

void TcxWinXPLookAndFeelPainter::DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                    TcxButtonState AState) const {
  if (HTHEME T = GetThemeHandle(totExplorerBar))
    DrawThemeBackground(T, ACanvas->GetDC(), AExpanded ? 6 : 7, GroupExpandState(AState), &R, nullptr);
  else
    Std::DrawGroupExpandBox(ACanvas, R, AExpanded, AState);
}

bool TcxWinXPLookAndFeelPainter::IsInGroupExpandBox(const TRect& R, TPoint P) const {
  HRGN Rgn = nullptr;
  if (HTHEME T = GetThemeHandle(totExplorerBar);
      T && GetThemeBackgroundRegion(T, nullptr, 7, 1, &R, &Rgn) == S_OK && Rgn) {
    const bool In = PtInRegion(Rgn, P.X, P.Y);
    DeleteObject(Rgn);
    return In;
  }
  return Std::IsInGroupExpandBox(R, P);
}

// --- headers ---

int TcxWinXPLookAndFeelPainter::HeaderFrameWidth() const {
  TRect C;
  if (HTHEME T = GetThemeHandle(totHeader); T && ContentIn100(T, 1, 1, C)) return (C.Left + C.Top) / 2;
  return Std::HeaderFrameWidth();
}

TRect TcxWinXPLookAndFeelPainter::HeaderSectionContentBounds(const TRect& R, TcxButtonState AState) const {
  if (!GetThemeHandle(totHeader)) return Std::HeaderSectionContentBounds(R, AState);
  TRect C = R;
  InflateRect(&C, -HeaderFrameWidth(), -HeaderFrameWidth());
  return C;
}

void TcxWinXPLookAndFeelPainter::DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                                   const TRect& ATextAreaBounds, unsigned AReserved,
                                                   TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                                                   TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                   bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                   TColor ATextColor, TColor ABkColor) const {
  if (!GetThemeHandle(totHeader)) {
    Std::DrawHeaderSection(ACanvas, ABounds, ATextAreaBounds, AReserved, ASides, AState, AAlignHorz, AAlignVert,
                           AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
    return;
  }
  ACanvas->FillRect(ABounds, clBtnFace);
  DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, 0, ASides, AState, AAlignHorz, AAlignVert, AMultiLine,
                 AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
}

// --- footers ---

int TcxWinXPLookAndFeelPainter::FooterFrameWidth() const {
  return GetThemeHandle(totEdit) ? 1 : Std::FooterFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellFrameWidth() const {
  TRect C;
  if (HTHEME T = GetThemeHandle(totTrackBar); T && ContentIn100(T, 1, 1, C)) return C.Left;
  return Std::FooterCellFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellIndent() const {
  return GetThemeHandle(totTrackBar) ? 1 : Std::FooterCellIndent();
}

void TcxWinXPLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME T = GetThemeHandle(totEdit);
  // A style without edit edges gets the classic frame.
  if (!T || DrawThemeEdge(T, ACanvas->GetDC(), 1, 1, &R, EDGE_SUNKEN, BF_RECT, nullptr) != S_OK)
    Std::DrawFooterFrame(ACanvas, R);
}

void TcxWinXPLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& R, TAlignment AAlignHorz,
                                                TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                                TColor ABkColor,
                                                const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  HTHEME T = GetThemeHandle(totTrackBar);
  if (!T) {
    Std::DrawFooterCell(ACanvas, R, AAlignHorz, AAlignVert, AMultiLine, AText, AFont, ATextColor, ABkColor,
                        AOnDrawBackground);
    return;
  }
  DrawThemeBackground(T, ACanvas->GetDC(), 1, 1, &R, nullptr);
  DrawThemedText(ACanvas, T, 1, 1, R, FooterCellTextArea(R), AAlignHorz, AAlignVert, AMultiLine, false, false, AText,
                 AFont, ATextColor, ABkColor);
}

// --- filter boxes ---

TPoint TcxWinXPLookAndFeelPainter::FilterToggleBoxSize() const {
  TSize S{};
  if (HTHEME T = GetThemeHandle(totButton);
      T && GetThemePartSize(T, nullptr, BP_CHECKBOX, 5, nullptr, TS_TRUE, &S) == S_OK)
    return {S.cx, S.cy};
  return Std::FilterToggleBoxSize();
}

TPoint TcxWinXPLookAndFeelPainter::FilterCloseBoxSize() const {
  TSize S{};
  if (HTHEME T = GetThemeHandle(totWindow); T && GetThemePartSize(T, nullptr, 19, 1, nullptr, TS_TRUE, &S) == S_OK)
    return {S.cx + 4, S.cy + 4};
  return Std::FilterCloseBoxSize();
}

void TcxWinXPLookAndFeelPainter::DrawFilterCloseBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (HTHEME T = GetThemeHandle(totWindow))
    DrawThemeBackground(T, ACanvas->GetDC(), 19, CloseButtonStates[AState], &R, nullptr);
  else
    Std::DrawFilterCloseBox(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     bool AActive) const {
  if (HTHEME T = GetThemeHandle(totComboBox))
    DrawThemeBackground(T, ACanvas->GetDC(), 1, DropDownStates[AState], &R, nullptr);
  else
    Std::DrawFilterToggleBox(ACanvas, R, AState, AActive);
}

void TcxWinXPLookAndFeelPainter::DrawFilterDropDownBox(TcxCanvas* ACanvas, const TRect& AR, TcxBorders ASides,
                                                       TcxButtonState AState, bool AVertical,
                                                       const AnsiString& AText, TFont* AFont,
                                                       TColor ATextColor) const {
  HTHEME T = GetThemeHandle(totTab);
  if (!T) return;
  // The item reaches 2 pixels past the sides it does not own.
  TRect R = AR;
  if (!(ASides & cxBorderBit(bLeft))) R.Left -= 2;
  if (!(ASides & cxBorderBit(bTop))) R.Top -= 2;
  if (!(ASides & cxBorderBit(bRight))) R.Right += 2;
  if (!(ASides & cxBorderBit(bBottom))) R.Bottom += 2;
  const int State = TabItemStates[AState];
  if (AVertical) {
    // The style's tab items lie horizontally: draw one lying, then turn it.
    TBitmap B;
    B.SetPixelFormat(pf32bit);
    B.SetSize(R.Height(), R.Width());
    const TRect Lying{0, 0, R.Height(), R.Width()};
    DrawThemeBackground(T, B.Canvas()->GetHandle(), 1, State, &Lying, nullptr);
    TcxCanvas::TurnBitmap(&B, 1, false);
    ACanvas->Draw(R.Left, R.Top, &B);
  } else
    DrawThemeBackground(T, ACanvas->GetDC(), 1, State, &R, nullptr);
  DrawThemedText(ACanvas, T, 1, State, R, AR, taCenter, vaCenter, false, true, false, AText, AFont, ATextColor,
                 clDefault);
}

// --- tabs ---

int TcxWinXPLookAndFeelPainter::TabThemedInsetA(bool AVertical) const {
  return GetThemeHandle(totTab) ? 1 : Std::TabThemedInsetA(AVertical);
}

int TcxWinXPLookAndFeelPainter::TabThemedInsetB(bool AVertical) const {
  return GetThemeHandle(totTab) ? 1 : Std::TabThemedInsetB(AVertical);
}

int TcxWinXPLookAndFeelPainter::TabFrameWidth(bool AVertical) const {
  return GetThemeHandle(totTab) ? 1 : Std::TabFrameWidth(AVertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition,
                                              TcxBorders ASides, bool AVertical) const {
  if (!GetThemeHandle(totTab)) Std::DrawTabFrame(ACanvas, R, ATabPosition, ASides, AVertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                              bool AVertical) const {
  HTHEME T = GetThemeHandle(totTab);
  if (!T) {
    Std::DrawTabsBase(ACanvas, R, ASides, AVertical);
    return;
  }
  // Only the edge of the pane lies in R: the pane reaches 10 pixels past it
  // across the row, and along the row past its own margins.
  TRect C;
  TRect Margins{};
  if (ContentIn100(T, 9, 0, C)) Margins = {C.Left, C.Top, 100 - C.Right, 100 - C.Bottom};
  TRect Pane = R;
  if (AVertical) {
    Pane.Left -= 10;
    Pane.Right += 10;
    Pane.Top -= Margins.Top;
    Pane.Bottom += Margins.Bottom;
  } else {
    Pane.Top -= 10;
    Pane.Bottom += 10;
    Pane.Left -= Margins.Left;
    Pane.Right += Margins.Right;
  }
  // Clipped here as well: not every style honours the clip rectangle.
  HDC Dc = ACanvas->GetDC();
  const int Saved = SaveDC(Dc);
  IntersectClipRect(Dc, R.Left, R.Top, R.Right, R.Bottom);
  DrawThemeBackground(T, Dc, 9, 0, &Pane, &R);
  RestoreDC(Dc, Saved);
}

// --- calendar and scheduler ---

void TcxWinXPLookAndFeelPainter::DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                    unsigned ANeighbours, const TcxViewParams& AViewParams,
                                                    int AArrows, int AArrowInset,
                                                    const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  if (!GetThemeHandle(totHeader)) {
    Std::DrawCalendarHeader(ACanvas, R, AText, ANeighbours, AViewParams, AArrows, AArrowInset, AOnDrawBackground);
    return;
  }
  DrawHeaderCell(ACanvas, R, R, ANeighbours, cxBordersAll, cxbsNormal, taCenter, vaCenter, false, false, AText,
                 AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground, !(ANeighbours & 4));
  DrawCalendarArrows(ACanvas, R, AArrows, AArrowInset, clWindowText);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) const {
  if (HTHEME T = GetThemeHandle(totToolBar))
    DrawThemeBackground(T, ACanvas->GetDC(), 1, ToolBarStates[AState], &R, nullptr);
  else
    TcxCustomLookAndFeelPainter::DrawSchedulerButton(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& AR,
                                                            const TcxViewParams& AViewParams,
                                                            bool AHorizontal) const {
  if (!GetThemeHandle(totComboBox) || !GetThemeHandle(totListView)) {
    Std::DrawSchedulerSplitterFrame(ACanvas, AR, AViewParams, AHorizontal);
    return;
  }
  const TColor Border = DefaultColor31();
  TRect R = AR;
  if (AHorizontal) {
    ACanvas->FillRect({R.Left, R.Top, R.Right, R.Top + 1}, Border);
    ACanvas->FillRect({R.Left, R.Bottom - 1, R.Right, R.Bottom}, Border);
    InflateRect(&R, 0, -1);
  } else {
    ACanvas->FillRect({R.Left, R.Top, R.Left + 1, R.Bottom}, Border);
    ACanvas->FillRect({R.Right - 1, R.Top, R.Right, R.Bottom}, Border);
    InflateRect(&R, -1, 0);
  }
  FillRectFromViewParams(ACanvas, R, AViewParams);
}

// --- text ---

void TcxWinXPLookAndFeelPainter::DrawThemedText(TcxCanvas* ACanvas, HTHEME ATheme, int APart, int AState,
                                                const TRect&, const TRect& ATextRect, TAlignment AAlignHorz,
                                                TcxAlignmentVert AAlignVert, bool AMultiLine, bool AShowEndEllipsis,
                                                bool AShowPrefix, const AnsiString& AText, TFont* AFont,
                                                TColor ATextColor, TColor) const {
  if (AText.empty()) return;
  if (AFont) ACanvas->Canvas()->SetFont(AFont);
  ACanvas->GetFont()->SetColor(ATextColor);
  TRect R = ATextRect;
  if (AMultiLine && AAlignVert != vaTop) {
    // The style centres one line only: place the block of lines by hand.
    TRect M = R;
    ACanvas->MeasureTextRect(AText, M, cxWordBreak | cxAlignLeft | (AShowPrefix ? cxShowPrefix : 0));
    const int Free = R.Height() - M.Height();
    if (Free > 0) R.Top += AAlignVert == vaBottom ? Free : Free / 2;
  }
  static constexpr DWORD Horz[] = {0, 2, 1};
  static constexpr DWORD Vert[] = {0, 8, 4};
  ThemedText(ACanvas, ATheme, APart, AState, R, AText,
             Horz[AAlignHorz] | Vert[AAlignVert] | (AMultiLine ? 16 : 32) | (AShowEndEllipsis ? 32768 : 0) |
                 (AShowPrefix ? 0 : 2048) | 8192);
}
