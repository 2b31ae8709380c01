#include "platform/win/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Emf.h"
#include "platform/rtl/CodePages.h"
#include "platform/win/Display.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
using TEntry = TClipEntry;

TClipboardState& Clip() { return WinState().Clipboard; }

void FreeData(UINT Format, HANDLE Data) {
  if (!Data) return;
  switch (Format) {
    case CF_BITMAP:
    case CF_PALETTE: DeleteObject(Data); break;
    case CF_ENHMETAFILE: DeleteEnhMetaFile(HENHMETAFILE(Data)); break;
    default: GlobalFree(Data); break;
  }
}

TEntry* Find(UINT Format) {
  for (auto& E : Clip().Entries)
    if (E.Format == Format) return &E;
  return nullptr;
}

bool IsText(UINT F) { return F == CF_TEXT || F == CF_UNICODETEXT || F == CF_OEMTEXT; }

HANDLE Rendered(TEntry& E) {
  if (!E.Data && IsWindow(Clip().Owner)) SendMessageA(Clip().Owner, WM_RENDERFORMAT, E.Format, 0);
  TEntry* Now = Find(E.Format);
  return Now ? Now->Data : nullptr;
}

// Text of one format as UTF-16 (up to the terminator).
bool ReadText(UINT Format, WideString& Out) {
  TEntry* E = Find(Format);
  if (!E) return false;
  HANDLE H = Rendered(*E);
  if (!H) return false;
  SIZE_T Size = GlobalSize(H);
  auto* P = static_cast<const char*>(GlobalLock(H));
  if (!P) return false;
  if (Format == CF_UNICODETEXT) {
    const auto* W = reinterpret_cast<const char16_t*>(P);
    SIZE_T N = 0;
    while (N < Size / 2 && W[N]) ++N;
    Out.assign(W, N);
  } else {
    SIZE_T N = 0;
    while (N < Size && P[N]) ++N;
    Out = AnsiToWide(std::string_view(P, N), Format == CF_OEMTEXT ? 437 : CP_ACP);
  }
  GlobalUnlock(H);
  return true;
}

HANDLE WriteText(UINT Format, const WideString& Text) {
  HGLOBAL H;
  if (Format == CF_UNICODETEXT) {
    H = GlobalAlloc(GHND, (Text.size() + 1) * 2);
    if (auto* P = static_cast<char16_t*>(GlobalLock(H))) {
      std::memcpy(P, Text.data(), Text.size() * 2);
      GlobalUnlock(H);
    }
  } else {
    AnsiString A = WideToAnsi(Text, Format == CF_OEMTEXT ? 437 : CP_ACP);
    H = GlobalAlloc(GHND, A.size() + 1);
    if (auto* P = static_cast<char*>(GlobalLock(H))) {
      std::memcpy(P, A.data(), A.size());
      GlobalUnlock(H);
    }
  }
  return H;
}

bool HasTextSource() { return Find(CF_TEXT) || Find(CF_UNICODETEXT) || Find(CF_OEMTEXT); }
}  // namespace

BOOL OpenClipboard(HWND Owner) {
  auto& C = Clip();
  if (Owner && !IsWindow(Owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (C.Open && C.Opener != Owner) {
    SetLastError(5);  // ERROR_ACCESS_DENIED
    return FALSE;
  }
  C.Open = true;
  C.Opener = Owner;
  C.SequenceAtOpen = C.Sequence;
  // Another program's content comes in first (a desktop display).
  Display().ClipboardOpened();
  return TRUE;
}

BOOL CloseClipboard() {
  auto& C = Clip();
  if (!C.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  C.Open = false;
  C.Opener = nullptr;
  if (C.Sequence != C.SequenceAtOpen) Display().ClipboardChanged();
  return TRUE;
}

BOOL EmptyClipboard() {
  auto& C = Clip();
  if (!C.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  HWND Old = C.Owner;
  if (Old && IsWindow(Old)) SendMessageA(Old, WM_DESTROYCLIPBOARD, 0, 0);
  for (auto& E : C.Entries) FreeData(E.Format, E.Data);
  C.Entries.clear();
  C.Owner = C.Opener;
  ++C.Sequence;
  return TRUE;
}

HANDLE SetClipboardData(UINT Format, HANDLE Data) {
  auto& C = Clip();
  // The owner may answer WM_RENDERFORMAT without opening the clipboard.
  bool Rendering = Find(Format) && !Find(Format)->Data;
  if (!C.Open && !Rendering) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (Format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (TEntry* E = Find(Format)) {
    if (E->Data != Data) FreeData(Format, E->Data);
    E->Data = Data;
  } else {
    C.Entries.push_back({Format, Data});
  }
  ++C.Sequence;
  return Data ? Data : reinterpret_cast<HANDLE>(1);
}

HANDLE GetClipboardData(UINT Format) {
  auto& C = Clip();
  if (!C.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (TEntry* E = Find(Format)) return Rendered(*E);
  if (!IsText(Format) || !HasTextSource()) return nullptr;
  // Made once from the first text format that was set, then kept.
  WideString Text;
  for (auto& E : std::vector<TEntry>(C.Entries))
    if (IsText(E.Format) && ReadText(E.Format, Text)) {
      HANDLE H = WriteText(Format, Text);
      C.Entries.push_back({Format, H});
      return H;
    }
  return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT Format) {
  if (Find(Format)) return TRUE;
  return IsText(Format) && HasTextSource() ? TRUE : FALSE;
}

int CountClipboardFormats() {
  int N = int(Clip().Entries.size());
  if (HasTextSource())
    for (UINT F : {CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT})
      if (!Find(F)) ++N;
  return N;
}

UINT EnumClipboardFormats(UINT Format) {
  auto& C = Clip();
  if (!C.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  std::vector<UINT> All;
  for (auto& E : C.Entries) All.push_back(E.Format);
  if (HasTextSource())
    for (UINT F : {CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT})
      if (!Find(F)) All.push_back(F);
  if (Format == 0) return All.empty() ? 0 : All.front();
  auto It = std::find(All.begin(), All.end(), Format);
  SetLastError(0);
  return It == All.end() || It + 1 == All.end() ? 0 : *(It + 1);
}

UINT RegisterClipboardFormatA(const char* Name) { return RegisterWindowMessageA(Name); }

int GetClipboardFormatNameA(UINT Format, char* Buffer, int MaxCount) {
  if (!Buffer || MaxCount <= 0 || Format < 0xC000) return 0;
  AnsiString N = RegisteredMessageName(Format);
  if (N.empty()) return 0;
  int Len = std::min<int>(int(N.size()), MaxCount - 1);
  std::memcpy(Buffer, N.data(), std::size_t(Len));
  Buffer[Len] = 0;
  return Len;
}

HWND GetClipboardOwner() { return IsWindow(Clip().Owner) ? Clip().Owner : nullptr; }
HWND GetOpenClipboardWindow() { return Clip().Open ? Clip().Opener : nullptr; }
DWORD GetClipboardSequenceNumber() { return Clip().Sequence; }

void ClipboardReset() {
  auto& C = Clip();
  for (auto& E : C.Entries) FreeData(E.Format, E.Data);
  C = TClipboardState();
}
