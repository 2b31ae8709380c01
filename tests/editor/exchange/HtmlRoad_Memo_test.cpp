// The HTML road at library level: real documents from several producers are
// imported into an editor set up as the main window's input editor,
// exported with ExportToHtmlFile, tidied in place by the system's tidier with
// our configuration and the program's command line, and read back by an
// outside HTML parser. The text must come back whole, and every character
// must carry the bold, italic, underline, face, size and colour the editor
// holds for it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>
#include <vector>

#include "editor/controls/DCMemo.h"
#include "platform/rtl/CodePages.h"
#include "editor/exchange/DCHTMLExporter.h"
#include "platform/rtl/ObjectText.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const char* const Tidy = "/usr/bin/tidy";
const char* const Python = "/usr/bin/python3";

// The global editor options come from the per-user store: give this test
// program a store of its own, so they are the defaults.
const bool StoreIsolated = [] {
  const auto Dir = fs::temp_directory_path() / ("sx_htmlroad_store_" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
  return true;
}();

// The input editor as the main window's form describes it; UseGlobalOptions
// comes last, so the global options then replace its look.
const char* const InputEditorForm = R"(object DCMemo: TDCMemo
  BlockIndent = 4
  BlockOption = bkStreamSel
  BorderStyle = bsNone
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'Tahoma'
  HideScrollBars = True
  KeyMapping = 'Visual Studio'
  LineNumColor = clBtnShadow
  Options = [moDrawGutter, moThumbTracking, moColorSyntax, moLineNumbers, moSelectOnlyText, moLineNumbersOnGutter]
  ScrollBars = ssVertical
  SelBackColor = clNavy
  SelColor = clWindow
  SpacesInTab = 8
  StringsOptions = [soBackUnindents, soGroupUndo, soForceCutCopy, soAutoIndent, soSmartTab, soFindTextAtCursor, soOverwriteBlocks, soLimitEOL]
  TabStops = '9,17'
  UseDefaultMenu = False
  WantTabs = True
  WordWrap = True
  UseGlobalOptions = True
end
)";

// One record a line: "BR" for a line break, else the format in effect
// (bold, italic, underline, strike-out flags; face; colour; size) and the
// text as hex bytes of code page 1252. Blanks of the document are &nbsp;
// entities, so real white space is the tidier's layout and is dropped.
// Neighbouring pieces of one format are merged.
const char* const Reader = R"PY(
import sys, html.parser
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.out = []
        self.body = False
    def handle_starttag(self, tag, attrs):
        if tag == 'body': self.body = True
        if tag == 'br':
            self.out.append(['BR', b''])
            return
        if tag in ('meta', 'link', 'img', 'hr'): return
        self.stack.append((tag, dict(attrs)))
    def handle_endtag(self, tag):
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                del self.stack[i:]
                return
    def handle_data(self, data):
        if not self.body or any(t in ('title', 'head', 'style', 'script') for t, _ in self.stack): return
        text = ''.join(c for c in data if c not in ' \t\r\n\f').replace('\xa0', ' ')
        if not text: return
        tags = [t for t, _ in self.stack]
        flags = '%d%d%d%d' % ('b' in tags or 'strong' in tags, 'i' in tags or 'em' in tags, 'u' in tags,
                              's' in tags or 'strike' in tags)
        face = color = size = ''
        for t, a in self.stack:
            if t == 'font':
                face = a.get('face', face)
                color = a.get('color', color)
                size = a.get('size', size)
        key = '%s|%s|%s|%s' % (flags, face, color.upper(), size)
        raw = text.encode('cp1252', errors='replace')
        if self.out and self.out[-1][0] == key: self.out[-1][1] += raw
        else: self.out.append([key, raw])
p = P()
p.feed(open(sys.argv[1], 'rb').read().decode('cp1252', errors='replace'))
sys.stdout.write(''.join(k + ('' if k == 'BR' else '|' + v.hex()) + '\n' for k, v in p.out))
)PY";

using sxtest::ReadFile;

std::vector<std::string> SplitLines(const std::string& S) {
  std::vector<std::string> Out;
  std::istringstream In(S);
  for (std::string L; std::getline(In, L);) Out.push_back(L);
  return Out;
}

std::string Hex(const std::string& S) {
  static const char Digits[] = "0123456789abcdef";
  std::string H;
  for (unsigned char C : S) {
    H += Digits[C >> 4];
    H += Digits[C & 15];
  }
  return H;
}

// What the reader must find: the editor's displayed lines, each character
// in the font the export walk takes for its style, merged the same way.
struct TExpected {
  std::vector<std::string> Records;
  std::string Text;  // lines joined by "\n", as the reader's records give it
  int Bold = 0, Italic = 0, Underline = 0, Coloured = 0;
  std::set<std::string> Faces;
};

TExpected Expect(TCustomDCMemo& M) {
  TExpected E;
  TCustomMemoSource* S = M.GetSource();
  for (Integer L = 0; L < S->GetLineCount(); ++L) {
    if (L > 0) {
      E.Records.push_back("BR");
      E.Text += "\n";
    }
    const AnsiString Line = M.GetLines()->GetStrings(L);
    AnsiString Styles;
    S->GetExpandedColorData(L, Styles);
    std::string Key, Run;
    auto Flush = [&] {
      if (!Run.empty()) E.Records.push_back(Key + "|" + Hex(Run));
      Run.clear();
    };
    for (size_t I = 0; I < Line.size(); ++I) {
      const Integer Style = I < Styles.size() ? Byte(Styles[I]) : 0;
      TFont* F = M.GetStyleFont(Style);
      // Bytes of a font in another charset are that code page's characters;
      // the page shows them in its own code page, "?" where it has none.
      std::string Shown(1, Line[I]);
      const Byte Charset = Byte(F->GetCharset());
      const UINT CodePage = Charset == DEFAULT_CHARSET || Charset == SYMBOL_CHARSET ? GetACP() : CodePageFromCharset(Charset);
      if (CodePage != GetACP() && IsValidCodePage(CodePage) && static_cast<unsigned char>(Line[I]) >= 0x80) {
        if (IsDBCSLeadByteEx(CodePage, BYTE(Line[I])) && I + 1 < Line.size()) Shown += Line[++I];
        Shown = ConvertCodePage(Shown, CodePage, GetACP());
      }
      for (char& Ch : Shown)
        if (Ch == '\xA0') Ch = ' ';
      const char C = Shown[0];
      const TFontStyles St = F->GetStyle();
      const std::string K = std::to_string(St.Contains(fsBold)) + std::to_string(St.Contains(fsItalic)) +
                            std::to_string(St.Contains(fsUnderline)) + std::to_string(St.Contains(fsStrikeOut)) +
                            "|" + F->GetName() + "|" + HtmlColor(F->GetColor()) + "|" +
                            std::to_string(HtmlFontSize(F->GetSize()));
      if (C != ' ') {
        E.Bold += St.Contains(fsBold);
        E.Italic += St.Contains(fsItalic);
        E.Underline += St.Contains(fsUnderline);
        E.Coloured += F->GetColor() != clBlack;
        E.Faces.insert(F->GetName());
      }
      if (K != Key) Flush();
      Key = K;
      Run += Shown;
      E.Text += Shown;
    }
    Flush();
  }
  return E;
}

// The text of the reader's records, lines joined by "\n".
std::string TextOf(const std::vector<std::string>& Records) {
  std::string T;
  for (const std::string& R : Records) {
    if (R == "BR") {
      T += "\n";
      continue;
    }
    const std::string H = R.substr(R.rfind('|') + 1);
    for (size_t I = 0; I + 1 < H.size(); I += 2) T += char(std::stoi(H.substr(I, 2), nullptr, 16));
  }
  return T;
}

struct TDocument {
  const char* File;
  bool Bold, Italic, Underline, Colour, Faces;  // the document has them
};

class HtmlRoadMemo : public ::testing::TestWithParam<TDocument> {};

TEST_P(HtmlRoadMemo, TidiedHtmlKeepsTheDocumentsTextAndLook) {
  const TDocument& Doc = GetParam();
  const fs::path In = fs::path(SX_CORPUS_DIR) / "rtf" / Doc.File;
  if (!fs::exists(In)) GTEST_SKIP() << "no RTF corpus";
  if (!fs::exists(Tidy) || !fs::exists(Python)) GTEST_SKIP() << "tidy or python3 missing";
  ASSERT_TRUE(StoreIsolated);

  // The data folder as the program has it: the tidier, its configuration.
  const fs::path Data = fs::temp_directory_path() / ("sx_htmlroad_" + std::to_string(::getpid()) + "_" +
                                                     fs::path(Doc.File).stem().string());
  fs::remove_all(Data);
  fs::create_directories(Data);
  fs::create_symlink(Tidy, Data / "tidy");
  fs::copy_file(fs::path(SX_SOURCE_DIR) / "data" / "tdy_config.txt", Data / "tdy_config.txt");
  const std::string D = Data.string() + "/";

  TDCMemo M(nullptr);
  TextToComponent(InputEditorForm, &M);
  M.SetSyntaxParser(nullptr);  // the main window starts its input editor without one
  ASSERT_TRUE(M.GetUseGlobalOptions());
  ASSERT_TRUE(M.GetOptions().Contains(moColorSyntax));
  M.ImportFromFile(In.string());
  ASSERT_NE(M.GetText(), "");
  M.ExportToHtmlFile(D + "tdy.html");

  const std::string Cmd = "\"" + D + "tidy\" -config \"" + D + "tdy_config.txt\" -f \"" + D + "err.txt\" -im \"" +
                          D + "tdy.html\"";
  const int Rc = sxtest::RunStatus(Cmd);
  ASSERT_GE(Rc, 0);  // it ended of itself
  EXPECT_LE(Rc, 1) << ReadFile(Data / "err.txt");
  EXPECT_TRUE(fs::exists(Data / "err.txt")) << "the end of the tidier's run is not marked";

  std::ofstream(Data / "read.py") << Reader;
  const std::string Read = "\"" + std::string(Python) + "\" \"" + (Data / "read.py").string() + "\" \"" + D +
                           "tdy.html\" > \"" + D + "parsed.txt\"";
  ASSERT_EQ(sxtest::RunStatus(Read), 0);
  const std::vector<std::string> Got = SplitLines(ReadFile(Data / "parsed.txt"));

  const TExpected Want = Expect(M);
  EXPECT_EQ(TextOf(Got), Want.Text) << "the text changed on the road";
  const size_t N = std::min(Got.size(), Want.Records.size());
  size_t First = 0;
  while (First < N && Got[First] == Want.Records[First]) ++First;
  EXPECT_EQ(First, Want.Records.size()) << "first difference at record " << First << ":\n  got  "
                                        << (First < Got.size() ? Got[First] : "(end)") << "\n  want "
                                        << (First < Want.Records.size() ? Want.Records[First] : "(end)");
  EXPECT_EQ(Got.size(), Want.Records.size());

  // The document's own formats reached the editor, so the road carried them.
  EXPECT_TRUE(!Doc.Bold || Want.Bold > 0);
  EXPECT_TRUE(!Doc.Italic || Want.Italic > 0);
  EXPECT_TRUE(!Doc.Underline || Want.Underline > 0);
  EXPECT_TRUE(!Doc.Colour || Want.Coloured > 0);
  EXPECT_TRUE(!Doc.Faces || Want.Faces.size() > 1u);
  fs::remove_all(Data);
}

INSTANTIATE_TEST_SUITE_P(Producers, HtmlRoadMemo,
                         // File, then what it holds: bold, italic, underline, colour, several faces.
                         ::testing::Values(TDocument{"abiword_striprtf_french.rtf", false, false, false, false, false},
                                           TDocument{"aft_aft2rtf_doc.rtf", true, false, false, false, true},
                                           TDocument{"cxref_memory_c.rtf", true, false, false, false, true},
                                           TDocument{"googledocs_rtfpipe_list.rtf", false, false, false, false, false},
                                           TDocument{"libreoffice_rtfparser_sample_100kB.rtf", true, true, true, true, true},
                                           TDocument{"linuxdoc_guide.rtf", true, false, false, false, true},
                                           TDocument{"pandocwriter_pandoc_writer.rtf", true, true, true, false, true},
                                           TDocument{"perl_rtfwriter_la_dame.rtf", true, true, true, false, false},
                                           TDocument{"phprtflite_rtfpipe_chess_tournament.rtf", false, false, false, true, true},
                                           TDocument{"report_rtfpipe_issue51.rtf", true, false, true, true, true},
                                           TDocument{"richedit_rtfpipe_old3_from_web.rtf", true, true, true, false, true},
                                           TDocument{"ted_rtfpipe_mixed_faces.rtf", true, true, true, false, true},
                                           TDocument{"textedit_sc3_gendy5_help.rtf", true, true, true, true, true},
                                           TDocument{"winhelp_rtfjs_homeaudiometer.rtf", true, true, true, true, true},
                                           TDocument{"word_pandoc_formatting.rtf", true, true, true, false, false},
                                           TDocument{"wordmac_rtfpipe_color.rtf", false, false, false, true, false},
                                           TDocument{"wordpad_rtfjs_colors.rtf", false, false, false, true, false}),
                         [](const auto& Info) {
                           std::string N = fs::path(Info.param.File).stem().string();
                           for (char& C : N)
                             if (!std::isalnum(static_cast<unsigned char>(C))) C = '_';
                           return N;
                         });

}  // namespace
