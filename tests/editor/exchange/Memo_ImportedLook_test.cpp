// Imported runs keep their look: the RTF importer's runs become stored
// attributes of an editor's attribute parser, and the export walk writes
// them again as HTML and RTF.
#include <gtest/gtest.h>

#include "editor/controls/DCMemo.h"
#include "editor/exchange/DCHTMLExporter.h"
#include "platform/rtl/Streams.h"

namespace {

const char* const Fragment =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"
    "\\f0\\fs20 plain {\\b bold} {\\i italic} {\\ul under}\\par "
    "{\\cf1 red} {\\f1\\fs28 big serif} {\\highlight3 marked}}";

void Import(TCustomDCMemo& M, const AnsiString& Rtf) {
  TStringStream In(Rtf);
  M.ImportFromStream(&In);
}

AnsiString ExportHtml(TCustomDCMemo& M) {
  TStringStream Out;
  M.ExportToStream(&Out, &ExporterClassOf<TDCHTMLExporter>, false);
  return Out.DataString();
}

AnsiString ExportRtf(TCustomDCMemo& M) {
  TStringStream Out;
  M.ExportRtfToStream(&Out, false);
  return Out.DataString();
}

// The stored style byte of a character.
Integer StyleAt(TCustomDCMemo& M, Integer Line, Integer Char) {
  AnsiString Attrs;
  M.GetSource()->GetColorData(Line, Attrs);
  return Char < Integer(Attrs.size()) ? Byte(Attrs[size_t(Char)]) : -1;
}

// Where the text first has Word, the style index stored there.
Integer StyleOfWord(TCustomDCMemo& M, const AnsiString& Word) {
  for (Integer L = 0; L < M.GetLines()->GetCount(); ++L) {
    const size_t At = M.GetSource()->GetLineText(L).find(Word);
    if (At != AnsiString::npos) return StyleAt(M, L, Integer(At));
  }
  ADD_FAILURE() << Word << " not in the text";
  return -1;
}

}  // namespace

TEST(TCustomDCMemoImport, ImportedFragmentExportsToHtmlWithItsLook) {
  TDCMemo M(nullptr);
  Import(M, Fragment);
  EXPECT_EQ(M.GetText(), "plain bold italic under\r\nred big serif marked");
  // Every run is Arial or Times New Roman, never the editor's Courier New,
  // so each one opens its face; size and colour only where they change.
  EXPECT_EQ(ExportHtml(M),
            "<Html><Head></Head><Title></Title><Body><font face=\"Times New Roman\">\r\n"
            "<Body BGCOLOR=\"#FFFFFF\">\r\n"
            "<font face=\"Courier New\"><font SIZE=\"2\"><font color=\"#000000\">"
            "<font face=\"Arial\"><font SIZE=\"2\"><font color=\"#000000\">plain&nbsp;</font></font></font>"
            "<font face=\"Arial\"><B>bold</B></font><font face=\"Arial\">&nbsp;</font>"
            "<font face=\"Arial\"><I>italic</I></font><font face=\"Arial\">&nbsp;</font>"
            "<font face=\"Arial\"><U>under</U></font><BR>\r\n"
            "<font face=\"Arial\"><font SIZE=\"2\"><font color=\"#FF0000\">red</font></font></font>"
            "<font face=\"Arial\"><font color=\"#000000\">&nbsp;</font></font>"
            "<font face=\"Times New Roman\"><font SIZE=\"4\">big&nbsp;serif</font></font>"
            "<font face=\"Arial\"><font SIZE=\"2\">&nbsp;</font></font>"
            "<font face=\"Arial\">marked</font>"
            "</font></font></font></Body></font></Body></Html>");
}

TEST(TCustomDCMemoImport, ImportedFragmentExportsToRtfWithItsLook) {
  TDCMemo M(nullptr);
  Import(M, Fragment);
  // Arial keeps the charset the font table gave its first entry, Times New
  // Roman the 0 that follows; the highlight names the yellow of the table.
  EXPECT_EQ(ExportRtf(M),
            "{\\rtf1\\ansi {\\fonttbl\r\n"
            "{\\f0\\fcharset1 \\fnil Times New Roman;}\r\n"
            "{\\f1\\fcharset1 Courier New;}\r\n"
            "{\\f2\\fcharset1 Arial;}\r\n"
            "{\\f3\\fcharset0 Times New Roman;}\r\n"
            "}\r\n"
            "{\\colortbl\r\n"
            "\\red0\\green0\\blue0;\r\n"
            "\\red255\\green0\\blue0;\r\n"
            "\\red255\\green255\\blue0;\r\n"
            "}\r\n"
            "\r\n"
            "{\\plain \r\n"
            "{\\f1 {\\fs20 \r\n"
            "{\\cf0 {\\f2 {\\fs20 \r\n"
            "{\\cf0 plain }}}{\\f2 {\\b \r\n"
            "bold}}{\\f2  }{\\f2 {\\i \r\n"
            "italic}}{\\f2  }{\\f2 {\\ul \r\n"
            "under}}{\\line \r\n"
            "}{\\f2 {\\fs20 \r\n"
            "{\\cf1 red}}}{\\f2 {\\cf0  }}{\\f3 {\\fs28 \r\n"
            "big serif}}{\\f2 {\\fs20 \r\n"
            " }}{\\f2 {\\highlight2 marked}}}}}}}");
}

TEST(TCustomDCMemoImport, EachRunAttributeReachesTheStyleOfItsText) {
  struct TCase {
    const char* Body;
    const char* Face;
    Integer Size;
    TFontStyles Style;
    TColor Color, Back;
    const char* Why;
  };
  const TCase Cases[] = {
      {"\\f1\\fs20 x", "Arial", 10, {}, clBlack, clWindow, "face"},
      {"\\fs31 x", "Courier New", 15, {}, clBlack, clWindow, "half points round down"},
      {"\\b\\i\\ul\\strike x", "Courier New", 10, {fsBold, fsItalic, fsUnderline, fsStrikeOut}, clBlack, clWindow,
       "every style"},
      {"\\b x\\b0", "Courier New", 10, {fsBold}, clBlack, clWindow, "bold switched off after the run"},
      {"\\cf2 x", "Courier New", 10, {}, TColor(0x00FF0000), clWindow, "text colour from the table"},
      {"\\highlight1 x", "Courier New", 10, {}, clBlack, TColor(0x000000FF), "background from the table"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDCMemo M(nullptr);
    Import(M, AnsiString("{\\rtf1{\\fonttbl{\\f0 Courier New;}{\\f1 Arial;}}"
                         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs20 ") +
                  C.Body + "}");
    ASSERT_EQ(M.GetText(), "x");
    const Integer Style = StyleAt(M, 0, 0);
    ASSERT_GT(Style, 0) << "the run took the editor's look";
    TFont* F = M.GetStyleFont(Style);
    EXPECT_EQ(F->GetName(), C.Face);
    EXPECT_EQ(F->GetSize(), C.Size);
    EXPECT_EQ(F->GetStyle(), C.Style);
    EXPECT_EQ(F->GetColor(), C.Color);
    EXPECT_EQ(M.GetStyleColor(Style), C.Back);
  }
}

TEST(TCustomDCMemoImport, RunsThatLookLikeTheEditorKeepStyleZero) {
  TDCMemo M(nullptr);
  Import(M, "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 same {\\b bold} same\\tab again}");
  EXPECT_EQ(M.GetText(), "same bold same   again");  // the TAB as blanks to the stop at 17
  EXPECT_EQ(StyleOfWord(M, "same"), 0);
  EXPECT_GT(StyleOfWord(M, "bold"), 0);
  EXPECT_EQ(StyleOfWord(M, "again"), 0);
  auto* P = dynamic_cast<TAttributeParser*>(M.GetSyntaxParser());
  ASSERT_NE(P, nullptr) << "the import gives the editor an attribute parser";
  EXPECT_EQ(P->AttrCount(), 2);
}

TEST(TCustomDCMemoImport, EachImportStartsFromAnEmptyAttributeTable) {
  TDCMemo M(nullptr);
  AnsiString Many = "{\\rtf1{\\colortbl;";
  for (int I = 1; I <= 20; ++I) Many += "\\red" + std::to_string(I) + "\\green0\\blue0;";
  Many += "}";
  for (int I = 1; I <= 20; ++I) Many += "{\\cf" + std::to_string(I) + " c" + std::to_string(I) + "}";
  Import(M, Many + "}");
  auto* P = dynamic_cast<TAttributeParser*>(M.GetSyntaxParser());
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->AttrCount(), 22);  // 0, twenty colours and the URL entry
  AnsiString Attrs;
  M.GetSource()->GetColorData(0, Attrs);
  EXPECT_EQ(Attrs.find(char(TAttributeParser::UrlIndex)), AnsiString::npos);
  Import(M, "{\\rtf1 {\\b only}}");
  EXPECT_EQ(M.GetSyntaxParser(), P) << "the parser is kept";
  EXPECT_EQ(P->AttrCount(), 2);
  EXPECT_EQ(StyleOfWord(M, "only"), 1);
  EXPECT_TRUE(M.GetStyleFont(1)->GetStyle().Contains(fsBold));
}

TEST(TCustomDCMemoImport, DefaultEntryFollowsTheEditorFontAndColor) {
  TDCMemo M(nullptr);
  Import(M, "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 plain {\\b bold}}");
  M.GetFont()->SetName("Arial");
  M.SetColor(clYellow);
  EXPECT_EQ(M.GetStyleFont(0)->GetName(), "Arial");
  EXPECT_EQ(M.GetStyleColor(0), clYellow);
  const AnsiString Html = ExportHtml(M);
  EXPECT_NE(Html.find("<font face=\"Arial\"><font SIZE=\"2\"><font color=\"#000000\">plain"), AnsiString::npos)
      << Html;
}

TEST(TCustomDCMemoAttributes, ColorWithoutSelectionOnlyChangesWhatIsTypedNext) {
  TDCMemo M(nullptr);
  Import(M, "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 abc {\\b def}}");
  TCustomMemoSource* S = M.GetSource();
  const AnsiString Before = [&] {
    AnsiString A;
    S->GetColorData(0, A);
    return A;
  }();
  S->SetCaret(2, 0);
  M.GetSelAttributes()->SetColor(clRed);
  AnsiString After;
  S->GetColorData(0, After);
  EXPECT_EQ(After, Before) << "no stored byte changed";
  S->InsertText("x");
  const Integer Typed = StyleAt(M, 0, 2);
  EXPECT_GT(Typed, 0);
  EXPECT_EQ(M.GetStyleFont(Typed)->GetColor(), clRed);
}

TEST(TCustomDCMemoAttributes, SettingAFieldOnASelectionChangesOnlyThatFieldOfEachRun) {
  TDCMemo M(nullptr);
  Import(M, "{\\rtf1{\\fonttbl{\\f0 Courier New;}{\\f1 Arial;}}\\f0\\fs20 aa{\\b bb}{\\f1 cc}dd}");
  TCustomMemoSource* S = M.GetSource();
  S->SetSelection(stStreamSel, 1, 0, 7, 0);  // "abbccd"
  M.GetSelAttributes()->SetColor(clBlue);
  struct TCase { Integer Col; const char* Face; bool Bold; TColor Color; };
  const TCase Cases[] = {{0, "Courier New", false, clBlack}, {1, "Courier New", false, clBlue},
                         {2, "Courier New", true, clBlue},   {4, "Arial", false, clBlue},
                         {6, "Courier New", false, clBlue},  {7, "Courier New", false, clBlack}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Col);
    TFont* F = M.GetStyleFont(StyleAt(M, 0, C.Col));
    EXPECT_EQ(F->GetName(), C.Face);
    EXPECT_EQ(F->GetStyle().Contains(fsBold), C.Bold);
    EXPECT_EQ(F->GetColor(), C.Color);
  }
  // One undo step takes the colours back.
  S->Undo();
  EXPECT_EQ(M.GetStyleFont(StyleAt(M, 0, 1))->GetColor(), clBlack);
  EXPECT_EQ(M.GetStyleFont(StyleAt(M, 0, 2))->GetStyle().Contains(fsBold), true);
}

TEST(TCustomDCMemoAttributes, SizeEqualToTheCaretsStillAppliesWhereTheSelectionIsMixed) {
  TDCMemo M(nullptr);
  Import(M, "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 aa{\\fs40 bb}}");
  TCustomMemoSource* S = M.GetSource();
  S->SetCaret(0, 0);
  S->SetSelection(stStreamSel, 0, 0, 4, 0);  // the caret stays at the 10-point text
  TMemoAttributes* A = M.GetSelAttributes();
  EXPECT_EQ(A->ConsistentMask() & maSize, 0) << "sizes differ over the selection";
  A->SetSize(A->GetSize());
  EXPECT_EQ(M.GetStyleFont(StyleAt(M, 0, 3))->GetSize(), M.GetStyleFont(StyleAt(M, 0, 0))->GetSize());
}

TEST(TCustomDCMemoImport, RtfPastedAtTheCaretIsOneUndoStepAndKeepsTheTextAround) {
  TDCMemo M(nullptr);
  M.SetText("left right");
  M.GetSource()->SetCaret(5, 0);
  TStringStream In("{\\rtf1 {\\b bold}\\par new}");
  M.ImportRtf(&In);
  EXPECT_EQ(M.GetText(), "left bold\r\nnewright");
  EXPECT_TRUE(M.GetStyleFont(StyleOfWord(M, "bold"))->GetStyle().Contains(fsBold));
  M.GetSource()->Undo();
  EXPECT_EQ(M.GetText(), "left right");
}

TEST(TCustomDCMemoImport, ColumnBlockImportGoesDownTheLinesFromItsColumn) {
  TDCMemo M(nullptr);
  M.SetText("1234\r\n5678");
  M.SetBlockOption(bkBoth);
  TCustomMemoSource::SetBlockCopy(true);
  M.GetSource()->SetCaret(2, 0);
  TStringStream In("{\\rtf1 a\\par b\\par c}");
  M.ImportRtf(&In);
  TCustomMemoSource::SetBlockCopy(false);
  EXPECT_EQ(M.GetText(), "12a34\r\n56b78\r\n  c");
}

// Once the attribute table is full, indexes no text uses are handed out
// again; runs of the line being imported are in use even before the line
// is finished, and each keeps its own look.
TEST(TCustomDCMemoImport, AFullTableNeverGivesAwayTheIndexOfTextOnTheSameLine) {
  TDCMemo M(nullptr);
  M.SetAllowUndo(false);
  constexpr int Colours = 300;
  auto ColourOf = [](int I) { return TColor((I % 256) | (I / 256) << 8 | 7 << 16); };
  AnsiString Doc = "{\\rtf1{\\colortbl;";
  for (int I = 1; I <= Colours; ++I) Doc += "\\red" + std::to_string(I % 256) + "\\green" + std::to_string(I / 256) + "\\blue7;";
  Doc += "}";
  // Each new colour is followed by a run in the first colour, whose look
  // the table already has.
  for (int I = 1; I <= Colours; ++I) Doc += "{\\cf" + std::to_string(I) + " c" + std::to_string(I) + "}{\\cf1 k}";
  Import(M, Doc + "}");
  ASSERT_EQ(M.GetLines()->GetCount(), 1);
  const AnsiString Text = M.GetSource()->GetLineText(0);
  size_t At = 0;
  for (int I = 1; I <= Colours; ++I) {
    const AnsiString Word = AnsiString(1, 'c').append(std::to_string(I)).append(1, 'k');
    ASSERT_EQ(Text.compare(At, Word.size(), Word), 0) << "at " << At;
    SCOPED_TRACE(Word);
    const Integer Style = StyleAt(M, 0, Integer(At));
    // No index left gives the editor's look; any index given is the run's.
    if (Style != 0) {
      EXPECT_EQ(M.GetStyleFont(Style)->GetColor(), ColourOf(I));
    }
    if (I == 1) {
      EXPECT_GT(Style, 0) << "the first runs had room in the table";
    }
    const Integer KStyle = StyleAt(M, 0, Integer(At + Word.size() - 1));
    ASSERT_GT(KStyle, 0);
    EXPECT_EQ(M.GetStyleFont(KStyle)->GetColor(), ColourOf(1));
    At += Word.size();
  }
}

// The blanks a TAB becomes take the TAB's own look, not the look of the
// text before it.
TEST(TCustomDCMemoImport, BlanksOfATabTakeTheTabsLook) {
  struct TCase {
    const char* Body;
    bool BoldBlanks;
  };
  const TCase Cases[] = {
      {"{\\b bold\\tab}x", true},
      {"{\\b bold}\\tab x", false},
      {"plain{\\b\\tab}x", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Body);
    TDCMemo M(nullptr);
    Import(M, AnsiString("{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 ") + C.Body + "}");
    const AnsiString Text = M.GetSource()->GetLineText(0);
    const size_t Blank = Text.find(' ');
    ASSERT_NE(Blank, AnsiString::npos) << Text;
    const Integer Style = StyleAt(M, 0, Integer(Blank));
    EXPECT_EQ(Style != 0 && M.GetStyleFont(Style)->GetStyle().Contains(fsBold), C.BoldBlanks);
    EXPECT_EQ(StyleAt(M, 0, Integer(Text.find('x'))), 0);
  }
}
