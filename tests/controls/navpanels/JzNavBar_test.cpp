// The captioned navigation panels: colours from the scheme by panel type,
// the band-filled gradients, borders on chosen edges, style inheritance.
#include <gtest/gtest.h>

#include <memory>
#include "controls/ControlsTestSupport.h"
#include "controls/navpanels/JzNavBar.h"

namespace {

using cxtest::Rgb;
using cxtest::TPaintBox;

// The XP blue column's title colours, handed in by the panel's own hook.
struct TBlueTitle : TObject {
  void Custom(TObject*, TJzColorScheme& S) {
    S.Colors[12] = TColor(0x993300);
    S.Colors[13] = TColor(0xD68759);
    S.Colors[14] = TColor(0x933803);
    S.Colors[15] = TColor(0xFFFFFF);
  }
};

std::unique_ptr<TJzNavPanel> MakePanel(TJzNavPanelType Type, int W = 120, int H = 24) {
  auto P = std::make_unique<TJzNavPanel>(nullptr);
  P->SetBounds(0, 0, W, H);
  P->SetStyle(stXPTheme);
  P->SetPanelType(Type);
  return P;
}

TEST(NavPanel, ATitleShowsAVerticalGradientABoldCaptionAndABottomBorder) {
  auto P = MakePanel(ptTitle);
  TBlueTitle Hook;
  P->OnCustomStyle = TJzNavCustomStyleEvent(&Hook, &TBlueTitle::Custom);
  P->SetBorderSize(1);
  P->SetCaption("\xBB Input");
  TPaintBox Box(120, 24);
  P->PaintTo(Box.Bitmap()->Canvas());
  EXPECT_EQ(Box.Pixel(100, 0), TColor(0xD68759));
  EXPECT_EQ(Box.Pixel(100, 23), TColor(0x993300));  // the border, bottom edge only
  EXPECT_EQ(Box.Pixel(0, 10), Box.Pixel(1, 10));     // no left border
  const TColor Low = Box.Pixel(100, 22);
  EXPECT_NE(Low, TColor(0xD68759));
  EXPECT_EQ(P->GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(P->GetFont()->GetSize(), 8);
  EXPECT_TRUE(P->GetFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(P->GetFont()->GetColor(), TColor(0xFFFFFF));
  // White caption pixels on the left half.
  bool White = false;
  for (int Y = 4; Y < 20; ++Y)
    for (int X = 0; X < 60; ++X) White |= Box.Pixel(X, Y) == TColor(0xFFFFFF);
  EXPECT_TRUE(White);
  if (const char* Dir = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Dir) + "/navpanel_title.png", 4);
}

TEST(NavPanel, ADefaultPanelTakesTheSchemesPanelColourAndNoCaption) {
  auto P = MakePanel(ptDefault);
  P->SetCaption("Hidden");
  TPaintBox Box(120, 24);
  P->PaintTo(Box.Bitmap()->Canvas());
  TJzColorScheme S;
  FillSystemColorScheme(S);
  EXPECT_EQ(Rgb(P->GetColor()), Rgb(S.Colors[1]));
  for (int Y = 0; Y < 24; Y += 2)
    for (int X = 0; X < 120; X += 2) ASSERT_EQ(Box.Pixel(X, Y), Rgb(S.Colors[1])) << X << "," << Y;
}

TEST(NavPanel, ParentStyleFollowsOnlyANavigationParent) {
  auto Outer = MakePanel(ptDefault, 200, 200);
  auto Inner = std::make_unique<TJzNavPanel>(nullptr);
  Inner->SetParent(Outer.get());
  EXPECT_EQ(Inner->EffectiveStyle(), stXPTheme);
  Inner->SetParentStyle(false);
  EXPECT_EQ(Inner->EffectiveStyle(), stStandard);
  Inner->SetParent(nullptr);
}

TEST(NavPanel, BandFillsStepThroughTheColoursAndSkipEmptyAreas) {
  TPaintBox Box(10, 100);
  JzNavBandFill(Box.Bitmap()->Canvas(), {0, 0, 0, 100}, TColor(0), TColor(0xFFFFFF), true);
  EXPECT_EQ(Box.Pixel(0, 50), TColor(0xFF00FF));  // nothing painted
  JzNavBandFill(Box.Bitmap()->Canvas(), {0, 0, 10, 100}, TColor(0), TColor(0x640000), false);
  // 100 pixels over a difference of 100: one band per pixel, each a step.
  EXPECT_EQ(Box.Pixel(5, 0), TColor(0));
  EXPECT_EQ(Box.Pixel(5, 50), TColor(0x320000));
  EXPECT_EQ(Box.Pixel(5, 99), TColor(0x630000));
}

TEST(NavPanel, ADisabledPanelNeverLooksHotOrPressed) {
  auto P = MakePanel(ptButton);
  TPaintBox Box(120, 24);
  P->PaintTo(Box.Bitmap()->Canvas());  // the scheme turns the hot gradient on
  EXPECT_TRUE(P->GradientHot()->GetActive());
  P->SetEnabled(false);
  EXPECT_EQ(P->GradientInUse(), P->GradientNormal());
  EXPECT_FALSE(P->IsHot());
  EXPECT_FALSE(P->IsPressed());
}

}  // namespace
