// The customizing form: opened from the manager's "&Customize..." entry,
// its lists, and every way of closing it (also a failed opening) giving the
// program's forms back enabled and the manager out of customizing mode.
#include "../extitems/ExtItemsTestSupport.h"

#include "bars/customize/dxBarCustForm.h"
#include "bars/customize/dxBarCustomizing.h"
#include "bars/model/dxBarCategories.h"
#include "platform/forms/ListCtrls.h"
#include "platform/win/Input.h"

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
  F->RefreshCommands();
  EXPECT_EQ(Rows(F->CommandsList()), std::vector<AnsiString>{"Open"});
  F->CategoriesList()->SetItemIndex(2);
  F->RefreshCommands();
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

}  // namespace
