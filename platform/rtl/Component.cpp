#include "platform/rtl/Component.h"

#include <algorithm>

#include "platform/rtl/Filer.h"
#include "platform/rtl/ObjectModel_p.h"

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[size_t(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& L = FOwner->FComponents;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : Integer(It - L.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  if (!FOwner) return;
  auto& L = FOwner->FComponents;
  Integer Cur = ComponentIndex();
  if (Cur < 0) return;
  Value = std::clamp<Integer>(Value, 0, Integer(L.size()) - 1);
  if (Value == Cur) return;
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (sx_name::SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::SetName(const AnsiString& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !sx_name::IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName) {
  if (AComponent && !sx_name::SameText(CurName, NewName) && AComponent->FOwner == this &&
      FindComponent(NewName))
    throw EComponentError("A component named " + NewName + " already exists");
}

void TComponent::SetSubComponent(bool Value) {
  if (Value) FComponentStyle.Include(csSubComponent);
  else FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetState(TComponentStateElem Elem, bool On) {
  if (On) FComponentState.Include(Elem);
  else FComponentState.Exclude(Elem);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  AComponent->FOwner = nullptr;
  std::erase(FComponents, AComponent);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent) return;
  if (AComponent->FOwner == this) return;
  // Checked before leaving the old owner, so a refused move changes nothing.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* C = FComponents.back();
    Remove(C);
    delete C;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Owned components hear of their siblings (index-safe: a handler may
  // free components).
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) continue;
    FComponents[i]->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent) { std::erase(FFreeNotifies, AComponent); }

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }
void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }
void TComponent::GetChildren(const TGetChildProc& /*Proc*/, TComponent* /*Root*/) {}
void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

TComponent* CreateComponent(TClass AClass, TComponent* AOwner) {
  if (!AClass || !AClass->InheritsFrom(TComponent::StaticClass()) || AClass->CtorKind() != TCtorKind::Owner)
    throw EInvalidOperation("Cannot create a component of class " + (AClass ? AClass->ClassName() : AnsiString("nil")));
  return static_cast<TComponent*>(AClass->Create(static_cast<void*>(AOwner)));
}
