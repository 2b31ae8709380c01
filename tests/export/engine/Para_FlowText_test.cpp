#include <gtest/gtest.h>
#include "TraceEngine.h"

namespace {
// Courier New 10 at 96 pixels per inch: every character 8 pixels wide.
void UseCourier(TFont& F) {
  F.SetName("Courier New");
  F.SetSize(10);
}

// A trace engine with a page of 600 x 800 pixels and no margins.
struct TFlowEngine : TTraceEngine {
  TFlowEngine() {
    TgtPageSettings* P = GetPage();
    P->SetLeftMargin(0);
    P->SetTopMargin(0);
    P->SetRightMargin(0);
    P->SetBottomMargin(0);
    P->SetHeaderHeight(0);
    P->SetFooterHeight(0);
    UseCourier(*GetFont());
  }
  double LineHeight() { return GetTextExtent(u"W", GetFont()).cy; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> Out;
    for (auto& L : Lines)
      if (L.rfind("Text", 0) == 0) Out.push_back(L);
    return Out;
  }
};

std::vector<std::string> Items(const TWideStrings& L) {
  std::vector<std::string> Out;
  for (auto& S : L.Items()) Out.push_back(UTF8Encode(S));
  return Out;
}
}  // namespace

TEST(TgtCustomDocumentEngine, WrapTextBreaksAtBlanksCutsLongWordsAndKeepsLineBreaks) {
  struct TCase {
    const char* Why;
    const char16_t* Text;
    double First, Width;
    std::vector<std::string> Want;
  } Cases[] = {
      {"words fill a line exactly", u"aaa bbb ccc", 64, 64, {"aaa bbb ", "ccc"}},
      {"a word wider than a line is cut", u"abcdefghijkl", 40, 40, {"abcde", "fghij", "kl"}},
      {"a break ends the line with CR LF once", u"ab\r\ncd", 100, 100, {"ab\r\n", "cd"}},
      {"a lone line feed breaks too", u"ab\ncd", 100, 100, {"ab\r\n", "cd"}},
      {"a trailing empty line is dropped", u"ab\n", 100, 100, {"ab\r\n"}},
      {"the first line has its own width", u"aaa bbb", 32, 100, {"aaa ", "bbb"}},
      {"no width changes nothing", u"aaa", 0, 0, {}},
  };
  TFlowEngine E;
  TFont Font;
  UseCourier(Font);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TWideStrings Lines;
    EXPECT_EQ(E.WrapText(C.Text, Lines, &Font, false, C.First, C.Width), std::round(C.Width));
    EXPECT_EQ(Items(Lines), C.Want);
  }
}

TEST(TgtCustomDocumentEngine, WrapTextAppendsToTheLastLineAndMeasuresASingleLine) {
  TFlowEngine E;
  TFont Font;
  UseCourier(Font);
  TWideStrings Lines;
  E.WrapText(u"aa ", Lines, &Font, false, 64, 64);
  E.WrapText(u"bb cccc", Lines, &Font, false, 64, 64);
  EXPECT_EQ(Items(Lines), (std::vector<std::string>{"aa bb ", "cccc"}));
  E.GetPen()->SetWidth(3);
  // Text, one blank and twice the pen.
  EXPECT_EQ(E.WrapText(u"abc", Lines, &Font, true, 0, 0), 24 + 8 + 6);
  EXPECT_EQ(Items(Lines), (std::vector<std::string>{"abc"}));
}

TEST(TgtCustomDocumentEngine, TextBoxAlignsItsLinesAtTheBottomAndDrawsItsFrame) {
  TFlowEngine E;
  E.BeginDoc();
  const double L = E.LineHeight();
  // Room for five lines, three words of one line each.
  E.TextBox({10, 20, 10 + 6 * 8, 20 + 5 * L}, u"aaaa bbbb cccc", haRight, 2);
  E.EndDoc();
  const auto T = E.Texts();
  ASSERT_EQ(T.size(), 3u);
  const double Top = 20 + 5 * L - 3 * L;
  EXPECT_EQ(T[0], "Text 26," + TTraceEngine::N(Top) + " \"aaaa\" Courier New 10");
  EXPECT_EQ(T[2], "Text 26," + TTraceEngine::N(Top + 2 * L) + " \"cccc\" Courier New 10");
  EXPECT_EQ(E.Joined("Line").substr(0, 13), "Line 10,20,10");
  EXPECT_EQ(std::count_if(E.Lines.begin(), E.Lines.end(), [](auto& S) { return S.rfind("Line", 0) == 0; }), 4);
}

TEST(TgtCustomDocumentEngine, TextBoxOutsideTheAreaIsDroppedAndClampedToIt) {
  TFlowEngine E;
  E.BeginDoc();
  E.TextBox({700, 10, 800, 50}, u"gone", 0, 0);
  E.TextBox({550, 10, 900, 50}, u"abcdefghij", 0, 0);   // 50 pixels left: cut at six characters
  E.EndDoc();
  const auto T = E.Texts();
  ASSERT_EQ(T.size(), 2u);
  EXPECT_NE(T[0].find("\"abcdef\""), std::string::npos);
  EXPECT_NE(T[1].find("\"ghij\""), std::string::npos);
}

TEST(TgtCustomDocumentEngine, ParagraphTextOutAnswersTheRoomLeft) {
  TFlowEngine E;
  E.BeginDoc();
  const double L = E.LineHeight();
  EXPECT_EQ(E.ParagraphTextOut(u"no paragraph"), 0);
  E.BeginParagraph();
  ASSERT_TRUE(E.IsParagraphOpen());
  EXPECT_DOUBLE_EQ(E.ParagraphTextOut(u"one line"), 800 - L);
  EXPECT_DOUBLE_EQ(E.ParagraphTextOut(u" more"), 800 - L) << "continues the line";
  E.EndParagraph();
  EXPECT_FALSE(E.IsParagraphOpen());
  E.BeginParagraph();
  E.ParagraphTextOut(u"second");
  E.EndParagraph();
  E.EndDoc();
  EXPECT_EQ(E.Texts(), (std::vector<std::string>{"Text 0,0 \"one line more\" Courier New 10",
                                                 "Text 0," + TTraceEngine::N(L) + " \"second\" Courier New 10"}));
}

TEST(TgtCustomDocumentEngine, OverflowParagraphsGoOnNewPagesOnlyWithAutoPaginate) {
  for (bool Auto : {true, false}) {
    SCOPED_TRACE(Auto ? "AutoPaginate" : "no AutoPaginate");
    TFlowEngine E;
    E.SetAutoPaginate(Auto);
    E.BeginDoc();
    const double L = E.LineHeight();
    const Integer PerPage = Integer(800 / L);
    WideString Text;
    for (Integer I = 0; I < PerPage * 2 + 3; ++I) Text += u"w\n";
    E.BeginParagraph();
    const double Left = E.ParagraphTextOut(Text);
    EXPECT_DOUBLE_EQ(Left, 800 - 3 * L) << "the room left on the last overflow paragraph";
    E.EndParagraph();
    E.EndDoc();
    if (Auto) {
      EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\nBeginPage 3\n");
      EXPECT_EQ(E.Texts().size(), std::size_t(PerPage * 2 + 3)) << "no line lost";
    } else {
      EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\n");
      EXPECT_EQ(E.Texts().size(), std::size_t(PerPage));
    }
  }
}

TEST(TgtCustomDocumentEngine, ParagraphLinesFollowIndentsAndAlignment) {
  TFlowEngine E;
  TgtTextFormatting F;
  F.SetLeftIndent(10);
  F.SetFirstIndent(16);
  F.Alignment = haLeft;
  E.SetTextFormatting(&F);
  E.BeginDoc();
  E.BeginParagraph();
  // Width 590: the first line (574 wide) and the next are one word each.
  WideString Long(70, u'a');
  E.ParagraphTextOut(WideString(Long).append(1, u' ').append(Long));
  E.EndParagraph();
  E.EndDoc();
  const auto T = E.Texts();
  ASSERT_EQ(T.size(), 2u);
  EXPECT_EQ(T[0].substr(0, 11), "Text 26,0 \"");
  EXPECT_EQ(T[1].substr(0, 7), "Text 10");
}

TEST(TgtCustomDocumentEngine, ParagraphToTextItemsQueuesOneTextItemPerLine) {
  TFlowEngine E;
  E.SetSplitTextList(true);
  E.BeginDoc();
  E.BeginParagraph();
  E.ParagraphTextOut(u"one\ntwo\nthree");
  E.ParagraphToTextItems();
  EXPECT_FALSE(E.IsParagraphOpen());
  EXPECT_EQ(E.CurrentTextItems().size(), 3u);
  E.EndDoc();
  EXPECT_EQ(E.Texts().size(), 3u);
}

TEST(TgtCustomDocumentEngine, TableCallsWithoutATableOrOutsideItDoNothing) {
  TFlowEngine E;
  E.BeginDoc();
  EXPECT_EQ(E.NewRow(), -1);
  EXPECT_EQ(E.NewRowHeight(10), -1);
  EXPECT_EQ(E.BeginTable(2, 700, 0), nullptr) << "corner outside the area";
  TgtColumnList* Cols = E.BeginTable(2, 0, 0);
  ASSERT_NE(Cols, nullptr);
  EXPECT_EQ(E.BeginTable(2, 0, 0), nullptr) << "one table at a time";
  E.CellTextOut(0, u"before any row");
  E.NewRow();
  E.CellTextOut(2, u"column = count");
  E.CellTextOut(-1, u"negative");
  E.CellTextOut(1, u"kept");
  E.EndTable();
  E.EndDoc();
  const auto T = E.Texts();
  ASSERT_EQ(T.size(), 1u);
  EXPECT_NE(T[0].find("\"kept\""), std::string::npos);
}

TEST(TgtCustomDocumentEngine, TableRowsSplitOverPagesWithTheTitleOnTheFirstOnly) {
  TFlowEngine E;
  TgtTableSettings S;
  S.TitleRow = true;
  S.SetTitleRowHeight(20);
  S.SetRowHeight(100);
  S.ColumnWidth = 50;
  E.SetTableSettings(&S);
  E.BeginDoc();
  TgtColumnList* Cols = E.BeginTable(2, 0, 0);
  ASSERT_NE(Cols, nullptr);
  (*Cols)[0]->Caption = u"Name";
  (*Cols)[1]->Caption = u"Value";
  // The first room is the area below the title; the row being closed does
  // not count, the ones before it do.
  EXPECT_EQ(E.NewRow(), 800 - 20);
  E.CellTextOut(0, u"r0");
  EXPECT_EQ(E.NewRow(), 800 - 20);
  EXPECT_EQ(E.NewRow(), 800 - 20 - 100);
  for (int R = 3; R < 10; ++R) E.NewRow();
  E.CellTextOut(1, u"r9");
  E.EndTable();
  E.EndDoc();
  // 20 + 7 rows of 100 fill page 1 (720 <= 800); three rows go to page 2.
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\n");
  const std::string All = E.Joined();
  const std::size_t Page2 = All.find("BeginPage 2");
  EXPECT_LT(All.find("\"Name\""), Page2);
  EXPECT_EQ(All.find("\"Name\"", Page2), std::string::npos) << "captions on the first page only";
  EXPECT_LT(All.find("\"r0\""), Page2);
  EXPECT_GT(All.find("\"r9\""), Page2);
  // r9 is the third row of page 2, from the body's top.
  EXPECT_NE(All.find("Text 50,200 \"r9\""), std::string::npos) << All;
  // Cell backgrounds: 2 title + 14 rows on page 1, 6 on page 2.
  EXPECT_EQ(std::count_if(E.Lines.begin(), E.Lines.end(), [](auto& L) { return L.rfind("Rectangle", 0) == 0; }),
            22);
}

TEST(TgtCustomDocumentEngine, RowTallerThanThePageBodyIsCutToIt) {
  TFlowEngine E;
  E.GetPage()->SetTopMargin(50);
  E.BeginDoc();
  ASSERT_NE(E.BeginTable(1, 0, 0), nullptr);
  E.NewRowHeight(5000);
  E.NewRowHeight(30);   // 50 + 730 + 30 passes the page's bottom
  E.EndTable();
  E.EndDoc();
  // Body 750, less the title row height (20): the first row is 730 high.
  EXPECT_NE(E.Joined().find("Rectangle 0,50,100,780"), std::string::npos) << E.Joined();
  EXPECT_EQ(E.Joined("BeginPage"), "BeginPage 1\nBeginPage 2\n");
  EXPECT_NE(E.Joined().find("Rectangle 0,50,100,80"), std::string::npos) << "from the body's top";
}

TEST(TgtCustomDocumentEngine, CellDrawHandlerRestylesEachCell) {
  struct THandler : TObject {
    std::vector<std::string> Seen;
    void Cell(TObject*, Integer Row, Integer Col, TPen*, TBrush* Brush, TFont*, TgtFrame* Frame) {
      Seen.push_back(std::to_string(Row) + ":" + std::to_string(Col));
      Brush->SetColor(clRed);
      Frame->Left = Frame->Top = Frame->Right = Frame->Bottom = false;
    }
  } H;
  TFlowEngine E;
  E.OnCellDraw = TgtOnCellDrawEvent(&H, &THandler::Cell);
  E.BeginDoc();
  E.BeginTable(2, 0, 0);
  E.NewRow();
  E.EndTable();
  E.EndDoc();
  EXPECT_EQ(H.Seen, (std::vector<std::string>{"0:0", "0:1"}));
  EXPECT_EQ(E.Joined("Line"), "");
  EXPECT_EQ(E.Joined("Rectangle"), "Rectangle 0,0,100,20 brush 255\nRectangle 100,0,200,20 brush 255\n");
}
