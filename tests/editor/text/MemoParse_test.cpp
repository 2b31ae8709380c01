#include <climits>

#include "MemoTestUtil.h"

namespace {

// "/*" … "*/" comments get style 1 and carry state 1 across lines; counts
// the lines it parses.
class TCommentParser : public TSimpleParser {
public:
  using TSimpleParser::TSimpleParser;
  Integer ParseLine(const AnsiString& Text, Integer State, AnsiString& Attrs) override {
    ++Parsed;
    Lines.push_back(GetLinePos());
    for (size_t I = 0; I < Text.size(); ++I) {
      if (State == 0 && Text.compare(I, 2, "/*") == 0) State = 1;
      if (State == 1) Attrs[I] = 1;
      if (State == 1 && I > 0 && Text.compare(I - 1, 2, "*/") == 0 && Attrs[I - 1] == 1 &&
          !(I >= 2 && Text.compare(I - 2, 2, "/*") == 0 && I - 2 == Text.find("/*", I - 2)))
        State = 0;
    }
    return State;
  }
  int Parsed = 0;
  std::vector<Integer> Lines;
};

// Styles are part of the text: what the attribute parser of imported
// documents does.
class TKeepingParser : public TSimpleParser {
public:
  using TSimpleParser::TSimpleParser;
  Integer ParseLine(const AnsiString&, Integer State, AnsiString&) override { return State; }
  bool KeepsAttributes() override { return true; }
  void InitAttributes(Integer, const AnsiString&, AnsiString&) override {}
};

std::string ManyLines(int N) {
  std::string T;
  for (int I = 0; I < N; ++I) T += I ? "|x" : "x";
  return T;
}

TEST(TCustomMemoSource_Parse, ParsesUpToTheLineAndHundredAhead) {
  TMemoSource S(nullptr);
  TCommentParser P(nullptr);
  SetText(S, ManyLines(10000));
  S.SetSyntaxParser(&P);
  AnsiString A;
  S.GetColorData(500, A);
  EXPECT_EQ(P.Parsed, 601);
  EXPECT_EQ(S.GetFirstUnparsedLine(), 601);
  P.Parsed = 0;
  S.GetColorData(300, A);
  EXPECT_EQ(P.Parsed, 0) << "inside the parsed part nothing is parsed again";
}

TEST(TCustomMemoSource_Parse, OpeningACommentReparsesUntilTheStatesAgree) {
  TMemoSource S(nullptr);
  TCommentParser P(nullptr);
  SetText(S, "a|b|c|d */ e|f|g");
  S.SetSyntaxParser(&P);
  S.ParseRange(0, 5, false);
  S.SetCaret(0, 1);
  P.Parsed = 0;
  P.Lines.clear();
  S.InsertText("/*");
  EXPECT_EQ(S.GetParseResult(), 2) << "only the edited line so far";
  const Integer Result = S.ParseUpTo(5, false);
  EXPECT_EQ(Result, 3) << "one past the last line whose end state changed";
  EXPECT_EQ(P.Lines, (std::vector<Integer>{1, 2, 3})) << "line 3 closes the comment: its end state is as before";
  AnsiString A;
  S.GetColorData(3, A);
  EXPECT_EQ(A, AnsiString("\1\1\1\1\0\0", 6));
}

TEST(TCustomMemoSource_Parse, ExpandedColorDataRepeatsTheTabsByte) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  TKeepingParser P(nullptr);
  SetText(S, "\tab");
  S.SetSyntaxParser(&P);
  S.GetLineItem(0)->Attributes = AnsiString("\x07\x02\x03");
  AnsiString A;
  S.GetExpandedColorData(0, A);
  EXPECT_EQ(A, AnsiString(9, '\x07') + "\x02\x03");
}

TEST(TCustomMemoSource_Parse, UrlsGetTheUrlStyleAndTypingNextToThemDoesNot) {
  TMemoSource S(nullptr);
  SetText(S, "see www.example.com now|mail me@host.org|not.a.url");
  S.SetHighlightUrls(true);
  AnsiString A;
  S.GetColorData(0, A);
  EXPECT_EQ(A, AnsiString(4, '\0') + AnsiString(15, '\x0C') + AnsiString(4, '\0'));
  S.GetColorData(1, A);
  EXPECT_EQ(A, AnsiString(5, '\0') + AnsiString(11, '\x0C'));
  S.GetColorData(2, A);
  EXPECT_EQ(A, AnsiString(9, '\0'));
  EXPECT_EQ(S.GetAttributeAt(19, 0), 0) << "right after the link: the style before it";
}

TEST(TCustomMemoSource_Parse, KeptAttributesTravelWithTheText) {
  TMemoSource S(nullptr);
  TKeepingParser P(nullptr);
  SetText(S, "abcd");
  S.SetSyntaxParser(&P);
  S.GetLineItem(0)->Attributes = AnsiString("\1\1\2\2");
  S.SetCaret(2, 0);
  S.InsertText("XY");
  EXPECT_EQ(S.GetLineItem(0)->Attributes, AnsiString("\1\1\1\1\2\2")) << "the style left of the caret";
  S.InsertTextWithAttrs("Z", AnsiString("\5"));
  EXPECT_EQ(S.GetLineItem(0)->Attributes, AnsiString("\1\1\5\1\1\2\2"));
  S.SetCaret(4, 0);
  S.InsertLineBreak();
  EXPECT_EQ(S.GetLineItem(0)->Attributes, AnsiString("\1\1\5\1"));
  EXPECT_EQ(S.GetLineItem(1)->Attributes, AnsiString("\1\2\2"));
  S.SetCaret(1, 1);
  S.DeleteChars(2);
  EXPECT_EQ(S.GetLineItem(1)->Attributes, AnsiString("\1"));
  S.Undo();
  EXPECT_EQ(S.GetLineItem(1)->Attributes, AnsiString("\1\2\2")) << "deleted styles come back";
  EXPECT_EQ(S.GetLineItem(1)->Attributes.size(), S.GetLineText(1).size());
}

TEST(TCustomMemoSource_Parse, InvalidationKeepsOnlyKeptAttributes) {
  for (bool Keep : {false, true}) {
    SCOPED_TRACE(Keep);
    TMemoSource S(nullptr);
    TCommentParser C(nullptr);
    TKeepingParser K(nullptr);
    SetText(S, "/* x");
    S.SetSyntaxParser(Keep ? static_cast<TSimpleParser*>(&K) : &C);
    S.GetLineItem(0)->Attributes = AnsiString("\3\3\3\3");
    S.GetLineItem(0)->MeasuredWidth = 40;
    TRecordingEditor E(nullptr);
    E.Attach(S);
    S.InvalidateParseCache();
    EXPECT_EQ(S.GetLineItem(0)->Attributes.empty(), !Keep);
    EXPECT_EQ(S.GetLineItem(0)->MeasuredWidth, 0);
    ASSERT_EQ(E.Notices.size(), 1u);
    EXPECT_TRUE(Has(E.Notices[0].State, msParserChanged));
    EXPECT_EQ(E.Notices[0].First, 0);
    EXPECT_EQ(E.Notices[0].Last, INT_MAX);
  }
}

TEST(TCustomMemoSource_Parse, ParserChangeNotificationReachesEverySource) {
  TCommentParser P(nullptr);
  TMemoSource A(nullptr), B(nullptr);
  SetText(A, "/* a");
  SetText(B, "/* b");
  A.SetSyntaxParser(&P);
  B.SetSyntaxParser(&P);
  AnsiString X;
  A.GetColorData(0, X);
  B.GetColorData(0, X);
  P.NotifyListeners();
  EXPECT_FALSE(A.GetLineItem(0)->Flags & lfParsed);
  EXPECT_FALSE(B.GetLineItem(0)->Flags & lfParsed);
}

TEST(TCustomMemoSource_Parse, LongestLineIsTrackedThroughEdits) {
  TMemoSource S(nullptr);
  SetText(S, "ab|abcdef|abc");
  S.TrackLongestLine(true);
  EXPECT_EQ(S.GetLongestLineIndex(), 1);
  EXPECT_EQ(S.GetLongestLineLength(), 6);
  S.SetCaret(3, 2);
  S.InsertText("1234");
  EXPECT_EQ(S.GetLongestLineIndex(), 2);
  S.SetCaret(0, 0);
  S.InsertLineBreak();
  EXPECT_EQ(S.GetLongestLineIndex(), 3) << "shifts with the lines above";
  S.SetCaret(0, 3);
  S.DeleteChars(5);
  EXPECT_EQ(S.GetLongestLineIndex(), 2);
  EXPECT_EQ(S.GetLongestLineLength(), 6);
}

TEST(TSimpleParser, NotifierListHoldsAMethodOnce) {
  TCommentParser P(nullptr);
  TRecordingEditor E(nullptr);
  const TNotifierProc M(&E, &TRecordingEditor::Changed);
  P.AddNotifier(M, &E);
  P.AddNotifier(M, &E);
  EXPECT_EQ(P.NotifierCount(), 1);
  P.RemoveNotifier(M);
  EXPECT_EQ(P.NotifierCount(), 0);
  AnsiString A = "junk";
  P.InitAttributes(0, "", A);
  EXPECT_TRUE(A.empty());
  EXPECT_EQ(P.GetFont(3), nullptr);
}

TEST(TSimpleParser, FreedListenerLeavesTheList) {
  TCommentParser P(nullptr);
  {
    TRecordingEditor E(nullptr);
    P.AddNotifier(TNotifierProc(&E, &TRecordingEditor::Changed), &E);
  }
  EXPECT_EQ(P.NotifierCount(), 0);
  P.NotifyListeners();
}

}  // namespace
