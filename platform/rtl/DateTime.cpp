#include "platform/rtl/DateTime.h"

#include <atomic>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <strings.h>

#include "platform/rtl/Exceptions.h"

namespace {

// Days from 0000-03-01-based civil arithmetic (proleptic Gregorian calendar).
Int64 DaysFromCivil(Int64 Y, unsigned M, unsigned D) {
  Y -= M <= 2;
  const Int64 Era = (Y >= 0 ? Y : Y - 399) / 400;
  const unsigned Yoe = unsigned(Y - Era * 400);
  const unsigned Doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const unsigned Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
  return Era * 146097 + Int64(Doe);
}

void CivilFromDays(Int64 Z, Int64& Y, unsigned& M, unsigned& D) {
  const Int64 Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const unsigned Doe = unsigned(Z - Era * 146097);
  const unsigned Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
  const unsigned Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
  const unsigned Mp = (5 * Doy + 2) / 153;
  D = Doy - (153 * Mp + 2) / 5 + 1;
  M = Mp < 10 ? Mp + 3 : Mp - 9;
  Y = Int64(Yoe) + Era * 400 + (M <= 2);
}

const Int64 DayZero = DaysFromCivil(1899, 12, 30);

bool InDateRange(TDateTime Value) {
  return !std::isnan(Value) && std::trunc(Value) >= MinDateTime && std::trunc(Value) <= 2958465.0;
}

// Date and time joined the way the class library joins them: before day 0
// the time counts away from zero, as the fraction's sign follows the day's.
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
  return Date >= 0 ? Date + Time : Date - Time;
}

std::atomic<double> FixedNow{-1.0};

TDateTime ClockNow() {
  timespec Ts{};
  clock_gettime(CLOCK_REALTIME, &Ts);
  tm Local{};
  const time_t Secs = Ts.tv_sec;
  localtime_r(&Secs, &Local);
  return ComposeDateTime(EncodeDate(Word(Local.tm_year + 1900), Word(Local.tm_mon + 1), Word(Local.tm_mday)),
                         EncodeTime(Word(Local.tm_hour), Word(Local.tm_min), Word(std::min(Local.tm_sec, 59)),
                                    Word(Ts.tv_nsec / 1000000)));
}

// ---- FormatDateTime ----

class TDateFormatter {
public:
  TDateFormatter(TDateTime Value, const TFormatSettings& Settings) : FValue(Value), FSettings(Settings) {
    DecodeDate(Value, FYear, FMonth, FDay);
    DecodeTime(Value, FHour, FMin, FSec, FMSec);
  }

  void Append(const AnsiString& Format, int Level);
  AnsiString Result;

private:
  void AppendNumber(unsigned N, int Digits) {
    char Buf[16];
    std::snprintf(Buf, sizeof Buf, "%.*u", Digits, N);
    Result += Buf;
  }
  // The specifiers below delegate to the locale's formats; two levels of
  // delegation are followed, so a format that names itself cannot recurse.
  void AppendNested(const AnsiString& Format, int Level) {
    if (Level < 2) Append(Format, Level + 1);
  }

  TDateTime FValue;
  const TFormatSettings& FSettings;
  Word FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
};

bool StartsWithNoCase(const AnsiString& S, std::size_t Pos, const char* Text) {
  const std::size_t N = std::char_traits<char>::length(Text);
  return Pos + N <= S.size() && strncasecmp(S.c_str() + Pos, Text, N) == 0;
}

void TDateFormatter::Append(const AnsiString& Format, int Level) {
  char LastToken = ' ';
  std::size_t P = 0;
  const std::size_t N = Format.size();
  while (P < N) {
    const char Starter = Format[P];
    char Token = (Starter >= 'a' && Starter <= 'z') ? char(Starter - 32) : Starter;
    if (Token >= 'A' && Token <= 'Z') {
      if (Token == 'M' && LastToken == 'H') Token = 'N';
      LastToken = Token;
    }
    // Letters repeat only in the same case: "Dd" is two separate days.
    auto Count = [&] {
      std::size_t Q = P + 1;
      while (Q < N && Format[Q] == Starter) ++Q;
      const int C = int(Q - P);
      P = Q;
      return C;
    };
    switch (Token) {
      case 'Y': {
        const int C = Count();
        if (C <= 2) AppendNumber(FYear % 100, 2);
        else AppendNumber(FYear, 4);
        break;
      }
      case 'M': {
        const int C = Count();
        if (C <= 2) AppendNumber(FMonth, C);
        else if (FMonth >= 1 && FMonth <= 12)
          Result += C == 3 ? FSettings.ShortMonthNames[FMonth - 1] : FSettings.LongMonthNames[FMonth - 1];
        break;
      }
      case 'D': {
        const int C = Count();
        const Word Dow = InDateRange(FValue) ? DayOfWeek(FValue) : 0;
        switch (C) {
          case 1: case 2: AppendNumber(FDay, C); break;
          case 3: if (Dow) Result += FSettings.ShortDayNames[Dow - 1]; break;
          case 4: if (Dow) Result += FSettings.LongDayNames[Dow - 1]; break;
          case 5: AppendNested(FSettings.ShortDateFormat, Level); break;
          default: AppendNested(FSettings.LongDateFormat, Level); break;
        }
        break;
      }
      case 'H': {
        const int C = Count();
        // A later am/pm marker (before the next hour) switches to the
        // 12-hour clock; quoted text is passed over.
        bool TwelveHour = false;
        for (std::size_t Q = P; Q < N; ++Q) {
          const char X = Format[Q];
          if (X == 'A' || X == 'a') {
            TwelveHour = StartsWithNoCase(Format, Q, "AM/PM") || StartsWithNoCase(Format, Q, "A/P") ||
                         StartsWithNoCase(Format, Q, "AMPM");
            break;
          }
          if (X == 'H' || X == 'h') break;
          if (X == '\'' || X == '"') {
            ++Q;
            while (Q < N && Format[Q] != X) ++Q;
          }
        }
        Word H = FHour;
        if (TwelveHour) {
          if (H == 0) H = 12;
          else if (H > 12) H -= 12;
        }
        AppendNumber(H, C > 2 ? 2 : C);
        break;
      }
      case 'N': {
        const int C = Count();
        AppendNumber(FMin, C > 2 ? 2 : C);
        break;
      }
      case 'S': {
        const int C = Count();
        AppendNumber(FSec, C > 2 ? 2 : C);
        break;
      }
      case 'Z': {
        const int C = Count();
        AppendNumber(FMSec, C == 1 ? 1 : 3);
        break;
      }
      case 'T': {
        const int C = Count();
        AppendNested(C == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, Level);
        break;
      }
      case 'C':
        Count();
        AppendNested(FSettings.ShortDateFormat, Level);
        if (FHour != 0 || FMin != 0 || FSec != 0) {
          Result += ' ';
          AppendNested(FSettings.LongTimeFormat, Level);
        }
        break;
      case 'A': {
        const bool Pm = FHour >= 12;
        if (StartsWithNoCase(Format, P, "AM/PM")) {
          Result += Format.substr(Pm ? P + 3 : P, 2);
          P += 5;
        } else if (StartsWithNoCase(Format, P, "A/P")) {
          Result += Format[Pm ? P + 2 : P];
          P += 3;
        } else if (StartsWithNoCase(Format, P, "AMPM")) {
          Result += Pm ? FSettings.TimePMString : FSettings.TimeAMString;
          P += 4;
        } else if (StartsWithNoCase(Format, P, "AAAA")) {
          // Day names spelled with a: the locale's, as with dddd and ddd.
          const Word Dow = InDateRange(FValue) ? DayOfWeek(FValue) : 0;
          if (Dow) Result += FSettings.LongDayNames[Dow - 1];
          P += 4;
        } else if (StartsWithNoCase(Format, P, "AAA")) {
          const Word Dow = InDateRange(FValue) ? DayOfWeek(FValue) : 0;
          if (Dow) Result += FSettings.ShortDayNames[Dow - 1];
          P += 3;
        } else {
          Result += Starter;
          ++P;
        }
        break;
      }
      case '/':
        Result += FSettings.DateSeparator;
        ++P;
        break;
      case ':':
        Result += FSettings.TimeSeparator;
        ++P;
        break;
      case '\'':
      case '"': {
        std::size_t Q = P + 1;
        while (Q < N && Format[Q] != Starter) ++Q;
        Result.append(Format, P + 1, Q - P - 1);
        P = Q < N ? Q + 1 : Q;
        break;
      }
      default:
        Result += Starter;
        ++P;
        break;
    }
  }
}

// ---- Reading dates and times ----

class TDateScanner {
public:
  TDateScanner(const AnsiString& S, const TFormatSettings& Settings) : FS(S), FSettings(Settings) {}

  bool AtEnd() const { return FPos >= FS.size(); }
  bool ScanDate(TDateTime& Date);
  bool ScanTime(TDateTime& Time);

private:
  void ScanBlanks() {
    while (FPos < FS.size() && FS[FPos] == ' ') ++FPos;
  }
  // Up to the first value of 1000 or more, so "0001999" reads as 1999 but
  // "12345" stops after 1234.
  bool ScanNumber(Word& Number, int& Digits) {
    ScanBlanks();
    std::size_t I = FPos;
    unsigned N = 0;
    while (I < FS.size() && FS[I] >= '0' && FS[I] <= '9' && N < 1000) N = N * 10 + unsigned(FS[I++] - '0');
    if (I == FPos) return false;
    Digits = int(I - FPos);
    FPos = I;
    Number = Word(N);
    return true;
  }
  bool ScanChar(char Ch) {
    ScanBlanks();
    if (FPos < FS.size() && FS[FPos] == Ch) {
      ++FPos;
      return true;
    }
    return false;
  }
  bool ScanString(const AnsiString& Symbol) {
    if (Symbol.empty()) return false;
    ScanBlanks();
    if (FPos + Symbol.size() > FS.size()) return false;
    for (std::size_t I = 0; I < Symbol.size(); ++I)
      if (std::tolower(Byte(FS[FPos + I])) != std::tolower(Byte(Symbol[I]))) return false;
    FPos += Symbol.size();
    return true;
  }

  const AnsiString& FS;
  const TFormatSettings& FSettings;
  std::size_t FPos = 0;
};

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder GetDateOrder(const AnsiString& Format) {
  for (char C : Format) switch (C & 0xDF) {
      case 'E': case 'Y': return TDateOrder::YMD;
      case 'M': return TDateOrder::MDY;
      case 'D': return TDateOrder::DMY;
      default: break;
    }
  return TDateOrder::MDY;
}

bool TDateScanner::ScanDate(TDateTime& Date) {
  const TDateOrder Order = GetDateOrder(FSettings.ShortDateFormat);
  Word N1 = 0, N2 = 0, N3 = 0;
  int L1 = 0, L2 = 0, L3 = 0;
  if (!(ScanNumber(N1, L1) && ScanChar(FSettings.DateSeparator) && ScanNumber(N2, L2))) return false;
  Word Y, M, D;
  if (ScanChar(FSettings.DateSeparator)) {
    if (!ScanNumber(N3, L3)) return false;
    int YearDigits;
    switch (Order) {
      case TDateOrder::MDY: Y = N3; M = N1; D = N2; YearDigits = L3; break;
      case TDateOrder::DMY: Y = N3; M = N2; D = N1; YearDigits = L3; break;
      default: Y = N1; M = N2; D = N3; YearDigits = L1; break;
    }
    if (YearDigits <= 2) {
      Word CurrentYear, Dummy1, Dummy2;
      DecodeDate(Now(), CurrentYear, Dummy1, Dummy2);
      const int Window = FSettings.TwoDigitYearCenturyWindow;
      const int CenturyBase = int(CurrentYear) - Window;
      int Full = Y + CenturyBase / 100 * 100;
      if (Window > 0 && Full < CenturyBase) Full += 100;
      if (Full < 0 || Full > 0xFFFF) return false;
      Y = Word(Full);
    }
  } else {
    Word Dummy1, Dummy2;
    DecodeDate(Now(), Y, Dummy1, Dummy2);
    if (Order == TDateOrder::DMY) {
      D = N1;
      M = N2;
    } else {
      M = N1;
      D = N2;
    }
  }
  ScanChar(FSettings.DateSeparator);
  ScanBlanks();
  return TryEncodeDate(Y, M, D, Date);
}

bool TDateScanner::ScanTime(TDateTime& Time) {
  int BaseHour = -1;
  if (ScanString(FSettings.TimeAMString) || ScanString("AM")) BaseHour = 0;
  else if (ScanString(FSettings.TimePMString) || ScanString("PM")) BaseHour = 12;
  if (BaseHour >= 0) ScanBlanks();
  Word Hour = 0, Min = 0, Sec = 0, MSec = 0;
  int L = 0;
  if (!ScanNumber(Hour, L)) return false;
  if (ScanChar(FSettings.TimeSeparator)) {
    if (!ScanNumber(Min, L)) return false;
    if (ScanChar(FSettings.TimeSeparator)) {
      if (!ScanNumber(Sec, L)) return false;
      // The digits after the decimal separator are taken as milliseconds
      // as written: "5.5" is 5 s 5 ms.
      if (ScanChar(FSettings.DecimalSeparator) && !ScanNumber(MSec, L)) return false;
    }
  }
  if (BaseHour < 0) {
    if (ScanString(FSettings.TimeAMString) || ScanString("AM")) BaseHour = 0;
    else if (ScanString(FSettings.TimePMString) || ScanString("PM")) BaseHour = 12;
  }
  if (BaseHour >= 0) {
    if (Hour == 0 || Hour > 12) return false;
    if (Hour == 12) Hour = 0;
    Hour = Word(Hour + BaseHour);
  }
  ScanBlanks();
  return TryEncodeTime(Hour, Min, Sec, MSec, Time);
}

[[noreturn]] void ConvertError(const char* What, const AnsiString& S) {
  throw EConvertError("'" + S + "' is not a valid " + What);
}

}  // namespace

bool IsLeapYear(Word Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month) {
  static const Word Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
  Date = TDateTime(DaysFromCivil(Year, Month, Day) - DayZero);
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime Result;
  if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError("Invalid argument to date encode");
  return Result;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
  if (Hour >= HoursPerDay || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Time = TDateTime((Hour * 3600000 + Min * 60000 + Sec * 1000 + MSec)) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime Result;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, Result)) throw EConvertError("Invalid argument to time encode");
  return Result;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
  if (!InDateRange(Date)) {
    Year = Month = Day = 0;
    return;
  }
  Int64 Y;
  unsigned M, D;
  CivilFromDays(Int64(std::trunc(Date)) + DayZero, Y, M, D);
  Year = Word(Y);
  Month = Word(M);
  Day = Word(D);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  double Frac = std::isfinite(Time) ? std::fabs(Time - std::trunc(Time)) : 0.0;
  const long MSecs = long(std::nearbyint(Frac * MSecsPerDay));
  Hour = Word(MSecs / 3600000);
  Min = Word(MSecs / 60000 % 60);
  Sec = Word(MSecs / 1000 % 60);
  MSec = Word(MSecs % 1000);
}

Word DayOfWeek(TDateTime Date) {
  // Day 0 was a Saturday.
  const Int64 D = std::isfinite(Date) ? Int64(std::trunc(Date)) : 0;
  return Word(((D % 7) + 7 + 6) % 7 + 1);
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths) {
  Word Y, M, D;
  DecodeDate(Date, Y, M, D);
  if (Y == 0) throw EConvertError("Invalid argument to date encode");
  const Int64 Total = Int64(Y) * 12 + (M - 1) + NumberOfMonths;
  const Int64 NewY = Total >= 0 ? Total / 12 : -1;
  if (NewY < 1 || NewY > 9999) throw EConvertError("Invalid argument to date encode");
  const Word NewM = Word(Total % 12 + 1);
  const Word NewD = std::min<Word>(D, DaysInAMonth(Word(NewY), NewM));
  const TDateTime Result = EncodeDate(Word(NewY), NewM, NewD);
  return ComposeDateTime(Result, std::fabs(Date - std::trunc(Date)));
}

TDateTime Now() {
  const double Fixed = FixedNow.load();
  return Fixed >= 0 ? Fixed : ClockNow();
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  // Re-encoded rather than Now's fraction, which carries the date's rounding.
  Word H, M, S, Ms;
  DecodeTime(Now(), H, M, S, Ms);
  return H < HoursPerDay ? EncodeTime(H, M, S, Ms) : 0.0;
}

void SetNowForTesting(TDateTime Fixed) {
  FixedNow.store(Fixed);
}

int GetStandardTimeBias() {
  tzset();
  return int(timezone / 60);
}

int GetLocalTimeBias(TDateTime LocalTime) {
  Word Y, Mo, D, H, Mi, S, Ms;
  DecodeDate(LocalTime, Y, Mo, D);
  DecodeTime(LocalTime, H, Mi, S, Ms);
  if (Y == 0) return GetStandardTimeBias();
  tm Local{};
  Local.tm_year = Y - 1900;
  Local.tm_mon = Mo - 1;
  Local.tm_mday = D;
  Local.tm_hour = H;
  Local.tm_min = Mi;
  Local.tm_sec = S;
  Local.tm_isdst = -1;
  if (mktime(&Local) == time_t(-1)) return GetStandardTimeBias();
  return int(-Local.tm_gmtoff / 60);
}

Int64 DateTimeToUnix(TDateTime Value) {
  return Int64(std::llround((Value - UnixDateDelta) * SecsPerDay));
}

TDateTime UnixToDateTime(Int64 Value) {
  return TDateTime(Value) / SecsPerDay + UnixDateDelta;
}

AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime, const TFormatSettings& Settings) {
  TDateFormatter F(DateTime, Settings);
  F.Append(Format.empty() ? AnsiString("C") : Format, 0);
  return F.Result;
}

AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime) {
  return FormatDateTime(Format, DateTime, FormatSettings());
}

AnsiString DateToStr(TDateTime Date) {
  return FormatDateTime("ddddd", Date);
}

AnsiString TimeToStr(TDateTime Time) {
  return FormatDateTime("tt", Time);
}

AnsiString DateTimeToStr(TDateTime Value) {
  return FormatDateTime("", Value);
}

bool TryStrToDate(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
  TDateScanner Scanner(S, Settings);
  TDateTime D;
  if (!Scanner.ScanDate(D) || !Scanner.AtEnd()) return false;
  Value = D;
  return true;
}

bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
  TDateScanner Scanner(S, Settings);
  TDateTime T;
  if (!Scanner.ScanTime(T) || !Scanner.AtEnd()) return false;
  Value = T;
  return true;
}

bool TryStrToDateTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
  TDateScanner Scanner(S, Settings);
  TDateTime D, T = 0;
  if (Scanner.ScanDate(D) && (Scanner.AtEnd() || (Scanner.ScanTime(T) && Scanner.AtEnd()))) {
    Value = ComposeDateTime(D, T);
    return true;
  }
  return TryStrToTime(S, Value, Settings);
}

bool TryStrToDate(const AnsiString& S, TDateTime& Value) { return TryStrToDate(S, Value, FormatSettings()); }
bool TryStrToTime(const AnsiString& S, TDateTime& Value) { return TryStrToTime(S, Value, FormatSettings()); }
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value) {
  return TryStrToDateTime(S, Value, FormatSettings());
}

TDateTime StrToDate(const AnsiString& S) {
  TDateTime V;
  if (!TryStrToDate(S, V)) ConvertError("date", S);
  return V;
}

TDateTime StrToTime(const AnsiString& S) {
  TDateTime V;
  if (!TryStrToTime(S, V)) ConvertError("time", S);
  return V;
}

TDateTime StrToDateTime(const AnsiString& S) {
  TDateTime V;
  if (!TryStrToDateTime(S, V)) ConvertError("date and time", S);
  return V;
}

TDateTime StrToDateDef(const AnsiString& S, TDateTime Default) {
  TDateTime V;
  return TryStrToDate(S, V) ? V : Default;
}

TDateTime StrToTimeDef(const AnsiString& S, TDateTime Default) {
  TDateTime V;
  return TryStrToTime(S, V) ? V : Default;
}

TDateTime StrToDateTimeDef(const AnsiString& S, TDateTime Default) {
  TDateTime V;
  return TryStrToDateTime(S, V) ? V : Default;
}
