#include "editor/base/LineSearch.h"

#include <gtest/gtest.h>

#include "editor/base/DCRegExpr.h"

namespace {

struct TSearchCase {
  std::vector<AnsiString> Lines;
  const char* Text;
  Byte Flags;
  bool UsePattern;
  TPoint From;
  bool WantFound;
  TPoint WantPos;
  Integer WantLen;
  const char* Why;
};

TEST(SearchInLines, FindsTextAndPatternsInLines) {
  const TSearchCase Cases[] = {
      {{"xx", "zab"}, "ab", sfCaseSensitive, false, {1, 0}, true, {2, 1}, 2, "forward into the next line"},
      {{"zab ab"}, "ab", sfCaseSensitive | sfWholeWords, false, {1, 0}, true, {5, 0}, 2, "whole words skip zab"},
      {{"xAB"}, "ab", 0, false, {1, 0}, true, {2, 0}, 2, "ignoring case"},
      {{"xAB"}, "ab", sfCaseSensitive, false, {1, 0}, false, {1, 1}, 2, "respecting case"},
      {{"ab", "cd"}, "ab", sfCaseSensitive | sfBackward, false, {1, 1}, true, {1, 0}, 2, "backward into the line above"},
      {{"ab ab  "}, "ab", sfCaseSensitive | sfBackward, false, {7, 0}, true, {4, 0}, 2, "backward ignores trailing blanks"},
      {{"xab ab"}, "ab", sfCaseSensitive | sfBackward | sfWholeWords, false, {6, 0}, true, {5, 0}, 2, "backward whole word"},
      {{"xab"}, "ab", sfCaseSensitive | sfBackward | sfWholeWords, false, {3, 0}, false, {0, -1}, 2, "no whole word backward"},
      {{"", "x"}, "^", sfCaseSensitive, true, {1, 0}, true, {0, 0}, 0, "a pattern can match an empty line"},
      {{"", "x"}, "x", sfCaseSensitive, false, {1, 0}, true, {1, 1}, 1, "plain text skips the empty line"},
      {{"abc", "x"}, "b", sfCaseSensitive, false, {5, 0}, false, {1, 2}, 1, "a line shorter than the start is not searched"},
      {{"foo bar"}, "b.r", sfCaseSensitive, true, {1, 0}, true, {5, 0}, 3, "pattern length comes from the matcher"},
  };
  TCharSet Blank;
  Blank.set(' ');
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TStringList Lines;
    for (const auto& L : C.Lines) Lines.Add(L);
    TRegExpr Re(C.Text, (C.Flags & sfCaseSensitive) != 0);
    TLineMatcher M;
    if (C.UsePattern) M = [&](const AnsiString& Line, Integer& P, Integer& Len, bool Fwd) { return Re.Search(Line, P, Len, Fwd); };
    TPoint Pos = C.From;
    Integer Len = -1;
    EXPECT_EQ(SearchInLines(C.Text, &Lines, C.Flags, M, Len, Pos, Blank), C.WantFound);
    if (C.WantFound) {
      EXPECT_EQ(Pos.X, C.WantPos.X);
      EXPECT_EQ(Pos.Y, C.WantPos.Y);
      EXPECT_EQ(Len, C.WantLen);
    }
  }
}

TEST(SearchInLines, EmptyTextOrListFindsNothing) {
  TStringList Lines;
  TPoint Pos{1, 0};
  Integer Len = 0;
  EXPECT_FALSE(SearchLines("a", &Lines, true, nullptr, Len, Pos));
  Lines.Add("a");
  EXPECT_FALSE(SearchLines("", &Lines, true, nullptr, Len, Pos));
  Pos = {9, 9};
  EXPECT_TRUE(SearchLinesFromStart("a", &Lines, true, nullptr, Len, Pos));
  EXPECT_EQ(Pos.X, 1);
}

struct TPosCase {
  const char* Text;
  const char* In;
  Integer Start, WantFrom, WantRFrom;
};

TEST(PosFrom, ForwardAndBackwardSubstringSearch) {
  const TPosCase Cases[] = {
      {"ab", "abxab", 1, 1, 1},
      {"ab", "abxab", 2, 4, 1},
      {"ab", "abxab", 4, 4, 4},
      {"ab", "abxab", 5, 0, 4},  // RPosFrom: the match may run past Start
      {"", "abc", 1, 0, 0},
      {"abcd", "abc", 1, 0, 0},
      {"a", "", 1, 0, 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " in " + C.In + " from " + std::to_string(C.Start));
    EXPECT_EQ(PosFrom(C.Text, C.In, C.Start), C.WantFrom);
    EXPECT_EQ(RPosFrom(C.Text, C.In, C.Start), C.WantRFrom);
  }
}

TEST(StringHelpers, ReplaceAndSmallHelpers) {
  AnsiString S = "aXa";
  ReplaceAllText(S, "a", "aa");
  EXPECT_EQ(S, "aaXaa") << "replacements are not searched again";
  S = "abc";
  ReplaceAllText(S, "", "x");
  EXPECT_EQ(S, "abc");
  EXPECT_EQ(FirstNonBlank("   "), 4);
  EXPECT_EQ(FirstNonBlank("  x"), 3);
  EXPECT_EQ(MultiplyChar("&File", '&', 1), "&&File");
  EXPECT_EQ(MultiplyChar("&File", '&', 0), "&File");
  TCharSet Set;
  Set.set('-');
  EXPECT_EQ(RemoveChars(Set, "a-b-c"), "abc");
  const TCharSet Letters = MakeCharSet(TCharSet(), "a", false);
  EXPECT_TRUE(Letters.test('A'));
  EXPECT_TRUE(Letters.test('a'));
  AnsiString P = "ab";
  PadWithBlanks(P, 4);
  EXPECT_EQ(P, "ab  ");
  PadWithBlanks(P, 1);
  EXPECT_EQ(P, "ab  ");
  EXPECT_EQ(MaxOfInts({3, 9, -2}), 9);
}

TEST(StringHelpers, GuidTextHasTheRegistryForm) {
  const TGUID G = NewGuid();
  const AnsiString T = GuidToText(G);
  ASSERT_EQ(T.size(), 38u);
  EXPECT_EQ(T.front(), '{');
  EXPECT_EQ(T[9], '-');
  EXPECT_EQ(T[15], '4') << "version 4";
  EXPECT_NE(GuidToText(NewGuid()), T);
  TGUID Fixed{0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(GuidToText(Fixed), "{01234567-89AB-CDEF-0102-030405060708}");
}

}  // namespace
