#include "platform/rtl/Guards.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

struct TCountingTraits {
  static int Invalid() { return -1; }
  static void Free(int H) { Freed().push_back(H); }
  static std::vector<int>& Freed() {
    static std::vector<int> F;
    return F;
  }
};
using TIntHandle = TUniqueHandle<int, TCountingTraits>;

TEST(TUniqueHandle, FreesOnceWhateverMovesAndNeverTheInvalidValue) {
  TCountingTraits::Freed().clear();
  {
    TIntHandle A(7);
    TIntHandle B(std::move(A));
    EXPECT_FALSE(A);
    TIntHandle C(8);
    C = std::move(B);  // frees 8, takes 7
    TIntHandle None;
    TIntHandle Kept(9);
    EXPECT_EQ(Kept.Release(), 9);
  }
  EXPECT_EQ(TCountingTraits::Freed(), (std::vector<int>{8, 7}));
}

struct TBracketed {
  int Depth = 0;
  bool EndRaises = false;
  void BeginUpdate() { ++Depth; }
  void EndUpdate() {
    --Depth;
    if (EndRaises) throw std::runtime_error("from EndUpdate");
  }
};

TEST(TUpdateGuard, ClosesTheBracketOnEveryExit) {
  TBracketed Obj;
  { TUpdateGuard Update(Obj); EXPECT_EQ(Obj.Depth, 1); }
  EXPECT_EQ(Obj.Depth, 0);
  Obj.BeginUpdate();
  EXPECT_THROW({ TUpdateGuard Update(Obj, UpdateBegun); throw std::logic_error("body"); }, std::logic_error);
  EXPECT_EQ(Obj.Depth, 0);
}

TEST(TUpdateGuard, EndUpdateRaisesOnANormalExitButNeverHidesTheBodysException) {
  TBracketed Obj;
  Obj.EndRaises = true;
  EXPECT_THROW({ TUpdateGuard Update(Obj); }, std::runtime_error);
  EXPECT_THROW({ TUpdateGuard Update(Obj); throw std::logic_error("body"); }, std::logic_error);
  EXPECT_EQ(Obj.Depth, 0);
}

}  // namespace
