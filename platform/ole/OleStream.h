// OleStream.h — IStream over the class library's TStream, and back.
// TStreamAdapter borrows its stream unless told to own it
// (soOwned); the adapter's life follows its interface references.
#pragma once
#include "platform/ole/OleApi.h"
#include <string>

#include "platform/rtl/Streams.h"

enum class TStreamOwnership { soReference, soOwned };

class TStreamAdapter : public TInterfacedObject, public IStream {
  SX_CLASS(TStreamAdapter, TInterfacedObject)
public:
  explicit TStreamAdapter(TStream* Stream, TStreamOwnership Ownership = TStreamOwnership::soReference);
  ~TStreamAdapter() override;

  HRESULT Read(void* Buffer, ULONG Count, ULONG* Read) override;
  HRESULT Write(const void* Buffer, ULONG Count, ULONG* Written) override;
  HRESULT Seek(Int64 Move, DWORD Origin, UInt64* NewPosition) override;
  HRESULT SetSize(UInt64 NewSize) override;
  // Copies in blocks of at most 1 MiB; a destination that takes fewer bytes
  // than offered ends the copy with E_FAIL.
  HRESULT CopyTo(IStream* Dest, UInt64 Count, UInt64* Read, UInt64* Written) override;
  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return STG_E_INVALIDFUNCTION; }
  HRESULT LockRegion(UInt64, UInt64, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(UInt64, UInt64, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT Stat(STATSTG* Stat, DWORD Flags) override;
  HRESULT Clone(IStream** Stream) override;

  TStream* Stream() const { return FStream; }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  TStream* FStream;
  TStreamOwnership FOwnership;
};

// A TStream that reads and writes through an IStream (holding a reference).
class TOleStream : public TStream {
public:
  explicit TOleStream(IStream* Stream) : FStream(Stream) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

private:
  TIntfPtr<IStream> FStream;
};

// Reads a whole stream medium from its start (nothing on failure); at most
// Limit bytes, so a stream that claims a huge size cannot exhaust memory.
bool ReadWholeStream(IStream* Stream, std::string& Out, std::size_t Limit = std::size_t(1) << 30);
