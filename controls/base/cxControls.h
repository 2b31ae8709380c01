// cxControls.h — TcxControl, the windowed base of the look-and-feel control
// family: an owned look-and-feel object whose painter draws the optional
// border, a canvas wrapper, two scroll bars of its own and the size grip
// between them (shown by a refresh loop that runs until the bars'
// visibility is stable and guards against flip-flopping), wheel scrolling,
// focus on click, wanted-key dialog codes, and mouse enter/leave and focus
// events, and a popup menu that is a TPopupMenu or any component that
// provides a menu (right click, the menu key, and its items' shortcuts).
// Handlers that call out to user code keep a weak link to the control and
// stop touching it once it has been destroyed.
//
// A middle click on a control with a bar shown runs the modal scrolling
// anchor. A control that uses drag images paints them itself
// (PaintDragImage); the class library's drags of the family's controls use
// TcxDragControlObject, whose cursor tells a copy (Ctrl held) from a move.
#pragma once
#include <memory>
#include <vector>
#include "platform/forms/ControlDrag.h"
#include "platform/gdi/ImageList.h"
#include "controls/base/cxClasses.h"
#include "controls/base/cxControlHelpers.h"
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/base/cxScrollBar.h"

class TcxControl;

// One in-control drag-and-drop operation (moving a tab, a column): made on
// first use, freed when the operation ends.
class TcxDragAndDropObject : public TObject {
public:
  explicit TcxDragAndDropObject(TcxControl* AControl) : FControl(AControl) {}
  TcxControl* Control() const { return FControl; }
  TPoint CurMousePos{-1, -1};
  TPoint PrevMousePos{-1, -1};
  bool Dirty() const { return FDirty; }

  void Start();
  void Track(TPoint P, bool& Accepted);
  void Finish(bool Accepted);

protected:
  virtual void DirtyChanged() {}
  virtual TCursor GetDragAndDropCursor(bool Accepted) const { return Accepted ? crDrag : crNoDrop; }
  virtual bool StartsWithoutThreshold() const { return false; }
  virtual void AfterDragAndDrop(bool /*Accepted*/) {}
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(TPoint P, bool& Accepted);
  virtual void EndDragAndDrop(bool /*Accepted*/) { SetDirty(true); }
  void SetDirty(bool Value);

private:
  friend class TcxControl;
  TcxControl* FControl;
  bool FDirty = false;
};

enum TcxDragAndDropState { ddsNone, ddsStarting, ddsInProcess };

// Told of every font change of the controls it listens to.
class IcxFontListener {
public:
  virtual ~IcxFontListener() = default;
  virtual void Changed(TObject* Sender, TFont* AFont) = 0;
};

// A component that belongs to one control of the family (a column, a
// panel): streamed as the control's child. A descendant sets itself up in
// its own constructor.
class TcxControlChildComponent : public TcxComponent {
  SX_CLASS(TcxControlChildComponent, TcxComponent)
public:
  explicit TcxControlChildComponent(TComponent* AOwner);
  // Owned by AControl's owner when AAssignOwner, else by nobody; joins AControl.
  TcxControlChildComponent(TcxControl* AControl, bool AAssignOwner);
  ~TcxControlChildComponent() override;
  TcxControl* Control() const { return FControl; }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  virtual void SetControl(TcxControl* AControl) { FControl = AControl; }
  bool HasParent() override { return FControl != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

private:
  TcxControl* FControl = nullptr;
};

// The class library's drag object for the family's controls: the copy
// cursor while Ctrl is held over a target that accepts; frees itself when
// the drag has finished.
class TcxDragControlObject : public TDragControlObject {
  SX_CLASS(TcxDragControlObject, TDragControlObject)
public:
  using TDragControlObject::TDragControlObject;
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;
};

class TcxDragImageList : public TImageList {
  SX_CLASS(TcxDragImageList, TImageList)
public:
  using TImageList::TImageList;
};

// What a control wants a bar to show; applied to the bar by ApplyData.
struct TcxScrollBarData {
  Integer Min = 0, Max = 100, Position = 0, PageSize = 0;
  Integer SmallChange = 1, LargeChange = 1;
  bool Enabled = true, Visible = false, AllowShow = true, AllowHide = true;
};

class TcxControlScrollBar : public TcxScrollBar {
  SX_CLASS(TcxControlScrollBar, TcxScrollBar)
public:
  explicit TcxControlScrollBar(TcxControl* AOwner, TScrollBarKind AKind);
  TcxScrollBarData Data;
  void ApplyData();

protected:
  virtual void FocusOwnerOnClick();
  void Dispatch(TMessage& Message) override;
};

class TcxSizeGrip : public TCustomControl {
  SX_CLASS(TcxSizeGrip, TCustomControl)
public:
  explicit TcxSizeGrip(TComponent* AOwner);

protected:
  void Paint() override;
};

enum TcxControlBorderStyle { cxcbsNone, cxcbsDefault };
enum TcxWantedKey { wkAll, wkArrows, wkChars, wkTab };
using TcxWantedKeys = unsigned;  // bit (1 << TcxWantedKey)

class TcxControl : public TCustomControl, public IcxLookAndFeelHost {
  SX_CLASS(TcxControl, TCustomControl)
public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;

  TcxControlBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxControlBorderStyle Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TcxLookAndFeel* GetLookAndFeelObject() override { return FLookAndFeel.get(); }
  TcxLookAndFeelPainterClass GetPainter() const { return FLookAndFeel->GetActivePainter(); }
  TcxCanvas* GetCxCanvas() const { return FCanvas.get(); }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetFocusOnClick() const { return FFocusOnClick; }
  void SetFocusOnClick(bool Value) { FFocusOnClick = Value; }
  TcxWantedKeys GetWantedKeys() const { return FWantedKeys; }
  void SetWantedKeys(TcxWantedKeys Value) { FWantedKeys = Value; }

  TcxControlScrollBar* HScrollBar() const { return FHScrollBar; }
  TcxControlScrollBar* VScrollBar() const { return FVScrollBar; }
  TcxSizeGrip* SizeGrip() const { return FSizeGrip; }
  bool HScrollBarShown() const;
  bool VScrollBarShown() const;
  void SetScrollBarParams(TScrollBarKind AKind, Integer AMin, Integer AMax, SmallInt AStep, Integer APage,
                          Integer APosition, bool AAllowShow, bool AAllowHide);
  virtual void RefreshScrollBars();
  void InvalidateArea(const TRect& R, bool AEraseBackground);

  virtual TRect GetPaintBounds() const;
  virtual TRect GetContentBounds() const;
  virtual int GetBorderWidth() const;

  TNotifyEvent OnFocusChanged;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // The control's popup menu: a TPopupMenu or an IcxPopupMenuProvider;
  // any other component is taken as none.
  TComponent* GetPopupMenu() const { return FPopupMenuComponent; }
  void SetPopupMenu(TComponent* Value);
  // Whether the key message is a shortcut of the popup menu of this control
  // or of the nearest enclosing control of this family whose menu has it.
  bool IsPopupMenuShortCut(TMessage& Message);

  // Font listeners hear of every font change, in the order they were added.
  void AddFontListener(IcxFontListener* AListener);
  void RemoveFontListener(IcxFontListener* AListener);
  virtual void AddChildComponent(TcxControlChildComponent* AComponent);
  virtual void RemoveChildComponent(TcxControlChildComponent* AComponent);

  // The pictures of a class-library drag of the control: nil unless the
  // control uses drag images and painted at least one.
  TcxDragImageList* GetDragImages();
  // True while the middle-button scrolling anchor runs.
  bool IsScrollingAnchorActive() const { return FAnchorActive; }

  TcxDragAndDropState DragAndDropState() const { return FDragAndDropState; }
  TcxDragAndDropObject* DragAndDropObject();
  void EndDragAndDrop(bool Accepted);

protected:
  // The in-control drag-and-drop session.
  virtual bool CanStartDropSession(int /*X*/, int /*Y*/) { return false; }
  virtual bool AllowDragStartAt(int, int) const { return FDragAndDropState == ddsNone; }
  virtual std::unique_ptr<TcxDragAndDropObject> CreateDragAndDropObject() {
    return std::make_unique<TcxDragAndDropObject>(this);
  }
  virtual void StartDropSession();
  virtual void ContinueDropSession(TPoint P, bool& Accepted);
  virtual void FinishDropSession(bool Accepted);
  virtual void MouseOperationsCancelled();
  virtual void CompleteMouseAction() { EndDragAndDrop(true); }
  virtual TCursor GetCursorAt(int, int) const { return FSavedCursor; }
  void SetDragAndDropState(TcxDragAndDropState Value);
  // Class-library drags and their pictures.
  virtual bool UsesDragImages() const { return false; }
  virtual TPoint GetDragImageSize() const { return {0, 0}; }
  virtual void PaintDragImage(TcxCanvas* /*ACanvas*/, const TRect& /*R*/) {}
  virtual std::unique_ptr<TcxDragImageList> CreateDragImageList() { return std::make_unique<TcxDragImageList>(nullptr); }
  virtual void FillDragImages(TcxDragImageList* AList);
  virtual bool AcceptDragObject(TDragObject* /*ADragObject*/) { return true; }
  // Nil makes no drag object of the family's own.
  virtual TDragObject* CreateStdDragObject() { return new TcxDragControlObject(this); }
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, Integer X, Integer Y) override;
  virtual void FontModified();
  // Left press: the automatic drag once the mouse leaves the threshold;
  // middle press: the scrolling anchor.
  virtual void HandleMouseButtonDown(TMouseButton AButton, int X, int Y);
  virtual bool AllowAutoDragAt(int, int, TShiftState) const { return true; }
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

  // Hooks for descendants.
  virtual bool UsesScrollBars() const { return true; }
  virtual void ComputeScrollBarParams() {}
  virtual bool CanHideScrollBarWhenFits(TScrollBarKind) const { return false; }
  virtual bool KeepScrollBarsOnTop() const { return true; }
  virtual void ScrollContent(TScrollBarKind, TScrollCode, Integer&) {}
  virtual void PlaceScrollBars();
  virtual TRect GetHScrollBarRect() const;
  virtual TRect GetVScrollBarRect() const;
  virtual TRect GetSizeGripRect() const;
  virtual void BringInternalControlsToFront();
  virtual void LookAndFeelModified(TcxLookAndFeel*, TcxLookAndFeelValues) {}
  virtual void LayoutModified() { RefreshScrollBars(); }
  virtual void FocusModified();
  virtual void NotifyMouseEnter(TControl*);
  virtual void NotifyMouseLeave(TControl*);
  virtual bool MayFocusOnClick() const;
  virtual bool MayFocusOnClickAt(int, int) const { return MayFocusOnClick(); }
  virtual bool MayFocusOnScrollBarClick() const { return MayFocusOnClick(); }
  virtual bool AcceptsMouseWhenUnfocused() const { return false; }
  virtual bool WantsTabStop() const { return true; }
  virtual bool HasFocus() const { return Focused(); }
  virtual bool IsInDesignMode() const { return ComponentState().Contains(csDesigning); }
  // 0 none, 1 horizontal, 2 vertical.
  virtual int GetWheelScrollKind() const { return VScrollBarShown() ? 2 : 0; }
  virtual void PreMouseDown(TMouseButton, TShiftState, Integer, Integer) {}
  // Shows AMenu at the screen point; true when a menu was shown.
  virtual bool PopupContextMenu(TComponent* AMenu, Integer X, Integer Y);
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void Paint() override;
  void Resize() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CreateWnd() override;
  // 1 left, 2 right, 3 up, 4 down.
  void ScrollStep(int ADirection);

  bool FMousePressed = false;
  TPoint FMouseDownPos;

private:
  friend class TcxControlScrollBar;
  void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values);
  void ScrollBarMetricsChanged();
  TcxControlScrollBar* BarOf(TScrollBarKind AKind) const { return AKind == sbHorizontal ? FHScrollBar : FVScrollBar; }

  TcxControlBorderStyle FBorderStyle = cxcbsNone;
  bool FComputingScrollBars = false;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxControlScrollBar* FHScrollBar = nullptr;  // owned as components
  TcxControlScrollBar* FVScrollBar = nullptr;
  TcxSizeGrip* FSizeGrip = nullptr;
  bool FSavedHVisible = false, FSavedVVisible = false;
  bool FOscillating = false;
  bool FInRefresh = false;
  bool FFocusOnClick = true;
  TcxWantedKeys FWantedKeys = 0;
  TScrollStyle FScrollBars = ssBoth;
  std::unique_ptr<TcxDragAndDropObject> FDragAndDropObject;
  TcxDragAndDropState FDragAndDropState = ddsNone;
  TCursor FSavedCursor = crDefault;
  TCursor FSavedScreenCursor = crDefault;
  bool FEndingDragAndDrop = false;
  TComponent* FPopupMenuComponent = nullptr;
  std::vector<IcxFontListener*> FFontListeners;
  std::vector<TcxControlChildComponent*> FChildComponents;
  std::unique_ptr<TcxDragImageList> FDragImages;
  bool FAnchorActive = false;
  void RunScrollingAnchor();
};

// The direction (0 none, 1 left, 2 right, 3 up, 4 down) and speed (0..12)
// the scrolling anchor takes for the screen point P; AAnchor is where the
// anchor stands, ASize the width of its picture, and AScreen the screen's
// extent (the neutral zone spans it along an axis without a bar). Sets
// ALeftZone once P lies outside the neutral zone.
void CalcScrollingAnchorMove(TPoint AAnchor, int ASize, bool AHorzShown, bool AVertShown, const TRect& AScreen,
                             TPoint P, int& ADirection, int& ASpeed, bool& ALeftZone);
// The cursor for a direction of the anchor.
TCursor ScrollingAnchorCursor(int ADirection, bool AHorzShown, bool AVertShown);
