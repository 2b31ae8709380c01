// dxBarCategories.h — the manager's categories (a list of names with their
// per-category settings) and TdxBarGroup, a named set of items and groups
// that is shown, hidden, enabled or disabled as one.
//
// Categories own their TdxBarCategoryData. A group is owned by the form,
// listed by its manager, and refers to its entries (items and groups)
// without owning them; an entry that is freed leaves the group.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Strings.h"

class TdxBarCategoryData : public TObject {
public:
  TdxBarItemVisible ItemsVisible = ivAlways;
  TdxBarItemVisible PendingItemsVisible = ivAlways;
  bool HasPendingItemsVisible = false;
  bool Visible = true;
};

class TdxBarManagerCategories : public TStringList {
public:
  explicit TdxBarManagerCategories(TdxBarManager* ABarManager);
  ~TdxBarManagerCategories() override;

  TdxBarCategoryData* Data(Integer Index) const;  // nil without data
  TdxBarCategoryData* EnsureData(Integer Index);
  void Clear() override;
  // Frees the category's items; an emptied list gets "Default" again.
  void Delete(Integer Index) override;
  void Insert(Integer Index, const AnsiString& S) override;
  void Exchange(Integer Index1, Integer Index2) override;
  void Move(Integer CurIndex, Integer NewIndex) override;
  // Every item of category AOld gets category ANew (fields only).
  void ChangeItemsCategory(Integer AOld, Integer ANew);

private:
  void FreeAllData();
  TdxBarManager* FBarManager;
  bool FMoving = false;
};

class TdxBarGroup : public TComponent {
  SX_CLASS(TdxBarGroup, TComponent)
public:
  explicit TdxBarGroup(TComponent* AOwner);
  ~TdxBarGroup() override;
  static void Published(TPublished<TdxBarGroup>& P);

  TdxBarManager* BarManager() const { return FBarManager; }
  Integer GetCount() const { return Integer(FEntries.size()); }
  TComponent* GetItem(Integer Index) const;  // a TdxBarItem or a TdxBarGroup
  Integer IndexOf(TComponent* AComponent) const;
  // Ignores nil, duplicates and anything but items and groups; raises
  // Exception "You cannot create recursive groups" for a group that is or
  // contains this one.
  void Add(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void MoveEntry(Integer AOldIndex, Integer ANewIndex);
  // Drops an entry that is being destroyed (no call back into it).
  void ForgetEntry(TComponent* AComponent);
  bool Contains(const TdxBarGroup* AGroup) const;
  Integer GetIndex() const;

  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TdxBarItemVisible GetVisible() const { return FVisible; }
  void SetVisible(TdxBarItemVisible Value);

  void Loaded() override;
  bool HasParent() override { return FBarManager != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;
  // A group nested in a manager's description joins that manager.
  void ReadState(TReader* Reader) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

private:
  friend class TdxBarManager;
  void ReadItems(TReader* Reader);
  void WriteItems(TWriter* Writer);
  TdxBarManager* FBarManager = nullptr;
  bool FEnabled = true;
  std::vector<TComponent*> FEntries;
  std::vector<AnsiString> FLoadedNames;
  TdxBarItemVisible FVisible = ivAlways;
};
