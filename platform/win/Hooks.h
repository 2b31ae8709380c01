// Hooks.h — per-thread message filters. Supported kinds: WH_KEYBOARD,
// WH_MOUSE, WH_GETMESSAGE, WH_CALLWNDPROC, WH_CALLWNDPROCRET and
// WH_MSGFILTER. The newest hook runs first; CallNextHookEx passes on to the
// next older one even from a hook that was unhooked meanwhile.
#pragma once
#include "platform/win/WinTypes.h"

// ThreadId 0 (all threads) and the GUI thread's id are the same here.
HHOOK SetWindowsHookExA(int Kind, HOOKPROC Proc, HINSTANCE Module, DWORD ThreadId);
inline HHOOK SetWindowsHookEx(int K, HOOKPROC P, HINSTANCE M, DWORD T) { return SetWindowsHookExA(K, P, M, T); }
BOOL UnhookWindowsHookEx(HHOOK Hook);
LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM W, LPARAM L);
