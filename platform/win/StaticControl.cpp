#include "platform/win/StaticControl.h"

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/IconApi.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Resources.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/Window.h"

namespace {
constexpr const char* StateProp = "SxStaticState";

struct TStaticState {
  HFONT Font = nullptr;
  HANDLE Image = nullptr;  // an icon (SS_ICON) or a bitmap (SS_BITMAP); not owned
};

TStaticState* StateOf(HWND Wnd) { return static_cast<TStaticState*>(GetPropA(Wnd, StateProp)); }
DWORD StyleOf(HWND Wnd) { return DWORD(GetWindowLongA(Wnd, GWL_STYLE)); }
DWORD KindOf(HWND Wnd) { return StyleOf(Wnd) & SS_TYPEMASK; }

bool IsText(DWORD K) {
  return K == SS_LEFT || K == SS_CENTER || K == SS_RIGHT || K == SS_SIMPLE || K == SS_LEFTNOWORDWRAP;
}

TSize ImageSize(DWORD Kind, HANDLE Image) {
  if (!Image) return {0, 0};
  if (Kind == SS_BITMAP) {
    BITMAP Bm;
    if (GetObjectA(HGDIOBJ(Image), sizeof Bm, &Bm)) return {Bm.bmWidth, Bm.bmHeight};
    return {0, 0};
  }
  ICONINFO Ii;
  if (!GetIconInfo(HICON(Image), &Ii)) return {0, 0};
  BITMAP Bm;
  TSize S{32, 32};
  if (Ii.hbmColor && GetObjectA(Ii.hbmColor, sizeof Bm, &Bm)) S = {Bm.bmWidth, Bm.bmHeight};
  else if (Ii.hbmMask && GetObjectA(Ii.hbmMask, sizeof Bm, &Bm)) S = {Bm.bmWidth, Bm.bmHeight / 2};
  if (Ii.hbmColor) DeleteObject(Ii.hbmColor);
  if (Ii.hbmMask) DeleteObject(Ii.hbmMask);
  return S;
}

// An image static takes the image's size unless it centres it.
void FitToImage(HWND Wnd, TStaticState& S) {
  const DWORD K = KindOf(Wnd);
  if ((K != SS_ICON && K != SS_BITMAP) || (StyleOf(Wnd) & SS_CENTERIMAGE) || !S.Image) return;
  const TSize Sz = ImageSize(K, S.Image);
  if (Sz.cx > 0 && Sz.cy > 0)
    SetWindowPos(Wnd, nullptr, 0, 0, Sz.cx, Sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintText(HWND Wnd, TStaticState& S, HDC Dc, const TRect& Client, HBRUSH Brush) {
  const DWORD Style = StyleOf(Wnd), K = KindOf(Wnd);
  if (Brush) FillRect(Dc, &Client, Brush);
  std::string Text = WindowTextOf(Wnd);
  if (Text.empty()) return;
  TSelectObjectGuard Font(Dc, S.Font ? HGDIOBJ(S.Font) : GetStockObject(SYSTEM_FONT));
  UINT Format = DT_EXPANDTABS;
  switch (K) {
    case SS_CENTER: Format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: Format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: Format |= DT_SINGLELINE | DT_NOCLIP; break;
    case SS_LEFTNOWORDWRAP: Format |= 0; break;
    default: Format |= DT_WORDBREAK; break;
  }
  if (Style & SS_NOPREFIX) Format |= DT_NOPREFIX;
  switch (Style & SS_WORDELLIPSIS) {
    case SS_ENDELLIPSIS: Format |= DT_END_ELLIPSIS | DT_SINGLELINE; break;
    case SS_PATHELLIPSIS: Format |= DT_PATH_ELLIPSIS | DT_SINGLELINE; break;
    case SS_WORDELLIPSIS: Format |= DT_WORD_ELLIPSIS | DT_SINGLELINE; break;
    default: break;
  }
  if (Style & SS_CENTERIMAGE) Format |= DT_SINGLELINE | DT_VCENTER;
  SetBkMode(Dc, TRANSPARENT);
  TRect R = Client;
  if (!IsWindowEnabled(Wnd)) SetTextColor(Dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(Dc, Text.data(), int(Text.size()), &R, Format);
}

void PaintImage(HWND Wnd, TStaticState& S, HDC Dc, const TRect& Client, HBRUSH Brush) {
  if (Brush) FillRect(Dc, &Client, Brush);
  if (!S.Image) return;
  const DWORD K = KindOf(Wnd);
  const TSize Sz = ImageSize(K, S.Image);
  int X = 0, Y = 0;
  if (StyleOf(Wnd) & SS_CENTERIMAGE) {
    X = (Client.Width() - Sz.cx) / 2;
    Y = (Client.Height() - Sz.cy) / 2;
  }
  if (K == SS_ICON) {
    DrawIconEx(Dc, X, Y, HICON(S.Image), Sz.cx, Sz.cy, 0, nullptr, DI_NORMAL);
    return;
  }
  TMemoryDc Mem(HGDIOBJ(S.Image), Dc);
  BitBlt(Dc, X, Y, Sz.cx, Sz.cy, Mem.Dc(), 0, 0, SRCCOPY);
}

void PaintShape(HWND Wnd, HDC Dc, const TRect& Client) {
  TRect R = Client;
  switch (KindOf(Wnd)) {
    case SS_BLACKRECT: FillRect(Dc, &R, GetSysColorBrush(COLOR_3DDKSHADOW)); break;
    case SS_GRAYRECT: FillRect(Dc, &R, GetSysColorBrush(COLOR_3DSHADOW)); break;
    case SS_WHITERECT: FillRect(Dc, &R, GetSysColorBrush(COLOR_3DHILIGHT)); break;
    case SS_BLACKFRAME: FrameRect(Dc, &R, GetSysColorBrush(COLOR_3DDKSHADOW)); break;
    case SS_GRAYFRAME: FrameRect(Dc, &R, GetSysColorBrush(COLOR_3DSHADOW)); break;
    case SS_WHITEFRAME: FrameRect(Dc, &R, GetSysColorBrush(COLOR_3DHILIGHT)); break;
    case SS_ETCHEDFRAME: DrawEdge(Dc, &R, EDGE_ETCHED, BF_RECT); break;
    case SS_ETCHEDHORZ: DrawEdge(Dc, &R, EDGE_ETCHED, BF_TOP); break;
    case SS_ETCHEDVERT: DrawEdge(Dc, &R, EDGE_ETCHED, BF_LEFT); break;
    default: break;
  }
}

void Paint(HWND Wnd, TStaticState& S, HDC Dc) {
  TRect Client;
  GetClientRect(Wnd, &Client);
  TSaveDcGuard Saved(Dc);
  const DWORD K = KindOf(Wnd);
  if (K == SS_OWNERDRAW) {
    DRAWITEMSTRUCT Di;
    Di.CtlType = ODT_STATIC;
    Di.CtlID = UINT(GetDlgCtrlID(Wnd));
    Di.itemAction = ODA_DRAWENTIRE;
    Di.itemState = IsWindowEnabled(Wnd) ? 0 : ODS_DISABLED;
    Di.hwndItem = Wnd;
    Di.hDC = Dc;
    Di.rcItem = Client;
    if (HWND Parent = GetParent(Wnd)) SendMessageA(Parent, WM_DRAWITEM, WPARAM(Di.CtlID), LPARAM(&Di));
    return;
  }
  if (IsText(K) || K == SS_ICON || K == SS_BITMAP) {
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(Dc, GetSysColor(COLOR_3DFACE));
    HBRUSH Brush = nullptr;
    if (HWND Parent = GetParent(Wnd))
      Brush = HBRUSH(SendMessageA(Parent, WM_CTLCOLORSTATIC, WPARAM(Dc), LPARAM(Wnd)));
    if (!Brush) Brush = GetSysColorBrush(COLOR_3DFACE);
    if (IsText(K)) PaintText(Wnd, S, Dc, Client, K == SS_SIMPLE ? Brush : Brush);
    else PaintImage(Wnd, S, Dc, Client, Brush);
  } else {
    PaintShape(Wnd, Dc, Client);
  }
  if (StyleOf(Wnd) & SS_SUNKEN) DrawEdge(Dc, &Client, BDR_SUNKENOUTER, BF_RECT);
}

HANDLE SetImage(HWND Wnd, TStaticState& S, HANDLE Image) {
  HANDLE Old = S.Image;
  S.Image = Image;
  FitToImage(Wnd, S);
  InvalidateRect(Wnd, nullptr, TRUE);
  return Old;
}
}  // namespace

LRESULT StaticWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  TStaticState* S = StateOf(Wnd);
  if (!S) {
    if (Msg != WM_NCCREATE) return DefWindowProcA(Wnd, Msg, W, L);
    SetPropA(Wnd, StateProp, new TStaticState);
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  switch (Msg) {
    case WM_NCDESTROY:
      RemovePropA(Wnd, StateProp);
      delete S;
      return DefWindowProcA(Wnd, Msg, W, L);
    case WM_CREATE: {
      // An image static's window text names the icon or bitmap to load.
      const DWORD K = KindOf(Wnd);
      const auto* Cs = reinterpret_cast<const CREATESTRUCTA*>(L);
      if ((K == SS_ICON || K == SS_BITMAP) && Cs && Cs->lpszName && *Cs->lpszName) {
        HANDLE Img = K == SS_ICON ? HANDLE(LoadIconA(Cs->hInstance, Cs->lpszName))
                                  : HANDLE(LoadImageA(Cs->hInstance, Cs->lpszName, IMAGE_BITMAP, 0, 0, 0));
        if (Img) SetImage(Wnd, *S, Img);
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return (StyleOf(Wnd) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyParent(Wnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyParent(Wnd, STN_DBLCLK);
      return 0;
    case WM_SETTEXT: {
      const LRESULT R = DefWindowProcA(Wnd, Msg, W, L);
      InvalidateRect(Wnd, nullptr, TRUE);
      return R;
    }
    case WM_SETFONT:
      S->Font = HFONT(W);
      if (LOWORD(L)) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return LRESULT(S->Font);
    case WM_ENABLE:
      InvalidateRect(Wnd, nullptr, TRUE);
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyParent(Wnd, W ? STN_ENABLE : STN_DISABLE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: InvalidateRect(Wnd, nullptr, TRUE); return DefWindowProcA(Wnd, Msg, W, L);
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      TControlPaintDc Dc(Wnd, W);
      Paint(Wnd, *S, Dc.Dc());
      return 0;
    }
    case STM_SETICON: return LRESULT(SetImage(Wnd, *S, HANDLE(W)));
    case STM_GETICON: return LRESULT(S->Image);
    case STM_SETIMAGE: return LRESULT(SetImage(Wnd, *S, HANDLE(L)));
    case STM_GETIMAGE: return LRESULT(S->Image);
    default: return DefWindowProcA(Wnd, Msg, W, L);
  }
}
