// Quick customization: the mark's menu holds only "Add or Remove Buttons"
// when every link fits; its rows show and hide the toolbar's links and
// carry their state; "Customize..." follows only when the manager allows
// customizing.
#include "../extitems/ExtItemsTestSupport.h"

#include "bars/customize/dxBarCustomizing.h"

namespace {

class QuickCustTest : public ExtItemsWindowTest {
protected:
  void SetUp() override {
    ExtItemsWindowTest::SetUp();
    Add<TdxBarButton>("A", "Alpha");
    Add<TdxBarButton>("B", "Beta");
    Add<TdxBarButton>("C", "Gamma");
    Show();
  }
  void TearDown() override {
    dxBarFreeAllTempItems();
    ExtItemsWindowTest::TearDown();
  }
  TdxBarControl* Toolbar() const { return dynamic_cast<TdxBarControl*>(Window()); }
};

TEST_F(QuickCustTest, AddOrRemoveButtonsTogglesTheToolbarsLinks) {
  TdxBarPopupMenu* P = dxBarBuildQuickCustomization(Toolbar());
  ASSERT_EQ(P->ItemLinks()->Count(), 1) << "every link fits: only the Add or Remove entry";
  TCustomdxBarSubItem* AddRemove = dxBarQuickAddRemoveItem();
  ASSERT_EQ(P->ItemLinks()->GetItem(0)->GetItem(), AddRemove);
  EXPECT_EQ(AddRemove->GetCaption(), "&Add or Remove Buttons");
  TdxBarItemLinks* Rows = AddRemove->ItemLinks();
  ASSERT_EQ(Rows->Count(), 4);
  EXPECT_EQ(Rows->GetItem(3)->GetItem()->GetCaption(), "&Customize...");
  EXPECT_TRUE(Rows->GetItem(3)->GetStoredBeginGroup());
  auto* BetaRow = dynamic_cast<TdxBarButton*>(Rows->GetItem(1)->GetItem());
  ASSERT_NE(BetaRow, nullptr);
  EXPECT_EQ(BetaRow->GetCaption(), "Beta");
  EXPECT_TRUE(BetaRow->GetDown());
  BetaRow->Click();
  EXPECT_FALSE(Bar->ItemLinks()->GetItem(1)->GetVisible());
  EXPECT_FALSE(BetaRow->GetDown());
  EXPECT_EQ(Bar->ItemLinks()->GetShownCount(), 2);
  BetaRow->Click();
  EXPECT_TRUE(Bar->ItemLinks()->GetItem(1)->GetVisible());
  EXPECT_EQ(Bar->ItemLinks()->GetShownCount(), 3);
  // Shown under the mark; the picture is looked at, not compared.
  const TRect R = Bar->ItemLinks()->GetItem(2)->GetItemRect();
  const TPoint At = Window()->ClientToScreen({R.Right, R.Bottom});
  dxBarShowQuickCustomization(Toolbar(), {At.X, At.Y - 20, At.X + 10, At.Y});
  Settle();
  ASSERT_NE(dxBarQuickAddRemoveItem(), nullptr);
  TRect Shot{0, 0, 500, 300};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barscust-quick-menu.png", &Shot);
}

TEST_F(QuickCustTest, PressingTheMarkOpensTheQuickCustomizationMenu) {
  // The flat look gives every toolbar that allows quick customizing a mark.
  ASSERT_TRUE(Toolbar()->IsMarkVisible());
  EXPECT_FALSE(Toolbar()->Truncated());
  const TRect Mark = Toolbar()->MarkRect();
  const TPoint P = AtClient({(Mark.Left + Mark.Right) / 2, (Mark.Top + Mark.Bottom) / 2});
  HeadlessDisplay().Click(P.X, P.Y);
  Settle();
  TdxBarPopupMenu* Popup = Toolbar()->QuickPopup();
  ASSERT_NE(Popup, nullptr);
  ASSERT_NE(Popup->GetBarControl(), nullptr) << "the menu is on screen";
  EXPECT_EQ(Toolbar()->MarkState(), 2);
  ASSERT_EQ(Popup->ItemLinks()->Count(), 1);
  EXPECT_EQ(Popup->ItemLinks()->GetItem(0)->GetItem(), dxBarQuickAddRemoveItem());
  // It opens below the mark.
  TRect R;
  GetWindowRect(Popup->GetBarControl()->Handle(), &R);
  EXPECT_GE(R.Top, AtClient({0, Mark.Bottom}).Y - 1);
  // Closing the menu gives the mark its normal look back.
  Popup->GetBarControl()->HideAll();
  Settle();
  EXPECT_EQ(Toolbar()->MarkState(), 0);
  EXPECT_EQ(Toolbar()->QuickPopup(), nullptr);
}

TEST_F(QuickCustTest, NoMarkWithoutQuickCustomizingWhenEverythingFits) {
  Bar->SetAllowQuickCustomizing(false);
  Window()->Recalculate();
  EXPECT_FALSE(Toolbar()->IsMarkVisible());
}

TEST_F(QuickCustTest, WithoutCustomizingThereIsNoCustomizeEntry) {
  M->SetCanCustomize(false);
  dxBarBuildQuickCustomization(Toolbar());
  TdxBarItemLinks* Rows = dxBarQuickAddRemoveItem()->ItemLinks();
  ASSERT_EQ(Rows->Count(), 3);
  for (Integer I = 0; I < Rows->Count(); ++I) EXPECT_NE(Rows->GetItem(I)->GetItem()->GetCaption(), "&Customize...");
}

}  // namespace
