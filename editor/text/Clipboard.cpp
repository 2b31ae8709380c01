// The memo source's clipboard (plain text), paste as running text or as a
// column block, moving and copying the selection, and the line-wise
// transformations of the selected text. Each is one change group, so one
// undo step.
#include <algorithm>
#include <climits>
#include <vector>

#include "editor/text/MemoSource.h"
#include "editor/text/TextHelpers.h"
#include "editor/text/SearchUi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"

namespace {
bool GBlockCopy = false;

HWND AppWindow() { return ApplicationWindow(); }

void WriteClipboardText(const AnsiString& Text) {
  if (!OpenClipboard(AppWindow())) throw Exception("Cannot open clipboard");
  HGLOBAL Data = nullptr;
  try {
    EmptyClipboard();
    Data = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    if (!Data) throw Exception("Out of memory");
    char* P = static_cast<char*>(GlobalLock(Data));
    std::copy(Text.begin(), Text.end(), P);
    P[Text.size()] = '\0';
    GlobalUnlock(Data);
    if (!SetClipboardData(CF_TEXT, Data)) throw Exception("Cannot set clipboard data");
    Data = nullptr;  // the clipboard's now
  } catch (...) {
    if (Data) GlobalFree(Data);
    CloseClipboard();
    throw;
  }
  CloseClipboard();
}

// The lines of a text; a text that ends with a line break gets an empty
// last line, as the clipboard's text does.
void TextToLines(const AnsiString& Text, TStrings* List) {
  List->Clear();
  if (Text.empty()) return;
  List->SetText(Text);
  if (Text.back() == '\r' || Text.back() == '\n') List->Add(AnsiString());
}

// Reads the selected lines with TABs as stored.
void ReadSelectedLines(TCustomMemoSource& Src, TStrings* Lines, bool Attributes) {
  TSelectionStrings* Sel = Src.GetSelectionStrings();
  TInternalStrings* Store = Src.GetStrings();
  const bool OldRaw = Store->Raw;
  Store->Raw = !Attributes;
  Sel->WithAttributes = Attributes;
  try {
    Lines->Clear();
    const Integer N = Sel->GetCount();
    for (Integer I = 0; I < N; ++I) Lines->Add(Sel->GetStrings(I));
  } catch (...) {
    Store->Raw = OldRaw;
    Sel->WithAttributes = false;
    throw;
  }
  Store->Raw = OldRaw;
  Sel->WithAttributes = false;
}

AnsiString SelectedText(TCustomMemoSource& Src) {
  TInternalStrings* Store = Src.GetStrings();
  const bool OldRaw = Store->Raw;
  Store->Raw = true;
  AnsiString S;
  try {
    S = Src.GetSelectionStrings()->GetText();
  } catch (...) {
    Store->Raw = OldRaw;
    throw;
  }
  Store->Raw = OldRaw;
  return S;  // the view joins its lines without a break after the last

}

// Runs Body inside a change group that closes even when Body throws.
template <class F>
void InGroup(TCustomMemoSource& Src, Integer Code, F Body) {
  Src.BeginUpdate(Code);
  {
    TUpdateGuard Update(Src, UpdateBegun);
    Body();
  }
}
}  // namespace

bool TCustomMemoSource::GetBlockCopy() { return GBlockCopy; }
void TCustomMemoSource::SetBlockCopy(bool Value) { GBlockCopy = Value; }

// ---------------------------------------------------------------------------
// Clipboard

void TCustomMemoSource::CopyToClipboard() {
  if (HasSelection()) {
    WriteClipboardText(SelectedText(*this));
    GBlockCopy = FSelectionType == stBlockSel;
  } else if (FOptions.Contains(soForceCutCopy)) {
    // Asked of the system without opening the clipboard, as the library
    // did; nothing is put on it.
    EmptyClipboard();
  }
}

void TCustomMemoSource::CutToClipboard() {
  if (!HasSelection() && !FOptions.Contains(soForceCutCopy)) {
    EmptyClipboard();
    return;
  }
  InGroup(*this, MemoCode::Cut, [&] {
    CopyToClipboard();
    DeleteSelection();
  });
}

bool TCustomMemoSource::CanPaste() { return IsClipboardFormatAvailable(CF_TEXT); }

void TCustomMemoSource::DoPasteFromClipboard(TStrings* Strings) {
  if (OnPasteFromClipboard.Assigned()) OnPasteFromClipboard(this, Strings);
}

void TCustomMemoSource::PasteFromClipboard() {
  DeleteSelectionIfOverwrite();
  if (GetClipboardOwner() != AppWindow()) GBlockCopy = false;
  TStringList Lines;
  ReadClipboardLines(&Lines);
  DoPasteFromClipboard(&Lines);
  InsertLines(&Lines, GBlockCopy);
  if (!FOptions.Contains(soPersistentBlocks)) FSelectionType = stNotSelected;
}

// ---------------------------------------------------------------------------
// Pasting lines

void TCustomMemoSource::InsertLines(TStrings* List, bool Block) {
  // Each line is converted as it goes in, not into a copy of the list: an
  // imported document would otherwise be held three times at once.
  if (!List) return;
  PasteLineSource(List->GetCount(), [&](Integer I) { return ConvertWrittenLine(List->GetStrings(I)); }, nullptr,
                  Block);
}

void TCustomMemoSource::InsertTextLines(const AnsiString& Text, bool Block) {
  struct TSpan {
    size_t Start, Length;
  };
  std::vector<TSpan> Spans;
  const size_t N = Text.size();
  for (size_t P = 0; P < N;) {
    const size_t Start = P;
    while (P < N && Text[P] != '\n' && Text[P] != '\r') ++P;
    Spans.push_back({Start, P - Start});
    if (P < N && Text[P] == '\r') ++P;
    if (P < N && Text[P] == '\n') ++P;
  }
  PasteLineSource(Integer(Spans.size()),
                  [&](Integer I) { return ConvertWrittenLine(Text.substr(Spans[size_t(I)].Start, Spans[size_t(I)].Length)); },
                  nullptr, Block);
}

void TCustomMemoSource::PasteLines(TStrings* List, TStrings* AttrList, bool Block) {
  if (!List) return;
  PasteLineSource(List->GetCount(), [&](Integer I) { return List->GetStrings(I); }, AttrList, Block);
}

void TCustomMemoSource::PasteLineSource(Integer N, const std::function<AnsiString(Integer)>& LineAt,
                                        TStrings* AttrList, bool Block) {
  if (N == 0) return;
  // One line at the caret; the display columns it took.
  auto Put = [&](Integer I) -> Integer {
    const AnsiString Line = LineAt(I);
    if (Line.empty()) return 0;
    if (AttrList && I < AttrList->GetCount()) return InsertTextWithAttrs(Line, AttrList->GetStrings(I));
    return InsertText(Line) ? InsertedLength() : 0;
  };
  BeginUpdate(MemoCode::PasteLines);
  BeginInBlock();
  try {
    const Integer C = FCaret->CharPos, L = FCaret->LinePos;
    if (N == 1) {
      const Integer Len = Put(0);
      FSelectionType = stStreamSel;
      DoSetSelectionRect({C, L, C + Len, L});
      if (Block)
        MoveCaret(1, 0);
      else
        MoveCaret(0, Len);
    } else if (Block) {
      Integer First = 0;
      for (Integer I = 0; I < N; ++I) {
        if (I > 0) {
          const Integer Line = FCaret->LinePos;
          if (Line >= GetLineCount() - 1) {
            const AnsiString& S = GetLineText(Line);
            SetCaret(CharToVisualIndex(S, Integer(S.size())), Line);
            InsertLineBreak();
          }
          SetCaret(C, Line + 1);
        }
        const Integer Len = Put(I);
        if (I == 0) First = Len;
      }
      FSelectionType = stBlockSel;
      DoSetSelectionRect({C, L, C + First - 1, L + N - 1});
    } else {
      InsertLineBreak();
      Put(0);
      SetCaret(0, L + 1);
      const Integer E = Put(N - 1);
      for (Integer K = 1; K <= N - 2; ++K) {
        SetCaret(0, L + K);
        InsertLineBreak();
        Put(K);
      }
      FSelectionType = stStreamSel;
      DoSetSelectionRect({C, L, E, L + N - 1});
      SetCaret(E, L + N - 1);
    }
  } catch (...) {
    EndInBlock();
    EndUpdate();
    throw;
  }
  EndInBlock();
  EndUpdate();
}

void TCustomMemoSource::InsertTextBlock(const AnsiString& Text) {
  InGroup(*this, MemoCode::LinesInsert, [&] {
    const TSelectionType OldType = FSelectionType;
    const TRect OldRect = GetSelectionRect();
    TStringList Lines;
    TextToLines(Text, &Lines);
    InsertLines(&Lines, false);
    FSelectionType = OldType;
    DoSetSelectionRect(OldRect);
  });
}

void TCustomMemoSource::InsertGuid() { InsertTextBlock("['" + GuidToText(NewGuid()) + "']"); }

void TCustomMemoSource::DuplicateSelection() {
  if (!HasSelection()) return;
  InGroup(*this, MemoCode::DuplicateSelection, [&] {
    TStringList Lines;
    ReadSelectedLines(*this, &Lines, false);
    const bool Block = FSelectionType == stBlockSel;
    FSelectionType = stNotSelected;
    InsertLines(&Lines, Block);
  });
}

void TCustomMemoSource::SelectionToStream(TStream* Stream) {
  const AnsiString S = SelectedText(*this);
  if (!S.empty()) Stream->WriteBuffer(S.data(), Integer(S.size()));
}

void TCustomMemoSource::InsertFromStream(TStream* Stream, bool Block) {
  const Int64 Size = Stream->GetSize() - Stream->GetPosition();
  AnsiString Text(size_t(std::max<Int64>(Size, 0)), '\0');
  if (!Text.empty()) Stream->ReadBuffer(Text.data(), Integer(Text.size()));
  TStringList Lines;
  TextToLines(Text, &Lines);
  InsertLines(&Lines, Block);
}

static bool MoveOrCopySelection(TCustomMemoSource& Src, bool Move) {
  if (!Src.HasSelection() || Src.IsInSelection(Src.GetCaretChar(), Src.GetCaretLine())) return false;
  InGroup(Src, MemoCode::MoveCopySelection, [&] {
    TMemoryStream M;
    Src.SelectionToStream(&M);
    const bool Block = Src.GetSelectionType() == stBlockSel;
    TPosition* Target = Src.CopyPosition(Src.GetCaret());
    try {
      if (Move) Src.DeleteSelection();
    } catch (...) {
      delete Target;
      throw;
    }
    Src.RestorePosition(Target);
    M.SetPosition(0);
    Src.InsertFromStream(&M, Block);
  });
  return true;
}

bool TCustomMemoSource::MoveSelectionToCaret() { return MoveOrCopySelection(*this, true); }
bool TCustomMemoSource::CopySelectionToCaret() { return MoveOrCopySelection(*this, false); }

// ---------------------------------------------------------------------------
// Line-wise transformations

void TCustomMemoSource::ApplyToSelectedLines(Integer Code, bool RestoreCaret, const TLineFunction& LineFunction) {
  if (!HasSelection()) return;
  InGroup(*this, Code, [&] {
    const TPoint OldCaret = GetCaretPoint();
    TStringList Lines, Attrs;
    ReadSelectedLines(*this, &Lines, false);
    const bool Keeps = ParserKeepsAttributes();
    if (Keeps) ReadSelectedLines(*this, &Attrs, true);
    for (Integer I = 0; I < Lines.GetCount(); ++I) {
      AnsiString S = Lines.GetStrings(I);
      const size_t Before = S.size();
      LineFunction(S);
      Lines.SetStrings(I, S);
      if (Keeps && S.size() != Before && I < Attrs.GetCount()) {
        AnsiString A = Attrs.GetStrings(I);
        LineFunction(A);
        Attrs.SetStrings(I, A);
      }
    }
    const TRect R = GetSelectionRect();
    const bool Block = FSelectionType == stBlockSel;
    DeleteSelection();
    SetCaret(R.Left, R.Top);
    PasteLines(&Lines, Keeps ? &Attrs : nullptr, Block);
    if (RestoreCaret) {
      ++SkipClearSelection;
      SetCaret(OldCaret.X, OldCaret.Y);
      --SkipClearSelection;
    }
  });
}

void TCustomMemoSource::KeepSelectionDo(Integer Code, bool RestoreCaret, TCaretCommand Action, TCaretCommand Prepare) {
  const TSelectionType OldType = FSelectionType;
  TPosition* TopLeft = CopyPosition(FTopLeft);
  TPosition* BottomRight = CopyPosition(FBottomRight);
  auto Restore = [&] {
    FSelectionType = OldType;
    FTopLeft->Assign(TopLeft);
    FBottomRight->Assign(BottomRight);
    delete TopLeft;
    delete BottomRight;
    TopLeft = BottomRight = nullptr;
  };
  BeginUpdate(Code);
  try {
    const TPoint OldCaret = GetCaretPoint();
    if (Prepare) (this->*Prepare)();
    if (Action) (this->*Action)();
    if (RestoreCaret) {
      ++SkipClearSelection;
      SetCaret(OldCaret.X, OldCaret.Y);
      --SkipClearSelection;
    }
    Restore();
  } catch (...) {
    if (TopLeft) Restore();
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCustomMemoSource::BlockIndent() {
  const AnsiString Tab = FTabString.empty() ? AnsiString(size_t(FBlockIndent), ' ') : FTabString;
  ApplyToSelectedLines(MemoCode::BlockIndent, true, [&](AnsiString& S) {
    if (!S.empty()) S.insert(0, Tab);
  });
}

void TCustomMemoSource::BlockUnindent() {
  const size_t N = FTabString.empty() ? size_t(FBlockIndent) : FTabString.size();
  ApplyToSelectedLines(MemoCode::BlockUnindent, true, [&](AnsiString& S) {
    size_t K = 0;
    while (K < N && K < S.size() && Byte(S[K]) <= 32) ++K;
    S.erase(0, K);
  });
}

void TCustomMemoSource::UpperCaseSelection() {
  ApplyToSelectedLines(MemoCode::UpperCaseSelection, true, [](AnsiString& S) { S = AnsiUpperCase(S); });
}

void TCustomMemoSource::LowerCaseSelection() {
  ApplyToSelectedLines(MemoCode::LowerCaseSelection, true, [](AnsiString& S) { S = AnsiLowerCase(S); });
}

void TCustomMemoSource::ToggleCaseSelection() {
  ApplyToSelectedLines(MemoCode::ToggleCaseSelection, true, [](AnsiString& S) {
    const AnsiString Upper = AnsiUpperCase(S), Lower = AnsiLowerCase(S);
    for (size_t I = 0; I < S.size() && I < Upper.size() && I < Lower.size(); ++I)
      S[I] = Upper[I] != S[I] ? Upper[I] : Lower[I];
  });
}

void TCustomMemoSource::CapitalizeSelection() {
  ApplyToSelectedLines(MemoCode::CapitalizeSelection, true, [this](AnsiString& S) {
    S = AnsiLowerCase(S);
    const AnsiString Upper = AnsiUpperCase(S);
    for (size_t I = 0; I < S.size() && I < Upper.size(); ++I)
      if (!IsDelimChar(S[I]) && (I == 0 || IsDelimChar(S[I - 1]))) S[I] = Upper[I];
  });
}

void TCustomMemoSource::QuoteSelection() {
  ApplyToSelectedLines(MemoCode::QuoteSelection, true, [](AnsiString& S) { S.insert(S.begin(), '>'); });
}

namespace {
const TCaretCommand SelectWordOnly = static_cast<void (TCustomMemoSource::*)()>(&TCustomMemoSource::SelectWord);
}

void TCustomMemoSource::LowerCaseWord() {
  KeepSelectionDo(MemoCode::LowerCaseWord, true, &TCustomMemoSource::LowerCaseSelection, SelectWordOnly);
}

void TCustomMemoSource::UpperCaseWord() {
  KeepSelectionDo(MemoCode::UpperCaseWord, true, &TCustomMemoSource::UpperCaseSelection, SelectWordOnly);
}

void TCustomMemoSource::CapitalizeWord() {
  KeepSelectionDo(MemoCode::CapitalizeWord, true, &TCustomMemoSource::CapitalizeSelection, SelectWordOnly);
}
