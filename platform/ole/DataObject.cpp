#include "platform/ole/DataObject.h"

#include <cstring>

#include "platform/ole/OleStream.h"

// --- the enumerator ------------------------------------------------------------------------------

bool TEnumFormatEtc::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IEnumFORMATETC>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
}

HRESULT TEnumFormatEtc::Next(ULONG Count, FORMATETC* Out, ULONG* Fetched) {
  if (!Out) return E_POINTER;
  ULONG N = 0;
  while (N < Count && FAt < FFormats.size()) Out[N++] = FFormats[FAt++];
  if (Fetched) *Fetched = N;
  return N == Count ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG Count) {
  const std::size_t Left = FFormats.size() - FAt;
  FAt += std::min<std::size_t>(Count, Left);
  return Count <= Left ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Reset() {
  FAt = 0;
  return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** Enum) {
  if (!Enum) return E_POINTER;
  auto* E = new TEnumFormatEtc(FFormats, FAt);
  E->_AddRef();
  *Enum = E;
  return S_OK;
}

// --- global memory helpers ------------------------------------------------------------------------

HGLOBAL GlobalFromBytes(const void* Data, std::size_t Size) {
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, Size ? Size : 1);
  if (!H) return nullptr;
  if (Size) {
    void* P = GlobalLock(H);
    if (!P) {
      GlobalFree(H);
      return nullptr;
    }
    std::memcpy(P, Data, Size);
    GlobalUnlock(H);
  }
  return H;
}

std::string BytesFromGlobal(HGLOBAL Mem) {
  std::string Out;
  if (!Mem) return Out;
  const SIZE_T Size = GlobalSize(Mem);
  const void* P = GlobalLock(Mem);
  if (!P) return Out;
  Out.assign(static_cast<const char*>(P), Size);
  GlobalUnlock(Mem);
  return Out;
}

bool GetDataBytes(IDataObject* Data, CLIPFORMAT Format, std::string& Out) {
  Out.clear();
  if (!Data) return false;
  FORMATETC F;
  F.cfFormat = Format;
  F.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
  STGMEDIUM M;
  if (!Succeeded(Data->GetData(&F, &M))) return false;
  bool Ok = false;
  if (M.tymed == TYMED_HGLOBAL && M.hGlobal) {
    Out = BytesFromGlobal(M.hGlobal);
    Ok = true;
  } else if (M.tymed == TYMED_ISTREAM && M.pstm) {
    Ok = ReadWholeStream(M.pstm, Out);
  }
  ReleaseStgMedium(&M);
  return Ok;
}

bool SetDataBytes(IDataObject* Data, CLIPFORMAT Format, const std::string& Bytes) {
  if (!Data) return false;
  FORMATETC F;
  F.cfFormat = Format;
  STGMEDIUM M;
  M.tymed = TYMED_HGLOBAL;
  M.hGlobal = GlobalFromBytes(Bytes.data(), Bytes.size());
  if (!M.hGlobal) return false;
  if (Succeeded(Data->SetData(&F, &M, TRUE))) return true;
  ReleaseStgMedium(&M);
  return false;
}

// --- the data object ------------------------------------------------------------------------------

TDataObject::~TDataObject() = default;

bool TDataObject::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IDataObject>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
}

TDataObject::TEntry* TDataObject::Find(CLIPFORMAT Format) {
  for (TEntry& E : FEntries)
    if (E.Format == Format) return &E;
  return nullptr;
}

void TDataObject::SetBytes(CLIPFORMAT Format, const std::string& Bytes) {
  TEntry* E = Find(Format);
  if (!E) {
    FEntries.push_back(TEntry{Format, {}, true, {}});
    E = &FEntries.back();
  }
  E->Bytes = Bytes;
  E->Rendered = true;
  E->Render = nullptr;
}

void TDataObject::Promise(CLIPFORMAT Format, std::function<bool(std::string&)> Render) {
  TEntry* E = Find(Format);
  if (!E) {
    FEntries.push_back(TEntry{Format, {}, false, {}});
    E = &FEntries.back();
  }
  E->Bytes.clear();
  E->Rendered = false;
  E->Render = std::move(Render);
}

HRESULT TDataObject::Check(const FORMATETC* Format, TEntry*& Entry) {
  Entry = nullptr;
  if (!Format) return E_INVALIDARG;
  if (Format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (Format->lindex != -1) return DV_E_LINDEX;
  if (Format->ptd) return DV_E_FORMATETC;
  Entry = Find(Format->cfFormat);
  if (!Entry) return DV_E_FORMATETC;
  if (!(Format->tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) return DV_E_TYMED;
  if (!Entry->Rendered) {
    std::string Bytes;
    auto Render = Entry->Render;
    if (!Render || !Render(Bytes)) return DV_E_FORMATETC;
    Entry = Find(Format->cfFormat);  // Render may have added formats
    Entry->Bytes = std::move(Bytes);
    Entry->Rendered = true;
  }
  return S_OK;
}

HRESULT TDataObject::GetData(const FORMATETC* Format, STGMEDIUM* Medium) {
  if (!Medium) return E_POINTER;
  *Medium = STGMEDIUM();
  TEntry* E;
  if (HRESULT R = Check(Format, E); !Succeeded(R)) return R;
  if (Format->tymed & TYMED_HGLOBAL) {
    Medium->hGlobal = GlobalFromBytes(E->Bytes.data(), E->Bytes.size());
    if (!Medium->hGlobal) return E_OUTOFMEMORY;
    Medium->tymed = TYMED_HGLOBAL;
    return S_OK;
  }
  auto* S = new TMemoryStream;
  S->WriteBuffer(E->Bytes.data(), Integer(E->Bytes.size()));
  S->SetPosition(0);
  auto* A = new TStreamAdapter(S, TStreamOwnership::soOwned);
  A->_AddRef();
  Medium->tymed = TYMED_ISTREAM;
  Medium->pstm = A;
  return S_OK;
}

HRESULT TDataObject::GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) {
  if (!Medium) return E_POINTER;
  TEntry* E;
  if (HRESULT R = Check(Format, E); !Succeeded(R)) return R;
  if (Medium->tymed == TYMED_HGLOBAL && Medium->hGlobal) {
    if (GlobalSize(Medium->hGlobal) < E->Bytes.size()) return STG_E_MEDIUMFULL;
    void* P = GlobalLock(Medium->hGlobal);
    if (!P) return E_INVALIDARG;
    std::memcpy(P, E->Bytes.data(), E->Bytes.size());
    GlobalUnlock(Medium->hGlobal);
    return S_OK;
  }
  if (Medium->tymed == TYMED_ISTREAM && Medium->pstm) {
    ULONG N = 0;
    return Medium->pstm->Write(E->Bytes.data(), ULONG(E->Bytes.size()), &N);
  }
  return DV_E_TYMED;
}

HRESULT TDataObject::QueryGetData(const FORMATETC* Format) {
  if (!Format) return E_INVALIDARG;
  if (Format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (Format->lindex != -1) return DV_E_LINDEX;
  if (!Find(Format->cfFormat)) return DV_E_FORMATETC;
  if (!(Format->tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) return DV_E_TYMED;
  return S_OK;
}

HRESULT TDataObject::GetCanonicalFormatEtc(const FORMATETC* In, FORMATETC* Out) {
  if (!In || !Out) return E_INVALIDARG;
  *Out = *In;
  Out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT TDataObject::SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) {
  if (!Format || !Medium) return E_INVALIDARG;
  if (Format->dwAspect != DVASPECT_CONTENT || Format->lindex != -1) return DV_E_FORMATETC;
  std::string Bytes;
  if (Medium->tymed == TYMED_HGLOBAL) Bytes = BytesFromGlobal(Medium->hGlobal);
  else if (Medium->tymed == TYMED_ISTREAM) {
    if (!ReadWholeStream(Medium->pstm, Bytes)) return E_FAIL;
  } else
    return DV_E_TYMED;
  SetBytes(Format->cfFormat, Bytes);
  if (Release) ReleaseStgMedium(Medium);
  return S_OK;
}

HRESULT TDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) {
  if (!Enum) return E_POINTER;
  *Enum = nullptr;
  if (Direction != DATADIR_GET) return E_NOTIMPL;
  std::vector<FORMATETC> Formats;
  for (const TEntry& E : FEntries) {
    FORMATETC F;
    F.cfFormat = E.Format;
    F.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    Formats.push_back(F);
  }
  auto* R = new TEnumFormatEtc(std::move(Formats));
  R->_AddRef();
  *Enum = R;
  return S_OK;
}
