#include "editor/base/Notifiers.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

class TListener : public TObject {
public:
  TListener(std::string ATag, std::string* ALog) : Tag(std::move(ATag)), Log(ALog) {}
  void Changed(TObject*, Integer A, Integer) {
    *Log += Tag + std::to_string(A) + ";";
    if (During) During();
  }
  TNotifierProc Proc() { return TNotifierProc(this, &TListener::Changed); }
  std::string Tag;
  std::string* Log;
  std::function<void()> During;
};

TEST(TNotifierList, AddingAgainMovesTheListenerToTheEnd) {
  std::string Log;
  TListener A("a", &Log), B("b", &Log);
  TNotifierList L;
  L.Add(A.Proc());
  L.Add(B.Proc());
  L.Add(A.Proc());
  EXPECT_EQ(L.Count(), 2);
  L.Notify(nullptr, 1, 0);
  EXPECT_EQ(Log, "a1;b1;") << "last added is told first";
}

TEST(TNotifierList, ListenersRemovingThemselvesOrOthersDuringNotify) {
  std::string Log;
  TListener A("a", &Log), B("b", &Log), C("c", &Log);
  TNotifierList L;
  L.Add(A.Proc());
  L.Add(B.Proc());
  L.Add(C.Proc());
  C.During = [&] { L.Remove(C.Proc()); };
  L.Notify(nullptr, 1, 0);
  EXPECT_EQ(Log, "c1;b1;a1;") << "self-removal skips no one";
  Log.clear();
  C.During = nullptr;
  L.Add(C.Proc());  // a, b, c again
  B.During = [&] { L.RemoveTarget(&C); };
  L.Notify(nullptr, 2, 0);
  EXPECT_EQ(Log, "c2;b2;a2;") << "removing one already told repeats no one";
  EXPECT_EQ(L.Count(), 2);
}

TEST(TPackagedCollection, ModuleUnloadingFreesTheItemsOfItsGroup) {
  TPackagedCollection C(TPackagedCollectionItem::StaticClass());
  C.AddItem();
  C.AddItem()->Group = 5;
  C.AddItem();
  EXPECT_EQ(C.LastItem()->Group, CurrentGroup);
  EXPECT_TRUE(BroadcastPackageMessage(DCM_MODULEUNLOADING, WPARAM(5), 0, false));
  EXPECT_EQ(C.Count(), 2);
  C.FreeGroupItems(CurrentGroup);
  EXPECT_EQ(C.Count(), 0);
  EXPECT_EQ(C.LastItem(), nullptr);
}

class TAnswering : public TObject, public TEdMessageTarget {
public:
  explicit TAnswering(LRESULT R, int* ACalls) : Result(R), Calls(ACalls) {}
  void Dispatch(TEdMessage& M) override {
    ++*Calls;
    M.Result = Result;
  }
  LRESULT Result;
  int* Calls;
};

TEST(BroadcastToList, StopsAtTheFirstNonZeroResultWhenAsked) {
  int Calls = 0;
  TAnswering Zero(0, &Calls), One(1, &Calls);
  TObject Deaf;
  std::vector<TObject*> L{&Zero, &One, &Deaf};
  EXPECT_FALSE(BroadcastToList(L, 1, 0, 0, true));
  EXPECT_EQ(Calls, 1) << "walk runs from the last; the deaf object ignores it";
  Calls = 0;
  EXPECT_TRUE(BroadcastToList(L, 1, 0, 0, false));
  EXPECT_EQ(Calls, 2);
}

TEST(ComponentHelpers, UniqueNamesLookThroughTheOwnerChain) {
  TComponent Form(nullptr);
  Form.SetName("Form1");
  auto* Memo1 = new TComponent(&Form);
  Memo1->SetName("Memo1");
  auto* Panel = new TComponent(&Form);
  EXPECT_EQ(MakeUniqueComponentName(&Form, "Memo"), "Memo2");
  EXPECT_EQ(MakeUniqueComponentName(Panel, "Memo"), "Memo2") << "the owner's components count too";
  EXPECT_EQ(MakeUniqueComponentName(nullptr, "Memo"), "Memo1");
  EXPECT_FALSE(IsNameFreeInOwners(&Form, "memo1"));
  EXPECT_EQ(GetComponentNamePath(nullptr), "");
  EXPECT_EQ(GetComponentNamePath(&Form), "Form1");
}

class TRegTestClass : public TPersistent {
  SX_CLASS(TRegTestClass, TPersistent)
};

TEST(ClassItems, RegisteringKeepsTheFirstPageAndCombinesFlags) {
  RegisterClassesWithFlag("", {TRegTestClass::StaticClass()}, cfNoIcon);
  RegisterClassesWithFlag("Editor", {TRegTestClass::StaticClass()}, cfPalette);
  RegisterClassesWithFlag("Other", {TRegTestClass::StaticClass()}, cfRegistered);
  TClassItem* Item = GetClassItems()->FindClass(TRegTestClass::StaticClass());
  ASSERT_NE(Item, nullptr);
  EXPECT_EQ(Item->Flags, cfNoIcon | cfPalette | cfRegistered);
  EXPECT_EQ(Item->Page, "Editor");
  RegisterDefaultEditClass(nullptr, 0, "x", TRegTestClass::StaticClass());
  EXPECT_TRUE(static_cast<TEditClassInfo*>(GetEditClassInfos()->LastItem())->IsDefault);
}

}  // namespace

namespace {
class THookedA : public TPersistent {
  SX_CLASS(THookedA, TPersistent)
};
class THookedB : public TPersistent {
  SX_CLASS(THookedB, TPersistent)
};
void OtherNoIconProc(const std::vector<TClass>&) {}
}  // namespace

TEST(RegistrationHooks, RegisterThroughTheClassItemsAndLeaveOthersHooksAlone) {
  RegisterNoIconProc = &OtherNoIconProc;  // a hook someone else set stays
  InstallRegistrationHooks();
  EXPECT_EQ(RegisterNoIconProc, &OtherNoIconProc);
  ASSERT_NE(RegisterComponentsProc, nullptr);
  RegisterComponents("Editor", {THookedA::StaticClass()});
  RegisterNonActiveX({THookedB::StaticClass()}, 0);
  TClassItem* A = GetClassItems()->FindClass(THookedA::StaticClass());
  TClassItem* B = GetClassItems()->FindClass(THookedB::StaticClass());
  ASSERT_TRUE(A && B);
  EXPECT_EQ(A->Flags, cfPalette);
  EXPECT_EQ(A->Page, "Editor");
  EXPECT_EQ(B->Flags, cfRegistered);
  EXPECT_EQ(GetClass("THookedA"), THookedA::StaticClass());
  RemoveRegistrationHooks();
  EXPECT_EQ(RegisterComponentsProc, nullptr);
  EXPECT_EQ(RegisterNonActiveXProc, nullptr);
  EXPECT_EQ(RegisterNoIconProc, &OtherNoIconProc);
  RegisterNoIconProc = nullptr;
  EXPECT_THROW(RegisterComponents("Editor", {THookedA::StaticClass()}), EComponentError);
}

int GlobalInThisImage = 0;

TEST(ModuleOfAddress, ImagesHaveAModuleHeapAndStackHaveNone) {
  const HMODULE Code = ModuleOfAddress(reinterpret_cast<const void*>(&ModuleOfAddress));
  EXPECT_NE(Code, nullptr);
  EXPECT_EQ(ModuleOfAddress(&GlobalInThisImage), Code) << "data of the same image";
  EXPECT_NE(ModuleOfAddress(reinterpret_cast<const void*>(&std::printf)), Code) << "the C library is another image";
  auto Heap = std::make_unique<int>(0);
  int Local = 0;
  EXPECT_EQ(ModuleOfAddress(Heap.get()), nullptr);
  EXPECT_EQ(ModuleOfAddress(&Local), nullptr);
  EXPECT_EQ(ModuleOfAddress(nullptr), nullptr);
}

TEST(CallProc, CallsTheProcedureAndNothingWhenEmpty) {
  int Calls = 0;
  CallProc([&] { ++Calls; });
  CallProc(nullptr);
  EXPECT_EQ(Calls, 1);
}
