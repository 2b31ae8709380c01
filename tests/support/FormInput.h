// FormInput.h — a user's input to a form on the headless display, and
// what the form shows: clicks and keys at a control, the screen's pixels,
// and a picture of the form under build/ for a person to look at.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "platform/forms/Forms.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace sxtest {

// Runs Press with Ctrl and Shift held as asked.
template <class F>
void WithModifiers(bool Ctrl, bool Shift, F Press) {
  if (Ctrl) HeadlessDisplay().KeyDown(VK_CONTROL);
  if (Shift) HeadlessDisplay().KeyDown(VK_SHIFT);
  Press();
  if (Shift) HeadlessDisplay().KeyUp(VK_SHIFT);
  if (Ctrl) HeadlessDisplay().KeyUp(VK_CONTROL);
}

// A click at a point of a control's client area.
inline void ClickAt(TControl* C, int X, int Y, bool Ctrl = false, bool Shift = false) {
  const TPoint P = C->ClientToScreen({X, Y});
  WithModifiers(Ctrl, Shift, [&] { HeadlessDisplay().Click(P.X, P.Y); });
}
inline void Key(WORD Vk, bool Ctrl = false, bool Shift = false) {
  WithModifiers(Ctrl, Shift, [&] { HeadlessDisplay().KeyPress(Vk); });
}
inline void Type(const AnsiString& Text) { HeadlessDisplay().TypeText(Text); }

// The form's component of that name and class (a test failure when absent).
template <class T>
T* Named(TForm* Form, const char* Name) {
  T* C = dynamic_cast<T*>(Form->FindComponent(Name));
  EXPECT_NE(C, nullptr) << Name;
  return C;
}

// The screen's pixel at a control's client point.
inline COLORREF PixelAt(TControl* C, int X, int Y) {
  const TPoint P = C->ClientToScreen({X, Y});
  return HeadlessDisplay().ScreenPixel(P.X, P.Y);
}

// Saves the form's picture as build/<Name>.png.
inline void SaveShot(TForm* Form, const std::string& Name) {
  TRect R;
  GetWindowRect(Form->Handle(), &R);
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/" + Name + ".png", &R);
}

}  // namespace sxtest
