#include "MemoTestUtil.h"

namespace {

TPoint Mark(TCustomMemoSource& S, Integer N) {
  TPoint P;
  S.GetBookmark(N, P);
  return P;
}

TEST(TCustomMemoSource_Bookmarks, ToggleRemovesOnTheLineAndMovesElsewhere) {
  TMemoSource S(nullptr);
  SetText(S, "aaaa|bbbb|cccc");
  S.SetCaret(2, 1);
  S.ToggleBookmark(3);
  EXPECT_EQ(Mark(S, 3), TPoint(2, 1));
  S.SetCaret(0, 1);
  S.ToggleBookmark(3);
  EXPECT_EQ(Mark(S, 3), TPoint(-1, -1)) << "same line: removed";
  S.ToggleBookmark(3);
  S.SetCaret(1, 2);
  S.ToggleBookmark(3);
  EXPECT_EQ(Mark(S, 3), TPoint(1, 2)) << "another line: moved";
  EXPECT_EQ(S.BookmarkOnLine(1), 0);
  EXPECT_EQ(S.BookmarkOnLine(2), 3);
  S.ToggleBookmark(0);
  EXPECT_EQ(Mark(S, 0), TPoint(-1, -1)) << "number 0 is ignored";
}

TEST(TCustomMemoSource_Bookmarks, BookmarksFollowEdits) {
  struct TCase { const char* Why; TPoint Mark; void (*Edit)(TCustomMemoSource&); TPoint Want; };
  const TCase Cases[] = {
      {"five characters inserted left of it", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(2, 1); S.InsertText("12345"); }, {11, 1}},
      {"inserted at its column", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(6, 1); S.InsertText("x"); }, {7, 1}},
      {"inserted right of it", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(8, 1); S.InsertText("x"); }, {6, 1}},
      {"characters deleted before it", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(1, 1); S.DeleteChars(2); }, {4, 1}},
      {"line break before it", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(4, 1); S.InsertLineBreak(); }, {2, 2}},
      {"line break after it", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(8, 1); S.InsertLineBreak(); }, {6, 1}},
      {"line inserted above", {6, 1}, [](TCustomMemoSource& S) { S.SetCaret(0, 0); S.InsertLineBreak(); }, {6, 2}},
      {"join onto a 10-character line", {2, 1}, [](TCustomMemoSource& S) { S.SetCaret(10, 0); S.DeleteChar(); }, {12, 0}},
      {"line above deleted", {6, 2}, [](TCustomMemoSource& S) { S.SetCaret(0, 0); S.DeleteLine(); }, {6, 1}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    SetText(S, "0123456789|abcdefghij|ABCDEFGHIJ");
    S.SetCaret(C.Mark.X, C.Mark.Y);
    S.SetBookmark(5);
    C.Edit(S);
    EXPECT_EQ(Mark(S, 5), C.Want);
  }
}

TEST(TCustomMemoSource_Bookmarks, GotoBookmarkAlwaysReportsAPositionChange) {
  TMemoSource S(nullptr);
  SetText(S, "abc|def");
  S.SetCaret(1, 1);
  S.SetBookmark(2);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.GotoBookmark(2);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_TRUE(Has(E.Notices[0].State, msPositionChanged));
  S.SetCaret(0, 0);
  S.GotoBookmark(2);
  EXPECT_EQ(S.GetCaretPoint(), TPoint(1, 1));
  S.GotoBookmark(9);
  EXPECT_EQ(S.GetCaretPoint(), TPoint(1, 1)) << "an unset bookmark goes nowhere";
}

TEST(TCustomMemoSource_Bookmarks, SettingRepaintsWithoutEditing) {
  TMemoSource S(nullptr);
  SetText(S, "abc|def|ghi");
  S.SetCaret(0, 2);
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.SetBookmark(1);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_TRUE(Has(E.Notices[0].State, msBlockChanged));
  EXPECT_FALSE(Has(E.Notices[0].State, msEdited));
  EXPECT_EQ(E.Notices[0].First, 2);
  EXPECT_EQ(E.Notices[0].Last, 2);
  EXPECT_FALSE(S.GetModified());
}

TEST(TCustomMemoSource_Bookmarks, ListQueriesByColumns) {
  TMemoBookMarkList L;
  L.AddBookmark({8, 2}, 1);
  L.AddBookmark({3, 2}, 2);
  L.AddBookmark({3, 2}, 2);
  L.AddBookmark({0, 4}, 3);
  EXPECT_EQ(L.Count(), 3) << "an equal record is added once";
  EXPECT_EQ(L.BookmarkOnLine(2), 2) << "lowest column first";
  EXPECT_EQ(L.BookmarkInColumns(2, 4, 9), 1);
  EXPECT_EQ(L.BookmarkInColumns(2, 4, 8), 0) << "ToColumn is exclusive";
  TList Found;
  L.BookmarksInColumns(2, 0, &Found, 100);
  EXPECT_EQ(Found.GetCount(), 2);
  L.ShiftLines(2, 5, 1);
  EXPECT_EQ(L.BookmarkOnLine(3), 1) << "at or after the column: next line";
  EXPECT_EQ(L.BookmarkOnLine(5), 3) << "later lines move too";
  Integer Line = -1;
  EXPECT_TRUE(L.RemoveBookmark(2, Line));
  EXPECT_EQ(Line, 2);
  EXPECT_FALSE(L.RemoveBookmark(2, Line));
}

TEST(TCustomMemoSource_Bookmarks, ClearingTheLinesDropsBookmarks) {
  TMemoSource S(nullptr);
  SetText(S, "abc");
  S.SetBookmark(1);
  S.GetLines()->Clear();
  EXPECT_EQ(Mark(S, 1), TPoint(-1, -1));
}

}  // namespace
