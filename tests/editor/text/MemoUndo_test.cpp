#include "MemoTestUtil.h"

namespace {

// As the editor types: each character is one group of the insertion code.
void Type(TCustomMemoSource& S, const char* Chars) {
  for (const char* P = Chars; *P; ++P) {
    S.BeginUpdate(MemoCode::InsertText);
    S.InsertText(AnsiString(1, *P));
    S.MoveCaret(0, 1);
    S.EndUpdate();
  }
}

// Trailing blanks are not text the user sees; undoing a join or a padded
// insertion may leave them until the caret leaves the line.
std::string Trimmed(TCustomMemoSource& S) {
  std::string R;
  for (Integer I = 0; I < S.GetLineCount(); ++I) {
    std::string L = S.GetLineText(I);
    while (!L.empty() && L.back() == ' ') L.pop_back();
    R += (I ? "|" : "") + L;
  }
  return R;
}

TEST(TCustomMemoSource_Undo, GroupUndoTakesRunsOfTheSameCode) {
  struct TCase { bool GroupUndo; const char* After; };
  const TCase Cases[] = {{true, ""}, {false, "ab"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.GroupUndo);
    TMemoSource S(nullptr);
    if (!C.GroupUndo) S.SetOptions(S.GetOptions() - TStringsOptions{soGroupUndo});
    for (const char* Ch : {"a", "b", "c"}) {
      S.BeginUpdate(MemoCode::InsertText);
      S.InsertText(Ch);
      S.MoveCaret(0, 1);
      S.EndUpdate();
    }
    ASSERT_EQ(Text(S), "abc");
    S.Undo();
    EXPECT_EQ(Text(S), C.After);
  }
}

TEST(TCustomMemoSource_Undo, CaretMoveBetweenTypingRunsStopsTheUndo) {
  TMemoSource S(nullptr);
  Type(S, "ab");
  S.SetCaret(0, 0);
  Type(S, "xy");
  ASSERT_EQ(Text(S), "xyab");
  S.Undo();
  EXPECT_EQ(Text(S), "ab");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(0, 0));
}

TEST(TCustomMemoSource_Undo, UndoAndRedoRoundTripEveryEdit) {
  struct TCase { const char* Why; const char* Start; TPoint Caret; void (*Act)(TCustomMemoSource&); };
  const TCase Cases[] = {
      {"insert", "abc|def", {1, 1}, [](TCustomMemoSource& S) { S.InsertText("XYZ"); }},
      {"insert beyond the end", "ab", {5, 0}, [](TCustomMemoSource& S) { S.InsertText("q"); }},
      {"delete", "abcdef", {2, 0}, [](TCustomMemoSource& S) { S.DeleteChars(3); }},
      {"line break", "abcdef|g", {3, 0}, [](TCustomMemoSource& S) { S.InsertLineBreak(); }},
      {"line break after blanks", "ab   cd", {5, 0}, [](TCustomMemoSource& S) { S.InsertLineBreak(); }},
      {"join with padding", "ab|cd", {4, 0}, [](TCustomMemoSource& S) { S.DeleteChar(); }},
      {"enter with indent", "    ab|x", {6, 0}, [](TCustomMemoSource& S) { S.NewLine(); }},
      {"delete selection", "one|two|three", {0, 0},
       [](TCustomMemoSource& S) { S.SetSelection(stStreamSel, 1, 0, 2, 2); S.DeleteSelection(); }},
      {"backspace join", "ab|cd", {0, 1}, [](TCustomMemoSource& S) { S.Backspace(); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetOptions(S.GetOptions() + TStringsOptions{soBeyondFileEnd});
    SetText(S, C.Start);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    S.ClearUndo();
    S.SetModified(false);
    C.Act(S);
    const std::string After = Text(S);
    const TPoint CaretAfter = S.GetCaretPoint();
    ASSERT_NE(After, C.Start);
    EXPECT_TRUE(S.GetModified());
    S.Undo();
    EXPECT_EQ(Trimmed(S), C.Start);
    EXPECT_EQ(S.GetCaretPoint(), C.Caret);
    EXPECT_FALSE(S.GetModified()) << "back at the saved text";
    EXPECT_FALSE(S.CanUndo());
    S.Redo();
    EXPECT_EQ(Text(S), After);
    EXPECT_EQ(S.GetCaretPoint(), CaretAfter);
    EXPECT_TRUE(S.GetModified());
  }
}

TEST(TCustomMemoSource_Undo, ModifiedFollowsTheSavedPoint) {
  TMemoSource S(nullptr);
  SetText(S, "text");
  S.SetCaret(4, 0);
  Type(S, "!");
  EXPECT_TRUE(S.GetModified());
  S.Undo();
  EXPECT_FALSE(S.GetModified());
  S.MoveCaret(0, -2);
  EXPECT_FALSE(S.GetModified()) << "a caret move changes no text";

  Type(S, "ab");
  S.SetModified(false);
  S.Undo();
  EXPECT_TRUE(S.GetModified()) << "undone past the saved point";
  S.Redo();
  EXPECT_TRUE(S.GetModified()) << "the saved state stays lost until the next save";
}

TEST(TCustomMemoSource_Undo, EditOrCaretMoveEmptiesTheRedoList) {
  for (bool Move : {false, true}) {
    SCOPED_TRACE(Move);
    TMemoSource S(nullptr);
    SetText(S, "xyz");
    S.SetCaret(3, 0);
    Type(S, "ab");
    S.Undo();
    ASSERT_TRUE(S.CanRedo());
    if (Move)
      S.SetCaret(1, 0);
    else
      S.InsertText("z");
    EXPECT_FALSE(S.CanRedo());
  }
}

TEST(TCustomMemoSource_Undo, LimitCutsOnlyWhenHundredOver) {
  TMemoSource S(nullptr);
  S.SetUndoLimit(10);
  S.SetOptions(S.GetOptions() + TStringsOptions{soBeyondFileEnd});
  for (int I = 0; I < 55; ++I) {
    S.InsertText("x");  // one record
    S.MoveCaret(0, 1);  // one record
  }
  EXPECT_EQ(S.GetUndoList().Count(), 110) << "not yet cut";
  S.InsertText("y");
  EXPECT_EQ(S.GetUndoList().Count(), 111);
  S.InsertText("y");
  EXPECT_EQ(S.GetUndoList().Count(), 11) << "cut to 10, then the new record";
}

TEST(TCustomMemoSource_Undo, LimitNeverCutsInsideAnUndoBlock) {
  TMemoSource S(nullptr);
  S.SetUndoLimit(10);
  S.BeginUndoBlock();
  for (int I = 0; I < 111; ++I) S.InsertText("x");
  S.EndUndoBlock();
  S.InsertText("y");
  EXPECT_GT(S.GetUndoList().Count(), 11);
}

TEST(TCustomMemoSource_Undo, UndoBlockIsReversedWhole) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() - TStringsOptions{soGroupUndo});
  SetText(S, "");
  S.BeginUndoBlock();
  S.BeginUpdate(MemoCode::InsertText);
  S.InsertText("a");
  S.EndUpdate();
  S.BeginUpdate(MemoCode::LineBreak);
  S.InsertLineBreak();
  S.EndUpdate();
  S.EndUndoBlock();
  S.Undo();
  EXPECT_EQ(S.GetLineCount(), 0);
}

TEST(TCustomMemoSource_Undo, NothingToUndoOrReadOnlyDoesNothing) {
  TMemoSource S(nullptr);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.Undo();
  S.Redo();
  EXPECT_TRUE(E.Notices.empty());
  Type(S, "ab");
  S.SetReadOnly(true);
  S.Undo();
  EXPECT_EQ(Text(S), "ab");
}

TEST(TCustomMemoSource_Undo, UndoNotifiesWithTheUndoState) {
  TMemoSource S(nullptr);
  Type(S, "abc");
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.Undo();
  ASSERT_FALSE(E.Notices.empty());
  EXPECT_TRUE(Has(E.Notices.front().State, msUndo));
  EXPECT_TRUE(Has(E.Notices.front().State, msEdited));
}

TEST(TCustomMemoSource_Undo, DisallowingUndoClearsAndStopsRecording) {
  TMemoSource S(nullptr);
  Type(S, "ab");
  S.SetAllowUndo(false);
  EXPECT_FALSE(S.CanUndo());
  Type(S, "c");
  EXPECT_FALSE(S.CanUndo());
}

}  // namespace
