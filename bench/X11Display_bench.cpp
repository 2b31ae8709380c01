// The X11 display's costs on a private Xvfb: shipping a whole 1280x800
// window (shared memory and plain XPutImage), and 1000 key presses from
// XTest to the window procedure. Skips when Xvfb is missing.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/win/Win.h"
#include "platform/win/x11/X11Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/DcApi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/x11/X11Session.h"

#define Display XDisplay
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef Display

namespace {
int KeyUps = 0;

LRESULT BenchProc(HWND H, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == WM_KEYUP) ++KeyUps;
  if (Msg == WM_PAINT) {
    PAINTSTRUCT Ps;
    HDC Dc = BeginPaint(H, &Ps);
    // Bands of colour, so the whole surface changes each frame.
    static int Frame = 0;
    ++Frame;
    for (int Y = 0; Y < 800; Y += 40) {
      HBRUSH B = CreateSolidBrush(RGB((Y + Frame) & 255, (Y * 3) & 255, Frame & 255));
      TRect R{0, Y, 1280, Y + 40};
      FillRect(Dc, &R, B);
      DeleteObject(B);
    }
    EndPaint(H, &Ps);
    return 0;
  }
  return DefWindowProcA(H, Msg, W, L);
}

struct TBenchWindow {
  TX11Display* X = nullptr;
  HWND Wnd = nullptr;
  bool Start(benchmark::State& State) {
    TX11Session* S = TX11Session::Get();
    if (!S) {
      State.SkipWithError("no Xvfb");
      return false;
    }
    ResetWindowSystem();
    auto D = TX11Display::Open(S->Name().c_str());
    if (!D) {
      State.SkipWithError("cannot open the display");
      return false;
    }
    X = D.get();
    SetDisplay(std::move(D));
    WNDCLASSA C{};
    C.lpfnWndProc = BenchProc;
    C.lpszClassName = "X11Bench";
    RegisterClassA(&C);
    Wnd = CreateWindowExA(0, "X11Bench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 800, nullptr, nullptr, nullptr,
                          nullptr);
    SetFocus(Wnd);
    ProcessPendingMessages();
    X->Flush();
    return true;
  }
  ~TBenchWindow() {
    ResetWindowSystem();
    SetDisplay(nullptr);
  }
};

void FullRepaint(benchmark::State& State) {
  TBenchWindow B;
  if (!B.Start(State)) return;
  B.X->SetSharedMemory(State.range(0) != 0);
  if (State.range(0) && !B.X->UsesSharedMemory()) {
    State.SkipWithError("no shared memory on this server");
    return;
  }
  for (auto _ : State) {
    InvalidateRect(B.Wnd, nullptr, FALSE);
    UpdateWindow(B.Wnd);
    B.X->Flush();  // shipped and read by the server
  }
  State.SetLabel(State.range(0) ? "MIT-SHM" : "XPutImage");
  State.SetBytesProcessed(std::int64_t(State.iterations()) * 1280 * 800 * 4);
}
BENCHMARK(FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void ThousandKeyPresses(benchmark::State& State) {
  TBenchWindow B;
  if (!B.Start(State)) return;
  TX11Session* S = TX11Session::Get();
  // The X focus on our window, so the keys come to us.
  XSetInputFocus(S->Dpy(), B.X->XWindowOf(B.Wnd), RevertToParent, CurrentTime);
  XSync(S->Dpy(), False);
  for (auto _ : State) {
    KeyUps = 0;
    for (int I = 0; I < 1000; ++I) S->Tap(XK_a);
    while (KeyUps < 1000) {
      ProcessPendingMessages();
      if (KeyUps < 1000) B.X->WaitForEvents(50);
    }
  }
  State.SetItemsProcessed(std::int64_t(State.iterations()) * 1000);
}
BENCHMARK(ThousandKeyPresses)->Unit(benchmark::kMillisecond)->Iterations(3);
}  // namespace
