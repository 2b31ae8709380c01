// dxBarItems.h — the item kinds of the bar library: buttons, sub-menu items,
// container and list items (which generate entries into the menu that shows
// them), and the window items (edit and combo) whose controls host an edit
// window while the user types.
//
// A sub-item owns the item links of its menu. A list item owns the buttons
// it generates while a menu shows it. A window item keeps the committed
// value (Text, ItemIndex); its controls edit and commit into it.
#pragma once
#include <memory>
#include <vector>
#include "bars/items/dxBarItem.h"

class TStringList;

class TdxBarButton : public TdxBarItem {
  SX_CLASS(TdxBarButton, TdxBarItem)
public:
  explicit TdxBarButton(TComponent* AOwner);
  static void Published(TPublished<TdxBarButton>& P);

  TdxBarButtonStyle GetButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxBarButtonStyle Value);
  bool GetDown() const { return FDown; }
  // Pressing one button of a group (GroupIndex > 0) releases the others;
  // the last one pressed of a group with AllowAllUp false stays down.
  void SetDown(bool Value);
  Integer GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TdxBarPaintStyle GetPaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxBarPaintStyle Value);
  TdxBarPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TdxBarPopupMenu* Value) { FDropDownMenu = Value; }
  void DoClick() override;
  // On a toolbar only a link that shows its caption has an accelerator.
  bool CanSelectByKey(const TdxBarItemLink* ALink) const override;

private:
  bool FAllowAllUp = false;
  TdxBarButtonStyle FButtonStyle = bsDefault;
  bool FDown = false;
  TdxBarPopupMenu* FDropDownMenu = nullptr;
  Integer FGroupIndex = 0;
  TdxBarPaintStyle FPaintStyle = psStandard;
};

class TCustomdxBarSubItem : public TdxBarItem {
  SX_CLASS(TCustomdxBarSubItem, TdxBarItem)
public:
  explicit TCustomdxBarSubItem(TComponent* AOwner);
  ~TCustomdxBarSubItem() override;
  static void Published(TPublished<TCustomdxBarSubItem>& P);
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
  // Published accessors of ItemLinks (assigning copies the links).
  TdxBarItemLinks* GetItemLinksProp() const { return FItemLinks.get(); }
  void SetItemLinksProp(TdxBarItemLinks* Value);
  bool CanClick() const override { return false; }
  bool ContainsItem(TdxBarItem* AItem) const;

protected:
  void ManagerChanged() override;

private:
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
};

class TdxBarSubItem : public TCustomdxBarSubItem {
  SX_CLASS(TdxBarSubItem, TCustomdxBarSubItem)
public:
  explicit TdxBarSubItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
};

// A sub-item whose entries are generated when a menu shows it, in place of
// its own link.
class TCustomdxBarContainerItem : public TCustomdxBarSubItem {
  SX_CLASS(TCustomdxBarContainerItem, TCustomdxBarSubItem)
public:
  explicit TCustomdxBarContainerItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
  static void Published(TPublished<TCustomdxBarContainerItem>& P);
  // A menu that shows the item calls these: the generated entries go into
  // Links from Index on, for the container's own Link (NeedData: the first
  // expansion of the item in that menu, when OnGetData may refill it), and
  // come out again from Index when the menu closes.
  virtual void AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData);
  virtual void DeleteListItems(TdxBarItemLinks*, Integer) {}
  virtual void ClearItemList() { FNeedsClear = false; }
  // In a menu the entries stand in place of the item's own link.
  virtual bool ReplacesOwnLink() const { return true; }
  // A menu that expanded the item closed: the next expansion starts afresh.
  void SetNeedsClear() { FNeedsClear = true; }
  bool InGetData() const { return FInGetData; }
  bool HasContent() const override { return static_cast<bool>(OnGetData); }
  TNotifyEvent OnGetData;

protected:
  // Adds a link to AItem at Index of Links as an entry of Owner: it takes
  // Owner's use count and stands next to it in the recent order.
  static TdxBarItemLink* InsertEntry(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Owner, TdxBarItem* AItem);
  // Frees the entries that follow their owner link at Index - 1.
  static void DeleteEntries(TdxBarItemLinks* Links, Integer Index);

private:
  bool FInGetData = false;
  bool FNeedsClear = false;
};

// Its own links, copied into the menu that shows it.
class TdxBarContainerItem : public TCustomdxBarContainerItem {
  SX_CLASS(TdxBarContainerItem, TCustomdxBarContainerItem)
public:
  explicit TdxBarContainerItem(TComponent* AOwner) : TCustomdxBarContainerItem(AOwner) {}
  void AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) override;
  void DeleteListItems(TdxBarItemLinks* Links, Integer Index) override;
  bool HasContent() const override;
  virtual bool HasVisibleItems() const;
};

// One generated entry per string of Items; a string "-" is a separator.
class TdxBarListItem : public TCustomdxBarContainerItem {
  SX_CLASS(TdxBarListItem, TCustomdxBarContainerItem)
public:
  explicit TdxBarListItem(TComponent* AOwner);
  ~TdxBarListItem() override;
  static void Published(TPublished<TdxBarListItem>& P);

  TStringList* Items() const { return FItems.get(); }
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  // The index among the non-separator strings; -1 when ItemIndex designates
  // no string (also when it lies just past the end).
  Integer GetDataIndex() const;
  void SetDataIndex(Integer Value);
  bool GetShowCheck() const { return FShowCheck; }
  void SetShowCheck(bool Value) { FShowCheck = Value; }
  bool GetShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value) { FShowNumbers = Value; }
  static bool IsSeparator(const AnsiString& S) { return S == "-"; }
  // The text an entry shows for its string S (kinds of list shorten it).
  virtual AnsiString GetDisplayText(const AnsiString& S) const { return S; }
  // The caption of the N-th entry (from 0) for the string S.
  AnsiString EntryCaption(Integer N, const AnsiString& S) const;

  void AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) override;
  void DeleteListItems(TdxBarItemLinks* Links, Integer Index) override;
  void ClearItemList() override;
  bool HasContent() const override;
  // Choosing an entry; opening the list's own menu from a toolbar is none.
  void DoClick() override;
  // The buttons generated for the entries, while some menu shows them.
  Integer GeneratedCount() const { return Integer(FButtons.size()); }

private:
  void EntryClick(TObject* Sender);
  void ButtonDestroyed(TObject* Sender);
  bool OwnLinkActive() const;
  std::unique_ptr<TStringList> FItems;
  std::vector<TdxBarButton*> FButtons;
  Integer FItemIndex = -1;
  bool FShowCheck = false;
  bool FShowNumbers = true;
};

// An item whose control hosts an edit window.
class TdxBarWindowItem : public TdxBarItem {
  SX_CLASS(TdxBarWindowItem, TdxBarItem)
public:
  explicit TdxBarWindowItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
  static void Published(TPublished<TdxBarWindowItem>& P);
  bool CanClick() const override { return false; }
  const AnsiString& GetText() const { return FText; }
  virtual void SetText(const AnsiString& Value);
  // Starts editing in the first link on a toolbar whose control is shown
  // (and, with VisibleBarsOnly, whose toolbar is visible): the toolbar
  // takes the keyboard with that control. Links in menus are passed over.
  virtual void SetFocus(bool VisibleBarsOnly = false);
  TNotifyEvent OnChange;

protected:
  void Change();

private:
  AnsiString FText;
};

class TdxBarEdit : public TdxBarWindowItem {
  SX_CLASS(TdxBarEdit, TdxBarWindowItem)
public:
  explicit TdxBarEdit(TComponent* AOwner) : TdxBarWindowItem(AOwner) {}
  static void Published(TPublished<TdxBarEdit>& P);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);  // never below 20
  Integer GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value) { FMaxLength = Value < 0 ? 0 : Value; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  // Whether a toolbar shows the caption before the box (a menu always does).
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // On a toolbar only an edit that shows its caption has an accelerator.
  bool CanSelectByKey(const TdxBarItemLink* ALink) const override;

private:
  Integer FMaxLength = 0;
  bool FReadOnly = false;
  bool FShowCaption = false;
  Integer FWidth = 100;
};

class TCustomdxBarCombo : public TdxBarEdit {
  SX_CLASS(TCustomdxBarCombo, TdxBarEdit)
public:
  explicit TCustomdxBarCombo(TComponent* AOwner) : TdxBarEdit(AOwner) {}
};

class TdxBarCustomCombo : public TCustomdxBarCombo {
  SX_CLASS(TdxBarCustomCombo, TCustomdxBarCombo)
public:
  explicit TdxBarCustomCombo(TComponent* AOwner);
  ~TdxBarCustomCombo() override;
  TStringList* Items() const { return FItems.get(); }
  Integer GetItemIndex() const { return FItemIndex; }
  // Out-of-range values become -1; OnChange fires on every index change.
  void SetItemIndex(Integer Value);
  void SetText(const AnsiString& Value) override;
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  Integer GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value) { FDropDownCount = Value; }

private:
  void ItemsChanged(TObject* Sender);
  Integer FDropDownCount = 8;
  std::unique_ptr<TStringList> FItems;
  Integer FItemIndex = -1;
  bool FSorted = false;
};

class TdxBarCombo : public TdxBarCustomCombo {
  SX_CLASS(TdxBarCombo, TdxBarCustomCombo)
public:
  explicit TdxBarCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner) {}
  static void Published(TPublished<TdxBarCombo>& P);
};
