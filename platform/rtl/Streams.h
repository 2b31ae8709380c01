// Streams.h — the class library's byte streams: the abstract TStream with its
// buffer and copy helpers, memory streams, file streams with Windows open and
// share modes, and the string stream.
//
// Positions and sizes are 64-bit; a single Read/Write moves at most an
// Integer's worth of bytes, as in the class library. Read and Write return the
// number of bytes moved (0 for a negative count); ReadBuffer/WriteBuffer raise
// EReadError/EWriteError when fewer bytes move. Counts that cannot be right
// (negative, or more than the stream holds where a result must be allocated)
// raise before anything is allocated.
//
// The little-endian helpers (ReadU16, WriteI32, …) serve every binary file
// writer and the object model's binary form; they go through ReadBuffer and
// WriteBuffer, so a short stream raises EReadError.
#pragma once
#include <vector>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

// Origins of the 64-bit Seek.
enum class TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
inline constexpr TSeekOrigin soBeginning = TSeekOrigin::soBeginning;
inline constexpr TSeekOrigin soCurrent = TSeekOrigin::soCurrent;
inline constexpr TSeekOrigin soEnd = TSeekOrigin::soEnd;

// Origins of the 32-bit Seek (Word-typed, so the two overloads never clash).
inline constexpr Word soFromBeginning = 0;
inline constexpr Word soFromCurrent = 1;
inline constexpr Word soFromEnd = 2;

// File open modes: the access in the low nibble, the share mode in the next.
// fmCreate always opens exclusively, as the class library's FileCreate does.
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;
inline constexpr Word fmCreate = 0xFFFF;

class TStream : public TObject {
public:
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  // Returns the new position, or -1 when the stream cannot seek there.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;
  Integer Seek(Integer Offset, Word Origin);

  Int64 GetPosition();
  void SetPosition(Int64 Pos);
  virtual Int64 GetSize();
  // Ignored by streams of fixed size; the growable ones override it.
  virtual void SetSize(Int64 NewSize);

  // Raise EReadError "Stream read error" / EWriteError "Stream write error"
  // when the whole count cannot be moved (also for a negative count). A
  // stream over a file adds the file's name and the system's reason.
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // What the last failed write of this stream knows of its cause (the
  // file and the system's reason), or "".
  virtual AnsiString WriteFailure() const { return AnsiString(); }
  // Copies Count bytes from Source's position; Count 0 copies the whole of
  // Source from its start. Returns the number of bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  // Little-endian typed values.
  Byte ReadU8();
  Word ReadU16();
  DWORD ReadU32();
  UInt64 ReadU64();
  SmallInt ReadI16();
  Integer ReadI32();
  Int64 ReadI64();
  float ReadSingle();
  double ReadDouble();
  void WriteU8(Byte V);
  void WriteU16(Word V);
  void WriteU32(DWORD V);
  void WriteU64(UInt64 V);
  void WriteI16(SmallInt V);
  void WriteI32(Integer V);
  void WriteI64(Int64 V);
  void WriteSingle(float V);
  void WriteDouble(double V);
  // Count raw bytes; raises EReadError when fewer remain (checked before
  // allocating, so a corrupt length cannot exhaust memory).
  AnsiString ReadBytes(Integer Count);
  void WriteBytes(const AnsiString& S);
};

// A stream over one block of memory; Memory() stays valid until the size
// changes.
class TCustomMemoryStream : public TStream {
public:
  Integer Read(void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Seek;
  Int64 GetSize() override { return FSize; }
  void* Memory() const { return FMemory; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);

protected:
  void SetPointer(void* Ptr, Int64 Size);
  Int64 FPosition = 0;  // may lie beyond the end or before the start

private:
  void* FMemory = nullptr;
  Int64 FSize = 0;
};

// A growable memory stream that owns its bytes. Writing past the end grows
// it; a gap left by seeking beyond the end reads as zeros.
class TMemoryStream : public TCustomMemoryStream {
public:
  TMemoryStream() = default;
  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const AnsiString& FileName);
  Int64 GetCapacity() const { return static_cast<Int64>(FBuffer.capacity()); }
  void SetCapacity(Int64 NewCapacity);

private:
  void Resize(Int64 NewSize);
  std::vector<Byte> FBuffer;
};

// A stream over an open file descriptor, which it does not own.
class THandleStream : public TStream {
public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Seek;
  void SetSize(Int64 NewSize) override;
  AnsiString WriteFailure() const override;
  int Handle() const { return FHandle; }

protected:
  int FHandle;
  int FWriteErrno = 0;  // errno of the last write that fell short
};

// A file opened with the class library's modes. Raises EFCreateError
// 'Cannot create file "%s". <reason>' or EFOpenError 'Cannot open file "%s".
// <reason>', the reason worded as Windows words it.
//
// Share modes are enforced between the file streams of this process with the
// Windows rules (an open fails when it asks for access another open denies,
// or denies access another open holds). Other processes are not checked:
// Linux has no mandatory share locks, and the program's files are its own.
class TFileStream : public THandleStream {
public:
  TFileStream(const AnsiString& AFileName, Word Mode);
  ~TFileStream() override;
  const AnsiString& FileName() const { return FFileName; }
  AnsiString WriteFailure() const override;

private:
  AnsiString FFileName;
  Integer FShareSlot = -1;
};

// Gathers small writes in memory and hands them to the target stream in
// blocks, so a writer that makes a write per tag costs no system call per
// tag. Reading, seeking and sizing first pass on what is gathered, so the
// stream behaves as its target. Flush raises EWriteError when the target
// takes fewer bytes; the destructor flushes too, but cannot report a failure:
// call Flush when the result matters.
class TWriteBufferStream : public TStream {
public:
  explicit TWriteBufferStream(TStream* Target, size_t BlockSize = 64 * 1024);
  ~TWriteBufferStream() override;
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Seek;
  Int64 GetSize() override;
  void SetSize(Int64 NewSize) override;
  AnsiString WriteFailure() const override { return FTarget->WriteFailure(); }
  void Flush();

private:
  TStream* FTarget;
  size_t FBlockSize;
  std::vector<Byte> FPending;
};

// A stream over an AnsiString: DataString holds all bytes written so far.
class TStringStream : public TStream {
public:
  explicit TStringStream(AnsiString AString = AnsiString()) : FDataString(std::move(AString)) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  using TStream::Seek;
  Int64 GetSize() override { return static_cast<Int64>(FDataString.size()); }
  void SetSize(Int64 NewSize) override;
  // Reads up to Count bytes from the position (fewer at the end).
  AnsiString ReadString(Integer Count);
  void WriteString(const AnsiString& AString);
  const AnsiString& DataString() const { return FDataString; }

private:
  AnsiString FDataString;
  Int64 FPosition = 0;
};
