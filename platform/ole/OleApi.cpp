#include "platform/ole/OleApi.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ole/OleState_p.h"

void ReleaseStgMedium(STGMEDIUM* Medium) {
  if (!Medium) return;
  if (Medium->pUnkForRelease) {
    Medium->pUnkForRelease->_Release();
  } else {
    switch (Medium->tymed) {
      case TYMED_HGLOBAL:
        if (Medium->hGlobal) GlobalFree(Medium->hGlobal);
        break;
      case TYMED_ISTREAM:
        if (Medium->pstm) Medium->pstm->_Release();
        break;
      case TYMED_FILE:
        CoTaskMemFree(Medium->lpszFileName);
        break;
      default: break;
    }
  }
  Medium->tymed = TYMED_NULL;
  Medium->hGlobal = nullptr;
  Medium->pUnkForRelease = nullptr;
}

// --- the task allocator ----------------------------------------------------------------------------

namespace {

// Each block carries its size in front, so GetSize can answer and a
// foreign pointer is recognised by a tag.
struct TBlockHead {
  std::size_t Size;
  std::uint64_t Tag;
};
constexpr std::uint64_t TaskTag = 0x5458534B4D454D31ull;  // "TXSKMEM1"

TBlockHead* HeadOf(void* Block) {
  if (!Block) return nullptr;
  auto* H = reinterpret_cast<TBlockHead*>(static_cast<char*>(Block) - sizeof(TBlockHead));
  return H->Tag == TaskTag ? H : nullptr;
}

class TTaskMalloc : public IMalloc {
public:
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override {
    if (!Obj) return E_POINTER;
    if (IID == IUnknown::IID() || IID == IMalloc::IID()) {
      *Obj = static_cast<IMalloc*>(this);
      return S_OK;
    }
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  // The one allocator lives as long as the process.
  Integer _AddRef() override { return 1; }
  Integer _Release() override { return 1; }
  void* Alloc(std::size_t Size) override {
    auto* H = static_cast<TBlockHead*>(std::malloc(sizeof(TBlockHead) + Size));
    if (!H) return nullptr;
    H->Size = Size;
    H->Tag = TaskTag;
    return H + 1;
  }
  void* Realloc(void* Block, std::size_t Size) override {
    if (!Block) return Alloc(Size);
    if (Size == 0) {
      Free(Block);
      return nullptr;
    }
    TBlockHead* H = HeadOf(Block);
    if (!H) return nullptr;
    auto* N = static_cast<TBlockHead*>(std::realloc(H, sizeof(TBlockHead) + Size));
    if (!N) return nullptr;
    N->Size = Size;
    return N + 1;
  }
  void Free(void* Block) override {
    TBlockHead* H = HeadOf(Block);
    if (!H) return;
    H->Tag = 0;
    std::free(H);
  }
  std::size_t GetSize(void* Block) override {
    TBlockHead* H = HeadOf(Block);
    return H ? H->Size : std::size_t(-1);
  }
  int DidAlloc(void* Block) override { return HeadOf(Block) ? 1 : 0; }
  void HeapMinimize() override {}
};

TTaskMalloc& TaskMalloc() {
  static TTaskMalloc M;
  return M;
}

std::atomic<int> ComCount{0};
std::atomic<int> OleCount{0};

}  // namespace

void* CoTaskMemAlloc(std::size_t Size) { return TaskMalloc().Alloc(Size); }
void* CoTaskMemRealloc(void* Block, std::size_t Size) { return TaskMalloc().Realloc(Block, Size); }
void CoTaskMemFree(void* Block) { TaskMalloc().Free(Block); }

HRESULT CoGetMalloc(DWORD, IMalloc** Malloc) {
  if (!Malloc) return E_INVALIDARG;
  *Malloc = &TaskMalloc();
  return S_OK;
}

HRESULT CoInitialize(void*) { return ComCount.fetch_add(1) == 0 ? S_OK : S_FALSE; }
HRESULT CoInitializeEx(void* Reserved, DWORD) { return CoInitialize(Reserved); }
void CoUninitialize() {
  int N = ComCount.load();
  while (N > 0 && !ComCount.compare_exchange_weak(N, N - 1)) {
  }
}

HRESULT OleInitialize(void* Reserved) {
  CoInitialize(Reserved);
  InstallExternalDropSink();
  return OleCount.fetch_add(1) == 0 ? S_OK : S_FALSE;
}
void OleUninitialize() {
  int N = OleCount.load();
  while (N > 0 && !OleCount.compare_exchange_weak(N, N - 1)) {
  }
  CoUninitialize();
}
bool OleIsInitialized() { return OleCount.load() > 0; }

HRESULT CoCreateInstance(const TCLSID&, IUnknown*, DWORD, const TIID&, void** Obj) {
  if (Obj) *Obj = nullptr;
  return REGDB_E_CLASSNOTREG;
}

void OleReset() {
  ComCount = 0;
  OleCount = 0;
  DragDropReset();
  OleClipboardReset();
}
