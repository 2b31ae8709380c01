// PngPieces.h — the PNG pieces of the engines: the IDAT split of a whole
// compressed stream, bitmap rows and rotation, and the small RGB writer the
// SVG engine uses for its side images. Chunk framing, the CRC and the
// image-data deflater are the graphics layer's (platform/gdi/PngCodec.h);
// the PNG engine builds its own file from the same pieces.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include "export/engine/Containers.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/PngCodec.h"

// The deflated image data as IDAT chunks of 10240 bytes; the last chunk
// holds the remainder, and is empty when the size is an exact multiple.
void gtWritePNGImageData(TStream* Stream, const Byte* Data, std::size_t Size);

// Calls Row once for each row of the bitmap, top to bottom, with its pixels
// as 0x00RRGGBB values. A 32-bit DIB is read in place; any other bitmap
// through one converted copy.
void gtForEachBitmapRow(TBitmap* Bitmap, const std::function<void(const std::uint32_t* Pixels)>& Row);

// A zlib stream of Data deflated as TPngImageDataWriter does by default
// (level 9, matching runs only).
std::unique_ptr<TMemoryStream> gtDeflate(const Byte* Data, std::size_t Size);

// A complete RGB PNG of the bitmap. A tRNS chunk names TransparentColor
// (system colours resolved) only when one is given, so an opaque picture
// stays opaque.
std::unique_ptr<TgtExtMemStream> SaveBitmapAsPNG(TBitmap* Bitmap,
                                                 std::optional<TColor> TransparentColor = std::nullopt);

// A new bitmap holding Bitmap turned by Angle degrees (counter-clockwise on
// the screen) over Background, of the rotated box's size (corners rounded)
// and the source's bit depth; X and Y move by the offset of the rotated box.
// Each pixel comes from the nearest source pixel.
std::unique_ptr<TBitmap> RotateBitmap(TBitmap* Bitmap, double& X, double& Y, TColor Background, Integer Angle);
