// RichPng.h — decodes the PNG pictures RTF carries (\pngblip) into a bitmap
// the rich edit can draw with StretchDIBits. Every standard colour type and
// bit depth, interlaced or not; transparency is composed over white, the
// page the picture sits on. Bad or truncated data raises EInvalidGraphic;
// images above 2^26 pixels are refused rather than allocated.
#pragma once
#include <cstddef>

#include "platform/gdi/Dib.h"

// A 24-bit bottom-up bitmap of the picture.
TDib RichPngDecode(const Byte* Data, std::size_t Size);
