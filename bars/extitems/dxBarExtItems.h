// dxBarExtItems.h — the extra item kinds (MRU list, toolbars list, in-place
// sub-item, spin edit, image combo, static, large button, progress,
// control container, colour and font-name combos, date items, tree-view
// combo). Each is an item of bars/items; its control class (in
// dxBarExtItemControls.h) is registered beside it by
// dxBarExtItemsInitialization, which also makes the objects the kinds share.
#pragma once
#include "bars/items/dxBarItems.h"
#include "platform/rtl/Strings.h"

class TdxBarMRUListItem;
class TdxBarToolbarsListItem;
class TdxBarInPlaceSubItem;
class TdxBarSpinEdit;
class TdxBarImageCombo;
class TdxBarStatic;
class TdxBarLargeButton;
class TdxBarProgressItem;
class TdxBarControlContainerItem;
class TdxBarColorCombo;
class TdxBarFontNameCombo;
class TdxBarDateCombo;
class TdxBarTreeViewCombo;
class TBitmap;
class TColorDialog;
class TFontDialog;

// ---------------------------------------------------------------------------
// Unit start-up and the shared objects

// Registers the thirteen kinds with their controls (once; counted).
void dxBarExtItemsInitialization();
void dxBarExtItemsFinalization();
TColorDialog* GetBarColorDialog();
TFontDialog* GetBarFontDialog();
// 0 Sunday ... 6 Saturday, read from the locale at start-up.
Word dxBarFirstDayOfWeek();
// The locale's first-day digit (0 Monday ... 6 Sunday) as a first day of
// the week (0 Sunday ... 6 Saturday); anything else is Sunday.
Word dxBarFirstDayOfWeekFromLocale(const AnsiString& ADigit);
// The 13 x 13 mark of TrueType fonts (or of the other fonts).
const TBitmap* dxBarTrueTypeFontBitmap(bool ATrueType);

// A path-like text shortened to 300 pixels of the system font, middle
// components replaced by an ellipsis; short texts come back unchanged.
AnsiString MinimizePathText(const AnsiString& S);

// ---------------------------------------------------------------------------
// MRU list, toolbars list, in-place sub-item

class TdxBarMRUListItem : public TdxBarListItem {
  SX_CLASS(TdxBarMRUListItem, TdxBarListItem)
public:
  explicit TdxBarMRUListItem(TComponent* AOwner);
  static void Published(TPublished<TdxBarMRUListItem>& P);

  Integer GetMaxItemCount() const { return FMaxItemCount; }
  // Negative values become 0 (no bound); a lower bound cuts the list from
  // its end.
  void SetMaxItemCount(Integer Value);
  bool GetRemoveItemOnClick() const { return FRemoveItemOnClick; }
  void SetRemoveItemOnClick(bool Value) { FRemoveItemOnClick = Value; }
  TStrings* GetItems() const { return Items(); }
  void SetItems(TStrings* Value);
  // With S non-empty the first entry whose text is S, else the first whose
  // object is AObject; nothing when none matches.
  void RemoveItem(const AnsiString& S, TObject* AObject);
  AnsiString GetDisplayText(const AnsiString& S) const override;
  // A click on an entry (ItemIndex set to it first): OnClick, then the
  // entry goes when RemoveItemOnClick asks for it.
  void DoClick() override;

private:
  void CheckMaxItemCount();
  bool OwnLinkActive() const;
  Integer FMaxItemCount = 5;
  bool FRemoveItemOnClick = false;
};

// Lists the manager's toolbars with check marks; rebuilt at every opening.
class TdxBarToolbarsListItem : public TCustomdxBarSubItem {
  SX_CLASS(TdxBarToolbarsListItem, TCustomdxBarSubItem)
public:
  explicit TdxBarToolbarsListItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}
  // Its entries are generated: the customizing form never edits them.
  virtual bool CanCustomizeItems() const { return false; }
};

class TdxBarInPlaceSubItem;
using TdxBarInPlaceSubItemEvent = TEvent<void(TdxBarInPlaceSubItem* Sender, TdxBarItemLink* Link)>;

// In a menu: a header row whose own links unfold directly below it; on a
// toolbar an ordinary sub-item.
class TdxBarInPlaceSubItem : public TdxBarContainerItem {
  SX_CLASS(TdxBarInPlaceSubItem, TdxBarContainerItem)
public:
  explicit TdxBarInPlaceSubItem(TComponent* AOwner) : TdxBarContainerItem(AOwner) {}
  static void Published(TPublished<TdxBarInPlaceSubItem>& P);

  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  bool GetKeepBeginGroupWhileExpanded() const { return FKeepBeginGroupWhileExpanded; }
  void SetKeepBeginGroupWhileExpanded(bool Value) { FKeepBeginGroupWhileExpanded = Value; }
  bool Rebuilding() const { return FRebuilding; }
  bool HasContent() const override { return true; }
  // The item's own link stays as the header row.
  virtual bool ReplacesOwnLink() const { return false; }
  // Whether a rebuilding menu finds the unfolded entries in place.
  bool UnfoldedEntriesPresent() const { return (FExpanded && !FRebuilding) || (!FExpanded && FRebuilding); }

  TdxBarInPlaceSubItemEvent OnAfterExpand;
  TdxBarInPlaceSubItemEvent OnBeforeCollapse;

protected:
  virtual void DoAfterExpand(TdxBarItemLink* Link);
  virtual void DoBeforeCollapse(TdxBarItemLink* Link);

private:
  void SetFollowingBeginGroup(TdxBarItemLink* Link, bool Value);
  bool FExpanded = false;
  bool FKeepBeginGroupWhileExpanded = false;
  bool FRebuilding = false;
};
