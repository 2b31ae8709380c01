// RtfReaderFuzz.cpp — the libFuzzer entry for the RTF reader. Built as its
// own fuzzer when the compiler has -fsanitize=fuzzer (tests/fuzz/CMakeLists.txt)
// and linked into the replay test, which feeds it a fixed set of inputs.
// Any input must load into a sound document; a fault aborts.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/richedit/RtfReader.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

void CheckSound(const TRichDocument& D) {
  Integer Cp = 0;
  Check(!D.Paragraphs().empty());
  for (const TRichParagraph& P : D.Paragraphs()) {
    Check(P.FirstCp == Cp && !P.Text.empty());
    Check(P.Text.back() == u'\r' || P.Text.back() == 0x0007);
    Integer At = 0;
    for (const TRichRun& R : P.Runs) {
      Check(R.Start == At && R.Length > 0);
      Check(R.Format >= 0 && size_t(R.Format) < D.CharFormats().size());
      Check(R.Picture < Integer(D.Pictures().size()));
      At += R.Length;
    }
    Check(At == Integer(P.Text.size()));
    if (P.Row >= 0) {
      Check(size_t(P.Row) < D.Rows().size());
      Check(P.Cell >= 0 && size_t(P.Cell) < D.Rows()[size_t(P.Row)].Cells.size());
    }
    Cp += Integer(P.Text.size());
  }
  Check(D.TextLength() == Cp - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view In(reinterpret_cast<const char*>(Data), Size);
  CheckSound(RtfRead(In));
  CheckSound(LoadRichText(In, /*PlainText=*/true));
  return 0;
}
