// Customizing with the mouse: links dragged between bars (moved, copied
// with Ctrl, removed off every bar, left alone on Escape), a nudge that
// starts or ends a group, and the customizing popup's entries.
#include "../extitems/ExtItemsTestSupport.h"

#include "bars/customize/dxBarCustForm.h"
#include "bars/customize/dxBarCustomizing.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

class CustDragTest : public ExtItemsWindowTest {
protected:
  void SetUp() override {
    ExtItemsWindowTest::SetUp();
    A = Add<TdxBarButton>("A", "Alpha");
    B = Add<TdxBarButton>("B", "Beta");
    C = Add<TdxBarButton>("C", "Gamma");
    Second = M->Bars()->Add();
    Second->SetCaption("Second");
    Second->SetName("Second");
    Second->SetDockingStyle(dsTop);
    Second->SetRow(1);
    D = new TdxBarButton(Form);
    D->SetName("D");
    D->SetCaption("Delta");
    Second->ItemLinks()->AddItem(D);
    Second->SetVisible(true);
    Show();
    dxBarSetCustomizing(M, true);
    Settle();
  }
  void TearDown() override {
    if (dxBarCustomizingManager()) dxBarSetCustomizing(dxBarCustomizingManager(), false);
    Settle();
    dxBarFreeAllTempItems();
    ExtItemsWindowTest::TearDown();
  }
  static std::vector<AnsiString> Captions(TdxBar* ABar) {
    std::vector<AnsiString> R;
    for (Integer I = 0; I < ABar->ItemLinks()->Count(); ++I)
      R.push_back(ABar->ItemLinks()->GetItem(I)->GetItem()->GetCaption());
    return R;
  }
  TPoint CentreOf(TdxBar* ABar, Integer Index, int DX = 0) const {
    TdxBarItemLink* L = ABar->ItemLinks()->GetItem(Index);
    const TRect R = L->GetItemRect();
    return ABar->ItemLinks()->BarControl()->ClientToScreen({(R.Left + R.Right) / 2 + DX, (R.Top + R.Bottom) / 2});
  }
  TPoint RightEdgeOf(TdxBar* ABar, Integer Index) const {
    TdxBarItemLink* L = ABar->ItemLinks()->GetItem(Index);
    const TRect R = L->GetItemRect();
    return ABar->ItemLinks()->BarControl()->ClientToScreen({R.Right - 2, (R.Top + R.Bottom) / 2});
  }
  // Presses at From, moves in two steps to To, then releases (or first
  // presses Escape), with Ctrl held throughout when asked.
  static void Drag(TPoint From, TPoint To, bool Ctrl = false, bool Escape = false) {
    HeadlessDisplay().MouseMove(From.X, From.Y);
    if (Ctrl) HeadlessDisplay().KeyDown(VK_CONTROL);
    HeadlessDisplay().MouseDown(From.X, From.Y);
    HeadlessDisplay().MouseMove((From.X + To.X) / 2, (From.Y + To.Y) / 2);
    HeadlessDisplay().MouseMove(To.X, To.Y);
    if (Escape) HeadlessDisplay().KeyPress(VK_ESCAPE);
    HeadlessDisplay().MouseUp(To.X, To.Y);
    if (Ctrl) HeadlessDisplay().KeyUp(VK_CONTROL);
    Settle();
  }
  TdxBarButton *A = nullptr, *B = nullptr, *C = nullptr, *D = nullptr;
  TdxBar* Second = nullptr;
};

TEST_F(CustDragTest, LinksDraggedBetweenBarsMoveCopyOrGoAway) {
  using V = std::vector<AnsiString>;
  // Onto the right half of the last link of the same bar: Alpha moves to the end.
  Drag(CentreOf(Bar, 0), RightEdgeOf(Bar, 2));
  EXPECT_EQ(Captions(Bar), (V{"Beta", "Gamma", "Alpha"}));
  // Onto the other bar: it moves there.
  Drag(CentreOf(Bar, 2), RightEdgeOf(Second, 0));
  EXPECT_EQ(Captions(Bar), (V{"Beta", "Gamma"}));
  EXPECT_EQ(Captions(Second), (V{"Delta", "Alpha"}));
  // With Ctrl held it is copied.
  Drag(CentreOf(Bar, 0), RightEdgeOf(Second, 1), /*Ctrl=*/true);
  EXPECT_EQ(Captions(Bar), (V{"Beta", "Gamma"}));
  EXPECT_EQ(Captions(Second), (V{"Delta", "Alpha", "Beta"}));
  // Off every bar with Ctrl nothing goes; without, the link goes.
  const TPoint Away = Form->ClientToScreen({300, 250});
  Drag(CentreOf(Second, 0), Away, /*Ctrl=*/true);
  EXPECT_EQ(Captions(Second), (V{"Delta", "Alpha", "Beta"}));
  Drag(CentreOf(Second, 0), Away);
  EXPECT_EQ(Captions(Second), (V{"Alpha", "Beta"}));
  EXPECT_NE(M->FindItemByName("D"), nullptr) << "the command stays; only its link went";
  // Escape during a drag leaves everything as it was.
  Drag(CentreOf(Bar, 0), RightEdgeOf(Second, 1), false, /*Escape=*/true);
  EXPECT_EQ(Captions(Bar), (V{"Beta", "Gamma"}));
  EXPECT_EQ(Captions(Second), (V{"Alpha", "Beta"}));
  EXPECT_TRUE(M->IsCustomizing());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CustDragTest, ANudgeAlongTheBarStartsOrEndsAGroup) {
  struct TCase {
    int DX;
    bool Group;
  };
  // Right by 4 starts a group before Beta; 3 changes nothing; left by 4 ends it.
  const TCase Cases[] = {{3, false}, {4, true}, {3, true}, {-4, false}};
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.DX);
    const TPoint P = CentreOf(Bar, 1);
    Drag(P, {P.X + K.DX, P.Y});
    EXPECT_EQ(Captions(Bar), (std::vector<AnsiString>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Bar->ItemLinks()->GetItem(1)->GetStoredBeginGroup(), K.Group);
  }
}

TEST_F(CustDragTest, TheInsertMarkIsDrawnAndErasedWithoutTrace) {
  TCustomdxBarControl* W = Window();
  TdxBarItemControl* Ctl = Bar->ItemLinks()->GetItem(1)->Control();
  ASSERT_NE(Ctl, nullptr);
  const TRect R = Bar->ItemLinks()->GetItem(1)->GetItemRect();
  const TPoint Probe{R.Left + 2, (R.Top + R.Bottom) / 2};
  const COLORREF Before = Pixel(Probe);
  dxBarDrawInsertMark(W, Ctl, false, false, true);
  EXPECT_EQ(Pixel(Probe), (RGB(255, 255, 255) ^ Before) & 0xFFFFFF) << "the I-beam's stem inverts the bar";
  sxtest::SaveShot(Form, "barscust-insert-mark");
  dxBarDrawInsertMark(W, Ctl, false, false, true);
  EXPECT_EQ(Pixel(Probe), Before);
}

TEST_F(CustDragTest, CustomizingPopupChangesTheLinkItWasOpenedOn) {
  TdxBarItemLink* L = Bar->ItemLinks()->GetItem(1);
  // A right click on Beta opens the popup on its link.
  const TPoint P = CentreOf(Bar, 1);
  HeadlessDisplay().MouseDown(P.X, P.Y, TInputButton::Right);
  HeadlessDisplay().MouseUp(P.X, P.Y, TInputButton::Right);
  Settle();
  TdxBarPopupMenu* Popup = dxBarCustomizingPopup();
  ASSERT_NE(Popup, nullptr);
  EXPECT_EQ(dxBarCustomizingPopupLink(), L);
  ASSERT_EQ(Popup->ItemLinks()->Count(), 8);
  EXPECT_EQ(Popup->ItemLinks()->GetItem(2)->GetItem()->GetCaption(), "&Name:");
  EXPECT_EQ(dynamic_cast<TdxBarEdit*>(Popup->ItemLinks()->GetItem(2)->GetItem())->GetText(), "Beta");
  EXPECT_TRUE(dynamic_cast<TdxBarButton*>(Popup->ItemLinks()->GetItem(3)->GetItem())->GetDown())
      << "Default style is down for a link without a style of its own";
  ASSERT_NE(Popup->GetBarControl(), nullptr);
  sxtest::SaveShot(Form, "barscust-customizing-popup");
  TRect Shot;
  GetWindowRect(Popup->GetBarControl()->Handle(), &Shot);
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barscust-customizing-popup-screen.png", &Shot);

  dxBarCustomizingPopupNameChange("Renamed");
  EXPECT_EQ(L->GetCaption(), "Renamed");
  EXPECT_TRUE(L->GetUserDefine().Contains(udCaption));
  dxBarCustomizingPopupEntryClick(5);  // Text Only (in Menus)
  EXPECT_EQ(L->GetUserPaintStyle(), psCaptionInMenu);
  EXPECT_TRUE(L->GetUserDefine().Contains(udPaintStyle));
  dxBarCustomizingPopupEntryClick(7);  // Begin a Group
  EXPECT_TRUE(L->GetStoredBeginGroup());
  dxBarCustomizingPopupEntryClick(0);  // Reset: the item's own caption and style again
  EXPECT_EQ(L->GetCaption(), "Beta");
  EXPECT_FALSE(L->GetUserDefine().Contains(udPaintStyle));
  dxBarCustomizingPopupEntryClick(1);  // Delete
  EXPECT_EQ(Bar->ItemLinks()->Count(), 2);
  EXPECT_EQ(dxBarCustomizingPopupLink(), nullptr);
}

TEST_F(CustDragTest, ABlankNameIsRefusedAndTheCaptionStays) {
  TdxBarItemLink* L = Bar->ItemLinks()->GetItem(0);
  dxBarBuildCustomizingPopup(M, L, Bar->ItemLinks());
  TDialogScript Script;
  Script.Then(IDOK);
  EXPECT_FALSE(dxBarCustomizingPopupNameChange(""));
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_EQ(Script.Asked()[0].Text, "A command name cannot be blank. Please enter a name.");
  EXPECT_TRUE((Script.Asked()[0].Style & MB_ICONMASK) == MB_ICONERROR);
  EXPECT_EQ(L->GetCaption(), "Alpha");
  EXPECT_FALSE(L->GetUserDefine().Contains(udCaption));
}

TEST_F(CustDragTest, FirstLinkCannotBeginAGroupAndAPlainItemHasNoStyles) {
  auto* S = new TdxBarStatic(Form);
  S->SetName("S");
  S->SetCaption("Static");
  Bar->ItemLinks()->AddItem(S);
  TdxBarPopupMenu* P = dxBarBuildCustomizingPopup(M, Bar->ItemLinks()->GetItem(3), Bar->ItemLinks());
  for (Integer Tag = 3; Tag <= 6; ++Tag) EXPECT_FALSE(P->ItemLinks()->GetItem(Tag)->GetItem()->GetStoredEnabled());
  EXPECT_TRUE(dynamic_cast<TdxBarButton*>(P->ItemLinks()->GetItem(3)->GetItem())->GetDown());
  EXPECT_TRUE(P->ItemLinks()->GetItem(7)->GetItem()->GetStoredEnabled());
  P = dxBarBuildCustomizingPopup(M, Bar->ItemLinks()->GetItem(0), Bar->ItemLinks());
  EXPECT_FALSE(P->ItemLinks()->GetItem(7)->GetItem()->GetStoredEnabled());
}

}  // namespace
