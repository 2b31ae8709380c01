// Replays the page seeds and seeded mutations of them through the fuzz
// entry, so every CI run covers what the fuzzer checks.
#include <filesystem>

#include "BrowserTestSupport.h"
#include "fuzz/Mutations.h"
#include "support/TestFiles.h"

void HtmlViewFuzzOne(const std::uint8_t* Data, std::size_t Size);

namespace {

void Feed(const std::string& S) { HtmlViewFuzzOne(reinterpret_cast<const std::uint8_t*>(S.data()), S.size()); }

class HtmlViewFuzz : public browsertest::TBrowserTest {};

TEST_F(HtmlViewFuzz, SeedsAndTheirMutationsLayOut) {
  std::vector<std::string> Seeds;
  const auto Dir = std::filesystem::path(SX_SOURCE_DIR) / "tests/fuzz/seeds/sx_html_view_fuzzer";
  for (const auto& E : std::filesystem::directory_iterator(Dir)) Seeds.push_back(sxtest::ReadFile(E.path()));
  ASSERT_GE(Seeds.size(), 4u);
  std::vector<const char*> Ptrs;
  for (const std::string& S : Seeds) {
    Feed(S);
    Ptrs.push_back(S.c_str());
  }
  FeedMutations(Ptrs, 20261211, 25, "<>/=\"' &;#x0123456789abcdefpbrdivtable:{}()%-\xC3\xFF", Feed);
}

}  // namespace
