// Undo and redo of the memo source: records, trimming, the modified mark.
#include <algorithm>

#include "editor/text/MemoSource.h"

TUndoRecord* TCustomMemoSource::AddUndoRecord(Byte Kind) {
  if (!FAllowUndo) return nullptr;
  TrimUndo();
  TUndoRecord& R = ActiveUndoList().AddRecord();
  R.Kind = Kind;
  R.FirstOfGroup = FFirstRecord ? 1 : 0;
  R.Code = Byte(FChangeCode);
  R.InUndoBlock = FUndoBlockCount > 0 ? 1 : 0;
  FFirstRecord = false;
  return &R;
}

void TCustomMemoSource::AddAttrUndo(const AnsiString& OldAttrs, Integer Line, Integer Column) {
  if (TUndoRecord* R = AddUndoRecord(ukReplaceAttrs)) {
    R->ValueA = Line;
    R->ValueB = Column;
    R->Attrs = OldAttrs;
  }
}

void TCustomMemoSource::ReplaceAttrs(const AnsiString& NewAttrs, AnsiString& LineAttrs, Integer Column, Integer Line) {
  if (Column < 1 || NewAttrs.empty()) return;
  const size_t From = size_t(Column - 1);
  if (LineAttrs.size() < From + NewAttrs.size()) LineAttrs.resize(From + NewAttrs.size(), '\0');
  const AnsiString Old = LineAttrs.substr(From, NewAttrs.size());
  if (Old == NewAttrs) return;
  LineAttrs.replace(From, NewAttrs.size(), NewAttrs);
  AddAttrUndo(Old, Line, Column);
}

void TCustomMemoSource::EndUndoBlock() {
  if (FUndoBlockCount <= 0) return;
  if (--FUndoBlockCount == 0 && FAllowUndo) AddUndoRecord(ukCaretMove);
}

void TCustomMemoSource::ClearUndo() {
  FUndoList.Clear();
  FRedoList.Clear();
}

void TCustomMemoSource::ClearRedo() { OtherUndoList().Clear(); }

void TCustomMemoSource::SetAllowUndo(bool Value) {
  if (Value == FAllowUndo) return;
  FAllowUndo = Value;
  if (!Value) ClearUndo();
}

void TCustomMemoSource::SetUndoLimit(Integer Value) {
  FUndoLimit = std::max(Value, 0);
  TrimUndo();
}

void TCustomMemoSource::TrimUndo() {
  if (FUseRedo || !FAllowUndo || FUndoLimit == 0) return;
  TUndoList& List = ActiveUndoList();
  const Integer C = List.Count();
  // The list may run 100 records over the limit, so the array is not moved
  // on every edit.
  if (C - 100 <= FUndoLimit) return;
  Integer N = C - FUndoLimit - 1;
  while (N > 0 && List.Items(N).InUndoBlock) --N;
  if (N <= 0) return;
  FSavedUndoIndex -= N + 1;
  if (FSavedUndoIndex < 0) {
    FSavedUndoIndex = -1;
    for (Integer I = 0; I <= N; ++I) {
      const Byte K = List.Items(I).Kind;
      if (K != ukCaretMove && K != ukReplaceAttrs) {
        FSavedState = true;
        break;
      }
    }
  }
  List.DeleteOldest(N);
}

bool TCustomMemoSource::IsModified() const {
  if (FSavedState) return true;
  const TUndoList& List = ActiveUndoList();
  for (Integer I = std::max(FSavedUndoIndex + 1, 0); I < List.Count(); ++I) {
    const Byte K = List.Items(I).Kind;
    if (K != ukCaretMove && K != ukReplaceAttrs) return true;
  }
  return false;
}

void TCustomMemoSource::SetModified(bool Value) {
  FSavedState = Value;
  if (Value == FModified) return;
  BeginUpdate(MemoCode::Modified);
  FModified = Value;
  if (!Value) {
    const TUndoList& List = ActiveUndoList();
    FSavedUndoIndex = -1;
    for (Integer I = List.Count() - 1; I >= 0; --I) {
      const Byte K = List.Items(I).Kind;
      if (K != ukCaretMove && K != ukReplaceAttrs) {
        FSavedUndoIndex = I;
        break;
      }
    }
  }
  EndUpdate();
}

void TCustomMemoSource::UndoRecord(const TUndoRecord& R, bool KeepsAttrs) {
  switch (R.Kind) {
    case ukCaretMove:
      if (R.ValueA || R.ValueB) MoveCaret(-R.ValueA, -R.ValueB);
      break;
    case ukInsertText: DeleteChars(R.ValueA); break;
    case ukLineBreak: DeleteChar(); break;
    case ukJoinLines: InsertLineBreak(); break;
    case ukDeleteChars:
      if (KeepsAttrs && !R.Attrs.empty())
        InsertTextWithAttrs(R.Text, R.Attrs);
      else
        InsertText(R.Text);
      break;
    case ukReplaceAttrs: {
      TStringItem* Item = GetLineItem(R.ValueA);
      if (!KeepsAttrs || R.Attrs.empty() || !Item) break;
      ReplaceAttrs(R.Attrs, Item->Attributes, R.ValueB, R.ValueA);
      AdjustAttrLength(Item);
      Item->Flags &= Byte(~lfParsed);
      const bool OldColor = InColorUpdate;
      InColorUpdate = true;
      try {
        ReparseLine(R.ValueA);
      } catch (...) {
        InColorUpdate = OldColor;
        throw;
      }
      InColorUpdate = OldColor;
      break;
    }
    default: break;
  }
}

void TCustomMemoSource::Undo() {
  if (ActiveUndoList().Empty() || GetReadOnly()) return;
  TUndoList& Consumed = ActiveUndoList();
  FUseRedo = !FUseRedo;  // reversing edits write into the other list
  FManualPosition = true;
  BeginUpdate(Consumed.Last().Code);
  const bool Keeps = ParserKeepsAttributes();
  FState.Include(msUndo);
  const bool OldInUndo = FInUndo;
  FInUndo = true;
  auto Finish = [&] {
    FInUndo = OldInUndo;
    FManualPosition = false;
    FSelectionType = stNotSelected;
    EndUpdate();
    FUseRedo = !FUseRedo;
  };
  try {
    while (!Consumed.Empty()) {
      FFirstRecord = true;
      const TUndoRecord R = Consumed.Last();
      if (R.Code != Byte(FChangeCode) && !R.InUndoBlock) break;
      UndoRecord(R, Keeps);
      if (Consumed.Count() - 1 == FSavedUndoIndex) {
        FSavedUndoIndex = -1;
        FSavedState = true;
      }
      Consumed.Pop();
      if (R.FirstOfGroup && !R.InUndoBlock && !FOptions.Contains(soGroupUndo)) break;
    }
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  if (FModified && !FUseRedo) {
    const bool M = IsModified();
    if (M != FModified) {
      BeginUpdate(MemoCode::Modified);
      FModified = M;
      EndUpdate();
    }
  }
}

void TCustomMemoSource::Redo() {
  FUseRedo = !FUseRedo;
  try {
    Undo();
  } catch (...) {
    FUseRedo = !FUseRedo;
    throw;
  }
  FUseRedo = !FUseRedo;
  if (FModified) {
    const bool M = IsModified();
    if (M != FModified) {
      BeginUpdate(MemoCode::Modified);
      FModified = M;
      EndUpdate();
    }
  }
}
