// HotKeyControl.cpp — the hot-key control ("msctls_hotkey32"): shows a key
// combination as text ("Ctrl + Shift + A", "None") and takes a new one from
// the keyboard. The modifiers held while a key goes down join it; rules set
// by HKM_SETRULES swap refused modifier combinations for a stand-in; Back
// space, Delete or Space alone clear it. Each change tells the parent with
// EN_CHANGE, as an edit does.
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/CommonControls_p.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace commctrl {
namespace {

constexpr WORD EnChange = 0x0300;   // EN_CHANGE
constexpr BYTE LowByte(WPARAM V) { return BYTE(V & 0xFF); }
constexpr BYTE HighByte(WPARAM V) { return BYTE((V >> 8) & 0xFF); }

struct THotKeyState {
  BYTE Key = 0;
  BYTE Mods = 0;      // HOTKEYF_*
  WORD Invalid = 0;   // HKCOMB_* the user may not type
  BYTE Stand = 0;     // the modifiers used instead of a refused combination
  HFONT Font = nullptr;
  bool Focused = false;
};

// The HKCOMB_ flag of a modifier combination.
WORD Combination(BYTE Mods) {
  switch (Mods & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT)) {
    case 0: return HKCOMB_NONE;
    case HOTKEYF_SHIFT: return HKCOMB_S;
    case HOTKEYF_CONTROL: return HKCOMB_C;
    case HOTKEYF_ALT: return HKCOMB_A;
    case HOTKEYF_SHIFT | HOTKEYF_CONTROL: return HKCOMB_SC;
    case HOTKEYF_SHIFT | HOTKEYF_ALT: return HKCOMB_SA;
    case HOTKEYF_CONTROL | HOTKEYF_ALT: return HKCOMB_CA;
    default: return HKCOMB_SCA;
  }
}

BYTE HeldModifiers() {
  BYTE M = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) M |= HOTKEYF_SHIFT;
  if (GetKeyState(VK_CONTROL) & 0x8000) M |= HOTKEYF_CONTROL;
  if (GetKeyState(VK_MENU) & 0x8000) M |= HOTKEYF_ALT;
  return M;
}

bool IsModifierKey(WPARAM Vk) {
  return Vk == VK_SHIFT || Vk == VK_CONTROL || Vk == VK_MENU || (Vk >= 0xA0 && Vk <= 0xA5);
}

std::string Text(BYTE Key, BYTE Mods) {
  std::string S;
  if (Mods & HOTKEYF_CONTROL) S += "Ctrl + ";
  if (Mods & HOTKEYF_SHIFT) S += "Shift + ";
  if (Mods & HOTKEYF_ALT) S += "Alt + ";
  if (Key) S += ShortCutToText(TShortCut(Key));
  return S.empty() ? std::string("None") : S;
}

void Changed(HWND Wnd) {
  InvalidateRect(Wnd, nullptr, TRUE);
  if (HWND Parent = GetParent(Wnd))
    SendMessageA(Parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Wnd), EnChange), LPARAM(Wnd));
}

void Paint(HWND Wnd, THotKeyState& S, BYTE ShownMods) {
  PAINTSTRUCT Ps;
  HDC Dc = BeginPaint(Wnd, &Ps);
  TRect R;
  GetClientRect(Wnd, &R);
  const bool Enabled = IsWindowEnabled(Wnd);
  FillRect(Dc, &R, GetSysColorBrush(Enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  HGDIOBJ Old = SelectObject(Dc, ControlFont(S.Font));
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, GetSysColor(Enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  // While other modifiers are held than the stored ones, they show alone
  // with an open end: the key that completes them is still to come.
  const BYTE Stored = S.Mods & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
  const std::string T = S.Focused && ShownMods && ShownMods != Stored ? Text(0, ShownMods) : Text(S.Key, S.Mods);
  TRect Tr = R;
  Tr.Left += 2;
  std::string Buf = T;
  DrawTextA(Dc, Buf.data(), int(Buf.size()), &Tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(Dc, Old);
  EndPaint(Wnd, &Ps);
}

}  // namespace

LRESULT HotKeyProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  THotKeyState* S = ControlState<THotKeyState>(Wnd, Msg, "SxHotKey");
  if (!S) return DefWindowProcA(Wnd, Msg, W, L);
  switch (Msg) {
    case HKM_SETHOTKEY:
      S->Key = LowByte(W);
      S->Mods = HighByte(W);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case HKM_GETHOTKEY: return LRESULT(S->Key) | (LRESULT(S->Mods) << 8);
    case HKM_SETRULES:
      S->Invalid = WORD(W);
      S->Stand = BYTE(LOWORD(L));
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFONT:
      S->Font = HFONT(W);
      if (LOWORD(L)) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return LRESULT(S->Font);
    case WM_SETFOCUS:
      S->Focused = true;
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_KILLFOCUS:
      S->Focused = false;
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(Wnd);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const BYTE Held = HeldModifiers();
      if (IsModifierKey(W)) {
        InvalidateRect(Wnd, nullptr, TRUE);
        return 0;
      }
      // Tab moves on: the dialog manager takes it, the control does not.
      if (W == VK_TAB) return DefWindowProcA(Wnd, Msg, W, L);
      if (Held == 0 && (W == VK_BACK || W == VK_DELETE || W == VK_SPACE)) {
        S->Key = 0;
        S->Mods = 0;
      } else {
        BYTE Mods = Held;
        if (S->Invalid & Combination(Mods)) Mods = S->Stand;
        S->Key = BYTE(W);
        S->Mods = BYTE(Mods | ((L & (1 << 24)) ? HOTKEYF_EXT : 0));
      }
      Changed(Wnd);
      return 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (IsModifierKey(W)) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      return 0;   // the key-down said it all
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      Paint(Wnd, *S, HeldModifiers());
      return 0;
    default: return DefWindowProcA(Wnd, Msg, W, L);
  }
}

}  // namespace commctrl
