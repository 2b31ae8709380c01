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
#include "app/desktop/HotKeyManager.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/HotKey.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/KeyboardLayouts.h"
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
  static void WriteGlobalHotKeys(const AnsiString& Text) {
    TIniFile Ini(OptionsFileName());
    for (const char* Key : {"Activation HotKey", "Convert HotKey", "Indent HotKey"}) Ini.WriteString("General", Key, Text);
  }
  // Types a combination into a hot-key control as the user would.
  static void Type(TWinControl* Control, std::initializer_list<WORD> Modifiers, WORD Key) {
    Control->SetFocus();
    THeadlessDisplay& D = HeadlessDisplay();
    for (WORD M : Modifiers) D.KeyDown(M);
    D.KeyPress(Key);
    for (WORD M : Modifiers) D.KeyUp(M);
    D.ProcessMessages();
  }
};

TEST_F(OptionsTest, OkWritesBothFilesAndTheDialogReadsThemBack) {
  CreateMainWindow();
  {
    auto D = Open();
    EXPECT_EQ(D->Edit_Width->GetText(), "600");
    EXPECT_EQ(D->HotKey3->GetHotKey(), 0) << "no key of this keyboard types an unshifted \"$\"";
    D->cbMinimized->SetChecked(true);
    D->HotKey3->SetHotKey(scShift | scCtrl | VK_F9);
    D->Edit_Width->SetText("612");
    D->Edit_Height->SetText("792");
    D->cbSetupDialog->SetChecked(true);
    D->cbDefaultExportFormat->SetItemIndex(efSVG);
    D->ListBox1->SetItemIndex(1);  // PDF
    D->ListBox1Change(nullptr);
    D->HotKey4->SetHotKey(VK_F9);
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
  EXPECT_EQ(O.ActivationHotKey, "Ctrl+Shift+F9");
  EXPECT_EQ(O.PdfPageWidth, 612);
  EXPECT_EQ(O.PdfPageHeight, 792);
  EXPECT_TRUE(O.ShowSetupDialog);
  EXPECT_EQ(O.DefaultExportFormat, efSVG);
  auto Again = Open();
  EXPECT_TRUE(Again->cbMinimized->GetChecked());
  EXPECT_EQ(Again->HotKey3->GetHotKey(), scShift | scCtrl | VK_F9);
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
    D->ListBox1Change(nullptr);
    D->HotKey4->SetHotKey(VK_F9);
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
  D->ListBox1Change(nullptr);
  D->HotKey4->SetHotKey(VK_F9);
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

// OK with the keys left alone writes each stored text back as it was: its
// own spelling, and also a text the control cannot show (no key of this
// keyboard types an unshifted "$"; the Windows key; no key at all) rather
// than ''.
TEST_F(OptionsTest, KeysLeftAloneKeepTheirStoredTexts) {
  std::ofstream(Dir.Data("HotKeys.ini")) << "[HotKeys]\nConvertToHTML=\nConvertToPDF=Ctrl+Alt+C\nConvertToLotus=^L\n"
                                            "ConvertToPNG=Ctrl+$\nConvertToSVG=shift+f7\nConvertToExcel=Win+F9\n";
  CreateMainWindow();
  struct TGlobal { const char* Text; TShortCut Shown; };
  const TGlobal Globals[] = {
      {"Ctrl+Alt+C", scCtrl | scAlt | 'C'}, {"Shift+Ctrl+F9", scShift | scCtrl | VK_F9},
      {"ctrl + alt + home", scCtrl | scAlt | VK_HOME}, {"Ctrl+$", 0}, {"Win+F9", 0}, {"Foo+A", 0}, {"", 0},
  };
  for (const TGlobal& G : Globals) {
    SCOPED_TRACE(G.Text);
    WriteGlobalHotKeys(G.Text);
    auto D = Open();
    for (THotKey* K : {D->HotKey1, D->HotKey2, D->HotKey3}) EXPECT_EQ(K->GetHotKey(), G.Shown);
    if (G.Text[0] && !G.Shown) {
      EXPECT_NE(D->HotKey3->GetHint().find(G.Text), AnsiString::npos) << "the field says what it keeps";
    }
    ASSERT_TRUE(D->ApplyAndSave());
    const TGeneralOptions O = ReadGeneralOptions();
    EXPECT_EQ(O.ActivationHotKey, G.Text);
    EXPECT_EQ(O.ConvertHotKey, G.Text);
    EXPECT_EQ(O.IndentHotKey, G.Text);
  }

  // The convert shortcuts: Assign with the key as shown changes nothing,
  // and a key without a name of its own is refused with a word.
  auto D = Open();
  D->ListBox1->SetItemIndex(5);  // PNG, stored "Ctrl+$": shown as none
  D->ListBox1Change(nullptr);
  EXPECT_EQ(D->HotKey4->GetHotKey(), 0);
  D->AssignHKBtnClick(nullptr);
  D->HotKey4->SetHotKey(scCtrl | 0xFF);
  TDialogScript Script;
  Script.Then(IDOK);
  D->AssignHKBtnClick(nullptr);
  EXPECT_EQ(Script.Asked().size(), 1u);
  ASSERT_TRUE(D->ApplyAndSave());
  struct TShort { const char* Item; const char* Text; TShortCut Key; };
  const TShort Shorts[] = {
      {"ConvertToHTML", "F5", VK_F5},  // none stored: the form's key, written out
      {"ConvertToPDF", "Ctrl+Alt+C", scCtrl | scAlt | 'C'}, {"ConvertToLotus", "^L", scCtrl | 'L'},
      {"ConvertToPNG", "Ctrl+$", 0}, {"ConvertToSVG", "shift+f7", scShift | VK_F7}, {"ConvertToExcel", "Win+F9", 0},
      {"ConvertToJPG", "", 0},
  };
  TIniFile Keys(Dir.Data("HotKeys.ini"));
  for (const TShort& S : Shorts) {
    SCOPED_TRACE(S.Item);
    EXPECT_EQ(Keys.ReadString("HotKeys", S.Item, "?"), S.Text);
    EXPECT_EQ(Main->Item(S.Item)->GetShortCut(), S.Key);
  }
}

// A key the user gives is written in the form start-up reads it with, on
// the user's keyboard: read back, it is the same key. A key whose name
// stands for another key (or for none) is refused before anything is
// written.
TEST_F(OptionsTest, TypedKeysReadBackAsTheSameKey) {
  struct TCase { const char* Layout; TShortCut Key; const char* Text; };
  const TCase Cases[] = {
      {"00000409", scCtrl | scAlt | VK_F11, "Ctrl+Alt+F11"},
      {"00000409", scShift | scAlt | VK_HOME, "Shift+Alt+Home"},
      {"0000040C", scCtrl | VK_OEM_1, "CTRL+$"},  // the French key that types "$"
      {"00000409", scCtrl | scAlt | VK_NUMPAD5, nullptr},  // "Num 5" also names Clear
      {"00000409", scCtrl | scAlt | 0xFF, nullptr},  // no name
  };
  CreateMainWindow();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Layout + std::string(" ") + std::to_string(C.Key));
    HotKeyUnitEnd();
    ASSERT_TRUE(LoadKeyboardLayoutA(C.Layout, KLF_ACTIVATE));
    WriteGlobalHotKeys("Ctrl+Alt+C");
    auto D = Open();
    D->HotKey3->SetHotKey(C.Key);
    TDialogScript Script;
    Script.Then(IDOK);
    D->OKBtnClick(nullptr);
    if (!C.Text) {
      EXPECT_EQ(D->GetModalResult(), mrNone);
      ASSERT_EQ(Script.Asked().size(), 1u);
      EXPECT_NE(Script.Asked()[0].Text.find("Activation HotKey"), AnsiString::npos);
      EXPECT_EQ(ReadGeneralOptions().ActivationHotKey, "Ctrl+Alt+C") << "nothing written";
      continue;
    }
    EXPECT_EQ(D->GetModalResult(), mrOk);
    EXPECT_TRUE(Script.Asked().empty());
    const AnsiString Written = ReadGeneralOptions().ActivationHotKey;
    EXPECT_EQ(Written, C.Text);
    EXPECT_EQ(TextToHotKey(Written, true), C.Key);
    EXPECT_EQ(ReadGeneralOptions().ConvertHotKey, "Ctrl+Alt+C") << "the untouched ones stay";
  }
  HotKeyUnitEnd();
}

// Keys typed into the fields: a typed combination is written, and clearing
// a field (Back space) writes none, also where the stored text showed as
// none.
TEST_F(OptionsTest, TypingIntoTheFieldsChangesTheirKeys) {
  std::ofstream(Dir.Data("HotKeys.ini")) << "[HotKeys]\nConvertToPNG=Ctrl+$\n";
  CreateMainWindow();
  WriteGlobalHotKeys("Ctrl+$");
  auto D = Open();
  D->Show();
  D->cxPageControl->SetActivePageNo(1);
  HeadlessDisplay().ProcessMessages();
  Type(D->HotKey3, {VK_CONTROL, VK_MENU}, VK_F11);
  EXPECT_EQ(D->HotKey3->GetHotKey(), scCtrl | scAlt | VK_F11);
  Type(D->HotKey2, {}, VK_BACK);
  HeadlessDisplay().SaveScreenshot("app-options-hotkeys.png");
  D->cxPageControl->SetActivePageNo(2);
  D->ListBox1->SetItemIndex(5);  // PNG
  D->ListBox1Change(nullptr);
  HeadlessDisplay().ProcessMessages();
  Type(D->HotKey4, {}, VK_BACK);
  D->AssignHKBtnClick(nullptr);
  ASSERT_TRUE(D->ApplyAndSave());
  const TGeneralOptions O = ReadGeneralOptions();
  EXPECT_EQ(O.ActivationHotKey, "Ctrl+Alt+F11");
  EXPECT_EQ(O.ConvertHotKey, "");
  EXPECT_EQ(O.IndentHotKey, "Ctrl+$") << "the field left alone";
  EXPECT_EQ(TIniFile(Dir.Data("HotKeys.ini")).ReadString("HotKeys", "ConvertToPNG", "?"), "");
}
