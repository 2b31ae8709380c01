// A paragraph's text kept narrow while it can be: whatever it holds, it
// reads back as the UTF-16 it was given.
#include <gtest/gtest.h>

#include "platform/richedit/RichText.h"

TEST(TRichText, ReadsBackWhatWasAppendedNarrowOrWide) {
  struct TCase {
    std::vector<std::u16string> Pieces;
    bool Wide;
  } const Cases[] = {
      {{u"plain ", u"text\r"}, false},
      {{u"caf\u00E9 \u00FF"}, false},                   // Latin-1 stays narrow
      {{u"before ", u"\u20AC after", u" tail"}, true},  // a wider character widens what came before
      {{u"\u0416", u"abc"}, true},
      {{u"", u"x"}, false},
  };
  for (const auto& C : Cases) {
    std::u16string Want;
    TRichText T;
    for (const auto& P : C.Pieces) {
      T.append(P);
      Want += P;
    }
    SCOPED_TRACE(std::string(Want.begin(), Want.end()));
    EXPECT_EQ(T.Wide(), C.Wide);
    ASSERT_EQ(T.size(), Want.size());
    EXPECT_TRUE(T == Want);
    EXPECT_EQ(T.str(), Want);
    for (std::size_t I = 0; I < Want.size(); ++I) EXPECT_EQ(T[I], Want[I]);
    EXPECT_EQ(T.substr(1, 3), Want.substr(1, 3));
    EXPECT_EQ(T.substr(Want.size() - 1), Want.substr(Want.size() - 1));
    EXPECT_EQ(T.substr(Want.size() + 5), u"");   // past the end: nothing, not a fault
  }
}

TEST(TRichText, PopBackAndBackWorkInBothWidths) {
  TRichText T(u"ab\u0416");
  EXPECT_EQ(T.back(), u'\u0416');
  T.pop_back();
  EXPECT_EQ(T.back(), u'b');
  EXPECT_TRUE(T == u"ab");
  TRichText N(u"xy");
  N.pop_back();
  EXPECT_TRUE(N == u"x");
}
