// X11Session.h — a private desktop for the X11 tests: Xvfb on a display
// number of its own (found through -displayfd), a window manager (openbox)
// and a tray host (trayer), each started under `timeout` so none outlives
// its limit, and stopped by process id when the test program ends.
//
// The session also keeps a connection of its own, for what a test does as
// "another program": XTest input, reading pixels, the tray's windows.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

class TX11Session {
public:
  // The one session of this test program, started on first use; null
  // when Xvfb is missing or does not start (the test skips).
  static TX11Session* Get();
  ~TX11Session();

  const std::string& Name() const { return FName; }   // ":N"
  _XDisplay* Dpy() const { return FDpy; }
  int Width() const { return 1280; }
  int Height() const { return 800; }
  bool HasWindowManager() const { return FWm; }
  bool HasTray() const { return FTray; }
  // A shell command with DISPLAY set to the session.
  std::string Command(const std::string& Cmd) const;

  // Input as a user's, through XTest (flushed at once).
  void MoveTo(int X, int Y);
  void Button(int Button, bool Down);
  void Click(int X, int Y, int Button = 1);
  void Key(unsigned long KeySym, bool Down);
  void Tap(unsigned long KeySym);
  // Types ASCII text, with Shift where the US layout needs it.
  void Type(const std::string& Text);
  // 0x00RRGGBB pixels of an X window's area (XGetImage); empty on failure.
  std::vector<std::uint32_t> Grab(unsigned long Window, int X, int Y, int W, int H);
  // Whether the server shows the window, and whether it has the input focus.
  bool Viewable(unsigned long Window) const;
  bool HasFocus(unsigned long Window) const;

private:
  TX11Session() = default;
  bool Start();
  pid_t Spawn(const std::vector<std::string>& Args, int KeepFd = -1);
  bool WaitForSelection(const char* Selection, int Ms);
  std::string FName;
  _XDisplay* FDpy = nullptr;
  std::vector<pid_t> FChildren;  // last first when stopping
  bool FWm = false, FTray = false;
};
