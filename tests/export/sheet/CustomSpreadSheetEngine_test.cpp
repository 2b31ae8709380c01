#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include "SheetSupport.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/FormatSettings.h"

namespace {
// Prints the cell every text item was given: "row,col text".
class TGridProbe : public TTestSheetEngine<TgtCustomSpreadSheetEngine> {
public:
  std::vector<std::string> Cells;
  std::string Joined() const {
    std::string S;
    for (auto& C : Cells) S += C + "\n";
    return S;
  }
  using TgtCustomSpreadSheetEngine::DetectCellFormat;

protected:
  void EncodeTextItem(TgtTextItem* Item) override {
    auto* Fm = dynamic_cast<TgtFmTextItem*>(Item);
    if (!Fm) return;
    Cells.push_back(std::to_string(Fm->Row + FRowOffset) + "," + std::to_string(Fm->Column) + " " +
                    UTF8Encode(Item->Lines.Get(0)));
  }
};
}  // namespace

TEST(TgtCustomSpreadSheetEngine, TextItemsLandInCellsByPosition) {
  TGridProbe E;
  E.BeginDoc();
  E.TextOut(E.Col(0), E.Row(0), u"A");
  E.TextOut(E.Col(2), E.Row(0), u"C");
  E.TextOut(E.Col(0.1), E.Row(1), u"below A");
  E.TextOut(E.Col(1), E.Row(5), u"far down");
  E.EndDoc();
  EXPECT_EQ(E.Joined(), "0,0 A\n0,2 C\n1,0 below A\n5,1 far down\n");
}

TEST(TgtCustomSpreadSheetEngine, PagesFollowEachOtherDownTheSheet) {
  TGridProbe E;
  E.BeginDoc();
  E.TextOut(0, 0, u"one");
  E.NewPage();
  E.TextOut(0, 0, u"two");
  const Integer PageRows = Integer(std::nearbyint(800.0 / E.GetDefaultRowHeight()));
  E.EndDoc();
  // A page with one line still takes its height in default rows, plus one.
  EXPECT_EQ(E.Joined(), "0,0 one\n" + std::to_string(PageRows + 1) + ",0 two\n");
}

TEST(TgtCustomSpreadSheetEngine, SpacingOptionsRenumberRowsAndColumns) {
  struct {
    SmallInt ColumnSpacing;
    Integer RowSpacing;
    const char* Want;
  } Cases[] = {
      {-1, -1, "0,0 a\n0,3 b\n1,0 c\n"},
      {0, -1, "0,0 a\n0,1 b\n1,0 c\n"},
      {1, -1, "0,1 a\n0,3 b\n1,1 c\n"},
      {-1, 2, "2,0 a\n2,3 b\n5,0 c\n"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TGridProbe E;
    E.GetFormatting()->SetColumnSpacing(C.ColumnSpacing);
    E.GetFormatting()->SetRowSpacing(C.RowSpacing);
    E.BeginDoc();
    E.TextOut(E.Col(0), E.Row(0), u"a");
    E.TextOut(E.Col(3), E.Row(0), u"b");
    E.TextOut(E.Col(0), E.Row(1), u"c");
    E.EndDoc();
    EXPECT_EQ(E.Joined(), C.Want);
  }
}

TEST(TgtCustomSpreadSheetEngine, ItemsCloserThanAColumnTakeTheNextIndex) {
  TGridProbe E;
  E.BeginDoc();
  E.TextOut(E.Col(0), E.Row(0), u"x");
  E.TextOut(E.Col(1.2), E.Row(0), u"y");   // nearest(1.2) = 1
  E.TextOut(E.Col(2.3), E.Row(0), u"z");   // nearest(2.3) = 2, after 1: 2
  E.TextOut(E.Col(3.1), E.Row(1), u"w");   // inside z's span (2.3 .. 3.3): z's column
  E.TextOut(E.Col(3.4), E.Row(2), u"v");   // past it: nearest(3.4) = 3
  E.EndDoc();
  EXPECT_EQ(E.Joined(), "0,0 x\n0,1 y\n0,2 z\n1,2 w\n2,3 v\n");
}

// Texts that fall into one cell each keep a cell of their own: the one
// further right, or the later at the same point, takes the next column
// (opened when that column holds something in the row).
TEST(TgtCustomSpreadSheetEngine, TextsSharingACellEachKeepACell) {
  struct TText {
    double Col, Row, DownPx;
    const char16_t* Text;
  };
  struct {
    std::vector<TText> Texts;
    const char* Want;
    const char* Why;
  } Cases[] = {
      {{{2, 0, 0, u"a"}, {2, 0, 0, u"b"}, {0, 1, 0, u"c"}}, "0,2 a\n0,3 b\n1,0 c\n", "two texts at one point"},
      {{{2, 0, 0, u"a"}, {2, 0, 0, u"b"}, {3, 0, 0, u"c"}, {3, 1, 0, u"d"}},
       "0,2 a\n0,3 b\n0,4 c\n1,4 d\n", "the next column is taken in the row: a column opens"},
      {{{0, 0, 1, u"Normal"}, {0.5, 0, 0, u"super"}}, "0,1 super\n0,0 Normal\n",
       "a raised run inside its column's span reads first yet stays right"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TGridProbe E;
    E.BeginDoc();
    for (const TText& T : C.Texts) E.TextOut(E.Col(T.Col), E.Row(T.Row) + T.DownPx, T.Text);
    E.EndDoc();
    EXPECT_EQ(E.Joined(), C.Want);
  }
}

TEST(TgtCustomSpreadSheetEngine, CellTextKeepsItsCell) {
  TGridProbe E;
  E.BeginDoc();
  E.CellText(7, 4, u"fixed", 1, fkText);
  E.TextOut(0, 0, u"free");
  E.EndDoc();
  EXPECT_EQ(E.Joined(), "0,0 free\n7,4 fixed\n");
}

TEST(TgtCustomSpreadSheetEngine, DetectCellFormatFollowsTheLocale) {
  struct {
    char Thousand, Decimal;
    const char* Text;
    Byte Want;
  } Cases[] = {
      {',', '.', "1000", fkInteger},
      {',', '.', "1,234.5", fkDecimal},
      {',', '.', "1,23", fkText},        // grouping not by three
      {',', '.', "(1,234)", fkInteger},  // accounting negative
      {',', '.', "1e5", fkDecimal},
      {',', '.', "1e", fkText},
      {',', '.', "5-", fkText},
      {',', '.', "$12.50", fkCurrency},
      {',', '.', "10:30", fkTime},
      {',', '.', "hello", fkText},
      {'.', ',', "1.234,56", fkDecimal},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    TFormatSettings F = DefaultFormatSettings();
    F.ThousandSeparator = C.Thousand;
    F.DecimalSeparator = C.Decimal;
    TFormatSettingsOverride Use(F);
    TGridProbe E;
    E.GetPreferences()->SetAutoFormatCells(true);
    EXPECT_EQ(E.DetectCellFormat(C.Text), C.Want);
    E.GetPreferences()->SetAutoFormatCells(false);
    EXPECT_EQ(E.DetectCellFormat(C.Text), fkText);
  }
}

TEST(TgtCustomSpreadSheetEngine, CleanNumberTextKeepsWhatAConversionAccepts) {
  struct {
    const char* In;
    const char* Want;
  } Cases[] = {
      {" 1,234.50 ", "1234.50"}, {"$ 12", "12"}, {"1E5", "1E+5"}, {"-3e-2", "-3e-2"}, {"+7", "+7"}, {"12-", "12-"},
  };
  for (auto& C : Cases) EXPECT_EQ(TgtCustomSpreadSheetEngine::CleanNumberText(C.In), C.Want) << C.In;
}

TEST(TgtCustomSpreadSheetEngine, ColoursFontsAndAttributesAreKeyed) {
  TGridProbe E;
  E.CreateSheetLists();
  const Integer Red = E.GetPaletteIndex(clRed);
  EXPECT_EQ(E.GetPaletteIndex(clRed), Red);
  EXPECT_EQ(E.GetPaletteIndex(clBlue), Red + 1);
  TFont A;
  A.SetName("Arial");
  A.SetSize(10);
  TFont B;
  B.Assign(&A);
  B.SetStyle(TFontStyles{fsUnderline});
  EXPECT_EQ(E.AddFont(&A), 0);
  EXPECT_EQ(E.AddFont(&A), 0);
  EXPECT_EQ(E.AddFont(&B), 1);
  TBrush Brush;
  EXPECT_EQ(E.AddCellAttrib(5, 4, false, &Brush, 0), 0);
  EXPECT_EQ(E.AddCellAttrib(5, 4, false, &Brush, 0), 0);
  EXPECT_EQ(E.AddCellAttrib(5, 4, true, &Brush, 0), 1);
}

TEST(TgtCustomSpreadSheetEngine, DefaultPaletteFindsPresetsAndAppendsNewColours) {
  TGridProbe E;
  E.GetPreferences()->SetUseDefaultPalette(true);
  EXPECT_EQ(E.GetPaletteIndex(clWhite), 1);
  EXPECT_EQ(E.GetPaletteIndex(TColor(0xE3E3E3)), 39);
  const Integer New = E.GetPaletteIndex(TColor(0x010203));
  EXPECT_EQ(New, 56);
  EXPECT_EQ(E.GetPaletteIndex(TColor(0x010203)), New);
  // A full table keeps its entries and answers with the nearest one.
  for (Integer I = 0; I < 200; ++I) E.GetPaletteIndex(TColor(0x100000 + I * 3));
  const Integer Overflow = E.GetPaletteIndex(TColor(0x020304));
  EXPECT_EQ(Overflow, New);
}

TEST(TgtCustomSpreadSheetEngine, WindowColouredTextBecomesWindowText) {
  TGridProbe E;
  E.CreateSheetLists();
  TFont F;
  F.SetColor(clWindow);
  E.AddFont(&F);
  // The only colour registered is the copy's.
  EXPECT_EQ(E.GetPaletteIndex(clWindowText), 0);
  EXPECT_EQ(E.GetPaletteIndex(clWindow), 1);
}

namespace {
// One text of an alignment layout: right-aligned texts are given by their
// right edge, the others by their left edge (both in columns).
struct TPlaced {
  const char16_t* Text;
  double Edge;
  Integer Row;
  bool Right;
};

std::string LayOut(bool ApplyAlignment, std::initializer_list<TPlaced> Items) {
  TGridProbe E;
  E.GetPreferences()->SetApplyAlignment(ApplyAlignment);
  E.BeginDoc();
  for (const TPlaced& P : Items) {
    E.SetTextAlignment(P.Right ? 1 : 0);
    const double W = P.Right ? E.GetTextExtent(P.Text, E.GetFont()).cx : 0;
    E.TextOut(E.Col(P.Edge) - W, E.Row(P.Row), P.Text);
  }
  E.EndDoc();
  return E.Joined();
}
}  // namespace

TEST(TgtCustomSpreadSheetEngine, RightAlignedItemsJoinTheColumnOfWhatStandsAboveThem) {
  {
    // The heading must reach past its own column for the numbers' right
    // edges to land in the next one.
    TGridProbe E;
    E.BeginDoc();
    ASSERT_GT(E.GetTextExtent(u"Amount in dollars", E.GetFont()).cx, 1.3 * E.GetColumnWidthPx());
    ASSERT_LT(E.GetTextExtent(u"22.00", E.GetFont()).cx, 0.6 * E.GetColumnWidthPx());
    E.EndDoc();
  }
  struct {
    bool ApplyAlignment;
    std::initializer_list<TPlaced> Items;
    const char* Want;
    const char* Why;
  } Cases[] = {
      {true,
       {{u"Amount in dollars", 2, 0, false}, {u"1.00", 3.7, 1, true}, {u"22.00", 3.7, 2, true}},
       "0,2 Amount in dollars\n1,2 1.00\n2,2 22.00\n",
       "numbers under a heading take its column"},
      {false,
       {{u"Amount in dollars", 2, 0, false}, {u"1.00", 3.7, 1, true}, {u"22.00", 3.7, 2, true}},
       "0,2 Amount in dollars\n1,3 1.00\n2,3 22.00\n",
       "without ApplyAlignment the left edges decide"},
      {true,
       {{u"Amount in dollars", 2, 3, false}, {u"1.00", 3.7, 1, true}, {u"22.00", 3.7, 2, true}},
       "1,4 1.00\n2,4 22.00\n3,2 Amount in dollars\n",
       "a heading below the numbers does not pull them"},
      {true,
       {{u"Qty", 0, 0, false}, {u"1.00", 3.7, 1, true}, {u"22.00", 3.7, 2, true}},
       "0,0 Qty\n1,4 1.00\n2,4 22.00\n",
       "a heading that does not overlap them does not pull them"},
      {true,
       {{u"A", 0, 0, false},
        {u"5", 5.2, 1, true},
        {u"x", 3, 5, false},
        {u"Amount in dollars", 7, 0, false},
        {u"1.00", 8.2, 1, true}},
       "0,0 A\n0,7 Amount in dollars\n1,5 5\n1,7 1.00\n5,3 x\n",
       "an item within three columns to the left lets the pass go on"},
      {true,
       {{u"A", 0, 0, false},
        {u"5", 5.2, 1, true},
        {u"Amount in dollars", 7, 0, false},
        {u"1.00", 8.2, 1, true}},
       "0,0 A\n0,7 Amount in dollars\n1,5 5\n1,8 1.00\n",
       "three empty columns to the left of right-aligned items end the pass"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(LayOut(C.ApplyAlignment, C.Items), C.Want);
  }
}

TEST(TgtCustomSpreadSheetEngine, AlignmentPassLeavesRightAlignedItemsAtTheirLeftEdge) {
  // The right-edge placement is only for the grid: the writers see the x the
  // text was drawn at.
  struct TXProbe : TGridProbe {
    std::vector<double> Xs;
    void EncodeTextItem(TgtTextItem* Item) override { Xs.push_back(Item->X); }
  } E;
  E.GetPreferences()->SetApplyAlignment(true);
  E.BeginDoc();
  E.SetTextAlignment(1);
  E.TextOut(40, 0, u"right");
  E.EndDoc();
  ASSERT_EQ(E.Xs.size(), 1u);
  EXPECT_DOUBLE_EQ(E.Xs[0], 40);
}

TEST(TgtCustomSpreadSheetEngine, ParagraphLinesBecomeCellsDownOneColumn) {
  TGridProbe E;
  E.BeginDoc();
  E.BeginParagraph();
  E.ParagraphTextOut(u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
                     u"fifteen sixteen seventeen eighteen nineteen twenty twenty-one twenty-two");
  E.EndParagraph();
  E.EndDoc();
  // Wrapped lines of a left-aligned paragraph: column 0, one row each.
  ASSERT_GE(E.Cells.size(), 2u) << E.Joined();
  Integer PrevRow = -1;
  std::string Text;
  for (const std::string& C : E.Cells) {
    const Integer Row = std::stoi(C.substr(0, C.find(',')));
    EXPECT_EQ(C.substr(C.find(',') + 1, 2), "0 ") << C;
    EXPECT_EQ(Row, PrevRow + 1) << E.Joined();
    PrevRow = Row;
    Text += C.substr(C.find(' ') + 1) + " ";
  }
  EXPECT_NE(Text.find("twenty-two"), std::string::npos) << E.Joined();
}

TEST(TgtCustomSpreadSheetEngine, TableCellsStandAtTheirColumnsRightEdgesOnce) {
  struct {
    Integer Rows;
    bool TitleRow;
    const char* Why;
  } Cases[] = {
      {3, false, "a small table"},
      {3, true, "a title row above the data"},
      {120, false, "a table the layout splits over pages is written once"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TGridProbe E;
    E.GetTableSettings()->TitleRow = C.TitleRow;
    E.BeginDoc();
    E.GetTableSettings()->SetTitleRowHeightPx(E.GetRowHeightPx() * 1.2);
    TgtColumnList* Columns = E.BeginTable(2, 0, 0);
    ASSERT_NE(Columns, nullptr);
    (*Columns)[0]->Width = E.Col(2);
    (*Columns)[0]->Caption = u"Name";
    (*Columns)[1]->Width = E.Col(3);
    (*Columns)[1]->Caption = u"Value";
    for (Integer R = 0; R < C.Rows; ++R) {
      E.NewRow();
      E.CellTextOut(0, u"n" + AnsiToWide(std::to_string(R)));
      E.CellTextOut(1, u"v" + AnsiToWide(std::to_string(R)));
    }
    E.EndTable();
    const Integer Pages = E.GetPageCount();
    E.NewPage();
    E.TextOut(0, 0, u"after");
    E.EndDoc();
    ASSERT_GE(Pages, C.Rows > 100 ? 2 : 1);
    // "row,col text" back into cells.
    std::map<std::string, std::pair<Integer, Integer>> At;
    for (const std::string& Cell : E.Cells) {
      const auto Comma = Cell.find(','), Space = Cell.find(' ');
      const std::string Text = Cell.substr(Space + 1);
      EXPECT_EQ(At.count(Text), 0u) << "written twice: " << Text;
      At[Text] = {std::stoi(Cell.substr(0, Comma)), std::stoi(Cell.substr(Comma + 1, Space - Comma - 1))};
    }
    EXPECT_EQ(E.Cells.size(), std::size_t(C.Rows * 2 + (C.TitleRow ? 2 : 0) + 1)) << E.Joined();
    Integer Prev = C.TitleRow ? At["Name"].first : -1;
    if (C.TitleRow) {
      EXPECT_EQ(At["Name"].second, 2);
      EXPECT_EQ(At["Value"], std::make_pair(At["Name"].first, 5));
    }
    for (Integer R = 0; R < C.Rows; ++R) {
      const auto N = At[std::string(1, 'n').append(std::to_string(R))], V = At[std::string(1, 'v').append(std::to_string(R))];
      EXPECT_EQ(N.second, 2) << R;
      EXPECT_EQ(V, std::make_pair(N.first, 5)) << R;
      EXPECT_GT(N.first, Prev) << R;
      Prev = N.first;
    }
    // The page after the table starts below its last row, however far the
    // table ran past its first page.
    EXPECT_GT(At["after"].first, Prev) << E.Joined();
  }
}
