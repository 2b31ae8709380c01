// Bookmarks of the memo source.
#include "editor/text/MemoSource.h"

void TCustomMemoSource::ToggleBookmark(Integer Number) {
  if (Number <= 0 || Number > 255) return;
  TMemoBookmark* B = nullptr;
  if (FBookmarks.FindBookmark(Number, B) && B->Line == FCaret->LinePos)
    RemoveBookmarkCmd(Number);
  else
    SetBookmark(Number);
}

void TCustomMemoSource::SetBookmark(Integer Number) {
  if (Number <= 0 || Number > 255) return;
  BeginUpdate(MemoCode::SetBookmark);
  Integer OldLine = 0;
  if (FBookmarks.RemoveBookmark(Number, OldLine)) RepaintLine(OldLine);
  FBookmarks.AddBookmark(FCaret->Point(), Number);
  RepaintLine(FCaret->LinePos);
  EndUpdate();
}

void TCustomMemoSource::RemoveBookmarkCmd(Integer Number) {
  if (Number <= 0 || Number > 255) return;
  BeginUpdate(MemoCode::RemoveBookmark);
  Integer Line = 0;
  if (FBookmarks.RemoveBookmark(Number, Line)) RepaintLine(Line);
  EndUpdate();
}

bool TCustomMemoSource::GetBookmark(Integer Number, TPoint& Point) const {
  TMemoBookmark* B = nullptr;
  if (Number > 0 && FBookmarks.FindBookmark(Number, B)) {
    Point = {B->Column, B->Line};
    return true;
  }
  Point = {-1, -1};
  return false;
}

void TCustomMemoSource::GotoBookmark(Integer Number) {
  TPoint P;
  if (!GetBookmark(Number, P)) return;
  // The flag makes the group report a position change even when the caret
  // is already there, so editors scroll to it.
  FGotoBookmark = true;
  SetCaret(P.X, P.Y);
  FGotoBookmark = false;
}

Integer TCustomMemoSource::BookmarkOnLine(Integer Line) const {
  if (Line < 0 || Line >= GetLineCount()) return 0;
  return FBookmarks.BookmarkOnLine(Line);
}

Integer TCustomMemoSource::BookmarkInColumns(Integer Line, Integer FromColumn, Integer ToColumn) const {
  return FBookmarks.BookmarkInColumns(Line, FromColumn, ToColumn);
}

void TCustomMemoSource::BookmarksInColumns(Integer Line, Integer FromColumn, TList* List, Integer ToColumn) const {
  FBookmarks.BookmarksInColumns(Line, FromColumn, List, ToColumn);
}

void TCustomMemoSource::RepaintLine(Integer Line) {
  BeginUpdate(MemoCode::RepaintLine);
  FState.Include(msBlockChanged);
  WidenChangedRange(Line, Line);
  EndUpdate();
}
