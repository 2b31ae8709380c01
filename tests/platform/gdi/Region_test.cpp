#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjectTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
long Area(HRGN R) {
  long A = 0;
  for (const TRect& Rc : GdiLookupAs<TRegionObject>(R)->Data.Rects()) A += long(Rc.Width()) * Rc.Height();
  return A;
}

HRGN Empty() { return CreateRectRgn(0, 0, 0, 0); }

struct TRgn {
  HRGN H;
  explicit TRgn(HRGN AH) : H(AH) {}
  ~TRgn() { DeleteObject(H); }
  operator HRGN() const { return H; }
};
}  // namespace

TEST(Regions, CombineAreasAddUpForEveryPairOfShapes) {
  std::vector<HRGN> Shapes = {
      CreateRectRgn(0, 0, 40, 30),
      CreateEllipticRgn(10, 5, 60, 45),
      CreateRoundRectRgn(-5, 20, 30, 60, 12, 12),
      CreateRectRgn(100, 100, 110, 110),  // disjoint from the others
  };
  TPoint Tri[] = {{0, 0}, {50, 10}, {20, 50}};
  Shapes.push_back(CreatePolygonRgn(Tri, 3, ALTERNATE));
  for (HRGN A : Shapes)
    for (HRGN B : Shapes) {
      TRgn And(Empty()), Or(Empty()), Xor(Empty()), Diff(Empty());
      CombineRgn(And, A, B, RGN_AND);
      CombineRgn(Or, A, B, RGN_OR);
      CombineRgn(Xor, A, B, RGN_XOR);
      CombineRgn(Diff, A, B, RGN_DIFF);
      EXPECT_EQ(Area(Or), Area(A) + Area(B) - Area(And));
      EXPECT_EQ(Area(Xor), Area(Or) - Area(And));
      EXPECT_EQ(Area(Diff), Area(A) - Area(And));
      // Pieces stay where they belong.
      TRgn Check(Empty());
      CombineRgn(Check, Diff, B, RGN_AND);
      EXPECT_EQ(Area(Check), 0);
      CombineRgn(Check, And, A, RGN_DIFF);
      EXPECT_EQ(Area(Check), 0);
      // Diff and And put back together give A again, rectangle for rectangle.
      CombineRgn(Check, Diff, And, RGN_OR);
      EXPECT_TRUE(EqualRgn(Check, A));
    }
  for (HRGN S : Shapes) DeleteObject(S);
}

TEST(Regions, CombineReportsTheResultsComplexity) {
  TRgn A(CreateRectRgn(0, 0, 10, 10)), B(CreateRectRgn(5, 5, 15, 15)), C(CreateRectRgn(20, 20, 30, 30));
  TRgn D(Empty());
  EXPECT_EQ(CombineRgn(D, A, B, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(D, A, B, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(D, A, C, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(D, A, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(D, A, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(CombineRgn(D, A, B, 9), ERROR);
  // The destination may be one of the sources.
  EXPECT_EQ(CombineRgn(A, A, B, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(Area(A), 175);
  // Two touching rectangles of equal height merge into one.
  TRgn L(CreateRectRgn(0, 0, 5, 5)), R(CreateRectRgn(5, 0, 9, 5));
  EXPECT_EQ(CombineRgn(D, L, R, RGN_OR), SIMPLEREGION);
  TRect Box;
  EXPECT_EQ(GetRgnBox(D, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(0, 0, 9, 5));
}

TEST(Regions, PointAndRectangleQueriesUseTheEdgeRule) {
  TRgn R(CreateRectRgn(10, 10, 20, 20));
  EXPECT_TRUE(PtInRegion(R, 10, 10));
  EXPECT_TRUE(PtInRegion(R, 19, 19));
  EXPECT_FALSE(PtInRegion(R, 20, 15));
  TRect Touching(20, 10, 30, 20), Over(19, 19, 30, 30);
  EXPECT_FALSE(RectInRegion(R, &Touching));
  EXPECT_TRUE(RectInRegion(R, &Over));
  EXPECT_EQ(OffsetRgn(R, -10, 5), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(R, 0, 15));
  EXPECT_FALSE(PtInRegion(R, 0, 14));
  EXPECT_TRUE(SetRectRgn(R, 5, 5, 1, 1));  // corners are put in order
  EXPECT_TRUE(PtInRegion(R, 1, 1));
  // An ellipse excludes its box corners and is symmetric.
  TRgn E(CreateEllipticRgn(0, 0, 20, 10));
  EXPECT_FALSE(PtInRegion(E, 0, 0));
  EXPECT_TRUE(PtInRegion(E, 10, 5));
  TRect Box;
  GetRgnBox(E, &Box);
  EXPECT_EQ(Box, TRect(0, 0, 20, 10));
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 20; ++X) EXPECT_EQ(PtInRegion(E, X, Y), PtInRegion(E, 19 - X, 9 - Y));
}

TEST(Regions, RegionDataRoundTripsThroughExtCreateRegion) {
  TPoint Star[] = {{20, 0}, {31, 36}, {0, 14}, {40, 14}, {9, 36}};
  TRgn R(CreatePolygonRgn(Star, 5, WINDING));
  DWORD Need = GetRegionData(R, 0, nullptr);
  ASSERT_GT(Need, sizeof(RGNDATAHEADER));
  std::vector<Byte> Buf(Need);
  auto* Data = reinterpret_cast<RGNDATA*>(Buf.data());
  EXPECT_EQ(GetRegionData(R, Need - 1, Data), 0u);  // too small
  ASSERT_EQ(GetRegionData(R, Need, Data), Need);
  EXPECT_EQ(Data->rdh.iType, RDH_RECTANGLES);
  EXPECT_EQ(Data->rdh.nCount, (Need - sizeof(RGNDATAHEADER)) / sizeof(RECT));
  TRect Box;
  GetRgnBox(R, &Box);
  EXPECT_EQ(Data->rdh.rcBound, Box);
  TRgn Copy(ExtCreateRegion(nullptr, Need, Data));
  EXPECT_TRUE(EqualRgn(R, Copy));
  // A translating transform moves it.
  XFORM Move{1, 0, 0, 1, 5, 7};
  TRgn Moved(ExtCreateRegion(&Move, Need, Data));
  OffsetRgn(Copy, 5, 7);
  EXPECT_TRUE(EqualRgn(Moved, Copy));
  // A count that runs past the buffer is refused.
  Data->rdh.nCount += 1;
  EXPECT_EQ(ExtCreateRegion(nullptr, Need, Data), nullptr);
  // Alternate leaves the star's centre out; winding fills it.
  TRgn Alt(CreatePolygonRgn(Star, 5, ALTERNATE));
  EXPECT_FALSE(PtInRegion(Alt, 20, 20));
  EXPECT_TRUE(PtInRegion(R, 20, 20));
  EXPECT_EQ(CreatePolygonRgn(Star, 5, 3), nullptr);
}

TEST(Regions, CoordinatesStayWithin27Bits) {
  TRgn Big(CreateRectRgn(-2000000000, -2000000000, 2000000000, 2000000000));
  TRect Box;
  EXPECT_EQ(GetRgnBox(Big, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(-(1 << 27), -(1 << 27), 1 << 27, 1 << 27));
  EXPECT_EQ(OffsetRgn(Big, 1, 0), ERROR);
  TRgn Small(CreateRectRgn(0, 0, 10, 10));
  EXPECT_EQ(OffsetRgn(Small, 2000000000, 0), ERROR);
  EXPECT_TRUE(PtInRegion(Small, 5, 5));  // a failed offset leaves it alone
  TPoint Far[] = {{-2000000000, 0}, {2000000000, 0}, {0, 2000000000}};
  TRgn Tri(CreatePolygonRgn(Far, 3, ALTERNATE));
  EXPECT_TRUE(PtInRegion(Tri, 0, 10));
}

TEST(Regions, StaleRegionHandlesFail) {
  HRGN R = CreateRectRgn(0, 0, 5, 5);
  EXPECT_TRUE(DeleteObject(R));
  TRect Box;
  EXPECT_EQ(GetRgnBox(R, &Box), ERROR);
  EXPECT_EQ(OffsetRgn(R, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(R, 1, 1));
  EXPECT_EQ(GetRegionData(R, 0, nullptr), 0u);
}

TEST(Regions, ClipRegionIsACopyInDeviceUnits) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(50, 50, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  TRgn R(CreateRectRgn(10, 10, 20, 20));
  // Selecting a region into a DC sets the clip and answers its complexity.
  EXPECT_EQ(SelectObject(Dc, R), reinterpret_cast<HGDIOBJ>(std::intptr_t(SIMPLEREGION)));
  EXPECT_EQ(SelectClipRgn(Dc, R), SIMPLEREGION);
  OffsetRgn(R, 100, 100);  // the DC kept its own copy
  TRgn Got(Empty());
  ASSERT_EQ(GetClipRgn(Dc, Got), 1);
  TRect Box;
  GetRgnBox(Got, &Box);
  EXPECT_EQ(Box, TRect(10, 10, 20, 20));
  EXPECT_TRUE(PtVisible(Dc, 10, 10));
  EXPECT_FALSE(PtVisible(Dc, 20, 10));
  TRect In(15, 15, 30, 30), Out(20, 0, 30, 30);
  EXPECT_TRUE(RectVisible(Dc, &In));
  EXPECT_FALSE(RectVisible(Dc, &Out));
  // Clip boxes are logical: a moved window origin moves them.
  SetWindowOrgEx(Dc, 5, 5, nullptr);
  EXPECT_EQ(GetClipBox(Dc, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(15, 15, 25, 25));
  SetWindowOrgEx(Dc, 0, 0, nullptr);
  EXPECT_EQ(OffsetClipRgn(Dc, 5, 0), SIMPLEREGION);
  GetClipBox(Dc, &Box);
  EXPECT_EQ(Box, TRect(15, 10, 25, 20));
  // Excluding the middle makes it complex; a region outside leaves nothing.
  EXPECT_EQ(ExcludeClipRect(Dc, 18, 12, 20, 14), COMPLEXREGION);
  TRgn Far(CreateRectRgn(40, 40, 45, 45));
  EXPECT_EQ(ExtSelectClipRgn(Dc, Far, RGN_AND), NULLREGION);
  EXPECT_EQ(GetClipBox(Dc, &Box), NULLREGION);
  // Removing the clip gives the whole bitmap back.
  EXPECT_EQ(SelectClipRgn(Dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(Dc, Got), 0);
  GetClipBox(Dc, &Box);
  EXPECT_EQ(Box, TRect(0, 0, 50, 50));
  EXPECT_EQ(ExtSelectClipRgn(Dc, nullptr, RGN_AND), ERROR);
  // ExtSelectClipRgn without a clip combines with the whole surface.
  EXPECT_EQ(ExtSelectClipRgn(Dc, Far, RGN_DIFF), COMPLEXREGION);
  EXPECT_FALSE(PtVisible(Dc, 42, 42));
  EXPECT_TRUE(PtVisible(Dc, 0, 0));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bmp);
}

TEST(Regions, FrameRgnPaintsOnlyTheBorderOfTheGivenWidth) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(20, 20, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  TRgn R(CreateRectRgn(2, 2, 18, 18));
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(FrameRgn(Dc, R, Red, 2, 1));
  EXPECT_EQ(GetPixel(Dc, 2, 10), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 3, 10), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 4, 10), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 10, 2), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 10, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 1, 10), RGB(0, 0, 0));
  EXPECT_TRUE(InvertRgn(Dc, R));
  EXPECT_EQ(GetPixel(Dc, 10, 10), RGB(255, 255, 255));
  EXPECT_FALSE(FillRgn(Dc, R, nullptr));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bmp);
  DeleteObject(Red);
}
