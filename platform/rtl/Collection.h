// Collection.h — TCollection and TCollectionItem: an ordered list of items of
// one class that the collection owns and streams as `< item … end >`.
//
// An item belongs to at most one collection; freeing an item takes it out,
// freeing the collection frees its items. Changes reach Update (item or nil
// for "everything") unless a BeginUpdate/EndUpdate bracket is open; the
// closing EndUpdate sends one Update(nil).
#pragma once
#include <vector>
#include "platform/rtl/Persistent.h"

class TCollection;

SX_ENUM(TCollectionNotification, cnAdded, cnExtracting, cnDeleting)

class TCollectionItem : public TPersistent {
  SX_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* ACollection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  virtual void SetCollection(TCollection* Value);
  Integer Index() const;
  virtual void SetIndex(Integer Value);
  Integer ID() const { return FID; }
  virtual AnsiString GetDisplayName() { return ClassName(); }
  virtual void SetDisplayName(const AnsiString& /*Value*/) { Changed(false); }
  AnsiString GetNamePath() override;

protected:
  // Tells the collection; AllItems sends Update(nil).
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

class TCollection : public TPersistent {
  SX_CLASS(TCollection, TPersistent)
public:
  // AItemClass must derive from TCollectionItem (checked on Add).
  explicit TCollection(TClass AItemClass);
  ~TCollection() override;

  TClass ItemClass() const { return FItemClass; }
  Integer Count() const { return Integer(FItems.size()); }
  // Raises EListError out of range.
  TCollectionItem* Items(Integer Index) const;
  // Assigns Value into the item at Index.
  void SetItem(Integer Index, TCollectionItem* Value);

  TCollectionItem* Add();
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  TCollectionItem* FindItemID(Integer ID) const;

  void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  void Assign(TPersistent* Source) override;
  AnsiString GetNamePath() override;

protected:
  // Item changed, or nil: the whole collection did.
  virtual void Update(TCollectionItem* /*Item*/) {}
  virtual void Notify(TCollectionItem* /*Item*/, TCollectionNotification /*Action*/) {}
  virtual void SetItemName(TCollectionItem* /*Item*/) {}
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void CheckIndex(Integer Index) const;

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;  // owned
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection that knows the persistent that holds it (for GetNamePath and
// the designer).
class TOwnedCollection : public TCollection {
  SX_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TClass AItemClass) : TCollection(AItemClass), FOwner(AOwner) {}

protected:
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};
