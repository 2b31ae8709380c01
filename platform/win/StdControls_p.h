// StdControls_p.h — what the system control classes (EDIT, BUTTON,
// STATIC) share inside platform/win: their registration, the paint DC a
// WM_PAINT gives them, and the notification to the parent.
#pragma once
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/WinTypes.h"

// Registers the system classes in the current class table (once per
// window-system state; the class lookup calls it on its first miss).
void RegisterSystemControlClasses();

// The DC of a WM_PAINT or WM_PRINTCLIENT: the one in wParam when given,
// else BeginPaint's, ended however the painting leaves (an owner-draw
// handler may throw).
class TControlPaintDc {
public:
  TControlPaintDc(HWND Wnd, WPARAM W) : FWnd(Wnd), FDc(HDC(W)) {
    if (!FDc) {
      FDc = BeginPaint(Wnd, &FPs);
      FOwn = true;
    }
  }
  ~TControlPaintDc() {
    if (FOwn) EndPaint(FWnd, &FPs);
  }
  TControlPaintDc(const TControlPaintDc&) = delete;
  TControlPaintDc& operator=(const TControlPaintDc&) = delete;
  HDC Dc() const { return FDc; }
  // The area WM_PAINT asks for; null when printing into a given DC.
  const TRect* PaintArea() const { return FOwn ? &FPs.rcPaint : nullptr; }

private:
  HWND FWnd;
  HDC FDc;
  PAINTSTRUCT FPs;
  bool FOwn = false;
};

// WM_COMMAND to the parent: the control's id and Code.
void NotifyParent(HWND Control, WORD Code);
