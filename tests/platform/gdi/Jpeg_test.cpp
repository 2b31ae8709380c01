#include "platform/gdi/JpegCodec.h"

#include <cmath>
#include <gtest/gtest.h>

#include "Dib_TestSupport.h"

using namespace dibtest;

namespace {

// Smooth colour gradients: JPEG keeps them within a few levels.
std::vector<std::uint32_t> Gradient(int W, int H) {
  std::vector<std::uint32_t> Px;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      Px.push_back((std::uint32_t(X * 255 / (W - 1)) << 16) | (std::uint32_t(Y * 255 / (H - 1)) << 8) |
                   std::uint32_t(128));
  return Px;
}

// Mean absolute difference over all channels.
double MeanError(const std::vector<std::uint32_t>& A, const std::vector<std::uint32_t>& B) {
  double Sum = 0;
  for (std::size_t I = 0; I < A.size(); ++I)
    for (int Sh : {0, 8, 16}) Sum += std::abs(int((A[I] >> Sh) & 0xFF) - int((B[I] >> Sh) & 0xFF));
  return Sum / (A.size() * 3.0);
}

std::vector<std::uint32_t> Luma(const std::vector<std::uint32_t>& Px) {
  std::vector<std::uint32_t> Out;
  for (std::uint32_t P : Px) {
    const std::uint32_t V =
        (299 * ((P >> 16) & 0xFF) + 587 * ((P >> 8) & 0xFF) + 114 * (P & 0xFF) + 500) / 1000;
    Out.push_back(V << 16 | V << 8 | V);
  }
  return Out;
}

}  // namespace

TEST(JpegCodec, PilDecodesWhatWeCompress) {
  if (!HavePil()) GTEST_SKIP() << "no Python PIL";
  TScratchDir Dir;
  const std::vector<std::uint32_t> Px = Gradient(40, 24);
  struct { TJpegCompressOptions Options; const char* Mode; double MaxError; const char* Why; } Cases[] = {
      {{90, false, false}, "RGB", 3, "baseline colour"},
      {{90, true, false}, "RGB", 3, "progressive colour"},
      {{90, false, true}, "L", 2, "grey"},
      {{5, false, false}, "RGB", 40, "quality 5 still decodes"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Name = Dir.File("ours.jpg");
    WriteFile(Name, JpegCompress(Px.data(), 40, 24, C.Options));
    const TPilImage Img = ReadWithPil(Name);
    EXPECT_EQ(Img.Mode, C.Mode);
    ASSERT_EQ(Img.Pixels.size(), Px.size());
    EXPECT_LT(MeanError(Img.Pixels, C.Options.Grayscale ? Luma(Px) : Px), C.MaxError);
    const std::string Progressive = RunPython(
        "from PIL import Image\nprint(bool(Image.open('" + Name + "').info.get('progressive')))\n");
    EXPECT_EQ(Progressive, C.Options.Progressive ? "True\n" : "False\n");
  }
}

TEST(JpegCodec, HigherQualityIsLargerAndCloser) {
  const std::vector<std::uint32_t> Px = Gradient(64, 64);
  const std::vector<Byte> Low = JpegCompress(Px.data(), 64, 64, {10, false, false});
  const std::vector<Byte> High = JpegCompress(Px.data(), 64, 64, {95, false, false});
  EXPECT_LT(Low.size(), High.size());
  EXPECT_LT(MeanError(DibToBgra32(JpegDecompress(High)), Px),
            MeanError(DibToBgra32(JpegDecompress(Low)), Px));
}

TEST(JpegCodec, DecodesWhatPilCompresses) {
  if (!HavePil()) GTEST_SKIP() << "no Python PIL";
  TScratchDir Dir;
  const std::string Script =
      "from PIL import Image\n"
      "im = Image.new('RGB', (33, 17))\n"
      "im.putdata([(x * 7, y * 15, 200 - x * 3) for y in range(17) for x in range(33)])\n"
      "d = '" + Dir.File("") + "'\n"
      "im.save(d + 'base.jpg', quality=92)\n"
      "im.save(d + 'prog.jpg', quality=92, progressive=True)\n"
      "im.convert('L').save(d + 'grey.jpg', quality=92)\n"
      "im.convert('CMYK').save(d + 'cmyk.jpg', quality=92)\n"
      "print('ok')\n";
  ASSERT_EQ(RunPython(Script), "ok\n");
  struct { const char* Name; Integer Bpp; } Cases[] = {
      {"base.jpg", 24}, {"prog.jpg", 24}, {"grey.jpg", 8}, {"cmyk.jpg", 24}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TDib D = JpegDecompress(ReadFileBytes(Dir.File(C.Name)));
    EXPECT_EQ(D.BitCount(), C.Bpp);
    ASSERT_EQ(D.Width(), 33);
    ASSERT_EQ(D.Height(), 17);
    // PIL's own decoding of the same file is the reference.
    const TPilImage Img = ReadWithPil(Dir.File(C.Name));
    ASSERT_EQ(Img.Pixels.size(), 33u * 17u);
    std::vector<std::uint32_t> Px = DibToBgra32(D);
    for (auto& P : Px) P &= 0xFFFFFF;
    EXPECT_LT(MeanError(Px, Img.Pixels), 1.5);
  }
}

TEST(JpegCodec, CompressesBitmapsOfAnyDepth) {
  const std::vector<std::uint32_t> Px = Gradient(16, 8);
  for (Integer Bpp : {1, 8, 24, 32}) {
    const TDib Src = DibFromBgra32(Px.data(), 16, 8, Bpp);
    const TDib Back = JpegDecompress(JpegCompress(Src, {100, false, false}));
    // Sharp palette edges and chroma subsampling cost a few levels; a wrong
    // conversion costs tens.
    EXPECT_LT(MeanError(DibToBgra32(Back), DibToBgra32(Src)), Bpp <= 8 ? 12 : 4) << Bpp;
  }
}

TEST(JpegCodec, TruncatedOrCorruptDataRaisesInvalidGraphic) {
  const std::vector<std::uint32_t> Px = Gradient(24, 16);
  for (bool Progressive : {false, true}) {
    const std::vector<Byte> Good = JpegCompress(Px.data(), 24, 16, {80, Progressive, false});
    ASSERT_NO_THROW(JpegDecompress(Good));
    // Every prefix short of the end-of-image marker is refused.
    for (std::size_t Len = 0; Len + 2 < Good.size(); ++Len) {
      const std::vector<Byte> Part(Good.begin(), Good.begin() + std::ptrdiff_t(Len));
      EXPECT_THROW(JpegDecompress(Part), EInvalidGraphic) << Len;
    }
  }
  const std::vector<Byte> Good = JpegCompress(Px.data(), 24, 16, {80, false, false});
  // Corrupt one header byte at a time: decoding either raises
  // EInvalidGraphic or yields a bitmap of sane size, never anything else.
  for (std::size_t At = 2; At < 200 && At < Good.size(); ++At) {
    std::vector<Byte> Bad = Good;
    Bad[At] ^= 0xA5;
    try {
      const TDib D = JpegDecompress(Bad);
      EXPECT_LE(std::int64_t(D.Width()) * D.Height(), MaxDibPixels);
    } catch (const EInvalidGraphic&) {
    }
  }
  EXPECT_THROW(JpegDecompress(std::vector<Byte>{'B', 'M', 0, 0}), EInvalidGraphic);
  try {
    JpegDecompress(std::vector<Byte>(Good.begin(), Good.begin() + 100));
    FAIL();
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(std::string(E.what()).rfind("JPEG error #", 0), 0u) << E.what();
  }
}

TEST(JpegCodec, AbsurdSizeInTheHeaderRaisesBeforeDecoding) {
  std::vector<Byte> Data = JpegCompress(Gradient(8, 8).data(), 8, 8, {});
  // Patch the frame header to 65000 × 65000.
  for (std::size_t I = 2; I + 9 < Data.size(); ++I) {
    if (Data[I] == 0xFF && Data[I + 1] == 0xC0) {
      Data[I + 5] = 0xFD;
      Data[I + 6] = 0xE8;
      Data[I + 7] = 0xFD;
      Data[I + 8] = 0xE8;
      break;
    }
  }
  EXPECT_THROW(JpegDecompress(Data), EInvalidGraphic);
}

TEST(JpegCodec, QualityOutsideItsRangeIsRefused) {
  const std::vector<std::uint32_t> Px = Gradient(8, 8);
  EXPECT_THROW(JpegCompress(Px.data(), 8, 8, {0, false, false}), EInvalidGraphicOperation);
  EXPECT_THROW(JpegCompress(Px.data(), 8, 8, {101, false, false}), EInvalidGraphicOperation);
  EXPECT_NO_THROW(JpegCompress(Px.data(), 8, 8, {1, false, false}));
  EXPECT_NO_THROW(JpegCompress(Px.data(), 8, 8, {100, true, true}));
}
