#include "platform/win/KeyboardLayouts.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/WinState_p.h"

namespace {

constexpr std::uintptr_t UsHkl = 0x04090409;
constexpr std::uintptr_t FrenchHkl = 0x040C040C;

// A key that types characters, in the ANSI code page (0: none). AltGr is
// Ctrl+Alt. A dead key types nothing by itself.
struct TCharKey {
  BYTE Vk, Plain, Shifted, Control, AltGr;
  bool Dead = false;
};

struct TScanKey {
  BYTE Scan, Vk;
  bool Extended = false;
};

struct TLayout {
  std::uintptr_t Hkl;
  const char* Id;
  std::vector<TScanKey> Scans;      // first match wins both ways
  std::vector<TCharKey> Chars;      // keys other than the letters
  bool French;                      // which column of the name table
};

// The keys whose scan code is the same in both layouts; they follow each
// layout's own character keys, and the navigation block comes before the
// numeric keypad that shares its scan codes (as the system maps them).
std::vector<TScanKey> CommonScans() {
  std::vector<TScanKey> S = {
      {0x01, VK_ESCAPE}, {0x0E, VK_BACK}, {0x0F, VK_TAB}, {0x1C, VK_RETURN}, {0x1D, VK_CONTROL},
      {0x2A, VK_SHIFT}, {0x36, VK_RSHIFT}, {0x38, VK_MENU}, {0x39, VK_SPACE}, {0x3A, VK_CAPITAL},
      {0x45, VK_NUMLOCK, true}, {0x46, VK_SCROLL}, {0x37, VK_MULTIPLY}, {0x4A, VK_SUBTRACT}, {0x4E, VK_ADD},
      {0x57, VK_F11}, {0x58, VK_F12},
      {0x47, VK_HOME, true}, {0x48, VK_UP, true}, {0x49, VK_PRIOR, true}, {0x4B, VK_LEFT, true},
      {0x4D, VK_RIGHT, true}, {0x4F, VK_END, true}, {0x50, VK_DOWN, true}, {0x51, VK_NEXT, true},
      {0x52, VK_INSERT, true}, {0x53, VK_DELETE, true}, {0x5B, VK_LWIN, true}, {0x5C, VK_RWIN, true},
      {0x5D, VK_APPS, true},
      {0x47, VK_NUMPAD7}, {0x48, VK_NUMPAD8}, {0x49, VK_NUMPAD9}, {0x4B, VK_NUMPAD4}, {0x4C, VK_NUMPAD5},
      {0x4D, VK_NUMPAD6}, {0x4F, VK_NUMPAD1}, {0x50, VK_NUMPAD2}, {0x51, VK_NUMPAD3}, {0x52, VK_NUMPAD0},
      {0x53, VK_DECIMAL}, {0x4C, VK_CLEAR}, {0x35, VK_DIVIDE, true},
      {0x2A, VK_LSHIFT}, {0x1D, VK_LCONTROL}, {0x1D, VK_RCONTROL, true}, {0x38, VK_LMENU},
      {0x38, VK_RMENU, true},
  };
  for (BYTE F = 0; F < 10; ++F) S.push_back({BYTE(0x3B + F), BYTE(VK_F1 + F)});
  return S;
}

std::vector<TCharKey> CommonChars() {
  return {
      {VK_SPACE, ' ', ' ', ' ', 0}, {VK_RETURN, '\r', '\r', '\n', 0}, {VK_BACK, 8, 8, 127, 0},
      {VK_TAB, 9, 9, 0, 0},         {VK_ESCAPE, 27, 27, 27, 0},      {VK_CANCEL, 3, 3, 3, 0},
      {VK_MULTIPLY, '*', '*', 0, 0}, {VK_ADD, '+', '+', 0, 0},       {VK_SUBTRACT, '-', '-', 0, 0},
      {VK_DECIMAL, '.', '.', 0, 0}, {VK_DIVIDE, '/', '/', 0, 0},
  };
}

TLayout MakeUs() {
  TLayout L{UsHkl, "00000409", {}, {}, false};
  const char* Row1 = "1234567890";
  for (int I = 0; I < 10; ++I) L.Scans.push_back({BYTE(0x02 + I), BYTE(Row1[I])});
  const char* Q = "QWERTYUIOP";
  for (int I = 0; I < 10; ++I) L.Scans.push_back({BYTE(0x10 + I), BYTE(Q[I])});
  const char* A = "ASDFGHJKL";
  for (int I = 0; I < 9; ++I) L.Scans.push_back({BYTE(0x1E + I), BYTE(A[I])});
  const char* Z = "ZXCVBNM";
  for (int I = 0; I < 7; ++I) L.Scans.push_back({BYTE(0x2C + I), BYTE(Z[I])});
  L.Scans.insert(L.Scans.end(), {{0x0C, VK_OEM_MINUS}, {0x0D, VK_OEM_PLUS}, {0x1A, VK_OEM_4}, {0x1B, VK_OEM_6},
                                 {0x27, VK_OEM_1}, {0x28, VK_OEM_7}, {0x29, VK_OEM_3}, {0x2B, VK_OEM_5},
                                 {0x33, VK_OEM_COMMA}, {0x34, VK_OEM_PERIOD}, {0x35, VK_OEM_2}, {0x56, VK_OEM_102}});
  const char* Shifted = ")!@#$%^&*(";
  for (int D = 0; D < 10; ++D) L.Chars.push_back({BYTE('0' + D), BYTE('0' + D), BYTE(Shifted[D]), 0, 0});
  L.Chars.insert(L.Chars.end(), {{VK_OEM_1, ';', ':', 0, 0},    {VK_OEM_PLUS, '=', '+', 0, 0},
                                 {VK_OEM_COMMA, ',', '<', 0, 0}, {VK_OEM_MINUS, '-', '_', 31, 0},
                                 {VK_OEM_PERIOD, '.', '>', 0, 0}, {VK_OEM_2, '/', '?', 0, 0},
                                 {VK_OEM_3, '`', '~', 0, 0},     {VK_OEM_4, '[', '{', 27, 0},
                                 {VK_OEM_5, '\\', '|', 28, 0},   {VK_OEM_6, ']', '}', 29, 0},
                                 {VK_OEM_7, '\'', '"', 0, 0},    {VK_OEM_102, '\\', '|', 28, 0}});
  return L;
}

// AZERTY: letters A/Q, Z/W and M move; the top row types symbols and
// accented letters unshifted and the digits with Shift.
TLayout MakeFrench() {
  TLayout L{FrenchHkl, "0000040C", {}, {}, true};
  const char* Row1 = "1234567890";
  for (int I = 0; I < 10; ++I) L.Scans.push_back({BYTE(0x02 + I), BYTE(Row1[I])});
  const char* Q = "AZERTYUIOP";
  for (int I = 0; I < 10; ++I) L.Scans.push_back({BYTE(0x10 + I), BYTE(Q[I])});
  const char* A = "QSDFGHJKLM";
  for (int I = 0; I < 10; ++I) L.Scans.push_back({BYTE(0x1E + I), BYTE(A[I])});
  const char* W = "WXCVBN";
  for (int I = 0; I < 6; ++I) L.Scans.push_back({BYTE(0x2C + I), BYTE(W[I])});
  L.Scans.insert(L.Scans.end(), {{0x0C, VK_OEM_4}, {0x0D, VK_OEM_PLUS}, {0x1A, VK_OEM_6}, {0x1B, VK_OEM_1},
                                 {0x28, VK_OEM_3}, {0x29, VK_OEM_7}, {0x2B, VK_OEM_5}, {0x32, VK_OEM_COMMA},
                                 {0x33, VK_OEM_PERIOD}, {0x34, VK_OEM_2}, {0x35, VK_OEM_8}, {0x56, VK_OEM_102}});
  // Unshifted, then AltGr, of the top row's keys 1..0 (cp1252).
  const BYTE Plain[10] = {'&', 0xE9, '"', '\'', '(', '-', 0xE8, '_', 0xE7, 0xE0};
  const BYTE AltGr[10] = {0, '~', '#', '{', '[', '|', '`', '\\', '^', '@'};
  for (int I = 0; I < 10; ++I) {
    const BYTE Vk = BYTE(I == 9 ? '0' : '1' + I);
    L.Chars.push_back({Vk, Plain[I], Vk, 0, AltGr[I]});
  }
  L.Chars.insert(L.Chars.end(), {{VK_OEM_4, ')', 0xB0, 0, ']'},   {VK_OEM_PLUS, '=', '+', 0, '}'},
                                 {VK_OEM_6, '^', 0xA8, 27, 0, true}, {VK_OEM_1, '$', 0xA3, 29, 0xA4},
                                 {VK_OEM_3, 0xF9, '%', 0, 0},     {VK_OEM_7, 0xB2, 0, 0, 0},
                                 {VK_OEM_5, '*', 0xB5, 28, 0},    {VK_OEM_COMMA, ',', '?', 0, 0},
                                 {VK_OEM_PERIOD, ';', '.', 0, 0}, {VK_OEM_2, ':', '/', 0, 0},
                                 {VK_OEM_8, '!', 0xA7, 0, 0},     {VK_OEM_102, '<', '>', 28, 0},
                                 {'E', 0, 0, 0, 0x80}});
  return L;
}

const std::vector<TLayout>& Layouts() {
  static const std::vector<TLayout> All = [] {
    std::vector<TLayout> V = {MakeUs(), MakeFrench()};
    for (auto& L : V) {
      const auto Common = CommonScans();
      L.Scans.insert(L.Scans.end(), Common.begin(), Common.end());
      const auto Chars = CommonChars();
      L.Chars.insert(L.Chars.end(), Chars.begin(), Chars.end());
    }
    return V;
  }();
  return All;
}

const TLayout* LayoutOf(HKL H) {
  for (const auto& L : Layouts())
    if (L.Hkl == reinterpret_cast<std::uintptr_t>(H)) return &L;
  return nullptr;
}

HKL HklOf(std::uintptr_t V) { return reinterpret_cast<HKL>(V); }

// The loaded layouts; the process starts with the US one.
std::vector<std::uintptr_t>& Loaded() {
  auto& L = WinState().KeyboardLayouts;
  if (L.empty()) L.push_back(UsHkl);
  return L;
}

std::uintptr_t& Active() {
  auto& A = WinState().ActiveKeyboardLayout;
  if (!A) A = Loaded().front();
  return A;
}

const TCharKey* CharKey(const TLayout& L, UINT Vk) {
  for (const auto& K : L.Chars)
    if (K.Vk == Vk) return &K;
  return nullptr;
}

// Names of the keys that type nothing (or, for the keypad, the same as a
// main key), by scan code and extended flag: English, French.
struct TKeyName {
  BYTE Scan;
  bool Extended;
  const char* Us;
  const char* Fr;
};
const TKeyName KeyNames[] = {
    {0x01, false, "Esc", "ECHAP"},           {0x0E, false, "Backspace", "RET.ARR"},
    {0x0F, false, "Tab", "TAB"},             {0x1C, false, "Enter", "ENTREE"},
    {0x1C, true, "Num Enter", "ENTREE (PAVE NUM)"},
    {0x1D, false, "Ctrl", "CTRL"},           {0x1D, true, "Right Ctrl", "CTRL DROITE"},
    {0x2A, false, "Shift", "MAJ"},           {0x36, false, "Right Shift", "MAJ DROITE"},
    {0x38, false, "Alt", "ALT"},             {0x38, true, "Right Alt", "ALT GR"},
    {0x39, false, "Space", "ESPACE"},        {0x3A, false, "Caps Lock", "VERR.MAJ"},
    {0x45, false, "Pause", "PAUSE"},         {0x45, true, "Num Lock", "VERR.NUM"},
    {0x46, false, "Scroll Lock", "ARRET DEFIL"},
    {0x37, false, "Num *", "* (PAVE NUM)"},  {0x4A, false, "Num -", "- (PAVE NUM)"},
    {0x4E, false, "Num +", "+ (PAVE NUM)"},  {0x35, true, "Num /", "/ (PAVE NUM)"},
    {0x47, false, "Num 7", "7 (PAVE NUM)"},  {0x48, false, "Num 8", "8 (PAVE NUM)"},
    {0x49, false, "Num 9", "9 (PAVE NUM)"},  {0x4B, false, "Num 4", "4 (PAVE NUM)"},
    {0x4C, false, "Num 5", "5 (PAVE NUM)"},  {0x4D, false, "Num 6", "6 (PAVE NUM)"},
    {0x4F, false, "Num 1", "1 (PAVE NUM)"},  {0x50, false, "Num 2", "2 (PAVE NUM)"},
    {0x51, false, "Num 3", "3 (PAVE NUM)"},  {0x52, false, "Num 0", "0 (PAVE NUM)"},
    {0x53, false, "Num Del", ". (PAVE NUM)"},
    {0x47, true, "Home", "ORIGINE"},         {0x48, true, "Up", "HAUT"},
    {0x49, true, "Page Up", "PG.PREC"},      {0x4B, true, "Left", "GAUCHE"},
    {0x4D, true, "Right", "DROITE"},         {0x4F, true, "End", "FIN"},
    {0x50, true, "Down", "BAS"},             {0x51, true, "Page Down", "PG.SUIV"},
    {0x52, true, "Insert", "INSER"},         {0x53, true, "Delete", "SUPPR"},
    {0x5B, true, "Left Windows", "WINDOWS GAUCHE"},
    {0x5C, true, "Right Windows", "WINDOWS DROITE"},
    {0x5D, true, "Application", "APPLICATION"},
    {0x1A, false, nullptr, "ACCENT CIRCONFLEXE"},
};
}  // namespace

// ---- layouts ----------------------------------------------------------------

HKL GetKeyboardLayout(DWORD) { return HklOf(Active()); }

int GetKeyboardLayoutList(int Count, HKL* List) {
  const auto& L = Loaded();
  if (Count <= 0 || !List) return int(L.size());
  const int N = std::min<int>(Count, int(L.size()));
  for (int I = 0; I < N; ++I) List[I] = HklOf(L[std::size_t(I)]);
  return N;
}

HKL LoadKeyboardLayoutA(const char* Id, UINT Flags) {
  const TLayout* Found = nullptr;
  for (const auto& L : Layouts())
    if (Id && strcasecmp(Id, L.Id) == 0) Found = &L;
  if (!Found) {
    SetLastError(2);  // ERROR_FILE_NOT_FOUND: no such layout file
    return nullptr;
  }
  auto& List = Loaded();
  if (std::find(List.begin(), List.end(), Found->Hkl) == List.end()) List.push_back(Found->Hkl);
  if (Flags & KLF_ACTIVATE) Active() = Found->Hkl;
  return HklOf(Found->Hkl);
}

HKL ActivateKeyboardLayout(HKL Layout, UINT) {
  auto& List = Loaded();
  const std::uintptr_t Old = Active();
  auto Cur = std::find(List.begin(), List.end(), Old);
  const std::size_t At = Cur == List.end() ? 0 : std::size_t(Cur - List.begin());
  std::uintptr_t New;
  if (Layout == HKL_NEXT) New = List[(At + 1) % List.size()];
  else if (Layout == HKL_PREV) New = List[(At + List.size() - 1) % List.size()];
  else New = reinterpret_cast<std::uintptr_t>(Layout);
  if (std::find(List.begin(), List.end(), New) == List.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Active() = New;
  return HklOf(Old);
}

BOOL UnloadKeyboardLayout(HKL Layout) {
  auto& List = Loaded();
  auto It = std::find(List.begin(), List.end(), reinterpret_cast<std::uintptr_t>(Layout));
  if (It == List.end() || List.size() == 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool WasActive = *It == Active();
  const std::size_t At = std::size_t(It - List.begin());
  List.erase(It);
  if (WasActive) Active() = List[At % List.size()];
  return TRUE;
}

BOOL GetKeyboardLayoutNameA(char* Name) {
  if (!Name) return FALSE;
  std::strcpy(Name, LayoutOf(HklOf(Active()))->Id);
  return TRUE;
}

// ---- keys -------------------------------------------------------------------

int ToAsciiEx(UINT Vk, UINT, const BYTE* S, WORD* Out, UINT, HKL Layout) {
  const TLayout* L = LayoutOf(Layout);
  if (!S || !Out || !L) return 0;
  const bool Shift = S[VK_SHIFT] & 0x80, Ctrl = S[VK_CONTROL] & 0x80, Alt = S[VK_MENU] & 0x80;
  const bool Caps = S[VK_CAPITAL] & 0x01;
  const TCharKey* K = CharKey(*L, Vk);
  int Ch = 0;
  if (Ctrl && Alt) {
    Ch = K ? K->AltGr : 0;  // AltGr
  } else if (Vk >= 'A' && Vk <= 'Z') {
    if (Ctrl) Ch = int(Vk - 'A' + 1);
    else Ch = (Shift != Caps) ? int(Vk) : int(Vk - 'A' + 'a');
  } else if (Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9) {
    if (!(S[VK_NUMLOCK] & 0x01) || Ctrl) return 0;
    Ch = int('0' + (Vk - VK_NUMPAD0));
  } else if (K && !K->Dead) {
    Ch = Ctrl ? K->Control : Shift ? K->Shifted : K->Plain;
    if (Vk == VK_DECIMAL && !(S[VK_NUMLOCK] & 0x01)) Ch = 0;
  }
  // FIXME: dead keys type nothing and compose nothing.
  if (!Ch) return 0;
  *Out = WORD(Ch);
  return 1;
}

UINT MapVirtualKeyExA(UINT Code, UINT Type, HKL Layout) {
  const TLayout* L = LayoutOf(Layout);
  if (!L) return 0;
  switch (Type) {
    case MAPVK_VK_TO_VSC:
    case MAPVK_VK_TO_VSC_EX:
      for (const auto& K : L->Scans)
        if (K.Vk == Code) return K.Scan | (Type == MAPVK_VK_TO_VSC_EX && K.Extended ? 0xE000u : 0u);
      return 0;
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
      const bool Ext = (Code & 0xFF00) == 0xE000;
      for (const auto& K : L->Scans) {
        if (K.Scan != (Code & 0xFF) || (Type == MAPVK_VSC_TO_VK_EX && K.Extended != Ext)) continue;
        if (Type == MAPVK_VSC_TO_VK_EX && K.Vk == VK_SHIFT) return VK_LSHIFT;
        if (Type == MAPVK_VSC_TO_VK_EX && K.Vk == VK_CONTROL) return VK_LCONTROL;
        if (Type == MAPVK_VSC_TO_VK_EX && K.Vk == VK_MENU) return VK_LMENU;
        if (Type == MAPVK_VSC_TO_VK && K.Vk == VK_RSHIFT) return VK_SHIFT;
        return K.Vk;
      }
      return 0;
    }
    case MAPVK_VK_TO_CHAR: {
      if (Code >= 'A' && Code <= 'Z') return Code;
      const TCharKey* K = CharKey(*L, Code);
      if (!K || !K->Plain) return 0;
      return K->Plain | (K->Dead ? 0x80000000u : 0u);
    }
    default: return 0;
  }
}

SHORT VkKeyScanExA(char Ch, HKL Layout) {
  BYTE S[256] = {};
  // Plain, Shift, then AltGr (Ctrl+Alt: 0x600 in the high byte).
  const int States[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 1}};
  for (const auto& St : States) {
    S[VK_SHIFT] = St[0] ? 0x80 : 0;
    S[VK_CONTROL] = St[1] ? 0x80 : 0;
    S[VK_MENU] = St[2] ? 0x80 : 0;
    for (UINT Vk = 1; Vk < 256; ++Vk) {
      if (Vk >= VK_NUMPAD0 && Vk <= VK_DIVIDE) continue;  // prefer the main keys
      WORD Out = 0;
      if (ToAsciiEx(Vk, 0, S, &Out, 0, Layout) == 1 && Out == WORD(Byte(Ch)))
        return SHORT(Vk | (St[0] ? 0x100 : 0) | (St[1] ? 0x600 : 0));
    }
  }
  return -1;
}

int GetKeyNameTextA(LONG LParam, char* Buffer, int Size) {
  if (!Buffer || Size <= 0) return 0;
  const TLayout& L = *LayoutOf(HklOf(Active()));
  BYTE Scan = BYTE((DWORD(LParam) >> 16) & 0xFF);
  bool Ext = (DWORD(LParam) >> 24) & 1;
  if ((DWORD(LParam) >> 25) & 1) {  // left and right alike
    if (Scan == 0x36) Scan = 0x2A;
    if (Scan == 0x1D || Scan == 0x38) Ext = false;
  }
  AnsiString Name;
  for (const auto& K : KeyNames)
    if (K.Scan == Scan && K.Extended == Ext && (L.French ? K.Fr : K.Us)) Name = L.French ? K.Fr : K.Us;
  if (Name.empty() && Scan >= 0x3B && Scan <= 0x44 && !Ext) Name = AnsiString(1, 'F').append(std::to_string(Scan - 0x3B + 1));
  if (Name.empty() && (Scan == 0x57 || Scan == 0x58) && !Ext) Name = Scan == 0x57 ? "F11" : "F12";
  if (Name.empty() && !Ext) {
    for (const auto& K : L.Scans) {
      if (K.Scan != Scan || K.Extended) continue;
      const UINT Ch = MapVirtualKeyExA(K.Vk, MAPVK_VK_TO_CHAR, HklOf(L.Hkl)) & 0xFF;
      if (Ch) Name = AnsiUpperCase(AnsiString(1, char(Ch)));
      break;
    }
  }
  const int N = std::min<int>(int(Name.size()), Size - 1);
  std::memcpy(Buffer, Name.data(), std::size_t(N));
  Buffer[N] = '\0';
  return N;
}
