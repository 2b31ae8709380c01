// X11Display.h — the display on an X server through Xlib. Each top-level
// window of the layer becomes an X window (its children stay inside the
// layer and are composed into its surface); the surface's damaged
// rectangles go out through MIT-SHM when the server offers it, else
// XPutImage. Input comes back through Input.h's Queue* calls, so the layer
// sees the same raw input as from the headless display.
//
// Windows with a caption are managed: the window manager draws their frame
// and the X window holds only the client area. Captionless popups (menus,
// drop-down lists, hints) are override-redirect windows holding the whole
// window. The clipboard is the CLIPBOARD selection, hot keys are key grabs
// on the root window, the tray icon docks in the freedesktop tray, and
// files dropped by other programs (XDND) arrive as WM_DROPFILES.
//
// No X11 header shows here: the layers above see only TDisplay.
#pragma once
#include <memory>
#include <string>
#include "platform/win/Display.h"

class TX11Display : public TDisplay {
public:
  // Connects to the named display (null: $DISPLAY); null when no server
  // answers or its screen is not 24-bit true colour.
  static std::unique_ptr<TX11Display> Open(const char* Name = nullptr);
  ~TX11Display() override;

  TRect ScreenRect() const override;
  TRect WorkArea() const override;
  void SetWorkArea(const TRect& R) override;
  std::vector<TMonitorArea> Monitors() const override;
  void WaitForEvents(int TimeoutMs) override;
  void Wake() override;
  void WindowChanged(HWND Wnd) override;
  void SurfaceChanged(HWND Wnd, const TRect& R) override;
  void Beep(UINT Type) override;
  void CursorChanged(HCURSOR Cursor) override;
  void PollEvents() override;
  void CaptureChanged(HWND Wnd) override;
  void ForegroundRequested(HWND Wnd) override;
  void ClipboardOpened() override;
  void ClipboardChanged() override;
  bool HotKeyAdded(UINT Modifiers, UINT VirtKey) override;
  void HotKeyRemoved(UINT Modifiers, UINT VirtKey) override;
  bool TrayIcon(TTrayAction Action, const TTrayIcon& Icon) override;

  // Ships what is pending (window state, damaged pixels) and waits until
  // the server has handled it.
  void Flush();
  // The X window showing a top-level window (0: none yet).
  unsigned long XWindowOf(HWND TopLevel) const;
  // The X window of a tray icon (0: not docked).
  unsigned long TrayWindowOf(HWND Wnd, UINT Id) const;
  // Whether pixels go through shared memory.
  bool UsesSharedMemory() const;
  // SX_X11_NOSHM=1 in the environment turns shared memory off too.
  void SetSharedMemory(bool On);
  std::string DisplayName() const;

  struct TImpl;

private:
  explicit TX11Display(std::unique_ptr<TImpl> Impl);
  std::unique_ptr<TImpl> F;
};

// The current display as an X11 one, or null.
TX11Display* CurrentX11Display();
