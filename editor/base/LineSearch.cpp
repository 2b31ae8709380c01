#include "editor/base/LineSearch.h"

#include <algorithm>
#include <cstdio>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"

namespace {
struct TSearch {
  const AnsiString& Text;
  TStrings* Lines;
  bool IgnoreCase;
  bool WholeWords;
  const TLineMatcher& Matcher;
  Integer& Len;
  TPoint& Pos;
  const TCharSet& Delims;

  bool IsDelim(const AnsiString& Line, Integer Col) const {  // 1-based
    return Delims.test(Byte(Line[std::size_t(Col - 1)]));
  }
  // Whole-word test of a match at P; also yields the word around it.
  bool IsWholeWordMatch(const AnsiString& Line, Integer P, Integer& Start, Integer& End) const {
    Start = End = P;
    if (!WholeWords || P == 0) return true;
    const Integer N = Integer(Line.size());
    while (Start > 1 && !IsDelim(Line, Start - 1)) --Start;
    while (End < N && !IsDelim(Line, End + 1)) ++End;
    return Start == P && End - Start + 1 == Len;
  }
  AnsiString Prepared(AnsiString Line) const { return IgnoreCase && !Matcher ? AnsiUpperCase(Line) : Line; }

  bool Forward() {
    bool Found = false;
    while (Pos.Y < Lines->GetCount()) {
      const AnsiString Line = Prepared(Lines->GetStrings(Pos.Y));
      const Integer N = Integer(Line.size());
      if (N >= Pos.X || (N == 0 && Pos.X == 1 && Matcher)) {
        for (;;) {
          if (Matcher)
            Found = Matcher(Line, Pos.X, Len, true);
          else
            Pos.X = PosFrom(Text, Line, Pos.X);
          Integer Start, End;
          if (N == 0 || IsWholeWordMatch(Line, Pos.X, Start, End)) break;
          Found = false;
          Pos.X = Pos.X == End ? Pos.X + 1 : End;
        }
      } else {
        Pos.X = 0;  // the line was not searched
      }
      Found = Found || Pos.X != 0;
      if (Found) break;
      ++Pos.Y;
      Pos.X = 1;
    }
    return Found;
  }

  bool Backward() {
    bool Found = false;
    while (Pos.Y >= 0) {
      AnsiString Line = Lines->GetStrings(Pos.Y);
      while (!Line.empty() && Line.back() == ' ') Line.pop_back();
      Line = Prepared(Line);
      const Integer N = Integer(Line.size());
      if (Pos.X > 0 || (N == 0 && Pos.X == 0 && Matcher)) {
        Pos.X = std::min(Pos.X, N);
        for (;;) {
          if (Matcher)
            Found = Matcher(Line, Pos.X, Len, false);
          else
            Pos.X = RPosFrom(Text, Line, Pos.X);
          Integer Start, End;
          if (N == 0 || IsWholeWordMatch(Line, Pos.X, Start, End)) break;
          Found = false;
          Pos.X = (Pos.X == Start ? Pos.X : Start) - 1;
          // A matcher at column 0 tries the first character again: no
          // further left to go.
          if (Pos.X <= 0) {
            Pos.X = 0;
            break;
          }
        }
      } else {
        Pos.X = 0;
      }
      Found = Found || Pos.X != 0;
      if (Found) break;
      if (--Pos.Y >= 0) Pos.X = Integer(Lines->GetStrings(Pos.Y).size());
    }
    return Found;
  }
};
}  // namespace

bool SearchInLines(const AnsiString& Text, TStrings* Lines, Byte Flags, const TLineMatcher& Matcher, Integer& Len,
                   TPoint& Pos, const TCharSet& Delimiters) {
  Len = Integer(Text.size());
  if (!Lines || Lines->GetCount() == 0 || Text.empty()) return false;
  const bool IgnoreCase = !(Flags & sfCaseSensitive);
  const AnsiString Wanted = IgnoreCase && !Matcher ? AnsiUpperCase(Text) : Text;
  TSearch S{Wanted, Lines, IgnoreCase, (Flags & sfWholeWords) != 0, Matcher, Len, Pos, Delimiters};
  return (Flags & sfBackward) ? S.Backward() : S.Forward();
}

bool SearchLines(const AnsiString& Text, TStrings* Lines, bool CaseSensitive, const TLineMatcher& Matcher,
                 Integer& Len, TPoint& Pos) {
  return SearchInLines(Text, Lines, CaseSensitive ? sfCaseSensitive : 0, Matcher, Len, Pos, TCharSet());
}

bool SearchLinesFromStart(const AnsiString& Text, TStrings* Lines, bool CaseSensitive, const TLineMatcher& Matcher,
                          Integer& Len, TPoint& Pos) {
  Pos = TPoint{1, 0};
  return SearchLines(Text, Lines, CaseSensitive, Matcher, Len, Pos);
}

Integer PosFrom(const AnsiString& Text, const AnsiString& In, Integer Start) {
  if (Text.empty() || In.empty() || Text.size() > In.size()) return 0;
  if (Start < 1) Start = 1;
  if (std::size_t(Start) > In.size()) return 0;
  const std::size_t P = In.find(Text, std::size_t(Start - 1));
  return P == AnsiString::npos ? 0 : Integer(P + 1);
}

Integer RPosFrom(const AnsiString& Text, const AnsiString& In, Integer Start) {
  if (Text.empty() || In.empty() || Text.size() > In.size() || Start < 1) return 0;
  Start = std::min(Start, Integer(In.size()));
  for (Integer P = Start; P >= 1; --P)
    if (In.compare(std::size_t(P - 1), Text.size(), Text) == 0) return P;
  return 0;
}

void ReplaceAtPos(AnsiString& S, Integer Position, const AnsiString& Find, const AnsiString& Replacement) {
  Delete(S, Position, Integer(Find.size()));
  Insert(Replacement, S, Position);
}

void ReplaceAllText(AnsiString& S, const AnsiString& Find, const AnsiString& Replacement) {
  Integer Position = 1;
  for (;;) {
    const Integer P = PosFrom(Find, S, Position);
    if (P == 0) return;
    ReplaceAtPos(S, P, Find, Replacement);
    Position = P + Integer(Replacement.size());
    if (Integer(S.size()) < Position) return;
  }
}

Integer FirstNonBlank(const AnsiString& S) {
  const std::size_t P = S.find_first_not_of(' ');
  return P == AnsiString::npos ? Integer(S.size()) + 1 : Integer(P) + 1;
}

AnsiString MultiplyChar(const AnsiString& S, char C, Integer N) {
  if (N <= 0) return S;
  AnsiString R;
  for (char Ch : S) R.append(Ch == C ? std::size_t(N) + 1 : 1, Ch);
  return R;
}

AnsiString RemoveChars(const TCharSet& Chars, const AnsiString& S) {
  AnsiString R;
  for (char Ch : S)
    if (!Chars.test(Byte(Ch))) R += Ch;
  return R;
}

void IncludeCharsInSet(const AnsiString& S, TCharSet& Set) {
  for (char Ch : S) Set.set(Byte(Ch));
}

TCharSet MakeCharSet(const TCharSet& Base, const AnsiString& S, bool CaseSensitive) {
  TCharSet R = Base;
  if (CaseSensitive) {
    IncludeCharsInSet(S, R);
  } else {
    IncludeCharsInSet(AnsiUpperCase(S), R);
    IncludeCharsInSet(AnsiLowerCase(S), R);
  }
  return R;
}

AnsiString Blanks(Integer N) { return N > 0 ? AnsiString(std::size_t(N), ' ') : AnsiString(); }

void PadWithBlanks(AnsiString& S, Integer Length) {
  if (Integer(S.size()) < Length) S.append(std::size_t(Length) - S.size(), ' ');
}

Integer MaxOfInts(const std::vector<Integer>& Values) {
  return Values.empty() ? 0 : *std::max_element(Values.begin(), Values.end());
}

void SetStringsFromArray(TStrings* List, const std::vector<AnsiString>& Values) {
  List->BeginUpdate();
  {
    TUpdateGuard Update(*List, UpdateBegun);
    List->Clear();
    for (const AnsiString& V : Values) List->Add(V);
  }
}

TStringList* CreateSortedStringList() {
  auto* L = new TStringList;
  L->SetSorted(true);
  return L;
}

void ClearStringsObjects(TStrings* List) {
  if (!List) return;
  try {
    for (Integer I = 0; I < List->GetCount(); ++I) {
      TObject* O = List->GetObjects(I);
      List->SetObjects(I, nullptr);
      delete O;
    }
  } catch (...) {
    List->Clear();
    throw;
  }
  List->Clear();
}

void FreeStringsObjects(TStrings* List) {
  if (!List) return;
  for (Integer I = List->GetCount() - 1; I >= 0; --I) {
    TObject* O = List->GetObjects(I);
    List->SetObjects(I, nullptr);  // no dangling pointer stays behind
    delete O;
  }
}

void FreeStringsAndObjects(TStrings*& List) {
  if (!List) return;
  FreeStringsObjects(List);
  delete List;
  List = nullptr;
}

TGUID NewGuid() {
  TGUID G;
  CreateGUID(G);
  return G;
}

AnsiString GuidToText(const TGUID& G) { return GUIDToString(G); }
