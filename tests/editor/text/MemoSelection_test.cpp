#include "MemoTestUtil.h"

namespace {

TEST(TCustomMemoSource_Selection, ShiftRightThenBackLeavesNoSelection) {
  TMemoSource S(nullptr);
  SetText(S, "abcdefgh");
  S.SetCaret(2, 0);
  for (int I = 0; I < 3; ++I) S.SelectRight();
  EXPECT_EQ(S.GetSelectionType(), stStreamSel);
  EXPECT_EQ(S.GetSelectionRect(), TRect(2, 0, 5, 0));
  EXPECT_EQ(S.GetSelectionStrings()->GetText(), "cde");
  for (int I = 0; I < 3; ++I) S.SelectLeft();
  EXPECT_EQ(S.GetSelectionType(), stNotSelected) << "an empty selection is dropped";
}

TEST(TCustomMemoSource_Selection, ExtendingUpAndDownKeepsTheAnchor) {
  TMemoSource S(nullptr);
  SetText(S, "aaaa|bbbb|cccc");
  S.SetCaret(2, 1);
  S.SelectDown();
  EXPECT_EQ(S.GetSelectionRect(), TRect(2, 1, 2, 2));
  S.SelectUp();
  S.SelectUp();
  EXPECT_EQ(S.GetSelectionRect(), TRect(2, 0, 2, 1)) << "corners swap when they cross";
  EXPECT_EQ(S.GetSelectionStrings()->GetText(), "aa\r\nbb");
}

TEST(TCustomMemoSource_Selection, BlockOptionMapsRequests) {
  struct TCase { TBlockOption Option; TSelectionType Want; };
  const TCase Cases[] = {{bkBoth, stBlockSel}, {bkStreamSel, stStreamSel}, {bkBlockSel, stBlockSel}, {bkNone, stNotSelected}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Option);
    TMemoSource S(nullptr);
    SetText(S, "abcdef|ghijkl");
    S.SetBlockOption(C.Option);
    S.SetCaret(1, 0);
    S.BlockSelectDown();
    S.BlockSelectRight();
    EXPECT_EQ(S.GetSelectionType(), C.Want);
  }
}

TEST(TCustomMemoSource_Selection, ChangingBlockOptionConvertsTheSelection) {
  TMemoSource S(nullptr);
  SetText(S, "abcdef|ghijkl");
  S.SetSelection(stBlockSel, 1, 0, 3, 1);
  S.SetBlockOption(bkStreamSel);
  EXPECT_EQ(S.GetSelectionType(), stStreamSel);
  EXPECT_EQ(S.GetSelectionRect(), TRect(1, 0, 3, 1));
  S.SetBlockOption(bkNone);
  EXPECT_FALSE(S.HasSelection());
  S.SelectAll();
  EXPECT_FALSE(S.HasSelection()) << "SelectAll does nothing under bkNone";
}

TEST(TCustomMemoSource_Selection, SelectedColumnsPerLine) {
  struct TCase { TSelectionType Type; Integer Line, Start, Stop; };
  const TCase Cases[] = {
      {stStreamSel, 1, 3, INT_MAX}, {stStreamSel, 2, 0, INT_MAX}, {stStreamSel, 3, 0, 2}, {stStreamSel, 4, 0, 0},
      {stBlockSel, 1, 3, 3}, {stBlockSel, 2, 2, 4}, {stBlockSel, 3, 2, 4}, {stBlockSel, 0, 0, 0},
  };
  for (const auto& C : Cases) {
    TMemoSource S(nullptr);
    SetText(S, "x|y|z|w|v");
    if (C.Type == stStreamSel)
      S.SetSelection(stStreamSel, 3, 1, 2, 3);
    else
      S.SetSelection(stBlockSel, 2, 2, 3, 3);
    Integer Start = -1, Stop = -1;
    S.GetSelectedColumns(C.Line, Start, Stop);
    if (C.Type == stBlockSel && C.Line == 1) continue;  // outside the block
    EXPECT_EQ(Start, C.Start) << C.Type << " line " << C.Line;
    EXPECT_EQ(Stop, C.Stop) << C.Type << " line " << C.Line;
  }
  TMemoSource S(nullptr);
  SetText(S, "abcdef|abcdef");
  S.SetSelection(stStreamSel, 1, 0, 4, 1);
  EXPECT_FALSE(S.IsInSelection(4, 1)) << "a stream leaves out its end";
  S.SetSelection(stBlockSel, 1, 0, 4, 1);
  EXPECT_TRUE(S.IsInSelection(4, 1)) << "a block includes its right column";
}

TEST(TCustomMemoSource_Selection, DeleteSelectionCases) {
  struct TCase { const char* Why; const char* Start; TSelectionType Type; TRect R; const char* Want; TPoint Caret; };
  const TCase Cases[] = {
      {"stream on one line", "abcdef", stStreamSel, {1, 0, 4, 0}, "aef", {1, 0}},
      {"stream over lines", "abcd|efgh|ijkl", stStreamSel, {2, 0, 1, 2}, "abjkl", {2, 0}},
      {"stream to the start of a line", "abcd|efgh|ijkl", stStreamSel, {1, 0, 0, 2}, "aijkl", {1, 0}},
      {"one-column block", "abcd|efgh", stBlockSel, {2, 0, 2, 1}, "abd|efh", {2, 1}},
      {"block wider than a line", "abcdef|ab|abcdef", stBlockSel, {1, 0, 3, 2}, "aef|a|aef", {1, 2}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    SetText(S, C.Start);
    S.SetCaret(C.R.Right, C.R.Bottom);  // where extending the selection leaves it
    S.SetSelection(C.Type, C.R.Left, C.R.Top, C.R.Right, C.R.Bottom);
    S.DeleteSelection();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_FALSE(S.HasSelection());
    EXPECT_EQ(S.GetCaretPoint(), C.Caret);
    S.Undo();
    EXPECT_EQ(Text(S), C.Start) << "one step undoes it";
  }
}

TEST(TCustomMemoSource_Selection, SelectionStringsCutLikeTheSelection) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  SetText(S, "abcdef|gh|ijklmn");
  S.SetSelection(stStreamSel, 2, 0, 0, 2);
  TStrings* Sel = S.GetSelectionStrings();
  ASSERT_EQ(Sel->GetCount(), 3);
  EXPECT_EQ(Sel->GetStrings(0), "cdef");
  EXPECT_EQ(Sel->GetStrings(1), "gh");
  EXPECT_EQ(Sel->GetStrings(2), "") << "a selection ending at column 0 has an empty last line";
  S.SetSelection(stBlockSel, 1, 0, 3, 2);
  EXPECT_EQ(Sel->GetText(), "bcd\r\nh  \r\njkl") << "blocks are padded to their width";
}

TEST(TCustomMemoSource_Selection, RawSelectionStringsKeepTabs) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  SetText(S, "a\tb|c");
  S.SetSelection(stStreamSel, 0, 0, 10, 0);
  S.GetStrings()->Raw = true;
  EXPECT_EQ(S.GetSelectionStrings()->GetStrings(0), "a\tb");
  S.GetStrings()->Raw = false;
  EXPECT_EQ(S.GetSelectionStrings()->GetStrings(0), "a        b");
}

TEST(TCustomMemoSource_Selection, CaretMoveUnselectsUnlessPersistent) {
  for (bool Persistent : {false, true}) {
    SCOPED_TRACE(Persistent);
    TMemoSource S(nullptr);
    if (Persistent) S.SetOptions(S.GetOptions() + TStringsOptions{soPersistentBlocks});
    SetText(S, "abcdef");
    S.SetSelection(stStreamSel, 1, 0, 3, 0);
    S.CaretRight();
    EXPECT_EQ(S.HasSelection(), Persistent);
  }
}

TEST(TCustomMemoSource_Selection, StreamCornersFollowEditsButBlocksStay) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soPersistentBlocks});
  SetText(S, "abcdef|ghijkl");
  S.SetSelection(stStreamSel, 2, 1, 4, 1);
  S.SetCaret(0, 1);
  S.InsertText("XY");
  EXPECT_EQ(S.GetSelectionRect(), TRect(4, 1, 6, 1));
  EXPECT_EQ(S.GetSelectionStrings()->GetText(), "ij");
  S.SetSelection(stBlockSel, 2, 0, 4, 1);
  S.SetCaret(0, 0);
  S.InsertLineBreak();
  EXPECT_EQ(S.GetSelectionRect(), TRect(2, 0, 4, 1)) << "a block keeps its place";
}

TEST(TCustomMemoSource_Selection, TypingOverASelectionReplacesIt) {
  TMemoSource S(nullptr);
  SetText(S, "abcdef");
  S.SetCaret(4, 0);
  S.SetSelection(stStreamSel, 1, 0, 4, 0);
  S.DeleteKey();
  EXPECT_EQ(Text(S), "aef");
  S.SetSelection(stStreamSel, 0, 0, 1, 0);
  S.Backspace();
  EXPECT_EQ(Text(S), "ef");
}

TEST(TCustomMemoSource_Selection, WordBoundsAndSelections) {
  struct TCase { Integer Col; TWordSelectionType Type; Integer Start, Stop; };
  const TCase Cases[] = {
      {1, wsWordOnly, 1, 3},       {3, wsWordOnly, 1, 3},      {4, wsWordOnly, 5, 7},
      {1, wsWordWithSpace, 1, 4},  {9, wsWordOnly, 10, 13},     {1, wsUntilNextWord, 1, 4},
      {8, wsWordOnly, 5, 7},
  };
  TMemoSource S(nullptr);
  SetText(S, "foo bar  quux|   ");
  for (const auto& C : Cases) {
    Integer Stop = -1, Start = -1;
    S.GetWordBounds(C.Col, 0, C.Type, Stop, Start);
    EXPECT_EQ(Start, C.Start) << "column " << C.Col << " type " << C.Type;
    EXPECT_EQ(Stop, C.Stop) << "column " << C.Col << " type " << C.Type;
  }
  Integer Stop = -1, Start = -1;
  S.GetWordBounds(0, 1, wsWordOnly, Stop, Start);
  EXPECT_EQ(Start, 0) << "a line of blanks holds no word";
  AnsiString W;
  S.GetWordAt(5, 0, W);
  EXPECT_EQ(W, "bar");
  S.SetCaret(5, 0);
  S.SelectWord();
  EXPECT_EQ(S.GetSelectionRect(), TRect(4, 0, 7, 0));
  EXPECT_EQ(S.GetCaretPoint(), TPoint(7, 0));
}

TEST(TCustomMemoSource_Selection, SelectAllAndLine) {
  TMemoSource S(nullptr);
  SetText(S, "ab|cde  ");
  S.SelectAll();
  EXPECT_EQ(S.GetSelectionRect(), TRect(0, 0, 3, 1)) << "to the end of the last line without blanks";
  S.SetCaret(1, 0);
  S.SelectLine();
  EXPECT_EQ(S.GetSelectionRect(), TRect(0, 0, 0, 1));
}

}  // namespace
