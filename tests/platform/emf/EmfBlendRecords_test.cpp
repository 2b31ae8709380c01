// Gradient fills, alpha blends, masked and transparent transfers recorded
// into a metafile and played back look like the same calls made directly.
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "EmfTestPage.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

constexpr int PageW = 120, PageH = 80;

TRect Frame() {
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  const int Mx = GetDeviceCaps(Screen, HORZSIZE), My = GetDeviceCaps(Screen, VERTSIZE);
  const int Px = GetDeviceCaps(Screen, HORZRES), Py = GetDeviceCaps(Screen, VERTRES);
  DeleteDC(Screen);
  return {0, 0, int(std::lround(PageW * Mx * 100.0 / Px)), int(std::lround(PageH * My * 100.0 / Py))};
}

// A 16 x 16 source in a 32-bit DIB section: the left half opaque red, the
// right half green at half coverage (premultiplied), a magenta key square.
struct TSource {
  HDC Dc = nullptr;
  HBITMAP Bmp = nullptr;
  HGDIOBJ Old = nullptr;
  TSource() {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = 16;
    Info.bmiHeader.biHeight = -16;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    Bmp = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    auto* P = static_cast<std::uint32_t*>(Bits);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) {
        std::uint32_t V = X < 8 ? 0xFFFF0000u : 0x80008000u;
        if (X >= 4 && X < 8 && Y >= 4 && Y < 8) V = 0xFFFF00FFu;
        P[Y * 16 + X] = V;
      }
    Dc = CreateCompatibleDC(nullptr);
    Old = SelectObject(Dc, Bmp);
  }
  ~TSource() {
    SelectObject(Dc, Old);
    DeleteObject(Bmp);
    DeleteDC(Dc);
  }
};

struct TDrawCase {
  const char* Name;
  const char* Record;   // the record the call leaves in the metafile
  std::function<void(HDC, const TSource&)> Draw;
  std::vector<std::pair<TPoint, COLORREF>> Pixels;   // what the page shows there
};

TRIVERTEX Vertex(int X, int Y, COLORREF C) {
  TRIVERTEX V;
  V.x = X;
  V.y = Y;
  V.Red = COLOR16(GetRValue(C) << 8);
  V.Green = COLOR16(GetGValue(C) << 8);
  V.Blue = COLOR16(GetBValue(C) << 8);
  return V;
}

const std::vector<TDrawCase>& Cases() {
  static const std::vector<TDrawCase> C = {
      {"horizontal gradient", "GRADIENTFILL",
       [](HDC Dc, const TSource&) {
         TRIVERTEX V[] = {Vertex(10, 10, RGB(0, 0, 0)), Vertex(110, 30, RGB(0, 0, 250))};
         GRADIENT_RECT R{0, 1};
         GradientFill(Dc, V, 2, &R, 1, GRADIENT_FILL_RECT_H);
       },
       {{{10, 20}, RGB(0, 0, 0)}, {{60, 20}, RGB(0, 0, 125)}, {{10, 40}, RGB(255, 255, 255)}}},
      {"triangle gradient", "GRADIENTFILL",
       [](HDC Dc, const TSource&) {
         TRIVERTEX V[] = {Vertex(10, 10, RGB(255, 0, 0)), Vertex(110, 10, RGB(255, 0, 0)),
                          Vertex(10, 70, RGB(255, 0, 0))};
         GRADIENT_TRIANGLE T{0, 1, 2};
         GradientFill(Dc, V, 3, &T, 1, GRADIENT_FILL_TRIANGLE);
       },
       {{{20, 20}, RGB(255, 0, 0)}, {{100, 60}, RGB(255, 255, 255)}}},
      {"constant alpha", "ALPHABLEND",
       [](HDC Dc, const TSource& S) {
         BLENDFUNCTION B;
         B.SourceConstantAlpha = 128;
         AlphaBlend(Dc, 20, 20, 32, 32, S.Dc, 0, 0, 8, 8, B);
       },
       {{{22, 22}, RGB(255, 127, 127)}, {{60, 60}, RGB(255, 255, 255)}}},
      {"per-pixel alpha", "ALPHABLEND",
       [](HDC Dc, const TSource& S) {
         BLENDFUNCTION B;
         B.AlphaFormat = AC_SRC_ALPHA;
         AlphaBlend(Dc, 20, 20, 16, 16, S.Dc, 0, 0, 16, 16, B);
       },
       // Opaque red stays red; half-covered green over white is light green.
       {{{21, 21}, RGB(255, 0, 0)}, {{32, 30}, RGB(127, 255, 127)}}},
      {"transparent colour", "TRANSPARENTBLT",
       [](HDC Dc, const TSource& S) {
         TransparentBlt(Dc, 20, 20, 32, 32, S.Dc, 0, 0, 8, 8, RGB(255, 0, 255));
       },
       {{{22, 22}, RGB(255, 0, 0)}, {{40, 40}, RGB(255, 255, 255)}}},
      {"masked copy", "MASKBLT",
       [](HDC Dc, const TSource& S) {
         // Mask: left half 1 (copy the source), right half 0 (keep the page).
         HBITMAP Mask = CreateBitmap(16, 16, 1, 1, nullptr);
         HDC M = CreateCompatibleDC(nullptr);
         HGDIOBJ Old = SelectObject(M, Mask);
         PatBlt(M, 0, 0, 16, 16, BLACKNESS);
         PatBlt(M, 0, 0, 8, 16, WHITENESS);
         SelectObject(M, Old);
         DeleteDC(M);
         MaskBlt(Dc, 30, 30, 16, 16, S.Dc, 0, 0, Mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029));
         DeleteObject(Mask);
       },
       {{{31, 31}, RGB(255, 0, 0)}, {{40, 31}, RGB(255, 255, 255)}}},
  };
  return C;
}

}  // namespace

TEST(TEmfRecorderDC, BlendingTransfersPlayBackAsDrawnDirectly) {
  TSource Src;
  const TRect F = Frame();
  for (const TDrawCase& C : Cases()) {
    SCOPED_TRACE(C.Name);
    TRasterTarget Direct(PageW, PageH), Played(PageW, PageH);
    C.Draw(Direct.Dc, Src);
    HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, &F, nullptr);
    ASSERT_NE(Rec, nullptr);
    C.Draw(Rec, Src);
    HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
    ASSERT_NE(Mf, nullptr);
    std::vector<Byte> Bytes(GetEnhMetaFileBits(Mf, 0, nullptr));
    GetEnhMetaFileBits(Mf, UINT(Bytes.size()), Bytes.data());
    auto Types = RecordTypes(Bytes);
    EXPECT_NE(std::find(Types.begin(), Types.end(), C.Record), Types.end());
    const TRect Target(0, 0, PageW, PageH);
    EXPECT_TRUE(PlayEnhMetaFile(Played.Dc, Mf, &Target));
    EXPECT_EQ(DifferentPixels(Direct, Played, 8), 0);
    for (const auto& [P, Want] : C.Pixels) {
      const COLORREF Got = Played.Pixel(P.X, P.Y);
      EXPECT_NEAR(GetRValue(Got), GetRValue(Want), 3) << P.X << "," << P.Y;
      EXPECT_NEAR(GetGValue(Got), GetGValue(Want), 3) << P.X << "," << P.Y;
      EXPECT_NEAR(GetBValue(Got), GetBValue(Want), 3) << P.X << "," << P.Y;
    }
    DeleteEnhMetaFile(Mf);
  }
}

// A gradient record whose counts claim more than it holds is refused by the
// reader, and the player skips it and draws what follows.
TEST(TEmfRecorderDC, GradientRecordWithLyingCountsIsSkipped) {
  const TRect F = Frame();
  HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, &F, nullptr);
  TRIVERTEX V[] = {Vertex(0, 0, RGB(0, 0, 0)), Vertex(50, 50, RGB(0, 0, 0))};
  GRADIENT_RECT R{0, 1};
  GradientFill(Rec, V, 2, &R, 1, GRADIENT_FILL_RECT_V);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  TRect Box(60, 60, 70, 70);
  FillRect(Rec, &Box, Red);
  DeleteObject(Red);
  HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
  std::vector<Byte> Bytes(GetEnhMetaFileBits(Mf, 0, nullptr));
  GetEnhMetaFileBits(Mf, UINT(Bytes.size()), Bytes.data());
  DeleteEnhMetaFile(Mf);
  // Find the record and make its vertex count huge.
  bool Patched = false;
  EmfForEachRecord(Bytes, [&](const TEmfRecord& Rc) {
    if (Rc.Type() == EMR_GRADIENTFILL) {
      auto* P = const_cast<Byte*>(Rc.Data()) + 24;
      const DWORD Huge = 0x10000000;
      std::memcpy(P, &Huge, 4);
      Patched = true;
    }
    return true;
  });
  ASSERT_TRUE(Patched);
  HENHMETAFILE Bad = SetEnhMetaFileBits(UINT(Bytes.size()), Bytes.data());
  ASSERT_NE(Bad, nullptr);
  TRasterTarget Played(PageW, PageH);
  const TRect Target(0, 0, PageW, PageH);
  PlayEnhMetaFile(Played.Dc, Bad, &Target);
  EXPECT_EQ(Played.Pixel(10, 10), RGB(255, 255, 255)) << "the broken gradient drew nothing";
  EXPECT_EQ(Played.Pixel(65, 65), RGB(255, 0, 0)) << "the record after it still played";
  DeleteEnhMetaFile(Bad);
}
