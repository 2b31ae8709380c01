#include "platform/gdi/BlitRop.h"

#include <gtest/gtest.h>

using U32 = std::uint32_t;

TEST(RopRow, EveryCodeFollowsItsTruthTable) {
  // All eight (P, S, D) bit combinations at once: bit b of each operand
  // word is set when bit b of the combination index is.
  const U32 P = 0xF0, S = 0xCC, D = 0xAA;
  for (int Code = 0; Code < 256; ++Code) {
    U32 Dst = D;
    RopRow(Byte(Code), &Dst, &S, &P, 1, 0xFFFFFFFF);
    EXPECT_EQ(Dst & 0xFF, U32(Code)) << "code " << std::hex << Code;
    EXPECT_EQ(Rop3(Byte(Code), P, S, D) & 0xFF, U32(Code));
  }
}

TEST(RopRow, BitsOutsideTheMaskKeepTheDestination) {
  U32 D = 0xAA123456;
  const U32 S = 0x00FFFFFF;
  RopRow(RopIndex(SRCINVERT), &D, &S, nullptr, 1, 0x00FFFFFF);
  EXPECT_EQ(D, 0xAAEDCBA9u);
}
