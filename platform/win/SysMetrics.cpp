#include "platform/win/SysMetrics.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
// The classic look at 96 pixels per inch.
int Classic(int Index) {
  switch (Index) {
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 15;
    case SM_CYSMCAPTION: return 16;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_ARRANGE: return 8;  // ARW_HIDE
    default: return 0;
  }
}

void DefaultFont(LOGFONTA& F, int Height, int Weight) {
  F = LOGFONTA();
  F.lfHeight = Height;
  F.lfWeight = Weight;
  F.lfCharSet = 0;  // ANSI_CHARSET
  std::strncpy(F.lfFaceName, "Tahoma", sizeof F.lfFaceName - 1);
}
}  // namespace

TRect GetScreenRect() { return Display().ScreenRect(); }
TRect GetWorkAreaRect() { return Display().WorkArea(); }

int GetSystemMetrics(int Index) {
  TRect S = GetScreenRect();
  TRect W = GetWorkAreaRect();
  switch (Index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: return S.Width();
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return S.Height();
    case SM_XVIRTUALSCREEN: return S.Left;
    case SM_YVIRTUALSCREEN: return S.Top;
    case SM_CXFULLSCREEN: return W.Width();
    case SM_CYFULLSCREEN: return W.Height() - Classic(SM_CYCAPTION);
    case SM_CXMAXIMIZED: return W.Width() + 2 * Classic(SM_CXFRAME);
    case SM_CYMAXIMIZED: return W.Height() + 2 * Classic(SM_CYFRAME);
    case SM_CXMAXTRACK: return S.Width() + 2 * Classic(SM_CXFRAME) + 4;
    case SM_CYMAXTRACK: return S.Height() + 2 * Classic(SM_CYFRAME) + 4;
    default: return Classic(Index);
  }
}

BOOL SystemParametersInfoA(UINT Action, UINT Param, void* Data, UINT WinIni) {
  auto NeedData = [&] { return Data != nullptr; };
  switch (Action) {
    case SPI_GETWORKAREA:
      if (!NeedData()) return FALSE;
      *static_cast<TRect*>(Data) = GetWorkAreaRect();
      return TRUE;
    case SPI_SETWORKAREA: {
      TRect R = Data ? *static_cast<TRect*>(Data) : GetScreenRect();
      Display().SetWorkArea(R);
      if (WinIni & SPIF_SENDWININICHANGE) SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
      return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: {
      auto* M = static_cast<NONCLIENTMETRICSA*>(Data);
      if (!M || M->cbSize < sizeof(NONCLIENTMETRICSA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      M->iBorderWidth = 1;
      M->iScrollWidth = M->iScrollHeight = 16;
      M->iCaptionWidth = M->iCaptionHeight = 18;
      M->iSmCaptionWidth = 12;
      M->iSmCaptionHeight = 15;
      M->iMenuWidth = M->iMenuHeight = 18;
      DefaultFont(M->lfCaptionFont, -11, 700);
      DefaultFont(M->lfSmCaptionFont, -11, 700);
      DefaultFont(M->lfMenuFont, -11, 400);
      DefaultFont(M->lfStatusFont, -11, 400);
      DefaultFont(M->lfMessageFont, -11, 400);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      if (!NeedData()) return FALSE;
      DefaultFont(*static_cast<LOGFONTA*>(Data), -11, 400);
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      if (!NeedData()) return FALSE;
      *static_cast<UINT*>(Data) = 3;
      return TRUE;
    case SPI_GETMOUSEHOVERTIME:
    case SPI_GETMENUSHOWDELAY:
      if (!NeedData()) return FALSE;
      *static_cast<UINT*>(Data) = 400;
      return TRUE;
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT:
      if (!NeedData()) return FALSE;
      *static_cast<UINT*>(Data) = 4;
      return TRUE;
    case SPI_GETKEYBOARDDELAY:
      if (!NeedData()) return FALSE;
      *static_cast<int*>(Data) = 1;
      return TRUE;
    case SPI_GETKEYBOARDSPEED:
      if (!NeedData()) return FALSE;
      *static_cast<DWORD*>(Data) = 31;
      return TRUE;
    case SPI_GETBORDER:
      if (!NeedData()) return FALSE;
      *static_cast<int*>(Data) = 1;
      return TRUE;
    // Effects the classic look keeps off; full-window drag on.
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETUIEFFECTS:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETSCREENREADER:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETBEEP:
      if (!NeedData()) return FALSE;
      *static_cast<BOOL*>(Data) = Action == SPI_GETDRAGFULLWINDOWS || Action == SPI_GETBEEP;
      return TRUE;
    default:
      (void)Param;
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

namespace {
// Monitor handles are 0x10001 + their index in the display's list (the
// primary first).
constexpr std::intptr_t FirstMonitor = 0x10001;
HMONITOR MonitorHandle(std::size_t I) { return HandleFromInt<HMONITOR>(FirstMonitor + std::intptr_t(I)); }

long Overlap(const TRect& A, const TRect& B) {
  long W = std::min(A.Right, B.Right) - std::max(A.Left, B.Left);
  long H = std::min(A.Bottom, B.Bottom) - std::max(A.Top, B.Top);
  return W > 0 && H > 0 ? W * H : 0;
}

long DistanceSq(const TRect& R, TPoint P) {
  long Dx = P.X < R.Left ? R.Left - P.X : P.X >= R.Right ? P.X - R.Right + 1 : 0;
  long Dy = P.Y < R.Top ? R.Top - P.Y : P.Y >= R.Bottom ? P.Y - R.Bottom + 1 : 0;
  return Dx * Dx + Dy * Dy;
}

HMONITOR Fallback(const std::vector<TMonitorArea>& M, TPoint P, DWORD Flags) {
  if (Flags == MONITOR_DEFAULTTONULL || M.empty()) return nullptr;
  if (Flags == MONITOR_DEFAULTTOPRIMARY) return MonitorHandle(0);
  std::size_t Best = 0;
  for (std::size_t I = 1; I < M.size(); ++I)
    if (DistanceSq(M[I].Monitor, P) < DistanceSq(M[Best].Monitor, P)) Best = I;
  return MonitorHandle(Best);
}
}  // namespace

HMONITOR MonitorFromPoint(TPoint P, DWORD Flags) {
  auto M = Display().Monitors();
  for (std::size_t I = 0; I < M.size(); ++I)
    if (M[I].Monitor.Contains(P)) return MonitorHandle(I);
  return Fallback(M, P, Flags);
}

HMONITOR MonitorFromRect(const TRect* R, DWORD Flags) {
  if (!R) return nullptr;
  auto M = Display().Monitors();
  long Best = 0;
  HMONITOR Found = nullptr;
  for (std::size_t I = 0; I < M.size(); ++I)
    if (long A = Overlap(M[I].Monitor, *R); A > Best) {
      Best = A;
      Found = MonitorHandle(I);
    }
  if (Found) return Found;
  return Fallback(M, {(R->Left + R->Right) / 2, (R->Top + R->Bottom) / 2}, Flags);
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags) {
  TRect R;
  if (!GetWindowRect(Wnd, &R)) return Flags != MONITOR_DEFAULTTONULL ? MonitorHandle(0) : nullptr;
  return MonitorFromRect(&R, Flags);
}

BOOL GetMonitorInfoA(HMONITOR H, MONITORINFO* Info) {
  auto M = Display().Monitors();
  std::intptr_t I = reinterpret_cast<std::intptr_t>(H) - FirstMonitor;
  if (I < 0 || std::size_t(I) >= M.size() || !Info || Info->cbSize < sizeof(MONITORINFO)) return FALSE;
  Info->rcMonitor = M[std::size_t(I)].Monitor;
  Info->rcWork = M[std::size_t(I)].Work;
  Info->dwFlags = I == 0 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}
