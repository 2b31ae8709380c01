// BlitRaster.h — the raster engine behind the blit operations, shared by the
// blit and DIB units. Internal to the graphics layer.
//
// A transfer maps a destination rectangle of device pixels onto a source
// rectangle of a bitmap's pixels (possibly scaled or mirrored), brings source
// and brush into the destination's pixel format and combines them with the
// destination through a ternary raster operation, clipped by the DC's clip.
#pragma once
#include <memory>
#include "platform/gdi/BlitRop.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/Dib.h"

// One axis of a rectangle as GDI reads (origin, extent) pairs: extent E > 0
// covers [O, O+E) forwards; E < 0 covers O+E+1 .. O backwards.
struct TBlitSpan {
  int Lo = 0, Hi = 0;     // covered pixels [Lo, Hi)
  bool Reversed = false;  // walked from Hi-1 down to Lo
  Int64 Length() const { return Int64(Hi) - Lo; }
};
// From the device coordinates of both ends of an (origin, extent) pair.
TBlitSpan BlitSpanFromEnds(int A, int B);

struct TBlitRequest {
  TBlitSpan DX, DY;                        // destination, device pixels
  const TBitmapObject* Src = nullptr;      // null: no source operand
  TBlitSpan SX, SY;                        // source, the bitmap's pixels (row 0 at the top)
  COLORREF SrcBkColor = RGB(255, 255, 255);  // the source DC's background
  DWORD Rop = SRCCOPY;                     // a MAKEROP4 code when Mask is set
  const TBitmapObject* Mask = nullptr;     // monochrome; 1 = foreground operation
  int MaskX = 0, MaskY = 0;
};

// Runs the transfer into Dc's surface. Returns FALSE for an impossible
// request (a colour mask, a source where the operation needs none is fine).
BOOL RunBlit(TDC& Dc, const TBlitRequest& Request);

// A bitmap object over a decoded DIB (not in the handle table): DIB_RGB
// pixels with the DIB's own colour table. Bit-field layouts other than 5-5-5,
// 5-6-5 and 8-8-8 are converted to 32 bits first.
std::unique_ptr<TBitmapObject> BitmapFromDib(TDib Dib);
// The DC behind a source handle and where its logical rectangle lies in its
// surface; false when the DC has no pixels.
bool SourceSpans(HDC Src, int X, int Y, int W, int H, const TBitmapObject*& Bmp,
                 TBlitSpan& SX, TBlitSpan& SY, COLORREF& BkColor);
