#include "editor/view/KeyMappings.h"

#include "editor/base/ObjectParams.h"
#include "editor/controls/DCMemo.h"
#include "editor/text/MemoSource.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"

namespace {
using M = TCustomDCMemo;
using S = TCustomMemoSource;
using TMemoCmd = void (M::*)();
using TSourceCmd = void (S::*)();

constexpr Byte Sh = ksShift, Al = ksAlt, Ct = ksCtrl;

// The virtual key that types Ch on the current layout.
Word KeyOf(char Ch) { return Word(VkKeyScanA(Ch) & 0xFF); }

class TBuilder {
public:
  explicit TBuilder(TObject* Control)
      : FMemo(static_cast<M*>(Control)), FSource(FMemo->GetSource()), FList(FMemo->GetKeyList()) {}
  TKeyHandler H(TMemoCmd C) const { return TKeyHandler(FMemo, C); }
  TKeyHandler H(TSourceCmd C) const { return TKeyHandler(FSource, C); }
  template <class C>
  void K(Word Key, Byte Shift, C Cmd, Byte State = 0, Byte Next = 0) {
    FList->AddBinding(Key, Shift, H(Cmd), State, Next);
  }
  template <class C>
  void A(Word Key, Byte Shift, C Cmd) {
    FList->AddKeyAnyState(Key, Shift, H(Cmd));
  }
  // A chord prefix: no command, only the next state.
  void P(Word Key, Byte Shift, Byte Next, Byte State = 0) { FList->AddBinding(Key, Shift, TKeyHandler(), State, Next); }
  // Key and Ctrl+Key to the same command.
  template <class C>
  void KC(Word Key, C Cmd, Byte State, Byte Next = 0) {
    K(Key, 0, Cmd, State, Next);
    K(Key, Ct, Cmd, State, Next);
  }
  TKeyList* List() const { return FList; }

private:
  M* FMemo;
  S* FSource;
  TKeyList* FList;
};

constexpr TSourceCmd ToggleBookmarks[11] = {nullptr,
                                            &S::ToggleBookmark1,
                                            &S::ToggleBookmark2,
                                            &S::ToggleBookmark3,
                                            &S::ToggleBookmark4,
                                            &S::ToggleBookmark5,
                                            &S::ToggleBookmark6,
                                            &S::ToggleBookmark7,
                                            &S::ToggleBookmark8,
                                            &S::ToggleBookmark9,
                                            &S::ToggleBookmark10};
constexpr TSourceCmd GotoBookmarks[11] = {nullptr,           &S::GotoBookmark1, &S::GotoBookmark2, &S::GotoBookmark3,
                                          &S::GotoBookmark4, &S::GotoBookmark5, &S::GotoBookmark6, &S::GotoBookmark7,
                                          &S::GotoBookmark8, &S::GotoBookmark9, &S::GotoBookmark10};
// Bookmark number of a digit key: the digit, 10 for 0.
Integer BookmarkOf(Integer Digit) { return Digit == 0 ? 10 : Digit; }

void AddCursorKeys(TBuilder& B) {
  B.A(VK_UP, 0, &M::UpKey);
  B.A(VK_DOWN, 0, &M::DownKey);
  B.A(VK_LEFT, 0, &M::LeftKey);
  B.A(VK_RIGHT, 0, &M::RightKey);
  B.A(VK_PRIOR, 0, &M::PageUp);
  B.A(VK_NEXT, 0, &M::PageDown);
  B.K(VK_DELETE, 0, &S::DeleteKey);
  B.K(VK_BACK, 0, &S::Backspace);
  B.K(VK_BACK, Sh, &S::Backspace);
  B.K(VK_RETURN, Sh, &S::NewLine);
  B.K(VK_RETURN, 0, &S::NewLine);
  B.K(VK_ESCAPE, 0, &M::EscapeKey);
  B.K(VK_TAB, 0, &S::TabKey);
  B.K(VK_TAB, Sh, &S::ShiftTabKey);
  B.K(VK_LEFT, Ct, &S::WordLeft);
  B.K(VK_RIGHT, Ct, &S::WordRight);
  B.K('J', Ct, &M::ShowCodeTemplatePopup);
}

void AddBlockChordKeys(TBuilder& B) {
  B.P('K', Ct, 1);
  B.P('Q', Ct, 2);
  B.K('B', 0, &S::MarkBlockBegin, 1);
  B.KC('C', &S::DuplicateSelection, 1);
  B.KC('I', &S::BlockIndent, 1);
  B.KC('L', &S::SelectLine, 1);
  B.KC('N', &S::UpperCaseSelection, 1);
  B.KC('O', &S::LowerCaseSelection, 1);
  B.KC('U', &S::BlockUnindent, 1);
  B.KC('K', &S::MarkBlockEnd, 1);
  B.KC('T', static_cast<TSourceCmd>(&S::SelectWord), 1);
  B.KC('V', &S::MoveBlock, 1);
  B.KC('Y', &S::DeleteSelection, 1);
  B.KC('E', &S::LowerCaseWord, 1);
  B.KC('F', &S::UpperCaseWord, 1);
}

void AddShiftSelectKeys(TBuilder& B) {
  B.K(VK_DOWN, Sh, &M::SelectDown);
  B.K(VK_UP, Sh, &M::SelectUp);
  B.K(VK_LEFT, Sh, &M::SelectLeft);
  B.K(VK_RIGHT, Sh, &S::SelectRight);
  B.K(VK_HOME, Sh, &M::SelectHome);
  B.K(VK_END, Sh, &M::SelectEnd);
  B.K(VK_PRIOR, Sh, &M::SelectPageUp);
  B.K(VK_NEXT, Sh, &M::SelectPageDown);
  B.K(VK_PRIOR, Ct | Sh, &M::SelectToWindowTop);
  B.K(VK_NEXT, Ct | Sh, &M::SelectToWindowBottom);
  B.K(VK_HOME, Ct | Sh, &S::SelectToFileStart);
  B.K(VK_END, Ct | Sh, &S::SelectToFileEnd);
  B.K(VK_LEFT, Ct | Sh, &S::SelectWordLeft);
  B.K(VK_RIGHT, Ct | Sh, &S::SelectWordRight);
  B.K(VK_DOWN, Al | Sh, &S::BlockSelectDown);
  B.K(VK_UP, Al | Sh, &S::BlockSelectUp);
  B.K(VK_LEFT, Al | Sh, &S::BlockSelectLeft);
  B.K(VK_RIGHT, Al | Sh, &S::BlockSelectRight);
  B.K(VK_HOME, Al | Sh, &S::BlockSelectToLineStart);
  B.K(VK_END, Al | Sh, &S::BlockSelectToLineEnd);
  B.K(VK_PRIOR, Al | Sh, &M::BlockSelectPageUp);
  B.K(VK_NEXT, Al | Sh, &M::BlockSelectPageDown);
  B.K(VK_HOME, Ct | Al | Sh, &M::BlockSelectToWindowTop);
  B.K(VK_END, Ct | Al | Sh, &M::BlockSelectToWindowBottom);
  B.K(VK_PRIOR, Ct | Al | Sh, &S::BlockSelectToFileStart);
  B.K(VK_NEXT, Ct | Al | Sh, &S::BlockSelectToFileEnd);
  B.K(VK_LEFT, Ct | Al | Sh, &S::BlockSelectWordLeft);
  B.K(VK_RIGHT, Ct | Al | Sh, &S::BlockSelectWordRight);
}

void AddQuickChordKeys(TBuilder& B) {
  B.P('Q', Ct, 2);
  B.K('B', Ct, &S::CaretToSelectionStart, 2);
  B.K('C', Ct, &S::CaretToFileEnd, 2);
  B.K('D', Ct, &M::EndKey, 2);
  B.K('E', Ct, &M::CaretToWindowTop, 2);
  B.K('K', Ct, &S::CaretToSelectionEnd, 2);
  B.K('R', Ct, &S::CaretToFileStart, 2);
  B.K('S', Ct, &M::HomeKey, 2);
  B.K('T', Ct, &M::CaretToWindowTop, 2);
  B.K('U', Ct, &M::CaretToWindowBottom, 2);
  B.K('X', Ct, &M::CaretToWindowBottom, 2);
}

void AddBookmarkKeys(TBuilder& B) {
  B.P('K', Ct, 1);
  B.P('Q', Ct, 2);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), Ct, ToggleBookmarks[BookmarkOf(D)], 1);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), 0, ToggleBookmarks[BookmarkOf(D)], 1);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), 0, GotoBookmarks[BookmarkOf(D)], 2);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), Ct | Sh, ToggleBookmarks[BookmarkOf(D)], 2);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), Ct, GotoBookmarks[BookmarkOf(D)], 2);
}

void AddEditingKeys(TBuilder& B) {
  B.K(VK_DELETE, Sh, &M::CutToClipboard);
  B.K(VK_DELETE, Ct, &S::DeleteSelection);
  B.K(VK_INSERT, Sh, &M::PasteFromClipboard);
  B.K(VK_INSERT, Ct, &M::CopyToClipboard);
  B.A(VK_HOME, 0, &M::HomeKey);
  B.A(VK_END, 0, &M::EndKey);
  B.K(VK_BACK, Ct, &S::DeleteWordLeft);
  B.K(VK_BACK, Al, &S::Undo);
  B.K(VK_BACK, Al | Sh, &S::Redo);
  B.K(VK_INSERT, 0, &S::ToggleOverwriteMode);
  B.K('A', Ct, &S::SelectAll);
  B.K('G', Ct | Sh, &S::InsertGuid);
  B.P('Q', Ct, 2);
  B.K('A', Ct, &S::ShowReplaceDialog, 2);
  B.K('F', Ct, &S::ShowFindDialog, 2);
  B.K('Y', Ct, &S::DeleteToLineEnd, 2);
  B.P('O', Ct, 5);
  B.K('G', Ct, &M::GoToLineNumber, 5);
  B.K('U', Ct, &S::ToggleCaseSelection, 5);
  B.K('L', Ct, &S::SelectLine, 5);
  B.K('Q', Ct | Al, &S::QuoteSelection);
  B.K(KeyOf('['), Ct, &S::MatchBracket);
}
}  // namespace

void InitDefaultKeyMapping(TObject* Control) {
  TBuilder B(Control);
  B.K('X', Ct, &M::CutToClipboard);
  B.K('V', Ct, &M::PasteFromClipboard);
  B.K('C', Ct, &M::CopyToClipboard);
  B.K(VK_F3, 0, &S::FindNext);
  B.K('E', Ct, &S::FindNext);
  B.K('F', Ct, &S::ShowFindDialog);
  B.K('R', Ct, &S::ShowReplaceDialog);
  B.A(VK_HOME, Ct, &S::CaretToFileStart);
  B.A(VK_END, Ct, &S::CaretToFileEnd);
  B.A(VK_PRIOR, Ct, &M::CaretToWindowTop);
  B.A(VK_NEXT, Ct, &M::CaretToWindowBottom);
  B.K(VK_DOWN, Ct, &M::ScrollLineDown);
  B.K(VK_UP, Ct, &M::ScrollLineUp);
  B.K('Z', Ct, &S::Undo);
  B.K('A', Ct, &S::SelectAll);
  B.K('Y', Ct | Sh, &S::DeleteToLineEnd);
  B.K('Y', Ct, &S::DeleteLine);
  B.K('L', Ct, &S::FindNext);
  B.K('I', Ct, &S::TabKey);
  B.K('N', Ct, &S::OpenLine);
  B.K('T', Ct, &S::DeleteWordRight);
  B.K('Z', Ct | Sh, &S::Redo);
  B.K('I', Ct | Sh, &S::BlockIndent);
  B.K('U', Ct | Sh, &S::BlockUnindent);
  for (Integer D = 0; D <= 9; ++D) {
    B.K(Word('0' + D), Ct, GotoBookmarks[BookmarkOf(D)]);
    B.K(Word('0' + D), Ct | Sh, ToggleBookmarks[BookmarkOf(D)]);
  }
  AddEditingKeys(B);
  AddCursorKeys(B);
  AddShiftSelectKeys(B);
  AddBlockChordKeys(B);
  AddBookmarkKeys(B);
  AddQuickChordKeys(B);
}

void InitClassicKeyMapping(TObject* Control) {
  TBuilder B(Control);
  B.K('A', Ct, &S::WordLeft);
  B.K('C', Ct, &M::CaretToWindowBottom);
  B.K('D', Ct, &S::CaretRight);
  B.K('E', Ct, &S::CaretUp);
  B.K('F', Ct, &S::WordRight);
  B.K('G', Ct, &S::DeleteKey);
  B.K('H', Ct, &S::Backspace);
  B.K('I', Ct, &S::TabKey);
  B.K('L', Ct, &S::FindNext);
  B.K('N', Ct, &S::NewLine);
  B.K('R', Ct, &M::PageUp);
  B.K('S', Ct, &S::CaretLeft);
  B.K('T', Ct, &S::DeleteWordRight);
  B.K('V', Ct, &S::ToggleOverwriteMode);
  B.K('W', Ct, &M::PageDown);
  B.K('X', Ct, &S::CaretDown);
  B.K('Y', Ct, &S::DeleteLine);
  B.K('Z', Ct, &S::CaretUp);
  B.K('S', Ct | Sh, &S::FindNext);
  B.A(VK_HOME, Ct, &M::CaretToWindowTop);
  B.A(VK_END, Ct, &M::CaretToWindowBottom);
  B.A(VK_PRIOR, Ct, &S::CaretToFileStart);
  B.A(VK_NEXT, Ct, &S::CaretToFileEnd);
  B.K(VK_BACK, Sh, &S::Backspace);
  AddEditingKeys(B);
  AddCursorKeys(B);
  AddShiftSelectKeys(B);
  AddBlockChordKeys(B);
  AddQuickChordKeys(B);
  AddBookmarkKeys(B);
}

void InitBriefKeyMapping(TObject* Control) {
  TBuilder B(Control);
  B.K(VK_SUBTRACT, 0, &M::CutToClipboard);
  B.K(VK_INSERT, 0, &M::PasteFromClipboard);
  B.K(VK_ADD, 0, &M::CopyToClipboard);
  B.K(VK_MULTIPLY, 0, &S::Undo);
  B.K('A', Ct, &S::SelectToLineEnd);
  B.K('B', Ct, &M::CaretToWindowBottom);
  B.K('C', Ct, &M::CenterCaretLine);
  B.K('D', Ct, &M::PageDown);
  B.K('E', Ct, &M::PageUp);
  B.K('K', Ct, &S::DeleteToLineStart);
  B.K('M', Ct, &S::NewLine);
  B.K('T', Ct, &M::CaretToWindowTop);
  B.K('U', Ct, &S::Redo);
  B.K(VK_BACK, Ct, &S::DeleteWordLeft);
  B.K(VK_RETURN, Ct, &S::OpenLine);
  B.K('D', Al, &S::DeleteLine);
  B.K('G', Al, &M::GoToLineNumber);
  B.K('I', Al, &S::ToggleOverwriteMode);
  B.K('K', Al, &S::DeleteToLineEnd);
  B.K('U', Al, &S::Undo);
  B.K(VK_BACK, Al, &S::DeleteToNextWord);
  B.P('O', Ct, 5);
  B.K('O', Ct, &S::ToggleCaseSelection, 5);
  B.K(VK_F5, 0, &S::ShowFindDialog);
  B.K(VK_F5, Al, &S::ShowFindDialog);
  B.K(VK_F6, 0, &S::ShowReplaceDialog);
  B.K(VK_F6, Al, &S::ShowReplaceDialog);
  B.K(VK_F5, Sh, &S::FindNext);
  B.K(VK_F6, Sh, &S::ReplaceText);
  B.K(VK_F5, Ct, &S::ToggleCaseSensitive);
  B.K(VK_F6, Ct, &S::ToggleRegularExpr);
  B.K('S', Al, &S::ShowFindDialog);
  B.K('S', Ct, &S::FindNext);
  B.K('T', Al, &S::ShowReplaceDialog);
  B.A(VK_HOME, Sh, &M::HomeKey);
  B.A(VK_END, Ct, &M::CaretToWindowBottom);
  B.A(VK_HOME, Ct, &M::CaretToWindowTop);
  B.A(VK_END, Sh, &M::EndKey);
  B.A(VK_PRIOR, Ct, &S::CaretToFileStart);
  B.A(VK_NEXT, Ct, &S::CaretToFileEnd);
  B.A(VK_PRIOR, Ct, &S::CaretToFileStart);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), Al, ToggleBookmarks[BookmarkOf(D)]);
  B.P('J', Al, 3);
  for (Integer D = 0; D <= 9; ++D) B.K(Word('0' + D), Al, GotoBookmarks[BookmarkOf(D)], 3);
  AddCursorKeys(B);
  AddShiftSelectKeys(B);
  B.K('A', Al, &S::StartStreamSelection, 0, 6);
  B.K('C', Al, &S::StartBlockSelection, 0, 7);
  B.K('L', Al, &S::SelectLine, 0, 6);
  B.K('M', Al, &S::SelectToLineEnd, 0, 6);
  B.K(VK_UP, 0, &S::SelectUp, 6, 6);
  B.K(VK_DOWN, 0, &S::SelectDown, 6, 6);
  B.K(VK_LEFT, 0, &S::SelectLeft, 6, 6);
  B.K(VK_RIGHT, 0, &S::SelectRight, 6, 6);
  B.K(VK_PRIOR, 0, &M::SelectPageUp, 6, 6);
  B.K(VK_NEXT, 0, &M::SelectPageDown, 6, 6);
  B.K(VK_HOME, 0, &S::SelectToLineStart, 6, 6);
  B.K(VK_END, 0, &S::SelectToLineEnd, 6, 6);
  B.K(VK_UP, 0, &S::BlockSelectUp, 7, 7);
  B.K(VK_DOWN, 0, &S::BlockSelectDown, 7, 7);
  B.K(VK_LEFT, 0, &S::BlockSelectLeft, 7, 7);
  B.K(VK_RIGHT, 0, &S::BlockSelectRight, 7, 7);
  B.K(VK_PRIOR, 0, &M::BlockSelectPageUp, 7, 7);
  B.K(VK_NEXT, 0, &M::BlockSelectPageDown, 7, 7);
  B.K(VK_HOME, 0, &S::BlockSelectToLineStart, 7, 7);
  B.K(VK_END, 0, &S::BlockSelectToLineEnd, 7, 7);
  B.K(VK_ESCAPE, 0, &S::ClearSelection, 6, 0);
  B.K(VK_ESCAPE, 0, &S::ClearSelection, 7, 0);
  B.K(VK_HOME, 0, &M::HomeKey, 0, 8);
  B.K(VK_END, 0, &M::EndKey, 0, 8);
  B.K(VK_HOME, 0, &S::CaretToFileStart, 8, 0);
  B.K(VK_END, 0, &S::CaretToFileEnd, 8, 0);
}

void InitEpsilonKeyMapping(TObject* Control) {
  TBuilder B(Control);
  B.K('Y', Ct, &M::PasteFromClipboard);
  B.K('W', Al, &M::CopyToClipboard);
  B.K('W', Ct, &M::CutToClipboard);
  B.K('H', Ct, &S::Backspace);
  B.K('H', Ct | Al, &S::DeleteWordLeft);
  B.K('D', Ct, &S::DeleteKey);
  B.K('D', Al, &S::DeleteToNextWord);
  B.K('C', Al, &S::CapitalizeWord);
  B.K('M', Ct, &S::NewLine);
  B.K('O', Ct, &S::OpenLine);
  B.K('L', Al, &S::LowerCaseWord);
  B.K('U', Al, &S::UpperCaseWord);
  B.K('F', Al, &S::WordRight);
  B.P('X', Ct, 4);
  B.K('G', Ct, &M::GoToLineNumber, 4);
  B.K('R', Ct, &S::Redo, 4);
  B.K('U', Ct, &S::Undo, 4);
  B.K('0', Ct, &M::ClearKeys, 4);
  B.K(VK_TAB, Ct, &S::BlockIndent, 4);
  B.K(VK_F10, Ct, &S::Redo);
  B.K(VK_F9, Ct, &S::Undo);
  B.K(VK_INSERT, 0, &S::ToggleOverwriteMode);
  B.K(VK_BACK, Al, &S::DeleteWordLeft);
  B.K('B', Ct, &S::CaretLeft);
  B.K('F', Ct, &S::CaretRight);
  B.K('B', Al, &S::WordLeft);
  B.K('F', Al, &S::WordRight);
  B.K('A', Ct, &M::HomeKey);
  B.K('E', Ct, &M::EndKey);
  B.K('P', Ct, &S::CaretUp);
  B.K('N', Ct, &S::CaretDown);
  B.K('V', Ct, &M::PageDown);
  B.K('V', Al, &M::PageUp);
  B.K('Z', Al, &M::ScrollLineDown);
  B.K('Z', Ct, &M::ScrollLineUp);
  B.K('S', Ct | Al, &S::ShowFindDialog);
  B.K('R', Ct | Al, &S::ShowReplaceDialog);
  B.K('5', Ct | Sh, &S::ShowFindDialog);
  B.K('7', Ct | Sh, &S::ShowReplaceDialog);
  B.K(VK_HOME, 0, &M::CaretToWindowTop);
  B.K(VK_END, 0, &M::CaretToWindowBottom);
  B.K(VK_HOME, Ct, &S::CaretToFileStart);
  B.K(VK_END, Ct, &S::CaretToFileEnd);
  B.K(VK_F6, Ct, &M::PageDown);
  B.K(VK_F6, Ct | Sh, &M::PageDown);
  B.K(VK_SUBTRACT, Al, &M::CaretToWindowTop);
  B.K(KeyOf('<'), Al, &S::CaretToFileStart);
  AddCursorKeys(B);
  AddShiftSelectKeys(B);
  AddBookmarkKeys(B);
}

void InitVisualStudioKeyMapping(TObject* Control) {
  TBuilder B(Control);
  B.P('K', Ct, 1);
  B.P('Q', Ct, 2);
  B.K(VK_DELETE, Sh, &M::CutToClipboard);
  B.K(VK_INSERT, Sh, &M::PasteFromClipboard);
  B.K(VK_INSERT, Ct, &M::CopyToClipboard);
  B.K('X', Ct, &M::CutToClipboard);
  B.K('V', Ct, &M::PasteFromClipboard);
  B.K('C', Ct, &M::CopyToClipboard);
  B.K(VK_F3, 0, &S::FindNext);
  B.K('F', Ct, &S::ShowFindDialog);
  B.K('G', Al, &M::GoToLineNumber);
  B.K('H', Ct, &S::ShowReplaceDialog);
  B.K('I', Ct, &S::FindNext);
  B.K('L', Ct, &S::DeleteLine);
  B.K('T', Ct, &S::DeleteWordLeft);
  B.K('Y', Ct, &S::DeleteLine);
  B.K('Y', Ct | Sh, &S::DeleteToLineEnd);
  B.K('Z', Ct, &S::Undo);
  B.K('Z', Ct | Sh, &S::Redo);
  B.K('E', Ct, &S::LowerCaseSelection, 1);
  B.K('F', Ct, &S::UpperCaseSelection, 1);
  B.K('A', 0, &S::ShowReplaceDialog, 2);
  B.K('F', 0, &S::ShowFindDialog, 2);
  B.K('Y', 0, &S::DeleteToLineEnd, 2);
  B.K(KeyOf('['), 0, &S::FindClosingBracket, 2);
  B.K(KeyOf('['), Ct, &S::FindClosingBracket, 2);
  B.K(KeyOf(']'), 0, &S::FindOpeningBracket, 2);
  B.K(KeyOf(']'), Ct, &S::FindOpeningBracket, 2);
  B.K(VK_F3, Al, &S::ShowFindDialog);
  B.K(KeyOf('['), Al, &S::FindClosingBracket);
  B.K(KeyOf(']'), Al, &S::FindOpeningBracket);
  B.K(VK_BACK, Ct, &S::DeleteWordLeft);
  B.K(VK_INSERT, 0, &S::ToggleOverwriteMode);
  B.K(VK_BACK, Al, &S::Undo);
  B.K(VK_BACK, Al | Sh, &S::Redo);
  B.K('I', Ct | Sh, &S::BlockIndent);
  B.K('U', Ct | Sh, &S::BlockUnindent);
  B.K(VK_DELETE, Ct, &S::DeleteSelection);
  B.A(VK_HOME, 0, &M::HomeKey);
  B.A(VK_END, 0, &M::EndKey);
  B.A(VK_HOME, Ct, &S::CaretToFileStart);
  B.A(VK_END, Ct, &S::CaretToFileEnd);
  B.A(VK_PRIOR, Ct, &M::CaretToWindowTop);
  B.A(VK_NEXT, Ct, &M::CaretToWindowBottom);
  AddCursorKeys(B);
  AddShiftSelectKeys(B);
  AddBlockChordKeys(B);
  AddBookmarkKeys(B);
  AddQuickChordKeys(B);
}

void RegisterMemoKeyMappings() {
  static const bool Done = [] {
    const TClass C = TCustomDCMemo::StaticClass();
    RegisterKeyMapping(C, "Default", InitDefaultKeyMapping);
    RegisterKeyMapping(C, "Classic", InitClassicKeyMapping);
    RegisterKeyMapping(C, "Brief", InitBriefKeyMapping);
    RegisterKeyMapping(C, "Epsilon", InitEpsilonKeyMapping);
    RegisterKeyMapping(C, "Visual Studio", InitVisualStudioKeyMapping);
    return true;
  }();
  (void)Done;
}
