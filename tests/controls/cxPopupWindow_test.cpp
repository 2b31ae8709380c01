#include "ControlsWindowTest.h"
#include "controls/base/cxPopupWindow.h"
#include "platform/forms/StdCtrls.h"

namespace {
class PopupWindowTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    D().SetScreenSize({1000, 800});  // work area (0, 0, 1000, 770)
  }
};

// A popup of 100 x 50 placed against an owner rectangle in screen terms.
TPoint PlaceAgainst(TRect Owner, TcxPopupDirection Dir, TcxPopupAlignHorz H, TcxPopupAlignVert V, int W = 100,
                    int Hgt = 50) {
  TcxPopupWindow P;
  P.SetBounds(0, 0, W, Hgt);
  P.Direction = Dir;
  P.AlignHorz = H;
  P.AlignVert = V;
  P.OwnerBounds = Owner;
  TPoint Pt;
  P.CalcPosition(Pt);
  return Pt;
}
}  // namespace

TEST_F(PopupWindowTest, FlipsOnlyWhenTheOtherSideHasMoreRoomAndStaysInsideAcross) {
  struct TCase {
    TRect Owner;
    TcxPopupDirection Dir;
    TcxPopupAlignHorz H;
    TcxPopupAlignVert V;
    int W;
    TPoint Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {{100, 100, 200, 120}, pdVertical, pahLeft, pavBottom, 100, {100, 120}, "below, left edges aligned"},
      {{100, 740, 200, 760}, pdVertical, pahLeft, pavBottom, 100, {100, 690}, "no room below, more above: above"},
      {{100, 5, 200, 760}, pdVertical, pahLeft, pavBottom, 100, {100, 760}, "less room above: stays below"},
      {{880, 100, 990, 120}, pdHorizontal, pahRight, pavTop, 100, {780, 100}, "right edge: opens on the left"},
      {{100, 100, 200, 120}, pdVertical, pahLeft, pavBottom, 1200, {0, 120}, "wider than the work area: left edge"},
      {{950, 100, 990, 120}, pdVertical, pahCenter, pavBottom, 100, {900, 120}, "centred, pushed inside"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(PlaceAgainst(C.Owner, C.Dir, C.H, C.V, C.W), C.Want);
  }
}

TEST_F(PopupWindowTest, SizingAroundTheChildrenDoesNotShiftThemAgainOnEveryPopup) {
  TForm Owner(nullptr);
  Owner.SetBounds(100, 100, 300, 200);
  Owner.Show();
  Pump();
  TcxPopupWindow P;
  TCustomControl E(&P);
  E.SetParent(&P);
  E.SetBounds(0, 0, 80, 20);
  P.BorderSpace = 2;
  P.SetFrameStyle(fsRaised);
  P.OwnerParent = &Owner;
  P.OwnerBounds = {10, 10, 100, 30};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    P.Popup();
    Pump();
    EXPECT_EQ(E.GetLeft(), 4);
    EXPECT_EQ(E.GetTop(), 4);
    EXPECT_EQ(P.GetWidth(), 88);
    EXPECT_EQ(P.GetHeight(), 28);
    P.HidePopup();
  }
  P.SetFrameStyle(fsNone_);
  EXPECT_EQ(E.GetLeft(), 0) << "a new frame style takes the shift back";
  P.Popup();
  EXPECT_EQ(E.GetLeft(), 2);
}

TEST_F(PopupWindowTest, ClosesOnAClickOutsideAndOnEscAndGivesTheFocusBack) {
  TForm Owner(nullptr);
  Owner.SetBounds(100, 100, 300, 200);
  TEdit Field(&Owner), Other(&Owner);
  Field.SetParent(&Owner);
  Field.SetBounds(10, 10, 100, 20);
  Other.SetParent(&Owner);
  Other.SetBounds(10, 60, 100, 20);
  Owner.Show();
  Pump();
  Field.SetFocus();
  Pump();
  TcxPopupWindow P;
  TEdit Inside(&P);
  Inside.SetParent(&P);
  Inside.SetBounds(0, 0, 80, 20);
  P.OwnerParent = &Owner;
  P.OwnerBounds = Field.BoundsRect();

  P.Popup();
  Inside.SetFocus();
  Pump();
  ASSERT_TRUE(P.GetVisible());
  EXPECT_EQ(P.PreviousActiveWindow(), Owner.Handle());
  ClickAt(&Inside, {5, 5});
  EXPECT_TRUE(P.GetVisible()) << "a click inside keeps it open";
  Key(VK_ESCAPE);
  EXPECT_FALSE(P.GetVisible()) << "Esc closes it";
  EXPECT_EQ(GetActiveWindow(), Owner.Handle());
  EXPECT_TRUE(Field.Focused()) << "the focus is back where it was";

  P.Popup();
  Inside.SetFocus();
  Pump();
  ASSERT_TRUE(P.GetVisible());
  ClickAt(&Other, {5, 5});
  EXPECT_FALSE(P.GetVisible()) << "a click outside closes it";
  EXPECT_EQ(GetActiveWindow(), Owner.Handle());
}

TEST_F(PopupWindowTest, FramePaintsAroundTheEdge) {
  TcxPopupWindow P;
  P.SetBounds(50, 50, 40, 30);
  P.SetColor(clWindow);
  P.SetFrameStyle(fsFlat);
  P.FrameColor = TColor(0x0000FF);
  P.Show();
  Pump();
  EXPECT_EQ(ScreenPixel(&P, 0, 0), 0x0000FFu);
  EXPECT_EQ(ScreenPixel(&P, 39, 29), 0x0000FFu);
  EXPECT_EQ(ScreenPixel(&P, 20, 15), ColorToRGB(clWindow));
}
