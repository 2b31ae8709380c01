#include "editor/base/SortedLists.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Items are small integers cast to pointers, so the default comparisons
// order them by value.
void* P(NativeInt V) { return reinterpret_cast<void*>(V); }

std::vector<NativeInt> Contents(const TCustomSortedList& L) {
  std::vector<NativeInt> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(reinterpret_cast<NativeInt>(L.Items(I)));
  return R;
}

struct TDupCase {
  TSortedDuplicates Mode;
  Integer WantIndex;  // of the second Add of 20
  std::vector<NativeInt> Want;
  const char* Why;
};

TEST(TSortedList, DuplicateModesDecideWhatAnEqualItemDoes) {
  const TDupCase Cases[] = {
      {sdIgnore, 1, {10, 20, 30}, "ignore returns the present item's index"},
      {sdAccept, 1, {10, 20, 20, 30}, "accept inserts before the equal item"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TSortedList L;
    L.DuplicateMode = C.Mode;
    L.Add(P(30));
    L.Add(P(10));
    L.Add(P(20));
    EXPECT_EQ(L.Add(P(20)), C.WantIndex);
    EXPECT_EQ(Contents(L), C.Want);
  }
}

TEST(TSortedList, ErrorModeRaisesAndLeavesTheListUnchanged) {
  TSortedList L;
  L.DuplicateMode = sdError;
  L.Add(P(5));
  L.Add(P(7));
  try {
    L.Add(P(7));
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_STREQ(E.ClassName(), "Exception");
    EXPECT_EQ(E.Message(), "Can't insert duplicate item");
  }
  EXPECT_EQ(Contents(L), (std::vector<NativeInt>{5, 7}));
}

// Keys are the item's value divided by ten, so 21 and 23 share key 2.
class TTensList : public TSortedKeyList {
public:
  NativeInt GetKey(void* Item) override { return reinterpret_cast<NativeInt>(Item) / 10; }
};

TEST(TSortedKeyList, AcceptModeFindKeyGivesTheFirstOfEqualKeys) {
  TTensList L;
  L.DuplicateMode = sdAccept;
  for (NativeInt V : {35, 21, 10, 23, 29, 40}) L.Add(P(V));
  Integer Index = -1;
  EXPECT_TRUE(L.FindKey(2, Index));
  EXPECT_EQ(Index, 1);
  EXPECT_EQ(L.GetKey(L.Items(Index)), 2);
  EXPECT_FALSE(L.FindKey(5, Index));
  EXPECT_EQ(Index, 6) << "insertion position past the end";
  EXPECT_EQ(L.IndexOfKey(0), -1);
}

TEST(TSortedKeyList, UnsortedListAppendsAndScansByKey) {
  TTensList L;
  L.SetKeepSorted(false);
  for (NativeInt V : {35, 21, 10, 23}) L.Add(P(V));
  EXPECT_EQ(Contents(L), (std::vector<NativeInt>{35, 21, 10, 23}));
  EXPECT_EQ(L.IndexOfKey(2), 1) << "first item with the key, in list order";
  Integer Index;
  EXPECT_FALSE(L.FindItem(P(22), Index)) << "an equal key is not the identical pointer";
  EXPECT_TRUE(L.FindItem(P(23), Index));
  EXPECT_EQ(Index, 3);
  EXPECT_EQ(L.Remove(P(21)), 1);
  EXPECT_EQ(L.Remove(P(21)), -1);
}

// Counts comparisons, so tests can see whether a sort ran.
class TCountingList : public TSortedList {
public:
  int Compares = 0;
  int CompareItems(void* A, void* B) override {
    ++Compares;
    return TSortedList::CompareItems(A, B);
  }
};

TEST(TSortedList, SwitchingKeepSortedOnSortsOnlyWhenOutOfOrder) {
  TCountingList InOrder;
  InOrder.SetKeepSorted(false);
  for (NativeInt V : {1, 2, 3, 4}) InOrder.Add(P(V));
  InOrder.SetKeepSorted(true);
  EXPECT_EQ(InOrder.Compares, 3) << "only the check of each neighbouring pair";
  EXPECT_EQ(Contents(InOrder), (std::vector<NativeInt>{1, 2, 3, 4}));

  TSortedList OutOfOrder;
  OutOfOrder.SetKeepSorted(false);
  for (NativeInt V : {4, 1, 3, 2}) OutOfOrder.Add(P(V));
  OutOfOrder.SetKeepSorted(true);
  EXPECT_EQ(Contents(OutOfOrder), (std::vector<NativeInt>{1, 2, 3, 4}));
  OutOfOrder.SetKeepSorted(false);
  EXPECT_EQ(Contents(OutOfOrder), (std::vector<NativeInt>{1, 2, 3, 4}));
}

struct TNearestCase {
  std::vector<NativeInt> Items;
  NativeInt Probe;
  bool WantFound;
  Integer WantIndex;
  const char* Why;
};

TEST(TSortedListEx, FindNearestStopsAtTwoNeighbours) {
  const TNearestCase Cases[] = {
      {{}, 5, false, 0, "empty list"},
      {{10, 20}, 20, false, 0, "only the first of two is compared"},
      {{10, 20, 30}, 20, true, 1, "middle hit"},
      {{10, 20, 30}, 25, false, 1, "between two: the lower one"},
      {{10, 20, 30}, 5, false, 0, "before all"},
      {{10, 20, 30, 40, 50}, 45, false, 3, "lower neighbour in a longer list"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TSortedListEx L;
    for (NativeInt V : C.Items) L.Add(P(V));
    Integer Index = -1;
    EXPECT_EQ(L.FindNearest(P(C.Probe), Index), C.WantFound);
    EXPECT_EQ(Index, C.WantIndex);
  }
}

struct TRec20 {
  char Bytes[20];
};

TEST(TRecordList, GrowsByDoublingFromThirtyTwoRecords) {
  TRecordList L(sizeof(TRec20));
  EXPECT_EQ(L.Capacity(), 0);
  TRec20 R{};
  for (int I = 0; I < 33; ++I) {
    std::memset(R.Bytes, 'a' + I % 26, sizeof R.Bytes);
    L.Add(&R);
    if (I == 0) {
      EXPECT_EQ(L.Capacity(), 32);
    }
  }
  EXPECT_EQ(L.Capacity(), 64);
  EXPECT_EQ(L.Count(), 33);
  EXPECT_EQ(static_cast<char*>(L.Items(32))[19], 'a' + 32 % 26) << "records kept across the regrowth";
}

TEST(TRecordList, DeleteMovesLaterRecordsDownAndKeepsCapacity) {
  TRecordList L(sizeof(int));
  for (int V : {1, 2, 3, 4}) L.Add(&V);
  L.Add(nullptr);
  L.Delete(1);
  std::vector<int> Got;
  for (Integer I = 0; I < L.Count(); ++I) Got.push_back(*static_cast<int*>(L.Items(I)));
  EXPECT_EQ(Got, (std::vector<int>{1, 3, 4, 0})) << "nullptr adds a zeroed record";
  EXPECT_EQ(L.Capacity(), 32);
  L.Clear();
  EXPECT_EQ(L.Capacity(), 0);
}

TEST(TRecordList, BadIndexRaisesTheListIndexMessage) {
  TRecordList L(4);
  L.Add(nullptr);
  for (Integer Bad : {1, -1}) {
    SCOPED_TRACE(Bad);
    try {
      L.Items(Bad);
      FAIL();
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "List index out of bounds (" + std::to_string(Bad) + ")");
    }
    EXPECT_THROW(L.Delete(Bad), Exception);
  }
  EXPECT_EQ(L.Count(), 1);
}

TEST(SortedListHelpers, SmallIntegerHelpers) {
  Integer A = 9, B = 3;
  OrderInts(A, B);
  EXPECT_EQ(A, 3);
  EXPECT_EQ(B, 9);
  OrderInts(A, B);
  EXPECT_EQ(A, 3);
  int X = 0, Y = 0;
  EXPECT_TRUE(DistinctNonNil(&X, &Y));
  EXPECT_FALSE(DistinctNonNil(&X, &X));
  EXPECT_FALSE(DistinctNonNil(nullptr, &Y));
}

// Frees count themselves, to show the helpers free every object once.
int Alive = 0;
struct TCounted : TObject {
  TCounted() { ++Alive; }
  ~TCounted() override { --Alive; }
};

TEST(SortedListHelpers, FreeHelpersFreeEveryObjectAndClearTheVariable) {
  Alive = 0;
  TList* L = new TList;
  for (int I = 0; I < 3; ++I) L->Add(new TCounted);
  TCustomSortedList* S = new TSortedList;
  for (int I = 0; I < 3; ++I) S->Add(new TCounted);
  EXPECT_EQ(Alive, 6);
  FreeObjectList(L);
  FreeSortedList(S);
  EXPECT_EQ(Alive, 0);
  EXPECT_EQ(L, nullptr);
  EXPECT_EQ(S, nullptr);
}

}  // namespace
