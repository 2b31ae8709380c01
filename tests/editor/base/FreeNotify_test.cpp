#include "editor/base/FreeNotify.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/base/NamedItems.h"

namespace {

// A watcher that logs "<tag>:<address>" for every call and can run an
// action from inside its callback.
class TWatcher : public TObject {
public:
  explicit TWatcher(std::string ATag, std::vector<std::string>* ALog) : Tag(std::move(ATag)), Log(ALog) {}
  void Freed(TObject* Obj) {
    Log->push_back(Tag);
    LastAddress = Obj;
    if (During) During(Obj);
  }
  TFreeNotifyProc Proc() { return TFreeNotifyProc(this, &TWatcher::Freed); }
  std::string Tag;
  std::vector<std::string>* Log;
  const void* LastAddress = nullptr;
  std::function<void(TObject*)> During;
};

class TWatchable : public TFreeNotified<TPersistent> {};

TEST(FreeNotify, EveryCallbackOfAnObjectRunsOnceInRegistrationOrder) {
  std::vector<std::string> Log;
  TWatcher A("a", &Log), B("b", &Log);
  for (bool Component : {false, true}) {
    SCOPED_TRACE(Component ? "component" : "watchable object");
    Log.clear();
    TObject* Obj = Component ? static_cast<TObject*>(new TComponent(nullptr)) : new TWatchable;
    AddFreeNotifier(Obj, A.Proc());
    AddFreeNotifier(Obj, B.Proc());
    delete Obj;
    EXPECT_EQ(Log, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(B.LastAddress, Obj);
  }
  EXPECT_EQ(FindNotifierStorage(), nullptr) << "the storage goes with its last watched component";
}

TEST(FreeNotify, RemovingTakesOutEveryRegistrationOfTheMethod) {
  std::vector<std::string> Log;
  TWatcher A("a", &Log), B("b", &Log);
  for (bool Component : {false, true}) {
    SCOPED_TRACE(Component ? "component" : "watchable object");
    Log.clear();
    TObject* Obj = Component ? static_cast<TObject*>(new TComponent(nullptr)) : new TWatchable;
    AddFreeNotifier(Obj, A.Proc());
    AddFreeNotifier(Obj, A.Proc());
    AddFreeNotifier(Obj, B.Proc());
    RemoveFreeNotifier(Obj, A.Proc());
    delete Obj;
    EXPECT_EQ(Log, (std::vector<std::string>{"b"}));
  }
}

TEST(FreeNotify, CallbackRemovingItselfForTheFreedObjectChangesNothing) {
  std::vector<std::string> Log;
  TWatcher A("a", &Log), B("b", &Log);
  A.During = [&](TObject* Obj) { RemoveFreeNotifier(Obj, B.Proc()); };
  auto* Obj = new TWatchable;
  AddFreeNotifier(Obj, A.Proc());
  AddFreeNotifier(Obj, B.Proc());
  delete Obj;
  EXPECT_EQ(Log, (std::vector<std::string>{"a", "b"}));
}

TEST(FreeNotify, StorageIsFreedWithItsLastRegistrationAndMadeAgainOnDemand) {
  std::vector<std::string> Log;
  TWatcher A("a", &Log);
  TComponent C(nullptr);
  AddFreeNotifier(&C, A.Proc());
  TNotifierStorage* First = FindNotifierStorage();
  ASSERT_NE(First, nullptr);
  RemoveFreeNotifier(&C, A.Proc());
  EXPECT_EQ(FindNotifierStorage(), nullptr);
  AddFreeNotifier(&C, A.Proc());
  EXPECT_NE(FindNotifierStorage(), nullptr);
  RemoveFreeNotifier(&C, A.Proc());
  EXPECT_TRUE(Log.empty());
}

TEST(FreeNotify, AnObjectThatCannotReportItsReleaseIsRefused) {
  std::vector<std::string> Log;
  TWatcher A("a", &Log);
  TPersistent Plain;
  EXPECT_THROW(AddFreeNotifier(&Plain, A.Proc()), EInvalidOperation);
  AddFreeNotifier(nullptr, A.Proc());  // nothing for nil
  RemoveFreeNotifier(&Plain, A.Proc());  // not registered: nothing
}

TEST(TCustomDCNamedItems, KeepsWorkingAfterItsOwnerIsFreed) {
  for (bool Component : {false, true}) {
    SCOPED_TRACE(Component ? "component owner" : "persistent owner");
    TPersistent* Owner = Component ? static_cast<TPersistent*>(new TComponent(nullptr)) : new TWatchable;
    TDCNamedItems Items(Owner, TDCNamedItem::StaticClass());
    EXPECT_EQ(GetOwnerOfPersistent(&Items), Owner);
    delete Owner;
    EXPECT_EQ(Items.Owner(), nullptr);
    EXPECT_EQ(GetOwnerOfPersistent(&Items), nullptr);
    Items.Add()->SetDisplayName("x");
    EXPECT_EQ(Items.IndexOfName("X"), 0);
  }
  EXPECT_EQ(FindNotifierStorage(), nullptr);
}

TEST(TCustomDCNamedItems, FreedCollectionStopsWatchingItsOwner) {
  TComponent Owner(nullptr);
  { TDCNamedItems Items(&Owner, TDCNamedItem::StaticClass()); }
  EXPECT_EQ(FindNotifierStorage(), nullptr);
}

}  // namespace
