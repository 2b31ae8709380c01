#include "platform/win/Input.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/gdi/DcObject.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Display.h"
#include "platform/win/Hooks.h"
#include "platform/win/HotKeys.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {

bool Down(const BYTE* S, int Vk) { return S[Vk & 0xFF] & 0x80; }

// Key state of one key and its left/right twins move together.
void SetKey(BYTE* S, int Vk, bool IsDown, bool Toggle) {
  auto One = [&](int K) {
    if (IsDown) {
      if (Toggle && !(S[K] & 0x80)) S[K] ^= 0x01;
      S[K] |= 0x80;
    } else {
      S[K] &= ~0x80;
    }
  };
  One(Vk);
  switch (Vk) {
    case VK_SHIFT: One(0xA0); break;
    case VK_CONTROL: One(0xA2); break;
    case VK_MENU: One(0xA4); break;
    case 0xA0: case 0xA1: One(VK_SHIFT); break;
    case 0xA2: case 0xA3: One(VK_CONTROL); break;
    case 0xA4: case 0xA5: One(VK_MENU); break;
    default: break;
  }
}

WPARAM KeysFrom(const BYTE* S) {
  WPARAM K = 0;
  if (Down(S, VK_LBUTTON)) K |= MK_LBUTTON;
  if (Down(S, VK_RBUTTON)) K |= MK_RBUTTON;
  if (Down(S, VK_MBUTTON)) K |= MK_MBUTTON;
  if (Down(S, VK_SHIFT)) K |= MK_SHIFT;
  if (Down(S, VK_CONTROL)) K |= MK_CONTROL;
  return K;
}

const int ButtonVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};

// Set-1 scan codes of the keys a test types; 0 for the rest.
UINT ScanOf(UINT Vk) {
  static const struct { BYTE Vk, Scan; } Map[] = {
      {VK_ESCAPE, 0x01}, {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06},
      {'6', 0x07}, {'7', 0x08}, {'8', 0x09}, {'9', 0x0A}, {'0', 0x0B}, {0xBD, 0x0C},
      {0xBB, 0x0D}, {VK_BACK, 0x0E}, {VK_TAB, 0x0F}, {'Q', 0x10}, {'W', 0x11}, {'E', 0x12},
      {'R', 0x13}, {'T', 0x14}, {'Y', 0x15}, {'U', 0x16}, {'I', 0x17}, {'O', 0x18},
      {'P', 0x19}, {0xDB, 0x1A}, {0xDD, 0x1B}, {VK_RETURN, 0x1C}, {VK_CONTROL, 0x1D},
      {'A', 0x1E}, {'S', 0x1F}, {'D', 0x20}, {'F', 0x21}, {'G', 0x22}, {'H', 0x23},
      {'J', 0x24}, {'K', 0x25}, {'L', 0x26}, {0xBA, 0x27}, {0xDE, 0x28}, {0xC0, 0x29},
      {VK_SHIFT, 0x2A}, {0xDC, 0x2B}, {'Z', 0x2C}, {'X', 0x2D}, {'C', 0x2E}, {'V', 0x2F},
      {'B', 0x30}, {'N', 0x31}, {'M', 0x32}, {0xBC, 0x33}, {0xBE, 0x34}, {0xBF, 0x35},
      {VK_MENU, 0x38}, {VK_SPACE, 0x39}, {VK_CAPITAL, 0x3A}, {0x70, 0x3B}, {0x71, 0x3C},
      {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40}, {0x76, 0x41}, {0x77, 0x42},
      {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58}, {VK_HOME, 0x47}, {VK_UP, 0x48},
      {VK_PRIOR, 0x49}, {VK_LEFT, 0x4B}, {VK_RIGHT, 0x4D}, {VK_END, 0x4F}, {VK_DOWN, 0x50},
      {VK_NEXT, 0x51}, {VK_INSERT, 0x52}, {VK_DELETE, 0x53}, {VK_APPS, 0x5D},
  };
  for (auto& E : Map)
    if (E.Vk == Vk) return E.Scan;
  return 0;
}

bool Extended(UINT Vk) {
  switch (Vk) {
    case VK_HOME: case VK_UP: case VK_PRIOR: case VK_LEFT: case VK_RIGHT: case VK_END:
    case VK_DOWN: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
      return true;
    default: return false;
  }
}

bool InShape(const TWindow& W, TPoint Pt) {
  TRect R = WinScreenRect(W);
  if (!R.Contains(Pt)) return false;
  if (W.WindowRgn) return PtInRegion(W.WindowRgn, Pt.X - R.Left, Pt.Y - R.Top);
  return true;
}

// Mouse target: the top-level window under Pt, then its deepest visible,
// enabled child; HTTRANSPARENT passes to the next candidate. A disabled
// top-level window takes the message with HTERROR and no WM_NCHITTEST.
bool HitTarget(TPoint Pt, HWND& Target, int& Hit) {
  std::vector<HWND> Cands;
  std::function<void(HWND)> Collect = [&](HWND H) {
    TWindow* W = WinPtr(H);
    if (!W) return;
    for (HWND C : W->Children) {
      TWindow* CW = WinPtr(C);
      if (!CW || !(CW->Style & WS_VISIBLE) || !InShape(*CW, Pt)) continue;
      if (CW->Style & WS_DISABLED) {
        if (!(CW->Style & WS_CHILD)) {
          Cands.push_back(C);
          return;
        }
        continue;
      }
      if (WinScreenClient(*CW).Contains(Pt)) Collect(C);
      Cands.push_back(C);
      if (!(CW->Style & WS_CHILD)) return;  // only the topmost top-level window
    }
  };
  Collect(GetDesktopWindow());
  for (HWND H : Cands) {
    TWindow* W = WinPtr(H);
    if (!W) continue;
    if (W->Style & WS_DISABLED) {
      Target = H;
      Hit = HTERROR;
      return true;
    }
    LRESULT R = WinSend(H, WM_NCHITTEST, 0, MAKELPARAM(Pt.X, Pt.Y));
    if (!IsWindow(H)) continue;
    if (R == HTTRANSPARENT) continue;
    Target = H;
    Hit = int(R);
    return true;
  }
  return false;
}

void CheckLeave(HWND Target, int Hit) {
  auto& St = WinState();
  if (!St.TrackLeave) return;
  bool NonClient = St.TrackFlags & TME_NONCLIENT;
  bool Stay = Target == St.TrackLeave && (NonClient ? Hit != HTCLIENT : Hit == HTCLIENT);
  if (Stay) return;
  HWND H = St.TrackLeave;
  St.TrackLeave = nullptr;
  St.TrackFlags = 0;
  if (IsWindow(H)) PostMessageA(H, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

UINT HoverParam(UINT Action) {
  UINT V = 0;
  SystemParametersInfoA(Action, 0, &V, 0);
  return V;
}

// The hover rectangle: the system's hover size centred on the point.
TRect HoverRectAt(TPoint Pt) {
  int W = int(HoverParam(SPI_GETMOUSEHOVERWIDTH)), H = int(HoverParam(SPI_GETMOUSEHOVERHEIGHT));
  return TRect{Pt.X - W / 2, Pt.Y - H / 2, Pt.X - W / 2 + W, Pt.Y - H / 2 + H};
}

// A mouse event ends hover tracking when it lands elsewhere (another window
// or the other area) and restarts the wait when it leaves the hover
// rectangle, so the message comes only after the pointer has rested.
void CheckHover(HWND Target, int Hit, const TRawInput& E) {
  auto& H = WinState().Hover;
  if (!H.Wnd) return;
  bool Stay = Target == H.Wnd && (H.NonClient ? Hit != HTCLIENT : Hit == HTCLIENT || Hit == HTERROR);
  if (!Stay) {
    H = {};
    return;
  }
  if (!H.Rect.Contains(E.Pt)) {
    H.Rect = HoverRectAt(E.Pt);
    H.Due = E.Time + H.Time;
  }
}

// Turns a raw mouse event into its message (target, hit code, double
// clicks). False when nothing of the application is under the point.
bool CookMouse(TRawInput& E) {
  auto& St = WinState();
  HWND Target = nullptr;
  int Hit = HTCLIENT;
  if (E.Kind == TRawInput::Wheel) {
    Target = St.Focus && IsWindow(St.Focus) ? St.Focus : St.Active;
    if (!IsWindow(Target)) return false;
    E.Msg.hwnd = Target;
    E.Msg.message = WM_MOUSEWHEEL;
    E.Msg.wParam = MAKEWPARAM(int(E.Keys), E.Delta);
    E.Msg.lParam = MAKELPARAM(E.Pt.X, E.Pt.Y);
    E.Hit = HTCLIENT;
    return true;
  }
  if (St.Capture && IsWindow(St.Capture)) {
    Target = St.Capture;
  } else if (!HitTarget(E.Pt, Target, Hit)) {
    CheckLeave(nullptr, HTNOWHERE);
    CheckHover(nullptr, HTNOWHERE, E);
    return false;
  }
  CheckLeave(Target, Hit);
  CheckHover(Target, Hit, E);
  St.LastMouseWnd = Target;
  // A disabled window's messages keep their client form (HTERROR says why).
  bool Client = Hit == HTCLIENT || Hit == HTERROR;
  UINT Msg;
  if (E.Kind == TRawInput::Move) {
    Msg = Client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
  } else {
    UINT Base = (Client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN) + UINT(E.Button) * 3;
    if (E.Kind == TRawInput::Up) {
      Msg = Base + 1;
    } else {
      Msg = Base;
      TWindow* W = WinPtr(Target);
      bool Allowed = !Client || (W && W->Class && (W->Class->Style & CS_DBLCLKS));
      auto& C = St.Click;
      if (Allowed && C.Valid && C.Wnd == Target && C.Msg == Base &&
          DWORD(E.Time - C.Time) <= GetDoubleClickTime() &&
          std::abs(E.Pt.X - C.Pt.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
          std::abs(E.Pt.Y - C.Pt.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
        Msg = Base + 2;
        C.Valid = false;
      } else {
        C = {Target, Base, E.Pt, E.Time, true};
      }
    }
  }
  E.Msg.hwnd = Target;
  E.Msg.message = Msg;
  E.Hit = Hit;
  if (Client) {
    TPoint P = E.Pt;
    ScreenToClient(Target, &P);
    E.Msg.wParam = E.Keys;
    E.Msg.lParam = MAKELPARAM(P.X, P.Y);
  } else {
    E.Msg.wParam = WPARAM(std::intptr_t(Hit));
    E.Msg.lParam = MAKELPARAM(E.Pt.X, E.Pt.Y);
  }
  return true;
}

bool CookKey(TRawInput& E) {
  auto& St = WinState();
  HWND Target = St.Focus && IsWindow(St.Focus) ? St.Focus : nullptr;
  bool NoFocus = !Target;
  if (!Target) Target = St.Active && IsWindow(St.Active) ? St.Active : nullptr;
  if (!Target) return false;
  bool Alt = E.Alt, Ctrl = E.Ctrl;
  bool Sys = (Alt && !Ctrl) || E.Vk == 0x79 /*F10*/ || NoFocus;
  bool Up = E.Kind == TRawInput::KeyUp;
  E.Msg.hwnd = Target;
  E.Msg.message = Up ? (Sys ? WM_SYSKEYUP : WM_KEYUP) : (Sys ? WM_SYSKEYDOWN : WM_KEYDOWN);
  E.Msg.wParam = E.Vk;
  bool WasDown = Down(St.KeyState, E.Vk);
  UINT Scan = E.Scan ? (E.Scan & 0xFF) : ScanOf(E.Vk);
  bool Ext = E.Scan ? (E.Scan & 0x100) != 0 : Extended(E.Vk);
  DWORD Data = 1 | (Scan << 16) | (Ext ? 1u << 24 : 0) |
               (Alt && !Ctrl ? 1u << 29 : 0) | ((Up || WasDown) ? 1u << 30 : 0) | (Up ? 1u << 31 : 0);
  E.Msg.lParam = LPARAM(std::int32_t(Data));
  return true;
}

bool IsKey(const TRawInput& E) { return E.Kind == TRawInput::KeyDown || E.Kind == TRawInput::KeyUp; }

bool RangeHasMouse(UINT Min, UINT Max) {
  for (UINT M : {UINT(WM_MOUSEMOVE), UINT(WM_LBUTTONDOWN), UINT(WM_LBUTTONUP), UINT(WM_LBUTTONDBLCLK),
                 UINT(WM_RBUTTONDOWN), UINT(WM_RBUTTONUP), UINT(WM_MBUTTONDOWN), UINT(WM_MBUTTONUP),
                 UINT(WM_MOUSEWHEEL), UINT(WM_NCMOUSEMOVE), UINT(WM_NCLBUTTONDOWN), UINT(WM_NCLBUTTONUP)})
    if (WinRangeIncludes(Min, Max, M)) return true;
  return false;
}
}  // namespace

// --- retrieval ---------------------------------------------------------------------------

bool InputPending() { return !WinState().Input.empty(); }

bool InputRetrieve(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  auto& St = WinState();
  const HWND ThreadOnly = HandleFromInt<HWND>(-1);
  if (Filter == ThreadOnly) return false;
  bool WantKeys = WinRangeIncludes(Min, Max, WM_KEYDOWN) || WinRangeIncludes(Min, Max, WM_KEYUP) ||
                  WinRangeIncludes(Min, Max, WM_SYSKEYDOWN) || WinRangeIncludes(Min, Max, WM_SYSKEYUP);
  bool WantMouse = RangeHasMouse(Min, Max);
  std::size_t I = 0;
  while (I < St.Input.size()) {
    if (IsKey(St.Input[I]) ? !WantKeys : !WantMouse) {
      ++I;
      continue;
    }
    if (!St.Input[I].Processed) {
      TRawInput Copy = St.Input[I];
      bool Ok = IsKey(Copy) ? CookKey(Copy) : CookMouse(Copy);
      // Cooking may send messages, which may queue input: find it again.
      if (I >= St.Input.size()) return false;
      if (!Ok) {
        St.Input.erase(St.Input.begin() + std::ptrdiff_t(I));
        continue;
      }
      Copy.Processed = true;
      St.Input[I] = Copy;
    }
    TRawInput E = St.Input[I];
    if (!IsWindow(E.Msg.hwnd) || !(Filter == nullptr || E.Msg.hwnd == Filter || IsChild(Filter, E.Msg.hwnd)) ||
        !WinRangeIncludes(Min, Max, E.Msg.message)) {
      if (!IsWindow(E.Msg.hwnd)) {
        St.Input.erase(St.Input.begin() + std::ptrdiff_t(I));
        continue;
      }
      ++I;
      continue;
    }
    auto Drop = [&] {
      // The event may have moved while messages were sent: erase by identity.
      for (std::size_t J = 0; J < St.Input.size(); ++J)
        if (St.Input[J].Time == E.Time && St.Input[J].Kind == E.Kind && St.Input[J].Pt == E.Pt &&
            St.Input[J].Vk == E.Vk && St.Input[J].Msg.message == E.Msg.message) {
          St.Input.erase(St.Input.begin() + std::ptrdiff_t(J));
          return;
        }
    };
    if (Remove) {
      // The thread's key state follows what the thread has read.
      if (IsKey(E)) SetKey(St.KeyState, E.Vk, E.Kind == TRawInput::KeyDown, true);
      if (IsKey(E)) {
        St.KeyText.Set = E.HasText;
        St.KeyText.Msg = E.Msg;
        St.KeyText.Msg.time = E.Time;
        St.KeyText.Text = E.Text;
      }
      if (E.Kind == TRawInput::Down || E.Kind == TRawInput::Up)
        SetKey(St.KeyState, ButtonVk[E.Button], E.Kind == TRawInput::Down, true);
      St.CursorPos = E.Pt;
      Drop();
    }
    int Code = Remove ? HC_ACTION : HC_NOREMOVE;
    if (IsKey(E)) {
      if (HookInstalled(WH_KEYBOARD) && HookCall(WH_KEYBOARD, Code, E.Msg.wParam, E.Msg.lParam)) {
        if (!Remove) Drop();
        I = 0;
        continue;
      }
    } else {
      if (HookInstalled(WH_MOUSE)) {
        MOUSEHOOKSTRUCT Mh;
        Mh.pt = E.Pt;
        Mh.hwnd = E.Msg.hwnd;
        Mh.wHitTestCode = UINT(E.Hit);
        if (HookCall(WH_MOUSE, Code, E.Msg.message, LPARAM(&Mh))) {
          if (!Remove) Drop();
          I = 0;
          continue;
        }
      }
      if (!IsWindow(E.Msg.hwnd)) {
        if (!Remove) Drop();
        I = 0;
        continue;
      }
      bool Eat = false;
      if (E.Kind != TRawInput::Wheel && !E.Announced && !(St.Capture && E.Msg.hwnd == St.Capture)) {
        for (auto& Q : St.Input)
          if (Q.Time == E.Time && Q.Kind == E.Kind && Q.Pt == E.Pt && Q.Msg.message == E.Msg.message)
            Q.Announced = true;
        UINT MouseMsg = E.Msg.message;
        if (E.Kind == TRawInput::Down && E.Hit != HTERROR) {
          HWND Top = WinTopLevelOf(E.Msg.hwnd);
          if (Top != St.Active) {
            LRESULT R = WinSend(E.Msg.hwnd, WM_MOUSEACTIVATE, WPARAM(Top), MAKELPARAM(E.Hit, MouseMsg));
            if ((R == MA_ACTIVATE || R == MA_ACTIVATEANDEAT || R == 0) && IsWindow(Top)) WinActivate(Top, WA_CLICKACTIVE);
            Eat = R == MA_ACTIVATEANDEAT || R == MA_NOACTIVATEANDEAT;
            E.Eaten = Eat;
          }
        }
        if (IsWindow(E.Msg.hwnd))
          WinSend(E.Msg.hwnd, WM_SETCURSOR, WPARAM(E.Msg.hwnd), MAKELPARAM(E.Hit, MouseMsg));
      }
      if (E.Hit == HTERROR || Eat || E.Eaten || !IsWindow(E.Msg.hwnd)) {
        if (!Remove) Drop();
        I = 0;
        continue;
      }
    }
    Out = E.Msg;
    Out.time = E.Time;
    Out.pt = E.Pt;
    return true;
  }
  return false;
}

// --- feeding ----------------------------------------------------------------------------------

void QueueMouseMove(TPoint Screen) {
  auto& St = WinState();
  if (Screen == St.CursorPos) return;  // no movement, no message
  St.CursorPos = Screen;
  // Consecutive moves collapse into the latest, as Windows does.
  if (!St.Input.empty() && St.Input.back().Kind == TRawInput::Move && !St.Input.back().Processed) {
    St.Input.back().Pt = Screen;
    St.Input.back().Time = GetTickCount();
    St.Input.back().Keys = KeysFrom(St.AsyncState);
    return;
  }
  TRawInput E;
  E.Kind = TRawInput::Move;
  E.Pt = Screen;
  E.Time = GetTickCount();
  E.Keys = KeysFrom(St.AsyncState);
  St.Input.push_back(E);
  Display().Wake();
}

void QueueMouseButton(TInputButton Button, bool IsDown, TPoint Screen) {
  auto& St = WinState();
  St.CursorPos = Screen;
  int B = int(Button);
  SetKey(St.AsyncState, ButtonVk[B], IsDown, true);
  TRawInput E;
  E.Kind = IsDown ? TRawInput::Down : TRawInput::Up;
  E.Button = B;
  E.Pt = Screen;
  E.Time = GetTickCount();
  E.Keys = KeysFrom(St.AsyncState);
  St.Input.push_back(E);
  Display().Wake();
}

void QueueMouseWheel(int Delta, TPoint Screen) {
  auto& St = WinState();
  St.CursorPos = Screen;
  TRawInput E;
  E.Kind = TRawInput::Wheel;
  E.Delta = Delta;
  E.Pt = Screen;
  E.Time = GetTickCount();
  E.Keys = KeysFrom(St.AsyncState);
  St.Input.push_back(E);
  Display().Wake();
}

void QueueKey(WORD Vk, bool IsDown) { QueueKeyEvent(Vk, IsDown, 0, nullptr); }

void QueueKeyEvent(WORD Vk, bool IsDown, UINT Scan, const WideString* Text) {
  auto& St = WinState();
  TRawInput E;
  E.Kind = IsDown ? TRawInput::KeyDown : TRawInput::KeyUp;
  E.Vk = Vk;
  E.Scan = Scan;
  if (Text) {
    E.HasText = true;
    E.Text = *Text;
  }
  E.Time = GetTickCount();
  E.Pt = St.CursorPos;
  SetKey(St.AsyncState, Vk, IsDown, true);
  if (IsDown) St.AsyncState[Vk] |= 0x01;
  E.Alt = Down(St.AsyncState, VK_MENU) || Vk == VK_MENU || Vk == 0xA4 || Vk == 0xA5;
  E.Ctrl = Down(St.AsyncState, VK_CONTROL);
  if (IsDown) {
    UINT Mods = (Down(St.AsyncState, VK_MENU) ? MOD_ALT : 0) | (Down(St.AsyncState, VK_CONTROL) ? MOD_CONTROL : 0) |
                (Down(St.AsyncState, VK_SHIFT) ? MOD_SHIFT : 0) |
                (Down(St.AsyncState, VK_LWIN) || Down(St.AsyncState, VK_RWIN) ? MOD_WIN : 0);
    if (DeliverHotKey(Mods, Vk)) return;  // taken by the system, never seen by the focus window
  }
  St.Input.push_back(E);
  Display().Wake();
}

void QueueMouseLeave() {
  auto& St = WinState();
  St.LastMouseWnd = nullptr;
  St.Hover = {};
  if (!St.TrackLeave) return;
  HWND H = St.TrackLeave;
  bool NonClient = St.TrackFlags & TME_NONCLIENT;
  St.TrackLeave = nullptr;
  St.TrackFlags = 0;
  if (IsWindow(H)) PostMessageA(H, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

// --- activation and focus -----------------------------------------------------------------------

void WinActivate(HWND H, int How) {
  auto& St = WinState();
  H = WinTopLevelOf(H);
  if (!IsWindow(H) || H == GetDesktopWindow()) return;
  HWND Old = St.Active;
  if (Old == H) return;
  if (IsWindow(Old)) {
    WinSend(Old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(Old)) WinSend(Old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(Old)), LPARAM(H));
  }
  St.Active = H;
  if (!St.AppActive) {
    St.AppActive = true;
    for (HWND T : WinTopLevels())
      if (IsWindow(T)) WinSend(T, WM_ACTIVATEAPP, TRUE, 0);
  }
  if (!IsWindow(H) || St.Active != H) return;
  SetWindowPos(H, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!IsWindow(H) || St.Active != H) return;
  WinSend(H, WM_NCACTIVATE, TRUE, 0);
  if (!IsWindow(H) || St.Active != H) return;
  WinSend(H, WM_ACTIVATE, MAKEWPARAM(How, IsIconic(H)), LPARAM(IsWindow(Old) ? Old : nullptr));
}

void WinActivateNext(HWND Leaving) {
  auto& St = WinState();
  TWindow* L = WinPtr(Leaving);
  HWND Next = nullptr;
  auto Usable = [&](HWND H) {
    TWindow* W = WinPtr(H);
    return W && H != Leaving && !W->Destroying && (W->Style & WS_VISIBLE) &&
           !(W->Style & WS_DISABLED) && !W->MessageOnly && !WinIsDescendant(Leaving, H) &&
           !(W->ExStyle & WS_EX_NOACTIVATE);
  };
  if (L && L->Owner && Usable(L->Owner)) Next = L->Owner;
  if (!Next)
    for (HWND H : WinTopLevels())
      if (Usable(H) && !(WinPtr(H)->ExStyle & WS_EX_TOOLWINDOW)) {
        Next = H;
        break;
      }
  if (Next) {
    WinActivate(Next, WA_ACTIVE);
    return;
  }
  // Nothing left: the application loses the activation.
  HWND Old = St.Active;
  St.Active = nullptr;
  if (IsWindow(Old)) {
    WinSend(Old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(Old)) WinSend(Old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (St.Focus) SetFocus(nullptr);
  if (St.AppActive) {
    St.AppActive = false;
    for (HWND T : WinTopLevels())
      if (IsWindow(T)) WinSend(T, WM_ACTIVATEAPP, FALSE, 0);
  }
}

void DeactivateApplication() {
  auto& St = WinState();
  HWND Old = St.Active;
  St.Active = nullptr;
  if (IsWindow(Old)) {
    WinSend(Old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(Old)) WinSend(Old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (St.AppActive) {
    St.AppActive = false;
    for (HWND T : WinTopLevels())
      if (IsWindow(T)) WinSend(T, WM_ACTIVATEAPP, FALSE, 0);
  }
  if (St.Focus) SetFocus(nullptr);
}

HWND SetActiveWindow(HWND Wnd) {
  auto& St = WinState();
  HWND Old = St.Active;
  if (!Wnd) {
    if (Old) WinActivateNext(Old);
    return Old;
  }
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  WinActivate(Wnd, WA_ACTIVE);
  return Old;
}

HWND GetActiveWindow() {
  auto& St = WinState();
  return IsWindow(St.Active) ? St.Active : nullptr;
}

BOOL SetForegroundWindow(HWND Wnd) {
  if (!IsWindow(Wnd)) return FALSE;
  WinActivate(Wnd, WA_ACTIVE);
  if (IsWindow(Wnd)) Display().ForegroundRequested(Wnd);
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetFocus(HWND Wnd) {
  auto& St = WinState();
  HWND Old = IsWindow(St.Focus) ? St.Focus : nullptr;
  if (Wnd && !IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (Wnd == Old) return Old;
  if (Wnd) {
    HWND Top = WinTopLevelOf(Wnd);
    if (St.Active != Top) {
      WinActivate(Top, WA_ACTIVE);
      if (!IsWindow(Wnd)) return nullptr;
      Old = IsWindow(St.Focus) ? St.Focus : nullptr;
      if (Old == Wnd) return Old;
    }
  }
  St.Focus = Wnd;
  if (Old) WinSend(Old, WM_KILLFOCUS, WPARAM(Wnd), 0);
  if (St.Focus != Wnd || !Wnd) return Old;
  if (IsWindow(Wnd)) WinSend(Wnd, WM_SETFOCUS, WPARAM(IsWindow(Old) ? Old : nullptr), 0);
  return Old;
}

HWND GetFocus() {
  auto& St = WinState();
  return IsWindow(St.Focus) ? St.Focus : nullptr;
}

HWND SetCapture(HWND Wnd) {
  auto& St = WinState();
  HWND Old = IsWindow(St.Capture) ? St.Capture : nullptr;
  if (Wnd && !IsWindow(Wnd)) return Old;
  St.Capture = Wnd;
  if (Old != Wnd) Display().CaptureChanged(Wnd);
  if (Old && Old != Wnd) WinSend(Old, WM_CAPTURECHANGED, 0, LPARAM(Wnd));
  return Old;
}

BOOL ReleaseCapture() {
  auto& St = WinState();
  HWND Old = IsWindow(St.Capture) ? St.Capture : nullptr;
  St.Capture = nullptr;
  if (Old) Display().CaptureChanged(nullptr);
  if (Old) WinSend(Old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  auto& St = WinState();
  return IsWindow(St.Capture) ? St.Capture : nullptr;
}

BOOL EnableWindow(HWND Wnd, BOOL Enable) {
  TWindowRef W = WinLookup(Wnd);
  if (!W) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool WasDisabled = W->Style & WS_DISABLED;
  if (bool(Enable) == !WasDisabled) return WasDisabled ? TRUE : FALSE;
  if (!Enable) {
    WinSend(Wnd, WM_CANCELMODE, 0, 0);
    if (!IsWindow(Wnd)) return FALSE;
    W->Style |= WS_DISABLED;
    if (GetFocus() == Wnd) SetFocus(nullptr);
  } else {
    W->Style &= ~WS_DISABLED;
  }
  if (IsWindow(Wnd)) WinSend(Wnd, WM_ENABLE, Enable ? TRUE : FALSE, 0);
  return WasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  return W && !(W->Style & WS_DISABLED) ? TRUE : FALSE;
}

// --- keyboard and mouse state ----------------------------------------------------------------------

SHORT GetKeyState(int Vk) {
  BYTE S = WinState().KeyState[Vk & 0xFF];
  return SHORT(((S & 0x80) ? 0xFF80 : 0) | (S & 0x01));
}

SHORT GetAsyncKeyState(int Vk) {
  BYTE& S = WinState().AsyncState[Vk & 0xFF];
  SHORT R = SHORT(((S & 0x80) ? 0x8000 : 0) | (S & 0x01));
  S &= ~0x01;   // "pressed since the last call" is read once
  return R;
}

BOOL GetKeyboardState(BYTE* State) {
  if (!State) return FALSE;
  std::memcpy(State, WinState().KeyState, 256);
  return TRUE;
}

BOOL SetKeyboardState(const BYTE* State) {
  if (!State) return FALSE;
  std::memcpy(WinState().KeyState, State, 256);
  return TRUE;
}

BOOL GetCursorPos(TPoint* P) {
  if (!P) return FALSE;
  *P = WinState().CursorPos;
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  TRect S = GetScreenRect();
  TPoint P{std::clamp(X, S.Left, S.Right - 1), std::clamp(Y, S.Top, S.Bottom - 1)};
  QueueMouseMove(P);
  return TRUE;
}

bool HoverRetrieve(MSG& M, HWND Filter, UINT Min, UINT Max, bool Remove) {
  auto& St = WinState();
  auto& H = St.Hover;
  if (!H.Wnd) return false;
  if (!IsWindow(H.Wnd)) {
    H = {};
    return false;
  }
  UINT Msg = H.NonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER;
  if (!WinRangeIncludes(Min, Max, Msg)) return false;
  if (Filter == HandleFromInt<HWND>(-1) || (Filter && Filter != H.Wnd && !IsChild(Filter, H.Wnd))) return false;
  DWORD Now = GetTickCount();
  if (std::int32_t(Now - H.Due) < 0) return false;
  M = MSG();
  M.hwnd = H.Wnd;
  M.message = Msg;
  if (H.NonClient) {
    HWND Under = nullptr;
    int Hit = HTNOWHERE;
    HitTarget(St.CursorPos, Under, Hit);
    M.wParam = WPARAM(std::intptr_t(Hit));
    M.lParam = MAKELPARAM(St.CursorPos.X, St.CursorPos.Y);
  } else {
    TPoint P = St.CursorPos;
    ScreenToClient(H.Wnd, &P);
    M.wParam = KeysFrom(St.KeyState);
    M.lParam = MAKELPARAM(P.X, P.Y);
  }
  M.time = Now;
  M.pt = St.CursorPos;
  if (Remove) H = {};   // one message per request; the window asks again
  return true;
}

int HoverMsUntilDue() {
  const auto& H = WinState().Hover;
  if (!H.Wnd) return -1;
  std::int32_t Left = std::int32_t(H.Due - GetTickCount());
  return Left < 0 ? 0 : int(Left);
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* T) {
  auto& St = WinState();
  if (!T || T->cbSize < sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (T->dwFlags & TME_QUERY) {
    // What this thread tracks: the leave window, else the hover window.
    DWORD Flags = 0;
    HWND Wnd = nullptr;
    if (St.TrackLeave) {
      Flags = St.TrackFlags | TME_LEAVE;
      Wnd = St.TrackLeave;
    }
    T->dwHoverTime = 0;
    if (St.Hover.Wnd && (!Wnd || Wnd == St.Hover.Wnd)) {
      Flags |= TME_HOVER | (St.Hover.NonClient ? TME_NONCLIENT : 0);
      Wnd = St.Hover.Wnd;
      T->dwHoverTime = St.Hover.Time;
    }
    T->dwFlags = Flags;
    T->hwndTrack = Wnd;
    return TRUE;
  }
  if (!IsWindow(T->hwndTrack)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool NonClient = T->dwFlags & TME_NONCLIENT;
  if (T->dwFlags & TME_CANCEL) {
    if ((T->dwFlags & TME_LEAVE) && St.TrackLeave == T->hwndTrack) {
      St.TrackLeave = nullptr;
      St.TrackFlags = 0;
    }
    if ((T->dwFlags & TME_HOVER) && St.Hover.Wnd == T->hwndTrack) St.Hover = {};
    return TRUE;
  }
  // Is the pointer over the window's requested area now?
  bool Over = St.LastMouseWnd == T->hwndTrack;
  if (Over) {
    HWND Under = nullptr;
    int Hit = HTNOWHERE;
    Over = HitTarget(St.CursorPos, Under, Hit) && Under == T->hwndTrack &&
           (NonClient ? Hit != HTCLIENT : Hit == HTCLIENT);
    if (GetCapture() == T->hwndTrack) {
      TWindow* W = WinPtr(T->hwndTrack);
      Over = W && WinScreenClient(*W).Contains(St.CursorPos);
    }
  }
  if (T->dwFlags & TME_LEAVE) {
    if (!Over) {
      // Not over the window (area) now: the leave message comes at once.
      PostMessageA(T->hwndTrack, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    } else {
      St.TrackLeave = T->hwndTrack;
      St.TrackFlags = T->dwFlags & TME_NONCLIENT;
    }
  }
  if ((T->dwFlags & TME_HOVER) && Over) {
    auto& H = St.Hover;
    DWORD Time = T->dwHoverTime == HOVER_DEFAULT ? HoverParam(SPI_GETMOUSEHOVERTIME) : T->dwHoverTime;
    // A window that asks again while the pointer rests keeps its rectangle;
    // only the wait starts over.
    if (H.Wnd != T->hwndTrack || H.NonClient != NonClient) H.Rect = HoverRectAt(St.CursorPos);
    H.Wnd = T->hwndTrack;
    H.NonClient = NonClient;
    H.Time = Time;
    H.Due = GetTickCount() + Time;
  }
  return TRUE;
}

UINT GetDoubleClickTime() { return WinState().DoubleClickTime; }
BOOL SetDoubleClickTime(UINT Ms) {
  WinState().DoubleClickTime = Ms ? Ms : 500;
  return TRUE;
}

void MessageBeep(UINT Type) { Display().Beep(Type); }

// --- caret ----------------------------------------------------------------------------------------

namespace {
void CaretInvert() {
  auto& C = WinState().Caret;
  if (!IsWindow(C.Wnd)) return;
  HDC Dc = GetDC(C.Wnd);
  if (!Dc) return;
  TRect R = Bounds(C.Pos.X, C.Pos.Y, C.Width, C.Height);
  if (C.Bitmap && C.Bitmap != reinterpret_cast<HBITMAP>(1)) {
    HDC Mem = CreateCompatibleDC(Dc);
    HGDIOBJ Old = SelectObject(Mem, C.Bitmap);
    constexpr DWORD SrcInvert = 0x00660046;
    if (TDC* D = GdiLookupDC(Dc)) D->BitBlt(R.Left, R.Top, R.Width(), R.Height(), Mem, 0, 0, SrcInvert);
    SelectObject(Mem, Old);
    DeleteDC(Mem);
  } else {
    InvertRect(Dc, &R);
  }
  ReleaseDC(C.Wnd, Dc);
}
bool CaretShown() {
  auto& C = WinState().Caret;
  return C.Wnd && C.HideCount == 0;
}
}  // namespace

BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height) {
  if (!IsWindow(Wnd)) return FALSE;
  DestroyCaret();
  auto& C = WinState().Caret;
  C.Wnd = Wnd;
  C.Bitmap = Bitmap;
  if (Bitmap && Bitmap != reinterpret_cast<HBITMAP>(1)) {
    BITMAP Bm{};
    if (GetObjectA(Bitmap, sizeof Bm, &Bm)) {
      Width = Bm.bmWidth;
      Height = Bm.bmHeight;
    }
  }
  C.Width = Width ? Width : GetSystemMetrics(SM_CXBORDER);
  C.Height = Height ? Height : GetSystemMetrics(SM_CYBORDER);
  C.Pos = {};
  C.HideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  auto& C = WinState().Caret;
  if (!C.Wnd) return FALSE;
  if (CaretShown()) CaretInvert();
  C = TCaret();
  return TRUE;
}

BOOL ShowCaret(HWND Wnd) {
  auto& C = WinState().Caret;
  if (!C.Wnd || (Wnd && Wnd != C.Wnd) || C.HideCount == 0) return FALSE;
  if (--C.HideCount == 0) CaretInvert();
  return TRUE;
}

BOOL HideCaret(HWND Wnd) {
  auto& C = WinState().Caret;
  if (!C.Wnd || (Wnd && Wnd != C.Wnd)) return FALSE;
  if (C.HideCount++ == 0) CaretInvert();
  return TRUE;
}

BOOL SetCaretPos(int X, int Y) {
  auto& C = WinState().Caret;
  if (!C.Wnd) return FALSE;
  bool Shown = CaretShown();
  if (Shown) CaretInvert();
  C.Pos = {X, Y};
  if (Shown) CaretInvert();
  return TRUE;
}

BOOL GetCaretPos(TPoint* P) {
  if (!P) return FALSE;
  *P = WinState().Caret.Pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return WinState().CaretBlinkTime; }
BOOL SetCaretBlinkTime(UINT Ms) {
  WinState().CaretBlinkTime = Ms;
  return TRUE;
}

// --- keyboard layout -------------------------------------------------------------------------------

// The active layout answers (KeyboardLayouts.cpp holds the layouts).
int ToAscii(UINT Vk, UINT Scan, const BYTE* S, WORD* Out, UINT Flags) {
  return ToAsciiEx(Vk, Scan, S, Out, Flags, GetKeyboardLayout(0));
}

UINT MapVirtualKeyA(UINT Code, UINT Type) { return MapVirtualKeyExA(Code, Type, GetKeyboardLayout(0)); }

SHORT VkKeyScanA(char Ch) { return VkKeyScanExA(Ch, GetKeyboardLayout(0)); }

void InputReset() {
  auto& St = WinState();
  St.Focus = St.Active = St.Capture = nullptr;
  St.AppActive = false;
  std::memset(St.KeyState, 0, sizeof St.KeyState);
  std::memset(St.AsyncState, 0, sizeof St.AsyncState);
  St.CursorPos = {};
  St.Caret = TCaret();
  St.Click = TClickTracker();
  St.TrackLeave = nullptr;
  St.TrackFlags = 0;
  St.Hover = {};
  St.LastMouseWnd = nullptr;
  St.Input.clear();
}

void WinOnDestroyed(HWND H) {
  auto& St = WinState();
  {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    St.Posted.erase(std::remove_if(St.Posted.begin(), St.Posted.end(), [&](const MSG& M) { return M.hwnd == H; }),
                    St.Posted.end());
  }
  St.Timers.erase(std::remove_if(St.Timers.begin(), St.Timers.end(), [&](const TTimer& T) { return T.Wnd == H; }),
                  St.Timers.end());
  St.Input.erase(std::remove_if(St.Input.begin(), St.Input.end(),
                                [&](const TRawInput& E) { return E.Processed && E.Msg.hwnd == H; }),
                 St.Input.end());
  if (St.Focus == H) St.Focus = nullptr;
  if (St.Active == H) St.Active = nullptr;
  if (St.Capture == H) St.Capture = nullptr;
  if (St.Caret.Wnd == H) St.Caret = TCaret();
  if (St.TrackLeave == H) St.TrackLeave = nullptr;
  if (St.Hover.Wnd == H) St.Hover = {};
  if (St.Click.Wnd == H) St.Click = TClickTracker();
  if (St.LastMouseWnd == H) St.LastMouseWnd = nullptr;
}
