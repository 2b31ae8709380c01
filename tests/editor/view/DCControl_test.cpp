#include <gtest/gtest.h>

#include "editor/view/DCControl.h"

TEST(LinkHelpers, UrlAndEmailRecognition) {
  struct TCase {
    const char* Text;
    bool Url, Email;
  };
  const TCase Cases[] = {
      {"www.example.com", true, false},
      {"WWW.EXAMPLE.COM", true, false},
      {"http://x.org", true, false},
      {"https://x.org", false, false},  // only the four listed prefixes count
      {"ftp://host", true, false},
      {"gopher://host", true, false},
      {"a@b.c", false, true},
      {"a@b", false, false},           // no "." after the "@"
      {"a.b@c", false, false},         // the last "." before the "@"
      {"a@@b.c", false, false},        // two "@"
      {"a@-b.c", false, false},        // a hyphen after the "@"
      {"a@_b.c", false, true},
      {"MaIlTo:anything", false, true},
      {"", false, false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(IsUrl(C.Text), C.Url);
    EXPECT_EQ(IsEmailAddress(C.Text), C.Email);
    EXPECT_EQ(IsUrlText(C.Text), C.Url || C.Email);
  }
}
