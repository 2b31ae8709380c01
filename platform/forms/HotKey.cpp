#include "platform/forms/HotKey.h"

#include "platform/forms/ControlProps_p.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace {
WNDPROC HotKeyClassProc() {
  InitCommonControls();
  WNDCLASSA C;
  if (!GetClassInfoA(nullptr, HOTKEY_CLASS, &C)) throw EOutOfResources("Error creating window");
  return C.lpfnWndProc;
}

constexpr WORD EnChange = 0x0300;   // EN_CHANGE
constexpr WPARAM Pack(Byte Key, Byte Mods) { return WPARAM(Key) | (WPARAM(Mods) << 8); }

// HOTKEYF_ bits of a shortcut's shift part and back.
BYTE ControlModifiers(TShortCut S, bool Ext) {
  return BYTE(((S & scShift) ? HOTKEYF_SHIFT : 0) | ((S & scCtrl) ? HOTKEYF_CONTROL : 0) |
              ((S & scAlt) ? HOTKEYF_ALT : 0) | (Ext ? HOTKEYF_EXT : 0));
}
TShortCut ShortCutOf(WORD Value) {
  const BYTE M = BYTE(Value >> 8);
  return TShortCut((Value & 0xFF) | ((M & HOTKEYF_SHIFT) ? scShift : 0) | ((M & HOTKEYF_CONTROL) ? scCtrl : 0) |
                   ((M & HOTKEYF_ALT) ? scAlt : 0));
}
}  // namespace

THotKey::THotKey(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(FLeft, FTop, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
}

void THotKey::Published(TPublished<THotKey>& P) {
  P.Property("Anchors", &THotKey::GetAnchors, &THotKey::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("AutoSize", &THotKey::GetAutoSize, &THotKey::SetAutoSize).Default(true);
  SX_PUBLISH_BIDI(THotKey);
  P.Property("Enabled", &THotKey::GetEnabled, &THotKey::SetEnabled).Default(true);
  P.Property("Hint", &THotKey::GetHint, &THotKey::SetHint);
  P.Property("HotKey", &THotKey::GetHotKey, &THotKey::SetHotKey).Default(TShortCut(scAlt | 'A'));
  P.Property("InvalidKeys", &THotKey::GetInvalidKeys, &THotKey::SetInvalidKeys)
      .Default(THKInvalidKeys{hcNone, hcShift});
  P.Property("Modifiers", &THotKey::GetModifiers, &THotKey::SetModifiers).Default(THKModifiers{hkAlt});
  SX_PUBLISH_PARENT_BIDI(THotKey);
  P.Property("ParentShowHint", &THotKey::GetParentShowHint, &THotKey::SetParentShowHint).Default(true);
  P.Property("ShowHint", &THotKey::GetShowHint, &THotKey::SetShowHint);
  P.Property("TabOrder", &THotKey::GetTabOrder, &THotKey::SetTabOrder).Default(-1);
  P.Property("TabStop", &THotKey::GetTabStop, &THotKey::SetTabStop).Default(true);
  P.Property("Visible", &THotKey::GetVisible, &THotKey::SetVisible).Default(true);
  P.Property("OnChange", &THotKey::OnChange, &THotKey::OnChange);
  P.Property("OnEnter", &THotKey::OnEnter, &THotKey::OnEnter);
  P.Property("OnExit", &THotKey::OnExit, &THotKey::OnExit);
}

void THotKey::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::CreateWnd() {
  WNDPROC Proc = HotKeyClassProc();
  inherited::CreateWnd();
  FDefWndProc = Proc;
  SendRules();
  SendHotKey();
}

TShortCut THotKey::GetHotKey() const {
  if (!HandleAllocated()) return FHotKey;
  return ShortCutOf(WORD(SendMessageA(FHandle, HKM_GETHOTKEY, 0, 0)));
}

void THotKey::SetHotKey(TShortCut Value) {
  FHotKey = Value;
  FExtended = FModifiers.Contains(hkExt);
  SendHotKey();
}

void THotKey::SetModifiers(THKModifiers Value) {
  FModifiers = Value;
  SendRules();
}

void THotKey::SetInvalidKeys(THKInvalidKeys Value) {
  FInvalidKeys = Value;
  SendRules();
}

void THotKey::SendHotKey() {
  if (HandleAllocated())
    SendMessageA(FHandle, HKM_SETHOTKEY, Pack(Byte(FHotKey & 0xFF), ControlModifiers(FHotKey, FExtended)), 0);
}

void THotKey::SendRules() {
  if (!HandleAllocated()) return;
  static const WORD Flags[] = {HKCOMB_NONE, HKCOMB_S, HKCOMB_C, HKCOMB_A, HKCOMB_SC, HKCOMB_SA, HKCOMB_CA, HKCOMB_SCA};
  WORD Invalid = 0;
  for (THKInvalidKey K : FInvalidKeys) Invalid |= Flags[K];
  const BYTE Stand = BYTE((FModifiers.Contains(hkShift) ? HOTKEYF_SHIFT : 0) |
                          (FModifiers.Contains(hkCtrl) ? HOTKEYF_CONTROL : 0) |
                          (FModifiers.Contains(hkAlt) ? HOTKEYF_ALT : 0) | (FModifiers.Contains(hkExt) ? HOTKEYF_EXT : 0));
  SendMessageA(FHandle, HKM_SETRULES, Invalid, MAKELPARAM(Stand, 0));
}

void THotKey::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == EnChange) {
    const WORD V = WORD(SendMessageA(FHandle, HKM_GETHOTKEY, 0, 0));
    FHotKey = ShortCutOf(V);
    FExtended = (V >> 8) & HOTKEYF_EXT;
    if (OnChange) OnChange(this);
    return;
  }
  inherited::Dispatch(Message);
}

void RegisterHotKeyClasses() { RegisterClasses({THotKey::StaticClass()}); }
