// The main window's parts from other units, as the window uses them: the
// tray icon and the three global hot keys after start (and a hot-key
// change the system refuses), files dropped on the batch list, the preview
// page showing the converted page, and the splitter between the editors.
#include "MainWindowFixture.h"

#include <filesystem>
#include <fstream>

#include "app/Options.h"
#include "app/browser/EmbeddedWB.h"
#include "app/desktop/CoolTrayIcon.h"
#include "app/desktop/HotKeyManager.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/statusbar/dxStatusBar.h"
#include "controls/navpanels/JzNavBar.h"
#include "controls/splitter/cxSplitter.h"
#include "controls/tabs/cxPC.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DragDrop.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/shell/ShellData.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/HotKeys.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/Timers.h"
#include "platform/win/Tray.h"
#include "platform/win/Win.h"

namespace {
namespace fs = std::filesystem;
using sxtest::MainWindowTest;

class MainWindowPartsTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    SetTrayHost(nullptr);
    HotKeyUnitEnd();
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    HotKeyUnitEnd();
    SetTrayHost(nullptr);
  }
  THeadlessDisplay& D() { return HeadlessDisplay(); }
  void Pump() { D().ProcessMessages(); }
  void Press(std::initializer_list<WORD> Modifiers, WORD Key) {
    for (WORD M : Modifiers) D().KeyDown(M);
    D().KeyPress(Key);
    for (WORD M : Modifiers) D().KeyUp(M);
    Pump();
  }
  bool InFront() const {
    return IsWindowVisible(Main->Handle()) && !IsIconic(Main->Handle()) && GetForegroundWindow() == Main->Handle();
  }
  // The default hot keys ("Ctrl+$", "Ctrl+*", "Alt+*") need a keyboard
  // with unshifted "$" and "*" keys: the French one has both.
  void FrenchKeyboard() { ASSERT_TRUE(LoadKeyboardLayoutA("0000040C", KLF_ACTIVATE)); }
};

}  // namespace

TEST_F(MainWindowPartsTest, TrayIconAndGlobalHotKeysWorkAfterStart) {
  FrenchKeyboard();
  CreateMainWindow();
  ASSERT_TRUE(InFront());
  EXPECT_EQ(Main->HotKeyManager->HotKeyCount(), 3);
  EXPECT_NE(Main->FActivationHotKeyId, 0);
  EXPECT_NE(Main->FIndentHotKeyId, 0);
  EXPECT_NE(Main->FConvertHotKeyId, 0);
  EXPECT_TRUE(TrayIcons().empty()) << "no icon while the window shows";

  // Minimize To SystemTray (Esc), then the activation hot key brings the
  // window back; the icon stays.
  Main->MinimizeToSystemTrayClick(nullptr);
  Pump();
  EXPECT_FALSE(IsWindowVisible(Main->Handle()));
  ASSERT_EQ(TrayIcons().size(), 1u);
  Press({VK_CONTROL}, VK_OEM_1);  // Ctrl with the key that types "$"
  EXPECT_TRUE(InFront());
  EXPECT_EQ(TrayIcons().size(), 1u);

  // The indent hot key closes the document (nothing to save: unmodified).
  Main->LoadDocument(SX_SOURCE_DIR "/data/sample.rtf");
  ASSERT_FALSE(Main->InputEmpty());
  Press({VK_CONTROL}, VK_OEM_5);  // Ctrl with "*"
  EXPECT_TRUE(Main->InputEmpty());
  EXPECT_EQ(Main->GetCaption(), "Sourcelux v1.0.0");

  // Minimizing by the title bar hides into the tray too; a click on the
  // icon restores the window and takes the icon away.
  UseVirtualClock();
  SendMessageA(Main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(Main->Handle()));
  ASSERT_EQ(TrayIcons().size(), 1u);
  const TTrayIcon Icon = TrayIcons()[0];
  ASSERT_TRUE(HeadlessTray().Click(Icon.Wnd, Icon.Id));
  for (DWORD T = 0; T < GetDoubleClickTime() + 20; T += 10) {
    AdvanceClock(10);
    Pump();
  }
  UseRealClock();
  EXPECT_TRUE(InFront());
  EXPECT_TRUE(TrayIcons().empty());
}

// Options' OK changes the activation hot key at once; a combination that
// another program holds is refused and the old key keeps working.
TEST_F(MainWindowPartsTest, ARefusedHotKeyChangeKeepsTheOldKey) {
  CreateMainWindow();
  Main->FActivationHotKeyId = Main->ReplaceGlobalHotKey(Main->FActivationHotKeyId, TextToHotKey("Ctrl+Alt+F9", true));
  ASSERT_NE(Main->FActivationHotKeyId, 0);
  // Another window holds Ctrl+Alt+F10.
  TForm Other(nullptr);
  ASSERT_TRUE(RegisterHotKey(Other.Handle(), 7, MOD_CONTROL | MOD_ALT, VK_F10));

  struct TCase { const char* Text; bool Taken; };
  const TCase Cases[] = {{"Ctrl+Alt+F10", true}, {"", true}, {"Ctrl+Alt+F11", false}};
  AnsiString Working = "Ctrl+Alt+F9";
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    {
      TOptionsDlg Dialog(Main);
      Dialog.HotKey3->SetText(C.Text);
      ASSERT_TRUE(Dialog.ApplyAndSave());
    }
    EXPECT_NE(Main->FActivationHotKeyId, 0) << "an id to press";
    if (!C.Taken) Working = C.Text;
    // The key in force shows the window from the tray.
    Main->MinimizeToSystemTrayClick(nullptr);
    Pump();
    Word Mods = 0, Key = 0;
    SeparateHotKey(TextToHotKey(Working, true), Mods, Key);
    Press({VK_CONTROL, VK_MENU}, Key);
    EXPECT_TRUE(InFront()) << "the key in force: " << Working;
  }
  // The old F9 is gone once F11 took its place.
  Main->MinimizeToSystemTrayClick(nullptr);
  Pump();
  Press({VK_CONTROL, VK_MENU}, VK_F9);
  EXPECT_FALSE(IsWindowVisible(Main->Handle()));
  UnregisterHotKey(Other.Handle(), 7);
}

// Files dropped on the batch list from another program: the documents
// among them are added once each; folders and other files are left out.
TEST_F(MainWindowPartsTest, FilesDroppedOnTheBatchListAreAdded) {
  CreateMainWindow();
  Main->cxPageControl->SetActivePageNo(1);
  Main->cxPageControlChange(nullptr);
  Pump();
  for (const char* N : {"a.rtf", "B.RTF", "notes.txt"}) std::ofstream(Out / N) << "{\\rtf1 x}";
  fs::create_directories(Out / "folder.rtf");
  struct TCase { std::vector<std::string> Dropped; std::vector<std::string> Listed; };
  const TCase Cases[] = {
      {{Out / "a.rtf", Out / "notes.txt", Out / "folder.rtf"}, {Out / "a.rtf"}},
      {{Out / "B.RTF", Out / "a.rtf"}, {Out / "a.rtf", Out / "B.RTF"}},
  };
  for (const TCase& C : Cases) {
    TIntfPtr<IDataObject> Data = CreateShellDataObject(C.Dropped);
    // The press starts on the status bar, where it does nothing else.
    const TPoint From = Main->dxStatusBar->ClientToScreen({100, 8});
    const TPoint At = Main->ListBox->ClientToScreen({60, 60});
    D().MouseMove(From.X, From.Y);
    D().MouseDown(From.X, From.Y);
    Pump();
    D().MouseMove(At.X + 3, At.Y);
    D().MouseMove(At.X, At.Y);
    D().MouseUp(At.X, At.Y);
    auto* Source = new TDropSource(MK_LBUTTON);
    TIntfPtr<IDropSource> Hold(static_cast<IDropSource*>(Source));
    DWORD Effect = 0;
    DoDragDrop(Data.Get(), Source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &Effect);
    Pump();
    std::vector<std::string> Listed;
    for (Integer I = 0; I < Main->ListBox->GetItems()->GetCount(); ++I)
      Listed.push_back(Main->ListBox->GetItems()->GetStrings(I));
    EXPECT_EQ(Listed, C.Listed);
    EXPECT_TRUE(Main->FProjectModified);
  }
}

// The preview page converts the document and shows the tidied page.
TEST_F(MainWindowPartsTest, PreviewPageShowsTheConvertedPage) {
  if (sxtest::SystemTidy().empty()) GTEST_SKIP() << "tidy is not installed";
  CreateMainWindow();
  // One word a line: the exporter joins the words of a line with fixed
  // spaces, so the page's runs are whole lines.
  Main->SetInputText("Quarterly\r\nfigures");
  ASSERT_NE(Main->EmbeddedWB, nullptr);
  Main->Tab_Output->SetActivePageNo(1);
  Pump();
  EXPECT_FALSE(Main->InputEmpty());
  EXPECT_TRUE(fs::exists(Dir.Data("tdy.html")));
  EXPECT_EQ(WideToAnsi(Main->EmbeddedWB->GetLocationURL()).find("tdy.html") != std::string::npos, true)
      << WideToAnsi(Main->EmbeddedWB->GetLocationURL());
  Main->SetBounds(0, 0, 774, 581);
  Pump();
  D().SaveScreenshot("app-mainwindow-preview.png");
  EXPECT_FALSE(Main->EmbeddedWB->WordBounds("figures").IsEmpty()) << sxtest::ReadFile(Dir.Data("tdy.html"));
}

// The splitter between the editors moves the input panel's edge.
TEST_F(MainWindowPartsTest, SplitterBetweenTheEditorsMoves) {
  CreateMainWindow();
  Main->SetBounds(0, 0, 774, 581);
  Pump();
  TcxSplitter* S = Main->cxSplitter;
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->GetControl(), Main->JzInput);
  const Integer Before = Main->JzInput->GetWidth();
  const TPoint Press = S->ClientToScreen({4, 20});  // above the hot zone
  D().MouseMove(Press.X, Press.Y);
  D().MouseDown(Press.X, Press.Y);
  D().MouseMove(Press.X + 30, Press.Y);
  D().MouseMove(Press.X + 60, Press.Y);
  D().MouseUp(Press.X + 60, Press.Y);
  Pump();
  EXPECT_EQ(Main->JzInput->GetWidth(), Before + 60);
  EXPECT_EQ(S->GetLeft(), Main->JzInput->GetLeft() + Before + 60);
  EXPECT_EQ(Main->JzOutput->GetLeft(), S->GetLeft() + S->GetWidth()) << "the output panel fills the rest";
}

// Recent Projects: the list item of the hidden project commands (on the
// Open Project drop-down), bounded to 16 entries; a missing entry may be
// dropped from it, and Clear History empties it after a Yes.
TEST_F(MainWindowPartsTest, RecentProjectsDropMissingEntriesAndClearOnYes) {
  CreateMainWindow();
  auto* List = dynamic_cast<TdxBarMRUListItem*>(Main->Item("MRUList"));
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(List->GetMaxItemCount(), 16);
  EXPECT_EQ(Main->Popup_MRU->ItemLinks()->Count(), 2);
  const std::string Kept = Out / "kept.rtf";
  std::ofstream(Kept) << "{\\rtf1 x}";
  for (const std::string& E : {Out / "gone-a.prj", Out / "gone-b.prj", Kept}) List->Items()->Add(E);

  struct TCase { Integer Index; int Answer; Integer Left; };
  const TCase Cases[] = {{0, IDNO, 3}, {0, IDYES, 2}};  // No keeps a missing entry, Yes drops it
  for (const TCase& C : Cases) {
    TDialogScript Script;
    Script.Then(C.Answer);
    List->SetItemIndex(C.Index);
    Main->MRUListClick(List);
    EXPECT_EQ(Script.Pending(), 0u);
    EXPECT_EQ(List->Items()->GetCount(), C.Left);
  }
  EXPECT_EQ(List->Items()->GetStrings(0), Out / "gone-b.prj");
  {
    TDialogScript Script;
    Script.Then(IDNO);
    Main->ClearHistoryClick(nullptr);
  }
  EXPECT_EQ(List->Items()->GetCount(), 2);
  {
    TDialogScript Script;
    Script.Then(IDYES);
    Main->ClearHistoryClick(nullptr);
  }
  EXPECT_EQ(List->Items()->GetCount(), 0);
}
