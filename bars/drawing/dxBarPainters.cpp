// dxBarPainters.cpp — the base painter's drawing and the Standard and
// Enhanced styles.
#include "bars/drawing/dxBarPainters.h"

#include <algorithm>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/drawing/dxBarDropDown.h"
#include "controls/base/cxControlHelpers.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/MulDiv.h"
#include "platform/win/EditControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {

// The clip-region save of one drawing step, put back when the step ends.
class TClipSaver {
public:
  explicit TClipSaver(HDC DC) : FDc(DC) { PushClipRegion(DC, FRegion, FExisted); }
  ~TClipSaver() { PopClipRegion(FDc, FRegion, FExisted); }
  TClipSaver(const TClipSaver&) = delete;
  TClipSaver& operator=(const TClipSaver&) = delete;

private:
  HDC FDc;
  HRGN FRegion = nullptr;
  bool FExisted = false;
};

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

int TextWidth(HDC DC, const AnsiString& S) {
  TSize Size;
  GetTextExtentPoint32A(DC, S.c_str(), int(S.size()), &Size);
  return Size.cx;
}

int TextHeight(HDC DC, const AnsiString& S) {
  TSize Size;
  GetTextExtentPoint32A(DC, S.empty() ? "0" : S.c_str(), S.empty() ? 1 : int(S.size()), &Size);
  return Size.cy;
}

void DrawTextIn(HDC DC, const AnsiString& S, TRect R, UINT Flags) {
  std::string Copy = S;
  DrawTextA(DC, Copy.data(), int(Copy.size()), &R, Flags);
}

const TdxBarPaintSettings& DefaultSettings() {
  static const TdxBarPaintSettings S;
  return S;
}

// Selects the window's bar font for a scope when it has one.
class TFontScope {
public:
  TFontScope(HDC DC, HFONT Font) : FGuard(DC, Font) {}

private:
  TSelectObjectGuard FGuard;
};

}  // namespace

// -- TdxBarPaintWindow defaults ---------------------------------------------

HBRUSH TdxBarPaintWindow::CurrentBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }
HBRUSH TdxBarPaintWindow::HotBrush() const { return GetSysColorBrush(COLOR_HIGHLIGHT); }
HBRUSH TdxBarPaintWindow::PressedBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }
void TdxBarPaintWindow::PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
  FillRect(DC, &R, Fallback ? Fallback : CurrentBrush());
}
const TdxBarPaintSettings& TdxBarPaintWindow::Settings() const { return DefaultSettings(); }

bool TdxBarItemPaint::HasImage() const {
  return (Glyph && !Glyph->Empty()) || (Images && ImageIndex >= 0 && ImageIndex < Images->Count());
}

// -- the painter instances --------------------------------------------------

TdxBarItemControlPainterClass TdxBarItemControlPainter::Instance() {
  static const TdxBarItemControlPainter P;
  return &P;
}
TdxBarItemControlPainterClass TdxBarItemControlStandardPainter::Instance() {
  static const TdxBarItemControlStandardPainter P;
  return &P;
}
TdxBarItemControlPainterClass TdxBarItemControlEnhancedPainter::Instance() {
  static const TdxBarItemControlEnhancedPainter P;
  return &P;
}

TdxBarItemControlPainterClass dxBarPainterOfStyle(TdxBarManagerStyle Style, bool ThemesAvailable) {
  switch (Style) {
    case bmsStandard:
      return TdxBarItemControlStandardPainter::Instance();
    case bmsFlat:
      return TdxBarItemControlFlatPainter::Instance();
    case bmsOffice11:
      return TdxBarItemControlOffice11Painter::Instance();
    case bmsXP:
      return ThemesAvailable ? TdxBarItemControlXPPainter::Instance() : TdxBarItemControlEnhancedPainter::Instance();
    default:
      return TdxBarItemControlEnhancedPainter::Instance();
  }
}

// -- menu rows and split buttons of the flat styles -------------------------

TdxBarItemControlPainter::TMenuRowLayout TdxBarItemControlPainter::MenuRowLayout(const TRect& R) {
  TMenuRowLayout L;
  const TRect In = Deflated(R, 1, 1);
  L.Square = {In.Left, In.Top, In.Left + In.Height(), In.Bottom};
  L.Strip = {L.Square.Right, In.Top, L.Square.Right + 2, In.Bottom};
  L.Text = {L.Strip.Right, In.Top, In.Right, In.Bottom};
  L.Split = R.Left + R.Height() + 1;
  return L;
}

void TdxBarItemControlPainter::DrawMenuRowRing(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Fill,
                                               HBRUSH ColumnBrush, HBRUSH RestBrush) const {
  HRGN Saved;
  bool Existed;
  PushClipRegion(DC, Saved, Existed);
  ExcludeClipRect(DC, R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  const int Split = MenuRowLayout(R).Split;
  DrawBackground(C, DC, Fill, ColumnBrush, {R.Left, R.Top, Split, R.Bottom});
  DrawBackground(C, DC, Fill, RestBrush, {Split, R.Top, R.Right, R.Bottom});
  PopClipRegion(DC, Saved, Existed);
}

void TdxBarItemControlPainter::DrawMenuRowContent(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph,
                                                  bool Selected, const TRect& R, bool Fill, HBRUSH StripBrush,
                                                  HBRUSH TextBrush) const {
  const TMenuRowLayout L = MenuRowLayout(R);
  DrawControlGlyph(C, DC, false, Down, Selected, ShowGlyph && C.HasImage(), L.Square);
  DrawBackground(C, DC, Fill, StripBrush, L.Strip);
  TRect Text = L.Text;
  DrawBackground(C, DC, Fill, TextBrush, Text);
  Text.Left += 8;
  DrawItemText(C, DC, C.Enabled, Selected && !IsBtnFaceWhite(), false, false, false, DT_LEFT, Text, C.Caption);
}

TRect TdxBarItemControlPainter::ArrowPartFrameRect(const TdxBarPaintWindow& W, const TRect& Part) {
  TRect R = Part;
  if (W.PaintType() != ptMenu) R.Left -= 1;
  return R;
}

void TdxBarItemControlPainter::DrawArrowPartArrow(const TdxBarItemPaint& C, HDC DC, bool DropDownEnabled,
                                                  bool Dropped, bool Selected, const TRect& Part) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Enabled = C.Enabled && DropDownEnabled;
  if (W.PaintType() == ptMenu)
    DrawSizedArrow(DC, Part, false, W.ArrowSize(), Dropped || (Selected && IsBtnFaceWhite()), Enabled);
  else
    DrawDropDownArrow(DC, Part, true, Enabled, Selected && !Dropped && IsBtnFaceWhite());
}

// -- backgrounds ------------------------------------------------------------

void TdxBarItemControlPainter::DrawBackground(const TdxBarItemPaint& C, HDC DC, bool Selected, HBRUSH Brush,
                                              const TRect& R) const {
  if (R.IsEmpty()) return;
  if (Selected)
    FillRect(DC, &R, Brush);
  else
    C.Window->PaintBackground(DC, R, Brush);
}

void TdxBarItemControlPainter::DrawBackgroundFrame(const TdxBarItemPaint& C, HDC DC, bool Selected, HBRUSH Brush,
                                                   const TRect& R) const {
  if (R.IsEmpty()) return;
  if (Selected) {
    FrameRect(DC, &R, Brush);
    return;
  }
  TClipSaver Clip(DC);
  ExcludeClipRect(DC, R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  DrawBackground(C, DC, false, Brush, R);
}

void TdxBarItemControlPainter::DrawDisabledDot(HDC DC, const TRect& R) const { dxFillRectSys(DC, R, COLOR_BTNSHADOW); }

// -- glyphs -----------------------------------------------------------------

void TdxBarItemControlPainter::DrawGlyphNoImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                bool Selected, bool BorderFits, HBRUSH Brush, TRect R) const {
  if (BorderFits) R = Deflated(R, 1, 1);
  if (!IsOwnBackground()) DrawBackground(C, DC, Pressed || Down || Selected || C.NotRecent, Brush, R);
  if (Down && C.Window->PaintType() == ptMenu) {
    const int Scale = C.Window->FontSize() < 16 ? 1 : 2;
    const int BW = 9 * Scale, BH = 7 * Scale;
    DrawCheckMark(C, DC, (R.Left + R.Right - BW) / 2, (R.Top + R.Bottom - BH) / 2, Scale);
  }
}

void TdxBarItemControlPainter::DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down, bool Selected,
                                              bool BorderFits, HBRUSH Brush, TRect R, const TRect& GlyphRect) const {
  if (BorderFits) R = Deflated(R, 1, 1);
  const TdxBarPaintWindow& W = *C.Window;
  const TdxBarPaintSettings& S = W.Settings();
  bool Copy = false;
  if (!C.NotRecent && W.HasOwnBackground()) {
    DrawBackground(C, DC, (Pressed || Down || Selected) && !KeepBarBackground(), Brush, R);
    Copy = true;
  }
  TCustomImageList* Images = C.Images;
  DrawItemGlyph(DC, Brush, R, GlyphRect, C.Glyph, Images, C.ImageIndex, C.Enabled, false, false, Selected, Down,
                Pressed, false, Copy, GetFadedImageColor(S), S.ImageListBkColor);
}

void TdxBarItemControlPainter::DrawControlGlyph(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                bool Selected, bool ShowImage, const TRect& Box) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TdxBarPaintSettings& S = W.Settings();
  TRect B = Box;
  const bool HasImage = ShowImage && C.HasImage();
  int GW = S.ImageSize, GH = S.ImageSize;
  if (HasImage) {
    if (C.Glyph && !C.Glyph->Empty()) {
      GW = C.Glyph->GetWidth();
      GH = C.Glyph->GetHeight();
    } else if (C.Images) {
      GW = C.Images->GetWidth();
      GH = C.Images->GetHeight();
    }
    if (W.PaintType() == ptMenu && S.StretchGlyphs && S.ImageSize > 0) {
      // A menu scales its glyphs with its rows: an image of the manager's
      // image size becomes the menu's glyph reference size.
      GW = MulDiv(GW, W.GlyphReferenceSize(), S.ImageSize);
      GH = MulDiv(GH, W.GlyphReferenceSize(), S.ImageSize);
    } else if (W.PaintType() != ptMenu && S.LargeIcons) {
      if (S.UseLargeImagesForLargeIcons && S.LargeImages) {
        GW = S.LargeImages->GetWidth();
        GH = S.LargeImages->GetHeight();
      } else {
        GW *= 2;
        GH *= 2;
      }
    }
  }
  TRect G{B.Left + (B.Width() - GW) / 2, B.Top + (B.Height() - GH) / 2, 0, 0};
  G.Right = G.Left + GW;
  G.Bottom = G.Top + GH;
  int Shift = 0;
  if (Down) Shift += GetDownGlyphOffset(C);
  if (Pressed) Shift += GetPressedGlyphOffset(C, Down);
  OffsetRect(&G, Shift, Shift);
  DrawGlyphAndBorder(C, DC, Pressed, Down, Selected, !HasImage, B, G);
}

void TdxBarItemControlPainter::DrawGlyphAndBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                  bool Selected, bool NoImage, const TRect& R,
                                                  const TRect& GlyphRect) const {
  const HBRUSH Brush = GetButtonBrush(C, Pressed, Down, Selected, NoImage);
  const int GW = NoImage ? C.Window->Settings().ImageSize : GlyphRect.Width();
  const int GH = NoImage ? C.Window->Settings().ImageSize : GlyphRect.Height();
  const bool Fits = R.Width() >= GW + 2 && R.Height() >= GH + 2;
  if (IsOwnBackground()) DrawGlyphBorder(C, DC, Pressed, Down, Selected, NoImage, R, Fits, Brush);
  if (NoImage)
    DrawGlyphNoImage(C, DC, Pressed, Down, Selected, Fits, Brush, R);
  else
    DrawGlyphImage(C, DC, Pressed, Down, Selected, Fits, Brush, R, GlyphRect);
  if (!IsOwnBackground()) DrawGlyphBorder(C, DC, Pressed, Down, Selected, NoImage, R, Fits, Brush);
}

TColor TdxBarItemControlPainter::GetFadedImageColor(const TdxBarPaintSettings& S) const {
  return S.MakeDisabledImagesFaded ? MixColors(clBtnShadow, clWhite, 70) : clNone;
}

// -- arrows -----------------------------------------------------------------

void TdxBarItemControlPainter::DrawDropDownArrow(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected) const {
  DrawArrowInRect(DC, R, Down, Enabled, Selected, false);
}

void TdxBarItemControlPainter::DrawSizedArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected,
                                              bool Enabled) const {
  DrawArrow(DC, R, Down, Size, Selected, Enabled, false);
}

void TdxBarItemControlPainter::DrawDownTriangle(HDC DC, int ColorIndex, int W, int Top, int Left) const {
  const TPoint P[3] = {{Left, Top}, {Left + W - 1, Top}, {Left + W / 2, Top + W / 2}};
  dxPolygon(DC, P, 3, SystemColor(ColorIndex));
}

void TdxBarItemControlPainter::GetArrowParams(const TdxBarItemPaint& C, int& ColorIndex, HBRUSH& Brush, bool, bool,
                                              bool) const {
  ColorIndex = COLOR_BTNTEXT;
  Brush = C.Window->CurrentBrush();
}

void TdxBarItemControlPainter::DrawSubMenuScrollArrow(const TdxBarPaintWindow& W, HDC DC, bool Up,
                                                      const TRect& R) const {
  const int H = W.ItemHeight(), S = H / 3 - 1, B = H / 3 - 2;
  const TRect Client = W.ClientRect();
  const int X = (Client.Width() - W.BarSize()) / 2;
  int Y;
  if (Up)
    Y = (H - S) / 2 + S - 1;
  else if (W.ExpandButtonVisible())
    Y = R.Bottom - (H - S) / 2 - S;
  else
    Y = Client.Height() - (H - S) / 2 - S;
  const TPoint P[3] = {{X - B, Y}, {X + B, Y}, {X, Up ? Y - B : Y + B}};
  dxPolygon(DC, P, 3, clBtnText);
  TPoint Q[3];
  if (Up)
    Q[0] = {X - B - 1, Y + 1}, Q[1] = {X + B + 2, Y + 1}, Q[2] = {X, Y - B - 1};
  else
    Q[0] = P[0], Q[1] = {X + B + 1, Y}, Q[2] = {X, Y + B + 1};
  TUniqueGdiObject<HRGN> Rgn(CreatePolygonRgn(Q, 3, WINDING));
  ExtSelectClipRgn(DC, Rgn.Get(), RGN_DIFF);
}

void TdxBarItemControlPainter::DrawSubMenuExpandArrows(const TdxBarPaintWindow& W, HDC DC, bool Selected,
                                                       const TRect& R) const {
  const int BH = W.ExpandButtonHeight();
  const int N = CalcExpandArrowSize(BH);
  if (N <= 0) return;
  const int X0 = (R.Left + R.Right - N - 1) / 2, Y0 = R.Top + (BH - 2 * N) / 2;
  const TColor Pen = Selected && IsBtnFaceWhite() ? clBtnFace : clBtnText;
  for (int i = 0; i < N; ++i) {
    const int Y = i < N / 2 ? Y0 + i : Y0 + i + N / 2;
    const TPoint P[3] = {{X0, Y}, {X0 + N / 2, Y + N / 2}, {X0 + N + 1, Y - 1}};
    dxPolyline(DC, P, 3, Pen);
  }
}

void TdxBarItemControlPainter::DrawFloatingBarMarkArrow(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  const int X = (R.Left + R.Right - 7) / 2, Y = (R.Top + R.Bottom - 4) / 2;
  const TPoint P[3] = {{X, Y}, {X + 6, Y}, {X + 3, Y + 3}};
  dxPolygon(DC, P, 3, GetBarCaptionMarkColor(W, W.MarkState()));
}

void TdxBarItemControlPainter::DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  if (!W.HasHiddenItems()) return;
  if (W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom || W.DockingStyle() == dsNone) {
    DrawBarMarkChevron(W, DC, R, R.Left + 2);
    DrawBarMarkChevron(W, DC, R, R.Left + 6);
  } else {
    DrawBarMarkChevron(W, DC, R, R.Bottom - 9);
    DrawBarMarkChevron(W, DC, R, R.Bottom - 5);
  }
}

// -- text -------------------------------------------------------------------

void TdxBarItemControlPainter::GetTextColors(const TdxBarItemPaint&, bool Enabled, bool Selected, bool KeepColor,
                                             TColor& OffsetColor, TColor& MainColor) const {
  if (Enabled) {
    MainColor = Selected && !KeepColor ? clHighlightText : clBtnText;
    OffsetColor = MainColor;
  } else if (Selected || KeepColor) {
    MainColor = OffsetColor = clGrayText;
  } else {
    OffsetColor = clBtnHighlight;
    MainColor = clBtnShadow;
  }
}

void TdxBarItemControlPainter::DrawItemText(const TdxBarItemPaint& C, HDC DC, bool Enabled, bool Selected,
                                            bool KeepColor, bool Rotated, bool Clip, int Alignment, const TRect& R,
                                            const AnsiString& Caption) const {
  TColor Offset, Main;
  GetTextColors(C, Enabled, Selected, KeepSelectedTextColor() || KeepColor, Offset, Main);
  const int OldMode = SetBkMode(DC, TRANSPARENT);
  const COLORREF OldColor = GetTextColor(DC);
  TClipSaver Saver(DC);
  if (!Rotated) {
    const UINT Flags = DT_SINGLELINE | DT_VCENTER | UINT(Alignment) | (Clip ? 0 : DT_NOCLIP);
    if (Offset != Main) {
      SetTextColor(DC, ColorToRGB(Offset));
      TRect O = R;
      OffsetRect(&O, 1, 1);
      DrawTextIn(DC, Caption, O, Flags);
    }
    SetTextColor(DC, ColorToRGB(Main));
    DrawTextIn(DC, Caption, R, Flags);
  } else {
    if (Clip) IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    // The hot key is the last single ampersand; "&&" is a literal one.
    AnsiString Text;
    int HotKey = -1;
    for (size_t i = 0; i < Caption.size(); ++i) {
      if (Caption[i] == '&') {
        if (i + 1 < Caption.size() && Caption[i + 1] == '&') {
          Text += '&';
          ++i;
          continue;
        }
        if (i + 1 < Caption.size()) HotKey = int(Text.size());
        continue;
      }
      Text += Caption[i];
    }
    const int TW = TextWidth(DC, Text), TH = TextHeight(DC, Text);
    int Along = 0;
    if (Alignment == DT_CENTER)
      Along = (R.Height() - TW) / 2;
    else if (Alignment == DT_RIGHT)
      Along = R.Height() - TW;
    const int X = R.Left + (R.Width() + TH) / 2, Y = R.Top + Along;
    auto Draw = [&](int DX, TColor Color) {
      SetTextColor(DC, ColorToRGB(Color));
      TextOutA(DC, X + DX, Y + DX, Text.c_str(), int(Text.size()));
      if (HotKey >= 0 && HotKey < int(Text.size())) {
        const int From = TextWidth(DC, Text.substr(0, HotKey));
        const int To = TextWidth(DC, Text.substr(0, HotKey + 1));
        // The rotated text runs downwards with its baseline on the left.
        dxLine(DC, X + DX - TH + 1, Y + DX + From, X + DX - TH + 1, Y + DX + To, Color);
      }
    };
    if (Offset != Main) Draw(1, Offset);
    Draw(0, Main);
  }
  SetTextColor(DC, OldColor);
  SetBkMode(DC, OldMode == TRANSPARENT ? OPAQUE : OldMode);
}

void TdxBarItemControlPainter::DrawPushButtonText(HDC DC, const AnsiString& Caption, bool Pressed,
                                                  const TRect& R) const {
  TRect T = R;
  if (Pressed) OffsetRect(&T, 1, 1);
  TClipSaver Clip(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  SetTextColor(DC, ColorToRGB(clBtnText));
  SetBkColor(DC, ColorToRGB(clBtnFace));
  SetBkMode(DC, OPAQUE);
  DrawTextIn(DC, Caption, T, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TdxBarItemControlPainter::GetEditColors(const TdxBarItemPaint& C, TColor& TextColor, TColor& BackColor) const {
  if (C.Enabled) {
    TextColor = clWindowText;
    BackColor = clWindow;
  } else {
    TextColor = clGrayText;
    LOGBRUSH LB{};
    GetObjectA(C.Window->CurrentBrush(), sizeof(LB), &LB);
    BackColor = TColor(LB.lbColor);
  }
}

// -- borders ----------------------------------------------------------------

void TdxBarItemControlPainter::DrawStaticBorder(HDC DC, TdxBarStaticBorderStyle Style, int Width, TRect& R) const {
  switch (Style) {
    case sbsLowered:
      dxDrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      R = Deflated(R, Width, Width);
      break;
    case sbsRaised:
      dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
      R = Deflated(R, Width, Width);
      break;
    case sbsEtched:
      dxDrawEdge(DC, R, EDGE_ETCHED, BF_RECT);
      R = Deflated(R, Width, Width);
      break;
    case sbsBump:
      dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
      R = Deflated(R, 1, 1);
      dxDrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      R = Deflated(R, 1, 1);
      break;
    case sbsNone:
      break;
  }
}

// -- metrics ----------------------------------------------------------------

int TdxBarItemControlPainter::GetFloatingBorderWidth() const { return GetSystemMetrics(SM_CXFRAME); }
int TdxBarItemControlPainter::GetFloatingBorderHeight() const { return GetSystemMetrics(SM_CYFRAME); }
int TdxBarItemControlPainter::GetSmallCaptionHeight() const { return GetSystemMetrics(SM_CYSMCAPTION); }
void TdxBarItemControlPainter::GetSizeGripSize(TSize& Size) const {
  Size.cx = GetSystemMetrics(SM_CXHSCROLL);
  Size.cy = GetSystemMetrics(SM_CYHSCROLL);
}

int TdxBarItemControlPainter::GetButtonArrowWidth(const TdxBarPaintSettings& S) const {
  int W = S.ButtonArrowWidth;
  if (S.LargeIcons) W *= 2;
  if (W % 2 == 0) ++W;
  return W;
}

HBRUSH TdxBarItemControlPainter::GetBarBackgroundBrush(const TdxBarPaintSettings& S) const {
  return S.BarBrush ? S.BarBrush : GetSysColorBrush(COLOR_BTNFACE);
}
HBRUSH TdxBarItemControlPainter::GetBarBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }
HBRUSH TdxBarItemControlPainter::GetCheckedBrush() const { return CheckeredBrush(); }
HBRUSH TdxBarItemControlPainter::GetPressedBrush() const { return GetSysColorBrush(COLOR_BTNFACE); }
HBRUSH TdxBarItemControlPainter::GetHotBrush() const { return GetSysColorBrush(COLOR_HIGHLIGHT); }
HBRUSH TdxBarItemControlPainter::GetSubMenuBrush() const {
  // FillRect takes a system colour index + 1 in place of a brush.
  return reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
}
HBRUSH TdxBarItemControlPainter::GetInPlaceSubItemBrush() const { return GetSysColorBrush(COLOR_BTNSHADOW); }

unsigned TdxBarItemControlPainter::GetEditWindowStyle() const { return ES_AUTOHSCROLL; }

void TdxBarItemControlPainter::SelectEditText(const TdxBarItemPaint&, HWND Edit, bool) const {
  if (Edit) SendMessageA(Edit, EM_SETSEL, 0, -1);
}

// -- bar backgrounds --------------------------------------------------------

void TdxBarItemControlPainter::DrawDockControlBackground(const TdxBarPaintWindow&, HDC DC, TColor Color, HBRUSH Brush,
                                                         const TRect& R, TPoint) const {
  FillBarBackground(DC, R, R, Brush, Color, nullptr);
}

void TdxBarItemControlPainter::DrawDockedBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  W.PaintDockBackground(DC, R, GetBarBackgroundBrush(W.Settings()));
}

void TdxBarItemControlPainter::DrawBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  FillBarBackground(DC, R, R, GetBarBackgroundBrush(W.Settings()), clBtnFace, nullptr);
}

void TdxBarItemControlPainter::DrawSubMenuBitmapBackground(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  W.PaintBackground(DC, R, GetBarBrush());
}

void TdxBarItemControlPainter::DrawQuickControlBorder(const TdxBarPaintWindow& W, HDC DC, const TRect& Outer,
                                                      const TRect& Inner) const {
  if (Outer == Inner || Outer.IsEmpty()) return;
  TClipSaver Clip(DC);
  ExcludeClipRect(DC, Inner.Left, Inner.Top, Inner.Right, Inner.Bottom);
  FillRect(DC, &Outer, GetBarBackgroundBrush(W.Settings()));
}

void TdxBarItemControlPainter::DrawStatusBarBackground(const TdxBarPaintWindow&, HDC DC, HBRUSH Brush, TColor Color,
                                                       const TRect& R) const {
  FillBarBackground(DC, R, R, Brush, Color, nullptr);
}

void TdxBarItemControlPainter::DrawStatusBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                   const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
}

void TdxBarItemControlPainter::DrawSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  DrawTransparentSizeGrip(DC, R);
}

void TdxBarItemControlPainter::DrawBarSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, const TRect& R) const {
  TSize S;
  GetSizeGripSize(S);
  const TRect Cell{R.Right - S.cx, R.Bottom - S.cy, R.Right, R.Bottom};
  {
    TClipSaver Clip(DC);
    ExcludeClipRect(DC, Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
    W.PaintBackground(DC, R, Brush);
  }
  DrawSizeGrip(W, DC, Brush, Cell);
}

void TdxBarItemControlPainter::DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical, HBRUSH Brush,
                                                    const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
  const int O = GetToolbarSeparatorOffset();
  if (Vertical)
    dxDrawEdge(DC, {R.Left, R.Top + O, R.Right, R.Top + O + 2}, EDGE_ETCHED, BF_TOP);
  else
    dxDrawEdge(DC, {R.Left + O, R.Top, R.Left + O + 2, R.Bottom}, EDGE_ETCHED, BF_LEFT);
}

// -- floating bars ----------------------------------------------------------

void TdxBarItemControlPainter::FillFloatingCaption(const TdxBarPaintWindow&, HDC DC, HBRUSH Brush, bool,
                                                   const TRect& R) const {
  FillRect(DC, &R, Brush);
}

void TdxBarItemControlPainter::DrawCloseButtonBackground(const TdxBarPaintWindow& W, HDC DC, int State,
                                                         const TRect& R) const {
  if (State == 0) {
    dxFillRectColor(DC, R, GetBarCaptionColor(W, true));
    return;
  }
  DrawHighlightFrame(DC, R);
  const TRect In = Deflated(R, 1, 1);
  FillRect(DC, &In, State == 1 ? W.HotBrush() : W.PressedBrush());
}

void TdxBarItemControlPainter::DrawFloatingBarCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush, bool Active,
                                                      TRect R) const {
  const TRect Below{R.Left, R.Bottom, R.Right, R.Bottom + 1};
  FillRect(DC, &Below, Brush);
  const bool Filled = FloatingCaptionHasBackground();
  if (Filled) FillFloatingCaption(W, DC, Brush, Active, R);
  if (W.CanClose()) {
    const int S = GetSmallCaptionHeight();
    const TRect Close{R.Right - S, R.Top, R.Right, R.Top + S};
    R.Right -= S;
    DrawCloseButton(W, DC, Close);
  }
  TRect T = R;
  T.Left = W.ShowMark() ? CalcFloatingCaptionTextLeft(W) : R.Left + 2;
  TClipSaver Clip(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  SetTextColor(DC, ColorToRGB(GetBarCaptionTextColor(W)));
  SetBkColor(DC, ColorToRGB(GetBarCaptionColor(W, Active)));
  SetBkMode(DC, Filled ? TRANSPARENT : OPAQUE);
  DrawTextIn(DC, W.Caption(), T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (W.ShowMark()) DrawFloatingBarMark(W, DC, W.CaptionMarkRect());
}

// -- sub-items --------------------------------------------------------------

int TdxBarItemControlPainter::CalcSubItemIndent(const TdxBarPaintWindow& W) const {
  return std::abs(W.FontHeight()) / 2;
}

int TdxBarItemControlPainter::CalcSubItemHeight(const TdxBarItemPaint& C) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (W.PaintType() == ptMenu) return W.ItemHeight();
  int H = 0;
  if (C.HasImage() || !C.ShowCaption) H = W.Rotated() ? W.Settings().ButtonWidth : W.Settings().ButtonHeight;
  if (C.ShowCaption) H = std::max(H, W.ItemHeight());
  return H;
}

int TdxBarItemControlPainter::CalcSubItemWidth(const TdxBarItemPaint& C, HDC DC) const {
  const TdxBarPaintWindow& W = *C.Window;
  const int CW = TextWidth(DC, StripAccelChars(C.Caption));
  if (W.PaintType() == ptMenu) return CW + 2 * W.ItemHeight() + 3;
  int Width = C.ShowCaption ? CW : 0;
  if (C.HasImage() || !C.ShowCaption) {
    Width += W.Rotated() ? W.Settings().ButtonHeight : W.Settings().ButtonWidth;
    if (C.ShowCaption) Width += 4;
  } else {
    Width += 2 * CalcSubItemIndent(W);
  }
  if (!W.IsMainMenu()) Width += W.ItemHeight() / 2;
  return Width;
}

void TdxBarItemControlPainter::DrawSubItem(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected,
                                           const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const int T = W.ItemHeight(), H = W.FontHeight();
  if (W.PaintType() == ptMenu) {
    DrawMenuItem(C, DC, false, true, Selected, R);
    TRect A = R;
    A.Left = R.Right - T + W.ArrowSize();
    DrawSizedArrow(DC, A, false, W.ArrowSize(), Selected, C.Enabled);
    return;
  }
  const bool Vertical = W.PaintType() == ptVert;
  TRect Box = R;
  const bool Cell = C.HasImage() || !C.ShowCaption;
  if (Cell) {
    if (Vertical)
      Box.Bottom = Box.Top + W.Settings().ButtonHeight;
    else
      Box.Right = Box.Left + W.Settings().ButtonWidth;
  } else {
    if (Vertical)
      Box.Bottom = Box.Top + CalcSubItemIndent(W);
    else
      Box.Right = Box.Left + CalcSubItemIndent(W);
  }
  DrawControlGlyph(C, DC, Pressed, false, Selected, Cell, Box);
  TRect Text = R;
  if (Vertical)
    Text.Top = Box.Bottom;
  else
    Text.Left = Box.Right;
  if (Pressed && !NoPressedOffset()) OffsetRect(&Text, 1, 1);
  if (C.ShowCaption)
    DrawItemText(C, DC, C.Enabled, false, KeepButtonTextColor(), Vertical && W.Rotated(), false, DT_LEFT, Text,
                 C.Caption);
  if (!W.IsMainMenu()) {
    TRect A = R;
    if (Vertical) {
      A.Top = R.Bottom + H / 2 - T / 2;
      DrawSizedArrow(DC, A, false, W.ArrowSize() - 1, false, C.Enabled);
    } else {
      A.Left = R.Right + H / 2 - T / 2;
      DrawSizedArrow(DC, A, true, W.ArrowSize() - 1, false, C.Enabled);
    }
  }
}

// -- sub-menus --------------------------------------------------------------

void TdxBarItemControlPainter::CalcSubMenuMetrics(int ItemHeight, int ZeroTextHeight, int& GlyphReferenceSize,
                                                  int& ExpandButtonHeight, int& ArrowPartWidth) const {
  GlyphReferenceSize = ItemHeight / 4 * 3 + 1;
  ExpandButtonHeight = ZeroTextHeight + 1;
  const int N = CalcExpandArrowSize(ExpandButtonHeight);
  if (N % 2 != 0) ExpandButtonHeight = 2 * (N - 1) + 6;
  ArrowPartWidth = 19;
}

void TdxBarItemControlPainter::GetSubMenuItemsRect(const TdxBarPaintWindow& W, bool Unlimited, TRect& R, int& TopBound,
                                                   int& BottomBound) const {
  const TRect Client = W.ClientRect();
  R = {W.BarSize() + 2, W.DetachBar() ? 0 : 2, Client.Width() - 2, Client.Height() - 2};
  if (Unlimited) {
    TopBound = 0;
    BottomBound = 0x7FFFFFFF;
  } else {
    TopBound = R.Top;
    BottomBound = Client.Height() - 2 - (W.ExpandButtonVisible() ? W.ItemHeight() : 0);
  }
}

void TdxBarItemControlPainter::CalcSubMenuSize(const TdxBarPaintWindow& W, int RowsWidth, int RowsHeight,
                                               TSize& Size) const {
  Size.cx = RowsWidth == 0 ? 100 : RowsWidth + W.BarSize() + 6;
  Size.cy = RowsHeight;
  if (RowsHeight < 3 || W.ExpandButtonVisible()) Size.cy += W.ItemHeight();
  Size.cy += 4;
  if (W.DetachBar()) Size.cy += GetSubMenuDetachBarHeight(W);
}

void TdxBarItemControlPainter::DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const {
  dxFillRectSys(DC, {R.Left, R.Top, R.Left + 1, R.Bottom}, COLOR_BTNFACE);
  dxFillRectSys(DC, {R.Left, R.Top, R.Right, R.Top + 1}, COLOR_BTNFACE);
  dxDrawEdge(DC, R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  if (W.DetachBar()) {
    TRect In = Deflated(R, 1, 1);
    dxDrawEdge(DC, In, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
    In = Deflated(In, 1, 1);
    FrameRect(DC, &In, GetSysColorBrush(COLOR_BTNFACE));
    In = Deflated(In, 1, 1);
    TRect Bar{In.Left, In.Top, In.Right, In.Top + GetSubMenuDetachBarHeight(W)};
    DrawSubMenuDetachBar(W, DC, Bar);
  }
}

void TdxBarItemControlPainter::DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                       TRect R) const {
  if (W.DetachBar()) R.Top -= 2;
  dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
  R = Deflated(R, 1, 1);
  FrameRect(DC, &R, Brush);
}

void TdxBarItemControlPainter::DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  dxFillRectColor(DC, R, W.DetachBarHot() ? clActiveCaption : clInactiveCaption);
}

void TdxBarItemControlPainter::DrawSubMenuSeparator(const TdxBarPaintWindow& W, TdxBarItemPaint& C, bool NoStrip,
                                                    const TRect& R, HDC DC) const {
  const int Size = GetSubMenuSeparatorSize();
  TRect S{R.Left, R.Top - Size, R.Right, R.Top};
  HBRUSH Brush;
  const bool BlockNotRecent = C.BlockStart && C.NotRecent;
  if (BlockNotRecent) {
    S.Top -= 1;
    Brush = GetBarBrush();
  } else {
    Brush = W.CurrentBrush();
    if (C.NotRecent) {
      if (NoStrip) S.Left -= 1;
      S.Right += 2;
    }
  }
  C.SeparatorRect = S;
  const bool Fill = C.NotRecent && !C.BlockStart;
  const int I = GetSubMenuSeparatorIndent();
  DrawBackground(C, DC, Fill, Brush, {S.Left, S.Top, S.Right, S.Top + 4});
  DrawBackground(C, DC, Fill, Brush, {S.Left, S.Bottom - 4, S.Right, S.Bottom});
  DrawBackground(C, DC, Fill, Brush, {S.Left, S.Top + 4, S.Left + I, S.Bottom - 4});
  DrawBackground(C, DC, Fill, Brush, {S.Right - I, S.Top + 4, S.Right, S.Bottom - 4});
  const TRect Line{S.Left + I, S.Top + 4, S.Right - I, S.Bottom - 4};
  DrawBackground(C, DC, Fill, Brush, Line);
  dxDrawEdge(DC, Line, EDGE_ETCHED, BF_TOP);
}

void TdxBarItemControlPainter::DrawSubMenuExtras(const TdxBarPaintWindow& W, HDC DC, const TRect& FirstRow,
                                                 const TRect& LastRow, bool FirstHidden, bool MoreBelow,
                                                 bool LastBlockStart, bool LastNotRecent) const {
  TdxBarItemPaint C;
  C.Window = &W;
  const HBRUSH Brush = GetSubMenuBrush();
  auto Back = [&](const TRect& R) { W.PaintBackground(DC, R, GetBarBrush()); };
  (void)Brush;
  if (FirstHidden) {
    HRGN Saved;
    bool Existed;
    PushClipRegion(DC, Saved, Existed);
    DrawSubMenuScrollArrow(W, DC, true, FirstRow);
    Back(FirstRow);
    PopClipRegion(DC, Saved, Existed);
  }
  TRect R = LastRow;
  HRGN Saved = nullptr;
  bool Existed = false;
  if (MoreBelow) {
    PushClipRegion(DC, Saved, Existed);
    DrawSubMenuScrollArrow(W, DC, false, R);
    if (LastBlockStart) {
      const TRect Line{R.Left - 1, R.Top, R.Right + 1, R.Top + 1};
      FillRect(DC, &Line, GetSysColorBrush(LastNotRecent ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
      R.Top += 1;
    }
    Back(R);
  }
  const TRect Client = W.ClientRect();
  const int Bottom = Client.Height() - GetSubMenuBottomIndent() - (W.ExpandButtonVisible() ? W.ItemHeight() : 0);
  if (Bottom > LastRow.Bottom) Back({LastRow.Left, LastRow.Bottom, LastRow.Right, Bottom});
  if (MoreBelow) PopClipRegion(DC, Saved, Existed);
  if (W.ExpandButtonVisible()) {
    const TRect Cell{LastRow.Left, Bottom, LastRow.Right, Bottom + W.ItemHeight()};
    const int BH = W.ExpandButtonHeight();
    const TRect Button{Cell.Left, Cell.Bottom - BH, Cell.Right, Cell.Bottom};
    Back({Cell.Left, Cell.Top, Cell.Right, Button.Top});
    if (W.ExpandButtonState() == 1) {
      dxDrawEdge(DC, Button, BDR_RAISEDINNER, BF_RECT);
      const TRect In = Deflated(Button, 1, 1);
      FillRect(DC, &In, W.CurrentBrush());
    } else {
      Back(Button);
    }
    DrawSubMenuExpandArrows(W, DC, false, Button);
  }
}

// -- edits and combos -------------------------------------------------------

void TdxBarItemControlPainter::DrawEditText(HDC DC, HBRUSH Brush, const AnsiString& Text, TRect R) const {
  FillRect(DC, &R, Brush);
  R = Deflated(R, 2, 0);
  AdjustEditTextRect(R);
  const int Mode = SetBkMode(DC, TRANSPARENT);
  DrawTextIn(DC, Text, R, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetBkMode(DC, Mode);
}

void TdxBarItemControlPainter::DrawComboText(HDC DC, HBRUSH Brush, const AnsiString& Text, const TRect& R) const {
  FillRect(DC, &R, Brush);
  TextOutA(DC, R.Left + 2, R.Top, Text.c_str(), int(Text.size()));
}

int TdxBarItemControlPainter::CalcEditCaptionWidth(HDC DC, const AnsiString& Caption) const {
  return TextWidth(DC, Caption) + 6;
}

void TdxBarItemControlPainter::DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const {
  const HBRUSH Current = C.Window->CurrentBrush();
  if (Selected)
    dxDrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
  else
    DrawBackgroundFrame(C, DC, C.NotRecent, Current, R);
  R = Deflated(R, 1, 1);
  const HBRUSH Inner = C.Enabled ? Current : GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  DrawBackgroundFrame(C, DC, Selected || C.NotRecent || !C.Enabled, Inner, R);
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlPainter::DrawEditCaption(const TdxBarItemPaint& C, HDC DC, bool Selected, TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const AnsiString Text = StripAccelChars(C.Caption);
  const TRect Cell{R.Left, R.Top, R.Left + TextWidth(DC, Text) + 2, R.Bottom};
  const bool Menu = W.PaintType() == ptMenu;
  const bool Fill = Menu && (Selected || C.NotRecent);
  DrawBackground(C, DC, Fill, Menu && Selected ? W.HotBrush() : W.CurrentBrush(), Cell);
  DrawItemText(C, DC, C.Enabled, Menu && Selected, false, false, false, DT_LEFT, Cell, C.Caption);
  const TRect Gap{Cell.Right, R.Top, Cell.Right + 4, R.Bottom};
  DrawBackground(C, DC, Menu && C.NotRecent, W.CurrentBrush(), Gap);
  R.Left = Gap.Right;
}

void TdxBarItemControlPainter::DrawEditValue(const TdxBarItemPaint& C, HDC DC, const AnsiString& Text,
                                             const TRect& R) const {
  TColor TC, BC;
  GetEditColors(C, TC, BC);
  TSaveDcGuard State(DC);
  SetTextColor(DC, ColorToRGB(TC));
  SetBkColor(DC, ColorToRGB(BC));
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  TFontScope Font(DC, C.Window->Font());
  TUniqueGdiObject<HBRUSH> Back(CreateSolidBrush(ColorToRGB(BC)));
  DrawEditText(DC, Back.Get(), Text, R);
}

// -- extra items ------------------------------------------------------------

void TdxBarItemControlPainter::DrawColorComboCustomButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Selected,
                                                          TRect& Inner, const TRect& R) const {
  const HBRUSH Brush = C.Window->CurrentBrush();
  DrawBackgroundFrame(C, DC, false, Brush, R);
  Inner = Deflated(R, 1, 1);
  DrawBackgroundFrame(C, DC, false, Brush, Inner);
  Inner = Deflated(Inner, 1, 1);
  DrawSmallButton(C, DC, Pressed ? 2 : (Selected ? 1 : 0), true, Inner);
  TRect In = Inner;
  OffsetPressedRect(Pressed, In);
  const int W = In.Width() / 7;
  if (W <= 0) return;
  for (int i = 0; i < 3; ++i) {
    const TRect Dot{In.Left + (2 * i + 1) * W, In.Bottom - 2 * W, In.Left + (2 * i + 2) * W, In.Bottom - W};
    if (C.Enabled)
      dxFillRectSys(DC, Dot, Selected && IsBtnFaceWhite() ? COLOR_BTNFACE : COLOR_BTNTEXT);
    else
      DrawDisabledDot(DC, Dot);
  }
}

void TdxBarItemControlPainter::DrawPushButton(HDC DC, bool Pressed, const AnsiString& Caption, TRect R) const {
  if (Pressed) {
    DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  } else {
    dxFillRectSys(DC, {R.Right - 1, R.Top, R.Right, R.Bottom}, COLOR_BTNTEXT);
    dxFillRectSys(DC, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, COLOR_BTNTEXT);
    dxFillRectSys(DC, {R.Left, R.Top, R.Left + 1, R.Bottom - 1}, COLOR_BTNFACE);
    dxFillRectSys(DC, {R.Left, R.Top, R.Right - 1, R.Top + 1}, COLOR_BTNFACE);
    dxFillRectSys(DC, {R.Right - 2, R.Top + 1, R.Right - 1, R.Bottom - 1}, COLOR_BTNSHADOW);
    dxFillRectSys(DC, {R.Left + 1, R.Bottom - 2, R.Right - 1, R.Bottom - 1}, COLOR_BTNSHADOW);
    dxFillRectSys(DC, {R.Left + 1, R.Top + 1, R.Left + 2, R.Bottom - 2}, COLOR_BTNHIGHLIGHT);
    dxFillRectSys(DC, {R.Left + 1, R.Top + 1, R.Right - 2, R.Top + 2}, COLOR_BTNHIGHLIGHT);
    dxFillRectSys(DC, {R.Right - 2, R.Top + 1, R.Right - 1, R.Top + 2}, COLOR_BTNFACE);
  }
  R = Deflated(R, 2, 2);
  DrawPushButtonText(DC, Caption, Pressed, R);
}

void TdxBarItemControlPainter::DrawSpinButton(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Hot, int Direction,
                                              int Size, int Offset, const TRect& R) const {
  DrawSmallButton(C, DC, Pressed ? 2 : (Hot ? 1 : 0), true, R);
  const int X = (R.Left + R.Right - (2 * Size - 1)) / 2 + (Pressed ? 1 : 0);
  const int Y = R.Top + Offset + (Pressed ? 1 : 0);
  auto Tri = [&](int D, TColor Color) {
    TPoint P[3];
    if (Direction == 1)
      P[0] = {X + D, Y + D + Size - 1}, P[1] = {X + D + 2 * Size - 2, Y + D + Size - 1},
      P[2] = {X + D + Size - 1, Y + D};
    else
      P[0] = {X + D, Y + D}, P[1] = {X + D + 2 * Size - 2, Y + D}, P[2] = {X + D + Size - 1, Y + D + Size - 1};
    dxPolygon(DC, P, 3, Color);
  };
  if (C.Enabled) {
    Tri(0, clBtnText);
  } else {
    Tri(1, clBtnHighlight);
    Tri(0, clBtnShadow);
  }
}

void TdxBarItemControlPainter::DrawSpinEditBorder(const TdxBarItemPaint& C, HDC DC, TRect& R) const {
  C.Window->PaintBackground(DC, {R.Left, R.Top, R.Left + 1, R.Bottom}, C.Window->CurrentBrush());
  C.Window->PaintBackground(DC, {R.Right - 1, R.Top, R.Right, R.Bottom}, C.Window->CurrentBrush());
  R.Left += 1;
  R.Right -= 1;
}

void TdxBarItemControlPainter::DrawProgressBar(const TdxBarItemPaint& C, HDC DC, int Min, int Max, int Position,
                                               bool Solid, TColor Color, const TRect& R) const {
  if (R.IsEmpty()) return;
  const bool Vertical = C.Window->PaintType() == ptVert;
  const int Length = Vertical ? R.Height() : R.Width();
  const int Start = Vertical ? R.Top : R.Left;
  // An empty range (Max not above Min) shows an empty bar rather than
  // dividing by zero; a position outside the range is held to it.
  int Filled = 0;
  if (Max > Min) Filled = MulDiv(Length, std::clamp(Position, Min, Max) - Min, Max - Min);
  const int End = Start + Filled;
  auto Part = [&](int From, int To) {
    return Vertical ? TRect{R.Left, From, R.Right, To} : TRect{From, R.Top, To, R.Bottom};
  };
  if (Solid) {
    if (Filled > 0) dxFillRectColor(DC, Part(Start, End), Color);
  } else {
    const int Across = Vertical ? R.Width() : R.Height();
    const int Block = std::max(MulDiv(Across, 2, 3), 1);
    TUniqueGdiObject<HBRUSH> B(CreateSolidBrush(ColorToRGB(Color)));
    for (int P = Start; P < End;) {
      const int BlockEnd = std::min(P + Block, End);
      const TRect Blk = Part(P, BlockEnd);
      FillRect(DC, &Blk, B.Get());
      P = BlockEnd;
      const int GapEnd = std::min(P + 2, End);
      if (GapEnd > P) DrawBackground(C, DC, false, C.Window->CurrentBrush(), Part(P, GapEnd));
      P = GapEnd;
    }
  }
  const int Stop = Vertical ? R.Bottom : R.Right;
  if (End < Stop) DrawBackground(C, DC, false, C.Window->CurrentBrush(), Part(End, Stop));
}

void TdxBarItemControlPainter::DrawInPlaceSubItem(const TdxBarItemPaint& C, HDC DC, const TRect& R, bool Expanded,
                                                  bool Selected) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect Bottom{R.Left, R.Bottom - 1, R.Right, R.Bottom};
  FillRect(DC, &Bottom, GetBarBackgroundBrush(W.Settings()));
  const TRect Header{R.Left, R.Top, R.Right, R.Bottom - 1};
  FillRect(DC, &Header, Selected ? W.HotBrush() : GetInPlaceSubItemBrush());
  TRect T = Header;
  T.Left += 5;
  DrawItemText(C, DC, C.Enabled, Selected, false, false, false, DT_LEFT, T, C.Caption);
  if (C.Enabled) {
    TRect A = Header;
    A.Left = R.Right - W.ItemHeight() + (Expanded ? 0 : W.ArrowSize());
    DrawSizedArrow(DC, A, Expanded, W.ArrowSize(), Selected, true);
  }
}

// -- Standard ---------------------------------------------------------------

void TdxBarItemControlStandardPainter::DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                       bool Selected, bool NoImage, const TRect& R, bool BorderFits,
                                                       HBRUSH Brush) const {
  const bool MenuNoImage = C.Window->PaintType() == ptMenu && NoImage;
  if (Down || (Selected && !MenuNoImage)) {
    dxDrawEdge(DC, R, Down || Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else if (BorderFits) {
    DrawBackgroundFrame(C, DC, Pressed || Down || Selected || C.NotRecent, Brush, R);
  }
}

void TdxBarItemControlStandardPainter::DrawCheckMark(const TdxBarItemPaint& C, HDC DC, int X, int Y, int S) const {
  auto Row = [&](int r, TColor Color) {
    const TPoint P[3] = {{X + S, Y + r + 2 * S}, {X + 3 * S, Y + r + 4 * S}, {X + 8 * S, Y + r - S}};
    dxPolyline(DC, P, 3, Color);
  };
  if (C.Enabled) {
    const TColor Main = GetSysColor(COLOR_BTNFACE) == 0 ? clWhite : clBlack;
    const TColor Other = Main == clBlack ? clWhite : clBlack;
    for (int r = 0; r < S; ++r) Row(r, clSilver);
    for (int r = S; r < 3 * S; ++r) Row(r, Main);
    for (int r = 3 * S; r < 4 * S; ++r) Row(r, Other);
    dxLine(DC, X + S - 1, Y + 2 * S + 1, X + S - 1, Y + 6 * S - 1, Other);
    dxLine(DC, X + 8 * S, Y - S + 2, X + 8 * S, Y + 3 * S, Other);
  } else {
    for (int r = 1; r <= 2 * S; ++r) Row(r, clBtnShadow);
    for (int i = 0; i < S; ++i) {
      dxLine(DC, X + 3 * S + 1, Y + 7 * S - 1 - i, X + 9 * S, Y + S - i, clBtnHighlight);
      dxLine(DC, X + 4 * S, Y + 7 * S - i, X + 9 * S, Y + 2 * S - i, clBtnHighlight);
    }
  }
}

void TdxBarItemControlStandardPainter::DrawDisabledDot(HDC DC, const TRect& R) const {
  TRect H = R;
  OffsetRect(&H, 1, 1);
  dxFillRectSys(DC, H, COLOR_BTNHIGHLIGHT);
  dxFillRectSys(DC, R, COLOR_BTNSHADOW);
}

void TdxBarItemControlStandardPainter::DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph,
                                                    bool Selected, const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect Square{R.Left, R.Top, R.Left + R.Height(), R.Bottom};
  const bool ImageShown = ShowGlyph && C.HasImage();
  DrawControlGlyph(C, DC, false, Down, Selected, ImageShown, Square);
  const TRect Column{Square.Right, R.Top, Square.Right + 1, R.Bottom};
  const bool Fill = Selected || C.NotRecent;
  DrawBackground(C, DC, Fill, Selected && !ImageShown && !Down ? W.HotBrush() : W.CurrentBrush(), Column);
  TRect Rest{Column.Right, R.Top, R.Right, R.Bottom};
  DrawBackground(C, DC, Fill, Selected ? W.HotBrush() : W.CurrentBrush(), Rest);
  Rest.Left += 2;
  DrawItemText(C, DC, C.Enabled, Selected, false, false, false, DT_LEFT, Rest, C.Caption);
}

void TdxBarItemControlStandardPainter::DrawLoweredBorder(HDC DC, TRect& R) const {
  dxDrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlStandardPainter::DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool Raised,
                                                       const TRect& R) const {
  const HBRUSH Bar = GetBarBackgroundBrush(C.Window->Settings());
  if (Raised)
    dxDrawEdge(DC, R, State == 2 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    FrameRect(DC, &R, Bar);
  const TRect In = Deflated(R, 1, 1);
  FillRect(DC, &In, Bar);
}

HBRUSH TdxBarItemControlStandardPainter::GetButtonBrush(const TdxBarItemPaint& C, bool, bool Down, bool Selected,
                                                        bool NoImage) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (Down && C.Enabled) return Selected ? W.PressedBrush() : GetCheckedBrush();
  if (Selected && W.PaintType() == ptMenu && NoImage && !Down) return W.HotBrush();
  return W.CurrentBrush();
}

void TdxBarItemControlStandardPainter::DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool, bool DropDownEnabled,
                                                           bool Dropped, bool Pressed, bool Selected, int, HBRUSH Brush,
                                                           const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Fill = C.NotRecent || (!KeepBarBackground() && (Dropped || Pressed || Selected));
  DrawBackground(C, DC, Fill, Brush, R);
  const bool Menu = W.PaintType() == ptMenu;
  if (Selected)
    dxDrawEdge(DC, R, Dropped ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else if (Menu)
    dxDrawEdge(DC, {R.Left - 1, R.Top, R.Left + 1, R.Bottom}, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
  const bool Enabled = C.Enabled && DropDownEnabled;
  TRect A = R;
  if (Menu) {
    if (Dropped) OffsetRect(&A, 1, 1);
    DrawSizedArrow(DC, A, false, W.ArrowSize(), Selected, Enabled);
  } else {
    if (Dropped && R.Width() > 9) OffsetRect(&A, 1, 1);
    DrawDropDownArrow(DC, A, true, Enabled, false);
  }
}

void TdxBarItemControlStandardPainter::OffsetButtonCaption(const TdxBarItemPaint&, bool Down, bool Pressed,
                                                           TRect& R) const {
  const int D = (Down ? 1 : 0) + (Pressed ? 1 : 0);
  OffsetRect(&R, D, D);
}

void TdxBarItemControlStandardPainter::OffsetPressedRect(bool Pressed, TRect& R) const {
  if (Pressed) OffsetRect(&R, 1, 1);
}

void TdxBarItemControlStandardPainter::DrawComboButton(TdxBarItemPaint& C, HDC DC, bool, bool Hot,
                                                       const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  TRect B{R.Right - W.ClientRect().Width(), R.Top, R.Right, R.Bottom};
  B.Left = R.Right - std::max(R.Height() - 3, 1);
  C.ComboButtonRect = B;
  int ColorIndex;
  HBRUSH Face;
  GetComboArrowParams(C, ColorIndex, Face, false, false, Hot);
  const HBRUSH Bar = GetBarBackgroundBrush(W.Settings());
  const TRect Column{B.Left - 1, R.Top, B.Left, R.Bottom};
  if (Hot && C.Enabled) {
    dxDrawEdge(DC, B, C.DroppedDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    FillRect(DC, &Column, Bar);
  } else {
    const HBRUSH Frame = C.Enabled ? GetSysColorBrush(COLOR_BTNHIGHLIGHT) : Bar;
    FrameRect(DC, &B, Frame);
    FillRect(DC, &Column, Frame);
  }
  TRect In = Deflated(B, 1, 1);
  FillRect(DC, &In, Face);
  if (C.DroppedDown) OffsetRect(&In, 1, 1);
  int D = B.Width() / 2;
  if (D % 2 == 0) --D;
  if (D < 1) return;
  const int Left = (In.Left + In.Right - D) / 2, Top = (In.Top + In.Bottom - (D / 2 + 1)) / 2;
  if (C.Enabled) {
    DrawDownTriangle(DC, ColorIndex, D, Top, Left);
  } else {
    DrawDownTriangle(DC, COLOR_BTNHIGHLIGHT, D, Top + 1, Left + 1);
    DrawDownTriangle(DC, COLOR_BTNSHADOW, D, Top, Left);
  }
}

void TdxBarItemControlStandardPainter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  dxDrawEdge(DC, R, EDGE_RAISED, BF_RECT);
}

void TdxBarItemControlStandardPainter::DrawSubMenuNotRecentMargins(const TdxBarPaintWindow& W, const TdxBarItemPaint& C,
                                                                   bool NoStrip, int VisibleIndex, bool LastShown,
                                                                   const TRect& R, HDC DC) const {
  const int S = NoStrip ? 1 : 0;
  if (C.BlockStart) {
    const int Y = !C.NotRecent && !C.SeparatorRect.IsEmpty() ? C.SeparatorRect.Top - 1 : R.Top - 1;
    const TRect Line{R.Left - S, Y, R.Right + 1, Y + 1};
    dxFillRectSys(DC, Line, C.NotRecent ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  }
  if (!C.NotRecent) return;
  const HBRUSH B = W.CurrentBrush();
  auto Fill = [&](const TRect& X) {
    if (!X.IsEmpty()) FillRect(DC, &X, B);
  };
  if (VisibleIndex == 0 && !W.DetachBar()) {
    Fill({R.Left - S, R.Top - 1, R.Right + 2, R.Top});
    SetPixel(DC, R.Right + 1, R.Top - 2, ColorToRGB(clBtnHighlight));
  }
  Fill({R.Left - S, R.Top, R.Left, R.Bottom});
  Fill({R.Right, R.Top, R.Right + 2, R.Bottom});
  if (LastShown) {
    Fill({R.Left - S, R.Bottom, R.Right + 2, W.ClientRect().Bottom});
    if (S == 1) SetPixel(DC, R.Left - 2, W.ClientRect().Height() - 1, ColorToRGB(clBtnHighlight));
  }
}

void TdxBarItemControlStandardPainter::InitEditWindow(const TdxBarItemPaint&, HWND Edit) const {
  if (Edit) SendMessageA(Edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 2));
}

namespace {

bool Horizontal(const TdxBarPaintWindow& W) {
  return W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom || W.DockingStyle() == dsNone;
}

// A raised grip bar filled with button face, then left out of later fills.
void GripBar(HDC DC, const TRect& G, bool Horz, bool Corner) {
  dxDrawEdge(DC, G, BDR_RAISEDINNER, BF_RECT);
  if (Corner) {
    if (Horz)
      SetPixel(DC, G.Left, G.Bottom - 1, ColorToRGB(clBtnHighlight));
    else
      SetPixel(DC, G.Right - 1, G.Top, ColorToRGB(clBtnHighlight));
  }
  const TRect In = Deflated(G, 1, 1);
  dxFillRectSys(DC, In, COLOR_BTNFACE);
  ExcludeClipRect(DC, G.Left, G.Top, G.Right, G.Bottom);
}

}  // namespace

void TdxBarItemControlStandardPainter::DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH, TRect& R) const {
  dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
  R = Deflated(R, 2, 2);
  if (!W.ShowGrip()) return;
  const bool Horz = Horizontal(W);
  const int GW = GetGripBarWidth(), O = GetGripOffset();
  for (int i = 0; i < 2; ++i) {
    TRect G = Horz ? TRect{R.Left + O + i * GW, R.Top, R.Left + O + (i + 1) * GW, R.Bottom}
                   : TRect{R.Left, R.Top + O + i * GW, R.Right, R.Top + O + (i + 1) * GW};
    GripBar(DC, G, Horz, true);
  }
}

void TdxBarItemControlStandardPainter::DrawFloatingBarBorder(const TdxBarPaintWindow&, HDC DC, TRect& R) const {
  dxDrawEdge(DC, R, EDGE_RAISED, BF_RECT);
  R = Deflated(R, 2, 2);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  R = Deflated(R, 1, 1);
  FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlStandardPainter::DrawCloseButton(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  TUniqueGdiObject<HBRUSH> B(CreateSolidBrush(ColorToRGB(GetBarCaptionColor(W, true))));
  FrameRect(DC, &R, B.Get());
  TRect In = Deflated(R, 1, 1);
  DrawFrameControl(DC, &In, DFC_CAPTION, DFCS_CAPTIONCLOSE | (W.CloseButtonState() == 2 ? UINT(DFCS_PUSHED) : 0u));
}

void TdxBarItemControlStandardPainter::DrawMDIButton(const TdxBarPaintWindow& W, TdxBarMDIButton Button, bool Enabled,
                                                     const TRect& R, HDC DC, bool Hot, bool Pressed) const {
  UINT Kind = Button == mdibMinimize  ? DFCS_CAPTIONMIN
              : Button == mdibRestore ? DFCS_CAPTIONRESTORE
                                      : DFCS_CAPTIONCLOSE;
  if (!Enabled) Kind |= DFCS_INACTIVE;
  if (Hot && Pressed) Kind |= DFCS_PUSHED;
  TRect B = R;
  if (Button == mdibClose && W.Settings().FlatCloseButton) {
    TClipSaver Clip(DC);
    const TRect In = Deflated(R, 1, 1);
    IntersectClipRect(DC, In.Left, In.Top, In.Right, In.Bottom);
    DrawFrameControl(DC, &B, DFC_CAPTION, Kind | DFCS_FLAT);
    dxDrawEdge(DC, R, Hot && Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    return;
  }
  DrawFrameControl(DC, &B, DFC_CAPTION, Kind);
}

void TdxBarItemControlStandardPainter::DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect&,
                                                          int P) const {
  if (W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom) {
    dxLine(DC, P - 1, 1, P + 2, 4, clBtnHighlight);
    dxLine(DC, P + 3, 4, P - 1, 8, clBtnHighlight);
    const TPoint Pts[4] = {{P, 1}, {P + 2, 3}, {P + 2, 4}, {P - 1, 7}};
    dxPolyline(DC, Pts, 4, clBtnShadow);
  } else {
    const int Q = W.ClientRect().Width() - 8;
    dxLine(DC, Q, P, Q + 4, P + 4, clBtnShadow);
    dxLine(DC, Q + 4, P + 1, Q + 6, P - 1, clBtnShadow);
    const TPoint Pts[4] = {{Q + 1, P}, {Q + 3, P + 2}, {Q + 4, P + 2}, {Q + 7, P - 1}};
    dxPolyline(DC, Pts, 4, clBtnHighlight);
  }
}

void TdxBarItemControlStandardPainter::DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                             const TRect& R) const {
  W.PaintBackground(DC, R, Brush);
}

TRect TdxBarItemControlStandardPainter::GetBarMarkRect(const TdxBarPaintWindow& W) const {
  const TRect C = W.ClientRect();
  switch (W.DockingStyle()) {
    case dsLeft:
    case dsRight:
      return {C.Right - 9, C.Bottom - 11, C.Right, C.Bottom};
    case dsTop:
    case dsBottom:
      return {C.Right - 11, C.Top, C.Right, C.Top + 9};
    default: {
      const TRect M = W.CaptionMarkRect();
      return {M.Left, M.Top, M.Left + 13, M.Bottom};
    }
  }
}

// -- Enhanced ---------------------------------------------------------------

void TdxBarItemControlEnhancedPainter::DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH, TRect& R) const {
  dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
  R = Deflated(R, 2, 2);
  if (!W.ShowGrip()) return;
  const bool Horz = Horizontal(W);
  const int GW = GetGripBarWidth(), O = GetGripOffset();
  const TRect G = Horz ? TRect{R.Left + O, R.Top + 1, R.Left + O + GW, R.Bottom - 1}
                       : TRect{R.Left + 1, R.Top + O, R.Right - 1, R.Top + O + GW};
  GripBar(DC, G, Horz, false);
}

TRect TdxBarItemControlEnhancedPainter::GetBarMarkRect(const TdxBarPaintWindow& W) const {
  const TRect C = W.ClientRect();
  switch (W.DockingStyle()) {
    case dsLeft:
    case dsRight:
      return {C.Left, C.Bottom - 11, C.Right, C.Bottom};
    case dsTop:
    case dsBottom:
      return {C.Right - 11, C.Top, C.Right, C.Bottom};
    default:
      return TdxBarItemControlStandardPainter::GetBarMarkRect(W);
  }
}

void TdxBarItemControlEnhancedPainter::DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                             const TRect& R) const {
  switch (W.MarkState()) {
    case 1:
      dxDrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
      break;
    case 2:
      dxDrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT);
      break;
    default:
      FrameRect(DC, &R, Brush);
      break;
  }
  W.PaintBackground(DC, Deflated(R, 1, 1), Brush);
}

void TdxBarItemControlEnhancedPainter::DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  const TColor Color = SystemColor(GetBarMarkArrowColorIndex());
  if (W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom) {
    const int A = R.Left + 3, B = R.Bottom - 7 + (IsSmallBarMark(W, R) ? 1 : 0);
    const TPoint P[3] = {{A, B}, {A + 4, B}, {A + 2, B + 2}};
    dxPolygon(DC, P, 3, Color);
  } else {
    const int A = R.Left + 5, B = R.Top + 3;
    const TPoint P[3] = {{A, B}, {A, B + 4}, {A - 2, B + 2}};
    dxPolygon(DC, P, 3, Color);
  }
  TdxBarItemControlPainter::DrawBarMarkSigns(W, DC, R);
}

void TdxBarItemControlEnhancedPainter::DrawBarMarkChevron(const TdxBarPaintWindow& W, HDC DC, const TRect& R,
                                                          int P) const {
  if (W.DockingStyle() == dsTop || W.DockingStyle() == dsBottom) {
    const int T = IsSmallBarMark(W, R) ? 3 : 4;
    const TPoint A[3] = {{P, T}, {P + 2, T + 2}, {P - 1, T + 5}};
    const TPoint B[3] = {{P + 1, T}, {P + 3, T + 2}, {P, T + 5}};
    dxPolyline(DC, A, 3, clBtnText);
    dxPolyline(DC, B, 3, clBtnText);
  } else {
    const int Q = W.ClientRect().Width() - 8;
    const TPoint A[3] = {{Q, P}, {Q + 2, P + 2}, {Q + 5, P - 1}};
    const TPoint B[3] = {{Q, P + 1}, {Q + 2, P + 3}, {Q + 5, P}};
    dxPolyline(DC, A, 3, clBtnText);
    dxPolyline(DC, B, 3, clBtnText);
  }
}

// -- drop-down windows (frame helpers are in dxBarDropDown) ------------------

int TdxBarItemControlPainter::GetDropDownNCHeight() const { return PopupGripBandHeight(); }

void TdxBarItemControlPainter::CalcDropDownNCSize(HWND DropDown, TRect& R, bool WithGrip, HWND Combo,
                                                  int& Corner) const {
  R = Deflated(R, 1, 1);
  Corner = 3;
  if (!WithGrip || !Combo) return;
  TRect Owner, Popup;
  GetWindowRect(Combo, &Owner);
  GetWindowRect(DropDown, &Popup);
  Corner = PopupGripCorner(Owner, Popup);
  if (Corner == 0 || Corner == 1)
    R.Top += GetDropDownNCHeight();
  else
    R.Bottom -= GetDropDownNCHeight();
}

void TdxBarItemControlPainter::DrawDropDownNC(HWND DropDown, HDC DC, TRect R, bool WithGrip, int Corner) const {
  if (DropDown) {
    TRect Close, Grip;
    DrawDropDownNC(DropDown, WithGrip, false, false, Close, Grip, Corner);
    return;
  }
  FrameRect(DC, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
}

void TdxBarItemControlPainter::DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB,
                                              TRect& CloseButtonRect, TRect& GripRect, int Corner) const {
  DrawPopupNonClient(DropDown, WithGrip, false, StateA, StateB, CloseButtonRect, GripRect,
                     TdxPopupCorner(Corner & 3));
}

void TdxBarItemControlFlatPainter::DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB,
                                                  TRect& CloseButtonRect, TRect& GripRect, int Corner) const {
  DrawPopupNonClient(DropDown, WithGrip, true, StateA, StateB, CloseButtonRect, GripRect,
                     TdxPopupCorner(Corner & 3));
}

void TdxBarItemControlXPPainter::DrawDropDownNC(HWND DropDown, bool WithGrip, bool StateA, bool StateB,
                                                TRect& CloseButtonRect, TRect& GripRect, int Corner) const {
  DrawThemedPopupNonClient(DropDown, WithGrip, StateA, StateB, CloseButtonRect, GripRect, TdxPopupCorner(Corner & 3),
                           GetDropDownNCHeight());
}

// -- the styles of their own units, until they draw their own way -----------

