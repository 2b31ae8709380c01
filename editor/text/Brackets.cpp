// Bracket matching of the memo source: from a bracket at the caret to its
// partner, counting nesting across lines. Columns are display columns.
#include <algorithm>
#include <cstring>

#include "editor/text/MemoSource.h"
#include "platform/rtl/Guards.h"

namespace {
constexpr const char* Openers = "([{<";
constexpr const char* Closers = ")]}>";

char PartnerOf(char C) {
  if (!C) return 0;
  if (const char* P = std::strchr(Openers, C)) return Closers[P - Openers];
  if (const char* P = std::strchr(Closers, C)) return Openers[P - Closers];
  return 0;
}
bool IsOpener(char C) { return C && std::strchr(Openers, C); }
bool IsCloser(char C) { return C && std::strchr(Closers, C); }
}  // namespace

// A bracket in a comment or a string (attributes 1 and 2 of the simple
// parsers) does not count; the syntax parser's attributes mean other things.
static bool BracketCounts(TCustomMemoSource& Src, const AnsiString& Attrs, Integer Pos) {
  if (Src.IsSyntaxParser() || Pos > Integer(Attrs.size())) return true;
  const Byte A = Byte(Attrs[size_t(Pos - 1)]);
  return A != 1 && A != 2;
}

Integer TCustomMemoSource::FindCharInLine(char Char, const TPoint& Point, bool Forward) {
  const AnsiString S = GetExpandedLine(Point.Y);
  const Integer Len = Integer(S.size());
  AnsiString Attrs;
  bool HaveAttrs = false;
  auto Counts = [&](Integer Pos) {
    if (!HaveAttrs) {
      if (!IsSyntaxParser()) GetExpandedColorData(Point.Y, Attrs);
      HaveAttrs = true;
    }
    return BracketCounts(*this, Attrs, Pos);
  };
  if (Forward) {
    for (Integer P = std::max(Point.X + 1, 1); P <= Len; ++P)
      if (S[size_t(P - 1)] == Char && Counts(P)) return P;
  } else {
    for (Integer P = std::min(Point.X - 1, Len); P >= 1; --P)
      if (S[size_t(P - 1)] == Char && Counts(P)) return P;
  }
  return 0;
}

char TCustomMemoSource::GetBracketAt(TPoint& Point) {
  const TRect R = GetSelectionRect();
  const bool OneChar = HasSelection() && R.Top == R.Bottom &&
                       R.Right - R.Left == (GetSelectionType() == stBlockSel ? 0 : 1);
  Point = OneChar ? TPoint{R.Left, R.Top} : GetCaretPoint();
  if (Point.Y < 0 || Point.Y >= GetLineCount()) return 0;
  const AnsiString S = GetLines()->GetStrings(Point.Y);
  if (Point.X < 0 || Point.X >= Integer(S.size())) return 0;
  const char C = S[size_t(Point.X)];
  if (!PartnerOf(C)) return C;
  AnsiString Attrs;
  if (!IsSyntaxParser()) GetExpandedColorData(Point.Y, Attrs);
  return BracketCounts(*this, Attrs, Point.X + 1) ? C : 0;
}

bool TCustomMemoSource::ScanForBracket(char Bracket, bool Move, TPoint& Point) {
  const char Partner = PartnerOf(Bracket);
  if (!Partner) return false;
  const bool Forward = IsOpener(Bracket);
  const char Open = Forward ? Bracket : Partner;
  const char Close = Forward ? Partner : Bracket;
  const Integer Count = GetLineCount();
  Integer Line = Point.Y, P = Point.X + 1, Depth = 1;
  bool Found = false;
  while (Line >= 0 && Line < Count && Depth >= 1) {
    const Integer O = FindCharInLine(Open, {P, Line}, Forward);
    const Integer C = FindCharInLine(Close, {P, Line}, Forward);
    // Forward the nearer one has the smaller position, backward the larger.
    const bool CloserFirst = Forward ? C && (!O || C < O) : O && (!C || O > C);
    const bool OtherFirst = Forward ? O != 0 : C != 0;
    if (CloserFirst) {
      P = Forward ? C : O;
      if (--Depth == 0) Found = true;
    } else if (OtherFirst) {
      P = Forward ? O : C;
      ++Depth;
    } else if (Forward) {
      ++Line;
      P = 0;
    } else {
      --Line;
      if (Line >= 0) P = Integer(GetExpandedLine(Line).size()) + 1;
    }
  }
  if (!Found) return false;
  Point = {P - 1, Line};
  if (Move) SetCaret(Point.X, Point.Y);
  return true;
}

// Both searches: caret onto the bracket, then onto its partner, or back
// where it was when there is none.
static void FindPartner(TCustomMemoSource& Src, bool Opening) {
  TPoint P;
  const char B = Src.GetBracketAt(P);
  if (Opening ? !IsOpener(B) : !IsCloser(B)) return;
  Src.BeginUpdate(MemoCode::MoveCaret);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    const TPoint Old = Src.GetCaretPoint();
    Src.SetCaret(P.X, P.Y);
    if (!Src.ScanForBracket(B, true, P)) Src.SetCaret(Old.X, Old.Y);
  }
}

void TCustomMemoSource::FindClosingBracket() { FindPartner(*this, true); }
void TCustomMemoSource::FindOpeningBracket() { FindPartner(*this, false); }

void TCustomMemoSource::MatchBracket() {
  TPoint P;
  const char B = GetBracketAt(P);
  if (IsOpener(B))
    FindClosingBracket();
  else if (IsCloser(B))
    FindOpeningBracket();
}
