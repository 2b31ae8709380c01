#include "platform/rtl/AnsiStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

namespace {

struct TCaseCase {
  UINT CodePage;
  const char* Lower;
  const char* Upper;
  const char* Why;
};

// Pairs that map both ways in their code page.
const TCaseCase CasePairs[] = {
    {1252, "abc xyz 09", "ABC XYZ 09", "ASCII"},
    {1252, "\xE9\xE0\xE7\xF1\xF8\xE6", "\xC9\xC0\xC7\xD1\xD8\xC6", "Latin-1 accented letters"},
    {1252, "\x9A\x9C\x9E", "\x8A\x8C\x8E", "s, oe, z with caron live in the 0x80 row"},
    {1252, "\xFF", "\x9F", "y diaeresis has its capital at 0x9F"},
    {1251, "\xE0\xFF", "\xC0\xDF", "Cyrillic a and ya"},
    {1251, "\xB8\xB4\xBA\xB3\xBF\xA2\x90", "\xA8\xA5\xAA\xB2\xAF\xA1\x80", "yo, ghe upturn, ie, i, yi, short u, dje"},
    {1250, "\xB9\xE8\xBE\xB3", "\xA5\xC8\xBC\xA3", "a ogonek, c caron, l caron, l stroke"},
    {1253, "\xE1\xF9\xDC", "\xC1\xD9\xA2", "alpha, omega, alpha tonos"},
};

TEST(AnsiUpperCase, MapsEveryLetterOfTheActiveCodePage) {
  for (const auto& C : CasePairs) {
    SCOPED_TRACE(C.Why);
    TAnsiCodePageOverride Cp(C.CodePage);
    EXPECT_EQ(AnsiUpperCase(C.Lower), C.Upper);
    EXPECT_EQ(AnsiLowerCase(C.Upper), C.Lower);
  }
}

TEST(AnsiUpperCase, LeavesCharactersWithoutACapitalInTheCodePage) {
  TAnsiCodePageOverride Cp(1252);
  // sharp s, micro, division, multiplication, undefined 0x81, NUL
  const AnsiString S("\xDF\xB5\xF7\xD7\x81\0x", 7);
  EXPECT_EQ(AnsiUpperCase(S), AnsiString("\xDF\xB5\xF7\xD7\x81\0X", 7));
  // Greek final sigma's capital exists in 1253 but 1252 has neither.
  TAnsiCodePageOverride Greek(1253);
  EXPECT_EQ(AnsiUpperCase("\xF2"), "\xD3");
}

TEST(AnsiUpperCase, NeverTouchesTheTrailByteOfADoubleByteCharacter) {
  TAnsiCodePageOverride Cp(932);
  // 0x82 0x61 is fullwidth 'A' in Shift-JIS: its trail byte is an ASCII 'a'.
  EXPECT_EQ(AnsiUpperCase("a\x82\x61z"), "A\x82\x61Z");
  EXPECT_EQ(AnsiLowerCase("A\x83\x41Z"), "a\x83\x41z");
}

TEST(UpperCase, ChangesOnlyAsciiLetters) {
  TAnsiCodePageOverride Cp(1252);
  EXPECT_EQ(UpperCase("ab\xE9z{"), "AB\xE9Z{");
  EXPECT_EQ(LowerCase("AB\xC9Z@"), "ab\xC9z@");
}

TEST(CompareText, FoldsAsciiAndReturnsTheByteDifference) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_GT(CompareText("_", "a"), 0);  // 'A' (65) < '_' (95) once folded up
  EXPECT_NE(CompareText("\xE9", "\xC9"), 0);
  EXPECT_FALSE(SameText("ab", "abc"));
  EXPECT_LT(CompareStr("a", "b"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_GT(CompareStr("\xE9", "z"), 0);  // bytes compare unsigned
}

struct TOrderCase {
  const char* Less;
  const char* Greater;
  const char* Why;
};

// Each pair in the locale's order, strictly.
const TOrderCase LocaleOrder[] = {
    {"a", "B", "letters before case"},
    {"a", "A", "lower case first"},
    {"apple", "Banana", "first letter decides"},
    {"resume", "r\xE9sum\xE9", "plain letter before accented"},
    {"r\xE9sum\xE9", "resumes", "accent matters less than letters"},
    {"\xC9t\xE9", "ez", "accented letter sorts with its base"},
    {"coop", "co-op", "hyphen counts only at the end"},
    {"co-op", "cop", "hyphen is ignored before letters"},
    {"1", "a", "digits before letters"},
    {" ", "1", "punctuation before digits"},
    {"ab", "abc", "prefix first"},
    {"z", "\xFE", "thorn after z"},
    {"ae", "\xE6", "ae ligature after ae"},
    {"\xE6", "af", "ae ligature sorts as a-e"},
};

TEST(AnsiCompareStr, FollowsTheLocaleOrder) {
  TAnsiCodePageOverride Cp(1252);
  for (const auto& C : LocaleOrder) {
    SCOPED_TRACE(C.Why);
    EXPECT_LT(AnsiCompareStr(C.Less, C.Greater), 0);
    EXPECT_GT(AnsiCompareStr(C.Greater, C.Less), 0);
  }
}

TEST(AnsiCompareText, IsZeroExactlyWhenEqualApartFromCase) {
  TAnsiCodePageOverride Cp(1252);
  EXPECT_EQ(AnsiCompareText("Hello", "hELLO"), 0);
  EXPECT_EQ(AnsiCompareText("\xC9T\xC9", "\xE9t\xE9"), 0);
  EXPECT_TRUE(AnsiSameText("\x8A", "\x9A"));
  EXPECT_NE(AnsiCompareText("resume", "r\xE9sum\xE9"), 0);
  EXPECT_NE(AnsiCompareText("coop", "co-op"), 0);
  EXPECT_LT(AnsiCompareText("apple", "BANANA"), 0);
  EXPECT_FALSE(AnsiSameStr("a", "A"));
  // Cyrillic in its own code page: Ж and ж are one letter, and Б sorts before Я.
  TAnsiCodePageOverride Cyr(1251);
  EXPECT_EQ(AnsiCompareText("\xC6", "\xE6"), 0);
  EXPECT_LT(AnsiCompareText("\xC1", "\xFF"), 0);
  EXPECT_LT(AnsiCompareText("z", "\xC0"), 0);  // Latin before Cyrillic
}

TEST(AnsiCompareText, SortsAListConsistently) {
  TAnsiCodePageOverride Cp(1252);
  std::vector<AnsiString> L = {"delta", "Alpha", "\xE9t\xE9", "alpha", "Beta", "10", "2", "co-op", "coop", "etc"};
  std::sort(L.begin(), L.end(), [](const AnsiString& A, const AnsiString& B) { return AnsiCompareStr(A, B) < 0; });
  const std::vector<AnsiString> Want = {"10", "2", "alpha", "Alpha", "Beta", "coop", "co-op", "delta", "etc", "\xE9t\xE9"};
  EXPECT_EQ(L, Want);
}

TEST(Pos, CountsFromOneAndAnswersZeroWhenAbsent) {
  EXPECT_EQ(Pos("lo", "hello lo"), 4);
  EXPECT_EQ(Pos("x", "hello"), 0);
  EXPECT_EQ(Pos("", "hello"), 0);
  EXPECT_EQ(PosEx("lo", "hello lo", 5), 7);
  EXPECT_EQ(PosEx("lo", "hello", 0), 0);
  EXPECT_EQ(PosEx("lo", "hello", 6), 0);
}

TEST(AnsiPos, MatchesOnlyAtCharacterStarts) {
  TAnsiCodePageOverride Cp(932);
  // "\x82\x61" is one character; the 'a' inside it is not a match.
  EXPECT_EQ(AnsiPos("a", "\x82\x61" "a"), 3);
  EXPECT_EQ(Pos("a", "\x82\x61" "a"), 2);
}

TEST(Copy, ClampsIndexAndCountAsTheClassLibraryDoes) {
  struct {
    int Index, Count;
    const char* Want;
  } const Cases[] = {{1, 3, "hel"}, {0, 2, "he"}, {-5, 1, "h"}, {4, 100, "lo"}, {6, 1, ""}, {2, 0, ""}, {2, -1, ""}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Index);
    EXPECT_EQ(Copy("hello", C.Index, C.Count), C.Want);
  }
  AnsiString S = "hello";
  Delete(S, 2, 3);
  EXPECT_EQ(S, "ho");
  Delete(S, 9, 1);
  EXPECT_EQ(S, "ho");
  Insert("ell", S, 2);
  EXPECT_EQ(S, "hello");
  Insert("!", S, 99);
  EXPECT_EQ(S, "hello!");
}

TEST(Trim, StripsEveryControlCharacterAndBlank) {
  const AnsiString S("\t\r\n \0x y\x01 ", 10);
  EXPECT_EQ(Trim(S), "x y");
  EXPECT_EQ(TrimLeft(S), AnsiString("x y\x01 "));
  EXPECT_EQ(TrimRight(S), AnsiString("\t\r\n \0x y", 8));
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is not blank
}

TEST(StringReplace, HonoursItsFlags) {
  TAnsiCodePageOverride Cp(1252);
  struct {
    const char *S, *Old, *New;
    TReplaceFlags Flags;
    const char* Want;
  } const Cases[] = {
      {"a.b.c", ".", "::", {}, "a::b.c"},
      {"a.b.c", ".", "::", {rfReplaceAll}, "a::b::c"},
      {"aaa", "a", "aa", {rfReplaceAll}, "aaaaaa"},  // resumes after the inserted text
      {"Abc ABC abc", "abc", "x", {rfReplaceAll}, "Abc ABC x"},
      {"Abc ABC abc", "abc", "x", {rfReplaceAll, rfIgnoreCase}, "x x x"},
      {"\xC9t\xE9", "\xE9", "e", {rfReplaceAll, rfIgnoreCase}, "ete"},
      {"abc", "", "x", {rfReplaceAll}, "abc"},
      {"", "a", "x", {rfReplaceAll}, ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.S);
    EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Want);
  }
}

TEST(AnsiQuotedStr, DoublesQuotesAndExtractionUndoesIt) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  const char* Text = "'it''s' rest";
  const char* P = Text;
  EXPECT_EQ(AnsiExtractQuotedStr(P, '\''), "it's");
  EXPECT_STREQ(P, " rest");
  const char* Unquoted = "plain";
  P = Unquoted;
  EXPECT_EQ(AnsiExtractQuotedStr(P, '\''), "");
  EXPECT_EQ(P, Unquoted);
  const char* Open = "'never closed";
  P = Open;
  EXPECT_EQ(AnsiExtractQuotedStr(P, '\''), "never closed");
  EXPECT_EQ(*P, '\0');
}

TEST(AnsiDequotedStr, ReturnsTheInputUnlessItIsQuoted) {
  struct {
    const char *S, *Want;
  } const Cases[] = {
      {"'abc'", "abc"}, {"'a''b'", "a'b"}, {"''", ""}, {"abc", "abc"}, {"'abc", "'abc"},
      {"'", "'"},       {"'ab'cd", "ab"},  {"", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.S);
    EXPECT_EQ(AnsiDequotedStr(C.S, '\''), C.Want);
  }
}

TEST(LastDelimiter, FindsTheLastOfAnySetMember) {
  EXPECT_EQ(LastDelimiter("./", "/a/b.c.txt"), 7);
  EXPECT_EQ(LastDelimiter("/", "abc"), 0);
  EXPECT_EQ(LastDelimiter("", "abc"), 0);
  EXPECT_TRUE(IsDelimiter(" ,", "a,b", 2));
  EXPECT_FALSE(IsDelimiter(" ,", "a,b", 1));
  EXPECT_FALSE(IsDelimiter(" ,", "a,b", 0));
  EXPECT_FALSE(IsDelimiter(" ,", "a,b", 4));
  TAnsiCodePageOverride Cp(932);
  // 0x5C ('\') is the trail byte of the Shift-JIS character 0x95 0x5C.
  EXPECT_EQ(LastDelimiter("\\", "a\\\x95\x5C"), 2);
  EXPECT_FALSE(IsDelimiter("\\", "\x95\x5C", 2));
}

TEST(AdjustLineBreaks, TurnsEveryBreakFormIntoOne) {
  EXPECT_EQ(AdjustLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\ne");
  EXPECT_EQ(AdjustLineBreaks("a\n\nb"), "a\r\n\r\nb");
  EXPECT_EQ(AdjustLineBreaks("a\r\n\r\nb", tlbsLF), "a\n\nb");
  EXPECT_EQ(AdjustLineBreaks("\r"), "\r\n");
}

TEST(HexByteValue, ReadsTwoDigitsOfEitherCaseOrRefuses) {
  struct TCase {
    char High, Low;
    int Want;
  } const Cases[] = {
      {'0', '0', 0},    {'f', 'F', 255}, {'A', '7', 0xA7}, {'9', 'a', 0x9A},
      {'g', '0', -1},   {'0', 'G', -1},  {'/', '0', -1},   {':', '0', -1},
      {'@', '1', -1},   {'1', '`', -1},  {'\0', '0', -1}, {'0', ' ', -1},
  };
  for (const TCase& C : Cases) EXPECT_EQ(HexByteValue(C.High, C.Low), C.Want) << C.High << C.Low;
}

TEST(PercentDecode, DecodesOnlyCompleteEscapes) {
  struct TCase {
    const char* In;
    std::string Want;
  } const Cases[] = {
      {"/a%20b", "/a b"},
      {"%2f%2F", "//"},
      {"%41%4", "A%4"},        // the last escape lacks a digit
      {"%", "%"},
      {"%%41", "%A"},          // a '%' that starts no escape stays
      {"%zz%4g", "%zz%4g"},
      {"%00x", std::string("\0x", 2)},
      {"%C3%A9", "\xC3\xA9"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(PercentDecode(C.In), C.Want) << C.In;
}

TEST(StringOfChar, RepeatsOrGivesNothing) {
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', 0), "");
  EXPECT_EQ(StringOfChar('-', -2), "");
}

TEST(IntToStr, FormatsEveryIntegerType) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(Int64(-9223372036854775807LL - 1)), "-9223372036854775808");
  EXPECT_EQ(IntToStr(UInt64(18446744073709551615ULL)), "18446744073709551615");
  EXPECT_EQ(IntToStr(Byte(200)), "200");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
}

TEST(StrToInt, AcceptsTheClassLibrarySyntax) {
  struct {
    const char* S;
    Integer Want;
  } const Good[] = {
      {"0", 0},          {"42", 42},          {"-42", -42},         {"+7", 7},
      {"  12", 12},      {"$FF", 255},        {"0x1f", 31},         {"x10", 16},
      {"-$10", -16},     {"$FFFFFFFF", -1},   {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"007", 7},
  };
  for (const auto& C : Good) {
    SCOPED_TRACE(C.S);
    EXPECT_EQ(StrToInt(C.S), C.Want);
  }
  const char* Bad[] = {"", " ", "-", "$", "0x", "12 ", "1.5", "1e3", "abc", "2147483648", "-2147483649",
                       "$100000000", "1 2", "--1", "\t5"};
  for (const char* S : Bad) {
    SCOPED_TRACE(S);
    Integer V = 99;
    EXPECT_FALSE(TryStrToInt(S, V));
    EXPECT_EQ(V, 99);
    EXPECT_EQ(StrToIntDef(S, -7), -7);
  }
}

TEST(StrToInt, RaisesEConvertErrorNamingTheText) {
  try {
    StrToInt("12abc");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'12abc' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(StrToInt64, CoversTheFull64BitRange) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), 9223372036854775807LL);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), -9223372036854775807LL - 1);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
  EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

}  // namespace
