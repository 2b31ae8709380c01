// GdiTypes.h — the handle and colour types every part of the graphics layer
// shares. Handles are opaque: a value packs (kind, slot, generation) and only
// the layer's handle table can resolve it, so a stale or foreign handle fails
// like the real call instead of reaching freed memory.
#pragma once
#include <cstdint>
#include "platform/rtl/Types.h"

using COLORREF = std::uint32_t;  // 0x00bbggrr

constexpr COLORREF RGB(Byte R, Byte G, Byte B) {
  return COLORREF(R) | (COLORREF(G) << 8) | (COLORREF(B) << 16);
}
constexpr Byte GetRValue(COLORREF C) { return Byte(C & 0xFF); }
constexpr Byte GetGValue(COLORREF C) { return Byte((C >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF C) { return Byte((C >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

using HANDLE = void*;
using HGDIOBJ = void*;
// Distinct pointer types, as with STRICT: they convert to HGDIOBJ implicitly
// and back only with a cast.
#define SX_DECLARE_HANDLE(Name) \
  struct Name##__;              \
  using Name = Name##__*
SX_DECLARE_HANDLE(HDC);
SX_DECLARE_HANDLE(HPEN);
SX_DECLARE_HANDLE(HBRUSH);
SX_DECLARE_HANDLE(HFONT);
SX_DECLARE_HANDLE(HBITMAP);
SX_DECLARE_HANDLE(HRGN);
SX_DECLARE_HANDLE(HPALETTE);
SX_DECLARE_HANDLE(HENHMETAFILE);
SX_DECLARE_HANDLE(HMETAFILE);
SX_DECLARE_HANDLE(HICON);
SX_DECLARE_HANDLE(HCURSOR);
SX_DECLARE_HANDLE(HWND);
SX_DECLARE_HANDLE(HINSTANCE);
#undef SX_DECLARE_HANDLE

struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
  friend constexpr bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
