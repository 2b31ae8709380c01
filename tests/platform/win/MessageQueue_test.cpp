#include "platform/win/MessageQueue.h"

#include "platform/rtl/Exceptions.h"
#include "WinTestSupport.h"

namespace {
using TMessageQueue = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;
}  // namespace

TEST_F(TMessageQueue, PeekMessageHonoursRangesWindowsAndRemoval) {
  HWND A = Make(Popup, Bounds(0, 0, 10, 10));
  HWND B = Make(Popup, Bounds(20, 0, 10, 10));
  HWND AChild = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 5, 5), A);
  Pump();  // paint everything first
  PostMessageA(A, WM_USER + 1, 1, 0);
  PostMessageA(B, WM_USER + 2, 2, 0);
  PostMessageA(AChild, WM_USER + 3, 3, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 4, 4, 0);
  struct TCase { HWND Filter; UINT Min, Max; WPARAM Want; const char* Why; };
  const TCase Cases[] = {
      {nullptr, 0, 0, 1, "no filter: oldest"},
      {nullptr, WM_USER + 2, WM_USER + 4, 2, "range skips the first"},
      {B, 0, 0, 2, "window filter"},
      {A, WM_USER + 3, WM_USER + 3, 3, "a child of the filter window counts"},
      {HandleFromInt<HWND>(-1), 0, 0, 4, "thread messages only"},
  };
  MSG M;
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    ASSERT_TRUE(PeekMessageA(&M, C.Filter, C.Min, C.Max, PM_NOREMOVE));
    EXPECT_EQ(M.wParam, C.Want);
  }
  EXPECT_FALSE(PeekMessageA(&M, B, WM_USER + 3, WM_USER + 4, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&M, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(M.hwnd, B);
  std::vector<WPARAM> Rest;
  while (PeekMessageA(&M, nullptr, WM_USER, WM_USER + 10, PM_REMOVE)) Rest.push_back(M.wParam);
  EXPECT_EQ(Rest, (std::vector<WPARAM>{1, 3, 4}));
}

TEST_F(TMessageQueue, PostedComeBeforeInputBeforePaintBeforeTimers) {
  HWND H = Make(Popup, Bounds(0, 0, 20, 20));
  SetFocus(H);
  Pump();
  SetTimer(H, 1, 10, nullptr);
  AdvanceClock(10);
  InvalidateRect(H, nullptr, TRUE);
  Screen().KeyDown('A');
  PostMessageA(H, WM_USER, 0, 0);
  std::vector<UINT> Order;
  MSG M;
  while (Order.size() < 4 && PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
    Order.push_back(M.message);
    DispatchMessageA(&M);
  }
  EXPECT_EQ(Order, (std::vector<UINT>{WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(TMessageQueue, GetMessageReturnsZeroForQuitAfterPostedMessages) {
  PostQuitMessage(3);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  MSG M;
  EXPECT_EQ(GetMessageA(&M, nullptr, 0, 0), TRUE);
  EXPECT_EQ(M.message, UINT(WM_USER));
  EXPECT_EQ(GetMessageA(&M, nullptr, 0, 0), FALSE);
  EXPECT_EQ(M.wParam, 3u);
}

TEST_F(TMessageQueue, AnEmptyHeadlessQueueFailsInsteadOfHanging) {
  MSG M;
  EXPECT_THROW(GetMessageA(&M, nullptr, 0, 0), EInvalidOperation);
  // An idle handler can feed the loop.
  int Calls = 0;
  Screen().SetIdleHandler([&] {
    ++Calls;
    PostQuitMessage(0);
    return true;
  });
  EXPECT_EQ(GetMessageA(&M, nullptr, 0, 0), FALSE);
  EXPECT_EQ(Calls, 1);
}

TEST_F(TMessageQueue, RegisteredMessagesAreSharedByName) {
  UINT A = RegisterWindowMessageA("SxPing");
  EXPECT_GE(A, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("sxping"), A);
  EXPECT_NE(RegisterWindowMessageA("SxPong"), A);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}
