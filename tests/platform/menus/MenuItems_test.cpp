// TMenuItem, TMainMenu and TPopupMenu as objects: the item tree, the HMENU
// kept in step with it, form descriptions, actions and commands.
#include <gtest/gtest.h>

#include <memory>

#include "../win/WinTestSupport.h"
#include "platform/forms/ActnList.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ClassRegistry.h"

namespace {
class TMenuForm : public TForm {
  SX_CLASS(TMenuForm, TForm)
public:
  explicit TMenuForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TMenuForm>& P) {
    P.Property("MainMenu1", &TMenuForm::MainMenu1, &TMenuForm::MainMenu1).Stored(false);
    P.Property("Popup1", &TMenuForm::Popup1, &TMenuForm::Popup1).Stored(false);
    P.Property("Open1", &TMenuForm::Open1, &TMenuForm::Open1).Stored(false);
    P.Property("Recent1", &TMenuForm::Recent1, &TMenuForm::Recent1).Stored(false);
    P.Method("Open1Click", &TMenuForm::Open1Click);
  }
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* Popup1 = nullptr;
  TMenuItem* Open1 = nullptr;
  TMenuItem* Recent1 = nullptr;
  int Opened = 0;
  void Open1Click(TObject*) { ++Opened; }
};

const char* MenuFormText = R"(object MenuForm: TMenuForm
  Left = 100
  Top = 100
  ClientWidth = 392
  ClientHeight = 250
  Caption = 'Menus'
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = Open1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Recent1: TMenuItem
        Caption = '&Recent'
        object Doc1: TMenuItem
          Caption = 'doc1.rtf'
          RadioItem = True
          Checked = True
        end
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      Enabled = False
    end
  end
  object Popup1: TPopupMenu
    AutoPopup = False
    Alignment = paRight
    object Copy1: TMenuItem
      Caption = '&Copy'
      Default = True
    end
  end
end
)";

class MenuItems : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    RegisterFormsClasses();
    RegisterClasses({TMenuForm::StaticClass()});
    RegisterFormDescription("TMenuForm", MenuFormText);
  }
  void TearDown() override {
    UnregisterFormDescription("TMenuForm");
    TWinTest::TearDown();
  }
  static UINT StateAt(HMENU M, int Pos) { return GetMenuState(M, UINT(Pos), MF_BYPOSITION); }
  static AnsiString TextAt(HMENU M, int Pos) {
    char Buf[80] = {};
    GetMenuStringA(M, UINT(Pos), Buf, sizeof Buf, MF_BYPOSITION);
    return Buf;
  }
};

TMenuItem* Item(TComponent* Owner, const char* Caption) {
  auto* I = new TMenuItem(Owner);
  I->SetCaption(Caption);
  return I;
}

TEST_F(MenuItems, TreeOperationsAndTheirErrors) {
  TComponent Owner(nullptr);
  auto* Menu = new TPopupMenu(&Owner);
  TMenuItem* A = Item(&Owner, "&Alpha");
  TMenuItem* B = Item(&Owner, "Beta");
  Menu->Items()->Add(A);
  Menu->Items()->Insert(0, B);
  EXPECT_EQ(Menu->Items()->Count(), 2);
  EXPECT_EQ(Menu->Items()->IndexOf(A), 1);
  EXPECT_EQ(Menu->Items()->Find("alpha"), A) << "Find ignores & and case";
  EXPECT_EQ(A->GetParentMenu(), Menu);
  A->SetMenuIndex(0);
  EXPECT_EQ(Menu->Items()->Items(0), A);

  EXPECT_THROW(Menu->Items()->Items(5), EMenuError);
  EXPECT_THROW(Menu->Items()->Add(A), EMenuError) << "inserted twice";
  EXPECT_THROW(Menu->Items()->Insert(9, Item(&Owner, "x")), EMenuError);
  TMenuItem* Child = Item(&Owner, "Child");
  A->Add(Child);
  Menu->Items()->Remove(A);
  EXPECT_THROW(Child->Add(A), EMenuError) << "an item cannot hold its own parent";
  Menu->Items()->Add(A);

  delete Child;
  EXPECT_EQ(A->Count(), 0) << "a freed item leaves its parent";
  Menu->Items()->Clear();
  EXPECT_EQ(Menu->Items()->Count(), 0);
}

// The HMENU follows every change in place: a menu being shown stays valid.
TEST_F(MenuItems, HandleFollowsItemChangesInPlace) {
  TComponent Owner(nullptr);
  auto* Menu = new TPopupMenu(&Owner);
  TMenuItem* Open = Item(&Owner, "&Open");
  TMenuItem* Line = Item(&Owner, "-");
  TMenuItem* Hidden = Item(&Owner, "Hidden");
  TMenuItem* Sub = Item(&Owner, "&More");
  for (TMenuItem* I : {Open, Line, Hidden, Sub}) Menu->Items()->Add(I);
  Hidden->SetVisible(false);
  HMENU H = Menu->Handle();
  ASSERT_EQ(GetMenuItemCount(H), 3) << "hidden items are left out";
  EXPECT_EQ(StateAt(H, 1) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  EXPECT_EQ(GetSubMenu(H, 2), nullptr) << "no sub-menu until it has items";

  Open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
  Open->SetChecked(true);
  Open->SetEnabled(false);
  EXPECT_EQ(TextAt(H, 0), "&Open\tCtrl+O");
  EXPECT_EQ(StateAt(H, 0) & (MF_CHECKED | MF_GRAYED), UINT(MF_CHECKED | MF_GRAYED));
  EXPECT_EQ(GetMenuItemID(H, 0), UINT(Open->Command()));

  Sub->Add(Item(&Owner, "Deep"));
  ASSERT_NE(GetSubMenu(H, 2), nullptr);
  EXPECT_EQ(GetSubMenu(H, 2), Sub->Handle());
  Hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(H), 4);
  EXPECT_EQ(TextAt(H, 2), "Hidden");
  EXPECT_EQ(Menu->Handle(), H) << "same handle after the changes";

  // Radio items of one group check one at a time; the default is unique.
  TMenuItem* R1 = Item(&Owner, "R1");
  TMenuItem* R2 = Item(&Owner, "R2");
  for (TMenuItem* R : {R1, R2}) {
    R->SetRadioItem(true);
    R->SetGroupIndex(3);
    Menu->Items()->Add(R);
  }
  R1->SetChecked(true);
  R2->SetChecked(true);
  EXPECT_FALSE(R1->GetChecked());
  MENUITEMINFOA Info;
  Info.fMask = MIIM_FTYPE | MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfoA(H, R2->Command(), FALSE, &Info));
  EXPECT_TRUE(Info.fType & MFT_RADIOCHECK);
  EXPECT_TRUE(Info.fState & MFS_CHECKED);
  R1->SetDefault(true);
  R2->SetDefault(true);
  EXPECT_FALSE(R1->GetDefault());
  EXPECT_EQ(GetMenuDefaultItem(H, FALSE, 0), UINT(R2->Command()));

  Menu->Items()->Remove(Open);
  EXPECT_EQ(GetMenuItemCount(H), 5);
  delete Open;
}

TEST_F(MenuItems, FormDescriptionBuildsTheMenusAndTheBar) {
  auto* F = new TMenuForm(nullptr);
  std::unique_ptr<TMenuForm> Own(F);
  ASSERT_NE(F->MainMenu1, nullptr);
  EXPECT_EQ(F->GetMenu(), F->MainMenu1);
  TMenuItem* Root = F->MainMenu1->Items();
  ASSERT_EQ(Root->Count(), 2);
  TMenuItem* File = Root->Items(0);
  EXPECT_EQ(File->GetCaption(), "&File");
  ASSERT_EQ(File->Count(), 3);
  EXPECT_EQ(File->Items(0), F->Open1);
  EXPECT_TRUE(File->Items(1)->IsLine());
  EXPECT_EQ(F->Open1->GetShortCut(), ShortCut('O', TShiftState{ssCtrl}));
  EXPECT_TRUE(F->Recent1->Items(0)->GetChecked());
  EXPECT_FALSE(Root->Items(1)->GetEnabled());
  EXPECT_EQ(F->Popup1->Alignment, paRight);
  EXPECT_FALSE(F->Popup1->AutoPopup);
  EXPECT_TRUE(F->Popup1->Items()->Items(0)->GetDefault());

  F->Show();
  Pump();
  HMENU Bar = GetMenu(F->Handle());
  ASSERT_EQ(Bar, F->MainMenu1->Handle());
  TRect Client;
  GetClientRect(F->Handle(), &Client);
  EXPECT_EQ(Client.Height(), 250) << "the described client size leaves room for the bar";
  EXPECT_EQ(GetMenuItemCount(Bar), 2);
  EXPECT_EQ(StateAt(Bar, 1) & MF_GRAYED, UINT(MF_GRAYED));
  // The menu's command reaches the handler the description named.
  PostMessageA(F->Handle(), WM_COMMAND, F->Open1->Command(), 0);
  Pump();
  EXPECT_EQ(F->Opened, 1);
  // A freed main menu leaves the form without a bar.
  delete F->MainMenu1;
  EXPECT_EQ(F->GetMenu(), nullptr);
  EXPECT_EQ(GetMenu(F->Handle()), nullptr);
}

class TActionSink : public TObject {
public:
  int Runs = 0;
  void Run(TObject*) { ++Runs; }
};

TEST_F(MenuItems, ActionDrivesTheItemAndRunsOnClick) {
  TComponent Owner(nullptr);
  auto* List = new TActionList(&Owner);
  auto* Action = new TAction(&Owner);
  Action->SetActionList(List);
  TActionSink Sink;
  Action->OnExecute = TNotifyEvent(&Sink, &TActionSink::Run);
  Action->SetCaption("&Save");
  Action->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  auto* Menu = new TPopupMenu(&Owner);
  TMenuItem* I = Item(&Owner, "old");
  Menu->Items()->Add(I);
  I->SetAction(Action);
  EXPECT_EQ(I->GetCaption(), "&Save");
  EXPECT_EQ(I->GetShortCut(), Action->GetShortCut());
  Action->SetEnabled(false);
  EXPECT_FALSE(I->GetEnabled());
  I->Click();
  EXPECT_EQ(Sink.Runs, 0) << "disabled";
  Action->SetEnabled(true);
  EXPECT_TRUE(Menu->DispatchCommand(I->Command()));
  EXPECT_EQ(Sink.Runs, 1);
  EXPECT_TRUE(Menu->IsShortCut(ShortCut('S', TShiftState{ssCtrl})));
  EXPECT_EQ(Sink.Runs, 2);
  delete Action;
  EXPECT_EQ(I->GetAction(), nullptr) << "a freed action leaves the item";
}
}  // namespace
