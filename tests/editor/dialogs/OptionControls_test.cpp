// The colour combo box of the option pages and the check box bound to a
// property path.
#include <gtest/gtest.h>

#include "DialogsTestSupport.h"
#include "editor/dialogs/OptionControls.h"
#include "platform/rtl/Colors.h"

namespace {

SX_ENUM(TTestGutter, tgDrawGutter, tgLineNumbers, tgWrap)
using TTestGutters = TSet<TTestGutter>;

class TTestSettings : public TComponent {
  SX_CLASS(TTestSettings, TComponent)
public:
  explicit TTestSettings(TComponent* AOwner) : TComponent(AOwner) {}
  static void Published(TPublished<TTestSettings>& P) {
    P.Property("AutoIndent", &TTestSettings::AutoIndent, &TTestSettings::SetAutoIndent);
    P.Property("Options", &TTestSettings::Options, &TTestSettings::SetOptions);
    P.Property("Width", &TTestSettings::Width, &TTestSettings::Width);
  }
  void SetAutoIndent(bool V) {
    AutoIndent = V;
    ++Changes;
  }
  void SetOptions(TTestGutters V) {
    Options = V;
    ++Changes;
  }
  bool AutoIndent = false;
  TTestGutters Options{tgLineNumbers};
  Integer Width = 80;
  int Changes = 0;
};

class OptionControls : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    RegisterOptionControls();
    Form = new TForm(App.get());
    Form->SetBounds(10, 10, 300, 200);
    Form->Show();
  }
  template <class T>
  T* Place(int Top) {
    auto* C = new T(Form);
    C->SetParent(Form);
    C->SetBounds(10, Top, 200, 21);
    Pump();
    return C;
  }
  TForm* Form = nullptr;
};

}  // namespace

TEST_F(OptionControls, ColourComboNamesItsColoursAndCarriesOthersAsCustom) {
  auto* C = Place<TDCColorCombo>(10);
  ASSERT_GT(C->GetItems()->GetCount(), 16);
  EXPECT_EQ(C->GetItems()->GetStrings(0), "Black");
  EXPECT_EQ(C->GetItems()->GetStrings(C->GetItems()->GetCount() - 1), "Custom");
  EXPECT_EQ(C->GetItemIndex(), 0) << "black, the default colour";
  struct TCase {
    TColor Given;
    bool UseCustom;
    const char* Shown;  // nullptr: nothing selected
    TColor Selected;
  };
  const TCase Cases[] = {
      {clRed, true, "Red", clRed},
      {TColor(0x123456), true, "Custom", TColor(0x123456)},
      {clBtnFace, false, "BtnFace", clBtnFace},
      {TColor(0x654321), false, nullptr, TColor(-1)},
  };
  for (const TCase& K : Cases) {
    C->SetUseCustomColor(K.UseCustom);
    C->SetSelectedColor(K.Given);
    EXPECT_EQ(C->GetSelectedColor(), K.Selected);
    if (K.Shown) {
      ASSERT_GE(C->GetItemIndex(), 0);
      EXPECT_EQ(C->GetItems()->GetStrings(C->GetItemIndex()), K.Shown);
      EXPECT_EQ(C->ItemColor(C->GetItemIndex()), K.Given);
    } else {
      EXPECT_EQ(C->GetItemIndex(), -1);
    }
  }
  // Turning Custom off while it is chosen picks the first row.
  C->SetUseCustomColor(true);
  C->SetSelectedColor(TColor(0x0A0B0C));
  ASSERT_EQ(C->GetItems()->GetStrings(C->GetItemIndex()), "Custom");
  C->SetUseCustomColor(false);
  EXPECT_EQ(C->GetItemIndex(), 0);
  EXPECT_NE(C->GetItems()->GetStrings(C->GetItems()->GetCount() - 1), "Custom");
}

TEST_F(OptionControls, ColourComboDrawsASwatchBeforeTheName) {
  auto* C = Place<TDCColorCombo>(10);
  C->SetSelectedColor(clRed);
  Form->Repaint();
  Pump();
  // The swatch of the shown row, inside its outline.
  EXPECT_EQ(PixelAt(C, 15, 10), ColorToRGB(clRed));
  SaveShot(Form, "editor-dialogs-TDCColorCombo");
}

TEST_F(OptionControls, PropCheckShowsAndWritesABooleanOrOneSetElement) {
  auto* S = new TTestSettings(Form);
  struct TCase {
    const char* Path;
    bool Inverted;
    bool Shown;          // what the box shows at first
    bool AutoIndent;     // after one toggle
    TTestGutters Options;
  };
  const TCase Cases[] = {
      {"AutoIndent", false, false, true, {tgLineNumbers}},
      {"autoindent", true, true, true, {tgLineNumbers}},
      {"options.tgDrawGutter", false, false, false, {tgDrawGutter, tgLineNumbers}},
      {"Options.tgLineNumbers", false, true, false, {}},
      {"Options.tgLineNumbers", true, false, false, {}},
  };
  for (const TCase& K : Cases) {
    S->AutoIndent = false;
    S->Options = {tgLineNumbers};
    auto* B = Place<TDCPropCheck>(40);
    B->SetInverted(K.Inverted);
    B->SetPropName(K.Path);
    B->SetComponent(S);
    EXPECT_EQ(B->GetPropName(), K.Path);
    EXPECT_TRUE(B->GetEnabled()) << K.Path;
    EXPECT_EQ(B->GetChecked(), K.Shown) << K.Path;
    const int Before = S->Changes;
    Click(B);
    Pump();
    EXPECT_EQ(B->GetChecked(), !K.Shown) << K.Path;
    EXPECT_EQ(S->AutoIndent, K.AutoIndent) << K.Path;
    EXPECT_EQ(S->Options, K.Options) << K.Path;
    EXPECT_EQ(S->Changes, Before + 1) << "the property's own writer ran: " << K.Path;
    delete B;
  }
}

TEST_F(OptionControls, PropCheckWithoutABindablePathOrComponentIsDisabled) {
  auto* S = new TTestSettings(Form);
  auto* B = Place<TDCPropCheck>(40);
  B->SetPropName("Width");  // an integer
  B->SetComponent(S);
  EXPECT_EQ(B->GetPropName(), "") << "an unbindable path is dropped";
  EXPECT_FALSE(B->GetEnabled());
  B->SetPropName("Options.tgWrap");
  EXPECT_TRUE(B->GetEnabled());
  B->SetPropName("Options.tgNoSuch");
  EXPECT_EQ(B->GetPropName(), "Options.tgNoSuch");
  delete S;
  EXPECT_EQ(B->GetComponent(), nullptr);
  EXPECT_FALSE(B->GetEnabled()) << "freeing the bound component disables the box";
}
