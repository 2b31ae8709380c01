// DcApi.h — device contexts and GDI objects at the Win32 level: creating and
// deleting DCs, pens, brushes, bitmaps and palettes, selecting them, the DC's
// state (colours, modes, mapping, world transform) and its save stack.
// Calls keep Win32's contract: failure shows in the return value, never as an
// exception. The DC object behind an HDC is TDC (DcObject.h).
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"  // COLOR_* for GetSysColorBrush

// --- device contexts ---------------------------------------------------------
// A memory DC compatible with Dc (null: the screen); it starts with a 1x1
// monochrome bitmap selected, as on Windows.
HDC CreateCompatibleDC(HDC Dc);
// "DISPLAY" gives a screen DC for measuring (96 pixels per inch, no pixels).
HDC CreateDCA(const char* Driver, const char* Device, const char* Output, const void* InitData);
BOOL DeleteDC(HDC Dc);
int GetDeviceCaps(HDC Dc, int Index);
int SaveDC(HDC Dc);
BOOL RestoreDC(HDC Dc, int SavedDC);

// --- objects -------------------------------------------------------------------
HGDIOBJ SelectObject(HDC Dc, HGDIOBJ Obj);
BOOL DeleteObject(HGDIOBJ Obj);
int GetObjectA(HGDIOBJ Obj, int Size, void* Buffer);
int GetObjectW(HGDIOBJ Obj, int Size, void* Buffer);
inline int GetObject(HGDIOBJ Obj, int Size, void* Buffer) { return GetObjectA(Obj, Size, Buffer); }
DWORD GetObjectType(HGDIOBJ Obj);
HGDIOBJ GetCurrentObject(HDC Dc, UINT Type);
HGDIOBJ GetStockObject(int Index);
HBRUSH GetSysColorBrush(int Index);

HPEN CreatePen(int Style, int Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN* Pen);
HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount,
                  const DWORD* StyleEntries);
HBRUSH CreateSolidBrush(COLORREF Color);
HBRUSH CreateHatchBrush(int Hatch, COLORREF Color);
// The brush copies the pattern: the bitmap may be deleted afterwards.
HBRUSH CreatePatternBrush(HBITMAP Bmp);
HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush);

HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitsPerPixel, const void* Bits);
HBITMAP CreateBitmapIndirect(const BITMAP* Bm);
HBITMAP CreateCompatibleBitmap(HDC Dc, int Width, int Height);
BOOL SetBitmapDimensionEx(HBITMAP Bmp, int W, int H, TSize* Old);
BOOL GetBitmapDimensionEx(HBITMAP Bmp, TSize* Size);

HPALETTE CreatePalette(const LOGPALETTE* Pal);
HPALETTE SelectPalette(HDC Dc, HPALETTE Pal, BOOL ForceBackground);
UINT RealizePalette(HDC Dc);
UINT GetPaletteEntries(HPALETTE Pal, UINT Start, UINT Count, PALETTEENTRY* Entries);
UINT SetPaletteEntries(HPALETTE Pal, UINT Start, UINT Count, const PALETTEENTRY* Entries);
UINT GetNearestPaletteIndex(HPALETTE Pal, COLORREF Color);
COLORREF GetNearestColor(HDC Dc, COLORREF Color);

// --- state -----------------------------------------------------------------------
COLORREF SetTextColor(HDC Dc, COLORREF Color);
COLORREF GetTextColor(HDC Dc);
COLORREF SetBkColor(HDC Dc, COLORREF Color);
COLORREF GetBkColor(HDC Dc);
int SetBkMode(HDC Dc, int Mode);
int GetBkMode(HDC Dc);
int SetROP2(HDC Dc, int Mode);
int GetROP2(HDC Dc);
int SetPolyFillMode(HDC Dc, int Mode);
int GetPolyFillMode(HDC Dc);
int SetStretchBltMode(HDC Dc, int Mode);
int GetStretchBltMode(HDC Dc);
UINT SetTextAlign(HDC Dc, UINT Align);
UINT GetTextAlign(HDC Dc);
int SetTextCharacterExtra(HDC Dc, int Extra);
int GetTextCharacterExtra(HDC Dc);
BOOL SetTextJustification(HDC Dc, int BreakExtra, int BreakCount);
int SetArcDirection(HDC Dc, int Dir);
int GetArcDirection(HDC Dc);
int SetGraphicsMode(HDC Dc, int Mode);
int GetGraphicsMode(HDC Dc);
COLORREF SetDCBrushColor(HDC Dc, COLORREF Color);
COLORREF GetDCBrushColor(HDC Dc);
COLORREF SetDCPenColor(HDC Dc, COLORREF Color);
COLORREF GetDCPenColor(HDC Dc);
BOOL SetMiterLimit(HDC Dc, FLOAT Limit, FLOAT* Old);
BOOL GetMiterLimit(HDC Dc, FLOAT* Limit);
DWORD SetMapperFlags(HDC Dc, DWORD Flags);
BOOL SetBrushOrgEx(HDC Dc, int X, int Y, TPoint* Old);
BOOL GetBrushOrgEx(HDC Dc, TPoint* Org);
BOOL GetCurrentPositionEx(HDC Dc, TPoint* Pos);

// --- coordinate spaces ---------------------------------------------------------------
int SetMapMode(HDC Dc, int Mode);
int GetMapMode(HDC Dc);
BOOL SetWindowOrgEx(HDC Dc, int X, int Y, TPoint* Old);
BOOL GetWindowOrgEx(HDC Dc, TPoint* Org);
BOOL SetViewportOrgEx(HDC Dc, int X, int Y, TPoint* Old);
BOOL GetViewportOrgEx(HDC Dc, TPoint* Org);
BOOL OffsetWindowOrgEx(HDC Dc, int DX, int DY, TPoint* Old);
BOOL OffsetViewportOrgEx(HDC Dc, int DX, int DY, TPoint* Old);
BOOL SetWindowExtEx(HDC Dc, int X, int Y, TSize* Old);
BOOL GetWindowExtEx(HDC Dc, TSize* Ext);
BOOL SetViewportExtEx(HDC Dc, int X, int Y, TSize* Old);
BOOL GetViewportExtEx(HDC Dc, TSize* Ext);
BOOL ScaleWindowExtEx(HDC Dc, int XNum, int XDenom, int YNum, int YDenom, TSize* Old);
BOOL ScaleViewportExtEx(HDC Dc, int XNum, int XDenom, int YNum, int YDenom, TSize* Old);
BOOL SetWorldTransform(HDC Dc, const XFORM* Xf);
BOOL GetWorldTransform(HDC Dc, XFORM* Xf);
BOOL ModifyWorldTransform(HDC Dc, const XFORM* Xf, DWORD Mode);
BOOL DPtoLP(HDC Dc, TPoint* Points, int Count);
BOOL LPtoDP(HDC Dc, TPoint* Points, int Count);
BOOL GetDCOrgEx(HDC Dc, TPoint* Org);
