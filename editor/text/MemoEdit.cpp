// The elementary edits of the memo source and the key commands built on them.
#include <algorithm>
#include <climits>

#include "editor/text/MemoSource.h"
#include "platform/rtl/Guards.h"

#include <cstring>

namespace {
constexpr Integer MaxInt = INT_MAX;
bool GOverwriteMode = false;

bool IsBlankChar(char C) { return Byte(C) <= 32; }

// Where a display column falls in a stored line.
struct TColumnSpot {
  Integer Index = 0;  // character under the column (the text's length beyond its end)
  Integer Start = 0;  // display column where that character starts
  Integer End = 0;    // display column after it
  bool InTab = false; // strictly inside an expanded TAB (not at its start)
};
}  // namespace

static TColumnSpot LocateColumn(const TCustomMemoSource& Src, const AnsiString& S, Integer Column) {
  TColumnSpot R;
  if (Column >= 0 && !std::memchr(S.data(), '\t', std::min(S.size(), size_t(Column) + 1))) {
    // One column per character up to the one asked for.
    R.Index = R.Start = std::min(Column, Integer(S.size()));
    R.End = Column < Integer(S.size()) ? Column + 1 : R.Start;
    return R;
  }
  Integer Col = 0, StopIndex = 0;
  for (Integer I = 0; I < Integer(S.size()); ++I) {
    Integer Next = Col + 1;
    if (S[size_t(I)] == '\t') {
      Integer Stop = Src.GetTabStop(StopIndex);
      while (Stop < Col + 1) Stop = Src.GetTabStop(++StopIndex);
      Next = Stop;
    }
    if (Column < Next) {
      R.Index = I;
      R.Start = Col;
      R.End = Next;
      R.InTab = S[size_t(I)] == '\t' && Column > Col;
      return R;
    }
    Col = Next;
  }
  R.Index = Integer(S.size());
  R.Start = R.End = Col;
  return R;
}

static Integer DisplayLength(const TCustomMemoSource& Src, const AnsiString& S) {
  return Src.CharToVisualIndex(S, Integer(S.size()));
}

// ---------------------------------------------------------------------------
// Elementary edits

void TCustomMemoSource::MoveCaret(Integer DeltaLine, Integer DeltaChar) {
  if (CaretMoveHook.Assigned()) CaretMoveHook(this, DeltaLine, DeltaChar);
  const Integer L = FCaret->LinePos, C = FCaret->CharPos;
  if (L + DeltaLine < 0) DeltaLine = -L;
  if (C + DeltaChar < 0) DeltaChar = -C;
  if (!FOptions.Contains(soBeyondFileEnd) && DeltaLine > 0) {
    const Integer Count = GetLineCount();
    const Integer LastLine = Count > 0 ? Count - 1 : 0;
    if (L + DeltaLine > LastLine) DeltaLine = LastLine - L;
  }
  const Integer NL = L + DeltaLine;
  if (FOptions.Contains(soLimitEOL)) {
    const Integer Len = DisplayLength(*this, GetLineText(NL));
    if (C + DeltaChar > Len) DeltaChar = std::max(Len, 0) - C;
  }
  if (FOptions.Contains(soCursorAlwaysOnTabs)) {
    const Integer Target = C + DeltaChar;
    const TColumnSpot Spot = LocateColumn(*this, GetLineText(NL), Target);
    if (Spot.InTab) DeltaChar = (Target - Spot.Start < Spot.End - Target ? Spot.Start : Spot.End) - C;
  }
  if (DeltaLine == 0 && DeltaChar == 0 && !FGotoBookmark) return;
  BeginUpdate(MemoCode::MoveCaret);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    if (DeltaLine != 0) TrimTrailingBlanks(false);
    if (TUndoRecord* R = AddUndoRecord(ukCaretMove)) {
      R->ValueA = DeltaLine;
      R->ValueB = DeltaChar;
    }
    SetCaretDirect(C + DeltaChar, NL);
    if (FManualPosition && NL < GetLineCount()) ExpandHiddenAbove(NL);
  }
}

bool TCustomMemoSource::InsertText(const AnsiString& Text) {
  if (Text.empty()) return false;
  BeginUpdate(MemoCode::InsertText);
  bool Done = false;
  try {
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    if (L >= GetLineCount()) {
      const Integer From = GetLineCount();
      while (L >= GetLineCount()) FStrings->Insert(GetLineCount(), AnsiString());
      MarkLinesChanged(From, MaxInt);
    }
    if (!IsLineReadOnly(L)) {
      TStringItem* Item = GetLineItem(L);
      const bool Keeps = ParserKeepsAttributes();
      AnsiString NewAttrs;
      if (Keeps) {
        if (FHasNextInsertAttrs) {
          NewAttrs = FNextInsertAttrs;
          NewAttrs.resize(Text.size(), '\0');
        } else {
          NewAttrs.assign(Text.size(), char(GetAttributeAt(Col, L)));
        }
        AdjustAttrLength(Item);
      }
      FHasNextInsertAttrs = false;
      AnsiString& S = Item->Text;
      // Padding up to a caret beyond the end, and the part of a TAB left of
      // the caret, are stored in front of the text and undone with it.
      const Integer OldLen = DisplayLength(*this, S);
      const TColumnSpot Spot = LocateColumn(*this, S, Col);
      const Integer Prefix = OldLen < Col ? Col - OldLen : Spot.InTab ? Col - Spot.Start : 0;
      const Integer LenBefore = OldLen;
      // Inserted in place: no joined copy of the run per call.
      S.insert(size_t(Spot.Index), Text);
      if (Prefix > 0) S.insert(size_t(Spot.Index), size_t(Prefix), ' ');
      if (Keeps) {
        const char TabAttr = Spot.Index < Integer(Item->Attributes.size()) ? Item->Attributes[size_t(Spot.Index)] : '\0';
        Item->Attributes.insert(size_t(Spot.Index), NewAttrs);
        if (Prefix > 0) Item->Attributes.insert(size_t(Spot.Index), size_t(Prefix), TabAttr);
        AdjustAttrLength(Item);
      }
      Item->Flags &= Byte(~lfParsed);
      FInsertedLength = Text.find('\t') != AnsiString::npos ? DisplayLength(*this, S) - LenBefore : Integer(Text.size());
      const Integer StoredLen = Prefix + Integer(Text.size());
      const Integer TextLen = Integer(Text.size());
      if (StoredLen != TextLen) {
        // Undo must delete the spaces put in front and land back inside the TAB.
        BeginUndoBlock();
        if (TUndoRecord* R = AddUndoRecord(ukCaretMove)) R->ValueB = TextLen - StoredLen;
        if (TUndoRecord* R = AddUndoRecord(ukInsertText)) R->ValueA = StoredLen;
        if (TUndoRecord* R = AddUndoRecord(ukCaretMove)) R->ValueB = StoredLen - TextLen;
        EndUndoBlock();
      } else if (TUndoRecord* R = AddUndoRecord(ukInsertText)) {
        R->ValueA = StoredLen;
      }
      FBookmarks.ShiftColumns(L, Col, FInsertedLength);
      AdjustPositions(1, FInsertedLength);
      if (ReparseLine(L))
        UpdateLongestLine();
      else
        LongestAfterInsert(L);
      Done = true;
    }
  } catch (...) {
    FHasNextInsertAttrs = false;
    EndUpdate();
    throw;
  }
  EndUpdate();
  return Done;
}

Integer TCustomMemoSource::InsertTextWithAttrs(const AnsiString& Text, const AnsiString& Attrs) {
  FNextInsertAttrs = Attrs;
  FHasNextInsertAttrs = true;
  FInsertedLength = 0;
  InsertText(Text);
  FHasNextInsertAttrs = false;
  return FInsertedLength;
}

void TCustomMemoSource::DeleteChars(Integer Count) {
  const Integer L = FCaret->LinePos;
  if (Count <= 0 || L >= GetLineCount() || IsLineReadOnly(L)) return;
  Integer Col = FCaret->CharPos;
  if (Col >= DisplayLength(*this, GetLineText(L))) return;
  BeginUpdate(MemoCode::DeleteChars);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    TColumnSpot Spot = LocateColumn(*this, GetLineText(L), Col);
    if (Spot.InTab) {
      // Split the TAB: its part up to the caret becomes spaces, so the
      // deletion starts at a plain space and the TAB keeps the rest.
      BeginUndoBlock();
      MoveCaret(0, Spot.Start - Col);
      InsertText(AnsiString(size_t(Col - Spot.Start + 1), ' '));
      MoveCaret(0, Col - FCaret->CharPos);
      EndUndoBlock();
      Col = FCaret->CharPos;
      Spot = LocateColumn(*this, GetLineText(L), Col);
    }
    TStringItem* Item = GetLineItem(L);
    const bool Keeps = ParserKeepsAttributes();
    if (Keeps) AdjustAttrLength(Item);
    AnsiString& S = Item->Text;
    const Integer LenBefore = DisplayLength(*this, S);
    const size_t From = size_t(Spot.Index);
    const size_t N = std::min(size_t(Count), S.size() - From);
    const AnsiString Deleted = S.substr(From, N);
    AnsiString DeletedAttrs;
    S.erase(From, N);
    if (Keeps) {
      DeletedAttrs = Item->Attributes.substr(From, N);
      Item->Attributes.erase(From, N);
    }
    Item->Flags &= Byte(~lfParsed);
    const Integer Width = LenBefore - DisplayLength(*this, S);
    if (TUndoRecord* R = AddUndoRecord(ukDeleteChars)) {
      R->Text = Deleted;
      R->Attrs = DeletedAttrs;
    }
    if (GetLineCount() == 1 && GetLineText(0).empty()) FStrings->Clear();
    AdjustPositions(4, Width);
    FBookmarks.ShiftColumns(L, Col + Width - 1, -Width);
    const bool WasLongest = FLongestIndex == L;
    if (ReparseLine(L) || WasLongest) UpdateLongestLine();
  }
}

void TCustomMemoSource::InsertLineBreak() {
  BeginUpdate(MemoCode::LineBreak);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    if (GetLineCount() == 0) {
      FStrings->Insert(0, AnsiString());
      MarkLinesChanged(0, 0);
    }
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    if (L < GetLineCount() && !IsLineReadOnly(L)) {
      ExpandCollapsedHead(L);
      const bool Keeps = ParserKeepsAttributes();
      Integer SplitAttr = -1;
      if (Keeps && !FInUndo && !InImport) SplitAttr = GetAttributeAt(Col, L);
      FStrings->Insert(L + 1, AnsiString());
      TStringItem* Item = GetLineItem(L);
      TStringItem* NewItem = GetLineItem(L + 1);
      if (Col == 0) NewItem->LineData = Item->LineData;
      const bool WasEmpty = Item->Text.empty();
      if (Keeps) AdjustAttrLength(Item);
      const TColumnSpot Spot = LocateColumn(*this, Item->Text, Col);
      NewItem->Text = Item->Text.substr(size_t(Spot.Index));
      Item->Text.resize(size_t(Spot.Index));
      if (Keeps) {
        if (SplitAttr >= 0) DefaultAttribute = SplitAttr;
        NewItem->Attributes = Item->Attributes.substr(size_t(Spot.Index));
        Item->Attributes.resize(size_t(Spot.Index));
      }
      Item->Flags &= Byte(~lfParsed);
      FBookmarks.ShiftLines(L, Col, 1);
      FBookmarks.ShiftColumns(L + 1, Col - 1, -Col);
      ShiftHiddenLines(L, 1);
      LineBreakInRegion(L);
      ReparseLine(L);
      if (Col == 0 || WasEmpty) {
        NewItem->Marks = Item->Marks;
        NewItem->LineStyle = Item->LineStyle;
        NewItem->Objects = Item->Objects;
        Item->Marks = 0;
        Item->LineStyle = 0;
        Item->Objects = nullptr;
      }
      if (FLongestIndex == L)
        UpdateLongestLine();
      else if (FLongestIndex > L)
        ++FLongestIndex;
      AddUndoRecord(ukLineBreak);
      if (!FInUndo) TrimTrailingBlanks(true);
      AdjustPositions(2, 0);
      MarkLinesChanged(L, MaxInt);
    }
  }
}

void TCustomMemoSource::DeleteChar() {
  Integer L = FCaret->LinePos;
  const Integer Col = FCaret->CharPos;
  if (FInUndo && L < GetLineCount() && !IsLineReadOnly(L)) {
    // Undoing a break that trimmed blanks: what lies beyond the caret is
    // only those blanks, and the join puts the caret's column back.
    TStringItem* Item = GetLineItem(L);
    const TColumnSpot Spot = LocateColumn(*this, Item->Text, Col);
    if (Spot.Index < Integer(Item->Text.size()) &&
        std::all_of(Item->Text.begin() + Spot.Index, Item->Text.end(), IsBlankChar)) {
      BeginUpdate(MemoCode::DeleteChar);
      Item->Text.resize(size_t(Spot.Index));
      if (ParserKeepsAttributes()) AdjustAttrLength(Item);
      Item->Flags &= Byte(~lfParsed);
      MarkLinesChanged(L, L);
      EndUpdate();
    }
  }
  const Integer Count = GetLineCount();
  if (Count <= 1 || L >= Count - 1 || IsLineReadOnly(L) || IsLineReadOnly(L + 1)) return;
  if (Col < DisplayLength(*this, GetLineText(L))) return;
  BeginUpdate(MemoCode::DeleteChar);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    ExpandCollapsedHead(L);
    ExpandCollapsedHead(L + 1);
    TStringItem* Item = GetLineItem(L);
    TStringItem* Next = GetLineItem(L + 1);
    const Integer Pad = Col - DisplayLength(*this, Item->Text);
    const Integer Joined = Col;  // the text with its padding
    if (ParserKeepsAttributes()) {
      AdjustAttrLength(Item);
      AdjustAttrLength(Next);
      const char Last = Item->Attributes.empty() ? '\0' : Item->Attributes.back();
      Item->Attributes.append(size_t(Pad), Last);
      Item->Attributes += Next->Attributes;
    }
    Item->Text.append(size_t(Pad), ' ');
    Item->Text += Next->Text;
    if (Col == 0) Item->LineData = Next->LineData;
    Item->Marks |= Next->Marks;
    if (!Item->LineStyle) Item->LineStyle = Next->LineStyle;
    if (!Item->Objects) Item->Objects = Next->Objects;
    Item->Flags &= Byte(~lfParsed);
    const bool NextWasLongest = FLongestIndex == L + 1;
    FStrings->Delete(L + 1);
    if (GetLineCount() == 1 && GetLineText(0).empty()) FStrings->Clear();
    FBookmarks.ShiftColumns(L + 1, 0, Joined);
    FBookmarks.ShiftLines(L, MaxInt, -1);
    ShiftHiddenLines(L, -1);
    AddUndoRecord(ukJoinLines);
    AdjustPositions(3, 0);
    MarkLinesChanged(L, MaxInt);
    if (FTrackLongest) {
      if (NextWasLongest || FLongestIndex > L + 1) --FLongestIndex;
      LongestAfterInsert(L);
    }
  }
}

void TCustomMemoSource::TrimTrailingBlanks(bool MoveCaret) {
  if (FKeepBlanks) return;
  const Integer L = FCaret->LinePos;
  TStringItem* Item = GetLineItem(L);
  if (!Item || Item->Text.empty() || !IsBlankChar(Item->Text.back())) return;
  BeginUpdate(MemoCode::DeleteChars);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    size_t N = Item->Text.size();
    while (N > 0 && IsBlankChar(Item->Text[N - 1])) --N;
    if (MoveCaret && FAllowUndo && !IsLineReadOnly(L)) {
      // Through recorded moves, so undo puts the blanks back where they were.
      const Integer Col = FCaret->CharPos;
      const Integer End = CharToVisualIndex(Item->Text, Integer(N));
      if (TUndoRecord* R = AddUndoRecord(ukCaretMove)) R->ValueB = End - Col;
      SetCaretDirect(End, L);
      DeleteChars(MaxInt);
      if (TUndoRecord* R = AddUndoRecord(ukCaretMove)) R->ValueB = Col - End;
      SetCaretDirect(Col, L);
    } else {
      Item->Text.resize(N);
      if (ParserKeepsAttributes()) AdjustAttrLength(Item);
      Item->Flags &= Byte(~lfParsed);
      ReparseLine(L);
    }
  }
}

bool TCustomMemoSource::DeleteSelectionIfOverwrite() {
  if (FUpdateCount > 1 || !FOptions.Contains(soOverwriteBlocks) || FOptions.Contains(soPersistentBlocks) ||
      !HasSelection() || IsSelectionEmpty(FSelectionType))
    return false;
  DeleteSelection();
  return true;
}

void TCustomMemoSource::GetDisplayText(Integer Line, bool Special, AnsiString& Text, char TabChar, char SpaceChar) {
  if (!Special || (!TabChar && !SpaceChar)) {
    Text = GetExpandedLine(Line);
    return;
  }
  const AnsiString& S = GetLineText(Line);
  Text.clear();
  Integer StopIndex = 0;
  for (char C : S) {
    if (C == ' ') {
      Text += SpaceChar ? SpaceChar : ' ';
    } else if (C == '\t') {
      const Integer Col = Integer(Text.size());
      Integer Stop = GetTabStop(StopIndex);
      while (Stop < Col + 1) Stop = GetTabStop(++StopIndex);
      const Integer Width = Stop - Col;
      Text.append(size_t(Width), ' ');
      if (TabChar) Text[size_t(Col + (Width - 1) / 2)] = TabChar;
    } else {
      Text += C;
    }
  }
}

// ---------------------------------------------------------------------------
// Caret commands

void TCustomMemoSource::CaretLeftOverTab() {
  const Integer Col = FCaret->CharPos;
  if (Col == 0) return;
  const Integer Width = Col <= DisplayLength(*this, GetLineText(FCaret->LinePos))
                            ? GetTabWidthAt(Col, FCaret->LinePos, false)
                            : 1;
  MoveCaret(0, -Width);
}

void TCustomMemoSource::CaretRightOverTab() {
  MoveCaret(0, GetTabWidthAt(FCaret->CharPos + 1, FCaret->LinePos, true));
}

void TCustomMemoSource::CaretLeft() {
  if (FOptions.Contains(soCursorOnTabs) || FOptions.Contains(soCursorAlwaysOnTabs))
    CaretLeftOverTab();
  else
    MoveCaret(0, -1);
}

void TCustomMemoSource::CaretRight() {
  const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
  if ((FOptions.Contains(soCursorOnTabs) || FOptions.Contains(soCursorAlwaysOnTabs)) &&
      GetTabWidthAt(Col + 1, L, true) > 1) {
    CaretRightOverTab();
    return;
  }
  if (FOptions.Contains(soLimitEOL) && Col >= DisplayLength(*this, GetLineText(L))) {
    if (L + 1 < GetLineCount() && FSelectionType != stBlockSel) SetCaret(0, L + 1);
    return;
  }
  MoveCaret(0, 1);
}

void TCustomMemoSource::CaretUp() { MoveCaret(-1, 0); }
void TCustomMemoSource::CaretDown() { MoveCaret(1, 0); }
void TCustomMemoSource::CaretToLineStart() { SetCaret(0, FCaret->LinePos); }

void TCustomMemoSource::CaretToLineEnd() {
  AnsiString S = GetExpandedLine(FCaret->LinePos);
  if (!FKeepBlanks) {
    size_t N = S.size();
    while (N > 0 && IsBlankChar(S[N - 1])) --N;
    S.resize(N);
  }
  SetCaret(Integer(S.size()), FCaret->LinePos);
}

void TCustomMemoSource::CaretToFileStart() { SetCaret(0, 0); }

void TCustomMemoSource::CaretToFileEnd() {
  BeginUpdate(MemoCode::MoveCaret);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer Last = std::max(GetLineCount() - 1, 0);
    SetCaret(FCaret->CharPos, Last);
    CaretToLineEnd();
  }
}

void TCustomMemoSource::WordRight() {
  BeginUpdate(MemoCode::MoveCaret);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    const AnsiString S = GetExpandedLine(L);
    const Integer Len = Integer(S.size());
    if (Col < Len) {
      Integer P = Col;
      while (P < Len && !IsDelimChar(S[size_t(P)])) ++P;
      while (P < Len && IsDelimChar(S[size_t(P)])) ++P;
      SetCaret(P, L);
    } else if (L + 1 < GetLineCount()) {
      SetCaret(0, L + 1);
    }
  }
}

void TCustomMemoSource::WordLeft() {
  BeginUpdate(MemoCode::MoveCaret);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    if (Col == 0) {
      if (L > 0) SetCaret(DisplayLength(*this, GetLineText(L - 1)), L - 1);
    } else {
      const AnsiString S = GetExpandedLine(L);
      Integer P = std::min(Col, Integer(S.size())) - 1;
      while (P >= 0 && IsDelimChar(S[size_t(P)])) --P;
      while (P >= 0 && !IsDelimChar(S[size_t(P)])) --P;
      SetCaret(P + 1, L);
    }
  }
}

// ---------------------------------------------------------------------------
// Editing commands

Integer TCustomMemoSource::LineIndent(Integer Line) {
  const AnsiString S = GetExpandedLine(Line);
  Integer I = 0;
  while (I < Integer(S.size()) && S[size_t(I)] == ' ') ++I;
  return I;
}

void TCustomMemoSource::Backspace() {
  if (DeleteSelectionIfOverwrite()) return;
  BeginUpdate(MemoCode::Backspace);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    const AnsiString S = GetExpandedLine(L);
    if (Col > 0 && (L >= GetLineCount() || Col > Integer(S.size()))) {
      CaretLeft();
    } else if (Col > 0) {
      const bool OnlySpacesBefore = std::all_of(S.begin(), S.begin() + Col, [](char C) { return C == ' '; });
      if (FOptions.Contains(soBackUnindents) && OnlySpacesBefore && !IsLineReadOnly(L)) {
        // Unindent to the previous indent level: the word start, left of
        // the caret column, in the nearest line indented less.
        Integer Ref = 0;
        for (Integer I = L - 1; I >= 0; --I) {
          const AnsiString T = GetExpandedLine(I);
          if (Trim(T).empty()) continue;
          if (LineIndent(I) < Col) {
            Ref = I;
            break;
          }
        }
        const AnsiString T = GetExpandedLine(Ref);
        auto CharAtCol = [&](Integer P) { return P < Integer(T.size()) ? T[size_t(P)] : ' '; };
        Integer P = Col - 1;
        while (P >= 0 && CharAtCol(P) == ' ') --P;
        while (P >= 0 && CharAtCol(P) != ' ') --P;
        const Integer Target = P + 1;
        if (FOptions.Contains(soUseTabCharacter)) {
          const AnsiString& Raw = GetLineText(L);
          Integer From = Target, To = Col;
          VisualToCharIndex(Raw, From);
          VisualToCharIndex(Raw, To);
          const TColumnSpot Spot = LocateColumn(*this, Raw, Target);
          SetCaret(Spot.Start, L);
          DeleteChars(To - From);
          const Integer Indent = LineIndent(L);
          if (Indent < Target) {
            SetCaret(Indent, L);
            InsertText(AnsiString(size_t(Target - Indent), ' '));
          }
        } else {
          SetCaret(0, L);
          DeleteChars(Col - Target);
        }
        SetCaret(Target, L);
      } else {
        CaretLeftOverTab();
        DeleteChars(1);
      }
    } else if (L > 0) {
      SetCaret(0, L - 1);
      CaretToLineEnd();
      DeleteChar();
    }
  }
}

void TCustomMemoSource::DeleteKey() {
  if (DeleteSelectionIfOverwrite()) return;
  if (FCaret->CharPos < DisplayLength(*this, GetLineText(FCaret->LinePos)))
    DeleteChars(1);
  else
    DeleteChar();
}

void TCustomMemoSource::NewLine() {
  BeginUpdate(MemoCode::NewLine);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
    const bool AutoIndent = FOptions.Contains(soAutoIndent);
    if (GetOverwriteMode()) {
      Integer Target = 0;
      if (AutoIndent) {
        const AnsiString S = GetExpandedLine(L);
        const bool Empty = Trim(S).empty();
        Target = Empty || Col > LineIndent(L) ? LineIndent(L + 1) : Col;
      }
      MoveCaret(1, Target - Col);
    } else {
      DeleteSelectionIfOverwrite();
      const Integer L0 = FCaret->LinePos, C0 = FCaret->CharPos;
      const bool UsePrev = AutoIndent && FOptions.Contains(soUseTabCharacter) && FOptions.Contains(soUsePrevIndent);
      const AnsiString PrevText = GetLineText(L0);
      const AnsiString S = GetExpandedLine(L0);
      const bool LineEmpty = Trim(S).empty();
      InsertLineBreak();
      Integer A = 0;
      if (AutoIndent) {
        const bool InLeading = C0 <= Integer(S.size()) &&
                               std::all_of(S.begin(), S.begin() + std::min<Integer>(C0, Integer(S.size())),
                                           [](char C) { return C == ' '; });
        if (LineEmpty || (C0 == 0 && !S.empty() && S[0] != ' ')) {
          for (Integer I = L0; I >= 0; --I) {
            if (!Trim(GetExpandedLine(I)).empty()) {
              A = LineIndent(I);
              break;
            }
          }
        } else if (InLeading) {
          A = C0;
        } else {
          A = LineIndent(L0);
        }
      }
      SetCaret(0, L0 + 1);
      if (AutoIndent && A > 0) {
        AnsiString Indent;
        if (!FOptions.Contains(soUseTabCharacter)) {
          Indent.assign(size_t(A), ' ');
        } else if (UsePrev && !PrevText.empty()) {
          Integer Col = 0;
          for (char C : PrevText) {
            if (Col >= A) break;
            if (C == '\t') {
              Indent += C;
              Col = CharToVisualIndex(Indent, Integer(Indent.size()));
            } else {
              Indent += ' ';
              ++Col;
            }
          }
          if (Col < A) Indent.append(size_t(A - Col), ' ');
        } else if (FOptions.Contains(soOptimalFill)) {
          Integer LastStop = 0;
          for (Integer I = 0; GetTabStop(I) <= A; ++I) {
            Indent += '\t';
            LastStop = GetTabStop(I);
          }
          Indent.append(size_t(A - LastStop), ' ');
        } else {
          Indent.assign(size_t(A), ' ');
        }
        InsertText(Indent);
        SetCaret(A, L0 + 1);
      }
    }
  }
}

Integer TCustomMemoSource::SmartTabTarget(Integer StopIndex, Integer Column, Integer Line) {
  const Integer Result = GetTabStop(StopIndex);
  if (!FOptions.Contains(soSmartTab) || Line <= 0) return Result;
  for (Integer I = Line - 1; I >= 0; --I) {
    const AnsiString S = GetExpandedLine(I);
    const Integer Len = Integer(S.size());
    if (Len <= Column) continue;
    Integer First = 0;
    while (First < Len && (S[size_t(First)] == ' ' || S[size_t(First)] == '\t')) ++First;
    if (First > Column) return First;
    // Where a word-right from Column would land on that line.
    Integer P = Column;
    while (P < Len && !IsDelimChar(S[size_t(P)])) ++P;
    while (P < Len && IsDelimChar(S[size_t(P)])) ++P;
    return P;
  }
  return Result;
}

void TCustomMemoSource::TabKey() {
  BeginUndoBlock();
  BeginUpdate(MemoCode::TabKey);
  const AnsiString OldTabString = FTabString;
  try {
    bool Multi = false;
    if (HasSelection() && !IsSelectionEmpty(FSelectionType)) {
      if (FTopLeft->LinePos == FBottomRight->LinePos)
        DeleteSelection();
      else
        Multi = true;
    }
    const Integer Col = FCaret->CharPos, L = FCaret->LinePos;
    Integer StopIndex = 0;
    while (GetTabStop(StopIndex) <= Col) ++StopIndex;
    const Integer Target = FOptions.Contains(soSmartTab) ? SmartTabTarget(StopIndex, Col, L) : GetTabStop(StopIndex);
    const AnsiString Text =
        FOptions.Contains(soUseTabCharacter) ? AnsiString("\t") : AnsiString(size_t(std::max(Target - Col, 1)), ' ');
    if (Multi) {
      FTabString = Text;
      BlockIndent();
    } else if (GetOverwriteMode()) {
      MoveCaret(0, Target - Col);
    } else if (InsertText(Text)) {
      MoveCaret(0, FInsertedLength);
    }
  } catch (...) {
    FTabString = OldTabString;
    EndUpdate();
    EndUndoBlock();
    throw;
  }
  FTabString = OldTabString;
  EndUpdate();
  EndUndoBlock();
}

void TCustomMemoSource::ShiftTabKey() {
  const Integer Col = FCaret->CharPos;
  if (HasSelection() && !IsSelectionEmpty(FSelectionType) && FTopLeft->LinePos != FBottomRight->LinePos) {
    const Integer Left = FTopLeft->CharPos;
    Integer StopIndex = 0;
    while (GetTabStop(StopIndex) <= Left) ++StopIndex;
    const Integer N = SmartTabTarget(StopIndex, Left, FTopLeft->LinePos) - Left;
    const AnsiString OldTabString = FTabString;
    FTabString = AnsiString(size_t(std::max(N, 1)), ' ');
    try {
      BlockUnindent();
    } catch (...) {
      FTabString = OldTabString;
      throw;
    }
    FTabString = OldTabString;
    return;
  }
  Integer I = 0;
  while (GetTabStop(I) < Col) ++I;
  MoveCaret(0, (I > 0 ? GetTabStop(I - 1) : 0) - Col);
}

void TCustomMemoSource::DeleteLine() {
  BeginUpdate(MemoCode::DeleteLine);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    SetCaret(0, FCaret->LinePos);
    DeleteChars(MaxInt);
    DeleteChar();
  }
}

void TCustomMemoSource::DeleteToLineStart() {
  BeginUpdate(MemoCode::DeleteToLineStart);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer L = FCaret->LinePos;
    Integer Index = FCaret->CharPos;
    VisualToCharIndex(GetLineText(L), Index);
    Index = std::min<Integer>(Index, Integer(GetLineText(L).size()));
    SetCaret(0, L);
    DeleteChars(Index);
  }
}

void TCustomMemoSource::SetOverwriteMode(bool Value) {
  if (Value == GOverwriteMode) return;
  BeginUpdate(MemoCode::InsState);
  GOverwriteMode = Value;
  FState.Include(msInsState);
  EndUpdate();
}

bool TCustomMemoSource::GetOverwriteMode() { return GOverwriteMode; }

void TCustomMemoSource::DeleteToLineEnd() {
  const Integer L = FCaret->LinePos;
  const Integer Len = DisplayLength(*this, GetLineText(L));
  DeleteChars(Len - FCaret->CharPos);
}

void TCustomMemoSource::OpenLine() {
  BeginUpdate(MemoCode::LineBreak);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const TPoint Caret = GetCaretPoint();
    InsertLineBreak();
    SetCaret(Caret.X, Caret.Y);
  }
}
