#include <gtest/gtest.h>
#include "SheetSupport.h"

namespace {
using TExcel = TTestSheetEngine<TgtExcelEngine>;

std::string Export(TExcel& E, const std::string& Name, const std::function<void(TExcel&)>& Draw) {
  const std::string Base = SheetTempBase(Name);
  E.SetFileName(Base);
  E.BeginDoc();
  Draw(E);
  E.EndDoc();
  const std::string Out = RunSheetReader("xls", Base + ".xls");
  if (!std::getenv("SX_KEEP")) std::remove((Base + ".xls").c_str());
  return Out;
}

struct TNamer : TObject {
  AnsiString Fixed;
  void Name(TObject*, AnsiString& SheetName, Integer) { SheetName = Fixed; }
};
}  // namespace

TEST(TgtExcelEngine, CellsOpenInXlrdWithTextNumbersFontsAndFormats) {
  TExcel E;
  E.GetPreferences()->SetAutoFormatCells(true);
  const std::string Out = Export(E, "cells", [](TExcel& E) {
    E.TextOut(E.Col(0), E.Row(0), u"Name");
    E.TextOut(E.Col(2), E.Row(0), u"1234");
    E.GetFont()->SetStyle(TFontStyles{fsBold});
    E.TextOut(E.Col(0), E.Row(1), u"Total");
    E.GetFont()->SetStyle(TFontStyles{});
    E.TextOut(E.Col(2), E.Row(1), u"1,234.50");
    E.TextOut(E.Col(0), E.Row(2), u"1234-");
    E.TextOut(E.Col(2), E.Row(2), u"(12)");
    E.TextOut(E.Col(0), E.Row(3), u"$5.25");
    E.TextOut(E.Col(2), E.Row(3), u"10:30");
  });
  const std::string F = E.GetFont()->GetName() + "," + std::to_string(E.GetFont()->GetSize());
  EXPECT_EQ(Out, "SHEET Sheet1 4 3\n"
                 "0 0 L Name|font=" + F + ",b0,i0|fmt=General\n"
                 "0 2 N 1234.0|font=" + F + ",b0,i0|fmt=0\n"
                 "1 0 L Total|font=" + F + ",b1,i0|fmt=General\n"
                 "1 2 N 1234.5|font=" + F + ",b0,i0|fmt=0.00\n"
                 "2 0 N -1234.0|font=" + F + ",b0,i0|fmt=0\n"
                 "2 2 N -12.0|font=" + F + ",b0,i0|fmt=0\n"
                 "3 0 N 5.25|font=" + F + ",b0,i0|fmt=$#,##0_);($#,##0)\n"
                 "3 2 L 10:30|font=" + F + ",b0,i0|fmt=h:mm:ss AM/PM\n")
      << Out;
}

TEST(TgtExcelEngine, PagesPerWorksheetStartsSheetsWithRowsFromZero) {
  TExcel E;
  E.GetPreferences()->SetPagesPerWorksheet(2);
  const std::string Out = Export(E, "pages", [](TExcel& E) {
    for (int P = 1; P <= 5; ++P) {
      if (P > 1) E.NewPage();
      E.TextOut(0, 0, u"page " + AnsiToWide(std::to_string(P)));
    }
  });
  const Integer Second = Integer(std::nearbyint(800.0 / E.GetDefaultRowHeight())) + 1;
  const std::string S = std::to_string(Second);
  EXPECT_EQ(Out.substr(0, Out.find('|')), "SHEET Sheet1 " + std::to_string(Second + 1) + " 1\n0 0 L page 1");
  EXPECT_NE(Out.find("SHEET Sheet2"), std::string::npos);
  EXPECT_NE(Out.find("SHEET Sheet3 1 1\n0 0 L page 5"), std::string::npos) << Out;
  EXPECT_NE(Out.find(S + " 0 L page 4"), std::string::npos) << Out;
}

TEST(TgtExcelEngine, SheetNamesAreValidAndUnique) {
  struct {
    const char* Given;
    const char* Want1;
    const char* Want2;
  } Cases[] = {
      {"Report", "Report", "Sheet2"},           // the second would repeat the first
      {"a/b:c*?", "abc", "Sheet2"},
      {"", "Sheet1", "Sheet2"},
      {"Sheet2", "Sheet2", "Sheet2 (2)"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Given);
    TExcel E;
    TNamer Namer;
    Namer.Fixed = C.Given;
    E.OnNeedSheetName = TgtOnNeedSheetName(&Namer, &TNamer::Name);
    E.GetPreferences()->SetPagesPerWorksheet(1);
    const std::string Out = Export(E, "names", [](TExcel& E) {
      E.TextOut(0, 0, u"x");
      E.NewPage();
      E.TextOut(0, 0, u"y");
    });
    EXPECT_NE(Out.find(std::string("SHEET ") + C.Want1 + " "), std::string::npos) << Out;
    EXPECT_NE(Out.find(std::string("SHEET ") + C.Want2 + " "), std::string::npos) << Out;
  }
}

TEST(TgtExcelEngine, LongTextsAndBadNumbersStayLabels) {
  TExcel E;
  const std::string Out = Export(E, "labels", [](TExcel& E) {
    E.TextOut(0, 0, WideString(300, u'x'));
    E.CellText(1, 0, u"not a number", 4, fkInteger);
  });
  EXPECT_NE(Out.find("0 0 L " + std::string(255, 'x') + "|"), std::string::npos) << Out;
  EXPECT_NE(Out.find("1 0 L not a number|"), std::string::npos) << Out;
}

TEST(TgtExcelEngine, RowsPastTheSheetContinueOnANewSheet) {
  TExcel E;
  E.GetPage()->SetHeight(20000);   // each page more than half a sheet
  const std::string Out = Export(E, "overflow", [](TExcel& E) {
    E.TextOut(0, 0, u"first");
    E.NewPage();
    E.TextOut(0, 0, u"second");
    E.CellText(30000, 300, u"clamped", 4, fkText);
  });
  EXPECT_NE(Out.find("SHEET Sheet1"), std::string::npos) << Out;
  EXPECT_NE(Out.find("SHEET Sheet2"), std::string::npos) << Out;
  EXPECT_NE(Out.find("16383 255 L clamped"), std::string::npos) << Out;
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
}

TEST(TgtExcelEngine, ManyColoursStillGiveAValidPalette) {
  TExcel E;
  const std::string Out = Export(E, "colours", [](TExcel& E) {
    for (int I = 0; I < 80; ++I) {
      E.GetFont()->SetColor(TColor(0x010101 * I + 7));
      E.TextOut(E.Col(I % 4), E.Row(I / 4), u"c");
    }
  });
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  EXPECT_NE(Out.find("19 3 L c"), std::string::npos) << Out;
}

TEST(TgtExcelEngine, ColoursPastTheFiftySixTakeTheNearestEntry) {
  struct {
    bool UseDefaultPalette;
    TColor Extra;
    Integer Want;
  } Cases[] = {
      {false, TColor(0x0B0A0A), 3},      // grey ramp 4 apart: 0C0C0C is nearest
      {false, TColor(0xFFFFFF), 55},     // past the ramp's end: its last entry
      {true, TColor(0x0000FE), 2},       // the built-in table: next to red
      {true, TColor(0x313131), 55},      // next to 333333
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TExcel E;
    E.GetPreferences()->SetUseDefaultPalette(C.UseDefaultPalette);
    E.CreateSheetLists();
    if (!C.UseDefaultPalette) {
      for (Integer I = 0; I < gtExcelPaletteSize; ++I) {
        ASSERT_EQ(E.GetPaletteIndex(TColor(0x040404 * I)), I);
      }
    }
    const Integer Got = E.GetPaletteIndex(C.Extra);
    EXPECT_EQ(Got, C.Want);
    EXPECT_EQ(E.GetPaletteIndex(C.Extra), Got);
  }
}

TEST(TgtExcelEngine, PaletteHoldsTheColoursTheCellsUse) {
  TExcel E;
  const std::string Base = SheetTempBase("palette");
  E.SetFileName(Base);
  E.BeginDoc();
  E.GetFont()->SetColor(clRed);
  E.TextOut(E.Col(0), E.Row(0), u"red");
  E.GetFont()->SetColor(clBlue);
  E.TextOut(E.Col(0), E.Row(1), u"blue");
  E.EndDoc();
  const std::string File = sxtest::ReadFile(Base + ".xls");
  EXPECT_EQ(RunSheetReader("xls", Base + ".xls").find("EXIT"), std::string::npos);
  std::remove((Base + ".xls").c_str());
  // The workbook stream starts at the first sector; walk its records.
  std::vector<std::array<unsigned char, 3>> Colours;
  for (std::size_t At = 512; At + 4 <= File.size();) {
    const auto U16 = [&](std::size_t P) { return unsigned((unsigned char)File[P]) | unsigned((unsigned char)File[P + 1]) << 8; };
    const unsigned Id = U16(At), Len = U16(At + 2);
    if (Id == 0x0092) {
      const unsigned N = U16(At + 4);
      ASSERT_EQ(Len, N * 4 + 2);
      for (unsigned I = 0; I < N; ++I)
        Colours.push_back({(unsigned char)File[At + 6 + 4 * I], (unsigned char)File[At + 7 + 4 * I],
                           (unsigned char)File[At + 8 + 4 * I]});
      break;
    }
    At += 4 + Len;
  }
  const std::array<unsigned char, 3> Red{255, 0, 0}, Blue{0, 0, 255};
  EXPECT_LT(Colours.size(), 8u);
  EXPECT_NE(std::find(Colours.begin(), Colours.end(), Red), Colours.end());
  EXPECT_NE(std::find(Colours.begin(), Colours.end(), Blue), Colours.end());
}
