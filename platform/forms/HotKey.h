// HotKey.h — THotKey, the class library's control over the system's
// hot-key control: the combination the user typed, as a shortcut (HotKey)
// plus the extra modifiers the shortcut cannot hold (Modifiers' hkExt), and
// the combinations the user may not type (InvalidKeys, replaced by
// Modifiers).
#pragma once
#include "platform/forms/Controls.h"
#include "platform/rtl/ShortCuts.h"

SX_ENUM(THKModifier, hkShift, hkCtrl, hkAlt, hkExt)
using THKModifiers = TSet<THKModifier>;
SX_ENUM(THKInvalidKey, hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt)
using THKInvalidKeys = TSet<THKInvalidKey>;

class THotKey : public TWinControl {
  SX_CLASS(THotKey, TWinControl)
public:
  explicit THotKey(TComponent* AOwner);
  static void Published(TPublished<THotKey>& P);

  // The combination shown; typing into the control changes it.
  TShortCut GetHotKey() const;
  void SetHotKey(TShortCut Value);
  THKModifiers GetModifiers() const { return FModifiers; }
  void SetModifiers(THKModifiers Value);
  THKInvalidKeys GetInvalidKeys() const { return FInvalidKeys; }
  void SetInvalidKeys(THKInvalidKeys Value);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) override { FAutoSize = Value; }

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

private:
  void SendRules();
  void SendHotKey();
  TShortCut FHotKey = scAlt | 'A';
  bool FExtended = false;
  THKModifiers FModifiers{hkAlt};
  THKInvalidKeys FInvalidKeys{hcNone, hcShift};
  bool FAutoSize = true;
};

void RegisterHotKeyClasses();
