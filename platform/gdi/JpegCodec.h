// JpegCodec.h — JPEG (JFIF) compression and decompression through libjpeg.
// The library reports errors by calling back; we catch them with setjmp at
// one level and turn them into EInvalidGraphic ("JPEG error #n: text"), so a
// corrupt or truncated stream never crashes or yields a half image.
#pragma once
#include <cstddef>
#include <vector>
#include "platform/gdi/Dib.h"

struct TJpegCompressOptions {
  Integer Quality = 90;       // 1..100
  bool Progressive = false;
  bool Grayscale = false;     // one luminance channel
};

// Compresses a bitmap of any depth; its colours are read through
// DibToBgra32 (alpha is dropped).
std::vector<Byte> JpegCompress(const TDib& Dib, const TJpegCompressOptions& Options = {});
// Compresses top-down 0xAARRGGBB pixels.
std::vector<Byte> JpegCompress(const std::uint32_t* Pixels, Integer Width, Integer Height,
                               const TJpegCompressOptions& Options = {});

// Decompresses baseline and progressive JPEG: grey images become 8-bit
// bitmaps with a grey palette, colour ones (YCbCr, RGB, CMYK, YCCK) 24-bit,
// both bottom-up.
TDib JpegDecompress(const Byte* Data, std::size_t Size);
inline TDib JpegDecompress(const std::vector<Byte>& Data) {
  return JpegDecompress(Data.data(), Data.size());
}

// True when Data starts with the JPEG start-of-image marker.
bool IsJpegData(const Byte* Data, std::size_t Size);
