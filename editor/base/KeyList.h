// KeyList.h — key bindings of the editor controls: each binding maps a
// virtual key and a shift byte, in a chord state, to a handler.
//
// Shift byte: 1 Shift, 2 Alt, 4 Ctrl, added together. Chord state 0 is the
// ground state; 255 in a binding means any state. A binding added later
// overrides an earlier one for the same key, shift and state.
#pragma once
#include "platform/rtl/Collection.h"

inline constexpr Byte ksShift = 1;
inline constexpr Byte ksAlt = 2;
inline constexpr Byte ksCtrl = 4;
inline constexpr Byte AnyKeyState = 255;

using TKeyHandler = TEvent<void()>;

class TKeyData : public TCollectionItem {
  SX_CLASS(TKeyData, TCollectionItem)
public:
  explicit TKeyData(TCollection* ACollection) : TCollectionItem(ACollection) {}
  void Assign(TPersistent* Source) override;
  bool Matches(Word AKey, Byte AShift, Byte AState) const {
    return Key == AKey && Shift == AShift && (State == AState || State == AnyKeyState);
  }

  Byte State = 0;
  Byte NextState = 0;
  Word Key = 0;
  Byte Shift = 0;
  TKeyHandler Handler;  // empty for a chord prefix
};

class TKeyList : public TCollection {
  SX_CLASS(TKeyList, TCollection)
public:
  TKeyList() : TCollection(TKeyData::StaticClass()) {}

  // The binding added last that matches; nil when none. Repeated look-ups
  // are answered from the last one found, but an any-state binding found in
  // one state is not taken as the answer for another (a binding for that
  // state added after it must win).
  TKeyData* FindKey(Word Key, Byte Shift, Byte State);
  TKeyData* AddBinding(Word Key, Byte Shift, const TKeyHandler& Handler, Byte State, Byte NextState);
  TKeyData* AddKey(Word Key, Byte Shift, const TKeyHandler& Handler) { return AddBinding(Key, Shift, Handler, 0, 0); }
  TKeyData* AddKeyAnyState(Word Key, Byte Shift, const TKeyHandler& Handler) {
    return AddBinding(Key, Shift, Handler, AnyKeyState, 0);
  }
  TKeyData* LastFound() const { return FLastFound; }

protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
  TKeyData* FLastFound = nullptr;
  Byte FLastState = 0;
};

// Alt as the keyboard reports it now (its asynchronous state).
bool IsAltDown();
// The shift byte of the keys held: Shift and Ctrl from the thread's
// keyboard state, Alt from IsAltDown.
Byte GetShiftByte();

void CallMethodProc(const TKeyHandler& Handler);
