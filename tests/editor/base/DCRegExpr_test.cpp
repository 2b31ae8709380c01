#include "editor/base/DCRegExpr.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

struct TSearchCase {
  const char* Pattern;
  bool CaseSensitive;
  const char* Line;
  Integer Pos;  // on entry
  bool Forward;
  bool WantFound;
  Integer WantPos, WantLen;
};

TEST(TRegExpr, SearchFindsWhereAndHowLong) {
  const TSearchCase Cases[] = {
      {"a*", true, "baaa", 1, true, true, 1, 0},   // the empty match at the first start wins
      {"ab+c", true, "xabbbc", 1, true, true, 2, 5},
      {"{ab}*c", true, "ababc", 1, true, true, 1, 5},
      {"a.*b", true, "axbxb", 1, true, true, 1, 5},  // greedy
      {"[a-c]+", false, "xBCa", 1, true, true, 2, 3},
      {"[a-c]+", true, "xBCa", 1, true, true, 4, 1},
      {"^b", true, "ab", 1, true, false, 0, 0},
      {"^a", true, "aa", 2, true, false, 0, 0},     // only column 1 is a line start
      {"^a", true, "aa", 1, true, true, 1, 1},
      {"$", true, "abc", 1, true, true, 4, 0},
      {"$", true, "abc", 3, false, true, 4, 0},
      {"^", true, "", 0, true, true, 0, 0},
      {"$", true, "", 0, true, true, 1, 0},
      {"^$", true, "", 0, true, true, 0, 0},
      {"x*", true, "", 0, true, false, 0, 0},
      {".*", true, "", 0, true, false, 0, 0},
      {"ab.", true, "ab", 1, true, true, 1, 2},    // "." takes the end of the line
      {"ab..", true, "ab", 1, true, false, 0, 0},  // but only once
      {"ab[^x]", true, "ab", 1, true, true, 1, 2},
      {"ab[x]", true, "ab", 1, true, false, 0, 0},
      {"\\.*", true, "..x", 1, true, true, 1, 2},
      {"[\\]]", true, "a]", 1, true, true, 2, 1},
      {"[a-c-e]", true, "xd", 1, true, true, 2, 1},
      {"b", true, "abab", 9, false, true, 4, 1},   // backward from beyond the line: last character first
      {"b", true, "abab", 3, false, true, 2, 1},
      {"b", true, "abab", 0, false, false, 0, 0},  // Pos 0 backward tries only the first character
      {"A", false, "\xe4" "a", 1, true, true, 2, 1},  // ASCII folding only
      {"\xc4", false, "\xe4", 1, true, false, 0, 0},
      {"(a|b)?", true, "x(a|b)?", 1, true, true, 2, 6},  // ordinary characters
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Pattern) + " on '" + C.Line + "' from " + std::to_string(C.Pos));
    TRegExpr R(C.Pattern, C.CaseSensitive);
    Integer Pos = C.Pos, Len = -1;
    EXPECT_EQ(R.Search(C.Line, Pos, Len, C.Forward), C.WantFound);
    EXPECT_EQ(Pos, C.WantPos);
    EXPECT_EQ(Len, C.WantLen);
  }
}

struct TErrorCase {
  const char* Pattern;
  Integer Position;
};

TEST(TRegExpr, InvalidPatternsNameThePosition) {
  const TErrorCase Cases[] = {
      {"*a", 1}, {"a**", 3}, {"^*", 2}, {"$+", 2}, {"a+*", 3}, {"[]", 2}, {"[^]", 3}, {"[abc", 5},
      {"[a-", 4}, {"[-a]", 2}, {"{a", 3}, {"a}", 3}, {"ab\\", 3}, {"[\\\\]", 5},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Pattern);
    try {
      TRegExpr R(C.Pattern, true);
      ADD_FAILURE() << "compiled";
    } catch (const Exception& E) {
      EXPECT_STREQ(E.ClassName(), "Exception");
      EXPECT_EQ(E.Message(), std::string(C.Pattern) + " is invalid mask at (" + std::to_string(C.Position) + ")");
    }
  }
}

TEST(TRegExpr, NestedRepetitionsFinishOnLongLinesWithoutAMatch) {
  // Without remembering tried states these take exponential time.
  const std::string Line(3000, 'a');
  for (const char* Pattern : {"{{a}*}*b", "{a*a*}*b", "{{a+}+}+b", ".*.*.*.*b"}) {
    SCOPED_TRACE(Pattern);
    TRegExpr R(Pattern, true);
    Integer Pos = 1, Len = 0;
    EXPECT_FALSE(R.Search(Line, Pos, Len, true));
    EXPECT_EQ(Pos, 0);
  }
  TRegExpr R("{a*a*}*b", true);
  Integer Pos = 1, Len = 0;
  EXPECT_TRUE(R.Search(Line + "b", Pos, Len, true));
  EXPECT_EQ(Pos, 1);
  EXPECT_EQ(Len, 3001);
}

TEST(TRegExpr, EveryPatternEndsWithTheEndNode) {
  TRegExpr R("ab*", false);
  const auto& N = R.Nodes();
  ASSERT_EQ(N.size(), 6u);  // a { b } * end
  EXPECT_EQ(N[1].Kind, TRegExpr::nkGroupOpen);
  EXPECT_EQ(N[2].Ch, 'B') << "literals are folded when the case is ignored";
  EXPECT_EQ(N[1].RepeatEnd, 3);
  EXPECT_EQ(N[4].Kind, TRegExpr::nkZeroOrMore);
  EXPECT_EQ(N[5].Kind, TRegExpr::nkLiteral);
  EXPECT_EQ(N[5].Ch, 0);
  EXPECT_TRUE(IsAnchorOnlyPattern("^$"));
  EXPECT_FALSE(IsAnchorOnlyPattern("^a"));
}

}  // namespace
