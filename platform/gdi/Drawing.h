// Drawing.h — lines, shapes, rectangles, pixels and paths at the Win32
// level, and the 3-D edges and frame controls the controls paint with.
// Coordinates are logical; each call forwards to the DC (DcObject.h).
#pragma once
#include "platform/gdi/GdiTypes.h"

BOOL MoveToEx(HDC Dc, int X, int Y, TPoint* Old);
BOOL LineTo(HDC Dc, int X, int Y);
BOOL Polyline(HDC Dc, const TPoint* Points, int Count);
BOOL PolylineTo(HDC Dc, const TPoint* Points, DWORD Count);
BOOL PolyPolyline(HDC Dc, const TPoint* Points, const DWORD* Counts, DWORD NPolys);
BOOL Polygon(HDC Dc, const TPoint* Points, int Count);
BOOL PolyPolygon(HDC Dc, const TPoint* Points, const int* Counts, int NPolys);
BOOL PolyBezier(HDC Dc, const TPoint* Points, DWORD Count);
BOOL PolyBezierTo(HDC Dc, const TPoint* Points, DWORD Count);
BOOL PolyDraw(HDC Dc, const TPoint* Points, const BYTE* Types, int Count);
BOOL Rectangle(HDC Dc, int L, int T, int R, int B);
BOOL RoundRect(HDC Dc, int L, int T, int R, int B, int W, int H);
BOOL Ellipse(HDC Dc, int L, int T, int R, int B);
BOOL Arc(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE);
BOOL ArcTo(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE);
BOOL Chord(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE);
BOOL Pie(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE);
BOOL AngleArc(HDC Dc, int X, int Y, DWORD Radius, FLOAT Start, FLOAT Sweep);

// FillRect, FrameRect and InvertRect ignore the ROP2 and the pen.
int FillRect(HDC Dc, const TRect* R, HBRUSH Brush);
int FrameRect(HDC Dc, const TRect* R, HBRUSH Brush);
BOOL InvertRect(HDC Dc, const TRect* R);
COLORREF SetPixel(HDC Dc, int X, int Y, COLORREF Color);
BOOL SetPixelV(HDC Dc, int X, int Y, COLORREF Color);
COLORREF GetPixel(HDC Dc, int X, int Y);

BOOL BeginPath(HDC Dc);
BOOL EndPath(HDC Dc);
BOOL AbortPath(HDC Dc);
BOOL CloseFigure(HDC Dc);
BOOL FillPath(HDC Dc);
BOOL StrokePath(HDC Dc);
BOOL StrokeAndFillPath(HDC Dc);
BOOL FlattenPath(HDC Dc);
BOOL WidenPath(HDC Dc);
// Points in logical units; with Size 0 returns the number of points.
int GetPath(HDC Dc, TPoint* Points, BYTE* Types, int Size);

// The classic (unthemed) 3-D look, in the system colours.
BOOL DrawEdge(HDC Dc, TRect* R, UINT Edge, UINT Flags);
// Dotted rectangle drawn by inverting every other pixel: drawing it twice
// removes it.
BOOL DrawFocusRect(HDC Dc, const TRect* R);
// Buttons, check boxes, radio buttons (image and mask), scroll arrows, the
// size grip, caption buttons and menu glyphs.
BOOL DrawFrameControl(HDC Dc, TRect* R, UINT Type, UINT State);
