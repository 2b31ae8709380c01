// cxTimer.h — a timer component without a window of its own: every timer
// shares one hidden message window and is told apart by its timer id, which
// is the timer object itself. Runs while Enabled and OnTimer is assigned;
// changing either, or Interval, restarts it (a new full interval).
#pragma once
#include "platform/forms/Controls.h"
#include "platform/rtl/Component.h"

class TcxTimer : public TComponent {
  SX_CLASS(TcxTimer, TComponent)
public:
  explicit TcxTimer(TComponent* AOwner = nullptr);
  ~TcxTimer() override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned GetInterval() const { return FInterval; }
  // 0 is ignored.
  void SetInterval(unsigned Value);
  const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Value);
  bool IsRunning() const { return FTimerOn; }

protected:
  virtual void FireTimer();

private:
  friend class TcxTimerWindow;
  void Restart();
  void Start();
  void Stop();
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  bool FTimerOn = false;
};

// A hidden window whose messages go to HandleWindowMessage.
class TcxMessageWindow : public TObject {
public:
  TcxMessageWindow();
  ~TcxMessageWindow() override;
  // The window, re-made when a reset of the window system destroyed it.
  HWND Handle();

protected:
  virtual void HandleWindowMessage(TMessage& Message);

private:
  void WndProc(TMessage& Message);
  HWND FHandle = nullptr;
};

TcxMessageWindow* GetSharedMessageWindow();
