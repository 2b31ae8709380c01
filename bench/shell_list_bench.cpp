// The shell list view over a large folder: listing 20 000 files (of a few
// types, names in random order) into the view, with the first paint, and
// the namespace's enumeration alone. The goal is a folder of 20 000 files
// listed in under a second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/ole/OleApi.h"
#include "platform/shell/ShellCtrls.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Paint.h"
#include "platform/win/Win.h"

namespace {

// A temporary folder of N empty files, made once per size.
const std::string& BigFolder(int N) {
  static std::map<int, std::string> Made;
  auto It = Made.find(N);
  if (It != Made.end()) return It->second;
  std::string T = (std::filesystem::temp_directory_path() / "sx-shell-bench-XXXXXX").string();
  if (!::mkdtemp(T.data())) std::abort();
  static const char* const Endings[] = {".rtf", ".doc", ".txt", ".html", ".png", ""};
  for (int I = 0; I < N; ++I) {
    const unsigned K = unsigned((std::uint64_t(I) * 2654435761u) % std::uint64_t(N));
    std::ofstream(T + "/file " + std::to_string(K) + Endings[I % 6]);
  }
  std::atexit([] {
    for (auto& [Size, Dir] : Made) {
      std::error_code Ec;
      std::filesystem::remove_all(Dir, Ec);
    }
  });
  return Made[N] = T;
}

void BM_ShellListViewFillsLargeFolder(benchmark::State& State) {
  const std::string& Dir = BigFolder(int(State.range(0)));
  SetDisplay(nullptr);
  ResetWindowSystem();
  RegisterFormsClasses();
  OleInitialize(nullptr);
  auto App = std::make_unique<TApplication>(nullptr);
  auto* Form = new TForm(App.get());
  Form->SetBounds(0, 0, 400, 300);
  auto* L = new TShellListView(Form);
  L->SetBounds(0, 0, 400, 300);
  L->SetObjectTypes(TShellObjectTypes{otNonFolders});
  L->SetParent(Form);
  Form->Show();
  App->ProcessMessages();
  for (auto _ : State) {
    L->SetRoot(Dir.c_str());
    UpdateWindow(Form->Handle());
    if (L->GetItems()->Count() != State.range(0)) State.SkipWithError("not all files listed");
  }
  App.reset();
  ResetWindowSystem();
  State.SetComplexityN(State.range(0));
}
BENCHMARK(BM_ShellListViewFillsLargeFolder)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ShellEnumerationOfLargeFolder(benchmark::State& State) {
  const std::string& Dir = BigFolder(int(State.range(0)));
  for (auto _ : State) {
    IShellFolder* D = nullptr;
    SHGetDesktopFolder(&D);
    LPITEMIDLIST P = ILCreateFromPathA(Dir.c_str());
    void* F = nullptr;
    D->BindToObject(P, nullptr, IShellFolder::IID(), &F);
    auto* Folder = static_cast<IShellFolder*>(F);
    IEnumIDList* E = nullptr;
    Folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &E);
    LPITEMIDLIST Item;
    ULONG Got;
    int N = 0;
    while (E->Next(1, &Item, &Got) == S_OK) {
      ILFree(Item);
      ++N;
    }
    benchmark::DoNotOptimize(N);
    E->_Release();
    Folder->_Release();
    D->_Release();
    ILFree(P);
  }
}
BENCHMARK(BM_ShellEnumerationOfLargeFolder)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
