#include "controls/painters/cxLookAndFeelPainters.h"

#include <algorithm>
#include <memory>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/MulDiv.h"
#include "platform/win/SysBitmaps.h"

namespace {
void FillTriangle(TcxCanvas* ACanvas, const TPoint (&P)[3], TColor AColor) {
  ACanvas->GetBrush()->SetStyle(bsSolid);
  ACanvas->SetBrushColor(AColor);
  ACanvas->GetPen()->SetStyle(psSolid);
  ACanvas->GetPen()->SetColor(AColor);
  ACanvas->Polygon({P[0], P[1], P[2]});
}
int Floor2(int Sum) { return Sum >= 0 ? Sum / 2 : (Sum - 1) / 2; }
}  // namespace

TcxLookAndFeelPainterClass TcxCustomLookAndFeelPainter::Instance() {
  static const TcxCustomLookAndFeelPainter P;
  return &P;
}

void CalcArrowTriangle(const TRect& AR, TPoint (&P)[3], int ADirection, bool AMakeSquare) {
  if (ADirection < 0 || ADirection > 3) return;
  TRect R = AR;
  if (AMakeSquare) {
    const int D = R.Width() - R.Height();
    if (D > 0) {
      R.Left += D / 2;
      R.Right -= D / 2;
    } else {
      R.Top += (-D) / 2;
      R.Bottom -= (-D) / 2;
    }
  }
  const int W = R.Width(), H = R.Height();
  int X, Y;
  if (ADirection == adUp || ADirection == adDown) {
    X = (W - 1) / 2;
    if (X % 2 == 0) ++X;
    Y = X / 2 + 1;
  } else {
    Y = (H - 1) / 2;
    if (Y % 2 == 0) ++Y;
    X = Y / 2 + 1;
  }
  const int Yc = MulDiv(R.Top + R.Bottom - Y, 1, 2);
  const int Xl = (R.Left + R.Right - X) / 2;
  switch (ADirection) {
    case adUp:
      P[0] = {(R.Left + R.Right - 1) / 2, Yc};
      P[1] = {Xl, P[0].Y + Y - 1};
      P[2] = {P[1].X + X - 1, P[1].Y};
      break;
    case adDown:
      P[0] = {Xl, Yc};
      P[1] = {P[0].X + X - 1, P[0].Y};
      P[2] = {(R.Left + R.Right - 1) / 2, P[0].Y + Y - 1};
      break;
    case adLeft:
      P[0] = {Xl, (R.Top + R.Bottom) / 2};
      P[1] = {P[0].X + X - 1, Yc};
      P[2] = {P[1].X, P[1].Y + Y - 1};
      break;
    default:
      P[0] = {Xl, Yc};
      P[1] = {P[0].X + X - 1, (R.Top + R.Bottom) / 2};
      P[2] = {P[0].X, P[0].Y + Y - 1};
      break;
  }
}

void PaintPlusMinus(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) {
  const int Cx = Floor2(R.Left + R.Right), Cy = Floor2(R.Top + R.Bottom), H = (R.Width() - 4) / 2;
  ACanvas->FillRect({Cx - H, Cy, Cx + H + 1, Cy + 1}, AColor);
  if (!AExpanded) ACanvas->FillRect({Cx, Cy - H, Cx + 1, Cy + H + 1}, AColor);
}

TcxLookAndFeelKind StyleCodeToLookAndFeelKind(int ACode) {
  switch (ACode) {
    case 0: return lfFlat;
    case 2: return lfUltraFlat;
    case 4: return lfOffice11;
    default: return lfStandard;
  }
}

TcxLookAndFeelPainterClass PainterOfKind(TcxLookAndFeelKind AKind) {
  switch (AKind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Instance();
    case lfStandard: return TcxStandardLookAndFeelPainter::Instance();
    case lfOffice11: return TcxOffice11LookAndFeelPainter::Instance();
    default: return TcxUltraFlatLookAndFeelPainter::Instance();
  }
}

// --- base behaviour ---

TColor TcxCustomLookAndFeelPainter::BaseDefaultColor(int N) {
  switch (N) {
    case 5: case 29: return clWindow;
    case 6: case 30: case 34: return clWindowText;
    case 7: case 12: case 15: case 19: case 51: case 54: case 55: return clBtnShadow;
    case 8: return clBtnHighlight;
    case 9: case 11: case 14: case 18: case 23: case 39: case 44: return clBtnText;
    case 21: case 24: return TColor(0xFF0000);
    case 27: case 35: return clHighlight;
    case 28: case 36: return clHighlightText;
    case 31: return TColor(0x0000FF);
    case 33: return TColor(0xD5FFFF);
    case 41: case 45: case 50: return TColor(0xFFFFFF);
    case 42: case 46: case 47: case 48: return TColor(0x000000);
    case 49: return TColor(0xCFCFCF);
    case 52: return TColor(0xF0CAA6);
    case 53: return TColor(0x800000);
    default: return clBtnFace;  // 10, 13, 16, 17, 20, 22, 26, 32, 37, 38, 40, 43
  }
}

void TcxCustomLookAndFeelPainter::DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const {
  int X = R.Width() / 2;
  if (X % 2 == 0) ++X;
  const int Y = X / 2 + 1;
  TPoint P[3];
  P[0] = {(R.Left + R.Right - X) / 2, MulDiv(R.Top + R.Bottom - Y, 1, 2)};
  P[1] = {P[0].X + X - 1, P[0].Y};
  P[2] = {P[0].X + X / 2, P[0].Y + Y - 1};
  FillTriangle(ACanvas, P, AColor);
}

void TcxCustomLookAndFeelPainter::PaintArrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection ADirection,
                                             TColor AColor) const {
  TPoint P[3];
  CalcArrowTriangle(R, P, ADirection, true);
  FillTriangle(ACanvas, P, AColor);
}

void TcxCustomLookAndFeelPainter::PaintArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                   TcxArrowDirection ADirection, bool ADrawFrame) const {
  if (ADrawFrame)
    DrawButtonBackground(ACanvas, R, AState);
  else
    ACanvas->FillRect(R, ButtonFaceColor(AState));
  TPoint P[3];
  CalcArrowTriangle(R, P, ADirection, false);
  FillTriangle(ACanvas, P, ButtonGlyphColor(AState, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawButtonBackground(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState) const {
  ACanvas->FillRect(R, ButtonFaceColor(AState));
  DrawButtonFrame(ACanvas, R, AState);
}

void TcxCustomLookAndFeelPainter::DrawScrollArrow(TcxCanvas* ACanvas, const TRect& AR, TcxButtonState AState,
                                                  TcxArrowDirection ADirection) const {
  TRect R = AR;
  if (AState == cxbsPressed) OffsetRect(&R, ButtonTextPressedShift(), ButtonTextPressedShift());
  TPoint P[3];
  CalcArrowTriangle(R, P, ADirection, true);
  if (AState == cxbsDisabled) {
    TPoint Q[3] = {{P[0].X + 1, P[0].Y + 1}, {P[1].X + 1, P[1].Y + 1}, {P[2].X + 1, P[2].Y + 1}};
    FillTriangle(ACanvas, Q, clBtnHighlight);
    FillTriangle(ACanvas, P, clBtnShadow);
  } else
    FillTriangle(ACanvas, P, ButtonGlyphColor(AState, clDefault));
}

TRect TcxCustomLookAndFeelPainter::ButtonFocusBounds(TcxCanvas*, const TRect& R) const {
  TRect F = R;
  InflateRect(&F, -4, -4);
  return F.IsEmpty() ? R : F;
}

TColor TcxCustomLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  if (AState == cxbsDisabled) return clBtnShadow;
  return ADefaultColor == clDefault ? clBtnText : ADefaultColor;
}

void TcxCustomLookAndFeelPainter::DrawCaptionButton(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                    TcxButtonState AState, bool ADrawFrame, TColor AFaceColor,
                                                    TColor ATextColor) const {
  TRect B = R;
  if (ADrawFrame) {
    DrawButtonFrame(ACanvas, B, AState);
    const int W = ButtonFrameWidth(AState);
    InflateRect(&B, -W, -W);
  }
  ACanvas->FillRect(B, AFaceColor == clDefault ? ButtonFaceColor(AState) : AFaceColor);
  ACanvas->GetFont()->SetColor(ATextColor == clDefault ? ButtonGlyphColor(AState, clDefault) : ATextColor);
  ACanvas->GetBrush()->SetStyle(bsClear);
  B.Bottom -= (B.Bottom - B.Top) & 1;
  if (B.Height() < 18) --B.Top;
  if (AState == cxbsPressed) OffsetRect(&B, ButtonTextPressedShift(), ButtonTextPressedShift());
  if (!AText.empty())
    ACanvas->DrawTextWithFlags(AText, B, cxAlignHCenter | cxAlignVCenter | cxSingleLine | cxShowPrefix,
                               AState != cxbsDisabled);
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, int,
                                                  int, TColor) const {
  DrawCaptionButton(ACanvas, R, "", AState, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                     TcxButtonState AState) const {
  DrawCaptionButton(ACanvas, R, "", AState, true, clDefault, clDefault);
  ACanvas->GetPen()->SetColor(ButtonGlyphColor(AState, clDefault));
  constexpr int S = 3;
  const int X0 = (R.Left + R.Right - 2 * S - 1) / 2;
  const int Y0 = (R.Top + R.Bottom - 2 * (S + 1)) / 2;
  const int Dir = AExpanded ? 1 : -1;
  for (int Y = Y0; Y < Y0 + 4; ++Y) {
    const int Row = Y >= Y0 + 2 ? Y + S - 1 : Y;
    const int B = Row + (AExpanded ? S : 0);
    int K = (Y - Y0) & 1;
    if (!AExpanded) K = 1 - K;
    ACanvas->Polyline({{X0 + K, B - Dir * K}, {X0 + S, B - Dir * S}, {X0 + 2 * S + 1 - K, B + Dir * (1 - K)}});
  }
}

void TcxCustomLookAndFeelPainter::DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                     TColor ABorderColor, TColor AColor) const {
  ACanvas->FrameSides(R, ABorderColor);
  if (AColor != clDefault) {
    TRect I = R;
    InflateRect(&I, -1, -1);
    ACanvas->FillRect(I, AColor);
  }
  PaintPlusMinus(ACanvas, R, AExpanded, clBtnText);
}

TColor TcxCustomLookAndFeelPainter::CheckBoxFaceColor(TcxButtonState AState) const {
  return (AState == cxbsPressed || AState == cxbsDisabled) ? clBtnFace : clWindow;
}

TSize TcxCustomLookAndFeelPainter::CheckBoxSize() const { return LoadCheckBoxCellSize(); }

void TcxCustomLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                bool AChecked, TColor AColor) const {
  ACanvas->FillRect(R, CheckBoxFaceColor(AState));
  if (!AChecked) return;
  const int X = R.Width() - 2, Y = R.Height() - 4, Cx = (R.Left + R.Right) / 2 - 1;
  ACanvas->GetPen()->SetStyle(psSolid);
  ACanvas->GetPen()->SetColor(AColor);
  for (int D = 0; D < 3; ++D) {
    const int Cy = (R.Top + R.Bottom + Y) / 2 - 2 + D;
    ACanvas->Polyline({{Cx - (X / 2 - 1), Cy - Y / 2}, {Cx, Cy}, {Cx + X / 2 + 2, Cy - Y}});
  }
}

void TcxCustomLookAndFeelPainter::DrawCheckBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               bool AChecked) const {
  DrawCheckFrame(ACanvas, R, AState);
  TRect I = R;
  InflateRect(&I, -CheckFrameWidth(), -CheckFrameWidth());
  DrawCheckMark(ACanvas, I, AState, AChecked, AState == cxbsDisabled ? clGrayText : clBtnText);
}

void TcxCustomLookAndFeelPainter::DrawCellContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                                  const TRect& ATextAreaBounds, TcxButtonState, TAlignment AAlignHorz,
                                                  TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                  bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                  TColor ATextColor, TColor ABkColor,
                                                  const TcxDrawBackgroundEvent& AOnDrawBackground, bool) const {
  if (!AOnDrawBackground.Assigned() || !AOnDrawBackground(ACanvas, ABounds)) ACanvas->FillRect(ABounds, ABkColor);
  DrawCellText(ACanvas, ATextAreaBounds, AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont,
               ATextColor);
}

void TcxCustomLookAndFeelPainter::DrawCellText(TcxCanvas* ACanvas, const TRect& ATextAreaBounds,
                                               TAlignment AAlignHorz, TcxAlignmentVert AAlignVert, bool AMultiLine,
                                               bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                               TColor ATextColor) const {
  if (AText.empty()) return;
  static constexpr int Horz[] = {cxAlignLeft, cxAlignRight, cxAlignHCenter};
  static constexpr int Vert[] = {cxAlignTop, cxAlignBottom, cxAlignVCenter};
  ACanvas->GetBrush()->SetStyle(bsClear);
  if (AFont) ACanvas->Canvas()->SetFont(AFont);
  ACanvas->GetFont()->SetColor(ATextColor);
  ACanvas->DrawTextWithFlags(AText, ATextAreaBounds,
                             Horz[AAlignHorz] | Vert[AAlignVert] | (AMultiLine ? cxWordBreak : cxSingleLine) |
                                 (AShowEndEllipsis ? cxShowEndEllipsis : 0),
                             true);
  ACanvas->GetBrush()->SetStyle(bsSolid);
}

TRect TcxCustomLookAndFeelPainter::HeaderContentBounds(const TRect& R, TcxBorders ASides) const {
  TRect C = R;
  const int W = HeaderFrameWidth();
  if (ASides & cxBorderBit(bLeft)) C.Left += W;
  if (ASides & cxBorderBit(bTop)) C.Top += W;
  if (ASides & cxBorderBit(bRight)) C.Right -= W;
  if (ASides & cxBorderBit(bBottom)) C.Bottom -= W;
  return C;
}

void TcxCustomLookAndFeelPainter::DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 const TRect& ATextAreaBounds, unsigned ANeighbours,
                                                 TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                                                 TcxAlignmentVert AAlignVert, bool AMultiLine, bool AShowEndEllipsis,
                                                 const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                                 TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground,
                                                 bool) const {
  DrawHeaderFrame(ACanvas, ABounds, ANeighbours, ASides);
  DrawCellContent(ACanvas, HeaderContentBounds(ABounds, ASides), ATextAreaBounds, AState, AAlignHorz, AAlignVert,
                  AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, false);
}

// --- shared images ---

namespace {
struct TCheckers {
  std::unique_ptr<TBitmap> Light, Dark;
};
TCheckers& Checkers() {
  static TCheckers C;
  return C;
}
}  // namespace

void RefreshCheckerBitmaps() {
  TCheckers& C = Checkers();
  for (auto* B : {&C.Light, &C.Dark})
    if (!*B) {
      *B = std::make_unique<TBitmap>();
      (*B)->SetSize(8, 8);
    }
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      const bool Even = (X & 1) == (Y & 1);
      C.Light->Canvas()->SetPixel(X, Y, Even ? clBtnFace : clBtnHighlight);
      C.Dark->Canvas()->SetPixel(X, Y, Even ? TColor(0) : cl3DDkShadow);
    }
}

TBitmap* ScrollBarCheckerBitmap(bool ADark) {
  if (!Checkers().Light) RefreshCheckerBitmaps();
  return ADark ? Checkers().Dark.get() : Checkers().Light.get();
}

TSize LoadCheckBoxCellSize() {
  static TSize Size = [] {
    TSize S{13, 13};
    if (HBITMAP B = LoadBitmapA(nullptr, OBM_CHECKBOXES)) {
      BITMAP Info{};
      if (GetObjectA(B, sizeof(Info), &Info)) S = {Info.bmWidth / 4, Info.bmHeight / 3};
      DeleteObject(B);
    }
    return S;
  }();
  return Size;
}

// --- button rows, headers, footers, filter boxes, indicators, calendar ---

TRect TcxCustomLookAndFeelPainter::ButtonGroupFrameWidths(int, int) const {
  const int W = ButtonFrameWidth(cxbsNormal);
  return {W, W, W, W};
}

void TcxCustomLookAndFeelPainter::DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds,
                                                   const TRect& ATextAreaBounds, unsigned ANeighbours,
                                                   TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                                                   TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                   bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                   TColor ATextColor, TColor ABkColor,
                                                   const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, ANeighbours, ASides, AState, AAlignHorz, AAlignVert, AMultiLine,
                 AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                                    const TRect& ATextAreaBounds, unsigned, TcxBorders ASides,
                                                    TcxButtonState AState, TAlignment AAlignHorz,
                                                    TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                    bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                    TColor ATextColor, TColor ABkColor) const {
  DrawHeaderSectionFrame(ACanvas, ABounds, ASides, AState);
  DrawHeaderSectionContent(ACanvas, HeaderSectionContentBounds(ABounds, AState), ATextAreaBounds, AState, AAlignHorz,
                           AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           const TRect& ATextAreaBounds, TcxButtonState AState,
                                                           TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                                           bool AMultiLine, bool AShowEndEllipsis,
                                                           const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                                           TColor ABkColor) const {
  ACanvas->FillRect(ABounds, ABkColor);
  DrawHeaderSectionText(ACanvas, HeaderSectionTextBounds(ATextAreaBounds, AState), AState, AAlignHorz, AAlignVert,
                        AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionText(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                        TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                                        bool AMultiLine, bool AShowEndEllipsis,
                                                        const AnsiString& AText, TFont* AFont,
                                                        TColor ATextColor) const {
  if (AState == cxbsDisabled) {
    TRect Lit = R;
    OffsetRect(&Lit, 1, 1);
    DrawCellText(ACanvas, Lit, AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont, clBtnHighlight);
    DrawCellText(ACanvas, R, AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont, clBtnShadow);
  } else
    DrawCellText(ACanvas, R, AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

TRect TcxCustomLookAndFeelPainter::ExpandHeaderBounds(const TRect& R, unsigned ANeighbours, TcxBorders ASides) const {
  TRect E = R;
  const TcxBorders Own = HeaderSides(ANeighbours);
  const int W = HeaderFrameWidth();
  auto Out = [&](TcxBorder B) { return (ASides & cxBorderBit(B)) && !(Own & cxBorderBit(B)); };
  if (Out(bLeft)) E.Left -= W;
  if (Out(bTop)) E.Top -= W;
  if (Out(bRight)) E.Right += W;
  if (Out(bBottom)) E.Bottom += W;
  return E;
}

int TcxCustomLookAndFeelPainter::HeaderWidthForText(TcxCanvas* ACanvas, TcxBorders ASides, const AnsiString& AText,
                                                    TFont* AFont) const {
  if (AFont) ACanvas->Canvas()->SetFont(AFont);
  int W = ACanvas->TextWidth(AText) + 4;
  if (ASides & cxBorderBit(bLeft)) W += HeaderFrameWidth();
  if (ASides & cxBorderBit(bRight)) W -= HeaderFrameWidth();
  return W;
}

TRect TcxCustomLookAndFeelPainter::HeaderSectionTextBounds(const TRect& R, TcxButtonState AState) const {
  TRect T = R;
  if (AState == cxbsPressed) OffsetRect(&T, 1, 1);
  return T;
}

TRect TcxCustomLookAndFeelPainter::HeaderSectionContentBounds(const TRect& R, TcxButtonState AState) const {
  TRect C = R;
  const int W = HeaderSectionFrameWidth(AState);
  InflateRect(&C, -W, -W);
  return C;
}

TRect TcxCustomLookAndFeelPainter::FooterCellInnerBounds(const TRect& R) const {
  TRect I = R;
  InflateRect(&I, -FooterCellFrameWidth(), -FooterCellFrameWidth());
  return I;
}

TRect TcxCustomLookAndFeelPainter::FooterCellTextArea(const TRect& R) const {
  TRect T = FooterCellInnerBounds(R);
  InflateRect(&T, -2, -2);
  return T;
}

void TcxCustomLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& R, TAlignment AAlignHorz,
                                                 TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                 const AnsiString& AText, TFont* AFont, TColor ATextColor,
                                                 TColor ABkColor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawFooterCellFrame(ACanvas, R);
  DrawCellContent(ACanvas, FooterCellInnerBounds(R), FooterCellTextArea(R), cxbsDefault, AAlignHorz, AAlignVert,
                  AMultiLine, false, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, true);
}

void TcxCustomLookAndFeelPainter::DrawFilterCloseBox(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) const {
  DrawButtonFrame(ACanvas, R, AState);
  TRect I = R;
  InflateRect(&I, -ButtonFrameWidth(cxbsNormal), -ButtonFrameWidth(cxbsNormal));
  ACanvas->FillRect(I, ButtonFaceColor(AState));
  // A two-pixel-wide cross of an odd size.
  int A = FilterCloseBoxSize().X / 2;
  if (A % 2 == 0) --A;
  const TcxButtonState GlyphState = ButtonGlyphState(AState);
  ACanvas->GetPen()->SetStyle(psSolid);
  ACanvas->GetPen()->SetColor(ButtonGlyphColor(GlyphState, clDefault));
  for (int K = 0; K < 2; ++K) {
    TPoint P{K + (I.Left + I.Right - A) / 2, (I.Top + I.Bottom - A) / 2};
    if (GlyphState == cxbsPressed) {
      ++P.X;
      ++P.Y;
    }
    ACanvas->MoveTo(P.X, P.Y);
    ACanvas->LineTo(P.X + A, P.Y + A);
    ACanvas->MoveTo(P.X, P.Y + A - 1);
    ACanvas->LineTo(P.X + A, P.Y - 1);
  }
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, int AKind, TColor ABkColor,
                                                    const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCell(ACanvas, R, R, 0, HeaderSides(10), cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr,
                 clNone, ABkColor, AOnDrawBackground);
  DrawIndicatorImage(ACanvas, R, AKind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R, int AKind, TColor ABkColor,
                                                      const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCellEx(ACanvas, R, R, 0, cxBordersAll, cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr,
                   clNone, ABkColor, AOnDrawBackground);
  DrawIndicatorImage(ACanvas, R, AKind);
}

void TcxCustomLookAndFeelPainter::DrawCalendarArrows(TcxCanvas* ACanvas, const TRect& AR, int AArrows,
                                                     int AArrowInset, TColor AColor) const {
  TRect R = AR;
  R.Top += BorderWidth();
  InflateRect(&R, 0, -1);
  int H = R.Height() / 2;
  if (H % 2 == 0) ++H;
  for (int Side = 0; Side < 2; ++Side) {
    if (!(AArrows & (1 << Side))) continue;
    const int S = Side == 0 ? 1 : -1, X0 = Side == 0 ? R.Left : R.Right;
    TPoint P[3];
    P[0] = {X0 + S * (AArrowInset - 1), (R.Top + R.Bottom - H) / 2 - 1};
    P[1] = {P[0].X, P[0].Y + H + 1};
    P[2] = {P[0].X - S * (H / 2 + 1), P[0].Y + H / 2 + 1};
    FillTriangle(ACanvas, P, AColor);
  }
}

void TcxCustomLookAndFeelPainter::DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                     unsigned ANeighbours, const TcxViewParams& AViewParams,
                                                     int AArrows, int AArrowInset,
                                                     const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawHeaderCell(ACanvas, R, R, ANeighbours, HeaderSides(ANeighbours), cxbsNormal, taCenter, vaCenter, false, false,
                 AText, AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground);
  DrawCalendarArrows(ACanvas, R, AArrows, AArrowInset, clWindowText);
}
