// dxBarExtItemControls.h — the item controls of the extra item kinds. They
// derive from the window layer's controls and draw through the manager's
// painter; each is made through the control-class factory registered by
// dxBarExtItemsInitialization.
#pragma once
#include "bars/drawing/dxBarPainters.h"
#include "bars/windows/dxBarItemControls.h"

// What a painter asks of the bar window an extra control draws into,
// answered from that window.
class TdxBarExtPaintWindow : public TdxBarPaintWindow {
public:
  explicit TdxBarExtPaintWindow(const TdxBarItemControl* AControl) : FControl(AControl) {}
  TdxBarPaintType PaintType() const override;
  TRect ClientRect() const override;
  int ItemHeight() const override;
  TdxBarManager* Manager() const override;

private:
  const TdxBarItemControl* FControl;
};

// The painter of a control's bar window (the base painter without one).
TdxBarItemControlPainterClass dxBarExtPainterOf(const TdxBarItemControl* AControl);
// A paint record of a control for one painter call.
TdxBarItemPaint dxBarExtPaintOf(const TdxBarItemControl* AControl, const TdxBarPaintWindow& AWindow);

class TdxBarToolbarsListItemControl : public TdxBarSubItemControl {
  SX_CLASS(TdxBarToolbarsListItemControl, TdxBarSubItemControl)
public:
  explicit TdxBarToolbarsListItemControl(TdxBarItemLink* ALink) : TdxBarSubItemControl(ALink) {}
  // Rebuilds the toolbar entries, then opens them as any sub-menu.
  TdxBarSubMenuControl* CreateSubMenuBar() override;
};

class TdxBarInPlaceSubItemControl : public TdxBarContainerItemControl {
  SX_CLASS(TdxBarInPlaceSubItemControl, TdxBarContainerItemControl)
public:
  explicit TdxBarInPlaceSubItemControl(TdxBarItemLink* ALink) : TdxBarContainerItemControl(ALink) {}
  bool InMenu() const;
  void BeforeClick(bool ByMouse) override;
  void KeyDown(WORD Key) override;
  bool WantsKey(WORD Key) const override;
  bool HasSubMenu() const override;
  bool ExpandsInPlace() const { return InMenu(); }
  bool CanDropDown() const override { return !InMenu(); }
  bool ClosesMenusOnClick() const override { return false; }
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  void DblClick();
};
