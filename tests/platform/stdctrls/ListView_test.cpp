// The list-view window class: items, views, selection by mouse and keys,
// sorting, searching, drag start and the parent's notifications.
#include <stdexcept>

#include "ComCtrlsTestSupport.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"

using namespace cctest;

namespace {
class ListViewTest : public TComCtrlsTest {
protected:
  HWND MakeList(DWORD Style) {
    List = MakeControl(WC_LISTVIEW, Style, 300, 200);
    return List;
  }
  int Add(const char* Text, LPARAM Param = 0, int At = 1 << 30) {
    LVITEMA I;
    I.mask = LVIF_TEXT | LVIF_PARAM;
    I.iItem = At;
    I.pszText = const_cast<char*>(Text);
    I.lParam = Param;
    return int(SendMessageA(List, LVM_INSERTITEMA, 0, LPARAM(&I)));
  }
  std::string Text(int Item, int Sub = 0) {
    char B[256] = "";
    LVITEMA I;
    I.iSubItem = Sub;
    I.pszText = B;
    I.cchTextMax = sizeof B;
    SendMessageA(List, LVM_GETITEMTEXTA, WPARAM(Item), LPARAM(&I));
    return B;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> R;
    const int N = int(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < N; ++i) R.push_back(Text(i));
    return R;
  }
  std::vector<int> Selected() {
    std::vector<int> R;
    for (int i = int(SendMessageA(List, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); i >= 0;
         i = int(SendMessageA(List, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED)))
      R.push_back(i);
    return R;
  }
  TRect ItemRect(int I, int Code = LVIR_BOUNDS) {
    TRect R;
    R.Left = Code;
    EXPECT_TRUE(SendMessageA(List, LVM_GETITEMRECT, WPARAM(I), LPARAM(&R)));
    return R;
  }
  void ClickItem(int I, std::initializer_list<WORD> Held = {}) {
    const TRect R = ItemRect(I, LVIR_LABEL);
    const TPoint P = ScreenOf(List, {R.Left + 8, (R.Top + R.Bottom) / 2});
    for (WORD K : Held) Screen().KeyDown(K);
    Screen().Click(P.X, P.Y);
    for (WORD K : Held) Screen().KeyUp(K);
    Pump();
  }
  void AddColumns() {
    for (const char* Name : {"Name", "Size"}) {
      LVCOLUMNA C;
      C.mask = LVCF_TEXT | LVCF_WIDTH;
      C.pszText = const_cast<char*>(Name);
      C.cx = 100;
      SendMessageA(List, LVM_INSERTCOLUMNA, 9, LPARAM(&C));
    }
  }
  HWND List = nullptr;
};
}  // namespace

TEST_F(ListViewTest, InsertsAtPlaceOrSortedAndKeepsSubItems) {
  MakeList(LVS_REPORT);
  AddColumns();
  Add("b");
  Add("a", 0, 0);
  Add(nullptr);
  Add("", 0, -5) ;  // clamps to the front
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "a", "b", ""}));
  LVITEMA Sub;
  Sub.iSubItem = 1;
  Sub.pszText = const_cast<char*>("12 KB");
  EXPECT_TRUE(SendMessageA(List, LVM_SETITEMTEXTA, 1, LPARAM(&Sub)));
  EXPECT_EQ(Text(1, 1), "12 KB");
  EXPECT_EQ(Text(2, 1), "") << "a sub-item never set is empty";

  DestroyWindow(List);
  Notes().clear();
  MakeList(LVS_LIST | LVS_SORTASCENDING);
  for (const char* T : {"delta", "Alpha", "charlie", "bravo"}) Add(T);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
  EXPECT_EQ(Codes({LVN_INSERTITEM}).size(), 4u);
}

TEST_F(ListViewTest, MouseSelectsOneToggleWithCtrlAndRangeWithShift) {
  MakeList(LVS_REPORT);
  AddColumns();
  for (int i = 0; i < 10; ++i) Add(("item " + std::to_string(i)).c_str(), 100 + i);
  SetFocus(List);
  ClickItem(2);
  EXPECT_EQ(Selected(), (std::vector<int>{2}));
  ClickItem(5, {VK_CONTROL});
  EXPECT_EQ(Selected(), (std::vector<int>{2, 5}));
  ClickItem(9, {VK_CONTROL});
  ClickItem(5, {VK_CONTROL});
  EXPECT_EQ(Selected(), (std::vector<int>{2, 9})) << "Ctrl toggles";
  ClickItem(4);
  ClickItem(7, {VK_SHIFT});
  EXPECT_EQ(Selected(), (std::vector<int>{4, 5, 6, 7})) << "Shift selects from the anchor";
  EXPECT_EQ(SendMessageA(List, LVM_GETSELECTEDCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(List, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 7);
  // Shift+Down extends from the same anchor; a plain key moves a single selection.
  Screen().KeyDown(VK_SHIFT);
  Screen().KeyPress(VK_DOWN);
  Screen().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(Selected(), (std::vector<int>{4, 5, 6, 7, 8}));
  Screen().KeyPress(VK_UP);
  Pump();
  EXPECT_EQ(Selected(), (std::vector<int>{7}));
  // Each change reached the parent with the item's data.
  const auto Changed = std::count_if(Notes().begin(), Notes().end(), [](const TNote& N) {
    return N.Code == LVN_ITEMCHANGED && N.List.lParam == 107 && (N.List.uNewState & LVIS_SELECTED);
  });
  EXPECT_GE(Changed, 2);
}

TEST_F(ListViewTest, SingleSelectionKeepsOneItem) {
  MakeList(LVS_REPORT | LVS_SINGLESEL);
  AddColumns();
  for (int i = 0; i < 5; ++i) Add("x");
  ClickItem(1);
  ClickItem(3, {VK_CONTROL});
  ClickItem(4, {VK_SHIFT});
  EXPECT_EQ(Selected(), (std::vector<int>{4}));
  LVITEMA S;
  S.state = S.stateMask = LVIS_SELECTED;
  SendMessageA(List, LVM_SETITEMSTATE, 0, LPARAM(&S));
  EXPECT_EQ(Selected(), (std::vector<int>{0}));
}

namespace {
int ByParam(LPARAM A, LPARAM B, LPARAM Sign) { return int(Sign * (A - B)); }
int Raises(LPARAM, LPARAM, LPARAM) { throw std::runtime_error("bad compare"); }
}  // namespace

TEST_F(ListViewTest, SortsWithACallbackAndSurvivesARaisingOne) {
  MakeList(LVS_REPORT);
  AddColumns();
  Add("three", 3);
  Add("one", 1);
  Add("two", 2);
  LVITEMA S;
  S.state = S.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(List, LVM_SETITEMSTATE, 0, LPARAM(&S));  // "three"
  EXPECT_TRUE(SendMessageA(List, LVM_SORTITEMS, WPARAM(1), LPARAM(&ByParam)));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(Selected(), (std::vector<int>{2})) << "the selection moved with its item";
  EXPECT_EQ(SendMessageA(List, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 2);
  EXPECT_THROW(SendMessageA(List, LVM_SORTITEMS, 0, LPARAM(&Raises)), std::runtime_error);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(ListViewTest, FindsByDataTextPrefixAndWraps) {
  MakeList(LVS_LIST);
  Add("apple", 10);
  Add("Banana", 20);
  Add("apricot", 30);
  struct TCase {
    UINT Flags;
    const char* Text;
    LPARAM Param;
    int Start, Want;
  };
  const TCase Cases[] = {
      {LVFI_PARAM, nullptr, 20, -1, 1},       {LVFI_STRING, "banana", 0, -1, 1},
      {LVFI_STRING, "ap", 0, -1, -1},         {LVFI_PARTIAL, "ap", 0, -1, 0},
      {LVFI_PARTIAL, "ap", 0, 0, 2},          {LVFI_PARTIAL, "ap", 0, 2, -1},
      {LVFI_PARTIAL | LVFI_WRAP, "ap", 0, 2, 0}, {LVFI_STRING, nullptr, 0, -1, -1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Text ? C.Text : "null") + " from " + std::to_string(C.Start));
    LVFINDINFOA F;
    F.flags = C.Flags;
    F.psz = C.Text;
    F.lParam = C.Param;
    EXPECT_EQ(SendMessageA(List, LVM_FINDITEMA, WPARAM(C.Start), LPARAM(&F)), C.Want);
  }
}

TEST_F(ListViewTest, EveryViewHitTestsItsOwnItemRects) {
  const DWORD Views[] = {LVS_REPORT, LVS_LIST, LVS_SMALLICON, LVS_ICON};
  for (DWORD V : Views) {
    SCOPED_TRACE(V);
    MakeList(V);
    AddColumns();
    for (int i = 0; i < 40; ++i) Add(std::string(1, 'n').append(std::to_string(i)).c_str());
    for (int I : {0, 1, 7}) {
      const TRect R = ItemRect(I);
      LVHITTESTINFO H;
      H.pt = {R.Left + R.Width() / 2, R.Top + R.Height() / 2};
      EXPECT_EQ(SendMessageA(List, LVM_HITTEST, 0, LPARAM(&H)), I);
      EXPECT_TRUE(H.flags & LVHT_ONITEM);
    }
    // Scrolled to the last item, it shows and hit-tests too.
    SendMessageA(List, LVM_ENSUREVISIBLE, 39, FALSE);
    const TRect R = ItemRect(39);
    TRect Client;
    GetClientRect(List, &Client);
    EXPECT_TRUE(Client.Contains({R.Left + 1, R.Top + 1}));
    DestroyWindow(List);
  }
}

TEST_F(ListViewTest, DraggingStartsADragAndAHeaderClickNamesTheColumn) {
  MakeList(LVS_REPORT);
  AddColumns();
  for (int i = 0; i < 5; ++i) Add("row", 50 + i);
  ClickItem(1);
  ClickItem(3, {VK_CONTROL});
  // Pressing on a selected item keeps the selection for the drag.
  const TRect R = ItemRect(3, LVIR_LABEL);
  const TPoint P = ScreenOf(List, {R.Left + 8, (R.Top + R.Bottom) / 2});
  Notes().clear();
  AdvanceClock(2000);  // not a double click
  Screen().MouseDown(P.X, P.Y);
  Screen().MouseMove(P.X + 15, P.Y + 15);
  Screen().MouseUp(P.X + 15, P.Y + 15);
  Pump();
  ASSERT_EQ(Codes({LVN_BEGINDRAG}).size(), 1u);
  auto D = std::find_if(Notes().begin(), Notes().end(), [](const TNote& N) { return N.Code == LVN_BEGINDRAG; });
  EXPECT_EQ(D->List.iItem, 3);
  EXPECT_EQ(D->List.lParam, 53);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));

  Notes().clear();
  const TPoint H = ScreenOf(List, {150, 5});
  Screen().Click(H.X, H.Y);
  Pump();
  ASSERT_EQ(Codes({LVN_COLUMNCLICK}).size(), 1u);
  EXPECT_EQ(Notes()[0].List.iSubItem, 1);
}

TEST_F(ListViewTest, DeletingFromTheDeleteNotificationIsSafe) {
  MakeList(LVS_REPORT);
  AddColumns();
  for (int i = 0; i < 6; ++i) Add(std::to_string(i).c_str(), i);
  // Deleting item 2 makes the handler delete item 0 as well.
  Answers()[LVN_DELETEITEM] = [&](NMHDR* Hdr) {
    if (reinterpret_cast<NMLISTVIEW*>(Hdr)->lParam == 2) SendMessageA(List, LVM_DELETEITEM, 0, 0);
    return LRESULT(0);
  };
  EXPECT_TRUE(SendMessageA(List, LVM_DELETEITEM, 2, 0));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "3", "4", "5"}));
  // Clearing hands each item to the handler once, after the list is empty.
  std::vector<LPARAM> Gone;
  Answers()[LVN_DELETEITEM] = [&](NMHDR* Hdr) {
    Gone.push_back(reinterpret_cast<NMLISTVIEW*>(Hdr)->lParam);
    EXPECT_EQ(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0), 0);
    return LRESULT(0);
  };
  EXPECT_TRUE(SendMessageA(List, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(Gone, (std::vector<LPARAM>{1, 3, 4, 5}));
  EXPECT_FALSE(SendMessageA(List, LVM_DELETEITEM, 0, 0));
}

TEST_F(ListViewTest, ReportViewPaintsHeaderRowsAndSelection) {
  MakeList(LVS_REPORT | LVS_SHOWSELALWAYS);
  AddColumns();
  for (int i = 0; i < 3; ++i) Add(("file " + std::to_string(i) + ".rtf").c_str());
  LVITEMA Sub;
  Sub.iSubItem = 1;
  Sub.pszText = const_cast<char*>("4 KB");
  SendMessageA(List, LVM_SETITEMTEXTA, 0, LPARAM(&Sub));
  SetFocus(List);
  ClickItem(1);
  Shot("listview_report.png");
  const TRect R = ItemRect(1, LVIR_LABEL);
  EXPECT_EQ(Pixel(List, R.Left + 3, R.Top + 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Pixel(List, 50, 3), GetSysColor(COLOR_BTNFACE)) << "header face";
  EXPECT_EQ(Pixel(List, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << "header's raised edge";
  EXPECT_EQ(Pixel(List, 99, 10), GetSysColor(COLOR_3DDKSHADOW)) << "a column's right edge";
  const int Below = ItemRect(2).Bottom + 5;
  EXPECT_EQ(Pixel(List, 250, Below), GetSysColor(COLOR_WINDOW)) << Below;
}

TEST_F(ListViewTest, CaptionEditsCommitCancelAreRefusedAndCloseWithTheirItem) {
  MakeList(LVS_REPORT | LVS_EDITLABELS);
  AddColumns();
  Add("one", 1);
  Add("two", 2);
  Add("three", 3);
  struct TEnd {
    int Count = 0;
    bool HadText = false;
    std::string Text;
  } Heard;
  LRESULT Accept = TRUE;
  Answers()[LVN_ENDLABELEDITA] = [&](NMHDR* H) -> LRESULT {
    const LVITEMA& I = reinterpret_cast<NMLVDISPINFOA*>(H)->item;
    ++Heard.Count;
    Heard.HadText = I.pszText != nullptr;
    Heard.Text = I.pszText ? I.pszText : "";
    EXPECT_EQ(I.lParam, 2) << "names the edited item";
    return Accept;
  };
  struct TCase {
    WORD Key;
    LRESULT Accept;
    const char* Want;
  };
  for (const TCase& C : {TCase{VK_RETURN, TRUE, "deux"}, TCase{VK_RETURN, FALSE, "two"}, TCase{VK_ESCAPE, TRUE, "two"}}) {
    SCOPED_TRACE(C.Want);
    LVITEMA Reset;
    Reset.pszText = const_cast<char*>("two");
    SendMessageA(List, LVM_SETITEMTEXTA, 1, LPARAM(&Reset));
    Accept = C.Accept;
    Heard = {};
    HWND Edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_EDITLABELA, 1, 0));
    ASSERT_NE(Edit, nullptr);
    EXPECT_EQ(WindowTextOf(Edit), "two");
    EXPECT_EQ(GetFocus(), Edit);
    // The edit lies over the caption's column.
    TRect E, Item = ItemRect(1, LVIR_LABEL);
    GetWindowRect(Edit, &E);
    const TPoint Top = ScreenOf(List, {Item.Left, Item.Top});
    EXPECT_GE(E.Top, Top.Y - 2);
    EXPECT_LE(E.Bottom, Top.Y + Item.Height() + 2);
    Screen().TypeText("deux");
    Screen().KeyPress(C.Key);
    Pump();
    EXPECT_EQ(Heard.Count, 1);
    EXPECT_EQ(Heard.HadText, C.Key == VK_RETURN);
    EXPECT_EQ(Text(1), C.Want);
    EXPECT_FALSE(IsWindow(Edit));
    EXPECT_EQ(GetFocus(), List);
  }
  // Refused at the start; a cancel request (-1) and deleting the item end
  // an edit without taking its text.
  Answers()[LVN_BEGINLABELEDITA] = [](NMHDR*) -> LRESULT { return TRUE; };
  EXPECT_EQ(SendMessageA(List, LVM_EDITLABELA, 1, 0), 0);
  EXPECT_EQ(GetWindow(List, GW_CHILD), nullptr);
  Answers().erase(LVN_BEGINLABELEDITA);
  Heard = {};
  ASSERT_NE(SendMessageA(List, LVM_EDITLABELA, 1, 0), 0);
  SendMessageA(List, LVM_EDITLABELA, WPARAM(-1), 0);
  EXPECT_EQ(Heard.Count, 1);
  EXPECT_FALSE(Heard.HadText);
  HWND Edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_EDITLABELA, 1, 0));
  ASSERT_NE(Edit, nullptr);
  SendMessageA(List, LVM_DELETEITEM, 1, 0);
  EXPECT_FALSE(IsWindow(Edit));
  EXPECT_EQ(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "three"}));
}

TEST_F(ListViewTest, ASlowSecondClickOnTheOnlySelectedItemStartsAnEdit) {
  MakeList(LVS_LIST | LVS_EDITLABELS);
  Add("one");
  Add("two");
  auto ClickLater = [&](int I, std::initializer_list<WORD> Held = {}) {
    AdvanceClock(GetDoubleClickTime() + 50);
    ClickItem(I, Held);
  };
  auto Editing = [&] {
    AdvanceClock(GetDoubleClickTime() + 50);
    Pump();
    return SendMessageA(List, LVM_GETEDITCONTROL, 0, 0) != 0;
  };
  ClickLater(0);
  EXPECT_FALSE(Editing()) << "the click that selects does not edit";
  ClickLater(0);
  EXPECT_TRUE(Editing());
  SendMessageA(List, LVM_CANCELEDITLABEL, 0, 0);
  EXPECT_FALSE(Editing());
  ClickLater(0, {VK_CONTROL});
  EXPECT_FALSE(Editing()) << "Ctrl toggles the selection instead";
}
