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

// A text grown piece by piece to megabytes keeps every character through
// its moves, widening, copying and shrinking.
TEST(TRichText, KeepsItsTextThroughGrowingWideningCopyingAndShrinking) {
  TRichText T;
  std::u16string Expected;
  const std::u16string Chunk = u"0123456789abcdef";
  while (Expected.size() < (std::size_t(1) << 20) + 1000) {
    T.append(Chunk);
    Expected += Chunk;
  }
  EXPECT_TRUE(T == Expected);
  TRichText Copy = T;
  T.append(u"\u0416");   // widening makes it twice as large
  Expected += u"\u0416";
  EXPECT_TRUE(T.Wide());
  EXPECT_TRUE(T == Expected);
  EXPECT_TRUE(Copy == Expected.substr(0, Expected.size() - 1)) << "a copy is its own text";
  while (Copy.size() > 10) Copy.pop_back();
  Copy.shrink_to_fit();
  EXPECT_TRUE(Copy == u"0123456789");
  Copy.append(u"xyz");
  EXPECT_EQ(Copy.str(), u"0123456789xyz");
  TRichText Moved = std::move(T);
  EXPECT_EQ(Moved.size(), Expected.size());
  EXPECT_EQ(Moved[Expected.size() - 1], u'\u0416');
}
