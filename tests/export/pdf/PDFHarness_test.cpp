// Real documents from several producers through the conversion harness, as
// a user converts them: qpdf checks the file, pdftotext its text, pdffonts
// its fonts and pdfinfo with pdftotext's word boxes its pages.
#include "PdfTestSupport.h"
#include "export/HarnessRun.h"
#include "platform/rtl/CodePages.h"

using namespace pdftest;

namespace {
std::u32string ToCodePoints(const std::string& Utf8) {
  const WideString W = UTF8Decode(Utf8);
  std::u32string Out;
  for (std::size_t I = 0; I < W.size(); ++I) {
    char32_t C = W[I];
    if (C >= 0xD800 && C < 0xDC00 && I + 1 < W.size() && W[I + 1] >= 0xDC00 && W[I + 1] < 0xE000)
      C = 0x10000 + ((C - 0xD800) << 10) + (W[++I] - 0xDC00);
    Out += C;
  }
  return Out;
}

bool Blank(char32_t C) {
  return C <= 0x20 || C == 0xA0 || (C >= 0x2000 && C <= 0x200A) || C == 0x2028 || C == 0x2029 || C == 0x202F ||
         C == 0x205F || C == 0x3000;
}
bool Wide(char32_t C) { return C >= 0x2E80 && C != 0x3000; }
bool Hyphen(char32_t C) { return C == u'-' || C == 0x2010 || C == 0x2011; }

// The same reading of both sides: every kind of blank is one blank, and the
// breaks that pdftotext cannot tell from a word gap are no gap at all: after
// a hyphen inside a word, and between two CJK characters (lines wrap there).
std::string Normalised(const std::string& Utf8) {
  std::u32string Out;
  bool Gap = false;
  for (char32_t C : ToCodePoints(Utf8)) {
    if (C == 0xAD || C == 0x200B || C == 0xFEFF) continue;   // draw nothing
    if (Blank(C)) {
      Gap = !Out.empty();
      continue;
    }
    const char32_t Prev = Out.empty() ? 0 : Out.back();
    const bool Joined = (Hyphen(Prev) && Out.size() >= 2 && !Blank(Out[Out.size() - 2])) || (Wide(Prev) && Wide(C));
    if (Gap && !Joined) Out += U' ';
    Gap = false;
    Out += C;
  }
  WideString W;
  for (char32_t C : Out) {
    if (C >= 0x10000) {
      W += char16_t(0xD800 + ((C - 0x10000) >> 10));
      W += char16_t(0xDC00 + ((C - 0x10000) & 0x3FF));
    } else W += char16_t(C);
  }
  return UTF8Encode(W);
}

struct TProducerCase {
  const char* File;
  const char* Producer;
  bool Fallback;   // text the document's faces lack: the CJK face joins the fonts
};
void PrintTo(const TProducerCase& C, std::ostream* Os) { *Os << C.File; }

const TProducerCase ProducerCases[] = {
    {"word_striprtf_example_text.rtf", "Word 2007, pictures and fields", false},
    {"word_striprtf_issue_11_cp936.rtf", "Word, Simplified Chinese", true},
    {"word_rtfpipe_parsertest7_cp932.rtf", "Word, Japanese", true},
    {"word_rtfparserkit_cp874_thai.rtf", "Word 2003, Thai", false},
    {"word_striprtf_ansicpg1250.rtf", "Word, Central European", false},
    {"word_striprtf_speiseplan.rtf", "Word, German tables over two pages", false},
    {"wordmac_rtfpipe_color.rtf", "Word for Mac, Mac code page", false},
    {"wordpad_bazel_license.rtf", "WordPad, Tahoma", false},
    {"richedit_rtfparserkit_cp949_korean.rtf", "RichEdit, Korean", false},
    {"richedit_striprtf_bytes_cp1251.rtf", "RichEdit, Russian over pages", false},
    {"textedit_lynkeos_fr_changelog.rtf", "TextEdit, French over nine pages", false},
    {"abiword_striprtf_french.rtf", "AbiWord", false},
    {"libreoffice_striprtf_unicode.rtf", "LibreOffice, several scripts", true},
    {"openoffice_rtfpipe_special_char.rtf", "OpenOffice special characters", false},
    {"googledocs_rtfpipe_list.rtf", "Google Docs export", false},
    {"report_rtfpipe_issue35.rtf", "reporting tool, cell shading", false},
    {"gen_rtfpipe_issue23_cjk.rtf", "generated, GB2312 font", true},
    {"aft_aft2rtf_doc.rtf", "aft, code font over two pages", false},
    {"txtextcontrol_striprtf_tx_rtf32.rtf", "TX Text Control", false},
};

// pdffonts rows: name, type, embedded, subset, ToUnicode.
struct TFontRow {
  std::string Name, Type, Emb, Sub, Uni;
};
std::vector<TFontRow> FontTable(const std::string& File) {
  std::istringstream S(Run("pdffonts '" + File + "'"));
  std::vector<TFontRow> Rows;
  std::string Line;
  for (int I = 0; std::getline(S, Line); ++I) {
    std::istringstream L(Line);
    std::vector<std::string> T;
    for (std::string W; L >> W;) T.push_back(W);
    if (I < 2 || T.size() < 7) continue;
    const std::size_t N = T.size();
    std::string Type = T[1];
    for (std::size_t K = 2; K + 6 < N; ++K) Type += " " + T[K];
    Rows.push_back({T[0], Type, T[N - 5], T[N - 4], T[N - 3]});
  }
  return Rows;
}

class ConvertHarnessPdf : public ::testing::TestWithParam<TProducerCase> {};
}  // namespace

TEST_P(ConvertHarnessPdf, CorpusDocumentReadsBackWithItsTextFontsAndPages) {
#ifndef SX_CORPUS_DIR
  GTEST_SKIP() << "no corpus";
#else
  const TProducerCase& C = GetParam();
  const std::string In = std::string(SX_CORPUS_DIR) + "/rtf/" + C.File;
  if (!std::filesystem::exists(In)) GTEST_SKIP() << "corpus absent";
  SCOPED_TRACE(C.Producer);
  TTempDir Dir;
  // The input's own RTF: the whole document, other code pages included.
  const auto R = sxtest::RunConvertHarness(In, "pdf", Dir.File("out"), sxtest::THarnessInput::InputRtf);
  ASSERT_EQ(R.Status, 0) << R.Error;
  ASSERT_EQ(R.Files.size(), 1u);
  const std::string File = R.Files[0];
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;

  // The harness keeps the engine's settings: the document's simple fonts are
  // not embedded; composite ones (for text beyond ANSI, with a Unicode map)
  // and a face chosen for what the document's faces lack are, TrueType
  // outlines as a subset, OpenType CFF ones whole.
  bool HasFallback = false;
  for (const TFontRow& F : FontTable(File)) {
    SCOPED_TRACE(F.Name);
    const bool Cid = F.Type == "CID TrueType" || F.Type == "CID Type 0C (OT)";
    EXPECT_TRUE(Cid || F.Type == "TrueType" || F.Type == "Type 1") << F.Type;
    if (Cid) {
      EXPECT_EQ(F.Uni, "yes");
      EXPECT_EQ(F.Emb, "yes");
    }
    EXPECT_EQ(F.Name.find('?'), std::string::npos);
    if (F.Emb == "yes") {
      EXPECT_TRUE(Cid) << F.Type;
      const bool Subset = F.Type == "CID TrueType";
      EXPECT_EQ(F.Sub, Subset ? "yes" : "no");
      EXPECT_EQ(F.Name.rfind("WYOIAS+", 0) == 0, Subset);
    } else {
      EXPECT_EQ(F.Sub, "no");
    }
    HasFallback = HasFallback || F.Name == "WYOIAS+WenQuanYiMicroHei";
  }
  EXPECT_EQ(HasFallback, C.Fallback);

  // Pages: A4 in whole pixels; every word lies on its page, so none was
  // written past the end of one instead of onto the next.
  const int Pages = std::atoi(InfoValue(File, "Pages").c_str());
  EXPECT_GE(Pages, 1);
  EXPECT_EQ(InfoValue(File, "Page size").substr(0, 17), "595.274 x 841.889");
  const std::string Boxes = pdftest::Run("pdftotext -q -bbox '" + File + "' -");
  int BoxPages = 0, Outside = 0;
  for (std::size_t At = Boxes.find("<page "); At != std::string::npos; At = Boxes.find("<page ", At + 1)) ++BoxPages;
  for (std::size_t At = Boxes.find("yMax=\""); At != std::string::npos; At = Boxes.find("yMax=\"", At + 1))
    if (std::atof(Boxes.c_str() + At + 6) > 841.889) ++Outside;
  EXPECT_EQ(BoxPages, Pages);
  EXPECT_EQ(Outside, 0);

  // The text, in document order (raw: as the content streams hold it).
  WideString Text = RtfRead(ReadFile(In)).PlainText();
  std::erase(Text, u'\xFFFC');   // pictures stand in the text as object characters
  const std::string Got = Normalised(PdfToText(File, "-raw")), Want = Normalised(UTF8Encode(Text));
  const std::size_t At = std::size_t(std::mismatch(Got.begin(), Got.end(), Want.begin(), Want.end()).first - Got.begin());
  const std::size_t From = At < 40 ? 0 : At - 40;
  EXPECT_TRUE(Got == Want) << "read back: ..." << Got.substr(From, 100) << "\ndocument:  ..." << Want.substr(From, 100);
#endif
}

INSTANTIATE_TEST_SUITE_P(Producers, ConvertHarnessPdf, ::testing::ValuesIn(ProducerCases),
                         [](const ::testing::TestParamInfo<TProducerCase>& I) {
                           std::string N = I.param.File;
                           N = N.substr(0, N.find('.'));
                           for (char& Ch : N)
                             if (!std::isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return N;
                         });

// Bullets and Greek in the Symbol font, as WordPad writes a list: the
// standard Symbol font draws them through its own encoding, so a reader
// sees the bullet and the letters, not the text glyphs of the same codes.
TEST(ConvertHarnessPdfSymbol, SymbolFontTextReadsBackAsItsSymbols) {
  TTempDir Dir;
  const std::string In = Dir.File("list.rtf");
  std::ofstream(In, std::ios::binary)
      << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}\\f0\\fs24 "
         "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 First item\\par "
         "\\pard Greek {\\f1 abg} end\\par}";
  const auto R = sxtest::RunConvertHarness(In, "pdf", Dir.File("out"), sxtest::THarnessInput::InputRtf);
  ASSERT_EQ(R.Status, 0) << R.Error;
  ASSERT_EQ(R.Files.size(), 1u);
  const std::string Text = PdfToText(R.Files[0]);
  EXPECT_NE(Text.find("\u2022"), std::string::npos) << Text;
  EXPECT_NE(Text.find("\u03B1\u03B2\u03B3"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("\u00B7"), std::string::npos) << Text;
  for (const TFontRow& F : FontTable(R.Files[0])) {
    if (F.Name == "Symbol") {
      EXPECT_EQ(F.Type, "Type 1");
    }
  }
}

// A Courier and an Arial run inside a line of Times text: each run's text
// starts at its own position, and all of them on the line's one baseline,
// however the faces' metrics differ (the content stream's Td operators).
TEST(ConvertHarnessPdfBaseline, RunsOfDifferentFacesShareTheirLinesBaseline) {
  TTempDir Dir;
  const std::string In = Dir.File("faces.rtf");
  std::ofstream(In, std::ios::binary)
      << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fmodern Courier New;}"
         "{\\f2\\fswiss Arial;}}\\f0\\fs24 Hello world {\\f1 code here} and more {\\f2 sans text} end.\\par "
         "Second {\\f1\\fs36 bigger code} line.\\par}";
  const auto R = sxtest::RunConvertHarness(In, "pdf", Dir.File("out"), sxtest::THarnessInput::InputRtf);
  ASSERT_EQ(R.Status, 0) << R.Error;
  ASSERT_EQ(R.Files.size(), 1u);
  const std::string Plain = Dir.File("plain.pdf");
  pdftest::Run("qpdf --qdf --object-streams=disable '" + R.Files[0] + "' '" + Plain + "'");
  std::istringstream Stream(ReadFile(Plain));
  std::vector<std::string> Ys;
  for (std::string L; std::getline(Stream, L);) {
    double X = 0, Y = 0;
    char Op[3] = {};
    if (std::sscanf(L.c_str(), "%lf %lf %2s", &X, &Y, Op) == 3 && std::string(Op) == "Td") Ys.push_back(std::to_string(Y));
  }
  ASSERT_EQ(Ys.size(), 8u) << "one text position per run";
  for (std::size_t I = 1; I < 5; ++I) EXPECT_EQ(Ys[I], Ys[0]) << "run " << I << " of the first line";
  for (std::size_t I = 6; I < 8; ++I) EXPECT_EQ(Ys[I], Ys[5]) << "run " << I - 5 << " of the second line";
  EXPECT_NE(Ys[0], Ys[5]);
}

namespace {
// The boxes of the red, the blue and the green text of a page, as PIL finds
// them: "left top right bottom" each.
const char* const TextBoxes = R"PY(
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
for want in (0, 2, 1):
    mask = Image.new('L', im.size)
    mask.putdata([255 if p[want] > 100 and all(p[k] < 100 for k in range(3) if k != want) else 0 for p in im.getdata()])
    print(*(mask.getbbox() or (0, 0, 0, 0)))
)PY";
}  // namespace

// Cells of upward (red), downward (blue) and plain (green) text: the PDF page
// at 96 dpi has each text where the PNG page draws it, the turned ones too
// (their baseline lies one ascent across the line from the item's corner,
// along the text's own down direction).
TEST(ConvertHarnessPdfBaseline, TurnedTextLandsWhereThePngPageDrawsIt) {
  if (sxtest::RunStatus("/usr/bin/python3 -c 'import PIL' 2>/dev/null") != 0) GTEST_SKIP() << "PIL missing";
  TTempDir Dir;
  const std::string In = Dir.File("turned.rtf");
  std::ofstream(In, std::ios::binary)
      << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
         "\\red0\\green160\\blue0;}\\f0\\fs24 \\trowd\\cltxbtlr\\cellx1500\\cltxtbrl\\cellx3000\\cellx6000 "
         "\\pard\\intbl\\cf1 Upwards text\\cell \\pard\\intbl\\cf2 Downwards text\\cell \\pard\\intbl\\cf3 Plain\\cell "
         "\\row \\pard\\cf0 After\\par }";
  std::ofstream(Dir.File("boxes.py")) << TextBoxes;
  std::vector<std::array<int, 12>> Boxes;
  for (const char* Format : {"png", "pdf"}) {
    SCOPED_TRACE(Format);
    const auto R = sxtest::RunConvertHarness(In, Format, Dir.File(std::string("out.") + Format),
                                             sxtest::THarnessInput::InputRtf);
    ASSERT_EQ(R.Status, 0) << R.Error;
    ASSERT_EQ(R.Files.size(), 1u);
    std::string Page = R.Files[0];
    if (std::string(Format) == "pdf") {
      ASSERT_EQ(sxtest::RunStatus("/usr/bin/pdftoppm -r 96 -png -singlefile " + sxtest::HarnessQuote(Page) + " " +
                                  sxtest::HarnessQuote(Dir.File("page"))),
                0);
      Page = Dir.File("page.png");
    }
    std::istringstream Out(sxtest::RunCommand("/usr/bin/python3 " + sxtest::HarnessQuote(Dir.File("boxes.py")) + " " +
                                              sxtest::HarnessQuote(Page)));
    std::array<int, 12> B{};
    for (int& V : B) Out >> V;
    EXPECT_GT(B[3] - B[1], 50) << "the upward text runs up the page";
    EXPECT_GT(B[7] - B[5], 50) << "the downward text runs down the page";
    Boxes.push_back(B);
  }
  ASSERT_EQ(Boxes.size(), 2u);
  const char* const Edges[] = {"left", "top", "right", "bottom"};
  const char* const Texts[] = {"upward", "downward", "plain"};
  for (int I = 0; I < 12; ++I) EXPECT_NEAR(Boxes[1][I], Boxes[0][I], 2) << Texts[I / 4] << " text, " << Edges[I % 4];
}
