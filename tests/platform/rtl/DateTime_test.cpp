#include "platform/rtl/DateTime.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

// Pins Now() for the test's scope.
struct TFixedNow {
  explicit TFixedNow(TDateTime Value) { SetNowForTesting(Value); }
  ~TFixedNow() { SetNowForTesting(-1); }
};

TDateTime DT(Word Y, Word Mo, Word D, Word H = 0, Word Mi = 0, Word S = 0, Word Ms = 0) {
  const TDateTime Day = EncodeDate(Y, Mo, D);
  const TDateTime T = EncodeTime(H, Mi, S, Ms);
  return Day >= 0 ? Day + T : Day - T;
}

}  // namespace

TEST(EncodeDate, CountsDaysFromTheLastDaysOf1899) {
  struct TCase { Word Y, M, D; double Want; };
  const TCase Cases[] = {
      {1899, 12, 30, 0},
      {1899, 12, 31, 1},
      {1900, 1, 1, 2},
      {1900, 3, 1, 61},  // 1900 is no leap year
      {1899, 12, 29, -1},
      {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
      {1970, 1, 1, 25569},
      {2000, 2, 29, 36585},
      {2004, 2, 29, 38046},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Y << "-" << C.M << "-" << C.D);
    EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Want);
    Word Y, M, D;
    DecodeDate(C.Want, Y, M, D);
    EXPECT_EQ(Y, C.Y);
    EXPECT_EQ(M, C.M);
    EXPECT_EQ(D, C.D);
  }
}

TEST(EncodeDate, RejectsDaysTheCalendarDoesNotHave) {
  struct TCase { Word Y, M, D; };
  const TCase Bad[] = {{1900, 2, 29}, {2100, 2, 29}, {2001, 2, 29}, {2003, 4, 31}, {2003, 13, 1},
                       {2003, 0, 1},  {2003, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const TCase& C : Bad) {
    SCOPED_TRACE(testing::Message() << C.Y << "-" << C.M << "-" << C.D);
    TDateTime Out = 42;
    EXPECT_FALSE(TryEncodeDate(C.Y, C.M, C.D, Out));
    EXPECT_EQ(Out, 42);
    EXPECT_THROW(EncodeDate(C.Y, C.M, C.D), EConvertError);
  }
  try {
    EncodeDate(2003, 2, 30);
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Invalid argument to date encode");
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInAMonth(2004, 2), 29);
  EXPECT_EQ(DaysInAMonth(2004, 13), 0);
}

TEST(EncodeTime, BoundsEachFieldAndRoundTripsToTheMillisecond) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  for (int Ms : {0, 1, 999, 45296789, 86399999}) {
    SCOPED_TRACE(Ms);
    const Word H = Word(Ms / 3600000), Mi = Word(Ms / 60000 % 60), S = Word(Ms / 1000 % 60), Mss = Word(Ms % 1000);
    for (double Day : {0.0, 38000.0}) {
      Word H2, Mi2, S2, Ms2;
      DecodeTime(Day + EncodeTime(H, Mi, S, Mss), H2, Mi2, S2, Ms2);
      EXPECT_EQ(H2 * 3600000 + Mi2 * 60000 + S2 * 1000 + Ms2, Ms);
    }
  }
}

TEST(DecodeDate, NegativeValuesKeepTheDayAndCountTheTimeFromItsStart) {
  Word Y, M, D, H, Mi, S, Ms;
  DecodeDate(-1.25, Y, M, D);
  DecodeTime(-1.25, H, Mi, S, Ms);
  EXPECT_EQ(D, 29);
  EXPECT_EQ(M, 12);
  EXPECT_EQ(Y, 1899);
  EXPECT_EQ(H, 6);
  DecodeDate(-0.5, Y, M, D);  // still day 0
  EXPECT_EQ(D, 30);
  EXPECT_EQ(DT(1899, 12, 29, 6), -1.25);
}

TEST(DecodeDate, OutOfRangeValuesGiveZeros) {
  for (double V : {-693594.0, 2958466.0, 1e300, -1e300, std::nan("")}) {
    SCOPED_TRACE(V);
    Word Y = 1, M = 1, D = 1;
    DecodeDate(V, Y, M, D);
    EXPECT_EQ(Y + M + D, 0);
  }
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd ddd mmm", 1e300), "0000-00-00  ");
}

TEST(DayOfWeek, CountsFromSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);                     // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1900, 1, 1)), 2);  // Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29)), 5);  // Thursday
  EXPECT_EQ(DayOfWeek(-1.75), 6);                  // Friday 29 December 1899
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);    // Monday in the proleptic calendar
}

TEST(IncMonth, CutsTheDayBackAndKeepsTheTime) {
  struct TCase { TDateTime From; int Months; TDateTime Want; };
  const TCase Cases[] = {
      {DT(2003, 1, 31, 10, 30), 1, DT(2003, 2, 28, 10, 30)},
      {DT(2004, 1, 31), 1, DT(2004, 2, 29)},
      {DT(2003, 3, 15), -3, DT(2002, 12, 15)},
      {DT(2003, 3, 15), 24, DT(2005, 3, 15)},
      {DT(1899, 12, 29, 6), 1, DT(1900, 1, 29, 6)},  // the time moves to the other side of day 0
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(FormatDateTime("yyyy-mm-dd hh:nn", C.From));
    EXPECT_DOUBLE_EQ(IncMonth(C.From, C.Months), C.Want);
  }
  EXPECT_THROW(IncMonth(DT(9999, 12, 1), 1), EConvertError);
  EXPECT_THROW(IncMonth(DT(1, 1, 1), -1), EConvertError);
}

TEST(FormatDateTime, EachSpecifier) {
  // Thursday 5 February 2004, 13:04:09.007
  const TDateTime V = DT(2004, 2, 5, 13, 4, 9, 7);
  struct TCase { const char* Format; const char* Want; };
  const TCase Cases[] = {
      {"d", "5"},
      {"dd", "05"},
      {"ddd", "Thu"},
      {"dddd", "Thursday"},
      {"ddddd", "2/5/2004"},
      {"dddddd", "Thursday, February 05, 2004"},
      {"m", "2"},
      {"mm", "02"},
      {"mmm", "Feb"},
      {"mmmm", "February"},
      {"MMMMMM", "February"},
      {"yy", "04"},
      {"y", "04"},
      {"yyyy", "2004"},
      {"yyy", "2004"},
      {"h", "13"},
      {"hh", "13"},
      {"hhh", "13"},
      {"n", "4"},
      {"nn", "04"},
      {"s", "9"},
      {"ss", "09"},
      {"z", "7"},
      {"zzz", "007"},
      {"t", "1:04 PM"},
      {"tt", "1:04:09 PM"},
      {"c", "2/5/2004 1:04:09 PM"},
      {"", "2/5/2004 1:04:09 PM"},
      {"h:mm", "13:04"},              // m after h is the minute
      {"hh 'x' mm", "13 x 04"},       // literal text does not break the link
      {"hh mmm", "13 04"},
      {"mm/dd/yy", "02/05/04"},
      {"h:nn am/pm", "1:04 pm"},
      {"h:nn AM/PM", "1:04 PM"},
      {"h:nn Am/pM", "1:04 pM"},
      {"h:nn a/p", "1:04 p"},
      {"h:nn A/P", "1:04 P"},
      {"h:nn ampm", "1:04 PM"},
      {"h 'h' a/p", "1 h p"},         // quoted text is skipped when looking for am/pm
      {"h hh a/p", "13 01 p"},        // the look-ahead stops at the next hour
      {"aaa aaaa", "Thu Thursday"},
      {"'yyyy' \"dd\"", "yyyy dd"},
      {"'open", "open"},               // an unclosed quote runs to the end
      {"yyyymmddhhnnss", "20040205130409"},
      {"Dd", "55"},                    // runs need the same case
      {"x:y/q", "x:04/q"},
      {"hxm", "13x2"},                 // another letter between h and m: month
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Format);
    EXPECT_EQ(FormatDateTime(C.Format, V), C.Want);
  }
}

TEST(FormatDateTime, TwelveHourClockAroundMidnightAndNoon) {
  struct TCase { Word Hour; const char* Want; };
  const TCase Cases[] = {{0, "12 AM"}, {1, "1 AM"}, {11, "11 AM"}, {12, "12 PM"}, {23, "11 PM"}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Hour);
    EXPECT_EQ(FormatDateTime("h AM/PM", EncodeTime(C.Hour, 0, 0, 0)), C.Want);
  }
}

TEST(FormatDateTime, DateOnlyValuesLeaveTheTimeOut) {
  EXPECT_EQ(DateTimeToStr(EncodeDate(2003, 1, 2)), "1/2/2003");
  EXPECT_EQ(DateTimeToStr(DT(2003, 1, 2, 0, 0, 0, 500)), "1/2/2003");  // milliseconds do not count
  EXPECT_EQ(DateTimeToStr(DT(2003, 1, 2, 0, 0, 1)), "1/2/2003 12:00:01 AM");
  EXPECT_EQ(DateToStr(DT(1899, 12, 29, 6)), "12/29/1899");
  EXPECT_EQ(TimeToStr(DT(1899, 12, 29, 6)), "6:00:00 AM");
  EXPECT_EQ(DateTimeToStr(0), "12/30/1899");
}

TEST(FormatDateTime, FollowsTheLocaleAndStopsSelfReference) {
  TFormatSettings S = DefaultFormatSettings();
  S.DateSeparator = '.';
  S.TimeSeparator = '.';
  S.ShortDateFormat = "dd/mm/yyyy";
  S.LongTimeFormat = "hh:nn:ss";
  TFormatSettingsOverride Guard(S);
  const TDateTime V = DT(2004, 2, 5, 13, 4, 9);
  EXPECT_EQ(DateTimeToStr(V), "05.02.2004 13.04.09");
  FormatSettings().ShortDateFormat = "ddddd";  // names itself
  EXPECT_EQ(FormatDateTime("ddddd", V), "");
  FormatSettings().ShortDateFormat = "'<'c'>'";
  EXPECT_EQ(FormatDateTime("ddddd", V), "<< > 13.04.09>");  // two levels deep, then nothing
}

TEST(StrToDate, ReadsTheShortDateOrder) {
  TFixedNow Clock(DT(2026, 6, 15, 12));
  struct TCase { const char* Text; TDateTime Want; };
  const TCase Cases[] = {
      {"2/5/2004", DT(2004, 2, 5)},
      {" 2 / 5 / 2004 ", DT(2004, 2, 5)},
      {"2/5/2004/", DT(2004, 2, 5)},  // one trailing separator is allowed
      {"2/5", DT(2026, 2, 5)},         // no year: this year
      {"2/5/04", DT(2004, 2, 5)},
      {"2/5/75", DT(2075, 2, 5)},      // window: 1976..2075
      {"2/5/76", DT(1976, 2, 5)},
      {"2/5/0004", DT(4, 2, 5)},       // four digits are taken as written
      {"12/30/1899", 0},
      {"12/29/1899", -1},
      {"02/29/2000", DT(2000, 2, 29)},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(StrToDate(C.Text), C.Want);
  }
}

TEST(StrToDate, RejectsWhatDoesNotRead) {
  TFixedNow Clock(DT(2026, 6, 15));
  const char* const Bad[] = {"", "2004", "2/", "2/30/2004", "13/1/2004", "2-5-2004", "2/5/2004 x",
                             "2/5/12345", "a/b/c", "2/5/2004 10:00"};
  for (const char* Text : Bad) {
    SCOPED_TRACE(Text);
    TDateTime V = 7;
    EXPECT_FALSE(TryStrToDate(Text, V));
    EXPECT_EQ(V, 7);
    EXPECT_EQ(StrToDateDef(Text, 3), 3);
    try {
      StrToDate(Text);
      ADD_FAILURE();
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), AnsiString("'") + Text + "' is not a valid date");
    }
  }
}

TEST(StrToDate, OtherOrdersFromTheLocale) {
  TFixedNow Clock(DT(2026, 6, 15));
  TFormatSettings S = DefaultFormatSettings();
  S.ShortDateFormat = "dd.MM.yyyy";
  S.DateSeparator = '.';
  EXPECT_EQ(StrToDateDef("5.2.2004", 0), 0);  // the live settings are still US
  TDateTime V;
  ASSERT_TRUE(TryStrToDate("5.2.2004", V, S));
  EXPECT_EQ(V, DT(2004, 2, 5));
  ASSERT_TRUE(TryStrToDate("5.2", V, S));
  EXPECT_EQ(V, DT(2026, 2, 5));
  S.ShortDateFormat = "yyyy-MM-dd";
  S.DateSeparator = '-';
  ASSERT_TRUE(TryStrToDate("2004-2-5", V, S));
  EXPECT_EQ(V, DT(2004, 2, 5));
  ASSERT_TRUE(TryStrToDate("04-2-5", V, S));  // a two-digit year first
  EXPECT_EQ(V, DT(2004, 2, 5));
}

TEST(StrToTime, ReadsTwelveAndTwentyFourHourTexts) {
  struct TCase { const char* Text; TDateTime Want; };
  const TCase Cases[] = {
      {"13:04", EncodeTime(13, 4, 0, 0)},
      {"13:04:09", EncodeTime(13, 4, 9, 0)},
      {"13:04:09.5", EncodeTime(13, 4, 9, 5)},  // digits read as milliseconds
      {"7", EncodeTime(7, 0, 0, 0)},
      {"1:04 PM", EncodeTime(13, 4, 0, 0)},
      {"1:04pm", EncodeTime(13, 4, 0, 0)},
      {"12:00 AM", 0},
      {"12:30 PM", EncodeTime(12, 30, 0, 0)},
      {"PM 1:04", EncodeTime(13, 4, 0, 0)},
      {"  9 : 05  ", EncodeTime(9, 5, 0, 0)},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_DOUBLE_EQ(StrToTime(C.Text), C.Want);
  }
  const char* const Bad[] = {"", "24:00", "13:60", "13 PM", "0:30 AM", "1:", "1:04 XM", "::"};
  for (const char* Text : Bad) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(StrToTimeDef(Text, -5), -5);
    EXPECT_THROW(StrToTime(Text), EConvertError);
  }
}

TEST(StrToDateTime, ReadsDateThenTimeOrTimeAlone) {
  TFixedNow Clock(DT(2026, 6, 15));
  EXPECT_DOUBLE_EQ(StrToDateTime("2/5/2004 1:04:09 PM"), DT(2004, 2, 5, 13, 4, 9));
  EXPECT_DOUBLE_EQ(StrToDateTime("2/5/2004"), DT(2004, 2, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("13:04"), EncodeTime(13, 4, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("12/29/1899 6:00"), -1.25);  // time away from zero before day 0
  EXPECT_EQ(StrToDateTimeDef("2/5/2004 25:00", 9), 9);
  EXPECT_EQ(StrToDateTimeDef("2/5/2004 1:00 junk", 9), 9);
  try {
    StrToDateTime("soon");
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'soon' is not a valid date and time");
  }
}

TEST(DateTimeToStr, ReadsBackWhatItWrites) {
  TFixedNow Clock(DT(2026, 6, 15));
  const TDateTime Values[] = {DT(2004, 2, 5, 13, 4, 9), DT(1, 1, 1), DT(9999, 12, 31, 23, 59, 59),
                              DT(1899, 12, 29, 6, 30), DT(2000, 2, 29, 0, 0, 1)};
  for (TDateTime V : Values) {
    SCOPED_TRACE(DateTimeToStr(V));
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(V)), V);
  }
}

TEST(Now, FollowsTheClockUnlessFixed) {
  const TDateTime Before = Now();
  {
    TFixedNow Clock(DT(2004, 2, 5, 13, 4, 9));
    EXPECT_EQ(Now(), DT(2004, 2, 5, 13, 4, 9));
    EXPECT_EQ(Date(), DT(2004, 2, 5));
    EXPECT_DOUBLE_EQ(Time(), EncodeTime(13, 4, 9, 0));
  }
  const time_t T = time(nullptr);
  tm L{};
  localtime_r(&T, &L);
  EXPECT_NEAR(Now(), DT(Word(L.tm_year + 1900), Word(L.tm_mon + 1), Word(L.tm_mday), Word(L.tm_hour),
                        Word(L.tm_min), Word(std::min(L.tm_sec, 59))),
              2.0 / SecsPerDay);
  EXPECT_GE(Now(), Before);
}

TEST(TimeBias, FollowsTheZoneAndItsDaylightSaving) {
  const char* Saved = std::getenv("TZ");
  const AnsiString Old = Saved ? Saved : "";
  struct TCase { const char* Zone; TDateTime When; int Standard, AtDate; };
  const TCase Cases[] = {
      // POSIX rules, so no zone database is needed.
      {"UTC0", DT(2004, 7, 1), 0, 0},
      {"IST-5:30", DT(2004, 7, 1), -330, -330},
      {"EST5EDT,M3.2.0,M11.1.0", DT(2004, 1, 15), 300, 300},
      {"EST5EDT,M3.2.0,M11.1.0", DT(2004, 7, 1), 300, 240},
      {"CET-1CEST,M3.5.0,M10.5.0/3", DT(2004, 7, 1, 12), -60, -120},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Zone);
    setenv("TZ", C.Zone, 1);
    tzset();
    EXPECT_EQ(GetStandardTimeBias(), C.Standard);
    EXPECT_EQ(GetLocalTimeBias(C.When), C.AtDate);
  }
  if (Saved) setenv("TZ", Old.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

TEST(DateTimeToUnix, CountsSecondsFrom1970) {
  EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 1)), 0);
  EXPECT_EQ(DateTimeToUnix(DT(2004, 2, 5, 13, 4, 9)), 1075986249);
  EXPECT_DOUBLE_EQ(UnixToDateTime(1075986249), DT(2004, 2, 5, 13, 4, 9));
  EXPECT_EQ(DateTimeToUnix(EncodeDate(1969, 12, 31)), -86400);
}
