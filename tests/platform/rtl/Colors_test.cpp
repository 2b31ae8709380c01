#include "platform/rtl/Colors.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

TEST(TColor, StandardAndSystemColoursKeepTheirEncoding) {
  EXPECT_EQ(int(clRed), 0x0000FF);  // 0x00BBGGRR
  EXPECT_EQ(int(clBlue), 0xFF0000);
  EXPECT_EQ(std::uint32_t(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(std::uint32_t(clMenuBar), 0xFF00001Eu);
  EXPECT_LT(clWindow, 0);  // system colours are negative, which is what ColorToRGB tests
  EXPECT_EQ(int(clNone), 0x1FFFFFFF);
  EXPECT_EQ(int(clDefault), 0x20000000);
}

TEST(ColorToRGB, ResolvesSystemColoursAndPassesEverythingElse) {
  struct TCase { TColor Color; COLORREF Want; const char* Why; };
  const TCase Cases[] = {
      {clRed, 0x0000FF, "RGB unchanged"},
      {clBtnFace, RGB(212, 208, 200), "classic grey face"},
      {clWindow, RGB(255, 255, 255), "white window"},
      {clHotLight, RGB(0, 0, 128), "hot-light navy"},
      {cl3DDkShadow, RGB(64, 64, 64), "dark shadow"},
      {clInfoBk, RGB(255, 255, 225), "tooltip yellow"},
      {clNone, 0x1FFFFFFF, "clNone is not a colour to resolve"},
      {clDefault, 0x20000000, "clDefault likewise"},
      {TColor(std::int32_t(0xFF000019u)), 0, "unassigned index 25"},
      {TColor(std::int32_t(0xFF0000FFu)), 0, "index beyond the table"},
      {TColor(std::int32_t(0x80000005u)), RGB(255, 255, 255), "any negative value is a system colour"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(ColorToRGB(C.Color), C.Want);
  }
}

TEST(GetSysColor, AnswersZeroOutsideTheTable) {
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(COLOR_ENDCOLORS), 0u);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DFACE));
  EXPECT_NE(GetSysColor(COLOR_BTNFACE), 0u);
  EXPECT_NE(GetSysColor(COLOR_BTNFACE), 0xFFFFFFu);  // not a high-contrast scheme
}

TEST(ColorToString, WritesIdentifiersOrEightHexDigits) {
  struct TCase { TColor Color; const char* Text; };
  const TCase Cases[] = {
      {clBlack, "clBlack"},
      {clRed, "clRed"},
      {clLtGray, "clSilver"},  // aliases are written by their first name
      {clDkGray, "clGray"},
      {clMoneyGreen, "clMoneyGreen"},
      {clMedGray, "clMedGray"},
      {clScrollBar, "clScrollBar"},
      {clBackground, "clBackground"},
      {cl3DLight, "cl3DLight"},
      {clGradientInactiveCaption, "clGradientInactiveCaption"},
      {clMenuHighlight, "clMenuHighlight"},
      {clNone, "clNone"},
      {clDefault, "clDefault"},
      {TColor(0x123456), "$00123456"},
      {TColor(0xABCDEF), "$00ABCDEF"},
      {TColor(std::int32_t(0xFF000019u)), "$FF000019"},
      {TColor(-1), "$FFFFFFFF"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ColorToString(C.Color), C.Text);
    EXPECT_EQ(StringToColor(C.Text), C.Color);
  }
}

TEST(StringToColor, ReadsIdentifiersInAnyCaseAndIntegers) {
  struct TCase { const char* Text; TColor Want; };
  const TCase Cases[] = {
      {"CLRED", clRed},
      {"clbtnface", clBtnFace},
      {"255", clRed},
      {"$FF", clRed},
      {"0xff0000", clBlue},
      {"-16777201", clBtnFace},
      {"$FF00000F", clBtnFace},
      {"  12", TColor(12)},  // leading blanks are allowed, trailing ones are not
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(StringToColor(C.Text), C.Want);
  }
}

TEST(StringToColor, RejectsTextThatIsNeitherNameNorInteger) {
  const char* const Bad[] = {"", "clLtGray", "red", "$", "12 ", "$1FFFFFFFF", "2147483648", "#FF0000"};
  for (const char* Text : Bad) {
    SCOPED_TRACE(Text);
    try {
      StringToColor(Text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), AnsiString("'") + Text + "' is not a valid integer value");
    }
  }
}

TEST(IdentToColor, LeavesTheColourAloneForUnknownNames) {
  TColor C = clAqua;
  EXPECT_FALSE(IdentToColor("clTransparent", C));
  EXPECT_EQ(C, clAqua);
  AnsiString Name = "x";
  EXPECT_FALSE(ColorToIdent(TColor(0x010203), Name));
  EXPECT_EQ(Name, "x");
}
