#include <gtest/gtest.h>

#include <string>

#include "editor/controls/DCMemo.h"

namespace {

// Logs one line per exporter call the walk makes; text pieces show what
// reaches WriteString.
class TRecordingExporter : public TDCExporter {
public:
  TRecordingExporter(bool KeepTabs) : TDCExporter(nullptr), FKeepTabs(KeepTabs) {}
  std::string Log;

  void WriteString(const AnsiString& S) override { Add("Text \"" + S + "\""); }
  AnsiString ConvertText(const AnsiString& S) override { return S; }
  bool KeepsTabs() override { return FKeepTabs; }
  void StartDocument(const AnsiString& T) override { Add("StartDocument " + T); }
  void EndDocument() override { Add("EndDocument"); }
  void StartPageColor(TColor C) override { Add("StartPageColor " + std::to_string(Integer(C))); }
  void EndPageColor() override { Add("EndPageColor"); }
  void StartFontCharset(const AnsiString& F, Byte C) override { Add("StartFont " + F + " " + std::to_string(C)); }
  void EndFont() override { Add("EndFont"); }
  void StartFontSize(Integer P) override { Add("StartFontSize " + std::to_string(P)); }
  void EndFontSize() override { Add("EndFontSize"); }
  void StartBold() override { Add("StartBold"); }
  void EndBold() override { Add("EndBold"); }
  void StartItalic() override { Add("StartItalic"); }
  void EndItalic() override { Add("EndItalic"); }
  void StartUnderline() override { Add("StartUnderline"); }
  void EndUnderline() override { Add("EndUnderline"); }
  void StartStrikeOut() override { Add("StartStrikeOut"); }
  void EndStrikeOut() override { Add("EndStrikeOut"); }
  void StartColor(TColor C) override { Add("StartColor " + std::to_string(Integer(C))); }
  void EndColor() override { Add("EndColor"); }
  void StartBackColor(TColor C) override { Add("StartBackColor " + std::to_string(Integer(C))); }
  void EndBackColor() override { Add("EndBackColor"); }
  void LineBreak() override { Add("LineBreak"); }

  // Not used by the walk.
  void StartParagraph(Integer) override { Unused(); }
  void EndParagraph() override { Unused(); }
  void StartNonScrollRegion() override { Unused(); }
  void EndNonScrollRegion() override { Unused(); }
  void StartFont(const AnsiString&) override { Unused(); }
  void StartBigger() override { Unused(); }
  void EndBigger() override { Unused(); }
  void StartSmaller() override { Unused(); }
  void EndSmaller() override { Unused(); }
  void StartNumberedList() override { Unused(); }
  void EndNumberedList() override { Unused(); }
  void StartBulletList() override { Unused(); }
  void EndBulletList() override { Unused(); }
  void StartBulletItem() override { Unused(); }
  void EndBulletItem() override { Unused(); }
  void StartNumberedItem() override { Unused(); }
  void EndNumberedItem() override { Unused(); }
  void StartBlockQuote() override { Unused(); }
  void EndBlockQuote() override { Unused(); }
  void StartSubscript() override { Unused(); }
  void EndSubscript() override { Unused(); }
  void StartSuperscript() override { Unused(); }
  void EndSuperscript() override { Unused(); }
  void StartLink(const AnsiString&, Byte) override { Unused(); }
  void EndLink() override { Unused(); }
  void StartTable(const TExportTableInfo&) override { Unused(); }
  void EndTable() override { Unused(); }
  void StartRow() override { Unused(); }
  void EndRow() override { Unused(); }
  void StartCell(Integer) override { Unused(); }
  void EndCell() override { Unused(); }
  void StartTopic(const AnsiString&) override { Unused(); }
  void EndTopic() override { Unused(); }
  void WriteSpaces(Integer) override { Unused(); }
  void WriteImage(const AnsiString&, Integer, Integer) override { Unused(); }
  void HorizontalRule() override { Unused(); }
  void WriteHyperlink(const AnsiString&, const AnsiString&) override { Unused(); }

private:
  void Add(const std::string& S) { Log += S + "\n"; }
  void Unused() { Add("UNEXPECTED"); }
  bool FKeepTabs;
};

const std::string Open = "StartPageColor " + std::to_string(Integer(clWindow)) +
                         "\nStartFont Courier New 1\nStartFontSize 10\nStartColor 0\n";
const std::string Close = "EndColor\nEndFontSize\nEndFont\nEndPageColor\nEndDocument\n";

std::string Walk(TCustomDCMemo& M, bool KeepTabs, bool SelectionOnly = false) {
  TRecordingExporter E(KeepTabs);
  M.WriteToExporter(&E, SelectionOnly);
  return E.Log;
}

class TSuppressor : public TObject {
public:
  void Handler(TObject*, AnsiString& S) {
    if (S == "secret") S.clear();
  }
};

}  // namespace

TEST(TCustomDCMemoWalk, EmptyEditorOpensAndClosesTheDocumentGroups) {
  TDCMemo M(nullptr);
  M.GetSource()->SetFileName("notes.txt");
  EXPECT_EQ(Walk(M, false), "StartDocument notes.txt\n" + Open + Close);
}

TEST(TCustomDCMemoWalk, PlainWalkWritesDisplayedOrStoredLines) {
  TDCMemo M(nullptr);
  M.SetStringsOptions(M.GetStringsOptions() + TStringsOptions{soUseTabCharacter});
  M.SetTabStops("9,17");
  M.SetText("a\tb\r\n\r\nc");
  ASSERT_EQ(M.GetText(), "a\tb\r\n\r\nc");
  const std::string Title = "StartDocument " + M.GetSource()->GetName() + "\n";
  // An empty line still makes one (empty) piece.
  const std::string Shown = M.GetLines()->GetStrings(0);  // the TAB expanded to the next stop
  ASSERT_EQ(Shown.find('\t'), std::string::npos);
  EXPECT_EQ(Walk(M, false), Title + Open + "Text \"" + Shown + "\"\nLineBreak\nText \"\"\nLineBreak\nText \"c\"\n" + Close);
  EXPECT_EQ(Walk(M, true), Title + Open + "Text \"a\tb\"\nLineBreak\nText \"\"\nLineBreak\nText \"c\"\n" + Close);
}

TEST(TCustomDCMemoWalk, SelectionOnlyWritesTheSelectedColumns) {
  TDCMemo M(nullptr);
  M.SetText("0123456789\r\n0123456789\r\n0123456789\r\n0123456789\r\n0123456789");
  const std::string Title = "StartDocument " + M.GetSource()->GetName() + "\n";
  EXPECT_EQ(Walk(M, false, true), Title + Open + Close) << "no selection writes no text";
  M.GetSource()->SetSelection(stStreamSel, 3, 2, 5, 4);
  EXPECT_EQ(Walk(M, false, true),
            Title + Open + "Text \"3456789\"\nLineBreak\nText \"0123456789\"\nLineBreak\nText \"01234\"\n" + Close);
  M.GetSource()->SetSelection(stBlockSel, 3, 1, 5, 2);
  EXPECT_EQ(Walk(M, false, true), Title + Open + "Text \"345\"\nLineBreak\nText \"345\"\n" + Close);
}

TEST(TCustomDCMemoWalk, ExportStringHandlerMayDropAPiece) {
  TDCMemo M(nullptr);
  M.SetText("open\r\nsecret");
  TSuppressor S;
  M.OnExportString = TExportStringEvent(&S, &TSuppressor::Handler);
  const std::string Log = Walk(M, false);
  EXPECT_NE(Log.find("Text \"open\"\nLineBreak\nText \"\"\nEndColor"), std::string::npos) << Log;
}

TEST(TCustomDCMemoWalk, StyledWalkOpensRunGroupsAndKeepsEmptyLinesInsideTheRun) {
  TDCMemo M(nullptr);
  M.SetHighlightUrls(true);
  M.SetText("see http://x.org now\r\n\r\n\r\nb");
  TTextStyle* Url = M.GetTextStyles()->GetItem(TTextStyles::UrlStyle);
  Url->GetFont()->SetColor(clBlue);
  Url->GetFont()->SetStyle(TFontStyles{fsUnderline});
  const std::string Title = "StartDocument " + M.GetSource()->GetName() + "\n";
  const std::string Run = "StartFont Courier New 1\nStartFontSize 10\nStartColor 0\n";
  const std::string RunEnd = "EndColor\nEndFontSize\nEndFont\n";
  const TFont* UF = Url->GetFont();
  // Every run of a line opens face, size and colour when it differs from the
  // run before or from the editor font; the empty lines after the line's
  // last run go out inside its groups.
  const std::string Want =
      Title + Open + Run + "Text \"see \"\n" + RunEnd + "StartFont " + UF->GetName() + " 1\nStartFontSize " +
      std::to_string(UF->GetSize()) + "\nStartUnderline\nStartColor " + std::to_string(Integer(clBlue)) +
      "\nText \"http://x.org\"\nEndColor\nEndUnderline\nEndFontSize\nEndFont\n" + Run +
      "Text \" now\"\nLineBreak\nLineBreak\n" + RunEnd + "LineBreak\n" + Run + "Text \"b\"\n" + RunEnd + Close;
  EXPECT_EQ(Walk(M, false), Want);
}

// A run in the editor's face but in another charset opens its face again:
// the exporter reads its bytes in that charset's code page.
TEST(TCustomDCMemoWalk, RunInAnotherCharsetOpensItsFace) {
  TDCMemo M(nullptr);
  M.SetHighlightUrls(true);
  M.SetText("a http://x.org");
  TFont* UF = M.GetTextStyles()->GetItem(TTextStyles::UrlStyle)->GetFont();
  UF->Assign(M.GetFont());
  UF->SetCharset(RUSSIAN_CHARSET);
  const std::string Log = Walk(M, false);
  EXPECT_NE(Log.find("Text \"a \"\nEndColor\nEndFontSize\nEndFont\nStartFont Courier New 204\nText \"http://x.org\"\nEndFont\n"),
            std::string::npos)
      << Log;
}
