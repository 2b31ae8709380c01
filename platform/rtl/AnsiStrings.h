// AnsiStrings.h — the class library's string routines over AnsiString.
//
// Two families, as in the class library: the plain ones (UpperCase,
// CompareText, …) see only ASCII letters and compare bytes; the Ansi… ones
// work in the active ANSI code page (GetACP): they case-map every letter the
// code page has (é/É in 1252, я/Я in 1251), never split a double-byte
// character, and compare the way the locale sorts (see AnsiCompareStr).
//
// Positions are 1-based and 0 means "not found", as the class library counts them.
#pragma once
#include <concepts>
#include <initializer_list>
#include <type_traits>

#include "platform/rtl/Types.h"

// ---- case -------------------------------------------------------------------

AnsiString UpperCase(const AnsiString& S);  // 'a'..'z' only
AnsiString LowerCase(const AnsiString& S);  // 'A'..'Z' only
AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);
// Simple (one-to-one) Unicode case mapping for the Latin, Greek and Cyrillic
// letters the Windows code pages carry; other characters map to themselves.
// 'ß' and 'µ' stay as they are, as Windows leaves them.
char16_t WideCharUpper(char16_t C);
char16_t WideCharLower(char16_t C);
WideString WideUpperCase(const WideString& S);
WideString WideLowerCase(const WideString& S);

// The value of a hexadecimal digit (either case), or -1 for any other byte.
constexpr int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// The byte two hexadecimal digits spell, high digit first, or -1 when either
// is not a digit.
constexpr int HexByteValue(char High, char Low) {
  const int H = HexDigitValue(High), L = HexDigitValue(Low);
  return H < 0 || L < 0 ? -1 : H * 16 + L;
}

// ---- comparison -------------------------------------------------------------

// Byte order: the difference of the first differing bytes (unsigned), else of
// the lengths. CompareText first folds ASCII letters to upper case.
int CompareStr(const AnsiString& S1, const AnsiString& S2);
int CompareText(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);

// The locale's order (a word sort, as CompareString gives it): letters compare
// by their base letter first, then by accent, then by case, lower case first;
// punctuation sorts before digits, digits before letters; hyphens and
// apostrophes count only when all else is equal, so "coop" and "co-op" stay
// together. Result < 0, 0 or > 0. AnsiCompareText ignores case and is 0
// exactly when the strings are equal apart from case.
int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
// The same order over UTF-16.
int WideCompareStr(const WideString& S1, const WideString& S2);
int WideCompareText(const WideString& S1, const WideString& S2);

// ---- searching and slicing --------------------------------------------------

int Pos(const AnsiString& SubStr, const AnsiString& S);
int PosEx(const AnsiString& SubStr, const AnsiString& S, int Offset = 1);  // 0 when Offset is out of range
int AnsiPos(const AnsiString& SubStr, const AnsiString& S);  // matches only at character starts
// Count characters from Index; Index < 1 reads as 1; out of range gives less or "".
AnsiString Copy(const AnsiString& S, int Index, int Count);
void Delete(AnsiString& S, int Index, int Count);
void Insert(const AnsiString& Source, AnsiString& S, int Index);  // Index clamped to 1..Length+1

// Last position in S of any byte of Delimiters; 0 when none. Trail bytes of
// double-byte characters never match.
int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S);
// Whether S[Index] is one of Delimiters; false out of range or on a trail byte.
bool IsDelimiter(const AnsiString& Delimiters, const AnsiString& S, int Index);

AnsiString Trim(const AnsiString& S);  // strips bytes <= ' ' at both ends
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);
AnsiString StringOfChar(char Ch, int Count);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
// A set of TReplaceFlag, written as a set literal: {rfReplaceAll, rfIgnoreCase}.
class TReplaceFlags {
public:
  constexpr TReplaceFlags() = default;
  constexpr TReplaceFlags(std::initializer_list<TReplaceFlag> Flags) {
    for (TReplaceFlag F : Flags) FBits |= 1u << F;
  }
  constexpr bool Contains(TReplaceFlag F) const { return (FBits >> F) & 1u; }

private:
  unsigned FBits = 0;
};
// Replaces the first (or, with rfReplaceAll, every) occurrence of OldPattern;
// scanning resumes after the inserted text. rfIgnoreCase compares as
// AnsiUpperCase does. An empty OldPattern leaves S unchanged.
AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags = {});

// ---- quoting ----------------------------------------------------------------

AnsiString QuotedStr(const AnsiString& S);  // 'it''s'
AnsiString AnsiQuotedStr(const AnsiString& S, char Quote);
// Reads a quoted string at Src: returns "" and leaves Src alone when it does
// not start with Quote; otherwise returns the text with doubled quotes made
// single and moves Src past the closing quote (or to the end when there is none).
// Src must point into a NUL-terminated buffer.
AnsiString AnsiExtractQuotedStr(const char*& Src, char Quote);
// S without its quotes when S is quoted; S itself otherwise.
AnsiString AnsiDequotedStr(const AnsiString& S, char Quote);
// Each "%XY" with two hexadecimal digits becomes the byte they spell (a URI's
// escapes); every other byte, a '%' without two digits after it included,
// stays as it is.
AnsiString PercentDecode(const AnsiString& S);

// ---- line breaks ------------------------------------------------------------

enum TTextLineBreakStyle { tlbsLF, tlbsCRLF };
// CR LF, LF CR, a lone CR and a lone LF each become one break of Style.
AnsiString AdjustLineBreaks(const AnsiString& S, TTextLineBreakStyle Style = tlbsCRLF);

// ---- integers ---------------------------------------------------------------

template <class T>
concept SxInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                    !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>;

AnsiString IntToStrImpl(Int64 Value);
AnsiString UIntToStrImpl(UInt64 Value);
template <SxInteger T>
AnsiString IntToStr(T Value) {
  if constexpr (std::is_signed_v<T>) return IntToStrImpl(static_cast<Int64>(Value));
  else return UIntToStrImpl(static_cast<UInt64>(Value));
}

// Upper-case hex, at least Digits digits. A type of 32 bits or less shows
// negative values as their 32-bit two's complement (IntToHex(-1, 2) = "FFFFFFFF").
AnsiString IntToHexImpl(UInt64 Value, int Digits);
template <SxInteger T>
AnsiString IntToHex(T Value, int Digits) {
  if constexpr (sizeof(T) <= 4) return IntToHexImpl(static_cast<UInt64>(static_cast<Cardinal>(Value)), Digits);
  else return IntToHexImpl(static_cast<UInt64>(Value), Digits);
}

// The class library's integer syntax: leading spaces, an optional sign, then
// decimal digits or a hex number after '$', 'x' or '0x'. Nothing may follow.
// Decimal values must fit the type; hex ones may use all its bits
// ("$FFFFFFFF" is -1). Failure raises EConvertError
// "'<S>' is not a valid integer value".
Integer StrToInt(const AnsiString& S);
Integer StrToIntDef(const AnsiString& S, Integer Default);
bool TryStrToInt(const AnsiString& S, Integer& Value);
Int64 StrToInt64(const AnsiString& S);
Int64 StrToInt64Def(const AnsiString& S, Int64 Default);
bool TryStrToInt64(const AnsiString& S, Int64& Value);
