#include "platform/gdi/FontSfnt.h"

#include <cstring>

#include "platform/rtl/ByteOrder.h"

using namespace ByteOrder;

namespace {
bool InBounds(std::size_t Off, std::size_t Len, std::size_t Size) { return Off <= Size && Len <= Size - Off; }
}  // namespace

std::uint32_t SfntChecksum(const std::uint8_t* P, std::size_t Len) {
  std::uint32_t Sum = 0;
  std::size_t I = 0;
  for (; I + 4 <= Len; I += 4) Sum += ReadBE32(P + I);
  if (I < Len) {
    std::uint8_t W[4] = {0, 0, 0, 0};
    std::memcpy(W, P + I, Len - I);
    Sum += ReadBE32(W);
  }
  return Sum;
}

TSfntDirectory::TSfntDirectory(const std::uint8_t* Data, std::size_t Size, int Index) : FData(Data), FSize(Size) {
  if (!Data || Size < 12) return;
  std::size_t At = 0;
  if (std::memcmp(Data, "ttcf", 4) == 0) {
    FCollection = true;
    const std::uint32_t NumFonts = ReadBE32(Data + 8);
    if (Index < 0 || std::uint32_t(Index) >= NumFonts || !InBounds(12 + 4 * std::size_t(Index), 4, Size)) return;
    At = ReadBE32(Data + 12 + 4 * std::size_t(Index));
  } else if (Index != 0) {
    return;
  }
  if (!InBounds(At, 12, Size)) return;
  FDirAt = At;
  FVersion = ReadBE32(Data + At);
  const std::uint16_t NumTables = ReadBE16(Data + At + 4);
  if (!InBounds(At + 12, std::size_t(NumTables) * 16, Size)) return;
  FTables.reserve(NumTables);
  for (std::uint16_t T = 0; T < NumTables; ++T) {
    const std::uint8_t* Rec = Data + At + 12 + 16 * std::size_t(T);
    TSfntTable R{ReadBE32(Rec), ReadBE32(Rec + 4), ReadBE32(Rec + 8), ReadBE32(Rec + 12)};
    if (InBounds(R.Offset, R.Length, Size)) FTables.push_back(R);
    else FDropped = true;
  }
  FValid = true;
}

bool TSfntDirectory::HasCFF() const {
  return FVersion == SfntTag("OTTO") || Find(SfntTag("CFF ")) || Find(SfntTag("CFF2"));
}

const TSfntTable* TSfntDirectory::Find(std::uint32_t Tag) const {
  for (const TSfntTable& T : FTables)
    if (T.Tag == Tag) return &T;
  return nullptr;
}

std::string_view TSfntDirectory::Table(std::uint32_t Tag) const {
  const TSfntTable* T = Find(Tag);
  if (!T) return {};
  return {reinterpret_cast<const char*>(FData + T->Offset), T->Length};
}

std::vector<std::uint8_t> TSfntDirectory::StandaloneFace() const {
  if (!FValid) return {};
  if (!FCollection) return {FData, FData + FSize};
  std::vector<std::uint8_t> Out(12 + FTables.size() * 16, 0);
  std::memcpy(Out.data(), FData + FDirAt, 12);
  WriteBE16(Out.data() + 4, std::uint16_t(FTables.size()));
  std::size_t HeadAt = 0;
  for (std::size_t T = 0; T < FTables.size(); ++T) {
    const TSfntTable& R = FTables[T];
    std::uint8_t* Rec = Out.data() + 12 + 16 * T;
    WriteBE32(Rec, R.Tag);
    WriteBE32(Rec + 4, R.Checksum);
    WriteBE32(Rec + 8, std::uint32_t(Out.size()));
    WriteBE32(Rec + 12, R.Length);
    if (R.Tag == SfntTag("head")) HeadAt = Out.size();
    Out.insert(Out.end(), FData + R.Offset, FData + R.Offset + R.Length);
    while (Out.size() % 4) Out.push_back(0);
  }
  if (HeadAt && HeadAt + 12 <= Out.size()) {
    WriteBE32(Out.data() + HeadAt + 8, 0);
    WriteBE32(Out.data() + HeadAt + 8, 0xB1B0AFBAu - SfntChecksum(Out.data(), Out.size()));
  }
  return Out;
}
