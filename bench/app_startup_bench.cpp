// The program's start-up on the headless display: the main window read
// from its form description (bars, editors, shell views, browser, desktop
// parts), its create handler, shown and painted once — what a user waits
// for between starting the program and seeing its window. The classes are
// registered and the editor library is up once per process, as the
// program does before its window.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/public_unit.h"
#include "app/start.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/Application.h"
#include "platform/forms/FormLoader.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Window.h"

namespace {
namespace fs = std::filesystem;

// A private program folder: the shipped data beside the executable.
struct TProgramDir {
  fs::path Root = fs::temp_directory_path() / ("sx-startup-bench-" + std::to_string(::getpid()));
  TProgramDir() {
    fs::create_directories(Root / "data");
    for (const char* F : {"html.sch", "tdy_config.txt", "sample.rtf"})
      fs::copy_file(fs::path(SX_SOURCE_DIR) / "data" / F, Root / "data" / F, fs::copy_options::overwrite_existing);
    SetAppDir(Root.string());
    SetFormDescriptionDir(SX_SOURCE_DIR "/resources");
  }
  ~TProgramDir() {
    SetAppDir("");
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
};

void BM_StartUpToFirstPaintedWindow(benchmark::State& State) {
  TProgramDir Dir;
  TEditorLibrary Library;
  RegisterAppClasses();
  ResetWindowSystem();
  HeadlessDisplay().SetScreenSize({1024, 768});
  for (auto _ : State) {
    TApplication App(nullptr);
    TMainForm* Main = nullptr;
    App.CreateForm(Main);
    Main->Show();
    HeadlessDisplay().ProcessMessages();  // painted
    benchmark::DoNotOptimize(HeadlessDisplay().WindowPixel(Main->Handle(), 200, 200));
    State.PauseTiming();
    delete Main;
    fs::remove(Dir.Root / "data" / "Layout.ini");
    State.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstPaintedWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
