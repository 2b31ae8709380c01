#include "bars/items/dxBarItems.h"

#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
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

void TCustomdxBarSubItem::ManagerChanged() { FItemLinks->SetBarManager(BarManager()); }

bool TCustomdxBarSubItem::ContainsItem(TdxBarItem* AItem) const { return FItemLinks->ContainsItem(AItem); }

// ---------------------------------------------------------------------------
// List item

void TdxBarListItem::Published(TPublished<TdxBarListItem>& P) {
  P.Property("ItemIndex", &TdxBarListItem::GetItemIndex, &TdxBarListItem::SetItemIndex).Default(-1);
  P.Property("ShowCheck", &TdxBarListItem::GetShowCheck, &TdxBarListItem::SetShowCheck).Default(false);
}

TdxBarListItem::TdxBarListItem(TComponent* AOwner)
    : TCustomdxBarContainerItem(AOwner), FItems(std::make_unique<TStringList>()) {}

TdxBarListItem::~TdxBarListItem() = default;

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

void TdxBarWindowItem::Change() {
  if (!ItemLoading() && OnChange) OnChange(this);
}

void TdxBarEdit::Published(TPublished<TdxBarEdit>& P) {
  P.Property("ImageIndex", &TdxBarEdit::GetImageIndex, &TdxBarEdit::SetImageIndex).Default(-1);
  P.Property("MaxLength", &TdxBarEdit::GetMaxLength, &TdxBarEdit::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TdxBarEdit::GetReadOnly, &TdxBarEdit::SetReadOnly).Default(false);
  P.Property("ShortCut", &TdxBarEdit::GetShortCut, &TdxBarEdit::SetShortCut).Default(0);
  P.Property("Width", &TdxBarEdit::GetWidth, &TdxBarEdit::SetWidth).Default(100);
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
