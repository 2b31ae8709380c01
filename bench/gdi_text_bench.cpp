// Text drawing from the glyph cache: glyphs per second at 12 pt (16 px) on a
// 32-bit memory DC. The first iteration fills the cache; the rest measure it.
#include <benchmark/benchmark.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Text.h"

static void BM_TextOutCachedGlyphs(benchmark::State& State) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bm = CreateBitmap(1200, 800, 1, 32, nullptr);
  SelectObject(Dc, Bm);
  LOGFONTW Lf;
  Lf.lfHeight = -16;
  const char16_t* Face = u"Times New Roman";
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  HFONT Font = CreateFontIndirectW(&Lf);
  SelectObject(Dc, Font);
  SetBkMode(Dc, TRANSPARENT);
  const std::u16string Line = u"The quick brown fox jumps over the lazy dog 0123456789 again.";
  std::int64_t Glyphs = 0;
  int Y = 0;
  for (auto _ : State) {
    TextOutW(Dc, 4, Y, Line.c_str(), int(Line.size()));
    Y = (Y + 18) % 780;
    Glyphs += std::int64_t(Line.size());
  }
  State.counters["glyphs/s"] = benchmark::Counter(double(Glyphs), benchmark::Counter::kIsRate);
  DeleteDC(Dc);
  DeleteObject(Bm);
  DeleteObject(Font);
}
BENCHMARK(BM_TextOutCachedGlyphs);

// Extents of one line in Arial, characters per second.
static void MeasureExtent(benchmark::State& State, const std::u16string& Line) {
  HDC Dc = CreateCompatibleDC(nullptr);
  LOGFONTW Lf;
  Lf.lfHeight = -16;
  const char16_t* Face = u"Arial";
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  HFONT Font = CreateFontIndirectW(&Lf);
  SelectObject(Dc, Font);
  TSize Sz;
  for (auto _ : State) {
    GetTextExtentPoint32W(Dc, Line.c_str(), int(Line.size()), &Sz);
    benchmark::DoNotOptimize(Sz);
  }
  State.SetItemsProcessed(State.iterations() * std::int64_t(Line.size()));
  DeleteDC(Dc);
  DeleteObject(Font);
}

static void BM_TextExtent(benchmark::State& State) {
  MeasureExtent(State, u"The quick brown fox jumps over the lazy dog 0123456789 again.");
}
BENCHMARK(BM_TextExtent);

// Mixed Latin and Han text in a Latin face: the Han characters come from a
// fallback face. After the first pass every look-up is remembered, so this
// should stay close to BM_TextExtent per character.
static void BM_TextExtentWithFallback(benchmark::State& State) {
  MeasureExtent(State, u"Sourcelux \u4E2D\u6587\u6587\u6863 converts \u65E5\u672C\u8A9E and \uD55C\uAD6D\uC5B4 text.");
}
BENCHMARK(BM_TextExtentWithFallback);
