// DibBitmaps.h — bitmaps made from and read as DIBs: CreateDIBSection,
// CreateDIBitmap, GetDIBits and SetDIBits. Win32 contract: failure shows in
// the return value; a BITMAPINFO is trusted to be as long as its header says.
#pragma once
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiTypes.h"

constexpr DWORD CBM_INIT = 4;

// The section's pixels stay at *Bits for the bitmap's life (rows in the
// header's order). Section must be null: file-mapped sections are not kept.
HBITMAP CreateDIBSection(HDC Dc, const BITMAPINFO* Info, UINT Usage, void** Bits,
                         HANDLE Section, DWORD Offset);
// A device bitmap compatible with Dc, filled from Bits when Init has CBM_INIT.
HBITMAP CreateDIBitmap(HDC Dc, const BITMAPINFOHEADER* Header, DWORD Init, const void* Bits,
                       const BITMAPINFO* Info, UINT Usage);
// Copies Lines scan lines from StartScan (counted from the bottom for a
// bottom-up request) into Bits in the format Info asks for, and fills Info's
// colour table. With Bits null: biBitCount 0 asks only for the bitmap's
// header (size, depth, biSizeImage); otherwise biSizeImage and the colour
// table are filled. Returns the lines copied (non-zero for the queries).
int GetDIBits(HDC Dc, HBITMAP Bmp, UINT StartScan, UINT Lines, void* Bits, BITMAPINFO* Info,
              UINT Usage);
// Writes Lines scan lines from StartScan of a DIB into the bitmap.
int SetDIBits(HDC Dc, HBITMAP Bmp, UINT StartScan, UINT Lines, const void* Bits,
              const BITMAPINFO* Info, UINT Usage);
