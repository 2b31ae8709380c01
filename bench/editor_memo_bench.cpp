// The HTML road through the editor control: a 1 MB RTF document imported
// into a TDCMemo (runs, stored attributes and all), and that editor's HTML
// export. Both report bytes/s of the RTF document.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "bench/BenchDocuments.h"
#include "editor/controls/DCMemo.h"
#include "editor/exchange/DCHTMLExporter.h"
#include "platform/rtl/Streams.h"

namespace {

using bench::MakeDocument;

void Import(TCustomDCMemo& M, const AnsiString& Doc) {
  TStringStream In(Doc);
  M.ImportFromStream(&In);
}

void BM_MemoImportRtf1MB(benchmark::State& State) {
  const AnsiString Doc = MakeDocument(1 << 20);
  TDCMemo M(nullptr);
  for (auto _ : State) Import(M, Doc);
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Doc.size()));
}
BENCHMARK(BM_MemoImportRtf1MB)->Unit(benchmark::kMillisecond);

void BM_MemoExportHtml1MB(benchmark::State& State) {
  const AnsiString Doc = MakeDocument(1 << 20);
  TDCMemo M(nullptr);
  Import(M, Doc);
  for (auto _ : State) {
    TMemoryStream Out;
    M.ExportToStream(&Out, &ExporterClassOf<TDCHTMLExporter>, false);
    benchmark::DoNotOptimize(Out.Memory());
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Doc.size()));
}
BENCHMARK(BM_MemoExportHtml1MB)->Unit(benchmark::kMillisecond);

// The application's road: the HTML file the tidier reads next.
void BM_MemoExportHtmlFile1MB(benchmark::State& State) {
  const AnsiString Doc = MakeDocument(1 << 20);
  TDCMemo M(nullptr);
  Import(M, Doc);
  const AnsiString Name = std::filesystem::temp_directory_path() / "sx_bench_export.html";
  for (auto _ : State) M.ExportToHtml(Name, false);
  std::filesystem::remove(Name);
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Doc.size()));
}
BENCHMARK(BM_MemoExportHtmlFile1MB)->Unit(benchmark::kMillisecond);

// Every document of the corpus, when it is there: the road on real files of
// many producers, pictures and tables included.
std::vector<AnsiString> CorpusDocuments() {
  std::vector<AnsiString> Docs;
  std::error_code Ec;
  for (const auto& E : std::filesystem::directory_iterator(SX_CORPUS_DIR "/rtf", Ec)) {
    if (E.path().extension() != ".rtf") continue;
    std::ifstream In(E.path(), std::ios::binary);
    std::stringstream Ss;
    Ss << In.rdbuf();
    Docs.push_back(Ss.str());
  }
  return Docs;
}

void BM_MemoRoadCorpus(benchmark::State& State) {
  const std::vector<AnsiString> Docs = CorpusDocuments();
  if (Docs.empty()) {
    State.SkipWithError("no RTF corpus");
    return;
  }
  Int64 Bytes = 0;
  for (const AnsiString& D : Docs) Bytes += Int64(D.size());
  for (auto _ : State) {
    for (const AnsiString& D : Docs) {
      TDCMemo M(nullptr);
      Import(M, D);
      TMemoryStream Out;
      M.ExportToStream(&Out, &ExporterClassOf<TDCHTMLExporter>, false);
      benchmark::DoNotOptimize(Out.Memory());
    }
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Bytes);
}
BENCHMARK(BM_MemoRoadCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
