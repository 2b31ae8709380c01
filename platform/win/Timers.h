// Timers.h — window and callback timers, and the clock they run on.
//
// The clock is real (monotonic milliseconds) by default. Tests switch it to
// virtual: it then stands still until AdvanceClock moves it, and timers,
// message times and double-click timing follow it. WM_TIMER is generated when
// the queue is otherwise empty; expirations that pile up give one message.
#pragma once
#include "platform/win/WinTypes.h"

DWORD GetTickCount();
// A window timer replaces the window's timer of the same id; a timer without
// a window gets a fresh id. Intervals below 10 ms count as 10.
UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc);
BOOL KillTimer(HWND Wnd, UINT_PTR Id);

void UseVirtualClock(DWORD Start = 1000);
void UseRealClock();
bool ClockIsVirtual();
void AdvanceClock(DWORD Ms);
