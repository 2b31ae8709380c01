// DCRegExpr.h — TRegExpr, the editor library's small pattern matcher for
// searching one line at a time.
//
// The language: "." any character, "[set]" and "[^set]", "^" and "$" as line
// anchors, "\c" the character c literally, "{items}" a group for a following
// "*" (zero or more) or "+" (one or more). Repetition is greedy with
// backtracking through one shared stack; braces capture nothing. Case
// folding, when the case is ignored, is ASCII only.
//
// Backtracking: the outcome of resuming at a (node, position) state does not
// depend on how that state was reached, so each state is tried at most once
// per Match. That bounds the work by nodes x line length per start, so nested
// repetitions cannot blow up.
#pragma once
#include <bitset>
#include <vector>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

// True for "^", "$" and "^$": the only patterns that match an empty line.
bool IsAnchorOnlyPattern(const AnsiString& Pattern);

class TRegExpr : public TObject {
public:
  // Compiles at once; an invalid pattern raises Exception
  // "<pattern> is invalid mask at (<position>)".
  TRegExpr(const AnsiString& Pattern, bool CaseSensitive);

  // Pos: 1-based column where the scan starts; on success where the match
  // starts, with Len its length (0 for an empty match). On failure Pos and
  // Len are 0.
  bool Search(const AnsiString& Line, Integer& Pos, Integer& Len, bool Forward);
  // The scan behind Search; EndOffset is the number of characters from the
  // start of the line to the end of the match.
  bool Match(const AnsiString& Line, Integer& Pos, Integer& EndOffset, bool Forward);
  void Compile(const AnsiString& Pattern);

  const AnsiString& Pattern() const { return FPattern; }
  bool CaseSensitive() const { return FCaseSensitive; }

  enum TNodeKind : Byte { nkLiteral, nkAny, nkSet, nkLineStart, nkLineEnd, nkGroupOpen, nkGroupClose, nkOneOrMore, nkZeroOrMore };
  struct TNode {
    Integer RepeatEnd = -1;
    TNodeKind Kind = nkLiteral;
    Byte Ch = 0;  // the literal, or 1 for a negated set
    std::bitset<256> Members;
  };
  const std::vector<TNode>& Nodes() const { return FNodes; }

private:
  struct TState {
    Integer Pos;
    Integer Node;
  };
  bool MatchRange(Integer First, Integer Last, Integer& Pos);
  bool MatchIteration(Integer First, Integer Last, Integer& Pos);
  bool TryState(Integer Node, Integer Pos);
  Byte Fold(Byte C) const;

  std::vector<TNode> FNodes;
  std::vector<TState> FStack;
  bool FCaseSensitive;
  AnsiString FPattern;
  // Per Match.
  const AnsiString* FLine = nullptr;
  Integer FEndOffset = 0;
  std::vector<bool> FTried;  // node x (length + 1)
};
