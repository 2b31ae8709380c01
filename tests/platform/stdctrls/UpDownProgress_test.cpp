// The up-down and progress-bar classes and their library wrappers.
#include "ComCtrlsTestSupport.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Colors.h"

using namespace cctest;

namespace {
class UpDownTest : public TComCtrlsTest {
protected:
  std::string BuddyText() {
    char B[64] = "";
    GetWindowTextA(Buddy, B, sizeof B);
    return B;
  }
  void ClickArrow(HWND Arrows, bool Up) {
    TRect R;
    GetClientRect(Arrows, &R);
    AdvanceClock(1000);
    const TPoint P = ScreenOf(Arrows, {R.Width() / 2, Up ? 2 : R.Height() - 3});
    Screen().Click(P.X, P.Y);
    Pump();
  }
  HWND Buddy = nullptr;
};
}  // namespace

TEST_F(UpDownTest, ArrowsStepWithinTheRangeWrapOrStopAndWriteTheBuddy) {
  Buddy = CreateWindowExA(0, "SxCcParent", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, Parent, nullptr, nullptr,
                          nullptr);
  HWND Arrows = MakeControl(UPDOWN_CLASS, UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 16, 20);
  SendMessageA(Arrows, UDM_SETRANGE32, WPARAM(998), LPARAM(1001));
  SendMessageA(Arrows, UDM_SETBUDDY, WPARAM(Buddy), 0);
  EXPECT_EQ(BuddyText(), "998");
  TRect B, A;
  GetWindowRect(Buddy, &B);
  GetWindowRect(Arrows, &A);
  EXPECT_EQ(A.Right, 70) << "the arrows sit in the buddy's right end";
  EXPECT_EQ(B.Right, A.Left + 2);

  ClickArrow(Arrows, true);
  ClickArrow(Arrows, true);
  EXPECT_EQ(SendMessageA(Arrows, UDM_GETPOS32, 0, 0), 1000);
  EXPECT_EQ(BuddyText(), "1,000") << "with thousands separators";
  ClickArrow(Arrows, true);
  ClickArrow(Arrows, true);
  EXPECT_EQ(SendMessageA(Arrows, UDM_GETPOS32, 0, 0), 1001) << "stops at the top";
  SetWindowLongPtrA(Arrows, GWL_STYLE, GetWindowLongPtrA(Arrows, GWL_STYLE) | UDS_WRAP);
  ClickArrow(Arrows, true);
  EXPECT_EQ(SendMessageA(Arrows, UDM_GETPOS32, 0, 0), 998) << "wraps round";
  // The parent may refuse a step.
  Answers()[UDN_DELTAPOS] = [](NMHDR*) { return LRESULT(1); };
  ClickArrow(Arrows, false);
  EXPECT_EQ(SendMessageA(Arrows, UDM_GETPOS32, 0, 0), 998);
  EXPECT_EQ(Codes({UDN_DELTAPOS}).size(), 6u);
  // Positions outside the range are pulled in; the 16-bit call answers
  // the old position.
  EXPECT_EQ(SendMessageA(Arrows, UDM_SETPOS, 0, MAKELPARAM(5000, 0)), 998);
  EXPECT_EQ(SendMessageA(Arrows, UDM_GETPOS32, 0, 0), 1001);
}

TEST_F(UpDownTest, ProgressBarClampsStepsRoundAndPaintsItsShare) {
  HWND Bar = MakeControl(PROGRESS_CLASS, PBS_SMOOTH, 102, 12);
  SendMessageA(Bar, PBM_SETRANGE32, 0, 200);
  EXPECT_EQ(SendMessageA(Bar, PBM_SETPOS, 500, 0), 0);
  EXPECT_EQ(SendMessageA(Bar, PBM_GETPOS, 0, 0), 200) << "clamped";
  SendMessageA(Bar, PBM_SETPOS, 100, 0);
  EXPECT_EQ(Pixel(Bar, 30, 6), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Pixel(Bar, 70, 6), GetSysColor(COLOR_BTNFACE));
  SendMessageA(Bar, PBM_SETSTEP, 150, 0);
  SendMessageA(Bar, PBM_STEPIT, 0, 0);
  EXPECT_EQ(SendMessageA(Bar, PBM_GETPOS, 0, 0), 49) << "past the end it starts again";
  PBRANGE R;
  SendMessageA(Bar, PBM_GETRANGE, TRUE, LPARAM(&R));
  EXPECT_EQ(R.iHigh, 200);
}

TEST_F(UpDownTest, LibraryUpDownFollowsItsAssociateAndReportsClicks) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 200, 100);
  Form.Show();
  auto* Edit = new TPageControl(&Form);  // any windowed control can be the buddy
  Edit->SetBounds(10, 10, 80, 22);
  Edit->SetParent(&Form);
  auto* Up = new TUpDown(&Form);
  Up->SetParent(&Form);
  Up->SetMin(-2);
  Up->SetMax(2);
  Up->SetIncrement(2);
  Up->SetAssociate(Edit);
  struct TLog : TObject {
    std::vector<TUDBtnType> Clicks;
    void Click(TObject*, TUDBtnType B) { Clicks.push_back(B); }
  } Log;
  Up->OnClick = TUDClickEvent(&Log, &TLog::Click);
  EXPECT_EQ(Up->GetLeft() + Up->GetWidth(), 90);
  EXPECT_EQ(WindowTextOf(Edit->Handle()), "0");
  ClickArrow(Up->Handle(), true);
  EXPECT_EQ(Up->GetPosition(), 2);
  ClickArrow(Up->Handle(), false);
  ClickArrow(Up->Handle(), false);
  EXPECT_EQ(Up->GetPosition(), -2);
  EXPECT_EQ(WindowTextOf(Edit->Handle()), "-2");
  EXPECT_EQ(Log.Clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));
}
