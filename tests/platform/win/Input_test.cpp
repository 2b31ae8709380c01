#include "platform/win/Input.h"

#include "platform/rtl/VirtualKeys.h"
#include "WinTestSupport.h"

namespace {
using TInput = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;
}  // namespace

TEST_F(TInput, FocusMessagesCarryTheOtherWindow) {
  HWND P = Make(Popup, Bounds(0, 0, 100, 100));
  HWND A = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), P);
  HWND B = Make(WS_CHILD | WS_VISIBLE, Bounds(20, 0, 10, 10), P);
  SetFocus(A);
  ClearLog();
  EXPECT_EQ(SetFocus(B), A);
  auto Kill = Logged(A, WM_KILLFOCUS);
  auto Set = Logged(B, WM_SETFOCUS);
  ASSERT_EQ(Kill.size(), 1u);
  ASSERT_EQ(Set.size(), 1u);
  EXPECT_EQ(HWND(Kill[0].W), B);
  EXPECT_EQ(HWND(Set[0].W), A);
  EXPECT_EQ(GetFocus(), B);
  // Disabling the focused window takes the focus away.
  EnableWindow(B, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(HWND(Logged(B, WM_KILLFOCUS).at(0).W), nullptr);
}

TEST_F(TInput, FocusingAWindowOfAnInactiveFormActivatesItFirst) {
  HWND F1 = Make(Popup, Bounds(0, 0, 100, 100));
  HWND F2 = Make(Popup, Bounds(200, 0, 100, 100));
  HWND E1 = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), F1);
  EXPECT_EQ(GetActiveWindow(), F2);
  ClearLog();
  SetFocus(E1);
  EXPECT_EQ(GetActiveWindow(), F1);
  std::vector<std::pair<HWND, UINT>> Seq;
  for (auto& E : Log())
    if (E.Msg == WM_NCACTIVATE || E.Msg == WM_ACTIVATE || E.Msg == WM_SETFOCUS || E.Msg == WM_KILLFOCUS)
      Seq.push_back({E.Wnd, E.Msg});
  EXPECT_EQ(Seq, (std::vector<std::pair<HWND, UINT>>{{F2, WM_NCACTIVATE},
                                                    {F2, WM_ACTIVATE},
                                                    {F1, WM_NCACTIVATE},
                                                    {F1, WM_ACTIVATE},
                                                    {F2, WM_KILLFOCUS},
                                                    {F1, WM_SETFOCUS},
                                                    {F1, WM_KILLFOCUS},
                                                    {E1, WM_SETFOCUS}}));
  EXPECT_EQ(LOWORD(Logged(F2, WM_ACTIVATE).at(0).W), WA_INACTIVE);
  EXPECT_EQ(HWND(Logged(F1, WM_ACTIVATE).at(0).L), F2);
}

// A drag: button-down takes the capture, moves outside the window still come
// to it in its client coordinates, button-up releases it.
TEST_F(TInput, CapturedDragDeliversMovesAndCaptureChanged) {
  HWND H = Make(Popup, Bounds(100, 100, 50, 50));
  HWND Other = Make(Popup, Bounds(300, 300, 50, 50));
  On(H, [](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_LBUTTONDOWN) SetCapture(W);
    if (M == WM_LBUTTONUP) ReleaseCapture();
    return std::nullopt;
  });
  Screen().MouseDown(110, 110);
  Pump();
  EXPECT_EQ(GetCapture(), H);
  ClearLog();
  Screen().MouseMove(20, 30);      // far outside, left of the window
  Pump();
  Screen().MouseMove(310, 310);    // over the other window
  Pump();
  Screen().MouseUp(310, 310);
  Pump();
  auto Moves = Logged(H, WM_MOUSEMOVE);
  ASSERT_EQ(Moves.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(Moves[0].L), -80);
  EXPECT_EQ(GET_Y_LPARAM(Moves[0].L), -70);
  EXPECT_EQ(Moves[0].W & MK_LBUTTON, WPARAM(MK_LBUTTON));
  EXPECT_EQ(Logged(Other, WM_MOUSEMOVE).size(), 0u);
  EXPECT_EQ(Logged(Other, WM_NCHITTEST).size(), 0u);  // no hit testing while captured
  EXPECT_EQ(Logged(H, WM_LBUTTONUP).size(), 1u);
  auto Changed = Logged(H, WM_CAPTURECHANGED);
  ASSERT_EQ(Changed.size(), 1u);
  EXPECT_EQ(Changed[0].L, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  // Taking the capture away tells the old holder who has it now.
  SetCapture(H);
  ClearLog();
  SetCapture(Other);
  ASSERT_EQ(Logged(H, WM_CAPTURECHANGED).size(), 1u);
  EXPECT_EQ(HWND(Logged(H, WM_CAPTURECHANGED)[0].L), Other);
}

TEST_F(TInput, ClickOnAnInactiveWindowActivatesItBeforeTheButtonMessage) {
  HWND A = Make(Popup, Bounds(0, 0, 50, 50));
  HWND B = Make(Popup, Bounds(100, 0, 50, 50));
  ASSERT_EQ(GetActiveWindow(), B);
  ClearLog();
  Screen().Click(10, 10);
  Pump();
  EXPECT_EQ(Msgs(A, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}),
            (std::vector<UINT>{WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}));
  auto All = Msgs(A);
  auto Down = std::find(All.begin(), All.end(), UINT(WM_LBUTTONDOWN));
  ASSERT_NE(Down, All.begin());
  EXPECT_EQ(*(Down - 1), UINT(WM_SETCURSOR));
  EXPECT_EQ(GetActiveWindow(), A);
  EXPECT_EQ(LOWORD(Logged(A, WM_ACTIVATE).at(0).W), WA_CLICKACTIVE);
  // MA_NOACTIVATE keeps the activation where it is, the click still comes.
  On(B, [](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return std::nullopt;
  });
  Screen().Click(110, 10);
  Pump();
  EXPECT_EQ(GetActiveWindow(), A);
  EXPECT_EQ(Logged(B, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(TInput, DoubleClicksNeedTheClassStyleTimeAndPlace) {
  HWND Plain = Make(Popup, Bounds(0, 0, 50, 50));
  HWND Dbl = Make(Popup, Bounds(100, 0, 50, 50), nullptr, 0, true);
  struct TCase { HWND Wnd; int X2; DWORD Delay; UINT Want; const char* Why; };
  const TCase Cases[] = {
      {Dbl, 110, 100, WM_LBUTTONDBLCLK, "quick second click"},
      {Dbl, 112, 100, WM_LBUTTONDBLCLK, "2 pixels off is still the same place"},
      {Dbl, 113, 100, WM_LBUTTONDOWN, "3 pixels off is another place"},
      {Dbl, 110, 501, WM_LBUTTONDOWN, "too slow"},
      {Plain, 10, 100, WM_LBUTTONDOWN, "class without CS_DBLCLKS"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    int X1 = C.Wnd == Dbl ? 110 : 10;
    AdvanceClock(1000);
    Screen().Click(X1, 10);
    Pump();
    AdvanceClock(C.Delay);
    ClearLog();
    Screen().Click(C.X2, 10);
    Pump();
    EXPECT_EQ(Msgs(C.Wnd, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), std::vector<UINT>{C.Want});
  }
}

TEST_F(TInput, DisabledWindowAnswersHtErrorAndGetsNoClick) {
  HWND Owner = Make(Popup, Bounds(0, 0, 100, 100));
  HWND Modal = Make(Popup, Bounds(200, 0, 50, 50), Owner);
  EnableWindow(Owner, FALSE);
  ClearLog();
  Screen().Click(10, 10);
  Pump();
  EXPECT_TRUE(Logged(Owner, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(Logged(Owner, WM_NCHITTEST).empty());
  auto Cursor = Logged(Owner, WM_SETCURSOR);
  ASSERT_EQ(Cursor.size(), 3u);  // move, button down, button up
  EXPECT_EQ(SHORT(LOWORD(std::uintptr_t(Cursor[1].L))), HTERROR);
  EXPECT_EQ(HIWORD(std::uintptr_t(Cursor[1].L)), WM_LBUTTONDOWN);
  EXPECT_EQ(Screen().Beeps(), 1);
  EXPECT_EQ(GetActiveWindow(), Modal);
}

struct TCharCase {
  std::vector<WORD> Held;
  WORD Key;
  UINT WantMsg;   // 0: no character
  WPARAM WantChar;
  const char* Why;
};

TEST_F(TInput, TranslateMessageTurnsKeysIntoCharacters) {
  const TCharCase Cases[] = {
      {{}, 'A', WM_CHAR, 'a', "plain letter"},
      {{VK_SHIFT}, 'A', WM_CHAR, 'A', "shifted letter"},
      {{VK_CONTROL}, 'A', WM_CHAR, 1, "control letter"},
      {{VK_SHIFT}, '2', WM_CHAR, '@', "shifted digit"},
      {{}, VK_RETURN, WM_CHAR, '\r', "enter"},
      {{}, VK_BACK, WM_CHAR, 8, "backspace"},
      {{}, VK_ESCAPE, WM_CHAR, 27, "escape"},
      {{VK_SHIFT}, 0xBA, WM_CHAR, ':', "OEM 1 shifted"},
      {{VK_MENU}, 'F', WM_SYSCHAR, 'f', "Alt+F"},
      {{}, VK_LEFT, 0, 0, "arrow: no character"},
      {{}, VK_F1, 0, 0, "function key: no character"},
  };
  HWND H = Make(Popup, Bounds(0, 0, 50, 50));
  SetFocus(H);
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    for (WORD K : C.Held) Screen().KeyDown(K);
    Screen().KeyPress(C.Key);
    for (WORD K : C.Held) Screen().KeyUp(K);
    ClearLog();
    Pump();
    auto Chars = Msgs(H, {WM_CHAR, WM_SYSCHAR});
    if (!C.WantMsg) {
      EXPECT_TRUE(Chars.empty());
      continue;
    }
    ASSERT_EQ(Chars, std::vector<UINT>{C.WantMsg});
    EXPECT_EQ(Logged(H, C.WantMsg)[0].W, C.WantChar);
  }
}

TEST_F(TInput, KeyMessagesCarryStateAndKeyStateFollowsTheQueue) {
  HWND H = Make(Popup, Bounds(0, 0, 50, 50));
  SetFocus(H);
  Screen().KeyDown(VK_SHIFT);
  EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);  // not read yet
  Pump();
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  EXPECT_TRUE(GetKeyState(VK_LSHIFT) & 0x8000);
  Screen().KeyUp(VK_SHIFT);
  Screen().KeyPress(VK_CAPITAL);
  Screen().KeyDown(VK_MENU);
  Screen().KeyPress('X');
  Screen().KeyUp(VK_MENU);
  ClearLog();
  Pump();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);  // toggled
  EXPECT_EQ(Msgs(H, {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}),
            (std::vector<UINT>{WM_KEYUP, WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYDOWN,
                               WM_SYSKEYUP, WM_SYSKEYUP}));
  auto Up = Logged(H, WM_KEYUP)[0];
  EXPECT_TRUE(Up.L & (1u << 31));
  EXPECT_TRUE(Up.L & (1u << 30));
  EXPECT_EQ((Up.L >> 16) & 0xFF, 0x2A);  // the shift key's scan code
  EXPECT_TRUE(Logged(H, WM_SYSKEYDOWN)[1].L & (1u << 29));  // Alt held
}

TEST_F(TInput, TrackMouseEventPostsMouseLeave) {
  HWND A = Make(Popup, Bounds(0, 0, 50, 50));
  Make(Popup, Bounds(100, 0, 50, 50));
  On(A, [](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT T;
      T.dwFlags = TME_LEAVE;
      T.hwndTrack = W;
      TrackMouseEvent(&T);
    }
    return std::nullopt;
  });
  Screen().MouseMove(10, 10);
  Pump();
  EXPECT_TRUE(Logged(A, WM_MOUSELEAVE).empty());
  Screen().MouseMove(110, 10);
  Pump();
  EXPECT_EQ(Logged(A, WM_MOUSELEAVE).size(), 1u);
}

namespace {
// A window that asks for hover tracking on every mouse move, as a control
// that shows something after the pointer rests does.
THandler TrackHoverOnMove(DWORD Flags, DWORD Time) {
  return [Flags, Time](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT E;
      E.dwFlags = Flags;
      E.hwndTrack = W;
      E.dwHoverTime = Time;
      TrackMouseEvent(&E);
    }
    return std::nullopt;
  };
}
}  // namespace

// The hover message comes once, after the pointer has rested for the hover
// time, carrying the client point; it waits while the pointer moves beyond
// the hover rectangle and never comes once the pointer has left.
TEST_F(TInput, TrackMouseEventHoverComesAfterTheRestingTime) {
  HWND A = Make(Popup, Bounds(0, 0, 80, 80));
  Make(Popup, Bounds(100, 0, 50, 50));
  UINT HoverTime = 0;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &HoverTime, 0));
  ASSERT_GT(HoverTime, 50u);
  On(A, TrackHoverOnMove(TME_HOVER, HOVER_DEFAULT));
  Screen().MouseMove(10, 20);
  Pump();
  // The window asks once; later moves inside the rectangle don't re-arm.
  Handlers().erase(A);
  AdvanceClock(HoverTime - 1);
  Pump();
  EXPECT_TRUE(Logged(A, WM_MOUSEHOVER).empty()) << "too early";
  // A move of one pixel stays in the hover rectangle: the wait goes on.
  Screen().MouseMove(11, 20);
  Pump();
  AdvanceClock(1);
  Pump();
  auto Hover = Logged(A, WM_MOUSEHOVER);
  ASSERT_EQ(Hover.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(Hover[0].L), 11);
  EXPECT_EQ(GET_Y_LPARAM(Hover[0].L), 20);
  // One message per request.
  AdvanceClock(HoverTime * 3);
  Pump();
  EXPECT_EQ(Logged(A, WM_MOUSEHOVER).size(), 1u);

  // A move beyond the rectangle starts the wait over.
  ClearLog();
  On(A, TrackHoverOnMove(TME_HOVER, 100));
  Screen().MouseMove(30, 30);
  Pump();
  Handlers().erase(A);
  AdvanceClock(60);
  Screen().MouseMove(50, 30);
  Pump();
  AdvanceClock(60);
  Pump();
  EXPECT_TRUE(Logged(A, WM_MOUSEHOVER).empty()) << "the wait restarted at the move";
  AdvanceClock(40);
  Pump();
  EXPECT_EQ(Logged(A, WM_MOUSEHOVER).size(), 1u);

  // Leaving the window ends the tracking.
  ClearLog();
  On(A, TrackHoverOnMove(TME_HOVER | TME_LEAVE, 100));
  Screen().MouseMove(40, 40);
  Pump();
  Handlers().erase(A);
  Screen().MouseMove(110, 10);
  Pump();
  AdvanceClock(500);
  Pump();
  EXPECT_TRUE(Logged(A, WM_MOUSEHOVER).empty());
  EXPECT_EQ(Logged(A, WM_MOUSELEAVE).size(), 1u);
}

// TME_QUERY reports what is tracked; TME_CANCEL drops only the kinds it
// names; a destroyed window's tracking goes with it.
TEST_F(TInput, TrackMouseEventQueryAndCancel) {
  HWND A = Make(Popup, Bounds(0, 0, 80, 80));
  On(A, TrackHoverOnMove(TME_HOVER | TME_LEAVE, 250));
  Screen().MouseMove(10, 10);
  Pump();
  Handlers().erase(A);
  TRACKMOUSEEVENT Q;
  Q.dwFlags = TME_QUERY;
  ASSERT_TRUE(TrackMouseEvent(&Q));
  EXPECT_EQ(Q.dwFlags, TME_HOVER | TME_LEAVE);
  EXPECT_EQ(Q.hwndTrack, A);
  EXPECT_EQ(Q.dwHoverTime, 250u);

  TRACKMOUSEEVENT C;
  C.dwFlags = TME_CANCEL | TME_HOVER;
  C.hwndTrack = A;
  ASSERT_TRUE(TrackMouseEvent(&C));
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.dwFlags, TME_LEAVE) << "the leave tracking stays";
  AdvanceClock(1000);
  Pump();
  EXPECT_TRUE(Logged(A, WM_MOUSEHOVER).empty());

  C.dwFlags = TME_CANCEL | TME_LEAVE;
  TrackMouseEvent(&C);
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.dwFlags, 0u);
  EXPECT_EQ(Q.hwndTrack, nullptr);

  // Hover asked while the pointer is elsewhere never comes.
  HWND B = Make(Popup, Bounds(200, 0, 50, 50));
  TRACKMOUSEEVENT H;
  H.dwFlags = TME_HOVER;
  H.hwndTrack = B;
  H.dwHoverTime = 10;
  ASSERT_TRUE(TrackMouseEvent(&H));
  AdvanceClock(100);
  Pump();
  EXPECT_TRUE(Logged(B, WM_MOUSEHOVER).empty());

  // Tracking of a window that dies is dropped with it.
  H.hwndTrack = A;
  TrackMouseEvent(&H);
  DestroyWindow(A);
  AdvanceClock(100);
  Pump();
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.hwndTrack, nullptr);
}

// GetMessage sleeps until the hover is due rather than for ever.
TEST_F(TInput, WaitingForMessagesWakesForTheHover) {
  HWND A = Make(Popup, Bounds(0, 0, 80, 80));
  On(A, TrackHoverOnMove(TME_HOVER, 300));
  Screen().MouseMove(10, 10);
  Pump();
  Handlers().erase(A);
  MSG M;
  EXPECT_FALSE(PeekMessageA(&M, nullptr, WM_MOUSEHOVER, WM_MOUSEHOVER, PM_NOREMOVE));
  EXPECT_FALSE(GetQueueStatus(QS_TIMER) & QS_TIMER);
  AdvanceClock(300);
  EXPECT_TRUE(GetQueueStatus(QS_TIMER) & QS_TIMER);
  EXPECT_TRUE(PeekMessageA(&M, nullptr, WM_MOUSEHOVER, WM_MOUSEHOVER, PM_REMOVE));
  EXPECT_EQ(M.hwnd, A);
}

TEST_F(TInput, ApplicationActivationReachesEveryTopLevelWindow) {
  HWND A = Make(Popup, Bounds(0, 0, 100, 100));
  HWND B = Make(Popup, Bounds(200, 0, 100, 100));
  HWND Kid = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), A);
  SetFocus(Kid);
  ClearLog();
  DeactivateApplication();
  for (HWND H : {A, B}) {
    auto Msgs = Logged(H, WM_ACTIVATEAPP);
    ASSERT_EQ(Msgs.size(), 1u);
    EXPECT_EQ(Msgs[0].W, WPARAM(FALSE));
  }
  EXPECT_TRUE(Logged(Kid, WM_ACTIVATEAPP).empty()) << "only top-level windows hear it";
  EXPECT_EQ(LOWORD(Logged(A, WM_ACTIVATE).at(0).W), WA_INACTIVE);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);

  // Coming back tells every top-level window once; moving between the
  // application's own windows tells none.
  ClearLog();
  SetActiveWindow(B);
  for (HWND H : {A, B}) {
    auto Msgs = Logged(H, WM_ACTIVATEAPP);
    ASSERT_EQ(Msgs.size(), 1u);
    EXPECT_EQ(Msgs[0].W, WPARAM(TRUE));
  }
  ClearLog();
  SetActiveWindow(A);
  EXPECT_TRUE(Msgs(nullptr, {WM_ACTIVATEAPP}).empty());
  EXPECT_EQ(HWND(Logged(A, WM_ACTIVATE).at(0).L), B);
}

TEST_F(TInput, KeyboardStateCarriesDownAndToggleBits) {
  Pump();
  BYTE Before[256];
  ASSERT_TRUE(GetKeyboardState(Before));
  const bool CapsWas = Before[VK_CAPITAL] & 1;
  HWND H = Make(Popup, Bounds(0, 0, 50, 50));
  SetFocus(H);
  Screen().KeyDown(VK_SHIFT);
  Screen().KeyPress(VK_CAPITAL);
  Pump();
  BYTE S[256];
  ASSERT_TRUE(GetKeyboardState(S));
  EXPECT_TRUE(S[VK_SHIFT] & 0x80);
  EXPECT_FALSE(S[VK_CAPITAL] & 0x80) << "released again";
  EXPECT_NE(bool(S[VK_CAPITAL] & 1), CapsWas) << "each press flips the toggle bit";
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, S[VK_CAPITAL] & 1);
  Screen().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  // A state set by the program is what the next reads answer.
  S[VK_CONTROL] = 0x80;
  S[VK_SHIFT] = 0;
  ASSERT_TRUE(SetKeyboardState(S));
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_FALSE(GetKeyboardState(nullptr));
}

TEST_F(TInput, CaretIsDrawnInvertedWhileShownAndSurvivesPainting) {
  HWND H = Make(Popup, Bounds(0, 0, 40, 30));
  Pump();
  const COLORREF Back = Screen().ScreenPixel(5, 5);
  const COLORREF Inverted = Back ^ 0x00FFFFFF;
  ASSERT_TRUE(CreateCaret(H, nullptr, 2, 10));
  SetCaretPos(5, 5);
  EXPECT_EQ(Screen().ScreenPixel(5, 5), Back) << "a new caret starts hidden";
  ASSERT_TRUE(ShowCaret(H));
  EXPECT_EQ(Screen().ScreenPixel(5, 5), Inverted);
  EXPECT_EQ(Screen().ScreenPixel(6, 14), Inverted);
  EXPECT_EQ(Screen().ScreenPixel(7, 5), Back);
  EXPECT_EQ(Screen().ScreenPixel(5, 15), Back);
  // Moving it restores what it covered.
  SetCaretPos(20, 5);
  EXPECT_EQ(Screen().ScreenPixel(5, 5), Back);
  EXPECT_EQ(Screen().ScreenPixel(20, 5), Inverted);
  TPoint P;
  ASSERT_TRUE(GetCaretPos(&P));
  EXPECT_EQ(P, TPoint(20, 5));
  // Painting hides it for the paint and shows it again on top.
  InvalidateRect(H, nullptr, TRUE);
  Pump();
  EXPECT_EQ(Screen().ScreenPixel(20, 5), Inverted);
  EXPECT_EQ(Screen().ScreenPixel(5, 5), Back);
  // Hiding nests: two hides need two shows.
  HideCaret(H);
  HideCaret(H);
  ShowCaret(H);
  EXPECT_EQ(Screen().ScreenPixel(20, 5), Back);
  ShowCaret(H);
  EXPECT_EQ(Screen().ScreenPixel(20, 5), Inverted);
  EXPECT_FALSE(ShowCaret(H)) << "already shown";
  ASSERT_TRUE(DestroyCaret());
  EXPECT_EQ(Screen().ScreenPixel(20, 5), Back);
  EXPECT_FALSE(ShowCaret(H));
  // A caret dies with its window.
  ASSERT_TRUE(CreateCaret(H, nullptr, 2, 10));
  DestroyWindow(H);
  EXPECT_FALSE(ShowCaret(nullptr));
  EXPECT_FALSE(SetCaretPos(1, 1));
}
