// dxBarExtItemControls.h — the item controls of the extra item kinds. They
// derive from the window layer's controls and draw through the manager's
// painter; each is made through the control-class factory registered by
// dxBarExtItemsInitialization.
#pragma once
#include "bars/drawing/dxBarPainters.h"
#include "bars/windows/dxBarItemControls.h"
#include "platform/forms/Controls.h"

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

class TdxBarStatic;
class TdxBarProgressItem;
class TdxBarLargeButton;
class TdxBarControlContainerItem;

class TdxBarStaticControl : public TdxBarItemControl {
  SX_CLASS(TdxBarStaticControl, TdxBarItemControl)
public:
  explicit TdxBarStaticControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) {}
  TdxBarStatic* Static() const;
  bool IsClickable() const override;
  bool CanSelect() const override;
  bool ClosesMenusOnClick() const override { return IsClickable(); }
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  virtual bool DrawsOwnContent() const { return false; }
  virtual TAlignment GetTextAlignment() const;
  Integer CalcContentWidth() const;
  virtual Integer CalcDefaultWidth() const;
  virtual Integer CalcDefaultHeight() const;

protected:
  bool HasImage() const;
  virtual void DrawContent(TCanvas* ACanvas, const TRect& R, Integer PaintType);
};

class TdxBarProgressControl : public TdxBarStaticControl {
  SX_CLASS(TdxBarProgressControl, TdxBarStaticControl)
public:
  explicit TdxBarProgressControl(TdxBarItemLink* ALink) : TdxBarStaticControl(ALink) {}
  TdxBarProgressItem* Progress() const;
  bool DrawsOwnContent() const override { return true; }
  TAlignment GetTextAlignment() const override { return taLeftJustify; }
  Integer CalcDefaultWidth() const override;
  Integer CalcDefaultHeight() const override;
  TColor GetBarColor() const;
  // The bar's rectangle inside the link's rectangle R.
  TRect BarRect(const TRect& R) const;

protected:
  void DrawContent(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
};

class TdxBarLargeButtonControl : public TdxBarButtonControl {
  SX_CLASS(TdxBarLargeButtonControl, TdxBarButtonControl)
public:
  explicit TdxBarLargeButtonControl(TdxBarItemLink* ALink) : TdxBarButtonControl(ALink) {}
  TdxBarLargeButton* Large() const;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  // The picture's size on toolbars (20 x 20 with none).
  TSize PictureSize() const;
  bool HasPicture() const;

private:
  bool InMenu() const;
};

class TdxBarControlContainerControl : public TdxBarItemControl {
  SX_CLASS(TdxBarControlContainerControl, TdxBarItemControl)
public:
  explicit TdxBarControlContainerControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) {}
  ~TdxBarControlContainerControl() override;
  TdxBarControlContainerItem* Container() const;
  bool IsClickable() const override { return false; }
  bool CanSelect() const override;
  bool ClosesMenusOnClick() const override { return false; }
  void BarWindowDestroying() override;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  bool Placed() const { return FPlaced; }
  // Set while a control moves the hosted control (its size changes then
  // are no news to the item).
  static bool Placing();

private:
  void PlaceControl(const TRect& R);
  void HideHostedControl();
  bool FPlaced = false;
};

class TdxBarDateCombo;

// The date combo's control: "+" and "-" typed into it step the date.
// A combo whose button drops a window of its item's own (the calendar, the
// tree) under the box: the button, F4 and Alt+Down drop it down or close it
// again; the end of typing and the control's end close it.
class TdxBarPopupComboControl : public TCustomdxBarComboControl {
  SX_CLASS(TdxBarPopupComboControl, TCustomdxBarComboControl)
public:
  explicit TdxBarPopupComboControl(TdxBarItemLink* ALink) : TCustomdxBarComboControl(ALink) {}
  void BeforeClick(bool ByMouse) override;
  void StopEditing(bool Accept) override;
  // Drops the window down under the box.
  void DropDown();

protected:
  // The item's window: open, dropped at a screen rectangle with the text
  // to show, closed. False / nothing without an item.
  virtual bool PopupDroppedDown() const = 0;
  virtual void PopupDropDown(const TRect& AOwnerScreenRect, const AnsiString& AText) = 0;
  virtual void PopupCloseUp() = 0;
  // F4 and Alt+Down toggle the window: true when Key was one of them.
  bool PopupToggleKey(WORD Key);
  void CloseUpIfDropped() {
    if (PopupDroppedDown()) PopupCloseUp();
  }
};

class TdxBarDateComboControl : public TdxBarPopupComboControl {
  SX_CLASS(TdxBarDateComboControl, TdxBarPopupComboControl)
public:
  explicit TdxBarDateComboControl(TdxBarItemLink* ALink) : TdxBarPopupComboControl(ALink) {}
  ~TdxBarDateComboControl() override;
  TdxBarDateCombo* DateCombo() const;
  void StartEditing() override;

protected:
  bool EditKey(WORD& Key) override;
  bool PopupDroppedDown() const override;
  void PopupDropDown(const TRect& AOwnerScreenRect, const AnsiString& AText) override;
  void PopupCloseUp() override;

private:
  void EditKeyPress(TObject* Sender, char& Key);
};

class TdxBarColorCombo;

// The colour combo's control: the edit part shows the colour's swatch and
// name; a typed name picks that entry.
class TdxBarColorComboControl : public TCustomdxBarComboControl {
  SX_CLASS(TdxBarColorComboControl, TCustomdxBarComboControl)
public:
  explicit TdxBarColorComboControl(TdxBarItemLink* ALink) : TCustomdxBarComboControl(ALink) {}
  TdxBarColorCombo* ColorCombo() const;
  void CommitText(const AnsiString& AText) override;
  AnsiString ItemText() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
};

// The font-name combo's control: the plain combo control, committing into
// any kind of combo (the plain one commits only into a TdxBarCombo).
class TdxBarFontNameComboControl : public TdxBarComboControl {
  SX_CLASS(TdxBarFontNameComboControl, TdxBarComboControl)
public:
  explicit TdxBarFontNameComboControl(TdxBarItemLink* ALink) : TdxBarComboControl(ALink) {}
  void CommitText(const AnsiString& AText) override;
  AnsiString ItemText() const override;
};

class TdxBarTreeViewCombo;

// The tree-view combo's control: its button, F4 or Alt+Down drop the tree
// down; Up and Down move through the tree while it is down and Enter
// chooses the node.
class TdxBarTreeViewComboControl : public TdxBarPopupComboControl {
  SX_CLASS(TdxBarTreeViewComboControl, TdxBarPopupComboControl)
public:
  explicit TdxBarTreeViewComboControl(TdxBarItemLink* ALink) : TdxBarPopupComboControl(ALink) {}
  ~TdxBarTreeViewComboControl() override;
  TdxBarTreeViewCombo* TreeCombo() const;
  void CommitText(const AnsiString& AText) override;
  AnsiString ItemText() const override;

protected:
  bool EditKey(WORD& Key) override;
  bool PopupDroppedDown() const override;
  void PopupDropDown(const TRect& AOwnerScreenRect, const AnsiString& AText) override;
  void PopupCloseUp() override;
};

