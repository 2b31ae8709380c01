#include "platform/win/ScrollBars.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
DWORD StyleOf(int Bar) { return Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

TScrollState* StateOf(HWND H, int Bar) {
  TWindow* W = WinPtr(H);
  if (!W || (Bar != SB_HORZ && Bar != SB_VERT)) return nullptr;
  return &W->Scroll[Bar];
}

int MaxPos(const TScrollState& S) {
  return S.Page ? std::max(S.Min, S.Max - int(S.Page) + 1) : S.Max;
}

bool CanScroll(const TScrollState& S) {
  return S.Max > S.Min && (S.Page == 0 || int(S.Page) <= S.Max - S.Min);
}

void FrameChanged(HWND H) {
  SetWindowPos(H, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SetBarStyle(HWND H, int Bar, bool Show) {
  TWindow* W = WinPtr(H);
  if (!W) return;
  DWORD Bits = Bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : StyleOf(Bar);
  DWORD New = Show ? (W->Style | Bits) : (W->Style & ~Bits);
  if (New == W->Style) return;
  W->Style = New;
  FrameChanged(H);
}

// The bar's rectangle in window coordinates.
TRect BarRect(const TWindow& W, int Bar) {
  TRect C = W.Client;
  if (Bar == SB_VERT) return {C.Right, C.Top, C.Right + GetSystemMetrics(SM_CXVSCROLL), C.Bottom};
  return {C.Left, C.Bottom, C.Right, C.Bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

struct TThumb {
  int Arrow, Track, Top, Bottom;  // along the bar, from its start
};

TThumb ThumbOf(const TWindow& W, int Bar) {
  const TScrollState& S = W.Scroll[Bar];
  TRect R = BarRect(W, Bar);
  int Len = Bar == SB_VERT ? R.Height() : R.Width();
  int Arrow = std::min(GetSystemMetrics(Bar == SB_VERT ? SM_CYVSCROLL : SM_CXHSCROLL), Len / 2);
  int Track = std::max(0, Len - 2 * Arrow);
  TThumb T{Arrow, Track, Arrow, Arrow};
  int Range = S.Max - S.Min + 1;
  if (!CanScroll(S) || Track < 8) return T;
  int Size = S.Page ? std::max(8, int(std::int64_t(Track) * S.Page / Range)) : GetSystemMetrics(SM_CXHTHUMB);
  Size = std::min(Size, Track);
  int Span = MaxPos(S) - S.Min;
  int Off = Span > 0 ? int(std::int64_t(Track - Size) * (S.Pos - S.Min) / Span) : 0;
  T.Top = Arrow + Off;
  T.Bottom = T.Top + Size;
  return T;
}

void PaintBar(HDC Dc, const TWindow& W, int Bar) {
  TRect R = BarRect(W, Bar);
  if (R.IsEmpty()) return;
  HBRUSH Face = GetSysColorBrush(COLOR_3DFACE);
  FillRect(Dc, &R, GetSysColorBrush(COLOR_SCROLLBAR));
  TThumb T = ThumbOf(W, Bar);
  const bool Flat = W.FlatScrollBars && W.Scroll[Bar].FlatMode != FSB_REGULAR_MODE;
  auto Box = [&](TRect B) {
    FillRect(Dc, &B, Face);
    if (Flat) {
      FrameRect(Dc, &B, GetSysColorBrush(COLOR_3DSHADOW));
      return;
    }
    TRect Edge{B.Left, B.Bottom - 1, B.Right, B.Bottom};
    FillRect(Dc, &Edge, GetSysColorBrush(COLOR_3DDKSHADOW));
    Edge = {B.Right - 1, B.Top, B.Right, B.Bottom};
    FillRect(Dc, &Edge, GetSysColorBrush(COLOR_3DDKSHADOW));
    Edge = {B.Left, B.Top, B.Right - 1, B.Top + 1};
    FillRect(Dc, &Edge, GetSysColorBrush(COLOR_3DHILIGHT));
    Edge = {B.Left, B.Top, B.Left + 1, B.Bottom - 1};
    FillRect(Dc, &Edge, GetSysColorBrush(COLOR_3DHILIGHT));
  };
  // A solid triangle pointing the way the button scrolls, grey when the
  // bar can't go that way.
  const TScrollState& S = W.Scroll[Bar];
  const bool Live = CanScroll(S) && S.Disabled != ESB_DISABLE_BOTH;
  auto Glyph = [&](TRect B, bool Forward, bool Enabled) {
    const int N = std::max(2, std::min(B.Width(), B.Height()) / 4);
    const int Cx = (B.Left + B.Right) / 2, Cy = (B.Top + B.Bottom) / 2;
    HBRUSH Ink = GetSysColorBrush(Enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int I = 0; I < N; ++I) {
      const int Along = Forward ? N / 2 - I : I - N / 2;  // the tip's row first
      TRect Line = Bar == SB_VERT ? TRect{Cx - I, Cy + Along, Cx + I + 1, Cy + Along + 1}
                                  : TRect{Cx + Along, Cy - I, Cx + Along + 1, Cy + I + 1};
      FillRect(Dc, &Line, Ink);
    }
  };
  const bool BackOn = Live && S.Disabled != ESB_DISABLE_LTUP;
  const bool ForthOn = Live && S.Disabled != ESB_DISABLE_RTDN;
  if (Bar == SB_VERT) {
    const TRect Up{R.Left, R.Top, R.Right, R.Top + T.Arrow}, Down{R.Left, R.Bottom - T.Arrow, R.Right, R.Bottom};
    Box(Up);
    Glyph(Up, false, BackOn);
    Box(Down);
    Glyph(Down, true, ForthOn);
    if (T.Bottom > T.Top) Box({R.Left, R.Top + T.Top, R.Right, R.Top + T.Bottom});
  } else {
    const TRect Left{R.Left, R.Top, R.Left + T.Arrow, R.Bottom}, Right{R.Right - T.Arrow, R.Top, R.Right, R.Bottom};
    Box(Left);
    Glyph(Left, false, BackOn);
    Box(Right);
    Glyph(Right, true, ForthOn);
    if (T.Bottom > T.Top) Box({R.Left + T.Top, R.Top, R.Left + T.Bottom, R.Bottom});
  }
}
}  // namespace

int SetScrollInfo(HWND H, int Bar, const SCROLLINFO* Si, BOOL Redraw) {
  if (Bar == SB_CTL) return IsWindow(H) && Si ? int(SendMessageA(H, SBM_SETSCROLLINFO, Redraw, LPARAM(Si))) : 0;
  TScrollState* S = StateOf(H, Bar);
  if (!S || !Si) return 0;
  if (Si->fMask & SIF_RANGE) {
    S->Min = Si->nMin;
    S->Max = Si->nMax;
  }
  if (Si->fMask & SIF_PAGE) S->Page = Si->nPage;
  if (S->Max < S->Min) S->Max = S->Min;
  S->Page = std::min<UINT>(S->Page, UINT(S->Max - S->Min + 1));
  if (Si->fMask & SIF_POS) S->Pos = Si->nPos;
  S->Pos = std::clamp(S->Pos, S->Min, MaxPos(*S));
  int Pos = S->Pos;
  if (Si->fMask & (SIF_RANGE | SIF_PAGE)) {
    bool Can = CanScroll(*S);
    if (Si->fMask & SIF_DISABLENOSCROLL) {
      SetBarStyle(H, Bar, true);
      S = StateOf(H, Bar);
      if (S) S->Disabled = Can ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    } else {
      SetBarStyle(H, Bar, Can);
      S = StateOf(H, Bar);
      if (S && Can && S->Disabled == ESB_DISABLE_BOTH) S->Disabled = ESB_ENABLE_BOTH;
    }
  }
  if (Redraw && WinIsVisibleDeep(H)) NcPaint(H);
  return Pos;
}

BOOL GetScrollInfo(HWND H, int Bar, SCROLLINFO* Si) {
  if (Bar == SB_CTL) return IsWindow(H) && Si ? BOOL(SendMessageA(H, SBM_GETSCROLLINFO, 0, LPARAM(Si))) : FALSE;
  TScrollState* S = StateOf(H, Bar);
  TWindow* W = WinPtr(H);
  if (!S || !Si || !W) return FALSE;
  if (!(W->Style & StyleOf(Bar)) && S->Max == 100 && S->Min == 0 && !S->Pos && !S->Page) {
    // A window that never had the bar has no scroll information.
    SetLastError(ERROR_NO_SCROLLBARS);
    return FALSE;
  }
  if (Si->fMask & SIF_RANGE) {
    Si->nMin = S->Min;
    Si->nMax = S->Max;
  }
  if (Si->fMask & SIF_PAGE) Si->nPage = S->Page;
  if (Si->fMask & SIF_POS) Si->nPos = S->Pos;
  if (Si->fMask & SIF_TRACKPOS) Si->nTrackPos = S->TrackPos;
  return TRUE;
}

int SetScrollPos(HWND H, int Bar, int Pos, BOOL Redraw) {
  if (Bar == SB_CTL) return IsWindow(H) ? int(SendMessageA(H, SBM_SETPOS, WPARAM(Pos), Redraw)) : 0;
  TScrollState* S = StateOf(H, Bar);
  if (!S) return 0;
  int Old = S->Pos;
  SCROLLINFO Si;
  Si.fMask = SIF_POS;
  Si.nPos = Pos;
  SetScrollInfo(H, Bar, &Si, Redraw);
  return Old;
}

int GetScrollPos(HWND H, int Bar) {
  if (Bar == SB_CTL) return IsWindow(H) ? int(SendMessageA(H, SBM_GETPOS, 0, 0)) : 0;
  TScrollState* S = StateOf(H, Bar);
  return S ? S->Pos : 0;
}

BOOL SetScrollRange(HWND H, int Bar, int Min, int Max, BOOL Redraw) {
  if (Bar != SB_CTL && !StateOf(H, Bar)) return FALSE;
  if (Bar == SB_CTL && !IsWindow(H)) return FALSE;
  if (std::int64_t(Max) - Min > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE;
  Si.nMin = Min;
  Si.nMax = Max;
  SetScrollInfo(H, Bar, &Si, Redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND H, int Bar, int* Min, int* Max) {
  if (Bar == SB_CTL) {
    if (!IsWindow(H) || !Min || !Max) return FALSE;
    SendMessageA(H, SBM_GETRANGE, WPARAM(Min), LPARAM(Max));
    return TRUE;
  }
  TScrollState* S = StateOf(H, Bar);
  if (!S || !Min || !Max) return FALSE;
  *Min = S->Min;
  *Max = S->Max;
  return TRUE;
}

BOOL ShowScrollBar(HWND H, int Bar, BOOL Show) {
  if (Bar == SB_CTL) return IsWindow(H) && ShowWindow(H, Show ? SW_SHOW : SW_HIDE) >= 0;
  if (!IsWindow(H) || (Bar != SB_HORZ && Bar != SB_VERT && Bar != SB_BOTH)) return FALSE;
  SetBarStyle(H, Bar, Show);
  return TRUE;
}

BOOL EnableScrollBar(HWND H, UINT Bar, UINT Arrows) {
  TWindow* W = WinPtr(H);
  if (!W) return FALSE;
  if (Bar == SB_CTL) return BOOL(SendMessageA(H, SBM_ENABLE_ARROWS, Arrows, 0));
  bool Changed = false;
  for (int B : {int(SB_HORZ), int(SB_VERT)})
    if (int(Bar) == B || Bar == SB_BOTH) {
      Changed |= W->Scroll[B].Disabled != Arrows;
      W->Scroll[B].Disabled = Arrows;
    }
  if (Changed) NcPaint(H);
  return Changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND H, LONG Object, SCROLLBARINFO* Info) {
  TWindow* W = WinPtr(H);
  if (!W || !Info || (Object != OBJID_HSCROLL && Object != OBJID_VSCROLL)) return FALSE;
  int Bar = Object == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
  TRect R = BarRect(*W, Bar);
  TRect Scr = WinScreenRect(*W);
  Info->rcScrollBar = {R.Left + Scr.Left, R.Top + Scr.Top, R.Right + Scr.Left, R.Bottom + Scr.Top};
  TThumb T = ThumbOf(*W, Bar);
  Info->dxyLineButton = T.Arrow;
  Info->xyThumbTop = T.Top;
  Info->xyThumbBottom = T.Bottom;
  for (DWORD& S : Info->rgstate) S = 0;
  if (!(W->Style & StyleOf(Bar))) Info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (W->Scroll[Bar].Disabled == ESB_DISABLE_BOTH || !CanScroll(W->Scroll[Bar]))
    Info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return TRUE;
}

BOOL InitializeFlatSB(HWND H) {
  TWindow* W = WinPtr(H);
  if (!W) return FALSE;
  W->FlatScrollBars = true;
  return TRUE;
}

HRESULT UninitializeFlatSB(HWND H) {
  TWindow* W = WinPtr(H);
  if (!W) return E_FAIL;
  W->FlatScrollBars = false;
  for (TScrollState& S : W->Scroll) S.FlatMode = FSB_REGULAR_MODE;
  FrameChanged(H);
  return S_OK;
}

BOOL FlatSB_SetScrollProp(HWND H, UINT Index, INT_PTR Value, BOOL Redraw) {
  TWindow* W = WinPtr(H);
  if (!W || !W->FlatScrollBars) return FALSE;
  if (Index != WSB_PROP_VSTYLE && Index != WSB_PROP_HSTYLE) return FALSE;
  if (Value != FSB_REGULAR_MODE && Value != FSB_ENCARTA_MODE && Value != FSB_FLAT_MODE) return FALSE;
  W->Scroll[Index == WSB_PROP_VSTYLE ? SB_VERT : SB_HORZ].FlatMode = Value;
  if (Redraw) FrameChanged(H);
  return TRUE;
}

BOOL FlatSB_GetScrollProp(HWND H, UINT Index, int* Value) {
  TWindow* W = WinPtr(H);
  if (!W || !W->FlatScrollBars || !Value) return FALSE;
  if (Index != WSB_PROP_VSTYLE && Index != WSB_PROP_HSTYLE) return FALSE;
  *Value = int(W->Scroll[Index == WSB_PROP_VSTYLE ? SB_VERT : SB_HORZ].FlatMode);
  return TRUE;
}

void ScrollBarsPaint(HWND H, HDC Dc) {
  TWindow* W = WinPtr(H);
  if (!W) return;
  if (W->Style & WS_VSCROLL) PaintBar(Dc, *W, SB_VERT);
  if (W->Style & WS_HSCROLL) PaintBar(Dc, *W, SB_HORZ);
  if ((W->Style & WS_VSCROLL) && (W->Style & WS_HSCROLL)) {
    TRect V = BarRect(*W, SB_VERT), Hz = BarRect(*W, SB_HORZ);
    TRect Corner{V.Left, Hz.Top, V.Right, Hz.Bottom};
    FillRect(Dc, &Corner, GetSysColorBrush(COLOR_3DFACE));
  }
}

void ScrollBarTrack(HWND H, int Bar, TPoint Screen) {
  TWindow* W = WinPtr(H);
  if (!W || W->Scroll[Bar].Disabled == ESB_DISABLE_BOTH) return;
  UINT Msg = Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  TRect R = BarRect(*W, Bar);
  TRect Scr = WinScreenRect(*W);
  int At = Bar == SB_VERT ? Screen.Y - Scr.Top - R.Top : Screen.X - Scr.Left - R.Left;
  int Len = Bar == SB_VERT ? R.Height() : R.Width();
  TThumb T = ThumbOf(*W, Bar);
  bool OnThumb = At >= T.Top && At < T.Bottom;
  int Code = At < T.Arrow ? SB_LINEUP : At >= Len - T.Arrow ? SB_LINEDOWN
             : At < T.Top ? SB_PAGEUP : SB_PAGEDOWN;
  if (!OnThumb) WinSend(H, Msg, MAKEWPARAM(Code, 0), 0);
  // Track until the button goes up: the thumb follows the mouse.
  SetCapture(H);
  int Grab = At - T.Top;
  MSG M;
  while (IsWindow(H) && GetCapture() == H) {
    int Rr = GetMessageA(&M, nullptr, 0, 0);
    if (Rr <= 0) {
      if (Rr == 0) PostQuitMessage(int(M.wParam));
      break;
    }
    if (M.message == WM_LBUTTONUP || M.message == WM_NCLBUTTONUP) break;
    if (M.message == WM_KEYDOWN && M.wParam == VK_ESCAPE) break;
    if (M.message == WM_MOUSEMOVE && OnThumb) {
      W = WinPtr(H);
      if (!W) break;
      Scr = WinScreenRect(*W);
      int P = (Bar == SB_VERT ? M.pt.Y - Scr.Top - R.Top : M.pt.X - Scr.Left - R.Left) - Grab;
      TThumb Now = ThumbOf(*W, Bar);
      TScrollState& S = W->Scroll[Bar];
      int Room = Now.Track - (Now.Bottom - Now.Top);
      int Span = MaxPos(S) - S.Min;
      int Pos = Room > 0 ? S.Min + int(std::int64_t(std::clamp(P - Now.Arrow, 0, Room)) * Span / Room) : S.Min;
      S.TrackPos = Pos;
      WinSend(H, Msg, MAKEWPARAM(SB_THUMBTRACK, Pos), 0);
      continue;
    }
    if (M.message >= WM_MOUSEFIRST && M.message <= WM_MOUSELAST) continue;
    TranslateMessage(&M);
    DispatchMessageA(&M);
  }
  if (IsWindow(H) && GetCapture() == H) ReleaseCapture();
  if (!IsWindow(H)) return;
  if (OnThumb)
    if (TWindow* Wn = WinPtr(H)) WinSend(H, Msg, MAKEWPARAM(SB_THUMBPOSITION, Wn->Scroll[Bar].TrackPos), 0);
  if (IsWindow(H)) WinSend(H, Msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}
