#include "platform/win/Hooks.h"

#include "platform/rtl/VirtualKeys.h"
#include "WinTestSupport.h"

namespace {
using THooks = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;

struct THookLog {
  std::vector<std::pair<int, WPARAM>> Calls;  // code, key or message
  HHOOK Hook = nullptr;
};
THookLog KeyLog;

LRESULT CALLBACK_KeySwallowsX(int Code, WPARAM W, LPARAM L) {
  KeyLog.Calls.push_back({Code, W});
  bool KeyDown = !(L & (1u << 31));
  if (Code == HC_ACTION && W == 'X' && KeyDown) return 1;
  return CallNextHookEx(KeyLog.Hook, Code, W, L);
}
}  // namespace

// A modal loop runs inside a message handler; the keyboard hook swallows
// one key there while the others arrive.
TEST_F(THooks, KeyboardHookSwallowsAKeyInsideANestedLoop) {
  HWND Main = Make(Popup, Bounds(0, 0, 100, 100));
  HWND Dialog = Make(Popup, Bounds(20, 20, 50, 50), Main);
  KeyLog = {};
  KeyLog.Hook = SetWindowsHookExA(WH_KEYBOARD, CALLBACK_KeySwallowsX, nullptr, GetCurrentThreadId());
  ASSERT_NE(KeyLog.Hook, nullptr);
  bool Done = false;
  On(Dialog, [&](HWND, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_CHAR && W == 'y') Done = true;
    return std::nullopt;
  });
  On(Main, [&](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M != WM_USER) return std::nullopt;
    SetFocus(Dialog);
    MSG Msg;
    while (!Done && GetMessageA(&Msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
    return 1;
  });
  Screen().KeyPress('X');
  Screen().KeyPress('Y');
  PostMessageA(Main, WM_USER, 0, 0);
  Pump();
  EXPECT_TRUE(Done);
  std::vector<WPARAM> Keys;
  for (auto& E : Logged(Dialog, WM_KEYDOWN)) Keys.push_back(E.W);
  EXPECT_EQ(Keys, std::vector<WPARAM>{'Y'});
  EXPECT_EQ(Logged(Dialog, WM_KEYUP).size(), 2u);  // only the key-down was swallowed
  EXPECT_EQ(Logged(Main, WM_KEYUP).size(), 0u);
  EXPECT_NE(std::find(KeyLog.Calls.begin(), KeyLog.Calls.end(), std::make_pair(int(HC_ACTION), WPARAM('X'))),
            KeyLog.Calls.end());
  EXPECT_TRUE(UnhookWindowsHookEx(KeyLog.Hook));
  EXPECT_FALSE(UnhookWindowsHookEx(KeyLog.Hook));
}

namespace {
std::vector<std::string> ChainLog;
HHOOK First, Second;
LRESULT Older(int Code, WPARAM W, LPARAM L) {
  ChainLog.push_back("older");
  return CallNextHookEx(First, Code, W, L);
}
LRESULT Newer(int Code, WPARAM W, LPARAM L) {
  ChainLog.push_back("newer");
  UnhookWindowsHookEx(Second);  // removing itself while running
  auto* M = reinterpret_cast<MSG*>(L);
  if (M->message == WM_USER) M->message = WM_USER + 5;  // rewrite
  return CallNextHookEx(Second, Code, W, L);
}
}  // namespace

TEST_F(THooks, GetMessageHookRunsNewestFirstAndMayRewrite) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  Pump();
  ChainLog.clear();
  First = SetWindowsHookExA(WH_GETMESSAGE, Older, nullptr, 0);
  Second = SetWindowsHookExA(WH_GETMESSAGE, Newer, nullptr, 0);
  PostMessageA(H, WM_USER, 0, 0);
  MSG M;
  ASSERT_TRUE(PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, UINT(WM_USER + 5));
  EXPECT_EQ(ChainLog, (std::vector<std::string>{"newer", "older"}));
  ChainLog.clear();
  PostMessageA(H, WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(ChainLog, std::vector<std::string>{"older"});
  UnhookWindowsHookEx(First);
}

namespace {
std::vector<UINT> Sent;
HHOOK CallHook, MouseHook;
LRESULT CallWnd(int Code, WPARAM W, LPARAM L) {
  Sent.push_back(reinterpret_cast<CWPSTRUCT*>(L)->message);
  return CallNextHookEx(CallHook, Code, W, L);
}
std::vector<std::pair<UINT, UINT>> MouseSeen;  // message, hit code
LRESULT Mouse(int Code, WPARAM W, LPARAM L) {
  auto* Mh = reinterpret_cast<MOUSEHOOKSTRUCT*>(L);
  if (Code == HC_ACTION) MouseSeen.push_back({UINT(W), Mh->wHitTestCode});
  if (Code == HC_ACTION && W == WM_RBUTTONDOWN) return 1;
  return CallNextHookEx(MouseHook, Code, W, L);
}
}  // namespace

TEST_F(THooks, CallWndProcSeesSentMessagesAndMouseHookMaySwallow) {
  HWND H = Make(Popup, Bounds(0, 0, 50, 50));
  Pump();
  Sent.clear();
  MouseSeen.clear();
  CallHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWnd, nullptr, 0);
  MouseHook = SetWindowsHookExA(WH_MOUSE, Mouse, nullptr, 0);
  SendMessageA(H, WM_USER, 0, 0);
  PostMessageA(H, WM_USER + 1, 0, 0);  // posted: no call-window hook
  Screen().Click(10, 10, TInputButton::Right);
  Pump();
  EXPECT_NE(std::find(Sent.begin(), Sent.end(), UINT(WM_USER)), Sent.end());
  EXPECT_EQ(std::find(Sent.begin(), Sent.end(), UINT(WM_USER + 1)), Sent.end());
  EXPECT_TRUE(Logged(H, WM_RBUTTONDOWN).empty());
  EXPECT_EQ(Logged(H, WM_RBUTTONUP).size(), 1u);
  EXPECT_NE(std::find(MouseSeen.begin(), MouseSeen.end(), std::make_pair(UINT(WM_RBUTTONDOWN), UINT(HTCLIENT))),
            MouseSeen.end());
  UnhookWindowsHookEx(CallHook);
  UnhookWindowsHookEx(MouseHook);
}
