#include "editor/base/FileSystems.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "support/TestFiles.h"

namespace {

struct TImage {
  std::vector<Byte> B;
  void Put32(std::size_t At, DWORD V) {
    for (int I = 0; I < 4; ++I) B[At + I] = Byte(V >> (8 * I));
  }
  void Put16(std::size_t At, Word V) {
    B[At] = Byte(V);
    B[At + 1] = Byte(V >> 8);
  }
  DWORD Get32(std::size_t At) const { return B[At] | B[At + 1] << 8 | B[At + 2] << 16 | DWORD(B[At + 3]) << 24; }
};

// A minimal 32-bit PE image whose .rsrc section (VA 0x1000, file offset
// 0x200) holds RCDATA "MYDATA" with Payload. With TextAfter a second section
// follows the resources in the file and the image.
TImage MakePe(const std::string& Payload, bool TextAfter = false) {
  const std::size_t RsrcRaw = 0x200, RsrcSize = ((0x80 + Payload.size() + 0x1FF) / 0x200) * 0x200;
  TImage I;
  I.B.assign(RsrcRaw + RsrcSize + (TextAfter ? 0x200 : 0), 0);
  I.B[0] = 'M';
  I.B[1] = 'Z';
  I.Put32(0x3C, 0x40);
  std::memcpy(&I.B[0x40], "PE\0\0", 4);
  I.Put16(0x44, 0x14C);
  I.Put16(0x46, TextAfter ? 2 : 1);
  I.Put16(0x54, 224);
  const std::size_t Opt = 0x58;
  I.Put16(Opt, 0x10B);
  I.Put32(Opt + 8, DWORD(RsrcSize));
  I.Put32(Opt + 56, 0x1000 + DWORD(RsrcSize));
  I.Put32(Opt + 96 + 16, 0x1000);
  I.Put32(Opt + 96 + 20, DWORD(RsrcSize));
  auto Section = [&](std::size_t H, const char* Name, DWORD Va, DWORD Raw, DWORD Size) {
    std::memcpy(&I.B[H], Name, std::strlen(Name));
    I.Put32(H + 8, Size);
    I.Put32(H + 12, Va);
    I.Put32(H + 16, Size);
    I.Put32(H + 20, Raw);
  };
  Section(0x138, ".rsrc", 0x1000, DWORD(RsrcRaw), DWORD(RsrcSize));
  if (TextAfter) Section(0x160, ".text", 0x8000, DWORD(RsrcRaw + RsrcSize), 0x200);
  const std::size_t R = RsrcRaw;
  I.Put16(R + 14, 1);
  I.Put32(R + 16, 10);
  I.Put32(R + 20, 0x80000000u | 0x18);
  I.Put16(R + 0x18 + 12, 1);
  I.Put32(R + 0x18 + 16, 0x80000000u | 0x60);
  I.Put32(R + 0x18 + 20, 0x80000000u | 0x30);
  I.Put16(R + 0x30 + 14, 1);
  I.Put32(R + 0x30 + 16, 0x409);
  I.Put32(R + 0x30 + 20, 0x48);
  I.Put32(R + 0x48, 0x1000 + 0x80);
  I.Put32(R + 0x48 + 4, DWORD(Payload.size()));
  const char16_t Name[] = u"MYDATA";
  I.Put16(R + 0x60, 6);
  for (int K = 0; K < 6; ++K) I.Put16(R + 0x62 + 2 * K, Name[K]);
  std::memcpy(&I.B[R + 0x80], Payload.data(), Payload.size());
  return I;
}

class FileSystemsTest : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_edfs_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string Write(const std::string& Name, const std::vector<Byte>& B) {
    const std::string Path = FDir + "/" + Name;
    std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(B.data()), std::streamsize(B.size()));
    return Path;
  }
  std::vector<Byte> Read(const std::string& Path) { return sxtest::ReadFileBytes(Path); }
  std::string FDir;
};

TEST_F(FileSystemsTest, ReplacingAResourceAppendsItAndGrowsTheSection) {
  const std::string Path = Write("app.exe", MakePe("old bytes").B);
  const std::size_t OldSize = Read(Path).size();
  const std::string New(5000, 'n');
  ASSERT_TRUE(ReplaceResourceInImage(Path, TResType{10, ""}, "MYDATA", New.data(), Integer(New.size())));
  TImage After{Read(Path)};
  EXPECT_EQ(After.B.size(), OldSize + 8192);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&After.B[OldSize]), 5000), New);
  EXPECT_EQ(After.Get32(0x138 + 16), OldSize - 0x200 + 8192) << "raw size of .rsrc";
  AnsiString Data;
  ASSERT_TRUE(ReadResourceData(Path, TResType{10, ""}, "MYDATA", Data));
  EXPECT_EQ(Data, New);
  EXPECT_THROW(ReplaceResourceInImage(Path, TResType{}, "OTHER", "x", 1), Exception);
}

struct TRefusedCase {
  std::vector<Byte> Image;
  const char* Message;
  const char* Why;
};

TEST_F(FileSystemsTest, FilesTheWriterCannotExtendAreRefusedUntouched) {
  std::vector<Byte> NotMz = MakePe("x").B;
  NotMz[0] = 'Z';
  std::vector<Byte> Overlay = MakePe("x").B;
  Overlay.push_back(0);
  std::vector<Byte> NoRsrc = MakePe("x").B;
  std::memcpy(&NoRsrc[0x138], ".data\0", 6);
  const TRefusedCase Cases[] = {
      {NotMz, "Invalid file format\r\nError code : 0", "no MZ"},
      {MakePe("x", /*TextAfter=*/true).B, "Invalid file format\r\nError code : 0", "a section after the resources"},
      {Overlay, "Invalid file format\r\nError code : 0", "bytes after the last section"},
      {NoRsrc, "This file doesn't contain resources\r\nError code : 0", "no .rsrc"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Path = Write("bad.exe", C.Image);
    try {
      ReplaceResourceInImage(Path, TResType{}, "MYDATA", "y", 1);
      ADD_FAILURE() << "accepted";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
    EXPECT_EQ(Read(Path), C.Image);
  }
}

TEST_F(FileSystemsTest, ResourceFileSystemReadsAndWritesThroughStreams) {
  TResFileSystem Fs(nullptr);
  Fs.SetFileName(Write("app.exe", MakePe("hello").B));
  EXPECT_TRUE(Fs.FileExists("RCDATA\\MYDATA.txt"));
  EXPECT_FALSE(Fs.FileExists("RCDATA\\OTHER.txt"));
  EXPECT_FALSE(Fs.FileExists("MYDATA"));
  {
    std::unique_ptr<TStream> S(Fs.OpenFileStream("RCDATA\\MYDATA.txt", fmOpenRead));
    EXPECT_EQ(S->ReadBytes(5), "hello");
  }
  {
    std::unique_ptr<TStream> S(Fs.OpenFileStream("RCDATA\\MYDATA.txt", fmCreate));
    S->Write("changed", 7);
    static_cast<TResWriteStream*>(S.get())->Commit();
  }
  AnsiString Data;
  ASSERT_TRUE(ReadResourceData(Fs.GetFileName(), TResType{10, ""}, "MYDATA", Data));
  EXPECT_EQ(Data, "changed");
}

struct TSplitCase {
  const char* Path;
  bool Ok;
  Integer Id;
  const char* TypeName;
  const char* Name;
};

TEST(TResFileSystem, SplitResourcePathFindsTypeAndName) {
  const TSplitCase Cases[] = {
      {"RCDATA\\MYDATA.txt", true, 10, "", "MYDATA"},
      {"rcdata\\X", true, 10, "", "X"},
      {"CUSTOM\\X", true, 0, "CUSTOM", "X"},
      {"X", false, 0, "", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Path);
    TResType T;
    AnsiString N;
    EXPECT_EQ(TResFileSystem::SplitResourcePath(C.Path, T, N), C.Ok);
    EXPECT_EQ(T.Id, C.Id);
    EXPECT_EQ(T.Name, C.TypeName);
    EXPECT_EQ(N, C.Name);
  }
}

TEST(MakeBackupFileName, InsertsATildeAndKeepsFourCharacters) {
  const std::pair<const char*, const char*> Cases[] = {
      {"/a/notes.txt", "/a/notes.~tx"}, {"/a/readme", "/a/readme.~"}, {"a.pas", "a.~pa"}, {"x.c", "x.~c"}};
  for (const auto& [In, Want] : Cases) EXPECT_EQ(MakeBackupFileName(In), Want) << In;
}

TEST_F(FileSystemsTest, DiskFileSystemChecksRenamesAndDeletes) {
  TWin32FileSystem Fs(nullptr);
  const std::string A = FDir + "/a.txt";
  std::ofstream(A) << "x";
  const AnsiString Temp = Fs.GetTempFileName(A);
  EXPECT_TRUE(Fs.FileExists(Temp));
  EXPECT_EQ(ExtractFileName(Temp).substr(0, 3), "a.t");
  Fs.RenameFileChecked(A, FDir + "/b.txt");
  try {
    Fs.RenameFileChecked(A, FDir + "/c.txt");
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Can't rename file " + A + " to file " + FDir + "/c.txt");
  }
  Fs.DeleteFileChecked(FDir + "/b.txt");
  Fs.DeleteFileChecked(FDir + "/b.txt");  // missing: nothing to do
  EXPECT_FALSE(Fs.FileExists(FDir + "/b.txt"));
  EXPECT_THROW(MakeTempFileName("/nonexistent/dir/x.txt"), Exception);
}

}  // namespace
