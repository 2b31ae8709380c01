#include "editor/base/DCRegExpr.h"

#include <cstring>

#include "editor/base/EdConsts.h"
#include "editor/base/SortedLists.h"

bool IsAnchorOnlyPattern(const AnsiString& Pattern) {
  return Pattern == "^" || Pattern == "$" || Pattern == "^$";
}

TRegExpr::TRegExpr(const AnsiString& Pattern, bool CaseSensitive)
    : FCaseSensitive(CaseSensitive), FPattern(Pattern) {
  Compile(Pattern);
}

Byte TRegExpr::Fold(Byte C) const {
  if (!FCaseSensitive && C >= 'a' && C <= 'z') return Byte(C - 'a' + 'A');
  return C;
}

void TRegExpr::Compile(const AnsiString& Pattern) {
  FNodes.clear();
  const Integer Len = Integer(Pattern.size());
  auto Fail = [&](Integer Position) { RaiseErrorFmt(TranslateResText(EdConsts::SInvalidMask), {Pattern, Position}); };
  auto Add = [&](TNodeKind Kind, Byte Ch = 0) {
    TNode N;
    N.Kind = Kind;
    N.Ch = Ch;
    FNodes.push_back(N);
    return Integer(FNodes.size()) - 1;
  };
  auto Repeated = [&](Integer At) { return At < Len && (Pattern[At] == '*' || Pattern[At] == '+'); };

  std::vector<Integer> Groups;
  Integer Depth = 0;
  Integer Pending = -1;  // the group a following "*" or "+" applies to
  Integer I = 0;
  while (I < Len) {
    const char C = Pattern[I];
    const Integer PrevPending = Pending;
    Pending = -1;
    switch (C) {
      case '^': Add(nkLineStart); ++I; break;
      case '$': Add(nkLineEnd); ++I; break;
      case '.': Add(nkAny); ++I; break;
      case '\\':
        if (I + 1 >= Len) Fail(I + 1);
        Add(nkLiteral, Fold(Byte(Pattern[I + 1])));
        I += 2;
        break;
      case '{':
        Groups.push_back(Add(nkGroupOpen));
        ++Depth;
        ++I;
        break;
      case '}':
        Add(nkGroupClose);
        --Depth;
        if (!Groups.empty()) {
          Pending = Groups.back();
          Groups.pop_back();
        }
        ++I;
        break;
      case '*':
      case '+': {
        if (FNodes.empty()) Fail(I + 1);
        const Integer LastNode = Integer(FNodes.size()) - 1;
        Integer First = PrevPending;
        if (First < 0) {
          const TNodeKind K = FNodes[std::size_t(LastNode)].Kind;
          if (K == nkLineStart || K == nkLineEnd || K == nkOneOrMore || K == nkZeroOrMore) Fail(I + 1);
          First = LastNode;
        }
        for (Integer N = First; N <= LastNode; ++N)
          if (FNodes[std::size_t(N)].RepeatEnd == -1) FNodes[std::size_t(N)].RepeatEnd = LastNode;
        Add(C == '+' ? nkOneOrMore : nkZeroOrMore);
        ++I;
        break;
      }
      case '[': {
        ++I;
        TNode Set;
        Set.Kind = nkSet;
        if (I < Len && Pattern[I] == '^') {
          Set.Ch = 1;
          ++I;
        }
        Integer LastSingle = -1;
        for (;;) {
          if (I >= Len) Fail(Len + 1);
          const Byte S = Byte(Pattern[I]);
          if (S == ']') {
            if (Set.Members.none()) Fail(I + 1);
            ++I;
            break;
          }
          if (S == '-') {
            if (LastSingle < 0) Fail(I + 1);
            if (I + 1 >= Len) Fail(Len + 1);
            const Integer Hi = Fold(Byte(Pattern[I + 1]));
            for (Integer Code = LastSingle; Code <= Hi; ++Code) Set.Members.set(std::size_t(Code));
            I += 2;
          } else if (S == '\\' && I + 1 < Len && std::strchr("$*+.[]^{}-", Pattern[I + 1])) {
            LastSingle = Byte(Pattern[I + 1]);
            Set.Members.set(std::size_t(LastSingle));
            I += 2;
          } else {
            LastSingle = Fold(S);
            Set.Members.set(std::size_t(LastSingle));
            ++I;
          }
        }
        const bool Enclose = Repeated(I);
        if (Enclose) Pending = Add(nkGroupOpen);
        FNodes.push_back(Set);
        if (Enclose) Add(nkGroupClose);
        break;
      }
      default: {
        const bool Enclose = Repeated(I + 1);
        if (Enclose) Pending = Add(nkGroupOpen);
        Add(nkLiteral, Fold(Byte(C)));
        if (Enclose) Add(nkGroupClose);
        ++I;
        break;
      }
    }
  }
  Add(nkLiteral, 0);  // the end node
  if (Depth != 0) Fail(Len + 1);
}

bool TRegExpr::MatchIteration(Integer First, Integer Last, Integer& Pos) {
  const Integer Saved = Pos;
  if (MatchRange(First, Last, Pos) && Pos != Saved) return true;
  Pos = Saved;
  return false;
}

bool TRegExpr::MatchRange(Integer First, Integer Last, Integer& Pos) {
  const AnsiString& Line = *FLine;
  const Integer Len = Integer(Line.size());
  bool EndConsumed = false;
  // Consumes one character that Accept takes; at the end of the line only a
  // node that accepts the terminating zero succeeds, once per range.
  auto Consume = [&](bool AcceptsEnd, auto Accept) {
    if (Pos >= Len) {
      if (!AcceptsEnd || EndConsumed) return false;
      EndConsumed = true;
      return true;
    }
    if (!Accept(Fold(Byte(Line[std::size_t(Pos)])))) return false;
    ++Pos;
    return true;
  };
  Integer I = First;
  while (I <= Last) {
    const TNode& N = FNodes[std::size_t(I)];
    const Integer R = N.RepeatEnd;
    if (R != -1 && R != Last) {
      const bool ZeroOk = FNodes[std::size_t(R + 1)].Kind == nkZeroOrMore;
      if (Pos >= Len) {
        if (!ZeroOk) return false;
        I = R + 2;
        continue;
      }
      if (!ZeroOk && !MatchIteration(I, R, Pos)) return false;
      FStack.push_back({Pos, R + 2});
      while (Pos < Len && MatchIteration(I, R, Pos))
        if (Pos < Len) FStack.push_back({Pos, R + 2});
      I = R + 2;
      continue;
    }
    bool Ok = true;
    switch (N.Kind) {
      case nkLiteral:
        if (N.Ch == 0 && I == Integer(FNodes.size()) - 1) {
          FEndOffset = Pos;
          return true;
        }
        Ok = Consume(false, [&](Byte C) { return C == N.Ch; });
        break;
      case nkAny: Ok = Consume(true, [](Byte) { return true; }); break;
      case nkSet: {
        const bool Negated = N.Ch == 1;
        Ok = Consume(Negated, [&](Byte C) { return N.Members.test(C) != Negated; });
        break;
      }
      case nkLineStart: Ok = Pos == 0; break;
      case nkLineEnd: Ok = Pos >= Len; break;
      default: break;  // group marks and operators consume nothing
    }
    if (!Ok) return false;
    ++I;
  }
  return true;
}

bool TRegExpr::TryState(Integer Node, Integer Pos) {
  const std::size_t Slot = std::size_t(Node) * (FLine->size() + 1) + std::size_t(Pos);
  if (FTried[Slot]) return false;  // failed before; the same states follow from it
  FTried[Slot] = true;
  Integer P = Pos;
  return MatchRange(Node, Integer(FNodes.size()) - 1, P);
}

bool TRegExpr::Match(const AnsiString& Line, Integer& Pos, Integer& EndOffset, bool Forward) {
  EndOffset = 0;
  const Integer Len = Integer(Line.size());
  if (Pos > Len) Pos = Len;
  if (Len == 0) {
    if (IsAnchorOnlyPattern(FPattern)) return true;
    Pos = 0;
    return false;
  }
  FStack.clear();
  FLine = &Line;
  FTried.assign(FNodes.size() * (Line.size() + 1), false);
  for (Integer Start = Pos <= 0 ? 1 : Pos; Start >= 1 && Start <= Len; Start += Forward ? 1 : -1) {
    bool Ok = TryState(0, Start - 1);
    while (!Ok && !FStack.empty()) {
      const TState S = FStack.back();
      FStack.pop_back();
      Ok = TryState(S.Node, S.Pos);
    }
    if (Ok) {
      Pos = Start;
      EndOffset = FEndOffset;
      FStack.clear();
      FLine = nullptr;
      return true;
    }
  }
  FStack.clear();
  FLine = nullptr;
  Pos = 0;
  EndOffset = 0;
  return false;
}

bool TRegExpr::Search(const AnsiString& Line, Integer& Pos, Integer& Len, bool Forward) {
  Len = 0;
  const Integer LineLen = Integer(Line.size());
  if (FPattern == "$" && (Forward || Pos == LineLen)) {
    Pos = LineLen + 1;
    return true;
  }
  Integer EndOffset = 0;
  if (!Match(Line, Pos, EndOffset, Forward)) {
    Pos = 0;
    return false;
  }
  Len = EndOffset > 0 ? EndOffset + 1 - Pos : 0 - Pos;
  if (Len < 0) Len = 0;
  return true;
}
