// cxPC.h — the tab control family: the tab list (TcxTabs, one TcxTab per
// tab, and the sorted index of the visible ones), the tab control that lays
// its tabs out in one scrolling row or several rows on any side of a page
// area and reacts to mouse, wheel and keys, and the page control whose tab
// sheets are the tabs. Drawing, measuring and part of the hit testing go
// through a painter chosen by Style (cxPCPainters.h).
//
// Layout addresses tabs by visible index (position among the visible
// tabs); the list and the sheets address them by index.
#pragma once
#include <memory>
#include <vector>
#include "controls/base/cxControls.h"
#include "controls/base/cxTimer.h"
#include "platform/forms/ComCtrls.h"
#include "platform/rtl/Strings.h"

class TcxCustomTabControl;
class TcxPCCustomPainter;
class TcxPCGoDialog;
struct TcxPCPainterClassInfo;
using TcxPCPainterClass = const TcxPCPainterClassInfo*;

// The strip sides are the class library's own (tpTop, tpBottom, tpLeft, tpRight).
using TcxTabPosition = TTabPosition;
SX_ENUM(TcxPCNavigatorPosition, npLeftTop, npLeftBottom, npRightTop, npRightBottom)
SX_ENUM(TcxPCNavigatorButton, nbTopLeft, nbBottomRight, nbGoDialog, nbClose)
using TcxPCNavigatorButtons = TSet<TcxPCNavigatorButton>;
SX_ENUM(TcxPCOption, pcoCloseButton, pcoFixedTabWidthWhenRotated, pcoGoDialog, pcoGradient,
        pcoGradientClientArea, pcoNoArrows, pcoRedrawOnResize, pcoSort, pcoTopToBottomText)
using TcxPCOptions = TSet<TcxPCOption>;
SX_ENUM(TcxTabSlantKind, skCutCorner, skSlant)
SX_ENUM(TcxTabSlantPosition, spLeft, spRight)
using TcxTabSlantPositions = TSet<TcxTabSlantPosition>;
using TcxPCStyleID = int;
constexpr TcxPCStyleID cxPCDefaultStyle = 0;

// What a tab tells its control when it changes.
enum TcxTabChangeKind {
  tckRepaint, tckEnabled, tckFocus, tckHighlighted, tckHot, tckCurrent, tckLayout, tckPressed, tckSelected,
  tckFocused
};

// Navigator button states.
enum : int { nbsNormal = 0, nbsPressed = 1, nbsHot = 2, nbsDisabled = 3 };

class TcxTabs;

class TcxTab : public TPersistent {
  SX_CLASS(TcxTab, TPersistent)
public:
  TcxTab(TcxTabs* ATabs, int AIndex);
  ~TcxTab() override;

  AnsiString GetCaption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetHighlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  // Through the control: OnGetImageIndex and the image list's bounds apply.
  int GetImageIndex() const;
  int StoredImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool GetSelected() const { return FSelected; }
  void SetSelected(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  TObject* GetObject() const { return FObject; }
  void SetObject(TObject* Value) { FObject = Value; }
  int Index() const { return FIndex; }
  int VisibleIndex() const;
  TcxCustomTabControl* Control() const;

  bool IsShown() const;
  bool IsCurrent() const;
  bool IsHot() const;
  bool IsPressed() const;
  bool IsFocused() const;
  bool RealEnabled() const;
  int Extent() const;
  // 0 above the page, 1 below, 2 left of it, 3 right of it.
  int Side() const;
  int DrawKind() const;
  TRect LayoutRect() const;
  TRect Bounds() const;
  TRect DisplayRect() const;

  // Geometry the layout fills in.
  int Row = 0;
  int DisplayRow = 0;
  TPoint Position{0, 0};
  int NormalWidth = 0;
  TRect BoundsAdjustment{0, 0, 0, 0};

  void Changed(TcxTabChangeKind Kind);
  void RefreshImage();
  void AssignTo(TPersistent* Dest) override;

private:
  friend class TcxTabs;
  friend class TcxCustomTabControl;
  TcxTabs* FTabs;
  int FIndex;
  AnsiString FCaption;
  bool FEnabled = true, FHighlighted = false, FSelected = false, FVisible = true;
  int FImageIndex;
  TObject* FObject = nullptr;
};

class TcxVisibleTabList : public TObject {
  SX_CLASS(TcxVisibleTabList, TObject)
public:
  explicit TcxVisibleTabList(TcxCustomTabControl* AControl) : FControl(AControl) {}
  int Count() const { return int(FItems.size()); }
  TcxTab* GetTab(int V) const;
  int IndexOfTab(int AIndex) const;
  void Add(int AIndex);
  void Remove(int AIndex);
  void Rebuild();
  // Bisection: true with its position when present, else false with the
  // position it would be inserted at.
  bool FindTabIndex(int AIndex, int& APosition) const;
  int operator[](int V) const { return FItems[size_t(V)]; }

private:
  TcxCustomTabControl* FControl;
  std::vector<int> FItems;
};

class TcxTabs : public TStrings {
  SX_CLASS(TcxTabs, TStrings)
public:
  explicit TcxTabs(TcxCustomTabControl* AControl) : FControl(AControl) {}
  ~TcxTabs() override;

  Integer GetCount() const override { return Integer(FItems.size()); }
  AnsiString Get(Integer Index) const override;
  void Put(Integer Index, const AnsiString& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const AnsiString& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Move(Integer CurIndex, Integer NewIndex) override;

  TcxTab* GetTab(int Index) const;
  TcxTab* operator[](int Index) const { return GetTab(Index); }
  TcxTab* GetVisibleTab(int V) const;
  int VisibleCount() const;
  TcxCustomTabControl* Control() const { return FControl; }
  int TabNormalHeight = 0;

  virtual void DetachTab(int Index, bool Keep);
  [[noreturn]] virtual void IndexError(const char* Method, int Index) const;
  void TabChanged(int V, TcxTabChangeKind Kind);
  void SetHotTab(int V);
  void SetFocusedTab(int V);
  void SyncCurrentTab();
  void RefreshImages();

private:
  friend class TcxTab;
  void Renumber(int From, int To);
  TcxCustomTabControl* FControl;
  std::vector<TcxTab*> FItems;  // owned
  bool FUpdating = false;
  bool FDetaching = false;
};

// Computed by the painter for a set of navigator buttons.
struct TcxPCTabsArea {
  TRect Rect;
  int NearOffset = 0, FarOffset = 0;
  int RowSpacing = 0;
  int Length = 0;  // L: room along a row
  TPoint Start, End;
};

class TcxTabSlants : public TPersistent {
  SX_CLASS(TcxTabSlants, TPersistent)
public:
  explicit TcxTabSlants(TNotifyEvent AOnChange) : FOnChange(AOnChange) {}
  TcxTabSlantKind GetKind() const { return FKind; }
  void SetKind(TcxTabSlantKind Value);
  TcxTabSlantPositions GetPositions() const { return FPositions; }
  void SetPositions(TcxTabSlantPositions Value);
  void Assign(TPersistent* Source) override;

private:
  TNotifyEvent FOnChange;
  TcxTabSlantKind FKind = skSlant;
  TcxTabSlantPositions FPositions{spLeft};
};

using TcxPCCanCloseEvent = TEvent<void(TObject* Sender, bool& ACanClose)>;
using TcxTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;
using TcxGetTabImageEvent = TEvent<void(TObject* Sender, int TabIndex, int& ImageIndex)>;
using TcxDrawTabEvent = TEvent<void(TcxCustomTabControl* AControl, TcxTab* ATab, bool& DefaultDraw)>;
using TcxDrawTabExEvent = TEvent<void(TcxCustomTabControl* AControl, TcxTab* ATab, TFont* Font)>;

class TcxCustomTabControl : public TcxControl {
  SX_CLASS(TcxCustomTabControl, TcxControl)
public:
  explicit TcxCustomTabControl(TComponent* AOwner);
  ~TcxCustomTabControl() override;

  TcxTabs* Tabs() const { return FTabs.get(); }
  TcxVisibleTabList* VisibleTabs() const { return FVisibleTabs.get(); }
  TcxPCCustomPainter* Painter() const { return FPainter.get(); }

  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value);
  TcxPCStyleID GetStyle() const { return FStyle; }
  void SetStyle(TcxPCStyleID Value);
  bool GetFocusable() const { return FFocusable; }
  void SetFocusable(bool Value) { FFocusable = Value; }
  bool GetHideTabs() const { return FHideTabs; }
  void SetHideTabs(bool Value);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  int GetImageBorder() const { return FImageBorder; }
  void SetImageBorder(int Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int GetMaxRotatedTabWidth() const { return FMaxRotatedTabWidth; }
  void SetMaxRotatedTabWidth(int Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxPCNavigatorPosition GetNavigatorPosition() const { return FNavigatorPosition; }
  void SetNavigatorPosition(TcxPCNavigatorPosition Value);
  TcxPCOptions GetOptions() const { return FOptions; }
  void SetOptions(TcxPCOptions Value);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  bool GetRaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool Value);
  bool GetRotate() const { return FRotate; }
  void SetRotate(bool Value);
  bool GetScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool Value);
  bool GetShowFrame() const { return FShowFrame; }
  void SetShowFrame(bool Value);
  SmallInt GetTabHeight() const { return FTabHeightValue; }
  void SetTabHeight(SmallInt Value);
  TcxTabPosition GetTabPosition() const { return FTabPosition; }
  void SetTabPosition(TcxTabPosition Value);
  SmallInt GetTabWidth() const { return FTabWidthValue; }
  void SetTabWidth(SmallInt Value);
  TcxTabSlants* GetTabSlants() const { return FTabSlants.get(); }

  TcxPCCanCloseEvent OnCanClose;
  TNotifyEvent OnChange;
  TcxTabChangingEvent OnChanging;
  TcxDrawTabEvent OnDrawTab;
  TcxDrawTabExEvent OnDrawTabEx;
  TcxGetTabImageEvent OnGetImageIndex;

  // Layout state, read by the painters and the tests.
  int CurrentVisibleIndex() const { return FCurrentVisibleIndex; }
  int FirstShown() const { return FFirstShown; }
  int LastShown() const { return FLastShown; }
  bool AllFit() const { return FAllFit; }
  int HotTab() const { return FHotTab; }
  int PressedTab() const { return FPressedTab; }
  int FocusedTab() const { return FFocusedTab; }
  int RowCount() const { return FRowCount; }
  int SplitRow() const { return FSplitRow; }
  int RotatedTabWidth() const { return FRotatedTabWidth; }
  bool MultiSelect() const { return FMultiSelect; }
  bool GoDialogShown() const { return FGoDialogShown; }
  TcxPCNavigatorButtons ShownButtons() const { return FShownButtons; }
  TcxPCNavigatorButtons HotButtons() const { return FHotButtons; }
  TcxPCNavigatorButtons PressedButtons() const { return FPressedButtons; }
  int ButtonState(TcxPCNavigatorButton B) const { return FButtonState[B]; }
  const TRect& NearGroupRect() const { return FNearGroupRect; }
  const TRect& FarGroupRect() const { return FFarGroupRect; }
  const TcxPCTabsArea& TabsArea() const { return FTabsArea; }
  bool IsVerticalText() const;
  // 0 horizontal, 1 bottom-to-top, 2 top-to-bottom.
  int TextDirection() const;
  bool IsReversedRow() const;
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  void RequestLayoutNow() { RequestLayout(); }
  void ScrollTabs(TcxPCNavigatorButton Button);
  int GetTabAt(int X, int Y) const;
  void MakeTabVisible(int V);
  void UpdateHotTrack(TShiftState Shift);
  void UpdateNavigatorButtons();
  bool IsNavigatorButtonEnabled(TcxPCNavigatorButton B) const;
  virtual bool HandleKey(Word& Key, TShiftState Shift);
  virtual bool SelectTabByAccelerator(char C);
  virtual bool CanSelectTab(int Index) const;
  virtual int GetTabImageIndex(int Index) const;
  virtual void PrepareTabFont(TcxTab* ATab, TcxCanvas* ACanvas);
  virtual TObject* GetActivePageControl() const { return nullptr; }
  virtual TWinControl* GetPage(int /*Index*/) const { return nullptr; }
  virtual void GoDialogItemClicked(int Index);
  virtual bool CurrentTabFollowsVisibility() const { return false; }
  virtual bool PaintsOnPrintClient() const { return true; }
  // The entries the go dialog would offer, in its order: (caption, index).
  std::vector<std::pair<AnsiString, int>> GoDialogEntries() const;
  // Paints the whole control onto a canvas (off-screen pictures).
  void PaintTo(TcxCanvas* ACanvas);
  // The locked change notifications run their side effects without events.
  void LockChangeEvents() { ++FChangeLock; }
  void UnlockChangeEvents() { --FChangeLock; }
  bool ChangeEventsLocked() const;

protected:
  friend class TcxTabs;
  friend class TcxTab;
  virtual void DrawTabContent(TcxCanvas*, TcxTab*, const TRect&, const TRect&) {}
  virtual bool CanCloseActive();
  virtual void CloseActive();
  virtual void ImagesChanged() { RequestLayout(); }
  virtual bool CanChange(int NewIndex);
  virtual void Change();
  virtual void RequestLayout();
  void SetTabIndexDirect(int Value) { FTabIndex = Value; }

  void Paint() override;
  void Resize() override;
  void Loaded() override;
  void AdjustClientRect(TRect& Rect) const override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  bool UsesScrollBars() const override { return false; }
  void FocusModified() override;
  void NotifyMouseLeave(TControl* AControl) override;
  void LookAndFeelModified(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) override;
  void TabClick(int V, TShiftState Shift);

private:
  void CalculateLayout();
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons);
  void SingleLineLayout();
  void PlaceSingleRow();
  void PlaceAlongRow(int From, int To, bool StopAllowed);
  void BuildRows(int L, int I);
  void BalanceRows(int From, int To, int L, int I);
  void PlaceRows();
  void MultiLineLayout();
  void CalculateRotatedTabWidth();
  void ArrangeRows();
  void PlaceRowsAcross();
  void SetGroupsAlongRow();
  int SpacingInRow() const;
  int SpacingBetweenRows() const;
  void SetNavigatorButtons(TcxPCNavigatorButtons Buttons);
  void ChooseDefaultStyle();
  void ApplyStyle(TcxPCStyleID Value);
  void TimerTick(TObject*);
  void SlantsChanged(TObject*) { RequestLayout(); }

  std::unique_ptr<TcxTabs> FTabs;
  std::unique_ptr<TcxVisibleTabList> FVisibleTabs;
  std::unique_ptr<TcxPCCustomPainter> FPainter;
  std::unique_ptr<TcxTabSlants> FTabSlants;
  std::unique_ptr<TcxTimer> FTimer;
  std::unique_ptr<TcxPCGoDialog> FGoDialog;
  TcxPCStyleID FStyle = cxPCDefaultStyle;
  int FTabIndex = -1;
  int FCurrentVisibleIndex = -1;
  int FFirstShown = -1, FLastShown = -1;
  bool FAllFit = false;
  int FHotTab = -1, FPressedTab = -1, FFocusedTab = -1;
  TcxPCNavigatorButtons FShownButtons, FHotButtons, FPressedButtons;
  int FButtonState[4] = {0, 0, 0, 0};
  int FRowCount = 0, FSplitRow = 0;
  int FRotatedTabWidth = 0;
  TcxPCTabsArea FTabsArea;
  TRect FNearGroupRect, FFarGroupRect;
  bool FMultiSelect = false;
  int FChangeLock = 0;
  bool FLayoutGuard = false;
  bool FGoDialogShown = false;
  bool FFocusable = true, FHideTabs = false, FHotTrack = false;
  int FImageBorder = 0;
  TCustomImageList* FImages = nullptr;
  int FMaxRotatedTabWidth = 0;
  bool FMultiLine = false;
  TcxPCNavigatorPosition FNavigatorPosition = npRightTop;
  TcxPCOptions FOptions{pcoGradient, pcoGradientClientArea, pcoRedrawOnResize};
  bool FOwnerDraw = false, FRaggedRight = false, FRotate = false, FScrollOpposite = false, FShowFrame = false;
  SmallInt FTabHeightValue = 0, FTabWidthValue = 0;
  TcxTabPosition FTabPosition = tpTop;
};

class TcxPageControl;

class TcxTabSheet : public TCustomControl {
  SX_CLASS(TcxTabSheet, TCustomControl)
public:
  explicit TcxTabSheet(TComponent* AOwner);
  ~TcxTabSheet() override;
  static void Published(TPublished<TcxTabSheet>& P);

  TcxPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TcxPageControl* Value);
  void SetParent(TWinControl* AParent) override;
  Integer GetPageIndex() const;
  void SetPageIndex(Integer Value);
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  bool GetHighlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TcxTab* Tab() const { return FTab; }

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void Dispatch(TMessage& Message) override;
  void Paint() override;

private:
  friend class TcxPageControl;
  TcxPageControl* FPageControl = nullptr;
  TcxTab* FTab = nullptr;
  bool FTabVisible = true, FHighlighted = false;
  Integer FImageIndex = -1;
};

using TcxPageChangingEvent = TEvent<void(TObject* Sender, TcxTabSheet* NewPage, bool& AllowChange)>;

class TcxPageControl : public TcxCustomTabControl {
  SX_CLASS(TcxPageControl, TcxCustomTabControl)
public:
  explicit TcxPageControl(TComponent* AOwner);
  ~TcxPageControl() override;
  static void Published(TPublished<TcxPageControl>& P);

  TcxTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TcxTabSheet* Value);
  int GetActivePageNo() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }
  void SetActivePageNo(int Index);
  int PageCount() const { return int(FPages.size()); }
  TcxTabSheet* Pages(int Index) const;
  TcxTabSheet* GetNextPage(TcxTabSheet* Sheet, bool Forward, bool OnlyVisible) const;
  void MoveToNextPage(bool Forward, bool OnlyVisible);

  TcxPageChangingEvent OnPageChanging;

  TObject* GetActivePageControl() const override { return FActivePage; }
  TWinControl* GetPage(int Index) const override;
  bool CurrentTabFollowsVisibility() const override { return true; }
  bool PaintsOnPrintClient() const override { return false; }

protected:
  void CloseActive() override;
  bool CanChange(int NewIndex) override;
  void Change() override;
  void RequestLayout() override;
  void ImagesChanged() override;
  void Loaded() override;
  virtual bool PageChanging(TcxTabSheet* NewPage);
  virtual void ActivePageChanged();
  virtual void SyncActivePage();
  void ShowControl(TControl* AControl);
  bool MayFocusOnClickAt(int X, int Y) const override;

private:
  friend class TcxTabSheet;
  void InsertPage(TcxTabSheet* Sheet);
  void RemovePage(TcxTabSheet* Sheet);
  void ChangeActivePage(TcxTabSheet* Value);
  void UpdateTab(TcxTabSheet* Sheet);
  std::vector<TcxTabSheet*> FPages;
  TcxTabSheet* FActivePage = nullptr;
  bool FInserting = false;
};

void RegisterTabControlClasses();
