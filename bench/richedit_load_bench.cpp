// Loading RTF into the rich edit's document model: 1 MB of ordinary text in
// the form our exporter writes (one paragraph, a run per coloured word group,
// \line groups between lines), 1 MB of Word-style paragraphs, and the large
// files of the external corpus when it is present.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/richedit/RtfReader.h"

namespace {

// Exporter-style text: every line a run group with a size and colour, the
// line breaks as "{\line }" groups.
std::string ExporterStyle(size_t Bytes) {
  std::string S =
      "{\\rtf1\\ansi {\\fonttbl\r\n{\\f0\\fcharset1 \\fnil Times New Roman;}\r\n"
      "{\\f1\\fcharset0 Courier New;}\r\n}\r\n{\\colortbl\r\n\\red0\\green0\\blue0;\r\n"
      "\\red0\\green0\\blue255;\r\n}\r\n\r\n{\\plain \r\n{\\f1 {\\fs20 \r\n{\\cf0 ";
  int Line = 0;
  while (S.size() < Bytes) {
    S += "{\\line \r\n}{\\f1 {\\fs20 \r\n{\\cf0 procedure TForm1.Button";
    S += std::to_string(Line++);
    S += "Click(Sender: TObject); }}}{\\b \r\n{\\cf1 begin}}{\\f1 {\\fs20 \r\n{\\cf0  \\{ caf\\'e9 \\} x := y + 1;}}}";
  }
  S += "}}}}}";
  return S;
}

// Word-style paragraphs with explicit formatting on every run.
std::string WordStyle(size_t Bytes) {
  std::string S =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
      "{\\f1\\fswiss\\fcharset0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\r\n";
  while (S.size() < Bytes) {
    S += "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\wrapdefault "
         "\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\fs22\\lang1033\\langfe1033 {\\rtlch\\fcs1 \\af0 "
         "\\ltrch\\fcs0 \\insrsid123 Lorem ipsum dolor sit amet, consectetur adipiscing elit. }"
         "{\\rtlch\\fcs1 \\ab\\af0 \\ltrch\\fcs0 \\b\\cf1\\insrsid123 Nunc ac faucibus odio.}"
         "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid123 \\par }\r\n";
  }
  S += "}";
  return S;
}

void Load(benchmark::State& State, const std::string& Rtf) {
  for (auto _ : State) {
    TRichDocument D = RtfRead(Rtf);
    benchmark::DoNotOptimize(D.TextLength());
  }
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Rtf.size()));
}

void BM_LoadExporterStyle1MB(benchmark::State& State) { Load(State, ExporterStyle(1 << 20)); }
BENCHMARK(BM_LoadExporterStyle1MB)->Unit(benchmark::kMillisecond);

void BM_LoadWordStyle1MB(benchmark::State& State) { Load(State, WordStyle(1 << 20)); }
BENCHMARK(BM_LoadWordStyle1MB)->Unit(benchmark::kMillisecond);

void BM_LoadPlainText1MB(benchmark::State& State) {
  std::string Text;
  while (Text.size() < (1u << 20)) Text += "The quick brown fox jumps over the lazy dog.\r\n";
  for (auto _ : State) benchmark::DoNotOptimize(PlainTextRead(std::string_view(Text)).TextLength());
  State.SetBytesProcessed(Int64(State.iterations()) * Int64(Text.size()));
}
BENCHMARK(BM_LoadPlainText1MB)->Unit(benchmark::kMillisecond);

void BM_LoadCorpusFile(benchmark::State& State, const char* Name) {
  const auto P = std::filesystem::path(SX_CORPUS_DIR) / "rtf" / Name;
  if (!std::filesystem::exists(P)) {
    State.SkipWithError("corpus file absent");
    return;
  }
  std::ifstream F(P, std::ios::binary);
  std::stringstream S;
  S << F.rdbuf();
  Load(State, S.str());
}
BENCHMARK_CAPTURE(BM_LoadCorpusFile, Word750KB, "word_striprtf_bvwgt_large.rtf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadCorpusFile, Word640KBCp1251, "word_striprtf_issue_29_cp1251_large.rtf")
    ->Unit(benchmark::kMillisecond);

}  // namespace
