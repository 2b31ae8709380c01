// TrackPopupMenu's loop driven as a user would: keys and clicks through the
// headless display, the owner's notifications, owner-drawn items, big
// menus, placement, and menus that go bad while they show.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../win/WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Menus.h"
#include "platform/win/OwnerDraw.h"

namespace {
class MenuTracking : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    Owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
    SetFocus(Owner);
    Pump();
    ClearLog();
  }
  // File-like menu: Open(1) Save(2, grayed) | Export > (PDF 11, HTML 12) Exit(3)
  HMENU MakeMenu() {
    HMENU M = CreatePopupMenu();
    Sub = CreatePopupMenu();
    AppendMenuA(Sub, MF_STRING, 11, "&PDF");
    AppendMenuA(Sub, MF_STRING, 12, "&HTML");
    AppendMenuA(M, MF_STRING, 1, "&Open\tCtrl+O");
    AppendMenuA(M, MF_STRING | MF_GRAYED, 2, "&Save");
    AppendMenuA(M, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(M, MF_POPUP, UINT_PTR(Sub), "E&xport");
    AppendMenuA(M, MF_STRING, 3, "E&xit");
    return M;
  }
  void Keys(std::initializer_list<WORD> Vks) {
    for (WORD K : Vks) Screen().KeyPress(K);
  }
  // Runs Body whenever the loop waits for input, until the menu closes;
  // a menu still open after Rounds is dismissed so a test cannot hang.
  void WhileOpen(std::function<void(int Round)> Body, int Rounds = 20) {
    Round = 0;
    Screen().SetIdleHandler([this, Body, Rounds] {
      if (!TrackedMenu()) return false;
      if (Round >= Rounds) {
        EndMenu();
        return true;
      }
      Body(Round++);
      return true;
    });
  }
  int Round = 0;
  void TearDown() override {
    Screen().SetIdleHandler(nullptr);
    TWinTest::TearDown();
  }
  std::vector<UINT> Notifications() const {
    return Msgs(Owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP});
  }
  HWND Owner = nullptr;
  HMENU Sub = nullptr;
};

TEST_F(MenuTracking, KeyboardEntersASubMenuAndReturnsItsCommand) {
  HMENU M = MakeMenu();
  // Down: Open; Down: Save (grayed items take the selection); Down: Export
  // (the separator is skipped); Right opens it on PDF; Down: HTML; Enter.
  Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
  UINT Cmd = UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr));
  EXPECT_EQ(Cmd, 12u);
  EXPECT_EQ(TrackedMenu(), nullptr);
  EXPECT_TRUE(OpenMenuWindows().empty()) << "the menu windows are gone";
  EXPECT_EQ(Notifications(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_INITMENUPOPUP,
                                                WM_UNINITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}));
  auto Init = Logged(Owner, WM_INITMENUPOPUP);
  ASSERT_EQ(Init.size(), 2u);
  EXPECT_EQ(HMENU(Init[0].W), M);
  EXPECT_EQ(HMENU(Init[1].W), Sub);
  EXPECT_EQ(LOWORD(Init[1].L), 3) << "the sub-menu's position in its parent";
  // The last selection reported is HTML, then the close (0xFFFF, no menu).
  auto Sel = Logged(Owner, WM_MENUSELECT);
  ASSERT_GE(Sel.size(), 2u);
  EXPECT_EQ(LOWORD(Sel[Sel.size() - 2].W), 12);
  EXPECT_EQ(HMENU(Sel[Sel.size() - 2].L), Sub);
  EXPECT_EQ(HIWORD(Sel.back().W), 0xFFFF);
  EXPECT_EQ(Sel.back().L, 0);
  EXPECT_TRUE(Logged(Owner, WM_COMMAND).empty()) << "TPM_RETURNCMD sends no command";
}

// A table of keys and what the loop answers.
TEST_F(MenuTracking, KeysChooseOrDismiss) {
  struct TCase {
    std::vector<WORD> Keys;
    UINT Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {{VK_DOWN, VK_RETURN}, 1, "Enter chooses the selection"},
      {{'O'}, 1, "a mnemonic chooses its item"},
      {{'X'}, 0, "a mnemonic shared by two items only moves the selection"},
      {{'X', 'X', VK_RETURN}, 3, "the second press moves on to the next item with it"},
      {{'S'}, 0, "a grayed item's mnemonic does not run it"},
      {{VK_UP, VK_RETURN}, 3, "Up from nothing selects the last item"},
      {{VK_END, VK_LEFT, VK_HOME, VK_RETURN}, 1, "Home and End; Left in the first menu does nothing"},
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_DOWN, VK_RETURN}, 3,
       "Enter opens a sub-menu, Esc closes only it"},
      {{VK_ESCAPE}, 0, "Esc dismisses the menu"},
      {{VK_MENU}, 0, "Alt dismisses the menu"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    HMENU M = MakeMenu();
    for (WORD K : C.Keys) Screen().KeyPress(K);
    WhileOpen([](int) { EndMenu(); });  // keys that leave the menu open end here
    EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), C.Want);
    Screen().SetIdleHandler(nullptr);
    Pump();
    DestroyMenu(M);
  }
}

TEST_F(MenuTracking, ChosenCommandIsPostedUnlessNoNotify) {
  HMENU M = MakeMenu();
  Keys({VK_DOWN, VK_RETURN});
  EXPECT_TRUE(TrackPopupMenu(M, 0, 200, 150, 0, Owner, nullptr));
  Pump();
  auto Cmds = Logged(Owner, WM_COMMAND);
  ASSERT_EQ(Cmds.size(), 1u);
  EXPECT_EQ(Cmds[0].W, WPARAM(1));
  EXPECT_EQ(Cmds[0].L, 0);

  ClearLog();
  Keys({VK_DOWN, VK_RETURN});
  EXPECT_TRUE(TrackPopupMenu(M, TPM_NONOTIFY, 200, 150, 0, Owner, nullptr));
  Pump();
  EXPECT_TRUE(Logged(Owner, WM_COMMAND).empty());
  EXPECT_TRUE(Notifications().empty());
}

TEST_F(MenuTracking, MouseChoosesAnItemAndAClickOutsideDismisses) {
  HMENU M = MakeMenu();
  TRect Exit;
  WhileOpen([&](int Round) {
    if (Round == 0) {
      ASSERT_TRUE(GetMenuItemRect(nullptr, M, 4, &Exit));
      Screen().MouseMove(Exit.Left + 10, Exit.Top + 3);
      Screen().Click(Exit.Left + 10, Exit.Top + 3);
    }
  });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 3u);

  WhileOpen([&](int Round) {
    if (Round == 0) Screen().Click(20, 20);
  });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 0u);
  EXPECT_EQ(TrackedMenu(), nullptr);

  // Hovering a sub-menu item opens it; the sub-menu's item is clicked.
  WhileOpen([&](int Round) {
    TRect R;
    if (Round == 0 && GetMenuItemRect(nullptr, M, 3, &R)) Screen().MouseMove(R.Left + 10, R.Top + 3);
    if (Round == 1 && GetMenuItemRect(nullptr, Sub, 0, &R)) {
      EXPECT_EQ(OpenMenuWindows().size(), 2u);
      Screen().MouseMove(R.Left + 10, R.Top + 3);
      Screen().Click(R.Left + 10, R.Top + 3);
    }
  });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 11u);
}

TEST_F(MenuTracking, OwnerDrawnItemIsMeasuredAndDrawn) {
  HMENU M = CreatePopupMenu();
  AppendMenuA(M, MF_STRING, 1, "Plain");
  AppendMenuA(M, MF_OWNERDRAW, 7, reinterpret_cast<const char*>(std::uintptr_t(0x1234)));
  std::vector<DRAWITEMSTRUCT> Drawn;
  On(Owner, [&](HWND, UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    if (Msg == WM_MEASUREITEM) {
      auto* Mi = reinterpret_cast<MEASUREITEMSTRUCT*>(L);
      EXPECT_EQ(Mi->CtlType, ODT_MENU);
      EXPECT_EQ(Mi->itemID, 7u);
      EXPECT_EQ(Mi->itemData, ULONG_PTR(0x1234));
      Mi->itemWidth = 150;
      Mi->itemHeight = 30;
      return TRUE;
    }
    if (Msg == WM_DRAWITEM) {
      auto* Di = reinterpret_cast<DRAWITEMSTRUCT*>(L);
      Drawn.push_back(*Di);
      HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(Di->hDC, &Di->rcItem, B);
      DeleteObject(B);
      return TRUE;
    }
    return std::nullopt;
  });
  TRect R;
  COLORREF Seen = 0;
  WhileOpen([&](int Round) {
    if (Round == 0) {
      ASSERT_TRUE(GetMenuItemRect(nullptr, M, 1, &R));
      Seen = Screen().ScreenPixel((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
      Screen().KeyPress(VK_DOWN);
      Screen().KeyPress(VK_DOWN);
    }
    if (Round == 1) Screen().KeyPress(VK_RETURN);
  });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 7u);
  EXPECT_EQ(R.Height(), 30);
  EXPECT_GE(R.Width(), 150);
  EXPECT_EQ(Seen, RGB(255, 0, 0)) << "the owner's drawing shows on the screen";
  ASSERT_FALSE(Drawn.empty());
  EXPECT_EQ(Drawn[0].CtlType, ODT_MENU);
  EXPECT_EQ(Drawn[0].hwndItem, reinterpret_cast<HWND>(M));
  EXPECT_EQ(Drawn[0].itemData, ULONG_PTR(0x1234));
  EXPECT_EQ(Drawn[0].itemState & ODS_SELECTED, 0u);
  EXPECT_TRUE(std::any_of(Drawn.begin(), Drawn.end(), [](const DRAWITEMSTRUCT& D) { return D.itemState & ODS_SELECTED; }))
      << "selecting it redraws it selected";
}

TEST_F(MenuTracking, OwnerAnswersMenuCharForItemsWithoutText) {
  HMENU M = CreatePopupMenu();
  AppendMenuA(M, MF_STRING, 1, "One");
  AppendMenuA(M, MF_OWNERDRAW, 2, nullptr);
  On(Owner, [&](HWND, UINT Msg, WPARAM W, LPARAM L) -> std::optional<LRESULT> {
    if (Msg == WM_MEASUREITEM) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(L)->itemHeight = 20;
      return TRUE;
    }
    if (Msg == WM_MENUCHAR && LOWORD(W) == 'q' && HMENU(L) == M) return MAKELRESULT(1, MNC_EXECUTE);
    return std::nullopt;
  });
  Keys({'Q'});
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 2u);
  int Beeps = Screen().Beeps();
  Keys({'Z', VK_ESCAPE});
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 0u);
  EXPECT_EQ(Screen().Beeps(), Beeps + 1) << "a key nobody takes beeps";
}

// Where the menu appears: the alignment flags, and the screen's edges.
TEST_F(MenuTracking, AlignmentAndScreenEdgesPlaceTheMenu) {
  HMENU M = MakeMenu();
  TRect Work = Screen().WorkArea();
  struct TCase {
    UINT Flags;
    TPoint At;
    const char* Why;
    std::function<void(const TRect&)> Check;
  };
  const TCase Cases[] = {
      {TPM_LEFTALIGN | TPM_TOPALIGN, {300, 200}, "top-left at the point",
       [](const TRect& R) { EXPECT_EQ(R.Left, 300); EXPECT_EQ(R.Top, 200); }},
      {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {300, 200}, "bottom-right at the point",
       [](const TRect& R) { EXPECT_EQ(R.Right, 300); EXPECT_EQ(R.Bottom, 200); }},
      {TPM_CENTERALIGN | TPM_VCENTERALIGN, {300, 200}, "centred on the point",
       [](const TRect& R) { EXPECT_NEAR((R.Left + R.Right) / 2, 300, 1); EXPECT_NEAR((R.Top + R.Bottom) / 2, 200, 1); }},
      {0, {Work.Right - 5, Work.Bottom - 5}, "near the corner it opens up and left",
       [=](const TRect& R) { EXPECT_EQ(R.Right, Work.Right - 5); EXPECT_EQ(R.Bottom, Work.Bottom - 5); }},
      {TPM_RIGHTALIGN, {2, 2}, "never off the left or top edge",
       [=](const TRect& R) { EXPECT_GE(R.Left, Work.Left); EXPECT_GE(R.Top, Work.Top); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TRect R;
    WhileOpen([&](int) {
      auto W = OpenMenuWindows();
      if (!W.empty()) GetWindowRect(W[0], &R);
      EndMenu();
    });
    TrackPopupMenuEx(M, C.Flags | TPM_RETURNCMD, C.At.X, C.At.Y, Owner, nullptr);
    C.Check(R);
  }
}

TEST_F(MenuTracking, FiveThousandItemsScrollInsteadOfOverflowing) {
  HMENU M = CreatePopupMenu();
  for (UINT I = 1; I <= 5000; ++I) AppendMenuA(M, MF_STRING, I, ("Item " + std::to_string(I)).c_str());
  TRect Win, Last;
  bool LastVisible = false;
  WhileOpen([&](int Round) {
    if (Round == 0) {
      GetWindowRect(OpenMenuWindows().at(0), &Win);
      Screen().KeyPress(VK_END);
    }
    if (Round == 1) {
      ASSERT_TRUE(GetMenuItemRect(nullptr, M, 4999, &Last));
      LastVisible = Win.Contains({Last.Left + 1, Last.Top + 1}) && Win.Contains({Last.Left + 1, Last.Bottom - 1});
      Screen().KeyPress(VK_RETURN);
    }
  });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 10, 10, Owner, nullptr)), 5000u);
  EXPECT_LE(Win.Height(), Screen().WorkArea().Height());
  EXPECT_TRUE(LastVisible) << "the selection scrolls into view";
}

// Menus and windows that go bad: clear failures, no crash, no hang.
TEST_F(MenuTracking, BadMenusOwnersAndNestedTrackingFail) {
  HMENU Dead = CreatePopupMenu();
  DestroyMenu(Dead);
  SetLastError(0);
  EXPECT_FALSE(TrackPopupMenuEx(Dead, TPM_RETURNCMD, 10, 10, Owner, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  HMENU M = MakeMenu();
  EXPECT_FALSE(TrackPopupMenuEx(M, 0, 10, 10, reinterpret_cast<HWND>(std::uintptr_t(0xDEAD)), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  HMENU Empty = CreatePopupMenu();
  EXPECT_EQ(UINT(TrackPopupMenuEx(Empty, TPM_RETURNCMD, 10, 10, Owner, nullptr)), 0u) << "nothing to show";

  // A second menu while one shows is refused.
  BOOL Nested = TRUE;
  DWORD NestedError = 0;
  WhileOpen([&](int) {
    Nested = TrackPopupMenuEx(M, TPM_RETURNCMD, 10, 10, Owner, nullptr);
    NestedError = GetLastError();
    EndMenu();
  });
  TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr);
  EXPECT_FALSE(Nested);
  EXPECT_EQ(NestedError, ERROR_POPUP_ALREADY_ACTIVE);

  // The menu destroyed while it shows, and the owner destroyed while it shows.
  WhileOpen([&](int) { DestroyMenu(M); });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 0u);
  EXPECT_FALSE(IsMenu(M));
  HMENU M2 = MakeMenu();
  WhileOpen([&](int) { DestroyWindow(Owner); });
  EXPECT_EQ(UINT(TrackPopupMenuEx(M2, TPM_RETURNCMD, 200, 150, Owner, nullptr)), 0u);
  EXPECT_TRUE(OpenMenuWindows().empty());
}
}  // namespace
