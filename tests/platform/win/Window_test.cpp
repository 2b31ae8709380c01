#include "platform/win/Window.h"

#include "WinTestSupport.h"

namespace {
using TWindow_ = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;
}  // namespace

TEST_F(TWindow_, CreationSendsTheStandardSequence) {
  HWND H = Make(WS_OVERLAPPEDWINDOW, Bounds(10, 10, 300, 200));
  EXPECT_EQ(Msgs(H), (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                        WM_SIZE, WM_MOVE}));
  TRect W, C;
  GetWindowRect(H, &W);
  GetClientRect(H, &C);
  EXPECT_EQ(W, Bounds(10, 10, 300, 200));
  // Thick frame 4 on every side, a 19-pixel caption.
  EXPECT_EQ(C, TRect(0, 0, 292, 173));
  TPoint P{0, 0};
  ClientToScreen(H, &P);
  EXPECT_EQ(P, TPoint(14, 33));
}

TEST_F(TWindow_, CreateFailsWhenWmCreateAnswersMinusOne) {
  HWND Seen = nullptr;
  // The handler is keyed by window, which does not exist yet: use the log.
  auto Old = Handlers();
  HWND H = nullptr;
  WNDCLASSEXA C;
  C.lpszClassName = "SxRefuse";
  C.lpfnWndProc = [](HWND W, UINT M, WPARAM Wp, LPARAM Lp) -> LRESULT {
    TWinTest::Log().push_back({W, M, Wp, Lp});
    return M == WM_CREATE ? -1 : DefWindowProcA(W, M, Wp, Lp);
  };
  ASSERT_TRUE(RegisterClassExA(&C));
  H = CreateWindowExA(0, "SxRefuse", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(H, nullptr);
  ASSERT_FALSE(Log().empty());
  Seen = Log().front().Wnd;
  EXPECT_FALSE(IsWindow(Seen));
  EXPECT_EQ(Msgs(Seen, {WM_CREATE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(TWindow_, DestroyOrdersDestroyParentFirstAndNcDestroyChildFirst) {
  HWND P = Make(Popup, Bounds(0, 0, 100, 100));
  HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), P);
  ClearLog();
  EXPECT_TRUE(DestroyWindow(P));
  std::vector<std::pair<HWND, UINT>> Seq;
  for (auto& E : Log())
    if (E.Msg == WM_DESTROY || E.Msg == WM_NCDESTROY) Seq.push_back({E.Wnd, E.Msg});
  EXPECT_EQ(Seq, (std::vector<std::pair<HWND, UINT>>{
                     {P, WM_DESTROY}, {C, WM_DESTROY}, {C, WM_NCDESTROY}, {P, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(P));
  EXPECT_FALSE(IsWindow(C));
}

TEST_F(TWindow_, DeadHandlesFailLikeTheRealCalls) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  PostMessageA(H, WM_USER, 1, 2);
  DestroyWindow(H);
  SetLastError(0);
  EXPECT_EQ(SendMessageA(H, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(DestroyWindow(H));
  EXPECT_FALSE(PostMessageA(H, WM_USER, 0, 0));
  TRect R;
  EXPECT_FALSE(GetWindowRect(H, &R));
  // The message posted before the window died is gone with it.
  MSG M;
  EXPECT_FALSE(PeekMessageA(&M, nullptr, WM_USER, WM_USER, PM_REMOVE));
  // A new window does not inherit the old handle.
  HWND N = Make(Popup, Bounds(0, 0, 10, 10));
  EXPECT_NE(N, H);
}

TEST_F(TWindow_, WindowDestroyedInsideItsOwnHandlerStaysSafe) {
  HWND Owner = Make(Popup, Bounds(0, 0, 100, 100));
  HWND H = Make(Popup, Bounds(10, 10, 50, 50), Owner);
  HWND Child = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), H);
  bool AfterReturn = false;
  On(H, [&](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_USER) {
      DestroyWindow(W);
      // Still inside the handler: the handle is dead, calls fail cleanly.
      AfterReturn = !IsWindow(W) && !IsWindow(Child) && SendMessageA(W, WM_USER + 1, 0, 0) == 0;
      return 7;
    }
    if (M == WM_DESTROY) DestroyWindow(W);  // destroying again from WM_DESTROY is harmless
    return std::nullopt;
  });
  SetFocus(Child);
  SetCapture(Child);
  EXPECT_EQ(SendMessageA(H, WM_USER, 0, 0), 7);
  EXPECT_TRUE(AfterReturn);
  // The activation and with it the focus fall back to the owner.
  EXPECT_EQ(GetActiveWindow(), Owner);
  EXPECT_EQ(GetFocus(), Owner);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(IsWindow(Owner));
  EXPECT_EQ(Logged(H, WM_NCDESTROY).size(), 1u);
}

TEST_F(TWindow_, DestroyingAnOwnerDestroysItsOwnedPopupsFirst) {
  HWND Owner = Make(Popup, Bounds(0, 0, 100, 100));
  HWND Owned = Make(Popup, Bounds(10, 10, 50, 50), Owner);
  EXPECT_EQ(GetWindow(Owned, GW_OWNER), Owner);
  ClearLog();
  DestroyWindow(Owner);
  auto D = Msgs(nullptr, {WM_DESTROY});
  ASSERT_EQ(Log().size() > 0, true);
  std::vector<HWND> Order;
  for (auto& E : Log())
    if (E.Msg == WM_DESTROY) Order.push_back(E.Wnd);
  EXPECT_EQ(Order, (std::vector<HWND>{Owned, Owner}));
}

// Three overlapping popups: the last shown is on top unless a topmost one
// or an owner relation says otherwise.
TEST_F(TWindow_, ZOrderAndHitTestingPickTheRightOverlappingPopup) {
  HWND A = Make(Popup, Bounds(0, 0, 100, 100));
  HWND B = Make(Popup, Bounds(50, 50, 100, 100));
  HWND C = Make(Popup, Bounds(25, 25, 100, 100), nullptr, WS_EX_TOPMOST);
  struct TCase { TPoint P; HWND Want; const char* Why; };
  auto Check = [&](std::initializer_list<TCase> Cases) {
    for (auto& K : Cases) {
      SCOPED_TRACE(K.Why);
      EXPECT_EQ(WindowFromPoint(K.P), K.Want);
    }
  };
  Check({{{10, 10}, A, "only A"},
         {{60, 60}, C, "topmost C over B and A"},
         {{130, 140}, B, "B alone below C's reach"},
         {{120, 60}, C, "C's right part"},
         {{200, 200}, nullptr, "desktop"}});
  BringWindowToTop(A);
  Check({{{30, 30}, C, "topmost stays above a raised normal window"},
         {{20, 20}, A, "A only under itself"}});
  SetWindowPos(C, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  BringWindowToTop(A);
  Check({{{60, 60}, A, "A raised over C once C is no longer topmost"}});
  // An owned popup stays above its owner when the owner comes up.
  HWND Owned = Make(Popup, Bounds(70, 70, 20, 20), B);
  BringWindowToTop(B);
  Check({{{75, 75}, Owned, "owned popup above owner"}, {{60, 60}, B, "owner raised"}});
  // A window answering HTTRANSPARENT lets the point through.
  On(Owned, [](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  });
  Check({{{75, 75}, B, "transparent owned popup"}});
  // Clicks go to the same window the hit test picks.
  ClearLog();
  Screen().Click(60, 60);
  Pump();
  EXPECT_EQ(Logged(B, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Logged(A, WM_LBUTTONDOWN).size(), 0u);
}

// Children line up in creation order (the first one created is the first
// sibling and on top); top-level windows come up on top of the older ones.
TEST_F(TWindow_, SiblingsEnumerateInCreationOrder) {
  HWND P = Make(Popup, Bounds(0, 0, 200, 200));
  HWND A = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 20, 20), P);
  HWND B = Make(WS_CHILD | WS_VISIBLE, Bounds(30, 0, 20, 20), P);
  HWND Inner = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 5, 5), B);
  HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(60, 0, 20, 20), P);
  std::vector<HWND> Walk;
  for (HWND H = GetWindow(P, GW_CHILD); H; H = GetWindow(H, GW_HWNDNEXT)) Walk.push_back(H);
  EXPECT_EQ(Walk, (std::vector<HWND>{A, B, C}));
  EXPECT_EQ(GetWindow(B, GW_HWNDFIRST), A);
  EXPECT_EQ(GetWindow(B, GW_HWNDLAST), C);
  EXPECT_EQ(GetWindow(C, GW_HWNDPREV), B);
  EXPECT_EQ(GetTopWindow(P), A);
  static std::vector<HWND> Seen;
  Seen.clear();
  EnumChildWindows(
      P, [](HWND H, LPARAM) -> BOOL {
        Seen.push_back(H);
        return TRUE;
      },
      0);
  EXPECT_EQ(Seen, (std::vector<HWND>{A, B, Inner, C})) << "depth first, in creation order";
  HWND Id = Make(WS_CHILD, Bounds(0, 0, 1, 1), P);
  SetWindowLongA(Id, GWL_ID, 7);
  HWND Twin = Make(WS_CHILD, Bounds(0, 0, 1, 1), P);
  SetWindowLongA(Twin, GWL_ID, 7);
  EXPECT_EQ(GetDlgItem(P, 7), Id) << "the first created of two with one id";
  // Moving a child in the z-order moves it in the walk; a new top-level
  // window still comes up above the others.
  SetWindowPos(C, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(P, GW_CHILD), C);
  EXPECT_EQ(GetWindow(C, GW_HWNDNEXT), A);
  HWND Q = Make(Popup, Bounds(0, 0, 10, 10));
  EXPECT_EQ(GetTopWindow(nullptr), Q);
}

TEST_F(TWindow_, ChildHitTestSkipsDisabledAndHiddenChildren) {
  HWND P = Make(Popup, Bounds(0, 0, 100, 100));
  HWND Hidden = Make(WS_CHILD, Bounds(0, 0, 50, 50), P);
  HWND Off = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, Bounds(50, 0, 50, 50), P);
  HWND On_ = Make(WS_CHILD | WS_VISIBLE, Bounds(0, 50, 50, 50), P);
  EXPECT_EQ(WindowFromPoint({10, 10}), P);
  EXPECT_EQ(WindowFromPoint({60, 10}), P);
  EXPECT_EQ(WindowFromPoint({10, 60}), On_);
  EXPECT_EQ(ChildWindowFromPointEx(P, {10, 10}, CWP_ALL), Hidden);
  EXPECT_EQ(ChildWindowFromPointEx(P, {10, 10}, CWP_SKIPINVISIBLE), P);
  EXPECT_EQ(ChildWindowFromPointEx(P, {60, 10}, CWP_SKIPDISABLED), P);
  EXPECT_EQ(ChildWindowFromPointEx(P, {60, 10}, CWP_ALL), Off);
  EXPECT_EQ(ChildWindowFromPoint(P, {500, 10}), nullptr);
}

TEST_F(TWindow_, SetWindowPosLetsWmWindowPosChangingAdjustAndReportsMoveAndSize) {
  HWND H = Make(Popup, Bounds(0, 0, 100, 100));
  On(H, [](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    if (M == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(L)->cx = 40;  // a fixed width
    return std::nullopt;
  });
  ClearLog();
  MoveWindow(H, 5, 6, 200, 70, TRUE);
  TRect R;
  GetWindowRect(H, &R);
  EXPECT_EQ(R, Bounds(5, 6, 40, 70));
  EXPECT_EQ(Msgs(H, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  auto Size = Logged(H, WM_SIZE);
  ASSERT_EQ(Size.size(), 1u);
  EXPECT_EQ(Size[0].L, MAKELPARAM(40, 70));
}

TEST_F(TWindow_, TextSubclassingAndPropsGoThroughTheWindow) {
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  SetWindowTextA(H, "Caption");
  char Buf[4];
  EXPECT_EQ(GetWindowTextA(H, Buf, sizeof Buf), 3);
  EXPECT_STREQ(Buf, "Cap");
  EXPECT_EQ(GetWindowTextLengthA(H), 7);
  static WNDPROC Previous;
  static int Seen;
  Seen = 0;
  Previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      H, GWL_WNDPROC, LONG_PTR(+[](HWND W, UINT M, WPARAM Wp, LPARAM Lp) -> LRESULT {
        if (M == WM_USER) ++Seen;
        return CallWindowProcA(Previous, W, M, Wp, Lp);
      })));
  EXPECT_EQ(Previous, &TWinTest::Proc);
  SendMessageA(H, WM_USER, 0, 0);
  EXPECT_EQ(Seen, 1);
  EXPECT_EQ(Logged(H, WM_USER).size(), 1u);  // the old procedure still ran
  EXPECT_TRUE(SetPropA(H, "Obj", reinterpret_cast<HANDLE>(42)));
  EXPECT_EQ(GetPropA(H, "OBJ"), reinterpret_cast<HANDLE>(42));
  EXPECT_EQ(RemovePropA(H, "obj"), reinterpret_cast<HANDLE>(42));
  EXPECT_EQ(GetPropA(H, "Obj"), nullptr);
}

TEST_F(TWindow_, ClassesRegisterOnceAndRefuseUnregisterWhileInUse) {
  WNDCLASSEXA C;
  C.lpszClassName = "sxtest";  // names compare without case
  C.lpfnWndProc = DefWindowProcA;
  EXPECT_EQ(RegisterClassExA(&C), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
  HWND H = Make(Popup, Bounds(0, 0, 10, 10));
  EXPECT_FALSE(UnregisterClassA("SxTest", nullptr));
  DestroyWindow(H);
  EXPECT_TRUE(UnregisterClassA("SxTest", nullptr));
  EXPECT_EQ(CreateWindowExA(0, "SxTest", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
}
