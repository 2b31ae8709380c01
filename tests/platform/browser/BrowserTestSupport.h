// BrowserTestSupport.h — a fresh headless window system with one form for
// the HTML view and browser tests, a scratch folder for pages, and pixel
// helpers. Header only; the host's tests (tests/app/browser) use it too.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "../../support/ScratchDir.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

namespace browsertest {

class TBrowserTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock(100000);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 640, 480);
  }
  void TearDown() override {
    Form.reset();
    ResetWindowSystem();
    UseRealClock();
    SetDisplay(nullptr);
  }
  THeadlessDisplay& Screen() { return HeadlessDisplay(); }
  void Pump() { Screen().ProcessMessages(); }
  void ShowForm() {
    Form->Show();
    Pump();
  }
  // A file in the scratch folder; returns its full name.
  std::string Write(const std::string& Name, const std::string& Bytes) {
    const std::string P = Dir / Name;
    std::ofstream(P, std::ios::binary) << Bytes;
    return P;
  }
  // The form's pixel at a point of its client area.
  COLORREF Pixel(int X, int Y) { return Screen().ScreenPixel(X, Y); }
  // Saves the screen under the test program's folder when
  // SX_SCREENSHOT_DIR names a folder, for a look.
  void Shot(const std::string& Name) {
    if (const char* D = std::getenv("SX_SCREENSHOT_DIR")) Screen().SaveScreenshot(std::string(D) + "/" + Name);
  }
  // Whether any pixel of R is "ink" of the given kind.
  template <class Pred>
  bool AnyPixel(const TRect& R, Pred P) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (P(Pixel(X, Y))) return true;
    return false;
  }
  template <class Pred>
  int CountPixels(const TRect& R, Pred P) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (P(Pixel(X, Y))) ++N;
    return N;
  }

  sxtest::TScratchDir Dir{"browser"};
  std::unique_ptr<TForm> Form;
};

}  // namespace browsertest
