#include "editor/view/DCControl.h"

#include "editor/base/ObjectParams.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Messages.h"

TDCCustomControl::TDCCustomControl(TComponent* AOwner)
    : TCustomControl(AOwner), FKeyList(std::make_unique<TKeyList>()), FKeyMapping("Default") {
  // The list is filled by the most derived class once it can answer
  // InitDefaultKeys (a base constructor cannot reach it).
}

TDCCustomControl::~TDCCustomControl() = default;

void TDCCustomControl::SetKeyMapping(const AnsiString& Value) {
  if (Value == FKeyMapping) return;
  FKeyMapping = Value;
  RebuildKeyMap();
}

void TDCCustomControl::ClearKeys() { FKeyList->Clear(); }

void TDCCustomControl::RebuildKeyMap() {
  FKeyList->Clear();
  if (TKeyMappingProc Proc = FindKeyMappingProc(ClassType(), FKeyMapping))
    Proc(this);
  else
    InitDefaultKeys();
}

Byte TDCCustomControl::ShiftByte(TShiftState Shift) {
  Byte B = 0;
  if (Shift.Contains(ssShift)) B |= ksShift;
  if (Shift.Contains(ssAlt)) B |= ksAlt;
  if (Shift.Contains(ssCtrl)) B |= ksCtrl;
  return B;
}

void TDCCustomControl::KeyDown(Word& Key, TShiftState Shift) {
  // The key was looked up (and OnKeyDown fired) before the form saw it.
  if (FLookedUpKey != 0) {
    const Word Earlier = FLookedUpKey;
    FLookedUpKey = 0;
    if (Earlier == Key) return;
  }
  inherited::KeyDown(Key, Shift);
  if ((Key == VK_RETURN && !FWantReturns) || (Key == VK_TAB && !FWantTabs)) {
    // Ctrl lets Enter and TAB reach the control as plain keys even where
    // the form would take them.
    if (!Shift.Contains(ssCtrl)) return;
    Shift = TShiftState{};
  }
  if (Key == 0 || ComponentState().Contains(csDesigning)) return;
  // Pressing Shift, Ctrl or Alt alone is part of the next key, not a key of
  // its own: it must not drop a pending chord.
  if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return;
  TKeyData* Binding = FKeyList->FindKey(Key, ShiftByte(Shift), FChordState);
  if (!Binding) {
    FChordState = 0;
    return;
  }
  // A handler may rebuild (or empty) the list: keep what the binding says
  // before it runs.
  const Byte Next = Binding->NextState;
  const TKeyHandler Handler = Binding->Handler;
  if (Handler.Assigned()) Handler();
  Key = 0;
  FChordState = Next;
}

void TDCCustomControl::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (Key == 0 || ComponentState().Contains(csDesigning) || FChordState != 0) return;
  if (FOemConvert) {
    const AnsiString Oem = AnsiToOem(AnsiString(1, Key));
    if (!Oem.empty()) Key = Oem[0];
  }
  if (ProcessChar(Key)) Key = 0;
}

void TDCCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: {
      LRESULT Code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
      if (FWantTabs) Code |= DLGC_WANTTAB;
      if (!FWantReturns) Code &= ~DLGC_WANTALLKEYS;
      Message.Result = Code;
      return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      // A pending chord takes the next key before the form sees it as a
      // dialog key; Alt keys always come here first.
      if (FChordState != 0 || Message.Msg == CN_SYSKEYDOWN) {
        Word Key = Word(Message.WParam);
        FLookedUpKey = 0;
        KeyDown(Key, KeyDataToShiftState(Message.LParam));
        if (Key == 0) {
          Message.Result = 1;
          return;
        }
        FLookedUpKey = Key;
      }
      break;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Links

namespace {
bool StartsNoCase(const AnsiString& S, const char* Prefix) {
  const AnsiString P(Prefix);
  return S.size() >= P.size() && UpperCase(S.substr(0, P.size())) == P;
}
}  // namespace

bool IsUrl(const AnsiString& Text) {
  if (Text.empty()) return false;
  return StartsNoCase(Text, "WWW.") || StartsNoCase(Text, "HTTP://") || StartsNoCase(Text, "GOPHER://") ||
         StartsNoCase(Text, "FTP://");
}

bool IsEmailAddress(const AnsiString& Text) {
  if (Text.empty()) return false;
  if (StartsNoCase(Text, "MAILTO:")) return true;
  const size_t At = Text.find('@');
  if (At == AnsiString::npos || Text.find('@', At + 1) != AnsiString::npos || At + 1 >= Text.size()) return false;
  const size_t Dot = Text.rfind('.');
  if (Dot == AnsiString::npos || Dot < At) return false;
  const char C = Text[At + 1];
  return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_';
}

bool IsUrlText(const AnsiString& Text) { return IsUrl(Text) || IsEmailAddress(Text); }

void OpenUrl(const AnsiString& Text) { ShellExecuteA(nullptr, nullptr, Text.c_str(), nullptr, nullptr, SW_SHOW); }
