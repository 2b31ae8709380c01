#include "app/desktop/HotKeyManager.h"

#include "DesktopTestSupport.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Atoms.h"
#include "platform/win/HotKeys.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"

namespace {
const HKL Us = HandleFromInt<HKL>(0x04090409);

class HotKeyTest : public TDesktopTest {
protected:
  void SetUp() override {
    TDesktopTest::SetUp();
    HotKeyUnitEnd();
  }
  void TearDown() override {
    HotKeyUnitEnd();
    TDesktopTest::TearDown();
  }
  // Makes the French layout the user's and starts the unit under it.
  void UseFrench() {
    HotKeyUnitEnd();
    ASSERT_TRUE(LoadKeyboardLayoutA("0000040C", KLF_ACTIVATE));
  }
};

struct TPresses : public TObject {
  std::vector<std::pair<Cardinal, Word>> Seen;
  void Pressed(Cardinal HotKey, Word Index) { Seen.emplace_back(HotKey, Index); }
};

bool AtomExists(Cardinal HotKey) {
  return GlobalFindAtomA(("HotKeyManagerHotKey" + std::to_string(HotKey)).c_str()) != 0;
}
}  // namespace

TEST_F(HotKeyTest, ValuesAndModifierFlagsGoBothWays) {
  EXPECT_EQ(HotKeyOf(MOD_CONTROL, VK_HOME), 0x4024u);
  EXPECT_EQ(HotKeyOf(MOD_SHIFT | MOD_WIN, 'A'), 0x12041u);
  EXPECT_EQ(HotKeyOf(MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN, VK_F5), 0x1E074u);
  // A key wider than 8 bits would otherwise turn into modifiers.
  EXPECT_EQ(HotKeyOf(0, 0x4041), 0x41u);
  EXPECT_EQ(HotKeyOf(MOD_ALT, 0x2141), 0x8041u);
  Word M = 0, K = 0;
  SeparateHotKey(0x1E074, M, K);
  EXPECT_EQ(M, MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN);
  EXPECT_EQ(K, VK_F5);
  SeparateHotKey(0x4024, M, K);
  EXPECT_EQ(M, MOD_CONTROL);
  EXPECT_EQ(K, VK_HOME);
}

TEST_F(HotKeyTest, TextsOfHotKeysInUsEnglish) {
  struct TCase { Cardinal HotKey; const char* Text; };
  const TCase Cases[] = {
      {0x4024, "Ctrl+Home"},       {0x12041, "Shift+Win+A"}, {0x8074, "Alt+F5"},
      {0x1E02E, "Ctrl+Shift+Alt+Win+Delete"}, {0x4000 | 0xFF, "Ctrl+"},  // a key without a name
      {VK_OEM_1, ";"},
  };
  for (bool Localized : {false, true})
    for (const auto& C : Cases) {
      SCOPED_TRACE(C.Text);
      EXPECT_EQ(HotKeyToText(C.HotKey, Localized), C.Text);
    }
}

TEST_F(HotKeyTest, HotKeysOfTexts) {
  struct TCase { const char* Text; Cardinal HotKey; };
  const TCase Cases[] = {
      {"ctrl + a", 0x4041},   {"Ctrl+Home", 0x4024},   {"Alt+F5", 0x8074},  {"A", 65},
      {"F5", VK_F5},          {"shift+ctrl+alt+win+7", 0x1E037},         {"CTRL+end", 0x4023},
      {"Foo+A", 0},           {"Ctrl+Foo+A", 0},       {"Ctrl+Shift", 0},   {"Ctrl", 0},
      {"", 0},                {"Ctrl++", 0},           {"+", 0},            {"Ctrl+NoSuchKey", 0},
      {"Ctrl+$", 0},          {"Ctrl+*", 0},           {"Alt+*", 0},  // no unshifted "$" or "*" in US English
  };
  for (bool Localized : {false, true})
    for (const auto& C : Cases) {
      SCOPED_TRACE(C.Text);
      EXPECT_EQ(TextToHotKey(C.Text, Localized), C.HotKey);
    }
  // Every key with a name comes back from its text, except the modifier
  // keys (no key) and names with a "+", which the text cannot hold.
  for (Cardinal Key = 8; Key <= 255; ++Key) {
    const AnsiString Name = HotKeyToText(Key, false);
    const AnsiString T = HotKeyToText(0x4000 | Key, false);
    if (Name.empty()) continue;
    SCOPED_TRACE(T);
    if (Name == "Shift" || Name == "Ctrl" || Name == "Alt" || Name.find('+') != AnsiString::npos)
      EXPECT_EQ(TextToHotKey(T, false), 0u);
    else
      EXPECT_EQ(HotKeyToText(TextToHotKey(T, false), false), T);
  }
}

// The default hot keys are the unshifted "$" and "*" keys of a French
// keyboard: they resolve there, and the settings dialog says they are not
// available on a layout that lacks them.
TEST_F(HotKeyTest, DefaultHotKeysResolveOnlyWhereTheLayoutHasTheKeys) {
  EXPECT_EQ(HotKeyDisplayText("Ctrl+$", true), HotKeyNotAvailableText);
  EXPECT_EQ(HotKeyDisplayText("Ctrl+Home", true), "Ctrl+Home");

  UseFrench();
  EXPECT_EQ(TextToHotKey("Ctrl+$", true), 0x4000u | VK_OEM_1);
  EXPECT_EQ(TextToHotKey("Ctrl+*", true), 0x4000u | VK_OEM_5);
  EXPECT_EQ(TextToHotKey("Alt+*", true), 0x8000u | VK_OEM_5);
  EXPECT_EQ(HotKeyDisplayText("Ctrl+$", true), "Ctrl+$");
  // The French names of the modifiers and keys, and the English ones.
  EXPECT_EQ(HotKeyToText(0x4024, true), "CTRL+ORIGINE");
  EXPECT_EQ(HotKeyToText(0x12041, true), "MAJ+WIN+A") << "ALT is all capitals: the Windows key is WIN";
  EXPECT_EQ(HotKeyToText(0x4024, false), "Ctrl+Home");
  EXPECT_EQ(GetKeyboardLayout(0), LoadKeyboardLayoutA("0000040C", 0)) << "the user's layout is active again";
  EXPECT_EQ(TextToHotKey("ctrl+Home", false), 0x4024u);
  EXPECT_EQ(TextToHotKey("MAJ+ctrl+ORIGINE", true), 0x6024u) << "local and English modifier names both count";
  EXPECT_EQ(TextToHotKey("Ctrl+MAJ", true), 0u) << "a lone local modifier";
  EXPECT_EQ(TextToHotKey("Ctrl+$", false), 0u) << "US English has no unshifted $";
  ActivateKeyboardLayout(Us, 0);
}

TEST_F(HotKeyTest, AddedHotKeysArriveAsEventsUnderTheirIds) {
  TPresses P;
  THotKeyManager M(nullptr);
  M.OnHotKeyPressed = TOnHotKeyPressed(&P, &TPresses::Pressed);
  const Word Home = M.AddHotKey(0x4024);
  const Word F5 = M.AddHotKey(0x8074);
  ASSERT_NE(Home, 0);
  ASSERT_NE(F5, 0);
  EXPECT_NE(Home, F5);
  char Name[64] = {};
  GlobalGetAtomNameA(Home, Name, sizeof Name);
  EXPECT_STREQ(Name, "HotKeyManagerHotKey16420");

  auto& D = HeadlessDisplay();
  D.KeyDown(VK_CONTROL);
  D.KeyPress(VK_HOME);
  D.KeyUp(VK_CONTROL);
  D.KeyDown(VK_MENU);
  D.KeyPress(VK_F5);
  D.KeyUp(VK_MENU);
  D.KeyPress(VK_HOME);  // no Ctrl: an ordinary key
  Pump();
  EXPECT_EQ(P.Seen, (std::vector<std::pair<Cardinal, Word>>{{0x4024, Home}, {0x8074, F5}}));

  // A WM_HOTKEY for a value the manager does not hold, or while nobody
  // listens, fires nothing.
  P.Seen.clear();
  PostMessageA(M.Handle(), WM_HOTKEY, Home, MAKELPARAM(MOD_SHIFT, VK_HOME));
  Pump();
  EXPECT_TRUE(P.Seen.empty());
  M.OnHotKeyPressed = nullptr;
  PostMessageA(M.Handle(), WM_HOTKEY, Home, MAKELPARAM(MOD_CONTROL, VK_HOME));
  Pump();
  EXPECT_TRUE(P.Seen.empty());
}

TEST_F(HotKeyTest, RefusedChangedRemovedAndDestroyedHotKeysLeaveNothingBehind) {
  auto M = std::make_unique<THotKeyManager>(nullptr);
  const Word A = M->AddHotKey(0x4041);
  ASSERT_NE(A, 0);
  // Another window holds Ctrl+B: the manager is refused and keeps no atom.
  THotKeyManager Taker(nullptr);
  ASSERT_NE(Taker.AddHotKey(0x4042), 0);
  EXPECT_EQ(M->AddHotKey(0x4042), 0);
  // A text that named no key gave 0: nothing to register, with or without
  // modifiers.
  EXPECT_EQ(M->AddHotKey(0), 0);
  EXPECT_EQ(M->AddHotKey(0x4000), 0);
  EXPECT_FALSE(AtomExists(0));
  EXPECT_EQ(M->HotKeyCount(), 1);

  EXPECT_EQ(M->ChangeHotKey(0x1234, 0x4043), 0) << "an id never given";
  EXPECT_EQ(M->HotKeyCount(), 1);
  EXPECT_TRUE(AtomExists(0x4041));

  const Word C = M->ChangeHotKey(A, 0x4043);
  ASSERT_NE(C, 0);
  EXPECT_FALSE(AtomExists(0x4041));
  EXPECT_TRUE(AtomExists(0x4043));
  EXPECT_EQ(M->ChangeHotKey(C, 0x4042), 0) << "the new key is taken: the old one is gone too";
  EXPECT_EQ(M->HotKeyCount(), 0);
  EXPECT_FALSE(AtomExists(0x4043));

  const Word D = M->AddHotKey(0x8041), E = M->AddHotKey(0x8045);
  EXPECT_TRUE(M->RemoveHotKey(D));
  EXPECT_FALSE(M->RemoveHotKey(D));
  EXPECT_FALSE(AtomExists(0x8041));
  ASSERT_NE(E, 0);
  M.reset();
  EXPECT_FALSE(AtomExists(0x8045)) << "destroying the manager unregisters and deletes";
  EXPECT_TRUE(RegisterHotKey(Taker.Handle(), 99, MOD_ALT, 'E')) << "the combination is free again";
}
