#include "ControlsWindowTest.h"
#include "controls/base/cxTimer.h"

namespace {
struct TCounter : TObject {
  int Ticks = 0;
  void Tick(TObject*) { ++Ticks; }
};
}  // namespace

using cxTimerTest = ControlsWindowTest;

TEST_F(cxTimerTest, RunsOnlyWithAHandlerAndTwoTimersShareTheWindowIndependently) {
  TCounter A, B;
  TcxTimer TA, TB;
  TA.SetInterval(100);
  EXPECT_FALSE(TA.IsRunning()) << "no handler, no timer";
  TA.SetOnTimer(TNotifyEvent(&A, &TCounter::Tick));
  TB.SetInterval(250);
  TB.SetOnTimer(TNotifyEvent(&B, &TCounter::Tick));
  EXPECT_TRUE(TA.IsRunning());
  Wait(500);
  EXPECT_EQ(A.Ticks, 5);
  EXPECT_EQ(B.Ticks, 2);
  TA.SetInterval(0);
  EXPECT_EQ(TA.GetInterval(), 100u) << "0 leaves the interval";
  TA.SetEnabled(false);
  Wait(200);
  EXPECT_EQ(A.Ticks, 5);
  EXPECT_EQ(B.Ticks, 2);
}

TEST_F(cxTimerTest, ChangingTheIntervalStartsAFullNewInterval) {
  TCounter A;
  TcxTimer T;
  T.SetInterval(100);
  T.SetOnTimer(TNotifyEvent(&A, &TCounter::Tick));
  Wait(90);
  T.SetInterval(50);
  Wait(40);
  EXPECT_EQ(A.Ticks, 0);
  Wait(10);
  EXPECT_EQ(A.Ticks, 1);
}
