#include <gtest/gtest.h>

#include "ListCtrlsTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"

namespace {
class ComboBoxTest : public TListCtrlTest {
protected:
  HWND MakeList(DWORD Extra = 0, int Id = 9) {
    HWND Cb = Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | Extra, {20, 20, 180, 150}, Id);
    for (const char* S : {"Red", "Green", "Blue", "Cyan", "Magenta", "Yellow"})
      SendMessageA(Cb, CB_ADDSTRING, 0, LPARAM(S));
    return Cb;
  }
  TRect ListRect(HWND Cb) {
    TRect R;
    GetWindowRect(ComboBoxListWindow(Cb), &R);
    return R;
  }
  int CurSel(HWND Cb) { return int(SendMessageA(Cb, CB_GETCURSEL, 0, 0)); }
};

TEST_F(ComboBoxTest, DropDownListHasTheFieldsHeightAndKeepsTheAskedHeightForItsList) {
  HWND Cb = MakeList();
  TRect Wr;
  GetWindowRect(Cb, &Wr);
  const int Field = int(SendMessageA(Cb, CB_GETITEMHEIGHT, WPARAM(-1), 0));
  EXPECT_EQ(Wr.Height(), Field + 6);
  EXPECT_EQ(SendMessageA(Cb, CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(Text(Cb, 2, CB_GETLBTEXTLEN, CB_GETLBTEXT), "Blue");
  EXPECT_EQ(SendMessageA(Cb, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("cyan")), 3);
  EXPECT_EQ(SendMessageA(Cb, CB_SETCURSEL, 4, 0), 4);
  EXPECT_EQ(WindowTextOf(Cb), "") << "the window text is the selection's, asked by message";
  char Buf[16];
  EXPECT_EQ(GetWindowTextA(Cb, Buf, sizeof Buf), 7);
  EXPECT_STREQ(Buf, "Magenta");
  EXPECT_EQ(SendMessageA(Cb, CB_GETEDITSEL, 0, 0), CB_ERR) << "no edit part";
  EXPECT_TRUE(Codes(Cb).empty());
}

TEST_F(ComboBoxTest, KeyboardOpensMovesAndChoosesInTheDroppedList) {
  HWND Cb = MakeList();
  SendMessageA(Cb, CB_SETCURSEL, 0, 0);
  SetFocus(Cb);
  ClearLog();
  Keys({}, VK_F4);
  EXPECT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(IsWindowVisible(ComboBoxListWindow(Cb)));
  EXPECT_EQ(GetCapture(), Cb) << "the dropped list holds the mouse";
  Keys({}, VK_DOWN);
  Keys({}, VK_DOWN);
  Keys({}, VK_RETURN);
  EXPECT_FALSE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindowVisible(ComboBoxListWindow(Cb)));
  EXPECT_EQ(CurSel(Cb), 2);
  EXPECT_EQ(Codes(Cb), (std::vector<int>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));

  // Closed, the arrows step through the items; Alt+Down opens; Esc closes.
  ClearLog();
  Keys({}, VK_DOWN);
  EXPECT_EQ(CurSel(Cb), 3);
  Keys({VK_MENU}, VK_DOWN);
  EXPECT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  Keys({}, VK_ESCAPE);
  EXPECT_FALSE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Codes(Cb), (std::vector<int>{CBN_SELCHANGE, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  // Typing a letter picks the item it begins.
  Screen().TypeText("y");
  Pump();
  EXPECT_EQ(CurSel(Cb), 5);
}

TEST_F(ComboBoxTest, MouseChoosesFromTheDroppedListAndAClickOutsideCancels) {
  HWND Cb = MakeList();
  SendMessageA(Cb, CB_SETCURSEL, 1, 0);
  ClickAt(Cb, {40, 5});
  ASSERT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  const TRect L = ListRect(Cb);
  TRect Combo;
  GetWindowRect(Cb, &Combo);
  EXPECT_EQ(L.Top, Combo.Bottom) << "the list opens below the combo box";
  EXPECT_EQ(L.Left, Combo.Left);
  const int H = int(SendMessageA(Cb, CB_GETITEMHEIGHT, 0, 0));
  // Hovering moves the highlight without telling the parent.
  ClearLog();
  Screen().MouseMove(L.Left + 10, L.Top + 1 + 4 * H + H / 2);
  Pump();
  EXPECT_EQ(CurSel(Cb), 4);
  EXPECT_TRUE(Codes(Cb).empty());
  Screen().Click(L.Left + 10, L.Top + 1 + 3 * H + H / 2);
  Pump();
  EXPECT_FALSE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(CurSel(Cb), 3);
  EXPECT_EQ(Codes(Cb), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}));
  EXPECT_NE(GetCapture(), Cb);

  ClickAt(Cb, {40, 5});
  ASSERT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  Screen().MouseMove(L.Left + 10, L.Top + 1 + H / 2);
  ClearLog();
  Screen().Click(350, 280);  // the parent, far from both
  Pump();
  EXPECT_FALSE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(CurSel(Cb), 3) << "the hovered item is not taken";
  EXPECT_EQ(Codes(Cb), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_TRUE(Logged(Parent, WM_LBUTTONDOWN).empty()) << "the closing click goes no further";
}

TEST_F(ComboBoxTest, ListOpensUpwardsWhenThereIsNoRoomBelow) {
  HWND Cb = Child("COMBOBOX", CBS_DROPDOWNLIST, {20, 20, 180, 400});
  for (int I = 0; I < 30; ++I) SendMessageA(Cb, CB_ADDSTRING, 0, LPARAM("x"));
  SetWindowPos(Parent, nullptr, 0, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(Cb, CB_SHOWDROPDOWN, TRUE, 0);
  TRect Combo;
  GetWindowRect(Cb, &Combo);
  EXPECT_EQ(ListRect(Cb).Bottom, Combo.Top);
  SendMessageA(Cb, CB_SETDROPPEDWIDTH, 300, 0);
  SendMessageA(Cb, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageA(Cb, CB_SETMINVISIBLE, 5, 0);
  SendMessageA(Cb, CB_SHOWDROPDOWN, TRUE, 0);
  const int H = int(SendMessageA(Cb, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(ListRect(Cb).Width(), 300);
  EXPECT_EQ(ListRect(Cb).Height(), 5 * H + 2);
}

TEST_F(ComboBoxTest, OwnerDrawnComboMeasuresFieldAndItemsAndDrawsTheField) {
  MeasureHeight = [](UINT Id) -> UINT { return Id == UINT(-1) ? 18 : 16; };
  HWND Cb = Child("COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, {20, 20, 180, 150}, 12);
  ASSERT_GE(Measures.size(), 2u);
  EXPECT_EQ(Measures[0].itemID, UINT(-1)) << "the field first";
  EXPECT_EQ(Measures[0].CtlType, ODT_COMBOBOX);
  EXPECT_EQ(SendMessageA(Cb, CB_GETITEMHEIGHT, WPARAM(-1), 0), 18);
  EXPECT_EQ(SendMessageA(Cb, CB_GETITEMHEIGHT, 0, 0), 16);
  for (LPARAM C : {0x0000FF, 0x00FF00, 0xFF0000}) SendMessageA(Cb, CB_ADDSTRING, 0, C);
  EXPECT_EQ(SendMessageA(Cb, CB_GETITEMDATA, 1, 0), 0x00FF00);
  SendMessageA(Cb, CB_SETCURSEL, 2, 0);
  Draws.clear();
  UpdateWindow(Parent);
  UpdateWindow(Cb);
  ASSERT_FALSE(Draws.empty());
  EXPECT_TRUE(Draws.back().itemState & ODS_COMBOBOXEDIT);
  EXPECT_EQ(Draws.back().itemID, 2u);
  EXPECT_EQ(Draws.back().itemData, 0xFF0000u);
  EXPECT_EQ(Draws.back().hwndItem, Cb);
  // The dropped list's rows come to the same parent, as the combo box's.
  Draws.clear();
  SendMessageA(Cb, CB_SHOWDROPDOWN, TRUE, 0);
  UpdateWindow(ComboBoxListWindow(Cb));
  ASSERT_EQ(Draws.size(), 3u);
  EXPECT_EQ(Draws[0].CtlType, ODT_COMBOBOX);
  EXPECT_EQ(Draws[0].CtlID, 12u);
  EXPECT_EQ(Draws[0].hwndItem, Cb);
  EXPECT_FALSE(Draws[0].itemState & ODS_COMBOBOXEDIT);
  EXPECT_EQ(Draws[1].rcItem.Height(), 16);
}

TEST_F(ComboBoxTest, DropDownWithEditShowsTheChosenTextAndReportsTyping) {
  HWND Cb = Child("COMBOBOX", CBS_DROPDOWN, {20, 20, 180, 150});
  ASSERT_NE(Cb, nullptr);
  HWND Edit = ComboBoxEditWindow(Cb);
  ASSERT_NE(Edit, nullptr);
  for (const char* S : {"one", "two", "three"}) SendMessageA(Cb, CB_ADDSTRING, 0, LPARAM(S));
  SendMessageA(Cb, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(WindowTextOf(Edit), "two");
  EXPECT_TRUE(Codes(Cb).empty()) << "our own edit updates are not the user's";
  SetFocus(Cb);
  EXPECT_EQ(GetFocus(), Edit) << "the edit takes the focus";
  ClearLog();
  Screen().TypeText("x");
  Pump();
  EXPECT_EQ(Codes(Cb), (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
  // F4 from the edit opens the list; Down and Enter choose.
  ClearLog();
  Keys({}, VK_F4);
  EXPECT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  Keys({}, VK_DOWN);
  Keys({}, VK_RETURN);
  EXPECT_EQ(WindowTextOf(Edit), "three");
  EXPECT_EQ(CurSel(Cb), 2);
  // A click on the field of a drop-down combo box does not open it; the button does.
  ClickAt(Cb, {10, 5});
  EXPECT_FALSE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
  TRect Client;
  GetClientRect(Cb, &Client);
  ClickAt(Cb, {Client.Right - 6, 6});
  EXPECT_TRUE(SendMessageA(Cb, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, SimpleComboKeepsItsListShownUnderTheEdit) {
  HWND Cb = Child("COMBOBOX", CBS_SIMPLE, {20, 20, 180, 150});
  HWND List = ComboBoxListWindow(Cb);
  ASSERT_NE(List, nullptr);
  EXPECT_TRUE(GetWindowLongA(List, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(List));
  for (const char* S : {"one", "two"}) SendMessageA(Cb, CB_ADDSTRING, 0, LPARAM(S));
  const int H = int(SendMessageA(Cb, CB_GETITEMHEIGHT, 0, 0));
  ClickAt(List, {5, H + 1});
  EXPECT_EQ(CurSel(Cb), 1);
  EXPECT_EQ(WindowTextOf(ComboBoxEditWindow(Cb)), "two");
  EXPECT_EQ(Codes(Cb).back(), CBN_SELCHANGE);
}

TEST_F(ComboBoxTest, DropDownListLooksClassic) {
  HWND Cb = MakeList();
  SendMessageA(Cb, CB_SETCURSEL, 0, 0);
  SetFocus(Cb);
  UpdateWindow(Parent);
  UpdateWindow(Cb);
  Pump();
  TRect Client;
  GetClientRect(Cb, &Client);
  // A focused field is highlighted; the button is face-coloured.
  const TPoint Field = OnScreen(Cb, {Client.Right - 40, Client.Bottom / 2});
  const TPoint Button = OnScreen(Cb, {Client.Right - 5, 4});
  const TPoint Edge = OnScreen(Cb, {0, Client.Bottom / 2});
  EXPECT_EQ(Screen().ScreenPixel(Field.X, Field.Y), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Screen().ScreenPixel(Button.X, Button.Y), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(Screen().ScreenPixel(Edge.X, Edge.Y), GetSysColor(COLOR_3DSHADOW));
  TRect Closed{0, 0, 220, 60};
  Screen().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/combobox-closed.png", &Closed);
  SendMessageA(Cb, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  TRect Area{0, 0, 220, 160};
  Screen().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/combobox.png", &Area);
  SendMessageA(Cb, CB_SHOWDROPDOWN, FALSE, 0);
}
}  // namespace

// --- TComboBox on a form ---------------------------------------------------------------------

namespace {
TEST_F(TListFormTest, DropDownListChosenWithTheKeyboardRunsOnChange) {
  TListsForm* F = ShowForm();
  TComboBox* C = F->Sizes;
  C->SetFocus();
  App->ProcessMessages();
  Keys({}, VK_F4);
  EXPECT_TRUE(C->GetDroppedDown());
  Keys({}, VK_DOWN);
  Keys({}, VK_RETURN);
  EXPECT_FALSE(C->GetDroppedDown());
  EXPECT_EQ(C->GetItemIndex(), 2);
  EXPECT_EQ(C->GetText(), "Large");
  EXPECT_EQ(F->Changes, (std::vector<AnsiString>{"Large"}));
  EXPECT_EQ(F->GetActiveControl(), C);
}

TEST_F(TListFormTest, DropDownListChosenWithTheMouse) {
  TListsForm* F = ShowForm();
  TComboBox* C = F->Sizes;
  struct TSeen : TObject {
    std::vector<const char*> Events;
    void Drop(TObject*) { Events.push_back("drop"); }
    void Close(TObject*) { Events.push_back("close"); }
  } Seen;
  C->OnDropDown = TNotifyEvent(&Seen, &TSeen::Drop);
  C->OnCloseUp = TNotifyEvent(&Seen, &TSeen::Close);
  ClickAt(C, {20, 5});
  ASSERT_TRUE(C->GetDroppedDown());
  HWND List = ComboBoxListWindow(C->Handle());
  TRect LR;
  GetWindowRect(List, &LR);
  const int H = C->GetItemHeight();
  EXPECT_EQ(LR.Height(), 4 * H + 2) << "DropDownCount rows";
  HeadlessDisplay().Click(LR.Left + 10, LR.Top + 1 + 3 * H + H / 2);
  App->ProcessMessages();
  EXPECT_FALSE(C->GetDroppedDown());
  EXPECT_EQ(C->GetText(), "Huge");
  EXPECT_EQ(F->Changes, (std::vector<AnsiString>{"Huge"}));
  EXPECT_EQ(Seen.Events, (std::vector<const char*>{"drop", "close"}));
  TRect Area{0, 0, 320, 240};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/listsform-combo.png", &Area);
}

TEST_F(TListFormTest, ComboTextAndItemsKeepAcrossANewWindow) {
  TListsForm* F = ShowForm();
  TComboBox* C = F->Sizes;
  C->GetItems()->AddObject("Tiny", C);
  C->SetItemIndex(5);
  C->SetSorted(true);
  EXPECT_EQ(C->GetItems()->GetCommaText(), "Giant,Huge,Large,Medium,Small,Tiny");
  EXPECT_EQ(C->GetItems()->GetObjects(5), C);
  EXPECT_EQ(C->GetText(), "Tiny");
  C->SetText("Large");
  EXPECT_EQ(C->GetItemIndex(), 2) << "a drop-down list's text picks its item";
}

TEST_F(TListFormTest, DropDownComboWithAnEditReportsTyping) {
  ShowForm();
  auto* C = new TComboBox(Form);
  C->SetParent(Form);
  C->SetBounds(160, 140, 120, 21);
  C->GetItems()->SetCommaText("red,green");
  C->SetText("teal");
  struct TSeen : TObject {
    int Changes = 0;
    void Change(TObject*) { ++Changes; }
  } Seen;
  C->OnChange = TNotifyEvent(&Seen, &TSeen::Change);
  C->HandleNeeded();
  ASSERT_NE(C->EditHandle(), nullptr);
  EXPECT_EQ(C->GetText(), "teal");
  C->SetFocus();
  // The field selects its text on focus: End puts the caret after it.
  HeadlessDisplay().KeyPress(VK_END);
  HeadlessDisplay().TypeText("s");
  App->ProcessMessages();
  EXPECT_EQ(C->GetText(), "teals");
  EXPECT_EQ(Seen.Changes, 1);
  EXPECT_EQ(Form->GetActiveControl(), C);
  C->SetItemIndex(1);
  EXPECT_EQ(C->GetText(), "green");
}
}  // namespace

namespace {
TEST_F(ComboBoxTest, AHandlerThatDestroysTheComboBoxEndsItsWorkSafely) {
  struct TCase {
    int DestroyOn;
    const char* Why;
  } Cases[] = {{CBN_DROPDOWN, "while opening"}, {CBN_SELENDOK, "while choosing"}, {CBN_SELCHANGE, "on the change"}};
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Why);
    HWND Cb = MakeList();
    HWND List = ComboBoxListWindow(Cb);
    On(Parent, [&](HWND, UINT M, WPARAM W, LPARAM L) -> std::optional<LRESULT> {
      if (M == WM_COMMAND && HWND(L) == Cb && SHORT(HIWORD(W)) == K.DestroyOn) DestroyWindow(Cb);
      return std::nullopt;
    });
    SetFocus(Cb);
    Keys({}, VK_F4);
    Keys({}, VK_DOWN);
    Keys({}, VK_RETURN);
    EXPECT_FALSE(IsWindow(Cb));
    EXPECT_FALSE(IsWindow(List)) << "the dropped list goes with its combo box";
    EXPECT_EQ(GetCapture(), nullptr);
    On(Parent, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
  }
}
}  // namespace
