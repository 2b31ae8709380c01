// WriterUtils.h — string, colour and rectangle helpers of the writers.
#pragma once
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"

AnsiString StrToHex(const AnsiString& Text);
// "r g b" as fractions with four decimals ("1.0000 1.0000 1.0000").
AnsiString ColorToPDFRGB(TColor Color);
// "RRGGBB", system colours resolved.
AnsiString ColorToHexRGB(TColor Color);
// 1-based position of Sub in Text at or after Offset; 0 when absent. (The
// ANSI form is the editor library's PosFrom; one program links both.)
Integer PosFromW(const WideString& Sub, const WideString& Text, Integer Offset);
// Every occurrence of Old replaced by New, compared ignoring case.
AnsiString ReplaceTextCI(const AnsiString& Text, const AnsiString& Old, const AnsiString& New);
WideString ReplaceTextCIW(const WideString& Text, const WideString& Old, const WideString& New);
AnsiString EscapePDFString(const AnsiString& Text);
bool IsHexString(const AnsiString& Text);
// 0 and the value for a hex string (modulo 256); -1 and 0 otherwise.
Integer HexToByte(const AnsiString& Text, Byte& Value);

struct TgtDoubleRect {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TgtDoubleRect&, const TgtDoubleRect&) = default;
};
inline TgtDoubleRect MakeDoubleRect(double L, double T, double R, double B) { return {L, T, R, B}; }
inline TgtDoubleRect ScaleDoubleRect(const TgtDoubleRect& R, double F) {
  return {R.Left * F, R.Top * F, R.Right * F, R.Bottom * F};
}
