// The main window's bars on screen: where they dock, the main menu by
// keyboard and mouse, hints, context menus of bound controls, and a toolbar
// dragged off its site and back.
#include "BarWindowsTestSupport.h"
#include "bars/extitems/dxBarExtItems.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

#include "bars/windows/dxBarWindowsInternal.h"

TEST_F(BarWindowsTest, MainWindowBarsDockInTheirSitesAndRows) {
  ShowMainWindow();
  TdxDockControl* Top = W.M->Bars()->GetDockControl(dsTop);
  ASSERT_NE(Top, nullptr);
  ASSERT_EQ(Top->RowCount(), 2);
  // Row 0: the main menu alone across the whole width.
  ASSERT_EQ(Top->Row(0)->ColCount(), 1);
  TdxBarControl* Menu = WindowOf(W.MenuBar);
  ASSERT_NE(Menu, nullptr);
  EXPECT_EQ(Top->Row(0)->Col(0)->BarControl(), Menu);
  EXPECT_EQ(Menu->GetWidth(), Top->GetWidth());
  // Row 1: Standard then Edit, side by side without overlap.
  ASSERT_EQ(Top->Row(1)->ColCount(), 2);
  TdxBarControl* Standard = WindowOf(W.StandardBar);
  TdxBarControl* Edit = WindowOf(W.EditBar);
  EXPECT_EQ(Top->Row(1)->Col(0)->BarControl(), Standard);
  EXPECT_EQ(Top->Row(1)->Col(1)->BarControl(), Edit);
  EXPECT_GE(Edit->GetLeft(), Standard->GetLeft() + Standard->GetWidth());
  EXPECT_EQ(Standard->GetTop(), Menu->GetHeight());
  EXPECT_EQ(Top->GetHeight(), Menu->GetHeight() + Standard->GetHeight());
  // The page toolbars sit in their placed sites.
  EXPECT_EQ(WindowOf(W.SingleFileBar)->DockControl(), W.DockSingleFile);
  EXPECT_EQ(WindowOf(W.OutputBar)->DockControl(), W.DockOutput);
  EXPECT_EQ(W.DockOutput->GetHeight(), WindowOf(W.OutputBar)->GetHeight());
  // Every shown link has a place inside its window.
  for (TdxBar* B : {W.MenuBar, W.StandardBar, W.EditBar, W.SingleFileBar}) {
    TdxBarItemLinks* L = B->ItemLinks();
    ASSERT_GT(L->GetShownCount(), 0) << B->GetCaption();
    for (Integer I = 0; I < L->GetShownCount(); ++I) {
      TRect R = L->GetShownLink(I)->GetItemRect();
      EXPECT_FALSE(R.IsEmpty()) << B->GetCaption() << " link " << I;
      EXPECT_LE(R.Right, WindowOf(B)->ClientWidth()) << B->GetCaption() << " link " << I;
    }
  }
  // The stored place follows the window.
  EXPECT_EQ(W.EditBar->GetRow(), 1);
  EXPECT_EQ(W.EditBar->GetDockedLeft(), Edit->GetLeft());
  sxtest::SaveShot(W.Form, "barswin-main-window");
}

TEST_F(BarWindowsTest, AltAloneOpensMenuModeAndArrowsAndEnterRunACommand) {
  ShowMainWindow();
  TdxBarControl* Menu = WindowOf(W.MenuBar);
  HeadlessDisplay().KeyPress(VK_MENU);
  Settle();
  ASSERT_EQ(GetActiveBarControl(), Menu) << "Alt pressed and released alone enters menu mode";
  EXPECT_EQ(Menu->SelectedControl(), W.MenuBar->ItemLinks()->GetItem(0)->Control()) << "the first title";
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr) << "no menu opens yet";
  sxtest::Key(VK_DOWN);
  Settle();
  TdxBarSubMenuControl* File = MenuOf(W.Item("FileMenu"));
  ASSERT_NE(File, nullptr);
  EXPECT_TRUE(IsWindowVisible(File->Handle()));
  EXPECT_EQ(File->SelectedControl(), LinkOf(File->ItemLinks(), W.Item("ExportSingleFile"))->Control())
      << "opened by the keyboard, the first entry is selected";
  sxtest::SaveShot(W.Form, "barswin-file-menu");
  // Right moves on to the next title and opens its menu.
  sxtest::Key(VK_RIGHT);
  Settle();
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  TdxBarSubMenuControl* EditMenu = MenuOf(W.Item("EditMenu"));
  ASSERT_NE(EditMenu, nullptr);
  // Down twice from Undo reaches Cut; Enter runs it and closes everything.
  sxtest::Key(VK_DOWN);
  sxtest::Key(VK_DOWN);
  Settle();
  EXPECT_EQ(EditMenu->SelectedControl()->GetItem(), W.Item("Cut"));
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(W.Clicks["Cut"], 1);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_EQ(MenuOf(W.Item("EditMenu")), nullptr);
  EXPECT_EQ(Menu->SelectedControl(), nullptr);
}

TEST_F(BarWindowsTest, AltWithAMnemonicOpensThatMenuAndEscapeGoesBack) {
  ShowMainWindow();
  HeadlessDisplay().KeyDown(VK_MENU);
  HeadlessDisplay().KeyPress('E');
  HeadlessDisplay().KeyUp(VK_MENU);
  Settle();
  TdxBarSubMenuControl* Edit = MenuOf(W.Item("EditMenu"));
  ASSERT_NE(Edit, nullptr) << "Alt+E opens the Edit menu";
  EXPECT_EQ(Edit->SelectedControl()->GetItem(), W.Item("Undo"));
  EXPECT_EQ(W.Clicks["Undo"], 0);
  // The menu's own accelerator runs its entry (Find Next: "Find &Next").
  sxtest::Key('N');
  Settle();
  EXPECT_EQ(W.Clicks["FindNext"], 1);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  // Escape closes the menu, the menu bar stays in menu mode on its title.
  HeadlessDisplay().KeyDown(VK_MENU);
  HeadlessDisplay().KeyPress('F');
  HeadlessDisplay().KeyUp(VK_MENU);
  Settle();
  ASSERT_NE(MenuOf(W.Item("FileMenu")), nullptr);
  sxtest::Key(VK_ESCAPE);
  Settle();
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  EXPECT_EQ(GetActiveBarControl(), WindowOf(W.MenuBar));
  sxtest::Key(VK_ESCAPE);
  Settle();
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(BarWindowsTest, AltHeldWhileAnotherKeyIsPressedDoesNotOpenTheMenu) {
  ShowMainWindow();
  HeadlessDisplay().KeyDown(VK_MENU);
  HeadlessDisplay().KeyPress(VK_F2);
  HeadlessDisplay().KeyUp(VK_MENU);
  Settle();
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(BarWindowsTest, ShortCutsRunFromAnywhereOnTheFormButNotFromHiddenToolbars) {
  ShowMainWindow();
  W.InputMemo->SetFocus();
  Settle();
  sxtest::Key(VK_F8);  // Options: on the Tools menu only
  Settle();
  EXPECT_EQ(W.Clicks["Options"], 1);
  sxtest::Key('Z', true);  // Undo: menu and Edit toolbar
  Settle();
  EXPECT_EQ(W.Clicks["Undo"], 1);
  // The batch toolbar's Insert key lives on a visible bar in a hidden site
  // and on the Multiple Files menu: the menu still finds it.
  W.Item("MultipleFilesMenu")->SetVisible(ivNever);
  W.BatchBar->SetVisible(false);
  Settle();
  sxtest::Key(VK_INSERT);
  Settle();
  EXPECT_EQ(W.Clicks["AddFile"], 0);
}

TEST_F(BarWindowsTest, MouseOpensMenusThatFollowThePointerAndClosesThemOutside) {
  ShowMainWindow();
  TdxBarItemLinks* Main = W.MenuBar->ItemLinks();
  ClickScreen(CentreOf(Main->GetItem(0)));
  Settle();
  TdxBarSubMenuControl* File = MenuOf(W.Item("FileMenu"));
  ASSERT_NE(File, nullptr);
  EXPECT_EQ(File->SelectedControl(), nullptr) << "opened by the mouse, nothing is selected";
  // Moving along the menu bar switches menus.
  TPoint P = CentreOf(Main->GetItem(2));
  HeadlessDisplay().MouseMove(P.X, P.Y);
  Settle();
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  TdxBarSubMenuControl* Single = MenuOf(W.Item("SingleFileMenu"));
  ASSERT_NE(Single, nullptr);
  // A click on an entry runs it.
  ClickScreen(CentreOf(LinkOf(Single->ItemLinks(), W.Item("SaveOutput"))));
  Settle();
  EXPECT_EQ(W.Clicks["SaveOutput"], 1);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  // A click on the form closes an open menu without running anything.
  ClickScreen(CentreOf(Main->GetItem(1)));
  Settle();
  ASSERT_NE(MenuOf(W.Item("EditMenu")), nullptr);
  sxtest::ClickAt(W.InputMemo, 40, 40);
  Settle();
  EXPECT_EQ(MenuOf(W.Item("EditMenu")), nullptr);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(BarWindowsTest, ToolbarButtonClicksAndTheDropDownArrowOpensItsMenu) {
  ShowMainWindow();
  TdxBarItemLink* Export = LinkOf(W.StandardBar->ItemLinks(), W.Item("ExportSingleFile"));
  ASSERT_NE(Export, nullptr);
  TCustomdxBarControl* Bar = Export->Links()->BarControl();
  TRect R = Export->GetItemRect();
  // The main part runs the command.
  ClickScreen(Bar->ClientToScreen({R.Left + 4, (R.Top + R.Bottom) / 2}));
  Settle();
  EXPECT_EQ(W.Clicks["ExportSingleFile"], 1);
  // The arrow part drops the convert menu instead.
  ClickScreen(Bar->ClientToScreen({R.Right - 3, (R.Top + R.Bottom) / 2}));
  Settle();
  EXPECT_EQ(W.Clicks["ExportSingleFile"], 1);
  TdxBarSubMenuControl* Popup = W.PopupConvert->GetBarControl();
  ASSERT_NE(Popup, nullptr);
  EXPECT_EQ(Popup->GetTop(), Bar->ClientToScreen({0, R.Bottom}).Y);
  ClickScreen(CentreOf(LinkOf(W.PopupConvert->ItemLinks(), W.Item("ConvertToPDF"))));
  Settle();
  EXPECT_EQ(W.Clicks["ConvertToPDF"], 1);
  EXPECT_EQ(W.PopupConvert->GetBarControl(), nullptr);
}

TEST_F(BarWindowsTest, HintsShowAfterTheirPauseAndHideAgain) {
  ShowMainWindow();
  TdxBarItemLink* Undo = LinkOf(W.EditBar->ItemLinks(), W.Item("Undo"));
  TPoint P = CentreOf(Undo);
  HeadlessDisplay().MouseMove(P.X, P.Y);
  Settle();
  TdxBarHintWindow* Hint = dxBarHintWindow();
  ASSERT_NE(Hint, nullptr);
  EXPECT_FALSE(Hint->IsHintShowing());
  Wait(900);
  EXPECT_FALSE(Hint->IsHintShowing()) << "not before its pause";
  Wait(200);
  ASSERT_TRUE(Hint->IsHintShowing());
  EXPECT_EQ(Hint->GetCaption(), "Undo (Ctrl+Z)") << "the shortcut follows the hint";
  EXPECT_GE(Hint->GetTop(), P.Y + 20);
  // A neighbour right after shows its hint at once.
  TPoint Q = CentreOf(LinkOf(W.EditBar->ItemLinks(), W.Item("Redo")));
  HeadlessDisplay().MouseMove(Q.X, Q.Y);
  Settle();
  EXPECT_TRUE(Hint->IsHintShowing());
  EXPECT_EQ(Hint->GetCaption(), "Redo (Shift+Ctrl+Z)");
  Wait(10100);
  EXPECT_FALSE(Hint->IsHintShowing()) << "hidden after ten seconds";
  // Menu entries never show item hints.
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(1)));
  Settle();
  HeadlessDisplay().MouseMove(CentreOf(LinkOf(MenuOf(W.Item("EditMenu"))->ItemLinks(), W.Item("Undo"))).X,
                              CentreOf(LinkOf(MenuOf(W.Item("EditMenu"))->ItemLinks(), W.Item("Undo"))).Y);
  Wait(1200);
  EXPECT_FALSE(Hint->IsHintShowing());
}

TEST_F(BarWindowsTest, RightClickOnABoundControlOpensItsPopupMenuWhichRunsItsItem) {
  ShowMainWindow();
  int Idles = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    TdxBarSubMenuControl* Popup = W.PopupMemo->GetBarControl();
    if (!Popup || ++Idles > 3) return false;
    ClickScreen(CentreOf(LinkOf(W.PopupMemo->ItemLinks(), W.Item("Paste"))));
    return true;
  });
  sxtest::ClickAt(W.OutputMemo, 30, 30);
  TPoint P = W.OutputMemo->ClientToScreen({30, 30});
  HeadlessDisplay().Click(P.X, P.Y, TInputButton::Right);
  Settle();
  EXPECT_EQ(W.Clicks["Paste"], 1);
  EXPECT_EQ(W.PopupMemo->GetBarControl(), nullptr);
  EXPECT_FALSE(W.PopupMemo->PoppedUp());
}

TEST_F(BarWindowsTest, PopupMenuLinkOnActionCanRefuseAndChildrenFollowProcessChildren) {
  ShowMainWindow();
  TdxBarPopupMenuLinks* Links = dxBarPopupMenuLinks(W.M);
  struct TRefuse : TObject {
    int Calls = 0;
    void Action(TdxBarPopupMenuLink*, Integer&, Integer&, bool, bool& Allow) {
      ++Calls;
      Allow = false;
    }
  } Refuse;
  Links->GetItem(0)->OnAction = TdxBarPopupMenuLinkActionEvent(&Refuse, &TRefuse::Action);
  EXPECT_TRUE(Links->ProcessContextMenu(W.InputMemo, W.InputMemo->ClientToScreen({5, 5})) == false);
  EXPECT_EQ(Refuse.Calls, 1);
  EXPECT_EQ(W.PopupMemo->GetBarControl(), nullptr);
  // A link on the panel serves its child only with ProcessChildren.
  Links->GetItem(0)->SetControl(W.InputMemo->GetParent());
  Links->GetItem(0)->OnAction = nullptr;
  Links->GetItem(0)->SetProcessChildren(false);
  EXPECT_FALSE(Links->ProcessShortCut(W.InputMemo, TextToShortCut("Ctrl+X")));
  Links->GetItem(0)->SetProcessChildren(true);
  EXPECT_TRUE(Links->ProcessShortCut(W.InputMemo, TextToShortCut("Ctrl+X")));
  EXPECT_EQ(W.Clicks["Cut"], 1);
}

TEST_F(BarWindowsTest, ToolbarDraggedOffItsSiteFloatsAndDocksBackIntoANewRow) {
  ShowMainWindow();
  W.M->SetWaitForDockingTime(0);
  TdxBarControl* Edit = WindowOf(W.EditBar);
  TdxDockControl* Top = W.M->Bars()->GetDockControl(dsTop);
  TPoint Grip = Edit->ClientToScreen({4, Edit->GetHeight() / 2});
  // Off the site into the middle of the form: it floats.
  HeadlessDisplay().MouseDown(Grip.X, Grip.Y);
  HeadlessDisplay().MouseMove(Grip.X + 10, Grip.Y + 100);
  HeadlessDisplay().MouseMove(300, 350);
  HeadlessDisplay().MouseUp(300, 350);
  Settle();
  ASSERT_TRUE(IsLiveBarControl(Edit));
  EXPECT_EQ(Edit->DockingStyle(), dsNone);
  EXPECT_EQ(W.EditBar->GetDockingStyle(), dsNone);
  EXPECT_EQ(Top->RowCount(), 2);
  EXPECT_EQ(Top->Row(1)->ColCount(), 1) << "the Standard toolbar keeps row 1 alone";
  EXPECT_TRUE(IsWindowVisible(Edit->Handle()));
  EXPECT_EQ(W.EditBar->GetFloatLeft(), Edit->GetLeft());
  sxtest::SaveShot(W.Form, "barswin-floating");
  TRect Shot{0, 0, 1024, 768};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barswin-floating-screen.png", &Shot);
  // Its caption dragged below the last row: it docks in a new row there.
  TPoint Caption = Edit->ClientToScreen({20, 8});
  TRect Site;
  GetWindowRect(Top->Handle(), &Site);
  HeadlessDisplay().MouseDown(Caption.X, Caption.Y);
  HeadlessDisplay().MouseMove(Site.Left + 100, Site.Bottom + 15);
  HeadlessDisplay().MouseUp(Site.Left + 100, Site.Bottom + 15);
  Settle();
  EXPECT_EQ(Edit->DockingStyle(), dsTop);
  EXPECT_EQ(Edit->DockControl(), Top);
  ASSERT_EQ(Top->RowCount(), 3);
  EXPECT_EQ(Top->Row(2)->Col(0)->BarControl(), Edit);
  EXPECT_EQ(W.EditBar->GetRow(), 2);
  EXPECT_TRUE(W.EditBar->GetOneOnRow());
}

TEST_F(BarWindowsTest, FloatingBarWaitsBeforeItSnapsIntoASiteAndCtrlKeepsItFloating) {
  ShowMainWindow();
  TdxBarControl* Standard = WindowOf(W.StandardBar);
  TdxDockControl* Top = W.M->Bars()->GetDockControl(dsTop);
  TPoint Grip = Standard->ClientToScreen({4, Standard->GetHeight() / 2});
  TRect Site;
  GetWindowRect(Top->Handle(), &Site);
  int Steps = 0;
  // The user floats the bar, brings it back over the site and holds still.
  // Each move is its own step: moves queued together collapse into the last.
  HeadlessDisplay().SetIdleHandler([&] {
    switch (++Steps) {
      case 1:
        HeadlessDisplay().MouseMove(400, 400);
        return true;
      case 2:
        EXPECT_EQ(Standard->DockingStyle(), dsNone) << "off the site it floats";
        HeadlessDisplay().MouseMove(Site.Left + 200, Site.Bottom + 10);
        return true;
      case 3:
        EXPECT_EQ(Standard->DockingStyle(), dsNone) << "not before the docking delay";
        AdvanceClock(30);
        return true;
      case 4:
        HeadlessDisplay().MouseUp(Site.Left + 200, Site.Bottom + 10);
        return true;
      default:
        return false;
    }
  });
  HeadlessDisplay().MouseDown(Grip.X, Grip.Y);
  Settle();
  EXPECT_EQ(Standard->DockingStyle(), dsTop);
  // With Ctrl held a bar over a site stays floating.
  HeadlessDisplay().SetIdleHandler(nullptr);
  Grip = Standard->ClientToScreen({4, Standard->GetHeight() / 2});
  HeadlessDisplay().KeyDown(VK_CONTROL);
  HeadlessDisplay().MouseDown(Grip.X, Grip.Y);
  HeadlessDisplay().MouseMove(Grip.X + 30, Grip.Y + 2);
  HeadlessDisplay().MouseUp(Grip.X + 30, Grip.Y + 2);
  HeadlessDisplay().KeyUp(VK_CONTROL);
  Settle();
  EXPECT_EQ(Standard->DockingStyle(), dsNone);
}

TEST_F(BarWindowsTest, DoubleClickOnTheGripFloatsAndOnTheCaptionDocksBack) {
  ShowMainWindow();
  TdxBarControl* Edit = WindowOf(W.EditBar);
  TPoint Grip = Edit->ClientToScreen({4, 8});
  HeadlessDisplay().Click(Grip.X, Grip.Y);
  HeadlessDisplay().Click(Grip.X, Grip.Y);
  Settle();
  ASSERT_EQ(Edit->DockingStyle(), dsNone);
  TPoint Caption = Edit->ClientToScreen({10, 8});
  HeadlessDisplay().Click(Caption.X, Caption.Y);
  HeadlessDisplay().Click(Caption.X, Caption.Y);
  Settle();
  EXPECT_EQ(Edit->DockingStyle(), dsTop);
  EXPECT_EQ(Edit->DockControl(), W.M->Bars()->GetDockControl(dsTop));
}

TEST_F(BarWindowsTest, FloatingCloseButtonClosesOnlyWhenReleasedInside) {
  ShowMainWindow();
  W.EditBar->SetDockingStyle(dsNone);
  W.EditBar->SetVisible(false);
  W.EditBar->SetFloatLeft(200);
  W.EditBar->SetFloatTop(300);
  W.EditBar->SetVisible(true);
  Settle();
  TdxBarControl* Edit = WindowOf(W.EditBar);
  ASSERT_NE(Edit, nullptr);
  ASSERT_EQ(Edit->DockingStyle(), dsNone);
  TPoint X = Edit->ClientToScreen({Edit->GetWidth() - 9, 9});
  HeadlessDisplay().MouseDown(X.X, X.Y);
  HeadlessDisplay().MouseUp(X.X - 60, X.Y + 40);
  Settle();
  EXPECT_TRUE(W.EditBar->GetVisible()) << "released outside the button";
  EXPECT_FALSE(dxBarCaptionButtonFlag());
  HeadlessDisplay().Click(X.X, X.Y);
  Settle();
  EXPECT_FALSE(W.EditBar->GetVisible());
  EXPECT_EQ(W.EditBar->ItemLinks()->BarControl(), nullptr);
}

TEST_F(BarWindowsTest, BarAreaPixels) {
  ShowMainWindow();
  // The form's own Office 2003 look paints gradients; the plain face colours
  // checked here are the Standard style's (the styles' goldens cover the rest).
  W.M->SetStyle(bmsStandard);
  Settle();
  sxtest::SaveShot(W.Form, "barswin-bar-area");
  TdxBarControl* Menu = WindowOf(W.MenuBar);
  TdxBarControl* Edit = WindowOf(W.EditBar);
  // The bar face between items, and a separator-free gap after the last item.
  TRect Last = W.EditBar->ItemLinks()->GetShownLink(W.EditBar->ItemLinks()->GetShownCount() - 1)->GetItemRect();
  EXPECT_EQ(sxtest::PixelAt(Edit, Last.Right, Edit->GetHeight() / 2), GetSysColor(COLOR_BTNFACE));
  // A menu title's text is drawn in the button text colour somewhere inside.
  TRect Title = W.MenuBar->ItemLinks()->GetShownLink(0)->GetItemRect();
  bool Ink = false;
  for (Integer X = Title.Left; X < Title.Right && !Ink; ++X)
    for (Integer Y = Title.Top; Y < Title.Bottom && !Ink; ++Y)
      Ink = sxtest::PixelAt(Menu, X, Y) == GetSysColor(COLOR_BTNTEXT);
  EXPECT_TRUE(Ink);
  // Hot tracking frames the hot button.
  TdxBarItemLink* Undo = LinkOf(W.EditBar->ItemLinks(), W.Item("Undo"));
  TPoint P = CentreOf(Undo);
  HeadlessDisplay().MouseMove(P.X, P.Y);
  Settle();
  EXPECT_NE(sxtest::PixelAt(Edit, Undo->GetItemRect().Left, Undo->GetItemRect().Top + 3), GetSysColor(COLOR_BTNFACE));
  sxtest::SaveShot(W.Form, "barswin-hot-button");
}

// Running a menu entry counts a use of its link and of the title that
// opened the menu; a drop-down menu counts one of its button.
TEST_F(BarWindowsTest, AUseInAMenuCountsForTheLinkThatOpenedIt) {
  ShowMainWindow();
  TdxBarItemLink* Title = W.MenuBar->ItemLinks()->GetItem(1);
  const Integer TitleUses = Title->UseCount();
  ClickScreen(CentreOf(Title));
  Settle();
  TdxBarItemLink* Cut = LinkOf(MenuOf(W.Item("EditMenu"))->ItemLinks(), W.Item("Cut"));
  const Integer CutUses = Cut->UseCount();
  ClickScreen(CentreOf(Cut));
  Settle();
  EXPECT_EQ(W.Clicks["Cut"], 1);
  EXPECT_EQ(Cut->UseCount(), CutUses + 1);
  EXPECT_EQ(Title->UseCount(), TitleUses + 1);
}

// The manager holds its popup-menu links: they are its published collection,
// owned by it, and assigning another collection copies the links into it.
TEST_F(BarWindowsTest, PopupMenuLinksAreTheManagersOwnAndAssignedInto) {
  ShowMainWindow();
  TdxBarPopupMenuLinks* Links = W.M->GetPopupMenuLinks();
  ASSERT_NE(Links, nullptr);
  EXPECT_EQ(dxBarPopupMenuLinks(W.M), Links);
  EXPECT_EQ(Links->BarManager(), W.M);
  TdxBarPopupMenuLinks Other(W.M);
  TdxBarPopupMenuLink* L = Other.Add();
  L->SetControl(W.InputMemo);
  L->SetPopupMenu(W.PopupMemo);
  L->SetProcessChildren(false);
  W.M->SetPopupMenuLinks(&Other);
  EXPECT_EQ(W.M->GetPopupMenuLinks(), Links) << "assigned into, not replaced";
  ASSERT_EQ(Links->Count(), 1);
  EXPECT_EQ(Links->GetItem(0)->GetControl(), W.InputMemo);
  EXPECT_EQ(Links->GetItem(0)->GetPopupMenu(), W.PopupMemo);
  EXPECT_FALSE(Links->GetItem(0)->GetProcessChildren());
  // The copied link works: the linked menu's shortcut runs in the memo.
  EXPECT_TRUE(Links->ProcessShortCut(W.InputMemo, TextToShortCut("Ctrl+X")));
  EXPECT_EQ(W.Clicks["Cut"], 1);
}

// The form may free its manager before the dock sites placed on it: the
// sites forget the manager, still paint, and go later without touching it.
TEST_F(BarWindowsTest, PlacedDockSitesOutliveTheirManager) {
  ShowMainWindow();
  ASSERT_EQ(W.DockSingleFile->BarManager(), W.M);
  delete W.M;
  W.M = nullptr;
  for (TdxBarDockControl* D : {W.DockSingleFile, W.DockOutput, W.DockBatch}) {
    EXPECT_EQ(D->BarManager(), nullptr);
    EXPECT_EQ(D->RowCount(), 0);
    D->Invalidate();
  }
  Settle();
  delete W.DockOutput;  // a site going after its manager must not reach it
  W.DockOutput = nullptr;
  Settle();
}

// Lists and containers in a menu show their entries in place of their own
// link while the menu is open: a list one numbered entry per string (a "-"
// starts a group), a container copies of its links; choosing a list entry
// sets the list's ItemIndex and runs its click. Closed, the menu's links
// are as before.
TEST_F(BarWindowsTest, ListsAndContainersUnfoldIntoTheirMenusEntries) {
  ShowMainWindow();
  auto* Recent = new TdxBarMRUListItem(W.Form);
  Recent->SetName("RecentProjects");
  Recent->SetCaption("Recent Projects");
  for (const char* S : {"/projects/alpha.slx", "-", "/projects/beta.slx"}) Recent->Items()->Add(S);
  Recent->OnClick = TNotifyEvent(&W.Counter, &sxfixture::TMainWindowBars::TCounter::Click);
  auto* Help = new TdxBarContainerItem(W.Form);
  Help->SetName("HelpEntries");
  Help->ItemLinks()->AddItem(W.Item("HomePage"));
  Help->ItemLinks()->AddItem(W.Item("AboutBtn"));
  TdxBarItemLinks* File = static_cast<TCustomdxBarSubItem*>(W.Item("FileMenu"))->ItemLinks();
  const Integer Before = File->Count();
  File->AddItem(Recent)->SetBeginGroup(true);
  File->AddItem(Help);
  File->AddItem(W.Item("ExitBtn"));
  Settle();

  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(0)));
  Settle();
  TdxBarSubMenuControl* Menu = MenuOf(W.Item("FileMenu"));
  ASSERT_NE(Menu, nullptr);
  sxtest::SaveShot(W.Form, "barswin-unfolded-lists");
  std::vector<AnsiString> Tail;
  for (Integer I = File->GetShownCount() - 6; I < File->GetShownCount(); ++I)
    Tail.push_back(File->GetShownLink(I)->GetCaption());
  EXPECT_EQ(Tail, (std::vector<AnsiString>{"E&xit", "&1 /projects/alpha.slx", "&2 /projects/beta.slx",
                                           "Lumivex &Home Page", "&About", "E&xit"}));
  TdxBarItemLink* Second = File->GetShownLink(File->GetShownCount() - 4);
  EXPECT_TRUE(Second->GetBeginGroup()) << "the separator string starts a group";
  EXPECT_NE(Second->Control(), nullptr);
  EXPECT_EQ(LinkOf(File, Recent)->GetShownIndex(), -1) << "the list's own link gives way to its entries";

  ClickScreen(CentreOf(Second));
  Settle();
  EXPECT_EQ(Recent->GetItemIndex(), 2);
  EXPECT_EQ(W.Clicks["RecentProjects"], 1);
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  EXPECT_EQ(File->Count(), Before + 3) << "the entries left with the menu";
  EXPECT_EQ(LinkOf(File, Recent)->GetShownIndex(), Before);

  // The next opening shows the strings as they are now.
  Recent->Items()->Add("/projects/gamma.slx");
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(0)));
  Settle();
  ASSERT_NE(MenuOf(W.Item("FileMenu")), nullptr);
  EXPECT_EQ(File->GetShownLink(Before + 2)->GetCaption(), "&3 /projects/gamma.slx");
  const TPoint Away = W.InputMemo->ClientToScreen({40, 60});
  ClickScreen(Away);
  Settle();
  ASSERT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  EXPECT_EQ(File->Count(), Before + 3);

  // A container freed while its entries are shown leaves none behind.
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(0)));
  Settle();
  ASSERT_NE(MenuOf(W.Item("FileMenu")), nullptr);
  delete Help;
  Settle();
  ClickScreen(Away);
  Settle();
  EXPECT_EQ(MenuOf(W.Item("FileMenu")), nullptr);
  EXPECT_EQ(File->Count(), Before + 2);
}

// A tall item makes its row as thick as it needs: the bar and its row
// neighbour grow alike, the dock site with them, and the rows below move.
TEST_F(BarWindowsTest, ARowGrowsForATallItem) {
  ShowMainWindow();
  TdxBarControl* Edit = WindowOf(W.EditBar);
  TdxBarControl* Standard = WindowOf(W.StandardBar);
  ASSERT_EQ(Edit->DockControl(), Standard->DockControl());
  ASSERT_EQ(Edit->GetTop(), Standard->GetTop()) << "the two share a row";
  TdxDockControl* Top = Edit->DockControl();
  const Integer Height = Edit->GetHeight(), SiteHeight = Top->GetHeight();
  auto* Big = new TdxBarLargeButton(W.Form);
  Big->SetName("Big");
  Big->SetCaption("Big");
  TdxBarItemLink* L = W.EditBar->ItemLinks()->AddItem(Big);
  Settle();
  ASSERT_NE(L->Control(), nullptr);
  const Integer Tall = L->Control()->GetHeight();
  ASSERT_GT(Tall, Height);
  EXPECT_GE(Edit->GetHeight(), Tall);
  EXPECT_EQ(Standard->GetHeight(), Edit->GetHeight());
  EXPECT_EQ(Top->GetHeight(), SiteHeight + Edit->GetHeight() - Height);
  EXPECT_LE(L->GetItemRect().Bottom, Edit->GetClientRect().Bottom);
  // The neighbour's own items stay centred in its thicker window.
  const TRect First = W.StandardBar->ItemLinks()->GetShownLink(0)->GetItemRect();
  EXPECT_NEAR(First.Top + First.Bottom, Standard->GetHeight(), 2);
  sxtest::SaveShot(W.Form, "barswin-tall-row");
}

// A form description binds popup menus to controls through the manager's
// links: the control and the menu are read by name, also when they are
// described after the manager.
TEST_F(BarWindowsTest, PopupMenuLinksReadTheirControlAndMenuFromTheFormDescription) {
  RegisterClasses({TForm::StaticClass(), TMemo::StaticClass(), TdxBarPopupMenu::StaticClass()});
  const char* const Text =
      "object LinkForm: TForm\r\n"
      "  object dxBarManager: TdxBarManager\r\n"
      "    PopupMenuLinks = <\r\n"
      "      item\r\n"
      "        Control = Notes\r\n"
      "        PopupMenu = NotesMenu\r\n"
      "        ProcessChildren = False\r\n"
      "      end>\r\n"
      "    object Undo: TdxBarButton\r\n"
      "      Caption = '&Undo'\r\n"
      "      ShortCut = 16474\r\n"
      "    end\r\n"
      "  end\r\n"
      "  object Notes: TMemo\r\n"
      "  end\r\n"
      "  object NotesMenu: TdxBarPopupMenu\r\n"
      "    ItemLinks = <\r\n"
      "      item\r\n"
      "        Item = Undo\r\n"
      "      end>\r\n"
      "  end\r\n"
      "end\r\n";
  auto* Form = new TForm(App.get());
  TextToComponent(Text, Form);
  TdxBarManager* M = GetBarManagerOfForm(Form);
  ASSERT_NE(M, nullptr);
  ASSERT_EQ(M->GetPopupMenuLinks()->Count(), 1);
  TdxBarPopupMenuLink* L = M->GetPopupMenuLinks()->GetItem(0);
  EXPECT_EQ(L->GetControl(), Form->FindComponent("Notes"));
  EXPECT_EQ(L->GetPopupMenu(), Form->FindComponent("NotesMenu"));
  EXPECT_FALSE(L->GetProcessChildren());
  // The menu going takes it out of the link.
  delete Form->FindComponent("NotesMenu");
  EXPECT_EQ(L->GetPopupMenu(), nullptr);
}

// A toolbar squeezed below its items' length shows the mark; pressing it
// opens a menu of exactly the hidden items, which run as on the toolbar.
TEST_F(BarWindowsTest, MarkOfASqueezedToolbarOpensItsHiddenItems) {
  ShowMainWindow();
  TdxBarControl* Edit = WindowOf(W.EditBar);
  // The Office 2003 look gives every toolbar that allows quick customizing
  // its mark, squeezed or not.
  EXPECT_TRUE(Edit->IsMarkVisible());
  EXPECT_FALSE(Edit->Truncated());
  W.Form->SetWidth(420);
  Settle();
  ASSERT_TRUE(Edit->Truncated()) << "the site fits its bars again when the form narrows";
  EXPECT_LE(Edit->GetLeft() + Edit->GetWidth(), Edit->DockControl()->GetWidth());
  ASSERT_TRUE(Edit->IsMarkVisible());
  TdxBarItemLinks* EL = W.EditBar->ItemLinks();
  std::vector<TdxBarItem*> Hidden;
  const TRect Mark = Edit->MarkRect();
  for (Integer I = 0; I < EL->GetShownCount(); ++I) {
    const TRect R = EL->GetShownLink(I)->GetItemRect();
    if (R.IsEmpty()) Hidden.push_back(EL->GetShownLink(I)->GetItem());
    else EXPECT_LE(R.Right, Mark.Left) << "an item under the mark";
  }
  ASSERT_FALSE(Hidden.empty());
  sxtest::SaveShot(W.Form, "barswin-mark");
  const TPoint P = Edit->ClientToScreen({(Mark.Left + Mark.Right) / 2, (Mark.Top + Mark.Bottom) / 2});
  ClickScreen(P);
  Settle();
  // The quick-customization menu: the hidden items, then the entry that
  // shows or hides the toolbar's buttons.
  ASSERT_NE(Edit->QuickPopup(), nullptr);
  TdxBarItemLinks* Menu = Edit->QuickPopup()->ItemLinks();
  ASSERT_NE(Menu->BarControl(), nullptr);
  EXPECT_EQ(Edit->MarkState(), 2);
  sxtest::SaveShot(W.Form, "barswin-mark-open");
  ASSERT_EQ(Menu->GetShownCount(), Integer(Hidden.size()) + 1);
  for (std::size_t I = 0; I < Hidden.size(); ++I) EXPECT_EQ(Menu->GetShownLink(Integer(I))->GetItem(), Hidden[I]);
  EXPECT_EQ(Menu->GetShownLink(Integer(Hidden.size()))->GetItem()->GetCaption(), "&Add or Remove Buttons");
  TdxBarItemLink* Last = Menu->GetShownLink(Integer(Hidden.size()) - 1);
  const std::string Name = Last->GetItem()->GetName();
  ClickScreen(CentreOf(Last));
  Settle();
  EXPECT_EQ(W.Clicks[Name], 1);
  EXPECT_EQ(Edit->MarkState(), 0);
  EXPECT_EQ(Edit->QuickPopup(), nullptr);
}
