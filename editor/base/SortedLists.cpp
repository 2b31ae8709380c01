#include "editor/base/SortedLists.h"

#include <algorithm>
#include <cstring>

#include "editor/base/EdConsts.h"
#include "platform/rtl/Persistent.h"

namespace {
// Three-way comparison of two integers; a difference could overflow.
int Sign(NativeInt A, NativeInt B) { return A < B ? -1 : (A > B ? 1 : 0); }
}  // namespace

// ---------------------------------------------------------------------------
// TCustomSortedList

int TCustomSortedList::CompareKey(void* Item, NativeInt Key) {
  return Sign(reinterpret_cast<NativeInt>(Item), Key);
}

int TCustomSortedList::CompareItems(void* Item1, void* Item2) {
  return Sign(reinterpret_cast<NativeInt>(Item1), reinterpret_cast<NativeInt>(Item2));
}

template <class TCompare>
bool TCustomSortedList::Search(TCompare Compare, Integer& Index) {
  Integer Lo = 0;
  Integer Hi = Count() - 1;
  bool Found = false;
  while (Lo <= Hi) {
    const Integer Mid = (Lo + Hi) >> 1;
    const int C = Compare(FList.GetItems(Mid));
    if (C < 0) {
      Lo = Mid + 1;
    } else {
      Hi = Mid - 1;
      if (C == 0) {
        Found = true;
        if (DuplicateMode != sdAccept) Lo = Mid;
      }
    }
  }
  Index = Lo;
  return Found;
}

bool TCustomSortedList::FindKey(NativeInt Key, Integer& Index) {
  if (FKeepSorted) return Search([&](void* Item) { return CompareKey(Item, Key); }, Index);
  Index = IndexOfKey(Key);
  return Index >= 0;
}

Integer TCustomSortedList::IndexOfKey(NativeInt Key) {
  if (FKeepSorted) {
    Integer Index;
    return FindKey(Key, Index) ? Index : -1;
  }
  for (Integer I = 0; I < Count(); ++I)
    if (CompareKey(FList.GetItems(I), Key) == 0) return I;
  return -1;
}

bool TCustomSortedList::FindItem(void* Item, Integer& Index) {
  if (FKeepSorted) return Search([&](void* At) { return CompareItems(At, Item); }, Index);
  Index = FList.IndexOf(Item);
  return Index >= 0;
}

Integer TCustomSortedList::IndexOf(void* Item) {
  Integer Index;
  return FindItem(Item, Index) ? Index : -1;
}

Integer TCustomSortedList::Add(void* Item) {
  if (!FKeepSorted) return FList.Add(Item);
  Integer Index;
  if (FindItem(Item, Index)) {
    switch (DuplicateMode) {
      case sdIgnore: return Index;
      case sdError: RaiseError(LoadResText(EdConsts::SDuplicateItem));
      case sdAccept: break;
    }
  }
  FList.Insert(Index, Item);
  return Index;
}

Integer TCustomSortedList::Remove(void* Item) {
  Integer Index;
  if (!FindItem(Item, Index)) return -1;
  Delete(Index);
  return Index;
}

void TCustomSortedList::Delete(Integer Index) { FList.Delete(Index); }

void TCustomSortedList::SetKeepSorted(bool Value) {
  if (Value == FKeepSorted) return;
  FKeepSorted = Value;
  if (!Value) return;
  for (Integer I = Count() - 2; I >= 0; --I) {
    if (CompareItems(FList.GetItems(I), FList.GetItems(I + 1)) > 0) {
      FList.Sort([this](void* A, void* B) { return CompareItems(A, B); });
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// TSortedKeyList

int TSortedKeyList::CompareKey(void* Item, NativeInt Key) { return Sign(GetKey(Item), Key); }

int TSortedKeyList::CompareItems(void* Item1, void* Item2) { return Sign(GetKey(Item1), GetKey(Item2)); }

// ---------------------------------------------------------------------------
// TSortedListEx

bool TSortedListEx::FindNearest(void* Item, Integer& Index) {
  if (!FKeepSorted) {
    Index = FList.IndexOf(Item);
    return Index >= 0;
  }
  Index = 0;
  if (Count() == 0) return false;
  Integer Lo = 0;
  Integer Hi = Count() - 1;
  bool Found = false;
  for (;;) {
    const Integer Mid = (Lo + Hi) >> 1;
    LastProbe = Mid;
    const int C = CompareItems(FList.GetItems(Mid), Item);
    if (C < 0) {
      Lo = Mid;
    } else {
      Hi = Mid;
      if (C == 0) {
        Found = true;
        Lo = Mid;
        break;
      }
    }
    if (Hi - Lo <= 1) break;
  }
  Index = Lo;
  return Found;
}

// ---------------------------------------------------------------------------
// TRecordList

TRecordList::TRecordList(Integer ARecordSize) : FRecordSize(ARecordSize) {
  if (ARecordSize <= 0) RaiseErrorFmt("Invalid record size (%d)", {ARecordSize});
}

void TRecordList::IndexError(Integer Index) const {
  RaiseErrorFmt(TranslateResText(EdConsts::SListIndexError), {Index});
}

void TRecordList::Grow(Integer Index) {
  if (Index >= FCapacity) SetCapacity(std::max({Index, FCapacity * 2, Integer(32)}));
}

void TRecordList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity == FCapacity) return;
  if (NewCapacity < 0) RaiseErrorFmt(TranslateResText(EdConsts::SListIndexError), {NewCapacity});
  FData.resize(std::size_t(NewCapacity) * std::size_t(FRecordSize));
  FData.shrink_to_fit();
  FCapacity = NewCapacity;
  if (FCount > FCapacity) FCount = FCapacity;
}

Integer TRecordList::Add(const void* Record) {
  const Integer Index = FCount;
  Grow(FCount);
  Byte* Slot = FData.data() + std::size_t(Index) * FRecordSize;
  if (Record)
    std::memcpy(Slot, Record, std::size_t(FRecordSize));
  else
    std::memset(Slot, 0, std::size_t(FRecordSize));
  ++FCount;
  return Index;
}

void* TRecordList::Items(Integer Index) {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  return FData.data() + std::size_t(Index) * FRecordSize;
}

void TRecordList::Delete(Integer Index) {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  --FCount;
  if (Index < FCount) {
    Byte* At = FData.data() + std::size_t(Index) * FRecordSize;
    std::memmove(At, At + FRecordSize, std::size_t(FCount - Index) * FRecordSize);
  }
}

void TRecordList::Clear() {
  FCount = 0;
  SetCapacity(0);
}

void TRecordList::SetCount(Integer NewCount) {
  if (NewCount < 0) IndexError(NewCount);
  Grow(NewCount);
  FCount = NewCount;
}

// ---------------------------------------------------------------------------
// Helpers

void RaiseError(const AnsiString& Message) { throw Exception(Message); }

void RaiseErrorFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
  throw Exception(Format(Fmt, Args));
}

void FreeListObjects(TList* List) {
  if (!List) return;
  while (List->GetCount() > 0) {
    auto* Obj = static_cast<TObject*>(List->GetItems(0));
    List->Delete(0);
    delete Obj;
  }
}

void FreeObjectList(TList*& List) {
  FreeListObjects(List);
  FreeAndNilObject(List);
}

void FreeSortedListObjects(TCustomSortedList* List) {
  if (!List) return;
  while (List->Count() > 0) {
    auto* Obj = static_cast<TObject*>(List->Items(0));
    List->Delete(0);
    delete Obj;
  }
}

void FreeSortedList(TCustomSortedList*& List) {
  FreeSortedListObjects(List);
  FreeAndNilObject(List);
}

namespace {
// Reaches the protected GetOwner through the class that declares it.
struct TOwnerAccess : TPersistent {
  static TPersistent* Of(TPersistent* P) { return (P->*(&TOwnerAccess::GetOwner))(); }
};
}  // namespace

TPersistent* GetOwnerOfPersistent(TObject* Obj) {
  auto* P = dynamic_cast<TPersistent*>(Obj);
  return P ? TOwnerAccess::Of(P) : nullptr;
}

AnsiString TranslateResText(const AnsiString& Text) { return Text; }
