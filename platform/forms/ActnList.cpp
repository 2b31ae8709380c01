#include "platform/forms/ActnList.h"

#include <algorithm>

#include "platform/forms/Application.h"
#include "platform/rtl/Filer.h"
#include "platform/win/MessageQueue.h"

bool TBasicAction::Execute() {
  if (!OnExecute.Assigned()) return false;
  OnExecute(this);
  return true;
}

bool TContainedAction::Execute() {
  if (inherited::Execute()) return true;
  if (!Application) return false;
  return SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, LPARAM(this)) == 1;
}

// ---------------------------------------------------------------------------
// TActionLink

TActionLink::~TActionLink() { SetAction(nullptr); }

bool TActionLink::IsCustom() const { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }

void TActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (auto* Old = dynamic_cast<TCustomAction*>(FAction))
    Old->FClients.erase(std::remove(Old->FClients.begin(), Old->FClients.end(), this), Old->FClients.end());
  FAction = Value;
  if (auto* New = dynamic_cast<TCustomAction*>(FAction)) {
    New->FClients.push_back(this);
    AssignState();
  }
}

void TActionLink::AssignState() {
  auto* A = dynamic_cast<TCustomAction*>(FAction);
  if (!A) return;
  if (IsCaptionLinked()) SetCaption(A->GetCaption());
  if (IsCheckedLinked()) SetChecked(A->GetChecked());
  if (IsEnabledLinked()) SetEnabled(A->GetEnabled());
  if (IsHintLinked()) SetHint(A->GetHint());
  if (IsImageIndexLinked()) SetImageIndex(A->GetImageIndex());
  if (IsShortCutLinked()) SetShortCut(A->GetShortCut());
  if (IsVisibleLinked()) SetVisible(A->GetVisible());
  if (IsOnExecuteLinked()) SetOnExecute(A->OnExecute);
}

bool TActionLink::Execute(TComponent*) { return FAction && FAction->Execute(); }

bool TActionLink::Update() {
  auto* A = dynamic_cast<TCustomAction*>(FAction);
  return A && A->Update();
}

// ---------------------------------------------------------------------------
// TCustomAction

TCustomAction::~TCustomAction() {
  Destroying();
  for (TActionLink* L : std::vector<TActionLink*>(FClients)) L->SetAction(nullptr);
  SetActionList(nullptr);
}

void TCustomAction::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Tell([&](TActionLink* L) {
    if (L->IsCaptionLinked()) L->SetCaption(Value);
  });
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Tell([&](TActionLink* L) {
    if (L->IsCheckedLinked()) L->SetChecked(Value);
  });
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Tell([&](TActionLink* L) {
    if (L->IsEnabledLinked()) L->SetEnabled(Value);
  });
}

void TCustomAction::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  Tell([&](TActionLink* L) {
    if (L->IsHintLinked()) L->SetHint(Value);
  });
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Tell([&](TActionLink* L) {
    if (L->IsImageIndexLinked()) L->SetImageIndex(Value);
  });
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  Tell([&](TActionLink* L) {
    if (L->IsShortCutLinked()) L->SetShortCut(Value);
  });
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Tell([&](TActionLink* L) {
    if (L->IsVisibleLinked()) L->SetVisible(Value);
  });
}

void TCustomAction::SetActionList(TActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) {
    auto& V = FActionList->FActions;
    V.erase(std::remove(V.begin(), V.end(), this), V.end());
  }
  FActionList = Value;
  if (FActionList) FActionList->FActions.push_back(this);
}

TComponent* TCustomAction::GetParentComponent() { return FActionList; }

void TCustomAction::SetParentComponent(TComponent* Value) { SetActionList(dynamic_cast<TActionList*>(Value)); }

void TCustomAction::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* L = dynamic_cast<TActionList*>(Reader->Parent())) SetActionList(L);
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return inherited::Execute();
}

bool TCustomAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (OnUpdate.Assigned()) {
    OnUpdate(this);
    return true;
  }
  if (!Application) return false;
  return SendMessageA(Application->Handle(), CM_ACTIONUPDATE, 0, LPARAM(this)) == 1;
}

// ---------------------------------------------------------------------------
// TActionList

TActionList::~TActionList() {
  Destroying();
  for (TCustomAction* A : std::vector<TCustomAction*>(FActions)) A->SetActionList(nullptr);
}

TCustomAction* TActionList::Actions(Integer Index) const {
  if (Index < 0 || Index >= ActionCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FActions[size_t(Index)];
}

bool TActionList::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnExecute.Assigned()) OnExecute(Action, Handled);
  return Handled;
}

bool TActionList::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnUpdate.Assigned()) OnUpdate(Action, Handled);
  return Handled;
}

bool TActionList::IsShortCut(TShortCut AShortCut) {
  if (!AShortCut) return false;
  for (TCustomAction* A : std::vector<TCustomAction*>(FActions)) {
    if (A->GetShortCut() != AShortCut) continue;
    A->Update();
    if (!A->GetEnabled()) return false;
    A->Execute();
    return true;
  }
  return false;
}

void TActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TCustomAction* A : FActions)
    if (A->Owner() == Root) Proc(A);
}

void TActionList::SetChildOrder(TComponent* Child, Integer Order) {
  auto It = std::find(FActions.begin(), FActions.end(), Child);
  if (It == FActions.end() || Order < 0 || Order >= ActionCount()) return;
  TCustomAction* A = *It;
  FActions.erase(It);
  FActions.insert(FActions.begin() + Order, A);
}
