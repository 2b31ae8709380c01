// DropTarget.h — windowed controls of a form as OLE drop targets.
//
// TCustomDropTarget implements IDropTarget for the controls registered
// with it: it chooses the drop effect from the keys and the allowed drag
// types, scrolls the control under the cursor while the cursor rests near
// its edge, fires an event at each stage and reads the dropped data.
// TCustomDropMultiTarget adds data formats: it accepts a drag when one of
// them can be fed by the data object and reads into every one that can.
//
// Registration rides on an invisible proxy child window inside each
// registered control: its window registers the control's window when it is
// made and revokes it when it goes, so a control whose window is made again
// stays a drop target. The target's references are counted by nobody (see
// TInterfacedComponent): the component is freed by its owner, which first
// unregisters every control.
//
// Drag image: this process has no shell drag-image object (no class is
// registered) and drags no image list, so no drag image is shown; ShowImage
// is kept for the form description.
#pragma once
#include <memory>
#include <vector>

#include "app/dragdrop/DragDrop.h"
#include "app/dragdrop/DragDropFormats.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ExtCtrls.h"

enum class TScrolDirection { sdUp, sdDown, sdLeft, sdRight };
using TScrolDirections = TSet<TScrolDirection>;

// Effect: DROPEFFECT bits (the scroll bit included while over).
using TDropTargetEvent = TEvent<void(TObject* Sender, TShiftState ShiftState, TPoint APoint, Integer& Effect)>;
using TDropTargetScrollEvent =
    TEvent<void(TObject* Sender, TPoint Point, TScrolDirections& Scroll, Integer& Interval)>;
using TAcceptFormatEvent = TEvent<void(TObject* Sender, TCustomDataFormat* DataFormat, bool& Accept)>;

// The invisible child whose window carries its parent's registration.
class TWinControlProxy : public TWinControl {
  SX_CLASS(TWinControlProxy, TWinControl)
public:
  TWinControlProxy(TComponent* AOwner, IDropTarget* Target);
  ~TWinControlProxy() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

private:
  IDropTarget* FTarget;
  HWND FRegistered = nullptr;
};

class TCustomDropTarget : public TDragDropComponent, public IDropTarget {
  SX_CLASS(TCustomDropTarget, TDragDropComponent)
public:
  // The delay before scrolling starts and the pace after it.
  static constexpr Cardinal ScrollDelay = 50;
  static constexpr Cardinal ScrollInterval = 50;

  explicit TCustomDropTarget(TComponent* AOwner);
  ~TCustomDropTarget() override;
  static void Published(TPublished<TCustomDropTarget>& P);

  // IDropTarget (screen points; MK_ key state).
  HRESULT DragEnter(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) override;
  HRESULT DragOver(DWORD KeyState, TPoint Pt, DWORD* Effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) override;

  // Registers a windowed control (single-target mode: it replaces the
  // others). Raises EOleSysError when the system refuses the registration.
  void Register(TWinControl* Control);
  // Nil: every registered control, last first.
  void Unregister(TWinControl* Control = nullptr);
  // The drag's current target, else the first registered control.
  TWinControl* GetTarget() const;
  void SetTarget(TWinControl* Control);
  Integer RegisteredCount() const { return Integer(FControls.size()); }
  TWinControl* Registered(Integer Index) const { return FControls.at(std::size_t(Index)); }

  // Reads the clipboard's data as a drop at (0, 0); the effect done.
  DWORD PasteFromClipboard();
  // From the clipboard: a paste; from an OLE data object: a drop of it.
  void Assign(TPersistent* Source) override;

  TDragTypes GetDragTypes() const { return FDragTypes; }
  void SetDragTypes(TDragTypes Value) { FDragTypes = Value; }
  bool GetGetDataOnEnter() const { return FGetDataOnEnter; }
  void SetGetDataOnEnter(bool Value) { FGetDataOnEnter = Value; }
  bool GetShowImage() const { return FShowImage; }
  void SetShowImage(bool Value) { FShowImage = Value; }
  bool GetMultiTarget() const { return FMultiTarget; }
  void SetMultiTarget(bool Value) { FMultiTarget = Value; }
  bool GetAutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }
  bool GetOptimizedMove() const { return FOptimizedMove; }
  void SetOptimizedMove(bool Value) { FOptimizedMove = Value; }
  // No source of this process offers the asynchronous-operation interface,
  // so the data is always read on the main thread.
  bool GetAllowAsyncTransfer() const { return FAllowAsyncTransfer; }
  void SetAllowAsyncTransfer(bool Value) { FAllowAsyncTransfer = Value; }

  TDropTargetEvent OnEnter, OnDragOver, OnDrop, OnGetDropEffect;
  TNotifyEvent OnLeave;
  TDropTargetScrollEvent OnScroll;

  // The auto-scroll timer (owned).
  TTimer* ScrollTimer() const { return FScrollTimer; }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual void DoEnter(TShiftState Shift, TPoint Point, DWORD& Effect);
  virtual void DoDragOver(TShiftState Shift, TPoint Point, DWORD& Effect);
  // Fires OnDrop, then reports the effect to the source (a move as a copy
  // with OptimizedMove).
  virtual void DoDrop(TShiftState Shift, TPoint Point, DWORD& Effect);
  virtual void DoLeave();
  virtual void DropPasted(DWORD& Effect);
  virtual void DoScroll(TPoint Point, TScrolDirections& Scroll, Integer& Interval);
  virtual bool GetData(DWORD Effect);
  virtual bool DoGetData() = 0;
  virtual void ClearData() = 0;
  virtual DWORD GetValidDropEffect(TShiftState Shift, TPoint Point, DWORD Requested);
  // The source's "Preferred DropEffect" (0 when it states none).
  virtual DWORD GetPreferredDropEffect();
  virtual bool SetPerformedDropEffect(DWORD Effect);
  virtual bool SetPasteSucceeded(DWORD Effect);
  virtual TWinControl* FindTarget(TPoint Screen);
  virtual bool HasValidFormats(IDataObject* DataObject) = 0;

  IDataObject* DataObject() const { return FDataObject.Get(); }

private:
  void ScrollTimerTick(TObject* Sender);
  void ReleaseDataObject() { FDataObject.Reset(); }
  // Gone is set for a control in its destruction (only its pointer is used).
  void Forget(TComponent* Control, bool Gone);

  TIntfPtr<IDataObject> FDataObject;
  std::vector<TWinControl*> FControls;
  // The proxy made for each registered control (owned by this component).
  std::vector<std::pair<TWinControl*, TWinControlProxy*>> FProxies;
  TWinControl* FTarget = nullptr;  // the control under the drag
  TPoint FLastPoint;               // client coordinates of FTarget
  int FScrollBars = 0;             // horizontal 1, vertical 2
  TRect FNoScrollZone;
  TTimer* FScrollTimer;
  TDragTypes FDragTypes;
  bool FGetDataOnEnter = false;
  bool FShowImage = true;
  bool FMultiTarget = false;
  bool FAutoScroll = true;
  bool FOptimizedMove = false;
  bool FAllowAsyncTransfer = false;
};

class TCustomDropMultiTarget : public TCustomDropTarget {
  SX_CLASS(TCustomDropMultiTarget, TCustomDropTarget)
public:
  explicit TCustomDropMultiTarget(TComponent* AOwner);
  ~TCustomDropMultiTarget() override;
  std::optional<TConversionScope> DataFormatScope() const override { return scTarget; }
  TAcceptFormatEvent OnAcceptFormat;

protected:
  bool HasValidFormats(IDataObject* DataObject) override;
  bool DoGetData() override;
  void ClearData() override;
  virtual void DoAcceptFormat(TCustomDataFormat* DataFormat, bool& Accept);
};
