#include "platform/forms/Mask.h"

#include <cctype>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/ControlMessages.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Win.h"

namespace {

const char* const IncompleteEntry = "Invalid input value. Press Esc to abandon the changes";

bool IsOpenMaskChar(char C) {
  switch (C) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#': return true;
    default: return false;
  }
}

// The mask split at the separators that are not taken literally.
std::vector<AnsiString> MaskFields(const AnsiString& Mask) {
  std::vector<AnsiString> Fields(1);
  for (size_t I = 0; I < Mask.size(); ++I) {
    if (Mask[I] == '\\' && I + 1 < Mask.size()) {
      Fields.back() += Mask.substr(I, 2);
      ++I;
    } else if (Mask[I] == ';') {
      Fields.emplace_back();
    } else {
      Fields.back() += Mask[I];
    }
  }
  return Fields;
}

}  // namespace

// ---------------------------------------------------------------------------
// TEditMaskFormat

TEditMaskFormat::TEditMaskFormat(const AnsiString& Mask) {
  const std::vector<AnsiString> Fields = MaskFields(Mask);
  // Only the last two fields are settings; more separators belong to the mask.
  const size_t Count = Fields.size();
  AnsiString Body = Fields[0];
  if (Count > 3)
    for (size_t I = 1; I + 2 < Count; ++I) Body += ";" + Fields[I];
  if (Count >= 2) FSaveLiterals = Fields[Count >= 3 ? Count - 2 : 1] != "0";
  if (Count >= 3 && !Fields[Count - 1].empty()) FBlank = Fields[Count - 1][0];

  TCase Case = caseNone;
  for (size_t I = 0; I < Body.size(); ++I) {
    const char C = Body[I];
    const bool HasNext = I + 1 < Body.size();
    if (C == '!') {
      FAlignRight = true;
    } else if (C == '>') {
      if (HasNext && Body[I + 1] == '<') {
        Case = caseNone;
        ++I;
      } else {
        Case = caseUpper;
      }
    } else if (C == '<') {
      if (HasNext && Body[I + 1] == '>') {
        Case = caseNone;
        ++I;
      } else {
        Case = caseLower;
      }
    } else if (C == '\\') {
      if (HasNext) FCells.push_back({true, Body[++I], caseNone});
    } else if (IsOpenMaskChar(C)) {
      FCells.push_back({false, C, Case});
    } else {
      FCells.push_back({true, C == '_' ? ' ' : C, caseNone});
    }
  }
}

char TEditMaskFormat::Accept(Integer Index, char Ch) const {
  if (Index < 0 || Index >= Length() || Ch == 0) return 0;
  const TCell& C = Cell(Index);
  if (C.Literal) return 0;
  const unsigned char U = static_cast<unsigned char>(Ch);
  if (C.Case == caseUpper) Ch = char(std::toupper(U));
  if (C.Case == caseLower) Ch = char(std::tolower(U));
  switch (C.Char) {
    case 'L': case 'l': return std::isalpha(U) ? Ch : 0;
    case 'A': case 'a': return std::isalnum(U) ? Ch : 0;
    case 'C': case 'c': return U >= 32 ? Ch : 0;
    case '0': case '9': return std::isdigit(U) ? Ch : 0;
    case '#': return std::isdigit(U) || Ch == '+' || Ch == '-' ? Ch : 0;
    default: return 0;
  }
}

bool TEditMaskFormat::Required(Integer Index) const {
  const TCell& C = Cell(Index);
  return !C.Literal && (C.Char == 'L' || C.Char == 'A' || C.Char == 'C' || C.Char == '0');
}

AnsiString TEditMaskFormat::ToEditText(const AnsiString& Text) const {
  if (Empty()) return Text;
  AnsiString Result;
  for (const TCell& C : FCells) Result += C.Literal ? C.Char : FBlank;
  const auto Put = [&](Integer Index, char Ch) {
    if (Ch == ' ' || Ch == FBlank) return;
    if (const char A = Accept(Index, Ch)) Result[size_t(Index)] = A;
  };
  if (FSaveLiterals) {
    // The text lines up with the mask, its fixed characters included.
    for (Integer I = 0; I < Length() && I < Integer(Text.size()); ++I)
      if (!Cell(I).Literal) Put(I, Text[size_t(I)]);
    return Result;
  }
  std::vector<Integer> Open;
  for (Integer I = 0; I < Length(); ++I)
    if (!Cell(I).Literal) Open.push_back(I);
  const size_t Skip = FAlignRight && Text.size() < Open.size() ? Open.size() - Text.size() : 0;
  for (size_t K = 0; K < Text.size() && Skip + K < Open.size(); ++K) Put(Open[Skip + K], Text[K]);
  return Result;
}

AnsiString TEditMaskFormat::ToText(const AnsiString& EditText) const {
  if (Empty()) return EditText;
  AnsiString Result;
  for (Integer I = 0; I < Length(); ++I) {
    const TCell& C = Cell(I);
    if (C.Literal) {
      if (FSaveLiterals) Result += C.Char;
      continue;
    }
    const char Ch = I < Integer(EditText.size()) ? EditText[size_t(I)] : FBlank;
    Result += Ch == FBlank ? ' ' : Ch;
  }
  return Result;
}

Integer TEditMaskFormat::FirstMissing(const AnsiString& EditText) const {
  for (Integer I = 0; I < Length(); ++I) {
    if (!Required(I)) continue;
    const char Ch = I < Integer(EditText.size()) ? EditText[size_t(I)] : FBlank;
    if (Ch == FBlank || Ch == ' ') return I;
  }
  return -1;
}

Integer TEditMaskFormat::NextOpen(Integer Index) const {
  Integer I = std::max<Integer>(Index, 0);
  while (I < Length() && Cell(I).Literal) ++I;
  return I;
}

Integer TEditMaskFormat::PreviousOpen(Integer Index) const {
  Integer I = std::min(Index, Length()) - 1;
  while (I >= 0 && Cell(I).Literal) --I;
  return I;
}

// ---------------------------------------------------------------------------
// TCustomMaskEdit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const AnsiString& Value) {
  if (Value == FEditMask) return;
  const AnsiString Old = GetText();
  FEditMask = Value;
  FFormat = TEditMaskFormat(Value);
  SetMaxLength(IsMasked() ? FFormat.Length() : 0);
  SetText(Old);
}

AnsiString TCustomMaskEdit::GetEditText() const { return TControl::GetText(); }

AnsiString TCustomMaskEdit::Fit(const AnsiString& Value) const {
  if (!IsMasked()) return Value;
  AnsiString Text;
  for (Integer I = 0; I < FFormat.Length(); ++I) {
    const auto& C = FFormat.Cell(I);
    const char Ch = I < Integer(Value.size()) ? Value[size_t(I)] : FFormat.Blank();
    if (C.Literal)
      Text += C.Char;
    else if (Ch == FFormat.Blank() || Ch == ' ')
      Text += FFormat.Blank();
    else if (const char A = FFormat.Accept(I, Ch))
      Text += A;
    else
      Text += FFormat.Blank();
  }
  return Text;
}

void TCustomMaskEdit::SetEditText(const AnsiString& Value) { TControl::SetText(Fit(Value)); }

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  TCustomEdit::Dispatch(Message);
  if (Message.Msg != CM_TEXTCHANGED || !IsMasked()) return;
  const AnsiString Shown = GetEditText();
  if (const AnsiString Fitted = Fit(Shown); Fitted != Shown) TControl::SetText(Fitted);
}

AnsiString TCustomMaskEdit::GetText() const {
  return IsMasked() ? FFormat.ToText(GetEditText()) : TControl::GetText();
}

void TCustomMaskEdit::SetText(const AnsiString& Value) {
  if (IsMasked())
    SetEditText(FFormat.ToEditText(Value));
  else
    TControl::SetText(Value);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !GetModified()) return;
  const Integer Missing = FFormat.FirstMissing(GetEditText());
  if (Missing < 0) return;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, WPARAM(Missing), LPARAM(Missing));
  throw EDBEditError(IncompleteEntry);
}

void TCustomMaskEdit::Selection(Integer& Start, Integer& End) {
  DWORD S = 0, E = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&S), LPARAM(&E));
  Start = Integer(S);
  End = Integer(E);
}

void TCustomMaskEdit::PutEditText(const AnsiString& Value, Integer Caret) {
  if (Value != GetEditText()) {
    TControl::SetText(Value);
    SetModified(true);
  }
  SendMessageA(Handle(), EM_SETSEL, WPARAM(Caret), LPARAM(Caret));
}

void TCustomMaskEdit::BlankRange(Integer Start, Integer End, Integer Caret) {
  AnsiString Text = Fit(GetEditText());
  for (Integer I = std::max<Integer>(Start, 0); I < End && I < Integer(Text.size()); ++I)
    if (!FFormat.Cell(I).Literal) Text[size_t(I)] = FFormat.Blank();
  PutEditText(Text, Caret);
}

void TCustomMaskEdit::DoEnter() {
  FEnterText = GetEditText();
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (Key != VK_DELETE || !IsMasked() || GetReadOnly() || Shift.Contains(ssShift)) return;
  // Delete empties the position (or the selection); nothing moves.
  Integer Start = 0, End = 0;
  Selection(Start, End);
  BlankRange(Start, End > Start ? End : Start + 1, Start);
  Key = 0;
}

void TCustomMaskEdit::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == 0 || !IsMasked() || GetReadOnly()) return;
  Integer Start = 0, End = 0;
  Selection(Start, End);
  if (Key == VK_ESCAPE) {
    // Esc gives up the changes made since the edit was entered.
    if (GetModified()) {
      PutEditText(FEnterText, 0);
      SetModified(false);
      Key = 0;
    }
    return;
  }
  if (Key == VK_BACK) {
    if (End > Start) {
      BlankRange(Start, End, Start);
    } else if (const Integer P = FFormat.PreviousOpen(Start); P >= 0) {
      BlankRange(P, P + 1, P);
    }
    Key = 0;
    return;
  }
  AnsiString Typed;
  if (Key == 0x16) {  // Ctrl+V: each character as if typed
    Typed = Clipboard()->GetAsText();
  } else if (Key == 0x18) {  // Ctrl+X: copy, then empty the selection
    if (End > Start) {
      Clipboard()->SetAsText(GetSelText());
      BlankRange(Start, End, Start);
    }
    Key = 0;
    return;
  } else if (static_cast<unsigned char>(Key) < 32) {
    return;
  } else {
    Typed = AnsiString(1, Key);
  }
  Key = 0;
  AnsiString Text = Fit(GetEditText());
  if (End > Start)
    for (Integer I = Start; I < End && I < Integer(Text.size()); ++I)
      if (!FFormat.Cell(I).Literal) Text[size_t(I)] = FFormat.Blank();
  Integer Pos = Start;
  bool Took = false;
  for (char Ch : Typed) {
    const Integer P = FFormat.NextOpen(Pos);
    const char A = FFormat.Accept(P, Ch);
    if (!A) break;
    Text[size_t(P)] = A;
    Pos = FFormat.NextOpen(P + 1);
    Took = true;
  }
  if (!Took) {
    MessageBeep(0);
    return;
  }
  PutEditText(Text, Pos);
}

void TMaskEdit::Published(TPublished<TMaskEdit>& P) {
  P.Property("Anchors", &TMaskEdit::GetAnchors, &TMaskEdit::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("AutoSelect", &TMaskEdit::GetAutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
  P.Property("AutoSize", &TMaskEdit::GetAutoSize, &TMaskEdit::SetAutoSize).Default(true);
  SX_PUBLISH_BIDI(TMaskEdit);
  P.Property("BorderStyle", &TMaskEdit::GetBorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
  P.Property("CharCase", &TMaskEdit::GetCharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
  P.Property("Color", &TMaskEdit::GetColor, &TMaskEdit::SetColor).Default(clWindow);
  P.Property("Constraints", &TMaskEdit::GetConstraints, &TMaskEdit::SetConstraints);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TMaskEdit);
  // Before Text, so a stored text is read into its mask.
  P.Property("EditMask", &TMaskEdit::GetEditMask, &TMaskEdit::SetEditMask);
  SX_PUBLISH_IME(TMaskEdit);
  P.Property("MaxLength", &TMaskEdit::GetMaxLength, &TMaskEdit::SetMaxLength).Default(0);
  SX_PUBLISH_PARENT_BIDI(TMaskEdit);
  P.Property("ParentColor", &TMaskEdit::GetParentColor, &TMaskEdit::SetParentColor).Default(false);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TMaskEdit);
  P.Property("PasswordChar", &TMaskEdit::GetPasswordChar, &TMaskEdit::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &TMaskEdit::GetReadOnly, &TMaskEdit::SetReadOnly).Default(false);
  SX_PUBLISH_POPUP_HINT(TMaskEdit);
  SX_PUBLISH_TAB(TMaskEdit, true);
  P.Property("Text", &TMaskEdit::GetText, &TMaskEdit::SetText);
  P.Property("Visible", &TMaskEdit::GetVisible, &TMaskEdit::SetVisible).Default(true);
  P.Property("OnChange", &TMaskEdit::OnChange, &TMaskEdit::OnChange);
  P.Property("OnClick", &TMaskEdit::OnClick, &TMaskEdit::OnClick);
  P.Property("OnDblClick", &TMaskEdit::OnDblClick, &TMaskEdit::OnDblClick);
  SX_PUBLISH_KEY_EVENTS(TMaskEdit);
  SX_PUBLISH_MOUSE_EVENTS(TMaskEdit);
}

void RegisterMaskClasses() { RegisterClasses({TMaskEdit::StaticClass()}); }
