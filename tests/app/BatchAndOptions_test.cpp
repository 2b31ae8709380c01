// The batch page's conversion (five documents, one whose output cannot be
// written: the other four are converted and the one is reported) and the
// options dialog's round trip through "Options.ini" and "HotKeys.ini".
#include "MainWindowFixture.h"

#include <filesystem>
#include <fstream>
#include "app/Lbox.h"
#include "app/Options.h"
#include "bars/items/dxBarItem.h"
#include "controls/tabs/cxPC.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {
namespace fs = std::filesystem;
using sxtest::MainWindowTest;

TEST_F(MainWindowTest, BatchConvertsTheGoodFilesAndReportsTheBrokenOne) {
  CreateMainWindow();
  TStringList List;
  for (const char* Name : {"a", "b", "broken", "c", "d"}) {
    const std::string File = Out / (std::string(Name) + ".rtf");
    std::ofstream(File) << "{\\rtf1\\ansi {\\b Batch} document " << Name << ".\\par}";
    List.Add(File);
  }
  // Its output name is taken by a folder: that file cannot be written.
  fs::create_directories(Out / "broken.pdf");
  List.Add(Out / "notes.txt");  // not a batch file: never listed
  Main->AddFilesFromList(&List);
  ASSERT_EQ(Main->ListBox->GetItems()->GetCount(), 5);
  EXPECT_TRUE(Main->FProjectModified);

  Main->cxPageControl->SetActivePageNo(1);
  Main->cxPageControlChange(Main->cxPageControl);
  TDialogScript Script;
  Script.Then(IDOK);  // the report of the file that failed
  Click("ConvertToPDF");
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_NE(Script.Asked()[0].Text.find("broken.rtf"), AnsiString::npos) << Script.Asked()[0].Text;
  for (const char* Name : {"a", "b", "c", "d"}) {
    SCOPED_TRACE(Name);
    const std::string Pdf = Out / (std::string(Name) + ".pdf");
    ASSERT_TRUE(fs::is_regular_file(Pdf));
    EXPECT_NE(sxtest::RunCommand("pdftotext " + sxtest::ShellQuote(Pdf) + " -").find("document"),
              std::string::npos);
    // The batch editor keeps the imported formats: the bold word is bold.
    EXPECT_NE(sxtest::RunCommand("pdffonts " + sxtest::ShellQuote(Pdf)).find(",Bold"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(Dir.Data("Printer/print.rtf")));
  EXPECT_FALSE(Main->Busy());
  ASSERT_NE(Screen, nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault) << "the hourglass goes after a failed file too";
}

class OptionsTest : public MainWindowTest {
protected:
  std::unique_ptr<TOptionsDlg> Open() { return std::make_unique<TOptionsDlg>(Main); }
};

TEST_F(OptionsTest, OkWritesBothFilesAndTheDialogReadsThemBack) {
  CreateMainWindow();
  {
    auto D = Open();
    EXPECT_EQ(D->Edit_Width->GetText(), "600");
    EXPECT_EQ(D->HotKey3->GetText(), "Ctrl+$");
    D->cbMinimized->SetChecked(true);
    D->HotKey3->SetText("Shift+Ctrl+F9");
    D->Edit_Width->SetText("612");
    D->Edit_Height->SetText("792");
    D->cbSetupDialog->SetChecked(true);
    D->cbDefaultExportFormat->SetItemIndex(efSVG);
    D->ListBox1->SetItemIndex(1);  // PDF
    D->HotKey4->SetText("F9");
    D->AssignHKBtnClick(nullptr);
    EXPECT_EQ(Main->Item("ConvertToPDF")->GetShortCut(), 0) << "nothing applies before OK";
    ASSERT_TRUE(D->ApplyAndSave());
  }
  EXPECT_EQ(Main->Item("ConvertToPDF")->GetShortCut(), TextToShortCut("F9"));
  TIniFile Keys(Dir.Data("HotKeys.ini"));
  EXPECT_EQ(Keys.ReadString("HotKeys", "ConvertToPDF", "?"), "F9");
  EXPECT_EQ(Keys.ReadString("HotKeys", "ConvertToHTML", "?"), "F5");
  const TGeneralOptions O = ReadGeneralOptions();
  EXPECT_TRUE(O.StartMinimized);
  EXPECT_EQ(O.ActivationHotKey, "Shift+Ctrl+F9");
  EXPECT_EQ(O.PdfPageWidth, 612);
  EXPECT_EQ(O.PdfPageHeight, 792);
  EXPECT_TRUE(O.ShowSetupDialog);
  EXPECT_EQ(O.DefaultExportFormat, efSVG);
  auto Again = Open();
  EXPECT_TRUE(Again->cbMinimized->GetChecked());
  EXPECT_EQ(Again->HotKey3->GetText(), "Shift+Ctrl+F9");
  EXPECT_EQ(Again->Edit_Width->GetText(), "612");
  EXPECT_EQ(Again->cbDefaultExportFormat->GetItemIndex(), efSVG);
}

TEST_F(OptionsTest, AnUnreadablePageSizeKeepsTheDialogOpenAndWritesNothing) {
  CreateMainWindow();
  auto D = Open();
  D->Edit_Width->SetText("wide");
  TDialogScript Script;
  Script.Then(IDOK);
  D->OKBtnClick(nullptr);
  EXPECT_EQ(D->GetModalResult(), mrNone);
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_NE(Script.Asked()[0].Text.find("PDF Page Width"), AnsiString::npos);
  EXPECT_FALSE(fs::exists(Dir.Data("Options.ini")));
}

TEST_F(OptionsTest, AssignThenCancelChangesNoShortcut) {
  CreateMainWindow();
  {
    auto D = Open();
    D->ListBox1->SetItemIndex(1);
    D->HotKey4->SetText("F9");
    D->AssignHKBtnClick(nullptr);
  }  // closed without OK
  EXPECT_EQ(Main->Item("ConvertToPDF")->GetShortCut(), 0);
  EXPECT_FALSE(fs::exists(Dir.Data("HotKeys.ini")));
}

// OK whose files cannot be written shows the error and keeps the dialog
// open; no key changes, since nothing was stored.
TEST_F(OptionsTest, AFailedWriteKeepsTheDialogOpenAndChangesNoKey) {
  CreateMainWindow();
  fs::create_directories(std::string(ConfigListFileName()));  // a folder where the list file goes
  auto D = Open();
  D->ListBox1->SetItemIndex(1);  // PDF
  D->HotKey4->SetText("F9");
  D->AssignHKBtnClick(nullptr);
  TDialogScript Script;
  Script.Then(IDOK);
  D->OKBtnClick(nullptr);
  EXPECT_EQ(Script.Asked().size(), 1u) << "the error is shown";
  EXPECT_EQ(D->GetModalResult(), mrNone);
  EXPECT_EQ(Main->Item("ConvertToPDF")->GetShortCut(), 0);
  EXPECT_FALSE(fs::exists(Dir.Data("HotKeys.ini")));
}

// Set As Default makes any entry the default, the first one included and
// also before any default was stored.
TEST_F(OptionsTest, SetAsDefaultTakesAnyEntry) {
  CreateMainWindow();
  TStringList List;
  for (const char* Name : {"compact", "standard", "wide"}) List.Add(Name);
  WriteConfigList(List);
  auto D = Open();
  ASSERT_EQ(D->ListBox->GetItems()->GetCount(), 3);
  for (Integer I : {0, 2, 1, 0}) {
    D->ListBox->SetItemIndex(I);
    D->SetAsDefBtnClick(nullptr);
    EXPECT_EQ(ReadDefaultConfig(), List.GetStrings(I));
  }
}

}  // namespace
