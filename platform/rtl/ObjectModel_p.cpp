#include "platform/rtl/ObjectModel_p.h"

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

namespace sx_name {

WideString AnsiToWide(const AnsiString& S) {
  WideString W;
  W.reserve(S.size());
  for (char C : S) {
    const Byte B = Byte(C);
    if (B >= 0x80 && B < 0xA0) W += Cp1252High[B - 0x80] ? Cp1252High[B - 0x80] : char16_t(B);
    else W += char16_t(B);
  }
  return W;
}

AnsiString WideToAnsi(const WideString& W) {
  AnsiString S;
  S.reserve(W.size());
  for (char16_t C : W) {
    const bool Unassigned = C >= 0x80 && C < 0xA0 && !Cp1252High[C - 0x80];
    if (C < 0x80 || (C >= 0xA0 && C < 0x100) || Unassigned) {
      S += char(C);
      continue;
    }
    char Out = '?';
    for (int i = 0; i < 32; ++i)
      if (Cp1252High[i] == C) Out = char(0x80 + i);
    S += Out;
  }
  return S;
}

}  // namespace sx_name
