// NamedItems.h — collection items with a name, and their collection, the
// base of text styles, code templates and gutter images.
//
// The collection remembers a persistent owner it does not own and learns of
// the owner's release through a free notification (FreeNotify.h); it keeps
// working with a nil owner afterwards.
#pragma once
#include "platform/rtl/Collection.h"

class TDCNamedItem : public TCollectionItem {
  SX_CLASS(TDCNamedItem, TCollectionItem)
public:
  explicit TDCNamedItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

  // From another named item every published property is copied by name.
  void Assign(TPersistent* Source) override;
  AnsiString GetDisplayName() override;
  void SetDisplayName(const AnsiString& Value) override;
  // Descendants publish the name as "Name" with these accessors.
  const AnsiString& GetName() const { return FName; }
  virtual void SetName(const AnsiString& Value) { SetDisplayName(Value); }
  // Tells the collection that this item alone changed.
  virtual void ItemChanged();

protected:
  AnsiString FName;
};

using TItemChangeEvent = TEvent<void(TObject* Sender, TCollectionItem* Item)>;

class TCustomDCNamedItems : public TCollection {
  SX_CLASS(TCustomDCNamedItems, TCollection)
public:
  // AOwner is borrowed; nil allowed.
  TCustomDCNamedItems(TPersistent* AOwner, TClass AItemClass);
  ~TCustomDCNamedItems() override;

  TPersistent* Owner() const { return FOwner; }
  // The first item whose name equals Name ignoring case; -1 when none.
  Integer IndexOfName(const AnsiString& Name) const;
  void OwnerFreed(TObject* AObject);

  TNotifyEvent OnItemsChange;
  TItemChangeEvent OnItemChange;

protected:
  void Update(TCollectionItem* Item) override;
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner = nullptr;
};

class TDCNamedItems : public TCustomDCNamedItems {
  SX_CLASS(TDCNamedItems, TCustomDCNamedItems)
public:
  using TCustomDCNamedItems::TCustomDCNamedItems;
};
