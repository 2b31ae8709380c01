// The main window's two editors take the global editor options (the
// description reads UseGlobalOptions last), so they show the global font
// and follow a change of it at once. The commands that empty the input
// editor keep its text when Close File's question is cancelled.
#include "MainWindowFixture.h"

#include "editor/controls/DCMemo.h"
#include "editor/base/EdLibrary.h"
#include "editor/options/MemoEnvOptions.h"
#include "editor/view/TextStyles.h"
#include "platform/forms/Clipbrd.h"

namespace {
using sxtest::MainWindowTest;
}  // namespace

TEST_F(MainWindowTest, EditorsTakeTheGlobalEditorFont) {
  CreateMainWindow();
  TMemoEnvOptions* Global = GetMemoEnvOptions();
  for (TDCMemo* M : {Main->DCMemo, Main->DCMemo1}) {
    SCOPED_TRACE(M->GetName());
    EXPECT_TRUE(M->GetUseGlobalOptions());
    EXPECT_EQ(M->GetFont()->GetName(), Global->GetFont()->GetName());
    EXPECT_EQ(M->GetFont()->GetSize(), Global->GetFont()->GetSize());
  }
  const AnsiString Before = Global->GetFont()->GetName();
  Global->GetFont()->SetName(Before == "Courier New" ? "DejaVu Sans Mono" : "Courier New");
  EXPECT_EQ(Main->DCMemo->GetFont()->GetName(), Global->GetFont()->GetName()) << "a change reaches the editors";
  Global->GetFont()->SetName(Before);
}


// Stored text styles are an object text of their own, read into a
// temporary while the form's description is being read (the editors' last
// property creates the global options). The window opens, both editors
// show the stored style, and the start-up goes on.
TEST_F(MainWindowTest, StoredTextStylesReachTheEditorsOfANewWindow) {
  const Integer Comment = 5;
  ASSERT_GT(GetMemoEnvOptions()->GetTextStyles()->Count(), Comment);
  TTextStyle* Stored = GetMemoEnvOptions()->GetTextStyles()->GetItem(Comment);
  Stored->GetFont()->SetColor(clFuchsia);
  Stored->SetColor(clYellow);
  const AnsiString Name = Stored->GetName();
  // Saved as the library ends; a new library reads them on first use,
  // which is now inside the window's load.
  Library.reset();
  Library = std::make_unique<TEditorLibrary>();
  CreateMainWindow();
  for (TDCMemo* M : {Main->DCMemo, Main->DCMemo1}) {
    SCOPED_TRACE(M->GetName());
    TTextStyle* S = M->GetTextStyles()->GetItem(Comment);
    EXPECT_EQ(S->GetName(), Name);
    EXPECT_EQ(S->GetFont()->GetColor(), clFuchsia);
    EXPECT_EQ(S->GetColor(), clYellow);
  }
  EXPECT_EQ(Main->GetCaption(), "Sourcelux v1.0.0") << "the start-up ran to its end";
}

// Paste From Clipboard and the convert hot key close the file first: a
// Cancel to its save question keeps the typed text, and they neither paste
// nor convert.
TEST_F(MainWindowTest, PasteAndTheConvertHotKeyKeepTheTextOnCancel) {
  CreateMainWindow();
  Clipboard()->SetAsText("pasted text");
  Main->SetInputText("typed text");
  auto Kept = [&] {
    const AnsiString Text = Main->DCMemo->GetText();
    return Text.find("typed text") != AnsiString::npos && Text.find("pasted text") == AnsiString::npos;
  };
  {
    TDialogScript Script;
    Script.Then(IDYES).Then(IDCANCEL);  // clear first? yes; save it? cancel
    Click("PasteFromClipBoard");
    EXPECT_EQ(Script.Pending(), 0u);
  }
  EXPECT_TRUE(Kept()) << Main->DCMemo->GetText();
  Main->FConvertHotKeyId = 7;
  {
    TDialogScript Script;
    Script.Then(IDCANCEL);  // save it? cancel; a conversion would ask for a name next
    Main->HotKeyManagerHotKeyPressed(0, 7);
    EXPECT_EQ(Script.Asked().size(), 1u) << "nothing was converted";
  }
  EXPECT_TRUE(Kept()) << Main->DCMemo->GetText();
}
