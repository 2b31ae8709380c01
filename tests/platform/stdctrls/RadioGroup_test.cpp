// The radio group in a form loaded from its description: the buttons it
// builds from its lines, the choice by mouse, arrow keys and accelerators,
// columns, lines changed at run time, and the look.
#include <gtest/gtest.h>

#include <vector>

#include "StdEditTestForm.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/RadioGroup.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Win.h"

namespace {
// A search dialog's two choices, a two-column group and a button to leave by.
class TSearchTestForm : public TForm {
  SX_CLASS(TSearchTestForm, TForm)
public:
  explicit TSearchTestForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TSearchTestForm>& P) {
    P.Property("ScopeGroup", &TSearchTestForm::ScopeGroup, &TSearchTestForm::ScopeGroup).Stored(false);
    P.Property("OriginGroup", &TSearchTestForm::OriginGroup, &TSearchTestForm::OriginGroup).Stored(false);
    P.Property("UnitsGroup", &TSearchTestForm::UnitsGroup, &TSearchTestForm::UnitsGroup).Stored(false);
    P.Property("OkButton", &TSearchTestForm::OkButton, &TSearchTestForm::OkButton).Stored(false);
    P.Method("ScopeGroupClick", &TSearchTestForm::ScopeGroupClick);
  }
  TRadioGroup* ScopeGroup = nullptr;
  TRadioGroup* OriginGroup = nullptr;
  TRadioGroup* UnitsGroup = nullptr;
  TButton* OkButton = nullptr;
  std::vector<Integer> ScopeClicks;  // ItemIndex at each OnClick
  void ScopeGroupClick(TObject*) { ScopeClicks.push_back(ScopeGroup->GetItemIndex()); }
};

const char* const SearchTestFormText = R"(object SearchTestForm: TSearchTestForm
  Left = 120
  Top = 100
  BorderStyle = bsDialog
  Caption = 'Find'
  ClientHeight = 200
  ClientWidth = 425
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  object ScopeGroup: TRadioGroup
    Left = 8
    Top = 8
    Width = 201
    Height = 65
    Caption = 'Scope'
    ItemIndex = 0
    Items.Strings = (
      '&Global'
      '&Selected text')
    TabOrder = 0
    OnClick = ScopeGroupClick
  end
  object OriginGroup: TRadioGroup
    Left = 216
    Top = 8
    Width = 201
    Height = 65
    Caption = 'Origin'
    ItemIndex = 1
    Items.Strings = (
      '&From cursor'
      '&Entire scope')
    TabOrder = 1
  end
  object UnitsGroup: TRadioGroup
    Left = 8
    Top = 80
    Width = 201
    Height = 73
    Caption = 'Units'
    Columns = 2
    Items.Strings = (
      'Inches'
      'Centimetres'
      'Points'
      'Picas'
      'Pixels')
    TabOrder = 2
  end
  object OkButton: TButton
    Left = 264
    Top = 120
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    TabOrder = 3
  end
end
)";

TWinControl* Focused() { return FindControl(GetFocus()); }

class RadioGroupTest : public TStdCtrlsFormTest {
protected:
  void SetUp() override {
    TStdCtrlsFormTest::SetUp();
    RegisterClasses({TSearchTestForm::StaticClass()});
    RegisterFormDescription("TSearchTestForm", SearchTestFormText);
  }
  void TearDown() override {
    TStdCtrlsFormTest::TearDown();
    UnregisterFormDescription("TSearchTestForm");
  }
  TSearchTestForm* ShowSearch() {
    App->CreateForm(Search);
    Search->Show();
    Pump();
    return Search;
  }
  // Which of the group's buttons are checked, as "10" / "01" ...
  static std::string Checks(TCustomRadioGroup* G) {
    std::string S;
    for (Integer I = 0; I < G->ButtonCount(); ++I) S += G->Buttons(I)->GetChecked() ? '1' : '0';
    return S;
  }
  TSearchTestForm* Search = nullptr;
};
}  // namespace

TEST_F(RadioGroupTest, DescriptionBuildsOneButtonPerLine) {
  ShowSearch();
  TRadioGroup* Scope = Search->ScopeGroup;
  ASSERT_EQ(Scope->ButtonCount(), 2);
  EXPECT_EQ(Scope->Buttons(0)->GetCaption(), "&Global");
  EXPECT_EQ(Scope->Buttons(1)->GetCaption(), "&Selected text");
  EXPECT_EQ(Scope->Buttons(1)->GetParent(), Scope);
  EXPECT_EQ(Scope->GetItemIndex(), 0);
  EXPECT_EQ(Checks(Scope), "10");
  EXPECT_EQ(Search->OriginGroup->GetItemIndex(), 1);
  EXPECT_EQ(Checks(Search->OriginGroup), "01");
  EXPECT_EQ(Search->OriginGroup->Buttons(0)->GetCaption(), "&From cursor");
  EXPECT_EQ(Search->UnitsGroup->GetColumns(), 2);
  EXPECT_EQ(Search->UnitsGroup->GetItemIndex(), -1);
  EXPECT_EQ(Checks(Search->UnitsGroup), "00000");
  EXPECT_TRUE(Search->ScopeClicks.empty()) << "reading the description chooses nothing";
  // The buttons are the group's own: they are not the form's components.
  for (Integer I = 0; I < Search->ComponentCount(); ++I)
    EXPECT_EQ(dynamic_cast<TRadioButton*>(Search->Components(I)), nullptr);
  // Written out, the group keeps its lines and choice, not its buttons.
  const AnsiString Text = ComponentToText(Search);
  EXPECT_NE(Text.find("Items.Strings = (\r\n      '&Global'\r\n      '&Selected text')"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Columns = 2"), AnsiString::npos);
  EXPECT_NE(Text.find("ItemIndex = 0"), AnsiString::npos);
  EXPECT_NE(Text.find("ItemIndex = 1"), AnsiString::npos);
  EXPECT_EQ(Text.find("TRadioButton"), AnsiString::npos);
}

TEST_F(RadioGroupTest, ClickArrowsAndAcceleratorsChoose) {
  ShowSearch();
  TRadioGroup* Scope = Search->ScopeGroup;
  TRadioGroup* Origin = Search->OriginGroup;
  ClickAt(Scope->Buttons(1), 6, Scope->Buttons(1)->GetHeight() / 2);
  EXPECT_EQ(Scope->GetItemIndex(), 1);
  EXPECT_EQ(Checks(Scope), "01");
  EXPECT_EQ(Search->ScopeClicks, std::vector<Integer>{1});
  // The checked button is the group's tab stop; arrows move the check.
  Press(VK_UP);
  EXPECT_EQ(Focused(), Scope->Buttons(0));
  EXPECT_EQ(Scope->GetItemIndex(), 0);
  EXPECT_TRUE(Scope->Buttons(0)->GetTabStop());
  EXPECT_FALSE(Scope->Buttons(1)->GetTabStop());
  Press(VK_DOWN);
  EXPECT_EQ(Scope->GetItemIndex(), 1);
  EXPECT_EQ((Search->ScopeClicks), (std::vector<Integer>{1, 0, 1}));
  Press(VK_TAB);
  EXPECT_EQ(Focused(), Origin->Buttons(1)) << "Tab lands on the checked button";
  // Alt+letter checks the line wherever the focus is, in either group.
  PressWith(VK_MENU, 'F');
  EXPECT_EQ(Origin->GetItemIndex(), 0);
  EXPECT_EQ(Focused(), Origin->Buttons(0));
  PressWith(VK_MENU, 'G');
  EXPECT_EQ(Scope->GetItemIndex(), 0);
  EXPECT_EQ(Checks(Scope), "10");
  EXPECT_EQ(Checks(Origin), "10");
  // In code: the check follows; a value out of range chooses none.
  Scope->SetItemIndex(1);
  EXPECT_EQ(Checks(Scope), "01");
  Scope->SetItemIndex(7);
  EXPECT_EQ(Scope->GetItemIndex(), -1);
  EXPECT_EQ(Checks(Scope), "00");
  EXPECT_TRUE(Scope->Buttons(0)->GetTabStop()) << "with no choice the first button keeps the group reachable";
}

TEST_F(RadioGroupTest, NoChoiceYetTabChoosesTheFirstLine) {
  ShowSearch();
  TRadioGroup* Units = Search->UnitsGroup;
  Search->OriginGroup->Buttons(1)->SetFocus();
  Pump();
  Press(VK_TAB);
  EXPECT_EQ(Focused(), Units->Buttons(0));
  EXPECT_EQ(Units->GetItemIndex(), 0);
  Press(VK_DOWN);
  Press(VK_DOWN);
  EXPECT_EQ(Units->GetItemIndex(), 2);
  EXPECT_EQ(Checks(Units), "00100");
}

TEST_F(RadioGroupTest, ColumnsFillTopToBottomInsideTheFrame) {
  ShowSearch();
  TRadioGroup* Units = Search->UnitsGroup;  // five lines in two columns: 3 + 2
  const TRect Client = Units->GetClientRect();
  std::vector<TRect> B;
  for (Integer I = 0; I < Units->ButtonCount(); ++I) B.push_back(Units->Buttons(I)->BoundsRect());
  EXPECT_EQ(B[0].Left, B[1].Left);
  EXPECT_EQ(B[1].Left, B[2].Left);
  EXPECT_EQ(B[3].Left, B[4].Left);
  EXPECT_GT(B[3].Left, B[0].Right - 1) << "the second column starts right of the first";
  EXPECT_EQ(B[3].Top, B[0].Top);
  EXPECT_EQ(B[4].Top, B[1].Top);
  EXPECT_EQ(B[1].Top - B[0].Top, B[2].Top - B[1].Top) << "rows evenly spaced";
  EXPECT_GT(B[0].Top, 8) << "below the caption";
  EXPECT_LE(B[2].Bottom, Client.Bottom - 2);
  EXPECT_LE(B[4].Right, Client.Right - 2);
  // One column again: all five under each other, as wide as the frame allows.
  Units->SetColumns(1);
  for (Integer I = 1; I < Units->ButtonCount(); ++I) {
    EXPECT_EQ(Units->Buttons(I)->GetLeft(), Units->Buttons(0)->GetLeft());
    EXPECT_GT(Units->Buttons(I)->GetTop(), Units->Buttons(I - 1)->GetTop());
  }
  EXPECT_GT(Units->Buttons(0)->GetWidth(), B[0].Width() + 50);
  // A taller group spreads the rows further apart.
  const Integer Step = Units->Buttons(1)->GetTop() - Units->Buttons(0)->GetTop();
  Units->SetHeight(Units->GetHeight() + 50);
  EXPECT_EQ(Units->Buttons(1)->GetTop() - Units->Buttons(0)->GetTop(), Step + 10);
  // A larger font from the form reaches the buttons and moves them below
  // the taller caption.
  const Integer Top = Units->Buttons(0)->GetTop();
  Search->GetFont()->SetHeight(-20);
  EXPECT_EQ(Units->Buttons(0)->GetFont()->GetHeight(), -20);
  EXPECT_GT(Units->Buttons(0)->GetTop(), Top + 4);
}

TEST_F(RadioGroupTest, NewLinesRebuildTheButtonsAndKeepAValidChoice) {
  ShowSearch();
  TRadioGroup* Scope = Search->ScopeGroup;
  Scope->SetItemIndex(1);
  Scope->GetItems()->Add("&Whole folder");
  ASSERT_EQ(Scope->ButtonCount(), 3);
  EXPECT_EQ(Scope->Buttons(2)->GetCaption(), "&Whole folder");
  EXPECT_EQ(Scope->GetItemIndex(), 1);
  EXPECT_EQ(Checks(Scope), "010");
  PressWith(VK_MENU, 'W');
  EXPECT_EQ(Scope->GetItemIndex(), 2);
  // Lines renamed in place keep the choice; a choice past the end goes.
  Scope->GetItems()->SetStrings(0, "&All files");
  EXPECT_EQ(Scope->Buttons(0)->GetCaption(), "&All files");
  EXPECT_EQ(Scope->GetItemIndex(), 2);
  Scope->GetItems()->Delete(2);
  EXPECT_EQ(Scope->ButtonCount(), 2);
  EXPECT_EQ(Scope->GetItemIndex(), -1);
  EXPECT_EQ(Checks(Scope), "00");
  Scope->GetItems()->Clear();
  EXPECT_EQ(Scope->ButtonCount(), 0);
  Scope->SetItemIndex(0);
  EXPECT_EQ(Scope->GetItemIndex(), -1);
  // Enabled reaches the buttons, old and new.
  Search->OriginGroup->SetEnabled(false);
  Search->OriginGroup->GetItems()->Add("&Here");
  for (Integer I = 0; I < Search->OriginGroup->ButtonCount(); ++I)
    EXPECT_FALSE(Search->OriginGroup->Buttons(I)->GetEnabled()) << I;
  Search->OriginGroup->SetEnabled(true);
  EXPECT_TRUE(Search->OriginGroup->Buttons(2)->GetEnabled());
  EXPECT_TRUE(Errors.Text.empty()) << Errors.Text;
}

TEST_F(RadioGroupTest, LooksRightAtChosenPixels) {
  ShowSearch();
  Search->OkButton->SetFocus();
  Pump();
  UpdateWindow(Search->Handle());
  TRect R;
  GetWindowRect(Search->Handle(), &R);
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/radiogroup_form.png", &R);
  TRadioGroup* Scope = Search->ScopeGroup;
  // The chosen button's dot is dark, the other's centre the window colour.
  const auto Centre = [&](TRadioButton* B) { return PixelOf(B, 6, B->GetHeight() / 2); };
  EXPECT_EQ(Centre(Scope->Buttons(0)), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(Centre(Scope->Buttons(1)), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Centre(Search->OriginGroup->Buttons(1)), GetSysColor(COLOR_WINDOWTEXT));
  // The etched frame runs below the caption's middle, on the face colour.
  int Shadow = 0;
  for (int Y = 0; Y < 12; ++Y) Shadow += PixelOf(Scope, 100, Y) == GetSysColor(COLOR_3DSHADOW);
  EXPECT_EQ(Shadow, 1);
  // The caption's ink over the frame's gap, and the line's text (smoothed
  // text: count the dark pixels).
  const auto Dark = [](COLORREF C) { return GetRValue(C) < 110 && GetGValue(C) < 110 && GetBValue(C) < 110; };
  int Ink = 0;
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 8; X < 40; ++X) Ink += Dark(PixelOf(Scope, X, Y));
  EXPECT_GT(Ink, 20);
  Ink = 0;
  TRadioButton* Selected = Scope->Buttons(1);
  for (int Y = 0; Y < Selected->GetHeight(); ++Y)
    for (int X = 17; X < 80; ++X) Ink += Dark(PixelOf(Selected, X, Y));
  EXPECT_GT(Ink, 40);
}
