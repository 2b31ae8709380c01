// GlobalMemory.h — global memory blocks (GlobalAlloc and friends), the
// currency of the clipboard and of data transfer. A moveable block's handle
// is not its address: GlobalLock gives the address and counts the locks. A
// fixed block's handle is its address. Safe from any thread.
#pragma once
#include <cstddef>
#include "platform/win/WinTypes.h"

using SIZE_T = std::size_t;
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;

HGLOBAL GlobalAlloc(UINT Flags, SIZE_T Bytes);
HGLOBAL GlobalReAlloc(HGLOBAL Mem, SIZE_T Bytes, UINT Flags);
void* GlobalLock(HGLOBAL Mem);
// TRUE while locks remain.
BOOL GlobalUnlock(HGLOBAL Mem);
SIZE_T GlobalSize(HGLOBAL Mem);
UINT GlobalFlags(HGLOBAL Mem);
// Null on success, the handle when it is not a live block.
HGLOBAL GlobalFree(HGLOBAL Mem);
// The handle of a locked block's address.
HGLOBAL GlobalHandle(const void* Address);
