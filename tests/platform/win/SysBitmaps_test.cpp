#include "platform/win/SysBitmaps.h"

#include <gtest/gtest.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/Exceptions.h"

namespace {

// The number of pixels in which two 13 x 13 cells of a row differ.
int Differing(HDC Dc, int Row, int ColA, int ColB) {
  int N = 0;
  for (int Y = Row * 13; Y < Row * 13 + 13; ++Y)
    for (int X = 0; X < 13; ++X) N += GetPixel(Dc, ColA * 13 + X, Y) != GetPixel(Dc, ColB * 13 + X, Y);
  return N;
}

TEST(LoadBitmap, CheckBoxesHoldFourColumnsAndThreeRowsOfThirteenPixelCells) {
  HBITMAP Bmp = LoadBitmap(nullptr, OBM_CHECKBOXES);
  ASSERT_NE(Bmp, nullptr);
  BITMAP Info{};
  ASSERT_NE(GetObject(Bmp, sizeof(Info), &Info), 0);
  EXPECT_EQ(Info.bmWidth, 52);
  EXPECT_EQ(Info.bmHeight, 39);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  // Each row: plain and checked differ by the mark, pushed and plain by
  // the face, pushed and pushed-checked by the mark again.
  for (int Row = 0; Row < 3; ++Row) {
    SCOPED_TRACE(Row);
    EXPECT_GT(Differing(Dc, Row, 0, 1), 0);
    EXPECT_GT(Differing(Dc, Row, 0, 2), 0);
    EXPECT_GT(Differing(Dc, Row, 2, 3), 0);
  }
  // The plain check box is a window-coloured well; the checked one is marked
  // in the window text colour.
  EXPECT_EQ(GetPixel(Dc, 6, 6), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(Dc, 13 + 6, 6), GetSysColor(COLOR_WINDOWTEXT));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  EXPECT_TRUE(DeleteObject(Bmp));  // each call hands out its own bitmap
}

TEST(LoadBitmap, NamesItCannotGiveFailOrSayTheyAreMissing) {
  SetLastError(0);
  EXPECT_EQ(LoadBitmap(HINSTANCE(reinterpret_cast<void*>(0x400000)), OBM_CHECKBOXES), nullptr);
  EXPECT_EQ(GetLastError(), 1814u);
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCEA(100)), nullptr);
  EXPECT_THROW(LoadBitmap(nullptr, MAKEINTRESOURCEA(32754)), ENotImplemented);  // OBM_CLOSE
}

}  // namespace
