// GraphicsBitmaps_p.h — bitmap plumbing shared by the graphics classes
// (TBitmap, TIcon, TJPEGImage, TImageList): making DIB sections, copying
// pixels between bitmaps, masks and palettes. Internal to the layer; the
// helpers reach the bitmap objects directly where the API would only copy.
#pragma once
#include <vector>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiGuards.h"

// A screen DC for making device bitmaps and measuring; lives for the run.
HDC GxScreenDC();
// A bottom-up DIB section of a pixel format (pfDevice/pfCustom: 32 bits);
// 8 bits or fewer take Palette, or the depth's default one. Raises for
// absurd sizes.
HBITMAP GxCreateSection(Integer W, Integer H, TPixelFormat Format, const std::vector<RGBQUAD>& Palette);
// A DIB section holding Dib's pixels, always bottom-up.
HBITMAP GxSectionFromDib(const TDib& Dib);
// The bitmap's pixels in its own format (device bitmaps: 32 bits, or 1).
TDib GxObjectToDib(HBITMAP Bmp);
// Top-down 0xAARRGGBB pixels in a pixel format (pf16bit is 5-6-5).
TDib GxDibFromBgra(const std::uint32_t* Px, Integer W, Integer H, TPixelFormat Format);
// PatBlt over the whole bitmap.
void GxFill(HBITMAP Bmp, Integer W, Integer H, DWORD Rop);
// BitBlt of the top-left W x H from Src to Dst (GDI's colour conversions).
void GxCopy(HBITMAP Dst, HBITMAP Src, Integer W, Integer H);
// Dst and Src of the same size and format: the bits and colour table.
void GxCopyPixels(HBITMAP Dst, HBITMAP Src);
// The colour table of Src into Dst when both have one of the same depth.
void GxCopyColorTable(HBITMAP Dst, HBITMAP Src);
// A monochrome device bitmap: 1 (white) where the pixel is Color.
HBITMAP GxMakeMask(HBITMAP Bmp, COLORREF Color);
HPALETTE GxPaletteFromTable(const std::vector<RGBQUAD>& Table);
HPALETTE GxCopyPalette(HPALETTE Pal);
// A memory DC with one bitmap selected for the scope; raises when the DC
// cannot be made.
class TGxBitmapDC : public TMemoryDc {
public:
  explicit TGxBitmapDC(HBITMAP Bmp);
};
