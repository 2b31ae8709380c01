// Status-bar panels and the bidirectional mode: panels follow their bar's
// mode while ParentBiDiMode, keep their own once set, and carry both in
// copies and in form descriptions.
#include <gtest/gtest.h>

#include "bars/statusbar/dxStatusBar.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

namespace {
AnsiString ItemText(const AnsiString& Text, const AnsiString& PanelText) {
  const size_t At = Text.find("Text = '" + PanelText + "'");
  if (At == AnsiString::npos) return {};
  const size_t From = Text.rfind("item", At);
  return Text.substr(From, Text.find("end", At) - From);
}
}  // namespace

TEST(StatusBarBiDi, PanelsFollowTheBarUntilGivenTheirOwnMode) {
  TForm Form(nullptr);
  auto* Bar = new TdxStatusBar(&Form);
  Bar->SetParent(&Form);
  TdxStatusBarPanel* Follower = Bar->Panels()->Add();
  TdxStatusBarPanel* Own = Bar->Panels()->Add();
  Own->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(Own->GetParentBiDiMode()) << "setting the mode ends following the bar";

  // The form's mode reaches the bar and, through it, the panels.
  Form.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(Bar->GetBiDiMode(), bdRightToLeft);
  EXPECT_EQ(Follower->GetBiDiMode(), bdRightToLeft);
  EXPECT_TRUE(Follower->GetParentBiDiMode());
  EXPECT_EQ(Own->GetBiDiMode(), bdLeftToRight);

  Bar->SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(Follower->GetBiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(Bar->Panels()->Add()->GetBiDiMode(), bdRightToLeftReadingOnly) << "a new panel takes the bar's";
  Own->SetParentBiDiMode(true);
  EXPECT_EQ(Own->GetBiDiMode(), bdRightToLeftReadingOnly);

  // Back to the defaults: following the bar again.
  Own->SetBiDiMode(bdRightToLeftNoAlign);
  Own->RestoreDefaults();
  EXPECT_TRUE(Own->GetParentBiDiMode());
  EXPECT_EQ(Own->GetBiDiMode(), bdRightToLeftReadingOnly);
}

TEST(StatusBarBiDi, CopiedPanelsKeepTheirModeTextAndWidths) {
  TdxStatusBar From(nullptr), To(nullptr);
  From.SetBiDiMode(bdRightToLeft);
  To.SetBiDiMode(bdRightToLeftReadingOnly);
  TdxStatusBarPanel* A = From.Panels()->Add();
  A->SetText("own");
  A->SetBiDiMode(bdLeftToRight);
  A->SetMinWidth(30);
  A->SetWidth(80);
  A->SetBevel(dxpbRaised);
  A->SetFixed(false);
  TdxStatusBarPanel* B = From.Panels()->Add();
  B->SetText("follows");
  B->SetPanelStyleClassName("TdxStatusBarKeyboardStatePanelStyle");

  To.SetPanels(From.Panels());
  ASSERT_EQ(To.Panels()->Count(), 2);
  TdxStatusBarPanel* A2 = To.Panels()->Item(0);
  TdxStatusBarPanel* B2 = To.Panels()->Item(1);
  EXPECT_EQ(A2->GetText(), "own");
  EXPECT_EQ(A2->GetBiDiMode(), bdLeftToRight);
  EXPECT_FALSE(A2->GetParentBiDiMode());
  EXPECT_EQ(A2->GetMinWidth(), 30);
  EXPECT_EQ(A2->GetWidth(), 80);
  EXPECT_EQ(A2->GetBevel(), dxpbRaised);
  EXPECT_FALSE(A2->GetFixed());
  EXPECT_TRUE(A2->IsWidthStored());
  EXPECT_EQ(B2->GetText(), "follows");
  EXPECT_TRUE(B2->GetParentBiDiMode());
  EXPECT_EQ(B2->GetBiDiMode(), bdRightToLeftReadingOnly) << "a following panel takes its new bar's mode";
  EXPECT_FALSE(B2->IsWidthStored()) << "a width never set stays unset";
  EXPECT_NE(dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(B2->PanelStyle()), nullptr);
}

const char* const BiDiBarForm = R"(object BiDiForm: TForm
  BiDiMode = bdRightToLeft
  ParentBiDiMode = False
  object Bar: TdxStatusBar
    Panels = <
      item
        BiDiMode = bdLeftToRight
        ParentBiDiMode = False
        Text = 'own'
      end
      item
        Text = 'follows'
      end>
  end
end
)";

TEST(StatusBarBiDi, DescriptionCarriesThePanelsModesAndWritesOnlyTheirOwn) {
  RegisterStatusBarClasses();
  RegisterClasses({TForm::StaticClass()});
  TForm Form(nullptr);
  TextToComponent(BiDiBarForm, &Form);
  auto* Bar = dynamic_cast<TdxStatusBar*>(Form.FindComponent("Bar"));
  ASSERT_NE(Bar, nullptr);
  ASSERT_EQ(Bar->Panels()->Count(), 2);
  EXPECT_EQ(Bar->GetBiDiMode(), bdRightToLeft) << "the bar follows its form";
  EXPECT_EQ(Bar->Panels()->Item(0)->GetBiDiMode(), bdLeftToRight);
  EXPECT_EQ(Bar->Panels()->Item(1)->GetBiDiMode(), bdRightToLeft) << "the panel follows its bar";

  const AnsiString Text = ComponentToText(&Form);
  const AnsiString Own = ItemText(Text, "own"), Follows = ItemText(Text, "follows");
  EXPECT_NE(Own.find("BiDiMode = bdLeftToRight"), AnsiString::npos) << Text;
  EXPECT_NE(Own.find("ParentBiDiMode = False"), AnsiString::npos) << Text;
  ASSERT_FALSE(Follows.empty()) << Text;
  EXPECT_EQ(Follows.find("BiDiMode"), AnsiString::npos) << Text;
  const size_t PanelsEnd = Text.find("end>");
  ASSERT_NE(PanelsEnd, AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("BiDiMode", PanelsEnd), AnsiString::npos) << "the bar follows its form and writes no mode\n"
                                                                  << Text;
}
