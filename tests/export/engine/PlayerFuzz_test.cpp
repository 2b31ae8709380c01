// Corrupted page metafiles fed to the player: nothing may crash, hang or
// read outside a record, whatever the bytes say.
#include <gtest/gtest.h>
#include <random>
#include "PlayerSupport.h"
#include "platform/gdi/BlitRop.h"

namespace {
std::vector<Byte> SamplePage() {
  TEmfBuilder B;
  B.Add(FontRecord(1, u"Arial", -16, 700, 450), 1);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 1});
  B.Add(TEmrDword{EMR_SETTEXTALIGN, 24});
  B.Add(TextRecord(10, 10, u"Hello", ETO_CLIPPED, {0, 0, 50, 20}));
  B.Add(TEmrCreatePen{2, 0, {3, 0}, 0}, 2);
  B.Add(TEmrDword{EMR_SELECTOBJECT, 2});
  B.Add(TEmrDword{EMR_SETMAPMODE, MM_ANISOTROPIC});
  B.Add(TEmrPointL{EMR_SETWINDOWEXTEX, {100, 100}});
  B.Add(TEmrPolyPoly{EMR_POLYPOLYGON16, {}, {3, 2}, {{0, 0}, {1, 0}, {1, 1}, {5, 5}, {6, 5}}});
  B.Add(TEmrPolyDraw{EMR_POLYDRAW16, {}, {{0, 0}, {1, 1}}, {6, 2}});
  TEmrStretchDIBits S;
  S.Bounds = {0, 0, 9, 9};
  S.cxDest = S.cyDest = 10;
  S.cxSrc = S.cySrc = 2;
  S.Rop = SRCCOPY;
  MakeDib(2, 2, 0x40, S.Bmi, S.Bits);
  B.Add(S);
  TEmrSetDIBitsToDevice D;
  D.Bounds = {0, 0, 3, 3};
  D.cxSrc = D.cySrc = 4;
  D.Scans = 4;
  MakeDib(4, 4, 0x80, D.Bmi, D.Bits);
  B.Add(D);
  TEmrExtSelectClipRgn C;
  C.HasRegion = true;
  C.Region.Bound = {0, 0, 5, 5};
  C.Region.Rects = {{0, 0, 5, 5}};
  B.Add(C);
  B.Add(TEmrNoParams{EMR_SAVEDC});
  B.Add(TEmrDword{EMR_RESTOREDC, DWORD(-1)});
  return B.Finish(TestHeader());
}
}  // namespace

TEST(TgtMetafileProcessor, CorruptedRecordsNeverCrashThePlayer) {
  const std::vector<Byte> Page = SamplePage();
  std::mt19937 Rng(20240601);
  TPlayerFixture F;
  for (int Round = 0; Round < 400; ++Round) {
    std::vector<Byte> Bytes = Page;
    const int Flips = 1 + int(Rng() % 8);
    for (int I = 0; I < Flips; ++I) {
      // Leave the header and the record framing of the first bytes alone
      // half of the time, so the decoders themselves see the damage.
      std::size_t At = 108 + Rng() % (Bytes.size() - 108);
      Bytes[At] = Byte(Rng());
    }
    TgtMetafileProcessor P(F.Engine);
    P.SetCurrentPositionText(true);
    P.PlayBytes(Bytes, 0, 0);
    // Each record on its own, cut short at every length.
    EmfForEachRecord(Page, [&](const TEmfRecord& R) {
      std::vector<Byte> Copy(R.Data(), R.Data() + R.Size());
      const std::size_t Cut = 8 + (Rng() % (Copy.size() - 7)) / 4 * 4;   // records are 4-aligned
      for (std::size_t I = 8; I < Cut; ++I)
        if (Rng() % 4 == 0) Copy[I] = Byte(Rng());
      EmfPutDword(Copy.data() + 4, DWORD(Cut));   // a short record that says so
      P.PlayRecord(TEmfRecord(Copy.data(), Cut));
      return true;
    });
    F.Items().clear();
  }
  SUCCEED();
}
