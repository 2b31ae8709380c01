// The date combo: the date read back from its text, its range, the day
// name in front, and "+" and "-" typed into it.
#include "../BarsTestSupport.h"
#include "ExtItemsTestSupport.h"

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// Day-first short dates for the tests, the machine's own put back after.
TFormatSettings DayFirst() {
  TFormatSettings F = FormatSettings();
  F.ShortDateFormat = "d/M/yyyy";
  F.DateSeparator = '/';
  return F;
}

class DateComboTest : public BarsTest {
protected:
  TFormatSettingsOverride Dates{DayFirst()};
};

TEST_F(DateComboTest, TextsReadBackAsTheirDate) {
  auto* D = NewItem<TdxBarDateCombo>("DateCombo");
  const double Dec11 = EncodeDate(2026, 12, 11);
  struct TCase {
    const char* Text;
    double Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {"Fri 11/12/2026", Dec11, "the day name in front is skipped"},
      {"11/12/2026", Dec11, "a date without day name keeps its first part"},
      {"fri 11/12/2026", Dec11, "day names in any case"},
      {"", dxBarNullDate, "empty text is the null date"},
      {"Friday", dxBarNullDate, "no date at all"},
      {"Foo 11/12/2026", dxBarNullDate, "only a day name is skipped"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(D->ParseText(C.Text), C.Want) << C.Why;
}

TEST_F(DateComboTest, RangeDayTextAndDateOnStart) {
  auto* D = NewItem<TdxBarDateCombo>("DateCombo");
  EXPECT_EQ(D->GetDate(), Date()) << "a new combo shows today";
  EXPECT_EQ(D->GetDateOnStart(), bdsToday);
  D->SetDate(EncodeDate(2026, 3, 4));
  EXPECT_EQ(D->GetDateOnStart(), bdsCustom);
  EXPECT_EQ(D->GetText(), "Wed 4/3/2026");
  D->SetShowDayText(false);
  EXPECT_EQ(D->GetText(), "4/3/2026");
  D->SetMinDate(EncodeDate(2026, 5, 1));
  D->SetMaxDate(EncodeDate(2026, 5, 31));
  EXPECT_EQ(D->GetDate(), EncodeDate(2026, 5, 1)) << "the range moves the date in";
  D->SetText("30/6/2026");
  EXPECT_EQ(D->GetDate(), EncodeDate(2026, 5, 31));
  D->SetDateOnStart(bdsNullDate);
  EXPECT_EQ(D->GetText(), "");
  EXPECT_EQ(D->GetDate(), dxBarNullDate);
}

class DateComboWindowTest : public ExtItemsWindowTest {};

TEST_F(DateComboWindowTest, PlusAndMinusStepTheTypedDate) {
  TFormatSettingsOverride Dates(DayFirst());
  auto* D = Add<TdxBarDateCombo>("DateCombo");
  D->SetWidth(160);
  D->SetDate(EncodeDate(2026, 12, 31));
  Show();
  sxtest::SaveShot(Form, "barscust-datecombo");
  auto* C = ControlOf<TdxBarDateComboControl>(D);
  ASSERT_NE(C, nullptr);
  const TPoint P = At(D, 20, 10);
  HeadlessDisplay().Click(P.X, P.Y);
  Settle();
  ASSERT_TRUE(C->Editing());
  sxtest::Type("++");
  Settle();
  EXPECT_EQ(C->EditWindow()->GetText(), "Sat 2/1/2027");
  sxtest::Type("-");
  Settle();
  EXPECT_EQ(C->EditWindow()->GetText(), "Fri 1/1/2027");
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(D->GetDate(), EncodeDate(2027, 1, 1));
}

// The screen point of a day of the drop-down calendar (found through the
// calendar's own hit test).
TPoint PointOfDay(TdxBarDateNavigator* N, double Day) {
  for (Integer Y = 0; Y < N->ClientHeight(); Y += 2)
    for (Integer X = 0; X < N->ClientWidth(); X += 2)
      if (N->GetDateAtPos({X, Y}) == Day) return N->ClientToScreen({X + 2, Y + 2});
  ADD_FAILURE() << "the day is not shown";
  return {};
}

TEST_F(DateComboWindowTest, TheCalendarDropsDownAndTakesTheClickedDay) {
  auto* D = Add<TdxBarDateCombo>("Date", "Date");
  Show();
  D->SetDate(EncodeDate(2026, 3, 10));
  auto* Ctl = ControlOf<TdxBarDateComboControl>(D);
  ASSERT_NE(Ctl, nullptr);
  const TRect R = D->GetLink(0)->GetItemRect();
  const TPoint Button = AtClient({R.Right - 4, (R.Top + R.Bottom) / 2});
  HeadlessDisplay().Click(Button.X, Button.Y);
  Settle();
  ASSERT_TRUE(D->DroppedDown());
  TdxBarDateNavigator* N = D->Navigator();
  EXPECT_EQ(N->GetFirstDate(), EncodeDate(2026, 3, 1));
  EXPECT_EQ(N->GetSelStart(), EncodeDate(2026, 3, 10));
  // Six weeks, starting in the month before even when the month starts a week.
  EXPECT_EQ(N->GetLastVisibleDate() - N->GetFirstVisibleDate(), 41);
  EXPECT_LT(N->GetFirstVisibleDate(), EncodeDate(2026, 3, 1));
  TRect Shot;
  GetWindowRect(N->Handle(), &Shot);
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barsext-date-dropdown.png", &Shot);
  // The arrow in the title shows the month before.
  const TRect Prev = N->PrevMonthRect();
  const TPoint PrevAt = N->ClientToScreen({(Prev.Left + Prev.Right) / 2, (Prev.Top + Prev.Bottom) / 2});
  HeadlessDisplay().Click(PrevAt.X, PrevAt.Y);
  Settle();
  EXPECT_EQ(N->GetFirstDate(), EncodeDate(2026, 2, 1));
  // A clicked day becomes the date and the calendar closes.
  const TPoint Day = PointOfDay(N, EncodeDate(2026, 2, 20));
  HeadlessDisplay().Click(Day.X, Day.Y);
  Settle();
  EXPECT_FALSE(D->DroppedDown());
  EXPECT_EQ(D->GetDate(), EncodeDate(2026, 2, 20));
  // Clear empties the date; Today takes today.
  Ctl->DropDown();
  Settle();
  const TRect C = N->ClearButtonRect();
  const TPoint ClearAt = N->ClientToScreen({(C.Left + C.Right) / 2, (C.Top + C.Bottom) / 2});
  HeadlessDisplay().Click(ClearAt.X, ClearAt.Y);
  Settle();
  EXPECT_EQ(D->GetText(), "");
  Ctl->DropDown();
  Settle();
  const TRect T = N->TodayButtonRect();
  const TPoint TodayAt = N->ClientToScreen({(T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2});
  HeadlessDisplay().Click(TodayAt.X, TodayAt.Y);
  Settle();
  EXPECT_EQ(D->GetDate(), double(Date()));
}

}  // namespace
