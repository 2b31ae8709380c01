// Collapsible regions, hidden lines and the line-state flags of the memo
// source.
#include "editor/text/Regions.h"

#include <climits>

#include "editor/text/MemoSource.h"
#include "platform/rtl/Guards.h"

namespace {
constexpr Integer MaxInt = INT_MAX;
void* AsItem(Integer Line) { return reinterpret_cast<void*>(NativeInt(Line)); }
}  // namespace

// ---------------------------------------------------------------------------
// TVisibleLinesList

Integer TVisibleLinesList::UpperBound(Integer Line) const {
  Integer Lo = 0, Hi = Count();
  while (Lo < Hi) {
    const Integer Mid = Lo + (Hi - Lo) / 2;
    if (this->Line(Mid) <= Line)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return Lo;
}

void TVisibleLinesList::SetLineVisible(Integer Line, bool Visible) {
  Integer Index = 0;
  const bool Found = FindKey(NativeInt(Line), Index);
  if (Visible) {
    if (Found) Delete(Index);
  } else if (!Found) {
    FList.Insert(Index, AsItem(Line));
  }
}

bool TVisibleLinesList::IsLineVisible(Integer Line) {
  Integer Index = 0;
  return !FindKey(NativeInt(Line), Index);
}

Integer TVisibleLinesList::RealToVisible(Integer Line) const {
  if (Count() == 0) return Line;
  return Line - UpperBound(Line);
}

Integer TVisibleLinesList::VisibleToReal(Integer Visible) const {
  // h(i) - i never decreases, so the hidden lines counted are a prefix.
  Integer Lo = 0, Hi = Count();
  while (Lo < Hi) {
    const Integer Mid = Lo + (Hi - Lo) / 2;
    if (Line(Mid) - Mid <= Visible)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return Visible + Lo;
}

void TVisibleLinesList::ShiftAfter(Integer Line, Integer Delta) {
  if (Delta == 0) return;
  if (Delta < 0) {
    // The lines Line + 1 .. Line - Delta are joined away.
    Integer From = UpperBound(Line);
    while (From < Count() && this->Line(From) <= Line - Delta) FList.Delete(From);
  }
  for (Integer I = UpperBound(Line); I < Count(); ++I) FList.SetItems(I, AsItem(this->Line(I) + Delta));
}

// ---------------------------------------------------------------------------
// TCustomMemoSource: regions and line state

bool TCustomMemoSource::IsLineVisible(Integer Line) { return FHiddenLines.IsLineVisible(Line); }
Integer TCustomMemoSource::RealToVisible(Integer Line) const { return FHiddenLines.RealToVisible(Line); }
Integer TCustomMemoSource::VisibleToReal(Integer Visible) const { return FHiddenLines.VisibleToReal(Visible); }

Integer TCustomMemoSource::GetRegionState(Integer Line) const {
  const TStringItem* Item = GetLineItem(Line);
  if (!Item) return 2;
  if (Item->Flags & lfRegionExpanded) return 1;
  if (Item->Flags & lfRegionCollapsed) return 0;
  return 2;
}

void TCustomMemoSource::SetRegionState(Integer Line, Integer State) {
  TStringItem* Item = GetLineItem(Line);
  if (!Item) return;
  BeginUpdate(MemoCode::LineState);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Item->Flags &= Byte(~(lfRegionExpanded | lfRegionCollapsed));
    if (State == 1)
      Item->Flags |= lfRegionExpanded;
    else if (State == 0)
      Item->Flags |= lfRegionCollapsed;
    const bool Expanded = State == 1;
    for (Integer L = Line + 1;; ++L) {
      TStringItem* Inner = GetLineItem(L);
      if (!Inner || !(Inner->Flags & lfInRegion)) break;
      FHiddenLines.SetLineVisible(L, Expanded);
      if (Expanded && (Inner->Flags & lfRegionCollapsed)) {
        Inner->Flags &= Byte(~lfRegionCollapsed);
        Inner->Flags |= lfRegionExpanded;
      }
    }
    FState.Include(msBlockChanged);
    FState.Include(msCountChanged);
    WidenChangedRange(Line, MaxInt);
  }
}

bool TCustomMemoSource::SetLineState(Integer Line, Integer LastLine, Integer Bit, bool Value) {
  TStringItem* Item = GetLineItem(Line);
  if (!Item || Bit < 0 || Bit > 7) return false;
  const Byte Mask = Byte(1u << Bit);
  if (bool(Item->Flags & Mask) == Value) return false;
  BeginUpdate(MemoCode::LineState);
  if (Value)
    Item->Flags |= Mask;
  else
    Item->Flags &= Byte(~Mask);
  FState.Include(msBlockChanged);
  WidenChangedRange(Line, LastLine);
  EndUpdate();
  return true;
}

void TCustomMemoSource::SetLineInRegion(Integer Line, bool Value) {
  BeginUpdate(MemoCode::LineState);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    if (SetLineState(Line, MaxInt, 2, Value)) {
      if (!Value) {
        FHiddenLines.SetLineVisible(Line, true);
      } else if (Line > 0 && (!FHiddenLines.IsLineVisible(Line - 1) || GetRegionState(Line - 1) == 0)) {
        FHiddenLines.SetLineVisible(Line, false);
      }
      FState.Include(msBlockChanged);
      FState.Include(msCountChanged);
    }
  }
}

void TCustomMemoSource::ExpandHiddenAbove(Integer Line) {
  if (FHiddenLines.IsLineVisible(Line)) return;
  for (Integer L = Line - 1; L >= 0; --L) {
    if (GetRegionState(L) == 0) {
      SetRegionState(L, 1);
      return;
    }
  }
}

void TCustomMemoSource::ExpandCollapsedHead(Integer Line) {
  if (GetRegionState(Line) == 0) SetRegionState(Line, 1);
}

void TCustomMemoSource::ShiftHiddenLines(Integer AfterLine, Integer Delta) { FHiddenLines.ShiftAfter(AfterLine, Delta); }

void TCustomMemoSource::ClearHiddenLines() { FHiddenLines.Clear(); }

void TCustomMemoSource::LineBreakInRegion(Integer Line) {
  const TStringItem* Item = GetLineItem(Line);
  if (Item && (Item->Flags & (lfInRegion | lfRegionExpanded | lfRegionCollapsed))) SetLineInRegion(Line + 1, true);
}
