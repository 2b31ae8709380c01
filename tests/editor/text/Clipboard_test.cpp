#include "editor/text/TextHelpers.h"
#include "MemoTestUtil.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"

namespace {

void AddOption(TCustomMemoSource& S, TStringsOption O) {
  TStringsOptions X = S.GetOptions();
  X.Include(O);
  S.SetOptions(X);
}

// Another program's text: put on the clipboard with no window of ours.
void OtherProgramPuts(const std::string& Text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  char* P = static_cast<char*>(GlobalLock(H));
  std::copy(Text.begin(), Text.end(), P);
  P[Text.size()] = 0;
  GlobalUnlock(H);
  SetClipboardData(CF_TEXT, H);
  CloseClipboard();
}

std::string ClipboardText() {
  AnsiString T;
  return ReadClipboardText(T) ? T : "<none>";
}

class ClipboardTest : public testing::Test {
protected:
  void SetUp() override { ClipboardReset(); }
  void TearDown() override {
    ClipboardReset();
    TCustomMemoSource::SetBlockCopy(false);
  }
};

TEST_F(ClipboardTest, CopyPutsTheSelectedTextWithTabsAsStored) {
  struct TCase { TSelectionType Type; TRect Sel; const char* Want; };
  const TCase Cases[] = {
      {stStreamSel, {1, 0, 2, 1}, "b\tc\r\nde"},
      {stStreamSel, {0, 1, 0, 2}, "def\r\n"},
      {stBlockSel, {1, 1, 2, 2}, "ef\r\nhi"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TMemoSource S(nullptr);
    AddOption(S, soUseTabCharacter);
    SetText(S, "ab\tc|def|ghi");
    S.SetSelection(C.Type, C.Sel.Left, C.Sel.Top, C.Sel.Right, C.Sel.Bottom);
    S.CopyToClipboard();
    EXPECT_EQ(ClipboardText(), C.Want);
    EXPECT_EQ(TCustomMemoSource::GetBlockCopy(), C.Type == stBlockSel);
  }
}

TEST_F(ClipboardTest, CopyAndCutOfNothingPutNothing) {
  OtherProgramPuts("kept");
  TMemoSource S(nullptr);
  SetText(S, "abc");
  S.CopyToClipboard();
  S.CutToClipboard();
  EXPECT_EQ(ClipboardText(), "kept");
  EXPECT_EQ(Text(S), "abc");
}

TEST_F(ClipboardTest, CutIsOneUndoStep) {
  TMemoSource S(nullptr);
  SetText(S, "hello world");
  S.SetSelection(stStreamSel, 0, 0, 6, 0);
  S.CutToClipboard();
  EXPECT_EQ(Text(S), "world");
  EXPECT_EQ(ClipboardText(), "hello ");
  S.Undo();
  EXPECT_EQ(Text(S), "hello world");
}

TEST_F(ClipboardTest, PasteRunningTextSplitsTheLineAndSelectsThePaste) {
  OtherProgramPuts("one\r\ntwo\r\nthree");
  TMemoSource S(nullptr);
  SetText(S, "abcdefg|z");
  S.SetCaret(4, 0);
  S.PasteFromClipboard();
  EXPECT_EQ(Text(S), "abcdone|two|threeefg|z");
  EXPECT_EQ(S.GetCaretPoint(), TPoint(5, 2));
  S.Undo();
  EXPECT_EQ(Text(S), "abcdefg|z");
}

TEST_F(ClipboardTest, PastedSelectionStaysWithPersistentBlocks) {
  OtherProgramPuts("one\r\ntwo");
  TMemoSource S(nullptr);
  AddOption(S, soPersistentBlocks);
  SetText(S, "abcdefg");
  S.SetCaret(4, 0);
  S.PasteFromClipboard();
  EXPECT_EQ(S.GetSelectionType(), stStreamSel);
  EXPECT_EQ(S.GetSelectionRect(), TRect(4, 0, 3, 1));
}

TEST_F(ClipboardTest, BlockCopyPastesAsABlockInAnotherEditor) {
  TMemoSource A(nullptr), B(nullptr);
  SetText(A, "ab|cd|ef");
  A.SetSelection(stBlockSel, 0, 0, 0, 1);
  A.CopyToClipboard();
  SetText(B, "xyz|xyz|xyz");
  B.SetCaret(1, 0);
  B.PasteFromClipboard();
  EXPECT_EQ(Text(B), "xayz|xcyz|xyz") << "a column block";
  A.SetSelection(stStreamSel, 0, 0, 1, 1);
  A.CopyToClipboard();
  SetText(B, "xyz|xyz");
  B.SetCaret(1, 0);
  B.PasteFromClipboard();
  EXPECT_EQ(Text(B), "xab|cyz|xyz") << "running text";
}

TEST_F(ClipboardTest, BlockPasteAtTheLastLineAppendsLines) {
  TMemoSource S(nullptr);
  SetText(S, "first|last");
  S.SetCaret(2, 1);
  TStringList L;
  L.Add("AB");
  L.Add("CD");
  S.InsertLines(&L, true);
  EXPECT_EQ(Text(S), "first|laABst|  CD");
  EXPECT_EQ(S.GetSelectionType(), stBlockSel);
  EXPECT_EQ(S.GetSelectionRect(), TRect(2, 1, 3, 2));
}

TEST_F(ClipboardTest, TextLinesGoInAsTheListOfThemWould) {
  // Each text, inserted straight and through a list its text setter made,
  // in running text and as a block, gives the same lines, caret and
  // selection.
  const char* Texts[] = {"", "one", "a\r\nb", "a\rb\nc", "a\n\nb\r\n", "\r\n", "\r\n\r\n",
                         "x\r\r\ny", "tab\there\nend\r", "lead\n  blanks  \ntrail"};
  for (const char* T : Texts) {
    for (bool Block : {false, true}) {
      TMemoSource Direct(nullptr), Listed(nullptr);
      for (TMemoSource* S : {&Direct, &Listed}) {
        SetText(*S, "first|last");
        S->SetCaret(2, 1);
      }
      Direct.InsertTextLines(T, Block);
      TStringList L;
      L.SetText(T);
      Listed.InsertLines(&L, Block);
      const std::string Case = std::string("text \"") + T + "\" block " + (Block ? "yes" : "no");
      EXPECT_EQ(Text(Direct), Text(Listed)) << Case;
      EXPECT_EQ(Direct.GetCaretChar(), Listed.GetCaretChar()) << Case;
      EXPECT_EQ(Direct.GetCaretLine(), Listed.GetCaretLine()) << Case;
      EXPECT_EQ(Direct.GetSelectionType(), Listed.GetSelectionType()) << Case;
      EXPECT_EQ(Direct.GetSelectionRect(), Listed.GetSelectionRect()) << Case;
    }
  }
}

TEST_F(ClipboardTest, PasteHookMayChangeTheLinesAndTabsBecomeSpaces) {
  OtherProgramPuts("a\tb");
  TMemoSource S(nullptr);
  S.SetSpacesInTab(2);
  SetText(S, "");
  struct THook : TObject {
    void Paste(TObject*, TStrings* L) { L->Add("added"); }
  } Hook;
  S.OnPasteFromClipboard = TStringsEvent(&Hook, &THook::Paste);
  S.PasteFromClipboard();
  EXPECT_EQ(Text(S), "a  b|added");
}

TEST_F(ClipboardTest, EmptyClipboardPastesNothing) {
  TMemoSource S(nullptr);
  SetText(S, "abc");
  EXPECT_FALSE(S.CanPaste());
  S.PasteFromClipboard();
  EXPECT_EQ(Text(S), "abc");
  EXPECT_FALSE(S.CanUndo());
}

struct TLineCase {
  void (TCustomMemoSource::*Command)();
  const char* Before;
  const char* After;
  const char* Why;
};

TEST(TCustomMemoSource_Block, LineCommandsChangeTheSelectedLinesInOneStep) {
  const TLineCase Cases[] = {
      {&TCustomMemoSource::BlockIndent, "ab||cd", "  ab||  cd", "an empty line stays empty"},
      {&TCustomMemoSource::BlockUnindent, "   ab| c|d", " ab|c|d", "at most the indent, only blanks"},
      {&TCustomMemoSource::ToggleCaseSelection, "HeLLo wOrld|x", "hEllO WoRLD|X", "every letter swaps"},
      {&TCustomMemoSource::CapitalizeSelection, "hELLO wide.world|x", "Hello Wide.World|X", "after delimiters"},
      {&TCustomMemoSource::UpperCaseSelection, "abc|d", "ABC|D", "upper"},
      {&TCustomMemoSource::LowerCaseSelection, "ABC|D", "abc|d", "lower"},
      {&TCustomMemoSource::QuoteSelection, "ab||c", ">ab|>|>c", "quote marks every line"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TMemoSource S(nullptr);
    AddOption(S, soPersistentBlocks);
    S.SetBlockIndent(2);
    S.SetDelimeters(".");
    SetText(S, C.Before);
    S.SelectAll();
    S.SetCaret(1, 0);
    (S.*C.Command)();
    EXPECT_EQ(Text(S), C.After);
    EXPECT_EQ(S.GetCaretPoint(), TPoint(1, 0)) << "the caret goes back";
    S.Undo();
    EXPECT_EQ(Text(S), C.Before) << "one undo step";
  }
}

TEST(TCustomMemoSource_Block, TabStringDecidesTheIndent) {
  TMemoSource S(nullptr);
  AddOption(S, soUseTabCharacter);
  SetText(S, "a|b");
  S.SelectAll();
  S.SetTabString("\t");
  S.BlockIndent();
  EXPECT_EQ(Text(S), "\ta|\tb");
  S.SelectAll();
  S.BlockUnindent();
  EXPECT_EQ(Text(S), "a|b");
}

TEST(TCustomMemoSource_Block, WordCommandsKeepThePreviousSelection) {
  TMemoSource S(nullptr);
  AddOption(S, soPersistentBlocks);
  SetText(S, "one two three");
  S.SetSelection(stStreamSel, 0, 0, 3, 0);
  S.SetCaret(5, 0);
  S.UpperCaseWord();
  EXPECT_EQ(Text(S), "one TWO three");
  EXPECT_EQ(S.GetSelectionRect(), TRect(0, 0, 3, 0));
  EXPECT_EQ(S.GetCaretPoint(), TPoint(5, 0));
}

TEST(TCustomMemoSource_Block, MoveAndCopySelectionToTheCaret) {
  TMemoSource S(nullptr);
  AddOption(S, soPersistentBlocks);
  SetText(S, "abc def|xyz");
  S.SetSelection(stStreamSel, 0, 0, 4, 0);
  S.SetCaret(1, 0);
  EXPECT_FALSE(S.MoveSelectionToCaret()) << "caret inside the selection";
  S.SetCaret(1, 1);
  EXPECT_TRUE(S.MoveSelectionToCaret());
  EXPECT_EQ(Text(S), "def|xabc yz");
  S.Undo();
  EXPECT_EQ(Text(S), "abc def|xyz");
  S.SetSelection(stStreamSel, 4, 0, 7, 0);
  S.SetCaret(3, 1);
  EXPECT_TRUE(S.CopySelectionToCaret());
  EXPECT_EQ(Text(S), "abc def|xyzdef");
}

TEST(TCustomMemoSource_Block, DuplicateAndTextBlockInsertAtTheCaret) {
  TMemoSource S(nullptr);
  AddOption(S, soPersistentBlocks);
  SetText(S, "abc");
  S.SetSelection(stStreamSel, 0, 0, 2, 0);
  S.SetCaret(3, 0);
  S.DuplicateSelection();
  EXPECT_EQ(Text(S), "abcab");
  S.SetSelection(stStreamSel, 0, 0, 1, 0);
  S.SetCaret(0, 0);
  S.InsertTextBlock("x\r\ny");
  EXPECT_EQ(Text(S), "x|yabcab");
  EXPECT_EQ(S.GetSelectionRect(), TRect(0, 0, 1, 0)) << "the selection comes back";
}

}  // namespace
