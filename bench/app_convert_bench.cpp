// One HTML and one PDF conversion through the main window (headless), as a
// user makes them: the document opened into the input editor, then Convert
// To HTML (export, the system's tidier, the output editor loading the page)
// or Convert To PDF (the save dialog answered, the intermediate RTF, the
// hidden rich edit, the PDF engine). Beside each, the conversion harness's
// road for the same document in the same process (its editors made anew
// each time, as each harness run does), so the window's own cost shows as
// the difference. Documents: the shipped sample, and a larger corpus
// document when the corpus is there.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/public_unit.h"
#include "app/start.h"
#include "bars/items/dxBarItem.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/FormLoader.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Window.h"
#include "platform/shell/Processes.h"

namespace {
namespace fs = std::filesystem;

const char* const Documents[] = {SX_SOURCE_DIR "/data/sample.rtf",
                                 SX_CORPUS_DIR "/rtf/pandocwriter_pandoc_writer.rtf"};

// A private program folder: the shipped data and the system's tidier
// beside a private settings store.
struct TProgramDir {
  fs::path Root = fs::temp_directory_path() / ("sx-convert-bench-" + std::to_string(::getpid()));
  TProgramDir() {
    fs::create_directories(Root / "data");
    fs::create_directories(Root / "config");
    fs::create_directories(Root / "out");
    for (const char* F : {"html.sch", "tdy_config.txt"})
      fs::copy_file(fs::path(SX_SOURCE_DIR) / "data" / F, Root / "data" / F, fs::copy_options::overwrite_existing);
    for (const char* Tidy : {"/usr/bin/tidy", "/bin/tidy"})
      if (access(Tidy, X_OK) == 0) {
        fs::create_symlink(Tidy, Root / "data" / "tidy");
        break;
      }
    setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
    SetAppDir(Root.string());
    SetFormDescriptionDir(SX_SOURCE_DIR "/resources");
  }
  ~TProgramDir() {
    SetAppDir("");
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
  std::string Data() const { return (Root / "data").string() + "/"; }
  bool HasTidy() const { return fs::exists(Root / "data" / "tidy"); }
};

bool Skip(benchmark::State& State, const TProgramDir& Dir, bool Html) {
  const char* Doc = Documents[State.range(0)];
  if (!fs::exists(Doc)) {
    State.SkipWithError("document missing (no corpus)");
    return true;
  }
  if (Html && !Dir.HasTidy()) {
    State.SkipWithError("no tidy installed");
    return true;
  }
  State.SetLabel(fs::path(Doc).filename().string());
  return false;
}

// The main window, made once per benchmark; each iteration opens the
// document and converts it.
void MainWindowConversion(benchmark::State& State, bool Html) {
  TProgramDir Dir;
  if (Skip(State, Dir, Html)) return;
  TEditorLibrary Library;
  RegisterAppClasses();
  ResetWindowSystem();
  HeadlessDisplay().SetScreenSize({1024, 768});
  {
    TApplication App(nullptr);
    TMainForm* Main = nullptr;
    App.CreateForm(Main);
    Main->Show();
    HeadlessDisplay().ProcessMessages();
    const std::string Doc = Documents[State.range(0)];
    const std::string Out = (Dir.Root / "out" / "doc.pdf").string();
    for (auto _ : State) {
      State.PauseTiming();
      std::error_code Ec;
      fs::remove(Out, Ec);
      State.ResumeTiming();
      Main->LoadDocument(Doc);
      if (Html) {
        Main->Item("ConvertToHTML")->Click();
      } else {
        TDialogScript Script;
        Script.ThenFile(Out);
        Main->Item("ConvertToPDF")->Click();
      }
      HeadlessDisplay().ProcessMessages();
    }
    if (!Html && !fs::exists(Out)) State.SkipWithError("no PDF was written");
    delete Main;
  }
  ResetWindowSystem();
}

// The harness on the same document, as its own program (under a time
// limit), as the end-to-end tests run it.
void HarnessConversion(benchmark::State& State, bool Html) {
  TProgramDir Dir;
  if (Skip(State, Dir, Html)) return;
  const std::string Doc = Documents[State.range(0)];
  const std::string Out = (Dir.Root / "out" / (Html ? "doc.html" : "doc.pdf")).string();
  const std::string Command = "timeout 120 " + QuoteCommandLineArgument(SX_CONVERT_HARNESS) + " " +
                              QuoteCommandLineArgument(Doc) + (Html ? " html " : " pdf ") +
                              QuoteCommandLineArgument(Out) + " >/dev/null";
  for (auto _ : State)
    if (std::system(Command.c_str()) != 0) {
      State.SkipWithError("the harness failed");
      break;
    }
}

void BM_MainWindowHtml(benchmark::State& State) { MainWindowConversion(State, true); }
void BM_HarnessHtml(benchmark::State& State) { HarnessConversion(State, true); }
void BM_MainWindowPdf(benchmark::State& State) { MainWindowConversion(State, false); }
void BM_HarnessPdf(benchmark::State& State) { HarnessConversion(State, false); }

BENCHMARK(BM_MainWindowHtml)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_HarnessHtml)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_MainWindowPdf)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_HarnessPdf)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
