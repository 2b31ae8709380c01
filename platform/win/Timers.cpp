#include "platform/win/Timers.h"

#include <algorithm>
#include <chrono>

#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
constexpr UINT MinimumElapse = 10;   // USER_TIMER_MINIMUM
constexpr UINT MaximumElapse = 0x7FFFFFFF;

// Ticks compare by difference so that the 49-day wrap does not matter.
bool Reached(DWORD Now, DWORD Due) { return std::int32_t(Now - Due) >= 0; }
}  // namespace

DWORD GetTickCount() {
  const TClockState& C = WinState().Clock;
  if (C.Virtual) return C.Now;
  using namespace std::chrono;
  return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void UseVirtualClock(DWORD Start) {
  WinState().Clock = {true, Start};
}

void UseRealClock() { WinState().Clock.Virtual = false; }
bool ClockIsVirtual() { return WinState().Clock.Virtual; }
void AdvanceClock(DWORD Ms) { WinState().Clock.Now += Ms; }

UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc) {
  auto& St = WinState();
  if (Wnd && !IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  Elapse = std::clamp(Elapse, MinimumElapse, MaximumElapse);
  DWORD Due = GetTickCount() + Elapse;
  auto It = std::find_if(St.Timers.begin(), St.Timers.end(), [&](const TTimer& T) {
    return T.Wnd == Wnd && T.Id == Id && (Wnd || Id != 0);
  });
  if (It != St.Timers.end()) {
    It->Interval = Elapse;
    It->Proc = Proc;
    It->Due = Due;
    return Wnd ? 1 : Id;
  }
  TTimer T;
  T.Wnd = Wnd;
  T.Interval = Elapse;
  T.Proc = Proc;
  T.Due = Due;
  if (Wnd) {
    T.Id = Id;
  } else {
    // Thread timers get ids of their own, never 0 and never in use.
    do {
      T.Id = St.NextThreadTimerId++;
    } while (T.Id == 0 || std::any_of(St.Timers.begin(), St.Timers.end(), [&](const TTimer& O) {
               return !O.Wnd && O.Id == T.Id;
             }));
  }
  St.Timers.push_back(T);
  return Wnd ? 1 : T.Id;
}

BOOL KillTimer(HWND Wnd, UINT_PTR Id) {
  auto& L = WinState().Timers;
  auto It = std::find_if(L.begin(), L.end(), [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == Id; });
  if (It == L.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  L.erase(It);
  return TRUE;
}

bool TimerRetrieve(MSG& M, HWND Filter, UINT Min, UINT Max, bool Remove) {
  auto& St = WinState();
  if (!WinRangeIncludes(Min, Max, WM_TIMER)) return false;
  DWORD Now = GetTickCount();
  TTimer* Best = nullptr;
  for (auto& T : St.Timers) {
    if (!Reached(Now, T.Due)) continue;
    if (Filter == HandleFromInt<HWND>(-1) ? T.Wnd != nullptr
                                          : Filter && T.Wnd != Filter && !IsChild(Filter, T.Wnd))
      continue;
    if (!Best || std::int32_t(T.Due - Best->Due) < 0) Best = &T;
  }
  if (!Best) return false;
  M = MSG();
  M.hwnd = Best->Wnd;
  M.message = WM_TIMER;
  M.wParam = Best->Id;
  M.lParam = LPARAM(Best->Proc);
  M.time = Now;
  M.pt = St.CursorPos;
  if (Remove) Best->Due = Now + Best->Interval;
  return true;
}

int TimerMsUntilNext() {
  auto& St = WinState();
  int Best = HoverMsUntilDue();
  if (St.Timers.empty()) return Best;
  DWORD Now = GetTickCount();
  for (auto& T : St.Timers) {
    int Left = Reached(Now, T.Due) ? 0 : int(T.Due - Now);
    if (Best < 0 || Left < Best) Best = Left;
  }
  return Best;
}
