// The native look: every part through the visual style, falling back on
// the standard painter wherever its theme class does not open.
#include "controls/painters/cxLookAndFeelPainters.h"

#include "controls/lookandfeel/dxThemeManager.h"
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
  const int Part = (ALastItem && State == 1) ? 3 : 1;
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
