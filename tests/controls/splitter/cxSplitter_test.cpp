// The splitter between the main window's input and output panels, read from
// a text form description and dragged and clicked the way a user would.
#include <memory>
#include <string>
#include <vector>

#include <cstdlib>

#include "controls/ControlsTestSupport.h"
#include "controls/ControlsWindowTest.h"
#include "controls/splitter/cxSplitter.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/ClassRegistry.h"

namespace {

// The single-file page: the input panel on the left, the splitter, the
// output panel filling the rest.
const char* const PageText = R"(object SplitterFixture: TSplitterFixture
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Sourcelux'
  ClientHeight = 445
  ClientWidth = 600
  object JzInput: TPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 445
    Align = alLeft
    TabOrder = 0
  end
  object cxSplitter: TcxSplitter
    Left = 200
    Top = 0
    Width = 8
    Height = 445
    HotZoneClassName = 'TcxMediaPlayer9Style'
    HotZone.SizePercent = 19
    OnMoved = cxSplitterMoved
  end
  object JzOutput: TPanel
    Left = 208
    Top = 0
    Width = 392
    Height = 445
    Align = alClient
    TabOrder = 1
  end
end
)";

class TSplitterFixture : public TForm {
  SX_CLASS(TSplitterFixture, TForm)
public:
  explicit TSplitterFixture(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TSplitterFixture>& P) {
    P.Property("JzInput", &TSplitterFixture::JzInput, &TSplitterFixture::JzInput).Stored(false);
    P.Property("JzOutput", &TSplitterFixture::JzOutput, &TSplitterFixture::JzOutput).Stored(false);
    P.Property("cxSplitter", &TSplitterFixture::Splitter, &TSplitterFixture::Splitter).Stored(false);
    P.Method("cxSplitterMoved", &TSplitterFixture::cxSplitterMoved);
  }
  TPanel *JzInput = nullptr, *JzOutput = nullptr;
  TcxSplitter* Splitter = nullptr;
  int Moves = 0;
  void cxSplitterMoved(TObject*) { ++Moves; }
};

class SplitterTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    RegisterFormsClasses();
    RegisterSplitterClasses();
    RegisterClasses({TSplitterFixture::StaticClass()});
    RegisterFormDescription("TSplitterFixture", PageText);
    F = std::make_unique<TSplitterFixture>(nullptr);
    F->Show();
    Pump();
    S = F->Splitter;
  }
  void TearDown() override {
    F.reset();
    UnregisterFormDescription("TSplitterFixture");
    ControlsWindowTest::TearDown();
  }
  // A drag in the splitter's own coordinates, from a point off the hot zone.
  void Drag(int FromY, int ToX) {
    Press(S, {4, FromY});
    MoveTo(S, {ToX / 2, FromY});
    MoveTo(S, {ToX, FromY});
    Release(S, {ToX, FromY});
  }
  TPoint HotZoneCentre() {
    const TRect R = S->GetHotZone()->HotZoneRect();
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  std::unique_ptr<TSplitterFixture> F;
  TcxSplitter* S = nullptr;
};

TEST_F(SplitterTest, FindsItsControlAndTakesTheHotZonesThickness) {
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->GetControl(), F->JzInput);
  EXPECT_EQ(S->GetAlign(), alLeft);
  EXPECT_EQ(S->GetWidth(), 8);
  EXPECT_EQ(S->GetHotZoneClassName(), "TcxMediaPlayer9Style");
  EXPECT_EQ(S->GetHotZone()->GetSizePercent(), 19);
  // Nineteen percent of 445 pixels, centred: 84 pixels from y = 180.
  TRect R;
  S->GetHotZone()->CalculateHotZoneRect(S->GetClientRect(), R);
  EXPECT_EQ(R, (TRect{0, 180, 7, 264}));
  // The open splitter's arrow points at its control.
  EXPECT_EQ(S->GetArrowDirection(), 1);
  // Setting another width leaves it at the hot zone's thickness.
  S->SetWidth(20);
  EXPECT_EQ(S->GetWidth(), 8);
}

TEST_F(SplitterTest, DragsTheControlsWidthAndStopsAtTheMinimum) {
  Drag(20, 60);
  EXPECT_EQ(F->JzInput->GetWidth(), 256);
  EXPECT_EQ(S->GetLeft(), 256);
  EXPECT_GE(F->Moves, 1);
  EXPECT_FALSE(S->IsClosed());
  // Far to the left: it stops at MinSize.
  Drag(20, -400);
  EXPECT_EQ(F->JzInput->GetWidth(), 30);
  EXPECT_FALSE(S->IsClosed());
  // Far to the right: the other side keeps MinSize too.
  Drag(20, 1000);
  EXPECT_EQ(F->JzInput->GetWidth(), 600 - 8 - 30);
}

TEST_F(SplitterTest, WithAutoSnapAReleaseBelowTheMinimumCollapses) {
  S->SetAutoSnap(true);
  Drag(20, -190);  // 6 pixels left: below the minimum
  EXPECT_EQ(F->JzInput->GetWidth(), 0);
  EXPECT_TRUE(S->IsClosed());
  EXPECT_EQ(S->GetLeft(), 0);
  EXPECT_EQ(S->GetArrowDirection(), 0);  // now pointing away: expand
}

TEST_F(SplitterTest, AClickOnTheHotZoneClosesAndReopensAtTheOldSize) {
  std::vector<std::string> Events;
  struct TSink : TObject {
    std::vector<std::string>* E = nullptr;
    void BeforeClose(TObject*, bool&) { E->push_back("before close"); }
    void AfterClose(TObject*) { E->push_back("after close"); }
    void BeforeOpen(TObject*, int& Size, bool&) { E->push_back("before open " + std::to_string(Size)); }
    void AfterOpen(TObject*) { E->push_back("after open"); }
  } Sink;
  Sink.E = &Events;
  S->OnBeforeClose = TBeforeCloseHotZoneEvent(&Sink, &TSink::BeforeClose);
  S->OnAfterClose = TNotifyEvent(&Sink, &TSink::AfterClose);
  S->OnBeforeOpen = TBeforeOpenHotZoneEvent(&Sink, &TSink::BeforeOpen);
  S->OnAfterOpen = TNotifyEvent(&Sink, &TSink::AfterOpen);
  ClickAt(S, HotZoneCentre());
  EXPECT_TRUE(S->IsClosed());
  EXPECT_EQ(F->JzInput->GetWidth(), 0);
  ClickAt(S, HotZoneCentre());
  EXPECT_FALSE(S->IsClosed());
  EXPECT_EQ(F->JzInput->GetWidth(), 200);
  EXPECT_EQ(Events, (std::vector<std::string>{"before close", "after close", "before open 200", "after open"}));
}

TEST_F(SplitterTest, ARefusedCloseChangesNothing) {
  struct TSink : TObject {
    void BeforeClose(TObject*, bool& Allow) { Allow = false; }
  } Sink;
  S->OnBeforeClose = TBeforeCloseHotZoneEvent(&Sink, &TSink::BeforeClose);
  ClickAt(S, HotZoneCentre());
  EXPECT_FALSE(S->IsClosed());
  EXPECT_EQ(F->JzInput->GetWidth(), 200);
}

TEST_F(SplitterTest, MovingFarEnoughFromAHotZonePressStartsADrag) {
  const TPoint C = HotZoneCentre();
  // Less than the threshold: a click.
  Press(S, C);
  MoveTo(S, {C.X + 2, C.Y});
  EXPECT_EQ(S->DragState(), 2);
  Release(S, {C.X + 2, C.Y});
  EXPECT_TRUE(S->IsClosed());
  ClickAt(S, HotZoneCentre());  // open again
  ASSERT_FALSE(S->IsClosed());
  // Three pixels or more: a drag that resizes.
  Press(S, C);
  MoveTo(S, {C.X + 3, C.Y});
  EXPECT_EQ(S->DragState(), 1);
  MoveTo(S, {C.X + 40, C.Y});
  Release(S, {C.X + 40, C.Y});
  EXPECT_FALSE(S->IsClosed());
  EXPECT_EQ(F->JzInput->GetWidth(), 200 + 40);
}

TEST_F(SplitterTest, EscEndsADragWhereTheSplitterStands) {
  F->JzOutput->SetTabStop(true);
  F->SetActiveControl(F->JzOutput);
  Press(S, {4, 20});
  MoveTo(S, {80, 20});
  ASSERT_EQ(S->DragState(), 1);
  EXPECT_TRUE(S->IsLineVisible());
  Key(VK_ESCAPE);
  EXPECT_EQ(S->DragState(), 0);
  EXPECT_FALSE(S->IsLineVisible());
  // The last step of the drag stands.
  EXPECT_EQ(F->JzInput->GetWidth(), 200 + 76);
  Release(S, {80, 20});
  EXPECT_FALSE(S->IsClosed());
}

TEST_F(SplitterTest, WithoutAControlNothingResizes) {
  S->SetControl(nullptr);
  Drag(20, 60);
  EXPECT_EQ(F->JzInput->GetWidth(), 200);
  EXPECT_EQ(S->DragState(), 0);
}

TEST_F(SplitterTest, TheHotZoneIsDrawnInTheMiddle) {
  F->Repaint();
  Pump();
  // The border of the hot zone and the splitter's face around it.
  EXPECT_EQ(ScreenPixel(S, 3, 100), ColorToRGB(clBtnFace));
  bool Border = false, Light = false;
  for (int Y = 182; Y < 262; ++Y) {
    Border |= ScreenPixel(S, 0, Y) == ColorToRGB(clBtnShadow);
    Light |= ScreenPixel(S, 1, Y) == ColorToRGB(clWindow) || ScreenPixel(S, 6, Y) == ColorToRGB(clWindow);
  }
  EXPECT_TRUE(Border);
  EXPECT_TRUE(Light);
  if (const char* Dir = std::getenv("SX_SHOTS_DIR")) {
    cxtest::TPaintBox Box(S->GetWidth(), 120);
    for (int Y = 0; Y < 120; ++Y)
      for (int X = 0; X < S->GetWidth(); ++X) Box.Canvas()->SetPixel(X, Y, TColor(ScreenPixel(S, X, Y + 162)));
    Box.SavePng(std::string(Dir) + "/splitter_hotzone.png", 4);
  }
}

}  // namespace
