#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ImportRecorder.h"
#include "support/TestFiles.h"

namespace {

using TRuns = std::vector<std::string>;

TRuns RunsOf(const std::string& Rtf) { return TImportRecorder::Run(Rtf)->Runs; }
std::string TextOf(const std::string& Rtf) { return TImportRecorder::Run(Rtf)->Text; }

const char* const TwoFonts =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1 Times New Roman;}}"
    "\\f0\\fs20 Hello\\par\\f1\\b World}";

}  // namespace

TEST(TDCRtfImporter, FontTableRunsComeWithFaceCharsetSizeAndStyle) {
  // The pending charset is reset after the first name, so the second font is charset 0.
  EXPECT_EQ(RunsOf(TwoFonts), (TRuns{"Hello|Arial|0|10||0|-1", "<CRLF>|Arial|0|10||0|-1",
                                     "World|Times New Roman|0|10|b|0|-1"}));
}

TEST(TDCRtfImporter, DocumentWithoutFontTableStillImportsItsText) {
  EXPECT_EQ(TextOf("{\\rtf1\\ansi\\deff0\\f0\\fs20 Hello\\par\\f1\\b World}"), "Hello\r\nWorld");
}

struct TTextCase {
  const char* Rtf;
  const char* Want;
  const char* Why;
};

TEST(TDCRtfImporter, TextComesOutAsTheDocumentMeansIt) {
  const TTextCase Cases[] = {
      {"{\\rtf1{\\*\\generator Writer 1.0;}{\\stylesheet{\\s0 Normal;}}T}", "T", "starred and style-sheet groups are dropped"},
      {"{\\rtf1{\\s1 Styled}{\\pnlvlblt B}{\\pntext A}}", "StyledBA", "paragraph-style and list groups are text (no substring match)"},
      {"{\\rtf1{\\info{\\title T}{\\author A}{\\operator O}}x}", "x", "title, author and operator are dropped"},
      {"{\\rtf1{\\pict\\wmetafile8 0102}{\\object x}y}", "y", "pictures and objects are dropped"},
      {"{\\rtf1{\\pict\\bin3 }{}}z}", "z", "binary picture data with braces is stepped over"},
      {"{\\rtf1 a\\\\b\\{c\\}}", "a\\b{c}", "escaped backslash and braces are literal"},
      {"{\\rtf1 a\\~b\\-c}", "a b-c", "non-breaking space is a blank; optional hyphen leaves a -"},
      {"{\\rtf1 a\\tab b\\cell c\\row d\\line e}", "a\tb\tc\r\nd\r\ne", "tabs, cells, rows and line breaks"},
      {"{\\rtf1 \\lquote q\\rquote\\endash}", "'q'-", "quotes and dash"},
      {"{\\rtf1 \\b\n x}", " x", "at a line start the blank after a word is text"},
      {"{\\rtf1 year 2024 and 3.5 m}", "year 2024 and 3.5 m", "numbers in text are text"},
      {"{\\rtf1 a\\u8212\\'97 b}", "a\x97 b", "\\u with its hex fallback"},
      {"{\\rtf1 \\u8364?100}", "\x80" "100", "\\u drops one fallback character, not the rest of the run"},
      {"{\\rtf1 10\\u8216\\'91000 b}", "10\x91" "000 b", "digits after a \\u's hex fallback are text"},
      {"{\\rtf1 \\u-3913?x}", "?x", "negative \\u is the code unit above 32767"},
      {"{\\rtf1 \\u x}", "x", "\\u without a number leaves the text"},
      {"{\\rtf1 \\'e9x\\'e8}", "\xe9x\xe8", "hex escapes and the letter between them"},
      {"{\\rtf1 one\\\n two}", "one\r\n two", "a backslash at a line end is a paragraph mark"},
      {"{\\rtf1 \\unknownword123 text\\ansicpg-5 more}", "textmore", "unlisted words drop their parameters and delimiter"},
      {"{\\rtf1 a{\\v hidden}b\\v c\\v0 d\\v e\\plain f}", "abdf", "hidden text stays out; \\v0 and \\plain end it"},
      {"}}}{\\rtf1 a}}}{{{b", "ab", "unbalanced braces are tolerated"},
      {"{\\rtf1 end\\'", "end", "a hex escape cut by the end of text"},
      {"{\\rtf1 a\\'00b}", "ab", "a NUL byte is not text"},
      {"{\\rtf1 end\\", "end", "a lone backslash at the end"},
      {"{\\rtf1 We use {\\loch\r\nzlib}}", "We use zlib", "a line end after a control word is layout, not a break"},
      {"{\\rtf1 one\\b0{\\*\\bkmkstart x} two{\\*\\bkmkend x} three}", "one two three",
       "the blank after a skipped group is text"},
      {"{\\rtf1 \\uc2\\u8364\\'41\\'42c\\u8364 xyz}", "\x80" "c\x80" "z", "\\uc2 skips two fallback characters"},
      {"{\\rtf1 {\\uc0\\u8364 a}\\u8364 bc}", "\x80" "a\x80" "c", "\\uc holds for its group only"},
      {"{\\rtf1 {\\header H}{\\footerr F}b{\\footnote N}{\\annotation A}{\\info{\\doccomm C}}c}", "bc",
       "page furniture, notes and document information are not body text"},
      {"{\\rtf1 {\\field{\\fldinst HYPERLINK x}{\\fldrslt link}} {\\field{\\*\\fldinst{ HYPERLINK y}}{\\fldrslt{\\ul two}}}}",
       "link two", "a field keeps its result, never its instruction"},
      {"{\\rtf1 a\\nestcell b}", "a\tb", "a nested table's cells are separated"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(TextOf(C.Rtf), C.Want);
  }
}

TEST(TDCRtfImporter, TwoHexEscapesAroundALetterGiveThreeRunsInTheCurrentFont) {
  EXPECT_EQ(RunsOf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\'e9x\\'e8}"),
            (TRuns{"\xe9|Arial|1|12||0|-1", "x|Arial|1|12||0|-1", "\xe8|Arial|1|12||0|-1"}));
}

TEST(TDCRtfImporter, BoldOffWithParameterDropsTheDelimiterBlank) {
  EXPECT_EQ(RunsOf("{\\rtf1\\b bold\\b0  plain}"), (TRuns{"bold|MS Sans Serif|1|12|b|0|-1", " plain|MS Sans Serif|1|12||0|-1"}));
}

TEST(TDCRtfImporter, GroupsInheritAndRestoreTheFormat) {
  EXPECT_EQ(RunsOf("{\\rtf1\\fs20{plain\\b bold\\i\\ul\\strike all}after}"),
            (TRuns{"plain|MS Sans Serif|1|10||0|-1", "bold|MS Sans Serif|1|10|b|0|-1", "all|MS Sans Serif|1|10|bius|0|-1", "after|MS Sans Serif|1|10||0|-1"}));
}

TEST(TDCRtfImporter, PlainResetsToTheDefaultFontAndTwelvePoints) {
  EXPECT_EQ(RunsOf("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Sym;}{\\f1 Other;}}\\f1\\fs40\\b\\ulnone a\\plain b}"),
            (TRuns{"a|Other|0|20|b|0|-1", "b|Sym|2|12||0|-1"}));
}

TEST(TDCRtfImporter, ColourTableGivesTextAndHighlightColours) {
  const char* Rtf =
      "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\green255;}"
      "\\highlight0 a\\cf1 b\\cf2\\highlight1 c\\cf9\\highlight9 d}";
  // Entry 2 has only a green part: the red of entry 1 does not leak into it.
  EXPECT_EQ(RunsOf(Rtf), (TRuns{"a|MS Sans Serif|1|12||0|-1", "b|MS Sans Serif|1|12||255|-1", "c|MS Sans Serif|1|12||65280|255",
                               "d|MS Sans Serif|1|12||65280|-1"}));
}

TEST(TDCRtfImporter, SizeThatIsNotANumberIsTwelvePointsAndLosesTheToken) {
  EXPECT_EQ(RunsOf("{\\rtf1\\fs40 a\\fs x y\\par}"), (TRuns{"a|MS Sans Serif|1|20||0|-1", "<CRLF>|MS Sans Serif|1|12||0|-1"}));
}

TEST(TDCRtfImporter, MalformedParametersDoNotStopTheImport) {
  const char* Rtf =
      "{\\rtf1{\\fonttbl{\\f x;}{\\f1 F1;}}{\\colortbl;\\red x\\green0\\blue0;}"
      "\\f y\\highlight z\\cf q\\pnf r text\\f1 more}";
  const auto R = TImportRecorder::Run(Rtf);
  EXPECT_NE(R->Text.find("text"), std::string::npos);
  EXPECT_EQ(R->Runs.back(), "more|F1|0|12||0|-1");
}

TEST(TDCRtfImporter, HugeFontNumberTakesOneEntry) {
  TDCRtfImporter Owner;
  const AnsiString Rtf = "{\\rtf1{\\fonttbl{\\f2000000000 Big;}{\\f1 Small;}}\\f2000000000 x}";
  TRtfImporter Imp(Rtf, &Owner);
  Imp.Execute();
  ASSERT_NE(Imp.FontTable().Find(2000000000), nullptr);
  EXPECT_EQ(Imp.FontTable().Find(2000000000)->Name, "Big");
  EXPECT_EQ(Imp.FontTable().Find(0), nullptr);
  EXPECT_EQ(RunsOf(Rtf.c_str()).front(), "x|Big|1|12||0|-1");
}

TEST(TDCRtfImporter, DeepNestingIsBounded) {
  const std::string Deep = "{\\rtf1" + std::string(100000, '{') + "\\b x" + std::string(100000, '}') + "y}";
  const auto R = TImportRecorder::Run(Deep);
  EXPECT_EQ(R->Runs, (TRuns{"x|MS Sans Serif|1|12|b|0|-1", "y|MS Sans Serif|1|12||0|-1"}));
}

TEST(TDCRtfImporter, CanImportNeedsFiveBytesOfTheRtfSignature) {
  struct TCase { std::string Bytes; bool Want; };
  const TCase Cases[] = {{"{\\rtf", true}, {"{\\rtf1\\ansi x}", true}, {"{\\rt", false},
                         {"{\\RTF1 x}", false}, {"", false}, {"plain text", false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Bytes);
    TStringStream S(C.Bytes);
    S.Seek(Int64(2), soBeginning);
    S.Seek(Int64(0), soBeginning);
    TDCRtfImporter Imp;
    EXPECT_EQ(Imp.CanImport(&S), C.Want);
    EXPECT_EQ(S.GetPosition(), 0);
  }
}

// Real documents from several writers.
TEST(TDCRtfImporter, CorpusDocumentsImportWithTheirText) {
  const std::filesystem::path Dir = std::filesystem::path(SX_CORPUS_DIR) / "rtf";
  if (!std::filesystem::exists(Dir)) GTEST_SKIP() << "no RTF corpus";
  struct TCase { const char* File; const char* Want; };
  const TCase Cases[] = {
      {"textedit_vtk_instructions.rtf", "SimpleCocoaVTK 4.1\r\n2020-04-03\r\nby: Sean McBride"},
      {"word_striprtf_example_text.rtf", "Text here with hyperlink\r\n\r\nAnother font\r\nAnother text size"},
      {"wordpad_bazel_license.rtf", "Copyright 2019 The Bazel Authors. All rights reserved."},
      {"word_pandoc_formatting.rtf", "bold\r\nitalics\r\nbold and italics\r\nunderlined\r\nstrikeout"},
      {"wordpad_rtfjs_colors.rtf", "Normal Line 2\r\nColored Line\r\nHighlighted Line"},
      {"abiword_striprtf_french.rtf", "a 10'000  b."},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    ASSERT_TRUE(std::filesystem::exists(Dir / C.File)) << C.File;
    EXPECT_NE(TextOf(sxtest::ReadFile(Dir / C.File)).find(C.Want), std::string::npos);
  }
  // Every document of the corpus imports without an exception.
  for (const auto& E : std::filesystem::directory_iterator(Dir)) {
    if (E.path().extension() != ".rtf") continue;
    SCOPED_TRACE(E.path().filename().string());
    EXPECT_NO_THROW(TextOf(sxtest::ReadFile(E.path())));
  }
}

TEST(TDCRtfImporter, FormattingOfARealDocumentSurvives) {
  const std::filesystem::path F = std::filesystem::path(SX_CORPUS_DIR) / "rtf" / "word_pandoc_formatting.rtf";
  if (!std::filesystem::exists(F)) GTEST_SKIP() << "no RTF corpus";
  const auto R = TImportRecorder::Run(sxtest::ReadFile(F));
  auto StyleOf = [&](const std::string& Text) -> std::string {
    for (const auto& Run : R->Runs)
      if (Run.rfind(Text + "|", 0) == 0) return Run.substr(0, Run.rfind('|'));
    return "";
  };
  EXPECT_NE(StyleOf("bold").find("|b|"), std::string::npos) << StyleOf("bold");
  EXPECT_NE(StyleOf("italics").find("|i|"), std::string::npos) << StyleOf("italics");
  EXPECT_NE(StyleOf("underlined").find("|u|"), std::string::npos) << StyleOf("underlined");
}

TEST(TDCRtfImporter, NulBytesAreDroppedAndTheRestArrives) {
  static const char Rtf[] = "{\\rtf1 one\0two\\par\0{\\b three}}";
  EXPECT_EQ(TextOf(std::string(Rtf, sizeof Rtf - 1)), "onetwo\r\nthree");
}

// Text in another code page keeps its bytes and the charset that reads them.
TEST(TDCRtfImporter, TextInAnotherCodePageKeepsItsCharset) {
  struct TCase {
    const char* Rtf;
    TRuns Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times;}{\\f1\\fcharset0 Arial;}}\\f0\\'d3\\f1\\'e9}",
       {"\xd3|Times|204|12||0|-1", "\xe9|Arial|0|12||0|-1"}, "a font without a charset is in the document's code page"},
      {"{\\rtf1{\\fonttbl{\\f0\\fcharset204 Times;}}\\f0\\u1059\\'3f\\u233?}",
       {"\xd3|Times|204|12||0|-1", "\xe9|Times|0|12||0|-1"},
       "\\u goes into the font's code page, or the editor's one when the font's lacks it"},
      {"{\\rtf1{\\fonttbl{\\f0\\fcharset134 Song;}}\\f0\\u27979\\'3f}", {"\xb2\xe2|Song|134|12||0|-1"},
       "a double-byte code page"},
      {"{\\rtf1{\\fonttbl{\\f0\\fcharset0 Serif;}}\\f0 a\\u1059?\\u27979?}",
       {"a|Serif|0|12||0|-1", "\xd3|Serif|204|12||0|-1", "\xb2\xe2|Serif|134|12||0|-1"},
       "a character neither code page has goes in one that has it"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(RunsOf(C.Rtf), C.Want);
  }
}
