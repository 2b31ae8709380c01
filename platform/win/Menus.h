// Menus.h — menus at the Win32 level: HMENU objects (a menu bar or a popup
// menu and its items), the calls that build and query them, the menu bar of
// a top-level window, and TrackPopupMenu's modal loop with the popup menu
// windows ("#32768") it shows.
//
// Calls keep Win32's contract: failure in the return value plus
// SetLastError (ERROR_INVALID_MENU_HANDLE for a destroyed or foreign menu),
// never an exception. A menu owns the sub-menus of its items: DestroyMenu
// and DeleteMenu free them, RemoveMenu only unhooks them. A sub-menu that
// would contain its own parent is refused, so the item tree stays a tree.
//
// Tracking notifies the owner window as the system does: WM_ENTERMENULOOP,
// WM_INITMENU, WM_INITMENUPOPUP before each popup opens (items may change
// then), WM_MEASUREITEM/WM_DRAWITEM for owner-drawn items, WM_MENUSELECT
// as the selection moves, WM_MENUCHAR for a key no mnemonic takes, then
// WM_EXITMENULOOP and the chosen command (WM_COMMAND, posted) unless the
// caller asked for it back (TPM_RETURNCMD).
#pragma once
#include <vector>
#include "platform/win/WinTypes.h"

// --- item flags (AppendMenu, InsertMenu, ModifyMenu, GetMenuState) ------------
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// --- MENUITEMINFO ---------------------------------------------------------------
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = 0;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

struct MENUITEMINFOA {
  UINT cbSize = sizeof(MENUITEMINFOA);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;   // the text (in); the buffer (out)
  UINT cch = 0;                 // the buffer's size in characters (out: the text's length)
  HBITMAP hbmpItem = nullptr;
};
using MENUITEMINFO = MENUITEMINFOA;

// --- TrackPopupMenu ---------------------------------------------------------------
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  TRect rcExclude;   // screen rectangle the menu must not cover
};

// WM_MENUCHAR's answers (high word of the result; the low word is an index)
constexpr int MNC_IGNORE = 0;
constexpr int MNC_CLOSE = 1;
constexpr int MNC_EXECUTE = 2;
constexpr int MNC_SELECT = 3;

constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;
constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

// --- menus and items -----------------------------------------------------------------
HMENU CreateMenu();        // a menu bar
HMENU CreatePopupMenu();
// Frees the menu and its sub-menus; a menu bar still attached to a window
// leaves it menu-less.
BOOL DestroyMenu(HMENU Menu);
BOOL IsMenu(HMENU Menu);
BOOL AppendMenuA(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, const char* NewItem);
BOOL InsertMenuA(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const char* NewItem);
BOOL ModifyMenuA(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const char* NewItem);
BOOL InsertMenuItemA(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFOA* Info);
BOOL GetMenuItemInfoA(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFOA* Info);
BOOL SetMenuItemInfoA(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFOA* Info);
// RemoveMenu keeps the item's sub-menu alive; DeleteMenu frees it.
BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags);
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags);
// The previous MF_CHECKED / MF_ENABLED-MF_GRAYED-MF_DISABLED state, or
// (DWORD)-1 when the item does not exist.
DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags);
BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPosition);
// (UINT)-1 when the menu has none.
UINT GetMenuDefaultItem(HMENU Menu, UINT ByPosition, UINT Flags);
HMENU GetSubMenu(HMENU Menu, int Position);
int GetMenuItemCount(HMENU Menu);   // -1 for a bad handle
// The item's command; (UINT)-1 for a sub-menu item or a bad position.
UINT GetMenuItemID(HMENU Menu, int Position);
// The MF_ state bits (the item count in the high byte for a sub-menu item);
// (UINT)-1 when the item does not exist.
UINT GetMenuState(HMENU Menu, UINT Id, UINT Flags);
int GetMenuStringA(HMENU Menu, UINT Item, char* Buffer, int MaxCount, UINT Flags);
inline BOOL AppendMenu(HMENU M, UINT F, UINT_PTR I, const char* N) { return AppendMenuA(M, F, I, N); }
inline BOOL InsertMenu(HMENU M, UINT P, UINT F, UINT_PTR I, const char* N) { return InsertMenuA(M, P, F, I, N); }
inline BOOL ModifyMenu(HMENU M, UINT P, UINT F, UINT_PTR I, const char* N) { return ModifyMenuA(M, P, F, I, N); }
inline BOOL InsertMenuItem(HMENU M, UINT I, BOOL B, const MENUITEMINFOA* Info) { return InsertMenuItemA(M, I, B, Info); }
inline BOOL GetMenuItemInfo(HMENU M, UINT I, BOOL B, MENUITEMINFOA* Info) { return GetMenuItemInfoA(M, I, B, Info); }
inline BOOL SetMenuItemInfo(HMENU M, UINT I, BOOL B, const MENUITEMINFOA* Info) { return SetMenuItemInfoA(M, I, B, Info); }
inline int GetMenuString(HMENU M, UINT I, char* B, int N, UINT F) { return GetMenuStringA(M, I, B, N, F); }

// --- the menu bar -------------------------------------------------------------------------
HMENU GetMenu(HWND Wnd);
// Attaches a menu bar (CreateMenu) to a top-level window, or none; the
// frame changes. The old menu is not freed.
BOOL SetMenu(HWND Wnd, HMENU Menu);
BOOL DrawMenuBar(HWND Wnd);
// An item's rectangle in screen coordinates: on the window's menu bar, or
// in an open popup menu.
BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, TRect* R);

// --- tracking ------------------------------------------------------------------------------------
// Shows the popup menu at the screen point (aligned by the TPM_ flags, kept
// on the screen, outside Params->rcExclude) and runs the menu loop until an
// item is chosen or the menu is dismissed. With TPM_RETURNCMD the result is
// the chosen command (0 when none); otherwise nonzero when it ran, and the
// command is posted to Owner as WM_COMMAND unless TPM_NONOTIFY.
BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const TPMPARAMS* Params);
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner, const TRect* Ignored);
// Dismisses the menu being tracked (from a handler or a timer).
BOOL EndMenu();
// The menu being tracked, or null: tests and the class library ask.
HMENU TrackedMenu();
// The windows of the popup menus open now, outermost first.
std::vector<HWND> OpenMenuWindows();

// The check mark (or a radio item's bullet) as menus draw it, centred in
// Box: owner-drawn items that look like the system's use it.
void DrawMenuCheckMark(HDC Dc, const TRect& Box, bool Radio, COLORREF Color);

// The class name of the popup menu window.
constexpr const char* MenuWindowClassName = "#32768";
// Registers "#32768" (the system control classes register it with theirs).
void RegisterMenuWindowClass();
