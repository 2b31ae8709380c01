#include "platform/rtl/FileUtils.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "support/TestFiles.h"

namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
class TTempDir {
public:
  TTempDir() {
    AnsiString T = GetTempPath() + "sxfileutils.XXXXXX";
    if (::mkdtemp(T.data())) FPath = T + PathDelim;
  }
  ~TTempDir() {
    if (!FPath.empty()) sxtest::RunStatus("rm -rf '" + FPath + "'");
  }
  const AnsiString& Path() const { return FPath; }
  std::vector<AnsiString> Entries() const {
    std::vector<AnsiString> R;
    if (DIR* D = ::opendir(FPath.c_str())) {
      while (dirent* E = ::readdir(D))
        if (AnsiString(E->d_name) != "." && AnsiString(E->d_name) != "..") R.push_back(E->d_name);
      ::closedir(D);
    }
    return R;
  }

private:
  AnsiString FPath;
};

using sxtest::ReadFile;

void WriteAll(const AnsiString& Name, const AnsiString& Bytes) {
  std::ofstream F(Name, std::ios::binary);
  F << Bytes;
}

TEST(ExtractFilePath, SplitsNamesAtTheLastSeparator) {
  struct {
    const char *Name, *Path, *Dir, *File, *Ext;
  } const Cases[] = {
      {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt"},
      {"c.tar.gz", "", "", "c.tar.gz", ".gz"},
      {"/c", "/", "/", "c", ""},
      {"/a.d/c", "/a.d/", "/a.d", "c", ""},
      {"/a/b/", "/a/b/", "/a/b", "", ""},
      {"a//b", "a//", "a//", "b", ""},
      {".bashrc", "", "", ".bashrc", ".bashrc"},
      {"dir\\file.rtf", "", "", "dir\\file.rtf", ".rtf"},  // a backslash is an ordinary character
      {"", "", "", "", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ExtractFilePath(C.Name), C.Path);
    EXPECT_EQ(ExtractFileDir(C.Name), C.Dir);
    EXPECT_EQ(ExtractFileName(C.Name), C.File);
    EXPECT_EQ(ExtractFileExt(C.Name), C.Ext);
  }
}

TEST(ChangeFileExt, ReplacesOnlyTheLastExtensionOfTheNamePart) {
  struct {
    const char *Name, *Ext, *Want;
  } const Cases[] = {
      {"a.rtf", ".html", "a.html"},       {"a", ".html", "a.html"},         {"a.b.rtf", "", "a.b"},
      {"/x.d/a", ".rtf", "/x.d/a.rtf"},   {"a.", ".txt", "a.txt"},          {"", ".txt", ".txt"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ChangeFileExt(C.Name, C.Ext), C.Want);
  }
}

TEST(IncludeTrailingPathDelimiter, AddsOrRemovesOneSeparator) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "");
}

TEST(ExpandFileName, ResolvesDotsAgainstTheCurrentFolder) {
  EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
  EXPECT_EQ(ExpandFileName("/a//b/"), "/a/b/");
  EXPECT_EQ(ExpandFileName("/../.."), "/");
  EXPECT_EQ(ExpandFileName("/a/b/.."), "/a");
  EXPECT_EQ(ExpandFileName("x/y"), IncludeTrailingPathDelimiter(GetCurrentDir()) + "x/y");
  EXPECT_EQ(ExpandFileName(""), "");
}

TEST(PathMatchSpec, MatchesSemicolonListsIgnoringCase) {
  TAnsiCodePageOverride Cp(1252);
  struct {
    const char *Name, *Spec;
    bool Want;
  } const Cases[] = {
      {"report.rtf", "*.rtf;*.doc;", true},
      {"REPORT.DOC", "*.rtf;*.doc;", true},
      {"/home/u/a.Rtf", "*.rtf;*.doc;", true},
      {"report.rtf.bak", "*.rtf;*.doc;", false},
      {"report.txt", "*.rtf;*.doc;", false},
      {"a.rtf", ";; *.rtf", true},  // empty entries and leading blanks are skipped
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"README", "*.*", true},
      {"\xC9T\xC9.RTF", "\xE9t\xE9.*", true},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
      {"x", "", false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Name << " / " << C.Spec);
    EXPECT_EQ(PathMatchSpec(C.Name, C.Spec), C.Want);
  }
}

TEST(ForceDirectories, CreatesEveryMissingLevel) {
  TTempDir T;
  ASSERT_FALSE(T.Path().empty());
  const AnsiString Deep = T.Path() + "a/b/c/";
  EXPECT_TRUE(ForceDirectories(Deep));
  EXPECT_TRUE(DirectoryExists(Deep));
  EXPECT_TRUE(ForceDirectories(Deep));  // already there
  EXPECT_FALSE(FileExists(Deep));
  WriteAll(T.Path() + "f", "x");
  EXPECT_FALSE(ForceDirectories(T.Path() + "f/g"));  // a file in the way
  EXPECT_THROW(ForceDirectories(""), EInOutError);
  EXPECT_FALSE(RemoveDir(T.Path() + "a"));  // not empty
  EXPECT_TRUE(RemoveDir(T.Path() + "a/b/c"));
}

TEST(RenameFile, RefusesToReplaceAnExistingFile) {
  TTempDir T;
  const AnsiString A = T.Path() + "a", B = T.Path() + "b", C = T.Path() + "c";
  WriteAll(A, "1");
  WriteAll(B, "2");
  EXPECT_FALSE(RenameFile(A, B));
  EXPECT_EQ(ReadFile(B), "2");
  EXPECT_TRUE(RenameFile(A, C));
  EXPECT_FALSE(FileExists(A));
  EXPECT_EQ(ReadFile(C), "1");
  EXPECT_TRUE(DeleteFile(C));
  EXPECT_FALSE(DeleteFile(C));
  EXPECT_FALSE(DeleteFile(T.Path()));  // folders are not files
}

TEST(FileAge, PacksTheModificationTimeAsADosDate) {
  TTempDir T;
  const AnsiString F = T.Path() + "f";
  EXPECT_EQ(FileAge(F), -1);
  EXPECT_EQ(FileSizeByName(F), -1);
  WriteAll(F, "hello");
  EXPECT_EQ(FileSizeByName(F), 5);
  const Integer Age = FileAge(F);
  ASSERT_NE(Age, -1);
  const int Year = 1980 + ((static_cast<Cardinal>(Age) >> 25) & 0x7F);
  const int Month = (Age >> 21) & 0xF;
  EXPECT_GE(Year, 2020);
  EXPECT_GE(Month, 1);
  EXPECT_LE(Month, 12);
  EXPECT_EQ(FileAge(T.Path()), -1);
}

TEST(SaveFileAtomically, ReplacesTheContentAndKeepsPermissions) {
  TTempDir T;
  const AnsiString F = T.Path() + "settings.ini";
  SaveFileAtomically(F, "first");
  EXPECT_EQ(ReadFile(F), "first");
  ASSERT_EQ(::chmod(F.c_str(), 0640), 0);
  SaveFileAtomically(F, std::string("sec\0ond", 7));
  EXPECT_EQ(ReadFile(F), std::string("sec\0ond", 7));
  struct stat St;
  ASSERT_EQ(::stat(F.c_str(), &St), 0);
  EXPECT_EQ(St.st_mode & 0777, 0640u);
  EXPECT_EQ(T.Entries(), std::vector<AnsiString>{"settings.ini"});  // no temporary left behind
}

TEST(SaveFileAtomically, LeavesTheOriginalAndNoTemporaryWhenItFails) {
  TTempDir T;
  // The target is a folder: the temporary is made, then must be cleaned up.
  const AnsiString Folder = T.Path() + "target";
  ASSERT_TRUE(CreateDir(Folder));
  WriteAll(Folder + "/keep", "kept");
  try {
    SaveFileAtomically(Folder, "data");
    FAIL();
  } catch (const EFCreateError& E) {
    EXPECT_NE(E.Message().find("Cannot create file \"" + Folder + "\"."), AnsiString::npos) << E.Message();
  }
  EXPECT_EQ(T.Entries(), std::vector<AnsiString>{"target"});
  EXPECT_EQ(ReadFile(Folder + "/keep"), "kept");
  // The folder does not exist: nothing to create the temporary in.
  EXPECT_THROW(SaveFileAtomically(T.Path() + "missing/x.ini", "data"), EFCreateError);
  EXPECT_THROW(SaveFileAtomically("", "data"), EFCreateError);
}

TEST(SaveFileAtomically, LeavesTheOriginalWhenTheFolderIsReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TTempDir T;
  const AnsiString F = T.Path() + "settings.ini";
  WriteAll(F, "original");
  ASSERT_EQ(::chmod(T.Path().c_str(), 0555), 0);
  EXPECT_THROW(SaveFileAtomically(F, "new"), EFCreateError);
  ::chmod(T.Path().c_str(), 0755);
  EXPECT_EQ(ReadFile(F), "original");
  EXPECT_EQ(T.Entries(), std::vector<AnsiString>{"settings.ini"});
}

// The streaming form: until Commit the old file stands; a writer that
// gives up, or fails, leaves nothing of the new file behind.
TEST(TAtomicFileStream, ReplacesOnlyOnCommitAndLeavesNoTemporary) {
  TTempDir T;
  const AnsiString F = T.Path() + "out.html";
  SaveFileAtomically(F, "old");
  {
    TAtomicFileStream S(F);
    S.WriteBuffer("new, unfinished", 15);
    EXPECT_EQ(sxtest::ReadFile(F), "old");
  }  // given up
  EXPECT_EQ(sxtest::ReadFile(F), "old");
  EXPECT_EQ(T.Entries(), std::vector<AnsiString>{"out.html"});
  {
    TAtomicFileStream S(F);
    S.WriteBuffer("new", 3);
    S.Commit();
  }
  EXPECT_EQ(sxtest::ReadFile(F), "new");
  EXPECT_EQ(T.Entries(), std::vector<AnsiString>{"out.html"});
}

// A writer ended by a signal leaves its hidden temporary file; the next
// writer of the same name removes it. A live writer's file is left alone.
TEST(TAtomicFileStream, RemovesWhatAnEndedWriterLeftBehind) {
  TTempDir T;
  const pid_t Child = ::fork();
  if (Child == 0) {
    TAtomicFileStream S(T.Path() + "doc.pdf");
    S.WriteBuffer("half", 4);
    ::raise(SIGKILL);
  }
  int Status = 0;
  ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
  const AnsiString Stale = "." "doc.pdf." + std::to_string(Child) + ".part";
  ASSERT_EQ(T.Entries(), std::vector<AnsiString>{Stale});
  const AnsiString Live = ".doc.pdf." + std::to_string(::getppid()) + ".part";
  SaveFileAtomically(T.Path() + Live, "");
  SaveFileAtomically(T.Path() + "doc.pdf", "whole");
  std::vector<AnsiString> Left = T.Entries();
  std::sort(Left.begin(), Left.end());
  EXPECT_EQ(Left, (std::vector<AnsiString>{Live, "doc.pdf"}));
}

// A write that the system refuses names the file and the reason.
TEST(TAtomicFileStream, AFailedWriteNamesTheFileAndTheReason) {
  TTempDir T;
  const AnsiString F = T.Path() + "big.rtf";
  // A file size limit stands in for a full disk.
  const pid_t Child = ::fork();
  if (Child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit L{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &L);
    const std::string Big(10000, 'x');
    try {
      TAtomicFileStream S(F);
      S.WriteBuffer(Big.data(), Integer(Big.size()));
      S.Commit();
    } catch (const EWriteError& E) {
      const bool Named = E.Message().find("Stream write error") == 0 && E.Message().find(F) != AnsiString::npos &&
                         E.Message().find("too large") != AnsiString::npos;
      ::_exit(Named ? 0 : 2);
    }
    ::_exit(1);
  }
  int Status = 0;
  ASSERT_EQ(::waitpid(Child, &Status, 0), Child);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0);
  EXPECT_TRUE(T.Entries().empty());
}

TEST(GetTempFileNameA, CreatesAUniqueEmptyFileWithThePrefix) {
  TTempDir T;
  char A[MAX_PATH], B[MAX_PATH];
  const UINT NA = GetTempFileNameA(T.Path().c_str(), "print.rtf", 0, A);
  const UINT NB = GetTempFileNameA(T.Path().c_str(), "print.rtf", 0, B);
  ASSERT_NE(NA, 0u);
  ASSERT_NE(NB, 0u);
  EXPECT_STRNE(A, B);
  EXPECT_EQ(ExtractFileName(A).substr(0, 3), "pri");
  EXPECT_EQ(ExtractFileExt(A), ".tmp");
  EXPECT_EQ(ExtractFilePath(A), T.Path());
  EXPECT_TRUE(FileExists(A));
  EXPECT_EQ(FileSizeByName(A), 0);
  // A given number names a file without creating it.
  char C[MAX_PATH];
  EXPECT_EQ(GetTempFileNameA(T.Path().c_str(), "ab", 0x1A2B, C), 0x1A2Bu);
  EXPECT_EQ(AnsiString(C), T.Path() + "ab1A2B.tmp");
  EXPECT_FALSE(FileExists(C));
  EXPECT_EQ(CreateTempFileName(T.Path() + "missing", "x"), "");
}

TEST(ExeName, NamesTheRunningTestProgram) {
  const AnsiString Exe = ExeName();
  ASSERT_FALSE(Exe.empty());
  EXPECT_EQ(Exe[0], PathDelim);
  EXPECT_TRUE(FileExists(Exe));
  EXPECT_EQ(ExeDir(), ExtractFilePath(Exe));
  EXPECT_EQ(ExeDir().back(), PathDelim);
}

}  // namespace
