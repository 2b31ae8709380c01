#include "platform/ole/OleErrors.h"

#include <cstdio>

void RaiseOleError(HRESULT Result) {
  char Text[64];
  std::snprintf(Text, sizeof Text, "OLE error %08X", unsigned(Result));
  throw EOleSysError(Text, Result);
}

void OleCheck(HRESULT Result) {
  if (!Succeeded(Result)) RaiseOleError(Result);
}
