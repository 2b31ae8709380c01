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
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
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
};

class TdxBarContainerItem : public TCustomdxBarContainerItem {
  SX_CLASS(TdxBarContainerItem, TCustomdxBarContainerItem)
public:
  explicit TdxBarContainerItem(TComponent* AOwner) : TCustomdxBarContainerItem(AOwner) {}
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
  static bool IsSeparator(const AnsiString& S) { return S == "-"; }
  // The text an entry shows for its string S (kinds of list shorten it).
  virtual AnsiString GetDisplayText(const AnsiString& S) const { return S; }

private:
  std::unique_ptr<TStringList> FItems;
  Integer FItemIndex = -1;
  bool FShowCheck = false;
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
