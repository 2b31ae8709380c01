// TJPEGImage: pixels assigned from a bitmap, compressed with the chosen
// options, read back by PIL and by our own decoder; load errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gdi/Picture.h"
#include "platform/gdi/JpegImage.h"
#include "tests/platform/gdi/Dib_TestSupport.h"

namespace {
std::unique_ptr<TBitmap> Halves(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(Rect(0, 0, W / 2, H));
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(W / 2, 0, W, H));
  return B;
}

bool Near(TColor A, TColor B, int Tol) {
  const COLORREF X = ColorToRGB(A), Y = ColorToRGB(B);
  return std::abs(GetRValue(X) - GetRValue(Y)) <= Tol && std::abs(GetGValue(X) - GetGValue(Y)) <= Tol &&
         std::abs(GetBValue(X) - GetBValue(Y)) <= Tol;
}
}  // namespace

TEST(TJPEGImage, RoundTripDecodedByPil) {
  if (!dibtest::HavePil()) GTEST_SKIP() << "PIL not installed";
  struct TCase { int Quality; bool Progressive, Gray; const char* Mode; };
  const TCase Cases[] = {{90, false, false, "RGB"}, {50, true, false, "RGB"}, {100, false, true, "L"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Quality);
    auto Bmp = Halves(32, 16);
    TJPEGImage J;
    J.SetCompressionQuality(C.Quality);
    J.ProgressiveEncoding = C.Progressive;
    J.SetGrayscale(C.Gray);
    J.Assign(Bmp.get());
    const auto File = std::filesystem::temp_directory_path() / ("sx_tjpeg_" + std::to_string(getpid()) + ".jpg");
    J.SaveToFile(File.string());
    const std::string Out = dibtest::RunPython(
        "from PIL import Image\nim=Image.open('" + File.string() +
        "')\nprint(im.size, im.mode, im.info.get('progressive', 0) or im.info.get('progression', 0))\n"
        "p=im.convert('RGB')\nprint(p.getpixel((4,8)), p.getpixel((28,8)))\n");
    std::filesystem::remove(File);
    EXPECT_EQ(Out.substr(0, Out.find('\n')),
              std::string("(32, 16) ") + C.Mode + " " + (C.Progressive ? "1" : "0"));
    if (!C.Gray) {
      int R1, G1, B1, R2, G2, B2;
      ASSERT_EQ(std::sscanf(Out.c_str() + Out.find('\n') + 1, "(%d, %d, %d) (%d, %d, %d)", &R1, &G1, &B1, &R2, &G2, &B2), 6);
      EXPECT_GT(R1, 200);
      EXPECT_LT(B1, 60);
      EXPECT_GT(B2, 200);
      EXPECT_LT(R2, 60);
    }
  }
}

TEST(TJPEGImage, LoadsBackIntoABitmap) {
  auto Bmp = Halves(40, 20);
  TJPEGImage J;
  J.Assign(Bmp.get());
  TMemoryStream S;
  J.SaveToStream(&S);
  S.SetPosition(0);
  TJPEGImage K;
  K.LoadFromStream(&S);
  EXPECT_EQ(K.GetWidth(), 40);
  EXPECT_EQ(K.GetHeight(), 20);
  TBitmap Back;
  Back.Assign(&K);
  EXPECT_TRUE(Near(Back.Canvas()->GetPixel(5, 10), clRed, 40));
  EXPECT_TRUE(Near(Back.Canvas()->GetPixel(35, 10), clBlue, 40));

  K.SetScale(jsHalf);
  EXPECT_EQ(K.GetWidth(), 20);
  EXPECT_EQ(K.Bitmap()->GetWidth(), 20);
  K.SetScale(jsEighth);
  EXPECT_EQ(K.GetHeight(), 3);

  // Drawing goes through the decoded bitmap.
  TBitmap Dst;
  Dst.SetSize(40, 20);
  K.SetScale(jsFullSize);
  Dst.Canvas()->Draw(0, 0, &K);
  EXPECT_TRUE(Near(Dst.Canvas()->GetPixel(35, 10), clBlue, 40));
}

TEST(TJPEGImage, QualityIsClampedAndLowerQualityIsSmaller) {
  TJPEGImage J;
  J.SetCompressionQuality(0);
  EXPECT_EQ(J.GetCompressionQuality(), 1);
  J.SetCompressionQuality(300);
  EXPECT_EQ(J.GetCompressionQuality(), 100);
  auto Bmp = std::make_unique<TBitmap>();
  Bmp->SetPixelFormat(pf24bit);
  Bmp->SetSize(64, 64);
  for (int I = 0; I < 64; I += 3) Bmp->Canvas()->Ellipse(I, I, 64 - I / 2, 64);
  J.Assign(Bmp.get());
  J.SetCompressionQuality(100);
  J.Compress();
  const std::size_t High = J.Data().size();
  J.SetCompressionQuality(10);
  J.Compress();
  EXPECT_LT(J.Data().size(), High);
}

TEST(TJPEGImage, CorruptDataRaisesInvalidGraphic) {
  const Byte Bad[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1};
  TMemoryStream S;
  S.WriteBuffer(Bad, sizeof Bad);
  S.SetPosition(0);
  TJPEGImage J;
  EXPECT_THROW(J.LoadFromStream(&S), EInvalidGraphic);
  EXPECT_TRUE(J.Empty());
  EXPECT_THROW(J.SetWidth(3), EInvalidGraphicOperation);
}

TEST(TJPEGImage, PictureLoadsJpegFilesByExtension) {
  auto Bmp = Halves(8, 8);
  TJPEGImage J;
  J.Assign(Bmp.get());
  const auto File = std::filesystem::temp_directory_path() / ("sx_tjpeg_pic_" + std::to_string(getpid()) + ".JPEG");
  J.SaveToFile(File.string());
  TPicture P;
  P.LoadFromFile(File.string());
  std::filesystem::remove(File);
  ASSERT_NE(P.GetGraphic(), nullptr);
  EXPECT_EQ(P.GetGraphic()->ClassName(), "TJPEGImage");
  EXPECT_EQ(P.Width(), 8);
  EXPECT_EQ(GraphicExtension(TJPEGImage::StaticClass()), "jpg");
}
