// Stored attributes of the editor: the selection attributes, and how a
// changed attribute set reaches the style bytes of the selected text.
#include <algorithm>
#include <climits>

#include "editor/controls/DCMemo.h"
#include "platform/win/Win.h"
#include "platform/forms/ControlMessages.h"
#include "platform/rtl/Guards.h"

namespace {
// Change group that re-parses the lines whose attributes changed.
constexpr Integer ccAttributes = 71;
// The State bits that, all set, replace every field of an entry.
constexpr Word maEveryField = maColor | maBackColor | maName | maCharset | maPitch | maSize | maStyle;

// The old entry with the fields State marks taken from Attrs.
void MergeInto(TMemoAttributes& Into, TMemoAttributes& Attrs) {
  const Word St = Attrs.GetState();
  TMemoAttributes Merged;
  Merged.AssignNoNotify(&Into);
  if (St & maColor) Merged.SetColor(Attrs.GetColor());
  if (St & maBackColor) Merged.SetBackColor(Attrs.GetBackColor());
  if (St & maName) Merged.SetName(Attrs.GetName());
  if (St & maCharset) Merged.SetCharset(Attrs.GetCharset());
  if (St & maPitch) Merged.SetPitch(Attrs.GetPitch());
  if (St & maSize) Merged.SetSize(Attrs.GetSize());
  TFontStyles Style = Merged.GetStyle();
  if (St & maStyle) {
    Style = Attrs.GetStyle();
  } else {
    const std::pair<Word, TFontStyle> Bits[] = {
        {maBold, fsBold}, {maItalic, fsItalic}, {maUnderline, fsUnderline}, {maStrikeOut, fsStrikeOut}};
    for (const auto& [Bit, Flag] : Bits) {
      if (!(St & Bit)) continue;
      if (Attrs.GetStyle().Contains(Flag)) Style.Include(Flag);
      else Style.Exclude(Flag);
    }
  }
  Merged.SetStyle(Style);
  Into.AssignNoNotify(&Merged);
}
}  // namespace

TAttributeParser* TCustomDCMemo::AttrParser() const { return dynamic_cast<TAttributeParser*>(GetSyntaxParser()); }

TMemoAttributes* TCustomDCMemo::GetSelAttributes() {
  TCustomMemoSource* S = GetSource();
  if (!GetSyntaxParser()) {
    FSelAttributes->ResetTo(FFont.get(), GetColor());
    // Owned by the editor, so freed with it; the source hears of that.
    SetSyntaxParser(new TAttributeParser(this));
  } else if (TAttributeParser* P = AttrParser()) {
    const TPoint At = S->HasSelection() ? TPoint{S->GetSelectionRect().Left + 1, S->GetSelectionRect().Top}
                                        : S->GetCaretPoint();
    P->GetAttributesAt(At, *FSelAttributes);
  }
  return FSelAttributes.get();
}

void TCustomDCMemo::FontChanged(TObject* /*Sender*/) {
  DefaultAttrFollowsEditor();
  InvalidateMetrics();
  if (FCreated) {
    if (Focused()) CreateTheCaret();
    FBreaks.clear();
    FWrappedUpTo = 0;
    RecomputeWrap(0, INT_MAX);
    UpdateScrollBars();
  }
  Invalidate();
}

void TCustomDCMemo::DefaultAttrFollowsEditor() {
  if (TAttributeParser* P = AttrParser(); P && P->Owner() == this) P->SetDefaultAttr(FFont.get(), GetColor());
}

void TCustomDCMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_VSCROLL: WMScroll(Message, true); return;
    case WM_HSCROLL: WMScroll(Message, false); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_TIMER: WMTimer(Message); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_RBUTTONUP: WMRButtonUp(Message); return;
    case WM_SETCURSOR:
      if (Message.WParam == WPARAM(Handle()) && LOWORD(Message.LParam) == HTCLIENT) {
        WMSetCursor(Message);
        return;
      }
      break;
    case WM_SETFOCUS:
      inherited::Dispatch(Message);
      WMSetFocus(Message);
      return;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      inherited::Dispatch(Message);
      return;
    case WM_SIZE:
      inherited::Dispatch(Message);
      UpdateScrollBars();
      return;
    case CM_MOUSELEAVE: HidePopupHint(); break;
    case CM_CTL3DCHANGED:
      // The client edge comes with the window.
      if (HandleAllocated()) RecreateWnd();
      break;
    case CM_ENABLEDCHANGED:
      GetSource()->ClearSelection();
      Invalidate();
      break;
    default:
      if (HandleEditMessage(Message)) return;
      break;
  }
  inherited::Dispatch(Message);
  // Entry 0 is the editor's own look; a new Color must reach it as a new
  // Font does, or default text would export with the old background.
  if (Message.Msg == CM_COLORCHANGED) DefaultAttrFollowsEditor();
}

// Style bytes of one line from display column FromCol up to (not
// including) ToCol get the attributes; runs of one old index are merged
// as a unit, so fields the set does not mark keep each run's own value.
void TCustomDCMemo::ApplyAttrsToLine(TAttributeParser* P, TMemoAttributes& Attrs, Integer Line, Integer FromCol,
                                     Integer ToCol) {
  TCustomMemoSource* S = GetSource();
  TStringItem* Item = S->GetLineItem(Line);
  if (!Item || Item->Text.empty()) return;
  S->AdjustAttrLength(Item);
  Integer From = FromCol, To = ToCol;
  S->VisualToCharIndex(Item->Text, From);
  if (To == INT_MAX) To = Integer(Item->Text.size());
  else S->VisualToCharIndex(Item->Text, To);
  From = std::clamp(From, 0, Integer(Item->Text.size()));
  To = std::clamp(To, From, Integer(Item->Text.size()));
  if (To <= From) return;
  AnsiString New = Item->Attributes.substr(size_t(From), size_t(To - From));
  if ((Attrs.GetState() & maEveryField) == maEveryField) {
    // Every field replaced: the old entries do not matter.
    std::fill(New.begin(), New.end(), char(P->AddAttr(Attrs)));
  } else {
    for (size_t I = 0; I < New.size();) {
      const Byte Old = Byte(New[I]);
      size_t J = I + 1;
      while (J < New.size() && Byte(New[J]) == Old) ++J;
      TMemoAttributes Entry;
      Entry.AssignNoNotify(P->GetAttr(Old < P->AttrCount() ? Old : 0));
      MergeInto(Entry, Attrs);
      std::fill(New.begin() + I, New.begin() + J, char(P->AddAttr(Entry)));
      I = J;
    }
  }
  S->ReplaceAttrs(New, Item->Attributes, From + 1, Line);
}

void TCustomDCMemo::AttrHostApply(TMemoAttributes& Attrs) {
  TAttributeParser* P = AttrParser();
  if (!P) return;
  TCustomMemoSource* S = GetSource();
  if (!S->HasSelection()) {
    S->DefaultAttribute = P->AddAttr(Attrs);
  } else {
    const TRect R = S->GetSelectionRect();
    const Integer Last = std::min(R.Bottom, S->GetLineCount() - 1);
    S->BeginUpdate(ccAttributes);
    {
      TUpdateGuard Update(*S, UpdateBegun);
      for (Integer L = R.Top; L <= Last; ++L) {
        Integer Start, Stop;
        S->GetSelectedColumns(L, Start, Stop);
        if (Stop > Start) ApplyAttrsToLine(P, Attrs, L, Start, Stop);
        if (TStringItem* Item = S->GetLineItem(L)) Item->Flags &= Byte(~lfParsed);
      }
      S->MarkLinesChanged(R.Top, std::max(R.Top, Last));
      if (Last >= R.Top) S->ParseRange(R.Top, Last, /*Force=*/true);
    }
  }
  if (!S->InImport && S->UpdateCount() == 0) Invalidate();
  S->AttributesChanged();
}

Word TCustomDCMemo::AttrHostConsistentMask(TMemoAttributes& /*Attrs*/) {
  Word Mask = maAll;
  TAttributeParser* P = AttrParser();
  TCustomMemoSource* S = GetSource();
  if (!P || !S->HasSelection()) return Mask;
  auto EntryOf = [P](Integer Index) { return P->GetAttr(Index >= 0 && Index < P->AttrCount() ? Index : 0); };
  TMemoAttributes* Ref = EntryOf(S->GetAttributeAt(S->GetCaretChar(), S->GetCaretLine()));
  const TRect R = S->GetSelectionRect();
  const Integer Last = std::min(R.Bottom, S->GetLineCount() - 1);
  for (Integer L = R.Top; L <= Last && Mask; ++L) {
    TStringItem* Item = S->GetLineItem(L);
    Integer From, To;
    S->GetSelectedColumns(L, From, To);
    if (To == INT_MAX) To = Integer(Item->Text.size());
    else S->VisualToCharIndex(Item->Text, To);
    S->VisualToCharIndex(Item->Text, From);
    To = std::min(To, Integer(Item->Attributes.size()));
    Integer Seen = -1;  // the index compared last
    for (Integer I = From; I < To; ++I) {
      const Integer Index = Byte(Item->Attributes[size_t(I)]);
      if (Index == Seen) continue;
      Seen = Index;
      TMemoAttributes* E = EntryOf(Index);
      if (E->GetCharset() != Ref->GetCharset()) Mask &= Word(~maCharset);
      if (E->GetColor() != Ref->GetColor()) Mask &= Word(~maColor);
      if (E->GetBackColor() != Ref->GetBackColor()) Mask &= Word(~maBackColor);
      if (E->GetName() != Ref->GetName()) Mask &= Word(~maName);
      if (E->GetPitch() != Ref->GetPitch()) Mask &= Word(~maPitch);
      if (E->GetSize() != Ref->GetSize()) Mask &= Word(~maSize);
      if (E->GetStyle() != Ref->GetStyle()) {
        Mask &= Word(~maStyle);
        const std::pair<Word, TFontStyle> Bits[] = {
            {maBold, fsBold}, {maItalic, fsItalic}, {maUnderline, fsUnderline}, {maStrikeOut, fsStrikeOut}};
        for (const auto& [Bit, Flag] : Bits)
          if (E->GetStyle().Contains(Flag) != Ref->GetStyle().Contains(Flag)) Mask &= Word(~Bit);
      }
    }
  }
  return Mask;
}
