#include "editor/base/KeyList.h"

#include <gtest/gtest.h>

#include "editor/base/ObjectParams.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"

namespace {

class THandlers : public TObject {
public:
  void A() { Log += "A"; }
  void B() { Log += "B"; }
  std::string Log;
};

struct TLookup {
  Word Key;
  Byte Shift;
  Byte State;
  int Want;  // index of the binding, -1 for none
  const char* Why;
};

TEST(TKeyList, LookupsFindTheLastAddedMatchingBinding) {
  THandlers H;
  TKeyList L;
  L.AddBinding('K', ksCtrl, nullptr, 0, 1);                            // 0: chord prefix
  L.AddBinding('B', ksCtrl, TKeyHandler(&H, &THandlers::A), 1, 0);     // 1
  L.AddKey('C', ksCtrl | ksShift, TKeyHandler(&H, &THandlers::A));     // 2
  L.AddKey('C', ksCtrl | ksShift, TKeyHandler(&H, &THandlers::B));     // 3
  L.AddKey(VK_F1, 0, TKeyHandler(&H, &THandlers::A));                  // 4
  L.AddKeyAnyState(VK_F1, 0, TKeyHandler(&H, &THandlers::B));          // 5
  const TLookup Cases[] = {
      {'K', ksCtrl, 0, 0, "chord prefix in the ground state"},
      {'B', ksCtrl, 1, 1, "second key of the chord"},
      {'B', ksCtrl, 0, -1, "second key without the prefix"},
      {'C', 5, 0, 3, "the later of two equal bindings"},
      {'C', ksCtrl, 0, -1, "shift must match exactly"},
      {VK_F1, 0, 0, 5, "an any-state binding added later shadows"},
      {VK_F1, 0, 7, 5, "any state"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TKeyData* Got = L.FindKey(C.Key, C.Shift, C.State);
    EXPECT_EQ(Got ? Got->Index() : -1, C.Want);
  }
  EXPECT_EQ(L.FindKey('K', ksCtrl, 0)->NextState, 1);
}

TEST(TKeyList, RememberedAnyStateBindingDoesNotHideAStateSpecificOne) {
  THandlers H;
  TKeyList L;
  TKeyData* Any = L.AddKeyAnyState('X', 0, TKeyHandler(&H, &THandlers::A));
  TKeyData* One = L.AddBinding('X', 0, TKeyHandler(&H, &THandlers::B), 1, 0);
  EXPECT_EQ(L.FindKey('X', 0, 1), One);
  EXPECT_EQ(L.FindKey('X', 0, 0), Any);
  EXPECT_EQ(L.LastFound(), Any);
  EXPECT_EQ(L.FindKey('X', 0, 1), One) << "a fresh look-up for the new state";
  EXPECT_EQ(L.FindKey('X', 0, 1), L.LastFound());
}

TEST(TKeyList, ChangingTheListForgetsTheRememberedBinding) {
  THandlers H;
  TKeyList L;
  L.AddKey('Y', 0, TKeyHandler(&H, &THandlers::A));
  ASSERT_NE(L.FindKey('Y', 0, 0), nullptr);
  L.AddKey('Z', 0, nullptr);
  EXPECT_EQ(L.LastFound(), nullptr);
  TKeyData* Later = L.AddKey('Y', 0, TKeyHandler(&H, &THandlers::B));
  EXPECT_EQ(L.FindKey('Y', 0, 0), Later);
  delete Later;
  EXPECT_EQ(L.LastFound(), nullptr) << "a deleted binding is not remembered";
  ASSERT_NE(L.FindKey('Y', 0, 0), nullptr);
  CallMethodProc(L.FindKey('Y', 0, 0)->Handler);
  EXPECT_EQ(H.Log, "A");
}

struct TShiftCase {
  bool Shift, Ctrl;      // in the thread's keyboard state
  bool AltThread;        // Alt in the thread's keyboard state only
  bool AltAsync;         // Alt held as the keyboard reports it now
  Byte Want;
  const char* Why;
};

TEST(TKeyList, ShiftByteReadsTheKeyboardState) {
  const TShiftCase Cases[] = {
      {false, false, false, false, 0, "nothing held"},
      {true, true, false, false, ksCtrl | ksShift, "Ctrl+Shift is 5"},
      {false, false, false, true, ksAlt, "Alt from the asynchronous state"},
      {false, false, true, false, 0, "Alt in the thread's state alone does not count"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    InputReset();
    BYTE State[256] = {};
    State[VK_SHIFT] = C.Shift ? 0x80 : 0;
    State[VK_CONTROL] = C.Ctrl ? 0x80 : 0;
    State[VK_MENU] = C.AltThread ? 0x80 : 0;
    SetKeyboardState(State);
    if (C.AltAsync) QueueKey(VK_MENU, /*Down=*/true);
    EXPECT_EQ(GetShiftByte(), C.Want);
  }
  InputReset();
}

// Control classes for the mapping registry.
class TTestControl : public TPersistent {
  SX_CLASS(TTestControl, TPersistent)
};
class TTestDerivedControl : public TTestControl {
  SX_CLASS(TTestDerivedControl, TTestControl)
};
void FillVs(TObject*) {}
void FillBrief(TObject*) {}

TEST(ObjectParams, KeyMappingsAreFoundForDescendantsInAnyCase) {
  RegisterKeyMapping(TTestControl::StaticClass(), "Visual Studio", &FillVs);
  RegisterKeyMapping(TTestControl::StaticClass(), "Brief", &FillBrief);
  EXPECT_EQ(FindKeyMappingProc(TTestDerivedControl::StaticClass(), "visual studio"), &FillVs);
  EXPECT_EQ(FindKeyMappingProc(TTestControl::StaticClass(), "BRIEF"), &FillBrief);
  EXPECT_EQ(FindKeyMappingProc(TTestControl::StaticClass(), "Epsilon"), nullptr);
  EXPECT_EQ(FindKeyMappingProc(TPersistent::StaticClass(), "Brief"), nullptr) << "an ancestor has no mapping";

  std::vector<TObjectParamListItem*> All;
  ListParamItems(TObject::StaticClass(), All);
  EXPECT_EQ(All.size(), std::size_t(GetObjectParamList()->Count()));
  std::vector<TObjectParamListItem*> Mine;
  ListParamItems(TTestControl::StaticClass(), Mine);
  EXPECT_EQ(Mine.size(), 2u);
}

struct TParamCase {
  Variant Stored, Wanted;
  Integer Flags;
  bool Want;
  const char* Why;
};

TEST(ObjectParams, ParameterValuesCompareByTypeThenValue) {
  const TParamCase Cases[] = {
      {Variant("Pascal"), Variant("pascal"), 0, false, "case matters by default"},
      {Variant("Pascal"), Variant("pascal"), pfIgnoreCase, true, "ignoring case"},
      {Variant("Object Pascal"), Variant("Pascal"), pfContains, true, "either contains the other"},
      {Variant("Pas"), Variant("PASCAL"), pfContains | pfIgnoreCase, true, "both flags"},
      {Null(), Variant("x"), pfContains, false, "a missing parameter never matches a text"},
      {Variant(Integer(123)), Variant(Integer(123)), 0, true, "integers"},
      {Variant(Integer(1)), Variant("1"), 0, false, "different types"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(ParamValuesEqual(C.Stored, C.Wanted, C.Flags), C.Want);
  }
}

}  // namespace
