#include "editor/dialogs/DCEdit.h"

#include <algorithm>

#include "editor/dialogs/ColumnLists.h"
#include "editor/dialogs/PickerEdits.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Gdi.h"
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
  BlendIntoFrame();
}

void TEditButton::BlendIntoFrame() {
  auto* Edit = dynamic_cast<TCustomDCEdit*>(GetParent());
  if (!Edit) return;
  TCanvas* C = Canvas();
  const Integer W = GetWidth(), H = GetHeight();
  const TTorvoBorderStyle Style = Edit->GetTorvoBorderStyle();
  const bool Torvo = Edit->GetUseTorvoBorder();
  const bool Single = Torvo && (Style == tbsSunkenSingle || Style == tbsRaisedSingle);
  auto Line = [&](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  auto Frame = [&](TColor Color, const TRect& R) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FrameRect(R);
  };
  if (Edit->GetFlat() && !Edit->FlatActive()) {
    // Asleep: the button sinks into the control's background.
    if (Single) {
      Frame(Edit->GetColor(), {0, 0, W, H});
      Frame(clBtnFace, {1, 1, W - 1, H - 1});
      Line(clBtnHighlight, 1, 1, 1, H - 1);
    } else {
      Frame(Edit->GetColor(), {1, 1, W - 1, H - 1});
      Line(clBtnFace, 0, 0, W, 0);
      Line(clBtnFace, W - 1, 0, W - 1, H);
      Line(clBtnFace, 0, H - 1, W, H - 1);
    }
    return;
  }
  Line(clBtnFace, 0, 0, 0, H);
  Line(clBtnFace, 0, 0, W, 0);
  Line(clBtnFace, W - 1, 0, W - 1, 3);
  Line(clBtnHighlight, 1, 1, W - 1, 1);
  Line(clBtnHighlight, 1, 1, 1, H - 1);
  if ((!Edit->GetFlat() && !Torvo) || Single) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBlack);
    C->FillRect({W - 2, 0, W, 2});
  } else {
    Frame(clBtnFace, {0, 0, W, H});
    if (Torvo && (Style == tbsSunkenLine || Style == tbsRaisedLine))
      Line(Style == tbsRaisedLine ? clBtnHighlight : clBtnShadow, 0, H - 1, W, H - 1);
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

TNumGlyphs TButtonParams::GetNumGlyphs() const { return FButton->GetNumGlyphs(); }

void TButtonParams::SetNumGlyphs(TNumGlyphs Value) {
  FButton->SetNumGlyphs(FKind == TButtonParams::bkCustom ? Value : 1);
  FOwner->ArrangeButtons();
}

AnsiString TButtonParams::GetHint() const { return FButton->GetHint(); }
void TButtonParams::SetHint(const AnsiString& Value) { FButton->SetHint(Value); }
bool TButtonParams::GetShowHint() const { return FButton->GetShowHint(); }
void TButtonParams::SetShowHint(bool Value) { FButton->SetShowHint(Value); }
bool TButtonParams::GetParentShowHint() const { return FButton->GetParentShowHint(); }
void TButtonParams::SetParentShowHint(bool Value) { FButton->SetParentShowHint(Value); }

void TButtonParams::Published(TPublished<TButtonParams>& P) {
  using C = TButtonParams;
  P.Property("Kind", &C::GetKind, &C::SetKind);
  P.Property("Glyph", &C::GetGlyph, &C::SetGlyph).Stored(&C::IsGlyphStored);
  P.Property("Width", &C::GetWidth, &C::SetWidth).Default(0);
  P.Property("NumGlyphs", &C::GetNumGlyphs, &C::SetNumGlyphs).Default(1);
  P.Property("Visible", &C::GetVisible, &C::SetVisible);
  P.Property("Cursor", &C::Cursor, &C::Cursor).Default(crDefault);
  P.Property("Hint", &C::GetHint, &C::SetHint);
  P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint);
  P.Property("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);
}

void TButtonParams::Assign(TPersistent* Source) {
  auto* From = dynamic_cast<TButtonParams*>(Source);
  if (!From) return TPersistent::Assign(Source);
  if (From->GetKind() == TButtonParams::bkCustom) SetGlyph(From->GetGlyph());
  SetKind(From->GetKind());
  SetNumGlyphs(From->GetNumGlyphs());
  SetWidth(From->GetWidth());
  SetVisible(From->GetVisible());
  Cursor = From->Cursor;
  SetHint(From->GetHint());
  SetShowHint(From->GetShowHint());
  SetParentShowHint(From->GetParentShowHint());
}

void TCustomDCEdit::Published(TPublished<TCustomDCEdit>& P) {
  P.Property("Version", &TCustomDCEdit::GetVersion, &TCustomDCEdit::SetVersion).Stored(false);
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

TDCMaskEdit::TDCMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FBorderStyle = bsNone;
  SetCtl3D(false);
}

void TDCMaskEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(WS_BORDER)) | WS_CLIPCHILDREN;
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TDCMaskEdit::DoEnter() {
  if (!(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  TCustomMaskEdit::DoEnter();
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
  if (FPopupClassName.empty()) FPopupClassName = FPopup->ClassName();
}

TComponent* TCustomDCEdit::StreamedPart(TClass AClass) const {
  for (Integer I = 0; I < ComponentCount(); ++I) {
    TComponent* C = Components(I);
    if (C->ClassType() == AClass && C != FEdit && C != FPopup && C != FSource && C != FButton1 && C != FButton2)
      return C;
  }
  return nullptr;
}

void TCustomDCEdit::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TCustomControl::GetChildren(Proc, Root);
  if (FPopup && !FPopupClassName.empty()) Proc(FPopup);
  if (FSource && !FSourceClassName.empty()) Proc(FSource);
  if (FEdit && !FEditClassName.empty()) Proc(FEdit);
}

void TCustomDCEdit::Loaded() {
  TCustomControl::Loaded();
  // The parts read in with the form take the place of those made before.
  // A name that differs from the part in place selects another part.
  const AnsiString Source = FSourceClassName, Edit = FEditClassName, Popup = FPopupClassName;
  if (!Source.empty() && (!FSource || !SameText(Source, FSource->ClassName()) || StreamedPart(FSource->ClassType())))
    SetEditSourceClassName(Source);
  if (!Edit.empty() && (!FEdit || !SameText(Edit, FEdit->ClassName())))
    SetEditClassName(Edit);
  else if (FEdit && StreamedPart(FEdit->ClassType()))
    SetEditClass(FEdit->ClassType());
  if (!Popup.empty() && (!FPopup || !SameText(Popup, FPopup->ClassName())))
    SetPopupClassName(Popup);
  else if (FPopup && StreamedPart(FPopup->ClassType()))
    SetPopupClass(FPopup->ClassType());
  ArrangeButtons();
}

void TCustomDCEdit::SetEditClass(TClass AClass) {
  const AnsiString Text = GetText();
  UnhookEdit();
  TComponent* Streamed = StreamedPart(AClass);
  delete FEdit;
  FEdit = static_cast<TWinControl*>(Streamed ? Streamed : CreateComponent(AClass, this));
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
  TComponent* Streamed = StreamedPart(AClass);
  delete FPopup;
  FPopup = static_cast<TWinControl*>(Streamed ? Streamed : CreateComponent(AClass, this));
  FPopup->SetVisible(false);
  FPopup->SetTabStop(false);
  // Owned by the control's window but a window of its own on the desktop.
  FPopup->SetParent(this);
}

void TCustomDCEdit::SetEditClassName(const AnsiString& Name) {
  FEditClassName = Name;
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  TClass C = FindRegistered(GetEditClassInfos(), Name);
  SetEditClass(C && C->InheritsFrom(TWinControl::StaticClass()) ? C : TDCSimpleEdit::StaticClass());
}

void TCustomDCEdit::SetPopupClassName(const AnsiString& Name) {
  FPopupClassName = Name;
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  TClass C = FindRegistered(GetPopupClassInfos(), Name);
  SetPopupClass(C && C->InheritsFrom(TWinControl::StaticClass()) ? C : TDummyPopup::StaticClass());
}

void TCustomDCEdit::SetEditSourceClassName(const AnsiString& Name) {
  FSourceClassName = Name;
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  TClass C = FindRegistered(GetEditSourceClassInfos(), Name);
  if (!C || !C->InheritsFrom(TEditSource::StaticClass())) C = TDummyEditSource::StaticClass();
  TComponent* Streamed = StreamedPart(C);
  delete FSource;
  FSource = static_cast<TEditSource*>(Streamed ? Streamed : CreateComponent(C, this));
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

Integer TCustomDCEdit::FrameInset() const {
  if (FUseTorvoBorder && (FTorvoBorderStyle == tbsSunkenSingle || FTorvoBorderStyle == tbsRaisedSingle)) return 2;
  return FFlat || FUseTorvoBorder ? 1 : 0;
}

void TCustomDCEdit::ArrangeButtons() {
  if (!FParams1 || !FParams2) return;
  const Integer B = FrameInset();
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
  // A painted frame leaves a pixel (two at the sides) around the edit.
  const Integer F = FFlat || FUseTorvoBorder ? 1 : 0;
  const Integer Top = F ? 3 : 1;
  FEdit->SetBounds(2 * F, Top, std::max<Integer>(CW - Buttons - 4 * F, 0), std::max<Integer>(CH - 4 * F - 1, 0));
  if (FEdit->HandleAllocated()) {
    TRect R(1, Top, std::max<Integer>(CW - 4 * F - 2, 1), std::max<Integer>(CH - 4 * F - 2, 1));
    FEdit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
  }
}

void TCustomDCEdit::Resize() {
  TCustomControl::Resize();
  ArrangeButtons();
}

void TCustomDCEdit::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  // A painted frame replaces the window's own.
  if (FBorderStyle == bsSingle && !FFlat && !FUseTorvoBorder) {
    if (GetCtl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
}

void TCustomDCEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomDCEdit::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  FLastFlatActive = -1;
  if (HandleAllocated()) RecreateWnd();
  ArrangeButtons();
}

void TCustomDCEdit::SetUseTorvoBorder(bool Value) {
  if (Value == FUseTorvoBorder) return;
  FUseTorvoBorder = Value;
  FLastFlatActive = -1;
  if (HandleAllocated()) RecreateWnd();
  ArrangeButtons();
}

void TCustomDCEdit::SetTorvoBorderStyle(TTorvoBorderStyle Value) {
  if (Value == FTorvoBorderStyle) return;
  FTorvoBorderStyle = Value;
  FLastFlatActive = -1;
  if (HandleAllocated()) RecreateWnd();
  ArrangeButtons();
}

void TCustomDCEdit::SetLineColor(TColor Value) {
  if (Value == FLineColor) return;
  FLineColor = Value;
  if (FUseTorvoBorder && (FTorvoBorderStyle == tbsLine || FTorvoBorderStyle == tbsLineBorder)) Invalidate();
}

bool TCustomDCEdit::FlatActive() const { return !FMouseOutside || Focused(); }

void TCustomDCEdit::RefreshFlat() {
  const Integer Active = FlatActive() ? 1 : 0;
  if (Active == FLastFlatActive) return;
  FLastFlatActive = Active;
  if (!FFlat && !FUseTorvoBorder) return;
  Invalidate();
  FButton1->Invalidate();
  FButton2->Invalidate();
}

void TCustomDCEdit::MouseLeft() {
  // The mouse may only have gone into the inner edit or a button: a short
  // timer looks where it went.
  if (HandleAllocated()) SetTimer(Handle(), 1, 10, nullptr);
}

void TCustomDCEdit::AdjustHeight() {
  HDC Dc = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, GetFont()->GetHandle());
  TEXTMETRICA Tm{};
  GetTextMetricsA(Dc, &Tm);
  SelectObject(Dc, Old);
  ReleaseDC(nullptr, Dc);
  const Integer Borders = GetSystemMetrics(SM_CYBORDER) * (GetCtl3D() || FFlat ? 8 : 6);
  SetHeight(Integer(Tm.tmHeight) + Borders);
}

void TCustomDCEdit::Paint() { PaintBorder(Canvas()); }

void TCustomDCEdit::PaintBorder(TCanvas* C) {
  if (!FFlat && !FUseTorvoBorder) return;
  const Integer W = ClientWidth(), H = ClientHeight();
  auto Frame = [&](TColor Color, const TRect& R) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FrameRect(R);
  };
  auto Line = [&](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  // The ground: two pixels of button face all round.
  Frame(clBtnFace, {0, 0, W, H});
  Frame(clBtnFace, {1, 1, W, H});
  C->SetPixel(0, H - 1, clBtnFace);
  C->SetPixel(W - 1, 0, clBtnFace);
  // A flat control asleep shows no more.
  if (FFlat && !FlatActive()) return;
  const bool Raised = FTorvoBorderStyle == tbsRaisedBorder || FTorvoBorderStyle == tbsRaisedLine;
  const TColor D = FUseTorvoBorder && Raised ? clBtnShadow : clBtnHighlight;
  const TColor L = FUseTorvoBorder && Raised ? clBtnHighlight : clBtnShadow;
  // Lines run on the rectangle moved back one pixel up and left.
  const Integer R = W - 1, B = H - 1;
  if (FUseTorvoBorder && (FTorvoBorderStyle == tbsSunkenLine || FTorvoBorderStyle == tbsRaisedLine)) {
    Line(L, 0, B - 1, W, B - 1);
    Line(D, 0, B, W, B);
  } else if (FUseTorvoBorder && (FTorvoBorderStyle == tbsSunkenSingle || FTorvoBorderStyle == tbsRaisedSingle)) {
    TRect All{0, 0, W, H};
    DrawEdge(C->GetHandle(), &All, FTorvoBorderStyle == tbsSunkenSingle ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (FUseTorvoBorder && FTorvoBorderStyle == tbsLine) {
    Line(FLineColor, 0, B, W, B);
  } else if (FUseTorvoBorder && FTorvoBorderStyle == tbsLineBorder) {
    Frame(FLineColor, {0, 0, W, H});
  } else if (FUseTorvoBorder && FTorvoBorderStyle == tbsNone) {
  } else {
    Line(D, 0, B, R, B);
    Line(D, R, 0, R, B + 1);
    Line(L, 0, 0, R, 0);
    Line(L, 0, 0, 0, B);
  }
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
      RefreshFlat();
      return;
    case CM_MOUSEENTER:
      FMouseOutside = false;
      RefreshFlat();
      break;
    case CM_MOUSELEAVE: MouseLeft(); break;
    case WM_TIMER:
      if (Message.WParam == 1) {
        TPoint P;
        GetCursorPos(&P);
        TRect R;
        GetWindowRect(Handle(), &R);
        if (!R.Contains(P)) {
          FMouseOutside = true;
          FMouseLeftOnce = true;
          KillTimer(Handle(), 1);
          RefreshFlat();
        }
        return;
      }
      break;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) AdjustHeight();
      return;
    case CM_DIALOGCHAR:
      // The caption's accelerator works the control like a click.
      if (IsAccel(Word(Message.WParam), GetCaption()) && CanFocus()) {
        SetFocus();
        if (auto* Check = dynamic_cast<TCheckEdit*>(FEdit)) Check->Toggle();
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_EXIT:
      FMouseOutside = true;
      try {
        ValidateEdit();
      } catch (...) {
        // The text stays to be mended: selected, with the focus.
        if (FEdit && FEdit->HandleAllocated()) FEdit->Perform(EM_SETSEL, 0, LPARAM(-1));
        if (CanFocus()) SetFocus();
        throw;
      }
      RefreshFlat();
      break;
    case CM_ENTER:
      FMouseOutside = false;
      RefreshFlat();
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
      case CM_MOUSEENTER:
        FMouseOutside = false;
        RefreshFlat();
        break;
      case CM_MOUSELEAVE: MouseLeft(); break;
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
