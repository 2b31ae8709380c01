// Tray.h — the notification area: Shell_NotifyIcon keeps the process's
// icons (one per window and id) and tells a tray host, which shows them.
// The host is the seam to a display: the headless host (THeadlessTray)
// records what it was told and lets tests act as the user; a display with
// a real notification area plugs in its own TTrayHost with SetTrayHost.
//
// A host reports the user's actions on an icon with TrayIconNotify, which
// posts the icon's callback message to its window as the shell does
// (wParam = the icon id, lParam = the mouse or notification message; for
// version 4 icons lParam = message | id << 16 and wParam = the cursor's
// screen position). A new notification area (a restarted tray) calls
// TrayRecreated: the icons are forgotten and every top-level window gets
// the "TaskbarCreated" message, so that programs add their icons again.
//
// Icons are per process and renewed by ResetWindowSystem (the host is
// told of nothing then).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

struct NOTIFYICONDATAA {
  DWORD cbSize = sizeof(NOTIFYICONDATAA);
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[128] = {};
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  char szInfo[256] = {};
  UINT uTimeoutOrVersion = 0;  // uTimeout with NIM_MODIFY and NIF_INFO, uVersion with NIM_SETVERSION
  char szInfoTitle[64] = {};
  DWORD dwInfoFlags = 0;
  BYTE guidItem[16] = {};  // a GUID; not used by this layer
  HICON hBalloonIcon = nullptr;
};
// The record sizes of the shell's versions: tips of 64 bytes up to V1,
// balloons from V2 on.
constexpr DWORD NOTIFYICONDATAA_V1_SIZE = DWORD(offsetof(NOTIFYICONDATAA, szTip) + 64);
constexpr DWORD NOTIFYICONDATAA_V2_SIZE = DWORD(offsetof(NOTIFYICONDATAA, guidItem));

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr DWORD NIM_SETFOCUS = 3;
constexpr DWORD NIM_SETVERSION = 4;
constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_STATE = 0x08;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIS_HIDDEN = 0x01;
constexpr DWORD NIS_SHAREDICON = 0x02;
constexpr DWORD NIIF_NONE = 0, NIIF_INFO = 1, NIIF_WARNING = 2, NIIF_ERROR = 3;
constexpr UINT NOTIFYICON_VERSION = 3;
constexpr UINT NOTIFYICON_VERSION_4 = 4;
// Notifications in the callback message's lParam besides the mouse messages.
constexpr UINT NIN_SELECT = 0x0400;
constexpr UINT NIN_KEYSELECT = 0x0401;
constexpr UINT NIN_BALLOONSHOW = 0x0402;
constexpr UINT NIN_BALLOONHIDE = 0x0403;
constexpr UINT NIN_BALLOONTIMEOUT = 0x0404;
constexpr UINT NIN_BALLOONUSERCLICK = 0x0405;

// Adds, changes or removes the icon of (hWnd, uID). FALSE when the window
// is not one, the record is too small, NIM_ADD finds the icon there
// already, the other messages do not find it, or no notification area
// exists (the host says so).
BOOL Shell_NotifyIconA(DWORD Message, NOTIFYICONDATAA* Data);
inline BOOL Shell_NotifyIcon(DWORD M, NOTIFYICONDATAA* D) { return Shell_NotifyIconA(M, D); }

// An icon as the host sees it.
struct TTrayIcon {
  HWND Wnd = nullptr;
  UINT Id = 0;
  UINT CallbackMessage = 0;  // 0: none (NIF_MESSAGE not given yet)
  HICON Icon = nullptr;
  AnsiString Tip;
  bool Hidden = false;       // NIS_HIDDEN
  UINT Version = 0;          // 0, 3 or 4
  AnsiString BalloonTitle, BalloonText;  // the last balloon asked for
  DWORD BalloonFlags = 0;
};

class TTrayHost {
public:
  virtual ~TTrayHost() = default;
  // Whether a notification area exists now.
  virtual bool Available() const { return true; }
  virtual void IconAdded(const TTrayIcon& Icon) = 0;
  virtual void IconChanged(const TTrayIcon& Icon) = 0;
  virtual void IconRemoved(const TTrayIcon& Icon) = 0;
  // NIF_INFO with a text: show the balloon (an empty text hides it).
  virtual void BalloonRequested(const TTrayIcon&) {}
};

// The current host; a headless one is made on first use.
TTrayHost& TrayHost();
// Replaces the host (null: back to a fresh headless one).
void SetTrayHost(std::unique_ptr<TTrayHost> Host);
// The icons now in the notification area, in the order added.
std::vector<TTrayIcon> TrayIcons();
// For hosts: posts the icon's callback message with Event (a mouse message
// or an NIN_ notification). False when the icon is not there or has no
// callback message.
bool TrayIconNotify(HWND Wnd, UINT Id, UINT Event, TPoint Screen = {});
// For hosts: a new notification area came up.
void TrayRecreated();

// The notification area of headless runs: keeps a line per call it was
// told of ("add 1 tip=\"...\"") and acts as the user on an icon.
class THeadlessTray : public TTrayHost {
public:
  bool Available() const override { return FAvailable; }
  void SetAvailable(bool On) { FAvailable = On; }
  void IconAdded(const TTrayIcon& Icon) override;
  void IconChanged(const TTrayIcon& Icon) override;
  void IconRemoved(const TTrayIcon& Icon) override;
  void BalloonRequested(const TTrayIcon& Icon) override;
  // What the host was told, oldest first; Take empties it.
  const std::vector<std::string>& Log() const { return FLog; }
  std::vector<std::string> TakeLog();

  // The user's actions, as the shell reports them for the icon's version:
  // a left click (button down, up; NIN_SELECT from version 3), a double
  // click (down, up, double click, up), a right click (down, up;
  // WM_CONTEXTMENU from version 3), the balloon clicked or timed out.
  // False when the icon is not there.
  bool Click(HWND Wnd, UINT Id);
  bool DoubleClick(HWND Wnd, UINT Id);
  bool RightClick(HWND Wnd, UINT Id);
  bool ClickBalloon(HWND Wnd, UINT Id);
  bool BalloonTimeout(HWND Wnd, UINT Id);

private:
  std::string Describe(const char* What, const TTrayIcon& Icon) const;
  std::vector<std::string> FLog;
  bool FAvailable = true;
};

// The host of a display that shows the icons itself (X11): forwards each
// change to Display().TrayIcon.
class TDisplayTrayHost : public TTrayHost {
public:
  void IconAdded(const TTrayIcon& Icon) override;
  void IconChanged(const TTrayIcon& Icon) override;
  void IconRemoved(const TTrayIcon& Icon) override;
};

// The current host as a headless one; installs a fresh headless host when
// another kind is current.
THeadlessTray& HeadlessTray();
