// BarsTestSupport.h — a form with a bar manager on it, in a fresh window
// system and a private registry store and temporary folder per test.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Registry.h"
#include "platform/win/Display.h"
#include "platform/win/Window.h"

class BarsTest : public ::testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_bars_XXXXXX";
    Dir = ::mkdtemp(Tmpl);
    ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    RegResetStore();
    SetDisplay(nullptr);
    ResetWindowSystem();
    RegisterBarItems();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetName("MainForm");
    M = new TdxBarManager(Form);
    M->SetName("dxBarManager");
  }
  void TearDown() override {
    App.reset();
    ResetWindowSystem();
    SetDisplay(nullptr);
    RegResetStore();
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(Dir);
  }
  template <class T>
  T* NewItem(const char* Name, const char* Caption = "", Integer Category = 0) {
    auto* I = new T(Form);
    I->SetName(Name);
    I->SetCaption(Caption);
    I->SetCategory(Category);
    return I;
  }
  TdxBar* NewBar(const char* Caption) {
    TdxBar* B = M->Bars()->Add();
    B->SetCaption(Caption);
    return B;
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TdxBarManager* M = nullptr;
  std::string Dir;
};
