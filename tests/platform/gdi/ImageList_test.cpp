// TImageList: images cut from strips, masks from a colour or a mask bitmap,
// masked drawing that keeps the background, the disabled (embossed) look,
// blending styles, and index handling.
#include <gtest/gtest.h>

#include "platform/gdi/ImageList.h"

namespace {

// A W x H olive glyph with a red 2x2 square at (1, 1); olive is the
// transparent colour.
std::unique_ptr<TBitmap> Glyph(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clOlive);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(Rect(1, 1, 3, 3));
  return B;
}

std::unique_ptr<TBitmap> Background(int W, int H, TColor C) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(C);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

}  // namespace

TEST(TImageList, MaskedDrawLeavesTheBackgroundWhereTheMaskSays) {
  TImageList L(nullptr, 4, 4);
  auto G = Glyph(4, 4);
  EXPECT_EQ(L.AddMasked(G.get(), clOlive), 0);
  auto Dst = Background(6, 6, clBlue);
  L.Draw(Dst->Canvas(), 1, 1, 0);
  EXPECT_EQ(Dst->Canvas()->GetPixel(2, 2), clRed);
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 3), clRed);
  EXPECT_EQ(Dst->Canvas()->GetPixel(1, 1), clBlue);  // olive was transparent
  EXPECT_EQ(Dst->Canvas()->GetPixel(4, 4), clBlue);
  EXPECT_EQ(Dst->Canvas()->GetPixel(0, 0), clBlue);

  // A mask bitmap: white marks transparent pixels.
  auto Mask = Background(4, 4, clBlack);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 4, 2));
  EXPECT_EQ(L.Add(G.get(), Mask.get()), 1);
  auto Dst2 = Background(4, 4, clBlue);
  L.Draw(Dst2->Canvas(), 0, 0, 1);
  EXPECT_EQ(Dst2->Canvas()->GetPixel(1, 1), clBlue);  // masked out although red
  EXPECT_EQ(Dst2->Canvas()->GetPixel(1, 2), clRed);
  EXPECT_EQ(Dst2->Canvas()->GetPixel(0, 3), clOlive);  // kept: the mask says opaque
}

TEST(TImageList, DisabledDrawIsEmbossedInTheButtonColours) {
  TImageList L(nullptr, 4, 4);
  auto G = Glyph(4, 4);
  L.AddMasked(G.get(), clOlive);
  auto Dst = Background(6, 6, clWhite);
  Dst->Canvas()->Brush()->SetColor(clLime);
  L.Draw(Dst->Canvas(), 0, 0, 0, /*Enabled=*/false);
  const TColor Shadow = TColor(ColorToRGB(clBtnShadow)), Light = TColor(ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Dst->Canvas()->GetPixel(1, 1), Shadow);
  EXPECT_EQ(Dst->Canvas()->GetPixel(2, 2), Shadow);
  EXPECT_EQ(Dst->Canvas()->GetPixel(3, 3), Light);   // the highlight shows one pixel down-right
  EXPECT_EQ(Dst->Canvas()->GetPixel(0, 0), clWhite);  // transparent parts untouched
  EXPECT_EQ(Dst->Canvas()->GetPixel(5, 5), clWhite);
  EXPECT_EQ(Dst->Canvas()->Brush()->GetColor(), clLime);  // the canvas keeps its brush

  auto OnGrey = Background(6, 6, clGray);
  L.Draw(OnGrey->Canvas(), 0, 0, 0, false);
  EXPECT_EQ(OnGrey->Canvas()->GetPixel(3, 3), Light);
  EXPECT_EQ(OnGrey->Canvas()->GetPixel(0, 3), clGray);
}

TEST(TImageList, StripsAreCutIntoImages) {
  TImageList L(nullptr, 4, 4);
  auto Strip = Background(12, 4, clOlive);
  Strip->Canvas()->SetPixel(5, 0, clRed);   // image 1
  Strip->Canvas()->SetPixel(10, 3, clLime); // image 2
  EXPECT_EQ(L.AddMasked(Strip.get(), clOlive), 0);
  EXPECT_EQ(L.Count(), 3);
  TBitmap B;
  ASSERT_TRUE(L.GetBitmap(1, &B));
  EXPECT_EQ(B.GetWidth(), 4);
  EXPECT_EQ(B.Canvas()->GetPixel(1, 0), clRed);
  EXPECT_EQ(B.Canvas()->GetPixel(0, 0), clWhite);  // transparent over a white bitmap
  ASSERT_TRUE(L.GetBitmap(2, &B));
  EXPECT_EQ(B.Canvas()->GetPixel(2, 3), clLime);
  EXPECT_FALSE(L.GetBitmap(3, &B));
}

TEST(TImageList, InsertDeleteReplaceAndMoveKeepOrder) {
  TImageList L(nullptr, 1, 1);
  auto Px = [](TColor C) { return Background(1, 1, C); };
  auto Red = Px(clRed), Green = Px(clGreen), Blue = Px(clBlue), Black = Px(clBlack);
  L.Add(Red.get(), nullptr);
  L.Add(Blue.get(), nullptr);
  L.Insert(1, Green.get(), nullptr);
  auto ColourAt = [&L](int I) {
    TBitmap B;
    L.GetBitmap(I, &B);
    return B.Canvas()->GetPixel(0, 0);
  };
  EXPECT_EQ(ColourAt(0), clRed);
  EXPECT_EQ(ColourAt(1), clGreen);
  EXPECT_EQ(ColourAt(2), clBlue);
  L.Move(0, 2);
  EXPECT_EQ(ColourAt(2), clRed);
  L.Replace(0, Black.get(), nullptr);
  EXPECT_EQ(ColourAt(0), clBlack);
  L.Delete(1);
  EXPECT_EQ(L.Count(), 2);
  EXPECT_EQ(ColourAt(1), clRed);
  EXPECT_THROW(L.Delete(5), EInvalidOperation);
  EXPECT_THROW(L.Insert(7, Red.get(), nullptr), EInvalidOperation);
  EXPECT_THROW(L.Add(nullptr, nullptr), EInvalidOperation);
  L.Delete(-1);
  EXPECT_EQ(L.Count(), 0);
}

TEST(TImageList, DrawingStylesAndImageTypes) {
  TImageList L(nullptr, 4, 4);
  auto G = Glyph(4, 4);
  L.AddMasked(G.get(), clOlive);
  struct TCase { TDrawingStyle Style; TImageType Type; TColor Inside, Outside; const char* Why; };
  const TCase Cases[] = {
      {dsTransparent, itImage, clRed, clBlue, "masked"},
      {dsSelected, itImage, TColor(0x800080), clBlue, "half blended with the blend colour"},
      {dsNormal, itMask, clBlack, clWhite, "the mask itself"},
  };
  L.SetBlendColor(clBlue);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    auto Dst = Background(4, 4, clBlue);
    L.Draw(Dst->Canvas(), 0, 0, 0, C.Style, C.Type);
    EXPECT_EQ(Dst->Canvas()->GetPixel(1, 1), C.Inside);
    EXPECT_EQ(Dst->Canvas()->GetPixel(0, 0), C.Outside);
  }
  // A background colour makes normal drawing opaque.
  L.SetBkColor(clYellow);
  auto Dst = Background(4, 4, clBlue);
  L.Draw(Dst->Canvas(), 0, 0, 0);
  EXPECT_EQ(Dst->Canvas()->GetPixel(0, 0), clYellow);
  EXPECT_EQ(Dst->Canvas()->GetPixel(2, 2), clRed);
}

TEST(TImageList, ChangesNotifyAndResizingEmpties) {
  struct TCounter : TObject {
    int N = 0;
    void Changed(TObject*) { ++N; }
  } Counter;
  TImageList L(nullptr);
  EXPECT_EQ(L.GetWidth(), 16);
  EXPECT_EQ(L.GetHeight(), 16);
  L.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  auto G = Glyph(16, 16);
  L.BeginUpdate();
  L.AddMasked(G.get(), clDefault);  // the top-left pixel's colour
  L.AddMasked(G.get(), clDefault);
  EXPECT_EQ(Counter.N, 0);
  L.EndUpdate();
  EXPECT_EQ(Counter.N, 1);
  L.SetWidth(8);
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(Counter.N, 2);
  EXPECT_THROW(L.SetSize(0, 5), EInvalidOperation);
}
