#include <sys/stat.h>

#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "DesktopFixtures.h"
#include "platform/rtl/FileUtils.h"

namespace {
// Every name a search finds, with its attributes, in order.
std::vector<std::pair<std::string, Integer>> Search(const std::string& Path, Integer Attr, Integer* First = nullptr) {
  std::vector<std::pair<std::string, Integer>> R;
  TSearchRec F;
  const Integer Rc = FindFirst(Path, Attr, F);
  if (First) *First = Rc;
  if (Rc != 0) return R;
  do R.emplace_back(F.Name, F.Attr);
  while (FindNext(F) == 0);
  EXPECT_EQ(FindNext(F), Integer(ERROR_NO_MORE_FILES));
  FindClose(F);
  return R;
}

class FindFirstTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::ofstream(D / "b.RTF") << "12345";
    std::ofstream(D / "a.rtf") << "1";
    std::ofstream(D / "notes.txt") << "";
    std::ofstream(D / ".hidden.rtf") << "";
    std::ofstream(D / "locked.rtf") << "";
    ::chmod((D / "locked.rtf").c_str(), 0444);
    std::filesystem::create_directories(D.Path() / "sub.rtf");
  }
  sxtest::TScratchDir D{"find"};
};
}  // namespace

TEST_F(FindFirstTest, MaskAndAttributesChooseTheEntries) {
  using TList = std::vector<std::pair<std::string, Integer>>;
  struct TCase { std::string Mask; Integer Attr; TList Want; const char* Why; };
  const TCase Cases[] = {
      {"*.rtf", 0, {{"a.rtf", faArchive}, {"b.RTF", faArchive}, {"locked.rtf", faArchive | faReadOnly}},
       "files only, case ignored, sorted"},
      {"*.rtf", faDirectory,
       {{"a.rtf", faArchive}, {"b.RTF", faArchive}, {"locked.rtf", faArchive | faReadOnly},
        {"sub.rtf", faDirectory}},
       "folders when asked"},
      {"?.rtf", faAnyFile, {{"a.rtf", faArchive}, {"b.RTF", faArchive}}, "one character"},
      {"*.rtf", faHidden,
       {{".hidden.rtf", faArchive | faHidden}, {"a.rtf", faArchive}, {"b.RTF", faArchive},
        {"locked.rtf", faArchive | faReadOnly}},
       "hidden names when asked"},
      {"NOTES.TXT", 0, {{"notes.txt", faArchive}}, "a plain name"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Why);
    EXPECT_EQ(Search(D / T.Mask, T.Attr), T.Want);
  }
  // "*.*" and "*" list every entry, the folder's own two included.
  for (const char* Mask : {"*", "*.*"}) {
    auto All = Search(D / Mask, faAnyFile);
    ASSERT_EQ(All.size(), 8u) << Mask;
    EXPECT_EQ(All[0], std::make_pair(std::string("."), faDirectory));
    EXPECT_EQ(All[1], std::make_pair(std::string(".."), faDirectory));
  }
}

TEST_F(FindFirstTest, SizeTimeAndFailures) {
  TSearchRec F;
  ASSERT_EQ(FindFirst(D / "b.rtf", faAnyFile, F), 0);
  EXPECT_EQ(F.Size, 5);
  EXPECT_EQ(F.Time, FileAge(D / "b.RTF"));
  FindClose(F);
  FindClose(F);  // twice is harmless
  Integer Rc = 0;
  EXPECT_TRUE(Search(D / "*.doc", faAnyFile, &Rc).empty());
  EXPECT_EQ(Rc, Integer(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(Search(D / "missing/*.rtf", faAnyFile, &Rc).empty());
  EXPECT_EQ(Rc, Integer(ERROR_PATH_NOT_FOUND));
}
