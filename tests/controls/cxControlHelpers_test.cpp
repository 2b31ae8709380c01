#include "ControlsWindowTest.h"

#include <functional>
#include "platform/forms/ControlMessages.h"
#include "platform/win/MessageQueue.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/SysMetrics.h"

TEST(cxControlHelpers, CharacterAndAcceleratorTests) {
  struct TCase {
    char Ch;
    int Kind;
    bool Want;
  };
  const TCase Cases[] = {{'5', 0, true}, {'-', 0, true}, {'.', 0, false}, {'.', 1, true},
                         {'E', 1, false}, {'E', 2, true}, {'e', 2, true},  {'.', 7, false}};
  for (const TCase& C : Cases) EXPECT_EQ(IsNumericChar(C.Ch, C.Kind), C.Want) << C.Ch << " kind " << C.Kind;
  EXPECT_EQ(StripAccelChars("&File"), "File");
  EXPECT_EQ(StripAccelChars("A&&B"), "A&B");
  EXPECT_EQ(StripAccelChars("Save&"), "Save_");
  EXPECT_FALSE(IsTextChar('\t'));
  EXPECT_TRUE(IsTextChar(' '));
}

namespace {
struct TWatcher : IcxMouseTrackingCaller {
  int Left = 0;
  void NotifyMouseLeft() override { ++Left; }
};
class TPanel : public TCustomControl {
public:
  explicit TPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Leaves = 0;
  int Metrics = 0;
  void Dispatch(TMessage& M) override {
    if (M.Msg == CM_MOUSELEAVE) ++Leaves;
    if (M.Msg == CM_SCROLLBARMETRICSCHANGED) ++Metrics;
    TCustomControl::Dispatch(M);
  }
};
}  // namespace

using MouseLeaveWatchTest = ControlsWindowTest;

TEST_F(MouseLeaveWatchTest, LeavingTheBoundsTellsTheCallerAndTheControlOnlyOnceOutsideIt) {
  TForm F(nullptr);
  F.SetBounds(100, 100, 300, 200);
  TPanel P(&F);
  P.SetParent(&F);
  P.SetBounds(10, 10, 200, 100);
  F.Show();
  Pump();
  TWatcher W;
  MoveTo(&P, {20, 20});
  StartMouseLeaveWatch(&P, {10, 10, 50, 50}, &W);
  StartMouseLeaveWatch(&P, {10, 10, 50, 50}, &W);
  Wait(30);
  EXPECT_EQ(W.Left, 0);
  MoveTo(&P, {100, 60});  // out of the bounds, still in the control
  Wait(20);
  EXPECT_EQ(W.Left, 1) << "one watch, though started twice";
  EXPECT_EQ(P.Leaves, 0) << "the cursor is still over the control";
  EXPECT_FALSE(IsMouseLeaveWatched(&W));
  StartMouseLeaveWatch(&P, {0, 0, 200, 100}, &W);
  MoveTo(&F, {290, 190});
  Wait(20);
  EXPECT_EQ(W.Left, 2);
  EXPECT_EQ(P.Leaves, 1);
}

TEST_F(MouseLeaveWatchTest, AWatchStillRunningAtShutdownIsStoppedQuietly) {
  TWatcher W;
  StartMouseLeaveWatch(nullptr, {0, 0, 10, 10}, &W);
  ASSERT_TRUE(IsMouseLeaveWatched(&W));
  EXPECT_NO_THROW(StopAllMouseLeaveWatches());
  EXPECT_FALSE(IsMouseLeaveWatched(&W));
  Wait(30);
  EXPECT_EQ(W.Left, 0);
}

TEST_F(MouseLeaveWatchTest, SettingsChangeReachesEveryRegisteredControlOnce) {
  TForm F(nullptr);
  TPanel A(&F), B(&F);
  A.SetParent(&F);
  B.SetParent(&F);
  F.Show();
  Pump();
  auto& S = TcxSettingsController::Instance();
  S.Add(&A);
  S.Add(&A);
  S.Add(&B);
  SendMessageA(S.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  SendMessageA(S.Handle(), WM_SETTINGCHANGE, 0, 0);
  Pump();
  EXPECT_EQ(A.Metrics, 1);
  EXPECT_EQ(B.Metrics, 1);
  S.Remove(&A);
  S.Remove(&B);
  EXPECT_EQ(S.Handle(), nullptr) << "no window while nothing is registered";
}

using DetectDragTest = ControlsWindowTest;

TEST_F(DetectDragTest, ReportsReleaseLeavingTheSquareAndEsc) {
  TForm F(nullptr);
  F.SetBounds(100, 100, 300, 200);
  F.Show();
  Pump();
  SetFocus(F.Handle());
  struct TCase {
    std::function<void(TForm*)> Input;
    int Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {[](auto F) { HeadlessDisplay().MouseUp(F->ClientToScreen({50, 50}).X, F->ClientToScreen({50, 50}).Y); }, 0,
       "released"},
      {[](auto F) { HeadlessDisplay().MouseMove(F->ClientToScreen({57, 50}).X, F->ClientToScreen({57, 50}).Y); }, 1,
       "left the square"},
      {[](auto) { HeadlessDisplay().KeyDown(VK_ESCAPE); }, 2, "Esc"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    const TPoint S = F.ClientToScreen({50, 50});
    D().MouseMove(S.X, S.Y);
    Pump();
    // The user acts once the detector waits.
    bool Done = false;
    D().SetIdleHandler([&] {
      if (Done) return false;
      Done = true;
      C.Input(&F);
      return true;
    });
    EXPECT_EQ(DetectDrag(F.Handle()), C.Want);
    D().SetIdleHandler(nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    D().KeyUp(VK_ESCAPE);
    Pump();
  }
}

using ControlCursorsTest = ControlsWindowTest;

TEST_F(ControlCursorsTest, TheHandCursorJoinsTheScreensList) {
  RegisterControlCursors();
  EXPECT_EQ(Screen->Cursors(crcxHandPoint), LoadCursorA(nullptr, IDC_HAND));
  EXPECT_NE(Screen->Cursors(crcxHandPoint), nullptr);
}
