// RtfImporterFuzz.cpp — the fuzz entry for the editor's RTF importer. The
// replay test of this folder calls RtfImporterFuzzOne directly; the libFuzzer
// target (tests/fuzz/CMakeLists.txt) builds this file with
// SX_RTF_IMPORTER_FUZZER, which adds the libFuzzer entry point.
// Any input must import into sound runs, and into a sound editor; a fault
// aborts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/controls/DCMemo.h"
#include "editor/exchange/DCRtfImporter.h"
#include "platform/rtl/Streams.h"

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

// The same input through the editor, as the application imports: every
// line is text without line ends or NULs, and every stored style byte names
// an entry of the editor's attribute table.
void CheckEditorImport(const AnsiString& In) {
  TDCMemo M(nullptr);
  TStringStream Stream(In);
  M.ImportFromStream(&Stream);
  auto* P = dynamic_cast<TAttributeParser*>(M.GetSyntaxParser());
  TCustomMemoSource* S = M.GetSource();
  AnsiString Attrs;
  for (Integer L = 0; L < S->GetLineCount(); ++L) {
    const AnsiString& Text = S->GetLineText(L);
    Check(Text.find_first_of(AnsiString("\r\n\0", 3)) == AnsiString::npos);
    S->GetColorData(L, Attrs);
    for (char C : Attrs) Check(Byte(C) == 0 || (P && Byte(C) < P->AttrCount()));
  }
}

}  // namespace

extern "C" int RtfImporterFuzzOne(const std::uint8_t* Data, std::size_t Size) {
  const AnsiString In(reinterpret_cast<const char*>(Data), Size);
  TRunChecker Checker;
  TDCRtfImporter Imp;
  Imp.OnAddText = TImportTextEvent(&Checker, &TRunChecker::OnRun);
  Imp.Import(In);
  CheckEditorImport(In);
  return 0;
}

#ifdef SX_RTF_IMPORTER_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  return RtfImporterFuzzOne(Data, Size);
}
#endif
