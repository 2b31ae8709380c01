// DateTime.h — TDateTime and the date routines of the class library.
//
// A TDateTime counts days since 30 December 1899; the fraction is the time
// of day. Before that day the integer part still names the day (truncated
// toward zero) and the absolute value of the fraction the time, so -1.25 is
// 29 December 1899, 06:00. Valid dates run from 1 January 0001 to
// 31 December 9999.
//
// Texts follow the live locale settings (FormatSettings.h) unless a
// TFormatSettings is passed.
#pragma once
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

using TDateTime = double;

constexpr TDateTime MinDateTime = -693593.0;         // 0001-01-01
constexpr TDateTime MaxDateTime = 2958465.99999999;  // 9999-12-31 23:59:59.999
constexpr TDateTime UnixDateDelta = 25569.0;         // 1970-01-01
constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(Word Year);
// 28..31; 0 for a month outside 1..12.
Word DaysInAMonth(Word Year, Word Month);

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
// EConvertError "Invalid argument to date encode" outside 0001..9999 or for a
// day the month does not have.
TDateTime EncodeDate(Word Year, Word Month, Word Day);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
// EConvertError "Invalid argument to time encode" unless Hour < 24, Min < 60,
// Sec < 60 and MSec < 1000.
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);

// A value outside the valid range (or NaN) decodes to 0/0/0.
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
// The time of day, rounded to the millisecond; like the class library a
// fraction that rounds up to a whole day gives hour 24.
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime Date);
// The same time of day NumberOfMonths later (or earlier); the day is cut back
// to the last of a shorter month (31 January + 1 month = 28/29 February).
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);

// The local clock; see SetNowForTesting.
TDateTime Now();
TDateTime Date();  // Now without the time
TDateTime Time();  // Now without the date
// Makes Now, Date and Time return a fixed moment (tests that format the
// current date), or the clock again for a negative value.
void SetNowForTesting(TDateTime Fixed);

// Minutes to add to local time to get UTC (Windows' sign: UTC+05:30 is -330),
// without daylight saving: the "Bias" of the time-zone information.
int GetStandardTimeBias();
// The bias in force at a local date and time, daylight saving included.
int GetLocalTimeBias(TDateTime LocalTime);

Int64 DateTimeToUnix(TDateTime Value);  // seconds, local time taken as is
TDateTime UnixToDateTime(Int64 Value);

// Specifiers, letters in any case: c, d dd ddd dddd ddddd dddddd, m mm mmm
// mmmm (minutes right after h/hh), yy yyyy, h hh, n nn, s ss, z zzz, t tt,
// am/pm a/p ampm, "/" and ":" for the separators, '…' and "…" literal. Any
// other character is copied. An empty format means "c".
AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime);
AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime, const TFormatSettings& Settings);
AnsiString DateToStr(TDateTime Date);      // "ddddd"
AnsiString TimeToStr(TDateTime Time);      // "tt"
AnsiString DateTimeToStr(TDateTime Value); // "c": the time only when not midnight

// Reading texts in the short-date order of the settings, the numbers split
// by the date and time separators; a two-digit year falls into the century
// window, a missing year is this year. EConvertError "'%s' is not a valid
// date" (time, date and time) when the text does not read.
bool TryStrToDate(const AnsiString& S, TDateTime& Value);
bool TryStrToDate(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToDate(const AnsiString& S);
TDateTime StrToDateDef(const AnsiString& S, TDateTime Default);
bool TryStrToTime(const AnsiString& S, TDateTime& Value);
bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToTime(const AnsiString& S);
TDateTime StrToTimeDef(const AnsiString& S, TDateTime Default);
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value);
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToDateTime(const AnsiString& S);
TDateTime StrToDateTimeDef(const AnsiString& S, TDateTime Default);
