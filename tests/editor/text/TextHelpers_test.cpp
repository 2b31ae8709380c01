#include "editor/text/TextHelpers.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

TEST(TextHelpers, BlanksAndLineBreaks) {
  struct TCase { const char* In; bool KeepTabs; Integer Side; const char* Want; };
  const TCase Cases[] = {
      {"  a b \t ", false, 0, "a b \t "}, {"  a b \t ", false, 1, "  a b"},
      {"  a b \t ", false, 2, "a b"},     {" a\t ", true, 1, " a\t"},
  };
  for (const auto& C : Cases) EXPECT_EQ(TrimBlanks(C.In, C.KeepTabs, C.Side), C.Want) << C.In << " side " << C.Side;
  AnsiString S = "line\r\n";
  EXPECT_TRUE(StripLineBreak(S));
  EXPECT_EQ(S, "line");
  EXPECT_FALSE(StripLineBreak(S));
  S = "x\n\n\n";
  StripLineBreak(S);
  EXPECT_EQ(S, "x\n") << "at most two characters";
}

TEST(TextHelpers, PositionsAndPadding) {
  EXPECT_EQ(NextTab("a\tb\tc", 0), 2);
  EXPECT_EQ(NextTab("a\tb\tc", 2), 4);
  EXPECT_EQ(NextSpace("abc", 0), 0);
  EXPECT_TRUE(CharAt("abc", 2, 'b'));
  EXPECT_FALSE(CharAt("abc", 4, 'b'));
  AnsiString S = "ab";
  SetLengthPadded(S, 4);
  EXPECT_EQ(S, AnsiString("ab\0\0", 4));
  SetLengthPadded(S, 1);
  EXPECT_EQ(S, "a");
  EXPECT_EQ(ExpandTabsFixed("a\tb", 3), "a   b");
  EXPECT_EQ(CopyText("abcdef", 2, 3), "bcd");
  EXPECT_EQ(CopyText("abc", 5, 1), "");
}

TEST(TextHelpers, ClipboardLinesKeepAFinalEmptyLine) {
  TStringList L;
  SetClipboardTextReader([](AnsiString& T) {
    T = "one\r\ntwo\r\n";
    return true;
  });
  ReadClipboardLines(&L);
  EXPECT_EQ(L.GetCount(), 3);
  EXPECT_EQ(L[2], "");
  SetClipboardTextReader([](AnsiString&) { return false; });
  ReadClipboardLines(&L);
  EXPECT_EQ(L.GetCount(), 0) << "no text: an empty list";
  SetClipboardTextReader(nullptr);
}

}  // namespace
