// The list box with long lists: filling it (in order and sorted), paging
// and scrolling to the end, painting the visible rows, and selecting all
// of an extended-selection list with the keyboard.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Win.h"

namespace {
struct TListFixture {
  explicit TListFixture(DWORD Style) {
    SetDisplay(nullptr);
    ResetWindowSystem();
    WNDCLASSA C;
    C.lpfnWndProc = &DefWindowProcA;
    C.lpszClassName = "SxBenchParent";
    RegisterClassA(&C);
    Parent = CreateWindowExA(0, "SxBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                             nullptr, nullptr);
    List = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | Style, 10, 10, 200, 250, Parent,
                           nullptr, nullptr, nullptr);
  }
  ~TListFixture() { ResetWindowSystem(); }
  HWND Parent = nullptr, List = nullptr;
};

std::vector<std::string> Lines(int N, bool Shuffled) {
  std::vector<std::string> R;
  R.reserve(std::size_t(N));
  for (int I = 0; I < N; ++I) {
    const int K = Shuffled ? int((std::uint64_t(I) * 2654435761u) % std::uint64_t(N)) : I;
    R.push_back("line " + std::to_string(K));
  }
  return R;
}

void Fill(HWND List, const std::vector<std::string>& L) {
  SendMessageA(List, WM_SETREDRAW, FALSE, 0);
  for (const auto& S : L) SendMessageA(List, LB_ADDSTRING, 0, LPARAM(S.c_str()));
  SendMessageA(List, WM_SETREDRAW, TRUE, 0);
}

// Filling with redraw on: each added row invalidates only what moved.
void BM_ListBoxAddWithRedraw(benchmark::State& State) {
  const auto L = Lines(int(State.range(0)), false);
  for (auto _ : State) {
    TListFixture F(0);
    for (const auto& S : L) SendMessageA(F.List, LB_ADDSTRING, 0, LPARAM(S.c_str()));
    UpdateWindow(F.List);
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ListBoxAddWithRedraw)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ListBoxFillAndScrollToEnd(benchmark::State& State) {
  const auto L = Lines(int(State.range(0)), false);
  for (auto _ : State) {
    TListFixture F(0);
    Fill(F.List, L);
    SendMessageA(F.List, LB_SETCURSEL, WPARAM(L.size() - 1), 0);
    UpdateWindow(F.List);
    benchmark::DoNotOptimize(SendMessageA(F.List, LB_GETTOPINDEX, 0, 0));
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ListBoxFillAndScrollToEnd)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

// Sorted: every row goes to its place in the middle of the list.
void BM_ListBoxFillSorted(benchmark::State& State) {
  const auto L = Lines(int(State.range(0)), true);
  for (auto _ : State) {
    TListFixture F(LBS_SORT);
    Fill(F.List, L);
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ListBoxFillSorted)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

// Page Down through the whole list, painting each page.
void BM_ListBoxPageToTheEnd(benchmark::State& State) {
  TListFixture F(0);
  Fill(F.List, Lines(100000, false));
  for (auto _ : State) {
    SendMessageA(F.List, LB_SETTOPINDEX, 0, 0);
    int Pages = 0;
    while (SendMessageA(F.List, LB_GETTOPINDEX, 0, 0) + 20 < 100000 && Pages < 10000) {
      SendMessageA(F.List, WM_VSCROLL, SB_PAGEDOWN, 0);
      UpdateWindow(F.List);
      ++Pages;
    }
    benchmark::DoNotOptimize(Pages);
  }
}
BENCHMARK(BM_ListBoxPageToTheEnd)->Unit(benchmark::kMillisecond);

// One repaint of the visible rows of a long list, anywhere in it.
void BM_ListBoxPaintVisibleRows(benchmark::State& State) {
  TListFixture F(0);
  Fill(F.List, Lines(int(State.range(0)), false));
  SendMessageA(F.List, LB_SETTOPINDEX, WPARAM(State.range(0) / 2), 0);
  for (auto _ : State) {
    InvalidateRect(F.List, nullptr, TRUE);
    UpdateWindow(F.List);
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ListBoxPaintVisibleRows)->Arg(1000)->Arg(100000)->Complexity();

// Selecting: Shift+End over an extended list, then a plain click-like
// selection of one row that clears the others.
void BM_ListBoxSelectAllThenOne(benchmark::State& State) {
  TListFixture F(LBS_EXTENDEDSEL);
  Fill(F.List, Lines(int(State.range(0)), false));
  SetFocus(F.List);
  for (auto _ : State) {
    SendMessageA(F.List, LB_SETSEL, TRUE, -1);
    benchmark::DoNotOptimize(SendMessageA(F.List, LB_GETSELCOUNT, 0, 0));
    SendMessageA(F.List, LB_SETCARETINDEX, 0, 0);
    SendMessageA(F.List, WM_KEYDOWN, VK_END, 0);
  }
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ListBoxSelectAllThenOne)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity();
}  // namespace
