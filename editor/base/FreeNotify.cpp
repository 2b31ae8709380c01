#include "editor/base/FreeNotify.h"

namespace {
int Sign(const void* A, const void* B) {
  const auto X = reinterpret_cast<std::uintptr_t>(A);
  const auto Y = reinterpret_cast<std::uintptr_t>(B);
  return X < Y ? -1 : (X > Y ? 1 : 0);
}

// The list for non-component objects lives until static destruction; an
// object freed after that finds no list and nothing to tell.
struct TGlobalNotifiers {
  TFreeNotifiersList* List = new TFreeNotifiersList;
  ~TGlobalNotifiers() {
    TFreeNotifiersList* L = List;
    List = nullptr;
    delete L;
  }
};
TGlobalNotifiers& GlobalNotifiers() {
  static TGlobalNotifiers G;
  return G;
}

TNotifierStorage* NotifierStorage = nullptr;
}  // namespace

// ---------------------------------------------------------------------------
// TFreeNotifiersList

TFreeNotifiersList::~TFreeNotifiersList() {
  for (Integer I = 0; I < Count(); ++I) {
    auto* Info = static_cast<TFreeNotifierInfo*>(Items(I));
    Info->Releasing = true;
    delete Info;
  }
  Clear();
}

int TFreeNotifiersList::CompareKey(void* Item, NativeInt Key) {
  return Sign(static_cast<TFreeNotifierInfo*>(Item)->Address, reinterpret_cast<const void*>(Key));
}

int TFreeNotifiersList::CompareItems(void* Item1, void* Item2) {
  return Sign(static_cast<TFreeNotifierInfo*>(Item1)->Address, static_cast<TFreeNotifierInfo*>(Item2)->Address);
}

TFreeNotifierInfo* TFreeNotifiersList::FindInfo(const void* Address) {
  if (Count() == 0) return nullptr;
  Integer Index;
  if (!FindKey(reinterpret_cast<NativeInt>(Address), Index)) return nullptr;
  return static_cast<TFreeNotifierInfo*>(Items(Index));
}

bool TFreeNotifiersList::AddCallback(const void* Address, const TFreeNotifyProc& Proc) {
  TFreeNotifierInfo* Info = FindInfo(Address);
  const bool IsNew = Info == nullptr;
  if (IsNew) {
    auto Owned = std::make_unique<TFreeNotifierInfo>(Address);
    Info = Owned.get();
    Add(Info);
    Owned.release();
  }
  Info->Callbacks.push_back(std::make_unique<TFreeNotifier>(Proc));
  return IsNew;
}

bool TFreeNotifiersList::RemoveCallback(const void* Address, const TFreeNotifyProc& Proc) {
  TFreeNotifierInfo* Info = FindInfo(Address);
  if (!Info || Info->Releasing) return false;
  auto& C = Info->Callbacks;
  for (std::size_t I = C.size(); I-- > 0;)
    if (C[I] && C[I]->Callback == Proc) C.erase(C.begin() + std::ptrdiff_t(I));
  if (!C.empty()) return false;
  Remove(Info);
  delete Info;
  return true;
}

void TFreeNotifiersList::FireCallbacks(const void* Address) {
  TFreeNotifierInfo* Info = FindInfo(Address);
  if (!Info) return;
  // Out of the list first: what the callbacks register or remove meanwhile
  // must not see this record.
  Remove(Info);
  std::unique_ptr<TFreeNotifierInfo> Owned(Info);
  auto* Freed = static_cast<TObject*>(const_cast<void*>(Info->Address));
  std::size_t I = 0;
  while (I < Info->Callbacks.size()) {
    TFreeNotifier* Entry = Info->Callbacks[I].get();
    if (Entry && Entry->Callback.Assigned()) Entry->Callback(Freed);
    if (I < Info->Callbacks.size() && Info->Callbacks[I].get() == Entry) ++I;
  }
  Info->Releasing = true;
}

void FireFreeNotifiers(const void* Address) {
  TFreeNotifiersList* List = GlobalNotifiers().List;
  if (List && List->Count() > 0) List->FireCallbacks(Address);
}

// ---------------------------------------------------------------------------
// TNotifierStorage

TNotifierStorage::TNotifierStorage(TComponent* AOwner) : TComponent(AOwner) {}

TNotifierStorage::~TNotifierStorage() {
  if (NotifierStorage == this) NotifierStorage = nullptr;
}

bool TNotifierStorage::IsWatched(const void* Component) { return FList.FindInfo(Component) != nullptr; }

void TNotifierStorage::AddCallback(TComponent* Component, const TFreeNotifyProc& Proc) {
  if (FList.AddCallback(Component, Proc)) Component->FreeNotification(this);
}

bool TNotifierStorage::RemoveCallback(TComponent* Component, const TFreeNotifyProc& Proc) {
  const bool Removed = FList.RemoveCallback(Component, Proc);
  if (Removed) {
    RemoveFreeNotification(Component);
    FreeIfEmpty();
  }
  return Removed;
}

void TNotifierStorage::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && IsWatched(AComponent)) ComponentFreed(AComponent);
}

void TNotifierStorage::ComponentFreed(TComponent* Component) {
  RemoveFreeNotification(Component);
  FList.FireCallbacks(Component);
  // A callback may have ended the storage (its last registration went).
  if (NotifierStorage == this) FreeIfEmpty();
}

void TNotifierStorage::FreeIfEmpty() {
  if (FList.Count() == 0) delete this;
}

TNotifierStorage* GetNotifierStorage() {
  if (!NotifierStorage) NotifierStorage = new TNotifierStorage(nullptr);
  return NotifierStorage;
}

TNotifierStorage* FindNotifierStorage() { return NotifierStorage; }

// ---------------------------------------------------------------------------

void AddFreeNotifier(TObject* Obj, const TFreeNotifyProc& Proc) {
  if (!Obj) return;
  if (auto* C = dynamic_cast<TComponent*>(Obj)) {
    GetNotifierStorage()->AddCallback(C, Proc);
    return;
  }
  if (!dynamic_cast<TFreeNotifySource*>(Obj))
    throw EInvalidOperation("Cannot watch an object of class " + Obj->ClassName() +
                            ": it does not report its release");
  if (TFreeNotifiersList* List = GlobalNotifiers().List) List->AddCallback(Obj, Proc);
}

void RemoveFreeNotifier(TObject* Obj, const TFreeNotifyProc& Proc) {
  if (!Obj) return;
  // By address first: Obj may be on its way out, so its class is not asked.
  // Only live components have records in the storage.
  if (NotifierStorage && NotifierStorage->IsWatched(Obj) &&
      NotifierStorage->RemoveCallback(static_cast<TComponent*>(Obj), Proc))
    return;
  if (TFreeNotifiersList* List = GlobalNotifiers().List) List->RemoveCallback(Obj, Proc);
}
