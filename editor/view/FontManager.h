// FontManager.h — the process's cache of font measures for the editor's
// painting and word wrap: for the 32 fonts used most recently, the metrics
// and the advance of each of the 256 character codes, measured once on a
// screen device context. Later widths are table lookups.
//
// A slot is known by the font handle alone: a handle the system reuses for
// another font after the first was freed finds the old widths.
#pragma once
#include <array>
#include "platform/gdi/Gdi.h"

struct TFontMetricsRec {
  Integer Overhang = 0;
  Integer Ascent = 0;
  Integer Descent = 0;
  Integer AveWidth2 = 0;  // twice the average character width
  Integer Height = 0;
};

class TFontManager {
public:
  static constexpr Integer SlotCount = 32;
  TFontManager();
  ~TFontManager();
  TFontManager(const TFontManager&) = delete;
  TFontManager& operator=(const TFontManager&) = delete;

  // The sum of the first Count characters' widths; Widths (when given) gets
  // each one; Metrics (when given) the first four fields.
  Integer MeasureText(HFONT Font, const char* Text, Integer Count, Integer* Widths, TFontMetricsRec* Metrics);
  // The index of the character at pixel X (from the last character
  // backwards with FromEnd, X then counted from the text's right end). Edge
  // gets the found character's left edge (its right edge when rounding
  // moved to the next one; the total width when X lies past the text).
  // Without NoRounding a point in the right half of a character gives the
  // next index; a tie stays left.
  Integer CharIndexAtX(HFONT Font, const char* Text, Integer Count, Integer X, bool FromEnd, bool NoRounding,
                       Integer& Edge);
  const TFontMetricsRec& GetFontMetrics(HFONT Font);
  // Fonts measured so far (a miss measures; a hit does not).
  Integer Measurements() const { return FMeasurements; }

private:
  struct TSlot {
    HFONT Font = nullptr;
    TFontMetricsRec Metrics;
    std::array<Integer, 256> Widths{};
  };
  TSlot& FindFont(HFONT Font);
  void Measure(TSlot& Slot);
  std::array<TSlot, SlotCount> FSlots;
  std::array<TSlot*, SlotCount> FOrder;  // most recent first; empty slots last
  HDC FDc = nullptr;
  Integer FMeasurements = 0;
};

TFontManager& FontManager();
