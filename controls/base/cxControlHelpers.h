// cxControlHelpers.h — services of the base control that the popup window,
// the editors and the toolbars use: the settings controller that tells
// registered controls when the non-client metrics change, the mouse-leave
// watch, a modal drag-threshold detector, the monitor work area, small
// character and key tests, and the popup-menu helpers that let a control's
// popup menu be a class-library TPopupMenu or any component that provides
// a menu of its own.
#pragma once
#include "platform/forms/Controls.h"
#include "platform/rtl/Types.h"

class TWinControl;
class TPopupMenu;

// A component that shows a popup menu of its own (a bar library's popup
// menu) and can stand wherever a control takes a TPopupMenu.
class IcxPopupMenuProvider {
public:
  virtual ~IcxPopupMenuProvider() = default;
  // A key message (WParam the key, LParam its key data) that is a shortcut
  // of one of the menu's items runs that item: true.
  virtual bool IsShortCut(TMessage& Message) = 0;
  // Shows the menu at the screen point.
  virtual void Popup(Integer X, Integer Y) = 0;
};

// The private message a settings change becomes for each registered control.
constexpr UINT CM_SCROLLBARMETRICSCHANGED = 0x8131;

// Registered controls get CM_SCROLLBARMETRICSCHANGED (through
// SendNotifyMessage) when the system reports a change of the non-client
// metrics. The hidden window exists while any control is registered.
class TcxSettingsController {
public:
  static TcxSettingsController& Instance();
  void Add(TWinControl* AControl);
  void Remove(TWinControl* AControl);
  bool Contains(TWinControl* AControl) const;
  // The window that receives WM_SETTINGCHANGE; null while nothing is registered.
  HWND Handle() const { return FHandle; }

private:
  void WndProc(TMessage& Message);
  class TTarget;
  std::vector<TWinControl*> FControls;
  HWND FHandle = nullptr;
};

class IcxMouseTrackingCaller {
public:
  virtual ~IcxMouseTrackingCaller() = default;
  virtual void NotifyMouseLeft() = 0;
};
// Optional, on the same object: where "inside" is, in client coordinates.
class IcxMouseTrackingArea {
public:
  virtual ~IcxMouseTrackingArea() = default;
  virtual bool ContainsPoint(TPoint P) = 0;
};

// Every 10 ms tests whether the cursor left ABounds (client coordinates of
// AControl; screen coordinates when AControl is nil, which cannot move). When
// it did: CM_MOUSELEAVE to the control (only once the cursor has also left
// its client area), then ACaller->NotifyMouseLeft, then the watch stops. A
// second start for the same caller keeps the one watch.
void StartMouseLeaveWatch(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller);
void StopMouseLeaveWatch(IcxMouseTrackingCaller* ACaller);
bool IsMouseLeaveWatched(IcxMouseTrackingCaller* ACaller);
// Stops every watch still running (shutdown, or a test's end): a watcher
// that forgot to stop is not worth a crash on the way out.
void StopAllMouseLeaveWatches();

// 0 the button was released, 1 the mouse left the drag square, 2 cancelled
// (Esc, or another window took the capture). Pumps messages meanwhile.
int DetectDrag(HWND AWnd);
// The work area of the monitor nearest to P.
void GetMonitorWorkArea(TPoint P, TRect& R);
bool IsParentHandleAllocated(TControl* AControl);
bool IsChildStyleWindow(HWND AWnd);
unsigned GetDoubleClickInterval();
// 0 integer, 1 float, 2 float with exponent; other kinds behave as 0.
bool IsNumericChar(char Ch, int AKind);
bool IsTextChar(char Ch);
// "&F" gives "F", "&&" gives "&", a trailing "&" gives "_".
AnsiString StripAccelChars(const AnsiString& AText);
// The place for a key mapping; the text editors call it.
Word TranslateKey(Word AKey);
bool IsWithinDragThreshold(TPoint AMouseDownPos, int X, int Y);
void MapPointBetweenWindows(HWND AFrom, HWND ATo, TPoint& P);
void MapRectBetweenWindows(HWND AFrom, HWND ATo, TRect& R);
bool IsCtrlPressed();

// Shows AMenu (a provider, or a TPopupMenu that pops up by itself) at the
// screen point for AControl; false when nothing was shown.
bool PopupMenuAtPos(TWinControl* AControl, TComponent* AMenu, Integer X, Integer Y);
// Whether the key message is a shortcut of AMenu (and so was run there).
bool IsPopupMenuShortCutKey(TComponent* AMenu, TMessage& Message);
// The height of AMenu's window as it will open, frame included: what a
// drop-down needs to know to place a menu above or below something.
Integer CalcPopupMenuHeight(TPopupMenu* AMenu);

// The screen cursor the hyperlink editor shows.
constexpr int crcxHandPoint = -2099;
// The family's cursors, from the application's resources "CX_DRAGCOPYCURSOR"
// (2100) to "CX_DRAGCURSOR" (2113).
enum : int {
  crcxDragCopy = 2100, crcxFullScroll, crcxHorScroll, crcxVerScroll, crcxUpScroll, crcxRightScroll,
  crcxDownScroll, crcxLeftScroll, crcxRemove, crcxVertSize, crcxHorzSize, crcxMultiDrag, crcxNoDrop, crcxDrag
};
// The resource name of one of the family's cursors (2100..2113); "" for another id.
const char* ControlCursorResourceName(int ACursor);
// Puts the family's cursors into the screen's list (start-up, once a
// screen exists). A cursor missing from the resources leaves its id on the
// screen's default arrow.
void RegisterControlCursors();
