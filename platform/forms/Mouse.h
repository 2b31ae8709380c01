// Mouse.h — TMouse, the class library's view of the mouse: where it is,
// who holds it, and the thresholds the controls share (drag start, wheel).
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Types.h"

class TMouse {
public:
  TPoint GetCursorPos() const;
  void SetCursorPos(TPoint P);
  HWND GetCapture() const;
  // A press becomes a drag once the mouse left the square of this half
  // size around the press point (pixels).
  Integer DragThreshold = 5;
  bool DragImmediate = true;
  // Lines one wheel notch scrolls.
  Integer WheelScrollLines = 3;
  bool MousePresent() const { return true; }
  bool WheelPresent() const { return true; }
};

// The one mouse object (never null).
extern TMouse* Mouse;
