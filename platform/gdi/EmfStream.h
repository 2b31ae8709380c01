// EmfStream.h — bounded little-endian reading and writing of metafile bytes.
// TEmfReader never reads past the span it was given: every read checks the
// end first and throws EEmfError, so a record with a lying count fails at
// the first field that would overrun. TEmfWriter appends fields and patches
// record sizes, padding every record to a multiple of 4 bytes.
#pragma once
#include <cstddef>
#include <span>
#include <vector>
#include "platform/gdi/EmfTypes.h"
#include "platform/rtl/ByteOrder.h"

class TEmfReader {
public:
  TEmfReader(const Byte* Data, std::size_t Size) : FData(Data), FSize(Size) {}
  explicit TEmfReader(std::span<const Byte> Bytes) : FData(Bytes.data()), FSize(Bytes.size()) {}

  std::size_t Position() const { return FPos; }
  std::size_t Size() const { return FSize; }
  std::size_t Remaining() const { return FSize - FPos; }
  void Seek(std::size_t Pos);
  void Skip(std::size_t Count);

  Byte ReadByte();
  Word ReadWord();
  SmallInt ReadShort() { return SmallInt(ReadWord()); }
  DWORD ReadDword();
  Integer ReadLong() { return Integer(ReadDword()); }
  float ReadFloat();
  TPoint ReadPointL();
  TEmfPoint16 ReadPoint16();
  TSize ReadSizeL();
  TRect ReadRectL();
  TEmfXForm ReadXForm();
  std::vector<Byte> ReadBytes(std::size_t Count);
  // Count elements of ElemSize bytes must fit in what is left; guards the
  // allocation a corrupt count would otherwise ask for.
  void CheckCount(std::size_t Count, std::size_t ElemSize) const;
  // Bytes at an absolute offset (as the DIB and string offsets of records
  // give them), checked against the whole span.
  std::span<const Byte> Slice(std::size_t Offset, std::size_t Count) const;

private:
  void Need(std::size_t Count) const;
  const Byte* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

class TEmfWriter {
public:
  // Starts a record of the given type; answers its offset for EndRecord.
  std::size_t BeginRecord(DWORD Type);
  // Pads to a multiple of 4 and writes the record's size.
  void EndRecord(std::size_t Start);

  void WriteByte(Byte V) { FBuf.push_back(V); }
  void WriteWord(Word V);
  void WriteShort(SmallInt V) { WriteWord(Word(V)); }
  void WriteDword(DWORD V);
  void WriteLong(Integer V) { WriteDword(DWORD(V)); }
  void WriteFloat(float V);
  void WritePointL(TPoint P) { WriteLong(P.X); WriteLong(P.Y); }
  void WritePoint16(TEmfPoint16 P) { WriteShort(P.x); WriteShort(P.y); }
  void WriteSizeL(TSize S) { WriteLong(S.cx); WriteLong(S.cy); }
  void WriteRectL(const TRect& R);
  void WriteXForm(const TEmfXForm& X);
  void WriteBytes(std::span<const Byte> Bytes);
  void WriteZeros(std::size_t Count) { FBuf.insert(FBuf.end(), Count, 0); }
  void Pad4();
  // Overwrites a DWORD already written (offsets known only later).
  void PatchDword(std::size_t Offset, DWORD V);

  std::size_t Position() const { return FBuf.size(); }
  const std::vector<Byte>& Bytes() const { return FBuf; }
  std::vector<Byte> TakeBytes() { return std::move(FBuf); }

private:
  std::vector<Byte> FBuf;
};

// Little-endian access to a DWORD at an offset the caller has checked.
inline DWORD EmfGetDword(const Byte* P) { return ByteOrder::ReadLE32(P); }
inline void EmfPutDword(Byte* P, DWORD V) {
  ByteOrder::WriteLE32(P, V);
}
