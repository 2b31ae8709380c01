// MessageQueue.h — sending, posting and retrieving messages.
//
// Retrieval order, as on Windows: posted messages, WM_QUIT, input (mouse and
// keyboard, turned into messages as they are retrieved), WM_PAINT, WM_TIMER.
// The keyboard and mouse hooks run as input is retrieved (HC_ACTION when it
// is removed, HC_NOREMOVE when only peeked) and may swallow it; the
// get-message hook sees every message returned and may rewrite it; the
// call-window-procedure hooks run around every sent message. All of this
// happens inside PeekMessage/GetMessage, so nested modal loops get the same
// treatment.
//
// When GetMessage or WaitMessage finds nothing, the display waits (see
// Display.h); the headless display in tests asks its idle handler instead of
// blocking.
#pragma once
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

// Calls the window procedure directly; 0 and ERROR_INVALID_WINDOW_HANDLE for
// a dead window. HWND_BROADCAST goes to every top-level window.
LRESULT SendMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
inline LRESULT SendMessage(HWND H, UINT M, WPARAM W, LPARAM L) { return SendMessageA(H, M, W, L); }
// One thread: the same as SendMessage.
BOOL SendNotifyMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
inline BOOL SendNotifyMessage(HWND H, UINT M, WPARAM W, LPARAM L) { return SendNotifyMessageA(H, M, W, L); }
// Safe from any thread. A null window posts a thread message.
BOOL PostMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
inline BOOL PostMessage(HWND H, UINT M, WPARAM W, LPARAM L) { return PostMessageA(H, M, W, L); }
BOOL PostThreadMessageA(DWORD ThreadId, UINT Msg, WPARAM W, LPARAM L);
inline BOOL PostThreadMessage(DWORD T, UINT M, WPARAM W, LPARAM L) { return PostThreadMessageA(T, M, W, L); }
void PostQuitMessage(int ExitCode);

// Filter: null = any message of the thread; (HWND)-1 = thread messages only;
// a window = that window and its children. Min = Max = 0: every message.
// The high word of Flags may restrict the kinds (PM_QS_*).
BOOL PeekMessageA(MSG* Msg, HWND Filter, UINT Min, UINT Max, UINT Flags);
inline BOOL PeekMessage(MSG* M, HWND F, UINT Mn, UINT Mx, UINT Fl) { return PeekMessageA(M, F, Mn, Mx, Fl); }
// 0 for WM_QUIT, -1 for a bad filter window, else nonzero.
BOOL GetMessageA(MSG* Msg, HWND Filter, UINT Min, UINT Max);
inline BOOL GetMessage(MSG* M, HWND F, UINT Mn, UINT Mx) { return GetMessageA(M, F, Mn, Mx); }
// Key-downs post WM_CHAR / WM_SYSCHAR (US layout, the thread's key state).
BOOL TranslateMessage(const MSG* Msg);
// WM_TIMER with a callback calls the callback; otherwise the window procedure.
LRESULT DispatchMessageA(const MSG* Msg);
inline LRESULT DispatchMessage(const MSG* M) { return DispatchMessageA(M); }
BOOL WaitMessage();
DWORD GetQueueStatus(UINT Flags);
BOOL InSendMessage();
DWORD GetMessagePos();
LONG GetMessageTime();
// Numbers from 0xC000 up, one per distinct name (case-insensitive).
UINT RegisterWindowMessageA(const char* Name);
inline UINT RegisterWindowMessage(const char* N) { return RegisterWindowMessageA(N); }
// The name a registered number was made from (as first given), or empty.
AnsiString RegisteredMessageName(UINT Msg);
// Runs the WH_MSGFILTER hooks for a modal loop's message; TRUE when one
// handled it.
BOOL CallMsgFilterA(MSG* Msg, int Code);
inline BOOL CallMsgFilter(MSG* M, int C) { return CallMsgFilterA(M, C); }

// The GUI thread's id (the thread that first used the queue).
DWORD MessageQueueThreadId();
// Empties the queue, timers and hooks (ResetWindowSystem uses it).
void MessageQueueReset();
// Retrieves, translates and dispatches until nothing is left (not waiting).
// Returns the number of messages dispatched; stops at WM_QUIT, leaving it.
int ProcessPendingMessages();
