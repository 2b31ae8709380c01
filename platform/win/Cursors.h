// Cursors.h — the standard cursors and the current cursor. Standard cursors
// are shared handles (LoadCursor with a null instance and an IDC_ id);
// cursors of the program's own resources come from the resource layer.
#pragma once
#include "platform/win/WinTypes.h"

inline const char* MAKEINTRESOURCEA(WORD Id) { return reinterpret_cast<const char*>(std::uintptr_t(Id)); }
inline const char* const IDC_ARROW = MAKEINTRESOURCEA(32512);
inline const char* const IDC_IBEAM = MAKEINTRESOURCEA(32513);
inline const char* const IDC_WAIT = MAKEINTRESOURCEA(32514);
inline const char* const IDC_CROSS = MAKEINTRESOURCEA(32515);
inline const char* const IDC_UPARROW = MAKEINTRESOURCEA(32516);
inline const char* const IDC_SIZE = MAKEINTRESOURCEA(32640);
inline const char* const IDC_ICON = MAKEINTRESOURCEA(32641);
inline const char* const IDC_SIZENWSE = MAKEINTRESOURCEA(32642);
inline const char* const IDC_SIZENESW = MAKEINTRESOURCEA(32643);
inline const char* const IDC_SIZEWE = MAKEINTRESOURCEA(32644);
inline const char* const IDC_SIZENS = MAKEINTRESOURCEA(32645);
inline const char* const IDC_SIZEALL = MAKEINTRESOURCEA(32646);
inline const char* const IDC_NO = MAKEINTRESOURCEA(32648);
inline const char* const IDC_HAND = MAKEINTRESOURCEA(32649);
inline const char* const IDC_APPSTARTING = MAKEINTRESOURCEA(32650);
inline const char* const IDC_HELP = MAKEINTRESOURCEA(32651);

// Null Instance and an IDC_ id: the standard cursor. Anything else fails
// (ERROR_RESOURCE_NAME_NOT_FOUND) here.
HCURSOR LoadCursorA(HINSTANCE Instance, const char* Name);
inline HCURSOR LoadCursor(HINSTANCE I, const char* N) { return LoadCursorA(I, N); }
// The IDC_ id of a standard cursor handle, or 0.
WORD StandardCursorId(HCURSOR Cursor);
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL Show);
BOOL DestroyCursor(HCURSOR Cursor);
