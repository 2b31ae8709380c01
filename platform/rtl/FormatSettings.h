// FormatSettings.h — the locale settings the number, currency and date
// routines read: one fixed US-English table, the single place to change the
// program's locale. FormatSettings() is the live table; tests swap in their
// own with TFormatSettingsOverride and get the old one back on scope exit.
#pragma once
#include <array>

#include "platform/rtl/Types.h"

struct TFormatSettings {
  // CurrencyFormat: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  Byte CurrencyFormat = 0;
  // NegCurrFormat: the class library's 0..15, e.g. 0 "($1)", 1 "-$1", 5 "-1$", 8 "-1 $".
  Byte NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  Byte CurrencyDecimals = 2;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  AnsiString CurrencyString = "$";
  AnsiString ShortDateFormat = "M/d/yyyy";
  AnsiString LongDateFormat = "dddd, MMMM dd, yyyy";
  AnsiString TimeAMString = "AM";
  AnsiString TimePMString = "PM";
  AnsiString ShortTimeFormat = "h:mm AMPM";
  AnsiString LongTimeFormat = "h:mm:ss AMPM";
  std::array<AnsiString, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<AnsiString, 12> LongMonthNames = {"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
  // Index 0 is Sunday, as DayOfWeek counts from 1 = Sunday.
  std::array<AnsiString, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<AnsiString, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
  // Two-digit years fall in the century window ending this many years from now.
  Word TwoDigitYearCenturyWindow = 50;
};

// The US-English defaults (a fresh copy).
TFormatSettings DefaultFormatSettings();
// The live settings every routine reads. Changing a field changes the program's
// locale; not synchronised, as the class library's globals were not.
TFormatSettings& FormatSettings();

// Replaces the live settings while alive, restoring the previous ones after.
class TFormatSettingsOverride {
public:
  explicit TFormatSettingsOverride(const TFormatSettings& Settings);
  ~TFormatSettingsOverride();
  TFormatSettingsOverride(const TFormatSettingsOverride&) = delete;
  TFormatSettingsOverride& operator=(const TFormatSettingsOverride&) = delete;

private:
  TFormatSettings FSaved;
};
