#include "editor/text/EditorDialogs.h"

#include <gtest/gtest.h>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {

// The input-line form as the user answers it: the field gets Typed, then
// the form closes with Result.
class TAnsweringInputForm : public TCustomInputLineForm {
public:
  explicit TAnsweringInputForm(TComponent* AOwner) : TCustomInputLineForm(AOwner) { ++Alive; }
  ~TAnsweringInputForm() override { --Alive; }
  AnsiString GetLabelText() const override { return FLabel; }
  void SetLabelText(const AnsiString& Value) override { FLabel = Value; }
  AnsiString GetValue() const override { return FValue; }
  void SetValue(const AnsiString& Value) override { FValue = Value; }

  static inline Integer Alive = 0;
  static inline AnsiString Typed;
  static inline TModalResult Result = mrOk;
  static inline AnsiString ShownValue;

private:
  AnsiString FLabel, FValue;
};

class EditorDialogs : public testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
    RegisterEditorDialog(InputLineFormClass, [](TComponent* Owner) -> TForm* {
      auto* F = new TAnsweringInputForm(Owner);
      HeadlessDisplay().SetIdleHandler([F] {
        TAnsweringInputForm::ShownValue = F->GetValue();
        F->SetValue(TAnsweringInputForm::Typed);
        F->SetModalResult(TAnsweringInputForm::Result);
        HeadlessDisplay().SetIdleHandler(nullptr);
        return true;
      });
      return F;
    });
  }
  void TearDown() override {
    UnRegisterEditorDialog(InputLineFormClass);
    App.reset();
    HeadlessDisplay().SetIdleHandler(nullptr);
    ResetWindowSystem();
    UseRealClock();
  }
  std::unique_ptr<TApplication> App;
};

}  // namespace

TEST_F(EditorDialogs, UnregisteredFormsRaiseClassNotFoundWithTheirName) {
  UnRegisterEditorDialog(InputLineFormClass);
  for (const char* C : {FindDialogClass, ReplaceDialogClass, SearchReplaceFormClass, InputLineFormClass}) {
    SCOPED_TRACE(C);
    EXPECT_FALSE(IsEditorDialogRegistered(C));
    try {
      delete CreateEditorDialog(C);
      FAIL() << "created an unregistered form";
    } catch (const EClassNotFound& E) {
      EXPECT_EQ(E.Message(), "Class " + AnsiString(C) + " not found");
    }
  }
  Integer N = 5;
  EXPECT_THROW(InputNumber("Go to line Number", "&Enter new line number:", 0, N, nullptr, nullptr), EClassNotFound);
  EXPECT_EQ(N, 5);
}

TEST_F(EditorDialogs, InputNumberTakesTheTypedNumberOnlyOnOk) {
  struct TCase {
    const char* Typed;
    TModalResult Result;
    bool Accepted;
    Integer Number;
    const char* Why;
  };
  const TCase Cases[] = {
      {"42", mrOk, true, 42, "OK with a number"},
      {"42", mrCancel, false, 7, "Cancel keeps the number"},
      {"-3", mrOk, true, -3, "a negative number"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TAnsweringInputForm::Typed = C.Typed;
    TAnsweringInputForm::Result = C.Result;
    Integer N = 7;
    EXPECT_EQ(InputNumber("Go to line Number", "&Enter new line number:", 0, N, nullptr, nullptr), C.Accepted);
    EXPECT_EQ(N, C.Number);
    EXPECT_EQ(TAnsweringInputForm::ShownValue, "7") << "the number was in the field";
    EXPECT_EQ(TAnsweringInputForm::Alive, 0) << "the form is freed";
  }
}

TEST_F(EditorDialogs, InputNumberShowsTheFormToTheCreateEventAndRaisesForText) {
  struct TWatcher : TObject {
    TObject* Sender = nullptr;
    AnsiString Caption, Label;
    void Created(TObject* S, TCustomForm* Form) {
      Sender = S;
      Caption = Form->GetCaption();
      Label = static_cast<TCustomInputLineForm*>(Form)->GetLabelText();
    }
  } W;
  TObject Editor;
  TAnsweringInputForm::Typed = "twelve";
  TAnsweringInputForm::Result = mrOk;
  Integer N = 1;
  EXPECT_THROW(InputNumber("Go to line Number", "&Enter new line number:", 0, N,
                           TInputDialogEvent(&W, &TWatcher::Created), &Editor),
               EConvertError);
  EXPECT_EQ(N, 1);
  EXPECT_EQ(W.Sender, &Editor);
  EXPECT_EQ(W.Caption, "Go to line Number");
  EXPECT_EQ(W.Label, "&Enter new line number:");
  EXPECT_EQ(TAnsweringInputForm::Alive, 0) << "freed after the conversion error too";
}

TEST_F(EditorDialogs, FormsAreOwnedByTheApplicationAndAWrongKindIsRefused) {
  RegisterEditorDialog(InputLineFormClass, [](TComponent* Owner) -> TForm* { return new TForm(Owner); });
  std::unique_ptr<TForm> F(CreateEditorDialog(InputLineFormClass));
  EXPECT_EQ(F->Owner(), App.get());
  EXPECT_THROW(CreateInputLineForm("c", "l", 0), EInvalidCast);
  EXPECT_THROW(ShowSearchReplaceWindow(F.get(), 1, false), EInvalidCast);
}
