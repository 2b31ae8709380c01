// HotKeys.h — system-wide hot keys. A registered combination never reaches
// the focus window: the key-down becomes WM_HOTKEY for the registering
// window (or the thread), however the display delivers keys.
#pragma once
#include "platform/win/WinTypes.h"

constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr UINT MOD_WIN = 0x0008;
constexpr UINT MOD_NOREPEAT = 0x4000;

BOOL RegisterHotKey(HWND Wnd, int Id, UINT Modifiers, UINT VirtKey);
BOOL UnregisterHotKey(HWND Wnd, int Id);
// For the input code: posts WM_HOTKEY when Modifiers+VirtKey is registered.
bool DeliverHotKey(UINT Modifiers, UINT VirtKey);
void HotKeysReset();
