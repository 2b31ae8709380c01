// Display.h — the seam between the window system and what shows it. A
// backend shows top-level windows' pixels, tells the screen size and feeds
// input (Input.h's Queue* calls); the window system tells it when a
// top-level window changed or was painted and asks it to wait when the
// queue is empty. The headless backend (HeadlessDisplay.h) is the default.
#pragma once
#include <memory>
#include <vector>
#include "platform/win/Tray.h"
#include "platform/win/WinTypes.h"

// One monitor: its whole area and the part left for windows (screen
// coordinates); the primary one comes first.
struct TMonitorArea {
  TRect Monitor, Work;
};

// What the notification area asks of a display that shows it (the tray
// host TDisplayTrayHost forwards Shell_NotifyIcon's icons here); the
// display reports clicks through TrayIconNotify.
enum class TTrayAction { Add, Modify, Delete };

class TDisplay {
public:
  virtual ~TDisplay() = default;
  virtual TRect ScreenRect() const = 0;
  virtual TRect WorkArea() const = 0;
  virtual void SetWorkArea(const TRect& R) = 0;
  // The queue has nothing to return. Waits until input or a post may have
  // arrived or TimeoutMs (-1: no limit) has passed.
  virtual void WaitForEvents(int TimeoutMs) = 0;
  // Another thread posted: wakes WaitForEvents.
  virtual void Wake() {}
  // A top-level window was shown, hidden, moved, resized or restacked.
  virtual void WindowChanged(HWND) {}
  // Pixels of a top-level window changed (window coordinates).
  virtual void SurfaceChanged(HWND, const TRect&) {}
  virtual void Beep(UINT) {}
  // The cursor shape changed (null: none shown).
  virtual void CursorChanged(HCURSOR) {}

  // Called by PeekMessage: takes in what the screen sent, without waiting.
  virtual void PollEvents() {}
  // The monitors, primary first; a display without several has one.
  virtual std::vector<TMonitorArea> Monitors() const { return {{ScreenRect(), WorkArea()}}; }
  // The mouse capture moved to Wnd (null: released); a desktop grabs the
  // pointer so that the capture sees the mouse outside its windows too.
  virtual void CaptureChanged(HWND) {}
  // SetForegroundWindow: ask the desktop to raise and focus the window.
  virtual void ForegroundRequested(HWND) {}
  // The clipboard was opened: a desktop brings in what another program
  // holds. It was closed after its content changed: the desktop announces
  // that the program holds the clipboard now.
  virtual void ClipboardOpened() {}
  virtual void ClipboardChanged() {}
  // A system-wide hot key was registered or removed; false when another
  // program holds the combination already.
  virtual bool HotKeyAdded(UINT /*Modifiers*/, UINT /*VirtKey*/) { return true; }
  virtual void HotKeyRemoved(UINT /*Modifiers*/, UINT /*VirtKey*/) {}
  // The notification-area icon; a display without a tray shows nothing and
  // answers true, as a tray that accepted the icon would.
  virtual bool TrayIcon(TTrayAction, const TTrayIcon&) { return true; }
};

// The current display; a headless one is made on first use.
TDisplay& Display();
// Replaces the display (null: back to a fresh headless one).
void SetDisplay(std::unique_ptr<TDisplay> D);

// The program's choice at start: SX_DISPLAY=headless or SX_DISPLAY=x11
// forces one; otherwise X11 when DISPLAY names a server that answers, else
// headless. A forced X11 display that cannot be opened falls back to
// headless with a line on stderr. Tests never call it, so they stay
// headless unless they make an X11 display themselves.
enum class TDisplayKind { Headless, X11 };
TDisplayKind SelectDisplay();
