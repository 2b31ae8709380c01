#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MemoTestUtil.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

class MemoFiles : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_memofiles_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
  }
  void TearDown() override { fs::remove_all(FDir); }
  std::string Path(const char* Name) const { return FDir + "/" + Name; }
  static std::string Read(const std::string& P) { return sxtest::ReadFile(P); }
  static void Write(const std::string& P, const std::string& Bytes) {
    std::ofstream F(P, std::ios::binary);
    F << Bytes;
  }
  std::string FDir;
};

TEST_F(MemoFiles, SavedLineEndsFollowOutFormat) {
  struct TCase { TOutFormatType Format; bool ExcludeReadOnly; const char* Want; };
  const TCase Cases[] = {
      {ofWindows, false, "one\r\ntwo\r\n\tthree"},
      {ofUnix, false, "one\ntwo\n\tthree\n"},
      {ofMac, false, "one\rtwo\r\tthree\r"},
      {ofWindows, true, "one\r\n\tthree\r\n"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TMemoSource S(nullptr);
    S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
    if (C.ExcludeReadOnly) S.SetOptions(S.GetOptions() + TStringsOptions{soExcludeReadOnlyLines});
    SetText(S, "one|two|\tthree");
    S.GetLineItem(1)->Flags |= C.ExcludeReadOnly ? lfReadOnlyLine : 0;
    S.SetOutFormat(C.Format);
    S.SaveToFile(Path("out.txt"));
    EXPECT_EQ(Read(Path("out.txt")), C.Want);
  }
}

TEST_F(MemoFiles, LoadingSplitsAtEveryLineEndAndDropsNul) {
  struct TCase { std::string Bytes; const char* Want; Integer Count; };
  const TCase Cases[] = {
      {"a\r\nb\nc\rd", "a|b|c|d", 4},
      {"a\r\n", "a", 1},
      {"a\n\nb", "a||b", 3},
      {std::string("ab\0cd\nef", 8), "abcd|ef", 2},
      {"caf\xE9\xFF\x80x", "caf\xE9\xFF\x80x", 1},
      {"", "", 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    Write(Path("in.txt"), C.Bytes);
    TMemoSource S(nullptr);
    S.OpenFile(Path("in.txt"));
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetLineCount(), C.Count);
  }
}

TEST_F(MemoFiles, LoadingResetsCaretUndoAndModified) {
  Write(Path("in.txt"), "x  \r\n\ty");
  TMemoSource S(nullptr);
  SetText(S, "old|text");
  S.SetCaret(2, 1);
  S.InsertText("!");
  S.SetSelection(stStreamSel, 0, 0, 1, 1);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.LoadFromFile(Path("in.txt"));
  EXPECT_EQ(Text(S), "x|        y") << "blanks trimmed, TABs become SpacesInTab spaces";
  EXPECT_EQ(S.GetCaretPoint(), TPoint(0, 0));
  EXPECT_FALSE(S.HasSelection());
  EXPECT_FALSE(S.CanUndo());
  EXPECT_FALSE(S.GetModified());
  ASSERT_FALSE(E.Notices.empty());
  EXPECT_EQ(E.Notices.front().Code, MemoCode::LoadFromStream);
  EXPECT_TRUE((E.Notices.front().State & 1405u) == 1405u);
}

TEST_F(MemoFiles, KeepBlanksKeepsTrailingBlanks) {
  Write(Path("in.txt"), "x  \r\ny");
  TMemoSource S(nullptr);
  S.SetKeepBlanks(true);
  S.LoadFromFile(Path("in.txt"));
  EXPECT_EQ(Text(S), "x  |y");
}

TEST_F(MemoFiles, MissingFileRaisesAndLeavesTheText) {
  TMemoSource S(nullptr);
  SetText(S, "keep");
  EXPECT_THROW(S.LoadFromFile(Path("missing.txt")), Exception);
  EXPECT_EQ(Text(S), "keep");
}

TEST_F(MemoFiles, BackupKeepsThePreviousVersion) {
  const std::string File = Path("doc.html");
  Write(File, "old contents");
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soCreateBackups});
  SetText(S, "new|text");
  S.SaveToFileWithBackup(File);
  EXPECT_EQ(Read(File), "new\r\ntext");
  EXPECT_EQ(Read(Path("doc.~ht")), "old contents");
  S.GetLines()->SetStrings(0, "newer");
  S.SaveToFileWithBackup(File);
  EXPECT_EQ(Read(Path("doc.~ht")), "new\r\ntext") << "an older backup is replaced";
  size_t Files = 0;
  for (auto& E : fs::directory_iterator(FDir)) (void)E, ++Files;
  EXPECT_EQ(Files, 2u) << "no temporary file left";
}

TEST_F(MemoFiles, BackupNames) {
  struct TCase { const char* File; const char* Want; };
  const TCase Cases[] = {{"/d/readme", "/d/readme.~"}, {"/d/a.html", "/d/a.~ht"}, {"/d/a.c", "/d/a.~c"}, {"/d/a.pas", "/d/a.~pa"}};
  TMemoSource S(nullptr);
  for (const auto& C : Cases) {
    AnsiString B;
    S.GetBackupName(C.File, B);
    EXPECT_EQ(B, C.Want);
  }
}

TEST_F(MemoFiles, FailedBackupStepLeavesTheOriginalInPlace) {
  const std::string File = Path("doc.txt");
  Write(File, "original");
  fs::create_directory(Path("doc.~tx"));  // a backup name that cannot be deleted as a file
  Write(Path("doc.~tx") + "/inside", "x");
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soCreateBackups});
  SetText(S, "new");
  EXPECT_THROW(S.SaveToFileWithBackup(File), Exception);
  EXPECT_EQ(Read(File), "original");
  size_t Files = 0;
  for (auto& E : fs::directory_iterator(FDir)) (void)E, ++Files;
  EXPECT_EQ(Files, 2u) << "the temporary file is gone";
}

TEST_F(MemoFiles, WithoutBackupsSavesInPlace) {
  const std::string File = Path("plain.txt");
  Write(File, "old");
  TMemoSource S(nullptr);
  SetText(S, "new");
  S.SaveToFileWithBackup(File);
  EXPECT_EQ(Read(File), "new");
  EXPECT_FALSE(fs::exists(Path("plain.~tx")));
}

}  // namespace
