// DocumentEngine_Text.cpp — text variables, the pages-to-render filter, the
// visual reordering of right-to-left text and link detection.
#include <algorithm>
#include "export/engine/DocumentEngine.h"
#include "export/engine/WriterUtils.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

namespace {
WideString W(const AnsiString& S) { return AnsiToWide(S); }
WideString IntW(Integer N) { return W(std::to_string(N)); }

// Entries of a pages-to-render text: commas and blanks separate, quotes
// group (a comma text).
std::vector<AnsiString> PageEntries(const AnsiString& Text) {
  TStringList L;
  L.SetCommaText(Text);
  std::vector<AnsiString> Out;
  for (Integer I = 0; I < L.GetCount(); ++I) Out.push_back(L[I]);
  return Out;
}

bool OnlyDigitsAndHyphen(const AnsiString& S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return C == '-' || (C >= '0' && C <= '9'); });
}
}  // namespace

void TgtCustomDocumentEngine::SetPagesToRender(const AnsiString& Value) {
  // A range without a number on one side would fail mid-document; refuse it
  // here, where the caller can still correct it.
  for (const AnsiString& E : PageEntries(Value)) {
    if (E.empty() || !OnlyDigitsAndHyphen(E)) continue;
    auto Dash = E.find('-');
    const AnsiString From = Dash == AnsiString::npos ? E : E.substr(0, Dash);
    const AnsiString To = Dash == AnsiString::npos ? E : E.substr(Dash + 1);
    if (From.empty() || To.empty() || To.find('-') != AnsiString::npos || From.size() > 9 || To.size() > 9)
      throw EConvertError("'" + E + "' is not a valid page range");
  }
  FPagesToRender = Value;
}

bool TgtCustomDocumentEngine::IsPageInRange(Integer PageNo) const {
  if (FPagesToRender.empty()) return true;
  for (const AnsiString& E : PageEntries(FPagesToRender)) {
    if (E.empty() || !OnlyDigitsAndHyphen(E)) continue;
    auto Dash = E.find('-');
    if (Dash != AnsiString::npos) {
      const Integer From = std::stoi(E.substr(0, Dash)), To = std::stoi(E.substr(Dash + 1));
      if (PageNo >= From && PageNo <= To) return true;
    } else if (std::stoi(E) == PageNo) {
      return true;
    }
  }
  return false;
}

void TgtCustomDocumentEngine::ReplacePageVariables(const WideString& Text, WideString& Result) {
  Result = ReplaceTextCIW(Text, u"<%Pg#%>", IntW(FCurrentPage));
  Result = ReplaceTextCIW(Result, u"<%PgCnt%>", IntW(FPageCount));
}

void TgtCustomDocumentEngine::ReplaceVariables(const WideString& Text, bool IncludePageVariables,
                                               WideString& Result) {
  Result = Text;
  if (!GetPreferences()->GetCalculateVariables() || Text.empty()) return;
  // Every variable opens with "<%": a line without one is the common case,
  // and the searches below would only copy it again and again.
  if (Text.find(u"<%") == WideString::npos) return;
  if (IncludePageVariables) ReplacePageVariables(Result, Result);
  const TFormatSettings& F = FormatSettings();
  Result = ReplaceTextCIW(Result, u"<%ShortDate%>", W(FormatDateTime(F.ShortDateFormat, Now())));
  Result = ReplaceTextCIW(Result, u"<%ShortTime%>", W(FormatDateTime(F.ShortTimeFormat, Now())));
  Result = ReplaceTextCIW(Result, u"<%LongDate%>", W(FormatDateTime(F.LongDateFormat, Now())));
  Result = ReplaceTextCIW(Result, u"<%LongTime%>", W(FormatDateTime(F.LongTimeFormat, Now())));
  Result = ReplaceTextCIW(Result, u"<%Author%>", FDocInfo->GetAuthor());
  Result = ReplaceTextCIW(Result, u"<%Creator%>", FDocInfo->GetCreator());
  Result = ReplaceTextCIW(Result, u"<%Subject%>", FDocInfo->GetSubject());
  Result = ReplaceTextCIW(Result, u"<%Title%>", FDocInfo->GetTitle());
  if (!OnCalcVariables) return;
  std::size_t Pos = 0;
  for (;;) {
    std::size_t Open = Result.find(u"<%", Pos);
    if (Open == WideString::npos) break;
    std::size_t Close = Result.find(u"%>", Open + 2);
    if (Close == WideString::npos) break;
    std::size_t Inner = Result.find(u"<%", Open + 2);
    if (Inner != WideString::npos && Inner < Close) {
      Pos = Inner;
      continue;
    }
    const WideString Name = Result.substr(Open + 2, Close - Open - 2);
    if (Name.empty() || Name == u"Pg#" || Name == u"PgCnt") {
      Pos = Close + 2;
      continue;
    }
    WideString Value;
    OnCalcVariables(this, Name, Value);
    // The value is inserted once and never scanned again: a value that
    // names its own variable does not expand forever.
    const WideString Var = u"<%" + Name + u"%>";
    WideString Out = Result.substr(0, Open);
    WideString Rest = Result.substr(Open);
    Out += ReplaceTextCIW(Rest, Var, Value);
    Result = Out;
    Pos = Open + Value.size();
  }
}

// ---- right-to-left text ---------------------------------------------------------------

namespace {
enum TCharClass { ccLTR, ccRTL, ccDigit, ccNeutral };

TCharClass ClassOf(char16_t C) {
  if (C >= u'0' && C <= u'9') return ccDigit;
  if ((C >= 32 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 96) || (C >= 123 && C <= 126))
    return ccNeutral;
  if ((C >= 0x0590 && C <= 0x05FF) || (C >= 0x0600 && C <= 0x06FF) || (C >= 0xFB1E && C <= 0xFB4F) ||
      (C >= 0xFB50 && C <= 0xFDFF) || (C >= 0xFE70 && C <= 0xFEFF))
    return ccRTL;
  return ccLTR;
}

char16_t Mirror(char16_t C) {
  switch (C) {
    case u'(': return u')'; case u')': return u'(';
    case u'<': return u'>'; case u'>': return u'<';
    case u'[': return u']'; case u']': return u'[';
    case u'{': return u'}'; case u'}': return u'{';
    default: return C;
  }
}
}  // namespace

void TgtCustomDocumentEngine::ReorderBiDiText(const WideString& Text, WideString& Result) {
  if (std::none_of(Text.begin(), Text.end(), [](char16_t C) { return ClassOf(C) == ccRTL; })) {
    Result += Text;
    return;
  }
  // Runs of one class; a number keeps a separator or sign that joins it to
  // the next digit, and a trailing percent sign.
  const TFormatSettings& F = FormatSettings();
  const char16_t Thousand = char16_t(F.ThousandSeparator), Decimal = char16_t(F.DecimalSeparator),
                 Time = char16_t(F.TimeSeparator);
  struct TRun { TCharClass Class; WideString Text; };
  std::vector<TRun> Runs;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    char16_t C = Text[I];
    TCharClass K = ClassOf(C);
    if (K == ccNeutral && !Runs.empty() && Runs.back().Class == ccDigit) {
      const bool Joins = (C == Thousand || C == Decimal || C == u'$' || C == Time) && I + 1 < Text.size() &&
                         ClassOf(Text[I + 1]) == ccDigit;
      if (Joins || C == u'%') K = ccDigit;
    }
    if (Runs.empty() || Runs.back().Class != K) Runs.push_back({K, WideString()});
    Runs.back().Text += C;
  }
  // Left-to-right text (and what follows it before right-to-left text
  // starts) is kept in order; right-to-left runs and the neutral and digit
  // runs between them are laid out in reverse at the insertion point.
  WideString Out;
  std::size_t Insert = 0;
  bool InRTL = false;
  for (const TRun& R : Runs) {
    if (R.Class == ccLTR) {
      InRTL = false;
      Out += R.Text;
      Insert = Out.size();
      continue;
    }
    if (R.Class == ccRTL) InRTL = true;
    if (!InRTL) {
      Out += R.Text;
      Insert = Out.size();
      continue;
    }
    WideString Piece = R.Class == ccDigit ? R.Text : WideString(R.Text.rbegin(), R.Text.rend());
    if (R.Class == ccNeutral)
      for (char16_t& C : Piece) C = Mirror(C);
    Out.insert(Insert, Piece);
  }
  Result += Out;
}

// ---- links ----------------------------------------------------------------------------------

namespace {
bool IsLinkChar(char16_t C) {
  return C == u'%' || C == u'&' || C == u'+' || C == u'-' || C == u'.' || C == u'/' || (C >= u'0' && C <= u'9') ||
         C == u':' || C == u'=' || C == u'?' || C == u'@' || (C >= u'A' && C <= u'Z') || C == u'_' ||
         (C >= u'a' && C <= u'z');
}
bool IsNameChar(char16_t C) {
  return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9') || C == u'-' ||
         C == u'.' || C == u'_';
}
}  // namespace

void TgtCustomDocumentEngine::ExtractLink(const WideString& Text, Integer& Start, WideString& Link) const {
  Link.clear();
  const Integer From = Start < 1 ? 1 : Start;
  if (std::size_t(From) > Text.size()) return;
  WideString Piece = Text.substr(std::size_t(From - 1));
  if (Start >= 1 && !Piece.empty()) Piece.pop_back();
  for (char16_t& C : Piece) C = WideCharLower(C);
  const std::size_t Len = Piece.size();
  std::size_t M = Len;
  bool FilePath = false;
  for (const char16_t* Prefix : {u"http://", u"ftp://", u"www.", u"@", u":\\"}) {
    const WideString P(Prefix);
    std::size_t At = Piece.find(P);
    if (At == WideString::npos || At >= M) continue;
    if (P == u"@") {
      const bool Dot = Piece.find(u'.', At) < M;
      std::size_t Name = At;
      while (Name > 0 && IsNameChar(Piece[Name - 1])) --Name;
      M = Dot ? Name : 0;
      FilePath = false;
    } else if (P == u":\\") {
      if (At == 0) continue;
      M = At - 1;
      FilePath = true;
    } else {
      M = At;
      FilePath = false;
    }
  }
  if (M == Len) return;
  if (M == 0 && Piece.find(u'@') != WideString::npos && Piece.find(u'.', Piece.find(u'@')) == WideString::npos &&
      Piece.find(u"http://") == WideString::npos && Piece.find(u"www.") == WideString::npos &&
      Piece.find(u"ftp://") == WideString::npos)
    return;   // an '@' with nothing after it that makes an address
  Start = (Start < 1 ? 0 : Start) + Integer(M) + (Start < 1 ? 1 : 0);
  if (Start < 1) return;
  const std::size_t S0 = std::size_t(Start - 1);
  std::size_t End = S0;
  if (FilePath) {
    Integer PathEnd = FindPathEnd(Piece.substr(M));
    End = PathEnd > 0 ? S0 + std::size_t(PathEnd - 1) : S0;
  } else {
    while (End < Text.size() && IsLinkChar(Text[End])) ++End;
  }
  End = std::min(End, Text.size());
  Link = Text.substr(S0, End - S0);
}
