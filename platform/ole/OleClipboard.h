// OleClipboard.h — the clipboard seen as a data object. OleSetClipboard
// puts every format the object offers on global memory onto the clipboard
// (copied at once, so the clipboard keeps the data after the object is
// gone); OleGetClipboard gives the object that was set while it is still
// the clipboard's content, else a data object over what the clipboard
// holds (the formats kept in global memory; bitmaps, palettes and
// metafiles are GDI handles and stay with the clipboard calls).
#pragma once
#include "platform/ole/OleApi.h"

// Nil empties the clipboard. CLIPBRD_E_CANT_OPEN when another window holds
// it open; CO_E_NOTINITIALIZED before OleInitialize.
HRESULT OleSetClipboard(IDataObject* Data);
HRESULT OleGetClipboard(IDataObject** Data);
// The data stays on the clipboard; the object is let go.
HRESULT OleFlushClipboard();
// S_OK when Data is what OleSetClipboard put there and still is.
HRESULT OleIsCurrentClipboard(IDataObject* Data);
