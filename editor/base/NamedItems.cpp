#include "editor/base/NamedItems.h"

#include "editor/base/FreeNotify.h"
#include "editor/base/RegStorage.h"
#include "platform/rtl/AnsiStrings.h"

// ---------------------------------------------------------------------------
// TDCNamedItem

void TDCNamedItem::Assign(TPersistent* Source) {
  if (dynamic_cast<TDCNamedItem*>(Source)) {
    CopyPublishedProps(Source, this, nullptr);
    return;
  }
  inherited::Assign(Source);
}

AnsiString TDCNamedItem::GetDisplayName() { return FName.empty() ? inherited::GetDisplayName() : FName; }

void TDCNamedItem::SetDisplayName(const AnsiString& Value) { FName = Value; }

void TDCNamedItem::ItemChanged() { Changed(false); }

// ---------------------------------------------------------------------------
// TCustomDCNamedItems

TCustomDCNamedItems::TCustomDCNamedItems(TPersistent* AOwner, TClass AItemClass)
    : TCollection(AItemClass), FOwner(AOwner) {
  AddFreeNotifier(FOwner, TFreeNotifyProc(this, &TCustomDCNamedItems::OwnerFreed));
}

TCustomDCNamedItems::~TCustomDCNamedItems() {
  RemoveFreeNotifier(FOwner, TFreeNotifyProc(this, &TCustomDCNamedItems::OwnerFreed));
}

void TCustomDCNamedItems::OwnerFreed(TObject* AObject) {
  if (AObject != FOwner) return;
  FOwner = nullptr;
  RemoveFreeNotifier(AObject, TFreeNotifyProc(this, &TCustomDCNamedItems::OwnerFreed));
}

void TCustomDCNamedItems::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (OnItemsChange.Assigned()) OnItemsChange(this);
  if (OnItemChange.Assigned()) OnItemChange(this, Item);
}

Integer TCustomDCNamedItems::IndexOfName(const AnsiString& Name) const {
  for (Integer I = 0; I < Count(); ++I) {
    auto* Item = dynamic_cast<TDCNamedItem*>(Items(I));
    if (Item && AnsiSameText(Item->GetName(), Name)) return I;
  }
  return -1;
}
