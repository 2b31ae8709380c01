// ComCtrlsTestSupport.h — a fresh headless window system for the common
// control tests, and a parent window that records the WM_NOTIFY codes its
// children send and lets a test answer or act on any of them. Header only,
// so that the other control tests in this folder link without it.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/forms/ExtCtrls.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace cctest {

struct TNote {
  UINT Code;
  NMTREEVIEWA Tree;  // valid for tree-view codes
  NMLISTVIEW List;   // valid for list-view codes
};

inline std::vector<TNote>& Notes() {
  static std::vector<TNote> N;
  return N;
}
// Per code: the answer to give (and anything to do meanwhile).
inline std::map<UINT, std::function<LRESULT(NMHDR*)>>& Answers() {
  static std::map<UINT, std::function<LRESULT(NMHDR*)>> A;
  return A;
}

// Where screenshots go: beside the test program, in the build tree.
inline std::string ShotPath(const std::string& Name) {
  std::error_code Ec;
  const auto Exe = std::filesystem::read_symlink("/proc/self/exe", Ec);
  return (Ec ? std::filesystem::temp_directory_path() : Exe.parent_path()).string() + "/" + Name;
}

inline LRESULT ParentProc(HWND H, UINT M, WPARAM W, LPARAM L) {
  if (M == WM_NOTIFY) {
    auto* Hdr = reinterpret_cast<NMHDR*>(L);
    TNote N{Hdr->code, {}, {}};
    const std::string Class = [&] {
      char B[64] = "";
      GetClassNameA(Hdr->hwndFrom, B, sizeof B);
      return std::string(B);
    }();
    if (Class == WC_TREEVIEW && Hdr->code != TVN_GETDISPINFOA && Hdr->code != TVN_KEYDOWN &&
        int(Hdr->code) <= int(TVN_FIRST) && int(Hdr->code) > int(TVN_FIRST) - 100)
      N.Tree = *reinterpret_cast<NMTREEVIEWA*>(L);
    if (Class == WC_LISTVIEW && Hdr->code != LVN_GETDISPINFOA && Hdr->code != LVN_KEYDOWN &&
        int(Hdr->code) <= int(LVN_FIRST) && int(Hdr->code) > int(LVN_FIRST) - 100)
      N.List = *reinterpret_cast<NMLISTVIEW*>(L);
    Notes().push_back(N);
    auto It = Answers().find(Hdr->code);
    if (It != Answers().end()) {
      auto Copy = It->second;
      return Copy(Hdr);
    }
    return 0;
  }
  return DefWindowProcA(H, M, W, L);
}

class TComCtrlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    UseVirtualClock(100000);
    Notes().clear();
    Answers().clear();
    RegisterFormsClasses();
    InitCommonControls();
    WNDCLASSA C;
    C.lpfnWndProc = &ParentProc;
    C.lpszClassName = "SxCcParent";
    C.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_BTNFACE + 1));
    RegisterClassA(&C);
    Parent = CreateWindowExA(0, "SxCcParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                             nullptr);
  }
  void TearDown() override {
    ResetWindowSystem();
    Notes().clear();
    Answers().clear();
    UseRealClock();
    SetDisplay(nullptr);
  }
  // A control of Class filling W by H at the parent's corner.
  HWND MakeControl(const char* Class, DWORD Style, int W = 200, int H = 150) {
    HWND C = CreateWindowExA(0, Class, "", WS_CHILD | WS_VISIBLE | Style, 0, 0, W, H, Parent, nullptr, nullptr,
                             nullptr);
    EXPECT_NE(C, nullptr);
    return C;
  }
  std::vector<UINT> Codes(std::initializer_list<UINT> Only = {}) const {
    std::vector<UINT> R;
    for (const TNote& N : Notes())
      if (Only.size() == 0 || std::find(Only.begin(), Only.end(), N.Code) != Only.end()) R.push_back(N.Code);
    return R;
  }
  THeadlessDisplay& Screen() { return HeadlessDisplay(); }
  int Pump() { return Screen().ProcessMessages(); }
  // Paints everything pending and reads a pixel of a control's client area.
  COLORREF Pixel(HWND Control, int X, int Y) {
    UpdateWindow(Parent);
    Pump();
    TPoint P{X, Y};
    ClientToScreen(Control, &P);
    return Screen().ScreenPixel(P.X, P.Y);
  }
  void Shot(const std::string& Name) {
    UpdateWindow(Parent);
    Pump();
    TRect R;
    GetWindowRect(Parent, &R);
    Screen().SaveScreenshot(ShotPath(Name), &R);
  }
  TPoint ScreenOf(HWND Control, TPoint P) {
    ClientToScreen(Control, &P);
    return P;
  }
  HWND Parent = nullptr;
};

}  // namespace cctest
