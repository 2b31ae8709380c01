#include "app/desktop/SimpleTimer.h"

#include <vector>

#include "DesktopTestSupport.h"

namespace {
// Records each tick with the clock and its sender.
struct TTicks : public TObject {
  std::vector<std::pair<DWORD, TObject*>> Seen;
  void Tick(TObject* Sender) { Seen.emplace_back(GetTickCount(), Sender); }
  TNotifyEvent Event() { return TNotifyEvent(this, &TTicks::Tick); }
  std::size_t Count(TObject* Sender) const {
    std::size_t N = 0;
    for (auto& S : Seen) N += S.second == Sender;
    return N;
  }
};

class SimpleTimerTest : public TDesktopTest {};
}  // namespace

TEST_F(SimpleTimerTest, TimersTickThroughTheSharedWindowInOrderWithThemselvesAsSender) {
  TTicks Ticks;
  EXPECT_EQ(SimpleTimerWindow(), nullptr);
  TSimpleTimer Fast(20, Ticks.Event()), Slow(50, Ticks.Event());
  const HWND Shared = SimpleTimerWindow();
  ASSERT_NE(Shared, nullptr);
  EXPECT_TRUE(IsWindow(Shared));
  EXPECT_FALSE(Fast.GetEnabled()) << "a new timer waits to be started";
  ASSERT_TRUE(Fast.Start());
  ASSERT_TRUE(Slow.Start());
  const DWORD T0 = GetTickCount();
  Run(100);
  EXPECT_EQ(Ticks.Count(&Fast), 5u);
  EXPECT_EQ(Ticks.Count(&Slow), 2u);
  // In the order their periods end.
  std::vector<DWORD> Times;
  for (auto& S : Ticks.Seen) Times.push_back(S.first - T0);
  EXPECT_TRUE(std::is_sorted(Times.begin(), Times.end()));
  EXPECT_EQ(Ticks.Seen.front().second, &Fast);
  EXPECT_EQ(SimpleTimerWindow(), Shared) << "one window for all";
}

TEST_F(SimpleTimerTest, IntervalZeroHaltsWhileEnabledAndANewIntervalResumes) {
  TTicks Ticks;
  TSimpleTimer T(0, Ticks.Event());
  EXPECT_FALSE(T.Start()) << "interval 0 never starts";
  T.SetEnabled(true);
  EXPECT_FALSE(T.GetEnabled());

  T.SetInterval(30);
  ASSERT_TRUE(T.Start());
  Run(60);
  EXPECT_EQ(Ticks.Seen.size(), 2u);
  T.SetInterval(0);
  EXPECT_TRUE(T.GetEnabled()) << "halted, still enabled";
  Run(100);
  EXPECT_EQ(Ticks.Seen.size(), 2u);
  T.SetInterval(20);
  Run(40);
  EXPECT_EQ(Ticks.Seen.size(), 4u) << "ticks again every 20 ms";

  // Clearing the event halts the ticks too; Stop(true) disables.
  T.SetOnTimer(nullptr);
  EXPECT_TRUE(T.GetEnabled());
  T.SetOnTimer(Ticks.Event());
  Run(40);
  EXPECT_EQ(Ticks.Seen.size(), 4u) << "a new event does not restart the halted timer";
  EXPECT_TRUE(T.Start());
  Run(20);
  EXPECT_EQ(Ticks.Seen.size(), 5u);
  EXPECT_TRUE(T.Stop(true));
  EXPECT_FALSE(T.GetEnabled());
  Run(60);
  EXPECT_EQ(Ticks.Seen.size(), 5u);
}

TEST_F(SimpleTimerTest, StartingAgainRestartsThePeriodAndOneShotStopsItself) {
  TTicks Ticks;
  TSimpleTimer T(50, Ticks.Event());
  const DWORD T0 = GetTickCount();
  T.Start();
  Run(40);
  T.SetEnabled(true);  // enabled again: the period counts from now
  Run(40);
  EXPECT_TRUE(Ticks.Seen.empty());
  Run(20);
  ASSERT_EQ(Ticks.Seen.size(), 1u);
  EXPECT_EQ(Ticks.Seen[0].first - T0, 90u);

  TSimpleTimer Once(20, Ticks.Event());
  Once.SetOneShot(true);
  Once.Start();
  Run(100);
  EXPECT_EQ(Ticks.Count(&Once), 1u);
  EXPECT_FALSE(Once.GetEnabled());
}

TEST_F(SimpleTimerTest, TheLastTimerTakesTheWindowAndAGoneTimerHearsNothing) {
  TTicks Ticks;
  HWND First = nullptr;
  {
    auto A = std::make_unique<TSimpleTimer>(10, Ticks.Event());
    TSimpleTimer B(10, Ticks.Event());
    First = SimpleTimerWindow();
    A->Start();
    AdvanceClock(30);  // A's tick is due, not yet delivered
    A.reset();
    Pump();
    EXPECT_TRUE(Ticks.Seen.empty()) << "a destroyed timer's due tick goes nowhere";
    EXPECT_TRUE(IsWindow(First)) << "B still holds the window";
  }
  EXPECT_FALSE(IsWindow(First));
  EXPECT_EQ(SimpleTimerWindow(), nullptr);
  TSimpleTimer C(10, Ticks.Event());
  ASSERT_NE(SimpleTimerWindow(), nullptr);
  EXPECT_TRUE(IsWindow(SimpleTimerWindow()));
  C.Start();
  Run(10);
  EXPECT_EQ(Ticks.Count(&C), 1u);
}
