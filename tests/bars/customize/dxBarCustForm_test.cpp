// The customizing form: opened from the manager's "&Customize..." entry,
// its lists, and every way of closing it (also a failed opening) giving the
// program's forms back enabled and the manager out of customizing mode.
#include "../extitems/ExtItemsTestSupport.h"

#include "bars/customize/dxBarCustForm.h"
#include "bars/customize/dxBarCustomizing.h"
#include "bars/model/dxBarCategories.h"
#include "platform/forms/ListCtrls.h"
#include "platform/win/Input.h"
#include "bars/customize/dxBarCustForm.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Panels.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/VirtualKeys.h"
#include "bars/windows/dxBarWindows.h"

namespace {

class CustFormTest : public ExtItemsWindowTest {
protected:
  void SetUp() override {
    ExtItemsWindowTest::SetUp();
    M->Categories()->Add("File");
    M->Categories()->Add("Edit");
    auto* Open = Add<TdxBarButton>("OpenFile", "&Open");
    Open->SetCategory(1);
    auto* Cut = Add<TdxBarButton>("Cut", "Cu&t");
    Cut->SetCategory(2);
    auto* Copy = Add<TdxBarButton>("Copy", "&Copy");
    Copy->SetCategory(2);
    Show();
  }
  void TearDown() override {
    dxBarSetCustomizingFormMaker(nullptr);
    if (dxBarCustomizingManager()) dxBarSetCustomizing(dxBarCustomizingManager(), false);
    dxBarFreeAllTempItems();
    ExtItemsWindowTest::TearDown();
  }
  // Opens the form the way the user does: the toolbars list's last entry.
  void ClickCustomize() {
    auto* List = new TdxBarToolbarsListItem(Form);
    dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
    TdxBarItemLink* L = List->ItemLinks()->GetItem(List->ItemLinks()->Count() - 1);
    ASSERT_EQ(L->GetItem()->GetCaption(), "&Customize...");
    L->GetItem()->Click();
    Settle();
  }
  static std::vector<AnsiString> Links(TdxBar* B) {
    std::vector<AnsiString> R;
    for (Integer I = 0; I < B->ItemLinks()->Count(); ++I) R.push_back(B->ItemLinks()->GetItem(I)->GetItem()->GetCaption());
    return R;
  }
  // Runs a modal name dialog: types the text and presses OK (or Cancel).
  static void AnswerName(const AnsiString& Text, bool Ok = true) {
    HeadlessDisplay().SetIdleHandler([Text, Ok] {
      auto* D = dynamic_cast<TdxBarNameEd*>(Screen->ActiveForm());
      if (!D) return false;
      const AnsiString Typed = Text;  // the handler goes with the next line
      const bool Confirm = Ok;
      HeadlessDisplay().SetIdleHandler(nullptr);
      D->EName->SetText(Typed);
      D->SetModalResult(Confirm ? mrOk : mrCancel);
      return true;
    });
  }
  static std::vector<AnsiString> Rows(TListBox* L) {
    std::vector<AnsiString> R;
    for (Integer I = 0; I < L->GetItems()->GetCount(); ++I) R.push_back(L->GetItems()->GetStrings(I));
    return R;
  }
};

TEST_F(CustFormTest, CustomizeOpensTheFormWithTheManagersListsAndDisablesTheForms) {
  ClickCustomize();
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  ASSERT_NE(F, nullptr);
  EXPECT_TRUE(M->IsCustomizing());
  EXPECT_FALSE(IsWindowEnabled(Form->Handle())) << "the owner form waits while customizing";
  EXPECT_EQ(Rows(F->ToolbarsList()), std::vector<AnsiString>{"Extras"});
  EXPECT_EQ(Rows(F->CategoriesList()), (std::vector<AnsiString>{"Default", "File", "Edit"}));
  F->CategoriesList()->SetItemIndex(1);
  F->LCategoriesClick(nullptr);
  EXPECT_EQ(Rows(F->CommandsList()), std::vector<AnsiString>{"Open"});
  F->CategoriesList()->SetItemIndex(2);
  F->LCategoriesClick(nullptr);
  EXPECT_EQ(Rows(F->CommandsList()), (std::vector<AnsiString>{"Cut", "Copy"}));
  Settle();
  sxtest::SaveShot(F, "barscust-customizing-form");

  // While it is open a second one does not open, and the entry is disabled.
  auto* List = new TdxBarToolbarsListItem(Form);
  dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
  EXPECT_FALSE(List->ItemLinks()->GetItem(List->ItemLinks()->Count() - 1)->GetItem()->GetStoredEnabled());
}

TEST_F(CustFormTest, EveryWayOfClosingEndsCustomizingAndEnablesTheFormsAgain) {
  struct TCase {
    const char* Why;
    void (*Close)(TdxBarManager*);
  };
  const TCase Cases[] = {
      {"the form closed by the user", [](TdxBarManager*) { dxBarCustomizingForm()->Close(); }},
      {"customizing ended by code", [](TdxBarManager* Mgr) { dxBarSetCustomizing(Mgr, false); }},
      {"Escape on the form",
       [](TdxBarManager*) {
         dxBarCustomizingForm()->SetFocus();
         Settle();
         sxtest::Key(VK_ESCAPE);
       }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    ClickCustomize();
    ASSERT_NE(dxBarCustomizingForm(), nullptr);
    C.Close(M);
    Settle();
    EXPECT_EQ(dxBarCustomizingForm(), nullptr);
    EXPECT_FALSE(M->IsCustomizing());
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
  }
}

TEST_F(CustFormTest, AFormThatFailsToOpenLeavesNothingDisabled) {
  struct THidden : TObject {
    int Hidden = 0;
    void Hide(TObject*) { ++Hidden; }
  } Watch;
  M->OnHideCustomizingForm = TNotifyEvent(&Watch, &THidden::Hide);
  dxBarSetCustomizingFormMaker([](TdxBarManager*) -> TdxBarCustomizingForm* { throw Exception("no room"); });
  EXPECT_THROW(dxBarSetCustomizing(M, true), Exception);
  EXPECT_EQ(dxBarCustomizingForm(), nullptr);
  EXPECT_FALSE(M->IsCustomizing());
  EXPECT_EQ(dxBarCustomizingManager(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Form->Handle())) << "the program stays usable";
  EXPECT_EQ(Watch.Hidden, 1);
  // And the next opening works.
  dxBarSetCustomizingFormMaker(nullptr);
  dxBarSetCustomizing(M, true);
  EXPECT_NE(dxBarCustomizingForm(), nullptr);
}

TEST_F(CustFormTest, AFormDisabledBeforeOpeningStaysDisabled) {
  auto* Other = new TForm(App.get());
  Other->SetBounds(300, 300, 200, 100);
  auto* OtherManager = new TdxBarManager(Other);
  (void)OtherManager;
  Other->Show();
  Settle();
  EnableWindow(Other->Handle(), FALSE);
  dxBarSetCustomizing(M, true);
  EXPECT_FALSE(IsWindowEnabled(Form->Handle()));
  dxBarSetCustomizing(M, false);
  EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
  EXPECT_FALSE(IsWindowEnabled(Other->Handle()));
}

TEST_F(CustFormTest, ACommandDraggedFromTheListLandsOnTheToolbarAndSurvivesTheLayout) {
  dxBarSetCustomizing(M, true);
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  F->PageControl->SetActivePage(F->TabSheet2);
  F->CategoriesList()->SetItemIndex(2);
  F->LCategoriesClick(nullptr);
  Settle();
  sxtest::SaveShot(F, "barscust-commands-page");
  const TRect Row = F->CommandsList()->ItemRect(1);  // "Copy"
  const TPoint From = F->CommandsList()->ClientToScreen({Row.Left + 30, (Row.Top + Row.Bottom) / 2});
  TdxBarItemLink* Last = Bar->ItemLinks()->GetItem(Bar->ItemLinks()->Count() - 1);
  const TRect R = Last->GetItemRect();
  const TPoint To = Window()->ClientToScreen({R.Right - 2, (R.Top + R.Bottom) / 2});
  HeadlessDisplay().MouseDown(From.X, From.Y);
  HeadlessDisplay().MouseMove(From.X + 10, From.Y);
  HeadlessDisplay().MouseMove(To.X, To.Y);
  HeadlessDisplay().MouseUp(To.X, To.Y);
  Settle();
  EXPECT_EQ(Links(Bar), (std::vector<AnsiString>{"&Open", "Cu&t", "&Copy", "&Copy"}));
  // Released over the customizing form itself nothing is placed.
  const TPoint Over = F->ClientToScreen({300, 60});
  HeadlessDisplay().MouseDown(From.X, From.Y);
  HeadlessDisplay().MouseMove(From.X + 10, From.Y);
  HeadlessDisplay().MouseMove(Over.X, Over.Y);
  HeadlessDisplay().MouseUp(Over.X, Over.Y);
  Settle();
  EXPECT_EQ(Bar->ItemLinks()->Count(), 4);
  dxBarSetCustomizing(M, false);
  // The layout keeps the new link.
  const AnsiString Ini = AnsiString(Dir) + "/Layout.ini";
  M->SaveToIniFile(Ini);
  delete Bar->ItemLinks()->GetItem(3);
  ASSERT_EQ(Bar->ItemLinks()->Count(), 3);
  M->LoadFromIniFile(Ini);
  EXPECT_EQ(Links(Bar), (std::vector<AnsiString>{"&Open", "Cu&t", "&Copy", "&Copy"}));
}

TEST_F(CustFormTest, ToolbarsPageMakesRenamesHidesAndDeletesBars) {
  dxBarSetCustomizing(M, true);
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  // New: the proposed name is taken as typed; the bar floats, visible, selected.
  AnswerName("Mine");
  F->BBarNewClick(nullptr);
  TdxBar* Mine = M->FindBarByCaption("Mine");
  ASSERT_NE(Mine, nullptr);
  EXPECT_TRUE(Mine->GetVisible());
  EXPECT_EQ(Mine->GetDockingStyle(), dsNone);
  EXPECT_EQ(Rows(F->ToolbarsList()), (std::vector<AnsiString>{"Extras", "Mine"}));
  EXPECT_EQ(F->ToolbarsList()->GetItemIndex(), 1);
  // Rename to another bar's caption is refused inside the dialog; the
  // same name in other letter case is accepted.
  {
    TDialogScript Script;
    Script.Then(IDOK);
    // The refused close leaves the dialog open: the next idle step cancels it.
    HeadlessDisplay().SetIdleHandler([Step = 0]() mutable {
      auto* D = dynamic_cast<TdxBarNameEd*>(Screen->ActiveForm());
      if (!D) return false;
      if (Step++ == 0) {
        D->EName->SetText("Extras");
        D->SetModalResult(mrOk);
      } else {
        HeadlessDisplay().SetIdleHandler(nullptr);
        D->SetModalResult(mrCancel);
      }
      return true;
    });
    F->BBarRenameClick(nullptr);
    ASSERT_EQ(Script.Asked().size(), 1u);
    EXPECT_EQ(Script.Asked()[0].Text, "A toolbar named 'Extras' already exists. Type another name.");
    EXPECT_EQ(Mine->GetCaption(), "Mine");
  }
  AnswerName("EXTRAS");
  F->BBarRenameClick(nullptr);
  EXPECT_EQ(Mine->GetCaption(), "EXTRAS");
  EXPECT_EQ(F->ToolbarsList()->GetItems()->GetStrings(1), "EXTRAS");
  // The check box hides and shows the bar.
  F->ToolbarsList()->ToggleBar(1);
  EXPECT_FALSE(Mine->GetVisible());
  F->ToolbarsList()->ToggleBar(1);
  EXPECT_TRUE(Mine->GetVisible());
  Settle();
  sxtest::SaveShot(F, "barscust-toolbars-page");
  // Delete asks first; Cancel keeps the bar.
  {
    TDialogScript Script;
    Script.Then(IDCANCEL).Then(IDOK);
    F->BBarDeleteClick(nullptr);
    EXPECT_NE(M->FindBarByCaption("EXTRAS"), nullptr);
    F->BBarDeleteClick(nullptr);
    EXPECT_EQ(Script.Asked()[1].Text, "Are you sure you want to delete the 'EXTRAS' toolbar?");
  }
  EXPECT_EQ(M->FindBarByCaption("EXTRAS"), nullptr);
  EXPECT_EQ(Rows(F->ToolbarsList()), std::vector<AnsiString>{"Extras"});
  EXPECT_EQ(F->ToolbarsList()->GetItemIndex(), 0);
}

TEST_F(CustFormTest, BarsAndOptionsChangedByTheProgramShowInTheOpenForm) {
  TdxBar* Second = M->Bars()->Add();
  Second->SetCaption("Second");
  dxBarSetCustomizing(M, true);
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(Rows(F->ToolbarsList()), (std::vector<AnsiString>{"Extras", "Second"}));
  Bar->SetCaption("Renamed");
  EXPECT_EQ(Rows(F->ToolbarsList()), (std::vector<AnsiString>{"Renamed", "Second"}));
  // The rename button follows the selected row's bar.
  F->ToolbarsList()->SetItemIndex(1);
  Second->SetVisible(true);
  EXPECT_TRUE(F->BBarDelete->GetEnabled());
  Second->SetIsMainMenu(true);
  EXPECT_FALSE(F->BBarDelete->GetEnabled()) << "the main menu cannot be deleted";
  Second->SetIsMainMenu(false);
  delete Second;
  EXPECT_EQ(Rows(F->ToolbarsList()), std::vector<AnsiString>{"Renamed"});
  M->SetLargeIcons(true);
  EXPECT_TRUE(F->CBLargeIcons->GetChecked());
  EXPECT_TRUE(F->CBLargeIconsEx->GetChecked());
  M->SetMenuAnimations(maFade);
  EXPECT_EQ(F->ComboBoxMenuAnimationsEx->GetItemIndex(), Integer(maFade));
  M->SetShowHint(false);
  EXPECT_FALSE(F->CBHint1Ex->GetChecked());
}

TEST_F(CustFormTest, TheMainMenuCannotBeHiddenFromTheList) {
  Bar->SetIsMainMenu(true);
  dxBarSetCustomizing(M, true);
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  F->ToolbarsList()->ToggleBar(0);
  EXPECT_TRUE(Bar->GetVisible());
  F->UpdateBarButtons();
  EXPECT_FALSE(F->BBarDelete->GetEnabled());
}

TEST_F(CustFormTest, OptionsPageWritesTheManagersOptions) {
  M->SetStyle(bmsOffice11);
  dxBarSetCustomizing(M, true);
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  F->PageControl->SetActivePage(F->TabSheet3);
  EXPECT_TRUE(F->EnhancedOptionsPanel->GetVisible());
  EXPECT_FALSE(F->StandardOptionsPanel->GetVisible());
  Settle();
  sxtest::SaveShot(F, "barscust-options-page");
  F->CBMenusShowRecentItemsFirst->SetChecked(false);
  EXPECT_FALSE(M->GetMenusShowRecentItemsFirst());
  EXPECT_FALSE(F->CBShowFullMenusAfterDelay->GetEnabled());
  F->CBLargeIconsEx->SetChecked(true);
  EXPECT_TRUE(M->GetLargeIcons());
  F->CBHint1Ex->SetChecked(false);
  EXPECT_FALSE(M->GetShowHint());
  EXPECT_FALSE(F->CBHint2Ex->GetEnabled());
  F->CBHint2Ex->SetChecked(true);
  EXPECT_TRUE(M->GetShowShortCutInHint());
  F->ComboBoxMenuAnimationsEx->SetItemIndex(3);
  F->ComboBoxMenuAnimationsEx->OnClick(F->ComboBoxMenuAnimationsEx);
  EXPECT_EQ(M->GetMenuAnimations(), maSlide);
  EXPECT_EQ(F->ComboBoxMenuAnimationsEx->GetItems()->GetCount(), 5);
  // A manager in the standard style shows the other panel, with the same values.
  M->SetStyle(bmsStandard);
  F->UpdateOptions();
  EXPECT_TRUE(F->StandardOptionsPanel->GetVisible());
  EXPECT_TRUE(F->CBLargeIcons->GetChecked());
  EXPECT_EQ(F->ComboBoxMenuAnimations->GetItemIndex(), 3);
  // Resetting the usage data asks Yes/No with No the default; No changes nothing.
  TDialogScript Script;
  Script.Then(IDNO);
  F->BResetUsageDataClick(nullptr);
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_EQ(Script.Asked()[0].Style & (MB_TYPEMASK | MB_DEFMASK), UINT(MB_YESNO | MB_DEFBUTTON2));
}

TEST_F(CustFormTest, TheSubMenuEditorOpensAPopupMenuToDropCommandsInto) {
  auto* Popup = new TdxBarPopupMenu(Form);
  Popup->SetBarManager(M);
  Popup->ItemLinks()->AddItem(M->FindItemByName("Cut"));
  dxBarShowSubMenuEditor(Popup->ItemLinks());
  Settle();
  TdxBarSubMenuEditor* E = dxBarSubMenuEditor();
  ASSERT_NE(E, nullptr);
  EXPECT_TRUE(M->IsCustomizing());
  TdxBarCustomizingForm* F = dxBarCustomizingForm();
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(F->PageControl->GetActivePage(), F->TabSheet2) << "the commands are at hand";
  TdxBarSubMenuControl* Menu = Popup->GetBarControl();
  ASSERT_NE(Menu, nullptr);
  TRect ER, MR;
  GetWindowRect(E->Handle(), &ER);
  GetWindowRect(Menu->Handle(), &MR);
  EXPECT_EQ(MR.Left, ER.Left);
  EXPECT_EQ(MR.Top, ER.Bottom) << "the menu hangs under the caption bar";
  TRect Shot{0, 0, 600, 400};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barscust-submenu-editor.png", &Shot);
  // "Open" dragged from the commands list onto the menu's only entry.
  F->CategoriesList()->SetItemIndex(1);
  F->LCategoriesClick(nullptr);
  Settle();
  const TRect Row = F->CommandsList()->ItemRect(0);
  const TPoint From = F->CommandsList()->ClientToScreen({Row.Left + 30, (Row.Top + Row.Bottom) / 2});
  const TRect L = Popup->ItemLinks()->GetItem(0)->GetItemRect();
  const TPoint To = Menu->ClientToScreen({(L.Left + L.Right) / 2, L.Bottom - 2});
  // The press on the list closes the menu; passing over the editor's
  // caption bar opens it again.
  const TPoint Caption{(ER.Left + ER.Right) / 2, (ER.Top + ER.Bottom) / 2};
  HeadlessDisplay().MouseDown(From.X, From.Y);
  HeadlessDisplay().MouseMove(From.X + 10, From.Y);
  HeadlessDisplay().MouseMove(Caption.X, Caption.Y);
  // The rest once the drag has taken those moves (queued moves merge).
  HeadlessDisplay().SetIdleHandler([To] {
    const TPoint P = To;
    HeadlessDisplay().SetIdleHandler(nullptr);
    HeadlessDisplay().MouseMove(P.X, P.Y);
    HeadlessDisplay().MouseUp(P.X, P.Y);
    return true;
  });
  Settle();
  HeadlessDisplay().SetIdleHandler(nullptr);
  ASSERT_EQ(Popup->ItemLinks()->Count(), 2);
  EXPECT_EQ(Popup->ItemLinks()->GetItem(1)->GetItem(), M->FindItemByName("OpenFile"));
  // Customizing ends: the editor goes with it.
  dxBarSetCustomizing(M, false);
  EXPECT_EQ(dxBarSubMenuEditor(), nullptr);
}

TEST_F(CustFormTest, CommandRowsShowTheirKindInEachStyle) {
  auto* Sub = new TdxBarSubItem(Form);
  Sub->SetName("More");
  Sub->SetCaption("More");
  Sub->SetCategory(1);
  auto* Drop = new TdxBarButton(Form);
  Drop->SetName("Drop");
  Drop->SetCaption("Drop");
  Drop->SetCategory(1);
  Drop->SetButtonStyle(bsDropDown);
  struct TCase {
    TdxBarManagerStyle Style;
    TColor Back;  // an unselected row's colour
  };
  const TCase Cases[] = {{bmsStandard, clBtnFace}, {bmsFlat, clWindow}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Style));
    M->SetStyle(C.Style);
    dxBarSetCustomizing(M, true);
    TdxBarCustomizingForm* F = dxBarCustomizingForm();
    F->PageControl->SetActivePage(F->TabSheet2);
    F->CategoriesList()->SetItemIndex(1);
    F->LCategoriesClick(nullptr);
    F->CommandsList()->SetItemIndex(-1);
    Settle();
    ASSERT_EQ(Rows(F->CommandsList()), (std::vector<AnsiString>{"Open", "More", "Drop"}));
    auto PixelIn = [&](Integer Row, Integer DX, Integer DY) {
      const TRect R = F->CommandsList()->ItemRect(Row);
      return sxtest::PixelAt(F->CommandsList(), R.Right + DX, R.Top + DY);
    };
    // The sub-item's arrow 9 pixels from the right; the plain button has none there.
    EXPECT_EQ(PixelIn(1, -9, 10), ColorToRGB(clBtnText));
    EXPECT_EQ(PixelIn(0, -9, 10), ColorToRGB(C.Back));
    // The drop-down button's 13-pixel part carries the arrow too.
    EXPECT_EQ(PixelIn(2, -7, 10), ColorToRGB(clBtnText));
    const std::string Name = C.Style == bmsFlat ? "barscust-commands-flat" : "barscust-commands-standard";
    sxtest::SaveShot(F, Name);
    dxBarSetCustomizing(M, false);
  }
}

}  // namespace
