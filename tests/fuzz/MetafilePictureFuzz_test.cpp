// Replays stretched-blit metafiles (Windows and enhanced) and seeded byte
// mutations of them through the metafile-picture fuzz entry, so every CI
// run covers what the fuzzer checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/Wmf.h"
#include "support/HostileMetafiles.h"

void MetafilePictureFuzzOne(const std::uint8_t* Data, std::size_t Size);

namespace {

void Feed(const std::string& S) {
  MetafilePictureFuzzOne(reinterpret_cast<const std::uint8_t*>(S.data()), S.size());
}

// The seeds: the first byte picks the picture kind (bits 0-1: WMF, EMF) and
// its goal size (bits 2-3).
std::vector<std::string> Seeds() {
  std::vector<std::string> Out;
  for (int Ext : {0, 1, 3}) {
    const std::string Wmf = sxtest::StretchedBlitWmf(Ext);
    const auto* P = reinterpret_cast<const Byte*>(Wmf.data());
    const std::vector<Byte> Emf = WmfToEmf(std::span<const Byte>(P, Wmf.size()), nullptr, TMetafileReference());
    for (char Goal = 0; Goal < 4; ++Goal) {
      Out.push_back(std::string(1, char(Goal << 2)) + Wmf);
      Out.push_back(std::string(1, char(Goal << 2 | 1)).append(Emf.begin(), Emf.end()));
    }
  }
  return Out;
}

}  // namespace

TEST(MetafilePictureFuzz, StretchedBlitsMakeAPage) {
  for (const std::string& S : Seeds()) Feed(S);
}

TEST(MetafilePictureFuzz, SeededMutationsMakeAPage) {
  std::mt19937 Rng(20261211);
  for (const std::string& Seed : Seeds()) {
    for (int Round = 0; Round < 12; ++Round) {
      std::string S = Seed;
      const int Edits = 1 + int(Rng() % 6);
      for (int E = 0; E < Edits && S.size() > 1; ++E) {
        const std::size_t At = 1 + Rng() % (S.size() - 1);
        switch (Rng() % 4) {
          case 0: S[At] = char(Rng()); break;
          case 1: S[At] = char(0xFF); break;        // extents and sizes at their ends
          case 2: S[At] = char(S[At] ^ 0x80); break;
          case 3: S.resize(At); break;              // truncation
        }
      }
      Feed(S);
    }
  }
}
