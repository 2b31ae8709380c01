// The open dialog over a folder of many files: reading the folder into the
// model, re-sorting and re-filtering it, and the whole opening of the
// dialog's form up to its first painted picture (the promise: well under a
// second for 50 000 files).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FileDialogForm.h"
#include "platform/forms/FileDialogs.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Win.h"

namespace {
// One folder per size, made once for the whole run.
const std::string& LargeFolder(int Files) {
  static std::map<int, std::string> Made;
  auto It = Made.find(Files);
  if (It != Made.end()) return It->second;
  const std::string Dir = (std::filesystem::temp_directory_path() /
                           ("sx-bench-files-" + std::to_string(getpid()) + "-" + std::to_string(Files)))
                              .string();
  std::filesystem::create_directories(Dir);
  for (int i = 0; i < Files; ++i)
    std::ofstream(Dir + "/document " + std::to_string((i * 7919) % Files) + (i % 3 ? ".rtf" : ".txt"));
  static struct TCleanup {
    ~TCleanup() {
      for (auto& [N, D] : Made) std::filesystem::remove_all(D);
    }
  } Cleanup;
  return Made[Files] = Dir;
}

void BM_FileListModelLoad(benchmark::State& State) {
  const std::string& Dir = LargeFolder(int(State.range(0)));
  for (auto _ : State) {
    TFileListModel M;
    AnsiString Error;
    M.Load(Dir, Error);
    benchmark::DoNotOptimize(M.Count());
  }
}
BENCHMARK(BM_FileListModelLoad)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_FileListModelSortAndFilter(benchmark::State& State) {
  TFileListModel M;
  AnsiString Error;
  M.Load(LargeFolder(int(State.range(0))), Error);
  bool Flip = false;
  for (auto _ : State) {
    Flip = !Flip;
    M.SetSort(Flip ? TFileSortColumn::Size : TFileSortColumn::Name, Flip);
    M.SetMask(Flip ? "*.rtf" : "*.*");
    benchmark::DoNotOptimize(M.Count());
  }
}
BENCHMARK(BM_FileListModelSortAndFilter)->Arg(50000)->Unit(benchmark::kMillisecond);

// From Execute to the form painted on the screen, then closed.
void BM_OpenDialogShowsLargeFolder(benchmark::State& State) {
  const std::string& Dir = LargeFolder(int(State.range(0)));
  SetDisplay(nullptr);
  ResetWindowSystem();
  UseVirtualClock();
  RegisterFormsClasses();
  auto App = std::make_unique<TApplication>(nullptr);
  for (auto _ : State) {
    TOpenDialog D(nullptr);
    D.SetInitialDir(Dir);
    D.SetFilter("RTF Files (*.rtf)|*.rtf|All Files (*.*)|*.*");
    TDialogScript S;
    S.ThenShowForm();
    HeadlessDisplay().SetIdleHandler([&] {
      if (TForm* F = D.DialogForm()) F->SetModalResult(mrCancel);
      return true;
    });
    D.Execute();
  }
  HeadlessDisplay().SetIdleHandler(nullptr);
  App.reset();
  ResetWindowSystem();
  UseRealClock();
}
BENCHMARK(BM_OpenDialogShowsLargeFolder)->Arg(50000)->Unit(benchmark::kMillisecond);
}  // namespace
