// What the tab painters draw: a row of tabs (current, hot, disabled,
// highlighted) in each style, on each side, rotated and in several rows,
// compared with small reviewed pictures at chosen pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include "controls/ControlsTestSupport.h"
#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/rtl/Colors.h"

namespace {

using cxtest::Rgb;
using cxtest::TPaintBox;

struct TCase {
  const char* Name;
  TcxPCStyleID Style;
  TcxTabPosition Position;
  bool Rotate;
  bool MultiLine;
  int Width, Height;
};

// Four tabs: the second current, the third disabled, the fourth highlighted.
std::unique_ptr<TcxCustomTabControl> MakeControl(const TCase& K) {
  auto C = std::make_unique<TcxCustomTabControl>(nullptr);
  C->SetBounds(0, 0, K.Width, K.Height);
  C->SetStyle(K.Style);
  C->SetTabPosition(K.Position);
  C->SetRotate(K.Rotate);
  C->SetMultiLine(K.MultiLine);
  C->SetTabWidth(44);
  for (const char* Caption : {"&One", "Two", "Off", "Hi"}) C->Tabs()->Add(Caption);
  C->SetTabIndex(1);
  C->Tabs()->GetTab(2)->SetEnabled(false);
  C->Tabs()->GetTab(3)->SetHighlighted(true);
  return C;
}

const TCase Cases[] = {
    {"tabs-top", 1, tpTop, false, false, 200, 60},
    {"tabs-bottom", 1, tpBottom, false, false, 200, 60},
    {"tabs-left", 1, tpLeft, false, false, 80, 200},
    {"tabs-top-rotated", 1, tpTop, true, false, 140, 90},
    {"tabs-multiline", 1, tpTop, false, true, 110, 90},
    {"tabs-scroll", 1, tpTop, false, false, 150, 60},
    {"buttons-top", 2, tpTop, false, false, 220, 60},
    {"flatbuttons-top", 3, tpTop, false, false, 240, 60},
};

class TabPaintTest : public ::testing::TestWithParam<TCase> {};

TEST_P(TabPaintTest, DrawsARowOfTabs) {
  const TCase& K = GetParam();
  auto C = MakeControl(K);
  TPaintBox Box(K.Width, K.Height);
  C->PaintTo(Box.Canvas());
  // Nothing is left unpainted.
  for (int Y = 0; Y < K.Height; Y += 3)
    for (int X = 0; X < K.Width; X += 3) ASSERT_NE(Box.Pixel(X, Y), TColor(0xFF00FF)) << X << "," << Y;
  // Pixels chosen on the tabs' outlines, inside the current and the other
  // tabs, on captions and on the page frame.
  std::vector<TPoint> Points;
  for (int V = 0; V < C->VisibleTabs()->Count(); ++V) {
    const TRect R = C->VisibleTabs()->GetTab(V)->DisplayRect();
    if (R.IsEmpty()) continue;
    for (int Dy = 0; Dy < R.Height(); Dy += 2)
      for (int Dx = 0; Dx < R.Width(); Dx += 2) Points.push_back({R.Left + Dx, R.Top + Dy});
  }
  const TRect F = C->Painter()->GetFrameRect();
  for (int X = F.Left; X < F.Right; X += 4) Points.push_back({X, F.Top}), Points.push_back({X, F.Bottom - 1});
  cxtest::ExpectMatchesGolden(Box, std::string("tabs_") + K.Name + ".png", Points);
}

INSTANTIATE_TEST_SUITE_P(Styles, TabPaintTest, ::testing::ValuesIn(Cases),
                         [](const auto& Info) {
                           std::string N = Info.param.Name;
                           for (char& Ch : N)
                             if (Ch == '-') Ch = '_';
                           return N;
                         });

TEST(TabPaint, TheCurrentTabOpensIntoThePageAndStandsOut) {
  TCase K{"", 1, tpTop, false, false, 200, 60};
  auto C = MakeControl(K);
  TPaintBox Box(K.Width, K.Height);
  C->PaintTo(Box.Canvas());
  TcxTab* Cur = C->Tabs()->GetTab(1);
  TcxTab* Other = C->Tabs()->GetTab(0);
  const TRect B = Cur->Bounds();
  EXPECT_EQ(B.Top, Other->Bounds().Top - 2);  // two pixels taller
  const int FrameTop = C->Painter()->GetFrameRect().Top;
  // Under the current tab the frame's top line is the tab's face; under the
  // others it is the frame's light edge.
  EXPECT_EQ(Box.Pixel((B.Left + B.Right) / 2, FrameTop), Rgb(clBtnFace));
  const TRect O = Other->Bounds();
  EXPECT_EQ(Box.Pixel((O.Left + O.Right) / 2, FrameTop), Rgb(clBtnHighlight));
  // The highlighted tab is filled with the highlight colour.
  const TRect H = C->Tabs()->GetTab(3)->Bounds();
  EXPECT_EQ(Box.Pixel(H.Left + 4, H.Top + 3), Rgb(clHighlight));
}

TEST(TabPaint, ScrolledRowsShowArrowsWithTheBackwardOneDisabled) {
  TCase K{"", 1, tpTop, false, false, 150, 60};
  auto C = MakeControl(K);
  ASSERT_TRUE(C->ShownButtons().Contains(nbTopLeft));
  EXPECT_EQ(C->ButtonState(nbTopLeft), nbsDisabled);
  EXPECT_NE(C->ButtonState(nbBottomRight), nbsDisabled);
  TcxPCNavigatorButton B;
  ASSERT_TRUE(C->Painter()->GetNavigatorButtonAt(150 - 5, 5, B));
  EXPECT_EQ(B, nbBottomRight);
  ASSERT_TRUE(C->Painter()->GetNavigatorButtonAt(150 - 25, 5, B));
  EXPECT_EQ(B, nbTopLeft);
}

}  // namespace
