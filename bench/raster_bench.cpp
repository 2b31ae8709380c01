// Pages per second of the picture and SVG engines: a 20-page document of
// 600 x 800 pages, each with 40 lines of text, written to PNG and to SVG.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include "export/image/PngEngine.h"
#include "export/svg/SvgEngine.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"

namespace {
constexpr int Pages = 20;

template <class E>
void WriteDocument(E& Engine, const std::string& Name) {
  Engine.SetMeasurementUnit(muPixels);
  Engine.GetPreferences()->SetShowSetupDialog(false);
  Engine.GetPreferences()->SetOpenAfterCreate(false);
  Engine.GetPage()->SetPaperSize(Custom);
  Engine.GetPage()->SetWidth(600);
  Engine.GetPage()->SetHeight(800);
  Engine.GetFont()->SetName("Times New Roman");
  Engine.GetFont()->SetSize(11);
  Engine.SetFileName(Name);
  Engine.BeginDoc();
  for (int P = 0; P < Pages; ++P) {
    if (P) Engine.NewPage();
    for (int L = 0; L < 40; ++L)
      Engine.TextOut(25, 25 + L * 18, u"The quick brown fox jumps over the lazy dog, line " + AnsiToWide(std::to_string(L)));
  }
  Engine.EndDoc();
}

template <class E>
void BM_Document(benchmark::State& State) {
  const std::string Dir = GetTempPath() + "sx_raster_bench_" + std::to_string(getpid()) + "/";
  ForceDirectories(Dir);
  for (auto _ : State) {
    E Engine(nullptr);
    WriteDocument(Engine, Dir + "page");
  }
  State.counters["pages/s"] = benchmark::Counter(double(Pages) * double(State.iterations()), benchmark::Counter::kIsRate);
  std::string Cmd = "rm -rf '" + Dir + "'";
  if (std::system(Cmd.c_str()) != 0) State.SkipWithError("cannot remove the output folder");
}
}  // namespace

BENCHMARK(BM_Document<TgtPNGEngine>)->Name("PNG_20Pages_600x800")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Document<TgtSVGEngine>)->Name("SVG_20Pages_600x800")->Unit(benchmark::kMillisecond);
