// SysBitmaps.h — the system's predefined bitmaps (LoadBitmap with a null
// instance and an OBM_ id). Each call draws a new bitmap in the current
// system colours; the caller owns it and frees it with DeleteObject.
#pragma once
#include "platform/win/Cursors.h"  // MAKEINTRESOURCEA

// Check boxes, radio buttons and three-state check boxes: 4 columns (plain,
// checked, pushed, pushed and checked) by 3 rows of 13 x 13 images.
inline const char* const OBM_CHECKBOXES = MAKEINTRESOURCEA(32759);

// Null instance and OBM_CHECKBOXES: the bitmap. Another system bitmap id
// raises SX_NOT_IMPLEMENTED; any other name fails
// (ERROR_RESOURCE_NAME_NOT_FOUND), as the program's own bitmaps come from
// the resource layer.
HBITMAP LoadBitmapA(HINSTANCE Instance, const char* Name);
inline HBITMAP LoadBitmap(HINSTANCE I, const char* N) { return LoadBitmapA(I, N); }
