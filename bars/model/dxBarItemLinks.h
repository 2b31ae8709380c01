// dxBarItemLinks.h — TdxBarItemLink, one placement of an item on a bar, a
// popup menu or a sub-menu, and TdxBarItemLinks, the ordered placements of
// one such owner.
//
// A link refers to its item (the item lists its links so that item state
// reaches every placement) and owns the item control that shows it while
// its collection has a window. The collection owns its links and the window
// (TdxBarControl or TdxBarSubMenuControl) that shows them, and derives the
// available, visible and shown lists that the window lays out.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/ShortCuts.h"

class TBitmap;

class TdxBarItemLink : public TCollectionItem {
  SX_CLASS(TdxBarItemLink, TCollectionItem)
public:
  explicit TdxBarItemLink(TCollection* ACollection);
  ~TdxBarItemLink() override;
  static void Published(TPublished<TdxBarItemLink>& P);
  void Assign(TPersistent* Source) override;

  TdxBarItemLinks* Links() const;
  TdxBarManager* GetBarManager() const;
  TdxBarItem* GetItem() const { return FItem; }
  // Raises Exception "You cannot create recursive subitems" when the link
  // belongs to a sub-item that the new item contains; the link is then left
  // without item.
  void SetItem(TdxBarItem* Value);

  bool GetStoredBeginGroup() const { return FBeginGroup; }
  // The effective separator: hidden links pass theirs to the next shown one.
  bool GetBeginGroup() const;
  void SetBeginGroup(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  TdxBarUserDefines GetUserDefine() const { return FUserDefine; }
  // Stores the set without touching the user values (the layout reader).
  void SetUserDefineRaw(TdxBarUserDefines Value) { FUserDefine = Value; }
  void SetUserDefine(TdxBarUserDefines Value);
  const AnsiString& GetUserCaption() const { return FUserCaption; }
  void SetUserCaption(const AnsiString& Value);
  TBitmap* GetUserGlyph() const { return FUserGlyph.get(); }
  void SetUserGlyph(TBitmap* Value);
  TdxBarPaintStyle GetUserPaintStyle() const { return FUserPaintStyle; }
  void SetUserPaintStyle(TdxBarPaintStyle Value);
  Integer GetUserWidth() const { return FUserWidth; }
  void SetUserWidth(Integer Value);
  bool GetMostRecentlyUsed() const { return FMostRecentlyUsed; }
  void SetMostRecentlyUsed(bool Value) { FMostRecentlyUsed = Value; }

  // Derived values (user overrides first).
  AnsiString GetCaption() const;
  TBitmap* GetGlyph() const;
  TdxBarPaintStyle GetPaintStyle() const;
  Integer GetWidth() const;

  Integer GetAvailableIndex() const;
  Integer GetVisibleIndex() const;
  Integer GetShownIndex() const;
  bool IsVisibleNow() const;
  bool ContainsItem(TdxBarItem* AItem) const;
  TdxBarItemControl* Control() const { return FControl; }
  // The window layer creates and frees the control; the link frees a
  // control it still holds when it goes.
  void SetControl(TdxBarItemControl* Value) { FControl = Value; }
  void DestroyControl();
  // Where the shown link lies in its bar window's client area.
  const TRect& GetItemRect() const { return FItemRect; }
  void SetItemRect(const TRect& Value) { FItemRect = Value; }
  // The first link after this one in its collection whose caption has the
  // same accelerator; this link when it is the only one.
  TdxBarItemLink* NextWithSameAccelerator() const;

  Integer UseCount() const { return FUseCount; }
  void SetUseCount(Integer Value) { FUseCount = Value < 0 ? 0 : Value; }
  void MarkRecentlyUsed(bool ACount);
  void MoveToRecentEnd();
  void ResetUsage();
  Integer RecentIndex() const;
  // Values read by the layout loader, consumed by ApplyLoadedUsage.
  void SetLoadedUsage(Integer ARecentIndex, Integer AUseCount) {
    FLoadedRecentIndex = ARecentIndex;
    FLoadedUseCount = AUseCount < 0 ? 0 : AUseCount;
  }
  void SetPendingVisible(bool Value) { FPendingVisible = Value; }
  // User values from a stored layout: stored as read (already checked),
  // without the comparisons of the setters.
  void SetUserDefineCaption(const AnsiString& Value) { FUserCaption = Value; }
  void SetUserDefinePaintStyle(TdxBarPaintStyle Value) { FUserPaintStyle = Value; }
  void SetUserDefineWidth(Integer Value) { FUserWidth = Value; }

  // Reports a change to the manager (designer mark, OnItemLinkChange).
  void Changed();

  // An entry a container item generated into a menu: the container's link
  // it stands for (a use of the entry counts for it); nil for other links.
  TdxBarItemLink* OwnerLink() const { return FOwnerLink; }
  void SetOwnerLink(TdxBarItemLink* Value) {
    FOwnerLink = Value;
    if (Value) FGenerated = true;
  }
  // Made as such an entry (also after its container's link went).
  bool Generated() const { return FGenerated; }
  // A container's own link while a menu shows its entries in its place:
  // it keeps its place and usage but is not shown.
  bool Replaced() const { return FReplaced; }
  void SetReplaced(bool Value);
  // Puts the link at APosition of its collection's recent order.
  void MoveToRecentIndex(Integer APosition);

private:
  friend class TdxBarItemLinks;
  friend class TdxBarItem;  // clears FItem when the item goes first
  bool FBeginGroup = false;
  TdxBarItemControl* FControl = nullptr;  // owned while shown (bars/windows)
  TRect FItemRect;
  TdxBarItem* FItem = nullptr;
  Integer FLoadedRecentIndex = -1;
  Integer FLoadedUseCount = 0;
  bool FPendingVisible = true;
  bool FMostRecentlyUsed = true;
  AnsiString FUserCaption;
  TdxBarUserDefines FUserDefine;
  std::unique_ptr<TBitmap> FUserGlyph;
  TdxBarPaintStyle FUserPaintStyle = psStandard;
  Integer FUserWidth = 0;
  Integer FUseCount = 0;
  bool FVisible = true;
  bool FReplaced = false;
  bool FGenerated = false;
  TdxBarItemLink* FOwnerLink = nullptr;
};

class TdxBarItemLinks : public TCollection {
  SX_CLASS(TdxBarItemLinks, TCollection)
public:
  // AOwner: the TdxBar, TdxBarPopupMenu or TCustomdxBarSubItem that shows
  // these links.
  TdxBarItemLinks(TdxBarManager* ABarManager, TObject* AOwner);
  ~TdxBarItemLinks() override;
  void Assign(TPersistent* Source) override;

  TdxBarManager* BarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value) { FBarManager = Value; }
  TObject* OwnerObject() const { return FOwner; }
  TdxBar* OwnerBar() const;
  TCustomdxBarSubItem* OwnerSubItem() const;
  TdxBarItemLink* GetItem(Integer Index) const;  // nil outside the list
  TdxBarItemLink* Add();
  TdxBarItemLink* AddItem(TdxBarItem* AItem);
  TCustomdxBarControl* BarControl() const { return FBarControl; }
  // The window layer binds and unbinds the window; the links free a window
  // they still hold when they go.
  void SetBarControl(TCustomdxBarControl* Value) { FBarControl = Value; }
  void DestroyBarControl();
  // The link whose item has this shortcut (searched in sub-menus too) and
  // runs it; false when none.
  bool FindShortCut(TShortCut AShortCut);
  // The first shown link whose caption has Key as accelerator; nil when none.
  TdxBarItemLink* FindAccelerator(char Key) const;

  Integer GetAvailableCount() const { return Integer(FAvailable.size()); }
  TdxBarItemLink* GetAvailableLink(Integer Index) const;
  Integer GetVisibleCount() const { return Integer(FVisibleList.size()); }
  TdxBarItemLink* GetVisibleLink(Integer Index) const;
  Integer GetShownCount() const { return Integer(FShown.size()); }
  TdxBarItemLink* GetShownLink(Integer Index) const;
  void RebuildLists();

  Integer GetRecentItemCount() const;
  void SetRecentItemCount(Integer Value);
  void RestoreRecentItemCount();
  bool KeepsUsage() const;
  void SetKeepsUsage(bool Value) { FKeepsUsage = Value; }
  // The recent order: every link, most recent first.
  Integer RecentCount() const { return Integer(FRecentOrder.size()); }
  TdxBarItemLink* RecentLink(Integer Index) const;
  void ApplyLoadedUsage(bool AApplyPendingVisible);
  void CompactRecentOrder();
  void CopyUsageFrom(TdxBarItemLinks* ASource);
  bool ContainsItem(TdxBarItem* AItem) const;

  // Set while the stored layout or a form is read into the collection: the
  // links' Visible values become pending; EndLoading applies them.
  void BeginLoading() { FLoading = true; }
  void EndLoading();
  bool IsLoading() const { return FLoading || FAssigning; }

protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
  friend class TdxBarItemLink;
  void MoveInRecentOrder(TdxBarItemLink* ALink, Integer APosition);

  TdxBarManager* FBarManager;
  TObject* FOwner;
  TCustomdxBarControl* FBarControl = nullptr;  // owned (bars/windows)
  TCollectionItem* FConstructing = nullptr;   // a link whose own constructor has not run yet
  std::vector<TdxBarItemLink*> FAvailable, FVisibleList, FShown;
  std::vector<TdxBarItemLink*> FRecentOrder;
  Integer FRecentItemCount = -1;
  Integer FPrevRecentItemCount = -1;
  bool FKeepsUsage = true;
  bool FAssigning = false;
  bool FLoading = false;
};
