#include "platform/gdi/Dib.h"
#include "platform/rtl/ByteOrder.h"

#include <bit>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

[[noreturn]] void Invalid(const std::string& Why) {
  throw EInvalidGraphic("Bitmap image is not valid: " + Why);
}

using ByteOrder::ReadLE16;
using ByteOrder::ReadLE32;

bool ValidBitCount(Integer BitCount) {
  switch (BitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
  }
}

RGBQUAD Quad(Byte R, Byte G, Byte B) { return RGBQUAD{B, G, R, 0}; }

std::uint32_t QuadToPixel(const RGBQUAD& Q) {
  return std::uint32_t(Q.rgbBlue) | (std::uint32_t(Q.rgbGreen) << 8) |
         (std::uint32_t(Q.rgbRed) << 16);
}

// One channel of a bit-field pixel: where it sits and how to widen it to
// eight bits (full scale maps to 255).
struct TChannel {
  int Shift = 0;
  int Bits = 0;
  std::uint32_t Max = 0;
  explicit TChannel(DWORD Mask) {
    if (Mask == 0) return;
    Shift = std::countr_zero(Mask);
    Bits = std::popcount(Mask);
    Max = Bits >= 32 ? 0xFFFFFFFFu : ((1u << Bits) - 1);
  }
  Byte Extract(std::uint32_t V) const {
    if (Bits == 0) return 0;
    const std::uint32_t C = (V >> Shift) & Max;
    if (Bits == 8) return Byte(C);
    if (Bits > 8) return Byte(C >> (Bits - 8));
    return Byte((C * 255 + Max / 2) / Max);
  }
  std::uint32_t Pack(Byte C) const {
    if (Bits == 0) return 0;
    std::uint32_t V;
    if (Bits == 8) V = C;
    else if (Bits > 8) V = std::uint32_t(C) << (Bits - 8);
    else V = (std::uint32_t(C) * Max + 127) / 255;
    return V << Shift;
  }
};

void CheckMasks(const std::array<DWORD, 4>& Masks, Integer BitCount) {
  const DWORD Limit = BitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  for (int I = 0; I < 4; ++I) {
    const DWORD M = Masks[I];
    if (I < 3 && M == 0) Invalid("a colour mask is zero");
    if (M & ~Limit) Invalid("a colour mask lies outside the pixel");
    if (M != 0 && ((M >> std::countr_zero(M)) & ((M >> std::countr_zero(M)) + 1)) != 0)
      Invalid("a colour mask is not one run of bits");
  }
}

std::array<DWORD, 4> DefaultMasks(Integer BitCount) {
  if (BitCount == 16) return {0x7C00, 0x03E0, 0x001F, 0};
  if (BitCount == 32) return {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  return {0, 0, 0, 0};
}

// Expands run-length rows into Dib.Bits (already sized and zeroed; bottom-up).
// Pixels a delta or end-of-line skips stay index 0; runs past the right edge
// are cut; data that stops before the end-of-bitmap code while rows remain
// is truncated.
void DecodeRle(TDib& Dib, const Byte* Src, std::size_t Size, bool Four) {
  const Integer W = Dib.Width(), H = Dib.Height(), Stride = Dib.Stride();
  Integer X = 0, Y = 0;  // Y counts storage rows (bottom-up)
  auto Put = [&](Integer Index) {
    if (X < W && Y < H) {
      Byte* Row = Dib.Bits.data() + std::size_t(Y) * Stride;
      if (Four) {
        Byte& B = Row[X >> 1];
        B = (X & 1) ? Byte((B & 0xF0) | (Index & 0x0F)) : Byte((B & 0x0F) | (Index << 4));
      } else {
        Row[X] = Byte(Index);
      }
    }
    ++X;
  };
  std::size_t P = 0;
  while (true) {
    if (Y >= H) return;  // every row written; the rest is ignored
    if (P + 2 > Size) Invalid("run-length data ends before the end-of-bitmap code");
    const Byte Count = Src[P], Code = Src[P + 1];
    P += 2;
    if (Count > 0) {
      for (Integer I = 0; I < Count; ++I)
        Put(Four ? ((I & 1) ? (Code & 0x0F) : (Code >> 4)) : Code);
      continue;
    }
    switch (Code) {
      case 0:  // end of line
        X = 0;
        ++Y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta
        if (P + 2 > Size) Invalid("run-length delta is cut off");
        X += Src[P];
        Y += Src[P + 1];
        P += 2;
        break;
      default: {  // absolute run of Code pixels, padded to a word
        const std::size_t Bytes = Four ? (std::size_t(Code) + 1) / 2 : Code;
        const std::size_t Padded = (Bytes + 1) & ~std::size_t(1);
        if (P + Bytes > Size) Invalid("run-length absolute run is cut off");
        for (Integer I = 0; I < Code; ++I)
          Put(Four ? ((I & 1) ? (Src[P + I / 2] & 0x0F) : (Src[P + I / 2] >> 4)) : Src[P + I]);
        P += std::min(Padded, Size - P);
        break;
      }
    }
  }
}

TDibInfo ParseInfo(const Byte* Info, std::size_t InfoSize, UINT Usage,
                      const std::vector<RGBQUAD>* LogicalPalette) {
  if (Info == nullptr || InfoSize < 4) Invalid("the header is missing");
  const DWORD HeaderSize = ReadLE32(Info);
  if (HeaderSize > InfoSize) Invalid("the header is cut off");
  TDibInfo R;
  BITMAPINFOHEADER& H = R.Dib.Header;
  Int64 Width, Height;
  Integer BitCount;
  DWORD ClrUsed = 0;
  const bool Core = HeaderSize == sizeof(BITMAPCOREHEADER);
  if (Core) {
    Width = ReadLE16(Info + 4);
    Height = ReadLE16(Info + 6);
    BitCount = ReadLE16(Info + 10);
  } else if (HeaderSize >= sizeof(BITMAPINFOHEADER) && HeaderSize <= 4096) {
    Width = Integer(ReadLE32(Info + 4));
    Height = Integer(ReadLE32(Info + 8));
    BitCount = ReadLE16(Info + 14);
    R.Compression = ReadLE32(Info + 16);
    H.biXPelsPerMeter = Integer(ReadLE32(Info + 24));
    H.biYPelsPerMeter = Integer(ReadLE32(Info + 28));
    ClrUsed = ReadLE32(Info + 32);
    H.biClrImportant = ReadLE32(Info + 36);
  } else {
    Invalid("unknown header size " + std::to_string(HeaderSize));
  }
  if (Width <= 0 || Height == 0 || Height == Int64(INT32_MIN))
    Invalid("size " + std::to_string(Width) + " x " + std::to_string(Height));
  const bool TopDown = Height < 0;
  CheckDibSize(Width, TopDown ? -Height : Height, ValidBitCount(BitCount) ? BitCount : 32);
  switch (R.Compression) {
    case BI_RGB:
      if (!ValidBitCount(BitCount)) Invalid("unsupported bit count " + std::to_string(BitCount));
      break;
    case BI_RLE8:
    case BI_RLE4:
      if (BitCount != (R.Compression == BI_RLE8 ? 8 : 4))
        Invalid("run-length data with bit count " + std::to_string(BitCount));
      if (TopDown) Invalid("run-length data cannot be stored top-down");
      break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
      if (BitCount != 16 && BitCount != 32)
        Invalid("bit fields with bit count " + std::to_string(BitCount));
      break;
    case BI_JPEG:
    case BI_PNG:
      Invalid("embedded JPEG or PNG data is not supported");
    default:
      Invalid("unknown compression " + std::to_string(R.Compression));
  }

  std::size_t Pos = HeaderSize;
  R.Dib.Masks = DefaultMasks(BitCount);
  if (R.Compression == BI_BITFIELDS || R.Compression == BI_ALPHABITFIELDS) {
    const int Count = R.Compression == BI_ALPHABITFIELDS ? 4 : 3;
    if (HeaderSize >= 52) {  // the masks are part of a V2 or later header
      for (int I = 0; I < 3; ++I) R.Dib.Masks[I] = ReadLE32(Info + 40 + 4 * I);
      R.Dib.Masks[3] = HeaderSize >= 56 ? ReadLE32(Info + 52) : 0;
    } else {
      if (Pos + 4 * std::size_t(Count) > InfoSize) Invalid("the colour masks are cut off");
      for (int I = 0; I < Count; ++I) R.Dib.Masks[I] = ReadLE32(Info + Pos + 4 * I);
      Pos += 4 * std::size_t(Count);
    }
    CheckMasks(R.Dib.Masks, BitCount);
  }

  // Colour table: bitmaps of 8 bits or fewer use it; deeper ones may carry
  // one for palette devices, which is skipped.
  std::size_t Entries = ClrUsed;
  if (Entries == 0 && BitCount <= 8) Entries = std::size_t(1) << BitCount;
  if (Core && BitCount > 8) Entries = 0;
  if (Entries > 65536) Invalid("colour table of " + std::to_string(Entries) + " entries");
  const bool PalIndices = Usage == DIB_PAL_COLORS;
  const std::size_t EntrySize = PalIndices ? 2 : (Core ? 3 : 4);
  if (PalIndices && BitCount > 8) Entries = 0;
  if (Entries * EntrySize > InfoSize - Pos) Invalid("the colour table is cut off");
  if (BitCount <= 8) {
    const std::size_t Used = std::min<std::size_t>(Entries, std::size_t(1) << BitCount);
    const std::vector<RGBQUAD>& Logical =
        LogicalPalette ? *LogicalPalette : DefaultLogicalPalette();
    R.Dib.Palette.resize(Used);
    for (std::size_t I = 0; I < Used; ++I) {
      const Byte* E = Info + Pos + I * EntrySize;
      if (PalIndices) {
        const WORD Index = ReadLE16(E);
        R.Dib.Palette[I] = Index < Logical.size() ? Logical[Index] : RGBQUAD{};
      } else {
        R.Dib.Palette[I] = RGBQUAD{E[0], E[1], E[2], 0};
      }
    }
  }
  Pos += Entries * EntrySize;
  R.InfoBytes = Pos;

  H.biSize = sizeof(BITMAPINFOHEADER);
  H.biWidth = Integer(Width);
  H.biHeight = Integer(Height);
  H.biPlanes = 1;
  H.biBitCount = WORD(BitCount);
  H.biCompression =
      (R.Compression == BI_BITFIELDS || R.Compression == BI_ALPHABITFIELDS) ? BI_BITFIELDS : BI_RGB;
  H.biSizeImage = DWORD(Int64(DibStride(H.biWidth, BitCount)) * (TopDown ? -Height : Height));
  H.biClrUsed = BitCount <= 8 && R.Dib.Palette.size() < (std::size_t(1) << BitCount)
                    ? DWORD(R.Dib.Palette.size())
                    : 0;
  if (H.biClrImportant > H.biClrUsed && BitCount <= 8) H.biClrImportant = 0;
  if (BitCount > 8) H.biClrImportant = 0;
  return R;
}

void FinishBits(TDibInfo& R, const Byte* Bits, std::size_t BitsSize) {
  TDib& Dib = R.Dib;
  const std::size_t Need = std::size_t(Dib.Stride()) * Dib.Height();
  if (R.Compression == BI_RLE8 || R.Compression == BI_RLE4) {
    Dib.Bits.assign(Need, 0);
    DecodeRle(Dib, Bits, Bits ? BitsSize : 0, R.Compression == BI_RLE4);
    return;
  }
  if (Bits == nullptr || BitsSize < Need)
    Invalid("pixel data is cut off (" + std::to_string(Bits ? BitsSize : 0) + " of " +
            std::to_string(Need) + " bytes)");
  Dib.Bits.assign(Bits, Bits + Need);
}

// Nearest-colour lookups repeat the same few colours; remember the answers.
class TPaletteMapper {
public:
  explicit TPaletteMapper(const std::vector<RGBQUAD>& Palette) : FPalette(Palette) {}
  Byte Map(std::uint32_t Pixel) {
    const std::uint32_t Key = Pixel & 0x00FFFFFF;
    if (Key == FLastKey) return FLast;
    auto It = FCache.find(Key);
    Byte I;
    if (It != FCache.end()) {
      I = It->second;
    } else {
      I = Byte(NearestPaletteIndex(FPalette, RGB(Byte(Key >> 16), Byte(Key >> 8), Byte(Key))));
      FCache.emplace(Key, I);
    }
    FLastKey = Key;
    FLast = I;
    return I;
  }

private:
  const std::vector<RGBQUAD>& FPalette;
  std::unordered_map<std::uint32_t, Byte> FCache;
  std::uint32_t FLastKey = 0xFFFFFFFF;
  Byte FLast = 0;
};

}  // namespace

void CheckDibSize(Int64 Width, Int64 Height, Integer BitCount) {
  if (!ValidBitCount(BitCount))
    throw EInvalidGraphic("Bitmap image is not valid: unsupported bit count " +
                          std::to_string(BitCount));
  if (Width <= 0 || Height <= 0 || Width > MaxDibSide || Height > MaxDibSide ||
      Width * Height > MaxDibPixels)
    throw EInvalidGraphic("Bitmap image is not valid: size " + std::to_string(Width) + " x " +
                          std::to_string(Height) + " is out of range");
}

std::vector<RGBQUAD> DefaultDibPalette(Integer BitCount) {
  if (BitCount == 1) return {Quad(0, 0, 0), Quad(255, 255, 255)};
  static const RGBQUAD Vga[16] = {
      Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
      Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
      Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
      Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
  if (BitCount == 4) return {std::begin(Vga), std::end(Vga)};
  if (BitCount != 8) return {};
  const std::vector<RGBQUAD>& Sys = DefaultLogicalPalette();
  std::vector<RGBQUAD> P(Sys.begin(), Sys.begin() + 10);
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B) P.push_back(Quad(Byte(R * 51), Byte(G * 51), Byte(B * 51)));
  for (int I = 1; I <= 20; ++I) {  // greys between the cube's steps
    const Byte V = Byte((I * 255 + 10) / 21);
    P.push_back(Quad(V, V, V));
  }
  P.insert(P.end(), Sys.begin() + 10, Sys.end());
  return P;
}

const std::vector<RGBQUAD>& DefaultLogicalPalette() {
  static const std::vector<RGBQUAD> P = {
      Quad(0, 0, 0),       Quad(128, 0, 0),     Quad(0, 128, 0),     Quad(128, 128, 0),
      Quad(0, 0, 128),     Quad(128, 0, 128),   Quad(0, 128, 128),   Quad(192, 192, 192),
      Quad(192, 220, 192), Quad(166, 202, 240), Quad(255, 251, 240), Quad(160, 160, 164),
      Quad(128, 128, 128), Quad(255, 0, 0),     Quad(0, 255, 0),     Quad(255, 255, 0),
      Quad(0, 0, 255),     Quad(255, 0, 255),   Quad(0, 255, 255),   Quad(255, 255, 255)};
  return P;
}

TDib MakeDib(Integer Width, Integer Height, Integer BitCount, TDibOrientation Orientation,
             const std::vector<RGBQUAD>& Palette) {
  CheckDibSize(Width, Height, BitCount);
  TDib D;
  BITMAPINFOHEADER& H = D.Header;
  H.biSize = sizeof(BITMAPINFOHEADER);
  H.biWidth = Width;
  H.biHeight = Orientation == TDibOrientation::TopDown ? -Height : Height;
  H.biPlanes = 1;
  H.biBitCount = WORD(BitCount);
  H.biCompression = BI_RGB;
  H.biSizeImage = DWORD(std::size_t(DibStride(Width, BitCount)) * Height);
  D.Masks = DefaultMasks(BitCount);
  if (BitCount <= 8) {
    const std::size_t Size = std::size_t(1) << BitCount;
    D.Palette = Palette.empty() ? DefaultDibPalette(BitCount) : Palette;
    if (D.Palette.size() > Size) D.Palette.resize(Size);
    H.biClrUsed = D.Palette.size() < Size ? DWORD(D.Palette.size()) : 0;
  }
  D.Bits.assign(H.biSizeImage, 0);
  return D;
}

void DibToBgra32(const TDib& Dib, std::uint32_t* Out) {
  const Integer W = Dib.Width(), H = Dib.Height(), Bpp = Dib.BitCount();
  if (Dib.Empty()) return;
  if (Dib.Bits.size() < std::size_t(Dib.Stride()) * H)
    throw EInvalidGraphic("Bitmap image is not valid: pixel data is cut off");
  std::uint32_t Lut[256] = {};
  if (Bpp <= 8)
    for (std::size_t I = 0; I < Dib.Palette.size() && I < 256; ++I)
      Lut[I] = QuadToPixel(Dib.Palette[I]);
  const bool Fields = Dib.Header.biCompression == BI_BITFIELDS || Bpp == 16;
  const TChannel Cr(Dib.Masks[0]), Cg(Dib.Masks[1]), Cb(Dib.Masks[2]), Ca(Dib.Masks[3]);
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* S = Dib.ScanLine(Y);
    std::uint32_t* D = Out + std::size_t(Y) * W;
    switch (Bpp) {
      case 1:
        for (Integer X = 0; X < W; ++X) D[X] = Lut[(S[X >> 3] >> (7 - (X & 7))) & 1];
        break;
      case 4:
        for (Integer X = 0; X < W; ++X) D[X] = Lut[(X & 1) ? (S[X >> 1] & 0x0F) : (S[X >> 1] >> 4)];
        break;
      case 8:
        for (Integer X = 0; X < W; ++X) D[X] = Lut[S[X]];
        break;
      case 24:
        for (Integer X = 0; X < W; ++X, S += 3)
          D[X] = std::uint32_t(S[0]) | (std::uint32_t(S[1]) << 8) | (std::uint32_t(S[2]) << 16);
        break;
      case 16:
      case 32:
        if (Bpp == 32 && !Fields) {
          std::memcpy(D, S, std::size_t(W) * 4);
          break;
        }
        for (Integer X = 0; X < W; ++X) {
          const std::uint32_t V = Bpp == 16 ? std::uint32_t(ReadLE16(S + 2 * X)) : ReadLE32(S + 4 * X);
          D[X] = std::uint32_t(Cb.Extract(V)) | (std::uint32_t(Cg.Extract(V)) << 8) |
                 (std::uint32_t(Cr.Extract(V)) << 16) | (std::uint32_t(Ca.Extract(V)) << 24);
        }
        break;
    }
  }
}

std::vector<std::uint32_t> DibToBgra32(const TDib& Dib) {
  std::vector<std::uint32_t> Out(std::size_t(Dib.Width()) * Dib.Height());
  DibToBgra32(Dib, Out.data());
  return Out;
}

TDib DibFromBgra32(const std::uint32_t* Pixels, Integer Width, Integer Height, Integer BitCount,
                   TDibOrientation Orientation, const std::vector<RGBQUAD>& Palette) {
  TDib Dib = MakeDib(Width, Height, BitCount, Orientation, Palette);
  TPaletteMapper Mapper(Dib.Palette);
  const TChannel Cr(Dib.Masks[0]), Cg(Dib.Masks[1]), Cb(Dib.Masks[2]);
  for (Integer Y = 0; Y < Height; ++Y) {
    const std::uint32_t* S = Pixels + std::size_t(Y) * Width;
    Byte* D = Dib.ScanLine(Y);
    switch (BitCount) {
      case 1:
        for (Integer X = 0; X < Width; ++X)
          if (Mapper.Map(S[X])) D[X >> 3] |= Byte(0x80 >> (X & 7));
        break;
      case 4:
        for (Integer X = 0; X < Width; ++X)
          D[X >> 1] |= (X & 1) ? Mapper.Map(S[X]) : Byte(Mapper.Map(S[X]) << 4);
        break;
      case 8:
        for (Integer X = 0; X < Width; ++X) D[X] = Mapper.Map(S[X]);
        break;
      case 16:
        for (Integer X = 0; X < Width; ++X) {
          const std::uint32_t P = S[X];
          const std::uint32_t V =
              Cr.Pack(Byte(P >> 16)) | Cg.Pack(Byte(P >> 8)) | Cb.Pack(Byte(P));
          D[2 * X] = Byte(V);
          D[2 * X + 1] = Byte(V >> 8);
        }
        break;
      case 24:
        for (Integer X = 0; X < Width; ++X) {
          D[3 * X] = Byte(S[X]);
          D[3 * X + 1] = Byte(S[X] >> 8);
          D[3 * X + 2] = Byte(S[X] >> 16);
        }
        break;
      case 32:
        std::memcpy(D, S, std::size_t(Width) * 4);
        break;
    }
  }
  return Dib;
}

Integer NearestPaletteIndex(const std::vector<RGBQUAD>& Palette, COLORREF Color) {
  const int R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
  Integer Best = 0;
  int BestDist = INT32_MAX;
  for (std::size_t I = 0; I < Palette.size(); ++I) {
    const int Dr = Palette[I].rgbRed - R, Dg = Palette[I].rgbGreen - G, Db = Palette[I].rgbBlue - B;
    const int Dist = Dr * Dr + Dg * Dg + Db * Db;
    if (Dist < BestDist) {
      BestDist = Dist;
      Best = Integer(I);
      if (Dist == 0) break;
    }
  }
  return Best;
}

std::size_t DibInfoSize(const Byte* Info, std::size_t InfoSize, UINT Usage) {
  return ParseInfo(Info, InfoSize, Usage, nullptr).InfoBytes;
}

TDib DibFromInfo(const Byte* Info, std::size_t InfoSize, const Byte* Bits, std::size_t BitsSize,
                 UINT Usage, const std::vector<RGBQUAD>* LogicalPalette) {
  TDibInfo R = ParseInfo(Info, InfoSize, Usage, LogicalPalette);
  FinishBits(R, Bits, BitsSize);
  return std::move(R.Dib);
}

TDib DibFromPacked(const Byte* Data, std::size_t Size) {
  TDibInfo R = ParseInfo(Data, Size, DIB_RGB_COLORS, nullptr);
  FinishBits(R, Data + R.InfoBytes, Size - R.InfoBytes);
  return std::move(R.Dib);
}

TDibInfo ParseDibInfo(const Byte* Info, std::size_t InfoSize, UINT Usage,
                      const std::vector<RGBQUAD>* LogicalPalette) {
  return ParseInfo(Info, InfoSize, Usage, LogicalPalette);
}

void DecodeDibBits(TDibInfo& Info, const Byte* Bits, std::size_t BitsSize) {
  FinishBits(Info, Bits, BitsSize);
}

std::vector<Byte> DibInfoBytes(const TDib& Dib) {
  BITMAPINFOHEADER H = Dib.Header;
  H.biSize = sizeof(BITMAPINFOHEADER);
  H.biSizeImage = DWORD(std::size_t(Dib.Stride()) * Dib.Height());
  if (Dib.BitCount() <= 8)
    H.biClrUsed = Dib.Palette.size() < (std::size_t(1) << Dib.BitCount()) ? DWORD(Dib.Palette.size()) : 0;
  const std::size_t MaskBytes = H.biCompression == BI_BITFIELDS ? 12 : 0;
  const std::size_t PaletteBytes = Dib.BitCount() <= 8 ? Dib.Palette.size() * sizeof(RGBQUAD) : 0;
  // Sized once and filled in place: growing the vector by inserts trips a GCC 12 -O3 bounds false positive.
  std::vector<Byte> Out(sizeof H + MaskBytes + PaletteBytes);
  std::memcpy(Out.data(), &H, sizeof H);
  if (MaskBytes) std::memcpy(Out.data() + sizeof H, Dib.Masks.data(), MaskBytes);
  if (PaletteBytes) std::memcpy(Out.data() + sizeof H + MaskBytes, Dib.Palette.data(), PaletteBytes);
  return Out;
}

std::vector<Byte> DibToPacked(const TDib& Dib) {
  std::vector<Byte> Out = DibInfoBytes(Dib);
  Out.insert(Out.end(), Dib.Bits.begin(), Dib.Bits.end());
  return Out;
}
