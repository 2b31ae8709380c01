// The HTML road outside the editor: what the HTML exporter writes goes
// through the system's tidier with our configuration, run as the program
// runs it, and an outside HTML parser reads back text and formats.
#include "editor/exchange/DCHTMLExporter.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include "platform/rtl/Streams.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const char* const Tidy = "/usr/bin/tidy";
const char* const Python = "/usr/bin/python3";

// Prints one line per text piece: the text (cp1252 decoded, as UTF-8) and
// the bold, italic, face and colour in effect there.
const char* const Reader = R"PY(
import sys, html.parser
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.out = []
    def handle_starttag(self, tag, attrs):
        if tag in ('br', 'meta'):
            if tag == 'br': self.out.append('BR')
            return
        self.stack.append((tag, dict(attrs)))
    def handle_endtag(self, tag):
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                del self.stack[i:]
                return
    def handle_data(self, data):
        if not data.strip(): return
        if any(t == 'title' for t, _ in self.stack):
            self.out.append('TITLE|' + data); return
        b = any(t == 'b' for t, _ in self.stack)
        i = any(t == 'i' for t, _ in self.stack)
        face = color = ''
        for t, a in self.stack:
            if t == 'font':
                face = a.get('face', face)
                color = a.get('color', color)
        self.out.append('%s|%d%d|%s|%s' % (data.strip(), b, i, face, color.upper()))
raw = open(sys.argv[1], 'rb').read()
p = P()
p.feed(raw.decode('cp1252'))
sys.stdout.write('\n'.join(p.out) + '\n')
)PY";

using sxtest::ReadFile;

// A document of three lines as the editor's walk hands it over, in the
// editor font Courier New 10: a plain line with blanks and markup
// characters, a line of bold red Arial next to italic blue text, and a line
// with text in the upper half of the code page.
void WriteDocument(TDCExporter& E) {
  auto Run = [&](const AnsiString& Face, bool Bold, bool Italic, TColor Color, const AnsiString& Text) {
    E.StartFontCharset(Face, 1);
    E.StartFontSize(10);
    if (Bold) E.StartBold();
    if (Italic) E.StartItalic();
    E.StartColor(Color);
    E.WriteString(E.ConvertText(Text));
    E.EndColor();
    if (Italic) E.EndItalic();
    if (Bold) E.EndBold();
    E.EndFontSize();
    E.EndFont();
  };
  E.StartDocument("R&D <notes>.rtf");
  E.StartPageColor(clWhite);
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  Run("Courier New", false, false, clBlack, "if a < b && c > \"d\"");
  E.LineBreak();
  Run("Arial", true, false, clRed, "Bold red");
  Run("Courier New", false, true, clBlue, "italic blue");
  E.LineBreak();
  Run("Courier New", false, false, TColor(0x00336699), "caf\xE9 \x93quoted\x94");
  E.EndColor();
  E.EndFontSize();
  E.EndFont();
  E.EndPageColor();
  E.EndDocument();
}

TEST(HtmlRoad, TidiedExportKeepsTextAndFormats) {
  if (!fs::exists(Tidy) || !fs::exists(Python)) GTEST_SKIP() << "tidy or python3 missing";
  const fs::path Config = fs::path(SX_SOURCE_DIR) / "data" / "tdy_config.txt";
  ASSERT_TRUE(fs::exists(Config));
  const fs::path Dir = fs::temp_directory_path() / ("sx_htmlroad_" + std::to_string(getpid()));
  fs::remove_all(Dir);
  fs::create_directories(Dir);
  const fs::path Html = Dir / "tdy.html", Err = Dir / "err.txt", Script = Dir / "read.py";
  {
    TFileStream F(Html.string(), fmCreate);
    TDCHTMLExporter E(&F);
    WriteDocument(E);
  }
  std::ofstream(Script) << Reader;

  const std::string Cmd = std::string("\"") + Tidy + "\" -config \"" + Config.string() + "\" -f \"" +
                          Err.string() + "\" -im \"" + Html.string() + "\"";
  const int Rc = sxtest::RunStatus(Cmd);
  ASSERT_GE(Rc, 0);  // it ended of itself
  EXPECT_LE(Rc, 1) << "tidy reported errors: " << ReadFile(Err);  // 1: warnings only
  EXPECT_TRUE(fs::exists(Err));  // its creation marks the end of the run
  EXPECT_EQ(ReadFile(Err), "") << "quiet configuration still wrote messages";

  const AnsiString Tidied = ReadFile(Html);
  EXPECT_NE(Tidied.find("charset=\"windows-1252\""), AnsiString::npos) << Tidied;
  EXPECT_NE(Tidied.find("caf\xE9"), AnsiString::npos) << "bytes of the code page rewritten";
  EXPECT_NE(Tidied.find("\n  "), AnsiString::npos) << "not indented";

  const fs::path Out = Dir / "parsed.txt";
  const std::string Read = std::string("\"") + Python + "\" \"" + Script.string() + "\" \"" + Html.string() +
                           "\" > \"" + Out.string() + "\"";
  ASSERT_EQ(sxtest::RunStatus(Read), 0);
  const AnsiString Parsed = ReadFile(Out);
  const char* const Wants[] = {
      "TITLE|R&D <notes>.rtf",
      // \u00A0: the &nbsp; written for each blank
      "if\u00A0a\u00A0<\u00A0b\u00A0&&\u00A0c\u00A0>\u00A0\"d\"|00|Courier New|#000000\n",
      "Bold\u00A0red|10|Arial|#FF0000\n",
      "italic\u00A0blue|01|Courier New|#0000FF\n",
      "caf\u00E9\u00A0\u201Cquoted\u201D|00|Courier New|#996633\n",
  };
  for (const char* W : Wants) EXPECT_NE(Parsed.find(W), AnsiString::npos) << W << "\nin:\n" << Parsed;
  // Lines keep their order, one break between each.
  const size_t Break1 = Parsed.find("\nBR\nBold"), Break2 = Parsed.find("\nBR\ncaf");
  EXPECT_NE(Break1, AnsiString::npos);
  EXPECT_NE(Break2, AnsiString::npos);
  EXPECT_LT(Break1, Break2);
  fs::remove_all(Dir);
}

}  // namespace
