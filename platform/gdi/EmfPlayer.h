// EmfPlayer.h — playing enhanced metafiles onto a device context. The
// picture's frame is mapped onto the target rectangle; every record the
// recorder writes is replayed through the DC's API, so playing onto a
// recording DC records the picture again. The metafile's own mapping
// (map mode, window, viewport, world transform) is folded with the frame
// mapping into the target's world transform. A record that does not hold
// together (bad counts, object indexes outside the table, zero extents)
// is skipped; the rest of the picture still plays.
#pragma once
#include "platform/gdi/Emf.h"

// Rect in the target's logical coordinates; null plays the metafile's
// device units as the target's logical units.
BOOL PlayEnhMetaFile(HDC Dc, HENHMETAFILE Mf, const TRect* Rect);
// Plays one record; inside EnumEnhMetaFile with a DC it uses that
// enumeration's mapping and object table.
BOOL PlayEnhMetaFileRecord(HDC Dc, HANDLETABLE* Table, const ENHMETARECORD* Rec, UINT Handles);
