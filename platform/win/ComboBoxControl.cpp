#include "platform/win/ComboBoxControl.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {
constexpr const char* StateProp = "SxComboBoxState";
constexpr int EditId = 1001;
constexpr int ListId = 1000;
// The edit control's messages and notifications the combo box uses (the
// edit family's own header names them too).
constexpr UINT EditGetSel = 0x00B0;
constexpr UINT EditSetSel = 0x00B1;
constexpr UINT EditLimitText = 0x00C5;
constexpr int EditChange = 0x0300;
constexpr int EditUpdate = 0x0400;
constexpr DWORD EditAutoHScroll = 0x0080;
constexpr int Border = 3;  // sunken edge plus the field's inner margin

enum class TClose { Ok, Cancel, Quiet };

struct TCombo {
  HWND Wnd = nullptr;
  HWND List = nullptr;
  HWND Edit = nullptr;
  WNDPROC EditProc = nullptr;
  DWORD Style = 0;
  int FieldHeight = 13;  // the selection field's item height
  int DropHeight = 100;  // the list's height, from the height asked at creation
  int MinVisible = 0;    // rows the dropped list shows (0: from DropHeight)
  int DroppedWidth = 0;
  bool Dropped = false;
  int SelAtDrop = -1;
  bool Focused = false;
  bool PressedOnList = false;
  bool InTrack = false;       // the list's scroll bar has the mouse
  bool SettingText = false;   // our own edit updates: no CBN_EDIT*
  bool ExtendedUI = false;

  DWORD Kind() const { return Style & 3; }
  bool HasEdit() const { return Kind() == CBS_SIMPLE || Kind() == CBS_DROPDOWN; }
  bool DropsDown() const { return Kind() != CBS_SIMPLE; }
  bool OwnerDraw() const { return Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE); }
};

TCombo* StateOf(HWND Wnd) { return Wnd ? static_cast<TCombo*>(GetPropA(Wnd, StateProp)) : nullptr; }

void Notify(TCombo& C, int Code) {
  HWND Parent = GetParent(C.Wnd);
  if (Parent) SendMessageA(Parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(C.Wnd), Code), LPARAM(C.Wnd));
}

LRESULT ToList(TCombo& C, UINT Msg, WPARAM W = 0, LPARAM L = 0) { return SendMessageA(C.List, Msg, W, L); }

HFONT FontOf(HWND Wnd) {
  HFONT F = HFONT(SendMessageA(Wnd, WM_GETFONT, 0, 0));
  return F ? F : HFONT(GetStockObject(DEFAULT_GUI_FONT));
}

int FontHeight(HWND Wnd) {
  HDC Dc = GetDC(Wnd);
  TSelectObjectGuard Font(Dc, FontOf(Wnd));
  TEXTMETRICA Tm;
  const int H = GetTextMetricsA(Dc, &Tm) ? int(Tm.tmHeight) : 13;
  ReleaseDC(Wnd, Dc);
  return std::max(1, H);
}

int BoxHeight(const TCombo& C) { return C.FieldHeight + 2 * Border; }

TRect ClientOf(HWND Wnd) {
  TRect R;
  GetClientRect(Wnd, &R);
  return R;
}

TRect ButtonRect(const TCombo& C) {
  const TRect R = ClientOf(C.Wnd);
  if (!C.DropsDown()) return {};
  const int W = GetSystemMetrics(SM_CXVSCROLL);
  return {R.Right - 2 - W, 2, R.Right - 2, std::min(R.Bottom, BoxHeight(C)) - 2};
}

// Where the selection is shown: the edit's place, or the drop-down list's field.
TRect FieldRect(const TCombo& C) {
  const TRect R = ClientOf(C.Wnd);
  const int Right = C.DropsDown() ? ButtonRect(C).Left - 1 : R.Right - Border;
  return {Border, Border, std::max(Border, Right), Border + C.FieldHeight};
}

AnsiString ItemText(TCombo& C, int I) {
  const LRESULT N = ToList(C, LB_GETTEXTLEN, WPARAM(I));
  if (N < 0) return {};
  AnsiString S(std::size_t(N) + 1, '\0');
  const LRESULT Got = ToList(C, LB_GETTEXT, WPARAM(I), LPARAM(S.data()));
  S.resize(Got < 0 ? 0 : std::size_t(std::min(Got, N)));
  return S;
}

void SetEditText(TCombo& C, const AnsiString& Text) {
  if (!C.Edit) return;
  C.SettingText = true;
  SetWindowTextA(C.Edit, Text.c_str());
  C.SettingText = false;
  SendMessageA(C.Edit, EditSetSel, 0, -1);
}

// After the list's selection changed: the edit shows it, the field repaints.
void SelectionShown(TCombo& C) {
  const int Sel = int(ToList(C, LB_GETCURSEL));
  if (C.Edit && Sel >= 0) SetEditText(C, ItemText(C, Sel));
  InvalidateRect(C.Wnd, nullptr, FALSE);
}

void PlaceParts(TCombo& C) {
  const TRect R = ClientOf(C.Wnd);
  if (C.Edit) {
    const TRect F = FieldRect(C);
    const TRect E = C.DropsDown() ? F : TRect{0, 0, R.Right, BoxHeight(C)};
    MoveWindow(C.Edit, E.Left, E.Top, E.Width(), E.Height(), TRUE);
  }
  if (!C.DropsDown() && C.List) MoveWindow(C.List, 0, BoxHeight(C), R.Right, std::max(0, R.Bottom - BoxHeight(C)), TRUE);
}

// A drop-down combo box is as high as its field; the height asked for is
// the dropped list's.
void FixHeight(TCombo& C) {
  if (!C.DropsDown()) return;
  TRect Wr;
  GetWindowRect(C.Wnd, &Wr);
  if (Wr.Height() != BoxHeight(C))
    SetWindowPos(C.Wnd, nullptr, 0, 0, Wr.Width(), BoxHeight(C), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ListRowsHeight(TCombo& C) {
  const int Count = int(ToList(C, LB_GETCOUNT));
  const int ItemH = std::max(1, int(ToList(C, LB_GETITEMHEIGHT, 0)));
  const int Rows = C.MinVisible > 0 ? std::max(1, std::min(Count, C.MinVisible)) : 0;
  // A short list shrinks to its items; an empty one shows one blank row.
  if (Rows == 0 && !(C.Style & CBS_OWNERDRAWVARIABLE))
    return std::min(std::max(C.DropHeight, ItemH + 2), std::max(Count, 1) * ItemH + 2);
  if (Rows == 0) return std::max(C.DropHeight, ItemH + 2);
  if (!(C.Style & CBS_OWNERDRAWVARIABLE)) return Rows * ItemH + 2;
  int H = 2;
  for (int I = 0; I < Rows; ++I) H += std::max(1, int(ToList(C, LB_GETITEMHEIGHT, WPARAM(I))));
  return H;
}

void Drop(TCombo& C) {
  if (C.Dropped || !C.DropsDown() || !IsWindowEnabled(C.Wnd)) return;
  const HWND Wnd = C.Wnd;
  Notify(C, CBN_DROPDOWN);
  if (!IsWindow(Wnd)) return;  // the handler destroyed it
  TRect Wr;
  GetWindowRect(C.Wnd, &Wr);
  const int Width = std::max(C.DroppedWidth, Wr.Width());
  const int Height = ListRowsHeight(C);
  const int ScreenH = GetSystemMetrics(SM_CYSCREEN);
  int Y = Wr.Bottom;
  // No room below but more above: the list opens upwards.
  if (Y + Height > ScreenH && Wr.Top - Height >= 0) Y = Wr.Top - Height;
  C.SelAtDrop = int(ToList(C, LB_GETCURSEL));
  SetWindowPos(C.List, HWND_TOPMOST, Wr.Left, Y, Width, Height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  // The list opens at its start, scrolled only as far as the selection needs.
  ToList(C, LB_SETTOPINDEX, 0);
  if (C.SelAtDrop >= 0) ToList(C, LB_SETCARETINDEX, WPARAM(C.SelAtDrop));
  C.Dropped = true;
  C.PressedOnList = false;
  SetCapture(C.Wnd);
  InvalidateRect(C.Wnd, nullptr, FALSE);
}

void CloseUp(TCombo& C, TClose How) {
  if (!C.Dropped) return;
  C.Dropped = false;
  C.PressedOnList = false;
  ShowWindow(C.List, SW_HIDE);
  if (GetCapture() == C.Wnd) ReleaseCapture();
  InvalidateRect(C.Wnd, nullptr, FALSE);
  const int Sel = int(ToList(C, LB_GETCURSEL));
  // A handler may destroy the combo box (and this state): ask by handle.
  const HWND Wnd = C.Wnd;
  if (How == TClose::Cancel) {
    if (Sel != C.SelAtDrop) ToList(C, LB_SETCURSEL, WPARAM(C.SelAtDrop));
    Notify(C, CBN_SELENDCANCEL);
  } else if (How == TClose::Ok) {
    const bool Changed = Sel != C.SelAtDrop;
    Notify(C, CBN_SELENDOK);
    if (Changed && IsWindow(Wnd)) {
      SelectionShown(C);
      Notify(C, CBN_SELCHANGE);
    }
  }
  if (IsWindow(Wnd)) Notify(C, CBN_CLOSEUP);
}

// Keys every combo box answers, from itself or from its edit. True when used.
bool ComboKey(TCombo& C, UINT Msg, WPARAM Vk) {
  const bool Alt = Msg == WM_SYSKEYDOWN;
  if ((Vk == VK_F4 && !Alt) || (Alt && (Vk == VK_DOWN || Vk == VK_UP))) {
    if (!C.DropsDown()) return true;
    if (C.Dropped) CloseUp(C, TClose::Ok);
    else Drop(C);
    return true;
  }
  if (Alt) return false;
  switch (Vk) {
    case VK_RETURN:
      if (!C.Dropped) return false;
      CloseUp(C, TClose::Ok);
      return true;
    case VK_ESCAPE:
      if (!C.Dropped) return false;
      CloseUp(C, TClose::Cancel);
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      if (C.ExtendedUI && !C.Dropped && C.DropsDown() && Vk == VK_DOWN) {
        Drop(C);
        return true;
      }
      ToList(C, WM_KEYDOWN, Vk, 0);
      return true;
    case VK_HOME:
    case VK_END:
      if (C.Edit) return false;  // the edit's own line start and end
      ToList(C, WM_KEYDOWN, Vk, 0);
      return true;
    default: return false;
  }
}

// --- the edit part ---------------------------------------------------------------------------

LRESULT EditSubclassProc(HWND Edit, UINT Msg, WPARAM W, LPARAM L) {
  HWND Combo = GetParent(Edit);
  TCombo* C = StateOf(Combo);
  if (!C || !C->EditProc) return DefWindowProcA(Edit, Msg, W, L);
  const WNDPROC Original = C->EditProc;
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ComboKey(*C, Msg, W)) return 0;
      break;
    case WM_CHAR:
      // Enter and Esc closed the list already; the edit must not beep.
      if ((W == '\r' || W == 27) && !C->Dropped) break;
      if (W == '\r' || W == 27) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT R = CallWindowProcA(Original, Edit, Msg, W, L);
      if (C->Dropped) R |= DLGC_WANTALLKEYS;
      return R;
    }
    case WM_SETFOCUS:
      if (!C->Focused) {
        C->Focused = true;
        Notify(*C, CBN_SETFOCUS);
      }
      break;
    case WM_KILLFOCUS: {
      const HWND To = HWND(W);
      LRESULT R = CallWindowProcA(Original, Edit, Msg, W, L);
      if (To != Combo && To != C->List && (C = StateOf(Combo)) != nullptr) {
        CloseUp(*C, TClose::Cancel);
        C->Focused = false;
        Notify(*C, CBN_KILLFOCUS);
      }
      return R;
    }
    default: break;
  }
  return CallWindowProcA(Original, Edit, Msg, W, L);
}

// --- painting --------------------------------------------------------------------------------

void PaintField(TCombo& C, HDC Dc) {
  const TRect F = FieldRect(C);
  const int Sel = int(ToList(C, LB_GETCURSEL));
  const bool Enabled = IsWindowEnabled(C.Wnd);
  const bool Highlight = C.Focused && !C.Dropped;
  if (C.OwnerDraw()) {
    DRAWITEMSTRUCT D;
    D.CtlType = ODT_COMBOBOX;
    D.CtlID = UINT(GetDlgCtrlID(C.Wnd));
    D.itemID = UINT(Sel);
    D.itemAction = ODA_DRAWENTIRE;
    D.itemState = ODS_COMBOBOXEDIT | (Highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (Enabled ? 0 : ODS_DISABLED);
    D.hwndItem = C.Wnd;
    D.hDC = Dc;
    D.rcItem = F;
    D.itemData = Sel >= 0 ? ULONG_PTR(ToList(C, LB_GETITEMDATA, WPARAM(Sel))) : 0;
    TSaveDcGuard Keep(Dc);
    IntersectClipRect(Dc, F.Left, F.Top, F.Right, F.Bottom);
    if (HWND Parent = GetParent(C.Wnd)) SendMessageA(Parent, WM_DRAWITEM, D.CtlID, LPARAM(&D));
    return;
  }
  const COLORREF Back = Highlight ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(Dc);
  const COLORREF Fore = !Enabled ? GetSysColor(COLOR_GRAYTEXT)
                                 : Highlight ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetTextColor(Dc);
  SetBkColor(Dc, Back);
  SetTextColor(Dc, Fore);
  const AnsiString Text = Sel >= 0 ? ItemText(C, Sel) : AnsiString();
  const std::size_t N = std::min<std::size_t>(Text.size(), 4096);
  ExtTextOutA(Dc, F.Left + 1, F.Top, ETO_OPAQUE | ETO_CLIPPED, &F, Text.data(), UINT(N), nullptr);
  if (Highlight) DrawFocusRect(Dc, &F);
}

void Paint(TCombo& C, HDC Dc) {
  TSaveDcGuard Keep(Dc);
  const TRect R = ClientOf(C.Wnd);
  HWND Parent = GetParent(C.Wnd);
  const UINT ColorMsg = C.Edit ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX;
  HBRUSH Brush = Parent ? HBRUSH(SendMessageA(Parent, ColorMsg, WPARAM(Dc), LPARAM(C.Wnd))) : nullptr;
  if (!Brush) {
    Brush = GetSysColorBrush(COLOR_WINDOW);
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
  }
  if (!IsWindowEnabled(C.Wnd)) Brush = GetSysColorBrush(COLOR_3DFACE), SetBkColor(Dc, GetSysColor(COLOR_3DFACE));
  SelectObject(Dc, FontOf(C.Wnd));
  TRect Box{0, 0, R.Right, std::min(R.Bottom, BoxHeight(C))};
  if (!C.DropsDown()) FillRect(Dc, &R, GetSysColorBrush(COLOR_3DFACE));
  FillRect(Dc, &Box, Brush);
  if (C.DropsDown()) {
    TRect Edge = Box;
    DrawEdge(Dc, &Edge, EDGE_SUNKEN, BF_RECT);
    TRect B = ButtonRect(C);
    UINT State = DFCS_SCROLLCOMBOBOX;
    if (C.Dropped) State |= DFCS_PUSHED | DFCS_FLAT;
    if (!IsWindowEnabled(C.Wnd)) State |= DFCS_INACTIVE;
    DrawFrameControl(Dc, &B, DFC_SCROLL, State);
  }
  if (!C.Edit) PaintField(C, Dc);
}

// --- mouse -------------------------------------------------------------------------------------

TPoint ScreenPoint(HWND Wnd, LPARAM L) {
  TPoint P{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
  ClientToScreen(Wnd, &P);
  return P;
}

// The list's item under a screen point, -1 when the point is off its items.
int ListItemAt(TCombo& C, TPoint Screen) {
  TPoint P = Screen;
  ScreenToClient(C.List, &P);
  if (!ClientOf(C.List).Contains(P)) return -1;
  const LRESULT R = ToList(C, LB_ITEMFROMPOINT, 0, MAKELPARAM(P.X, P.Y));
  if (HIWORD(std::uintptr_t(R))) return -1;
  // The low word holds the index's low 16 bits; the rows shown are near the top.
  const int Top = int(ToList(C, LB_GETTOPINDEX));
  return Top + WORD(LOWORD(std::uintptr_t(R)) - WORD(Top));
}

void DroppedMouse(TCombo& C, UINT Msg, LPARAM L) {
  const TPoint S = ScreenPoint(C.Wnd, L);
  TRect ListRect, ComboRect;
  GetWindowRect(C.List, &ListRect);
  GetWindowRect(C.Wnd, &ComboRect);
  const int Item = ListItemAt(C, S);
  switch (Msg) {
    case WM_MOUSEMOVE:
      if (Item >= 0 && Item != int(ToList(C, LB_GETCURSEL))) ToList(C, LB_SETCURSEL, WPARAM(Item));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (ListRect.Contains(S)) {
        if (Item >= 0) {
          C.PressedOnList = true;
          break;
        }
        const LRESULT Hit = SendMessageA(C.List, WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y));
        if (Hit == HTVSCROLL || Hit == HTHSCROLL) {
          const HWND Wnd = C.Wnd;
          C.InTrack = true;
          ScrollBarTrack(C.List, Hit == HTVSCROLL ? SB_VERT : SB_HORZ, S);
          if (!IsWindow(Wnd)) break;
          C.InTrack = false;
          if (C.Dropped) SetCapture(Wnd);
        }
        break;
      }
      // A click anywhere else, the combo box itself included, closes.
      CloseUp(C, TClose::Cancel);
      break;
    case WM_LBUTTONUP:
      if (Item >= 0) {
        ToList(C, LB_SETCURSEL, WPARAM(Item));
        CloseUp(C, TClose::Ok);
      }
      break;
    default: break;
  }
}

// --- creation ----------------------------------------------------------------------------------

LRESULT Create(TCombo& C, const CREATESTRUCTA* Cs) {
  HWND Wnd = C.Wnd;
  C.FieldHeight = FontHeight(Wnd);
  DWORD ListStyle = LBS_COMBOBOX | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
  if (C.Style & CBS_OWNERDRAWFIXED) ListStyle |= LBS_OWNERDRAWFIXED;
  if (C.Style & CBS_OWNERDRAWVARIABLE) ListStyle |= LBS_OWNERDRAWVARIABLE;
  if (C.Style & CBS_SORT) ListStyle |= LBS_SORT;
  if (C.Style & CBS_HASSTRINGS) ListStyle |= LBS_HASSTRINGS;
  if (C.Style & CBS_DISABLENOSCROLL) ListStyle |= LBS_DISABLENOSCROLL;
  if (C.OwnerDraw()) {
    // The field's height first (item -1), then the list's rows.
    MEASUREITEMSTRUCT M;
    M.CtlType = ODT_COMBOBOX;
    M.CtlID = UINT(GetDlgCtrlID(Wnd));
    M.itemID = UINT(-1);
    M.itemHeight = UINT(C.FieldHeight);
    if (HWND Parent = GetParent(Wnd)) SendMessageA(Parent, WM_MEASUREITEM, M.CtlID, LPARAM(&M));
    C.FieldHeight = std::clamp(int(M.itemHeight), 1, 255);
  }
  const int Width = Cs->cx, Height = Cs->cy;
  if (C.DropsDown()) {
    C.DropHeight = std::max(Height - BoxHeight(C), C.FieldHeight + 2);
    C.List = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ComboLBoxClassName, "", WS_POPUP | ListStyle, 0, 0,
                             Width, C.DropHeight, Wnd, nullptr, nullptr, nullptr);
  } else {
    C.List = CreateWindowExA(0, ComboLBoxClassName, "", WS_CHILD | WS_VISIBLE | ListStyle, 0, BoxHeight(C), Width,
                             std::max(0, Height - BoxHeight(C)), Wnd, reinterpret_cast<HMENU>(std::intptr_t(ListId)),
                             nullptr, nullptr);
  }
  if (!C.List) return -1;
  if (C.HasEdit()) {
    DWORD EditStyle = WS_CHILD | WS_VISIBLE;
    if (C.Style & CBS_AUTOHSCROLL) EditStyle |= EditAutoHScroll;
    if (!C.DropsDown()) EditStyle |= WS_BORDER;
    C.Edit = CreateWindowExA(0, "EDIT", "", EditStyle, 0, 0, 1, 1, Wnd,
                             reinterpret_cast<HMENU>(std::intptr_t(EditId)), nullptr, nullptr);
    // Without an edit class there is no drop-down combo box to make.
    if (!C.Edit) return -1;
    C.EditProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(C.Edit, GWLP_WNDPROC));
    SetWindowLongPtrA(C.Edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSubclassProc));
  }
  if (Cs->lpszName && reinterpret_cast<std::uintptr_t>(Cs->lpszName) > 0xFFFF && C.Edit)
    SetEditText(C, Cs->lpszName);
  FixHeight(C);
  PlaceParts(C);
  return 0;
}

LRESULT Dispatch(TCombo& C, UINT Msg, WPARAM W, LPARAM L) {
  HWND Wnd = C.Wnd;
  switch (Msg) {
    case WM_CREATE: return Create(C, reinterpret_cast<const CREATESTRUCTA*>(L));

    // --- the list's items, passed on
    case CB_ADDSTRING: return ToList(C, LB_ADDSTRING, W, L);
    case CB_INSERTSTRING: return ToList(C, LB_INSERTSTRING, W, L);
    case CB_DELETESTRING: {
      const LRESULT R = ToList(C, LB_DELETESTRING, W, L);
      InvalidateRect(Wnd, nullptr, FALSE);
      return R;
    }
    case CB_RESETCONTENT:
      ToList(C, LB_RESETCONTENT);
      if (C.Edit) SetEditText(C, "");
      InvalidateRect(Wnd, nullptr, FALSE);
      return CB_OKAY;
    case CB_INITSTORAGE: return ToList(C, LB_INITSTORAGE, W, L);
    case CB_GETCOUNT: return ToList(C, LB_GETCOUNT);
    case CB_GETLBTEXT: return ToList(C, LB_GETTEXT, W, L);
    case CB_GETLBTEXTLEN: return ToList(C, LB_GETTEXTLEN, W, L);
    case CB_FINDSTRING: return ToList(C, LB_FINDSTRING, W, L);
    case CB_FINDSTRINGEXACT: return ToList(C, LB_FINDSTRINGEXACT, W, L);
    case CB_GETITEMDATA: return ToList(C, LB_GETITEMDATA, W, L);
    case CB_SETITEMDATA: return ToList(C, LB_SETITEMDATA, W, L);
    case CB_GETTOPINDEX: return ToList(C, LB_GETTOPINDEX);
    case CB_SETTOPINDEX: return ToList(C, LB_SETTOPINDEX, W) == LB_ERR ? CB_ERR : CB_OKAY;
    case CB_GETHORIZONTALEXTENT: return ToList(C, LB_GETHORIZONTALEXTENT);
    case CB_SETHORIZONTALEXTENT: return ToList(C, LB_SETHORIZONTALEXTENT, W);
    case CB_GETCURSEL: return ToList(C, LB_GETCURSEL);
    case CB_SETCURSEL: {
      const LRESULT R = ToList(C, LB_SETCURSEL, W);
      if (R == LB_ERR && C.Edit) SetEditText(C, "");
      SelectionShown(C);
      return R;
    }
    case CB_SELECTSTRING: {
      const LRESULT R = ToList(C, LB_SELECTSTRING, W, L);
      if (R != LB_ERR) SelectionShown(C);
      return R;
    }

    // --- drop-down
    case CB_SHOWDROPDOWN:
      if (W) Drop(C);
      else CloseUp(C, TClose::Quiet);
      return TRUE;
    case CB_GETDROPPEDSTATE: return C.Dropped;
    case CB_SETDROPPEDWIDTH:
      if (int(W) < 0) return CB_ERR;
      C.DroppedWidth = int(W);
      return std::max<LRESULT>(C.DroppedWidth, ClientOf(Wnd).Width());
    case CB_GETDROPPEDWIDTH: {
      TRect Wr;
      GetWindowRect(Wnd, &Wr);
      return std::max(C.DroppedWidth, Wr.Width());
    }
    case CB_GETDROPPEDCONTROLRECT: {
      if (!L) return CB_ERR;
      TRect Wr;
      GetWindowRect(Wnd, &Wr);
      *reinterpret_cast<TRect*>(L) = {Wr.Left, Wr.Top, Wr.Left + std::max(C.DroppedWidth, Wr.Width()),
                                      Wr.Bottom + ListRowsHeight(C)};
      return TRUE;
    }
    case CB_SETMINVISIBLE:
      if (int(W) <= 0) return FALSE;
      C.MinVisible = int(W);
      return TRUE;
    case CB_GETMINVISIBLE:
      return C.MinVisible > 0 ? C.MinVisible
                              : std::max(1, C.DropHeight / std::max(1, int(ToList(C, LB_GETITEMHEIGHT, 0))));
    case CB_SETEXTENDEDUI: C.ExtendedUI = W != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return C.ExtendedUI;
    case CB_GETITEMHEIGHT:
      if (int(W) == -1) return C.FieldHeight;
      return ToList(C, LB_GETITEMHEIGHT, W);
    case CB_SETITEMHEIGHT:
      if (int(W) == -1) {
        const int H = int(LOWORD(std::uintptr_t(L)));
        if (H <= 0 || H > 255) return CB_ERR;
        C.FieldHeight = H;
        FixHeight(C);
        PlaceParts(C);
        InvalidateRect(Wnd, nullptr, TRUE);
        return CB_OKAY;
      }
      return ToList(C, LB_SETITEMHEIGHT, W, L);

    // --- the edit part
    case CB_LIMITTEXT:
      if (C.Edit) SendMessageA(C.Edit, EditLimitText, W, 0);
      return TRUE;
    case CB_SETEDITSEL:
      if (!C.Edit) return CB_ERR;
      SendMessageA(C.Edit, EditSetSel, WPARAM(SHORT(LOWORD(std::uintptr_t(L)))),
                   LPARAM(SHORT(HIWORD(std::uintptr_t(L)))));
      return TRUE;
    case CB_GETEDITSEL: {
      if (!C.Edit) return CB_ERR;
      return SendMessageA(C.Edit, EditGetSel, W, L);
    }
    case WM_SETTEXT: {
      if (C.Edit) {
        C.SettingText = true;
        const LRESULT R = SendMessageA(C.Edit, WM_SETTEXT, W, L);
        C.SettingText = false;
        return R;
      }
      const LRESULT I = L ? ToList(C, LB_FINDSTRINGEXACT, WPARAM(-1), L) : LB_ERR;
      ToList(C, LB_SETCURSEL, WPARAM(I));
      InvalidateRect(Wnd, nullptr, FALSE);
      return I == LB_ERR ? CB_ERR : TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (C.Edit) return SendMessageA(C.Edit, Msg, W, L);
      const int Sel = int(ToList(C, LB_GETCURSEL));
      const AnsiString Text = Sel >= 0 ? ItemText(C, Sel) : AnsiString();
      if (Msg == WM_GETTEXTLENGTH) return LRESULT(Text.size());
      if (!L || W == 0) return 0;
      const std::size_t N = std::min<std::size_t>(Text.size(), W - 1);
      std::memcpy(reinterpret_cast<char*>(L), Text.data(), N);
      reinterpret_cast<char*>(L)[N] = 0;
      return LRESULT(N);
    }

    // --- what the parts tell
    case WM_COMMAND: {
      const HWND From = HWND(L);
      const int Code = HIWORD(W);
      if (From == C.Edit && C.Edit) {
        if (C.SettingText) return 0;
        if (Code == EditChange) {
          if (C.Dropped) {
            // The list follows what is typed.
            const AnsiString Text = WindowTextOf(C.Edit);
            const LRESULT I = ToList(C, LB_FINDSTRING, WPARAM(-1), LPARAM(Text.c_str()));
            if (I != LB_ERR) ToList(C, LB_SETCURSEL, WPARAM(I));
          }
          Notify(C, CBN_EDITCHANGE);
        } else if (Code == EditUpdate) {
          Notify(C, CBN_EDITUPDATE);
        }
        return 0;
      }
      if (From == C.List && C.List) {
        if (Code == LBN_SELCHANGE) {
          if (C.Dropped) C.SelAtDrop = int(ToList(C, LB_GETCURSEL));
          SelectionShown(C);
          Notify(C, CBN_SELCHANGE);
        } else if (Code == LBN_DBLCLK) {
          Notify(C, CBN_DBLCLK);
        }
        return 0;
      }
      return 0;
    }
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // The parent colours the parts as the combo box (its control knows it).
      if (HWND Parent = GetParent(Wnd)) return SendMessageA(Parent, Msg, W, LPARAM(Wnd));
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
      if (HWND Parent = GetParent(Wnd)) return SendMessageA(Parent, Msg, W, L);
      return 0;

    // --- window
    case WM_SETFONT:
      DefWindowProcA(Wnd, Msg, W, L);
      if (C.Edit) SendMessageA(C.Edit, WM_SETFONT, W, L);
      SendMessageA(C.List, WM_SETFONT, W, L);
      if (!C.OwnerDraw()) C.FieldHeight = FontHeight(Wnd);
      FixHeight(C);
      PlaceParts(C);
      if (LOWORD(std::uintptr_t(L))) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* Pos = reinterpret_cast<WINDOWPOS*>(L);
      if (Pos && !(Pos->flags & SWP_NOSIZE) && C.DropsDown() && C.List) {
        if (Pos->cy > BoxHeight(C)) C.DropHeight = Pos->cy - BoxHeight(C);
        Pos->cy = BoxHeight(C);
      }
      return DefWindowProcA(Wnd, Msg, W, L);
    }
    case WM_SIZE:
      PlaceParts(C);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_ENABLE:
      if (C.Edit) EnableWindow(C.Edit, BOOL(W));
      EnableWindow(C.List, BOOL(W));
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      TControlPaintDc Dc(Wnd, W);
      Paint(C, Dc.Dc());
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (C.Dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
      if (C.Edit) {
        SetFocus(C.Edit);
        SendMessageA(C.Edit, EditSetSel, 0, -1);
        return 0;
      }
      if (!C.Focused) {
        C.Focused = true;
        Notify(C, CBN_SETFOCUS);
      }
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      if (C.Edit) return 0;  // the edit's focus is the combo box's
      CloseUp(C, TClose::Cancel);
      if (C.Focused) {
        C.Focused = false;
        Notify(C, CBN_KILLFOCUS);
      }
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ComboKey(C, Msg, W)) return 0;
      return Msg == WM_SYSKEYDOWN ? DefWindowProcA(Wnd, Msg, W, L) : 0;
    case WM_CHAR:
      if (!C.Edit) ToList(C, WM_CHAR, W, L);
      return 0;
    case WM_MOUSEWHEEL:
      if (C.Dropped) return ToList(C, Msg, W, L);
      if (!C.Edit || C.Focused) ToList(C, WM_KEYDOWN, GET_WHEEL_DELTA_WPARAM(W) > 0 ? VK_UP : VK_DOWN, 0);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (C.Dropped) {
        DroppedMouse(C, Msg, L);
        return 0;
      }
      if (GetFocus() != (C.Edit ? C.Edit : Wnd)) SetFocus(Wnd);
      if (!IsWindow(Wnd)) return 0;
      if (C.DropsDown() && (!C.Edit || ButtonRect(C).Contains({GET_X_LPARAM(L), GET_Y_LPARAM(L)}))) Drop(C);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (C.Dropped) DroppedMouse(C, Msg, L);
      return 0;
    case WM_CAPTURECHANGED:
      if (C.Dropped && !C.InTrack && HWND(L) != Wnd) CloseUp(C, TClose::Cancel);
      return 0;
    case WM_CANCELMODE: CloseUp(C, TClose::Cancel); return 0;
    case WM_DESTROY:
      // The dropped list belongs to the top-level window; it goes with us.
      if (C.List && C.DropsDown() && IsWindow(C.List)) DestroyWindow(C.List);
      C.List = nullptr;
      return 0;
    default: return DefWindowProcA(Wnd, Msg, W, L);
  }
}
}  // namespace

LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  TCombo* State = StateOf(Wnd);
  if (!State) {
    if (Msg == WM_NCCREATE) {
      auto C = std::make_unique<TCombo>();
      C->Wnd = Wnd;
      const auto* Cs = reinterpret_cast<const CREATESTRUCTA*>(L);
      C->Style = DWORD(Cs ? Cs->style : GetWindowLongA(Wnd, GWL_STYLE));
      if ((C->Style & 3) == 0) C->Style |= CBS_SIMPLE;
      if (!(C->Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) C->Style |= CBS_HASSTRINGS;
      const bool Bars = C->Style & (WS_VSCROLL | WS_HSCROLL);
      SetPropA(Wnd, StateProp, C.release());
      // Scroll-bar styles are the list's; the combo box itself has none.
      if (Bars) SetWindowLongA(Wnd, GWL_STYLE, GetWindowLongA(Wnd, GWL_STYLE) & ~LONG_PTR(WS_VSCROLL | WS_HSCROLL));
    }
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  if (Msg == WM_NCDESTROY) {
    if (GetCapture() == Wnd) ReleaseCapture();
    RemovePropA(Wnd, StateProp);
    delete State;
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  return Dispatch(*State, Msg, W, L);
}

HWND ComboBoxListWindow(HWND Combo) {
  TCombo* C = StateOf(Combo);
  return C ? C->List : nullptr;
}

HWND ComboBoxEditWindow(HWND Combo) {
  TCombo* C = StateOf(Combo);
  return C ? C->Edit : nullptr;
}

bool RegisterComboBoxClass() {
  WNDCLASSA Existing;
  if (GetClassInfoA(nullptr, WC_COMBOBOXA, &Existing)) return true;
  // The list comes with the combo box.
  RegisterListBoxClasses();
  WNDCLASSA C;
  C.style = CS_DBLCLKS | CS_GLOBALCLASS;
  C.lpfnWndProc = &ComboBoxWndProc;
  C.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  C.lpszClassName = WC_COMBOBOXA;
  return RegisterClassA(&C) != 0;
}
