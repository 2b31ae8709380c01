#include "MemoTestUtil.h"

namespace {

void AddOption(TCustomMemoSource& S, TStringsOption O) {
  TStringsOptions X = S.GetOptions();
  X.Include(O);
  S.SetOptions(X);
}

// Text between double quotes gets attribute 2 (a string), as the simple
// parsers mark strings; brackets there do not count.
class TQuoteParser : public TSimpleParser {
  SX_CLASS(TQuoteParser, TSimpleParser)
public:
  explicit TQuoteParser(TComponent* AOwner) : TSimpleParser(AOwner) {}
  Integer ParseLine(const AnsiString& Text, Integer BeginState, AnsiString& Attrs) override {
    bool In = BeginState != 0;
    for (size_t I = 0; I < Text.size(); ++I) {
      if (Text[I] == '"') In = !In;
      Attrs[I] = char(In || Text[I] == '"' ? 2 : 0);
    }
    return In ? 1 : 0;
  }
};

struct TBracketCase {
  const char* Text;
  TPoint From;
  TPoint Want;
  const char* Why;
};

TEST(TCustomMemoSource_Brackets, MatchBracketMovesToThePartner) {
  const TBracketCase Cases[] = {
      {"(a(b)c)", {0, 0}, {6, 0}, "outer opening to outer closing"},
      {"(a(b)c)", {6, 0}, {0, 0}, "and back"},
      {"(a(b)c)", {2, 0}, {4, 0}, "inner pair"},
      {"f(x,|  [y],|  {z})", {1, 0}, {5, 2}, "across lines, other kinds ignored"},
      {"f(x,|  [y],|  {z})", {5, 2}, {1, 0}, "backwards across lines"},
      {"a{|}|<>", {1, 0}, {0, 1}, "closing at the start of the next line"},
      {"<<x>", {1, 0}, {3, 0}, "only the nearer one closes"},
      {"(a(b)c", {0, 0}, {0, 0}, "unmatched: the caret stays"},
      {"x)y", {1, 0}, {1, 0}, "no opening bracket before"},
      {"abc", {1, 0}, {1, 0}, "not a bracket"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    SetText(S, C.Text);
    S.SetCaret(C.From.X, C.From.Y);
    S.MatchBracket();
    EXPECT_EQ(S.GetCaretPoint(), C.Want);
  }
}

TEST(TCustomMemoSource_Brackets, BracketsInStringsDoNotCount) {
  TQuoteParser P(nullptr);
  TMemoSource S(nullptr);
  S.SetSyntaxParser(&P);
  SetText(S, "f(\")\",|  \"(\" x)");
  S.SetCaret(1, 0);
  S.MatchBracket();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(7, 1)) << "skips the quoted ones, on both lines";
  S.SetCaret(3, 0);
  TPoint At;
  EXPECT_EQ(S.GetBracketAt(At), 0) << "a quoted bracket is no bracket";
  S.SetSyntaxParser(nullptr);
}

TEST(TCustomMemoSource_Brackets, ColumnsAreDisplayColumnsWithTabs) {
  TMemoSource S(nullptr);
  AddOption(S, soUseTabCharacter);
  SetText(S, "(\tx)");
  S.SetCaret(0, 0);
  S.MatchBracket();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(10, 0)) << "the TAB fills columns 1-8, x sits at the stop";
}

TEST(TCustomMemoSource_Brackets, OneSelectedBracketIsMatchedFromTheSelectionStart) {
  TMemoSource S(nullptr);
  AddOption(S, soPersistentBlocks);
  SetText(S, "x[ab]");
  S.SetSelection(stStreamSel, 1, 0, 2, 0);
  S.SetCaret(2, 0);
  TPoint P;
  EXPECT_EQ(S.GetBracketAt(P), '[');
  EXPECT_EQ(P, TPoint(1, 0));
  S.MatchBracket();
  EXPECT_EQ(S.GetCaretPoint(), TPoint(4, 0));
}

TEST(TCustomMemoSource_Brackets, FindCharInLineLooksStrictlyAfterOrBefore) {
  TMemoSource S(nullptr);
  SetText(S, "a)b)c");
  EXPECT_EQ(S.FindCharInLine(')', {2, 0}, true), 4);
  EXPECT_EQ(S.FindCharInLine(')', {1, 0}, true), 2);
  EXPECT_EQ(S.FindCharInLine(')', {4, 0}, false), 2);
  EXPECT_EQ(S.FindCharInLine(')', {2, 0}, false), 0);
  EXPECT_EQ(S.FindCharInLine(')', {0, 7}, true), 0) << "outside the text";
}

}  // namespace
