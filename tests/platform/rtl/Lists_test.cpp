#include "platform/rtl/Lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace {

// Items are small integers cast to pointers; 0 is the nullptr item.
void* P(std::intptr_t V) { return reinterpret_cast<void*>(V); }

std::vector<std::intptr_t> Values(const TList& L) {
  std::vector<std::intptr_t> R;
  for (Integer I = 0; I < L.GetCount(); ++I) R.push_back(reinterpret_cast<std::intptr_t>(L[I]));
  return R;
}

void Fill(TList& L, std::initializer_list<std::intptr_t> Vs) {
  for (auto V : Vs) L.Add(P(V));
}

template <class F>
std::string ListErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const EListError& E) {
    return E.Message();
  }
  return "<no exception>";
}

// Counts its own destruction, to see who frees what.
struct TCounted : TObject {
  explicit TCounted(int& ACounter) : Counter(ACounter) {}
  ~TCounted() override { ++Counter; }
  int& Counter;
};

}  // namespace

TEST(TList, EditingOperationsKeepOrder) {
  using V = std::vector<std::intptr_t>;
  struct TCase { const char* Why; void (*Edit)(TList&); V Want; };
  const TCase Cases[] = {
      {"insert at the front", [](TList& L) { L.Insert(0, P(9)); }, {9, 1, 2, 3, 4}},
      {"insert at the end", [](TList& L) { L.Insert(4, P(9)); }, {1, 2, 3, 4, 9}},
      {"delete the middle", [](TList& L) { L.Delete(1); }, {1, 3, 4}},
      {"remove a value", [](TList& L) { EXPECT_EQ(L.Remove(P(3)), 2); }, {1, 2, 4}},
      {"remove a missing value", [](TList& L) { EXPECT_EQ(L.Remove(P(7)), -1); }, {1, 2, 3, 4}},
      {"exchange", [](TList& L) { L.Exchange(0, 3); }, {4, 2, 3, 1}},
      {"move forward", [](TList& L) { L.Move(0, 2); }, {2, 3, 1, 4}},
      {"move backward", [](TList& L) { L.Move(3, 1); }, {1, 4, 2, 3}},
      {"pack drops nil items", [](TList& L) { L.SetItems(1, nullptr); L.Add(nullptr); L.Pack(); }, {1, 3, 4}},
      {"extract", [](TList& L) { EXPECT_EQ(L.Extract(P(2)), P(2)); EXPECT_EQ(L.Extract(P(8)), nullptr); }, {1, 3, 4}},
      {"count grows with nil items", [](TList& L) { L.SetCount(6); }, {1, 2, 3, 4, 0, 0}},
      {"count shrinks from the end", [](TList& L) { L.SetCount(1); }, {1}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TList L;
    Fill(L, {1, 2, 3, 4});
    C.Edit(L);
    EXPECT_EQ(Values(L), C.Want);
  }
}

TEST(TList, BadIndexesRaiseWithTheIndexInTheMessage) {
  struct TCase { const char* Why; void (*Op)(TList&); const char* Want; };
  const TCase Cases[] = {
      {"read past the end", [](TList& L) { L.GetItems(3); }, "List index out of bounds (3)"},
      {"negative read", [](TList& L) { L.GetItems(-1); }, "List index out of bounds (-1)"},
      {"insert past the end", [](TList& L) { L.Insert(4, nullptr); }, "List index out of bounds (4)"},
      {"delete past the end", [](TList& L) { L.Delete(3); }, "List index out of bounds (3)"},
      {"exchange", [](TList& L) { L.Exchange(0, 5); }, "List index out of bounds (5)"},
      {"move", [](TList& L) { L.Move(-2, 1); }, "List index out of bounds (-2)"},
      {"write", [](TList& L) { L.SetItems(3, nullptr); }, "List index out of bounds (3)"},
      {"negative count", [](TList& L) { L.SetCount(-1); }, "List count out of bounds (-1)"},
      {"capacity below count", [](TList& L) { L.SetCapacity(2); }, "List capacity out of bounds (2)"},
      {"first of an empty list", [](TList& L) { L.Clear(); L.First(); }, "List index out of bounds (0)"},
      {"last of an empty list", [](TList& L) { L.Clear(); L.Last(); }, "List index out of bounds (-1)"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TList L;
    Fill(L, {1, 2, 3});
    EXPECT_EQ(ListErrorOf([&] { C.Op(L); }), C.Want);
  }
}

TEST(TList, CapacityGrowsInTheLibrarySteps) {
  TList L;
  std::vector<Integer> Seen;
  for (int I = 0; I < 100; ++I) {
    L.Add(nullptr);
    if (Seen.empty() || Seen.back() != L.GetCapacity()) Seen.push_back(L.GetCapacity());
  }
  EXPECT_EQ(Seen, (std::vector<Integer>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

TEST(TList, SortOrdersByTheComparer) {
  TList L;
  Fill(L, {5, 3, 9, 1, 7, 3, 8, 2, 6, 4});
  L.Sort([](void* A, void* B) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(A) - reinterpret_cast<std::intptr_t>(B));
  });
  EXPECT_EQ(Values(L), (std::vector<std::intptr_t>{1, 2, 3, 3, 4, 5, 6, 7, 8, 9}));
  // A comparer that is no order at all must not run off the array.
  TList M;
  Fill(M, {1, 2, 3, 4, 5, 6, 7});
  M.Sort([](void*, void*) { return -1; });
  EXPECT_EQ(M.GetCount(), 7);
}

TEST(TObjectList, FreesWhatItLosesWhileOwning) {
  int Freed = 0;
  {
    TObjectList L;
    auto* A = new TCounted(Freed);
    auto* B = new TCounted(Freed);
    auto* C = new TCounted(Freed);
    auto* D = new TCounted(Freed);
    L.Add(A);
    L.Add(B);
    L.Add(C);
    L.Delete(0);
    EXPECT_EQ(Freed, 1);
    L.Remove(B);
    EXPECT_EQ(Freed, 2);
    L.SetItems(0, D);  // replacing frees the old object
    EXPECT_EQ(Freed, 3);
    EXPECT_EQ(L.Extract(D), D);
    EXPECT_EQ(Freed, 3);
    delete D;
    L.Add(new TCounted(Freed));
    L.Add(new TCounted(Freed));
  }
  EXPECT_EQ(Freed, 6);  // two freed by the list's destruction

  Freed = 0;
  TCounted Kept(Freed);
  {
    TObjectList L(/*AOwnsObjects=*/false);
    L.Add(&Kept);
    L.Clear();
    L.Add(&Kept);
  }
  EXPECT_EQ(Freed, 0);
}

TEST(TBits, WritingGrowsReadingPastSizeRaises) {
  TBits B;
  EXPECT_EQ(B.OpenBit(), 0);
  B.SetBits(40, true);
  EXPECT_EQ(B.GetSize(), 41);
  EXPECT_TRUE(B[40]);
  EXPECT_FALSE(B[39]);
  EXPECT_THROW(B.GetBits(41), EBitsError);
  EXPECT_THROW(B.GetBits(-1), EBitsError);
  EXPECT_THROW(B.SetBits(-1, true), EBitsError);
  EXPECT_THROW(B.SetSize(-1), EBitsError);

  for (Integer I = 0; I < 35; ++I) B.SetBits(I, true);
  EXPECT_EQ(B.OpenBit(), 35);
  B.SetSize(33);  // cut bits must not come back when growing again
  EXPECT_EQ(B.OpenBit(), 33);
  B.SetSize(64);
  EXPECT_FALSE(B[40]);
  EXPECT_EQ(B.OpenBit(), 33);
  try {
    B.GetBits(64);
  } catch (const EBitsError& E) {
    EXPECT_EQ(E.Message(), "Bits index out of range");
  }
}
