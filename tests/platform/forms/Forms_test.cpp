#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "TestControls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Window.h"

// The memo's line-and-column class has the form position's name; a file
// sees both, the form's under its unit's name.
class TPosition;
static_assert(!std::is_same_v<TPosition, Forms::TPosition>);

namespace {
class TBadForm : public TForm {
  SX_CLASS(TBadForm, TForm)
public:
  explicit TBadForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
};

class TPlainForm : public TForm {
  SX_CLASS(TPlainForm, TForm)
public:
  explicit TPlainForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
};

class FormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterTestControls();
    ResetWindowSystem();
  }
  void TearDown() override { ResetWindowSystem(); }
};
}  // namespace

TEST_F(FormsTest, FormDescriptionBuildsChildrenFieldsAndHandlers) {
  auto F = std::make_unique<TTestForm>(nullptr);
  EXPECT_EQ(F->GetName(), "TestForm");
  EXPECT_EQ(F->GetCaption(), "Test form");
  EXPECT_EQ(F->Created, 1) << "OnCreate is bound by name and runs once";
  ASSERT_NE(F->First, nullptr);
  ASSERT_NE(F->OkButton, nullptr);
  EXPECT_EQ(F->OkButton->GetParent(), F.get());
  EXPECT_EQ(F->Second->GetColor(), clWhite);
  EXPECT_FALSE(F->Second->GetParentColor());
  EXPECT_EQ(F->First->GetColor(), clBtnFace) << "ParentColor takes the form's colour";
  EXPECT_EQ(F->TopBar->BoundsRect(), TRect(0, 0, 300, 30));

  F->OkButton->Click();
  EXPECT_EQ(F->OkClicks, 1);
  EXPECT_EQ(F->GetModalResult(), mrOk);
}

TEST_F(FormsTest, TabOrderFromTheDescriptionWinsOverCreationOrder) {
  auto F = std::make_unique<TTestForm>(nullptr);
  EXPECT_EQ(F->First->GetTabOrder(), 0);
  EXPECT_EQ(F->Second->GetTabOrder(), 1);
  EXPECT_EQ(F->Third->GetTabOrder(), 2);
  EXPECT_EQ(F->TopBar->GetTabOrder(), 3);
  EXPECT_EQ(F->OkButton->GetTabOrder(), 4);
}

TEST_F(FormsTest, AnchoredButtonFollowsTheResizedForm) {
  auto F = std::make_unique<TTestForm>(nullptr);
  F->SetClientWidth(400);
  F->SetClientHeight(250);
  EXPECT_EQ(F->OkButton->BoundsRect(), TRect(310, 210, 390, 240));
  EXPECT_EQ(F->TopBar->GetWidth(), 400);
}

TEST_F(FormsTest, DialogTabKeyMovesTheActiveControlInTabOrder) {
  auto F = std::make_unique<TTestForm>(nullptr);
  F->SetVisible(true);
  F->SetActiveControl(F->First);
  const TWinControl* Want[] = {F->Second, F->Third, F->OkButton, F->First};
  for (const TWinControl* W : Want) {
    EXPECT_EQ(F->Perform(CM_DIALOGKEY, VK_TAB), 1);
    EXPECT_EQ(F->GetActiveControl(), W);
  }
}

TEST_F(FormsTest, HiddenOrFreedActiveControlLeavesTheFocusWithTheForm) {
  auto F = std::make_unique<TTestForm>(nullptr);
  F->SetActiveControl(F->Second);
  F->Second->Hide();
  EXPECT_EQ(F->GetActiveControl(), nullptr);
  F->SetActiveControl(F->Third);
  delete F->Third;
  F->Third = nullptr;
  EXPECT_EQ(F->GetActiveControl(), nullptr) << "a freed control never stays active";
}

TEST_F(FormsTest, ActiveControlMustBeAFocusableChild) {
  auto F = std::make_unique<TTestForm>(nullptr);
  F->Second->SetEnabled(false);
  EXPECT_THROW(F->SetActiveControl(F->Second), EInvalidOperation);
  TTestPanel Stranger(nullptr);
  EXPECT_THROW(F->SetActiveControl(&Stranger), EInvalidOperation);
  EXPECT_THROW(F->SetActiveControl(F.get()), EInvalidOperation);
}

TEST_F(FormsTest, CloseAsksOnCloseQueryAndOnClose) {
  class TClosing : public TObject {
  public:
    bool Allow = false;
    TCloseAction Action = caHide;
    int Asked = 0;
    void Query(TObject*, bool& CanClose) {
      ++Asked;
      CanClose = Allow;
    }
    void Closing(TObject*, TCloseAction& A) { A = Action; }
  } H;
  TForm F(nullptr);
  F.OnCloseQuery = TCloseQueryEvent(&H, &TClosing::Query);
  F.OnClose = TCloseEvent(&H, &TClosing::Closing);
  F.SetVisible(true);  // without an application: no window, but the protocol holds
  F.Close();
  EXPECT_TRUE(F.GetVisible()) << "refused";
  H.Allow = true;
  H.Action = caNone;
  F.Close();
  EXPECT_TRUE(F.GetVisible()) << "caNone keeps it";
  H.Action = caHide;
  F.Close();
  EXPECT_FALSE(F.GetVisible());
  EXPECT_EQ(H.Asked, 3);
}

TEST_F(FormsTest, BadDescriptionsFailWithTheirReason) {
  struct TCase {
    const char* Text;
    const char* Why;
  } Cases[] = {
      {"object BadForm: TBadForm\n  OnCreate = NoSuchHandler\nend\n", "unknown handler"},
      {"object BadForm: TBadForm\n  object X: TNoSuchClass\n  end\nend\n", "unknown class"},
      {"object BadForm: TBadForm\n  Caption = \n", "truncated text"},
      {"object BadForm: TBadForm\n  NoSuchProperty = 1\nend\n", "unknown property"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    RegisterFormDescription("TBadForm", C.Text);
    EXPECT_THROW(TBadForm F(nullptr), Exception);
  }
  UnregisterFormDescription("TBadForm");
  EXPECT_THROW(TBadForm F(nullptr), EResNotFound);
}

TEST_F(FormsTest, ClientSizeFromTheDescriptionHoldsWhateverTheOrderOfBorderStyle) {
  struct TCase {
    const char* Text;
    const char* Why;
  } Cases[] = {
      {"object PlainForm: TPlainForm\n  BorderStyle = bsDialog\n  ClientHeight = 120\n  ClientWidth = 250\nend\n",
       "border style first"},
      {"object PlainForm: TPlainForm\n  ClientHeight = 120\n  ClientWidth = 250\n  BorderStyle = bsDialog\nend\n",
       "border style last"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    RegisterFormDescription("TPlainForm", C.Text);
    TPlainForm F(nullptr);
    EXPECT_EQ(F.ClientWidth(), 250);
    EXPECT_EQ(F.ClientHeight(), 120);
    EXPECT_GT(F.GetWidth(), 250) << "the frame comes on top";
  }
  UnregisterFormDescription("TPlainForm");
}

TEST_F(FormsTest, PositionStreamsByItsValueNames) {
  TForm F(nullptr);
  EXPECT_EQ(GetPropText(&F, "Position"), "poDesigned");
  SetPropText(&F, "Position", "poScreenCenter");
  EXPECT_EQ(F.GetPosition(), poScreenCenter);
  EXPECT_NE(ComponentToText(&F).find("Position = poScreenCenter"), AnsiString::npos);
  EXPECT_THROW(SetPropText(&F, "Position", "poNowhere"), EPropertyError);
}

// Components the form owns but no control holds (a popup menu) are written
// after the controls and read back, so a control's reference to them holds.
TEST_F(FormsTest, OwnedComponentsWithoutParentAreWrittenAndReadBack) {
  RegisterClasses({TImage::StaticClass(), TPopupMenu::StaticClass(), TMenuItem::StaticClass()});
  TForm F(nullptr);
  F.SetName("Shown");
  auto* Menu = new TPopupMenu(&F);
  Menu->SetName("Popup");
  auto* Item = new TMenuItem(&F);
  Item->SetName("OpenItem");
  Item->SetCaption("&Open");
  Menu->Items()->Add(Item);
  auto* Picture = new TImage(&F);
  Picture->SetName("Picture");
  Picture->SetParent(&F);
  Picture->SetPopupMenu(Menu);
  new TPopupMenu(&F);  // unnamed: a helper the form makes itself

  const AnsiString Text = ComponentToText(&F);
  const size_t PictureAt = Text.find("  object Picture: TImage");
  const size_t MenuAt = Text.find("  object Popup: TPopupMenu");
  ASSERT_NE(PictureAt, AnsiString::npos) << Text;
  ASSERT_NE(MenuAt, AnsiString::npos) << Text;
  EXPECT_LT(PictureAt, MenuAt) << "controls first";
  EXPECT_NE(Text.find("    object OpenItem: TMenuItem", MenuAt), AnsiString::npos) << "items nest in their menu";
  EXPECT_NE(Text.find("PopupMenu = Popup"), AnsiString::npos);
  EXPECT_EQ(Text.find("object : TPopupMenu"), AnsiString::npos) << Text;

  TForm Copy(nullptr);
  TextToComponent(Text, &Copy);
  auto* M = dynamic_cast<TPopupMenu*>(Copy.FindComponent("Popup"));
  auto* P = dynamic_cast<TImage*>(Copy.FindComponent("Picture"));
  ASSERT_NE(M, nullptr);
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->GetPopupMenu(), M);
  ASSERT_EQ(M->Items()->Count(), 1);
  EXPECT_EQ(M->Items()->Items(0)->GetCaption(), "&Open");
  const AnsiString Again = ComponentToText(&Copy);
  EXPECT_NE(Again.find("  object Popup: TPopupMenu\r\n    object OpenItem: TMenuItem"), AnsiString::npos) << Again;
}
