#include "platform/win/GlobalMemory.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {
struct TBlock {
  std::unique_ptr<Byte[]> Data;
  SIZE_T Size = 0;
  UINT Flags = 0;
  int Locks = 0;
};

struct TTable {
  std::mutex Lock;
  std::map<std::uintptr_t, TBlock> Blocks;
  std::uintptr_t NextMoveable = 0x40000;  // moveable handles: small even numbers, never addresses
};

TTable& Table() {
  static TTable* T = new TTable;
  return *T;
}

TBlock* Find(TTable& T, HGLOBAL H) {
  auto It = T.Blocks.find(reinterpret_cast<std::uintptr_t>(H));
  return It == T.Blocks.end() ? nullptr : &It->second;
}

std::unique_ptr<Byte[]> NewData(SIZE_T Bytes) {
  // Blocks are always zeroed: no stale bytes ever leave the process.
  return std::unique_ptr<Byte[]>(new (std::nothrow) Byte[Bytes ? Bytes : 1]());
}
}  // namespace

HGLOBAL GlobalAlloc(UINT Flags, SIZE_T Bytes) {
  auto& T = Table();
  auto Data = NewData(Bytes);
  if (!Data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard<std::mutex> L(T.Lock);
  std::uintptr_t Key;
  if (Flags & GMEM_MOVEABLE) {
    Key = T.NextMoveable;
    T.NextMoveable += 8;
  } else {
    Key = reinterpret_cast<std::uintptr_t>(Data.get());
  }
  TBlock& B = T.Blocks[Key];
  B.Data = std::move(Data);
  B.Size = Bytes;
  B.Flags = Flags;
  return reinterpret_cast<HGLOBAL>(Key);
}

HGLOBAL GlobalReAlloc(HGLOBAL Mem, SIZE_T Bytes, UINT Flags) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  TBlock* B = Find(T, Mem);
  if (!B) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (Flags & GMEM_MODIFY) {
    B->Flags = (B->Flags & ~GMEM_MOVEABLE) | (Flags & GMEM_MOVEABLE);
    return Mem;
  }
  bool Fixed = !(B->Flags & GMEM_MOVEABLE);
  if (Fixed || B->Locks) {
    // A fixed or locked block cannot move; it can only shrink in place.
    if (Bytes > B->Size) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    B->Size = Bytes;
    return Mem;
  }
  auto Data = NewData(Bytes);
  if (!Data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::copy(B->Data.get(), B->Data.get() + std::min(Bytes, B->Size), Data.get());
  B->Data = std::move(Data);
  B->Size = Bytes;
  return Mem;
}

void* GlobalLock(HGLOBAL Mem) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  TBlock* B = Find(T, Mem);
  if (!B) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (B->Flags & GMEM_MOVEABLE) ++B->Locks;
  return B->Data.get();
}

BOOL GlobalUnlock(HGLOBAL Mem) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  TBlock* B = Find(T, Mem);
  if (!B) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (B->Locks > 0) --B->Locks;
  SetLastError(0);
  return B->Locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL Mem) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  TBlock* B = Find(T, Mem);
  return B ? B->Size : 0;
}

UINT GlobalFlags(HGLOBAL Mem) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  TBlock* B = Find(T, Mem);
  return B ? UINT(B->Locks & 0xFF) | (B->Flags & GMEM_DDESHARE) : GMEM_INVALID_HANDLE;
}

HGLOBAL GlobalFree(HGLOBAL Mem) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  auto It = T.Blocks.find(reinterpret_cast<std::uintptr_t>(Mem));
  if (It == T.Blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return Mem;
  }
  T.Blocks.erase(It);
  return nullptr;
}

HGLOBAL GlobalHandle(const void* Address) {
  auto& T = Table();
  std::lock_guard<std::mutex> L(T.Lock);
  for (auto& [Key, B] : T.Blocks)
    if (B.Data.get() == Address) return reinterpret_cast<HGLOBAL>(Key);
  return nullptr;
}
