// ScrollBar.h — TScrollBar: the library's control over the scroll-bar
// window class. The user's scrolling reaches OnScroll (which may change
// the new position) and then moves Position; a change runs OnChange.
#pragma once
#include "platform/forms/Controls.h"

SX_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
SX_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll)
using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
  SX_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);
  static void Published(TPublished<TScrollBar>& P);

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value) { SetParams(FPosition, Value, FMax); }
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value) { SetParams(FPosition, FMin, Value); }
  Integer GetPosition() const { return FPosition; }
  void SetPosition(Integer Value) { SetParams(Value, FMin, FMax); }
  Integer GetPageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value) { FSmallChange = Value; }
  Integer GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value) { FLargeChange = Value; }
  // Raises EInvalidOperation ("Scroll bar property out of range") when
  // AMax < AMin.
  void SetParams(Integer APosition, Integer AMin, Integer AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);

private:
  void DoScroll(TMessage& Message);
  void Apply();
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
};
