// Gradient bands and when a background has something to show.
#include <gtest/gtest.h>

#include "editor/view/ControlBackground.h"
#include "platform/gdi/Gdi.h"

namespace {

struct TBandCase {
  Integer Width, Height;
  TColor Begin, End;
  bool Vertical;
  Integer At;  // the pixel along the gradient's direction
  COLORREF Want;
  const char* Why;
};

}  // namespace

TEST(FillGradient, BandsStepByTheLargestChannelDifference) {
  const TBandCase Cases[] = {
      {10, 300, clBlue, clBlack, true, 0, RGB(0, 0, 255), "the first band is the begin colour"},
      {10, 300, clBlue, clBlack, true, 2, RGB(0, 0, 254), "bands two pixels high: 255 - 1 * 2 * 255 div 300"},
      {10, 300, clBlue, clBlack, true, 151, RGB(0, 0, 128), "band 75: 255 - 75 * 2 * 255 div 300"},
      {10, 300, clBlue, clBlack, true, 299, RGB(0, 0, 2), "the last band inside the area"},
      {100, 4, clRed, clWhite, false, 50, RGB(255, 127, 127), "one-pixel bands left to right"},
      {100, 4, clRed, clWhite, false, 99, RGB(255, 252, 252), "the right edge"},
      {40, 4, clWhite, clBlack, false, 39, RGB(7, 7, 7), "channels step down toward the end colour"},
      {20, 20, clGreen, clGreen, true, 19, RGB(0, 128, 0), "equal colours: one band over everything"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TBitmap B;
    B.SetSize(C.Width, C.Height);
    B.Canvas()->Brush()->SetColor(clYellow);
    FillGradient(B.Canvas(), C.Width, C.Height, C.Begin, C.End, C.Vertical);
    EXPECT_EQ(B.Canvas()->Brush()->GetColor(), clYellow) << "the brush colour comes back";
    const Integer X = C.Vertical ? C.Width / 2 : C.At, Y = C.Vertical ? C.At : C.Height / 2;
    EXPECT_EQ(ColorToRGB(B.Canvas()->GetPixel(X, Y)), C.Want) << "at " << C.At;
  }
}

TEST(FillGradient, AnEmptyAreaIsLeftAlone) {
  TBitmap B;
  B.SetSize(8, 8);
  B.Canvas()->Brush()->SetColor(clYellow);
  B.Canvas()->FillRect({0, 0, 8, 8});
  FillGradient(B.Canvas(), 0, 8, clBlue, clBlack, true);
  FillGradient(B.Canvas(), 8, -1, clBlue, clBlack, false);
  EXPECT_EQ(ColorToRGB(B.Canvas()->GetPixel(4, 4)), ColorToRGB(clYellow));
}

TEST(CeilDiv, RoundsUpTheSecondOverTheFirst) {
  EXPECT_EQ(CeilDiv(10, 30), 3);
  EXPECT_EQ(CeilDiv(10, 31), 4);
  EXPECT_EQ(CeilDiv(7, 1), 1);
  EXPECT_EQ(CeilDiv(7, 0), 0);
}

TEST(TControlBackground, ShowsOnlyWhatItCanDraw) {
  // Without an owner window there is no area, hence nothing to show.
  TControlBackground Bg(nullptr);
  Bg.SetBkgndOption(boVertGradient);
  EXPECT_FALSE(Bg.ShowsBackground());
  EXPECT_EQ(Bg.GetGradientBeginColor(), clBlue);
  EXPECT_EQ(Bg.GetGradientEndColor(), clBlack);
  // Assign copies the picture, the option and both colours.
  TControlBackground Other(nullptr);
  Other.GetBackground()->SetSize(3, 2);
  Other.SetBkgndOption(boTile);
  Other.SetGradientBeginColor(clRed);
  Other.SetGradientEndColor(clWhite);
  Bg.Assign(&Other);
  EXPECT_EQ(Bg.GetBkgndOption(), boTile);
  EXPECT_EQ(Bg.GetBackground()->GetWidth(), 3);
  EXPECT_EQ(Bg.GetGradientBeginColor(), clRed);
  EXPECT_EQ(Bg.GetGradientEndColor(), clWhite);
}
