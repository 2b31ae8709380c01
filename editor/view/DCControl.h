// DCControl.h — TDCCustomControl, the base of the library's editor control:
// a custom-drawn window that turns key strokes into commands through its
// key list, with chord keys (Ctrl+K then B). The list is filled by the key
// mapping registered for the control's class under the KeyMapping name.
//
// Owns its key list. The handlers in it point at the control or at objects
// the control owns; they die with it.
#pragma once
#include <memory>
#include "editor/base/KeyList.h"
#include "platform/forms/Controls.h"

class TDCCustomControl : public TCustomControl {
  SX_CLASS(TDCCustomControl, TCustomControl)
public:
  explicit TDCCustomControl(TComponent* AOwner);
  ~TDCCustomControl() override;

  AnsiString GetKeyMapping() const { return FKeyMapping; }
  // A new name rebuilds the key list from the mapping registered under it
  // (the default keys when none is).
  void SetKeyMapping(const AnsiString& Value);
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool GetOemConvert() const { return FOemConvert; }
  void SetOemConvert(bool Value) { FOemConvert = Value; }

  TKeyList* GetKeyList() const { return FKeyList.get(); }
  Byte GetChordState() const { return FChordState; }
  void ClearKeys();

  virtual void RebuildKeyMap();
  virtual void InitDefaultKeys() = 0;
  // A typed character; true when the control took it.
  virtual bool ProcessChar(char /*Ch*/) { return false; }

  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

  static Byte ShiftByte(TShiftState Shift);

protected:
  void Dispatch(TMessage& Message) override;

private:
  std::unique_ptr<TKeyList> FKeyList;
  AnsiString FKeyMapping;
  Byte FChordState = 0;
  // A key-down already looked up before the form saw it (a pending chord, or
  // Alt): the key-down message that follows for it must not look it up
  // again in the state that lookup left. 0 when none.
  Word FLookedUpKey = 0;
  bool FWantTabs = false;
  bool FWantReturns = true;
  bool FOemConvert = false;
};

// Link helpers of the library.
bool IsUrl(const AnsiString& Text);
bool IsEmailAddress(const AnsiString& Text);
bool IsUrlText(const AnsiString& Text);
// Asks the shell to open the link; the result is ignored.
void OpenUrl(const AnsiString& Text);
