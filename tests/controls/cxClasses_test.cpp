#include <gtest/gtest.h>

#include "controls/base/cxClasses.h"
#include "platform/forms/Controls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Buttons.h"

TEST(TcxAutoWidthObject, DistributeWidthSharesInProportionAndKeepsMinimums) {
  struct TItem {
    int Min, Width;
    bool Fixed;
  };
  struct TCase {
    int Available;
    std::vector<TItem> Items;
    std::vector<int> Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {100, {{0, 10, false}, {0, 20, false}, {0, 30, false}}, {17, 33, 50}, "every pixel handed out"},
      {100, {{40, 10, false}, {0, 20, false}, {0, 30, false}}, {40, 24, 36}, "a minimum pins, the rest share"},
      {100, {{0, 10, true}, {0, 20, false}, {0, 30, false}}, {10, 36, 54}, "a fixed item keeps its width"},
      {50, {{5, 0, false}, {0, 0, false}}, {5, 0}, "all natural widths 0: minimums, no division"},
      {0, {{0, 0, false}}, {0}, "nothing at all"},
      {100, {{0, 10, true}, {3, 0, false}}, {10, 3}, "only a fixed item has width"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TcxAutoWidthObject A(int(C.Items.size()));
    A.AvailableWidth = C.Available;
    for (const TItem& I : C.Items) {
      TcxAutoWidthItem* N = A.AppendItem();
      N->MinWidth = I.Min;
      N->Width = I.Width;
      N->Fixed = I.Fixed;
    }
    A.DistributeWidth();
    for (std::size_t i = 0; i < C.Want.size(); ++i) EXPECT_EQ(A.GetItem(int(i))->AutoWidth, C.Want[i]) << i;
  }
}

TEST(TcxObjectLink, LinkToAFreedObjectReportsNilAndCanStillBeRemoved) {
  int A = 0, B = 0;
  TcxObjectLink* LA = AddObjectLink(&A);
  TcxObjectLink* LB = AddObjectLink(&B);
  ClearObjectLinks(&A);
  EXPECT_EQ(LA->Target, nullptr);
  EXPECT_EQ(LB->Target, &B);
  RemoveObjectLink(LA);
  RemoveObjectLink(LB);
  TcxObjectLinkGuard G(&A);
  EXPECT_TRUE(G.Alive());
  ClearObjectLinks(&A);
  EXPECT_FALSE(G.Alive());
}

TEST(TcxRegisteredClasses, KeepsFirstDescriptionSortsByDisplayNameAndLooksUpExactly) {
  TcxRegisteredClasses R;
  R.AddClass(TEdit::StaticClass(), "CalcEdit|Represents an edit control with a dropdown calculator window");
  R.AddClass(TButton::StaticClass(), "button");
  R.AddClass(TEdit::StaticClass(), "Other");
  ASSERT_EQ(R.ItemCount(), 2);
  EXPECT_EQ(R.GetDisplayName(0), "CalcEdit");
  R.SetSorted(true);
  EXPECT_EQ(R.ClassAt(0), TButton::StaticClass()) << "case-insensitive: button < CalcEdit";
  EXPECT_EQ(R.LookupByClassName("TEdit"), TEdit::StaticClass());
  EXPECT_EQ(R.LookupByClassName("tedit"), nullptr);
  R.RemoveClass(TButton::StaticClass());
  EXPECT_EQ(R.FindClassIndex(TButton::StaticClass()), -1);
}

TEST(TcxRegisteredClassList, FindsTheMostDerivedRegistrationAndInsertsBetweenAncestorAndDescendant) {
  TcxRegisteredClassList L;
  L.AddPair(TControl::StaticClass(), TEdit::StaticClass());
  L.AddPair(TCustomControl::StaticClass(), TButton::StaticClass());
  int I = -1;
  ASSERT_TRUE(L.FindEntry(TBitBtn::StaticClass(), I));
  EXPECT_EQ(L.EntryAt(I).ItemClass, TCustomControl::StaticClass());
  L.AddPair(TWinControl::StaticClass(), TWinControl::StaticClass());
  ASSERT_EQ(L.GetCount(), 3);
  EXPECT_EQ(L.EntryAt(0).ItemClass, TControl::StaticClass());
  EXPECT_EQ(L.EntryAt(1).ItemClass, TWinControl::StaticClass());
  EXPECT_EQ(L.EntryAt(2).ItemClass, TCustomControl::StaticClass());
  L.RemovePair(TCustomControl::StaticClass(), TButton::StaticClass());
  EXPECT_EQ(L.GetCount(), 2);
}

TEST(cxClasses, HalfSumRoundsDown) {
  EXPECT_EQ(HalfSum(1, 2), 1);
  EXPECT_EQ(HalfSum(-1, -2), -2);
  EXPECT_EQ(HalfSum(-3, 0), -2);
}
