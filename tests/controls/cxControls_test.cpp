#include <functional>
#include "ControlsWindowTest.h"
#include "controls/base/cxControls.h"
#include "platform/forms/ControlMessages.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"

namespace {
// Content of a given size; each bar's page is the content bounds.
class TContentControl : public TcxControl {
public:
  explicit TContentControl(TComponent* AOwner) : TcxControl(AOwner) {}
  TSize Content{0, 0};
  bool HideWhenFits = false;
  bool AllowHide = true;
  // Content whose need for one bar depends on the other bar being shown.
  bool FlipFlop = false;
  int Computations = 0;
  std::vector<std::pair<TScrollBarKind, TScrollCode>> Scrolls;
  std::vector<TcxLookAndFeelValues> LookChanges;

protected:
  void ComputeScrollBarParams() override {
    ++Computations;
    const TRect R = GetContentBounds();
    if (FlipFlop) {
      // Each bar is wanted exactly when the other one is not on the screen
      // (content laid out from the window as it stands).
      SetScrollBarParams(sbHorizontal, 0, 99, 1, VScrollBar()->GetVisible() ? 200 : 50, 0, true, true);
      SetScrollBarParams(sbVertical, 0, 99, 1, HScrollBar()->GetVisible() ? 200 : 50, 0, true, true);
      return;
    }
    SetScrollBarParams(sbHorizontal, 0, Content.cx - 1, 8, R.Width(), 0, true, AllowHide);
    SetScrollBarParams(sbVertical, 0, Content.cy - 1, 8, R.Height(), 0, true, AllowHide);
  }
  bool CanHideScrollBarWhenFits(TScrollBarKind) const override { return HideWhenFits; }
  void ScrollContent(TScrollBarKind K, TScrollCode C, Integer&) override { Scrolls.push_back({K, C}); }
  void LookAndFeelModified(TcxLookAndFeel*, TcxLookAndFeelValues V) override { LookChanges.push_back(V); }
};

class TcxControlTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    GetRootLookAndFeel()->ResetAssignedValues();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 400, 300);
    C = new TContentControl(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(10, 10, 200, 150);
    Form->Show();
    Pump();
    Bar = GetSystemMetrics(SM_CYHSCROLL);
  }
  void TearDown() override {
    Form.reset();
    GetRootLookAndFeel()->ResetAssignedValues();
    ControlsWindowTest::TearDown();
  }
  std::unique_ptr<TForm> Form;
  TContentControl* C = nullptr;
  int Bar = 17;
};
}  // namespace

TEST_F(TcxControlTest, BarsShowForContentThatDoesNotFitAndTheGripOnlyWithBoth) {
  struct TCase {
    TSize Content;
    bool HideWhenFits;
    bool H, V;
    const char* Why;
  };
  const TCase Cases[] = {
      {{100, 100}, false, false, false, "fits"},
      {{400, 100}, false, true, false, "too wide"},
      {{100, 400}, false, false, true, "too high"},
      {{400, 400}, false, true, true, "both"},
      {{210, 140}, false, true, true, "the horizontal bar takes the room the height needed"},
      {{200, 150}, true, false, false, "fits exactly once the other bar is gone"},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.Why);
    C->Content = T.Content;
    C->HideWhenFits = T.HideWhenFits;
    C->RefreshScrollBars();
    EXPECT_EQ(C->HScrollBar()->GetVisible(), T.H);
    EXPECT_EQ(C->VScrollBar()->GetVisible(), T.V);
    EXPECT_EQ(C->SizeGrip()->GetVisible(), T.H && T.V);
  }
  C->Content = {400, 400};
  C->HideWhenFits = false;
  C->RefreshScrollBars();
  EXPECT_EQ(C->HScrollBar()->BoundsRect(), (TRect{0, 150 - Bar, 200 - Bar, 150}));
  EXPECT_EQ(C->SizeGrip()->BoundsRect(), (TRect{200 - Bar, 150 - Bar, 200, 150}));
  EXPECT_EQ(C->GetContentBounds(), (TRect{0, 0, 200 - Bar, 150 - Bar}));
}

TEST_F(TcxControlTest, BarsThatWouldFlipForEverSettleShownAndDisabled) {
  C->FlipFlop = true;
  C->RefreshScrollBars();
  EXPECT_LT(C->Computations, 50) << "no endless recursion";
  EXPECT_TRUE(C->HScrollBar()->GetVisible() || C->VScrollBar()->GetVisible());
  const bool Disabled = !C->HScrollBar()->GetEnabled() || !C->VScrollBar()->GetEnabled();
  EXPECT_TRUE(Disabled) << "a flipping bar is shown disabled";
}

TEST_F(TcxControlTest, ScrollBarParamsHonourAllowHideAndTheScrollBarsStyle) {
  C->Content = {100, 100};
  C->AllowHide = false;
  C->RefreshScrollBars();
  EXPECT_TRUE(C->HScrollBar()->GetVisible());
  EXPECT_FALSE(C->HScrollBar()->GetEnabled()) << "stays, disabled, when it may not hide";
  C->AllowHide = true;
  C->Content = {400, 400};
  C->SetScrollBars(ssNone);
  EXPECT_FALSE(C->HScrollBar()->GetVisible());
  EXPECT_FALSE(C->VScrollBar()->GetVisible());
  C->SetScrollBars(ssVertical);
  EXPECT_FALSE(C->HScrollBar()->GetVisible());
  EXPECT_TRUE(C->VScrollBar()->GetVisible());
}

TEST_F(TcxControlTest, WheelAndBarsScrollTheContent) {
  C->Content = {400, 400};
  C->RefreshScrollBars();
  C->SetFocus();
  Pump();
  const TPoint S = C->ClientToScreen({50, 50});
  D().Wheel(S.X, S.Y, -120);
  Pump();
  ASSERT_EQ(C->Scrolls.size(), 3u) << "three lines a notch";
  EXPECT_EQ(C->Scrolls[0], (std::pair{sbVertical, scLineDown}));
  C->Scrolls.clear();
  ClickAt(C->HScrollBar(), {C->HScrollBar()->GetWidth() - 3, 3});
  ASSERT_FALSE(C->Scrolls.empty());
  EXPECT_EQ(C->Scrolls.front(), (std::pair{sbHorizontal, scLineDown}));
  C->Content = {400, 100};
  C->RefreshScrollBars();
  C->Scrolls.clear();
  D().Wheel(S.X, S.Y, 120);
  Pump();
  EXPECT_TRUE(C->Scrolls.empty()) << "no vertical bar: the wheel is not ours";
}

TEST_F(TcxControlTest, LookAndFeelChangeReachesTheControlItsBarsAndItsBorder) {
  C->SetBorderStyle(cxcbsDefault);
  C->Content = {400, 400};
  C->RefreshScrollBars();
  Pump();
  EXPECT_EQ(C->GetContentBounds().Left, 1) << "the ultra-flat border is one pixel";
  EXPECT_EQ(ScreenPixel(C, 0, 0), ColorToRGB(clBtnShadow));
  GetRootLookAndFeel()->SetKind(lfStandard);
  Pump();
  EXPECT_EQ(C->LookChanges, std::vector<TcxLookAndFeelValues>{lfvBit(lfvKind)});
  EXPECT_EQ(C->HScrollBar()->Painter(), TcxStandardLookAndFeelPainter::Instance());
  EXPECT_EQ(C->GetContentBounds().Left, 2) << "the standard border is two";
  EXPECT_EQ(ScreenPixel(C, 1, 1), ColorToRGB(cl3DDkShadow));
}

TEST_F(TcxControlTest, ClickFocusesAndEventsNameTheControl) {
  struct TEvents : TObject {
    std::vector<TObject*> Senders;
    void Record(TObject* S) { Senders.push_back(S); }
  } E;
  auto* Other = new TContentControl(Form.get());
  Other->SetParent(Form.get());
  Other->SetBounds(250, 10, 50, 50);
  Other->SetFocus();
  Pump();
  C->OnFocusChanged = TNotifyEvent(&E, &TEvents::Record);
  C->OnMouseEnter = TNotifyEvent(&E, &TEvents::Record);
  ClickAt(C, {50, 50});
  EXPECT_TRUE(C->Focused());
  ASSERT_FALSE(E.Senders.empty());
  for (TObject* S : E.Senders) EXPECT_EQ(S, C);
  C->Perform(CM_MOUSEENTER, 0, LPARAM(C->HScrollBar()));
  EXPECT_EQ(E.Senders.back(), C) << "the control itself, though the message names a child";
  C->SetWantedKeys((1u << wkArrows) | (1u << wkChars));
  EXPECT_EQ(C->Perform(WM_GETDLGCODE), DLGC_WANTARROWS + DLGC_WANTCHARS);
  // The form outlives the recorder: its destruction moves the focus.
  C->OnFocusChanged = nullptr;
  C->OnMouseEnter = nullptr;
}

TEST_F(TcxControlTest, MetricsChangeResizesTheBars) {
  C->Content = {400, 400};
  C->RefreshScrollBars();
  C->HScrollBar()->SetHeight(5);
  SendMessageA(TcxSettingsController::Instance().Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  Pump();
  EXPECT_EQ(C->HScrollBar()->GetHeight(), Bar);
}

namespace {
// A control whose left presses start a drag-and-drop session.
class TDragControl : public TcxControl {
public:
  explicit TDragControl(TComponent* AOwner) : TcxControl(AOwner) {}
  struct TLog {
    std::vector<TPoint> Tracked;
    int Finished = 0;
    bool Accepted = false;
  };
  TLog* Log = nullptr;
  bool UsesScrollBars() const override { return false; }

protected:
  class TObj : public TcxDragAndDropObject {
  public:
    TObj(TcxControl* C, TLog* L) : TcxDragAndDropObject(C), Log(L) {}
    TLog* Log;

  protected:
    void DragAndDrop(TPoint P, bool& Accepted) override {
      Log->Tracked.push_back(P);
      Accepted = true;
      TcxDragAndDropObject::DragAndDrop(P, Accepted);
    }
    void EndDragAndDrop(bool Accepted) override {
      ++Log->Finished;
      Log->Accepted = Accepted;
    }
  };
  bool CanStartDropSession(int, int) override { return true; }
  std::unique_ptr<TcxDragAndDropObject> CreateDragAndDropObject() override {
    return std::make_unique<TObj>(this, Log);
  }
};
}  // namespace

TEST_F(TcxControlTest, DragAndDropStartsBeyondTheThresholdAndEndsOnReleaseOrEsc) {
  TDragControl::TLog Log;
  auto* Dc = new TDragControl(Form.get());
  Dc->Log = &Log;
  Dc->SetParent(Form.get());
  Dc->SetBounds(220, 10, 150, 150);
  Pump();
  Press(Dc, {20, 20});
  EXPECT_EQ(Dc->DragAndDropState(), ddsStarting);
  MoveTo(Dc, {22, 22});
  EXPECT_EQ(Dc->DragAndDropState(), ddsStarting) << "within the drag threshold";
  MoveTo(Dc, {40, 20});
  EXPECT_EQ(Dc->DragAndDropState(), ddsInProcess);
  MoveTo(Dc, {60, 30});
  ASSERT_FALSE(Log.Tracked.empty());
  EXPECT_EQ(Log.Tracked.back(), (TPoint{60, 30}));
  Release(Dc, {60, 30});
  EXPECT_EQ(Dc->DragAndDropState(), ddsNone);
  EXPECT_EQ(Log.Finished, 1);
  EXPECT_TRUE(Log.Accepted) << "a release drops";

  AdvanceClock(1000);  // not a double click
  Press(Dc, {20, 20});
  MoveTo(Dc, {50, 50});
  ASSERT_EQ(Dc->DragAndDropState(), ddsInProcess);
  Key(VK_ESCAPE);
  EXPECT_EQ(Dc->DragAndDropState(), ddsNone);
  EXPECT_EQ(Log.Finished, 2);
  EXPECT_FALSE(Log.Accepted) << "Esc cancels";
  Release(Dc, {50, 50});
  EXPECT_EQ(Log.Finished, 2);

  AdvanceClock(1000);
  const TPoint S = Dc->ClientToScreen({20, 20});
  D().Click(S.X, S.Y);
  D().Click(S.X, S.Y);  // a double click starts nothing
  Pump();
  EXPECT_EQ(Dc->DragAndDropState(), ddsNone);
}
