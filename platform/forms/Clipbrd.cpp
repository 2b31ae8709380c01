#include "platform/forms/Clipbrd.h"

#include <cstring>
#include <memory>

#include "platform/forms/Application.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Paint.h"

TClipboard::~TClipboard() {
  // A clipboard left open by an exception in a caller is closed here.
  if (FOpenRefCount > 0) CloseClipboard();
}

HWND TClipboard::OwnerWindow() { return Application ? Application->Handle() : nullptr; }

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    if (!OpenClipboard(OwnerWindow())) throw EClipboardException("Cannot open clipboard");
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

// Setting a format through this object replaces the content, unless this
// opening already emptied it (so that several formats make one content).
void TClipboard::Adding() {
  if (FOpenRefCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) const { return IsClipboardFormatAvailable(Format) != FALSE; }

Integer TClipboard::FormatCount() const { return CountClipboardFormats(); }

UINT TClipboard::Formats(Integer Index) const {
  UINT F = 0;
  for (Integer I = 0; I <= Index; ++I) {
    F = EnumClipboardFormats(F);
    if (F == 0) break;
  }
  return F;
}

AnsiString TClipboard::GetAsText() {
  AnsiString S = GetBuffer(CF_TEXT);
  const size_t Nul = S.find('\0');
  if (Nul != AnsiString::npos) S.resize(Nul);
  return S;
}

void TClipboard::SetAsText(const AnsiString& Value) {
  Open();
  try {
    Adding();
    SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::SetBuffer(UINT Format, const void* Data, size_t Size) {
  Open();
  HGLOBAL Mem = nullptr;
  try {
    Mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (!Mem) throw EClipboardException("Out of memory for the clipboard");
    void* P = GlobalLock(Mem);
    if (Size) std::memcpy(P, Data, Size);
    GlobalUnlock(Mem);
    if (!SetClipboardData(Format, Mem)) throw EClipboardException("Cannot set clipboard data");
    Mem = nullptr;
  } catch (...) {
    if (Mem) GlobalFree(Mem);
    Close();
    throw;
  }
  Close();
}

AnsiString TClipboard::GetBuffer(UINT Format) {
  Open();
  AnsiString Bytes;
  try {
    if (HGLOBAL Mem = GetClipboardData(Format)) {
      const size_t Size = GlobalSize(Mem);
      if (const void* P = GlobalLock(Mem)) {
        Bytes.assign(static_cast<const char*>(P), Size);
        GlobalUnlock(Mem);
      }
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
  return Bytes;
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE H = GetClipboardData(Format);
  Close();
  return H;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  try {
    Adding();
    if (!SetClipboardData(Format, Value)) throw EClipboardException("Cannot set clipboard data");
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    TBitmap Copy;
    Copy.Assign(B);
    SetAsHandle(CF_BITMAP, Copy.ReleaseHandle());
    return;
  }
  inherited::Assign(Source);
}

void TClipboard::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    TClipboard* Self = this;
    Self->Open();
    try {
      HBITMAP H = HBITMAP(GetClipboardData(CF_BITMAP));
      BITMAP Info{};
      if (!H || !GetObjectA(H, sizeof(Info), &Info)) throw EClipboardException("The clipboard holds no picture");
      B->SetSize(Info.bmWidth, Info.bmHeight);
      HDC Screen = GetDC(nullptr);
      HDC Mem = CreateCompatibleDC(Screen);
      ReleaseDC(nullptr, Screen);
      HGDIOBJ Old = SelectObject(Mem, H);
      BitBlt(B->Canvas()->GetHandle(), 0, 0, Info.bmWidth, Info.bmHeight, Mem, 0, 0, SRCCOPY);
      SelectObject(Mem, Old);
      DeleteDC(Mem);
    } catch (...) {
      Self->Close();
      throw;
    }
    Self->Close();
    return;
  }
  inherited::AssignTo(Dest);
}

TClipboard* Clipboard() {
  static TClipboard Instance;
  return &Instance;
}
