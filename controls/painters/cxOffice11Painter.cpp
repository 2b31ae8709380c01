// The Office 2003 look: the ultra-flat painter recoloured with the Office
// 2003 scheme, gradient header cells and bitmap expand buttons.
#include "controls/painters/cxLookAndFeelPainters.h"

#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"

TcxLookAndFeelPainterClass TcxOffice11LookAndFeelPainter::Instance() {
  static const TcxOffice11LookAndFeelPainter P;
  return &P;
}

TColor TcxOffice11LookAndFeelPainter::DefaultColor07() const { return Office11SchemeEntry(16); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor08() const { return Office11SchemeWhite(); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor10() const { return Office11SchemeEntry(2); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor13() const { return Office11SchemeEntry(32); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor15() const { return Office11SchemeMix4And11(); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor16() const { return Office11SchemeEntry(0); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor27() const { return Office11SchemeEntry(33); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor31() const { return Office11SchemeEntry(35); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor32() const { return Office11SchemeEntry(34); }
TColor TcxOffice11LookAndFeelPainter::DefaultColor38() const { return Office11SchemeEntry(3); }

TColor TcxOffice11LookAndFeelPainter::SchemeGradientEndColor() const { return Office11SchemeEntry(1); }
TColor TcxOffice11LookAndFeelPainter::SchemeFrameColor() const { return Office11SchemeEntry(14); }
TColor TcxOffice11LookAndFeelPainter::SchemeHeaderSideColor() const { return Office11SchemeEntry(15); }
TColor TcxOffice11LookAndFeelPainter::SchemeMidColor() const {
  return MixColors(Office11SchemeEntry(0), Office11SchemeEntry(1), 50);
}
TColor TcxOffice11LookAndFeelPainter::HighlightFrameColor() const { return Office11SchemeEntry(21); }
TColor TcxOffice11LookAndFeelPainter::HotFrameColor(TcxButtonState AState) const {
  return AState == cxbsNormal ? SchemeFrameColor() : Office11SchemeEntry(21);
}

void TcxOffice11LookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameSides(R, Office11SchemeEntry(18));
}

TColor TcxOffice11LookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  switch (AState) {
    case cxbsHot: return Office11SchemeEntry(22);
    case cxbsPressed: return Office11SchemeEntry(24);
    case cxbsDisabled: return clBtnFace;
    default: return Office11SchemeEntry(2);
  }
}

TColor TcxOffice11LookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor) const {
  if (AState == cxbsPressed && !IsOffice11SchemeThemed()) return clHighlightText;
  return AState == cxbsDisabled ? Office11SchemeEntry(31) : Office11SchemeEntry(30);
}

void TcxOffice11LookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  switch (AState) {
    case cxbsDefault: TcxUltraFlatLookAndFeelPainter::DrawButtonFrame(ACanvas, R, AState); break;
    case cxbsNormal: ACanvas->FrameSides(R, clBtnText); break;
    case cxbsDisabled: ACanvas->FrameSides(R, Office11SchemeEntry(31)); break;
    default: ACanvas->FrameSides(R, Office11SchemeEntry(21)); break;
  }
}

TColor TcxOffice11LookAndFeelPainter::CheckBoxFaceColor(TcxButtonState AState) const {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled) return ButtonFaceColor(AState);
  return TcxCustomLookAndFeelPainter::CheckBoxFaceColor(AState);
}

void TcxOffice11LookAndFeelPainter::DrawExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor) const {
  TBitmap* Bmp = Office11ExpandButtonBitmap(AExpanded);
  if (!Bmp) {
    // The scheme is not locked: nothing owns its pictures.
    TcxUltraFlatLookAndFeelPainter::DrawExpandBox(ACanvas, R, AExpanded, clDefault);
    return;
  }
  // The corners take on what lies under them, so the box looks rounded on
  // any background.
  TCanvas* C = ACanvas->Canvas();
  Bmp->Canvas()->SetPixel(0, 0, MixColors(Office11ExpandButtonColor1, C->GetPixel(R.Left, R.Top), 25));
  const TColor Far = MixColors(Office11ExpandButtonColor2, C->GetPixel(R.Right - 1, R.Bottom - 1), 25);
  Bmp->Canvas()->SetPixel(10, 10, Far);
  Bmp->Canvas()->SetPixel(0, 10, Far);
  Bmp->Canvas()->SetPixel(10, 0, Far);
  ACanvas->Draw(R.Left, R.Top, Bmp);
}

void TcxOffice11LookAndFeelPainter::DrawSmallExpandBox(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor,
                                                       TColor) const {
  DrawExpandBox(ACanvas, R, AExpanded, clDefault);
}

void TcxOffice11LookAndFeelPainter::DrawCellContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                                    const TRect& ATextAreaBounds, TcxButtonState AState,
                                                    TAlignment AAlignHorz, TcxAlignmentVert AAlignVert,
                                                    bool AMultiLine, bool AShowEndEllipsis, const AnsiString& AText,
                                                    TFont* AFont, TColor ATextColor, TColor,
                                                    const TcxDrawBackgroundEvent& AOnDrawBackground,
                                                    bool APlainFill) const {
  const TRect& B = ABounds;
  if (!AOnDrawBackground.Assigned() || !AOnDrawBackground(ACanvas, ABounds)) {
    const TColor Fill = AState == cxbsHot ? Office11SchemeEntry(0) : SchemeMidColor();
    const TColor Second = AState == cxbsHot ? Office11SchemeEntry(0) : SchemeGradientEndColor();
    if (APlainFill)
      ACanvas->FillRect(B, Fill);
    else {
      ACanvas->FillRect({B.Left, B.Top, B.Right, B.Bottom - 3}, Fill);
      FillGradientRect(ACanvas->GetDC(), {B.Left, B.Bottom - 4, B.Right, B.Bottom}, Fill, Second, false);
    }
  }
  DrawCellText(ACanvas, ATextAreaBounds, AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont,
               ATextColor);
  if (AState == cxbsHot)
    FillGradientRect(ACanvas->GetDC(), {B.Left - 1, B.Bottom - 2, B.Right, B.Bottom + 1}, Office11SchemeEntry(22),
                     Office11SchemeEntry(23), false);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                   const TRect& ATextAreaBounds, unsigned ANeighbours,
                                                   TcxBorders ASides, TcxButtonState AState, TAlignment AAlignHorz,
                                                   TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                   bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                   TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent&,
                                                   bool ALastItem) const {
  // This look always paints its own gradient behind the caption.
  TcxCustomLookAndFeelPainter::DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, ANeighbours, ASides, AState,
                                              AAlignHorz, AAlignVert, AMultiLine, AShowEndEllipsis, AText, AFont,
                                              ATextColor, ABkColor, TcxDrawBackgroundEvent(), ALastItem);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, unsigned ANeighbours,
                                                    TcxBorders ASides) const {
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  auto Column = [&](int X, int From, int To, TColor C) {
    if (To >= From) ACanvas->FillRect({X, From, X + 1, To + 1}, C);
  };
  if (ASides & cxBorderBit(bTop)) ACanvas->FillRect({L, T, Rt, T + 1}, SchemeMidColor());
  if (ASides & cxBorderBit(bBottom)) ACanvas->FillRect({L, B - 1, Rt, B}, SchemeFrameColor());
  const TColor Mid = SchemeMidColor(), End = SchemeGradientEndColor();
  if (ASides & cxBorderBit(bLeft)) {
    if (ANeighbours & 1) {
      ACanvas->SetPixel(L, T + 1, Mid);
      Column(L, T + 2, B - 4, SchemeHeaderSideColor());
      ACanvas->SetPixel(L, B - 3, MixColors(Mid, End, 25));
    } else
      Column(L, T + 1, B - 3, SchemeHeaderSideColor());
    ACanvas->SetPixel(L, B - 2, End);
  }
  if (ASides & cxBorderBit(bRight)) {
    if (ANeighbours & 4) {
      ACanvas->SetPixel(Rt - 1, T + 1, Mid);
      Column(Rt - 1, T + 2, B - 4, SchemeFrameColor());
      ACanvas->SetPixel(Rt - 1, B - 3, MixColors(Mid, End, 25));
      ACanvas->SetPixel(Rt - 1, B - 2, End);
    } else {
      ACanvas->SetPixel(Rt - 1, T, MixColors(Mid, SchemeFrameColor(), 50));
      Column(Rt - 1, T + 1, B - 3, SchemeFrameColor());
      ACanvas->SetPixel(Rt - 1, B - 2, MixColors(End, SchemeFrameColor(), 50));
    }
  }
}

void TcxOffice11LookAndFeelPainter::DrawScrollPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                   TcxScrollBarPart APart, TcxButtonState AState) const {
  if (AreThemesAvailable(ThemeClassBit(totScrollBar)))
    TcxWinXPLookAndFeelPainter::Instance()->DrawScrollPart(ACanvas, AHorizontal, R, APart, AState);
  else
    TcxStandardLookAndFeelPainter::Instance()->DrawScrollPart(ACanvas, AHorizontal, R, APart, AState);
}

void TcxOffice11LookAndFeelPainter::DrawContentFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->FrameSides(R, DefaultColor31());
}

void TcxOffice11LookAndFeelPainter::DrawHeaderSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      const TRect& ATextAreaBounds, unsigned, TcxBorders ASides,
                                                      TcxButtonState AState, TAlignment AAlignHorz,
                                                      TcxAlignmentVert AAlignVert, bool AMultiLine,
                                                      bool AShowEndEllipsis, const AnsiString& AText, TFont* AFont,
                                                      TColor ATextColor, TColor ABkColor) const {
  DrawHeaderCell(ACanvas, ABounds, ATextAreaBounds, 0, ASides, AState, AAlignHorz, AAlignVert, AMultiLine,
                 AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
  if (AState == cxbsPressed) InvertPressedHeader(ACanvas, ABounds);
}

void TcxOffice11LookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortArrowOutline(ACanvas, R, SortArrowSize(), AAscending, SchemeHeaderSideColor(), SchemeFrameColor());
}

void TcxOffice11LookAndFeelPainter::DrawCalendarHeader(TcxCanvas* ACanvas, const TRect& R, const AnsiString& AText,
                                                       unsigned, const TcxViewParams& AViewParams, int AArrows,
                                                       int AArrowInset,
                                                       const TcxDrawBackgroundEvent& AOnDrawBackground) const {
  TRect I = R;
  InflateRect(&I, -1, -1);
  if (!AOnDrawBackground.Assigned() || !AOnDrawBackground(ACanvas, I)) FillRectFromViewParams(ACanvas, I, AViewParams);
  DrawCellText(ACanvas, I, taCenter, vaCenter, false, false, AText, AViewParams.Font, AViewParams.TextColor);
  DrawCalendarArrows(ACanvas, R, AArrows, AArrowInset, clWindowText);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState) const {
  TcxWinXPLookAndFeelPainter::Instance()->DrawSchedulerButton(ACanvas, R, AState);
}
