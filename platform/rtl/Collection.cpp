#include "platform/rtl/Collection.h"
#include "platform/rtl/Guards.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& L = FCollection->FItems;
  return Integer(std::find(L.begin(), L.end(), this) - L.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  const Integer Cur = Index();
  if (Cur < 0 || Cur == Value) return;
  auto& L = FCollection->FItems;
  Value = std::clamp<Integer>(Value, 0, Integer(L.size()) - 1);
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
  Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

AnsiString TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TCollection::TCollection(TClass AItemClass) : FItemClass(AItemClass) {}

TCollection::~TCollection() {
  // No Update from a collection being torn down: the derived part is gone.
  ++FUpdateCount;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(Integer Index) const {
  CheckIndex(Index);
  return FItems[size_t(Index)];
}

void TCollection::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TCollection::SetItem(Integer Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
  if (!FItemClass || !FItemClass->InheritsFrom(TCollectionItem::StaticClass()) ||
      FItemClass->CtorKind() != TCtorKind::Collection)
    throw EInvalidOperation("Cannot create items of class " + (FItemClass ? FItemClass->ClassName() : AnsiString("nil")));
  return static_cast<TCollectionItem*>(FItemClass->Create(static_cast<void*>(this)));
}

TCollectionItem* TCollection::Insert(Integer Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(Integer Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  delete Item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    while (!FItems.empty()) delete FItems.back();
  }
}

void TCollection::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  if (Index1 == Index2) return;
  std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
  Changed();
}

void TCollection::Move(Integer CurIndex, Integer NewIndex) { Items(CurIndex)->SetIndex(NewIndex); }

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* I : FItems)
    if (I->FID == ID) return I;
  return nullptr;
}

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TCollection*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Clear();
    for (TCollectionItem* I : Src->FItems) Add()->Assign(I);
  }
}

AnsiString TCollection::GetNamePath() {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  AnsiString Base = Owner->GetNamePath();
  if (Base.empty()) return ClassName();
  // The property of the owner that holds this collection names it.
  for (const TPropInfo* P : Owner->ClassType()->Properties())
    if (P->Kind() == tkClass && P->GetObj(Owner) == this) return Base + "." + P->Name;
  return ClassName();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  SetItemName(Item);
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  std::erase(FItems, Item);
  Item->FCollection = nullptr;
  Changed();
}
