// The middle-button scrolling anchor and the class library's drags of the
// family's controls (their drag object, cursor and drag images).
#include <cstdlib>
#include <functional>
#include "ControlsTestSupport.h"
#include "ControlsWindowTest.h"
#include "controls/base/cxControls.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/StdCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"

namespace {

// Content larger than the control in both directions unless told otherwise.
class TScrolledControl : public TcxControl {
public:
  explicit TScrolledControl(TComponent* AOwner) : TcxControl(AOwner) {}
  TSize Content{1000, 1000};
  std::vector<std::pair<TScrollBarKind, TScrollCode>> Scrolls;
  bool DragImages = false;
  int DragImagePaints = 0;
  int EndDrags = 0;
  using TcxControl::RefreshScrollBars;

protected:
  void ComputeScrollBarParams() override {
    const TRect R = GetContentBounds();
    SetScrollBarParams(sbHorizontal, 0, Content.cx - 1, 8, R.Width(), 0, true, true);
    SetScrollBarParams(sbVertical, 0, Content.cy - 1, 8, R.Height(), 0, true, true);
  }
  void ScrollContent(TScrollBarKind K, TScrollCode C, Integer&) override { Scrolls.push_back({K, C}); }
  bool UsesDragImages() const override { return DragImages; }
  TPoint GetDragImageSize() const override { return {12, 8}; }
  void PaintDragImage(TcxCanvas* ACanvas, const TRect& R) override {
    ++DragImagePaints;
    ACanvas->FillRect(R, TColor(0x0000FF));
  }
  void DoEndDrag(TObject* Target, Integer X, Integer Y) override {
    ++EndDrags;
    TcxControl::DoEndDrag(Target, X, Y);
  }
};

class ScrollingAnchorTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
    RegisterControlCursors();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(50, 50, 400, 300);
    C = new TScrolledControl(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(10, 10, 200, 150);
    Form->Show();
    Pump();
    C->RefreshScrollBars();
    Pump();
  }
  void TearDown() override {
    D().SetIdleHandler(nullptr);
    ResetDragState();
    Form.reset();
    SetResourceDir("");
    ControlsWindowTest::TearDown();
  }
  // Runs the steps one per idle turn of a modal loop. Once they are done
  // the display has nothing more to give: a loop still waiting then fails
  // instead of hanging.
  void DriveModal(std::vector<std::function<void()>> Steps) {
    auto I = std::make_shared<std::size_t>(0);
    D().SetIdleHandler([Steps = std::move(Steps), I] {
      if (*I >= Steps.size()) return false;
      Steps[(*I)++]();
      return true;
    });
  }
  int CountScrolls(TScrollBarKind K, TScrollCode Code) const {
    int N = 0;
    for (auto& S : C->Scrolls) N += S.first == K && S.second == Code;
    return N;
  }
  std::unique_ptr<TForm> Form;
  TScrolledControl* C = nullptr;
};

TEST(ScrollingAnchorMath, DirectionSpeedAndNeutralZone) {
  const TPoint A{500, 400};
  const TRect Screen{0, 0, 1024, 768};
  struct TCase {
    bool H, V;
    TPoint P;
    int Direction, Speed;
    bool Left;
    const char* Why;
  };
  const TCase Cases[] = {
      {true, true, {505, 405}, 0, 0, false, "inside the neutral square"},
      {true, true, {500, 440}, 4, 6, true, "below: (40 - 14) / 5 + 1"},
      {true, true, {460, 400}, 1, 6, true, "left"},
      {true, true, {540, 395}, 2, 6, true, "right"},
      {true, true, {530, 430}, 4, 4, true, "exactly diagonal goes vertical"},
      {false, true, {900, 405}, 0, 0, false, "only a vertical bar: the zone spans the screen's width"},
      {false, true, {900, 300}, 3, 12, true, "up, fast: the speed stops at 12"},
      {true, false, {560, 700}, 2, 10, true, "only a horizontal bar: vertical moves never leave the zone"},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.Why);
    int Dir = -1, Speed = -1;
    bool Left = false;
    CalcScrollingAnchorMove(A, 28, T.H, T.V, Screen, T.P, Dir, Speed, Left);
    EXPECT_EQ(Dir, T.Direction);
    EXPECT_EQ(Speed, T.Speed);
    EXPECT_EQ(Left, T.Left);
  }
}

TEST(ScrollingAnchorMath, CursorPerDirectionAndBars) {
  EXPECT_EQ(ScrollingAnchorCursor(1, true, true), crcxLeftScroll);
  EXPECT_EQ(ScrollingAnchorCursor(2, true, true), crcxRightScroll);
  EXPECT_EQ(ScrollingAnchorCursor(3, true, true), crcxUpScroll);
  EXPECT_EQ(ScrollingAnchorCursor(4, false, true), crcxDownScroll);
  EXPECT_EQ(ScrollingAnchorCursor(0, true, true), crcxFullScroll);
  EXPECT_EQ(ScrollingAnchorCursor(0, true, false), crcxHorScroll);
  EXPECT_EQ(ScrollingAnchorCursor(0, false, true), crcxVerScroll);
}

TEST_F(ScrollingAnchorTest, MovingAwayScrollsOnTheTimerUntilTheMiddleButtonIsReleased) {
  ASSERT_TRUE(C->HScrollBar()->GetVisible() && C->VScrollBar()->GetVisible());
  const TPoint S = At(C, {60, 60});
  D().MouseMove(S.X, S.Y);
  Pump();
  bool ActiveInside = false, CapturedInside = false;
  HCURSOR CursorWhileDown = nullptr;
  // The round window of the anchor's picture (28 x 28) stands centred on
  // the press; its square's corners still show what lies below.
  const COLORREF CornerBefore = D().ScreenPixel(S.X - 13, S.Y - 13);
  COLORREF CornerDuring = 0, RimDuring = 0;
  std::vector<std::function<void()>> Steps;
  Steps.push_back([&] {
    ActiveInside = C->IsScrollingAnchorActive();
    CapturedInside = GetCapture() == C->Handle();
    CornerDuring = D().ScreenPixel(S.X - 13, S.Y - 13);
    RimDuring = D().ScreenPixel(S.X - 14, S.Y);
    if (const char* Dir = std::getenv("SX_SHOTS_DIR")) {
      const TRect Area{S.X - 20, S.Y - 20, S.X + 20, S.Y + 20};
      D().SaveScreenshot(std::string(Dir) + "/scrolling_anchor.png", &Area);
    }
    D().MouseMove(S.X, S.Y + 40);  // speed 6: a step every 7 ticks of 20 ms
  });
  for (int i = 0; i < 28; ++i) Steps.push_back([&] { AdvanceClock(20); });
  Steps.push_back([&] { CursorWhileDown = GetCursor(); });
  Steps.push_back([&] { D().MouseUp(S.X, S.Y + 40, TInputButton::Middle); });
  DriveModal(std::move(Steps));
  D().MouseDown(S.X, S.Y, TInputButton::Middle);
  Pump();
  EXPECT_TRUE(ActiveInside);
  EXPECT_TRUE(CapturedInside);
  EXPECT_EQ(CornerDuring, CornerBefore) << "outside the round window";
  EXPECT_EQ(RimDuring, COLORREF(ColorToRGB(clWindowText))) << "the rim on the left edge";
  EXPECT_EQ(CursorWhileDown, Screen->Cursors(crcxDownScroll));
  EXPECT_NE(CursorWhileDown, Screen->Cursors(crDefault)) << "the anchor's cursors come from the resources";
  EXPECT_EQ(CountScrolls(sbVertical, scLineDown), 4) << "28 ticks at one step per 7";
  EXPECT_EQ(CountScrolls(sbHorizontal, scLineDown) + CountScrolls(sbHorizontal, scLineUp), 0);
  EXPECT_FALSE(C->IsScrollingAnchorActive());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollingAnchorTest, APlainMiddleClickKeepsTheAnchorUntilEscOrAnotherButton) {
  const TPoint S = At(C, {60, 60});
  D().MouseMove(S.X, S.Y);
  Pump();
  struct TCase {
    std::function<void()> End;
    const char* Why;
  };
  const TCase Cases[] = {
      {[] { HeadlessDisplay().KeyDown(VK_ESCAPE); }, "Esc"},
      {[S] { HeadlessDisplay().MouseDown(S.X, S.Y, TInputButton::Left); }, "a left press"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Why);
    AdvanceClock(1000);
    bool StillActive = false;
    DriveModal({[&] { D().MouseUp(S.X, S.Y, TInputButton::Middle); },
                [&] { AdvanceClock(500); },
                [&] { StillActive = C->IsScrollingAnchorActive(); },
                [&] { Case.End(); }});
    D().MouseDown(S.X, S.Y, TInputButton::Middle);
    Pump();
    EXPECT_TRUE(StillActive) << "releasing the middle button without moving keeps the anchor";
    EXPECT_FALSE(C->IsScrollingAnchorActive());
    EXPECT_TRUE(C->Scrolls.empty()) << "the mouse never left the neutral zone";
    D().SetIdleHandler(nullptr);
    D().KeyUp(VK_ESCAPE);
    D().MouseUp(S.X, S.Y, TInputButton::Left);
    Pump();
  }
}

TEST_F(ScrollingAnchorTest, NoBarNoAnchor) {
  C->Content = {10, 10};
  C->RefreshScrollBars();
  Pump();
  ASSERT_FALSE(C->HScrollBar()->GetVisible() || C->VScrollBar()->GetVisible());
  const TPoint S = At(C, {60, 60});
  D().MouseDown(S.X, S.Y, TInputButton::Middle);  // would hang in a modal loop without an idle handler
  D().MouseUp(S.X, S.Y, TInputButton::Middle);
  Pump();
  EXPECT_FALSE(C->IsScrollingAnchorActive());
}

using FamilyDragTest = ScrollingAnchorTest;

TEST_F(FamilyDragTest, TheDragObjectShowsTheCopyCursorWithCtrlOverAnAcceptingTarget) {
  TcxDragControlObject* O = new TcxDragControlObject(C);
  D().KeyDown(VK_CONTROL);
  Pump();
  EXPECT_EQ(O->GetDragCursor(true, 0, 0), crcxDragCopy);
  EXPECT_EQ(O->GetDragCursor(false, 0, 0), TDragControlObject(C).GetDragCursor(false, 0, 0));
  D().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(O->GetDragCursor(true, 0, 0), TDragControlObject(C).GetDragCursor(true, 0, 0));
  // Another control's drag never shows the family's copy cursor.
  TButton B(nullptr);
  TcxDragControlObject* Other = new TcxDragControlObject(&B);
  D().KeyDown(VK_CONTROL);
  Pump();
  EXPECT_NE(Other->GetDragCursor(true, 0, 0), crcxDragCopy);
  D().KeyUp(VK_CONTROL);
  O->Finished(nullptr, 0, 0, false);
  Other->Finished(nullptr, 0, 0, false);
  // Finishing frees the object.
  struct TWatched : TcxDragControlObject {
    using TcxDragControlObject::TcxDragControlObject;
    bool* Gone = nullptr;
    ~TWatched() override { *Gone = true; }
  };
  bool Gone = false;
  auto* W = new TWatched(C);
  W->Gone = &Gone;
  W->Finished(nullptr, 0, 0, false);
  EXPECT_TRUE(Gone);
}

TEST_F(FamilyDragTest, AutomaticDragStartsBeyondTheThresholdWithTheFamilysObjectAndImages) {
  C->SetDragMode(dmAutomatic);
  C->DragImages = true;
  const TPoint S = At(C, {40, 40});
  D().MouseMove(S.X, S.Y);
  Pump();
  DriveModal({[&] { D().MouseMove(S.X + 20, S.Y); }});
  D().MouseDown(S.X, S.Y);
  Pump();
  D().SetIdleHandler(nullptr);
  ASSERT_TRUE(C->Dragging()) << "the mouse left the threshold square while the button was down";
  EXPECT_NE(dynamic_cast<TcxDragControlObject*>(DragObject()), nullptr);
  TcxDragImageList* Images = C->GetDragImages();
  ASSERT_NE(Images, nullptr);
  EXPECT_EQ(Images->Count(), 1);
  EXPECT_EQ(Images->GetWidth(), 12);
  EXPECT_EQ(C->GetDragImages(), Images) << "painted once per drag";
  EXPECT_EQ(C->DragImagePaints, 1);
  D().MouseMove(S.X + 30, S.Y + 5);
  D().MouseUp(S.X + 30, S.Y + 5);
  Pump();
  EXPECT_FALSE(C->Dragging());
  EXPECT_EQ(C->EndDrags, 1);
  C->GetDragImages();
  EXPECT_EQ(C->DragImagePaints, 2) << "the pictures are made again for the next drag";

  C->DragImages = false;
  EXPECT_EQ(C->GetDragImages(), nullptr);
}

TEST_F(FamilyDragTest, APressReleasedInsideTheThresholdStartsNoDrag) {
  C->SetDragMode(dmAutomatic);
  const TPoint S = At(C, {40, 40});
  D().MouseMove(S.X, S.Y);
  Pump();
  DriveModal({[&] { D().MouseMove(S.X + 1, S.Y); }, [&] { D().MouseUp(S.X + 1, S.Y); }});
  D().MouseDown(S.X, S.Y);
  Pump();
  D().SetIdleHandler(nullptr);
  EXPECT_FALSE(C->Dragging());
  EXPECT_EQ(C->EndDrags, 0);
}

}  // namespace
