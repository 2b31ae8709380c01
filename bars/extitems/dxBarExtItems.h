// dxBarExtItems.h — the extra item kinds (MRU list, toolbars list, in-place
// sub-item, spin edit, image combo, static, large button, progress,
// control container, colour and font-name combos, date items, tree-view
// combo). Each is an item of bars/items; its control class (in
// dxBarExtItemControls.h) is registered beside it by
// dxBarExtItemsInitialization, which also makes the objects the kinds share.
#pragma once
#include "bars/drawing/dxBarPainters.h"
#include "bars/items/dxBarItems.h"
#include "platform/forms/Controls.h"
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
  bool ReplacesOwnLink() const override { return false; }
  // Its links unfold below the header only while it is expanded.
  void AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) override;
  void DeleteListItems(TdxBarItemLinks* Links, Integer Index) override;
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

// ---------------------------------------------------------------------------
// Static, progress, large button, control container

// The border styles (declared with the painters) as a published type.
SX_ENUM_INFO(TdxBarStaticBorderStyle, sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump)

class TdxBarStatic : public TdxBarItem {
  SX_CLASS(TdxBarStatic, TdxBarItem)
public:
  explicit TdxBarStatic(TComponent* AOwner) : TdxBarItem(AOwner) {}
  static void Published(TPublished<TdxBarStatic>& P);
  bool CanClick() const override { return FAllowClick; }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetAllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  TdxBarStaticBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxBarStaticBorderStyle Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // Indents and fixed sizes: negative values are 0, 0 means automatic.
  Integer GetLeftIndent() const { return FIndents[0]; }
  void SetLeftIndent(Integer Value) { SetByIndex(0, Value); }
  Integer GetRightIndent() const { return FIndents[1]; }
  void SetRightIndent(Integer Value) { SetByIndex(1, Value); }
  Integer GetWidth() const { return FIndents[2]; }
  void SetWidth(Integer Value) { SetByIndex(2, Value); }
  Integer GetHeight() const { return FIndents[3]; }
  void SetHeight(Integer Value) { SetByIndex(3, Value); }
  Integer BorderWidth() const;

protected:
  TdxBarStaticBorderStyle FBorderStyle = sbsNone;

private:
  void SetByIndex(int Index, Integer Value);
  TAlignment FAlignment = taCenter;
  bool FAllowClick = false;
  bool FShowCaption = true;
  Integer FIndents[4] = {0, 0, 0, 0};  // left, right, width, height
};

class TdxBarProgressItem : public TdxBarStatic {
  SX_CLASS(TdxBarProgressItem, TdxBarStatic)
public:
  explicit TdxBarProgressItem(TComponent* AOwner);
  static void Published(TPublished<TdxBarProgressItem>& P);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value);
  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value);
  Integer GetPosition() const { return FPosition; }
  // Held to Min..Max.
  void SetPosition(Integer Value);
  void SetRange(Integer AMin, Integer AMax);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  Integer GetStep() const { return FStep; }
  void SetStep(Integer Value) { FStep = Value; }
  void Loaded() override;

private:
  TColor FColor = clDefault;
  Integer FMax = 100;
  Integer FMin = 0;
  Integer FPosition = 0;
  bool FSmooth = false;
  Integer FStep = 10;
};

SX_ENUM(TdxBarGlyphLayout, glLeft, glRight, glTop, glBottom)

class TdxBarLargeButton : public TdxBarButton {
  SX_CLASS(TdxBarLargeButton, TdxBarButton)
public:
  explicit TdxBarLargeButton(TComponent* AOwner);
  ~TdxBarLargeButton() override;
  static void Published(TPublished<TdxBarLargeButton>& P);
  bool GetAutoGrayScale() const { return FAutoGrayScale; }
  void SetAutoGrayScale(bool Value);
  TdxBarGlyphLayout GetGlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TdxBarGlyphLayout Value);
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);  // negative values are ignored
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);
  Integer GetHotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(Integer Value);
  Integer GetLargeImageIndex() const { return FLargeImageIndex; }
  void SetLargeImageIndex(Integer Value);
  TBitmap* GetLargeGlyph() const { return FLargeGlyph.get(); }
  void SetLargeGlyph(TBitmap* Value);
  TBitmap* GetHotGlyph() const { return FHotGlyph.get(); }
  void SetHotGlyph(TBitmap* Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool GetSyncImageIndex() const { return FSyncImageIndex; }
  void SetSyncImageIndex(bool Value);
  // Outside loading, an image index of its own ends the synchronisation.
  void SetImageIndex(Integer Value) override;
  void Loaded() override;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  void PictureChanged(TObject* Sender);
  bool FAutoGrayScale = true;
  TdxBarGlyphLayout FGlyphLayout = glTop;
  Integer FHeight = 0;
  Integer FWidth = 0;
  Integer FHotImageIndex = -1;
  Integer FLargeImageIndex = -1;
  std::unique_ptr<TBitmap> FLargeGlyph, FHotGlyph;
  bool FShowCaption = true;
  bool FSyncImageIndex = true;
  bool FSyncing = false;
  bool FImageIndexRead = false, FLargeImageIndexRead = false, FSyncImageIndexRead = false;
};

// Hosts a control of the form on a bar: the control is parented to the bar
// window over the link's rectangle while the link is shown.
class TdxBarControlContainerItem : public TdxBarItem {
  SX_CLASS(TdxBarControlContainerItem, TdxBarItem)
public:
  explicit TdxBarControlContainerItem(TComponent* AOwner) : TdxBarItem(AOwner) {}
  ~TdxBarControlContainerItem() override;
  static void Published(TPublished<TdxBarControlContainerItem>& P);
  bool CanClick() const override { return false; }
  bool IsHiddenInCommandList() const override { return true; }
  bool HostsControl() const override { return true; }
  TControl* GetControl() const { return FControl; }
  // Raises Exception when another container of the manager hosts C.
  void SetControl(TControl* Value);
  TSize ControlSize() const { return {FControlWidth, FControlHeight}; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void ControlWndProc(TMessage& Message);
  TControl* FControl = nullptr;
  Integer FControlWidth = 0, FControlHeight = 0;
  TWndMethod FSavedWindowProc;
};

// ---------------------------------------------------------------------------
// Date combo

SX_ENUM(TdxBarDateOnStart, bdsToday, bdsNullDate, bdsCustom)
// The date of an empty date text.
constexpr double dxBarNullDate = -700000.0;

// A combo whose text is a date, optionally after the abbreviated day name;
// "+" and "-" typed into it step the date by a day.
class TdxBarDateNavigator;
class TdxBarDateCombo : public TCustomdxBarCombo {
  SX_CLASS(TdxBarDateCombo, TCustomdxBarCombo)
public:
  explicit TdxBarDateCombo(TComponent* AOwner);
  ~TdxBarDateCombo() override;
  // The drop-down calendar (made on first use): a month of days with
  // Today and Clear; a chosen day becomes the date.
  TdxBarDateNavigator* Navigator();
  void DropDown(const TRect& AOwnerScreenRect, const AnsiString& ACurrentText);
  void CloseUp();
  bool DroppedDown() const;
  static void Published(TPublished<TdxBarDateCombo>& P);
  double GetDate() const { return ParseText(GetText()); }
  void SetDate(double Value);
  double GetMinDate() const { return FMinDate; }
  void SetMinDate(double Value);
  double GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(double Value);
  bool GetShowDayText() const { return FShowDayText; }
  void SetShowDayText(bool Value);
  TdxBarDateOnStart GetDateOnStart() const { return FDateOnStart; }
  void SetDateOnStart(TdxBarDateOnStart Value);
  bool GetShowTodayButton() const { return FShowTodayButton; }
  void SetShowTodayButton(bool Value) { FShowTodayButton = Value; }
  bool GetShowClearButton() const { return FShowClearButton; }
  void SetShowClearButton(bool Value) { FShowClearButton = Value; }
  void SetText(const AnsiString& Value) override;
  void Loaded() override;

  // The date of a text: a leading day name (when it is one of the locale's
  // abbreviated day names) is skipped; the null date when it is no date.
  double ParseText(const AnsiString& S) const;
  AnsiString DateToDisplayText(double D) const;
  double CheckRange(double D) const;

private:
  bool IsTextStored() const { return FDateOnStart == bdsCustom; }
  void NavigatorDateChosen(TObject* Sender);
  void ApplyDateOnStart();
  void SetTextInternal(const AnsiString& Value);
  TdxBarDateOnStart FDateOnStart = bdsToday;
  TdxBarDateNavigator* FNavigator = nullptr;  // owned
  bool FInternalSet = false;
  double FMinDate = 0, FMaxDate = 0;
  bool FShowDayText = true;
  bool FShowTodayButton = true;
  bool FShowClearButton = true;
};

// ---------------------------------------------------------------------------
// Colour and font-name combos

// Picks one of the 16 standard colours (and, when shown, the automatic
// one); a colour outside the list shows as the custom text.
class TdxBarColorCombo : public TdxBarCustomCombo {
  SX_CLASS(TdxBarColorCombo, TdxBarCustomCombo)
public:
  explicit TdxBarColorCombo(TComponent* AOwner);
  static void Published(TPublished<TdxBarColorCombo>& P);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TColor GetAutoColor() const { return FAutoColor; }
  void SetAutoColor(TColor Value);
  const AnsiString& GetAutoColorText() const { return FAutoColorText; }
  void SetAutoColorText(const AnsiString& Value);
  const AnsiString& GetCustomColorText() const { return FCustomColorText; }
  void SetCustomColorText(const AnsiString& Value) { FCustomColorText = Value; }
  bool GetShowAutoColor() const { return FShowAutoColor; }
  void SetShowAutoColor(bool Value);
  TColor GetColorOfIndex(Integer Index) const;
  Integer GetIndexOfColor(TColor Value) const;
  // Chooses an entry as the user does (Color follows it).
  void SelectIndex(Integer Index);
  void SetText(const AnsiString& Value) override;
  // An entry (Index -1: the edit part without an entry) with its swatch.
  void DrawItem(TCanvas* ACanvas, Integer Index, const TRect& R, bool Focused) const;

private:
  void FillColorList();
  TColor FAutoColor = clWindowText;
  AnsiString FAutoColorText, FCustomColorText;
  TColor FColor = clBlack;
  bool FSelecting = false;
  bool FShowAutoColor = false;
};

// Picks a font family; the TrueType ones carry a mark.
class TdxBarFontNameCombo : public TdxBarCustomCombo {
  SX_CLASS(TdxBarFontNameCombo, TdxBarCustomCombo)
public:
  explicit TdxBarFontNameCombo(TComponent* AOwner);
  static void Published(TPublished<TdxBarFontNameCombo>& P);
  // A typed name becomes the known family it names (ignoring case).
  void SetText(const AnsiString& Value) override;
};

// ---------------------------------------------------------------------------
// Tree-view combo

class TTreeNode;
class TTreeNodes;
class TdxBarTreeView;
class TdxBarTreeViewPopup;
using TdxBarTreeViewComboCanSelectNodeEvent =
    TEvent<void(TdxBarTreeViewCombo* Sender, TTreeNode* Node, bool& CanSelect)>;

// A combo whose drop-down is a tree of nodes; choosing a node puts its text
// into the edit part. Clicking the item itself opens a "Select item" dialog
// with a copy of the tree. A text names the first node (depth first, letter
// case ignored) that carries it.
class TdxBarTreeViewCombo : public TCustomdxBarCombo {
  SX_CLASS(TdxBarTreeViewCombo, TCustomdxBarCombo)
public:
  explicit TdxBarTreeViewCombo(TComponent* AOwner);
  ~TdxBarTreeViewCombo() override;
  static void Published(TPublished<TdxBarTreeViewCombo>& P);
  // The drop-down tree (its nodes are the combo's Items).
  TdxBarTreeView* TreeView() const { return FTreeView; }
  TTreeNodes* GetItems() const;
  void SetItems(TTreeNodes* Value);
  // The node whose text shows; nil when none (or when it was deleted).
  TTreeNode* GetSelectedNode() const;
  void SetSelectedNode(TTreeNode* Value);
  void SetText(const AnsiString& Value) override;
  void Loaded() override;
  bool GetAllowResizing() const { return FAllowResizing; }
  void SetAllowResizing(bool Value) { FAllowResizing = Value; }
  bool GetChooseByDblClick() const { return FChooseByDblClick; }
  void SetChooseByDblClick(bool Value) { FChooseByDblClick = Value; }
  bool GetFullExpand() const { return FFullExpand; }
  void SetFullExpand(bool Value) { FFullExpand = Value; }
  bool GetShowImageInEdit() const { return FShowImageInEdit; }
  void SetShowImageInEdit(bool Value) { FShowImageInEdit = Value; }
  Integer GetDropDownWidth() const;
  void SetDropDownWidth(Integer Value);  // never below 100
  Integer GetDropDownHeight() const;
  void SetDropDownHeight(Integer Value);  // never below 100
  TdxBarTreeViewComboCanSelectNodeEvent OnCanSelectNode;

  // The first node, depth first, whose text is S ignoring case; nil when none.
  TTreeNode* FindNodeByText(const AnsiString& S) const;
  bool CanSelectNode(TTreeNode* ANode);
  // The node's text becomes the combo's (its change event fires once).
  void SelectedNodeChanged();
  // The tree's node went away.
  void NodeDeleted(TTreeNode* ANode);
  // Shows the tree under a screen rectangle (the combo's box), with the
  // node of Text selected; CloseUp hides it.
  void DropDown(const TRect& AOwnerScreenRect, const AnsiString& ACurrentText);
  void CloseUp();
  bool DroppedDown() const;
  // The drop-down tree's window (made on first use).
  HWND GetDropDownWindow() const;
  // The "Select item" dialog: the chosen node's text on OK.
  bool RunSelectDialog();
  void DoClick() override;

private:
  bool FAllowResizing = true;
  bool FChooseByDblClick = true;
  TdxBarTreeViewPopup* FPopup = nullptr;  // owned, with the tree in it
  TdxBarTreeView* FTreeView = nullptr;
  bool FFullExpand = false;
  bool FSettingNode = false;
  AnsiString FLoadedText;
  mutable TTreeNode* FSelectedNode = nullptr;
  bool FShowImageInEdit = true;
};

// ---------------------------------------------------------------------------
// Date navigator

// One month of days under a title with arrows to the neighbouring months,
// the weekday names, six weeks of days (the neighbouring months' days
// included) and, in the drop-down, the Today and Clear buttons. Its window
// floats above everything without taking the activation.
class TdxBarDateNavigator : public TCustomControl {
  SX_CLASS(TdxBarDateNavigator, TCustomControl)
public:
  TdxBarDateNavigator(TComponent* AOwner, TdxBarDateCombo* ACombo);
  double GetFirstDate() const { return FFirstDate; }
  // The month of a date is shown.
  void SetFirstDate(double D);
  double GetSelStart() const { return FSelStart; }
  void SetSelStart(double D);
  double GetFirstVisibleDate() const;
  double GetLastVisibleDate() const;
  // The column (0..6) of a date in its week row, by the first day of the week.
  Integer GetDayOffset(double D) const;
  // The day under a client point; the null date off the grid.
  double GetDateAtPos(TPoint P) const;
  bool ShowTodayButton = true, ShowClearButton = true;
  TNotifyEvent OnDateChosen;
  // The metrics, from the font.
  void CalcMetrics();
  TRect TodayButtonRect() const;
  TRect ClearButtonRect() const;
  TRect PrevMonthRect() const;
  TRect NextMonthRect() const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;

private:
  void Choose(double D);
  TdxBarDateCombo* FCombo;
  double FFirstDate = 0, FSelStart = 0;
  Integer FColWidth = 18, FSideWidth = 12, FRowHeight = 15, FHeaderHeight = 17, FDaysOfWeekHeight = 16;
  Integer FTodayButtonWidth = 40, FClearButtonWidth = 40, FButtonsOffset = 4, FButtonsHeight = 20,
          FButtonsRegionHeight = 30;
};

