// DesktopTestSupport.h — a fresh headless window system per test, on the
// virtual clock, with a headless tray and an application object.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/Application.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Tray.h"
#include "platform/win/Window.h"

class TDesktopTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    SetTrayHost(nullptr);
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    App.reset();
    ResetWindowSystem();
    SetTrayHost(nullptr);
    UseRealClock();
  }
  int Pump() { return HeadlessDisplay().ProcessMessages(); }
  // Moves the clock on in steps of 10 ms, running the queue after each.
  void Run(DWORD Ms) {
    for (DWORD T = 0; T < Ms; T += 10) {
      AdvanceClock(10);
      Pump();
    }
  }
  std::unique_ptr<TApplication> App;
};
