#include "platform/win/Paint.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/gdi/Gdi.h"
#include "support/TestFiles.h"
#include "WinTestSupport.h"

namespace {
using TPaint = TWinTest;
constexpr DWORD Popup = WS_POPUP | WS_VISIBLE;

std::optional<LRESULT> FillClient(HWND H, COLORREF Color) {
  PAINTSTRUCT Ps;
  HDC Dc = BeginPaint(H, &Ps);
  HBRUSH B = CreateSolidBrush(Color);
  TRect R;
  GetClientRect(H, &R);
  FillRect(Dc, &R, B);
  DeleteObject(B);
  EndPaint(H, &Ps);
  return 0;
}
}  // namespace

TEST_F(TPaint, InvalidationBecomesOnePaintWithTheUpdateBounds) {
  HWND H = Make(Popup, Bounds(0, 0, 100, 100));
  Pump();
  std::vector<TRect> Painted;
  std::vector<BOOL> Erased;
  On(H, [&](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M != WM_PAINT) return std::nullopt;
    PAINTSTRUCT Ps;
    BeginPaint(W, &Ps);
    Painted.push_back(Ps.rcPaint);
    Erased.push_back(Ps.fErase);
    EndPaint(W, &Ps);
    return 0;
  });
  TRect A{10, 10, 20, 20}, B{50, 60, 70, 80};
  InvalidateRect(H, &A, FALSE);
  InvalidateRect(H, &B, TRUE);
  TRect U;
  EXPECT_TRUE(GetUpdateRect(H, &U, FALSE));
  EXPECT_EQ(U, TRect(10, 10, 70, 80));
  ClearLog();
  Pump();
  ASSERT_EQ(Painted.size(), 1u);
  EXPECT_EQ(Painted[0], TRect(10, 10, 70, 80));
  EXPECT_FALSE(Erased[0]);  // DefWindowProc erased with the class brush
  EXPECT_EQ(Msgs(H, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_FALSE(GetUpdateRect(H, &U, FALSE));
  ValidateRect(H, nullptr);
  InvalidateRect(H, &A, FALSE);
  ValidateRect(H, &A);
  ClearLog();
  Pump();
  EXPECT_TRUE(Logged(H, WM_PAINT).empty());
}

TEST_F(TPaint, ChildrenPaintIntoTheTopLevelSurfaceWithinTheirClip) {
  HWND P = Make(Popup | WS_CLIPCHILDREN, Bounds(10, 10, 100, 100));
  HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 30, 30), P);
  On(P, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(H, RGB(255, 0, 0)) : std::nullopt;
  });
  On(C, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_PAINT) {
      // Drawing beyond the child's own area must not reach the parent.
      PAINTSTRUCT Ps;
      HDC Dc = BeginPaint(H, &Ps);
      HBRUSH B = CreateSolidBrush(RGB(0, 0, 255));
      TRect Big{-50, -50, 200, 200};
      FillRect(Dc, &Big, B);
      DeleteObject(B);
      EndPaint(H, &Ps);
      return 0;
    }
    return std::nullopt;
  });
  Pump();
  auto& S = Screen();
  EXPECT_EQ(S.ScreenPixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(S.ScreenPixel(35, 35), RGB(0, 0, 255));
  EXPECT_EQ(S.ScreenPixel(59, 59), RGB(0, 0, 255));
  EXPECT_EQ(S.ScreenPixel(60, 60), RGB(255, 0, 0));
  EXPECT_EQ(S.ScreenPixel(5, 5), GetSysColor(COLOR_BACKGROUND));
  // Repainting the parent leaves the child's pixels alone (WS_CLIPCHILDREN).
  ClearLog();
  InvalidateRect(P, nullptr, TRUE);
  Pump();
  EXPECT_TRUE(Logged(C, WM_PAINT).empty());
  EXPECT_EQ(S.ScreenPixel(35, 35), RGB(0, 0, 255));
}

// Overlapping siblings that do not clip each other: the one on top takes
// the click and is painted last, so its pixels are the ones left standing.
TEST_F(TPaint, TopSiblingOfAnOverlapTakesTheClickAndPaintsLast) {
  HWND P = Make(Popup | WS_CLIPCHILDREN, Bounds(0, 0, 200, 100));
  HWND First = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 60, 60), P);
  HWND Second = Make(WS_CHILD | WS_VISIBLE, Bounds(40, 10, 60, 60), P);
  On(First, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(H, RGB(255, 0, 0)) : std::nullopt;
  });
  On(Second, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(H, RGB(0, 0, 255)) : std::nullopt;
  });
  struct TCase {
    HWND Top;
    COLORREF Overlap;
  };
  // Created first is on top; then the second is raised over it.
  for (TCase K : {TCase{First, RGB(255, 0, 0)}, TCase{Second, RGB(0, 0, 255)}}) {
    SCOPED_TRACE(K.Top == First ? "first on top" : "second raised");
    SetWindowPos(K.Top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(P, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    ClearLog();
    auto& S = Screen();
    EXPECT_EQ(S.ScreenPixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(S.ScreenPixel(90, 20), RGB(0, 0, 255));
    EXPECT_EQ(S.ScreenPixel(55, 40), K.Overlap);
    EXPECT_EQ(WindowFromPoint({55, 40}), K.Top);
    S.Click(55, 40);
    Pump();
    EXPECT_EQ(Logged(K.Top, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Logged(K.Top == First ? Second : First, WM_LBUTTONDOWN).size(), 0u);
  }
}

TEST_F(TPaint, ScrollWindowExMovesPixelsAndInvalidatesWhatItUncovers) {
  HWND H = Make(Popup, Bounds(0, 0, 40, 40));
  Pump();
  HDC Dc = GetDC(H);
  HBRUSH B = CreateSolidBrush(RGB(0, 128, 0));
  TRect Band{0, 0, 40, 10};
  FillRect(Dc, &Band, B);
  DeleteObject(B);
  ReleaseDC(H, Dc);
  TRect Uncovered;
  int Kind = ScrollWindowEx(H, 0, 15, nullptr, nullptr, nullptr, &Uncovered, SW_INVALIDATE);
  EXPECT_EQ(Kind, SIMPLEREGION);
  EXPECT_EQ(Uncovered, TRect(0, 0, 40, 15));
  EXPECT_EQ(Screen().ScreenPixel(5, 20), RGB(0, 128, 0));
  EXPECT_EQ(Screen().ScreenPixel(5, 26), GetSysColor(COLOR_WINDOW));
  TRect U;
  GetUpdateRect(H, &U, FALSE);
  EXPECT_EQ(U, TRect(0, 0, 40, 15));
}

// A screenshot of a small window, read back by an outside PNG reader.
TEST_F(TPaint, ScreenshotIsAPngWithTheWindowsPixels) {
  HWND H = Make(WS_POPUP | WS_VISIBLE | WS_BORDER, Bounds(10, 20, 60, 40));
  On(H, [](HWND W, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(W, RGB(200, 30, 40)) : std::nullopt;
  });
  Pump();
  // Unique per process: a sanitized run of the same tests may run alongside.
  std::string Path = ::testing::TempDir() + "sx_win_shot_" + std::to_string(::getpid()) + ".png";
  TRect Area{0, 0, 100, 80};
  ASSERT_TRUE(Screen().SaveScreenshot(Path, &Area));
  std::string Script = Path + ".py";
  {
    std::ofstream Py(Script);
    Py << "from PIL import Image\n"
          "im = Image.open('" << Path << "')\n"
          "print(im.format, im.size[0], im.size[1], im.getpixel((30, 40)), im.getpixel((10, 20)), "
          "im.getpixel((5, 5)))\n";
  }
  std::string Out = Path + ".txt";
  std::string Cmd = "/usr/bin/python3 " + Script + " > " + Out + " 2>&1";
  ASSERT_EQ(sxtest::RunStatus(Cmd), 0);
  std::ifstream In(Out);
  std::string Line;
  std::getline(In, Line);
  COLORREF Frame = GetSysColor(COLOR_WINDOWFRAME), Desk = GetSysColor(COLOR_BACKGROUND);
  char Want[200];
  std::snprintf(Want, sizeof Want, "PNG 100 80 (200, 30, 40) (%d, %d, %d) (%d, %d, %d)", GetRValue(Frame),
                GetGValue(Frame), GetBValue(Frame), GetRValue(Desk), GetGValue(Desk), GetBValue(Desk));
  EXPECT_EQ(Line, Want);
  std::remove(Path.c_str());
  std::remove(Script.c_str());
  std::remove(Out.c_str());
}

TEST_F(TPaint, RedrawOffHoldsPaintingBackAndRedrawWindowPaintsAtOnce) {
  HWND P = Make(Popup, Bounds(0, 0, 100, 100));
  HWND C = Make(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 20, 20), P);
  Pump();
  SendMessage(P, WM_SETREDRAW, FALSE, 0);
  EXPECT_FALSE(IsWindowVisible(P));
  EXPECT_FALSE(IsWindowVisible(C)) << "a child of a window with redraw off is not visible either";
  ClearLog();
  InvalidateRect(P, nullptr, TRUE);
  InvalidateRect(C, nullptr, TRUE);
  Pump();
  EXPECT_TRUE(Logged(P, WM_PAINT).empty());
  EXPECT_TRUE(Logged(C, WM_PAINT).empty());

  SendMessage(P, WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(IsWindowVisible(C));
  // RDW_UPDATENOW paints before returning, without the queue; the children
  // follow with RDW_ALLCHILDREN.
  ClearLog();
  RedrawWindow(P, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(Logged(P, WM_PAINT).size(), 1u);
  EXPECT_EQ(Logged(C, WM_PAINT).size(), 1u);
  EXPECT_EQ(Logged(P, WM_ERASEBKGND).size(), 1u);

  // RDW_NOCHILDREN keeps the invalidation to the window itself, and
  // RDW_VALIDATE takes back what is pending.
  ClearLog();
  RedrawWindow(P, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(Logged(P, WM_PAINT).size(), 1u);
  EXPECT_TRUE(Logged(C, WM_PAINT).empty());
  ClearLog();
  InvalidateRect(P, nullptr, TRUE);
  RedrawWindow(P, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
  Pump();
  EXPECT_TRUE(Logged(P, WM_PAINT).empty());
  EXPECT_TRUE(Logged(P, WM_ERASEBKGND).empty());
  EXPECT_FALSE(RedrawWindow(HWND(std::uintptr_t(0xDEAD0)), nullptr, nullptr, RDW_INVALIDATE));
}

// An elliptic popup over a square one: the corners belong to the window
// below, for hit testing and on the screen alike.
TEST_F(TPaint, WindowRegionShapesHitTestingAndTheScreen) {
  HWND Below = Make(Popup, Bounds(0, 0, 100, 100));
  HWND Above = Make(Popup, Bounds(0, 0, 100, 100));
  On(Below, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(H, RGB(0, 0, 255)) : std::nullopt;
  });
  On(Above, [](HWND H, UINT M, WPARAM, LPARAM) -> std::optional<LRESULT> {
    return M == WM_PAINT ? FillClient(H, RGB(255, 0, 0)) : std::nullopt;
  });
  EXPECT_EQ(SetWindowRgn(Above, CreateEllipticRgn(0, 0, 100, 100), TRUE), 1);
  Pump();
  EXPECT_EQ(WindowFromPoint({50, 50}), Above);
  EXPECT_EQ(WindowFromPoint({3, 3}), Below);
  EXPECT_EQ(Screen().ScreenPixel(50, 50), RGB(255, 0, 0));
  EXPECT_EQ(Screen().ScreenPixel(3, 3), RGB(0, 0, 255));
  // The window keeps its region; GetWindowRgn hands out a copy.
  HRGN Copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Above, Copy), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(Copy, 3, 3));
  EXPECT_TRUE(PtInRegion(Copy, 50, 50));
  DeleteObject(Copy);
  EXPECT_EQ(WindowFromPoint({3, 3}), Below) << "deleting the copy leaves the window's region";
  // No region: the whole rectangle again.
  SetWindowRgn(Above, nullptr, TRUE);
  Pump();
  HRGN None = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Above, None), ERROR);
  DeleteObject(None);
  EXPECT_EQ(WindowFromPoint({3, 3}), Above);
  EXPECT_EQ(Screen().ScreenPixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(SetWindowRgn(HWND(std::uintptr_t(0xDEAD0)), nullptr, FALSE), 0);
}
