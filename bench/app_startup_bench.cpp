// The program's start-up on the headless display: the main window read
// from its form description (bars, editors, shell views, browser, desktop
// parts), its create handler, shown and painted once — what a user waits
// for between starting the program and seeing its window. The classes are
// registered and the editor library is up once per process, as the
// program does before its window.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "AppBenchSupport.h"
#include "editor/base/EdLibrary.h"

namespace {

void BM_StartUpToFirstPaintedWindow(benchmark::State& State) {
  bench::TProgramDir Dir("startup");
  TEditorLibrary Library;
  bench::StartWindowSystem();
  for (auto _ : State) {
    TApplication App(nullptr);
    TMainForm* Main = bench::OpenMainWindow(App);
    benchmark::DoNotOptimize(HeadlessDisplay().WindowPixel(Main->Handle(), 200, 200));
    State.PauseTiming();
    delete Main;
    std::filesystem::remove(Dir.Data("Layout.ini"));
    State.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstPaintedWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
