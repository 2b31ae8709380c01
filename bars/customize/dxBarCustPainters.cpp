// dxBarCustPainters.cpp — how the customizing form's commands list draws
// its rows in each style: a button row with its glyph column, caption and
// drop-down part or sub-menu arrow, an edit row with its caption and box.
#include <algorithm>
#include "bars/customize/dxBarCustForm.h"
#include "bars/drawing/dxBarDrawing.h"
#include "bars/items/dxBarItem.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBarManager.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"

namespace {

AnsiString WithoutAccelMarks(const AnsiString& S) {
  AnsiString R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '&' && I + 1 < S.size()) ++I;
    R += S[I];
  }
  return R;
}

bool HasImage(TdxBarItem* Item) { return Item->GetGlyph() && !Item->GetGlyph()->Empty(); }

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void Text(TCanvas* C, TRect R, const AnsiString& S, TColor Color) {
  C->Font()->SetColor(Color);
  SetBkMode(C->GetHandle(), TRANSPARENT);
  AnsiString T = S;
  DrawTextA(C->GetHandle(), T.data(), int(T.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
}

const int Office11Selected = 41, Office11MenuBack = 32, Office11MenuText = 52, Office11Column1 = 3,
          Office11Column2 = 4;

}  // namespace

TColor TdxBarCustomizingFormPainter::GetBkColor(bool Selected) const { return Selected ? clHighlight : clBtnFace; }
TColor TdxBarCustomizingFormPainter::GetTextColor(bool Selected) const {
  return Selected ? clHighlightText : clBtnText;
}

void TdxBarCustomizingFormPainter::DrawSubMenuArrow(TCanvas* C, Integer X, Integer Y, bool Selected) const {
  const TColor Color = Selected && IsBtnFaceWhite() ? clWhite : C->Font()->GetColor();
  C->Pen()->SetColor(Color);
  C->Brush()->SetColor(Color);
  const TPoint P[3] = {{X, Y}, {X, Y + 6}, {X + 3, Y + 3}};
  C->Polygon(P);
}

Integer TdxBarCustomizingFormPainter::GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const {
  TRect Col{R.Left, R.Top, R.Left + 23, R.Bottom};
  const bool Image = HasImage(Item);
  Fill(C, Col, GetBkColor(Selected && !Image));
  if (Image) {
    if (Selected) dxDrawEdge(C->GetHandle(), Col, BDR_RAISEDINNER, BF_RECT);
    TBitmap* G = Item->GetGlyph();
    const Integer W = G->GetWidth(), H = G->GetHeight();
    const TRect GR{Col.Left + (23 - W) / 2, Col.Top + (R.Bottom - R.Top - H) / 2, 0, 0};
    DrawItemGlyph(C->GetHandle(), C->Brush()->GetHandle(), Col, {GR.Left, GR.Top, GR.Left + W, GR.Top + H}, G,
                  nullptr, Item->GetImageIndex(), true, false, false, Selected, false, false, false, false, clNone,
                  clNone);
  }
  return 24;
}

void TdxBarCustomizingFormPainter::DrawButtonItem(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const {
  const Integer Indent = GlyphColumn(C, Item, R, Selected);
  auto* Button = dynamic_cast<TdxBarButton*>(Item);
  const bool DropDown = Button && Button->GetButtonStyle() == bsDropDown;
  TRect T{R.Left + Indent, R.Top, R.Right - (DropDown ? 13 : 0), R.Bottom};
  Fill(C, T, GetBkColor(Selected));
  T.Left += 2;
  AnsiString Caption = WithoutAccelMarks(Item->GetCaption());
  auto* Container = dynamic_cast<TCustomdxBarContainerItem*>(Item);
  const bool Replaces = Container && !dynamic_cast<TdxBarContainerItem*>(Item);
  if (Replaces) Caption = "(" + Caption + ")";
  Text(C, T, Caption, GetTextColor(Selected));
  if (DropDown) {
    TRect D{R.Right - 13, R.Top, R.Right, R.Bottom};
    if (Selected) {
      dxDrawEdge(C->GetHandle(), D, BDR_RAISEDINNER, BF_RECT);
      InflateRect(&D, -1, -1);
    } else {
      dxDrawEdge(C->GetHandle(), {D.Left - 1, D.Top, D.Right, D.Bottom}, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_LEFT);
      D.Left += 1;
    }
    Fill(C, D, GetBkColor(false));
    C->Font()->SetColor(GetTextColor(false));
    DrawSubMenuArrow(C, D.Left + (D.Right - D.Left - 3) / 2, R.Top + 7, false);
  } else if (dynamic_cast<TCustomdxBarSubItem*>(Item) && !Replaces) {
    C->Font()->SetColor(GetTextColor(Selected));
    DrawSubMenuArrow(C, R.Right - 9, R.Top + 7, false);
  }
  if (Selected) FrameSelectedRow(C, R);
}

void TdxBarCustomizingFormPainter::DrawEditItem(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const {
  const AnsiString Caption = WithoutAccelMarks(Item->GetCaption());
  C->Font()->SetColor(GetTextColor(Selected));
  const Integer W = C->TextWidth(Caption) + 3 + CaptionIndent() * 2 - 4;
  TRect Cell{R.Left, R.Top, std::min<Integer>(R.Left + W, R.Right), R.Bottom};
  Fill(C, Cell, GetBkColor(Selected));
  Text(C, {Cell.Left + CaptionIndent(), Cell.Top, Cell.Right, Cell.Bottom}, Caption, GetTextColor(Selected));
  TRect Gap{Cell.Right, R.Top, std::min<Integer>(Cell.Right + 4, R.Right), R.Bottom};
  Fill(C, Gap, GetBkColor(false));
  TRect Box{Gap.Right, R.Top, R.Right, R.Bottom};
  Fill(C, Box, GetBkColor(false));
  InflateRect(&Box, 0, -2);
  if (Selected) dxDrawEdge(C->GetHandle(), Box, BDR_SUNKENOUTER, BF_RECT);
  TRect Inner = Box;
  InflateRect(&Inner, -2, -2);
  const bool Combo = dynamic_cast<TCustomdxBarCombo*>(Item) != nullptr;
  if (Combo) Inner.Right -= 12;
  Fill(C, Inner, clWindow);
  if (Combo) {
    TRect B{Inner.Right, Inner.Top, Inner.Right + 12, Inner.Bottom};
    Fill(C, B, GetBkColor(false));
    if (Selected) dxDrawEdge(C->GetHandle(), B, BDR_RAISEDINNER, BF_RECT);
    TRect A = B;
    InflateRect(&A, 2, 2);
    DrawArrowInRect(C->GetHandle(), A, true, true, false, false);
  }
}

void TdxBarCustomizingFormPainter::DrawFocusRect(TCanvas*, TdxBarItem*, TRect) const {}

void TdxBarCustomizingFormStandardPainter::DrawFocusRect(TCanvas* C, TdxBarItem*, TRect R) const {
  InflateRect(&R, -2, -2);
  C->DrawFocusRect(R);
}

void TdxBarCustomizingFormXPPainter::DrawFocusRect(TCanvas* C, TdxBarItem* Item, TRect R) const {
  if (!dynamic_cast<TdxBarEdit*>(Item) && HasImage(Item)) R.Left += 24;
  C->DrawFocusRect(R);
}

TColor TdxBarCustomizingFormFlatPainter::GetBkColor(bool Selected) const {
  return Selected ? GetBarNearestColor(BlendSystemColors(-2, 30, 72)) : clWindow;
}
TColor TdxBarCustomizingFormFlatPainter::GetTextColor(bool Selected) const {
  return Selected && IsBtnFaceWhite() ? clBtnFace : clBtnText;
}

Integer TdxBarCustomizingFormFlatPainter::GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R, bool Selected) const {
  const Integer Side = R.Bottom - R.Top;
  TRect Col{R.Left, R.Top, R.Left + Side, R.Bottom};
  Fill(C, Col, Selected ? GetBkColor(true) : clBtnFace);
  if (HasImage(Item)) {
    TBitmap* G = Item->GetGlyph();
    const Integer W = G->GetWidth(), H = G->GetHeight();
    const TRect GR{Col.Left + (Side - W) / 2 - 1, Col.Top + (Side - H) / 2 - 1, Col.Left + (Side - W) / 2 + W + 1,
                   Col.Top + (Side - H) / 2 + H + 1};
    DrawItemGlyph(C->GetHandle(), C->Brush()->GetHandle(), Col, GR, G, nullptr, Item->GetImageIndex(), true, false,
                  true, Selected, false, false, Selected, false, clNone, clNone);
  }
  return Side + 10 - 2;
}

void TdxBarCustomizingFormFlatPainter::FrameSelectedRow(TCanvas* C, TRect R) const {
  DrawHighlightFrame(C->GetHandle(), R);
}

TColor TdxBarCustomizingFormOffice11Painter::GetBkColor(bool Selected) const {
  return Office11Slot(Selected ? Office11Selected : Office11MenuBack);
}
TColor TdxBarCustomizingFormOffice11Painter::GetTextColor(bool Selected) const {
  return Selected && IsBtnFaceWhite() ? clBtnFace : Office11Slot(Office11MenuText);
}

Integer TdxBarCustomizingFormOffice11Painter::GlyphColumn(TCanvas* C, TdxBarItem* Item, TRect R,
                                                          bool Selected) const {
  const Integer Side = R.Bottom - R.Top;
  TRect Col{R.Left, R.Top, R.Left + Side, R.Bottom};
  if (Selected) Fill(C, Col, GetBkColor(true));
  else FillTwoStageGradientRect(C->GetHandle(), Col, Office11Slot(Office11Column1), Office11Slot(Office11Column2), true);
  if (HasImage(Item)) {
    TBitmap* G = Item->GetGlyph();
    const Integer W = G->GetWidth(), H = G->GetHeight();
    const TRect GR{Col.Left + (Side - W) / 2, Col.Top + (Side - H) / 2, Col.Left + (Side - W) / 2 + W,
                   Col.Top + (Side - H) / 2 + H};
    DrawItemGlyph(C->GetHandle(), nullptr, Col, GR, G, nullptr, Item->GetImageIndex(), true, false, false, Selected,
                  false, false, false, true, clNone, clNone);
  }
  return Side + 8;
}

void TdxBarCustomizingFormOffice11Painter::FrameSelectedRow(TCanvas* C, TRect R) const {
  FrameOffice11Rect(C->GetHandle(), R);
}

const TdxBarCustomizingFormPainter& dxBarCustomizingFormPainter(TdxBarManager* AManager) {
  static const TdxBarCustomizingFormStandardPainter Standard;
  static const TdxBarCustomizingFormFlatPainter Flat;
  static const TdxBarCustomizingFormOffice11Painter Office11;
  static const TdxBarCustomizingFormXPPainter XP;
  switch (AManager ? AManager->GetEffectiveStyle() : bmsStandard) {
    case bmsFlat: return Flat;
    case bmsOffice11: return Office11;
    case bmsXP: return XP;
    default: return Standard;
  }
}
