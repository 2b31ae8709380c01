// X11Private_p.h — the X11 display's state, shared by the units of
// platform/win/x11 and nobody else. Include it after every header of the
// project: Xlib's macros (None, True, Bool, KeyPress…) must not reach
// them, and Xlib's "Display" type is renamed XDisplay here because the
// layer's Display() function owns that name.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/RegionData.h"
#include "platform/win/x11/X11Display.h"

#define Display XDisplay
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <X11/Xcursor/Xcursor.h>
#undef Display

// One top-level window of the layer as the server shows it.
struct TXWin {
  HWND Wnd = nullptr;
  Window Id = 0;
  bool Managed = true;       // false: override-redirect (menus, lists, hints)
  bool Mapped = false;
  bool Iconic = false;       // as last told to / seen from the manager
  bool Zoomed = false;
  bool OnTop = false;
  TRect Area;                // the part of the window the X window shows (window coordinates)
  TRect Placed;              // the X window's last known screen rectangle
  AnsiString Title;
  bool TitleSent = false;
  HICON Icon = nullptr;
  Window TransientFor = 0;
  TSize HintSize;            // the size the fixed-size hints were written for
  std::vector<TRect> Damage; // window coordinates, not yet shipped
  // Shared memory mirror of the shown area.
  XShmSegmentInfo Shm{};
  XImage* Image = nullptr;
  XIC Ic = nullptr;
};

struct TTrayEntry {
  TTrayIcon Icon;            // Icon.Icon is a copy we own
  Window Id = 0;
  bool Docked = false;
  int Size = 22;
};

struct TX11Display::TImpl {
  XDisplay* Dpy = nullptr;
  int Screen = 0;
  Window Root = 0;
  Visual* Vis = nullptr;
  int Depth = 24;
  GC Gc = nullptr;
  int WakePipe[2] = {-1, -1};
  bool ShmAvailable = false, UseShm = false;
  std::map<HWND, TXWin> Wins;
  std::map<Window, HWND> ByX;
  bool Dirty = true;
  int Depth_ = 0;            // PollEvents re-entry guard
  TRect Work;                // _NET_WORKAREA, or the screen
  bool WorkSet = false;      // the program set it (SystemParametersInfo)
  std::vector<TMonitorArea> MonitorList;
  HWND LastActive = nullptr; // the activation last told to the manager
  HWND XFocus = nullptr;     // the window holding the X focus
  bool FocusCheck = false;   // a FocusOut waits for its FocusIn
  Time LastTime = 0;         // the server time of the latest input
  HWND Grabbed = nullptr;    // the capture's pointer grab
  HCURSOR Cursor = nullptr;
  std::map<HCURSOR, unsigned long> Cursors;
  XIM Im = nullptr;
  unsigned NumLockMask = 0;
  std::map<std::string, Atom> AtomCache;

  // Clipboard
  Window ClipWin = 0;        // owns our selections, receives conversions
  bool OwnClipboard = false;
  DWORD ImportedSequence = 0;
  // An outgoing INCR transfer: the rest of the data for one requestor.
  struct TIncrOut {
    Window Requestor = 0;
    Atom Property = 0, Type = 0;
    std::string Data;
    std::size_t Offset = 0;
  };
  std::vector<TIncrOut> IncrOut;

  // Hot keys grabbed on the root window
  std::vector<std::pair<UINT, UINT>> HotKeys;

  // Tray
  std::vector<TTrayEntry> Trays;

  // XDND, the drop under way
  Window DndSource = 0;
  std::vector<Atom> DndTypes;
  HWND DndTarget = nullptr;
  TPoint DndPoint;
  Time DndTime = 0;
  // The drag is over a target of the external-drop sink (ExternalDrop.h).
  bool DndOle = false;

  Atom A(const char* Name);
  TXWin* WinOf(Window Id);
  // Sends what changed in the layer's windows to the server.
  void Sync();
  void Dispatch(XEvent& E);
  void ShipDamage(TXWin& W);
  void ReadWorkArea();
  void ReadMonitors();
};

// Traps X errors of the calls between Begin and End; End answers the
// first error code (0: none).
void X11TrapErrors(XDisplay* Dpy);
int X11UntrapErrors(XDisplay* Dpy);

// Waits up to TimeoutMs for an event that Match accepts and removes it.
bool X11WaitFor(XDisplay* Dpy, XEvent& Out, int TimeoutMs, Bool (*Match)(XDisplay*, XEvent*, XPointer),
                XPointer Arg);

// Keyboard (X11Keys.cpp)
void X11KeyboardOpen(TX11Display::TImpl& D);
void X11KeyEvent(TX11Display::TImpl& D, XKeyEvent& E);
// The lock keys' toggles from the keyboard's locked modifiers. Only where
// the program did not see the keys (opening, gaining the focus): while it
// has the focus, the key messages it reads toggle them, as in the layer.
void X11SyncLockKeys(TX11Display::TImpl& D, unsigned State);
// The virtual key of a key code, and the key code of a virtual key (0: none).
WORD X11VirtualKey(XDisplay* Dpy, unsigned KeyCode);
unsigned X11KeyCodeOf(XDisplay* Dpy, UINT VirtKey);

// Clipboard (X11Clipboard.cpp)
void X11SelectionRequest(TX11Display::TImpl& D, XSelectionRequestEvent& E);
void X11SelectionClear(TX11Display::TImpl& D, XSelectionClearEvent& E);
void X11PropertyDeleted(TX11Display::TImpl& D, XPropertyEvent& E);
// Reads a selection into Out as the target type; false when the owner
// refuses or does not answer.
bool X11ReadSelection(TX11Display::TImpl& D, Atom Selection, Atom Target, Time When, std::string& Out);

// Desktop (X11Desktop.cpp)
void X11HotKeyEvent(TX11Display::TImpl& D, XKeyEvent& E);
bool X11ClientMessage(TX11Display::TImpl& D, XClientMessageEvent& E);
void X11TrayEvent(TX11Display::TImpl& D, XEvent& E);
void X11TrayDockAll(TX11Display::TImpl& D);
void X11DndAware(TX11Display::TImpl& D, Window W);
// ARGB pixels of an icon (Width*Height, row 0 at the top).
std::vector<std::uint32_t> X11IconPixels(HICON Icon, int& Width, int& Height);
