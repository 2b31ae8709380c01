#include "platform/gdi/Emf.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::vector<Byte> SmallMetafile() {
  TEmfBuilder B;
  B.Add(TEmrCreatePen{3, 0, {2, 0}, RGB(255, 0, 0)}, 3);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 3});
  B.Add(TEmrPoly{EMR_POLYLINE16, {1, 1, 5, 3}, {{1, 1}, {5, 3}}});
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 7});
  B.Add(TEmrDword{EMR_DELETEOBJECT, 3});
  return B.Finish(TestHeader());
}

struct THandleGuard {
  HENHMETAFILE H;
  ~THandleGuard() { DeleteEnhMetaFile(H); }
};

}  // namespace

TEST(TEmfBuilder, HeaderCountsRecordsBytesAndObjectSlots) {
  std::vector<Byte> B = SmallMetafile();
  EXPECT_NO_THROW(EmfValidate(B));
  TEmrHeader H = EmfReadHeader(B);
  EXPECT_EQ(H.Bytes, B.size());
  EXPECT_EQ(H.Records, 7u);
  EXPECT_EQ(H.Handles, 4u) << "slot 0 plus objects up to index 3; stock selections take none";
  EXPECT_EQ(H.Description, TestHeader().Description);
  EXPECT_EQ(H.HeaderSize, EMF_HEADER_EXT2_SIZE);
  EXPECT_EQ(RecordTypes(B), (std::vector<std::string>{"HEADER", "CREATEPEN", "SELECTOBJECT",
                                                      "POLYLINE16", "SELECTOBJECT", "DELETEOBJECT",
                                                      "EOF"}));
  // Description right after the 108-byte header, as readers expect.
  EXPECT_EQ(EmfGetDword(B.data() + 64), 108u);
  EXPECT_EQ(B[108], 'S');
}

TEST(EnhMetaFile, HeaderBitsAndDescriptionComeBackThroughTheHandle) {
  std::vector<Byte> B = SmallMetafile();
  THandleGuard G{SetEnhMetaFileBits(UINT(B.size()), B.data())};
  ASSERT_NE(G.H, nullptr);
  ENHMETAHEADER H{};
  EXPECT_EQ(GetEnhMetaFileHeader(G.H, 0, nullptr), 108u);
  EXPECT_EQ(GetEnhMetaFileHeader(G.H, sizeof H, &H), 108u);
  EXPECT_EQ(H.dSignature, ENHMETA_SIGNATURE);
  EXPECT_EQ(H.rclFrame, TestHeader().Frame);
  EXPECT_EQ(H.szlDevice, TSize(1024, 768));
  EXPECT_EQ(H.szlMillimeters, TSize(271, 203));
  EXPECT_EQ(H.nBytes, B.size());
  EXPECT_EQ(H.nHandles, 4);
  std::vector<Byte> Back(GetEnhMetaFileBits(G.H, 0, nullptr));
  EXPECT_EQ(GetEnhMetaFileBits(G.H, UINT(Back.size()), Back.data()), B.size());
  EXPECT_EQ(Back, B);
  EXPECT_EQ(GetEnhMetaFileBits(G.H, UINT(Back.size() - 1), Back.data()), 0u) << "buffer too small";
  char16_t Desc[32];
  EXPECT_EQ(GetEnhMetaFileDescriptionW(G.H, 0, nullptr), 16u);
  EXPECT_EQ(GetEnhMetaFileDescriptionW(G.H, 32, Desc), 16u);
  EXPECT_EQ(WideString(Desc, 9), u"Sourcelux");
}

TEST(EnhMetaFile, DeletedOrForeignHandlesFailLikeTheRealCalls) {
  std::vector<Byte> B = SmallMetafile();
  HENHMETAFILE H = SetEnhMetaFileBits(UINT(B.size()), B.data());
  ASSERT_NE(H, nullptr);
  EXPECT_TRUE(DeleteEnhMetaFile(H));
  EXPECT_FALSE(DeleteEnhMetaFile(H));
  EXPECT_EQ(GetEnhMetaFileBits(H, 0, nullptr), 0u);
  EXPECT_EQ(CopyEnhMetaFileA(H, nullptr), nullptr);
  // A new metafile reusing the slot does not revive the old handle.
  THandleGuard G{SetEnhMetaFileBits(UINT(B.size()), B.data())};
  EXPECT_NE(G.H, H);
  EXPECT_EQ(GetEnhMetaFileBits(H, 0, nullptr), 0u);
  int Local = 0;
  EXPECT_FALSE(DeleteEnhMetaFile(reinterpret_cast<HENHMETAFILE>(&Local)));
  EXPECT_FALSE(DeleteEnhMetaFile(nullptr));
}

TEST(EnhMetaFile, MalformedBytesGiveNoHandle) {
  struct TCase {
    const char* Flaw;
    std::size_t Offset;
    DWORD Value;
    std::size_t Keep;  // bytes kept; 0 = all
  };
  const std::vector<Byte> Good = SmallMetafile();
  const std::size_t FirstRec = EmfGetDword(Good.data() + 4);
  const TCase Cases[] = {
      {"not a header first", 0, EMR_EOF, 0},
      {"no signature", 40, 0x12345678, 0},
      {"header size beyond the data", 4, 0x10000, 0},
      {"header size not a multiple of 4", 4, 110, 0},
      {"nBytes larger than the data", 48, 0x7FFFFFFF, 0},
      {"record size zero", FirstRec + 4, 0, 0},
      {"record size not a multiple of 4", FirstRec + 4, 30, 0},
      {"record size past the end", FirstRec + 4, 0x7FFFFFF0, 0},
      {"second header", FirstRec, EMR_HEADER, 0},
      {"truncated before EOF", 0, EMR_HEADER, 0},
      {"shorter than a header", 0, EMR_HEADER, 40},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Flaw);
    std::vector<Byte> B = Good;
    EmfPutDword(B.data() + C.Offset, C.Value);
    if (C.Keep) B.resize(C.Keep);
    if (std::string(C.Flaw) == "truncated before EOF") {
      B.resize(B.size() - 20);
      EmfPutDword(B.data() + 48, DWORD(B.size()));
    }
    HENHMETAFILE H = SetEnhMetaFileBits(UINT(B.size()), B.data());
    EXPECT_EQ(H, nullptr);
    if (H) DeleteEnhMetaFile(H);
  }
  EXPECT_EQ(SetEnhMetaFileBits(10, nullptr), nullptr);
}

namespace {
struct TEnumLog {
  std::vector<DWORD> Types;
  int Objects = 0;
  HGDIOBJ Slot0 = nullptr;
  std::size_t StopAfter = 1000;
};
int LogRecord(HDC, HANDLETABLE* Table, const ENHMETARECORD* Rec, int Objects, LPARAM Data) {
  auto* Log = reinterpret_cast<TEnumLog*>(Data);
  Log->Types.push_back(Rec->iType);
  Log->Objects = Objects;
  Log->Slot0 = Table->objectHandle[0];
  return Log->Types.size() < Log->StopAfter;
}
}  // namespace

TEST(EnumEnhMetaFile, VisitsEveryRecordWithTheObjectTableAndStopsOnZero) {
  std::vector<Byte> B = SmallMetafile();
  THandleGuard G{SetEnhMetaFileBits(UINT(B.size()), B.data())};
  TEnumLog Log;
  EXPECT_TRUE(EnumEnhMetaFile(nullptr, G.H, LogRecord, &Log, nullptr));
  EXPECT_EQ(Log.Types, (std::vector<DWORD>{EMR_HEADER, EMR_CREATEPEN, EMR_SELECTOBJECT,
                                            EMR_POLYLINE16, EMR_SELECTOBJECT, EMR_DELETEOBJECT,
                                            EMR_EOF}));
  EXPECT_EQ(Log.Objects, 4);
  EXPECT_EQ(Log.Slot0, G.H);
  TEnumLog Stop;
  Stop.StopAfter = 2;
  EXPECT_FALSE(EnumEnhMetaFile(nullptr, G.H, LogRecord, &Stop, nullptr));
  EXPECT_EQ(Stop.Types.size(), 2u);
  EXPECT_FALSE(EnumEnhMetaFile(nullptr, nullptr, LogRecord, &Stop, nullptr));
}

TEST(EnhMetaFile, SavedFileOpensAgainAndAFailedSaveLeavesNothing) {
  namespace fs = std::filesystem;
  fs::path Dir = fs::temp_directory_path() / ("sx_emf_" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  std::vector<Byte> B = SmallMetafile();
  THandleGuard G{SetEnhMetaFileBits(UINT(B.size()), B.data())};
  const std::string Name = (Dir / "page.emf").string();
  THandleGuard Copy{CopyEnhMetaFileA(G.H, Name.c_str())};
  ASSERT_NE(Copy.H, nullptr);
  THandleGuard Loaded{GetEnhMetaFileW(u"/nonexistent/x.emf")};
  EXPECT_EQ(Loaded.H, nullptr);
  std::u16string WName(Name.begin(), Name.end());
  THandleGuard Again{GetEnhMetaFileW(WName.c_str())};
  ASSERT_NE(Again.H, nullptr);
  std::vector<Byte> Back(GetEnhMetaFileBits(Again.H, 0, nullptr));
  GetEnhMetaFileBits(Again.H, UINT(Back.size()), Back.data());
  EXPECT_EQ(Back, B);
  const std::string Bad = (Dir / "missing-dir" / "p.emf").string();
  EXPECT_EQ(CopyEnhMetaFileA(G.H, Bad.c_str()), nullptr);
  EXPECT_FALSE(fs::exists(Dir / "missing-dir"));
  // A file that is not a metafile does not open.
  std::ofstream(Dir / "junk.emf") << "not a metafile at all, just some text that is long enough to pass the size test........";
  EXPECT_EQ(GetEnhMetaFileA((Dir / "junk.emf").string().c_str()), nullptr);
  fs::remove_all(Dir);
}
