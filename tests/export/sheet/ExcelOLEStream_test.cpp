#include <gtest/gtest.h>
#include <fstream>
#include "SheetSupport.h"
#include "export/sheet/ExcelOleStream.h"

namespace {
std::unique_ptr<TMemoryStream> Workbook(Integer Size) {
  auto S = std::make_unique<TMemoryStream>();
  for (Integer I = 0; I < Size; ++I) S->WriteU8(Byte(I * 7 + 1));
  return S;
}
Integer SectorValue(TMemoryStream* Out, Integer Sector, Integer Slot) {
  Out->SetPosition(Int64(Sector + 1) * 512 + Int64(Slot) * 4);
  return Out->ReadI32();
}
}  // namespace

TEST(TgtExcelOLEStream, PlansTheWorkedLayouts) {
  struct {
    Integer Size;
    Int64 BookSize;
    Integer N, FATCount;
  } Cases[] = {
      {3000, 4096, 25, 1},
      {4096, 4608, 26, 1},   // an exact multiple still gets a whole extra sector
      {0, 4096, 25, 1},
      {60000, 60416, 137, 3},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Size);
    auto W = Workbook(C.Size);
    TgtExcelOLEStream Ole;
    Ole.SetWorkbook(W.get());
    Ole.WriteCompoundFile();
    EXPECT_EQ(Ole.GetBookSize(), C.BookSize);
    EXPECT_EQ(Ole.GetDirSector(), C.N);
    EXPECT_EQ(Ole.GetFATCount(), C.FATCount);
    EXPECT_EQ(Ole.GetDIFATCount(), 0);
    EXPECT_EQ(Ole.GetOutput()->GetSize(), Int64(C.N + 2) * 512);
  }
}

TEST(TgtExcelOLEStream, FATChainsTheThreeStreamsAndMarksItsTables) {
  auto W = Workbook(3000);
  TgtExcelOLEStream Ole;
  Ole.SetWorkbook(W.get());
  Ole.WriteCompoundFile();
  TMemoryStream* Out = Ole.GetOutput();
  ASSERT_EQ(Out->GetSize(), 13824);
  // The one FAT sector is sector 24.
  std::vector<Integer> Want;
  for (Integer I = 0; I < 24; ++I) Want.push_back(I == 7 || I == 15 || I == 23 ? -2 : I + 1);
  Want.push_back(-3);
  Want.push_back(-2);
  for (Integer I = 0; I < 128; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(SectorValue(Out, 24, I), I < Integer(Want.size()) ? Want[std::size_t(I)] : -1);
  }
  // The header: the one FAT sector, the directory, and no mini FAT (its
  // first sector the end of a chain and its sector count 0: xlrd calls a
  // count without sectors an inconsistency).
  Out->SetPosition(44);
  EXPECT_EQ(Out->ReadI32(), 1);    // FAT sectors
  EXPECT_EQ(Out->ReadI32(), 25);   // first directory sector
  Out->SetPosition(60);
  EXPECT_EQ(Out->ReadI32(), -2);
  EXPECT_EQ(Out->ReadI32(), 0);
  // The workbook starts right behind the header.
  Out->SetPosition(512);
  EXPECT_EQ(Out->ReadU8(), 1);
}

TEST(TgtExcelOLEStream, ContainersOpenInOlefileAtEverySize) {
  // 8 MB needs more FAT sectors than the header lists: a DIFAT chain.
  for (Integer Size : {3000, 60000, 8 * 1024 * 1024}) {
    SCOPED_TRACE(Size);
    auto W = Workbook(Size);
    TgtExcelOLEStream Ole;
    Ole.SetWorkbook(W.get());
    Ole.WriteCompoundFile();
    if (Size > 7 * 1024 * 1024) {
      EXPECT_GT(Ole.GetFATCount(), 109);
      EXPECT_GT(Ole.GetDIFATCount(), 0);
    }
    const std::string Name = SheetTempBase("ole_" + std::to_string(Size) + ".xls");
    Ole.GetOutput()->SaveToFile(Name);
    const std::string Out = RunSheetReader("ole", Name);
    EXPECT_EQ(Out, "STREAM \\5DocumentSummaryInformation 4096\nSTREAM \\5SummaryInformation 4096\nSTREAM Book " +
                       std::to_string(Ole.GetBookSize()) + "\nBOOKHEAD 01080f16\n");
    std::remove(Name.c_str());
  }
}

TEST(TgtExcelOLEStream, RefusesToRunWithoutAWorkbook) {
  TgtExcelOLEStream Ole;
  EXPECT_THROW(Ole.WriteCompoundFile(), EInvalidOperation);
}
