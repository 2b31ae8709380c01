#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Gdi.h"

using cxtest::Rgb;

namespace {
// Recomputes the scheme in whatever theme state the test set up, and
// recomputes it again for the desktop afterwards.
struct TSchemeReload {
  TSchemeReload() { ReloadOffice11Scheme(); }
  ~TSchemeReload() { ReloadOffice11Scheme(); }
};
}  // namespace

TEST(Office11Scheme, LunaSchemesFillTheirRowOfTheTable) {
  struct TCase {
    const char16_t* Name;
    int Index;
    std::uint32_t S3, S4, Entry21, Entry48;
    int Gradient;
  };
  const TCase Cases[] = {
      {u"NormalColor", 1, 0xFEECDD, 0xE2A981, 0x800000, 0xFFFFFF, 41},
      {u"HomeStead", 2, 0xDEF7F4, 0x91C6B7, 0x385D3F, 0xFFFFFF, 125},
      {u"Metallic", 3, 0xFAF4F3, 0xB59799, 0x6F4B4B, 0xFFFFFF, 40},
  };
  cxtest::TThemesOn Themes;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Name, C.Name + std::char_traits<char16_t>::length(C.Name)).size());
    Themes.Binding->ColorScheme = C.Name;
    TSchemeReload Reload;
    EXPECT_EQ(GetOffice11SchemeIndex(), C.Index);
    EXPECT_TRUE(IsOffice11SchemeThemed());
    EXPECT_EQ(Office11Slot(3), TColor(C.S3));
    EXPECT_EQ(Office11Slot(4), TColor(C.S4));
    EXPECT_EQ(Office11SchemeEntry(21), TColor(C.Entry21));
    EXPECT_EQ(Office11SchemeEntry(48), TColor(C.Entry48));
    EXPECT_EQ(GetOffice11GradientPercent(), C.Gradient);
    EXPECT_EQ(Office11Slot(29), TColor(0xFFFFFF)) << "scheme white";
    EXPECT_EQ(Office11Slot(16), MixColors(Office11Slot(8), Office11Slot(12), 50)) << "scheme mix of 4 and 11";
    EXPECT_EQ(Office11Slot(56), Office11Slot(16));
  }
}

TEST(Office11Scheme, WithoutLunaTheColoursComeFromTheSystem) {
  const auto Check = [] {
    TSchemeReload Reload;
    EXPECT_EQ(GetOffice11SchemeIndex(), 0);
    EXPECT_FALSE(IsOffice11SchemeThemed());
    EXPECT_EQ(Office11Slot(1), clBtnFace);
    EXPECT_EQ(Office11Slot(42), clHighlight);
    EXPECT_EQ(Office11Slot(3), MixColors(clBtnFace, clWindow, 22));
    EXPECT_EQ(Office11Slot(67), TColor(0xE3E7E9))
        << "caption light of the face 212,208,200: c * 127 div 255 + 128";
    EXPECT_EQ(GetOffice11GradientPercent(), 75);
  };
  {
    SCOPED_TRACE("visual styles off");
    Check();
  }
  cxtest::TThemesOn Themes;
  {
    SCOPED_TRACE("another Luna colour scheme");
    Themes.Binding->ColorScheme = u"Royale";
    Check();
  }
  {
    SCOPED_TRACE("another visual style");
    Themes.Binding->ColorScheme = u"NormalColor";
    Themes.Binding->FileName = u"C:\\Themes\\Other.msstyles";
    Check();
  }
}

TEST(Office11Scheme, BrushesLiveWhileLockedAndReloadAloneKeepsThemAbsent) {
  // Look-and-feel objects of earlier tests hold locks: let go of them for
  // the test and take them again after.
  const int Base = Office11LockCount();
  for (int i = 0; i < Base; ++i) UnlockOffice11Scheme();
  ReloadOffice11Scheme();
  EXPECT_EQ(Office11Brush(1), nullptr) << "reload while unlocked recomputes colours only";
  LockOffice11Scheme();
  LockOffice11Scheme();
  EXPECT_NE(Office11Brush(6), nullptr);
  EXPECT_EQ(Office11Brush(12), Office11Brush(5)) << "B12 shares B5's handle";
  UnlockOffice11Scheme();
  EXPECT_NE(Office11Brush(6), nullptr);
  UnlockOffice11Scheme();
  EXPECT_EQ(Office11Brush(6), nullptr);
  EXPECT_EQ(Office11ExpandButtonBitmap(true), nullptr);
  for (int i = 0; i < Base; ++i) LockOffice11Scheme();
}

TEST(Office11Scheme, GradientUsesAtMost256BandsAndEqualColoursFillOnce) {
  cxtest::TPaintBox Box(1000, 4);
  const TRect Wide{0, 0, 1000, 4};
  FillGradientRect(Box.Canvas()->GetDC(), Wide, TColor(0x000000), TColor(0xFF0000), true);
  EXPECT_EQ(Box.Pixel(0, 0), TColor(0)) << "first band is the first colour";
  EXPECT_EQ(Box.Pixel(999, 0), TColor(0xFF0000)) << "last band the second";
  EXPECT_EQ(Box.Pixel(3, 0), Box.Pixel(0, 0)) << "a band of 1000/256 pixels";
  EXPECT_EQ(GradientColorAt(Wide, 502, TColor(0), TColor(0xFF0000), true), Box.Pixel(502, 0));
  cxtest::TPaintBox Narrow(10, 1);
  FillGradientRect(Narrow.Canvas()->GetDC(), {0, 0, 10, 1}, TColor(0), TColor(0x090909), true);
  for (int X = 0; X < 10; ++X) EXPECT_EQ(Narrow.Pixel(X, 0), TColor(0x010101 * X)) << "one band per pixel";
}

TEST(Office11Scheme, ColourHelpersMixBlendAndScale) {
  EXPECT_EQ(Rgb(MixColors(TColor(0xFFFFFF), TColor(0), 50)), TColor(0x808080));
  EXPECT_EQ(Rgb(ScaleColor(TColor(0x0A0A0A), 90)), TColor(0x090909));
  // 212,208,200 face; 10,36,106 highlight; white window: -2/30/72 %.
  EXPECT_EQ(Rgb(BlendSystemColors(-2, 30, 72)), TColor(0xD4BFB7));
}

TEST(Office11Scheme, ArrowInASmallRectangleUsesTheMinimumSize) {
  cxtest::TPaintBox Box(10, 10, TColor(0xFFFFFF));
  DrawOffice11ArrowInRect(Box.Canvas()->GetDC(), {0, 0, 10, 10}, /*ADown=*/true, true, false);
  // size 3: a triangle 5 wide at the top row y0 = (10-3)/2 = 3, from x0 = 2.
  EXPECT_NE(Box.Pixel(2, 3), TColor(0xFFFFFF));
  EXPECT_NE(Box.Pixel(6, 3), TColor(0xFFFFFF));
  EXPECT_EQ(Box.Pixel(7, 3), TColor(0xFFFFFF));
  EXPECT_NE(Box.Pixel(4, 5), TColor(0xFFFFFF)) << "the tip";
  EXPECT_EQ(Box.Pixel(4, 6), TColor(0xFFFFFF));
}
