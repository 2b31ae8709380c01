// The tab control's keys, its arrow buttons' repeat and its button-style
// clicks, on a form in the headless display.
#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsWindowTest.h"
#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"

namespace {

struct TChangeLog : TObject {
  TcxCustomTabControl* C = nullptr;
  std::vector<int> Changes;
  void Changed(TObject*) { Changes.push_back(C->GetTabIndex()); }
};

class TabInputTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 400, 300);
    C = new TcxCustomTabControl(Form.get());
    C->SetParent(Form.get());
    C->SetTabWidth(60);
    Form->Show();
    Pump();
  }
  void TearDown() override {
    Form.reset();
    ControlsWindowTest::TearDown();
  }
  void AddTabs(int N) {
    for (int I = 0; I < N; ++I) C->Tabs()->Add("Tab" + std::to_string(I));
  }
  // Sends one key with modifiers straight to the control's handling.
  bool Handle(WORD Vk, TShiftState Shift = {}) {
    Word K = Vk;
    return C->HandleKey(K, Shift);
  }
  std::unique_ptr<TForm> Form;
  TcxCustomTabControl* C = nullptr;
};

TEST_F(TabInputTest, KeysMoveTheCurrentTab) {
  AddTabs(4);
  C->Tabs()->GetTab(2)->SetEnabled(false);
  const struct {
    int From;
    WORD Key;
    TShiftState Shift;
    bool Handled;
    int To;
  } Cases[] = {
      {0, VK_RIGHT, {}, true, 1},
      {1, VK_RIGHT, {}, true, 3},  // the disabled tab is skipped
      {3, VK_RIGHT, {}, true, 3},  // consumed, nothing changes on the last tab
      {3, VK_TAB, {ssCtrl}, true, 0},
      {0, VK_TAB, {ssCtrl, ssShift}, true, 3},
      {0, VK_TAB, {}, false, 0},
      {0, VK_RIGHT, {ssAlt}, false, 0},
      {3, VK_HOME, {}, true, 0},
      {0, VK_END, {}, true, 3},
      {1, VK_LEFT, {}, true, 0},
      {1, VK_RETURN, {}, false, 1},  // no keyboard-focused tab
  };
  for (auto& K : Cases) {
    C->SetTabIndex(K.From);
    EXPECT_EQ(Handle(K.Key, K.Shift), K.Handled) << K.From << " key " << K.Key;
    EXPECT_EQ(C->GetTabIndex(), K.To) << K.From << " key " << K.Key;
  }
}

TEST_F(TabInputTest, OnTheLeftUpMovesToTheTabAbove) {
  C->SetTabPosition(tpLeft);
  AddTabs(3);
  C->SetTabIndex(0);
  EXPECT_TRUE(Handle(VK_UP));
  EXPECT_EQ(C->GetTabIndex(), 1);
  EXPECT_LT(C->Tabs()->GetTab(1)->Position.Y, C->Tabs()->GetTab(0)->Position.Y);
}

TEST_F(TabInputTest, AClickOnADisabledTabDoesNothing) {
  AddTabs(3);
  C->Tabs()->GetTab(1)->SetEnabled(false);
  TChangeLog Log;
  Log.C = C;
  C->OnChange = TNotifyEvent(&Log, &TChangeLog::Changed);
  const TRect R = C->Tabs()->GetTab(1)->DisplayRect();
  ClickAt(C, {R.Left + 10, R.Top + 5});
  EXPECT_EQ(C->GetTabIndex(), 0);
  const TRect R2 = C->Tabs()->GetTab(2)->DisplayRect();
  ClickAt(C, {R2.Left + 10, R2.Top + 5});
  EXPECT_EQ(C->GetTabIndex(), 2);
  EXPECT_EQ(Log.Changes, (std::vector<int>{2}));
}

TEST_F(TabInputTest, HoldingAnArrowScrollsAtOnceThenRepeats) {
  AddTabs(12);
  TcxPCNavigatorButton B;
  const TRect R = static_cast<TcxPCStandardPainter*>(C->Painter())->NavigatorButtonRect(nbBottomRight);
  ASSERT_FALSE(R.IsEmpty());
  const TPoint P{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  ASSERT_TRUE(C->Painter()->GetNavigatorButtonAt(P.X, P.Y, B));
  Press(C, P);
  EXPECT_EQ(C->FirstShown(), 1);  // at once
  Wait(290);
  EXPECT_EQ(C->FirstShown(), 1);
  Wait(20);
  EXPECT_EQ(C->FirstShown(), 2);  // after 300 ms
  Wait(150);
  EXPECT_EQ(C->FirstShown(), 3);  // then every 150 ms
  Wait(3000);                     // until the button is disabled
  EXPECT_EQ(C->ButtonState(nbBottomRight), nbsDisabled);
  EXPECT_EQ(C->LastShown(), 11);
  const int First = C->FirstShown();
  Wait(600);
  EXPECT_EQ(C->FirstShown(), First);
  Release(C, P);
}

TEST_F(TabInputTest, ButtonStylesSelectSeveralWithCtrlAndFocusWithArrows) {
  C->SetStyle(2);
  AddTabs(3);
  auto Centre = [&](int V) {
    const TRect R = C->VisibleTabs()->GetTab(V)->DisplayRect();
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  };
  D().KeyDown(VK_CONTROL);
  ClickAt(C, Centre(1));
  ClickAt(C, Centre(2));
  D().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_TRUE(C->Tabs()->GetTab(1)->GetSelected());
  EXPECT_TRUE(C->Tabs()->GetTab(2)->GetSelected());
  EXPECT_EQ(C->GetTabIndex(), 0);
  D().KeyDown(VK_CONTROL);
  ClickAt(C, Centre(0));  // Ctrl+click on the current tab leaves none
  D().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(C->GetTabIndex(), -1);
  // Arrows move the focus rectangle; Enter makes that tab current.
  C->SetTabIndex(0);
  EXPECT_TRUE(Handle(VK_RIGHT));
  EXPECT_EQ(C->FocusedTab(), 1);
  EXPECT_EQ(C->GetTabIndex(), 0);
  EXPECT_TRUE(Handle(VK_RETURN));
  EXPECT_EQ(C->GetTabIndex(), 1);
}

}  // namespace
