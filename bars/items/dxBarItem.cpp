#include "bars/items/dxBarItem.h"

#include <algorithm>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/base/cxClasses.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Filer.h"

// ---------------------------------------------------------------------------
// Action link

TdxBarItemActionLink::TdxBarItemActionLink(TdxBarItem* AClient) : TActionLink(AClient), FClient(AClient) {}

namespace {
TCustomAction* AsCustomAction(TBasicAction* A) { return dynamic_cast<TCustomAction*>(A); }
}  // namespace

bool TdxBarItemActionLink::IsCaptionLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsCaptionLinked() && A && FClient->GetCaption() == A->GetCaption();
}
bool TdxBarItemActionLink::IsEnabledLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsEnabledLinked() && A && FClient->GetStoredEnabled() == A->GetEnabled();
}
bool TdxBarItemActionLink::IsHintLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsHintLinked() && A && FClient->GetHint() == A->GetHint();
}
bool TdxBarItemActionLink::IsImageIndexLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsImageIndexLinked() && A && FClient->GetImageIndex() == A->GetImageIndex();
}
bool TdxBarItemActionLink::IsShortCutLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsShortCutLinked() && A && FClient->GetShortCut() == A->GetShortCut();
}
bool TdxBarItemActionLink::IsVisibleLinked() {
  auto* A = AsCustomAction(GetAction());
  return TActionLink::IsVisibleLinked() && A && (FClient->GetVisible() == ivAlways) == A->GetVisible();
}
void TdxBarItemActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked() || FClient->FApplyingActionDefaults) FClient->SetCaption(Value);
}
void TdxBarItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TdxBarItemActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TdxBarItemActionLink::SetImageIndex(Integer Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TdxBarItemActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TdxBarItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value ? ivAlways : ivNever);
}

// ---------------------------------------------------------------------------
// Item

void TdxBarItem::Published(TPublished<TdxBarItem>& P) {
  P.Property("Action", &TdxBarItem::GetAction, &TdxBarItem::SetAction);
  P.Property("Align", &TdxBarItem::GetAlign, &TdxBarItem::SetAlign).Default(iaLeft);
  P.Property("Caption", &TdxBarItem::GetCaption, &TdxBarItem::SetCaption);
  P.Property("Category", &TdxBarItem::GetCategory, &TdxBarItem::SetCategory);
  P.Property("Description", &TdxBarItem::GetDescription, &TdxBarItem::SetDescription);
  P.Property("Enabled", &TdxBarItem::GetStoredEnabled, &TdxBarItem::SetEnabled).Default(true);
  P.Property("HelpContext", &TdxBarItem::FHelpContext, &TdxBarItem::FHelpContext).Default(0);
  P.Property("Hint", &TdxBarItem::GetHint, &TdxBarItem::SetHint);
  P.Property("Visible", &TdxBarItem::GetVisible, &TdxBarItem::SetVisible).Default(ivAlways);
  P.Property("OnDestroy", &TdxBarItem::OnDestroy, &TdxBarItem::OnDestroy);
}

TdxBarItem::TdxBarItem(TComponent* AOwner) : TComponent(AOwner) {
  TdxBarManager* M = GetBarManagerOfForm(dynamic_cast<TCustomForm*>(AOwner));
  if (!M && BarManagers().Count() > 0) M = BarManagers().Get(0);
  if (M) {
    FBarManager = M;
    M->AddItem(this);
  }
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = TNotifyEvent(this, &TdxBarItem::GlyphChange);
}

TdxBarItem::~TdxBarItem() {
  if (OnDestroy) OnDestroy(this);
  Destroying();
  ClearObjectLinks(this);
  if (FBarManager) FBarManager->RemoveFromGroups(this);
  // A link outlives its item only as an empty placement.
  while (!FLinks.empty()) {
    TdxBarItemLink* L = FLinks.back();
    FLinks.pop_back();
    L->FItem = nullptr;
    delete L;
  }
  if (FBarManager) FBarManager->RemoveItem(this);
  FActionLink.reset();
}

void TdxBarItem::SetBarManager(TdxBarManager* Value) {
  if (FBarManager == Value) return;
  if (FBarManager) FBarManager->RemoveItem(this);
  FBarManager = Value;
  if (FBarManager) FBarManager->AddItem(this);
  ManagerChanged();
}

bool TdxBarItem::ItemLoading() const {
  return ComponentState().Contains(csLoading) || (FBarManager && FBarManager->IsLoading());
}

void TdxBarItem::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* M = dynamic_cast<TdxBarManager*>(Reader->Parent())) {
    SetBarManager(M);
    ManagerChanged();
  }
}

TComponent* TdxBarItem::GetParentComponent() { return FCategory >= 0 ? FBarManager : nullptr; }

void TdxBarItem::SetParentComponent(TComponent* Value) {
  if (ComponentState().Contains(csLoading) && !Value) return;
  auto* M = dynamic_cast<TdxBarManager*>(Value);
  if (Value && !M) throw EInvalidCast("Invalid class typecast");
  SetBarManager(M);
}

void TdxBarItem::Loaded() {
  inherited::Loaded();
  if (GetAction()) ActionChange(GetAction(), true);
}

void TdxBarItem::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->GetAction()) FActionLink.reset();
}

void TdxBarItem::ApplyPendingVisible() {
  TdxBarItemVisible V = FPendingVisible;
  FVisible = V == ivAlways ? ivNever : ivAlways;  // force the change through
  SetVisible(V);
}

TdxBarItemLink* TdxBarItem::GetLink(Integer Index) const {
  return Index >= 0 && Index < GetLinkCount() ? FLinks[std::size_t(Index)] : nullptr;
}

void TdxBarItem::AddLink(TdxBarItemLink* ALink) {
  if (std::find(FLinks.begin(), FLinks.end(), ALink) == FLinks.end()) FLinks.push_back(ALink);
}
void TdxBarItem::RemoveLink(TdxBarItemLink* ALink) { std::erase(FLinks, ALink); }

bool TdxBarItem::HasControls() const {
  return std::any_of(FLinks.begin(), FLinks.end(), [](TdxBarItemLink* L) { return L->Control() != nullptr; });
}

bool TdxBarItem::IsActuallyVisible() const {
  bool Customizing = FBarManager && FBarManager->IsCustomizing();
  switch (FVisible) {
    case ivAlways: return HasContent() || Customizing;
    case ivInCustomizing: return Customizing;
    default: return false;
  }
}

Integer TdxBarItem::GetIndex() const {
  for (Integer I = 0; FBarManager && I < FBarManager->GetItemCount(); ++I)
    if (FBarManager->GetItem(I) == this) return I;
  return -1;
}

AnsiString TdxBarItem::GetCaptionForHint() const {
  AnsiString S = FCaption;
  if (auto P = S.find('&'); P != AnsiString::npos) S.erase(P, 1);
  if (auto P = S.find("..."); P != AnsiString::npos) S.erase(P, 3);
  return S;
}

bool TdxBarItem::IsHintFromCaption() const {
  AnsiString Short = FHint.substr(0, FHint.find('|'));
  return Short == GetCaptionForHint();
}

bool TdxBarItem::GetEnabled() const {
  if (FBarManager && FBarManager->IsCustomizing() && !FBarManager->IsDesigning() && FCategory >= 0) return true;
  return FEnabled;
}

void TdxBarItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  bool HintFollows = !FApplyingActionDefaults && !dynamic_cast<TCustomdxBarSubItem*>(this) &&
                     (FHint.empty() || IsHintFromCaption());
  FCaption = Value;
  if (ItemLoading()) return;
  if (HintFollows) {
    auto Bar = FHint.find('|');
    FHint = Bar == AnsiString::npos ? GetCaptionForHint() : GetCaptionForHint() + FHint.substr(Bar);
  }
  CaptionChanged();
}

void TdxBarItem::SetCategory(Integer Value) {
  if (!FBarManager || Value < 0 || Value >= FBarManager->Categories()->GetCount()) {
    // While loading the categories may not be read yet; keep the index.
    if (ItemLoading() && Value >= -1) FCategory = Value;
    return;
  }
  FCategory = Value;
  FBarManager->DesignerModified();
}

void TdxBarItem::SetDescription(const AnsiString& Value) { FDescription = Value; }

void TdxBarItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (!ItemLoading()) EnabledChanged();
}

void TdxBarItem::SetHint(const AnsiString& Value) { FHint = Value; }

void TdxBarItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (!ItemLoading()) GlyphChanged();
}

void TdxBarItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  if (!ItemLoading()) ShortCutChanged();
}

void TdxBarItem::SetVisible(TdxBarItemVisible Value) {
  if (Value < ivNever || Value > ivAlways) return;
  if (ItemLoading()) {
    FPendingVisible = Value;
    FVisible = Value;
    return;
  }
  if (FVisible == Value) return;
  FVisible = Value;
  VisibleChanged();
}

void TdxBarItem::SetAlign(TdxBarItemAlign Value) {
  if (Value < iaLeft || Value > iaClient || FAlign == Value) return;
  FAlign = Value;
  if (!ItemLoading()) AlignChanged();
}

void TdxBarItem::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

TBasicAction* TdxBarItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TdxBarItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TdxBarItemActionLink>(this);
  FActionLink->SetAction(Value);
  ActionChange(Value, ItemLoading());
  Value->FreeNotification(this);
}

void TdxBarItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A) return;
  if (!CheckDefaults || FCaption.empty()) {
    FApplyingActionDefaults = CheckDefaults;
    SetCaption(A->GetCaption());
    FApplyingActionDefaults = false;
  }
  if (!CheckDefaults || FEnabled) SetEnabled(A->GetEnabled());
  if (!CheckDefaults || FHint.empty()) SetHint(A->GetHint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(A->GetImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(A->GetShortCut());
  if (!CheckDefaults || FVisible == ivAlways) SetVisible(A->GetVisible() ? ivAlways : ivNever);
}

void TdxBarItem::DoClick() {
  if (!GetEnabled()) return;
  TcxObjectLinkGuard Alive(this);
  if (FBarManager) FBarManager->DoClickItem(this);
  if (!Alive.Alive()) return;
  if (OnClick) OnClick(this);
  else if (FActionLink && FActionLink->GetAction()) FActionLink->Execute(this);
}

bool TdxBarItem::CanSelectByKey(const TdxBarItemLink*) const { return GetEnabled(); }

void TdxBarItem::Click() {
  if (CanClick()) DoClick();
}

void TdxBarItem::RepaintControls() {
  if (ItemLoading()) return;
  for (TdxBarItemLink* L : FLinks)
    if (TdxBarItemControl* C = L->Control()) C->Repaint();
}

void TdxBarItem::RelayoutBars() {
  if (ItemLoading()) return;
  for (TdxBarItemLink* L : FLinks)
    if (TCustomdxBarControl* W = L->Links()->BarControl()) W->RecalculateLater();
}

void TdxBarItem::GlyphChange(TObject*) {
  if (!ItemLoading()) GlyphChanged();
}

void TdxBarItem::CaptionChanged() {
  if (ItemLoading()) return;
  for (TdxBarItemLink* L : FLinks)
    if (TdxBarItemControl* C = L->Control()) C->CaptionChanged();
}
void TdxBarItem::EnabledChanged() {
  if (ItemLoading()) return;
  std::vector<TdxBarItemLink*> Links = FLinks;
  for (TdxBarItemLink* L : Links)
    if (TdxBarItemControl* C = L->Control()) C->EnabledChanged();
}
void TdxBarItem::GlyphChanged() { RepaintControls(); }
void TdxBarItem::ShortCutChanged() { RepaintControls(); }
void TdxBarItem::AlignChanged() { RelayoutBars(); }

void TdxBarItem::VisibleChanged() {
  if (FBarManager && FBarManager->IsDesigning()) return;
  std::unique_ptr<TdxBarLockUpdateGuard> Lock;
  if (FBarManager) Lock = std::make_unique<TdxBarLockUpdateGuard>(FBarManager);
  bool Now = IsActuallyVisible();
  // A copy: marking use may rebuild lists but never changes this item's links.
  std::vector<TdxBarItemLink*> Links = FLinks;
  for (TdxBarItemLink* L : Links) {
    L->Links()->RebuildLists();
    if (Now) L->MarkRecentlyUsed(false);
    else L->MoveToRecentEnd();
  }
}
