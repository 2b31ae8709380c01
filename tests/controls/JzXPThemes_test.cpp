#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/lookandfeel/JzXPThemes.h"

namespace {
// The panels' own binding, loaded for the test.
struct TLoaded {
  TLoaded() { LoadXPThemeLibrary(); }
  ~TLoaded() { UnloadXPThemeLibrary(); }
};
}  // namespace

TEST(JzXPThemes, LightenByPercentMovesTowardsWhiteAndClamps) {
  EXPECT_EQ(LightenByPercent(TColor(0), 50), TColor(0x808080)) << "127.5 rounds to even 128";
  EXPECT_EQ(LightenByPercent(TColor(0x123456), 150), LightenByPercent(TColor(0x123456), 100));
  EXPECT_EQ(LightenByPercent(TColor(0x123456), 100), TColor(0xFFFFFF));
  EXPECT_EQ(LightenByPercent(TColor(0), -60), TColor(0)) << "a black face stays black";
  EXPECT_EQ(LightenByPercent(TColor(0x646464), -100), TColor(0x000000)) << "100 - 155 clamps at 0";
}

TEST(JzXPThemes, VariantColumnsWhenTheStyleIsActiveElseTheSystemColumn) {
  TLoaded Loaded;
  TJzColorScheme S;
  FillSystemColorScheme(S);
  EXPECT_EQ(S.Colors[11], clAppWorkSpace);
  EXPECT_EQ(S.Colors[0], LightenByPercent(clBtnFace, 90));
  EXPECT_EQ(S.FontName, "Default");
  EXPECT_FALSE(FillXPColorScheme(S)) << "no visual style on this desktop";
  cxtest::TThemesOn Themes;
  struct TCase {
    const char16_t* Variant;
    bool Known;
    std::uint32_t Entry0, Entry12;
  };
  const TCase Cases[] = {{u"NormalColor", true, 0xFCE1CB, 0x993300},
                         {u"HomeStead", true, 0xCFF0EA, 0x588060},
                         {u"Metallic", true, 0xECE2E1, 0x947C7C},
                         {u"normalcolor", false, 0, 0}};
  for (const TCase& C : Cases) {
    Themes.Binding->ColorScheme = C.Variant;
    TJzColorScheme X;
    FillSystemColorScheme(X);
    const TColor Before = X.Colors[0];
    EXPECT_EQ(FillXPColorScheme(X), C.Known);
    if (C.Known) {
      EXPECT_EQ(X.Colors[0], TColor(C.Entry0));
      EXPECT_EQ(X.Colors[12], TColor(C.Entry12));
      EXPECT_EQ(X.Colors[5], TColor(0x8ACCFF));
      EXPECT_EQ(X.Colors[15], TColor(0xFFFFFF));
    } else
      EXPECT_EQ(X.Colors[0], Before) << "an unknown variant changes nothing";
  }
}

TEST(JzXPThemes, TheLastUnloadUnbindsTheStyleCalls) {
  cxtest::TThemesOn Themes;
  const int Base = XPThemeLibraryLoadCount();
  LoadXPThemeLibrary();
  LoadXPThemeLibrary();
  EXPECT_TRUE(IsXPThemeActive());
  UnloadXPThemeLibrary();
  EXPECT_TRUE(IsXPThemeActive());
  UnloadXPThemeLibrary();
  EXPECT_EQ(XPThemeLibraryLoadCount(), Base);
  if (Base == 0) {
    EXPECT_FALSE(IsXPThemeActive());
  }
}
