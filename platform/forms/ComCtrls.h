// ComCtrls.h — the class library's common controls: TTreeView over the
// tree-view window class, TListView over the list-view window class, and
// TPageControl with its TTabSheet pages (drawn by the library itself).
//
// Ownership. A TTreeNode belongs to its TTreeNodes: it is made when an item
// is added and freed when the window reports the item deleted, so a node
// pointer is valid until its item goes. A TListItem belongs to its
// TListItems the same way. When the window is recreated the items are
// saved and rebuilt; the node and item objects are rebuilt with them.
#pragma once
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Strings.h"
#include "platform/win/CommCtrl.h"

class TCustomTreeView;
class TTreeNodes;
class TCustomListView;
class TListItems;

SX_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
SX_ENUM(TSortType, stNone, stData, stText, stBoth)
SX_ENUM(TItemChange, ctText, ctImage, ctState)
// Not TSearchDirection: the editor's search options own that name.
SX_ENUM(TItemSearchDirection, sdLeft, sdRight, sdAbove, sdBelow, sdAll)
SX_ENUM(TItemState, isNone, isCut, isDropHilited, isFocused, isSelected, isActivating)
using TItemStates = TSet<TItemState>;

// ---------------------------------------------------------------------------
// Tree view

class TTreeNode : public TPersistent {
  SX_CLASS(TTreeNode, TPersistent)
public:
  explicit TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}

  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  HTREEITEM ItemId() const { return FItemId; }
  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value);
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer Value);
  // A button shows even before children exist (expanding on demand).
  bool GetHasChildren() const;
  void SetHasChildren(bool Value);
  bool GetExpanded() const;
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool GetSelected() const;
  void SetSelected(bool Value);
  bool GetDropTarget() const;
  void SetDropTarget(bool Value);

  TTreeNode* GetParent() const;
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Depth first, over collapsed nodes too.
  TTreeNode* GetNext() const;
  Integer Count() const;
  TTreeNode* Item(Integer Index) const;
  Integer Index() const;
  Integer Level() const;
  bool IsVisible() const;

  void Delete();
  void DeleteChildren();
  void MakeVisible();
  bool AlphaSort(bool Recurse = false);
  bool CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse = false);
  TRect DisplayRect(bool TextOnly) const;
  // Starts editing the label in place; false when the view (ReadOnly) or
  // OnEditing refused.
  bool EditText();
  // Ends a running edit of the view: Cancel drops the typed text.
  void EndEdit(bool Cancel);
  void Assign(TPersistent* Source) override;

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  HWND Wnd() const;
  HTREEITEM Relative(WPARAM Code) const;
  UINT State() const;

  TTreeNodes* FOwner;
  HTREEITEM FItemId = nullptr;
  AnsiString FText;
  void* FData = nullptr;
  Integer FImageIndex = 0;
  Integer FSelectedIndex = 0;
};

class TTreeNodes : public TPersistent {
  SX_CLASS(TTreeNodes, TPersistent)
public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return FOwner; }
  Integer Count() const;
  // The node at Index in depth-first order.
  TTreeNode* Item(Integer Index) const;
  TTreeNode* GetFirstNode() const;
  // The node of an item of the window, or nil.
  TTreeNode* GetNode(HTREEITEM ItemId) const;

  TTreeNode* Add(TTreeNode* Sibling, const AnsiString& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const AnsiString& S);
  TTreeNode* AddChild(TTreeNode* Parent, const AnsiString& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const AnsiString& S);
  // Before Sibling (at the end of the top level when nil).
  TTreeNode* Insert(TTreeNode* Sibling, const AnsiString& S);
  void Delete(TTreeNode* Node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  // Copies the nodes (texts, images, data, shape) of another TTreeNodes.
  void Assign(TPersistent* Source) override;

private:
  friend class TCustomTreeView;
  friend class TTreeNode;
  HWND Wnd() const;
  TTreeNode* InsertItem(HTREEITEM Parent, HTREEITEM After, const AnsiString& S, void* Ptr);
  void Forget(TTreeNode* Node);

  TCustomTreeView* FOwner;
  std::unordered_set<TTreeNode*> FNodes;  // owned
  Integer FUpdateCount = 0;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVCompareEvent = TEvent<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, Integer Data, Integer& Compare)>;
using TTVEditingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, AnsiString& S)>;

class TCustomTreeView : public TWinControl {
  SX_CLASS(TCustomTreeView, TWinControl)
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* GetItems() const { return FTreeNodes.get(); }
  void SetItems(TTreeNodes* Value) { FTreeNodes->Assign(Value); }
  TTreeNode* GetSelected() const;
  void SetSelected(TTreeNode* Value);
  TTreeNode* GetTopItem() const;
  TTreeNode* GetDropTarget() const;
  void SetDropTarget(TTreeNode* Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { SetStyleFlag(FShowButtons, Value); }
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { SetStyleFlag(FShowLines, Value); }
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value) { SetStyleFlag(FShowRoot, Value); }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetStyleFlag(FHideSelection, Value); }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { SetStyleFlag(FRowSelect, Value); }
  // Without ReadOnly the labels can be edited in place.
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { SetStyleFlag(FReadOnly, Value); }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  Integer GetIndent() const;
  void SetIndent(Integer Value);
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType Value);

  TTreeNode* GetNodeAt(Integer X, Integer Y);
  void FullExpand();
  void FullCollapse();
  bool AlphaSort(bool Recurse = true);
  bool CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse = true);
  // A label edit is running.
  bool IsEditing() const;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnDeletion;
  TTVCompareEvent OnCompare;
  // Asked before a label edit starts; may refuse it.
  TTVEditingEvent OnEditing;
  // An accepted edit's text, which the handler may change; the node takes it.
  TTVEditedEvent OnEdited;
  // An edit ended by Esc (or cancelled by the program).
  TTVChangedEvent OnCancelEdit;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, AnsiString& S);
  virtual void Change(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Expanded(TTreeNode* Node);
  virtual void Collapsed(TTreeNode* Node);
  virtual void Delete(TTreeNode* Node);

  TTreeNode* FDragNode = nullptr;

private:
  friend class TTreeNodes;
  friend class TTreeNode;
  void CNNotify(TMessage& Message);
  void SetStyleFlag(bool& Flag, bool Value);
  void ImageListChange(TObject* Sender);
  static int DefaultSort(LPARAM A, LPARAM B, LPARAM Data);

  std::unique_ptr<TTreeNodes> FTreeNodes;
  TCustomImageList* FImages = nullptr;
  bool FShowButtons = true, FShowLines = true, FShowRoot = true, FHideSelection = true;
  bool FRowSelect = false, FReadOnly = false;
  TBorderStyle FBorderStyle = bsSingle;
  Integer FIndent = 19;
  TSortType FSortType = stNone;
  // Saved while the window is being remade.
  struct TSavedNode;
  std::unique_ptr<std::vector<TSavedNode>> FSaved;
  bool FInternalDrag = false;
};

class TTreeView : public TCustomTreeView {
  SX_CLASS(TTreeView, TCustomTreeView)
public:
  using TCustomTreeView::TCustomTreeView;
  static void Published(TPublished<TTreeView>& P);
};

// ---------------------------------------------------------------------------
// List view

class TListItem : public TPersistent {
  SX_CLASS(TListItem, TPersistent)
public:
  explicit TListItem(TListItems* AOwner);
  ~TListItem() override;

  TListItems* Owner() const { return FOwner; }
  TCustomListView* ListView() const;
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  TStrings* SubItems() const { return FSubItems.get(); }
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  // The item's place in the list (a search: O(count)).
  Integer Index() const;
  bool GetSelected() const { return GetState(LVIS_SELECTED); }
  void SetSelected(bool Value) { SetState(LVIS_SELECTED, Value); }
  bool GetFocused() const { return GetState(LVIS_FOCUSED); }
  void SetFocused(bool Value) { SetState(LVIS_FOCUSED, Value); }
  bool GetDropTarget() const { return GetState(LVIS_DROPHILITED); }
  void SetDropTarget(bool Value) { SetState(LVIS_DROPHILITED, Value); }
  void Delete();
  void MakeVisible(bool PartialOK);
  TRect DisplayRect(int Code) const;
  // Starts editing the caption in place; false when the view (ReadOnly)
  // or OnEditing refused.
  bool EditCaption();
  // Ends a running edit of the view, dropping the typed text.
  void CancelEdit();
  void Assign(TPersistent* Source) override;

private:
  friend class TListItems;
  friend class TCustomListView;
  bool GetState(UINT Flag) const;
  void SetState(UINT Flag, bool Value);
  void SubItemsChanged(TObject* Sender);

  TListItems* FOwner;
  AnsiString FCaption;
  std::unique_ptr<TStringList> FSubItems;
  void* FData = nullptr;
  Integer FImageIndex = -1;
  mutable Integer FIndexHint = -1;
};

class TListItems : public TPersistent {
  SX_CLASS(TListItems, TPersistent)
public:
  explicit TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}
  ~TListItems() override;
  TCustomListView* Owner() const { return FOwner; }
  Integer Count() const;
  TListItem* Item(Integer Index) const;
  TListItem* Add();
  TListItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  Integer IndexOf(const TListItem* Value) const;
  void BeginUpdate();
  void EndUpdate();

private:
  friend class TCustomListView;
  friend class TListItem;
  HWND Wnd() const;
  TCustomListView* FOwner;
  std::unordered_set<TListItem*> FItems;  // owned
  Integer FUpdateCount = 0;
};

class TListColumn : public TCollectionItem {
  SX_CLASS(TListColumn, TCollectionItem)
public:
  explicit TListColumn(TCollection* ACollection) : TCollectionItem(ACollection) {}
  static void Published(TPublished<TListColumn>& P) {
    P.Property("Alignment", &TListColumn::GetAlignment, &TListColumn::SetAlignment).Default(taLeftJustify);
    P.Property("Caption", &TListColumn::GetCaption, &TListColumn::SetCaption);
    P.Property("Width", &TListColumn::GetWidth, &TListColumn::SetWidth).Default(50);
  }
  const AnsiString& GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  Integer GetWidth() const;
  void SetWidth(Integer Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  AnsiString GetDisplayName() override { return FCaption.empty() ? inherited::GetDisplayName() : FCaption; }

private:
  AnsiString FCaption;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TOwnedCollection {
  SX_CLASS(TListColumns, TOwnedCollection)
public:
  explicit TListColumns(TCustomListView* AOwner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(Integer Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
  TCustomListView* Owner() const { return FOwner; }

protected:
  void Update(TCollectionItem* Item) override;

private:
  TCustomListView* FOwner;
};

using TLVChangeEvent = TEvent<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVColumnClickEvent = TEvent<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = TEvent<void(TObject* Sender, TListItem* Item1, TListItem* Item2, Integer Data, Integer& Compare)>;
using TLVDeletedEvent = TEvent<void(TObject* Sender, TListItem* Item)>;
using TLVSelectItemEvent = TEvent<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVEditingEvent = TEvent<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = TEvent<void(TObject* Sender, TListItem* Item, AnsiString& S)>;

class TCustomListView : public TWinControl {
  SX_CLASS(TCustomListView, TWinControl)
public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListItems* GetItems() const { return FListItems.get(); }
  TListColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(TListColumns* Value) { FColumns->Assign(Value); }
  TViewStyle GetViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { SetStyleFlag(FMultiSelect, Value); }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetStyleFlag(FHideSelection, Value); }
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value) { SetStyleFlag(FShowColumnHeaders, Value); }
  bool GetColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool Value) { SetStyleFlag(FColumnClick, Value); }
  // Without ReadOnly the captions can be edited in place.
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { SetStyleFlag(FReadOnly, Value); }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  bool GetGridLines() const { return FGridLines; }
  void SetGridLines(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);

  // The first selected item, or nil; setting selects that one alone.
  TListItem* GetSelected() const;
  void SetSelected(TListItem* Value);
  TListItem* GetItemFocused() const;
  void SetItemFocused(TListItem* Value);
  Integer SelCount() const;
  void SelectAll();
  void ClearSelection();
  TListItem* GetNextItem(TListItem* StartItem, TItemSearchDirection Direction, TItemStates States) const;
  TListItem* GetItemAt(Integer X, Integer Y);
  TListItem* FindCaption(Integer StartIndex, const AnsiString& Value, bool Partial, bool Inclusive, bool Wrap);
  TListItem* FindData(Integer StartIndex, void* Value, bool Inclusive, bool Wrap);
  bool AlphaSort();
  bool CustomSort(PFNLVCOMPARE SortProc, LPARAM Data);
  void Scroll(Integer DX, Integer DY);
  // A caption edit is running.
  bool IsEditing() const;

  TLVChangeEvent OnChange;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;
  TLVDeletedEvent OnDeletion;
  TLVSelectItemEvent OnSelectItem;
  // Asked before a caption edit starts; may refuse it.
  TLVEditingEvent OnEditing;
  // An accepted edit's text, which the handler may change; the item takes it.
  TLVEditedEvent OnEdited;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  virtual bool CanEdit(TListItem* Item);
  virtual void Edit(TListItem* Item, AnsiString& S);

private:
  friend class TListItems;
  friend class TListItem;
  friend class TListColumns;
  void CNNotify(TMessage& Message);
  void SetStyleFlag(bool& Flag, bool Value);
  void UpdateColumns();
  void UpdateExStyle();
  void ImageListChange(TObject* Sender);
  TListItem* ItemOf(int Index) const;
  static int DefaultSort(LPARAM A, LPARAM B, LPARAM Data);

  std::unique_ptr<TListItems> FListItems;
  std::unique_ptr<TListColumns> FColumns;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false, FHideSelection = true, FShowColumnHeaders = true, FColumnClick = true;
  bool FReadOnly = false, FRowSelect = false, FGridLines = false;
  TBorderStyle FBorderStyle = bsSingle;
  TSortType FSortType = stNone;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  struct TSavedItem;
  std::unique_ptr<std::vector<TSavedItem>> FSaved;
  bool FInternalDrag = false;
};

class TListView : public TCustomListView {
  SX_CLASS(TListView, TCustomListView)
public:
  using TCustomListView::TCustomListView;
  static void Published(TPublished<TListView>& P);
};

// ---------------------------------------------------------------------------
// Page control

class TPageControl;

class TTabSheet : public TWinControl {
  SX_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  static void Published(TPublished<TTabSheet>& P);

  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  void SetParent(TWinControl* AParent) override;
  // The position among all pages (shown or not).
  Integer GetPageIndex() const;
  void SetPageIndex(Integer Value);
  // Among the pages whose tab shows; -1 when hidden.
  Integer TabIndex() const;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  bool GetHighlighted() const { return false; }

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void Dispatch(TMessage& Message) override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  Integer FImageIndex = -1;
};

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

SX_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
SX_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)

class TPageControl : public TCustomControl {
  SX_CLASS(TPageControl, TCustomControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  static void Published(TPublished<TPageControl>& P);

  Integer PageCount() const { return Integer(FPages.size()); }
  TTabSheet* Pages(Integer Index) const;
  TTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  Integer GetActivePageIndex() const;
  void SetActivePageIndex(Integer Value);
  // The active page's tab among the shown tabs; setting asks OnChanging.
  Integer GetTabIndex() const;
  void SetTabIndex(Integer Value);
  Integer TabCount() const;
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // Moves to the next (or previous) shown tab as a user would: OnChanging
  // may refuse, OnChange follows.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  // The rectangle of a shown tab, in client coordinates.
  TRect TabRect(Integer Index);
  // The area the pages fill.
  TRect DisplayRect() const;
  Integer IndexOfTabAt(Integer X, Integer Y);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { FMultiLine = Value; }
  TTabPosition GetTabPosition() const { return tpTop; }
  void SetTabPosition(TTabPosition) {}
  TTabStyle GetStyle() const { return tsTabs; }
  void SetStyle(TTabStyle) {}

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  virtual bool CanChange();
  virtual void Change();
  void Paint() override;
  void AdjustClientRect(TRect& Rect) const override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void ShowControl(TControl* AControl);

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void ChangeActivePage(TTabSheet* Page);
  void UpdateTabs() { Invalidate(); }
  // Changes to Page as the user would: true when it took place.
  bool UserSelect(TTabSheet* Page);
  int TabHeight() const;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TCustomImageList* FImages = nullptr;
  bool FMultiLine = false;
  AnsiString FActivePageName;  // read before the pages exist
};

// ---------------------------------------------------------------------------
// Up-down and progress bar

SX_ENUM(TUDAlignButton, udLeft, udRight)
SX_ENUM(TUDOrientation, udHorizontal, udVertical)
SX_ENUM(TUDBtnType, btNext, btPrev)
using TUDClickEvent = TEvent<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

// Arrows that step Position between Min and Max; with an Associate (its
// buddy) the arrows sit beside it and write the position into its text.
class TUpDown : public TWinControl {
  SX_CLASS(TUpDown, TWinControl)
public:
  explicit TUpDown(TComponent* AOwner);
  static void Published(TPublished<TUpDown>& P);

  TWinControl* GetAssociate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  SmallInt GetMin() const { return FMin; }
  void SetMin(SmallInt Value);
  SmallInt GetMax() const { return FMax; }
  void SetMax(SmallInt Value);
  SmallInt GetPosition() const;
  void SetPosition(SmallInt Value);
  Integer GetIncrement() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  TUDOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton GetAlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool Value);
  bool GetThousands() const { return FThousands; }
  void SetThousands(bool Value);
  bool GetArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value) { FArrowKeys = Value; }

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TWinControl* FAssociate = nullptr;
  SmallInt FMin = 0, FMax = 100, FPosition = 0;
  Integer FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false, FThousands = true, FArrowKeys = true;
};

class TProgressBar : public TWinControl {
  SX_CLASS(TProgressBar, TWinControl)
public:
  explicit TProgressBar(TComponent* AOwner);
  static void Published(TPublished<TProgressBar>& P);
  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value);
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value);
  Integer GetPosition() const;
  void SetPosition(Integer Value);
  Integer GetStep() const { return FStep; }
  void SetStep(Integer Value);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  void StepIt();
  void StepBy(Integer Delta);

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

private:
  Integer FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  bool FSmooth = false;
};

// Registers the classes of this unit (and the panels and buttons) for form
// descriptions; RegisterFormsClasses calls it.
void RegisterComCtrlsClasses();
