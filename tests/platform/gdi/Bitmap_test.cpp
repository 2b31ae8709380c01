// TBitmap: pixel formats and the DIB row layout behind ScanLine, BMP round
// trips through streams (read back by PIL too), resizing, monochrome and
// transparent drawing, copies and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "tests/platform/gdi/Dib_TestSupport.h"

namespace {

// A bitmap whose pixel (x, y) has a colour made from x and y.
std::unique_ptr<TBitmap> Pattern(TPixelFormat Format, int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(Format);
  B->SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      B->Canvas()->SetPixel(X, Y, TColor(RGB(Byte(X * 40), Byte(Y * 60), Byte((X + Y) % 2 ? 255 : 0))));
  return B;
}

}  // namespace

TEST(TBitmap, NewBitmapIsAnEmptyDeviceBitmap) {
  TBitmap B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  EXPECT_EQ(B.GetHandleType(), bmDDB);
  EXPECT_EQ(B.GetHandle(), nullptr);
  B.SetSize(3, 2);
  EXPECT_FALSE(B.Empty());
  EXPECT_EQ(B.Canvas()->GetPixel(2, 1), clWhite);  // new pixels are white
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
}

TEST(TBitmap, ScanLineRowsLieBottomUpInEachPixelFormat) {
  struct TCase { TPixelFormat Format; int Bits; };
  const TCase Cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16},
                         {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Bits);
    TBitmap B;
    B.SetPixelFormat(C.Format);
    B.SetSize(5, 3);
    EXPECT_EQ(B.GetPixelFormat(), C.Format);
    EXPECT_EQ(B.GetHandleType(), bmDIB);
    const auto Stride = std::ptrdiff_t(DibStride(5, C.Bits));
    auto* Row0 = static_cast<Byte*>(B.ScanLine(0));
    auto* Row1 = static_cast<Byte*>(B.ScanLine(1));
    auto* Row2 = static_cast<Byte*>(B.ScanLine(2));
    EXPECT_EQ(Row0 - Row1, Stride);
    EXPECT_EQ(Row1 - Row2, Stride);
    BITMAP Bm;
    ASSERT_EQ(GetObjectA(B.GetHandle(), sizeof Bm, &Bm), int(sizeof Bm));
    EXPECT_EQ(Bm.bmBits, Row2) << "the bottom row comes first in memory";
    EXPECT_EQ(Bm.bmBitsPixel, C.Bits);
  }
  TBitmap B;
  B.SetSize(2, 2);
  EXPECT_THROW(B.ScanLine(2), EInvalidGraphic);
  EXPECT_THROW(B.ScanLine(-1), EInvalidGraphic);
}

TEST(TBitmap, ScanLineBytesAreThePixels) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(3, 2);
  auto* Top = static_cast<Byte*>(B->ScanLine(0));
  Top[3] = 0x11;  // pixel (1, 0): blue, green, red
  Top[4] = 0x22;
  Top[5] = 0x33;
  EXPECT_EQ(B->Canvas()->GetPixel(1, 0), TColor(RGB(0x33, 0x22, 0x11)));
  B->Canvas()->SetPixel(2, 1, clRed);
  auto* Bottom = static_cast<Byte*>(B->ScanLine(1));
  EXPECT_EQ(Bottom[6], 0);
  EXPECT_EQ(Bottom[8], 0xFF);

  // pf16bit is 5-6-5, pf15bit 5-5-5.
  TBitmap S16, S15;
  S16.SetPixelFormat(pf16bit);
  S16.SetSize(1, 1);
  S16.Canvas()->SetPixel(0, 0, clLime);
  Word V;
  std::memcpy(&V, S16.ScanLine(0), 2);
  EXPECT_EQ(V, 0x07E0);
  S15.SetPixelFormat(pf15bit);
  S15.SetSize(1, 1);
  S15.Canvas()->SetPixel(0, 0, clLime);
  std::memcpy(&V, S15.ScanLine(0), 2);
  EXPECT_EQ(V, 0x03E0);
}

TEST(TBitmap, ScanLineTurnsADeviceBitmapIntoADib) {
  TBitmap B;
  B.SetSize(4, 4);
  B.Canvas()->SetPixel(1, 1, clBlue);
  ASSERT_EQ(B.GetHandleType(), bmDDB);
  B.ScanLine(0);
  EXPECT_EQ(B.GetHandleType(), bmDIB);
  EXPECT_EQ(B.GetPixelFormat(), pf32bit);
  EXPECT_EQ(B.Canvas()->GetPixel(1, 1), clBlue);
}

TEST(TBitmap, PixelFormatConversionKeepsColoursItCanHold) {
  struct TCase { TPixelFormat Format; bool Exact; };
  const TCase Cases[] = {{pf32bit, true}, {pf24bit, true}, {pfDevice, true}, {pf16bit, false}, {pf8bit, false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Format));
    auto B = Pattern(pf24bit, 6, 4);
    B->Canvas()->SetPixel(0, 0, clRed);
    B->Canvas()->SetPixel(1, 0, clWhite);
    B->SetPixelFormat(C.Format);
    EXPECT_EQ(B->GetPixelFormat(), C.Format);
    EXPECT_EQ(B->Canvas()->GetPixel(0, 0), clRed);  // pure colours survive every depth
    EXPECT_EQ(B->Canvas()->GetPixel(1, 0), clWhite);
    if (C.Exact) {
      auto Ref = Pattern(pf24bit, 6, 4);
      EXPECT_EQ(B->Canvas()->GetPixel(4, 3), Ref->Canvas()->GetPixel(4, 3));
    }
  }
  TBitmap B;
  EXPECT_THROW(B.SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(TBitmap, BmpRoundTripThroughAStream) {
  for (TPixelFormat F : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(int(F));
    auto A = Pattern(F, 7, 5);
    TMemoryStream S;
    A->SaveToStream(&S);
    S.SetPosition(0);
    TBitmap B;
    B.LoadFromStream(&S);
    EXPECT_EQ(B.GetWidth(), 7);
    EXPECT_EQ(B.GetHeight(), 5);
    EXPECT_EQ(B.GetPixelFormat(), F);
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 7; ++X) ASSERT_EQ(B.Canvas()->GetPixel(X, Y), A->Canvas()->GetPixel(X, Y)) << X << "," << Y;
  }
}

TEST(TBitmap, SavedFileReadsBackInPil) {
  if (!dibtest::HavePil()) GTEST_SKIP() << "PIL not installed";
  auto A = Pattern(pf24bit, 9, 4);
  const auto File = std::filesystem::temp_directory_path() / ("sx_tbitmap_" + std::to_string(getpid()) + ".bmp");
  A->SaveToFile(File.string());
  const std::string Out = dibtest::RunPython("from PIL import Image\nim=Image.open('" + File.string() +
                                             "').convert('RGB')\nprint(im.size, im.getpixel((3,2)))\n");
  std::filesystem::remove(File);
  const COLORREF P = ColorToRGB(A->Canvas()->GetPixel(3, 2));
  EXPECT_EQ(Out, "(9, 4) (" + std::to_string(GetRValue(P)) + ", " + std::to_string(GetGValue(P)) + ", " +
                     std::to_string(GetBValue(P)) + ")\n");
}

TEST(TBitmap, ResizingKeepsTheOverlapAndFillsWhite) {
  auto B = Pattern(pf24bit, 4, 4);
  const TColor Kept = B->Canvas()->GetPixel(2, 3);
  B->SetSize(6, 5);
  EXPECT_EQ(B->Canvas()->GetPixel(2, 3), Kept);
  EXPECT_EQ(B->Canvas()->GetPixel(5, 4), clWhite);
  EXPECT_EQ(B->Canvas()->GetPixel(4, 0), clWhite);
  B->SetHeight(2);
  EXPECT_EQ(B->GetHeight(), 2);
  EXPECT_EQ(B->GetPixelFormat(), pf24bit);
  B->SetWidth(0);
  EXPECT_TRUE(B->Empty());
  EXPECT_EQ(B->GetPixelFormat(), pf24bit);  // an emptied bitmap remembers its format
}

TEST(TBitmap, AbsurdSizesRaiseAndLeaveTheBitmapAsItWas) {
  TBitmap B;
  B.SetSize(2, 2);
  EXPECT_ANY_THROW(B.SetSize(1 << 21, 10));
  EXPECT_ANY_THROW(B.SetSize(100000, 100000));
  EXPECT_EQ(B.GetWidth(), 2);
  EXPECT_EQ(B.GetHeight(), 2);
  B.SetSize(-5, 3);  // negative sizes count as none
  EXPECT_TRUE(B.Empty());
}

TEST(TBitmap, CorruptStreamRaisesInvalidGraphic) {
  const Byte Bad[] = {'B', 'M', 0x40, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
  TMemoryStream S;
  S.WriteBuffer(Bad, sizeof Bad);
  S.SetPosition(0);
  auto B = Pattern(pf24bit, 2, 2);
  EXPECT_THROW(B->LoadFromStream(&S), EInvalidGraphic);
  EXPECT_EQ(B->GetWidth(), 2);
}

TEST(TBitmap, MonochromeIsABlackAndWhiteDeviceBitmap) {
  TBitmap B;
  B.SetSize(4, 2);
  B.Canvas()->SetPixel(0, 0, clBlack);
  B.Canvas()->SetPixel(1, 0, clYellow);
  B.SetMonochrome(true);
  EXPECT_TRUE(B.GetMonochrome());
  EXPECT_EQ(B.GetHandleType(), bmDDB);
  BITMAP Bm;
  GetObjectA(B.GetHandle(), sizeof Bm, &Bm);
  EXPECT_EQ(Bm.bmBitsPixel, 1);
  EXPECT_EQ(B.Canvas()->GetPixel(0, 0), clBlack);
  EXPECT_EQ(B.Canvas()->GetPixel(2, 1), clWhite);
  EXPECT_EQ(B.GetTransparentColor(), clWhite);
}

TEST(TBitmap, TransparentDrawLeavesTheTransparentColourOut) {
  // Olive background (its bottom-left pixel) with a red square inside.
  TBitmap Glyph;
  Glyph.SetPixelFormat(pf24bit);
  Glyph.SetSize(6, 6);
  Glyph.Canvas()->Brush()->SetColor(clOlive);
  Glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
  Glyph.Canvas()->Brush()->SetColor(clRed);
  Glyph.Canvas()->FillRect(Rect(2, 2, 4, 4));
  EXPECT_EQ(Glyph.GetTransparentMode(), tmAuto);
  EXPECT_EQ(Glyph.GetTransparentColor(), clOlive);
  Glyph.SetTransparent(true);

  TBitmap Dst;
  Dst.SetPixelFormat(pf24bit);
  Dst.SetSize(12, 12);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(Rect(0, 0, 12, 12));
  Dst.Canvas()->StretchDraw(Rect(0, 0, 12, 12), &Glyph);
  EXPECT_EQ(Dst.Canvas()->GetPixel(0, 0), clBlue);
  EXPECT_EQ(Dst.Canvas()->GetPixel(3, 11), clBlue);
  EXPECT_EQ(Dst.Canvas()->GetPixel(5, 5), clRed);
  EXPECT_EQ(Dst.Canvas()->GetPixel(7, 6), clRed);

  // The mask is white where the picture is transparent.
  HDC MaskDc = CreateCompatibleDC(nullptr);
  SelectObject(MaskDc, Glyph.GetMaskHandle());
  EXPECT_EQ(GetPixel(MaskDc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(MaskDc, 2, 2), RGB(0, 0, 0));
  DeleteDC(MaskDc);

  // A fixed colour replaces the automatic one.
  Glyph.SetTransparentColor(clRed);
  EXPECT_EQ(Glyph.GetTransparentMode(), tmFixed);
  Dst.Canvas()->Draw(0, 0, &Glyph);
  EXPECT_EQ(Dst.Canvas()->GetPixel(0, 0), clOlive);
  EXPECT_EQ(Dst.Canvas()->GetPixel(2, 2), clBlue);
  Glyph.SetTransparentMode(tmAuto);
  EXPECT_EQ(Glyph.GetTransparentColor(), clOlive);
}

TEST(TBitmap, OpaqueDrawUsesTheCopyMode) {
  auto Src = Pattern(pf24bit, 3, 3);
  TBitmap Dst;
  Dst.SetSize(3, 3);
  Dst.Canvas()->Draw(0, 0, Src.get());
  EXPECT_EQ(Dst.Canvas()->GetPixel(2, 1), Src->Canvas()->GetPixel(2, 1));
  Dst.Canvas()->CopyMode = cmSrcInvert;
  Dst.Canvas()->Draw(0, 0, Src.get());  // x ^ x = 0
  EXPECT_EQ(Dst.Canvas()->GetPixel(2, 1), clBlack);
}

TEST(TBitmap, AssignMakesAnIndependentCopy) {
  auto A = Pattern(pf8bit, 5, 4);
  A->SetTransparentColor(clLime);
  TBitmap B;
  B.Assign(A.get());
  EXPECT_EQ(B.GetPixelFormat(), pf8bit);
  EXPECT_EQ(B.GetTransparentColor(), clLime);
  EXPECT_NE(B.GetHandle(), A->GetHandle());
  EXPECT_EQ(B.Canvas()->GetPixel(4, 3), A->Canvas()->GetPixel(4, 3));
  A->Canvas()->SetPixel(4, 3, clRed);
  EXPECT_NE(B.Canvas()->GetPixel(4, 3), clRed);
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
}

TEST(TBitmap, HandlesComeAndGo) {
  {
    TBitmap B;
    B.SetSize(8, 8);
    B.Canvas()->Rectangle(0, 0, 4, 4);
    B.SetTransparent(true);
    B.GetMaskHandle();
    HBITMAP H = B.ReleaseHandle();
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(GetObjectType(H), DWORD(OBJ_BITMAP));
    TBitmap C;
    C.SetHandle(H);  // takes it over
    EXPECT_EQ(C.GetWidth(), 8);
    EXPECT_EQ(C.GetHandleType(), bmDDB);
  }
  // Stock objects made on first use stay; everything else goes.
  const std::size_t After = GdiObjectCount();
  {
    TBitmap B;
    B.SetSize(8, 8);
    B.Canvas()->Rectangle(0, 0, 4, 4);
    B.SetTransparent(true);
    B.GetMaskHandle();
    TBitmap C;
    C.SetHandle(B.ReleaseHandle());
  }
  EXPECT_EQ(GdiObjectCount(), After);
}

TEST(TBitmap, ChangeNotifiesTheOwner) {
  struct TCounter : TObject {
    int N = 0;
    void Changed(TObject*) { ++N; }
  } Counter;
  TBitmap B;
  B.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  B.SetSize(2, 2);
  EXPECT_EQ(Counter.N, 1);
  B.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(Counter.N, 2);
  EXPECT_TRUE(B.GetModified());
}
