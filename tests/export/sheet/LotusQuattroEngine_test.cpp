#include <gtest/gtest.h>
#include "SheetSupport.h"
#include "platform/rtl/Colors.h"

namespace {
template <class TEngine>
std::string Export(TEngine& E, const std::string& Name, const std::string& Kind,
                   const std::function<void(TEngine&)>& Draw) {
  const std::string Base = SheetTempBase(Name);
  E.SetFileName(Base);
  E.BeginDoc();
  Draw(E);
  E.EndDoc();
  const std::string File = Base + "." + E.GetFileExtension();
  const std::string Out = RunSheetReader(Kind, File);
  std::remove(File.c_str());
  return Out;
}
using TLotus = TTestSheetEngine<TgtLotusEngine>;
using TQuattro = TTestSheetEngine<TgtQuattroProEngine>;
}  // namespace

TEST(TgtLotusEngine, CellsCarryTheirFormatBytes) {
  TLotus E;
  E.GetPreferences()->SetAutoFormatCells(true);
  const std::string Out = Export<TLotus>(E, "lotus", "wk1", [](TLotus& E) {
    E.TextOut(E.Col(0), E.Row(0), u"12.345");
    E.TextOut(E.Col(1), E.Row(0), u"1000");
    E.TextOut(E.Col(2), E.Row(0), u"$7");
    E.TextOut(E.Col(3), E.Row(0), u"text");
  });
  EXPECT_EQ(Out, "MARGINS 0 0 800 0 0\n"
                 "0 0 N 12.345 fmt=83\n0 1 N 1000.0 fmt=80\n0 2 N 7.0 fmt=A0\n0 3 L text fmt=F5\n");
}

TEST(TgtLotusEngine, LabelsRowsAndColumnsStayInsideTheFormat) {
  TLotus E;
  const std::string Out = Export<TLotus>(E, "lotus_bounds", "wk1", [](TLotus& E) {
    E.TextOut(0, 0, WideString(300, u'y'));
    E.CellText(9000, 400, u"far", 4, fkText);
    E.CellText(1, 0, u"oops", 4, fkDecimal);
  });
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  EXPECT_NE(Out.find("0 0 L " + std::string(239, 'y') + " fmt=F5"), std::string::npos) << Out;
  EXPECT_NE(Out.find("8191 255 L far"), std::string::npos) << Out;
  EXPECT_NE(Out.find("1 0 L oops fmt=F5"), std::string::npos) << Out;
}

TEST(TgtLotusEngine, MeasurementUnitIsTheCallersAfterADocument) {
  TLotus E;
  E.SetMeasurementUnit(muInches);
  E.GetPage()->SetLeftMargin(1);
  const std::string Out = Export<TLotus>(E, "lotus_unit", "wk1", [](TLotus& E) { E.TextOut(0, 0, u"x"); });
  EXPECT_EQ(E.GetMeasurementUnit(), muInches);
  EXPECT_NE(Out.find("MARGINS 96 "), std::string::npos) << Out;
}

TEST(TgtQuattroProEngine, CellsStylesFontsAndPalette) {
  TQuattro E;
  E.GetPreferences()->SetAutoFormatCells(true);
  const std::string Out = Export<TQuattro>(E, "qpro", "wb1", [](TQuattro& E) {
    E.TextOut(E.Col(0), E.Row(0), u"Name");
    E.TextOut(E.Col(1), E.Row(0), u"42");
    E.TextOut(E.Col(0), E.Row(1), WideString(300, u'z'));
  });
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  // The default style is position 0 (attribute 8); the cells' styles follow.
  EXPECT_NE(Out.find("STYLE fmt=2 align=1"), std::string::npos) << Out;
  EXPECT_NE(Out.find("0 1 N 42.0 attr="), std::string::npos) << Out;
  EXPECT_NE(Out.find("1 0 L " + std::string(250, 'z') + " attr="), std::string::npos) << Out;
  EXPECT_NE(Out.find("PALETTE ffffff"), std::string::npos) << Out;
  EXPECT_NE(Out.find("FONT "), std::string::npos) << Out;
}

TEST(TgtQuattroProEngine, ExtraColoursTakeTheNearestOfSixteen) {
  TQuattro E;
  E.CreateSheetLists();
  for (int I = 0; I < 16; ++I) EXPECT_EQ(E.GetPaletteIndex(TColor(0x101010 * I)), I);
  EXPECT_EQ(E.GetPaletteIndex(TColor(0x202021)), 2);   // nearest to 0x202020
}

// A notebook's column is one byte: cells beyond it are pinned to the last
// column rather than wrapped onto column 44; a number that fails to convert
// is a label.
TEST(TgtQuattroProEngine, CellsStayInsideTheNotebook) {
  TQuattro E;
  const std::string Out = Export<TQuattro>(E, "qpro_bounds", "wb1", [](TQuattro& E) {
    E.CellText(2, 300, u"wide", 4, fkText);
    E.CellText(70000, 1, u"deep", 4, fkText);
    E.CellText(1, 0, u"oops", 4, fkDecimal);
  });
  EXPECT_EQ(Out.find("EXIT"), std::string::npos) << Out;
  EXPECT_NE(Out.find("\n2 255 L wide attr="), std::string::npos) << Out;
  EXPECT_NE(Out.find("\n65535 1 L deep attr="), std::string::npos) << Out;
  EXPECT_NE(Out.find("\n1 0 L oops attr="), std::string::npos) << Out;
}
