#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "support/TestFiles.h"

namespace {

class IniFixture : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_ini_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
    FName = FDir + "/Options.ini";
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  void Put(const std::string& Text) { std::ofstream(FName, std::ios::binary) << Text; }
  std::string Content() const { return sxtest::ReadFile(FName); }
  std::string FDir, FName;
};

// The profile rules hold for both stores.
std::vector<std::unique_ptr<TCustomIniFile>> BothStores(const std::string& Name) {
  std::vector<std::unique_ptr<TCustomIniFile>> R;
  R.push_back(std::make_unique<TIniFile>(Name));
  R.push_back(std::make_unique<TMemIniFile>(Name));
  return R;
}

std::vector<std::string> Lines(const TStrings& S) {
  std::vector<std::string> R;
  for (Integer I = 0; I < S.GetCount(); ++I) R.push_back(S[I]);
  return R;
}

const char* const SampleIni =
    "stray=before any section\r\n"
    "; a comment\r\n"
    "[General]\r\n"
    "  Start Minimized = 1  \r\n"
    "PDF Page Width=0x258\r\n"
    "Hex=$10\r\n"
    "Bool2=2\r\n"
    "BoolWord=true\r\n"
    "garbage line without equals\r\n"
    "[broken header\r\n"
    "start minimized=0\r\n"
    "Empty=\r\n"
    "\r\n"
    "[general]\r\n"
    "Second=section ignored\r\n"
    "[HotKeys]\n"
    "ConvertToPDF=F9\n";

}  // namespace

TEST_F(IniFixture, ProfileRulesHoldForBothStores) {
  Put(SampleIni);
  for (const auto& Ini : BothStores(FName)) {
    SCOPED_TRACE(dynamic_cast<TIniFile*>(Ini.get()) ? "TIniFile" : "TMemIniFile");
    struct TCase { const char* Section; const char* Key; const char* Want; const char* Why; };
    const TCase Cases[] = {
        {"GENERAL", "start minimized", "1", "case-insensitive, trimmed, first key wins"},
        {"General", "Empty", "", "present but empty is not the default"},
        {"General", "Second", "dflt", "a repeated section is not read"},
        {"General", "garbage line without equals", "dflt", "malformed line skipped"},
        {"General", "stray", "dflt", "lines before any section belong nowhere"},
        {"Nowhere", "x", "dflt", "missing section"},
        {"hotkeys", "CONVERTTOPDF", "F9", "LF-only lines"},
    };
    for (const auto& C : Cases) EXPECT_EQ(Ini->ReadString(C.Section, C.Key, "dflt"), C.Want) << C.Why;

    struct TIntCase { const char* Key; Integer Want; };
    const TIntCase Ints[] = {{"PDF Page Width", 600}, {"Hex", 16}, {"Start Minimized", 1},
                             {"BoolWord", -7}, {"Missing", -7}};
    for (const auto& C : Ints) EXPECT_EQ(Ini->ReadInteger("General", C.Key, -7), C.Want) << C.Key;

    struct TBoolCase { const char* Key; bool Default; bool Want; };
    const TBoolCase Bools[] = {{"Start Minimized", false, true}, {"Bool2", false, true},
                               {"BoolWord", false, false}, {"BoolWord", true, true},
                               {"Empty", true, true}, {"Missing", true, true}};
    for (const auto& C : Bools) EXPECT_EQ(Ini->ReadBool("General", C.Key, C.Default), C.Want) << C.Key;

    EXPECT_EQ(Ini->ReadFloat("General", "Hex", 1.5), 1.5);  // "$10" is no float
    EXPECT_EQ(Ini->ReadFloat("General", "Start Minimized", 1.5), 1.0);
    EXPECT_EQ(Ini->ReadFloat("General", "Empty", 1.5), 1.5);

    EXPECT_TRUE(Ini->SectionExists("general"));
    EXPECT_FALSE(Ini->SectionExists("Nowhere"));
    EXPECT_TRUE(Ini->ValueExists("General", "HEX"));
    EXPECT_FALSE(Ini->ValueExists("General", "Second"));
  }
}

TEST_F(IniFixture, SectionListingsFollowFileOrder) {
  Put("[A]\r\nx=1\r\ny = 2\r\n[B]\r\n[a]\r\nz=3\r\n");
  for (const auto& Ini : BothStores(FName)) {
    TStringList L;
    L.Add("stale");
    Ini->ReadSection("a", &L);
    EXPECT_EQ(Lines(L), (std::vector<std::string>{"x", "y"}));
    Ini->ReadSectionValues("A", &L);
    EXPECT_EQ(Lines(L), (std::vector<std::string>{"x=1", "y=2"}));
    Ini->ReadSections(&L);
    EXPECT_EQ(L.GetCount() >= 2 ? L[1] : "", "B");
    EXPECT_FALSE(Ini->SectionExists("B"));  // a header without keys does not count
  }
}

TEST_F(IniFixture, IniFileWritesThroughAndKeepsOtherLines) {
  Put("; settings\r\n[General]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n");
  TIniFile Ini(FName);
  Ini.WriteString("general", "a", "10");    // replaces the line in place
  Ini.WriteInteger("General", "New", 5);    // after the section's last key
  Ini.WriteBool("Third", "Flag", true);     // new section at the end
  Ini.WriteFloat("Third", "Zoom", 1.25);
  EXPECT_EQ(Ini.ReadFloat("Third", "Zoom", 0), 1.25);
  Ini.DeleteKey("Third", "Zoom");
  EXPECT_EQ(Content(),
            "; settings\r\n[General]\r\na=10\r\nNew=5\r\n\r\n[Other]\r\nB=2\r\n[Third]\r\nFlag=1\r\n");
  Ini.DeleteKey("OTHER", "b");
  Ini.EraseSection("general");
  EXPECT_EQ(Content(), "; settings\r\n[Other]\r\n[Third]\r\nFlag=1\r\n");
  // Another reader sees each write at once.
  EXPECT_TRUE(TIniFile(FName).ReadBool("Third", "Flag", false));
}

TEST_F(IniFixture, IniFileReadsQuotedValuesWithoutTheirQuotes) {
  Put("[S]\r\nA=\"quoted value\"\r\nB='x'\r\nC=\"half\r\nD=\"\r\n");
  TIniFile Ini(FName);
  EXPECT_EQ(Ini.ReadString("S", "A", ""), "quoted value");
  EXPECT_EQ(Ini.ReadString("S", "B", ""), "x");
  EXPECT_EQ(Ini.ReadString("S", "C", ""), "\"half");
  EXPECT_EQ(Ini.ReadString("S", "D", ""), "\"");
}

TEST_F(IniFixture, MemIniFileWritesOnlyOnUpdateFile) {
  Put("; dropped comment\r\n[B]\r\nk = v\r\nbad\r\n[A]\r\nx=1\r\n");
  TMemIniFile Ini(FName);
  Ini.WriteString("a", "X", "2");
  Ini.WriteString("C", "y", "3");
  EXPECT_EQ(TIniFile(FName).ReadString("A", "x", ""), "1");  // not yet on disk
  Ini.UpdateFile();
  EXPECT_EQ(Content(), "[B]\r\nk=v\r\n\r\n[A]\r\nX=2\r\n\r\n[C]\r\ny=3\r\n\r\n");
  Ini.EraseSection("b");
  Ini.DeleteKey("C", "Y");
  TStringList L;
  Ini.GetStrings(&L);
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"[A]", "X=2", "", "[C]", ""}));
}

TEST_F(IniFixture, MissingFileReadsDefaultsAndUnwritableFileRaises) {
  const std::string Missing = FDir + "/none.ini";
  for (const auto& Ini : BothStores(Missing)) {
    EXPECT_EQ(Ini->ReadInteger("General", "Default Export Format", 0), 0);
    EXPECT_FALSE(Ini->SectionExists("General"));
  }
  EXPECT_FALSE(std::filesystem::exists(Missing));  // reading creates nothing

  const std::string NoDir = FDir + "/nodir/x.ini";
  TIniFile Ini(NoDir);
  try {
    Ini.WriteString("S", "K", "V");
    ADD_FAILURE();
  } catch (const EIniFileException& E) {
    EXPECT_EQ(E.Message(), "Unable to write to " + NoDir);
  }
  TMemIniFile Mem(NoDir);
  Mem.WriteString("S", "K", "V");
  EXPECT_THROW(Mem.UpdateFile(), EFCreateError);
}

TEST_F(IniFixture, AFailedWriteLeavesTheOldFileWhole) {
  Put("[S]\r\nK=old\r\n");
  ::chmod(FDir.c_str(), 0500);  // no new files in the folder
  if (::access(FDir.c_str(), W_OK) == 0) {
    ::chmod(FDir.c_str(), 0700);
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  TIniFile Ini(FName);
  EXPECT_THROW(Ini.WriteString("S", "K", "new"), EIniFileException);
  ::chmod(FDir.c_str(), 0700);
  EXPECT_EQ(Content(), "[S]\r\nK=old\r\n");
}
