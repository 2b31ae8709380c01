// The PNG engine's own encoder: chunk order and CRCs as pngcheck and PIL
// read them, colour types, opt-in transparency, pixel size, text chunks
// and the IDAT split.
#include <gtest/gtest.h>
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include "RasterSupport.h"
#include "export/image/PngEngine.h"
#include "export/image/PngPieces.h"

using namespace raster;

namespace {
std::unique_ptr<TgtPNGEngine> MakePng(const std::string& FileName) {
  auto E = std::make_unique<TgtPNGEngine>(nullptr);
  E->SetMeasurementUnit(muPixels);
  E->GetPreferences()->SetShowSetupDialog(false);
  E->GetPreferences()->SetOpenAfterCreate(false);
  E->GetPage()->SetPaperSize(Custom);
  E->GetPage()->SetWidth(120);
  E->GetPage()->SetHeight(60);
  E->GetFont()->SetName("Arial");
  E->GetFont()->SetSize(16);
  E->SetFileName(FileName);
  return E;
}

std::string OnePage(TgtPNGEngine& E) {
  E.BeginDoc();
  E.TextOut(5, 5, u"Ink");
  E.EndDoc();
  return ReadFile(E.GetFileName() + "1.png");
}

std::string Types(const std::vector<TPngChunk>& C) {
  std::string S;
  for (auto& X : C) S += (S.empty() ? "" : " ") + X.Type;
  return S;
}

const TPngChunk* Find(const std::vector<TPngChunk>& C, const char* Type) {
  for (auto& X : C)
    if (X.Type == Type) return &X;
  return nullptr;
}
}  // namespace

TEST(TgtPNGEngine, FilePassesPngcheckWithChunksInOrder) {
  if (!HaveTool("/usr/bin/pngcheck")) GTEST_SKIP() << "pngcheck is not installed";
  const std::string Dir = OutDir("pngcheck");
  auto E = MakePng(Dir + "c");
  E->GetDocInfo()->SetTitle(u"Title <&> \u00e9");
  E->GetPixelDimensions()->Enabled = true;
  const std::string Bytes = OnePage(*E);
  int Status = -1;
  const std::string Out = RunCommand("pngcheck -v '" + Dir + "c1.png' 2>&1", &Status);
  EXPECT_EQ(Status, 0) << Out;
  EXPECT_NE(Out.find("No errors detected"), std::string::npos) << Out;
  // The image data at zlib's level 9.
  EXPECT_NE(Out.find("maximum compression"), std::string::npos) << Out;
  EXPECT_EQ(Types(PngChunks(Bytes)), "IHDR pHYs IDAT zTXt zTXt zTXt zTXt zTXt zTXt IEND");
}

TEST(TgtPNGEngine, ColourTypesDecodeToThePageWithOpaquePixelsByDefault) {
  struct TCase { TgtPNGColorType Type; const char* Mode; int IhdrType; };
  const TCase Cases[] = {
      {ctGrayscale, "L", 0}, {ctRGB, "RGB", 2}, {ctRGBA, "RGBA", 6}, {ctGrayAlpha, "LA", 4}};
  // Size, mode, the darkest text pixel, a margin pixel, and whether any
  // pixel is less than opaque.
  const char* Script = R"(
im = Image.open(sys.argv[1]); im.load()
a = im.getchannel('A') if im.mode in ('RGBA', 'LA') else None
print(im.size[0], im.size[1], im.mode, min(im.convert('L').crop((5, 5, 40, 30)).getdata()) < 100,
      im.convert('L').getpixel((110, 55)), 'transparency' in im.info or (a is not None and min(a.getdata()) < 255))
)";
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Mode);
    const std::string Dir = OutDir("colourtype");
    auto E = MakePng(Dir + "t");
    E->SetColorType(C.Type);
    const std::string Bytes = OnePage(*E);
    const auto Chunks = PngChunks(Bytes);
    ASSERT_FALSE(Chunks.empty());
    EXPECT_EQ(int(Byte(Chunks[0].Data[9])), C.IhdrType);
    EXPECT_EQ(Find(Chunks, "tRNS"), nullptr);
    EXPECT_EQ(Py(Script, Dir + "t1.png"), std::string("120 60 ") + C.Mode + " True 255 False");
  }
}

TEST(TgtPNGEngine, EnabledTransparencyWritesTheColourOrTheAlpha) {
  struct TCase { TgtPNGColorType Type; TColor Trans; Integer Alpha; const char* Trns; const char* Pixel; };
  const TCase Cases[] = {
      {ctRGB, TColor(0xFFFFFF), 0, "00ff00ff00ff", "(255, 255, 255)"},
      {ctRGB, TColor(0x0080FF), 0, "00ff00800000", "(255, 255, 255)"},
      {ctGrayscale, TColor(0x0000FF), 0, "0055", "255"},
      {ctRGBA, TColor(0xFFFFFF), 50, "", "(255, 255, 255, 127)"},
      {ctGrayAlpha, TColor(0xFFFFFF), 100, "", "(255, 255)"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Pixel);
    const std::string Dir = OutDir("transparency");
    auto E = MakePng(Dir + "a");
    E->SetColorType(C.Type);
    E->GetTransparency()->SetEnabled(true);
    E->GetTransparency()->SetTransColor(C.Trans);
    E->GetTransparency()->SetImageAlpha(C.Alpha);
    const auto Chunks = PngChunks(OnePage(*E));
    const TPngChunk* T = Find(Chunks, "tRNS");
    std::string Hex;
    if (T)
      for (char Ch : T->Data) {
        char B[3];
        std::snprintf(B, sizeof B, "%02x", Byte(Ch));
        Hex += B;
      }
    EXPECT_EQ(Hex, C.Trns);
    EXPECT_EQ(Py("print(Image.open(sys.argv[1]).getpixel((110, 55)))", Dir + "a1.png"), C.Pixel);
  }
}

TEST(TgtPNGTransparency, ImageAlphaIsKeptAsAByteAndEnabledFollowsTheMode) {
  TgtPNGTransparency T(1);
  EXPECT_FALSE(T.GetEnabled());
  EXPECT_EQ(T.GetAlphaByte(), 0);
  T.SetImageAlpha(50);
  EXPECT_EQ(T.GetAlphaByte(), 127);
  EXPECT_EQ(T.GetImageAlpha(), 49);
  T.SetImageAlpha(100);
  EXPECT_EQ(T.GetAlphaByte(), 255);
  T.SetEnabled(true);
  T.SetEnabled(false);
  EXPECT_FALSE(T.GetEnabled());
  TgtPNGTransparency Forced(2);
  Forced.SetEnabled(false);
  EXPECT_TRUE(Forced.GetEnabled());
}

TEST(TgtPNGEngine, PixelDimensionsWriteAPhysChunk) {
  const std::string Dir = OutDir("phys");
  auto E = MakePng(Dir + "p");
  E->GetPixelDimensions()->Enabled = true;
  E->GetPixelDimensions()->XPixelsPerUnit = 3780;
  E->GetPixelDimensions()->YPixelsPerUnit = 3780;
  E->GetPixelDimensions()->UnitSpecifier = usMeter;
  const TPngChunk* P = Find(PngChunks(OnePage(*E)), "pHYs");
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Data, std::string("\x00\x00\x0E\xC4\x00\x00\x0E\xC4\x01", 9));
  EXPECT_EQ(Py("print(Image.open(sys.argv[1]).info.get('dpi'))", Dir + "p1.png"), "(96.012, 96.012)");
}

TEST(TgtPNGEngine, DocumentInformationGoesIntoTextChunks) {
  const std::string Dir = OutDir("ztxt");
  auto E = MakePng(Dir + "z");
  E->GetDocInfo()->SetTitle(u"A <title> & \u00e9");
  E->GetDocInfo()->SetAuthor(u"Ann");
  E->GetDocInfo()->SetCreator(u"Maker");
  E->GetDocInfo()->SetSubject(u"");
  E->GetDocInfo()->SetKeywords(u"k1 k2");
  OnePage(*E);
  const char* Script = R"(
im = Image.open(sys.argv[1]); im.load()
t = im.text
print(repr(t['Title']), t['Author'], t['Software'], repr(t['Description']), t['Comment'], 'Copyright' in t)
print(list(t.keys()))
)";
  EXPECT_EQ(Py(Script, Dir + "z1.png"),
            "'A <title> & \u00e9' Ann Maker '' k1 k2 True\n"
            "['Title', 'Author', 'Software', 'Copyright', 'Description', 'Comment']");
}

TEST(gtPNGWriter, ImageDataSplitsIntoChunksOf10240WithARemainder) {
  struct TCase { std::size_t Size; std::vector<unsigned> Want; };
  const TCase Cases[] = {
      {0, {0}}, {100, {100}}, {10240, {10240, 0}}, {20480, {10240, 10240, 0}}, {20481, {10240, 10240, 1}}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Size);
    std::vector<Byte> Data(C.Size, 0xAB);
    TMemoryStream S;
    gtWritePNGImageData(&S, Data.data(), Data.size());
    std::string Bytes(static_cast<const char*>(S.Memory()), std::size_t(S.GetSize()));
    std::vector<unsigned> Lengths;
    for (std::size_t P = 0; P + 12 <= Bytes.size(); P += 12 + BE32(Bytes, P)) {
      EXPECT_EQ(Bytes.substr(P + 4, 4), "IDAT");
      const unsigned Len = BE32(Bytes, P);
      EXPECT_EQ(BE32(Bytes, P + 8 + Len), unsigned(crc32(0, reinterpret_cast<const Bytef*>(Bytes.data() + P + 4), Len + 4)));
      Lengths.push_back(Len);
    }
    EXPECT_EQ(Lengths, C.Want);
  }
}

TEST(TPngImageDataWriter, RowsHandedInPiecesMakeTheChunksOfTheWholeCompressedStream) {
  // Random bytes do not compress: the one size that deflates to exactly two
  // chunks shows the empty last chunk.
  std::vector<Byte> Noise(30000);
  unsigned Seed = 12345;
  for (auto& B : Noise) B = Byte((Seed = Seed * 1103515245u + 12345u) >> 16);
  std::size_t Exact = 0;
  for (std::size_t N = 20300; N < 20480 && !Exact; ++N)
    if (gtDeflate(Noise.data(), N)->GetSize() == 20480) Exact = N;
  ASSERT_NE(Exact, 0u);
  std::vector<Byte> Page(600 * 3 + 1, 0xFF);  // a white row
  for (int Row = 1; Row < 300; ++Row) Page.insert(Page.end(), Page.begin(), Page.begin() + 600 * 3 + 1);
  struct TCase { const Byte* Data; std::size_t Size; const char* Why; };
  const TCase Cases[] = {{nullptr, 0, "nothing"},
                         {Noise.data(), 100, "one short chunk"},
                         {Noise.data(), Exact, "an exact multiple"},
                         {Noise.data(), Noise.size(), "full chunks and a remainder"},
                         {Page.data(), Page.size(), "a white page"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoryStream Whole;
    auto Z = gtDeflate(C.Data, C.Size);
    gtWritePNGImageData(&Whole, static_cast<const Byte*>(Z->Memory()), std::size_t(Z->GetSize()));
    for (std::size_t Piece : {std::size_t(1), std::size_t(1801), std::size_t(65536)}) {
      SCOPED_TRACE(Piece);
      TMemoryStream Streamed;
      TPngImageDataWriter W(&Streamed);
      for (std::size_t P = 0; P < C.Size; P += Piece) W.Write(C.Data + P, std::min(Piece, C.Size - P));
      W.Finish();
      ASSERT_EQ(Streamed.GetSize(), Whole.GetSize());
      EXPECT_EQ(std::memcmp(Streamed.Memory(), Whole.Memory(), std::size_t(Whole.GetSize())), 0);
    }
  }
  TMemoryStream S;
  TPngImageDataWriter W(&S);
  W.Finish();
  EXPECT_THROW(W.Write(Page.data(), 1), EStreamError);
}

TEST(gtPNGWriter, CrcMatchesZlibs) {
  const std::string Samples[] = {"", "IEND", "The quick brown fox", std::string(1000, '\xff')};
  for (const auto& S : Samples)
    EXPECT_EQ(PngCrc(reinterpret_cast<const Byte*>(S.data()), S.size()),
              DWORD(crc32(0, reinterpret_cast<const Bytef*>(S.data()), uInt(S.size()))));
}

TEST(gtPNGWriter, SideImagePngIsTransparentOnlyWhenAsked) {
  TBitmap B;
  B.SetSize(4, 3);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(TRect(0, 0, 4, 3));
  B.Canvas()->SetPixel(1, 1, clRed);
  const std::string Dir = OutDir("sidepng");
  struct TCase { std::optional<TColor> Trans; const char* Want; };
  const TCase Cases[] = {{std::nullopt, "(255, 255, 255, 255) (255, 0, 0, 255)"},
                         {clWhite, "(255, 255, 255, 0) (255, 0, 0, 255)"}};
  for (const auto& C : Cases) {
    auto S = SaveBitmapAsPNG(&B, C.Trans);
    S->SaveToFile(Dir + "s.png");
    EXPECT_EQ(Py("im = Image.open(sys.argv[1]).convert('RGBA'); print(im.getpixel((0, 0)), im.getpixel((1, 1)))",
                 Dir + "s.png"),
              C.Want);
  }
}
