// MenuBar.cpp — the menu bar of a top-level window: the row between the
// caption and the client area, its items' places, and its drawing (the
// non-client painting calls MenuBarPaint).
//
// FIXME: a bar wider than its window does not wrap to a second row; the
// items past the right edge are clipped.
#include <algorithm>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Text.h"
#include "platform/win/Menus_p.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
constexpr int BarPadding = 6;   // on each side of an item's text
}

TRect MenuBarRow(HWND Wnd) {
  TWindow* W = WinPtr(Wnd);
  if (!W || (W->Style & (WS_CHILD | WS_MINIMIZE)) || !GetMenu(Wnd)) return {};
  int E = ((W->ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0) + ((W->ExStyle & WS_EX_STATICEDGE) ? 1 : 0);
  int Left = W->Client.Left - E;
  int Bottom = W->Client.Top - E;
  return {Left, Bottom - GetSystemMetrics(SM_CYMENU), W->Rect.Width() - Left, Bottom};
}

std::vector<TRect> MenuBarLayout(HWND, HMENU Menu, const TRect& Row) {
  std::vector<TRect> R;
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return R;
  HDC Dc = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, MenuFont(false));
  int X = Row.Left;
  for (const TMenuItemRec& It : M->Items) {
    int W = 0;
    if (It.Type & MFT_SEPARATOR) {
      W = BarPadding;
    } else {
      AnsiString T = It.Text;
      TRect C{0, 0, 0, 0};
      if (!T.empty()) DrawTextA(Dc, T.data(), int(T.size()), &C, DT_SINGLELINE | DT_CALCRECT);
      W = C.Width() + 2 * BarPadding;
    }
    R.push_back({X, Row.Top, X + W, Row.Bottom});
    X += W;
  }
  SelectObject(Dc, Old);
  ReleaseDC(nullptr, Dc);
  return R;
}

void MenuBarPaint(HWND Wnd, HDC Dc, const TRect& Row) {
  HBRUSH Back = GetSysColorBrush(COLOR_MENU);
  FillRect(Dc, &Row, Back);
  HMENU Menu = GetMenu(Wnd);
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return;
  bool Pressed = false;
  int Hot = MenuBarHotItem(Wnd, &Pressed);
  std::vector<TRect> Items = MenuBarLayout(Wnd, Menu, Row);
  int Saved = SaveDC(Dc);
  IntersectClipRect(Dc, Row.Left, Row.Top, Row.Right, Row.Bottom);
  HGDIOBJ OldFont = SelectObject(Dc, MenuFont(false));
  int OldMode = SetBkMode(Dc, TRANSPARENT);
  for (std::size_t I = 0; I < Items.size() && I < M->Items.size(); ++I) {
    const TMenuItemRec& It = M->Items[I];
    if (It.Type & MFT_SEPARATOR) continue;
    TRect R = Items[I];
    bool Gray = It.State & (MF_GRAYED | MF_DISABLED);
    if (int(I) == Hot) {
      TRect E = R;
      DrawEdge(Dc, &E, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    AnsiString T = It.Text;
    int D = (int(I) == Hot && Pressed) ? 1 : 0;
    TRect Tr{R.Left + D, R.Top + D, R.Right + D, R.Bottom + D};
    if (Gray) {
      TRect Lit{Tr.Left + 1, Tr.Top + 1, Tr.Right + 1, Tr.Bottom + 1};
      SetTextColor(Dc, GetSysColor(COLOR_3DHILIGHT));
      DrawTextA(Dc, T.data(), int(T.size()), &Lit, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    SetTextColor(Dc, GetSysColor(Gray ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    DrawTextA(Dc, T.data(), int(T.size()), &Tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  SetBkMode(Dc, OldMode);
  SelectObject(Dc, OldFont);
  RestoreDC(Dc, Saved);
}

int MenuBarItemFromPoint(HWND Wnd, TPoint Screen) {
  TWindow* W = WinPtr(Wnd);
  HMENU Menu = GetMenu(Wnd);
  if (!W || !Menu) return -1;
  TPoint P{Screen.X - W->Rect.Left, Screen.Y - W->Rect.Top};
  std::vector<TRect> Items = MenuBarLayout(Wnd, Menu, MenuBarRow(Wnd));
  for (std::size_t I = 0; I < Items.size(); ++I)
    if (Items[I].Contains(P)) return int(I);
  return -1;
}

BOOL DrawMenuBar(HWND Wnd) {
  if (!IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!GetMenu(Wnd)) return FALSE;
  NcPaint(Wnd);
  return TRUE;
}

BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, TRect* R) {
  if (!R || !MenuLookup(Menu)) return FALSE;
  if (Wnd && GetMenu(Wnd) == Menu) {
    std::vector<TRect> Items = MenuBarLayout(Wnd, Menu, MenuBarRow(Wnd));
    TWindow* W = WinPtr(Wnd);
    if (!W || Item >= Items.size()) return FALSE;
    TRect I = Items[Item];
    *R = {W->Rect.Left + I.Left, W->Rect.Top + I.Top, W->Rect.Left + I.Right, W->Rect.Top + I.Bottom};
    return TRUE;
  }
  return MenuPopupItemRect(Menu, Item, R) ? TRUE : FALSE;
}
