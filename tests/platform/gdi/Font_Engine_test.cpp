// The font engine against FreeType read independently: metrics at a device
// size, face substitution, the raw sfnt bytes and collection extraction.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/gdi/FontEngine.h"
#include "platform/rtl/Exceptions.h"
#include "support/TestFiles.h"

namespace {

LOGFONTW MakeFont(const char16_t* Face, LONG Height, LONG Weight = FW_NORMAL, bool Italic = false) {
  LOGFONTW Lf;
  Lf.lfHeight = Height;
  Lf.lfWeight = Weight;
  Lf.lfItalic = Italic;
  for (int I = 0; Face[I] && I < LF_FACESIZE - 1; ++I) Lf.lfFaceName[I] = Face[I];
  return Lf;
}


std::uint32_t U32(const std::uint8_t* P) { return (P[0] << 24) | (P[1] << 16) | (P[2] << 8) | P[3]; }
std::uint16_t U16(const std::uint8_t* P) { return std::uint16_t((P[0] << 8) | P[1]); }

// The table tags of an sfnt, after checking that every record lies inside it.
std::vector<std::string> TableTags(const std::vector<std::uint8_t>& F) {
  std::vector<std::string> Tags;
  if (F.size() < 12) return Tags;
  const int N = U16(F.data() + 4);
  for (int I = 0; I < N; ++I) {
    const std::uint8_t* R = F.data() + 12 + 16 * I;
    EXPECT_LE(size_t(U32(R + 8)) + U32(R + 12), F.size()) << "table " << std::string((const char*)R, 4);
    Tags.emplace_back(reinterpret_cast<const char*>(R), 4);
  }
  return Tags;
}

const char* LiberationSerif = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf";

}  // namespace

TEST(TFontInstance, LiberationSerifTwelvePointMatchesFreeTypeTables) {
  // 12 pt on a 96-dpi screen is an em of 16 pixels.
  auto Inst = TFontInstance::Get(MakeFont(u"Times New Roman", -16));
  FT_Library Lib;
  ASSERT_EQ(FT_Init_FreeType(&Lib), 0);
  FT_Face F;
  ASSERT_EQ(FT_New_Face(Lib, LiberationSerif, 0, &F), 0);
  const auto* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
  const auto* Hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(F, FT_SFNT_HHEA));
  const double S = 16.0 / F->units_per_EM;
  const TEXTMETRICW& Tm = Inst->Metrics();
  EXPECT_EQ(Tm.tmAscent, std::lround(Os2->usWinAscent * S));
  EXPECT_EQ(Tm.tmDescent, std::lround(Os2->usWinDescent * S));
  EXPECT_EQ(Tm.tmHeight, Tm.tmAscent + Tm.tmDescent);
  EXPECT_EQ(Tm.tmInternalLeading, Tm.tmHeight - 16);
  const double Gap = Hhea->Line_Gap - ((Os2->usWinAscent + Os2->usWinDescent) - (Hhea->Ascender - Hhea->Descender));
  EXPECT_EQ(Tm.tmExternalLeading, std::max(0L, std::lround(Gap * S)));
  EXPECT_EQ(Tm.tmAveCharWidth, std::lround(Os2->xAvgCharWidth * S));
  EXPECT_EQ(Tm.tmMaxCharWidth, std::lround(Hhea->advance_Width_Max * S));
  EXPECT_EQ(Tm.tmWeight, 400);
  EXPECT_EQ(Tm.tmCharSet, ANSI_CHARSET);
  // Variable pitch sets the misnamed fixed-pitch bit; serif faces are FF_ROMAN.
  EXPECT_EQ(Tm.tmPitchAndFamily, FF_ROMAN | TMPF_TRUETYPE | TMPF_VECTOR | TMPF_FIXED_PITCH);
  // Advances are the hmtx widths scaled and rounded.
  for (char16_t C : std::u16string(u"AWiy.")) {
    const FT_UInt G = FT_Get_Char_Index(F, C);
    FT_Load_Glyph(F, G, FT_LOAD_NO_SCALE);
    EXPECT_EQ(Inst->GlyphAdvance(Inst->GlyphIndex(C)), std::lround(F->glyph->metrics.horiAdvance * S)) << char(C);
  }
  const auto& O = Inst->OutlineMetrics();
  EXPECT_EQ(O.otmEMSquare, F->units_per_EM);
  EXPECT_EQ(O.otmAscent, std::lround(Os2->sTypoAscender * S));
  EXPECT_EQ(O.otmDescent, std::lround(Os2->sTypoDescender * S));
  EXPECT_EQ(O.otmsXHeight, UINT(std::lround(Os2->sxHeight * S)));
  EXPECT_EQ(O.otmfsType, Os2->fsType);
  FT_Done_Face(F);
  FT_Done_FreeType(Lib);
}

TEST(TFontInstance, PositiveHeightAsksForTheCell) {
  for (LONG H : {10, 13, 16, 23, 100}) {
    SCOPED_TRACE(H);
    auto Inst = TFontInstance::Get(MakeFont(u"Arial", H));
    EXPECT_EQ(Inst->Metrics().tmHeight, H);
    EXPECT_LT(Inst->EmPixels(), H);
  }
}

TEST(TFontInstance, HeightZeroTakesTheDefaultCell) {
  EXPECT_EQ(TFontInstance::Get(MakeFont(u"Arial", 0))->Metrics().tmHeight, 16);
}

struct TSubstCase {
  const char16_t* Face;
  LONG Weight;
  bool Italic;
  const char* File;
  bool SynthBold, SynthItalic;
};

TEST(ResolveFontFace, WindowsFacesMapToMetricCompatibleFiles) {
  const TSubstCase Cases[] = {
      {u"Arial", 400, false, "LiberationSans-Regular.ttf", false, false},
      {u"arial", 700, true, "LiberationSans-BoldItalic.ttf", false, false},
      {u"Helvetica", 400, false, "LiberationSans-Regular.ttf", false, false},
      {u"Times New Roman", 700, false, "LiberationSerif-Bold.ttf", false, false},
      {u"Courier New", 400, true, "LiberationMono-Italic.ttf", false, false},
      {u"Tahoma", 400, false, "DejaVuSans.ttf", false, false},
      {u"MS Sans Serif", 400, false, "DejaVuSans.ttf", false, false},
      {u"No Such Face Anywhere", 400, false, ".ttf", false, false},
      {u"", 400, false, "LiberationSans-Regular.ttf", false, false},
      // DejaVu Sans Mono has bold but no italic other than oblique; the math
      // face has neither, so both are synthesized.
      {u"DejaVu Math TeX Gyre", 700, true, "DejaVuMathTeXGyre.ttf", true, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.File));
    TResolvedFace R = ResolveFontFace(MakeFont(C.Face, -16, C.Weight, C.Italic));
    ASSERT_TRUE(R.File);
    std::vector<std::uint8_t> Bytes(256);
    auto Inst = TFontInstance::Get(MakeFont(C.Face, -16, C.Weight, C.Italic));
    const DWORD Size = Inst->FontData(0, 0, nullptr, 0);
    ASSERT_NE(Size, GDI_FONTDATA_ERROR);
    const std::string Expected = C.File;
    auto OnDisk = sxtest::ReadFileBytes(std::string(C.File[0] == 'L' ? "/usr/share/fonts/truetype/liberation2/"
                                                        : "/usr/share/fonts/truetype/dejavu/") + C.File);
    if (Expected != ".ttf") {
      EXPECT_EQ(Size, OnDisk.size());
    }
    EXPECT_EQ(R.SynthBold, C.SynthBold);
    EXPECT_EQ(R.SynthItalic, C.SynthItalic);
  }
}

TEST(ResolveFontFace, AliasKeepsTheRequestedFaceName) {
  EXPECT_EQ(ResolveFontFace(MakeFont(u"Arial", -16)).FaceName, u"Arial");
  EXPECT_EQ(ResolveFontFace(MakeFont(u"DejaVu Serif", -16)).FaceName, u"DejaVu Serif");
  EXPECT_FALSE(ResolveFontFace(MakeFont(u"Some Unknown Face", -16)).FaceName.empty());
}

TEST(TFontInstance, FontDataIsTheFileAndItsTables) {
  auto Inst = TFontInstance::Get(MakeFont(u"Times New Roman", -16));
  const auto File = sxtest::ReadFileBytes(LiberationSerif);
  const DWORD Size = Inst->FontData(0, 0, nullptr, 0);
  ASSERT_EQ(Size, File.size());
  std::vector<std::uint8_t> Got(Size);
  EXPECT_EQ(Inst->FontData(0, 0, Got.data(), Size), Size);
  EXPECT_EQ(Got, File);
  auto Tags = TableTags(Got);
  for (const char* T : {"cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp"})
    EXPECT_NE(std::find(Tags.begin(), Tags.end(), T), Tags.end()) << T;
  // 'head' by tag: the magic number sits at offset 12.
  const DWORD HeadTag = 'h' | ('e' << 8) | ('a' << 16) | ('d' << 24);
  std::uint8_t Magic[4];
  EXPECT_EQ(Inst->FontData(HeadTag, 12, Magic, 4), 4u);
  EXPECT_EQ(U32(Magic), 0x5F0F3CF5u);
  // Absent tables and offsets past the end fail; a short buffer gets what fits.
  EXPECT_EQ(Inst->FontData('z' | ('z' << 8) | ('z' << 16) | ('z' << 24), 0, nullptr, 0), GDI_FONTDATA_ERROR);
  EXPECT_EQ(Inst->FontData(0, Size + 1, nullptr, 0), GDI_FONTDATA_ERROR);
  EXPECT_EQ(Inst->FontData(0, Size - 2, Magic, 4), 2u);
  EXPECT_FALSE(Inst->IsCFF());
}

TEST(ExtractCollectionFace, CutsEachFaceOutAsAValidFont) {
  // A collection of two faces built here: header, two directories, tables.
  const std::vector<std::vector<std::uint8_t>> Faces = {
      sxtest::ReadFileBytes(LiberationSerif), sxtest::ReadFileBytes("/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf")};
  std::vector<std::uint8_t> Ttc = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
  auto Put32 = [](std::vector<std::uint8_t>& V, size_t At, std::uint32_t X) {
    V[At] = X >> 24; V[At + 1] = X >> 16; V[At + 2] = X >> 8; V[At + 3] = X;
  };
  std::vector<size_t> DirAt;
  for (const auto& F : Faces) {
    DirAt.push_back(Ttc.size());
    const size_t DirLen = 12 + 16 * size_t(U16(F.data() + 4));
    Ttc.insert(Ttc.end(), F.begin(), F.begin() + DirLen);
  }
  for (size_t K = 0; K < Faces.size(); ++K) {
    Put32(Ttc, 12 + 4 * K, std::uint32_t(DirAt[K]));
    const auto& F = Faces[K];
    for (int T = 0; T < U16(F.data() + 4); ++T) {
      const std::uint8_t* R = F.data() + 12 + 16 * T;
      Put32(Ttc, DirAt[K] + 12 + 16 * T + 8, std::uint32_t(Ttc.size()));
      Ttc.insert(Ttc.end(), F.begin() + U32(R + 8), F.begin() + U32(R + 8) + U32(R + 12));
      while (Ttc.size() % 4) Ttc.push_back(0);
    }
  }
  FT_Library Lib;
  ASSERT_EQ(FT_Init_FreeType(&Lib), 0);
  const char* Families[] = {"Liberation Serif", "Liberation Mono"};
  for (int K = 0; K < 2; ++K) {
    auto Face = ExtractCollectionFace(Ttc, K);
    EXPECT_EQ(TableTags(Face), TableTags(Faces[K]));
    FT_Face F;
    ASSERT_EQ(FT_New_Memory_Face(Lib, Face.data(), FT_Long(Face.size()), 0, &F), 0);
    EXPECT_STREQ(F->family_name, Families[K]);
    EXPECT_EQ(F->num_faces, 1);
    FT_Done_Face(F);
    // The whole-font checksum comes out at the sfnt magic value.
    std::uint32_t Sum = 0;
    for (size_t I = 0; I + 4 <= Face.size(); I += 4) Sum += U32(Face.data() + I);
    EXPECT_EQ(Sum, 0xB1B0AFBAu);
  }
  FT_Done_FreeType(Lib);
  // Bad input raises instead of reading outside the data.
  EXPECT_THROW(ExtractCollectionFace(Ttc, 2), EInvalidGraphic);
  EXPECT_THROW(ExtractCollectionFace(Faces[0], 0), EInvalidGraphic);
  auto Cut = Ttc;
  Cut.resize(DirAt[1] + 20);
  EXPECT_THROW(ExtractCollectionFace(Cut, 1), EInvalidGraphic);
  EXPECT_THROW(ExtractCollectionFace(Cut, 0), EInvalidGraphic);
}

TEST(TFontInstance, SymbolFacesMapTheirCodes) {
  auto Marlett = TFontInstance::Get(MakeFont(u"Marlett", -13));
  EXPECT_EQ(Marlett->Metrics().tmCharSet, SYMBOL_CHARSET);
  EXPECT_EQ(Marlett->Metrics().tmPitchAndFamily & TMPF_TRUETYPE, 0);
  EXPECT_EQ(Marlett->FontData(0, 0, nullptr, 0), GDI_FONTDATA_ERROR);
  // The check box face fills the em; its mark stays inside the face.
  const auto& Face = Marlett->Glyph(Marlett->GlyphIndex(u'g'));
  const auto& Mark = Marlett->Glyph(Marlett->GlyphIndex(u'b'));
  EXPECT_EQ(Face.Width, 9);
  EXPECT_EQ(Face.Height, 9);
  EXPECT_GE(Mark.Left, Face.Left);
  EXPECT_LE(Mark.Left + Mark.Width, Face.Left + Face.Width);
  EXPECT_EQ(Marlett->GlyphAdvance(Marlett->GlyphIndex(u'b')), 13);
  auto Symbol = TFontInstance::Get(MakeFont(u"Symbol", -16));
  EXPECT_EQ(Symbol->Metrics().tmCharSet, SYMBOL_CHARSET);
  // 'a' is alpha in the Symbol encoding, also when reached through U+F061.
  auto Dejavu = TFontInstance::Get(MakeFont(u"DejaVu Sans", -16));
  EXPECT_EQ(Symbol->GlyphIndex(u'a'), Dejavu->GlyphIndex(u'\x03B1'));
  EXPECT_EQ(Symbol->GlyphIndex(u'\xF061'), Dejavu->GlyphIndex(u'\x03B1'));
  EXPECT_EQ(Symbol->GlyphIndex(u'+'), Dejavu->GlyphIndex(u'+'));
}

TEST(TFontInstance, SyntheticBoldWidensAdvancesByOnePixel) {
  auto Plain = TFontInstance::Get(MakeFont(u"DejaVu Math TeX Gyre", -16));
  auto Bold = TFontInstance::Get(MakeFont(u"DejaVu Math TeX Gyre", -16, FW_BOLD));
  ASSERT_TRUE(Bold->Face().SynthBold);
  const auto G = Plain->GlyphIndex(u'm');
  EXPECT_EQ(Bold->GlyphAdvance(G), Plain->GlyphAdvance(G) + 1);
  EXPECT_EQ(Bold->Metrics().tmWeight, FW_BOLD);
}

TEST(TFontInstance, RotatedGlyphIsTallerThanWide) {
  LOGFONTW Lf = MakeFont(u"Arial", -32);
  Lf.lfEscapement = 900;
  auto Up = TFontInstance::Get(Lf);
  auto Flat = TFontInstance::Get(MakeFont(u"Arial", -32));
  const auto G = Flat->GlyphIndex(u'-');
  EXPECT_GT(Flat->Glyph(G).Width, Flat->Glyph(G).Height);
  EXPECT_GT(Up->Glyph(G).Height, Up->Glyph(G).Width);
}

// Font instances are shared between threads (layout in one, drawing in
// another); the search for a face that has a missing character keeps caches
// in the instance and for the whole run, which every thread must find whole.
TEST(TFontInstance, ThreadsLookingForFallbackFacesAtOnceGetTheSameAnswers) {
  auto Inst = TFontInstance::Get(MakeFont(u"Liberation Serif", -15));
  // Greek, Cyrillic extended, arrows, CJK: most lie outside the face.
  std::vector<char32_t> Chars;
  for (char32_t C = 0x2190; C < 0x2200; ++C) Chars.push_back(C);
  for (char32_t C = 0x4E00; C < 0x4F00; ++C) Chars.push_back(C);
  for (char32_t C = 0x0500; C < 0x0530; ++C) Chars.push_back(C);
  std::vector<std::vector<const TFontInstance*>> Seen(6);
  std::vector<std::thread> Pool;
  for (std::size_t T = 0; T < Seen.size(); ++T)
    Pool.emplace_back([&, T] {
      for (std::size_t K = 0; K < Chars.size(); ++K) {
        // Each thread walks the characters from its own starting point, so
        // the threads insert into the caches at the same time.
        const char32_t C = Chars[(K + T * 97) % Chars.size()];
        Seen[T].push_back(Inst->ResolveGlyph(C).Font);
      }
    });
  for (auto& T : Pool) T.join();
  for (std::size_t T = 1; T < Seen.size(); ++T)
    for (std::size_t K = 0; K < Chars.size(); ++K)
      EXPECT_EQ(Seen[T][(K + Chars.size() - (T * 97) % Chars.size()) % Chars.size()], Seen[0][K]) << "thread " << T;
}
