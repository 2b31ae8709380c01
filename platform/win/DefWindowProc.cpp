// DefWindowProc.cpp — the system's default message handling, the
// non-client area (geometry, hit testing, drawing) and the modal loops the
// default handling runs (moving and sizing, caption buttons).
#include <algorithm>
#include <cstring>

#include "platform/gdi/Font.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/Menus_p.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
int FrameWidth(const TWindow& W) {
  if (W.Style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((W.Style & WS_DLGFRAME) || (W.ExStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (W.Style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int EdgeWidth(const TWindow& W) {
  return ((W.ExStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
         ((W.ExStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0);
}

int CaptionHeight(const TWindow& W) {
  if ((W.Style & WS_CAPTION) != WS_CAPTION) return 0;
  return GetSystemMetrics((W.ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

bool HasMenuBar(const TWindow& W) { return !(W.Style & WS_CHILD) && W.Id != 0; }

TRect Inflate(TRect R, int D) { return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D}; }

struct TCaptionParts {
  TRect Caption, Close, Max, Min, SysMenu;
};

// The caption and its buttons, in the coordinates of the window rect R.
TCaptionParts CaptionParts(const TWindow& W, const TRect& R) {
  TCaptionParts P;
  int Ch = CaptionHeight(W);
  if (!Ch) return P;
  TRect In = Inflate(R, FrameWidth(W));
  P.Caption = {In.Left, In.Top, In.Right, In.Top + Ch - 1};
  bool Tool = W.ExStyle & WS_EX_TOOLWINDOW;
  int Bw = GetSystemMetrics(Tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
  int Bh = Ch - 5;
  int Top = P.Caption.Top + 2;
  int Right = P.Caption.Right - 2;
  if (W.Style & WS_SYSMENU) {
    P.Close = {Right - Bw, Top, Right, Top + Bh};
    Right = P.Close.Left - 2;
    if (!Tool && (W.Style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
      P.Max = {Right - Bw, Top, Right, Top + Bh};
      P.Min = {P.Max.Left - Bw, Top, P.Max.Left, Top + Bh};
    }
    if (!Tool) P.SysMenu = {P.Caption.Left + 2, P.Caption.Top + 1, P.Caption.Left + 2 + 16, P.Caption.Top + 1 + 16};
  }
  return P;
}

HBRUSH SysBrush(int Index) { return GetSysColorBrush(Index); }

// The caption fonts of the non-client metrics; one handle each for the run.
HFONT CaptionFont(bool Small) {
  static HFONT Fonts[2] = {};
  HFONT& F = Fonts[Small ? 1 : 0];
  if (!F) {
    NONCLIENTMETRICSA M;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof M, &M, 0);
    F = CreateFontIndirectA(Small ? &M.lfSmCaptionFont : &M.lfCaptionFont);
  }
  return F;
}

void Fill(HDC Dc, TRect R, int Color) {
  if (!R.IsEmpty()) FillRect(Dc, &R, SysBrush(Color));
}

// A one-pixel ring: top and left in one colour, bottom and right in another.
void Ring(HDC Dc, TRect R, int TopLeft, int BottomRight) {
  if (R.IsEmpty()) return;
  Fill(Dc, {R.Left, R.Top, R.Right - 1, R.Top + 1}, TopLeft);
  Fill(Dc, {R.Left, R.Top, R.Left + 1, R.Bottom - 1}, TopLeft);
  Fill(Dc, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, BottomRight);
  Fill(Dc, {R.Right - 1, R.Top, R.Right, R.Bottom}, BottomRight);
}

void RaisedBox(HDC Dc, TRect R) {
  Fill(Dc, R, COLOR_3DFACE);
  Ring(Dc, R, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  Ring(Dc, Inflate(R, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
}

void CloseGlyph(HDC Dc, TRect R) {
  int S = std::min(R.Width(), R.Height()) - 7;
  int X0 = R.Left + (R.Width() - S) / 2, Y0 = R.Top + (R.Height() - S) / 2;
  COLORREF C = GetSysColor(COLOR_BTNTEXT);
  for (int I = 0; I < S; ++I)
    for (int T = 0; T < 2; ++T) {
      SetPixel(Dc, X0 + I + T, Y0 + I, C);
      SetPixel(Dc, X0 + S - 1 - I + T, Y0 + I, C);
    }
}

void SendSysCommandOnRelease(HWND H, int Hit, UINT Command, LPARAM Pt) {
  // The button works like a push button: it acts when released over itself.
  SetCapture(H);
  MSG M;
  bool Act = false;
  while (IsWindow(H) && GetCapture() == H) {
    int R = GetMessageA(&M, nullptr, 0, 0);
    if (R <= 0) {
      if (R == 0) PostQuitMessage(int(M.wParam));
      break;
    }
    if (M.message == WM_LBUTTONUP || M.message == WM_NCLBUTTONUP) {
      TWindow* W = WinPtr(H);
      Act = W && NcHitTest(*W, M.pt) == Hit;
      break;
    }
    if (M.message == WM_KEYDOWN && M.wParam == VK_ESCAPE) break;
    if (M.message != WM_MOUSEMOVE && M.message != WM_NCMOUSEMOVE) {
      TranslateMessage(&M);
      DispatchMessageA(&M);
    }
  }
  if (IsWindow(H) && GetCapture() == H) ReleaseCapture();
  if (Act && IsWindow(H)) WinSend(H, WM_SYSCOMMAND, Command, Pt);
}

LRESULT CtlColor(HDC Dc, int Back) {
  SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(Dc, GetSysColor(Back));
  return LRESULT(SysBrush(Back));
}

void PrintWindowTo(HWND H, HDC Dc, LPARAM Flags) {
  TWindow* W = WinPtr(H);
  if (!W) return;
  if ((Flags & PRF_CHECKVISIBLE) && !IsWindowVisible(H)) return;
  if (Flags & PRF_NONCLIENT) NcPaintInto(H, Dc);
  TPoint Old;
  OffsetViewportOrgEx(Dc, W->Client.Left, W->Client.Top, &Old);
  if (Flags & PRF_ERASEBKGND) WinSend(H, WM_ERASEBKGND, WPARAM(Dc), 0);
  if ((Flags & PRF_CLIENT) && IsWindow(H)) WinSend(H, WM_PRINTCLIENT, WPARAM(Dc), Flags);
  if ((Flags & PRF_CHILDREN) && IsWindow(H)) {
    std::vector<HWND> Kids = WinPtr(H)->Children;
    for (auto It = Kids.rbegin(); It != Kids.rend(); ++It) {
      TWindow* C = WinPtr(*It);
      if (!C || !(C->Style & WS_VISIBLE)) continue;
      int Sd = SaveDC(Dc);
      OffsetViewportOrgEx(Dc, C->Rect.Left, C->Rect.Top, nullptr);
      IntersectClipRect(Dc, 0, 0, C->Rect.Width(), C->Rect.Height());
      WinSend(*It, WM_PRINT, WPARAM(Dc), Flags | PRF_NONCLIENT);
      RestoreDC(Dc, Sd);
    }
  }
  SetViewportOrgEx(Dc, Old.X, Old.Y, nullptr);
}
}  // namespace

// --- non-client geometry ------------------------------------------------------------------

TRect NcClientFromWindow(const TWindow& W, const TRect& R) {
  if (W.Style & WS_MINIMIZE) return {R.Left, R.Top, R.Left, R.Top};
  TRect C = Inflate(R, FrameWidth(W));
  C.Top += CaptionHeight(W);
  if (HasMenuBar(W)) C.Top += GetSystemMetrics(SM_CYMENU);
  C = Inflate(C, EdgeWidth(W));
  if ((W.Style & WS_VSCROLL) && C.Width() >= GetSystemMetrics(SM_CXVSCROLL)) C.Right -= GetSystemMetrics(SM_CXVSCROLL);
  if ((W.Style & WS_HSCROLL) && C.Height() >= GetSystemMetrics(SM_CYHSCROLL)) C.Bottom -= GetSystemMetrics(SM_CYHSCROLL);
  C.Right = std::max(C.Left, C.Right);
  C.Bottom = std::max(C.Top, C.Bottom);
  return C;
}

int NcHitTest(const TWindow& W, TPoint Pt) {
  TRect R = WinScreenRect(W);
  if (!R.Contains(Pt)) return HTNOWHERE;
  if (W.Style & WS_MINIMIZE) return HTCAPTION;
  TRect Client = WinScreenClient(W);
  if (Client.Contains(Pt)) return HTCLIENT;
  int F = FrameWidth(W);
  TRect In = Inflate(R, F);
  if (!In.Contains(Pt)) {
    if (!(W.Style & WS_THICKFRAME) || (W.Style & WS_MAXIMIZE)) return HTBORDER;
    int K = GetSystemMetrics(SM_CYCAPTION) + F;
    bool Top = Pt.Y < R.Top + K, Bottom = Pt.Y >= R.Bottom - K;
    bool Left = Pt.X < R.Left + K, Right = Pt.X >= R.Right - K;
    if (Pt.X < In.Left) return Top ? HTTOPLEFT : Bottom ? HTBOTTOMLEFT : HTLEFT;
    if (Pt.X >= In.Right) return Top ? HTTOPRIGHT : Bottom ? HTBOTTOMRIGHT : HTRIGHT;
    if (Pt.Y < In.Top) return Left ? HTTOPLEFT : Right ? HTTOPRIGHT : HTTOP;
    return Left ? HTBOTTOMLEFT : Right ? HTBOTTOMRIGHT : HTBOTTOM;
  }
  TCaptionParts P = CaptionParts(W, R);
  if (!P.Caption.IsEmpty() && Pt.Y < P.Caption.Bottom + 1) {
    if (P.Close.Contains(Pt)) return HTCLOSE;
    if (P.Max.Contains(Pt)) return HTMAXBUTTON;
    if (P.Min.Contains(Pt)) return HTMINBUTTON;
    if (P.SysMenu.Contains(Pt)) return HTSYSMENU;
    return HTCAPTION;
  }
  int E = EdgeWidth(W);
  TRect Inner = Inflate(In, 0);
  Inner.Top += CaptionHeight(W);
  if (HasMenuBar(W)) {
    if (Pt.Y < Inner.Top + GetSystemMetrics(SM_CYMENU)) return HTMENU;
    Inner.Top += GetSystemMetrics(SM_CYMENU);
  }
  Inner = Inflate(Inner, E);
  bool V = (W.Style & WS_VSCROLL) && Pt.X >= Client.Right && Pt.X < Inner.Right;
  bool Hz = (W.Style & WS_HSCROLL) && Pt.Y >= Client.Bottom && Pt.Y < Inner.Bottom;
  if (V && Hz) return (W.Style & WS_THICKFRAME) ? HTGROWBOX : HTBORDER;
  if (V && Pt.Y >= Client.Top && Pt.Y < Client.Bottom) return HTVSCROLL;
  if (Hz && Pt.X >= Client.Left && Pt.X < Client.Right) return HTHSCROLL;
  return HTBORDER;
}

void NcPaintInto(HWND H, HDC Dc) {
  TWindow* W = WinPtr(H);
  if (!W) return;
  TRect R{0, 0, W->Rect.Width(), W->Rect.Height()};
  int F = FrameWidth(*W);
  if (F == 1) {
    Ring(Dc, R, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  } else if (F > 1) {
    TRect In = Inflate(R, F);
    Fill(Dc, {R.Left, R.Top, R.Right, In.Top}, COLOR_3DFACE);
    Fill(Dc, {R.Left, In.Bottom, R.Right, R.Bottom}, COLOR_3DFACE);
    Fill(Dc, {R.Left, In.Top, In.Left, In.Bottom}, COLOR_3DFACE);
    Fill(Dc, {In.Right, In.Top, R.Right, In.Bottom}, COLOR_3DFACE);
    Ring(Dc, R, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Ring(Dc, Inflate(R, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
  }
  TCaptionParts P = CaptionParts(*W, R);
  if (!P.Caption.IsEmpty()) {
    bool Active = W->NcActive;
    Fill(Dc, P.Caption, Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    Fill(Dc, {P.Caption.Left, P.Caption.Bottom, P.Caption.Right, P.Caption.Bottom + 1}, COLOR_3DFACE);
    TRect T = P.Caption;
    T.Left = P.SysMenu.IsEmpty() ? T.Left + 3 : P.SysMenu.Right + 3;
    for (TRect B : {P.Min, P.Max, P.Close})
      if (!B.IsEmpty()) {
        T.Right = B.Left - 3;
        break;
      }
    if (!W->Text.empty() && !T.IsEmpty()) {
      AnsiString Text = W->Text;
      int OldMode = SetBkMode(Dc, TRANSPARENT);
      COLORREF OldColor = SetTextColor(Dc, GetSysColor(Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      HGDIOBJ OldFont = SelectObject(Dc, CaptionFont(W->ExStyle & WS_EX_TOOLWINDOW));
      DrawTextA(Dc, Text.data(), int(Text.size()), &T, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      SelectObject(Dc, OldFont);
      SetTextColor(Dc, OldColor);
      SetBkMode(Dc, OldMode);
    }
    for (TRect B : {P.Close, P.Max, P.Min})
      if (!B.IsEmpty()) RaisedBox(Dc, B);
    if (!P.Close.IsEmpty()) CloseGlyph(Dc, P.Close);
  }
  TRect In = Inflate(R, F);
  In.Top += CaptionHeight(*W);
  if (HasMenuBar(*W)) {
    MenuBarPaint(H, Dc, {In.Left, In.Top, In.Right, In.Top + GetSystemMetrics(SM_CYMENU)});
    In.Top += GetSystemMetrics(SM_CYMENU);
  }
  if (W->ExStyle & WS_EX_CLIENTEDGE) {
    Ring(Dc, In, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    Ring(Dc, Inflate(In, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    In = Inflate(In, 2);
  }
  if (W->ExStyle & WS_EX_STATICEDGE) {
    Ring(Dc, In, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    In = Inflate(In, 1);
  }
  ScrollBarsPaint(H, Dc);
}

void NcPaint(HWND H) {
  if (!WinIsVisibleDeep(H)) return;
  HDC Dc = GetWindowDC(H);
  if (!Dc) return;
  NcPaintInto(H, Dc);
  ReleaseDC(H, Dc);
}

// --- moving and sizing ----------------------------------------------------------------------

void SysMoveSizeLoop(HWND H, UINT Command, TPoint) {
  TWindowRef W = WinLookup(H);
  if (!W) return;
  auto& St = WinState();
  bool Size = (Command & 0xFFF0) == SC_SIZE;
  int Edge = Size ? int(Command & 0x000F) : 0;
  if (Size && !Edge) return;  // keyboard sizing is not offered
  TRect Orig = W->Rect;
  TPoint Start;
  GetCursorPos(&Start);
  ++St.SizeMoveDepth;
  SetCapture(H);
  WinSend(H, WM_ENTERSIZEMOVE, 0, 0);
  MSG M;
  while (IsWindow(H) && GetCapture() == H) {
    int R = GetMessageA(&M, nullptr, 0, 0);
    if (R <= 0) {
      if (R == 0) PostQuitMessage(int(M.wParam));
      break;
    }
    if (!IsWindow(H)) break;
    if (M.message == WM_MOUSEMOVE || M.message == WM_NCMOUSEMOVE) {
      int Dx = M.pt.X - Start.X, Dy = M.pt.Y - Start.Y;
      TRect N = Orig;
      if (!Size) {
        N = {Orig.Left + Dx, Orig.Top + Dy, Orig.Right + Dx, Orig.Bottom + Dy};
        WinSend(H, WM_MOVING, 0, LPARAM(&N));
      } else {
        bool L = Edge == WMSZ_LEFT || Edge == WMSZ_TOPLEFT || Edge == WMSZ_BOTTOMLEFT;
        bool Rt = Edge == WMSZ_RIGHT || Edge == WMSZ_TOPRIGHT || Edge == WMSZ_BOTTOMRIGHT;
        bool T = Edge == WMSZ_TOP || Edge == WMSZ_TOPLEFT || Edge == WMSZ_TOPRIGHT;
        bool B = Edge == WMSZ_BOTTOM || Edge == WMSZ_BOTTOMLEFT || Edge == WMSZ_BOTTOMRIGHT;
        if (L) N.Left += Dx;
        if (Rt) N.Right += Dx;
        if (T) N.Top += Dy;
        if (B) N.Bottom += Dy;
        MINMAXINFO Mmi;
        Mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        Mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
        WinSend(H, WM_GETMINMAXINFO, 0, LPARAM(&Mmi));
        int Wd = std::clamp(N.Width(), Mmi.ptMinTrackSize.X, std::max(Mmi.ptMinTrackSize.X, Mmi.ptMaxTrackSize.X));
        int Ht = std::clamp(N.Height(), Mmi.ptMinTrackSize.Y, std::max(Mmi.ptMinTrackSize.Y, Mmi.ptMaxTrackSize.Y));
        if (L) N.Left = N.Right - Wd;
        else N.Right = N.Left + Wd;
        if (T) N.Top = N.Bottom - Ht;
        else N.Bottom = N.Top + Ht;
        WinSend(H, WM_SIZING, WPARAM(Edge), LPARAM(&N));
      }
      if (!IsWindow(H)) break;
      SetWindowPos(H, nullptr, N.Left, N.Top, N.Width(), N.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      continue;
    }
    if (M.message == WM_LBUTTONUP || M.message == WM_NCLBUTTONUP) break;
    if (M.message == WM_KEYDOWN && (M.wParam == VK_ESCAPE || M.wParam == VK_RETURN)) {
      if (M.wParam == VK_ESCAPE)
        SetWindowPos(H, nullptr, Orig.Left, Orig.Top, Orig.Width(), Orig.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    if (M.message >= WM_MOUSEFIRST && M.message <= WM_MOUSELAST) continue;
    TranslateMessage(&M);
    DispatchMessageA(&M);
  }
  if (IsWindow(H) && GetCapture() == H) ReleaseCapture();
  --St.SizeMoveDepth;
  if (IsWindow(H)) WinSend(H, WM_EXITSIZEMOVE, 0, 0);
}

// --- DefWindowProc -------------------------------------------------------------------------------

LRESULT DefWindowProcA(HWND H, UINT Msg, WPARAM Wp, LPARAM Lp) {
  TWindowRef W = WinLookup(H);
  if (!W) return 0;
  bool Child = W->Style & WS_CHILD;
  switch (Msg) {
    case WM_NCCREATE: {
      auto* Cs = reinterpret_cast<CREATESTRUCTA*>(Lp);
      if (Cs && Cs->lpszName && reinterpret_cast<std::uintptr_t>(Cs->lpszName) > 0xFFFF) W->Text = Cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE:
      if (Wp) {
        auto* P = reinterpret_cast<NCCALCSIZE_PARAMS*>(Lp);
        P->rgrc[0] = NcClientFromWindow(*W, P->rgrc[0]);
      } else if (auto* R = reinterpret_cast<TRect*>(Lp)) {
        *R = NcClientFromWindow(*W, *R);
      }
      return 0;
    case WM_NCHITTEST: return NcHitTest(*W, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)});
    case WM_NCPAINT: NcPaint(H); return 0;
    case WM_NCACTIVATE:
      W->NcActive = Wp != 0;
      if (CaptionHeight(*W)) NcPaint(H);
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(Wp) != WA_INACTIVE && !HIWORD(Wp)) SetFocus(H);
      return 0;
    case WM_MOUSEACTIVATE:
      if (Child && W->Parent) {
        LRESULT R = WinSend(W->Parent, WM_MOUSEACTIVATE, Wp, Lp);
        if (R) return R;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (Child && W->Parent && WinSend(W->Parent, WM_SETCURSOR, Wp, Lp)) return TRUE;
      int Hit = SHORT(LOWORD(std::uintptr_t(Lp)));
      UINT Mouse = HIWORD(std::uintptr_t(Lp));
      const char* Id = nullptr;
      switch (Hit) {
        case HTCLIENT:
          if (W->Class && W->Class->Cursor) {
            SetCursor(W->Class->Cursor);
            return TRUE;
          }
          return FALSE;
        case HTERROR:
          if (Mouse == WM_LBUTTONDOWN || Mouse == WM_RBUTTONDOWN || Mouse == WM_MBUTTONDOWN) {
            MessageBeep(0);
            if (HWND Popup = GetWindow(WinTopLevelOf(H), GW_ENABLEDPOPUP)) SetActiveWindow(Popup);
          }
          return FALSE;
        case HTLEFT: case HTRIGHT: Id = IDC_SIZEWE; break;
        case HTTOP: case HTBOTTOM: Id = IDC_SIZENS; break;
        case HTTOPLEFT: case HTBOTTOMRIGHT: case HTGROWBOX: Id = IDC_SIZENWSE; break;
        case HTTOPRIGHT: case HTBOTTOMLEFT: Id = IDC_SIZENESW; break;
        default: Id = IDC_ARROW; break;
      }
      SetCursor(LoadCursorA(nullptr, Id));
      return TRUE;
    }
    case WM_SETTEXT:
      W->Text = Lp ? reinterpret_cast<const char*>(Lp) : "";
      if (CaptionHeight(*W)) NcPaint(H);
      return TRUE;
    case WM_GETTEXT: {
      auto* Buf = reinterpret_cast<char*>(Lp);
      if (!Buf || Wp == 0) return 0;
      std::size_t N = std::min<std::size_t>(W->Text.size(), Wp - 1);
      std::memcpy(Buf, W->Text.data(), N);
      Buf[N] = 0;
      return LRESULT(N);
    }
    case WM_GETTEXTLENGTH: return LRESULT(W->Text.size());
    case WM_WINDOWPOSCHANGED: {
      auto* P = reinterpret_cast<WINDOWPOS*>(Lp);
      if (!P) return 0;
      if (!(P->flags & SWP_NOMOVE))
        WinSend(H, WM_MOVE, 0, MAKELPARAM(W->Rect.Left + W->Client.Left, W->Rect.Top + W->Client.Top));
      if (IsWindow(H) && (!(P->flags & SWP_NOSIZE) || (P->flags & SWP_FRAMECHANGED))) {
        WPARAM Type = (W->Style & WS_MINIMIZE) ? SIZE_MINIMIZED : (W->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        WinSend(H, WM_SIZE, Type, MAKELPARAM(W->Client.Width(), W->Client.Height()));
      }
      return 0;
    }
    case WM_CLOSE: DestroyWindow(H); return 0;
    case WM_ERASEBKGND: {
      HBRUSH B = W->Class ? W->Class->Background : nullptr;
      if (!B) return 0;
      auto Index = reinterpret_cast<std::uintptr_t>(B);
      if (Index > 0 && Index <= 31) B = GetSysColorBrush(int(Index - 1));
      TRect R;
      GetClipBox(HDC(Wp), &R);
      FillRect(HDC(Wp), &R, B);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT Ps;
      if (BeginPaint(H, &Ps)) EndPaint(H, &Ps);
      return 0;
    }
    case WM_PRINT: PrintWindowTo(H, HDC(Wp), Lp); return 0;
    case WM_PRINTCLIENT: return 0;
    case WM_SYSCOMMAND:
      switch (Wp & 0xFFF0) {
        case SC_CLOSE: WinSend(H, WM_CLOSE, 0, 0); return 0;
        case SC_MOVE:
        case SC_SIZE: SysMoveSizeLoop(H, UINT(Wp), {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)}); return 0;
        case SC_MINIMIZE: ShowWindow(H, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(H, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(H, SW_RESTORE); return 0;
        case SC_KEYMENU: MenuKeyCommand(H, char(Lp)); return 0;
        case SC_MOUSEMENU:
          if (int Item = MenuBarItemFromPoint(H, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)}); Item >= 0)
            MenuBarTrack(H, Item, true, true);
          return 0;
        default: return 0;
      }
    case WM_NCLBUTTONDOWN: {
      int Hit = int(std::intptr_t(Wp));
      if (Hit == HTCAPTION && !(W->Style & WS_MAXIMIZE)) {
        WinSend(H, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, Lp);
      } else if (Hit >= HTLEFT && Hit <= HTBOTTOMRIGHT && (W->Style & WS_THICKFRAME)) {
        WinSend(H, WM_SYSCOMMAND, SC_SIZE + UINT(Hit - HTLEFT + 1), Lp);
      } else if (Hit == HTCLOSE) {
        SendSysCommandOnRelease(H, Hit, SC_CLOSE, Lp);
      } else if (Hit == HTMAXBUTTON) {
        SendSysCommandOnRelease(H, Hit, (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, Lp);
      } else if (Hit == HTMINBUTTON) {
        SendSysCommandOnRelease(H, Hit, SC_MINIMIZE, Lp);
      } else if (Hit == HTMENU) {
        WinSend(H, WM_SYSCOMMAND, SC_MOUSEMENU + HTMENU, Lp);
      } else if (Hit == HTVSCROLL || Hit == HTHSCROLL) {
        ScrollBarTrack(H, Hit == HTVSCROLL ? SB_VERT : SB_HORZ, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)});
      }
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      if (Wp == WPARAM(HTCAPTION) && (W->Style & WS_MAXIMIZEBOX))
        WinSend(H, WM_SYSCOMMAND, (W->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, Lp);
      else if (Wp == WPARAM(HTSYSMENU))
        WinSend(H, WM_SYSCOMMAND, SC_CLOSE, Lp);
      return 0;
    case WM_RBUTTONUP: {
      TPoint P{GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)};
      ClientToScreen(H, &P);
      WinSend(H, WM_CONTEXTMENU, WPARAM(H), MAKELPARAM(P.X, P.Y));
      return 0;
    }
    case WM_NCRBUTTONUP: WinSend(H, WM_CONTEXTMENU, WPARAM(H), Lp); return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_HELP:
      if (Child && W->Parent) return WinSend(W->Parent, Msg, Wp, Lp);
      return 0;
    case WM_SYSKEYDOWN:
      WinState().MenuAltAlone = Wp == VK_MENU;
      if (Wp == VK_F4 && (Lp & (1 << 29)) && !Child) WinSend(WinTopLevelOf(H), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_KEYDOWN: WinState().MenuAltAlone = false; return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP: {
      const bool Shift = GetKeyState(VK_SHIFT) & 0x8000, Ctrl = GetKeyState(VK_CONTROL) & 0x8000;
      // Alt pressed and released alone, or F10, selects the menu bar; the
      // menu key and Shift+F10 ask for the context menu (no mouse point).
      if ((Wp == VK_MENU && WinState().MenuAltAlone) || (Wp == VK_F10 && !Shift && !Ctrl)) {
        WinState().MenuAltAlone = false;
        WinSend(WinTopLevelOf(H), WM_SYSCOMMAND, SC_KEYMENU, 0);
      } else if (Wp == VK_APPS || (Wp == VK_F10 && Shift && !Ctrl)) {
        WinSend(H, WM_CONTEXTMENU, WPARAM(H), MAKELPARAM(-1, -1));
      }
      return 0;
    }
    case WM_SYSCHAR:
      WinState().MenuAltAlone = false;
      if (Wp != VK_RETURN && Wp != VK_ESCAPE && Wp != VK_TAB) WinSend(WinTopLevelOf(H), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(Wp));
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == H) ReleaseCapture();
      return 0;
    case WM_SETREDRAW:
      // As on Windows: redraw off is a window that is not visible.
      if (Wp) W->Style |= WS_VISIBLE;
      else W->Style &= ~WS_VISIBLE;
      return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN: return TRUE;
    case WM_SETFONT: W->Font = HFONT(Wp); return 0;
    case WM_GETFONT: return LRESULT(W->Font);
    case WM_SETICON: {
      HICON Old = Wp == ICON_BIG ? W->IconBig : W->IconSmall;
      (Wp == ICON_BIG ? W->IconBig : W->IconSmall) = HICON(Lp);
      return LRESULT(Old);
    }
    case WM_GETICON: return LRESULT(Wp == ICON_BIG ? W->IconBig : W->IconSmall);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return CtlColor(HDC(Wp), COLOR_WINDOW);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return CtlColor(HDC(Wp), COLOR_3DFACE);
    case WM_CTLCOLORSCROLLBAR: return CtlColor(HDC(Wp), COLOR_SCROLLBAR);
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return -1;
    default: return 0;
  }
}
