// SimpleTimer.h — lightweight timers that are plain objects, not
// components. Every timer of the thread shares one hidden window
// (TSimpleTimerHandler) that receives the system's WM_TIMER and hands it to
// the timer whose address is the timer id. The handler lives from the first
// timer's construction to the last timer's destruction.
//
// Main thread only: the shared window belongs to the thread that made the
// first timer, and the events come through its message loop.
#pragma once
#include "platform/forms/Controls.h"

class TSimpleTimer : public TObject {
public:
  // Interval 1000 ms, no event.
  TSimpleTimer();
  TSimpleTimer(Cardinal AInterval, const TNotifyEvent& AOnTimer);  // CreateWithEvent
  ~TSimpleTimer() override;
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;

  // False at once (nothing changes) with interval 0; restarts a running
  // timer, so its period counts from now. Returns whether the system gave
  // the timer.
  bool Start();
  // Disable clears Enabled first; without it the system timer stops but
  // Enabled stays (the timer resumes with a new interval or event).
  bool Stop(bool Disable);

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal GetInterval() const { return FInterval; }
  // Applied at once while enabled: another value restarts the period, 0
  // halts the ticks while Enabled stays True.
  void SetInterval(Cardinal Value);
  bool GetOneShot() const { return FOneShot; }
  // A one-shot timer stops (disabled) before each event.
  void SetOneShot(bool Value) { FOneShot = Value; }
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  // Clearing the event of an enabled timer halts its ticks.
  void SetOnTimer(const TNotifyEvent& Value);

  // The timer id given to the system: the object's own address.
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }

private:
  friend class TSimpleTimerHandler;
  void Fire();
  bool FEnabled = false;
  Cardinal FInterval = 1000;
  bool FOneShot = false;
  TNotifyEvent FOnTimer;
};

// The shared hidden window of the timers (exposed for tests: whether it
// exists, and its window).
HWND SimpleTimerWindow();
