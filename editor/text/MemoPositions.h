// MemoPositions.h — sorted lists of text points: TMemoPositionList (records
// that start with a column and a line) and TMemoBookMarkList, the bookmarks
// of a memo source (column, line, number). Both own their records.
//
// Bookmarks follow edits: the source shifts them along a line when
// characters go in or out, and down or up when lines are split or joined.
#pragma once
#include "editor/base/SortedLists.h"

struct TMemoPosition {
  Integer Column = 0;
  Integer Line = 0;
};

struct TMemoBookmark : TMemoPosition {
  Integer Number = 0;
};

// Ordered by line, then column. Frees its records on Clear and destruction.
class TMemoPositionList : public TSortedListEx {
public:
  TMemoPositionList() { DuplicateMode = sdAccept; }
  ~TMemoPositionList() override;
  int CompareItems(void* Item1, void* Item2) override;
  // The key is the address of a TMemoPosition.
  int CompareKey(void* Item, NativeInt Key) override;
  void Delete(Integer Index) override;
  void ClearRecords();
  TMemoPosition* Position(Integer Index) const { return static_cast<TMemoPosition*>(Items(Index)); }
  // Sorts again after the records were changed in place.
  void Resort();

protected:
  virtual void FreeRecord(void* Item);
};

class TMemoBookMarkList : public TMemoPositionList {
public:
  // Line, column, then number.
  int CompareItems(void* Item1, void* Item2) override;
  TMemoBookmark* Bookmark(Integer Index) const { return static_cast<TMemoBookmark*>(Items(Index)); }

  void AddBookmark(const TPoint& Point, Integer Number);
  bool RemoveBookmark(Integer Number, Integer& Line);
  bool FindBookmark(Integer Number, TMemoBookmark*& Record) const;
  // The first bookmark on the line in list order (lowest column); 0 none.
  Integer BookmarkOnLine(Integer Line) const;
  Integer BookmarkInColumns(Integer Line, Integer FromColumn, Integer ToColumn) const;
  // Fills List (cleared first) with the line's records in the column range;
  // List does not own them.
  void BookmarksInColumns(Integer Line, Integer FromColumn, TList* List, Integer ToColumn) const;
  // Delta > 0 moves those at column >= FromColumn, Delta < 0 those at
  // column > FromColumn.
  void ShiftColumns(Integer Line, Integer FromColumn, Integer Delta);
  // Later lines, and those on Line at column >= FromColumn, move by Delta lines.
  void ShiftLines(Integer Line, Integer FromColumn, Integer Delta);

protected:
  void FreeRecord(void* Item) override;

private:
  // Index of the first record on Line or after it.
  Integer FirstOnLine(Integer Line) const;
};
