// The RTF reader: text and character formats per run, paragraph formats,
// tables, pictures and plain-text loading, from hand-written RTF.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "RtfTestUtil.h"
#include "platform/gdi/Wmf.h"
#include "platform/richedit/RtfReader.h"

namespace {

struct TRunCase {
  const char* Rtf;
  const char* Want;  // Describe() of the document
  const char* Why;
};

void CheckRuns(const TRunCase* Cases, size_t Count) {
  for (size_t I = 0; I < Count; ++I) {
    SCOPED_TRACE(Cases[I].Why);
    EXPECT_EQ(Describe(RtfRead(Cases[I].Rtf)), Cases[I].Want) << Cases[I].Rtf;
  }
}

}  // namespace

TEST(RtfReader, CharacterFormatsFollowGroupsAndToggles) {
  const TRunCase Cases[] = {
      {R"({\rtf1 a{\b b}c})", "a|<b>b|c¶", "a group's format ends with the group"},
      {R"({\rtf1\b a\b0 b\i c\i0\strike d\strike0\v e\v0 f})", "<b>a|b|<i>c|<s>d|<v>e|f¶",
       "a zero parameter turns a toggle off"},
      {R"({\rtf1\ul a\ulnone b\uldb c\ul0 d\ulwave e\uld f\ulw g})",
       "<u=1>a|b|<u=3>c|d|<u=9>e|<u=4>f|<u=2>g¶", "underline kinds"},
      {R"({\rtf1\b\i\fs40 a\plain b})", "<fs=40,b,i>a|b¶", "\\plain resets everything"},
      {R"({\rtf1 a{\super b}{\sub c}{\up6 d}{\dn4 e}{\super\nosupersub f}})",
       "a|<sup>b|<sub>c|<off=6>d|<off=-4>e|f¶", "vertical positions"},
      {R"({\rtf1\fs0 a\fs99999999 b\fs-5 c})", "a|<fs=3276>b|c¶",
       "sizes outside the range read as the default or the largest"},
      {R"({\rtf1 a{\*\unknown x}{\info{\title t}}{\header h}b{\footnote f}{\*\bkmkstart m}c})",
       "abc¶", "ignorable and skipped destinations leave no text"},
      {R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt {\ul link}}}})",
       "<u=1>link|¶", "a field keeps its result"},
      {R"({\rtf1{\uldb Topic}{\v target>main}})", "<u=3>Topic|<v>target>main|¶",
       "hidden text stays in the text"},
      {R"({\rtf1 {\upr{a}{\*\ud{\u8364?}}}})", "€¶", "\\upr keeps its Unicode half"},
  };
  CheckRuns(Cases, std::size(Cases));
}

TEST(RtfReader, FontAndColourTablesNameTheRunFormats) {
  const TRunCase Cases[] = {
      {R"({\rtf1\deff1{\fonttbl{\f0\fswiss Arial;}{\f1\froman\fcharset0 Times New Roman;}}a\f0\fs20 b})",
       "<f=Times New Roman,cs=0>a|<f=Arial,fs=20>b¶", "\\deff is the font before any \\f"},
      {R"({\rtf1{\fonttbl\f0\fnil Courier New;\f1\fnil\fcharset204 Arial Cyr;}\f1 a\f7 b})",
       "<f=Arial Cyr,cs=204>a|b¶", "a flat table; an unknown \\f has no face"},
      {R"({\rtf1{\fonttbl{\f0\froman{\*\panose 02020603}{\*\falt Times}Times New Roman;}}a})",
       "<f=Times New Roman>a¶", "panose and falt groups are not part of the name"},
      {R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}\cf1 a\cf0 b\cf2\highlight1 c\cf99 d})",
       "<c=FF0000>a|b|<c=0000FF,bg=FF0000>c|<bg=FF0000>d¶",
       "entry 0 is automatic, out of range is automatic"},
      {R"({\rtf1{\colortbl\red0\green0\blue0;\red255\green0\blue0;}\cf0 a\cf1 b\chcbpat1 c\cb0 d})",
       "<c=000000>a|<c=FF0000>b|<c=FF0000,bg=FF0000>c|<c=FF0000,bg=000000>d¶",
       "without an empty first entry index 0 is a real colour"},
      {R"({\rtf1{\colortbl;\red1\green2\blue3}\cf1 a})", "<c=010203>a¶",
       "a last colour without its ';' still counts"},
  };
  CheckRuns(Cases, std::size(Cases));
}

TEST(RtfReader, BytesDecodeThroughTheFontCharsetOrTheDocumentCodePage) {
  const TRunCase Cases[] = {
      {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "При¶", "\\ansicpg without fonts"},
      {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times;}}\\f0 \\'cf}", "<f=Times>П¶",
       "a font without a charset follows \\ansicpg"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset0 Arial;}}\\f0 \\'cf\\f1 \\'cf}",
       "<f=Arial,cs=204>П|<f=Arial,cs=0>Ï¶", "a font charset picks the code page"},
      {"{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Mincho;}}\\f0 \\'82\\'a0\\'95\\'5c}",
       "<f=Mincho,cs=128>あ表¶", "a double-byte pair in two \\'xx"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 Mincho;}}\\f0 \x95\\ x}",
       "<f=Mincho,cs=128>表 x¶", "a raw lead byte takes a backslash as its trail"},
      {"{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 \\'b7a}", "<f=Symbol,cs=2>\uF0B7\uF061¶",
       "symbol fonts keep their bytes in the symbol area"},
      {"{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 \\'b7  a}", "<f=Symbol,cs=2>\uF0B7  \uF061¶",
       "but their blanks stay blanks, which break lines and words"},
      {"{\\rtf1\\ansicpg99999 \\'e9}", "é¶", "an unknown code page keeps 1252"},
      {"{\\rtf1 \\'ff\\'f\\'zz}", "ÿzz¶", "short and bad hex digits; the control byte is dropped"},
  };
  CheckRuns(Cases, std::size(Cases));
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
  const TRunCase Cases[] = {
      {R"({\rtf1 \u1055?\u1088?})", "Пр¶", "one fallback byte by default"},
      {R"({\rtf1\uc2 \u1055\'cf\'cfa})", "Пa¶", "\\uc2 skips two \\'xx"},
      {R"({\rtf1\uc0 \u1055 a})", "Пa¶", "\\uc0 skips nothing"},
      {R"({\rtf1 \u-3913?})", "\uF0B7¶", "a negative value counts from 65536"},
      {R"({\rtf1 \u-10179?\u-8804?})", "\U0001F59C¶", "a surrogate pair from two escapes"},
      {R"({\rtf1 {\u1055}a})", "Пa¶", "a group end stops the skipping"},
      {R"({\rtf1 \u1055\par x})", "Пx¶", "a control word counts as a fallback character"},
      {R"({\rtf1 \u128169?\u99999999?})", "\U0001F4A9\uFFFD¶",
       "a code point above U+FFFF, and a hopeless one"},
      {R"({\rtf1 \uc9999999 \u1055 abcdefghijklmnopqrstuvwxyz})", "Пqrstuvwxyz¶",
       "a huge \\uc is capped at 16"},
  };
  CheckRuns(Cases, std::size(Cases));
}

TEST(RtfReader, SymbolWordsAndSpecialCharacters) {
  const TRunCase Cases[] = {
      {R"({\rtf1 a\line b\tab c\page d})", "a↵b→c␌d¶", "breaks inside a paragraph"},
      {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\emspace\enspace})",
       "—–•‘’“”\u2003\u2002¶", "typographic symbols"},
      {R"({\rtf1 \~\-\_\{\}\\})", "\u00A0\u00AD\u2011{}\\¶", "control symbols"},
      {"{\\rtf1 a\tb\r\nc\\\r\nd}", "a→bc¶|d¶", "a raw tab is a tab, a raw line end is nothing"},
  };
  // The escaped line end is a paragraph break: two paragraphs.
  CheckRuns(Cases, std::size(Cases));
}

TEST(RtfReader, ParagraphsTakeTheFormatInEffectAtTheirEnd) {
  TRichDocument D = RtfRead(
      R"({\rtf1\pard\qc\li720\ri360\fi-360\sb120\sa240\sl360\slmult1\keep\keepn\pagebb\rtlpar a\par)"
      R"(\pard\qj\sl-300 b\par)"
      R"({\qr c}\par)"
      R"(\pard\tqr\tldot\tx5000\tx1000\tb3000\tqc\tx1000 d\par)"
      R"(\pard\brdrb\brdrs\brdrw30\brdrcf1 e\par)"
      R"(\pard\qd\s7 f})");
  const auto& P = D.Paragraphs();
  ASSERT_EQ(P.size(), 6u);
  const TRichParaFormat& A = *P[0].Format;
  EXPECT_EQ(A.Alignment, TRichAlignment::Center);
  EXPECT_EQ(A.LeftIndent, 720);
  EXPECT_EQ(A.RightIndent, 360);
  EXPECT_EQ(A.FirstIndent, -360);
  EXPECT_EQ(A.SpaceBefore, 120);
  EXPECT_EQ(A.SpaceAfter, 240);
  EXPECT_EQ(A.LineSpacing, 360);
  EXPECT_TRUE(A.LineSpacingMultiple);
  EXPECT_TRUE(A.KeepTogether && A.KeepWithNext && A.PageBreakBefore && A.RightToLeft);

  EXPECT_EQ(P[1].Format->Alignment, TRichAlignment::Justify);
  EXPECT_EQ(P[1].Format->LineSpacing, -300);
  EXPECT_FALSE(P[1].Format->LineSpacingMultiple) << "\\pard resets";
  EXPECT_EQ(P[2].Format->Alignment, TRichAlignment::Justify) << "{\\qr} ended before \\par";

  const std::vector<TRichTabStop> Tabs = {
      {1000, TRichTabKind::Center, TRichTabLeader::None},  // the second \tx1000 replaces
      {3000, TRichTabKind::Bar, TRichTabLeader::None},
      {5000, TRichTabKind::Right, TRichTabLeader::Dots},
  };
  EXPECT_EQ(P[3].Format->Tabs, Tabs);

  const TRichBorders& B = P[4].Format->Borders;
  EXPECT_EQ(B.Bottom.Width, 30);
  EXPECT_EQ(B.Top.Width, 0);
  EXPECT_EQ(P[5].Format->Alignment, TRichAlignment::Justify) << "an unknown style changes nothing";
  EXPECT_EQ(D.PlainText(), u"a\r\nb\r\nc\r\nd\r\ne\r\nf");
}

TEST(RtfReader, StyleSheetFormatsApplyThroughS) {
  TRichDocument D = RtfRead(
      R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier;}}{\stylesheet{\s0 Normal;})"
      R"({\s1\qc\sb240\b\f1\fs32 heading 1;}{\*\cs10\additive\i Emphasis;}{\*\ts11 Table;}})"
      R"(\pard\plain\s1 Title\par\pard\plain\s0 Body {\cs10 it}\par})");
  EXPECT_EQ(Describe(D), "<f=Courier,fs=32,b>Title¶|<f=Arial>Body |<f=Arial,i>it|<f=Arial>¶");
  EXPECT_EQ(D.Paragraphs()[0].Format->Alignment, TRichAlignment::Center);
  EXPECT_EQ(D.Paragraphs()[0].Format->SpaceBefore, 240);
  EXPECT_EQ(D.Paragraphs()[1].Format->Alignment, TRichAlignment::Left);
}

TEST(RtfReader, NumberingFromPnGroupsAppliesToTheEnclosingParagraphs) {
  // WordPad's form, then our own exporter's (a bare \pn group inside the list group).
  TRichDocument D = RtfRead(
      R"({\rtf1{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent360{\pntxtb\'B7}}\fi-360\li720 one\par)"
      R"(\pard plain\par)"
      R"({{\par}{\pntext}{\pn\pnlvlbody\pnstart3{\pntxta .}}{{\pntext}{\pntxtb\pndec}two\par}}})");
  const auto& P = D.Paragraphs();
  ASSERT_EQ(P.size(), 4u);
  EXPECT_EQ(P[0].Text, u"one\r") << "\\pntext is not text";
  EXPECT_EQ(P[0].Format->Numbering, TRichNumbering::Bullet);
  EXPECT_EQ(P[0].Format->NumberingIndent, 360);
  EXPECT_EQ(P[0].Format->NumberingTextBefore, u"\u00B7");
  EXPECT_EQ(P[1].Format->Numbering, TRichNumbering::None);
  EXPECT_EQ(P[2].Text, u"\r");
  EXPECT_EQ(P[3].Text, u"two\r");
  EXPECT_EQ(P[3].Format->Numbering, TRichNumbering::Arabic);
  EXPECT_EQ(P[3].Format->NumberingStart, 3);
  EXPECT_EQ(P[3].Format->NumberingTextAfter, u".");
}

TEST(RtfReader, TableRowsCarryCellsAndBoundaries) {
  TRichDocument D = RtfRead(
      R"({\rtf1 before\par)"
      R"(\trowd\trgaph108\trleft-108\trqc\clbrdrt\brdrs\clcbpat1\cellx1000\clmrg\cellx2500)"
      R"(\pard\intbl a\par a2\cell\pard\intbl b\cell\row)"
      R"(\trowd\cellx3000\pard\intbl c\cell d\cell e\cell\row)"
      R"(\pard after})");
  const auto& P = D.Paragraphs();
  ASSERT_EQ(P.size(), 8u);
  EXPECT_EQ(D.PlainText(), u"before\r\na\r\na2\tb\r\nc\td\te\r\nafter");
  struct TWant {
    int Row, Cell;
    TRichParagraphEnd End;
  } Want[] = {{-1, -1, TRichParagraphEnd::Paragraph}, {0, 0, TRichParagraphEnd::Paragraph},
              {0, 0, TRichParagraphEnd::Cell},        {0, 1, TRichParagraphEnd::Cell},
              {1, 0, TRichParagraphEnd::Cell},        {1, 1, TRichParagraphEnd::Cell},
              {1, 2, TRichParagraphEnd::Cell},        {-1, -1, TRichParagraphEnd::Paragraph}};
  for (size_t I = 0; I < P.size(); ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(P[I].Row, Want[I].Row);
    EXPECT_EQ(P[I].Cell, Want[I].Cell);
    EXPECT_EQ(P[I].End(), Want[I].End);
  }
  ASSERT_EQ(D.Rows().size(), 2u);
  const TRichTableRow& R0 = D.Rows()[0];
  EXPECT_EQ(R0.Left, -108);
  EXPECT_EQ(R0.Gap, 108);
  EXPECT_EQ(R0.Alignment, TRichAlignment::Center);
  ASSERT_EQ(R0.Cells.size(), 2u);
  EXPECT_EQ(R0.Cells[0].Right, 1000);
  EXPECT_EQ(R0.Cells[0].Borders.Top.Width, 15);
  EXPECT_FALSE(R0.Cells[0].HasShading) << "no colour table";
  EXPECT_TRUE(R0.Cells[1].MergedWithPrevious);
  EXPECT_EQ(R0.Cells[1].Right, 2500);
  // Three cells against one \cellx: the missing boundaries are made up.
  const TRichTableRow& R1 = D.Rows()[1];
  ASSERT_EQ(R1.Cells.size(), 3u);
  EXPECT_LT(R1.Cells[0].Right, R1.Cells[1].Right);
  EXPECT_LT(R1.Cells[1].Right, R1.Cells[2].Right);
}

TEST(RtfReader, IntblWithZeroLeavesTheTable) {
  // Generated reports switch tables off with \intbl0; what follows is body
  // text, not more cells of the last row.
  const TRichDocument D = RtfRead(
      R"({\rtf1\trowd\cellx1440\cellx5220\intbl Used in:\cell f()\cell\row)"
      R"(\intbl0 {\b Variables\par}Local\par})");
  EXPECT_EQ(D.PlainText(), u"Used in:\tf()\r\nVariables\r\nLocal");
  const auto& P = D.Paragraphs();
  ASSERT_EQ(P.size(), 4u);
  EXPECT_EQ(P[2].Row, -1);
  EXPECT_EQ(P[3].Row, -1);
  EXPECT_EQ(D.Rows().size(), 1u);
}

TEST(RtfReader, NestedTablesKeepTheirRowsInsideTheOuterCell) {
  // Word's form: the nested row's definition comes after its cells, in
  // \nesttableprops, and must not become the outer row's.
  TRichDocument D = RtfRead(
      R"({\rtf1\trowd\cellx5000\cellx9000\pard\intbl outer\par)"
      R"(\pard\intbl\itap2 x\nestcell y1\par y2\nestcell{\*\nesttableprops\trowd\trgaph50\cellx1000\cellx2000\nestrow})"
      R"({\nonesttables\par}\pard\intbl\itap2 z\nestcell{\*\nesttableprops\trowd\cellx1500\nestrow})"
      R"({\nonesttables\par}\pard\intbl tail\cell right\cell\row})");
  EXPECT_EQ(D.PlainText(), u"outer\r\nx\ty1\r\ny2\r\nz\r\ntail\tright\r\n");
  ASSERT_EQ(D.Rows().size(), 3u);
  const TRichTableRow& Outer = D.Rows()[0];
  ASSERT_EQ(Outer.Cells.size(), 2u);
  EXPECT_EQ(Outer.Cells[0].Right, 5000) << "the nested row definition is not the outer one";
  EXPECT_EQ(Outer.Gap, 0);
  ASSERT_EQ(D.Rows()[1].Cells.size(), 2u);
  EXPECT_EQ(D.Rows()[1].Cells[1].Right, 2000);
  EXPECT_EQ(D.Rows()[1].Gap, 50);
  ASSERT_EQ(D.Rows()[2].Cells.size(), 1u);
  struct TWant {
    const char16_t* Text;
    int Cell, NestRow, NestCell;
  } Want[] = {{u"outer\r", 0, -1, -1}, {u"x\a", 0, 1, 0},  {u"y1\r", 0, 1, 1},     {u"y2\a", 0, 1, 1},
              {u"z\a", 0, 2, 0},       {u"tail\a", 0, -1, -1}, {u"right\a", 1, -1, -1}};
  const auto& P = D.Paragraphs();
  ASSERT_GE(P.size(), std::size(Want));
  for (size_t I = 0; I < std::size(Want); ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(P[I].Text, Want[I].Text);
    EXPECT_EQ(P[I].Row, 0);
    EXPECT_EQ(P[I].Cell, Want[I].Cell);
    EXPECT_EQ(P[I].NestRow, Want[I].NestRow);
    EXPECT_EQ(P[I].NestCell, Want[I].NestCell);
  }
}

TEST(RtfReader, MalformedNestingKeepsEveryText) {
  struct TCase {
    const char* Rtf;
    const char16_t* Want;  // PlainText
    const char* Why;
  } Cases[] = {
      {R"({\rtf1\trowd\cellx5000\pard\intbl\itap2 before\par\pard\intbl\itap5 deep\nestcell)"
       R"({\*\nesttableprops\trowd\cellx4000\nestrow}\pard\intbl\itap1 outer\cell\row})",
       u"before\r\ndeep\r\nouter\r\n", "a skipped level reads as the nested one"},
      {R"({\rtf1 a\nestcell b\nestrow c})", u"a\tb\r\nc", "nested cells without any table"},
      {R"({\rtf1\intbl\itap2 a\nestcell b\par})", u"a\tb", "a nested row never closed: the next nested cell"},
      {R"({\rtf1\intbl\itap2 a\nestcell{\*\nesttableprops\nestrow\nestrow}b\cell\row})", u"a\r\nb\r\n",
       "a second \\nestrow without cells"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument D = RtfRead(C.Rtf);
    EXPECT_EQ(D.PlainText(), C.Want);
    for (const TRichParagraph& P : D.Paragraphs()) {
      if (P.NestRow < 0) continue;
      ASSERT_GE(P.Row, 0);
      ASSERT_LT(size_t(P.NestRow), D.Rows().size());
      EXPECT_LT(size_t(P.NestCell), D.Rows()[size_t(P.NestRow)].Cells.size());
    }
  }
}

namespace {

std::string Hex(const std::vector<Byte>& B) {
  static const char* Digits = "0123456789abcdef";
  std::string S;
  for (Byte X : B) {
    S += Digits[X >> 4];
    S += Digits[X & 15];
  }
  return S;
}

// The smallest Windows metafile: a header and the end record.
std::vector<Byte> TinyWmf() {
  return {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0,  // header, 12 words
          3, 0, 0, 0, 0, 0};                                    // META_EOF
}

// A 2x1 24-bit packed DIB.
std::vector<Byte> TinyDib() {
  std::vector<Byte> D = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
                         0,  0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,
                         0,  0, 0, 0, 0, 0, 0, 0};
  for (Byte B : {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0}) D.push_back(B);
  return D;
}

}  // namespace

TEST(RtfReader, PicturesLoadInEachFormOrAreLeftOut) {
  const std::vector<Byte> Wmf = TinyWmf();
  const std::vector<Byte> Emf = WmfToEmf(Wmf, nullptr, TMetafileReference());
  struct TCase {
    std::string Rtf;
    int Pictures;
    TRichPictureKind Kind;
    const char* Why;
  } Cases[] = {
      {"{\\rtf1 a{\\pict\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300 "
       "89504e470d0a1a0a 0000\r\n0000}b}",
       1, TRichPictureKind::Png, "hex with spaces and line ends"},
      {std::string("{\\rtf1 {\\pict\\jpegblip\\bin4 ") + std::string("\xFF\xD8\xFF\xD9", 4) + "}}", 1,
       TRichPictureKind::Jpeg, "\\bin data"},
      {"{\\rtf1 {\\pict\\pngblip{\\*\\blipuid 0123}{\\bin8 \x89PNG\r\n\x1A\n}}}", 1,
       TRichPictureKind::Png, "\\bin inside a nested group, after an ignorable one"},
      {"{\\rtf1 {\\pict\\wmetafile8\\picw2540\\pich1270 " + Hex(Wmf) + "}}", 1,
       TRichPictureKind::Emf, "a Windows metafile becomes an enhanced one"},
      {"{\\rtf1 {\\pict\\emfblip " + Hex(Emf) + "}}", 1, TRichPictureKind::Emf, "EMF"},
      {"{\\rtf1 {\\pict\\dibitmap0\\picw2\\pich1 " + Hex(TinyDib()) + "}}", 1,
       TRichPictureKind::Dib, "a packed DIB"},
      {"{\\rtf1 {\\pict\\wbitmap0\\picw16\\pich2\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2 "
       "ff00 00ff}}",
       1, TRichPictureKind::Dib, "a monochrome device bitmap"},
      {"{\\rtf1 {\\*\\shppict{\\pict\\pngblip 89504e470d0a1a0a}}{\\nonshppict{\\pict\\wmetafile8 " +
           Hex(Wmf) + "}}}",
       1, TRichPictureKind::Png, "\\nonshppict is the duplicate for old readers"},
      {"{\\rtf1 {\\pict\\pngblip 0000}}", 0, {}, "not a PNG"},
      {"{\\rtf1 {\\pict\\emfblip 0100000020}}", 0, {}, "a truncated EMF"},
      {"{\\rtf1 {\\pict\\wmetafile8 01000900}}", 0, {}, "a truncated WMF"},
      {"{\\rtf1 {\\pict\\dibitmap0 28000000ffffff7f}}", 0, {}, "a DIB header with no room"},
      {"{\\rtf1 {\\pict\\wbitmap0\\picw9999\\pich9999\\wbmbitspixel1 00}}", 0, {},
       "a device bitmap larger than its data"},
      {"{\\rtf1 {\\pict\\macpict 0000}}", 0, {}, "a kind we do not read"},
      {"{\\rtf1 {\\pict\\pngblip\\bin999999999 \x89PNG\r\n\x1A\n}}", 1, TRichPictureKind::Png,
       "\\bin longer than the file takes what is there"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRichDocument D = RtfRead(C.Rtf);
    ASSERT_EQ(int(D.Pictures().size()), C.Pictures);
    if (C.Pictures == 0) continue;
    EXPECT_EQ(D.Pictures()[0].Kind, C.Kind);
    EXPECT_FALSE(D.Pictures()[0].Data.empty());
  }
  TRichDocument D = RtfRead(Cases[0].Rtf);
  EXPECT_EQ(Describe(D), "a|□|b¶");
  const TRichPicture& P = D.Pictures()[0];
  EXPECT_EQ(P.Data.size(), 12u);
  EXPECT_EQ(P.DisplaySize(), TSize(150, 300));
  EXPECT_EQ(D.Paragraphs()[0].Runs[1].Picture, 0);
}

TEST(RtfReader, WhatFollowsTheDocumentGroupIsNotRead) {
  EXPECT_EQ(Describe(RtfRead(R"({\rtf1 a}b{c})")), "a¶");
  EXPECT_EQ(Describe(RtfRead(R"({\rtf1 a\par}\par x)")), "a¶");
}

TEST(RtfReader, PlainTextSplitsOnEveryLineEndKind) {
  struct TCase {
    const char* Text;
    const char16_t* Want;
    int Paragraphs;
  } Cases[] = {
      {"a\r\nb\nc\rd", u"a\rb\rc\rd\r", 4},
      {"a\r\n", u"a\r", 1},
      {"a\n\n", u"a\r\r", 2},
      {"", u"\r", 1},
      {"\r\n\r\n", u"\r\r", 2},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    TRichDocument D = PlainTextRead(std::string_view(C.Text));
    EXPECT_EQ(D.GetText(), C.Want);
    EXPECT_EQ(int(D.Paragraphs().size()), C.Paragraphs);
  }
  TRichCharFormat F;
  F.Face = u"Courier New";
  EXPECT_EQ(Describe(PlainTextRead(std::string_view("\xe9"), F)), "<f=Courier New>é¶");
}

TEST(RtfReader, LoadRichTextChoosesLikeTheControl) {
  EXPECT_TRUE(IsRtf("{\\rtf1}"));
  EXPECT_FALSE(IsRtf("{\\RTF1}"));
  EXPECT_FALSE(IsRtf("{\\rt"));
  EXPECT_EQ(LoadRichText("{\\rtf1 a}", false).GetText(), u"a\r");
  EXPECT_EQ(LoadRichText("{\\rtf1 a}", true).GetText(), u"{\\rtf1 a}\r");
  EXPECT_EQ(LoadRichText("plain", false).GetText(), u"plain\r");
}

TEST(RtfReader, NeverLooksBackBelowWhatItReportsConsumed) {
  // A long document of every kind of token; the bytes below each reported
  // position are wiped, as a caller that gives them back would see them.
  std::string Rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset238 Tahoma;}"
      "{\\f2\\fcharset2 Symbol;}}{\\colortbl;\\red255\\green0\\blue0;}\n";
  const std::string Block =
      "{\\*\\generator skipped {\\bin3 }}x}}Plain words \\'e9\\'e8 {\\b bold {\\i both}} \\u8364?\\uc2\\u915 ab"
      "{\\f1 \\'b9\\'e6}{\\f2 \\'61}\\tab tabbed\\line next\\par\n"
      "{\\pict\\pngblip\\picw1\\pich1\\picwgoal20\\pichgoal20 89504e470d0a1a0a0000000d49484452}\n"
      "{\\pict\\wmetafile8\\picw10\\pich10 {\\*\\blipuid 0123}\\bin4 \x01\x02\x03\x04}"
      "\\trowd\\trgaph50\\cellx1500\\cellx3000 \\intbl one\\cell two\\cell\\row\n"
      "\\pard\\cf1\\fs28 red and large\\cf0\\fs20\\par\n";
  while (Rtf.size() < size_t(3) << 20) Rtf += Block;
  Rtf += "}";
  const std::string Want = Describe(RtfRead(Rtf));

  std::string Bytes = Rtf;
  size_t Last = 0;
  int Reports = 0;
  const TRichDocument D = RtfRead(Bytes, [&](size_t Position) {
    ASSERT_GE(Position, Last);
    ASSERT_LE(Position, Bytes.size());
    std::fill(Bytes.begin() + std::ptrdiff_t(Last), Bytes.begin() + std::ptrdiff_t(Position), '\0');
    Last = Position;
    ++Reports;
  });
  EXPECT_GE(Reports, 2);
  EXPECT_EQ(Describe(D), Want);
}
