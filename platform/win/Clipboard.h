// Clipboard.h — the clipboard, in-process: formats and their data handles
// (global memory, or GDI handles for CF_BITMAP, CF_PALETTE and
// CF_ENHMETAFILE), delayed rendering through WM_RENDERFORMAT, and the text
// formats made from each other on demand (CF_TEXT, CF_UNICODETEXT,
// CF_OEMTEXT). Data set on the clipboard belongs to it.
#pragma once
#include "platform/win/WinTypes.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_SYLK = 4;
constexpr UINT CF_DIF = 5;
constexpr UINT CF_TIFF = 6;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_PENDATA = 10;
constexpr UINT CF_RIFF = 11;
constexpr UINT CF_WAVE = 12;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
constexpr UINT CF_HDROP = 15;
constexpr UINT CF_LOCALE = 16;
constexpr UINT CF_DIBV5 = 17;

BOOL OpenClipboard(HWND Owner);
BOOL CloseClipboard();
// Frees the data, tells the old owner (WM_DESTROYCLIPBOARD); the window that
// opened the clipboard becomes the owner.
BOOL EmptyClipboard();
// A null Data promises the format: GetClipboardData asks the owner with
// WM_RENDERFORMAT.
HANDLE SetClipboardData(UINT Format, HANDLE Data);
HANDLE GetClipboardData(UINT Format);
BOOL IsClipboardFormatAvailable(UINT Format);
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT Format);
// Shares the numbers of RegisterWindowMessage, as on Windows.
UINT RegisterClipboardFormatA(const char* Name);
inline UINT RegisterClipboardFormat(const char* N) { return RegisterClipboardFormatA(N); }
int GetClipboardFormatNameA(UINT Format, char* Buffer, int MaxCount);
inline int GetClipboardFormatName(UINT F, char* B, int N) { return GetClipboardFormatNameA(F, B, N); }
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
DWORD GetClipboardSequenceNumber();
// Empties the clipboard outright (ResetWindowSystem).
void ClipboardReset();
