#include "editor/text/LineGapBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Every edit compared with a plain vector doing the same: edits jump
// around (gap moved both ways), cluster (gap barely moves) and run past
// several growths with the gap in the middle.
TEST(TGapBuffer, MatchesAPlainArrayThroughMixedEdits) {
  std::vector<int> Values(5000);
  for (size_t I = 0; I < Values.size(); ++I) Values[I] = int(I);
  std::mt19937 Rng(1234);
  TGapBuffer<int> Buf;
  std::vector<int*> Model;
  size_t Next = 0;
  for (int Step = 0; Step < 20000; ++Step) {
    const bool Grow = Model.empty() || Rng() % 5 < 3;
    size_t At;
    if (Rng() % 4 == 0 || Model.empty())
      At = Model.empty() ? 0 : Rng() % (Model.size() + (Grow ? 1 : 0));
    else  // near the middle, as typing does
      At = std::min(Model.size() / 2 + Rng() % 3, Model.size() - (Grow ? 0 : 1));
    if (Grow) {
      int* P = &Values[Next++ % Values.size()];
      Buf.Insert(At, P);
      Model.insert(Model.begin() + std::ptrdiff_t(At), P);
    } else {
      ASSERT_EQ(Buf.Remove(At), Model[At]);
      Model.erase(Model.begin() + std::ptrdiff_t(At));
    }
    ASSERT_EQ(Buf.Size(), Model.size());
    if (Step % 997 == 0) {
      for (size_t I = 0; I < Model.size(); ++I) ASSERT_EQ(Buf.At(I), Model[I]) << "step " << Step << " index " << I;
      std::vector<int*> Seen;
      Buf.ForEach([&](int* P) { Seen.push_back(P); });
      ASSERT_EQ(Seen, Model);
    }
  }
  for (size_t I = 0; I < Model.size(); ++I) ASSERT_EQ(Buf.At(I), Model[I]);
  Buf.Clear();
  EXPECT_EQ(Buf.Size(), 0u);
  EXPECT_EQ(Buf.Capacity(), 0u);
}

TEST(TGapBuffer, AppendsAndPrependsAcrossGrowth) {
  std::vector<int> V(300);
  TGapBuffer<int> Buf;
  for (size_t I = 0; I < 150; ++I) Buf.Insert(Buf.Size(), &V[150 + I]);  // append
  for (size_t I = 0; I < 150; ++I) Buf.Insert(0, &V[149 - I]);          // prepend
  ASSERT_EQ(Buf.Size(), 300u);
  EXPECT_GE(Buf.Capacity(), 300u);
  for (size_t I = 0; I < 300; ++I) ASSERT_EQ(Buf.At(I), &V[I]);
  Buf.At(7) = &V[0];
  EXPECT_EQ(Buf.At(7), &V[0]);
}

}  // namespace
