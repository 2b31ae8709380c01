// ImageListHandles.h — the image-list calls on handles: a TCustomImageList
// answers for its handle (GetHandle), so code written against the handle
// calls and code that uses the class see the same images. A handle of a
// freed list fails every call.
#pragma once
#include "platform/gdi/ImageList.h"
#include "platform/gdi/GdiTypes.h"

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;

// The list behind a handle; nil for a stale or foreign one.
TCustomImageList* ImageListFromHandle(HIMAGELIST List);

int ImageList_GetImageCount(HIMAGELIST List);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* Cx, int* Cy);
// Draws image Index at X, Y: masked (ILD_TRANSPARENT or the list's
// background none), blended with the highlight (ILD_BLEND25/50), or its mask.
BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style);
// As ImageList_Draw within Dx by Dy (0: the image size); Bk other than
// CLR_NONE/CLR_DEFAULT fills under an unmasked image.
BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int Dx, int Dy, COLORREF Bk, COLORREF Fg,
                      UINT Style);
// A new icon of the image and its mask (the caller destroys it).
HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT Flags);
// Index -1 appends; answers the index, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST List, int Index, HICON Icon);
inline int ImageList_AddIcon(HIMAGELIST List, HICON Icon) { return ImageList_ReplaceIcon(List, -1, Icon); }
BOOL ImageList_Remove(HIMAGELIST List, int Index);
