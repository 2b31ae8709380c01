#include "editor/base/DrawHelpers.h"

#include <gtest/gtest.h>

#include <vector>

#include "editor/base/RegStorage.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"

namespace {

// A memory DC over a bitmap of the given depth, filled with one colour.
class TTestDC {
public:
  TTestDC(int W, int H, COLORREF Fill, UINT Bpp = 32) {
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateBitmap(W, H, 1, Bpp, nullptr);
    Old = SelectObject(Dc, Bmp);
    const TRect R(0, 0, W, H);
    HBRUSH B = CreateSolidBrush(Fill);
    FillRect(Dc, &R, B);
    DeleteObject(B);
  }
  ~TTestDC() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
  COLORREF Pixel(int X, int Y) const { return GetPixel(Dc, X, Y); }
  HDC Dc;

private:
  HBITMAP Bmp;
  HGDIOBJ Old;
};

constexpr COLORREF Back = RGB(10, 20, 30);  // not a primary: AND/XOR slips show
constexpr COLORREF Red = RGB(200, 0, 0), Green = RGB(0, 180, 0), Blue = RGB(0, 0, 160), Yellow = RGB(220, 220, 0);
constexpr TColor Transparent = clFuchsia;
constexpr COLORREF T = RGB(255, 0, 255);

// The source image, at (1, 1) of a 5 x 4 source bitmap whose frame is a
// colour that must never reach the destination.
constexpr int SW = 3, SH = 2;
const COLORREF Image[SH][SW] = {{Red, T, Green}, {T, Blue, Yellow}};
constexpr COLORREF Frame = RGB(1, 2, 3);

void PaintSource(TTestDC& Src) {
  for (int Y = 0; Y < SH; ++Y)
    for (int X = 0; X < SW; ++X) SetPixel(Src.Dc, 1 + X, 1 + Y, Image[Y][X]);
}

// What a destination pixel must be after the image went onto DstRect.
COLORREF Expected(const TRect& DstRect, int X, int Y) {
  if (X < DstRect.Left || X >= DstRect.Right || Y < DstRect.Top || Y >= DstRect.Bottom) return Back;
  const int IX = (X - DstRect.Left) * SW / DstRect.Width();
  const int IY = (Y - DstRect.Top) * SH / DstRect.Height();
  return Image[IY][IX] == T ? Back : Image[IY][IX];
}

struct TAreaCase {
  TRect DstRect;
  const char* Why;
};
const TAreaCase AreaCases[] = {
    {{0, 0, 3, 2}, "same size"},
    {{2, 1, 5, 3}, "same size at an offset: pixels outside stay"},
    {{1, 1, 7, 5}, "twice the size: each pixel becomes a 2 x 2 block"},
    {{0, 0, 9, 2}, "three times as wide only"},
};

// Restores the platform id a test switched.
struct TPlatformIdSaver {
  Integer Old = GetEdPlatformId();
  ~TPlatformIdSaver() { SetEdPlatformId(Old); }
};

TEST(DrawTransparentArea, CopiesTheAreaExceptTheTransparentColourPixelByPixel) {
  TPlatformIdSaver Saver;
  // On NT an area of the same size goes in one masked transfer; elsewhere,
  // and when stretched, through a temporary copy.
  for (const Integer Platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
    SetEdPlatformId(Platform);
    for (const auto& C : AreaCases) {
      SCOPED_TRACE(C.Why);
      SCOPED_TRACE(IsWinNT() ? "NT" : "not NT");
      TTestDC Src(5, 4, Frame);
      PaintSource(Src);
      TTestDC Dst(10, 6, Back);
      DrawTransparentArea(Src.Dc, Dst.Dc, TRect(1, 1, 1 + SW, 1 + SH), Transparent, C.DstRect);
      for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 10; ++X) ASSERT_EQ(Dst.Pixel(X, Y), Expected(C.DstRect, X, Y)) << X << "," << Y;
    }
  }
}

TEST(DrawTransparentArea, LeavesTheColoursOfBothContextsAsTheyWere) {
  for (const auto& C : AreaCases) {
    SCOPED_TRACE(C.Why);
    TTestDC Src(5, 4, Frame);
    TTestDC Dst(10, 6, Back);
    SetBkColor(Src.Dc, RGB(1, 1, 1));
    SetTextColor(Dst.Dc, RGB(2, 2, 2));
    SetBkColor(Dst.Dc, RGB(3, 3, 3));
    DrawTransparentArea(Src.Dc, Dst.Dc, TRect(1, 1, 1 + SW, 1 + SH), Transparent, C.DstRect);
    EXPECT_EQ(GetBkColor(Src.Dc), RGB(1, 1, 1));
    EXPECT_EQ(GetTextColor(Dst.Dc), RGB(2, 2, 2));
    EXPECT_EQ(GetBkColor(Dst.Dc), RGB(3, 3, 3));
  }
}

TEST(DrawTransparentArea, ASystemColourNamesTheTransparentColour) {
  TTestDC Src(2, 1, GetSysColor(COLOR_BTNFACE));
  SetPixel(Src.Dc, 1, 0, Red);
  TTestDC Dst(2, 1, Back);
  DrawTransparentArea(Src.Dc, Dst.Dc, TRect(0, 0, 2, 1), clBtnFace, TRect(0, 0, 2, 1));
  EXPECT_EQ(Dst.Pixel(0, 0), Back);
  EXPECT_EQ(Dst.Pixel(1, 0), Red);
}

// The mask is read from its origin, not from the source rectangle's corner.
TEST(TransparentStretchBlt, ReadsTheMaskFromItsOrigin) {
  struct TCase {
    TRect DstRect;
    const char* Why;
  };
  const TCase Cases[] = {{{0, 0, 2, 1}, "same size"}, {{0, 0, 4, 2}, "stretched"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDC Src(2, 1, Red);
    SetPixel(Src.Dc, 1, 0, Green);
    // Mask bits 0 1 0: from origin (1, 0) the first source pixel is masked,
    // the second not; read from (0, 0) it would be the other way round.
    TTestDC Mask(3, 1, RGB(0, 0, 0), /*Bpp=*/1);
    SetPixel(Mask.Dc, 1, 0, RGB(255, 255, 255));
    TTestDC Dst(4, 2, Back);
    ASSERT_TRUE(TransparentStretchBlt(Dst.Dc, C.DstRect, Src.Dc, TRect(0, 0, 2, 1), Mask.Dc, TPoint(1, 0)));
    const int Scale = C.DstRect.Width() / 2;
    for (int Y = 0; Y < C.DstRect.Height(); ++Y)
      for (int X = 0; X < 4; ++X) {
        const COLORREF Want = X < C.DstRect.Right && X / Scale == 1 ? Green : Back;
        EXPECT_EQ(Dst.Pixel(X, Y), Want) << X << "," << Y;
      }
  }
}

TEST(DrawTransparentArea, AnEmptyRectangleDrawsNothing) {
  const TRect Cases[][2] = {
      {{1, 1, 1, 3}, {0, 0, 3, 2}},  // no source width
      {{1, 1, 4, 3}, {0, 0, 3, 0}},  // no destination height
      {{4, 3, 1, 1}, {0, 0, 3, 2}},  // source corners swapped
  };
  for (const auto& C : Cases) {
    TTestDC Src(5, 4, Frame);
    TTestDC Dst(4, 3, Back);
    DrawTransparentArea(Src.Dc, Dst.Dc, C[0], Transparent, C[1]);
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 4; ++X) EXPECT_EQ(Dst.Pixel(X, Y), Back);
  }
}

TEST(GetCheckBoxHeight, IsOneRowOfTheSystemCheckBoxBitmap) {
  EXPECT_EQ(GetCheckBoxHeight(), 13);
  EXPECT_EQ(GetCheckBoxHeight(), 13);  // kept after the first call
}

}  // namespace
