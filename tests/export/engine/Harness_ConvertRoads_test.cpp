// The conversion harness's roads end to end: what it writes is read back by
// the rich-edit control and by outside readers (xmllint, Python's HTML
// parser, pdftotext) and compared word for word with the input, as the
// rich-edit control reads it directly or as the editor imported it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include "export/HarnessRun.h"
#include "editor/controls/DCMemo.h"
#include "platform/richedit/RichEdit.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const char* const Python = "/usr/bin/python3";

// The text of an HTML page (cp1252) as cp1252 bytes: what a browser shows.
const char* const HtmlText = R"PY(
import sys, html.parser
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.skip = 0
        self.out = []
    def handle_starttag(self, tag, attrs):
        if tag in ('title', 'style', 'script'): self.skip += 1
        if tag == 'br': self.out.append('\n')
    def handle_endtag(self, tag):
        if tag in ('title', 'style', 'script'): self.skip -= 1
    def handle_data(self, data):
        if not self.skip: self.out.append(data)
p = P()
p.feed(open(sys.argv[1], 'rb').read().decode('cp1252'))
sys.stdout.buffer.write(''.join(p.out).replace('\xa0', ' ').encode('cp1252'))
)PY";

using sxtest::ReadFile;
using sxtest::RunCommand;

// Words separated by blanks, tabs and line ends: the text without its layout
// (the editor turns TABs into blanks and paragraph ends into line breaks).
std::vector<std::string> Words(const std::string& Text) {
  std::vector<std::string> W;
  std::istringstream S(Text);
  for (std::string X; S >> X;) W.push_back(X);
  return W;
}

std::vector<std::string> RichEditWords(const fs::path& File) {
  TRichEdit Edit(nullptr);
  Edit.GetLines()->LoadFromFile(File.string());
  return Words(Edit.GetLines()->GetText());
}

class THarnessRoads : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("sx_roads_" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Write(const std::string& Name, const std::string& Bytes) {
    const fs::path P = Dir / Name;
    std::ofstream(P, std::ios::binary) << Bytes;
    return P;
  }
  fs::path Dir;
};

struct TInput {
  const char* Name;
  const char* Bytes;
  const char* Why;
};

// Formatting, a TAB, characters of the upper code page, markup characters.
const TInput Inputs[] = {
    {"styled.rtf",
     "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}"
     "\\f0\\fs24 Hello \\b bold\\b0  and \\cf1 red\\cf0\\par \\f1 Second\\tab tabbed\\par caf\\'e9 <tag> & "
     "\\'93more\\'94\\par}",
     "an RTF document"},
    {"notes.txt", "one\r\ntwo\tthree\r\ncaf\xE9 & <b>not bold</b>\r\n", "plain text"},
};

}  // namespace

TEST_F(THarnessRoads, RtfOutputReadsBackWithTheInputsText) {
  for (const TInput& I : Inputs) {
    SCOPED_TRACE(I.Why);
    const fs::path In = Write(I.Name, I.Bytes), Out = Dir / (std::string(I.Name) + ".out.rtf");
    const auto R = sxtest::RunConvertHarness(In.string(), "rtf", Out.string());
    ASSERT_EQ(R.Status, 0) << R.Error;
    EXPECT_EQ(R.Files, std::vector<std::string>{Out.string()});
    EXPECT_EQ(ReadFile(Out).rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(RichEditWords(Out), RichEditWords(In));
  }
}

TEST_F(THarnessRoads, HtmlOutputIsTidiedWellFormedAndKeepsTheText) {
  if (!fs::exists(Python) || !fs::exists("/usr/bin/xmllint")) GTEST_SKIP() << "python3 or xmllint missing";
  const fs::path Script = Write("text.py", HtmlText);
  for (const TInput& I : Inputs) {
    SCOPED_TRACE(I.Why);
    const fs::path In = Write(I.Name, I.Bytes);
    // No extension: Save Output adds ".html".
    const fs::path Out = Dir / (fs::path(I.Name).stem().string() + "_page");
    const auto R = sxtest::RunConvertHarness(In.string(), "html", Out.string());
    ASSERT_EQ(R.Status, 0) << R.Error;
    const fs::path Page = Out.string() + ".html";
    ASSERT_EQ(R.Files, std::vector<std::string>{Page.string()});
    const std::string Html = ReadFile(Page);
    // The tidier's hand: a declared code page and indented markup.
    EXPECT_NE(Html.find("<meta charset=\"windows-1252\">"), std::string::npos) << Html;
    EXPECT_NE(Html.find("\n  <title>"), std::string::npos) << Html;
    int Status = -1;
    const std::string Lint = RunCommand("/usr/bin/xmllint --html --noout " + sxtest::HarnessQuote(Page.string()) + " 2>&1", &Status);
    EXPECT_EQ(Status, 0) << Lint;
    EXPECT_EQ(Lint, "");
    const std::string Text = RunCommand(std::string(Python) + " " + sxtest::HarnessQuote(Script.string()) + " " +
                                 sxtest::HarnessQuote(Page.string()));
    EXPECT_EQ(Words(Text), RichEditWords(In));
  }
}

TEST_F(THarnessRoads, PlainTextTakesTheEngineRoad) {
  if (!fs::exists("/usr/bin/pdftotext")) GTEST_SKIP() << "pdftotext missing";
  const TInput& Plain = Inputs[1];
  const fs::path In = Write(Plain.Name, Plain.Bytes), Out = Dir / "notes.pdf";
  const auto R = sxtest::RunConvertHarness(In.string(), "pdf", Out.string());
  ASSERT_EQ(R.Status, 0) << R.Error;
  ASSERT_EQ(R.Files, std::vector<std::string>{Out.string()});
  // pdftotext writes UTF-8: the one non-ASCII word is compared as such.
  std::vector<std::string> Want = RichEditWords(In);
  for (std::string& W : Want)
    if (W == "caf\xE9") W = "caf\xC3\xA9";
  EXPECT_EQ(Words(RunCommand("/usr/bin/pdftotext -enc UTF-8 " + sxtest::HarnessQuote(Out.string()) + " -")), Want);
}

// Whether every font of an RTF file is in the ANSI code page (charsets 0 and
// 1): only then does the text read back as ANSI show each character.
bool AllFontsAnsi(const std::string& Rtf) {
  const std::string Key = "\\fcharset";
  for (size_t P = Rtf.find(Key); P != std::string::npos; P = Rtf.find(Key, P + 1)) {
    const int Charset = std::atoi(Rtf.c_str() + P + Key.size());
    if (Charset != 0 && Charset != 1) return false;
  }
  return true;
}

// What the editor imported, the RTF it writes gives back to the rich edit:
// the import's own losses (headers, pictures) are the importer's business,
// not the road's. Documents with fonts of other code pages (or symbols) are
// left out: their characters read back as ANSI become "?".
TEST_F(THarnessRoads, CorpusDocumentsReadBackWithTheEditorsText) {
  const fs::path Corpus = fs::path(SX_CORPUS_DIR) / "rtf";
  if (!fs::is_directory(Corpus)) GTEST_SKIP() << "corpus absent";
  int Seen = 0;
  for (const auto& Entry : fs::directory_iterator(Corpus)) {
    if (Entry.path().extension() != ".rtf") continue;
    SCOPED_TRACE(Entry.path().filename().string());
    const fs::path Out = Dir / (Entry.path().stem().string() + ".out.rtf");
    const auto R = sxtest::RunConvertHarness(Entry.path().string(), "rtf", Out.string());
    if (R.Status == 1 && R.Error.find("has no text") != std::string::npos) continue;
    ASSERT_EQ(R.Status, 0) << R.Error;
    if (!AllFontsAnsi(ReadFile(Out))) continue;
    TDCMemo Editor(nullptr);
    Editor.ImportFromFile(Entry.path().string());
    EXPECT_EQ(RichEditWords(Out), Words(Editor.GetText()));
    ++Seen;
  }
  EXPECT_GT(Seen, 0);
}

namespace {
// Words of a text, sorted; the rich edit's text shows a picture as "?",
// which parts words as the picture does on a page.
std::vector<std::string> SortedWords(std::string Text) {
  std::replace(Text.begin(), Text.end(), '?', ' ');
  std::vector<std::string> Out;
  for (std::string& W : Words(Text))
    if (std::any_of(W.begin(), W.end(), [](unsigned char C) { return std::isalnum(C); })) Out.push_back(std::move(W));
  std::sort(Out.begin(), Out.end());
  return Out;
}

// For each page file: its format, size, and whether it holds dark ink.
const char* const PageScript = R"PY(
import sys
from PIL import Image
for f in sys.argv[1:]:
    im = Image.open(f); im.verify()
    im = Image.open(f); im.load()
    ink = im.convert('L').point(lambda v: 255 if v < 128 else 0).getbbox() is not None
    print(im.format, im.size[0], im.size[1], ink)
)PY";

// The text of every cell of every sheet, as xlrd reads the workbook.
const char* const SheetScript = R"PY(
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
for sh in book.sheets():
    for r in range(sh.nrows):
        for c in range(sh.ncols):
            v = sh.cell_value(r, c)
            if isinstance(v, str) and v.strip(): print(v)
)PY";
}  // namespace

// The rich-edit road's fixtures (each a fault of that road once) in every
// engine format, each file judged by its own outside reader: the PDF by
// qpdf and pdftotext (the rich edit's words, as many pages as it has), the
// pages by PIL (format, A4 at 96 dpi, ink; as many as the PDF's), SVG by
// xmllint and rsvg-convert, the workbook by xlrd (the words in its cells).
TEST_F(THarnessRoads, RichEditFixturesReadBackInEveryFormatsReader) {
  for (const char* Tool : {"/usr/bin/qpdf", "/usr/bin/pdftotext", "/usr/bin/pdfinfo", "/usr/bin/xmllint",
                           "/usr/bin/rsvg-convert"})
    if (!fs::exists(Tool)) GTEST_SKIP() << Tool << " missing";
  if (sxtest::RunStatus(std::string(Python) + " -c 'import PIL, xlrd' 2>/dev/null") != 0) GTEST_SKIP() << "PIL or xlrd missing";
  const fs::path PageCheck = Write("pages.py", PageScript), SheetCheck = Write("sheet.py", SheetScript);
  struct TFixture {
    const char* File;
    const char* SheetLoses;   // words the workbook is known to lose, or ""
  } const Fixtures[] = {
      {"richedit_tall_row.rtf", ""},
      {"richedit_sections.rtf", ""},
      {"richedit_exact_line.rtf", ""},
      {"richedit_wide_cells.rtf", ""},
      {"richedit_shape_pictures.rtf", ""},
      {"richedit_turned_cells.rtf", ""},
      {"richedit_turned_pictures.rtf", ""},
      {"richedit_wmf_goal.rtf", ""},
      {"richedit_wmf_stretchblt.rtf", ""},
  };
  const fs::path Folder = fs::path(SX_SOURCE_DIR) / "tests/fixtures/rtf";
  for (const TFixture& F : Fixtures) {
    SCOPED_TRACE(F.File);
    const fs::path In = Folder / F.File;
    std::string Text;
    for (const std::string& W : RichEditWords(In)) Text += W + " ";
    const std::vector<std::string> Want = SortedWords(Text);
    ASSERT_FALSE(Want.empty());
    const std::string Stem = fs::path(F.File).stem().string();
    auto Convert = [&](const std::string& Format) {
      const fs::path Out = Dir / (Stem + "_" + Format);
      fs::create_directories(Out);
      const auto R = sxtest::RunConvertHarness(In.string(), Format, (Out / ("out." + Format)).string(),
                                               sxtest::THarnessInput::InputRtf);
      EXPECT_EQ(R.Status, 0) << Format << ": " << R.Error;
      std::vector<std::string> Pages;   // the files of the format itself
      for (const std::string& File : R.Files)
        if (fs::path(File).extension() == "." + Format) Pages.push_back(File);
      return Pages;
    };
    auto Quoted = [](const std::vector<std::string>& Files) {
      std::string Q;
      for (const std::string& File : Files) Q.append(1, ' ').append(sxtest::HarnessQuote(File));
      return Q;
    };

    const std::vector<std::string> Pdf = Convert("pdf");
    ASSERT_EQ(Pdf.size(), 1u);
    const std::string P = sxtest::HarnessQuote(Pdf[0]);
    int Status = -1;
    const std::string Check = RunCommand("/usr/bin/qpdf --check " + P + " 2>&1", &Status);
    EXPECT_EQ(Status, 0) << Check;
    EXPECT_EQ(SortedWords(RunCommand("/usr/bin/pdftotext -enc UTF-8 " + P + " -")), Want);
    const std::string Info = RunCommand("/usr/bin/pdfinfo " + P);
    const std::size_t At = Info.find("Pages:");
    ASSERT_NE(At, std::string::npos) << Info;
    const std::size_t PageCount = std::size_t(std::atoi(Info.c_str() + At + 6));

    for (const char* Raster : {"png", "jpg", "bmp"}) {
      SCOPED_TRACE(Raster);
      const std::vector<std::string> Pages = Convert(Raster);
      EXPECT_EQ(Pages.size(), PageCount);
      const std::string Format = std::string(Raster) == "jpg" ? "JPEG" : Raster == std::string("png") ? "PNG" : "BMP";
      std::istringstream Out(RunCommand(std::string(Python) + " " + sxtest::HarnessQuote(PageCheck.string()) +
                                        Quoted(Pages) + " 2>&1"));
      std::size_t Read = 0;
      for (std::string Line; std::getline(Out, Line); ++Read) EXPECT_EQ(Line, Format + " 794 1123 True");
      EXPECT_EQ(Read, Pages.size());
    }

    const std::vector<std::string> Svg = Convert("svg");
    EXPECT_EQ(Svg.size(), PageCount);
    for (const std::string& Page : Svg) {
      const std::string Lint = RunCommand("/usr/bin/xmllint --noout " + sxtest::HarnessQuote(Page) + " 2>&1", &Status);
      EXPECT_EQ(Status, 0) << Lint;
      const std::string Render = RunCommand("/usr/bin/rsvg-convert -o " + sxtest::HarnessQuote(Page + ".png") + " " +
                                            sxtest::HarnessQuote(Page) + " 2>&1", &Status);
      EXPECT_EQ(Status, 0) << Render;
    }

    const std::vector<std::string> Xls = Convert("xls");
    ASSERT_EQ(Xls.size(), 1u);
    std::vector<std::string> Cells = SortedWords(
        RunCommand(std::string(Python) + " " + sxtest::HarnessQuote(SheetCheck.string()) + Quoted(Xls) + " 2>&1", &Status));
    EXPECT_EQ(Status, 0);
    std::vector<std::string> Kept = Want;
    for (const std::string& Lost : SortedWords(F.SheetLoses)) {
      const auto It = std::find(Kept.begin(), Kept.end(), Lost);
      if (It != Kept.end()) Kept.erase(It);
    }
    EXPECT_EQ(Cells, Kept);
  }
}

// LibreOffice writes a control word and a line end before almost every
// run; the line end is layout, so on the editor road its documents keep a
// line per paragraph: the page has no more line breaks than the source has
// words that end a line (\par, \line, \row, \sect, \page).
TEST_F(THarnessRoads, LibreOfficeDocumentsKeepALinePerParagraphOnTheEditorRoad) {
  const fs::path Corpus = fs::path(SX_CORPUS_DIR) / "rtf";
  if (!fs::is_directory(Corpus)) GTEST_SKIP() << "corpus absent";
  const std::regex Break(R"(\\(par|line|row|sect|page)(?![a-zA-Z]))"), Br("<br\\b");
  int Seen = 0;
  for (const auto& Entry : fs::directory_iterator(Corpus)) {
    const std::string Name = Entry.path().filename().string();
    if (Name.rfind("libreoffice_", 0) != 0 || Entry.path().extension() != ".rtf") continue;
    SCOPED_TRACE(Name);
    const std::string Source = ReadFile(Entry.path());
    const fs::path Out = Dir / (Entry.path().stem().string() + ".html");
    const auto R = sxtest::RunConvertHarness(Entry.path().string(), "html", Out.string());
    ASSERT_EQ(R.Status, 0) << R.Error;
    const std::string Html = ReadFile(Out);
    const auto Count = [](const std::string& Text, const std::regex& E) {
      return std::distance(std::sregex_iterator(Text.begin(), Text.end(), E), std::sregex_iterator());
    };
    EXPECT_LE(Count(Html, Br), Count(Source, Break));
    ++Seen;
  }
  EXPECT_GT(Seen, 0);
}

TEST_F(THarnessRoads, BadCallsAnswerWithAStatusAndOneLine) {
  constexpr auto Editor = sxtest::THarnessInput::Editor, InputRtf = sxtest::THarnessInput::InputRtf;
  struct TCase { const char* Input; const char* Format; sxtest::THarnessInput Road; int Status; const char* Why; };
  const TCase Cases[] = {
      {"", "html", Editor, 1, "an empty document converts nothing"},
      {"", "rtf", Editor, 1, "an empty document converts nothing"},
      {"", "png", Editor, 1, "an empty document converts nothing"},
      {"", "png", InputRtf, 1, "an empty document converts nothing, also as its own RTF"},
      {"{\\rtf1 }", "rtf", Editor, 1, "an RTF document without text converts nothing"},
      {"text", "doc", Editor, 3, "an unknown format"},
      {"text", "html", InputRtf, 2, "the input's own RTF is for the engine formats only"},
      {nullptr, "rtf", Editor, 1, "a missing input"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    const fs::path In = C.Input ? Write("in.rtf", C.Input) : Dir / "missing.rtf";
    const fs::path Out = Dir / "out";
    const auto R = sxtest::RunConvertHarness(In.string(), C.Format, Out.string(), C.Road);
    EXPECT_EQ(R.Status, C.Status) << R.Error;
    EXPECT_TRUE(R.Files.empty());
    EXPECT_EQ(std::count(R.Error.begin(), R.Error.end(), '\n'), 1) << R.Error;
    EXPECT_FALSE(fs::exists(Out));
  }
}

// Every run works in a folder of its own under TMPDIR and removes it, on
// success and on failure.
TEST_F(THarnessRoads, RunsLeaveNoTemporaryFilesBehind) {
  const fs::path Tmp = Dir / "tmp";
  fs::create_directories(Tmp);
  const char* Old = std::getenv("TMPDIR");
  const std::string Saved = Old ? Old : "";
  setenv("TMPDIR", Tmp.c_str(), 1);
  const fs::path In = Write("in.txt", "some text\r\n"), Empty = Write("empty.txt", "");
  const int Html = sxtest::RunConvertHarness(In.string(), "html", (Dir / "o.html").string()).Status;
  const int Bmp = sxtest::RunConvertHarness(In.string(), "bmp", (Dir / "o.bmp").string()).Status;
  const int Failed = sxtest::RunConvertHarness(Empty.string(), "pdf", (Dir / "o.pdf").string()).Status;
  if (Old) setenv("TMPDIR", Saved.c_str(), 1); else unsetenv("TMPDIR");
  EXPECT_EQ(Html, 0);
  EXPECT_EQ(Bmp, 0);
  EXPECT_EQ(Failed, 1);
  EXPECT_TRUE(fs::is_empty(Tmp));
}

TEST_F(THarnessRoads, WithoutATidierHtmlIsNotAvailable) {
  const fs::path In = Write("in.txt", "some text\r\n");
  const char* Old = std::getenv("PATH");
  const std::string Saved = Old ? Old : "";
  setenv("PATH", (Dir / "nothing-here").c_str(), 1);
  const auto R = sxtest::RunConvertHarness(In.string(), "html", (Dir / "o.html").string());
  setenv("PATH", Saved.c_str(), 1);
  EXPECT_EQ(R.Status, 3) << R.Error;
  EXPECT_NE(R.Error.find("tidy"), std::string::npos) << R.Error;
  EXPECT_FALSE(fs::exists(Dir / "o.html"));
}
