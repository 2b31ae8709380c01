#include "bars/model/dxBarCategories.h"

#include <algorithm>
#include "bars/items/dxBarItem.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "platform/rtl/Filer.h"

// ---------------------------------------------------------------------------
// Categories

TdxBarManagerCategories::TdxBarManagerCategories(TdxBarManager* ABarManager) : FBarManager(ABarManager) {
  if (!FBarManager->IsLoading()) Add(dxBarStr(dxSBAR_DEFAULTCATEGORYNAME));
}

TdxBarManagerCategories::~TdxBarManagerCategories() { FreeAllData(); }

void TdxBarManagerCategories::FreeAllData() {
  for (Integer I = 0; I < GetCount(); ++I) {
    delete GetObjects(I);
    SetObjects(I, nullptr);
  }
}

TdxBarCategoryData* TdxBarManagerCategories::Data(Integer Index) const {
  return Index >= 0 && Index < GetCount() ? static_cast<TdxBarCategoryData*>(GetObjects(Index)) : nullptr;
}

TdxBarCategoryData* TdxBarManagerCategories::EnsureData(Integer Index) {
  TdxBarCategoryData* D = Data(Index);
  if (!D && Index >= 0 && Index < GetCount()) {
    D = new TdxBarCategoryData;
    SetObjects(Index, D);
  }
  return D;
}

void TdxBarManagerCategories::Clear() {
  FreeAllData();
  TStringList::Clear();
}

void TdxBarManagerCategories::ChangeItemsCategory(Integer AOld, Integer ANew) {
  for (Integer I = 0; I < FBarManager->GetItemCount(); ++I)
    if (TdxBarItem* It = FBarManager->GetItem(I); It->GetCategory() == AOld) It->SetCategoryField(ANew);
}

void TdxBarManagerCategories::Delete(Integer Index) {
  if (FMoving) {
    TStringList::Delete(Index);
    return;
  }
  if (Index >= 0 && Index < GetCount()) {
    std::vector<TdxBarItem*> Items;
    FBarManager->GetItemsByCategory(Index, Items);
    for (TdxBarItem* It : Items) delete It;
    for (Integer C = Index + 1; C < GetCount(); ++C) ChangeItemsCategory(C, C - 1);
    delete Data(Index);
    TStringList::Delete(Index);
  }
  if (GetCount() == 0) Add(dxBarStr(dxSBAR_DEFAULTCATEGORYNAME));
}

void TdxBarManagerCategories::Insert(Integer Index, const AnsiString& S) {
  if (!FMoving && Index >= 0 && Index < GetCount())
    for (Integer C = GetCount() - 1; C >= Index; --C) ChangeItemsCategory(C, C + 1);
  TStringList::Insert(Index, S);
}

void TdxBarManagerCategories::Exchange(Integer Index1, Integer Index2) {
  if (Index1 < 0 || Index1 >= GetCount() || Index2 < 0 || Index2 >= GetCount()) return;
  constexpr Integer Marker = -1000;
  ChangeItemsCategory(Index1, Marker);
  ChangeItemsCategory(Index2, Index1);
  ChangeItemsCategory(Marker, Index2);
  TStringList::Exchange(Index1, Index2);
}

void TdxBarManagerCategories::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex || CurIndex < 0 || CurIndex >= GetCount() || NewIndex < 0 || NewIndex >= GetCount())
    return;
  constexpr Integer Marker = -1000;
  ChangeItemsCategory(CurIndex, Marker);
  if (CurIndex < NewIndex)
    for (Integer C = CurIndex + 1; C <= NewIndex; ++C) ChangeItemsCategory(C, C - 1);
  else
    for (Integer C = CurIndex - 1; C >= NewIndex; --C) ChangeItemsCategory(C, C + 1);
  ChangeItemsCategory(Marker, NewIndex);
  FMoving = true;
  try {
    TStringList::Move(CurIndex, NewIndex);
  } catch (...) {
    FMoving = false;
    throw;
  }
  FMoving = false;
}

// ---------------------------------------------------------------------------
// Groups

void TdxBarGroup::Published(TPublished<TdxBarGroup>& P) {
  P.Property("Enabled", &TdxBarGroup::GetEnabled, &TdxBarGroup::SetEnabled).Default(true);
  P.Property("Visible", &TdxBarGroup::GetVisible, &TdxBarGroup::SetVisible).Default(ivAlways);
}

TdxBarGroup::TdxBarGroup(TComponent* AOwner) : TComponent(AOwner) {}

TdxBarGroup::~TdxBarGroup() {
  Destroying();
  if (FBarManager) {
    FBarManager->RemoveGroup(this);
    FBarManager->RemoveFromGroups(this);
  }
  for (TComponent* C : FEntries) C->RemoveFreeNotification(this);
}

TComponent* TdxBarGroup::GetItem(Integer Index) const {
  return Index >= 0 && Index < GetCount() ? FEntries[std::size_t(Index)] : nullptr;
}

Integer TdxBarGroup::IndexOf(TComponent* AComponent) const {
  auto It = std::find(FEntries.begin(), FEntries.end(), AComponent);
  return It == FEntries.end() ? -1 : Integer(It - FEntries.begin());
}

bool TdxBarGroup::Contains(const TdxBarGroup* AGroup) const {
  for (TComponent* C : FEntries)
    if (auto* G = dynamic_cast<TdxBarGroup*>(C); G && (G == AGroup || G->Contains(AGroup))) return true;
  return false;
}

void TdxBarGroup::Add(TComponent* AComponent) {
  if (!AComponent || IndexOf(AComponent) >= 0) return;
  auto* G = dynamic_cast<TdxBarGroup*>(AComponent);
  if (!G && !dynamic_cast<TdxBarItem*>(AComponent)) return;
  if (G && (G == this || G->Contains(this))) throw Exception(dxBarStr(dxSBAR_RECURSIVEGROUPS));
  FEntries.push_back(AComponent);
  AComponent->FreeNotification(this);
}

void TdxBarGroup::Remove(TComponent* AComponent) {
  Integer I = IndexOf(AComponent);
  if (I < 0) return;
  FEntries.erase(FEntries.begin() + I);
  AComponent->RemoveFreeNotification(this);
}

void TdxBarGroup::ForgetEntry(TComponent* AComponent) { std::erase(FEntries, AComponent); }

void TdxBarGroup::MoveEntry(Integer AOldIndex, Integer ANewIndex) {
  if (AOldIndex < 0 || AOldIndex >= GetCount() || ANewIndex < 0 || ANewIndex >= GetCount()) return;
  TComponent* C = FEntries[std::size_t(AOldIndex)];
  FEntries.erase(FEntries.begin() + AOldIndex);
  FEntries.insert(FEntries.begin() + ANewIndex, C);
}

Integer TdxBarGroup::GetIndex() const {
  for (Integer I = 0; FBarManager && I < FBarManager->GetGroupCount(); ++I)
    if (FBarManager->GetGroup(I) == this) return I;
  return -1;
}

void TdxBarGroup::SetEnabled(bool Value) {
  FEnabled = Value;
  bool Lock = FBarManager && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
  std::unique_ptr<TdxBarLockUpdateGuard> Guard;
  if (Lock) Guard = std::make_unique<TdxBarLockUpdateGuard>(FBarManager);
  for (TComponent* C : FEntries) {
    if (auto* It = dynamic_cast<TdxBarItem*>(C)) It->SetEnabled(Value);
    else if (auto* G = dynamic_cast<TdxBarGroup*>(C)) G->SetEnabled(Value);
  }
}

void TdxBarGroup::SetVisible(TdxBarItemVisible Value) {
  if (Value < ivNever || Value > ivAlways) return;
  FVisible = Value;
  bool Lock = FBarManager && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
  std::unique_ptr<TdxBarLockUpdateGuard> Guard;
  if (Lock) Guard = std::make_unique<TdxBarLockUpdateGuard>(FBarManager);
  for (TComponent* C : FEntries) {
    if (auto* It = dynamic_cast<TdxBarItem*>(C)) It->SetVisible(Value);
    else if (auto* G = dynamic_cast<TdxBarGroup*>(C)) G->SetVisible(Value);
  }
}

void TdxBarGroup::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != this) std::erase(FEntries, AComponent);
}

TComponent* TdxBarGroup::GetParentComponent() { return FBarManager; }

void TdxBarGroup::SetParentComponent(TComponent* Value) {
  if (auto* M = dynamic_cast<TdxBarManager*>(Value)) M->AddGroup(this);
}

void TdxBarGroup::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* M = dynamic_cast<TdxBarManager*>(Reader->Parent())) M->AddGroup(this);
}

void TdxBarGroup::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "Items", [this](TReader* R) { ReadItems(R); }, [this](TWriter* W) { WriteItems(W); }, !FEntries.empty());
}

void TdxBarGroup::ReadItems(TReader* Reader) {
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) FLoadedNames.push_back(Reader->ReadString());
  Reader->ReadListEnd();
}

void TdxBarGroup::WriteItems(TWriter* Writer) {
  Writer->WriteListBegin();
  for (TComponent* C : FEntries) Writer->WriteString(C->GetName());
  Writer->WriteListEnd();
}

void TdxBarGroup::Loaded() {
  inherited::Loaded();
  TComponent* Form = FBarManager ? FBarManager->Owner() : Owner();
  for (const AnsiString& N : FLoadedNames)
    if (TComponent* C = Form ? Form->FindComponent(N) : nullptr) Add(C);
  FLoadedNames.clear();
}
