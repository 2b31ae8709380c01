// KeyboardLayouts.h — keyboard layouts: which virtual key and character
// each physical key (scan code) gives, and the keys' names. The layer knows
// two layouts: English (United States), "00000409", and French (AZERTY),
// "0000040C", whose unshifted keys give "$" (right of the "^" key) and "*"
// (left of Enter). The process starts with the US layout loaded and active;
// LoadKeyboardLayout adds the other, ActivateKeyboardLayout switches. The
// layouts loaded and the active one are per process (one GUI thread) and
// renewed by ResetWindowSystem.
//
// ToAscii, MapVirtualKeyA and VkKeyScanA (Input.h) answer for the active
// layout; the Ex forms for a given one.
#pragma once
#include "platform/win/WinTypes.h"

SX_DECLARE_HANDLE(HKL);

inline const HKL HKL_PREV = HandleFromInt<HKL>(0);
inline const HKL HKL_NEXT = HandleFromInt<HKL>(1);
constexpr UINT KLF_ACTIVATE = 0x00000001;
constexpr UINT KLF_SUBSTITUTE_OK = 0x00000002;
constexpr UINT KLF_REORDER = 0x00000008;
constexpr UINT KLF_REPLACELANG = 0x00000010;
constexpr UINT KLF_NOTELLSHELL = 0x00000080;
constexpr UINT KLF_SETFORPROCESS = 0x00000100;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;
constexpr UINT MAPVK_VK_TO_VSC_EX = 4;
constexpr int KL_NAMELENGTH = 9;

// The layout of the thread (the process's one GUI thread; Thread is not
// looked at).
HKL GetKeyboardLayout(DWORD Thread);
// With Count 0 the number of loaded layouts; else copies up to Count
// handles into List and returns how many.
int GetKeyboardLayoutList(int Count, HKL* List);
// Loads a layout by its eight-digit identifier ("00000409"); the handle of
// one loaded already comes back as it is. Null with ERROR_FILE_NOT_FOUND
// for a layout this layer does not have. KLF_ACTIVATE also activates it.
HKL LoadKeyboardLayoutA(const char* Id, UINT Flags);
inline HKL LoadKeyboardLayout(const char* Id, UINT Flags) { return LoadKeyboardLayoutA(Id, Flags); }
// Makes a loaded layout (or the next or previous of the list) active and
// returns the one active before; null with ERROR_INVALID_PARAMETER when
// the layout is not loaded.
// FIXME: WM_INPUTLANGCHANGE is not sent to the focus window.
HKL ActivateKeyboardLayout(HKL Layout, UINT Flags);
// Removes a loaded layout; the next one becomes active when it was. The
// last loaded layout stays (FALSE).
BOOL UnloadKeyboardLayout(HKL Layout);
// The active layout's identifier, KL_NAMELENGTH bytes with the zero.
BOOL GetKeyboardLayoutNameA(char* Name);

UINT MapVirtualKeyExA(UINT Code, UINT MapType, HKL Layout);
SHORT VkKeyScanExA(char Ch, HKL Layout);
int ToAsciiEx(UINT VirtKey, UINT ScanCode, const BYTE* KeyState, WORD* Char, UINT Flags, HKL Layout);
// The name of the key in a key message's lParam (scan code in bits 16-23,
// extended key bit 24; bit 25 set: left and right keys are not told apart)
// in the active layout: the character of a character key (upper case), the
// layout's own name for the others. Returns the length copied (cut to
// Size - 1), 0 for a key without a name.
int GetKeyNameTextA(LONG LParam, char* Buffer, int Size);
inline int GetKeyNameText(LONG L, char* B, int S) { return GetKeyNameTextA(L, B, S); }
