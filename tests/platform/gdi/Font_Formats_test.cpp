// A face of every outline format a desktop installs (TrueType, a member of
// a collection, OpenType with CFF outlines, Type 1) through the font calls:
// it is the face used, it measures, it draws, and a metafile of it plays
// back as drawn. Cases whose format is not installed skip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FontFormats_TestSupport.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfPlayer.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePages.h"

namespace {

constexpr int W = 200, H = 50;
const std::u16string Sample = u"Hamburg";

LOGFONTW FaceFont(const std::string& Family, LONG Height) {
  LOGFONTW Lf;
  Lf.lfHeight = Height;
  Lf.lfWeight = FW_NORMAL;
  const WideString Name = UTF8Decode(Family);
  std::copy_n(Name.begin(), std::min<size_t>(Name.size(), LF_FACESIZE - 1), Lf.lfFaceName);
  return Lf;
}

// A white 32-bit page; counts the pixels text darkened.
class TPage {
public:
  TPage() {
    FDc = CreateCompatibleDC(nullptr);
    FBm = CreateBitmap(W, H, 1, 32, nullptr);
    FOld = SelectObject(FDc, FBm);
    const TRect All{0, 0, W, H};
    FillRect(FDc, &All, HBRUSH(GetStockObject(WHITE_BRUSH)));
  }
  ~TPage() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBm);
  }
  HDC Dc() const { return FDc; }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> P;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) P.push_back(GetPixel(FDc, X, Y));
    return P;
  }
  int Ink() const {
    int N = 0;
    for (COLORREF C : Pixels()) N += GetRValue(C) < 128;
    return N;
  }

private:
  HDC FDc;
  HBITMAP FBm;
  HGDIOBJ FOld;
};

void DrawSample(HDC Dc, HFONT Font) {
  HGDIOBJ Old = SelectObject(Dc, Font);
  SetBkMode(Dc, TRANSPARENT);
  TextOutW(Dc, 5, 5, Sample.c_str(), int(Sample.size()));
  SelectObject(Dc, Old);
}

}  // namespace

TEST(FontFormats, EveryOutlineFormatMeasuresDrawsAndPlaysBack) {
  const TFontFormat Expected[] = {TFontFormat::TrueType, TFontFormat::TrueType, TFontFormat::OpenTypeCFF,
                                  TFontFormat::Type1};
  int Ran = 0;
  for (std::size_t K = 0; K < std::size(fonttest::FormatCases); ++K) {
    const auto& C = fonttest::FormatCases[K];
    SCOPED_TRACE(C.Name);
    const auto Face = fonttest::FaceFor(C);
    if (!Face) continue;
    ++Ran;
    SCOPED_TRACE(Face->File);
    const LOGFONTW Lf = FaceFont(Face->Family, -24);
    auto Inst = TFontInstance::Get(Lf);
    EXPECT_EQ(Inst->FilePath(), Face->File) << "the face fontconfig listed is the one used";
    EXPECT_EQ(Inst->Format(), Expected[K]);

    HFONT Font = CreateFontIndirectW(&Lf);
    TPage Direct;
    HGDIOBJ Old = SelectObject(Direct.Dc(), Font);
    TEXTMETRICW Tm{};
    ASSERT_TRUE(GetTextMetricsW(Direct.Dc(), &Tm));
    EXPECT_GT(Tm.tmAscent, 12);
    EXPECT_GT(Tm.tmDescent, 0);
    EXPECT_GE(Tm.tmHeight, 24);
    EXPECT_GT(Tm.tmAveCharWidth, 0);
    TSize Sz{};
    ASSERT_TRUE(GetTextExtentPoint32W(Direct.Dc(), Sample.c_str(), int(Sample.size()), &Sz));
    EXPECT_GT(Sz.cx, 40);
    EXPECT_EQ(Sz.cy, Tm.tmHeight);
    ABC Abc{};
    EXPECT_TRUE(GetCharABCWidthsW(Direct.Dc(), 'H', 'H', &Abc));
    EXPECT_GT(int(Abc.abcB), 0);
    EXPECT_GT(GetOutlineTextMetricsW(Direct.Dc(), 0, nullptr), sizeof(OUTLINETEXTMETRICW));
    SelectObject(Direct.Dc(), Old);

    DrawSample(Direct.Dc(), Font);
    EXPECT_GT(Direct.Ink(), 60) << "the sample is drawn";

    HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    DrawSample(Rec, Font);
    HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
    ASSERT_TRUE(Mf);
    TPage Played;
    ENHMETAHEADER Hdr{};
    GetEnhMetaFileHeader(Mf, sizeof Hdr, &Hdr);
    const TRect Bounds{Hdr.rclBounds.Left, Hdr.rclBounds.Top, Hdr.rclBounds.Right + 1, Hdr.rclBounds.Bottom + 1};
    EXPECT_TRUE(PlayEnhMetaFile(Played.Dc(), Mf, &Bounds));
    DeleteEnhMetaFile(Mf);
    // Played into the frame of what was drawn, the text comes back with the
    // same amount of ink (the frame's rounding may shift it by a pixel).
    EXPECT_NEAR(Played.Ink(), Direct.Ink(), Direct.Ink() / 8) << "the metafile plays back as drawn";
    DeleteObject(Font);
  }
  if (Ran == 0) GTEST_SKIP() << "no outline face of these formats installed";
}

TEST(FontFormats, AFaceThatCannotBeReadIsSkippedAndEnumerationGoesOn) {
  // fontconfig lists a face whose file went bad after it was scanned: the
  // layer skips it for the next match, and listing every family does not
  // fail on it.
  const auto Broken = fonttest::RenamedType1Copy("Sxtest Broken Face");
  if (!Broken) GTEST_SKIP() << "no Type 1 text program installed to copy";
  std::ofstream(Broken->File, std::ios::binary | std::ios::trunc) << "%!PS-AdobeFont-1.0: nothing here\n";
  auto Inst = TFontInstance::Get(FaceFont(Broken->Family, -20));
  EXPECT_NE(Inst->FilePath(), Broken->File);
  EXPECT_FALSE(Inst->FilePath().empty()) << "another installed face, not the built-in one";
  EXPECT_GT(Inst->Metrics().tmHeight, 0);
  HDC Dc = CreateCompatibleDC(nullptr);
  LOGFONTW Named = FaceFont(Broken->Family, 0);
  Named.lfCharSet = DEFAULT_CHARSET;
  LOGFONTW Any{};
  Any.lfCharSet = DEFAULT_CHARSET;
  auto Count = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM P) { return ++*reinterpret_cast<int*>(P), 1; };
  int Seen = 0;
  EXPECT_EQ(EnumFontFamiliesExW(Dc, &Any, Count, reinterpret_cast<LPARAM>(&Seen), 0), 1);
  EXPECT_GT(Seen, 0);
  EXPECT_EQ(EnumFontFamiliesExW(Dc, &Named, Count, reinterpret_cast<LPARAM>(&Seen), 0), 1);
  DeleteDC(Dc);
}
