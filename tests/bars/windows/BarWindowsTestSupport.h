// BarWindowsTestSupport.h — the main window's bars on the headless display
// with a virtual clock: the form is shown, input waits in the queue until
// the test runs it, and timers fire only when the test moves the clock.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include "../../fixtures/bars/MainWindowBars.h"
#include "../../support/FormInput.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/windows/dxBarItemControls.h"
#include "platform/forms/Application.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

// The display, the clock, the registry and the application for any test of
// bar windows: a fresh window system per test, a private configuration
// folder, and helpers to run the queue and move the clock.
class BarsDisplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_barswin_XXXXXX";
    Dir = ::mkdtemp(Tmpl);
    ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    RegResetStore();
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock();
    HeadlessDisplay().SetScreenSize({1024, 768});
    RegisterBarItems();
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    HeadlessDisplay().SetIdleHandler(nullptr);
    App.reset();
    ResetWindowSystem();
    UseRealClock();
    SetDisplay(nullptr);
    RegResetStore();
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(Dir);
  }
  static void Settle() { HeadlessDisplay().ProcessMessages(); }
  // Moves the clock in small steps, letting timers fire on the way.
  static void Wait(DWORD Ms) {
    for (DWORD T = 0; T < Ms; T += 10) {
      AdvanceClock(10);
      Settle();
    }
  }

  std::unique_ptr<TApplication> App;
  std::string Dir;
};

class BarWindowsTest : public BarsDisplayTest {
protected:
  // The main window's bars on a shown form.
  void ShowMainWindow() {
    W.Build(App.get());
    W.Form->Show();
    Settle();
  }
  static TdxBarControl* WindowOf(TdxBar* B) { return dynamic_cast<TdxBarControl*>(B->ItemLinks()->BarControl()); }
  static TdxBarSubMenuControl* MenuOf(TdxBarItem* SubItem) {
    auto* S = dynamic_cast<TCustomdxBarSubItem*>(SubItem);
    return S ? dynamic_cast<TdxBarSubMenuControl*>(S->ItemLinks()->BarControl()) : nullptr;
  }
  // The screen centre of an item's control in a bar window.
  static TPoint CentreOf(TdxBarItemLink* L) {
    TCustomdxBarControl* Bar = L->Links()->BarControl();
    TRect R = L->GetItemRect();
    return Bar->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
  }
  static TdxBarItemLink* LinkOf(TdxBarItemLinks* Links, TdxBarItem* Item) {
    for (Integer I = 0; I < Links->Count(); ++I)
      if (Links->GetItem(I)->GetItem() == Item) return Links->GetItem(I);
    return nullptr;
  }
  static void ClickScreen(TPoint P) { HeadlessDisplay().Click(P.X, P.Y); }

  sxfixture::TMainWindowBars W;
};
