// Lists.h — the class library's pointer list, its object-owning variant and
// the bit array.
//
// TList holds untyped pointers and never owns what they point to. TObjectList
// frees the objects it loses (Delete, Remove, Clear, a replaced item, its own
// destruction) while OwnsObjects is on; Extract hands an object back without
// freeing it. Index errors raise EListError with the class library's texts.
#pragma once
#include <functional>
#include <vector>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

// Negative when Item1 sorts before Item2, 0 when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };
inline constexpr TListNotification lnAdded = TListNotification::lnAdded;
inline constexpr TListNotification lnExtracted = TListNotification::lnExtracted;
inline constexpr TListNotification lnDeleted = TListNotification::lnDeleted;

class TList : public TObject {
public:
  TList() = default;
  ~TList() override = default;  // drops the pointers without notifying

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Removes the first occurrence; returns its former index or -1.
  Integer Remove(void* Item);
  // Removes the first occurrence without the owner's delete action; returns
  // the item, or nullptr when it is not in the list.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Exchange(Integer Index1, Integer Index2);
  // Takes the item at CurIndex out and puts it back at NewIndex.
  void Move(Integer CurIndex, Integer NewIndex);
  // Removes every nullptr item.
  void Pack();
  // Quicksort as the class library does it: not stable, so equal items may
  // change their order.
  void Sort(const TListSortCompare& Compare);
  virtual void Clear();
  void* First() const { return GetItems(0); }
  void* Last() const { return GetItems(GetCount() - 1); }

  Integer GetCount() const { return static_cast<Integer>(FList.size()); }
  // Growing adds nullptr items; shrinking deletes from the end.
  void SetCount(Integer NewCount);
  Integer GetCapacity() const { return FCapacity; }
  void SetCapacity(Integer NewCapacity);
  void* GetItems(Integer Index) const;
  void SetItems(Integer Index, void* Item);
  void* operator[](Integer Index) const { return GetItems(Index); }

protected:
  // Called after an item arrives or leaves (never for nullptr items).
  virtual void Notify(void* /*Ptr*/, TListNotification /*Action*/) {}

private:
  void CheckIndex(Integer Index) const;
  void Grow();
  std::vector<void*> FList;
  Integer FCapacity = 0;  // the list's own capacity rule, as callers can read it
};

class TObjectList : public TList {
public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  Integer Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { TList::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
  Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
  TObject* GetItems(Integer Index) const { return static_cast<TObject*>(TList::GetItems(Index)); }
  void SetItems(Integer Index, TObject* AObject) { TList::SetItems(Index, AObject); }
  TObject* operator[](Integer Index) const { return GetItems(Index); }

  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

protected:
  void Notify(void* Ptr, TListNotification Action) override;

private:
  bool FOwnsObjects;
};

// A growable array of bits. Reading beyond Size raises; writing beyond it
// grows the array (new bits are clear). Errors raise EBitsError
// "Bits index out of range".
class TBits : public TObject {
public:
  bool GetBits(Integer Index) const;
  void SetBits(Integer Index, bool Value);
  bool operator[](Integer Index) const { return GetBits(Index); }
  Integer GetSize() const { return FSize; }
  void SetSize(Integer Value);
  // The index of the first clear bit; Size when every bit is set.
  Integer OpenBit() const;

private:
  std::vector<std::uint32_t> FWords;
  Integer FSize = 0;
};
