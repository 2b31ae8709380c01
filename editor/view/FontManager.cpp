#include "editor/view/FontManager.h"

#include <algorithm>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/Paint.h"
#include "platform/win/WinTypes.h"

TFontManager::TFontManager() {
  for (Integer I = 0; I < SlotCount; ++I) FOrder[size_t(I)] = &FSlots[size_t(I)];
  FDc = GetDC(nullptr);
}

TFontManager::~TFontManager() {
  if (FDc) ReleaseDC(nullptr, FDc);
}

void TFontManager::Measure(TSlot& Slot) {
  HGDIOBJ Old = SelectObject(FDc, Slot.Font);
  int Widths[256] = {};
  GetCharWidth32A(FDc, 0, 255, Widths);
  TEXTMETRICA Tm{};
  const BOOL Ok = GetTextMetricsA(FDc, &Tm);
  SelectObject(FDc, Old);
  if (!Ok) {
    Slot.Font = nullptr;
    throw Exception("Cannot measure the font: system error " + IntToStr(Integer(GetLastError())));
  }
  for (Integer I = 0; I < 256; ++I) Slot.Widths[size_t(I)] = Widths[I];
  Slot.Metrics = {Integer(Tm.tmOverhang), Integer(Tm.tmAscent), Integer(Tm.tmDescent), 2 * Integer(Tm.tmAveCharWidth),
                  Integer(Tm.tmHeight)};
  ++FMeasurements;
}

TFontManager::TSlot& TFontManager::FindFont(HFONT Font) {
  Integer Found = SlotCount - 1;
  for (Integer I = 0; I < SlotCount; ++I) {
    TSlot* S = FOrder[size_t(I)];
    if (S->Font == Font) {
      Found = I;
      break;
    }
    if (S->Font == nullptr) {
      Found = I;
      break;
    }
  }
  TSlot* S = FOrder[size_t(Found)];
  if (S->Font != Font) {
    S->Font = Font;
    Measure(*S);
  }
  // To the front; the ones before it move one place back.
  std::rotate(FOrder.begin(), FOrder.begin() + Found, FOrder.begin() + Found + 1);
  return *S;
}

Integer TFontManager::MeasureText(HFONT Font, const char* Text, Integer Count, Integer* Widths,
                                  TFontMetricsRec* Metrics) {
  TSlot& S = FindFont(Font);
  Integer Sum = 0;
  for (Integer I = 0; I < Count; ++I) {
    const Integer W = S.Widths[Byte(Text[I])];
    if (Widths) Widths[I] = W;
    Sum += W;
  }
  if (Metrics) {
    Metrics->Overhang = S.Metrics.Overhang;
    Metrics->Ascent = S.Metrics.Ascent;
    Metrics->Descent = S.Metrics.Descent;
    Metrics->AveWidth2 = S.Metrics.AveWidth2;
  }
  return Sum;
}

Integer TFontManager::CharIndexAtX(HFONT Font, const char* Text, Integer Count, Integer X, bool FromEnd,
                                   bool NoRounding, Integer& Edge) {
  Edge = 0;
  if (Count <= 0) return 0;
  TSlot& S = FindFont(Font);
  Integer Sum = 0;
  for (Integer N = 0; N < Count; ++N) {
    const Integer I = FromEnd ? Count - 1 - N : N;
    const Integer W = S.Widths[Byte(Text[I])];
    if (Sum + W > X) {
      if (!NoRounding && X - Sum > W / 2) {
        Edge = Sum + W;
        return FromEnd ? I : I + 1;
      }
      Edge = Sum;
      return I;
    }
    Sum += W;
  }
  Edge = Sum;
  return FromEnd ? 0 : Count;
}

const TFontMetricsRec& TFontManager::GetFontMetrics(HFONT Font) { return FindFont(Font).Metrics; }

TFontManager& FontManager() {
  static TFontManager Instance;
  return Instance;
}
