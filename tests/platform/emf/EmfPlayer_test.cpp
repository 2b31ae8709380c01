#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Wmf.h"
#include "EmfTestPage.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

constexpr int PageW = 240, PageH = 170;

// The frame of a PageW x PageH pixel page on the screen reference, in .01 mm.
TRect PageFrame() {
  HDC Screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  const int Mx = GetDeviceCaps(Screen, HORZSIZE), My = GetDeviceCaps(Screen, VERTSIZE);
  const int Px = GetDeviceCaps(Screen, HORZRES), Py = GetDeviceCaps(Screen, VERTRES);
  DeleteDC(Screen);
  return {0, 0, int(std::lround(PageW * Mx * 100.0 / Px)), int(std::lround(PageH * My * 100.0 / Py))};
}

HENHMETAFILE RecordPage() {
  const TRect Frame = PageFrame();
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, &Frame, nullptr);
  DrawTestPage(Dc);
  return CloseEnhMetaFile(Dc);
}

std::vector<Byte> BytesOf(HENHMETAFILE Mf) {
  std::vector<Byte> B(GetEnhMetaFileBits(Mf, 0, nullptr));
  GetEnhMetaFileBits(Mf, UINT(B.size()), B.data());
  return B;
}

}  // namespace

TEST(PlayEnhMetaFile, RecordedPageLooksLikeThePageDrawnDirectly) {
  TRasterTarget Direct(PageW, PageH), Played(PageW, PageH);
  DrawTestPage(Direct.Dc);
  HENHMETAFILE Mf = RecordPage();
  ASSERT_NE(Mf, nullptr);
  const TRect Target(0, 0, PageW, PageH);
  EXPECT_TRUE(PlayEnhMetaFile(Played.Dc, Mf, &Target));
  // Anti-aliased text edges and rounding of the frame may differ slightly.
  EXPECT_LT(DifferentPixels(Direct, Played), PageW * PageH / 500);
  // Spot checks of what the page holds.
  EXPECT_EQ(Played.Pixel(40, 30), RGB(0, 0, 220)) << "rectangle filled blue";
  EXPECT_EQ(Played.Pixel(11, 160), Direct.Pixel(11, 160)) << "blitted bitmap";
  EXPECT_EQ(Played.Pixel(220, 125), RGB(255, 255, 255)) << "clipped half of the ellipse stays away";
  EXPECT_EQ(Played.Pixel(190, 125), RGB(0, 0, 220));
  DeleteEnhMetaFile(Mf);
}

TEST(PlayEnhMetaFile, ScalesTheFrameIntoTheTargetRectangle) {
  HENHMETAFILE Mf = RecordPage();
  TRasterTarget Half(PageW, PageH);
  const TRect Target(10, 20, 10 + PageW / 2, 20 + PageH / 2);
  EXPECT_TRUE(PlayEnhMetaFile(Half.Dc, Mf, &Target));
  // The blue rectangle (10..70, 10..50) lands at (15..45, 25..45).
  EXPECT_EQ(Half.Pixel(30, 35), RGB(0, 0, 220));
  EXPECT_EQ(Half.Pixel(20, 48), RGB(255, 255, 255)) << "nothing where it was drawn unscaled";
  EXPECT_EQ(Half.Pixel(5, 5), RGB(255, 255, 255)) << "nothing outside the target";
  // The target's own state is back as it was.
  EXPECT_EQ(GetMapMode(Half.Dc), MM_TEXT);
  EXPECT_EQ(GetGraphicsMode(Half.Dc), GM_COMPATIBLE);
  DeleteEnhMetaFile(Mf);
}

TEST(PlayEnhMetaFile, OntoARecordingDcRecordsThePictureAgain) {
  HENHMETAFILE Mf = RecordPage();
  const TRect Frame = PageFrame();
  HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, &Frame, nullptr);
  const TRect Target(0, 0, PageW, PageH);
  EXPECT_TRUE(PlayEnhMetaFile(Rec, Mf, &Target));
  HENHMETAFILE Again = CloseEnhMetaFile(Rec);
  ASSERT_NE(Again, nullptr);
  TRasterTarget A(PageW, PageH), B(PageW, PageH);
  PlayEnhMetaFile(A.Dc, Mf, &Target);
  PlayEnhMetaFile(B.Dc, Again, &Target);
  EXPECT_LT(DifferentPixels(A, B), PageW * PageH / 100);
  // The copy holds the same drawing records.
  auto Count = [](const std::vector<Byte>& Bytes, DWORD Type) {
    int N = 0;
    EmfForEachRecord(Bytes, [&](const TEmfRecord& R) { return N += R.Type() == Type, true; });
    return N;
  };
  for (DWORD T : {DWORD(EMR_RECTANGLE), DWORD(EMR_ELLIPSE), DWORD(EMR_EXTTEXTOUTW), DWORD(EMR_POLYGON16)})
    EXPECT_EQ(Count(BytesOf(Again), T), Count(BytesOf(Mf), T)) << EmfRecordName(T);
  // Bitmaps come back as the DIB records the player draws them with.
  EXPECT_EQ(Count(BytesOf(Again), EMR_BITBLT) + Count(BytesOf(Again), EMR_STRETCHDIBITS),
            Count(BytesOf(Mf), EMR_BITBLT) + Count(BytesOf(Mf), EMR_STRETCHBLT));
  DeleteEnhMetaFile(Mf);
  DeleteEnhMetaFile(Again);
}

TEST(PlayEnhMetaFile, MetafileMappingAndWorldTransformArePlayed) {
  // Drawn in MM_ANISOTROPIC at 1:2 and shifted by a world transform.
  HDC Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  SetMapMode(Dc, MM_ANISOTROPIC);
  SetWindowExtEx(Dc, 200, 200, nullptr);
  SetViewportExtEx(Dc, 100, 100, nullptr);
  SetGraphicsMode(Dc, GM_ADVANCED);
  XFORM Shift{1, 0, 0, 1, 20, 0};
  SetWorldTransform(Dc, &Shift);
  SelectObject(Dc, GetStockObject(BLACK_BRUSH));
  Rectangle(Dc, 0, 0, 40, 40);  // device 10..30, 0..20
  HENHMETAFILE Mf = CloseEnhMetaFile(Dc);
  TRasterTarget T(60, 60);
  EXPECT_TRUE(PlayEnhMetaFile(T.Dc, Mf, nullptr));
  EXPECT_EQ(T.Pixel(15, 10), RGB(0, 0, 0));
  EXPECT_EQ(T.Pixel(5, 10), RGB(255, 255, 255));
  EXPECT_EQ(T.Pixel(35, 10), RGB(255, 255, 255));
  DeleteEnhMetaFile(Mf);
}

TEST(PlayEnhMetaFile, RoundTripThroughWmfKeepsTheDrawing) {
  HENHMETAFILE Mf = RecordPage();
  UINT N = GetWinMetaFileBits(Mf, 0, nullptr, MM_ANISOTROPIC, nullptr);
  std::vector<Byte> W(N);
  GetWinMetaFileBits(Mf, N, W.data(), MM_ANISOTROPIC, nullptr);
  HENHMETAFILE Back = SetWinMetaFileBits(N, W.data(), nullptr, nullptr);
  ASSERT_NE(Back, nullptr);
  TRasterTarget A(PageW, PageH), B(PageW, PageH);
  const TRect Target(0, 0, PageW, PageH);
  PlayEnhMetaFile(A.Dc, Mf, &Target);
  EXPECT_TRUE(PlayEnhMetaFile(B.Dc, Back, &Target));
  // WMF keeps whole pixels and 8-bit text; shapes and bitmaps come back.
  EXPECT_LT(DifferentPixels(A, B), PageW * PageH / 50);
  EXPECT_EQ(B.Pixel(40, 30), RGB(0, 0, 220));
  DeleteEnhMetaFile(Mf);
  DeleteEnhMetaFile(Back);
}

TEST(PlayEnhMetaFile, BadRecordsAreSkippedAndTheRestPlays) {
  // Object indexes outside the table, zero extents, a division by zero in
  // the scaling records, a restore without a save: each alone is dropped.
  TEmfBuilder B;
  B.Add(TEmrCreateBrushIndirect{70000, 0, RGB(255, 0, 0), 0});
  B.Add(TEmrDword{EMR_SELECTOBJECT, 70000});
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 999});
  B.Add(TEmrDword{EMR_DELETEOBJECT, 5});
  B.Add(TEmrDword{EMR_SETMAPMODE, 8});
  B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {0, 0}});
  B.Add(TEmrScaleExt{EMR_SCALEVIEWPORTEXTEX, 1, 0, 1, 0});
  B.Add(TEmrDword{EMR_RESTOREDC, DWORD(-3)});
  B.Add(TEmrDword{EMR_RESTOREDC, 7});
  TEmrPolyPoly Lying{EMR_POLYPOLYGON16, {}, {2}, {{0, 0}, {1, 1}}};
  B.Add(Lying);
  B.Add(TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 4});  // BLACK_BRUSH
  B.Add(TEmrRectL{EMR_RECTANGLE, {2, 2, 8, 8}});
  TEmrHeader H = TestHeader();
  H.Frame = {0, 0, 264, 264};  // 10 x 10 pixels
  std::vector<Byte> Bytes = B.Finish(H);
  // Make the poly-polygon lie about its counts.
  EmfForEachRecord(Bytes, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_POLYPOLYGON16)
      EmfPutDword(const_cast<Byte*>(R.Data()) + 32, 0x7FFFFFFF);
    return true;
  });
  HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(Bytes.size()), Bytes.data());
  ASSERT_NE(Mf, nullptr);
  TRasterTarget T(10, 10);
  EXPECT_TRUE(PlayEnhMetaFile(T.Dc, Mf, nullptr));
  EXPECT_EQ(T.Pixel(5, 5), RGB(0, 0, 0)) << "the rectangle after the bad records still plays";
  DeleteEnhMetaFile(Mf);
}

TEST(PlayEnhMetaFile, ZeroSizedFrameRefusesToScale) {
  TEmfBuilder B;
  B.Add(TEmrRectL{EMR_RECTANGLE, {0, 0, 5, 5}});
  TEmrHeader H = TestHeader();
  H.Frame = {10, 10, 10, 10};
  std::vector<Byte> Bytes = B.Finish(H);
  HENHMETAFILE Mf = SetEnhMetaFileBits(UINT(Bytes.size()), Bytes.data());
  TRasterTarget T(10, 10);
  const TRect Target(0, 0, 10, 10);
  EXPECT_FALSE(PlayEnhMetaFile(T.Dc, Mf, &Target));
  EXPECT_EQ(GetGraphicsMode(T.Dc), GM_COMPATIBLE);
  DeleteEnhMetaFile(Mf);
}

TEST(PlayEnhMetaFile, CorruptedPagesNeverCrashThePlayer) {
  HENHMETAFILE Mf = RecordPage();
  const std::vector<Byte> Good = BytesOf(Mf);
  DeleteEnhMetaFile(Mf);
  const std::size_t HeaderSize = EmfGetDword(Good.data() + 4);
  TRasterTarget T(PageW, PageH);
  for (int I = 0; I <= 19; ++I) GetStockObject(I);  // stock fonts are made on first use
  const std::size_t Objects = GdiObjectCount();
  for (unsigned Seed = 1; Seed <= 300; ++Seed) {
    std::mt19937 Rng(Seed);
    std::vector<Byte> B = Good;
    for (int I = 0; I < 1 + int(Rng() % 6); ++I) {
      std::size_t At = (HeaderSize + Rng() % (B.size() - HeaderSize)) & ~std::size_t(3);
      if (At + 4 > B.size()) continue;
      const DWORD Values[] = {DWORD(Rng()), 0, 0xFFFFFFFF, 0x7FFFFFFF, DWORD(Rng() % 64), DWORD(0x80000000u | (Rng() % 32))};
      EmfPutDword(B.data() + At, Values[Rng() % 6]);
    }
    HENHMETAFILE H = SetEnhMetaFileBits(UINT(B.size()), B.data());
    if (!H) continue;
    const TRect Target(0, 0, PageW, PageH);
    PlayEnhMetaFile(T.Dc, H, &Target);
    DeleteEnhMetaFile(H);
  }
  EXPECT_EQ(GdiObjectCount(), Objects) << "every object a playback created is freed";
}
