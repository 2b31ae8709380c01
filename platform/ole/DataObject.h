// DataObject.h — a data object that holds its formats in memory, the
// format enumerator, and the helpers that read and put whole blocks.
//
// TDataObject keeps one global-memory block per format (SetData copies
// or adopts it, GetData hands out a copy, so a caller can always free what
// it got). It serves drag sources, the OLE clipboard and drops from other
// programs alike. Optional formats rendered on first request come through
// OnRender, so a costly format (an item-id list built from paths) is made
// only when a target asks.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/ole/OleApi.h"

class TEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
  SX_CLASS(TEnumFormatEtc, TInterfacedObject)
public:
  explicit TEnumFormatEtc(std::vector<FORMATETC> Formats, std::size_t At = 0)
      : FFormats(std::move(Formats)), FAt(At) {}
  HRESULT Next(ULONG Count, FORMATETC* Out, ULONG* Fetched) override;
  HRESULT Skip(ULONG Count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFORMATETC** Enum) override;

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  std::vector<FORMATETC> FFormats;
  std::size_t FAt;
};

class TDataObject : public TInterfacedObject, public IDataObject {
  SX_CLASS(TDataObject, TInterfacedObject)
public:
  TDataObject() = default;
  ~TDataObject() override;

  // Puts bytes under a format (global memory, offered also as a stream).
  void SetBytes(CLIPFORMAT Format, const std::string& Bytes);
  // Promises a format; Render fills the bytes on the first request (false:
  // the format turns out to be unavailable).
  void Promise(CLIPFORMAT Format, std::function<bool(std::string&)> Render);

  HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) override;
  HRESULT QueryGetData(const FORMATETC* Format) override;
  HRESULT GetCanonicalFormatEtc(const FORMATETC* In, FORMATETC* Out) override;
  // Takes global memory and streams; other media DV_E_TYMED.
  HRESULT SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) override;
  HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override;
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  struct TEntry {
    CLIPFORMAT Format;
    std::string Bytes;
    bool Rendered = true;
    std::function<bool(std::string&)> Render;
  };
  TEntry* Find(CLIPFORMAT Format);
  HRESULT Check(const FORMATETC* Format, TEntry*& Entry);
  std::vector<TEntry> FEntries;
};

// A copy of Size bytes in new moveable global memory (an empty copy is one
// zero byte, as a block cannot be empty); nil when memory is short.
HGLOBAL GlobalFromBytes(const void* Data, std::size_t Size);
// The bytes of a global block (empty for a dead handle).
std::string BytesFromGlobal(HGLOBAL Mem);
// The bytes a data object gives for a format, on global memory or a
// stream; false when it has none. The medium is always released.
bool GetDataBytes(IDataObject* Data, CLIPFORMAT Format, std::string& Out);
// Puts bytes into a data object as global memory (ownership passed).
bool SetDataBytes(IDataObject* Data, CLIPFORMAT Format, const std::string& Bytes);
