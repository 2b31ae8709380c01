// Resources.h — the program's own resources: bitmaps, cursors, icons and
// string tables that the program and its libraries load by name or number
// from the program module (an instance that is not null; the null instance
// means the system's, see Cursors.h and SysBitmaps.h).
//
// They are files under resources/ (PNG pictures, drawn for this project by
// resources/draw_resources.py), found through one table, resources.txt:
// "KIND NAME FILE [HOTX HOTY]". String tables are resources/strings.txt:
// "ID text" with C-style escapes. Names match without case; a number passed
// as a name (MAKEINTRESOURCE) is looked up as "#number".
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

// The folder holding resources.txt (with a trailing separator): the
// executable's folder plus "resources/" unless set.
AnsiString ResourceDir();
void SetResourceDir(const AnsiString& Dir);
// The program module's instance (what the program passes as HInstance).
HINSTANCE ProgramInstance();

enum class TResourceKind { Bitmap, Cursor, Icon };
// Whether the table names the resource (a test lists every name it needs).
bool ProgramResourceExists(TResourceKind Kind, const char* Name);

// These answer nil with ERROR_RESOURCE_NAME_NOT_FOUND for a name the table
// lacks, and for a file that is missing or unreadable.
HBITMAP LoadProgramBitmap(const char* Name);
HCURSOR LoadProgramCursor(const char* Name);
// With a null instance, the system's icons by IDI_ number: made once and
// shared, as the system's are (callers never destroy them).
HICON LoadIconA(HINSTANCE Instance, const char* Name);
inline HICON LoadIcon(HINSTANCE I, const char* N) { return LoadIconA(I, N); }

// The system icons' numbers (pass them as names, MAKEINTRESOURCE-style).
inline const char* const IDI_APPLICATION = reinterpret_cast<const char*>(32512);
inline const char* const IDI_HAND = reinterpret_cast<const char*>(32513);
inline const char* const IDI_QUESTION = reinterpret_cast<const char*>(32514);
inline const char* const IDI_EXCLAMATION = reinterpret_cast<const char*>(32515);
inline const char* const IDI_ASTERISK = reinterpret_cast<const char*>(32516);
inline const char* const IDI_WINLOGO = reinterpret_cast<const char*>(32517);
inline const char* const IDI_WARNING = IDI_EXCLAMATION;
inline const char* const IDI_ERROR = IDI_HAND;
inline const char* const IDI_INFORMATION = IDI_ASTERISK;

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_SHARED = 0x8000;
// Width/Height other than 0 scale the picture to that size.
HANDLE LoadImageA(HINSTANCE Instance, const char* Name, UINT Type, int Width, int Height, UINT Flags);
inline HANDLE LoadImage(HINSTANCE I, const char* N, UINT T, int W, int H, UINT F) {
  return LoadImageA(I, N, T, W, H, F);
}
// Copies string Id (cut to fit, zero-terminated); answers its length, 0
// when the table has no such string.
int LoadStringA(HINSTANCE Instance, UINT Id, char* Buffer, int BufferMax);
// The class library's resource string: the text of Id, "" when missing.
AnsiString LoadResString(UINT Id);
