#include "platform/rtl/Types.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(TRect, RightAndBottomLieOutside) {
  const TRect R = Bounds(10, 20, 5, 3);
  EXPECT_EQ(R, Rect(10, 20, 15, 23));
  EXPECT_TRUE(R.Contains({14, 22}));
  EXPECT_FALSE(R.Contains({15, 22}));
  EXPECT_FALSE(R.Contains({14, 23}));
  EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
}

TEST(Exception, AbortIsSilentAndCatchableAsException) {
  try {
    Abort();
    FAIL();
  } catch (const Exception& E) {
    EXPECT_STREQ(E.ClassName(), "EAbort");
    EXPECT_NE(dynamic_cast<const EAbort*>(&E), nullptr);
  }
}
