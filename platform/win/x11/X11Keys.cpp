// The keyboard: X key codes into virtual keys and scan codes, the typed
// text through the input method (dead keys and compose sequences), the
// lock keys' state.
#include <cstdlib>
#include <cstring>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/WinState_p.h"
#include "platform/win/x11/X11Private_p.h"

#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

namespace {
struct TKeyMap {
  KeySym Sym;
  WORD Vk;
};

// Keys whose virtual key follows their symbol (the unshifted one, so that
// a layout's letters land on their own virtual keys).
const TKeyMap SymKeys[] = {
    {XK_BackSpace, VK_BACK},   {XK_Tab, VK_TAB},          {XK_ISO_Left_Tab, VK_TAB},  {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},  {XK_Escape, VK_ESCAPE},    {XK_space, VK_SPACE},       {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},        {XK_End, VK_END},          {XK_Home, VK_HOME},         {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},            {XK_Right, VK_RIGHT},      {XK_Down, VK_DOWN},         {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},    {XK_Pause, VK_PAUSE},      {XK_Print, VK_SNAPSHOT},    {XK_Menu, VK_APPS},
    {XK_Shift_L, VK_SHIFT},    {XK_Shift_R, VK_SHIFT},    {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},       {XK_Alt_R, VK_MENU},       {XK_ISO_Level3_Shift, VK_MENU},
    {XK_Meta_L, VK_MENU},      {XK_Super_L, VK_LWIN},     {XK_Super_R, VK_RWIN},      {XK_Caps_Lock, VK_CAPITAL},
    {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL},
    {XK_KP_0, VK_NUMPAD0},     {XK_KP_1, VK_NUMPAD1},     {XK_KP_2, VK_NUMPAD2},      {XK_KP_3, VK_NUMPAD3},
    {XK_KP_4, VK_NUMPAD4},     {XK_KP_5, VK_NUMPAD5},     {XK_KP_6, VK_NUMPAD6},      {XK_KP_7, VK_NUMPAD7},
    {XK_KP_8, VK_NUMPAD8},     {XK_KP_9, VK_NUMPAD9},     {XK_KP_Insert, VK_INSERT},  {XK_KP_End, VK_END},
    {XK_KP_Down, VK_DOWN},     {XK_KP_Next, VK_NEXT},     {XK_KP_Left, VK_LEFT},      {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Right, VK_RIGHT},   {XK_KP_Home, VK_HOME},     {XK_KP_Up, VK_UP},          {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Delete, VK_DELETE}, {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    {XK_semicolon, VK_OEM_1},  {XK_equal, VK_OEM_PLUS},   {XK_comma, VK_OEM_COMMA},   {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2},     {XK_grave, VK_OEM_3},       {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},  {XK_bracketright, VK_OEM_6}, {XK_apostrophe, VK_OEM_7}, {XK_less, VK_OEM_102},
};

// Where the symbol says nothing (another script's letters), the key's place
// on the US layout: evdev codes 1..58 (key code - 8).
const BYTE PlaceKeys[] = {
    0,       VK_ESCAPE, '1',       '2',        '3',          '4',       '5',       '6',      '7',       '8',
    '9',     '0',       VK_OEM_MINUS, VK_OEM_PLUS, VK_BACK,  VK_TAB,    'Q',       'W',      'E',       'R',
    'T',     'Y',       'U',       'I',        'O',          'P',       VK_OEM_4,  VK_OEM_6, VK_RETURN, VK_CONTROL,
    'A',     'S',       'D',       'F',        'G',          'H',       'J',       'K',      'L',       VK_OEM_1,
    VK_OEM_7, VK_OEM_3, VK_SHIFT,  VK_OEM_5,   'Z',          'X',       'C',       'V',      'B',       'N',
    'M',     VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2, VK_SHIFT, VK_MULTIPLY, VK_MENU, VK_SPACE, VK_CAPITAL,
};

// Set-1 scan code (low byte) and the extended flag (0x100) of an evdev code.
UINT ScanOfEvdev(unsigned Code) {
  if (Code >= 1 && Code <= 88 && Code != 84) return Code;
  switch (Code) {
    case 96: return 0x11C;   // keypad Enter
    case 97: return 0x11D;   // right Ctrl
    case 98: return 0x135;   // keypad /
    case 100: return 0x138;  // right Alt
    case 102: return 0x147;
    case 103: return 0x148;
    case 104: return 0x149;
    case 105: return 0x14B;
    case 106: return 0x14D;
    case 107: return 0x14F;
    case 108: return 0x150;
    case 109: return 0x151;
    case 110: return 0x152;
    case 111: return 0x153;
    case 125: return 0x15B;
    case 126: return 0x15C;
    case 127: return 0x15D;
    default: return 0;
  }
}

WORD VkOfSym(KeySym S) {
  if (S >= XK_a && S <= XK_z) return WORD('A' + (S - XK_a));
  if (S >= XK_A && S <= XK_Z) return WORD('A' + (S - XK_A));
  if (S >= XK_0 && S <= XK_9) return WORD('0' + (S - XK_0));
  if (S >= XK_F1 && S <= XK_F24) return WORD(VK_F1 + (S - XK_F1));
  for (auto& K : SymKeys)
    if (K.Sym == S) return K.Vk;
  return 0;
}

KeySym SymOfVk(UINT Vk) {
  if (Vk >= 'A' && Vk <= 'Z') return XK_a + (Vk - 'A');
  if (Vk >= '0' && Vk <= '9') return XK_0 + (Vk - '0');
  if (Vk >= VK_F1 && Vk <= VK_F24) return XK_F1 + (Vk - VK_F1);
  if (Vk == VK_LSHIFT || Vk == VK_RSHIFT) Vk = VK_SHIFT;
  if (Vk == VK_LCONTROL || Vk == VK_RCONTROL) Vk = VK_CONTROL;
  if (Vk == VK_LMENU || Vk == VK_RMENU) Vk = VK_MENU;
  for (auto& K : SymKeys)
    if (K.Vk == Vk) return K.Sym;
  return NoSymbol;
}

void SetToggle(BYTE* S, int Vk, bool On) {
  if (On) S[Vk] |= 0x01;
  else S[Vk] &= ~0x01;
}
}  // namespace

WORD X11VirtualKey(XDisplay* Dpy, unsigned Key) {
  KeySym S = XkbKeycodeToKeysym(Dpy, KeyCode(Key), 0, 0);
  if (WORD Vk = VkOfSym(S)) return Vk;
  // The keypad's digits sit on level 1 when Num Lock is on.
  if (WORD Vk = VkOfSym(XkbKeycodeToKeysym(Dpy, KeyCode(Key), 0, 1)); Vk >= VK_NUMPAD0 && Vk <= VK_DIVIDE) return Vk;
  unsigned Code = Key - 8;
  if (Code < sizeof PlaceKeys) return PlaceKeys[Code];
  return 0;
}

unsigned X11KeyCodeOf(XDisplay* Dpy, UINT Vk) {
  KeySym S = SymOfVk(Vk);
  return S == NoSymbol ? 0 : XKeysymToKeycode(Dpy, S);
}

void X11KeyboardOpen(TX11Display::TImpl& D) {
  // Held keys repeat as presses alone, as on Windows (repeat count, the
  // previous-state bit), not as release-press pairs.
  Bool Supported = False;
  XkbSetDetectableAutoRepeat(D.Dpy, True, &Supported);
  // Which modifier bit Num Lock sets.
  if (XModifierKeymap* M = XGetModifierMapping(D.Dpy)) {
    KeyCode Num = XKeysymToKeycode(D.Dpy, XK_Num_Lock);
    for (int Mod = 0; Mod < 8; ++Mod)
      for (int K = 0; K < M->max_keypermod; ++K)
        if (Num && M->modifiermap[Mod * M->max_keypermod + K] == Num) D.NumLockMask = 1u << Mod;
    XFreeModifiermap(M);
  }
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    D.Im = XOpenIM(D.Dpy, nullptr, nullptr, nullptr);
    if (!D.Im) {
      // No input method server: Xlib's own compose table still does dead keys.
      XSetLocaleModifiers("@im=none");
      D.Im = XOpenIM(D.Dpy, nullptr, nullptr, nullptr);
    }
  }
  XkbStateRec S;
  if (XkbGetState(D.Dpy, XkbUseCoreKbd, &S) == Success) X11SyncLockKeys(D, S.locked_mods);
}

void X11SyncLockKeys(TX11Display::TImpl& D, unsigned State) {
  auto& St = WinState();
  bool Caps = State & LockMask, Num = D.NumLockMask && (State & D.NumLockMask);
  for (BYTE* S : {St.KeyState, St.AsyncState}) {
    SetToggle(S, VK_CAPITAL, Caps);
    SetToggle(S, VK_NUMLOCK, Num);
  }
  unsigned Leds = 0;
  if (XkbGetIndicatorState(D.Dpy, XkbUseCoreKbd, &Leds) == Success) {
    // Scroll Lock has no modifier; its light tells its state.
    Atom ScrollAtom = D.A("Scroll Lock");
    int Index = -1;
    Bool On = False;
    if (XkbGetNamedIndicator(D.Dpy, ScrollAtom, &Index, &On, nullptr, nullptr)) {
      SetToggle(St.KeyState, VK_SCROLL, On);
      SetToggle(St.AsyncState, VK_SCROLL, On);
    }
  }
}

void X11KeyEvent(TX11Display::TImpl& D, XKeyEvent& E) {
  bool Down = E.type == KeyPress;
  TXWin* W = D.WinOf(E.window);
  XEvent Copy;
  Copy.xkey = E;
  // The input method sees every key first; what it keeps is part of a
  // composition (a dead key, a compose sequence).
  if (XFilterEvent(&Copy, W ? W->Id : None)) return;
  WideString Text;
  bool HasText = false;
  if (Down) {
    char Buf[64];
    KeySym Sym = NoSymbol;
    int N = 0;
    Status St = 0;
    if (W && W->Ic) {
      N = Xutf8LookupString(W->Ic, &E, Buf, sizeof Buf - 1, &Sym, &St);
      if (St == XBufferOverflow) N = 0;
      if (St == XLookupNone || St == XLookupKeySym) N = 0;
    } else {
      N = XLookupString(&E, Buf, sizeof Buf - 1, &Sym, nullptr);
      // XLookupString answers Latin-1; anything else comes from the symbol.
      WideString L;
      for (int I = 0; I < N; ++I) L.push_back(char16_t(static_cast<unsigned char>(Buf[I])));
      if (N == 0 && Sym != NoSymbol)
        if (std::uint32_t U = xkb_keysym_to_utf32(std::uint32_t(Sym)); U && U < 0x10000) L.push_back(char16_t(U));
      UTF8String U8 = UTF8Encode(L);
      N = int(std::min<std::size_t>(U8.size(), sizeof Buf - 1));
      std::memcpy(Buf, U8.data(), std::size_t(N));
    }
    Buf[N] = 0;
    Text = UTF8Decode(UTF8String(Buf, std::size_t(N)));
    // Delete gives DEL in X; on the program's side it types nothing.
    if (Text == u"\x7f") Text.clear();
    HasText = true;
  }
  if (E.keycode == 0) {
    // Text from the input method without a key of its own.
    if (Text.empty()) return;
    QueueKeyEvent(VK_PACKET, true, 0, &Text);
    QueueKeyEvent(VK_PACKET, false, 0, nullptr);
    return;
  }
  WORD Vk = X11VirtualKey(D.Dpy, E.keycode);
  if (!Vk) return;
  QueueKeyEvent(Vk, Down, ScanOfEvdev(E.keycode - 8), HasText ? &Text : nullptr);
}
