#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/base/cxGraphics.h"
#include "platform/gdi/Gdi.h"

using cxtest::TPaintBox;

namespace {
constexpr TColor White = TColor(0xFFFFFF);
// The columns of a box that hold anything but the background.
std::pair<int, int> InkColumns(TPaintBox& B, int W, int H, TColor Bg = White) {
  int First = W, Last = -1;
  for (int X = 0; X < W; ++X)
    for (int Y = 0; Y < H; ++Y)
      if (B.Pixel(X, Y) != Bg) {
        First = std::min(First, X);
        Last = std::max(Last, X);
      }
  return {First, Last};
}
}  // namespace

TEST(TcxCanvas, DisabledRightAlignedTextEndsItsHighlightCopyAtTheRightEdge) {
  TPaintBox Enabled(120, 20, White), Disabled(120, 20, White);
  const int Flags = cxAlignRight | cxAlignVCenter | cxSingleLine;
  Enabled.Canvas()->DrawTextWithFlags("Wide text", {0, 0, 120, 20}, Flags, true);
  Disabled.Canvas()->DrawTextWithFlags("Wide text", {0, 0, 120, 20}, Flags, false);
  const auto E = InkColumns(Enabled, 120, 20);
  const auto D = InkColumns(Disabled, 120, 20);
  ASSERT_LE(E.second, 119);
  EXPECT_EQ(D.first, E.first - 1) << "the shadow copy starts one pixel further left";
  EXPECT_EQ(D.second, E.second) << "the highlight copy ends where the enabled text ends";
}

TEST(TcxCanvas, FramesAndFillsStayInsideTheirRectangles) {
  TPaintBox Box(20, 20, White);
  Box.Canvas()->FrameSides({5, 5, 8, 15}, TColor(0xFF), 10, cxBordersAll);
  EXPECT_EQ(Box.Pixel(5, 5), TColor(0xFF));
  EXPECT_EQ(Box.Pixel(7, 14), TColor(0xFF));
  EXPECT_EQ(Box.Pixel(8, 10), White) << "a width beyond the rectangle fills it, not more";
  EXPECT_EQ(Box.Pixel(4, 10), White);
  TPaintBox Ring(10, 10, White);
  Ring.Canvas()->Draw3DEdgeRing({0, 0, 10, 10}, /*ASunken=*/true, /*AOuter=*/true);
  EXPECT_EQ(Ring.Pixel(0, 5), cxtest::Rgb(clBtnShadow));
  EXPECT_EQ(Ring.Pixel(9, 5), cxtest::Rgb(clBtnHighlight));
}

TEST(TcxCanvas, TiledFillsOfAdjacentRectanglesLineUp) {
  TBitmap Tile;
  Tile.SetPixelFormat(pf32bit);
  Tile.SetSize(3, 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 3; ++X) Tile.Canvas()->SetPixel(X, Y, TColor(0x10 * (X + 3 * Y)));
  TPaintBox Split(12, 6, White), Whole(12, 6, White);
  Split.Canvas()->FillArea({0, 0, 5, 6}, &Tile);
  Split.Canvas()->FillArea({5, 0, 12, 6}, &Tile);
  Whole.Canvas()->FillArea({0, 0, 12, 6}, &Tile);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 12; ++X) ASSERT_EQ(Split.Pixel(X, Y), Whole.Pixel(X, Y)) << X << "," << Y;
}

TEST(TcxCanvas, ClipRegionsFetchApplyAndLeaveTheCallersRegionAlone) {
  TPaintBox Box(20, 20, White);
  TcxCanvas* C = Box.Canvas();
  auto All = C->FetchClipRegion();
  TRect R;
  GetRgnBox(All->Handle(), &R);
  EXPECT_EQ(R, (TRect{0, 0, 30000, 30000})) << "no clip region stands for everything";
  TcxRegion Hole(5, 5, 10, 10);
  C->ApplyClipRegion(&Hole, roSubtract);
  GetRgnBox(Hole.Handle(), &R);
  EXPECT_EQ(R, (TRect{5, 5, 10, 10})) << "the caller's region is unchanged";
  C->FillRect({0, 0, 20, 20}, TColor(0xFF));
  EXPECT_EQ(Box.Pixel(7, 7), White);
  EXPECT_EQ(Box.Pixel(2, 2), TColor(0xFF));
  TcxRegion Everything(0, 0, 20, 20);
  C->ApplyClipRegion(&Everything, roSet);
  C->FillRect({0, 0, 20, 20}, TColor(0xFF00));
  EXPECT_EQ(Box.Pixel(7, 7), TColor(0xFF00)) << "a saved region re-applied";
}

TEST(TcxCanvas, TurnBitmapTurnsAndMirrors) {
  struct TCase {
    int Mode;
    bool Mirror;
    int W, H;
    TPoint Marked;  // where the pixel from (1, 0) of the 16 x 8 bitmap lands
  };
  const TCase Cases[] = {
      {1, false, 8, 16, {0, 14}}, {2, false, 8, 16, {7, 1}},  {3, false, 16, 8, {14, 7}},
      {0, true, 16, 8, {1, 7}},   {1, true, 8, 16, {0, 1}},   {3, true, 16, 8, {14, 0}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "mode " << C.Mode << (C.Mirror ? " mirrored" : ""));
    TBitmap B;
    B.SetPixelFormat(pf32bit);
    B.SetSize(16, 8);
    B.Canvas()->Brush()->SetColor(White);
    B.Canvas()->FillRect({0, 0, 16, 8});
    B.Canvas()->SetPixel(1, 0, TColor(0xFF));
    TcxCanvas::TurnBitmap(&B, C.Mode, C.Mirror);
    EXPECT_EQ(B.GetWidth(), C.W);
    EXPECT_EQ(B.GetHeight(), C.H);
    EXPECT_EQ(TColor(ColorToRGB(B.Canvas()->GetPixel(C.Marked.X, C.Marked.Y))), TColor(0xFF));
  }
}

TEST(TcxCanvas, TextFlagsBecomeDrawTextFlags) {
  EXPECT_EQ(ConvertTextFlagsToDT(cxAlignLeft | cxAlignTop), int(DT_NOPREFIX));
  EXPECT_EQ(ConvertTextFlagsToDT(cxShowPrefix | cxSingleLine), int(DT_SINGLELINE));
  EXPECT_EQ(ConvertTextFlagsToDT(cxWordBreak), int(DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL));
  EXPECT_EQ(ConvertTextFlagsToDT(cxWordBreak | cxDontBreakChars), int(DT_NOPREFIX | DT_WORDBREAK));
  TPaintBox Box(10, 10);
  TRect R{0, 0, 0, 0};
  Box.Canvas()->MeasureTextRect("Some words", R, cxWordBreak);
  EXPECT_GT(R.Height(), Box.Canvas()->TextHeight("Some") ) << "measured one pixel wide: a word a line";
}
