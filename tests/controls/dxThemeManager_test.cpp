#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/win/Win.h"

TEST(dxThemeManager, WithoutVisualStylesNothingIsAvailableOrOpened) {
  EXPECT_FALSE(AreThemesAvailable());
  EXPECT_FALSE(IsThemeClassAvailable(totButton));
  EXPECT_EQ(GetThemeHandle(totScrollBar), nullptr);
  EXPECT_EQ(CloseThemeClass(totButton), S_FALSE);
  EXPECT_FALSE(IsNativeThemeAvailable(true, totButton));
}

TEST(dxThemeManager, HandlesAreCachedPerClassAndReopenedForAnotherClassList) {
  cxtest::TThemesOn Themes;
  EXPECT_FALSE(IsNativeThemeAvailable(false, totButton)) << "not asked without native style";
  EXPECT_EQ(Themes.Binding->Opened, 0);
  HTHEME H = GetThemeHandle(totButton);
  ASSERT_NE(H, nullptr);
  EXPECT_EQ(GetThemeHandle(totButton), H);
  EXPECT_EQ(GetThemeHandle(totButton, u"BUTTON"), H) << "the same list in other letters";
  EXPECT_EQ(Themes.Binding->Opened, 1);
  GetThemeHandle(totButton, u"Edit");
  EXPECT_EQ(Themes.Binding->Opened, 2) << "another list reopens";
  Themes.Binding->Closed.insert(u"TreeView");
  EXPECT_FALSE(AreThemesAvailable(ThemeClassBit(totButton) | ThemeClassBit(totTreeView)));
  EXPECT_TRUE(AreThemesAvailable(ThemeClassBit(totButton)));
  EXPECT_TRUE(IsStandardXPThemeFile());
}

TEST(dxThemeManager, ThemeChangeClosesEveryHandleAndTellsTheNotificators) {
  cxtest::TThemesOn Themes;
  ASSERT_NE(GetThemeHandle(totHeader, u"Header"), nullptr);
  struct TWatcher : TObject {
    int Calls = 0;
    void Changed() { ++Calls; }
  } W;
  TdxThemeChangedNotificator N;
  N.OnThemeChanged = TEvent<void()>(&W, &TWatcher::Changed);
  const int Before = Themes.Binding->Opened;
  SendMessageA(ThemeChangedReceiverWindow(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(W.Calls, 1);
  GetThemeHandle(totHeader);
  EXPECT_EQ(Themes.Binding->Opened, Before + 1) << "reopened on demand";
  EXPECT_EQ(Themes.Binding->OpenedLists.back(), u"Header") << "with the list remembered from before";
}
