// Image lists through their handles, their change links, and the image-list
// data of a form description.
#include "platform/gdi/ImageListHandles.h"

#include <gtest/gtest.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/IconApi.h"
#include "platform/rtl/ObjectText.h"
#include "support/TestFiles.h"

namespace {
// A white 32-bit bitmap selected into a memory DC.
struct TWhiteDc {
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp;
  HGDIOBJ Old;
  TWhiteDc(int W, int H) : Bmp(CreateBitmap(W, H, 1, 32, nullptr)), Old(SelectObject(Dc, Bmp)) {
    const TRect R{0, 0, W, H};
    FillRect(Dc, &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TWhiteDc() {
    SelectObject(Dc, Old);
    DeleteObject(Bmp);
    DeleteDC(Dc);
  }
};

constexpr COLORREF White = RGB(255, 255, 255), Blue = RGB(0, 0, 255), Red = RGB(255, 0, 0);

// tests/fixtures/gdi/imagelist_two_glyphs.txt: two 8 x 8 images made by a
// script, image 0 a blue square from (2, 2) to (6, 6), image 1 a red top
// row, the rest of each masked out.
std::unique_ptr<TImageList> FixtureList() {
  const std::string Text =
      sxtest::ReadFile(std::filesystem::path(SX_SOURCE_DIR) / "tests/fixtures/gdi/imagelist_two_glyphs.txt");
  auto L = std::make_unique<TImageList>(nullptr);
  TextToComponent(Text, L.get());
  return L;
}
}  // namespace

TEST(ImageListData, FormDescriptionGlyphDrawsAtItsPixels) {
  auto L = FixtureList();
  HIMAGELIST H = L->GetHandle();
  ASSERT_EQ(ImageList_GetImageCount(H), 2);
  int Cx = 0, Cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(H, &Cx, &Cy));
  EXPECT_EQ(Cx, 8);
  EXPECT_EQ(Cy, 8);
  TWhiteDc D(40, 20);
  ASSERT_TRUE(ImageList_Draw(H, 0, D.Dc, 10, 5, ILD_TRANSPARENT));
  ASSERT_TRUE(ImageList_Draw(H, 1, D.Dc, 25, 5, ILD_NORMAL));
  struct TProbe {
    int X, Y;
    COLORREF Want;
    const char* Why;
  } Probes[] = {
      {12, 7, Blue, "the square's top-left corner"},     {15, 10, Blue, "its last pixel"},
      {16, 10, White, "right of the square (masked)"},   {11, 6, White, "above-left of it (masked)"},
      {25, 5, Red, "the second glyph's top row"},        {32, 5, Red, "to its end"},
      {25, 6, White, "below it, masked out"},            {33, 5, White, "past the image"},
  };
  for (const auto& P : Probes) {
    SCOPED_TRACE(P.Why);
    EXPECT_EQ(GetPixel(D.Dc, P.X, P.Y), P.Want);
  }
}

TEST(ImageListData, WrittenDataReadsBackImageForImage) {
  auto L = FixtureList();
  const AnsiString Text = ComponentToText(L.get());
  EXPECT_NE(Text.find("Bitmap = {"), AnsiString::npos);
  TImageList Copy(nullptr);
  TextToComponent(Text, &Copy);
  ASSERT_EQ(Copy.Count(), 2);
  for (int I = 0; I < 2; ++I) {
    TWhiteDc A(8, 8), B(8, 8);
    ImageList_Draw(L->GetHandle(), I, A.Dc, 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(Copy.GetHandle(), I, B.Dc, 0, 0, ILD_TRANSPARENT);
    for (int Y = 0; Y < 8; ++Y)
      for (int X = 0; X < 8; ++X) ASSERT_EQ(GetPixel(A.Dc, X, Y), GetPixel(B.Dc, X, Y)) << I << ": " << X << "," << Y;
  }
}

TEST(ImageListData, BrokenDataIsRefused) {
  const AnsiString Bad[] = {
      "object L: TImageList\n  Bitmap = {4142}\nend\n",                                  // short, wrong magic
      "object L: TImageList\n  Bitmap = {494C0101020002000400080008000000000000000000FFFFFFFFFFFFFFFF}\nend\n",
  };
  for (const auto& T : Bad) {
    TImageList L(nullptr);
    EXPECT_THROW(TextToComponent(T, &L), Exception) << T;
  }
}

TEST(ImageListHandles, IconsGoInAndOutAndLinksHearChanges) {
  auto L = FixtureList();
  struct TListener : TObject {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } Listener;
  {
    TChangeLink Link;
    Link.OnChange = TNotifyEvent(&Listener, &TListener::Changed);
    L->RegisterChanges(&Link);
    HICON Icon = ImageList_GetIcon(L->GetHandle(), 0, ILD_NORMAL);
    ASSERT_NE(Icon, nullptr);
    EXPECT_EQ(ImageList_AddIcon(L->GetHandle(), Icon), 2);
    EXPECT_EQ(Listener.Changes, 1);
    DestroyIcon(Icon);
  }  // the link leaves the list with its end
  EXPECT_TRUE(ImageList_Remove(L->GetHandle(), 2));
  EXPECT_EQ(Listener.Changes, 1);
  TWhiteDc D(8, 8);
  HIMAGELIST H = L->GetHandle();
  L.reset();
  EXPECT_FALSE(ImageList_Draw(H, 0, D.Dc, 0, 0, ILD_NORMAL)) << "a freed list's handle is stale";
}

TEST(ImageListHandles, IconRoundTripKeepsGlyphAndMask) {
  auto L = FixtureList();
  HICON Icon = ImageList_GetIcon(L->GetHandle(), 0, ILD_NORMAL);
  ASSERT_EQ(ImageList_ReplaceIcon(L->GetHandle(), 1, Icon), 1);
  DestroyIcon(Icon);
  TWhiteDc D(8, 8);
  ImageList_Draw(L->GetHandle(), 1, D.Dc, 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(GetPixel(D.Dc, 2, 2), Blue);
  EXPECT_EQ(GetPixel(D.Dc, 1, 1), White);
  EXPECT_EQ(GetPixel(D.Dc, 0, 0), White) << "the old glyph is gone";
}
