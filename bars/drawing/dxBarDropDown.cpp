// dxBarDropDown.cpp — the drop-down frame routines.
#include "bars/drawing/dxBarDropDown.h"

#include <algorithm>
#include <string>
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {

constexpr TdxPopupCorner CornerTable[4] = {0, 2, 1, 3};
constexpr int HitTestTable[4] = {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};

bool BandAtTop(TdxPopupCorner C) { return C == 0 || C == 1; }
bool GripAtRight(TdxPopupCorner C) { return C == 1 || C == 3; }

TRect Deflated(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY}; }

int Clamped(const AnsiString& Text, int Count) {
  const int Length = int(Text.size());
  return Count < 0 || Count > Length ? Length : Count;
}

}  // namespace

int PopupGripBandHeight() {
  int H = GetSystemMetrics(SM_CYHSCROLL) + 2;
  H = std::max(H, GetSystemMetrics(SM_CYSIZE));
  return H + 1;
}

TdxPopupCorner PopupGripCorner(const TRect& OwnerRect, const TRect& PopupRect) {
  int Index = 0;
  if (OwnerRect.Left < PopupRect.Right) Index |= 2;
  if (OwnerRect.Bottom < PopupRect.Bottom) Index |= 1;
  return CornerTable[Index];
}

int PopupCornerHitTest(TdxPopupCorner Corner) { return HitTestTable[Corner & 3]; }

void DrawPopupSizeGrip(HDC DC, TRect& R, TdxPopupCorner Corner) {
  Corner &= 3;
  const int CX = GetSystemMetrics(SM_CXVSCROLL), CY = GetSystemMetrics(SM_CYHSCROLL);
  if (GripAtRight(Corner))
    R.Left = R.Right - CX;
  else
    R.Right = R.Left + CX;
  if (BandAtTop(Corner))
    R.Bottom = R.Top + CY;
  else
    R.Top = R.Bottom - CY;
  const bool HMirror = Corner == 0 || Corner == 2, VMirror = BandAtTop(Corner);
  const HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
  // Two-pixel margins on the grip's outer sides.
  TRect G = R;
  TRect Strip;
  if (HMirror) {
    Strip = {R.Left, R.Top, R.Left + 2, R.Bottom};
    G.Left += 2;
  } else {
    Strip = {R.Right - 2, R.Top, R.Right, R.Bottom};
    G.Right -= 2;
  }
  FillRect(DC, &Strip, Face);
  if (VMirror) {
    Strip = {G.Left, G.Top, G.Right, G.Top + 2};
    G.Top += 2;
  } else {
    Strip = {G.Left, G.Bottom - 2, G.Right, G.Bottom};
    G.Bottom -= 2;
  }
  FillRect(DC, &Strip, Face);
  const int W = G.Width(), H = G.Height();
  if (W <= 0 || H <= 0) return;
  // The system grip points to the bottom right; mirrored copies point to
  // the chosen corner.
  HDC Mem = CreateCompatibleDC(DC);
  HBITMAP Bmp = CreateCompatibleBitmap(DC, W, H);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  TRect Cell{0, 0, W, H};
  DrawFrameControl(Mem, &Cell, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  StretchBlt(DC, G.Left, G.Top, W, H, Mem, HMirror ? W - 1 : 0, VMirror ? H - 1 : 0, HMirror ? -W : W,
             VMirror ? -H : H, SRCCOPY);
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
}

void DrawPopupCloseButton(HDC DC, TRect& R, bool Hot, bool Pressed, bool Flat, TdxPopupCorner Corner) {
  Corner &= 3;
  const int W = GetSystemMetrics(SM_CXSIZE);
  if (GripAtRight(Corner))
    R.Right = R.Left + W;
  else
    R.Left = R.Right - W;
  R.Top = (R.Top + R.Bottom - (W + 1)) / 2 + (BandAtTop(Corner) ? 0 : 1);
  R.Bottom = R.Top + W + 1;
  R = Deflated(R, 1, 2);
  const HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
  if (Hot && !Flat) {
    TRect E = R;
    DrawEdge(DC, &E, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    FrameRect(DC, &R, Face);
  }
  R = Deflated(R, 1, 1);
  FrameRect(DC, &R, Face);
  HRGN Saved = CreateRectRgn(0, 0, 0, 0);
  const bool Existed = GetClipRgn(DC, Saved) == 1;
  const TRect Clip = Deflated(R, 1, 1);
  IntersectClipRect(DC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
  R = Deflated(R, -1, -1);
  const bool Nudge = W != 22;
  if (Nudge) R.Top += 1;
  UINT State = DFCS_CAPTIONCLOSE | DFCS_FLAT;
  if (Pressed && !Flat) State |= DFCS_PUSHED;
  DrawFrameControl(DC, &R, DFC_CAPTION, State);
  if (Nudge) R.Top -= 1;
  SelectClipRgn(DC, Existed ? Saved : nullptr);
  DeleteObject(Saved);
}

void DrawPopupNonClient(HWND Wnd, bool HasBand, bool Flat, bool StateA, bool StateB, TRect& CloseButtonRect,
                        TRect& GripRect, TdxPopupCorner Corner) {
  Corner &= 3;
  TRect W;
  GetWindowRect(Wnd, &W);
  CloseButtonRect = GripRect = W;
  const TPoint ScreenOrigin{W.Left, W.Top};
  TRect C;
  GetClientRect(Wnd, &C);
  MapWindowPoints(nullptr, Wnd, reinterpret_cast<TPoint*>(&W), 2);
  const int B = -W.Left;
  OffsetRect(&C, -W.Left, -W.Top);
  OffsetRect(&W, -W.Left, -W.Top);
  HDC DC = GetWindowDC(Wnd);
  if (!DC) {
    CloseButtonRect = GripRect = {};
    return;
  }
  // The window DC goes back on every path, also when drawing fails.
  struct TRelease {
    HWND Wnd;
    HDC DC;
    ~TRelease() { ReleaseDC(Wnd, DC); }
  } Release{Wnd, DC};
  const HBRUSH Frame = GetSysColorBrush(Flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
  FrameRect(DC, &W, Frame);
  if (!HasBand) {
    CloseButtonRect = GripRect = {};
    return;
  }
  W = Deflated(W, B, B);
  const int H = PopupGripBandHeight();
  TRect Band, Line;
  if (BandAtTop(Corner)) {
    Band = {W.Left, W.Top, W.Right, W.Top + H - 1};
    Line = {W.Left, Band.Bottom, W.Right, Band.Bottom + 1};
  } else {
    Band = {W.Left, W.Bottom - (H - 1), W.Right, W.Bottom};
    Line = {W.Left, Band.Top - 1, W.Right, Band.Top};
  }
  FillRect(DC, &Line, Frame);
  TRect Grip = Band;
  DrawPopupSizeGrip(DC, Grip, Corner);
  ExcludeClipRect(DC, Grip.Left, Grip.Top, Grip.Right, Grip.Bottom);
  GripRect = Deflated(Grip, -2, -2);
  GripRect.Top = std::max(GripRect.Top, Band.Top);
  GripRect.Bottom = std::min(GripRect.Bottom, Band.Bottom);
  OffsetRect(&GripRect, ScreenOrigin.X, ScreenOrigin.Y);
  TRect Close = Band;
  DrawPopupCloseButton(DC, Close, StateA || StateB, StateA && StateB, Flat, Corner);
  ExcludeClipRect(DC, Close.Left, Close.Top, Close.Right, Close.Bottom);
  CloseButtonRect = Close;
  OffsetRect(&CloseButtonRect, ScreenOrigin.X, ScreenOrigin.Y);
  FillRect(DC, &Band, GetSysColorBrush(COLOR_BTNFACE));
  if (!BandAtTop(Corner)) {
    const LONG_PTR Style = GetWindowLongA(Wnd, GWL_STYLE);
    if ((Style & WS_HSCROLL) && (Style & WS_VSCROLL)) {
      const TRect Square{Band.Right - GetSystemMetrics(SM_CXVSCROLL), Band.Top - 1 - GetSystemMetrics(SM_CYHSCROLL),
                         Band.Right, Band.Top - 1};
      FillRect(DC, &Square, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  (void)C;
}

int DrawTextStr(HDC DC, const AnsiString& Text, int Count, TRect& R, UINT Format) {
  std::string Copy(Text.c_str(), std::size_t(Clamped(Text, Count)));
  return DrawTextA(DC, Copy.data(), int(Copy.size()), &R, Format);
}

bool ExtTextOutStr(HDC DC, int X, int Y, const AnsiString& Text, const TRect& R, UINT Options) {
  return ExtTextOutA(DC, X, Y, Options, &R, Text.c_str(), UINT(Text.size()), nullptr) != 0;
}

bool GetTextExtentPoint32Str(HDC DC, const AnsiString& Text, int Count, TSize& Size) {
  return GetTextExtentPoint32A(DC, Text.c_str(), Clamped(Text, Count), &Size) != 0;
}
