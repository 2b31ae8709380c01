#include <cstdlib>
#include <string>
#include <vector>
#include "ControlsTestSupport.h"
#include "ControlsWindowTest.h"
#include "controls/base/cxScrollBar.h"
#include "platform/win/SysMetrics.h"

namespace {
struct TLog : TObject {
  std::vector<TScrollCode> Codes;
  int Changes = 0;
  int ForcePos = -1;
  void Scrolled(TObject*, TScrollCode C, Integer& P) {
    Codes.push_back(C);
    if (ForcePos >= 0) P = ForcePos;
  }
  void Changed(TObject*) { ++Changes; }
};

class ScrollBarTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    GetRootLookAndFeel()->ResetAssignedValues();
    Arrow = GetSystemMetrics(SM_CYHSCROLL);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 400, 300);
    Bar = new TcxScrollBar(Form.get());
    Bar->SetParent(Form.get());
    // A 100-pixel track between the two arrows.
    Bar->SetBounds(20, 20, 100 + 2 * Arrow, Arrow);
    Bar->OnScroll = TScrollEvent(&Log, &TLog::Scrolled);
    Bar->OnChange = TNotifyEvent(&Log, &TLog::Changed);
    Form->Show();
    Pump();
  }
  void TearDown() override {
    Form.reset();
    ControlsWindowTest::TearDown();
  }
  TPoint Mid(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
  int Arrow = 17;
  std::unique_ptr<TForm> Form;
  TcxScrollBar* Bar = nullptr;
  TLog Log;
};
}  // namespace

TEST_F(ScrollBarTest, ThumbIsProportionalAndRangesAreChecked) {
  struct TCase {
    int Min, Max, Page, Pos;
    TRect Thumb;
    const char* Why;
  };
  const int A = Arrow;
  const TCase Cases[] = {
      {0, 99, 10, 0, {A, 0, A + 10, A}, "page 10 of 100 on 100 pixels: 10 long"},
      {0, 99, 10, 90, {A + 90, 0, A + 100, A}, "the last page puts it at the end"},
      {0, 99, 2, 0, {A, 0, A + 8, A}, "never shorter than 8"},
      {5, 5, 1, 5, {}, "max = min: no thumb"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    Bar->ApplyRange(C.Min, C.Max, C.Pos, C.Page, true);
    EXPECT_EQ(Bar->ThumbRect(), C.Thumb);
    if (const char* Shots = std::getenv("SX_SHOTS_DIR")) {
      Pump();
      const TRect R{Bar->ClientToScreen({0, 0}), Bar->ClientToScreen({Bar->GetWidth(), Bar->GetHeight()})};
      D().SaveScreenshot(std::string(Shots) + "/scrollbar_" + std::to_string(C.Pos) + ".png", &R);
    }
  }
  Bar->ApplyRange(0, 100, 0, 0, true);
  Bar->SetPosition(500);
  EXPECT_EQ(Bar->GetPosition(), 100) << "the nearest bound";
  EXPECT_THROW(Bar->SetMax(-1), EInvalidOperation);
  EXPECT_THROW(Bar->ApplyRange(0, 5, 0, 10, true), EInvalidOperation);
  EXPECT_EQ(Bar->GetMax(), 100) << "nothing changed by the refused range";
  Bar->SetBounds(20, 20, 20, 6);
  EXPECT_TRUE(Bar->ThumbRect().IsEmpty()) << "a track shorter than the thumb";
}

TEST_F(ScrollBarTest, KeyboardScrollsByLineAndPageAndToTheEnds) {
  Bar->ApplyRange(0, 100, 50, 0, true);
  Bar->SetSmallChange(2);
  Bar->SetLargeChange(10);
  Bar->SetFocus();
  Pump();
  Log.Changes = 0;
  struct TCase {
    WORD Key;
    int Want;
  };
  const TCase Cases[] = {{VK_RIGHT, 52}, {VK_LEFT, 50}, {VK_DOWN, 52}, {VK_UP, 50},
                         {VK_NEXT, 60}, {VK_PRIOR, 50}, {VK_END, 100}, {VK_HOME, 0}};
  for (const TCase& C : Cases) {
    Key(C.Key);
    EXPECT_EQ(Bar->GetPosition(), C.Want) << "key " << C.Key;
  }
  EXPECT_EQ(Log.Codes.back(), scEndScroll) << "releasing the key ends the scroll";
  EXPECT_EQ(Log.Changes, 8);
}

TEST_F(ScrollBarTest, MouseScrollsByLineAndPageAndOnScrollHasTheLastWord) {
  Bar->ApplyRange(0, 100, 50, 10, true);
  Bar->SetLargeChange(10);
  ClickAt(Bar, Mid(Bar->LineDownRect()));
  EXPECT_EQ(Bar->GetPosition(), 51);
  ClickAt(Bar, Mid(Bar->LineUpRect()));
  EXPECT_EQ(Bar->GetPosition(), 50);
  ClickAt(Bar, {Bar->PageUpRect().Left + 1, 5});
  EXPECT_EQ(Bar->GetPosition(), 40);
  ClickAt(Bar, {Bar->PageDownRect().Right - 1, 5});
  EXPECT_EQ(Bar->GetPosition(), 50);
  EXPECT_EQ(Log.Codes.back(), scEndScroll);
  Log.ForcePos = 7;
  ClickAt(Bar, Mid(Bar->LineDownRect()));
  EXPECT_EQ(Bar->GetPosition(), 7) << "OnScroll may change the new position";
}

TEST_F(ScrollBarTest, HoldingAPageAreaRepeatsOnTheTimerUntilTheThumbReachesTheCursor) {
  Bar->ApplyRange(0, 100, 0, 10, true);
  Bar->SetLargeChange(10);
  const TPoint Target{Arrow + 65, 5};  // over the page area, 65 pixels along
  Press(Bar, Target);
  EXPECT_EQ(Bar->GetPosition(), 10) << "one step at once";
  Wait(390);
  EXPECT_EQ(Bar->GetPosition(), 10);
  Wait(10);
  EXPECT_EQ(Bar->GetPosition(), 20) << "the next after 400 ms";
  Wait(60);
  EXPECT_EQ(Bar->GetPosition(), 30) << "then every 60 ms";
  Wait(600);
  const int Stopped = Bar->GetPosition();
  EXPECT_TRUE(Bar->ThumbRect().Contains(Target) || Bar->ThumbRect().Left > Target.X)
      << "stops once the thumb has reached the cursor";
  Wait(300);
  EXPECT_EQ(Bar->GetPosition(), Stopped);
  Release(Bar, Target);
  EXPECT_EQ(Bar->PressedPart(), sbpNone);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndSnapsBackWhenTheMouseStraysFar) {
  Bar->ApplyRange(0, 99, 0, 10, true);
  const TPoint Grab = Mid(Bar->ThumbRect());
  Press(Bar, Grab);
  MoveTo(Bar, {Grab.X + 45, Grab.Y});
  EXPECT_EQ(Bar->GetPosition(), 45) << "45 of 90 free pixels over a range of 90 positions";
  EXPECT_EQ(Log.Codes.back(), scTrack);
  EXPECT_EQ(Log.Changes, 0) << "tracking changes no position through the setter";
  MoveTo(Bar, {Grab.X + 45, Grab.Y + 200});
  EXPECT_EQ(Bar->GetPosition(), 0) << "snapped back 200 pixels away";
  MoveTo(Bar, {Grab.X + 90, Grab.Y + 10});
  Release(Bar, {Grab.X + 90, Grab.Y + 10});
  EXPECT_EQ(Bar->GetPosition(), 90);
  const std::vector<TScrollCode> Tail(Log.Codes.end() - 2, Log.Codes.end());
  EXPECT_EQ(Tail, (std::vector<TScrollCode>{scPosition, scEndScroll}));

  Bar->SetUnlimitedTracking(true);
  Bar->SetPosition(0);
  const TPoint Grab2 = Mid(Bar->ThumbRect());
  Press(Bar, Grab2);
  MoveTo(Bar, {Grab2.X + 45, Grab2.Y + 300});
  EXPECT_EQ(Bar->GetPosition(), 45) << "unlimited tracking follows anywhere";
  Release(Bar, {Grab2.X + 45, Grab2.Y + 300});
}

namespace {
class TCountingBar : public TcxScrollBar {
public:
  using TcxScrollBar::TcxScrollBar;
  int Paints = 0;

protected:
  void Paint() override {
    ++Paints;
    TcxScrollBar::Paint();
  }
};
}  // namespace

TEST_F(ScrollBarTest, HotArrowRepaintsOnlyWithAHotTrackingPainter) {
  auto* Counting = new TCountingBar(Form.get());
  Counting->SetParent(Form.get());
  Counting->SetBounds(20, 100, 100 + 2 * Arrow, Arrow);
  Counting->ApplyRange(0, 100, 50, 0, true);
  const TPoint InArrow = Mid(Counting->LineUpRect());
  struct TCase {
    TcxLookAndFeelKind Kind;
    bool Repaints;
  };
  for (TCase C : {TCase{lfUltraFlat, true}, TCase{lfStandard, false}}) {
    SCOPED_TRACE(C.Kind);
    Counting->GetLookAndFeel()->SetKind(C.Kind);
    MoveTo(Form.get(), {300, 250});
    const int Before = Counting->Paints;
    MoveTo(Counting, InArrow);
    EXPECT_EQ(Counting->HotPart(), sbpLineUp);
    EXPECT_EQ(Counting->Paints > Before, C.Repaints);
  }
  // The native look shows it: the themed arrow in its hot state.
  cxtest::TThemesOn Themes;
  Counting->GetLookAndFeel()->SetNativeStyle(true);
  MoveTo(Form.get(), {300, 250});
  MoveTo(Counting, InArrow);
  EXPECT_EQ(ScreenPixel(Counting, InArrow.X, InArrow.Y),
            COLORREF(cxtest::TTestThemeBinding::PartColor(totScrollBar, 1, 4 * 2 + 2)));
}

TEST_F(ScrollBarTest, SwitchingToVerticalExchangesWidthAndHeight) {
  const int W = Bar->GetWidth(), H = Bar->GetHeight();
  Bar->SetKind(sbVertical);
  EXPECT_EQ(Bar->GetWidth(), H);
  EXPECT_EQ(Bar->GetHeight(), W);
  EXPECT_EQ(Bar->LineDownRect(), (TRect{0, W - Arrow, H, W}));
}
