#include "platform/rtl/ShortCuts.h"

#include <gtest/gtest.h>

#include "platform/rtl/VirtualKeys.h"

TEST(ShortCutToText, NamesEachKindOfKey) {
  struct TCase { TShortCut ShortCut; const char* Text; };
  const TCase Cases[] = {
      {VK_F5, "F5"},
      {VK_F12, "F12"},
      {TShortCut(VK_F24), "F24"},
      {TShortCut(scCtrl | 'A'), "Ctrl+A"},
      {TShortCut(scCtrl | '0'), "Ctrl+0"},
      {TShortCut(scShift | scCtrl | VK_F9), "Shift+Ctrl+F9"},  // fixed order Shift, Ctrl, Alt
      {TShortCut(scAlt | scCtrl | scShift | VK_DELETE), "Shift+Ctrl+Alt+Del"},
      {TShortCut(scCtrl | VK_RETURN), "Ctrl+Enter"},  // 16397, the editors' default click key
      {VK_BACK, "BkSp"},
      {VK_TAB, "Tab"},
      {VK_ESCAPE, "Esc"},
      {VK_SPACE, "Space"},
      {VK_PRIOR, "PgUp"},
      {VK_NEXT, "PgDn"},
      {VK_END, "End"},
      {VK_HOME, "Home"},
      {VK_LEFT, "Left"},
      {VK_UP, "Up"},
      {VK_RIGHT, "Right"},
      {VK_DOWN, "Down"},
      {VK_INSERT, "Ins"},
      {TShortCut(scAlt | VK_NUMPAD7), "Alt+7"},
      {VK_MULTIPLY, "Num *"},
      {VK_ADD, "Num +"},
      {VK_SUBTRACT, "Num -"},
      {VK_DECIMAL, "Num Del"},
      {VK_OEM_1, ";"},
      {VK_OEM_PLUS, "="},
      {VK_OEM_COMMA, ","},
      {VK_OEM_MINUS, "-"},
      {VK_OEM_PERIOD, "."},
      {VK_OEM_2, "/"},
      {VK_OEM_3, "`"},
      {VK_OEM_4, "["},
      {VK_OEM_5, "\\"},
      {VK_OEM_6, "]"},
      {VK_OEM_7, "'"},
      {VK_CAPITAL, "Caps Lock"},
      {TShortCut(scCtrl), ""},               // no key
      {TShortCut(scCtrl | VK_LWIN), ""},     // a key without a name has no text at all
      {TShortCut(scCtrl | VK_PROCESSKEY), ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ShortCutToText(C.ShortCut), C.Text);
  }
}

TEST(TextToShortCut, ReadsModifiersInAnyOrderAndCase) {
  struct TCase { const char* Text; TShortCut Want; };
  const TCase Cases[] = {
      {"F5", VK_F5},
      {"Ctrl+A", TShortCut(scCtrl | 'A')},
      {"ctrl+a", TShortCut(scCtrl | 'A')},
      {"Ctrl+Shift+F9", TShortCut(scShift | scCtrl | VK_F9)},
      {"ALT+CTRL+del", TShortCut(scAlt | scCtrl | VK_DELETE)},
      {"^S", TShortCut(scCtrl | 'S')},
      {"Ctrl+Enter", 16397},
      {"Shift+Num +", TShortCut(scShift | VK_ADD)},
      {"Ctrl++", 0},  // "+" names no key
      {"Ctrl+-", TShortCut(scCtrl | VK_OEM_MINUS)},
      {"Ctrl+/", TShortCut(scCtrl | VK_DIVIDE)},  // shares the name with VK_OEM_2; the lower code wins
      {"Alt+7", TShortCut(scAlt | '7')},         // likewise the main row's digit
      {"Ctrl+Pause", TShortCut(scCtrl | VK_PAUSE)},
      // The program's default hot-key texts: no key of the layout is named
      // "$" or "*", so the shortcut conversion reads no shortcut.
      {"Ctrl+$", 0},
      {"Ctrl+*", 0},
      {"Alt+*", 0},
      {"", 0},
      {"Ctrl+", 0},
      {"Ctrl", VK_CONTROL},  // without "+" it is the key's own name
      {"Foo+A", 0},
      {"Ctrl + A", 0},  // blanks are not skipped
      {" F5", 0},
      {"Ctrl+A\0", TShortCut(scCtrl | 'A')},  // a C string ends at NUL
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TextToShortCut(C.Text), C.Want);
  }
}

TEST(TextToShortCut, EmbeddedNulNamesNoKey) {
  EXPECT_EQ(TextToShortCut(AnsiString("F\0" "1", 3)), 0);
}

TEST(TextToShortCut, ReadsBackEveryNamedShortCut) {
  // Each key whose text is not shared with a lower code survives the round trip.
  for (int Key = VK_BACK; Key <= 0xFF; ++Key) {
    for (TShortCut Mods : {TShortCut(0), scShift, TShortCut(scCtrl | scAlt)}) {
      const TShortCut S = TShortCut(Key | Mods);
      const AnsiString Text = ShortCutToText(S);
      if (Text.empty()) continue;
      const TShortCut Back = TextToShortCut(Text);
      SCOPED_TRACE(Text);
      EXPECT_EQ(ShortCutToText(Back), Text);
      EXPECT_EQ(Back & 0xE000, Mods);
      EXPECT_LE(Back & 0xFF, Key);
    }
  }
}

TEST(ShortCut, CombinesKeyAndModifiersAndSplitsBack) {
  EXPECT_EQ(ShortCut(VK_RETURN, {ssCtrl}), 16397);
  EXPECT_EQ(ShortCut('K', {ssCtrl, ssLeft, ssDouble}), TShortCut(scCtrl | 'K'));  // mouse members dropped
  EXPECT_EQ(ShortCut(0x100, {ssAlt}), 0);  // not a virtual key
  Word Key = 0;
  TShiftState Shift{ssLeft};
  ShortCutToKey(TShortCut(scShift | scAlt | VK_F3), Key, Shift);
  EXPECT_EQ(Key, VK_F3);
  EXPECT_EQ(Shift, (TShiftState{ssShift, ssAlt}));
  ShortCutToKey(TShortCut(0x1F00 | 'A'), Key, Shift);  // bits 8-12 stay with the key, as the library keeps them
  EXPECT_EQ(Key, 0x1F41);
  EXPECT_TRUE(Shift.Empty());
}
