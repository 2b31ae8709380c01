// ScrollBars.h — the standard scroll bars of a window (WS_HSCROLL,
// WS_VSCROLL), drawn in its non-client area. A bar appears when its range
// can scroll and disappears when it cannot, unless SIF_DISABLENOSCROLL keeps
// it, disabled. With SB_CTL the calls address a scroll-bar control (the
// "ScrollBar" class, registered by InitCommonControls) through its SBM_
// messages.
#pragma once
#include "platform/rtl/Interfaces.h"
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

// Flat scroll bars: a window taken over by InitializeFlatSB draws each bar
// in the mode its style property names (flat or hot-tracked flat: boxes
// without the raised edge). Properties are refused until then.
constexpr UINT WSB_PROP_VSTYLE = 0x0100;
constexpr UINT WSB_PROP_HSTYLE = 0x0200;
constexpr INT_PTR FSB_REGULAR_MODE = 0;
constexpr INT_PTR FSB_ENCARTA_MODE = 1;
constexpr INT_PTR FSB_FLAT_MODE = 2;
BOOL InitializeFlatSB(HWND Wnd);
HRESULT UninitializeFlatSB(HWND Wnd);
BOOL FlatSB_SetScrollProp(HWND Wnd, UINT Index, INT_PTR Value, BOOL Redraw);
BOOL FlatSB_GetScrollProp(HWND Wnd, UINT Index, int* Value);

// For the non-client code: drawing both bars into a window DC, and the
// modal tracking a click on a bar starts (WM_HSCROLL/WM_VSCROLL).
void ScrollBarsPaint(HWND Wnd, HDC WindowDc);
void ScrollBarTrack(HWND Wnd, int Bar, TPoint Screen);

// The scroll-bar control: styles and messages.
constexpr const char* SCROLLBAR_CLASS = "ScrollBar";
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
