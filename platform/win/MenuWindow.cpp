// MenuWindow.cpp — the popup menu window ("#32768") and the menu loop that
// TrackPopupMenu and the menu bar run: layout, drawing, keyboard and mouse,
// sub-menus, owner-drawn items, scrolling of menus taller than the screen,
// and the notifications to the owner window.
#include <algorithm>
#include <cctype>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "platform/win/Menus_p.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Cursors.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
// --- layout constants ----------------------------------------------------------------
constexpr int EdgeW = 3;       // raised frame plus one pixel of menu colour
constexpr int EdgeH = 2;       // above the first and below the last item
constexpr int ArrowColumn = 16;
constexpr int AccelGap = 16;
constexpr int ScrollArrowH = 12;
int CheckColumn() { return GetSystemMetrics(SM_CXMENUCHECK) + 6; }
int SeparatorHeight() { return GetSystemMetrics(SM_CYMENU) / 2; }

// One open popup menu.
struct TLevel {
  HMENU Menu = nullptr;
  HWND Wnd = nullptr;
  int Sel = -1;
  bool MouseSel = false;        // the selection came from the mouse
  std::vector<int> Tops;        // content y of each item; back() = content height
  int Width = 0;
  int LabelWidth = 0;           // widest label (the accelerator column starts after it)
  bool Scroll = false;
  int ScrollY = 0;              // content y at the top of the view
  int ViewH = 0;                // height of the item area
};

struct TTracker {
  bool Active = false;
  bool Done = false;
  UINT Result = 0;
  HWND Owner = nullptr;
  UINT Flags = 0;
  bool Notify = true;
  std::vector<TLevel> Levels;
  HWND CaptureWnd = nullptr;
  // The menu bar being tracked (Levels then hold its open popup).
  bool Bar = false;
  HWND BarWnd = nullptr;
  HMENU BarMenu = nullptr;
  int BarSel = -1;
  bool BarOpen = false;       // the selected bar item's popup shows
  bool BarMouse = false;      // started by a click on the bar
  TPoint LastPt{-1000000, -1000000};
};
TTracker& Tracker() {
  static TTracker T;
  return T;
}

TMenuItemRec* ItemAt(HMENU Menu, int I) {
  TMenuObj* M = MenuLookup(Menu);
  if (!M || I < 0 || std::size_t(I) >= M->Items.size()) return nullptr;
  return &M->Items[std::size_t(I)];
}

bool Selectable(const TMenuItemRec& It) { return !(It.Type & MFT_SEPARATOR); }
bool Disabled(const TMenuItemRec& It) { return It.State & (MF_GRAYED | MF_DISABLED); }

AnsiString Label(const AnsiString& Text) {
  auto Tab = Text.find('\t');
  return Tab == AnsiString::npos ? Text : Text.substr(0, Tab);
}
AnsiString Accel(const AnsiString& Text) {
  auto Tab = Text.find('\t');
  return Tab == AnsiString::npos ? AnsiString() : Text.substr(Tab + 1);
}

int TextWidth(HDC Dc, AnsiString Text, bool Prefix) {
  if (Text.empty()) return 0;
  TRect R{0, 0, 0, 0};
  DrawTextA(Dc, Text.data(), int(Text.size()), &R, DT_SINGLELINE | DT_CALCRECT | (Prefix ? 0 : DT_NOPREFIX));
  return R.Width();
}

int ItemHeight(HDC Dc) {
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc, &Tm);
  return std::max<int>(Tm.tmHeight + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

// --- the owner's notifications ---------------------------------------------------------
LRESULT Tell(UINT Msg, WPARAM W, LPARAM L) {
  TTracker& T = Tracker();
  if (!IsWindow(T.Owner)) return 0;
  return SendMessageA(T.Owner, Msg, W, L);
}

void NotifySelect(HMENU Menu, int Pos) {
  TTracker& T = Tracker();
  if (!T.Notify) return;
  TMenuItemRec* It = ItemAt(Menu, Pos);
  if (!It) return;
  UINT Flags = (It->State & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT)) |
               (It->Type & (MF_OWNERDRAW | MF_SEPARATOR | MF_BITMAP)) | MF_HILITE;
  if (It->SubMenu) Flags |= MF_POPUP;
  if (T.Levels.empty() ? T.BarMouse : T.Levels.back().MouseSel) Flags |= MF_MOUSESELECT;
  WPARAM Id = It->SubMenu ? WPARAM(Pos) : WPARAM(It->Id);
  Tell(WM_MENUSELECT, MAKEWPARAM(int(Id & 0xFFFF), int(Flags)), LPARAM(Menu));
}

// --- layout --------------------------------------------------------------------------------------
void Measure(TLevel& L) {
  TMenuObj* M = MenuLookup(L.Menu);
  L.Tops.assign(1, 0);
  L.Width = 0;
  L.LabelWidth = 0;
  if (!M) return;
  HDC Dc = GetDC(nullptr);
  HGDIOBJ OldFont = SelectObject(Dc, MenuFont(false));
  int H = ItemHeight(Dc);
  int AccelW = 0, OwnerW = 0;
  for (std::size_t I = 0; I < M->Items.size(); ++I) {
    int Ih = H;
    if (M->Items[I].Type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT Mi;
      Mi.CtlType = ODT_MENU;
      Mi.itemID = M->Items[I].Id;
      Mi.itemHeight = UINT(H);
      Mi.itemData = M->Items[I].Data;
      Tell(WM_MEASUREITEM, 0, LPARAM(&Mi));
      // The owner may have changed the menu meanwhile.
      M = MenuLookup(L.Menu);
      if (!M || I >= M->Items.size()) break;
      M->Items[I].OwnerWidth = int(Mi.itemWidth);
      M->Items[I].OwnerHeight = int(Mi.itemHeight);
      Ih = std::max(1, int(Mi.itemHeight));
      OwnerW = std::max(OwnerW, int(Mi.itemWidth));
    } else if (M->Items[I].Type & MFT_SEPARATOR) {
      Ih = SeparatorHeight();
    } else {
      const TMenuItemRec& It = M->Items[I];
      SelectObject(Dc, MenuFont(It.State & MFS_DEFAULT));
      L.LabelWidth = std::max(L.LabelWidth, TextWidth(Dc, Label(It.Text), true));
      AccelW = std::max(AccelW, TextWidth(Dc, Accel(It.Text), false));
    }
    L.Tops.push_back(L.Tops.back() + Ih);
  }
  SelectObject(Dc, OldFont);
  ReleaseDC(nullptr, Dc);
  int Text = CheckColumn() + L.LabelWidth + (AccelW ? AccelGap + AccelW : 0) + ArrowColumn;
  L.Width = std::max({Text, OwnerW + CheckColumn(), 60}) + 2 * EdgeW;
}

TSize WindowSize(const TLevel& L) {
  return {L.Width, (L.Scroll ? L.ViewH + 2 * ScrollArrowH : L.Tops.back()) + 2 * EdgeH};
}

// Fits the level on the work area, turning on scrolling when it is too tall.
void FitHeight(TLevel& L) {
  TRect Work = Display().WorkArea();
  int Full = L.Tops.back() + 2 * EdgeH;
  L.Scroll = Full > Work.Height();
  L.ViewH = L.Scroll ? Work.Height() - 2 * EdgeH - 2 * ScrollArrowH : L.Tops.back();
  L.ScrollY = 0;
}

// The item rectangle in the level window's client coordinates (may lie
// outside the view when scrolled).
TRect ItemRect(const TLevel& L, int I) {
  int Y0 = EdgeH + (L.Scroll ? ScrollArrowH : 0) - L.ScrollY;
  return {EdgeW, Y0 + L.Tops[std::size_t(I)], L.Width - EdgeW, Y0 + L.Tops[std::size_t(I) + 1]};
}

TRect ViewRect(const TLevel& L) {
  int Y0 = EdgeH + (L.Scroll ? ScrollArrowH : 0);
  return {EdgeW, Y0, L.Width - EdgeW, Y0 + L.ViewH};
}

void EnsureVisible(TLevel& L, int I) {
  if (!L.Scroll || I < 0) return;
  int Top = L.Tops[std::size_t(I)], Bottom = L.Tops[std::size_t(I) + 1];
  int Old = L.ScrollY;
  if (Top < L.ScrollY) L.ScrollY = Top;
  else if (Bottom > L.ScrollY + L.ViewH) L.ScrollY = Bottom - L.ViewH;
  if (L.ScrollY != Old) InvalidateRect(L.Wnd, nullptr, FALSE);
}

void ScrollBy(TLevel& L, int Items) {
  int Count = int(L.Tops.size()) - 1;
  // The first item that starts at or below the view's top.
  auto It = std::lower_bound(L.Tops.begin(), L.Tops.end() - 1, L.ScrollY);
  int First = int(It - L.Tops.begin());
  First = std::clamp(First + Items, 0, std::max(0, Count - 1));
  int Max = std::max(0, L.Tops.back() - L.ViewH);
  int Y = std::min(L.Tops[std::size_t(First)], Max);
  if (Y == L.ScrollY) return;
  L.ScrollY = Y;
  InvalidateRect(L.Wnd, nullptr, FALSE);
}

// -1 when Pt (client) is on no item; -2 on the upper, -3 on the lower
// scroll arrow.
int HitItem(const TLevel& L, TPoint Pt) {
  if (Pt.X < 0 || Pt.X >= L.Width) return -1;
  if (L.Scroll) {
    if (Pt.Y < EdgeH + ScrollArrowH) return -2;
    if (Pt.Y >= EdgeH + ScrollArrowH + L.ViewH) return -3;
  }
  TRect V = ViewRect(L);
  if (!V.Contains(Pt)) return -1;
  int Y = Pt.Y - V.Top + L.ScrollY;
  auto It = std::upper_bound(L.Tops.begin(), L.Tops.end(), Y);
  int I = int(It - L.Tops.begin()) - 1;
  return I >= 0 && I < int(L.Tops.size()) - 1 ? I : -1;
}

// --- drawing -------------------------------------------------------------------------------------------
void FillSolid(HDC Dc, const TRect& R, COLORREF C) {
  HBRUSH B = CreateSolidBrush(C);
  FillRect(Dc, &R, B);
  DeleteObject(B);
}

// Small glyphs in the text colour: Kind 0 check mark, 1 bullet, 2 right
// arrow, 3 up arrow, 4 down arrow; centred in Box.
void Glyph(HDC Dc, const TRect& Box, int Kind, COLORREF C) {
  int Cx = (Box.Left + Box.Right) / 2, Cy = (Box.Top + Box.Bottom) / 2;
  switch (Kind) {
    case 0:
      for (int I = 0; I < 7; ++I) {
        int Top = I < 3 ? Cy - 1 + I : Cy + 1 - (I - 2);
        FillSolid(Dc, {Cx - 3 + I, Top, Cx - 2 + I, Top + 3}, C);
      }
      break;
    case 1:
      FillSolid(Dc, {Cx - 2, Cy - 1, Cx + 2, Cy + 2}, C);
      FillSolid(Dc, {Cx - 1, Cy - 2, Cx + 1, Cy + 3}, C);
      break;
    case 2:
      for (int I = 0; I < 4; ++I) FillSolid(Dc, {Cx - 1 + I, Cy - 3 + I, Cx + I, Cy + 4 - I}, C);
      break;
    case 3:
    case 4:
      for (int I = 0; I < 4; ++I) {
        int Y = Kind == 3 ? Cy - 2 + I : Cy + 1 - I;
        FillSolid(Dc, {Cx - I, Y, Cx + I + 1, Y + 1}, C);
      }
      break;
    default: break;
  }
}

void DrawItem(const TLevel& L, HDC Dc, int I) {
  TMenuItemRec* It = ItemAt(L.Menu, I);
  if (!It) return;
  TRect R = ItemRect(L, I);
  bool Sel = I == L.Sel && Selectable(*It);
  bool Gray = Disabled(*It);
  COLORREF Back = GetSysColor(Sel ? COLOR_HIGHLIGHT : COLOR_MENU);
  COLORREF Ink = GetSysColor(Sel ? COLOR_HIGHLIGHTTEXT : Gray ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
  if (It->Type & MFT_OWNERDRAW) {
    FillSolid(Dc, R, Back);
    DRAWITEMSTRUCT Di;
    Di.CtlType = ODT_MENU;
    Di.itemID = It->Id;
    Di.itemAction = ODA_DRAWENTIRE;
    Di.itemState = (Sel ? ODS_SELECTED : 0) | (Gray ? ODS_GRAYED | ODS_DISABLED : 0) |
                   ((It->State & MFS_CHECKED) ? ODS_CHECKED : 0) | ((It->State & MFS_DEFAULT) ? ODS_DEFAULT : 0);
    Di.hwndItem = reinterpret_cast<HWND>(L.Menu);
    Di.hDC = Dc;
    Di.rcItem = R;
    Di.itemData = It->Data;
    HMENU Sub = It->SubMenu;
    int Saved = SaveDC(Dc);
    SetTextColor(Dc, Ink);
    SetBkColor(Dc, Back);
    Tell(WM_DRAWITEM, 0, LPARAM(&Di));
    RestoreDC(Dc, Saved);
    if (Sub) Glyph(Dc, {R.Right - ArrowColumn, R.Top, R.Right, R.Bottom}, 2, Ink);
    return;
  }
  if (It->Type & MFT_SEPARATOR) {
    FillSolid(Dc, R, GetSysColor(COLOR_MENU));
    int Mid = (R.Top + R.Bottom) / 2 - 1;
    FillSolid(Dc, {R.Left + 1, Mid, R.Right - 1, Mid + 1}, GetSysColor(COLOR_3DSHADOW));
    FillSolid(Dc, {R.Left + 1, Mid + 1, R.Right - 1, Mid + 2}, GetSysColor(COLOR_3DHILIGHT));
    return;
  }
  FillSolid(Dc, R, Back);
  TRect Check{R.Left, R.Top, R.Left + CheckColumn(), R.Bottom};
  AnsiString Lbl = Label(It->Text), Acc = Accel(It->Text);
  TRect T{R.Left + CheckColumn(), R.Top, R.Left + CheckColumn() + L.LabelWidth + 1, R.Bottom};
  TRect A{T.Right + AccelGap, R.Top, R.Right - ArrowColumn, R.Bottom};
  HGDIOBJ OldFont = SelectObject(Dc, MenuFont(It->State & MFS_DEFAULT));
  int OldMode = SetBkMode(Dc, TRANSPARENT);
  auto Paint = [&](COLORREF C, int D) {
    SetTextColor(Dc, C);
    TRect T2{T.Left + D, T.Top + D, T.Right + D, T.Bottom + D};
    DrawTextA(Dc, Lbl.data(), int(Lbl.size()), &T2, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!Acc.empty()) {
      TRect A2{A.Left + D, A.Top + D, A.Right + D, A.Bottom + D};
      DrawTextA(Dc, Acc.data(), int(Acc.size()), &A2, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (It->State & MFS_CHECKED)
      Glyph(Dc, {Check.Left + D, Check.Top + D, Check.Right + D, Check.Bottom + D}, (It->Type & MFT_RADIOCHECK) ? 1 : 0, C);
    if (It->SubMenu) Glyph(Dc, {R.Right - ArrowColumn + D, R.Top + D, R.Right + D, R.Bottom + D}, 2, C);
  };
  // Disabled items are embossed, except on the selection bar.
  if (Gray && !Sel) Paint(GetSysColor(COLOR_3DHILIGHT), 1);
  Paint(Ink, 0);
  SetBkMode(Dc, OldMode);
  SelectObject(Dc, OldFont);
}

void PaintLevel(const TLevel& L, HDC Dc) {
  TSize S = WindowSize(L);
  TRect All{0, 0, S.cx, S.cy};
  FillSolid(Dc, All, GetSysColor(COLOR_MENU));
  int Saved = SaveDC(Dc);
  TRect V = ViewRect(L);
  IntersectClipRect(Dc, V.Left, V.Top, V.Right, V.Bottom);
  int Count = int(L.Tops.size()) - 1;
  auto First = std::upper_bound(L.Tops.begin(), L.Tops.end(), L.ScrollY) - L.Tops.begin() - 1;
  for (int I = std::max<int>(0, int(First)); I < Count; ++I) {
    if (L.Tops[std::size_t(I)] >= L.ScrollY + L.ViewH) break;
    DrawItem(L, Dc, I);
  }
  RestoreDC(Dc, Saved);
  if (L.Scroll) {
    COLORREF On = GetSysColor(COLOR_MENUTEXT), Off = GetSysColor(COLOR_GRAYTEXT);
    Glyph(Dc, {0, EdgeH, S.cx, EdgeH + ScrollArrowH}, 3, L.ScrollY > 0 ? On : Off);
    bool More = L.ScrollY + L.ViewH < L.Tops.back();
    Glyph(Dc, {0, S.cy - EdgeH - ScrollArrowH, S.cx, S.cy - EdgeH}, 4, More ? On : Off);
  }
  DrawEdge(Dc, &All, EDGE_RAISED, BF_RECT);
}

LRESULT MenuWndProc(HWND H, UINT Msg, WPARAM Wp, LPARAM Lp) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT Ps;
      HDC Dc = BeginPaint(H, &Ps);
      if (Dc)
        for (const TLevel& L : Tracker().Levels)
          if (L.Wnd == H) PaintLevel(L, Dc);
      EndPaint(H, &Ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_CANCELMODE: EndMenu(); return 0;
    default: return DefWindowProcA(H, Msg, Wp, Lp);
  }
}

// --- opening and closing levels -------------------------------------------------------------------------
void InvalidateItem(const TLevel& L, int I) {
  if (I < 0 || !L.Wnd) return;
  TRect R = ItemRect(L, I);
  InvalidateRect(L.Wnd, &R, FALSE);
}

void CloseLevelsFrom(std::size_t From) {
  TTracker& T = Tracker();
  while (T.Levels.size() > From) {
    TLevel L = T.Levels.back();
    T.Levels.pop_back();
    if (T.Notify && IsMenu(L.Menu)) Tell(WM_UNINITMENUPOPUP, WPARAM(L.Menu), 0);
    if (L.Wnd && IsWindow(L.Wnd)) DestroyWindow(L.Wnd);
  }
  if (T.Levels.empty() && T.Bar) T.BarOpen = false;
}

// Shows the level (already measured) with its top-left corner at Pos.
bool ShowLevel(TLevel& L, TPoint Pos) {
  TSize S = WindowSize(L);
  L.Wnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MenuWindowClassName, "", WS_POPUP, Pos.X, Pos.Y, S.cx,
                          S.cy, nullptr, nullptr, nullptr, nullptr);
  if (!L.Wnd) return false;
  SetWindowPos(L.Wnd, HWND_TOPMOST, Pos.X, Pos.Y, S.cx, S.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  return true;
}

// Places a menu of size S at the anchor point by the alignment flags, kept
// on the work area and off Exclude.
TPoint PlaceAt(TSize S, TPoint At, UINT Flags, const TRect* Exclude) {
  TRect Work = Display().WorkArea();
  int X = At.X, Y = At.Y;
  if (Flags & TPM_CENTERALIGN) X -= S.cx / 2;
  else if (Flags & TPM_RIGHTALIGN) X -= S.cx;
  if (Flags & TPM_VCENTERALIGN) Y -= S.cy / 2;
  else if (Flags & TPM_BOTTOMALIGN) Y -= S.cy;
  // Off the right or bottom edge: open to the other side of the point.
  if (X + S.cx > Work.Right && At.X - S.cx >= Work.Left) X = At.X - S.cx;
  if (Y + S.cy > Work.Bottom && At.Y - S.cy >= Work.Top) Y = At.Y - S.cy;
  if (Exclude && !Exclude->IsEmpty()) {
    TRect M{X, Y, X + S.cx, Y + S.cy};
    TRect I{std::max(M.Left, Exclude->Left), std::max(M.Top, Exclude->Top), std::min(M.Right, Exclude->Right),
            std::min(M.Bottom, Exclude->Bottom)};
    if (!I.IsEmpty()) {
      if (Flags & TPM_VERTICAL) {
        Y = Exclude->Bottom + S.cy <= Work.Bottom ? Exclude->Bottom : Exclude->Top - S.cy;
      } else {
        X = Exclude->Right + S.cx <= Work.Right ? Exclude->Right : Exclude->Left - S.cx;
      }
    }
  }
  X = std::clamp(X, Work.Left, std::max(Work.Left, Work.Right - S.cx));
  Y = std::clamp(Y, Work.Top, std::max(Work.Top, Work.Bottom - S.cy));
  return {X, Y};
}

bool OpenedAlready(HMENU Menu) {
  for (const TLevel& L : Tracker().Levels)
    if (L.Menu == Menu) return true;
  return false;
}

// Opens Menu as a new level. Parent: the item (in the deepest level) that
// opens it, or -1 for the first level. Returns false when it did not open.
bool OpenLevel(HMENU Menu, int IndexInParent, TPoint At, UINT Flags, const TRect* Exclude, bool SelectFirst);

int NextSelectable(const TLevel& L, int From, int Dir) {
  int Count = int(L.Tops.size()) - 1;
  if (Count <= 0) return -1;
  int I = From;
  for (int N = 0; N < Count; ++N) {
    I = I < 0 ? (Dir > 0 ? 0 : Count - 1) : (I + Dir + Count) % Count;
    TMenuItemRec* It = ItemAt(L.Menu, I);
    if (It && Selectable(*It)) return I;
  }
  return -1;
}

void Select(std::size_t LevelIndex, int I, bool Mouse) {
  TTracker& T = Tracker();
  if (LevelIndex >= T.Levels.size()) return;
  TLevel& L = T.Levels[LevelIndex];
  L.MouseSel = Mouse;
  if (L.Sel == I) return;
  InvalidateItem(L, L.Sel);
  L.Sel = I;
  EnsureVisible(L, I);
  InvalidateItem(L, I);
  if (I >= 0) NotifySelect(L.Menu, I);
}

bool OpenSelectedSub(bool SelectFirst) {
  TTracker& T = Tracker();
  if (T.Levels.empty()) return false;
  std::size_t Li = T.Levels.size() - 1;
  TLevel& L = T.Levels[Li];
  TMenuItemRec* It = ItemAt(L.Menu, L.Sel);
  if (!It || !It->SubMenu || Disabled(*It)) return false;
  TRect R = ItemRect(L, L.Sel);
  TRect W;
  GetWindowRect(L.Wnd, &W);
  int Sel = L.Sel;
  HMENU Sub = It->SubMenu;
  TRect Exclude{W.Left, W.Top + R.Top, W.Right, W.Top + R.Bottom};
  return OpenLevel(Sub, Sel, {W.Right - EdgeW, W.Top + R.Top - EdgeH}, TPM_LEFTALIGN | TPM_TOPALIGN, &Exclude,
                   SelectFirst);
}

bool OpenLevel(HMENU Menu, int IndexInParent, TPoint At, UINT Flags, const TRect* Exclude, bool SelectFirst) {
  TTracker& T = Tracker();
  if (!IsMenu(Menu) || OpenedAlready(Menu)) return false;
  if (T.Notify) Tell(WM_INITMENUPOPUP, WPARAM(Menu), MAKELPARAM(std::max(0, IndexInParent), FALSE));
  if (T.Done || !IsMenu(Menu) || GetMenuItemCount(Menu) <= 0) return false;
  TLevel L;
  L.Menu = Menu;
  Measure(L);
  FitHeight(L);
  TSize S = WindowSize(L);
  TPoint Pos;
  if (IndexInParent >= 0 && !T.Levels.empty()) {
    // A sub-menu opens beside its item, on the left when the right has no room.
    TRect Work = Display().WorkArea();
    Pos = At;
    if (Pos.X + S.cx > Work.Right && Exclude) Pos.X = std::max(Work.Left, Exclude->Left - S.cx + EdgeW);
    Pos.Y = std::clamp(Pos.Y, Work.Top, std::max(Work.Top, Work.Bottom - S.cy));
    Pos.X = std::clamp(Pos.X, Work.Left, std::max(Work.Left, Work.Right - S.cx));
  } else {
    Pos = PlaceAt(S, At, Flags, Exclude);
  }
  if (!ShowLevel(L, Pos)) return false;
  T.Levels.push_back(L);
  if (SelectFirst) Select(T.Levels.size() - 1, NextSelectable(T.Levels.back(), -1, 1), false);
  return true;
}

void Finish(UINT Command) {
  TTracker& T = Tracker();
  T.Result = Command;
  T.Done = true;
}

// The item at Li/I is chosen: its command ends the loop; a sub-menu opens.
void Choose(std::size_t Li, int I) {
  TTracker& T = Tracker();
  if (Li >= T.Levels.size()) return;
  TMenuItemRec* It = ItemAt(T.Levels[Li].Menu, I);
  if (!It || !Selectable(*It)) return;
  if (It->SubMenu) {
    CloseLevelsFrom(Li + 1);
    OpenSelectedSub(true);
    return;
  }
  if (Disabled(*It)) {
    Finish(0);
    return;
  }
  Finish(It->Id);
}

// --- the menu bar -----------------------------------------------------------------------------------------
void BarRedraw() {
  TTracker& T = Tracker();
  if (T.Bar && IsWindow(T.BarWnd)) DrawMenuBar(T.BarWnd);
}

void BarOpenPopup(bool SelectFirst) {
  TTracker& T = Tracker();
  CloseLevelsFrom(0);
  TMenuItemRec* It = ItemAt(T.BarMenu, T.BarSel);
  T.BarOpen = false;
  if (It && It->SubMenu && !Disabled(*It)) {
    TWindow* W = WinPtr(T.BarWnd);
    if (W) {
      TRect Row = MenuBarRow(T.BarWnd);
      std::vector<TRect> Items = MenuBarLayout(T.BarWnd, T.BarMenu, Row);
      if (std::size_t(T.BarSel) < Items.size()) {
        TRect R = Items[std::size_t(T.BarSel)];
        TRect Screen{W->Rect.Left + R.Left, W->Rect.Top + R.Top, W->Rect.Left + R.Right, W->Rect.Top + R.Bottom};
        T.BarOpen = OpenLevel(It->SubMenu, T.BarSel, {Screen.Left, Screen.Bottom}, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
                              &Screen, SelectFirst);
      }
    }
  }
  BarRedraw();
}

void BarSelect(int I, bool Open, bool SelectFirst) {
  TTracker& T = Tracker();
  if (I != T.BarSel) {
    CloseLevelsFrom(0);
    T.BarSel = I;
    if (I >= 0) NotifySelect(T.BarMenu, I);
  }
  if (Open && !T.BarOpen) BarOpenPopup(SelectFirst);
  BarRedraw();
}

int BarCount() { return std::max(0, GetMenuItemCount(Tracker().BarMenu)); }

// --- input ----------------------------------------------------------------------------------------------
// Which open level (deepest first) holds the screen point; -1 none.
int LevelAt(TPoint Pt) {
  TTracker& T = Tracker();
  for (int Li = int(T.Levels.size()) - 1; Li >= 0; --Li) {
    TRect R;
    if (GetWindowRect(T.Levels[std::size_t(Li)].Wnd, &R) && R.Contains(Pt)) return Li;
  }
  return -1;
}

void MouseMove(TPoint Pt) {
  TTracker& T = Tracker();
  if (Pt.X == T.LastPt.X && Pt.Y == T.LastPt.Y) return;
  T.LastPt = Pt;
  int Li = LevelAt(Pt);
  if (Li < 0) {
    if (T.Bar) {
      int B = MenuBarItemFromPoint(T.BarWnd, Pt);
      // Moving along the bar while a popup shows switches popups.
      if (B >= 0 && B != T.BarSel && (T.BarOpen || T.BarMouse)) BarSelect(B, true, false);
    }
    return;
  }
  TLevel& L = T.Levels[std::size_t(Li)];
  TRect W;
  GetWindowRect(L.Wnd, &W);
  int I = HitItem(L, {Pt.X - W.Left, Pt.Y - W.Top});
  if (I == -2 || I == -3) {
    ScrollBy(L, I == -2 ? -1 : 1);
    return;
  }
  if (I < 0) return;
  TMenuItemRec* It = ItemAt(L.Menu, I);
  if (!It || !Selectable(*It)) {
    Select(std::size_t(Li), -1, true);
    CloseLevelsFrom(std::size_t(Li) + 1);
    return;
  }
  bool SameOpen = L.Sel == I && T.Levels.size() > std::size_t(Li) + 1;
  if (!SameOpen) CloseLevelsFrom(std::size_t(Li) + 1);
  Select(std::size_t(Li), I, true);
  // The owner heard of the selection and may have changed or ended the menu.
  if (T.Done || std::size_t(Li) >= T.Levels.size()) return;
  It = ItemAt(T.Levels[std::size_t(Li)].Menu, I);
  if (!SameOpen && It && It->SubMenu) OpenSelectedSub(false);
}

void MouseButton(const MSG& M) {
  TTracker& T = Tracker();
  bool Down = M.message == WM_LBUTTONDOWN || M.message == WM_RBUTTONDOWN || M.message == WM_MBUTTONDOWN ||
              M.message == WM_NCLBUTTONDOWN || M.message == WM_NCRBUTTONDOWN || M.message == WM_NCMBUTTONDOWN;
  bool Right = M.message == WM_RBUTTONDOWN || M.message == WM_RBUTTONUP || M.message == WM_NCRBUTTONDOWN ||
               M.message == WM_NCRBUTTONUP;
  int Li = LevelAt(M.pt);
  if (Li < 0) {
    if (T.Bar) {
      int B = MenuBarItemFromPoint(T.BarWnd, M.pt);
      if (B >= 0) {
        if (!Down) {
          // A title without a menu runs its command on release.
          TMenuItemRec* It = ItemAt(T.BarMenu, B);
          if (B == T.BarSel && It && !It->SubMenu && !Disabled(*It) && !(It->Type & MFT_SEPARATOR)) Finish(It->Id);
          return;
        }
        if (B == T.BarSel && T.BarOpen) {
          Finish(0);  // a second click on the open title closes the menu
          return;
        }
        T.BarMouse = true;
        BarSelect(B, true, false);
        return;
      }
    }
    if (Down) Finish(0);  // a click outside every menu dismisses it
    return;
  }
  TLevel& L = T.Levels[std::size_t(Li)];
  TRect W;
  GetWindowRect(L.Wnd, &W);
  int I = HitItem(L, {M.pt.X - W.Left, M.pt.Y - W.Top});
  if (I < 0) return;
  if (Down) {
    MouseMove(M.pt);
    if (std::size_t(Li) < T.Levels.size()) T.Levels[std::size_t(Li)].MouseSel = true;
    return;
  }
  if (Right && !(T.Flags & TPM_RIGHTBUTTON) && !T.Bar) return;
  // A release chooses only an item the pointer has been on, so the release
  // of the click that opened the menu picks nothing by accident.
  if (L.Sel != I || !L.MouseSel) return;
  TMenuItemRec* It = ItemAt(L.Menu, I);
  if (!It || It->SubMenu) return;
  Choose(std::size_t(Li), I);
}

void MenuChar(char Ch) {
  TTracker& T = Tracker();
  char Want = char(std::tolower(static_cast<unsigned char>(Ch)));
  bool InBar = T.Levels.empty();
  HMENU Menu = InBar ? T.BarMenu : T.Levels.back().Menu;
  TMenuObj* M = MenuLookup(Menu);
  if (!M) return;
  int Cur = InBar ? T.BarSel : T.Levels.back().Sel;
  std::vector<int> Hits;
  for (std::size_t I = 0; I < M->Items.size(); ++I)
    if (!(M->Items[I].Type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) && MenuMnemonic(M->Items[I].Text) == Want)
      Hits.push_back(int(I));
  int Target = -1;
  bool Execute = false;
  if (Hits.size() == 1) {
    Target = Hits[0];
    Execute = true;
  } else if (Hits.size() > 1) {
    auto Next = std::upper_bound(Hits.begin(), Hits.end(), Cur);
    Target = Next == Hits.end() ? Hits[0] : *Next;
  } else {
    // Owner-drawn items have no text: the owner knows their mnemonics.
    LRESULT R = Tell(WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(Ch), InBar ? 0 : MF_POPUP), LPARAM(Menu));
    int Code = HIWORD(std::uintptr_t(R)), Index = LOWORD(std::uintptr_t(R));
    if (Code == MNC_CLOSE) {
      Finish(0);
      return;
    }
    if ((Code == MNC_EXECUTE || Code == MNC_SELECT) && std::size_t(Index) < M->Items.size()) {
      Target = Index;
      Execute = Code == MNC_EXECUTE;
    } else {
      MessageBeep(0);
      return;
    }
  }
  if (InBar) {
    BarSelect(Target, Execute, true);
    return;
  }
  std::size_t Li = T.Levels.size() - 1;
  CloseLevelsFrom(Li + 1);
  Select(Li, Target, false);
  if (Execute) Choose(Li, Target);
}

void Key(WORD Vk) {
  TTracker& T = Tracker();
  if (T.Levels.empty()) {
    // The bar alone is selected (Alt or F10 pressed).
    int N = BarCount();
    switch (Vk) {
      case VK_LEFT: BarSelect(N ? (T.BarSel - 1 + N) % N : -1, false, false); return;
      case VK_RIGHT: BarSelect(N ? (T.BarSel + 1) % N : -1, false, false); return;
      case VK_DOWN:
      case VK_UP:
      case VK_RETURN: {
        TMenuItemRec* It = ItemAt(T.BarMenu, T.BarSel);
        if (It && !It->SubMenu && Vk == VK_RETURN) {
          if (!Disabled(*It)) Finish(It->Id);
          return;
        }
        BarOpenPopup(true);
        return;
      }
      case VK_ESCAPE:
      case VK_MENU:
      case VK_F10: Finish(0); return;
      default: return;
    }
  }
  std::size_t Li = T.Levels.size() - 1;
  TLevel& L = T.Levels[Li];
  switch (Vk) {
    case VK_DOWN: Select(Li, NextSelectable(L, L.Sel, 1), false); return;
    case VK_UP: Select(Li, NextSelectable(L, L.Sel, -1), false); return;
    case VK_HOME: Select(Li, NextSelectable(L, -1, 1), false); return;
    case VK_END: Select(Li, NextSelectable(L, -1, -1), false); return;
    case VK_RIGHT:
      if (OpenSelectedSub(true)) return;
      if (T.Bar) {
        int N = BarCount();
        if (N) BarSelect((T.BarSel + 1) % N, true, true);
      }
      return;
    case VK_LEFT:
      if (Li > 0) {
        CloseLevelsFrom(Li);
        return;
      }
      if (T.Bar) {
        int N = BarCount();
        if (N) BarSelect((T.BarSel - 1 + N) % N, true, true);
      }
      return;
    case VK_RETURN:
      if (L.Sel >= 0) Choose(Li, L.Sel);
      return;
    case VK_ESCAPE:
      if (Li > 0) {
        CloseLevelsFrom(Li);
      } else if (T.Bar && !T.BarMouse) {
        CloseLevelsFrom(0);
        BarRedraw();
      } else {
        Finish(0);
      }
      return;
    case VK_MENU:
    case VK_F10: Finish(0); return;
    default: return;
  }
}

bool IsMouse(UINT Msg) {
  return (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) || (Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCMBUTTONDBLCLK);
}

// The loop both kinds of tracking share. Returns the chosen command (0 none).
UINT RunLoop() {
  TTracker& T = Tracker();
  MSG M;
  while (!T.Done) {
    if (!IsWindow(T.Owner) || (T.Bar && !IsWindow(T.BarWnd))) break;
    if (!T.Bar && T.Levels.empty()) break;
    if (GetCapture() != T.CaptureWnd) {
      if (!IsWindow(T.CaptureWnd)) break;
      // Someone else took the mouse: the menu closes, as on a real desktop.
      break;
    }
    int R = GetMessageA(&M, nullptr, 0, 0);
    if (R <= 0) {
      if (R == 0) PostQuitMessage(int(M.wParam));
      break;
    }
    if (T.Done) break;
    if (CallMsgFilterA(&M, MSGF_MENU)) continue;
    if (IsMouse(M.message)) {
      if (M.message == WM_MOUSEMOVE || M.message == WM_NCMOUSEMOVE) MouseMove(M.pt);
      else if (M.message != WM_MOUSEWHEEL) MouseButton(M);
      else if (!T.Levels.empty() && T.Levels.back().Scroll)
        ScrollBy(T.Levels.back(), GET_WHEEL_DELTA_WPARAM(M.wParam) > 0 ? -3 : 3);
      continue;
    }
    switch (M.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        Key(WORD(M.wParam));
        if (!T.Done) TranslateMessage(&M);
        continue;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (M.wParam >= 0x20 || M.wParam == 0) MenuChar(char(M.wParam));
        continue;
      case WM_KEYUP:
      case WM_SYSKEYUP: continue;
      default:
        TranslateMessage(&M);
        DispatchMessageA(&M);
    }
  }
  return T.Done ? T.Result : 0;
}

void Begin(HWND Owner, UINT Flags) {
  TTracker& T = Tracker();
  T = TTracker();
  T.Active = true;
  T.Owner = Owner;
  T.Flags = Flags;
  T.Notify = !(Flags & TPM_NONOTIFY);
  GetCursorPos(&T.LastPt);
}

void End(bool Popup) {
  TTracker& T = Tracker();
  CloseLevelsFrom(0);
  HWND Bar = T.Bar ? T.BarWnd : nullptr;
  T.BarSel = -1;
  if (Bar && IsWindow(Bar)) DrawMenuBar(Bar);
  if (T.CaptureWnd && GetCapture() == T.CaptureWnd) ReleaseCapture();
  if (T.Notify && IsWindow(T.Owner)) {
    Tell(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Tell(WM_EXITMENULOOP, Popup ? TRUE : FALSE, 0);
  }
  T.Active = false;
}
}  // namespace

// --- public calls ------------------------------------------------------------------------------------

void DrawMenuCheckMark(HDC Dc, const TRect& Box, bool Radio, COLORREF Color) { Glyph(Dc, Box, Radio ? 1 : 0, Color); }

void RegisterMenuWindowClass() {
  WNDCLASSA C;
  C.style = CS_SAVEBITS | CS_DBLCLKS;
  C.lpfnWndProc = &MenuWndProc;
  C.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  C.lpszClassName = MenuWindowClassName;
  RegisterClassA(&C);
}

HMENU TrackedMenu() {
  TTracker& T = Tracker();
  if (!T.Active) return nullptr;
  if (T.Bar) return T.BarMenu;
  return T.Levels.empty() ? nullptr : T.Levels.front().Menu;
}

std::vector<HWND> OpenMenuWindows() {
  std::vector<HWND> R;
  for (const TLevel& L : Tracker().Levels) R.push_back(L.Wnd);
  return R;
}

BOOL EndMenu() {
  TTracker& T = Tracker();
  if (!T.Active) return FALSE;
  T.Done = true;
  T.Result = 0;
  PostMessageA(T.CaptureWnd, WM_NULL, 0, 0);
  return TRUE;
}

void MenuTrackingReset() {
  TTracker& T = Tracker();
  // A loop waiting for input must wake to see that it is over.
  if (T.Active) PostMessageA(nullptr, WM_NULL, 0, 0);
  for (const TLevel& L : T.Levels)
    if (L.Wnd && IsWindow(L.Wnd)) DestroyWindow(L.Wnd);
  T.Levels.clear();
  T.Done = true;
  T.Result = 0;
  T.Active = false;
}

BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const TPMPARAMS* Params) {
  if (!MenuLookup(Menu)) return FALSE;
  if (!IsWindow(Owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (Tracker().Active) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  Begin(Owner, Flags);
  TTracker& T = Tracker();
  if (T.Notify) {
    Tell(WM_ENTERMENULOOP, TRUE, 0);
    Tell(WM_INITMENU, WPARAM(Menu), 0);
  }
  UINT Command = 0;
  const TRect* Exclude = Params ? &Params->rcExclude : nullptr;
  if (!T.Done && OpenLevel(Menu, -1, {X, Y}, Flags, Exclude, false)) {
    T.CaptureWnd = T.Levels.front().Wnd;
    SetCapture(T.CaptureWnd);
    try {
      Command = RunLoop();
    } catch (...) {
      End(true);
      throw;
    }
  }
  End(true);
  if (Flags & TPM_RETURNCMD) return BOOL(Command);
  if (Command && T.Notify && IsWindow(Owner)) PostMessageA(Owner, WM_COMMAND, MAKEWPARAM(int(Command), 0), 0);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Owner, const TRect*) {
  return TrackPopupMenuEx(Menu, Flags, X, Y, Owner, nullptr);
}

void MenuBarTrack(HWND Wnd, int Start, bool Open, bool Mouse) {
  HMENU Menu = GetMenu(Wnd);
  if (!Menu || Tracker().Active || GetMenuItemCount(Menu) <= 0) return;
  Begin(Wnd, 0);
  TTracker& T = Tracker();
  T.Bar = true;
  T.BarWnd = Wnd;
  T.BarMenu = Menu;
  T.BarMouse = Mouse;
  T.CaptureWnd = Wnd;
  SetCapture(Wnd);
  Tell(WM_ENTERMENULOOP, FALSE, 0);
  Tell(WM_INITMENU, WPARAM(Menu), 0);
  UINT Command = 0;
  if (!T.Done) {
    BarSelect(Start < 0 ? 0 : Start, Open, !Mouse);
    try {
      Command = RunLoop();
    } catch (...) {
      End(false);
      throw;
    }
  }
  End(false);
  if (Command && IsWindow(Wnd)) PostMessageA(Wnd, WM_COMMAND, MAKEWPARAM(int(Command), 0), 0);
}

void MenuKeyCommand(HWND Wnd, char Ch) {
  HMENU Menu = GetMenu(Wnd);
  if (Ch == ' ') return;  // FIXME: Alt+Space opens no system menu
  if (!Menu) {
    if (Ch) MessageBeep(0);
    return;
  }
  if (!Ch) {
    MenuBarTrack(Wnd, -1, false, false);
    return;
  }
  TMenuObj* M = MenuLookup(Menu);
  char Want = char(std::tolower(static_cast<unsigned char>(Ch)));
  for (std::size_t I = 0; M && I < M->Items.size(); ++I) {
    const TMenuItemRec& It = M->Items[I];
    if ((It.Type & MFT_SEPARATOR) || MenuMnemonic(It.Text) != Want) continue;
    if (It.SubMenu) {
      MenuBarTrack(Wnd, int(I), true, false);
    } else if (!Disabled(It)) {
      PostMessageA(Wnd, WM_COMMAND, MAKEWPARAM(int(It.Id), 0), 0);
    }
    return;
  }
  MessageBeep(0);
}

bool MenuPopupItemRect(HMENU Menu, UINT Item, TRect* R) {
  for (const TLevel& L : Tracker().Levels) {
    if (L.Menu != Menu || Item + 1 >= L.Tops.size()) continue;
    TRect W;
    GetWindowRect(L.Wnd, &W);
    TRect I = ItemRect(L, int(Item));
    *R = {W.Left + I.Left, W.Top + I.Top, W.Left + I.Right, W.Top + I.Bottom};
    return true;
  }
  return false;
}

int MenuBarHotItem(HWND Wnd, bool* Pressed) {
  TTracker& T = Tracker();
  if (!T.Active || !T.Bar || T.BarWnd != Wnd) return -1;
  if (Pressed) *Pressed = T.BarOpen;
  return T.BarSel;
}
