#include "app/desktop/CoolTrayIcon.h"

#include "DesktopTestSupport.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Colors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"

namespace {
// Records the icon's events by name.
struct TEvents : public TObject {
  std::vector<std::string> Seen;
  void Click(TObject*) { Seen.push_back("click"); }
  void DblClick(TObject*) { Seen.push_back("dblclick"); }
  void Down(TObject*, TMouseButton B, TShiftState, Integer, Integer) { Seen.push_back("down" + std::to_string(int(B))); }
  void Up(TObject*, TMouseButton B, TShiftState, Integer, Integer) { Seen.push_back("up" + std::to_string(int(B))); }
  void Enter(TObject*) { Seen.push_back("enter"); }
  void Exit(TObject*) { Seen.push_back("exit"); }
  void Balloon(TObject*) { Seen.push_back("balloon"); }
  void Cycle(TObject*, Integer Next) { Seen.push_back("cycle" + std::to_string(Next)); }
  std::vector<std::string> Take() { return std::exchange(Seen, {}); }
};

class CoolTrayIconTest : public TDesktopTest {
protected:
  // The icon's window and id as the tray knows them.
  static HWND Wnd() { return TCoolTrayIcon::HandlerWindow(); }
  void Notify(TCoolTrayIcon& T, UINT Event) {
    TrayIconNotify(Wnd(), T.IconId(), Event);
    Pump();
  }
  // A list of N 16x16 images of different colours.
  static void Fill(TImageList& List, int N) {
    const TColor Colours[] = {clRed, clLime, clBlue, clYellow};
    for (int I = 0; I < N; ++I) {
      TBitmap B;
      B.SetSize(16, 16);
      B.Canvas()->Brush()->SetColor(Colours[I % 4]);
      B.Canvas()->FillRect({0, 0, 16, 16});
      List.Add(&B, nullptr);
    }
  }
};
}  // namespace

TEST_F(CoolTrayIconTest, ClicksWaitForTheDoubleClickTimeOnlyWhenDoubleClicksAreWanted) {
  TEvents E;
  TCoolTrayIcon T(nullptr);
  T.OnClick = TNotifyEvent(&E, &TEvents::Click);
  T.OnMouseDown = TMouseEvent(&E, &TEvents::Down);
  T.OnMouseUp = TMouseEvent(&E, &TEvents::Up);
  T.SetIconVisible(true);
  ASSERT_TRUE(HeadlessTray().Click(Wnd(), T.IconId()));
  Pump();
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"down0", "click", "up0"})) << "without OnDblClick: at the release";

  T.OnDblClick = TNotifyEvent(&E, &TEvents::DblClick);
  HeadlessTray().Click(Wnd(), T.IconId());
  Pump();
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"down0", "up0"}));
  Run(GetDoubleClickTime() + 10);
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"click"})) << "one double-click time after the press";

  HeadlessTray().DoubleClick(Wnd(), T.IconId());
  Pump();
  Run(GetDoubleClickTime() + 10);
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"down0", "up0", "dblclick", "up0"})) << "no click beside the double click";

  // A press held past the double-click time clicks at the release.
  Notify(T, WM_LBUTTONDOWN);
  Run(GetDoubleClickTime() + 10);
  Notify(T, WM_LBUTTONUP);
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"down0", "click", "up0"}));

  // Disabled: no mouse event, but the balloon's still come.
  T.OnBalloonHintClick = TNotifyEvent(&E, &TEvents::Balloon);
  T.Enabled = false;
  HeadlessTray().Click(Wnd(), T.IconId());
  Pump();
  Run(GetDoubleClickTime() + 10);
  HeadlessTray().ClickBalloon(Wnd(), T.IconId());
  Pump();
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"balloon"}));
}

TEST_F(CoolTrayIconTest, TheShellHearsOfTheIconItsTipAndANewTaskbar) {
  TCoolTrayIcon T(nullptr);
  T.SetHint(std::string(200, 'h'));
  EXPECT_TRUE(TrayIcons().empty()) << "not in the tray until shown";
  EXPECT_FALSE(T.ModifyIcon()) << "changing an icon that is not there fails";
  ASSERT_TRUE(T.ShowIcon());
  ASSERT_EQ(TrayIcons().size(), 1u);
  EXPECT_EQ(TrayIcons()[0].Tip, std::string(127, 'h'));
  EXPECT_EQ(TrayIcons()[0].CallbackMessage, WM_TRAYNOTIFY);
  T.SetShowHint(false);
  EXPECT_EQ(TrayIcons()[0].Tip, "");

  // A restarted taskbar forgets the icons; a visible one comes back.
  TCoolTrayIcon Hidden(nullptr);
  TrayRecreated();
  Pump();
  ASSERT_EQ(TrayIcons().size(), 1u);
  EXPECT_EQ(TrayIcons()[0].Id, T.IconId());
  EXPECT_NE(Hidden.IconId(), T.IconId());

  T.SetTrayBehavior(tbShellVersion3);
  EXPECT_EQ(TrayIcons()[0].Version, NOTIFYICON_VERSION);
  EXPECT_TRUE(T.HideIcon());
  EXPECT_TRUE(TrayIcons().empty());
  EXPECT_FALSE(T.GetIconVisible());
}

TEST_F(CoolTrayIconTest, IconListIndexIsClampedAndCyclingGoesRound) {
  TEvents E;
  TComponent Owner(nullptr);
  auto* List = new TImageList(&Owner);
  Fill(*List, 3);
  TCoolTrayIcon T(nullptr);
  T.OnCycle = TCycleEvent(&E, &TEvents::Cycle);
  T.SetIconList(List);
  T.SetIconIndex(7);
  EXPECT_EQ(T.GetIconIndex(), 2) << "clamped to the last image";
  T.SetIconVisible(true);
  T.SetCycleInterval(100);
  T.SetCycleIcons(true);
  EXPECT_EQ(T.GetIconIndex(), 0);
  std::vector<Integer> Indexes;
  for (int I = 0; I < 4; ++I) {
    Indexes.push_back(T.GetIconIndex());
    Run(100);
  }
  EXPECT_EQ(Indexes, (std::vector<Integer>{0, 1, 2, 0}));
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"cycle1", "cycle2", "cycle0", "cycle1"}));
  EXPECT_NE(TrayIcons()[0].Icon, nullptr);

  // Freeing the list clears the property instead of leaving it dangling.
  delete List;
  EXPECT_EQ(T.GetIconList(), nullptr);
  EXPECT_EQ(T.GetIconIndex(), 0);
  Run(200);
  auto* Menu = new TPopupMenu(&Owner);
  T.SetPopupMenu(Menu);
  delete Menu;
  EXPECT_EQ(T.GetPopupMenu(), nullptr);
}

TEST_F(CoolTrayIconTest, EnterAndExitFollowTheCursor) {
  TEvents E;
  TCoolTrayIcon T(nullptr);
  T.OnMouseEnter = TNotifyEvent(&E, &TEvents::Enter);
  T.OnMouseExit = TNotifyEvent(&E, &TEvents::Exit);
  T.SetIconVisible(true);
  T.SetWantEnterExitEvents(true);
  SetCursorPos(900, 740);
  Notify(T, WM_MOUSEMOVE);
  Notify(T, WM_MOUSEMOVE);
  Run(60);
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"enter"})) << "once, and no exit while the cursor stays";
  SetCursorPos(500, 300);
  Run(30);
  EXPECT_EQ(E.Take(), (std::vector<std::string>{"exit"}));
  Run(60);
  EXPECT_TRUE(E.Take().empty());
}
