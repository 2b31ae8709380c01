// DialogsTestSupport.h — the editor dialogs' fixture: an application on the
// headless display, a registry store of its own (search options and
// histories live there), the dialogs registered, and a way to act on a
// modal form while the code under test shows it (one step per idle turn of
// its modal loop, as a user acting once the screen has settled).
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/win/HeadlessDisplay.h"
#include "support/FormInput.h"

class TEditorDialogsTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Runs Show (which shows a modal form) and plays Steps against the modal
  // form on its idle turns. The test fails when the form closes before its
  // steps are done, or stays open after them.
  using TStep = std::function<void(TForm* Form)>;
  void Drive(const std::function<void()>& Show, std::vector<TStep> Steps);

public:
  static void ClickAt(TControl* C, int X, int Y) { sxtest::ClickAt(C, X, Y); }
  static void Click(TControl* C) { ClickAt(C, C->GetWidth() / 2, C->GetHeight() / 2); }
  static void Key(WORD Vk, bool Ctrl = false, bool Shift = false) { sxtest::Key(Vk, Ctrl, Shift); }
  static void Type(const AnsiString& Text) { sxtest::Type(Text); }
  template <class T>
  static T* Named(TForm* Form, const char* Name) {
    return sxtest::Named<T>(Form, Name);
  }
  static COLORREF PixelAt(TControl* C, int X, int Y) { return sxtest::PixelAt(C, X, Y); }
  // Saves the form's picture under build/ for a person to look at.
  static void SaveShot(TForm* Form, const std::string& Name) { sxtest::SaveShot(Form, Name); }
  void Pump() { App->ProcessMessages(); }

protected:
  std::unique_ptr<TApplication> App;

private:
  std::string FDir, FOldConfig;
  bool FHadConfig = false;
};

// The modal form that shows now, or nil.
TForm* ShownModalForm();
