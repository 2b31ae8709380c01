#include "controls/lookandfeel/JzXPThemes.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include "platform/win/UxTheme.h"

namespace {
struct TBinding {
  std::mutex Lock;
  int Count = 0;
  bool Loaded = false;
};
TBinding& Binding() {
  static TBinding B;
  return B;
}

int Red(COLORREF C) { return int(C & 0xFF); }
int Green(COLORREF C) { return int((C >> 8) & 0xFF); }
int Blue(COLORREF C) { return int((C >> 16) & 0xFF); }

// Columns of the three XP colour variants (blue, olive, silver) for the
// entries that differ between them: 0-3 and 10-14.
constexpr std::uint32_t Variants[3][9] = {
    {0xFCE1CB, 0xFADAC4, 0xF5BE9E, 0xE0A57D, 0xD68759, 0x9C420E, 0x993300, 0xD68759, 0x933803},
    {0xCFF0EA, 0xE4F1F2, 0xA7D9D9, 0x8CC0B1, 0x6F8E78, 0x435B49, 0x588060, 0x82C0AF, 0x447A63},
    {0xECE2E1, 0xF7F3F3, 0xE5D7D7, 0xB19395, 0xBFA7A8, 0x977677, 0x947C7C, 0xBFA7A8, 0x916F70},
};
}  // namespace

TColor LightenByPercent(TColor AColor, int APercent) {
  APercent = std::min(APercent, 100);
  const COLORREF C = ColorToRGB(AColor);
  auto Ch = [APercent](int V) {
    const int R = V + int(std::nearbyint((255.0 - V) * APercent / 100.0));
    return std::clamp(R, 0, 255);
  };
  return TColor(Ch(Red(C)) | (Ch(Green(C)) << 8) | (Ch(Blue(C)) << 16));
}

void FillSystemColorScheme(TJzColorScheme& S) {
  auto& C = S.Colors;
  C[0] = LightenByPercent(clBtnFace, 90);
  C[1] = LightenByPercent(clBtnFace, 40);
  C[2] = LightenByPercent(clBtnFace, -60);
  C[3] = LightenByPercent(clBtnFace, -35);
  C[4] = C[5] = LightenByPercent(clHighlight, 65);
  C[6] = C[7] = LightenByPercent(clHighlight, 75);
  C[8] = C[9] = LightenByPercent(clHighlight, 50);
  C[10] = LightenByPercent(clBtnShadow, 30);
  C[11] = clAppWorkSpace;
  C[12] = clAppWorkSpace;
  C[13] = clBtnShadow;
  C[14] = clBtnShadow;
  C[15] = clCaptionText;
  C[16] = clWindowText;
  C[17] = clHighlightText;
}

bool FillXPColorScheme(TJzColorScheme& S) {
  WideString Name;
  if (!IsXPThemeActive() || !GetXPColorVariant(Name)) return false;
  int V;
  if (Name == u"NormalColor")
    V = 0;
  else if (Name == u"HomeStead")
    V = 1;
  else if (Name == u"Metallic")
    V = 2;
  else
    return false;  // the comparison is case-sensitive
  auto& C = S.Colors;
  static constexpr int Entries[9] = {0, 1, 2, 3, 10, 11, 12, 13, 14};
  for (int i = 0; i < 9; ++i) C[std::size_t(Entries[i])] = TColor(Variants[V][i]);
  C[4] = LightenByPercent(TColor(0x8ACCFF), 60);
  C[5] = TColor(0x8ACCFF);
  C[6] = LightenByPercent(TColor(0x4EA5FF), 30);
  C[7] = TColor(0x4EA5FF);
  C[8] = LightenByPercent(TColor(0x8ACCFF), 30);
  C[9] = TColor(0x3E80FE);
  C[15] = TColor(0xFFFFFF);
  C[16] = TColor(0);
  C[17] = TColor(0);
  return true;
}

bool LoadXPThemeLibrary() {
  TBinding& B = Binding();
  std::lock_guard<std::mutex> G(B.Lock);
  ++B.Count;
  // The visual-style calls are part of our platform layer: always there.
  B.Loaded = true;
  return B.Loaded;
}

void UnloadXPThemeLibrary() {
  TBinding& B = Binding();
  std::lock_guard<std::mutex> G(B.Lock);
  if (B.Count > 0) --B.Count;
  if (B.Loaded && B.Count == 0) B.Loaded = false;
}

int XPThemeLibraryLoadCount() {
  TBinding& B = Binding();
  std::lock_guard<std::mutex> G(B.Lock);
  return B.Count;
}

bool IsXPThemeActive() {
  {
    TBinding& B = Binding();
    std::lock_guard<std::mutex> G(B.Lock);
    if (!B.Loaded) return false;
  }
  return IsThemeActive() && IsAppThemed();
}

bool GetXPColorVariant(WideString& AName) {
  WCHAR Buffer[60] = {};
  if (GetCurrentThemeName(nullptr, 0, Buffer, 60, nullptr, 0) != S_OK) return false;
  AName = Buffer;
  return true;
}
