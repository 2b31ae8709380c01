#include "platform/rtl/Lists.h"

#include <string>

#include "platform/rtl/Exceptions.h"

namespace {

// The largest list the class library allows (its pointer array fits 2 GB).
constexpr Integer MaxListSize = 0x7FFFFFFF / 16;

[[noreturn]] void ListError(const char* Text, Integer Value) {
  throw EListError(std::string(Text) + " (" + std::to_string(Value) + ")");
}

}  // namespace

// --- TList ------------------------------------------------------------------------

void TList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) ListError("List index out of bounds", Index);
}

void TList::Grow() {
  const Integer Delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  SetCapacity(FCapacity + Delta);
}

Integer TList::Add(void* Item) {
  const Integer Result = GetCount();
  if (Result == FCapacity) Grow();
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Result;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > GetCount()) ListError("List index out of bounds", Index);
  if (GetCount() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index);
  void* Temp = FList[static_cast<size_t>(Index)];
  FList.erase(FList.begin() + Index);
  if (Temp) Notify(Temp, lnDeleted);
}

Integer TList::Remove(void* Item) {
  const Integer Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

void* TList::Extract(void* Item) {
  const Integer I = IndexOf(Item);
  if (I < 0) return nullptr;
  FList.erase(FList.begin() + I);
  if (Item) Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const {
  for (size_t I = 0; I < FList.size(); ++I)
    if (FList[I] == Item) return static_cast<Integer>(I);
  return -1;
}

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(NewIndex);  // the class library checks the target first
  CheckIndex(CurIndex);
  void* Item = FList[static_cast<size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Pack() {
  std::erase(FList, nullptr);
}

void TList::Sort(const TListSortCompare& Compare) {
  if (FList.size() < 2 || !Compare) return;
  // Hoare partition around the middle item, recursing on the left part and
  // looping on the right one. The bound checks only matter for a comparer
  // that is not a consistent order; a sound one never reaches them.
  auto QuickSort = [&](auto& Self, Integer L, Integer R) -> void {
    Integer I;
    do {
      I = L;
      Integer J = R;
      void* P = FList[static_cast<size_t>((L + R) >> 1)];
      do {
        while (I < R && Compare(FList[static_cast<size_t>(I)], P) < 0) ++I;
        while (J > L && Compare(FList[static_cast<size_t>(J)], P) > 0) --J;
        if (I <= J) {
          std::swap(FList[static_cast<size_t>(I)], FList[static_cast<size_t>(J)]);
          ++I;
          --J;
        }
      } while (I <= J);
      if (L < J) Self(Self, L, J);
      L = I;
    } while (I < R);
  };
  QuickSort(QuickSort, 0, GetCount() - 1);
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0 || NewCount > MaxListSize) ListError("List count out of bounds", NewCount);
  if (NewCount > FCapacity) SetCapacity(NewCount);
  if (NewCount > GetCount()) {
    FList.resize(static_cast<size_t>(NewCount), nullptr);
  } else {
    for (Integer I = GetCount() - 1; I >= NewCount; --I) Delete(I);
  }
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < GetCount() || NewCapacity > MaxListSize)
    ListError("List capacity out of bounds", NewCapacity);
  FList.reserve(static_cast<size_t>(NewCapacity));
  FCapacity = NewCapacity;
}

void* TList::GetItems(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)];
}

void TList::SetItems(Integer Index, void* Item) {
  CheckIndex(Index);
  void*& Slot = FList[static_cast<size_t>(Index)];
  if (Item == Slot) return;
  void* Temp = Slot;
  Slot = Item;
  if (Temp) Notify(Temp, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

// --- TObjectList ----------------------------------------------------------------

TObjectList::~TObjectList() {
  // The base destructor cannot reach our Notify, so free the objects here.
  Clear();
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
}

// --- TBits ------------------------------------------------------------------------

namespace {
[[noreturn]] void BitsError() { throw EBitsError("Bits index out of range"); }
}  // namespace

bool TBits::GetBits(Integer Index) const {
  if (Index < 0 || Index >= FSize) BitsError();
  return (FWords[static_cast<size_t>(Index) / 32] >> (Index % 32)) & 1u;
}

void TBits::SetBits(Integer Index, bool Value) {
  if (Index < 0) BitsError();
  if (Index >= FSize) SetSize(Index + 1);
  auto& Word = FWords[static_cast<size_t>(Index) / 32];
  const std::uint32_t Mask = 1u << (Index % 32);
  Word = Value ? (Word | Mask) : (Word & ~Mask);
}

void TBits::SetSize(Integer Value) {
  if (Value < 0 || Value == 0x7FFFFFFF) BitsError();
  if (Value == FSize) return;
  FWords.resize((static_cast<size_t>(Value) + 31) / 32, 0);
  // Clear the bits cut off from the last word, so a later growth reads zeros.
  if (Value % 32 != 0) FWords.back() &= (1u << (Value % 32)) - 1;
  FSize = Value;
}

Integer TBits::OpenBit() const {
  for (size_t W = 0; W < FWords.size(); ++W) {
    if (FWords[W] == 0xFFFFFFFFu) continue;
    for (Integer B = 0; B < 32; ++B) {
      const Integer Index = static_cast<Integer>(W * 32) + B;
      if (Index >= FSize) return FSize;
      if (!((FWords[W] >> B) & 1u)) return Index;
    }
  }
  return FSize;
}
