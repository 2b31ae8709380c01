// Window.h — windows and window classes at the Win32 level: creation and
// destruction, the parent/child and owner relations, z-order, placement,
// show state, text, window procedures and subclassing, per-window data.
// Calls keep Win32's contract: failure in the return value plus
// SetLastError, never an exception (exceptions thrown by a window procedure
// pass through unchanged).
//
// Text calls take ANSI code-page bytes; the unsuffixed names are the ANSI
// ones, as in the program.
#pragma once
#include <functional>
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

// --- classes -----------------------------------------------------------------
ATOM RegisterClassExA(const WNDCLASSEXA* Class);
ATOM RegisterClassA(const WNDCLASSA* Class);
BOOL UnregisterClassA(const char* ClassName, HINSTANCE Instance);
BOOL GetClassInfoExA(HINSTANCE Instance, const char* ClassName, WNDCLASSEXA* Out);
BOOL GetClassInfoA(HINSTANCE Instance, const char* ClassName, WNDCLASSA* Out);
int GetClassNameA(HWND Wnd, char* Buffer, int MaxCount);
ULONG_PTR GetClassLongPtrA(HWND Wnd, int Index);
ULONG_PTR SetClassLongPtrA(HWND Wnd, int Index, LONG_PTR Value);
inline ATOM RegisterClassEx(const WNDCLASSEXA* C) { return RegisterClassExA(C); }
inline ATOM RegisterClass(const WNDCLASSA* C) { return RegisterClassA(C); }
inline BOOL UnregisterClass(const char* N, HINSTANCE I) { return UnregisterClassA(N, I); }
inline BOOL GetClassInfo(HINSTANCE I, const char* N, WNDCLASSA* O) { return GetClassInfoA(I, N, O); }
inline int GetClassName(HWND W, char* B, int N) { return GetClassNameA(W, B, N); }
inline ULONG_PTR GetClassLong(HWND W, int I) { return GetClassLongPtrA(W, I); }
inline ULONG_PTR SetClassLong(HWND W, int I, LONG_PTR V) { return SetClassLongPtrA(W, I, V); }

// --- creation and destruction ------------------------------------------------------
// Sends WM_GETMINMAXINFO (sizable or captioned top-level windows),
// WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and WM_MOVE; a child
// notifies its parents (WM_PARENTNOTIFY); WS_VISIBLE shows the window last.
// A class name may also be an atom (MAKEINTATOM).
HWND CreateWindowExA(DWORD ExStyle, const char* ClassName, const char* WindowName, DWORD Style,
                     int X, int Y, int Width, int Height, HWND Parent, HMENU Menu,
                     HINSTANCE Instance, void* Param);
inline HWND CreateWindowEx(DWORD ES, const char* C, const char* N, DWORD S, int X, int Y, int W,
                           int H, HWND P, HMENU M, HINSTANCE I, void* Pm) {
  return CreateWindowExA(ES, C, N, S, X, Y, W, H, P, M, I, Pm);
}
inline const char* MAKEINTATOM(ATOM A) { return reinterpret_cast<const char*>(std::uintptr_t(A)); }
// Owned windows go first, then WM_DESTROY (window before children) and
// WM_NCDESTROY (children before window). Safe from inside the window's own
// procedure; the handle is dead when it returns.
BOOL DestroyWindow(HWND Wnd);
BOOL IsWindow(HWND Wnd);
HWND GetDesktopWindow();
HINSTANCE GetModuleHandleA(const char* Name);
DWORD GetCurrentThreadId();  // the kernel's thread id (platform/rtl/Threads.h)
DWORD GetWindowThreadProcessId(HWND Wnd, DWORD* ProcessId);

// --- relations ---------------------------------------------------------------------
HWND GetParent(HWND Wnd);   // a child's parent, a popup's owner, else null
HWND SetParent(HWND Child, HWND NewParent);
HWND GetAncestor(HWND Wnd, UINT Flags);
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetTopWindow(HWND Wnd);
HWND GetNextWindow(HWND Wnd, UINT Cmd);
BOOL IsChild(HWND Parent, HWND Wnd);
HWND GetLastActivePopup(HWND Wnd);
BOOL EnumWindows(WNDENUMPROC Proc, LPARAM Param);
BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Proc, LPARAM Param);
BOOL EnumThreadWindows(DWORD ThreadId, WNDENUMPROC Proc, LPARAM Param);
HWND FindWindowA(const char* ClassName, const char* WindowName);
HWND FindWindowExA(HWND Parent, HWND ChildAfter, const char* ClassName, const char* WindowName);
inline HWND FindWindow(const char* C, const char* N) { return FindWindowA(C, N); }
HWND GetDlgItem(HWND Dlg, int Id);
int GetDlgCtrlID(HWND Wnd);

// --- data ------------------------------------------------------------------------------
LONG_PTR GetWindowLongPtrA(HWND Wnd, int Index);
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING/WM_STYLECHANGED.
LONG_PTR SetWindowLongPtrA(HWND Wnd, int Index, LONG_PTR Value);
inline LONG_PTR GetWindowLongA(HWND W, int I) { return GetWindowLongPtrA(W, I); }
inline LONG_PTR SetWindowLongA(HWND W, int I, LONG_PTR V) { return SetWindowLongPtrA(W, I, V); }
inline LONG_PTR GetWindowLong(HWND W, int I) { return GetWindowLongPtrA(W, I); }
inline LONG_PTR SetWindowLong(HWND W, int I, LONG_PTR V) { return SetWindowLongPtrA(W, I, V); }
inline LONG_PTR GetWindowLongPtr(HWND W, int I) { return GetWindowLongPtrA(W, I); }
inline LONG_PTR SetWindowLongPtr(HWND W, int I, LONG_PTR V) { return SetWindowLongPtrA(W, I, V); }
BOOL SetPropA(HWND Wnd, const char* Name, HANDLE Data);
HANDLE GetPropA(HWND Wnd, const char* Name);
HANDLE RemovePropA(HWND Wnd, const char* Name);
inline BOOL SetProp(HWND W, const char* N, HANDLE D) { return SetPropA(W, N, D); }
inline HANDLE GetProp(HWND W, const char* N) { return GetPropA(W, N); }
inline HANDLE RemoveProp(HWND W, const char* N) { return RemovePropA(W, N); }

// --- procedures --------------------------------------------------------------------------
LRESULT CallWindowProcA(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
inline LRESULT CallWindowProc(WNDPROC P, HWND H, UINT M, WPARAM W, LPARAM L) {
  return CallWindowProcA(P, H, M, W, L);
}
// The system's default handling of every message (DefWindowProc.cpp).
LRESULT DefWindowProcA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);
inline LRESULT DefWindowProc(HWND H, UINT M, WPARAM W, LPARAM L) { return DefWindowProcA(H, M, W, L); }

// --- text -------------------------------------------------------------------------------------
// Through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH.
BOOL SetWindowTextA(HWND Wnd, const char* Text);
int GetWindowTextA(HWND Wnd, char* Buffer, int MaxCount);
int GetWindowTextLengthA(HWND Wnd);
inline BOOL SetWindowText(HWND W, const char* T) { return SetWindowTextA(W, T); }
inline int GetWindowText(HWND W, char* B, int N) { return GetWindowTextA(W, B, N); }
inline int GetWindowTextLength(HWND W) { return GetWindowTextLengthA(W); }
// The text as the window holds it, without sending a message.
AnsiString WindowTextOf(HWND Wnd);

// --- placement -----------------------------------------------------------------------------------
BOOL GetWindowRect(HWND Wnd, TRect* R);
BOOL GetClientRect(HWND Wnd, TRect* R);
BOOL ClientToScreen(HWND Wnd, TPoint* P);
BOOL ScreenToClient(HWND Wnd, TPoint* P);
// Returns the offset in the low word (x) and high word (y), as Windows does.
int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count);
BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint);
// Sends WM_WINDOWPOSCHANGING (which may change the WINDOWPOS), applies it,
// then WM_NCCALCSIZE on a size or frame change and WM_WINDOWPOSCHANGED
// (DefWindowProc turns it into WM_MOVE and WM_SIZE). Owned windows stay
// above their owner.
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Cx, int Cy, UINT Flags);
BOOL BringWindowToTop(HWND Wnd);
BOOL ShowWindow(HWND Wnd, int Cmd);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);
BOOL GetWindowPlacement(HWND Wnd, WINDOWPLACEMENT* P);
BOOL SetWindowPlacement(HWND Wnd, const WINDOWPLACEMENT* P);
BOOL AdjustWindowRectEx(TRect* R, DWORD Style, BOOL Menu, DWORD ExStyle);
BOOL AdjustWindowRect(TRect* R, DWORD Style, BOOL Menu);

// --- regions ---------------------------------------------------------------------------------------
// The window takes ownership of Rgn (window coordinates); null removes it.
int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// Copies the window's region into Rgn; returns its kind or ERROR.
int GetWindowRgn(HWND Wnd, HRGN Rgn);

// --- hit testing -----------------------------------------------------------------------------------
// The deepest visible, enabled window under a screen point; sends
// WM_NCHITTEST and skips windows that answer HTTRANSPARENT.
HWND WindowFromPoint(TPoint ScreenPt);
HWND ChildWindowFromPoint(HWND Parent, TPoint ClientPt);
HWND ChildWindowFromPointEx(HWND Parent, TPoint ClientPt, UINT Flags);
HWND RealChildWindowFromPoint(HWND Parent, TPoint ClientPt);

// --- the whole system ---------------------------------------------------------------------------------
// Destroys every window and forgets classes, queue, hooks, timers, input
// state, caret, clipboard, hot keys and the virtual clock: a fresh start for
// each test. The layers above reset their own state through the hooks they
// add, which run first, while the windows still exist.
void ResetWindowSystem();
// Adds a reset for a layer above (once per hook; adding it again is a no-op).
void AddWindowSystemResetHook(void (*Hook)());
