// cxSplitter.h — the splitter: resizes the neighbouring control it sticks
// to by dragging (an inverted line follows the mouse, or the control
// follows live), and collapses that control to nothing and brings it back
// with one click on its hot zone, a small button in its middle drawn by a
// pluggable hot-zone style (cxHotZoneStyles.h).
#pragma once
#include <memory>
#include "controls/base/cxControls.h"
#include "controls/painters/cxHotZoneStyles.h"

SX_ENUM(TcxSplitterAlign, salBottom, salLeft, salRight, salTop)

using TcxCanResizeEvent = TEvent<void(TObject* Sender, int& NewSize, bool& Accept)>;
using TBeforeOpenHotZoneEvent = TEvent<void(TObject* Sender, int& NewSize, bool& AllowOpen)>;
using TBeforeCloseHotZoneEvent = TEvent<void(TObject* Sender, bool& AllowClose)>;

class TcxCustomSplitter : public TcxControl, public IcxHotZoneStyleOwner {
  SX_CLASS(TcxCustomSplitter, TcxControl)
public:
  explicit TcxCustomSplitter(TComponent* AOwner);
  ~TcxCustomSplitter() override;
  static void Published(TPublished<TcxCustomSplitter>& P);

  TcxSplitterAlign GetAlignSplitter() const { return FAlignSplitter; }
  void SetAlignSplitter(TcxSplitterAlign Value);
  bool GetAllowHotZoneDrag() const { return FAllowHotZoneDrag; }
  void SetAllowHotZoneDrag(bool Value);
  bool GetAutoPosition() const { return FAutoPosition; }
  void SetAutoPosition(bool Value) { FAutoPosition = Value; }
  int GetDragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(int Value) { FDragThreshold = Value < 1 ? 1 : Value; }
  bool GetNativeBackground() const { return FNativeBackground; }
  void SetNativeBackground(bool Value);
  int GetPositionAfterOpen() const { return FPositionAfterOpen; }
  void SetPositionAfterOpen(int Value) { FPositionAfterOpen = Value; }
  bool GetAutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  bool GetInvertDirection() const { return FInvertDirection; }
  void SetInvertDirection(bool Value);
  int GetMinSize() const { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value < 1 ? 1 : Value; }
  bool GetResizeUpdate() const { return FResizeUpdate; }
  void SetResizeUpdate(bool Value) { FResizeUpdate = Value; }
  bool GetResizeIgnoreSnap() const { return FResizeIgnoreSnap; }
  void SetResizeIgnoreSnap(bool Value) { FResizeIgnoreSnap = Value; }
  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* Value);
  AnsiString GetHotZoneClassName() const { return FHotZone.GetClassName(); }
  void SetHotZoneClassName(const AnsiString& Value);
  TcxHotZoneStyle* GetHotZone() const { return FHotZone.Get(); }
  // Takes the style over (the previous one is freed).
  void SetHotZone(TcxHotZoneStyle* Value);

  TNotifyEvent HotZoneEvents;
  TcxCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TBeforeOpenHotZoneEvent OnBeforeOpen;
  TNotifyEvent OnAfterOpen;
  TBeforeCloseHotZoneEvent OnBeforeClose;
  TNotifyEvent OnAfterClose;

  bool IsClosed() const { return FState == 1; }
  // 0 none, 1 sizing, 2 pressed on the hot zone.
  int DragState() const { return FDragState; }
  bool IsLineVisible() const { return FLineVisible; }
  int SplitOffset() const { return FSplitOffset; }
  void OpenSplitter();
  void CloseSplitter();
  // The effective minimum: MinSize or the control's own minimum, the larger.
  int GetMinControlSize() const;

  // IcxHotZoneStyleOwner
  void HotZoneStyleChanged() override { Invalidate(); }
  int GetArrowDirection() const override;
  TColor GetHotZoneBackColor() const override { return GetColor(); }

protected:
  virtual bool DoCanResize(int& NewSize);
  virtual bool CanResize(int& NewSize);
  virtual void DrawLine(bool AEntire, int ADelta, bool AForward);
  virtual void DrawHotZone();
  virtual void StopSizing();
  virtual int GetMinThickness() const;
  virtual int GetMaxThickness() const;
  virtual void DoBeforeOpen(int& NewSize, bool& AllowOpen);
  virtual void DoAfterOpen();
  virtual void DoBeforeClose(bool& AllowClose);
  virtual void DoAfterClose();
  virtual void DoMoved();
  virtual void EndSizing(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool UpdateHotZoneState(int X, int Y);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  bool MayFocusOnClick() const override { return false; }
  bool UsesScrollBars() const override { return false; }
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void NotifyMouseLeave(TControl* AControl) override;
  TCursor GetCursorAt(int X, int Y) const override;

private:
  void FindControl();
  void UpdateConstraints();
  void CalculateMaxSize();
  int SplitSize(int X, int Y, bool AClamp);
  void StartSizing();
  void ApplySize();
  void RecordReopenSize();
  int ControlSize() const;
  void SizingKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  TRect HotZoneRect() const;

  TcxSplitterAlign FAlignSplitter = salLeft;
  bool FAllowHotZoneDrag = true, FAutoPosition = true, FNativeBackground = true, FAutoSnap = false;
  bool FInvertDirection = false, FResizeUpdate = false, FResizeIgnoreSnap = false;
  int FDragThreshold = 3, FPositionAfterOpen = 30, FMinSize = 30;
  TControl* FControl = nullptr;
  TcxHotZoneStyleHolder FHotZone{this};

  int FState = 0;  // 0 open, 1 closed
  int FNewSize = 30, FAppliedSize = -1, FReopenSize = 30, FMaxSize = 0;
  int FDragState = 0;
  int FMouseFlags = 0;  // 1 left button down, 2 pointer over the hot zone
  TPoint FPressPoint{-1, -1}, FDownPoint{0, 0};
  int FSplitOffset = 0;
  bool FLineVisible = false;
  HDC FScreenDC = nullptr;
  HBRUSH FDragBrush = nullptr, FPrevBrush = nullptr;
  HBITMAP FPatternBitmap = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TKeyEvent FSavedKeyDown;
  bool FSavedShowHint = false, FSavedParentShowHint = true;
};

class TcxSplitter : public TcxCustomSplitter {
  SX_CLASS(TcxSplitter, TcxCustomSplitter)
public:
  using TcxCustomSplitter::TcxCustomSplitter;
};

void RegisterSplitterClasses();
