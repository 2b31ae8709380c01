#include "platform/gdi/Dib.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

std::vector<Byte> InfoBlock(Integer W, Integer H, WORD Bpp, DWORD Compression,
                            const std::vector<DWORD>& Tail = {}, DWORD ClrUsed = 0) {
  BITMAPINFOHEADER Hd;
  Hd.biSize = 40;
  Hd.biWidth = W;
  Hd.biHeight = H;
  Hd.biPlanes = 1;
  Hd.biBitCount = Bpp;
  Hd.biCompression = Compression;
  Hd.biClrUsed = ClrUsed;
  std::vector<Byte> Out(40);
  std::memcpy(Out.data(), &Hd, 40);
  for (DWORD D : Tail)
    for (int I = 0; I < 4; ++I) Out.push_back(Byte(D >> (8 * I)));
  return Out;
}

// Palette of N entries, entry i = grey i*16 with red marking the index.
std::vector<DWORD> IndexPalette(int N) {
  std::vector<DWORD> P;
  for (int I = 0; I < N; ++I) P.push_back(DWORD(I) << 16 | 0x0000AA);
  return P;
}

std::vector<int> Indices(const TDib& D, int Y) {
  std::vector<std::uint32_t> Px = DibToBgra32(D);
  std::vector<int> Out;
  for (int X = 0; X < D.Width(); ++X) Out.push_back(int((Px[Y * D.Width() + X] >> 16) & 0xFF));
  return Out;
}

std::vector<Byte> Cut(std::vector<Byte> V, std::size_t N) {
  V.resize(N);
  return V;
}

}  // namespace

TEST(Dib, StrideRoundsRowsUpToFourBytes) {
  struct { Integer W, Bpp, Want; } Cases[] = {
      {1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {7, 4, 4}, {9, 4, 8}, {5, 8, 8},
      {3, 16, 8}, {1, 24, 4}, {3, 24, 12}, {5, 24, 16}, {3, 32, 12},
  };
  for (const auto& C : Cases) EXPECT_EQ(DibStride(C.W, C.Bpp), C.Want) << C.W << "x" << C.Bpp;
}

TEST(Dib, BgraRoundTripKeepsPaletteColoursAtEveryDepth) {
  // Colours that every default palette holds exactly.
  const std::uint32_t Colours[] = {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF,
                                   0x000000, 0xFFFFFF, 0x000000, 0x000000};
  const std::uint32_t Rich[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF,
                                0xFF00FF, 0x808080, 0xC0C0C0, 0x000080};
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    for (auto Orientation : {TDibOrientation::BottomUp, TDibOrientation::TopDown}) {
      SCOPED_TRACE(testing::Message() << Bpp << " bits, top-down " << (Orientation == TDibOrientation::TopDown));
      const std::uint32_t* Src = Bpp == 1 ? Colours : Rich;
      TDib D = DibFromBgra32(Src, 3, 3, Bpp, Orientation);
      EXPECT_EQ(D.TopDown(), Orientation == TDibOrientation::TopDown);
      std::vector<std::uint32_t> Back = DibToBgra32(D);
      for (int I = 0; I < 9; ++I) {
        if (Bpp == 16) {  // 5 bits a channel: within one step
          for (int Sh : {0, 8, 16})
            EXPECT_NEAR(int((Back[I] >> Sh) & 0xFF), int((Src[I] >> Sh) & 0xFF), 4) << I;
        } else {
          EXPECT_EQ(Back[I] & 0xFFFFFF, Src[I]) << I;
        }
      }
      // Row 0 is the top whatever the storage order.
      EXPECT_EQ(D.ScanLine(0) == D.Bits.data(), D.TopDown());
    }
  }
}

TEST(Dib, ColoursOffThePaletteMapToTheNearestEntry) {
  const std::uint32_t Px[] = {0x202020, 0xE0E0E0, 0xF01010};
  TDib Mono = DibFromBgra32(Px, 3, 1, 1);
  EXPECT_EQ(DibToBgra32(Mono), (std::vector<std::uint32_t>{0, 0xFFFFFF, 0}));  // dark red is nearer black
  TDib Vga = DibFromBgra32(Px, 3, 1, 4);
  EXPECT_EQ(DibToBgra32(Vga), (std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0xFF0000}));
}

TEST(Dib, ThirtyTwoBitsKeepAlphaOtherDepthsReadAlphaZero) {
  const std::uint32_t Px[] = {0x80FF0000, 0x00000000};
  EXPECT_EQ(DibToBgra32(DibFromBgra32(Px, 2, 1, 32))[0], 0x80FF0000u);
  EXPECT_EQ(DibToBgra32(DibFromBgra32(Px, 2, 1, 24))[0], 0x00FF0000u);
}

TEST(Dib, BitFieldMasksWidenEachChannelToEightBits) {
  struct { WORD Bpp; DWORD R, G, B, A; DWORD Pixel; std::uint32_t Want; const char* Why; } Cases[] = {
      {16, 0xF800, 0x07E0, 0x001F, 0, 0xF800, 0xFF0000, "5-6-5 full red"},
      {16, 0xF800, 0x07E0, 0x001F, 0, 0x07E0, 0x00FF00, "5-6-5 full green (6 bits)"},
      {16, 0xF800, 0x07E0, 0x001F, 0, 0x0400, 0x008200, "5-6-5 half green"},
      {16, 0x7C00, 0x03E0, 0x001F, 0, 0x001F, 0x0000FF, "5-5-5 blue"},
      {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0, 0x00112233, 0x332211, "swapped red and blue"},
      {32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0, 0x3FF00000, 0xFF0000, "10-10-10 red"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    std::vector<Byte> Info = InfoBlock(1, 1, C.Bpp, BI_BITFIELDS, {C.R, C.G, C.B});
    const Byte Bits[4] = {Byte(C.Pixel), Byte(C.Pixel >> 8), Byte(C.Pixel >> 16), Byte(C.Pixel >> 24)};
    TDib D = DibFromInfo(Info.data(), Info.size(), Bits, 4);
    EXPECT_EQ(DibToBgra32(D)[0] & 0xFFFFFF, C.Want);
  }
}

TEST(Dib, PackedRoundTripIsExact) {
  const std::uint32_t Px[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0, 0x808080};
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    TDib D = DibFromBgra32(Px, 3, 2, Bpp, TDibOrientation::TopDown);
    std::vector<Byte> Packed = DibToPacked(D);
    TDib Back = DibFromPacked(Packed.data(), Packed.size());
    EXPECT_EQ(std::memcmp(&Back.Header, &D.Header, 40), 0) << Bpp;
    EXPECT_EQ(Back.Palette, D.Palette) << Bpp;
    EXPECT_EQ(Back.Bits, D.Bits) << Bpp;
  }
}

TEST(Dib, PalColorsReadIndicesIntoTheLogicalPalette) {
  std::vector<Byte> Info = InfoBlock(2, 1, 1, BI_RGB);
  for (Byte B : {Byte(13), Byte(0), Byte(16), Byte(0)}) Info.push_back(B);  // WORD indices 13, 16
  const Byte Bits[4] = {0x40, 0, 0, 0};  // pixel 0 → entry 0, pixel 1 → entry 1
  TDib D = DibFromInfo(Info.data(), Info.size(), Bits, 4, DIB_PAL_COLORS);
  EXPECT_EQ(DibToBgra32(D), (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));  // red, blue
  const std::vector<RGBQUAD> Own = {RGBQUAD{1, 2, 3, 0}};
  std::vector<Byte> Info2 = InfoBlock(1, 1, 1, BI_RGB, {}, 1);
  Info2.push_back(0);
  Info2.push_back(0);
  TDib D2 = DibFromInfo(Info2.data(), Info2.size(), Bits, 4, DIB_PAL_COLORS, &Own);
  EXPECT_EQ(DibToBgra32(D2)[0], 0x030201u);
}

TEST(Dib, Rle8ExpandsRunsAbsoluteRunsDeltasAndLineEnds) {
  std::vector<Byte> Info = InfoBlock(4, 3, 8, BI_RLE8, IndexPalette(256));
  const std::vector<Byte> Rle = {
      0x04, 0x05, 0x00, 0x00,                    // bottom row: 5 5 5 5
      0x00, 0x03, 0x01, 0x02, 0x03, 0x00,        // absolute 1 2 3 (padded)
      0x01, 0x09, 0x00, 0x00,                    // 9, end of line
      0x01, 0x06, 0x00, 0x02, 0x02, 0x00,        // 6, delta right 2
      0x01, 0x07, 0x00, 0x01};                   // 7, end of bitmap
  TDib D = DibFromInfo(Info.data(), Info.size(), Rle.data(), Rle.size());
  EXPECT_EQ(D.Header.biCompression, BI_RGB);
  EXPECT_EQ(Indices(D, 2), (std::vector<int>{5, 5, 5, 5}));
  EXPECT_EQ(Indices(D, 1), (std::vector<int>{1, 2, 3, 9}));
  EXPECT_EQ(Indices(D, 0), (std::vector<int>{6, 0, 0, 7}));
}

TEST(Dib, Rle4ExpandsAlternatingNibblesAndCutsAtTheRightEdge) {
  std::vector<Byte> Info = InfoBlock(5, 2, 4, BI_RLE4, IndexPalette(16));
  const std::vector<Byte> Rle = {
      0x07, 0x12, 0x00, 0x00,            // 1 2 1 2 1 (two more cut off)
      0x00, 0x03, 0x34, 0x50,            // absolute 3 4 5
      0x02, 0x67, 0x00, 0x01};           // 6 7, end of bitmap
  TDib D = DibFromInfo(Info.data(), Info.size(), Rle.data(), Rle.size());
  EXPECT_EQ(Indices(D, 1), (std::vector<int>{1, 2, 1, 2, 1}));
  EXPECT_EQ(Indices(D, 0), (std::vector<int>{3, 4, 5, 6, 7}));
}

TEST(Dib, MalformedInfoRaisesInvalidGraphic) {
  const Byte Pixels[64] = {};
  struct { std::vector<Byte> Info; std::size_t Bits; const char* Why; } Cases[] = {
      {{40, 0, 0}, 64, "header shorter than its size field"},
      {InfoBlock(2, 2, 24, BI_RGB), 64, "ok"},  // control: must succeed
      {Cut(InfoBlock(2, 2, 24, BI_RGB), 39), 64, "header cut by one byte"},
      {InfoBlock(0, 2, 24, BI_RGB), 64, "zero width"},
      {InfoBlock(-2, 2, 24, BI_RGB), 64, "negative width"},
      {InfoBlock(2, 0, 24, BI_RGB), 64, "zero height"},
      {InfoBlock(2, 2, 7, BI_RGB), 64, "bit count 7"},
      {InfoBlock(2, 2, 24, 9), 64, "unknown compression"},
      {InfoBlock(2, 2, 24, BI_JPEG), 64, "embedded JPEG"},
      {InfoBlock(2, -2, 8, BI_RLE8, IndexPalette(256)), 64, "top-down run-length"},
      {InfoBlock(2, 2, 8, BI_RLE4, IndexPalette(256)), 64, "RLE4 with 8 bits"},
      {InfoBlock(2, 2, 24, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}), 64, "bit fields on 24 bits"},
      {InfoBlock(2, 2, 16, BI_BITFIELDS, {0xF800, 0x07E0}), 64, "masks cut off"},
      {InfoBlock(2, 2, 16, BI_BITFIELDS, {0xF800, 0, 0x1F}), 64, "zero mask"},
      {InfoBlock(2, 2, 16, BI_BITFIELDS, {0xF0F0, 0x0F00, 0x000F}), 64, "mask with a hole"},
      {InfoBlock(2, 2, 16, BI_BITFIELDS, {0xF8000, 0x07E0, 0x001F}), 64, "mask wider than the pixel"},
      {InfoBlock(2, 2, 8, BI_RGB, IndexPalette(255)), 64, "colour table one entry short"},
      {InfoBlock(2, 2, 8, BI_RGB, {}, 70000), 64, "absurd colour count"},
      {InfoBlock(2, 2, 24, BI_RGB), 15, "pixels one byte short"},
      {InfoBlock(100000, 100000, 24, BI_RGB), 64, "100000 x 100000"},
      {InfoBlock(2000000, 1, 1, BI_RGB), 64, "side past the limit"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    auto Decode = [&] { return DibFromInfo(C.Info.data(), C.Info.size(), Pixels, C.Bits); };
    if (std::string(C.Why) == "ok") {
      EXPECT_NO_THROW(Decode());
      continue;
    }
    try {
      Decode();
      ADD_FAILURE() << "decoded";
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(std::string(E.what()).rfind("Bitmap image is not valid: ", 0), 0u) << E.what();
    }
  }
}

TEST(Dib, TruncatedRunLengthDataRaises) {
  std::vector<Byte> Info = InfoBlock(4, 2, 8, BI_RLE8, IndexPalette(256));
  const std::vector<Byte> Full = {0x04, 0x01, 0x00, 0x00, 0x00, 0x04, 1, 2, 3, 4, 0x00, 0x01};
  EXPECT_NO_THROW(DibFromInfo(Info.data(), Info.size(), Full.data(), Full.size()));
  for (std::size_t Len : {0u, 1u, 3u, 4u, 7u, 9u}) {
    SCOPED_TRACE(Len);
    EXPECT_THROW(DibFromInfo(Info.data(), Info.size(), Full.data(), Len), EInvalidGraphic);
  }
  // Deltas and runs that go past the edges are cut, never written outside.
  const std::vector<Byte> Wild = {0x00, 0x02, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x01};
  TDib D = DibFromInfo(Info.data(), Info.size(), Wild.data(), Wild.size());
  EXPECT_EQ(D.Bits, std::vector<Byte>(8, 0));
}

TEST(Dib, ReadsV4AndV5HeadersWithAlphaMask) {
  for (DWORD Size : {108u, 124u}) {
    BITMAPV5HEADER H;
    H.bV5Size = Size;
    H.bV5Width = 1;
    H.bV5Height = 1;
    H.bV5Planes = 1;
    H.bV5BitCount = 32;
    H.bV5Compression = BI_BITFIELDS;
    H.bV5RedMask = 0x0000FF00;
    H.bV5GreenMask = 0x00FF0000;
    H.bV5BlueMask = 0xFF000000;
    H.bV5AlphaMask = 0x000000FF;
    std::vector<Byte> Info(Size);
    std::memcpy(Info.data(), &H, Size);
    const Byte Bits[4] = {0x40, 0x11, 0x22, 0x33};  // A, R, G, B
    TDib D = DibFromInfo(Info.data(), Info.size(), Bits, 4);
    EXPECT_EQ(D.Header.biSize, 40u);
    EXPECT_EQ(DibToBgra32(D)[0], 0x40112233u) << Size;
  }
}

TEST(Dib, CoreHeaderReadsThreeByteColourEntries) {
  const std::vector<Byte> Info = {12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,
                                  0x10, 0x20, 0x30, 0xFF, 0xEE, 0xDD};
  const Byte Bits[4] = {0x40, 0, 0, 0};
  TDib D = DibFromInfo(Info.data(), Info.size(), Bits, 4);
  EXPECT_EQ(DibToBgra32(D), (std::vector<std::uint32_t>{0x302010, 0xDDEEFF}));
}

TEST(Dib, MakeDibRefusesAbsurdSizesBeforeAllocating) {
  EXPECT_THROW(MakeDib(100000, 100000, 32), EInvalidGraphic);
  EXPECT_THROW(MakeDib(0, 5, 32), EInvalidGraphic);
  EXPECT_THROW(MakeDib(5, 5, 2), EInvalidGraphic);
  EXPECT_EQ(MakeDib(3, 2, 8).Palette.size(), 256u);
  EXPECT_EQ(MakeDib(3, 2, 8).Palette[0], (RGBQUAD{0, 0, 0, 0}));
  EXPECT_EQ(MakeDib(3, 2, 8).Palette[255], (RGBQUAD{255, 255, 255, 0}));
}
