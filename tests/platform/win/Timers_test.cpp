#include "platform/win/Timers.h"

#include "WinTestSupport.h"

namespace {
using TTimers = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;

std::vector<UINT_PTR> CallbackIds;
void OnTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  CallbackIds.push_back(Id);
  KillTimer(nullptr, Id);  // killed while firing
}
}  // namespace

TEST_F(TTimers, TimersFireInVirtualTime) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  Pump();
  ASSERT_TRUE(SetTimer(H, 7, 100, nullptr));
  auto Fired = [&] {
    ClearLog();
    Pump();
    return Logged(H, WM_TIMER).size();
  };
  AdvanceClock(99);
  EXPECT_EQ(Fired(), 0u);
  AdvanceClock(1);
  EXPECT_EQ(Fired(), 1u);
  EXPECT_EQ(Log().back().W, 7u);
  AdvanceClock(350);  // several periods: one message
  EXPECT_EQ(Fired(), 1u);
  AdvanceClock(99);   // the period restarts when the message is taken
  EXPECT_EQ(Fired(), 0u);
  AdvanceClock(1);
  EXPECT_EQ(Fired(), 1u);
  // Setting the same id again restarts it with the new period.
  SetTimer(H, 7, 500, nullptr);
  AdvanceClock(100);
  EXPECT_EQ(Fired(), 0u);
  EXPECT_TRUE(KillTimer(H, 7));
  EXPECT_FALSE(KillTimer(H, 7));
  AdvanceClock(1000);
  EXPECT_EQ(Fired(), 0u);
}

TEST_F(TTimers, CallbackTimerKilledWhileFiringRunsOnce) {
  CallbackIds.clear();
  UINT_PTR A = SetTimer(nullptr, 0, 50, OnTimer);
  UINT_PTR B = SetTimer(nullptr, 0, 50, OnTimer);
  EXPECT_NE(A, 0u);
  EXPECT_NE(A, B);
  AdvanceClock(200);
  Pump();
  AdvanceClock(200);
  Pump();
  EXPECT_EQ(CallbackIds.size(), 2u);
}

TEST_F(TTimers, WindowTimerDiesWithItsWindowAndAKilledTimersMessageIsDropped) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  Pump();
  SetTimer(H, 1, 10, nullptr);
  AdvanceClock(10);
  MSG M;
  ASSERT_TRUE(PeekMessageA(&M, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  KillTimer(H, 1);
  ClearLog();
  DispatchMessageA(&M);
  EXPECT_TRUE(Logged(H, WM_TIMER).empty());
  SetTimer(H, 2, 10, nullptr);
  DestroyWindow(H);
  AdvanceClock(100);
  EXPECT_FALSE(PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TTimers, AutoAdvanceLetsAModalLoopWaitForItsTimer) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  Pump();
  Screen().SetAutoAdvance(true);
  SetTimer(H, 1, 250, nullptr);
  DWORD Start = GetTickCount();
  MSG M;
  ASSERT_EQ(GetMessageA(&M, nullptr, WM_TIMER, WM_TIMER), TRUE);
  EXPECT_EQ(GetTickCount() - Start, 250u);
}
