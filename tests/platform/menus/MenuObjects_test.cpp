// HMENU objects: building, changing and querying menus, and the failures a
// bad handle, a bad position or a cycle give.
#include <gtest/gtest.h>

#include <cstring>

#include "../win/WinTestSupport.h"
#include "platform/win/Menus.h"

namespace {
class MenuObjects : public TWinTest {};

AnsiString TextOf(HMENU M, UINT Item, UINT Flags) {
  char Buf[64] = {};
  GetMenuStringA(M, Item, Buf, sizeof Buf, Flags);
  return Buf;
}

TEST_F(MenuObjects, AppendInsertAndQueryKeepOrderAndState) {
  HMENU M = CreatePopupMenu();
  HMENU Sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(M, MF_STRING, 10, "&Open\tCtrl+O"));
  ASSERT_TRUE(AppendMenuA(M, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuA(M, MF_STRING | MF_GRAYED | MF_CHECKED, 11, "Gray"));
  ASSERT_TRUE(AppendMenuA(M, MF_POPUP, UINT_PTR(Sub), "&More"));
  ASSERT_TRUE(InsertMenuA(M, 0, MF_BYPOSITION, 9, "First"));
  ASSERT_TRUE(AppendMenuA(Sub, MF_STRING, 20, "Deep"));

  EXPECT_EQ(GetMenuItemCount(M), 5);
  EXPECT_EQ(TextOf(M, 0, MF_BYPOSITION), "First");
  EXPECT_EQ(TextOf(M, 10, MF_BYCOMMAND), "&Open\tCtrl+O");
  EXPECT_EQ(GetMenuItemID(M, 1), 10u);
  EXPECT_EQ(GetMenuItemID(M, 4), UINT(-1)) << "a sub-menu item has no command";
  EXPECT_EQ(GetSubMenu(M, 4), Sub);
  EXPECT_EQ(GetMenuState(M, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(M, 11, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), MF_GRAYED | MF_CHECKED);
  EXPECT_EQ(GetMenuState(M, 4, MF_BYPOSITION), MF_POPUP | (1u << 8)) << "sub-menu: MF_POPUP and its count";
  // By command the search enters sub-menus.
  EXPECT_EQ(TextOf(M, 20, MF_BYCOMMAND), "Deep");
  EXPECT_EQ(CheckMenuItem(M, 20, MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(M, 20, MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_TRUE(DestroyMenu(M));
  EXPECT_FALSE(IsMenu(Sub)) << "the menu frees its sub-menus";
}

TEST_F(MenuObjects, ItemInfoRoundTripsEveryField) {
  HMENU M = CreatePopupMenu();
  HMENU Sub = CreatePopupMenu();
  MENUITEMINFOA In;
  In.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
  In.fType = MFT_RADIOCHECK;
  In.fState = MFS_CHECKED | MFS_DEFAULT;
  In.wID = 42;
  In.hSubMenu = Sub;
  In.dwItemData = 0xBEEF;
  char Text[] = "&Radio";
  In.dwTypeData = Text;
  ASSERT_TRUE(InsertMenuItemA(M, 0, TRUE, &In));

  MENUITEMINFOA Out;
  char Buf[32] = {};
  Out.fMask = In.fMask;
  Out.dwTypeData = Buf;
  Out.cch = sizeof Buf;
  ASSERT_TRUE(GetMenuItemInfoA(M, 0, TRUE, &Out));
  EXPECT_EQ(Out.fType, UINT(MFT_RADIOCHECK));
  EXPECT_EQ(Out.fState, UINT(MFS_CHECKED | MFS_DEFAULT));
  EXPECT_EQ(Out.wID, 42u);
  EXPECT_EQ(Out.hSubMenu, Sub);
  EXPECT_EQ(Out.dwItemData, ULONG_PTR(0xBEEF));
  EXPECT_STREQ(Buf, "&Radio");
  EXPECT_EQ(Out.cch, 6u);

  // A size query (no buffer) gives the length.
  MENUITEMINFOA Len;
  Len.fMask = MIIM_STRING;
  ASSERT_TRUE(GetMenuItemInfoA(M, 42, FALSE, &Len));
  EXPECT_EQ(Len.cch, 6u);

  MENUITEMINFOA Set;
  Set.fMask = MIIM_STATE;
  Set.fState = MFS_GRAYED;
  ASSERT_TRUE(SetMenuItemInfoA(M, 0, TRUE, &Set));
  EXPECT_EQ(GetMenuState(M, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED), UINT(MF_GRAYED));
  EXPECT_EQ(GetMenuDefaultItem(M, TRUE, 0), UINT(-1));
}

TEST_F(MenuObjects, RemoveKeepsTheSubMenuDeleteFreesIt) {
  HMENU M = CreatePopupMenu();
  HMENU A = CreatePopupMenu(), B = CreatePopupMenu();
  AppendMenuA(M, MF_POPUP, UINT_PTR(A), "A");
  AppendMenuA(M, MF_POPUP, UINT_PTR(B), "B");
  ASSERT_TRUE(RemoveMenu(M, 0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(A));
  ASSERT_TRUE(DeleteMenu(M, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(B));
  EXPECT_EQ(GetMenuItemCount(M), 0);
  DestroyMenu(A);
}

TEST_F(MenuObjects, OneDefaultItemAndRadioGroups) {
  HMENU M = CreatePopupMenu();
  for (UINT Id = 1; Id <= 4; ++Id) AppendMenuA(M, MF_STRING, Id, "x");
  ASSERT_TRUE(SetMenuDefaultItem(M, 2, FALSE));
  ASSERT_TRUE(SetMenuDefaultItem(M, 3, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(M, FALSE, 0), 4u);
  EXPECT_EQ(GetMenuState(M, 2, MF_BYCOMMAND) & MF_DEFAULT, 0u) << "only one default";

  ASSERT_TRUE(CheckMenuRadioItem(M, 0, 2, 1, MF_BYPOSITION));
  ASSERT_TRUE(CheckMenuRadioItem(M, 0, 2, 2, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(M, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(M, 2, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
  EXPECT_EQ(GetMenuState(M, 3, MF_BYPOSITION) & MF_CHECKED, 0u) << "outside the range";
  EXPECT_FALSE(CheckMenuRadioItem(M, 2, 9, 3, MF_BYPOSITION));
}

// Bad input fails the way the system fails it: a result and an error code.
TEST_F(MenuObjects, BadHandlesPositionsAndCyclesFailCleanly) {
  HMENU M = CreatePopupMenu();
  AppendMenuA(M, MF_STRING, 1, "One");
  HMENU Dead = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(Dead));

  SetLastError(0);
  EXPECT_FALSE(DestroyMenu(Dead)) << "a second destroy fails";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_EQ(GetMenuItemCount(Dead), -1);
  EXPECT_FALSE(AppendMenuA(Dead, MF_STRING, 2, "x"));
  EXPECT_EQ(GetSubMenu(Dead, 0), nullptr);
  // A window handle is no menu.
  HWND W = Make(WS_OVERLAPPED, {0, 0, 100, 100});
  EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(W)));

  EXPECT_EQ(GetMenuItemID(M, 5), UINT(-1));
  EXPECT_EQ(GetMenuState(M, 5, MF_BYPOSITION), UINT(-1));
  EXPECT_EQ(CheckMenuItem(M, 77, MF_CHECKED), DWORD(-1));
  EXPECT_FALSE(RemoveMenu(M, 3, MF_BYPOSITION));
  EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
  MENUITEMINFOA Info;
  Info.fMask = MIIM_ID;
  EXPECT_FALSE(GetMenuItemInfoA(M, 9, TRUE, &Info));

  // Cycles: a menu inside itself, or inside its own sub-menu.
  HMENU Sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(M, MF_POPUP, UINT_PTR(Sub), "Sub"));
  EXPECT_FALSE(AppendMenuA(M, MF_POPUP, UINT_PTR(M), "Self"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(AppendMenuA(Sub, MF_POPUP, UINT_PTR(M), "Loop"));
  MENUITEMINFOA Cyc;
  Cyc.fMask = MIIM_SUBMENU;
  Cyc.hSubMenu = M;
  EXPECT_FALSE(SetMenuItemInfoA(M, 0, TRUE, &Cyc));
  EXPECT_EQ(GetMenuItemCount(Sub), 0);
  EXPECT_TRUE(DestroyMenu(M));
}

TEST_F(MenuObjects, MenuBarAttachesToATopLevelWindowOnly) {
  HWND Top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 50, 450, 350});
  HWND Child = Make(WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, Top);
  TRect Before, After;
  GetClientRect(Top, &Before);
  HMENU Bar = CreateMenu();
  AppendMenuA(Bar, MF_STRING, 1, "&File");
  ASSERT_TRUE(SetMenu(Top, Bar));
  EXPECT_EQ(GetMenu(Top), Bar);
  GetClientRect(Top, &After);
  EXPECT_EQ(Before.Height() - After.Height(), GetSystemMetrics(SM_CYMENU)) << "the bar takes a row";
  EXPECT_FALSE(SetMenu(Child, Bar));
  TRect R;
  ASSERT_TRUE(GetMenuItemRect(Top, Bar, 0, &R));
  EXPECT_EQ(SendMessageA(Top, WM_NCHITTEST, 0, MAKELPARAM(R.Left + 2, R.Top + 2)), HTMENU);
  ASSERT_TRUE(SetMenu(Top, nullptr));
  GetClientRect(Top, &After);
  EXPECT_EQ(After.Height(), Before.Height());
}
}  // namespace
