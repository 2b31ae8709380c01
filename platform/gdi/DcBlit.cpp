// The bitmap unit's side of the DC: it replaces these bodies with the raster
// blits, DIB transfers and gradient fills.
#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/Exceptions.h"

BOOL TDC::PatBlt(int, int, int, int, DWORD) { SX_NOT_IMPLEMENTED("PatBlt"); }
BOOL TDC::BitBlt(int, int, int, int, HDC, int, int, DWORD) { SX_NOT_IMPLEMENTED("BitBlt"); }
BOOL TDC::StretchBlt(int, int, int, int, HDC, int, int, int, int, DWORD) {
  SX_NOT_IMPLEMENTED("StretchBlt");
}
BOOL TDC::MaskBlt(int, int, int, int, HDC, int, int, HBITMAP, int, int, DWORD) {
  SX_NOT_IMPLEMENTED("MaskBlt");
}
int TDC::StretchDIBits(int, int, int, int, int, int, int, int, const void*, const BITMAPINFO*, UINT,
                       DWORD) {
  SX_NOT_IMPLEMENTED("StretchDIBits");
}
int TDC::SetDIBitsToDevice(int, int, DWORD, DWORD, int, int, UINT, UINT, const void*,
                           const BITMAPINFO*, UINT) {
  SX_NOT_IMPLEMENTED("SetDIBitsToDevice");
}
BOOL TDC::GradientFill(const TRIVERTEX*, ULONG, const void*, ULONG, ULONG) {
  SX_NOT_IMPLEMENTED("GradientFill");
}
BOOL TDC::AlphaBlend(int, int, int, int, HDC, int, int, int, int, const BLENDFUNCTION&) {
  SX_NOT_IMPLEMENTED("AlphaBlend");
}
BOOL TDC::TransparentBlt(int, int, int, int, HDC, int, int, int, int, UINT) {
  SX_NOT_IMPLEMENTED("TransparentBlt");
}
