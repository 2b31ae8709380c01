#include <climits>

#include "MemoTestUtil.h"

namespace {

TStringsOptions With(TCustomMemoSource& S, std::initializer_list<TStringsOption> On,
                     std::initializer_list<TStringsOption> Off = {}) {
  TStringsOptions O = S.GetOptions();
  for (auto X : On) O.Include(X);
  for (auto X : Off) O.Exclude(X);
  return O;
}

TEST(TCustomMemoSource_Edit, InsertTextPadsAndSplitsTabs) {
  struct TCase { const char* Why; const char* Line; Integer Col; const char* Insert; const char* Want; Integer Inserted; };
  const TCase Cases[] = {
      {"beyond the end pads with spaces", "abcde", 12, "x", "abcde       x", 1},
      {"inside a TAB: spaces in front, TAB kept after", "\t", 3, "x", "   x\t", 1},
      {"at a TAB's start", "\tz", 0, "x", "x\tz", 1},
      {"a TAB in the text counts its display growth", "ab", 1, "\t", "a\tb", 8},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetOptions(With(S, {soUseTabCharacter}));
    SetText(S, C.Line);
    S.SetCaret(C.Col, 0);
    EXPECT_TRUE(S.InsertText(C.Insert));
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.InsertedLength(), C.Inserted);
    EXPECT_EQ(S.GetCaretPoint(), TPoint(C.Col, 0)) << "the caret stays";
  }
}

TEST(TCustomMemoSource_Edit, TabAfterInsertedLetterStillEndsAtItsStop) {
  TMemoSource S(nullptr);
  S.SetOptions(With(S, {soUseTabCharacter}));
  SetText(S, "\t");
  S.SetCaret(3, 0);
  S.InsertText("x");
  EXPECT_EQ(S.GetTabWidthAt(5, 0, true), 5) << "the TAB spans columns 4..8";
  S.Undo();
  EXPECT_EQ(Text(S), "\t");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(3, 0));
}

TEST(TCustomMemoSource_Edit, DeleteCharsInsideATabKeepsTheRestAligned) {
  TMemoSource S(nullptr);
  S.SetOptions(With(S, {soUseTabCharacter}));
  SetText(S, "\tb");
  S.SetCaret(4, 0);
  S.DeleteChars(1);
  EXPECT_EQ(S.GetExpandedLine(0), "         b") << "the TAB absorbs the column: b stays at its stop";
  EXPECT_EQ(Text(S), "    \tb");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(4, 0));
}

TEST(TCustomMemoSource_Edit, ReadOnlyLinesRefuseEdits) {
  TMemoSource S(nullptr);
  SetText(S, "one|two|three");
  S.GetLineItem(1)->Flags |= lfReadOnlyLine;
  TRecordingEditor E(nullptr);
  S.SetCaret(1, 1);
  E.Attach(S);
  EXPECT_FALSE(S.InsertText("x"));
  S.DeleteChars(1);
  S.InsertLineBreak();
  S.SetCaret(3, 0);
  E.Notices.clear();
  S.DeleteChar();  // the next line is read-only
  EXPECT_EQ(Text(S), "one|two|three");
  EXPECT_TRUE(E.Notices.empty());
}

TEST(TCustomMemoSource_Edit, JoinOnlyBetweenLines) {
  TMemoSource S(nullptr);
  SetText(S, "ab|cd");
  S.SetCaret(2, 1);
  S.DeleteChar();
  EXPECT_EQ(Text(S), "ab|cd") << "the last line has nothing to join";
  S.SetCaret(1, 0);
  S.DeleteChar();
  EXPECT_EQ(Text(S), "ab|cd") << "only at or beyond the line end";
  S.SetCaret(4, 0);
  S.DeleteChar();
  EXPECT_EQ(Text(S), "ab  cd");
}

TEST(TCustomMemoSource_Edit, LeavingALineTrimsItsBlanksWithoutUndo) {
  for (bool Keep : {false, true}) {
    SCOPED_TRACE(Keep);
    TMemoSource S(nullptr);
    S.SetKeepBlanks(true);
    SetText(S, "ab   |c");
    S.SetKeepBlanks(Keep);
    S.SetCaret(5, 0);
    S.MoveCaret(1, 0);
    EXPECT_EQ(Text(S), Keep ? "ab   |c" : "ab|c");
    for (Integer I = 0; I < S.GetUndoList().Count(); ++I)
      EXPECT_EQ(S.GetUndoList().Items(I).Kind, ukCaretMove) << "only the moves are recorded";
  }
}

TEST(TCustomMemoSource_Edit, MoveCaretIsClamped) {
  struct TCase { const char* Why; TStringsOptions Opts; TPoint From; Integer DL, DC; TPoint Want; };
  TMemoSource Probe(nullptr);
  const TStringsOptions Base = Probe.GetOptions();
  const TCase Cases[] = {
      {"not above line 0", Base, {3, 1}, -5, 0, {3, 0}},
      {"not left of column 0", Base, {3, 1}, 0, -9, {0, 1}},
      {"not below the last line", Base, {0, 0}, 7, 0, {0, 2}},
      {"below with soBeyondFileEnd", Base + TStringsOptions{soBeyondFileEnd}, {0, 0}, 7, 0, {0, 7}},
      {"soLimitEOL stops at the line end", Base + TStringsOptions{soLimitEOL}, {0, 0}, 1, 10, {3, 1}},
      {"soCursorAlwaysOnTabs: nearer edge", Base + TStringsOptions{soCursorAlwaysOnTabs}, {0, 2}, 0, 3, {1, 2}},
      {"soCursorAlwaysOnTabs: far edge", Base + TStringsOptions{soCursorAlwaysOnTabs}, {0, 2}, 0, 6, {9, 2}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetOptions(C.Opts + TStringsOptions{soUseTabCharacter});
    SetText(S, "abcdef|xyz|a\tb");
    S.SetCaret(C.From.X, C.From.Y);
    S.MoveCaret(C.DL, C.DC);
    EXPECT_EQ(S.GetCaretPoint(), C.Want);
  }
}

TEST(TCustomMemoSource_Edit, BackspaceUnindentsToThePreviousLevel) {
  TMemoSource S(nullptr);
  SetText(S, "    if|        x");
  S.SetCaret(8, 1);
  S.Backspace();
  EXPECT_EQ(Text(S), "    if|    x");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(4, 1));
  S.Undo();
  EXPECT_EQ(Text(S), "    if|        x");
}

TEST(TCustomMemoSource_Edit, BackspaceCases) {
  struct TCase { const char* Why; const char* Start; TPoint Caret; bool Unindent; const char* Want; TPoint WantCaret; };
  const TCase Cases[] = {
      {"deletes the character left", "abc", {2, 0}, true, "ac", {1, 0}},
      {"joins at column 0", "ab|cd", {0, 1}, true, "abcd", {2, 0}},
      {"nothing at the start", "ab", {0, 0}, true, "ab", {0, 0}},
      {"beyond the end only moves", "ab", {5, 0}, true, "ab", {4, 0}},
      {"without unindent one space", "    if|        x", {8, 1}, false, "    if|       x", {7, 1}},
      {"over a whole TAB", "a\tb", {9, 0}, true, "ab", {1, 0}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetOptions(C.Unindent ? With(S, {soUseTabCharacter}) : With(S, {soUseTabCharacter}, {soBackUnindents}));
    SetText(S, C.Start);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    S.Backspace();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetCaretPoint(), C.WantCaret);
  }
}

TEST(TCustomMemoSource_Edit, EnterIndents) {
  struct TCase {
    const char* Why;
    std::initializer_list<TStringsOption> On, Off;
    const char* Start;
    TPoint Caret;
    const char* Want;
    TPoint WantCaret;
  };
  const TCase Cases[] = {
      {"keeps the line's indent", {}, {}, "    abc", {7, 0}, "    abc|    ", {4, 1}},
      {"splits and indents the rest", {}, {}, "    abcd", {6, 0}, "    ab|    cd", {4, 1}},
      {"in the leading blanks: the caret column", {}, {}, "    abc", {2, 0}, "  |    abc", {2, 1}},
      {"without auto indent: column 0", {}, {soAutoIndent}, "    abc", {7, 0}, "    abc|", {0, 1}},
      {"empty line: indent of the line above", {}, {}, "  x||", {0, 1}, "  x||  |", {2, 2}},
      {"optimal fill: TABs then spaces", {soUseTabCharacter, soOptimalFill}, {soSmartTab},
       "                    z", {21, 0}, "                    z|\t\t   ", {20, 1}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetKeepBlanks(true);
    TStringsOptions O = S.GetOptions();
    for (auto X : C.On) O.Include(X);
    for (auto X : C.Off) O.Exclude(X);
    S.SetOptions(O);
    SetText(S, C.Start);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    S.NewLine();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetCaretPoint(), C.WantCaret);
  }
}

TEST(TCustomMemoSource_Edit, EnterInOverwriteModeNeverSplits) {
  TMemoSource S(nullptr);
  SetText(S, "abcdef|  next");
  S.SetCaret(3, 0);
  S.SetOverwriteMode(true);
  S.NewLine();
  S.SetOverwriteMode(false);
  EXPECT_EQ(Text(S), "abcdef|  next");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(2, 1)) << "to the next line's indent";
}

TEST(TCustomMemoSource_Edit, TabKeyGoesToTheNextStopOrSmartTarget) {
  struct TCase { const char* Why; bool Smart; const char* Start; TPoint Caret; const char* Want; Integer WantCol; };
  const TCase Cases[] = {
      {"plain: spaces to the next stop", false, "ab", {2, 0}, "ab       ", 9},
      {"smart: under the next word above", true, "int  value = 1;|", {0, 1}, "int  value = 1;|     ", 5},
      {"smart: from inside a word", true, "int  value = 1;|ab", {2, 1}, "int  value = 1;|ab   ", 5},
      {"smart: first non-blank above", true, "      x|", {0, 1}, "      x|      ", 6},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    S.SetKeepBlanks(true);
    S.SetOptions(C.Smart ? With(S, {soSmartTab}) : With(S, {}, {soSmartTab}));
    SetText(S, C.Start);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    S.TabKey();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetCaretChar(), C.WantCol);
  }
}

TEST(TCustomMemoSource_Edit, TabKeyWithUseTabInsertsOneTabAndUndoesInOneStep) {
  TMemoSource S(nullptr);
  S.SetOptions(With(S, {soUseTabCharacter}));
  SetText(S, "ab");
  S.SetCaret(1, 0);
  S.TabKey();
  EXPECT_EQ(Text(S), "a\tb");
  EXPECT_EQ(S.GetCaretChar(), 9);
  S.Undo();
  EXPECT_EQ(Text(S), "ab");
  EXPECT_EQ(S.GetCaretChar(), 1);
}

TEST(TCustomMemoSource_Edit, TabKeyReplacesAOneLineSelection) {
  TMemoSource S(nullptr);
  S.SetOptions(With(S, {}, {soSmartTab}));
  SetText(S, "abcdef");
  S.SetCaret(1, 0);
  S.SetSelection(stStreamSel, 1, 0, 4, 0);
  S.TabKey();
  EXPECT_EQ(Text(S), "a        ef");
}

TEST(TCustomMemoSource_Edit, ShiftTabGoesToThePreviousStop) {
  struct TCase { Integer From, Want; };
  for (const TCase C : {TCase{12, 9}, TCase{9, 0}, TCase{20, 17}, TCase{3, 0}}) {
    TMemoSource S(nullptr);
    SetText(S, "                          x");
    S.SetCaret(C.From, 0);
    S.ShiftTabKey();
    EXPECT_EQ(S.GetCaretChar(), C.Want) << C.From;
  }
}

TEST(TCustomMemoSource_Edit, WordMovesAndDeletions) {
  struct TCase { const char* Why; void (TCustomMemoSource::*Cmd)(); const char* Start; TPoint Caret; const char* Want; TPoint WantCaret; };
  const TCase Cases[] = {
      {"word right", &TCustomMemoSource::WordRight, "foo bar baz", {1, 0}, "foo bar baz", {4, 0}},
      {"word right at the end goes down", &TCustomMemoSource::WordRight, "foo|bar", {3, 0}, "foo|bar", {0, 1}},
      {"word left", &TCustomMemoSource::WordLeft, "foo bar baz", {9, 0}, "foo bar baz", {8, 0}},
      {"word left from a word start", &TCustomMemoSource::WordLeft, "foo bar", {4, 0}, "foo bar", {0, 0}},
      {"word left at column 0 goes up", &TCustomMemoSource::WordLeft, "foo|bar", {0, 1}, "foo|bar", {3, 0}},
      {"delete word left", &TCustomMemoSource::DeleteWordLeft, "foo bar baz", {7, 0}, "foo  baz", {4, 0}},
      {"delete to next word", &TCustomMemoSource::DeleteToNextWord, "foo bar baz", {4, 0}, "foo baz", {4, 0}},
      {"delete word right with its space", &TCustomMemoSource::DeleteWordRight, "foo bar baz", {4, 0}, "foo baz", {4, 0}},
      {"delete word right at the end joins", &TCustomMemoSource::DeleteWordRight, "foo|bar", {3, 0}, "foobar", {3, 0}},
      {"delete line", &TCustomMemoSource::DeleteLine, "a|b|c", {1, 1}, "a|c", {0, 1}},
      {"delete to line start", &TCustomMemoSource::DeleteToLineStart, "abcdef", {4, 0}, "ef", {0, 0}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    SetText(S, C.Start);
    S.SetCaret(C.Caret.X, C.Caret.Y);
    (S.*C.Cmd)();
    EXPECT_EQ(Text(S), C.Want);
    EXPECT_EQ(S.GetCaretPoint(), C.WantCaret);
  }
}

TEST(TCustomMemoSource_Edit, DisplayTextShowsBlanks) {
  TMemoSource S(nullptr);
  S.SetOptions(With(S, {soUseTabCharacter}));
  SetText(S, "a b\tc");
  AnsiString T;
  S.GetDisplayText(0, true, T, '>', '.');
  EXPECT_EQ(T, "a.b  >   c") << "TAB of width 6: marker at offset 2";
  S.GetDisplayText(0, false, T, '>', '.');
  EXPECT_EQ(T, "a b      c");
}

TEST(TCustomMemoSource_Edit, InsertsStayProportionalToTheLine) {
  TMemoSource S(nullptr);
  std::string Big;
  for (int I = 0; I < 2000; ++I) Big += "line|";
  SetText(S, Big);
  S.SetCaret(2, 1000);
  S.InsertLineBreak();
  EXPECT_EQ(S.GetLineCount(), 2002);
  EXPECT_EQ(S.GetLineText(1000), "li");
  EXPECT_EQ(S.GetLineText(1001), "ne");
}

}  // namespace
