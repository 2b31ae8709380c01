// dxBarOffice11Painter.cpp — the Office 2003 look. Every colour is read from
// the Office 2003 colour scheme at drawing time (it changes with the system
// colours and the theme); the scheme's shared brushes are used while a
// manager or status bar holds the scheme locked, else brushes of the same
// colours kept here.
#include <algorithm>
#include <map>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/drawing/dxBarPainters.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"

namespace {

// The scheme's colour variables by their slots.
enum : int {
  scDock1 = 1, scDock2 = 2, scColumn1 = 3, scColumn2 = 4,
  scMark1 = 5,          // + state (0 normal, 1 hot, 2 pressed)
  scMark2 = 8,          // + state
  scToolbarShadow = 11, scToolbarCorner = 12,
  scMarkCorner = 13,    // + state
  scMarkShadow = 16,    // + state
  scGripDark = 19, scGripLight = 20, scSeparatorDark = 21, scSeparatorLight = 22,
  scMarkArrow = 23, scMarkArrowShadow = 24, scFloatingBorder = 25, scFloatingInner = 26,
  scCaptionText = 29, scCaptionMark = 30, scMenuBack = 32, scMenuFrame = 39,
  scSelected = 41, scHighlightFrame = 42, scHot1 = 43, scHot2 = 44, scDown1 = 45, scDown2 = 46,
  scComboButton = 47, scChecked = 48, scPressed = 49, scDetachBar = 50, scMenuText = 52, scDisabledText = 53,
};

TColor S(int Slot) {
  // Before any manager or status bar computed the scheme its slots are 0.
  if (Office11Slot(scDock1) == TColor(0)) ReloadOffice11Scheme();
  return Office11Slot(Slot);
}

// The scheme's brush N (that paints Slot) while locked, else one of ours.
HBRUSH SchemeBrush(int N, int Slot) {
  if (N > 0)
    if (HBRUSH B = Office11Brush(N)) return B;
  static std::map<int, std::pair<COLORREF, HBRUSH>> Own;
  const COLORREF C = ColorToRGB(S(Slot));
  auto& E = Own[Slot];
  if (!E.second || E.first != C) {
    if (E.second) DeleteObject(E.second);
    E = {C, CreateSolidBrush(C)};
  }
  return E.second;
}

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

bool VerticalBar(const TdxBarPaintWindow& W) { return W.DockingStyle() == dsLeft || W.DockingStyle() == dsRight; }

TColor Mix(TColor A, TColor B) { return MixColors(A, B, 50); }

void Px(HDC DC, int X, int Y, TColor C) { SetPixel(DC, X, Y, ColorToRGB(C)); }

// The colour FillTwoStageGradientRect paints at Position of R.
TColor TwoStageColorAt(const TRect& R, int Position, TColor C1, TColor C2, bool Horizontal) {
  const int Extent = Horizontal ? R.Width() : R.Height();
  if (Extent <= 0) return C1;
  const int I = std::clamp(Position - (Horizontal ? R.Left : R.Top), 0, Extent - 1);
  HDC Mem = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(Mem, 1, Extent);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  FillTwoStageGradientRect(Mem, {0, 0, 1, Extent}, C1, C2, false);
  const COLORREF Result = GetPixel(Mem, 0, I);
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
  return TColor(Result);
}

// The dock gradient's ends for a dock site of the given side.
void DockColors(TdxBarDockingStyle Side, TColor& C1, TColor& C2) {
  C1 = S(scDock1);
  C2 = S(scDock2);
  if (Side == dsLeft) C2 = C1;
  if (Side == dsRight) C1 = C2;
}

// The toolbar gradient's rectangle (window coordinates): the whole window,
// less one pixel at each end across the bar for a toolbar window.
TRect BarRect(const TdxBarPaintWindow& W) {
  TRect R = W.WindowRect();
  if (W.PaintType() != ptMenu && !W.IsQuickCustomization()) {
    if (VerticalBar(W))
      R = Deflated(R, 1, 0);
    else
      R = Deflated(R, 0, 1);
  }
  return R;
}

}  // namespace

TdxBarItemControlPainterClass TdxBarItemControlOffice11Painter::Instance() {
  static const TdxBarItemControlOffice11Painter P;
  return &P;
}

// -- the operations this style adds -----------------------------------------

void TdxBarItemControlOffice11Painter::DrawGripDots(const TdxBarPaintWindow&, HDC DC, const TRect& R,
                                                    bool Vertical) const {
  DrawOffice11GripDots(DC, R, Vertical);
}

void TdxBarItemControlOffice11Painter::FillButtonGradient(const TdxBarPaintWindow& W, HDC DC, const TRect& R,
                                                          bool Pressed, bool Down, bool Selected) const {
  const bool Horz = W.PaintType() == ptVert || VerticalBar(W);
  if (W.IsQuickCustomization()) {
    FillRectWithColor(DC, R, Down || Pressed ? S(scComboButton) : S(scHot1));
  } else if (!Down && !Pressed) {
    FillGradientRect(DC, R, S(scHot1), S(scHot2), Horz);
  } else if (Selected) {
    FillGradientRect(DC, R, S(scDown2), S(scDown1), Horz);
  } else if (ColorToRGB(S(scDown1)) == ColorToRGB(S(scDown2))) {
    FillRectWithColor(DC, R, S(scChecked));
  } else {
    FillGradientRect(DC, R, S(scDown1), S(scDown2), Horz);
  }
}

// -- switches, colours and brushes -------------------------------------------

bool TdxBarItemControlOffice11Painter::KeepButtonTextColor() const { return !IsOffice11SchemeThemed(); }
TColor TdxBarItemControlOffice11Painter::GetDateNavigatorColor() const { return S(scDock1); }

HBRUSH TdxBarItemControlOffice11Painter::GetBarBrush() const { return SchemeBrush(5, scMenuBack); }
HBRUSH TdxBarItemControlOffice11Painter::GetSubMenuBrush() const { return SchemeBrush(5, scMenuBack); }
HBRUSH TdxBarItemControlOffice11Painter::GetQuickControlBrush() const { return SchemeBrush(5, scMenuBack); }
HBRUSH TdxBarItemControlOffice11Painter::GetBarBackgroundBrush(const TdxBarPaintSettings&) const {
  return SchemeBrush(8, scComboButton);
}
HBRUSH TdxBarItemControlOffice11Painter::GetCheckedBrush() const { return SchemeBrush(9, scChecked); }
HBRUSH TdxBarItemControlOffice11Painter::GetPressedBrush() const { return SchemeBrush(10, scPressed); }
HBRUSH TdxBarItemControlOffice11Painter::GetHotBrush() const { return SchemeBrush(7, scSelected); }
HBRUSH TdxBarItemControlOffice11Painter::GetBorderBrush(const TdxBarItemPaint&, TdxBarStaticBorderStyle) const {
  return SchemeBrush(11, scMenuFrame);
}
HBRUSH TdxBarItemControlOffice11Painter::GetSubMenuSeparatorBrush(const TdxBarPaintWindow&) const {
  return SchemeBrush(3, scSeparatorDark);
}
HBRUSH TdxBarItemControlOffice11Painter::GetInPlaceSubItemBrush() const { return SchemeBrush(16, scMarkShadow); }
TColor TdxBarItemControlOffice11Painter::GetFadedImageColor(const TdxBarPaintSettings&) const { return S(scMark1); }
TColor TdxBarItemControlOffice11Painter::GetBarCaptionColor(const TdxBarPaintWindow&, bool) const {
  return S(scFloatingBorder);
}
TColor TdxBarItemControlOffice11Painter::GetBarCaptionTextColor(const TdxBarPaintWindow&) const {
  return S(scCaptionText);
}
TColor TdxBarItemControlOffice11Painter::GetBarCaptionMarkColor(const TdxBarPaintWindow&, int State) const {
  return State == 1 || State == 2 ? S(scCaptionMark) : S(scCaptionText);
}

void TdxBarItemControlOffice11Painter::GetEditColors(const TdxBarItemPaint& C, TColor& TextColor,
                                                     TColor& BackColor) const {
  TextColor = C.Enabled ? S(scMenuText) : S(scDisabledText);
  BackColor = C.Enabled ? clWindow : clBtnFace;
}

void TdxBarItemControlOffice11Painter::GetTextColors(const TdxBarItemPaint&, bool Enabled, bool Selected,
                                                     bool KeepColor, TColor& OffsetColor, TColor& MainColor) const {
  if (!Enabled)
    MainColor = S(scDisabledText);
  else if (Selected && !KeepColor)
    MainColor = IsBtnFaceWhite() ? TColor(0xFFFFFF) : S(scCaptionText);
  else
    MainColor = S(scMenuText);
  OffsetColor = MainColor;
}

void TdxBarItemControlOffice11Painter::GetArrowParams(const TdxBarItemPaint& C, int& Color, HBRUSH& Brush,
                                                      bool Pressed, bool, bool Selected) const {
  const TdxBarPaintWindow& W = *C.Window;
  TColor A;
  if (!C.Enabled)
    A = S(scDisabledText);
  else if (Selected && IsBtnFaceWhite())
    A = TColor(0xFFFFFF);
  else if (Selected && Pressed && !IsOffice11SchemeThemed())
    A = clHighlightText;
  else
    A = S(scMenuText);
  Color = int(ColorToRGB(A));
  if (!C.Enabled)
    Brush = GetSysColorBrush(COLOR_BTNFACE);
  else if (!Selected)
    Brush = W.CurrentBrush();
  else
    Brush = Pressed ? W.PressedBrush() : W.HotBrush();
}

void TdxBarItemControlOffice11Painter::GetComboArrowParams(const TdxBarItemPaint& C, int& Color, HBRUSH& Brush,
                                                           bool Pressed, bool Down, bool Selected) const {
  GetArrowParams(C, Color, Brush, Pressed, Down, Selected);
  if (!C.Enabled) return;
  if (Selected)
    Brush = C.Window->HotBrush();
  else if (C.ButtonPressed)
    Brush = C.Window->PressedBrush();
}

HBRUSH TdxBarItemControlOffice11Painter::GetButtonBrush(const TdxBarItemPaint& C, bool Pressed, bool Down,
                                                        bool Selected, bool NoImage) const {
  const HBRUSH B = TdxBarItemControlFlatPainter::GetButtonBrush(C, Pressed, Down, Selected, NoImage);
  // Flat's glyph-column brush: here the column is the window's gradient.
  if (B == StyleBrush(C.Window->Settings(), 2) && C.Window->PaintType() == ptMenu && !Selected && !Down)
    return C.Window->CurrentBrush();
  return B;
}

// -- dock sites and toolbars ---------------------------------------------------

void TdxBarItemControlOffice11Painter::DrawDockControlBackground(const TdxBarPaintWindow& W, HDC DC, TColor,
                                                                 HBRUSH, const TRect& R, TPoint) const {
  TColor C1, C2;
  DockColors(W.DockingStyle(), C1, C2);
  TRect Site = W.ClientRect();
  if (Site.IsEmpty()) Site = R;
  TBitmap* Cache = W.BackgroundCache();
  if (!Cache) {
    TSaveDcGuard State(DC);
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    FillGradientRect(DC, Site, C1, C2, true);
    return;
  }
  // The gradient is rendered once per size and colour change; the dock site
  // empties its cache then.
  if (Cache->Empty()) {
    Cache->SetSize(Site.Width(), Site.Height());
    FillGradientRect(Cache->Canvas()->GetHandle(), {0, 0, Site.Width(), Site.Height()}, C1, C2, true);
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), Cache->Canvas()->GetHandle(), R.Left - Site.Left, R.Top - Site.Top,
         SRCCOPY);
}

void TdxBarItemControlOffice11Painter::DrawDockedBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC,
                                                                     const TRect& R) const {
  if (W.IsMainMenu() || W.BorderNone() || W.HasBackgroundBitmap()) {
    TdxBarItemControlPainter::DrawDockedBarBitmapBackground(W, DC, R);
    return;
  }
  // The gradient belongs to the window: shift it so that client and frame
  // continue into each other.
  TRect G = BarRect(W);
  const TPoint O = W.ClientOrigin();
  OffsetRect(&G, -O.X, -O.Y);
  TSaveDcGuard State(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  FillTwoStageGradientRect(DC, G, S(scColumn1), S(scColumn2), VerticalBar(W));
}

void TdxBarItemControlOffice11Painter::DrawBarBitmapBackground(const TdxBarPaintWindow& W, HDC DC,
                                                               const TRect& R) const {
  if (W.IsQuickCustomization() || W.HasBackgroundBitmap()) {
    TdxBarItemControlFlatPainter::DrawBarBitmapBackground(W, DC, R);
    return;
  }
  TSaveDcGuard State(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  FillGradientRect(DC, W.ClientRect(), S(scColumn1), S(scColumn2), false);
}

void TdxBarItemControlOffice11Painter::DrawQuickControlBorder(const TdxBarPaintWindow& W, HDC DC, const TRect&,
                                                              const TRect&) const {
  const TRect J = W.OwnerJointRect();
  if (!J.IsEmpty()) FillRectWithColor(DC, J, S(scMenuBack));
}

void TdxBarItemControlOffice11Painter::DrawBarSizeGrip(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                       const TRect& R) const {
  // With visual styles the grip and its measures are the themed ones.
  if (W.ThemesAvailable())
    TdxBarItemControlXPPainter::Instance()->TdxBarItemControlPainter::DrawBarSizeGrip(W, DC, Brush, R);
  else
    TdxBarItemControlFlatPainter::DrawBarSizeGrip(W, DC, Brush, R);
}

void TdxBarItemControlOffice11Painter::DrawStatusBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                           const TRect& R) const {
  if (W.ThemesAvailable())
    TdxBarItemControlXPPainter::Instance()->TdxBarItemControlPainter::DrawStatusBarBorder(W, DC, Brush, R);
  else
    TdxBarItemControlFlatPainter::DrawStatusBarBorder(W, DC, Brush, R);
}

void TdxBarItemControlOffice11Painter::DrawStatusBarBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                               TColor Color, const TRect& R) const {
  if (W.ThemesAvailable())
    TdxBarItemControlXPPainter::Instance()->DrawStatusBarBackground(W, DC, Brush, Color, R);
  else
    TdxBarItemControlFlatPainter::DrawStatusBarBackground(W, DC, Brush, Color, R);
}

void TdxBarItemControlOffice11Painter::GetBarBorders(const TdxBarPaintWindow& W, bool Docked, TRect& R) const {
  if (W.IsMainMenu()) {
    R = VerticalBar(W) ? TRect{2, 0, 2, 0} : TRect{0, 2, 0, 2};
    return;
  }
  TdxBarItemControlFlatPainter::GetBarBorders(W, Docked, R);
}

void TdxBarItemControlOffice11Painter::GetDockedBarBorderOffsets(const TdxBarPaintWindow& W, TRect& R) const {
  GetBarBorders(W, true, R);
}

void TdxBarItemControlOffice11Painter::DrawDockedBarBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH,
                                                           TRect& R) const {
  const bool Vert = VerticalBar(W);
  auto Dock = [&](const TRect& X) {
    if (!X.IsEmpty()) TdxBarItemControlPainter::DrawDockedBarBitmapBackground(W, DC, X);
  };
  if (W.IsMainMenu()) {
    if (Vert) {
      Dock({R.Left, R.Top, R.Left + 2, R.Bottom});
      Dock({R.Right - 2, R.Top, R.Right, R.Bottom});
      R = Deflated(R, 2, 0);
    } else {
      Dock({R.Left, R.Top, R.Right, R.Top + 2});
      Dock({R.Left, R.Bottom - 2, R.Right, R.Bottom});
      R = Deflated(R, 0, 2);
    }
    return;
  }
  if (!W.BorderNone()) {
    // The picture of a horizontal toolbar in (along, across) coordinates;
    // a vertical one is the same picture transposed, except its leading end.
    const int L = Vert ? R.Top : R.Left, T = Vert ? R.Left : R.Top;
    const int Rt = Vert ? R.Bottom : R.Right, B = Vert ? R.Right : R.Bottom;
    auto Map = [&](int A, int C) { return Vert ? TPoint{C, A} : TPoint{A, C}; };
    auto Rect = [&](int A1, int C1, int A2, int C2) {
      return Vert ? TRect{C1, A1, C2, A2} : TRect{A1, C1, A2, C2};
    };
    auto Pixel = [&](int A, int C, TColor Color) {
      const TPoint P = Map(A, C);
      Px(DC, P.X, P.Y, Color);
    };
    auto DockPx = [&](int A, int C) { Dock(Rect(A, C, A + 1, C + 1)); };
    // The dock gradient at window x, and the toolbar gradient at v across.
    TColor D1, D2;
    DockColors(W.DockingStyle(), D1, D2);
    TRect Site = W.DockSiteRect();
    if (Site.IsEmpty()) Site = W.WindowRect();
    auto D = [&](int A) {
      return Vert ? D1 : GradientColorAt(Site, W.DockedRect().Left + A, D1, D2, true);
    };
    const TRect BarR = BarRect(W);
    auto Tg = [&](int V) { return TwoStageColorAt(BarR, V, S(scColumn1), S(scColumn2), Vert); };
    const int State = std::clamp(W.MarkState(), 0, 2);
    const TColor Cc = S(scToolbarCorner), Sh = S(scToolbarShadow);
    const TColor M1 = S(scMark1 + State), M2 = S(scMark2 + State), Mc = S(scMarkCorner + State);
    const bool Mark = W.ShowMark();

    DrawDockedBarBitmapBackground(W, DC, R);
    // Leading gap.
    Dock(Rect(L, T, L + 2, B));
    Dock(Rect(L + 2, T, Rt, T + 1));
    const int L1 = L + 2, T1 = T + 1;
    // Leading end: a 2-pixel radius at the bottom of a horizontal bar, one
    // pixel at the right of a vertical one.
    if (!Vert) {
      DockPx(L1, B - 2);
      DockPx(L1 + 1, B - 1);
      Pixel(L1 + 1, B - 3, Cc);
      Pixel(L1, B - 3, Mix(D(L1), Cc));
      Pixel(L1 + 1, B - 2, Mix(D(L1), Cc));
    } else {
      Pixel(L1 + 1, B - 2, Cc);
      Pixel(L1, B - 2, Mix(D(L1), Cc));
      Pixel(L1 + 1, B - 1, Mix(D(L1), Cc));
    }
    Pixel(L1, T1 + 1, Mix(D(L1), Tg(Vert ? L1 : T1 + 1)));
    Pixel(L1 + 1, T1, Mix(D(L1), Tg(Vert ? L1 : T1 + 1)));
    // Top and far end.
    if (Mark) {
      Pixel(Rt - 12, T1, Mc);
      Pixel(Rt - 2, T1 + 1, Mc);
      Pixel(Rt - 13, T1, Mix(Mc, Tg(T1 + 1)));
      Pixel(Rt - 2, T1, Mix(Mc, D(Rt)));
      Pixel(Rt - 1, T1 + 1, Mix(Mc, D(Rt)));
      {
        TSaveDcGuard Clip(DC);
        HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
        auto Add = [&](const TRect& X) {
          HRGN P = CreateRectRgn(X.Left, X.Top, X.Right, X.Bottom);
          CombineRgn(Rgn, Rgn, P, RGN_OR);
          DeleteObject(P);
        };
        Add(Rect(Rt - 11, T1, Rt - 2, T1 + 1));
        Add(Rect(Rt - 2, T1 + 2, Rt, B - 2));
        Add(Rect(Rt - 12, B - 1, Rt - 2, B));
        Add(Rect(Rt - 11, B - 2, Rt - 1, B - 1));
        ExtSelectClipRgn(DC, Rgn, RGN_AND);
        DeleteObject(Rgn);
        FillTwoStageGradientRect(DC, Rect(Rt - 12, T1, Rt, B), M1, M2, Vert);
      }
      Pixel(Rt - 1, B - 2, Mix(M2, D(Rt)));
      Pixel(Rt - 2, B - 1, Mix(M2, D(Rt)));
    } else {
      Pixel(Rt - 2, T1, Mix(D(Rt), Tg(T1 + 1)));
      Pixel(Rt - 1, T1 + 1, Mix(D(Rt), Tg(T1 + 1)));
    }
    // Bottom: the shadow line.
    const int ShadowEnd = Mark ? Rt - 13 : Rt - 2;
    const TRect Shadow = Rect(L1 + 2, B - 1, ShadowEnd, B);
    if (!Shadow.IsEmpty()) FillRectWithColor(DC, Shadow, Sh);
    if (Mark) {
      Pixel(Rt - 13, B - 1, Mix(M2, Cc));
      Pixel(Rt - 12, B - 2, Mix(M2, Cc));
      Pixel(Rt - 13, B - 2, Cc);
    } else {
      Pixel(Rt - 2, B - 1, Mix(Cc, D(Rt)));
      Pixel(Rt - 1, B - 2, Mix(Cc, D(Rt)));
      Pixel(Rt - 2, B - 2, Cc);
    }
    // The body's corners show the dock site.
    DockPx(L1, T1);
    DockPx(Rt - 1, T1);
    DockPx(L1, B - 1);
    DockPx(Rt - 1, B - 1);
  }
  R = Deflated(R, 2, 2);
  if (!W.ShowGrip()) return;
  const int O = GetGripOffset(), GW = GetGripBarWidth();
  if (!Vert)
    DrawGripDots(W, DC, {R.Left + O, R.Top + 3, R.Left + O + GW, R.Bottom - 3}, true);
  else
    DrawGripDots(W, DC, {R.Left + 3, R.Top + O, R.Right - 3, R.Top + O + GW}, false);
}

void TdxBarItemControlOffice11Painter::DrawToolbarSeparator(const TdxBarPaintWindow& W, HDC DC, bool Vertical,
                                                            HBRUSH Brush, const TRect& Rect) const {
  W.PaintBackground(DC, Rect, Brush);
  const int O = GetToolbarSeparatorOffset();
  if (!Vertical) {
    const TRect R{Rect.Left + O, Rect.Top, Rect.Right - O, Rect.Bottom};
    FillRectWithColor(DC, {R.Left, R.Top + 3, R.Left + 1, R.Bottom - 4}, S(scSeparatorDark));
    FillRectWithColor(DC, {R.Left + 1, R.Top + 4, R.Left + 2, R.Bottom - 3}, S(scSeparatorLight));
  } else {
    const TRect R{Rect.Left, Rect.Top + O, Rect.Right, Rect.Bottom - O};
    FillRectWithColor(DC, {R.Left + 3, R.Top, R.Right - 4, R.Top + 1}, S(scSeparatorDark));
    FillRectWithColor(DC, {R.Left + 4, R.Top + 1, R.Right - 3, R.Top + 2}, S(scSeparatorLight));
  }
}

void TdxBarItemControlOffice11Painter::DrawBarMarkBackground(const TdxBarPaintWindow& W, HDC DC, HBRUSH Brush,
                                                             const TRect& R) const {
  if (W.Floating()) {
    TdxBarItemControlFlatPainter::DrawBarMarkBackground(W, DC, Brush, R);
    return;
  }
  const bool Vert = VerticalBar(W);
  const int State = std::clamp(W.MarkState(), 0, 2);
  TRect M = R;
  if (!W.BorderNone() && !W.IsMainMenu()) {
    const TColor Mc = S(scMarkCorner + State);
    TRect G = BarRect(W);
    OffsetRect(&G, -W.ClientOrigin().X, -W.ClientOrigin().Y);
    if (!Vert) {
      W.PaintBackground(DC, {R.Left, R.Top, R.Left + 2, R.Bottom}, Brush);
      M = {R.Left + 2, R.Top - 2, R.Right, R.Bottom + 2};
      Px(DC, R.Left + 1, R.Top, Mix(Mc, TwoStageColorAt(G, R.Top + 2, S(scColumn1), S(scColumn2), false)));
    } else {
      W.PaintBackground(DC, {R.Left, R.Top, R.Right, R.Top + 2}, Brush);
      M = {R.Left - 2, R.Top + 2, R.Right + 2, R.Bottom};
      Px(DC, R.Left, R.Top + 1, Mix(Mc, TwoStageColorAt(G, R.Left + 2, S(scColumn1), S(scColumn2), true)));
    }
  }
  FillTwoStageGradientRect(DC, M, S(scMark1 + State), S(scMark2 + State), Vert);
}

void TdxBarItemControlOffice11Painter::DrawBarMarkSigns(const TdxBarPaintWindow& W, HDC DC, const TRect& R) const {
  if (W.Floating()) {
    TdxBarItemControlFlatPainter::DrawBarMarkSigns(W, DC, R);
    return;
  }
  const bool Vert = VerticalBar(W);
  const int F = W.BorderNone() || W.IsMainMenu() ? 2 : 0, G = F ? 1 : 0;
  auto Twice = [&](auto Draw) {
    Draw(1, S(scMarkArrowShadow));
    Draw(0, S(scMarkArrow));
  };
  if (!Vert) {
    const int X = R.Right - F - 6, Y = R.Bottom - G - 8;
    Twice([&](int D, TColor C) {
      FillRectWithColor(DC, {X + D, Y + D, X + D + 5, Y + D + 1}, C);
      const TPoint P[3] = {{X + D, Y + D + 3}, {X + D + 4, Y + D + 3}, {X + D + 2, Y + D + 5}};
      dxPolygon(DC, P, 3, C);
    });
  } else {
    const int X = R.Right - G - 8, Y = R.Bottom - F - 6;
    Twice([&](int D, TColor C) {
      FillRectWithColor(DC, {X + D, Y + D, X + D + 1, Y + D + 5}, C);
      const TPoint P[3] = {{X + D + 3, Y + D}, {X + D + 3, Y + D + 4}, {X + D + 5, Y + D + 2}};
      dxPolygon(DC, P, 3, C);
    });
  }
  if (!W.HasHiddenItems()) return;
  for (int i = 0; i < 2; ++i) {
    if (!Vert) {
      const int X = R.Right - F - 7 + 4 * i, Y = R.Top - G + 3;
      Twice([&](int D, TColor C) {
        const TPoint P[3] = {{X + D, Y + D}, {X + D + 1, Y + D + 1}, {X + D, Y + D + 2}};
        dxPolygon(DC, P, 3, C);
      });
    } else {
      const int X = R.Left - F + 3, Y = R.Bottom - G - 7 + 4 * i;
      Twice([&](int D, TColor C) {
        const TPoint P[3] = {{X + D, Y + D}, {X + D + 1, Y + D + 1}, {X + D + 2, Y + D}};
        dxPolygon(DC, P, 3, C);
      });
    }
  }
}

TRect TdxBarItemControlOffice11Painter::GetBarMarkHitRect(const TdxBarPaintWindow& W) const {
  TRect R = GetBarMarkRect(W);
  if (W.Floating() || W.BorderNone() || W.IsMainMenu()) return R;
  if (VerticalBar(W))
    return {R.Left - 1, R.Top, R.Right + 1, R.Bottom + 2};
  return {R.Left, R.Top - 1, R.Right + 2, R.Bottom + 1};
}

// -- floating toolbars -----------------------------------------------------------

void TdxBarItemControlOffice11Painter::DrawFloatingBarBorder(const TdxBarPaintWindow& W, HDC DC, TRect& R) const {
  auto Ring = [&](TColor C) {
    FrameRectWithColor(DC, R, C);
    R = Deflated(R, 1, 1);
  };
  if (W.IsQuickCustomization()) {
    Ring(S(scMenuFrame));
    for (int i = 1; i < GetFloatingBorderWidth(); ++i) {
      FrameRect(DC, &R, GetQuickControlBrush());
      R = Deflated(R, 1, 1);
    }
    return;
  }
  Ring(S(scFloatingBorder));
  Ring(S(scFloatingBorder));
  const TRect Third = R;
  Ring(S(scFloatingInner));
  Px(DC, Third.Left, Third.Top, S(scFloatingBorder));
  Px(DC, Third.Right - 1, Third.Top, S(scFloatingBorder));
  Px(DC, Third.Left, Third.Bottom - 1, S(scFloatingBorder));
  Px(DC, Third.Right - 1, Third.Bottom - 1, S(scFloatingBorder));
}

void TdxBarItemControlOffice11Painter::DrawFloatingBarCaption(const TdxBarPaintWindow& W, HDC DC, HBRUSH, bool Active,
                                                              TRect R) const {
  // The caption's own metrics are the Flat style's (this style keeps them).
  TdxBarItemControlFlatPainter::DrawFloatingBarCaption(W, DC, SchemeBrush(0, scColumn1), Active, R);
}

void TdxBarItemControlOffice11Painter::DrawCloseButtonBackground(const TdxBarPaintWindow& W, HDC DC, int State,
                                                                 const TRect& R) const {
  if (State == 0) {
    FillRectWithColor(DC, R, GetBarCaptionColor(W, true));
    return;
  }
  FrameOffice11Rect(DC, R);
  FillRectWithColor(DC, Deflated(R, 1, 1), State == 1 ? S(scHot1) : S(scHot2));
}

// -- item controls -----------------------------------------------------------------

void TdxBarItemControlOffice11Painter::DrawSelectionFrame(HDC DC, const TRect& R) const { FrameOffice11Rect(DC, R); }

void TdxBarItemControlOffice11Painter::DrawGlyphBorder(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                       bool Selected, bool NoImage, const TRect& R, bool BorderFits,
                                                       HBRUSH Brush) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  if (Menu && Selected && NoImage && !Down) {
    FillRect(DC, &R, Brush);
    return;
  }
  if (Down && C.DropDownOwner)
    FillGradientRect(DC, R, S(scColumn1), S(scColumn2), W.PaintType() == ptVert);
  else if (!Menu && (Pressed || Selected || Down))
    FillButtonGradient(W, DC, R, Pressed, Down, Selected);
  else
    DrawBackground(C, DC, Pressed || Selected || Down, Brush, R);
  if (Down || (Selected && !Menu)) {
    if (Down && !C.DropDownJoint.IsEmpty())
      DrawDropDownOwnerFrame(W, DC, R, C.DropDownJoint);
    else if (Selected || (Down && C.DownProperty))
      FrameOffice11Rect(DC, R);
    else
      FrameRectWithColor(DC, R, S(scMenuFrame));
  } else if (BorderFits) {
    DrawBackgroundFrame(C, DC, Pressed || Selected || Down, Brush, R);
  }
}

void TdxBarItemControlOffice11Painter::DrawGlyphImage(const TdxBarItemPaint& C, HDC DC, bool Pressed, bool Down,
                                                      bool Selected, bool BorderFits, HBRUSH Brush, TRect R,
                                                      const TRect& GlyphRect) const {
  if (BorderFits) R = Deflated(R, 1, 1);
  const TdxBarPaintSettings& St = C.Window->Settings();
  DrawItemGlyph(DC, Brush, R, GlyphRect, C.Glyph, C.Images, C.ImageIndex, C.Enabled, false, false, Selected, Down,
                Pressed, false, true, GetFadedImageColor(St), St.ImageListBkColor);
}

void TdxBarItemControlOffice11Painter::DrawDropDownArrow(HDC DC, const TRect& R, bool Down, bool Enabled,
                                                         bool Selected) const {
  DrawOffice11ArrowInRect(DC, R, Down, Enabled, Selected);
}

void TdxBarItemControlOffice11Painter::DrawSizedArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected,
                                                      bool Enabled) const {
  DrawOffice11Arrow(DC, R, Down, Size, Selected, Enabled);
}

void TdxBarItemControlOffice11Painter::DrawDownTriangle(HDC DC, int Color, int W, int Top, int Left) const {
  const TPoint P[3] = {{Left, Top}, {Left + W - 1, Top}, {Left + W / 2, Top + W / 2}};
  dxPolygon(DC, P, 3, TColor(Color));
}

void TdxBarItemControlOffice11Painter::DrawMenuItem(const TdxBarItemPaint& C, HDC DC, bool Down, bool ShowGlyph,
                                                    bool Selected, const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  if (Selected)
    FrameOffice11Rect(DC, R);
  else
    DrawMenuRowRing(C, DC, R, false, W.CurrentBrush(), W.CurrentBrush());
  const HBRUSH Brush = Selected ? W.HotBrush() : W.CurrentBrush();
  DrawMenuRowContent(C, DC, Down, ShowGlyph, Selected, R, Selected, Brush, Brush);
}

void TdxBarItemControlOffice11Painter::DrawButtonArrowPart(const TdxBarItemPaint& C, HDC DC, bool MenuWindowExists,
                                                           bool DropDownEnabled, bool Dropped, bool Pressed,
                                                           bool Selected, int, HBRUSH Brush, const TRect& Part) const {
  const TdxBarPaintWindow& W = *C.Window;
  const bool Menu = W.PaintType() == ptMenu;
  const TRect R = ArrowPartFrameRect(W, Part);
  if (!(!Menu && Dropped && MenuWindowExists)) {
    if (Selected)
      DrawSelectionFrame(DC, R);
    else if (Menu)
      FillRectWithColor(DC, {R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, S(scSeparatorDark));
    else
      DrawBackgroundFrame(C, DC, false, W.CurrentBrush(), R);
    const TRect In = Deflated(R, 1, 1);
    if (!Menu && (Dropped || Pressed || Selected))
      FillButtonGradient(W, DC, In, Pressed || Dropped, false, Selected);
    else
      DrawBackground(C, DC, Dropped || Pressed || Selected, Brush, In);
  }
  DrawArrowPartArrow(C, DC, DropDownEnabled, Dropped, Selected, Part);
}

void TdxBarItemControlOffice11Painter::DrawComboButton(TdxBarItemPaint& C, HDC DC, bool Selected, bool,
                                                       const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  TRect B{R.Right - CalcComboButtonWidth(W, DC, 0), R.Top, R.Right, R.Bottom};
  C.ComboButtonRect = B;
  int Color;
  HBRUSH Brush;
  GetComboArrowParams(C, Color, Brush, C.ButtonPressed, false, Selected);
  TRect In = Deflated(B, 1, 1);
  if (Selected) {
    FrameOffice11Rect(DC, {B.Left - 1, B.Top, B.Right, B.Bottom});
    FillButtonGradient(W, DC, In, C.ButtonPressed, false, true);
  } else {
    const HBRUSH Frame = C.Enabled ? GetSysColorBrush(COLOR_WINDOW) : Brush;
    FrameRect(DC, &B, Frame);
    const TRect Column{B.Left - 1, R.Top, B.Left, R.Bottom};
    FillRect(DC, &Column, Frame);
    if (W.PaintType() == ptMenu && C.Enabled)
      FillRectWithColor(DC, In, S(scComboButton));
    else
      DrawBackground(C, DC, !C.Enabled, Brush, In);
    if (C.ButtonPressed) OffsetRect(&In, 1, 1);
  }
  int D = (In.Width() + 1) / 2;
  if (D % 2 == 0) ++D;
  if (D < 1) return;
  DrawDownTriangle(DC, Color, D, (In.Top + In.Bottom - (D / 2 + 1)) / 2, (In.Left + In.Right - D) / 2);
}

void TdxBarItemControlOffice11Painter::DrawSmallButton(const TdxBarItemPaint& C, HDC DC, int State, bool,
                                                       const TRect& R) const {
  const TdxBarPaintWindow& W = *C.Window;
  const TRect In = Deflated(R, 1, 1);
  if (State > 0) {
    DrawSelectionFrame(DC, R);
    FillRect(DC, &In, State == 2 ? W.PressedBrush() : W.HotBrush());
  } else if (C.Enabled) {
    FrameRect(DC, &R, W.CurrentBrush());
    FillRectWithColor(DC, In, S(scComboButton));
  } else {
    FrameRectWithColor(DC, R, S(scDisabledText));
    FillRectWithColor(DC, In, clBtnFace);
  }
}

void TdxBarItemControlOffice11Painter::DrawEditBorder(const TdxBarItemPaint& C, HDC DC, bool Selected,
                                                      TRect& R) const {
  if (Selected)
    FrameOffice11Rect(DC, R);
  else if (!C.Enabled)
    FrameRectWithColor(DC, R, S(scDisabledText));
  else if (C.Window->PaintType() == ptMenu)
    FrameRectWithColor(DC, R, S(scComboButton));
  else
    DrawBackgroundFrame(C, DC, false, C.Window->CurrentBrush(), R);
  R = Deflated(R, 1, 1);
}

void TdxBarItemControlOffice11Painter::DrawQuickCustItemFrame(const TdxBarItemPaint& C, HDC DC, const TRect& R,
                                                              bool Selected) const {
  if (!Selected) return;
  FrameOffice11Rect(DC, R);
  const int Check = R.Left + R.Height();
  const TRect Strip{Check, R.Top + 1, Check + 2, R.Bottom - 1};
  FillRect(DC, &Strip, C.Window->HotBrush());
}

void TdxBarItemControlOffice11Painter::DrawDropDownListBorder(HDC DC, const TRect& R) const {
  FrameRectWithColor(DC, R, S(scMenuFrame));
  FrameRectWithColor(DC, Deflated(R, 1, 1), S(scMenuBack));
}

// -- menus ------------------------------------------------------------------------

void TdxBarItemControlOffice11Painter::DrawSubMenuBitmapBackground(const TdxBarPaintWindow& W, HDC DC,
                                                                   const TRect& R) const {
  if (W.HasBackgroundBitmap()) {
    TdxBarItemControlFlatPainter::DrawSubMenuBitmapBackground(W, DC, R);
    return;
  }
  TSaveDcGuard State(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  const int Column = W.CaptionLeft();
  FillTwoStageGradientRect(DC, {0, R.Top, Column, R.Bottom}, S(scColumn1), S(scColumn2), true);
  const TRect Rest{std::max(R.Left, Column), R.Top, R.Right, R.Bottom};
  if (!Rest.IsEmpty()) FillRect(DC, &Rest, W.CurrentBrush());
}

void TdxBarItemControlOffice11Painter::DrawSubMenuClientBorder(const TdxBarPaintWindow& W, HDC DC, HBRUSH,
                                                               TRect R) const {
  if (W.HasBackgroundBitmap() || W.BarSize() > 0) {
    FrameRectWithColor(DC, R, S(scMenuBack));
    return;
  }
  FillRectWithColor(DC, {R.Left, R.Top, R.Right, R.Top + 1}, S(scMenuBack));
  FillRectWithColor(DC, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, S(scMenuBack));
  FillRectWithColor(DC, {R.Right - 1, R.Top, R.Right, R.Bottom}, S(scMenuBack));
  FillRectWithColor(DC, {R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, S(scColumn1));
}

void TdxBarItemControlOffice11Painter::DrawSubMenuBorder(const TdxBarPaintWindow& W, HDC DC, TRect R) const {
  FrameRectWithColor(DC, R, S(scMenuFrame));
  const TRect J = W.OwnerJointRect();
  if (!J.IsEmpty()) FillRectWithColor(DC, J, S(scMenuBack));
  if (!W.DetachBar()) return;
  TRect F = Deflated(R, 1, 1);
  F.Bottom = F.Top + W.DetachBarBaseHeight() + 5;
  FrameRectWithColor(DC, F, S(scMenuBack));
  const TRect In{F.Left + 1, F.Top + 1, F.Right - 1, F.Bottom - 1};
  FillRectWithColor(DC, {In.Left, In.Top, In.Right, In.Top + 2}, S(scMenuBack));
  FillRectWithColor(DC, {In.Left, In.Bottom - 1, In.Right, In.Bottom}, S(scMenuBack));
  DrawSubMenuDetachBar(W, DC, {In.Left, In.Top + 2, In.Right, In.Bottom - 1});
}

void TdxBarItemControlOffice11Painter::DrawSubMenuDetachBar(const TdxBarPaintWindow& W, HDC DC,
                                                            const TRect& R) const {
  const bool Hot = W.DetachBarHot();
  if (Hot) {
    FrameOffice11Rect(DC, R);
    FillRectWithColor(DC, Deflated(R, 1, 1), S(scSelected));
  } else {
    FillRectWithColor(DC, R, S(scDetachBar));
  }
  const int DX = Hot ? R.Width() / 4 : (R.Width() + 2) / 4;
  DrawGripDots(W, DC, Deflated(R, DX, Hot ? 1 : 2), false);
}

// -- drop-down joints ------------------------------------------------------------

void TdxBarItemControlOffice11Painter::FrameDropDownOwner(const TdxBarPaintWindow&, HDC DC, const TRect& R) const {
  FrameRectWithColor(DC, R, S(scMenuFrame));
}

void TdxBarItemControlOffice11Painter::FillDropDownOwnerGap(const TdxBarPaintWindow&, HDC DC, const TRect& OwnerR,
                                                            const TRect& Joint) const {
  // The strip takes the end of the owner's gradient that it touches.
  const bool Across = Joint.Width() >= Joint.Height();
  const bool FarEnd = Across ? Joint.Top >= (OwnerR.Top + OwnerR.Bottom) / 2
                             : Joint.Left >= (OwnerR.Left + OwnerR.Right) / 2;
  FillRectWithColor(DC, Joint, FarEnd ? S(scColumn2) : S(scColumn1));
}

// -- window-dependent answers -------------------------------------------------

bool TdxBarItemControlOffice11Painter::BarWindowHasShadow(const TdxBarPaintWindow& W) const {
  // Toolbars, docked or floating, cast none; menus do.
  if (W.PaintType() != ptMenu && !W.IsQuickCustomization()) return false;
  return TdxBarItemControlFlatPainter::BarWindowHasShadow(W);
}

int TdxBarItemControlOffice11Painter::CalcEditCaptionWidthIn(const TdxBarPaintWindow& W, HDC DC,
                                                             const AnsiString& Caption) const {
  const int Width = CalcEditCaptionWidth(DC, Caption);
  return W.PaintType() == ptMenu ? Width + W.CaptionLeft() + 1 : Width;
}

int TdxBarItemControlOffice11Painter::GetProgressBarIndentOf(const TdxBarItemPaint& C) const {
  if (C.HasImage()) return 0;
  return C.Window->PaintType() == ptMenu ? C.Window->CaptionLeft() : 0;
}
