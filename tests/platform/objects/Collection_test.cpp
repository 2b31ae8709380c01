#include "platform/rtl/Collection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class TTag : public TCollectionItem {
  SX_CLASS(TTag, TCollectionItem)
public:
  explicit TTag(TCollection* C) : TCollectionItem(C) {}
  static void Published(TPublished<TTag>& P) { P.Property("Value", &TTag::Value, &TTag::Value).Default(0); }
  void Assign(TPersistent* Source) override {
    if (auto* T = dynamic_cast<TTag*>(Source)) Value = T->Value;
    else TCollectionItem::Assign(Source);
  }
  Integer Value = 0;
};

class TTags : public TCollection {
public:
  TTags() : TCollection(TTag::StaticClass()) {}
  TTag* At(int i) const { return static_cast<TTag*>(Items(i)); }
  std::vector<int> Values() const {
    std::vector<int> V;
    for (int i = 0; i < Count(); ++i) V.push_back(At(i)->Value);
    return V;
  }
  int Updates = 0;

protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

TTags* Filled(TTags& T, std::vector<int> Values) {
  for (int V : Values) static_cast<TTag*>(T.Add())->Value = V;
  return &T;
}
}  // namespace

TEST(TCollection, ReorderingOperationsKeepEveryItemOnce) {
  struct TCase { void (*Op)(TTags&); std::vector<int> Want; const char* Why; };
  const TCase Cases[] = {
      {[](TTags& T) { T.Move(0, 2); }, {2, 3, 1, 4}, "move forward"},
      {[](TTags& T) { T.Move(3, 0); }, {4, 1, 2, 3}, "move to front"},
      {[](TTags& T) { T.Exchange(0, 3); }, {4, 2, 3, 1}, "exchange ends"},
      {[](TTags& T) { T.Delete(1); }, {1, 3, 4}, "delete"},
      {[](TTags& T) { static_cast<TTag*>(T.Insert(1))->Value = 9; }, {1, 9, 2, 3, 4}, "insert"},
      {[](TTags& T) { T.At(2)->SetIndex(99); }, {1, 2, 4, 3}, "index past the end clamps"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTags T;
    Filled(T, {1, 2, 3, 4});
    C.Op(T);
    EXPECT_EQ(T.Values(), C.Want);
    for (int i = 0; i < T.Count(); ++i) EXPECT_EQ(T.Items(i)->Index(), i);
  }
}

TEST(TCollection, ItemsLeaveWhenFreedAndIdsStayUnique) {
  TTags T;
  Filled(T, {1, 2, 3});
  Integer Id = T.Items(1)->ID();
  delete T.Items(1);
  EXPECT_EQ(T.Values(), (std::vector<int>{1, 3}));
  EXPECT_EQ(T.FindItemID(Id), nullptr);
  EXPECT_NE(T.Add()->ID(), Id);
  EXPECT_THROW(T.Items(3), EListError);
  EXPECT_THROW(T.Delete(-1), EListError);
}

TEST(TCollection, UpdateBracketSendsOneUpdate) {
  TTags T;
  T.BeginUpdate();
  Filled(T, {1, 2, 3});
  T.Delete(0);
  EXPECT_EQ(T.Updates, 0);
  T.EndUpdate();
  EXPECT_EQ(T.Updates, 1);
  T.EndUpdate();  // unbalanced end is ignored
  EXPECT_EQ(T.Updates, 1);
  T.Clear();
  EXPECT_EQ(T.Updates, 2);
}

TEST(TCollection, AssignCopiesItemsAndRefusesStrangers) {
  TTags A, B;
  Filled(A, {5, 6});
  Filled(B, {1});
  B.Assign(&A);
  EXPECT_EQ(B.Values(), (std::vector<int>{5, 6}));
  EXPECT_NE(B.Items(0), A.Items(0));
  TPersistent Stranger;
  EXPECT_THROW(B.Assign(&Stranger), EConvertError);
}

TEST(TCollection, ItemMovesBetweenCollections) {
  TTags A, B;
  Filled(A, {1, 2});
  TCollectionItem* It = A.Items(0);
  It->SetCollection(&B);
  EXPECT_EQ(A.Values(), (std::vector<int>{2}));
  EXPECT_EQ(B.Values(), (std::vector<int>{1}));
  EXPECT_EQ(It->Collection(), &B);
}
