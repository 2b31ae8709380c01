// dxBarFlatPainter.cpp — the flat style.
#include <algorithm>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/drawing/dxBarPainters.h"
#include "controls/base/cxControlHelpers.h"
#include "platform/gdi/Bitmap.h"
#include "platform/win/EditControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
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
  if (Selected)
    DrawSelectionFrame(DC, R);
  else
    DrawMenuRowRing(C, DC, R, C.NotRecent, Column, W.CurrentBrush());
  DrawMenuRowContent(C, DC, Down, ShowGlyph, Selected, R, Selected || C.NotRecent, Selected ? W.HotBrush() : Column,
                     Selected ? W.HotBrush() : W.CurrentBrush());
}

void TdxBarItemControlFlatPainter::DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists,
                                                       bool DropDownEnabled, bool Dropped, bool Pressed,
                                                       bool Selected, int, HBRUSH Brush, const TRect& Part) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  const TRect R = ArrowPartFrameRect(W, Part);
  if (!(!Menu && Dropped && MenuWindowExists)) {
    if (Selected)
      DrawSelectionFrame(DC, R);
    else if (Menu)
      dxFillRectSys(DC, {R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, COLOR_BTNSHADOW);
    else
      FrameRect(DC, &R, W.CurrentBrush());
    DrawBackground(C, DC, Dropped || Pressed || Selected || C.NotRecent, Brush, Deflated(R, 1, 1));
  }
  DrawArrowPartArrow(C, DC, DropDownEnabled, Dropped, Selected, Part);
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

// -- sub-items --------------------------------------------------------------

int TdxBarItemControlFlatPainter::CalcSubItemIndent(const TdxBarPaintWindow& W) const {
  return W.IsMainMenu() ? 8 : TdxBarItemControlPainter::CalcSubItemIndent(W);
}

int TdxBarItemControlFlatPainter::CalcSubItemHeight(const TdxBarItemPaint& C) const {
  return TdxBarItemControlPainter::CalcSubItemHeight(C) + (C.Window->PaintType() == ptMenu ? 2 : 0);
}

int TdxBarItemControlFlatPainter::CalcSubItemWidth(const TdxBarItemPaint& C, HDC DC) const {
  return TdxBarItemControlPainter::CalcSubItemWidth(C, DC) + (C.Window->PaintType() == ptMenu ? 9 : 0);
}

void TdxBarItemControlFlatPainter::DrawSubItem(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected,
                                               const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const int TextSize = W.ItemHeight();
  if (W.PaintType() == ptMenu) {
    DrawMenuItem(C, DC, false, true, Selected, R);
    TRect A = R;
    A.Left = R.Right + W.ArrowSize() - TextSize;
    DrawSizedArrow(DC, A, false, W.ArrowSize(), Selected && IsBtnFaceWhite(), C.Enabled);
    return;
  }
  const bool Vertical = W.PaintType() == ptVert;
  const bool Cell = C.HasImage() || !C.ShowCaption;
  TRect Box = R;
  const int Along = Cell ? (Vertical ? W.Settings().ButtonHeight : W.Settings().ButtonWidth) : CalcSubItemIndent(W);
  if (Vertical)
    Box.Bottom = Box.Top + Along;
  else
    Box.Right = Box.Left + Along;
  DrawControlGlyph(C, DC, Pressed, false, Selected, Cell, Box);
  TRect Text = R;
  if (Vertical)
    Text.Top = Box.Bottom;
  else
    Text.Left = Box.Right;
  if (Pressed && !NoPressedOffset()) OffsetRect(&Text, 1, 1);
  if (C.ShowCaption)
    DrawItemText(C, DC, C.Enabled, Selected && !IsBtnFaceWhite(), KeepButtonTextColor(), Vertical && W.Rotated(),
                 false, DT_LEFT, Text, C.Caption);
  if (W.IsMainMenu()) return;
  TRect A = R;
  const bool Look = IsBtnFaceWhite() && Selected && !Pressed;
  if (Vertical) {
    A.Top = R.Bottom + W.FontHeight() / 2 - TextSize / 2;
    DrawSizedArrow(DC, A, false, W.ArrowSize() - 1, Look, C.Enabled);
  } else {
    A.Left = R.Right + W.FontHeight() / 2 - TextSize / 2;
    DrawSizedArrow(DC, A, true, W.ArrowSize() - 1, Look, C.Enabled);
  }
}

// -- edits, combos and small parts ------------------------------------------

int TdxBarItemControlFlatPainter::CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const {
  TSize Size{};
  GetTextExtentPoint32A(DC, Caption.c_str(), int(Caption.size()), &Size);
  return Size.cx + 11;
}

unsigned TdxBarItemControlFlatPainter::GetEditWindowStyle() const {
  return TdxBarItemControlPainter::GetEditWindowStyle() | ES_MULTILINE;
}

void TdxBarItemControlFlatPainter::InitEditWindow(const TdxBarItemPaint&, HWND Edit) const {
  if (!Edit) return;
  TRect R;
  GetClientRect(Edit, &R);
  R = Deflated(R, 2, 2);
  SendMessageA(Edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

void TdxBarItemControlFlatPainter::SelectEditText(const TdxBarItemPaint& C, HWND Edit, bool Changed) const {
  // A multi-line edit does not report the change of a selected text by
  // itself; the control listens for it.
  if (Edit && Changed) SendMessageA(Edit, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(Edit));
  TdxBarItemControlPainter::SelectEditText(C, Edit, Changed);
}

int TdxBarItemControlFlatPainter::CalcFloatingCaptionTextLeft(const TdxBarPaintWindow& W) const {
  return TdxBarItemControlPainter::CalcFloatingCaptionTextLeft(W) + 2;
}

void TdxBarItemControlFlatPainter::GetArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush,
                                                  bool Pressed, bool, bool Selected) const {
  const TdxBarPaintWindow& W = *C.Window;
  ColorIndex = COLOR_BTNTEXT;
  if (!Selected) {
    Brush = W.CurrentBrush();
  } else if (Pressed || IsBtnFaceWhite()) {
    Brush = W.PressedBrush();
    ColorIndex = COLOR_HIGHLIGHTTEXT;
  } else {
    Brush = W.HotBrush();
  }
}

void TdxBarItemControlFlatPainter::GetComboArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush,
                                                       bool Pressed, bool Down, bool Selected) const {
  GetArrowParams(C, ColorIndex, Brush, Pressed, Down, Selected);
  if (C.Window->PaintType() == ptMenu && !Selected) Brush = C.Window->CurrentBrush();
  if (!C.Enabled) ColorIndex = COLOR_BTNSHADOW;
}

void TdxBarItemControlFlatPainter::DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool,
                                                   const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect B{R.Right - W.ComboButtonWidth(), R.Top, R.Right, R.Bottom};
  C.ComboButtonRect = B;
  int ColorIndex;
  HBRUSH Brush;
  GetComboArrowParams(C, ColorIndex, Brush, C.ButtonPressed, false, Selected);
  TRect In = Deflated(B, 1, 1);
  if (Selected) {
    DrawSelectionFrame(DC, {B.Left - 1, B.Top, B.Right, B.Bottom});
    FillRect(DC, &In, Brush);
  } else {
    const HBRUSH Frame = C.Enabled ? GetSysColorBrush(COLOR_BTNHIGHLIGHT) : W.CurrentBrush();
    FrameRect(DC, &B, Frame);
    const TRect Column{B.Left - 1, R.Top, B.Left, R.Bottom};
    FillRect(DC, &Column, Frame);
    FillRect(DC, &In, Brush);
    if (C.ButtonPressed) OffsetRect(&In, 1, 1);
  }
  int D = B.Width() / 2;
  if (D % 2 == 0) ++D;
  DrawDownTriangle(DC, ColorIndex, D, (In.Top + In.Bottom - (D / 2 + 1)) / 2, (In.Left + In.Right - D) / 2);
}

void TdxBarItemControlFlatPainter::DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool,
                                                   const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect In = Deflated(R, 1, 1);
  if (State > 0) {
    DrawSelectionFrame(DC, R);
    FillRect(DC, &In, State == 2 ? W.PressedBrush() : W.HotBrush());
  } else {
    FrameRect(DC, &R, W.CurrentBrush());
    FillRect(DC, &In, W.CurrentBrush());
  }
}

void TdxBarItemControlFlatPainter::DrawStaticBorder(HDC DC, TdxBarStaticBorderStyle Style, int Width,
                                                    TRect& R) const {
  if (Style == sbsNone) return;
  const HBRUSH B = GetBorderBrush({}, Style);
  for (int i = 0; i < Width && !R.IsEmpty(); ++i) {
    FrameRect(DC, &R, B);
    R = Deflated(R, 1, 1);
  }
}

void TdxBarItemControlFlatPainter::DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (Selected)
    DrawSelectionFrame(DC, R);
  else if (W.PaintType() == ptMenu)
    FrameRect(DC, &R, W.CurrentBrush());
  else if (C.Enabled)
    DrawBackgroundFrame(C, DC, false, W.CurrentBrush(), R);
  else
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlFlatPainter::DrawEditCaption(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  // A style that draws not-recent rows itself (Office 2003) leaves the
  // caption of such a row unfilled.
  const bool NotRecentFill = C.NotRecent && !SubMenuOwnNotRecentDrawing();
  TRect Cell{R.Left, R.Top, R.Left + CalcEditCaptionWidth(DC, StripAccelChars(C.Caption)), R.Bottom};
  TRect Back = Cell;
  if (Menu && Selected) {
    Cell.Right += 1;
    DrawSelectionFrame(DC, Cell);
    Back = Deflated(Cell, 1, 1);
  }
  DrawBackground(C, DC, Menu && (Selected || NotRecentFill), Menu && Selected ? W.HotBrush() : W.CurrentBrush(), Back);
  TRect Text = Cell;
  Text.Right -= 5;
  DrawItemText(C, DC, C.Enabled, Menu && Selected && !IsBtnFaceWhite(), false, false, false, DT_RIGHT, Text,
               C.Caption);
  R.Left = Cell.Right;
}

void TdxBarItemControlFlatPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  const TRect In = Deflated(R, 1, 1);
  FrameRect(DC, &In, GetSysColorBrush(COLOR_WINDOW));
}

void TdxBarItemControlFlatPainter::DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  R = Deflated(R, 1, 1);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  R = Deflated(R, 1, 1);
  DrawPushButtonText(DC, Caption, Pressed, R);
}

void TdxBarItemControlFlatPainter::DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot,
                                                  int Direction, int Size, int Offset, const TRect& R) const {
  DrawSmallButton(C, DC, Pressed ? 2 : (Hot ? 1 : 0), true, R);
  TColor Color = clBtnText;
  if (!C.Enabled)
    Color = clBtnShadow;
  else if (Hot && IsBtnFaceWhite())
    Color = clBtnFace;
  // The arrow stays in place when pressed: the face shows the state.
  const int X = (R.Left + R.Right - (2 * Size - 1)) / 2, Y = R.Top + Offset;
  TPoint P[3];
  if (Direction == 1)
    P[0] = {X, Y + Size - 1}, P[1] = {X + 2 * Size - 2, Y + Size - 1}, P[2] = {X + Size - 1, Y};
  else
    P[0] = {X, Y}, P[1] = {X + 2 * Size - 2, Y}, P[2] = {X + Size - 1, Y + Size - 1};
  dxPolygon(DC, P, 3, Color);
}

void TdxBarItemControlFlatPainter::DrawInPlaceSubItem(const TdxBarItemPaint& C, HDC DC, const TRect& R,
                                                      bool Expanded, bool Selected) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect Bottom{R.Left, R.Bottom - 1, R.Right, R.Bottom};
  FillRect(DC, &Bottom, W.CurrentBrush());
  const TRect Header{R.Left, R.Top, R.Right, R.Bottom - 1};
  const TRect In = Deflated(Header, 1, 1);
  if (Selected) {
    DrawSelectionFrame(DC, Header);
    FillRect(DC, &In, W.HotBrush());
  } else {
    FillRect(DC, &Header, GetInPlaceSubItemBrush());
  }
  TRect T = Header;
  T.Left += 5;
  DrawItemText(C, DC, C.Enabled, Selected && !IsBtnFaceWhite(), false, false, false, DT_LEFT, T, C.Caption);
  if (!C.Enabled) return;
  TRect A = Header;
  A.Left = Header.Right - W.ItemHeight() + (Expanded ? 0 : W.ArrowSize());
  DrawSizedArrow(DC, A, Expanded, W.ArrowSize(), Selected, true);
}

// -- floating bars and caption buttons --------------------------------------

void TdxBarItemControlFlatPainter::DrawFloatingBarBorder(const TdxBarPaintWindow& W, HDC DC, TRect& R) const {
  FrameRect(DC, &R, StyleBrush(W.Settings(), 1));
  R = Deflated(R, 1, 1);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  R = Deflated(R, 1, 1);
  for (int i = 2; i < GetFloatingBorderWidth() && !R.IsEmpty(); ++i) {
    FrameRect(DC, &R, W.CurrentBrush());
    R = Deflated(R, 1, 1);
  }
}

void TdxBarItemControlFlatPainter::DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  const int State = W.CloseButtonState();
  DrawCloseButtonBackground(W, DC, State, R);
  TRect X = Deflated(R, 3, 4);
  if (X.Width() % 2 != 0) X.Right -= 1;
  const int N = X.Width();
  if (N < 2) return;
  const int H = N - 1;
  const TColor Pen = GetBarCaptionMarkColor(W, State);
  for (int i = 0; i < 2; ++i) {
    dxLine(DC, X.Left + i, X.Top, X.Left + i + H, X.Top + H, Pen);
    dxLine(DC, X.Left + i, X.Top + H - 1, X.Left + i + H, X.Top - 1, Pen);
  }
}

void TdxBarItemControlFlatPainter::DrawFloatingBarMark(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  if (W.CanClose()) dxFillRectColor(DC, {R.Right, R.Top, R.Right + 1, R.Bottom}, GetBarCaptionColor(W, false));
  if (W.MarkState() == 2)
    DrawDroppedBarMark(W, DC, R);
  else
    DrawCloseButtonBackground(W, DC, W.MarkState(), R);
  DrawFloatingBarMarkArrow(W, DC, R);
}

void TdxBarItemControlFlatPainter::DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled,
                                                 const TRect& R, HDC DC, bool Hot, bool Pressed) const {
  if (Hot && Pressed)
    FillRect(DC, &R, W.PressedBrush());
  else if (Pressed)
    FillRect(DC, &R, GetCheckedBrush());
  else if (Hot)
    FillRect(DC, &R, W.HotBrush());
  else
    W.PaintBackground(DC, R, W.CurrentBrush());
  // The system's caption glyph, its own border cut off, laid over the face.
  const TRect In = Deflated(R, 1, 1);
  if (In.Width() > 0 && In.Height() > 0) {
    TBitmap Glyph;
    Glyph.SetPixelFormat(pf32bit);
    Glyph.SetSize(In.Width(), In.Height());
    TRect G{-1, -1, In.Width() + 1, In.Height() + 1};
    UINT Kind = Button == mdibMinimize ? DFCS_CAPTIONMIN : Button == mdibRestore ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONCLOSE;
    Kind |= DFCS_FLAT | (Enabled ? 0u : UINT(DFCS_INACTIVE));
    DrawFrameControl(Glyph.Canvas()->GetHandle(), &G, DFC_CAPTION, Kind);
    DrawItemGlyph(DC, W.CurrentBrush(), In, In, &Glyph, nullptr, -1, true, false, false, false, false, false, false,
                  true, clNone, clNone);
  }
  if (Hot || Pressed) DrawSelectionFrame(DC, R);
}

void TdxBarItemControlFlatPainter::DrawQuickCustItemFrame(const TdxBarItemPaint& C, HDC DC, const TRect& R,
                                                          bool Selected) const {
  if (!Selected) return;
  DrawSelectionFrame(DC, R);
  const int Check = R.Left + R.Height();
  const TRect Strip{Check, R.Top + 1, Check + 2, R.Bottom - 1};
  FillRect(DC, &Strip, C.Window->HotBrush());
}

// -- menus --------------------------------------------------------------------

void TdxBarItemControlFlatPainter::CalcSubMenuMetrics(int ItemHeight, int ZeroTextHeight, int& GlyphReferenceSize,
                                                      int& ExpandButtonHeight, int& ArrowPartWidth) const {
  GlyphReferenceSize = (ItemHeight + 1) / 4 * 3 + 1;
  const int S = CalcExpandArrowSize(ZeroTextHeight - 1);
  ExpandButtonHeight = S % 2 != 0 ? 2 * S + 4 : ZeroTextHeight + 1;
  ArrowPartWidth = 20;
}

void TdxBarItemControlFlatPainter::GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R,
                                                       int& TopBound, int& BottomBound) const {
  const TRect Client = W.ClientRect();
  R = {W.BarSize() + 1, 1, Client.Width() - 1, Client.Height() - 1};
  if (Unlimited) {
    TopBound = 0;
    BottomBound = 0x7FFFFFFF;
  } else {
    TopBound = 1;
    BottomBound = Client.Height() - 1 - (W.ExpandButtonVisible() ? W.ItemHeight() : 0);
  }
}

void TdxBarItemControlFlatPainter::CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight,
                                                   TSize& Size) const {
  Size.cx = RowsWidth == 0 ? 100 : RowsWidth + W.BarSize() + 4;
  Size.cy = RowsHeight;
  if (RowsHeight < 3 || W.ExpandButtonVisible()) Size.cy += W.ItemHeight();
  Size.cy += 3;
  if (W.DetachBar()) Size.cy += GetSubMenuDetachBarHeight(W);
}

void TdxBarItemControlFlatPainter::DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const {
  FrameRect(DC, &R, StyleBrush(W.Settings(), 1));
  // The segment where the menu touches its owner stays open.
  const TRect J = W.OwnerJointRect();
  if (!J.IsEmpty()) FillRect(DC, &J, GetBarBackgroundBrush(W.Settings()));
  if (!W.DetachBar()) return;
  const TRect In = Deflated(R, 1, 1);
  const TRect Area{In.Left, In.Top, In.Right, In.Top + GetSubMenuDetachBarHeight(W)};
  dxFillRectSys(DC, {Area.Left, Area.Top, Area.Right, Area.Top + 1}, COLOR_WINDOW);
  dxFillRectSys(DC, {Area.Left, Area.Top, Area.Left + 1, Area.Bottom}, COLOR_WINDOW);
  dxFillRectSys(DC, {Area.Right - 1, Area.Top, Area.Right, Area.Bottom}, COLOR_WINDOW);
  DrawSubMenuDetachBar(W, DC, {Area.Left + 1, Area.Top + 1, Area.Right - 1, Area.Bottom});
}

void TdxBarItemControlFlatPainter::DrawSubMenuClientBorder(const TdxBarPaintWindow&, HDC DC, HBRUSH Brush,
                                                           TRect R) const {
  FrameRect(DC, &R, GetSubMenuBrush());
  if (R.Height() > 2) {
    const TRect Left{R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1};
    FillRect(DC, &Left, Brush);
  }
}

void TdxBarItemControlFlatPainter::DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  const bool Hot = W.DetachBarHot();
  if (Hot) {
    DrawSelectionFrame(DC, R);
    const TRect In = Deflated(R, 1, 1);
    FillRect(DC, &In, W.HotBrush());
  } else {
    FillRect(DC, &R, StyleBrush(W.Settings(), 2));
  }
  const int Left = (R.Left + R.Right - 33) / 2;
  for (int Y = R.Top + 1; Y < R.Bottom - 1; Y += 2)
    dxFillRectSys(DC, {Left, Y, Left + 33, Y + 1}, Hot ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
}

void TdxBarItemControlFlatPainter::DrawSubMenuExtras(const TdxBarPaintWindow& W, HDC DC, const TRect& FirstRow,
                                                     const TRect& LastRow, bool FirstHidden, bool MoreBelow, bool,
                                                     bool) const {
  const HBRUSH Back = GetSubMenuBrush();
  auto Fill = [&](const TRect& X) {
    if (!X.IsEmpty()) FillRect(DC, &X, Back);
  };
  if (FirstHidden) {
    HRGN Saved;
    bool Existed;
    PushClipRegion(DC, Saved, Existed);
    DrawSubMenuScrollArrow(W, DC, true, FirstRow);
    Fill(FirstRow);
    PopClipRegion(DC, Saved, Existed);
  }
  const TRect Client = W.ClientRect();
  const int Bottom = Client.Height() - 1 - (W.ExpandButtonVisible() ? W.ItemHeight() : 0);
  {
    HRGN Saved = nullptr;
    bool Existed = false;
    if (MoreBelow) {
      PushClipRegion(DC, Saved, Existed);
      DrawSubMenuScrollArrow(W, DC, false, LastRow);
      Fill(LastRow);
    }
    Fill({LastRow.Left, LastRow.Bottom, LastRow.Right, Bottom});
    if (MoreBelow) PopClipRegion(DC, Saved, Existed);
  }
  if (!W.ExpandButtonVisible()) return;
  const int BH = W.ExpandButtonHeight();
  const TRect Button{LastRow.Left, Client.Height() - 1 - BH, LastRow.Right, Client.Height() - 1};
  Fill({LastRow.Left - 1, std::min(Bottom, Button.Top), LastRow.Right, Button.Bottom});
  const bool Hot = W.ExpandButtonState() == 1;
  if (Hot) {
    DrawSelectionFrame(DC, Button);
    const TRect In = Deflated(Button, 1, 1);
    FillRect(DC, &In, W.HotBrush());
  }
  DrawSubMenuExpandArrows(W, DC, Hot, Button);
}

// -- window-dependent answers -------------------------------------------------

bool TdxBarItemControlFlatPainter::BarWindowHasShadow(const TdxBarPaintWindow& W) const {
  // Menus, the quick-customization popup and floating toolbars: every
  // window that is not docked.
  return W.PaintType() == ptMenu || W.IsQuickCustomization() || W.Floating();
}

HBRUSH TdxBarItemControlFlatPainter::GetToolbarBrushOf(const TdxBarPaintWindow& W) const {
  return W.IsMainMenu() || W.CanHaveSizeGrip() ? GetSysColorBrush(COLOR_BTNFACE) : GetBarBrush();
}
