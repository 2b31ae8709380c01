#include "WinTestSupport.h"

#include <algorithm>

std::vector<TLogged>& TWinTest::Log() {
  static std::vector<TLogged> L;
  return L;
}

std::map<HWND, THandler>& TWinTest::Handlers() {
  static std::map<HWND, THandler> M;
  return M;
}

LRESULT TWinTest::Proc(HWND H, UINT M, WPARAM W, LPARAM L) {
  Log().push_back({H, M, W, L});
  auto It = Handlers().find(H);
  if (It != Handlers().end()) {
    THandler Copy = It->second;  // the handler may replace itself
    if (auto R = Copy(H, M, W, L)) return *R;
  }
  return DefWindowProcA(H, M, W, L);
}

void TWinTest::SetUp() {
  SetDisplay(nullptr);
  ResetWindowSystem();
  UseVirtualClock(100000);
  Log().clear();
  Handlers().clear();
  for (const char* Name : {"SxTest", "SxTestDbl"}) {
    WNDCLASSEXA C;
    C.lpfnWndProc = Proc;
    C.lpszClassName = Name;
    C.style = std::string(Name) == "SxTestDbl" ? CS_DBLCLKS : 0;
    C.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
    C.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(RegisterClassExA(&C), 0);
  }
}

void TWinTest::TearDown() {
  ResetWindowSystem();
  Handlers().clear();
  Log().clear();
  UseRealClock();
  SetDisplay(nullptr);
}

HWND TWinTest::Make(DWORD Style, TRect R, HWND Parent, DWORD ExStyle, bool DblClks) {
  HWND H = CreateWindowExA(ExStyle, DblClks ? "SxTestDbl" : "SxTest", "", Style, R.Left, R.Top,
                           R.Width(), R.Height(), Parent, nullptr, nullptr, nullptr);
  EXPECT_NE(H, nullptr);
  return H;
}

std::vector<UINT> TWinTest::Msgs(HWND H, std::initializer_list<UINT> Only) const {
  std::vector<UINT> R;
  for (auto& E : Log()) {
    if (H && E.Wnd != H) continue;
    if (Only.size() && std::find(Only.begin(), Only.end(), E.Msg) == Only.end()) continue;
    R.push_back(E.Msg);
  }
  return R;
}

std::vector<TLogged> TWinTest::Logged(HWND H, UINT Msg) const {
  std::vector<TLogged> R;
  for (auto& E : Log())
    if ((!H || E.Wnd == H) && E.Msg == Msg) R.push_back(E);
  return R;
}
