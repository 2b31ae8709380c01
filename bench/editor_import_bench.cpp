// Import of a 1 MB RTF document through the editor's RTF importer: the
// runs go to a handler that copies what a receiver would (text, face, size).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "bench/BenchDocuments.h"
#include "editor/exchange/DCRtfImporter.h"

namespace {

class TSink : public TObject {
public:
  size_t Bytes = 0;
  AnsiString Face;
  void OnRun(TObject*, const AnsiString& S, TFont* F, Integer) {
    Bytes += S.size();
    Face = F->GetName();
  }
};

using bench::MakeDocument;

void BM_ImportRtf1MB(benchmark::State& State) {
  const AnsiString Doc = MakeDocument(1 << 20);
  TSink Sink;
  for (auto _ : State) {
    TDCRtfImporter Imp;
    Imp.OnAddText = TImportTextEvent(&Sink, &TSink::OnRun);
    Imp.Import(Doc);
    benchmark::DoNotOptimize(Sink.Bytes);
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Doc.size()));
}
BENCHMARK(BM_ImportRtf1MB)->Unit(benchmark::kMillisecond);

// The largest document of the corpus, when the corpus is there.
void BM_ImportCorpusDocument(benchmark::State& State) {
  std::ifstream In(SX_CORPUS_DIR "/rtf/libreoffice_rtfparser_sample_100kB.rtf", std::ios::binary);
  if (!In) {
    State.SkipWithError("no RTF corpus");
    return;
  }
  std::stringstream Ss;
  Ss << In.rdbuf();
  const AnsiString Doc = Ss.str();
  TSink Sink;
  for (auto _ : State) {
    TDCRtfImporter Imp;
    Imp.OnAddText = TImportTextEvent(&Sink, &TSink::OnRun);
    Imp.Import(Doc);
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Doc.size()));
}
BENCHMARK(BM_ImportCorpusDocument)->Unit(benchmark::kMillisecond);

}  // namespace
