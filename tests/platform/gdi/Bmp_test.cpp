#include "platform/gdi/BmpCodec.h"

#include <cstring>
#include <gtest/gtest.h>

#include "Dib_TestSupport.h"

using namespace dibtest;

namespace {

// A 7×5 picture (odd width exercises row padding) of colours every default
// palette holds, plus black and white stripes for the 1-bit case.
std::vector<std::uint32_t> Pattern(Integer Bpp) {
  const std::uint32_t Rich[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF,
                                0xFF00FF, 0x808080, 0xC0C0C0, 0x000080, 0xFFFFFF, 0x000000};
  std::vector<std::uint32_t> Px;
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X)
      Px.push_back(Bpp == 1 ? (((X + 2 * Y) % 3) ? 0xFFFFFF : 0) : Rich[(X * 3 + Y * 5) % 11]);
  return Px;
}

void ExpectClose(std::uint32_t Got, std::uint32_t Want, int Tolerance, int Index) {
  for (int Sh : {0, 8, 16})
    EXPECT_NEAR(int((Got >> Sh) & 0xFF), int((Want >> Sh) & 0xFF), Tolerance) << "pixel " << Index;
}

}  // namespace

TEST(BmpCodec, WriteThenReadIsExactForEveryDepthAndOrientation) {
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    for (auto O : {TDibOrientation::BottomUp, TDibOrientation::TopDown}) {
      SCOPED_TRACE(testing::Message() << Bpp << " bits, top-down " << (O == TDibOrientation::TopDown));
      const std::vector<std::uint32_t> Px = Pattern(Bpp);
      const TDib D = DibFromBgra32(Px.data(), 7, 5, Bpp, O);
      const std::vector<Byte> File = WriteBmp(D);
      BITMAPFILEHEADER F;
      std::memcpy(&F, File.data(), sizeof F);
      const DWORD FileSize = F.bfSize, OffBits = F.bfOffBits;  // packed: copy out
      EXPECT_EQ(FileSize, File.size());
      EXPECT_EQ(OffBits + D.Bits.size(), File.size());
      const TDib Back = ReadBmp(File);
      EXPECT_EQ(std::memcmp(&Back.Header, &D.Header, sizeof D.Header), 0);
      EXPECT_EQ(Back.Palette, D.Palette);
      EXPECT_EQ(Back.Bits, D.Bits);
    }
  }
}

TEST(BmpCodec, FilesWeWriteReadTheSameInPil) {
  if (!HavePil()) GTEST_SKIP() << "no Python PIL";
  TScratchDir Dir;
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    for (auto O : {TDibOrientation::BottomUp, TDibOrientation::TopDown}) {
      SCOPED_TRACE(testing::Message() << Bpp << " bits, top-down " << (O == TDibOrientation::TopDown));
      const std::vector<std::uint32_t> Px = Pattern(Bpp);
      const std::string Name = Dir.File("w" + std::to_string(Bpp) + ".bmp");
      WriteFile(Name, WriteBmp(DibFromBgra32(Px.data(), 7, 5, Bpp, O)));
      const TPilImage Img = ReadWithPil(Name);
      ASSERT_EQ(Img.Width, 7);
      ASSERT_EQ(Img.Height, 5);
      ASSERT_EQ(Img.Pixels.size(), Px.size());
      for (std::size_t I = 0; I < Px.size(); ++I)
        ExpectClose(Img.Pixels[I], Px[I] & 0xFFFFFF, Bpp == 16 ? 4 : 0, int(I));
    }
  }
}

TEST(BmpCodec, ReadsFilesPilWrites) {
  if (!HavePil()) GTEST_SKIP() << "no Python PIL";
  TScratchDir Dir;
  // PIL writes 1-bit, 8-bit palette and grey, 24-bit and 32-bit files.
  const std::string Script =
      "from PIL import Image\n"
      "im = Image.new('RGB', (9, 4))\n"
      "im.putdata([((x * 37) % 256, (y * 71) % 256, (x * y * 13) % 256) for y in range(4) for x in range(9)])\n"
      "d = '" + Dir.File("") + "'\n"
      "im.save(d + 'rgb.bmp')\n"
      "im.convert('RGBA').save(d + 'rgba.bmp')\n"
      "im.convert('L').save(d + 'l.bmp')\n"
      "im.convert('P', palette=Image.ADAPTIVE, colors=7).save(d + 'p.bmp')\n"
      "im.convert('1').save(d + 'one.bmp')\n"
      "print('ok')\n";
  ASSERT_EQ(RunPython(Script), "ok\n");
  for (const char* N : {"rgb.bmp", "rgba.bmp", "l.bmp", "p.bmp", "one.bmp"}) {
    SCOPED_TRACE(N);
    const TPilImage Img = ReadWithPil(Dir.File(N));
    const TDib D = ReadBmp(ReadFileBytes(Dir.File(N)));
    ASSERT_EQ(D.Width(), 9);
    ASSERT_EQ(D.Height(), 4);
    const std::vector<std::uint32_t> Px = DibToBgra32(D);
    ASSERT_EQ(Px.size(), Img.Pixels.size());
    for (std::size_t I = 0; I < Px.size(); ++I) EXPECT_EQ(Px[I] & 0xFFFFFF, Img.Pixels[I]) << I;
  }
}

TEST(BmpCodec, EveryTruncationRaisesInvalidGraphic) {
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    const std::vector<std::uint32_t> Px = Pattern(Bpp);
    const std::vector<Byte> File = WriteBmp(DibFromBgra32(Px.data(), 7, 5, Bpp));
    for (std::size_t Len = 0; Len < File.size(); ++Len) {
      // A copy of exactly Len bytes, so a sanitizer sees any read past it.
      const std::vector<Byte> Part(File.begin(), File.begin() + std::ptrdiff_t(Len));
      EXPECT_THROW(ReadBmp(Part.data(), Part.size()), EInvalidGraphic) << Bpp << " bits, " << Len;
    }
  }
}

TEST(BmpCodec, CorruptFileHeadersRaiseOrFallBackSoundly) {
  const std::vector<std::uint32_t> Px = Pattern(8);
  const std::vector<Byte> Good = WriteBmp(DibFromBgra32(Px.data(), 7, 5, 8));
  auto Patch = [&](std::size_t At, std::vector<Byte> Bytes) {
    std::vector<Byte> F = Good;
    std::copy(Bytes.begin(), Bytes.end(), F.begin() + std::ptrdiff_t(At));
    return F;
  };
  struct { std::vector<Byte> File; bool Decodes; const char* Why; } Cases[] = {
      {Patch(0, {'B', 'A'}), false, "wrong signature"},
      {Patch(10, {0xFF, 0xFF, 0xFF, 0x7F}), false, "pixel offset past the end"},
      {Patch(10, {0, 0, 0, 0}), true, "pixel offset zero: right after the colour table"},
      {Patch(14, {41, 0, 0, 0}), false, "header size not a known one and past the table"},
      {Patch(14, {20, 0, 0, 0}), false, "header size 20"},
      {Patch(18, {0xA0, 0x86, 0x01, 0x00}), false, "width 100000"},
      {Patch(22, {0x00, 0x00, 0x00, 0x80}), false, "height INT_MIN"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    if (C.Decodes) {
      EXPECT_EQ(DibToBgra32(ReadBmp(C.File)), DibToBgra32(ReadBmp(Good)));
    } else {
      EXPECT_THROW(ReadBmp(C.File), EInvalidGraphic);
    }
  }
}

TEST(BmpCodec, AbsurdSizeRaisesWithoutAllocating) {
  // A 100000 × 100000 24-bit header followed by a few bytes.
  BITMAPFILEHEADER F;
  F.bfType = BitmapFileType;
  F.bfOffBits = 54;
  BITMAPINFOHEADER H;
  H.biSize = 40;
  H.biWidth = 100000;
  H.biHeight = 100000;
  H.biPlanes = 1;
  H.biBitCount = 24;
  std::vector<Byte> File(64);
  std::memcpy(File.data(), &F, 14);
  std::memcpy(File.data() + 14, &H, 40);
  try {
    ReadBmp(File);
    FAIL();
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(std::string(E.what()).find("100000 x 100000"), std::string::npos) << E.what();
  }
}
