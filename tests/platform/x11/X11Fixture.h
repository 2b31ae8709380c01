// X11Fixture.h — the common ground of the tests that run the window system
// on a real X server: the session's display installed as the window
// system's, a queue pump that waits for the server between rounds, and
// what the server says of a window.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "X11Session.h"
#include "platform/forms/Application.h"
#include "platform/win/Win.h"
#include "platform/win/x11/X11Display.h"

class TX11Fixture : public ::testing::Test {
protected:
  // Starts the window system over the session's display; false when this
  // machine has no Xvfb (the caller skips).
  bool OpenDisplay() {
    Session = TX11Session::Get();
    if (!Session) return false;
    ResetWindowSystem();
    UseRealClock();
    auto D = TX11Display::Open(Session->Name().c_str());
    if (!D) {
      ADD_FAILURE() << "cannot open " << Session->Name();
      return false;
    }
    X = D.get();
    SetDisplay(std::move(D));
    return true;
  }
  void CloseDisplay() {
    App.reset();
    ResetWindowSystem();
    SetDisplay(nullptr);
    X = nullptr;
  }

  // Runs the queue until Done or the time is up; the display waits for the
  // server in between, so nothing sleeps. Generous: a loaded machine's
  // window manager can take seconds, and a wait that is met returns at once.
  bool PumpUntil(const std::function<bool()>& Done, int Ms = 15000) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (std::chrono::steady_clock::now() < End) {
      ProcessPendingMessages();
      if (Done()) return true;
      X->WaitForEvents(20);
    }
    ProcessPendingMessages();
    return Done();
  }
  void Settle(int Ms = 300) {
    PumpUntil([] { return false; }, Ms);
    X->Flush();
  }
  bool Viewable(unsigned long W) const { return Session->Viewable(W); }
  bool HasFocus(unsigned long W) const { return Session->HasFocus(W); }

  TX11Session* Session = nullptr;
  TX11Display* X = nullptr;
  std::unique_ptr<TApplication> App;
};
