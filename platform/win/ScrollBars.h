// ScrollBars.h — the standard scroll bars of a window (WS_HSCROLL,
// WS_VSCROLL), drawn in its non-client area. A bar appears when its range
// can scroll and disappears when it cannot, unless SIF_DISABLENOSCROLL keeps
// it, disabled. Scroll-bar controls (SB_CTL) belong to the control classes.
#pragma once
#include "platform/win/WinTypes.h"

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info);
int SetScrollPos(HWND Wnd, int Bar, int Pos, BOOL Redraw);
int GetScrollPos(HWND Wnd, int Bar);
BOOL SetScrollRange(HWND Wnd, int Bar, int Min, int Max, BOOL Redraw);
BOOL GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max);
BOOL ShowScrollBar(HWND Wnd, int Bar, BOOL Show);
BOOL EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows);
BOOL GetScrollBarInfo(HWND Wnd, LONG Object, SCROLLBARINFO* Info);

// For the non-client code: drawing both bars into a window DC, and the
// modal tracking a click on a bar starts (WM_HSCROLL/WM_VSCROLL).
void ScrollBarsPaint(HWND Wnd, HDC WindowDc);
void ScrollBarTrack(HWND Wnd, int Bar, TPoint Screen);
