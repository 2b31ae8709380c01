// IconApi.h — icons and cursors as handles: an icon is an AND mask (1 keeps
// the screen) and an XOR colour image, drawn as dst = (dst AND mask) XOR
// colour. Icons are not GDI objects: their handles come from a table of
// their own, and DeleteObject does not free them (DestroyIcon does).
// Win32 contract: failure shows in the return value.
#pragma once
#include "platform/gdi/GdiTypes.h"

struct ICONINFO {
  BOOL fIcon = TRUE;       // FALSE: a cursor, with a hot spot
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;  // null: a monochrome icon whose mask is twice as tall
};

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// Copies the bitmaps: the caller keeps and deletes its own.
HICON CreateIconIndirect(const ICONINFO* Info);
// Fills Info with new bitmaps that the caller deletes.
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
HICON CopyIcon(HICON Icon);
BOOL DestroyIcon(HICON Icon);
inline BOOL DestroyCursor(HCURSOR Cursor) { return DestroyIcon(reinterpret_cast<HICON>(Cursor)); }
// Width/Height 0 draw at the icon's own size; Step and FlickerFree are
// for animated cursors and must be 0/null.
BOOL DrawIconEx(HDC Dc, int X, int Y, HICON Icon, int Width, int Height, UINT Step, HBRUSH FlickerFree,
                UINT Flags);
BOOL DrawIcon(HDC Dc, int X, int Y, HICON Icon);
// The icon's size in pixels (0 x 0 for a stale handle).
TSize GdiIconSize(HICON Icon);
