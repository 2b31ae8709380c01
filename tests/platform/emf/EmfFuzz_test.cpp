// Corrupted and truncated metafiles, generated from deterministic seeds:
// whatever the bytes, validation, enumeration and record decoding end with
// an answer or an EEmfError, never a crash or a read outside the data. Run
// under the sanitizer build to see the latter.
#include "platform/gdi/Emf.h"
#include "platform/gdi/Wmf.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// One of each record family, so that corruption reaches every decoder.
std::vector<Byte> Everything() {
  TEmfBuilder B;
  B.Add(TEmrDword{EMR_SETMAPMODE, 8});
  B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {100, 100}});
  B.Add(TEmrPointL{EMR_SETVIEWPORTEXTEX, {50, 50}});
  B.Add(TEmrScaleExt{EMR_SCALEVIEWPORTEXTEX, 2, 1, 2, 1});
  B.Add(TEmrXForm{EMR_MODIFYWORLDTRANSFORM, {1, 0, 0, 1, 3, 3}, 2});
  B.Add(TEmrCreatePen{1, 0, {1, 0}, 0}, 1);
  B.Add(TEmrExtCreatePen{2, 0x10000, 3, 0, 0xFF, 0, {2, 3}, {}, {}}, 2);
  B.Add(TEmrCreateBrushIndirect{3, 0, 0x00FF00, 0}, 3);
  TEmrCreateDibBrush Pat;
  Pat.ihBrush = 4;
  Pat.Bmi.assign(48, 0);
  Pat.Bmi[0] = 40;
  Pat.Bits.assign(32, 0xAA);
  B.Add(Pat, 4);
  TEmrExtCreateFontIndirectW F;
  F.ihFont = 5;
  F.Font.FaceName = u"Arial";
  B.Add(F, 5);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
  B.Add(TEmrPoly{EMR_POLYGON16, {}, {{1, 1}, {9, 1}, {5, 9}}});
  B.Add(TEmrPoly{EMR_POLYBEZIER, {}, {{1, 1}, {9, 1}, {5, 9}, {2, 2}}});
  B.Add(TEmrPolyPoly{EMR_POLYPOLYLINE16, {}, {2, 2}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}});
  B.Add(TEmrPolyDraw{EMR_POLYDRAW16, {}, {{0, 0}, {4, 4}}, {6, 2}});
  B.Add(TEmrArc{EMR_PIE, {0, 0, 20, 20}, {20, 10}, {10, 0}});
  B.Add(TEmrRoundRect{{0, 0, 20, 20}, {4, 4}});
  TEmrExtTextOut T;
  T.Text = u"Fuzz";
  T.Dx = {5, 5, 5, 5};
  T.Options = 4;
  B.Add(T);
  TEmrStretchDIBits D;
  D.Bmi.assign(40, 0);
  D.Bmi[0] = 40;
  D.Bits.assign(16, 1);
  D.cxDest = D.cyDest = D.cxSrc = D.cySrc = 2;
  B.Add(D);
  TEmrBitBlt Blt;
  Blt.Bmi = D.Bmi;
  Blt.Bits = D.Bits;
  B.Add(Blt);
  TEmrExtSelectClipRgn C;
  C.HasRegion = true;
  C.Region.Rects = {{0, 0, 5, 5}, {0, 5, 9, 9}};
  B.Add(C);
  TEmrRegion Fill;
  Fill.ihBrush = 3;
  Fill.Region.Rects = {{0, 0, 5, 5}};
  B.Add(Fill);
  B.Add(TEmrCreatePalette{6, {0x00010203, 0x00040506}}, 6);
  B.Add(TEmrGdiComment{{1, 2, 3, 4, 5}});
  B.Add(TEmrDword{EMR_SAVEDC, 0});
  B.Add(TEmrDword{EMR_RESTOREDC, DWORD(-1)});
  B.Add(TEmrDword{EMR_DELETEOBJECT, 1});
  return B.Finish(TestHeader());
}

// Visits every record of whatever SetEnhMetaFileBits accepts, decoding each.
void Exercise(const std::vector<Byte>& Bytes) {
  HENHMETAFILE H = SetEnhMetaFileBits(UINT(Bytes.size()), Bytes.data());
  if (!H) return;
  auto Ok = EmfBytes(H);
  EmfForEachRecord(*Ok, [](const TEmfRecord& R) {
    try {
      EmfTraceRecord(R);
    } catch (const EEmfError&) {
    }
    return true;
  });
  try {
    EmfToWmf(*Ok, 8);
  } catch (const EEmfError&) {
  }
  DeleteEnhMetaFile(H);
}

}  // namespace

TEST(EmfFuzz, CorruptedBytesNeverCrashTheReaders) {
  const std::vector<Byte> Good = Everything();
  ASSERT_NO_THROW(EmfValidate(Good));
  const std::size_t HeaderSize = EmfGetDword(Good.data() + 4);
  for (unsigned Seed = 1; Seed <= 3000; ++Seed) {
    std::mt19937 Rng(Seed);
    std::vector<Byte> B = Good;
    const int Flips = 1 + int(Rng() % 8);
    for (int I = 0; I < Flips; ++I) {
      std::size_t At = HeaderSize + Rng() % (B.size() - HeaderSize);
      switch (Rng() % 4) {
        case 0: B[At] = Byte(Rng()); break;
        case 1: B[At] ^= Byte(1u << (Rng() % 8)); break;
        // Large values where counts and offsets sit.
        case 2: if (At + 4 <= B.size()) EmfPutDword(B.data() + (At & ~std::size_t(3)), 0xFFFFFFF0u + (Rng() % 16)); break;
        case 3: if (At + 4 <= B.size()) EmfPutDword(B.data() + (At & ~std::size_t(3)), Rng() % 256); break;
      }
    }
    Exercise(B);
  }
}

TEST(EmfFuzz, TruncatedMetafilesAreRefusedOrReadToTheirEnd) {
  const std::vector<Byte> Good = Everything();
  const std::size_t HeaderSize = EmfGetDword(Good.data() + 4);
  for (std::size_t Keep = 0; Keep < Good.size(); Keep += 4) {
    std::vector<Byte> B(Good.begin(), Good.begin() + std::ptrdiff_t(Keep));
    EXPECT_EQ(SetEnhMetaFileBits(UINT(B.size()), B.data()), nullptr) << Keep;
    // With nBytes patched to the cut, the walk stops at the last whole record.
    if (Keep >= HeaderSize) {
      EmfPutDword(B.data() + 48, DWORD(Keep));
      std::size_t Seen = 0;
      EmfForEachRecord(B, [&](const TEmfRecord&) { return ++Seen, true; });
      EXPECT_GE(Seen, 1u);
    }
  }
}
