// dxBarXPPainter.cpp — the visual-style look. Parts and states are the
// published visual-style numbers; sizes fall back to the base values when a
// theme handle is missing (the manager only chooses this style while visual
// styles are available, so that is a transient state).
#include <algorithm>
#include <map>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/drawing/dxBarDropDown.h"
#include "bars/drawing/dxBarPainters.h"
#include "controls/base/cxControlHelpers.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/rtl/MulDiv.h"

namespace {

// Theme parts and states.
enum : int {
  TP_BUTTON = 1, TP_SPLITBUTTON = 3, TP_SPLITBUTTONDROPDOWN = 4, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6,
  TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5,
  RP_GRIPPER = 1, RP_GRIPPERVERT = 2,
  CP_DROPDOWNBUTTON = 1, EP_EDITTEXT = 1, SPNP_UP = 1, SPNP_DOWN = 2,
  PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4, SP_GRIPPER = 3,
  WP_SMALLCLOSEBUTTON = 19, WP_MDIMINBUTTON = 16, WP_MDICLOSEBUTTON = 20, WP_MDIRESTOREBUTTON = 22,
  TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803,
};

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

void Part(TdxThemedObjectType Class, HDC DC, int PartId, int State, const TRect& R) {
  if (R.IsEmpty()) return;
  if (HTHEME T = GetThemeHandle(Class)) DrawThemeBackground(T, DC, PartId, State, &R, nullptr);
}

TSize PartSize(TdxThemedObjectType Class, int PartId, int State, THEMESIZE Kind = TS_TRUE) {
  TSize S{0, 0};
  if (HTHEME T = GetThemeHandle(Class))
    if (GetThemePartSize(T, nullptr, PartId, State, nullptr, Kind, &S) != S_OK) S = {0, 0};
  return S;
}

// The part's content rectangle inside Bounding; false without a theme.
bool ContentRect(TdxThemedObjectType Class, HDC DC, int PartId, int State, const TRect& Bounding, TRect& Content) {
  HTHEME T = GetThemeHandle(Class);
  if (!T) return false;
  return GetThemeBackgroundContentRect(T, DC, PartId, State, &Bounding, &Content) == S_OK;
}

bool ThemeColor(TdxThemedObjectType Class, int PartId, int State, int Prop, TColor& Color) {
  HTHEME T = GetThemeHandle(Class);
  COLORREF C = 0;
  if (!T || GetThemeColor(T, PartId, State, Prop, &C) != S_OK) return false;
  Color = TColor(C);
  return true;
}

int TextWidth(HDC DC, const AnsiString& S) {
  TSize Size{};
  GetTextExtentPoint32A(DC, S.c_str(), int(S.size()), &Size);
  return Size.cx;
}

bool VerticalBar(const TdxBarPaintWindow& W) { return W.DockingStyle() == dsLeft || W.DockingStyle() == dsRight; }

int EditThemeState(const TdxBarItemPaint& C) { return !C.Enabled ? 4 : C.ReadOnly ? 6 : 1; }

const TdxBarItemControlFlatPainter* Flat() {
  return static_cast<const TdxBarItemControlFlatPainter*>(TdxBarItemControlFlatPainter::Instance());
}

}  // namespace

TdxBarItemControlPainterClass TdxBarItemControlXPPainter::Instance() {
  static const TdxBarItemControlXPPainter P;
  return &P;
}

TColor TdxBarItemControlXPPainter::ThemedToolbarFillColor() {
  TColor C = clBtnFace;
  ThemeColor(totToolBar, 0, 0, TMT_FILLCOLOR, C);
  return C;
}

HBRUSH TdxBarItemControlXPPainter::ThemedToolbarBrush() {
  static std::pair<COLORREF, HBRUSH> Own{0, nullptr};
  const COLORREF C = ColorToRGB(ThemedToolbarFillColor());
  if (!Own.second || Own.first != C) {
    if (Own.second) DeleteObject(Own.second);
    Own = {C, CreateSolidBrush(C)};
  }
  return Own.second;
}

// -- metrics --------------------------------------------------------------------

int TdxBarItemControlXPPainter::GetGripBarWidth() const {
  const int W = PartSize(totRebar, RP_GRIPPER, 1).cx;
  return W > 0 ? W : TdxBarItemControlPainter::GetGripBarWidth();
}

int TdxBarItemControlXPPainter::CalcComboButtonWidth(const TdxBarPaintWindow& W, HDC DC, int ZeroWidth) const {
  const int B = PartSize(totComboBox, CP_DROPDOWNBUTTON, 1).cx;
  return B > 0 ? B : TdxBarItemControlPainter::CalcComboButtonWidth(W, DC, ZeroWidth);
}

int TdxBarItemControlXPPainter::GetEditHeightExtra() const {
  TRect C;
  if (!ContentRect(totEdit, nullptr, EP_EDITTEXT, 1, {0, 0, 100, 100}, C)) return 6;
  return 100 - C.Width() + 5;
}

int TdxBarItemControlXPPainter::GetToolbarSeparatorSize() const {
  const int W = PartSize(totToolBar, TP_SEPARATOR, 1, TS_MIN).cx;
  return W > 0 ? W : 6;
}

void TdxBarItemControlXPPainter::GetCloseButtonSize(TSize& Size) const {
  Size = PartSize(totWindow, WP_SMALLCLOSEBUTTON, 1);
  if (Size.cx <= 0) TdxBarItemControlPainter::GetCloseButtonSize(Size);
}

void TdxBarItemControlXPPainter::GetSizeGripSize(TSize& Size) const {
  Size = PartSize(totStatus, SP_GRIPPER, 0);
  if (Size.cx <= 0) TdxBarItemControlPainter::GetSizeGripSize(Size);
}

int TdxBarItemControlXPPainter::GetSubMenuSeparatorSize() const {
  const int H = PartSize(totToolBar, TP_SEPARATORVERT, 1).cy;
  return H > 0 ? H : 6;
}

int TdxBarItemControlXPPainter::GetButtonHeightExtra() const {
  TRect C;
  if (!ContentRect(totToolBar, nullptr, TP_SPLITBUTTON, 1, {0, 0, 100, 100}, C)) return 6;
  return 100 - C.Height();
}

int TdxBarItemControlXPPainter::CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const {
  return TextWidth(DC, Caption) + 11;
}

int TdxBarItemControlXPPainter::GetProgressBarSize() const {
  const int Chunk = PartSize(totProgress, PP_CHUNK, 0).cy;
  TRect C;
  const TRect B{0, 0, 100, 100};
  const int Margins = ContentRect(totProgress, nullptr, PP_BAR, 0, B, C) ? B.Width() - C.Width() : 0;
  return Chunk > 0 ? Chunk + Margins : TdxBarItemControlPainter::GetProgressBarSize();
}

int TdxBarItemControlXPPainter::GetDropDownNCHeight() const {
  return std::max(GetThemedSmallCloseButtonSize().cy + 4, GetThemedSizeGripSize().cy + 1);
}

unsigned TdxBarItemControlXPPainter::GetEditWindowStyle() const { return Flat()->GetEditWindowStyle(); }
void TdxBarItemControlXPPainter::InitEditWindow(const TdxBarItemPaint& C, HWND Edit) const {
  Flat()->InitEditWindow(C, Edit);
}
void TdxBarItemControlXPPainter::SelectEditText(const TdxBarItemPaint& C, HWND Edit, bool Changed) const {
  Flat()->SelectEditText(C, Edit, Changed);
}
void TdxBarItemControlXPPainter::GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R,
                                                     int& TopBound, int& BottomBound) const {
  Flat()->GetSubMenuItemsRect(W, Unlimited, R, TopBound, BottomBound);
}
void TdxBarItemControlXPPainter::CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight,
                                                 TSize& Size) const {
  Flat()->CalcSubMenuSize(W, RowsWidth, RowsHeight, Size);
}
TRect TdxBarItemControlXPPainter::GetBarMarkRect(const TdxBarPaintWindow& W) const { return Flat()->GetBarMarkRect(W); }
int TdxBarItemControlXPPainter::CalcFloatingCaptionTextLeft(const TdxBarPaintWindow& W) const {
  return Flat()->CalcFloatingCaptionTextLeft(W);
}

// -- colours and brushes ------------------------------------------------------

HBRUSH TdxBarItemControlXPPainter::GetBarBrush() const { return ThemedToolbarBrush(); }
HBRUSH TdxBarItemControlXPPainter::GetToolbarBrush() const { return ThemedToolbarBrush(); }
HBRUSH TdxBarItemControlXPPainter::GetSubMenuBrush() const { return GetSysColorBrush(COLOR_MENU); }
void TdxBarItemControlXPPainter::GetSubMenuItemBrush(const TdxBarPaintWindow&, HBRUSH& Brush) const {
  Brush = GetSysColorBrush(COLOR_MENU);
}

HBRUSH TdxBarItemControlXPPainter::GetButtonBrush(const TdxBarItemPaint& C, bool, bool Down, bool Selected,
                                                  bool NoImage) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (Selected && W.PaintType() == ptMenu && NoImage && !Down) return W.HotBrush();
  return W.CurrentBrush();
}

TColor TdxBarItemControlXPPainter::GetFadedImageColor(const TdxBarPaintSettings&) const {
  return MixColors(ThemedToolbarFillColor(), clBtnShadow, 70);
}

TColor TdxBarItemControlXPPainter::GetProgressColor() const {
  TColor C = TdxBarItemControlPainter::GetProgressColor();
  ThemeColor(totProgress, PP_CHUNK, 0, TMT_FILLCOLOR, C);
  return C;
}

void TdxBarItemControlXPPainter::FillFloatingCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH, bool,
                                                     const TRect& R) const {
  FillRect(DC, &R, GetSysColorBrush(W.FormActive() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

// -- items ----------------------------------------------------------------------

void TdxBarItemControlXPPainter::DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                 bool Selected, bool NoImage, const TRect& R, bool,
                                                 HBRUSH Brush) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  if (!Menu || !(Selected || C.NotRecent) || !NoImage || Down) {
    W.PaintBackground(DC, R, W.CurrentBrush());
    if (W.IsMainMenu() && !Menu && (Pressed || Selected || Down)) {
      // The classic menu-bar highlight of an open or hot main-menu entry.
      FillRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
      return;
    }
    int State = TS_NORMAL;
    if (!C.Enabled)
      State = TS_DISABLED;
    else if (Pressed)
      State = TS_PRESSED;
    else if (Down)
      State = TS_CHECKED;
    else if (Selected)
      State = TS_HOT;
    Part(totToolBar, DC, C.HasDropDownPart ? TP_SPLITBUTTON : TP_BUTTON, State, R);
    return;
  }
  FillRect(DC, &R, Brush);
}

void TdxBarItemControlXPPainter::DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                bool Selected, bool BorderFits, HBRUSH Brush, TRect R,
                                                const TRect& GlyphRect) const {
  if (BorderFits) R = Deflated(R, 1, 1);
  const TdxBarPaintSettings& S = C.Window->Settings();
  DrawItemGlyph(DC, Brush, R, GlyphRect, C.Glyph, C.Images, C.ImageIndex, C.Enabled, false, true, Selected, Down,
                Pressed, false, true, GetFadedImageColor(S), S.ImageListBkColor);
}

void TdxBarItemControlXPPainter::DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int Scale) const {
  Flat()->DrawCheckMark(C, DC, X, Y, Scale);
}

void TdxBarItemControlXPPainter::DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph,
                                              bool Selected, const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect Square{R.Left, R.Top, R.Left + R.Height(), R.Bottom};
  const bool ImageShown = ShowGlyph && C.HasImage();
  DrawControlGlyph(C, DC, false, Down, Selected, ImageShown, Square);
  const bool Fill = Selected || C.NotRecent;
  const TRect Strip{Square.Right, R.Top, Square.Right + 1, R.Bottom};
  DrawBackground(C, DC, Fill, Selected && !Down && !ImageShown ? W.HotBrush() : W.CurrentBrush(), Strip);
  TRect Text{Strip.Right, R.Top, R.Right, R.Bottom};
  DrawBackground(C, DC, Fill, Selected ? W.HotBrush() : W.CurrentBrush(), Text);
  Text.Left += 2;
  DrawItemText(C, DC, C.Enabled, Selected, false, false, false, DT_LEFT, Text, C.Caption);
}

void TdxBarItemControlXPPainter::DrawLoweredBorder(HDC DC, TRect& R) const {
  TdxBarItemControlStandardPainter::Instance()->DrawLoweredBorder(DC, R);
}

void TdxBarItemControlXPPainter::DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool, bool DropDownEnabled,
                                                     bool Dropped, bool Pressed, bool Selected, int, HBRUSH Brush,
                                                     const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  DrawBackground(C, DC, C.NotRecent, Brush, R);
  const bool Enabled = C.Enabled && DropDownEnabled;
  int State = TS_DISABLED;
  if (Enabled) State = Pressed || Dropped ? TS_PRESSED : Selected ? TS_HOT : TS_NORMAL;
  if (W.PaintType() == ptMenu) {
    Part(totToolBar, DC, TP_BUTTON, State, R);
    DrawSizedArrow(DC, R, false, W.ArrowSize(), Dropped, Enabled);
  } else {
    Part(totToolBar, DC, TP_SPLITBUTTONDROPDOWN, State, R);
  }
}

void TdxBarItemControlXPPainter::OffsetButtonCaption(const TdxBarItemPaint&, bool Down, bool Pressed,
                                                     TRect& R) const {
  if (Pressed || Down) OffsetRect(&R, 1, 1);
}

void TdxBarItemControlXPPainter::OffsetPressedRect(bool Pressed, TRect& R) const {
  if (Pressed) OffsetRect(&R, 1, 1);
}

void TdxBarItemControlXPPainter::DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool,
                                                 const TRect& R) const {
  const TRect B{R.Right - CalcComboButtonWidth(*C.Window, DC, 7), R.Top, R.Right, R.Bottom};
  C.ComboButtonRect = B;
  const int State = !C.Enabled ? 4 : (C.ButtonPressed || C.DroppedDown) ? 3 : Selected ? 2 : 1;
  Part(totComboBox, DC, CP_DROPDOWNBUTTON, State, B);
}

void TdxBarItemControlXPPainter::DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const int State = EditThemeState(C);
  TRect Content;
  if (!ContentRect(totEdit, DC, EP_EDITTEXT, State, R, Content)) Content = Deflated(R, 1, 1);
  {
    TSaveDcGuard Clip(DC);
    ExcludeClipRect(DC, Content.Left, Content.Top, Content.Right, Content.Bottom);
    if (Selected || !C.Enabled || W.PaintType() == ptMenu)
      Part(totEdit, DC, EP_EDITTEXT, State, R);
    else
      DrawBackground(C, DC, C.NotRecent, W.CurrentBrush(), R);
  }
  R = Content;
}

void TdxBarItemControlXPPainter::DrawEditValue(const TdxBarItemPaint& C, HDC DC, const AnsiString& Text,
                                               const TRect& R) const {
  const int State = EditThemeState(C);
  TColor Fill = clWindow, TextColor = State == 4 ? clGrayText : clWindowText;
  if (State == 4) ThemeColor(totEdit, EP_EDITTEXT, State, TMT_FILLCOLOR, Fill);
  ThemeColor(totEdit, EP_EDITTEXT, State, TMT_TEXTCOLOR, TextColor);
  TSaveDcGuard Saved(DC);
  SetTextColor(DC, ColorToRGB(TextColor));
  SetBkColor(DC, ColorToRGB(Fill));
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  if (HFONT F = C.Window->Font()) SelectObject(DC, F);
  TUniqueGdiObject<HBRUSH> Back(CreateSolidBrush(ColorToRGB(Fill)));
  DrawEditText(DC, Back.Get(), Text, R);
}

void TdxBarItemControlXPPainter::DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot,
                                                int Direction, int, int, const TRect& R) const {
  DrawBackground(C, DC, false, C.Window->CurrentBrush(), R);
  const int State = !C.Enabled ? 4 : Pressed ? 3 : Hot ? 2 : 1;
  Part(totSpin, DC, Direction == 1 ? SPNP_UP : SPNP_DOWN, State, R);
}

void TdxBarItemControlXPPainter::DrawProgressBar(const TdxBarItemPaint& C, HDC DC, int Min, int Max, int Position,
                                                 bool Solid, TColor Color, const TRect& R) const {
  if (R.IsEmpty()) return;
  const bool Vertical = C.Window->PaintType() == ptVert;
  const int BarPart = Vertical ? PP_BARVERT : PP_BAR, ChunkPart = Vertical ? PP_CHUNKVERT : PP_CHUNK;
  if (HTHEME T = GetThemeHandle(totProgress))
    if (IsThemeBackgroundPartiallyTransparent(T, BarPart, 0)) C.Window->PaintBackground(DC, R, nullptr);
  Part(totProgress, DC, BarPart, 0, R);
  TRect Content;
  if (!ContentRect(totProgress, DC, BarPart, 0, R, Content)) Content = R;
  const int Length = Vertical ? Content.Height() : Content.Width();
  // An empty or reversed range shows the empty bar (no division by zero).
  int Filled = 0;
  if (Max > Min) Filled = MulDiv(Length, std::clamp(Position, Min, Max) - Min, Max - Min);
  if (Filled <= 0) return;
  if (Vertical)
    Content.Bottom = Content.Top + Filled;
  else
    Content.Right = Content.Left + Filled;
  if (Solid)
    dxFillRectColor(DC, Content, Color);
  else
    Part(totProgress, DC, ChunkPart, 0, Content);
}

void TdxBarItemControlXPPainter::DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const {
  dxFillRectSys(DC, R, COLOR_WINDOW);
  Part(totToolBar, DC, TP_BUTTON, Pressed ? TS_PRESSED : TS_HOT, R);
  if (Pressed) OffsetRect(&R, 1, 1);
  TSaveDcGuard Saved(DC);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(clBtnText));
  std::string Copy = Caption;
  DrawTextA(DC, Copy.data(), int(Copy.size()), &R, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TdxBarItemControlXPPainter::DrawColorComboCustomButton(const TdxBarItemPaint& C, HDC DC, bool Pressed,
                                                            bool Selected, TRect& Inner, const TRect& R) const {
  DrawBackgroundFrame(C, DC, false, C.Window->CurrentBrush(), R);
  Inner = Deflated(R, 1, 1);
  C.Window->PaintBackground(DC, Inner, C.Window->CurrentBrush());
  Part(totToolBar, DC, TP_BUTTON, !C.Enabled ? TS_DISABLED : Pressed ? TS_PRESSED : Selected ? TS_HOT : TS_NORMAL,
       Inner);
  TRect In = Inner;
  OffsetPressedRect(Pressed, In);
  const int W = In.Width() / 7;
  if (W <= 0) return;
  for (int i = 0; i < 3; ++i) {
    const TRect Dot{In.Left + (2 * i + 1) * W, In.Bottom - 3 * W, In.Left + (2 * i + 2) * W, In.Bottom - 2 * W};
    if (C.Enabled)
      dxFillRectSys(DC, Dot, COLOR_BTNTEXT);
    else
      DrawDisabledDot(DC, Dot);
  }
}

void TdxBarItemControlXPPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  Flat()->DrawDropDownListBorder(DC, R);
}

// -- bars -----------------------------------------------------------------------

void TdxBarItemControlXPPainter::DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  Flat()->DrawBarMarkSigns(W, DC, R);
}

void TdxBarItemControlXPPainter::DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical,
                                                      HBRUSH Brush, const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  Part(totToolBar, DC, Vertical ? TP_SEPARATORVERT : TP_SEPARATOR, 1, R);
}

void TdxBarItemControlXPPainter::DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  Part(totWindow, DC, WP_SMALLCLOSEBUTTON, std::clamp(W.CloseButtonState(), 0, 2) + 1, R);
}

void TdxBarItemControlXPPainter::DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                     TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  R = Deflated(R, 2, 2);
  if (!W.ShowGrip()) return;
  const int O = GetGripOffset(), GW = GetGripBarWidth();
  if (!VerticalBar(W))
    Part(totRebar, DC, RP_GRIPPER, 1, {R.Left + O, R.Top, R.Left + O + GW, R.Bottom});
  else
    Part(totRebar, DC, RP_GRIPPERVERT, 1, {R.Left, R.Top + O, R.Right, R.Top + O + GW});
}

namespace {

// The etched lines between a dock site's rows: a highlight line at each row's
// start and a shadow line at its end, across the row. Nothing before the
// first row of a top or left site, nothing after the last row of a top,
// bottom or right site; rows of borderless bars get none. Site coordinates
// are offset by Origin on DC.
void DrawDockRowLines(const TdxBarPaintWindow& W, HDC DC, TPoint Origin) {
  const std::vector<TdxBarPaintWindow::TDockRow> Rows = W.DockRows();
  const TdxBarDockingStyle Side = W.DockingStyle();
  const bool Horizontal = Side == dsTop || Side == dsBottom;
  for (std::size_t I = 0; I < Rows.size(); ++I) {
    if (Rows[I].BorderNone) continue;
    TRect R = Rows[I].R;
    OffsetRect(&R, Origin.X, Origin.Y);
    const bool First = I == 0, Last = I + 1 == Rows.size();
    if (!(First && (Side == dsTop || Side == dsLeft))) {
      if (Horizontal) dxLine(DC, R.Left, R.Top, R.Right, R.Top, clBtnHighlight);
      else dxLine(DC, R.Left, R.Top, R.Left, R.Bottom, clBtnHighlight);
    }
    if (!(Last && Side != dsLeft)) {
      if (Horizontal) dxLine(DC, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1, clBtnShadow);
      else dxLine(DC, R.Right - 1, R.Top, R.Right - 1, R.Bottom, clBtnShadow);
    }
  }
}

}  // namespace

void TdxBarItemControlXPPainter::DrawDockControlBackground(const TdxBarPaintWindow& W, HDC DC, TColor, HBRUSH,
                                                           const TRect& R, TPoint) const {
  TRect Site = W.ClientRect();
  if (Site.IsEmpty()) Site = R;
  TBitmap* Cache = W.BackgroundCache();
  if (!Cache) {
    TSaveDcGuard Clip(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    Part(totRebar, DC, 0, 1, Site);
    DrawDockRowLines(W, DC, {Site.Left, Site.Top});
    return;
  }
  if (Cache->Empty()) {
    Cache->SetSize(Site.Width(), Site.Height());
    Part(totRebar, Cache->Canvas()->GetHandle(), 0, 1, {0, 0, Site.Width(), Site.Height()});
    DrawDockRowLines(W, Cache->Canvas()->GetHandle(), {0, 0});
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), Cache->Canvas()->GetHandle(), R.Left - Site.Left, R.Top - Site.Top,
         SRCCOPY);
}

void TdxBarItemControlXPPainter::DrawStatusBarBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH, TColor,
                                                         const TRect& R) const {
  const TRect Bar = W.WindowRect();
  TBitmap* Cache = W.BackgroundCache();
  if (!Cache) {
    TSaveDcGuard Clip(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    Part(totStatus, DC, 0, 0, Bar.IsEmpty() ? R : Bar);
    return;
  }
  if (Cache->Empty()) {
    Cache->SetSize(Bar.Width(), Bar.Height());
    Part(totStatus, Cache->Canvas()->GetHandle(), 0, 0, {0, 0, Bar.Width(), Bar.Height()});
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), Cache->Canvas()->GetHandle(), R.Left, R.Top, SRCCOPY);
}

void TdxBarItemControlXPPainter::DrawSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                              const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  Part(totStatus, DC, SP_GRIPPER, 0, R);
}

void TdxBarItemControlXPPainter::DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                       const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  TRect M = R;
  if (W.BorderNone()) M = VerticalBar(W) ? Deflated(M, 2, 0) : Deflated(M, 0, 2);
  Part(totToolBar, DC, TP_BUTTON, std::clamp(W.MarkState(), 0, 2) + 1, M);
}

void TdxBarItemControlXPPainter::DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled,
                                               const TRect& R, HDC DC, bool Hot, bool Pressed) const {
  W.PaintBackground(DC, R, W.CurrentBrush());
  const int PartId = Button == mdibMinimize  ? WP_MDIMINBUTTON
                     : Button == mdibRestore ? WP_MDIRESTOREBUTTON
                                             : WP_MDICLOSEBUTTON;
  const int State = !Enabled ? 4 : Hot && Pressed ? 3 : Hot ? 2 : 1;
  Part(totWindow, DC, PartId, State, R);
}

// -- menus ---------------------------------------------------------------------

void TdxBarItemControlXPPainter::DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool,
                                                      const TRect& R, HDC DC) const {
  const TRect S{R.Left, R.Top - GetSubMenuSeparatorSize(), R.Right, R.Top};
  C.SeparatorRect = S;
  DrawBackground(C, DC, C.NotRecent && !C.BlockStart, W.CurrentBrush(), S);
  Part(totToolBar, DC, TP_SEPARATORVERT, 1, S);
}

void TdxBarItemControlXPPainter::DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const {
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!W.DetachBar()) return;
  TRect Ring = Deflated(R, 1, 1);
  Ring.Bottom = Ring.Top + GetSubMenuDetachBarHeight(W) + 1;
  FrameRect(DC, &Ring, GetSubMenuBrush());
  TdxBarItemControlPainter::DrawSubMenuDetachBar(W, DC, Deflated(Ring, 1, 1));
}

void TdxBarItemControlXPPainter::DrawSubMenuClientBorder(const TdxBarPaintWindow&, HDC DC, HBRUSH, TRect R) const {
  FrameRect(DC, &R, GetSubMenuBrush());
}
