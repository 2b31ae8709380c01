// dxBarDropDown.h — the frame of a resizable drop-down window: a one-pixel
// frame and, inside it, a band with a size grip in one corner and a small
// close button at the band's other end. Free routines without state; the
// painters' drop-down operations call them, and the drop-down window answers
// its hit tests from the rectangles DrawPopupNonClient returns. Also three
// string-taking wrappers of the ANSI text calls.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Types.h"
#include "platform/win/WinTypes.h"

// Corner of the popup that holds the grip: 0 top left, 1 top right, 2
// bottom left, 3 bottom right. 0 and 1 put the band at the top, 2 and 3 at
// the bottom; 1 and 3 put the grip at the band's right end.
using TdxPopupCorner = unsigned char;

// The band's height with its separator line: max(SM_CYHSCROLL + 2,
// SM_CYSIZE) + 1.
int PopupGripBandHeight();
// Where the grip goes for a popup opened from Owner (both rectangles in the
// same coordinates): at the bottom when the popup reaches below the owner's
// bottom, at the right when its right edge lies right of the owner's left.
TdxPopupCorner PopupGripCorner(const TRect& OwnerRect, const TRect& PopupRect);
// The hit-test code that lets the system size the popup from that corner.
int PopupCornerHitTest(TdxPopupCorner Corner);
// R: the band on entry, the grip square on return.
void DrawPopupSizeGrip(HDC DC, TRect& R, TdxPopupCorner Corner);
// R: the band on entry, the close button's drawing rectangle on return. The
// flat variant never shows an edge or a pushed button.
void DrawPopupCloseButton(HDC DC, TRect& R, bool Hot, bool Pressed, bool Flat, TdxPopupCorner Corner);
// The whole non-client frame of Wnd, drawn on its window DC. StateA: the
// mouse is over the close button; StateB: the close button is being
// tracked with the button down. The two rectangles come back in screen
// coordinates (empty without a band).
void DrawPopupNonClient(HWND Wnd, bool HasBand, bool Flat, bool StateA, bool StateB, TRect& CloseButtonRect,
                        TRect& GripRect, TdxPopupCorner Corner);

// The ANSI text calls with a string; a Count of -1 (or beyond the text)
// means the whole text.
int DrawTextStr(HDC DC, const AnsiString& Text, int Count, TRect& R, UINT Format);
bool ExtTextOutStr(HDC DC, int X, int Y, const AnsiString& Text, const TRect& R, UINT Options);
bool GetTextExtentPoint32Str(HDC DC, const AnsiString& Text, int Count, TSize& Size);
