// TPicture and the file-format registry: the graphic class comes from the
// extension, unknown extensions are refused, and the picture owns copies.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Picture.h"

namespace {
std::filesystem::path Scratch(const char* Name) {
  return std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + Name);
}
}  // namespace

TEST(TPicture, LoadFromFilePicksTheClassByExtension) {
  TBitmap Src;
  Src.SetPixelFormat(pf24bit);
  Src.SetSize(3, 2);
  Src.Canvas()->SetPixel(1, 1, clRed);
  for (const char* Name : {"pic.bmp", "PIC.BMP"}) {
    SCOPED_TRACE(Name);
    const auto File = Scratch(Name);
    Src.SaveToFile(File.string());
    TPicture P;
    P.LoadFromFile(File.string());
    std::filesystem::remove(File);
    ASSERT_NE(P.GetGraphic(), nullptr);
    EXPECT_EQ(P.GetGraphic()->ClassName(), "TBitmap");
    EXPECT_EQ(P.Width(), 3);
    EXPECT_EQ(P.Bitmap()->Canvas()->GetPixel(1, 1), clRed);
  }
}

TEST(TPicture, UnknownExtensionIsRefusedAndKeepsThePicture) {
  TPicture P;
  P.Bitmap()->SetSize(4, 4);
  for (const char* Name : {"x.xyz", "noext"}) {
    SCOPED_TRACE(Name);
    try {
      P.LoadFromFile(Scratch(Name).string());
      FAIL() << "no exception";
    } catch (const EInvalidGraphic& E) {
      const std::string Ext = std::string(Name) == "noext" ? "" : "xyz";
      EXPECT_EQ(E.Message(), "Unknown picture file extension (." + Ext + ")");
    }
  }
  EXPECT_EQ(P.Width(), 4);
}

TEST(TPicture, MissingFileRaisesAndKeepsThePicture) {
  TPicture P;
  P.Bitmap()->SetSize(4, 4);
  EXPECT_ANY_THROW(P.LoadFromFile(Scratch("missing.bmp").string()));
  EXPECT_EQ(P.Width(), 4);
}

TEST(TPicture, RegistryFindsClassesByExtensionAndName) {
  EXPECT_EQ(TPicture::FindGraphicClassByExtension("bmp"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension(".BMP"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByName("tbitmap"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension("txt"), nullptr);
  EXPECT_EQ(GraphicExtension(TBitmap::StaticClass()), "bmp");
  EXPECT_EQ(GraphicFilter(TBitmap::StaticClass()), "Bitmaps (*.bmp)|*.bmp");

  // A registered extension is found first; unregistering removes it again.
  TPicture::RegisterFileFormat("dib", "Device Independent Bitmaps", TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension("DIB"), TBitmap::StaticClass());
  EXPECT_EQ(GraphicExtension(TBitmap::StaticClass()), "dib");
  EXPECT_EQ(GraphicFilter(TBitmap::StaticClass()),
            "All (*.dib;*.bmp)|*.dib;*.bmp|Device Independent Bitmaps (*.dib)|*.dib|Bitmaps (*.bmp)|*.bmp");
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension("bmp"), nullptr);
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  EXPECT_THROW(TPicture::RegisterFileFormat("x", "X", TPicture::StaticClass()), EInvalidGraphic);
}

TEST(TPicture, HoldsItsOwnCopyAndForwardsChanges) {
  struct TCounter : TObject {
    int N = 0;
    void Changed(TObject*) { ++N; }
  } Counter;
  TPicture P;
  P.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  TBitmap B;
  B.SetSize(5, 6);
  P.SetGraphic(&B);
  EXPECT_NE(P.GetGraphic(), &B);
  EXPECT_EQ(P.Height(), 6);
  const int AfterSet = Counter.N;
  EXPECT_GE(AfterSet, 1);
  P.Bitmap()->Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_GT(Counter.N, AfterSet);

  TPicture Q;
  Q.Assign(&P);
  EXPECT_EQ(Q.Width(), 5);
  TBitmap Back;
  Back.Assign(&Q);  // a bitmap takes a picture that holds a bitmap
  EXPECT_EQ(Back.GetHeight(), 6);
  Q.Assign(nullptr);
  EXPECT_EQ(Q.GetGraphic(), nullptr);
  EXPECT_EQ(Q.Width(), 0);
}
