#include "export/engine/Containers.h"
#include "platform/rtl/ByteOrder.h"

Byte TgtExtMemStream::ReadByte() {
  Byte B;
  ReadBuffer(&B, 1);
  return B;
}

Word TgtExtMemStream::ReadWordBE() {
  Byte B[2];
  ReadBuffer(B, 2);
  return ByteOrder::ReadBE16(B);
}

DWORD TgtExtMemStream::ReadLongBE() {
  Byte B[4];
  ReadBuffer(B, 4);
  return ByteOrder::ReadBE32(B);
}

void TgtExtMemStream::ReadString(Integer Count, AnsiString& Text) { Text = ReadBytes(Count); }

Int64 TgtExtMemStream::Skip(Int64 Count) {
  Int64 Target = GetPosition() + Count;
  Int64 Clamped = Target > GetSize() ? GetSize() : (Target < 0 ? 0 : Target);
  SetPosition(Clamped);
  return Clamped - GetPosition();
}

void TgtExtMemStream::WriteByte(Byte Value) { WriteBuffer(&Value, 1); }

void TgtExtMemStream::WriteBytes(std::initializer_list<Byte> Values) {
  for (Byte B : Values) WriteByte(B);
}

void TgtExtMemStream::WriteBytes(const std::vector<Byte>& Values) {
  if (!Values.empty()) WriteBuffer(Values.data(), Integer(Values.size()));
}

void TgtExtMemStream::WriteString(const AnsiString& Text) {
  if (!Text.empty()) WriteBuffer(Text.data(), Integer(Text.size()));
}

void TgtExtMemStream::WriteLongBE(DWORD V) {
  Byte B[4] = {Byte(V >> 24), Byte(V >> 16), Byte(V >> 8), Byte(V)};
  WriteBuffer(B, 4);
}

void TgtExtMemStream::WriteLongsBE(std::initializer_list<DWORD> Values) {
  for (DWORD V : Values) WriteLongBE(V);
}

void TgtExtMemStream::WriteWordBE(Word V) {
  Byte B[2] = {Byte(V >> 8), Byte(V)};
  WriteBuffer(B, 2);
}

void TgtExtMemStream::WriteWordsBE(std::initializer_list<Word> Values) {
  for (Word V : Values) WriteWordBE(V);
}

void TgtExtMemStream::PadTo4() {
  Seek(0, soEnd);
  LastPad = 0;
  if (GetSize() % 4 != 0) {
    LastPad = 4 - GetSize() % 4;
    for (Int64 I = 0; I < LastPad; ++I) WriteByte(0);
  }
}

Integer TWideStrings::Add(const WideString& Text) {
  FItems.push_back(Text);
  return Integer(FItems.size()) - 1;
}

WideString TWideStrings::Get(Integer Index) const {
  if (Index < 0 || Index >= Count()) return WideString();
  return FItems[std::size_t(Index)];
}

void TWideStrings::Put(Integer Index, const WideString& Text) {
  if (Index >= 0 && Index < Count()) FItems[std::size_t(Index)] = Text;
  else if (Index == Count()) FItems.push_back(Text);
}

void TWideStrings::Insert(Integer Index, const WideString& Text) {
  if (Index >= 0 && Index <= Count()) FItems.insert(FItems.begin() + Index, Text);
}

void TWideStrings::Delete(Integer Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}
