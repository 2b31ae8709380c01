#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/controls/DCMemo.h"

namespace {

namespace fs = std::filesystem;

class TMemoFiles : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("sx_memo_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  std::string Write(const std::string& Name, const std::string& Bytes) {
    const fs::path P = Dir / Name;
    std::ofstream(P, std::ios::binary) << Bytes;
    return P.string();
  }
  static std::string Read(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Ss;
    Ss << In.rdbuf();
    return Ss.str();
  }
  fs::path Dir;
};

}  // namespace

TEST(TCustomDCMemo, NewEditorHasItsDefaults) {
  TDCMemo M(nullptr);
  EXPECT_EQ(M.GetOptions(), (TMemoOptions{moThumbTracking, moColorSyntax}));
  EXPECT_EQ(M.GetWidth(), 185);
  EXPECT_EQ(M.GetHeight(), 89);
  EXPECT_EQ(M.GetFont()->GetName(), "Courier New");
  EXPECT_EQ(M.GetFont()->GetSize(), 10);
  EXPECT_EQ(M.GetColor(), clWindow);
  EXPECT_EQ(M.GetTextStyles()->Count(), TTextStyles::DefaultStyleCount);
}

TEST(TCustomDCMemo, SetTextSplitsAtEveryLineEndAndGetTextJoinsWithCrLf) {
  TDCMemo M(nullptr);
  M.SetText("a\rb\nc");
  EXPECT_EQ(M.GetLines()->GetCount(), 3);
  EXPECT_EQ(M.GetText(), "a\r\nb\r\nc");
  EXPECT_EQ(M.GetSource()->GetCaretPoint(), (TPoint{0, 0}));
}

TEST(TCustomDCMemo, FreedMemoSourceReturnsTheEditorToItsOwnText) {
  TDCMemo M(nullptr);
  M.SetText("own");
  {
    TMemoSource External(nullptr);
    M.SetMemoSource(&External);
    M.SetText("shared");
    EXPECT_EQ(External.GetLines()->GetText(), "shared");
  }
  EXPECT_EQ(M.GetMemoSource(), nullptr);
  EXPECT_EQ(M.GetText(), "own");
}

TEST_F(TMemoFiles, LoadThenSaveDropsTheFinalLineEndAndRecordsTheName) {
  TDCMemo M(nullptr);
  const std::string In = Write("in.txt", "x\r\ny\r\n");
  M.LoadFromFile(In);
  EXPECT_EQ(M.GetText(), "x\r\ny");
  EXPECT_EQ(M.GetSource()->GetObjectName(), In);
  EXPECT_FALSE(M.GetModified());
  const std::string Out = (Dir / "out.txt").string();
  M.SaveToFile(Out);
  EXPECT_EQ(Read(Out), "x\r\ny");
  EXPECT_EQ(M.GetSource()->GetObjectName(), Out);
  M.SetOutFormat(ofUnix);
  M.SaveToFile(Out);
  EXPECT_EQ(Read(Out), "x\ny\n");
}

TEST_F(TMemoFiles, ImportChoosesRtfOnlyForTheExactSignature) {
  struct TCase { const char* Bytes; const char* Want; const char* Why; };
  const TCase Cases[] = {
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par World\\tab!}", "Hello\r\nWorld\t!", "RTF document"},
      {"{\\rtf", "", "the five signature bytes alone are RTF"},
      {"{\\rt", "{\\rt", "four bytes are plain text"},
      {"{\\RTF1 x}", "{\\RTF1 x}", "the signature is case-sensitive"},
      {"one\r\ntwo\r\n", "one\r\ntwo", "plain lines"},
      {"", "", "an empty file empties the editor"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDCMemo M(nullptr);
    M.SetStringsOptions(M.GetStringsOptions() + TStringsOptions{soUseTabCharacter});
    M.SetText("old text");
    M.SetModified(true);
    M.ImportFromFile(Write("doc.rtf", C.Bytes));
    EXPECT_EQ(M.GetText(), C.Want);
    EXPECT_FALSE(M.GetModified());
    EXPECT_FALSE(M.GetSource()->CanUndo());
    EXPECT_EQ(M.GetSource()->GetCaretPoint(), (TPoint{0, 0}));
  }
}

TEST_F(TMemoFiles, MissingFileLeavesTheTextAlone) {
  TDCMemo M(nullptr);
  M.SetText("keep");
  EXPECT_THROW(M.ImportFromFile((Dir / "none.rtf").string()), EFOpenError);
  EXPECT_THROW(M.LoadFromFile((Dir / "none.txt").string()), EFOpenError);
  EXPECT_EQ(M.GetText(), "keep");
}

TEST_F(TMemoFiles, ImportedDocumentExportsToHtmlAndRtfFiles) {
  TDCMemo M(nullptr);
  M.ImportFromFile(Write("doc.rtf", "{\\rtf1 Fish & chips\\par <b>}"));
  const std::string Html = (Dir / "doc.htm").string(), Rtf = (Dir / "doc.rtf2").string();
  M.ExportToHtmlFile(Html);
  M.ExportToRtfFile(Rtf);
  EXPECT_NE(Read(Html).find("Fish&nbsp;&amp;&nbsp;chips"), std::string::npos) << Read(Html);
  EXPECT_NE(Read(Html).find("&lt;b&gt;"), std::string::npos) << Read(Html);
  const std::string R = Read(Rtf);
  EXPECT_EQ(R.rfind("{\\rtf", 0), 0u) << R;
  // The written RTF imports back to the same text.
  TDCMemo Back(nullptr);
  Back.ImportFromFile(Rtf);
  EXPECT_EQ(Back.GetText(), M.GetText());
}
