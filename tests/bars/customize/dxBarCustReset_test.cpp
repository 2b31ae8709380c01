// Resets from the designed copy of the manager (the owner form's own
// description): the usage record of bars and sub-items, a toolbar's links;
// explicit changes elsewhere stay, and a form without a description resets
// nothing.
#include <gtest/gtest.h>

#include <memory>
#include "bars/customize/dxBarCustomizing.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Window.h"

namespace {

class TResetTestForm : public TForm {
  SX_CLASS(TResetTestForm, TForm)
public:
  explicit TResetTestForm(TComponent* AOwner) : TForm(AOwner) {}
};

const char* const Description =
    "object ResetForm: TResetTestForm\r\n"
    "  Width = 400\r\n"
    "  Height = 300\r\n"
    "  object Bars1: TdxBarManager\r\n"
    "    Categories.Strings = (\r\n"
    "      'Default')\r\n"
    "    Bars = <\r\n"
    "      item\r\n"
    "        Caption = 'Standard'\r\n"
    "        ItemLinks = <\r\n"
    "          item\r\n"
    "            Item = Open\r\n"
    "          end\r\n"
    "          item\r\n"
    "            Item = Save\r\n"
    "            MostRecentlyUsed = False\r\n"
    "          end>\r\n"
    "        Name = 'Standard'\r\n"
    "      end>\r\n"
    "    OnClickItem = Bars1ClickItem\r\n"
    "    object Open: TdxBarButton\r\n"
    "      Caption = '&Open'\r\n"
    "      Category = 0\r\n"
    "    end\r\n"
    "    object Save: TdxBarButton\r\n"
    "      Caption = '&Save'\r\n"
    "      Category = 0\r\n"
    "    end\r\n"
    "  end\r\n"
    "end\r\n";

// The description as the form reads it: without the handler binding.
AnsiString WithoutHandlers(const char* Text) {
  AnsiString S = Text;
  const AnsiString Line = "    OnClickItem = Bars1ClickItem\r\n";
  S.erase(S.find(Line), Line.size());
  return S;
}

class CustResetTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    RegisterBarItems();
    RegisterClasses({TForm::StaticClass(), TResetTestForm::StaticClass()});
    App = std::make_unique<TApplication>(nullptr);
    RegisterFormDescription("TResetTestForm", Description);
    Form = new TResetTestForm(App.get());
    TextToComponent(WithoutHandlers(Description), Form);
    M = GetBarManagerOfForm(Form);
    ASSERT_NE(M, nullptr);
    Bar = M->Bars()->GetItem(0);
  }
  void TearDown() override {
    UnregisterFormDescription("TResetTestForm");
    App.reset();
    ResetWindowSystem();
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TdxBarManager* M = nullptr;
  TdxBar* Bar = nullptr;
};

TEST_F(CustResetTest, UsageDataReturnsToTheDesignedFlagsAndTheCopyGoes) {
  ASSERT_TRUE(M->CanReset());
  TdxBarItemLink* Save = Bar->ItemLinks()->GetItem(1);
  EXPECT_FALSE(Save->GetMostRecentlyUsed());
  Save->SetMostRecentlyUsed(true);
  Bar->ItemLinks()->GetItem(0)->SetMostRecentlyUsed(false);
  const Integer Managers = BarManagers().Count();
  TDialogScript Script;
  Script.Then(IDYES);
  EXPECT_TRUE(dxBarResetUsageDataWithConfirmation(M));
  EXPECT_TRUE(Bar->ItemLinks()->GetItem(0)->GetMostRecentlyUsed());
  EXPECT_FALSE(Bar->ItemLinks()->GetItem(1)->GetMostRecentlyUsed());
  EXPECT_EQ(BarManagers().Count(), Managers) << "the designed copy is freed";
  EXPECT_FALSE(M->IsLocked()) << "the update lock is given back";
}

TEST_F(CustResetTest, ToolbarResetTakesTheDesignedLinksAgain) {
  ASSERT_TRUE(Bar->CanReset());
  delete Bar->ItemLinks()->GetItem(0);
  Bar->ItemLinks()->GetItem(0)->SetBeginGroup(true);
  TDialogScript Script;
  Script.Then(IDCANCEL).Then(IDOK);
  EXPECT_FALSE(dxBarResetBarWithConfirmation(Bar));
  EXPECT_EQ(Bar->ItemLinks()->Count(), 1);
  EXPECT_TRUE(dxBarResetBarWithConfirmation(Bar));
  EXPECT_EQ(Script.Asked()[1].Text, "Are you sure you want to reset the changes made to the 'Standard' toolbar?");
  ASSERT_EQ(Bar->ItemLinks()->Count(), 2);
  EXPECT_EQ(Bar->ItemLinks()->GetItem(0)->GetItem(), M->FindItemByName("Open"));
  EXPECT_FALSE(Bar->ItemLinks()->GetItem(1)->GetStoredBeginGroup());
}

TEST_F(CustResetTest, AFormWithoutADescriptionResetsNothing) {
  UnregisterFormDescription("TResetTestForm");
  EXPECT_EQ(dxBarCreateDesignedCopy(M), nullptr);
  Bar->ItemLinks()->GetItem(1)->SetMostRecentlyUsed(true);
  dxBarResetUsageData(M);
  EXPECT_TRUE(Bar->ItemLinks()->GetItem(1)->GetMostRecentlyUsed());
}

}  // namespace
