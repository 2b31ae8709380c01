// The reader against files: our exporter's output (tests/fixtures/rtf), the
// external corpus of other producers' RTF (skipped when absent), and
// malformed input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RtfTestUtil.h"
#include "platform/richedit/RtfReader.h"
#include "support/TestFiles.h"

namespace {

using sxtest::ReadFile;

std::filesystem::path Fixture(const char* Name) {
  return std::filesystem::path(SX_SOURCE_DIR) / "tests/fixtures/rtf" / Name;
}

std::filesystem::path CorpusDir() { return std::filesystem::path(SX_CORPUS_DIR) / "rtf"; }

// Runs cover each paragraph, cps are numbered, formats and pictures exist.
void ExpectSound(const TRichDocument& D) {
  Integer Cp = 0;
  for (const TRichParagraph& P : D.Paragraphs()) {
    ASSERT_EQ(P.FirstCp, Cp);
    ASSERT_FALSE(P.Text.empty());
    Integer At = 0;
    for (const TRichRun& R : P.Runs) {
      ASSERT_EQ(R.Start, At);
      ASSERT_GT(R.Length, 0);
      ASSERT_LT(size_t(R.Format), D.CharFormats().size());
      ASSERT_LT(R.Picture, Integer(D.Pictures().size()));
      At += R.Length;
    }
    ASSERT_EQ(At, Integer(P.Text.size()));
    if (P.Row >= 0) {
      ASSERT_LT(size_t(P.Row), D.Rows().size());
      ASSERT_LT(size_t(P.Cell), D.Rows()[size_t(P.Row)].Cells.size());
    }
    if (P.NestRow >= 0) {
      ASSERT_GE(P.Row, 0);
      ASSERT_LT(size_t(P.NestRow), D.Rows().size());
      ASSERT_LT(size_t(P.NestCell), D.Rows()[size_t(P.NestRow)].Cells.size());
    }
    Cp += Integer(P.Text.size());
  }
  EXPECT_EQ(D.TextLength(), Cp - 1);
}

}  // namespace

TEST(RtfExporterOutput, StyledWalkLoadsAsOneParagraphOfRuns) {
  const TRichDocument D = RtfRead(ReadFile(Fixture("exporter_styled_walk.rtf")));
  ExpectSound(D);
  const std::string Courier = "f=Courier New,cs=0,fs=20,";
  EXPECT_EQ(Describe(D), "<" + Courier + "c=000000>plain |<" + Courier + "b,c=FF0000>bold red|<" +
                             Courier + "c=000000>↵a→b \\ {c} ÿ↵↵↵end|<f=Times New Roman>¶");
  EXPECT_EQ(D.TextLength(), 32);
}

TEST(RtfExporterOutput, EmptyEditorLoadsAsAnEmptyDocument) {
  const TRichDocument D = RtfRead(ReadFile(Fixture("exporter_empty.rtf")));
  EXPECT_EQ(D.TextLength(), 0);
  EXPECT_EQ(D.Paragraphs().size(), 1u);
}

TEST(RtfExporterOutput, TablesListsRulesAndLinksInTheExporterForms) {
  // The writer's table object, list groups, horizontal rule and link forms.
  const TRichDocument D = RtfRead(
      "{\\rtf1\\ansi {\\fonttbl\r\n{\\f0\\fcharset1 \\fnil Times New Roman;}\r\n}\r\n\r\n"
      "{\\plain \r\n"
      "{\\par\r\n{\\trowd\\trbrdrt\\trbrdrb\\trbrdrh\\trbrdrl\\trbrdrr\\trbrdrv\r\n"
      "\\cellx2835\r\n\\cellx9922\r\n"
      "\\pard \\intbl one\\cell\r\n\\pard \\intbl {\\b \r\ntwo}\\cell\r\n\\row\\pard}\r\n}"
      "{\r\n{\\par}\r\n{\\pntext}\r\n{\\pn\\pnlvlblt}\r\n"
      "{\r\n{\\pntext}\r\n{\\pntxtb\\'b7}\r\nitem\\par}}"
      "\\par\\pard\\brdrt\\brdrs{\\f0\\fs2\\cf0  }\\par\\pard "
      "{\\uldb Help}{\\v *!ExecFile('x.htm')}{\\ul \r\nLink{\\v topic}}"
      "}}");
  ExpectSound(D);
  EXPECT_EQ(D.PlainText(), u"\r\none\ttwo\r\n\r\nitem\r\n\r\n \r\nHelpLink") << "link targets are hidden";
  ASSERT_EQ(D.Rows().size(), 1u);
  const TRichTableRow& R = D.Rows()[0];
  ASSERT_EQ(R.Cells.size(), 2u);
  EXPECT_EQ(R.Cells[0].Right, 2835);
  EXPECT_EQ(R.Cells[1].Right, 9922);
  EXPECT_EQ(R.Borders.Top.Width, 0) << "a frame word without a border style draws nothing";
  const auto& P = D.Paragraphs();
  EXPECT_EQ(P[4].Text, u"item\r");
  EXPECT_EQ(P[4].Format->Numbering, TRichNumbering::Bullet);
  EXPECT_EQ(P[4].Format->NumberingTextBefore, u"\uF0B7") << "the Symbol bullet: a bullet without a font is in Symbol";
  EXPECT_EQ(D.CharFormat(P[4].Format->NumberingFormat).Face, u"Symbol");
  EXPECT_EQ(P[6].Format->Borders.Top.Width, 15) << "the rule's paragraph";
}

TEST(RtfCorpus, EveryFileLoadsSoundly) {
  if (!std::filesystem::exists(CorpusDir())) GTEST_SKIP() << "no corpus at " << CorpusDir();
  int Files = 0;
  for (const auto& E : std::filesystem::directory_iterator(CorpusDir())) {
    if (E.path().extension() != ".rtf") continue;
    SCOPED_TRACE(E.path().filename().string());
    const TRichDocument D = RtfRead(ReadFile(E.path()));
    ExpectSound(D);
    EXPECT_GT(D.TextLength() + Integer(D.Pictures().size()), 0);
    ++Files;
  }
  EXPECT_GT(Files, 0);
}

TEST(RtfCorpus, KnownTextPicturesAndTables) {
  if (!std::filesystem::exists(CorpusDir())) GTEST_SKIP() << "no corpus at " << CorpusDir();
  struct TCase {
    const char* File;
    const char16_t* Phrase;
    int MinPictures, MinRows;
  } Cases[] = {
      {"richedit_striprtf_bytes_cp1251.rtf", u"УХВАЛА", 0, 0},
      {"word_striprtf_ansicpg1250.rtf", u"Proszę o zapoznanie się", 0, 0},
      {"word_striprtf_issue_11_cp936.rtf", u"测试", 0, 0},
      {"libreoffice_striprtf_unicode.rtf", u"柔道", 0, 0},
      {"textedit_rtfparserkit_mac10001_japanese.rtf", u"お読みください", 0, 0},
      {"wordpad_rtfjs_pile_of_poo.rtf", u"Iñtërnâtiônàlizætiøn☃\U0001F4A9", 0, 0},
      {"edge_rtfpipe_parsertest_fail_3_unbalanced.rtf", u"Hello world in {RTF}", 0, 0},
      {"abiword_striprtf_simple_table.rtf", u"foo\tbar\r\n1\t1", 0, 2},
      {"phprtflite_rtfpipe_images.rtf", u"Here is .png image.", 2, 1},
      {"word_rtfjs_wmf_doc.rtf", u"", 40, 0},
      {"edge_rtfjs_simplepngbin.rtf", u"", 1, 0},
      {"word_striprtf_nested_table.rtf", u"", 0, 3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    const std::filesystem::path P = CorpusDir() / C.File;
    if (!std::filesystem::exists(P)) continue;
    const TRichDocument D = RtfRead(ReadFile(P));
    EXPECT_NE(D.PlainText().find(C.Phrase), std::u16string::npos) << UTF8Encode(D.PlainText()).substr(0, 400);
    EXPECT_GE(int(D.Pictures().size()), C.MinPictures);
    EXPECT_GE(int(D.Rows().size()), C.MinRows);
  }
}

TEST(RtfMalformed, LoadsWhatItCanWithoutFailing) {
  struct TCase {
    std::string Rtf;
    const char16_t* Want;  // PlainText
    const char* Why;
  } Cases[] = {
      {"{\\rtf1 abc", u"abc", "truncated: no closing brace"},
      {"{\\rtf1 a}}}}b", u"a", "extra closing braces"},
      {"{\\rtf1 {{{a", u"a", "unclosed groups"},
      {"{\\rtf1 a\\", u"a", "a lone backslash at the end"},
      {"{\\rtf1 a\\'", u"a", "\\' at the end"},
      {"{\\rtf1 a\\u", u"a", "\\u without a number"},
      {"{\\rtf1\\f99999999999999999999 a\\cf-99999999999 b\\fs99999999999999999999 c}", u"abc",
       "huge numbers are clamped"},
      {"{\\rtf1 a{\\*}b}", u"ab", "\\* alone"},
      {"{\\rtf1 a\\bin99999999999", u"a", "\\bin past the end"},
      {"{\\rtf1 a\\bin-5 b}", u"ab", "negative \\bin"},
      {"{\\rtf1{\\fonttbl{\\f0 Ari", u"", "truncated inside the font table"},
      {"{\\rtf1{\\colortbl\\red999\\green-1;}\\cf0 a}", u"a", "colour values out of range"},
      {"{\\rtf1\\cell\\cell\\row\\row a}", u"\t\r\na", "cells without \\intbl or \\trowd"},
      {"{\\rtf1\\intbl a\\par b}", u"a\r\nb", "\\intbl without a row end"},
      {std::string("{\\rtf1 a\0b}", 12), u"ab", "a NUL byte"},
      {"{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'82}", u"\uFFFD",
       "a lead byte without its trail"},
      {"{\\rtf1 {\\pict\\pngblip 89504e470d0a1a0a", u"\uFFFC", "a truncated picture still counts"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument D = RtfRead(C.Rtf);
    ExpectSound(D);
    EXPECT_EQ(D.PlainText(), C.Want);
  }
}

TEST(RtfMalformed, DeepNestingIsBoundedAndTextSurvives) {
  const int Depth = 200000;
  std::string Rtf = "{\\rtf1 ";
  Rtf.append(size_t(Depth), '{');
  Rtf += "\\b deep";
  Rtf.append(size_t(Depth), '}');
  Rtf += " tail}";
  const TRichDocument D = RtfRead(Rtf);
  ExpectSound(D);
  EXPECT_EQ(D.PlainText(), u"deep tail");
  // The bold of the deepest groups must end with them, however deep they were.
  const TRichParagraph& P = D.Paragraphs()[0];
  EXPECT_FALSE(D.CharFormat(P.Runs.back().Format).Bold);
}
