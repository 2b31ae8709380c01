// WinState_p.h — the window system's private state, shared by the units of
// platform/win and nobody else.
//
// Ownership: the handle table owns every window through a shared_ptr. Code
// that calls out (a window procedure, a hook) while it works on a window
// keeps its own shared_ptr copy (TWindowRef), so a window destroyed inside
// its own handler stays readable until the caller lets go; its handle is
// dead at once, so IsWindow and every lookup fail from that moment.
//
// The layer serves one GUI thread; only PostMessage and PostThreadMessage may
// come from other threads (they lock the posted queue).
#pragma once
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>
#include "platform/gdi/RegionData.h"
#include "platform/win/Messages.h"
#include "platform/win/Modules.h"
#include "platform/win/Resources.h"
#include "platform/win/Tray.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinTypes.h"

struct TWndClass {
  ATOM Atom = 0;
  AnsiString Name;
  UINT Style = 0;
  WNDPROC Proc = nullptr;
  int WndExtra = 0;
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr, IconSm = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
  AnsiString MenuName;
  std::vector<Byte> ClassExtra;
  int Windows = 0;  // live windows of the class (UnregisterClass refuses while > 0)
};

struct TScrollState {
  int Min = 0, Max = 100;
  UINT Page = 0;
  int Pos = 0, TrackPos = 0;
  UINT Disabled = ESB_ENABLE_BOTH;
  INT_PTR FlatMode = 0;  // FSB_* once the window's bars are flat-capable
};

struct TWindow {
  HWND Handle = nullptr;
  std::shared_ptr<TWndClass> Class;
  DWORD Style = 0, ExStyle = 0;
  WNDPROC Proc = nullptr;
  HINSTANCE Instance = nullptr;
  LONG_PTR Id = 0;         // child id; a top-level window's menu
  HWND Parent = nullptr;   // null for top-level windows
  HWND Owner = nullptr;
  bool MessageOnly = false;
  std::vector<HWND> Children;  // z-order, topmost first
  AnsiString Text;
  TRect Rect;      // parent's client coordinates (screen for top-level windows)
  TRect Client;    // window coordinates (origin = Rect's top left)
  LONG_PTR UserData = 0;
  std::vector<Byte> Extra;
  std::map<AnsiString, HANDLE> Props;
  bool Destroying = false;
  bool Destroyed = false;
  bool RedrawOff = false;      // WM_SETREDRAW FALSE
  // Painting: what is invalid, in client coordinates.
  TRegionData Update;
  bool EraseNeeded = false;
  bool FrameNeeded = false;
  bool InternalPaint = false;
  bool InPaint = false;
  bool NcActive = false;       // WM_NCACTIVATE's last state
  // Top-level windows own the pixels of themselves and their children.
  HBITMAP Surface = nullptr;
  HRGN WindowRgn = nullptr;
  HICON IconBig = nullptr, IconSmall = nullptr;
  HFONT Font = nullptr;        // WM_SETFONT on a window without its own handling
  TScrollState Scroll[2];
  bool FlatScrollBars = false;  // InitializeFlatSB took the bars over
  TRect NormalRect;            // restored placement while minimized or maximized
  HDC OwnDC = nullptr;         // CS_OWNDC
};
using TWindowRef = std::shared_ptr<TWindow>;

struct TRawInput {
  WPARAM Keys = 0;       // MK_* at the time of the event
  enum TKind { Move, Down, Up, Wheel, KeyDown, KeyUp } Kind = Move;
  int Button = 0;        // 0 left, 1 right, 2 middle
  TPoint Pt;             // screen
  int Delta = 0;         // wheel
  WORD Vk = 0;
  DWORD Time = 0;
  bool Processed = false;  // turned into Msg (hit test done)
  bool Announced = false;  // WM_MOUSEACTIVATE / WM_SETCURSOR already sent
  bool Eaten = false;      // MA_*ANDEAT
  bool Alt = false, Ctrl = false;  // modifier keys when the key event came
  UINT Scan = 0;           // set-1 code | 0x100 extended; 0: from the virtual key
  bool HasText = false;    // Text is what the key typed (a real keyboard's layout)
  WideString Text;
  MSG Msg;                 // the message it became, once processed
  int Hit = HTCLIENT;
};

struct TTimer {
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  TIMERPROC Proc = nullptr;
  DWORD Due = 0;
};

struct THook {
  HHOOK Handle = nullptr;
  int Kind = 0;
  HOOKPROC Proc = nullptr;
  bool Removed = false;
};

struct TCaret {
  HWND Wnd = nullptr;
  HBITMAP Bitmap = nullptr;
  int Width = 0, Height = 0;
  TPoint Pos;
  int HideCount = 1;     // a new caret starts hidden
};

struct TClickTracker {
  HWND Wnd = nullptr;
  UINT Msg = 0;          // the button-down message of the last click
  TPoint Pt;             // screen
  DWORD Time = 0;
  bool Valid = false;
};

struct TClipEntry {
  UINT Format = 0;
  HANDLE Data = nullptr;  // null: promised, rendered on demand
};

struct TClipboardState {
  bool Open = false;
  HWND Opener = nullptr;
  HWND Owner = nullptr;
  std::vector<TClipEntry> Entries;  // in the order set
  DWORD Sequence = 1;
  DWORD SequenceAtOpen = 0;
};

struct THotKey {
  HWND Wnd = nullptr;
  int Id = 0;
  UINT Mods = 0;
  UINT Vk = 0;
};

struct TGlobalAtom {
  AnsiString Name;
  int References = 0;
};

struct TLiveDc {
  HWND Wnd = nullptr;
  HWND Top = nullptr;
  TRect Bounds;   // what the DC may touch, in the surface's coordinates
};

struct TClockState {
  bool Virtual = false;
  DWORD Now = 0;       // the virtual clock's tick count
};

// A library module of LoadLibrary's table (Modules.cpp).
struct TLibraryModule {
  AnsiString Name;  // upper case, without ".DLL"
  std::map<AnsiString, FARPROC> Entries;
  std::map<WORD, AnsiString> Ordinals;  // export number -> name
  int Loads = 0;
};

// One line of the program's resource table (Resources.cpp).
struct TResourceEntry {
  TResourceKind Kind = TResourceKind::Bitmap;
  AnsiString File;
  int HotX = 0, HotY = 0;
  // A cursor is made once and shared by every caller, as the system's
  // own cursors are: callers keep it for good and never destroy it. The
  // system icons are shared the same way.
  mutable HCURSOR Cursor = nullptr;
  mutable HICON SharedIcon = nullptr;
};

// The table of one resource folder, read on first use.
struct TResourceTable {
  AnsiString Dir;
  bool Loaded = false;
  std::map<AnsiString, TResourceEntry> Entries;  // key: kind letter + upper-case name
  std::map<UINT, AnsiString> Strings;
};

// Everything the window layer remembers, in one object. ResetWindowSystem
// destroys the windows and then replaces the whole object with a fresh one,
// so a piece of state added here is reset without further work; only the
// members that WinStateRenew carries over outlive a reset.
struct TWinState {
  // Handle table: slot index + generation. Kept across resets so that a
  // handle from before a reset never names a window made after it.
  std::vector<TWindowRef> Slots;
  std::vector<std::uint32_t> Generations;
  std::vector<std::size_t> FreeSlots;
  std::vector<std::shared_ptr<TWndClass>> Classes;
  ATOM NextAtom = 0xC000;
  HWND Desktop = nullptr;
  // Queue
  std::mutex PostLock;
  std::deque<MSG> Posted;
  bool QuitPosted = false;
  int QuitCode = 0;
  std::deque<TRawInput> Input;
  std::vector<TTimer> Timers;
  UINT_PTR NextThreadTimerId = 1;
  std::vector<std::shared_ptr<THook>> Hooks;
  std::uintptr_t NextHook = 1;
  // Input state
  HWND Focus = nullptr, Active = nullptr, Capture = nullptr;
  bool AppActive = false;
  BYTE KeyState[256] = {};    // thread state: 0x80 down, 0x01 toggled
  BYTE AsyncState[256] = {};  // async: 0x80 down, 0x01 pressed since last query
  TPoint CursorPos;
  HCURSOR Cursor = nullptr;
  int CursorShowCount = 0;
  TCaret Caret;
  TClickTracker Click;
  HWND TrackLeave = nullptr;  // TrackMouseEvent(TME_LEAVE)
  DWORD TrackFlags = 0;
  // TrackMouseEvent(TME_HOVER): the hover message falls due when the
  // pointer has stayed inside Rect (screen) until Due. One-shot.
  struct {
    HWND Wnd = nullptr;
    bool NonClient = false;
    DWORD Time = 0;
    DWORD Due = 0;
    TRect Rect;
  } Hover;
  HWND LastMouseWnd = nullptr;
  MSG LastMsg;                // GetMessagePos / GetMessageTime
  // The text of the key message last retrieved, for TranslateMessage.
  struct {
    bool Set = false;
    MSG Msg;
    WideString Text;
  } KeyText;
  int SizeMoveDepth = 0;
  int PaintDepth = 0;
  UINT DoubleClickTime = 500;
  UINT CaretBlinkTime = 530;
  TClockState Clock;
  TClipboardState Clipboard;
  std::vector<THotKey> HotKeys;
  // Keyboard layouts (KeyboardLayouts.cpp): the loaded ones, the active one.
  std::vector<std::uintptr_t> KeyboardLayouts;
  std::uintptr_t ActiveKeyboardLayout = 0;
  // Global atoms (Atoms.cpp): index = atom - 0xC000; an empty name is free.
  std::vector<TGlobalAtom> GlobalAtoms;
  // The notification area's icons (Tray.cpp), in the order added.
  std::vector<TTrayIcon> TrayIcons;
  std::map<HDC, TLiveDc> LiveDCs;   // GetDC/GetDCEx handed out, not yet released
  // RegisterWindowMessage's table; callers keep the numbers, so it lasts.
  std::map<AnsiString, UINT> RegisteredMessages;
  std::map<UINT, AnsiString> RegisteredNames;
  DWORD GuiThread = 0;
  // The system control classes (EDIT, BUTTON, STATIC ...) are registered
  // on the first lookup that misses, after every reset.
  bool SystemClassesRegistered = false;
  // Alt went down and nothing else since: its release opens the menu bar.
  bool MenuAltAlone = false;
  // Windows placed by CW_USEDEFAULT: each steps down the cascade.
  int DefaultPlacements = 0;
  // Set up once for the process and carried over every reset: the
  // visual-style binding in use (UxTheme.cpp; the desktop's is made on first
  // use), LoadLibrary's modules (Modules.cpp; the layer's own are added on
  // first use) and the program's resource table (Resources.cpp). Windows
  // and painters keep pointers and handles out of them.
  std::unique_ptr<TThemeBinding> Themes;
  std::vector<TLibraryModule> LibraryModules;
  TResourceTable Resources;
};

TWinState& WinState();
// Replaces the state with a fresh one, keeping what must outlive a reset
// (handles, the desktop, class atoms, registered messages, live DCs). The
// windows must be gone and no other thread posting.
void WinStateRenew();

// Handle table
TWindowRef WinLookup(HWND H);   // null when stale
TWindow* WinPtr(HWND H);        // borrowed; null when stale
HWND WinAddWindow(TWindowRef W);
void WinRemoveHandle(HWND H);
std::vector<HWND> WinAllWindows();     // every live window, any order
std::vector<HWND> WinTopLevels();      // desktop's children, z-order (topmost first)
// Window geometry in screen coordinates.
TRect WinScreenRect(const TWindow& W);
TRect WinScreenClient(const TWindow& W);
TPoint WinClientOrigin(const TWindow& W);   // screen position of client (0,0)
HWND WinTopLevelOf(HWND H);             // the top-level ancestor (itself if top-level)
bool WinIsVisibleDeep(HWND H);          // visible with every ancestor
bool WinIsDescendant(HWND Ancestor, HWND H);  // H == Ancestor counts
void WinOnDestroyed(HWND H);            // input/timer/paint cleanup of a dying window

// Messages
LRESULT WinSend(HWND H, UINT Msg, WPARAM W, LPARAM L);
bool WinRangeIncludes(UINT Min, UINT Max, UINT Msg);

// Hooks: true when some hook of Kind is installed.
bool HookInstalled(int Kind);
// Runs the chain; returns the first hook's result.
LRESULT HookCall(int Kind, int Code, WPARAM W, LPARAM L);

// Input processing inside PeekMessage: the next raw input in the filter
// becomes Msg. Returns false when none qualifies.
bool InputRetrieve(MSG& Msg, HWND Filter, UINT Min, UINT Max, bool Remove);
bool InputPending();
// Painting: a window in the filter that needs WM_PAINT.
HWND PaintFind(HWND Filter);
// Timers: the timer message due in the filter.
bool TimerRetrieve(MSG& Msg, HWND Filter, UINT Min, UINT Max, bool Remove);
int TimerMsUntilNext();   // -1 when none (the hover message counts as a timer)
// Hover tracking: the due WM_MOUSEHOVER/WM_NCMOUSEHOVER in the filter.
bool HoverRetrieve(MSG& Msg, HWND Filter, UINT Min, UINT Max, bool Remove);
int HoverMsUntilDue();    // -1 when no hover is tracked
// Non-client geometry from styles: border thickness and caption height.
TRect NcClientFromWindow(const TWindow& W, const TRect& WindowRect);
int NcHitTest(const TWindow& W, TPoint Screen);
void NcPaint(HWND H);
// Surfaces
void SurfaceEnsure(TWindow& Top);
void SurfaceFree(TWindow& Top);
// Activation: makes the top-level window of H active (How: WA_ACTIVE or
// WA_CLICKACTIVE); the next one when Leaving hides or dies.
void WinActivate(HWND H, int How);
void WinActivateNext(HWND Leaving);
// Draws the non-client area of H into Dc (window coordinates).
void NcPaintInto(HWND H, HDC Dc);
// DefWindowProc's system loop for SC_MOVE/SC_SIZE.
void SysMoveSizeLoop(HWND H, UINT Command, TPoint Start);
