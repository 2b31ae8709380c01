#include <gtest/gtest.h>
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
