// Spreadsheet export: pages of positioned text (a ledger of Rows x 6 cells,
// the amounts right-aligned) laid into the grid and written as a workbook,
// reported as cells per second, with the alignment and multi-pass options
// off and on. The grid mapping compares items pairwise within a page, so the
// rows per page are the argument.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "export/sheet/ExcelEngine.h"
#include "platform/rtl/FileUtils.h"

namespace {

void ExcelLedger(benchmark::State& State, bool Options) {
  const int Rows = int(State.range(0));
  const int Pages = 4;
  const std::string Base = GetTempPath() + "sx_sheet_bench_" + std::to_string(::getpid());
  for (auto _ : State) {
    TgtExcelEngine E(nullptr);
    E.SetMeasurementUnit(muPixels);
    E.GetPreferences()->SetShowSetupDialog(false);
    E.GetPreferences()->SetOpenAfterCreate(false);
    E.GetPreferences()->SetApplyAlignment(Options);
    E.GetPreferences()->SetMultiPass(Options);
    E.GetPreferences()->SetAutoFormatCells(true);
    E.GetPage()->SetPaperSize(Custom);
    E.GetPage()->SetWidth(800);
    E.GetPage()->SetHeight(Rows * 16 + 50);
    E.SetFileName(Base);
    E.BeginDoc();
    for (int P = 0; P < Pages; ++P) {
      if (P > 0) E.NewPage();
      for (int R = 0; R < Rows; ++R) {
        const double Y = 25 + R * 16;
        E.SetTextAlignment(0);
        E.TextOut(25, Y, u"Item " + AnsiToWide(std::to_string(R)));
        E.TextOut(140, Y, u"Description of the entry");
        E.TextOut(330, Y, u"10/12/2026");
        E.SetTextAlignment(1);
        for (int C = 0; C < 3; ++C) E.TextOut(450 + C * 110, Y, AnsiToWide(std::to_string(R * 37 + C) + ".50"));
      }
    }
    E.EndDoc();
  }
  std::remove((Base + ".xls").c_str());
  State.SetItemsProcessed(State.iterations() * Pages * Rows * 6);
}

void BM_ExcelLedger(benchmark::State& State) { ExcelLedger(State, false); }
void BM_ExcelLedgerAlignedMultiPass(benchmark::State& State) { ExcelLedger(State, true); }

}  // namespace

BENCHMARK(BM_ExcelLedger)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExcelLedgerAlignedMultiPass)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
