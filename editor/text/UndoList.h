// UndoList.h — the records that say how to reverse one elementary edit of a
// memo source, and the list that holds them. The source keeps two lists
// (undo and redo); Undo reverses records through the same elementary edits,
// which write their own records into the other list (MemoSource.h).
//
// The records hold strings, so the list is a vector of records rather than
// the library's raw record array; its growth and shrink rules are kept.
#pragma once
#include <vector>
#include "platform/rtl/Object.h"

// Kinds of undo record.
inline constexpr Byte ukCaretMove = 0;      // ValueA line delta, ValueB column delta
inline constexpr Byte ukInsertText = 1;     // ValueA characters inserted
inline constexpr Byte ukLineBreak = 2;
inline constexpr Byte ukJoinLines = 3;
inline constexpr Byte ukDeleteChars = 4;    // Text, Attrs: what went
inline constexpr Byte ukReplaceAttrs = 5;   // ValueA line, ValueB 1-based column, Attrs: the old bytes

struct TUndoRecord {
  Byte Kind = 0;
  Integer ValueA = 0;
  Integer ValueB = 0;
  AnsiString Text;
  AnsiString Attrs;
  Byte FirstOfGroup = 0;
  Byte Code = 0;
  Byte InUndoBlock = 0;
};

class TUndoList : public TObject {
public:
  TUndoList() = default;

  // Appends a zero-filled record; the reference lives until the next change
  // of the list.
  TUndoRecord& AddRecord();
  // Removes the last record; the storage halves when a quarter full.
  void Pop();
  // Removes records 0..N.
  void DeleteOldest(Integer N);
  void Clear();

  Integer Count() const { return Integer(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  TUndoRecord& Items(Integer Index) { return FItems[size_t(Index)]; }
  const TUndoRecord& Items(Integer Index) const { return FItems[size_t(Index)]; }
  TUndoRecord& Last() { return FItems.back(); }
  Integer Capacity() const { return Integer(FItems.capacity()); }

private:
  std::vector<TUndoRecord> FItems;
};
