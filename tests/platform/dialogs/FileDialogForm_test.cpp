// The file dialogs' own form, driven as a user drives it on the headless
// display: clicks in the list, keys, typed names and paths. The dialog
// hook passes each dialog on to its form (ThenShowForm) and answers the
// message boxes the form raises.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/ScopedEnv.h"
#include "DialogTestSupport.h"
#include "platform/forms/FileDialogForm.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/FileListView.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/VirtualKeys.h"
#include "support/TestFiles.h"

namespace {
using FileDialogForm = TDialogsTest;

std::vector<std::string> Shown(TFileListView* L) {
  std::vector<std::string> R;
  for (Integer i = 0; i < L->Model()->Count(); ++i) R.push_back(L->Model()->Entry(i).Name);
  return R;
}

// A click in the middle of an item's name.
void ClickItem(TFileListView* L, Integer Index, bool Ctrl = false) {
  const TRect R = L->ItemRect(Index);
  TDialogsTest::ClickAt(L, 60, (R.Top + R.Bottom) / 2, Ctrl);
}

TFileListView* List(TForm* F) { return TDialogsTest::Named<TFileListView>(F, "FileList"); }
TEdit* NameEdit(TForm* F) { return TDialogsTest::Named<TEdit>(F, "NameEdit"); }

using sxtest::TEnvVar;
}  // namespace

TEST_F(FileDialogForm, OpenListsTheFolderThroughItsFilterAndReturnsTwoFilesPickedWithCtrl) {
  const std::string A = Touch("in/a.rtf"), B = Touch("in/b.doc");
  Touch("in/c.txt");
  Touch("in/.hidden.rtf");
  std::filesystem::create_directories(Dir.Path() / "in" / "sub");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "in");
  D.SetFilter("RTF Files (*.rtf;*.doc;)|*.rtf;*.doc;|All Files (*.*)|*.*");
  D.SetOptions({ofHideReadOnly, ofFileMustExist, ofEnableSizing, ofAllowMultiSelect});
  TDialogScript S;
  S.ThenShowForm();
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm* F) {
                              EXPECT_EQ(F->GetCaption(), "Open");
                              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder() + "in/");
                              EXPECT_EQ(Shown(List(F)), (std::vector<std::string>{"sub", "a.rtf", "b.doc"}));
                              ClickItem(List(F), 1);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(NameEdit(F)->GetText(), "a.rtf");
                              ClickItem(List(F), 2, /*Ctrl=*/true);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(NameEdit(F)->GetText(), "\"a.rtf\" \"b.doc\"");
                              Key(VK_RETURN);
                            },
                        });
  ASSERT_TRUE(Ok);
  ASSERT_EQ(D.Files()->GetCount(), 2);
  EXPECT_EQ(D.Files()->GetStrings(0), A);
  EXPECT_EQ(D.Files()->GetStrings(1), B);
  EXPECT_EQ(D.GetFileName(), A);
  EXPECT_EQ(D.DialogForm(), nullptr) << "the form is gone after Execute";
}

TEST_F(FileDialogForm, TypedFoldersOpenTypedMasksFilterAndHiddenFilesShowOnCtrlH) {
  Touch("home/docs/report.rtf");
  Touch("home/docs/.draft.rtf");
  const std::string Notes = Touch("home/docs/notes.txt");
  TEnvVar Home("HOME", Folder() + "home");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder());
  D.SetFilter("RTF Files (*.rtf)|*.rtf|All Files (*.*)|*.*");
  D.SetOptions({ofFileMustExist});
  TDialogScript S;
  S.ThenShowForm();
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm*) { Type("~/docs"), Key(VK_RETURN); },
                            [&](TForm* F) {
                              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder() + "home/docs/");
                              EXPECT_EQ(Shown(List(F)), std::vector<std::string>{"report.rtf"});
                              EXPECT_EQ(NameEdit(F)->GetText(), "");
                              Type("*.txt"), Key(VK_RETURN);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(Shown(List(F)), std::vector<std::string>{"notes.txt"});
                              ClickItem(List(F), 0);
                            },
                            [&](TForm*) { Key('H', /*Ctrl=*/true); },
                            [&](TForm* F) {
                              EXPECT_TRUE(Named<TCheckBox>(F, "HiddenCheck")->GetChecked());
                              EXPECT_EQ(Shown(List(F)), std::vector<std::string>{"notes.txt"});
                              Key(VK_TAB, /*Ctrl=*/false, /*Shift=*/true);  // back to the name, selected
                              Type("*.rtf"), Key(VK_RETURN);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(Shown(List(F)), (std::vector<std::string>{".draft.rtf", "report.rtf"}));
                              Key(VK_TAB), Key(VK_TAB, false, true);
                              Type("notes.txt"), Key(VK_RETURN);
                            },
                        });
  ASSERT_TRUE(Ok);
  EXPECT_EQ(D.GetFileName(), Notes);
}

TEST_F(FileDialogForm, HeaderClicksSortTheListAndBackspaceGoesUp) {
  Touch("f/big.rtf", std::string(5000, 'x'));
  Touch("f/small.rtf", "x");
  Touch("f/mid.rtf", std::string(300, 'x'));
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "f");
  TDialogScript S;
  S.ThenShowForm();
  auto ClickHeader = [](TFileListView* L, int Column) {
    for (int X = 0; X < L->GetWidth(); ++X)
      if (L->ColumnAt(X) == Column) return ClickAt(L, X + 10, L->HeaderHeight() / 2);
  };
  Drive(D, [&] { return D.Execute(); },
        {
            [&](TForm* F) {
              EXPECT_EQ(Shown(List(F)), (std::vector<std::string>{"big.rtf", "mid.rtf", "small.rtf"}));
              ClickHeader(List(F), 1);
            },
            [&](TForm* F) {
              EXPECT_EQ(Shown(List(F)), (std::vector<std::string>{"small.rtf", "mid.rtf", "big.rtf"}));
              ClickHeader(List(F), 1);
            },
            [&](TForm* F) {
              EXPECT_EQ(Shown(List(F)), (std::vector<std::string>{"big.rtf", "mid.rtf", "small.rtf"}));
              Key(VK_BACK);
            },
            [&](TForm* F) {
              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder());
              const std::vector<Integer> Sel = List(F)->Selection();
              ASSERT_EQ(Sel.size(), 1u);
              EXPECT_EQ(List(F)->Model()->Entry(Sel[0]).Name, "f") << "the folder we came from is selected";
              Key(VK_ESCAPE);
            },
        });
}

TEST_F(FileDialogForm, SaveAsksBeforeReplacingAndStaysOpenOnNo) {
  const std::string Out = Touch("out/report.html", "precious");
  TSaveDialog D(nullptr);
  D.SetInitialDir(Folder() + "out");
  D.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
  TDialogScript S;
  S.ThenShowForm().Then(mrNo).Then(mrYes);
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm* F) {
                              EXPECT_EQ(F->GetCaption(), "Save As");
                              Type("report.html\r");
                            },
                            [&](TForm* F) {
                              EXPECT_TRUE(F->GetVisible()) << "No keeps the dialog open";
                              EXPECT_EQ(sxtest::ReadFile(Out), "precious");
                              Key(VK_RETURN);
                            },
                        });
  ASSERT_TRUE(Ok);
  EXPECT_EQ(D.GetFileName(), Out);
  ASSERT_EQ(S.Asked().size(), 3u);
  EXPECT_EQ(S.Asked()[1].Kind, "MessageDlg");
  EXPECT_EQ(S.Asked()[1].Text, Out + " already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(sxtest::ReadFile(Out), "precious");
}

TEST_F(FileDialogForm, AFileGoneSinceItWasListedIsReportedNotReturned) {
  const std::string F = Touch("in/brief.rtf");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "in");
  D.SetOptions({ofFileMustExist});
  TDialogScript S;
  S.ThenShowForm().Then(mrOk);
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm* Form) {
                              EXPECT_EQ(Shown(List(Form)), std::vector<std::string>{"brief.rtf"});
                              std::filesystem::remove(F);
                              ClickItem(List(Form), 0);
                            },
                            [&](TForm*) { Key(VK_RETURN); },
                            [&](TForm* Form) {
                              EXPECT_TRUE(Form->GetVisible());
                              Key(VK_ESCAPE);
                            },
                        });
  EXPECT_FALSE(Ok);
  ASSERT_EQ(S.Asked().size(), 2u);
  EXPECT_EQ(S.Asked()[1].Text, F + "\r\nFile not found.\r\nCheck the file name and try again.");
}

TEST_F(FileDialogForm, AStartFolderThatCannotBeOpenedIsReportedAndHomeShows) {
  Touch("home/mine.rtf");
  TEnvVar Home("HOME", Folder() + "home");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "no/such/folder");
  TDialogScript S;
  S.ThenShowForm().Then(mrOk);
  Drive(D, [&] { return D.Execute(); },
        {
            [&](TForm* F) {
              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder() + "home/");
              EXPECT_EQ(Shown(List(F)), std::vector<std::string>{"mine.rtf"});
              // The places: the file system's root is one of them.
              auto* Places = Named<TListBox>(F, "PlacesList");
              const Integer Root = Places->GetItems()->IndexOf("File System");
              ASSERT_GE(Root, 0);
              const TRect R = Places->ItemRect(Root);
              ClickAt(Places, R.Left + 5, (R.Top + R.Bottom) / 2);
            },
            [&](TForm* F) {
              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), "/");
              // A path typed in the path box opens with Enter.
              ClickAt(Named<TEdit>(F, "PathEdit"), 5, 5);
              Key(VK_END);
              Type("tmp/../" + Folder().substr(1) + "home");
              Key(VK_RETURN);
            },
            [&](TForm* F) {
              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder() + "home/");
              EXPECT_TRUE(F->GetVisible()) << "Enter in the path box opens the folder, not the file";
              Key(VK_ESCAPE);
            },
        });
  ASSERT_EQ(S.Asked().size(), 2u);
  EXPECT_EQ(S.Asked()[1].Caption, "Error");
  EXPECT_NE(S.Asked()[1].Text.find("no/such/folder"), AnsiString::npos);
}

TEST_F(FileDialogForm, ANameTheCodePageLacksIsReturnedWithItsOwnBytes) {
  // "Жук.rtf" in UTF-8, as the file system holds it.
  const std::string Beetle = Touch("in/\xD0\x96\xD1\x83\xD0\xBA.rtf");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "in");
  D.SetOptions({ofFileMustExist});
  TDialogScript S;
  S.ThenShowForm();
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm* F) { ClickItem(List(F), 0); },
                            [&](TForm*) { Key(VK_RETURN); },
                        });
  ASSERT_TRUE(Ok);
  EXPECT_EQ(D.GetFileName(), Beetle);
  EXPECT_TRUE(FileExists(D.GetFileName()));
}

TEST_F(FileDialogForm, ADoubleClickOpensAFolderOrTakesAFileAndTheFormResizes) {
  const std::string Deep = Touch("top/inner/deep.rtf");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "top");
  D.SetOptions({ofFileMustExist, ofEnableSizing});
  TDialogScript S;
  S.ThenShowForm();
  auto DoubleClick = [](TFileListView* L, Integer Index) {
    ClickItem(L, Index);
    ClickItem(L, Index);
  };
  Integer OldWidth = 0;
  const bool Ok = Drive(D, [&] { return D.Execute(); },
                        {
                            [&](TForm* F) {
                              EXPECT_EQ(F->GetBorderStyle(), bsSizeable);
                              OldWidth = List(F)->GetWidth();
                              F->SetClientWidth(F->ClientWidth() + 200);
                              F->SetClientHeight(F->ClientHeight() + 100);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(List(F)->GetWidth(), OldWidth + 200) << "the list takes the new room";
                              DoubleClick(List(F), 0);
                            },
                            [&](TForm* F) {
                              EXPECT_EQ(Named<TEdit>(F, "PathEdit")->GetText(), Folder() + "top/inner/");
                              DoubleClick(List(F), 0);
                            },
                        });
  ASSERT_TRUE(Ok);
  EXPECT_EQ(D.GetFileName(), Deep);
}
