// A bar's docking style or site set by the program moves its shown window
// there: into a new row of the new site, or floating at its stored place.
#include "../extitems/ExtItemsTestSupport.h"

#include "../../support/FormInput.h"

namespace {

class BarDockingTest : public ExtItemsWindowTest {
protected:
  TdxBarControl* Toolbar() const { return dynamic_cast<TdxBarControl*>(Window()); }
};

TEST_F(BarDockingTest, SettingTheDockingStyleMovesTheShownWindow) {
  Add<TdxBarButton>("A", "Alpha");
  Add<TdxBarButton>("B", "Beta");
  Show();
  ASSERT_NE(Toolbar(), nullptr);
  EXPECT_EQ(Toolbar()->DockingStyle(), dsTop);
  for (TdxBarDockingStyle Style : {dsLeft, dsBottom, dsRight, dsTop}) {
    SCOPED_TRACE(int(Style));
    Bar->SetDockingStyle(Style);
    Settle();
    TdxBarControl* W = Toolbar();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->DockingStyle(), Style);
    ASSERT_NE(W->DockControl(), nullptr);
    EXPECT_EQ(W->DockControl(), dxBarBuiltInDockControl(M, Style));
    EXPECT_EQ(W->GetParent(), W->DockControl());
    EXPECT_GE(W->DockControl()->RowIndexOf(W), 0);
    EXPECT_TRUE(W->GetVisible());
    EXPECT_EQ(Bar->GetDockingStyle(), Style);
    // Vertical sites stack the items downwards.
    EXPECT_EQ(W->IsVertical(), Style == dsLeft || Style == dsRight);
    if (Style != dsTop) {
      EXPECT_EQ(dxBarBuiltInDockControl(M, dsTop)->RowIndexOf(W), -1) << "left the old site";
    }
  }
  Bar->SetFloatLeft(300);
  Bar->SetFloatTop(200);
  Bar->SetDockingStyle(dsNone);
  Settle();
  TdxBarControl* W = Toolbar();
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->DockingStyle(), dsNone);
  EXPECT_EQ(W->DockControl(), nullptr);
  EXPECT_EQ(dxBarBuiltInDockControl(M, dsTop)->RowIndexOf(W), -1);
  ASSERT_TRUE(W->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(W->Handle()));
  EXPECT_EQ(W->GetLeft(), 300);
  EXPECT_EQ(W->GetTop(), 200);
}

TEST_F(BarDockingTest, AVerticalBarTurnsItsItemsAndWritesItsCaptionsDownwards) {
  auto* Open = Add<TdxBarButton>("Open", "Open File");
  Open->SetPaintStyle(psCaption);
  Add<TdxBarSubItem>("Tools", "Tools");
  Add<TdxBarEdit>("Find", "Find");
  Bar->SetDockingStyle(dsLeft);
  Show();
  TdxBarControl* W = Toolbar();
  ASSERT_NE(W, nullptr);
  ASSERT_TRUE(W->IsRotated());
  EXPECT_EQ(W->PaintType(), 2);
  EXPECT_TRUE(W->PaintWindow().Rotated());
  auto* OpenC = ControlOf<TdxBarButtonControl>(Open);
  ASSERT_NE(OpenC, nullptr);
  const TRect R = Open->GetLink(0)->GetItemRect();
  EXPECT_GT(R.Height(), R.Width()) << "the caption runs along the bar";
  EXPECT_NE(ControlOf<TdxBarButtonControl>(Bar->ItemLinks()->GetItem(2)->GetItem()), nullptr)
      << "no room for a box: the edit shows as a button";
  Settle();
  sxtest::SaveShot(Form, "barswin-vertical-toolbar");
  // The caption's ink is taller than wide: the letters run downwards.
  TRect Ink{R.Right, R.Bottom, R.Left, R.Top};
  for (Integer Y = R.Top; Y < R.Bottom; ++Y)
    for (Integer X = R.Left; X < R.Right; ++X) {
      const COLORREF C = Pixel({X, Y});
      if (GetRValue(C) + GetGValue(C) + GetBValue(C) < 3 * 96) {
        Ink.Left = std::min(Ink.Left, X);
        Ink.Right = std::max(Ink.Right, X + 1);
        Ink.Top = std::min(Ink.Top, Y);
        Ink.Bottom = std::max(Ink.Bottom, Y + 1);
      }
    }
  ASSERT_FALSE(Ink.IsEmpty()) << "the caption is drawn";
  EXPECT_GT(Ink.Height(), 3 * Ink.Width());

  // Without the turn the items stack as they are: wide captions, a box.
  Bar->SetRotateWhenVertical(false);
  Settle();
  EXPECT_FALSE(W->IsRotated());
  EXPECT_EQ(W->PaintType(), 0);
  const TRect Flat = Open->GetLink(0)->GetItemRect();
  EXPECT_GT(Flat.Width(), Flat.Height());
  EXPECT_EQ(ControlOf<TdxBarButtonControl>(Bar->ItemLinks()->GetItem(2)->GetItem()), nullptr);
  EXPECT_NE(ControlOf<TdxBarEditControl>(Bar->ItemLinks()->GetItem(2)->GetItem()), nullptr);
}

}  // namespace
