#include "platform/rtl/Sets.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
enum TShift { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftSet = TSet<TShift>;
enum class TWide : int { First = 0, Mid = 100, Last = 255 };
}  // namespace

TEST(TSet, IncludeExcludeAndContains) {
  TShiftSet S{ssShift, ssCtrl};
  EXPECT_TRUE(S.Contains(ssShift));
  EXPECT_TRUE(S.Contains(ssCtrl));
  EXPECT_FALSE(S.Contains(ssAlt));
  S << ssAlt;
  S >> ssShift;
  EXPECT_EQ(S, (TShiftSet{ssAlt, ssCtrl}));
  S.Exclude(ssShift);  // excluding a non-member changes nothing
  EXPECT_EQ(S.Count(), 2);
  S.Clear();
  EXPECT_TRUE(S.Empty());
}

TEST(TSet, OperatorsFollowSetAlgebra) {
  struct TCase { TShiftSet A, B, Union, Inter, Diff; const char* Why; };
  const TCase Cases[] = {
      {{ssShift, ssAlt}, {ssAlt, ssCtrl}, {ssShift, ssAlt, ssCtrl}, {ssAlt}, {ssShift}, "overlap"},
      {{ssShift}, {}, {ssShift}, {}, {ssShift}, "empty right side"},
      {{}, {ssLeft}, {ssLeft}, {}, {}, "empty left side"},
      {{ssDouble}, {ssDouble}, {ssDouble}, {ssDouble}, {}, "equal sets"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(C.A + C.B, C.Union);
    EXPECT_EQ(C.A * C.B, C.Inter);
    EXPECT_EQ(C.A - C.B, C.Diff);
    EXPECT_TRUE(C.Inter <= C.A);
    EXPECT_TRUE(C.Union >= C.B);
  }
}

TEST(TSet, IteratesInAscendingOrderAcrossWords) {
  TSet<TWide> S{TWide::Last, TWide::First, TWide::Mid};
  std::vector<TWide> Got(S.begin(), S.end());
  EXPECT_EQ(Got, (std::vector<TWide>{TWide::First, TWide::Mid, TWide::Last}));
  EXPECT_EQ(TSet<TWide>{}.begin(), TSet<TWide>{}.end());
}

TEST(TSet, RawBitsRoundTrip) {
  TShiftSet S{ssAlt, ssRight};
  EXPECT_EQ(S.Ordinal(), (1u << ssAlt) | (1u << ssRight));
  EXPECT_EQ(TShiftSet::FromOrdinal(S.Ordinal()), S);
  TSet<TWide> W{TWide::Last};
  EXPECT_EQ(TSet<TWide>::FromBits(W.Bits()), W);
  EXPECT_THROW(W.Ordinal(), ERangeError);  // would drop element 255
}

TEST(TSet, OutOfRangeElementsAreRejectedOrAbsent) {
  TSet<int> S;
  EXPECT_THROW(S.Include(256), ERangeError);
  EXPECT_THROW(S.Include(-1), ERangeError);
  EXPECT_FALSE(S.Contains(300));
  EXPECT_FALSE(S.Contains(-5));
  S.Include(255);
  EXPECT_TRUE(S.Contains(255));
}
