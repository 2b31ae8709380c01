#include "platform/gdi/EmfRecords.h"
#include "EmfTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::vector<Byte> One(const std::function<void(TEmfWriter&)>& Write) {
  TEmfWriter W;
  Write(W);
  return W.TakeBytes();
}

TEmfRecord View(const std::vector<Byte>& B) { return TEmfRecord(B.data(), B.size()); }

}  // namespace

TEST(TEmfRecord, EveryWrittenRecordReadsBackTheSame) {
  struct TCase {
    const char* Name;
    std::function<void(TEmfWriter&)> Write;
    const char* Trace;
  };
  TEmrExtTextOut Text;
  Text.Reference = {10, 20};
  Text.Text = u"Hi!";
  Text.Dx = {7, 3, 5};
  Text.Options = 4;  // ETO_CLIPPED
  Text.Rect = {0, 0, 50, 30};
  TEmrPolyPoly PP;
  PP.Counts = {3, 2};
  PP.Points = {{0, 0}, {4, 0}, {4, 4}, {9, 9}, {8, 8}};
  TEmrBitBlt Blt;
  Blt.Type = EMR_STRETCHBLT;
  Blt.xDest = 1; Blt.yDest = 2; Blt.cxDest = 30; Blt.cyDest = 40;
  Blt.Rop = 0xCC0020;
  Blt.Bmi.assign(40, 7);
  Blt.Bits.assign(13, 9);  // odd size: padding must not leak into cbBits
  Blt.cxSrc = 3; Blt.cySrc = 4;
  TEmrExtCreateFontIndirectW Font;
  Font.ihFont = 3;
  Font.Font.Height = -16;
  Font.Font.Weight = 700;
  Font.Font.FaceName = u"Arial";
  TEmrExtSelectClipRgn Clip;
  Clip.HasRegion = true;
  Clip.Mode = 1;
  Clip.Region.Bound = {0, 0, 10, 20};
  Clip.Region.Rects = {{0, 0, 10, 10}, {0, 10, 5, 20}};
  const TCase Cases[] = {
      {"16-bit polyline", [](TEmfWriter& W) { TEmrPoly{EMR_POLYLINE16, {1, 1, 5, 3}, {{1, 1}, {5, 3}}}.Write(W); },
       "POLYLINE16 (1,1) (5,3)"},
      {"32-bit polygon keeps large values",
       [](TEmfWriter& W) { TEmrPoly{EMR_POLYGON, {}, {{70000, -1}, {2, 3}, {-70000, 5}}}.Write(W); },
       "POLYGON (70000,-1) (2,3) (-70000,5)"},
      {"16-bit points keep their sign",
       [](TEmfWriter& W) { TEmrPoly{EMR_POLYGON16, {}, {{-32768, 32767}, {-1, 0}}}.Write(W); },
       "POLYGON16 (-32768,32767) (-1,0)"},
      {"poly-polygon", [&](TEmfWriter& W) { PP.Write(W); },
       "POLYPOLYGON16 counts 3 2 : (0,0) (4,0) (4,4) (9,9) (8,8)"},
      {"text with dx", [&](TEmfWriter& W) { Text.Write(W); },
       "EXTTEXTOUTW (10,20) \"Hi!\" opts 000004 dx 7 3 5"},
      {"stretch blit with odd-sized bits", [&](TEmfWriter& W) { Blt.Write(W); },
       "STRETCHBLT (1,2) 30x40 rop CC0020 bmi 40"},
      {"font", [&](TEmfWriter& W) { Font.Write(W); }, "EXTCREATEFONTINDIRECTW 3 \"Arial\" -16 w700"},
      {"clip region", [&](TEmfWriter& W) { Clip.Write(W); },
       "EXTSELECTCLIPRGN mode 1 [0,0,10,10] [0,10,5,20]"},
      {"default clip", [](TEmfWriter& W) { TEmrExtSelectClipRgn{}.Write(W); },
       "EXTSELECTCLIPRGN mode 5 default"},
      {"stock object", [](TEmfWriter& W) { TEmrDword{EMR_SELECTOBJECT, ENHMETA_STOCK_OBJECT | 5}.Write(W); },
       "SELECTOBJECT stock 5"},
      {"relative restore", [](TEmfWriter& W) { TEmrDword{EMR_RESTOREDC, DWORD(-1)}.Write(W); },
       "RESTOREDC -1"},
      {"round rect", [](TEmfWriter& W) { TEmrRoundRect{{1, 2, 30, 40}, {5, 6}}.Write(W); },
       "ROUNDRECT [1,2,30,40] 5x6"},
      {"pie", [](TEmfWriter& W) { TEmrArc{EMR_PIE, {0, 0, 10, 10}, {10, 5}, {5, 0}}.Write(W); },
       "PIE [0,0,10,10] (10,5) (5,0)"},
      {"modify world transform",
       [](TEmfWriter& W) { TEmrXForm{EMR_MODIFYWORLDTRANSFORM, {2, 0, 0, 0.5f, 10, -3}, /*MWT_LEFTMULTIPLY=*/2}.Write(W); },
       "MODIFYWORLDTRANSFORM 2 0 0 0.5 10 -3 mode 2"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::vector<Byte> B = One(C.Write);
    ASSERT_EQ(B.size() % 4, 0u);
    ASSERT_EQ(EmfGetDword(B.data() + 4), B.size());
    EXPECT_EQ(EmfTraceRecord(View(B)), C.Trace);
  }
}

TEST(TEmfRecord, BlitKeepsExactBitmapSizes) {
  TEmrBitBlt Blt;
  Blt.Bmi.assign(44, 1);
  Blt.Bits.assign(13, 2);
  std::vector<Byte> B = One([&](TEmfWriter& W) { Blt.Write(W); });
  TEmrBitBlt Back = TEmrBitBlt::Read(View(B));
  EXPECT_EQ(Back.Bmi, Blt.Bmi);
  EXPECT_EQ(Back.Bits, Blt.Bits);
  EXPECT_EQ(B.size(), 100u + 44 + 16);
}

TEST(TEmfRecord, ExtTextOutLayoutMatchesTheFileFormat) {
  // Offsets readers of the format rely on: string at 76, dx after it on a
  // 4-byte boundary.
  TEmrExtTextOut T;
  T.Text = u"abc";
  T.Dx = {1, 2, 3};
  std::vector<Byte> B = One([&](TEmfWriter& W) { T.Write(W); });
  EXPECT_EQ(EmfGetDword(B.data() + 44), 3u);   // nChars
  EXPECT_EQ(EmfGetDword(B.data() + 48), 76u);  // offString
  EXPECT_EQ(EmfGetDword(B.data() + 72), 84u);  // offDx
  EXPECT_EQ(B.size(), 96u);
  EXPECT_EQ(B[76], 'a');
}

TEST(TEmfRecord, FontRecordIsTheFullLogFontForm) {
  TEmrExtCreateFontIndirectW F;
  F.Font.FaceName = u"A face name longer than thirty-one chars";
  std::vector<Byte> B = One([&](TEmfWriter& W) { F.Write(W); });
  EXPECT_EQ(B.size(), 332u);
  // A bare LOGFONTW record, as older writers produce, reads too.
  std::vector<Byte> Short(B.begin(), B.begin() + 104);
  EmfPutDword(Short.data() + 4, 104);
  TEmrExtCreateFontIndirectW Back = TEmrExtCreateFontIndirectW::Read(View(Short));
  EXPECT_EQ(Back.Font.FaceName, F.Font.FaceName.substr(0, 31));
}

// Records whose counts or offsets lie: each must be refused, not read.
TEST(TEmfRecord, LyingCountsAndOffsetsAreRefused) {
  struct TCase {
    const char* Flaw;
    std::function<void(TEmfWriter&)> Write;
    std::size_t Offset;  // DWORD to corrupt
    DWORD Value;
  };
  TEmrExtTextOut Text;
  Text.Text = u"abc";
  Text.Dx = {1, 2, 3};
  TEmrStretchDIBits Dib;
  Dib.Bmi.assign(40, 0);
  Dib.Bits.assign(16, 0);
  TEmrPolyPoly PP{EMR_POLYPOLYGON16, {}, {2, 1}, {{0, 0}, {1, 1}, {2, 2}}};
  TEmrExtSelectClipRgn Clip;
  Clip.HasRegion = true;
  Clip.Region.Rects = {{0, 0, 1, 1}};
  const TCase Cases[] = {
      {"poly count past the end", [](TEmfWriter& W) { TEmrPoly{EMR_POLYLINE16, {}, {{1, 1}}}.Write(W); }, 24, 0x40000000},
      {"poly count that overflows 32 bits", [](TEmfWriter& W) { TEmrPoly{EMR_POLYLINE, {}, {{1, 1}}}.Write(W); }, 24, 0xFFFFFFFF},
      {"poly-polygon counts not adding up", [&](TEmfWriter& W) { PP.Write(W); }, 32, 5},
      {"poly-polygon count list past the end", [&](TEmfWriter& W) { PP.Write(W); }, 24, 0x7FFFFFFF},
      {"text chars past the end", [&](TEmfWriter& W) { Text.Write(W); }, 44, 1000},
      {"text string offset past the end", [&](TEmfWriter& W) { Text.Write(W); }, 48, 0xFFFFFFF0},
      {"dx offset past the end", [&](TEmfWriter& W) { Text.Write(W); }, 72, 90},
      {"bitmap bits offset past the end", [&](TEmfWriter& W) { Dib.Write(W); }, 56, 0xFFFFFFFC},
      {"bitmap info size past the end", [&](TEmfWriter& W) { Dib.Write(W); }, 52, 41 + 16 + 80},
      {"region rectangle count past the end", [&](TEmfWriter& W) { Clip.Write(W); }, 24, 2},
      {"region size past the end", [&](TEmfWriter& W) { Clip.Write(W); }, 8, 0x1000},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Flaw);
    std::vector<Byte> B = One(C.Write);
    ASSERT_LT(C.Offset + 4, B.size() + 1);
    EmfPutDword(B.data() + C.Offset, C.Value);
    EXPECT_THROW(EmfTraceRecord(View(B)), EEmfError);
  }
}

TEST(TEmfRecord, RecordTooShortForItsFixedPartIsRefused) {
  std::vector<Byte> B = One([](TEmfWriter& W) { TEmrRoundRect{}.Write(W); });
  B.resize(16);
  EmfPutDword(B.data() + 4, 16);
  EXPECT_THROW(TEmrRoundRect::Read(View(B)), EEmfError);
  EXPECT_THROW(TEmfRecord(B.data(), 15), EEmfError);
}
