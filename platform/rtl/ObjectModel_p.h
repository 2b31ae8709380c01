// ObjectModel_p.h — small text helpers shared by the object model's units
// (reflection, components, the filer and the text form). Names follow the
// library's identifier rules: ASCII letters compare case-insensitively.
#pragma once
#include <charconv>
#include "platform/rtl/Types.h"

namespace sx_name {

inline char Upper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; }

inline int CompareText(const AnsiString& A, const AnsiString& B) {
  const size_t N = std::min(A.size(), B.size());
  for (size_t i = 0; i < N; ++i) {
    const unsigned char X = Byte(Upper(A[i])), Y = Byte(Upper(B[i]));
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}
inline bool SameText(const AnsiString& A, const AnsiString& B) {
  return A.size() == B.size() && CompareText(A, B) == 0;
}

inline AnsiString Trim(const AnsiString& S) {
  size_t B = 0, E = S.size();
  while (B < E && Byte(S[B]) <= ' ') ++B;
  while (E > B && Byte(S[E - 1]) <= ' ') --E;
  return S.substr(B, E - B);
}

inline AnsiString Replace(AnsiString S, const AnsiString& From, const AnsiString& To) {
  for (size_t P = S.find(From); P != AnsiString::npos; P = S.find(From, P + To.size()))
    S.replace(P, From.size(), To);
  return S;
}

// Decimal or $hex, optional sign, surrounding blanks allowed.
inline bool ParseInt(const AnsiString& Text, Int64& Value) {
  AnsiString T = Trim(Text);
  bool Neg = false;
  size_t P = 0;
  if (P < T.size() && (T[P] == '-' || T[P] == '+')) Neg = T[P++] == '-';
  int Base = 10;
  if (P < T.size() && T[P] == '$') {
    Base = 16;
    ++P;
  }
  if (P >= T.size()) return false;
  UInt64 U = 0;
  auto R = std::from_chars(T.data() + P, T.data() + T.size(), U, Base);
  if (R.ec != std::errc() || R.ptr != T.data() + T.size()) return false;
  if (Base == 10 && U > (Neg ? UInt64(1) << 63 : (UInt64(1) << 63) - 1)) return false;
  Value = Neg ? Int64(0 - U) : Int64(U);
  return true;
}

inline bool IsIdentStart(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
inline bool IsIdentChar(char C) { return IsIdentStart(C) || (C >= '0' && C <= '9'); }
inline bool IsValidIdent(const AnsiString& S) {
  if (S.empty() || !IsIdentStart(S[0])) return false;
  for (char C : S)
    if (!IsIdentChar(C)) return false;
  return true;
}

// In the active ANSI code page (CodePages.h).
WideString AnsiToWide(const AnsiString& S);
AnsiString WideToAnsi(const WideString& W);

}  // namespace sx_name
