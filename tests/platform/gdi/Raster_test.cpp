#include "platform/gdi/Gdi.h"
#include "platform/gdi/DcObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

namespace {
constexpr COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Red = RGB(255, 0, 0),
                   Blue = RGB(0, 0, 255);

// A 32-bpp memory DC filled with one colour.
class TTestDIB {
public:
  TTestDIB(int W, int H, COLORREF Fill = White) : FW(W), FH(H) {
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateBitmap(W, H, 1, 32, nullptr);
    Old = SelectObject(Dc, Bmp);
    Clear(Fill);
  }
  ~TTestDIB() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
  // Paints the whole bitmap whatever the DC's mapping and clip.
  void Clear(COLORREF C) {
    SaveDC(Dc);
    SetGraphicsMode(Dc, GM_ADVANCED);
    ModifyWorldTransform(Dc, nullptr, MWT_IDENTITY);
    SetMapMode(Dc, MM_TEXT);
    SetWindowOrgEx(Dc, 0, 0, nullptr);
    SetViewportOrgEx(Dc, 0, 0, nullptr);
    SelectClipRgn(Dc, nullptr);
    HBRUSH B = CreateSolidBrush(C);
    TRect R(0, 0, FW, FH);
    FillRect(Dc, &R, B);
    DeleteObject(B);
    RestoreDC(Dc, -1);
  }
  // Straight from the bitmap, in device pixels, whatever the DC's mapping and clip.
  COLORREF Pixel(int X, int Y) const {
    auto* B = GdiLookupAs<TBitmapObject>(Bmp);
    if (X < 0 || Y < 0 || X >= FW || Y >= FH) return CLR_INVALID;
    return B->PixelToColor(B->GetPixelValue(X, Y));
  }
  int Count(COLORREF C) const {
    int N = 0;
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X) N += Pixel(X, Y) == C;
    return N;
  }
  // Bounds of the pixels that are not Background.
  TRect Extent(COLORREF Background = White) const {
    TRect R(FW, FH, -1, -1);
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X)
        if (Pixel(X, Y) != Background) {
          R.Left = std::min(R.Left, X); R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1); R.Bottom = std::max(R.Bottom, Y + 1);
        }
    return R.Right < 0 ? TRect() : R;
  }
  // Rows of '#' (Ink) and '.' (anything else), for readable failures.
  std::string Picture(COLORREF Ink) const {
    std::string S;
    for (int Y = 0; Y < FH; ++Y) {
      for (int X = 0; X < FW; ++X) S += Pixel(X, Y) == Ink ? '#' : '.';
      S += '\n';
    }
    return S;
  }
  void Pen(int Style, int Width, COLORREF C) {
    HPEN P = CreatePen(Style, Width, C);
    DeleteObject(SelectObject(Dc, P));  // deleting stock objects is a no-op
  }
  void Brush(HBRUSH B) { DeleteObject(SelectObject(Dc, B)); }
  HDC Dc;

private:
  int FW, FH;
  HBITMAP Bmp;
  HGDIOBJ Old;
};
}  // namespace

// --- lines ---------------------------------------------------------------------------

struct TLineCase {
  TPoint A, B;
  const char* Why;
};

TEST(Raster, LinesLeaveOutTheirLastPixelInEveryOctant) {
  const TLineCase Cases[] = {
      {{10, 10}, {18, 13}, "octant 0: x-major, down right"},
      {{10, 10}, {13, 18}, "octant 1: y-major, down right"},
      {{10, 10}, {7, 18}, "octant 2: y-major, down left"},
      {{10, 10}, {2, 13}, "octant 3: x-major, down left"},
      {{10, 10}, {2, 7}, "octant 4: x-major, up left"},
      {{10, 10}, {7, 2}, "octant 5: y-major, up left"},
      {{10, 10}, {13, 2}, "octant 6: y-major, up right"},
      {{10, 10}, {18, 7}, "octant 7: x-major, up right"},
      {{10, 10}, {18, 10}, "horizontal"},
      {{10, 10}, {10, 2}, "vertical"},
      {{10, 10}, {16, 16}, "diagonal"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(21, 21);
    MoveToEx(D.Dc, C.A.X, C.A.Y, nullptr);
    LineTo(D.Dc, C.B.X, C.B.Y);
    int Len = std::max(std::abs(C.B.X - C.A.X), std::abs(C.B.Y - C.A.Y));
    EXPECT_EQ(D.Pixel(C.A.X, C.A.Y), Black);
    EXPECT_EQ(D.Pixel(C.B.X, C.B.Y), White) << D.Picture(Black);
    EXPECT_EQ(D.Count(Black), Len) << D.Picture(Black);  // one pixel per major step
    TPoint Cp;
    GetCurrentPositionEx(D.Dc, &Cp);
    EXPECT_EQ(Cp, C.B);
    // The line stays inside the box of its two ends.
    TRect E = D.Extent();
    EXPECT_GE(E.Left, std::min(C.A.X, C.B.X));
    EXPECT_LE(E.Right, std::max(C.A.X, C.B.X) + 1);
    EXPECT_GE(E.Top, std::min(C.A.Y, C.B.Y));
    EXPECT_LE(E.Bottom, std::max(C.A.Y, C.B.Y) + 1);
  }
}

TEST(Raster, PolylineJoinsSegmentsWithoutRepaintingCorners) {
  // Under XOR a pixel painted twice would vanish.
  TTestDIB D(12, 12);
  SetROP2(D.Dc, R2_XORPEN);
  D.Pen(PS_SOLID, 1, RGB(255, 255, 255));
  TPoint P[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}};
  Polyline(D.Dc, P, 4);
  EXPECT_EQ(D.Pixel(8, 1), Black);
  EXPECT_EQ(D.Pixel(8, 8), Black);
  EXPECT_EQ(D.Pixel(1, 8), White);  // the last point is left out
  EXPECT_EQ(D.Count(Black), 7 * 3);
}

struct TRop2Case {
  int Mode;
  COLORREF Dst, Pen, Want;
  const char* Why;
};

TEST(Raster, Rop2CombinesPenAndDestinationBits) {
  const COLORREF A = RGB(0xF0, 0x0F, 0x55), Dv = RGB(0xCC, 0xAA, 0x0F);
  auto Px = [](std::uint32_t V) { return RGB(Byte(V), Byte(V >> 8), Byte(V >> 16)); };
  const std::uint32_t P = A, Q = Dv;
  const TRop2Case Cases[] = {
      {R2_BLACK, Dv, A, Px(0), "black"},
      {R2_NOTMERGEPEN, Dv, A, Px(~(P | Q)), "not (pen or dst)"},
      {R2_MASKNOTPEN, Dv, A, Px(~P & Q), "not pen and dst"},
      {R2_NOTCOPYPEN, Dv, A, Px(~P), "not pen"},
      {R2_MASKPENNOT, Dv, A, Px(P & ~Q), "pen and not dst"},
      {R2_NOT, Dv, A, Px(~Q), "not dst"},
      {R2_XORPEN, Dv, A, Px(P ^ Q), "pen xor dst"},
      {R2_NOTMASKPEN, Dv, A, Px(~(P & Q)), "not (pen and dst)"},
      {R2_MASKPEN, Dv, A, Px(P & Q), "pen and dst"},
      {R2_NOTXORPEN, Dv, A, Px(~(P ^ Q)), "not (pen xor dst)"},
      {R2_NOP, Dv, A, Dv, "nothing"},
      {R2_MERGENOTPEN, Dv, A, Px(~P | Q), "not pen or dst"},
      {R2_COPYPEN, Dv, A, A, "pen"},
      {R2_MERGEPENNOT, Dv, A, Px(P | ~Q), "pen or not dst"},
      {R2_MERGEPEN, Dv, A, Px(P | Q), "pen or dst"},
      {R2_WHITE, Dv, A, White, "white"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(3, 1, C.Dst);
    D.Pen(PS_SOLID, 1, C.Pen);
    SetROP2(D.Dc, C.Mode);
    MoveToEx(D.Dc, 0, 0, nullptr);
    LineTo(D.Dc, 2, 0);
    EXPECT_EQ(D.Pixel(0, 0), C.Want);
    EXPECT_EQ(D.Pixel(2, 0), C.Dst);  // end-exclusive
  }
}

TEST(Raster, CosmeticPenStylesAlternateOnAndOffAndPaintGapsWhenOpaque) {
  struct TStyleCase { int Style; int FirstOn, FirstOff; const char* Why; };
  const TStyleCase Cases[] = {
      {PS_DASH, 18, 6, "dash"},
      {PS_DOT, 3, 3, "dot"},
      {PS_DASHDOT, 9, 6, "dash-dot"},
      {PS_DASHDOTDOT, 9, 3, "dash-dot-dot"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(60, 1);
    D.Pen(C.Style, 1, Red);
    SetBkMode(D.Dc, TRANSPARENT);
    MoveToEx(D.Dc, 0, 0, nullptr);
    LineTo(D.Dc, 60, 0);
    for (int X = 0; X < C.FirstOn; ++X) EXPECT_EQ(D.Pixel(X, 0), Red) << X;
    for (int X = C.FirstOn; X < C.FirstOn + C.FirstOff; ++X) EXPECT_EQ(D.Pixel(X, 0), White) << X;
    // Opaque mode fills the gaps with the background colour.
    SetBkMode(D.Dc, OPAQUE);
    SetBkColor(D.Dc, Blue);
    MoveToEx(D.Dc, 0, 0, nullptr);
    LineTo(D.Dc, 60, 0);
    EXPECT_EQ(D.Pixel(C.FirstOn, 0), Blue);
    EXPECT_EQ(D.Count(White), 0);
  }
  // PS_ALTERNATE: every other pixel.
  TTestDIB A(10, 1);
  LOGBRUSH Lb{BS_SOLID, Red, 0};
  HPEN Alt = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &Lb, 0, nullptr);
  ASSERT_NE(Alt, nullptr);
  DeleteObject(SelectObject(A.Dc, Alt));
  SetBkMode(A.Dc, TRANSPARENT);
  MoveToEx(A.Dc, 0, 0, nullptr);
  LineTo(A.Dc, 10, 0);
  EXPECT_EQ(A.Picture(Red), "#.#.#.#.#.\n");
  // A user style: 2 on, 1 off.
  DWORD Runs[] = {2, 1};
  HPEN User = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &Lb, 2, Runs);
  DeleteObject(SelectObject(A.Dc, User));
  A.Clear(White);
  MoveToEx(A.Dc, 0, 0, nullptr);
  LineTo(A.Dc, 10, 0);
  EXPECT_EQ(A.Picture(Red), "##.##.##.#\n");
  TTestDIB N(10, 1);
  N.Pen(PS_NULL, 1, Red);
  MoveToEx(N.Dc, 0, 0, nullptr);
  LineTo(N.Dc, 10, 0);
  EXPECT_EQ(N.Count(White), 10);
}

TEST(Raster, WidePenCoversItsWidthCentredOnTheLine) {
  TTestDIB D(30, 20);
  D.Pen(PS_SOLID, 5, Red);
  MoveToEx(D.Dc, 5, 10, nullptr);
  LineTo(D.Dc, 25, 10);
  // Rows 8..12 between the ends; round caps reach 2 pixels beyond them.
  for (int Y = 8; Y <= 12; ++Y) EXPECT_EQ(D.Pixel(15, Y), Red) << Y;
  EXPECT_EQ(D.Pixel(15, 7), White);
  EXPECT_EQ(D.Pixel(15, 13), White);
  EXPECT_EQ(D.Pixel(3, 10), Red);
  EXPECT_EQ(D.Pixel(2, 10), White);
  EXPECT_EQ(D.Pixel(27, 10), Red);
  EXPECT_EQ(D.Pixel(28, 10), White);

  // A flat-capped geometric pen stops at the ends.
  TTestDIB F(30, 20);
  LOGBRUSH Lb{BS_SOLID, Red, 0};
  HPEN P = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, &Lb, 0, nullptr);
  F.Brush(nullptr);
  DeleteObject(SelectObject(F.Dc, P));
  MoveToEx(F.Dc, 5, 10, nullptr);
  LineTo(F.Dc, 25, 10);
  EXPECT_EQ(F.Extent(), TRect(5, 8, 25, 13)) << F.Picture(Red);
  SelectObject(F.Dc, GetStockObject(BLACK_PEN));
  DeleteObject(P);
}

TEST(Raster, WideLinesPaintEachPixelOnceUnderXor) {
  TTestDIB D(40, 40);
  SetROP2(D.Dc, R2_XORPEN);
  D.Pen(PS_SOLID, 7, RGB(255, 255, 255));
  TPoint P[] = {{5, 5}, {30, 8}, {10, 30}, {33, 33}};
  Polyline(D.Dc, P, 4);
  // Overlapping joins would cancel out and leave white holes inside the stroke.
  TTestDIB Ref(40, 40);
  Ref.Pen(PS_SOLID, 7, Black);
  Polyline(Ref.Dc, P, 4);
  EXPECT_EQ(D.Picture(Black), Ref.Picture(Black));
}

TEST(Raster, PolyDrawFollowsThePointTypes) {
  TTestDIB D(20, 20);
  TPoint P[] = {{2, 2}, {12, 2}, {12, 12}, {15, 15}, {18, 15}};
  BYTE T[] = {PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE, PT_MOVETO, PT_LINETO};
  ASSERT_TRUE(PolyDraw(D.Dc, P, T, 5));
  // The closed triangle's three sides, then a separate short line.
  EXPECT_EQ(D.Pixel(7, 2), Black);
  EXPECT_EQ(D.Pixel(12, 7), Black);
  EXPECT_EQ(D.Pixel(7, 7), Black);  // closing diagonal
  EXPECT_EQ(D.Pixel(16, 15), Black);
  EXPECT_EQ(D.Pixel(13, 14), White);
  TPoint Cp;
  GetCurrentPositionEx(D.Dc, &Cp);
  EXPECT_EQ(Cp, TPoint(18, 15));
  // A Bezier with too few points draws nothing.
  D.Clear(White);
  BYTE Bad[] = {PT_MOVETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO};
  EXPECT_FALSE(PolyDraw(D.Dc, P, Bad, 4));
  EXPECT_EQ(D.Count(White), 400);
}

// --- shapes ------------------------------------------------------------------------------

TEST(Raster, RectangleCoversLeftTopUpToButNotIncludingRightBottom) {
  TTestDIB D(16, 16);
  HBRUSH B = CreateSolidBrush(Blue);
  D.Brush(B);
  Rectangle(D.Dc, 2, 3, 12, 10);
  EXPECT_EQ(D.Extent(), TRect(2, 3, 12, 10));
  EXPECT_EQ(D.Pixel(2, 3), Black);    // pen border
  EXPECT_EQ(D.Pixel(11, 9), Black);
  EXPECT_EQ(D.Pixel(3, 4), Blue);     // brush inside
  EXPECT_EQ(D.Pixel(10, 8), Blue);
  EXPECT_EQ(D.Count(Black), 2 * 10 + 2 * 5);
  // With no pen the brush alone is one pixel smaller each way.
  D.Clear(White);
  SelectObject(D.Dc, GetStockObject(NULL_PEN));
  Rectangle(D.Dc, 2, 3, 12, 10);
  EXPECT_EQ(D.Extent(), TRect(2, 3, 11, 9));
  // Advanced graphics mode includes the right and bottom edges.
  D.Clear(White);
  SetGraphicsMode(D.Dc, GM_ADVANCED);
  Rectangle(D.Dc, 2, 3, 12, 10);
  EXPECT_EQ(D.Extent(), TRect(2, 3, 12, 10));
  SetGraphicsMode(D.Dc, GM_COMPATIBLE);
  // Swapped corners draw the same rectangle.
  D.Clear(White);
  Rectangle(D.Dc, 12, 10, 2, 3);
  EXPECT_EQ(D.Extent(), TRect(2, 3, 11, 9));
}

TEST(Raster, InsideFramePenStaysInsideTheBox) {
  TTestDIB D(30, 30);
  D.Pen(PS_INSIDEFRAME, 6, Red);
  SelectObject(D.Dc, GetStockObject(NULL_BRUSH));
  Rectangle(D.Dc, 5, 5, 25, 25);
  EXPECT_EQ(D.Extent(), TRect(5, 5, 25, 25)) << D.Picture(Red);
  D.Clear(White);
  Ellipse(D.Dc, 5, 5, 25, 25);
  EXPECT_EQ(D.Extent(), TRect(5, 5, 25, 25)) << D.Picture(Red);
  // A centred wide pen reaches beyond it.
  D.Clear(White);
  D.Pen(PS_SOLID, 6, Red);
  Rectangle(D.Dc, 5, 5, 25, 25);
  TRect E = D.Extent();
  EXPECT_LT(E.Left, 5);
  EXPECT_GT(E.Right, 25);
}

TEST(Raster, EllipseIsSymmetricAndInsideItsBox) {
  TTestDIB D(24, 20);
  HBRUSH B = CreateSolidBrush(Blue);
  D.Brush(B);
  Ellipse(D.Dc, 2, 3, 22, 17);
  EXPECT_EQ(D.Extent(), TRect(2, 3, 22, 17)) << D.Picture(Black);
  for (int Y = 3; Y < 17; ++Y)
    for (int X = 2; X < 22; ++X) {
      EXPECT_EQ(D.Pixel(X, Y), D.Pixel(2 + 21 - X, Y)) << X << "," << Y;
      EXPECT_EQ(D.Pixel(X, Y), D.Pixel(X, 3 + 16 - Y)) << X << "," << Y;
    }
  EXPECT_EQ(D.Pixel(12, 10), Blue);
  EXPECT_EQ(D.Pixel(2, 3), White);  // corners are outside
  // The one-pixel outline is closed: no brush pixel touches the outside.
  for (int Y = 3; Y < 17; ++Y)
    for (int X = 2; X < 22; ++X)
      if (D.Pixel(X, Y) == Blue) {
        EXPECT_NE(D.Pixel(X - 1, Y), White);
        EXPECT_NE(D.Pixel(X + 1, Y), White);
        EXPECT_NE(D.Pixel(X, Y - 1), White);
        EXPECT_NE(D.Pixel(X, Y + 1), White);
      }
}

TEST(Raster, RoundRectArcChordAndPieStayInTheirBox) {
  using TDraw = std::function<void(HDC)>;
  struct TShapeCase { TDraw Draw; const char* Why; };
  const TShapeCase Cases[] = {
      {[](HDC Dc) { RoundRect(Dc, 4, 4, 36, 28, 10, 8); }, "round rectangle"},
      {[](HDC Dc) { Arc(Dc, 4, 4, 36, 28, 36, 16, 4, 16); }, "upper half arc"},
      {[](HDC Dc) { Chord(Dc, 4, 4, 36, 28, 36, 0, 0, 28); }, "chord"},
      {[](HDC Dc) { Pie(Dc, 4, 4, 36, 28, 36, 16, 20, 0); }, "quarter pie"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(40, 32);
    HBRUSH B = CreateSolidBrush(Blue);
    D.Brush(B);
    C.Draw(D.Dc);
    TRect E = D.Extent();
    EXPECT_FALSE(E.IsEmpty());
    EXPECT_GE(E.Left, 4);
    EXPECT_GE(E.Top, 4);
    EXPECT_LE(E.Right, 36);
    EXPECT_LE(E.Bottom, 28);
  }
  // The upper half arc counterclockwise from the right stays above the middle.
  TTestDIB D(40, 32);
  Arc(D.Dc, 4, 4, 36, 28, 36, 16, 4, 16);
  EXPECT_LE(D.Extent().Bottom, 17) << D.Picture(Black);
  SetArcDirection(D.Dc, AD_CLOCKWISE);
  D.Clear(White);
  Arc(D.Dc, 4, 4, 36, 28, 36, 16, 4, 16);
  EXPECT_GE(D.Extent().Top, 15) << D.Picture(Black);
  // A quarter pie fills only its quadrant (upper right).
  TTestDIB Q(40, 32);
  HBRUSH B = CreateSolidBrush(Blue);
  Q.Brush(B);
  Pie(Q.Dc, 4, 4, 36, 28, 36, 16, 20, 0);
  EXPECT_EQ(Q.Pixel(28, 10), Blue);
  EXPECT_EQ(Q.Pixel(12, 10), White);
  EXPECT_EQ(Q.Pixel(28, 22), White);
}

TEST(Raster, FillModesDecideWhatASelfOverlappingPolygonCovers) {
  // A five-pointed star: the centre is covered twice.
  TPoint Star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
  TTestDIB D(40, 40);
  HBRUSH B = CreateSolidBrush(Blue);
  D.Brush(B);
  SelectObject(D.Dc, GetStockObject(NULL_PEN));
  Polygon(D.Dc, Star, 5);
  EXPECT_EQ(D.Pixel(20, 20), White);  // alternate leaves the centre out
  EXPECT_EQ(D.Pixel(20, 8), Blue);
  SetPolyFillMode(D.Dc, WINDING);
  Polygon(D.Dc, Star, 5);
  EXPECT_EQ(D.Pixel(20, 20), Blue);
  // A square polygon's interior stops before its right and bottom edges.
  TTestDIB S(12, 12);
  S.Brush(CreateSolidBrush(Blue));
  SelectObject(S.Dc, GetStockObject(NULL_PEN));
  TPoint Sq[] = {{1, 1}, {9, 1}, {9, 9}, {1, 9}};
  Polygon(S.Dc, Sq, 4);
  EXPECT_EQ(S.Extent(), TRect(1, 1, 9, 9));
  // PolyPolygon: a square with a square hole.
  TTestDIB H(20, 20);
  H.Brush(CreateSolidBrush(Blue));
  SelectObject(H.Dc, GetStockObject(NULL_PEN));
  TPoint Two[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
  int Counts[] = {4, 4};
  PolyPolygon(H.Dc, Two, Counts, 2);
  EXPECT_EQ(H.Count(Blue), 400 - 100);
  EXPECT_FALSE(PolyPolygon(H.Dc, Two, Counts, 0));
}

// Small triangles (the arrows of combo boxes and sub-menus) are drawn with a
// pen and a brush of one colour: the interior must meet the outline, so that
// the whole triangle is solid and nothing shows outside its outline.
TEST(Raster, SmallTrianglesUnderAnOutlineAreSolid) {
  struct TTriangle { TPoint P[3]; const char* Rows; const char* Why; };
  const TTriangle Cases[] = {
      {{{1, 1}, {5, 1}, {3, 3}}, ".......\n.#####.\n..###..\n...#...\n.......\n", "pointing down"},
      {{{1, 3}, {5, 3}, {3, 1}}, ".......\n...#...\n..###..\n.#####.\n.......\n", "pointing up"},
      {{{1, 1}, {1, 5}, {3, 3}}, ".......\n.#.....\n.##....\n.###...\n.##....\n.#.....\n.......\n", "pointing right"},
      {{{4, 3}, {7, 0}, {7, 6}}, ".......#\n......##\n.....###\n....####\n.....###\n......##\n.......#\n........\n",
       "pointing left, seven rows"},
  };
  for (const auto& C : Cases) {
    const std::string_view Want(C.Rows);
    const int W = int(Want.find('\n'));
    TTestDIB D(W, int(Want.size()) / (W + 1));
    D.Brush(CreateSolidBrush(Blue));
    D.Pen(PS_SOLID, 1, Blue);
    Polygon(D.Dc, C.P, 3);
    EXPECT_EQ(D.Picture(Blue), C.Rows) << C.Why;
  }
}

TEST(Raster, HatchAndPatternBrushesRepeatFromTheBrushOrigin) {
  struct THatchCase { int Style; TPoint On, Off; const char* Why; };
  const THatchCase Cases[] = {
      {HS_HORIZONTAL, {3, 7}, {3, 6}, "horizontal"},
      {HS_VERTICAL, {7, 3}, {6, 3}, "vertical"},
      {HS_FDIAGONAL, {5, 5}, {5, 6}, "forward diagonal"},
      {HS_BDIAGONAL, {2, 5}, {5, 5}, "backward diagonal"},
      {HS_CROSS, {7, 2}, {2, 2}, "cross"},
      {HS_DIAGCROSS, {1, 6}, {1, 5}, "diagonal cross"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(16, 16);
    HBRUSH B = CreateHatchBrush(C.Style, Red);
    TRect R(0, 0, 16, 16);
    SetBkColor(D.Dc, Blue);
    FillRect(D.Dc, &R, B);
    EXPECT_EQ(D.Pixel(C.On.X, C.On.Y), Red);
    EXPECT_EQ(D.Pixel(C.On.X + 8, C.On.Y + 8), Red);  // 8x8 cells
    EXPECT_EQ(D.Pixel(C.Off.X, C.Off.Y), Blue);        // opaque background
    // Transparent background leaves the gaps alone.
    D.Clear(White);
    SetBkMode(D.Dc, TRANSPARENT);
    FillRect(D.Dc, &R, B);
    EXPECT_EQ(D.Pixel(C.Off.X, C.Off.Y), White);
    // Moving the brush origin moves the lines.
    D.Clear(White);
    SetBrushOrgEx(D.Dc, 1, 1, nullptr);
    FillRect(D.Dc, &R, B);
    EXPECT_EQ(D.Pixel(C.On.X + 1, C.On.Y + 1), Red);
    DeleteObject(B);
  }
  // A monochrome 8x8 pattern paints 0 bits in the text colour, 1 bits in the
  // background colour.
  Byte Bits[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
  HBITMAP Pat = CreateBitmap(8, 8, 1, 1, Bits);
  HBRUSH PB = CreatePatternBrush(Pat);
  DeleteObject(Pat);  // the brush keeps its own copy
  TTestDIB D(16, 8);
  SetTextColor(D.Dc, Red);
  SetBkColor(D.Dc, Blue);
  TRect R(0, 0, 16, 8);
  FillRect(D.Dc, &R, PB);
  EXPECT_EQ(D.Pixel(0, 0), Blue);
  EXPECT_EQ(D.Pixel(1, 0), Red);
  EXPECT_EQ(D.Pixel(0, 1), Red);
  EXPECT_EQ(D.Pixel(1, 1), Blue);
  EXPECT_EQ(D.Pixel(8, 0), Blue);
  DeleteObject(PB);
  // A colour pattern paints its own colours, tiled from the brush origin.
  HBITMAP Col = CreateBitmap(2, 2, 1, 32, nullptr);
  {
    HDC P = CreateCompatibleDC(nullptr);
    HGDIOBJ O = SelectObject(P, Col);
    SetPixel(P, 0, 0, Red);
    SetPixel(P, 1, 0, Blue);
    SetPixel(P, 0, 1, White);
    SetPixel(P, 1, 1, RGB(0, 255, 0));
    SelectObject(P, O);
    DeleteDC(P);
  }
  HBRUSH CB = CreatePatternBrush(Col);
  D.Clear(Black);
  SetBrushOrgEx(D.Dc, 1, 0, nullptr);
  FillRect(D.Dc, &R, CB);
  EXPECT_EQ(D.Pixel(1, 0), Red);
  EXPECT_EQ(D.Pixel(2, 0), Blue);
  EXPECT_EQ(D.Pixel(4, 1), RGB(0, 255, 0));
  LOGBRUSH Lb;
  GetObject(CB, sizeof Lb, &Lb);
  EXPECT_EQ(Lb.lbStyle, UINT(BS_PATTERN));
  EXPECT_EQ(Lb.lbHatch, reinterpret_cast<std::uintptr_t>(Col));
  DeleteObject(CB);
  DeleteObject(Col);
}

TEST(Raster, FillFrameAndInvertRectIgnoreTheRop2) {
  TTestDIB D(10, 10);
  SetROP2(D.Dc, R2_NOP);
  HBRUSH B = CreateSolidBrush(Red);
  TRect R(2, 2, 8, 8);
  FillRect(D.Dc, &R, B);
  EXPECT_EQ(D.Extent(), TRect(2, 2, 8, 8));
  EXPECT_EQ(D.Count(Red), 36);
  HBRUSH Bl = CreateSolidBrush(Blue);
  FrameRect(D.Dc, &R, Bl);
  EXPECT_EQ(D.Count(Blue), 20);
  EXPECT_EQ(D.Pixel(3, 3), Red);
  InvertRect(D.Dc, &R);
  EXPECT_EQ(D.Pixel(2, 2), RGB(255, 255, 0));  // inverted blue
  EXPECT_EQ(D.Pixel(3, 3), RGB(0, 255, 255));  // inverted red
  EXPECT_EQ(D.Pixel(8, 8), White);
  EXPECT_EQ(FillRect(D.Dc, &R, nullptr), FALSE);
  DeleteObject(B);
  DeleteObject(Bl);
}

TEST(Raster, DcBrushAndDcPenTakeTheirColourFromTheDC) {
  TTestDIB D(10, 10);
  SelectObject(D.Dc, GetStockObject(DC_BRUSH));
  SelectObject(D.Dc, GetStockObject(DC_PEN));
  SetDCBrushColor(D.Dc, Blue);
  SetDCPenColor(D.Dc, Red);
  Rectangle(D.Dc, 0, 0, 10, 10);
  EXPECT_EQ(D.Pixel(0, 0), Red);
  EXPECT_EQ(D.Pixel(5, 5), Blue);
}

TEST(Raster, MappingModeScalesShapesAndPenWidth) {
  TTestDIB D(100, 100);
  SetMapMode(D.Dc, MM_ANISOTROPIC);
  SetWindowExtEx(D.Dc, 10, 10, nullptr);
  SetViewportExtEx(D.Dc, 100, 100, nullptr);
  HBRUSH B = CreateSolidBrush(Blue);
  TRect R(1, 2, 3, 4);
  FillRect(D.Dc, &R, B);
  EXPECT_EQ(D.Extent(), TRect(10, 20, 30, 40));
  DeleteObject(B);
  D.Clear(White);
  D.Pen(PS_SOLID, 1, Red);  // one logical unit = 10 pixels
  MoveToEx(D.Dc, 2, 5, nullptr);
  LineTo(D.Dc, 8, 5);
  for (int Y = 45; Y < 55; ++Y) EXPECT_EQ(D.Pixel(50, Y), Red) << Y;
  EXPECT_EQ(D.Pixel(50, 44), White);
}

TEST(Raster, RotatedShapesTurnWithTheWorldTransform) {
  TTestDIB D(41, 41);
  D.Brush(CreateSolidBrush(Blue));
  SetGraphicsMode(D.Dc, GM_ADVANCED);
  const float C = 0.70710678f;
  XFORM Rot45{C, C, -C, C, 20, 20};
  SetWorldTransform(D.Dc, &Rot45);
  Rectangle(D.Dc, -10, -10, 10, 10);  // a diamond
  EXPECT_EQ(D.Pixel(20, 20), Blue);
  EXPECT_NE(D.Pixel(20, 32), White);
  EXPECT_NE(D.Pixel(32, 20), White);
  EXPECT_EQ(D.Pixel(11, 11), White);  // the unrotated square's corner
  D.Clear(White);
  XFORM Rot90{0, 1, -1, 0, 20, 20};
  SetWorldTransform(D.Dc, &Rot90);
  Ellipse(D.Dc, -15, -5, 15, 5);  // wide in logical space, tall on the device
  EXPECT_EQ(D.Pixel(20, 30), Blue);
  EXPECT_EQ(D.Pixel(30, 20), White);
  TRect E = D.Extent();
  EXPECT_GT(E.Height(), 2 * E.Width());
  // The upper half arc, turned a quarter clockwise, lies on the right.
  D.Clear(White);
  Arc(D.Dc, -15, -15, 15, 15, 15, 0, -15, 0);
  EXPECT_GE(D.Extent().Left, 19) << D.Picture(Black);
}

// --- clip ------------------------------------------------------------------------------------

TEST(Raster, EveryPrimitiveHonoursTheClip) {
  using TDraw = std::function<void(HDC)>;
  struct TClipCase { TDraw Draw; const char* Why; };
  HBRUSH Fill = CreateSolidBrush(Blue);
  const TClipCase Cases[] = {
      {[](HDC Dc) { MoveToEx(Dc, 0, 15, nullptr); LineTo(Dc, 30, 15); }, "line"},
      {[](HDC Dc) { TPoint P[] = {{0, 0}, {30, 30}, {0, 30}}; Polyline(Dc, P, 3); }, "polyline"},
      {[](HDC Dc) { TPoint P[] = {{0, 0}, {30, 0}, {15, 30}}; Polygon(Dc, P, 3); }, "polygon"},
      {[](HDC Dc) { Rectangle(Dc, 0, 0, 30, 30); }, "rectangle"},
      {[](HDC Dc) { RoundRect(Dc, 0, 0, 30, 30, 8, 8); }, "round rectangle"},
      {[](HDC Dc) { Ellipse(Dc, 0, 0, 30, 30); }, "ellipse"},
      {[](HDC Dc) { Pie(Dc, 0, 0, 30, 30, 30, 15, 0, 15); }, "pie"},
      {[](HDC Dc) { Chord(Dc, 0, 0, 30, 30, 30, 15, 0, 15); }, "chord"},
      {[](HDC Dc) { TPoint P[] = {{0, 0}, {30, 0}, {0, 30}, {30, 30}}; PolyBezier(Dc, P, 4); }, "bezier"},
      {[Fill](HDC Dc) { TRect R(0, 0, 30, 30); FillRect(Dc, &R, Fill); }, "FillRect"},
      {[Fill](HDC Dc) { TRect R(3, 7, 27, 23); FrameRect(Dc, &R, Fill); }, "FrameRect"},
      {[](HDC Dc) { TRect R(0, 0, 30, 30); InvertRect(Dc, &R); }, "InvertRect"},
      {[](HDC Dc) { for (int I = 0; I < 30; ++I) SetPixel(Dc, I, I, RGB(1, 2, 3)); }, "SetPixel"},
      {[Fill](HDC Dc) { HRGN R = CreateEllipticRgn(0, 0, 30, 30); FillRgn(Dc, R, Fill); DeleteObject(R); }, "FillRgn"},
      {[](HDC Dc) { BeginPath(Dc); Rectangle(Dc, 0, 0, 30, 30); EndPath(Dc); StrokeAndFillPath(Dc); }, "path"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(30, 30);
    D.Pen(PS_SOLID, 3, Red);
    HBRUSH B = CreateHatchBrush(HS_DIAGCROSS, Red);
    D.Brush(B);
    // Clip: a rectangle with a hole.
    IntersectClipRect(D.Dc, 5, 5, 25, 25);
    ExcludeClipRect(D.Dc, 10, 10, 20, 20);
    C.Draw(D.Dc);
    SelectClipRgn(D.Dc, nullptr);
    TRect E = D.Extent();
    EXPECT_FALSE(E.IsEmpty());
    EXPECT_GE(E.Left, 5);
    EXPECT_GE(E.Top, 5);
    EXPECT_LE(E.Right, 25);
    EXPECT_LE(E.Bottom, 25);
    for (int Y = 10; Y < 20; ++Y)
      for (int X = 10; X < 20; ++X) ASSERT_EQ(D.Pixel(X, Y), White) << X << "," << Y;
  }
  DeleteObject(Fill);
}

TEST(Raster, ClippedShapesGetNoOutlineAlongTheClipEdge) {
  using TDraw = std::function<void(HDC)>;
  struct TCase { TDraw Draw; const char* Why; };
  const TCase Cases[] = {
      {[](HDC Dc) { Ellipse(Dc, 0, 0, 40, 40); }, "ellipse"},
      {[](HDC Dc) { RoundRect(Dc, 0, 0, 40, 40, 10, 10); }, "round rectangle"},
      {[](HDC Dc) { Chord(Dc, 0, 0, 40, 40, 40, 0, 40, 40); }, "chord: all but the right cap"},
      {[](HDC Dc) { Pie(Dc, 0, 0, 40, 40, 0, 40, 0, 0); }, "pie: all but the left quarter"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDIB D(40, 40);
    D.Brush(CreateSolidBrush(Blue));
    IntersectClipRect(D.Dc, 0, 0, 22, 40);
    C.Draw(D.Dc);
    for (int Y = 12; Y < 28; ++Y) EXPECT_EQ(D.Pixel(21, Y), Blue) << Y << "\n" << D.Picture(Black);
  }
}

// --- paths -------------------------------------------------------------------------------------

TEST(Raster, PathsRecordInsteadOfDrawingAndReadBackInLogicalUnits) {
  TTestDIB D(40, 40);
  ASSERT_TRUE(BeginPath(D.Dc));
  MoveToEx(D.Dc, 5, 5, nullptr);
  LineTo(D.Dc, 30, 5);
  LineTo(D.Dc, 30, 30);
  CloseFigure(D.Dc);
  EXPECT_EQ(GetPath(D.Dc, nullptr, nullptr, 0), -1);  // still open
  ASSERT_TRUE(EndPath(D.Dc));
  EXPECT_EQ(D.Count(White), 1600);  // nothing drawn yet
  ASSERT_EQ(GetPath(D.Dc, nullptr, nullptr, 0), 3);
  TPoint Pts[3];
  BYTE Types[3];
  ASSERT_EQ(GetPath(D.Dc, Pts, Types, 3), 3);
  EXPECT_EQ(Pts[0], TPoint(5, 5));
  EXPECT_EQ(Types[0], PT_MOVETO);
  EXPECT_EQ(Types[2], PT_LINETO | PT_CLOSEFIGURE);
  HBRUSH B = CreateSolidBrush(Blue);
  D.Brush(B);
  ASSERT_TRUE(FillPath(D.Dc));
  EXPECT_EQ(D.Pixel(25, 10), Blue);
  EXPECT_EQ(D.Pixel(10, 25), White);
  EXPECT_FALSE(FillPath(D.Dc));  // the path is used up

  // After a closed figure, LineTo starts a new one at the current position;
  // a move after a move replaces it.
  BeginPath(D.Dc);
  MoveToEx(D.Dc, 1, 1, nullptr);
  LineTo(D.Dc, 5, 1);
  LineTo(D.Dc, 5, 5);
  CloseFigure(D.Dc);
  LineTo(D.Dc, 9, 9);
  MoveToEx(D.Dc, 20, 20, nullptr);
  MoveToEx(D.Dc, 21, 21, nullptr);
  EndPath(D.Dc);
  TPoint Q[8];
  BYTE T[8];
  ASSERT_EQ(GetPath(D.Dc, Q, T, 8), 6);
  EXPECT_EQ(T[3], PT_MOVETO);
  EXPECT_EQ(Q[3], TPoint(5, 5));
  EXPECT_EQ(T[4], PT_LINETO);
  EXPECT_EQ(Q[5], TPoint(21, 21));
  AbortPath(D.Dc);
  EXPECT_EQ(GetPath(D.Dc, nullptr, nullptr, 0), -1);
}

TEST(Raster, ClipPathAndPathRegion) {
  TTestDIB D(40, 40);
  BeginPath(D.Dc);
  Ellipse(D.Dc, 0, 0, 40, 40);
  EndPath(D.Dc);
  ASSERT_TRUE(SelectClipPath(D.Dc, RGN_COPY));
  HBRUSH B = CreateSolidBrush(Blue);
  TRect R(0, 0, 40, 40);
  FillRect(D.Dc, &R, B);
  EXPECT_EQ(D.Pixel(20, 20), Blue);
  EXPECT_EQ(D.Pixel(1, 1), White);
  EXPECT_EQ(D.Pixel(38, 38), White);
  DeleteObject(B);

  BeginPath(D.Dc);
  Rectangle(D.Dc, 2, 2, 12, 12);
  EndPath(D.Dc);
  HRGN Rgn = PathToRegion(D.Dc);
  TRect Box;
  EXPECT_EQ(GetRgnBox(Rgn, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, TRect(2, 2, 12, 12));
  DeleteObject(Rgn);
  EXPECT_EQ(PathToRegion(D.Dc), nullptr);
}

TEST(Raster, WidenPathThenFillMatchesAWideStroke) {
  TTestDIB A(40, 40), B(40, 40);
  A.Pen(PS_SOLID, 5, Red);
  B.Pen(PS_SOLID, 5, Red);
  HBRUSH Br = CreateSolidBrush(Red);
  B.Brush(Br);
  TPoint P[] = {{5, 5}, {35, 10}, {20, 35}};
  Polyline(A.Dc, P, 3);
  BeginPath(B.Dc);
  Polyline(B.Dc, P, 3);
  EndPath(B.Dc);
  ASSERT_TRUE(WidenPath(B.Dc));
  SelectObject(B.Dc, GetStockObject(NULL_PEN));
  FillPath(B.Dc);
  EXPECT_EQ(A.Picture(Red), B.Picture(Red));
}

TEST(Raster, ShapesOnAMonochromeBitmapUseItsBits) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Mono = CreateCompatibleBitmap(Dc, 16, 4);  // monochrome
  HGDIOBJ Old = SelectObject(Dc, Mono);
  TRect All(0, 0, 16, 4);
  FillRect(Dc, &All, HBRUSH(GetStockObject(WHITE_BRUSH)));
  SetROP2(Dc, R2_XORPEN);
  SelectObject(Dc, GetStockObject(WHITE_PEN));
  MoveToEx(Dc, 0, 1, nullptr);
  LineTo(Dc, 8, 1);
  auto* B = GdiLookupAs<TBitmapObject>(Mono);
  EXPECT_EQ(B->ScanLine(0)[0], 0xFF);
  EXPECT_EQ(B->ScanLine(1)[0], 0x00);  // white xor white = black
  EXPECT_EQ(B->ScanLine(1)[1], 0xFF);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Mono);
}

TEST(Raster, AbsurdCoordinatesNeitherHangNorCrash) {
  TTestDIB D(10, 10);
  D.Pen(PS_SOLID, 3, Red);
  Ellipse(D.Dc, -2000000000, -2000000000, 2000000000, 2000000000);
  Rectangle(D.Dc, -100000000, 5, 100000000, 6);
  TPoint P[] = {{-1000000000, 0}, {1000000000, 10}, {0, 1000000000}};
  Polygon(D.Dc, P, 3);
  MoveToEx(D.Dc, -2000000000, -2000000000, nullptr);
  LineTo(D.Dc, 2000000000, 2000000000);
  D.Pen(PS_DOT, 1, Blue);
  MoveToEx(D.Dc, -2000000000, 3, nullptr);
  LineTo(D.Dc, 2000000000, 3);
  EXPECT_EQ(D.Pixel(5, 5), Red);
  EXPECT_NE(D.Pixel(0, 3), D.Pixel(3, 3));  // the dots are still there, 3 on, 3 off
  XFORM Huge{1e30f, 0, 0, 1e30f, 0, 0};
  SetGraphicsMode(D.Dc, GM_ADVANCED);
  SetWorldTransform(D.Dc, &Huge);
  Rectangle(D.Dc, 0, 0, 5, 5);
  TPoint P2{3, 3};
  EXPECT_TRUE(LPtoDP(D.Dc, &P2, 1));
}

// Only the visible rows of a path far larger than the surface are made;
// they must land where the whole path would have put them.
TEST(Raster, FillPathFarLargerThanTheSurfaceFillsWhatShows) {
  TTestDIB D(10, 10);
  D.Brush(CreateSolidBrush(Red));
  SetViewportOrgEx(D.Dc, 2, 0, nullptr);
  auto Fill = [&] {
    BeginPath(D.Dc);
    MoveToEx(D.Dc, -200000, -200000, nullptr);
    LineTo(D.Dc, 2, -200000);
    LineTo(D.Dc, 2, 200000);
    LineTo(D.Dc, -200000, 200000);
    CloseFigure(D.Dc);
    EndPath(D.Dc);
    return FillPath(D.Dc);
  };
  ASSERT_TRUE(Fill());
  EXPECT_EQ(D.Extent(), TRect(0, 0, 4, 10)) << D.Picture(Red);
  EXPECT_EQ(D.Count(Red), 40);
  D.Clear(White);
  IntersectClipRect(D.Dc, -2, 3, 8, 6);
  ASSERT_TRUE(Fill());
  EXPECT_EQ(D.Extent(), TRect(0, 3, 4, 6)) << D.Picture(Red);
  EXPECT_FALSE(FillPath(D.Dc)) << "the path is used up";
}

TEST(Raster, HugePenWidthsPaintTheSurfaceWithoutWalkingTheWholeStroke) {
  const std::function<void(HDC)> Draws[] = {
      [](HDC Dc) { MoveToEx(Dc, 5, 5, nullptr); LineTo(Dc, 6, 5); },
      [](HDC Dc) { Rectangle(Dc, 2, 2, 8, 8); },
      [](HDC Dc) { Ellipse(Dc, 2, 2, 8, 8); },
      [](HDC Dc) { RoundRect(Dc, 2, 2, 8, 8, 3, 3); },
      [](HDC Dc) { TPoint P[] = {{1, 1}, {8, 2}, {4, 8}}; Polyline(Dc, P, 3); },
      [](HDC Dc) { Arc(Dc, 0, 0, 10, 10, 10, 5, 0, 5); },
  };
  for (DWORD Style : {DWORD(PS_SOLID), DWORD(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_SQUARE | PS_JOIN_MITER)}) {
    for (std::size_t I = 0; I < std::size(Draws); ++I) {
      SCOPED_TRACE(testing::Message() << "style " << Style << ", draw " << I);
      TTestDIB D(10, 10);
      D.Brush(CreateSolidBrush(Red));
      if (Style == PS_SOLID) {
        D.Pen(PS_SOLID, 0x7FFFFFFF, Red);
      } else {
        LOGBRUSH Lb{BS_SOLID, Red, 0};
        DeleteObject(SelectObject(D.Dc, ExtCreatePen(Style, 0x7FFFFFFF, &Lb, 0, nullptr)));
      }
      Draws[I](D.Dc);
      EXPECT_EQ(D.Count(Red), 100) << D.Picture(Red);
    }
  }
}
