#include "platform/win/Tray.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
std::unique_ptr<TTrayHost>& CurrentHost() {
  static std::unique_ptr<TTrayHost> H;
  return H;
}

std::vector<TTrayIcon>& Icons() { return WinState().TrayIcons; }

std::vector<TTrayIcon>::iterator FindIcon(HWND Wnd, UINT Id) {
  auto& L = Icons();
  return std::find_if(L.begin(), L.end(), [&](const TTrayIcon& I) { return I.Wnd == Wnd && I.Id == Id; });
}

// A window that died leaves its icons behind until the next call looks.
void DropDeadIcons() {
  auto& L = Icons();
  for (auto It = L.begin(); It != L.end();) {
    if (IsWindow(It->Wnd)) {
      ++It;
      continue;
    }
    const TTrayIcon Gone = *It;
    It = L.erase(It);
    TrayHost().IconRemoved(Gone);
  }
}

AnsiString Bounded(const char* Text, std::size_t Size) { return AnsiString(Text, strnlen(Text, Size - 1)); }

// Copies the fields that the record's flags name; Balloon tells whether it
// asked for a balloon.
void Apply(TTrayIcon& I, const NOTIFYICONDATAA& D, bool& Balloon) {
  if (D.uFlags & NIF_MESSAGE) I.CallbackMessage = D.uCallbackMessage;
  if (D.uFlags & NIF_ICON) I.Icon = D.hIcon;
  if (D.uFlags & NIF_TIP) I.Tip = Bounded(D.szTip, D.cbSize < NOTIFYICONDATAA_V2_SIZE ? 64 : sizeof D.szTip);
  if ((D.uFlags & NIF_STATE) && D.cbSize >= NOTIFYICONDATAA_V2_SIZE && (D.dwStateMask & NIS_HIDDEN))
    I.Hidden = (D.dwState & NIS_HIDDEN) != 0;
  if ((D.uFlags & NIF_INFO) && D.cbSize >= NOTIFYICONDATAA_V2_SIZE) {
    I.BalloonTitle = Bounded(D.szInfoTitle, sizeof D.szInfoTitle);
    I.BalloonText = Bounded(D.szInfo, sizeof D.szInfo);
    I.BalloonFlags = D.dwInfoFlags;
    Balloon = true;
  }
}
}  // namespace

TTrayHost& TrayHost() {
  auto& H = CurrentHost();
  if (!H) H = std::make_unique<THeadlessTray>();
  return *H;
}

void SetTrayHost(std::unique_ptr<TTrayHost> Host) { CurrentHost() = std::move(Host); }

std::vector<TTrayIcon> TrayIcons() {
  DropDeadIcons();
  return Icons();
}

BOOL Shell_NotifyIconA(DWORD Message, NOTIFYICONDATAA* D) {
  if (!D || D->cbSize < NOTIFYICONDATAA_V1_SIZE || !IsWindow(D->hWnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TTrayHost& Host = TrayHost();
  if (!Host.Available()) {
    SetLastError(ERROR_TIMEOUT);  // as when no task bar answers
    return FALSE;
  }
  DropDeadIcons();
  auto& L = Icons();
  auto It = FindIcon(D->hWnd, D->uID);
  bool Balloon = false;
  switch (Message) {
    case NIM_ADD: {
      if (It != L.end()) return FALSE;
      TTrayIcon I;
      I.Wnd = D->hWnd;
      I.Id = D->uID;
      Apply(I, *D, Balloon);
      L.push_back(I);
      Host.IconAdded(I);
      if (Balloon) Host.BalloonRequested(I);
      return TRUE;
    }
    case NIM_MODIFY:
      if (It == L.end()) return FALSE;
      Apply(*It, *D, Balloon);
      Host.IconChanged(*It);
      if (Balloon) Host.BalloonRequested(*It);
      return TRUE;
    case NIM_DELETE: {
      if (It == L.end()) return FALSE;
      const TTrayIcon Gone = *It;
      L.erase(It);
      Host.IconRemoved(Gone);
      return TRUE;
    }
    case NIM_SETFOCUS: return It != L.end();
    case NIM_SETVERSION: {
      const UINT V = D->uTimeoutOrVersion;
      if (It == L.end() || (V != 0 && V != NOTIFYICON_VERSION && V != NOTIFYICON_VERSION_4)) return FALSE;
      It->Version = V;
      Host.IconChanged(*It);
      return TRUE;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

bool TrayIconNotify(HWND Wnd, UINT Id, UINT Event, TPoint Screen) {
  DropDeadIcons();
  auto It = FindIcon(Wnd, Id);
  if (It == Icons().end() || !It->CallbackMessage) return false;
  if (It->Version == NOTIFYICON_VERSION_4)
    return PostMessageA(Wnd, It->CallbackMessage, MAKEWPARAM(Screen.X, Screen.Y), MAKELPARAM(int(Event), int(Id)));
  return PostMessageA(Wnd, It->CallbackMessage, WPARAM(Id), LPARAM(Event));
}

void TrayRecreated() {
  Icons().clear();
  const UINT Msg = RegisterWindowMessageA("TaskbarCreated");
  for (HWND H : WinTopLevels()) PostMessageA(H, Msg, 0, 0);
}

// ---- the host of a display with its own tray ---------------------------------

void TDisplayTrayHost::IconAdded(const TTrayIcon& I) { Display().TrayIcon(TTrayAction::Add, I); }
void TDisplayTrayHost::IconChanged(const TTrayIcon& I) { Display().TrayIcon(TTrayAction::Modify, I); }
void TDisplayTrayHost::IconRemoved(const TTrayIcon& I) { Display().TrayIcon(TTrayAction::Delete, I); }

// ---- the headless host ------------------------------------------------------

std::string THeadlessTray::Describe(const char* What, const TTrayIcon& I) const {
  std::string S = std::string(What) + " " + std::to_string(I.Id);
  if (I.CallbackMessage) S += " msg=" + std::to_string(I.CallbackMessage);
  S += I.Icon ? " icon" : " noicon";
  S += " tip=\"" + I.Tip + "\"";
  if (I.Hidden) S += " hidden";
  if (I.Version) S += " v" + std::to_string(I.Version);
  return S;
}

void THeadlessTray::IconAdded(const TTrayIcon& I) { FLog.push_back(Describe("add", I)); }
void THeadlessTray::IconChanged(const TTrayIcon& I) { FLog.push_back(Describe("modify", I)); }
void THeadlessTray::IconRemoved(const TTrayIcon& I) { FLog.push_back("delete " + std::to_string(I.Id)); }
void THeadlessTray::BalloonRequested(const TTrayIcon& I) {
  FLog.push_back("balloon " + std::to_string(I.Id) + " \"" + I.BalloonTitle + "\" \"" + I.BalloonText + "\"");
  if (!I.BalloonText.empty()) TrayIconNotify(I.Wnd, I.Id, NIN_BALLOONSHOW);
}

std::vector<std::string> THeadlessTray::TakeLog() {
  std::vector<std::string> L;
  L.swap(FLog);
  return L;
}

namespace {
bool Send(HWND Wnd, UINT Id, std::initializer_list<UINT> Events) {
  TPoint P;
  GetCursorPos(&P);
  for (UINT E : Events)
    if (!TrayIconNotify(Wnd, Id, E, P)) return false;
  return true;
}

UINT VersionOf(HWND Wnd, UINT Id) {
  auto It = FindIcon(Wnd, Id);
  return It == Icons().end() ? 0 : It->Version;
}
}  // namespace

bool THeadlessTray::Click(HWND Wnd, UINT Id) {
  if (VersionOf(Wnd, Id) >= NOTIFYICON_VERSION) return Send(Wnd, Id, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT});
  return Send(Wnd, Id, {WM_LBUTTONDOWN, WM_LBUTTONUP});
}

bool THeadlessTray::DoubleClick(HWND Wnd, UINT Id) {
  return Send(Wnd, Id, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}

bool THeadlessTray::RightClick(HWND Wnd, UINT Id) {
  if (VersionOf(Wnd, Id) >= NOTIFYICON_VERSION) return Send(Wnd, Id, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU});
  return Send(Wnd, Id, {WM_RBUTTONDOWN, WM_RBUTTONUP});
}

bool THeadlessTray::ClickBalloon(HWND Wnd, UINT Id) { return Send(Wnd, Id, {NIN_BALLOONUSERCLICK}); }
bool THeadlessTray::BalloonTimeout(HWND Wnd, UINT Id) { return Send(Wnd, Id, {NIN_BALLOONTIMEOUT}); }

THeadlessTray& HeadlessTray() {
  auto* H = dynamic_cast<THeadlessTray*>(&TrayHost());
  if (!H) {
    SetTrayHost(std::make_unique<THeadlessTray>());
    H = static_cast<THeadlessTray*>(&TrayHost());
  }
  return *H;
}
