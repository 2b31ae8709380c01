// Containers.h — the export library's small containers: a memory stream with
// big-endian readers and writers (the PDF, PNG and TrueType code speak
// big-endian), and a list of wide strings.
#pragma once
#include <initializer_list>
#include <vector>
#include "platform/rtl/Streams.h"

class TgtExtMemStream : public TMemoryStream {
public:
  TgtExtMemStream() = default;
  Byte ReadByte();
  Word ReadWordBE();
  Word ReadUWordBE() { return ReadWordBE(); }
  DWORD ReadLongBE();
  void ReadString(Integer Count, AnsiString& Text);
  // Moves by Count, clamped to [0, size]; answers target - new position.
  Int64 Skip(Int64 Count);
  void WriteByte(Byte Value);
  void WriteBytes(std::initializer_list<Byte> Values);
  void WriteBytes(const std::vector<Byte>& Values);
  void WriteString(const AnsiString& Text);
  void WriteLongBE(DWORD Value);
  void WriteLongsBE(std::initializer_list<DWORD> Values);
  void WriteWordBE(Word Value);
  void WriteWordsBE(std::initializer_list<Word> Values);
  // Zero bytes to the next multiple of 4 at the end; LastPad counts them.
  void PadTo4();
  Int64 LastPad = 0;
};

class TWideStrings {
public:
  Integer Add(const WideString& Text);
  // "" for an index outside the list.
  WideString Get(Integer Index) const;
  void Put(Integer Index, const WideString& Text);
  void Insert(Integer Index, const WideString& Text);
  void Delete(Integer Index);
  Integer Count() const { return Integer(FItems.size()); }
  void Clear() { FItems.clear(); }
  void Assign(const TWideStrings& Other) { FItems = Other.FItems; }
  const std::vector<WideString>& Items() const { return FItems; }

private:
  std::vector<WideString> FItems;
};
