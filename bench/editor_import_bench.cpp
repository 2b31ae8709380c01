// Import of a 1 MB RTF document through the editor's RTF importer: the
// runs go to a handler that copies what a receiver would (text, face, size).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

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

AnsiString MakeDocument(size_t Size) {
  AnsiString D =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 "
      "Times New Roman;}{\\f2\\fmodern Courier New;}}\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0"
      "\\blue255;}\n{\\*\\generator Bench;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  const char* Para =
      "\\pard\\li720\\sa120 The {\\b quick} brown fox \\i jumps\\i0  over the {\\cf1 lazy} dog; "
      "caf\\'e9, na\\'efve \\u8212\\'97 {\\f1\\fs28 larger text in another face} and {\\highlight2 marked} "
      "words\\tab with a tab.\\par\n";
  while (D.size() < Size) D += Para;
  D += "}";
  return D;
}

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
