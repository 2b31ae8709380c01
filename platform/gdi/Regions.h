// Regions.h — region objects and the DC's clip at the Win32 level. Regions
// are in device units; clip calls that take rectangles take logical ones.
#pragma once
#include "platform/gdi/GdiTypes.h"

HRGN CreateRectRgn(int L, int T, int R, int B);
HRGN CreateRectRgnIndirect(const TRect* R);
HRGN CreateRoundRectRgn(int L, int T, int R, int B, int W, int H);
HRGN CreateEllipticRgn(int L, int T, int R, int B);
HRGN CreateEllipticRgnIndirect(const TRect* R);
HRGN CreatePolygonRgn(const TPoint* Points, int Count, int FillMode);
HRGN CreatePolyPolygonRgn(const TPoint* Points, const int* Counts, int NPolys, int FillMode);
HRGN ExtCreateRegion(const XFORM* Xf, DWORD Size, const RGNDATA* Data);
BOOL SetRectRgn(HRGN Rgn, int L, int T, int R, int B);
// Returns NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
int OffsetRgn(HRGN Rgn, int DX, int DY);
BOOL PtInRegion(HRGN Rgn, int X, int Y);
BOOL RectInRegion(HRGN Rgn, const TRect* R);
BOOL EqualRgn(HRGN A, HRGN B);
int GetRgnBox(HRGN Rgn, TRect* R);
// With a null Data (or too small a Size) returns the size needed.
DWORD GetRegionData(HRGN Rgn, DWORD Size, RGNDATA* Data);

BOOL FillRgn(HDC Dc, HRGN Rgn, HBRUSH Brush);
BOOL FrameRgn(HDC Dc, HRGN Rgn, HBRUSH Brush, int W, int H);
BOOL InvertRgn(HDC Dc, HRGN Rgn);
BOOL PaintRgn(HDC Dc, HRGN Rgn);

int SelectClipRgn(HDC Dc, HRGN Rgn);
int ExtSelectClipRgn(HDC Dc, HRGN Rgn, int Mode);
int IntersectClipRect(HDC Dc, int L, int T, int R, int B);
int ExcludeClipRect(HDC Dc, int L, int T, int R, int B);
int OffsetClipRgn(HDC Dc, int DX, int DY);
int GetClipBox(HDC Dc, TRect* R);
// 1 and a copy of the clip region in Rgn; 0 when the DC has none; -1 on error.
int GetClipRgn(HDC Dc, HRGN Rgn);
int GetMetaRgn(HDC Dc, HRGN Rgn);
int SetMetaRgn(HDC Dc);
BOOL PtVisible(HDC Dc, int X, int Y);
BOOL RectVisible(HDC Dc, const TRect* R);
BOOL SelectClipPath(HDC Dc, int Mode);
HRGN PathToRegion(HDC Dc);
