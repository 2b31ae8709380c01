// RtfImporterFuzz.cpp — the fuzz entry for the editor's RTF importer. The
// replay test of this folder calls RtfImporterFuzzOne directly; the libFuzzer
// target (tests/fuzz/CMakeLists.txt) builds this file with
// SX_RTF_IMPORTER_FUZZER, which adds the libFuzzer entry point.
// Any input must import into sound runs; a fault aborts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/exchange/DCRtfImporter.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

class TRunChecker : public TObject {
public:
  void OnRun(TObject*, const AnsiString& S, TFont* F, Integer Back) {
    Check(!S.empty());
    // A run is CR LF, or text without line ends or NULs.
    if (S != "\r\n") Check(S.find_first_of(AnsiString("\r\n\0", 3)) == AnsiString::npos);
    Check(F != nullptr);
    Check(F->GetSize() >= 0 && F->GetSize() <= 1638);
    const Integer Color = Integer(F->GetColor());
    Check(Color >= 0 && Color <= 0xFFFFFF);
    Check(Back == -1 || (Back >= 0 && Back <= 0xFFFFFF));
  }
};

}  // namespace

extern "C" int RtfImporterFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  const AnsiString In(reinterpret_cast<const char*>(Data), Size);
  TRunChecker Checker;
  TDCRtfImporter Imp;
  Imp.OnAddText = TImportTextEvent(&Checker, &TRunChecker::OnRun);
  Imp.Import(In);
  return 0;
}

#ifdef SX_RTF_IMPORTER_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return RtfImporterFuzzOne(Data, Size);
}
#endif
