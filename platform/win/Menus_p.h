// Menus_p.h — the menu objects behind HMENU and what the menu units share:
// the object table (MenuObjects.cpp), the tracking loop and popup window
// (MenuWindow.cpp) and the menu bar's geometry and drawing (MenuBar.cpp).
#pragma once
#include <memory>
#include <vector>
#include "platform/win/Menus.h"

struct TMenuItemRec {
  UINT Type = MFT_STRING;  // MFT_*
  UINT State = 0;          // MFS_*
  UINT Id = 0;
  HMENU SubMenu = nullptr;
  HBITMAP Checked = nullptr, Unchecked = nullptr, Bitmap = nullptr;
  ULONG_PTR Data = 0;
  AnsiString Text;
  // Owner-drawn size from WM_MEASUREITEM, asked once per opening.
  int OwnerWidth = 0, OwnerHeight = 0;
};

struct TMenuObj {
  HMENU Handle = nullptr;
  bool Bar = false;                // CreateMenu, not CreatePopupMenu
  HWND Wnd = nullptr;              // the window the bar belongs to
  std::vector<TMenuItemRec> Items;
};

// Null for a stale, destroyed or foreign handle (and SetLastError).
TMenuObj* MenuLookup(HMENU Menu);
// The position of the item named by Item (a command or a position as Flags
// say); -1 when none. By command, the search enters sub-menus and returns
// the menu that holds it in Holder.
int MenuFindItem(HMENU Menu, UINT Item, UINT Flags, TMenuObj** Holder);
// The mnemonic of an item's text: the character after a single "&",
// lower-cased; 0 when none.
char MenuMnemonic(const AnsiString& Text);
// The font menus are drawn with (the non-client metrics' menu font), and
// its bold version for default items. Handles live for the run.
HFONT MenuFont(bool Bold);

// --- the menu bar (MenuBar.cpp) ---------------------------------------------------
// Each bar item's rectangle in window coordinates, for a window whose bar
// row is Row (window coordinates).
std::vector<TRect> MenuBarLayout(HWND Wnd, HMENU Menu, const TRect& Row);
// The bar row of a top-level window, in window coordinates (empty if none).
TRect MenuBarRow(HWND Wnd);
// Draws the bar (items, the one Hot raised or pressed) into the window DC.
void MenuBarPaint(HWND Wnd, HDC Dc, const TRect& Row);
// The index of the bar item under a screen point, -1 when none.
int MenuBarItemFromPoint(HWND Wnd, TPoint Screen);
// The bar item lit while the bar is tracked (-1 none), and whether its
// popup shows (MenuWindow.cpp).
int MenuBarHotItem(HWND Wnd, bool* Pressed);

// --- tracking (MenuWindow.cpp) -------------------------------------------------------
// Runs the menu bar's loop: Start is the bar item to select (-1: the
// first), Open whether its popup opens at once, Mouse whether a click
// started it (a keyboard start selects the popup's first item).
void MenuBarTrack(HWND Wnd, int Start, bool Open, bool Mouse);
// An item's screen rectangle in an open popup menu.
bool MenuPopupItemRect(HMENU Menu, UINT Item, TRect* R);
// WM_SYSCOMMAND SC_KEYMENU: Alt alone or F10 (Ch 0) selects the bar, Alt
// plus a mnemonic opens that bar item's menu.
void MenuKeyCommand(HWND Wnd, char Ch);
// Destroys the menu windows and state; ResetWindowSystem and DestroyMenu
// of a tracked menu use it.
void MenuTrackingReset();
