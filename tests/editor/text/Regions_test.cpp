#include "editor/text/Regions.h"

#include "MemoTestUtil.h"

namespace {

void Hide(TVisibleLinesList& L, std::initializer_list<Integer> Lines) {
  for (Integer N : Lines) L.SetLineVisible(N, false);
}

TEST(TVisibleLinesList, MapsRealAndVisibleLines) {
  struct TCase { Integer Real, Visible; const char* Why; };
  TVisibleLinesList L;
  Hide(L, {7, 5, 6, 12});
  const TCase Cases[] = {
      {0, 0, "before any hidden line"},   {4, 4, "just before the run"},
      {8, 5, "after the run of three"},   {11, 8, "between runs"},
      {13, 9, "after both runs"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(L.RealToVisible(C.Real), C.Visible);
    EXPECT_EQ(L.VisibleToReal(C.Visible), C.Real);
  }
  TVisibleLinesList Empty;
  EXPECT_EQ(Empty.RealToVisible(9), 9);
  EXPECT_EQ(Empty.VisibleToReal(9), 9);
}

TEST(TVisibleLinesList, KeepsEachLineOnceInOrder) {
  TVisibleLinesList L;
  Hide(L, {9, 3, 9, 1});
  ASSERT_EQ(L.Count(), 3);
  EXPECT_EQ(L.Line(0), 1);
  EXPECT_EQ(L.Line(2), 9);
  L.SetLineVisible(3, true);
  L.SetLineVisible(4, true);
  EXPECT_TRUE(L.IsLineVisible(3));
  EXPECT_FALSE(L.IsLineVisible(9));
  EXPECT_EQ(L.Count(), 2);
}

TEST(TVisibleLinesList, ShiftAfterMovesLaterLinesAndDropsJoinedOnes) {
  TVisibleLinesList L;
  Hide(L, {2, 4, 5, 8});
  L.ShiftAfter(4, 2);
  EXPECT_FALSE(L.IsLineVisible(4));
  EXPECT_FALSE(L.IsLineVisible(7));
  EXPECT_FALSE(L.IsLineVisible(10));
  EXPECT_TRUE(L.IsLineVisible(5));
  // Joining line 5 into 4: the joined line's entry goes, the rest move up.
  TVisibleLinesList J;
  Hide(J, {4, 5, 8});
  J.ShiftAfter(4, -1);
  ASSERT_EQ(J.Count(), 2);
  EXPECT_EQ(J.Line(0), 4);
  EXPECT_EQ(J.Line(1), 7);
}

// Lines: 0 head, 1-3 in the region (2 a nested head with 3 inside), 4 outside.
void MakeRegion(TCustomMemoSource& S) {
  SetText(S, "head|a|nested|b|after");
  for (Integer L = 1; L <= 3; ++L) S.SetLineInRegion(L, true);
  S.SetRegionState(0, 1);
  S.SetRegionState(2, 1);
}

TEST(TCustomMemoSource_Regions, CollapsingHidesTheRunAndNotifiesFromTheHead) {
  TMemoSource S(nullptr);
  MakeRegion(S);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.SetRegionState(0, 0);
  EXPECT_EQ(S.GetRegionState(0), 0);
  for (Integer L = 1; L <= 3; ++L) EXPECT_FALSE(S.IsLineVisible(L)) << L;
  EXPECT_TRUE(S.IsLineVisible(4));
  EXPECT_EQ(S.RealToVisible(4), 1);
  EXPECT_EQ(S.VisibleToReal(1), 4);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_EQ(E.Notices[0].Code, MemoCode::LineState);
  EXPECT_EQ(E.Notices[0].First, 0);
  EXPECT_TRUE(Has(E.Notices[0].State, msCountChanged));
  EXPECT_TRUE(Has(E.Notices[0].State, msBlockChanged));
  EXPECT_FALSE(Has(E.Notices[0].State, msEdited));
}

TEST(TCustomMemoSource_Regions, ExpandingAgainLeavesACollapsedNestedHeadExpanded) {
  TMemoSource S(nullptr);
  MakeRegion(S);
  S.SetRegionState(2, 0);
  S.SetRegionState(0, 0);
  S.SetRegionState(0, 1);
  EXPECT_EQ(S.GetRegionState(2), 1);
  EXPECT_EQ(S.GetHiddenLines().Count(), 0);
  S.SetRegionState(0, 2);
  EXPECT_EQ(S.GetRegionState(0), 2);
  EXPECT_EQ(S.GetRegionState(99), 2) << "outside the text";
}

TEST(TCustomMemoSource_Regions, InRegionFlagHidesOnlyBelowHiddenOrCollapsed) {
  TMemoSource S(nullptr);
  SetText(S, "head|x|y|z");
  S.SetRegionState(0, 0);
  S.SetLineInRegion(1, true);
  EXPECT_FALSE(S.IsLineVisible(1)) << "below a collapsed head";
  S.SetLineInRegion(2, true);
  EXPECT_FALSE(S.IsLineVisible(2)) << "below a hidden line";
  S.SetLineInRegion(1, false);
  EXPECT_TRUE(S.IsLineVisible(1));
  S.SetRegionState(0, 1);
  EXPECT_FALSE(S.IsLineVisible(2)) << "the run ends at the first line outside the region";
  TMemoSource T(nullptr);
  SetText(T, "head|x");
  T.SetRegionState(0, 1);
  T.SetLineInRegion(1, true);
  EXPECT_TRUE(T.IsLineVisible(1)) << "below an expanded head";
}

TEST(TCustomMemoSource_Regions, SetLineStateReportsWhetherTheBitChanged) {
  TMemoSource S(nullptr);
  SetText(S, "a|b");
  TRecordingEditor E(nullptr);
  E.Attach(S);
  EXPECT_TRUE(S.SetLineState(1, 1, 6, true));
  EXPECT_FALSE(S.SetLineState(1, 1, 6, true));
  EXPECT_FALSE(S.SetLineState(5, 5, 6, true)) << "outside the text";
  EXPECT_EQ(S.GetLineItem(1)->Flags, 64);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_EQ(E.Notices[0].First, 1);
  EXPECT_EQ(E.Notices[0].Last, 1);
}

TEST(TCustomMemoSource_Regions, EditsKeepHiddenLinesInStep) {
  TMemoSource S(nullptr);
  SetText(S, "top|head|in1|in2|after");
  S.SetLineInRegion(2, true);
  S.SetLineInRegion(3, true);
  S.SetRegionState(1, 0);
  // A break above the region moves its hidden lines down.
  S.SetCaret(1, 0);
  S.InsertLineBreak();
  EXPECT_EQ(Text(S), "t|op|head|in1|in2|after");
  EXPECT_FALSE(S.IsLineVisible(3));
  EXPECT_FALSE(S.IsLineVisible(4));
  EXPECT_TRUE(S.IsLineVisible(5));
  // Joining back moves them up again.
  S.Undo();
  EXPECT_EQ(Text(S), "top|head|in1|in2|after");
  EXPECT_FALSE(S.IsLineVisible(2));
  EXPECT_TRUE(S.IsLineVisible(4));
  // Splitting the collapsed head expands it first; the new line joins the region.
  S.SetCaret(2, 1);
  S.InsertLineBreak();
  EXPECT_EQ(Text(S), "top|he|ad|in1|in2|after");
  EXPECT_EQ(S.GetRegionState(1), 1);
  EXPECT_EQ(S.GetHiddenLines().Count(), 0);
  EXPECT_NE(S.GetLineItem(2)->Flags & lfInRegion, 0);
}

TEST(TCustomMemoSource_Regions, SourceCaretMoveOntoHiddenLineExpandsNearestHead) {
  TMemoSource S(nullptr);
  SetText(S, "outer|inner|x|y");
  for (Integer L = 1; L <= 3; ++L) S.SetLineInRegion(L, true);
  S.SetRegionState(1, 0);
  S.SetRegionState(0, 0);
  S.SetCaret(0, 3);
  EXPECT_EQ(S.GetRegionState(1), 1) << "the nearest collapsed head above";
  EXPECT_EQ(S.GetRegionState(0), 0) << "only that one";
  EXPECT_TRUE(S.IsLineVisible(3));
  EXPECT_FALSE(S.IsLineVisible(1));
}

TEST(TCustomMemoSource_LineState, ReadOnlyLineRefusesEditsSilently) {
  TMemoSource S(nullptr);
  SetText(S, "free|locked|free");
  S.SetLineState(1, 1, 1, true);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.SetCaret(2, 1);
  E.Notices.clear();
  EXPECT_FALSE(S.InsertText("x"));
  S.DeleteChars(1);
  S.InsertLineBreak();
  S.SetCaret(4, 0);
  E.Notices.clear();
  S.DeleteChar();
  EXPECT_EQ(Text(S), "free|locked|free");
  EXPECT_TRUE(E.Notices.empty());
  EXPECT_TRUE(S.IsNextLineReadOnly());
}

TEST(TCustomMemoSource_LineState, HighlightLastsUntilTheNextChange) {
  TMemoSource S(nullptr);
  SetText(S, "a|b|c");
  S.SetLineStyle(1, 3);
  S.HighlightLine(1, 9);
  EXPECT_EQ(S.GetLineStyle(1), 9);
  S.HighlightLine(2, 9);
  EXPECT_EQ(S.GetLineStyle(1), 3) << "a new highlight restores the old line";
  S.SetCaret(1, 0);
  EXPECT_EQ(S.GetLineStyle(2), 0) << "a caret move restores the style";
}

}  // namespace
