#include "app/desktop/SimpleTimer.h"

#include <algorithm>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/win/Messages.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

class TSimpleTimerHandler : public TObject {
public:
  TSimpleTimerHandler() { FHandle = AllocateHWnd(TWndMethod(this, &TSimpleTimerHandler::WndProc)); }
  ~TSimpleTimerHandler() override { DeallocateHWnd(FHandle); }
  HWND Handle() const { return FHandle; }

  // The live timers: a WM_TIMER left in the queue by a timer destroyed
  // since must not reach freed memory through its id.
  std::vector<TSimpleTimer*> Timers;

private:
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_TIMER) {
      auto* Timer = reinterpret_cast<TSimpleTimer*>(Message.WParam);
      if (std::find(Timers.begin(), Timers.end(), Timer) != Timers.end()) {
        try {
          Timer->Fire();
        } catch (const Exception&) {
          if (!Application) throw;
          Application->HandleException(Timer);
        }
      }
      return;
    }
    Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FHandle = nullptr;
};

namespace {
TSimpleTimerHandler*& Handler() {
  static TSimpleTimerHandler* H = nullptr;
  return H;
}

void AddRef(TSimpleTimer* Timer) {
  auto*& H = Handler();
  // A window reset (tests) may have taken the window away under a handler
  // whose timers are all gone: start afresh.
  if (H && !IsWindow(H->Handle()) && H->Timers.empty()) {
    delete H;
    H = nullptr;
  }
  if (!H) H = new TSimpleTimerHandler;
  H->Timers.push_back(Timer);
}

void Release(TSimpleTimer* Timer) {
  auto*& H = Handler();
  if (!H) return;
  auto& T = H->Timers;
  T.erase(std::remove(T.begin(), T.end(), Timer), T.end());
  if (T.empty()) {
    delete H;
    H = nullptr;
  }
}

HWND HandlerWindow() { return Handler() ? Handler()->Handle() : nullptr; }
}  // namespace

HWND SimpleTimerWindow() { return HandlerWindow(); }

TSimpleTimer::TSimpleTimer() { AddRef(this); }

TSimpleTimer::TSimpleTimer(Cardinal AInterval, const TNotifyEvent& AOnTimer)
    : FInterval(AInterval), FOnTimer(AOnTimer) {
  AddRef(this);
}

TSimpleTimer::~TSimpleTimer() {
  if (FEnabled) Stop(true);
  Release(this);
}

bool TSimpleTimer::Start() {
  if (FInterval == 0) return false;
  if (FEnabled) Stop(true);
  const bool Ok = SetTimer(HandlerWindow(), Id(), FInterval, nullptr) != 0;
  if (Ok) FEnabled = true;
  return Ok;
}

bool TSimpleTimer::Stop(bool Disable) {
  if (Disable) FEnabled = false;
  return KillTimer(HandlerWindow(), Id()) != FALSE;
}

void TSimpleTimer::SetEnabled(bool Value) {
  if (Value) Start();
  else Stop(true);
}

void TSimpleTimer::SetInterval(Cardinal Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  if (!FEnabled) return;
  if (Value != 0) Start();
  else Stop(false);
}

void TSimpleTimer::SetOnTimer(const TNotifyEvent& Value) {
  FOnTimer = Value;
  if (!Value.Assigned() && FEnabled) Stop(false);
}

void TSimpleTimer::Fire() {
  if (FOneShot) Stop(true);
  if (FOnTimer.Assigned()) FOnTimer(this);
}
