#include "platform/ole/OleClipboard.h"

#include "platform/ole/DataObject.h"
#include "platform/ole/OleState_p.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Window.h"

namespace {

struct TOleClip {
  TIntfPtr<IDataObject> Current;
  DWORD Sequence = 0;  // the clipboard's sequence number right after setting
};

TOleClip& OleClip() {
  static TOleClip C;
  return C;
}

bool IsGdiFormat(UINT F) {
  return F == CF_BITMAP || F == CF_PALETTE || F == CF_ENHMETAFILE || F == CF_METAFILEPICT;
}

bool StillCurrent() {
  TOleClip& C = OleClip();
  if (C.Current && C.Sequence != GetClipboardSequenceNumber()) C.Current.Reset();
  return bool(C.Current);
}

}  // namespace

void OleClipboardReset() { OleClip() = TOleClip{}; }

HRESULT OleSetClipboard(IDataObject* Data) {
  if (!OleIsInitialized()) return CO_E_NOTINITIALIZED;
  if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
  EmptyClipboard();
  OleClip().Current.Reset();
  HRESULT Result = S_OK;
  if (Data) {
    IEnumFORMATETC* RawEnum = nullptr;
    if (Succeeded(Data->EnumFormatEtc(DATADIR_GET, &RawEnum)) && RawEnum) {
      TIntfPtr<IEnumFORMATETC> Enum;
      Enum.Attach(RawEnum);
      FORMATETC F;
      ULONG Got = 0;
      while (Enum->Next(1, &F, &Got) == S_OK && Got == 1) {
        if (IsGdiFormat(F.cfFormat) || !(F.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) continue;
        std::string Bytes;
        if (!GetDataBytes(Data, F.cfFormat, Bytes)) continue;
        if (HGLOBAL H = GlobalFromBytes(Bytes.data(), Bytes.size()); H && !SetClipboardData(F.cfFormat, H))
          GlobalFree(H);
      }
    } else {
      Result = CLIPBRD_E_CANT_SET;
    }
  }
  CloseClipboard();
  if (Data && Succeeded(Result)) {
    OleClip().Current = TIntfPtr<IDataObject>(Data);
    OleClip().Sequence = GetClipboardSequenceNumber();
  }
  return Result;
}

HRESULT OleGetClipboard(IDataObject** Data) {
  if (!Data) return E_INVALIDARG;
  *Data = nullptr;
  if (!OleIsInitialized()) return CO_E_NOTINITIALIZED;
  if (StillCurrent()) {
    *Data = OleClip().Current.Get();
    (*Data)->_AddRef();
    return S_OK;
  }
  if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
  auto* Snapshot = new TDataObject;
  for (UINT F = EnumClipboardFormats(0); F; F = EnumClipboardFormats(F)) {
    if (IsGdiFormat(F)) continue;
    if (HANDLE H = GetClipboardData(F)) Snapshot->SetBytes(CLIPFORMAT(F), BytesFromGlobal(H));
  }
  CloseClipboard();
  IDataObject* I = Snapshot;
  I->_AddRef();
  *Data = I;
  return S_OK;
}

HRESULT OleFlushClipboard() {
  if (!OleIsInitialized()) return CO_E_NOTINITIALIZED;
  OleClip().Current.Reset();
  return S_OK;
}

HRESULT OleIsCurrentClipboard(IDataObject* Data) {
  if (!Data) return S_FALSE;
  return StillCurrent() && OleClip().Current.Get() == Data ? S_OK : S_FALSE;
}
