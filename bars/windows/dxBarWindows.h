// dxBarWindows.h — the windows of the bar library: bar windows (toolbars and
// sub-menus), dock sites and their rows and columns, popup menus and their
// bindings to controls, the hint window and menu shadows.
//
// Ownership: a bar window belongs to the TdxBarItemLinks it shows (created
// when a bar is shown or a menu opens, freed when it hides or closes) and
// owns the item controls of its shown links through those links. The four
// built-in dock sites belong to TdxBars; a placed site (TdxBarDockControl)
// belongs to the form and registers with the manager. A dock site owns its
// rows, a row its columns; a column refers to one bar window. Popup menus
// are owned by the form and listed by their manager, which frees them.
//
// Bar windows and built-in dock sites name the manager as their component
// owner, so that a form tearing down its children never frees them behind
// the links' or the bars' backs; their real owners free them explicitly.
#pragma once
#include <memory>
#include <vector>
#include "bars/model/dxBarTypes.h"
#include "platform/forms/Controls.h"
#include "platform/forms/HintWindow.h"
#include "platform/rtl/Collection.h"

class TdxBarHintWindow;
class TdxBarPaintWindow;
class TdxBarWindowPaint;
class TBitmap;

// Bar window messages.
constexpr UINT WM_DXBAR_RECALCULATE = WM_USER + 1;  // posted: recalculate later
// Posted by an edit item's window: end typing (wParam the control, lParam 1 to accept).
constexpr UINT WM_DXBAR_STOPEDITING = WM_USER + 2;

// A window that shows one TdxBarItemLinks.
class TCustomdxBarControl : public TCustomControl {
  SX_CLASS(TCustomdxBarControl, TCustomControl)
public:
  explicit TCustomdxBarControl(TdxBarManager* AManager);
  ~TCustomdxBarControl() override;

  TdxBarItemLinks* ItemLinks() const { return FItemLinks; }
  // Binds the window to the links it shows (the links then own it).
  void SetItemLinks(TdxBarItemLinks* Value);
  TdxBarManager* BarManager() const { return FBarManager; }
  TdxBarItemControlPainterClass GetPainter() const;
  // The window as the painter sees it.
  const TdxBarPaintWindow& PaintWindow() const;

  TdxBarItemControl* SelectedControl() const { return FSelectedControl; }
  // Clears the selection field without any side effect (a dying control).
  void ForgetControl(TdxBarItemControl* AControl);
  bool GetActive() const { return FActive; }
  virtual void SetActive(bool Value);
  virtual void SelectControl(TdxBarItemControl* AControl);
  void SetSelectedControl(TdxBarItemControl* AControl);
  void HotTrackControl(TdxBarItemControl* AControl);
  // Leaves menu mode here and in every window this one was opened from.
  virtual void HideAll();
  // Rebuilds the item controls, the size and the layout.
  virtual void Recalculate();
  // Frees every item control (they are made again by the next layout).
  void DestroyControlsNow() { DestroyControls(); }
  void RecalculateLater();

  TCustomdxBarControl* ChildBar() const { return FChildBar; }
  void SetChildBar(TCustomdxBarControl* Value) { FChildBar = Value; }
  TCustomdxBarControl* ParentBar() const { return FParentBar; }
  void SetParentBar(TCustomdxBarControl* Value) { FParentBar = Value; }
  const TRect& OwnerRect() const { return FOwnerRect; }
  void SetOwnerRect(const TRect& R, TCustomdxBarControl* AOwnerBar) {
    FOwnerRect = R;
    FOwnerBar = AOwnerBar;
  }
  // The outermost window of the chain this one was opened from.
  TCustomdxBarControl* RootBar();
  bool IsParentOf(TCustomdxBarControl* ABar) const;

  virtual bool IsPopup() const { return false; }
  // Items stacked top to bottom (menus and vertically docked toolbars).
  virtual bool IsVertical() const { return false; }
  // 0 horizontal toolbar, 1 menu, 2 vertical toolbar.
  virtual Integer PaintType() const { return 0; }
  virtual bool IsCustomizing() const;
  virtual bool IsLastVisibleLink(TdxBarItemControl*) const { return false; }

  TdxBarItemControl* GetControlAtPos(TPoint ClientPt) const;
  bool HasControl(TdxBarItemControl* AControl) const;
  TRect GetLinkRect(TdxBarItemControl* AControl) const;
  TRect GetScreenLinkRect(TdxBarItemControl* AControl);
  bool SendKeyToSelected(WORD Key);
  // The next (or previous) selectable control after the selected one, with
  // wrap-around; nil when none.
  TdxBarItemControl* NextSelectable(TdxBarItemControl* AFrom, bool Forward) const;
  TdxBarItemControl* FirstSelectable() const;
  // Draws one control (or invalidates it while the repaint flag is set).
  virtual void DrawItem(TdxBarItemControl* AControl);
  void SetInvalidateRepaint(bool Value) { FInvalidateRepaint = Value; }
  bool IsLocked() const { return FLocked; }

  Integer TextSize() const { return FTextSize; }
  Integer Indent() const { return FIndent; }
  Integer EditHeight() const { return FEditHeight; }
  Integer ComboButtonWidth() const { return FComboButtonWidth; }
  Integer ButtonSize() const;  // a glyph button's extent: 16 plus its frame

  // The item control whose press is being tracked with the mouse captured.
  TdxBarItemControl* PressedControl() const { return FPressedControl; }

protected:
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void AdjustSize() override {}

  virtual void CreateControls();
  virtual void DestroyControls();
  virtual void CalcDrawingConsts();
  // Places every shown link's rectangle; descendants decide where.
  virtual void CalcLayout() {}
  // Paints the frame, grip or caption around the items.
  virtual void PaintFrame() {}
  // Paints a step of an opening animation instead of the window; false
  // when the window is not animating.
  virtual bool PaintAnimationStep() { return false; }
  virtual void SelectionChanged(TdxBarItemControl* OldControl);
  virtual void MouseLeft();
  virtual void KeyDownMsg(WORD Key);
  // A press on the window outside every item (grip, caption, empty room).
  virtual void EmptyAreaMouseDown(TPoint) {}
  virtual void LButtonDblClk(TPoint ClientPt);
  void FillItemBackground(const TRect& R);

  TdxBarManager* FBarManager = nullptr;  // not owned
  TdxBarItemLinks* FItemLinks = nullptr;  // the owner of this window
  TdxBarItemControl* FSelectedControl = nullptr;
  TdxBarItemControl* FPressedControl = nullptr;
  TCustomdxBarControl* FChildBar = nullptr;
  TCustomdxBarControl* FParentBar = nullptr;
  TCustomdxBarControl* FOwnerBar = nullptr;
  TCustomdxBarControl* FPrevActive = nullptr;
  TRect FOwnerRect;
  bool FActive = false;
  bool FLocked = false;
  bool FInvalidateRepaint = false;
  bool FIgnoreMouseClick = false;
  bool FTrackingLeave = false;
  bool FRecalcPosted = false;
  Integer FTextSize = 19;
  Integer FIndent = 4;
  Integer FEditHeight = 19;
  Integer FComboButtonWidth = 11;
  TPoint FLastCursorPos{-1, -1};
  std::unique_ptr<TdxBarWindowPaint> FPaint;
};

// A docked or floating toolbar (or the main menu bar) of one TdxBar.
class TdxBarControl : public TCustomdxBarControl {
  SX_CLASS(TdxBarControl, TCustomdxBarControl)
public:
  TdxBarControl(TdxBarManager* AManager, TdxBar* ABar);
  ~TdxBarControl() override;
  TdxBar* Bar() const { return FBar; }
  TdxDockControl* DockControl() const { return FDockControl; }
  TdxBarDockingStyle DockingStyle() const { return FDockingStyle; }
  bool IsVertical() const override { return FDockingStyle == dsLeft || FDockingStyle == dsRight; }
  // A vertical bar whose items turn (the bar's RotateWhenVertical): they
  // paint as vertical items with captions running down. Without the turn
  // a vertical bar stacks its items as they are.
  bool IsRotated() const;
  Integer PaintType() const override { return IsRotated() ? 2 : 0; }
  bool IsLastVisibleLink(TdxBarItemControl* AControl) const override;

  // Takes a new site (or floats for dsNone) and makes the window of that kind.
  void ChangeDocking(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl);
  // Makes and shows the window of a visible floating bar.
  void ShowFloatingWindow();
  // The outer size the window needs for a style: all items on one line.
  TSize GetBarSize(TdxBarDockingStyle AStyle);
  // The extent across a line of items for a length along it.
  Integer CalcSizeAcross(Integer AAlong);
  Integer GetMaxAlong();
  Integer GetMinAlong();
  // The move zone in client coordinates: the grip of a docked bar, the
  // caption band of a floating one.
  TRect GetDragGripRect() const;
  bool Dragging() const { return FDragging; }
  void SetDragging(bool Value) { FDragging = Value; }
  bool MenusOpenOnSelect() const { return FMenusOpenOnSelect; }
  void SetMenusOpenOnSelect(bool Value) { FMenusOpenOnSelect = Value; }
  void EnterMenuMode(TdxBarItemControl* AControl);
  void ExitMenuMode();
  void SetActive(bool Value) override;
  void SelectControl(TdxBarItemControl* AControl) override;
  // Writes where the window is into the bar (docked or floating place).
  void StoreBarPosition();
  // Lays out the rectangles for the current window size.
  void CalcLayout() override;
  void Recalculate() override;
  bool Truncated() const { return FTruncated; }
  void SetTruncated(bool Value) { FTruncated = Value; }
  // The mark (More Buttons) of a docked bar whose items do not all fit, or
  // of every docked bar that allows quick customizing where the look has
  // a mark; pressing it opens the quick-customization menu (the hidden
  // items and "&Add or Remove Buttons"), or without customizing support a
  // menu of the hidden items.
  bool IsMarkVisible() const;
  // The mark shows whether or not every item fits (and the bar's size
  // leaves it room).
  bool ReservesMark() const;
  TRect MarkRect() const;
  static constexpr Integer MarkSize = 11;  // along the bar
  Integer MarkState() const { return FMarkState; }
  void ShowHiddenItems();
  // The links of that menu while it is open; nil otherwise.
  TdxBarItemLinks* HiddenItemLinks() const { return FHiddenLinks.get(); }
  // The quick-customization menu while it is open; nil otherwise.
  TdxBarPopupMenu* QuickPopup() const { return FQuickPopup; }
  // The press offset inside the window when a drag starts.
  TPoint DragPressOffset() const { return FPressOffset; }

  static constexpr Integer GripSize = 9;        // docked grip in front of the items
  static constexpr Integer CaptionHeight = 16;  // floating caption band (a small caption)
  static constexpr Integer BorderSize = 2;      // around the items

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void PaintFrame() override;
  void KeyDownMsg(WORD Key) override;
  void EmptyAreaMouseDown(TPoint ClientPt) override;
  void LButtonDblClk(TPoint ClientPt) override;
  void MouseLeft() override;

private:
  friend class TdxDockControl;
  TRect ItemsRect() const;
  // Lays the shown links out along lines of the given length; returns the
  // extent across that all lines take.
  Integer LayoutLinks(Integer AAlong, bool AApply);
  TdxBar* FBar = nullptr;
  TdxDockControl* FDockControl = nullptr;
  TdxBarDockingStyle FDockingStyle = dsNone;
  HWND FSavedFocus = nullptr;
  bool FDragging = false;
  bool FMenusOpenOnSelect = false;
  bool FTruncated = false;
  bool FMenuMode = false;
  TPoint FPressOffset;
  Integer FMarkState = 0;
  std::unique_ptr<TdxBarItemLinks> FHiddenLinks;
  TdxBarPopupMenu* FQuickPopup = nullptr;  // the quick-customization menu while open
  void HiddenItemsClosed(TObject*);
};

// An open sub-menu or popup menu.
class TdxBarSubMenuControl : public TCustomdxBarControl {
  SX_CLASS(TdxBarSubMenuControl, TCustomdxBarControl)
public:
  explicit TdxBarSubMenuControl(TdxBarManager* AManager);
  ~TdxBarSubMenuControl() override;
  bool IsPopup() const override { return true; }
  bool IsVertical() const override { return true; }
  Integer PaintType() const override { return 1; }

  // Sizes the window, places it at Left/Top (flipped to stay on the work
  // area), shows it without activation and makes it the active window.
  void Show();
  // Closes the menu: the window is freed by its links when they can do so
  // safely (a posted close), the links forget it at once.
  void CloseAndFree();
  TdxBarItemControl* OwnerControl() const { return FOwnerControl; }
  void SetOwnerControl(TdxBarItemControl* Value) { FOwnerControl = Value; }
  Integer OwnerWidth = 0, OwnerHeight = 0;
  bool Animate = false;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnPopup;
  void CalcLayout() override;
  void Recalculate() override;
  void HideAll() override;
  // Container items (lists and the like) show their generated entries while
  // the menu is open; the links are as before once it closes.
  void CreateControls() override;
  void DestroyControls() override;
  bool Closed() const { return FClosed; }
  // The opening animation (unfold or slide), run on a timer of the GUI
  // thread; input to the menu and closing it finish it at once.
  bool Animating() const { return FAnimKind != maNone; }
  void FinishAnimation();

  static constexpr Integer FrameSize = 3;
  static constexpr UINT_PTR AnimationTimer = 1;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintFrame() override;
  bool PaintAnimationStep() override;
  void KeyDownMsg(WORD Key) override;
  void WndProc(TMessage& Message) override;

private:
  TSize CalcSize();
  void UpdateShadow();
  // The animation kind this showing takes (random resolved), or maNone.
  TdxBarMenuAnimations AnimationKindToUse() const;
  bool StartAnimation(TdxBarMenuAnimations AKind, bool AnchorRight, bool AnchorBottom);
  void AnimationStep();
  TRect AnimationRect(Integer AStep) const;
  std::unique_ptr<TdxBarShadow> FShadow;
  std::unique_ptr<TBitmap> FAnimImage;  // the whole menu, painted once
  TdxBarMenuAnimations FAnimKind = maNone;
  TRect FAnimFinal;
  Integer FAnimStep = 0, FAnimSize = 8, FAnimSteps = 0, FAnimD = 0;
  bool FAnimRight = false, FAnimBottom = false;
  TdxBarItemControl* FOwnerControl = nullptr;
  bool FClosed = false;
  void ExpandContainers();
  void CollapseContainers();
  std::vector<TdxBarItemLink*> FContainerLinks;  // the links expanded, in link order
  bool FExpanding = false;
};

class TdxDockCol;
// One row of a dock site: its columns, in order (owned).
class TdxDockRow : public TObject {
public:
  explicit TdxDockRow(TdxDockControl* ADockControl) : FDockControl(ADockControl) {}
  ~TdxDockRow() override;
  TdxDockControl* DockControl() const { return FDockControl; }
  Integer ColCount() const { return Integer(FCols.size()); }
  TdxDockCol* Col(Integer Index) const { return FCols[std::size_t(Index)].get(); }
  TdxDockCol* InsertCol(Integer Index, TdxBarControl* ABarControl);
  void RemoveCol(TdxDockCol* ACol);
  Integer IndexOf(const TdxDockCol* ACol) const;
  Integer Thickness = 0;  // extent across, from the last layout
  Integer Offset = 0;     // start across, from the last layout

private:
  TdxDockControl* FDockControl = nullptr;
  std::vector<std::unique_ptr<TdxDockCol>> FCols;
};
// One bar window's place in a row.
class TdxDockCol : public TObject {
public:
  TdxDockCol(TdxDockRow* ARow, TdxBarControl* ABarControl) : FRow(ARow), FBarControl(ABarControl) {}
  TdxDockRow* Row() const { return FRow; }
  TdxBarControl* BarControl() const { return FBarControl; }
  Integer Pos = 0;  // stored position along the row, in site coordinates

private:
  TdxDockRow* FRow = nullptr;
  TdxBarControl* FBarControl = nullptr;
};

// A dock site: one of the form's four edges, or a placed TdxBarDockControl.
class TdxDockControl : public TCustomControl {
  SX_CLASS(TdxDockControl, TCustomControl)
public:
  TdxDockControl(TComponent* AOwner, TdxBarManager* AManager, TdxBarDockingStyle AStyle);
  ~TdxDockControl() override;
  TdxBarDockingStyle DockingStyle() const { return FDockingStyle; }
  TdxBarManager* BarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);
  bool IsVertical() const { return FDockingStyle == dsLeft || FDockingStyle == dsRight; }

  Integer RowCount() const { return Integer(FRows.size()); }
  TdxDockRow* Row(Integer Index) const { return FRows[std::size_t(Index)].get(); }
  TdxDockCol* FindCol(TdxBarControl* ABarControl) const;
  Integer RowIndexOf(TdxBarControl* ABarControl) const;
  // Docks a window at a screen point (or, for a window being shown from its
  // bar's stored place, at the bar's row).
  void DockBar(TdxBarControl* ABarControl, TPoint ScreenPt, bool ALayout, bool AFromStoredPlace);
  void UndockBar(TdxBarControl* ABarControl, bool ALayout);
  void MoveBar(TdxBarControl* ABarControl, TPoint ScreenPt);
  // Lays the rows out and sizes the site to them.
  void UpdateDock();
  // The row a screen point falls in, and whether it asks for a new row.
  void RowIndexAt(TPoint ScreenPt, Integer& ARow, bool& ANewRow) const;
  // The site grown by the docking zone, in screen coordinates.
  TRect GetDockZoneRect();
  Integer GetRowsSize() const;
  void UpdateColPositions();
  bool CanDock(TdxBar*) const { return FAllowDocking; }
  bool AllowDocking() const { return FAllowDocking; }
  void SetAllowDocking(bool Value) { FAllowDocking = Value; }

  static constexpr Integer DockZone = 23;

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void AdjustSize() override {}

  TdxBarManager* FBarManager = nullptr;
  TdxBarDockingStyle FDockingStyle = dsTop;

private:
  void CalcLayout();
  Integer ColIndexAt(TdxDockRow* ARow, TPoint SitePt) const;
  std::vector<std::unique_ptr<TdxDockRow>> FRows;
  bool FAllowDocking = true;
  bool FUpdating = false;
  Integer FLaidOutAlong = -1;  // the length along the rows at the last WM_SIZE
};

// A dock site placed on the form by its designer.
class TdxBarDockControl : public TdxDockControl {
  SX_CLASS(TdxBarDockControl, TdxDockControl)
public:
  explicit TdxBarDockControl(TComponent* AOwner);
  static void Published(TPublished<TdxBarDockControl>& P);
  void SetBarManagerProp(TdxBarManager* Value) { SetBarManager(Value); }
  TdxBarManager* GetBarManagerProp() const { return FBarManager; }
  // The placed site's alignment decides its docking style.
  void SetDockAlign(TAlign Value);
};

using TdxBarPaintSubMenuBarEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;

// A context menu made of item links; owned by the form.
class TdxBarPopupMenu : public TComponent {
  SX_CLASS(TdxBarPopupMenu, TComponent)
public:
  // Raises Exception when no bar manager exists.
  explicit TdxBarPopupMenu(TComponent* AOwner);
  ~TdxBarPopupMenu() override;
  static void Published(TPublished<TdxBarPopupMenu>& P);
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
  TdxBarItemLinks* GetItemLinksProp() const { return FItemLinks.get(); }
  void SetItemLinksProp(TdxBarItemLinks* Value);
  TdxBarManager* BarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);
  TdxBarSubMenuControl* GetBarControl() const;

  // Shows the menu at a screen point and, unless it drops down from a
  // button, waits until it closes.
  void PopupAt(Integer X, Integer Y);
  void PopupAtCursor();
  void PopupFromItem(Integer X, Integer Y, Integer AOwnerWidth, Integer AOwnerHeight, bool AAnimate,
                     const TRect* AExclude, bool ADropDown);
  bool FindShortCut(TShortCut AShortCut);
  bool PoppedUp() const { return FPoppedUp; }
  bool IsDropDown() const { return FDropDown; }

  TNotifyEvent OnCloseUp;
  TNotifyEvent OnPopup;
  TdxBarPaintSubMenuBarEvent OnPaintBar;

  void Loaded() override;

private:
  void DoCloseUp(TObject*);
  void DoPopup(TObject*);
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  TdxBarManager* FBarManager = nullptr;
  bool FDropDown = false;
  bool FPoppedUp = false;
  bool FAnimate = true;
  TRect FExclude;
  bool FHasExclude = false;
  Integer FOwnerWidth = 0, FOwnerHeight = 0;
};

using TdxBarPopupMenuLinkActionEvent =
    TEvent<void(TdxBarPopupMenuLink* Sender, Integer& X, Integer& Y, bool ClickedByMouse, bool& AllowPopup)>;

// Binds a popup menu to a control of the form.
class TdxBarPopupMenuLink : public TCollectionItem {
  SX_CLASS(TdxBarPopupMenuLink, TCollectionItem)
public:
  explicit TdxBarPopupMenuLink(TCollection* ACollection);
  static void Published(TPublished<TdxBarPopupMenuLink>& P);
  void Assign(TPersistent* Source) override;
  TWinControl* GetControl() const { return FControl; }
  // A control on a form of another manager is stored as nil.
  void SetControl(TWinControl* Value);
  TdxBarPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TdxBarPopupMenu* Value) { FPopupMenu = Value; }
  bool GetProcessChildren() const { return FProcessChildren; }
  void SetProcessChildren(bool Value) { FProcessChildren = Value; }
  TdxBarPopupMenuLinkActionEvent OnAction;

private:
  friend class TdxBarPopupMenuLinks;
  TdxBarManager* Manager() const;
  TWinControl* FControl = nullptr;
  TdxBarPopupMenu* FPopupMenu = nullptr;
  bool FProcessChildren = true;
};

class TdxBarPopupMenuLinks : public TCollection {
  SX_CLASS(TdxBarPopupMenuLinks, TCollection)
public:
  explicit TdxBarPopupMenuLinks(TdxBarManager* AManager);
  TdxBarManager* BarManager() const { return FBarManager; }
  TdxBarPopupMenuLink* GetItem(Integer Index) const;
  TdxBarPopupMenuLink* Add();
  // A context menu for a control at a screen point (X -1 for the keyboard);
  // true when a link handled it.
  bool ProcessContextMenu(TWinControl* AControl, TPoint ScreenPt);
  bool ProcessShortCut(TWinControl* AControl, TShortCut AShortCut);
  // Clears every link's reference to a component that goes away.
  void ComponentRemoved(TComponent* AComponent);

protected:
  TPersistent* GetOwner() override;

private:
  template <class F>
  bool Walk(TWinControl* AControl, F Try);
  TdxBarManager* FBarManager;
};

// The one tooltip window of the process.
class TdxBarHintWindow : public THintWindow {
  SX_CLASS(TdxBarHintWindow, THintWindow)
public:
  explicit TdxBarHintWindow(TComponent* AOwner);
  // Shows Text with its top-left corner at a screen point.
  void ActivateHintAt(TPoint ScreenPt, const AnsiString& Text, TdxBarManager* AManager);
};

class TdxBarShadow;
// One strip of a shadow: a window without input, just below its bar window
// in the z-order, filled with the button-shadow colour.
class TdxBarShadowPart : public TCustomControl {
  SX_CLASS(TdxBarShadowPart, TCustomControl)
public:
  TdxBarShadowPart(TdxBarShadow* AShadow, const TRect& ABounds);
  void ShowPart();
  void HidePart();

protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void AdjustSize() override {}

private:
  TdxBarShadow* FShadow;
};

// The shadow a menu casts: strips right of and below the window (and the
// item it dropped from, as one outline). Without layered windows the
// strips are solid, two pixels wide.
class TdxBarShadow : public TObject {
public:
  explicit TdxBarShadow(TCustomdxBarControl* AOwner) : FOwner(AOwner) {}
  ~TdxBarShadow() override;
  // The outline for a window rectangle R2 dropped from an item R1 (empty
  // when none), in screen coordinates; the strips follow when they exist.
  void SetOwnerBounds(const TRect& R1, const TRect& R2);
  // The rectangles of the outline's parts after SetOwnerBounds.
  const std::vector<TRect>& Parts() const { return FParts; }
  static Integer ShadowSize() { return 2; }
  TCustomdxBarControl* Owner() const { return FOwner; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Rebuilds the strip windows from the outline.
  void Refresh();

private:
  TCustomdxBarControl* FOwner;
  std::vector<TRect> FParts;
  // Which parts are usable: a part with a faded end smaller than the
  // shadow in either direction is never shown.
  std::vector<bool> FUsable;
  std::vector<std::unique_ptr<TdxBarShadowPart>> FWindows;
  bool FVisible = false;
};

// --- Unit services of the window layer ---------------------------------------

// Every live bar window; a window is alive while it is listed.
bool IsLiveBarControl(const TCustomdxBarControl* ABar);
// The innermost window in menu or keyboard mode; nil when none.
TCustomdxBarControl* GetActiveBarControl();
// The built-in dock site of a style, made on first use.
TdxDockControl* dxBarBuiltInDockControl(TdxBarManager* AManager, TdxBarDockingStyle AStyle);
// Shows or hides a bar's window (TdxBar::SetVisible and the docking changes).
void dxBarUpdateBarWindow(TdxBar* ABar);
// Moves a shown bar's window to the docking style and site the bar now
// names (a new row at the end of the site, or floating at its stored place).
void dxBarRedockBarWindow(TdxBar* ABar);
// The popup-menu links of a manager (made on first use).
TdxBarPopupMenuLinks* dxBarPopupMenuLinks(TdxBarManager* AManager);
// Hooks and the hint window follow the manager list.
void dxBarManagerAdded(TdxBarManager* AManager);
void dxBarManagerRemoved(TdxBarManager* AManager);
TdxBarHintWindow* dxBarHintWindow();
// Requests (Show) or cancels the hint of a manager; Text replaces the
// selected item's hint when not empty.
void dxBarUpdateHint(TdxBarManager* AManager, bool Show, const AnsiString& Text);
void dxBarShowHintNow(TdxBarManager* AManager);
// The drag of a toolbar by its grip or caption: a modal mouse loop.
void dxBarDragBarControl(TdxBarControl* ABarControl);
// One step of that drag at a screen point (also used by tests).
void dxBarMoveBarControl(TdxBarControl* ABarControl, TPoint ScreenPt);
// Where a bar dropped at a screen point docks: dsNone to float.
TdxBarDockingStyle dxBarFindDockSite(TdxBar* ABar, TPoint ScreenPt, TdxDockControl*& ADockControl);
// The form messages the manager reacts to (from the call-window hook).
void dxBarHandleFormMessage(TdxBarManager* AManager, UINT Msg, WPARAM WParam, LPARAM LParam);
// The window layer's item-control classes in the item-class registry.
void RegisterBarItemControls();
// The customizing unit takes the bar windows' mouse presses first: while
// the manager customizes, a left press (or double click) on a link starts
// dragging it and a right press opens the customizing popup; outside
// customizing a right press on a toolbar opens the toolbars popup. The hook answers true when
// it took the press.
using TdxBarCustomizeMouseHook = bool (*)(TCustomdxBarControl* ABar, UINT AMsg, TPoint AClientPt);
void dxBarSetCustomizeMouseHook(TdxBarCustomizeMouseHook AHook);

