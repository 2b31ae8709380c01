// SysBitmaps.h — the system's predefined bitmaps (LoadBitmap with a null
// instance and an OBM_ id). Each call draws a new bitmap in the current
// system colours; the caller owns it and frees it with DeleteObject.
#pragma once
#include "platform/win/Cursors.h"  // MAKEINTRESOURCEA

// Check boxes, radio buttons and three-state check boxes: 4 columns (plain,
// checked, pushed, pushed and checked) by 3 rows of 13 x 13 images.
inline const char* const OBM_CHECKBOXES = MAKEINTRESOURCEA(32759);

inline const char* const OBM_CLOSE = MAKEINTRESOURCEA(32754);
inline const char* const OBM_UPARROW = MAKEINTRESOURCEA(32753);
inline const char* const OBM_DNARROW = MAKEINTRESOURCEA(32752);
inline const char* const OBM_RGARROW = MAKEINTRESOURCEA(32751);
inline const char* const OBM_LFARROW = MAKEINTRESOURCEA(32750);
inline const char* const OBM_REDUCE = MAKEINTRESOURCEA(32749);
inline const char* const OBM_ZOOM = MAKEINTRESOURCEA(32748);
inline const char* const OBM_RESTORE = MAKEINTRESOURCEA(32747);
inline const char* const OBM_MNARROW = MAKEINTRESOURCEA(32739);
inline const char* const OBM_COMBO = MAKEINTRESOURCEA(32738);
inline const char* const OBM_SIZE = MAKEINTRESOURCEA(32766);
inline const char* const OBM_BTSIZE = MAKEINTRESOURCEA(32761);
inline const char* const OBM_CHECK = MAKEINTRESOURCEA(32760);
inline const char* const OBM_BTNCORNERS = MAKEINTRESOURCEA(32758);

// Null instance and an OBM_ id (the pushed "D" and inactive "I" forms and
// the old-style ids too): the bitmap. Any other name fails
// (ERROR_RESOURCE_NAME_NOT_FOUND), as the program's own bitmaps come from
// the resource layer.
HBITMAP LoadBitmapA(HINSTANCE Instance, const char* Name);
inline HBITMAP LoadBitmap(HINSTANCE I, const char* N) { return LoadBitmapA(I, N); }
