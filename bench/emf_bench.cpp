// Recording, enumerating and playing a text-heavy page: the cost the export
// engines pay per page before their own work.
#include <benchmark/benchmark.h>

#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Wmf.h"

namespace {

void DrawPage(HDC Dc) {
  HFONT Font = CreateFontW(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  HGDIOBJ Old = SelectObject(Dc, Font);
  SetBkMode(Dc, TRANSPARENT);
  for (int Line = 0; Line < 60; ++Line) {
    TextOutW(Dc, 40, 40 + Line * 16, u"The quick brown fox jumps over the lazy dog, 0123456789.", 56);
    Rectangle(Dc, 20, 40 + Line * 16, 30, 50 + Line * 16);
  }
  SelectObject(Dc, Old);
  DeleteObject(Font);
}

HENHMETAFILE RecordPage() {
  const TRect Frame(0, 0, 21000, 29700);
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, &Frame, nullptr);
  DrawPage(Dc);
  return CloseEnhMetaFile(Dc);
}

void BM_RecordPage(benchmark::State& State) {
  for (auto _ : State) DeleteEnhMetaFile(RecordPage());
}
BENCHMARK(BM_RecordPage);

int CountRecord(HDC, HANDLETABLE*, const ENHMETARECORD*, int, LPARAM Data) {
  ++*reinterpret_cast<int*>(Data);
  return 1;
}

void BM_EnumeratePage(benchmark::State& State) {
  HENHMETAFILE Mf = RecordPage();
  for (auto _ : State) {
    int N = 0;
    EnumEnhMetaFile(nullptr, Mf, CountRecord, &N, nullptr);
    benchmark::DoNotOptimize(N);
  }
  DeleteEnhMetaFile(Mf);
}
BENCHMARK(BM_EnumeratePage);

void BM_PlayPageOnBitmap(benchmark::State& State) {
  HENHMETAFILE Mf = RecordPage();
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HDC Dc = CreateCompatibleDC(Screen);
  HBITMAP Bmp = CreateCompatibleBitmap(Screen, 794, 1123);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  const TRect Target(0, 0, 794, 1123);
  for (auto _ : State) PlayEnhMetaFile(Dc, Mf, &Target);
  SelectObject(Dc, Old);
  DeleteObject(Bmp);
  DeleteDC(Dc);
  DeleteDC(Screen);
  DeleteEnhMetaFile(Mf);
}
BENCHMARK(BM_PlayPageOnBitmap);

void BM_ConvertPageToWmf(benchmark::State& State) {
  HENHMETAFILE Mf = RecordPage();
  for (auto _ : State) benchmark::DoNotOptimize(GetWinMetaFileBits(Mf, 0, nullptr, MM_ANISOTROPIC, nullptr));
  DeleteEnhMetaFile(Mf);
}
BENCHMARK(BM_ConvertPageToWmf);

}  // namespace
