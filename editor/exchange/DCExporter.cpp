#include "editor/exchange/DCExporter.h"
#include "platform/rtl/Streams.h"

TDCExporter::TDCExporter(TStream* AStream) : FStream(AStream) {}

void TDCExporter::WriteString(const AnsiString& S) {
  if (!S.empty()) FStream->WriteBuffer(S.data(), static_cast<Integer>(S.size()));
}
