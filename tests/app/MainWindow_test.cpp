// The main window from its form description: both pages, the editors and
// tabs on screen, a corpus document opened and converted into each of the
// ten formats through the commands (the save dialog answered by the test)
// and every output read back by an outside reader, the command line, and
// the faults the window guards against (a missing scheme, a cancelled save
// question, a pasted document saved without a name).
#include "MainWindowFixture.h"

#include <filesystem>
#include <fstream>
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "controls/tabs/cxPC.h"
#include "controls/navpanels/JzNavBar.h"
#include "platform/forms/Panels.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {
namespace fs = std::filesystem;
using sxtest::MainWindowTest;
using sxtest::RunCommand;
}  // namespace

TEST_F(MainWindowTest, OpensWithBothPagesAndTheCommandsOfTheFirst) {
  CreateMainWindow();
  EXPECT_EQ(Main->GetCaption(), "Sourcelux v1.0.0");
  EXPECT_EQ(Main->cxPageControl->GetActivePageNo(), 0);
  EXPECT_EQ(Main->Item("SingleFileMenu")->GetVisible(), ivAlways);
  EXPECT_EQ(Main->Item("MultipleFilesMenu")->GetVisible(), ivNever);
  EXPECT_TRUE(Main->dxBarManager->Bars()->GetItem(5)->GetVisible());
  EXPECT_EQ(Main->Item("IndentCode")->GetVisible(), ivNever);  // the indent group is hidden
  EXPECT_EQ(Main->Item("SyntaxHighlighterCombo")->GetVisible(), ivNever);

  Main->cxPageControl->SetActivePageNo(1);
  Main->cxPageControlChange(Main->cxPageControl);
  EXPECT_EQ(Main->Item("MultipleFilesMenu")->GetVisible(), ivAlways);
  EXPECT_EQ(Main->Item("SingleFileMenu")->GetVisible(), ivNever);
  EXPECT_EQ(Main->Item("EditMenu")->GetVisible(), ivNever);
  EXPECT_FALSE(Main->dxBarManager->Bars()->GetItem(5)->GetVisible());
}

// Both pages as the screen shows them, saved beside the test for a look;
// the checks are pixels that only the right layout gives.
TEST_F(MainWindowTest, PagesShowTheirEditorsListsAndTabs) {
  CreateMainWindow();
  Main->SetBounds(0, 0, 774, 581);
  HeadlessDisplay().ProcessMessages();
  HeadlessDisplay().SaveScreenshot("app-mainwindow-single.png");
  HWND W = Main->Handle();
  // The editors: the input editor's client (left half) and the output
  // editor's (right half) are painted white below the top.
  const TPoint In = Main->ScreenToClient(Main->JzInput->ClientToScreen({200, 200}));
  const TPoint OutP = Main->ScreenToClient(Main->JzOutput->ClientToScreen({200, 200}));
  EXPECT_EQ(HeadlessDisplay().WindowPixel(W, In.X, In.Y) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(HeadlessDisplay().WindowPixel(W, OutP.X, OutP.Y) & 0xFFFFFF, 0xFFFFFFu);
  Main->cxPageControl->SetActivePageNo(1);
  Main->cxPageControlChange(Main->cxPageControl);
  HeadlessDisplay().ProcessMessages();
  HeadlessDisplay().SaveScreenshot("app-mainwindow-batch.png");
}

namespace {
// What an outside reader says about an output file; empty when it accepts
// the file, else its complaint.
std::string ReaderComplaint(const std::string& Format, const std::string& File) {
  const std::string Q = sxtest::ShellQuote(File);
  const std::string Sheets = sxtest::ShellQuote(SX_SOURCE_DIR "/tests/export/sheet/sheet_reader.py");
  const std::string Pil = "/usr/bin/python3 -c 'import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                          "im.verify(); print(im.format)' ";
  std::string Cmd;
  if (Format == "html") Cmd = "xmllint --html --noout " + Q + " 2>&1 | grep -v 'HTML parser error\\|^ \\|\\^' ";
  else if (Format == "rtf") return sxtest::ReadFile(File).rfind("{\\rtf", 0) == 0 ? "" : "not RTF";
  else if (Format == "pdf") Cmd = "qpdf --check " + Q + " >/dev/null 2>&1 || echo qpdf refuses";
  else if (Format == "xls" || Format == "wk1" || Format == "wb1")
    Cmd = "/usr/bin/python3 " + Sheets + " " + Format + " " + Q + " >/dev/null 2>&1 || echo reader refuses";
  else if (Format == "bmp" || Format == "png" || Format == "jpg")
    Cmd = Pil + Q + " >/dev/null 2>&1 || echo PIL refuses";
  else if (Format == "svg") Cmd = "xmllint --noout " + Q + " 2>&1";
  int Status = 0;
  const std::string Out = RunCommand(Cmd, &Status);
  return Out;
}
}  // namespace

// A corpus document opened with Open File and converted by each Convert To
// command; the save dialog gets the name, the outside readers the files.
TEST_F(MainWindowTest, ConvertsAnOpenedDocumentIntoEachFormat) {
  if (!HaveCorpus()) GTEST_SKIP() << "no corpus";
  if (sxtest::SystemTidy().empty()) GTEST_SKIP() << "tidy is not installed";
  CreateMainWindow();
  const std::string Doc = Corpus("abiword_striprtf_french.rtf");
  {
    TDialogScript Script;
    Script.ThenFile(Doc);
    Click("OpenFile");
  }
  EXPECT_EQ(Main->GetCaption(), "Sourcelux v1.0.0 - [" + Main->FCurrentFile + "]");
  EXPECT_EQ(fs::path(Main->FCurrentFile).filename(), "abiword_striprtf_french.rtf");
  struct TCase { const char* Command; const char* Format; TBatchKind Kind; };
  const TCase Cases[] = {
      {"ConvertToRTF", "rtf", bkRTF},       {"ConvertToPDF", "pdf", bkPDF},     {"ConvertToLotus", "wk1", bkLotus},
      {"ConvertToBitmap", "bmp", bkBitmap}, {"ConvertToPNG", "png", bkPNG},     {"ConvertToJPG", "jpg", bkJPG},
      {"ConvertToSVG", "svg", bkSVG},       {"ConvertToQuattroPro", "wb1", bkQuattroPro},
      {"ConvertToExcel", "xls", bkExcel},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Command);
    const std::string Name = Out / (std::string("out.") + C.Format);
    TDialogScript Script;
    Script.ThenFile(Name);
    Click(C.Command);
    EXPECT_EQ(Script.Pending(), 0u) << "the save dialog was not asked";
    std::vector<std::string> Files;
    if (C.Kind == bkRTF) Files.push_back(Name);
    else
      for (const AnsiString& F : Main->EngineOutputFiles(C.Kind)) Files.push_back(F);
    ASSERT_FALSE(Files.empty());
    for (const std::string& F : Files) {
      ASSERT_TRUE(fs::exists(F)) << F;
      EXPECT_EQ(ReaderComplaint(C.Format, F), "") << F;
    }
    EXPECT_FALSE(fs::exists(Dir.Data("Printer/print.rtf")));
  }
  // HTML: into the output editor, then Save Output adds ".html".
  Click("ConvertToHTML");
  EXPECT_FALSE(fs::exists(Dir.Data("err.txt")));
  {
    TDialogScript Script;
    Script.ThenFile(Out / "page");
    Click("SaveOutput");
  }
  const std::string Page = Out / "page.html";
  ASSERT_TRUE(fs::exists(Page));
  EXPECT_NE(sxtest::ReadFile(Page).find("<html"), std::string::npos);
  EXPECT_EQ(ReaderComplaint("html", Page), "");
}

// Without its tidier the HTML road says so at once instead of waiting for
// a report that never comes.
TEST_F(MainWindowTest, HtmlRoadWithoutTheTidierFailsClearly) {
  fs::remove(Dir.Data("tidy"));
  CreateMainWindow();
  Main->LoadDocument(SX_SOURCE_DIR "/data/tdy_config.txt");
  try {
    Main->ConvertToHTMLClick(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find("tidier could not be started"), AnsiString::npos) << E.Message();
  }
  EXPECT_FALSE(Main->Busy());
  EXPECT_TRUE(Main->Item("ExportSingleFile")->GetEnabled());
}

// The command line "x Convert FILE" loads the file and converts it with
// the default format; an "IDE" token or a missing file does nothing.
TEST_F(MainWindowTest, CommandLineConvertsWithTheDefaultFormat) {
  TGeneralOptions O;
  O.DefaultExportFormat = efPDF;
  WriteGeneralOptions(O);
  CreateMainWindow();
  const std::string Doc = Out / "note.txt";
  { std::ofstream(Doc) << "A short note\n"; }
  Main->HandleCommandLine("IDE", "Convert", Doc);
  EXPECT_EQ(Main->FCurrentFile, "");
  Main->HandleCommandLine("x", "Convert", Out / "missing.rtf");
  EXPECT_EQ(Main->FCurrentFile, "");
  TDialogScript Script;
  Script.ThenFile(Out / "note.pdf");
  Main->HandleCommandLine("x", "Convert", Doc);
  EXPECT_EQ(Main->FCurrentFile, Doc);
  EXPECT_TRUE(fs::exists(Out / "note.pdf"));
  EXPECT_NE(RunCommand("pdftotext " + sxtest::ShellQuote(Out / "note.pdf") + " -").find("short note"),
            std::string::npos);
}

// Close File's Cancel keeps the text, also for Paste From Clipboard; a
// pasted document saved with Yes asks for a name first.
TEST_F(MainWindowTest, CloseFileCancelKeepsTheTextAndAPastedDocumentGetsAName) {
  CreateMainWindow();
  Main->SetInputText("typed text");
  {
    TDialogScript Script;
    Script.Then(IDCANCEL);
    EXPECT_FALSE(Main->CloseThisFile());
  }
  EXPECT_FALSE(Main->InputEmpty());
  {
    TDialogScript Script;
    Script.Then(IDYES).ThenFile(Out / "kept.txt");
    EXPECT_TRUE(Main->CloseThisFile());
  }
  EXPECT_TRUE(Main->InputEmpty());
  EXPECT_NE(sxtest::ReadFile(Out / "kept.txt").find("typed text"), std::string::npos);
}
