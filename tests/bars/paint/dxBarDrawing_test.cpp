// The bar unit's drawing rules: glyph transparency and the disabled looks,
// arrow sizes, gradient bands, background fills, and the painter metrics
// that layouts are built from.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDrawing.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"

using cxtest::Rgb;
using cxtest::TPaintBox;

namespace {

constexpr TColor Back = TColor(0x00FFFF);  // yellow, not in the glyph

void Glyph(TPaintBox& Box, TBitmap* G, bool Enabled, bool Flat, TColor Fade, bool Selected = false,
           bool HotShadow = false) {
  TUniqueGdiObject<HBRUSH> B(CreateSolidBrush(ColorToRGB(Back)));
  DrawItemGlyph(Box.Canvas()->GetDC(), B.Get(), {0, 0, 20, 20}, {2, 2, 18, 18}, G, nullptr, -1, Enabled, false,
                Flat, Selected, false, false, HotShadow, false, Fade, clNone);
}

TEST(ItemGlyph, BottomLeftColourIsTransparent) {
  auto G = bptest::MakeGlyph();
  TPaintBox Box(20, 20);
  Glyph(Box, G.get(), true, false, clNone);
  EXPECT_EQ(Box.Pixel(3, 3), Rgb(Back));     // magenta corner of the glyph
  EXPECT_EQ(Box.Pixel(4, 4), Rgb(clBlue));   // the frame at glyph (2, 2)
  EXPECT_EQ(Box.Pixel(10, 10), Rgb(clRed));  // the diagonal
  EXPECT_EQ(Box.Pixel(0, 0), Rgb(Back));     // the cell outside the glyph
}

TEST(ItemGlyph, DisabledLooks) {
  auto G = bptest::MakeGlyph();
  {  // Embossed: shadow in place, highlight one pixel right and down.
    TPaintBox Box(20, 20);
    Glyph(Box, G.get(), false, false, clNone);
    EXPECT_EQ(Box.Pixel(4, 4), Rgb(clBtnShadow));
    EXPECT_EQ(Box.Pixel(16, 16), Rgb(clBtnHighlight));  // glyph (13,13)+1 lies past the shadow copy
  }
  {  // Flat: no highlight copy.
    TPaintBox Box(20, 20);
    Glyph(Box, G.get(), false, true, clNone);
    EXPECT_EQ(Box.Pixel(4, 4), Rgb(clBtnShadow));
    EXPECT_EQ(Box.Pixel(16, 16), Rgb(Back));
  }
  {  // Faded: three quarters fade colour.
    TPaintBox Box(20, 20);
    const TColor Fade = MixColors(clBtnShadow, clWhite, 70);
    Glyph(Box, G.get(), false, false, Fade);
    std::uint32_t Blue = 0x0000FF;  // 0x00RRGGBB
    TintGlyph(&Blue, 1, Fade);
    const TColor Want = TColor(((Blue >> 16) & 0xFF) | (Blue & 0xFF00) | ((Blue & 0xFF) << 16));
    EXPECT_EQ(Box.Pixel(4, 4), Want);
  }
}

TEST(ItemGlyph, HotFlatGlyphRisesWithAShadowAndLightensOnlyOnDeepScreens) {
  auto G = bptest::MakeGlyph();
  TPaintBox Box(20, 20);
  Glyph(Box, G.get(), true, true, clNone, true, true);
  EXPECT_EQ(Box.Pixel(3, 3), Rgb(clBlue));         // moved up and left
  EXPECT_EQ(Box.Pixel(16, 16), Rgb(clBtnShadow));  // shadow one pixel right and down
  TPaintBox Light(20, 20);
  Glyph(Light, G.get(), true, true, clNone);
  EXPECT_EQ(Light.Pixel(4, 4), TColor(0xFF4D4D));  // blue lightened by 30 %
  SetdxBarScreenBitsPerPixel(8);
  TPaintBox Palette(20, 20);
  Glyph(Palette, G.get(), true, true, clNone);
  SetdxBarScreenBitsPerPixel(32);
  EXPECT_EQ(Palette.Pixel(4, 4), Rgb(clBlue));
}

TEST(PixelPasses, GrayScaleTintAndLighten) {
  std::uint32_t P[2] = {0x00306090, 0x00FFFFFF};
  MakeGlyphGrayScale(P, 1);
  EXPECT_EQ(P[0], 0x00606060u);
  std::uint32_t L = 0x00000000;
  LightenGlyph(&L, 1);
  EXPECT_EQ(L, 0x004D4D4Du);  // MulDiv rounds: 76.5 gives 77
  std::uint32_t W = 0x00FFFFFF;
  TintGlyph(&W, 1, clBlack);  // t = 255: a quarter of white stays
  EXPECT_EQ(W, 0x003F3F3Fu);
}

TEST(Arrows, SizeFollowsTheRectangle) {
  EXPECT_EQ(ArrowSizeInRect({0, 0, 16, 10}, true), 3);
  EXPECT_EQ(ArrowSizeInRect({0, 0, 17, 10}, true), 5);
  EXPECT_EQ(ArrowSizeInRect({0, 0, 8, 8}, true), 3);  // never below 3
  TPaintBox Box(20, 20);
  DrawArrow(Box.Canvas()->GetDC(), {0, 0, 20, 20}, true, 4, false, false, false);
  // Disabled, not flat: shadow triangle and a highlight line beside it.
  EXPECT_EQ(Box.Pixel(7, 8), Rgb(clBtnShadow));
  EXPECT_EQ(Box.Pixel(12, 9), Rgb(clBtnHighlight));
  // The triangle (6,8)-(12,8)-(9,11) is solid: the pixels between its edges too.
  for (TPoint P : {TPoint{8, 9}, TPoint{9, 9}, TPoint{10, 9}, TPoint{9, 10}})
    EXPECT_EQ(Box.Pixel(P.X, P.Y), Rgb(clBtnShadow)) << P.X << "," << P.Y;
}

TEST(Backgrounds, GradientBandsAndFills) {
  TPaintBox Box(4, 3);
  FillVerticalGradient(Box.Canvas()->GetDC(), {0, 0, 4, 3}, 0, 255, 0, 0, 0, 0);
  // Rows take the colours of bands 42, 127 and 213.
  EXPECT_EQ(Box.Pixel(0, 0), TColor(42));
  EXPECT_EQ(Box.Pixel(0, 1), TColor(127));
  EXPECT_EQ(Box.Pixel(0, 2), TColor(213));
  TPaintBox Fill(4, 4);
  TBitmap Empty;
  FillBarBackground(Fill.Canvas()->GetDC(), {0, 0, 4, 4}, {0, 0, 4, 4}, nullptr, clRed, &Empty);
  EXPECT_EQ(Fill.Pixel(2, 2), Rgb(clRed));
}

TEST(PainterMetrics, ValuesLayoutsAreBuiltFrom) {
  const auto* P = TdxBarItemControlPainter::Instance();
  TdxBarPaintSettings S;
  EXPECT_EQ(16 + P->GetButtonWidthExtra(), 23);
  EXPECT_EQ(16 + P->GetButtonHeightExtra(), 22);
  S.ButtonArrowWidth = 10;
  EXPECT_EQ(P->GetButtonArrowWidth(S), 11);
  S.ButtonArrowWidth = 11;
  S.LargeIcons = true;
  EXPECT_EQ(P->GetButtonArrowWidth(S), 23);
  bptest::TTestWindow W;
  EXPECT_TRUE(P->IsSmallBarMark(W, {0, 0, 10, 16}));
  EXPECT_FALSE(P->IsSmallBarMark(W, {0, 0, 10, 17}));
  EXPECT_EQ(P->CalcExpandArrowSize(19), 6);
  EXPECT_EQ(TdxBarItemControlStandardPainter::Instance()->GetGripAreaWidth(), 9);
  EXPECT_EQ(TdxBarItemControlEnhancedPainter::Instance()->GetGripAreaWidth(), 6);
  W.Client = {0, 0, 0, 0};
  TSize Size;
  P->CalcSubMenuSize(W, 0, 0, Size);
  EXPECT_EQ(Size.cx, 100);  // an empty menu
  // The styles are separate tables: one manager's choice never changes another's.
  EXPECT_NE(dxBarPainterOfStyle(bmsStandard, false), dxBarPainterOfStyle(bmsEnhanced, false));
  EXPECT_EQ(dxBarPainterOfStyle(bmsXP, false), TdxBarItemControlEnhancedPainter::Instance());
}

// An empty range draws an empty bar instead of dividing by zero.
TEST(ProgressBar, EmptyOrReversedRangeDrawsNoFill) {
  const auto* P = TdxBarItemControlPainter::Instance();
  bptest::TTestWindow W;
  TdxBarItemPaint C;
  C.Window = &W;
  for (const auto& [Min, Max, Pos] : {std::tuple{5, 5, 5}, std::tuple{10, 0, 7}}) {
    TPaintBox Box(40, 12);
    P->DrawProgressBar(C, Box.Canvas()->GetDC(), Min, Max, Pos, true, clRed, {0, 0, 40, 12});
    EXPECT_EQ(Box.Pixel(1, 6), Rgb(clBtnFace)) << Min << ".." << Max;
  }
  TPaintBox Box(40, 12);
  P->DrawProgressBar(C, Box.Canvas()->GetDC(), 0, 100, 150, true, clRed, {0, 0, 40, 12});
  EXPECT_EQ(Box.Pixel(39, 6), Rgb(clRed));  // held to the range
  TPaintBox Seg(40, 12);
  P->DrawProgressBar(C, Seg.Canvas()->GetDC(), 0, 100, 50, false, clRed, {0, 0, 40, 12});
  EXPECT_EQ(Seg.Pixel(0, 6), Rgb(clRed));      // first block, 8 long
  EXPECT_EQ(Seg.Pixel(8, 6), Rgb(clBtnFace));  // 2-pixel gap
  EXPECT_EQ(Seg.Pixel(10, 6), Rgb(clRed));
  EXPECT_EQ(Seg.Pixel(30, 6), Rgb(clBtnFace));  // past the filled end
}

}  // namespace
