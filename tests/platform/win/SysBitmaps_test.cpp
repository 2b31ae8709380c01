#include "platform/win/SysBitmaps.h"

#include <gtest/gtest.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/win/SysMetrics.h"

#include <vector>

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
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCEA(32733)), nullptr) << "below the system range";
}

// The frame-control bitmaps: the metric's size and the picture the frame
// control draws (a dark glyph in the middle, the button face at the rim).
TEST(LoadBitmap, FrameBitmapsHaveTheMetricSizeAndTheirGlyph) {
  struct TCase {
    const char* Id;
    const char* Name;
    int WMetric, HMetric;
  };
  const TCase Cases[] = {
      {OBM_CLOSE, "close", SM_CXSIZE, SM_CYSIZE},       {OBM_REDUCE, "minimize", SM_CXSIZE, SM_CYSIZE},
      {OBM_ZOOM, "maximize", SM_CXSIZE, SM_CYSIZE},     {OBM_UPARROW, "up arrow", SM_CXVSCROLL, SM_CYVSCROLL},
      {OBM_RGARROW, "right arrow", SM_CXVSCROLL, SM_CYVSCROLL}, {OBM_COMBO, "combo", SM_CXVSCROLL, SM_CYVSCROLL},
      {OBM_CHECK, "menu check", SM_CXMENUCHECK, SM_CYMENUCHECK},
      {OBM_MNARROW, "menu arrow", SM_CXMENUCHECK, SM_CYMENUCHECK},
  };
  HDC Dc = CreateCompatibleDC(nullptr);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    HBITMAP Bmp = LoadBitmap(nullptr, C.Id);
    ASSERT_NE(Bmp, nullptr);
    BITMAP Info{};
    ASSERT_NE(GetObject(Bmp, sizeof(Info), &Info), 0);
    EXPECT_EQ(Info.bmWidth, GetSystemMetrics(C.WMetric));
    EXPECT_EQ(Info.bmHeight, GetSystemMetrics(C.HMetric));
    HGDIOBJ Old = SelectObject(Dc, Bmp);
    int Dark = 0;
    for (int Y = 0; Y < Info.bmHeight; ++Y)
      for (int X = 0; X < Info.bmWidth; ++X) Dark += GetPixel(Dc, X, Y) == RGB(0, 0, 0);
    EXPECT_GT(Dark, 2) << "a glyph is drawn";
    SelectObject(Dc, Old);
    EXPECT_TRUE(DeleteObject(Bmp));
  }
  DeleteDC(Dc);
  // The pushed and inactive forms differ from the plain one.
  auto Pixels = [&](const char* Id) {
    HBITMAP B = LoadBitmap(nullptr, Id);
    HGDIOBJ Old = SelectObject(Dc = CreateCompatibleDC(nullptr), B);
    std::vector<COLORREF> P;
    for (int Y = 0; Y < GetSystemMetrics(SM_CYVSCROLL); ++Y)
      for (int X = 0; X < GetSystemMetrics(SM_CXVSCROLL); ++X) P.push_back(GetPixel(Dc, X, Y));
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(B);
    return P;
  };
  EXPECT_NE(Pixels(OBM_UPARROW), Pixels(MAKEINTRESOURCEA(32743)));  // OBM_UPARROWD
  EXPECT_NE(Pixels(OBM_UPARROW), Pixels(MAKEINTRESOURCEA(32737)));  // OBM_UPARROWI
}

}  // namespace
