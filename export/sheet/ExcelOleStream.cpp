#include "export/sheet/ExcelOleStream.h"
#include <cstring>
#include <vector>
#include "platform/rtl/Exceptions.h"

namespace {
constexpr Integer SectorSize = 512;
constexpr Integer EntriesPerSector = SectorSize / 4;
constexpr Integer HeaderFATSlots = 109;
constexpr Integer SummarySectors = 8;   // each summary stream: 4096 bytes
constexpr Integer FreeSect = -1, EndOfChain = -2, FATSect = -3, DIFSect = -4;

Integer CeilDiv(Int64 A, Int64 B) { return Integer((A + B - 1) / B); }
}  // namespace

TgtExcelOLEStream::TgtExcelOLEStream() : FOutput(std::make_unique<TMemoryStream>()) {}
TgtExcelOLEStream::~TgtExcelOLEStream() = default;

void TgtExcelOLEStream::WriteCompoundFile() {
  if (!FWorkbook) throw EInvalidOperation("No workbook stream to wrap");
  FOutput->Clear();
  PlanSectors();
  WriteHeader();
  WriteBook();
  WriteTables();
}

void TgtExcelOLEStream::PlanSectors() {
  FFATCount = 1;
  FDIFATCount = 0;
  FDIFATStart = -2;
  const Int64 Size = FWorkbook->GetSize();
  // A whole extra sector even for an exact multiple; never below the mini
  // stream cutoff, so no stream lives in a mini stream.
  FBookSize = (Size / SectorSize + 1) * SectorSize;
  if (FBookSize < 4096) FBookSize = 4096;
  const Integer B = Integer(FBookSize / SectorSize);
  FN = CeilDiv(FBookSize + 2 * SummarySectors * SectorSize, SectorSize) + FFATCount;
  if (FN > EntriesPerSector) {
    const Integer K = CeilDiv(FN, EntriesPerSector);
    FFATCount += K;
    FN += K;
  }
  if (FFATCount > HeaderFATSlots) {
    // Beyond the header's 109 slots the FAT sectors are listed in chained
    // DIFAT sectors. Grow FAT and DIFAT together until the FAT covers every
    // sector, the DIFAT and FAT sectors included.
    const Integer Data = B + 2 * SummarySectors;
    for (;;) {
      FDIFATCount = CeilDiv(FFATCount - HeaderFATSlots, DIFATEntriesPerSector);
      const Integer Total = Data + FDIFATCount + FFATCount + 1;
      if (Int64(FFATCount) * EntriesPerSector >= Total) break;
      ++FFATCount;
    }
    FDIFATStart = Data;
    FN = Data + FDIFATCount + FFATCount;
  }
}

void TgtExcelOLEStream::WriteHeader() {
  TStream& S = *FOutput;
  S.SetPosition(0);
  static const Byte Magic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  S.WriteBuffer(Magic, 8);
  for (int I = 0; I < 16; ++I) S.WriteU8(0);
  S.WriteU16(0x003B);
  S.WriteU16(0x0003);
  S.WriteU16(0xFFFE);
  S.WriteU16(9);
  S.WriteU16(6);
  S.WriteU16(0);
  S.WriteU32(0);
  S.WriteU32(0);
  S.WriteI32(FFATCount);
  S.WriteI32(FN);
  S.WriteU32(0);
  S.WriteU32(4096);
  S.WriteI32(EndOfChain);   // no mini FAT…
  S.WriteU32(0);            // …so it has no sectors
  S.WriteI32(FDIFATStart);
  S.WriteI32(FDIFATCount);
  const Integer FirstFAT = FN - FFATCount;
  for (Integer I = 0; I < HeaderFATSlots; ++I) S.WriteI32(I < FFATCount ? FirstFAT + I : FreeSect);
}

void TgtExcelOLEStream::WriteBook() {
  // The book and summary sectors start out zero; the tables behind them are
  // written sector by sector below.
  const Int64 Total = Int64(FN + 1) * SectorSize + SectorSize;
  FOutput->SetSize(Total);
  std::memset(static_cast<Byte*>(FOutput->Memory()) + SectorSize, 0, std::size_t(Total - SectorSize));
  FWorkbook->SetPosition(0);
  FOutput->SetPosition(SectorSize);
  FOutput->CopyFrom(FWorkbook, FWorkbook->GetSize());
}

void TgtExcelOLEStream::WriteSectorNumber(Integer Sector, Integer Slot, Integer Value) {
  FOutput->SetPosition(Int64(Sector + 1) * SectorSize + Int64(Slot) * 4);
  FOutput->WriteI32(Value);
}

void TgtExcelOLEStream::WriteTables() {
  const Integer B = Integer(FBookSize / SectorSize);
  const Integer FirstFAT = FN - FFATCount;
  auto Fill = [&](Integer FirstSector, Integer Count) {
    Byte* P = static_cast<Byte*>(FOutput->Memory());
    std::memset(P + Int64(FirstSector + 1) * SectorSize, 0xFF, std::size_t(Count) * SectorSize);
  };
  // Extra DIFAT: 127 FAT sector numbers per sector, the last slot naming the
  // next DIFAT sector (end of chain in the last one).
  if (FDIFATCount > 0) {
    Fill(FDIFATStart, FDIFATCount);
    for (Integer C = HeaderFATSlots; C < FFATCount; ++C) {
      const Integer K = (C - HeaderFATSlots) / DIFATEntriesPerSector;
      WriteSectorNumber(FDIFATStart + K, (C - HeaderFATSlots) % DIFATEntriesPerSector, FirstFAT + C);
    }
    for (Integer K = 0; K < FDIFATCount; ++K)
      WriteSectorNumber(FDIFATStart + K, DIFATEntriesPerSector,
                        K + 1 < FDIFATCount ? FDIFATStart + K + 1 : EndOfChain);
  }
  // Directory.
  struct TEntry {
    std::u16string Name;
    Byte Type;
    Integer Left, Right, Child;
    bool RootClass;
    Integer Start;
    DWORD Size;
  };
  const TEntry Entries[4] = {
      {u"Root Entry", 5, -1, -1, 2, true, EndOfChain, 0},
      {u"Book", 2, -1, -1, -1, false, 0, DWORD(FBookSize)},
      {std::u16string(1, u'\5') + u"SummaryInformation", 2, 1, 3, -1, false, B, 4096},
      {std::u16string(1, u'\5') + u"DocumentSummaryInformation", 2, -1, -1, -1, false, B + SummarySectors,
       4096},
  };
  static const Byte RootClass[16] = {0x10, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  FOutput->SetPosition(Int64(FN + 1) * SectorSize);
  for (const TEntry& E : Entries) {
    TStream& S = *FOutput;
    for (std::size_t I = 0; I < 32; ++I) S.WriteU16(I < E.Name.size() ? Word(E.Name[I]) : 0);
    S.WriteU16(Word((E.Name.size() + 1) * 2));
    S.WriteU8(E.Type);
    S.WriteU8(1);
    S.WriteI32(E.Left);
    S.WriteI32(E.Right);
    S.WriteI32(E.Child);
    for (int I = 0; I < 16; ++I) S.WriteU8(E.RootClass ? RootClass[I] : 0);
    S.WriteU32(0);
    S.WriteU64(0);
    S.WriteU64(0);
    S.WriteI32(E.Start);
    S.WriteU32(E.Size);
    S.WriteU32(0);
  }
  // FAT.
  Fill(FirstFAT, FFATCount);
  Integer Slot = 0;
  auto Put = [&](Integer Value) {
    WriteSectorNumber(FirstFAT + Slot / EntriesPerSector, Slot % EntriesPerSector, Value);
    ++Slot;
  };
  for (Integer I = 0; I < B + 2 * SummarySectors; ++I)
    Put(I == B - 1 || I == B + SummarySectors - 1 || I == B + 2 * SummarySectors - 1 ? EndOfChain : I + 1);
  for (Integer I = 0; I < FDIFATCount; ++I) Put(DIFSect);
  for (Integer I = 0; I < FFATCount; ++I) Put(FATSect);
  Put(EndOfChain);
  FOutput->SetPosition(0);
}
