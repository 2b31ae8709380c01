// ExtItemsTestSupport.h — a shown form with a bar manager and one docked
// toolbar for the extra item kinds, on the headless display with a virtual
// clock: input waits in the queue until the test runs it, and timers fire
// only when the test moves the clock.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include "../../support/FormInput.h"
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Registry.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

class ExtItemsWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_barsext_XXXXXX";
    Dir = ::mkdtemp(Tmpl);
    ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    RegResetStore();
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock();
    HeadlessDisplay().SetScreenSize({1024, 768});
    RegisterBarItems();
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetName("ExtForm");
    Form->SetBounds(40, 40, 640, 300);
    M = new TdxBarManager(Form);
    M->SetName("dxBarManager");
    M->SetStyle(bmsFlat);
    Bar = M->Bars()->Add();
    Bar->SetCaption("Extras");
    Bar->SetName("Extras");
    Bar->SetDockingStyle(dsTop);
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
  template <class T>
  T* Add(const char* Name, const char* Caption = "") {
    auto* I = new T(Form);
    I->SetName(Name);
    I->SetCaption(Caption);
    I->SetCategory(0);
    Bar->ItemLinks()->AddItem(I);
    return I;
  }
  void Show() {
    Bar->SetVisible(true);
    Form->Show();
    Settle();
  }
  static void Settle() { HeadlessDisplay().ProcessMessages(); }
  static void Wait(DWORD Ms) {
    for (DWORD T = 0; T < Ms; T += 10) {
      AdvanceClock(10);
      Settle();
    }
  }
  TCustomdxBarControl* Window() const { return Bar->ItemLinks()->BarControl(); }
  // The control of the first link of an item on the toolbar.
  template <class C>
  C* ControlOf(TdxBarItem* Item) const {
    return Item->GetLinkCount() ? dynamic_cast<C*>(Item->GetLink(0)->Control()) : nullptr;
  }
  // A screen point inside a link's rectangle, at (DX, DY) from its corner.
  TPoint At(TdxBarItem* Item, int DX, int DY) const {
    const TRect R = Item->GetLink(0)->GetItemRect();
    return Window()->ClientToScreen({R.Left + DX, R.Top + DY});
  }
  TPoint AtClient(TPoint ClientPt) const { return Window()->ClientToScreen(ClientPt); }
  COLORREF Pixel(TPoint ClientPt) const {
    const TPoint P = Window()->ClientToScreen(ClientPt);
    return HeadlessDisplay().ScreenPixel(P.X, P.Y);
  }

  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TdxBarManager* M = nullptr;
  TdxBar* Bar = nullptr;
  std::string Dir;
};
