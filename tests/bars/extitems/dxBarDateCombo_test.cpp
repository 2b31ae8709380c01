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

}  // namespace
