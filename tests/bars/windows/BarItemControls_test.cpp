// Edit and combo items taking typed text on a toolbar, the owner form's
// messages, popup menus shown by a program, and the shadow's outline.
#include "BarWindowsTestSupport.h"

#include "bars/windows/dxBarWindowsInternal.h"
#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/IniFiles.h"

namespace {
// Counts the clicks of the items it is the OnClick of.
struct TClickCount : TObject {
  int N = 0;
  void Click(TObject*) { ++N; }
};

class TypingTest : public BarWindowsTest {
protected:
  void ShowToolbar() {
    Form = new TForm(App.get());
    Form->SetName("TypingForm");
    Form->SetBounds(50, 50, 600, 300);
    M = new TdxBarManager(Form);
    M->SetName("dxBarManager");
    M->Categories()->Add("Items");
    Edit = new TdxBarEdit(Form);
    Edit->SetName("Find");
    Edit->SetCaption("Find");
    Edit->SetCategory(0);
    Combo = new TdxBarCombo(Form);
    Combo->SetName("Language");
    Combo->SetCaption("Language");
    Combo->SetCategory(0);
    for (const char* S : {"HTML", "Pascal", "SQL"}) Combo->Items()->Add(S);
    Bar = M->Bars()->Add();
    Bar->SetCaption("Search");
    Bar->SetDockingStyle(dsTop);
    Bar->ItemLinks()->AddItem(Edit);
    Bar->ItemLinks()->AddItem(Combo);
    Bar->SetVisible(true);
    Form->Show();
    Settle();
  }
  TPoint CentreOfItem(TdxBarItem* I) { return CentreOf(LinkOf(Bar->ItemLinks(), I)); }
  // A popup menu of the form with one item, "Run" (RunItem).
  TdxBarPopupMenu* RunMenu() {
    auto* Menu = new TdxBarPopupMenu(Form);
    RunItem = new TdxBarButton(Form);
    RunItem->SetCaption("&Run");
    Menu->ItemLinks()->AddItem(RunItem);
    return Menu;
  }
  TdxBarButton* RunItem = nullptr;
  TForm* Form = nullptr;
  TdxBarManager* M = nullptr;
  TdxBarEdit* Edit = nullptr;
  TdxBarCombo* Combo = nullptr;
  TdxBar* Bar = nullptr;
};
}  // namespace

TEST_F(TypingTest, EditItemTakesTypedTextAndCommitsOnEnter) {
  ShowToolbar();
  ClickScreen(CentreOfItem(Edit));
  Settle();
  auto* C = dynamic_cast<TdxBarEditControl*>(Bar->ItemLinks()->GetItem(0)->Control());
  ASSERT_NE(C, nullptr);
  ASSERT_TRUE(C->Editing());
  EXPECT_TRUE(C->Focused());
  sxtest::Type("needle");
  Settle();
  EXPECT_EQ(Edit->GetText(), "") << "nothing commits while typing";
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(Edit->GetText(), "needle");
  EXPECT_FALSE(C->Editing());
  // Escape drops what was typed.
  ClickScreen(CentreOfItem(Edit));
  Settle();
  sxtest::Type("xyz");
  sxtest::Key(VK_ESCAPE);
  Settle();
  EXPECT_EQ(Edit->GetText(), "needle");
}

TEST_F(TypingTest, EditTextLongerThanTwoHundredFiftyFourCharactersCommitsWhole) {
  ShowToolbar();
  ClickScreen(CentreOfItem(Edit));
  Settle();
  auto* C = dynamic_cast<TdxBarEditControl*>(Bar->ItemLinks()->GetItem(0)->Control());
  ASSERT_TRUE(C && C->Editing());
  const AnsiString Long(300, 'a');
  C->EditWindow()->SetText(Long);
  EXPECT_EQ(C->GetText().size(), 300u);
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(Edit->GetText(), Long);
}

TEST_F(TypingTest, ComboItemTakesTypedTextAndStepsThroughItsStrings) {
  ShowToolbar();
  ClickScreen(CentreOfItem(Combo));
  Settle();
  auto* C = dynamic_cast<TdxBarComboControl*>(Bar->ItemLinks()->GetItem(1)->Control());
  ASSERT_NE(C, nullptr);
  ASSERT_TRUE(C->Editing());
  sxtest::Type("Pascal");
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(Combo->GetText(), "Pascal");
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  ClickScreen(CentreOfItem(Combo));
  Settle();
  sxtest::Key(VK_DOWN);
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(Combo->GetText(), "SQL");
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  sxtest::SaveShot(Form, "barswin-typing");
}

TEST_F(TypingTest, ShortCutsWorkWhileAnEditItemHasTheFocus) {
  ShowToolbar();
  auto* Go = new TdxBarButton(Form);
  Go->SetName("Go");
  Go->SetCaption("&Go");
  Go->SetShortCut(TextToShortCut("F9"));
  TClickCount Clicks;
  Go->OnClick = TNotifyEvent(&Clicks, &TClickCount::Click);
  Bar->ItemLinks()->AddItem(Go);
  Settle();
  ClickScreen(CentreOfItem(Edit));
  Settle();
  sxtest::Key(VK_F9);
  Settle();
  EXPECT_EQ(Clicks.N, 1);
}

TEST_F(TypingTest, MinimizeWithTheLowBitsOfTheCommandSetHidesFloatingBars) {
  ShowToolbar();
  Bar->SetVisible(false);
  Bar->SetDockingStyle(dsNone);
  Bar->SetFloatLeft(100);
  Bar->SetFloatTop(400);
  Bar->SetVisible(true);
  Settle();
  TdxBarControl* Window = WindowOf(Bar);
  ASSERT_TRUE(Window && IsWindowVisible(Window->Handle()));
  // A minimize from the window menu carries the system's low bits.
  dxBarHandleFormMessage(M, WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
  EXPECT_FALSE(IsWindowVisible(Window->Handle()));
  dxBarHandleFormMessage(M, WM_SYSCOMMAND, SC_RESTORE | 2, 0);
  EXPECT_TRUE(IsWindowVisible(Window->Handle()));
}

TEST_F(TypingTest, FloatingBarsComeBackOntoTheWorkAreaTopAndLeftFirst) {
  ShowToolbar();
  Bar->SetVisible(false);
  Bar->SetDockingStyle(dsNone);
  Bar->SetFloatLeft(2000);
  Bar->SetFloatTop(-500);
  Bar->SetVisible(true);
  Settle();
  dxBarHandleFormMessage(M, WM_DISPLAYCHANGE, 32, 0);
  TdxBarControl* Window = WindowOf(Bar);
  TRect Work = HeadlessDisplay().WorkArea();
  EXPECT_EQ(Window->GetTop(), Work.Top);
  EXPECT_EQ(Window->GetLeft() + Window->GetWidth(), Work.Right);
}

TEST_F(TypingTest, LosingTheCaptureWhileTheCloseButtonIsHeldFreesTheKeyboard) {
  ShowToolbar();
  Bar->SetVisible(false);
  Bar->SetDockingStyle(dsNone);
  Bar->SetFloatLeft(100);
  Bar->SetFloatTop(400);
  Bar->SetVisible(true);
  Settle();
  TdxBarControl* Window = WindowOf(Bar);
  TPoint X = Window->ClientToScreen({Window->GetWidth() - 9, 9});
  bool Pressed = false;
  HeadlessDisplay().SetIdleHandler([&] {
    if (Pressed) return false;
    Pressed = true;
    EXPECT_TRUE(dxBarCaptionButtonFlag());
    // Another window takes the capture away while the button is held.
    SetCapture(Form->Handle());
    return true;
  });
  HeadlessDisplay().MouseDown(X.X, X.Y);
  Settle();
  HeadlessDisplay().SetIdleHandler(nullptr);
  ReleaseCapture();
  EXPECT_FALSE(dxBarCaptionButtonFlag()) << "keys are not swallowed any longer";
  EXPECT_TRUE(Bar->GetVisible());
  auto* Memo = new TMemo(Form);
  Memo->SetParent(Form);
  Memo->SetAlign(alClient);
  Settle();
  Memo->SetFocus();
  sxtest::Type("ok");
  Settle();
  EXPECT_EQ(Memo->GetText(), "ok");
}

TEST_F(TypingTest, LayoutThatCannotBeSavedOnDestroyLosesOnlyTheLayout) {
  ShowToolbar();
  M->SetStoreInIniFile(true);
  M->SetIniFileName(Dir + "/no/such/folder/Layout.ini");
  EXPECT_NO_THROW(delete Form);
  Form = nullptr;
  M->SetStoreInIniFile(false);
}

TEST_F(TypingTest, LayoutIsSavedWhenTheFormIsFreed) {
  ShowToolbar();
  M->SetStoreInIniFile(true);
  const AnsiString Path = Dir + "/Layout.ini";
  M->SetIniFileName(Path);
  delete Form;
  Form = nullptr;
  EXPECT_TRUE(std::filesystem::exists(Path));
}

TEST_F(TypingTest, PopupAtWaitsForTheMenuAndDeliversCommandsPostedMeanwhile) {
  ShowToolbar();
  TdxBarPopupMenu* Menu = RunMenu();
  int Commands = 0;
  TClickCount Runs;
  RunItem->OnClick = TNotifyEvent(&Runs, &TClickCount::Click);
  struct TCommandCounter : TObject {
    int* N;
    void Proc(TMessage& Msg) {
      if (Msg.Msg == WM_COMMAND) ++*N;
    }
  } Counter;
  Counter.N = &Commands;
  HWND Target = AllocateHWnd(TWndMethod(&Counter, &TCommandCounter::Proc));
  int Idles = 0;
  HeadlessDisplay().SetIdleHandler([&] {
    ++Idles;
    if (Idles == 1) {
      PostMessageA(Target, WM_COMMAND, 7, 0);
      return true;
    }
    if (Idles == 2 && Menu->GetBarControl()) {
      ClickScreen(CentreOf(Menu->ItemLinks()->GetItem(0)));
      return true;
    }
    return false;
  });
  Menu->PopupAt(300, 200);
  EXPECT_EQ(Runs.N, 1);
  EXPECT_EQ(Commands, 1) << "a command posted while the menu was open is delivered";
  EXPECT_EQ(Menu->GetBarControl(), nullptr);
  DeallocateHWnd(Target);
}

// Input the bar hooks take (Escape, a press outside the menu) closes the
// menu without leaving a message for the menu's loop: the loop must see the
// close at once instead of sleeping until something else arrives. Once the
// menu is gone the idle handler (the loop waiting) must not run again; it
// also ends a hung loop by failing after a few calls.
TEST_F(TypingTest, PopupAtReturnsAsSoonAsTheMenuClosesWithoutAnotherMessage) {
  ShowToolbar();
  TdxBarPopupMenu* Menu = RunMenu();
  TClickCount Runs;
  RunItem->OnClick = TNotifyEvent(&Runs, &TClickCount::Click);
  enum TClose { Escape, PressOutside, Command, WindowFreed };
  struct TCase { const char* Name; TClose How; };
  for (const TCase& C : {TCase{"Escape", Escape}, TCase{"press outside", PressOutside},
                         TCase{"command", Command}, TCase{"menu window freed", WindowFreed}}) {
    SCOPED_TRACE(C.Name);
    int Idles = 0, IdlesAfterClose = 0;
    bool Sent = false;
    HeadlessDisplay().SetIdleHandler([&] {
      if (++Idles > 10) return false;
      if (!Menu->GetBarControl() && Sent) ++IdlesAfterClose;
      if (IdlesAfterClose > 2) return false;
      if (Menu->GetBarControl() && !Sent) {
        Sent = true;
        if (C.How == Escape) HeadlessDisplay().KeyPress(VK_ESCAPE);
        else if (C.How == PressOutside) ClickScreen(Form->ClientToScreen({400, 250}));
        else if (C.How == Command) ClickScreen(CentreOf(Menu->ItemLinks()->GetItem(0)));
        else delete Menu->GetBarControl();
      }
      return true;
    });
    // Opened from a posted message, as a right click opens it.
    bool Returned = false;
    struct TOpener : TObject {
      TdxBarPopupMenu* Menu;
      bool* Returned;
      void Proc(TMessage& Msg) {
        if (Msg.Msg != WM_USER) return;
        Menu->PopupAt(300, 200);
        *Returned = true;
      }
    } Opener;
    Opener.Menu = Menu;
    Opener.Returned = &Returned;
    HWND Target = AllocateHWnd(TWndMethod(&Opener, &TOpener::Proc));
    PostMessageA(Target, WM_USER, 0, 0);
    MSG Msg;
    while (!Returned && GetMessageA(&Msg, nullptr, 0, 0) > 0) DispatchMessageA(&Msg);
    HeadlessDisplay().SetIdleHandler(nullptr);
    DeallocateHWnd(Target);
    EXPECT_TRUE(Sent);
    EXPECT_TRUE(Returned);
    EXPECT_EQ(IdlesAfterClose, 0) << "the loop slept after the menu had closed";
    EXPECT_EQ(Menu->GetBarControl(), nullptr);
    EXPECT_FALSE(Menu->PoppedUp());
    EXPECT_EQ(Runs.N, C.How == Command ? 1 : 0);
    Runs.N = 0;
    Settle();
  }
}

TEST(BarShadow, OutlineOfAMenuAndOfAMenuDroppedFromANarrowerButton) {
  const Integer S = TdxBarShadow::ShadowSize();
  TdxBarShadow Shadow(nullptr);
  // A menu without an owner item: the bottom strip and the right strip.
  Shadow.SetOwnerBounds({}, {100, 100, 200, 300});
  ASSERT_EQ(Shadow.Parts().size(), 2u);
  EXPECT_EQ(Shadow.Parts()[0], TRect(100 + S, 300, 200 + S, 300 + S));
  EXPECT_EQ(Shadow.Parts()[1], TRect(200, 100 + S, 200 + S, 300));
  // Dropped below a 40-pixel button: the button's right strip, the menu's
  // bottom strip and its right strip; nothing under the button.
  Shadow.SetOwnerBounds({100, 78, 140, 100}, {100, 100, 200, 300});
  ASSERT_EQ(Shadow.Parts().size(), 3u);
  EXPECT_EQ(Shadow.Parts()[0], TRect(140, 78 + S, 140 + S, 100));
  EXPECT_EQ(Shadow.Parts()[1], TRect(100 + S, 300, 200 + S, 300 + S));
  EXPECT_EQ(Shadow.Parts()[2], TRect(200, 100 + S, 200 + S, 300));
}

// In a menu an edit shows its caption left of its box, in every style: the
// row grows by the caption, the caption is drawn in that cell and the box
// (and the edit window when typing) starts past it.
TEST_F(TypingTest, EditInAMenuShowsItsCaptionBeforeTheBox) {
  ShowToolbar();
  auto* Sub = new TdxBarSubItem(Form);
  Sub->SetName("More");
  Sub->SetCaption("More");
  Sub->SetCategory(0);
  Sub->ItemLinks()->AddItem(Edit);
  Bar->ItemLinks()->AddItem(Sub);
  Settle();
  for (TdxBarManagerStyle Style : {bmsStandard, bmsFlat, bmsOffice11}) {
    M->SetStyle(Style);
    Settle();
    ClickScreen(CentreOfItem(Sub));
    Settle();
    TdxBarSubMenuControl* Menu = MenuOf(Sub);
    ASSERT_NE(Menu, nullptr) << int(Style);
    TdxBarItemLink* L = LinkOf(Sub->ItemLinks(), Edit);
    auto* C = dynamic_cast<TdxBarEditControl*>(L->Control());
    ASSERT_NE(C, nullptr);
    const TRect R = L->GetItemRect();
    const TSize Text = Menu->Canvas()->TextExtent("Find");
    // The caption cell holds the caption's ink (white on the selection when
    // the menu opened with the edit selected); the box after it is white.
    bool Ink = false;
    for (Integer X = R.Left; X < R.Left + Text.cx + 40 && !Ink; ++X)
      for (Integer Y = R.Top + 2; Y < R.Bottom - 2 && !Ink; ++Y)
        for (int Colour : {COLOR_BTNTEXT, COLOR_HIGHLIGHTTEXT})  // plain or selected
          Ink = Ink || sxtest::PixelAt(Menu, X, Y) == GetSysColor(Colour);
    EXPECT_TRUE(Ink) << int(Style);
    sxtest::SaveShot(Form, "barswin-menu-edit-" + std::to_string(int(Style)));
    EXPECT_GT(R.Width(), 100 + Text.cx) << int(Style);
    EXPECT_EQ(sxtest::PixelAt(Menu, R.Right - 30, (R.Top + R.Bottom) / 2), GetSysColor(COLOR_WINDOW)) << int(Style);
    ClickScreen(Menu->ClientToScreen({R.Right - 30, (R.Top + R.Bottom) / 2}));
    Settle();
    ASSERT_TRUE(C->Editing()) << int(Style);
    EXPECT_GE(C->EditWindow()->GetLeft(), R.Left + Text.cx) << int(Style);
    sxtest::Key(VK_ESCAPE);
    sxtest::Key(VK_ESCAPE);
    sxtest::Key(VK_ESCAPE);
    Settle();
  }
}

// A placed dock site takes a bar only where its zone shows: a sibling window
// lying over the site's panel hides the zone until it goes away.
TEST_F(TypingTest, DockZoneCoveredByAnotherWindowTakesNoBar) {
  ShowToolbar();
  auto* Holder = new TPanel(Form);
  Holder->SetParent(Form);
  Holder->SetBounds(20, 100, 300, 120);
  auto* Site = new TdxBarDockControl(Form);
  Site->SetBarManagerProp(M);
  Site->SetParent(Holder);
  Site->SetDockAlign(alTop);
  auto* Cover = new TPanel(Form);
  Cover->SetParent(Form);
  Cover->SetBounds(10, 90, 200, 60);
  Cover->BringToFront();
  Settle();
  const TPoint P = Site->ClientToScreen({50, 2});
  TdxDockControl* Found = nullptr;
  EXPECT_EQ(dxBarFindDockSite(Bar, P, Found), dsNone);
  EXPECT_EQ(Found, nullptr);
  // Beyond the cover the same site takes the bar.
  const TPoint Open = Site->ClientToScreen({250, 2});
  EXPECT_EQ(dxBarFindDockSite(Bar, Open, Found), dsTop);
  EXPECT_EQ(Found, Site);
  Cover->SetVisible(false);
  Settle();
  EXPECT_EQ(dxBarFindDockSite(Bar, P, Found), dsTop);
  EXPECT_EQ(Found, Site);
}

// SetFocus starts typing in the edit item's first toolbar link, also when a
// link in an open menu comes before it: the menu's link is passed over.
TEST_F(TypingTest, SetFocusStartsEditingOnAToolbarAndPassesOverMenus) {
  ShowToolbar();
  auto* Menu = new TdxBarSubItem(Form);
  Menu->SetName("More");
  Menu->SetCaption("More");
  Menu->SetCategory(0);
  Menu->ItemLinks()->AddItem(Edit);
  Bar->ItemLinks()->Delete(0);  // the toolbar link now comes after the menu's
  Bar->ItemLinks()->AddItem(Menu);
  Bar->ItemLinks()->AddItem(Edit);
  Settle();
  ClickScreen(CentreOfItem(Menu));
  Settle();
  ASSERT_NE(MenuOf(Menu), nullptr);
  ASSERT_EQ(Edit->GetLinkCount(), 2);
  ASSERT_NE(dynamic_cast<TdxBarEditControl*>(Edit->GetLink(0)->Control()), nullptr) << "the menu shows the edit";
  Edit->SetFocus();
  Settle();
  auto* C = dynamic_cast<TdxBarEditControl*>(LinkOf(Bar->ItemLinks(), Edit)->Control());
  ASSERT_NE(C, nullptr);
  EXPECT_TRUE(C->Editing());
  EXPECT_TRUE(C->Focused());
  EXPECT_EQ(M->MenuModeBar(), WindowOf(Bar));
  sxtest::Type("typed");
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(Edit->GetText(), "typed");
}
