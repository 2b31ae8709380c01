#include "editor/exchange/DCParser.h"

#include <gtest/gtest.h>

namespace {

TCharSet Chars(const char* S) {
  TCharSet Set;
  for (; *S; ++S) Set.set(static_cast<unsigned char>(*S));
  return Set;
}

// The base handlers, plus numbers on the digits and brace comments, as a
// language tokenizer would install them.
class TTestTokenizer : public TCustomDCParser {
public:
  explicit TTestTokenizer(bool Numbers = true) : TCustomDCParser(nullptr) {
    InitStates();
    if (Numbers) SetHandler(Chars("0123456789"), &TTestTokenizer::ScanNumber);
    SetHandler(Chars("{"), &TTestTokenizer::SkipBraceComment);
    SetStateHandler({1}, &TTestTokenizer::SkipBraceComment, Chars("abcdefghijklmnopqrstuvwxyz }"));
    SetLineHandlers(1);
  }
  // A handler that sends the scan to a state nobody installed.
  Integer ScanLost() {
    ++FSourcePtr;
    FState = 9;
    return 7;
  }
  void InstallLost() { SetHandler(Chars("!"), static_cast<THandler>(&TTestTokenizer::ScanLost)); }

  struct TTok {
    Integer Code;
    std::string Text;
    bool operator==(const TTok&) const = default;
  };
  std::vector<TTok> Tokens(const std::string& Text) {
    FText = Text;
    SetSource(FText.c_str());
    std::vector<TTok> R;
    for (Integer T = NextToken(); T != 0; T = NextToken()) R.push_back({T, TokenString()});
    return R;
  }

private:
  std::string FText;
};

void PrintTo(const TTestTokenizer::TTok& T, std::ostream* Os) { *Os << "{" << T.Code << ",'" << T.Text << "'}"; }

TEST(TCustomDCParser, TokensOfTheBaseHandlersAndNumbers) {
  struct TCase {
    const char* Text;
    std::vector<TTestTokenizer::TTok> Want;
  };
  const TCase Cases[] = {
      {"a b", {{7, "a"}, {7, "b"}}},                   // the blank is skipped
      {"12.5e+3x", {{5, "12.5e+3"}, {7, "x"}}},        // fraction and exponent
      {"12.x", {{4, "12"}, {7, "."}, {7, "x"}}},       // a point without digit is not taken
      {"12e", {{5, "12e"}}},                           // "e" alone makes a real
      {"7E-2", {{5, "7E-2"}}},
      {"{note} 1", {{2, "{note}"}, {4, "1"}}},
      {"\t\x01 ", {}},                                 // control characters give no token
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    TTestTokenizer P;
    EXPECT_EQ(P.Tokens(C.Text), C.Want);
    EXPECT_TRUE(P.AtEnd());
  }
}

TEST(TCustomDCParser, LineBreaksCountOncePerPair) {
  TTestTokenizer P;
  EXPECT_TRUE(P.Tokens("\r\n\r\r\n").empty());
  EXPECT_EQ(P.LineNumber(), 3);
  P.SetLineNumber(0);
  auto T = P.Tokens("a\n\rb\n\nc");
  ASSERT_EQ(T.size(), 3u);
  EXPECT_EQ(P.LineNumber(), 3);
  EXPECT_EQ(P.GetTokenPos(), (TPoint{2, 4}));  // the end token, just after "c" on the fourth line
}

TEST(TCustomDCParser, BraceCommentContinuesOnTheNextLineInStateOne) {
  TTestTokenizer P;
  AnsiString Attrs(9, '\0');
  EXPECT_EQ(P.ParseLine("x {open c", 0, Attrs), 1);
  EXPECT_EQ(Attrs, AnsiString("\x07\0\x02\x02\x02\x02\x02\x02\x02", 9));
  Attrs.assign(8, '\0');
  EXPECT_EQ(P.ParseLine("still} y", 1, Attrs), 0);
  EXPECT_EQ(Attrs, AnsiString("\x02\x02\x02\x02\x02\x02\0\x07", 8));
}

TEST(TCustomDCParser, ParseLineLeavesEmptyInputAndUnhandledCharactersAlone) {
  TTestTokenizer P;
  AnsiString Attrs;
  EXPECT_EQ(P.ParseLine("", 5, Attrs), 5);
  Attrs = "zz";
  EXPECT_EQ(P.ParseLine("", 5, Attrs), 5);
  EXPECT_EQ(Attrs, "zz");
  Attrs = "QQQ";
  P.ParseLine("a b", 0, Attrs);
  EXPECT_EQ(Attrs, AnsiString("\x07Q\x07"));  // the blank keeps its byte
}

TEST(TCustomDCParser, ColorDataIsFittedToTheToken) {
  // "abc 12" is three one-character tokens (7), a skipped blank and "12" (4).
  struct TCase {
    const char* Given;  // what the handler answers for every token
    AnsiString Want;
  };
  const TCase Cases[] = {
      {"XYZW", AnsiString("XXX\0XY", 6)},                // longer: cut
      {"", AnsiString("\x07\x07\x07\0\x04\x04", 6)},  // empty: the token code
      {"Z", AnsiString("ZZZ\0Z\x04", 6)},               // shorter: padded with the code
  };
  struct THandler : TObject {
    AnsiString Given;
    void Get(TObject*, Integer, const AnsiString&, AnsiString& Data) { Data = Given; }
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Given);
    TTestTokenizer P;
    THandler H;
    H.Given = C.Given;
    P.OnGetColorData = TGetColorDataEvent(&H, &THandler::Get);
    AnsiString Attrs(6, '\0');
    P.ParseLine("abc 12", 0, Attrs);
    EXPECT_EQ(Attrs, C.Want);
  }
}

TEST(TCustomDCParser, PeekLeavesThePositionAsItWas) {
  TTestTokenizer P;
  std::string Text = "ab\n12 c";
  P.SetSource(Text.c_str());
  P.NextToken();
  const char* Pos = P.SourcePtr();
  const Integer Line = P.LineNumber(), Tok = P.Token();
  AnsiString Next;
  P.PeekTokenString(Next);
  EXPECT_EQ(Next, "b");
  EXPECT_EQ(P.SourcePtr(), Pos);
  EXPECT_EQ(P.LineNumber(), Line);
  EXPECT_EQ(P.Token(), Tok);
  P.NextToken();
  P.PeekTokenString(Next);  // across the line break
  EXPECT_EQ(Next, "12");
  EXPECT_EQ(P.LineNumber(), 0);
}

TEST(TCustomDCParser, PopWithoutSavedStateRaisesWithThePosition) {
  TTestTokenizer P;
  std::string Text = "ab";
  P.SetSource(Text.c_str());
  P.NextToken();
  try {
    P.PopState();
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Token list is empty at Line:1, Char:1. ");
  }
}

TEST(TCustomDCParser, HandlerSwitchingToAStateWithoutTableRaisesInsteadOfReadingBeyond) {
  TTestTokenizer P;
  P.InstallLost();
  std::string Text = "a!b";
  P.SetSource(Text.c_str());
  EXPECT_EQ(P.NextToken(), 7);
  EXPECT_EQ(P.NextToken(), 7);
  EXPECT_EQ(P.State(), 9);
  try {
    P.NextToken();
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_NE(E.Message().find("state 9"), AnsiString::npos) << E.Message();
    EXPECT_NE(E.Message().find("Line:1, Char:3"), AnsiString::npos) << E.Message();
  }
  // A parser with no table at all refuses too.
  TCustomDCParser* Bare = new TTestTokenizer(false);
  Bare->SetState(-1);
  Text = "x";
  Bare->SetSource(Text.c_str());
  EXPECT_THROW(Bare->NextToken(), Exception);
  delete Bare;
}

TEST(TCustomDCParser, ReservedWordsAreTrimmedSortedAndHashed) {
  TTestTokenizer P;
  struct TListener : TObject {
    int Calls = 0;
    void Changed(TObject*, Integer, Integer) { ++Calls; }
  } L;
  P.AddNotifier(TNotifierProc(&L, &TListener::Changed), nullptr);
  P.SetReservedWords({"b", "a", "b", " ", " Begin "});
  EXPECT_EQ(L.Calls, 1);  // set as a whole: one rebuild, one notice
  TStringList* W = P.GetWordList();
  ASSERT_EQ(W->GetCount(), 3);
  EXPECT_EQ(W->GetStrings(0), "a");
  EXPECT_EQ(W->GetStrings(1), "b");
  EXPECT_EQ(W->GetStrings(2), "Begin");
  Integer Index = -1;
  EXPECT_TRUE(W->Find("BEGIN", Index));
  EXPECT_EQ(Index, 2);
  TStringList* Bucket = P.GetBucket(TCustomDCParser::HashWord("begin"));
  Integer I = -1;
  ASSERT_TRUE(Bucket->Find("Begin", I));
  EXPECT_EQ(TCustomDCParser::BucketCode(Bucket->GetObjects(I)), 2);
}

TEST(TCustomDCParser, HashIgnoresLetterCase) {
  struct TCase { const char* Word; Integer Want; };
  // h starts at length-1 and becomes (h xor c) * 2 per character.
  const TCase Cases[] = {{"a", ((0u ^ 'A') * 2u >> 1) & 255}, {"ab", ((((1u ^ 'A') * 2u) ^ 'B') * 2u >> 1) & 255}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Word);
    EXPECT_EQ(TCustomDCParser::HashWord(C.Word), C.Want);
  }
  EXPECT_EQ(TCustomDCParser::HashWord("Begin"), TCustomDCParser::HashWord("BEGIN"));
}

}  // namespace
