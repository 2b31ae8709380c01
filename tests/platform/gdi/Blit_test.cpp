#include "platform/gdi/Blit.h"

#include <cstring>
#include <gtest/gtest.h>

#include "platform/gdi/BlitRop.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/Regions.h"

namespace {

using U32 = std::uint32_t;

// A memory DC over a 32-bit top-down DIB section whose pixels the test reads
// directly (0x00RRGGBB per pixel).
class TSurface {
public:
  TSurface(int W, int H, U32 Fill = 0) : FW(W), FH(H) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = -H;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    FBmp = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FPx = static_cast<U32*>(Bits);
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBmp);
    for (int I = 0; I < W * H; ++I) FPx[I] = Fill;
  }
  ~TSurface() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBmp);
  }
  HDC Dc() const { return FDc; }
  U32& At(int X, int Y) { return FPx[Y * FW + X]; }
  U32 Pixel(int X, int Y) const { return FPx[Y * FW + X] & 0xFFFFFF; }
  std::vector<U32> Row(int Y) const {
    std::vector<U32> R;
    for (int X = 0; X < FW; ++X) R.push_back(Pixel(X, Y));
    return R;
  }
  std::vector<U32> Column(int X) const {
    std::vector<U32> R;
    for (int Y = 0; Y < FH; ++Y) R.push_back(Pixel(X, Y));
    return R;
  }

private:
  int FW, FH;
  HBITMAP FBmp = nullptr;
  HGDIOBJ FOld = nullptr;
  HDC FDc = nullptr;
  U32* FPx = nullptr;
};

// A monochrome device bitmap in its own memory DC; rows given as strings of
// '0' and '1'.
class TMono {
public:
  explicit TMono(std::vector<std::string> Rows) {
    const int W = int(Rows[0].size()), H = int(Rows.size());
    FBmp = CreateBitmap(W, H, 1, 1, nullptr);
    auto* B = GdiLookupAs<TBitmapObject>(FBmp);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) B->SetPixelValue(X, Y, Rows[Y][X] == '1');
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBmp);
  }
  ~TMono() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBmp);
  }
  HDC Dc() const { return FDc; }
  HBITMAP Bmp() const { return FBmp; }
  int Bit(int X, int Y) const { return int(GdiLookupAs<TBitmapObject>(FBmp)->GetPixelValue(X, Y)); }

private:
  HBITMAP FBmp;
  HGDIOBJ FOld;
  HDC FDc;
};

constexpr U32 Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;

class TBrushGuard {
public:
  TBrushGuard(HDC Dc, COLORREF C) : FDc(Dc), FBrush(CreateSolidBrush(C)) {
    FOld = SelectObject(Dc, FBrush);
  }
  ~TBrushGuard() {
    SelectObject(FDc, FOld);
    DeleteObject(FBrush);
  }

private:
  HDC FDc;
  HBRUSH FBrush;
  HGDIOBJ FOld;
};

}  // namespace

TEST(BitBlt, RasterOperationsCombineSourcePatternAndDestination) {
  // Source pixels S, destination D, solid brush P: chosen so that each bit
  // combination occurs in some channel.
  const U32 S0 = 0x00FF00FF, D0 = 0x000F0FF0, P0 = 0x003C3C3C;
  struct { DWORD Rop; U32 Want; const char* Why; } Cases[] = {
      {SRCCOPY, S0, "SRCCOPY"},
      {SRCAND, (S0 & D0), "SRCAND ($8800C6)"},
      {SRCPAINT, (S0 | D0), "SRCPAINT"},
      {SRCINVERT, (S0 ^ D0), "SRCINVERT"},
      {SRCERASE, (S0 & ~D0), "SRCERASE"},
      {NOTSRCCOPY, ~S0, "NOTSRCCOPY"},
      {NOTSRCERASE, ~(S0 | D0), "NOTSRCERASE"},
      {MERGECOPY, (P0 & S0), "MERGECOPY"},
      {MERGEPAINT, (~S0 | D0), "MERGEPAINT"},
      {PATCOPY, P0, "PATCOPY"},
      {PATPAINT, (P0 | ~S0 | D0), "PATPAINT"},
      {PATINVERT, (P0 ^ D0), "PATINVERT"},
      {DSTINVERT, ~D0, "DSTINVERT"},
      {BLACKNESS, 0, "BLACKNESS"},
      {WHITENESS, 0xFFFFFF, "WHITENESS"},
      {PSDPxax, ((S0 & D0) | (~S0 & P0)), "$B8074A: source picks D, else P"},
      {DSPDxax, ((S0 & P0) | (~S0 & D0)), "DSPDxax $E20746: source picks P, else D"},
      {0x00960000, (P0 ^ S0 ^ D0), "generic: P xor S xor D"},
      {0x00010000, ~(P0 | S0 | D0), "generic: none of them"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TSurface Src(3, 2, S0), Dst(3, 2, D0);
    TBrushGuard Brush(Dst.Dc(), RGB(0x3C, 0x3C, 0x3C));
    ASSERT_TRUE(BitBlt(Dst.Dc(), 1, 0, 2, 1, Src.Dc(), 0, 0, C.Rop));
    EXPECT_EQ(Dst.Pixel(1, 0), C.Want & 0xFFFFFF);
    EXPECT_EQ(Dst.Pixel(2, 0), C.Want & 0xFFFFFF);
    EXPECT_EQ(Dst.Pixel(0, 0), D0) << "left of the rectangle";
    EXPECT_EQ(Dst.Pixel(1, 1), D0) << "below the rectangle";
  }
}

TEST(BitBlt, MonochromeSourcePaintsTextAndBackgroundColours) {
  TMono Mask({"0101"});
  TSurface Dst(4, 1, Green);
  SetTextColor(Dst.Dc(), RGB(255, 0, 0));
  SetBkColor(Dst.Dc(), RGB(0, 0, 255));
  SetBkColor(Mask.Dc(), RGB(0, 255, 0));  // the source DC's colours do not matter
  ASSERT_TRUE(BitBlt(Dst.Dc(), 0, 0, 4, 1, Mask.Dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Red, Blue, Red, Blue}));
}

TEST(BitBlt, ColourToMonochromeSetsPixelsOfTheSourceBackground) {
  TSurface Src(4, 1);
  Src.At(0, 0) = Red;
  Src.At(1, 0) = White;
  Src.At(2, 0) = Red;
  Src.At(3, 0) = 0xFE0000;  // near but not equal
  SetBkColor(Src.Dc(), RGB(255, 0, 0));
  TMono Dst({"0101"});
  ASSERT_TRUE(BitBlt(Dst.Dc(), 0, 0, 4, 1, Src.Dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Dst.Bit(0, 0), 1);
  EXPECT_EQ(Dst.Bit(1, 0), 0);
  EXPECT_EQ(Dst.Bit(2, 0), 1);
  EXPECT_EQ(Dst.Bit(3, 0), 0);
}

TEST(BitBlt, ClipsToTheDestinationClipAndSourceBounds) {
  TSurface Src(4, 4, Red), Dst(6, 6, Black);
  IntersectClipRect(Dst.Dc(), 2, 0, 6, 6);
  ASSERT_TRUE(BitBlt(Dst.Dc(), 0, 0, 6, 6, Src.Dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Black, Black, Red, Red, Black, Black}))
      << "clip left of column 2, source ends at column 4";
  EXPECT_EQ(Dst.Pixel(3, 4), Black) << "source ends at row 4";
}

TEST(BitBlt, OverlappingMoveWithinOneBitmapReadsBeforeWriting) {
  TSurface S(1, 4);
  for (int Y = 0; Y < 4; ++Y) S.At(0, Y) = U32(Y + 1);
  ASSERT_TRUE(BitBlt(S.Dc(), 0, 1, 1, 3, S.Dc(), 0, 0, SRCCOPY));  // scroll down
  EXPECT_EQ(S.Column(0), (std::vector<U32>{1, 1, 2, 3}));
  ASSERT_TRUE(BitBlt(S.Dc(), 0, 0, 1, 3, S.Dc(), 0, 1, SRCCOPY));  // and back up
  EXPECT_EQ(S.Column(0), (std::vector<U32>{1, 2, 3, 3}));
}

TEST(StretchBlt, NegativeExtentsMirror) {
  TSurface Src(3, 2);
  const U32 Px[2][3] = {{1, 2, 3}, {4, 5, 6}};
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) Src.At(X, Y) = Px[Y][X];
  struct { int X, Y, W, H, XS, YS, WS, HS; std::vector<U32> Top, Bottom; const char* Why; } Cases[] = {
      {0, 0, 3, 2, 0, 0, 3, 2, {1, 2, 3}, {4, 5, 6}, "plain copy"},
      {0, 0, 3, 2, 2, 0, -3, 2, {3, 2, 1}, {6, 5, 4}, "source from its far column, negative width"},
      {2, 0, -3, 2, 0, 0, 3, 2, {3, 2, 1}, {6, 5, 4}, "destination negative width"},
      {0, 1, 3, -2, 0, 0, 3, 2, {4, 5, 6}, {1, 2, 3}, "destination negative height"},
      {2, 1, -3, -2, 2, 1, -3, -2, {1, 2, 3}, {4, 5, 6}, "both negative: no mirror"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TSurface Dst(3, 2, 0xEEEEEE);
    ASSERT_TRUE(StretchBlt(Dst.Dc(), C.X, C.Y, C.W, C.H, Src.Dc(), C.XS, C.YS, C.WS, C.HS, SRCCOPY));
    EXPECT_EQ(Dst.Row(0), C.Top);
    EXPECT_EQ(Dst.Row(1), C.Bottom);
  }
}

TEST(StretchBlt, EnlargingRepeatsPixelsAndShrinkingFollowsTheStretchMode) {
  TSurface Src(4, 1);
  Src.At(0, 0) = Red;
  Src.At(1, 0) = White;
  Src.At(2, 0) = Black;
  Src.At(3, 0) = White;
  {
    TSurface Dst(8, 1);
    ASSERT_TRUE(StretchBlt(Dst.Dc(), 0, 0, 8, 1, Src.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Red, Red, White, White, Black, Black, White, White}));
  }
  struct { int Mode; std::vector<U32> Want; } Cases[] = {
      {BLACKONWHITE, {Red & White, Black & White}},
      {WHITEONBLACK, {Red | White, Black | White}},
      {COLORONCOLOR, {White, White}},  // samples the second pixel of each pair
      {HALFTONE, {0xFF8080, 0x808080}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Mode);
    TSurface Dst(2, 1);
    SetStretchBltMode(Dst.Dc(), C.Mode);
    ASSERT_TRUE(StretchBlt(Dst.Dc(), 0, 0, 2, 1, Src.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(Dst.Row(0), C.Want);
  }
}

TEST(StretchBlt, MonochromeMaskStretchedThroughABrushEmbosses) {
  // The embossed disabled glyph: with text white and background black the
  // mask's 0 bits arrive as white and its 1 bits as black, so DSPDxax
  // paints the brush where the mask is 0 and keeps the destination elsewhere.
  TMono Mask({"01", "10"});
  TSurface Dst(4, 4, Green);
  SetTextColor(Dst.Dc(), RGB(255, 255, 255));
  SetBkColor(Dst.Dc(), RGB(0, 0, 0));
  TBrushGuard Brush(Dst.Dc(), RGB(0, 0, 255));
  ASSERT_TRUE(StretchBlt(Dst.Dc(), 0, 0, 4, 4, Mask.Dc(), 0, 0, 2, 2, DSPDxax));
  // S = white where the mask bit is 0: P there; S = black: D stays.
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Blue, Blue, Green, Green}));
  EXPECT_EQ(Dst.Row(3), (std::vector<U32>{Green, Green, Blue, Blue}));
}

TEST(PatBlt, PaintsTheBrushWithItsOperation) {
  TSurface Dst(3, 1, 0x0F0F0F);
  {
    TBrushGuard Brush(Dst.Dc(), RGB(0xF0, 0, 0x0F));
    ASSERT_TRUE(PatBlt(Dst.Dc(), 0, 0, 1, 1, PATCOPY));
    ASSERT_TRUE(PatBlt(Dst.Dc(), 1, 0, 1, 1, PATINVERT));
    ASSERT_TRUE(PatBlt(Dst.Dc(), 2, 0, 1, 1, DSTINVERT));
    EXPECT_FALSE(PatBlt(Dst.Dc(), 0, 0, 1, 1, SRCCOPY)) << "needs a source";
  }
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{0xF0000F, 0xFF0F00, 0xF0F0F0}));
  // A pattern rectangle with negative extents is ordered, not mirrored:
  // it covers X+W .. X-1.
  TSurface D2(3, 1, Black);
  TBrushGuard Brush(D2.Dc(), RGB(255, 255, 255));
  ASSERT_TRUE(PatBlt(D2.Dc(), 2, 1, -2, -1, PATCOPY));
  EXPECT_EQ(D2.Row(0), (std::vector<U32>{White, White, Black}));
}

TEST(MaskBlt, MaskChoosesForegroundOrBackgroundOperation) {
  // The transparent-copy form: where the mask is 1 the destination stays
  // ($AA0029 as foreground), where 0 the source is copied.
  TSurface Src(4, 1, Red), Dst(4, 1, Green);
  TMono Mask({"1001"});
  ASSERT_TRUE(MaskBlt(Dst.Dc(), 0, 0, 4, 1, Src.Dc(), 0, 0, Mask.Bmp(), 0, 0,
                      MAKEROP4(0x00AA0029, SRCCOPY)));
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Green, Red, Red, Green}));
  TSurface Colour(1, 1);
  EXPECT_FALSE(MaskBlt(Dst.Dc(), 0, 0, 1, 1, Src.Dc(), 0, 0,
                       HBITMAP(GetCurrentObject(Colour.Dc(), OBJ_BITMAP)), 0, 0, SRCCOPY))
      << "a colour mask is refused";
}

TEST(TransparentBlt, SkipsTheTransparentColour) {
  TSurface Src(3, 1), Dst(6, 1, Green);
  Src.At(0, 0) = Red;
  Src.At(1, 0) = White;
  Src.At(2, 0) = Blue;
  ASSERT_TRUE(TransparentBlt(Dst.Dc(), 0, 0, 6, 1, Src.Dc(), 0, 0, 3, 1, RGB(255, 255, 255)));
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Red, Red, Green, Green, Blue, Blue}));
}

TEST(AlphaBlend, ConstantAndPerPixelAlpha) {
  TSurface Src(2, 1), Dst(2, 1, 0x000000);
  Src.At(0, 0) = 0x00FF8000;
  Src.At(1, 0) = 0x80800000;  // premultiplied red at half opacity
  ASSERT_TRUE(AlphaBlend(Dst.Dc(), 0, 0, 1, 1, Src.Dc(), 0, 0, 1, 1, {AC_SRC_OVER, 0, 128, 0}));
  EXPECT_EQ(Dst.Pixel(0, 0), 0x804000u);
  Dst.At(1, 0) = 0x0000FF;
  ASSERT_TRUE(AlphaBlend(Dst.Dc(), 1, 0, 1, 1, Src.Dc(), 1, 0, 1, 1, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(Dst.Pixel(1, 0), 0x80007Fu);
}

TEST(GradientFill, RectanglesInterpolateAlongTheirAxis) {
  TSurface Dst(5, 5);
  TRIVERTEX V[2] = {{0, 0, 0x0000, 0x0000, 0xFF00, 0}, {5, 5, 0xFF00, 0x0000, 0x0000, 0}};
  GRADIENT_RECT R{0, 1};
  ASSERT_TRUE(GradientFill(Dst.Dc(), V, 2, &R, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(Dst.Pixel(0, 2), 0x0000FFu) << "left edge has the first vertex colour";
  EXPECT_EQ(Dst.Pixel(4, 2), 0xCC0033u) << "last column is 4/5 of the way";
  EXPECT_EQ(Dst.Column(2), std::vector<U32>(5, Dst.Pixel(2, 0))) << "constant down a column";
  ASSERT_TRUE(GradientFill(Dst.Dc(), V, 2, &R, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(Dst.Row(2), std::vector<U32>(5, Dst.Pixel(0, 2))) << "constant along a row";
  EXPECT_FALSE(GradientFill(Dst.Dc(), V, 2, &R, 1, 7)) << "unknown mode";
  GRADIENT_RECT Bad{0, 2};
  EXPECT_FALSE(GradientFill(Dst.Dc(), V, 2, &Bad, 1, GRADIENT_FILL_RECT_H)) << "vertex out of range";
}

TEST(GradientFill, TrianglesBlendTheirCornerColours) {
  TSurface Dst(20, 20, Black);
  TRIVERTEX V[3] = {{0, 0, 0xFF00, 0, 0, 0}, {20, 0, 0, 0xFF00, 0, 0}, {0, 20, 0, 0, 0xFF00, 0}};
  GRADIENT_TRIANGLE T{0, 1, 2};
  ASSERT_TRUE(GradientFill(Dst.Dc(), V, 3, &T, 1, GRADIENT_FILL_TRIANGLE));
  EXPECT_GT((Dst.Pixel(0, 0) >> 16) & 0xFF, 0xF0u);
  EXPECT_GT((Dst.Pixel(18, 0) >> 8) & 0xFF, 0xD0u);
  EXPECT_GT(Dst.Pixel(0, 18) & 0xFF, 0xD0u);
  EXPECT_EQ(Dst.Pixel(19, 19), Black) << "outside the triangle";
}

TEST(StretchDIBits, BottomUpAndTopDownDibsLandUpright) {
  // 2×2 DIB with rows top: red, green / bottom: blue, white.
  for (bool TopDown : {false, true}) {
    SCOPED_TRACE(TopDown);
    const U32 Px[4] = {Red, Green, Blue, White};
    TDib D = DibFromBgra32(Px, 2, 2, 24, TopDown ? TDibOrientation::TopDown : TDibOrientation::BottomUp);
    std::vector<Byte> Info = DibInfoBytes(D);
    TSurface Dst(4, 2, Black);
    EXPECT_EQ(StretchDIBits(Dst.Dc(), 0, 0, 4, 2, 0, 0, 2, 2, D.Bits.data(),
                            reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS, SRCCOPY),
              2);
    EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Red, Red, Green, Green}));
    EXPECT_EQ(Dst.Row(1), (std::vector<U32>{Blue, Blue, White, White}));
    // One source row: YSrc counts from the bottom for a bottom-up DIB.
    TSurface One(2, 1, Black);
    StretchDIBits(One.Dc(), 0, 0, 2, 1, 0, 0, 2, 1, D.Bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(One.Row(0), TopDown ? (std::vector<U32>{Red, Green}) : (std::vector<U32>{Blue, White}));
  }
}

TEST(StretchDIBits, CorruptInfoDrawsNothing) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = 40;
  Info.bmiHeader.biWidth = 2;
  Info.bmiHeader.biHeight = 2;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 7;
  const Byte Bits[16] = {};
  TSurface Dst(2, 2, Green);
  EXPECT_EQ(StretchDIBits(Dst.Dc(), 0, 0, 2, 2, 0, 0, 2, 2, Bits, &Info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(Dst.Pixel(0, 0), Green);
}

TEST(SetDIBitsToDevice, DrawsABandOfScanLines) {
  // A 1×4 bottom-up DIB whose lines 1 and 2 (from the bottom) are given.
  const U32 Band[2] = {Green, Red};  // top-down order: line 2, line 1
  TDib D = DibFromBgra32(Band, 1, 2, 32);
  std::vector<Byte> Info = DibInfoBytes(D);
  reinterpret_cast<BITMAPINFOHEADER*>(Info.data())->biHeight = 4;
  TSurface Dst(1, 4, Black);
  EXPECT_EQ(SetDIBitsToDevice(Dst.Dc(), 0, 0, 1, 4, 0, 0, 1, 2, D.Bits.data(),
                              reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS),
            2);
  EXPECT_EQ(Dst.Column(0), (std::vector<U32>{Black, Green, Red, Black}));
}

TEST(DibBitmaps, GetDIBitsAndSetDIBitsRoundTripTopDown32) {
  TSurface S(3, 2);
  for (int I = 0; I < 6; ++I) S.At(I % 3, I / 3) = U32(0x102030 * (I + 1)) & 0xFFFFFF;
  HBITMAP Bmp = HBITMAP(GetCurrentObject(S.Dc(), OBJ_BITMAP));
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = 40;
  ASSERT_NE(GetDIBits(S.Dc(), Bmp, 0, 0, nullptr, &Info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(Info.bmiHeader.biWidth, 3);
  EXPECT_EQ(std::abs(Info.bmiHeader.biHeight), 2);
  EXPECT_EQ(Info.bmiHeader.biBitCount, 32);
  Info.bmiHeader.biHeight = -2;
  Info.bmiHeader.biCompression = BI_RGB;
  std::vector<U32> Px(6);
  ASSERT_EQ(GetDIBits(S.Dc(), Bmp, 0, 2, Px.data(), &Info, DIB_RGB_COLORS), 2);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(Px[I] & 0xFFFFFF, S.Pixel(I % 3, I / 3)) << I;
  // Turn the row order round and write it back, as a caller turning a bitmap would.
  std::swap_ranges(Px.begin(), Px.begin() + 3, Px.begin() + 3);
  const U32 Top = S.Pixel(0, 0);
  ASSERT_EQ(SetDIBits(S.Dc(), Bmp, 0, 2, Px.data(), &Info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(S.Pixel(0, 1), Top);
}

TEST(DibBitmaps, GetDIBitsConvertsToTheRequestedDepth) {
  TSurface S(2, 2);
  S.At(0, 0) = Red;
  S.At(1, 0) = White;
  S.At(0, 1) = Black;
  S.At(1, 1) = Blue;
  HBITMAP Bmp = HBITMAP(GetCurrentObject(S.Dc(), OBJ_BITMAP));
  std::vector<Byte> Buf(sizeof(BITMAPINFOHEADER) + 256 * 4);
  auto* Info = reinterpret_cast<BITMAPINFO*>(Buf.data());
  for (int Bpp : {1, 4, 8, 16, 24}) {
    SCOPED_TRACE(Bpp);
    std::memset(Buf.data(), 0, Buf.size());
    Info->bmiHeader.biSize = 40;
    Info->bmiHeader.biWidth = 2;
    Info->bmiHeader.biHeight = 2;
    Info->bmiHeader.biPlanes = 1;
    Info->bmiHeader.biBitCount = WORD(Bpp);
    std::vector<Byte> Bits(DibStride(2, Bpp) * 2);
    ASSERT_EQ(GetDIBits(S.Dc(), Bmp, 0, 2, Bits.data(), Info, DIB_RGB_COLORS), 2);
    const std::size_t InfoLen = 40 + (Bpp <= 8 ? (std::size_t(4) << Bpp) : 0);
    TDib D = DibFromInfo(Buf.data(), InfoLen, Bits.data(), Bits.size());
    const std::vector<U32> Px = DibToBgra32(D);
    if (Bpp == 1) {
      // Nearest of black and white: blue is nearer black.
      EXPECT_EQ(Px, (std::vector<U32>{Black, White, Black, Black}));
    } else {
      EXPECT_EQ(Px, (std::vector<U32>{Red, White, Black, Blue}));
    }
  }
}

TEST(DibBitmaps, DibSectionPixelsAreTheBitmapsPixels) {
  // An 8-bit section with a two-colour table: index 1 = red.
  std::vector<Byte> Buf(40 + 8);
  auto* Info = reinterpret_cast<BITMAPINFO*>(Buf.data());
  Info->bmiHeader.biSize = 40;
  Info->bmiHeader.biWidth = 2;
  Info->bmiHeader.biHeight = 1;
  Info->bmiHeader.biPlanes = 1;
  Info->bmiHeader.biBitCount = 8;
  Info->bmiHeader.biClrUsed = 2;
  Info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
  reinterpret_cast<RGBQUAD*>(Info->bmiColors)[1] = RGBQUAD{0, 0, 255, 0};
  void* Bits = nullptr;
  HBITMAP Bmp = CreateDIBSection(nullptr, Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bmp, nullptr);
  ASSERT_NE(Bits, nullptr);
  static_cast<Byte*>(Bits)[1] = 1;
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  TSurface Dst(2, 1, Green);
  ASSERT_TRUE(BitBlt(Dst.Dc(), 0, 0, 2, 1, Dc, 0, 0, SRCCOPY));
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Black, Red}));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bmp);
  Info->bmiHeader.biBitCount = 7;
  EXPECT_EQ(CreateDIBSection(nullptr, Info, DIB_RGB_COLORS, &Bits, nullptr, 0), nullptr);
  EXPECT_EQ(Bits, nullptr);
}

TEST(DibBitmaps, CreateDIBitmapFillsFromTheDib) {
  const U32 Px[2] = {Red, Blue};
  TDib D = DibFromBgra32(Px, 2, 1, 24);
  std::vector<Byte> Info = DibInfoBytes(D);
  const auto* BI = reinterpret_cast<const BITMAPINFO*>(Info.data());
  TSurface Screen(1, 1);
  HBITMAP Bmp = CreateDIBitmap(Screen.Dc(), &BI->bmiHeader, CBM_INIT, D.Bits.data(), BI, DIB_RGB_COLORS);
  ASSERT_NE(Bmp, nullptr);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  TSurface Dst(2, 1);
  BitBlt(Dst.Dc(), 0, 0, 2, 1, Dc, 0, 0, SRCCOPY);
  EXPECT_EQ(Dst.Row(0), (std::vector<U32>{Red, Blue}));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bmp);
}

TEST(StretchBlt, HugeDestinationsCostOnlyTheVisiblePixels) {
  // A 2×2 source stretched over a destination 2^27 pixels wide and high (the
  // device coordinate range) whose middle falls on pixel (5, 5) of a 10×10
  // surface: the quadrants meet there, and the work is bounded by the 100
  // visible pixels.
  const U32 Px[4] = {Red, Green, Blue, White};
  TSurface Src(2, 2);
  for (int I = 0; I < 4; ++I) Src.At(I % 2, I / 2) = Px[I];
  TDib D = DibFromBgra32(Px, 2, 2, 24, TDibOrientation::TopDown);
  std::vector<Byte> Info = DibInfoBytes(D);
  const int Half = 1 << 26, Org = 5 - Half, Size = 2 * Half;
  auto Check = [](const TSurface& Dst) {
    EXPECT_EQ(Dst.Pixel(0, 0), Red);
    EXPECT_EQ(Dst.Pixel(4, 4), Red);
    EXPECT_EQ(Dst.Pixel(5, 4), Green);
    EXPECT_EQ(Dst.Pixel(4, 5), Blue);
    EXPECT_EQ(Dst.Pixel(9, 9), White);
  };
  for (int Mode : {COLORONCOLOR, HALFTONE}) {
    SCOPED_TRACE(Mode);
    TSurface Dst(10, 10, Black);
    SetStretchBltMode(Dst.Dc(), Mode);
    ASSERT_TRUE(StretchBlt(Dst.Dc(), Org, Org, Size, Size, Src.Dc(), 0, 0, 2, 2, SRCCOPY));
    Check(Dst);
    TSurface Dib(10, 10, Black);
    SetStretchBltMode(Dib.Dc(), Mode);
    ASSERT_EQ(StretchDIBits(Dib.Dc(), Org, Org, Size, Size, 0, 0, 2, 2, D.Bits.data(),
                            reinterpret_cast<const BITMAPINFO*>(Info.data()), DIB_RGB_COLORS, SRCCOPY),
              2);
    Check(Dib);
  }
  // Mirrored, and reaching the far ends of the coordinate range.
  TSurface Far(10, 10, Black);
  ASSERT_TRUE(StretchBlt(Far.Dc(), 5 + Half, 5 + Half, -Size, -Size, Src.Dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(Far.Pixel(0, 0), White);
  EXPECT_EQ(Far.Pixel(9, 9), Red);
  TSurface Max(10, 10, Black);
  ASSERT_TRUE(StretchBlt(Max.Dc(), 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, Src.Dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(Max.Row(9), std::vector<U32>(10, Red));
  // The same through a transparent colour (which builds a mask of the
  // destination first).
  TSurface Clear(10, 10, Black);
  ASSERT_TRUE(TransparentBlt(Clear.Dc(), Org, Org, Size, Size, Src.Dc(), 0, 0, 2, 2, Green));
  EXPECT_EQ(Clear.Pixel(4, 4), Red);
  EXPECT_EQ(Clear.Pixel(5, 4), Black);
  EXPECT_EQ(Clear.Pixel(9, 9), White);
}

TEST(PatBlt, HugeRectanglesPaintTheVisiblePart) {
  struct { int X, Y, W, H; const char* Why; } Cases[] = {
      {0, 0, 0x7FFFFFFF, 0x7FFFFFFF, "largest extent"},
      {-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, "ends at the origin"},
      {0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF, -0x7FFFFFFF, "negative extents from the far end"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TSurface Dst(4, 4, Black);
    TBrushGuard Brush(Dst.Dc(), RGB(255, 0, 0));
    ASSERT_TRUE(PatBlt(Dst.Dc(), C.X, C.Y, C.W, C.H, PATCOPY));
    int Painted = 0;
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 4; ++X) Painted += Dst.Pixel(X, Y) == Red;
    EXPECT_EQ(Painted, C.X < 0 ? 0 : 16);
  }
}
