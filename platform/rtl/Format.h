// Format.h — Format and the number <-> text conversions of the class library.
// Everything here reads the live locale table (FormatSettings.h): decimal
// and thousand separators, currency string and layouts.
//
// Numbers are doubles. Digits come from the exact binary value, rounded half
// away from zero in decimal, so 0.125 to two places is "0.13" (not the
// round-half-even of printf), and at high precisions the binary noise shows
// as it does in the class library ("%.17f" of 0.1).
#pragma once
#include <concepts>
#include <initializer_list>
#include <string_view>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Types.h"

// One argument of Format: an integer (32- or 64-bit, as its C++ type),
// a floating-point value, a string, a character or a pointer. Booleans are
// refused at compile time, as Format has no form for them.
class TVarRec {
public:
  enum TKind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer };

  template <SxInteger T>
  TVarRec(T V) {
    if constexpr (sizeof(T) <= 4) {
      FKind = vtInteger;
      // 32-bit unsigned values keep their bits, as a Cardinal in a vtInteger does.
      FInt = std::is_signed_v<T> ? static_cast<Int64>(V) : static_cast<Int64>(static_cast<Integer>(V));
    } else {
      FKind = vtInt64;
      FInt = static_cast<Int64>(V);
    }
  }
  TVarRec(double V) : FKind(vtExtended), FFloat(V) {}
  TVarRec(float V) : FKind(vtExtended), FFloat(V) {}
  TVarRec(long double V) : FKind(vtExtended), FFloat(static_cast<double>(V)) {}
  TVarRec(char V) : FKind(vtChar), FString(1, V) {}
  TVarRec(const char* V) : FKind(vtString), FString(V ? V : "") {}
  TVarRec(std::string_view V) : FKind(vtString), FString(V) {}
  TVarRec(const AnsiString& V) : FKind(vtString), FString(V) {}
  // Wide text is converted to the ANSI code page, as a WideString argument is.
  TVarRec(const WideString& V);
  TVarRec(const char16_t* V);
  TVarRec(const void* V) : FKind(vtPointer), FInt(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(V))) {}
  TVarRec(std::nullptr_t) : FKind(vtPointer) {}
  TVarRec(bool) = delete;

  TKind Kind() const { return FKind; }
  Int64 AsInt64() const { return FInt; }
  double AsFloat() const { return FFloat; }
  const AnsiString& AsString() const { return FString; }

private:
  TKind FKind = vtInteger;
  Int64 FInt = 0;
  double FFloat = 0;
  AnsiString FString;
};

// The class library's Format. Each specifier is
//   "%" [index ":"] ["-"] [width] ["." precision] type
// with index, width and precision also "*" (taken from the arguments);
// "%%" is a percent sign. Types, upper or lower case:
//   d  integer, precision = minimum digits      u  the same, unsigned
//   x  integer in upper-case hex                 p  pointer, 8+ hex digits
//   e  scientific, precision = significant digits (default 15), exponent
//      of at least three digits: "1.00000000000000E+003"
//   f  fixed, precision = decimals (default 2)   n  as f, with thousand separators
//   g  general, precision = significant digits (default 15)
//   m  currency (default decimals from the locale)
//   s  string or character, precision = maximum length
// Width pads with blanks on the left, or on the right after "-". An index
// moves the argument pointer; later unindexed specifiers continue after it.
// A missing argument raises EConvertError "No argument for format '<Fmt>'";
// a wrong one, or a malformed specifier, "Format '<Fmt>' invalid or
// incompatible with argument".
AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
AnsiString Format(const AnsiString& Fmt, const TVarRec* Args, std::size_t Count);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// General format, 15 significant digits: "0.1", "1E20", "1.5E-7", "-3".
AnsiString FloatToStr(double Value);
// Precision: significant digits (clamped to 1..18). Digits: for ffGeneral and
// ffExponent the minimum exponent digits (0..4), otherwise the decimals
// (0..18). ffFixed, ffNumber and ffCurrency fall back to ffExponent when the
// value has more integer digits than Precision. Infinities and NaN give
// "INF", "-INF" and "NAN".
AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
// Picture formats: up to three sections "positive;negative;zero" of '0'
// (digit or zero), '#' (digit if significant), '.', ',' (group thousands),
// "E+0"/"E-0" (scientific), quoted literals in "" or '', anything else
// copied. An empty format is FloatToStr.
AnsiString FormatFloat(const AnsiString& Format, double Value);

// Text to number: optional blanks around, a sign, digits with the locale's
// decimal separator, an optional exponent. No thousand separators.
// Failure raises EConvertError "'<S>' is not a valid floating point value".
double StrToFloat(const AnsiString& S);
bool TryStrToFloat(const AnsiString& S, double& Value);
double StrToFloatDef(const AnsiString& S, double Default);
// The same, for a currency amount: the value is rounded to four decimals and
// must lie within the range of a currency (about ±9.2E14).
double StrToCurr(const AnsiString& S);
bool TryStrToCurr(const AnsiString& S, double& Value);
