#include "platform/gdi/EmfStream.h"
#include "platform/rtl/ByteOrder.h"

#include <bit>
#include <string>

void TEmfReader::Need(std::size_t Count) const {
  if (Count > FSize - FPos)
    throw EEmfError("Metafile record too short: need " + std::to_string(Count) + " bytes at " +
                    std::to_string(FPos) + " of " + std::to_string(FSize));
}

void TEmfReader::Seek(std::size_t Pos) {
  if (Pos > FSize)
    throw EEmfError("Metafile offset " + std::to_string(Pos) + " past the record end " +
                    std::to_string(FSize));
  FPos = Pos;
}

void TEmfReader::Skip(std::size_t Count) {
  Need(Count);
  FPos += Count;
}

Byte TEmfReader::ReadByte() {
  Need(1);
  return FData[FPos++];
}

Word TEmfReader::ReadWord() {
  Need(2);
  Word V = ByteOrder::ReadLE16(&FData[FPos]);
  FPos += 2;
  return V;
}

DWORD TEmfReader::ReadDword() {
  Need(4);
  DWORD V = EmfGetDword(FData + FPos);
  FPos += 4;
  return V;
}

float TEmfReader::ReadFloat() { return std::bit_cast<float>(ReadDword()); }

TPoint TEmfReader::ReadPointL() {
  Integer X = ReadLong();
  return {X, ReadLong()};
}

TEmfPoint16 TEmfReader::ReadPoint16() {
  SmallInt X = ReadShort();
  return {X, ReadShort()};
}

TSize TEmfReader::ReadSizeL() {
  Integer Cx = ReadLong();
  return {Cx, ReadLong()};
}

TRect TEmfReader::ReadRectL() {
  TRect R;
  R.Left = ReadLong();
  R.Top = ReadLong();
  R.Right = ReadLong();
  R.Bottom = ReadLong();
  return R;
}

TEmfXForm TEmfReader::ReadXForm() {
  TEmfXForm X;
  X.eM11 = ReadFloat();
  X.eM12 = ReadFloat();
  X.eM21 = ReadFloat();
  X.eM22 = ReadFloat();
  X.eDx = ReadFloat();
  X.eDy = ReadFloat();
  return X;
}

std::vector<Byte> TEmfReader::ReadBytes(std::size_t Count) {
  Need(Count);
  std::vector<Byte> V(FData + FPos, FData + FPos + Count);
  FPos += Count;
  return V;
}

void TEmfReader::CheckCount(std::size_t Count, std::size_t ElemSize) const {
  if (ElemSize != 0 && Count > Remaining() / ElemSize)
    throw EEmfError("Metafile count " + std::to_string(Count) + " overruns the record (" +
                    std::to_string(Remaining()) + " bytes left)");
}

std::span<const Byte> TEmfReader::Slice(std::size_t Offset, std::size_t Count) const {
  if (Offset > FSize || Count > FSize - Offset)
    throw EEmfError("Metafile data at " + std::to_string(Offset) + "+" + std::to_string(Count) +
                    " lies outside the record of " + std::to_string(FSize) + " bytes");
  return {FData + Offset, Count};
}

std::size_t TEmfWriter::BeginRecord(DWORD Type) {
  Pad4();
  std::size_t Start = FBuf.size();
  WriteDword(Type);
  WriteDword(0);
  return Start;
}

void TEmfWriter::EndRecord(std::size_t Start) {
  Pad4();
  PatchDword(Start + 4, DWORD(FBuf.size() - Start));
}

void TEmfWriter::WriteWord(Word V) {
  FBuf.push_back(Byte(V));
  FBuf.push_back(Byte(V >> 8));
}

void TEmfWriter::WriteDword(DWORD V) {
  Byte B[4];
  EmfPutDword(B, V);
  FBuf.insert(FBuf.end(), B, B + 4);
}

void TEmfWriter::WriteFloat(float V) { WriteDword(std::bit_cast<DWORD>(V)); }

void TEmfWriter::WriteRectL(const TRect& R) {
  WriteLong(R.Left);
  WriteLong(R.Top);
  WriteLong(R.Right);
  WriteLong(R.Bottom);
}

void TEmfWriter::WriteXForm(const TEmfXForm& X) {
  WriteFloat(X.eM11);
  WriteFloat(X.eM12);
  WriteFloat(X.eM21);
  WriteFloat(X.eM22);
  WriteFloat(X.eDx);
  WriteFloat(X.eDy);
}

void TEmfWriter::WriteBytes(std::span<const Byte> Bytes) {
  FBuf.insert(FBuf.end(), Bytes.begin(), Bytes.end());
}

void TEmfWriter::Pad4() {
  while (FBuf.size() % 4) FBuf.push_back(0);
}

void TEmfWriter::PatchDword(std::size_t Offset, DWORD V) { EmfPutDword(FBuf.data() + Offset, V); }
