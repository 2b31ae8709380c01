#include "platform/rtl/ShortCuts.h"

#include <strings.h>

#include "platform/rtl/VirtualKeys.h"

namespace {

const char* const ShiftName = "Shift+";
const char* const CtrlName = "Ctrl+";
const char* const AltName = "Alt+";

// Names the keyboard layout gives the keys that have no fixed name: what the
// US English layout reports for the key's scan code without the extended
// flag. That is why the numeric "/" reads like the main one and Num Lock
// like Pause.
const char* LayoutKeyName(Byte Key) {
  switch (Key) {
    case VK_CLEAR: return "Num 5";
    case VK_SHIFT: case VK_LSHIFT: return "Shift";
    case VK_RSHIFT: return "Right Shift";
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return "Ctrl";
    case VK_MENU: case VK_LMENU: case VK_RMENU: return "Alt";
    case VK_PAUSE: case VK_NUMLOCK: return "Pause";
    case VK_CAPITAL: return "Caps Lock";
    case VK_SNAPSHOT: return "Sys Req";
    case VK_MULTIPLY: return "Num *";
    case VK_ADD: return "Num +";
    case VK_SUBTRACT: return "Num -";
    case VK_DECIMAL: return "Num Del";
    case VK_DIVIDE: return "/";
    case VK_SCROLL: return "Scroll Lock";
    case VK_OEM_1: return ";";
    case VK_OEM_PLUS: return "=";
    case VK_OEM_COMMA: return ",";
    case VK_OEM_MINUS: return "-";
    case VK_OEM_PERIOD: return ".";
    case VK_OEM_2: return "/";
    case VK_OEM_3: return "`";
    case VK_OEM_4: return "[";
    case VK_OEM_5: return "\\";
    case VK_OEM_6: return "]";
    case VK_OEM_7: return "'";
    default: return "";
  }
}

AnsiString KeyName(Byte Key) {
  static const char* const NavNames[] = {"Space", "PgUp", "PgDn", "End", "Home",
                                         "Left",  "Up",   "Right", "Down"};
  if (Key == VK_BACK) return "BkSp";
  if (Key == VK_TAB) return "Tab";
  if (Key == VK_RETURN) return "Enter";
  if (Key == VK_ESCAPE) return "Esc";
  if (Key >= VK_SPACE && Key <= VK_DOWN) return NavNames[Key - VK_SPACE];
  if (Key == VK_INSERT) return "Ins";
  if (Key == VK_DELETE) return "Del";
  if (Key >= '0' && Key <= '9') return AnsiString(1, char(Key));
  if (Key >= 'A' && Key <= 'Z') return AnsiString(1, char(Key));
  // The numeric pad's digits read like the main row's, so text never
  // yields them.
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return AnsiString(1, char('0' + Key - VK_NUMPAD0));
  if (Key >= VK_F1 && Key <= VK_F24) return AnsiString(1, 'F').append(std::to_string(Key - VK_F1 + 1));
  return LayoutKeyName(Key);
}

// Consumes Prefix from the front of Text when it is there, ignoring case.
bool TakePrefix(AnsiString& Text, const char* Prefix) {
  const std::size_t N = std::char_traits<char>::length(Prefix);
  if (Text.size() < N || strncasecmp(Text.c_str(), Prefix, N) != 0) return false;
  Text.erase(0, N);
  return true;
}

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key > 0xFF) return 0;
  TShortCut Result = Key;
  if (Shift.Contains(ssShift)) Result |= scShift;
  if (Shift.Contains(ssCtrl)) Result |= scCtrl;
  if (Shift.Contains(ssAlt)) Result |= scAlt;
  return Result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & ~(scShift | scCtrl | scAlt);
  Shift.Clear();
  if (ShortCut & scShift) Shift << ssShift;
  if (ShortCut & scCtrl) Shift << ssCtrl;
  if (ShortCut & scAlt) Shift << ssAlt;
}

AnsiString ShortCutToText(TShortCut ShortCut) {
  const AnsiString Name = KeyName(Byte(ShortCut & 0xFF));
  if (Name.empty()) return {};
  AnsiString Result;
  if (ShortCut & scShift) Result += ShiftName;
  if (ShortCut & scCtrl) Result += CtrlName;
  if (ShortCut & scAlt) Result += AltName;
  return Result + Name;
}

TShortCut TextToShortCut(const AnsiString& Text) {
  AnsiString Rest = Text;
  TShortCut Shift = 0;
  for (;;) {
    if (TakePrefix(Rest, ShiftName)) Shift |= scShift;
    else if (TakePrefix(Rest, "^")) Shift |= scCtrl;
    else if (TakePrefix(Rest, CtrlName)) Shift |= scCtrl;
    else if (TakePrefix(Rest, AltName)) Shift |= scAlt;
    else break;
  }
  if (Rest.empty()) return 0;
  for (int Key = VK_BACK; Key <= 0xFF; ++Key) {
    const AnsiString Name = KeyName(Byte(Key));
    if (Name.size() == Rest.size() && strncasecmp(Name.c_str(), Rest.c_str(), Name.size()) == 0)
      return TShortCut(Key | Shift);
  }
  return 0;
}
