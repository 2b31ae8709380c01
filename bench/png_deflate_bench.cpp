// Size and time of the PNG image data deflated three ways on page pictures:
// zlib level 9 with run-length matching only, level 9 with the full match
// search in blocks on several threads (what the PNG engine writes), and for
// reference the same level as one stream on one thread. Times are wall
// times. The pages are PNG files in the folder SX_PNG_PAGES, made
// by bench/png_deflate_pages.sh from the corpus through the conversion
// harness; each is decoded once and encoded again per iteration.
#include <benchmark/benchmark.h>
#include <zlib.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "platform/gdi/Dib.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Streams.h"

namespace {
struct TPage {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;   // top-down 0x00RRGGBB
};

const std::vector<TPage>& Pages() {
  static const std::vector<TPage> Loaded = [] {
    std::vector<TPage> Out;
    const char* Dir = std::getenv("SX_PNG_PAGES");
    if (!Dir) return Out;
    for (const auto& E : std::filesystem::directory_iterator(Dir)) {
      if (E.path().extension() != ".png") continue;
      std::ifstream In(E.path(), std::ios::binary);
      const std::vector<Byte> Data{std::istreambuf_iterator<char>(In), {}};
      const TDib Dib = ReadPng(Data, TPngAlpha::OverWhite);
      TPage P;
      P.Width = Dib.Width();
      P.Height = Dib.Height();
      const std::vector<std::uint32_t> Px = DibToBgra32(Dib);
      P.Pixels.assign(Px.begin(), Px.end());
      Out.push_back(std::move(P));
    }
    return Out;
  }();
  return Loaded;
}

void BM_Deflate(benchmark::State& State, TPngDeflate Deflate) {
  const auto& All = Pages();
  if (All.empty()) {
    State.SkipWithError("set SX_PNG_PAGES to a folder of page PNGs (bench/png_deflate_pages.sh)");
    return;
  }
  double Bytes = 0, Raw = 0;
  for (auto _ : State) {
    Bytes = Raw = 0;
    for (const TPage& P : All) {
      TMemoryStream S;
      WritePngRgb(&S, P.Width, P.Height,
                  [&](int Y) { return P.Pixels.data() + std::size_t(Y) * std::size_t(P.Width); }, {}, Deflate);
      Bytes += double(S.GetSize());
      Raw += double(P.Width) * P.Height * 3;
    }
  }
  State.counters["pages"] = double(All.size());
  State.counters["file_bytes"] = Bytes;
  State.counters["raw_bytes"] = Raw;
  State.counters["pages/s"] = benchmark::Counter(double(All.size()) * double(State.iterations()), benchmark::Counter::kIsRate);
}

// The rows as the writer hands them to zlib (filter byte 0, then RGB),
// deflated at level 9 as one stream.
void BM_OneStream(benchmark::State& State) {
  const auto& All = Pages();
  if (All.empty()) {
    State.SkipWithError("set SX_PNG_PAGES to a folder of page PNGs (bench/png_deflate_pages.sh)");
    return;
  }
  std::vector<std::vector<Byte>> Raws;
  for (const TPage& P : All) {
    std::vector<Byte> Raw;
    for (int Y = 0; Y < P.Height; ++Y) {
      Raw.push_back(0);
      for (int X = 0; X < P.Width; ++X) {
        const std::uint32_t V = P.Pixels[std::size_t(Y) * std::size_t(P.Width) + std::size_t(X)];
        Raw.insert(Raw.end(), {Byte(V >> 16), Byte(V >> 8), Byte(V)});
      }
    }
    Raws.push_back(std::move(Raw));
  }
  double Bytes = 0;
  for (auto _ : State) {
    Bytes = 0;
    for (const auto& Raw : Raws) {
      std::vector<Byte> Out(compressBound(uLong(Raw.size())));
      uLongf Size = uLongf(Out.size());
      compress2(Out.data(), &Size, Raw.data(), uLong(Raw.size()), 9);
      Bytes += double(Size);
    }
  }
  State.counters["pages"] = double(All.size());
  State.counters["file_bytes"] = Bytes;
  State.counters["pages/s"] = benchmark::Counter(double(All.size()) * double(State.iterations()), benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK_CAPTURE(BM_Deflate, RunLength, TPngDeflate::RunLength)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Deflate, Level9Full, TPngDeflate::Full)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneStream)->Unit(benchmark::kMillisecond)->UseRealTime();
