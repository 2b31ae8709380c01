// Text.h — the text calls of the graphics layer: metrics and extents of the
// DC's font, text output (TextOut, ExtTextOut with dx arrays, TabbedTextOut)
// and DrawText's formatting. Sizes are logical units of the DC: the font is
// realized at the device size and the answers converted back.
//
// ANSI calls convert their text through the code page of the font's
// charset; symbol fonts take the bytes as they are. The raster body of
// TDC::ExtTextOutW lives in Text.cpp; a recording DC overrides it and can
// ask GdiTextAdvances for the dx array GDI would have used.
#pragma once
#include <vector>
#include "platform/gdi/Font.h"
#include "platform/gdi/FontTypes.h"

BOOL GetTextMetricsW(HDC Dc, TEXTMETRICW* Tm);
BOOL GetTextMetricsA(HDC Dc, TEXTMETRICA* Tm);
// With a null buffer: the size needed. 0 for fonts that are not TrueType.
UINT GetOutlineTextMetricsW(HDC Dc, UINT Size, OUTLINETEXTMETRICW* Otm);
UINT GetOutlineTextMetricsA(HDC Dc, UINT Size, OUTLINETEXTMETRICA* Otm);
BOOL GetCharWidth32W(HDC Dc, UINT First, UINT Last, int* Widths);
BOOL GetCharWidth32A(HDC Dc, UINT First, UINT Last, int* Widths);
BOOL GetCharABCWidthsW(HDC Dc, UINT First, UINT Last, ABC* Widths);
BOOL GetCharABCWidthsA(HDC Dc, UINT First, UINT Last, ABC* Widths);
BOOL GetTextExtentPoint32W(HDC Dc, const WCHAR* Str, int Count, TSize* Size);
BOOL GetTextExtentPoint32A(HDC Dc, const char* Str, int Count, TSize* Size);
inline BOOL GetTextExtentPointW(HDC Dc, const WCHAR* Str, int Count, TSize* Size) {
  return GetTextExtentPoint32W(Dc, Str, Count, Size);
}
inline BOOL GetTextExtentPointA(HDC Dc, const char* Str, int Count, TSize* Size) {
  return GetTextExtentPoint32A(Dc, Str, Count, Size);
}
// Dx receives the extent after each character; Fit how many fit in MaxExtent.
BOOL GetTextExtentExPointW(HDC Dc, const WCHAR* Str, int Count, int MaxExtent, int* Fit, int* Dx, TSize* Size);
BOOL GetTextExtentExPointA(HDC Dc, const char* Str, int Count, int MaxExtent, int* Fit, int* Dx, TSize* Size);
// Characters copied including the terminator; with a null buffer the length needed.
int GetTextFaceW(HDC Dc, int Count, WCHAR* Face);
int GetTextFaceA(HDC Dc, int Count, char* Face);
DWORD GetFontData(HDC Dc, DWORD Table, DWORD Offset, void* Buffer, DWORD Size);
// True when the DC's font has PostScript outlines (not subsettable as glyf).
bool GdiFontIsCFF(HDC Dc);
// The outline format of the face the DC's font realizes to, and that face's
// whole file as the font layer holds it (a Type 1 program has no tables for
// GetFontData). None and empty without a DC or a file.
TFontFormat GdiFontFormat(HDC Dc);
std::string_view GdiFontFileBytes(HDC Dc);

// The callbacks get ENUMLOGFONTEX and NEWTEXTMETRICEX records behind the
// LOGFONT and TEXTMETRIC pointers, as on Windows.
int EnumFontFamiliesExW(HDC Dc, const LOGFONTW* Lf, FONTENUMPROCW Proc, LPARAM Param, DWORD Flags);
int EnumFontFamiliesExA(HDC Dc, const LOGFONTA* Lf, FONTENUMPROCA Proc, LPARAM Param, DWORD Flags);

BOOL TextOutW(HDC Dc, int X, int Y, const WCHAR* Str, int Count);
BOOL TextOutA(HDC Dc, int X, int Y, const char* Str, int Count);
// Dx holds advances, not positions: character i+1 starts Dx[i] after character i.
BOOL ExtTextOutW(HDC Dc, int X, int Y, UINT Options, const TRect* Rect, const WCHAR* Str, UINT Count, const int* Dx);
BOOL ExtTextOutA(HDC Dc, int X, int Y, UINT Options, const TRect* Rect, const char* Str, UINT Count, const int* Dx);
// Both answer MAKELONG(width, height).
LONG TabbedTextOutW(HDC Dc, int X, int Y, const WCHAR* Str, int Count, int NTabs, const int* Tabs, int TabOrigin);
LONG TabbedTextOutA(HDC Dc, int X, int Y, const char* Str, int Count, int NTabs, const int* Tabs, int TabOrigin);
DWORD GetTabbedTextExtentW(HDC Dc, const WCHAR* Str, int Count, int NTabs, const int* Tabs);
DWORD GetTabbedTextExtentA(HDC Dc, const char* Str, int Count, int NTabs, const int* Tabs);

// Count -1: a NUL-terminated text. Returns the height of the text drawn (or
// measured with DT_CALCRECT), 0 on failure. DT_MODIFYSTRING writes the
// shortened text back, so the buffer needs room for Count + 4 characters.
int DrawTextW(HDC Dc, WCHAR* Str, int Count, TRect* Rect, UINT Format);
int DrawTextA(HDC Dc, char* Str, int Count, TRect* Rect, UINT Format);
int DrawTextExW(HDC Dc, WCHAR* Str, int Count, TRect* Rect, UINT Format, DRAWTEXTPARAMS* Params);
int DrawTextExA(HDC Dc, char* Str, int Count, TRect* Rect, UINT Format, DRAWTEXTPARAMS* Params);

// The advances GDI gives the characters of Str on the DC, in logical units,
// with character extra and justification included (what an EXTTEXTOUTW
// record's dx array holds when the caller gave none).
std::vector<int> GdiTextAdvances(HDC Dc, const WCHAR* Str, UINT Count, bool GlyphIndices = false);
// ANSI text of the DC's font as UTF-16, as the A calls convert it.
WideString GdiTextToWide(HDC Dc, const char* Str, int Count);
