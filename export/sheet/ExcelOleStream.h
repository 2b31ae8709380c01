// ExcelOleStream.h — wraps a finished BIFF5 workbook stream into a
// compound file of 512-byte sectors: "Book", then empty "\5SummaryInformation"
// and "\5DocumentSummaryInformation" streams under a root entry.
//
// The layout is planned from the workbook size alone; nothing is read back.
// The workbook stream is borrowed; the output belongs to this object.
#pragma once
#include <memory>
#include "platform/rtl/Streams.h"

class TgtExcelOLEStream : public TObject {
public:
  TgtExcelOLEStream();
  ~TgtExcelOLEStream() override;
  // Borrowed; must stay alive through WriteCompoundFile.
  void SetWorkbook(TStream* Workbook) { FWorkbook = Workbook; }
  void WriteCompoundFile();
  // The finished file; copy from position 0.
  TMemoryStream* GetOutput() const { return FOutput.get(); }

  // The plan, readable for checks.
  Int64 GetBookSize() const { return FBookSize; }
  Integer GetDirSector() const { return FN; }
  Integer GetFATCount() const { return FFATCount; }
  Integer GetDIFATCount() const { return FDIFATCount; }
  Integer GetDIFATStart() const { return FDIFATStart; }

  // Sectors addressed by one extra DIFAT sector: the last slot chains on.
  static constexpr Integer DIFATEntriesPerSector = 127;

private:
  void PlanSectors();
  void WriteHeader();
  void WriteBook();
  void WriteTables();
  void WriteSectorNumber(Integer Sector, Integer Slot, Integer Value);

  TStream* FWorkbook = nullptr;
  std::unique_ptr<TMemoryStream> FOutput;
  Int64 FBookSize = 0;
  Integer FN = 0, FFATCount = 0, FDIFATCount = 0, FDIFATStart = -2;
};
