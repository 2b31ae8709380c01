// ControlsWindowTest.h — a fixture for the tests that need windows: the
// headless display, a virtual clock, an application object, and helpers
// that click, press keys and move the mouse the way the display does.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include "controls/base/cxControlHelpers.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Display.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

class ControlsWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock(100000);
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    StopAllMouseLeaveWatches();
    App.reset();
    ResetWindowSystem();
    UseRealClock();
    SetDisplay(nullptr);
  }
  void Pump() { App->ProcessMessages(); }
  THeadlessDisplay& D() { return HeadlessDisplay(); }
  TPoint At(TControl* C, TPoint P) { return C->ClientToScreen(P); }
  void Press(TControl* C, TPoint P) {
    const TPoint S = At(C, P);
    D().MouseDown(S.X, S.Y);
    Pump();
  }
  void Release(TControl* C, TPoint P) {
    const TPoint S = At(C, P);
    D().MouseUp(S.X, S.Y);
    Pump();
  }
  void MoveTo(TControl* C, TPoint P) {
    const TPoint S = At(C, P);
    D().MouseMove(S.X, S.Y);
    Pump();
  }
  void ClickAt(TControl* C, TPoint P) {
    AdvanceClock(1000);  // no double clicks between tests' clicks
    const TPoint S = At(C, P);
    D().Click(S.X, S.Y);
    Pump();
  }
  void Key(WORD Vk) {
    D().KeyDown(Vk);
    D().KeyUp(Vk);
    Pump();
  }
  // Moves the clock in steps so that timers fire as they would.
  void Wait(DWORD Ms, DWORD Step = 10) {
    for (DWORD T = 0; T < Ms; T += Step) {
      AdvanceClock(Step);
      Pump();
    }
  }
  COLORREF ScreenPixel(TControl* C, int X, int Y) {
    const TPoint S = At(C, {X, Y});
    return D().ScreenPixel(S.X, S.Y);
  }
  std::unique_ptr<TApplication> App;
};
