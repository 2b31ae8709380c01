// cxScrollBar.h — a scroll bar drawn entirely by the look-and-feel painter,
// so that it matches the flat, ultra-flat, Office 2003 or native look of the
// controls around it. It behaves as the class library's scroll bar (Kind,
// Min, Max, PageSize, Position, SmallChange, LargeChange, OnChange,
// OnScroll) and adds hot tracking, a proportional thumb, auto-repeat of arrow
// and page presses on a timer, thumb dragging that snaps back when the mouse
// strays too far, and the keyboard (arrows, Page Up/Down, Home, End).
#pragma once
#include <memory>
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/base/cxTimer.h"
#include "platform/forms/ScrollBar.h"
#include "platform/gdi/Bitmap.h"

class TcxScrollBar : public TCustomControl {
  SX_CLASS(TcxScrollBar, TCustomControl)
public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value) { ApplyRange(Value, FMax, FPosition, FPageSize, true); }
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value) { ApplyRange(FMin, Value, FPosition, FPageSize, true); }
  Integer GetPageSize() const { return FPageSize; }
  void SetPageSize(Integer Value) { ApplyRange(FMin, FMax, FPosition, Value, true); }
  Integer GetPosition() const { return FPosition; }
  void SetPosition(Integer Value) { ApplyRange(FMin, FMax, Value, FPageSize, true); }
  Integer GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value) { FSmallChange = Value; }
  Integer GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value) { FLargeChange = Value; }
  bool GetUnlimitedTracking() const { return FUnlimitedTracking; }
  void SetUnlimitedTracking(bool Value) { FUnlimitedTracking = Value; }
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  // Raises EInvalidOperation ("Scrollbar property out of range") when AMax
  // is below AMin or below APageSize; the position is clamped into range.
  void ApplyRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize, bool ARedraw);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // The parts, for hit tests and painting.
  TRect LineUpRect() const { return FLineUpRect; }
  TRect LineDownRect() const { return FLineDownRect; }
  TRect ThumbRect() const { return FThumbRect; }
  TRect PageUpRect() const { return FPageUpRect; }
  TRect PageDownRect() const { return FPageDownRect; }
  TcxScrollBarPart HitTest(TPoint P) const;
  TcxScrollBarPart PressedPart() const { return FPressedPart; }
  TcxScrollBarPart HotPart() const { return FHotPart; }
  TcxLookAndFeelPainterClass Painter() const { return FLookAndFeel->GetPainterForThemeClass(totScrollBar); }

protected:
  virtual void NotifyChange();
  virtual void NotifyScroll(TScrollCode ScrollCode, Integer& ScrollPos);
  virtual void MouseEnterRepaint();
  virtual void MouseLeaveRepaint();
  void Scroll(TScrollCode ScrollCode);
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

private:
  void CalcMinThumbLength();
  void CalcRects();
  void CalcThumb();
  Integer PositionFromThumb() const;
  void StepPart(TcxScrollBarPart APart);
  void EndScrolling();
  void RepeatTimer(TObject*);
  void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues);
  void ThemeChanged();
  TcxButtonState PartState(TcxScrollBarPart APart) const;
  bool IsHorizontal() const { return FKind == sbHorizontal; }
  // Along-the-bar coordinate of a point or rectangle.
  int Along(TPoint P) const { return IsHorizontal() ? P.X : P.Y; }

  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPageSize = 0, FPosition = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
  bool FUnlimitedTracking = false;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  std::unique_ptr<TcxTimer> FTimer;
  TBitmap FBitmap;
  TcxScrollBarPart FPressedPart = sbpNone, FHotPart = sbpNone;
  int FMinThumbLength = 8;
  TRect FLineUpRect, FLineDownRect, FThumbRect, FPageUpRect, FPageDownRect;
  TPoint FDownPoint;
  Integer FDownPosition = 0;
  TPoint FDownThumbTopLeft;
};

// cx = SM_CXVSCROLL, cy = SM_CYHSCROLL.
TSize GetScrollBarMetrics();
