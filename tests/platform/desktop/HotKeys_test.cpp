#include "platform/win/HotKeys.h"

#include <gtest/gtest.h>

#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Atoms.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {
std::vector<MSG>& HotKeyMessages() {
  static std::vector<MSG> M;
  return M;
}

LRESULT Proc(HWND H, UINT M, WPARAM W, LPARAM L) {
  if (M == WM_HOTKEY) {
    MSG Msg;
    Msg.hwnd = H;
    Msg.message = M;
    Msg.wParam = W;
    Msg.lParam = L;
    HotKeyMessages().push_back(Msg);
  }
  return DefWindowProcA(H, M, W, L);
}
}  // namespace

// The default "Ctrl+$" of a French desktop: registered under a global atom
// for the key that types "$" there, and pressed on that key.
TEST(HotKeys, ALayoutsOwnKeyArrivesUnderTheAtomItWasRegisteredWith) {
  SetDisplay(nullptr);
  ResetWindowSystem();
  HotKeyMessages().clear();
  WNDCLASSEXA C;
  C.lpfnWndProc = Proc;
  C.lpszClassName = "SxHotKeyTest";
  RegisterClassExA(&C);
  HWND Wnd = CreateWindowExA(0, "SxHotKeyTest", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(LoadKeyboardLayoutA("0000040C", KLF_ACTIVATE));
  const SHORT Dollar = VkKeyScanExA('$', GetKeyboardLayout(0));
  ASSERT_EQ(Dollar, SHORT(VK_OEM_1));
  const UINT Value = 0x4000 | UINT(Dollar);  // Ctrl and the key
  const ATOM Id = GlobalAddAtomA(("HotKeyManagerHotKey" + std::to_string(Value)).c_str());
  ASSERT_TRUE(RegisterHotKey(Wnd, Id, MOD_CONTROL, UINT(Dollar)));

  auto& D = HeadlessDisplay();
  D.KeyDown(VK_CONTROL);
  D.KeyPress(VK_OEM_1);
  D.KeyUp(VK_CONTROL);
  D.ProcessMessages();
  ASSERT_EQ(HotKeyMessages().size(), 1u);
  EXPECT_EQ(HotKeyMessages()[0].wParam, WPARAM(Id));
  EXPECT_EQ(HotKeyMessages()[0].lParam, MAKELPARAM(MOD_CONTROL, VK_OEM_1));

  EXPECT_TRUE(UnregisterHotKey(Wnd, Id));
  EXPECT_EQ(GlobalDeleteAtom(Id), 0);
  ResetWindowSystem();
}
