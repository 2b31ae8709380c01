// The tree-view window class driven through its messages, the mouse and
// the keyboard, with the parent hearing the notifications.
#include <cstring>
#include <stdexcept>

#include "ComCtrlsTestSupport.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"

using namespace cctest;

namespace {
class TreeViewTest : public TComCtrlsTest {
protected:
  void SetUp() override {
    TComCtrlsTest::SetUp();
    Tree = MakeControl(WC_TREEVIEW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
  }
  HTREEITEM Add(HTREEITEM Parent, const char* Text, LPARAM Param = 0, HTREEITEM After = TVI_LAST,
                int Children = -2) {
    TVINSERTSTRUCTA In;
    In.hParent = Parent;
    In.hInsertAfter = After;
    In.item.mask = TVIF_TEXT | TVIF_PARAM | (Children != -2 ? TVIF_CHILDREN : 0);
    In.item.pszText = const_cast<char*>(Text);
    In.item.lParam = Param;
    In.item.cChildren = Children;
    return reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_INSERTITEMA, 0, LPARAM(&In)));
  }
  HTREEITEM Next(WPARAM Code, HTREEITEM From = nullptr) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_GETNEXTITEM, Code, LPARAM(From)));
  }
  std::string Text(HTREEITEM Item) {
    char B[256] = "";
    TVITEMA I;
    I.mask = TVIF_TEXT | TVIF_HANDLE;
    I.hItem = Item;
    I.pszText = B;
    I.cchTextMax = sizeof B;
    return SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&I)) ? std::string(B) : std::string("<invalid>");
  }
  std::vector<std::string> Children(HTREEITEM Parent) {
    std::vector<std::string> R;
    for (HTREEITEM C = Next(TVGN_CHILD, Parent); C; C = Next(TVGN_NEXT, C)) R.push_back(Text(C));
    return R;
  }
  std::vector<std::string> RootTexts() {
    std::vector<std::string> R;
    for (HTREEITEM C = Next(TVGN_ROOT); C; C = Next(TVGN_NEXT, C)) R.push_back(Text(C));
    return R;
  }
  TRect ItemRect(HTREEITEM Item, bool TextOnly) {
    TRect R;
    std::memcpy(static_cast<void*>(&R), &Item, sizeof Item);
    EXPECT_TRUE(SendMessageA(Tree, TVM_GETITEMRECT, TextOnly, LPARAM(&R)));
    return R;
  }
  HTREEITEM Caret() { return Next(TVGN_CARET); }
  HWND Tree = nullptr;
};
}  // namespace

TEST_F(TreeViewTest, InsertKeepsOrderAndRelations) {
  HTREEITEM A = Add(TVI_ROOT, "A");
  HTREEITEM C = Add(TVI_ROOT, "C");
  Add(TVI_ROOT, "B", 0, A);           // after A
  Add(TVI_ROOT, "0", 0, TVI_FIRST);   // first
  HTREEITEM A2 = Add(A, "a2");
  Add(A, "a1", 0, TVI_FIRST);
  Add(C, "c", 0, TVI_SORT);
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"0", "A", "B", "C"}));
  EXPECT_EQ(Children(A), (std::vector<std::string>{"a1", "a2"}));
  EXPECT_EQ(Next(TVGN_PARENT, A2), A);
  EXPECT_EQ(Next(TVGN_PARENT, A), nullptr) << "top-level items have no parent";
  EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 7);
  // Sorted inserts find their place among the siblings.
  Add(TVI_ROOT, "Ba", 0, TVI_SORT);
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"0", "A", "B", "Ba", "C"}));
  EXPECT_EQ(Add(reinterpret_cast<HTREEITEM>(0x1234), "x"), nullptr) << "a stale parent fails";
}

TEST_F(TreeViewTest, NullAndEmptyTextsAreEmpty) {
  HTREEITEM N = Add(TVI_ROOT, nullptr);
  HTREEITEM E = Add(TVI_ROOT, "");
  EXPECT_EQ(Text(N), "");
  EXPECT_EQ(Text(E), "");
  TVITEMA I;
  I.mask = TVIF_TEXT | TVIF_HANDLE;
  I.hItem = N;
  I.pszText = nullptr;
  EXPECT_TRUE(SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&I)));
  EXPECT_EQ(Text(N), "");
  UpdateWindow(Parent);  // painting empty labels is fine
}

TEST_F(TreeViewTest, ExpandAndCollapseNotifyAndMayBeRefused) {
  HTREEITEM A = Add(TVI_ROOT, "A", 11);
  HTREEITEM Child = Add(A, "a", 12);
  EXPECT_FALSE(ItemRect(A, false).IsEmpty());
  TRect Dummy;
  std::memcpy(static_cast<void*>(&Dummy), &Child, sizeof Child);
  EXPECT_FALSE(SendMessageA(Tree, TVM_GETITEMRECT, FALSE, LPARAM(&Dummy))) << "a collapsed child has no row";

  EXPECT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(A)));
  EXPECT_EQ(Codes({TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}),
            (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
  EXPECT_EQ(Notes().back().Tree.itemNew.lParam, 11);
  EXPECT_EQ(Notes().back().Tree.action, TVE_EXPAND);
  EXPECT_EQ(ItemRect(Child, false).Top, ItemRect(A, false).Bottom);

  // The selection never stays inside a collapsed branch.
  SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(Child));
  EXPECT_EQ(Caret(), Child);
  Answers()[TVN_ITEMEXPANDINGA] = [](NMHDR*) { return LRESULT(1); };
  EXPECT_FALSE(SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(A))) << "the parent refused";
  EXPECT_EQ(Caret(), Child);
  Answers().clear();
  EXPECT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE, LPARAM(A)));
  EXPECT_EQ(Caret(), A);
}

TEST_F(TreeViewTest, ChildrenAreMadeOnDemandWhenTheItemOpens) {
  HTREEITEM Folder = Add(TVI_ROOT, "folder", 1, TVI_LAST, 1);
  HTREEITEM Asks = Add(TVI_ROOT, "asks", 2, TVI_LAST, I_CHILDRENCALLBACK);
  Add(TVI_ROOT, "leaf");
  // The parent fills the folder while it expands, and says the second has
  // children only when asked.
  Answers()[TVN_ITEMEXPANDINGA] = [&](NMHDR* H) {
    auto* N = reinterpret_cast<NMTREEVIEWA*>(H);
    if (N->action == TVE_EXPAND && !Next(TVGN_CHILD, N->itemNew.hItem)) {
      Add(N->itemNew.hItem, "made 1");
      Add(N->itemNew.hItem, "made 2");
    }
    return LRESULT(0);
  };
  int Asked = 0;
  Answers()[TVN_GETDISPINFOA] = [&](NMHDR* H) {
    auto& I = reinterpret_cast<NMTVDISPINFOA*>(H)->item;
    if (I.mask & TVIF_CHILDREN) {
      ++Asked;
      I.cChildren = 1;
    }
    return LRESULT(0);
  };
  // A click on the button of the folder opens it.
  const TRect R = ItemRect(Folder, false);
  const TPoint Btn = ScreenOf(Tree, {19 / 2, (R.Top + R.Bottom) / 2});
  Screen().Click(Btn.X, Btn.Y);
  Pump();
  EXPECT_EQ(Children(Folder), (std::vector<std::string>{"made 1", "made 2"}));
  EXPECT_TRUE(SendMessageA(Tree, TVM_EXPAND, TVE_EXPAND, LPARAM(Asks)));
  EXPECT_GT(Asked, 0);
  EXPECT_EQ(Children(Asks).size(), 2u);
  // Collapse-reset forgets the made children, so the next opening asks again.
  SendMessageA(Tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, LPARAM(Folder));
  EXPECT_TRUE(Children(Folder).empty());
}

namespace {
int CALLBACK_ByParamDescending(LPARAM A, LPARAM B, LPARAM) { return int(B - A); }
int ThrowingCompare(LPARAM, LPARAM, LPARAM) { throw std::runtime_error("compare failed"); }
}  // namespace

TEST_F(TreeViewTest, SortsChildrenByTextOrCallbackAndSurvivesARaisingCallback) {
  HTREEITEM P = Add(TVI_ROOT, "p");
  Add(P, "delta", 4);
  Add(P, "Alpha", 1);
  HTREEITEM C = Add(P, "charlie", 3);
  Add(C, "z", 0);
  Add(C, "y", 0);
  Add(P, "bravo", 2);
  EXPECT_TRUE(SendMessageA(Tree, TVM_SORTCHILDREN, FALSE, LPARAM(P)));
  EXPECT_EQ(Children(P), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"})) << "case is ignored";
  EXPECT_EQ(Children(C), (std::vector<std::string>{"z", "y"})) << "not recursive";

  TVSORTCB Cb;
  Cb.hParent = P;
  Cb.lpfnCompare = &CALLBACK_ByParamDescending;
  EXPECT_TRUE(SendMessageA(Tree, TVM_SORTCHILDRENCB, FALSE, LPARAM(&Cb)));
  EXPECT_EQ(Children(P), (std::vector<std::string>{"delta", "charlie", "bravo", "Alpha"}));

  Cb.lpfnCompare = &ThrowingCompare;
  EXPECT_THROW(SendMessageA(Tree, TVM_SORTCHILDRENCB, FALSE, LPARAM(&Cb)), std::runtime_error);
  EXPECT_EQ(Children(P), (std::vector<std::string>{"delta", "charlie", "bravo", "Alpha"})) << "order untouched";
  SendMessageA(Tree, TVM_SORTCHILDREN, TRUE, LPARAM(TVI_ROOT));
  EXPECT_EQ(Children(C), (std::vector<std::string>{"y", "z"})) << "recursive";
}

TEST_F(TreeViewTest, DeletingNotifiesEachItemOnceAndToleratesDeletesFromTheHandler) {
  HTREEITEM A = Add(TVI_ROOT, "A", 1);
  Add(A, "a1", 2);
  Add(A, "a2", 3);
  HTREEITEM B = Add(TVI_ROOT, "B", 4);
  HTREEITEM C = Add(TVI_ROOT, "C", 5);
  SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(A));
  // While A's subtree goes, the handler deletes B (elsewhere) and tries A
  // again (already going).
  std::vector<LPARAM> Gone;
  Answers()[TVN_DELETEITEMA] = [&](NMHDR* H) {
    auto* N = reinterpret_cast<NMTREEVIEWA*>(H);
    Gone.push_back(N->itemOld.lParam);
    if (N->itemOld.lParam == 2) {
      EXPECT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(B)));
      EXPECT_FALSE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(A)));
    }
    return LRESULT(0);
  };
  EXPECT_TRUE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(A)));
  std::sort(Gone.begin(), Gone.end());
  EXPECT_EQ(Gone, (std::vector<LPARAM>{1, 2, 3, 4}));
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"C"}));
  EXPECT_EQ(Text(A), "<invalid>") << "a deleted handle fails";
  EXPECT_FALSE(SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(A)));
  EXPECT_EQ(Caret(), C) << "the selection moved off the deleted item";
  SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
  EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Caret(), nullptr);
}

TEST_F(TreeViewTest, KeyboardMovesExpandsAndCollapses) {
  HTREEITEM A = Add(TVI_ROOT, "A");
  HTREEITEM A1 = Add(A, "a1");
  HTREEITEM B = Add(TVI_ROOT, "B");
  SetFocus(Tree);
  SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(A));
  struct TStep {
    WORD Key;
    HTREEITEM Want;
    bool AExpanded;
  };
  const TStep Steps[] = {
      {VK_DOWN, B, false}, {VK_UP, A, false},   {VK_RIGHT, A, true}, {VK_RIGHT, A1, true},
      {VK_LEFT, A, true},  {VK_LEFT, A, false}, {VK_END, B, false},  {VK_HOME, A, false},
  };
  for (const TStep& S : Steps) {
    SCOPED_TRACE(S.Key);
    Screen().KeyPress(S.Key);
    Pump();
    EXPECT_EQ(Caret(), S.Want);
    TVITEMA I;
    I.mask = TVIF_STATE | TVIF_HANDLE;
    I.hItem = A;
    I.stateMask = TVIS_EXPANDED;
    SendMessageA(Tree, TVM_GETITEMA, 0, LPARAM(&I));
    EXPECT_EQ((I.state & TVIS_EXPANDED) != 0, S.AExpanded);
  }
  // The parent heard each move with its cause.
  const auto& N = Notes();
  auto It = std::find_if(N.begin(), N.end(), [](const TNote& X) { return X.Code == TVN_SELCHANGEDA; });
  ASSERT_NE(It, N.end());
}

TEST_F(TreeViewTest, ClickSelectsAndDraggingAnItemStartsADrag) {
  HTREEITEM A = Add(TVI_ROOT, "Alpha", 7);
  HTREEITEM B = Add(TVI_ROOT, "Bravo", 8);
  const TRect R = ItemRect(B, true);
  const TPoint P = ScreenOf(Tree, {R.Left + 5, (R.Top + R.Bottom) / 2});
  Screen().Click(P.X, P.Y);
  Pump();
  EXPECT_EQ(Caret(), B);
  EXPECT_EQ(Codes({NM_CLICK}).size(), 1u);
  // Press on A and move beyond the drag threshold.
  Notes().clear();
  const TRect RA = ItemRect(A, true);
  const TPoint PA = ScreenOf(Tree, {RA.Left + 5, (RA.Top + RA.Bottom) / 2});
  Screen().MouseDown(PA.X, PA.Y);
  Screen().MouseMove(PA.X + 1, PA.Y);
  Pump();
  EXPECT_TRUE(Codes({TVN_BEGINDRAGA}).empty()) << "inside the threshold";
  Screen().MouseMove(PA.X + 20, PA.Y + 20);
  Screen().MouseUp(PA.X + 20, PA.Y + 20);
  Pump();
  ASSERT_EQ(Codes({TVN_BEGINDRAGA}).size(), 1u);
  auto Drag = std::find_if(Notes().begin(), Notes().end(), [](const TNote& N) { return N.Code == TVN_BEGINDRAGA; });
  EXPECT_EQ(Drag->Tree.itemNew.hItem, A);
  EXPECT_EQ(Drag->Tree.itemNew.lParam, 7);

  // With drag and drop off no drag starts.
  SetWindowLongPtrA(Tree, GWL_STYLE, GetWindowLongPtrA(Tree, GWL_STYLE) | TVS_DISABLEDRAGDROP);
  Notes().clear();
  Screen().MouseDown(PA.X, PA.Y);
  Screen().MouseMove(PA.X + 20, PA.Y + 20);
  Screen().MouseUp(PA.X + 20, PA.Y + 20);
  Pump();
  EXPECT_TRUE(Codes({TVN_BEGINDRAGA}).empty());
}

TEST_F(TreeViewTest, HundredThousandItemsScrollToTheEnd) {
  SendMessageA(Tree, WM_SETREDRAW, FALSE, 0);
  HTREEITEM Last = nullptr;
  for (int i = 0; i < 100000; ++i) Last = Add(TVI_ROOT, "item", i);
  SendMessageA(Tree, WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(SendMessageA(Tree, TVM_GETCOUNT, 0, 0), 100000);
  EXPECT_TRUE(SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(Last)));
  UpdateWindow(Parent);
  const TRect R = ItemRect(Last, false);
  TRect Client;
  GetClientRect(Tree, &Client);
  EXPECT_GE(R.Top, 0);
  EXPECT_LE(R.Bottom, Client.Bottom) << "the last row shows";
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Tree, SB_VERT, &Si));
  EXPECT_EQ(Si.nMax, 99999);
  EXPECT_EQ(Si.nPos + int(Si.nPage), 100000);
}

TEST_F(TreeViewTest, PaintsSelectionLinesAndButtonsInTheClassicColours) {
  HTREEITEM A = Add(TVI_ROOT, "Alpha");
  Add(A, "child");
  HTREEITEM B = Add(TVI_ROOT, "Bravo");
  SetFocus(Tree);
  SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(B));
  Shot("treeview.png");
  const TRect RB = ItemRect(B, true);
  // The focused selection: the highlight behind the label (its left edge
  // carries the focus rectangle's dots, so look one pixel in).
  EXPECT_EQ(Pixel(Tree, RB.Left + 1, RB.Top + 1), GetSysColor(COLOR_HIGHLIGHT));
  const TRect RA = ItemRect(A, false);
  const int Mid = (RA.Top + RA.Bottom) / 2;
  // A's button: a grey box around a plus sign centred on the line column.
  const int X = 19 / 2;
  EXPECT_EQ(Pixel(Tree, X - 4, Mid), GetSysColor(COLOR_GRAYTEXT)) << "box edge";
  EXPECT_EQ(Pixel(Tree, X, Mid - 2), GetSysColor(COLOR_WINDOWTEXT)) << "plus bar";
  EXPECT_EQ(Pixel(Tree, X - 3, Mid - 3), GetSysColor(COLOR_WINDOW)) << "box inside";
  // Unfocused, a selection shown always turns the button face.
  SetFocus(Parent);
  EXPECT_EQ(Pixel(Tree, RB.Left + 1, RB.Top + 1), GetSysColor(COLOR_BTNFACE));
}

namespace {
// What the parent heard at the end of a label edit.
struct TEndHeard {
  int Count = 0;
  bool HadText = false;
  std::string Text;
};
// Answers the end notification with Accept and records what it carried.
void AnswerEnd(UINT Code, TEndHeard& Heard, LRESULT Accept) {
  Answers()[Code] = [&Heard, Accept, Code](NMHDR* H) -> LRESULT {
    const char* T = Code == TVN_ENDLABELEDITA ? reinterpret_cast<NMTVDISPINFOA*>(H)->item.pszText
                                              : reinterpret_cast<NMLVDISPINFOA*>(H)->item.pszText;
    ++Heard.Count;
    Heard.HadText = T != nullptr;
    Heard.Text = T ? T : "";
    return Accept;
  };
}
}  // namespace

TEST_F(TreeViewTest, LabelEditEndsByEnterEscFocusOrRequestAndTheParentDecides) {
  HTREEITEM A = Add(TVI_ROOT, "Alpha", 7);
  Add(TVI_ROOT, "Bravo");
  struct TCase {
    std::function<void(HWND Edit)> End;
    LRESULT Accept;
    bool HadText;
    const char* Want;  // the label afterwards
    const char* Why;
  };
  auto Key = [this](WORD Vk) {
    return [this, Vk](HWND) {
      Screen().KeyPress(Vk);
      Pump();
    };
  };
  const TCase Cases[] = {
      {Key(VK_RETURN), TRUE, true, "Zed", "Enter commits"},
      {Key(VK_RETURN), FALSE, true, "Alpha", "the parent may refuse the text"},
      {Key(VK_ESCAPE), TRUE, false, "Alpha", "Esc cancels"},
      {[this](HWND) { SetFocus(Parent); }, TRUE, true, "Zed", "losing the focus commits"},
      {[this](HWND) { SendMessageA(Tree, TVM_ENDEDITLABELNOW, FALSE, 0); }, TRUE, true, "Zed", "ended by request"},
      {[this](HWND) { SendMessageA(Tree, TVM_ENDEDITLABELNOW, TRUE, 0); }, TRUE, false, "Alpha", "cancelled by request"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TVITEMA Reset;
    Reset.mask = TVIF_TEXT | TVIF_HANDLE;
    Reset.hItem = A;
    Reset.pszText = const_cast<char*>("Alpha");
    SendMessageA(Tree, TVM_SETITEMA, 0, LPARAM(&Reset));
    TEndHeard Heard;
    AnswerEnd(TVN_ENDLABELEDITA, Heard, C.Accept);
    Notes().clear();
    HWND Edit = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(A)));
    ASSERT_NE(Edit, nullptr);
    EXPECT_EQ(Codes({TVN_BEGINLABELEDITA}).size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0)), Edit);
    EXPECT_EQ(GetParent(Edit), Tree);
    EXPECT_EQ(GetFocus(), Edit);
    EXPECT_EQ(WindowTextOf(Edit), "Alpha");
    Screen().TypeText("Zed");  // replaces the selected text
    Pump();
    C.End(Edit);
    EXPECT_EQ(Heard.Count, 1);
    EXPECT_EQ(Heard.HadText, C.HadText);
    if (C.HadText) {
      EXPECT_EQ(Heard.Text, "Zed");
    }
    EXPECT_EQ(Text(A), C.Want);
    EXPECT_FALSE(IsWindow(Edit));
    EXPECT_EQ(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
  }
}

TEST_F(TreeViewTest, LabelEditMayBeRefusedRetextedReopenedOrLoseItsItem) {
  HTREEITEM A = Add(TVI_ROOT, "Alpha");
  HTREEITEM B = Add(TVI_ROOT, "Bravo");
  // Refused by the parent: no edit is left behind.
  Answers()[TVN_BEGINLABELEDITA] = [](NMHDR*) -> LRESULT { return TRUE; };
  EXPECT_EQ(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(A)), 0);
  EXPECT_EQ(GetWindow(Tree, GW_CHILD), nullptr);
  EXPECT_EQ(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(0x1234)), 0) << "a stale item";

  // The begin handler finds the edit and may change what it offers.
  Answers()[TVN_BEGINLABELEDITA] = [this](NMHDR*) -> LRESULT {
    SetWindowTextA(reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0)), "Display name");
    return FALSE;
  };
  // A refused name: the end handler asks for a new edit later, which must
  // find the view idle.
  int Ends = 0;
  Answers()[TVN_ENDLABELEDITA] = [&](NMHDR*) -> LRESULT {
    if (++Ends == 1) PostMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(A));
    return FALSE;
  };
  HWND Edit = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(A)));
  ASSERT_NE(Edit, nullptr);
  EXPECT_EQ(WindowTextOf(Edit), "Display name");
  DWORD From = 1, To = 0;
  SendMessageA(Edit, EM_GETSEL, WPARAM(&From), LPARAM(&To));
  EXPECT_EQ(From, 0u);
  EXPECT_EQ(To, 12u) << "the offered text is selected";
  Screen().KeyPress(VK_RETURN);
  Pump();
  HWND Again = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(Again, nullptr) << "the posted request opened a new edit";
  EXPECT_EQ(GetFocus(), Again);
  EXPECT_EQ(Text(A), "Alpha");

  // Starting another edit ends this one first; deleting the edited item
  // closes its edit without an end notification.
  SendMessageA(Tree, TVM_EDITLABELA, 0, LPARAM(B));
  EXPECT_EQ(Ends, 2);
  EXPECT_FALSE(IsWindow(Again));
  HWND OnB = reinterpret_cast<HWND>(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(OnB, nullptr);
  SendMessageA(Tree, TVM_DELETEITEM, 0, LPARAM(B));
  EXPECT_FALSE(IsWindow(OnB));
  EXPECT_EQ(Ends, 2);
  EXPECT_EQ(SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(TreeViewTest, ASlowSecondClickOnTheSelectedLabelStartsAnEdit) {
  HTREEITEM A = Add(TVI_ROOT, "Alpha");
  Add(TVI_ROOT, "Bravo");
  const TRect R = ItemRect(A, true);
  const TPoint P = ScreenOf(Tree, {R.Left + 5, (R.Top + R.Bottom) / 2});
  auto ClickLater = [&] {
    AdvanceClock(GetDoubleClickTime() + 50);
    Screen().Click(P.X, P.Y);
    Pump();
  };
  auto Editing = [&] {
    AdvanceClock(GetDoubleClickTime() + 50);
    Pump();
    return SendMessageA(Tree, TVM_GETEDITCONTROL, 0, 0) != 0;
  };
  ClickLater();
  EXPECT_EQ(Caret(), A);
  EXPECT_FALSE(Editing()) << "without TVS_EDITLABELS";
  SetWindowLongPtrA(Tree, GWL_STYLE, GetWindowLongPtrA(Tree, GWL_STYLE) | TVS_EDITLABELS);
  SendMessageA(Tree, TVM_SELECTITEM, TVGN_CARET, 0);
  ClickLater();
  EXPECT_FALSE(Editing()) << "the click that selects does not edit";
  ClickLater();
  EXPECT_TRUE(Editing()) << "a second click on the selected label does";
  SendMessageA(Tree, TVM_ENDEDITLABELNOW, TRUE, 0);
  // A double click is not two slow clicks.
  ClickLater();
  Screen().Click(P.X, P.Y);
  Pump();
  EXPECT_FALSE(Editing());
}
