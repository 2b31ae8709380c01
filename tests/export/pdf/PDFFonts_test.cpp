#include "PdfTestSupport.h"
#include "../../platform/richedit/Layout_TestSupport.h"
#include "export/pdf/PdfFont.h"
#include "../../platform/gdi/FontFormats_TestSupport.h"
#include "platform/rtl/CodePages.h"

using namespace pdftest;

namespace {
TRichCharFormat Face(const char16_t* Name, BYTE Charset = 0, bool Bold = false) {
  TRichCharFormat F;
  F.Face = Name;
  F.Size = 24;
  F.Bold = Bold;
  F.Charset = Charset;
  return F;
}

TRichDocument LatinAndCyrillic() {
  richtest::TDocBuilder B;
  B.Para(u"Plain Latin words", {}, Face(u"Arial"));
  B.Para(u"Bold serif line", {}, Face(u"Times New Roman", 0, true));
  B.Para(u"Привет мир", {}, Face(u"Arial", RUSSIAN_CHARSET));
  return B.Done();
}

// pdffonts rows as "name type emb sub uni".
std::vector<std::string> FontRows(const std::string& File) {
  std::istringstream S(pdftest::Run("pdffonts '" + File + "'"));
  std::string Line;
  std::vector<std::string> Rows;
  for (int I = 0; std::getline(S, Line); ++I) {
    if (I < 2) continue;
    std::istringstream L(Line);
    std::vector<std::string> T;
    for (std::string W; L >> W;) T.push_back(W);
    if (T.size() < 7) continue;
    const std::size_t N = T.size();
    // The type may be two words ("CID TrueType").
    std::string Type = T[1];
    for (std::size_t K = 2; K + 6 < N; ++K) Type += " " + T[K];
    Rows.push_back(T[0] + " " + Type + " " + T[N - 5] + " " + T[N - 4] + " " + T[N - 3]);
  }
  return Rows;
}

struct TEmbedCase {
  TgtTTFontEmbedding Embed;
  const char* Arial;
  const char* TimesBold;
  const char* Cyrillic;
};
}  // namespace

TEST(TgtPDFFont, FontsAreWrittenAsTheSettingsAsk) {
  const TEmbedCase Cases[] = {
      // A composite font's glyph ids mean nothing without its file: it is
      // embedded whatever the setting.
      {etfNone, "Arial TrueType no no no", "TimesNewRoman,Bold TrueType no no no",
       "WYOIAS+Arial CID TrueType yes yes yes"},
      {etfFull, "Arial TrueType yes no no", "TimesNewRoman,Bold TrueType yes no no", "Arial CID TrueType yes no yes"},
      {etfSubset, "WYOIAS+Arial TrueType yes yes no", "WYOIAS+TimesNewRoman,Bold TrueType yes yes no",
       "WYOIAS+Arial CID TrueType yes yes yes"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Embed));
    TTempDir Dir;
    TgtPDFEngine E;
    E.GetPreferences()->SetEmbedTrueTypeFonts(C.Embed);
    const std::string File = RenderDocument(E, LatinAndCyrillic(), Dir.File("fonts"));
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    const auto Rows = FontRows(File);
    ASSERT_EQ(Rows.size(), 3u) << pdftest::Run("pdffonts " + File);
    EXPECT_EQ(Rows[0], C.Arial);
    EXPECT_EQ(Rows[1], C.TimesBold);
    EXPECT_EQ(Rows[2], C.Cyrillic);
    EXPECT_EQ(Words(PdfToText(File)), "Plain Latin words Bold serif line Привет мир");
    // Poppler reads the embedded programs without complaint (its messages
    // come on stderr).
    EXPECT_EQ(pdftest::Run("pdftoppm -r 20 -png '" + File + "' '" + Dir.File("r") + "' 2>&1 | grep -i error"), "");
  }
}

TEST(TgtPDFFont, SubsetIsSmallerThanTheWholeFontAndKeepsItsGlyphs) {
  TTempDir Dir;
  TgtPDFEngine Full, Sub;
  Full.GetCompression()->Enabled = false;
  Sub.GetCompression()->Enabled = false;
  Full.GetPreferences()->SetEmbedTrueTypeFonts(etfFull);
  Sub.GetPreferences()->SetEmbedTrueTypeFonts(etfSubset);
  richtest::TDocBuilder B1, B2;
  B1.Para(u"abc", {}, Face(u"Arial"));
  B2.Para(u"abc", {}, Face(u"Arial"));
  const auto FullFile = RenderDocument(Full, B1.Done(), Dir.File("full"));
  const auto SubFile = RenderDocument(Sub, B2.Done(), Dir.File("sub"));
  const auto FullSize = std::filesystem::file_size(FullFile), SubSize = std::filesystem::file_size(SubFile);
  EXPECT_LT(SubSize * 4, FullSize);
  EXPECT_EQ(Words(PdfToText(SubFile)), "abc");
}

TEST(TgtPDFFont, ExcludedFaceIsNeverEmbedded) {
  TTempDir Dir;
  TgtPDFEngine E;
  E.GetPreferences()->SetEmbedTrueTypeFonts(etfSubset);
  E.GetFontEmbedExcludeList()->Add("Arial");
  const std::string File = RenderDocument(E, LatinAndCyrillic(), Dir.File("ex"));
  const auto Rows = FontRows(File);
  ASSERT_EQ(Rows.size(), 3u);
  EXPECT_EQ(Rows[0], "Arial TrueType no no no");
  EXPECT_EQ(Rows[1], "WYOIAS+TimesNewRoman,Bold TrueType yes yes no");
  EXPECT_EQ(Rows[2], "Arial CID TrueType no no yes");
}

TEST(TgtPDFFont, DescriptorMetricsAreNotWholeInches) {
  TFont F;
  F.SetName("Arial");
  TgtPDFFont P(&F, false, 6);
  // Arial's ascent is 905 thousandths; whole inches of 72 would give 864 or 936.
  EXPECT_NEAR(P.Info().Ascent, 905, 15);
  EXPECT_NE(P.Info().Ascent % 72, 0);
  EXPECT_EQ(P.GetBaseFontName(), "Arial");
  EXPECT_EQ(P.Info().Kind, 0);
}

TEST(TgtPDFFont, BaseNamesOfStylesLoseBlanks) {
  struct TCase { const char* Face; bool Bold, Italic; const char* Want; };
  const TCase Cases[] = {{"Arial", true, true, "Arial,BoldItalic"},
                         {"Times New Roman", false, true, "TimesNewRoman,Italic"},
                         {"Courier New", true, false, "CourierNew,Bold"}};
  for (auto& C : Cases) {
    TFont F;
    F.SetName(C.Face);
    TFontStyles S;
    if (C.Bold) S << fsBold;
    if (C.Italic) S << fsItalic;
    F.SetStyle(S);
    EXPECT_EQ(TgtPDFFont(&F, false, 6).GetBaseFontName(), C.Want);
  }
}

namespace {
// A minimal TrueType file: the given tables with a directory.
std::string MakeFont(const std::vector<std::pair<std::string, std::string>>& Tables) {
  auto P32 = [](std::string& D, std::uint32_t V) { for (int S = 24; S >= 0; S -= 8) D += char((V >> S) & 0xFF); };
  auto P16 = [](std::string& D, std::uint16_t V) { D += char(V >> 8); D += char(V & 0xFF); };
  std::string Out;
  P32(Out, 0x00010000);
  P16(Out, std::uint16_t(Tables.size()));
  P16(Out, 0); P16(Out, 0); P16(Out, 0);
  std::uint32_t Off = 12 + 16 * std::uint32_t(Tables.size());
  std::string Body;
  for (auto& [Tag, Data] : Tables) {
    Out += Tag;
    P32(Out, 0);
    P32(Out, Off + std::uint32_t(Body.size()));
    P32(Out, std::uint32_t(Data.size()));
    Body += Data;
    while (Body.size() % 4) Body += '\0';
  }
  return Out + Body;
}
}  // namespace

TEST(TgtPDFFont, SubsetOfAFontWithoutHintingTablesListsOnlyTablesPresent) {
  // Three glyphs of 12 bytes (simple, 1 contour), short loca.
  std::string Head(54, '\0');
  Head[50] = 0;   // short loca
  std::string Maxp(6, '\0');
  Maxp[5] = 3;
  std::string Glyph(12, '\0');
  Glyph[1] = 1;
  const std::string Glyf = Glyph + Glyph + Glyph;
  std::string Loca;
  for (int I = 0; I <= 3; ++I) { Loca += char(0); Loca += char(I * 6); }
  std::string Hhea(36, '\0');
  const std::string Font = MakeFont({{"glyf", Glyf}, {"head", Head}, {"hhea", Hhea}, {"hmtx", std::string(12, '\0')},
                                     {"loca", Loca}, {"maxp", Maxp}});
  const std::string Sub = gtSubsetTrueType(Font, {2});
  ASSERT_FALSE(Sub.empty());
  EXPECT_EQ(Byte(Sub[5]), 6u);   // numTables: the six present
  // Glyphs 0 and 2 kept, glyph 1 emptied: loca 0, 6, 6, 12.
  const auto Dir = Sub.find("loca");
  const std::size_t LocaAt = (Byte(Sub[Dir + 8]) << 24) | (Byte(Sub[Dir + 9]) << 16) | (Byte(Sub[Dir + 10]) << 8) | Byte(Sub[Dir + 11]);
  EXPECT_EQ(Sub.substr(LocaAt, 8), std::string("\0\0\0\x06\0\x06\0\x0c", 8));
}

TEST(TgtPDFFont, CorruptFontsGiveNoSubsetInsteadOfReadingPastTheirEnd) {
  const std::string Cases[] = {std::string(), std::string(12, '\0'), std::string("\0\1\0\0\0\x40", 6),
                               MakeFont({{"glyf", "x"}, {"head", "y"}, {"loca", ""}, {"maxp", "\0\0\0\0\xFF\xFF"}})};
  for (auto& F : Cases) EXPECT_TRUE(gtSubsetTrueType(F, {1, 2, 3}).empty());
}

namespace {
struct TFallbackCase {
  const char16_t* Text;
  const char16_t* Want;              // pdftotext's words
  std::vector<std::string> Fonts;    // pdffonts rows after the primary's
  const char* Why;
};
}  // namespace

TEST(TgtPDFFont, CharactersTheFaceLacksAreWrittenInAFaceThatHasThem) {
  const bool HaveCjk = pdftest::Run("fc-list ':charset=4e2d' family").find("WenQuanYi") != std::string::npos;
  const TFallbackCase Cases[] = {
      {u"Tea \u4E2D\u6587 menu", u"Tea \u4E2D\u6587 menu", {"WYOIAS+WenQuanYiMicroHei CID TrueType yes yes yes"},
       "CJK in a Latin face"},
      {u"Snow \u2603 and \u4E2D end", u"Snow \u2603 and \u4E2D end",
       {"WYOIAS+DejaVuSans CID TrueType yes yes yes", "WYOIAS+WenQuanYiMicroHei CID TrueType yes yes yes"},
       "two fallback faces in one line, each once"},
      {u"before \uE000 after \U0010FFFD done", u"before \uFFFD after \uFFFD done", {},
       "no face has them: the missing glyph, and the rest of the line stays"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    if (!HaveCjk && !C.Fonts.empty() && C.Fonts.back().find("WenQuanYi") != std::string::npos) {
      ADD_FAILURE() << "fonts-wqy-microhei is not installed (scripts/install-deps)";
      continue;
    }
    TTempDir Dir;
    TgtPDFEngine E;
    E.GetPreferences()->SetEmbedTrueTypeFonts(etfSubset);
    richtest::TDocBuilder B;
    B.Para(C.Text, {}, Face(u"Arial"));
    const std::string File = RenderDocument(E, B.Done(), Dir.File("fallback"));
    std::string Report;
    EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
    EXPECT_EQ(Words(PdfToText(File)), Words(UTF8Encode(C.Want)));
    auto Rows = FontRows(File);
    ASSERT_FALSE(Rows.empty());
    EXPECT_EQ(Rows[0], "WYOIAS+Arial CID TrueType yes yes yes");
    Rows.erase(Rows.begin());
    EXPECT_EQ(Rows, C.Fonts) << pdftest::Run("pdffonts " + File);
    EXPECT_EQ(pdftest::Run("pdftoppm -r 20 -png '" + File + "' '" + Dir.File("r") + "' 2>&1 | grep -i error"), "");
  }
}

TEST(TgtPDFFont, FaceNameTheCodePageCannotCarryIsWrittenAsTheFaceUsed) {
  // A Chinese face name reaches the font as "??" on a 1252 system.
  TTempDir Dir;
  TgtPDFEngine E;
  richtest::TDocBuilder B;
  B.Para(u"\u4E2D\u6587 text", {}, Face(u"\u5B8B\u4F53", GB2312_CHARSET));
  const std::string File = RenderDocument(E, B.Done(), Dir.File("name"));
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  const auto Rows = FontRows(File);
  ASSERT_FALSE(Rows.empty());
  for (const auto& R : Rows) EXPECT_EQ(R.find('?'), std::string::npos) << R;
  EXPECT_EQ(Words(PdfToText(File)), Words(UTF8Encode(u"\u4E2D\u6587 text")));
}

TEST(TgtPDFFont, CyrillicInAFaceWithoutOutlinesIsWrittenInOneThatHasThem) {
  // The built-in Marlett has no outlines to write: Arial carries the text,
  // at the item's size written as a number, not a truncated integer.
  TTempDir Dir;
  TgtPDFEngine E;
  E.GetCompression()->Enabled = false;
  SetUpLikeTheApplication(E, Dir.File("marlett"));
  E.BeginDoc();
  E.GetFont()->SetName("Marlett");
  E.GetFont()->SetCharset(RUSSIAN_CHARSET);
  E.GetFont()->SetSize(14);
  E.TextOut(30, 30, u"Привет мир");
  E.EndDoc();
  const std::string File = Dir.File("marlett.pdf");
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  EXPECT_NE(ReadFile(File).find("14.0000 Tf"), std::string::npos);
  EXPECT_EQ(Words(PdfToText(File)), "Привет мир");
  const auto Rows = FontRows(File);
  ASSERT_FALSE(Rows.empty());
  EXPECT_EQ(Rows.back(), "WYOIAS+Arial CID TrueType yes yes yes");
}

TEST(TgtPDFFont, FaceOutOfACollectionIsEmbeddedAsOneFont) {
  if (pdftest::Run("fc-list ':charset=4e2d' file").find(".ttc") == std::string::npos)
    GTEST_SKIP() << "no CJK face in a collection installed";
  TTempDir Dir;
  TgtPDFEngine E;
  E.GetCompression()->Enabled = false;
  E.GetPreferences()->SetEmbedTrueTypeFonts(etfFull);
  richtest::TDocBuilder B;
  B.Para(u"Tea \u4E2D\u6587", {}, Face(u"Arial"));
  const std::string File = RenderDocument(E, B.Done(), Dir.File("ttc"));
  const std::string Pdf = ReadFile(File);
  // A collection's header would name its faces; one face is a plain sfnt.
  EXPECT_EQ(Pdf.find("ttcf"), std::string::npos);
  EXPECT_NE(Pdf.find(std::string("stream\r\n\0\1\0\0", 12)), std::string::npos);
  std::string Report;
  EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
  EXPECT_EQ(pdftest::Run("pdftoppm -r 20 -png '" + File + "' '" + Dir.File("r") + "' 2>&1 | grep -i error"), "");
  EXPECT_EQ(Words(PdfToText(File)), Words(UTF8Encode(u"Tea \u4E2D\u6587")));
}

namespace {
void Be16(std::string& D, std::uint32_t V) { D += char((V >> 8) & 0xFF); D += char(V & 0xFF); }
void Be32(std::string& D, std::uint32_t V) { Be16(D, V >> 16); Be16(D, V & 0xFFFF); }

// A cmap table with one subtable of the given platform, encoding and bytes.
std::string CmapWith(std::uint16_t Platform, std::uint16_t Encoding, const std::string& Sub, std::uint32_t Offset = 12) {
  std::string C;
  Be16(C, 0); Be16(C, 1); Be16(C, Platform); Be16(C, Encoding); Be32(C, Offset);
  return C + Sub;
}

// Format 4 with segments {start, end, delta, rangeOffset} and a glyph array.
std::string Format4(const std::vector<std::array<std::uint16_t, 4>>& Segs, const std::vector<std::uint16_t>& GlyphIds,
                    std::uint16_t SegCountX2 = 0) {
  std::string Body;
  for (auto& S : Segs) Be16(Body, S[1]);
  Be16(Body, 0);
  for (auto& S : Segs) Be16(Body, S[0]);
  for (auto& S : Segs) Be16(Body, S[2]);
  for (auto& S : Segs) Be16(Body, S[3]);
  for (auto G : GlyphIds) Be16(Body, G);
  std::string T;
  Be16(T, 4); Be16(T, std::uint16_t(14 + Body.size())); Be16(T, 0);
  Be16(T, SegCountX2 ? SegCountX2 : std::uint16_t(2 * Segs.size()));
  Be16(T, 0); Be16(T, 0); Be16(T, 0);
  return T + Body;
}

std::string Format12(const std::vector<std::array<std::uint32_t, 3>>& Groups, std::uint32_t Claimed = 0) {
  std::string T;
  Be16(T, 12); Be16(T, 0); Be32(T, std::uint32_t(16 + 12 * Groups.size())); Be32(T, 0);
  Be32(T, Claimed ? Claimed : std::uint32_t(Groups.size()));
  for (auto& G : Groups) { Be32(T, G[0]); Be32(T, G[1]); Be32(T, G[2]); }
  return T;
}

std::string Ranges(const std::vector<TgtCharRange>& M) {
  std::string S;
  for (auto& R : M) S += std::to_string(R.First) + "-" + std::to_string(R.Last) + ":" + std::to_string(R.Glyph) + " ";
  return S;
}
}  // namespace

TEST(TgtPDFFont, UnicodeMapIsReadWithinItsTable) {
  struct TCase { std::string Cmap; const char* Want; const char* Why; };
  const TCase Cases[] = {
      {CmapWith(3, 1, Format4({{65, 67, std::uint16_t(5 - 65), 0}, {0xFFFF, 0xFFFF, 1, 0}}, {})), "65-67:5 ",
       "a delta segment"},
      {CmapWith(3, 1, Format4({{97, 98, 0, 4}, {0xFFFF, 0xFFFF, 1, 0}}, {9, 11})), "97-97:9 98-98:11 ",
       "glyph ids through the range offset"},
      {CmapWith(3, 1, Format4({{97, 99, 0, 400}, {0xFFFF, 0xFFFF, 1, 0}}, {9})), "",
       "a range offset past the table maps nothing"},
      {CmapWith(3, 1, Format4({{65, 66, std::uint16_t(5 - 65), 0}}, {}, 0xFFFE)), "",
       "a segment count past the table reads only what is there"},
      {CmapWith(3, 10, Format12({{0x41, 0x42, 7}, {0x1F4A9, 0x1F4AA, 3}})), "65-66:7 128169-128170:3 ",
       "format 12 reaches past the basic plane"},
      {CmapWith(3, 10, Format12({{0x41, 0x41, 7}}, 0x7FFFFFFF)), "65-65:7 ", "a group count past the table"},
      {CmapWith(3, 10, Format12({{0x41, 0x110000, 0xFFFE}})), "65-66:65534 ", "glyph ids and code points end"},
      {CmapWith(3, 1, Format4({{65, 66, 0, 0}}, {}), 0x7FFFFFF0), "", "a subtable offset past the table"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(Ranges(gtReadUnicodeMap(MakeFont({{"cmap", C.Cmap}}))), C.Want);
  }
  // Truncated anywhere, the table gives no mapping it does not hold.
  const std::string Whole = CmapWith(3, 10, Format12({{0x41, 0x5A, 7}}));
  for (std::size_t N = 0; N < Whole.size(); ++N) gtReadUnicodeMap(MakeFont({{"cmap", Whole.substr(0, N)}}));
}

TEST(TgtPDFFont, FallbackFaceIsEmbeddedEvenWhenTheDocumentsFontsAreNot) {
  // The reader may lack the face the writer chose; poppler cannot draw a
  // composite font it has neither embedded nor installed under that name.
  TTempDir Dir;
  TgtPDFEngine E;
  E.GetPreferences()->SetEmbedTrueTypeFonts(etfNone);
  richtest::TDocBuilder B;
  B.Para(u"Tea \u4E2D\u6587", {}, Face(u"Arial"));
  const std::string File = RenderDocument(E, B.Done(), Dir.File("none"));
  const auto Rows = FontRows(File);
  ASSERT_EQ(Rows.size(), 2u);
  EXPECT_EQ(Rows[0], "WYOIAS+Arial CID TrueType yes yes yes");
  EXPECT_EQ(Rows[1], "WYOIAS+WenQuanYiMicroHei CID TrueType yes yes yes");
  EXPECT_EQ(pdftest::Run("pdftoppm -r 20 -png '" + File + "' '" + Dir.File("r") + "' 2>&1 | grep WenQuanYi"), "");
}

TEST(TgtPDFFont, AFaceOfEveryOutlineFormatIsEmbeddedAsItsTypeAndReadsBack) {
  // Simple and composite text in each face, with and without embedding
  // (a Type 1 program cannot be a composite font: Latin text only there):
  // pdffonts names the program's type, pdftotext reads the words back and
  // pdftoppm draws the page without a complaint about the fonts.
  int Ran = 0;
  for (const auto& C : fonttest::FormatCases) {
    SCOPED_TRACE(C.Name);
    const auto Found = fonttest::FaceFor(C);
    if (!Found) continue;
    ++Ran;
    const std::u16string Family = UTF8Decode(Found->Family);
    for (TgtTTFontEmbedding Embed : {etfNone, etfFull, etfSubset}) {
      SCOPED_TRACE(int(Embed));
      TTempDir Dir;
      TgtPDFEngine E;
      E.GetPreferences()->SetEmbedTrueTypeFonts(Embed);
      richtest::TDocBuilder B;
      B.Para(u"Plain words here", {}, Face(Family.c_str()));
      const bool Type1 = std::string(C.Format) == "Type 1";
      if (!Type1) B.Para(u"Ĳssel Łódź", {}, Face(Family.c_str()));
      const std::string File = RenderDocument(E, B.Done(), Dir.File("face"));
      std::string Report;
      EXPECT_TRUE(QpdfAccepts(File, &Report)) << Report;
      EXPECT_EQ(Words(PdfToText(File)), Type1 ? "Plain words here" : "Plain words here Ĳssel Łódź");
      const std::string Fonts = pdftest::Run("pdffonts '" + File + "'");
      const auto Rows = FontRows(File);
      ASSERT_FALSE(Rows.empty()) << Fonts;
      if (Embed != etfNone) {
        EXPECT_NE(Rows[0].find(std::string(C.PdfType) + " yes"), std::string::npos) << Fonts;
      }
      // Text the face cannot carry in a simple font goes composite, and a
      // composite font is always embedded.
      for (const auto& R : Rows) {
        if (R.find("CID") != std::string::npos) {
          EXPECT_NE(R.find(" yes "), std::string::npos) << Fonts;
        }
      }
      EXPECT_EQ(pdftest::Run("timeout 60 pdftoppm -r 30 -png '" + File + "' '" + Dir.File("r") + "' 2>&1 | grep -i error"), "");
    }
  }
  if (Ran == 0) GTEST_SKIP() << "no outline face of these formats installed";
}

TEST(gtCodePageOfCharset, NamesTheWindowsCodePageOrTheSystemOne) {
  struct TCase {
    BYTE Charset;
    UINT Want;
  } const Cases[] = {
      {ANSI_CHARSET, 1252},     {SHIFTJIS_CHARSET, 932},   {HANGEUL_CHARSET, 949},    {JOHAB_CHARSET, 1361},
      {GB2312_CHARSET, 936},    {CHINESEBIG5_CHARSET, 950}, {GREEK_CHARSET, 1253},    {TURKISH_CHARSET, 1254},
      {VIETNAMESE_CHARSET, 1258}, {HEBREW_CHARSET, 1255},  {ARABIC_CHARSET, 1256},    {BALTIC_CHARSET, 1257},
      {THAI_CHARSET, 874},      {EASTEUROPE_CHARSET, 1250}, {RUSSIAN_CHARSET, 1251},
      // No code page of their own: the system's.
      {DEFAULT_CHARSET, GetACP()}, {SYMBOL_CHARSET, GetACP()}, {MAC_CHARSET, GetACP()},
      {OEM_CHARSET, GetACP()},     {BYTE(3), GetACP()},
  };
  for (const TCase& C : Cases) EXPECT_EQ(gtCodePageOfCharset(C.Charset), C.Want) << int(C.Charset);
}
