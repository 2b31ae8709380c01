// Gdi.h — the graphics layer's Win32-level API in one include. Each unit of
// the layer adds its header here.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/IconApi.h"
