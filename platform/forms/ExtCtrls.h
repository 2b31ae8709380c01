// ExtCtrls.h — TTimer: a component that runs OnTimer every Interval
// milliseconds through a hidden window's WM_TIMER, from the message loop.
#pragma once
#include "platform/forms/Controls.h"

class TTimer : public TComponent {
  SX_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  static void Published(TPublished<TTimer>& P) {
    P.Property("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true);
    P.Property("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000);
    P.Property("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
  }

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal GetInterval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

protected:
  virtual void Timer();

private:
  // Raises EOutOfResources ("Not enough timers available") when the system
  // refuses the timer.
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindowHandle = nullptr;
};

// Registers the classes of the forms layer for form descriptions.
void RegisterFormsClasses();
