// SortedLists.h — the editor library's foundation containers: pointer lists
// kept sorted by virtual comparisons, the inline record array, and the small
// helpers the rest of the library leans on.
//
// Sorted lists hold untyped pointers and never free them. A descendant
// orders its items by overriding CompareItems (item against item) and
// CompareKey (item against a key); the defaults compare the pointer values.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Lists.h"

// A key a sorted list is searched by: an integer or an address.
using NativeInt = std::intptr_t;

// A TList whose destruction drops the pointer array in one go; the items
// are never freed.
class TFastList : public TList {
public:
  ~TFastList() override = default;
};

enum TSortedDuplicates : Byte { sdIgnore = 0, sdAccept = 1, sdError = 2 };

class TCustomSortedList : public TObject {
public:
  TCustomSortedList() = default;
  ~TCustomSortedList() override = default;

  Integer Count() const { return FList.GetCount(); }
  // Raises EListError for an index out of range.
  void* Items(Integer Index) const { return FList.GetItems(Index); }

  Integer IndexOfKey(NativeInt Key);
  bool FindKey(NativeInt Key, Integer& Index);
  bool FindItem(void* Item, Integer& Index);
  Integer IndexOf(void* Item);
  Integer Add(void* Item);
  // Removes the item FindItem finds; its former index, or -1.
  Integer Remove(void* Item);
  virtual void Delete(Integer Index);
  void Clear() { FList.Clear(); }

  bool GetKeepSorted() const { return FKeepSorted; }
  void SetKeepSorted(bool Value);
  TSortedDuplicates DuplicateMode = sdIgnore;

  // Negative when Item sorts before Key. The defaults order by value.
  virtual int CompareKey(void* Item, NativeInt Key);
  virtual int CompareItems(void* Item1, void* Item2);

protected:
  // Bisection as the class library's sorted string list does it: with
  // sdAccept the first of equal items, otherwise an equal item, and the
  // insertion position when nothing is equal.
  template <class TCompare>
  bool Search(TCompare Compare, Integer& Index);

  TFastList FList;
  bool FKeepSorted = true;
};

class TSortedList : public TCustomSortedList {};

// Orders items by an integer key each item yields.
class TSortedKeyList : public TSortedList {
public:
  virtual NativeInt GetKey(void* Item) { return reinterpret_cast<NativeInt>(Item); }
  int CompareKey(void* Item, NativeInt Key) override;
  int CompareItems(void* Item1, void* Item2) override;
};

class TSortedListEx : public TSortedList {
public:
  // Narrows the search to two neighbours and returns the lower one's index
  // without comparing the upper one; callers step from there to the exact
  // place. Found only when an item compared equal.
  bool FindNearest(void* Item, Integer& Index);
  Integer LastProbe = 0;
};

// Records of a fixed size stored inline in one block. The list never
// constructs or destroys what the records hold; an owner that keeps
// non-trivial data in them clears it itself.
class TRecordList : public TObject {
public:
  explicit TRecordList(Integer ARecordSize);
  ~TRecordList() override = default;

  // Copies the record, or zero-fills the slot for nullptr.
  Integer Add(const void* Record);
  // Raises Exception "List index out of bounds (%d)" for a bad index.
  void* Items(Integer Index);
  void Delete(Integer Index);
  void Clear();
  void SetCapacity(Integer NewCapacity);
  // New records keep whatever bytes the block held (zero when newly grown).
  void SetCount(Integer NewCount);
  void Grow(Integer Index);

  Integer RecordSize() const { return FRecordSize; }
  Integer Count() const { return FCount; }
  Integer Capacity() const { return FCapacity; }

private:
  [[noreturn]] void IndexError(Integer Index) const;
  Integer FRecordSize;
  Integer FCount = 0;
  Integer FCapacity = 0;
  std::vector<Byte> FData;
};

// ---------------------------------------------------------------------------
// Small helpers.

[[noreturn]] void RaiseError(const AnsiString& Message);
[[noreturn]] void RaiseErrorFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);

// Frees the objects a plain list points to, first to last, emptying it.
void FreeListObjects(TList* List);
// FreeListObjects, then frees the list and clears the variable.
void FreeObjectList(TList*& List);
void FreeSortedListObjects(TCustomSortedList* List);
void FreeSortedList(TCustomSortedList*& List);
template <class T>
void FreeAndNilObject(T*& Obj) {
  T* Tmp = Obj;
  Obj = nullptr;
  delete Tmp;
}

inline Integer IntMin(Integer A, Integer B) { return A < B ? A : B; }
inline Integer IntMax(Integer A, Integer B) { return A > B ? A : B; }
inline void SwapInts(Integer& A, Integer& B) {
  Integer T = A;
  A = B;
  B = T;
}
inline void OrderInts(Integer& A, Integer& B) {
  if (A > B) SwapInts(A, B);
}
inline bool DistinctNonNil(const void* A, const void* B) { return A && B && A != B; }

class TPersistent;
// The owner of a persistent; nil for any other object.
TPersistent* GetOwnerOfPersistent(TObject* Obj);
// Where a translation of the library's resource texts would plug in; the
// texts come back unchanged.
AnsiString TranslateResText(const AnsiString& Text);
