// The tab list, the tab control's layout (one scrolling row, several rows,
// the navigator buttons) and the painter registry, without windows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"

namespace {

class TabsTest : public ::testing::Test {
protected:
  // The geometry pinned here is the classic Tabs style's.
  void SetUp() override {
    C = std::make_unique<TcxCustomTabControl>(nullptr);
    C->SetStyle(1);
  }
  // N tabs of a fixed width, so that the layout does not hang on fonts.
  void AddTabs(int N, int Width = 60) {
    C->SetTabWidth(SmallInt(Width));
    for (int I = 0; I < N; ++I) C->Tabs()->Add("Tab " + IntToStr(I));
  }
  TcxTab* Tab(int I) { return C->Tabs()->GetTab(I); }
  std::string ExceptionText(const std::function<void()>& F) {
    try {
      F();
    } catch (Exception& E) {
      return E.Message().c_str();
    }
    return "";
  }
  std::unique_ptr<TcxCustomTabControl> C;
};

TEST_F(TabsTest, ANewTabsImageIsItsPositionAndMovingKeepsIt) {
  AddTabs(3);
  for (int I = 0; I < 3; ++I) EXPECT_EQ(Tab(I)->StoredImageIndex(), I);
  TcxTab* First = Tab(0);
  C->Tabs()->Move(0, 2);
  EXPECT_EQ(Tab(2), First);
  EXPECT_EQ(First->Index(), 2);
  EXPECT_EQ(First->StoredImageIndex(), 0);
  Tab(1)->SetImageIndex(-5);
  EXPECT_EQ(Tab(1)->StoredImageIndex(), -1);
}

TEST_F(TabsTest, TheFirstTabInsertedBecomesCurrent) {
  EXPECT_EQ(C->GetTabIndex(), -1);
  C->Tabs()->Add("One");
  EXPECT_EQ(C->GetTabIndex(), 0);
  EXPECT_EQ(C->CurrentVisibleIndex(), 0);
  C->Tabs()->Add("Two");
  EXPECT_EQ(C->GetTabIndex(), 0);
}

TEST_F(TabsTest, AFreedTabLeavesTheListAndClearDoesNotReenterDelete) {
  AddTabs(3);
  delete Tab(1);
  ASSERT_EQ(C->Tabs()->GetCount(), 2);
  EXPECT_EQ(C->Tabs()->Get(1), "Tab 2");
  EXPECT_EQ(Tab(1)->Index(), 1);
  EXPECT_EQ(C->VisibleTabs()->Count(), 2);
  C->Tabs()->Clear();
  EXPECT_EQ(C->Tabs()->GetCount(), 0);
  EXPECT_EQ(C->VisibleTabs()->Count(), 0);
}

TEST_F(TabsTest, BadIndexesRaiseTheirMessages) {
  AddTabs(2);
  Tab(0)->SetVisible(false);
  Tab(1)->SetVisible(false);
  const struct {
    std::function<void()> Call;
    const char* Text;
  } Cases[] = {
      {[&] { C->Tabs()->GetTab(-1); }, "TcxTabs.GetTab: Tab's index (-1) out of bounds"},
      {[&] { C->Tabs()->Get(2); }, "TcxTabs.Get: Tab's index (2) out of bounds"},
      {[&] { C->Tabs()->Delete(5); }, "TcxTabs.Delete: Tab's index (5) out of bounds"},
      {[&] { C->Tabs()->Insert(3, "x"); }, "TcxTabs.Insert: Tab's index (3) out of bounds"},
      {[&] { C->VisibleTabs()->GetTab(0); }, "TcxVisibleTabList.GetTab: There are no visible tabs"},
      {[&] { C->Tabs()->GetVisibleTab(0); }, "TcxTabs.GetVisibleTab: TabVisibleIndex (0) must be between 0 and -1"},
  };
  for (auto& K : Cases) EXPECT_EQ(ExceptionText(K.Call), K.Text);
  Tab(1)->SetVisible(true);
  EXPECT_EQ(ExceptionText([&] { C->VisibleTabs()->GetTab(3); }),
            "TcxVisibleTabList.GetTab: TabVisibleIndex (3) must be between 0 and 0");
}

TEST_F(TabsTest, FindTabIndexGivesThePositionOrWhereItWouldGo) {
  AddTabs(6);
  Tab(1)->SetVisible(false);
  Tab(4)->SetVisible(false);  // visible: 0 2 3 5
  const struct {
    int Index;
    bool Found;
    int Pos;
  } Cases[] = {{0, true, 0}, {1, false, 1}, {3, true, 2}, {4, false, 3}, {5, true, 3}, {9, false, 4}};
  for (auto& K : Cases) {
    int P = -7;
    EXPECT_EQ(C->VisibleTabs()->FindTabIndex(K.Index, P), K.Found) << K.Index;
    EXPECT_EQ(P, K.Pos) << K.Index;
  }
}

TEST_F(TabsTest, TheTabsStyleIgnoresSelectingAnotherTabButtonsSelectSeveral) {
  AddTabs(3);
  Tab(1)->SetSelected(true);
  EXPECT_FALSE(Tab(1)->GetSelected());
  Tab(0)->SetSelected(true);  // the current tab may be
  EXPECT_TRUE(Tab(0)->GetSelected());
  C->SetStyle(2);
  Tab(2)->SetSelected(true);
  EXPECT_TRUE(Tab(2)->GetSelected());
  EXPECT_TRUE(C->MultiSelect());
}

TEST_F(TabsTest, NavigatorButtonsDependOnFitAndOptions) {
  const struct {
    int Tabs;
    TcxPCOptions Options;
    TcxPCNavigatorButtons Shown;
  } Cases[] = {
      {3, {}, {}},
      {3, {pcoCloseButton}, {nbClose}},
      {3, {pcoGoDialog}, {}},
      {8, {}, {nbTopLeft, nbBottomRight}},
      {8, {pcoGoDialog}, {nbTopLeft, nbBottomRight, nbGoDialog}},
      {8, {pcoNoArrows, pcoGoDialog}, {nbGoDialog}},
      {8, {pcoNoArrows}, {nbTopLeft, nbBottomRight}},
      {8, {pcoCloseButton}, {nbTopLeft, nbBottomRight, nbClose}},
  };
  for (auto& K : Cases) {
    C = std::make_unique<TcxCustomTabControl>(nullptr);
    C->SetStyle(1);
    C->SetOptions(K.Options);
    AddTabs(K.Tabs);
    EXPECT_EQ(C->ShownButtons(), K.Shown) << K.Tabs << " tabs";
  }
}

TEST_F(TabsTest, ASingleRowScrollsAndWideningPullsItBack) {
  AddTabs(8);  // 480 pixels of tabs in a 289-pixel control
  EXPECT_EQ(C->FirstShown(), 0);
  EXPECT_FALSE(C->IsNavigatorButtonEnabled(nbTopLeft));
  EXPECT_TRUE(C->IsNavigatorButtonEnabled(nbBottomRight));
  // Tabs 0..4 start inside the 247-pixel row; the fifth ends beyond it.
  EXPECT_EQ(C->LastShown(), 4);
  EXPECT_TRUE(C->VisibleTabs()->GetTab(5)->DisplayRect().IsEmpty());
  for (int K = 0; K < 10; ++K) C->ScrollTabs(nbBottomRight);
  EXPECT_EQ(C->LastShown(), 7);
  EXPECT_TRUE(C->AllFit());
  EXPECT_EQ(C->ButtonState(nbBottomRight), nbsDisabled);
  const int Scrolled = C->FirstShown();
  EXPECT_EQ(Scrolled, 4);
  C->SetWidth(400);
  EXPECT_LT(C->FirstShown(), Scrolled);
  // No empty space at the end: one more tab to the left would not fit.
  const int Last = C->VisibleTabs()->GetTab(7)->LayoutRect().Right;
  EXPECT_LE(Last, C->TabsArea().Rect.Right);
  EXPECT_GT(Last + 60, C->TabsArea().Rect.Right);
}

TEST_F(TabsTest, MakingACurrentTabVisibleScrollsTheRow) {
  AddTabs(8);
  C->SetTabIndex(7);
  EXPECT_EQ(C->LastShown(), 7);
  EXPECT_FALSE(Tab(7)->DisplayRect().IsEmpty());
  C->SetTabIndex(0);
  EXPECT_EQ(C->FirstShown(), 0);
}

TEST_F(TabsTest, FiveTabsWhereFourFitMakeRowsOfThreeAndTwo) {
  C->SetWidth(260);
  C->SetMultiLine(true);
  AddTabs(5);
  ASSERT_EQ(C->RowCount(), 2);
  std::vector<int> Rows;
  for (int I = 0; I < 5; ++I) Rows.push_back(Tab(I)->Row);
  EXPECT_EQ(Rows, (std::vector<int>{0, 0, 0, 1, 1}));
  // Rows are stretched to the row length.
  const int L = C->TabsArea().Length;
  EXPECT_EQ(Tab(0)->NormalWidth + Tab(1)->NormalWidth + Tab(2)->NormalWidth, L);
  EXPECT_EQ(Tab(3)->NormalWidth + Tab(4)->NormalWidth, L);
  // The current tab's row lies next to the page.
  EXPECT_EQ(Tab(0)->DisplayRow, 1);
  EXPECT_GT(Tab(0)->Position.Y, Tab(3)->Position.Y);
  C->SetTabIndex(4);
  EXPECT_EQ(Tab(4)->DisplayRow, 1);
  EXPECT_GT(Tab(4)->Position.Y, Tab(0)->Position.Y);
}

TEST_F(TabsTest, ScrollOppositeMovesTheFollowingRowsBelowThePage) {
  C->SetWidth(260);
  C->SetHeight(200);
  C->SetMultiLine(true);
  C->SetScrollOpposite(true);
  AddTabs(5);
  C->SetTabIndex(1);
  EXPECT_EQ(C->SplitRow(), 1);
  EXPECT_EQ(Tab(1)->Side(), 0);
  EXPECT_EQ(Tab(4)->Side(), 1);
  EXPECT_GT(Tab(4)->Position.Y, 100);
  EXPECT_LT(C->NearGroupRect().Bottom, C->FarGroupRect().Top);
}

TEST_F(TabsTest, ATabLongerThanTheRowGetsARowOfItsOwn) {
  C->SetWidth(260);
  C->SetMultiLine(true);
  C->Tabs()->Add("a");
  C->Tabs()->Add(AnsiString(80, 'W'));
  C->Tabs()->Add("b");
  ASSERT_EQ(C->RowCount(), 3);
  EXPECT_EQ(Tab(0)->Row, 0);
  EXPECT_EQ(Tab(1)->Row, 1);
  EXPECT_EQ(Tab(2)->Row, 2);
  EXPECT_EQ(Tab(1)->NormalWidth, C->TabsArea().Length);
}

TEST_F(TabsTest, LeftTabsRunUpwardsFromTheBottom) {
  C->SetTabPosition(tpLeft);
  AddTabs(3);
  EXPECT_TRUE(C->IsReversedRow());
  EXPECT_GT(Tab(0)->Position.Y, Tab(1)->Position.Y);
  EXPECT_GT(Tab(1)->Position.Y, Tab(2)->Position.Y);
  EXPECT_EQ(Tab(0)->LayoutRect().Bottom, C->TabsArea().End.Y);
  EXPECT_EQ(Tab(0)->DrawKind(), 4);
}

TEST_F(TabsTest, TheClientRectangleIsInsideTheFrameBelowTheTabs) {
  AddTabs(3);
  TRect R = C->Painter()->GetDisplayRect();
  const int TabBottom = Tab(1)->LayoutRect().Bottom;
  EXPECT_EQ(R.Top, TabBottom - 1 + 2);  // the frame's top line under the tabs' last line
  EXPECT_EQ(R.Left, 2);
  EXPECT_EQ(R.Right, C->GetWidth() - 2);
  C->SetHideTabs(true);
  R = C->Painter()->GetDisplayRect();
  EXPECT_EQ(R, (TRect{2, 2, C->GetWidth() - 2, C->GetHeight() - 2}));
  C->SetHideTabs(false);
  C->SetTabPosition(tpBottom);
  R = C->Painter()->GetDisplayRect();
  EXPECT_EQ(R.Top, 2);
  EXPECT_EQ(R.Bottom, Tab(1)->LayoutRect().Top + 1 - 2);
}

TEST_F(TabsTest, HidingTheCurrentTabMovesOnOnlyInAPageControlLikeControl) {
  // The bare tab control keeps its current index; the page control (see
  // the page control tests) moves it.
  AddTabs(3);
  C->SetTabIndex(1);
  Tab(1)->SetVisible(false);
  EXPECT_EQ(C->GetTabIndex(), 1);
  EXPECT_FALSE(Tab(1)->IsCurrent());
}

TEST_F(TabsTest, RotatedTabsAlongTheTopStandUpright) {
  AddTabs(3);
  C->SetRotate(true);
  EXPECT_TRUE(C->IsVerticalText());
  EXPECT_EQ(C->RotatedTabWidth(), 60);
  const TRect R = Tab(0)->LayoutRect();
  EXPECT_EQ(R.Height(), 60);
  EXPECT_EQ(R.Width(), C->Tabs()->TabNormalHeight);
  EXPECT_EQ(Tab(1)->LayoutRect().Left, R.Right);
}

TEST(TabPainterFactory, RegistersOnceAndPicksStylesForLooksAndFeels) {
  RegisterStandardTabPainters();
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCTabsPainterClass());
  const int N = TcxPCPaintersFactory::Count();
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCTabsPainterClass());
  EXPECT_EQ(TcxPCPaintersFactory::Count(), N);
  EXPECT_EQ(TcxPCPaintersFactory::GetPainterClass(2), cxPCButtonsPainterClass());
  EXPECT_EQ(TcxPCPaintersFactory::GetPainterClass(99), nullptr);
  TcxLookAndFeel L(nullptr);
  L.SetKind(lfOffice11);
  L.SetNativeStyle(false);
  EXPECT_EQ(TcxPCPaintersFactory::GetStyleForLookAndFeel(&L), 8);
  // With only the classic styles there is no Office 2003 style: the first one stands in.
  for (TcxPCPainterClass P : {cxPCExtraFlatPainterClass(), cxPCUltraFlatPainterClass(), cxPCFlatPainterClass(),
                              cxPCOffice11PainterClass()})
    TcxPCPaintersFactory::UnregisterTabPainterClass(P);
  EXPECT_EQ(TcxPCPaintersFactory::GetStyleForLookAndFeel(&L), -1);
  EXPECT_EQ(TcxPCPaintersFactory::GetDefaultStyleID(&L), 1);
  RegisterStandardTabPainters();
  EXPECT_EQ(TcxPCPaintersFactory::Count(), N);
  EXPECT_EQ(TcxPCPaintersFactory::GetStyleForLookAndFeel(&L), 8);
  L.SetKind(lfStandard);
  EXPECT_EQ(TcxPCPaintersFactory::GetStyleForLookAndFeel(&L), 1);
  try {
    TcxPCPaintersFactory::GetPainterInstance(nullptr, nullptr);
    ADD_FAILURE();
  } catch (Exception& E) {
    EXPECT_EQ(E.Message(), "TcxPCPaintersFactory.GetPainterInstance: PCPainterClass is nil");
  }
}

}  // namespace
