// Controls.h — the class library's control base: TControl (a rectangle in
// its parent with text, colour, visibility and messages), TWinControl (a
// control that can hold others and own a window), TGraphicControl and
// TCustomControl.
//
// Ownership: the owner (a TComponent) frees a control; the parent only lays
// it out and shows it. Freeing a control takes it out of its parent, and
// freeing a parent frees the children it still holds (as the library does).
//
// Messages. Every control has a message entry, Perform, that works with or
// without a window: it runs WindowProc (WndProc unless replaced by a
// subclasser), which ends in Dispatch. A class handles a message by
// overriding Dispatch with a switch and passing the rest on; inside a
// handler, "inherited" is the base class's handler or Dispatch:
//
//   void TMyControl::Dispatch(TMessage& Message) {
//     switch (Message.Msg) {
//       case CM_MOUSEENTER: CMMouseEnter(Message); break;
//       default: inherited::Dispatch(Message);
//     }
//   }
//
// What nobody handles reaches DefaultHandler: the window's previous
// procedure for a control with a window, the built-in text and size answers
// otherwise.
//
// Layout. Align and Anchors are applied by the parent (AlignControls) each
// time a child or the parent changes, unless alignment is suspended with
// DisableAlign/EnableAlign (loading a form suspends it until Loaded).
#pragma once
#include <vector>
#include <memory>
#include "platform/forms/ControlMessages.h"
#include "platform/gdi/Canvas.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/MulDiv.h"
#include "platform/rtl/ShortCuts.h"

class TWinControl;
class TCustomForm;
class TBasicAction;
class TDragObject;
class TPopupMenu;
class TControlActionLink;

SX_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);

SX_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
SX_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
SX_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
SX_ENUM(TDragMode, dmManual, dmAutomatic)
SX_ENUM(TDragKind, dkDrag, dkDock)
SX_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
SX_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// Controls other than forms use only bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;
SX_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
SX_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
// Reading order and alignment of a control's text on a right-to-left
// system; kept and handed down here, text is drawn left to right.
SX_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
// The input method a windowed control asks for; kept (the platform has none).
SX_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
        imSHanguel, imHanguel)
using TImeName = AnsiString;

enum TControlStateElem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateElem>;

enum TControlStyleElem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csParentBackground
};
using TControlStyle = TSet<TControlStyleElem>;

enum TScalingFlag { sfLeft, sfTop, sfWidth, sfHeight, sfFont };
using TScalingFlags = TSet<TScalingFlag>;

// Cursor identifiers: the standard ones are negative; applications add
// their own positive ones to Screen->Cursors.
enum TCursor : SmallInt {};
constexpr TCursor crDefault = TCursor(0);
constexpr TCursor crNone = TCursor(-1);
constexpr TCursor crArrow = TCursor(-2);
constexpr TCursor crCross = TCursor(-3);
constexpr TCursor crIBeam = TCursor(-4);
constexpr TCursor crSize = TCursor(-22);
constexpr TCursor crSizeNESW = TCursor(-6);
constexpr TCursor crSizeNS = TCursor(-7);
constexpr TCursor crSizeNWSE = TCursor(-8);
constexpr TCursor crSizeWE = TCursor(-9);
constexpr TCursor crUpArrow = TCursor(-10);
constexpr TCursor crHourGlass = TCursor(-11);
constexpr TCursor crDrag = TCursor(-12);
constexpr TCursor crNoDrop = TCursor(-13);
constexpr TCursor crHSplit = TCursor(-14);
constexpr TCursor crVSplit = TCursor(-15);
constexpr TCursor crMultiDrag = TCursor(-16);
constexpr TCursor crSQLWait = TCursor(-17);
constexpr TCursor crNo = TCursor(-18);
constexpr TCursor crAppStart = TCursor(-19);
constexpr TCursor crHelp = TCursor(-20);
constexpr TCursor crHandPoint = TCursor(-21);
constexpr TCursor crSizeAll = TCursor(-22);
const TTypeInfo* SxTypeInfo(TCursor*);
bool CursorToIdent(Integer Cursor, AnsiString& Ident);
bool IdentToCursor(const AnsiString& Ident, Integer& Cursor);

class TControl;

// Minimum and maximum sizes of a control (0: no limit).
class TSizeConstraints : public TPersistent {
  SX_CLASS(TSizeConstraints, TPersistent)
public:
  explicit TSizeConstraints(TControl* AControl = nullptr) : FControl(AControl) {}
  static void Published(TPublished<TSizeConstraints>& P) {
    P.Property("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
    P.Property("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    P.Property("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    P.Property("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
  }
  void Assign(TPersistent* Source) override;
  Integer GetMaxHeight() const { return FMaxHeight; }
  Integer GetMaxWidth() const { return FMaxWidth; }
  Integer GetMinHeight() const { return FMinHeight; }
  Integer GetMinWidth() const { return FMinWidth; }
  // A maximum below the minimum pulls the minimum down, and the other way.
  void SetMaxHeight(Integer Value);
  void SetMaxWidth(Integer Value);
  void SetMinHeight(Integer Value);
  void SetMinWidth(Integer Value);
  TNotifyEvent OnChange;

private:
  void Change();
  TControl* FControl;
  Integer FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TWndMethod = TEvent<void(TMessage& Message)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TEvent<void(TObject* Sender, Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight)>;

using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
// MousePos is in client coordinates, {-1, -1} when the menu key asked.
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The modifier and button state of a mouse message's wParam (plus Alt).
TShiftState KeysToShiftState(Word Keys);
// The modifiers of a key message (its lParam gives Alt).
TShiftState KeyDataToShiftState(LPARAM KeyData);

// The anchors an alignment implies.
TAnchors AnchorAlign(TAlign Align);

class TControl : public TComponent {
  SX_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  static void Published(TPublished<TControl>& P);

  // --- parent and geometry ---
  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  Integer GetLeft() const { return FLeft; }
  Integer GetTop() const { return FTop; }
  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The client area in the control's own coordinates.
  virtual TRect GetClientRect() const;
  Integer ClientWidth() const { return GetClientRect().Right; }
  Integer ClientHeight() const { return GetClientRect().Bottom; }
  void SetClientWidth(Integer Value) { SetClientSize({Value, ClientHeight()}); }
  void SetClientHeight(Integer Value) { SetClientSize({ClientWidth(), Value}); }
  // The origin of the client area in screen coordinates.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);

  // --- state ---
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show();
  void Hide() { SetVisible(false); }
  virtual bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  AnsiString GetText() const;
  void SetText(const AnsiString& Value);
  AnsiString GetCaption() const { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  const AnsiString& GetHint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // Setting the mode itself ends following the parent's (ParentBiDiMode).
  TBiDiMode GetBiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool GetParentBiDiMode() const { return FParentBiDiMode; }
  virtual void SetParentBiDiMode(bool Value);
  TDragMode GetDragMode() const { return FDragMode; }
  virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TDragKind GetDragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  Integer GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }

  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }

  // --- messages ---
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // --- painting and order ---
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // --- behaviour ---
  // Offered an action that looks for a target (THintAction): true when this
  // control took it.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual void Click();
  virtual void DblClick();
  // Scales position and size (and the font, when not the parent's) by M/D.
  virtual void ChangeScale(Integer M, Integer D);
  void ScaleBy(Integer M, Integer D);
  bool IsRightToLeft() const { return false; }
  // Dragging (ControlDrag.h): Immediate starts at once, otherwise once the
  // mouse leaves the threshold square (-1: Mouse->DragThreshold).
  bool Dragging() const;
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  // Drops at the cursor (Drop) or cancels the running drag of this control.
  void EndDrag(bool Drop);
  // Asked while a drag passes over: Accept starts true only with a handler.
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  // The action the control follows (caption, enabled, hint, visible, click),
  // through its action link; nil unlinks.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* GetActionLink() const { return FActionLink.get(); }

  // Mouse capture on the control's window (or its parent's, for a graphic
  // control): the control gets the mouse messages until released.
  bool GetMouseCapture() const;
  void SetMouseCapture(bool Value);
  // Paints the control and its children into DC at X, Y (WM_PRINT).
  virtual void PaintTo(HDC DC, Integer X, Integer Y);

  void Loaded() override;
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  TContextPopupEvent OnContextPopup;

protected:
  virtual void SetClientSize(TSize Value);
  virtual void SetZOrder(bool TopMost);
  // Anchored distances are remembered relative to the parent's size.
  void UpdateAnchorRules();
  void RequestAlign();
  virtual void Resize();
  virtual void VisibleChanging() {}
  // The window's text for a control with one; FText otherwise.
  virtual AnsiString GetTextInternal() const { return FText; }
  virtual void SetTextInternal(const AnsiString& Value) { FText = Value; }
  virtual void ReadStateHook() {}
  void ReadState(TReader* Reader) override;
  // Re-applies the size through SetBounds (auto-size and constraints).
  virtual void AdjustSize();
  // The size the content needs; false when the control does not size itself.
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
    (void)NewWidth;
    (void)NewHeight;
    return false;
  }
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
  virtual void ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight);
  void DoConstrainedResize(Integer& NewWidth, Integer& NewHeight);
  // Applies OnCanResize, auto-size and the constraints to a new size;
  // false when the size must not change.
  bool CheckNewSize(Integer& NewWidth, Integer& NewHeight);
  void ConstraintsChanged(TObject* Sender);
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  virtual void DragCanceled() {}
  void CMDrag(TMessage& Message);
  // OnContextPopup; MousePos in client coordinates.
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  void WMContextMenu(TMessage& Message);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The action's state arrives: with CheckDefaults (while loading) only the
  // properties the control still has at their defaults take it.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void DoMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);

  // Message handlers of the base.
  void WMGetText(TMessage& Message);
  void WMSetText(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void FontChanged(TObject* Sender);
  bool IsFontStored() const { return !FParentFont; }
  void CMParentShowHintChanged(TMessage& Message);
  void CMParentBiDiModeChanged(TMessage& Message);
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }
  void CMHitTest(TMessage& Message) { Message.Result = 1; }

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TPoint FAnchorRules;
  TPoint FOriginalParentSize;
  bool FAnchorMove = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  AnsiString FText;
  AnsiString FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TDragMode FDragMode = dmManual;
  TDragKind FDragKind = dkDrag;
  TCursor FDragCursor = crDrag;
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FAutoSize = false;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  Integer FHelpContext = 0;
  TControlState FControlState;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TScalingFlags FScalingFlags;

  friend class TWinControl;
  friend class TBaseDragControlObject;
};

using TControlList = std::vector<TControl*>;
using TWinControlList = std::vector<TWinControl*>;

class TWinControl : public TControl {
  SX_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // --- children ---
  Integer ControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
  // Graphic children first, then windowed ones, each in insertion order.
  TControl* Controls(Integer Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The child (visible, enabled unless AllowDisabled) at a client point.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  // --- layout ---
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel != 0; }
  void Realign();
  void AlignControl(TControl* AControl);
  void ChangeScale(Integer M, Integer D) override;
  // A new size re-lays the children out.
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // --- tab order and focus ---
  Integer GetTabOrder() const;
  void SetTabOrder(Integer Value);
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  bool GetDockSite() const { return FDockSite; }
  void SetDockSite(bool Value) { FDockSite = Value; }
  // Every windowed descendant in tab order, depth first.
  void GetTabOrderList(TWinControlList& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void SelectFirst();
  virtual bool CanFocus() const;
  virtual void SetFocus();
  virtual bool Focused() const;

  // --- window ---
  // The window, created on first use (with the parents' windows).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window (keeping text and bounds) to make it again when
  // needed: for a change that only a new window can show (styles).
  void RecreateWnd();
  // The window a parentless control lives in (a utility or foreign window).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  void PaintTo(HDC DC, Integer X, Integer Y) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Whether the window is shown: visible here and in every parent up to a
  // form (kept with the window; false without one).
  bool Showing() const { return FShowing; }
  bool GetShowing() const { return FShowing; }
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The window procedure's entry: runs WindowProc and hands an escaping
  // library exception to the application's error display.
  void MainWndProc(TMessage& Message);
  // Painting goes through a memory bitmap first (no flicker, no erase).
  bool GetDoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  // The control shows its parent's background where it has none of its
  // own; only a themed look draws it (without themes the classic face
  // colour stays).
  bool GetParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);
  // The 3-D look (sunken client edges); with ParentCtl3D the parent's.
  bool GetCtl3D() const;
  void SetCtl3D(bool Value);
  bool GetParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  TImeMode GetImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value) { FImeMode = Value; }
  const TImeName& GetImeName() const { return FImeName; }
  void SetImeName(const TImeName& Value) { FImeName = Value; }

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // What CreateWindowEx gets; CreateParams fills it, descendants adjust it.
  struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    Integer X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass;
    AnsiString WinClassName;
  };

protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window a subclass of a system class ("EDIT", "BUTTON" ...):
  // its procedure becomes the control's default handler.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  void UpdateShowing();
  void UpdateControlState();
  void UpdateBounds();
  void SetZOrder(bool TopMost) override;
  AnsiString GetTextInternal() const override;
  void SetTextInternal(const AnsiString& Value) override;
  // The window this control's window goes behind in z-order: the next
  // windowed sibling's that has one.
  HWND PrecedingWindow(TWinControl* Control) const;
  // Sends a mouse message of the window to the graphic child under it.
  bool IsControlMouseMsg(TMessage& Message);
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);
  void PaintHandler(TMessage& Message);
  bool DoKeyDown(TMessage& Message);
  bool IsMenuKey(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();

  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void CMCursorChanged(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  bool IsCtl3DStored() const { return !FParentCtl3D; }
  void CMShowingChanged(TMessage& Message);
  void CMEnter(TMessage& Message) { (void)Message; DoEnter(); }
  void CMExit(TMessage& Message) { (void)Message; DoExit(); }
  void CMTextChanged(TMessage& Message);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& /*Rect*/) const {}
  virtual void ControlsAligned() {}
  void ReadState(TReader* Reader) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, Integer Order) override;
  void UpdateTabOrder(Integer Value);
  void FixupTabList();

  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMShowHintChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMBiDiModeChanged(TMessage& Message);

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FShowing = false;
  Integer FAlignLevel = 0;
  bool FTabStop = false;
  bool FDockSite = false;
  bool FDoubleBuffered = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  Integer FTabOrder = -1;  // held while reading, until FixupTabList
  TControlList FControls;
  TWinControlList FWinControls;
  TWinControlList FTabList;

  friend class TControl;
  friend class TWinControlAccess;
};

// A canvas on a control: during painting the paint DC; otherwise a DC of
// the control's window (a graphic control draws on its parent's, moved to
// its corner and clipped to its rectangle), released by FreeHandle.
class TControlCanvas : public TCanvas {
  SX_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();

protected:
  void CreateHandle() override;

private:
  TControl* FControl = nullptr;
  HWND FWnd = nullptr;
  HDC FDC = nullptr;
};

// A control without a window that paints on its parent's surface.
class TGraphicControl : public TControl {
  SX_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  void Dispatch(TMessage& Message) override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  // Draws the control; Canvas's origin is the control's top-left corner.
  virtual void Paint() {}

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
  SX_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  // Draws the client area on Canvas (clipped to what needs painting).
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The control that owns a window; nil for a window of no control.
TWinControl* FindControl(HWND Handle);
// The control under a screen point: the windowed control whose window is
// there, or the graphic child of it under the point.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// Forgets what the class library keeps between windows: a drag session a
// test left running, the control holding the mouse, the control being
// created. ResetWindowSystem runs it too (the library adds it as a hook).
void ResetFormsState();
TWinControl* FindVCLWindow(TPoint Pos);
// Hidden windows that receive messages for objects that are not controls
// (timers, tray icons): Method gets every message of the window.
HWND AllocateHWnd(const TWndMethod& Method);
void DeallocateHWnd(HWND Wnd);

// The form that (eventually) holds Control; nil when there is none.
TCustomForm* GetParentForm(const TControl* Control);
// As GetParentForm, but raises EInvalidOperation ("Control 'X' has no parent
// window") when there is none.
TCustomForm* ValidParentForm(const TControl* Control);
