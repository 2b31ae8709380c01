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
class TCanvas;
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

// ---------------------------------------------------------------------------
// Spin edit and image combo

SX_ENUM(TdxBarSpinEditPrefixPlace, ppStart, ppEnd)
SX_ENUM(TdxBarSpinEditValueType, svtInteger, svtFloat)
enum TdxBarSpinEditButton : int { sbNone, sbUp, sbDown };
using TdxBarSpinEditButtonClickEvent = TEvent<void(TdxBarSpinEdit* Sender, TdxBarSpinEditButton Button)>;

// A number (with an optional unit text) and spin buttons. The value lives
// only as text: every change of value or range rewrites Text.
class TdxBarSpinEdit : public TdxBarEdit {
  SX_CLASS(TdxBarSpinEdit, TdxBarEdit)
public:
  using Extended = long double;
  explicit TdxBarSpinEdit(TComponent* AOwner);
  static void Published(TPublished<TdxBarSpinEdit>& P);

  Extended GetIncrement() const { return FIncrement; }
  void SetIncrement(Extended Value);
  Extended GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(Extended Value);
  Extended GetMinValue() const { return FMinValue; }
  void SetMinValue(Extended Value);
  const AnsiString& GetPrefix() const { return FPrefix; }
  void SetPrefix(const AnsiString& Value);
  TdxBarSpinEditPrefixPlace GetPrefixPlace() const { return FPrefixPlace; }
  void SetPrefixPlace(TdxBarSpinEditPrefixPlace Value);
  TdxBarSpinEditValueType GetValueType() const { return FValueType; }
  void SetValueType(TdxBarSpinEditValueType Value);
  Extended GetValue() const { return TextToValue(GetText()); }
  void SetValue(Extended Value);
  // The text being typed while a link edits, else Text.
  AnsiString GetCurText() const;
  void SetCurText(const AnsiString& Value);
  Extended GetCurValue() const { return TextToValue(GetCurText()); }
  // The current value as an integer, clamped to the integer range.
  Integer GetCurIntValue() const;
  void SetCurValue(Extended Value);
  // Refuses (keeps the old text, no OnChange) a text that is no number.
  void SetText(const AnsiString& Value) override;

  void ButtonClick(TdxBarSpinEditButton Button);
  // Whether a typed character may enter the edit window.
  bool AcceptsChar(char Key) const;
  bool IsRangeActive() const { return FMinValue != FMaxValue || FMinValue != 0; }
  Extended TextToValue(const AnsiString& S) const;
  AnsiString ValueToText(Extended X) const;
  Extended CheckValue(Extended X) const;

  TdxBarSpinEditButtonClickEvent OnButtonClick;

private:
  bool IsIncrementStored() const { return FIncrement != 1; }
  bool IsMaxValueStored() const { return FMaxValue != 0; }
  bool IsMinValueStored() const { return FMinValue != 0; }
  bool IsValueStored() const { return GetValue() != 0; }
  // Published accessors (the stream has doubles).
  double GetIncrementD() const { return double(FIncrement); }
  void SetIncrementD(double V) { SetIncrement(V); }
  double GetMaxValueD() const { return double(FMaxValue); }
  void SetMaxValueD(double V) { SetMaxValue(V); }
  double GetMinValueD() const { return double(FMinValue); }
  void SetMinValueD(double V) { SetMinValue(V); }
  double GetValueD() const { return double(GetValue()); }
  void SetValueD(double V) { SetValue(V); }
  AnsiString RemovePrefix(const AnsiString& S) const;
  Extended NormalizeValue(Extended X) const;
  Extended FIncrement = 1;
  Extended FMaxValue = 0;
  Extended FMinValue = 0;
  AnsiString FPrefix;
  TdxBarSpinEditPrefixPlace FPrefixPlace = ppEnd;
  TdxBarSpinEditValueType FValueType = svtInteger;
};

// Truncates towards zero into the 64-bit range: values beyond it (and
// infinities) give its ends, NaN gives 0.
Int64 dxBarTruncToInt64(long double X);

class TCustomImageList;
class TChangeLink;

// A list combo whose entries carry an image; an entry's image index is
// kept with its string (as index + 1, so that no object means no image).
class TdxBarImageCombo : public TdxBarCustomCombo {
  SX_CLASS(TdxBarImageCombo, TdxBarCustomCombo)
public:
  explicit TdxBarImageCombo(TComponent* AOwner);
  ~TdxBarImageCombo() override;
  static void Published(TPublished<TdxBarImageCombo>& P);

  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool Value);
  bool GetShowEditor() const { return FShowEditor; }
  void SetShowEditor(bool Value) { FShowEditor = Value; }
  Integer GetImageIndex(Integer Index) const;
  void SetImageIndex(Integer Index, Integer Value);
  using TdxBarItem::GetImageIndex;
  using TdxBarItem::SetImageIndex;
  // Entry drawing and measuring (the open list and the edit part; Index -1
  // is the text without a selection). DroppedDown keeps the text of an
  // entry without image aligned with the others.
  void DrawItem(TCanvas* ACanvas, Integer Index, const TRect& R, bool Focused, bool DroppedDown) const;
  Integer MeasureItem(TCanvas* ACanvas) const;
  Integer MeasureItemWidth(TCanvas* ACanvas, Integer Index) const;
  TStrings* GetItemsProp() const { return Items(); }
  void SetItemsProp(TStrings* Value);

protected:
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void ImagesChanged();

private:
  void ImageListChange(TObject* Sender);
  void ReadImageIndexes(TReader* Reader);
  void WriteImageIndexes(TWriter* Writer);
  std::unique_ptr<TChangeLink> FImagesChangeLink;
  TCustomImageList* FImages = nullptr;
  bool FShowText = true;
  bool FShowEditor = false;
};
