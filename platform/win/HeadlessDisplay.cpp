#include "platform/win/HeadlessDisplay.h"

#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Streams.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

THeadlessDisplay::THeadlessDisplay(TSize Screen) { SetScreenSize(Screen); }

void THeadlessDisplay::SetScreenSize(TSize S) {
  FScreen = {0, 0, S.cx, S.cy};
  FWork = {0, 0, S.cx, std::max(0, S.cy - 30)};
}

void THeadlessDisplay::WaitForEvents(int TimeoutMs) {
  if (ClockIsVirtual()) {
    if (FIdle) {
      if (!FIdle()) throw EInvalidOperation("The headless display's idle handler ended the wait");
      return;
    }
    if (FAutoAdvance && TimeoutMs >= 0) {
      AdvanceClock(DWORD(TimeoutMs));
      return;
    }
    throw EInvalidOperation(
        "The message queue is empty and nothing will arrive: queue input or set an idle handler");
  }
  std::unique_lock<std::mutex> Lock(FLock);
  auto Ready = [&] { return FWoken; };
  if (TimeoutMs < 0) FCond.wait(Lock, Ready);
  else FCond.wait_for(Lock, std::chrono::milliseconds(TimeoutMs), Ready);
  FWoken = false;
}

void THeadlessDisplay::Wake() {
  {
    std::lock_guard<std::mutex> Lock(FLock);
    FWoken = true;
  }
  FCond.notify_all();
}

void THeadlessDisplay::MouseMove(int X, int Y) { QueueMouseMove({X, Y}); }

void THeadlessDisplay::MouseDown(int X, int Y, TInputButton B) {
  QueueMouseMove({X, Y});
  QueueMouseButton(B, true, {X, Y});
}

void THeadlessDisplay::MouseUp(int X, int Y, TInputButton B) {
  QueueMouseMove({X, Y});
  QueueMouseButton(B, false, {X, Y});
}

void THeadlessDisplay::Click(int X, int Y, TInputButton B) {
  MouseDown(X, Y, B);
  MouseUp(X, Y, B);
}

void THeadlessDisplay::Wheel(int X, int Y, int Delta) { QueueMouseWheel(Delta, {X, Y}); }
void THeadlessDisplay::KeyDown(WORD Vk) { QueueKey(Vk, true); }
void THeadlessDisplay::KeyUp(WORD Vk) { QueueKey(Vk, false); }

void THeadlessDisplay::KeyPress(WORD Vk) {
  KeyDown(Vk);
  KeyUp(Vk);
}

void THeadlessDisplay::TypeText(const AnsiString& Text) {
  for (char C : Text) {
    SHORT K = VkKeyScanA(C);
    if (K == -1) throw EInvalidOperation(AnsiString("No key types the character ") + C);
    bool Shift = K & 0x100;
    if (Shift) KeyDown(VK_SHIFT);
    KeyPress(WORD(K & 0xFF));
    if (Shift) KeyUp(VK_SHIFT);
  }
}

int THeadlessDisplay::ProcessMessages() { return ProcessPendingMessages(); }

COLORREF THeadlessDisplay::WindowPixel(HWND Top, int X, int Y) const {
  auto* Bmp = GdiLookupAs<TBitmapObject>(WindowSurface(Top));
  if (!Bmp || X < 0 || Y < 0 || X >= Bmp->Width || Y >= Bmp->Height) return CLR_INVALID;
  return Bmp->PixelToColor(Bmp->GetPixelValue(X, Y));
}

COLORREF THeadlessDisplay::ScreenPixel(int X, int Y) const {
  for (HWND H : WinTopLevels()) {
    TWindow* W = WinPtr(H);
    if (!W || !(W->Style & WS_VISIBLE) || !W->Rect.Contains({X, Y})) continue;
    if (W->WindowRgn && !PtInRegion(W->WindowRgn, X - W->Rect.Left, Y - W->Rect.Top)) continue;
    COLORREF C = WindowPixel(H, X - W->Rect.Left, Y - W->Rect.Top);
    if (C != CLR_INVALID) return C;
  }
  return GetSysColor(COLOR_BACKGROUND);
}

bool THeadlessDisplay::SaveScreenshot(const std::string& Path, const TRect* Area) const {
  TRect A = Area ? *Area : FScreen;
  if (A.IsEmpty()) return false;
  std::vector<std::uint32_t> Px(std::size_t(A.Width()) * std::size_t(A.Height()));
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) {
      COLORREF C = ScreenPixel(A.Left + X, A.Top + Y);
      Px[std::size_t(Y) * std::size_t(A.Width()) + std::size_t(X)] =
          (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
    }
  return WritePng(Path, A.Width(), A.Height(), Px.data());
}

THeadlessDisplay& HeadlessDisplay() {
  if (auto* H = dynamic_cast<THeadlessDisplay*>(&Display())) return *H;
  SetDisplay(std::make_unique<THeadlessDisplay>());
  return dynamic_cast<THeadlessDisplay&>(Display());
}

// --- PNG -------------------------------------------------------------------------------

bool WritePng(const std::string& Path, int Width, int Height, const std::uint32_t* Pixels) {
  if (Width <= 0 || Height <= 0 || !Pixels) return false;
  TMemoryStream Png;
  WritePngRgb(&Png, Width, Height, [&](int Y) { return Pixels + std::size_t(Y) * std::size_t(Width); });
  // Whole or not at all: no half-written file remains.
  return TrySaveFileAtomically(Path, Png.Memory(), std::size_t(Png.GetSize()));
}
