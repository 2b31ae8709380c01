// Costs of the exporters on a 1 MB document, driven with the calls the
// editor's export walk makes: per line a plain run and a coloured bold run,
// with line breaks between. Bytes/s count the document's text, not the
// markup written.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "editor/exchange/DCHTMLExporter.h"
#include "editor/exchange/DCRTFExporter.h"
#include "platform/rtl/Streams.h"

namespace {

struct TLine {
  std::string Plain, Styled;
};

std::vector<TLine> Document(size_t Bytes) {
  std::vector<TLine> Lines;
  size_t N = 0;
  for (int I = 0; N < Bytes; ++I) {
    TLine L{"    value = compute(item" + std::to_string(I) + ", 42); ", "// note <" + std::to_string(I) + "> & more"};
    N += L.Plain.size() + L.Styled.size();
    Lines.push_back(std::move(L));
  }
  return Lines;
}

void Walk(TDCExporter& E, const std::vector<TLine>& Lines) {
  E.StartDocument("bench.rtf");
  E.StartPageColor(clWhite);
  E.StartFontCharset("Courier New", 1);
  E.StartFontSize(10);
  E.StartColor(clBlack);
  bool First = true;
  for (const TLine& L : Lines) {
    if (!First) E.LineBreak();
    First = false;
    E.StartFontCharset("Courier New", 1);
    E.StartFontSize(10);
    E.StartColor(clBlack);
    E.WriteString(E.ConvertText(L.Plain));
    E.EndColor();
    E.EndFontSize();
    E.EndFont();
    E.StartBold();
    E.StartColor(clGreen);
    E.WriteString(E.ConvertText(L.Styled));
    E.EndColor();
    E.EndBold();
  }
  E.EndColor();
  E.EndFontSize();
  E.EndFont();
  E.EndPageColor();
  E.EndDocument();
}

template <class TExporter>
void BM_Export1MB(benchmark::State& State) {
  const auto Lines = Document(1 << 20);
  size_t Text = 0;
  for (const auto& L : Lines) Text += L.Plain.size() + L.Styled.size();
  for (auto _ : State) {
    TMemoryStream S;
    TExporter E(&S);
    Walk(E, Lines);
    benchmark::DoNotOptimize(S.Memory());
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Text));
}
BENCHMARK(BM_Export1MB<TDCHTMLExporter>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export1MB<TDCRTFExporter>)->Unit(benchmark::kMillisecond);

}  // namespace
