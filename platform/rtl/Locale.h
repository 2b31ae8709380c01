// Locale.h — the locale calls of the system on its one locale, US English
// (0x0409) with the Windows defaults of that locale: short date "M/d/yyyy",
// long date "dddd, MMMM dd, yyyy", time "h:mm:ss tt", code page 1252,
// measurement in inches.
//
// Pictures are Windows pictures (d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh H HH, m mm, s ss, t tt, 'quoted text'), not the class library's
// FormatDateTime ones.
#pragma once
#include "platform/rtl/Types.h"

using LCID = DWORD;
using LCTYPE = DWORD;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_EN_US = 0x0409;
constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_ILANGUAGE = 0x0001;
constexpr LCTYPE LOCALE_SLANGUAGE = 0x0002;
constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x0003;
constexpr LCTYPE LOCALE_ICOUNTRY = 0x0005;
constexpr LCTYPE LOCALE_SCOUNTRY = 0x0006;
constexpr LCTYPE LOCALE_SLIST = 0x000C;
constexpr LCTYPE LOCALE_IMEASURE = 0x000D;
constexpr LCTYPE LOCALE_SDECIMAL = 0x000E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x000F;
constexpr LCTYPE LOCALE_SGROUPING = 0x0010;
constexpr LCTYPE LOCALE_IDIGITS = 0x0011;
constexpr LCTYPE LOCALE_ILZERO = 0x0012;
constexpr LCTYPE LOCALE_SCURRENCY = 0x0014;
constexpr LCTYPE LOCALE_ICURRDIGITS = 0x0019;
constexpr LCTYPE LOCALE_ICURRENCY = 0x001B;
constexpr LCTYPE LOCALE_INEGCURR = 0x001C;
constexpr LCTYPE LOCALE_SDATE = 0x001D;
constexpr LCTYPE LOCALE_STIME = 0x001E;
constexpr LCTYPE LOCALE_SSHORTDATE = 0x001F;
constexpr LCTYPE LOCALE_SLONGDATE = 0x0020;
constexpr LCTYPE LOCALE_IDATE = 0x0021;
constexpr LCTYPE LOCALE_ITIME = 0x0023;
constexpr LCTYPE LOCALE_S1159 = 0x0028;
constexpr LCTYPE LOCALE_S2359 = 0x0029;
constexpr LCTYPE LOCALE_SDAYNAME1 = 0x002A;        // Monday … SDAYNAME7 Sunday
constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x0031;
constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x0038;      // January … +11
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x0044;
constexpr LCTYPE LOCALE_SNEGATIVESIGN = 0x0051;
constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x0059;
constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x005A;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LCTYPE LOCALE_SENGCOUNTRY = 0x1002;
constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;
constexpr LCTYPE LOCALE_SYEARMONTH = 0x1006;
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;
constexpr DWORD DATE_SHORTDATE = 0x0001;
constexpr DWORD DATE_LONGDATE = 0x0002;
constexpr DWORD TIME_NOSECONDS = 0x0002;
constexpr DWORD TIME_FORCE24HOURFORMAT = 0x0008;

struct SYSTEMTIME {
  Word wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
void GetLocalTime(SYSTEMTIME* Time);

LCID GetThreadLocale();
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
// The value with its terminating zero into Data; Size 0 asks for the length
// (with the zero). 0 on failure: an unknown locale or item, a buffer too
// small. (The error code stays with the window layer's SetLastError.)
int GetLocaleInfoA(LCID Locale, LCTYPE Type, char* Data, int Size);
inline int GetLocaleInfo(LCID L, LCTYPE T, char* D, int S) { return GetLocaleInfoA(L, T, D, S); }
// Date (null: today) in Format, or the locale's short or long date
// (DATE_LONGDATE) when Format is null; lengths as GetLocaleInfoA.
int GetDateFormatA(LCID Locale, DWORD Flags, const SYSTEMTIME* Date, const char* Format, char* Buf, int Size);
int GetTimeFormatA(LCID Locale, DWORD Flags, const SYSTEMTIME* Time, const char* Format, char* Buf, int Size);
