// PngCodec.h — writing and reading PNG images. Writing: chunk framing with
// the PNG CRC, image data deflated straight into IDAT chunks, and whole
// 8-bit RGB pictures. Reading: every standard colour type and bit
// depth, interlaced or not, with their transparency (alpha channels, tRNS
// colour keys and palette alpha). Bad or truncated data raises
// EInvalidGraphic; images above 2^26 pixels are refused rather than
// allocated. Nothing is read outside the bytes given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "platform/gdi/Dib.h"

class TStream;

// --- writing -----------------------------------------------------------------------------

// The PNG CRC-32 (polynomial EDB88320, register from FFFFFFFF, final
// complement) over Size bytes.
std::uint32_t PngCrc(const Byte* Data, std::size_t Size);

// Length (big-endian), the 4-byte type and the data, then the CRC of type
// and data.
void WritePngChunk(TStream* Stream, const char* Type, const Byte* Data, std::uint32_t Length);
// The same for a chunk already laid out as its type followed by its data
// (Size bytes in all): Length as given, the bytes, then their CRC.
void WritePngChunk(TStream* Stream, std::uint32_t Length, const Byte* TypeAndData, std::size_t Size);

// The data size of each IDAT chunk but the last.
inline constexpr std::size_t PngIdatChunkSize = 10240;

// How image data is deflated. Both are zlib level 9; RunLength matches only
// runs of one byte, which on page pictures (long runs of one colour) is
// several times quicker for a file about twice as large. Full searches every
// match, in blocks of 128 KiB deflated on several threads at once, each
// primed with the 32 KiB before it: the size of one level-9 stream in a
// fraction of its time, the same bytes on every machine (bench/png_deflate_bench).
enum class TPngDeflate { RunLength, Full };

// Deflates image data handed over in pieces straight into IDAT chunks of
// PngIdatChunkSize bytes, without the raw image or its compressed form held in memory.
// Finish writes the last chunk (empty when the compressed size is a
// multiple of 10240); a writer not finished writes nothing more.
class TPngImageDataWriter {
public:
  explicit TPngImageDataWriter(TStream* Stream, TPngDeflate Deflate = TPngDeflate::RunLength);
  ~TPngImageDataWriter();
  TPngImageDataWriter(const TPngImageDataWriter&) = delete;
  TPngImageDataWriter& operator=(const TPngImageDataWriter&) = delete;
  void Write(const Byte* Data, std::size_t Size);
  void Finish();

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

// The 8-byte PNG signature.
void WritePngSignature(TStream* Stream);

// A whole PNG of 8-bit RGB, unfiltered rows: signature, IHDR, the chunks
// that Extra writes (nothing when empty), IDAT and IEND. Row(Y) gives row Y
// from the top as Width pixels 0x00RRGGBB.
void WritePngRgb(TStream* Stream, int Width, int Height, const std::function<const std::uint32_t*(int Y)>& Row,
                 const std::function<void(TStream*)>& Extra = {}, TPngDeflate Deflate = TPngDeflate::RunLength);

// --- reading -----------------------------------------------------------------------------

enum class TPngAlpha {
  Keep,       // a 32-bit bitmap whose fourth byte is the (straight) alpha
  OverWhite,  // a 24-bit bitmap, transparency composed over white
};

// The picture as a bottom-up bitmap.
TDib ReadPng(const Byte* Data, std::size_t Size, TPngAlpha Alpha = TPngAlpha::Keep);
inline TDib ReadPng(const std::vector<Byte>& Data, TPngAlpha Alpha = TPngAlpha::Keep) {
  return ReadPng(Data.data(), Data.size(), Alpha);
}

// True when Data starts with the PNG signature.
bool IsPngData(const Byte* Data, std::size_t Size);
