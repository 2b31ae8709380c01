// The frame of a resizable drop-down window: which corner gets the grip,
// the band's height, the grip turned toward its corner, a flat close button
// that never shows a state, and the hit rectangles the frame hands back.
#include <gtest/gtest.h>

#include <algorithm>
#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDropDown.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

using cxtest::TPaintBox;

namespace {

TEST(PopupFrame, BandHeightFollowsTheSystemMetrics) {
  const int Expected =
      std::max(GetSystemMetrics(SM_CYHSCROLL) + 2, GetSystemMetrics(SM_CYSIZE)) + 1;
  EXPECT_EQ(PopupGripBandHeight(), Expected);
}

TEST(PopupFrame, GripCornerAndHitTestByPlacement) {
  struct TCase {
    const char* Name;
    TRect Owner, Popup;
    int Corner, HitTest;
  };
  const TCase Cases[] = {
      {"below, to the right", {10, 0, 80, 20}, {10, 20, 200, 300}, 3, HTBOTTOMRIGHT},
      {"above, to the right", {10, 300, 80, 320}, {10, 100, 200, 300}, 1, HTTOPRIGHT},
      {"below, wholly left", {300, 0, 380, 20}, {10, 20, 200, 300}, 2, HTBOTTOMLEFT},
      {"above, wholly left", {300, 300, 380, 320}, {10, 100, 200, 300}, 0, HTTOPLEFT},
  };
  for (const TCase& C : Cases) {
    const TdxPopupCorner Corner = PopupGripCorner(C.Owner, C.Popup);
    EXPECT_EQ(int(Corner), C.Corner) << C.Name;
    EXPECT_EQ(PopupCornerHitTest(Corner), C.HitTest) << C.Name;
  }
}

// The grip of the top-left corner is the bottom-right one turned through
// both axes; the top-right one only upside down; the bottom-left one only
// mirrored left to right.
TEST(PopupFrame, GripPointsIntoItsCorner) {
  const TRect Band{0, 0, 60, 19};
  auto Draw = [&](TdxPopupCorner Corner, TPaintBox& Box) {
    TRect R = Band;
    DrawPopupSizeGrip(Box.Canvas()->GetDC(), R, Corner);
    return R;
  };
  TPaintBox Base(60, 19);
  const TRect G3 = Draw(3, Base);
  EXPECT_EQ(G3.Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(G3.Right, Band.Right);
  struct TCase {
    TdxPopupCorner Corner;
    bool FlipX, FlipY;
  };
  for (const TCase& C : {TCase{0, true, true}, TCase{1, false, true}, TCase{2, true, false}}) {
    TPaintBox Box(60, 19);
    const TRect G = Draw(C.Corner, Box);
    EXPECT_EQ(G.Width(), G3.Width());
    int Mismatches = 0;
    for (int y = 0; y < G.Height(); ++y)
      for (int x = 0; x < G.Width(); ++x) {
        const int SX = C.FlipX ? G3.Width() - 1 - x : x, SY = C.FlipY ? G3.Height() - 1 - y : y;
        Mismatches += Box.Pixel(G.Left + x, G.Top + y) != Base.Pixel(G3.Left + SX, G3.Top + SY);
      }
    EXPECT_EQ(Mismatches, 0) << int(C.Corner);
  }
}

// The flat close button looks the same whatever the mouse does; the
// classic one shows a raised edge when hot.
TEST(PopupFrame, FlatCloseButtonShowsNoState) {
  auto Draw = [](bool Hot, bool Pressed, bool Flat, TPaintBox& Box) {
    TRect R{0, 0, 60, 20};
    DrawPopupCloseButton(Box.Canvas()->GetDC(), R, Hot, Pressed, Flat, 3);
    return R;
  };
  TPaintBox Idle(60, 20), Busy(60, 20), Classic(60, 20);
  const TRect R = Draw(false, false, true, Idle);
  Draw(true, true, true, Busy);
  Draw(true, false, false, Classic);
  EXPECT_EQ(R.Left, 1) << "corner 3: the button at the band's left end";
  int Differences = 0, ClassicDifferences = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      Differences += Idle.Pixel(x, y) != Busy.Pixel(x, y);
      ClassicDifferences += Idle.Pixel(x, y) != Classic.Pixel(x, y);
    }
  EXPECT_EQ(Differences, 0);
  EXPECT_GT(ClassicDifferences, 0);
}

class PopupWindow : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSEXA C;
    C.lpfnWndProc = DefWindowProcA;
    C.lpszClassName = "SxBarsDropDownTest";
    RegisterClassExA(&C);
  }
  HWND Make(const TRect& R) {
    HWND H = CreateWindowExA(0, "SxBarsDropDownTest", "", WS_POPUP | WS_BORDER, R.Left, R.Top, R.Width(), R.Height(),
                             nullptr, nullptr, nullptr, nullptr);
    Windows.push_back(H);
    return H;
  }
  void TearDown() override {
    for (HWND H : Windows) DestroyWindow(H);
  }
  std::vector<HWND> Windows;
};

// With a band the grip's and the close button's rectangles come back in
// screen coordinates inside the band; without one (resizing off) both are
// empty.
TEST_F(PopupWindow, NonClientFrameHandsBackHitRectangles) {
  HWND Popup = Make({100, 120, 300, 320});
  ASSERT_NE(Popup, nullptr);
  TRect Close, Grip;
  DrawPopupNonClient(Popup, true, true, false, false, Close, Grip, 3);
  const int Band = PopupGripBandHeight();
  EXPECT_EQ(Grip.Right, 300 - 1 + 2) << "the grip square inflated by 2";
  EXPECT_EQ(Grip.Bottom, 320 - 1);
  EXPECT_GE(Grip.Top, 320 - 1 - (Band - 1));
  EXPECT_EQ(Close.Left, 100 + 1 + 1) << "the close button at the far end";
  EXPECT_GE(Close.Top, 320 - Band);
  DrawPopupNonClient(Popup, false, true, false, false, Close, Grip, 3);
  EXPECT_TRUE(Close.IsEmpty());
  EXPECT_TRUE(Grip.IsEmpty());
}

// The painter's drop-down size: the client loses the frame and the band,
// at the bottom for a drop-down opened below its combo.
TEST_F(PopupWindow, PainterTakesTheBandOffTheClientArea) {
  HWND Combo = Make({100, 100, 200, 120});
  HWND Popup = Make({100, 120, 300, 320});
  const auto* P = TdxBarItemControlFlatPainter::Instance();
  TRect R{100, 120, 300, 320};
  int Corner = -1;
  P->CalcDropDownNCSize(Popup, R, true, Combo, Corner);
  EXPECT_EQ(Corner, 3);
  EXPECT_EQ(R, (TRect{101, 121, 299, 319 - P->GetDropDownNCHeight()}));
  TRect Plain{100, 120, 300, 320};
  P->CalcDropDownNCSize(Popup, Plain, false, Combo, Corner);
  EXPECT_EQ(Plain, (TRect{101, 121, 299, 319})) << "without a grip only the frame";
}

TEST(PopupText, WrappersMeasureAndClampTheirCount) {
  TPaintBox Box(100, 20);
  const HDC DC = Box.Canvas()->GetDC();
  TSize Whole{}, Part{}, Beyond{};
  ASSERT_TRUE(GetTextExtentPoint32Str(DC, "Close", -1, Whole));
  ASSERT_TRUE(GetTextExtentPoint32Str(DC, "Close", 2, Part));
  ASSERT_TRUE(GetTextExtentPoint32Str(DC, "Close", 99, Beyond));
  EXPECT_LT(Part.cx, Whole.cx);
  EXPECT_EQ(Beyond.cx, Whole.cx) << "a count past the end reads no further";
  TRect R{0, 0, 100, 20};
  EXPECT_GT(DrawTextStr(DC, "Close", -1, R, DT_SINGLELINE), 0);
}

}  // namespace
