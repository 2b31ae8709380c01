// The file dialogs' model of a folder: what is listed and in what order,
// the filter texts, the places and the reading of typed paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utime.h>

#include "support/ScopedEnv.h"
#include "platform/forms/FileListModel.h"
#include "support/ScratchDir.h"

namespace {
std::vector<std::string> Names(const TFileListModel& M) {
  std::vector<std::string> R;
  for (Integer i = 0; i < M.Count(); ++i) R.push_back(M.Entry(i).Name);
  return R;
}

void Write(const std::string& Path, size_t Size, time_t MTime) {
  std::ofstream(Path, std::ios::binary) << std::string(Size, 'x');
  utimbuf T{MTime, MTime};
  utime(Path.c_str(), &T);
}

using sxtest::TEnvVar;
}  // namespace

TEST(TFileListModel, ListsFoldersFirstHidesDotNamesAndFiltersFilesOnly) {
  sxtest::TScratchDir D("model");
  std::filesystem::create_directories(D.Path() / "Zeta");
  std::filesystem::create_directories(D.Path() / "alpha.rtf.d");
  std::filesystem::create_directories(D.Path() / ".config");
  for (const char* N : {"b.RTF", "a.rtf", "notes.txt", ".hidden.rtf", "C.doc"}) Write(D / N, 1, 1000);
  TFileListModel M;
  AnsiString Error;
  ASSERT_TRUE(M.Load(D.Path().string(), Error)) << Error;
  EXPECT_EQ(M.Folder(), D.Path().string() + "/");
  EXPECT_EQ(M.TotalCount(), 8);
  EXPECT_EQ(Names(M), (std::vector<std::string>{"alpha.rtf.d", "Zeta", "a.rtf", "b.RTF", "C.doc", "notes.txt"}))
      << "folders first, names without regard to case, dot names hidden";
  M.SetMask("*.rtf;*.doc");
  EXPECT_EQ(Names(M), (std::vector<std::string>{"alpha.rtf.d", "Zeta", "a.rtf", "b.RTF", "C.doc"}))
      << "the mask picks files (any case); folders stay to be opened";
  M.SetShowHidden(true);
  EXPECT_EQ(Names(M), (std::vector<std::string>{".config", "alpha.rtf.d", "Zeta", ".hidden.rtf", "a.rtf", "b.RTF",
                                                "C.doc"}));
  EXPECT_EQ(M.IndexOf("b.RTF"), 5);
  EXPECT_EQ(M.IndexOf("b.rtf"), -1) << "a name is found by its exact bytes";
}

TEST(TFileListModel, SortsByEachColumnBothWaysKeepingFoldersFirst) {
  sxtest::TScratchDir D("sort");
  std::filesystem::create_directories(D.Path() / "dir");
  Write(D / "small-new", 10, 3000);
  Write(D / "big-old", 900, 1000);
  Write(D / "mid-mid", 100, 2000);
  TFileListModel M;
  AnsiString Error;
  ASSERT_TRUE(M.Load(D.Path().string(), Error));
  struct TCase {
    TFileSortColumn Column;
    bool Ascending;
    std::vector<std::string> Want;
  };
  const TCase Cases[] = {
      {TFileSortColumn::Name, true, {"dir", "big-old", "mid-mid", "small-new"}},
      {TFileSortColumn::Name, false, {"dir", "small-new", "mid-mid", "big-old"}},
      {TFileSortColumn::Size, true, {"dir", "small-new", "mid-mid", "big-old"}},
      {TFileSortColumn::Size, false, {"dir", "big-old", "mid-mid", "small-new"}},
      {TFileSortColumn::Modified, true, {"dir", "big-old", "mid-mid", "small-new"}},
      {TFileSortColumn::Modified, false, {"dir", "small-new", "mid-mid", "big-old"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Column) * 2 + C.Ascending);
    M.SetSort(C.Column, C.Ascending);
    EXPECT_EQ(Names(M), C.Want);
  }
  EXPECT_EQ(M.Entry(1).Size, 10);
  EXPECT_EQ(M.Entry(0).Size, 0) << "a folder has no size";
}

TEST(TFileListModel, AFolderThatCannotBeReadIsReportedAndTheOldListStays) {
  sxtest::TScratchDir D("unreadable");
  Write(D / "kept.rtf", 1, 1000);
  const std::string File = D / "kept.rtf";
  TFileListModel M;
  AnsiString Error;
  ASSERT_TRUE(M.Load(D.Path().string(), Error));
  std::vector<std::string> Bad = {D / "missing", File};
  // Root reads any folder whatever its mode, so a locked folder only
  // counts for other users.
  if (geteuid() != 0) {
    std::filesystem::create_directories(D.Path() / "locked");
    chmod((D / "locked").c_str(), 0);
    Bad.push_back(D / "locked");
  }
  for (const std::string& Path : Bad) {
    SCOPED_TRACE(Path);
    Error.clear();
    EXPECT_FALSE(M.Load(Path, Error));
    EXPECT_NE(Error.find(Path), AnsiString::npos) << Error;
    EXPECT_EQ(Names(M), std::vector<std::string>{"kept.rtf"});
    EXPECT_EQ(M.Folder(), D.Path().string() + "/");
  }
  chmod((D / "locked").c_str(), 0755);
}

TEST(TFileListModel, ListsEveryEntryOfALargeFolderAndNamesInAnyScript) {
  sxtest::TScratchDir D("large");
  for (int i = 0; i < 50000; ++i) std::ofstream(D / std::string(1, 'f').append(std::to_string(i)).append(".rtf"));
  // UTF-8 names the ANSI code page cannot hold, and bytes that are not
  // UTF-8 at all: listed with their exact bytes.
  const std::string Cyrillic = "\xD0\x96\xD1\x83\xD0\xBA.rtf";
  const std::string Broken = "bad\xFF\xFE.rtf";
  std::ofstream(D / Cyrillic);
  std::ofstream(D / Broken);
  TFileListModel M;
  AnsiString Error;
  ASSERT_TRUE(M.Load(D.Path().string(), Error));
  EXPECT_EQ(M.Count(), 50002);
  EXPECT_GE(M.IndexOf(Cyrillic), 0);
  EXPECT_GE(M.IndexOf(Broken), 0);
  EXPECT_EQ(M.Entry(0).Name, "bad\xFF\xFE.rtf");
  EXPECT_EQ(M.Entry(1).Name, "f0.rtf");
  EXPECT_EQ(M.Entry(M.Count() - 1).Name, Cyrillic) << "bytes above ASCII sort last";
}

TEST(FileDialogText, FilterListsPairDescriptionsWithMasks) {
  struct TCase {
    const char* Filter;
    std::vector<std::pair<std::string, std::string>> Want;
  };
  const TCase Cases[] = {
      {"RTF Files (*.rtf;*.doc;)|*.rtf;*.doc;|All Files (*.*)|*.*",
       {{"RTF Files (*.rtf;*.doc;)", "*.rtf;*.doc;"}, {"All Files (*.*)", "*.*"}}},
      {"Color scheme (*.rgb)|*.RGB", {{"Color scheme (*.rgb)", "*.RGB"}}},
      {"Only a description", {{"Only a description", "*"}}},
      {"", {}},
      {"||Text|*.txt|", {{"Text", "*.txt"}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Filter);
    std::vector<std::pair<std::string, std::string>> Got;
    for (const TFileFilter& F : ParseFileFilter(C.Filter)) Got.push_back({F.Description, F.Mask});
    EXPECT_EQ(Got, C.Want);
  }
}

TEST(FileDialogText, TypedPathsAreReadAsAFileChooserReadsThem) {
  TEnvVar Home("HOME", "/home/tester");
  struct TCase {
    const char* Typed;
    const char* Want;
  };
  const TCase Cases[] = {
      {"~", "/home/tester"},
      {"~/", "/home/tester/"},
      {"~/docs/a.rtf", "/home/tester/docs/a.rtf"},
      {"b.rtf", "/work/in/b.rtf"},
      {"../out/c.rtf", "/work/out/c.rtf"},
      {"./sub/", "/work/in/sub/"},
      {"/etc/../tmp/./x", "/tmp/x"},
      {"../../../..", "/"},
      {"~other/x", "/work/in/~other/x"},
      {"", ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Typed);
    EXPECT_EQ(ExpandTypedPath(C.Typed, "/work/in/"), C.Want);
  }
}

TEST(FileDialogText, SeveralQuotedNamesSplitAndAPlainNameStaysWhole) {
  struct TCase {
    const char* Text;
    std::vector<std::string> Want;
  };
  const TCase Cases[] = {
      {"\"a.rtf\" \"b c.rtf\"", {"a.rtf", "b c.rtf"}},
      {"my file.rtf", {"my file.rtf"}},
      {"\"only.rtf\"", {"only.rtf"}},
      {"\"open.rtf", {"open.rtf"}},
      {"\"\" \"x\"", {"x"}},
      {"", {}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    const std::vector<AnsiString> Got = SplitTypedNames(C.Text);
    EXPECT_EQ(std::vector<std::string>(Got.begin(), Got.end()), C.Want);
  }
}

TEST(FilePlaces, HomeDesktopRootAndMountedVolumes) {
  sxtest::TScratchDir D("places");
  std::filesystem::create_directories(D.Path() / "home" / "Schreibtisch");
  std::filesystem::create_directories(D.Path() / "config");
  std::ofstream(D / "config/user-dirs.dirs") << "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  std::ofstream(D / "mounts") << "proc /proc proc rw 0 0\n"
                                 "/dev/sdb1 /media/tester/USB\\040STICK vfat rw 0 0\n"
                                 "/dev/sdc1 /mnt/backup ext4 rw 0 0\n"
                                 "tmpfs /run/user/0 tmpfs rw 0 0\n";
  TEnvVar Home("HOME", D / "home");
  TEnvVar Config("XDG_CONFIG_HOME", D / "config");
  std::vector<std::pair<std::string, std::string>> Got;
  for (const TFilePlace& P : FilePlaces(D / "mounts")) Got.push_back({P.Caption, P.Path});
  const std::vector<std::pair<std::string, std::string>> Want = {
      {"Home", D / "home/"},
      {"Desktop", D / "home/Schreibtisch/"},
      {"File System", "/"},
      {"USB STICK", "/media/tester/USB STICK/"},
      {"backup", "/mnt/backup/"},
  };
  EXPECT_EQ(Got, Want);
}
