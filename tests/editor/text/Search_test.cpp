#include "editor/text/Search.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "MemoTestUtil.h"
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
    TMemoSource S(nullptr);
    TQuiet Q;
    S.OnSearchException = TSearchExceptionEvent(&Q, &TQuiet::Handle);
    SetText(S, C.Text);
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
      EXPECT_EQ(Q.Messages.size(), 1u);
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
  TMemoSource S(nullptr);
  TQuiet Q;
  S.OnSearchException = TSearchExceptionEvent(&Q, &TQuiet::Handle);
  SetText(S, "abc");
  O->TextToFind = "a&b";
  S.FindText();
  ASSERT_EQ(Q.Messages.size(), 1u);
  EXPECT_EQ(Q.Messages[0], "Search string 'a&&b' not found");
}

TEST_F(SearchTest, ReplaceAllIsOneUndoStepAndEmptyReplacementDeletes) {
  TMemoSource S(nullptr);
  TQuiet Q;
  S.OnSearchException = TSearchExceptionEvent(&Q, &TQuiet::Handle);
  SetText(S, "a-b-c|-d");
  O->TextToFind = "-";
  O->ReplaceWith = "";
  O->ReplaceAll = true;
  S.ReplaceText();
  EXPECT_EQ(Text(S), "abc|d");
  EXPECT_EQ(S.GetReplacedCount(), 3);
  EXPECT_TRUE(Q.Messages.empty()) << "the end of a run that replaced something is no failure";
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

}  // namespace
