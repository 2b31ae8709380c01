// A bar's docking style or site set by the program moves its shown window
// there: into a new row of the new site, or floating at its stored place.
#include "../extitems/ExtItemsTestSupport.h"

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

}  // namespace
