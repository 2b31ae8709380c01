// The main window from its form description: both pages, the editors and
// tabs on screen, a corpus document opened and converted into each of the
// ten formats through the commands (the save dialog answered by the test)
// and every output read back by an outside reader, the command line, and
// the faults the window guards against (a missing scheme, a cancelled save
// question, a pasted document saved without a name).
#include "MainWindowFixture.h"

#include <filesystem>
#include <fstream>
#include "app/AppSettings.h"
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/tabs/cxPC.h"
#include "controls/navpanels/JzNavBar.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Panels.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ShortCuts.h"
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
  // Dark pixels (caption text) inside a control's client rectangle, or
  // inside Part of it.
  auto Ink = [&](TWinControl* C, const TRect* Part = nullptr) {
    const TRect R = Part ? *Part : C->GetClientRect();
    int N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) {
        const TPoint P = C->ClientToScreen({X, Y});
        const COLORREF Px = HeadlessDisplay().ScreenPixel(P.X, P.Y);
        if (GetRValue(Px) + GetGValue(Px) + GetBValue(Px) < 3 * 100) ++N;
      }
    return N;
  };
  // The page control's tabs run along its bottom edge.
  auto Tabs = [&] {
    const TRect R = Main->cxPageControl->GetClientRect();
    const TRect Strip{R.Left, R.Bottom - 20, R.Right, R.Bottom};
    return Ink(Main->cxPageControl, &Strip);
  };
  // The editors: the input editor's client (left half) and the output
  // editor's (right half) are painted white below the top.
  const TPoint In = Main->ScreenToClient(Main->JzInput->ClientToScreen({200, 200}));
  const TPoint OutP = Main->ScreenToClient(Main->JzOutput->ClientToScreen({200, 200}));
  EXPECT_EQ(HeadlessDisplay().WindowPixel(W, In.X, In.Y) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(HeadlessDisplay().WindowPixel(W, OutP.X, OutP.Y) & 0xFFFFFF, 0xFFFFFFu);
  // The bars: the page's own toolbars on their dock sites and the window's
  // toolbar carry captions; the tabs carry both pages' names.
  EXPECT_GT(Ink(Main->DockCtrl_SingleFile), 100) << "Open File, Paste From Clipboard";
  EXPECT_GT(Ink(Main->DockCtrl_Output), 100) << "Save Output, Preview";
  auto* Standard = dynamic_cast<TWinControl*>(Main->dxBarManager->Bars()->GetItem(3)->ItemLinks()->BarControl());
  ASSERT_NE(Standard, nullptr);
  EXPECT_GT(Ink(Standard), 150) << "Convert, Print, Exit";
  const int SingleTabs = Tabs();
  EXPECT_GT(SingleTabs, 60) << "the page tabs";

  Main->cxPageControl->SetActivePageNo(1);
  Main->cxPageControlChange(Main->cxPageControl);
  HeadlessDisplay().ProcessMessages();
  HeadlessDisplay().SaveScreenshot("app-mainwindow-batch.png");
  EXPECT_GT(Ink(Main->DockCtrl_Batch), 100) << "the batch page's toolbar";
  EXPECT_EQ(Ink(Main->ListBox), 0) << "the empty batch list";
  const TPoint List = Main->ScreenToClient(Main->ListBox->ClientToScreen({20, 20}));
  EXPECT_EQ(HeadlessDisplay().WindowPixel(W, List.X, List.Y) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_GT(Tabs(), 60) << "the tabs stay";
}

// A scheme file that cannot be read is reported once; the window still
// opens and the rest of its start-up runs (the convert shortcuts are read
// after the scheme).
TEST_F(MainWindowTest, AMissingSchemeIsShownOnceAndTheStartGoesOn) {
  fs::remove(Dir.Data("html.sch"));
  TStringList Texts;
  Texts.Add("ConvertToPDF=F9");
  WriteConvertShortCutTexts(Texts);
  TDialogScript Script;
  Script.Then(IDOK);
  CreateMainWindow();
  ASSERT_EQ(Script.Asked().size(), 1u);
  EXPECT_NE(Script.Asked()[0].Text.find("html.sch"), AnsiString::npos) << Script.Asked()[0].Text;
  EXPECT_TRUE(IsWindowVisible(Main->Handle()));
  EXPECT_EQ(Main->Item("ConvertToPDF")->GetShortCut(), TextToShortCut("F9"));
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
  ASSERT_NE(Screen, nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  EXPECT_FALSE(fs::exists(Dir.Data("err.txt")));
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

// While a long step waits on the user (Close File's save question pumps
// messages), the commands that would start another conversion or replace
// the document are disabled and do nothing; they come back afterwards.
TEST_F(MainWindowTest, CommandsWaitWhileALongStepRuns) {
  CreateMainWindow();
  Main->SetInputText("typed text");
  struct TInside : TDialogAnswerer {
    TMainForm* Main = nullptr;
    std::vector<TDialogRequest> Asked;
    bool Busy = false, ConvertEnabled = true, PdfEnabled = true, OpenEnabled = true;
    TDialogAnswer Answer(const TDialogRequest& R) override {
      Asked.push_back(R);
      if (Asked.size() == 1) {
        Busy = Main->Busy();
        ConvertEnabled = Main->Item("ExportSingleFile")->GetEnabled();
        PdfEnabled = Main->Item("ConvertToPDF")->GetEnabled();
        OpenEnabled = Main->Item("OpenFile")->GetEnabled();
        // A second Close File or conversion started from here is refused.
        EXPECT_FALSE(Main->CloseThisFile());
        Main->ConvertToPDFClick(nullptr);
      }
      TDialogAnswer A;
      A.Result = IDCANCEL;
      return A;
    }
  } Inside;
  Inside.Main = Main;
  TDialogAnswerer* Previous = SetDialogAnswerer(&Inside);
  const bool Closed = Main->CloseThisFile();
  SetDialogAnswerer(Previous);
  EXPECT_FALSE(Closed);
  ASSERT_EQ(Inside.Asked.size(), 1u) << "nothing inside asked anything";
  EXPECT_TRUE(Inside.Busy);
  EXPECT_FALSE(Inside.ConvertEnabled);
  EXPECT_FALSE(Inside.PdfEnabled);
  EXPECT_FALSE(Inside.OpenEnabled);
  EXPECT_FALSE(Main->Busy());
  EXPECT_TRUE(Main->Item("ExportSingleFile")->GetEnabled());
  EXPECT_TRUE(Main->Item("ConvertToPDF")->GetEnabled());
  EXPECT_FALSE(Main->InputEmpty());
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
