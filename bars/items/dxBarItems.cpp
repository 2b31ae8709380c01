#include "bars/items/dxBarItems.h"

#include <algorithm>

#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/win/Window.h"
#include "platform/rtl/Strings.h"

// ---------------------------------------------------------------------------
// Button

void TdxBarButton::Published(TPublished<TdxBarButton>& P) {
  P.Property("AllowAllUp", &TdxBarButton::GetAllowAllUp, &TdxBarButton::SetAllowAllUp).Default(false);
  P.Property("ButtonStyle", &TdxBarButton::GetButtonStyle, &TdxBarButton::SetButtonStyle).Default(bsDefault);
  P.Property("Down", &TdxBarButton::GetDown, &TdxBarButton::SetDown).Default(false);
  P.Property("GroupIndex", &TdxBarButton::GetGroupIndex, &TdxBarButton::SetGroupIndex).Default(0);
  P.Property("ImageIndex", &TdxBarButton::GetImageIndex, &TdxBarButton::SetImageIndex).Default(-1);
  P.Property("PaintStyle", &TdxBarButton::GetPaintStyle, &TdxBarButton::SetPaintStyle).Default(psStandard);
  P.Property("ShortCut", &TdxBarButton::GetShortCut, &TdxBarButton::SetShortCut).Default(0);
  P.Property("UnclickAfterDoing", &TdxBarButton::FUnclickAfterDoing, &TdxBarButton::FUnclickAfterDoing)
      .Default(true);
  P.Property("OnClick", &TdxBarButton::OnClick, &TdxBarButton::OnClick);
}

TdxBarButton::TdxBarButton(TComponent* AOwner) : TdxBarItem(AOwner) {}

void TdxBarButton::SetButtonStyle(TdxBarButtonStyle Value) {
  if (Value < bsDefault || Value > bsDropDown || FButtonStyle == Value) return;
  FButtonStyle = Value;
  if (Value != bsChecked) FDown = false;
  RelayoutBars();
}

void TdxBarButton::SetDown(bool Value) {
  if (FButtonStyle != bsChecked && !ItemLoading()) Value = false;
  if (FDown == Value) return;
  // The last pressed button of a group that may not be all up stays down.
  if (!Value && FGroupIndex > 0 && !FAllowAllUp && !ItemLoading()) return;
  FDown = Value;
  if (Value && FGroupIndex > 0 && BarManager())
    for (Integer I = 0; I < BarManager()->GetItemCount(); ++I)
      if (auto* B = dynamic_cast<TdxBarButton*>(BarManager()->GetItem(I));
          B && B != this && B->FGroupIndex == FGroupIndex && B->FDown) {
        B->FDown = false;
        B->RepaintControls();
      }
  RepaintControls();
}

void TdxBarButton::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
}

void TdxBarButton::SetAllowAllUp(bool Value) { FAllowAllUp = Value; }

void TdxBarButton::SetPaintStyle(TdxBarPaintStyle Value) {
  if (Value < psStandard || Value > psCaptionGlyph || FPaintStyle == Value) return;
  FPaintStyle = Value;
  RelayoutBars();
}

void TdxBarButton::DoClick() {
  if (FButtonStyle == bsChecked && GetEnabled()) SetDown(!FDown || (FGroupIndex > 0 && !FAllowAllUp));
  TdxBarItem::DoClick();
}

// ---------------------------------------------------------------------------
// Sub-items

TCustomdxBarSubItem::TCustomdxBarSubItem(TComponent* AOwner) : TdxBarItem(AOwner) {
  FItemLinks = std::make_unique<TdxBarItemLinks>(BarManager(), this);
}

TCustomdxBarSubItem::~TCustomdxBarSubItem() { FItemLinks.reset(); }

void TCustomdxBarSubItem::Published(TPublished<TCustomdxBarSubItem>& P) {
  P.Property("ItemLinks", &TCustomdxBarSubItem::GetItemLinksProp, &TCustomdxBarSubItem::SetItemLinksProp);
}

void TCustomdxBarSubItem::SetItemLinksProp(TdxBarItemLinks* Value) {
  if (Value && Value != FItemLinks.get()) FItemLinks->Assign(Value);
}

void TCustomdxBarSubItem::ManagerChanged() { FItemLinks->SetBarManager(BarManager()); }

bool TCustomdxBarSubItem::ContainsItem(TdxBarItem* AItem) const { return FItemLinks->ContainsItem(AItem); }

// ---------------------------------------------------------------------------
// Container items

void TCustomdxBarContainerItem::Published(TPublished<TCustomdxBarContainerItem>& P) {
  P.Property("OnGetData", &TCustomdxBarContainerItem::OnGetData, &TCustomdxBarContainerItem::OnGetData);
}

void TCustomdxBarContainerItem::AddListItems(TdxBarItemLinks*, Integer, TdxBarItemLink*, bool NeedData) {
  if (FNeedsClear) ClearItemList();
  if (!NeedData || !OnGetData) return;
  FInGetData = true;
  try {
    OnGetData(this);
  } catch (...) {
    FInGetData = false;
    throw;
  }
  FInGetData = false;
}

TdxBarItemLink* TCustomdxBarContainerItem::InsertEntry(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Owner,
                                                       TdxBarItem* AItem) {
  TdxBarItemLink* L = Links->Add();
  L->SetOwnerLink(Owner);
  L->SetIndex(std::min<Integer>(Index, Links->Count() - 1));
  L->SetItem(AItem);
  if (Owner) {
    L->SetUseCount(Owner->UseCount());
    const Integer R = Owner->RecentIndex();
    if (R >= 0) L->MoveToRecentIndex(R + 1);
  }
  return L;
}

void TCustomdxBarContainerItem::DeleteEntries(TdxBarItemLinks* Links, Integer Index) {
  // The entries follow the link they were generated for; counting them
  // again from Items could miss or overshoot when the strings changed.
  TdxBarItemLink* Owner = Index > 0 ? Links->GetItem(Index - 1) : nullptr;
  while (Owner && Index < Links->Count() && Links->GetItem(Index)->OwnerLink() == Owner) Links->Delete(Index);
}

void TdxBarContainerItem::AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) {
  TCustomdxBarContainerItem::AddListItems(Links, Index, Link, NeedData);
  if (Links == ItemLinks()) return;
  // A snapshot: adding to Links must not move what is being copied.
  std::vector<TdxBarItemLink*> Own;
  for (Integer I = 0; I < ItemLinks()->GetVisibleCount(); ++I) Own.push_back(ItemLinks()->GetVisibleLink(I));
  for (std::size_t I = 0; I < Own.size(); ++I) {
    TdxBarItemLink* L = InsertEntry(Links, Index + Integer(I), Link, Own[I]->GetItem());
    L->Assign(Own[I]);
    L->SetOwnerLink(Link);
    if (I == 0 && ReplacesOwnLink()) L->SetBeginGroup(true);
  }
}

void TdxBarContainerItem::DeleteListItems(TdxBarItemLinks* Links, Integer Index) {
  if (Links != ItemLinks()) DeleteEntries(Links, Index);
}

bool TdxBarContainerItem::HasVisibleItems() const {
  for (Integer I = 0; I < ItemLinks()->Count(); ++I)
    if (TdxBarItem* Item = ItemLinks()->GetItem(I)->GetItem(); Item && Item->IsActuallyVisible()) return true;
  return false;
}

bool TdxBarContainerItem::HasContent() const { return TCustomdxBarContainerItem::HasContent() || HasVisibleItems(); }

// ---------------------------------------------------------------------------
// List item

void TdxBarListItem::Published(TPublished<TdxBarListItem>& P) {
  P.Property("ItemIndex", &TdxBarListItem::GetItemIndex, &TdxBarListItem::SetItemIndex).Default(-1);
  P.Property("ShowCheck", &TdxBarListItem::GetShowCheck, &TdxBarListItem::SetShowCheck).Default(false);
  P.Property("ShowNumbers", &TdxBarListItem::GetShowNumbers, &TdxBarListItem::SetShowNumbers).Default(true);
}

TdxBarListItem::TdxBarListItem(TComponent* AOwner)
    : TCustomdxBarContainerItem(AOwner), FItems(std::make_unique<TStringList>()) {}

TdxBarListItem::~TdxBarListItem() {
  while (!FButtons.empty()) {
    TdxBarButton* B = FButtons.back();
    FButtons.pop_back();
    B->OnDestroy = nullptr;
    delete B;
  }
}

AnsiString TdxBarListItem::EntryCaption(Integer N, const AnsiString& S) const {
  AnsiString Caption;
  if (FShowNumbers) {
    Caption = "&";
    Caption += N < 9 ? char('1' + N) : char('A' + (N - 9) % 26);
    Caption += ' ';
  }
  return Caption + GetDisplayText(S);
}

void TdxBarListItem::AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) {
  TCustomdxBarContainerItem::AddListItems(Links, Index, Link, NeedData);
  const bool Generate = FButtons.empty();
  Integer N = 0;
  bool Group = false;
  TCustomForm* Form = BarManager() ? BarManager()->OwnerForm() : nullptr;
  for (Integer I = 0; I < FItems->GetCount(); ++I) {
    const AnsiString S = FItems->GetStrings(I);
    if (IsSeparator(S)) {
      Group = true;
      continue;
    }
    if (Generate) {
      auto* B = new TdxBarButton(Form);
      B->OnDestroy = TNotifyEvent(this, &TdxBarListItem::ButtonDestroyed);
      FButtons.push_back(B);
      if (GetAction()) B->SetAction(GetAction());
      if (FShowCheck && I == FItemIndex) {
        B->SetButtonStyle(bsChecked);
        B->SetDown(true);
      }
      B->SetCaption(EntryCaption(N, S));
      B->SetTag(I);
      B->OnClick = TNotifyEvent(this, &TdxBarListItem::EntryClick);
      B->SetEnabled(GetEnabled());
    }
    if (std::size_t(N) >= FButtons.size()) break;  // a string added since the buttons were made
    TdxBarItemLink* L = InsertEntry(Links, Index + N, Link, FButtons[std::size_t(N)]);
    L->SetBeginGroup(N == 0 || Group);
    Group = false;
    ++N;
  }
}

void TdxBarListItem::DeleteListItems(TdxBarItemLinks* Links, Integer Index) { DeleteEntries(Links, Index); }

void TdxBarListItem::ClearItemList() {
  if (!FButtons.empty() && FButtons.front()->GetLinkCount() == 0)
    while (!FButtons.empty()) {
      TdxBarButton* B = FButtons.back();
      FButtons.pop_back();
      B->OnDestroy = nullptr;
      delete B;
    }
  TCustomdxBarContainerItem::ClearItemList();
}

bool TdxBarListItem::HasContent() const { return TCustomdxBarContainerItem::HasContent() || FItems->GetCount() > 0; }

void TdxBarListItem::ButtonDestroyed(TObject* Sender) { std::erase(FButtons, static_cast<TdxBarButton*>(Sender)); }

void TdxBarListItem::EntryClick(TObject* Sender) {
  auto* B = dynamic_cast<TdxBarButton*>(Sender);
  if (!B) return;
  SetItemIndex(B->GetTag());
  DoClick();
}

bool TdxBarListItem::OwnLinkActive() const {
  for (Integer I = 0; I < GetLinkCount(); ++I)
    if (TdxBarItemControl* C = GetLink(I)->Control(); C && C->GetActive()) return true;
  return false;
}

void TdxBarListItem::DoClick() {
  if (OwnLinkActive()) return;
  TCustomdxBarContainerItem::DoClick();
}

void TdxBarListItem::SetItemIndex(Integer Value) { FItemIndex = Value; }

Integer TdxBarListItem::GetDataIndex() const {
  // ItemIndex equal to Count designates no string: it must not be read.
  if (FItemIndex < 0 || FItemIndex >= FItems->GetCount()) return -1;
  Integer N = 0;
  for (Integer I = 0; I <= FItemIndex; ++I)
    if (!IsSeparator(FItems->GetStrings(I))) ++N;
  return N - 1;
}

void TdxBarListItem::SetDataIndex(Integer Value) {
  Integer Counter = -1, I = 0;
  for (; I < FItems->GetCount(); ++I) {
    if (!IsSeparator(FItems->GetStrings(I))) ++Counter;
    if (Counter == Value) break;
  }
  SetItemIndex(I);
}

// ---------------------------------------------------------------------------
// Window items

void TdxBarWindowItem::Published(TPublished<TdxBarWindowItem>& P) {
  P.Property("Text", &TdxBarWindowItem::GetText, &TdxBarWindowItem::SetText);
  P.Property("OnChange", &TdxBarWindowItem::OnChange, &TdxBarWindowItem::OnChange);
}

void TdxBarWindowItem::SetText(const AnsiString& Value) {
  if (FText == Value) return;
  FText = Value;
  RepaintControls();
  Change();
  RepaintControls();
}

void TdxBarWindowItem::SetFocus(bool VisibleBarsOnly) {
  for (Integer I = 0; I < GetLinkCount(); ++I) {
    TdxBarItemLink* L = GetLink(I);
    auto* C = dynamic_cast<TdxBarWinControl*>(L->Control());
    // Only a toolbar can hold the keyboard for an edit; a menu that shows
    // the item is no place to start typing from outside.
    auto* Bar = C ? dynamic_cast<TdxBarControl*>(L->Links()->BarControl()) : nullptr;
    if (!Bar || (VisibleBarsOnly && !(Bar->HandleAllocated() && IsWindowVisible(Bar->Handle())))) continue;
    Bar->EnterMenuMode(C);
    C->Click(false);
    return;
  }
}

void TdxBarWindowItem::Change() {
  if (!ItemLoading() && OnChange) OnChange(this);
}

void TdxBarEdit::Published(TPublished<TdxBarEdit>& P) {
  P.Property("ImageIndex", &TdxBarEdit::GetImageIndex, &TdxBarEdit::SetImageIndex).Default(-1);
  P.Property("MaxLength", &TdxBarEdit::GetMaxLength, &TdxBarEdit::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TdxBarEdit::GetReadOnly, &TdxBarEdit::SetReadOnly).Default(false);
  P.Property("ShortCut", &TdxBarEdit::GetShortCut, &TdxBarEdit::SetShortCut).Default(0);
  P.Property("ShowCaption", &TdxBarEdit::GetShowCaption, &TdxBarEdit::SetShowCaption).Default(false);
  P.Property("Width", &TdxBarEdit::GetWidth, &TdxBarEdit::SetWidth).Default(100);
}

void TdxBarEdit::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (!ItemLoading()) RelayoutBars();
}

bool TdxBarEdit::CanSelectByKey(const TdxBarItemLink* ALink) const {
  if (!TdxBarWindowItem::CanSelectByKey(ALink)) return false;
  return !(ALink && ALink->Links() && ALink->Links()->OwnerBar()) || FShowCaption;
}

bool TdxBarButton::CanSelectByKey(const TdxBarItemLink* ALink) const {
  if (!TdxBarItem::CanSelectByKey(ALink)) return false;
  if (!ALink || !ALink->Links() || !ALink->Links()->OwnerBar()) return true;
  const TdxBarPaintStyle PS = ALink->GetPaintStyle();
  if (PS == psCaption || PS == psCaptionGlyph) return true;
  // A standard button without a picture shows its caption instead.
  if (PS != psStandard) return false;
  TBitmap* G = ALink->GetGlyph();
  return !(G && !G->Empty()) && GetImageIndex() < 0;
}

void TdxBarEdit::SetWidth(Integer Value) {
  if (Value < 20) Value = 20;
  if (FWidth == Value) return;
  FWidth = Value;
  RelayoutBars();
}

TdxBarCustomCombo::TdxBarCustomCombo(TComponent* AOwner)
    : TCustomdxBarCombo(AOwner), FItems(std::make_unique<TStringList>()) {
  FItems->OnChange = TNotifyEvent(this, &TdxBarCustomCombo::ItemsChanged);
}

TdxBarCustomCombo::~TdxBarCustomCombo() { FItems->OnChange = nullptr; }

void TdxBarCustomCombo::SetItemIndex(Integer Value) {
  if (Value < 0 || Value >= FItems->GetCount()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  AnsiString NewText = Value < 0 ? AnsiString() : FItems->GetStrings(Value);
  if (NewText != GetText()) {
    TdxBarWindowItem::SetText(NewText);
  } else {
    // OnChange fires on every index change, also when the text stays.
    RepaintControls();
    Change();
    RepaintControls();
  }
}

void TdxBarCustomCombo::SetText(const AnsiString& Value) {
  if (!(FItemIndex >= 0 && FItemIndex < FItems->GetCount() && FItems->GetStrings(FItemIndex) == Value))
    FItemIndex = FItems->IndexOf(Value);
  TdxBarWindowItem::SetText(Value);
}

void TdxBarCustomCombo::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  FItems->SetSorted(Value);
  FItemIndex = FItems->IndexOf(GetText());
}

void TdxBarCustomCombo::ItemsChanged(TObject*) {
  if (FItemIndex >= FItems->GetCount()) SetItemIndex(-1);
  else RepaintControls();
}

void TdxBarCombo::Published(TPublished<TdxBarCombo>& P) {
  P.Property("ItemIndex", &TdxBarCombo::GetItemIndex, &TdxBarCombo::SetItemIndex).Default(-1);
  P.Property("Sorted", &TdxBarCombo::GetSorted, &TdxBarCombo::SetSorted).Default(false);
}
