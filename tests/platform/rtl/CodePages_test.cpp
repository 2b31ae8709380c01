#include "platform/rtl/CodePages.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

TEST(AnsiCodePageForLocale, PicksTheWindowsCodePageOfTheLanguage) {
  struct {
    const char* Locale;
    UINT Want;
  } const Cases[] = {
      {"C", 1252},           {"POSIX", 1252},        {"C.UTF-8", 1252},       {"en_US.UTF-8", 1252},
      {"de_DE@euro", 1252},  {"ru_RU.UTF-8", 1251},  {"uk_UA", 1251},         {"pl_PL.ISO-8859-2", 1250},
      {"cs_CZ", 1250},       {"el_GR.UTF-8", 1253},  {"tr_TR", 1254},         {"he_IL", 1255},
      {"ar_EG", 1256},       {"lt_LT", 1257},        {"vi_VN", 1258},         {"th_TH", 874},
      {"ja_JP.eucJP", 932},  {"ko_KR", 949},         {"zh_CN.GB18030", 936},  {"zh_TW.Big5", 950},
      {"zh_HK", 950},        {"sr_RS", 1251},        {"sr_RS@latin", 1250},   {"", 1252},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Locale);
    EXPECT_EQ(AnsiCodePageForLocale(C.Locale), C.Want);
  }
}

TEST(TAnsiCodePageOverride, RestoresThePreviousCodePage) {
  const UINT Before = GetACP();
  {
    TAnsiCodePageOverride Cp(1251);
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(GetOEMCP(), 866u);
    {
      TAnsiCodePageOverride Inner(932);
      EXPECT_EQ(GetACP(), 932u);
    }
    EXPECT_EQ(GetACP(), 1251u);
  }
  EXPECT_EQ(GetACP(), Before);
  EXPECT_THROW(TAnsiCodePageOverride{12345}, EConvertError);
  EXPECT_THROW(TAnsiCodePageOverride{CP_UTF8}, EConvertError);
}

struct TRoundTrip {
  UINT CodePage;
  const char* Ansi;
  const char16_t* Wide;
  const char* Why;
};

const TRoundTrip RoundTrips[] = {
    {1252, "caf\xE9 \x80 \x93x\x94", u"caf\u00E9 \u20AC \u201Cx\u201D", "Latin-1 and the 0x80 row"},
    {1252, "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D", "undefined bytes pass through"},
    {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", u"\u041F\u0440\u0438\u0432\u0435\u0442", "Russian"},
    {1250, "\x8A\xE8\xF8", u"\u0160\u010D\u0159", "Czech"},
    {1253, "\xE1\xE2\xE3", u"\u03B1\u03B2\u03B3", "Greek"},
    {1255, "\xF9\xEC\xE5\xED", u"\u05E9\u05DC\u05D5\u05DD", "Hebrew"},
    {874, "\xA1\xA2", u"\u0E01\u0E02", "Thai"},
    {932, "\x93\xFA\x96\x7B" "a\xB1", u"\u65E5\u672Ca\uFF71", "Shift-JIS pairs, ASCII and a half-width kana"},
    {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587", "GBK"},
    {949, "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00", "Korean"},
    {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587", "Big5"},
    {CP_UTF8, "\xE2\x82\xAC\xF0\x9F\x98\x80", u"\u20AC\U0001F600", "UTF-8 with a supplementary character"},
    {CP_SYMBOL, "a\x01\xB7", u"\uF061\u0001\uF0B7", "symbol bytes map to the private area"},
};

TEST(AnsiToWide, RoundTripsEachCodePage) {
  for (const auto& C : RoundTrips) {
    SCOPED_TRACE(C.Why);
    const WideString W = AnsiToWide(C.Ansi, C.CodePage);
    EXPECT_EQ(W, WideString(C.Wide));
    bool Used = true;
    EXPECT_EQ(WideToAnsi(W, C.CodePage, &Used), C.Ansi);
    EXPECT_FALSE(Used);
  }
}

TEST(AnsiToWide, EveryByteOf1252SurvivesARoundTrip) {
  AnsiString All;
  for (int B = 0; B < 256; ++B) All.push_back(static_cast<char>(B));
  const WideString W = AnsiToWide(All, 1252);
  ASSERT_EQ(W.size(), 256u);
  EXPECT_EQ(WideToAnsi(W, 1252), All);
}

TEST(WideToAnsi, ReplacesUnmappableCharactersWithAQuestionMark) {
  struct {
    UINT CodePage;
    const char16_t* Wide;
    const char* Want;
    const char* Why;
  } const Cases[] = {
      {1252, u"a\u0416b", "a?b", "Cyrillic in Western"},
      {1252, u"\u0100", "?", "no best fit: A macron is not turned into A"},
      {1251, u"\u00E9", "?", "e acute in Cyrillic"},
      {1252, u"x\U0001F600y", "x?y", "a surrogate pair is one character"},
      {1252, u"\xD800z", "?z", "a lone surrogate"},
      {932, u"a\u0416\u00E9b", "a\x84\x47?b", "Shift-JIS has Zhe but not e acute"},
      {936, u"\U0001F600", "?", "supplementary character outside GBK"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    bool Used = false;
    EXPECT_EQ(WideToAnsi(C.Wide, C.CodePage, &Used), C.Want);
    EXPECT_TRUE(Used);
  }
}

TEST(AnsiToWide, MarksBadBytesWithTheReplacementCharacter) {
  // A lead byte with no trail, and an undefined pair whose trail byte is 'A'.
  EXPECT_EQ(AnsiToWide("a\x82", 932), u"a\uFFFD");
  EXPECT_EQ(AnsiToWide("\x85\x41" "b", 932), u"\uFFFD" "b");
  // Undefined in 1253 but outside the C1 row.
  EXPECT_EQ(AnsiToWide("\xAA", 1253), u"\uFFFD");
  // Invalid UTF-8: stray continuation, overlong, surrogate, truncated.
  EXPECT_EQ(UTF8Decode("\x80" "a\xC0\xAF" "b\xED\xA0\x80" "c\xE2\x82"),
            u"\uFFFD" "a\uFFFD\uFFFD" "b\uFFFD\uFFFD\uFFFD" "c\uFFFD\uFFFD");
}

TEST(ConvertCodePage, CarriesTextBetweenCodePages) {
  EXPECT_EQ(ConvertCodePage("\xCF\xF0\xE8", 1251, CP_UTF8), "\xD0\x9F\xD1\x80\xD0\xB8");
  EXPECT_EQ(ConvertCodePage("\xE9", 1252, 437), "\x82");
  EXPECT_EQ(ConvertCodePage("\xE9", 1252, 1251), "?");
  EXPECT_THROW(AnsiToWide("x", 12345), EConvertError);
}

TEST(AnsiToUtf8, UsesTheActiveCodePage) {
  {
    TAnsiCodePageOverride Cp(1252);
    EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToAnsi("\xC3\xA9\xD0\x96"), "\xE9?");
  }
  TAnsiCodePageOverride Cp(1251);
  EXPECT_EQ(AnsiToUtf8("\xC6"), "\xD0\x96");
  EXPECT_EQ(UTF8Encode(AnsiToWide("\xC6")), "\xD0\x96");
}

TEST(IsDBCSLeadByteEx, KnowsTheLeadRangesOfEachDoubleBytePage) {
  struct {
    UINT CodePage;
    BYTE Ch;
    bool Want;
  } const Cases[] = {
      {932, 0x81, true},   {932, 0x9F, true},  {932, 0xA0, false}, {932, 0xB1, false}, {932, 0xE0, true},
      {932, 0xFC, true},   {932, 0xFD, false}, {936, 0x80, false}, {936, 0x81, true},  {936, 0xFF, false},
      {949, 0xB0, true},   {950, 0xA4, true},  {950, 0x7F, false}, {1252, 0x81, false}, {CP_UTF8, 0xE2, false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.CodePage << " " << int(C.Ch));
    EXPECT_EQ(IsDBCSLeadByteEx(C.CodePage, C.Ch), C.Want);
  }
  TAnsiCodePageOverride Cp(932);
  EXPECT_TRUE(IsDBCSLeadByte(0x82));
}

TEST(CharsetToCodePage, TranslatesBothWays) {
  struct {
    BYTE Charset;
    UINT CodePage;
  } const Pairs[] = {
      {ANSI_CHARSET, 1252},        {EASTEUROPE_CHARSET, 1250}, {RUSSIAN_CHARSET, 1251}, {GREEK_CHARSET, 1253},
      {TURKISH_CHARSET, 1254},     {HEBREW_CHARSET, 1255},     {ARABIC_CHARSET, 1256},  {BALTIC_CHARSET, 1257},
      {VIETNAMESE_CHARSET, 1258},  {THAI_CHARSET, 874},        {SHIFTJIS_CHARSET, 932}, {GB2312_CHARSET, 936},
      {HANGEUL_CHARSET, 949},      {CHINESEBIG5_CHARSET, 950}, {JOHAB_CHARSET, 1361},   {SYMBOL_CHARSET, CP_SYMBOL},
      {MAC_CHARSET, 10000},
  };
  for (const auto& P : Pairs) {
    SCOPED_TRACE(int(P.Charset));
    UINT Cp = 0;
    ASSERT_TRUE(CharsetToCodePage(P.Charset, Cp));
    EXPECT_EQ(Cp, P.CodePage);
    BYTE Cs = 99;
    ASSERT_TRUE(CodePageToCharset(P.CodePage, Cs));
    EXPECT_EQ(Cs, P.Charset);
  }
  TAnsiCodePageOverride Cp(1251);
  EXPECT_EQ(CodePageFromCharset(DEFAULT_CHARSET), 1251u);
  EXPECT_EQ(CodePageFromCharset(OEM_CHARSET), 866u);
  EXPECT_EQ(CodePageFromCharset(3), 1251u);  // unknown reads as the active page
  UINT Untouched = 7;
  EXPECT_FALSE(CharsetToCodePage(3, Untouched));
  EXPECT_EQ(Untouched, 7u);
  EXPECT_EQ(CharsetFromCodePage(1252), ANSI_CHARSET);
  EXPECT_EQ(CharsetFromCodePage(437), ANSI_CHARSET);
  EXPECT_EQ(CharsetFromCodePage(CP_ACP), RUSSIAN_CHARSET);
}

TEST(WideCharToMultiByte, KeepsTheWin32BufferContract) {
  TAnsiCodePageOverride Cp(1252);
  const WCHAR Src[] = u"\u00E9\u0416";
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, Src, -1, nullptr, 0, nullptr, nullptr), 3);  // NUL included
  char Buf[4] = {'x', 'x', 'x', 'x'};
  BOOL Used = 0;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, Src, 2, Buf, 2, nullptr, &Used), 2);
  EXPECT_EQ(AnsiString(Buf, 2), "\xE9?");
  EXPECT_TRUE(Used);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, Src, 2, Buf, 2, "#", nullptr), 2);
  EXPECT_EQ(AnsiString(Buf, 2), "\xE9#");
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, Src, 2, Buf, 1, nullptr, nullptr), 0);  // too small
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, Src, 0, Buf, 4, nullptr, nullptr), 0);

  WCHAR W[4] = {};
  EXPECT_EQ(MultiByteToWideChar(932, 0, "\x93\xFA" "a", 3, W, 4), 2);
  EXPECT_EQ(WideString(W, 2), u"\u65E5a");
  EXPECT_EQ(MultiByteToWideChar(932, 0, "\x93\xFA" "a", 3, nullptr, 0), 2);
  EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "a\x82", 2, W, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, W, 4), 0);
}

TEST(AnsiToOem, ConvertsBetweenTheActivePages) {
  TAnsiCodePageOverride Cp(1252);
  EXPECT_EQ(AnsiToOem("\xE9\xC4"), "\x82\x8E");
  EXPECT_EQ(OemToAnsi("\x82\x8E"), "\xE9\xC4");
}

}  // namespace
