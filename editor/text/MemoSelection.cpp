// Selection of the memo source: stream and block selections, extending by
// caret commands, words, deleting, and the selected text as lines.
#include <algorithm>
#include <climits>

#include "editor/text/MemoSource.h"
#include "platform/rtl/Guards.h"

namespace {
constexpr Integer MaxInt = INT_MAX;
}

TRect TCustomMemoSource::GetSelectionRect() const {
  return {FTopLeft->CharPos, FTopLeft->LinePos, FBottomRight->CharPos, FBottomRight->LinePos};
}

bool TCustomMemoSource::IsSelectionEmpty(TSelectionType Type) const {
  const TRect R = GetSelectionRect();
  if (Type == stBlockSel) return R.Bottom < R.Top || R.Right < R.Left;
  if (Type == stStreamSel) return R.Bottom < R.Top || (R.Top == R.Bottom && R.Left >= R.Right);
  return true;
}

void TCustomMemoSource::DoGetSelectionType(TSelectionType& SelType) {
  if (SelType != stNotSelected) {
    switch (FBlockOption) {
      case bkStreamSel: SelType = stStreamSel; break;
      case bkBlockSel: SelType = stBlockSel; break;
      case bkNone: SelType = stNotSelected; break;
      case bkBoth: break;
    }
  }
  if (OnGetSelectionType.Assigned()) OnGetSelectionType(this, SelType);
}

void TCustomMemoSource::SetSelectionType(TSelectionType Value) {
  if (Value == FSelectionType) return;
  BeginUpdate(MemoCode::SelectionType);
  DoGetSelectionType(Value);
  FSelectionType = Value;
  EndUpdate();
}

void TCustomMemoSource::DoSetSelectionRect(const TRect& R) {
  FTopLeft->CharPos = std::max(R.Left, 0);
  FTopLeft->LinePos = std::max(R.Top, 0);
  FBottomRight->CharPos = std::max(R.Right, 0);
  FBottomRight->LinePos = std::max(R.Bottom, 0);
}

void TCustomMemoSource::SetSelectionRect(const TRect& R) {
  BeginUpdate(MemoCode::SelectionRect);
  DoSetSelectionRect(R);
  EndUpdate();
}

void TCustomMemoSource::SetSelection(TSelectionType Type, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  BeginUpdate(MemoCode::SetSelection);
  FSelectionType = Type;
  DoSetSelectionRect({Left, Top, Right, Bottom});
  EndUpdate();
}

void TCustomMemoSource::SetBlockOption(TBlockOption Value) {
  if (Value == FBlockOption) return;
  FBlockOption = Value;
  if (!HasSelection()) return;
  TSelectionType T = FSelectionType;
  if (Value == bkNone)
    T = stNotSelected;
  else if (Value == bkBlockSel)
    T = stBlockSel;
  else if (Value == bkStreamSel)
    T = stStreamSel;
  if (T == FSelectionType) return;
  BeginUpdate(MemoCode::SelectionType);
  FSelectionType = T;
  EndUpdate();
}

bool TCustomMemoSource::IsCaretAtCorner(Integer Column, Integer Line) const {
  const TRect R = GetSelectionRect();
  switch (FSelectionType) {
    case stStreamSel:
      return (Column == R.Left && Line == R.Top) || (Column == R.Right && Line == R.Bottom);
    case stBlockSel:
      return (Line == R.Top || Line == R.Bottom) && (Column == R.Left || Column == R.Right);
    default: return true;
  }
}

Integer TCustomMemoSource::ExtendSelection(TSelectionType Type, TCaretCommand Move) {
  DoGetSelectionType(Type);
  BeginUpdate(MemoCode::ExtendSelection);
  ++SkipClearSelection;
  try {
    const Integer A = FCaret->CharPos, B = FCaret->LinePos;
    TRect R = GetSelectionRect();
    if (HasSelection() && IsCaretAtCorner(A, B)) {
      if (Move) (this->*Move)();
      const Integer C = FCaret->CharPos, D = FCaret->LinePos;
      if (FSelectionType == stBlockSel) {
        const bool ChangeRight = R.Left == R.Right ? R.Left < C : R.Left < A;
        (ChangeRight ? R.Right : R.Left) = C;
        const bool ChangeBottom = R.Top == R.Bottom ? R.Top < D : R.Top < B;
        (ChangeBottom ? R.Bottom : R.Top) = D;
        if (R.Right < R.Left) std::swap(R.Left, R.Right);
        if (R.Bottom < R.Top) std::swap(R.Top, R.Bottom);
      } else {
        if (A == R.Left && B == R.Top) {
          R.Left = C;
          R.Top = D;
        } else {
          R.Right = C;
          R.Bottom = D;
        }
        if (R.Bottom < R.Top || (R.Top == R.Bottom && R.Right < R.Left)) {
          std::swap(R.Left, R.Right);
          std::swap(R.Top, R.Bottom);
        }
      }
    } else {
      R = {A, B, A, B};
      if (Move) (this->*Move)();
      const Integer C = FCaret->CharPos, D = FCaret->LinePos;
      if (D == B) {
        R.Left = std::min(A, C);
        R.Right = std::max(A, C);
      } else if (D < B) {
        R.Top = D;
        R.Left = C;
      } else {
        R.Bottom = D;
        R.Right = C;
      }
      if (Type == stBlockSel && R.Right < R.Left) std::swap(R.Left, R.Right);
    }
    DoSetSelectionRect(R);
    FSelectionType = Type;
  } catch (...) {
    --SkipClearSelection;
    EndUpdate();
    throw;
  }
  EndUpdate();
  --SkipClearSelection;
  return 0;
}

void TCustomMemoSource::MarkBlockBegin() {
  BeginUpdate(MemoCode::MarkBlockBegin);
  FTopLeft->Assign(FCaret);
  if (!HasSelection()) FSelectionType = stStreamSel;
  EndUpdate();
}

void TCustomMemoSource::MarkBlockEnd() {
  BeginUpdate(MemoCode::MarkBlockEnd);
  FBottomRight->Assign(FCaret);
  if (!HasSelection()) FSelectionType = stStreamSel;
  EndUpdate();
}

void TCustomMemoSource::SelectAll() {
  if (FBlockOption == bkNone) return;
  BeginUpdate(MemoCode::SelectAll);
  ++SkipClearSelection;
  try {
    FSelectionType = stNotSelected;
    SetCaret(0, 0);
    FTopLeft->Assign(FCaret);
    CaretToFileEnd();
    FBottomRight->Assign(FCaret);
    FSelectionType = stStreamSel;
  } catch (...) {
    --SkipClearSelection;
    EndUpdate();
    throw;
  }
  EndUpdate();
  --SkipClearSelection;
}

void TCustomMemoSource::SelectLine() {
  const Integer L = FCaret->LinePos;
  SetSelection(stStreamSel, 0, L, 0, L + 1);
}

void TCustomMemoSource::GetWordBounds(Integer Column, Integer Line, TWordSelectionType Type, Integer& Stop,
                                      Integer& Start) {
  Stop = Start = 0;
  const AnsiString S = GetExpandedLine(Line);
  const Integer Len = Integer(S.size());
  if (Len == 0) return;
  auto Delim = [&](Integer P) { return IsDelimChar(S[size_t(P - 1)]); };
  Integer P = std::min(Column + 1, Len);
  Integer Q = P;
  while (Q >= 1 && Delim(Q)) --Q;
  if (Q >= 1) {
    while (Q > 1 && !Delim(Q - 1)) --Q;
    P = Q;
  }
  while (P <= Len && Delim(P)) ++P;
  if (P > Len) return;
  Start = P;
  Stop = P;
  while (Stop < Len && !Delim(Stop + 1)) ++Stop;
  if (Type == wsWordWithSpace && Stop < Len && S[size_t(Stop)] == ' ') ++Stop;
  if (Type == wsUntilNextWord)
    while (Stop < Len && Delim(Stop + 1)) ++Stop;
}

void TCustomMemoSource::GetWordAt(Integer Column, Integer Line, AnsiString& Text) {
  Integer Stop = 0, Start = 0;
  GetWordBounds(Column, Line, wsWordOnly, Stop, Start);
  if (Stop < Start || (Stop == 0 && Start == 0)) {
    Text.clear();
    return;
  }
  Text = GetExpandedLine(Line).substr(size_t(Start - 1), size_t(Stop - Start + 1));
}

void TCustomMemoSource::SelectWord(TWordSelectionType Type) {
  BeginUpdate(MemoCode::SelectWord);
  ++SkipClearSelection;
  try {
    FSelectionType = stNotSelected;
    const Integer L = FCaret->LinePos;
    Integer Stop = 0, Start = 0;
    GetWordBounds(FCaret->CharPos, L, Type, Stop, Start);
    if (Start > 0) {
      SetCaret(Stop, L);
      FSelectionType = stStreamSel;
      DoSetSelectionRect({Start - 1, L, Stop, L});
    }
  } catch (...) {
    --SkipClearSelection;
    EndUpdate();
    throw;
  }
  EndUpdate();
  --SkipClearSelection;
}

void TCustomMemoSource::SelectWordForDelete() {
  BeginUpdate(MemoCode::SelectWord);
  FSelectionType = stNotSelected;
  const Integer L = FCaret->LinePos, Col = FCaret->CharPos;
  Integer Stop = 0, Start = 0;
  GetWordBounds(Col, L, wsWordWithSpace, Stop, Start);
  if (Stop <= Col + 1) GetWordBounds(Col, L, wsUntilNextWord, Stop, Start);
  if (Stop > Col) {
    FSelectionType = stStreamSel;
    DoSetSelectionRect({Col, L, Stop, L});
  }
  EndUpdate();
}

void TCustomMemoSource::CaretToSelectionStart() {
  if (!HasSelection()) return;
  ++SkipClearSelection;
  SetCaret(FTopLeft->CharPos, FTopLeft->LinePos);
  --SkipClearSelection;
}

void TCustomMemoSource::CaretToSelectionEnd() {
  if (!HasSelection()) return;
  ++SkipClearSelection;
  SetCaret(FBottomRight->CharPos, FBottomRight->LinePos);
  --SkipClearSelection;
}

void TCustomMemoSource::DeleteSelection() {
  if (!HasSelection()) return;
  BeginUpdate(MemoCode::DeleteSelection);
  BeginInBlock();
  TPosition* CaretCopy = nullptr;
  try {
    const TRect R = GetSelectionRect();
    if (FSelectionType == stStreamSel && R.Top < R.Bottom) {
      SetCaret(std::min(R.Right, CharToVisualIndex(GetLineText(R.Bottom), Integer(GetLineText(R.Bottom).size()))),
               R.Bottom);
      CaretCopy = CopyPosition(FCaret);
      DeleteToLineStart();
      for (Integer I = R.Top + 1; I < R.Bottom; ++I) {
        SetCaret(0, R.Top + 1);
        DeleteLine();
      }
      SetCaret(R.Left, R.Top);
      DeleteChars(MaxInt);
      DeleteKey();
    } else if (!IsSelectionEmpty(FSelectionType)) {
      CaretCopy = CopyPosition(FCaret);
      const Integer Width = R.Right - R.Left + (FSelectionType == stBlockSel ? 1 : 0);
      for (Integer Line = R.Top; Line <= R.Bottom; ++Line) {
        const AnsiString& S = GetLineText(Line);
        Integer From = R.Left, To = R.Left + Width;
        VisualToCharIndex(S, From);
        VisualToCharIndex(S, To);
        Integer StartCol = CharToVisualIndex(S, From);
        SetCaret(StartCol, Line);
        if (To > From) DeleteChars(To - From);
      }
    }
    FSelectionType = stNotSelected;
    TPosition* Copy = CaretCopy;
    CaretCopy = nullptr;
    RestorePosition(Copy);
  } catch (...) {
    delete CaretCopy;
    EndInBlock();
    EndUpdate();
    throw;
  }
  EndInBlock();
  EndUpdate();
}

void TCustomMemoSource::GetSelectedColumns(Integer Line, Integer& Start, Integer& Stop) const {
  Start = Stop = 0;
  const TRect R = GetSelectionRect();
  if (FSelectionType == stStreamSel) {
    if (Line < R.Top || Line > R.Bottom) return;
    if (R.Top == R.Bottom) {
      Start = R.Left;
      Stop = R.Right;
    } else if (Line == R.Top) {
      Start = R.Left;
      Stop = MaxInt;
    } else if (Line == R.Bottom) {
      Stop = R.Right;
    } else {
      Stop = MaxInt;
    }
  } else if (FSelectionType == stBlockSel) {
    if (Line < R.Top || Line > R.Bottom) return;
    Start = R.Left;
    Stop = R.Right + 1;
  }
}

bool TCustomMemoSource::IsInSelection(Integer Column, Integer Line) const {
  Integer Start, Stop;
  GetSelectedColumns(Line, Start, Stop);
  return Start <= Column && Column < Stop;
}

// Word deletions select up to the boundary and delete that, leaving the
// previous selection as it was.
static void DeleteToTarget(TCustomMemoSource& Src, Integer Code, TCaretCommand Move, bool WordForDelete) {
  Src.BeginUpdate(Code);
  const TSelectionType OldType = Src.GetSelectionType();
  const TRect OldRect = Src.GetSelectionRect();
  {
    TUpdateGuard Update(Src, UpdateBegun);
    if (WordForDelete) {
      Src.SelectWordForDelete();
    } else {
      const Integer A = Src.GetCaretChar(), B = Src.GetCaretLine();
      ++Src.SkipClearSelection;
      (Src.*Move)();
      --Src.SkipClearSelection;
      const Integer C = Src.GetCaretChar(), D = Src.GetCaretLine();
      if (D > B || (D == B && C > A))
        Src.SetSelection(stStreamSel, A, B, C, D);
      else
        Src.SetSelection(stStreamSel, C, D, A, B);
    }
    if (Src.HasSelection() && !Src.IsSelectionEmpty(stStreamSel)) Src.DeleteSelection();
    if (OldType != stNotSelected) Src.SetSelection(OldType, OldRect.Left, OldRect.Top, OldRect.Right, OldRect.Bottom);
  }
}

void TCustomMemoSource::DeleteToNextWord() {
  DeleteToTarget(*this, MemoCode::DeleteToNextWord, &TCustomMemoSource::WordRight, false);
}

void TCustomMemoSource::DeleteWordLeft() {
  DeleteToTarget(*this, MemoCode::DeleteWordLeft, &TCustomMemoSource::WordLeft, false);
}

void TCustomMemoSource::DeleteWordRight() {
  AnsiString S = GetExpandedLine(FCaret->LinePos);
  size_t N = S.size();
  while (N > 0 && Byte(S[N - 1]) <= 32) --N;
  if (FCaret->CharPos >= Integer(N)) {
    BeginUpdate(MemoCode::DeleteToNextWord);
    {
      TUpdateGuard Update(*this, UpdateBegun);
      if (FCaret->CharPos < Integer(S.size())) SetCaret(Integer(S.size()), FCaret->LinePos);
      DeleteChar();
    }
    return;
  }
  DeleteToTarget(*this, MemoCode::DeleteToNextWord, nullptr, true);
}

// ---------------------------------------------------------------------------
// TSelectionStrings

Integer TSelectionStrings::GetCount() const {
  if (!FSource->HasSelection()) return 0;
  const TRect R = FSource->GetSelectionRect();
  return std::max(R.Bottom - R.Top + 1, 0);
}

AnsiString TSelectionStrings::Get(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) return AnsiString();
  const TRect R = FSource->GetSelectionRect();
  const Integer Line = R.Top + Index;
  AnsiString S;
  if (WithAttributes) {
    FSource->GetExpandedColorData(Line, S);
  } else {
    S = FSource->GetLines()->GetStrings(Line);
  }
  // With the store's raw flag set the text holds TABs: map display columns.
  const bool Raw = !WithAttributes && FSource->GetStrings()->Raw;
  auto ToIndex = [&](Integer Col) {
    if (Raw) FSource->VisualToCharIndex(S, Col);
    return std::clamp<Integer>(Col, 0, Integer(S.size()));
  };
  if (FSource->GetSelectionType() == stBlockSel) {
    const Integer Width = R.Right - R.Left + 1;
    const Integer From = ToIndex(R.Left), To = ToIndex(R.Right + 1);
    AnsiString Part = S.substr(size_t(From), size_t(To - From));
    if (!Raw && Integer(Part.size()) < Width) Part.append(size_t(Width - Integer(Part.size())), WithAttributes ? '\0' : ' ');
    if (Raw && FSource->CharToVisualIndex(Part, Integer(Part.size())) < Width)
      Part.append(size_t(Width - FSource->CharToVisualIndex(Part, Integer(Part.size()))), ' ');
    return Part;
  }
  Integer From = 0, To = Integer(S.size());
  if (R.Top == R.Bottom) {
    From = ToIndex(R.Left);
    To = ToIndex(R.Right);
  } else if (Index == 0) {
    From = ToIndex(R.Left);
  } else if (Line == R.Bottom) {
    To = ToIndex(R.Right);
  }
  return To > From ? S.substr(size_t(From), size_t(To - From)) : AnsiString();
}

AnsiString TSelectionStrings::GetTextStr() const {
  AnsiString Result;
  const Integer N = GetCount();
  for (Integer I = 0; I < N; ++I) {
    if (I > 0) Result += sLineBreak;
    Result += Get(I);
  }
  return Result;
}

void TSelectionStrings::Clear() { FSource->DeleteSelection(); }
