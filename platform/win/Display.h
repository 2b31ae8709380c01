// Display.h — the seam between the window system and what shows it. A
// backend shows top-level windows' pixels, tells the screen size and feeds
// input (Input.h's Queue* calls); the window system tells it when a
// top-level window changed or was painted and asks it to wait when the
// queue is empty. The headless backend (HeadlessDisplay.h) is the default.
#pragma once
#include <memory>
#include "platform/win/WinTypes.h"

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
};

// The current display; a headless one is made on first use.
TDisplay& Display();
// Replaces the display (null: back to a fresh headless one).
void SetDisplay(std::unique_ptr<TDisplay> D);
