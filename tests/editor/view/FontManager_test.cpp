#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/view/FontManager.h"
#include "platform/gdi/DrawingTools.h"

namespace {
// Fonts of distinct sizes: distinct handles for the cache.
std::vector<std::unique_ptr<TFont>> MakeFonts(Integer N) {
  std::vector<std::unique_ptr<TFont>> Fonts;
  for (Integer I = 0; I < N; ++I) {
    Fonts.push_back(std::make_unique<TFont>());
    Fonts.back()->SetName("Courier New");
    Fonts.back()->SetSize(6 + I);
  }
  return Fonts;
}
}  // namespace

TEST(TFontManager, The33rdFontEvictsTheLeastRecentlyUsed) {
  TFontManager M;
  auto Fonts = MakeFonts(TFontManager::SlotCount + 1);
  for (Integer I = 0; I < TFontManager::SlotCount; ++I) M.GetFontMetrics(Fonts[size_t(I)]->GetHandle());
  EXPECT_EQ(M.Measurements(), TFontManager::SlotCount);
  M.GetFontMetrics(Fonts[0]->GetHandle());  // a hit: font 0 is now the most recent
  EXPECT_EQ(M.Measurements(), TFontManager::SlotCount);
  M.GetFontMetrics(Fonts[TFontManager::SlotCount]->GetHandle());  // evicts font 1
  EXPECT_EQ(M.Measurements(), TFontManager::SlotCount + 1);
  M.GetFontMetrics(Fonts[0]->GetHandle());
  EXPECT_EQ(M.Measurements(), TFontManager::SlotCount + 1) << "font 0 stayed";
  M.GetFontMetrics(Fonts[1]->GetHandle());
  EXPECT_EQ(M.Measurements(), TFontManager::SlotCount + 2) << "font 1 was measured anew";
}

TEST(TFontManager, MeasuresAndFindsCharactersByPixel) {
  TFontManager M;
  TFont F;
  F.SetName("Courier New");
  F.SetSize(10);
  const HFONT H = F.GetHandle();
  Integer W[3] = {};
  TFontMetricsRec Rec;
  const Integer Sum = M.MeasureText(H, "abc", 3, W, &Rec);
  ASSERT_GT(W[0], 1);
  EXPECT_EQ(Sum, W[0] + W[1] + W[2]);
  EXPECT_GT(Rec.Ascent, 0);
  EXPECT_EQ(Rec.AveWidth2, M.GetFontMetrics(H).AveWidth2);
  const Integer Cw = W[0];  // fixed pitch
  struct TCase {
    Integer X;
    bool NoRounding;
    Integer Index, Edge;
    const char* Why;
  };
  const TCase Cases[] = {
      {Cw, true, 1, Cw, "a boundary belongs to the right-hand character"},
      {Cw + Cw / 2, false, 1, Cw, "the left half (a tie) stays"},
      {Cw + Cw / 2 + 1, false, 2, 2 * Cw, "the right half rounds to the next"},
      {Cw + Cw / 2 + 1, true, 1, Cw, "no rounding"},
      {10 * Cw, true, 3, 3 * Cw, "past the text: the count and the total width"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    Integer Edge = -1;
    EXPECT_EQ(M.CharIndexAtX(H, "abc", 3, C.X, false, C.NoRounding, Edge), C.Index);
    EXPECT_EQ(Edge, C.Edge);
  }
  Integer Edge = -1;
  EXPECT_EQ(M.CharIndexAtX(H, "abc", 0, 5, false, true, Edge), 0);
  EXPECT_EQ(Edge, 0);
}
