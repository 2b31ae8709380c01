#include <gtest/gtest.h>

#include <cstdlib>
#include "ControlsTestSupport.h"
#include "controls/painters/cxHotZoneStyles.h"
#include "platform/gdi/Gdi.h"

using cxtest::TPaintBox;

namespace {
struct TOwner : IcxHotZoneStyleOwner {
  int Direction = 0;
  int Changes = 0;
  void HotZoneStyleChanged() override { ++Changes; }
  int GetArrowDirection() const override { return Direction; }
  TColor GetHotZoneBackColor() const override { return clBtnFace; }
};
constexpr TColor Back = TColor(0xFF00FF);
}  // namespace

TEST(HotZoneStyles, ZoneIsAPercentageOfTheSplitterCentredAlongIt) {
  TOwner O;
  TcxHotZoneStyle S(&O);
  S.SetSizePercent(19);
  TRect R;
  S.CalculateHotZoneRect({0, 0, 8, 445}, R);
  EXPECT_EQ(R, (TRect{0, 180, 7, 264}));
  O.Direction = 2;
  S.CalculateHotZoneRect({0, 0, 445, 8}, R);
  EXPECT_EQ(R, (TRect{180, 0, 264, 7}));
  TcxHotZoneStyle Orphan;
  EXPECT_EQ(Orphan.SplitterDirection(), 0) << "a style without owner points right";
  EXPECT_EQ(O.Changes, 1);
}

TEST(HotZoneStyles, ShadeColoursClampAndTheSimpleDotsNeedThirtyPixels) {
  EXPECT_EQ(LightenColor(TColor(0x102030), -60, -60, -60), TColor(0));
  EXPECT_EQ(LightenColor(TColor(0xF0F0F0), 30, 0, 0), TColor(0xF0F0FF));
  struct TCase {
    int Length;
    int Dots;
  };
  for (TCase C : {TCase{29, 0}, TCase{30, 1}, TCase{34, 1}, TCase{35, 2}}) {
    SCOPED_TRACE(C.Length);
    TOwner O;
    TcxSimpleStyle S(&O);
    S.DotsColor = TColor(0x0000FE);
    TPaintBox Box(8, 60, Back);
    TcxCanvas* Cv = Box.Canvas();
    S.DrawBackground(Cv, {0, 0, 7, C.Length}, false, false);
    int Dots = 0;
    for (int Y = 0; Y < 60; ++Y)
      for (int X = 0; X < 8; ++X) Dots += Box.Pixel(X, Y) == TColor(0x0000FE);
    EXPECT_EQ(Dots, C.Dots);
  }
}

TEST(HotZoneStyles, MediaPlayer8LightsTheEdgesOfItsRaisedOrPressedLook) {
  struct TCase {
    int Direction;
    bool Pressed;
    TPoint Lit;
    TPoint Dark;
    const char* Why;
  };
  // Zone (0, 0, 7, 60) lying vertically, (0, 0, 60, 7) lying horizontally.
  const TCase Cases[] = {
      {2, false, {10, 1}, {10, 5}, "down, raised: the top edge"},
      {2, true, {10, 6}, {10, 1}, "down, pressed: the bottom edge"},
      {0, false, {1, 10}, {5, 10}, "right, raised: the left edge"},
      {0, true, {6, 10}, {1, 10}, "right, pressed: the right edge"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TOwner O;
    O.Direction = C.Direction;
    TcxMediaPlayer8Style S(&O);
    S.LightColor = TColor(0x00FE00);
    TPaintBox Box(64, 64, Back);
    const TRect Zone = C.Direction >= 2 ? TRect{0, 0, 60, 7} : TRect{0, 0, 7, 60};
    S.DrawBackground(Box.Canvas(), Zone, false, C.Pressed);
    EXPECT_EQ(Box.Pixel(C.Lit.X, C.Lit.Y), TColor(0x00FE00));
    EXPECT_NE(Box.Pixel(C.Dark.X, C.Dark.Y), TColor(0x00FE00));
  }
}

TEST(HotZoneStyles, TheHolderFreesTheStyleItReplacesAndANewClassKeepsSizeAndVisibility) {
  struct TCounted : TcxSimpleStyle {
    int* Alive;
    TCounted(int* A) : TcxSimpleStyle(nullptr), Alive(A) { ++*Alive; }
    ~TCounted() override { --*Alive; }
  };
  int Alive = 0;
  TOwner O;
  {
    TcxHotZoneStyleHolder H(&O);
    H.Set(std::make_unique<TCounted>(&Alive));
    H.Set(std::make_unique<TCounted>(&Alive));
    EXPECT_EQ(Alive, 1) << "the replaced style is freed";
    H.SetClassName("TcxMediaPlayer9Style");
    EXPECT_EQ(Alive, 0);
    EXPECT_EQ(H.GetClassName(), "TcxMediaPlayer9Style");
    H.Get()->SetSizePercent(19);
    H.Get()->SetVisible(false);
    H.SetClassName("TcxXPTaskBarStyle");
    EXPECT_EQ(H.Get()->GetSizePercent(), 19);
    EXPECT_FALSE(H.Get()->GetVisible());
    H.SetClassName("NoSuchStyle");
    EXPECT_EQ(H.Get(), nullptr);
  }
  EXPECT_EQ(GetRegisteredHotZoneStyles().ItemCount(), 4);
  EXPECT_EQ(GetRegisteredHotZoneStyles().GetDisplayName(0), "MediaPlayer8");
}

TEST(HotZoneStyles, EveryStyleDrawsItsZone) {
  // Look at them: SX_SHOTS_DIR=dir writes the sheet there.
  TPaintBox Box(140, 100, Back);
  TOwner O;
  std::unique_ptr<TcxHotZoneStyle> Styles[] = {
      std::make_unique<TcxMediaPlayer8Style>(&O), std::make_unique<TcxMediaPlayer9Style>(&O),
      std::make_unique<TcxXPTaskBarStyle>(&O), std::make_unique<TcxSimpleStyle>(&O)};
  for (int i = 0; i < 4; ++i) {
    Styles[i]->SetSizePercent(80);
    TRect R;
    O.Direction = 1;
    Box.Canvas()->Canvas()->Refresh();
    const int Saved = SaveDC(Box.Canvas()->GetDC());
    SetViewportOrgEx(Box.Canvas()->GetDC(), 10 + i * 20, 5, nullptr);
    Styles[i]->DrawHotZone(Box.Canvas(), {0, 0, 8, 90}, i == 1, false, R);
    RestoreDC(Box.Canvas()->GetDC(), Saved);
    EXPECT_EQ(R.Width(), 7);
    EXPECT_NE(Box.Pixel(10 + i * 20 + 3, 5 + R.Top + R.Height() / 2), Back) << "style " << i;
  }
  if (const char* Shots = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Shots) + "/hotzones.png", 4);
}
