#include "platform/rtl/Markup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MarkupEscape, EachKindWritesWhatItsContextCannotHold) {
  struct TCase {
    TMarkupEscape Kind;
    std::string In, Want;
  } const Cases[] = {
      {TMarkupEscape::Xml, "a<b>&\"'", "a&lt;b&gt;&amp;&quot;&apos;"},
      {TMarkupEscape::Xml, "t\tl\nr\r\x01\x7F", "t\tl r  \x7F"},
      {TMarkupEscape::HtmlText, "a b<\"'", "a&nbsp;b&lt;&quot;'"},
      {TMarkupEscape::HtmlAttr, "a b&\"'\n", "a b&amp;&quot;'\n"},
      {TMarkupEscape::XmlLines, "a<b>&\"'", "a&lt;b&gt;&amp;\"'"},
      // Line ends are the text's own; other controls would break the packet.
      {TMarkupEscape::XmlLines, "t\tl\nr\r\x01\x1F\x7F" "end", "t\tl\nr\rend"},
      {TMarkupEscape::XmlLines, std::string("a\0b", 3), "ab"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(MarkupEscape(C.In, C.Kind), C.Want) << C.In;
}

TEST(AppendMarkupEscaped, AddsToWhatIsThere) {
  std::string Out = "<p>";
  AppendMarkupEscaped(Out, "x&y", TMarkupEscape::HtmlText);
  EXPECT_EQ(Out, "<p>x&amp;y");
}

}  // namespace
