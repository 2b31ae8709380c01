#include "bars/model/dxBarItemLinks.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/MulDiv.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"

// The narrowest width a user may give an edit placement.
constexpr Integer dxBarMinUserWidth = 20;

// ---------------------------------------------------------------------------
// TdxBarItemLink

void TdxBarItemLink::Published(TPublished<TdxBarItemLink>& P) {
  P.Property("BeginGroup", &TdxBarItemLink::GetStoredBeginGroup, &TdxBarItemLink::SetBeginGroup).Default(false);
  P.Property("Item", &TdxBarItemLink::GetItem, &TdxBarItemLink::SetItem);
  P.Property("MostRecentlyUsed", &TdxBarItemLink::GetMostRecentlyUsed, &TdxBarItemLink::SetMostRecentlyUsed)
      .Default(true);
  P.Property("UserCaption", &TdxBarItemLink::GetUserCaption, &TdxBarItemLink::SetUserCaption);
  P.Property("UserDefine", &TdxBarItemLink::GetUserDefine, &TdxBarItemLink::SetUserDefineRaw)
      .Default(TdxBarUserDefines{});
  P.Property("UserPaintStyle", &TdxBarItemLink::GetUserPaintStyle, &TdxBarItemLink::SetUserPaintStyle)
      .Default(psStandard);
  P.Property("UserWidth", &TdxBarItemLink::GetUserWidth, &TdxBarItemLink::SetUserWidth).Default(0);
  P.Property("Visible", &TdxBarItemLink::GetVisible, &TdxBarItemLink::SetVisible).Default(true);
}

TdxBarItemLink::TdxBarItemLink(TCollection* ACollection) : TCollectionItem(ACollection) {
  FUserGlyph = std::make_unique<TBitmap>();
  TdxBarManager* M = GetBarManager();
  FUseCount = M ? M->InitialUseCount() : 0;
  if (TdxBarItemLinks* L = Links()) {
    L->FRecentOrder.push_back(this);
    if (L->FConstructing == static_cast<TCollectionItem*>(this)) L->FConstructing = nullptr;
  }
  if (M && !M->IsLoading() && M->OnItemLinkAdd) M->OnItemLinkAdd(M, this);
}

TdxBarItemLink::~TdxBarItemLink() {
  DestroyControl();
  TdxBarManager* M = GetBarManager();
  if (M && !M->IsDestroying() && M->OnItemLinkDelete) M->OnItemLinkDelete(M, this);
  if (FItem) FItem->RemoveLink(this);
  FItem = nullptr;
  if (TdxBarItemLinks* L = Links()) {
    for (Integer I = 0; I < L->Count(); ++I)
      if (L->Items(I) != L->FConstructing)
        if (TdxBarItemLink* E = L->GetItem(I); E && E->FOwnerLink == this) E->FOwnerLink = nullptr;
    std::erase(L->FRecentOrder, this);
    std::erase(L->FAvailable, this);
    std::erase(L->FVisibleList, this);
    std::erase(L->FShown, this);
  }
}

TdxBarItemLinks* TdxBarItemLink::Links() const { return static_cast<TdxBarItemLinks*>(Collection()); }

TdxBarManager* TdxBarItemLink::GetBarManager() const {
  TdxBarItemLinks* L = Links();
  return L ? L->BarManager() : nullptr;
}

void TdxBarItemLink::SetItem(TdxBarItem* Value) {
  if (FItem == Value) return;
  if (FItem) FItem->RemoveLink(this);
  FItem = nullptr;
  TdxBarItemLinks* L = Links();
  if (Value) {
    TCustomdxBarSubItem* Owner = L ? L->OwnerSubItem() : nullptr;
    auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(Value);
    if (Owner && (Value == Owner || (Sub && Sub->ContainsItem(Owner)))) {
      Changed();
      throw Exception(dxBarStr(dxSBAR_RECURSIVESUBITEMS));
    }
    FItem = Value;
    FItem->AddLink(this);
    if (L) {
      L->RebuildLists();
      if (!L->OwnerBar() && !(GetBarManager() && GetBarManager()->IsLoading()) && !L->IsLoading()) ResetUsage();
    }
  } else if (L) {
    L->RebuildLists();
  }
  Changed();
}

bool TdxBarItemLink::GetBeginGroup() const {
  TdxBarItemLinks* L = Links();
  if (!L) return FBeginGroup;
  Integer P = GetShownIndex();
  if (P == 0) return false;
  if (P < 0) return FBeginGroup;
  if (FBeginGroup) return true;
  // Separators of hidden links pass to the next shown one.
  TdxBarItemLink* Prev = L->GetShownLink(P - 1);
  Integer From = Prev->GetAvailableIndex(), To = GetAvailableIndex();
  for (Integer I = From + 1; I < To; ++I)
    if (L->GetAvailableLink(I)->FBeginGroup) return true;
  return false;
}

void TdxBarItemLink::SetBeginGroup(bool Value) {
  if (FBeginGroup == Value) return;
  FBeginGroup = Value;
  Changed();
}

void TdxBarItemLink::SetVisible(bool Value) {
  TdxBarItemLinks* L = Links();
  TdxBarManager* M = GetBarManager();
  if ((M && M->IsLoading()) || (L && L->IsLoading())) {
    FPendingVisible = Value;
    return;
  }
  if (FVisible == Value) return;
  FVisible = Value;
  if (L && !(M && M->IsDesigning())) {
    L->RebuildLists();
    if (Value) MarkRecentlyUsed(false);
    else MoveToRecentEnd();
  }
  Changed();
}

void TdxBarItemLink::SetUserDefine(TdxBarUserDefines Value) {
  if (FUserDefine == Value) return;
  FUserDefine = Value;
  if (!Value.Contains(udCaption)) FUserCaption.clear();
  if (!Value.Contains(udGlyph)) FUserGlyph->Assign(nullptr);
  if (!Value.Contains(udPaintStyle)) FUserPaintStyle = psStandard;
  if (!Value.Contains(udWidth)) FUserWidth = 0;
  Changed();
}

void TdxBarItemLink::SetUserCaption(const AnsiString& Value) {
  if (FUserDefine.Contains(udCaption) && FUserCaption == Value) return;
  if (!FUserDefine.Contains(udCaption) && GetCaption() == Value) return;
  FUserCaption = Value;
  FUserDefine.Include(udCaption);
  Changed();
}

void TdxBarItemLink::SetUserGlyph(TBitmap* Value) {
  FUserGlyph->Assign(Value);
  FUserDefine.Include(udGlyph);
  Changed();
}

void TdxBarItemLink::SetUserPaintStyle(TdxBarPaintStyle Value) {
  if (Value < psStandard || Value > psCaptionGlyph) return;
  if (GetPaintStyle() == Value && FUserDefine.Contains(udPaintStyle)) return;
  FUserPaintStyle = Value;
  FUserDefine.Include(udPaintStyle);
  Changed();
}

void TdxBarItemLink::SetUserWidth(Integer Value) {
  if (Value < dxBarMinUserWidth) Value = dxBarMinUserWidth;
  if (GetWidth() == Value && FUserDefine.Contains(udWidth)) return;
  FUserWidth = Value;
  FUserDefine.Include(udWidth);
  Changed();
}

AnsiString TdxBarItemLink::GetCaption() const {
  return FUserDefine.Contains(udCaption) || !FItem ? FUserCaption : FItem->GetCaption();
}

TBitmap* TdxBarItemLink::GetGlyph() const {
  return FUserDefine.Contains(udGlyph) || !FItem ? FUserGlyph.get() : FItem->GetGlyph();
}

TdxBarPaintStyle TdxBarItemLink::GetPaintStyle() const {
  if (FUserDefine.Contains(udPaintStyle) || !FItem) return FUserPaintStyle;
  if (auto* B = dynamic_cast<TdxBarButton*>(FItem)) return B->GetPaintStyle();
  return psStandard;
}

Integer TdxBarItemLink::GetWidth() const {
  if (FUserDefine.Contains(udWidth)) return FUserWidth;
  if (auto* E = dynamic_cast<TdxBarEdit*>(FItem)) return E->GetWidth();
  return 0;
}

namespace {
Integer IndexIn(const std::vector<TdxBarItemLink*>& L, const TdxBarItemLink* Link) {
  auto It = std::find(L.begin(), L.end(), Link);
  return It == L.end() ? -1 : Integer(It - L.begin());
}
}  // namespace

Integer TdxBarItemLink::GetAvailableIndex() const { return Links() ? IndexIn(Links()->FAvailable, this) : -1; }
Integer TdxBarItemLink::GetVisibleIndex() const { return Links() ? IndexIn(Links()->FVisibleList, this) : -1; }
Integer TdxBarItemLink::GetShownIndex() const { return Links() ? IndexIn(Links()->FShown, this) : -1; }
Integer TdxBarItemLink::RecentIndex() const { return Links() ? IndexIn(Links()->FRecentOrder, this) : -1; }

bool TdxBarItemLink::IsVisibleNow() const { return FItem && FItem->IsActuallyVisible() && FVisible; }

bool TdxBarItemLink::ContainsItem(TdxBarItem* AItem) const {
  if (!FItem) return false;
  if (FItem == AItem) return true;
  auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(FItem);
  return Sub && Sub->ContainsItem(AItem);
}

void TdxBarItemLink::MarkRecentlyUsed(bool ACount) {
  TdxBarItemLinks* L = Links();
  if (!L || !IsVisibleNow()) return;
  if (L->KeepsUsage()) {
    L->MoveInRecentOrder(this, 0);
    if (ACount && FUseCount < INT_MAX) ++FUseCount;
    L->RebuildLists();
  }
  // The use propagates to the link whose control opened this menu (a
  // sub-item's title or the button a drop-down menu belongs to).
  if (auto* Menu = dynamic_cast<TdxBarSubMenuControl*>(L->BarControl()))
    if (TdxBarItemControl* Owner = Menu->OwnerControl())
      if (TdxBarItemLink* Up = Owner->ItemLink(); Up && Up != this && Up->Links() != L) Up->MarkRecentlyUsed(ACount);
  // A generated entry's use is the use of the container it stands for.
  if (FOwnerLink && FOwnerLink != this && FOwnerLink->Links() == L && L->KeepsUsage()) {
    L->MoveInRecentOrder(FOwnerLink, 0);
    if (ACount && FOwnerLink->FUseCount < INT_MAX) ++FOwnerLink->FUseCount;
  }
}

void TdxBarItemLink::SetReplaced(bool Value) {
  if (FReplaced == Value) return;
  FReplaced = Value;
  if (TdxBarItemLinks* L = Links()) L->RebuildLists();
}

void TdxBarItemLink::MoveToRecentIndex(Integer APosition) {
  if (TdxBarItemLinks* L = Links()) L->MoveInRecentOrder(this, APosition);
}

void TdxBarItemLink::MoveToRecentEnd() {
  if (TdxBarItemLinks* L = Links()) L->MoveInRecentOrder(this, L->RecentCount() - 1);
}

void TdxBarItemLink::ResetUsage() {
  TdxBarManager* M = GetBarManager();
  if (FMostRecentlyUsed) {
    FUseCount = M ? M->InitialUseCount() : 0;
    MarkRecentlyUsed(false);
  } else {
    FUseCount = 0;
    MoveToRecentEnd();
  }
}

void TdxBarItemLink::Changed() {
  TdxBarManager* M = GetBarManager();
  if (!M) return;
  if (Links() && Links()->BarControl() && M->IsCustomizing()) M->DesignerModified();
  if (!M->IsLoading() && M->OnItemLinkChange) M->OnItemLinkChange(M, this);
}

void TdxBarItemLink::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxBarItemLink*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  FUserCaption = S->FUserCaption;
  FUserGlyph->Assign(S->FUserGlyph.get());
  FUserPaintStyle = S->FUserPaintStyle;
  FUserWidth = S->FUserWidth;
  TdxBarItem* Item = S->FItem;
  TdxBarManager* M = GetBarManager();
  if (Item && M && M != S->GetBarManager() && M->ComponentState().Contains(csUpdating))
    Item = M->FindItemByName(Item->GetName());
  SetItem(Item);
  FUserDefine = S->FUserDefine;
  FBeginGroup = S->GetBeginGroup();
  SetVisible(S->FVisible);
}

// ---------------------------------------------------------------------------
// TdxBarItemLinks

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* ABarManager, TObject* AOwner)
    : TCollection(TdxBarItemLink::StaticClass()), FBarManager(ABarManager), FOwner(AOwner) {}

TdxBarItemLinks::~TdxBarItemLinks() {
  DestroyBarControl();
  // The links' destructors read the lists; clear them first.
  FAvailable.clear();
  FVisibleList.clear();
  FShown.clear();
  Clear();
}

TdxBar* TdxBarItemLinks::OwnerBar() const { return dynamic_cast<TdxBar*>(FOwner); }
TCustomdxBarSubItem* TdxBarItemLinks::OwnerSubItem() const { return dynamic_cast<TCustomdxBarSubItem*>(FOwner); }

TdxBarItemLink* TdxBarItemLinks::GetItem(Integer Index) const {
  return Index >= 0 && Index < Count() ? static_cast<TdxBarItemLink*>(Items(Index)) : nullptr;
}

TdxBarItemLink* TdxBarItemLinks::Add() { return static_cast<TdxBarItemLink*>(TCollection::Add()); }

TdxBarItemLink* TdxBarItemLinks::AddItem(TdxBarItem* AItem) {
  TdxBarItemLink* L = Add();
  try {
    L->SetItem(AItem);
  } catch (...) {
    delete L;
    throw;
  }
  return L;
}

TdxBarItemLink* TdxBarItemLinks::GetAvailableLink(Integer Index) const {
  return Index >= 0 && Index < GetAvailableCount() ? FAvailable[std::size_t(Index)] : nullptr;
}
TdxBarItemLink* TdxBarItemLinks::GetVisibleLink(Integer Index) const {
  return Index >= 0 && Index < GetVisibleCount() ? FVisibleList[std::size_t(Index)] : nullptr;
}
TdxBarItemLink* TdxBarItemLinks::GetShownLink(Integer Index) const {
  return Index >= 0 && Index < GetShownCount() ? FShown[std::size_t(Index)] : nullptr;
}
TdxBarItemLink* TdxBarItemLinks::RecentLink(Integer Index) const {
  return Index >= 0 && Index < RecentCount() ? FRecentOrder[std::size_t(Index)] : nullptr;
}

void TdxBarItemLinks::RebuildLists() {
  // The window that shows the links re-lays out once the change is over.
  if (FBarControl) FBarControl->RecalculateLater();
  FAvailable.clear();
  FVisibleList.clear();
  FShown.clear();
  bool Designing = FBarManager && FBarManager->IsDesigning();
  for (Integer I = 0; I < Count(); ++I) {
    // A link still in its base constructor is not a link yet: not even a
    // cast to one is allowed.
    if (Items(I) == FConstructing) continue;
    TdxBarItemLink* L = GetItem(I);
    if (!L->FItem || !(Designing || L->FItem->IsActuallyVisible())) continue;
    if (L->FReplaced && !Designing) continue;
    FAvailable.push_back(L);
    if (!(Designing || L->FVisible)) continue;
    FVisibleList.push_back(L);
    if (Designing || FRecentItemCount == -1) FShown.push_back(L);
  }
  if (Designing || FRecentItemCount < 1) return;
  for (TdxBarItemLink* L : FRecentOrder) {
    if (Integer(FShown.size()) >= FRecentItemCount) break;
    if (L->GetVisibleIndex() >= 0) FShown.push_back(L);
  }
  std::sort(FShown.begin(), FShown.end(),
            [](TdxBarItemLink* A, TdxBarItemLink* B) { return A->GetVisibleIndex() < B->GetVisibleIndex(); });
}

bool TdxBarItemLinks::KeepsUsage() const {
  if (!FBarManager || !FBarManager->IsNonStandardStyle()) return false;
  return FKeepsUsage;
}

void TdxBarItemLinks::SetRecentItemCount(Integer Value) {
  FPrevRecentItemCount = FRecentItemCount;
  FRecentItemCount = KeepsUsage() ? Value : -1;
  RebuildLists();
}

void TdxBarItemLinks::RestoreRecentItemCount() {
  FRecentItemCount = FPrevRecentItemCount;
  RebuildLists();
}

Integer TdxBarItemLinks::GetRecentItemCount() const {
  if (!KeepsUsage()) return -1;
  Integer Min = INT_MAX, Max = 0;
  for (TdxBarItemLink* L : FVisibleList) {
    Min = std::min(Min, L->FUseCount);
    Max = std::max(Max, L->FUseCount);
  }
  if (FVisibleList.empty()) return -1;
  Integer P = FBarManager->GetMostRecentItemsPercents();
  Integer Threshold = Min + MulDiv(Max - Min, 100 - P, 100);
  Integer N = GetVisibleCount(), Result = 0;
  for (Integer I = std::min(N, RecentCount()) - 1; I >= 0; --I) {
    TdxBarItemLink* L = FRecentOrder[std::size_t(I)];
    if (L->FUseCount >= Threshold) {
      Result = I + 1;
      break;
    }
  }
  return Result == N ? -1 : Result;
}

void TdxBarItemLinks::MoveInRecentOrder(TdxBarItemLink* ALink, Integer APosition) {
  auto It = std::find(FRecentOrder.begin(), FRecentOrder.end(), ALink);
  if (It == FRecentOrder.end()) return;
  FRecentOrder.erase(It);
  APosition = std::clamp<Integer>(APosition, 0, Integer(FRecentOrder.size()));
  FRecentOrder.insert(FRecentOrder.begin() + APosition, ALink);
}

void TdxBarItemLinks::ApplyLoadedUsage(bool AApplyPendingVisible) {
  RebuildLists();
  for (Integer I = Count() - 1; I >= 0; --I)
    if (GetItem(I)->FItem) GetItem(I)->ResetUsage();
  if (AApplyPendingVisible)
    for (Integer I = Count() - 1; I >= 0; --I) GetItem(I)->SetVisible(GetItem(I)->FPendingVisible);
  // Each position takes the links that were stored at it; a stored index is
  // a number from a file, so it is bounded by the links there are.
  for (Integer Pos = 0; Pos < Count(); ++Pos)
    for (Integer I = 0; I < Count(); ++I) {
      TdxBarItemLink* L = GetItem(I);
      if (L->FLoadedRecentIndex != Pos) continue;
      L->FUseCount = L->FLoadedUseCount;
      MoveInRecentOrder(L, Pos);
      L->FLoadedRecentIndex = -1;
    }
  for (Integer I = 0; I < Count(); ++I) GetItem(I)->FLoadedRecentIndex = -1;
  RebuildLists();
}

void TdxBarItemLinks::EndLoading() {
  FLoading = false;
  ApplyLoadedUsage(true);
}

void TdxBarItemLinks::CompactRecentOrder() {
  std::stable_partition(FRecentOrder.begin(), FRecentOrder.end(),
                        [](TdxBarItemLink* L) { return L->GetVisibleIndex() >= 0; });
}

void TdxBarItemLinks::CopyUsageFrom(TdxBarItemLinks* ASource) {
  for (Integer I = 0; I < Count() && I < ASource->Count(); ++I)
    GetItem(I)->FMostRecentlyUsed = ASource->GetItem(I)->FMostRecentlyUsed;
  ApplyLoadedUsage(false);
  CompactRecentOrder();
}

bool TdxBarItemLinks::ContainsItem(TdxBarItem* AItem) const {
  for (Integer I = 0; I < Count(); ++I)
    if (GetItem(I)->ContainsItem(AItem)) return true;
  return false;
}

void TdxBarItemLinks::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TdxBarItemLinks*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  FAssigning = true;
  try {
    BeginUpdate();
    Clear();
    for (Integer I = 0; I < S->Count(); ++I) Add()->Assign(S->GetItem(I));
    EndUpdate();
  } catch (...) {
    FAssigning = false;
    throw;
  }
  FAssigning = false;
  for (Integer I = 0; I < Count(); ++I) GetItem(I)->SetVisible(GetItem(I)->FPendingVisible);
}

void TdxBarItemLinks::Update(TCollectionItem*) {
  if (FBarManager && FOwner && dynamic_cast<TdxBar*>(FOwner)) FBarManager->DesignerModified();
  RebuildLists();
}

void TdxBarItemLinks::DestroyBarControl() {
  TCustomdxBarControl* W = FBarControl;
  FBarControl = nullptr;
  delete W;
}

bool TdxBarItemLinks::FindShortCut(TShortCut AShortCut) {
  if (AShortCut == 0) return false;
  for (Integer I = 0; I < GetAvailableCount(); ++I) {
    TdxBarItemLink* L = GetAvailableLink(I);
    TdxBarItem* It = L->GetItem();
    if (!It) continue;
    if (It->GetShortCut() == AShortCut && It->GetEnabled() && It->CanClick()) {
      It->SetClickedLink(L);
      It->Click();
      if (It->ClickedLink() == L) It->SetClickedLink(nullptr);
      return true;
    }
    if (auto* Sub = dynamic_cast<TCustomdxBarSubItem*>(It))
      if (Sub->ItemLinks() && Sub->ItemLinks() != this && Sub->ItemLinks()->FindShortCut(AShortCut)) return true;
  }
  return false;
}

namespace {
char AcceleratorOf(const AnsiString& S) {
  for (std::size_t I = 0; I + 1 < S.size(); ++I)
    if (S[I] == '&') {
      if (S[I + 1] == '&') {
        ++I;
        continue;
      }
      return char(std::toupper(static_cast<unsigned char>(S[I + 1])));
    }
  return 0;
}

// A link answers to an accelerator only when its item lets the key choose
// it (enabled, and on a toolbar only where its caption shows).
bool TakesAccelerator(const TdxBarItemLink* L, char Key) {
  return Key && AcceleratorOf(L->GetCaption()) == Key && L->GetItem() && L->GetItem()->CanSelectByKey(L);
}
}  // namespace

TdxBarItemLink* TdxBarItemLinks::FindAccelerator(char Key) const {
  Key = char(std::toupper(static_cast<unsigned char>(Key)));
  for (Integer I = 0; I < GetShownCount(); ++I)
    if (TakesAccelerator(GetShownLink(I), Key)) return GetShownLink(I);
  return nullptr;
}

TdxBarItemLink* TdxBarItemLink::NextWithSameAccelerator() const {
  TdxBarItemLinks* L = Links();
  char Key = AcceleratorOf(GetCaption());
  Integer From = GetShownIndex();
  if (!L || !Key || From < 0) return const_cast<TdxBarItemLink*>(this);
  for (Integer K = 1; K < L->GetShownCount(); ++K) {
    TdxBarItemLink* Other = L->GetShownLink((From + K) % L->GetShownCount());
    if (TakesAccelerator(Other, Key)) return Other;
  }
  return const_cast<TdxBarItemLink*>(this);
}

void TdxBarItemLink::DestroyControl() {
  TdxBarItemControl* C = FControl;
  FControl = nullptr;
  delete C;
}

void TdxBarItemLinks::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  // The collection hears of a new link from the link's base constructor,
  // before the link's own fields exist.
  if (Action == cnAdded) FConstructing = Item;
  if (Action == cnExtracting || Action == cnDeleting) {
    // Compared as collection items: the link may be half destroyed.
    auto Same = [Item](TdxBarItemLink* L) { return static_cast<TCollectionItem*>(L) == Item; };
    std::erase_if(FAvailable, Same);
    std::erase_if(FVisibleList, Same);
    std::erase_if(FShown, Same);
  }
}
