#include "controls/base/cxTimer.h"

#include <algorithm>
#include <cstdint>
#include <vector>
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

TcxMessageWindow::TcxMessageWindow() = default;

TcxMessageWindow::~TcxMessageWindow() {
  if (FHandle && IsWindow(FHandle)) DeallocateHWnd(FHandle);
}

HWND TcxMessageWindow::Handle() {
  if (!FHandle || !IsWindow(FHandle)) FHandle = AllocateHWnd(TWndMethod(this, &TcxMessageWindow::WndProc));
  return FHandle;
}

void TcxMessageWindow::WndProc(TMessage& Message) { HandleWindowMessage(Message); }

void TcxMessageWindow::HandleWindowMessage(TMessage& Message) {
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

TcxMessageWindow* GetSharedMessageWindow() {
  static TcxMessageWindow W;
  return &W;
}

class TcxTimerWindow : public TcxMessageWindow {
public:
  std::vector<TcxTimer*> Running;

protected:
  void HandleWindowMessage(TMessage& Message) override {
    if (Message.Msg != WM_TIMER) {
      TcxMessageWindow::HandleWindowMessage(Message);
      return;
    }
    // A timer id that is no longer running (stopped between the expiry and
    // this message) is dropped.
    auto* T = reinterpret_cast<TcxTimer*>(Message.WParam);
    if (std::find(Running.begin(), Running.end(), T) != Running.end()) T->FireTimer();
  }
};

namespace {
TcxTimerWindow& TimerWindow() {
  static TcxTimerWindow W;
  return W;
}
}  // namespace

TcxTimer::TcxTimer(TComponent* AOwner) : TComponent(AOwner) {}

TcxTimer::~TcxTimer() { Stop(); }

void TcxTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Restart();
}

void TcxTimer::SetInterval(unsigned Value) {
  if (Value == 0 || Value == FInterval) return;
  FInterval = Value;
  Restart();
}

void TcxTimer::SetOnTimer(const TNotifyEvent& Value) {
  FOnTimer = Value;
  Restart();
}

void TcxTimer::FireTimer() {
  if (FOnTimer.Assigned()) FOnTimer(this);
}

void TcxTimer::Restart() {
  Stop();
  Start();
}

void TcxTimer::Start() {
  if (!FEnabled || FTimerOn || !FOnTimer.Assigned()) return;
  if (SetTimer(TimerWindow().Handle(), reinterpret_cast<UINT_PTR>(this), FInterval, nullptr)) {
    FTimerOn = true;
    TimerWindow().Running.push_back(this);
  }
}

void TcxTimer::Stop() {
  if (!FTimerOn) return;
  KillTimer(TimerWindow().Handle(), reinterpret_cast<UINT_PTR>(this));
  auto& R = TimerWindow().Running;
  R.erase(std::remove(R.begin(), R.end(), this), R.end());
  FTimerOn = false;
}
