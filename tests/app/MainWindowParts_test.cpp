// The main window's parts from other units, as the window uses them: the
// tray icon and the three global hot keys after start (and a hot-key
// change the system refuses), files dropped on the batch list, the preview
// page showing the converted page, and the splitter between the editors.
#include "MainWindowFixture.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Options.h"
#include "app/myBarItems.h"
#include "app/browser/EmbeddedWB.h"
#include "app/desktop/CoolTrayIcon.h"
#include "app/desktop/HotKeyManager.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/statusbar/dxStatusBar.h"
#include "controls/navpanels/JzNavBar.h"
#include "controls/splitter/cxSplitter.h"
#include "controls/tabs/cxPC.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/HotKey.h"
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
#include "support/ScopedEnv.h"
#include "support/FormInput.h"
#include "support/ScratchDir.h"

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
      Dialog.HotKey3->SetHotKey(TShortCut(TextToHotKey(C.Text, true)));
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
// What the form description alone places: the main menu's sub-menus with
// their entries and groups, the page toolbars in their dock sites (shown
// there, not in the form's own docks), the status bar's two panels and the
// drop target.
TEST_F(MainWindowPartsTest, DescriptionPlacesMenusDockSitesPanelsAndDropTarget) {
  CreateMainWindow();
  struct TMenu { const char* Name; std::vector<std::string> Entries; };  // "|" starts a group
  const TMenu Menus[] = {
      {"FileMenu", {"ExportSingleFile", "IndentCode", "|PageSetup", "PrintPreview", "Print", "ToogleFocus",
                    "|MinimizeToSystemTray", "CloseThisFile", "ExitBtn"}},
      {"EditMenu", {"Undo", "Redo", "|Cut", "CopyBtn", "Paste", "|SelectAll", "|Delete", "|Find", "FindNext", "|Replace"}},
      {"SingleFileMenu", {"OpenFile", "PasteFromClipBoard", "|SaveOutput"}},
      {"MultipleFilesMenu", {"AddFile", "DeleteFileBtn", "|EditSelectedItem"}},
      {"ToolsMenu", {"Options", "EditorOptions", "ConfigureSourceCodeFormatter"}},
      {"HelpMenu", {"HomePage", "CheckForUpdates", "TechnicalSupport", "|AboutBtn"}},
  };
  for (const TMenu& M : Menus) {
    SCOPED_TRACE(M.Name);
    auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(Main->Item(M.Name));
    ASSERT_NE(Sub, nullptr);
    std::vector<std::string> Entries;
    for (Integer I = 0; I < Sub->ItemLinks()->Count(); ++I) {
      TdxBarItemLink* L = Sub->ItemLinks()->GetItem(I);
      ASSERT_NE(L->GetItem(), nullptr);
      Entries.push_back((L->GetBeginGroup() ? "|" : "") + L->GetItem()->GetName());
    }
    EXPECT_EQ(Entries, M.Entries);
  }
  struct TSite { Integer Bar; TdxBarDockControl* Site; };
  for (const TSite& S : {TSite{1, Main->DockCtrl_Batch}, TSite{2, Main->DockCtrl_SingleFile},
                         TSite{4, Main->DockCtrl_Output}}) {
    TdxBar* B = Main->dxBarManager->Bars()->GetItem(S.Bar);
    SCOPED_TRACE(B->GetCaption());
    EXPECT_EQ(B->GetDockControl(), S.Site);
    EXPECT_TRUE(B->GetVisible());
  }
  // The single-document page's toolbars show inside their panels.
  EXPECT_GT(Main->DockCtrl_SingleFile->GetHeight(), 0);
  EXPECT_GT(Main->DockCtrl_Output->GetHeight(), 0);

  TdxStatusBarPanels* Panels = Main->dxStatusBar->Panels();
  ASSERT_EQ(Panels->Count(), 2);
  auto* Text = dynamic_cast<TdxStatusBarTextPanelStyle*>(Panels->Item(0)->PanelStyle());
  ASSERT_NE(Text, nullptr);
  EXPECT_TRUE(Text->GetAutoHint());
  EXPECT_EQ(Panels->Item(0)->GetText(), "Lumivex");
  EXPECT_FALSE(Panels->Item(0)->GetFixed());
  EXPECT_NE(dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(Panels->Item(1)->PanelStyle()), nullptr);
  EXPECT_EQ(Main->dxStatusBar->GetPaintStyle(), stpsOffice11);
  // The drop target, read with the batch list as its target, is what
  // FilesDroppedOnTheBatchListAreAdded drops on.
  EXPECT_NE(Main->DropFileTarget, nullptr);
}

// The program's own item controls on the Standard Toolbar: the bold
// button is wider than a plain button of the same caption and inks more of
// it; the password edit's window masks what is typed, follows a mask
// change at once and starts from the real text, and the text drawn
// without a window is masked.
TEST_F(MainWindowPartsTest, BoldButtonAndPasswordEditControls) {
  CreateMainWindow();
  Main->SetBounds(0, 0, 900, 581);
  TdxBar* Standard = Main->dxBarManager->Bars()->GetItem(3);
  auto* Plain = new TdxBarButton(Main);
  Plain->SetName("PlainConvert");
  Plain->SetCaption("Con&vert");
  auto* Secret = new TmyBarPasswordEdit(Main);
  Secret->SetName("Secret");
  Secret->SetText("hunter2");
  Secret->SetPasswordChar('*');
  TdxBarItemLink* PlainLink = Standard->ItemLinks()->AddItem(Plain);
  TdxBarItemLink* SecretLink = Standard->ItemLinks()->AddItem(Secret);
  Pump();
  TdxBarItemLink* BoldLink = nullptr;
  for (Integer I = 0; I < Standard->ItemLinks()->Count(); ++I)
    if (Standard->ItemLinks()->GetItem(I)->GetItem() == Main->Item("ExportSingleFile"))
      BoldLink = Standard->ItemLinks()->GetItem(I);
  ASSERT_NE(BoldLink, nullptr);
  // The same caption and drop-down arrow on both.
  Plain->SetButtonStyle(bsDropDown);
  Plain->SetDropDownMenu(Main->Popup_Convert);
  Pump();
  ASSERT_TRUE(dynamic_cast<TdxBarButtonControl*>(PlainLink->Control())->IsDropDown());
  auto* Bold = dynamic_cast<TmyBarBoldButtonControl*>(BoldLink->Control());
  ASSERT_NE(Bold, nullptr) << "the bold button gets its own control";
  ASSERT_NE(PlainLink->Control(), nullptr);
  EXPECT_GT(Bold->GetWidth(), PlainLink->Control()->GetWidth());
  // Ink of each caption: dark pixels in its rectangle on the bar window.
  auto Ink = [&](TdxBarItemControl* C) {
    TCustomdxBarControl* W = C->Parent();
    const TRect R = W->GetLinkRect(C);
    int N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) {
        const TPoint P = W->ClientToScreen({X, Y});
        const COLORREF Px = D().ScreenPixel(P.X, P.Y);
        if (GetRValue(Px) + GetGValue(Px) + GetBValue(Px) < 3 * 100) ++N;
      }
    return N;
  };
  EXPECT_GT(Ink(Bold), Ink(PlainLink->Control()) + 10) << "the bold caption is drawn bold";
  D().SaveScreenshot("app-mybaritems.png");

  auto* Edit = dynamic_cast<TmyBarPasswordEditControl*>(SecretLink->Control());
  ASSERT_NE(Edit, nullptr) << "the password edit gets its own control";
  Edit->StartEditing();
  Pump();
  ASSERT_NE(Edit->EditWindow(), nullptr);
  EXPECT_EQ(Edit->EditWindow()->GetText(), "hunter2") << "the window starts from the real text";
  EXPECT_EQ(Edit->EditWindow()->GetPasswordChar(), '*');
  for (char Mask : {'#', '\0', '*'}) {
    Secret->SetPasswordChar(Mask);
    EXPECT_EQ(Edit->EditWindow()->GetPasswordChar(), Mask) << "an open window follows the mask at once";
  }
  Edit->StopEditing(true);
  Pump();
  EXPECT_EQ(Secret->GetText(), "hunter2");
  EXPECT_EQ(Secret->DisplayText(Secret->GetText()), "*******");
}

// The hyperlink's control: its caption in the item's colour, underlined
// unless switched off, embossed in the system's colours when disabled,
// after the glyph column in a menu, turned top to bottom on a toolbar docked
// at the side. A click opens the address through the shell, runs OnClick
// instead when one is set, and does nothing without either.
TEST_F(MainWindowPartsTest, HyperLinkControlDrawsItsLinkAndOpensIt) {
  sxtest::TScratchDir Bin("hyperlink-opener");
  const std::string Log = Bin / "opener.log";
  {
    std::ofstream(Bin / "xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << Log << "'\n";
    fs::permissions(Bin / "xdg-open", fs::perms::owner_all);
  }
  const char* OldPath = std::getenv("PATH");
  sxtest::TEnvVar Path("PATH", Bin.Path().string() + ":" + (OldPath ? OldPath : "/usr/bin:/bin"));
  CreateMainWindow();
  Main->SetBounds(0, 0, 900, 581);
  TdxBar* Standard = Main->dxBarManager->Bars()->GetItem(3);
  auto* Link = new TmyBarHyperLink(Main);
  Link->SetName("ProjectSite");
  Link->SetCaption("Home page");
  EXPECT_EQ(Link->GetColor(), TColor(0xFF0000));
  EXPECT_TRUE(Link->GetUnderline());
  TdxBarItemLink* OnBar = Standard->ItemLinks()->AddItem(Link);
  Pump();
  auto* C = dynamic_cast<TmyBarHyperLinkControl*>(OnBar->Control());
  ASSERT_NE(C, nullptr) << "the hyperlink gets its own control";

  // What a control's rectangle shows: the bounds of the pixels in the
  // link's colour, the longest row run of them, and the embossing colours.
  struct TInk {
    int Blue = 0, LongestRun = 0, Shadow = 0, Highlight = 0;
    TRect Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  };
  auto Near = [](COLORREF A, COLORREF B) {
    return std::abs(int(GetRValue(A)) - int(GetRValue(B))) < 12 && std::abs(int(GetGValue(A)) - int(GetGValue(B))) < 12 &&
           std::abs(int(GetBValue(A)) - int(GetBValue(B))) < 12;
  };
  auto Look = [&](TdxBarItemControl* Control) {
    TInk Ink;
    TCustomdxBarControl* W = Control->Parent();
    const TRect R = W->GetLinkRect(Control);
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
      int Run = 0;
      for (Integer X = R.Left; X < R.Right; ++X) {
        const TPoint P = W->ClientToScreen({X, Y});
        const COLORREF Px = D().ScreenPixel(P.X, P.Y);
        const bool Blue = int(GetBValue(Px)) - std::max(int(GetRValue(Px)), int(GetGValue(Px))) > 80;
        Run = Blue ? Run + 1 : 0;
        Ink.LongestRun = std::max(Ink.LongestRun, Run);
        if (Blue) {
          ++Ink.Blue;
          Ink.Box = {std::min(Ink.Box.Left, X), std::min(Ink.Box.Top, Y), std::max(Ink.Box.Right, X + 1),
                     std::max(Ink.Box.Bottom, Y + 1)};
        }
        if (Near(Px, GetSysColor(COLOR_BTNSHADOW))) ++Ink.Shadow;
        if (Near(Px, GetSysColor(COLOR_BTNHIGHLIGHT))) ++Ink.Highlight;
      }
    }
    return Ink;
  };
  const TRect BarRect = C->Parent()->GetLinkRect(C);
  EXPECT_GT(C->GetWidth(), C->GetHeight()) << "a caption on a horizontal bar lies along it";
  TInk Ink = Look(C);
  ASSERT_GT(Ink.Blue, 40) << "the caption is drawn in the link's colour";
  EXPECT_GT(Ink.LongestRun, (Ink.Box.Right - Ink.Box.Left) * 3 / 4) << "underlined";
  EXPECT_LE(std::abs((Ink.Box.Left - BarRect.Left) - (BarRect.Right - Ink.Box.Right)), 2) << "centred along the bar";
  D().SaveScreenshot("app-hyperlink-bar.png");

  Link->SetUnderline(false);
  Pump();
  Ink = Look(C);
  EXPECT_GT(Ink.Blue, 40);
  EXPECT_LT(Ink.LongestRun, (Ink.Box.Right - Ink.Box.Left) / 3) << "no underline";

  Link->SetColor(clRed);
  Pump();
  EXPECT_EQ(Look(C).Blue, 0) << "a new colour repaints the control";
  Link->SetColor(TColor(0xFF0000));
  Link->SetEnabled(false);
  Pump();
  Ink = Look(C);
  EXPECT_EQ(Ink.Blue, 0) << "a disabled link is not drawn in its colour";
  EXPECT_GT(Ink.Shadow, 20) << "but in the button shadow colour";
  EXPECT_GT(Ink.Highlight, 20) << "over its copy in the highlight colour";
  D().SaveScreenshot("app-hyperlink-disabled.png");
  Link->SetEnabled(true);
  Link->SetUnderline(true);

  // In a menu the caption starts after the glyph column.
  auto* Menu = new TdxBarPopupMenu(Main);
  Menu->ItemLinks()->AddItem(Link);
  Menu->PopupFromItem(300, 200, 0, 0, false, nullptr, true);
  Pump();
  ASSERT_NE(Menu->GetBarControl(), nullptr);
  TdxBarItemLink* InMenu = Menu->ItemLinks()->GetItem(0);
  auto* M = dynamic_cast<TmyBarHyperLinkControl*>(InMenu->Control());
  ASSERT_NE(M, nullptr);
  EXPECT_GT(M->GetWidth(), C->GetWidth()) << "a menu row has room for the glyph column";
  const TRect MenuRect = M->Parent()->GetLinkRect(M);
  Ink = Look(M);
  ASSERT_GT(Ink.Blue, 40);
  EXPECT_GE(Ink.Box.Left, MenuRect.Left + MenuRect.Height() + 10);
  D().SaveScreenshot("app-hyperlink-menu.png");
  Menu->GetBarControl()->HideAll();
  Pump();

  // Docked at the side, the caption runs down the bar.
  Standard->SetVisible(false);
  Standard->SetDockingStyle(dsLeft);
  Standard->SetVisible(true);
  Pump();
  ASSERT_TRUE(Standard->ItemLinks()->BarControl()->IsVertical());
  C = dynamic_cast<TmyBarHyperLinkControl*>(OnBar->Control());
  ASSERT_NE(C, nullptr);
  EXPECT_GT(C->GetHeight(), C->GetWidth()) << "width and height swap on a turned bar";
  Ink = Look(C);
  ASSERT_GT(Ink.Blue, 40);
  EXPECT_GT(Ink.Box.Bottom - Ink.Box.Top, 2 * (Ink.Box.Right - Ink.Box.Left)) << "the caption runs down";
  const TRect SideRect = C->Parent()->GetLinkRect(C);
  EXPECT_GE(Ink.Box.Left, SideRect.Left);
  EXPECT_LE(Ink.Box.Right, SideRect.Right);
  D().SaveScreenshot("app-hyperlink-side.png");
  Standard->SetVisible(false);
  Standard->SetDockingStyle(dsTop);
  Standard->SetVisible(true);
  Pump();

  // Clicks: nothing without an address, the shell with one, OnClick first.
  Link->Click();
  EXPECT_FALSE(fs::exists(Log)) << "no address: nothing opens";
  Link->SetURL("https://example.org/sourcelux");
  Link->Click();
  EXPECT_EQ(sxtest::ReadFile(Log), "https://example.org/sourcelux");
  fs::remove(Log);
  struct TSink : TObject {
    int Clicks = 0;
    void Clicked(TObject*) { ++Clicks; }
  } Sink;
  Link->OnClick = TNotifyEvent(&Sink, &TSink::Clicked);
  Link->Click();
  EXPECT_EQ(Sink.Clicks, 1);
  EXPECT_FALSE(fs::exists(Log)) << "OnClick takes the place of the address";
}

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

// The description binds the shared editing menu to both editors and the
// batch menu to the batch list: a right click on each opens its menu.
TEST_F(MainWindowPartsTest, RightClickOpensTheMenuTheDescriptionBindsToTheControl) {
  CreateMainWindow();
  struct TCase { const char* Control; Integer Page; TdxBarPopupMenu* Menu; };
  const TCase Cases[] = {{"DCMemo", 0, Main->Popup_Memo}, {"DCMemo1", 0, Main->Popup_Memo},
                         {"ListBox", 1, Main->Popup_Multiple}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Control);
    auto* Control = dynamic_cast<TWinControl*>(Main->FindComponent(C.Control));
    ASSERT_NE(Control, nullptr);
    Main->cxPageControl->SetActivePageNo(C.Page);
    Pump();
    // The menu runs its own loop: note which one opened, then close it.
    std::vector<TdxBarPopupMenu*> Opened;
    int Idles = 0;
    D().SetIdleHandler([&] {
      if (++Idles > 20) return false;
      TdxBarPopupMenu* Open = nullptr;
      for (TdxBarPopupMenu* M : {Main->Popup_Memo, Main->Popup_Multiple, Main->Popup_Convert})
        if (M->GetBarControl()) Open = M;
      if (Open && (Opened.empty() || Opened.back() != Open)) {
        Opened.push_back(Open);
        D().KeyPress(VK_ESCAPE);
      }
      return true;
    });
    const TPoint P = Control->ClientToScreen({20, 20});
    UseVirtualClock();
    D().Click(P.X, P.Y, TInputButton::Right);
    Pump();
    UseRealClock();
    D().SetIdleHandler(nullptr);
    EXPECT_EQ(Opened, std::vector<TdxBarPopupMenu*>{C.Menu});
    EXPECT_EQ(C.Menu->GetBarControl(), nullptr) << "closed again";
  }
}
