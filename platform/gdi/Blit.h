// Blit.h — block transfers at the Win32 level: BitBlt, StretchBlt, PatBlt,
// MaskBlt, the DIB-to-device transfers, TransparentBlt, AlphaBlend and
// GradientFill. Each looks up the DC and calls its virtual operation, so a
// metafile recorder sees the call; the raster bodies of those operations
// live in Blit.cpp. Failure shows in the return value, never as an
// exception.
//
// Colour rules between formats: a monochrome device bitmap as source paints
// its 0 bits in the destination DC's text colour and its 1 bits in the
// background colour; a colour source into a monochrome device bitmap gives 1
// where the pixel equals the source DC's background colour and 0 elsewhere.
// DIB sections and DIBs of any depth use their own colour tables.
#pragma once
#include "platform/gdi/BlitRop.h"
#include "platform/gdi/GdiTypes.h"

struct BITMAPINFO;

using COLOR16 = std::uint16_t;

struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  COLOR16 Red = 0;  // 0x0000..0xFF00: the high byte is the colour value
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
  ULONG Vertex1 = 0;
  ULONG Vertex2 = 0;
  ULONG Vertex3 = 0;
};
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;

struct BLENDFUNCTION {
  BYTE BlendOp = 0;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};
constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;

BOOL BitBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop);
// Negative extents mirror: an extent W < 0 at X covers X+W+1 .. X.
BOOL StretchBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                int HSrc, DWORD Rop);
BOOL PatBlt(HDC Dc, int X, int Y, int W, int H, DWORD Rop);
// Rop is a MAKEROP4 code; Mask (monochrome, may be null) chooses per pixel.
BOOL MaskBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask,
             int XMask, int YMask, DWORD Rop);
// Returns the number of scan lines drawn, 0 on failure.
int StretchDIBits(HDC Dc, int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc, int HSrc,
                  const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop);
int SetDIBitsToDevice(HDC Dc, int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc,
                      UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                      UINT Usage);
BOOL GradientFill(HDC Dc, const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                  ULONG Mode);
BOOL AlphaBlend(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                int HSrc, BLENDFUNCTION Blend);
BOOL TransparentBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                    int HSrc, UINT Transparent);
