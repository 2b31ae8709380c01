// The masked edit: how masks read, how text goes in and out of them, and
// typing, deleting and pasting on a shown form.
#include "platform/forms/Mask.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/forms/Application.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {

TEST(TEditMaskFormat, MasksPutTextInAndTakeItOut) {
  struct Case {
    const char* Mask;
    const char* Text;
    const char* EditText;  // what the window shows
    const char* Back;      // Text read back
  };
  const Case Cases[] = {
      {"00/00/0000;1;_", "12/05/2026", "12/05/2026", "12/05/2026"},
      {"00/00/0000;0;_", "12052026", "12/05/2026", "12052026"},
      {"00/00/0000;1;_", "1", "1_/__/____", "1 /  /    "},
      {"!999;0;*", "7", "**7", "  7"},
      {"999;0;*", "7", "7**", "7  "},
      {">LL<ll;1;_", "abCD", "ABcd", "ABcd"},
      {">L<>l;1;_", "ab", "Ab", "Ab"},
      {"\\(000\\) 000;0;_", "123456", "(123) 456", "123456"},
      {"LL_00", "ab 12", "ab 12", "ab 12"},
      {"00;1;_", "x9", "_9", " 9"},  // a letter where a digit goes stays blank
      {"#0", "-5", "-5", "-5"},
      {"aa;1; ", "a", "a ", "a "},
      {"", "free text", "free text", "free text"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mask);
    TEditMaskFormat F(C.Mask);
    const AnsiString Edit = F.ToEditText(C.Text);
    EXPECT_EQ(Edit, C.EditText);
    EXPECT_EQ(F.ToText(Edit), C.Back);
  }
}

TEST(TEditMaskFormat, RequiredPositionsAndTheFieldsAfterTheMask) {
  TEditMaskFormat F("L0l9;0;#");
  EXPECT_EQ(F.Length(), 4);
  EXPECT_FALSE(F.SaveLiterals());
  EXPECT_EQ(F.Blank(), '#');
  EXPECT_EQ(F.FirstMissing("A#b#"), 1);
  EXPECT_EQ(F.FirstMissing("A1##"), -1) << "optional positions may stay empty";
  EXPECT_EQ(F.FirstMissing(""), 0);
  // A separator taken literally belongs to the mask.
  TEditMaskFormat Semi("0\\;0");
  EXPECT_EQ(Semi.Length(), 3);
  EXPECT_TRUE(Semi.SaveLiterals());
  EXPECT_EQ(Semi.ToEditText("1;2"), "1;2");
  EXPECT_EQ(Semi.NextOpen(1), 2);
  EXPECT_EQ(Semi.PreviousOpen(2), 0);
}

class MaskEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetWindowSystem();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(nullptr);
    Form->SetBounds(20, 20, 300, 120);
    Edit = new TMaskEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 24);
  }
  void TearDown() override {
    delete Form;
    App.reset();
    ResetWindowSystem();
  }
  void Show() {
    Form->Show();
    Edit->SetFocus();
    HeadlessDisplay().ProcessMessages();
  }
  void Key(WORD Vk, bool Ctrl = false) {
    auto& D = HeadlessDisplay();
    if (Ctrl) D.KeyDown(VK_CONTROL);
    D.KeyPress(Vk);
    if (Ctrl) D.KeyUp(VK_CONTROL);
    D.ProcessMessages();
  }
  void Type(const AnsiString& Text) {
    HeadlessDisplay().TypeText(Text);
    HeadlessDisplay().ProcessMessages();
  }
  void Caret(Integer Pos) { SendMessageA(Edit->Handle(), EM_SETSEL, WPARAM(Pos), LPARAM(Pos)); }
  Integer CaretPos() {
    DWORD S = 0;
    SendMessageA(Edit->Handle(), EM_GETSEL, WPARAM(&S), 0);
    return Integer(S);
  }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TMaskEdit* Edit = nullptr;
};

TEST_F(MaskEditTest, TypingFillsOpenPositionsAndStepsOverFixedOnes) {
  Edit->SetEditMask("00/00;0;_");
  EXPECT_TRUE(Edit->IsMasked());
  EXPECT_EQ(Edit->GetEditText(), "__/__");
  Show();
  Caret(0);
  Type("1x2");  // the letter is refused, nothing moves
  EXPECT_EQ(Edit->GetEditText(), "12/__");
  EXPECT_EQ(CaretPos(), 3) << "past the fixed character";
  Type("345");
  EXPECT_EQ(Edit->GetEditText(), "12/34") << "no room for the last digit";
  EXPECT_EQ(Edit->GetText(), "1234");
  EXPECT_TRUE(Edit->GetModified());
  // For a person to look at, beside the test binary.
  const std::string Shots = SX_SOURCE_DIR "/build/mask_shots";
  std::filesystem::create_directories(Shots);
  const TPoint O = Form->ClientToScreen({0, 0});
  const TRect Area = Bounds(O.X, O.Y, 200, 50);
  HeadlessDisplay().SaveScreenshot(Shots + "/typed.png", &Area);

  Key(VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "12/3_");
  Caret(3);
  Key(VK_BACK);  // over the fixed character to the digit before it
  EXPECT_EQ(Edit->GetEditText(), "1_/3_");
  EXPECT_EQ(CaretPos(), 1);
  Caret(0);
  Key(VK_DELETE);
  EXPECT_EQ(Edit->GetEditText(), "__/3_");
  EXPECT_EQ(CaretPos(), 0);
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, 5);
  Key(VK_DELETE);
  EXPECT_EQ(Edit->GetEditText(), "__/__") << "the selection empties, fixed characters stay";

  // Pasted text goes in as if typed.
  Clipboard()->SetAsText("0912");
  Caret(0);
  Key('V', true);
  EXPECT_EQ(Edit->GetEditText(), "09/12");
  SendMessageA(Edit->Handle(), EM_SETSEL, 0, 2);
  Key('X', true);
  EXPECT_EQ(Edit->GetEditText(), "__/12");
  EXPECT_EQ(Clipboard()->GetAsText(), "09");
}

TEST_F(MaskEditTest, ValidateEditRaisesOnAnIncompleteEntryAndEscGivesItUp) {
  Edit->SetEditMask("LL-00;1;_");
  Edit->SetText("AB-1");
  Edit->ValidateEdit();  // set in code, not changed by the user: nothing to check
  Show();
  const AnsiString Entered = Edit->GetEditText();
  EXPECT_EQ(Entered, "AB-1_");
  Caret(0);
  Type("c");
  EXPECT_EQ(Edit->GetEditText(), "cB-1_");
  EXPECT_THROW(Edit->ValidateEdit(), EDBEditError);
  EXPECT_EQ(CaretPos(), 4) << "the caret waits on the empty position";
  Type("7");
  EXPECT_NO_THROW(Edit->ValidateEdit());
  EXPECT_EQ(Edit->GetText(), "cB-17");

  Key(VK_ESCAPE);
  EXPECT_EQ(Edit->GetEditText(), Entered);
  EXPECT_FALSE(Edit->GetModified());
}

TEST_F(MaskEditTest, MaskChangesKeepTheTextAndTheDescriptionReadsItBack) {
  Edit->SetText("plain");
  Edit->SetEditMask(">LLLLL");
  EXPECT_EQ(Edit->GetEditText(), "PLAIN");
  Edit->SetEditMask("");
  EXPECT_FALSE(Edit->IsMasked());
  EXPECT_EQ(Edit->GetText(), "PLAIN");
  EXPECT_EQ(Edit->GetMaxLength(), 0);

  RegisterMaskClasses();
  Edit->SetName("Date");
  Edit->SetEditMask("00/00/0000;0;_");
  Edit->SetText("01022026");
  const AnsiString Text = ComponentToText(Edit);
  EXPECT_LT(Text.find("EditMask = '00/00/0000;0;_'"), Text.find("Text = '01022026'")) << Text;
  TMaskEdit Copy(nullptr);
  TextToComponent(Text, &Copy);
  EXPECT_EQ(Copy.GetEditText(), "01/02/2026");
  EXPECT_EQ(Copy.GetText(), "01022026");
}

}  // namespace
