#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <new>

#include "platform/rtl/Exceptions.h"

namespace {

constexpr Int64 MaxMemoryStreamSize = std::numeric_limits<Integer>::max();

[[noreturn]] void RaiseReadError() { throw EReadError("Stream read error"); }
[[noreturn]] void RaiseWriteError() { throw EWriteError("Stream write error"); }
[[noreturn]] void RaiseMemoryStreamError() {
  throw EStreamError("Out of memory while expanding memory stream");
}

// The reason part of EFOpenError/EFCreateError, worded as the Windows system
// message the user would read (without its final period, as the class
// library trims it).
AnsiString OpenFailureReason(int Err, const AnsiString& FileName) {
  switch (Err) {
    case ENOENT: {
      // Windows tells a missing folder from a missing file.
      const auto Slash = FileName.find_last_of('/');
      if (FileName.empty()) return "The system cannot find the path specified";
      if (Slash != AnsiString::npos && Slash > 0) {
        struct stat St{};
        if (::stat(FileName.substr(0, Slash).c_str(), &St) != 0 || !S_ISDIR(St.st_mode))
          return "The system cannot find the path specified";
      }
      return "The system cannot find the file specified";
    }
    case ENOTDIR: return "The system cannot find the path specified";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return "Access is denied";
    case ENAMETOOLONG: return "The filename or extension is too long";
    case EMFILE:
    case ENFILE: return "The system cannot open the file";
    case ENOSPC: return "There is not enough space on the disk";
    case EBUSY:
    case ETXTBSY: return "The process cannot access the file because it is being used by another process";
    case EINVAL: return "The parameter is incorrect";
    default: return std::strerror(Err);
  }
}

constexpr int ErrSharingViolation = -1;  // our own code, not an errno

// --- In-process share modes -------------------------------------------------
// Each open TFileStream registers the file's identity, its access and what it
// lets others do; a new open is checked against all of them with the Windows
// rule in both directions.
struct TShareEntry {
  dev_t Dev;
  ino_t Ino;
  bool CanRead, CanWrite;      // access held
  bool ShareRead, ShareWrite;  // access granted to others
};

struct TShareTable {
  std::mutex Lock;
  std::map<Integer, TShareEntry> Open;
  Integer Next = 0;
};

TShareTable& ShareTable() {
  static TShareTable Table;
  return Table;
}

bool Conflicts(const TShareEntry& A, const TShareEntry& B) {
  return (A.CanRead && !B.ShareRead) || (A.CanWrite && !B.ShareWrite) ||
         (B.CanRead && !A.ShareRead) || (B.CanWrite && !A.ShareWrite);
}

}  // namespace

// --- TStream ------------------------------------------------------------------

Integer TStream::Seek(Integer Offset, Word Origin) {
  if (Origin > soFromEnd) return -1;
  return static_cast<Integer>(Seek(static_cast<Int64>(Offset), static_cast<TSeekOrigin>(Origin)));
}

Int64 TStream::GetPosition() { return Seek(Int64{0}, soCurrent); }

void TStream::SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }

Int64 TStream::GetSize() {
  const Int64 Pos = Seek(Int64{0}, soCurrent);
  const Int64 Result = Seek(Int64{0}, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

// Streams of fixed size (and the class library's base) ignore a new size.
void TStream::SetSize(Int64 /*NewSize*/) {}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count < 0) RaiseReadError();
  if (Count != 0 && Read(Buffer, Count) != Count) RaiseReadError();
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count < 0) RaiseWriteError();
  if (Count != 0 && Write(Buffer, Count) != Count) {
    const AnsiString Why = WriteFailure();
    if (Why.empty()) RaiseWriteError();
    throw EWriteError("Stream write error: " + Why);
  }
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (!Source) throw EStreamError("No source stream to copy from");
  if (Count < 0) RaiseReadError();
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  constexpr Integer MaxBufSize = 0xF000;
  std::vector<Byte> Buffer(static_cast<size_t>(std::min<Int64>(Count, MaxBufSize)));
  Int64 Left = Count;
  while (Left > 0) {
    const Integer N = static_cast<Integer>(std::min<Int64>(Left, MaxBufSize));
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Left -= N;
  }
  return Count;
}

namespace {
template <class T>
T ReadLE(TStream& S) {
  Byte B[sizeof(T)];
  S.ReadBuffer(B, sizeof(T));
  UInt64 V = 0;
  for (size_t I = 0; I < sizeof(T); ++I) V |= static_cast<UInt64>(B[I]) << (8 * I);
  return static_cast<T>(V);
}
template <class T>
void WriteLE(TStream& S, T Value) {
  Byte B[sizeof(T)];
  const auto V = static_cast<UInt64>(Value);
  for (size_t I = 0; I < sizeof(T); ++I) B[I] = static_cast<Byte>(V >> (8 * I));
  S.WriteBuffer(B, sizeof(T));
}
}  // namespace

Byte TStream::ReadU8() { return ReadLE<Byte>(*this); }
Word TStream::ReadU16() { return ReadLE<Word>(*this); }
DWORD TStream::ReadU32() { return ReadLE<DWORD>(*this); }
UInt64 TStream::ReadU64() { return ReadLE<UInt64>(*this); }
SmallInt TStream::ReadI16() { return static_cast<SmallInt>(ReadLE<Word>(*this)); }
Integer TStream::ReadI32() { return static_cast<Integer>(ReadLE<DWORD>(*this)); }
Int64 TStream::ReadI64() { return static_cast<Int64>(ReadLE<UInt64>(*this)); }
float TStream::ReadSingle() {
  const DWORD Bits = ReadU32();
  float F;
  std::memcpy(&F, &Bits, sizeof F);
  return F;
}
double TStream::ReadDouble() {
  const UInt64 Bits = ReadU64();
  double D;
  std::memcpy(&D, &Bits, sizeof D);
  return D;
}
void TStream::WriteU8(Byte V) { WriteLE(*this, V); }
void TStream::WriteU16(Word V) { WriteLE(*this, V); }
void TStream::WriteU32(DWORD V) { WriteLE(*this, V); }
void TStream::WriteU64(UInt64 V) { WriteLE(*this, V); }
void TStream::WriteI16(SmallInt V) { WriteLE(*this, static_cast<Word>(V)); }
void TStream::WriteI32(Integer V) { WriteLE(*this, static_cast<DWORD>(V)); }
void TStream::WriteI64(Int64 V) { WriteLE(*this, static_cast<UInt64>(V)); }
void TStream::WriteSingle(float V) {
  DWORD Bits;
  std::memcpy(&Bits, &V, sizeof Bits);
  WriteU32(Bits);
}
void TStream::WriteDouble(double V) {
  UInt64 Bits;
  std::memcpy(&Bits, &V, sizeof Bits);
  WriteU64(Bits);
}

AnsiString TStream::ReadBytes(Integer Count) {
  if (Count < 0) RaiseReadError();
  // Refuse before allocating when the stream cannot hold that many bytes.
  const Int64 Pos = GetPosition();
  const Int64 Size = GetSize();
  if (Pos < 0 || Size - Pos < Count) RaiseReadError();
  AnsiString Result(static_cast<size_t>(Count), '\0');
  ReadBuffer(Result.data(), Count);
  return Result;
}

void TStream::WriteBytes(const AnsiString& S) {
  if (S.size() > static_cast<size_t>(std::numeric_limits<Integer>::max())) RaiseWriteError();
  WriteBuffer(S.data(), static_cast<Integer>(S.size()));
}

// --- TCustomMemoryStream --------------------------------------------------------

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
  FMemory = Ptr;
  FSize = Size;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
  const Integer N = static_cast<Integer>(std::min<Int64>(FSize - FPosition, Count));
  std::memcpy(Buffer, static_cast<const Byte*>(FMemory) + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return N;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize != 0) Stream->WriteBuffer(FMemory, static_cast<Integer>(FSize));
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// --- TMemoryStream --------------------------------------------------------------

void TMemoryStream::Resize(Int64 NewSize) {
  if (NewSize < 0 || NewSize > MaxMemoryStreamSize) RaiseMemoryStreamError();
  try {
    FBuffer.resize(static_cast<size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    RaiseMemoryStreamError();
  } catch (const std::length_error&) {
    RaiseMemoryStreamError();
  }
  SetPointer(FBuffer.empty() ? nullptr : FBuffer.data(), NewSize);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  const Int64 End = FPosition + Count;
  if (FPosition == GetSize()) {
    // Appending, the usual case of a writer: the bytes go in once, with no
    // zero fill first.
    if (End > MaxMemoryStreamSize) RaiseMemoryStreamError();
    const auto* P = static_cast<const Byte*>(Buffer);
    try {
      FBuffer.insert(FBuffer.end(), P, P + Count);
    } catch (const std::bad_alloc&) {
      RaiseMemoryStreamError();
    } catch (const std::length_error&) {
      RaiseMemoryStreamError();
    }
    SetPointer(FBuffer.data(), End);
    FPosition = End;
    return Count;
  }
  if (End > GetSize()) Resize(End);
  std::memcpy(FBuffer.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  Resize(NewSize);
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  if (NewCapacity < 0 || NewCapacity > MaxMemoryStreamSize) RaiseMemoryStreamError();
  if (NewCapacity < GetSize()) Resize(NewCapacity);
  try {
    if (static_cast<size_t>(NewCapacity) > FBuffer.capacity())
      FBuffer.reserve(static_cast<size_t>(NewCapacity));
    else
      FBuffer.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    RaiseMemoryStreamError();
  }
  SetPointer(FBuffer.empty() ? nullptr : FBuffer.data(), GetSize());
}

void TMemoryStream::Clear() {
  std::vector<Byte>().swap(FBuffer);
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const Int64 Count = Stream->GetSize();
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(Memory(), static_cast<Integer>(Count));
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

// --- THandleStream --------------------------------------------------------------

Integer THandleStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  auto* P = static_cast<Byte*>(Buffer);
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N = ::read(FHandle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<Integer>(N);
  }
  return Done;
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  const auto* P = static_cast<const Byte*>(Buffer);
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N = ::write(FHandle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) {
      // A write that moves nothing without an error has met a full device.
      FWriteErrno = N < 0 ? errno : ENOSPC;
      break;
    }
    Done += static_cast<Integer>(N);
  }
  return Done;
}

AnsiString THandleStream::WriteFailure() const {
  // A handle opened for reading only refuses writes as Windows words it.
  return FWriteErrno ? OpenFailureReason(FWriteErrno == EBADF ? EACCES : FWriteErrno, "/") : AnsiString();
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return static_cast<Int64>(::lseek(FHandle, static_cast<off_t>(Offset), Whence));
}

void THandleStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || Seek(NewSize, soBeginning) < 0 ||
      ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EOSError("System Error.  Code: " + std::to_string(errno) + ".\r\n" +
                   OpenFailureReason(errno, AnsiString()));
}

// --- TFileStream ----------------------------------------------------------------

TFileStream::TFileStream(const AnsiString& AFileName, Word Mode)
    : THandleStream(-1), FFileName(AFileName) {
  const bool Create = Mode == fmCreate;
  const int Access = Mode & 0x0F;
  const int Share = (Mode & 0xF0) >> 4;
  auto Fail = [&](int Err) {
    const AnsiString Reason = Err == ErrSharingViolation
        ? AnsiString("The process cannot access the file because it is being used by another process")
        : OpenFailureReason(Err, AFileName);
    if (Create) throw EFCreateError("Cannot create file \"" + AFileName + "\". " + Reason);
    throw EFOpenError("Cannot open file \"" + AFileName + "\". " + Reason);
  };
  if (!Create && (Access > 2 || Share > 4 || (Mode & 0xFF00) != 0)) Fail(EINVAL);

  TShareEntry Entry{};
  if (Create) {
    Entry.CanRead = Entry.CanWrite = true;
  } else {
    Entry.CanRead = Access != fmOpenWrite;
    Entry.CanWrite = Access != fmOpenRead;
    // Compat and Exclusive both share nothing on Win32.
    Entry.ShareRead = Share == 2 || Share == 4;
    Entry.ShareWrite = Share == 3 || Share == 4;
  }
  int Flags = O_CLOEXEC;
  if (Create)
    Flags |= O_RDWR | O_CREAT;  // truncated only once the share check passed
  else
    Flags |= Access == 0 ? O_RDONLY : Access == 1 ? O_WRONLY : O_RDWR;

  auto& Table = ShareTable();
  std::lock_guard<std::mutex> Guard(Table.Lock);
  const int Fd = ::open(AFileName.c_str(), Flags, 0666);
  if (Fd < 0) Fail(errno);
  struct stat St{};
  if (::fstat(Fd, &St) != 0 || S_ISDIR(St.st_mode)) {
    const int Err = S_ISDIR(St.st_mode) ? EISDIR : errno;
    ::close(Fd);
    Fail(Err);
  }
  Entry.Dev = St.st_dev;
  Entry.Ino = St.st_ino;
  for (const auto& [Slot, Other] : Table.Open) {
    if (Other.Dev == Entry.Dev && Other.Ino == Entry.Ino && Conflicts(Entry, Other)) {
      ::close(Fd);
      Fail(ErrSharingViolation);
    }
  }
  if (Create && ::ftruncate(Fd, 0) != 0) {
    const int Err = errno;
    ::close(Fd);
    Fail(Err);
  }
  FHandle = Fd;
  FShareSlot = Table.Next++;
  Table.Open.emplace(FShareSlot, Entry);
}

AnsiString TFileStream::WriteFailure() const {
  const AnsiString Reason = THandleStream::WriteFailure();
  return Reason.empty() ? Reason : "\"" + FFileName + "\". " + Reason;
}

TFileStream::~TFileStream() {
  if (FHandle < 0) return;
  auto& Table = ShareTable();
  std::lock_guard<std::mutex> Guard(Table.Lock);
  ::close(FHandle);
  Table.Open.erase(FShareSlot);
}

// --- TStringStream --------------------------------------------------------------

Integer TStringStream::Read(void* Buffer, Integer Count) {
  const Int64 Len = GetSize();
  if (Count <= 0 || FPosition >= Len) return 0;
  const Integer N = static_cast<Integer>(std::min<Int64>(Len - FPosition, Count));
  std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return N;
}

// As in the class library, a write ends the string after the bytes written:
// writing into the middle drops what followed.
Integer TStringStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  const Int64 End = FPosition + Count;
  if (End > MaxMemoryStreamSize) RaiseWriteError();
  FDataString.resize(static_cast<size_t>(End));
  std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = GetSize() + Offset; break;
  }
  FPosition = std::clamp<Int64>(FPosition, 0, GetSize());
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  if (NewSize < 0 || NewSize > MaxMemoryStreamSize) RaiseMemoryStreamError();
  FDataString.resize(static_cast<size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

AnsiString TStringStream::ReadString(Integer Count) {
  const Int64 Len = GetSize();
  if (Count <= 0 || FPosition >= Len) return AnsiString();
  const Int64 N = std::min<Int64>(Len - FPosition, Count);
  AnsiString Result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
  FPosition += N;
  return Result;
}

void TStringStream::WriteString(const AnsiString& AString) { WriteBytes(AString); }

// ---------------------------------------------------------------------------
// TWriteBufferStream

TWriteBufferStream::TWriteBufferStream(TStream* Target, size_t BlockSize)
    : FTarget(Target), FBlockSize(std::max<size_t>(BlockSize, 1)) {
  FPending.reserve(FBlockSize);
}

TWriteBufferStream::~TWriteBufferStream() {
  try {
    Flush();
  } catch (...) {
  }
}

void TWriteBufferStream::Flush() {
  if (FPending.empty()) return;
  // Taken out first: a failed block is reported once, not written again later.
  std::vector<Byte> Block;
  Block.swap(FPending);
  FPending.reserve(FBlockSize);
  FTarget->WriteBuffer(Block.data(), static_cast<Integer>(Block.size()));
}

Integer TWriteBufferStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  const auto* P = static_cast<const Byte*>(Buffer);
  if (FPending.size() + static_cast<size_t>(Count) > FBlockSize) {
    Flush();
    // A block's worth or more goes straight through.
    if (static_cast<size_t>(Count) >= FBlockSize) return FTarget->Write(P, Count);
  }
  FPending.insert(FPending.end(), P, P + Count);
  return Count;
}

Integer TWriteBufferStream::Read(void* Buffer, Integer Count) {
  Flush();
  return FTarget->Read(Buffer, Count);
}

Int64 TWriteBufferStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  // Asking where the writer is (an offset for a table of contents) must not
  // cost a block.
  if (Offset == 0 && Origin == soCurrent) {
    const Int64 At = FTarget->Seek(Int64(0), soCurrent);
    return At < 0 ? At : At + static_cast<Int64>(FPending.size());
  }
  Flush();
  return FTarget->Seek(Offset, Origin);
}

Int64 TWriteBufferStream::GetSize() {
  Flush();
  return FTarget->GetSize();
}

void TWriteBufferStream::SetSize(Int64 NewSize) {
  Flush();
  FTarget->SetSize(NewSize);
}
