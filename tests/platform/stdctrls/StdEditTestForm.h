// StdEditTestForm.h — a small dialog described in object text with the
// edit, memo, buttons, check box, radio buttons, group box and labels, and
// a fixture that shows it on the headless display and drives it through
// the application's message loop, as a user would.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/forms/Application.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/HeadlessDisplay.h"

class TStdEditTestForm : public TForm {
  SX_CLASS(TStdEditTestForm, TForm)
public:
  explicit TStdEditTestForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TStdEditTestForm>& P);
  TLabel* NameLabel = nullptr;
  TEdit* NameEdit = nullptr;
  TLabel* NotesLabel = nullptr;
  TMemo* NotesMemo = nullptr;
  TCheckBox* RecurseCheck = nullptr;
  TGroupBox* KindGroup = nullptr;
  TRadioButton* HtmlRadio = nullptr;
  TRadioButton* PdfRadio = nullptr;
  TRadioButton* RtfRadio = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  int Changes = 0;
  int OkClicks = 0;
  void NameEditChange(TObject*) { ++Changes; }
  void OkButtonClick(TObject*) { ++OkClicks; }
};

// The description's text (also written out by the tests that load it).
extern const char* const StdEditTestFormText;

// Collects what reaches the application's error display.
class TStdCtrlsErrorSink : public TObject {
public:
  std::string Text;
  void Handle(TObject*, const Exception& E) { Text += E.Message() + ";"; }
};

class TStdCtrlsFormTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Creates the form, shows it and lets the queue settle.
  TStdEditTestForm* ShowForm();
  void Pump() { App->ProcessMessages(); }
  THeadlessDisplay& Display() { return HeadlessDisplay(); }
  // Keys as the user presses them, then the queue runs.
  void Press(WORD Vk);
  void PressWith(WORD Modifier, WORD Vk);
  void Type(const AnsiString& Text);
  void ClickAt(TControl* C, int X, int Y);
  TPoint ScreenOf(TControl* C, int X, int Y) const { return C->ClientToScreen({X, Y}); }
  COLORREF PixelOf(TControl* C, int X, int Y) const;
  // Writes the form's picture under the build folder for a person to look at.
  void SaveShot(const std::string& Name);

  std::unique_ptr<TApplication> App;
  TStdEditTestForm* Form = nullptr;
  TStdCtrlsErrorSink Errors;
};
