// The text unit's side of the DC: it replaces these bodies with the raster
// text renderer and the stock fonts.
#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/Exceptions.h"

BOOL TDC::ExtTextOutW(int, int, UINT, const TRect*, const char16_t*, UINT, const int*) {
  SX_NOT_IMPLEMENTED("ExtTextOutW");
}

HGDIOBJ GdiCreateStockFont(int) { SX_NOT_IMPLEMENTED("GetStockObject(font)"); }
