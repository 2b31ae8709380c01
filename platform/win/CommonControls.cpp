#include "platform/win/CommonControls_p.h"

#include <algorithm>
#include <cstdlib>

#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace commctrl {

LRESULT Notify(HWND Wnd, UINT Code, NMHDR* Hdr) {
  Hdr->hwndFrom = Wnd;
  Hdr->idFrom = UINT_PTR(GetDlgCtrlID(Wnd));
  Hdr->code = Code;
  HWND Parent = GetParent(Wnd);
  if (!Parent) return 0;
  return SendMessageA(Parent, WM_NOTIFY, WPARAM(Hdr->idFrom), LPARAM(Hdr));
}

HFONT ControlFont(HFONT Set) {
  return Set ? Set : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int FontHeight(HFONT Font) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Font);
  TEXTMETRICA Tm{};
  GetTextMetricsA(Dc, &Tm);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return Tm.tmHeight > 0 ? int(Tm.tmHeight) : 13;
}

int TextWidth(HDC Dc, const std::string& Text) {
  TSize S{0, 0};
  if (!Text.empty()) GetTextExtentPoint32A(Dc, Text.data(), int(Text.size()), &S);
  return S.cx;
}

TRect DrawLabel(HDC Dc, const std::string& Text, TRect Box, TItemLook Look, bool FocusRect, UINT Align) {
  const int W = TextWidth(Dc, Text) + 4;
  TRect R = Box;
  if (Align == DT_CENTER) {
    if (W < Box.Width()) R.Left = Box.Left + (Box.Width() - W) / 2;
    R.Right = std::min(Box.Right, R.Left + W);
  } else {
    R.Right = std::min(Box.Right, Box.Left + W);
  }
  COLORREF Text_ = GetSysColor(COLOR_WINDOWTEXT);
  if (Look != TItemLook::Normal) {
    const int Back = Look == TItemLook::Selected ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    FillRect(Dc, &R, GetSysColorBrush(Back));
    if (Look == TItemLook::Selected) Text_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, Text_);
  TRect T = R;
  T.Left += 2;
  T.Right -= 1;
  std::string Copy = Text;
  DrawTextA(Dc, Copy.data(), int(Copy.size()), &T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (FocusRect) DrawFocusRect(Dc, &R);
  return R;
}

bool BeyondDragThreshold(TPoint Down, TPoint P) {
  return std::abs(P.X - Down.X) > GetSystemMetrics(SM_CXDRAG) / 2 ||
         std::abs(P.Y - Down.Y) > GetSystemMetrics(SM_CYDRAG) / 2;
}

namespace {
// Enter and Esc end the edit instead of reaching a dialog's buttons.
LRESULT LabelEditProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  switch (Msg) {
    case WM_GETDLGCODE: return EditWndProc(Wnd, Msg, W, L) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (W == VK_RETURN || W == VK_ESCAPE) {
        if (HWND View = GetParent(Wnd)) SendMessageA(View, LabelEditEndMessage, W == VK_ESCAPE, LPARAM(Wnd));
        return 0;
      }
      break;
    case WM_CHAR:
      if (W == '\r' || W == 0x1B) return 0;
      break;
    default: break;
  }
  return EditWndProc(Wnd, Msg, W, L);
}
}  // namespace

HWND TLabelEdit::Create(HWND Owner, HFONT Font, const std::string& Text, const TRect& Box) {
  HWND E = CreateWindowExA(0, "EDIT", Text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, Box.Left, Box.Top,
                           std::max(1, Box.Width()), std::max(1, Box.Height()), Owner, nullptr, nullptr, nullptr);
  if (!E) return nullptr;
  SetWindowLongPtrA(E, GWLP_WNDPROC, LONG_PTR(&LabelEditProc));
  SendMessageA(E, WM_SETFONT, WPARAM(Font), 0);
  FEdit = E;
  FOwner = Owner;
  FBox = Box;
  return E;
}

void TLabelEdit::Fit() {
  HWND E = Wnd();
  if (!E) return;
  const std::string Text = WindowTextOf(E);
  HDC Dc = GetDC(E);
  HGDIOBJ Old = SelectObject(Dc, HFONT(SendMessageA(E, WM_GETFONT, 0, 0)));
  TEXTMETRICA Tm{};
  GetTextMetricsA(Dc, &Tm);
  // Room for the text, the caret and the next character.
  const int Want = TextWidth(Dc, Text) + 2 * std::max<int>(Tm.tmAveCharWidth, 4) + 4;
  SelectObject(Dc, Old);
  ReleaseDC(E, Dc);
  TRect Client;
  GetClientRect(FOwner, &Client);
  const int Right = std::max<int>(FBox.Left + 1, std::min<int>(FBox.Left + std::max(Want, FBox.Width()), Client.Right));
  MoveWindow(E, FBox.Left, FBox.Top, Right - FBox.Left, FBox.Height(), TRUE);
}

void TLabelEdit::Show() {
  HWND E = Wnd();
  if (!E) return;
  Fit();
  ShowWindow(E, SW_SHOW);
  SendMessageA(E, EM_SETSEL, 0, -1);
  SetFocus(E);
}

HWND TLabelEdit::Release() {
  HWND E = Wnd();
  FEdit = nullptr;
  return E;
}

bool TLabelEdit::Route(UINT Msg, WPARAM W, LPARAM L, const std::function<void(bool Cancel)>& End) {
  if (Msg == LabelEditEndMessage) {
    if (reinterpret_cast<HWND>(L) == Wnd()) End(W != 0);
    return true;
  }
  if (Msg != WM_COMMAND || !Wnd() || reinterpret_cast<HWND>(L) != Wnd()) return false;
  if (HIWORD(W) == EN_KILLFOCUS) End(false);
  else if (HIWORD(W) == EN_CHANGE) Fit();
  return true;
}

bool TLabelEdit::Finish(HWND View, const std::function<void(std::string& Text)>& Tell) {
  HWND E = Release();
  if (!E) return false;
  std::string Text = WindowTextOf(E);
  ShowWindow(E, SW_HIDE);
  if (GetFocus() == E) SetFocus(View);
  struct TCloser {
    HWND View, Edit;
    ~TCloser() { CloseLabelEdit(View, Edit); }
  } Closer{View, E};
  Tell(Text);
  return true;
}

void CloseLabelEdit(HWND View, HWND Edit) {
  if (!IsWindow(Edit)) return;
  ShowWindow(Edit, SW_HIDE);
  if (GetFocus() == Edit) SetFocus(View);
  if (IsWindow(Edit)) DestroyWindow(Edit);
}

void RegisterCommonClass(const char* Name, WNDPROC Proc) {
  WNDCLASSA Existing;
  if (GetClassInfoA(nullptr, Name, &Existing)) return;
  WNDCLASSA C;
  C.style = CS_DBLCLKS | CS_GLOBALCLASS;
  C.lpfnWndProc = Proc;
  C.lpszClassName = Name;
  C.hbrBackground = nullptr;
  RegisterClassA(&C);
}

}  // namespace commctrl

void InitCommonControls() {
  commctrl::RegisterCommonClass(WC_TREEVIEW, &commctrl::TreeViewProc);
  commctrl::RegisterCommonClass(WC_LISTVIEW, &commctrl::ListViewProc);
  commctrl::RegisterCommonClass(UPDOWN_CLASS, &commctrl::UpDownProc);
  commctrl::RegisterCommonClass(HOTKEY_CLASS, &commctrl::HotKeyProc);
  commctrl::RegisterCommonClass(PROGRESS_CLASS, &commctrl::ProgressProc);
  commctrl::RegisterCommonClass(SCROLLBAR_CLASS, &commctrl::ScrollBarProc);
}
