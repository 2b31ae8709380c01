#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/controls/DCMemo.h"
#include "editor/exchange/DCRtfImporter.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/ObjectText.h"
#include "support/TestFiles.h"

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
  static std::string Read(const std::string& Path) { return sxtest::ReadFile(Path); }
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

TEST(TCustomDCMemo, NewEditorPublishesItsDocumentedDefaults) {
  TDCMemo M(nullptr);
  EXPECT_EQ(M.GetKeyMapping(), "Default");
  EXPECT_EQ(M.GetMarginPos(), 80);
  EXPECT_EQ(M.GetGutterWidth(), 32);
  EXPECT_EQ(M.GetHorzMaxPos(), 512);
  EXPECT_EQ(M.GetBlockOption(), bkBoth);
  EXPECT_EQ(M.GetClipboardType(), cbNormal);
  EXPECT_TRUE(M.GetPlainText());
  EXPECT_TRUE(M.GetUseMonoFont());
  EXPECT_TRUE(M.GetWantReturns());
  EXPECT_FALSE(M.GetWantTabs());
  EXPECT_EQ(M.GetLineNumColor(), clBlack) << "the Font colour at creation";
  EXPECT_EQ(M.GetGutterBackColor(), clWindow);
  EXPECT_EQ(M.GetPrintOptions(), TDCPrintOptions{poShowProgress});
  EXPECT_EQ(M.GetTemplateFont()->GetName(), "MS Sans Serif");
  EXPECT_EQ(M.GetTemplateFont()->GetSize(), 8);
  EXPECT_EQ(M.GetPrinterFont()->GetName(), "Courier New");
  EXPECT_EQ(M.GetMarginPen()->GetColor(), clGrayText);
  EXPECT_EQ(M.GetGutterBrush()->GetColor(), clBtnFace);
  EXPECT_EQ(M.GetSyntaxParser(), nullptr);
}

TEST(TCustomDCMemo, RangeLimitedPropertiesIgnoreOrClampBadValues) {
  struct TCase { Integer Set, Want; const char* Why; };
  const TCase Horz[] = {{39, 512, "below 40 ignored"}, {40, 40, "40 taken"}, {9999, 9999, "9999 taken"},
                        {10000, 9999, "above 9999 ignored"}};
  TDCMemo M(nullptr);
  for (const auto& C : Horz) {
    SCOPED_TRACE(C.Why);
    M.SetHorzMaxPos(C.Set);
    EXPECT_EQ(M.GetHorzMaxPos(), C.Want);
  }
  M.SetLeftIndent(-5);
  EXPECT_EQ(M.GetLeftIndent(), 0);
}

TEST(TCustomDCMemo, WordWrapAndProportionalLayoutReduceTheBlockOptionWhileOn) {
  struct TCase { TBlockOption Before, While; };
  const TCase Cases[] = {{bkBoth, bkStreamSel}, {bkBlockSel, bkNone}, {bkStreamSel, bkStreamSel}, {bkNone, bkNone}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Before));
    TDCMemo M(nullptr);
    M.SetBlockOption(C.Before);
    M.SetWordWrap(true);
    EXPECT_EQ(M.GetBlockOption(), C.While);
    M.SetUseMonoFont(false);
    M.SetWordWrap(false);
    EXPECT_EQ(M.GetBlockOption(), C.While) << "proportional layout still reduces it";
    M.SetUseMonoFont(true);
    EXPECT_EQ(M.GetBlockOption(), C.Before);
  }
  TDCMemo M(nullptr);
  M.SetWordWrap(true);
  M.SetBlockOption(bkBlockSel);
  M.SetWordWrap(false);
  EXPECT_EQ(M.GetBlockOption(), bkBlockSel) << "an assignment in between wins";
}

TEST(TCustomDCMemo, RtfClipboardInstallsAnAttributeParserOnlyWithoutAParser) {
  TDCMemo M(nullptr);
  M.SetPlainText(false);
  EXPECT_EQ(M.GetClipboardType(), cbRtf);
  EXPECT_NE(dynamic_cast<TAttributeParser*>(M.GetSyntaxParser()), nullptr);
  TDCMemo Other(nullptr);
  struct TPlainParser : TSimpleParser {
    TPlainParser() : TSimpleParser(nullptr) {}
    Integer ParseLine(const AnsiString&, Integer State, AnsiString&) override { return State; }
  } Own;
  Other.SetSyntaxParser(&Own);
  Other.SetClipboardType(cbRtf);
  EXPECT_EQ(Other.GetSyntaxParser(), &Own);
  Other.SetSyntaxParser(nullptr);
}

TEST(TCustomDCMemo, FormDescriptionRoundTripsThePublishedProperties) {
  TDCMemo M(nullptr);
  M.SetName("DCMemo");
  M.SetKeyMapping("Visual Studio");
  M.SetWordWrap(true);
  M.SetWantTabs(true);
  M.SetBlockIndent(4);
  M.SetScrollBars(ssVertical);
  M.SetSelBackColor(clNavy);
  M.SetOptions(TMemoOptions{moDrawGutter, moLineNumbers});
  M.GetFont()->SetName("Tahoma");
  const AnsiString Text = ComponentToText(&M);
  TDCMemo Back(nullptr);
  TextToComponent(Text, &Back);
  EXPECT_EQ(Back.GetKeyMapping(), "Visual Studio");
  EXPECT_TRUE(Back.GetWordWrap());
  EXPECT_TRUE(Back.GetWantTabs());
  EXPECT_EQ(Back.GetBlockIndent(), 4);
  EXPECT_EQ(Back.GetScrollBars(), ssVertical);
  EXPECT_EQ(Back.GetSelBackColor(), clNavy);
  EXPECT_EQ(Back.GetOptions(), (TMemoOptions{moDrawGutter, moLineNumbers}));
  EXPECT_EQ(Back.GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(Back.GetBlockOption(), bkStreamSel) << "word wrap reduced it again";
  EXPECT_EQ(ComponentToText(&Back), Text);
}

// A plain-text file is text, whatever bytes it starts with or carries.
TEST_F(TMemoFiles, PlainTextReadsItsByteOrderMarkAndKeepsWhatFollowsANul) {
  using namespace std::string_literals;
  struct TCase { std::string Bytes; const char* Want; const char* Why; };
  const TCase Cases[] = {
      {"\xEF\xBB\xBFH\xC3\xA9\r\nx"s, "H\xe9\r\nx", "UTF-8 with a byte-order mark"},
      {"\xFF\xFEH\0\xE9\0\r\0\n\0x\0"s, "H\xe9\r\nx", "UTF-16 little-endian"},
      {"\xFE\xFF\0H\0\xE9\0\r\0\n\0x"s, "H\xe9\r\nx", "UTF-16 big-endian"},
      {"\xFF\xFE\x23\x04"s, "?", "a character the editor's code page lacks"},
      {"a\0b\r\n\0c"s, "ab\r\nc", "NUL bytes are dropped, the rest arrives"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string File = Write("doc.txt", C.Bytes);
    TDCMemo Loaded(nullptr);
    Loaded.LoadFromFile(File);
    EXPECT_EQ(Loaded.GetText(), C.Want);
    TDCMemo Imported(nullptr);
    Imported.ImportFromFile(File);
    EXPECT_EQ(Imported.GetText(), C.Want);
  }
}

// After a column copy, plain text goes in as a column block, as a paste of
// lines does, in one change of the line insert.
TEST(TCustomDCMemo, PlainImportAfterAColumnCopyInsertsAColumnBlock) {
  TDCMemo M(nullptr);
  M.SetBlockOption(bkBlockSel);
  M.SetText("abc\r\ndef");
  M.GetSource()->SetCaret(1, 0);
  const bool OldBlockCopy = TCustomMemoSource::GetBlockCopy();
  TCustomMemoSource::SetBlockCopy(true);
  TStringStream S("X\r\nY");
  M.ImportWith(&S, TDCRtfImporter::StaticClass());
  TCustomMemoSource::SetBlockCopy(OldBlockCopy);
  EXPECT_EQ(M.GetText(), "aXbc\r\ndYef");
  EXPECT_EQ(M.GetSource()->GetSelectionType(), stNotSelected);
}
