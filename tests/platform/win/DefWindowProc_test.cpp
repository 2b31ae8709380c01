#include "platform/win/Window.h"

#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "WinTestSupport.h"

namespace {
using TDefWindowProc = TWinTest;
}  // namespace

TEST_F(TDefWindowProc, NonClientHitCodesFollowTheFrame) {
  HWND H = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, Bounds(100, 100, 300, 200));
  TRect C;
  GetClientRect(H, &C);
  EXPECT_EQ(C, TRect(0, 0, 292 - 16, 173 - 16));
  struct TCase { TPoint P; int Want; const char* Why; };
  const TCase Cases[] = {
      {{150, 150}, HTCLIENT, "client"},
      {{101, 200}, HTLEFT, "left frame"},
      {{398, 200}, HTRIGHT, "right frame"},
      {{200, 101}, HTTOP, "top frame"},
      {{200, 298}, HTBOTTOM, "bottom frame"},
      {{101, 101}, HTTOPLEFT, "top-left corner"},
      {{398, 298}, HTBOTTOMRIGHT, "bottom-right corner"},
      {{200, 110}, HTCAPTION, "caption"},
      {{385, 112}, HTCLOSE, "close button"},
      {{112, 112}, HTSYSMENU, "system menu"},
      {{380, 200}, HTVSCROLL, "vertical bar"},
      {{200, 285}, HTHSCROLL, "horizontal bar"},
      {{385, 285}, HTGROWBOX, "corner between the bars"},
      {{50, 50}, HTNOWHERE, "outside"},
  };
  for (auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    EXPECT_EQ(SendMessageA(H, WM_NCHITTEST, 0, MAKELPARAM(K.P.X, K.P.Y)), K.Want);
  }
}

TEST_F(TDefWindowProc, DraggingTheCaptionMovesTheWindowInASystemLoop) {
  HWND H = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
  Pump();
  ClearLog();
  Screen().MouseDown(200, 110);
  Screen().MouseMove(230, 150);
  Screen().MouseUp(250, 160);
  Pump();
  TRect R;
  GetWindowRect(H, &R);
  EXPECT_EQ(R, Bounds(150, 150, 300, 200));
  auto Seq = Msgs(H, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE, WM_CAPTURECHANGED});
  ASSERT_GE(Seq.size(), 3u);
  EXPECT_EQ(Seq.front(), UINT(WM_ENTERSIZEMOVE));
  EXPECT_EQ(Seq.back(), UINT(WM_EXITSIZEMOVE));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TDefWindowProc, SizingFromACornerRespectsTheMinimumTrackSize) {
  HWND H = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
  On(H, [](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    if (M == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(L)->ptMinTrackSize = {250, 150};
    return std::nullopt;
  });
  Pump();
  Screen().MouseDown(398, 298);
  Screen().MouseMove(300, 250);
  Screen().MouseUp(300, 250);
  Pump();
  TRect R;
  GetWindowRect(H, &R);
  EXPECT_EQ(R, Bounds(100, 100, 250, 152));  // width held at the minimum
  EXPECT_FALSE(Logged(H, WM_SIZING).empty());
  EXPECT_EQ(Logged(H, WM_SIZING).back().W, WPARAM(WMSZ_BOTTOMRIGHT));
}

TEST_F(TDefWindowProc, CloseButtonClosesOnlyWhenReleasedOverIt) {
  HWND H = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
  Pump();
  Screen().MouseDown(385, 112);
  Screen().MouseUp(200, 200);  // released elsewhere: nothing
  Pump();
  EXPECT_TRUE(IsWindow(H));
  AdvanceClock(1000);  // not a double click
  Screen().Click(385, 112);
  Pump();
  EXPECT_FALSE(IsWindow(H));
  EXPECT_FALSE(Logged(H, WM_CLOSE).empty());
}

TEST_F(TDefWindowProc, PrintDrawsTheWindowAndItsChildrenIntoAnyDc) {
  HWND P = Make(WS_POPUP | WS_VISIBLE | WS_BORDER, Bounds(0, 0, 30, 30));
  HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 5, 5), P);
  auto Paint = [](COLORREF Col) {
    return [Col](HWND, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
      if (M != WM_PRINTCLIENT) return std::nullopt;
      HBRUSH B = CreateSolidBrush(Col);
      TRect R{0, 0, 40, 40};
      FillRect(HDC(W), &R, B);
      DeleteObject(B);
      return 0;
    };
  };
  On(P, Paint(RGB(10, 20, 30)));
  On(C, Paint(RGB(200, 100, 0)));
  HDC Mem = CreateCompatibleDC(nullptr);
  HDC Scr = GetDC(nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(Scr, 30, 30);
  ReleaseDC(nullptr, Scr);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  SendMessageA(P, WM_PRINT, WPARAM(Mem), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  EXPECT_EQ(GetPixel(Mem, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(GetPixel(Mem, 5, 5), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(Mem, 12, 12), RGB(200, 100, 0));
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
}

TEST_F(TDefWindowProc, FlatScrollBarPropertiesNeedTheWindowTakenOver) {
  HWND H = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  int Mode = -1;
  EXPECT_FALSE(FlatSB_SetScrollProp(H, WSB_PROP_VSTYLE, FSB_FLAT_MODE, TRUE)) << "not taken over yet";
  EXPECT_FALSE(FlatSB_GetScrollProp(H, WSB_PROP_VSTYLE, &Mode));
  ASSERT_TRUE(InitializeFlatSB(H));
  ASSERT_TRUE(FlatSB_GetScrollProp(H, WSB_PROP_HSTYLE, &Mode));
  EXPECT_EQ(Mode, int(FSB_REGULAR_MODE));
  EXPECT_TRUE(FlatSB_SetScrollProp(H, WSB_PROP_HSTYLE, FSB_ENCARTA_MODE, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(H, WSB_PROP_HSTYLE, 7, TRUE)) << "no such mode";
  EXPECT_FALSE(FlatSB_SetScrollProp(H, 0x0400, FSB_FLAT_MODE, TRUE)) << "no such property";
  ASSERT_TRUE(FlatSB_GetScrollProp(H, WSB_PROP_HSTYLE, &Mode));
  EXPECT_EQ(Mode, int(FSB_ENCARTA_MODE));
  EXPECT_EQ(UninitializeFlatSB(H), S_OK);
  EXPECT_FALSE(FlatSB_GetScrollProp(H, WSB_PROP_HSTYLE, &Mode));
}

TEST_F(TDefWindowProc, ScrollInfoClampsAndShowsTheBarOnlyWhenItCanScroll) {
  HWND H = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Si.nMin = 0;
  Si.nMax = 99;
  Si.nPage = 30;
  Si.nPos = 500;
  EXPECT_EQ(SetScrollInfo(H, SB_VERT, &Si, TRUE), 70);  // last position keeps a page in view
  EXPECT_TRUE(GetWindowLongPtrA(H, GWL_STYLE) & WS_VSCROLL);
  TRect C;
  GetClientRect(H, &C);
  EXPECT_EQ(C.Right, 84);
  Si.nPage = 100;
  SetScrollInfo(H, SB_VERT, &Si, TRUE);
  EXPECT_FALSE(GetWindowLongPtrA(H, GWL_STYLE) & WS_VSCROLL);
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  SetScrollInfo(H, SB_VERT, &Si, TRUE);
  SCROLLBARINFO Sb;
  ASSERT_TRUE(GetScrollBarInfo(H, OBJID_VSCROLL, &Sb));
  EXPECT_TRUE(GetWindowLongPtrA(H, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(Sb.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  // A click on the lower arrow asks the window to scroll a line.
  Si.fMask = SIF_RANGE | SIF_PAGE;
  Si.nPage = 10;
  SetScrollInfo(H, SB_VERT, &Si, TRUE);
  Pump();
  ClearLog();
  Screen().Click(90, 95);
  Pump();
  std::vector<int> Codes;
  for (auto& E : Logged(H, WM_VSCROLL)) Codes.push_back(LOWORD(E.W));
  EXPECT_EQ(Codes, (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
}

// A modal loop runs inside a handler; its window is destroyed from inside
// the loop, which must end it without touching the dead window.
TEST_F(TDefWindowProc, NestedLoopEndedByDestroyingItsWindowFromInside) {
  HWND Main = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  HWND Dlg = Make(WS_POPUP | WS_VISIBLE, Bounds(10, 10, 50, 50), Main);
  On(Dlg, [](HWND W, UINT M, WPARAM Wp, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_KEYDOWN && Wp == VK_ESCAPE) {
      // As modal code does: the owner comes back before the dialog goes,
      // so that the activation can return to it.
      EnableWindow(GetWindow(W, GW_OWNER), TRUE);
      DestroyWindow(W);
      return 0;
    }
    return std::nullopt;
  });
  int Rounds = 0;
  On(Main, [&](HWND, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M != WM_USER) return std::nullopt;
    EnableWindow(Main, FALSE);
    MSG Msg;
    while (IsWindow(Dlg) && GetMessageA(&Msg, nullptr, 0, 0) > 0) {
      ++Rounds;
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
    EnableWindow(Main, TRUE);
    return 1;
  });
  SetFocus(Dlg);
  Screen().KeyPress(VK_ESCAPE);
  Screen().KeyPress('A');  // after the dialog is gone: goes to the new focus
  PostMessageA(Main, WM_USER, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(Dlg));
  EXPECT_GT(Rounds, 0);
  EXPECT_TRUE(IsWindowEnabled(Main));
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_FALSE(Logged(Main, WM_KEYUP).empty());
}
