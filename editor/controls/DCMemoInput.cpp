// The editor's keyboard side: its cursor commands, typed characters, the
// reaction to changes of the memo source and the focus.
#include <algorithm>
#include <climits>

#include "editor/controls/DCMemo.h"
#include "editor/text/EditorDialogs.h"
#include "editor/text/MemoSource.h"
#include "editor/text/Search.h"
#include "editor/view/PopupHint.h"
#include "platform/rtl/Guards.h"
#include "platform/win/Win.h"

namespace {
constexpr Integer MaxLine = INT_MAX;
}  // namespace

// ---------------------------------------------------------------------------
// Cursor commands

void TCustomDCMemo::HomeKey() {
  TCustomMemoSource* S = GetSource();
  Integer Line, Start, Stop;
  RowColumns(TextToRow(S->GetCaretChar(), S->GetCaretLine()).Y, Line, Start, Stop);
  if (FHideCaret) {
    S->BeginUpdate(MemoCode::MoveCaret);
    TUpdateGuard Update(*S, UpdateBegun);
    S->SetCaret(Start, S->GetCaretLine());
    SetFirstColumn(0);
    Invalidate();
    return;
  }
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  if (!S->HasOption(soPersistentBlocks)) S->ClearSelection();
  S->SetCaret(FWordWrap ? Start : 0, S->GetCaretLine());
}

void TCustomDCMemo::EndKey() {
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  if (!S->HasOption(soPersistentBlocks)) S->ClearSelection();
  Integer Line, Start, Stop;
  RowColumns(TextToRow(S->GetCaretChar(), S->GetCaretLine()).Y, Line, Start, Stop);
  if (FWordWrap && Stop != MaxLine)
    S->SetCaret(Stop - 1, Line);  // before the break character of a wrapped row
  else
    S->CaretToLineEnd();
}

void TCustomDCMemo::UpKey() {
  if (FHideCaret) return ScrollLineUp();
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  if (!S->HasOption(soPersistentBlocks)) S->ClearSelection();
  S->CaretUp();
}

void TCustomDCMemo::DownKey() {
  if (FHideCaret) return ScrollLineDown();
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  if (!S->HasOption(soPersistentBlocks)) S->ClearSelection();
  S->CaretDown();
}

void TCustomDCMemo::CaretLeftStep() {
  TCustomMemoSource* S = GetSource();
  if (S->GetCaretChar() == 0 && FOptions.Contains(moNotePadCursorStyle) && S->GetCaretLine() > 0) {
    S->BeginUpdate(MemoCode::MoveCaret);
    TUpdateGuard Update(*S, UpdateBegun);
    S->SetCaret(0, S->GetCaretLine() - 1);
    S->CaretToLineEnd();
    return;
  }
  S->CaretLeft();
}

void TCustomDCMemo::LeftKey() {
  if (FHideCaret) return ScrollHorz(-1);
  CaretLeftStep();
}

void TCustomDCMemo::RightKey() {
  if (FHideCaret) return ScrollHorz(1);
  GetSource()->CaretRight();
}

// Moves the caret by whole rows, keeping its column; Extend says how the
// move extends the selection.
void TCustomDCMemo::MoveCaretRows(Integer Rows, TSelectionType Extend) {
  TCustomMemoSource* S = GetSource();
  const TPoint From = TextToRow(S->GetCaretChar(), S->GetCaretLine());
  const Integer Target = std::clamp<Integer>(From.Y + Rows, 0, std::max<Integer>(LastRowNear(From.Y + Rows), 0));
  const TPoint To = RowToText(From.X, Target);
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  if (Extend == stNotSelected) {
    if (!S->HasOption(soPersistentBlocks)) S->ClearSelection();
    S->SetCaret(To.X, To.Y);
  } else {
    S->SetMoveTarget(To);
    S->ExtendSelection(Extend, &TCustomMemoSource::CaretToMoveTarget);
  }
  const Integer Rows0 = std::max<Integer>(VisibleRows(), 1);
  if (Target < FTopLine || Target >= FTopLine + Rows0) SetTopLine(FTopLine + (Target - From.Y));
}

Integer TCustomDCMemo::PageRows(bool Down) {
  if (FUseMonoFont) return Down ? std::max<Integer>(VisibleRows(), 1) : -std::max<Integer>(VisibleRows(), 1);
  // Measured rows page by pixels: the row one client height below the top
  // (above it), less (plus) one row, becomes the top.
  const Integer H = ClientHeight();
  Integer Rows;
  if (Down) {
    Rows = RowAtY(H) - 1 - FTopLine;
  } else {
    Integer Row = FTopLine, Y = 0;
    while (Row > 0 && Y < H) Y += RowHeight(--Row);
    Rows = (Y >= H ? Row + 1 : Row) - FTopLine;
  }
  return Down ? std::max<Integer>(Rows, 1) : std::min<Integer>(Rows, -1);
}

void TCustomDCMemo::PageMove(bool Down, TSelectionType Extend) {
  const Integer Rows = PageRows(Down);
  if (FUseMonoFont) return MoveCaretRows(Rows, Extend);
  const Integer Top = FTopLine + Rows;
  MoveCaretRows(Rows, Extend);
  SetTopLine(Top);
  MakeCaretVisible();
}

void TCustomDCMemo::PageUp() { PageMove(false, stNotSelected); }
void TCustomDCMemo::PageDown() { PageMove(true, stNotSelected); }

void TCustomDCMemo::CaretToWindowTop() {
  TCustomMemoSource* S = GetSource();
  const TPoint R = TextToRow(S->GetCaretChar(), S->GetCaretLine());
  MoveCaretRows(FTopLine - R.Y, stNotSelected);
}

void TCustomDCMemo::CaretToWindowBottom() {
  TCustomMemoSource* S = GetSource();
  const TPoint R = TextToRow(S->GetCaretChar(), S->GetCaretLine());
  const Integer Bottom = FTopLine + std::max<Integer>(VisibleRows(), 1) - 1;
  MoveCaretRows(std::min(Bottom, LastRowNear(Bottom)) - R.Y, stNotSelected);
}

void TCustomDCMemo::GoToLineNumber() {
  TCustomMemoSource* S = GetSource();
  Integer N = S->GetCaretLine() + 1;
  if (!InputNumber("Go to line Number", "&Enter new line number:", 0, N, OnCreateDialog, this)) return;
  {
    S->BeginUpdate(MemoCode::MoveCaret);
    TUpdateGuard Update(*S, UpdateBegun);
    S->SetCaret(0, std::max<Integer>(N - 1, 0));
  }
  CenterCaretLine();
}

void TCustomDCMemo::EscapeKey() {
  CancelTracking();
  GetSource()->Escape();
}

void TCustomDCMemo::SelectHome() {
  TCustomMemoSource* S = GetSource();
  if (!FWordWrap) return S->SelectToLineStart();
  Integer Line, Start, Stop;
  RowColumns(TextToRow(S->GetCaretChar(), S->GetCaretLine()).Y, Line, Start, Stop);
  MoveCaretRows(0, stStreamSel);
  S->ExtendSelection(stStreamSel, &TCustomMemoSource::CaretToLineStart);
}

void TCustomDCMemo::SelectEnd() { GetSource()->SelectToLineEnd(); }
void TCustomDCMemo::SelectUp() { MoveCaretRows(-1, stStreamSel); }
void TCustomDCMemo::SelectDown() { MoveCaretRows(1, stStreamSel); }
void TCustomDCMemo::SelectLeft() { GetSource()->ExtendSelection(stStreamSel, &TCustomMemoSource::CaretLeft); }
void TCustomDCMemo::SelectPageUp() { PageMove(false, stStreamSel); }
void TCustomDCMemo::SelectPageDown() { PageMove(true, stStreamSel); }
void TCustomDCMemo::SelectToWindowTop() {
  MoveCaretRows(FTopLine - TextToRow(GetSource()->GetCaretChar(), GetSource()->GetCaretLine()).Y, stStreamSel);
}
void TCustomDCMemo::SelectToWindowBottom() {
  MoveCaretRows(FTopLine + std::max<Integer>(VisibleRows(), 1) - 1 -
                    TextToRow(GetSource()->GetCaretChar(), GetSource()->GetCaretLine()).Y,
                stStreamSel);
}
void TCustomDCMemo::BlockSelectPageUp() { PageMove(false, stBlockSel); }
void TCustomDCMemo::BlockSelectPageDown() { PageMove(true, stBlockSel); }
void TCustomDCMemo::BlockSelectToWindowTop() {
  MoveCaretRows(FTopLine - TextToRow(GetSource()->GetCaretChar(), GetSource()->GetCaretLine()).Y, stBlockSel);
}
void TCustomDCMemo::BlockSelectToWindowBottom() {
  MoveCaretRows(FTopLine + std::max<Integer>(VisibleRows(), 1) - 1 -
                    TextToRow(GetSource()->GetCaretChar(), GetSource()->GetCaretLine()).Y,
                stBlockSel);
}

// ---------------------------------------------------------------------------
// Typing

bool TCustomDCMemo::ProcessChar(char Ch) {
  if (GetChordState() != 0 || Byte(Ch) < 32 || Byte(Ch) == 127) return false;
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::InsertText);
  TUpdateGuard Update(*S, UpdateBegun);
  const bool KeepBlock = S->HasOption(soPersistentBlocks) && TCustomMemoSource::GetOverwriteMode();
  const TSelectionType OldType = S->GetSelectionType();
  const TRect OldRect = S->GetSelectionRect();
  S->DeleteSelectionIfOverwrite();
  if (TCustomMemoSource::GetOverwriteMode()) S->DeleteChar();
  if (S->InsertText(AnsiString(1, Ch))) S->CaretRight();
  if (KeepBlock)
    S->SetSelection(OldType, OldRect.Left, OldRect.Top, OldRect.Right, OldRect.Bottom);
  else if (!S->HasOption(soPersistentBlocks) && !S->HasOption(soOverwriteBlocks))
    S->ClearSelection();
  return true;
}

void TCustomDCMemo::KeyPress(char& Key) {
  if (FPopupList && FPopupList->IsOpen()) return PopupListKeyPress(FPopupList.get(), Key);
  const bool StartHint = Byte(Key) >= 32 && OnHintPopup.Assigned() && !(FPopupList && FPopupList->IsOpen());
  inherited::KeyPress(Key);
  StopHintTimer();
  if (StartHint && HandleAllocated()) {
    FHintPos = GetSource()->GetCaretPoint();
    SetTimer(Handle(), 2, 500, nullptr);
  }
}

// ---------------------------------------------------------------------------
// Reaction to the memo source

void TCustomDCMemo::SourceChanged(TObject* /*Sender*/, Integer FirstLine, Integer LastLine) {
  TCustomMemoSource* S = GetSource();
  const TMemoStates States = S->State();
  if (FWordWrap && FCreated) {
    if (States.Contains(msCountChanged)) {
      // Lines moved: breaks below the change no longer belong to their
      // lines; recompute from the change, the rest lazily.
      FBreaks.erase(std::lower_bound(FBreaks.begin(), FBreaks.end(), FirstLine,
                                     [](const TWrapBreak& B, Integer L) { return B.Line < L; }),
                    FBreaks.end());
      FWrappedUpTo = std::min(FWrappedUpTo, std::max<Integer>(FirstLine, 0));
      FInLazyWrap = true;
      RecomputeWrap(std::max<Integer>(FirstLine, 0), std::max<Integer>(FirstLine, 0) + 1);
      FInLazyWrap = false;
    } else if (States.Contains(msEdited) || States.Contains(msParserChanged)) {
      const Integer Last = std::min<Integer>(LastLine, S->GetLineCount() - 1);
      if (FirstLine <= Last) {
        FInLazyWrap = true;
        RecomputeWrap(FirstLine, Last);
        FInLazyWrap = false;
      }
    }
  }
  if (!FUseMonoFont) {
    // Measured rows of changed lines are measured again; moved lines take
    // their rows' indexes along, so a change of the count forgets all.
    if (States.Contains(msCountChanged))
      FRowMetrics.clear();
    else if (States.Contains(msEdited) || States.Contains(msParserChanged) || States.Contains(msNeedInvalidate))
      ForgetRowMetrics(FirstLine, LastLine);
  }
  if (States.Contains(msReadOnlyChanged) && GetColor() != FReadOnlyColor) Invalidate();
  const Integer OldTop = FTopLine, OldColumn = FFirstColumn;
  const bool Active = S->GetActiveEditor() == this;
  if (Active && (States.Contains(msPositionChanged) || States.Contains(msEdited))) {
    if (FLineHighlight->GetVisible() && FLastCaret.Y != S->GetCaretLine() && HandleAllocated()) {
      // The highlight leaves the old caret line and comes to the new one.
      InvalidateLines(FLastCaret.Y, FLastCaret.Y);
      InvalidateLines(S->GetCaretLine(), S->GetCaretLine());
    }
    FLastCaret = S->GetCaretPoint();
    if (FOptions.Contains(moCenterOnBookmark) && S->BookmarkJumped() && !CaretRowShown())
      CenterCaretLine();
    else
      MakeCaretVisible();
    if (States.Contains(msPositionChanged) && HandleAllocated() && SearchCaretMoveWanted(S)) {
      // The Find and Replace window steps off the line the caret went to.
      const TPoint P = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
      const TPoint TopLeft = ClientToScreen({0, P.Y});
      const TPoint BottomRight = ClientToScreen({ClientWidth(), P.Y + CaretRowHeight()});
      SearchSourceCaretMoved(S, {TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y});
    }
  } else if (States.Contains(msInsState)) {
    CreateTheCaret();
  }
  if (!States.Empty()) DoStateChange(States);
  if (States.Contains(msPositionChanged) || States.Contains(msBlockChanged)) DoSelectionChange();
  if (HandleAllocated()) {
    const bool Moved = FTopLine != OldTop || FFirstColumn != OldColumn;
    const bool Repaint = States.Contains(msEdited) || States.Contains(msBlockChanged) ||
                         States.Contains(msFoundRectChanged) || States.Contains(msNeedInvalidate) ||
                         States.Contains(msParserChanged);
    if (States.Contains(msCountChanged) && FOptions.Contains(moLineNumbers) &&
        FNumberDigits != 0 && LineNumberColumnWidth() != 0 && FNumberDigits != 0)
      Invalidate();
    if (Moved && Repaint)
      Invalidate();
    else if (Repaint)
      InvalidateLines(FirstLine, States.Contains(msCountChanged) ? MaxLine : LastLine);
    if (States.Contains(msPositionChanged) && FOptions.Contains(moDrawGutter) == false) UpdateCaret();
  }
  const bool HorzFollowsText = FHideScrollBars && (FScrollBars == ssHorizontal || FScrollBars == ssBoth) &&
                               (States.Contains(msEdited) || States.Contains(msParserChanged));
  if (States.Contains(msCountChanged) || States.Contains(msPositionChanged) || HorzFollowsText) UpdateScrollBars();
  UpdateCaret();
  if (States.Contains(msEdited) && OnChange.Assigned()) OnChange(this);
}

void TCustomDCMemo::DoStateChange(TMemoStates States) {
  if (!States.Empty() && OnStateChange.Assigned()) OnStateChange(this, States);
}

void TCustomDCMemo::DoSelectionChange() {
  if (OnSelectionChange.Assigned()) OnSelectionChange(this);
}

void TCustomDCMemo::DoMemoScroll(TScrollStyle Style, Integer Delta) {
  if (OnMemoScroll.Assigned()) OnMemoScroll(this, Style, Delta);
}

void TCustomDCMemo::DoVerticalScroll(Integer Code) {
  if (!FOptions.Contains(moShowScrollHint)) return;
  if (Code != SB_THUMBTRACK && Code != SB_ENDSCROLL) return;
  Integer Top = FTopLine;
  if (Code == SB_THUMBTRACK && !FOptions.Contains(moThumbTracking)) {
    SCROLLINFO Si{};
    Si.cbSize = sizeof(Si);
    Si.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), SB_VERT, &Si);
    Top = Si.nTrackPos;
  }
  const Integer Line = LineOfRow(Top);
  AnsiString Hint = "~Line~ " + IntToStr(Line + 1);
  bool Show = true;
  if (OnVerticalScroll.Assigned()) OnVerticalScroll(this, Line, Code == SB_ENDSCROLL, Show, Hint);
  if (!Show) return;
  if (Code == SB_ENDSCROLL) {
    FPopupHint->HideHint();
    return;
  }
  TPoint Mouse;
  GetCursorPos(&Mouse);
  TPoint Client = ScreenToClient(Mouse);
  Client.Y = std::clamp<Integer>(Client.Y, 0, ClientHeight());
  const TSize Size = FPopupHint->TextSize(Hint);
  const TPoint At = ClientToScreen({ClientWidth() - Size.cx, Client.Y});
  FPopupHint->SetAutoHide(false);
  FPopupHint->ShowAt(At, Hint);
}

// ---------------------------------------------------------------------------
// Focus

void TCustomDCMemo::WMSetFocus(TMessage& /*Message*/) {
  TCustomMemoSource* S = GetSource();
  S->SetActiveEditor(this);
  // The Find and Replace window acts on the text of the editor focused last.
  SetCurrentSearchSource(S);
  S->CaretMoveHook = TCaretMoveHook(this, &TCustomDCMemo::CaretMoveHook);
  if (S->GetCaretPoint() != FLastCaret) {
    S->BeginUpdate(MemoCode::MoveCaret);
    TUpdateGuard Update(*S, UpdateBegun);
    S->SetCaret(FLastCaret.X, FLastCaret.Y);
  }
  CreateTheCaret();
  if (FHideSelection) Invalidate();
  if (FLineHighlight->GetVisible()) InvalidateCaretLine();
  DoStateChange(TMemoStates{msPositionChanged, msInsState, msCountChanged, msModifiedChanged, msObjNameChanged});
}

void TCustomDCMemo::WMKillFocus(TMessage& /*Message*/) {
  CancelTracking();
  if (FHideSelection) Invalidate();
  if (FLineHighlight->GetVisible()) InvalidateCaretLine();
  DestroyCaret();
  FCaretCreated = false;
  HidePopupHint();
  TCustomMemoSource* S = GetSource();
  if (S->GetActiveEditor() == this) S->CaretMoveHook = TCaretMoveHook();
}

// Vertical moves under word wrap go by visual rows and keep the caret's
// column within the row; other moves are the source's own.
void TCustomDCMemo::CaretMoveHook(TObject* /*Sender*/, Integer& DeltaLine, Integer& DeltaChar) {
  TCustomMemoSource* S = GetSource();
  if (S->GetManualPosition() || DeltaChar != 0) {
    FRememberedX = -1;
    if (S->GetManualPosition() || !FWordWrap) return;
  }
  if (!FWordWrap && FUseMonoFont) return;
  const TPoint From = TextToRow(S->GetCaretChar(), S->GetCaretLine());
  if (DeltaChar == 0 && !FUseMonoFont) {
    // Measured rows differ in width: up and down keep the caret's pixel x.
    const Integer Scrolled = FWordWrap ? 0 : FFirstColumn * CharWidth();
    if (FRememberedX < 0) FRememberedX = TextToPoint(S->GetCaretChar(), S->GetCaretLine()).X + Scrolled;
    Integer Row = std::max<Integer>(From.Y + DeltaLine, 0);
    if (!S->HasOption(soBeyondFileEnd)) Row = std::min(Row, LastRowNear(Row));
    const TPoint To = MeasuredPointToText(FRememberedX - Scrolled, Row, true);
    DeltaLine = To.Y - S->GetCaretLine();
    DeltaChar = To.X - S->GetCaretChar();
    return;
  }
  if (DeltaChar == 0) {
    if (FRememberedX < 0) FRememberedX = From.X;
    Integer Row = From.Y + DeltaLine;
    if (Row < 0) Row = 0;
    if (!S->HasOption(soBeyondFileEnd)) Row = std::min(Row, LastRowNear(Row));
    Integer Line, Start, Stop;
    RowColumns(Row, Line, Start, Stop);
    Integer Column = Start + FRememberedX;
    if (Stop != MaxLine) Column = std::min(Column, Stop - 1);
    DeltaLine = Line - S->GetCaretLine();
    DeltaChar = Column - S->GetCaretChar();
  }
}
