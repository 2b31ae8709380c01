// Fill rate of the raster DC: a 4000x4000 FillRect on a 32-bpp bitmap (the
// memory-bandwidth case), the same under a complex clip, a hatched fill and
// an ellipse, lines, and a path fill far larger than its surface.
#include <benchmark/benchmark.h>

#include "platform/gdi/Gdi.h"

namespace {
struct TSurface {
  HDC Dc;
  HBITMAP Bmp;
  HGDIOBJ Old;
  explicit TSurface(int N) {
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateBitmap(N, N, 1, 32, nullptr);
    Old = SelectObject(Dc, Bmp);
  }
  ~TSurface() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
};

void BM_FillRect4000(benchmark::State& State) {
  TSurface S(4000);
  HBRUSH B = CreateSolidBrush(RGB(10, 200, 30));
  TRect R(0, 0, 4000, 4000);
  for (auto _ : State) FillRect(S.Dc, &R, B);
  State.SetBytesProcessed(std::int64_t(State.iterations()) * 4000 * 4000 * 4);
  DeleteObject(B);
}
BENCHMARK(BM_FillRect4000)->Unit(benchmark::kMillisecond);

void BM_FillRect4000ComplexClip(benchmark::State& State) {
  TSurface S(4000);
  for (int I = 0; I < 40; ++I) ExcludeClipRect(S.Dc, I * 100, I * 100, I * 100 + 50, I * 100 + 50);
  HBRUSH B = CreateSolidBrush(RGB(10, 200, 30));
  TRect R(0, 0, 4000, 4000);
  for (auto _ : State) FillRect(S.Dc, &R, B);
  State.SetBytesProcessed(std::int64_t(State.iterations()) * 4000 * 4000 * 4);
  DeleteObject(B);
}
BENCHMARK(BM_FillRect4000ComplexClip)->Unit(benchmark::kMillisecond);

void BM_HatchFill2000(benchmark::State& State) {
  TSurface S(2000);
  HBRUSH B = CreateHatchBrush(HS_DIAGCROSS, RGB(200, 0, 0));
  TRect R(0, 0, 2000, 2000);
  for (auto _ : State) FillRect(S.Dc, &R, B);
  State.SetItemsProcessed(std::int64_t(State.iterations()) * 2000 * 2000);
  DeleteObject(B);
}
BENCHMARK(BM_HatchFill2000)->Unit(benchmark::kMillisecond);

void BM_Ellipse2000(benchmark::State& State) {
  TSurface S(2000);
  for (auto _ : State) Ellipse(S.Dc, 0, 0, 2000, 2000);
  State.SetItemsProcessed(std::int64_t(State.iterations()) * 2000 * 2000);
}
BENCHMARK(BM_Ellipse2000)->Unit(benchmark::kMillisecond);

void BM_Lines(benchmark::State& State) {
  TSurface S(1000);
  for (auto _ : State)
    for (int I = 0; I < 1000; I += 10) {
      MoveToEx(S.Dc, 0, I, nullptr);
      LineTo(S.Dc, 999, 999 - I);
    }
  State.SetItemsProcessed(std::int64_t(State.iterations()) * 100);
}
BENCHMARK(BM_Lines)->Unit(benchmark::kMicrosecond);

// A filled path that reaches far past a small surface: only the visible
// rows should cost anything.
void BM_FillPathFarLargerThanTheSurface(benchmark::State& State) {
  TSurface S(100);
  const int Big = int(State.range(0));
  for (auto _ : State) {
    BeginPath(S.Dc);
    MoveToEx(S.Dc, -Big, -Big, nullptr);
    LineTo(S.Dc, Big, -Big + 7);
    LineTo(S.Dc, 3, Big);
    CloseFigure(S.Dc);
    EndPath(S.Dc);
    FillPath(S.Dc);
  }
}
BENCHMARK(BM_FillPathFarLargerThanTheSurface)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
}  // namespace
