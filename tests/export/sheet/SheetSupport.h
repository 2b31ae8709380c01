// SheetSupport.h — engines set up for tests (pixels, no dialog, nothing
// opened afterwards) and the outside readers of their files.
#pragma once
#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include "export/sheet/ExcelEngine.h"
#include "export/sheet/LotusEngine.h"
#include "export/sheet/QuattroProEngine.h"
#include "platform/rtl/FileUtils.h"
#include "support/TestFiles.h"

template <class TEngine>
class TTestSheetEngine : public TEngine {
public:
  TTestSheetEngine() : TEngine(nullptr) {
    this->SetMeasurementUnit(muPixels);
    this->GetPreferences()->SetShowSetupDialog(false);
    this->GetPreferences()->SetOpenAfterCreate(false);
    this->GetPage()->SetPaperSize(Custom);
    this->GetPage()->SetWidth(600);
    this->GetPage()->SetHeight(800);
  }
  // Grid units of the open document.
  double Col(double N) const { return N * this->GetColumnWidthPx(); }
  double Row(double N) const { return N * this->GetRowHeightPx(); }
  using TEngine::GetCurrentPageItem;
};

// The process id keeps tests that run at the same time (ctest -j, or a second
// build's run) out of each other's files.
inline std::string SheetTempBase(const std::string& Name) {
  return GetTempPath() + "sx_sheet_" + std::to_string(::getpid()) + "_" + Name;
}

// Runs sheet_reader.py (beside this file) with Debian's python; the
// output, or "EXIT n" plus the output when it failed. The folder comes from
// the build, not __FILE__, which a compiler cache may have made relative.
inline std::string RunSheetReader(const std::string& Kind, const std::string& File) {
  const std::string Dir = SX_SOURCE_DIR "/tests/export/sheet/";
  const std::string Cmd = "/usr/bin/python3 '" + Dir + "sheet_reader.py' " + Kind + " '" + File + "' 2>&1";
  int Status = -1;
  const std::string Out = sxtest::RunCommand(Cmd, &Status);
  return Status == 0 ? Out : "EXIT " + std::to_string(Status) + "\n" + Out;
}
