#include "platform/win/KeyboardLayouts.h"

#include <gtest/gtest.h>

#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {
const HKL Us = HandleFromInt<HKL>(0x04090409);
const HKL French = HandleFromInt<HKL>(0x040C040C);

class KeyboardLayoutTest : public ::testing::Test {
protected:
  void TearDown() override { ResetWindowSystem(); }
};

AnsiString KeyName(UINT Scan, bool Extended = false) {
  char Buf[256];
  const int N = GetKeyNameTextA(LONG((Scan << 16) | (Extended ? 1u << 24 : 0u)), Buf, sizeof Buf);
  return AnsiString(Buf, std::size_t(N));
}

// The virtual key whose name in the active layout is Name, the way a
// hot-key text is read: every key from 8 to 255 in turn, its scan code
// through MapVirtualKey, the navigation keys as extended keys, the name
// from GetKeyNameText, compared ignoring case; 0 when none has it.
UINT KeyNamed(const AnsiString& Name) {
  for (UINT Vk = 8; Vk <= 255; ++Vk) {
    const bool Ext = (Vk >= 33 && Vk <= 40) || Vk == 45 || Vk == 46;
    const UINT Scan = MapVirtualKeyA(Vk, MAPVK_VK_TO_VSC);
    const LONG Param = LONG((Scan << 16) | (Ext ? 0x1000000u : 0u));
    if (!Param) continue;
    char Buf[256];
    GetKeyNameTextA(Param, Buf, sizeof Buf);
    if (strcasecmp(Buf, Name.c_str()) == 0) return Vk;
  }
  return 0;
}
}  // namespace

TEST_F(KeyboardLayoutTest, HotKeyTextsFindTheirKeyOnlyInTheLayoutThatHasIt) {
  struct TCase { const char* Name; UINT UsKey; UINT FrenchKey; };
  const TCase Cases[] = {
      {"$", 0, VK_OEM_1},            // the key right of "^" on AZERTY
      {"*", 0, VK_OEM_5},            // the key left of Enter on AZERTY
      {";", VK_OEM_1, VK_OEM_PERIOD},
      {"Home", VK_HOME, 0},          // French names its keys in French
      {"ORIGINE", 0, VK_HOME},
      {"F5", VK_F5, VK_F5},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Name);
    EXPECT_EQ(KeyNamed(T.Name), T.UsKey) << "US English";
    ASSERT_TRUE(LoadKeyboardLayoutA("0000040C", KLF_ACTIVATE));
    EXPECT_EQ(KeyNamed(T.Name), T.FrenchKey) << "French";
    ActivateKeyboardLayout(Us, 0);
  }
}

TEST_F(KeyboardLayoutTest, KeyNamesAndCharactersFollowTheActiveLayout) {
  struct TCase { UINT Scan; bool Ext; const char* Us; const char* Fr; };
  const TCase Cases[] = {
      {0x2A, false, "Shift", "MAJ"}, {0x1D, false, "Ctrl", "CTRL"},   {0x38, false, "Alt", "ALT"},
      {0x47, true, "Home", "ORIGINE"}, {0x47, false, "Num 7", "7 (PAVE NUM)"},
      {0x1E, false, "A", "Q"},       {0x10, false, "Q", "A"},         {0x1B, false, "]", "$"},
      {0x2B, false, "\\", "*"},      {0x03, false, "2", "\xC9"},      {0x3F, false, "F5", "F5"},
      {0x7F, false, "", ""},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Scan);
    EXPECT_EQ(KeyName(T.Scan, T.Ext), T.Us);
    ActivateKeyboardLayout(LoadKeyboardLayoutA("0000040C", 0), 0);
    EXPECT_EQ(KeyName(T.Scan, T.Ext), T.Fr);
    ActivateKeyboardLayout(Us, 0);
  }
  char Short[4];
  EXPECT_EQ(GetKeyNameTextA(0x2A << 16, Short, sizeof Short), 3) << "cut to the buffer";
  EXPECT_STREQ(Short, "Shi");

  // Characters: the same virtual key types what its layout puts there.
  struct TChar { char Ch; SHORT Us; SHORT Fr; };
  const TChar Chars[] = {
      {'$', 0x100 | '4', VK_OEM_1}, {'*', 0x100 | '8', VK_OEM_5}, {'a', 'A', 'A'},
      {'1', '1', 0x100 | '1'},      {'@', 0x100 | '2', 0x600 | '0'}, {'\xB5', -1, 0x100 | VK_OEM_5},
  };
  for (const auto& C : Chars) {
    SCOPED_TRACE(C.Ch);
    EXPECT_EQ(VkKeyScanExA(C.Ch, Us), C.Us);
    EXPECT_EQ(VkKeyScanExA(C.Ch, French), C.Fr);
  }
  EXPECT_EQ(MapVirtualKeyExA('A', MAPVK_VK_TO_VSC, Us), 0x1Eu);
  EXPECT_EQ(MapVirtualKeyExA('A', MAPVK_VK_TO_VSC, French), 0x10u);
  EXPECT_EQ(MapVirtualKeyExA(0x1B, MAPVK_VSC_TO_VK, French), UINT(VK_OEM_1));
  EXPECT_EQ(MapVirtualKeyExA(VK_OEM_6, MAPVK_VK_TO_CHAR, French), 0x8000005Eu) << "a dead key";
  BYTE State[256] = {};
  WORD Out = 0;
  ActivateKeyboardLayout(French, 0);
  ASSERT_EQ(ToAscii(VK_OEM_1, 0x1B, State, &Out, 0), 1);
  EXPECT_EQ(Out, '$');
  EXPECT_EQ(VkKeyScanA('$'), SHORT(VK_OEM_1)) << "the plain calls use the active layout";
}

TEST_F(KeyboardLayoutTest, LoadingActivatingAndUnloading) {
  HKL List[100] = {};
  ASSERT_EQ(GetKeyboardLayoutList(0, nullptr), 1);
  EXPECT_EQ(GetKeyboardLayout(0), Us);
  EXPECT_EQ(LoadKeyboardLayoutA("00000409", KLF_NOTELLSHELL), Us) << "loaded already: the same handle";
  EXPECT_EQ(LoadKeyboardLayoutA("00000407", 0), nullptr) << "a layout the layer does not have";
  EXPECT_EQ(LoadKeyboardLayoutA("0000040c", 0), French);
  EXPECT_EQ(GetKeyboardLayout(0), Us) << "loading alone does not activate";
  ASSERT_EQ(GetKeyboardLayoutList(100, List), 2);
  EXPECT_EQ(List[0], Us);
  EXPECT_EQ(List[1], French);
  EXPECT_EQ(ActivateKeyboardLayout(HKL_NEXT, 0), Us);
  EXPECT_EQ(GetKeyboardLayout(0), French);
  char Name[KL_NAMELENGTH];
  ASSERT_TRUE(GetKeyboardLayoutNameA(Name));
  EXPECT_STREQ(Name, "0000040C");
  EXPECT_EQ(ActivateKeyboardLayout(HandleFromInt<HKL>(0x12345678), 0), nullptr);
  EXPECT_TRUE(UnloadKeyboardLayout(French));
  EXPECT_EQ(GetKeyboardLayout(0), Us) << "unloading the active layout activates the next";
  EXPECT_FALSE(UnloadKeyboardLayout(French));
  EXPECT_FALSE(UnloadKeyboardLayout(Us)) << "the last layout stays";
  ActivateKeyboardLayout(LoadKeyboardLayoutA("0000040C", 0), 0);
  ResetWindowSystem();
  EXPECT_EQ(GetKeyboardLayout(0), Us);
  EXPECT_EQ(GetKeyboardLayoutList(0, nullptr), 1);
}
