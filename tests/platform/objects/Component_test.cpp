#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Records what it hears and keeps a link that must not dangle.
class TWatcher : public TComponent {
  SX_CLASS(TWatcher, TComponent)
public:
  using TComponent::TComponent;
  ~TWatcher() override { DestroyComponents(); }
  TComponent* Link = nullptr;
  std::vector<std::string> Heard;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Heard.push_back((Operation == opInsert ? "insert " : "remove ") + AComponent->GetName());
    if (Operation == opRemove && AComponent == Link) Link = nullptr;
  }
};

class TCounted : public TComponent {
public:
  explicit TCounted(TComponent* AOwner, int* ALive) : TComponent(AOwner), Live(ALive) { ++*Live; }
  ~TCounted() override { --*Live; }
  int* Live;
};
}  // namespace

TEST(TComponent, OwnerFreesOwnedComponentsAndTracksIndex) {
  int Live = 0;
  {
    TComponent Owner(nullptr);
    auto* A = new TCounted(&Owner, &Live);
    auto* B = new TCounted(&Owner, &Live);
    EXPECT_EQ(Owner.ComponentCount(), 2);
    EXPECT_EQ(Owner.Components(1), B);
    EXPECT_EQ(B->ComponentIndex(), 1);
    B->SetComponentIndex(0);
    EXPECT_EQ(Owner.Components(0), B);
    delete A;  // freeing an owned component takes it out of its owner
    EXPECT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(Live, 1);
    EXPECT_THROW(Owner.Components(5), EListError);
  }
  EXPECT_EQ(Live, 0);
}

TEST(TComponent, NamesMustBeValidAndUniqueWithinTheOwner) {
  TComponent Owner(nullptr);
  auto* A = new TComponent(&Owner);
  auto* B = new TComponent(&Owner);
  A->SetName("Button1");
  struct TCase { const char* Name; bool Ok; const char* Why; };
  const TCase Cases[] = {
      {"", true, "empty is allowed"},
      {"_x9", true, "underscore and digits"},
      {"9lives", false, "starts with a digit"},
      {"a b", false, "blank inside"},
      {"BUTTON1", false, "same as a sibling ignoring case"},
      {"Button2", true, "distinct"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    if (C.Ok) {
      EXPECT_NO_THROW(B->SetName(C.Name));
      EXPECT_EQ(B->GetName(), C.Name);
    } else {
      EXPECT_THROW(B->SetName(C.Name), EComponentError);
    }
  }
  A->SetName("button1");  // renaming itself by case only is fine
  EXPECT_EQ(Owner.FindComponent("BUTTON1"), A);
  EXPECT_EQ(Owner.FindComponent(""), nullptr);
  // Taking a component whose name the new owner already has fails.
  TComponent Other(nullptr);
  auto* C = new TComponent(&Other);
  C->SetName("Button2");
  EXPECT_THROW(Owner.InsertComponent(C), EComponentError);
}

TEST(TComponent, FreeNotificationClearsLinksAcrossOwners) {
  TWatcher W(nullptr);
  W.SetName("W");
  auto* Target = new TComponent(nullptr);
  Target->SetName("Target");
  W.Link = Target;
  W.FreeNotification(Target);
  delete Target;
  EXPECT_EQ(W.Link, nullptr);
  EXPECT_EQ(W.Heard.back(), "remove Target");

  // The other direction: the watcher goes first; the target must not keep
  // a pointer to it (it would be told about a freed object later).
  auto* W2 = new TWatcher(nullptr);
  TComponent Target2(nullptr);
  W2->FreeNotification(&Target2);
  delete W2;
  Target2.SetName("StillFine");
}

TEST(TComponent, OwnerAndSiblingsHearInsertAndRemove) {
  TWatcher Owner(nullptr);
  auto* Sibling = new TWatcher(&Owner);
  Sibling->SetName("Sib");
  auto* C = new TComponent(nullptr);
  C->SetName("C");
  Owner.InsertComponent(C);
  Owner.RemoveComponent(C);
  EXPECT_EQ(C->Owner(), nullptr);
  EXPECT_EQ(Owner.Heard, (std::vector<std::string>{"insert ", "insert C", "remove C"}));
  EXPECT_EQ(Sibling->Heard, (std::vector<std::string>{"insert C", "remove C"}));
  delete C;
}

TEST(TComponent, ClassReferencesCreateAndCompare) {
  TClass K = TWatcher::StaticClass();
  EXPECT_EQ(K->ClassName(), "TWatcher");
  EXPECT_TRUE(K->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(K));
  TComponent Owner(nullptr);
  TComponent* C = CreateComponent(K, &Owner);
  EXPECT_EQ(C->ClassName(), "TWatcher");
  EXPECT_EQ(C->Owner(), &Owner);
  EXPECT_TRUE(C->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_THROW(CreateComponent(TPersistent::StaticClass(), &Owner), EInvalidOperation);
}
