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
// FIXME: drag images and the middle-button scrolling anchor are still to
// come.
#pragma once
#include <memory>
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
};
