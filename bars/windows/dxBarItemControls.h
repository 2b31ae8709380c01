// dxBarItemControls.h — item controls: the on-screen part of one shown item
// link inside a bar window. The link owns its control; the control refers
// to its link, item and bar window, measures itself for the window's layout,
// draws itself and turns mouse and keys into the item's click.
//
// The registry (bars/model/dxBarRegistry.h) pairs each item class with its
// control class; TdxBarItemLink::CreateControl makes the control of the
// item's exact class (a subclass of a registered item class takes the
// control of its nearest registered ancestor).
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/ShortCuts.h"
#include "platform/win/WinTypes.h"

class TCanvas;
class TEdit;
struct TdxBarItemPaint;

class TdxBarItemControl : public TObject {
  SX_CLASS(TdxBarItemControl, TObject)
public:
  explicit TdxBarItemControl(TdxBarItemLink* ALink);
  ~TdxBarItemControl() override;

  TdxBarItemLink* ItemLink() const { return FItemLink; }
  TCustomdxBarControl* Parent() const { return FParent; }
  TdxBarItem* GetItem() const;
  TdxBarManager* GetBarManager() const;

  virtual void BarWindowDestroying() {}
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged() { Repaint(); }
  virtual void VisibilityChanged();
  virtual bool IsClickable() const { return true; }
  virtual bool CanSelect() const { return true; }
  virtual void Click(bool ByMouse);
  virtual void Activate(bool) { FActive = true; }
  virtual void Deactivate(bool) { FActive = false; }
  virtual void BeforeClick(bool) {}
  virtual void PerformClick(bool ByMouse);
  virtual bool IsSelected() const;
  virtual void KeyDown(WORD) {}
  virtual bool WantsKey(WORD) const { return false; }
  virtual AnsiString GetCaption() const;
  virtual bool GetEnabled() const;
  virtual AnsiString GetHint() const;
  virtual TShortCut GetShortCut() const;
  virtual Integer GetHeight() const { return 0; }
  virtual Integer GetWidth() const { return 0; }
  virtual TdxBarSubMenuControl* GetSubMenuControl() const { return nullptr; }
  virtual bool ShowsHint() const;
  virtual bool ClosesMenusOnClick() const { return true; }
  virtual bool HasSubMenu() const { return false; }
  virtual bool TracksMouseDown() const { return false; }
  // PaintType: 0 horizontal toolbar, 1 menu, 2 vertical toolbar.
  virtual void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType);
  // What the painter needs of this control: state, caption and glyph.
  virtual void FillPaint(TdxBarItemPaint& C) const;
  // The bar window moved or resized the control's rectangle.
  virtual void BoundsChanged() {}
  // The menu window opened from this control closed.
  virtual void MenuClosed() { FActive = false; Repaint(); }
  void Repaint();

  bool GetActive() const { return FActive; }
  bool Clicking() const { return FClicking; }
  void SetClicking(bool Value);
  bool SelectedByMouse() const { return FSelectedByMouse; }
  void SetSelectedByMouse(bool Value) { FSelectedByMouse = Value; }
  bool CanSelectOrClick() const { return CanSelect() || IsClickable(); }
  TdxBarItemAlign GetAlign() const;
  bool IsPressedUnderCursor() const;
  bool IsWindowControl() const { return FWindowControl; }
  // Where the accelerator (the character after '&') of the caption is; 0
  // when there is none.
  char Accelerator() const;

protected:
  // The caption's extent on the bar window's font.
  TSize TextExtent(const AnsiString& S) const;

  TdxBarItemLink* FItemLink = nullptr;  // the owner of this control
  TCustomdxBarControl* FParent = nullptr;
  bool FActive = false;
  bool FClicking = false;
  bool FSelectedByMouse = false;
  bool FWindowControl = false;
};

class TdxBarButtonControl : public TdxBarItemControl {
  SX_CLASS(TdxBarButtonControl, TdxBarItemControl)
public:
  explicit TdxBarButtonControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) {}
  ~TdxBarButtonControl() override;
  TdxBarButton* Button() const;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void PerformClick(bool ByMouse) override;
  void BeforeClick(bool ByMouse) override;
  void Deactivate(bool ByMouse) override;
  bool TracksMouseDown() const override { return true; }
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  bool IsDropDown() const;
  Integer GetArrowWidth() const;
  // A press at a client point of the bar window lands on the arrow part.
  bool IsArrowPoint(TPoint ClientPt) const;
  void DropDown(bool ByMouse);
  bool Dropped() const { return FDropped; }
  void MenuClosed() override;

private:
  // The extent along a horizontal toolbar.
  Integer ToolbarLength() const;
  bool FDropped = false;
};

// A control that hosts an edit window while the user types.
class TdxBarWinControl : public TdxBarItemControl {
  SX_CLASS(TdxBarWinControl, TdxBarItemControl)
public:
  explicit TdxBarWinControl(TdxBarItemLink* ALink);
  ~TdxBarWinControl() override;
  bool IsClickable() const override { return false; }
  void BarWindowDestroying() override { DestroyEditWindow(); }
  void BoundsChanged() override;
  void Click(bool ByMouse) override;
  void BeforeClick(bool ByMouse) override;
  void Deactivate(bool ByMouse) override;
  bool Focused() const;
  bool Editing() const { return FEdit != nullptr; }
  // The child edit window while the user types; nil otherwise.
  TEdit* EditWindow() const { return FEdit; }
  // Starts typing: creates the child window and gives it the focus.
  virtual void StartEditing();
  // Ends typing: commits (Accept) or drops the typed text.
  virtual void StopEditing(bool Accept);
  // The text of the edit window (whole, any length).
  AnsiString GetText() const;

protected:
  virtual TRect EditRect() const;
  virtual void CommitText(const AnsiString& AText) = 0;
  virtual AnsiString ItemText() const = 0;
  virtual bool EditKey(WORD& Key);
  void DestroyEditWindow();
  void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void EditExit(TObject* Sender);
  TEdit* FEdit = nullptr;
  bool FStopping = false;
};

class TdxBarEditControl : public TdxBarWinControl {
  SX_CLASS(TdxBarEditControl, TdxBarWinControl)
public:
  explicit TdxBarEditControl(TdxBarItemLink* ALink) : TdxBarWinControl(ALink) {}
  TdxBarEdit* Edit() const;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;

protected:
  void CommitText(const AnsiString& AText) override;
  AnsiString ItemText() const override;
  TRect EditRect() const override;
  virtual Integer ButtonWidth() const { return 0; }
  // In a menu the caption stands left of the edit box; 0 elsewhere.
  Integer CaptionWidth() const;
};

class TCustomdxBarComboControl : public TdxBarEditControl {
  SX_CLASS(TCustomdxBarComboControl, TdxBarEditControl)
public:
  explicit TCustomdxBarComboControl(TdxBarItemLink* ALink) : TdxBarEditControl(ALink) {}

protected:
  Integer ButtonWidth() const override;
};

class TdxBarComboControl : public TCustomdxBarComboControl {
  SX_CLASS(TdxBarComboControl, TCustomdxBarComboControl)
public:
  explicit TdxBarComboControl(TdxBarItemLink* ALink) : TCustomdxBarComboControl(ALink) {}
  TdxBarCombo* Combo() const;
  // Up and Down step through the strings while typing.
  bool EditKey(WORD& Key) override;
  void CommitText(const AnsiString& AText) override;
  AnsiString ItemText() const override;
};

class TdxBarSubItemControl : public TdxBarItemControl {
  SX_CLASS(TdxBarSubItemControl, TdxBarItemControl)
public:
  explicit TdxBarSubItemControl(TdxBarItemLink* ALink) : TdxBarItemControl(ALink) {}
  ~TdxBarSubItemControl() override;
  TCustomdxBarSubItem* SubItem() const;
  virtual TdxBarSubMenuControl* GetSubMenuBar() const;
  virtual TdxBarSubMenuControl* CreateSubMenuBar();
  virtual bool CanDropDown() const { return true; }
  bool IsClickable() const override { return false; }
  void Activate(bool ByMouse) override;
  void Deactivate(bool ByMouse) override;
  void BeforeClick(bool ByMouse) override;
  void KeyDown(WORD Key) override;
  bool WantsKey(WORD Key) const override;
  Integer GetHeight() const override;
  Integer GetWidth() const override;
  TdxBarSubMenuControl* GetSubMenuControl() const override { return GetSubMenuBar(); }
  bool ClosesMenusOnClick() const override { return false; }
  bool HasSubMenu() const override { return true; }
  void Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) override;
  bool AnimateNextDropDown = false;

  // The delay before a menu entry opens or closes its menu on hover.
  static constexpr UINT HoverDelay = 400;

private:
  void OpenMenu();
};

class TdxBarContainerItemControl : public TdxBarSubItemControl {
  SX_CLASS(TdxBarContainerItemControl, TdxBarSubItemControl)
public:
  explicit TdxBarContainerItemControl(TdxBarItemLink* ALink) : TdxBarSubItemControl(ALink) {}
};

// Makes the control of a link's item (nil when its class has none).
TdxBarItemControl* dxBarCreateItemControl(TdxBarItemLink* ALink);
