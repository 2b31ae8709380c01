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

class TdxBarSpinEdit;
class TdxBarImageCombo;
enum TdxBarSpinEditButton : int;

// The spin edit's control: the edit part, and the two spin buttons at its
// right end when there is room for them. A press on a button steps once,
// again after the double-click time less 100 ms, then every 100 ms while
// the pointer stays on the button and the mouse button is held.
class TdxBarSpinEditControl : public TdxBarEditControl {
  SX_CLASS(TdxBarSpinEditControl, TdxBarEditControl)
public:
  explicit TdxBarSpinEditControl(TdxBarItemLink* ALink) : TdxBarEditControl(ALink) {}
  ~TdxBarSpinEditControl() override;
  TdxBarSpinEdit* SpinEdit() const;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  void BeforeClick(bool ByMouse) override;
  void Click(bool ByMouse) override;
  bool TracksMouseDown() const override { return true; }
  void StartEditing() override;
  // Which button lies under a client point of the bar window (sbNone
  // outside them or for a read-only spin edit).
  TdxBarSpinEditButton HitTest(TPoint BarClientPt) const;
  // The wheel steps even a read-only spin edit.
  void MouseWheel(int Delta);
  TdxBarSpinEditButton PressedButton() const { return FPressedButton; }
  bool ButtonIsDown() const { return FButtonIsDown; }
  // Both buttons in bar-window coordinates; empty when not drawn.
  const TRect& ButtonsRect() const { return FButtonsRect; }
  // The strip of the buttons for a control rectangle of Width x Height:
  // its width (0 when it does not fit) and the arrow's offset K.
  static Integer StripWidth(Integer Width, Integer Height, Integer& K);
  void StopTracking();
  void TimerFired(UINT_PTR Id);

protected:
  TRect EditRect() const override;
  bool EditKey(WORD& Key) override;

private:
  bool PointerOnPressedButton() const;
  void DropStaleTracking();
  void SetPressedButton(TdxBarSpinEditButton Value);
  void SetButtonIsDown(bool Value);
  void EditKeyPress(TObject* Sender, char& Key);
  void EditKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  TdxBarSpinEditButton FPressedButton{};
  bool FButtonIsDown = false;
  TRect FButtonsRect;
  UINT_PTR FRepeatTimer = 0;
  UINT_PTR FRepeatId = 0;  // 1 the first wait, 2 the repeat
};

class TdxBarImageComboControl : public TdxBarComboControl {
  SX_CLASS(TdxBarImageComboControl, TdxBarComboControl)
public:
  explicit TdxBarImageComboControl(TdxBarItemLink* ALink) : TdxBarComboControl(ALink) {}
  TdxBarImageCombo* ImageCombo() const;
  Integer GetHeight() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
};
