// The scroll-bar control: the SB_CTL calls on its window, and TScrollBar
// driven by the mouse and keys.
#include "ComCtrlsTestSupport.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ScrollBar.h"
#include "platform/rtl/VirtualKeys.h"

using namespace cctest;

namespace {
class ScrollBarTest : public TComCtrlsTest {};
}  // namespace

TEST_F(ScrollBarTest, ControlKeepsItsOwnInfoThroughTheBarCalls) {
  HWND Bar = MakeControl(SCROLLBAR_CLASS, SBS_VERT, 17, 120);
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Si.nMin = 10;
  Si.nMax = 109;
  Si.nPage = 20;
  Si.nPos = 500;
  EXPECT_EQ(SetScrollInfo(Bar, SB_CTL, &Si, TRUE), 90) << "the position stops where the page meets the end";
  SCROLLINFO Out;
  Out.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Bar, SB_CTL, &Out));
  EXPECT_EQ(Out.nMin, 10);
  EXPECT_EQ(Out.nMax, 109);
  EXPECT_EQ(Out.nPage, 20u);
  EXPECT_EQ(Out.nPos, 90);
  EXPECT_EQ(SetScrollPos(Bar, SB_CTL, 5, TRUE), 90);
  EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 10);
  int Min = 0, Max = 0;
  EXPECT_TRUE(SetScrollRange(Bar, SB_CTL, -5, 5, TRUE));
  EXPECT_TRUE(GetScrollRange(Bar, SB_CTL, &Min, &Max));
  EXPECT_EQ(Min, -5);
  EXPECT_EQ(Max, 5);
  // The window's own bars stay apart from the control's.
  EXPECT_FALSE(GetScrollInfo(Bar, SB_VERT, &Out));
  EXPECT_FALSE(GetScrollInfo(nullptr, SB_CTL, &Out));
}

TEST_F(ScrollBarTest, LibraryBarFollowsArrowsPagesThumbAndKeys) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 300, 200);
  Form.Show();
  auto* S = new TScrollBar(&Form);
  S->SetParent(&Form);
  S->SetBounds(10, 10, 200, 17);
  S->SetParams(0, 0, 100);
  S->SetSmallChange(2);
  S->SetLargeChange(25);
  S->SetPageSize(10);
  struct TLog : TObject {
    int Changes = 0;
    std::vector<TScrollCode> Codes;
    void Change(TObject*) { ++Changes; }
    void Scroll(TObject*, TScrollCode C, Integer& Pos) {
      Codes.push_back(C);
      if (C == scPageDown) Pos -= 1;  // a handler may adjust the new position
    }
  } Log;
  S->OnChange = TNotifyEvent(&Log, &TLog::Change);
  S->OnScroll = TScrollEvent(&Log, &TLog::Scroll);
  Pump();
  auto Click = [&](int X) {
    AdvanceClock(1000);
    const TPoint P = S->ClientToScreen({X, 8});
    Screen().Click(P.X, P.Y);
    Pump();
  };
  Click(190);  // right arrow
  EXPECT_EQ(S->GetPosition(), 2);
  Click(150);  // the track right of the thumb
  EXPECT_EQ(S->GetPosition(), 26);
  Click(5);  // left arrow
  EXPECT_EQ(S->GetPosition(), 24);
  EXPECT_EQ(Log.Changes, 3);
  // Dragging the thumb to the far end reaches the last page.
  const int ThumbAt = 17 + (200 - 34) * 24 / 91 + 3;
  AdvanceClock(1000);
  const TPoint A = S->ClientToScreen({ThumbAt, 8});
  Screen().MouseDown(A.X, A.Y);
  Screen().MouseMove(A.X + 300, A.Y);
  Screen().MouseUp(A.X + 300, A.Y);
  Pump();
  EXPECT_EQ(S->GetPosition(), 91);
  EXPECT_NE(std::find(Log.Codes.begin(), Log.Codes.end(), scTrack), Log.Codes.end());
  EXPECT_NE(std::find(Log.Codes.begin(), Log.Codes.end(), scPosition), Log.Codes.end());
  S->SetFocus();
  Screen().KeyPress(VK_HOME);
  Pump();
  EXPECT_EQ(S->GetPosition(), 0);
  EXPECT_THROW(S->SetParams(0, 10, 5), EInvalidOperation);
}
