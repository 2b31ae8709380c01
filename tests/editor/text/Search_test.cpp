#include "editor/text/Search.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "MemoTestUtil.h"
#include "ScriptedAnswers.h"
#include "TestDialogs.h"
#include "platform/rtl/Exceptions.h"
#include "editor/base/RegStorage.h"

namespace {

// A fresh registry store, and fresh search options, per test.
class SearchTest : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_search_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    RegResetStore();
    O = GetSearchOptions();
  }
  void TearDown() override {
    DoneGlobalOptions();
    RegResetStore();
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(FDir);
  }
  TSearchOptions* O = nullptr;
  std::string FDir;
};

// Swallows the not-found report so that no message box is asked for.
struct TQuiet : TObject {
  void Handle(TObject*, Exception& E, bool& Handled) {
    Messages.push_back(E.Message());
    Handled = true;
  }
  std::vector<AnsiString> Messages;
};

// A source holding Text whose search failures are collected in Messages.
struct TQuietSource : TMemoSource {
  explicit TQuietSource(const std::string& Text) : TMemoSource(nullptr) {
    OnSearchException = TSearchExceptionEvent(&Quiet, &TQuiet::Handle);
    SetText(*this, Text);
  }
  TQuiet Quiet;
  const std::vector<AnsiString>& Messages = Quiet.Messages;
};

struct TFindCase {
  const char* Text;
  const char* Find;
  bool Case, Whole, Regex, Backward;
  TPoint Caret;
  TRect Found;  // empty when nothing is found
  const char* Why;
};

TEST_F(SearchTest, FindTextCases) {
  const TFindCase Cases[] = {
      {"abc Abc abc", "ABC", false, false, false, false, {0, 0}, {0, 0, 3, 1}, "ignores case"},
      {"abc Abc abc", "Abc", true, false, false, false, {0, 0}, {4, 0, 7, 1}, "with case"},
      {"cat catalog cat", "cat", false, true, false, true, {0, 0}, {12, 0, 15, 1}, "whole word, backward from the end"},
      {"concat|cat", "cat", false, true, false, false, {0, 0}, {0, 1, 3, 2}, "whole word skips a part"},
      {"a.b|x a.b", "a.b", false, true, false, false, {0, 0}, {0, 0, 3, 1}, "a delimiter makes it plain"},
      {"x1 y22 z", "[0-9]+", false, false, true, false, {0, 0}, {1, 0, 2, 1}, "a pattern"},
      {"ab  |", "b ", false, false, false, true, {0, 0}, {}, "backward ignores trailing blanks"},
      {"abc", "zzz", false, false, false, false, {0, 0}, {}, "not found"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TQuietSource S(C.Text);
    O->TextToFind = C.Find;
    O->CaseSensitive = C.Case;
    O->WholeWordsOnly = C.Whole;
    O->RegularExpr = C.Regex;
    O->Direction = C.Backward ? sdBackward : sdForward;
    O->Origin = soEntireScope;
    O->Scope = ssGlobal;
    S.FindText();
    EXPECT_EQ(S.GetFoundRect(), C.Found);
    if (C.Found != TRect())
      EXPECT_EQ(S.GetCaretPoint(), C.Backward ? TPoint(C.Found.Left, C.Found.Top) : TPoint(C.Found.Right, C.Found.Top));
    else
      EXPECT_EQ(S.Messages.size(), 1u);
  }
}

TEST_F(SearchTest, FindNextBeforeAnySearchDoesNothingThenRepeats) {
  TMemoSource S(nullptr);
  SetText(S, "ab ab ab");
  O->TextToFind = "ab";
  O->FirstSearch = true;
  S.FindNext();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(0, 0));
  S.FindText();
  S.FindNext();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(5, 0));
}

TEST_F(SearchTest, NotFoundMessageShowsAmpersandOnce) {
  TQuietSource S("abc");
  O->TextToFind = "a&b";
  S.FindText();
  ASSERT_EQ(S.Messages.size(), 1u);
  EXPECT_EQ(S.Messages[0], "Search string 'a&&b' not found");
}

TEST_F(SearchTest, ReplaceAllIsOneUndoStepAndEmptyReplacementDeletes) {
  TQuietSource S("a-b-c|-d");
  O->TextToFind = "-";
  O->ReplaceWith = "";
  O->ReplaceAll = true;
  S.ReplaceText();
  EXPECT_EQ(Text(S), "abc|d");
  EXPECT_EQ(S.GetReplacedCount(), 3);
  EXPECT_TRUE(S.Messages.empty()) << "the end of a run that replaced something is no failure";
  S.Undo();
  EXPECT_EQ(Text(S), "a-b-c|-d");
}

TEST_F(SearchTest, ReadOnlySourceReplacesNothing) {
  TMemoSource S(nullptr);
  SetText(S, "aaa");
  S.SetReadOnly(true);
  O->TextToFind = "a";
  O->ReplaceWith = "b";
  O->ReplaceAll = true;
  EXPECT_FALSE(S.ReplaceRun());
  EXPECT_EQ(Text(S), "aaa");
}

struct TPromptCase {
  std::vector<Integer> Answers;
  bool ReplaceAll;  // the run starts as replace-all (prompting each match)
  const char* Want;
  Integer Replaced;
  size_t Asked;
  bool EndsUnprompted;  // an All answer switched prompting off
  const char* Why;
};

TEST_F(SearchTest, ReplacePromptAnswers) {
  const TPromptCase Cases[] = {
      {{TScriptedAnswers::Yes, TScriptedAnswers::No, TScriptedAnswers::Yes, TScriptedAnswers::No}, true, "b a b a", 2, 4, false, "yes and no alternate"},
      {{TScriptedAnswers::No, TScriptedAnswers::All}, true, "a b b b", 3, 2, true, "all replaces the rest without asking"},
      {{TScriptedAnswers::Yes, TScriptedAnswers::Cancel}, true, "b a a a", 1, 2, false, "cancel ends the run"},
      {{TScriptedAnswers::Cancel}, true, "a a a a", 0, 1, false, "cancel at once replaces nothing"},
      {{TScriptedAnswers::Yes}, false, "b a a a", 1, 1, false, "a single replace asks once"},
      {{TScriptedAnswers::No}, false, "a a a a", 0, 1, false, "a single replace answered no"},
      {{TScriptedAnswers::All}, false, "b b b b", 4, 1, true, "all on a single replace turns into replace-all"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TQuietSource S("a a a a");
    O->TextToFind = AnsiString("a");
    O->ReplaceWith = AnsiString("b");
    O->PromptOnReplace = true;
    O->ReplaceAll = C.ReplaceAll;
    O->Origin = soEntireScope;
    TScriptedAnswers Script;
    for (Integer A : C.Answers) Script.Then(A);
    S.ReplaceText();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetReplacedCount(), C.Replaced);
    ASSERT_EQ(Script.AskedCount(), C.Asked);
    EXPECT_EQ(Script.Pending(), 0u);
    EXPECT_EQ(Script.AskedText(0), "Replace this occurence of 'a'?");
    // An All answer ends the asking for this run only: the stored
    // choices are as the user left them.
    EXPECT_TRUE(O->PromptOnReplace);
    EXPECT_EQ(O->ReplaceAll, C.ReplaceAll);
    EXPECT_EQ(S.UpdateCount(), 0) << "every change group the run opened is closed";
    while (S.CanUndo()) S.Undo();
    EXPECT_EQ(Text(S), "a a a a");
  }
}

TEST_F(SearchTest, ReplacePromptShowsAmpersandOnceAndOffersFourButtons) {
  TMemoSource S(nullptr);
  SetText(S, "x&y");
  O->TextToFind = "&";
  O->ReplaceWith = "+";
  O->PromptOnReplace = true;
  TScriptedAnswers Script;
  Script.Then(TScriptedAnswers::Yes);
  S.ReplaceText();
  EXPECT_EQ(Text(S), "x+y");
  ASSERT_EQ(Script.AskedCount(), 1u);
  EXPECT_EQ(Script.AskedText(0), "Replace this occurence of '&&'?");
  EXPECT_EQ(Script.AskedAnswers(0), (std::vector<Integer>{TScriptedAnswers::Cancel, TScriptedAnswers::Yes,
                                                          TScriptedAnswers::No, TScriptedAnswers::All}));
}

struct TSelSearchCase {
  const char* Text;
  TSelectionType Sel;
  TRect SelRect;     // Left, Top, Right, Bottom as SetSelection takes them
  bool Backward;
  std::vector<TRect> Found;  // every match, in order, then not found
  const char* Why;
};

TEST_F(SearchTest, SearchInSelectionStaysInsideIt) {
  const TSelSearchCase Cases[] = {
      {"ab ab|ab ab|ab ab", stStreamSel, {3, 0, 2, 2}, false,
       {{3, 0, 5, 1}, {0, 1, 2, 2}, {3, 1, 5, 2}, {0, 2, 2, 3}}, "stream: from the start column to the end column"},
      {"ab ab|ab ab|ab ab", stStreamSel, {3, 0, 2, 2}, true,
       {{0, 2, 2, 3}, {3, 1, 5, 2}, {0, 1, 2, 2}, {3, 0, 5, 1}}, "stream, backward"},
      {"xabx ab|yaby ab|ab", stBlockSel, {1, 0, 4, 1}, false, {{1, 0, 3, 1}, {1, 1, 3, 2}},
       "block: only the selected columns"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TQuietSource S(C.Text);
    S.SetSelection(C.Sel, C.SelRect.Left, C.SelRect.Top, C.SelRect.Right, C.SelRect.Bottom);
    O->TextToFind = "ab";
    O->Scope = ssSelectedText;
    O->Origin = soEntireScope;
    O->Direction = C.Backward ? sdBackward : sdForward;
    S.FindText();
    for (size_t I = 0; I < C.Found.size(); ++I) {
      SCOPED_TRACE(I);
      EXPECT_EQ(S.GetFoundRect(), C.Found[I]);
      EXPECT_EQ(S.GetSelectionType(), C.Sel) << "the selection stays";
      S.FindNext();
    }
    EXPECT_EQ(S.GetFoundRect(), TRect());
    EXPECT_EQ(S.Messages, std::vector<AnsiString>{"Search string 'ab' not found"});
  }
}

TEST_F(SearchTest, ReplaceAllInSelectionLeavesTheRestAlone) {
  TMemoSource S(nullptr);
  SetText(S, "aaa|aaa|aaa");
  S.SetSelection(stStreamSel, 1, 0, 2, 2);
  O->TextToFind = "a";
  O->ReplaceWith = "b";
  O->Scope = ssSelectedText;
  O->ReplaceAll = true;
  S.ReplaceText();
  EXPECT_EQ(Text(S), "abb|bbb|bba");
  EXPECT_EQ(S.GetReplacedCount(), 7);
}

TEST_F(SearchTest, SelectionScopeRefusals) {
  struct TCase {
    bool Select;
    TPoint Caret;
    TSearchOrigin Origin;
    const char* Message;
  };
  const TCase Cases[] = {
      {false, {0, 0}, soEntireScope, "Tried to search marked block but it is invalid"},
      {true, {0, 2}, soFromCursor, "Tried to search marked block from cursor but cursor is outside block"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Message);
    for (bool Handle : {true, false}) {
      TMemoSource S(nullptr);
      TQuiet Q;
      if (Handle) S.OnSearchException = TSearchExceptionEvent(&Q, &TQuiet::Handle);
      S.SetOptions(S.GetOptions() + TStringsOptions{soPersistentBlocks});  // the caret may leave the block
      SetText(S, "ab ab|ab|ab");
      if (C.Select) S.SetSelection(stStreamSel, 0, 0, 2, 1);
      S.SetCaret(C.Caret.X, C.Caret.Y);
      O->TextToFind = "ab";
      O->Scope = ssSelectedText;
      O->Origin = C.Origin;
      if (Handle) {
        S.FindText();
        EXPECT_EQ(Q.Messages, std::vector<AnsiString>{C.Message});
      } else {
        try {
          S.FindText();
          ADD_FAILURE() << "no exception";
        } catch (const Exception& E) {
          EXPECT_EQ(E.Message(), C.Message);
        }
      }
      EXPECT_EQ(S.GetFoundRect(), TRect());
      EXPECT_EQ(S.UpdateCount(), 0);
    }
  }
}

TEST_F(SearchTest, FromCursorInSelectionStartsAtTheCaret) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soPersistentBlocks});  // the caret may move in the block
  SetText(S, "ab ab ab ab");
  S.SetSelection(stStreamSel, 0, 0, 8, 0);
  S.SetCaret(4, 0);
  O->TextToFind = "ab";
  O->Scope = ssSelectedText;
  O->Origin = soFromCursor;
  S.FindText();
  EXPECT_EQ(S.GetFoundRect(), TRect(6, 0, 8, 1));
}

TEST_F(SearchTest, AnchorPatternStepsFromLineStartToLineStart) {
  TMemoSource S(nullptr);
  SetText(S, "ab|cd|ef");
  O->TextToFind = "^";
  O->RegularExpr = true;
  O->Origin = soFromCursor;
  S.SetCaret(0, 0);
  S.FindText();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(0, 1));
  S.FindNext();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(0, 2));
}

TEST_F(SearchTest, ReplacingWithNothingLeavesTheCaretWhereTheMatchBegan) {
  for (bool Backward : {false, true}) {
    SCOPED_TRACE(Backward ? "backward" : "forward");
    TMemoSource S(nullptr);
    SetText(S, "ab--cd");
    O->TextToFind = "--";
    O->ReplaceWith = "";
    O->Direction = Backward ? sdBackward : sdForward;
    S.ReplaceText();
    EXPECT_EQ(Text(S), "abcd");
    EXPECT_EQ(S.GetCaretPoint(), TPoint(2, 0));
  }
}

}  // namespace

TEST_F(SearchTest, AnUnregisteredDialogFailsNamingItsClass) {
  TQuietSource S("abc");
  try {
    S.ShowFindDialog();
    FAIL() << "no find dialog is registered";
  } catch (const EClassNotFound& E) {
    EXPECT_EQ(E.Message(), "Class TSrchDialog not found");
  }
  EXPECT_THROW(S.ShowReplaceDialog(), EClassNotFound);
  S.SetReadOnly(true);
  EXPECT_NO_THROW(S.ShowReplaceDialog()) << "a read-only source asks for no replace dialog";
}

TEST_F(SearchTest, ModalDialogsRunTheSearchOnlyWhenClosedWithOk) {
  struct TCase {
    bool Replace;
    Integer Result;
    bool Searched;
    const char* Why;
  };
  const TCase Cases[] = {
      {false, TTestDialogs::Ok, true, "find, OK"},
      {false, TTestDialogs::Cancel, false, "find, Cancel"},
      {true, TTestDialogs::All, true, "replace, All"},
      {true, TTestDialogs::Cancel, false, "replace, Cancel"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestDialogs Dialogs;
    Dialogs.ModalResult = C.Result;
    TQuietSource S("one two one");
    Integer Created = 0;
    struct TCounter : TObject {
      Integer* N;
      void Created(TObject*, TForm*) { ++*N; }
    } Counter;
    Counter.N = &Created;
    S.OnCreateDialog = TCreateDialogEvent(&Counter, &TCounter::Created);
    O->TextToFind = "one";
    O->ReplaceWith = AnsiString("1");
    O->Origin = soEntireScope;
    O->Scope = ssGlobal;
    O->PromptOnReplace = false;
    O->ReplaceAll = false;
    if (C.Replace) S.ShowReplaceDialog();
    else S.ShowFindDialog();
    EXPECT_EQ(Dialogs.ModalShown, 1);
    EXPECT_EQ(Created, 1);
    if (C.Replace)
      EXPECT_EQ((*S.GetLines())[0], C.Searched ? "1 two one" : "one two one");
    else
      EXPECT_EQ(S.GetFoundRect(), C.Searched ? TRect(0, 0, 3, 1) : TRect());
  }
}

TEST_F(SearchTest, CombinedWindowIsMadeOnceAndShownOnTheRequestedPage) {
  TTestDialogs Dialogs;
  const Integer Saved = TCustomMemoSource::SearchDialogMode();
  TCustomMemoSource::SearchDialogMode() = 0;
  TQuietSource S("a|b|c");
  S.SetCaret(0, 2);
  S.ShowFindDialog();
  EXPECT_EQ(Dialogs.WindowsCreated, 1);
  EXPECT_EQ(Dialogs.WindowPage, 0);
  EXPECT_EQ(Dialogs.WindowLine, 3) << "the caret line, counted from 1";
  EXPECT_TRUE(Dialogs.WindowVisible());
  EXPECT_EQ(Dialogs.ModalShown, 0);
  S.ShowReplaceDialog();
  EXPECT_EQ(Dialogs.WindowsCreated, 1) << "kept while open";
  EXPECT_EQ(Dialogs.WindowPage, 1);
  Dialogs.CloseWindow();
  S.ShowFindDialog();
  EXPECT_EQ(Dialogs.WindowsCreated, 2) << "a closed window is made anew";
  TCustomMemoSource::SearchDialogMode() = Saved;
}
