// Word wrap, tabs, indents, alignment, spacing and pagination of TRichLayout
// against a 96-dpi target, checked in target pixels (15 twips each).
#include <gtest/gtest.h>

#include "Layout_TestSupport.h"
#include "platform/richedit/RichLayout.h"
#include "platform/richedit/RtfReader.h"

using namespace richtest;

namespace {

TRichLayoutParams At96(int WidthTwips) {
  TRichLayoutParams P;
  P.WidthTwips = WidthTwips;
  return P;
}

// The x of every item on a paragraph's lines, line by line.
std::vector<std::vector<int>> ItemXs(const TRichParaLayout& P) {
  std::vector<std::vector<int>> Out;
  for (const auto& L : P.Lines) {
    Out.emplace_back();
    for (const auto& It : L.Items) Out.back().push_back(It.X);
  }
  return Out;
}

// Where the last text item of line 0 ends.
int ContentEnd(const TRichLine& L) {
  for (auto It = L.Items.rbegin(); It != L.Items.rend(); ++It)
    if (It->Kind == TRichLineItem::TKind::Text) return It->X + It->Width;
  return 0;
}

}  // namespace

TEST(TRichLayout, PaginatesKnownMetricsIntoTheExpectedPages) {
  // 95 one-line paragraphs, a page of exactly ten lines: ten pages whose
  // first characters are the starts of paragraphs 0, 10, 20 ...
  TDocBuilder B;
  for (int I = 0; I < 95; ++I) B.Para(u"Line " + std::u16string(1, char16_t(u'A' + I % 26)));
  const TRichDocument Doc = B.Done();
  const int H = MetricsOf(Mono()).Height;
  ASSERT_GT(H, 0);
  const TPaging P = PageThrough(Doc, {0, 0, 9000, 10 * H * 15});
  ASSERT_EQ(P.Starts.size(), 10u);
  for (std::size_t K = 0; K < P.Starts.size(); ++K) {
    SCOPED_TRACE(K);
    EXPECT_EQ(P.Starts[K], Doc.Paragraphs()[K * 10].FirstCp);
  }
  EXPECT_EQ(P.Bottoms[0], 10 * H * 15);
  EXPECT_EQ(P.Bottoms.back(), 5 * H * 15);   // the last page holds five lines
}

TEST(TRichLayout, WrapsAtSpacesAndBreaksOverlongWords) {
  const int A = MetricsOf(Mono()).Advance;
  struct TCase {
    std::u16string Text;
    int WidthChars;
    std::vector<std::u16string> Lines;   // the line texts, end mark dropped
    const char* Why;
  };
  const TCase Cases[] = {
      {u"aaa bbb ccc", 8, {u"aaa bbb ", u"ccc"}, "trailing space hangs past the edge"},
      {u"aaa bbb ccc", 7, {u"aaa bbb ", u"ccc"}, "a space never starts a line"},
      {u"aaa bbb ccc", 6, {u"aaa ", u"bbb ", u"ccc"}, "one word per line"},
      {u"abcdefghij", 4, {u"abcd", u"efgh", u"ij"}, "a word wider than the line breaks by characters"},
      {u"well-known fact", 7, {u"well-", u"known ", u"fact"}, "breaks after a hyphen"},
      {u"a\vb", 20, {u"a\v", u"b"}, "a line break ends the line"},
      {u"ab", 0, {u"a", u"b"}, "a zero width still takes a character a line"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument Doc = TDocBuilder().Para(C.Text).Done();
    TRichLayout L(Doc, At96(C.WidthChars * A * 15));
    const auto& P = L.Paragraph(0);
    std::vector<std::u16string> Got;
    for (const auto& Ln : P.Lines) {
      std::u16string S = Doc.Paragraphs()[0].Text.substr(std::size_t(Ln.Start), std::size_t(Ln.End - Ln.Start));
      if (!S.empty() && S.back() == u'\r') S.pop_back();
      Got.push_back(S);
    }
    EXPECT_EQ(Got, C.Lines);
  }
}

TEST(TRichLayout, PlacesTextByIndentsTabsAndAlignment) {
  const int A = MetricsOf(Mono()).Advance;
  const int Width = 40 * A;   // pixels
  auto Tabs = [](std::initializer_list<TRichTabStop> T) {
    TRichParaFormat P;
    P.Tabs = T;
    return P;
  };
  TRichParaFormat Indented;
  Indented.LeftIndent = 720;
  Indented.FirstIndent = 360;
  TRichParaFormat Hanging;
  Hanging.LeftIndent = 1440;
  Hanging.FirstIndent = -1440;
  TRichParaFormat RightAligned;
  RightAligned.Alignment = TRichAlignment::Right;
  RightAligned.RightIndent = 300;
  TRichParaFormat Centered;
  Centered.Alignment = TRichAlignment::Center;

  struct TCase {
    std::u16string Text;
    TRichParaFormat Format;
    std::vector<std::vector<int>> Xs;
    const char* Why;
  };
  const TCase Cases[] = {
      {u"ab", {}, {{0}}, "left at the margin"},
      {u"ab", Indented, {{72}}, "first line at left plus first indent"},
      {u"a\tb", {}, {{0, A, 48}}, "default tab every 720 twips"},
      {u"abcd\tb", {}, {{0, 4 * A, 48}}, "the next default stop past the text"},
      {u"a\tb", Tabs({{1440}}), {{0, A, 96}}, "own left tab"},
      {u"a\tbb", Tabs({{2880, TRichTabKind::Right}}), {{0, A, 192 - 2 * A}}, "right tab ends the text at the stop"},
      {u"a\tbb", Tabs({{2880, TRichTabKind::Center}}), {{0, A, 192 - A}}, "centre tab centres the text on the stop"},
      {u"a\t12.5", Tabs({{2880, TRichTabKind::Decimal}}), {{0, A, 192 - 2 * A}}, "decimal tab puts the point at the stop"},
      {u"a\tb", Hanging, {{0, A, 96}}, "hanging indent is a tab stop on line one"},
      {u"ab", RightAligned, {{Width - 20 - 2 * A}}, "right alignment stops at the right indent"},
      {u"ab ", Centered, {{(Width - 2 * A) / 2}}, "centring ignores the trailing space"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TRichDocument Doc = TDocBuilder().Para(C.Text, C.Format).Done();
    TRichLayout L(Doc, At96(Width * 15));
    EXPECT_EQ(ItemXs(L.Paragraph(0)), C.Xs);
  }
}

TEST(TRichLayout, JustifiesWrappedLinesButNotTheLast) {
  const int A = MetricsOf(Mono()).Advance;
  TRichParaFormat J;
  J.Alignment = TRichAlignment::Justify;
  const TRichDocument Doc = TDocBuilder().Para(u"aa bb cc dd ee", J).Done();
  TRichLayout L(Doc, At96(10 * A * 15));   // "aa bb cc " / "dd ee"
  const auto& P = L.Paragraph(0);
  ASSERT_EQ(P.Lines.size(), 2u);
  const TRichLine& First = P.Lines[0];
  EXPECT_EQ(First.JustifySpaces, 2);          // the trailing space takes nothing
  EXPECT_EQ(First.JustifyExtra, 10 * A - 8 * A);
  EXPECT_EQ(ContentEnd(First) - A, 10 * A);   // its content reaches the edge (trailing space aside)
  EXPECT_EQ(P.Lines[1].JustifySpaces, 0);
  EXPECT_EQ(P.Lines[1].Items[0].X, 0);
}

TEST(TRichLayout, LineHeightsFollowTheTallestRunAndTheSpacingRules) {
  const TFontMetrics Small = MetricsOf(Mono(20));
  const TFontMetrics Big = MetricsOf(Mono(48));
  auto Spaced = [](Integer Sl, bool Multiple, Integer Before = 0, Integer After = 0) {
    TRichParaFormat P;
    P.LineSpacing = Sl;
    P.LineSpacingMultiple = Multiple;
    P.SpaceBefore = Before;
    P.SpaceAfter = After;
    return P;
  };
  struct TCase {
    TRichParaFormat Format;
    bool Mixed;
    int LineHeight, ParaHeight, FirstTop;
    const char* Why;
  };
  const TCase Cases[] = {
      {{}, false, Small.Height, Small.Height, 0, "single spacing is the font's height"},
      {{}, true, Big.Height, Big.Height, 0, "the largest run sets the height"},
      {Spaced(-600, false), true, 40, 40, 0, "exactly 600 twips, even below the runs"},
      {Spaced(1500, false), false, 100, 100, 0, "at least 1500 twips"},
      {Spaced(15, false), false, Small.Height, Small.Height, 0, "at least: never below the runs"},
      {Spaced(480, true), false, 2 * Small.Height, 2 * Small.Height, 0, "double spacing"},
      {Spaced(0, false, 300, 150), false, Small.Height, 20 + Small.Height + 10, 20, "space before and after"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDocBuilder B;
    B.Text(u"ab", Mono(20));
    if (C.Mixed) B.Text(u"CD", Mono(48));
    B.End(C.Format);
    const TRichDocument Doc = B.Done();
    TRichLayout L(Doc, At96(9000));
    const auto& P = L.Paragraph(0);
    ASSERT_EQ(P.Lines.size(), 1u);
    EXPECT_EQ(P.Lines[0].Height, C.LineHeight);
    EXPECT_EQ(P.Lines[0].Top, C.FirstTop);
    EXPECT_EQ(P.Height, C.ParaHeight);
  }
}

TEST(TRichLayout, PageBreakCharacterEndsThePage) {
  const TRichDocument Doc = TDocBuilder().Para(u"one\ftwo").Para(u"three").Done();
  TRichLayout L(Doc, At96(9000));
  const TRichPage First = L.Paginate(0, -1, 14400);
  EXPECT_EQ(First.CpEnd, 4);   // after "one" and the FF
  const TRichPage Second = L.Paginate(First.CpEnd, -1, 14400);
  EXPECT_EQ(Second.CpEnd, Doc.TextLength());
}

TEST(TRichLayout, StopsAtTheEndOfTheRangeAndKeepsProgressOnTinyPages) {
  TDocBuilder B;
  for (int I = 0; I < 5; ++I) B.Para(u"abc def");
  const TRichDocument Doc = B.Done();
  TRichLayout L(Doc, At96(9000));
  EXPECT_EQ(L.Paginate(0, 10, 14400).CpEnd, 10);
  EXPECT_EQ(L.Paginate(0, 10, 14400).CpLimit, 10);
  // A page lower than one line still takes that line.
  const TRichPage Tiny = L.Paginate(8, -1, 1);
  EXPECT_EQ(Tiny.CpEnd, 16);
  ASSERT_EQ(Tiny.Pieces.size(), 1u);
  EXPECT_TRUE(Tiny.Pieces[0].Oversize);
  // Nothing remains: nothing laid out.
  const TRichPage AtEnd = L.Paginate(Doc.TextLength(), -1, 14400);
  EXPECT_EQ(AtEnd.CpEnd, Doc.TextLength());
  EXPECT_TRUE(AtEnd.Pieces.empty());
}

// Laying out a page lets go of the layouts before it; paging back lays
// them out again, to the same pages.
TEST(TRichLayout, PagingBackAfterReleasingGivesTheSamePages) {
  TDocBuilder B;
  for (int I = 0; I < 60; ++I) B.Para(u"word word word word word word word word " + std::u16string(1, char16_t(u'a' + I % 26)));
  const TRichDocument Doc = B.Done();
  TRichLayout L(Doc, At96(3000));
  const int Page = 2000;
  std::vector<TRichPage> Forward;
  for (Integer Cp = 0; Cp < Doc.TextLength();) {
    Forward.push_back(L.Paginate(Cp, -1, Page));
    ASSERT_GT(Forward.back().CpEnd, Cp);
    Cp = Forward.back().CpEnd;
  }
  ASSERT_GT(Forward.size(), 4u);
  for (std::size_t K = Forward.size(); K-- > 0;) {
    SCOPED_TRACE(K);
    const TRichPage Again = L.Paginate(Forward[K].CpMin, -1, Page);
    EXPECT_EQ(Again.CpEnd, Forward[K].CpEnd);
    EXPECT_EQ(Again.Height, Forward[K].Height);
    ASSERT_FALSE(Again.Pieces.empty());
    // The page's pieces are usable: their lines are there to draw.
    EXPECT_FALSE(Again.Pieces[0].Para->Lines.empty());
  }
}

TEST(TRichLayout, ContinuesAParagraphFromAnyPosition) {
  const int A = MetricsOf(Mono()).Advance;
  const TRichDocument Doc = TDocBuilder().Para(u"aaa bbb ccc ddd").Done();
  TRichLayout L(Doc, At96(8 * A * 15));   // "aaa bbb " / "ccc ddd"
  ASSERT_EQ(L.Paragraph(0).Lines.size(), 2u);
  // From a line start the cached lines serve; from inside a line the rest
  // is wrapped anew without the first-line indent.
  const TRichPage FromLine = L.Paginate(8, -1, 14400);
  ASSERT_EQ(FromLine.Pieces.size(), 1u);
  EXPECT_EQ(FromLine.Pieces[0].Para, &L.Paragraph(0));
  EXPECT_EQ(FromLine.Pieces[0].FirstLine, 1u);
  const TRichPage FromInside = L.Paginate(5, -1, 14400);
  ASSERT_EQ(FromInside.Pieces.size(), 1u);
  EXPECT_EQ(FromInside.Pieces[0].Para->Lines[0].Start, 5);
  EXPECT_EQ(FromInside.CpEnd, Doc.TextLength());
}

TEST(TRichLayout, TableRowsPlaceCellsSideBySideAndNeverSplit) {
  TRichDocument Doc;
  TRichTableRow Row;
  Row.Left = 0;
  Row.Gap = 75;
  Row.Cells.resize(2);
  Row.Cells[0].Right = 1500;
  Row.Cells[1].Right = 4500;
  const Integer R0 = Doc.AddRow(Row);
  const Integer R1 = Doc.AddRow(Row);
  const TRichParaFormat P;
  for (Integer R : {R0, R1}) {
    Doc.AppendText(u"a", Mono());
    Doc.EndParagraph(P, Mono(), TRichParagraphEnd::Cell, R, 0);
    Doc.AppendText(u"b", Mono());
    Doc.EndParagraph(P, Mono(), TRichParagraphEnd::Paragraph, R, 1);
    Doc.AppendText(u"second line", Mono());
    Doc.EndParagraph(P, Mono(), TRichParagraphEnd::Cell, R, 1);
  }
  Doc.AppendText(u"after", Mono());
  Doc.Finish(P, Mono());
  const int H = MetricsOf(Mono()).Height;

  TRichLayout L(Doc, At96(9000));
  const TRichRowLayout& First = L.RowOf(0);
  ASSERT_EQ(First.Cells.size(), 2u);
  EXPECT_EQ(First.Cells[0].Left, 0);
  EXPECT_EQ(First.Cells[0].Right, 100);
  EXPECT_EQ(First.Cells[1].Right, 300);
  EXPECT_EQ(First.Cells[1].Paragraphs[0].Lines[0].Items[0].X, 0);
  EXPECT_EQ(First.Cells[1].Paragraphs[0].Left, 105);    // cell edge plus the gap
  EXPECT_EQ(First.Cells[1].Paragraphs[1].Lines[0].Top, H);
  EXPECT_EQ(First.Height, 2 * H);                       // the taller cell
  EXPECT_EQ(&L.RowOf(2), &First);                       // any paragraph of the row finds it

  // A page of three lines holds the first row but not the second.
  const TRichPage Page = L.Paginate(0, -1, 3 * H * 15);
  ASSERT_EQ(Page.Pieces.size(), 1u);
  EXPECT_EQ(Page.Pieces[0].Row, &First);
  EXPECT_EQ(Page.CpEnd, Doc.Paragraphs()[3].FirstCp);
}

TEST(TRichLayout, NumbersListParagraphsAndHangsTheirText) {
  auto List = [](TRichNumbering Kind, Integer Start = 1) {
    TRichParaFormat P;
    P.Numbering = Kind;
    P.NumberingStart = Start;
    P.NumberingTextAfter = u".";
    P.LeftIndent = 720;
    P.FirstIndent = -360;
    return P;
  };
  // Marks wider than the hanging indent push the text to the next default
  // tab stop (96 px). Mono's advance is 8 px at 10 pt.
  ASSERT_EQ(MetricsOf(Mono()).Advance, 8);
  struct TCase {
    std::vector<TRichParaFormat> Paras;
    std::vector<std::u16string> Marks;
    std::vector<int> TextX;
    const char* Why;
  };
  const TRichParaFormat Plain;
  const TCase Cases[] = {
      {{List(TRichNumbering::Arabic), List(TRichNumbering::Arabic), List(TRichNumbering::Arabic)},
       {u"1.", u"2.", u"3."}, {48, 48, 48}, "consecutive items count up"},
      {{List(TRichNumbering::Arabic, 4), Plain, List(TRichNumbering::Arabic, 4)}, {u"4.", u"", u"4."}, {48, 0, 48},
       "a plain paragraph restarts the count"},
      {{List(TRichNumbering::LowerRoman, 3), List(TRichNumbering::LowerRoman, 3)}, {u"iii.", u"iv."}, {96, 96},
       "roman"},
      {{List(TRichNumbering::UpperLetter, 26), List(TRichNumbering::UpperLetter, 26)}, {u"Z.", u"AA."}, {48, 96},
       "letters"},
      {{List(TRichNumbering::Bullet)}, {u"\u2022."}, {48}, "bullet"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDocBuilder B;
    for (const auto& P : C.Paras) B.Para(u"item", P);
    const TRichDocument Doc = B.Done();
    TRichLayout L(Doc, At96(9000));
    for (std::size_t I = 0; I < C.Marks.size(); ++I) {
      const auto& P = L.Paragraph(Integer(I));
      EXPECT_EQ(P.Marker, C.Marks[I]);
      EXPECT_EQ(P.Lines[0].Items[0].X, C.TextX[I]);
      if (!P.Marker.empty()) {
        EXPECT_EQ(P.MarkerX, 24);   // the first-line indent
      }
    }
  }
}

TEST(TRichLayout, HiddenTextTakesNoRoomAndAHiddenParagraphNoLine) {
  // Link targets and other \v text stay in the text but are neither shown
  // nor read: "b" follows "a" directly, and the paragraph hidden up to its
  // mark leaves no gap between the first and the last line.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 a{\\v target.htm}b\\par"
      "{\\v gone\\par}c}");
  EXPECT_EQ(Doc.PlainText(), u"ab\r\nc");
  ASSERT_EQ(Doc.Paragraphs().size(), 3u);
  const int A = MetricsOf(Mono()).Advance;
  const int H = MetricsOf(Mono()).Height;
  TRichLayout L(Doc, At96(9000));
  const TRichParaLayout& First = L.Paragraph(0);
  ASSERT_EQ(First.Lines.size(), 1u);
  ASSERT_EQ(First.Lines[0].Items.size(), 2u);
  EXPECT_EQ(First.Lines[0].Items[1].X, A);
  EXPECT_EQ(First.Lines[0].Items[1].Width, A);
  EXPECT_TRUE(L.Paragraph(1).Lines.empty());
  EXPECT_EQ(L.Paragraph(1).Height, 0);
  const TRichPage Page = L.Paginate(0, -1, 100 * H * 15);
  EXPECT_EQ(Page.Height, 2 * H);
  EXPECT_EQ(Page.CpEnd, Doc.TextLength());
  // A page that holds just the first line also takes the hidden paragraph,
  // and one that would hold nothing else breaks not before it.
  EXPECT_EQ(L.Paginate(0, -1, H * 15).CpEnd, Doc.Paragraphs()[2].FirstCp);
}

TEST(TRichLayout, HiddenParagraphsLeaveNoPageOfTheirOwn) {
  // A hidden paragraph with a page break before it, after a full page, and
  // hidden paragraphs at the end: two pages of one line each, not four.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 one\\par"
      "{\\v\\pagebb gone\\par}\\pard two\\par{\\v tail\\par more\\par}}");
  const int H = MetricsOf(Mono()).Height;
  const TPaging P = PageThrough(Doc, {0, 0, 9000, H * 15});
  ASSERT_EQ(P.Starts.size(), 2u);
  EXPECT_EQ(P.Starts[1], Doc.Paragraphs()[2].FirstCp);
}

TEST(TRichLayout, NestedTableCellsSitSideBySideInsideTheOuterCell) {
  // An outer cell from 1500 twips (100 px) with a 75-twip gap holds a
  // nested row of two cells (0-1500, 1500-3000 from the cell's text edge)
  // under a paragraph of its own; the second nested cell has two lines.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20"
      "\\trowd\\trgaph75\\cellx1500\\clbrdrt\\brdrs\\cellx7500"
      "\\pard\\intbl left\\cell\\pard\\intbl above\\par"
      "\\pard\\intbl\\itap2 a\\nestcell b\\line c\\nestcell"
      "{\\*\\nesttableprops\\trowd\\clcbpat1\\cellx1500\\clbrdrb\\brdrs\\cellx3000\\nestrow}{\\nonesttables\\par}"
      "\\pard\\intbl after\\cell\\row}");
  const int H = MetricsOf(Mono()).Height;
  TRichLayout L(Doc, At96(9000));
  const TRichRowLayout& Row = L.RowOf(0);
  ASSERT_EQ(Row.Cells.size(), 2u);
  const TRichCellLayout& Cell = Row.Cells[1];
  // above, a, b/c, after: the nested row is as tall as its taller cell.
  ASSERT_EQ(Cell.Paragraphs.size(), 4u);
  const int TextLeft = 100 + 5;
  struct TWant {
    int Left, Top;
  } Want[] = {{TextLeft, 0}, {TextLeft, H}, {TextLeft + 100, H}, {TextLeft, 3 * H}};
  for (std::size_t I = 0; I < std::size(Want); ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Cell.Paragraphs[I].Left, Want[I].Left);
    ASSERT_FALSE(Cell.Paragraphs[I].Lines.empty());
    EXPECT_EQ(Cell.Paragraphs[I].Lines[0].Top, Want[I].Top);
  }
  EXPECT_EQ(Cell.Paragraphs[2].Lines.size(), 2u);
  EXPECT_EQ(Cell.Paragraphs[2].Width, 100);
  EXPECT_EQ(Row.Height, 4 * H);
  ASSERT_EQ(Cell.NestedCells.size(), 2u);
  const TRichCellFrame& F0 = Cell.NestedCells[0];
  const TRichCellFrame& F1 = Cell.NestedCells[1];
  EXPECT_EQ(F0.Left, TextLeft);
  EXPECT_EQ(F0.Right, TextLeft + 100);
  EXPECT_EQ(F1.Right, TextLeft + 200);
  EXPECT_EQ(F1.Top, H);
  EXPECT_EQ(F1.Bottom, 3 * H);
  EXPECT_GT(F1.Borders.Bottom.Width, 0);
  EXPECT_EQ(F0.Borders.Bottom.Width, 0);
  EXPECT_EQ(Row.Cells[0].NestedCells.size(), 0u);
  EXPECT_GT(Cell.Borders.Top.Width, 0) << "the outer cell keeps its own definition";
}

TEST(TRichLayout, NarrowCellsBreakAtSpacesAndTextAfterTheTableIsNotACell) {
  // A generated report's form: a one-inch first column, then \intbl0 and a
  // heading that must get the full width instead of the first column.
  // Courier New at 10 pt is 8 px a character: the cell's text is 80 px wide.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20\\trowd\\trgaph120\\cellx1440\\cellx5220"
      "\\intbl Local variable to control abcdefghijkl\\cell x\\cell\\row"
      "\\intbl0 {\\fs32\\b Variables\\par}}");
  ASSERT_EQ(MetricsOf(Mono()).Advance, 8);
  TRichLayout L(Doc, At96(9000));
  const TRichParaLayout& Cell = L.RowOf(0).Cells[0].Paragraphs[0];
  std::vector<std::u16string> Got;
  for (const auto& Ln : Cell.Lines)
    Got.push_back(Doc.Paragraphs()[0].Text.substr(std::size_t(Ln.Start), std::size_t(Ln.End - Ln.Start)));
  const std::vector<std::u16string> Want = {u"Local ", u"variable ", u"to control ", u"abcdefghij", u"kl\a"};
  EXPECT_EQ(Got, Want) << "words move whole to the next line; only a word wider than the cell is cut";
  ASSERT_EQ(Doc.Paragraphs().size(), 3u);
  EXPECT_EQ(Doc.Paragraphs()[2].Row, -1);
  EXPECT_EQ(L.Paragraph(2).Lines.size(), 1u);
}

TEST(TRichLayout, TheNumberingFontCountsInTheFirstLinesHeight) {
  // A 20 pt mark on 10 pt text: line one is as tall as the mark's font, the
  // wrapped line after it as tall as the text's.
  const TRichDocument Doc = RtfRead(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20{\\*\\pn\\pnlvlblt\\pnf0\\pnfs40}\\fi-360\\li720 "
      "aaaa bbbb cccc dddd\\par}");
  ASSERT_EQ(MetricsOf(Mono()).Advance, 8);
  TRichLayout L(Doc, At96(120 * 15));   // 120 px: "aaaa " after the 48 px hanging indent, then "bbbb "
  const TRichParaLayout& P = L.Paragraph(0);
  ASSERT_GE(P.Lines.size(), 2u);
  EXPECT_EQ(P.Lines[0].Height, MetricsOf(Mono(40)).Height);
  EXPECT_EQ(P.Lines[1].Height, MetricsOf(Mono()).Height);
  EXPECT_EQ(P.Lines[1].Top, MetricsOf(Mono(40)).Height);
}

// A paragraph far longer than a page (an editor's text: one paragraph, its
// lines ended by line breaks) is paged as it goes: each page wraps only the
// lines it takes, and the pages are those of the paragraph wrapped whole.
TEST(TRichLayout, PagesALongParagraphAsItGoesToTheSamePages) {
  const int A = MetricsOf(Mono()).Advance;
  std::u16string Text;
  for (int I = 0; Text.size() < 40000; ++I) {
    // Short lines, lines that wrap, empty lines and now and then a page break.
    Text += I % 7 == 3 ? u"" : u"word " + std::u16string(std::size_t(I % 23), u'x');
    if (I % 11 == 5) Text += u" and a longer tail that wraps once or twice in the column";
    Text += I % 97 == 50 ? u'\f' : u'\v';
  }
  TRichParaFormat Spaced;
  Spaced.SpaceBefore = 300;
  Spaced.SpaceAfter = 450;
  const TRichDocument Doc = TDocBuilder().Para(u"before").Para(Text, Spaced).Para(u"after").Done();
  const int Width = 30 * A * 15;
  for (const int PageTwips : {14400, 2000, 1}) {
    SCOPED_TRACE(PageTwips);
    TRichLayout Paged(Doc, At96(Width));
    TRichLayout Whole(Doc, At96(Width));
    // Wrapped whole, as a paragraph of common length is.
    const std::size_t AllLines = Whole.Paragraph(1).Lines.size();
    std::size_t Pages = 0, MostLines = 0;
    for (Integer Cp = 0; Cp < Doc.TextLength(); ++Pages) {
      const TRichPage P = Paged.Paginate(Cp, -1, PageTwips);
      const TRichPage W = Whole.Paginate(Cp, -1, PageTwips);
      ASSERT_EQ(P.CpEnd, W.CpEnd) << "page " << Pages;
      ASSERT_EQ(P.Height, W.Height) << "page " << Pages;
      ASSERT_EQ(P.Pieces.size(), W.Pieces.size()) << "page " << Pages;
      for (std::size_t K = 0; K < P.Pieces.size(); ++K) {
        const TRichPagePiece &Pp = P.Pieces[K], &Wp = W.Pieces[K];
        ASSERT_EQ(Pp.Top, Wp.Top);
        ASSERT_EQ(Pp.Oversize, Wp.Oversize);
        ASSERT_EQ(Pp.LastLine - Pp.FirstLine, Wp.LastLine - Wp.FirstLine);
        for (std::size_t J = 0; J < Pp.LastLine - Pp.FirstLine; ++J) {
          const TRichLine& Lp = Pp.Para->Lines[Pp.FirstLine + J];
          const TRichLine& Lw = Wp.Para->Lines[Wp.FirstLine + J];
          ASSERT_EQ(Lp.Start, Lw.Start);
          ASSERT_EQ(Lp.End, Lw.End);
          ASSERT_EQ(Lp.Top - Pp.LineOffset, Lw.Top - Wp.LineOffset);
          ASSERT_EQ(Lp.Height, Lw.Height);
          ASSERT_EQ(Lp.Items.size(), Lw.Items.size());
        }
        if (Pp.Para && Pp.Para->Paragraph == 1) MostLines = std::max(MostLines, Pp.Para->Lines.size());
      }
      ASSERT_GT(P.CpEnd, Cp);
      Cp = P.CpEnd;
    }
    EXPECT_GT(Pages, 3u);
    // Never more than a page and the line that did not fit.
    EXPECT_LT(MostLines, AllLines / 3);
  }
}
