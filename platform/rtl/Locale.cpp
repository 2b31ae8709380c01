#include "platform/rtl/Locale.h"

#include <cstring>
#include <optional>

#include "platform/rtl/DateTime.h"

namespace {

const char* const Months[] = {"January", "February", "March",     "April",   "May",      "June",
                              "July",    "August",   "September", "October", "November", "December"};
const char* const Days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool KnownLocale(LCID L) {
  return L == LOCALE_USER_DEFAULT || L == LOCALE_SYSTEM_DEFAULT || L == LOCALE_EN_US || L == 0;
}

std::optional<AnsiString> Item(LCTYPE T) {
  T &= ~LOCALE_NOUSEROVERRIDE;
  if (T >= LOCALE_SMONTHNAME1 && T < LOCALE_SMONTHNAME1 + 12) return Months[T - LOCALE_SMONTHNAME1];
  if (T >= LOCALE_SABBREVMONTHNAME1 && T < LOCALE_SABBREVMONTHNAME1 + 12)
    return AnsiString(Months[T - LOCALE_SABBREVMONTHNAME1]).substr(0, 3);
  // Day names start on Monday.
  if (T >= LOCALE_SDAYNAME1 && T < LOCALE_SDAYNAME1 + 7) return Days[(T - LOCALE_SDAYNAME1 + 1) % 7];
  if (T >= LOCALE_SABBREVDAYNAME1 && T < LOCALE_SABBREVDAYNAME1 + 7)
    return AnsiString(Days[(T - LOCALE_SABBREVDAYNAME1 + 1) % 7]).substr(0, 3);
  switch (T) {
    case LOCALE_ILANGUAGE: return "0409";
    case LOCALE_SLANGUAGE: return "English (United States)";
    case LOCALE_SABBREVLANGNAME: return "ENU";
    case LOCALE_ICOUNTRY: return "1";
    case LOCALE_SCOUNTRY: return "United States";
    case LOCALE_SLIST: return ",";
    case LOCALE_IMEASURE: return "1";  // 0 metric, 1 US
    case LOCALE_SDECIMAL: return ".";
    case LOCALE_STHOUSAND: return ",";
    case LOCALE_SGROUPING: return "3;0";
    case LOCALE_IDIGITS: return "2";
    case LOCALE_ILZERO: return "1";
    case LOCALE_SCURRENCY: return "$";
    case LOCALE_ICURRDIGITS: return "2";
    case LOCALE_ICURRENCY: return "0";
    case LOCALE_INEGCURR: return "0";
    case LOCALE_SDATE: return "/";
    case LOCALE_STIME: return ":";
    case LOCALE_SSHORTDATE: return "M/d/yyyy";
    case LOCALE_SLONGDATE: return "dddd, MMMM dd, yyyy";
    case LOCALE_IDATE: return "0";  // month-day-year
    case LOCALE_ITIME: return "0";  // 12-hour
    case LOCALE_S1159: return "AM";
    case LOCALE_S2359: return "PM";
    case LOCALE_SNEGATIVESIGN: return "-";
    case LOCALE_SISO639LANGNAME: return "en";
    case LOCALE_SISO3166CTRYNAME: return "US";
    case LOCALE_SENGLANGUAGE: return "English";
    case LOCALE_SENGCOUNTRY: return "United States";
    case LOCALE_STIMEFORMAT: return "h:mm:ss tt";
    case LOCALE_IDEFAULTANSICODEPAGE: return "1252";
    case LOCALE_SYEARMONTH: return "MMMM, yyyy";
    case LOCALE_IFIRSTDAYOFWEEK: return "6";  // Sunday
    default: return std::nullopt;
  }
}

// Copies Value with its zero as the locale calls do.
int Answer(const AnsiString& Value, char* Buf, int Size) {
  const int Need = int(Value.size()) + 1;
  if (Size == 0) return Need;
  if (!Buf || Size < Need) {
    return 0;
  }
  std::memcpy(Buf, Value.c_str(), size_t(Need));
  return Need;
}

AnsiString Pad(int V, int Width) {
  AnsiString S = std::to_string(V);
  while (int(S.size()) < Width) S.insert(S.begin(), '0');
  return S;
}

// One picture: runs of a letter are fields, quoted text is literal ('' a quote).
AnsiString Picture(const AnsiString& Fmt, const SYSTEMTIME& T, bool Date) {
  AnsiString R;
  for (size_t i = 0; i < Fmt.size();) {
    const char C = Fmt[i];
    if (C == '\'') {
      size_t j = i + 1;
      for (; j < Fmt.size(); ++j) {
        if (Fmt[j] == '\'') {
          if (j + 1 < Fmt.size() && Fmt[j + 1] == '\'') {
            R += '\'';
            ++j;
            continue;
          }
          break;
        }
        R += Fmt[j];
      }
      i = j + 1;
      continue;
    }
    size_t n = 1;
    while (i + n < Fmt.size() && Fmt[i + n] == C) ++n;
    const int N = int(n);
    if (Date && C == 'd') {
      if (N <= 2) R += Pad(T.wDay, N);
      else R += N == 3 ? AnsiString(Days[T.wDayOfWeek % 7]).substr(0, 3) : AnsiString(Days[T.wDayOfWeek % 7]);
    } else if (Date && C == 'M') {
      const int M = (T.wMonth + 11) % 12;
      if (N <= 2) R += Pad(T.wMonth, N);
      else R += N == 3 ? AnsiString(Months[M]).substr(0, 3) : AnsiString(Months[M]);
    } else if (Date && C == 'y') {
      if (N <= 2) R += Pad(T.wYear % 100, N);
      else R += Pad(T.wYear, 4);
    } else if (Date && C == 'g') {
      R += "A.D.";
    } else if (!Date && (C == 'h' || C == 'H')) {
      const int H = C == 'h' ? (T.wHour % 12 == 0 ? 12 : T.wHour % 12) : T.wHour;
      R += Pad(H, std::min(N, 2));
    } else if (!Date && C == 'm') {
      R += Pad(T.wMinute, std::min(N, 2));
    } else if (!Date && C == 's') {
      R += Pad(T.wSecond, std::min(N, 2));
    } else if (!Date && C == 't') {
      const AnsiString AmPm = T.wHour < 12 ? "AM" : "PM";
      R += N == 1 ? AmPm.substr(0, 1) : AmPm;
    } else {
      R.append(n, C);
    }
    i += n;
  }
  return R;
}

bool ValidDate(const SYSTEMTIME& T) {
  TDateTime D;
  return TryEncodeDate(T.wYear, T.wMonth, T.wDay, D);
}
}  // namespace

void GetLocalTime(SYSTEMTIME* T) {
  if (!T) return;
  const TDateTime N = Now();
  DecodeDate(N, T->wYear, T->wMonth, T->wDay);
  DecodeTime(N, T->wHour, T->wMinute, T->wSecond, T->wMilliseconds);
  T->wDayOfWeek = Word(DayOfWeek(N) - 1);
}

LCID GetThreadLocale() { return LOCALE_EN_US; }
LCID GetUserDefaultLCID() { return LOCALE_EN_US; }
LCID GetSystemDefaultLCID() { return LOCALE_EN_US; }

int GetLocaleInfoA(LCID Locale, LCTYPE Type, char* Data, int Size) {
  const auto V = KnownLocale(Locale) ? Item(Type) : std::nullopt;
  if (!V || Size < 0) {
    return 0;
  }
  return Answer(*V, Data, Size);
}

int GetDateFormatA(LCID Locale, DWORD Flags, const SYSTEMTIME* Date, const char* Format, char* Buf, int Size) {
  SYSTEMTIME T;
  if (Date) T = *Date;
  else GetLocalTime(&T);
  if (!KnownLocale(Locale) || !ValidDate(T) || Size < 0 || (Format && (Flags & (DATE_SHORTDATE | DATE_LONGDATE)))) {
    return 0;
  }
  // The day of the week follows from the date, whatever the caller put there.
  TDateTime D;
  TryEncodeDate(T.wYear, T.wMonth, T.wDay, D);
  T.wDayOfWeek = Word(DayOfWeek(D) - 1);
  const AnsiString Fmt = Format ? AnsiString(Format) : *Item((Flags & DATE_LONGDATE) ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE);
  return Answer(Picture(Fmt, T, true), Buf, Size);
}

int GetTimeFormatA(LCID Locale, DWORD Flags, const SYSTEMTIME* Time, const char* Format, char* Buf, int Size) {
  SYSTEMTIME T;
  if (Time) T = *Time;
  else GetLocalTime(&T);
  if (!KnownLocale(Locale) || T.wHour > 23 || T.wMinute > 59 || T.wSecond > 59 || Size < 0) {
    return 0;
  }
  AnsiString Fmt = Format ? AnsiString(Format) : *Item(LOCALE_STIMEFORMAT);
  if (!Format && (Flags & TIME_NOSECONDS)) Fmt = "h:mm tt";
  if (Flags & TIME_FORCE24HOURFORMAT) {
    for (char& C : Fmt)
      if (C == 'h') C = 'H';
  }
  return Answer(Picture(Fmt, T, false), Buf, Size);
}
