// EwbCore.h — what the embedded browser host needs of the system besides
// the browser: late-bound entries of system modules (HTML Help, the shell's
// shared blocks, the common controls' block release) and helpers for shell
// item-ID lists.
//
// Each module is loaded on first use (without the open-file error box) and
// kept until the program ends; a module or entry that is missing makes its
// wrapper return 0 or nil without calling anything. This platform has none
// of these modules, so every wrapper answers "absent".
#pragma once
#include <cstddef>

#include "platform/ole/OleErrors.h"
#include "platform/win/WinTypes.h"

struct ITEMIDLIST;
using PItemIDList = ITEMIDLIST*;

HWND CallHtmlHelp(HWND Wnd, const char* File, UINT Command, DWORD_PTR Data);
void FreeComCtlBlock(void* Block);
void* LockSharedBlock(HANDLE Handle, DWORD ProcessId);
BOOL UnlockSharedBlock(void* Block);
BOOL FreeSharedBlock(HANDLE Handle, DWORD ProcessId);

// Item-ID lists: items that each start with their own 16-bit size, ended
// by a zero size.
PItemIDList NextIdItem(PItemIDList Item);
// The sum of the item sizes plus 2 for the terminator; 0 for nil.
UINT GetIdListSize(PItemIDList List);
// A zero-filled block from the task allocator; nil when it cannot be had.
PItemIDList AllocIdList(UINT Size);
PItemIDList CopyIdList(PItemIDList List);
// Raises EOleSysError when the task allocator cannot be obtained.
void FreeIdList(PItemIDList List);
