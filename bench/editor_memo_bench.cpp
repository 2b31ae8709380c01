// The HTML road through the editor control: a 1 MB RTF document imported
// into a TDCMemo (runs, stored attributes and all), and that editor's HTML
// export. Both report bytes/s of the RTF document.
#include <benchmark/benchmark.h>

#include "editor/controls/DCMemo.h"
#include "editor/exchange/DCHTMLExporter.h"
#include "platform/rtl/Streams.h"

namespace {

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

}  // namespace
