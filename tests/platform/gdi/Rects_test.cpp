#include "platform/gdi/Rects.h"

#include <gtest/gtest.h>

struct TRectPairCase {
  TRect A, B;
  BOOL WantIntersect;
  TRect Intersection, Union, Subtract;
  const char* Why;
};

TEST(Rects, IntersectUnionAndSubtract) {
  const TRectPairCase Cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, {0, 0, 15, 15}, {0, 0, 10, 10}, "overlap in a corner"},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}, {0, 0, 20, 10}, {0, 0, 10, 10}, "edges touch: no overlap"},
      {{0, 0, 10, 10}, {0, 6, 10, 20}, TRUE, {0, 6, 10, 10}, {0, 0, 10, 20}, {0, 0, 10, 6}, "covers the bottom"},
      {{0, 0, 10, 10}, {-5, -5, 4, 15}, TRUE, {0, 0, 4, 10}, {-5, -5, 10, 15}, {4, 0, 10, 10}, "covers the left side"},
      {{0, 0, 10, 10}, {3, 3, 6, 6}, TRUE, {3, 3, 6, 6}, {0, 0, 10, 10}, {0, 0, 10, 10}, "hole: nothing subtracted"},
      {{0, 0, 10, 10}, {5, 5, 5, 9}, FALSE, {}, {0, 0, 10, 10}, {0, 0, 10, 10}, "empty second"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRect R;
    EXPECT_EQ(IntersectRect(&R, &C.A, &C.B), C.WantIntersect);
    EXPECT_EQ(R, C.Intersection);
    UnionRect(&R, &C.A, &C.B);
    EXPECT_EQ(R, C.Union);
    SubtractRect(&R, &C.A, &C.B);
    EXPECT_EQ(R, C.Subtract);
  }
  TRect A(0, 0, 10, 10), All(-1, -1, 11, 11), R;
  EXPECT_FALSE(SubtractRect(&R, &A, &All));
  EXPECT_TRUE(IsRectEmpty(&R));
}

TEST(Rects, SmallHelpersKeepTheEdgeRule) {
  TRect R;
  SetRect(&R, 1, 2, 3, 4);
  EXPECT_EQ(R, TRect(1, 2, 3, 4));
  InflateRect(&R, 1, -1);
  EXPECT_EQ(R, TRect(0, 3, 4, 3));
  EXPECT_TRUE(IsRectEmpty(&R));
  OffsetRect(&R, 10, 10);
  EXPECT_EQ(R, TRect(10, 13, 14, 13));
  TRect C;
  CopyRect(&C, &R);
  EXPECT_TRUE(EqualRect(&C, &R));
  TRect Box(0, 0, 5, 5);
  EXPECT_TRUE(PtInRect(&Box, {0, 0}));
  EXPECT_FALSE(PtInRect(&Box, {5, 4}));
  EXPECT_TRUE(IsRectEmpty(nullptr));
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}
