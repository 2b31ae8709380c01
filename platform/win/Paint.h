// Paint.h — invalidation, painting and window device contexts.
//
// Each top-level window owns a 32-bit surface the size of its window
// rectangle; it and all its children draw there. A window DC is a DC of the
// graphics layer over that surface whose device origin is the window's (or
// its client area's) place in it, clipped to what the window may touch:
// its area within every ancestor's client area, without the children
// (WS_CLIPCHILDREN) and the siblings above it (WS_CLIPSIBLINGS). The update
// region is kept per window in client coordinates; a frame invalidation is
// a flag that BeginPaint turns into WM_NCPAINT.
#pragma once
#include "platform/win/WinTypes.h"

BOOL InvalidateRect(HWND Wnd, const TRect* R, BOOL Erase);
BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
BOOL ValidateRect(HWND Wnd, const TRect* R);
BOOL ValidateRgn(HWND Wnd, HRGN Rgn);
BOOL GetUpdateRect(HWND Wnd, TRect* R, BOOL Erase);
int GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
BOOL UpdateWindow(HWND Wnd);
BOOL RedrawWindow(HWND Wnd, const TRect* R, HRGN Rgn, UINT Flags);
// Sends WM_NCPAINT for a pending frame and WM_ERASEBKGND for a pending
// erase, validates, and clips the DC to the update region.
HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Ps);
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Ps);
// Null window: a DC over the whole screen.
HDC GetDC(HWND Wnd);
HDC GetWindowDC(HWND Wnd);
HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags);
int ReleaseDC(HWND Wnd, HDC Dc);
HWND WindowFromDC(HDC Dc);
// Moves the client pixels inside Scroll ∩ Clip by (Dx, Dy); the uncovered
// part becomes the returned region/rectangle and, with SW_INVALIDATE, part
// of the update region. SW_SCROLLCHILDREN moves the children too.
int ScrollWindowEx(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip,
                   HRGN Update, TRect* UpdateRect, UINT Flags);
BOOL ScrollWindow(HWND Wnd, int Dx, int Dy, const TRect* Scroll, const TRect* Clip);
int ExcludeUpdateRgn(HDC Dc, HWND Wnd);

// The pixels of a top-level window (its surface); null when it has none.
HBITMAP WindowSurface(HWND TopLevel);
