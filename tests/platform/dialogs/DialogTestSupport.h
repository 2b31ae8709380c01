// DialogTestSupport.h — the common dialogs' fixture: an application on the
// headless display, a scratch folder for fixture files, and a way to drive
// a dialog's real form while Execute runs (one step per idle turn of its
// modal loop, as a user acting once the screen has settled).
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/win/HeadlessDisplay.h"
#include "support/FormInput.h"
#include "support/ScratchDir.h"

class TDialogsTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

public:

protected:
  // Writes a file under the scratch folder (folders on the way are made);
  // returns its full name.
  std::string Touch(const std::string& Name, const std::string& Bytes = "x");
  std::string Folder() const { return Dir.Path().string() + "/"; }

  // Runs Steps against the form of the common dialog Dialog while its
  // Execute (Run) shows it: each step runs on an idle turn once the form
  // is up. The test fails when the form closes before its steps are done.
  using TStep = std::function<void(TForm* Form)>;
  bool Drive(TCommonDialog& Dialog, const std::function<bool()>& Run, std::vector<TStep> Steps);

public:
  // Input as the user gives it, at a point of a control's client area.
  static void ClickAt(TControl* C, int X, int Y, bool Ctrl = false, bool Shift = false) {
    sxtest::ClickAt(C, X, Y, Ctrl, Shift);
  }
  static void Key(WORD Vk, bool Ctrl = false, bool Shift = false) { sxtest::Key(Vk, Ctrl, Shift); }
  static void Type(const AnsiString& Text) { sxtest::Type(Text); }
  template <class T>
  static T* Named(TForm* Form, const char* Name) {
    return sxtest::Named<T>(Form, Name);
  }
  // The screen's pixel at a control's client point.
  static COLORREF PixelAt(TControl* C, int X, int Y) { return sxtest::PixelAt(C, X, Y); }
  // Saves the form's picture under build/ for a person to look at.
  static void SaveShot(TForm* Form, const std::string& Name) { sxtest::SaveShot(Form, Name); }

protected:
  std::unique_ptr<TApplication> App;
  sxtest::TScratchDir Dir{"dialogs"};
};
