#include <gtest/gtest.h>

#include <cstring>

#include "ListCtrlsTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"

namespace {
using ListBoxTest = TListCtrlTest;

LRESULT Add(HWND Lb, const char* S) { return SendMessageA(Lb, LB_ADDSTRING, 0, LPARAM(S)); }

TEST_F(ListBoxTest, ItemsAddInsertDeleteAndFind) {
  HWND Lb = Child("LISTBOX", WS_BORDER | WS_VSCROLL, {10, 10, 160, 110});
  EXPECT_EQ(Add(Lb, "beta"), 0);
  EXPECT_EQ(Add(Lb, "alpha"), 1) << "unsorted: appended";
  EXPECT_EQ(SendMessageA(Lb, LB_INSERTSTRING, 0, LPARAM("first")), 0);
  EXPECT_EQ(SendMessageA(Lb, LB_INSERTSTRING, WPARAM(-1), LPARAM("last")), 3);
  EXPECT_EQ(SendMessageA(Lb, LB_INSERTSTRING, 9, LPARAM("x")), LB_ERR);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Text(Lb, 1), "beta");
  EXPECT_EQ(SendMessageA(Lb, LB_DELETESTRING, 0, 0), 3) << "answers the count left";
  EXPECT_EQ(SendMessageA(Lb, LB_DELETESTRING, 3, 0), LB_ERR);

  struct TFind {
    UINT Msg;
    int Start;
    const char* Key;
    LRESULT Want;
    const char* Why;
  } Cases[] = {
      {LB_FINDSTRING, -1, "AL", 1, "prefix, case-insensitive"},
      {LB_FINDSTRING, 1, "al", 1, "wraps round past the start"},
      {LB_FINDSTRING, -1, "z", LB_ERR, "no match"},
      {LB_FINDSTRINGEXACT, -1, "ALPHA", 1, "whole text, case-insensitive"},
      {LB_FINDSTRINGEXACT, -1, "alp", LB_ERR, "a prefix is not exact"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(SendMessageA(Lb, C.Msg, WPARAM(C.Start), LPARAM(C.Key)), C.Want);
  }
  EXPECT_EQ(SendMessageA(Lb, LB_SETITEMDATA, 2, 0x1234), LB_OKAY);
  EXPECT_EQ(SendMessageA(Lb, LB_GETITEMDATA, 2, 0), 0x1234);
  SendMessageA(Lb, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, SortedListPlacesEachNewItemInOrder) {
  HWND Lb = Child("LISTBOX", LBS_SORT, {10, 10, 160, 110});
  for (const char* S : {"pear", "Apple", "fig", "banana", "apple"}) Add(Lb, S);
  std::vector<AnsiString> Got;
  for (int I = 0; I < 5; ++I) Got.push_back(Text(Lb, I));
  EXPECT_EQ(Got, (std::vector<AnsiString>{"Apple", "apple", "banana", "fig", "pear"}))
      << "equal keys keep their order of arrival";
  EXPECT_EQ(Add(Lb, "cherry"), 3) << "LB_ADDSTRING answers where the item went";
}

TEST_F(ListBoxTest, GetTextFillsExactlyTheTextAndItsTerminator) {
  HWND Lb = Child("LISTBOX", 0, {10, 10, 160, 110});
  const std::string Long(100000, 'x');
  Add(Lb, "abc");
  Add(Lb, Long.c_str());
  char Buf[8];
  std::memset(Buf, '#', sizeof Buf);
  EXPECT_EQ(SendMessageA(Lb, LB_GETTEXT, 0, LPARAM(Buf)), 3);
  EXPECT_STREQ(Buf, "abc");
  EXPECT_EQ(Buf[4], '#') << "nothing written past the terminator";
  EXPECT_EQ(SendMessageA(Lb, LB_GETTEXTLEN, 1, 0), 100000);
  EXPECT_EQ(Text(Lb, 1), Long);
  EXPECT_EQ(SendMessageA(Lb, LB_GETTEXT, 5, LPARAM(Buf)), LB_ERR);
  // A text with a NUL ends there, as every ANSI string passed by pointer.
  Add(Lb, "ab\0cd");
  EXPECT_EQ(Text(Lb, 2), "ab");
}

TEST_F(ListBoxTest, SingleSelectionFollowsClicksAndKeysAndNotifies) {
  HWND Lb = Child("LISTBOX", LBS_NOTIFY | WS_BORDER | WS_VSCROLL, {10, 10, 160, 110});
  for (int I = 0; I < 20; ++I) Add(Lb, ("item " + std::to_string(I)).c_str());
  const int H = int(SendMessageA(Lb, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(SendMessageA(Lb, LB_SETCURSEL, 2, 0), 2);
  EXPECT_TRUE(Codes(Lb).empty()) << "a program's change is not notified";
  ClickAt(Lb, {5, H * 3 + 2});
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(GetFocus(), Lb);
  EXPECT_EQ(Codes(Lb), (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE}));
  ClearLog();
  Keys({}, VK_DOWN);
  Keys({}, VK_DOWN);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 5);
  EXPECT_EQ(Codes(Lb), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE}));
  Keys({}, VK_END);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 19);
  const int Rows = 98 / H;  // 100 pixels less the border
  EXPECT_EQ(SendMessageA(Lb, LB_GETTOPINDEX, 0, 0), 20 - Rows) << "End scrolls the last item into view";
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Lb, SB_VERT, &Si));
  EXPECT_EQ(Si.nPos, 20 - Rows);
  EXPECT_EQ(Si.nMax, 19);
  Keys({}, VK_HOME);
  EXPECT_EQ(SendMessageA(Lb, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageA(Lb, LB_GETSELCOUNT, 0, 0), LB_ERR) << "a single-selection list has no count";
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndCtrl) {
  HWND Lb = Child("LISTBOX", LBS_EXTENDEDSEL | LBS_NOTIFY | WS_BORDER, {10, 10, 160, 200});
  for (int I = 0; I < 10; ++I) Add(Lb, ("row " + std::to_string(I)).c_str());
  const int H = int(SendMessageA(Lb, LB_GETITEMHEIGHT, 0, 0));
  auto Row = [&](int I) { return TPoint{5, I * H + H / 2}; };

  ClickAt(Lb, Row(2));
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2}));
  ClickAt(Lb, Row(5), {VK_SHIFT});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2, 3, 4, 5})) << "Shift: anchor to click";
  ClickAt(Lb, Row(7), {VK_CONTROL});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2, 3, 4, 5, 7})) << "Ctrl adds one";
  ClickAt(Lb, Row(3), {VK_CONTROL});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2, 4, 5, 7})) << "Ctrl toggles one off";
  ClickAt(Lb, Row(8), {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2, 3, 4, 5, 6, 7, 8})) << "Ctrl+Shift adds anchor..click";
  ClickAt(Lb, Row(1), {VK_SHIFT});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{1, 2, 3})) << "Shift alone replaces with the range";

  // The keyboard: plain arrows select one, Shift extends, Ctrl moves the
  // caret only and Ctrl+Space toggles.
  ClickAt(Lb, Row(4));
  Keys({VK_SHIFT}, VK_DOWN);
  Keys({VK_SHIFT}, VK_DOWN);
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{4, 5, 6}));
  Keys({VK_CONTROL}, VK_DOWN);
  Keys({VK_CONTROL}, VK_DOWN);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCARETINDEX, 0, 0), 8);
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{4, 5, 6}));
  Keys({VK_CONTROL}, VK_SPACE);
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{4, 5, 6, 8}));
  Keys({}, VK_UP);
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{7}));
  for (int C : Codes(Lb)) EXPECT_TRUE(C == LBN_SELCHANGE || C == LBN_SETFOCUS);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesOnClickAndSpace) {
  HWND Lb = Child("LISTBOX", LBS_MULTIPLESEL, {10, 10, 160, 200});
  for (int I = 0; I < 5; ++I) Add(Lb, "x");
  const int H = int(SendMessageA(Lb, LB_GETITEMHEIGHT, 0, 0));
  ClickAt(Lb, {5, H + 1});
  ClickAt(Lb, {5, 3 * H + 1});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{1, 3}));
  ClickAt(Lb, {5, H + 1});
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{3}));
  Keys({}, VK_DOWN);
  Keys({}, VK_SPACE);
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{2, 3}));
  EXPECT_EQ(SendMessageA(Lb, LB_SETSEL, TRUE, -1), LB_OKAY);
  EXPECT_EQ(SendMessageA(Lb, LB_GETSELCOUNT, 0, 0), 5);
  SendMessageA(Lb, LB_SELITEMRANGE, FALSE, MAKELPARAM(1, 3));
  EXPECT_EQ(SelectedItems(Lb), (std::vector<int>{0, 4}));
  EXPECT_EQ(SendMessageA(Lb, LB_SETCURSEL, 1, 0), LB_ERR) << "no single selection in a multi-select list";
}

TEST_F(ListBoxTest, TypeAheadFindsTheItemBeginningWithWhatIsTyped) {
  HWND Lb = Child("LISTBOX", LBS_SORT, {10, 10, 160, 200});
  for (const char* S : {"cabbage", "carrot", "celery", "chard", "corn", "cress"}) Add(Lb, S);
  SetFocus(Lb);
  Screen().TypeText("car");
  Pump();
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 1);
  AdvanceClock(2000);
  Screen().TypeText("c");
  Pump();
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 2) << "after a pause a letter starts over, past the caret";
  Screen().TypeText("c");
  Pump();
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 3) << "the same letter again goes on to the next";
}

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresEachItemAndDrawsOnlyVisibleRows) {
  MeasureHeight = [](UINT Id) -> UINT { return Id % 2 ? 30 : 10; };
  HWND Lb = Child("LISTBOX", LBS_OWNERDRAWVARIABLE | LBS_NOTIFY, {10, 10, 160, 100}, 42);
  for (int I = 0; I < 50; ++I) SendMessageA(Lb, LB_ADDSTRING, 0, LPARAM(1000 + I));
  ASSERT_EQ(Measures.size(), 50u);
  EXPECT_EQ(Measures[3].CtlType, ODT_LISTBOX);
  EXPECT_EQ(Measures[3].CtlID, 42u);
  EXPECT_EQ(Measures[3].itemData, 1003u);
  EXPECT_EQ(SendMessageA(Lb, LB_GETITEMHEIGHT, 1, 0), 30);
  TRect R;
  ASSERT_EQ(SendMessageA(Lb, LB_GETITEMRECT, 3, LPARAM(&R)), 1);
  EXPECT_EQ(R.Top, 10 + 30 + 10);
  EXPECT_EQ(R.Height(), 30);
  EXPECT_EQ(SendMessageA(Lb, LB_GETITEMDATA, 4, 0), 1004) << "without strings the item is its data";

  Draws.clear();
  UpdateWindow(Parent);
  UpdateWindow(Lb);
  ASSERT_FALSE(Draws.empty());
  EXPECT_LE(Draws.size(), 5u) << "100 pixels show rows 0-4 only";
  EXPECT_EQ(Draws[1].rcItem, TRect(0, 10, 150, 40));
  EXPECT_EQ(Draws[1].itemData, 1001u);
  EXPECT_EQ(Draws[1].hwndItem, Lb);

  SendMessageA(Lb, LB_SETCURSEL, 2, 0);
  Draws.clear();
  UpdateWindow(Lb);
  bool SawSelected = false;
  for (auto& D : Draws)
    if (D.itemID == 2) SawSelected = (D.itemState & ODS_SELECTED) != 0;
  EXPECT_TRUE(SawSelected);
  SendMessageA(Lb, LB_DELETESTRING, 0, 0);
  ASSERT_EQ(Deletes.size(), 1u);
  EXPECT_EQ(Deletes[0].itemData, 1000u);
}

TEST_F(ListBoxTest, AHundredThousandItemsScrollToTheEndAndSelect) {
  HWND Lb = Child("LISTBOX", LBS_EXTENDEDSEL | WS_VSCROLL, {10, 10, 160, 110});
  SendMessageA(Lb, WM_SETREDRAW, FALSE, 0);
  for (int I = 0; I < 100000; ++I) Add(Lb, ("line " + std::to_string(I)).c_str());
  SendMessageA(Lb, WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCOUNT, 0, 0), 100000);
  SetFocus(Lb);
  Keys({}, VK_END);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCARETINDEX, 0, 0), 99999);
  Keys({VK_SHIFT}, VK_HOME);
  EXPECT_EQ(SendMessageA(Lb, LB_GETSELCOUNT, 0, 0), 100000);
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  GetScrollInfo(Lb, SB_VERT, &Si);
  EXPECT_EQ(Si.nMax, 99999) << "the range is not cut to 16 bits";
  // A thumb drag beyond 65535 lands where it was dropped.
  SendMessageA(Lb, LB_SETTOPINDEX, 80000, 0);
  EXPECT_EQ(SendMessageA(Lb, LB_GETTOPINDEX, 0, 0), 80000);
  const int H = int(SendMessageA(Lb, LB_GETITEMHEIGHT, 0, 0));
  const LRESULT Hit = SendMessageA(Lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, H + 1));
  EXPECT_EQ(HIWORD(Hit), 0);
  EXPECT_EQ(LOWORD(Hit), WORD(80001));
  EXPECT_EQ(Text(Lb, 80001), "line 80001");
  UpdateWindow(Parent);
}

TEST_F(ListBoxTest, HorizontalExtentBringsAScrollBarThatMovesTheRows) {
  HWND Lb = Child("LISTBOX", WS_HSCROLL | WS_BORDER, {10, 10, 110, 110});
  Add(Lb, "a long line that does not fit");
  SCROLLBARINFO Before;
  GetScrollBarInfo(Lb, OBJID_HSCROLL, &Before);
  EXPECT_TRUE(Before.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "nothing to scroll yet";
  SendMessageA(Lb, LB_SETHORIZONTALEXTENT, 400, 0);
  SCROLLBARINFO After;
  GetScrollBarInfo(Lb, OBJID_HSCROLL, &After);
  EXPECT_FALSE(After.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  SendMessageA(Lb, WM_HSCROLL, SB_PAGERIGHT, 0);
  TRect R;
  SendMessageA(Lb, LB_GETITEMRECT, 0, LPARAM(&R));
  EXPECT_LT(R.Left, 0) << "rows move left with the bar";
  EXPECT_EQ(SendMessageA(Lb, LB_GETHORIZONTALEXTENT, 0, 0), 400);
}

TEST_F(ListBoxTest, PaintsSelectionInTheHighlightColourAndLooksRight) {
  HWND Lb = Child("LISTBOX", WS_VSCROLL, {10, 10, 170, 110}, 7, WS_EX_CLIENTEDGE);
  for (int I = 0; I < 12; ++I) Add(Lb, ("Item number " + std::to_string(I)).c_str());
  SendMessageA(Lb, LB_SETCURSEL, 1, 0);
  SetFocus(Lb);
  UpdateWindow(Parent);
  UpdateWindow(Lb);
  Pump();
  const int H = int(SendMessageA(Lb, LB_GETITEMHEIGHT, 0, 0));
  const TPoint Sel = OnScreen(Lb, {100, H + H / 2});
  const TPoint Plain = OnScreen(Lb, {100, 3 * H + H / 2});
  EXPECT_EQ(Screen().ScreenPixel(Sel.X, Sel.Y), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Screen().ScreenPixel(Plain.X, Plain.Y), GetSysColor(COLOR_WINDOW));
  // Text ink lies at the left of the first row.
  bool Ink = false;
  for (int X = 2; X < 60 && !Ink; ++X)
    for (int Y = 1; Y < H - 1 && !Ink; ++Y) {
      const TPoint P = OnScreen(Lb, {X, Y});
      Ink = Screen().ScreenPixel(P.X, P.Y) != GetSysColor(COLOR_WINDOW);
    }
  EXPECT_TRUE(Ink);
  TRect Area{0, 0, 200, 140};
  Screen().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/listbox.png", &Area);
}

TEST_F(ListBoxTest, WantKeyboardInputLetsTheOwnerRedirectKeys) {
  HWND Lb = Child("LISTBOX", LBS_WANTKEYBOARDINPUT, {10, 10, 160, 200});
  for (int I = 0; I < 10; ++I) Add(Lb, "x");
  SendMessageA(Lb, LB_SETCURSEL, 0, 0);
  On(Parent, [](HWND, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
    if (M != WM_VKEYTOITEM) return std::nullopt;
    if (LOWORD(W) == VK_DOWN) return 6;     // go to item 6
    if (LOWORD(W) == VK_END) return -2;     // handled: nothing more
    return -1;                              // the list's own action
  });
  SetFocus(Lb);
  Keys({}, VK_DOWN);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 6);
  Keys({}, VK_END);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 6);
  Keys({}, VK_UP);
  EXPECT_EQ(SendMessageA(Lb, LB_GETCURSEL, 0, 0), 5);
}
}  // namespace

// --- TListBox on a form ----------------------------------------------------------------------

namespace {
TEST_F(TListFormTest, FormDescriptionBuildsTheListsWithTheirItemsAndHandlers) {
  TListsForm* F = ShowForm();
  ASSERT_NE(F->Names, nullptr);
  ASSERT_NE(F->Sizes, nullptr);
  EXPECT_EQ(F->Names->GetStyle(), lbOwnerDrawFixed);
  EXPECT_TRUE(F->Names->GetMultiSelect());
  EXPECT_EQ(F->Names->GetItems()->GetCount(), 4);
  EXPECT_EQ(F->Names->GetItems()->GetStrings(2), "Gamma");
  EXPECT_EQ(F->Names->GetItemHeight(), 18);
  TRect R = F->Names->ItemRect(1);
  EXPECT_EQ(R.Top, 18) << "the owner-draw rows have the described height";
  EXPECT_EQ(F->Plain->GetItems()->GetCommaText(), "one,three,two") << "Sorted";
  EXPECT_EQ(F->Sizes->GetStyle(), csDropDownList);
  EXPECT_EQ(F->Sizes->GetItemIndex(), 1) << "ItemIndex read before the window existed";
  EXPECT_EQ(F->Sizes->GetText(), "Medium");
  EXPECT_TRUE(F->Names->Focused()) << "the first in tab order";
  // The description writes back what it read.
  EXPECT_NE(F->Names->GetName(), "");
}

TEST_F(TListFormTest, ShiftAndCtrlClicksSelectRowsAndRunOnClick) {
  TListsForm* F = ShowForm();
  TListBox* L = F->Names;
  ClickAt(L, {30, 18 * 0 + 5});
  ClickAt(L, {30, 18 * 2 + 5}, {VK_SHIFT});
  ClickAt(L, {30, 18 * 3 + 5}, {VK_CONTROL});
  EXPECT_EQ(L->SelCount(), 4);
  ClickAt(L, {30, 18 * 1 + 5}, {VK_CONTROL});
  EXPECT_EQ(L->SelCount(), 3);
  EXPECT_FALSE(L->GetSelected(1));
  EXPECT_TRUE(L->GetSelected(3));
  EXPECT_EQ(F->Clicks, 4) << "each change of the selection is a click";
  EXPECT_TRUE(L->Focused());
  EXPECT_EQ(L->ItemAtPos({30, 18 * 3 + 5}, true), 3);
  EXPECT_EQ(L->ItemAtPos({30, 110}, true), -1);
  EXPECT_EQ(L->ItemAtPos({30, 110}, false), 4);
  L->ClearSelection();
  EXPECT_EQ(L->SelCount(), 0);
}

TEST_F(TListFormTest, OwnerDrawnRowsAreDrawnByTheHandlerAtTheirPlace) {
  TListsForm* F = ShowForm();
  F->Names->SetSelected(1, true);
  F->Names->Repaint();
  App->ProcessMessages();
  struct TCase {
    TPoint At;
    COLORREF Want;
    const char* Why;
  } Cases[] = {
      {{5, 9}, RGB(0, 255, 0), "row 0's swatch"},
      {{5, 18 + 9}, RGB(255, 0, 0), "row 1's swatch"},
      {{100, 18 + 9}, GetSysColor(COLOR_HIGHLIGHT), "row 1 selected"},
      {{100, 9}, GetSysColor(COLOR_WINDOW), "row 0 plain"},
      {{100, 110}, GetSysColor(COLOR_WINDOW), "below the rows"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(PixelAt(F->Names, C.At), C.Want);
  }
  TRect Area{0, 0, 320, 240};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/listsform.png", &Area);
}

TEST_F(TListFormTest, DrawHandlerThatRaisesReachesTheErrorDisplayAndTheListGoesOn) {
  TListsForm* F = ShowForm();
  F->FailOn = 1;
  F->Drawn.clear();
  F->Names->Repaint();
  App->ProcessMessages();
  ASSERT_FALSE(Log.Errors.empty());
  EXPECT_EQ(Log.Errors[0], "Cannot draw row 1");
  EXPECT_NE(std::find(F->Drawn.begin(), F->Drawn.end(), 3), F->Drawn.end()) << "rows after the failing one are drawn";
  EXPECT_EQ(PixelAt(F->Names, {5, 18 * 2 + 9}), RGB(0, 255, 0));
  // Still usable: a click selects, and the next paint without the fault is whole.
  F->FailOn = -1;
  ClickAt(F->Names, {30, 18 * 2 + 5});
  EXPECT_TRUE(F->Names->GetSelected(2));
  EXPECT_EQ(PixelAt(F->Names, {100, 18 * 2 + 9}), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(TListFormTest, VariableRowsAreMeasuredThroughOnMeasureItem) {
  ShowForm();
  auto* L = new TListBox(Form);
  L->SetParent(Form);
  L->SetBounds(8, 140, 140, 90);
  L->SetStyle(lbOwnerDrawVariable);
  struct THeights : TObject {
    void Measure(TWinControl*, Integer Index, Integer& Height) { Height = 10 + 5 * Index; }
  } H;
  L->OnMeasureItem = TMeasureItemEvent(&H, &THeights::Measure);
  for (const char* S : {"a", "b", "c", "d"}) L->GetItems()->Add(S);
  L->HandleNeeded();
  EXPECT_EQ(L->ItemRect(0).Height(), 10);
  EXPECT_EQ(L->ItemRect(3).Height(), 25);
  EXPECT_EQ(L->ItemRect(3).Top, 10 + 15 + 20);
}

TEST_F(TListFormTest, ItemsSurviveANewWindowWithObjectsSelectionAndTop) {
  TListsForm* F = ShowForm();
  TListBox* L = F->Names;
  TObject Tag;
  L->GetItems()->AddObject("Epsilon", &Tag);
  L->SetSelected(4, true);
  L->SetSelected(0, true);
  L->SetStyle(lbStandard);  // a new window
  EXPECT_EQ(L->GetItems()->GetCount(), 5);
  EXPECT_EQ(L->GetItems()->GetObjects(4), &Tag);
  EXPECT_TRUE(L->GetSelected(0));
  EXPECT_TRUE(L->GetSelected(4));
  EXPECT_EQ(L->SelCount(), 2);
  EXPECT_THROW(L->GetSelected(5), EListError);
  EXPECT_THROW(L->GetItems()->GetStrings(5), EStringListError);
}

TEST_F(TListFormTest, ItemsWithoutAWindowAndAHundredThousandThroughTStrings) {
  TListBox L(nullptr);
  L.GetItems()->Add("kept");
  L.SetItemIndex(0);
  EXPECT_EQ(L.GetItems()->GetCount(), 1);
  EXPECT_FALSE(L.HandleAllocated()) << "no parent: the items wait in the control";
  ShowForm();
  L.SetParent(Form);
  L.HandleNeeded();
  EXPECT_EQ(L.GetItems()->GetStrings(0), "kept");
  EXPECT_EQ(L.GetItemIndex(), 0);
  L.GetItems()->BeginUpdate();
  for (int I = 0; I < 100000; ++I) L.GetItems()->Add("row " + IntToStr(I));
  L.GetItems()->EndUpdate();
  EXPECT_EQ(L.GetItems()->GetCount(), 100001);
  EXPECT_EQ(L.GetItems()->IndexOf("ROW 99999"), 100000) << "case-insensitive, as TStrings";
  L.SetTopIndex(99990);
  EXPECT_EQ(L.GetTopIndex(), 99990);
  L.SetTopIndex(100000);
  EXPECT_EQ(L.GetTopIndex(), 100001 - L.GetClientRect().Height() / L.GetItemHeight()) << "the last row at the bottom";
  L.SetParent(nullptr);
}
}  // namespace

namespace {
TEST_F(TListFormTest, RowsAndFieldFollowTheControlsFont) {
  TListsForm* F = ShowForm();
  const Integer Small = F->Plain->GetItemHeight();
  auto* Big = new TListBox(F);
  Big->GetFont()->SetSize(16);
  Big->SetParent(F);
  Big->GetItems()->Add("large");
  Big->HandleNeeded();
  EXPECT_GT(Big->GetItemHeight(), Small) << "made with its font";
  F->Plain->GetFont()->SetSize(16);
  EXPECT_EQ(F->Plain->GetItemHeight(), Big->GetItemHeight()) << "a new font changes the rows";
  const Integer Field = F->Sizes->GetHeight();
  F->Sizes->GetFont()->SetSize(16);
  EXPECT_GT(F->Sizes->GetHeight(), Field) << "the combo box grows with its field";
}
}  // namespace
