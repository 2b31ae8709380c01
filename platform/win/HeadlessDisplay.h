// HeadlessDisplay.h — the display without a screen: top-level windows paint
// into their memory surfaces, and tests drive it: input at screen
// coordinates, running the queue until idle, reading pixels of the composed
// screen, screenshots as PNG. Work area and monitor queries answer from a
// configurable screen size.
//
// An empty queue never blocks on the virtual clock: WaitForEvents asks the
// idle handler (which may queue input or advance the clock and returns true
// to go on); without one it may jump the clock to the next timer
// (SetAutoAdvance), else it throws, so that a test that forgot an answer
// fails instead of hanging. On the real clock it waits for a post from
// another thread or the next timer.
#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include "platform/win/Display.h"
#include "platform/win/Input.h"

class THeadlessDisplay : public TDisplay {
public:
  explicit THeadlessDisplay(TSize Screen = {1024, 768});
  TRect ScreenRect() const override { return FScreen; }
  TRect WorkArea() const override { return FWork; }
  void SetWorkArea(const TRect& R) override { FWork = R; }
  void WaitForEvents(int TimeoutMs) override;
  void Wake() override;
  void Beep(UINT) override { ++FBeeps; }

  // A new screen size; the work area becomes the screen less a 30-pixel
  // task bar at the bottom.
  void SetScreenSize(TSize S);
  int Beeps() const { return FBeeps; }
  using TIdleHandler = std::function<bool()>;
  void SetIdleHandler(TIdleHandler H) { FIdle = std::move(H); }
  void SetAutoAdvance(bool On) { FAutoAdvance = On; }

  // Input at screen coordinates; it waits in the queue until retrieved.
  void MouseMove(int X, int Y);
  void MouseDown(int X, int Y, TInputButton B = TInputButton::Left);
  void MouseUp(int X, int Y, TInputButton B = TInputButton::Left);
  void Click(int X, int Y, TInputButton B = TInputButton::Left);
  void Wheel(int X, int Y, int Delta);
  void KeyDown(WORD Vk);
  void KeyUp(WORD Vk);
  void KeyPress(WORD Vk);
  // Each character as its key (with Shift where the US layout needs it).
  void TypeText(const AnsiString& Text);
  // Retrieves, translates and dispatches until nothing is left.
  int ProcessMessages();

  // The composed screen: the topmost visible top-level window at the point,
  // else the desktop colour.
  COLORREF ScreenPixel(int X, int Y) const;
  // A pixel of a top-level window's surface, in window coordinates.
  COLORREF WindowPixel(HWND TopLevel, int X, int Y) const;
  // Writes the screen (or Area of it) as a PNG; false when it cannot.
  bool SaveScreenshot(const std::string& Path, const TRect* Area = nullptr) const;

private:
  TRect FScreen, FWork;
  int FBeeps = 0;
  TIdleHandler FIdle;
  bool FAutoAdvance = false;
  std::mutex FLock;
  std::condition_variable FCond;
  bool FWoken = false;
};

// The current display as a headless one; installs a fresh headless display
// when another kind is current.
THeadlessDisplay& HeadlessDisplay();

// Writes 0x00RRGGBB pixels (row 0 at the top) as an 8-bit RGB PNG.
bool WritePng(const std::string& Path, int Width, int Height, const std::uint32_t* Pixels);
