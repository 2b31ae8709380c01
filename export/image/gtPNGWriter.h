// gtPNGWriter.h — the PNG pieces the engines share: the chunk CRC, chunk
// framing, the IDAT split, bitmap rotation, and the small RGB writer the
// SVG engine uses for its side images. The PNG engine builds its own file
// from the same pieces.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include "export/gtClasses.h"
#include "platform/gdi/Bitmap.h"

// The PNG CRC-32 (polynomial EDB88320, register from FFFFFFFF, final
// complement) over Size bytes.
DWORD gtPNGCrc(const Byte* Data, std::size_t Size);

// Length (big-endian), the 4-byte type and the data, then the CRC of type
// and data.
void gtWritePNGChunk(TStream* Stream, const char* Type, const Byte* Data, DWORD Length);

// The deflated image data as IDAT chunks of 10240 bytes; the last chunk
// holds the remainder, and is empty when the size is an exact multiple.
void gtWritePNGImageData(TStream* Stream, const Byte* Data, std::size_t Size);

// Deflates image data handed over in pieces (level 9, matching runs only)
// straight into IDAT chunks: the same chunks gtWritePNGImageData makes of
// the whole compressed stream, without the raw image or its compressed form
// held in memory. Finish writes the last chunk (empty when the compressed
// size is a multiple of 10240); a writer not finished writes nothing more.
class TgtPNGImageDataWriter {
public:
  explicit TgtPNGImageDataWriter(TStream* Stream);
  ~TgtPNGImageDataWriter();
  TgtPNGImageDataWriter(const TgtPNGImageDataWriter&) = delete;
  TgtPNGImageDataWriter& operator=(const TgtPNGImageDataWriter&) = delete;
  void Write(const Byte* Data, std::size_t Size);
  void Finish();

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

// Calls Row once for each row of the bitmap, top to bottom, with its pixels
// as 0x00RRGGBB values. A 32-bit DIB is read in place; any other bitmap
// through one converted copy.
void gtForEachBitmapRow(TBitmap* Bitmap, const std::function<void(const std::uint32_t* Pixels)>& Row);

// A zlib stream of Data at level 9 (the filters' level index 3), matching
// runs only.
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
