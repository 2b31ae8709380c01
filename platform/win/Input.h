// Input.h — activation, focus, capture, enabling, keyboard state, the cursor
// position, mouse tracking, the caret, the keyboard layout, and the entry
// points through which a display backend feeds raw input.
#pragma once
#include "platform/win/WinTypes.h"

// Focus: WM_KILLFOCUS to the old window carries the new one, WM_SETFOCUS to
// the new one carries the old. Focusing a window of an inactive top-level
// window activates it first.
HWND SetFocus(HWND Wnd);
HWND GetFocus();
// Activation: WM_NCACTIVATE and WM_ACTIVATE to the old window, then
// WM_ACTIVATEAPP when the application becomes active, then the new window
// comes to the top and gets WM_NCACTIVATE and WM_ACTIVATE.
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();
// The previous holder gets WM_CAPTURECHANGED with the new one in lParam.
HWND SetCapture(HWND Wnd);
BOOL ReleaseCapture();
HWND GetCapture();
// Disabling sends WM_CANCELMODE and takes the focus away; WM_ENABLE follows.
BOOL EnableWindow(HWND Wnd, BOOL Enable);
BOOL IsWindowEnabled(HWND Wnd);

SHORT GetKeyState(int VirtKey);
SHORT GetAsyncKeyState(int VirtKey);
BOOL GetKeyboardState(BYTE* State);
BOOL SetKeyboardState(const BYTE* State);
BOOL GetCursorPos(TPoint* P);
BOOL SetCursorPos(int X, int Y);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* Track);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT Ms);
void MessageBeep(UINT Type);

// The caret: one per thread, drawn inverted into its window while shown.
// FIXME: the caret does not blink; it stays drawn while shown.
BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND Wnd);
BOOL HideCaret(HWND Wnd);
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(TPoint* P);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT Ms);

// Keys of the active keyboard layout (KeyboardLayouts.h).
int ToAscii(UINT VirtKey, UINT ScanCode, const BYTE* KeyState, WORD* Char, UINT Flags);
UINT MapVirtualKeyA(UINT Code, UINT MapType);
inline UINT MapVirtualKey(UINT C, UINT T) { return MapVirtualKeyA(C, T); }
SHORT VkKeyScanA(char Ch);
inline SHORT VkKeyScan(char C) { return VkKeyScanA(C); }
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;

// Raw input from a display backend, at screen coordinates. It becomes
// messages when the queue retrieves it: hit testing (WM_NCHITTEST), the
// mouse hook, WM_MOUSEACTIVATE and activation, WM_SETCURSOR, double clicks
// (CS_DBLCLKS), then the client or non-client mouse message; keys go to the
// focus window (WM_SYS* with Alt, or when nothing has the focus).
// (Not TMouseButton: that is the class library's mbLeft/mbRight/mbMiddle type.)
enum class TInputButton { Left, Right, Middle };
void QueueMouseMove(TPoint Screen);
void QueueMouseButton(TInputButton Button, bool Down, TPoint Screen);
void QueueMouseWheel(int Delta, TPoint Screen);
void QueueKey(WORD VirtKey, bool Down);
// A key from a real keyboard: ScanCode is the set-1 code with 0x100 for an
// extended key (0: the US layout's code of the virtual key); Text (null:
// what the US layout types) is what the key typed, which TranslateMessage
// turns into WM_CHAR in the ANSI code page; empty when it typed nothing (a
// dead key). VK_PACKET carries text that came without a key.
void QueueKeyEvent(WORD VirtKey, bool Down, UINT ScanCode, const WideString* Text);
// The pointer left the application's windows for another program's.
void QueueMouseLeave();
// The application loses the activation to another one (WM_ACTIVATEAPP FALSE).
void DeactivateApplication();
// Forgets focus, capture, activation, key state, caret and tracking.
void InputReset();
