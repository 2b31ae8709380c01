// ScrollBarControl.cpp — the scroll-bar control ("ScrollBar" class): a bar
// of its own window, horizontal or vertical (SBS_VERT). Like the bars of a
// window it only reports what the user does (WM_HSCROLL/WM_VSCROLL to the
// parent with its own window in lParam); the parent moves the position.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/CommonControls_p.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace commctrl {
namespace {

struct TBar {
  int Min = 0, Max = 100, Pos = 0, TrackPos = 0;
  UINT Page = 0;
  UINT Disabled = ESB_ENABLE_BOTH;
  bool Tracking = false;
  int Grab = 0;  // where the thumb was taken, from its start
};

constexpr const char* BarProp = "SxScrollBarCtl";

bool Vertical(HWND Wnd) { return GetWindowLongPtrA(Wnd, GWL_STYLE) & SBS_VERT; }
int MaxPos(const TBar& B) { return B.Page ? std::max(B.Min, B.Max - int(B.Page) + 1) : B.Max; }

struct TLayout {
  int Len, Arrow, ThumbTop, ThumbBottom;  // along the bar
};

TLayout LayoutOf(HWND Wnd, const TBar& B, int Pos) {
  TRect C;
  GetClientRect(Wnd, &C);
  const bool V = Vertical(Wnd);
  const int Len = V ? C.Height() : C.Width();
  const int Thick = V ? C.Width() : C.Height();
  const int Arrow = std::min(Thick, Len / 2);
  const int Track = std::max(0, Len - 2 * Arrow);
  TLayout L{Len, Arrow, Arrow, Arrow};
  const int Range = B.Max - B.Min + 1;
  if (B.Max <= B.Min || Track < 8 || (B.Page && int(B.Page) >= Range)) return L;
  int Size = B.Page ? std::max(8, int(std::int64_t(Track) * B.Page / Range)) : std::min(Thick, Track);
  Size = std::min(Size, Track);
  const int Span = MaxPos(B) - B.Min;
  const int Off = Span > 0 ? int(std::int64_t(Track - Size) * (Pos - B.Min) / Span) : 0;
  L.ThumbTop = Arrow + Off;
  L.ThumbBottom = L.ThumbTop + Size;
  return L;
}

TRect Part(HWND Wnd, int From, int To) {
  TRect C;
  GetClientRect(Wnd, &C);
  return Vertical(Wnd) ? TRect{0, From, C.Right, To} : TRect{From, 0, To, C.Bottom};
}

void Paint(HWND Wnd, HDC Dc, const TBar& B) {
  TRect C;
  GetClientRect(Wnd, &C);
  const TLayout L = LayoutOf(Wnd, B, B.Tracking ? B.TrackPos : B.Pos);
  const bool V = Vertical(Wnd);
  const bool Off = !IsWindowEnabled(Wnd) || B.Disabled == ESB_DISABLE_BOTH;
  FillRect(Dc, &C, GetSysColorBrush(COLOR_SCROLLBAR));
  TRect First = Part(Wnd, 0, L.Arrow), Last = Part(Wnd, L.Len - L.Arrow, L.Len);
  const UINT Inactive = Off ? UINT(DFCS_INACTIVE) : 0u;
  DrawFrameControl(Dc, &First, DFC_SCROLL, (V ? UINT(DFCS_SCROLLUP) : UINT(DFCS_SCROLLLEFT)) | Inactive);
  DrawFrameControl(Dc, &Last, DFC_SCROLL, (V ? UINT(DFCS_SCROLLDOWN) : UINT(DFCS_SCROLLRIGHT)) | Inactive);
  if (!Off && L.ThumbBottom > L.ThumbTop) {
    TRect T = Part(Wnd, L.ThumbTop, L.ThumbBottom);
    FillRect(Dc, &T, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(Dc, &T, EDGE_RAISED, BF_RECT);
  }
}

void Report(HWND Wnd, int Code, int Pos = 0) {
  SendMessageA(GetParent(Wnd), Vertical(Wnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, Pos), LPARAM(Wnd));
}

int SetInfo(HWND Wnd, TBar& B, const SCROLLINFO& Si, bool Redraw) {
  if (Si.fMask & SIF_RANGE) {
    B.Min = Si.nMin;
    B.Max = std::max(Si.nMin, Si.nMax);
  }
  if (Si.fMask & SIF_PAGE) B.Page = std::min<UINT>(Si.nPage, UINT(B.Max - B.Min + 1));
  if (Si.fMask & SIF_POS) B.Pos = Si.nPos;
  B.Pos = std::clamp(B.Pos, B.Min, MaxPos(B));
  if (Redraw) InvalidateRect(Wnd, nullptr, TRUE);
  return B.Pos;
}

}  // namespace

LRESULT ScrollBarProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* BP = ControlState<TBar>(Wnd, Msg, BarProp);
  if (!BP) return DefWindowProcA(Wnd, Msg, W, L);
  TBar& B = *BP;
  switch (Msg) {
    case SBM_SETSCROLLINFO: return SetInfo(Wnd, B, *reinterpret_cast<const SCROLLINFO*>(L), W != 0);
    case SBM_GETSCROLLINFO: {
      auto& Si = *reinterpret_cast<SCROLLINFO*>(L);
      if (Si.fMask & SIF_RANGE) {
        Si.nMin = B.Min;
        Si.nMax = B.Max;
      }
      if (Si.fMask & SIF_PAGE) Si.nPage = B.Page;
      if (Si.fMask & SIF_POS) Si.nPos = B.Pos;
      if (Si.fMask & SIF_TRACKPOS) Si.nTrackPos = B.Tracking ? B.TrackPos : B.Pos;
      return TRUE;
    }
    case SBM_SETPOS: {
      const int Old = B.Pos;
      SCROLLINFO Si;
      Si.fMask = SIF_POS;
      Si.nPos = int(W);
      SetInfo(Wnd, B, Si, L != 0);
      return Old;
    }
    case SBM_GETPOS: return B.Pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const int Old = B.Pos;
      SCROLLINFO Si;
      Si.fMask = SIF_RANGE;
      Si.nMin = int(W);
      Si.nMax = int(L);
      SetInfo(Wnd, B, Si, Msg == SBM_SETRANGEREDRAW);
      return Old;
    }
    case SBM_GETRANGE:
      if (W) *reinterpret_cast<int*>(W) = B.Min;
      if (L) *reinterpret_cast<int*>(L) = B.Max;
      return 0;
    case SBM_ENABLE_ARROWS: {
      const bool Changed = B.Disabled != UINT(W);
      B.Disabled = UINT(W);
      InvalidateRect(Wnd, nullptr, TRUE);
      return Changed;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT Ps;
      HDC Dc = W ? reinterpret_cast<HDC>(W) : BeginPaint(Wnd, &Ps);
      Paint(Wnd, Dc, B);
      if (!W) EndPaint(Wnd, &Ps);
      return 0;
    }
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(Wnd) || B.Disabled == ESB_DISABLE_BOTH) return 0;
      const TLayout Lay = LayoutOf(Wnd, B, B.Pos);
      const int At = Vertical(Wnd) ? GET_Y_LPARAM(L) : GET_X_LPARAM(L);
      if (At < Lay.Arrow) Report(Wnd, SB_LINEUP);
      else if (At >= Lay.Len - Lay.Arrow) Report(Wnd, SB_LINEDOWN);
      else if (Lay.ThumbBottom > Lay.ThumbTop && At >= Lay.ThumbTop && At < Lay.ThumbBottom) {
        B.Tracking = true;
        B.TrackPos = B.Pos;
        B.Grab = At - Lay.ThumbTop;
        SetCapture(Wnd);
        return 0;
      } else if (Lay.ThumbBottom > Lay.ThumbTop) {
        Report(Wnd, At < Lay.ThumbTop ? SB_PAGEUP : SB_PAGEDOWN);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!B.Tracking) return 0;
      const TLayout Lay = LayoutOf(Wnd, B, B.Pos);
      const int Size = Lay.ThumbBottom - Lay.ThumbTop;
      const int Track = Lay.Len - 2 * Lay.Arrow - Size;
      const int At = (Vertical(Wnd) ? GET_Y_LPARAM(L) : GET_X_LPARAM(L)) - B.Grab - Lay.Arrow;
      const int Span = MaxPos(B) - B.Min;
      const int Pos = Track > 0 ? B.Min + int(std::int64_t(std::clamp(At, 0, Track)) * Span / Track) : B.Min;
      if (Pos != B.TrackPos) {
        B.TrackPos = Pos;
        InvalidateRect(Wnd, nullptr, TRUE);
        Report(Wnd, SB_THUMBTRACK, Pos);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (B.Tracking) {
        B.Tracking = false;
        if (GetCapture() == Wnd) ReleaseCapture();
        Report(Wnd, SB_THUMBPOSITION, B.TrackPos);
      }
      Report(Wnd, SB_ENDSCROLL);
      return 0;
    case WM_CAPTURECHANGED:
      if (B.Tracking) {
        B.Tracking = false;
        InvalidateRect(Wnd, nullptr, TRUE);
      }
      return 0;
    case WM_KEYDOWN:
      switch (W) {
        case VK_UP:
        case VK_LEFT: Report(Wnd, SB_LINEUP); break;
        case VK_DOWN:
        case VK_RIGHT: Report(Wnd, SB_LINEDOWN); break;
        case VK_PRIOR: Report(Wnd, SB_PAGEUP); break;
        case VK_NEXT: Report(Wnd, SB_PAGEDOWN); break;
        case VK_HOME: Report(Wnd, SB_TOP); break;
        case VK_END: Report(Wnd, SB_BOTTOM); break;
        default: return 0;
      }
      Report(Wnd, SB_ENDSCROLL);
      return 0;
  }
  return DefWindowProcA(Wnd, Msg, W, L);
}

}  // namespace commctrl
