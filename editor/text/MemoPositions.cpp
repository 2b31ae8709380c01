#include "editor/text/MemoPositions.h"

namespace {
int Sign(Integer A, Integer B) { return A < B ? -1 : (A > B ? 1 : 0); }
int ComparePoints(const TMemoPosition* A, const TMemoPosition* B) {
  const int C = Sign(A->Line, B->Line);
  return C ? C : Sign(A->Column, B->Column);
}
}  // namespace

// ---------------------------------------------------------------------------
// TMemoPositionList

TMemoPositionList::~TMemoPositionList() { ClearRecords(); }

int TMemoPositionList::CompareItems(void* Item1, void* Item2) {
  return ComparePoints(static_cast<TMemoPosition*>(Item1), static_cast<TMemoPosition*>(Item2));
}

int TMemoPositionList::CompareKey(void* Item, NativeInt Key) {
  return ComparePoints(static_cast<TMemoPosition*>(Item), reinterpret_cast<const TMemoPosition*>(Key));
}

void TMemoPositionList::FreeRecord(void* Item) { delete static_cast<TMemoPosition*>(Item); }

void TMemoPositionList::Delete(Integer Index) {
  void* Item = Items(Index);
  TSortedListEx::Delete(Index);
  FreeRecord(Item);
}

void TMemoPositionList::ClearRecords() {
  for (Integer I = 0; I < Count(); ++I) FreeRecord(Items(I));
  Clear();
}

void TMemoPositionList::Resort() {
  SetKeepSorted(false);
  SetKeepSorted(true);
}

// ---------------------------------------------------------------------------
// TMemoBookMarkList

int TMemoBookMarkList::CompareItems(void* Item1, void* Item2) {
  const auto* A = static_cast<TMemoBookmark*>(Item1);
  const auto* B = static_cast<TMemoBookmark*>(Item2);
  const int C = ComparePoints(A, B);
  return C ? C : Sign(A->Number, B->Number);
}

void TMemoBookMarkList::FreeRecord(void* Item) { delete static_cast<TMemoBookmark*>(Item); }

void TMemoBookMarkList::AddBookmark(const TPoint& Point, Integer Number) {
  for (Integer I = 0; I < Count(); ++I) {
    const TMemoBookmark* B = Bookmark(I);
    if (B->Column == Point.X && B->Line == Point.Y && B->Number == Number) return;
  }
  auto* B = new TMemoBookmark;
  B->Column = Point.X;
  B->Line = Point.Y;
  B->Number = Number;
  Add(B);
}

bool TMemoBookMarkList::RemoveBookmark(Integer Number, Integer& Line) {
  for (Integer I = Count() - 1; I >= 0; --I) {
    if (Bookmark(I)->Number == Number) {
      Line = Bookmark(I)->Line;
      Delete(I);
      return true;
    }
  }
  return false;
}

bool TMemoBookMarkList::FindBookmark(Integer Number, TMemoBookmark*& Record) const {
  for (Integer I = 0; I < Count(); ++I) {
    if (Bookmark(I)->Number == Number) {
      Record = Bookmark(I);
      return true;
    }
  }
  Record = nullptr;
  return false;
}

Integer TMemoBookMarkList::FirstOnLine(Integer Line) const {
  Integer Lo = 0, Hi = Count();
  while (Lo < Hi) {
    const Integer Mid = (Lo + Hi) / 2;
    if (Bookmark(Mid)->Line < Line)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return Lo;
}

Integer TMemoBookMarkList::BookmarkOnLine(Integer Line) const {
  const Integer I = FirstOnLine(Line);
  return I < Count() && Bookmark(I)->Line == Line ? Bookmark(I)->Number : 0;
}

Integer TMemoBookMarkList::BookmarkInColumns(Integer Line, Integer FromColumn, Integer ToColumn) const {
  for (Integer I = FirstOnLine(Line); I < Count() && Bookmark(I)->Line == Line; ++I) {
    const TMemoBookmark* B = Bookmark(I);
    if (B->Column >= FromColumn && B->Column < ToColumn) return B->Number;
  }
  return 0;
}

void TMemoBookMarkList::BookmarksInColumns(Integer Line, Integer FromColumn, TList* List, Integer ToColumn) const {
  List->Clear();
  for (Integer I = FirstOnLine(Line); I < Count() && Bookmark(I)->Line == Line; ++I) {
    TMemoBookmark* B = Bookmark(I);
    if (B->Column >= FromColumn && B->Column < ToColumn) List->Add(B);
  }
}

void TMemoBookMarkList::ShiftColumns(Integer Line, Integer FromColumn, Integer Delta) {
  if (Delta == 0) return;
  bool Moved = false;
  for (Integer I = FirstOnLine(Line); I < Count() && Bookmark(I)->Line == Line; ++I) {
    TMemoBookmark* B = Bookmark(I);
    if (Delta > 0 ? B->Column >= FromColumn : B->Column > FromColumn) {
      B->Column += Delta;
      Moved = true;
    }
  }
  if (Moved) Resort();
}

void TMemoBookMarkList::ShiftLines(Integer Line, Integer FromColumn, Integer Delta) {
  if (Delta == 0) return;
  bool Moved = false;
  for (Integer I = FirstOnLine(Line); I < Count(); ++I) {
    TMemoBookmark* B = Bookmark(I);
    if (B->Line > Line || B->Column >= FromColumn) {
      B->Line += Delta;
      Moved = true;
    }
  }
  if (Moved) Resort();
}
