// Popup menus with many items: opening a 1 000-item menu (measuring every
// item, showing and painting the first screenful) and closing it with Esc,
// for a raw HMENU and for a TPopupMenu built from TMenuItems.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/forms/Menus.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Menus.h"
#include "platform/win/Win.h"

namespace {
struct TMenuFixture {
  TMenuFixture() {
    SetDisplay(nullptr);
    ResetWindowSystem();
    WNDCLASSA C;
    C.lpfnWndProc = &DefWindowProcA;
    C.lpszClassName = "SxBenchOwner";
    RegisterClassA(&C);
    Owner = CreateWindowExA(0, "SxBenchOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                            nullptr);
  }
  ~TMenuFixture() { ResetWindowSystem(); }
  HWND Owner = nullptr;
};

void BM_TrackPopupMenu1000Items(benchmark::State& State) {
  TMenuFixture F;
  HMENU M = CreatePopupMenu();
  for (int I = 1; I <= 1000; ++I) AppendMenuA(M, MF_STRING, UINT_PTR(I), ("Item number " + std::to_string(I)).c_str());
  for (auto _ : State) {
    HeadlessDisplay().KeyPress(VK_ESCAPE);
    benchmark::DoNotOptimize(TrackPopupMenuEx(M, TPM_RETURNCMD, 10, 10, F.Owner, nullptr));
  }
  DestroyMenu(M);
}
BENCHMARK(BM_TrackPopupMenu1000Items)->Unit(benchmark::kMillisecond);

void BM_PopupMenu1000MenuItems(benchmark::State& State) {
  TMenuFixture F;
  TComponent Owner(nullptr);
  auto* Menu = new TPopupMenu(&Owner);
  for (int I = 1; I <= 1000; ++I) {
    auto* Item = new TMenuItem(&Owner);
    Item->SetCaption("Item number " + std::to_string(I));
    Menu->Items()->Add(Item);
  }
  for (auto _ : State) {
    HeadlessDisplay().KeyPress(VK_ESCAPE);
    Menu->Popup(10, 10);
  }
}
BENCHMARK(BM_PopupMenu1000MenuItems)->Unit(benchmark::kMillisecond);
}  // namespace
