// PNG images (the pictures of RTF documents, the images of icons): every
// colour type and depth, written by an outside encoder (PIL), decode to the
// same pixels and alpha, or the same pixels over white.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/gdi/Dib_TestSupport.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "support/TestFiles.h"

namespace {

// The concatenated data of the IDAT chunks of a chunk sequence, with every
// chunk but the last exactly 10240 bytes.
std::string IdatData(TMemoryStream& S) {
  const auto* P = static_cast<const Byte*>(S.Memory());
  const std::size_t N = std::size_t(S.GetSize());
  std::string Data;
  for (std::size_t At = 0; At + 12 <= N;) {
    const std::size_t Len = std::size_t(P[At]) << 24 | std::size_t(P[At + 1]) << 16 | std::size_t(P[At + 2]) << 8 | P[At + 3];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(P + At + 4), 4), "IDAT");
    At += 12 + Len;
    if (At < N) {
      EXPECT_EQ(Len, 10240u);
    }
    Data.append(reinterpret_cast<const char*>(P + At - 4 - Len), Len);
  }
  return Data;
}

}  // namespace

TEST(ReadPng, MatchesAnOutsideEncoderForEveryColourType) {
  if (!dibtest::HavePil()) GTEST_SKIP() << "PIL not available";
  dibtest::TScratchDir Dir;
  // Each case: a 7x5 image with varied pixels; the script prints the
  // colour and alpha of each pixel as "r,g,b,a".
  std::string Script = "from PIL import Image\nd = '";
  Script += Dir.File("");
  Script += R"('
W, H = 7, 5
def px(x, y): return ((x * 37) % 256, (y * 53) % 256, ((x + y) * 29) % 256, (x * 40 + y * 10) % 256)
cases = []
rgba = Image.new('RGBA', (W, H))
for y in range(H):
  for x in range(W): rgba.putpixel((x, y), px(x, y))
def emit(name, img, interlace=False):
  img.save(d + name + '.png', interlace=1 if interlace else 0)
  conv = img.convert('RGBA')
  with open(d + name + '.txt', 'w') as f:
    for y in range(H):
      for x in range(W):
        r, g, b, a = conv.getpixel((x, y))
        f.write('%d,%d,%d,%d\n' % (r, g, b, a))
emit('rgba', rgba)
emit('rgba_interlaced', rgba, True)
emit('rgb', rgba.convert('RGB'))
emit('grey', rgba.convert('L'))
emit('grey_alpha', rgba.convert('LA'))
emit('bilevel', rgba.convert('1'))
emit('palette', rgba.convert('RGB').convert('P', palette=Image.ADAPTIVE, colors=16))
pal = rgba.convert('RGB').convert('P', palette=Image.ADAPTIVE, colors=4)
pal.info['transparency'] = 1
emit('palette_transparent', pal)
print('ok')
)";
  ASSERT_EQ(dibtest::RunPython(Script), "ok\n");
  for (const char* Name : {"rgba", "rgba_interlaced", "rgb", "grey", "grey_alpha", "bilevel", "palette",
                           "palette_transparent"}) {
    SCOPED_TRACE(Name);
    const std::vector<Byte> Png = sxtest::ReadFileBytes(Dir.File(std::string(Name) + ".png"));
    ASSERT_TRUE(IsPngData(Png.data(), Png.size()));
    const TDib Dib = ReadPng(Png);
    const TDib White = ReadPng(Png, TPngAlpha::OverWhite);
    ASSERT_EQ(Dib.BitCount(), 32);
    ASSERT_EQ(White.BitCount(), 24);
    for (const TDib* D : {&Dib, &White}) {
      ASSERT_EQ(D->Width(), 7);
      ASSERT_EQ(D->Height(), 5);
    }
    auto OverWhite = [](int C, int A) { return (C * A + 255 * (255 - A) + 127) / 255; };
    std::ifstream Want(Dir.File(std::string(Name) + ".txt"));
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 7; ++X) {
        int R, G, B, A;
        char C;
        Want >> R >> C >> G >> C >> B >> C >> A;
        const Byte* P = Dib.ScanLine(Y) + X * 4;
        EXPECT_EQ((std::array<int, 4>{P[2], P[1], P[0], P[3]}), (std::array<int, 4>{R, G, B, A}))
            << X << "," << Y;
        const Byte* Q = White.ScanLine(Y) + X * 3;
        EXPECT_EQ((std::array<int, 3>{Q[2], Q[1], Q[0]}),
                  (std::array<int, 3>{OverWhite(R, A), OverWhite(G, A), OverWhite(B, A)}))
            << X << "," << Y;
      }
  }
}

TEST(ReadPng, RefusesBrokenData) {
  const Byte Sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<Byte> HeaderOnly(Sig, Sig + 8);
  // IHDR for a 2^20 x 2^20 image: refused before any allocation.
  const Byte Ihdr[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 16, 0, 0, 0, 16, 0, 0, 8, 2, 0, 0, 0, 0, 0, 0, 0};
  std::vector<Byte> Huge = HeaderOnly;
  Huge.insert(Huge.end(), std::begin(Ihdr), std::end(Ihdr));
  const Byte Small[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 4, 0, 0, 0, 4, 8, 2, 0, 0, 0, 0, 0, 0, 0};
  std::vector<Byte> NoData = HeaderOnly;
  NoData.insert(NoData.end(), std::begin(Small), std::end(Small));
  struct TCase {
    std::vector<Byte> Data;
    const char* Why;
  };
  const TCase Cases[] = {
      {{}, "empty"},
      {{'G', 'I', 'F', '8', '9', 'a', 0, 0}, "not a PNG"},
      {HeaderOnly, "signature only"},
      {Huge, "too many pixels"},
      {NoData, "no image data"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_THROW(ReadPng(C.Data.data(), C.Data.size()), EInvalidGraphic);
    EXPECT_THROW(ReadPng(C.Data.data(), C.Data.size(), TPngAlpha::OverWhite), EInvalidGraphic);
  }
}

// What the writer makes, the reader and pngcheck take back pixel for pixel,
// whichever way the data is deflated; the picture spans several IDAT chunks.
TEST(WritePngRgb, RoundTripsThroughTheReaderAndPngcheck) {
  const int W = 300, H = 200;
  std::vector<std::uint32_t> Px(std::size_t(W) * H);
  std::uint32_t Seed = 12345;
  for (auto& P : Px) {
    Seed = Seed * 1103515245u + 12345u;
    P = (Seed >> 8) & 0xFFFFFF;
  }
  for (TPngDeflate D : {TPngDeflate::RunLength, TPngDeflate::Full}) {
    SCOPED_TRACE(int(D));
    TMemoryStream S;
    int Extra = 0;
    WritePngRgb(
        &S, W, H, [&](int Y) { return Px.data() + std::size_t(Y) * W; },
        [&](TStream* Out) {
          ++Extra;
          const Byte Text[] = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'};
          WritePngChunk(Out, "tEXt", Text, sizeof Text);
        },
        D);
    EXPECT_EQ(Extra, 1);
    const Byte* Data = static_cast<const Byte*>(S.Memory());
    const TDib Dib = ReadPng(Data, std::size_t(S.GetSize()));
    ASSERT_EQ(Dib.Width(), W);
    ASSERT_EQ(Dib.Height(), H);
    const std::vector<std::uint32_t> Back = DibToBgra32(Dib);
    for (std::size_t I = 0; I < Px.size(); ++I) ASSERT_EQ(Back[I] & 0xFFFFFF, Px[I]) << I;
    const std::string File = ::testing::TempDir() + "sx_png_roundtrip.png";
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Data), std::streamsize(S.GetSize()));
    int Status = -1;
    const std::string Out = sxtest::RunCommand("timeout 30 pngcheck -v '" + File + "' 2>&1", &Status);
    if (Out.find("not found") == std::string::npos) {
      EXPECT_EQ(Status, 0) << Out;
      EXPECT_NE(Out.find("chunk tEXt"), std::string::npos) << Out;
    }
    std::remove(File.c_str());
  }
}

// Full deflate works on blocks side by side. Whatever pieces the rows come
// in, the stream is the same and inflates back to the data; and since each
// block sees the data before it, a picture that repeats a few rows all down
// the page (text lines) compresses as well as in one level-9 stream.
TEST(TPngImageDataWriter, FullDeflateMakesOneStreamAsSmallAsASingleOne) {
  const std::size_t Row = 800 * 3 + 1;
  std::vector<std::vector<Byte>> Lines(4, std::vector<Byte>(Row));
  std::uint32_t Seed = 99;
  for (auto& L : Lines)
    for (auto& B : L) B = Byte((Seed = Seed * 1103515245u + 12345u) >> 16);
  std::vector<Byte> Page;
  for (int Y = 0; Y < 400; ++Y) {
    const auto& L = Lines[std::size_t(Y) % Lines.size()];
    if (Y % 3) Page.insert(Page.end(), Row, Byte(0xFF));
    else Page.insert(Page.end(), L.begin(), L.end());
  }
  struct TCase { std::size_t Size; const char* Why; };
  const TCase Cases[] = {{0, "nothing"}, {5000, "less than a block"}, {131072 * 2, "ending on a block boundary"},
                         {Page.size(), "a page of many blocks"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    std::string First;
    for (std::size_t Piece : {std::size_t(1801), std::size_t(65536), std::max<std::size_t>(C.Size, 1)}) {
      SCOPED_TRACE(Piece);
      TMemoryStream S;
      TPngImageDataWriter W(&S, TPngDeflate::Full);
      for (std::size_t P = 0; P < C.Size; P += Piece) W.Write(Page.data() + P, std::min(Piece, C.Size - P));
      W.Finish();
      const std::string Z = IdatData(S);
      if (First.empty()) First = Z;
      EXPECT_EQ(Z, First) << "the stream depends on how the rows were handed over";
    }
    std::vector<Byte> Back(C.Size + 1);
    uLongf BackSize = uLongf(Back.size());
    ASSERT_EQ(uncompress(Back.data(), &BackSize, reinterpret_cast<const Bytef*>(First.data()), uLong(First.size())), Z_OK);
    ASSERT_EQ(BackSize, C.Size);
    EXPECT_EQ(std::memcmp(Back.data(), Page.data(), C.Size), 0);
    std::vector<Byte> Single(compressBound(uLong(C.Size)));
    uLongf SingleSize = uLongf(Single.size());
    ASSERT_EQ(compress2(Single.data(), &SingleSize, Page.data(), uLong(C.Size), 9), Z_OK);
    EXPECT_LE(First.size(), SingleSize + SingleSize / 100 + 64);
  }
}
