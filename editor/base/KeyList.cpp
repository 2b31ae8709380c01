#include "editor/base/KeyList.h"

#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"

void TKeyData::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TKeyData*>(Source)) {
    State = S->State;
    NextState = S->NextState;
    Key = S->Key;
    Shift = S->Shift;
    Handler = S->Handler;
    Changed(false);
    return;
  }
  inherited::Assign(Source);
}

TKeyData* TKeyList::FindKey(Word Key, Byte Shift, Byte State) {
  if (FLastFound && FLastFound->Matches(Key, Shift, State) &&
      (FLastFound->State != AnyKeyState || FLastState == State))
    return FLastFound;
  for (Integer I = Count() - 1; I >= 0; --I) {
    auto* D = static_cast<TKeyData*>(Items(I));
    if (D->Matches(Key, Shift, State)) {
      FLastFound = D;
      FLastState = State;
      return D;
    }
  }
  return nullptr;
}

TKeyData* TKeyList::AddBinding(Word Key, Byte Shift, const TKeyHandler& Handler, Byte State, Byte NextState) {
  auto* D = static_cast<TKeyData*>(Add());
  D->Key = Key;
  D->Shift = Shift;
  D->Handler = Handler;
  D->State = State;
  D->NextState = NextState;
  FLastFound = nullptr;
  return D;
}

void TKeyList::Update(TCollectionItem* Item) {
  FLastFound = nullptr;
  inherited::Update(Item);
}

void TKeyList::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  // A binding on its way out must not stay remembered.
  if (Action != cnAdded && Item == FLastFound) FLastFound = nullptr;
  inherited::Notify(Item, Action);
}

bool IsAltDown() { return GetAsyncKeyState(VK_MENU) < 0; }

Byte GetShiftByte() {
  Byte Result = 0;
  if (GetKeyState(VK_SHIFT) < 0) Result |= ksShift;
  if (GetKeyState(VK_CONTROL) < 0) Result |= ksCtrl;
  if (IsAltDown()) Result |= ksAlt;
  return Result;
}

void CallMethodProc(const TKeyHandler& Handler) {
  if (Handler.Assigned()) Handler();
}
