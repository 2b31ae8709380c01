// DrawHelpers.h — the library's small drawing helpers: the size of the
// system's check-box images, and copying a source area onto a destination
// while the masked (transparent) pixels leave the destination as it was.
// All of them draw through the GDI calls of platform/gdi on the DCs they are
// given; the DCs and their selections come back as they were.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"

// The height of one image of the system's check-box bitmap (OBM_CHECKBOXES,
// 4 columns by 3 rows); measured on first use. 0 when the bitmap cannot be
// loaded.
Integer GetCheckBoxHeight();

// Copies SrcRect of SrcDC onto DstRect of DstDC, stretched when the sizes
// differ (through a temporary copy of the source; on Windows NT, IsWinNT,
// an area of the same size goes in one masked transfer), except where the
// mask is set: the monochrome bitmap selected into
// MaskDC, read from MaskOrigin over SrcRect's size. Set mask pixels keep the
// destination. An empty rectangle draws nothing. False when the temporary
// bitmap cannot be made or the masked transfer fails.
bool TransparentStretchBlt(HDC DstDC, const TRect& DstRect, HDC SrcDC, const TRect& SrcRect, HDC MaskDC,
                           TPoint MaskOrigin);

// Copies SrcRect of SrcDC onto DstRect of DstDC, leaving the destination
// wherever the source has the colour Transparent.
void DrawTransparentArea(HDC SrcDC, HDC DstDC, const TRect& SrcRect, TColor Transparent, const TRect& DstRect);
