// Mutations.h — deterministic mutations for the fuzz entries' replay tests:
// each seed is edited a few bytes at a time (replaced, inserted, erased, cut
// short) from a fixed random sequence, so a failure reproduces exactly.
#pragma once
#include <random>
#include <string>

template <class TSeeds, class TFeed>
void FeedMutations(const TSeeds& Seeds, unsigned RngSeed, int Rounds,
                   const std::string& Alphabet, TFeed Feed) {
  std::mt19937 Rng(RngSeed);
  for (const char* Seed : Seeds) {
    const std::string Base = Seed;
    for (int Round = 0; Round < Rounds; ++Round) {
      std::string S = Base;
      const int Edits = 1 + int(Rng() % 8);
      for (int E = 0; E < Edits && !S.empty(); ++E) {
        const size_t At = Rng() % S.size();
        switch (Rng() % 4) {
          case 0: S[At] = Alphabet[Rng() % Alphabet.size()]; break;
          case 1: S.insert(At, 1, Alphabet[Rng() % Alphabet.size()]); break;
          case 2: S.erase(At, 1 + Rng() % 4); break;
          case 3: S.resize(At); break;  // truncation
        }
      }
      Feed(S);
    }
  }
}
