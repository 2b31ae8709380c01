// The open and save dialogs answered through the dialog hook: what they
// return, the checks every confirmed name passes (the same whether a user
// or a test confirms it) and the folder they open in.
#include <gtest/gtest.h>

#include <filesystem>

#include "DialogTestSupport.h"
#include "platform/forms/FileDialogs.h"
#include "support/TestFiles.h"

namespace {
using FileDialogs = TDialogsTest;

std::vector<AnsiString> Kinds(const TDialogScript& S) {
  std::vector<AnsiString> R;
  for (const TDialogRequest& Q : S.Asked()) R.push_back(Q.Kind);
  return R;
}
}  // namespace

TEST_F(FileDialogs, OpenReturnsFullNamesOfOneOrSeveralFiles) {
  const std::string A = Touch("in/a.rtf"), B = Touch("in/b.rtf");
  TOpenDialog D(nullptr);
  D.SetInitialDir(Folder() + "in");
  D.SetOptions({ofHideReadOnly, ofFileMustExist, ofAllowMultiSelect, ofEnableSizing});
  TDialogScript S;
  S.ThenFile("a.rtf").ThenFiles({"a.rtf", B});
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.GetFileName(), A) << "a relative answer is taken in the dialog's folder";
  ASSERT_EQ(D.Files()->GetCount(), 1);
  ASSERT_TRUE(D.Execute());
  ASSERT_EQ(D.Files()->GetCount(), 2);
  EXPECT_EQ(D.Files()->GetStrings(0), A);
  EXPECT_EQ(D.Files()->GetStrings(1), B);
  EXPECT_EQ(D.Files()->GetText(), A + "\r\n" + B + "\r\n") << "the list's text joins the names with CR LF";
  ASSERT_EQ(S.Asked().size(), 2u);
  EXPECT_EQ(S.Asked()[0].Kind, "TOpenDialog");
  EXPECT_EQ(S.Asked()[0].Caption, "Open") << "the default title";
  EXPECT_EQ(S.Asked()[0].InitialDir, Folder() + "in/");
}

TEST_F(FileDialogs, CancelLeavesTheFileNameAndAnUnansweredDialogFailsWithItsCaption) {
  TSaveDialog D(nullptr);
  D.SetTitle("Save color styles");
  D.SetFileName("keep.rgb");
  {
    TDialogScript S;
    S.Then(mrCancel);
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.GetFileName(), "keep.rgb");
    try {
      D.Execute();
      FAIL() << "an unanswered dialog must not return";
    } catch (const EDialogNotAnswered& E) {
      EXPECT_EQ(E.Request.Caption, "Save color styles");
      EXPECT_NE(std::string(E.what()).find("Save color styles"), std::string::npos);
    }
  }
  // Without any answerer a headless run cannot show the dialog either.
  EXPECT_THROW(D.Execute(), EDialogNotAnswered);
}

TEST_F(FileDialogs, SaveAsksBeforeReplacingAndNoKeepsTheDialogOpen) {
  const std::string Out = Touch("out/report.html", "precious");
  TSaveDialog D(nullptr);
  D.SetInitialDir(Folder() + "out");
  D.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
  TDialogScript S;
  // No to the prompt, then the user gives up.
  S.ThenFile("report.html").Then(mrNo).Then(mrCancel);
  EXPECT_FALSE(D.Execute());
  EXPECT_EQ(Kinds(S), (std::vector<AnsiString>{"TSaveDialog", "MessageDlg", "TSaveDialog"}));
  EXPECT_EQ(S.Asked()[1].Text, Out + " already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(S.Asked()[1].Answers, (std::vector<Integer>{mrYes, mrNo}));
  EXPECT_EQ(sxtest::ReadFile(Out), "precious") << "nothing is written by a dialog";
  // Yes takes the name; a new name needs no prompt.
  S.ThenFile("report.html").Then(mrYes);
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.GetFileName(), Out);
  S.ThenFile("fresh.html");
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(D.GetFileName(), Folder() + "out/fresh.html");
  EXPECT_EQ(S.Pending(), 0u);
}

TEST_F(FileDialogs, ConfirmedNamesThatFailACheckShowWhyAndTheDialogAsksAgain) {
  Touch("in/here.rtf");
  std::filesystem::create_directories(Dir.Path() / "in" / "sub");
  const std::string Long = Folder() + "in/" + std::string(4000, 'n') + ".rtf";
  struct TCase {
    const char* Why;
    bool Save;
    TOpenOptions Options;
    AnsiString Answer;
    std::string Message;  // the start of the message shown
  };
  const TCase Cases[] = {
      {"missing file", false, {ofFileMustExist}, "gone.rtf", Folder() + "in/gone.rtf\r\nFile not found."},
      {"missing folder", true, {ofPathMustExist}, "nowhere/x.rtf", Folder() + "in/nowhere\r\nPath does not exist."},
      {"a folder as the file", false, {ofFileMustExist}, "sub", Folder() + "in/sub\r\nThis is a folder"},
      {"a 4000-character path", true, {ofPathMustExist}, Long, Long.substr(0, 80) + "..."},
      {"two names without multi-select", false, {}, "", "Only one file can be chosen here."},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    std::unique_ptr<TOpenDialog> D(C.Save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
    D->SetInitialDir(Folder() + "in");
    D->SetOptions(C.Options);
    TDialogScript S;
    if (C.Answer.empty())
      S.ThenFiles({"here.rtf", "here.rtf"});
    else
      S.ThenFile(C.Answer);
    S.Then(mrOk).Then(mrCancel);  // the message, then the user cancels
    EXPECT_FALSE(D->Execute());
    ASSERT_EQ(S.Asked().size(), 3u);
    EXPECT_EQ(S.Asked()[1].Kind, "MessageDlg");
    EXPECT_EQ(S.Asked()[1].Text.substr(0, C.Message.size()), C.Message);
    EXPECT_LT(S.Asked()[1].Text.size(), 400u) << "a long name is shortened in the message";
    EXPECT_TRUE(D->GetFileName().empty());
  }
}

TEST_F(FileDialogs, DefaultExtensionFollowsTheChosenFilter) {
  Touch("out/.keep");
  struct TCase {
    const char* Typed;
    Integer FilterIndex;
    const char* Want;
  };
  const TCase Cases[] = {
      {"page", 1, "page.html"},
      {"page", 2, "page.htm"},
      {"page", 3, "page.html"},  // "*.*" names no extension: DefaultExt
      {"page.txt", 1, "page.txt"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Typed + std::to_string(C.FilterIndex));
    TSaveDialog D(nullptr);
    D.SetInitialDir(Folder() + "out");
    D.SetDefaultExt(".html");
    D.SetFilter("HTML (*.html)|*.html|Old HTML (*.htm)|*.htm|All Files (*.*)|*.*");
    D.SetFilterIndex(C.FilterIndex);
    TDialogScript S;
    S.ThenFile(C.Typed);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(D.GetFileName(), Folder() + "out/" + C.Want);
  }
}

TEST_F(FileDialogs, EachDialogRemembersTheFolderItWasLastConfirmedIn) {
  const std::string A = Touch("one/a.rgb"), B = Touch("two/b.rtf");
  TDialogScript S;
  S.ThenFile(A).ThenFile(B);
  {
    TOpenDialog Load(nullptr);
    Load.SetTitle("Load color styles");
    ASSERT_TRUE(Load.Execute());
    TOpenDialog Other(nullptr);
    ASSERT_TRUE(Other.Execute());
  }
  // New dialog objects, as the program makes them for each command.
  TOpenDialog Load(nullptr), Other(nullptr), Given(nullptr);
  Load.SetTitle("Load color styles");
  Given.SetInitialDir(Folder() + "two");
  Given.SetTitle("Load color styles");
  S.Then(mrCancel).Then(mrCancel).Then(mrCancel);
  Load.Execute();
  Other.Execute();
  Given.Execute();
  EXPECT_EQ(S.Asked()[2].InitialDir, Folder() + "one/");
  EXPECT_EQ(S.Asked()[3].InitialDir, Folder() + "two/");
  EXPECT_EQ(S.Asked()[4].InitialDir, Folder() + "two/") << "an initial folder given wins";
}

TEST_F(FileDialogs, CanCloseMayRefuseAndThePictureDialogsFilterPictures) {
  const std::string A = Touch("a.bmp");
  struct TRefuser : TObject {
    int Calls = 0;
    void CanClose(TObject*, bool& Can) { Can = ++Calls > 1; }
  } Refuser;
  TOpenPictureDialog D(nullptr);
  D.OnCanClose = TCloseQueryEvent(&Refuser, &TRefuser::CanClose);
  TDialogScript S;
  S.ThenFile(A).ThenFile(A);
  ASSERT_TRUE(D.Execute());
  EXPECT_EQ(Refuser.Calls, 2);
  EXPECT_EQ(S.Asked().size(), 2u) << "a refusal keeps the dialog open";
  EXPECT_NE(D.GetFilter().find("*.bmp"), AnsiString::npos);
  EXPECT_NE(D.GetFilter().find("*.jpg"), AnsiString::npos);
  EXPECT_EQ(S.Asked()[0].Kind, "TOpenPictureDialog");
  TSavePictureDialog Save(nullptr);
  S.Then(mrCancel);
  EXPECT_FALSE(Save.Execute());
  EXPECT_EQ(S.Asked()[2].Caption, "Save As");
}
