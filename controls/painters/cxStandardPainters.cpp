// The classic looks: Standard (raised and sunken 3-D), Flat (one-pixel
// edges) and UltraFlat (single-colour frames with hot tracking).
#include "controls/painters/cxLookAndFeelPainters.h"

#include "platform/gdi/Bitmap.h"
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

void DrawSortArrowOutline(TcxCanvas* ACanvas, const TRect& R, TPoint ASize, bool AAscending, TColor ALight,
                          TColor AShadow) {
  const int X0 = (R.Left + R.Right - ASize.X) / 2, Y0 = (R.Top + R.Bottom - ASize.Y) / 2;
  const int X1 = X0 + ASize.X - 1, Y1 = Y0 + ASize.Y - 1, Mid = X0 + (ASize.X - 1) / 2;
  TPen* Pen = ACanvas->GetPen();
  Pen->SetStyle(psSolid);
  auto Line = [&](TPoint A, TPoint B, TColor C) {
    Pen->SetColor(C);
    ACanvas->MoveTo(A.X, A.Y);
    ACanvas->LineTo(B.X, B.Y);
    ACanvas->SetPixel(B.X, B.Y, C);
  };
  if (AAscending) {
    Line({Mid, Y0}, {X0, Y1}, ALight);
    Line({Mid, Y0}, {X1, Y1}, AShadow);
    Line({X0, Y1}, {X1, Y1}, AShadow);
  } else {
    Line({X0, Y0}, {X1, Y0}, ALight);
    Line({X0, Y0}, {Mid, Y1}, ALight);
    Line({X1, Y0}, {Mid, Y1}, AShadow);
  }
}

namespace {

// The filter toggle box of the 3-D looks.
void Draw3DFilterToggleBox(const TcxCustomLookAndFeelPainter* P, TcxCanvas* ACanvas, const TRect& R,
                           TcxButtonState AState, bool AActive) {
  if (AState == cxbsPressed)
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
  else
    ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
  const TRect I = Deflated(R, 1);
  ACanvas->FillRect(I, clBtnFace);
  P->DrawDropDownArrow(ACanvas, I, AActive ? TColor(0xFF0000) : clBtnText);
}

// The tab frame of the 3-D looks: one colour over an adjusted copy of R.
void Draw3DTabFrame(TcxCanvas* ACanvas, const TRect& AR, int APosition, TcxBorders ASides, bool AVertical) {
  const bool Dark = AVertical ? APosition == 3 : APosition == 2;
  TRect R = AR;
  const bool Left = ASides & cxBorderBit(bLeft), Top = ASides & cxBorderBit(bTop),
             Bottom = ASides & cxBorderBit(bBottom);
  if (AVertical) {
    if (APosition == 0) {
      R.Top += Top ? 2 : 1;
      R.Bottom -= Bottom ? 2 : 1;
      ACanvas->SetPixel(R.Left + 1, R.Top - 1, clBtnHighlight);
      ACanvas->SetPixel(R.Left + 1, R.Bottom, clBtnHighlight);
    } else if ((APosition == 1 || APosition == 3) && Left)
      ++R.Left;
  } else {
    if (APosition == 0 || APosition == 2) {
      if (Top) R.Top += 2;
      if (Bottom) --R.Bottom;
    } else if (APosition == 1) {
      ++R.Left;
      --R.Right;
      ACanvas->SetPixel(R.Left - 1, R.Top + 1, clBtnHighlight);
      ACanvas->SetPixel(R.Right, R.Top + 1, clBtnHighlight);
    }
  }
  ACanvas->FillRect(R, Dark ? clBtnShadow : clBtnHighlight);
}

// A line pair along the splitter (rows when AHorizontal, else columns),
// then the rest filled from the view parameters.
void DrawSplitterLines(TcxCanvas* ACanvas, TRect& R, bool AHorizontal, TColor AFirst, TColor ASecond) {
  if (AHorizontal) {
    ACanvas->FillRect({R.Left, R.Top, R.Right, R.Top + 1}, AFirst);
    ACanvas->FillRect({R.Left, R.Bottom - 1, R.Right, R.Bottom}, ASecond);
    InflateRect(&R, 0, -1);
  } else {
    ACanvas->FillRect({R.Left, R.Top, R.Left + 1, R.Bottom}, AFirst);
    ACanvas->FillRect({R.Right - 1, R.Top, R.Right, R.Bottom}, ASecond);
    InflateRect(&R, -1, 0);
  }
}

void FillFromViewParams(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams) {
  if (AViewParams.Bitmap && AViewParams.Bitmap->GetWidth() > 0)
    ACanvas->FillArea(R, AViewParams.Bitmap);
  else
    ACanvas->FillRect(R, AViewParams.Color == clDefault ? clBtnFace : AViewParams.Color);
}
}  // namespace

void FillRectFromViewParams(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams) {
  FillFromViewParams(ACanvas, R, AViewParams);
}

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

// --- Standard: headers, footers, filter boxes, tabs, calendar, scheduler ---

void TcxStandardLookAndFeelPainter::DrawGroupExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                       TcxButtonState AState) const {
  TcxFlatLookAndFeelPainter::Instance()->DrawGroupExpandBox(ACanvas, R, AExpanded, AState);
}

void TcxStandardLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowOutline(ACanvas, R, SortArrowSize(), AAscending, clBtnHighlight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                                           TcxButtonState AState) const {
  if (AState == cxbsPressed) {
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnShadow, ASides);
    return;
  }
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow, ASides);
  ACanvas->DrawTwoColorFrame(Deflated(R, 1), cl3DLight, clBtnShadow, ASides);
}

void TcxStandardLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
}

void TcxStandardLookAndFeelPainter::DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                        bool AActive) const {
  Draw3DFilterToggleBox(this, ACanvas, R, AState, AActive);
}

void TcxStandardLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition,
                                                 TcxBorders ASides, bool AVertical) const {
  Draw3DTabFrame(ACanvas, R, ATabPosition, ASides, AVertical);
}

void TcxStandardLookAndFeelPainter::DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool) const {
  ACanvas->Draw3DEdgeRing(R, false, false, ASides);
}

void TcxStandardLookAndFeelPainter::DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                       unsigned ANeighbours, const TcxViewParams& AViewParams,
                                                       int AArrows, int AArrowInset,
                                                       const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  static constexpr TcxBorders FrameSides[] = {15, 11, 14, 10};
  const TcxBorders Sides = FrameSides[((ANeighbours & 4) ? 1 : 0) + ((ANeighbours & 1) ? 2 : 0)];
  ACanvas->FrameSides(R, TColor(0), 1, Sides);
  TRect I = R;
  const int W = HeaderFrameWidth();
  if (Sides & cxBorderBit(bLeft)) I.Left += W;
  if (Sides & cxBorderBit(bTop)) I.Top += W;
  if (Sides & cxBorderBit(bRight)) I.Right -= W;
  if (Sides & cxBorderBit(bBottom)) I.Bottom -= W;
  DrawHeaderCell(ACanvas, I, I, ANeighbours, cxBordersAll, cxbsNormal, taCenter, vaCenter, false, false, AText,
                 AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground);
  DrawCalendarArrows(ACanvas, R, AArrows, AArrowInset, clWindowText);
}

void TcxStandardLookAndFeelPainter::DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& AR,
                                                               const TcxViewParams& AViewParams,
                                                               bool AHorizontal) const {
  TRect R = AR;
  DrawSplitterLines(ACanvas, R, AHorizontal, clBtnFace, cl3DDkShadow);
  if (AHorizontal)
    InflateRect(&R, 1, 0);
  else
    InflateRect(&R, 0, 1);
  DrawSplitterLines(ACanvas, R, AHorizontal, clBtnHighlight, clBtnShadow);
  FillFromViewParams(ACanvas, R, AViewParams);
}

// --- Flat ---

void TcxFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowOutline(ACanvas, R, SortArrowSize(), AAscending, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                                       TcxButtonState AState) const {
  if (AState == cxbsPressed)
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight, ASides);
  else
    ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow, ASides);
}

void TcxFlatLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight);
}

void TcxFlatLookAndFeelPainter::DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                    bool AActive) const {
  Draw3DFilterToggleBox(this, ACanvas, R, AState, AActive);
}

void TcxFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, int ATabPosition, TcxBorders ASides,
                                             bool AVertical) const {
  Draw3DTabFrame(ACanvas, R, ATabPosition, ASides, AVertical);
}

void TcxFlatLookAndFeelPainter::DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, bool) const {
  ACanvas->Draw3DEdgeRing(R, false, false, ASides);
}

void TcxFlatLookAndFeelPainter::DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& AR,
                                                           const TcxViewParams& AViewParams, bool AHorizontal) const {
  TRect R = AR;
  DrawSplitterLines(ACanvas, R, AHorizontal, clBtnHighlight, clBtnShadow);
  FillFromViewParams(ACanvas, R, AViewParams);
}

// --- UltraFlat ---

TRect TcxUltraFlatLookAndFeelPainter::ButtonGroupFrameWidths(int AButtonCount, int AButtonIndex) const {
  TRect W{1, 2, 1, 2};
  if (AButtonIndex == 0)
    W.Left = 2;
  else if (AButtonIndex == AButtonCount - 1)
    W.Right = 2;
  return W;
}

void TcxUltraFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowOutline(ACanvas, R, SortArrowSize(), AAscending, clBtnShadow, clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                                            TcxButtonState AState) const {
  const TColor C = AState == cxbsDisabled ? clBtnShadow : TColor(0);
  ACanvas->DrawTwoColorFrame(R, C, C, ASides);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderCellEx(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      const TRect& ATextAreaBounds, unsigned ANeighbours,
                                                      TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                                                      TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                      bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                      TColor ATextColor, TColor ABkColor,
                                                      const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  DrawCellContent(ACanvas, ABounds, Deflated(ATextAreaBounds, 1), AState, AAlignHorz, AAlignVert, AMultiLine,
                  AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, false);
  DrawHeaderFrame(ACanvas, Deflated(ABounds, 1), ANeighbours, ASides);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                                              const TRect& ATextAreaBounds, TcxButtonState AState,
                                                              TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                                              bool AMultiLine, bool AShowEndEllipsis,
                                                              const AnsiString& AText, TFont* AFont,
                                                              TColor ATextColor, TColor ABkColor) const {
  ACanvas->FillRect(ABounds, AState > cxbsNormal && AState != cxbsDisabled ? ButtonFaceColor(AState) : ABkColor);
  DrawHeaderSectionText(ACanvas, HeaderSectionTextBounds(ATextAreaBounds, AState), AState, AAlignHorz, AAlignVert,
                        AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameSides(R, FooterSeparatorColor(), 1, cxBorderBit(bRight) | cxBorderBit(bBottom));
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameSides(R, FooterSeparatorColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawFilterToggleBox(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                         bool AActive) const {
  ACanvas->FrameSides(R, HotFrameColor(AState));
  const TRect I = Deflated(R, 1);
  ACanvas->FillRect(I, ButtonFaceColor(AState));
  DrawDropDownArrow(ACanvas, I, AActive ? TColor(0xFF0000) : ButtonGlyphColor(AState, clDefault));
}

void TcxUltraFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& AR, int ATabPosition, TcxBorders,
                                                  bool AVertical) const {
  TRect R = AR;
  const bool Dark = AVertical ? ATabPosition == 3 : ATabPosition == 2;
  if (Dark && !AVertical) R.Bottom -= TabFrameWidth(AVertical);
  ACanvas->FillRect(R, Dark ? FlatGlyphColor() : PlainFrameColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabsBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                                  bool AVertical) const {
  ACanvas->DrawTwoColorFrame(R, PlainFrameColor(), PlainFrameColor(), ASides, TabFrameWidth(AVertical));
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R,
                                                         TcxButtonState AState) const {
  DrawCaptionButton(ACanvas, R, "", AState, AState == cxbsHot || AState == cxbsPressed, clDefault, clDefault);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerSplitterFrame(TcxCanvas* ACanvas, const TRect& AR,
                                                                const TcxViewParams& AViewParams,
                                                                bool AHorizontal) const {
  TRect R = AR;
  DrawSplitterLines(ACanvas, R, AHorizontal, DefaultColor31(), DefaultColor31());
  FillFromViewParams(ACanvas, R, AViewParams);
}
