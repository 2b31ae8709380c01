#include "app/browser/EwbCore.h"

#include <cstring>

#include "platform/ole/OleApi.h"
#include "platform/win/Modules.h"

namespace {

// A module loaded on first use and kept; nil when it is not there.
HMODULE Module(const char* Name) {
  struct TSlot {
    const char* Name;
    HMODULE Handle;
    bool Tried;
  };
  static TSlot Slots[] = {{"hhctrl.ocx", nullptr, false}, {"comctl32.dll", nullptr, false},
                          {"shell32.dll", nullptr, false}};
  for (TSlot& S : Slots)
    if (std::strcmp(S.Name, Name) == 0) {
      if (!S.Tried) {
        S.Tried = true;
        S.Handle = LoadLibraryA(Name);
      }
      return S.Handle;
    }
  return nullptr;
}

template <class F>
F* Entry(const char* ModuleName, const char* ProcName) {
  HMODULE M = Module(ModuleName);
  return M ? reinterpret_cast<F*>(GetProcAddress(M, ProcName)) : nullptr;
}

// An entry exported by number only.
const char* Ordinal(WORD N) { return reinterpret_cast<const char*>(std::uintptr_t(N)); }

WORD ItemSize(const ITEMIDLIST* Item) {
  WORD S;
  std::memcpy(&S, Item, sizeof S);
  return S;
}

}  // namespace

HWND CallHtmlHelp(HWND Wnd, const char* File, UINT Command, DWORD_PTR Data) {
  // Looked up on every call, as the help module may arrive later.
  using THtmlHelpA = HWND(HWND, const char*, UINT, DWORD_PTR);
  if (auto* F = Entry<THtmlHelpA>("hhctrl.ocx", "HtmlHelpA")) return F(Wnd, File, Command, Data);
  return nullptr;
}

void FreeComCtlBlock(void* Block) {
  using TFree = void(void*);
  if (auto* F = Entry<TFree>("comctl32.dll", Ordinal(73))) F(Block);
}

void* LockSharedBlock(HANDLE Handle, DWORD ProcessId) {
  using TLock = void*(HANDLE, DWORD);
  if (auto* F = Entry<TLock>("shell32.dll", Ordinal(521))) return F(Handle, ProcessId);
  return nullptr;
}

BOOL UnlockSharedBlock(void* Block) {
  using TUnlock = BOOL(void*);
  if (auto* F = Entry<TUnlock>("shell32.dll", Ordinal(522))) return F(Block);
  return FALSE;
}

BOOL FreeSharedBlock(HANDLE Handle, DWORD ProcessId) {
  using TFreeShared = BOOL(HANDLE, DWORD);
  if (auto* F = Entry<TFreeShared>("shell32.dll", Ordinal(523))) return F(Handle, ProcessId);
  return FALSE;
}

PItemIDList NextIdItem(PItemIDList Item) {
  return reinterpret_cast<PItemIDList>(reinterpret_cast<Byte*>(Item) + ItemSize(Item));
}

UINT GetIdListSize(PItemIDList List) {
  if (!List) return 0;
  UINT Size = 2;
  for (PItemIDList I = List; ItemSize(I) != 0; I = NextIdItem(I)) Size += ItemSize(I);
  return Size;
}

PItemIDList AllocIdList(UINT Size) {
  IMalloc* Malloc = nullptr;
  if (!Succeeded(CoGetMalloc(1, &Malloc)) || !Malloc) return nullptr;
  void* P = Malloc->Alloc(Size);
  if (P) std::memset(P, 0, Size);
  return static_cast<PItemIDList>(P);
}

PItemIDList CopyIdList(PItemIDList List) {
  const UINT Size = GetIdListSize(List);
  if (Size == 0) return nullptr;
  PItemIDList Copy = AllocIdList(Size);
  if (Copy) std::memcpy(Copy, List, Size);
  return Copy;
}

void FreeIdList(PItemIDList List) {
  IMalloc* Malloc = nullptr;
  if (!Succeeded(CoGetMalloc(1, &Malloc)) || !Malloc) throw EOleSysError("Unspecified error", E_FAIL);
  Malloc->Free(List);
}
