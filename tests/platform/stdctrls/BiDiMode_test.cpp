// Bidirectional mode handed down the control tree, and the mode and input
// method settings the standard controls carry in their descriptions.
#include <gtest/gtest.h>

#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Mask.h"
#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

namespace {
// Counts the mode changes a control hears, then lets it handle them.
class TModeSpy : public TObject {
public:
  explicit TModeSpy(TControl* C) : FControl(C) { C->WindowProc = TWndMethod(this, &TModeSpy::Proc); }
  ~TModeSpy() override { FControl->WindowProc = TWndMethod(FControl, &TControl::WndProc); }
  int Heard = 0;

private:
  void Proc(TMessage& M) {
    if (M.Msg == CM_BIDIMODECHANGED) ++Heard;
    FControl->WndProc(M);
  }
  TControl* FControl;
};

AnsiString Section(const AnsiString& Text, const AnsiString& Name) {
  const size_t From = Text.find("object " + Name + ":");
  if (From == AnsiString::npos) return {};
  return Text.substr(From, Text.find("  end", From) - From);
}
}  // namespace

TEST(BiDiMode, ChildrenFollowTheParentUntilGivenTheirOwn) {
  TForm F(nullptr);
  auto* Panel = new TPanel(&F);
  Panel->SetParent(&F);
  auto* Edit = new TEdit(&F);
  Edit->SetParent(Panel);
  auto* Label = new TLabel(&F);
  Label->SetParent(Panel);
  auto* Own = new TButton(&F);
  Own->SetParent(&F);
  Own->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(Own->GetParentBiDiMode()) << "setting the mode, even to the same, ends following";
  TModeSpy PanelSpy(Panel), EditSpy(Edit), LabelSpy(Label), OwnSpy(Own);

  F.SetBiDiMode(bdRightToLeft);
  for (TControl* C : {static_cast<TControl*>(Panel), static_cast<TControl*>(Edit), static_cast<TControl*>(Label)}) {
    EXPECT_EQ(C->GetBiDiMode(), bdRightToLeft) << C->ClassName();
    EXPECT_TRUE(C->GetParentBiDiMode()) << C->ClassName();
  }
  EXPECT_EQ(Own->GetBiDiMode(), bdLeftToRight);
  EXPECT_FALSE(F.GetParentBiDiMode());
  EXPECT_EQ(PanelSpy.Heard, 1);
  EXPECT_EQ(EditSpy.Heard, 1);
  EXPECT_EQ(LabelSpy.Heard, 1);
  EXPECT_EQ(OwnSpy.Heard, 0);

  Edit->SetBiDiMode(bdRightToLeftNoAlign);
  F.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(Panel->GetBiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(Label->GetBiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(Edit->GetBiDiMode(), bdRightToLeftNoAlign) << "its own mode stays";
  F.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(PanelSpy.Heard, 2) << "the same mode again changes nothing";

  Edit->SetParentBiDiMode(true);
  EXPECT_EQ(Edit->GetBiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(EditSpy.Heard, 3);

  // A control put into a parent takes its mode; moved, it takes the new one.
  auto* Check = new TCheckBox(&F);
  Check->SetParent(Panel);
  EXPECT_EQ(Check->GetBiDiMode(), bdRightToLeftReadingOnly);
  auto* Box = new TGroupBox(&F);
  Box->SetParent(&F);
  Box->SetBiDiMode(bdLeftToRight);
  Check->SetParent(Box);
  EXPECT_EQ(Check->GetBiDiMode(), bdLeftToRight);
}

// Each standard control that has the properties reads them from its
// description and writes back only what differs from following the parent.
TEST(BiDiMode, DescriptionsCarryTheModeAndInputMethodAndWriteOnlyWhatDiffers) {
  RegisterFormsClasses();
  RegisterMaskClasses();
  struct TCase {
    const char* ClassName;
    bool Ime;
  };
  const TCase Cases[] = {
      {"TEdit", true},      {"TMemo", true},          {"TComboBox", true},   {"TListBox", true},
      {"TMaskEdit", true},  {"TButton", false},       {"TCheckBox", false},  {"TRadioButton", false},
      {"TGroupBox", false}, {"TRadioGroup", false},   {"TLabel", false},     {"TPanel", false},
      {"TBitBtn", false},   {"TSpeedButton", false},  {"TScrollBox", false}, {"TScrollBar", false},
      {"TTreeView", false}, {"TListView", false},     {"TPageControl", false}, {"THotKey", false},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.ClassName);
    AnsiString Own = "    BiDiMode = bdRightToLeftReadingOnly\r\n    ParentBiDiMode = False\r\n";
    if (K.Ime) Own += "    ImeMode = imClose\r\n    ImeName = 'Pinyin'\r\n";
    const AnsiString Text = AnsiString("object Host: TForm\r\n  BiDiMode = bdRightToLeft\r\n  ParentBiDiMode = False\r\n") +
                            "  object Own: " + K.ClassName + "\r\n" + Own + "  end\r\n" + "  object Follower: " +
                            K.ClassName + "\r\n  end\r\nend\r\n";
    TForm F(nullptr);
    TextToComponent(Text, &F);
    auto* O = dynamic_cast<TControl*>(F.FindComponent("Own"));
    auto* Fo = dynamic_cast<TControl*>(F.FindComponent("Follower"));
    ASSERT_NE(O, nullptr);
    ASSERT_NE(Fo, nullptr);
    EXPECT_EQ(O->GetBiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_FALSE(O->GetParentBiDiMode());
    EXPECT_EQ(Fo->GetBiDiMode(), bdRightToLeft) << "a loaded control follows its parent";
    EXPECT_TRUE(Fo->GetParentBiDiMode());
    if (K.Ime) {
      auto* W = dynamic_cast<TWinControl*>(O);
      ASSERT_NE(W, nullptr);
      EXPECT_EQ(W->GetImeMode(), imClose);
      EXPECT_EQ(W->GetImeName(), "Pinyin");
      EXPECT_EQ(static_cast<TWinControl*>(Fo)->GetImeMode(), imDontCare);
    }
    const AnsiString Written = ComponentToText(&F);
    for (const char* Line : {"BiDiMode = bdRightToLeftReadingOnly", "ParentBiDiMode = False"})
      EXPECT_NE(Section(Written, "Own").find(Line), AnsiString::npos) << Line << "\n" << Written;
    if (K.Ime) {
      EXPECT_NE(Section(Written, "Own").find("ImeMode = imClose"), AnsiString::npos) << Written;
      EXPECT_NE(Section(Written, "Own").find("ImeName = 'Pinyin'"), AnsiString::npos) << Written;
    }
    const AnsiString Follower = Section(Written, "Follower");
    ASSERT_FALSE(Follower.empty()) << Written;
    for (const char* Word : {"BiDiMode", "ImeMode", "ImeName"})
      EXPECT_EQ(Follower.find(Word), AnsiString::npos) << Word << "\n" << Written;
  }
}
