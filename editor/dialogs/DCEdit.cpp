#include "editor/dialogs/DCEdit.h"

#include <algorithm>

#include "editor/dialogs/ColumnLists.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/EditControl.h"
#include "platform/win/Hooks.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Win.h"

namespace {

// The edit whose list is open; a click outside it and its list closes it.
TCustomDCEdit* OpenEdit = nullptr;
HHOOK EditMouseHook = nullptr;

bool Inside(HWND Wnd, TPoint Pt) {
  TRect R;
  GetWindowRect(Wnd, &R);
  return Pt.X >= R.Left && Pt.X < R.Right && Pt.Y >= R.Top && Pt.Y < R.Bottom;
}

LRESULT DropDownMouseHook(int Code, WPARAM W, LPARAM L) {
  if (Code >= 0 && OpenEdit && OpenEdit->Popup() && OpenEdit->Popup()->HandleAllocated() &&
      (W == WM_LBUTTONDOWN || W == WM_LBUTTONUP || W == WM_NCLBUTTONDOWN || W == WM_NCLBUTTONUP)) {
    const auto* M = reinterpret_cast<const MOUSEHOOKSTRUCT*>(L);
    if (M && !Inside(OpenEdit->Popup()->Handle(), M->pt) && !Inside(OpenEdit->Handle(), M->pt)) {
      if (auto* List = dynamic_cast<TPopupListBox*>(OpenEdit->Popup())) List->CloseUp(false);
      else OpenEdit->CloseUp(false);
    }
  }
  return CallNextHookEx(EditMouseHook, Code, W, L);
}

// The registered class of that name in one of the part registries, or nil.
TClass FindRegistered(TPackagedCollection* Infos, const AnsiString& Name) {
  for (Integer I = 0; I < Infos->Count(); ++I) {
    TClass C = nullptr;
    if (auto* P = dynamic_cast<TPopupClassInfo*>(Infos->Items(I))) C = P->RegClass;
    else if (auto* S = dynamic_cast<TEditSourceClassInfo*>(Infos->Items(I))) C = S->RegClass;
    if (C && SameText(C->ClassName(), Name)) return C;
  }
  return nullptr;
}

AnsiString WindowText(TWinControl* C) {
  if (!C) return {};
  const Integer Len = Integer(C->Perform(WM_GETTEXTLENGTH));
  if (Len <= 0) return {};
  AnsiString S(size_t(Len) + 1, '\0');
  const Integer Got = Integer(C->Perform(WM_GETTEXT, WPARAM(Len + 1), reinterpret_cast<LPARAM>(S.data())));
  S.resize(size_t(std::clamp<Integer>(Got, 0, Len)));
  return S;
}

}  // namespace

// --- buttons -------------------------------------------------------------------------------

TEditButton::TEditButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  SetWidth(GetSystemMetrics(SM_CXHTHUMB));
  if (auto* P = dynamic_cast<TWinControl*>(AOwner)) SetParent(P);
}

void TEditButton::Paint() {
  TSpeedButton::Paint();
  if (!Params || Params->GetKind() == TButtonParams::bkCustom) return;
  // The arrow and the dots are drawn in the button's text colour, pushed
  // one pixel with the button.
  TCanvas* C = Canvas();
  const Integer Shift = State() == bsDown ? 1 : 0;
  const Integer MX = GetWidth() / 2 + Shift, MY = GetHeight() / 2 + Shift;
  const TColor Ink = GetEnabled() ? clBtnText : clBtnShadow;
  C->Brush()->SetColor(Ink);
  C->Pen()->SetColor(Ink);
  if (Params->GetKind() == bkDropDown) {
    C->Polygon({TPoint{MX - 3, MY - 1}, TPoint{MX + 3, MY - 1}, TPoint{MX, MY + 2}});
  } else {
    for (Integer D : {-4, 0, 4}) C->FillRect(TRect(MX + D - 1, MY, MX + D + 1, MY + 2));
  }
}

TButtonParams::TButtonParams(TCustomDCEdit* AOwner, TEditButton* AButton, TButtonKind AKind)
    : FOwner(AOwner), FButton(AButton), FKind(AKind) {
  FButton->Params = this;
}

void TButtonParams::SetKind(TButtonKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (FKind != TButtonParams::bkCustom) FButton->SetNumGlyphs(1);
  FOwner->ArrangeButtons();
  FButton->Invalidate();
}

TBitmap* TButtonParams::GetGlyph() const { return FButton->GetGlyph(); }

void TButtonParams::SetGlyph(TBitmap* Value) {
  FKind = TButtonParams::bkCustom;
  FButton->SetGlyph(Value);
  FButton->SetLayout(blGlyphLeft);
  FOwner->ArrangeButtons();
}

void TButtonParams::SetWidth(Integer Value) {
  FWidth = std::max<Integer>(Value, 0);
  FOwner->ArrangeButtons();
}

bool TButtonParams::GetVisible() const { return FButton->GetVisible(); }

void TButtonParams::SetVisible(bool Value) {
  // The control counts its visible buttons and shows the first ones.
  if (Value == GetVisible()) return;
  FOwner->FVisibleCount = std::clamp<Integer>(FOwner->FVisibleCount + (Value ? 1 : -1), 0, 2);
  FOwner->ArrangeButtons();
}

Integer TButtonParams::ActualWidth() const {
  if (FWidth > 0) return FWidth;
  if (FKind == TButtonParams::bkCustom && GetGlyph() && GetGlyph()->GetWidth() > 0) return GetGlyph()->GetWidth() + 4;
  return GetSystemMetrics(SM_CXHTHUMB);
}

// --- inner edit ----------------------------------------------------------------------------

TDCSimpleEdit::TDCSimpleEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FBorderStyle = bsNone;
  SetCtl3D(false);
}

void TDCSimpleEdit::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(WS_BORDER)) | WS_CLIPCHILDREN;
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TDCSimpleEdit::DoEnter() {
  // A click places the caret; entering by keyboard takes the whole text.
  if (!(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  TCustomEdit::DoEnter();
}

// --- the edit control with buttons ---------------------------------------------------------

TCustomDCEdit::TCustomDCEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(GetLeft(), GetTop(), 121, 21);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  FButton1 = new TEditButton(this);
  FButton2 = new TEditButton(this);
  FParams1 = std::make_unique<TButtonParams>(this, FButton1, bkDropDown);
  FParams2 = std::make_unique<TButtonParams>(this, FButton2, bkDots);
  FButton2->SetVisible(false);
  FButton1->OnClick = TNotifyEvent(this, &TCustomDCEdit::ButtonClick);
  FButton2->OnClick = TNotifyEvent(this, &TCustomDCEdit::ButtonClick);
  FPopup = new TDummyPopup(this);
  FSource = new TDummyEditSource(this);
}

TCustomDCEdit::~TCustomDCEdit() {
  if (OpenEdit == this) CloseUp(false);
  FButton1->Params = nullptr;
  FButton2->Params = nullptr;
  UnhookEdit();
}

TClass TCustomDCEdit::DefaultPopupClass() const { return TPopupListBox::StaticClass(); }

Integer TCustomDCEdit::VisibleButtons() const { return FVisibleCount; }

void TCustomDCEdit::SetParent(TWinControl* AParent) {
  TCustomControl::SetParent(AParent);
  if (!AParent) return;
  if (!FEdit || FEdit->ClassType() != DefaultEditClass()) SetEditClass(DefaultEditClass());
  if (!FPopup || FPopup->ClassType() != DefaultPopupClass()) SetPopupClass(DefaultPopupClass());
}

void TCustomDCEdit::SetEditClass(TClass AClass) {
  const AnsiString Text = GetText();
  UnhookEdit();
  delete FEdit;
  FEdit = static_cast<TWinControl*>(CreateComponent(AClass, this));
  FEdit->SetColor(GetColor());
  FEdit->SetParent(this);
  FEdit->SetVisible(true);
  HookEdit();
  ArrangeButtons();
  UpdateReadOnly();
  if (!Text.empty()) SetText(Text);
}

void TCustomDCEdit::SetPopupClass(TClass AClass) {
  if (FDropped) CloseUp(false);
  delete FPopup;
  FPopup = static_cast<TWinControl*>(CreateComponent(AClass, this));
  FPopup->SetVisible(false);
  FPopup->SetTabStop(false);
  // Owned by the control's window but a window of its own on the desktop.
  FPopup->SetParent(this);
}

void TCustomDCEdit::SetEditClassName(const AnsiString& Name) {
  TClass C = FindRegistered(GetEditClassInfos(), Name);
  SetEditClass(C && C->InheritsFrom(TWinControl::StaticClass()) ? C : TDCSimpleEdit::StaticClass());
}

void TCustomDCEdit::SetPopupClassName(const AnsiString& Name) {
  TClass C = FindRegistered(GetPopupClassInfos(), Name);
  SetPopupClass(C && C->InheritsFrom(TWinControl::StaticClass()) ? C : TDummyPopup::StaticClass());
}

void TCustomDCEdit::SetEditSourceClassName(const AnsiString& Name) {
  TClass C = FindRegistered(GetEditSourceClassInfos(), Name);
  if (!C || !C->InheritsFrom(TEditSource::StaticClass())) C = TDummyEditSource::StaticClass();
  delete FSource;
  FSource = static_cast<TEditSource*>(CreateComponent(C, this));
}

void TCustomDCEdit::HookEdit() {
  if (!FEdit || FHooked) return;
  FEditProc = FEdit->WindowProc;
  FEdit->WindowProc = TWndMethod(this, &TCustomDCEdit::EditWndProc);
  FHooked = true;
  // The inner edit holds the tab stop.
  FEdit->SetTabStop(GetTabStop());
}

void TCustomDCEdit::UnhookEdit() {
  if (!FEdit || !FHooked) return;
  if (FEdit->WindowProc == TWndMethod(this, &TCustomDCEdit::EditWndProc)) FEdit->WindowProc = FEditProc;
  FHooked = false;
}

AnsiString TCustomDCEdit::GetText() { return WindowText(FEdit); }

void TCustomDCEdit::SetText(const AnsiString& Value) {
  if (!FEdit || GetText() == Value) return;
  FEdit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  FEdit->Perform(CM_TEXTCHANGED);
  Change();
}

void TCustomDCEdit::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCustomDCEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  UpdateReadOnly();
}

void TCustomDCEdit::UpdateReadOnly() {
  if (!FEdit) return;
  if (auto* E = dynamic_cast<TCustomEdit*>(FEdit)) E->SetReadOnly(FReadOnly);
  else if (FEdit->HandleAllocated()) FEdit->Perform(EM_SETREADONLY, WPARAM(FReadOnly));
}

void TCustomDCEdit::UpdateSource() {
  if (FSource) FSource->SetText(GetText());
}

void TCustomDCEdit::ValidateEdit() {
  if (FValidating) return;
  FValidating = true;
  try {
    UpdateSource();
  } catch (...) {
    FValidating = false;
    throw;
  }
  FValidating = false;
}

void TCustomDCEdit::TextToPopup() {
  const AnsiString Text = GetText();
  FPopup->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

void TCustomDCEdit::PopupToText() {
  AnsiString Text(256, '\0');
  const Integer Got = Integer(FPopup->Perform(WM_GETTEXT, 256, reinterpret_cast<LPARAM>(Text.data())));
  Text.resize(size_t(std::clamp<Integer>(Got, 0, 255)));
  if (Text.empty()) return;
  SetText(Text);
  Change();
}

void TCustomDCEdit::SetFocus() {
  if (FEdit && FEdit->HandleAllocated() && FEdit->CanFocus()) FEdit->SetFocus();
  else TCustomControl::SetFocus();
}

bool TCustomDCEdit::Focused() const {
  return TCustomControl::Focused() || (FEdit && FEdit->Focused());
}

void TCustomDCEdit::ButtonClick(TObject*) {
  if (CanFocus()) SetFocus();
  if (FDropped) CloseUp(true);
  else DropDown();
}

void TCustomDCEdit::DropDown() {
  if (!FPopup || dynamic_cast<TDummyPopup*>(FPopup) || FDropped || !HandleAllocated()) return;
  FPlainClick = false;
  FPopup->HandleNeeded();
  FPopup->SetClientWidth(ClientWidth());
  if (OnDropDown.Assigned()) OnDropDown(this);
  TextToPopup();
  if (OpenEdit && OpenEdit != this) OpenEdit->CloseUp(false);
  // Under the control, two pixels left so that the frames line up; as wide
  // as the control at least, and above it where the screen ends below.
  TPoint P = ClientToScreen({0, 0});
  Integer X = P.X - 2, Y = P.Y + ClientHeight();
  Integer W = FPopup->GetWidth();
  const Integer H = FPopup->GetHeight();
  if (W > GetWidth()) X -= W - GetWidth();
  else W = GetWidth();
  if (X < 0) X = std::max<Integer>(P.X - 2, 0);
  if (Screen && Y + H > Screen->Height()) Y = P.Y - H;
  if (CanFocus()) SetFocus();
  FPopup->SetBounds(X, Y, W, H);
  SetWindowPos(FPopup->Handle(), HWND_TOPMOST, X, Y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FPopup->SetVisible(true);
  OpenEdit = this;
  if (!EditMouseHook) EditMouseHook = SetWindowsHookEx(WH_MOUSE, &DropDownMouseHook, nullptr, 0);
  FDropped = true;
}

void TCustomDCEdit::CloseUp(bool Accept) {
  if (!FDropped) return;
  try {
    if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
    if (OpenEdit == this) {
      OpenEdit = nullptr;
      if (EditMouseHook) UnhookWindowsHookEx(EditMouseHook);
      EditMouseHook = nullptr;
    }
    if (FPopup->HandleAllocated())
      SetWindowPos(FPopup->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FPopup->SetVisible(false);
    FDropped = false;
    if (Accept) {
      PopupToText();
      // The source may take the text in its own form.
      if (FSource) {
        FSource->SetText(GetText());
        const AnsiString Back = FSource->GetText();
        if (Back != GetText()) SetText(Back);
      }
    }
  } catch (...) {
    FPopup->SetTabStop(false);
    FDropped = false;
    if (FEdit && FEdit->HandleAllocated()) FEdit->Perform(EM_SETSEL, 0, LPARAM(-1));
    throw;
  }
  FPopup->SetTabStop(false);
  if (FEdit && FEdit->HandleAllocated()) FEdit->Perform(EM_SETSEL, 0, LPARAM(-1));
}

void TCustomDCEdit::ArrangeButtons() {
  if (!FParams1 || !FParams2) return;
  const Integer B = 0;
  const Integer CW = ClientWidth(), CH = ClientHeight();
  Integer Right = CW - B;
  // Visible buttons are counted and the first ones shown: one visible
  // button is always the first.
  const Integer Count = FVisibleCount;
  TButtonParams* Shown[2] = {FParams1.get(), FParams2.get()};
  FButton1->SetVisible(Count >= 1);
  FButton2->SetVisible(Count >= 2);
  for (Integer I = std::min<Integer>(Count, 2) - 1; I >= 0; --I) {
    const Integer W = Shown[I]->ActualWidth();
    Shown[I]->Button()->SetBounds(Right - W, B, W, std::max<Integer>(CH - 2 * B, 0));
    Right -= W;
  }
  ArrangeEdit();
}

void TCustomDCEdit::ArrangeEdit() {
  if (FDropped) CloseUp(false);
  if (!FEdit) return;
  Integer Buttons = 0;
  if (FParams1->GetVisible()) Buttons += FParams1->ActualWidth();
  if (FParams2->GetVisible()) Buttons += FParams2->ActualWidth();
  const Integer CW = ClientWidth(), CH = ClientHeight();
  FEdit->SetBounds(0, 1, std::max<Integer>(CW - Buttons, 0), std::max<Integer>(CH - 1, 0));
  if (FEdit->HandleAllocated()) {
    TRect R(1, 1, std::max<Integer>(CW - Buttons - 2, 1), std::max<Integer>(CH - 2, 1));
    FEdit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
  }
}

void TCustomDCEdit::Resize() {
  TCustomControl::Resize();
  ArrangeButtons();
}

void TCustomDCEdit::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomDCEdit::CreateWnd() {
  if (FDropped) CloseUp(false);
  TCustomControl::CreateWnd();
  if (!FKeptText.empty()) SetText(FKeptText);
  ArrangeButtons();
}

void TCustomDCEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool Alt = Shift.Contains(ssAlt);
  if (Key == VK_DOWN && Alt) {
    if (FParams1->GetVisible() && FParams1->GetKind() == bkDropDown) DropDown();
    Key = 0;
  } else if (Key == VK_UP && Alt) {
    CloseUp(true);
    Key = 0;
  } else if (Key == VK_RETURN && !FDropped) {
    Key = 0;
  }
}

void TCustomDCEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case DCM_VALIDATEEDIT: ValidateEdit(); return;
    case WM_KILLFOCUS:
      CloseUp(false);
      TCustomControl::Dispatch(Message);
      return;
    case CM_EXIT:
      try {
        ValidateEdit();
      } catch (...) {
        // The text stays to be mended: selected, with the focus.
        if (FEdit && FEdit->HandleAllocated()) FEdit->Perform(EM_SETSEL, 0, LPARAM(-1));
        if (CanFocus()) SetFocus();
        throw;
      }
      break;
    case CM_ENTER:
      if (FEdit && FEdit->HandleAllocated() && GetFocus() != FEdit->Handle()) ::SetFocus(FEdit->Handle());
      break;
    case CM_VISIBLECHANGED:
      if (!GetVisible()) CloseUp(false);
      break;
    case CM_ENABLEDCHANGED:
      if (FEdit) FEdit->SetEnabled(GetEnabled());
      break;
    case CM_COLORCHANGED:
      if (FEdit) FEdit->SetColor(GetColor());
      break;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomDCEdit::EditWndProc(TMessage& Message) {
  auto Previous = [&] {
    if (FEditProc.Assigned()) FEditProc(Message);
  };
  if (ComponentState().Contains(csDestroying)) return Previous();
  // What the user does inside is reported here and goes no further; what a
  // program asks (setting the text) raises to it.
  const bool Input = (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST) ||
                     (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) ||
                     Message.Msg == WM_KILLFOCUS || Message.Msg == CN_KEYDOWN;
  try {
    switch (Message.Msg) {
      case WM_GETDLGCODE:
        // The arrows are the control's (Alt+Down, moving in the list); all
        // keys while the list is open.
        Previous();
        Message.Result |= DLGC_WANTARROWS | (FDropped ? DLGC_WANTALLKEYS : 0);
        return;
      case CN_KEYDOWN:
        if (FDropped) {
          Message.Result = 0;
          return;
        }
        break;
      case WM_LBUTTONDOWN:
        if (FDropped) CloseUp(false);
        FPlainClick = true;
        break;
      case WM_MOUSEMOVE:
        // A drag selects text: no drop on that click.
        if (Message.WParam & MK_LBUTTON) FPlainClick = false;
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        const bool Alt = (GetKeyState(VK_MENU) & 0x8000) != 0 || Message.Msg == WM_SYSKEYDOWN;
        if (FDropped) {
          if (Alt && Message.WParam == VK_UP) {
            CloseUp(true);
            return;
          }
          FPopup->Perform(WM_KEYDOWN, Message.WParam, Message.LParam);
          return;
        }
        if (Alt && Message.WParam == VK_DOWN) {
          Word Key = VK_DOWN;
          KeyDown(Key, TShiftState{ssAlt});
          return;
        }
        if (Message.WParam == VK_RETURN) {
          ValidateEdit();
          return;
        }
        break;
      }
      case WM_CHAR:
      case WM_KEYUP:
        if (FDropped) {
          FPopup->Perform(Message.Msg, Message.WParam, Message.LParam);
          return;
        }
        break;
      case WM_KILLFOCUS:
        if (!FDropped) {
          HWND To = reinterpret_cast<HWND>(Message.WParam);
          TCustomForm* F = GetParentForm(this);
          if (F && F->GetVisible() && F->HandleAllocated() && To != F->Handle() && !IsChild(F->Handle(), To))
            ValidateEdit();
        }
        break;
      default: break;
    }
    const AnsiString Before = (Message.Msg == WM_CHAR || Message.Msg == WM_KEYDOWN) ? GetText() : AnsiString();
    Previous();
    if (Message.Msg == WM_LBUTTONUP && DropOnClick && FPlainClick && !FDropped) {
      FPlainClick = false;
      DropDown();
    }
    if ((Message.Msg == WM_CHAR || Message.Msg == WM_KEYDOWN) && !FDropped && GetText() != Before) Change();
  } catch (...) {
    if (!Input || !Application) throw;
    Application->HandleException(this);
  }
}
