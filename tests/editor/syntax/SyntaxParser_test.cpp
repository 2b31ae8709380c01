#include "editor/syntax/SyntaxParser.h"

#include <gtest/gtest.h>

#include "editor/view/TextStyles.h"

namespace {

// Font ids used by the test scheme, one per kind of token.
enum : Integer { fText = 1, fComment = 2, fString = 3, fInt = 4, fFloat = 5, fIdent = 6, fKey = 7, fSym = 8, fChild = 9 };

// Attribute bytes as one hex digit each.
std::string Digits(const AnsiString& Attrs) {
  std::string S;
  for (unsigned char C : Attrs) S += "0123456789ABCDEF"[C & 15];
  return S;
}

class SyntaxParserTest : public ::testing::Test {
protected:
  SyntaxParserTest() : P(nullptr) {}

  TSyntaxBlock* Root() { return P.GetSyntaxScheme()->GetSyntaxBlocks()->Item(0); }

  // A C-like root block.
  void UseCLike(bool CaseSensitive = false) {
    TSyntaxScheme S;
    TSyntaxBlock* B = S.GetSyntaxBlocks()->Item(0);
    B->CaseSensitive = CaseSensitive;
    B->FIText = fText;
    B->FIIntNum = fInt;
    B->FIFloatNum = fFloat;
    B->FIIdentifier = fIdent;
    B->FISymbol = fSym;
    B->UseSymbols = B->UseNumbers = B->UseIdentifiers = B->UseKeywords = true;
    B->UseComments = B->UseMultiLineComments = B->UseSingleLineComments = true;
    B->UseStrings = B->UseSingleLineStrings = true;
    B->UseMetaSymbol = true;
    B->MetaSymbol = '\\';
    TBlockToken* C = B->GetMultiLineCommentDelimiters()->AddItem();
    C->LeftDelimiter = "/*";
    C->RightDelimiter = "*/";
    C->FontID = fComment;
    TLineToken* L = B->GetSingleLineCommentDelimiters()->AddItem();
    L->LeftDelimiter = "//";
    L->FontID = fComment;
    TBlockToken* Q = B->GetSingleLineStringDelimiters()->AddItem();
    Q->LeftDelimiter = Q->RightDelimiter = "\"";
    Q->FontID = fString;
    TKeywordSet* K = B->GetKeywordSets()->AddItem();
    K->Keywords = "begin,end";
    K->FontID = fKey;
    P.SetSyntaxScheme(&S);
  }

  // Parses Lines one after another; returns the attributes and the states.
  std::vector<std::string> Parse(const std::vector<AnsiString>& Lines, std::vector<Integer>* States = nullptr,
                                 Integer State = 0) {
    std::vector<std::string> Out;
    for (const AnsiString& L : Lines) {
      AnsiString Attrs(L.size(), '\0');
      State = P.ParseLine(L, State, Attrs);
      Out.push_back(Digits(Attrs));
      if (States) States->push_back(State);
    }
    return Out;
  }

  TSyntaxParser P;
};

TEST_F(SyntaxParserTest, TokensGetTheirFontIds) {
  UseCLike();
  struct TCase {
    const char* Line;
    const char* Want;
  };
  const TCase Cases[] = {
      {"12", "44"},
      {"1.5", "555"},
      {"12.", "555"},             // a point with no digit is still taken
      {"2e10", "5555"},
      {"2e", "46"},               // "e" without digits starts an identifier
      {"x = 1;", "618148"},
      {"begin", "77777"},
      {"BEGIN Begins", "777771666666"},
      {"a // b", "612222"},
      {"\"s\\\"t\" u", "33333316"},  // an escaped quote does not close
      {"\"s\\\\\" u", "3333316"},   // an escaped backslash does
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Line);
    EXPECT_EQ(Parse({C.Line})[0], C.Want);
  }
}

TEST_F(SyntaxParserTest, KeywordsFollowTheBlockCase) {
  UseCLike(/*CaseSensitive=*/true);
  EXPECT_EQ(Parse({"begin BEGIN"})[0], "77777166666");
}

TEST_F(SyntaxParserTest, MultiLineCommentCarriesItsStateToTheClosingLine) {
  UseCLike();
  std::vector<Integer> States;
  const auto A = Parse({"x /* a", "all comment", "b */ y"}, &States);
  EXPECT_EQ(A[0], "612222");
  EXPECT_EQ(A[1], "22222222222");
  EXPECT_EQ(A[2], "222216");
  EXPECT_EQ((States[0] >> 8) & 255, 1);  // inside the comment
  EXPECT_EQ(States[0] & 255, 0);         // its item index
  EXPECT_EQ(States[1], States[0]);
  EXPECT_EQ(States[2], 0);
}

TEST_F(SyntaxParserTest, OpenSingleLineStringEndsWithTheLineUnlessWrapped) {
  UseCLike();
  std::vector<Integer> States;
  Parse({"\"open"}, &States);
  EXPECT_EQ(States[0], 0);
  States.clear();
  const auto A = Parse({"\"go \\", "on\" x"}, &States);
  EXPECT_EQ((States[0] >> 8) & 255, 2);  // the meta symbol continues it
  EXPECT_EQ(A[1], "33316");
  EXPECT_EQ(States[1], 0);
}

TEST_F(SyntaxParserTest, ChildBlocksAreEnteredAndLeftAtTheirDelimiters) {
  TSyntaxScheme S;
  TSyntaxBlock* Root = S.GetSyntaxBlocks()->Item(0);
  Root->FIText = fText;
  auto AddChild = [&](Integer Id, const char* L, const char* R, bool Part) {
    TSyntaxBlock* C = S.GetSyntaxBlocks()->AddItem();
    C->SetID(Id);
    C->ParentID = 0;
    C->FIText = fChild;
    TDelimiters* D = C->GetBlockDelimiters()->AddItem();
    D->LeftDelimiter = L;
    D->RightDelimiter = R;
    D->DelimitersArePartOfBlock = Part;
    return C;
  };
  AddChild(1, "<", ">", /*Part=*/true);
  AddChild(2, "begin", "end", /*Part=*/false);
  P.SetSyntaxScheme(&S);
  struct TCase {
    const char* Line;
    const char* Want;
  };
  const TCase Cases[] = {
      {"a<b>c", "19991"},             // inner: the delimiters belong to the child
      {"begin x end", "11111999111"},  // outer: the parent paints them
      {"beginner x", "1111111111"},    // a word delimiter does not match inside a word
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Line);
    EXPECT_EQ(Parse({C.Line})[0], C.Want);
  }
  // A child stays open across lines.
  std::vector<Integer> States;
  const auto A = Parse({"a <b", "c> d"}, &States);
  EXPECT_EQ(A[1], "9911");
  EXPECT_NE(States[0] >> 24, 0);
  EXPECT_EQ(States[1] >> 24, 0);
}

TEST_F(SyntaxParserTest, NestedChildrenAreInternedOncePerChain) {
  // Block 1 inside the root, block 2 inside block 1 (a version 3 scheme:
  // older ones put every block directly inside the first).
  TSyntaxScheme S;
  S.SyntaxVersion = 3;
  TSyntaxBlock* Root = S.GetSyntaxBlocks()->Item(0);
  Root->FIText = fText;
  for (Integer Id = 1; Id <= 2; ++Id) {
    TSyntaxBlock* C = S.GetSyntaxBlocks()->AddItem();
    C->SetID(Id);
    C->ParentID = Id - 1;
    C->FIText = fChild;
    TDelimiters* D = C->GetBlockDelimiters()->AddItem();
    D->LeftDelimiter = "(";
    D->RightDelimiter = ")";
    D->DelimitersArePartOfBlock = true;
  }
  P.SetSyntaxScheme(&S);
  std::vector<Integer> States;
  const auto A = Parse({"((((", "))"}, &States);
  EXPECT_EQ(States[0] >> 24, 2) << A[0];  // two levels: block 2 has no child
  EXPECT_EQ(States[1] >> 24, 0);
  Parse({"(("});
  EXPECT_EQ(P.GetSyntaxScheme()->BlockStacks().size(), 3u);  // the same chains again
}

TEST_F(SyntaxParserTest, NestingsBeyondWhatTheStateCanNameAreNotEntered) {
  // Nine levels, each with two blocks of the same id entered by "(" and by
  // "[": every sequence of brackets is its own chain, 1022 in all, more
  // than the 256 a line state can name.
  TSyntaxScheme S;
  S.SyntaxVersion = 3;
  S.GetSyntaxBlocks()->Item(0)->FIText = 0;
  for (Integer Level = 1; Level <= 9; ++Level)
    for (const char* L : {"(", "["}) {
      TSyntaxBlock* C = S.GetSyntaxBlocks()->AddItem();
      C->SetID(Level);
      C->ParentID = Level - 1;
      C->FIText = Level;
      TDelimiters* D = C->GetBlockDelimiters()->AddItem();
      D->LeftDelimiter = L;
      D->DelimitersArePartOfBlock = true;
    }
  P.SetSyntaxScheme(&S);
  int Refused = 0;
  for (int Bits = 0; Bits < 512; ++Bits) {
    AnsiString Line;
    for (int I = 0; I < 9; ++I) Line += (Bits >> I) & 1 ? '[' : '(';
    AnsiString Attrs(Line.size(), '\0');
    const Integer State = P.ParseLine(Line, 0, Attrs);
    const Integer Stack = Integer(std::uint32_t(State) >> 24);
    ASSERT_LT(size_t(Stack), P.GetSyntaxScheme()->BlockStacks().size());
    // The state names the chain the last character was painted in.
    EXPECT_EQ(Integer(P.GetSyntaxScheme()->BlockStacks()[Stack].Chain.size()) - 1, Integer(Attrs.back()));
    if (Attrs.back() < 9) ++Refused;
  }
  EXPECT_EQ(P.GetSyntaxScheme()->BlockStacks().size(), size_t(MaxBlockStacks));
  EXPECT_GT(Refused, 0);
}

TEST_F(SyntaxParserTest, BadStartStatesFallBackToTheRoot) {
  UseCLike();
  EXPECT_EQ(Parse({"12"}, nullptr, Integer(0x7F000000))[0], "44");  // stack 127 does not exist
  EXPECT_EQ(Parse({"12"}, nullptr, Integer(0x00000900))[0], "44");  // state 9 is no state
  AnsiString Empty;
  EXPECT_EQ(P.ParseLine("abc", 1234, Empty), 1234);
}

TEST_F(SyntaxParserTest, EveryIndexHasAFontAndABackground) {
  UseCLike();
  TColor C = clNone;
  EXPECT_TRUE(P.GetBackColor(200, C));
  EXPECT_EQ(C, clWindow);
  ASSERT_NE(P.GetFont(200), nullptr);
  EXPECT_EQ(P.GetFont(200)->GetName(), "Courier New");
  P.GetDefaultAttr()->GetFont()->SetName("Arial");  // refreshes the attributes
  EXPECT_EQ(P.GetFont(200)->GetName(), "Arial");
}

TEST_F(SyntaxParserTest, ChangesReachTheListeners) {
  struct TListener : TObject {
    int Calls = 0;
    void Changed(TObject*, Integer, Integer) { ++Calls; }
  } L;
  P.AddNotifier(TNotifierProc(&L, &TListener::Changed), nullptr);
  UseCLike();
  EXPECT_GE(L.Calls, 1);
  L.Calls = 0;
  P.BeginUpdate();
  P.GetDefaultAttr()->SetBackColor(clYellow);
  P.GetDefaultAttr()->GetFont()->SetSize(12);
  EXPECT_EQ(L.Calls, 0);
  P.EndUpdate();
  EXPECT_EQ(L.Calls, 1);
}

TEST_F(SyntaxParserTest, TokensReachOnGetTokenWhenComplete) {
  UseCLike();
  struct TSink : TObject {
    std::vector<std::pair<Integer, std::string>> Got;
    void Token(TObject*, Integer Id, const AnsiString& S) { Got.push_back({Id, S}); }
  } Sink;
  P.OnGetToken = TGetTokenEvent(&Sink, &TSink::Token);
  Parse({"a \"b\""});
  const std::vector<std::pair<Integer, std::string>> Want = {{10, "a"}, {0, " "}, {5, "\"b\""}};
  EXPECT_EQ(Sink.Got, Want);
}

// The global text styles, as the options unit would hand them over.
TTextStyles* GlobalStyles() {
  static TTextStyles* S = [] {
    auto* Styles = new TTextStyles(nullptr);
    Styles->SetDefaultStyles();
    return Styles;
  }();
  return S;
}
TFont* GlobalFont() {
  static TFont* F = [] {
    auto* Font = new TFont();
    Font->SetName("Liberation Mono");
    Font->SetSize(11);
    return Font;
  }();
  return F;
}
TGlobalTextLook TestLook() { return {GlobalStyles(), GlobalFont(), clCream}; }

TEST_F(SyntaxParserTest, GlobalOptionsGiveColoursFromTheNamedStyles) {
  UseCLike();
  TAttrItem* Str = P.GetSyntaxScheme()->GetFontTable()->AddItem();
  Str->SetFontID(fString);
  Str->GlobalAttrID = "String";
  Str->GetFont()->SetColor(clLime);
  P.Reset();
  EXPECT_EQ(P.GetFont(fString)->GetColor(), clLime);  // own colour without global options

  const TGlobalTextLookSource Old = SetGlobalTextLookSource(&TestLook);
  P.SetUseGlobalOptions(true);
  EXPECT_EQ(P.GetFont(fString)->GetColor(), clMaroon);
  EXPECT_EQ(P.GetFont(fString)->GetName(), "Liberation Mono");
  EXPECT_EQ(P.GetFont(fString)->GetSize(), 11);
  TColor Back = clNone;
  P.GetBackColor(fString, Back);
  EXPECT_EQ(Back, clCream);  // the style follows the options' colour
  EXPECT_EQ(P.GetFont(12)->GetColor(), clBlue);  // "Url"
  SetGlobalTextLookSource(Old);
}

TColor GLookBack = clCream;
TGlobalTextLook ChangingLook() { return {GlobalStyles(), GlobalFont(), GLookBack}; }

TEST_F(SyntaxParserTest, AParserOnGlobalOptionsFollowsTheirChangeBroadcast) {
  UseCLike();
  TAttrItem* Str = P.GetSyntaxScheme()->GetFontTable()->AddItem();
  Str->SetFontID(fString);
  Str->GlobalAttrID = "String";
  const TGlobalTextLookSource Old = SetGlobalTextLookSource(&ChangingLook);
  GLookBack = clCream;
  P.SetUseGlobalOptions(true);
  GLookBack = clAqua;
  BroadcastOptionsChanged();
  TColor Back = clNone;
  P.GetBackColor(fString, Back);
  EXPECT_EQ(Back, clAqua);
  SetGlobalTextLookSource(Old);
}

}  // namespace
