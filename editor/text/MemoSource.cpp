#include "editor/text/MemoSource.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

#include "editor/base/EdConsts.h"
#include "editor/text/MemoSourceOptions.h"
#include "editor/text/Search.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"

namespace {
constexpr Integer MaxInt = INT_MAX;
const AnsiString EmptyText;
}  // namespace

std::vector<TCustomMemoSource*>& MemoSourceList() {
  static std::vector<TCustomMemoSource*> List;
  return List;
}

// ---------------------------------------------------------------------------
// TInternalStrings

TInternalStrings::TInternalStrings(TClass AItemClass)
    : FItemClass(AItemClass ? AItemClass : TStringItem::StaticClass()) {}

TInternalStrings::~TInternalStrings() { Clear(); }

TStringItem* TInternalStrings::NewItem() const {
  if (FItemClass == TStringItem::StaticClass()) return new TStringItem;
  TObject* Obj = FItemClass->Create();
  auto* Item = dynamic_cast<TStringItem*>(Obj);
  if (!Item) {
    delete Obj;
    throw EInvalidOperation("Line record class " + FItemClass->ClassName() + " is not a TStringItem");
  }
  return Item;
}

const AnsiString& TInternalStrings::RawText(Integer Index) const {
  const TStringItem* Item = this->Item(Index);
  return Item ? Item->Text : EmptyText;
}

AnsiString TInternalStrings::Get(Integer Index) const {
  const TStringItem* Item = this->Item(Index);
  if (!Item) return AnsiString();
  AnsiString S = Item->Text;
  if (!Raw && GetHook.Assigned()) GetHook(S);
  return S;
}

void TInternalStrings::Put(Integer Index, const AnsiString& S) {
  TStringItem* Item = this->Item(Index);
  if (!Item) return;
  Item->Text = S;
  Item->Flags &= Byte(~lfParsed);
}

void TInternalStrings::Insert(Integer Index, const AnsiString& S) {
  if (Index < 0 || Index > GetCount()) return;
  std::unique_ptr<TStringItem> Item(NewItem());
  Item->Text = S;
  FItems.Insert(size_t(Index), Item.get());
  Item.release();
}

void TInternalStrings::Delete(Integer Index) {
  if (Index < 0 || Index >= GetCount()) return;
  delete FItems.Remove(size_t(Index));
}

void TInternalStrings::Clear() {
  FItems.ForEach([](TStringItem* Item) { delete Item; });
  FItems.Clear();
}

TObject* TInternalStrings::GetObject(Integer Index) const {
  const TStringItem* Item = this->Item(Index);
  return Item ? Item->Objects : nullptr;
}

void TInternalStrings::PutObject(Integer Index, TObject* AObject) {
  if (TStringItem* Item = this->Item(Index)) Item->Objects = AObject;
}

AnsiString TInternalStrings::GetTextStr() const {
  AnsiString S;
  if (Raw || !GetHook.Assigned()) {
    // The stored lines as they are: no copy of each line, and the text
    // sized before it is filled.
    const Integer N = GetCount();
    const size_t BreakLength = std::char_traits<char>::length(sLineBreak);
    size_t Length = 0;
    for (Integer I = 0; I < N; ++I) Length += RawText(I).size() + BreakLength;
    S.reserve(Length);
    for (Integer I = 0; I < N; ++I) {
      S += RawText(I);
      S += sLineBreak;
    }
  } else {
    S = TStrings::GetTextStr();
  }
  for (int I = 0; I < 2 && !S.empty() && (S.back() == '\r' || S.back() == '\n'); ++I) S.pop_back();
  return S;
}

// ---------------------------------------------------------------------------
// TExternalStrings: every write is a change group that cannot be undone.

Integer TExternalStrings::GetCount() const { return FSource->FStrings->GetCount(); }

AnsiString TExternalStrings::Get(Integer Index) const { return FSource->FStrings->GetStrings(Index); }

TObject* TExternalStrings::GetObject(Integer Index) const { return FSource->FStrings->GetObjects(Index); }

void TExternalStrings::PutObject(Integer Index, TObject* AObject) { FSource->FStrings->SetObjects(Index, AObject); }

void TExternalStrings::Put(Integer Index, const AnsiString& S) {
  TCustomMemoSource& Src = *FSource;
  Src.BeginSafeUpdate(MemoCode::LinesPut);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    Src.FStrings->SetStrings(Index, Src.ConvertWrittenLine(S));
    Src.MarkLinesChanged(Index, Index);
    // The longest line may have been this one, or be it now.
    if (Index == Src.FLongestIndex) Src.UpdateLongestLine();
    else Src.LongestAfterInsert(Index);
  }
  Src.ClearUndo();
}

void TExternalStrings::Insert(Integer Index, const AnsiString& S) {
  TCustomMemoSource& Src = *FSource;
  if (Src.FQuickLoad) {
    AnsiString T = Src.ConvertWrittenLine(S);
    if (!Src.FKeepBlanks) {
      size_t N = T.size();
      while (N > 0 && Byte(T[N - 1]) <= 32) --N;
      T.resize(N);
    }
    Src.FStrings->Insert(Index, T);
    return;
  }
  Src.BeginSafeUpdate(MemoCode::LinesInsert);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    Src.SetCaretDirect(0, Index);
    Src.AdjustPositions(2, 0);
    Src.FStrings->Insert(Index, Src.ConvertWrittenLine(S));
    Src.MarkLinesChanged(Index, MaxInt);
    if (Src.FTrackLongest && Src.FLongestIndex >= Index) ++Src.FLongestIndex;
    Src.LongestAfterInsert(Index);
  }
  Src.ClearUndo();
}

void TExternalStrings::Delete(Integer Index) {
  TCustomMemoSource& Src = *FSource;
  Src.BeginSafeUpdate(MemoCode::DeleteLine);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    Src.SetCaretDirect(0, Index);
    Src.AdjustPositions(4, Src.CharToVisualIndex(Src.GetLineText(Index), Integer(Src.GetLineText(Index).size())));
    Src.AdjustPositions(3, 0);
    Src.FStrings->Delete(Index);
    Src.MarkLinesChanged(Index, MaxInt);
    if (Index == Src.FLongestIndex) Src.UpdateLongestLine();
    else if (Src.FTrackLongest && Index < Src.FLongestIndex) --Src.FLongestIndex;
  }
  Src.ClearUndo();
}

void TExternalStrings::Clear() {
  TCustomMemoSource& Src = *FSource;
  Src.BeginSafeUpdate(MemoCode::Clear);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    Src.FStrings->Clear();
    Src.SetCaretDirect(0, 0);
    Src.FSelectionType = stNotSelected;
    if (Src.FSafeUpdate) {
      Src.FSafeSelectionType = stNotSelected;
      Src.FSafeCaret->Assign(Src.FCaret);
      Src.FSafeTopLeft->Assign(Src.FTopLeft);
      Src.FSafeBottomRight->Assign(Src.FBottomRight);
    }
    Src.MarkLinesChanged(0, MaxInt);
    Src.FBookmarks.ClearRecords();
    Src.ClearHiddenLines();
    Src.UpdateLongestLine();
  }
  Src.ClearUndo();
}

void TExternalStrings::SetTextStr(const AnsiString& Value) {
  TCustomMemoSource& Src = *FSource;
  Src.BeginUpdate(MemoCode::LinesText);
  const bool OldQuick = Src.FQuickLoad;
  Src.FQuickLoad = true;
  try {
    TStrings::SetTextStr(Value);
    Src.FQuickLoad = OldQuick;
    Src.MarkLinesChanged(0, MaxInt);
    Src.UpdateLongestLine();
    Src.SetCaretDirect(0, 0);
  } catch (...) {
    Src.FQuickLoad = OldQuick;
    Src.EndUpdate();
    throw;
  }
  Src.EndUpdate();
  Src.ClearUndo();
}

AnsiString TExternalStrings::GetTextStr() const {
  TInternalStrings& Store = *FSource->FStrings;
  const bool OldRaw = Store.Raw;
  Store.Raw = true;
  AnsiString S;
  try {
    S = Store.GetText();
  } catch (...) {
    Store.Raw = OldRaw;
    throw;
  }
  Store.Raw = OldRaw;
  return S;
}

void TExternalStrings::LoadFromStream(TStream* Stream) {
  TCustomMemoSource& Src = *FSource;
  Src.BeginUpdate(MemoCode::LinesText);
  try {
    TStrings::LoadFromStream(Stream);
    Src.SetCaretDirect(0, 0);
  } catch (...) {
    Src.EndUpdate();
    Src.ClearUndo();
    throw;
  }
  Src.EndUpdate();
  Src.ClearUndo();
}

void TExternalStrings::SetUpdateState(bool Updating) {
  if (Updating) {
    FSource->BeginSafeUpdate(MemoCode::LinesText);
  } else {
    FSource->EndUpdate();
    FSource->ClearUndo();
  }
}

void TExternalStrings::Assign(TPersistent* Source) {
  TStrings::Assign(Source);
  FSource->BeginUpdate(MemoCode::LinesText);
  FSource->SetCaretDirect(0, 0);
  FSource->EndUpdate();
  FSource->ClearUndo();
}

// ---------------------------------------------------------------------------
// TPosition

void TPosition::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TPosition*>(Source)) {
    LinePos = P->LinePos;
    CharPos = P->CharPos;
    return;
  }
  TCollectionItem::Assign(Source);
}

// ---------------------------------------------------------------------------
// TCustomMemoSource: creation and destruction

TCustomMemoSource::TCustomMemoSource(TComponent* AOwner)
    : TComponent(AOwner), FPositions(TPosition::StaticClass()) {
  RegisterMemoSourceOptions();
  static std::atomic<std::uint64_t> NextSerial{1};
  FSerial = NextSerial++;
  MemoSourceList().push_back(this);
  FStrings = std::make_unique<TInternalStrings>(GetStringItemClass());
  FStrings->GetHook = TStringItemGetHook(this, &TCustomMemoSource::ExpandTabsHook);
  FLines = std::make_unique<TExternalStrings>(this);
  FSelStrings = std::make_unique<TSelectionStrings>(this);
  FCaret = NewPosition(false);
  FTopLeft = NewPosition(false);
  FTopLeft->OnAdjust = TPositionAdjustEvent(this, &TCustomMemoSource::CornerAdjust);
  FBottomRight = NewPosition(false);
  FBottomRight->OnAdjust = TPositionAdjustEvent(this, &TCustomMemoSource::CornerAdjust);
  FOldTopLeft = NewPosition(false);
  FOldBottomRight = NewPosition(false);
  for (int C = 0; C <= 32; ++C) FDelimSet.set(size_t(C));
  FOptions = DefaultStringsOptions();
  SetTabStops("9,17");
  FCodeTemplates = std::make_unique<TMemoCodeTemplates>(this);
}

TCustomMemoSource::~TCustomMemoSource() {
  SearchSourceDestroyed(this);
  auto& List = MemoSourceList();
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
  if (FSyntaxParser) {
    FSyntaxParser->RemoveNotifier(TNotifierProc(this, &TCustomMemoSource::ParserNotify));
    RemoveFreeNotification(FSyntaxParser);
    FSyntaxParser = nullptr;
  }
  FUndoList.Clear();
  FRedoList.Clear();
  FBookmarks.ClearRecords();
}

TPosition* TCustomMemoSource::NewPosition(bool Tracked) {
  auto* P = static_cast<TPosition*>(FPositions.Add());
  if (Tracked) P->OnAdjust = TPositionAdjustEvent(this, &TCustomMemoSource::CornerAdjust);
  return P;
}

void TCustomMemoSource::CornerAdjust(TPosition* Position, bool& AdjustColumn, bool& AdjustLine) {
  // A block keeps its columns and lines; everything else follows the text.
  if ((Position == FTopLeft || Position == FBottomRight) && FSelectionType == stBlockSel) {
    AdjustColumn = false;
    AdjustLine = false;
  }
}

void TCustomMemoSource::Loaded() {
  TComponent::Loaded();
  BeginUpdate(MemoCode::Loaded);
  FModified = false;
  SetCaretDirect(0, 0);
  EndUpdate();
  ClearUndo();
}

void TCustomMemoSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FActiveEditor) FActiveEditor = nullptr;
  if (AComponent == FSyntaxParser) {
    // The parser is going: its list is gone already, only the pointer is ours.
    FSyntaxParser = nullptr;
    if (!ComponentState().Contains(csDestroying)) InvalidateParseCache();
    return;
  }
  FEditors.RemoveTarget(AComponent);
}

void TCustomMemoSource::SetLines(TStrings* Value) {
  if (Value && Value != FLines.get()) FLines->Assign(Value);
}

AnsiString TCustomMemoSource::GetExpandedLine(Integer Line) const {
  AnsiString S = GetLineText(Line);
  ExpandTabs(S);
  return S;
}


void TCustomMemoSource::Clear() {
  BeginUpdate(MemoCode::Clear);
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const Integer Count = GetLineCount();
    if (Count > 0) {
      SetSelection(stStreamSel, 0, 0, CharToVisualIndex(GetLineText(Count - 1), Integer(GetLineText(Count - 1).size())),
                   Count - 1);
      DeleteSelection();
    }
    SetCaret(0, 0);
  }
}

// ---------------------------------------------------------------------------
// Change groups

void TCustomMemoSource::BeginUpdate(Integer Code) {
  if (FUpdateCount > 0) {
    ++FUpdateCount;
    return;
  }
  FSavedLineCount = GetLineCount();
  FState.Clear();
  FSavedFoundRect = FFoundRect;
  FFoundRect = TRect();
  FFirstChanged = MaxInt;
  FLastChanged = -MaxInt;
  FFirstRecord = true;
  FParseResult = -1;
  FChangeCode = Code;
  FSavedModified = FModified;
  FOldTopLeft->Assign(FTopLeft);
  FOldBottomRight->Assign(FBottomRight);
  FOldSelectionType = FSelectionType;
  FSavedCaretLine = FCaret->LinePos;
  FSavedCaretChar = FCaret->CharPos;
  FUpdateCount = 1;
  ClearLineHighlight();
}

void TCustomMemoSource::BeginSafeUpdate(Integer Code) {
  if (FUpdateCount == 0) {
    FSafeSelectionType = FSelectionType;
    FSafeTopLeft = CopyPosition(FTopLeft);
    FSafeBottomRight = CopyPosition(FBottomRight);
    FSafeCaret = CopyPosition(FCaret);
    FSafeUpdate = true;
  }
  BeginUpdate(Code);
}

bool TCustomMemoSource::SelectionGone() const { return HasSelection() && IsSelectionEmpty(FSelectionType); }

void TCustomMemoSource::EndUpdate() {
  if (FSafeUpdate && FUpdateCount == 1) {
    FSafeUpdate = false;
    FSelectionType = FSafeSelectionType;
    FTopLeft->Assign(FSafeTopLeft);
    FBottomRight->Assign(FSafeBottomRight);
    FCaret->Assign(FSafeCaret);
    delete FSafeTopLeft;
    delete FSafeBottomRight;
    delete FSafeCaret;
    FSafeTopLeft = FSafeBottomRight = FSafeCaret = nullptr;
  }
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;

  if (FCaret->LinePos != FSavedCaretLine || FCaret->CharPos != FSavedCaretChar || FGotoBookmark)
    FState.Include(msPositionChanged);
  FBookmarkJumped = FGotoBookmark;
  FGotoBookmark = false;
  if (SelectionGone()) FSelectionType = stNotSelected;
  if ((FState.Contains(msPositionChanged) || FState.Contains(msEdited)) && !FState.Contains(msUndo)) ClearRedo();

  // Selection bookkeeping: repaint the lines whose selected state changed.
  const bool TypeChanged = FSelectionType != FOldSelectionType;
  const bool TopMoved = !FTopLeft->SameAs(*FOldTopLeft);
  const bool BottomMoved = !FBottomRight->SameAs(*FOldBottomRight);
  const bool AnySelection = FSelectionType != stNotSelected || FOldSelectionType != stNotSelected;
  const bool SelectionChanged = AnySelection && (TypeChanged || TopMoved || BottomMoved);
  if (SelectionChanged) {
    FState.Include(msBlockChanged);
    const bool SameColumns =
        FTopLeft->CharPos == FOldTopLeft->CharPos && FBottomRight->CharPos == FOldBottomRight->CharPos;
    if (!TypeChanged && (FSelectionType != stBlockSel || SameColumns)) {
      if (TopMoved)
        WidenChangedRange(std::min(FOldTopLeft->LinePos, FTopLeft->LinePos),
                          std::max(FOldTopLeft->LinePos, FTopLeft->LinePos));
      if (BottomMoved)
        WidenChangedRange(std::min(FOldBottomRight->LinePos, FBottomRight->LinePos),
                          std::max(FOldBottomRight->LinePos, FBottomRight->LinePos));
    } else if (FOldSelectionType == stNotSelected) {
      // Corners without a selection mean nothing: only the new one shows.
      WidenChangedRange(FTopLeft->LinePos, FBottomRight->LinePos);
    } else if (FSelectionType == stNotSelected) {
      WidenChangedRange(FOldTopLeft->LinePos, FOldBottomRight->LinePos);
    } else {
      WidenChangedRange(std::min(FOldTopLeft->LinePos, FTopLeft->LinePos),
                        std::max(FOldBottomRight->LinePos, FBottomRight->LinePos));
    }
  } else if (HasSelection() && !FOptions.Contains(soPersistentBlocks) && FState.Contains(msPositionChanged) &&
             SkipClearSelection == 0) {
    // Without persistent blocks a caret move unselects.
    FSelectionType = stNotSelected;
    FState.Include(msBlockChanged);
    WidenChangedRange(FTopLeft->LinePos, FBottomRight->LinePos);
  }

  if (FFoundRect != FSavedFoundRect) {
    FState.Include(msFoundRectChanged);
    const bool NewEmpty = FFoundRect == TRect();
    const bool OldEmpty = FSavedFoundRect == TRect();
    if (!NewEmpty) WidenChangedRange(FFoundRect.Top, FFoundRect.Bottom);
    if (!OldEmpty) WidenChangedRange(FSavedFoundRect.Top, FSavedFoundRect.Bottom);
  }
  if (GetLineCount() != FSavedLineCount) FState.Include(msCountChanged);
  if (FState.Contains(msEdited)) {
    FModified = true;
    FFirstUnparsed = std::min(FFirstUnparsed, std::max(FFirstChanged, 0));
  }
  if (FState.Contains(msParserChanged)) {
    FFirstUnparsed = 0;
    FFirstChanged = 0;
    FLastChanged = MaxInt;
  }
  if (FModified != FSavedModified) FState.Include(msModifiedChanged);
  if (!FState.Empty()) NotifyChanged(FFirstChanged, FLastChanged);
}

void TCustomMemoSource::MarkLinesChanged(Integer First, Integer Last) {
  FState.Include(msEdited);
  WidenChangedRange(First, Last);
}

void TCustomMemoSource::WidenChangedRange(Integer First, Integer Last) {
  if (First > Last) std::swap(First, Last);
  FFirstChanged = std::min(FFirstChanged, First);
  FLastChanged = std::max(FLastChanged, Last);
}

void TCustomMemoSource::NotifyChanged(Integer FirstLine, Integer LastLine) {
  FEditors.Notify(this, FirstLine, LastLine);
}

void TCustomMemoSource::AddEditor(bool Notify, const TNotifierProc& Method, TComponent* Editor) {
  FEditors.Add(Method);
  if (Editor) Editor->FreeNotification(this);
  if (!Notify) return;
  BeginUpdate(MemoCode::AddEditor);
  WidenChangedRange(0, MaxInt);
  FState = AllChangedStates;
  EndUpdate();
}

void TCustomMemoSource::RemoveEditor(const TNotifierProc& Method, TComponent* Editor) {
  FEditors.Remove(Method);
  if (Editor == FActiveEditor) FActiveEditor = nullptr;
}

void TCustomMemoSource::SetActiveEditor(TComponent* Editor) {
  FActiveEditor = Editor;
  if (Editor) Editor->FreeNotification(this);
}

// ---------------------------------------------------------------------------
// Positions

void TCustomMemoSource::SetCaretDirect(Integer Char, Integer Line) {
  FCaret->CharPos = std::max(Char, 0);
  FCaret->LinePos = std::max(Line, 0);
}

void TCustomMemoSource::SetCaret(Integer Char, Integer Line) {
  const bool OldManual = FManualPosition;
  FManualPosition = true;
  try {
    MoveCaret(Line - FCaret->LinePos, Char - FCaret->CharPos);
  } catch (...) {
    FManualPosition = OldManual;
    throw;
  }
  FManualPosition = OldManual;
}

TPosition* TCustomMemoSource::CopyPosition(TPosition* Position) {
  TPosition* P = NewPosition(true);
  P->Assign(Position);
  return P;
}

void TCustomMemoSource::RestorePosition(TPosition* Copy) {
  if (!Copy) return;
  const Integer C = Copy->CharPos, L = Copy->LinePos;
  delete Copy;
  SetCaret(C, L);
}

void TCustomMemoSource::ResetPositions() {
  BeginUpdate(MemoCode::ResetPositions);
  for (Integer I = 0; I < FPositions.Count(); ++I) {
    auto* P = static_cast<TPosition*>(FPositions.Items(I));
    P->CharPos = 0;
    P->LinePos = 0;
  }
  FSelectionType = stNotSelected;
  EndUpdate();
}

void TCustomMemoSource::AdjustPositions(Integer Kind, Integer Count) {
  const Integer CL = FCaret->LinePos, CC = FCaret->CharPos;
  for (Integer I = 0; I < FPositions.Count(); ++I) {
    auto* P = static_cast<TPosition*>(FPositions.Items(I));
    if (!P->OnAdjust.Assigned() || P->LinePos < CL) continue;
    bool AdjustColumn = true, AdjustLine = true;
    P->OnAdjust(P, AdjustColumn, AdjustLine);
    const bool After = P == FTopLeft ? P->CharPos >= CC : P->CharPos > CC;
    switch (Kind) {
      case 1:
        if (AdjustColumn && P->LinePos == CL && After) P->CharPos += Count;
        break;
      case 4:
        if (AdjustColumn && P->LinePos == CL && After) P->CharPos = std::max(P->CharPos - Count, CC);
        break;
      case 2:
        if (!AdjustLine) break;
        if (P->LinePos == CL && After) {
          P->CharPos -= CC;
          ++P->LinePos;
        } else if (P->LinePos > CL) {
          ++P->LinePos;
        }
        break;
      case 3:
        if (!AdjustLine) break;
        if (P->LinePos == CL + 1) {
          P->CharPos += CC;
          --P->LinePos;
        } else if (P->LinePos == CL && P->CharPos >= CC) {
          P->CharPos = CC;
        } else if (P->LinePos > CL + 1) {
          --P->LinePos;
        }
        break;
      default: break;
    }
    P->CharPos = std::max(P->CharPos, 0);
    P->LinePos = std::max(P->LinePos, 0);
  }
}

// ---------------------------------------------------------------------------
// Tab stops

void TCustomMemoSource::SetTabStops(const AnsiString& Value) {
  if (Value.empty()) return;
  TStringList Parts;
  Parts.SetCommaText(Value);
  std::vector<Integer> Stops;
  for (Integer I = 0; I < Parts.GetCount(); ++I) {
    const Integer V = StrToInt(Trim(Parts[I]));
    if (V <= 0 || (!Stops.empty() && V <= Stops.back())) throw Exception(LoadResText(EdConsts::SInvalidTabRack));
    Stops.push_back(V);
  }
  if (Stops.empty()) Stops.push_back(8);
  FTabStopList = std::move(Stops);
  FTabStopsText = Value;
  if (FOptions.Contains(soUseTabCharacter) && GetLineCount() > 0) {
    BeginUpdate(MemoCode::ParserChanged);
    MarkLinesChanged(0, MaxInt);
    InvalidateParseCache();
    EndUpdate();
  }
}

Integer TCustomMemoSource::GetTabStep() const {
  const size_t N = FTabStopList.size();
  if (N == 0) return 8;
  if (N == 1) return FTabStopList[0];
  return FTabStopList[N - 1] - FTabStopList[N - 2];
}

Integer TCustomMemoSource::GetTabStop(Integer Index) const {
  const Integer N = Integer(FTabStopList.size());
  if (Index < N) return FTabStopList[size_t(std::max(Index, 0))];
  const Integer Last = N > 0 ? FTabStopList.back() : 0;
  return Last + (Index - N + 1) * GetTabStep();
}

Integer TCustomMemoSource::ExpandTabAt(AnsiString& S, Integer Pos, char FillChar, Integer& StopIndex) const {
  Integer Stop = GetTabStop(StopIndex);
  while (Stop < Pos) Stop = GetTabStop(++StopIndex);
  const Integer Fill = Stop - Pos + 1;
  S.replace(size_t(Pos - 1), 1, size_t(Fill), FillChar);
  return Fill;
}

void TCustomMemoSource::ExpandTabs(AnsiString& S) const {
  if (S.find('\t') == AnsiString::npos) return;
  AnsiString Out;
  Out.reserve(S.size() + 16);
  Integer StopIndex = 0;
  for (char C : S) {
    if (C != '\t') {
      Out += C;
      continue;
    }
    const Integer Pos = Integer(Out.size()) + 1;
    Integer Stop = GetTabStop(StopIndex);
    while (Stop < Pos) Stop = GetTabStop(++StopIndex);
    Out.append(size_t(Stop - Pos + 1), ' ');
  }
  S.swap(Out);
}

Integer TCustomMemoSource::CharToVisualIndex(const AnsiString& S, Integer Index) const {
  Integer Col = 0, StopIndex = 0;
  const Integer N = std::min<Integer>(Index, Integer(S.size()));
  // Without a TAB every character is one column; long lines are the rule
  // for imported paragraphs, so skip the walk.
  if (N > 0 && !std::memchr(S.data(), '\t', size_t(N))) return Index;
  for (Integer I = 0; I < N; ++I) {
    if (S[size_t(I)] != '\t') {
      ++Col;
      continue;
    }
    Integer Stop = GetTabStop(StopIndex);
    while (Stop < Col + 1) Stop = GetTabStop(++StopIndex);
    Col = Stop;
  }
  return Col + std::max<Integer>(Index - N, 0);
}

void TCustomMemoSource::VisualToCharIndex(const AnsiString& S, Integer& Column) const {
  Integer Col = 0, StopIndex = 0;
  const Integer Target = Column;
  if (Target <= 0 || !std::memchr(S.data(), '\t', std::min(S.size(), size_t(Target)))) return;
  for (Integer I = 0; I < Integer(S.size()); ++I) {
    if (Col >= Target) break;
    if (S[size_t(I)] != '\t') {
      ++Col;
      continue;
    }
    Integer Stop = GetTabStop(StopIndex);
    while (Stop < Col + 1) Stop = GetTabStop(++StopIndex);
    if (Target < Stop) {
      // Inside the TAB's expansion: the TAB's own index.
      Column -= Target - Col;
      return;
    }
    Column -= Stop - Col - 1;
    Col = Stop;
  }
}

Integer TCustomMemoSource::GetTabWidthAt(Integer Column, Integer Line, bool ToEnd) {
  const AnsiString& S = GetLineText(Line);
  const Integer C0 = Column - 1;  // 0-based
  Integer Col = 0, StopIndex = 0;
  for (char Ch : S) {
    if (Col > C0) break;
    if (Ch != '\t') {
      ++Col;
      continue;
    }
    Integer Stop = GetTabStop(StopIndex);
    while (Stop < Col + 1) Stop = GetTabStop(++StopIndex);
    if (C0 >= Col && C0 < Stop) return ToEnd ? Stop - C0 : C0 - Col + 1;
    Col = Stop;
  }
  return 1;
}

// ---------------------------------------------------------------------------
// Delimiters, options and properties

void TCustomMemoSource::SetDelimeters(const AnsiString& Value) {
  FDelimetersText = Value;
  FDelimSet.reset();
  for (int C = 0; C <= 32; ++C) FDelimSet.set(size_t(C));
  for (char C : Value) FDelimSet.set(Byte(C));
}

bool TCustomMemoSource::IsDelimiter(const AnsiString& S, Integer Pos) const {
  if (Pos < 1 || Pos > Integer(S.size())) return true;
  return FDelimSet[Byte(S[size_t(Pos - 1)])];
}

void TCustomMemoSource::SetOptions(const TStringsOptions& Value) {
  TStringsOptions V = Value;
  const bool HadTab = FOptions.Contains(soUseTabCharacter);
  if (V.Contains(soUseTabCharacter) && !HadTab)
    V.Exclude(soSmartTab);
  else if (HadTab && V.Contains(soSmartTab))
    V.Exclude(soUseTabCharacter);
  const bool BeyondOff = FOptions.Contains(soBeyondFileEnd) && !V.Contains(soBeyondFileEnd);
  FOptions = V;
  if (BeyondOff && GetLineCount() > 0 && FCaret->LinePos >= GetLineCount()) CaretToFileEnd();
}

void TCustomMemoSource::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  BeginUpdate(MemoCode::ReadOnly);
  FReadOnly = Value;
  FState.Include(msReadOnlyChanged);
  EndUpdate();
}

bool TCustomMemoSource::ChangeObjectName(const AnsiString& Name) {
  if (Name != FObjectName) {
    FOldObjectName = FObjectName;
    BeginUpdate(MemoCode::ObjectName);
    FObjectName = Name;
    FState.Include(msObjNameChanged);
    EndUpdate();
  }
  return true;
}

void TCustomMemoSource::ParserNotify(TObject* Sender, Integer, Integer) {
  ParserChanged(dynamic_cast<TSimpleParser*>(Sender));
}

void TCustomMemoSource::ParserChanged(TSimpleParser* Parser) {
  if (Parser && Parser == FSyntaxParser) InvalidateParseCache();
}

void TCustomMemoSource::SetSyntaxParser(TSimpleParser* Value) {
  if (Value == FSyntaxParser) return;
  const TNotifierProc Method(this, &TCustomMemoSource::ParserNotify);
  if (FSyntaxParser) {
    FSyntaxParser->RemoveNotifier(Method);
    RemoveFreeNotification(FSyntaxParser);
  }
  FSyntaxParser = Value;
  if (Value) Value->AddNotifier(Method, this);
  InvalidateParseCache();
}

void TCustomMemoSource::SetHighlightUrls(bool Value) {
  if (Value == FHighlightUrls) return;
  FHighlightUrls = Value;
  InvalidateParseCache();
}

void TCustomMemoSource::SetUseGlobalOptions(bool Value) {
  if (Value && !FUseGlobalOptions) ApplyGlobalOptions();
  FUseGlobalOptions = Value;
}

void TCustomMemoSource::ApplyGlobalOptions() {
  auto* G = GetGlobalOptions<TMemoSourceOptions>();
  SetOptions(G->GetOptions());
  SetTabStops(G->GetTabStops());
  SetDelimeters(G->GetDelimeters());
  SetBlockIndent(G->GetBlockIndent());
  FKeepBlanks = G->GetKeepTrailingBlanks();
}

// ---------------------------------------------------------------------------
// Line state kept in the line records

bool TCustomMemoSource::IsLineReadOnly(Integer Line) {
  if (GetReadOnly()) return true;
  const TStringItem* Item = GetLineItem(Line);
  return Item && (Item->Flags & lfReadOnlyLine);
}

bool TCustomMemoSource::TestLineMark(Integer Line, Integer Bit) const {
  const TStringItem* Item = GetLineItem(Line);
  return Item && Bit >= 0 && Bit < 16 && (Item->Marks >> Bit) & 1;
}

Integer TCustomMemoSource::GetLineStyle(Integer Line) const {
  const TStringItem* Item = GetLineItem(Line);
  return Item ? Item->LineStyle : 0;
}

void TCustomMemoSource::SetLineStyle(Integer Line, Integer Style) {
  TStringItem* Item = GetLineItem(Line);
  if (!Item || Item->LineStyle == Byte(Style)) return;
  BeginUpdate(MemoCode::LineHighlight);
  Item->LineStyle = Byte(Style);
  FState.Include(msBlockChanged);
  WidenChangedRange(Line, Line);
  EndUpdate();
}

void TCustomMemoSource::HighlightLine(Integer Line, Integer Style) {
  ClearLineHighlight();
  FHighlightOldStyle = GetLineStyle(Line);
  SetLineStyle(Line, Style);
  FHighlightedLine = Line + 1;
}

void TCustomMemoSource::ClearLineHighlight() {
  if (FHighlightedLine == 0) return;
  const Integer Line = FHighlightedLine - 1;
  FHighlightedLine = 0;
  SetLineStyle(Line, FHighlightOldStyle);
}

void TCustomMemoSource::EndInBlock() {
  if (FInBlock > 0 && --FInBlock == 0 && FBlockUpdate) {
    FBlockUpdate = false;
    UpdateLongestLine();
  }
}

AnsiString TCustomMemoSource::ConvertWrittenLine(const AnsiString& S) const {
  if (FOptions.Contains(soUseTabCharacter) || S.find('\t') == AnsiString::npos) return S;
  AnsiString Out;
  Out.reserve(S.size() + 16);
  for (char C : S) {
    if (C == '\t')
      Out.append(size_t(FSpacesInTab), ' ');
    else
      Out += C;
  }
  return Out;
}
