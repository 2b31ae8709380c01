// What the tab painters draw: a row of tabs (current, hot, disabled,
// highlighted) in each style, on each side, rotated and in several rows,
// compared with small reviewed pictures at chosen pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include "controls/ControlsTestSupport.h"
#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"

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
    {"flat-top", 7, tpTop, false, false, 200, 60},
    {"extraflat-top", 5, tpTop, false, false, 200, 60},
    {"ultraflat-top", 6, tpTop, false, false, 200, 60},
    {"ultraflat-scroll", 6, tpTop, false, false, 150, 60},
    {"office11-bottom", 8, tpBottom, false, false, 200, 60},
    {"office11-left", 8, tpLeft, false, false, 80, 200},
    {"office11-multiline", 8, tpTop, false, true, 110, 90},
    {"slanted-top", 9, tpTop, false, false, 200, 60},
    {"slanted-bottom", 9, tpBottom, false, false, 200, 60},
    {"onenote-top", 10, tpTop, false, false, 240, 60},
    {"onenote-right", 10, tpRight, false, false, 80, 240},
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

// The flat band styles: separators only between neighbouring tabs that
// are not current.
TEST(TabPaint, ExtraFlatSeparatesOnlyTabsThatAreNotCurrent) {
  struct {
    int Tabs, Current, Separators;
  } const Rows[] = {{2, 0, 0}, {2, 1, 0}, {3, 0, 1}, {4, 3, 2}};
  for (const auto& K : Rows) {
    auto C = std::make_unique<TcxCustomTabControl>(nullptr);
    C->SetBounds(0, 0, 240, 60);
    C->SetStyle(5);
    C->SetTabWidth(44);
    for (int I = 0; I < K.Tabs; ++I) C->Tabs()->Add(AnsiString(1, 'T').append(std::to_string(I)));
    C->SetTabIndex(K.Current);
    TPaintBox Box(240, 60);
    C->PaintTo(Box.Canvas());
    int Found = 0;
    for (int V = 0; V + 1 < K.Tabs; ++V) {
      const TRect R = C->VisibleTabs()->GetTab(V)->LayoutRect();
      if (Box.Pixel(R.Right, (R.Top + R.Bottom) / 2) == Rgb(clBtnShadow)) ++Found;
    }
    EXPECT_EQ(Found, K.Separators) << K.Tabs << " tabs, current " << K.Current;
  }
}

TEST(TabPaint, ExtraFlatTabsAreTheirCaptionsWidthAndNine) {
  auto C = std::make_unique<TcxCustomTabControl>(nullptr);
  C->SetBounds(0, 0, 300, 60);
  C->SetStyle(5);
  C->Tabs()->Add("Sin&gle File");
  C->Tabs()->Add("");
  TPaintBox Box(10, 10);
  C->PrepareTabFont(C->Tabs()->GetTab(0), Box.Canvas());
  TRect R{0, 0, 0, 0};
  Box.Canvas()->MeasureTextRect("Sin&gle File", R, cxSingleLine | cxShowPrefix);
  EXPECT_EQ(C->Tabs()->GetTab(0)->NormalWidth, 9 + R.Width());
  EXPECT_EQ(C->Tabs()->GetTab(1)->NormalWidth, 12);
}

TEST(TabPaint, Office11WithoutGradientsFillsWithHalfAndHalfMixes) {
  TCase K{"", 8, tpBottom, false, false, 200, 60};
  auto C = MakeControl(K);
  C->SetOptions(C->GetOptions() - TcxPCOptions{pcoGradient});
  TPaintBox Box(K.Width, K.Height);
  C->PaintTo(Box.Canvas());
  const TRect Cur = C->Tabs()->GetTab(1)->Bounds();
  EXPECT_EQ(Box.Pixel(Cur.Left + 3, Cur.Bottom - 3),
            Rgb(MixColors(Office11SchemeEntry(22), Office11SchemeEntry(23), 50)));
  const TRect Band = C->FarGroupRect();
  // Past the last tab the band shows through.
  EXPECT_EQ(Box.Pixel(K.Width - 3, Band.Bottom - 4),
            Rgb(MixColors(Office11SchemeEntry(0), Office11SchemeEntry(1), 50)));
}

TEST(TabPaint, Office11BandRunsFromTheFirstColourAtTheTopToTheSecond) {
  TCase K{"", 8, tpBottom, false, false, 200, 60};
  auto C = MakeControl(K);
  TPaintBox Box(K.Width, K.Height);
  C->PaintTo(Box.Canvas());
  const TRect Band = C->FarGroupRect();
  const TColor Top = Box.Pixel(K.Width - 3, Band.Top + 2), Bottom = Box.Pixel(K.Width - 3, K.Height - 1);
  // Nearer to entry 0 at the top and to entry 1 at the bottom.
  auto Distance = [](TColor A, TColor B) {
    const COLORREF X = ColorToRGB(A), Y = ColorToRGB(B);
    return std::abs(GetRValue(X) - GetRValue(Y)) + std::abs(GetGValue(X) - GetGValue(Y)) +
           std::abs(GetBValue(X) - GetBValue(Y));
  };
  const TColor E0 = Rgb(Office11SchemeEntry(0)), E1 = Rgb(Office11SchemeEntry(1));
  if (E0 == E1) GTEST_SKIP() << "the scheme's band colours are equal";
  EXPECT_LT(Distance(Top, E0), Distance(Top, E1));
  EXPECT_LT(Distance(Bottom, E1), Distance(Bottom, E0));
}

TEST(TabPaint, TheDefaultStyleFollowsTheLookAndFeelsKind) {
  struct {
    TcxLookAndFeelKind Kind;
    TcxPCStyleID Style;
  } const Rows[] = {{lfStandard, 1}, {lfFlat, 7}, {lfUltraFlat, 6}, {lfOffice11, 8}};
  for (const auto& K : Rows) {
    auto C = std::make_unique<TcxCustomTabControl>(nullptr);
    C->GetLookAndFeel()->SetKind(K.Kind);
    EXPECT_EQ(C->GetStyle(), 0);
    EXPECT_EQ(C->Painter()->PainterClass()->StyleID, K.Style) << int(K.Kind);
  }
}

// Slanted tabs overlap by half their slant; the shape decides which tab a
// point belongs to, the current tab winning.
TEST(TabPaint, SlantedTabsOverlapAndTheShapeDecidesClicks) {
  auto C = std::make_unique<TcxCustomTabControl>(nullptr);
  C->SetBounds(0, 0, 300, 60);
  C->SetStyle(9);
  C->SetTabHeight(20);
  C->SetTabWidth(60);
  for (const char* Caption : {"A", "B", "C"}) C->Tabs()->Add(Caption);
  C->SetTabIndex(0);
  ASSERT_EQ(C->Tabs()->TabNormalHeight, 20);
  EXPECT_EQ(C->Painter()->GetTabsSpacing().X, -9);
  const TRect A = C->VisibleTabs()->GetTab(1)->LayoutRect(), B = C->VisibleTabs()->GetTab(2)->LayoutRect();
  EXPECT_EQ(A.Right - B.Left, 9);
  // The left tab ends straight; the right one begins with its slant, so at
  // the top of the overlap only the left tab's shape holds the point and at
  // the bottom both do: the left one, drawn above, takes it.
  EXPECT_EQ(C->GetTabAt(A.Right - 2, A.Top + 2), 1);
  EXPECT_EQ(C->GetTabAt(B.Left + 2, A.Bottom - 2), 1);
  EXPECT_EQ(C->GetTabAt(A.Right + 2, A.Bottom - 2), 2);
  // With the right tab current it is drawn above and wins the shared part.
  C->SetTabIndex(2);
  EXPECT_EQ(C->GetTabAt(B.Left + 2, A.Bottom - 2), 2);
  EXPECT_EQ(C->GetTabAt(A.Right - 2, A.Top + 2), 1);
}

TEST(TabPaint, SlantedWithoutSlantsCutsCornersAndSpacesTabsAPixelApart) {
  auto C = std::make_unique<TcxCustomTabControl>(nullptr);
  C->SetBounds(0, 0, 300, 60);
  C->SetStyle(9);
  C->GetTabSlants()->SetPositions({});
  for (const char* Caption : {"A", "B"}) C->Tabs()->Add(Caption);
  EXPECT_EQ(C->Painter()->GetTabsSpacing().X, 1);
  EXPECT_EQ(C->VisibleTabs()->GetTab(1)->LayoutRect().Left - C->VisibleTabs()->GetTab(0)->LayoutRect().Right, 1);
  EXPECT_EQ(C->Painter()->GetTabMinWidth(), 8);
  C->SetRotate(true);
  EXPECT_EQ(C->Painter()->GetTabMinWidth(), 0);
}

TEST(TabPaint, OneNoteDoesNotRotate) {
  auto C = std::make_unique<TcxCustomTabControl>(nullptr);
  C->SetStyle(9);
  C->SetRotate(true);
  C->SetStyle(10);
  EXPECT_FALSE(C->GetRotate());
  try {
    C->SetRotate(true);
    ADD_FAILURE();
  } catch (Exception& E) {
    EXPECT_NE(E.Message().find("OneNote style does not support rotation of tabs"), std::string::npos) << E.Message();
  }
}

}  // namespace
