// Replays the shell-drop seeds (well-formed file drops, item-id list arrays
// and lists) and seeded mutations of them through the fuzz entry, so every
// CI run covers what the fuzzer checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/TestFiles.h"

void ShellDropFuzzOne(const std::uint8_t* Data, std::size_t Size);

namespace {

void Feed(const std::string& S) { ShellDropFuzzOne(reinterpret_cast<const std::uint8_t*>(S.data()), S.size()); }

std::vector<std::string> Seeds() {
  std::vector<std::string> Out;
  const auto Dir = std::filesystem::path(SX_SOURCE_DIR) / "tests/fuzz/seeds/sx_shell_drop_fuzzer";
  for (const auto& E : std::filesystem::directory_iterator(Dir)) Out.push_back(sxtest::ReadFile(E.path()));
  return Out;
}

}  // namespace

TEST(ShellDropFuzz, SeedsAreRead) {
  const auto S = Seeds();
  ASSERT_GE(S.size(), 4u);
  for (const std::string& Seed : S)
    for (char Reader = 0; Reader < 8; ++Reader) Feed(std::string(1, Reader).append(Seed, 1));
}

TEST(ShellDropFuzz, SeededMutationsStayInsideTheBlock) {
  std::mt19937 Rng(20261211);
  for (const std::string& Seed : Seeds()) {
    for (int Round = 0; Round < 40; ++Round) {
      std::string S = Seed;
      const int Edits = 1 + int(Rng() % 6);
      for (int E = 0; E < Edits && S.size() > 1; ++E) {
        const std::size_t At = 1 + Rng() % (S.size() - 1);
        switch (Rng() % 5) {
          case 0: S[At] = char(Rng()); break;
          case 1: S[At] = char(0xFF); break;  // counts, offsets and sizes at their ends
          case 2: S[At] = 0; break;           // early terminators, zero sizes
          case 3: S.resize(At); break;        // truncation
          case 4: S[At] = char(S[At] ^ 0x80); break;
        }
      }
      Feed(S);
    }
  }
}
