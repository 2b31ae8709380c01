// Regions.h — the hidden lines of collapsed regions: a sorted list of line
// numbers and the mapping between real line numbers and the visible line
// numbers an editor scrolls and paints.
//
// The region flags themselves live in each line's record (lfInRegion,
// lfRegionExpanded, lfRegionCollapsed); the memo source's region operations
// (Regions.cpp) keep this list in step with them.
#pragma once
#include "editor/base/SortedLists.h"

// Line numbers are stored as the pointer values of the sorted list, so the
// list's default numeric comparison orders them. No number is held twice.
class TVisibleLinesList : public TSortedListEx {
public:
  Integer Line(Integer Index) const { return Integer(reinterpret_cast<NativeInt>(Items(Index))); }
  // Visible True removes the line number, False adds it.
  void SetLineVisible(Integer Line, bool Visible);
  bool IsLineVisible(Integer Line);
  // Line minus the hidden lines at or before it.
  Integer RealToVisible(Integer Line) const;
  // The real line shown as visible line Visible.
  Integer VisibleToReal(Integer Visible) const;
  // Every hidden line after Line moves by Delta. A negative Delta is a join:
  // the hidden lines it closes up are dropped first, so no two entries meet.
  void ShiftAfter(Integer Line, Integer Delta);

private:
  // Index of the first entry greater than Line.
  Integer UpperBound(Integer Line) const;
};
