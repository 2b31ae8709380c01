#include "editor/text/MemoSource.h"

#include <climits>

#include "MemoTestUtil.h"
#include "platform/rtl/Exceptions.h"

namespace {

TEST(TCustomMemoSource, LinesReadTabsExpandedAndRawReadsStored) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  SetText(S, "a\tb");
  EXPECT_EQ(S.GetLines()->GetStrings(0), "a        b");
  S.GetStrings()->Raw = true;
  EXPECT_EQ(S.GetLines()->GetStrings(0), "a\tb");
  S.GetStrings()->Raw = false;
  EXPECT_EQ(S.GetLines()->GetText(), "a\tb") << "the view's text is the stored text";
}

TEST(TCustomMemoSource, TextIsEmptyExactlyWhenItsTextIsEmpty) {
  // '|' separates lines; "(none)" is a source without any line.
  const char* Cases[] = {"(none)", "", "a", " ", "|", "||", "a|", "|a", "\t"};
  for (const char* C : Cases) {
    TMemoSource S(nullptr);
    if (std::string(C) == "(none)") S.GetLines()->Clear();
    else SetText(S, C);
    EXPECT_EQ(S.IsTextEmpty(), S.GetLines()->GetText().empty()) << "lines \"" << C << "\"";
  }
}

TEST(TCustomMemoSource, TabRackContinuesWithTheLastStep) {
  struct TCase { const char* Rack; std::vector<Integer> Want; };
  const TCase Cases[] = {
      {"9,17", {9, 17, 25, 33}},
      {"4", {4, 8, 12}},
      {"3,5,10", {3, 5, 10, 15}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Rack);
    TMemoSource S(nullptr);
    S.SetTabStops(C.Rack);
    for (size_t I = 0; I < C.Want.size(); ++I) EXPECT_EQ(S.GetTabStop(Integer(I)), C.Want[I]);
  }
}

TEST(TCustomMemoSource, BadTabRackRaisesAndKeepsTheOldOne) {
  for (const char* Bad : {"9,9", "0", "12,4"}) {
    SCOPED_TRACE(Bad);
    TMemoSource S(nullptr);
    EXPECT_THROW(
        {
          try {
            S.SetTabStops(Bad);
          } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Invalid Tab Rack");
            throw;
          }
        },
        Exception);
    EXPECT_EQ(S.GetTabStops(), "9,17");
    EXPECT_EQ(S.GetTabStop(1), 17);
  }
  TMemoSource S(nullptr);
  EXPECT_THROW(S.SetTabStops("4,x"), EConvertError) << "a non-number is the conversion error";
  S.SetTabStops("");
  EXPECT_EQ(S.GetTabStop(0), 9) << "an empty rack changes nothing";
}

}  // namespace

namespace {

TEST(TCustomMemoSource, NestedGroupsNotifyOnceWithTheOuterCodeAndTheUnionOfLines) {
  TMemoSource S(nullptr);
  SetText(S, "aaa|bbb|ccc|ddd");
  TRecordingEditor E(nullptr);
  E.Attach(S);
  S.BeginUpdate(MemoCode::Replace);
  S.SetCaret(0, 1);
  S.InsertText("x");
  S.SetCaret(0, 3);
  S.InsertText("y");
  EXPECT_TRUE(E.Notices.empty()) << "nothing while the group is open";
  S.EndUpdate();
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_EQ(E.Notices[0].Code, MemoCode::Replace);
  EXPECT_EQ(E.Notices[0].First, 1);
  EXPECT_EQ(E.Notices[0].Last, 3);
  EXPECT_TRUE(Has(E.Notices[0].State, msEdited));
  EXPECT_TRUE(Has(E.Notices[0].State, msPositionChanged));
  EXPECT_TRUE(Has(E.Notices[0].State, msModifiedChanged));
  EXPECT_FALSE(Has(E.Notices[0].State, msCountChanged));
}

TEST(TCustomMemoSource, EachGroupReportsWhatItChanged) {
  struct TCase {
    const char* Why;
    void (*Act)(TCustomMemoSource&);
    std::vector<TMemoState> Want;
    std::vector<TMemoState> Not;
    Integer First, Last;
  };
  const TCase Cases[] = {
      {"caret move", [](TCustomMemoSource& S) { S.MoveCaret(1, 2); }, {msPositionChanged}, {msEdited}, INT_MAX, -INT_MAX},
      {"line break", [](TCustomMemoSource& S) { S.SetCaret(1, 1); S.InsertLineBreak(); },
       {msEdited, msCountChanged}, {msPositionChanged}, 1, INT_MAX},
      {"typing", [](TCustomMemoSource& S) { S.InsertText("z"); }, {msEdited, msModifiedChanged}, {msCountChanged}, 0, 0},
      {"read-only", [](TCustomMemoSource& S) { S.SetReadOnly(true); }, {msReadOnlyChanged}, {msEdited}, INT_MAX, -INT_MAX},
      {"object name", [](TCustomMemoSource& S) { S.ChangeObjectName("doc"); }, {msObjNameChanged}, {}, INT_MAX, -INT_MAX},
      {"overwrite", [](TCustomMemoSource& S) { S.ToggleOverwriteMode(); S.ToggleOverwriteMode(); }, {msInsState}, {}, INT_MAX, -INT_MAX},
      {"select line", [](TCustomMemoSource& S) { S.SetCaret(0, 2); S.SelectLine(); }, {msBlockChanged}, {msEdited}, 2, 3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    SetText(S, "one|two|three|four");
    S.SetCaret(0, 0);
    TRecordingEditor E(nullptr);
    E.Attach(S);
    C.Act(S);
    ASSERT_FALSE(E.Notices.empty());
    const TNotice& N = E.Notices.back();
    for (TMemoState M : C.Want) EXPECT_TRUE(Has(N.State, M)) << M;
    for (TMemoState M : C.Not) EXPECT_FALSE(Has(N.State, M)) << M;
    EXPECT_EQ(N.First, C.First);
    EXPECT_EQ(N.Last, C.Last);
  }
}

TEST(TCustomMemoSource, NewEditorIsToldEverythingChanged) {
  TMemoSource S(nullptr);
  SetText(S, "text|more");
  TRecordingEditor E(nullptr);
  S.AddEditor(true, TNotifierProc(&E, &TRecordingEditor::Changed), &E);
  ASSERT_EQ(E.Notices.size(), 1u);
  EXPECT_EQ(E.Notices[0].State, 1405u);
  EXPECT_EQ(E.Notices[0].First, 0);
  EXPECT_EQ(E.Notices[0].Last, INT_MAX);
  EXPECT_EQ(E.Notices[0].Code, MemoCode::AddEditor);
}

TEST(TCustomMemoSource, FreedEditorIsDroppedFromTheList) {
  TMemoSource S(nullptr);
  {
    TRecordingEditor E(nullptr);
    E.Attach(S);
    S.SetActiveEditor(&E);
    EXPECT_EQ(S.EditorCount(), 1);
  }
  EXPECT_EQ(S.EditorCount(), 0);
  EXPECT_EQ(S.GetActiveEditor(), nullptr);
  S.InsertText("still fine");
}

TEST(TCustomMemoSource, LinesPutKeepsSelectionAndCaretAndCannotBeUndone) {
  TMemoSource S(nullptr);
  SetText(S, "alpha|beta|gamma");
  S.SetCaret(2, 2);
  S.SetSelection(stStreamSel, 1, 0, 3, 1);
  S.GetLines()->SetStrings(1, "BETA!");
  EXPECT_EQ(Text(S), "alpha|BETA!|gamma");
  EXPECT_EQ(S.GetSelectionType(), stStreamSel);
  EXPECT_EQ(S.GetSelectionRect(), TRect(1, 0, 3, 1));
  EXPECT_EQ(S.GetCaretPoint(), TPoint(2, 2));
  EXPECT_FALSE(S.CanUndo());
  EXPECT_TRUE(S.GetModified());
}

TEST(TCustomMemoSource, LinesInsertAndDeleteCarryTheCaretWithItsText) {
  TMemoSource S(nullptr);
  SetText(S, "a|bcd|e");
  S.SetCaret(2, 1);
  S.GetLines()->Insert(1, "new");
  EXPECT_EQ(Text(S), "a|new|bcd|e");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(2, 2));
  S.GetLines()->Delete(0);
  EXPECT_EQ(Text(S), "new|bcd|e");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(2, 1));
  EXPECT_FALSE(S.CanUndo());
}

TEST(TCustomMemoSource, WrittenTabsBecomeSpacesUnlessTabsAreKept) {
  TMemoSource S(nullptr);
  S.SetSpacesInTab(3);
  S.GetLines()->Add("a\tb");
  EXPECT_EQ(S.GetLineText(0), "a   b") << "a fixed count, not aligned to the stops";
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  S.GetLines()->Add("a\tb");
  EXPECT_EQ(S.GetLineText(1), "a\tb");
}

TEST(TCustomMemoSource, StoreIgnoresIndexesOutsideTheText) {
  TMemoSource S(nullptr);
  SetText(S, "x");
  TStrings* L = S.GetLines();
  EXPECT_EQ(L->GetStrings(-1), "");
  EXPECT_EQ(L->GetStrings(5), "");
  L->SetStrings(7, "no");
  L->Insert(9, "no");
  L->Delete(4);
  L->SetObjects(3, &S);
  EXPECT_EQ(L->GetObjects(3), nullptr);
  EXPECT_EQ(Text(S), "x");
}

TEST(TCustomMemoSource, OptionsKeepTabCharacterAndSmartTabApart) {
  TMemoSource S(nullptr);
  ASSERT_EQ(S.GetOptions().Ordinal(), 635u);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  EXPECT_TRUE(S.HasOption(soUseTabCharacter));
  EXPECT_FALSE(S.HasOption(soSmartTab)) << "turning tabs on drops smart tab";
  S.SetOptions(S.GetOptions() + TStringsOptions{soSmartTab});
  EXPECT_TRUE(S.HasOption(soSmartTab));
  EXPECT_FALSE(S.HasOption(soUseTabCharacter)) << "adding smart tab drops tabs";
}

TEST(TCustomMemoSource, PropertyWritesClampTheirValues) {
  TMemoSource S(nullptr);
  for (Integer V : {0, 11, -3}) {
    S.SetSpacesInTab(V);
    EXPECT_EQ(S.GetSpacesInTab(), 8) << V;
  }
  S.SetSpacesInTab(4);
  EXPECT_EQ(S.GetSpacesInTab(), 4);
  S.SetBlockIndent(-5);
  EXPECT_EQ(S.GetBlockIndent(), 0);
}

TEST(TCustomMemoSource, TabExpansionAndColumnMapping) {
  TMemoSource S(nullptr);
  const AnsiString Line = "ab\tc\td";  // TABs span 2..8 and 10..16
  AnsiString E = Line;
  S.ExpandTabs(E);
  EXPECT_EQ(E, "ab       c       d");
  struct TCase { Integer Column, Index; };
  const TCase Cases[] = {{0, 0}, {2, 2}, {5, 2}, {9, 3}, {10, 4}, {16, 4}, {17, 5}, {20, 8}};
  for (const auto& C : Cases) {
    Integer Col = C.Column;
    S.VisualToCharIndex(Line, Col);
    EXPECT_EQ(Col, C.Index) << "column " << C.Column;
  }
  EXPECT_EQ(S.CharToVisualIndex(Line, 3), 9);
  EXPECT_EQ(S.CharToVisualIndex(Line, 5), 17);
}

TEST(TCustomMemoSource, TabWidthAtCountsInclusively) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  SetText(S, "ab\tc");  // TAB covers 0-based columns 2..8
  EXPECT_EQ(S.GetTabWidthAt(3, 0, true), 7) << "1-based column 3 is the TAB's first";
  EXPECT_EQ(S.GetTabWidthAt(3, 0, false), 1);
  EXPECT_EQ(S.GetTabWidthAt(9, 0, false), 7);
  EXPECT_EQ(S.GetTabWidthAt(9, 0, true), 1);
  EXPECT_EQ(S.GetTabWidthAt(1, 0, true), 1) << "outside a TAB";
}

TEST(TCustomMemoSource, DelimitersAreControlsSpaceAndTheGivenCharacters) {
  TMemoSource S(nullptr);
  S.SetDelimeters(".(");
  const AnsiString T = "a.b(c)\t";
  EXPECT_FALSE(S.IsDelimiter(T, 1));
  EXPECT_TRUE(S.IsDelimiter(T, 2));
  EXPECT_TRUE(S.IsDelimiter(T, 4));
  EXPECT_FALSE(S.IsDelimiter(T, 6)) << "')' was not given";
  EXPECT_TRUE(S.IsDelimiter(T, 7));
}

TEST(TCustomMemoSource, ClearCanBeUndoneButLinesClearCannot) {
  TMemoSource S(nullptr);
  SetText(S, "one|two");
  S.Clear();
  EXPECT_EQ(S.GetLineCount(), 0);
  S.Undo();
  EXPECT_EQ(Text(S), "one|two");
  S.GetLines()->Clear();
  EXPECT_EQ(S.GetLineCount(), 0);
  EXPECT_FALSE(S.CanUndo());
}

TEST(TCustomMemoSource, FreedParserLeavesTheSource) {
  struct TNullParser : TSimpleParser {
    using TSimpleParser::TSimpleParser;
    Integer ParseLine(const AnsiString&, Integer State, AnsiString&) override { return State; }
  };
  TMemoSource A(nullptr), B(nullptr);
  auto* P = new TNullParser(nullptr);
  A.SetSyntaxParser(P);
  B.SetSyntaxParser(P);
  EXPECT_EQ(P->NotifierCount(), 2);
  delete P;
  EXPECT_EQ(A.GetSyntaxParser(), nullptr);
  EXPECT_EQ(B.GetSyntaxParser(), nullptr);
}

}  // namespace

// A line's attributes and user data take a pointer's room until used: a
// long text costs its lines, not two empty strings more per line.
TEST(TLineSideString, StaysUnmadeUntilWrittenAndBehavesAsAString) {
  TLineSideString A;
  // Reads, an empty copy and empty writes make nothing.
  EXPECT_TRUE(A.empty());
  EXPECT_EQ(A.size(), 0u);
  EXPECT_EQ(A.substr(0), "");
  EXPECT_EQ(A.begin(), A.end());
  A.append(0, 'x');
  A.insert(0, AnsiString());
  A.erase(0);
  A += AnsiString();
  TLineSideString Copy = A;
  A = AnsiString();
  EXPECT_FALSE(A.Made());
  EXPECT_FALSE(Copy.Made());
  // Writes make it and act as on a string.
  A.assign(3, '\1');
  A.insert(1, AnsiString("\2\2"));
  A.append(1, '\3');
  A.replace(0, 1, AnsiString("\4"));
  A[1] = '\5';
  EXPECT_TRUE(A.Made());
  EXPECT_EQ(A, AnsiString("\4\5\2\1\1\3"));
  Copy = A;
  A.erase(0, 2);
  EXPECT_EQ(Copy, AnsiString("\4\5\2\1\1\3")) << "a copy is its own text";
  static_cast<AnsiString&>(A) += "\6";   // a reference handed out for writing
  EXPECT_EQ(A, AnsiString("\2\1\1\3\6"));
  EXPECT_EQ(A.Take(), AnsiString("\2\1\1\3\6"));
  EXPECT_FALSE(A.Made());
  Copy.resize(0);
  EXPECT_FALSE(Copy.Made()) << "emptied texts let go";
}

TEST(TCustomMemoSource, LinesGetNoSideTextsFromLoadingParsingAndEditing) {
  TMemoSource S(nullptr);
  SetText(S, "one|two|three");
  ASSERT_EQ(S.GetLineCount(), 3);
  S.ParseRange(0, S.GetLineCount() - 1, true);
  // A line break at a line's start hands the line's data to the new line;
  // joining at column 0 takes the next line's.
  S.GetLineItem(1)->LineData = AnsiString("user");
  S.SetCaret(0, 1);
  S.InsertLineBreak();
  ASSERT_EQ(S.GetLineCount(), 4);
  EXPECT_EQ(S.GetLineItem(2)->LineData, AnsiString("user"));
  S.SetCaret(0, 0);
  S.InsertLineBreak();
  S.ParseRange(0, S.GetLineCount() - 1, true);
  for (Integer L = 0; L < S.GetLineCount(); ++L) {
    SCOPED_TRACE(L);
    EXPECT_FALSE(S.GetLineItem(L)->Attributes.Made());
    EXPECT_EQ(S.GetLineItem(L)->LineData.Made(), L == 2 || L == 3);
  }
}
