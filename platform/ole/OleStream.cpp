#include "platform/ole/OleStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

TStreamAdapter::TStreamAdapter(TStream* Stream, TStreamOwnership Ownership) : FStream(Stream), FOwnership(Ownership) {}

TStreamAdapter::~TStreamAdapter() {
  if (FOwnership == TStreamOwnership::soOwned) delete FStream;
}

bool TStreamAdapter::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IStream>(this, IID, Obj) || OfferInterface<ISequentialStream>(this, IID, Obj) ||
         TInterfacedObject::GetInterface(IID, Obj);
}

HRESULT TStreamAdapter::Read(void* Buffer, ULONG Count, ULONG* Read) {
  if (!Buffer) return STG_E_INVALIDPOINTER;
  try {
    const Integer N = FStream->Read(Buffer, Integer(std::min<ULONG>(Count, 0x7FFFFFFF)));
    if (Read) *Read = ULONG(std::max<Integer>(N, 0));
    return N < 0 ? S_FALSE : S_OK;
  } catch (...) {
    return STG_E_READFAULT;
  }
}

HRESULT TStreamAdapter::Write(const void* Buffer, ULONG Count, ULONG* Written) {
  if (!Buffer) return STG_E_INVALIDPOINTER;
  try {
    const Integer N = FStream->Write(Buffer, Integer(std::min<ULONG>(Count, 0x7FFFFFFF)));
    if (Written) *Written = ULONG(std::max<Integer>(N, 0));
    return ULONG(N) == Count ? S_OK : STG_E_MEDIUMFULL;
  } catch (...) {
    return STG_E_WRITEFAULT;
  }
}

HRESULT TStreamAdapter::Seek(Int64 Move, DWORD Origin, UInt64* NewPosition) {
  if (Origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  try {
    const Int64 P = FStream->Seek(Move, TSeekOrigin(Origin));
    if (P < 0) return STG_E_INVALIDFUNCTION;
    if (NewPosition) *NewPosition = UInt64(P);
    return S_OK;
  } catch (...) {
    return STG_E_INVALIDFUNCTION;
  }
}

HRESULT TStreamAdapter::SetSize(UInt64 NewSize) {
  try {
    FStream->SetSize(Int64(NewSize));
    return Int64(NewSize) == FStream->GetSize() ? S_OK : E_FAIL;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TStreamAdapter::CopyTo(IStream* Dest, UInt64 Count, UInt64* ReadOut, UInt64* WrittenOut) {
  if (!Dest) return STG_E_INVALIDPOINTER;
  try {
    // All bits set means "everything"; from the end, everything is the
    // whole stream again.
    if (Int64(Count) < 0) {
      if (FStream->GetPosition() >= FStream->GetSize()) FStream->SetPosition(0);
      Count = UInt64(FStream->GetSize() - FStream->GetPosition());
    }
    std::vector<Byte> Buffer(std::size_t(std::min<UInt64>(Count, 1 << 20)));
    UInt64 TotalRead = 0, TotalWritten = 0;
    HRESULT Result = S_OK;
    while (Count > 0) {
      const Integer Want = Integer(std::min<UInt64>(Count, Buffer.size()));
      const Integer Got = FStream->Read(Buffer.data(), Want);
      if (Got <= 0) break;
      TotalRead += UInt64(Got);
      ULONG Wrote = 0;
      Result = Dest->Write(Buffer.data(), ULONG(Got), &Wrote);
      TotalWritten += Wrote;
      if (Succeeded(Result) && Wrote != ULONG(Got)) Result = E_FAIL;
      if (!Succeeded(Result)) break;
      Count -= UInt64(Wrote);
    }
    if (ReadOut) *ReadOut = TotalRead;
    if (WrittenOut) *WrittenOut = TotalWritten;
    return Result;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TStreamAdapter::Stat(STATSTG* Stat, DWORD) {
  if (!Stat) return STG_E_INVALIDPOINTER;
  *Stat = STATSTG{};
  try {
    Stat->cbSize = UInt64(FStream->GetSize());
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

HRESULT TStreamAdapter::Clone(IStream** Stream) {
  if (Stream) *Stream = nullptr;
  return E_NOTIMPL;
}

Integer TOleStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  ULONG N = 0;
  if (!Succeeded(FStream->Read(Buffer, ULONG(Count), &N))) return 0;
  return Integer(N);
}

Integer TOleStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  ULONG N = 0;
  if (!Succeeded(FStream->Write(Buffer, ULONG(Count), &N))) return 0;
  return Integer(N);
}

Int64 TOleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  UInt64 P = 0;
  if (!Succeeded(FStream->Seek(Offset, DWORD(Origin), &P))) return -1;
  return Int64(P);
}

bool ReadWholeStream(IStream* Stream, std::string& Out, std::size_t Limit) {
  Out.clear();
  if (!Stream) return false;
  STATSTG S;
  if (!Succeeded(Stream->Stat(&S, STATFLAG_NONAME)) || S.cbSize > Limit) return false;
  if (!Succeeded(Stream->Seek(0, STREAM_SEEK_SET, nullptr))) return false;
  Out.resize(std::size_t(S.cbSize));
  std::size_t At = 0;
  while (At < Out.size()) {
    ULONG N = 0;
    if (!Succeeded(Stream->Read(Out.data() + At, ULONG(std::min<std::size_t>(Out.size() - At, 1 << 20)), &N)) || N == 0)
      break;
    At += N;
  }
  Out.resize(At);
  return true;
}
