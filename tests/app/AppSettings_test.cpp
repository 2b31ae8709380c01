// The program's settings files: defaults for what is missing or unreadable,
// a round trip through the writers, and the configuration list kept where
// it is read from.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/AppSettings.h"
#include "app/public_unit.h"
#include "platform/rtl/IniFiles.h"

namespace {

class AppSettings : public ::testing::Test {
protected:
  sxtest::TAppDirScope Dir{"settings"};
};

TEST_F(AppSettings, MissingFilesGiveTheDefaults) {
  const TGeneralOptions O = ReadGeneralOptions();
  EXPECT_FALSE(O.StartMinimized);
  EXPECT_EQ(O.ActivationHotKey, "Ctrl+$");
  EXPECT_EQ(O.IndentHotKey, "Ctrl+*");
  EXPECT_EQ(O.ConvertHotKey, "Alt+*");
  EXPECT_EQ(O.PdfPageWidth, 600);
  EXPECT_EQ(O.PdfPageHeight, 800);
  EXPECT_EQ(O.DefaultExportFormat, efHTML);
  EXPECT_EQ(ReadConvertShortCutText("ConvertToPDF"), "");
  EXPECT_EQ(ReadDefaultConfig(), "standard");
}

TEST_F(AppSettings, WrittenOptionsReadBack) {
  TGeneralOptions O;
  O.StartMinimized = true;
  O.ActivationHotKey = "Shift+Ctrl+F9";
  O.ConvertHotKey = "";
  O.PdfPageWidth = 612;
  O.PdfPageHeight = 792;
  O.ShowSetupDialog = true;
  O.OpenAfterExport = true;
  O.DefaultExportFormat = efSVG;
  O.DefaultConfig = "compact";
  WriteGeneralOptions(O);
  const TGeneralOptions R = ReadGeneralOptions();
  EXPECT_TRUE(R.StartMinimized);
  EXPECT_EQ(R.ActivationHotKey, "Shift+Ctrl+F9");
  EXPECT_EQ(R.ConvertHotKey, "");
  EXPECT_EQ(R.PdfPageWidth, 612);
  EXPECT_EQ(R.PdfPageHeight, 792);
  EXPECT_TRUE(R.ShowSetupDialog);
  EXPECT_TRUE(R.OpenAfterExport);
  EXPECT_EQ(R.DefaultExportFormat, efSVG);
  EXPECT_EQ(ReadDefaultConfig(), "compact");
}

TEST_F(AppSettings, UnreadablePageSizesReadAsTheirDefaults) {
  struct TCase { const char* Text; bool Ok; Integer Value; };
  const TCase Cases[] = {
      {"612", true, 612}, {" 700 ", true, 700}, {"abc", false, 0}, {"12px", false, 0},
      {"", false, 0},     {"0", false, 0},      {"25", false, 0},  {"10001", false, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    Integer V = -1;
    EXPECT_EQ(ParsePdfPageSize(C.Text, V), C.Ok);
    if (C.Ok) {
      EXPECT_EQ(V, C.Value);
    }
    TIniFile Ini(OptionsFileName());
    Ini.WriteString("General", "PDF Page Width", C.Text);
    EXPECT_EQ(ReadGeneralOptions().PdfPageWidth, C.Ok ? C.Value : 600);
  }
}

TEST_F(AppSettings, ConfigListIsWrittenWhereItIsRead) {
  TStringList List;
  List.Add("standard");
  List.Add("compact");
  WriteConfigList(List);  // its folders do not exist yet
  TStringList Back;
  ReadConfigList(Back);
  EXPECT_EQ(Back.GetText(), List.GetText());
}

TEST_F(AppSettings, ConvertShortCutsRoundTrip) {
  TStringList Texts;
  Texts.Add("ConvertToHTML=F5");
  Texts.Add("ConvertToPDF=Shift+Ctrl+P");
  Texts.Add("ConvertToRTF=");
  WriteConvertShortCutTexts(Texts);
  EXPECT_EQ(ReadConvertShortCutText("ConvertToHTML"), "F5");
  EXPECT_EQ(ReadConvertShortCutText("ConvertToPDF"), "Shift+Ctrl+P");
  EXPECT_EQ(ReadConvertShortCutText("ConvertToRTF"), "");
}

}  // namespace
