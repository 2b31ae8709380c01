#include "app/desktop/HotKeyManager.h"

#include <algorithm>

#include "platform/forms/Application.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/Atoms.h"
#include "platform/win/HotKeys.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

const char* const HotKeyNotAvailableText = "Not available on this keyboard";

namespace {
constexpr Cardinal ShiftBit = 0x2000, CtrlBit = 0x4000, AltBit = 0x8000, WinBit = 0x10000;

// ---- the unit's state -------------------------------------------------------

struct THotKeyUnit {
  bool Started = false;
  AnsiString Shift, Ctrl, Alt, Win;
  HKL English = nullptr;
  bool UnloadEnglish = false;
};

THotKeyUnit& Unit() {
  static THotKeyUnit U;
  return U;
}

// Page Up to Down and Insert, Delete sit on the extended keys.
bool IsExtendedKey(UINT Key) { return (Key >= 33 && Key <= 40) || Key == 45 || Key == 46; }

AnsiString NameFromParam(LONG Param) {
  char Buf[256];
  const int N = GetKeyNameTextA(Param, Buf, sizeof Buf);
  return AnsiString(Buf, std::size_t(std::max(N, 0)));
}

// The key's name in the active layout (Localized) or in US English.
AnsiString KeyName(UINT Key, bool Localized) {
  const LONG Ext = IsExtendedKey(Key) ? 0x1000000 : 0;
  if (Localized) {
    const LONG Param = LONG(MapVirtualKeyA(Key, 0) << 16) | Ext;
    return Param ? NameFromParam(Param) : AnsiString();
  }
  const HKL English = Unit().English;
  const HKL Current = GetKeyboardLayout(0);
  if (!English || English == Current) {
    const LONG Param = LONG(MapVirtualKeyExA(Key, 0, English ? English : Current) << 16) | Ext;
    return Param ? NameFromParam(Param) : AnsiString();
  }
  const LONG Param = LONG(MapVirtualKeyExA(Key, 0, English) << 16) | Ext;
  if (!Param) return {};
  // Key names come from the active layout only: borrow the English one
  // and give the user's back at once.
  ActivateKeyboardLayout(English, 0);
  AnsiString Name = NameFromParam(Param);
  ActivateKeyboardLayout(Current, 0);
  return Name;
}

void ForgetUnit() { Unit() = THotKeyUnit(); }

void StartUnit() {
  THotKeyUnit& U = Unit();
  if (U.Started) return;
  U.Started = true;
  // The reset of the window system renews the layouts: the unit starts
  // again on the next conversion.
  AddWindowSystemResetHook(&ForgetUnit);
  U.Shift = KeyName(16, true);
  U.Ctrl = KeyName(17, true);
  U.Alt = KeyName(18, true);
  const bool AllCapitals = std::all_of(U.Alt.begin(), U.Alt.end(), [](char C) { return C >= 'A' && C <= 'Z'; });
  U.Win = AllCapitals ? "WIN" : "Win";
  HKL Installed[100];
  const int Count = GetKeyboardLayoutList(100, Installed);
  U.English = LoadKeyboardLayoutA("00000409", KLF_NOTELLSHELL);
  U.UnloadEnglish = U.English && std::find(Installed, Installed + std::max(Count, 0), U.English) == Installed + std::max(Count, 0);
}

// Splits at "+": blanks before a part are skipped, empty parts dropped, and
// a quoted part (either quote) may hold "+".
std::vector<AnsiString> SplitHotKeyText(const AnsiString& Text) {
  std::vector<AnsiString> Parts;
  std::size_t I = 0;
  const std::size_t N = Text.size();
  while (I < N) {
    while (I < N && Text[I] == ' ') ++I;
    const std::size_t Head = I;
    char Quote = 0;
    while (I < N && (Quote || Text[I] != '+')) {
      if (Text[I] == '\'' || Text[I] == '"') {
        if (Quote == Text[I]) Quote = 0;
        else if (!Quote) Quote = Text[I];
      }
      ++I;
    }
    if (I > Head) Parts.push_back(Text.substr(Head, I - Head));
    ++I;  // the "+"
  }
  return Parts;
}
}  // namespace

// ---- conversions ------------------------------------------------------------

Cardinal HotKeyOf(Word Modifiers, Word Key) {
  // Only the virtual key: a wider value would spill into the modifier bits.
  Cardinal Result = Key & 0xFF;
  if (Modifiers & MOD_ALT) Result += AltBit;
  if (Modifiers & MOD_CONTROL) Result += CtrlBit;
  if (Modifiers & MOD_SHIFT) Result += ShiftBit;
  if (Modifiers & MOD_WIN) Result += WinBit;
  return Result;
}

void SeparateHotKey(Cardinal HotKey, Word& Modifiers, Word& Key) {
  Key = Word(HotKey & 0xFF);
  Modifiers = 0;
  if (HotKey & WinBit) Modifiers |= MOD_WIN;
  if (HotKey & AltBit) Modifiers |= MOD_ALT;
  if (HotKey & CtrlBit) Modifiers |= MOD_CONTROL;
  if (HotKey & ShiftBit) Modifiers |= MOD_SHIFT;
}

AnsiString HotKeyToText(Cardinal HotKey, bool Localized) {
  StartUnit();
  const THotKeyUnit& U = Unit();
  AnsiString Prefix;
  auto Add = [&](Cardinal Bit, const AnsiString& Local, const char* English) {
    if (HotKey & Bit) Prefix += (Localized ? Local : AnsiString(English)) + "+";
  };
  Add(CtrlBit, U.Ctrl, "Ctrl");
  Add(ShiftBit, U.Shift, "Shift");
  Add(AltBit, U.Alt, "Alt");
  Add(WinBit, U.Win, "Win");
  return Prefix + KeyName(HotKey & 0xFF, Localized);
}

Cardinal TextToHotKey(const AnsiString& Text, bool Localized) {
  StartUnit();
  const THotKeyUnit& U = Unit();
  const std::vector<AnsiString> Parts = SplitHotKeyText(Text);
  if (Parts.empty()) return 0;
  Word Modifiers = 0;
  for (std::size_t I = 0; I + 1 < Parts.size(); ++I) {
    const AnsiString P = Trim(Parts[I]);
    auto Is = [&](const char* English, const AnsiString& Local) { return SameText(P, English) || SameText(P, Local); };
    if (Is("Shift", U.Shift)) Modifiers |= MOD_SHIFT;
    else if (Is("Ctrl", U.Ctrl)) Modifiers |= MOD_CONTROL;
    else if (Is("Alt", U.Alt)) Modifiers |= MOD_ALT;
    else if (Is("Win", U.Win)) Modifiers |= MOD_WIN;
    else {
      Modifiers = 0;
      break;
    }
  }
  if (Modifiers == 0 && Parts.size() > 1) return 0;
  const AnsiString Last = Trim(Parts.back());
  UINT Key = 0;
  auto LookUp = [&](const AnsiString& Name) -> UINT {
    for (UINT K = 8; K <= 255; ++K)
      if (SameText(HotKeyToText(K, Localized), Name)) return K;
    return 0;
  };
  if (Last.size() == 1) {
    const char C = UpperCase(Last)[0];
    Key = (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') ? UINT(C) : LookUp(AnsiString(1, C));
  } else {
    for (const AnsiString& M : {AnsiString("Ctrl"), AnsiString("Alt"), AnsiString("Shift"), AnsiString("Win"), U.Ctrl,
                                U.Alt, U.Shift, U.Win})
      if (Last == M) return 0;  // a modifier is no key
    Key = LookUp(Last);
  }
  return Key ? HotKeyOf(Modifiers, Word(Key)) : 0;
}

AnsiString HotKeyDisplayText(const AnsiString& Text, bool Localized) {
  return TextToHotKey(Text, Localized) ? Text : AnsiString(HotKeyNotAvailableText);
}

void HotKeyUnitEnd() {
  THotKeyUnit& U = Unit();
  if (U.Started && U.UnloadEnglish && U.English) UnloadKeyboardLayout(U.English);
  ForgetUnit();
}

// ---- the manager ------------------------------------------------------------

THotKeyManager::THotKeyManager(TComponent* AOwner) : TComponent(AOwner) {
  FHandle = AllocateHWnd(TWndMethod(this, &THotKeyManager::WndProc));
}

THotKeyManager::~THotKeyManager() {
  ClearHotKeys();
  DeallocateHWnd(FHandle);
}

Word THotKeyManager::AddHotKey(Cardinal HotKey) {
  Word Modifiers = 0, Key = 0;
  SeparateHotKey(HotKey, Modifiers, Key);
  // A value without a key (a text that named no key of the layout gives 0)
  // is no hot key: registering it would claim every press of its modifiers.
  if (Key == 0) return 0;
  const AnsiString Name = "HotKeyManagerHotKey" + std::to_string(HotKey);
  const ATOM Atom = GlobalAddAtomA(Name.c_str());
  if (!Atom) return 0;
  if (!RegisterHotKey(FHandle, Atom, Modifiers, Key)) {
    GlobalDeleteAtom(Atom);
    return 0;
  }
  FHotKeys.push_back({HotKey, Atom});
  return Atom;
}

Word THotKeyManager::ChangeHotKey(Word Index, Cardinal NewHotKey) {
  const bool Known = std::any_of(FHotKeys.begin(), FHotKeys.end(), [&](const THotKeyEntry& E) { return E.Atom == Index; });
  if (!Known) return 0;
  RemoveHotKey(Index);
  return AddHotKey(NewHotKey);
}

bool THotKeyManager::RemoveHotKey(Word Index) {
  auto It = std::find_if(FHotKeys.begin(), FHotKeys.end(), [&](const THotKeyEntry& E) { return E.Atom == Index; });
  if (It == FHotKeys.end()) return false;
  const bool Ok = UnregisterHotKey(FHandle, It->Atom) != FALSE;
  GlobalDeleteAtom(It->Atom);
  FHotKeys.erase(It);
  return Ok;
}

void THotKeyManager::ClearHotKeys() {
  while (!FHotKeys.empty()) {
    const THotKeyEntry E = FHotKeys.back();
    UnregisterHotKey(FHandle, E.Atom);
    GlobalDeleteAtom(E.Atom);
    FHotKeys.pop_back();
  }
}

void THotKeyManager::WndProc(TMessage& Message) {
  if (Message.Msg == WM_HOTKEY && OnHotKeyPressed.Assigned()) {
    const Word Flags = LOWORD(Message.LParam);
    Cardinal HotKey = HIWORD(Message.LParam);
    if (Flags & MOD_SHIFT) HotKey += ShiftBit;
    if (Flags & MOD_CONTROL) HotKey += CtrlBit;
    if (Flags & MOD_ALT) HotKey += AltBit;
    if (Flags & MOD_WIN) HotKey += WinBit;
    const bool Ours = std::any_of(FHotKeys.begin(), FHotKeys.end(), [&](const THotKeyEntry& E) { return E.HotKey == HotKey; });
    if (Ours) {
      try {
        OnHotKeyPressed(HotKey, Word(LOWORD(Message.WParam)));
      } catch (const Exception&) {
        if (!Application) throw;
        Application->HandleException(this);
      }
    }
  }
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}
