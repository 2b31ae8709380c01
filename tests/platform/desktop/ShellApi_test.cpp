#include "platform/shell/ShellApi.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "DesktopFixtures.h"
#include "support/TestFiles.h"

namespace {
// A fake opener first on PATH that writes its arguments, one "<...>" per
// line, to a log and ends with the status the test asks for.
class ShellExecuteTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* Old = std::getenv("PATH");
    FOldPath = Old ? Old : "";
    std::filesystem::create_directories(FDir.Path() / "bin");
    WriteOpener(0);
    setenv("PATH", ((FDir.Path() / "bin").string() + ":" + FOldPath).c_str(), 1);
  }
  void TearDown() override { setenv("PATH", FOldPath.c_str(), 1); }

  void WriteOpener(int Status) {
    const std::string Opener = FDir / "bin/xdg-open";
    std::ofstream(Opener) << "#!/bin/sh\nfor a; do printf '<%s>\\n' \"$a\"; done > '" << Log() << ".part'\n"
                          << "mv '" << Log() << ".part' '" << Log() << "'\nexit " << Status << "\n";
    ::chmod(Opener.c_str(), 0755);
  }
  std::string Log() const { return FDir / "opener.log"; }
  // What the opener got (empty when it did not run), and forgets it.
  std::string TakeLog() {
    std::string S = sxtest::ReadFile(Log());
    std::filesystem::remove(Log());
    return S;
  }

  sxtest::TScratchDir FDir{"shell"};
  std::string FOldPath;
};
}  // namespace

TEST_F(ShellExecuteTest, OpensFilesFoldersAndAddressesWithExactlyThatArgument) {
  const std::string Doc = FDir / "my report (1) $x;.rtf";
  std::ofstream(Doc) << "{\\rtf1 x}";
  std::filesystem::create_directories(FDir.Path() / "out dir");
  struct TCase { const char* Verb; std::string File; const char* Dir; std::string Want; const char* Why; };
  const TCase Cases[] = {
      {"open", Doc, nullptr, Doc, "a document with blanks and shell characters"},
      {"Open", "my report (1) $x;.rtf", FDir.Path().c_str(), Doc, "relative to the given folder"},
      {nullptr, FDir / "out dir", nullptr, FDir / "out dir", "a folder, default verb"},
      {"open", "https://example.org/a?b=c&d=e", nullptr, "https://example.org/a?b=c&d=e", "a web address"},
      {"OPEN", "mailto:support@example.org", nullptr, "mailto:support@example.org", "a mail address"},
      {"", "www.example.org", nullptr, "http://www.example.org", "a bare www address"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Why);
    const int R = ShellExecuteResult(ShellExecuteA(nullptr, T.Verb, T.File.c_str(), nullptr, T.Dir, SW_SHOWNORMAL));
    EXPECT_GT(R, 32);
    EXPECT_EQ(TakeLog(), "<" + T.Want + ">\n");
  }
}

TEST_F(ShellExecuteTest, RefusesWhatIsNotADocumentOrWebAddress) {
  const std::string Doc = FDir / "doc.rtf";
  std::ofstream(Doc) << "x";
  struct TCase { const char* Verb; const char* File; int Error; const char* Why; };
  const TCase Cases[] = {
      {"open", "", ERROR_BAD_FORMAT, "empty"},
      {"open", nullptr, ERROR_BAD_FORMAT, "no name"},
      {"open", "ftp://example.org/x", SE_ERR_NOASSOC, "another scheme"},
      {"open", "javascript:alert(1)", SE_ERR_NOASSOC, "a script address"},
      {"open", "file:///etc/passwd", SE_ERR_NOASSOC, "a file address"},
      {"open", "http://a b", ERROR_BAD_FORMAT, "a blank in an address"},
      {"open", "https://x.org/\n--help", ERROR_BAD_FORMAT, "a control character"},
      {"open", "http://", ERROR_BAD_FORMAT, "a scheme alone"},
      {"print", Doc.c_str(), SE_ERR_NOASSOC, "a verb other than open"},
      {"open", "-no-such-file.rtf", SE_ERR_FNF, "a missing file"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Why);
    EXPECT_EQ(ShellExecuteResult(ShellExecuteA(nullptr, T.Verb, T.File, nullptr, nullptr, SW_SHOW)), T.Error);
    EXPECT_EQ(TakeLog(), "") << "the opener must not run";
  }
  const std::string Long = "https://example.org/" + std::string(ShellMaxAddressLength, 'a');
  EXPECT_EQ(ShellExecuteResult(ShellExecuteA(nullptr, "open", Long.c_str(), nullptr, nullptr, SW_SHOW)),
            ERROR_BAD_FORMAT);
}

TEST_F(ShellExecuteTest, OpenerFailuresBecomeShellErrors) {
  const std::string Doc = FDir / "doc.rtf";
  std::ofstream(Doc) << "x";
  struct TCase { int Status; int Want; };
  for (const TCase T : {TCase{2, SE_ERR_FNF}, TCase{3, SE_ERR_NOASSOC}, TCase{4, SE_ERR_NOASSOC}}) {
    SCOPED_TRACE(T.Status);
    WriteOpener(T.Status);
    EXPECT_EQ(ShellExecuteResult(ShellExecuteA(nullptr, "open", Doc.c_str(), nullptr, nullptr, SW_SHOW)), T.Want);
  }
  // No opener on PATH at all.
  setenv("PATH", (FDir / "nothing-here").c_str(), 1);
  EXPECT_EQ(ShellExecuteResult(ShellExecuteA(nullptr, "open", Doc.c_str(), nullptr, nullptr, SW_SHOW)),
            SE_ERR_NOASSOC);
}
