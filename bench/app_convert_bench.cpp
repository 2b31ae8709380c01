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

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppBenchSupport.h"
#include "bars/items/dxBarItem.h"
#include "editor/base/EdLibrary.h"
#include "platform/forms/Dialogs.h"
#include "platform/shell/Processes.h"

namespace {
namespace fs = std::filesystem;
using bench::TProgramDir;

const char* const Documents[] = {SX_SOURCE_DIR "/data/sample.rtf",
                                 SX_CORPUS_DIR "/rtf/pandocwriter_pandoc_writer.rtf"};

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
  TProgramDir Dir("convert");
  if (Skip(State, Dir, Html)) return;
  TEditorLibrary Library;
  bench::StartWindowSystem();
  {
    TApplication App(nullptr);
    TMainForm* Main = bench::OpenMainWindow(App);
    const std::string Doc = Documents[State.range(0)];
    const std::string Out = Dir.Output("doc.pdf").string();
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
  TProgramDir Dir("harness");
  if (Skip(State, Dir, Html)) return;
  const std::string Doc = Documents[State.range(0)];
  const std::string Out = Dir.Output(Html ? "doc.html" : "doc.pdf").string();
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
