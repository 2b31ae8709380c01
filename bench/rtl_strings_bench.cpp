// Costs of the string routines that sit in inner loops: sorted string lists
// compare with AnsiCompareText, the exporters format numbers, the RTF reader
// converts code pages.
#include <benchmark/benchmark.h>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"

namespace {

void BM_AnsiCompareTextAscii(benchmark::State& State) {
  TAnsiCodePageOverride Cp(1252);
  const AnsiString A = "Times New Roman Bold Italic", B = "times new roman bold italics";
  for (auto _ : State) benchmark::DoNotOptimize(AnsiCompareText(A, B));
}
BENCHMARK(BM_AnsiCompareTextAscii);

void BM_AnsiCompareTextAccented(benchmark::State& State) {
  TAnsiCodePageOverride Cp(1252);
  const AnsiString A = "R\xE9sum\xE9 de la soci\xE9t\xE9", B = "r\xE9sum\xE9 de la Soci\xE9t\xE9s";
  for (auto _ : State) benchmark::DoNotOptimize(AnsiCompareText(A, B));
}
BENCHMARK(BM_AnsiCompareTextAccented);

void BM_AnsiUpperCase(benchmark::State& State) {
  TAnsiCodePageOverride Cp(1252);
  const AnsiString A(1000, '\xE9');
  for (auto _ : State) benchmark::DoNotOptimize(AnsiUpperCase(A));
}
BENCHMARK(BM_AnsiUpperCase);

void BM_FloatToStr(benchmark::State& State) {
  double V = 1234.5678;
  for (auto _ : State) {
    benchmark::DoNotOptimize(FloatToStr(V));
    V += 0.001;
  }
}
BENCHMARK(BM_FloatToStr);

void BM_FormatFixed(benchmark::State& State) {
  for (auto _ : State) benchmark::DoNotOptimize(Format("%d: %.2f %s", {42, 3.14159, "pt"}));
}
BENCHMARK(BM_FormatFixed);

void BM_AnsiToWide1252(benchmark::State& State) {
  const AnsiString A(4096, '\xE9');
  for (auto _ : State) benchmark::DoNotOptimize(AnsiToWide(A, 1252));
  State.SetBytesProcessed(State.iterations() * A.size());
}
BENCHMARK(BM_AnsiToWide1252);

void BM_AnsiToWide932(benchmark::State& State) {
  AnsiString A;
  while (A.size() < 4096) A += "\x93\xFA\x96\x7B" "abc";
  for (auto _ : State) benchmark::DoNotOptimize(AnsiToWide(A, 932));
  State.SetBytesProcessed(State.iterations() * A.size());
}
BENCHMARK(BM_AnsiToWide932);

}  // namespace
