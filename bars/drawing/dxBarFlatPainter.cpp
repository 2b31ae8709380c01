// dxBarFlatPainter.cpp — the flat style.
#include <algorithm>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/drawing/dxBarPainters.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"

namespace {

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

bool HighContrast() { return IsBtnFaceBlack() || IsBlackFaceColoredText(); }

bool Horizontal(const TdxBarPaintWindow& W) {
  return W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom || W.DockingStyle() == dsNone;
}

}  // namespace

TdxBarItemControlPainterClass TdxBarItemControlFlatPainter::Instance() {
  static const TdxBarItemControlFlatPainter P;
  return &P;
}

HBRUSH TdxBarItemControlFlatPainter::StyleBrush(const TdxBarPaintSettings& S, int N) {
  return (S.StyleBrushes ? *S.StyleBrushes : dxBarDefaultStyleBrushes()).Brush(N);
}

// -- the operations this style adds -----------------------------------------

void TdxBarItemControlFlatPainter::DrawSelectionFrame(HDC DC, const TRect& R) const {
  if (HighContrast())
    FrameRectWithColor(DC, R, clHighlightText);
  else
    DrawHighlightFrame(DC, R);
}

HBRUSH TdxBarItemControlFlatPainter::GetBorderBrush(const TdxBarItemPaint&, TdxBarStaticBorderStyle) const {
  return GetSysColorBrush(COLOR_BTNSHADOW);
}

void TdxBarItemControlFlatPainter::DrawDroppedBarMark(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  DrawDropDownOwnerFrame(W, DC, R, {});
  const TRect In = Deflated(R, 1, 1);
  FillRect(DC, &In, GetBarBackgroundBrush(W.Settings()));
}

void TdxBarItemControlFlatPainter::DrawDropDownOwnerFrame(const TdxBarPaintWindow& W, HDC DC, const TRect& R,
                                                          const TRect& Joint) const {
  HRGN Saved;
  bool Existed;
  PushClipRegion(DC, Saved, Existed);
  if (!Joint.IsEmpty()) {
    FillDropDownOwnerGap(W, DC, R, Joint);
    ExcludeClipRect(DC, Joint.Left, Joint.Top, Joint.Right, Joint.Bottom);
  }
  FrameDropDownOwner(W, DC, R);
  PopClipRegion(DC, Saved, Existed);
}

void TdxBarItemControlFlatPainter::FrameDropDownOwner(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  FrameRect(DC, &R, StyleBrush(W.Settings(), 1));
}

void TdxBarItemControlFlatPainter::FillDropDownOwnerGap(const TdxBarPaintWindow& W, HDC DC, const TRect&,
                                                        const TRect& Joint) const {
  FillRect(DC, &Joint, GetBarBackgroundBrush(W.Settings()));
}

HBRUSH TdxBarItemControlFlatPainter::GetSubMenuSeparatorBrush(const TdxBarPaintWindow&) const {
  return GetSysColorBrush(COLOR_BTNFACE);
}

// -- brushes and colours ----------------------------------------------------

HBRUSH TdxBarItemControlFlatPainter::GetBarBrush() const { return dxBarDefaultStyleBrushes().Brush(2); }
HBRUSH TdxBarItemControlFlatPainter::GetCheckedBrush() const { return dxBarDefaultStyleBrushes().Brush(3); }
HBRUSH TdxBarItemControlFlatPainter::GetPressedBrush() const { return dxBarDefaultStyleBrushes().Brush(4); }
HBRUSH TdxBarItemControlFlatPainter::GetHotBrush() const { return dxBarDefaultStyleBrushes().Brush(5); }
HBRUSH TdxBarItemControlFlatPainter::GetQuickControlBrush() const { return GetSysColorBrush(COLOR_WINDOW); }
HBRUSH TdxBarItemControlFlatPainter::GetSubMenuBrush() const { return GetSysColorBrush(COLOR_WINDOW); }
void TdxBarItemControlFlatPainter::GetSubMenuItemBrush(const TdxBarPaintWindow&, HBRUSH& Brush) const {
  Brush = GetSubMenuBrush();
}

TColor TdxBarItemControlFlatPainter::GetBarCaptionColor(const TdxBarPaintWindow& W, bool) const {
  return TdxBarItemControlPainter::GetBarCaptionColor(W, false);
}

TColor TdxBarItemControlFlatPainter::GetBarCaptionMarkColor(const TdxBarPaintWindow& W, int State) const {
  return State == 1 || State == 2 ? clBtnText : TdxBarItemControlPainter::GetBarCaptionMarkColor(W, State);
}

HBRUSH TdxBarItemControlFlatPainter::GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down, bool Selected,
                                                    bool NoImage) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (Selected) return Pressed || Down ? W.PressedBrush() : W.HotBrush();
  if (Down) return GetCheckedBrush();
  if (W.PaintType() == ptMenu && !NoImage) return StyleBrush(W.Settings(), 2);
  if (W.PaintType() == ptMenu) return StyleBrush(W.Settings(), 2);
  return W.CurrentBrush();
}

// -- items ------------------------------------------------------------------

void TdxBarItemControlFlatPainter::DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                   bool Selected, bool, const TRect& R, bool BorderFits,
                                                   HBRUSH Brush) const {
  if (Down || (Selected && C.Window->PaintType() != ptMenu))
    DrawSelectionFrame(DC, R);
  else if (BorderFits)
    DrawBackgroundFrame(C, DC, Down || Selected || Pressed || C.NotRecent, Brush, R);
}

void TdxBarItemControlFlatPainter::DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                  bool Selected, bool BorderFits, HBRUSH Brush, TRect R,
                                                  const TRect& GlyphRect) const {
  if (BorderFits) R = Deflated(R, 1, 1);
  const TdxBarPaintWindow& W = *C.Window;
  bool Copy = false;
  if (!C.NotRecent && W.HasOwnBackground()) {
    DrawBackground(C, DC, Pressed || Down || Selected, Brush, R);
    Copy = true;
  }
  DrawItemGlyph(DC, Brush, R, GlyphRect, C.Glyph, C.Images, C.ImageIndex, C.Enabled, false, true, Selected, Down,
                Pressed, true, Copy, GetFadedImageColor(W.Settings()), W.Settings().ImageListBkColor);
}

void TdxBarItemControlFlatPainter::DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int S) const {
  TColor Pen;
  if (C.Enabled)
    Pen = IsBtnFaceWhite() || IsBlackFaceColoredText() ? clWhite : clBlack;
  else
    Pen = clBtnShadow;
  for (int K = 0; K < 2 * S; ++K) {
    const TPoint P[3] = {{X + S, Y + 2 * S + K}, {X + 3 * S, Y + 4 * S + K}, {X + 8 * S, Y - S + K}};
    dxPolyline(DC, P, 3, Pen);
  }
}

void TdxBarItemControlFlatPainter::DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph,
                                                bool Selected, const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const HBRUSH Column = StyleBrush(W.Settings(), 2);
  if (Selected) {
    DrawSelectionFrame(DC, R);
  } else {
    // The ring, piecewise: over the glyph column, then the rest.
    HRGN Saved;
    bool Existed;
    PushClipRegion(DC, Saved, Existed);
    ExcludeClipRect(DC, R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    const int Split = R.Left + R.Height() + 1;
    DrawBackground(C, DC, C.NotRecent, Column, {R.Left, R.Top, Split, R.Bottom});
    DrawBackground(C, DC, C.NotRecent, W.CurrentBrush(), {Split, R.Top, R.Right, R.Bottom});
    PopClipRegion(DC, Saved, Existed);
  }
  const TRect In = Deflated(R, 1, 1);
  const TRect Square{In.Left, In.Top, In.Left + In.Height(), In.Bottom};
  DrawControlGlyph(C, DC, false, Down, Selected, ShowGlyph && C.HasImage(), Square);
  const bool Fill = Selected || C.NotRecent;
  const TRect Strip{Square.Right, In.Top, Square.Right + 2, In.Bottom};
  DrawBackground(C, DC, Fill, Selected ? W.HotBrush() : Column, Strip);
  TRect Text{Strip.Right, In.Top, In.Right, In.Bottom};
  DrawBackground(C, DC, Fill, Selected ? W.HotBrush() : W.CurrentBrush(), Text);
  Text.Left += 8;
  DrawItemText(C, DC, C.Enabled, Selected && !IsBtnFaceWhite(), false, false, false, DT_LEFT, Text, C.Caption);
}

void TdxBarItemControlFlatPainter::DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists,
                                                       bool DropDownEnabled, bool Dropped, bool Pressed,
                                                       bool Selected, int, HBRUSH Brush, const TRect& Part) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  TRect R = Part;
  if (!Menu) R.Left -= 1;
  if (!(!Menu && Dropped && MenuWindowExists)) {
    if (Selected)
      DrawSelectionFrame(DC, R);
    else if (Menu)
      dxFillRectSys(DC, {R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, COLOR_BTNSHADOW);
    else
      FrameRect(DC, &R, W.CurrentBrush());
    DrawBackground(C, DC, Dropped || Pressed || Selected || C.NotRecent, Brush, Deflated(R, 1, 1));
  }
  const bool Enabled = C.Enabled && DropDownEnabled;
  if (Menu)
    DrawSizedArrow(DC, Part, false, W.ArrowSize(), Dropped || (Selected && IsBtnFaceWhite()), Enabled);
  else
    DrawDropDownArrow(DC, Part, true, Enabled, Selected && !Dropped && IsBtnFaceWhite());
}

void TdxBarItemControlFlatPainter::DrawLoweredBorder(HDC DC, TRect& R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlFlatPainter::DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical,
                                                        HBRUSH Brush, const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  const int O = GetToolbarSeparatorOffset();
  if (Vertical)
    dxFillRectSys(DC, {R.Left, R.Top + O, R.Right, R.Top + O + 1}, COLOR_BTNSHADOW);
  else
    dxFillRectSys(DC, {R.Left + O, R.Top, R.Left + O + 1, R.Bottom}, COLOR_BTNSHADOW);
}

void TdxBarItemControlFlatPainter::DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool,
                                                        const TRect& R, HDC DC) const {
  const TRect S{R.Left, R.Top - GetSubMenuSeparatorSize(), R.Right, R.Top};
  C.SeparatorRect = S;
  const int Column = GetControlIndent(C);
  const bool Own = SubMenuOwnNotRecentDrawing();
  const bool Selected = !Own && C.NotRecent && !C.BlockStart;
  const HBRUSH Rest = !Own && C.NotRecent && C.BlockStart ? GetSubMenuBrush() : W.CurrentBrush();
  DrawBackground(C, DC, Selected, StyleBrush(W.Settings(), 2), {S.Left, S.Top, S.Left + Column, S.Bottom});
  DrawBackground(C, DC, Selected, Rest, {S.Left + Column, S.Top, S.Right, S.Bottom});
  const int Y = (S.Top + S.Bottom) / 2;
  const TRect Line{S.Left + Column + GetSubMenuSeparatorIndent(), Y, R.Right + 1, Y + 1};
  FillRect(DC, &Line, GetSubMenuSeparatorBrush(W));
}

// -- toolbars ---------------------------------------------------------------

TRect TdxBarItemControlFlatPainter::GetBarMarkRect(const TdxBarPaintWindow& W) const {
  const TRect C = W.ClientRect();
  switch (W.DockingStyle()) {
    case dsLeft:
    case dsRight: return {C.Left, C.Bottom - 11, C.Right, C.Bottom};
    case dsTop:
    case dsBottom: return {C.Right - 11, C.Top, C.Right, C.Bottom};
    default: {
      const TRect M = W.CaptionMarkRect();
      const int Side = M.Height();
      int Left = M.Right - Side;
      if (W.CanClose()) Left -= GetSmallCaptionHeight() + 1;
      Left = std::max(Left, M.Left);
      return {Left, M.Top, Left + Side, M.Top + Side};
    }
  }
}

void TdxBarItemControlFlatPainter::DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                         const TRect& R) const {
  switch (W.MarkState()) {
    case 2: DrawDroppedBarMark(W, DC, R); break;
    case 1: {
      DrawSelectionFrame(DC, R);
      const TRect In = Deflated(R, 1, 1);
      FillRect(DC, &In, W.HotBrush());
      break;
    }
    default:
      FrameRect(DC, &R, Brush);
      W.PaintBackground(DC, Deflated(R, 1, 1), Brush);
      break;
  }
}

void TdxBarItemControlFlatPainter::DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  TdxBarItemControlEnhancedPainter::Instance()->DrawBarMarkSigns(W, DC, R);
}

void TdxBarItemControlFlatPainter::DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect& R,
                                                      int P) const {
  TdxBarItemControlEnhancedPainter::Instance()->DrawBarMarkChevron(W, DC, R, P);
}

void TdxBarItemControlFlatPainter::DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                       TRect& R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  R = Deflated(R, 1, 1);
  const COLORREF Face = ColorToRGB(clBtnFace);
  SetPixel(DC, R.Left, R.Top, Face);
  SetPixel(DC, R.Right - 1, R.Top, Face);
  SetPixel(DC, R.Left, R.Bottom - 1, Face);
  SetPixel(DC, R.Right - 1, R.Bottom - 1, Face);
  R = Deflated(R, 1, 1);
  if (!W.ShowGrip()) return;
  const int O = GetGripOffset(), GW = GetGripBarWidth();
  if (Horizontal(W)) {
    const TRect G{R.Left + O, R.Top + 3, R.Left + O + GW, R.Bottom - 3};
    for (int Y = G.Top; Y < G.Bottom; ++Y) {
      const TRect Line{G.Left, Y, G.Right, Y + 1};
      if ((Y - G.Top) % 2 == 0)
        dxFillRectSys(DC, Line, COLOR_BTNSHADOW);
      else
        FillRect(DC, &Line, Brush);
    }
  } else {
    const TRect G{R.Left + 3, R.Top + O, R.Right - 3, R.Top + O + GW};
    for (int X = G.Left; X < G.Right; ++X) {
      const TRect Line{X, G.Top, X + 1, G.Bottom};
      if ((X - G.Left) % 2 == 0)
        dxFillRectSys(DC, Line, COLOR_BTNSHADOW);
      else
        FillRect(DC, &Line, Brush);
    }
  }
}
