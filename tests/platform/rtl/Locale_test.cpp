#include "platform/rtl/Locale.h"

#include <gtest/gtest.h>

namespace {
AnsiString Info(LCTYPE T) {
  char Buf[80];
  return GetLocaleInfoA(GetThreadLocale(), T, Buf, sizeof Buf) ? AnsiString(Buf) : AnsiString("<fail>");
}
AnsiString Date(const SYSTEMTIME& T, DWORD Flags, const char* Fmt) {
  char Buf[80];
  return GetDateFormatA(GetThreadLocale(), Flags, &T, Fmt, Buf, sizeof Buf) ? AnsiString(Buf) : AnsiString("<fail>");
}
AnsiString Time(const SYSTEMTIME& T, DWORD Flags, const char* Fmt) {
  char Buf[80];
  return GetTimeFormatA(GetThreadLocale(), Flags, &T, Fmt, Buf, sizeof Buf) ? AnsiString(Buf) : AnsiString("<fail>");
}
}  // namespace

TEST(Locale, AnswersTheUsEnglishDefaults) {
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
  struct TCase {
    LCTYPE Type;
    const char* Want;
  } Cases[] = {
      {LOCALE_IMEASURE, "1"},          {LOCALE_SDECIMAL, "."},
      {LOCALE_STHOUSAND, ","},         {LOCALE_SSHORTDATE, "M/d/yyyy"},
      {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"}, {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
      {LOCALE_SMONTHNAME1 + 11, "December"},     {LOCALE_SABBREVMONTHNAME1, "Jan"},
      {LOCALE_SDAYNAME1, "Monday"},    {LOCALE_SDAYNAME1 + 6, "Sunday"},
      {LOCALE_IDEFAULTANSICODEPAGE | LOCALE_NOUSEROVERRIDE, "1252"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Info(C.Type), C.Want) << std::hex << C.Type;
  char Small[3];
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, nullptr, 0), 9) << "the length with the zero";
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, Small, sizeof Small), 0) << "too small";
  EXPECT_EQ(GetLocaleInfoA(0x0407, LOCALE_SDECIMAL, Small, sizeof Small), 0) << "no other locale";
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x7777, Small, sizeof Small), 0);
}

TEST(Locale, DateAndTimePicturesFormatAsTheSystemDoes) {
  SYSTEMTIME T;
  T.wYear = 2007;
  T.wMonth = 3;
  T.wDay = 4;
  T.wHour = 15;
  T.wMinute = 7;
  T.wSecond = 9;
  T.wDayOfWeek = 5;  // wrong on purpose: the date decides
  EXPECT_EQ(Date(T, DATE_SHORTDATE, nullptr), "3/4/2007");
  EXPECT_EQ(Date(T, DATE_LONGDATE, nullptr), "Sunday, March 04, 2007");
  EXPECT_EQ(Date(T, 0, "ddd dd MMM yy 'at' d'''s'"), "Sun 04 Mar 07 at 4's");
  EXPECT_EQ(Time(T, 0, nullptr), "3:07:09 PM");
  EXPECT_EQ(Time(T, TIME_FORCE24HOURFORMAT, nullptr), "15:07:09 PM");
  EXPECT_EQ(Time(T, 0, "hh:mm t"), "03:07 P");
  SYSTEMTIME Bad = T;
  Bad.wMonth = 13;
  EXPECT_EQ(Date(Bad, 0, nullptr), "<fail>");
  EXPECT_EQ(Date(T, DATE_SHORTDATE, "yyyy"), "<fail>") << "a picture and a date flag together";
}
