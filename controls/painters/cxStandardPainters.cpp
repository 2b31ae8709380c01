// The classic looks: Standard (raised and sunken 3-D), Flat (one-pixel
// edges) and UltraFlat (single-colour frames with hot tracking).
#include "controls/painters/cxLookAndFeelPainters.h"

#include "platform/gdi/Gdi.h"

namespace {
TRect Deflated(TRect R, int D) {
  InflateRect(&R, -D, -D);
  return R;
}

// The arrow direction of a scroll-bar arrow button.
TcxArrowDirection ScrollArrowDirection(bool AHorizontal, TcxScrollBarPart APart) {
  return TcxArrowDirection(2 * int(AHorizontal) + (APart == sbpLineUp ? 0 : 1));
}

// Page areas of every classic look: the checker pattern.
void DrawScrollPageArea(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  ACanvas->FillArea(R, ScrollBarCheckerBitmap(AState == cxbsPressed));
}

// Flat and UltraFlat arrow buttons and thumb: a caption button, with the
// arrow inside for the arrow buttons.
void DrawFlatScrollPart(const TcxCustomLookAndFeelPainter* P, TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                        TcxScrollBarPart APart, TcxButtonState AState) {
  if (R.IsEmpty() || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  if (APart == sbpPageUp || APart == sbpPageDown) {
    DrawScrollPageArea(ACanvas, R, AState);
    return;
  }
  P->DrawCaptionButton(ACanvas, R, "", AState, true, clDefault, clDefault);
  if (APart == sbpLineUp || APart == sbpLineDown)
    P->DrawScrollArrow(ACanvas, Deflated(R, P->ButtonFrameWidth(cxbsNormal)), AState,
                       ScrollArrowDirection(AHorizontal, APart));
}
}  // namespace

// --- Standard ---

TcxLookAndFeelPainterClass TcxStandardLookAndFeelPainter::Instance() {
  static const TcxStandardLookAndFeelPainter P;
  return &P;
}

void TcxStandardLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
  ACanvas->DrawTwoColorFrame(Deflated(R, 1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& AR, TcxButtonState AState) const {
  TRect R = AR;
  if (AState == cxbsPressed) {
    ACanvas->FrameSides(R, TColor(0));
    ACanvas->FrameSides(Deflated(R, 1), clBtnShadow);
    return;
  }
  if (AState == cxbsDefault) {
    ACanvas->FrameSides(R, TColor(0));
    R = Deflated(R, 1);
  }
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow);
  ACanvas->DrawTwoColorFrame(Deflated(R, 1), cl3DLight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawExpandBox(TcxCanvas* ACanvas, const TRect& AR, bool AExpanded,
                                                  TColor AColor) const {
  TRect R = AR;
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow);
  R = Deflated(R, 1);
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnShadow, cxBorderBit(bRight) | cxBorderBit(bBottom));
  --R.Right;
  --R.Bottom;
  ACanvas->FillRect(R, AColor == clDefault ? clBtnFace : AColor);
  PaintPlusMinus(ACanvas, R, AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(AR);
}

void TcxStandardLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState) const {
  ACanvas->DrawTwoColorFrame(R, cl3DDkShadow, cl3DLight);
  ACanvas->DrawTwoColorFrame(Deflated(R, 1), clBtnShadow, clBtnHighlight);
}

void TcxStandardLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned,
                                                    TcxBorders ASides) const {
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
  if (ASides & cxBorderBit(bLeft)) {
    ACanvas->SetPixel(R.Left, R.Top + 1, clBtnFace);
    ACanvas->SetPixel(R.Left, R.Bottom - 2, clBtnFace);
  }
  if (ASides & cxBorderBit(bRight)) {
    ACanvas->SetPixel(R.Right - 1, R.Top, clBtnHighlight);
    ACanvas->SetPixel(R.Right - 1, R.Top + 1, clBtnFace);
    ACanvas->SetPixel(R.Right - 1, R.Bottom - 2, clBtnFace);
  }
}

void TcxStandardLookAndFeelPainter::DrawScrollButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxScrollBarPart APart,
                                                           TcxButtonState AState) const {
  if (AState == cxbsPressed && APart != sbpThumbnail) {
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnShadow);
    ACanvas->DrawTwoColorFrame(Deflated(R, 1), clBtnFace, clBtnFace);
  } else {
    ACanvas->DrawTwoColorFrame(R, clBtnFace, cl3DDkShadow);
    ACanvas->DrawTwoColorFrame(Deflated(R, 1), clBtnHighlight, clBtnShadow);
  }
}

void TcxStandardLookAndFeelPainter::DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& AR,
                                                   TcxScrollBarPart APart, TcxButtonState AState) const {
  if (AR.IsEmpty() || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  switch (APart) {
    case sbpPageUp:
    case sbpPageDown:
      DrawScrollPageArea(ACanvas, AR, AState);
      break;
    case sbpThumbnail:
      DrawScrollButtonBorder(ACanvas, AR, APart, AState);
      ACanvas->FillRect(Deflated(AR, ButtonFrameWidth(cxbsNormal)), clBtnFace);
      break;
    case sbpLineUp:
    case sbpLineDown: {
      static constexpr UINT Kinds[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
      TRect R = AR;
      if (AState == cxbsPressed) OffsetRect(&R, 1, 1);
      UINT Flags = Kinds[ScrollArrowDirection(AHorizontal, APart)];
      if (AState == cxbsDisabled) Flags |= DFCS_INACTIVE;
      if (AState == cxbsPressed) Flags |= DFCS_FLAT;
      DrawFrameControl(ACanvas->GetDC(), &R, DFC_SCROLL, Flags);
      DrawScrollButtonBorder(ACanvas, AR, APart, AState);
      break;
    }
    default:
      break;
  }
}

// --- Flat ---

TcxLookAndFeelPainterClass TcxFlatLookAndFeelPainter::Instance() {
  static const TcxFlatLookAndFeelPainter P;
  return &P;
}

void TcxFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
}

void TcxFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& AR, TcxButtonState AState) const {
  TRect R = AR;
  if (AState == cxbsPressed) {
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
    return;
  }
  if (AState == cxbsDefault) {
    ACanvas->FrameSides(R, TColor(0));
    R = Deflated(R, 1);
  }
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                              TColor AColor) const {
  DrawCaptionButton(ACanvas, R, "", cxbsNormal, true, AColor, clDefault);
  PaintPlusMinus(ACanvas, Deflated(R, 1), AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(R);
}

void TcxFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
  ACanvas->FrameSides(Deflated(R, 1), CheckBoxFaceColor(AState));
}

void TcxFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours,
                                                TcxBorders ASides) const {
  TcxStandardLookAndFeelPainter::Instance()->DrawHeaderFrame(ACanvas, R, ANeighbours, ASides);
}

void TcxFlatLookAndFeelPainter::DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                               TcxScrollBarPart APart, TcxButtonState AState) const {
  DrawFlatScrollPart(this, ACanvas, AHorizontal, R, APart, AState);
}

// --- UltraFlat ---

TcxLookAndFeelPainterClass TcxUltraFlatLookAndFeelPainter::Instance() {
  static const TcxUltraFlatLookAndFeelPainter P;
  return &P;
}

void TcxUltraFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameSides(R, clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  switch (AState) {
    case cxbsHot: return GetUltraFlatHotColor();
    case cxbsPressed: return GetUltraFlatPressedColor();
    default: return clBtnFace;
  }
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonFocusBounds(TcxCanvas*, const TRect& R) const {
  const TRect F = Deflated(R, 3);
  return F.IsEmpty() ? R : F;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  if (AState == cxbsPressed) return clHighlightText;
  return TcxCustomLookAndFeelPainter::ButtonGlyphColor(AState, ADefaultColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  switch (AState) {
    case cxbsDefault:
      ACanvas->FrameSides(R, clWindowFrame);
      ACanvas->FrameSides(Deflated(R, 1), clWindowFrame);
      break;
    case cxbsNormal: ACanvas->FrameSides(R, clBtnText); break;
    case cxbsDisabled: ACanvas->FrameSides(R, clBtnShadow); break;
    default: ACanvas->FrameSides(R, clHighlight); break;
  }
}

void TcxUltraFlatLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     int AButtonCount, int AButtonIndex, TColor AFrameColor) const {
  TRect B{R.Left, R.Top + 1, R.Right, R.Bottom - 1};
  if (AButtonIndex == 0) ++B.Left;
  if (AButtonIndex == AButtonCount - 1) --B.Right;
  if (AState == cxbsNormal || AState == cxbsDisabled) {
    ACanvas->FrameSides(B, AFrameColor);
    B = Deflated(B, 1);
  } else {
    if (AButtonIndex > 0) {
      ACanvas->FillRect({B.Left, B.Top, B.Left + 1, B.Bottom}, HighlightFrameColor());
      ++B.Left;
    }
    if (AButtonIndex < AButtonCount - 1) {
      ACanvas->FillRect({B.Right - 1, B.Top, B.Right, B.Bottom}, HighlightFrameColor());
      --B.Right;
    }
  }
  ACanvas->FillRect(B, ButtonFaceColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawFlatFrame(TcxCanvas* ACanvas, const TRect& R, bool ADark,
                                                   bool AHighlighted) const {
  ACanvas->FrameSides(R, ADark ? clBtnText : AHighlighted ? HighlightFrameColor() : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                   TColor AColor) const {
  ACanvas->FrameSides(R, clBtnShadow);
  const TRect I = Deflated(R, 1);
  ACanvas->FillRect(I, AColor == clDefault ? clBtnFace : AColor);
  PaintPlusMinus(ACanvas, I, AExpanded, clBtnText);
  ACanvas->ExcludeClipRect(R);
}

void TcxUltraFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ACanvas->FrameSides(R, clBtnText);
  ACanvas->FrameSides(Deflated(R, 1), CheckBoxFaceColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned,
                                                     TcxBorders ASides) const {
  TcxBorders Sides = cxBorderBit(bRight) | cxBorderBit(bBottom);
  Sides |= ASides & (cxBorderBit(bLeft) | cxBorderBit(bTop));
  ACanvas->FrameSides(R, clBtnText, 1, Sides);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderSides(unsigned ANeighbours) const {
  TcxBorders S = cxBordersAll;
  if (ANeighbours & 1) S &= ~cxBorderBit(bLeft);
  if (ANeighbours & 2) S &= ~cxBorderBit(bTop);
  return S;
}

void TcxUltraFlatLookAndFeelPainter::DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                    TcxScrollBarPart APart, TcxButtonState AState) const {
  DrawFlatScrollPart(this, ACanvas, AHorizontal, R, APart, AState);
}
