// A 1 MB text in the system EDIT control as a memo uses it (multi-line,
// vertical scroll bar, word wrap on and off): setting the text, scrolling
// to the end, and typing one character there (which re-lays the lines
// out when they wrap).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/win/EditControl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {

std::string OneMegabyte() {
  std::string T;
  T.reserve((1 << 20) + 100);
  int Line = 0;
  while (T.size() < (1u << 20)) {
    T += "Line " + std::to_string(++Line) + ": the quick brown fox jumps over the lazy dog, again and again.\r\n";
  }
  return T;
}

// A shown window with a focused multi-line edit.
struct TMemoWindow {
  HWND Top = nullptr, Edit = nullptr;
  explicit TMemoWindow(bool Wrap) {
    SetDisplay(nullptr);
    ResetWindowSystem();
    WNDCLASSA C;
    C.lpfnWndProc = &DefWindowProcA;
    C.lpszClassName = "BenchTop";
    RegisterClassA(&C);
    Top = CreateWindowExA(0, "BenchTop", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                          nullptr);
    const DWORD Style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | (Wrap ? 0 : ES_AUTOHSCROLL | WS_HSCROLL);
    Edit = CreateWindowExA(0, "EDIT", "", Style, 0, 0, 600, 400, Top, nullptr, nullptr, nullptr);
    SendMessageA(Edit, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SetFocus(Edit);
  }
  ~TMemoWindow() { ResetWindowSystem(); }
};

void BM_MemoSetText1MB(benchmark::State& State) {
  const std::string Text = OneMegabyte();
  TMemoWindow W(State.range(0) != 0);
  for (auto _ : State) {
    SetWindowTextA(W.Edit, Text.c_str());
    benchmark::DoNotOptimize(SendMessageA(W.Edit, EM_GETLINECOUNT, 0, 0));
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Text.size()));
}
BENCHMARK(BM_MemoSetText1MB)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond);

void BM_MemoScrollToEnd1MB(benchmark::State& State) {
  const std::string Text = OneMegabyte();
  TMemoWindow W(State.range(0) != 0);
  SetWindowTextA(W.Edit, Text.c_str());
  for (auto _ : State) {
    SendMessageA(W.Edit, EM_SETSEL, 0, 0);
    SendMessageA(W.Edit, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(W.Edit, EM_SETSEL, WPARAM(Text.size()), LPARAM(Text.size()));
    SendMessageA(W.Edit, EM_SCROLLCARET, 0, 0);
    UpdateWindow(W.Top);
  }
}
BENCHMARK(BM_MemoScrollToEnd1MB)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond);

void BM_MemoTypeAtEnd1MB(benchmark::State& State) {
  const std::string Text = OneMegabyte();
  TMemoWindow W(State.range(0) != 0);
  SetWindowTextA(W.Edit, Text.c_str());
  SendMessageA(W.Edit, EM_SETSEL, WPARAM(Text.size()), LPARAM(Text.size()));
  for (auto _ : State) {
    SendMessageA(W.Edit, WM_CHAR, 'x', 0);
    UpdateWindow(W.Top);
  }
}
BENCHMARK(BM_MemoTypeAtEnd1MB)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond);

}  // namespace
