// The editor's help at the caret: the hint popup and the completion list
// that the application fills through OnHintPopup, and the code-template
// pick list.
#include <algorithm>

#include "editor/controls/DCMemo.h"
#include "editor/text/MemoSource.h"
#include "editor/text/Templates.h"
#include "editor/view/PopupHint.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/rtl/Guards.h"
#include "platform/win/Win.h"

namespace {
constexpr UINT_PTR HintTimer = 2;
}  // namespace

TStrings* TCustomDCMemo::GetHintList() const { return FHintList.get(); }
TStrings* TCustomDCMemo::GetCompletionList() const { return FCompletionList.get(); }

bool TCustomDCMemo::DoHintPopup(TPopupType& PopupType) {
  FHintList->Clear();
  bool Allow = false;
  if (OnHintPopup.Assigned()) OnHintPopup(this, FHintList.get(), Allow, PopupType);
  return Allow && FHintList->GetCount() > 0;
}

void TCustomDCMemo::ShowHintPopup() { ShowPopupAtCaret(FPopupHint->GetAutoHide()); }

void TCustomDCMemo::StopHintTimer() {
  if (HandleAllocated()) KillTimer(Handle(), HintTimer);
  if (FPopupHint->GetAutoHide()) FPopupHint->HideHint();
  FWordSnap = false;
}

void TCustomDCMemo::HidePopupHint() { FPopupHint->HideHint(); }

void TCustomDCMemo::ShowPopupAtCaret(bool AutoHide) {
  TCustomMemoSource* S = GetSource();
  if (!OnHintPopup.Assigned() || S->GetCaretPoint() != FHintPos) return;
  TPopupType Type = ptHint;
  if (!DoHintPopup(Type)) return;
  if (Type == ptListBox) {
    ShowCompletionList(FHintList.get());
    return;
  }
  const TPoint P = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
  FPopupHint->SetAutoHide(AutoHide);
  FPopupHint->ShowAt(ClientToScreen({P.X, P.Y + CaretRowHeight()}), FHintList->GetStrings(0));
}

void TCustomDCMemo::ShowCompletionList(TStrings* Strings) {
  TCustomMemoSource* S = GetSource();
  FHintPos = S->GetCaretPoint();
  ClosePopupList();
  if (Strings != FHintList.get()) FHintList->Assign(Strings);
  FPopupList = std::make_unique<TDCPopupList>(nullptr);
  FPopupList->OnListKeyDown = TEvent<void(TObject*, Word&, TShiftState)>(this, &TCustomDCMemo::PopupListKeyDown);
  FPopupList->OnListKeyPress = TEvent<void(TObject*, char&)>(this, &TCustomDCMemo::PopupListKeyPress);
  const TPoint P = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
  FPopupList->Popup(ClientToScreen({P.X, P.Y + CaretRowHeight()}), FHintList.get(), FTemplateFont.get(),
                    [this](Integer Index) { InsertPopupItem(FPopupList.get(), Index); });
}

void TCustomDCMemo::ClosePopupList() {
  if (!FPopupList) return;
  // Closing without a choice hands -1 to the chooser, which inserts nothing.
  FPopupList->CloseUp(false);
  FPopupList.reset();
}

void TCustomDCMemo::InsertPopupItem(TObject* /*Sender*/, Integer Index) {
  if (Index >= 0 && Index < FHintList->GetCount()) InsertTextAtCaret(FHintList->GetStrings(Index));
}

void TCustomDCMemo::DoHintInsert(AnsiString& S) {
  if (OnHintInsert.Assigned()) OnHintInsert(this, S);
}

void TCustomDCMemo::InsertTextAtCaret(const AnsiString& Text) {
  AnsiString T = Text;
  DoHintInsert(T);
  TCustomMemoSource* S = GetSource();
  S->BeginUpdate(MemoCode::InsertText);
  TUpdateGuard Update(*S, UpdateBegun);
  const Integer Typed = S->GetCaretChar() - FHintPos.X;
  S->SetCaret(FHintPos.X, FHintPos.Y);
  if (Typed > 0) S->DeleteChars(Typed);
  S->InsertTextBlock(T);
  S->ClearSelection();
}

bool TCustomDCMemo::DoFindStringInPopup(TStrings* Strings, const AnsiString& S, Integer& Index) {
  bool Handled = false;
  if (OnFindStringInPopup.Assigned()) OnFindStringInPopup(this, Strings, S, Index, Handled);
  return Handled;
}

bool TCustomDCMemo::IsPopupCloseKey(Word /*Key*/, TShiftState /*Shift*/) { return false; }

void TCustomDCMemo::PopupListKeyDown(TObject* /*Sender*/, Word& Key, TShiftState Shift) {
  TDCPopupList* L = FPopupList.get();
  if (!L || !L->IsOpen()) return;
  if (IsPopupCloseKey(Key, Shift)) {
    L->CloseUp(false);
    Key = 0;
    return;
  }
  switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      L->HandleKey(Key);
      Key = 0;
      return;
    case VK_SPACE:
      L->CloseUp(true);
      Key = 0;
      return;
    case VK_LEFT:
    case VK_RIGHT:
      L->CloseUp(false);
      break;
    default: break;
  }
  // Everything else edits the text (Backspace, Delete, the arrows).
  TDCCustomControl::KeyDown(Key, Shift);
  Key = 0;
  TCustomMemoSource* S = GetSource();
  if (L->IsOpen() && (S->GetCaretLine() != FHintPos.Y || S->GetCaretChar() < FHintPos.X)) L->CloseUp(false);
}

void TCustomDCMemo::PopupListKeyPress(TObject* /*Sender*/, char& Key) {
  TDCPopupList* L = FPopupList.get();
  if (!L || !L->IsOpen()) return;
  if (Key == '.') L->CloseUp(true);
  char Ch = Key;
  TDCCustomControl::KeyPress(Ch);
  Key = 0;
  if (!L->IsOpen()) return;
  TCustomMemoSource* S = GetSource();
  const AnsiString Line = S->GetExpandedLine(S->GetCaretLine());
  const Integer From = std::min<Integer>(FHintPos.X, Integer(Line.size()));
  const Integer To = std::min<Integer>(S->GetCaretChar(), Integer(Line.size()));
  const AnsiString Prefix = To > From ? Line.substr(size_t(From), size_t(To - From)) : AnsiString();
  Integer Index = -1;
  if (!DoFindStringInPopup(L->Items(), Prefix, Index)) Index = L->FindPrefix(Prefix);
  L->SetItemIndex(Index);
}

// ---------------------------------------------------------------------------
// Code templates

void TCustomDCMemo::DoTemplateInsert(TStrings* Strings) {
  if (OnTemplateInsert.Assigned()) OnTemplateInsert(this, Strings);
}

void TCustomDCMemo::CompleteCodeTemplate() {
  TCustomMemoSource* S = GetSource();
  S->ClearSelection();
  if (!S->HasOption(soPersistentBlocks)) {
    const AnsiString Line = S->GetExpandedLine(S->GetCaretLine());
    const Integer C = S->GetCaretChar();
    auto Delim = [&](Integer I) { return I < 0 || I >= Integer(Line.size()) || S->IsDelimChar(Line[size_t(I)]) ||
                                         Byte(Line[size_t(I)]) <= 32; };
    if (!Delim(C) && !Delim(C - 1)) return;  // inside a word
    if (Delim(C - 1)) {
      for (Integer I = 0; I < C - 1 && I < Integer(Line.size()); ++I)
        if (!Delim(I)) return;  // not right after a word, and the line is not blank before it
    }
  }
  S->BeginUpdate(MemoCode::MoveCaret);
  TUpdateGuard Update(*S, UpdateBegun);
  const TPoint Caret = S->GetCaretPoint();
  if (Caret.X > 0) S->SetCaret(Caret.X - 1, Caret.Y);
  S->SelectWord(wsWordOnly);
  S->SetCaret(Caret.X, Caret.Y);
}

void TCustomDCMemo::ShowCodeTemplatePopup() {
  TCustomMemoSource* S = GetSource();
  if (SameText(S->GetTemplatesType(), "None")) return;
  ClosePopupList();
  const TPoint At = TextToPoint(S->GetCaretChar(), S->GetCaretLine());
  CompleteCodeTemplate();
  AnsiString Prefix;
  const TRect Sel = S->GetSelectionRect();
  if (S->HasSelection() && Sel.Top == Sel.Bottom)
    Prefix = Trim(S->GetExpandedLine(Sel.Top).substr(size_t(Sel.Left), size_t(std::max(Sel.Right - Sel.Left, 0))));
  if (GetTemplateList(S->GetCodeTemplates(), FCompletionList.get(), Prefix) == 0) {
    InsertCodeTemplate(this, 0);
    return;
  }
  FPopupList = std::make_unique<TDCPopupList>(nullptr);
  FPopupList->Popup(ClientToScreen({At.X, At.Y + CaretRowHeight()}), FCompletionList.get(), FTemplateFont.get(),
                    [this](Integer Index) { InsertCodeTemplate(FPopupList.get(), Index); });
}

void TCustomDCMemo::InsertCodeTemplate(TObject* /*Sender*/, Integer Index) {
  TCustomMemoSource* S = GetSource();
  const Integer T = TemplateIndexOf(FCompletionList.get(), Index);
  TMemoCodeTemplates* Templates = S->GetCodeTemplates();
  if (T < 0 || T >= Templates->Count()) {
    S->ClearSelection();
    return;
  }
  S->BeginUpdate(MemoCode::TemplateInsert);
  TUpdateGuard Update(*S, UpdateBegun);
  if (S->HasSelection()) S->DeleteSelection();
  TStringList Lines;
  Lines.Assign(Templates->GetItem(T)->GetCode());
  DoTemplateInsert(&Lines);
  const TPoint Caret = S->GetCaretPoint();
  TPoint Target = Caret;
  bool Found = false;
  for (Integer I = 0; I < Lines.GetCount(); ++I) {
    AnsiString L = Lines.GetStrings(I);
    if (I > 0) L = AnsiString(size_t(Caret.X), ' ') + L;
    if (!Found) {
      const size_t Bar = L.find('|');
      if (Bar != AnsiString::npos) {
        L.erase(Bar, 1);
        Found = true;
        Target = I == 0 ? TPoint{Caret.X + Integer(Bar), Caret.Y} : TPoint{Integer(Bar), Caret.Y + I};
      }
    }
    Lines.SetStrings(I, L);
  }
  S->InsertLines(&Lines, false);
  S->ClearSelection();
  S->SetCaret(Target.X, Target.Y);
}
