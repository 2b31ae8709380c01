// UpDownControl.cpp — the up-down ("msctls_updown32") and progress-bar
// ("msctls_progress32") window classes: small controls of one value each.
//
// An up-down click asks the parent first (UDN_DELTAPOS, non-zero refuses),
// then moves the position inside its range (or round it with UDS_WRAP),
// writes it into the buddy with UDS_SETBUDDYINT, and reports the new
// position as a scroll message (SB_THUMBPOSITION, then SB_ENDSCROLL when
// the button is released) whose lParam is the up-down's window.
#include <algorithm>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/CommonControls_p.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace commctrl {
namespace {

struct TUpDown {
  int Lower = 0, Upper = 100, Pos = 0;
  HWND Buddy = nullptr;
  int Pressed = 0;  // +1 the upper (right) button, -1 the lower (left), 0 none
};

struct TProgress {
  int Low = 0, High = 100, Pos = 0, Step = 10;
};

constexpr const char* UpDownProp = "SxUpDown";
constexpr const char* ProgressProp = "SxProgress";

void WriteBuddy(HWND Wnd, const TUpDown& U) {
  if (!U.Buddy || !IsWindow(U.Buddy) || !(GetWindowLongPtrA(Wnd, GWL_STYLE) & UDS_SETBUDDYINT)) return;
  std::string Text = std::to_string(U.Pos);
  if (!(GetWindowLongPtrA(Wnd, GWL_STYLE) & UDS_NOTHOUSANDS)) {
    // Thousands separators, as the control writes them.
    const bool Neg = U.Pos < 0;
    std::string Digits = Text.substr(Neg ? 1 : 0);
    for (int i = int(Digits.size()) - 3; i > 0; i -= 3) Digits.insert(size_t(i), 1, ',');
    Text = (Neg ? "-" : "") + Digits;
  }
  SetWindowTextA(U.Buddy, Text.c_str());
}

// Moves the position by Delta steps as a click does; false when refused or
// already at the end without wrapping.
bool Step(HWND Wnd, TUpDown& U, int Delta) {
  const DWORD Style = DWORD(GetWindowLongPtrA(Wnd, GWL_STYLE));
  // The upper button moves towards Upper, whichever way the range runs.
  if (U.Upper < U.Lower) Delta = -Delta;
  NMUPDOWN N;
  N.iPos = U.Pos;
  N.iDelta = Delta;
  if (Notify(Wnd, UDN_DELTAPOS, &N.hdr) != 0) return false;
  if (!IsWindow(Wnd)) return false;
  const int Lo = std::min(U.Lower, U.Upper), Hi = std::max(U.Lower, U.Upper);
  int New = U.Pos + N.iDelta;
  if (New > Hi) New = (Style & UDS_WRAP) ? Lo : Hi;
  if (New < Lo) New = (Style & UDS_WRAP) ? Hi : Lo;
  if (New == U.Pos) return false;
  U.Pos = New;
  WriteBuddy(Wnd, U);
  SendMessageA(GetParent(Wnd), (Style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, New),
               LPARAM(Wnd));
  return true;
}

void PlaceBesideBuddy(HWND Wnd, HWND Buddy) {
  const DWORD Style = DWORD(GetWindowLongPtrA(Wnd, GWL_STYLE));
  if (!(Style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || !Buddy) return;
  TRect B;
  GetWindowRect(Buddy, &B);
  HWND Parent = GetParent(Buddy);
  MapWindowPoints(nullptr, Parent, reinterpret_cast<TPoint*>(&B), 2);
  TRect Me;
  GetWindowRect(Wnd, &Me);
  const int W = Me.Width();
  // The buddy gives up the room the arrows take.
  if (Style & UDS_ALIGNRIGHT) {
    MoveWindow(Buddy, B.Left, B.Top, std::max(0, B.Width() - W + 2), B.Height(), TRUE);
    MoveWindow(Wnd, B.Right - W, B.Top, W, B.Height(), TRUE);
  } else {
    MoveWindow(Buddy, B.Left + W - 2, B.Top, std::max(0, B.Width() - W + 2), B.Height(), TRUE);
    MoveWindow(Wnd, B.Left, B.Top, W, B.Height(), TRUE);
  }
}

void PaintUpDown(HWND Wnd, HDC Dc, const TUpDown& U) {
  TRect C;
  GetClientRect(Wnd, &C);
  const bool Horz = GetWindowLongPtrA(Wnd, GWL_STYLE) & UDS_HORZ;
  const bool Enabled = IsWindowEnabled(Wnd);
  TRect First = C, Second = C;
  if (Horz) First.Right = Second.Left = C.Left + C.Width() / 2;
  else First.Bottom = Second.Top = C.Top + C.Height() / 2;
  // First is the upper (or left) button.
  const UINT Off = Enabled ? 0u : UINT(DFCS_INACTIVE);
  const UINT FirstArrow = Horz ? UINT(DFCS_SCROLLLEFT) : UINT(DFCS_SCROLLUP);
  const UINT SecondArrow = Horz ? UINT(DFCS_SCROLLRIGHT) : UINT(DFCS_SCROLLDOWN);
  const int FirstDir = Horz ? -1 : 1;
  DrawFrameControl(Dc, &First, DFC_SCROLL, FirstArrow | Off | (U.Pressed == FirstDir ? UINT(DFCS_PUSHED) : 0u));
  DrawFrameControl(Dc, &Second, DFC_SCROLL, SecondArrow | Off | (U.Pressed == -FirstDir ? UINT(DFCS_PUSHED) : 0u));
}

}  // namespace

LRESULT UpDownProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* S = ControlState<TUpDown>(Wnd, Msg, UpDownProp);
  if (!S) return DefWindowProcA(Wnd, Msg, W, L);
  TUpDown& U = *S;
  auto Clamp = [&](int P) { return std::clamp(P, std::min(U.Lower, U.Upper), std::max(U.Lower, U.Upper)); };
  switch (Msg) {
    case UDM_SETRANGE:
      U.Upper = SHORT(LOWORD(L));
      U.Lower = SHORT(HIWORD(L));
      U.Pos = Clamp(U.Pos);
      return 0;
    case UDM_GETRANGE: return MAKELRESULT(U.Upper, U.Lower);
    case UDM_SETRANGE32:
      U.Lower = int(W);
      U.Upper = int(L);
      U.Pos = Clamp(U.Pos);
      return 0;
    case UDM_GETRANGE32:
      if (W) *reinterpret_cast<int*>(W) = U.Lower;
      if (L) *reinterpret_cast<int*>(L) = U.Upper;
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      const int Old = U.Pos;
      U.Pos = Clamp(Msg == UDM_SETPOS ? SHORT(LOWORD(L)) : int(L));
      WriteBuddy(Wnd, U);
      return Msg == UDM_SETPOS ? LRESULT(SHORT(Old)) : LRESULT(Old);
    }
    case UDM_GETPOS: return MAKELRESULT(U.Pos, 0);
    case UDM_GETPOS32:
      if (L) *reinterpret_cast<BOOL*>(L) = FALSE;
      return U.Pos;
    case UDM_SETBUDDY: {
      HWND Old = U.Buddy;
      U.Buddy = reinterpret_cast<HWND>(W);
      PlaceBesideBuddy(Wnd, U.Buddy);
      WriteBuddy(Wnd, U);
      return LRESULT(Old);
    }
    case UDM_GETBUDDY: return LRESULT(U.Buddy);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT Ps;
      HDC Dc = W ? reinterpret_cast<HDC>(W) : BeginPaint(Wnd, &Ps);
      PaintUpDown(Wnd, Dc, U);
      if (!W) EndPaint(Wnd, &Ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(Wnd)) return 0;
      TRect C;
      GetClientRect(Wnd, &C);
      const bool Horz = GetWindowLongPtrA(Wnd, GWL_STYLE) & UDS_HORZ;
      const int X = GET_X_LPARAM(L), Y = GET_Y_LPARAM(L);
      // Up (or right) increases.
      const int Dir = Horz ? (X >= C.Width() / 2 ? 1 : -1) : (Y < C.Height() / 2 ? 1 : -1);
      U.Pressed = Dir;
      SetCapture(Wnd);
      InvalidateRect(Wnd, nullptr, FALSE);
      if (U.Buddy && IsWindow(U.Buddy)) SetFocus(U.Buddy);
      Step(Wnd, U, Dir);
      return 0;
    }
    case WM_LBUTTONUP:
      if (U.Pressed) {
        U.Pressed = 0;
        if (GetCapture() == Wnd) ReleaseCapture();
        InvalidateRect(Wnd, nullptr, FALSE);
        const bool Horz = GetWindowLongPtrA(Wnd, GWL_STYLE) & UDS_HORZ;
        SendMessageA(GetParent(Wnd), Horz ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, U.Pos), LPARAM(Wnd));
      }
      return 0;
    case WM_CAPTURECHANGED:
      U.Pressed = 0;
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      if (W == VK_UP || W == VK_RIGHT) Step(Wnd, U, 1);
      else if (W == VK_DOWN || W == VK_LEFT) Step(Wnd, U, -1);
      return 0;
    case WM_ENABLE: InvalidateRect(Wnd, nullptr, FALSE); return 0;
  }
  return DefWindowProcA(Wnd, Msg, W, L);
}

LRESULT ProgressProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* S = ControlState<TProgress>(Wnd, Msg, ProgressProp);
  if (!S) return DefWindowProcA(Wnd, Msg, W, L);
  TProgress& P = *S;
  auto SetPos = [&](int New) {
    const int Old = P.Pos;
    P.Pos = std::clamp(New, std::min(P.Low, P.High), std::max(P.Low, P.High));
    if (P.Pos != Old) InvalidateRect(Wnd, nullptr, TRUE);
    return LRESULT(Old);
  };
  switch (Msg) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
      const LRESULT Old = MAKELRESULT(P.Low, P.High);
      P.Low = Msg == PBM_SETRANGE ? int(LOWORD(L)) : int(W);
      P.High = Msg == PBM_SETRANGE ? int(HIWORD(L)) : int(L);
      SetPos(P.Pos);
      InvalidateRect(Wnd, nullptr, TRUE);
      return Old;
    }
    case PBM_GETRANGE:
      if (L) *reinterpret_cast<PBRANGE*>(L) = {P.Low, P.High};
      return W ? P.Low : P.High;
    case PBM_SETPOS: return SetPos(int(W));
    case PBM_GETPOS: return P.Pos;
    case PBM_DELTAPOS: return SetPos(P.Pos + int(W));
    case PBM_SETSTEP: {
      const int Old = P.Step;
      P.Step = int(W);
      return Old;
    }
    case PBM_STEPIT: {
      // Past the end the bar starts again from the bottom.
      int New = P.Pos + P.Step;
      if (New > std::max(P.Low, P.High)) New = P.Low + (New - std::max(P.Low, P.High)) - 1;
      if (New < std::min(P.Low, P.High)) New = std::max(P.Low, P.High);
      return SetPos(New);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT Ps;
      HDC Dc = W ? reinterpret_cast<HDC>(W) : BeginPaint(Wnd, &Ps);
      TRect C;
      GetClientRect(Wnd, &C);
      FillRect(Dc, &C, GetSysColorBrush(COLOR_BTNFACE));
      TRect In = C;
      InflateRect(&In, -1, -1);
      const DWORD Style = DWORD(GetWindowLongPtrA(Wnd, GWL_STYLE));
      const bool Vertical = Style & PBS_VERTICAL;
      const int Span = P.High - P.Low;
      const int Len = Vertical ? In.Height() : In.Width();
      const int Filled = Span > 0 ? int(std::int64_t(Len) * (P.Pos - P.Low) / Span) : 0;
      HBRUSH Bar = GetSysColorBrush(COLOR_HIGHLIGHT);
      if (Style & PBS_SMOOTH) {
        TRect F = In;
        if (Vertical) F.Top = In.Bottom - Filled;
        else F.Right = In.Left + Filled;
        FillRect(Dc, &F, Bar);
      } else {
        // Classic blocks: two thirds of the bar's thickness wide, 2 apart.
        const int Thick = Vertical ? In.Width() : In.Height();
        const int Block = std::max(2, Thick * 2 / 3);
        for (int At = 0; At < Filled; At += Block + 2) {
          const int End = std::min(At + Block, Len);
          TRect F = Vertical ? TRect{In.Left, In.Bottom - End, In.Right, In.Bottom - At}
                             : TRect{In.Left + At, In.Top, In.Left + End, In.Bottom};
          FillRect(Dc, &F, Bar);
        }
      }
      if (!W) EndPaint(Wnd, &Ps);
      return 0;
    }
  }
  return DefWindowProcA(Wnd, Msg, W, L);
}

}  // namespace commctrl
