// WinTestSupport.h — a fresh window system per test: headless display,
// virtual clock, a test window class whose procedure records every message
// and lets a test handle any of them per window.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/win/HeadlessDisplay.h"
#include "platform/rtl/Colors.h"
#include "platform/win/Win.h"

struct TLogged {
  HWND Wnd;
  UINT Msg;
  WPARAM W;
  LPARAM L;
};

// A handler answers a message (std::nullopt: fall through to DefWindowProc).
using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class TWinTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the test class ("SxTest", CS_DBLCLKS when asked).
  HWND Make(DWORD Style, TRect R, HWND Parent = nullptr, DWORD ExStyle = 0, bool DblClks = false);
  void On(HWND H, THandler Handler) { Handlers()[H] = std::move(Handler); }
  // Messages of one window (all windows with null), in order, optionally
  // only those in the list.
  std::vector<UINT> Msgs(HWND H, std::initializer_list<UINT> Only = {}) const;
  std::vector<TLogged> Logged(HWND H, UINT Msg) const;
  void ClearLog() { Log().clear(); }
  THeadlessDisplay& Screen() { return HeadlessDisplay(); }
  int Pump() { return Screen().ProcessMessages(); }

  static std::vector<TLogged>& Log();
  static std::map<HWND, THandler>& Handlers();
  static LRESULT Proc(HWND H, UINT M, WPARAM W, LPARAM L);
};
