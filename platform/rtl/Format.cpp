#include "platform/rtl/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

TVarRec::TVarRec(const WideString& V) : FKind(vtString), FString(WideToAnsi(V)) {}
TVarRec::TVarRec(const char16_t* V) : FKind(vtString), FString(V ? WideToAnsi(V) : AnsiString()) {}

namespace {

// ---- decimal digits of a double ---------------------------------------------

// Value = 0.Digits × 10^Exponent; Digits carries no trailing zeros and is
// empty for zero. Digits may be a correctly rounded prefix of the exact
// expansion (Exact false); RoundTo fetches the exact one when it matters.
struct TDecimal {
  bool Negative = false;
  bool Exact = true;
  int Exponent = 0;
  double Source = 0;
  std::string Digits;
  bool IsZero() const { return Digits.empty(); }
};

TDecimal DecimalOf(double V, int Significant) {
  TDecimal D;
  D.Negative = std::signbit(V);
  D.Source = V;
  V = std::fabs(V);
  if (V == 0) return D;
  char Buf[800];
  std::snprintf(Buf, sizeof Buf, "%.*e", Significant - 1, V);
  const char* E = std::strchr(Buf, 'e');
  D.Digits.push_back(Buf[0]);
  if (Significant > 1) D.Digits.append(Buf + 2, static_cast<std::size_t>(E - (Buf + 2)));
  D.Exponent = std::atoi(E + 1) + 1;
  // 767 significant digits hold any double exactly.
  D.Exact = Significant >= 767;
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
  return D;
}

// 41 digits settle every rounding at 18 or fewer digits except an apparent
// tie, which the exact expansion decides.
TDecimal ExactDecimal(double V) { return DecimalOf(V, 41); }

// Keeps N significant digits, rounding half away from zero.
void RoundTo(TDecimal& D, int N) {
  if (N < 0) {
    D.Digits.clear();
    return;
  }
  if (static_cast<int>(D.Digits.size()) <= N) return;
  if (!D.Exact && static_cast<int>(D.Digits.size()) == N + 1 && D.Digits[N] == '5') {
    const bool Negative = D.Negative;
    D = DecimalOf(D.Source, 767);
    D.Negative = Negative;
  }
  const bool Up = D.Digits[N] >= '5';
  D.Digits.resize(N);
  if (Up) {
    int i = N - 1;
    while (i >= 0 && D.Digits[i] == '9') --i;
    if (i < 0) {
      D.Digits.assign(1, '1');
      ++D.Exponent;
    } else {
      ++D.Digits[i];
      D.Digits.resize(i + 1);
    }
  }
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
}

char DigitAt(const TDecimal& D, int Index) {
  return (Index >= 0 && Index < static_cast<int>(D.Digits.size())) ? D.Digits[Index] : '0';
}

AnsiString GroupThousands(const AnsiString& Int) {
  const char Sep = FormatSettings().ThousandSeparator;
  if (Sep == '\0' || Int.size() <= 3) return Int;
  AnsiString R;
  for (std::size_t i = 0; i < Int.size(); ++i) {
    if (i > 0 && (Int.size() - i) % 3 == 0) R.push_back(Sep);
    R.push_back(Int[i]);
  }
  return R;
}

AnsiString ExponentText(int Exp, int MinDigits, bool PlusSign) {
  AnsiString R = "E";
  if (Exp < 0) R.push_back('-');
  else if (PlusSign) R.push_back('+');
  AnsiString Num = std::to_string(std::abs(Exp));
  if (static_cast<int>(Num.size()) < MinDigits) Num.insert(0, MinDigits - Num.size(), '0');
  return R + Num;
}

AnsiString FormatExponent(TDecimal D, int Precision, int Digits) {
  RoundTo(D, Precision);
  const int Exp = D.IsZero() ? 0 : D.Exponent - 1;
  AnsiString R;
  if (D.Negative && !D.IsZero()) R.push_back('-');
  R.push_back(DigitAt(D, 0));
  if (Precision > 1) {
    R.push_back(FormatSettings().DecimalSeparator);
    for (int i = 1; i < Precision; ++i) R.push_back(DigitAt(D, i));
  }
  return R + ExponentText(Exp, Digits, true);
}

AnsiString FormatGeneral(TDecimal D, int Precision, int Digits) {
  RoundTo(D, Precision);
  if (D.IsZero()) return "0";
  AnsiString R = D.Negative ? "-" : "";
  const int N = static_cast<int>(D.Digits.size());
  const char Sep = FormatSettings().DecimalSeparator;
  if (D.Exponent > Precision || D.Exponent < -3) {
    R.push_back(D.Digits[0]);
    if (N > 1) {
      R.push_back(Sep);
      R.append(D.Digits, 1, AnsiString::npos);
    }
    return R + ExponentText(D.Exponent - 1, Digits, false);
  }
  if (D.Exponent <= 0) {
    R += "0";
    R.push_back(Sep);
    R.append(-D.Exponent, '0');
    return R + D.Digits;
  }
  for (int i = 0; i < D.Exponent; ++i) R.push_back(DigitAt(D, i));
  if (N > D.Exponent) {
    R.push_back(Sep);
    R.append(D.Digits, D.Exponent, AnsiString::npos);
  }
  return R;
}

AnsiString ApplyCurrency(const AnsiString& Amount, bool Negative) {
  const TFormatSettings& F = FormatSettings();
  const AnsiString& C = F.CurrencyString;
  if (!Negative) {
    switch (F.CurrencyFormat) {
      case 1: return Amount + C;
      case 2: return C + " " + Amount;
      case 3: return Amount + " " + C;
      default: return C + Amount;
    }
  }
  switch (F.NegCurrFormat) {
    case 1: return "-" + C + Amount;
    case 2: return C + "-" + Amount;
    case 3: return C + Amount + "-";
    case 4: return "(" + Amount + C + ")";
    case 5: return "-" + Amount + C;
    case 6: return Amount + "-" + C;
    case 7: return Amount + C + "-";
    case 8: return "-" + Amount + " " + C;
    case 9: return "-" + C + " " + Amount;
    case 10: return Amount + " " + C + "-";
    case 11: return C + " " + Amount + "-";
    case 12: return C + " -" + Amount;
    case 13: return Amount + "- " + C;
    case 14: return "(" + C + " " + Amount + ")";
    case 15: return "(" + Amount + " " + C + ")";
    default: return "(" + C + Amount + ")";
  }
}

AnsiString FormatFixed(TDecimal D, TFloatFormat Kind, int Precision, int Digits) {
  RoundTo(D, std::min(Precision, D.Exponent + Digits));
  AnsiString Int;
  if (D.IsZero() || D.Exponent <= 0) Int = "0";
  else
    for (int i = 0; i < D.Exponent; ++i) Int.push_back(DigitAt(D, i));
  if (Kind != ffFixed) Int = GroupThousands(Int);
  AnsiString R = Int;
  if (Digits > 0) {
    R.push_back(FormatSettings().DecimalSeparator);
    const int Base = D.IsZero() ? 0 : D.Exponent;
    for (int k = 0; k < Digits; ++k) R.push_back(DigitAt(D, Base + k));
  }
  const bool Negative = D.Negative && !D.IsZero();
  if (Kind == ffCurrency) return ApplyCurrency(R, Negative);
  return Negative ? "-" + R : R;
}

}  // namespace

AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  Precision = std::clamp(Precision, 1, 18);
  const TDecimal D = ExactDecimal(Value);
  switch (Format) {
    case ffGeneral: return FormatGeneral(D, Precision, std::clamp(Digits, 0, 4));
    case ffExponent: return FormatExponent(D, Precision, std::clamp(Digits, 0, 4));
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      if (D.Exponent > Precision) return FormatExponent(D, Precision, std::clamp(Digits, 0, 4));
      return FormatFixed(D, Format, Precision, std::clamp(Digits, 0, 18));
  }
  return FormatGeneral(D, Precision, 0);
}

AnsiString FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

// ---- FormatFloat ------------------------------------------------------------

namespace {

// The sections of a picture format, split at ';' outside quotes.
std::vector<AnsiString> SplitSections(const AnsiString& Fmt) {
  std::vector<AnsiString> Sections(1);
  char Quote = 0;
  for (char C : Fmt) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '"' || C == '\'') {
      Quote = C;
    } else if (C == ';') {
      if (Sections.size() == 3) break;
      Sections.emplace_back();
      continue;
    }
    Sections.back().push_back(C);
  }
  return Sections;
}

struct TPicture {
  int IntPlaces = 0;     // '0'/'#' before the point
  int MinInt = 0;        // from the first '0' before the point
  int MaxDecimals = 0;   // '0'/'#' after the point
  int MinDecimals = 0;   // up to the last '0' after the point
  bool Thousands = false;
  bool Scientific = false;
};

TPicture Analyse(const AnsiString& S) {
  TPicture P;
  bool AfterPoint = false, InExponent = false;
  int FirstZero = -1;
  char Quote = 0;
  for (std::size_t i = 0; i < S.size(); ++i) {
    const char C = S[i];
    if (Quote) {
      if (C == Quote) Quote = 0;
      continue;
    }
    if (C == '"' || C == '\'') {
      Quote = C;
    } else if (InExponent) {
      continue;
    } else if (C == '0' || C == '#') {
      if (AfterPoint) {
        ++P.MaxDecimals;
        if (C == '0') P.MinDecimals = P.MaxDecimals;
      } else {
        if (C == '0' && FirstZero < 0) FirstZero = P.IntPlaces;
        ++P.IntPlaces;
      }
    } else if (C == '.') {
      AfterPoint = true;
    } else if (C == ',') {
      P.Thousands = true;
    } else if ((C == 'E' || C == 'e') && i + 1 < S.size() && (S[i + 1] == '+' || S[i + 1] == '-')) {
      P.Scientific = true;
      InExponent = true;
    }
  }
  if (FirstZero >= 0) P.MinInt = P.IntPlaces - FirstZero;
  return P;
}

// Renders Value (its magnitude; the caller adds any sign) through one section.
AnsiString RenderSection(const AnsiString& S, const TPicture& P, TDecimal D) {
  const TFormatSettings& F = FormatSettings();
  AnsiString Int, Frac;
  int Exp = 0;
  if (P.Scientific) {
    RoundTo(D, std::clamp(P.IntPlaces + P.MaxDecimals, 1, 18));
    const int IntDigits = std::max(P.IntPlaces, 1);
    if (!D.IsZero()) Exp = D.Exponent - IntDigits;
    for (int i = 0; i < IntDigits; ++i) Int.push_back(D.IsZero() ? '0' : DigitAt(D, i));
    for (int k = 0; k < P.MaxDecimals; ++k) Frac.push_back(D.IsZero() ? '0' : DigitAt(D, IntDigits + k));
    // Leading zeros only where the picture asks for them.
    std::size_t Lead = 0;
    while (Lead + 1 < Int.size() && Int[Lead] == '0' && static_cast<int>(Int.size() - Lead) > P.MinInt) ++Lead;
    Int.erase(0, Lead);
    if (Int == "0" && P.MinInt == 0) Int.clear();
  } else {
    RoundTo(D, std::min(18, D.Exponent + P.MaxDecimals));
    if (!D.IsZero() && D.Exponent > 0)
      for (int i = 0; i < D.Exponent; ++i) Int.push_back(DigitAt(D, i));
    for (int k = 0; k < P.MaxDecimals; ++k) Frac.push_back(D.IsZero() ? '0' : DigitAt(D, D.Exponent + k));
    if (static_cast<int>(Int.size()) < P.MinInt) Int.insert(0, P.MinInt - Int.size(), '0');
  }
  while (static_cast<int>(Frac.size()) > P.MinDecimals && Frac.back() == '0') Frac.pop_back();

  // Integer digits are laid right-aligned onto the integer placeholders;
  // any surplus goes out at the first one.
  const int Surplus = static_cast<int>(Int.size()) - P.IntPlaces;
  int IntPlace = 0;
  std::size_t NextInt = 0, NextFrac = 0;
  auto EmitIntDigit = [&](AnsiString& R) {
    R.push_back(Int[NextInt++]);
    const std::size_t Left = Int.size() - NextInt;
    if (P.Thousands && Left > 0 && Left % 3 == 0 && F.ThousandSeparator) R.push_back(F.ThousandSeparator);
  };
  AnsiString R;
  bool AfterPoint = false;
  char Quote = 0;
  for (std::size_t i = 0; i < S.size(); ++i) {
    const char C = S[i];
    if (Quote) {
      if (C == Quote) Quote = 0;
      else R.push_back(C);
      continue;
    }
    if (C == '"' || C == '\'') {
      Quote = C;
    } else if (C == '0' || C == '#') {
      if (AfterPoint) {
        if (NextFrac < Frac.size()) R.push_back(Frac[NextFrac++]);
      } else {
        // This placeholder stands for Int[Index]; the first one also takes
        // the digits in front that have no placeholder of their own.
        ++IntPlace;
        const int Index = IntPlace - 1 + Surplus;
        while (static_cast<int>(NextInt) <= Index) EmitIntDigit(R);
      }
    } else if (C == '.' && !AfterPoint) {
      while (NextInt < Int.size()) EmitIntDigit(R);  // a picture without integer placeholders
      if (!Frac.empty()) R.push_back(F.DecimalSeparator);
      AfterPoint = true;
    } else if (C == ',') {
      // grouping is done while emitting digits
    } else if ((C == 'E' || C == 'e') && P.Scientific && i + 1 < S.size() && (S[i + 1] == '+' || S[i + 1] == '-')) {
      const bool Plus = S[i + 1] == '+';
      std::size_t j = i + 2;
      int ExpDigits = 0;
      while (j < S.size() && S[j] == '0') {
        ++ExpDigits;
        ++j;
      }
      AnsiString E = ExponentText(Exp, std::min(ExpDigits, 4), Plus);
      E[0] = C;
      R += E;
      i = j - 1;
    } else {
      R.push_back(C);
    }
  }
  return R;
}

bool RoundsToZero(const TPicture& P, TDecimal D) {
  if (!P.Scientific) RoundTo(D, std::min(18, D.Exponent + P.MaxDecimals));
  return D.IsZero();
}

}  // namespace

AnsiString FormatFloat(const AnsiString& Format, double Value) {
  if (std::isnan(Value) || std::isinf(Value)) return FloatToStr(Value);
  const std::vector<AnsiString> Sections = SplitSections(Format);
  if (Format.empty() || (Sections.size() == 1 && Sections[0].empty())) return FloatToStr(Value);
  TDecimal D = ExactDecimal(Value);
  const bool Negative = D.Negative && !D.IsZero();
  D.Negative = false;
  // Pick the section by sign; the zero section applies to what rounds to zero.
  std::size_t Index = 0;
  if (Negative && Sections.size() >= 2 && !Sections[1].empty()) Index = 1;
  AnsiString Text = RenderSection(Sections[Index], Analyse(Sections[Index]), D);
  const bool Zero = RoundsToZero(Analyse(Sections[0]), D);
  if (Zero && Sections.size() >= 3 && !Sections[2].empty())
    return RenderSection(Sections[2], Analyse(Sections[2]), TDecimal());
  if (Negative && Index == 0 && !Zero) Text.insert(0, 1, '-');
  return Text;
}

// ---- text to number ---------------------------------------------------------

namespace {

bool ParseFloat(const AnsiString& S, double& Value) {
  const char Sep = FormatSettings().DecimalSeparator;
  std::size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  while (n > i && S[n - 1] == ' ') --n;
  std::string Norm;
  if (i < n && (S[i] == '+' || S[i] == '-')) {
    if (S[i] == '-') Norm.push_back('-');
    ++i;
  }
  int Digits = 0;
  bool Point = false;
  for (; i < n; ++i) {
    const char C = S[i];
    if (C >= '0' && C <= '9') {
      Norm.push_back(C);
      ++Digits;
    } else if (C == Sep && !Point) {
      Norm.push_back('.');
      Point = true;
    } else {
      break;
    }
  }
  if (Digits == 0) return false;
  if (i < n && (S[i] == 'e' || S[i] == 'E')) {
    Norm.push_back('e');
    ++i;
    if (i < n && (S[i] == '+' || S[i] == '-')) Norm.push_back(S[i++]);
    int ExpDigits = 0;
    for (; i < n && S[i] >= '0' && S[i] <= '9'; ++i, ++ExpDigits) Norm.push_back(S[i]);
    if (ExpDigits == 0) return false;
  }
  if (i != n) return false;
  double V = 0;
  const auto R = std::from_chars(Norm.data(), Norm.data() + Norm.size(), V);
  if (R.ptr != Norm.data() + Norm.size()) return false;
  if (R.ec == std::errc::result_out_of_range) {
    // Too small reads as zero; too large is not a value.
    const double Probe = std::strtod(Norm.c_str(), nullptr);
    if (std::isinf(Probe)) return false;
    V = Probe;
  } else if (R.ec != std::errc()) {
    return false;
  }
  Value = V;
  return true;
}

[[noreturn]] void RaiseNotFloat(const AnsiString& S) {
  throw EConvertError("'" + S + "' is not a valid floating point value");
}

}  // namespace

bool TryStrToFloat(const AnsiString& S, double& Value) { return ParseFloat(S, Value); }

double StrToFloat(const AnsiString& S) {
  double V = 0;
  if (!ParseFloat(S, V)) RaiseNotFloat(S);
  return V;
}

double StrToFloatDef(const AnsiString& S, double Default) {
  double V = 0;
  return ParseFloat(S, V) ? V : Default;
}

bool TryStrToCurr(const AnsiString& S, double& Value) {
  double V = 0;
  if (!ParseFloat(S, V) || std::fabs(V) > 922337203685477.5807) return false;
  Value = std::round(V * 10000.0) / 10000.0;
  return true;
}

double StrToCurr(const AnsiString& S) {
  double V = 0;
  if (!TryStrToCurr(S, V)) RaiseNotFloat(S);
  return V;
}

// ---- Format -----------------------------------------------------------------

namespace {

[[noreturn]] void RaiseInvalid(const AnsiString& Fmt) {
  throw EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
}

[[noreturn]] void RaiseMissing(const AnsiString& Fmt) {
  throw EConvertError("No argument for format '" + Fmt + "'");
}

AnsiString MinDigits(AnsiString Digits, int Precision) {
  if (Precision > static_cast<int>(Digits.size())) Digits.insert(0, Precision - Digits.size(), '0');
  return Digits;
}

}  // namespace

AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
  return Format(Fmt, Args.begin(), Args.size());
}

AnsiString Format(const AnsiString& Fmt, const TVarRec* Args, std::size_t Count) {
  AnsiString R;
  R.reserve(Fmt.size() + 16);
  std::size_t ArgIndex = 0;
  const std::size_t N = Fmt.size();
  auto NextArg = [&]() -> const TVarRec& {
    if (ArgIndex >= Count) RaiseMissing(Fmt);
    return Args[ArgIndex++];
  };
  auto IsInteger = [](const TVarRec& A) { return A.Kind() == TVarRec::vtInteger || A.Kind() == TVarRec::vtInt64; };
  // A number written in the specifier or "*" taken from the arguments; -1 when absent.
  auto ReadNumber = [&](std::size_t& i) -> Int64 {
    if (i < N && Fmt[i] == '*') {
      ++i;
      const TVarRec& A = NextArg();
      if (!IsInteger(A)) RaiseInvalid(Fmt);
      return std::max<Int64>(A.AsInt64(), 0);
    }
    if (i >= N || Fmt[i] < '0' || Fmt[i] > '9') return -1;
    Int64 V = 0;
    while (i < N && Fmt[i] >= '0' && Fmt[i] <= '9') {
      V = std::min<Int64>(V * 10 + (Fmt[i] - '0'), 1 << 20);
      ++i;
    }
    return V;
  };

  for (std::size_t i = 0; i < N; ++i) {
    const char C = Fmt[i];
    if (C != '%') {
      R.push_back(C);
      continue;
    }
    if (++i >= N) RaiseInvalid(Fmt);
    if (Fmt[i] == '%') {
      R.push_back('%');
      continue;
    }
    bool Left = false;
    Int64 Width = ReadNumber(i);
    if (i < N && Fmt[i] == ':') {
      if (Width < 0) RaiseInvalid(Fmt);
      ArgIndex = static_cast<std::size_t>(Width);
      ++i;
      Width = -1;
    }
    if (Width < 0) {
      if (i < N && Fmt[i] == '-') {
        Left = true;
        ++i;
      }
      Width = ReadNumber(i);
    }
    Int64 Prec = -1;
    if (i < N && Fmt[i] == '.') {
      ++i;
      Prec = ReadNumber(i);
      if (Prec < 0) Prec = 0;
    }
    if (i >= N) RaiseInvalid(Fmt);
    const char Type = static_cast<char>(Fmt[i] | 0x20);
    const TVarRec& A = NextArg();
    AnsiString Text;
    switch (Type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!IsInteger(A)) RaiseInvalid(Fmt);
        const bool Is64 = A.Kind() == TVarRec::vtInt64;
        const Int64 V = A.AsInt64();
        const UInt64 U = Is64 ? static_cast<UInt64>(V) : static_cast<UInt64>(static_cast<Cardinal>(V));
        if (Type == 'd') {
          Text = MinDigits(std::to_string(V < 0 ? 0 - static_cast<UInt64>(V) : static_cast<UInt64>(V)),
                           static_cast<int>(Prec));
          if (V < 0) Text.insert(0, 1, '-');
        } else if (Type == 'u') {
          Text = MinDigits(std::to_string(U), static_cast<int>(Prec));
        } else {
          Text = MinDigits(IntToHexImpl(U, 0), static_cast<int>(Prec));
        }
        break;
      }
      case 'p':
        if (A.Kind() != TVarRec::vtPointer) RaiseInvalid(Fmt);
        Text = IntToHexImpl(static_cast<UInt64>(A.AsInt64()), 8);
        break;
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        if (A.Kind() != TVarRec::vtExtended) RaiseInvalid(Fmt);
        const int P = static_cast<int>(std::min<Int64>(Prec, 18));
        const double V = A.AsFloat();
        switch (Type) {
          case 'e': Text = FloatToStrF(V, ffExponent, P < 0 ? 15 : P, 3); break;
          case 'g': Text = FloatToStrF(V, ffGeneral, P < 0 ? 15 : P, 3); break;
          case 'f': Text = FloatToStrF(V, ffFixed, 18, P < 0 ? 2 : P); break;
          case 'n': Text = FloatToStrF(V, ffNumber, 18, P < 0 ? 2 : P); break;
          default: Text = FloatToStrF(V, ffCurrency, 18, P < 0 ? FormatSettings().CurrencyDecimals : P); break;
        }
        break;
      }
      case 's':
        if (A.Kind() != TVarRec::vtString && A.Kind() != TVarRec::vtChar) RaiseInvalid(Fmt);
        Text = A.AsString();
        if (Prec >= 0 && static_cast<std::size_t>(Prec) < Text.size()) Text.resize(static_cast<std::size_t>(Prec));
        break;
      default: RaiseInvalid(Fmt);
    }
    if (Width > static_cast<Int64>(Text.size())) {
      const std::size_t Pad = static_cast<std::size_t>(Width) - Text.size();
      if (Left) Text.append(Pad, ' ');
      else Text.insert(0, Pad, ' ');
    }
    R += Text;
  }
  return R;
}
