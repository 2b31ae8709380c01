// JzXPThemes.h — the colour scheme of the captioned navigation panels: 18
// colours from a fixed table per colour variant of the XP visual style when
// it is active, else derived from the system colours. Binds the visual-style
// calls on its own (a load count under a lock), independently of the theme
// manager.
#pragma once
#include <array>
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"

struct TJzColorScheme {
  std::array<TColor, 18> Colors{};
  AnsiString FontName = "Default";  // "Default" stands for "Tahoma"
  int FontSize = -1;                // -1 stands for 8
  unsigned FontStyle = 0;
  bool DefaultFontStyle = true;     // the panel type's own style
};

// Each channel moved towards white by APercent (at most 100; a negative
// percentage darkens), rounded half to even and clamped to 0..255.
TColor LightenByPercent(TColor AColor, int APercent);
void FillSystemColorScheme(TJzColorScheme& AScheme);
// Fills the table column of the active XP colour variant and returns true;
// false, leaving the scheme alone, without the style or for another variant.
bool FillXPColorScheme(TJzColorScheme& AScheme);

bool LoadXPThemeLibrary();
void UnloadXPThemeLibrary();
int XPThemeLibraryLoadCount();
bool IsXPThemeActive();
// Reads the colour-variant name; true on success.
bool GetXPColorVariant(WideString& AName);
