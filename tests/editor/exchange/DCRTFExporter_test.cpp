#include "editor/exchange/DCRTFExporter.h"

#include <gtest/gtest.h>
#include <functional>
#include "platform/richedit/RtfReader.h"
#include "platform/rtl/Streams.h"

namespace {

// Runs Calls between the document start and end, as the walk brackets them.
AnsiString Rtf(const std::function<void(TDCRTFExporter&)>& Calls) {
  TStringStream S;
  TDCRTFExporter E(&S);
  E.StartDocument("t.rtf");
  Calls(E);
  E.EndDocument();
  return S.DataString();
}

// The body between the header's "{\plain " line and the document's two
// closing braces.
AnsiString Body(const AnsiString& Out) {
  const AnsiString Open = "{\\plain \r\n";
  const size_t P = Out.find(Open);
  if (P == AnsiString::npos || Out.size() < P + Open.size() + 2) return "<no body>";
  return Out.substr(P + Open.size(), Out.size() - P - Open.size() - 2);
}

void WriteRun(TDCExporter& E, const AnsiString& Face, Integer Points, bool Bold, TColor Color, const AnsiString& Text) {
  E.StartFontCharset(Face, 1);
  E.StartFontSize(Points);
  if (Bold) E.StartBold();
  E.StartColor(Color);
  E.WriteString(E.ConvertText(Text));
  E.EndColor();
  if (Bold) E.EndBold();
  E.EndFontSize();
  E.EndFont();
}

// The walk's calls for one line of two runs in the editor font Courier New
// 10: "ab " plain black, then "cd" bold red (face and size not reopened).
void TwoRunWalk(TDCExporter& E) {
  E.StartDocument("t.rtf");
  E.StartPageColor(clWhite);
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  WriteRun(E, "Courier New", 10, false, clBlack, "ab ");
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

TEST(TDCRTFExporter, WalkOfTwoRunsWritesTheFileShape) {
  TStringStream S;
  TDCRTFExporter E(&S);
  TwoRunWalk(E);
  EXPECT_EQ(S.DataString(),
            "{\\rtf1\\ansi {\\fonttbl\r\n"
            "{\\f0\\fcharset1 \\fnil Times New Roman;}\r\n"
            "{\\f1\\fcharset1 Courier New;}\r\n"
            "}\r\n"
            "{\\colortbl\r\n"
            "\\red0\\green0\\blue0;\r\n"
            "\\red255\\green0\\blue0;\r\n"
            "}\r\n"
            "\r\n"
            "{\\plain \r\n"
            "{\\f1 {\\fs20 \r\n"
            "{\\cf0 {\\f1 {\\fs20 \r\n"
            "{\\cf0 ab }}}{\\b \r\n"
            "{\\cf1 cd}}}}}}}");
}

TEST(TDCRTFExporter, NothingReachesTheStreamBeforeTheDocumentEnds) {
  TStringStream S;
  TDCRTFExporter E(&S);
  E.StartDocument("x");
  WriteRun(E, "Arial", 12, true, clBlue, "text");
  EXPECT_EQ(S.DataString(), "");
  E.EndDocument();
  const AnsiString Once = S.DataString();
  EXPECT_FALSE(Once.empty());
  E.EndDocument();  // the buffer is kept: everything again, with two more braces
  EXPECT_EQ(S.DataString().substr(0, Once.size()), Once);
  EXPECT_GT(S.DataString().size(), 2 * Once.size());
}

TEST(TDCRTFExporter, EmptyEditorHasTheTablesAndTheEditorFontGroups) {
  auto Out = Rtf([](auto& E) {
    E.StartFontCharset("Courier New", 1);
    E.StartFontSize(10);
    E.StartColor(clBlack);
    E.EndColor();
    E.EndFontSize();
    E.EndFont();
  });
  EXPECT_EQ(Out,
            "{\\rtf1\\ansi {\\fonttbl\r\n{\\f0\\fcharset1 \\fnil Times New Roman;}\r\n{\\f1\\fcharset1 Courier New;}\r\n}\r\n"
            "{\\colortbl\r\n\\red0\\green0\\blue0;\r\n}\r\n\r\n{\\plain \r\n{\\f1 {\\fs20 \r\n{\\cf0 }}}}}");
}

TEST(TDCRTFExporter, ConvertTextEscapesTabsBackslashesAndBraces) {
  TStringStream S;
  TDCRTFExporter E(&S);
  struct TCase { AnsiString In, Want; };
  const TCase Cases[] = {
      {"a\tb", "a\\tab b"},
      {"\\{x}", "\\\\\\{x\\}"},
      {"\xE9\xFF plain", "\xE9\xFF plain"},  // 255 is left to WriteString
  };
  for (const auto& C : Cases) EXPECT_EQ(E.ConvertText(C.In), C.Want) << C.In;
  EXPECT_EQ(Body(Rtf([](auto& E) { E.WriteString("y\xFFz"); })), "y\\'FFz");
}

// Font and colour indexes are handed out on first use; entry 0 of the font
// table is always the default face, a face of that name included.
TEST(TDCRTFExporter, FontAndColourIndexesFollowFirstUse) {
  auto Out = Rtf([](auto& E) {
    E.StartFontCharset("Arial", 0);
    E.StartColor(clRed);
    E.EndColor();
    E.StartFontCharset("Times New Roman", 204);
    E.StartColor(clBtnFace);
    E.StartBackColor(clRed);
    E.EndBackColor();
    E.EndColor();
    E.EndFont();
    E.StartFontCharset("Arial", 238);  // known face, other charset: its own entry
    E.EndFont();
    E.StartFontCharset("Arial", 0);  // known face and charset
    E.EndFont();
    E.EndFont();
  });
  const COLORREF Face = GetSysColor(COLOR_BTNFACE);
  const AnsiString FaceText = "\\red" + std::to_string(GetRValue(Face)) + "\\green" +
                              std::to_string(GetGValue(Face)) + "\\blue" + std::to_string(GetBValue(Face)) + ";";
  EXPECT_NE(Out.find("{\\f1\\fcharset0 Arial;}\r\n{\\f2\\fcharset204 Times New Roman;}\r\n"
                     "{\\f3\\fcharset238 Arial;}\r\n}\r\n"
                     "{\\colortbl\r\n\\red255\\green0\\blue0;\r\n" + FaceText + "\r\n}\r\n"),
            AnsiString::npos) << Out;
  EXPECT_EQ(Body(Out), "{\\f1 {\\cf0 }{\\f2 {\\cf1 {\\highlight0 }}}{\\f3 }{\\f1 }}");
}

TEST(TDCRTFExporter, OperationsWriteTheirGroups) {
  struct TCase { std::function<void(TDCRTFExporter&)> Call; AnsiString Want; };
  const TCase Cases[] = {
      {[](auto& E) { E.LineBreak(); }, "{\\line \r\n}"},
      {[](auto& E) { E.StartParagraph(eaRight); E.EndParagraph(); }, "{\\par \\qr \r\n\\par\\pard}"},
      {[](auto& E) { E.StartNonScrollRegion(); E.EndNonScrollRegion(); }, "{\r\n{\\keepn\\par}\r\n}"},
      {[](auto& E) { E.StartItalic(); E.StartUnderline(); E.StartStrikeOut(); E.EndStrikeOut(); E.EndUnderline(); E.EndItalic(); },
       "{\\i \r\n{\\ul \r\n{\\strike \r\n}}}"},
      {[](auto& E) { E.StartSubscript(); E.EndSubscript(); E.StartSuperscript(); E.EndSuperscript(); },
       "{\\sub \r\n}{\\super \r\n}"},
      {[](auto& E) { E.StartBigger(); E.StartBigger(); E.EndBigger(); E.EndBigger(); E.StartSmaller(); E.EndSmaller(); },
       "{\\fs30 \r\n{\\fs36 \r\n}}{\\fs18 \r\n}"},
      {[](auto& E) { for (int I = 0; I < 4; ++I) E.StartSmaller(); }, "{\\fs18 \r\n{\\fs12 \r\n{\\fs6 \r\n{\\fs1 \r\n"},
      {[](auto& E) { E.StartBulletList(); E.StartBulletItem(); E.WriteString("x"); E.EndBulletItem(); E.EndBulletList(); },
       "{\r\n{\\par}\r\n{\\pntext}\r\n{\\pn\\pnlvlblt}\r\n{\r\n{\\pntext}\r\n{\\pntxtb\\'b7}\r\nx\\par}}"},
      {[](auto& E) { E.StartNumberedList(); E.StartNumberedItem(); E.EndNumberedItem(); E.EndNumberedList(); },
       "{\r\n{\\par}\r\n{\\pntext}\r\n{\\pn\\pnlvlbody\\pnstart1{\\pntxta .}}\r\n{\r\n{\\pntext}\r\n{\\pntxtb\\pndec}\r\n\\par}}"},
      {[](auto& E) { E.StartBlockQuote(); E.EndBlockQuote(); }, "{\\pard\\li500 \r\n\\par}"},
      {[](auto& E) { E.StartPageColor(clRed); E.EndPageColor(); }, ""},
      {[](auto& E) { E.StartLink("Intro", 1); E.EndLink(); }, "{\\ul \r\n{\\v Intro}\r\n}"},
      {[](auto& E) { E.StartLink("Intro", 0); E.EndLink(); }, "{\\uldb \r\n{\\v Intro>main}\r\n}"},
      {[](auto& E) { E.StartLink("Intro", 2); E.EndLink(); }, "{\\uldb \r\n{\\v Intro>second}\r\n}"},
      {[](auto& E) { E.WriteSpaces(3); E.WriteSpaces(0); }, "   "},
      {[](auto& E) { E.WriteImage("pic.bmp", 10, 20); }, " \\{bmc pic.bmp\\}"},
      {[](auto& E) { E.HorizontalRule(); }, "\\par\\pard\\brdrt\\brdrs{\\f0\\fs2\\cf0  }\\par\\pard "},
      {[](auto& E) { E.WriteHyperlink("go", "a.exe"); }, "{\\uldb go}{\\v *!ExecFile('a.exe')}"},
      {[](auto& E) { E.StartRow(); E.StartCell(5); E.EndCell(); E.EndRow(); },
       "{\\\\trowd\\ \r\n{\\cell \r\n\\cell}\\\\trowd\\}"},  // outside a table: ordinary groups
      {[](auto& E) { E.WriteString(E.ConvertText("_page\\x rtf1")); }, "_page\\\\x rtf1"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Body(Rtf(C.Call)), C.Want);
}

TEST(TDCRTFExporter, ParagraphSpacingExtendsThePlainGroup) {
  TStringStream S;
  TDCRTFExporter E(&S);
  E.SetParaSpaceBefore(120);
  E.SetParaSpaceAfter(60);
  E.StartDocument("");
  E.EndDocument();
  EXPECT_NE(S.DataString().find("\r\n{\\plain\\sb120\\sa60 \r\n}}"), AnsiString::npos) << S.DataString();
}

TEST(TDCRTFExporter, TablesCollectCellsAndWriteCumulativeBoundaries) {
  auto Out = Body(Rtf([](auto& E) {
    E.StartTable({/*Width=*/0, /*Border=*/1, /*Frame=*/7, /*Rules=*/0, 0, 0});
    E.WriteString("dropped");
    E.StartRow();
    E.StartCell(100);
    E.StartBold();
    E.WriteString("a");
    E.EndBold();
    E.EndCell();
    E.StartCell(0);
    E.WriteString("b");
    E.EndCell();
    E.EndRow();
    E.EndTable();
  }));
  EXPECT_EQ(Out,
            "{\\par\r\n"
            "{\\trowd\\trbrdrt\\trbrdrb\\trbrdrh\\trbrdrl\\trbrdrr\\trbrdrv\r\n"
            "\\cellx2835\r\n"
            "\\cellx9922\r\n"
            "\\pard \\intbl {\\b \r\na}\\cell\r\n"
            "\\pard \\intbl b\\cell\r\n"
            "\\row\\pard}\r\n"
            "}");
  EXPECT_EQ(Body(Rtf([](auto& E) { E.StartTable({}); E.EndTable(); })), "{}");
}

TEST(WidthToTwips, RoundsHalvesToEven) {
  const std::pair<Integer, Integer> Cases[] = {{0, 0}, {100, 2835}, {350, 9922}, {250, 7088}, {1, 28}, {10, 284}, {-100, -2835}};
  for (auto [W, T] : Cases) EXPECT_EQ(WidthToTwips(W), T) << W;
}

TEST(TDCRTFExporter, TopicsBecomePagesWithFootnotes) {
  auto Out = Body(Rtf([](auto& E) {
    E.StartTopic("Intro2");
    E.WriteString("x");
    E.EndTopic();
  }));
  EXPECT_EQ(Out,
            "{\r\n{\\page}\\super #{\\footnote {\\super # }Intro2}\\super ${\\footnote {\\super $ }Intro}"
            "\\super A{\\footnote {\\super A }Intro2}\r\nx}");
}

// A face is data: a backslash, brace or semicolon in it must not end the
// entry or turn into a control word for a reader.
TEST(TDCRTFExporter, FontNamesAreEscapedInTheFontTable) {
  auto Out = Rtf([](auto& E) {
    WriteRun(E, "Odd;Face{\\x}", 11, false, clBlack, "hi");
  });
  EXPECT_NE(Out.find("{\\f1\\fcharset1 Odd\\'3bFace\\{\\\\x\\};}"), AnsiString::npos) << Out;
  const TRichDocument Doc = LoadRichText(Out, false);
  ASSERT_EQ(Doc.Paragraphs().size(), 1u);
  const auto& Para = Doc.Paragraphs()[0];
  EXPECT_EQ(Doc.CharFormat(Para.Runs[0].Format).Face, u"Odd;Face{\\x}");
  EXPECT_EQ(Doc.PlainText(), u"hi");
}

TEST(TDCRTFExporter, RichEditReadsBackTextAndFormats) {
  TStringStream S;
  TDCRTFExporter E(&S);
  E.StartDocument("t");
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  WriteRun(E, "Courier New", 10, false, clBlack, "a\tb{c}\\ ");
  WriteRun(E, "Arial", 14, true, clRed, "bold");
  E.LineBreak();
  E.StartFontCharset("Courier New", 1);
  E.StartItalic();
  E.StartUnderline();
  E.StartColor(TColor(0x00804020));
  E.StartBackColor(clYellow);
  E.WriteString(E.ConvertText("it\xE9"));
  E.EndBackColor();
  E.EndColor();
  E.EndUnderline();
  E.EndItalic();
  E.EndFont();
  E.EndColor();
  E.EndFontSize();
  E.EndFont();
  E.EndDocument();

  const TRichDocument Doc = LoadRichText(S.DataString(), false);
  const WideString Text = Doc.GetText();
  EXPECT_EQ(Text.substr(0, 16), u"a\tb{c}\\ bold\v" u"it\u00E9") << S.DataString();

  struct TWant { Integer Cp; const char16_t* Face; Integer Size; bool Bold, Italic, Underline; COLORREF Color; };
  const TWant Wants[] = {
      {0, u"Courier New", 20, false, false, false, RGB(0, 0, 0)},
      {8, u"Arial", 28, true, false, false, RGB(255, 0, 0)},
      {13, u"Courier New", 20, false, true, true, RGB(0x20, 0x40, 0x80)},
  };
  const auto& Para = Doc.Paragraphs()[0];
  for (const auto& W : Wants) {
    SCOPED_TRACE(W.Cp);
    const TRichRun* Found = nullptr;
    for (const auto& R : Para.Runs)
      if (R.Start <= W.Cp && W.Cp < R.Start + R.Length) Found = &R;
    ASSERT_NE(Found, nullptr);
    const TRichCharFormat& F = Doc.CharFormat(Found->Format);
    EXPECT_EQ(F.Face, W.Face);
    EXPECT_EQ(F.Size, W.Size);
    EXPECT_EQ(F.Bold, W.Bold);
    EXPECT_EQ(F.Italic, W.Italic);
    EXPECT_EQ(F.Underline != TRichUnderline::None, W.Underline);
    EXPECT_FALSE(F.AutoColor);
    EXPECT_EQ(F.Color, W.Color);
  }
  for (const auto& R : Para.Runs) {
    if (R.Start + R.Length <= Integer(Text.size()) - 1) {  // the end mark's run aside
      EXPECT_EQ(Doc.CharFormat(R.Format).HasBackground, R.Start >= 13) << R.Start;
    }
  }
}

TEST(TDCRTFExporter, WriterListClassIsAskedWhenTheListIsFirstNeeded) {
  static bool Made = false;
  struct TMine : TDCRTFExporter {
    using TDCRTFExporter::TDCRTFExporter;
    TRTFWriterListClass GetWriterListClass() override {
      return []() {
        Made = true;
        return std::make_unique<TRTFWriterList>();
      };
    }
  };
  TStringStream S;
  TMine E(&S);
  EXPECT_TRUE(E.KeepsTabs());
  EXPECT_EQ(E.GetSize(), 24);
  E.StartDocument("");
  EXPECT_TRUE(Made);
  EXPECT_EQ(E.WriterList().FontObject().FontCount(), 1);
  EXPECT_EQ(E.WriterList().ColorObject().ColorCount(), 0);
}

}  // namespace

// Every document header is followed by the tables; text that only carries
// the header's letters is not a header.
TEST(TDCRTFExporter, TablesFollowEveryDocumentHeader) {
  TStringStream S;
  TDCRTFExporter E(&S);
  for (int I = 0; I < 2; ++I) {
    E.StartDocument("t.rtf");
    E.WriteString("rtf1\\ansi");
    E.EndDocument();
  }
  const AnsiString Out = S.DataString();
  // The buffer is written whole at each end: the second write holds both documents.
  size_t Tables = 0;
  for (size_t P = 0; (P = Out.find("{\\rtf1\\ansi {\\fonttbl", P)) != AnsiString::npos; ++P) ++Tables;
  EXPECT_EQ(Tables, 3u) << Out;
  size_t Letters = 0;
  for (size_t P = 0; (P = Out.find("rtf1\\ansi{\\fonttbl", P)) != AnsiString::npos; ++P) ++Letters;
  EXPECT_EQ(Letters, 0u) << Out;
}
