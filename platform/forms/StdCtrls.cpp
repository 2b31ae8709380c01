#include "platform/forms/StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "platform/forms/Application.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/EditControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Window.h"

bool IsAccel(Word Key, const AnsiString& Str) {
  for (std::size_t i = 0; i + 1 < Str.size(); ++i) {
    if (Str[i] != '&') continue;
    if (Str[i + 1] == '&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    return std::toupper(Byte(Str[i + 1])) == std::toupper(Byte(Key & 0xFF));
  }
  return false;
}

TCtlColorBrush::~TCtlColorBrush() {
  if (FBrush) DeleteObject(FBrush);
}

HBRUSH TCtlColorBrush::Get(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  if (FBrush && FColor == C) return FBrush;
  if (FBrush) DeleteObject(FBrush);
  FBrush = CreateSolidBrush(C);
  FColor = C;
  return FBrush;
}

namespace {
// The answer to a child's colour question: its font colour on its colour.
LRESULT AnswerCtlColor(TControl* C, TCtlColorBrush& Brush, WPARAM DC) {
  SetTextColor(HDC(DC), ColorToRGB(C->GetFont()->GetColor()));
  SetBkColor(HDC(DC), ColorToRGB(C->GetColor()));
  return LRESULT(Brush.Get(C->GetColor()));
}

void HandleControlException(TControl* C) {
  if (!Application) throw;
  Application->HandleException(C);
}

AnsiString AdjustLineBreaks(const AnsiString& S) {
  AnsiString Out;
  Out.reserve(S.size());
  for (std::size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\r' || S[i] == '\n') {
      if (S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n') ++i;
      Out += "\r\n";
    } else {
      Out += S[i];
    }
  }
  return Out;
}
}  // namespace

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 25);
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  FAutoSize = true;
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  else if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  // The 3-D border is the sunken client edge, the flat one a plain line.
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    inherited::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(FHandle, EM_SETPASSWORDCHAR, WPARAM(Byte(FPasswordChar)), 0);
  SendMessageA(FHandle, EM_SETMODIFY, FModified, 0);
  // The classic edit keeps a small gap between its frame and the text.
  SendMessageA(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  AdjustHeight();
}

void TCustomEdit::DestroyWnd() {
  FModified = GetModified();
  inherited::DestroyWnd();
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  TMemoryDc Dc(FFont->GetHandle());
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc.Dc(), &Tm);
  // Text, a pixel of margin above and below, and the frame.
  const Integer Frame = FBorderStyle == bsSingle ? 2 * 2 : 0;
  SetHeight(Tm.tmHeight + 4 + Frame);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  AdjustHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (FHandle) {
    // The window changes only what is typed from now on: convert the rest.
    AnsiString T = GetText();
    for (char& C : T)
      C = Value == ecUpperCase ? char(std::toupper(Byte(C))) : Value == ecLowerCase ? char(std::tolower(Byte(C))) : C;
    RecreateWnd();
    SetText(T);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  if (FMaxLength == Value) return;
  FMaxLength = std::max<Integer>(0, Value);
  if (FHandle) SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

bool TCustomEdit::GetModified() const {
  return FHandle ? SendMessageA(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(bool Value) {
  if (FHandle) SendMessageA(FHandle, EM_SETMODIFY, Value, 0);
  else FModified = Value;
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (FHandle) {
    SendMessageA(FHandle, EM_SETPASSWORDCHAR, WPARAM(Byte(Value)), 0);
    Invalidate();
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (FHandle) SendMessageA(FHandle, EM_SETREADONLY, Value, 0);
}

Integer TCustomEdit::GetSelStart() {
  DWORD Start = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), 0);
  return Integer(Start);
}

void TCustomEdit::SetSelStart(Integer Value) { SendMessageA(Handle(), EM_SETSEL, WPARAM(Value), LPARAM(Value)); }

Integer TCustomEdit::GetSelLength() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  return Integer(End - Start);
}

void TCustomEdit::SetSelLength(Integer Value) {
  DWORD Start = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), 0);
  SendMessageA(Handle(), EM_SETSEL, WPARAM(Start), LPARAM(Integer(Start) + Value));
}

AnsiString TCustomEdit::GetSelText() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  return GetText().substr(Start, End - Start);
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, LPARAM(Value.c_str()));
}

bool TCustomEdit::CanUndo() { return FHandle && SendMessageA(FHandle, EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendMessageA(Handle(), WM_UNDO, 0, 0); }
void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCustomEdit::DoEnter() {
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && FHandle &&
      !(GetWindowLongA(FHandle, GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  inherited::DoEnter();
}

void TCustomEdit::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::CNCtlColor(TMessage& Message) { Message.Result = AnswerCtlColor(this, FBrush, Message.WParam); }

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustHeight();
      break;
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    case CM_CTL3DCHANGED:
    case CM_PARENTCTL3DCHANGED:
      inherited::Dispatch(Message);
      if (FBorderStyle == bsSingle) RecreateWnd();
      break;
    default: inherited::Dispatch(Message);
  }
}

void TEdit::Published(TPublished<TEdit>& P) {
  P.Property("Anchors", &TEdit::GetAnchors, &TEdit::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("AutoSelect", &TEdit::GetAutoSelect, &TEdit::SetAutoSelect).Default(true);
  P.Property("AutoSize", &TEdit::GetAutoSize, &TEdit::SetAutoSize).Default(true);
  SX_PUBLISH_BIDI(TEdit);
  P.Property("BorderStyle", &TEdit::GetBorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
  P.Property("CharCase", &TEdit::GetCharCase, &TEdit::SetCharCase).Default(ecNormal);
  P.Property("Color", &TEdit::GetColor, &TEdit::SetColor).Default(clWindow);
  P.Property("Constraints", &TEdit::GetConstraints, &TEdit::SetConstraints);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TEdit);
  P.Property("HideSelection", &TEdit::GetHideSelection, &TEdit::SetHideSelection).Default(true);
  SX_PUBLISH_IME(TEdit);
  P.Property("MaxLength", &TEdit::GetMaxLength, &TEdit::SetMaxLength).Default(0);
  P.Property("OEMConvert", &TEdit::GetOEMConvert, &TEdit::SetOEMConvert).Default(false);
  SX_PUBLISH_PARENT_BIDI(TEdit);
  P.Property("ParentColor", &TEdit::GetParentColor, &TEdit::SetParentColor).Default(false);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TEdit);
  P.Property("PasswordChar", &TEdit::GetPasswordChar, &TEdit::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &TEdit::GetReadOnly, &TEdit::SetReadOnly).Default(false);
  SX_PUBLISH_POPUP_HINT(TEdit);
  SX_PUBLISH_TAB(TEdit, true);
  P.Property("Text", &TEdit::GetText, &TEdit::SetText);
  P.Property("Visible", &TEdit::GetVisible, &TEdit::SetVisible).Default(true);
  P.Property("OnChange", &TEdit::OnChange, &TEdit::OnChange);
  P.Property("OnClick", &TEdit::OnClick, &TEdit::OnClick);
  P.Property("OnDblClick", &TEdit::OnDblClick, &TEdit::OnDblClick);
  SX_PUBLISH_KEY_EVENTS(TEdit);
  SX_PUBLISH_MOUSE_EVENTS(TEdit);
}

// ---------------------------------------------------------------------------
// TMemoStrings

std::vector<AnsiString> TMemoStrings::Split() const {
  std::vector<AnsiString> Lines;
  const AnsiString T = FMemo->GetText();
  std::size_t Pos = 0;
  while (Pos < T.size()) {
    std::size_t End = T.find_first_of("\r\n", Pos);
    if (End == AnsiString::npos) {
      Lines.push_back(T.substr(Pos));
      break;
    }
    Lines.push_back(T.substr(Pos, End - Pos));
    Pos = End + ((T[End] == '\r' && End + 1 < T.size() && T[End + 1] == '\n') ? 2 : 1);
  }
  return Lines;
}

void TMemoStrings::Join(const std::vector<AnsiString>& Lines) {
  AnsiString T;
  for (const AnsiString& L : Lines) {
    T += L;
    T += sLineBreak;
  }
  FMemo->SetText(T);
}

Integer TMemoStrings::GetCount() const { return Integer(Split().size()); }

AnsiString TMemoStrings::Get(Integer Index) const {
  const auto L = Split();
  if (Index < 0 || Index >= Integer(L.size())) IndexError(Index);
  return L[std::size_t(Index)];
}

void TMemoStrings::Put(Integer Index, const AnsiString& S) {
  auto L = Split();
  if (Index < 0 || Index >= Integer(L.size())) IndexError(Index);
  L[std::size_t(Index)] = S;
  Join(L);
}

void TMemoStrings::Insert(Integer Index, const AnsiString& S) {
  auto L = Split();
  if (Index < 0 || Index > Integer(L.size())) IndexError(Index);
  L.insert(L.begin() + Index, S);
  Join(L);
}

void TMemoStrings::Delete(Integer Index) {
  auto L = Split();
  if (Index < 0 || Index >= Integer(L.size())) IndexError(Index);
  L.erase(L.begin() + Index);
  Join(L);
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

AnsiString TMemoStrings::GetTextStr() const { return FMemo->GetText(); }

void TMemoStrings::SetTextStr(const AnsiString& Value) { FMemo->SetText(AdjustLineBreaks(Value)); }

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  FControlStyle.Exclude(csFixedHeight);
  FAutoSize = false;
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  static const DWORD Alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= ES_MULTILINE | Alignments[FAlignment];
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

TPoint TCustomMemo::GetCaretPos() {
  DWORD Start = 0, End = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
  const Integer Line = Integer(SendMessageA(FHandle, EM_LINEFROMCHAR, End, 0));
  const Integer Index = Integer(SendMessageA(FHandle, EM_LINEINDEX, WPARAM(Line), 0));
  return {Integer(End) - Index, Line};
}

void TCustomMemo::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (Key == '\r' && !FWantReturns) Key = 0;
}

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    inherited::Dispatch(Message);
    if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    else Message.Result &= ~DLGC_WANTTAB;
    if (FWantReturns) Message.Result |= DLGC_WANTALLKEYS;
    else Message.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  inherited::Dispatch(Message);
}

void TMemo::Published(TPublished<TMemo>& P) {
  P.Property("Align", &TMemo::GetAlign, &TMemo::SetAlign).Default(alNone);
  P.Property("Alignment", &TMemo::GetAlignment, &TMemo::SetAlignment).Default(taLeftJustify);
  P.Property("Anchors", &TMemo::GetAnchors, &TMemo::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TMemo);
  P.Property("BorderStyle", &TMemo::GetBorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
  P.Property("Color", &TMemo::GetColor, &TMemo::SetColor).Default(clWindow);
  P.Property("Constraints", &TMemo::GetConstraints, &TMemo::SetConstraints);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TMemo);
  P.Property("HideSelection", &TMemo::GetHideSelection, &TMemo::SetHideSelection).Default(true);
  SX_PUBLISH_IME(TMemo);
  P.Property("Lines", &TMemo::GetLines, &TMemo::SetLines);
  P.Property("MaxLength", &TMemo::GetMaxLength, &TMemo::SetMaxLength).Default(0);
  P.Property("OEMConvert", &TMemo::GetOEMConvert, &TMemo::SetOEMConvert).Default(false);
  SX_PUBLISH_PARENT_BIDI(TMemo);
  P.Property("ParentColor", &TMemo::GetParentColor, &TMemo::SetParentColor).Default(false);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TMemo);
  P.Property("ReadOnly", &TMemo::GetReadOnly, &TMemo::SetReadOnly).Default(false);
  P.Property("ScrollBars", &TMemo::GetScrollBars, &TMemo::SetScrollBars).Default(ssNone);
  SX_PUBLISH_POPUP_HINT(TMemo);
  SX_PUBLISH_TAB(TMemo, true);
  P.Property("Visible", &TMemo::GetVisible, &TMemo::SetVisible).Default(true);
  P.Property("WantReturns", &TMemo::GetWantReturns, &TMemo::SetWantReturns).Default(true);
  P.Property("WantTabs", &TMemo::GetWantTabs, &TMemo::SetWantTabs).Default(false);
  P.Property("WordWrap", &TMemo::GetWordWrap, &TMemo::SetWordWrap).Default(true);
  P.Property("OnChange", &TMemo::OnChange, &TMemo::OnChange);
  P.Property("OnClick", &TMemo::OnClick, &TMemo::OnClick);
  P.Property("OnDblClick", &TMemo::OnDblClick, &TMemo::OnDblClick);
  SX_PUBLISH_KEY_EVENTS(TMemo);
  SX_PUBLISH_MOUSE_EVENTS(TMemo);
}

// ---------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
}

TButtonControl::~TButtonControl() = default;

template <class F>
void TButtonControl::Guarded(F&& Body) {
  try {
    Body();
  } catch (const Exception&) {
    HandleControlException(this);
  }
}

void TButtonControl::CNCtlColor(TMessage& Message) { Message.Result = AnswerCtlColor(this, FBrush, Message.WParam); }

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  FTabStop = true;
  FColor = clBtnFace;
  FParentColor = false;
}

void TButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  if (OnDrawItem.Assigned()) Params.Style |= BS_OWNERDRAW;
  else Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  FActive = FDefault;
  SetButtonStyle(FActive);
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!FHandle) return;
  const DWORD Kind = DWORD(GetWindowLongA(FHandle, GWL_STYLE)) & BS_TYPEMASK;
  if (Kind == BS_OWNERDRAW) {
    Invalidate();
    return;
  }
  const DWORD Want = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (Kind != Want) SendMessageA(FHandle, BM_SETSTYLE, Want, TRUE);
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (!FHandle) return;
  // The buttons of the form settle which one Enter presses now.
  if (TCustomForm* Form = GetParentForm(this)) Form->Perform(CM_FOCUSCHANGED, 0, LPARAM(Form->GetActiveControl()));
}

void TButton::Click() {
  if (TCustomForm* Form = GetParentForm(this))
    if (FModalResult != mrNone) Form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: {
      const Word Key = Word(Message.WParam);
      if (((Key == VK_RETURN && FActive) || (Key == VK_ESCAPE && FCancel)) &&
          KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    case CM_FOCUSCHANGED: {
      auto* Sender = reinterpret_cast<TWinControl*>(Message.LParam);
      if (dynamic_cast<TButton*>(Sender)) FActive = Sender == this;
      else FActive = FDefault;
      SetButtonStyle(FActive);
      inherited::Dispatch(Message);
      return;
    }
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) Click();
      return;
    case CN_DRAWITEM: {
      const auto* Di = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      if (Di && OnDrawItem.Assigned()) Guarded([&] { OnDrawItem(this, Di->hDC, Di->rcItem, Di->itemState); });
      Message.Result = 1;
      return;
    }
    default: inherited::Dispatch(Message);
  }
}

void TButton::Published(TPublished<TButton>& P) {
  P.Property("Anchors", &TButton::GetAnchors, &TButton::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TButton);
  P.Property("Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
  P.Property("Caption", &TButton::GetCaption, &TButton::SetCaption);
  P.Property("Constraints", &TButton::GetConstraints, &TButton::SetConstraints);
  P.Property("Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TButton);
  P.Property("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Default(0);
  SX_PUBLISH_PARENT_BIDI(TButton);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TButton);
  SX_PUBLISH_POPUP_HINT(TButton);
  SX_PUBLISH_TAB(TButton, true);
  P.Property("Visible", &TButton::GetVisible, &TButton::SetVisible).Default(true);
  P.Property("OnClick", &TButton::OnClick, &TButton::OnClick);
  SX_PUBLISH_KEY_EVENTS(TButton);
  SX_PUBLISH_MOUSE_EVENTS(TButton);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  FTabStop = true;
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  // The window never changes its own check: Toggle decides.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  SendMessageA(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (FHandle) SendMessageA(FHandle, BM_SETCHECK, WPARAM(FState), 0);
  if (!FClicksDisabled) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    default: inherited::Dispatch(Message);
  }
}

void TCheckBox::Published(TPublished<TCheckBox>& P) {
  P.Property("Alignment", &TCheckBox::GetAlignment, &TCheckBox::SetAlignment).Default(taRightJustify);
  P.Property("AllowGrayed", &TCheckBox::GetAllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
  P.Property("Anchors", &TCheckBox::GetAnchors, &TCheckBox::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TCheckBox);
  P.Property("Caption", &TCheckBox::GetCaption, &TCheckBox::SetCaption);
  P.Property("Checked", &TCheckBox::GetChecked, &TCheckBox::SetChecked).Default(false);
  P.Property("Color", &TCheckBox::GetColor, &TCheckBox::SetColor);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TCheckBox);
  SX_PUBLISH_PARENT_BIDI(TCheckBox);
  P.Property("ParentColor", &TCheckBox::GetParentColor, &TCheckBox::SetParentColor).Default(true);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TCheckBox);
  SX_PUBLISH_POPUP_HINT(TCheckBox);
  P.Property("State", &TCheckBox::GetState, &TCheckBox::SetState).Default(cbUnchecked);
  SX_PUBLISH_TAB(TCheckBox, true);
  P.Property("Visible", &TCheckBox::GetVisible, &TCheckBox::SetVisible).Default(true);
  P.Property("OnClick", &TCheckBox::OnClick, &TCheckBox::OnClick);
  SX_PUBLISH_KEY_EVENTS(TCheckBox);
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  if (FHandle) SendMessageA(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  if (FParent)
    for (Integer i = 0; i < FParent->ControlCount(); ++i)
      if (auto* R = dynamic_cast<TRadioButton*>(FParent->Controls(i)); R && R != this) R->SetChecked(false);
  if (!FClicksDisabled) Click();
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) SetChecked(true);
      else if (HIWORD(Message.WParam) == BN_DOUBLECLICKED) DblClick();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        SetChecked(true);
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    default: inherited::Dispatch(Message);
  }
}

void TRadioButton::Published(TPublished<TRadioButton>& P) {
  P.Property("Alignment", &TRadioButton::GetAlignment, &TRadioButton::SetAlignment).Default(taRightJustify);
  P.Property("Anchors", &TRadioButton::GetAnchors, &TRadioButton::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TRadioButton);
  P.Property("Caption", &TRadioButton::GetCaption, &TRadioButton::SetCaption);
  P.Property("Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked).Default(false);
  P.Property("Color", &TRadioButton::GetColor, &TRadioButton::SetColor);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TRadioButton);
  SX_PUBLISH_PARENT_BIDI(TRadioButton);
  P.Property("ParentColor", &TRadioButton::GetParentColor, &TRadioButton::SetParentColor).Default(true);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TRadioButton);
  SX_PUBLISH_POPUP_HINT(TRadioButton);
  SX_PUBLISH_TAB(TRadioButton, false);
  P.Property("Visible", &TRadioButton::GetVisible, &TRadioButton::SetVisible).Default(true);
  P.Property("OnClick", &TRadioButton::OnClick, &TRadioButton::OnClick);
  P.Property("OnDblClick", &TRadioButton::OnDblClick, &TRadioButton::OnDblClick);
  SX_PUBLISH_KEY_EVENTS(TRadioButton);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csParentBackground};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) const {
  TMemoryDc Dc(FFont->GetHandle());
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc.Dc(), &Tm);
  Rect.Top += Tm.tmHeight;
  InflateRect(&Rect, -1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* C = Canvas();
  HDC Dc = C->GetHandle();
  SelectObject(Dc, FFont->GetHandle());
  TEXTMETRICA Tm;
  GetTextMetricsA(Dc, &Tm);
  const TRect Client = GetClientRect();
  TRect Frame{0, Tm.tmHeight / 2 - 1, Client.Right, Client.Bottom};
  DrawEdge(Dc, &Frame, EDGE_ETCHED, BF_RECT);
  AnsiString Text = GetCaption();
  if (Text.empty()) return;
  TRect R{8, 0, 0, Tm.tmHeight};
  DrawTextA(Dc, Text.data(), Integer(Text.size()), &R, DT_SINGLELINE | DT_CALCRECT);
  R.Right = std::min(R.Right, Client.Right - 8);
  TRect Back = R;
  InflateRect(&Back, 2, 0);
  C->Brush()->SetColor(FColor);
  FillRect(Dc, &Back, C->Brush()->GetHandle());
  SetBkMode(Dc, TRANSPARENT);
  if (!FEnabled) {
    TRect Lit = R;
    OffsetRect(&Lit, 1, 1);
    SetTextColor(Dc, ColorToRGB(clBtnHighlight));
    DrawTextA(Dc, Text.data(), Integer(Text.size()), &Lit, DT_SINGLELINE | DT_LEFT);
    SetTextColor(Dc, ColorToRGB(clBtnShadow));
  } else {
    SetTextColor(Dc, ColorToRGB(FFont->GetColor()));
  }
  DrawTextA(Dc, Text.data(), Integer(Text.size()), &R, DT_SINGLELINE | DT_LEFT);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      Realign();
      return;
    default: inherited::Dispatch(Message);
  }
}

void TGroupBox::Published(TPublished<TGroupBox>& P) {
  P.Property("Align", &TGroupBox::GetAlign, &TGroupBox::SetAlign).Default(alNone);
  P.Property("Anchors", &TGroupBox::GetAnchors, &TGroupBox::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TGroupBox);
  P.Property("Caption", &TGroupBox::GetCaption, &TGroupBox::SetCaption);
  P.Property("Color", &TGroupBox::GetColor, &TGroupBox::SetColor);
  P.Property("Constraints", &TGroupBox::GetConstraints, &TGroupBox::SetConstraints);
  SX_PUBLISH_CTL3D_DRAG_ENABLED_FONT(TGroupBox);
  P.Property("ParentBackground", &TGroupBox::GetParentBackground, &TGroupBox::SetParentBackground).Default(true);
  SX_PUBLISH_PARENT_BIDI(TGroupBox);
  P.Property("ParentColor", &TGroupBox::GetParentColor, &TGroupBox::SetParentColor).Default(true);
  SX_PUBLISH_PARENT_FONT_CTL3D_HINT(TGroupBox);
  SX_PUBLISH_POPUP_HINT(TGroupBox);
  SX_PUBLISH_TAB(TGroupBox, false);
  P.Property("Visible", &TGroupBox::GetVisible, &TGroupBox::SetVisible).Default(true);
  P.Property("OnClick", &TGroupBox::OnClick, &TGroupBox::OnClick);
  P.Property("OnEnter", &TGroupBox::OnEnter, &TGroupBox::OnEnter);
  P.Property("OnExit", &TGroupBox::OnExit, &TGroupBox::OnExit);
}

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
  FAutoSize = true;
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  AnsiString Text = GetCaption();
  if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  HDC Dc = Canvas()->GetHandle();
  Canvas()->SetFont(FFont.get());
  SelectObject(Dc, FFont->GetHandle());
  SetBkMode(Dc, TRANSPARENT);
  if (!GetEnabled() && !(Flags & DT_CALCRECT)) {
    OffsetRect(&Rect, 1, 1);
    SetTextColor(Dc, ColorToRGB(clBtnHighlight));
    DrawTextA(Dc, Text.data(), Integer(Text.size()), &Rect, Flags);
    OffsetRect(&Rect, -1, -1);
    SetTextColor(Dc, ColorToRGB(clBtnShadow));
    DrawTextA(Dc, Text.data(), Integer(Text.size()), &Rect, Flags);
    return;
  }
  SetTextColor(Dc, ColorToRGB(FFont->GetColor()));
  DrawTextA(Dc, Text.data(), Integer(Text.size()), &Rect, Flags);
}

void TCustomLabel::Paint() {
  static const UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TRect R = GetClientRect();
  if (!GetTransparent()) {
    Canvas()->Brush()->SetColor(FColor);
    FillRect(Canvas()->GetHandle(), &R, Canvas()->Brush()->GetHandle());
  }
  UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | Alignments[FAlignment];
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, Flags | DT_CALCRECT);
    const Integer Free = R.Height() - Calc.Height();
    OffsetRect(&R, 0, FLayout == tlBottom ? Free : Free / 2);
  }
  DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TMemoryDc Dc(FFont->GetHandle());
  AnsiString Text = GetCaption();
  if (Text.empty() || (FShowAccelChar && Text == "&")) Text += ' ';
  TRect R{0, 0, FWordWrap ? FWidth : 0, 0};
  UINT Flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | (FShowAccelChar ? 0 : DT_NOPREFIX);
  DrawTextA(Dc.Dc(), Text.data(), Integer(Text.size()), &R, Flags);
  Integer X = FLeft;
  // The side the alignment holds stays where it is.
  if (FAlignment == taRightJustify) X += FWidth - R.Right;
  else if (FAlignment == taCenter) X += (FWidth - R.Right) / 2;
  SetBounds(X, FTop, R.Right, R.Bottom);
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (GetTransparent() == Value) return;
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (FFocusControl && GetEnabled() && FShowAccelChar && IsAccel(Word(Message.WParam), GetCaption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      AdjustBounds();
      return;
    default: inherited::Dispatch(Message);
  }
}

void TLabel::Published(TPublished<TLabel>& P) {
  P.Property("Align", &TLabel::GetAlign, &TLabel::SetAlign).Default(alNone);
  P.Property("Alignment", &TLabel::GetAlignment, &TLabel::SetAlignment).Default(taLeftJustify);
  P.Property("Anchors", &TLabel::GetAnchors, &TLabel::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("AutoSize", &TLabel::GetAutoSize, &TLabel::SetAutoSize).Default(true);
  SX_PUBLISH_BIDI(TLabel);
  P.Property("Caption", &TLabel::GetCaption, &TLabel::SetCaption);
  P.Property("Color", &TLabel::GetColor, &TLabel::SetColor);
  P.Property("Constraints", &TLabel::GetConstraints, &TLabel::SetConstraints);
  SX_PUBLISH_DRAG_ENABLED(TLabel);
  P.Property("FocusControl", &TLabel::GetFocusControl, &TLabel::SetFocusControl);
  P.Property("Font", &TLabel::GetFont, &TLabel::SetFont).Stored(&TLabel::IsFontStored);
  P.Property("Layout", &TLabel::GetLayout, &TLabel::SetLayout).Default(tlTop);
  SX_PUBLISH_PARENT_BIDI(TLabel);
  P.Property("ParentColor", &TLabel::GetParentColor, &TLabel::SetParentColor).Default(true);
  P.Property("ParentFont", &TLabel::GetParentFont, &TLabel::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TLabel::GetParentShowHint, &TLabel::SetParentShowHint).Default(true);
  P.Property("ShowAccelChar", &TLabel::GetShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  SX_PUBLISH_POPUP_HINT(TLabel);
  P.Property("Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent).Default(false);
  P.Property("Visible", &TLabel::GetVisible, &TLabel::SetVisible).Default(true);
  P.Property("WordWrap", &TLabel::GetWordWrap, &TLabel::SetWordWrap).Default(false);
  P.Property("OnClick", &TLabel::OnClick, &TLabel::OnClick);
  P.Property("OnDblClick", &TLabel::OnDblClick, &TLabel::OnDblClick);
  SX_PUBLISH_MOUSE_EVENTS(TLabel);
}

void RegisterStdCtrlsClasses() {
  RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                   TRadioButton::StaticClass(), TGroupBox::StaticClass(), TLabel::StaticClass()});
}
