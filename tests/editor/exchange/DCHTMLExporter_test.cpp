#include "editor/exchange/DCHTMLExporter.h"

#include <gtest/gtest.h>
#include <functional>
#include "platform/rtl/Streams.h"

namespace {

AnsiString Html(const std::function<void(TDCHTMLExporter&)>& Calls) {
  TStringStream S;
  TDCHTMLExporter E(&S);
  Calls(E);
  return S.DataString();
}

// The calls the editor's walk makes for one line of two runs in the editor
// font Courier New 10: "ab " plain black, then "cd" bold red.
void TwoRunWalk(TDCExporter& E) {
  E.StartDocument("t.rtf");
  E.StartPageColor(clWhite);
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  E.WriteString(E.ConvertText("ab "));
  E.EndColor();
  E.EndFontSize();
  E.EndFont();
  E.StartBold();
  E.StartColor(clRed);
  E.WriteString(E.ConvertText("cd"));
  E.EndColor();
  E.EndBold();
  E.EndColor();
  E.EndFontSize();
  E.EndFont();
  E.EndPageColor();
  E.EndDocument();
}

TEST(TDCHTMLExporter, WalkOfTwoRunsWritesTheFileShape) {
  TStringStream S;
  {
    TDCHTMLExporter E(&S);
    TwoRunWalk(E);
  }
  EXPECT_EQ(S.DataString(),
            "<Html><Head></Head><Title>t.rtf</Title><Body><font face=\"Times New Roman\">\r\n"
            "<Body BGCOLOR=\"#FFFFFF\">\r\n"
            "<font face=\"Courier New\"><font SIZE=\"2\"><font color=\"#000000\">"
            "<font face=\"Courier New\"><font SIZE=\"2\"><font color=\"#000000\">ab&nbsp;</font></font></font>"
            "<B><font color=\"#FF0000\">cd</font></B>"
            "</font></font></font></Body></font></Body></Html>");
}

TEST(TDCHTMLExporter, EmptyEditorExportOpensAndClosesTheDocumentGroups) {
  auto Out = Html([](TDCHTMLExporter& E) {
    E.StartDocument("Memo1");
    E.StartPageColor(clWhite);
    E.StartFontCharset("Courier New", 1);
    E.StartFontSize(10);
    E.StartColor(clBlack);
    E.EndColor();
    E.EndFontSize();
    E.EndFont();
    E.EndPageColor();
    E.EndDocument();
  });
  EXPECT_EQ(Out,
            "<Html><Head></Head><Title>Memo1</Title><Body><font face=\"Times New Roman\">\r\n"
            "<Body BGCOLOR=\"#FFFFFF\">\r\n"
            "<font face=\"Courier New\"><font SIZE=\"2\"><font color=\"#000000\">"
            "</font></font></font></Body></font></Body></Html>");
}

TEST(HtmlEscape, EscapesMarkupAndBlanksOnly) {
  struct TCase { AnsiString In, Want; };
  const TCase Cases[] = {
      {"  <a", "&nbsp;&nbsp;&lt;a"},
      {"\"x\" & y>", "&quot;x&quot;&nbsp;&amp;&nbsp;y&gt;"},
      {"\t\xE9\xFF", "\t\xE9\xFF"},
      {"", ""},
  };
  for (const auto& C : Cases) EXPECT_EQ(HtmlEscape(C.In), C.Want) << C.In;
  TStringStream S;
  TDCHTMLExporter E(&S);
  EXPECT_EQ(E.ConvertText("a b"), "a&nbsp;b");
}

TEST(HtmlFontSize, MapsPointsToTheSevenSizes) {
  const std::pair<Integer, Integer> Cases[] = {
      {-3, 7}, {0, 7}, {1, 1}, {8, 1}, {9, 2}, {10, 2}, {11, 2}, {12, 3}, {13, 3},
      {14, 4}, {17, 4}, {18, 5}, {23, 5}, {24, 6}, {35, 6}, {36, 7}, {200, 7}};
  for (auto [Points, Size] : Cases) EXPECT_EQ(HtmlFontSize(Points), Size) << Points;
  EXPECT_EQ(Html([](auto& E) { E.StartFontSize(12); }), "<font SIZE=\"3\">");
}

TEST(HtmlColor, WritesUpperCaseHexInRedGreenBlueOrder) {
  EXPECT_EQ(HtmlColor(clRed), "#FF0000");
  EXPECT_EQ(HtmlColor(TColor(0x00A0B0C0)), "#C0B0A0");
  const COLORREF Face = GetSysColor(COLOR_BTNFACE);
  char Want[8];
  std::snprintf(Want, sizeof Want, "#%02X%02X%02X", GetRValue(Face), GetGValue(Face), GetBValue(Face));
  EXPECT_EQ(HtmlColor(clBtnFace), Want);
}

// Which tag each operation writes; tracked tags start a line when the
// tracked name changes, so each case begins with a fresh exporter.
TEST(TDCHTMLExporter, OperationsWriteTheirTags) {
  struct TCase { std::function<void(TDCHTMLExporter&)> Call; AnsiString Want; };
  const TCase Cases[] = {
      {[](auto& E) { E.StartParagraph(eaCenter); E.EndParagraph(); }, "<P Align=\"center\"></P>"},
      {[](auto& E) { E.StartParagraph(eaJustify); }, "<P Align=\"justify\">"},
      {[](auto& E) { E.StartNonScrollRegion(); E.EndNonScrollRegion(); }, "<P Align=\"left\"></P>"},
      {[](auto& E) { E.LineBreak(); E.LineBreak(); }, "<BR>\r\n<BR>\r\n"},
      {[](auto& E) { E.StartFontCharset("Arial", 204); E.EndFont(); }, "<font face=\"Arial\"></font>"},
      {[](auto& E) { E.StartBigger(); E.StartSmaller(); E.EndSmaller(); E.EndBigger(); },
       "<BIG><SMALL></SMALL></BIG>"},
      {[](auto& E) { E.StartItalic(); E.StartUnderline(); E.StartStrikeOut(); E.EndStrikeOut(); E.EndUnderline(); E.EndItalic(); },
       "<I><U><S></S></U></I>"},
      {[](auto& E) { E.StartBlockQuote(); E.StartSubscript(); E.EndSubscript(); E.StartSuperscript(); E.EndSuperscript(); E.EndBlockQuote(); },
       "<blockquote><sub></sub><sup></sup></blockquote>"},
      {[](auto& E) { E.StartBulletList(); E.StartBulletItem(); E.EndBulletItem(); E.StartBulletItem(); E.EndBulletItem(); E.EndBulletList(); },
       "<ul>\r\n<li></li><li></li></ul>"},
      {[](auto& E) { E.StartNumberedList(); E.StartNumberedItem(); E.EndNumberedItem(); E.EndNumberedList(); },
       "<ol>\r\n<li></li></ol>"},
      {[](auto& E) { E.StartBackColor(clRed); E.EndBackColor(); }, ""},
      {[](auto& E) { E.StartLink("intro", 2); E.EndLink(); }, "<A href=\"intro.html\"></A>"},
      {[](auto& E) { E.WriteSpaces(3); E.WriteSpaces(0); E.WriteSpaces(-2); }, "&nbsp;&nbsp;&nbsp;"},
      {[](auto& E) { E.WriteImage("", 10, 10); }, ""},
      {[](auto& E) { E.WriteImage("a.png", 0, 0); }, "<img src=\"a.png\">"},
      {[](auto& E) { E.WriteImage("a.png", 16, 0); }, "<img src=\"a.png\" WIDTH=\"16\" HEIGHT=\"0\">"},
      {[](auto& E) { E.HorizontalRule(); }, "<HR>"},
      {[](auto& E) { E.WriteHyperlink("<b>go</b>", "http://x/?a=1&b=2"); },
       "<A href=\"http://x/?a=1&amp;b=2\" target=\"_blank\"><b>go</b></A>"},
      {[](auto& E) { E.StartTopic("Intro"); E.EndTopic(); },
       "<Html><Head></Head><Title>Intro</Title><Body><font face=\"Times New Roman\"></font></Body></Html>"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Html(C.Call), C.Want);
}

TEST(TDCHTMLExporter, TablesLeaveOutZeroAttributesAndBreakLinesBetweenTagKinds) {
  auto Out = Html([](auto& E) {
    E.StartTable({/*Width=*/0, /*Border=*/1, /*Frame=*/7, /*Rules=*/4, /*CellSpacing=*/0, /*CellPadding=*/2});
    E.StartRow();
    E.StartCell(120);
    E.EndCell();
    E.StartCell(0);
    E.EndCell();
    E.EndRow();
    E.StartRow();
    E.EndRow();
    E.EndTable();
  });
  EXPECT_EQ(Out,
            "<TABLE border=\"1\" frame=\"box\" rules=\"all\" cellpadding=\"2\">\r\n"
            "<TR>\r\n"
            "<TD width=\"120\"></TD><TD></TD></TR>\r\n"
            "<TR></TR></TABLE>");
  const std::pair<Byte, const char*> Frames[] = {{0, "void"}, {3, "hsides"}, {8, "border"}};
  for (auto [F, Name] : Frames) EXPECT_EQ(HtmlFrameName(F), Name);
  EXPECT_EQ(HtmlRulesName(0), "none");
  EXPECT_EQ(HtmlRulesName(2), "rows");
}

// File names and faces reach attributes and the title; a quote or an
// ampersand in them must not end the value or start an entity.
TEST(TDCHTMLExporter, AttributeValuesAndTitleAreEscaped) {
  struct TCase { std::function<void(TDCHTMLExporter&)> Call; AnsiString Want; };
  const TCase Cases[] = {
      {[](auto& E) { E.StartFont("A\"B&C"); }, "<font face=\"A&quot;B&amp;C\">"},
      {[](auto& E) { E.WriteImage("x\"><script>.png", 0, 0); }, "<img src=\"x&quot;&gt;&lt;script&gt;.png\">"},
      {[](auto& E) { E.StartLink("a b&c", 0); }, "<A href=\"a b&amp;c.html\">"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Html(C.Call), C.Want);
  auto Doc = Html([](auto& E) { E.StartDocument("R&D <draft> \"1\".rtf"); });
  EXPECT_NE(Doc.find("<Title>R&amp;D &lt;draft&gt; &quot;1&quot;.rtf</Title>"), AnsiString::npos) << Doc;
}

TEST(TDCExporter, ClassReferenceCreatesTheExporterOnTheStream) {
  TStringStream S;
  S.WriteString("head:");
  TDCExporterClass Class = &ExporterClassOf<TDCHTMLExporter>;
  auto E = Class(&S);
  EXPECT_FALSE(E->KeepsTabs());
  EXPECT_EQ(E->GetParaSpaceBefore(), 0);
  EXPECT_EQ(E->GetParaSpaceAfter(), 0);
  E->WriteString("");
  E->WriteString("x\xFF");
  E.reset();
  EXPECT_EQ(S.DataString(), "head:x\xFF");  // written from the position, nothing at destruction
}

}  // namespace

// The page is in the editor's code page; a run in a font of another charset
// is read in that charset's, and what the page lacks is a character reference.
TEST(TDCHTMLExporter, TextInAnotherCharsetIsReadInItsCodePage) {
  AnsiString Text;
  Html([&](TDCHTMLExporter& E) {
    Text += E.ConvertText("\xd3 <") + "|";
    E.StartFontCharset("Times", 204);
    Text += E.ConvertText("\xd3\xe0 a<") + "|";
    E.StartFont("Inner");  // no charset of its own: the one around it
    Text += E.ConvertText("\xd3") + "|";
    E.EndFont();
    E.StartFontCharset("Times", 161);
    Text += E.ConvertText("\xe1") + "|";
    E.EndFont();
    E.StartFontCharset("Song", 134);
    Text += E.ConvertText("\xb2\xe2") + "|";
    E.EndFont();
    E.EndFont();
    E.StartFontCharset("Times", 0);
    Text += E.ConvertText("\xe9\xd3");
    E.EndFont();
  });
  EXPECT_EQ(Text, "\xd3&nbsp;&lt;|&#1059;&#1072;&nbsp;a&lt;|&#1059;|&#945;|&#27979;|\xe9\xd3");
}
