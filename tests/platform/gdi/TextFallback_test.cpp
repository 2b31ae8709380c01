// Characters the selected face lacks: drawn and measured in an installed
// face that has them, at the same size, as font linking does; characters no
// face has stay the face's missing glyph.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/EmfRecorder.h"
#include "platform/gdi/Emf.h"
#include "platform/gdi/EmfRecords.h"
#include "platform/gdi/Text.h"

namespace {

constexpr char16_t Han = u'\x4E2D';         // in CJK faces only
constexpr char16_t Unassigned = u'\x0378';  // in no face

LOGFONTW Font(const std::u16string& Face, LONG Height, LONG Weight = FW_NORMAL) {
  LOGFONTW Lf;
  Lf.lfHeight = Height;
  Lf.lfWeight = Weight;
  std::copy_n(Face.begin(), std::min<size_t>(Face.size(), LF_FACESIZE - 1), Lf.lfFaceName);
  return Lf;
}

// A white 32-bit memory DC with one font selected and the reference point
// on the baseline, so faces with other ascents draw on the same line.
class TTextDC {
public:
  TTextDC(const LOGFONTW& Lf, int W = 120, int H = 50) : FW(W), FH(H) {
    FDc = CreateCompatibleDC(nullptr);
    FBm = CreateBitmap(W, H, 1, 32, nullptr);
    FOldBm = SelectObject(FDc, FBm);
    const TRect All{0, 0, W, H};
    FillRect(FDc, &All, HBRUSH(GetStockObject(WHITE_BRUSH)));
    FFont = CreateFontIndirectW(&Lf);
    FOldFont = SelectObject(FDc, FFont);
    SetBkMode(FDc, TRANSPARENT);
    SetTextAlign(FDc, TA_BASELINE);
  }
  ~TTextDC() {
    SelectObject(FDc, FOldFont);
    SelectObject(FDc, FOldBm);
    DeleteDC(FDc);
    DeleteObject(FBm);
    DeleteObject(FFont);
  }
  HDC Dc() const { return FDc; }
  void Draw(const std::u16string& S) { TextOutW(FDc, 10, 35, S.c_str(), int(S.size())); }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> P;
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X) P.push_back(GetPixel(FDc, X, Y));
    return P;
  }
  int Extent(const std::u16string& S) const {
    TSize Sz{};
    GetTextExtentPoint32W(FDc, S.c_str(), int(S.size()), &Sz);
    return Sz.cx;
  }

private:
  int FW, FH;
  HDC FDc;
  HBITMAP FBm;
  HFONT FFont;
  HGDIOBJ FOldBm, FOldFont;
};

// The installed face that carries Han text, or empty (the test then skips).
std::u16string HanFace() { return FindFaceForCharacter(Han, Font(u"Arial", -20)); }

}  // namespace

TEST(FontFallback, ACharacterTheFaceLacksIsDrawnFromAFaceThatHasIt) {
  const std::u16string Cjk = HanFace();
  if (Cjk.empty()) GTEST_SKIP() << "no installed face has Han characters";
  TTextDC Linked(Font(u"Arial", -20)), Direct(Font(Cjk, -20)), Missing(Font(u"Arial", -20));
  Linked.Draw(std::u16string(1, Han));
  Direct.Draw(std::u16string(1, Han));
  Missing.Draw(std::u16string(1, Unassigned));
  EXPECT_EQ(Linked.Pixels(), Direct.Pixels()) << "the CJK face's glyph, at the same em and baseline";
  EXPECT_NE(Linked.Pixels(), Missing.Pixels()) << "not the missing-glyph box";
}

TEST(FontFallback, MixedTextKeepsItsOwnGlyphsAndAdvancesByTheFallbackWidths) {
  const std::u16string Cjk = HanFace();
  if (Cjk.empty()) GTEST_SKIP() << "no installed face has Han characters";
  TTextDC Arial(Font(u"Arial", -20), 200), Cjk20(Font(Cjk, -20), 200);
  const std::u16string Latin{u'A', u'b'}, Mixed = Latin + Han + Latin;
  const int Expect = 2 * Arial.Extent(Latin) + Cjk20.Extent(std::u16string(1, Han));
  EXPECT_EQ(Arial.Extent(Mixed), Expect);
  // DrawText measures through the same widths.
  std::u16string Buf = Mixed;
  TRect R{0, 0, 500, 100};
  DrawTextW(Arial.Dc(), Buf.data(), int(Buf.size()), &R, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(R.Width(), Expect);
  // The Latin letters on both sides are Arial's, the middle is the CJK face's.
  TTextDC Drawn(Font(u"Arial", -20), 200), Parts(Font(u"Arial", -20), 200);
  Drawn.Draw(Mixed);
  TextOutW(Parts.Dc(), 10, 35, Latin.c_str(), 2);
  TextOutW(Parts.Dc(), 10 + Arial.Extent(Latin) + Cjk20.Extent(std::u16string(1, Han)), 35, Latin.c_str(), 2);
  {
    const LOGFONTW Lf = Font(Cjk, -20);
    HFONT F = CreateFontIndirectW(&Lf);
    HGDIOBJ Old = SelectObject(Parts.Dc(), F);
    const char16_t H[1] = {Han};
    TextOutW(Parts.Dc(), 10 + Arial.Extent(Latin), 35, H, 1);
    SelectObject(Parts.Dc(), Old);
    DeleteObject(F);
  }
  EXPECT_EQ(Drawn.Pixels(), Parts.Pixels());
}

TEST(FontFallback, WidthQueriesAnswerForTheFaceThatDrawsTheCharacter) {
  const std::u16string Cjk = HanFace();
  if (Cjk.empty()) GTEST_SKIP() << "no installed face has Han characters";
  struct TCase {
    std::u16string Face;
    LONG Weight;
    char16_t Ch;
    bool FallsBack;
    const char* Why;
  };
  const TCase Cases[] = {
      {u"Arial", FW_NORMAL, Han, true, "a Latin face borrows the Han glyph"},
      {u"Times New Roman", FW_BOLD, Han, true, "also in bold"},
      {u"Arial", FW_NORMAL, u'A', false, "a character the face has is its own"},
      {u"Arial", FW_NORMAL, Unassigned, false, "no face has it: the missing glyph stays"},
      {u"Marlett", FW_NORMAL, Han, false, "symbol faces never borrow"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTextDC Own(Font(C.Face, -20, C.Weight)), Other(Font(Cjk, -20, C.Weight));
    const auto& Draws = C.FallsBack ? Other : Own;
    auto Inst = TFontInstance::Get(Font(C.Face, -20, C.Weight));
    const auto Ref = Inst->ResolveGlyph(C.Ch);
    EXPECT_EQ(Ref.Font != Inst.get(), C.FallsBack);
    const int Expect = C.FallsBack ? Ref.Font->GlyphAdvance(Ref.Font->GlyphIndex(C.Ch))
                                   : Inst->GlyphAdvance(Inst->GlyphIndex(C.Ch));
    const std::u16string S(1, C.Ch);
    EXPECT_EQ(Own.Extent(S), Expect);
    int W = -1;
    ASSERT_TRUE(GetCharWidth32W(Own.Dc(), C.Ch, C.Ch, &W));
    EXPECT_EQ(W, Expect);
    ABC Abc{}, Want{};
    if (GetCharABCWidthsW(Own.Dc(), C.Ch, C.Ch, &Abc)) {
      ASSERT_TRUE(GetCharABCWidthsW(Draws.Dc(), C.Ch, C.Ch, &Want));
      EXPECT_EQ(Abc.abcA, Want.abcA);
      EXPECT_EQ(Abc.abcB, Want.abcB);
      EXPECT_EQ(Abc.abcA + int(Abc.abcB) + Abc.abcC, Expect);
    }
    if (C.FallsBack) {
      EXPECT_EQ(Own.Extent(S), Other.Extent(S)) << "same em: the same width as the face itself gives";
    }
  }
}

TEST(FontFallback, AFallbackGlyphHasTheEmOfACellHeightFont) {
  // A positive height asks for the cell of the selected face; the borrowed
  // glyph gets that face's em, not a cell of its own.
  const std::u16string Cjk = HanFace();
  if (Cjk.empty()) GTEST_SKIP() << "no installed face has Han characters";
  auto Arial = TFontInstance::Get(Font(u"Arial", 30));
  const auto Ref = Arial->ResolveGlyph(Han);
  ASSERT_NE(Ref.Font, Arial.get());
  EXPECT_EQ(Ref.Font->EmPixels(), Arial->EmPixels());
}

TEST(FontFallback, RecordedTextCarriesTheFallbackAdvances) {
  const std::u16string Cjk = HanFace();
  if (Cjk.empty()) GTEST_SKIP() << "no installed face has Han characters";
  TTextDC CjkDc(Font(Cjk, -20));
  const std::u16string S = std::u16string(u"x") + Han + u"x";
  HDC Rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  const LOGFONTW Lf = Font(u"Arial", -20);
  HFONT F = CreateFontIndirectW(&Lf);
  SelectObject(Rec, F);
  TextOutW(Rec, 0, 0, S.c_str(), int(S.size()));
  HENHMETAFILE Mf = CloseEnhMetaFile(Rec);
  DeleteObject(F);
  std::vector<Byte> Bytes(GetEnhMetaFileBits(Mf, 0, nullptr));
  GetEnhMetaFileBits(Mf, UINT(Bytes.size()), Bytes.data());
  DeleteEnhMetaFile(Mf);
  std::vector<Integer> Dx;
  EmfForEachRecord(Bytes, [&](const TEmfRecord& R) {
    if (R.Type() == EMR_EXTTEXTOUTW) Dx = TEmrExtTextOut::Read(R).Dx;
    return true;
  });
  ASSERT_EQ(Dx.size(), 3u);
  EXPECT_EQ(Dx[1], CjkDc.Extent(std::u16string(1, Han))) << "the Han face's advance, so a player needs no fallback";
}

TEST(FontFallback, ASurrogatePairIsOneCharacterDrawnFromTheFaceThatHasIt) {
  constexpr char32_t Smiley = 0x1F600;
  const std::u16string Pair = u"\U0001F600";
  const std::u16string Face = FindFaceForCharacter(Smiley, Font(u"Arial", -20));
  if (Face.empty()) GTEST_SKIP() << "no installed face has U+1F600";
  auto Own = TFontInstance::Get(Font(Face, -20));
  ASSERT_NE(Own->GlyphIndex(Smiley), 0u);
  const int Advance = Own->GlyphAdvance(Own->GlyphIndex(Smiley));
  TTextDC InFace(Font(Face, -20)), Linked(Font(u"Arial", -20));
  for (const TTextDC* Dc : {&InFace, &Linked}) {
    int Fit = 0, Dx[2] = {0, 0};
    TSize Sz{};
    ASSERT_TRUE(GetTextExtentExPointW(Dc->Dc(), Pair.c_str(), 2, 1000, &Fit, Dx, &Sz));
    EXPECT_EQ(Sz.cx, Advance) << "one glyph, not two missing ones";
    EXPECT_EQ(Dx[0], Advance);
    EXPECT_EQ(Dx[1], Advance);
  }
  InFace.Draw(Pair);
  Linked.Draw(Pair);
  EXPECT_EQ(Linked.Pixels(), InFace.Pixels());
  // A surrogate without its partner is no character: the missing glyph.
  auto Arial = TFontInstance::Get(Font(u"Arial", -20));
  EXPECT_EQ(Linked.Extent(u"\xD83D"), Arial->GlyphAdvance(0));
  EXPECT_EQ(Linked.Extent(u"\xDE00\xD83D"), 2 * Arial->GlyphAdvance(0)) << "the wrong order is no pair";
}
