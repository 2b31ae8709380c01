#include "platform/rtl/AnsiStrings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

// ---- Unicode case mapping ---------------------------------------------------

char16_t WideCharLower(char16_t C) {
  if (C < 0x80) return (C >= 'A' && C <= 'Z') ? C + 32 : C;
  if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return C + 32;
  if (C < 0x100) return C;
  if (C == 0x130) return u'i';
  if (C <= 0x137) return (C % 2 == 0) ? C + 1 : C;
  if (C >= 0x139 && C <= 0x148) return (C % 2 == 1) ? C + 1 : C;
  if (C >= 0x14A && C <= 0x177) return (C % 2 == 0) ? C + 1 : C;
  if (C == 0x178) return 0xFF;
  if (C >= 0x179 && C <= 0x17E) return (C % 2 == 1) ? C + 1 : C;
  switch (C) {
    case 0x191: return 0x192;
    case 0x1A0: return 0x1A1;
    case 0x1AF: return 0x1B0;
    case 0x218: return 0x219;
    case 0x21A: return 0x21B;
    case 0x386: return 0x3AC;
    case 0x38C: return 0x3CC;
    default: break;
  }
  if (C >= 0x1CD && C <= 0x1DC) return (C % 2 == 1) ? C + 1 : C;
  if (C >= 0x388 && C <= 0x38A) return C + 37;
  if (C >= 0x38E && C <= 0x38F) return C + 63;
  if ((C >= 0x391 && C <= 0x3A1) || (C >= 0x3A3 && C <= 0x3AB)) return C + 32;
  if (C >= 0x400 && C <= 0x40F) return C + 80;
  if (C >= 0x410 && C <= 0x42F) return C + 32;
  if ((C >= 0x460 && C <= 0x481) || (C >= 0x48A && C <= 0x4BF) || (C >= 0x4D0 && C <= 0x52F))
    return (C % 2 == 0) ? C + 1 : C;
  if (C >= 0x4C1 && C <= 0x4CE) return (C % 2 == 1) ? C + 1 : C;
  return C;
}

char16_t WideCharUpper(char16_t C) {
  if (C < 0x80) return (C >= 'a' && C <= 'z') ? C - 32 : C;
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 32;
  if (C == 0xFF) return 0x178;
  if (C < 0x100) return C;  // 'ß' and 'µ' have no upper case in the code pages
  if (C == 0x131) return u'I';
  if (C == 0x17F) return u'S';
  if (C == 0x3C2) return 0x3A3;
  // Everything else is the inverse of the lower-case mapping, which pairs
  // neighbours or fixed offsets.
  for (char16_t Cand : {char16_t(C - 1), char16_t(C - 32), char16_t(C - 37), char16_t(C - 63),
                        char16_t(C - 80)})
    if (Cand != C && WideCharLower(Cand) == C) return Cand;
  switch (C) {
    case 0x192: return 0x191;
    case 0x1A1: return 0x1A0;
    case 0x1B0: return 0x1AF;
    case 0x3AC: return 0x386;
    case 0x3CC: return 0x38C;
    default: return C;
  }
}

WideString WideUpperCase(const WideString& S) {
  WideString R(S);
  for (auto& C : R) C = WideCharUpper(C);
  return R;
}

WideString WideLowerCase(const WideString& S) {
  WideString R(S);
  for (auto& C : R) C = WideCharLower(C);
  return R;
}

// ---- code-page case tables --------------------------------------------------

namespace {

struct TCaseTables {
  std::array<unsigned char, 256> Upper{};
  std::array<unsigned char, 256> Lower{};
  bool Dbcs = false;
  UINT CodePage = 0;
};

// Upper and lower case of every single-byte character of the code page,
// found through UTF-16: a letter changes only when its partner exists in the
// same code page (so 'ÿ' becomes 'Ÿ' in 1252, while 'µ' stays).
const TCaseTables& CaseTables() {
  static std::mutex Lock;
  static std::map<UINT, std::unique_ptr<TCaseTables>> Tables;
  const UINT Cp = GetACP();
  std::lock_guard<std::mutex> G(Lock);
  auto& Slot = Tables[Cp];
  if (Slot) return *Slot;
  auto T = std::make_unique<TCaseTables>();
  T->CodePage = Cp;
  T->Dbcs = IsDBCSCodePage(Cp);
  for (int B = 0; B < 256; ++B) {
    T->Upper[B] = T->Lower[B] = static_cast<unsigned char>(B);
    if (B < 0x80) {
      if (B >= 'a' && B <= 'z') T->Upper[B] = static_cast<unsigned char>(B - 32);
      if (B >= 'A' && B <= 'Z') T->Lower[B] = static_cast<unsigned char>(B + 32);
      continue;
    }
    if (T->Dbcs) continue;  // only ASCII letters change in the double-byte pages
    const char Byte = static_cast<char>(B);
    const WideString W = AnsiToWide(std::string_view(&Byte, 1), Cp);
    if (W.size() != 1 || W[0] == 0xFFFD) continue;
    auto MapTo = [&](char16_t Target, unsigned char& Slot) {
      if (Target == W[0]) return;
      bool Used = false;
      const AnsiString A = WideToAnsi(std::u16string_view(&Target, 1), Cp, &Used);
      if (!Used && A.size() == 1) Slot = static_cast<unsigned char>(A[0]);
    };
    MapTo(WideCharUpper(W[0]), T->Upper[B]);
    MapTo(WideCharLower(W[0]), T->Lower[B]);
  }
  Slot = std::move(T);
  return *Slot;
}

AnsiString MapCase(const AnsiString& S, bool Upper) {
  const TCaseTables& T = CaseTables();
  const auto& Table = Upper ? T.Upper : T.Lower;
  AnsiString R(S);
  for (std::size_t i = 0; i < R.size(); ++i) {
    const unsigned char B = static_cast<unsigned char>(R[i]);
    if (T.Dbcs && IsDBCSLeadByteEx(T.CodePage, B)) {
      ++i;  // leave the pair alone
      continue;
    }
    R[i] = static_cast<char>(Table[B]);
  }
  return R;
}

// Length in bytes of the character starting at S[i] in the active code page.
std::size_t CharLen(const AnsiString& S, std::size_t i, UINT Cp) {
  return (IsDBCSLeadByteEx(Cp, static_cast<unsigned char>(S[i])) && i + 1 < S.size()) ? 2 : 1;
}

}  // namespace

AnsiString UpperCase(const AnsiString& S) {
  AnsiString R(S);
  for (auto& C : R)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
  return R;
}

AnsiString LowerCase(const AnsiString& S) {
  AnsiString R(S);
  for (auto& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
  return R;
}

AnsiString AnsiUpperCase(const AnsiString& S) { return MapCase(S, true); }
AnsiString AnsiLowerCase(const AnsiString& S) { return MapCase(S, false); }

// ---- plain comparison -------------------------------------------------------

int CompareStr(const AnsiString& S1, const AnsiString& S2) {
  const std::size_t N = std::min(S1.size(), S2.size());
  for (std::size_t i = 0; i < N; ++i) {
    const int D = static_cast<unsigned char>(S1[i]) - static_cast<unsigned char>(S2[i]);
    if (D) return D;
  }
  return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

int CompareText(const AnsiString& S1, const AnsiString& S2) {
  auto Up = [](char C) -> int {
    const unsigned char B = static_cast<unsigned char>(C);
    return (B >= 'a' && B <= 'z') ? B - 32 : B;
  };
  const std::size_t N = std::min(S1.size(), S2.size());
  for (std::size_t i = 0; i < N; ++i) {
    const int D = Up(S1[i]) - Up(S2[i]);
    if (D) return D;
  }
  return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

bool SameText(const AnsiString& S1, const AnsiString& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

// ---- locale order -----------------------------------------------------------

namespace {

// Base letters of U+00C0..U+00FF and U+0100..U+017F. '#' marks a letter that
// sorts as two (Æ, ß, Œ, Ĳ), '*' a symbol, '$' thorn, which sorts after z.
constexpr char Latin1Bases[] = "aaaaaa#ceeeeiiiidnooooo*ouuuuy$#aaaaaa#ceeeeiiiidnooooo*ouuuuy$y";
constexpr char LatinExtABases[] =
    "aaaaaacc" "ccccccdd" "ddeeeeee" "eeeegggg" "gggghhhh" "iiiiiiii" "ii##jjkk" "klllllll"
    "lllnnnnn" "nnnnoooo" "oo##rrrr" "rrssssss" "sstttttt" "uuuuuuuu" "uuuuwwyy" "yzzzzzzs";
static_assert(sizeof(Latin1Bases) == 64 + 1);
static_assert(sizeof(LatinExtABases) == 128 + 1);

enum : std::uint32_t {
  ClassSymbol = 0x10000,
  ClassDigit = 0x20000,
  ClassLatin = 0x30000,
  ClassGreek = 0x40000,
  ClassCyrillic = 0x50000,
  ClassOther = 0x60000,
};

struct TSortKey {
  std::vector<std::uint32_t> Primary;
  std::vector<std::uint16_t> Secondary;  // accent; 0 for the plain letter
  std::vector<std::uint8_t> Tertiary;    // 1 for upper case
  std::vector<std::uint32_t> Ignorable;  // (primary index << 16) | char, for hyphens and apostrophes
};

void AddElement(TSortKey& K, std::uint32_t P, std::uint16_t S, std::uint8_t T) {
  K.Primary.push_back(P);
  K.Secondary.push_back(S);
  K.Tertiary.push_back(T);
}

void AddLatin(TSortKey& K, char Base, std::uint16_t Accent, std::uint8_t Upper) {
  const std::uint32_t P = Base == '$' ? ClassLatin + 26 : ClassLatin + static_cast<std::uint32_t>(Base - 'a');
  AddElement(K, P, Accent, Upper);
}

std::uint16_t GreekBase(std::uint16_t L) {
  switch (L) {
    case 0x3AC: return 0x3B1;
    case 0x3AD: return 0x3B5;
    case 0x3AE: return 0x3B7;
    case 0x3AF:
    case 0x3CA:
    case 0x390: return 0x3B9;
    case 0x3CC: return 0x3BF;
    case 0x3CD:
    case 0x3CB:
    case 0x3B0: return 0x3C5;
    case 0x3CE: return 0x3C9;
    case 0x3C2: return 0x3C3;
    default: return L;
  }
}

void AddChar(TSortKey& K, char16_t C) {
  if (C == u'-' || C == u'\'' || C == 0xAD) {
    K.Ignorable.push_back((static_cast<std::uint32_t>(K.Primary.size()) << 16) | C);
    return;
  }
  const char16_t L = WideCharLower(C);
  const std::uint8_t Upper = (L != C) ? 1 : 0;
  if (C >= u'0' && C <= u'9') return AddElement(K, ClassDigit + (C - u'0'), 0, 0);
  if (C == 0xB9 || C == 0xB2 || C == 0xB3)
    return AddElement(K, ClassDigit + (C == 0xB9 ? 1 : C - 0xB0), C, 0);
  if (L >= u'a' && L <= u'z') return AddLatin(K, static_cast<char>(L), 0, Upper);
  if (C == 0xAA) return AddLatin(K, 'a', C, 0);
  if (C == 0xBA) return AddLatin(K, 'o', C, 0);
  if ((L >= 0xC0 && L <= 0xFF) || (L >= 0x100 && L <= 0x17F)) {
    const char Base = L < 0x100 ? Latin1Bases[L - 0xC0] : LatinExtABases[L - 0x100];
    if (Base == '*') return AddElement(K, ClassSymbol + C, 0, 0);
    if (Base == '#') {
      const char* Pair = (L == 0xE6) ? "ae" : (L == 0xDF) ? "ss" : (L == 0x153) ? "oe" : "ij";
      AddLatin(K, Pair[0], L, Upper);
      AddLatin(K, Pair[1], L, Upper);
      return;
    }
    return AddLatin(K, Base, L, Upper);
  }
  switch (L) {
    case 0x192: return AddLatin(K, 'f', L, Upper);
    case 0x1A1: return AddLatin(K, 'o', L, Upper);
    case 0x1B0: return AddLatin(K, 'u', L, Upper);
    case 0x219: return AddLatin(K, 's', L, Upper);
    case 0x21B: return AddLatin(K, 't', L, Upper);
    default: break;
  }
  if (L >= 0x370 && L <= 0x3FF && L != 0x37E && L != 0x387) {
    const std::uint16_t B = GreekBase(L);
    return AddElement(K, ClassGreek + B, B == L ? 0 : L, Upper);
  }
  if (L >= 0x400 && L <= 0x52F) {
    const std::uint16_t B = (L == 0x451) ? 0x435 : L;  // ё sorts with е
    return AddElement(K, ClassCyrillic + B, B == L ? 0 : L, Upper);
  }
  const bool Symbol = C < 0x100 || (C >= 0x2000 && C <= 0x2BFF) || (C >= 0x3000 && C <= 0x303F) ||
                      (C >= 0xFE30 && C <= 0xFE4F) || (C >= 0xFF00 && C <= 0xFF0F);
  AddElement(K, (Symbol ? ClassSymbol : ClassOther) + C, 0, 0);
}

template <class TChar>
TSortKey MakeSortKey(const TChar* S, std::size_t N) {
  TSortKey K;
  K.Primary.reserve(N);
  K.Secondary.reserve(N);
  K.Tertiary.reserve(N);
  for (std::size_t i = 0; i < N; ++i) AddChar(K, static_cast<char16_t>(S[i]));
  return K;
}

template <class TVec>
int CompareVec(const TVec& A, const TVec& B) {
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t i = 0; i < N; ++i)
    if (A[i] != B[i]) return A[i] < B[i] ? -1 : 1;
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

int CompareKeys(const TSortKey& A, const TSortKey& B, bool IgnoreCase) {
  if (int R = CompareVec(A.Primary, B.Primary)) return R;
  if (int R = CompareVec(A.Secondary, B.Secondary)) return R;
  if (!IgnoreCase)
    if (int R = CompareVec(A.Tertiary, B.Tertiary)) return R;
  return CompareVec(A.Ignorable, B.Ignorable);
}

template <class TChar>
int LocaleCompare(const TChar* A, std::size_t NA, const TChar* B, std::size_t NB, bool IgnoreCase) {
  if (int R = CompareKeys(MakeSortKey(A, NA), MakeSortKey(B, NB), IgnoreCase)) return R;
  // Equal in every weight: only strings equal (apart from case, when
  // ignoring it) compare equal; the rest fall back to code-unit order.
  const std::size_t N = std::min(NA, NB);
  for (std::size_t i = 0; i < N; ++i) {
    char16_t CA = static_cast<char16_t>(A[i]), CB = static_cast<char16_t>(B[i]);
    if (IgnoreCase) {
      CA = WideCharLower(CA);
      CB = WideCharLower(CB);
    }
    if (CA != CB) return CA < CB ? -1 : 1;
  }
  return NA == NB ? 0 : (NA < NB ? -1 : 1);
}

bool IsAscii(const AnsiString& S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

std::uint32_t AsciiPrimary(unsigned char C) {
  if (C >= '0' && C <= '9') return ClassDigit + (C - '0');
  if (C >= 'a' && C <= 'z') return ClassLatin + (C - 'a');
  if (C >= 'A' && C <= 'Z') return ClassLatin + (C - 'A');
  return ClassSymbol + C;
}

// The primary level alone, streamed without building keys; 0 when the
// primaries are equal and the later levels must decide. Most comparisons of
// a sort or a search end here.
int AsciiPrimaryCompare(const AnsiString& S1, const AnsiString& S2) {
  std::size_t i = 0, j = 0;
  auto Skip = [](const AnsiString& S, std::size_t& k) {
    while (k < S.size() && (S[k] == '-' || S[k] == '\'')) ++k;
  };
  while (true) {
    Skip(S1, i);
    Skip(S2, j);
    if (i == S1.size() || j == S2.size()) return (i == S1.size()) == (j == S2.size()) ? 0 : (i == S1.size() ? -1 : 1);
    const std::uint32_t A = AsciiPrimary(static_cast<unsigned char>(S1[i++]));
    const std::uint32_t B = AsciiPrimary(static_cast<unsigned char>(S2[j++]));
    if (A != B) return A < B ? -1 : 1;
  }
}

int AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase) {
  if (IsAscii(S1) && IsAscii(S2)) {
    if (int R = AsciiPrimaryCompare(S1, S2)) return R;
    if (IgnoreCase && S1.size() == S2.size() && CompareText(S1, S2) == 0) return 0;
    const auto* A = reinterpret_cast<const unsigned char*>(S1.data());
    const auto* B = reinterpret_cast<const unsigned char*>(S2.data());
    return LocaleCompare(A, S1.size(), B, S2.size(), IgnoreCase);
  }
  const WideString A = AnsiToWide(S1), B = AnsiToWide(S2);
  return LocaleCompare(A.data(), A.size(), B.data(), B.size(), IgnoreCase);
}

}  // namespace

int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) { return AnsiCompare(S1, S2, false); }
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2) { return AnsiCompare(S1, S2, true); }
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) { return S1 == S2; }
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) { return AnsiCompareText(S1, S2) == 0; }

int WideCompareStr(const WideString& S1, const WideString& S2) {
  return LocaleCompare(S1.data(), S1.size(), S2.data(), S2.size(), false);
}
int WideCompareText(const WideString& S1, const WideString& S2) {
  return LocaleCompare(S1.data(), S1.size(), S2.data(), S2.size(), true);
}

// ---- searching and slicing --------------------------------------------------

int Pos(const AnsiString& SubStr, const AnsiString& S) { return PosEx(SubStr, S, 1); }

int PosEx(const AnsiString& SubStr, const AnsiString& S, int Offset) {
  if (SubStr.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size()) return 0;
  const std::size_t P = S.find(SubStr, static_cast<std::size_t>(Offset - 1));
  return P == AnsiString::npos ? 0 : static_cast<int>(P) + 1;
}

int AnsiPos(const AnsiString& SubStr, const AnsiString& S) {
  if (SubStr.empty()) return 0;
  const UINT Cp = GetACP();
  for (std::size_t i = 0; i + SubStr.size() <= S.size(); i += CharLen(S, i, Cp))
    if (S.compare(i, SubStr.size(), SubStr) == 0) return static_cast<int>(i) + 1;
  return 0;
}

AnsiString Copy(const AnsiString& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<std::size_t>(Index) > S.size()) return AnsiString();
  return S.substr(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Delete(AnsiString& S, int Index, int Count) {
  if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size()) return;
  S.erase(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Insert(const AnsiString& Source, AnsiString& S, int Index) {
  const std::size_t At = std::clamp<long long>(Index, 1, static_cast<long long>(S.size()) + 1) - 1;
  S.insert(At, Source);
}

int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S) {
  const UINT Cp = GetACP();
  int Last = 0;
  for (std::size_t i = 0; i < S.size(); i += CharLen(S, i, Cp))
    if (Delimiters.find(S[i]) != AnsiString::npos && S[i] != '\0') Last = static_cast<int>(i) + 1;
  return Last;
}

bool IsDelimiter(const AnsiString& Delimiters, const AnsiString& S, int Index) {
  if (Index < 1 || static_cast<std::size_t>(Index) > S.size()) return false;
  const UINT Cp = GetACP();
  std::size_t i = 0;
  while (i < static_cast<std::size_t>(Index - 1)) i += CharLen(S, i, Cp);
  if (i != static_cast<std::size_t>(Index - 1)) return false;  // a trail byte
  const char C = S[i];
  return C != '\0' && Delimiters.find(C) != AnsiString::npos;
}

namespace {
bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }
}  // namespace

AnsiString Trim(const AnsiString& S) { return TrimLeft(TrimRight(S)); }

AnsiString TrimLeft(const AnsiString& S) {
  std::size_t i = 0;
  while (i < S.size() && IsBlank(S[i])) ++i;
  return S.substr(i);
}

AnsiString TrimRight(const AnsiString& S) {
  std::size_t n = S.size();
  while (n > 0 && IsBlank(S[n - 1])) --n;
  return S.substr(0, n);
}

AnsiString StringOfChar(char Ch, int Count) { return Count > 0 ? AnsiString(Count, Ch) : AnsiString(); }

AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
  const AnsiString Hay = IgnoreCase ? AnsiUpperCase(S) : S;
  const AnsiString Needle = IgnoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  AnsiString Result;
  std::size_t From = 0;
  while (true) {
    const std::size_t P = Hay.find(Needle, From);
    if (P == AnsiString::npos) break;
    Result.append(S, From, P - From);
    Result += NewPattern;
    From = P + Needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  Result.append(S, From, AnsiString::npos);
  return Result;
}

// ---- quoting ----------------------------------------------------------------

AnsiString QuotedStr(const AnsiString& S) { return AnsiQuotedStr(S, '\''); }

AnsiString AnsiQuotedStr(const AnsiString& S, char Quote) {
  const UINT Cp = GetACP();
  AnsiString R(1, Quote);
  for (std::size_t i = 0; i < S.size();) {
    const std::size_t L = CharLen(S, i, Cp);
    if (L == 1 && S[i] == Quote) R.push_back(Quote);
    R.append(S, i, L);
    i += L;
  }
  R.push_back(Quote);
  return R;
}

AnsiString AnsiExtractQuotedStr(const char*& Src, char Quote) {
  if (!Src || *Src != Quote) return AnsiString();
  const UINT Cp = GetACP();
  const char* P = Src + 1;
  AnsiString R;
  while (*P) {
    if (*P == Quote) {
      if (P[1] == Quote) {
        R.push_back(Quote);
        P += 2;
        continue;
      }
      ++P;  // the closing quote
      Src = P;
      return R;
    }
    if (IsDBCSLeadByteEx(Cp, static_cast<unsigned char>(*P)) && P[1]) R.push_back(*P++);
    R.push_back(*P++);
  }
  Src = P;
  return R;
}

AnsiString AnsiDequotedStr(const AnsiString& S, char Quote) {
  const char* P = S.c_str();
  const AnsiString R = AnsiExtractQuotedStr(P, Quote);
  const bool Consumed = P == S.c_str() + S.size();
  if ((R.empty() || Consumed) && !S.empty() && (S.front() != Quote || S.back() != Quote || S.size() == 1))
    return S;
  return R;
}

// ---- line breaks ------------------------------------------------------------

AnsiString PercentDecode(const AnsiString& S) {
  AnsiString R;
  R.reserve(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    const int Escaped = S[I] == '%' && I + 2 < S.size() ? HexByteValue(S[I + 1], S[I + 2]) : -1;
    if (Escaped < 0) {
      R += S[I];
      continue;
    }
    R += char(Escaped);
    I += 2;
  }
  return R;
}

AnsiString AdjustLineBreaks(const AnsiString& S, TTextLineBreakStyle Style) {
  const char* Break = Style == tlbsCRLF ? "\r\n" : "\n";
  AnsiString R;
  R.reserve(S.size() + S.size() / 16);
  for (std::size_t i = 0; i < S.size(); ++i) {
    const char C = S[i];
    if (C == '\r' || C == '\n') {
      R += Break;
      const char Partner = C == '\r' ? '\n' : '\r';
      if (i + 1 < S.size() && S[i + 1] == Partner) ++i;
    } else {
      R.push_back(C);
    }
  }
  return R;
}

// ---- integers ---------------------------------------------------------------

AnsiString IntToStrImpl(Int64 Value) { return std::to_string(Value); }
AnsiString UIntToStrImpl(UInt64 Value) { return std::to_string(Value); }

AnsiString IntToHexImpl(UInt64 Value, int Digits) {
  static const char Hex[] = "0123456789ABCDEF";
  AnsiString R;
  do {
    R.push_back(Hex[Value & 0xF]);
    Value >>= 4;
  } while (Value);
  if (Digits > 32) Digits = 32;
  while (static_cast<int>(R.size()) < Digits) R.push_back('0');
  std::reverse(R.begin(), R.end());
  return R;
}

namespace {

// Parses the class library's integer syntax into a value of Bits bits.
bool ParseInteger(const AnsiString& S, int Bits, Int64& Out) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool Negative = false;
  if (i < S.size() && (S[i] == '-' || S[i] == '+')) Negative = S[i++] == '-';
  bool Hex = false;
  if (i < S.size() && S[i] == '$') {
    Hex = true;
    ++i;
  } else if (i < S.size() && (S[i] == 'x' || S[i] == 'X')) {
    Hex = true;
    ++i;
  } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    Hex = true;
    i += 2;
  }
  if (i >= S.size()) return false;
  const UInt64 Limit = Hex ? (Bits == 64 ? std::numeric_limits<UInt64>::max() : 0xFFFFFFFFull)
                           : (Bits == 64 ? (Negative ? (1ull << 63) : (1ull << 63) - 1)
                                         : (Negative ? (1ull << 31) : (1ull << 31) - 1));
  UInt64 V = 0;
  for (; i < S.size(); ++i) {
    const char C = S[i];
    unsigned D;
    if (C >= '0' && C <= '9') D = C - '0';
    else if (Hex && HexDigitValue(C) >= 0) D = unsigned(HexDigitValue(C));
    else return false;
    const unsigned Base = Hex ? 16 : 10;
    if (V > (Limit - D) / Base) return false;
    V = V * Base + D;
  }
  if (Hex && Bits == 32) V = static_cast<UInt64>(static_cast<Int64>(static_cast<Integer>(static_cast<Cardinal>(V))));
  Out = static_cast<Int64>(Negative ? (0 - V) : V);
  return true;
}

[[noreturn]] void RaiseNotInteger(const AnsiString& S) {
  throw EConvertError("'" + S + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const AnsiString& S, Integer& Value) {
  Int64 V = 0;
  if (!ParseInteger(S, 32, V)) return false;
  Value = static_cast<Integer>(V);
  return true;
}

Integer StrToInt(const AnsiString& S) {
  Integer V = 0;
  if (!TryStrToInt(S, V)) RaiseNotInteger(S);
  return V;
}

Integer StrToIntDef(const AnsiString& S, Integer Default) {
  Integer V = 0;
  return TryStrToInt(S, V) ? V : Default;
}

bool TryStrToInt64(const AnsiString& S, Int64& Value) { return ParseInteger(S, 64, Value); }

Int64 StrToInt64(const AnsiString& S) {
  Int64 V = 0;
  if (!TryStrToInt64(S, V)) RaiseNotInteger(S);
  return V;
}

Int64 StrToInt64Def(const AnsiString& S, Int64 Default) {
  Int64 V = 0;
  return TryStrToInt64(S, V) ? V : Default;
}
