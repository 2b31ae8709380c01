// Dib.h — device-independent bitmaps in their published memory layout.
// The header records are byte-exact (they are read from and written into
// files, EMF records and the clipboard as they stand). TDib is one decoded
// bitmap kept in its own format: header, colour table and the pixel rows in
// the header's row order, so a round trip loses nothing. Everything that
// draws converts through 32-bit BGRA (DibToBgra32 / DibFromBgra32).
// Functions taking raw bytes check every field against the byte count and
// raise EInvalidGraphic for anything that does not fit.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Exceptions.h"

// RGBQUAD, DIB_RGB_COLORS and DIB_PAL_COLORS live in GdiTypes.h: the bitmap
// objects use them too.
#pragma pack(push, 1)
struct RGBTRIPLE {
  BYTE rgbtBlue = 0;
  BYTE rgbtGreen = 0;
  BYTE rgbtRed = 0;
};

struct BITMAPFILEHEADER {
  WORD bfType = 0;  // "BM"
  DWORD bfSize = 0;
  WORD bfReserved1 = 0;
  WORD bfReserved2 = 0;
  DWORD bfOffBits = 0;
};

struct BITMAPCOREHEADER {
  DWORD bcSize = 0;
  WORD bcWidth = 0;
  WORD bcHeight = 0;
  WORD bcPlanes = 0;
  WORD bcBitCount = 0;
};

struct BITMAPINFOHEADER {
  DWORD biSize = 0;
  Integer biWidth = 0;
  Integer biHeight = 0;  // negative: rows stored top-down
  WORD biPlanes = 0;
  WORD biBitCount = 0;
  DWORD biCompression = 0;
  DWORD biSizeImage = 0;
  Integer biXPelsPerMeter = 0;
  Integer biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};

struct CIEXYZ {
  Integer ciexyzX = 0, ciexyzY = 0, ciexyzZ = 0;  // 2.30 fixed point
};
struct CIEXYZTRIPLE {
  CIEXYZ ciexyzRed, ciexyzGreen, ciexyzBlue;
};

struct BITMAPV4HEADER {
  DWORD bV4Size = 0;
  Integer bV4Width = 0;
  Integer bV4Height = 0;
  WORD bV4Planes = 0;
  WORD bV4BitCount = 0;
  DWORD bV4V4Compression = 0;
  DWORD bV4SizeImage = 0;
  Integer bV4XPelsPerMeter = 0;
  Integer bV4YPelsPerMeter = 0;
  DWORD bV4ClrUsed = 0;
  DWORD bV4ClrImportant = 0;
  DWORD bV4RedMask = 0;
  DWORD bV4GreenMask = 0;
  DWORD bV4BlueMask = 0;
  DWORD bV4AlphaMask = 0;
  DWORD bV4CSType = 0;
  CIEXYZTRIPLE bV4Endpoints;
  DWORD bV4GammaRed = 0;
  DWORD bV4GammaGreen = 0;
  DWORD bV4GammaBlue = 0;
};

struct BITMAPV5HEADER {
  DWORD bV5Size = 0;
  Integer bV5Width = 0;
  Integer bV5Height = 0;
  WORD bV5Planes = 0;
  WORD bV5BitCount = 0;
  DWORD bV5Compression = 0;
  DWORD bV5SizeImage = 0;
  Integer bV5XPelsPerMeter = 0;
  Integer bV5YPelsPerMeter = 0;
  DWORD bV5ClrUsed = 0;
  DWORD bV5ClrImportant = 0;
  DWORD bV5RedMask = 0;
  DWORD bV5GreenMask = 0;
  DWORD bV5BlueMask = 0;
  DWORD bV5AlphaMask = 0;
  DWORD bV5CSType = 0;
  CIEXYZTRIPLE bV5Endpoints;
  DWORD bV5GammaRed = 0;
  DWORD bV5GammaGreen = 0;
  DWORD bV5GammaBlue = 0;
  DWORD bV5Intent = 0;
  DWORD bV5ProfileData = 0;
  DWORD bV5ProfileSize = 0;
  DWORD bV5Reserved = 0;
};

// The header is followed by the colour table; callers index bmiColors past 1.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
#pragma pack(pop)

static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPCOREHEADER) == 12);
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPV4HEADER) == 108);
static_assert(sizeof(BITMAPV5HEADER) == 124);

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr DWORD BI_JPEG = 4;
constexpr DWORD BI_PNG = 5;
constexpr DWORD BI_ALPHABITFIELDS = 6;

constexpr WORD BitmapFileType = 0x4D42;  // "BM" little-endian

// The largest bitmap we agree to hold: 2^28 pixels (1 GiB at 32 bits), and
// no side longer than 2^20. Bigger requests raise instead of allocating.
constexpr Int64 MaxDibPixels = Int64(1) << 28;
constexpr Integer MaxDibSide = 1 << 20;

// Bytes in one row: rows are padded to a multiple of four bytes.
constexpr Integer DibStride(Integer Width, Integer BitCount) {
  return Integer(((Int64(Width) * BitCount + 31) / 32) * 4);
}

// Raises EInvalidGraphic unless Width × Height × BitCount is a bitmap we can
// hold (positive sides within the limits above, a supported bit depth).
void CheckDibSize(Int64 Width, Int64 Height, Integer BitCount);

enum class TDibOrientation { BottomUp, TopDown };

// One decoded bitmap in its own format. Header.biSize is 40 and
// biCompression is BI_RGB or BI_BITFIELDS (run-length data is expanded on
// reading); Masks hold the channel masks of 16- and 32-bit bitmaps (the
// implicit 5-5-5 and 8-8-8 ones for BI_RGB). Bits hold Height rows of
// Stride() bytes in storage order (bottom row first unless TopDown()).
struct TDib {
  BITMAPINFOHEADER Header;
  std::array<DWORD, 4> Masks{};  // red, green, blue, alpha
  std::vector<RGBQUAD> Palette;
  std::vector<Byte> Bits;

  Integer Width() const { return Header.biWidth; }
  Integer Height() const { return Header.biHeight < 0 ? -Header.biHeight : Header.biHeight; }
  Integer BitCount() const { return Header.biBitCount; }
  bool TopDown() const { return Header.biHeight < 0; }
  Integer Stride() const { return DibStride(Width(), BitCount()); }
  bool Empty() const { return Width() == 0 || Height() == 0; }
  // Row Y counted from the top of the picture, whatever the storage order.
  Byte* ScanLine(Integer Y) { return Bits.data() + std::size_t(StorageRow(Y)) * Stride(); }
  const Byte* ScanLine(Integer Y) const {
    return Bits.data() + std::size_t(StorageRow(Y)) * Stride();
  }

private:
  Integer StorageRow(Integer Y) const { return TopDown() ? Y : Height() - 1 - Y; }
};

// A blank bitmap (all bits zero). Bit counts 1, 4, 8, 16, 24, 32; bitmaps of
// 8 bits or fewer take Palette (padded with black, cut to 2^BitCount), or the
// default palette of the depth when it is empty. 16 bits are 5-5-5.
TDib MakeDib(Integer Width, Integer Height, Integer BitCount,
             TDibOrientation Orientation = TDibOrientation::BottomUp,
             const std::vector<RGBQUAD>& Palette = {});

// The palettes a bitmap of 1, 4 or 8 bits gets when none is given:
// black/white, the 16 VGA colours, and the 20 static system colours around a
// 6×6×6 colour cube and a grey ramp.
std::vector<RGBQUAD> DefaultDibPalette(Integer BitCount);
// The 20 colours of the stock DEFAULT_PALETTE; DIB_PAL_COLORS indices are
// resolved against it when no other logical palette is selected.
const std::vector<RGBQUAD>& DefaultLogicalPalette();

// Pixels as 0xAARRGGBB (B, G, R, A in memory), top row first, Width()
// pixels per row with no padding. Alpha is kept from 32-bit BI_RGB bitmaps
// and from an alpha mask; everything else reads as alpha 0, as GDI does.
// Palette indices past the colour table read as black.
void DibToBgra32(const TDib& Dib, std::uint32_t* Out);
std::vector<std::uint32_t> DibToBgra32(const TDib& Dib);

// The reverse: builds a bitmap of BitCount bits from top-down BGRA pixels.
// Colours map to the nearest palette entry (the default palette when
// Palette is empty) for 8 bits or fewer; 16 bits are 5-5-5 rounded.
TDib DibFromBgra32(const std::uint32_t* Pixels, Integer Width, Integer Height, Integer BitCount,
                   TDibOrientation Orientation = TDibOrientation::BottomUp,
                   const std::vector<RGBQUAD>& Palette = {});

// Index of the palette entry nearest to Color (squared RGB distance; the
// first of equals).
Integer NearestPaletteIndex(const std::vector<RGBQUAD>& Palette, COLORREF Color);

// Decodes a bitmap given as its info block (header, masks, colour table) and
// separate pixel bytes, as EMF records and SetDIBits carry them. Usage
// DIB_PAL_COLORS reads the colour table as 16-bit indices into
// LogicalPalette (the default logical palette when null). Core (12-byte),
// info (40), V2/V3 (52/56), OS/2 (64), V4 (108) and V5 (124) headers;
// BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS, BI_RLE8, BI_RLE4.
TDib DibFromInfo(const Byte* Info, std::size_t InfoSize, const Byte* Bits, std::size_t BitsSize,
                 UINT Usage = DIB_RGB_COLORS,
                 const std::vector<RGBQUAD>* LogicalPalette = nullptr);
// The two steps of DibFromInfo apart, for callers that need the layout
// before the pixels (CreateDIBSection, the DIB transfers): ParseDibInfo
// reads header, masks and colours (Dib.Bits stays empty) and raises like
// DibFromInfo; DecodeDibBits fills Dib.Bits from the stored pixels.
struct TDibInfo {
  TDib Dib;
  DWORD Compression = BI_RGB;  // as stored (BI_RLE8/BI_RLE4 before decoding)
  std::size_t InfoBytes = 0;   // header + masks + colour table
};
TDibInfo ParseDibInfo(const Byte* Info, std::size_t InfoSize, UINT Usage = DIB_RGB_COLORS,
                      const std::vector<RGBQUAD>* LogicalPalette = nullptr);
void DecodeDibBits(TDibInfo& Info, const Byte* Bits, std::size_t BitsSize);

// A packed bitmap: info block and pixels in one run (CF_DIB, icon
// resources). The pixels start right after the colour table.
TDib DibFromPacked(const Byte* Data, std::size_t Size);

// The info block of Dib as DibFromInfo reads it back: a 40-byte header with
// biSizeImage filled in, three masks for BI_BITFIELDS, then the colour table.
std::vector<Byte> DibInfoBytes(const TDib& Dib);
// The info block followed by the pixel rows.
std::vector<Byte> DibToPacked(const TDib& Dib);

// Size in bytes of the info block that starts at Info (header, masks,
// colour table), checked against InfoSize; raises when it does not fit.
std::size_t DibInfoSize(const Byte* Info, std::size_t InfoSize, UINT Usage = DIB_RGB_COLORS);
