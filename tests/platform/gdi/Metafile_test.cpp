// TMetafile and TMetafileCanvas: drawing recorded through the canvas plays
// back like the same drawing done directly; sizes, streams (EMF and
// placeable WMF) and bad data.
#include <gtest/gtest.h>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/Metafile.h"

namespace {

void DrawScene(TCanvas* C) {
  C->Brush()->SetColor(clYellow);
  C->FillRect(Rect(0, 0, 60, 40));
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(2);
  C->Brush()->SetColor(clBlue);
  C->Rectangle(5, 5, 30, 25);
  C->Brush()->SetColor(clLime);
  C->Ellipse(32, 4, 56, 36);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(clBlack);
  C->MoveTo(0, 38);
  C->LineTo(60, 30);
}

std::unique_ptr<TBitmap> Blank(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

}  // namespace

TEST(TMetafileCanvas, PlaybackEqualsDirectDrawingWithinTolerance) {
  TMetafile Mf;
  Mf.SetWidth(60);
  Mf.SetHeight(40);
  {
    TMetafileCanvas C(&Mf, nullptr);
    DrawScene(&C);
  }
  ASSERT_FALSE(Mf.Empty());
  EXPECT_EQ(Mf.GetWidth(), 60);
  EXPECT_EQ(Mf.GetHeight(), 40);

  auto Direct = Blank(60, 40), Played = Blank(60, 40);
  DrawScene(Direct->Canvas());
  Played->Canvas()->Draw(0, 0, &Mf);
  // Mapping the frame onto pixels may move an edge by one pixel: every
  // played pixel must match the direct drawing at or next to its place.
  int Far = 0, Diff = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 60; ++X) {
      const TColor P = Played->Canvas()->GetPixel(X, Y);
      if (P == Direct->Canvas()->GetPixel(X, Y)) continue;
      ++Diff;
      bool Near = false;
      for (int Dy = -1; Dy <= 1; ++Dy)
        for (int Dx = -1; Dx <= 1; ++Dx)
          if (X + Dx >= 0 && X + Dx < 60 && Y + Dy >= 0 && Y + Dy < 40 &&
              Direct->Canvas()->GetPixel(X + Dx, Y + Dy) == P)
            Near = true;
      if (!Near) ++Far;
    }
  EXPECT_LE(Far, 3);
  EXPECT_LT(Diff, 60 * 40 / 10);
  EXPECT_EQ(Played->Canvas()->GetPixel(15, 15), clBlue);
  EXPECT_EQ(Played->Canvas()->GetPixel(44, 20), clLime);
  EXPECT_EQ(Played->Canvas()->GetPixel(2, 2), clYellow);
}

TEST(TMetafileCanvas, StretchDrawScalesThePicture) {
  TMetafile Mf;
  Mf.SetWidth(20);
  Mf.SetHeight(20);
  {
    TMetafileCanvas C(&Mf, nullptr, "Sourcelux", "Test page");
    C.Brush()->SetColor(clRed);
    C.FillRect(Rect(0, 0, 10, 20));
  }
  EXPECT_EQ(Mf.GetCreatedBy(), "Sourcelux");
  EXPECT_EQ(Mf.GetDescription(), "Test page");
  auto B = Blank(40, 40);
  B->Canvas()->StretchDraw(Rect(0, 0, 40, 40), &Mf);
  EXPECT_EQ(B->Canvas()->GetPixel(5, 35), clRed);
  EXPECT_EQ(B->Canvas()->GetPixel(35, 5), clWhite);
}

TEST(TMetafileCanvas, UnsizedMetafileTakesTheReferenceArea) {
  TMetafile Mf;
  { TMetafileCanvas C(&Mf, nullptr); }
  EXPECT_EQ(Mf.GetMMWidth(), 27100);  // 1024 pixels at 96 per inch: 271 mm
  EXPECT_EQ(Mf.GetMMHeight(), 20300);
}

TEST(TMetafile, SizesConvertBetweenPixelsAndHundredthsOfAMillimetre) {
  TMetafile Mf;
  Mf.SetMMWidth(2540);
  Mf.SetMMHeight(1270);
  EXPECT_EQ(Mf.GetWidth(), 96);
  EXPECT_EQ(Mf.GetHeight(), 48);
  Mf.SetWidth(200);
  EXPECT_EQ(Mf.GetMMWidth(), 5292);
  EXPECT_TRUE(Mf.Empty());
}

TEST(TMetafile, StreamsRoundTripAsEmfAndPlaceableWmf) {
  TMetafile Mf;
  Mf.SetWidth(50);
  Mf.SetHeight(30);
  {
    TMetafileCanvas C(&Mf, nullptr);
    C.Brush()->SetColor(clNavy);
    C.Rectangle(0, 0, 25, 30);
  }
  for (bool Enhanced : {true, false}) {
    SCOPED_TRACE(Enhanced ? "EMF" : "WMF");
    Mf.SetEnhanced(Enhanced);
    TMemoryStream S;
    Mf.SaveToStream(&S);
    const Byte* P = static_cast<const Byte*>(S.Memory());
    if (Enhanced)
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(P) + 40, 4), " EMF");
    else
      EXPECT_EQ(P[0] | P[1] << 8 | P[2] << 16 | unsigned(P[3]) << 24, 0x9AC6CDD7u);
    S.SetPosition(0);
    TMetafile Back;
    Back.LoadFromStream(&S);
    EXPECT_EQ(Back.GetEnhanced(), Enhanced);
    EXPECT_NEAR(Back.GetWidth(), 50, 1);
    EXPECT_NEAR(Back.GetHeight(), 30, 1);
    auto B = Blank(50, 30);
    B->Canvas()->Draw(0, 0, &Back);
    EXPECT_EQ(B->Canvas()->GetPixel(10, 15), clNavy);
    EXPECT_EQ(B->Canvas()->GetPixel(40, 15), clWhite);
  }
}

TEST(TMetafile, BadDataRaisesAndKeepsThePicture) {
  TMetafile Mf;
  Mf.SetWidth(10);
  Mf.SetHeight(10);
  { TMetafileCanvas C(&Mf, nullptr); C.FillRect(Rect(0, 0, 5, 5)); }
  const HENHMETAFILE Before = Mf.GetHandle();
  const std::vector<std::vector<Byte>> Bad = {
      {},
      {1, 0, 0, 0, 8, 0, 0, 0},
      {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 10, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& Data : Bad) {
    SCOPED_TRACE(Data.size());
    TMemoryStream S;
    if (!Data.empty()) S.WriteBuffer(Data.data(), Integer(Data.size()));
    S.SetPosition(0);
    EXPECT_THROW(Mf.LoadFromStream(&S), EInvalidGraphic);
    EXPECT_EQ(Mf.GetHandle(), Before);
  }
}

TEST(TMetafile, AssignCopiesTheRecording) {
  TMetafile A;
  A.SetWidth(8);
  A.SetHeight(8);
  { TMetafileCanvas C(&A, nullptr); C.Brush()->SetColor(clRed); C.FillRect(Rect(0, 0, 8, 8)); }
  TMetafile B;
  B.Assign(&A);
  EXPECT_NE(B.GetHandle(), A.GetHandle());
  EXPECT_EQ(B.GetMMWidth(), A.GetMMWidth());
  A.Clear();
  auto Bmp = Blank(8, 8);
  Bmp->Canvas()->Draw(0, 0, &B);
  EXPECT_EQ(Bmp->Canvas()->GetPixel(4, 4), clRed);
}
