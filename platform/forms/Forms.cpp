#include "platform/forms/Forms.h"

#include "platform/forms/FormLoader.h"
#include "platform/rtl/VirtualKeys.h"

void TForm::Published(TPublished<TForm>& P) {
  P.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth).Stored(false);
  P.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight).Stored(false);
  P.Property("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl);
  P.Property("Align", &TForm::GetAlign, &TForm::SetAlign).Default(alNone);
  P.Property("BorderIcons", &TForm::GetBorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Property("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  P.Property("Caption", &TForm::GetCaption, &TForm::SetCaption);
  P.Property("Color", &TForm::GetColor, &TForm::SetColor).Default(clBtnFace);
  P.Property("Enabled", &TForm::GetEnabled, &TForm::SetEnabled).Default(true);
  P.Property("FormStyle", &TForm::GetFormStyle, &TForm::SetFormStyle).Default(fsNormal);
  P.Property("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false);
  P.Property("OldCreateOrder", &TForm::FOldCreateOrder, &TForm::FOldCreateOrder);
  P.Property("ParentColor", &TForm::GetParentColor, &TForm::SetParentColor).Stored(false);
  P.Property("PixelsPerInch", &TForm::GetPixelsPerInch, &TForm::SetPixelsPerInch);
  P.Property("Position", &TForm::GetPosition, &TForm::SetPosition).Default(poDesigned);
  P.Property("Scaled", &TForm::GetScaled, &TForm::SetScaled).Default(true);
  P.Property("ShowHint", &TForm::GetShowHint, &TForm::SetShowHint);
  P.Property("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(false);
  P.Property("WindowState", &TForm::GetWindowState, &TForm::SetWindowState).Default(wsNormal);
  P.Property("OnActivate", &TForm::OnActivate, &TForm::OnActivate);
  P.Property("OnClick", &TForm::OnClick, &TForm::OnClick);
  P.Property("OnClose", &TForm::OnClose, &TForm::OnClose);
  P.Property("OnCloseQuery", &TForm::OnCloseQuery, &TForm::OnCloseQuery);
  P.Property("OnCreate", &TForm::OnCreate, &TForm::OnCreate);
  P.Property("OnDblClick", &TForm::OnDblClick, &TForm::OnDblClick);
  P.Property("OnDeactivate", &TForm::OnDeactivate, &TForm::OnDeactivate);
  P.Property("OnDestroy", &TForm::OnDestroy, &TForm::OnDestroy);
  P.Property("OnHide", &TForm::OnHide, &TForm::OnHide);
  P.Property("OnKeyDown", &TForm::OnKeyDown, &TForm::OnKeyDown);
  P.Property("OnKeyPress", &TForm::OnKeyPress, &TForm::OnKeyPress);
  P.Property("OnKeyUp", &TForm::OnKeyUp, &TForm::OnKeyUp);
  P.Property("OnResize", &TForm::OnResize, &TForm::OnResize);
  P.Property("OnShow", &TForm::OnShow, &TForm::OnShow);
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FColor = clBtnFace;
  FParentColor = false;
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm() {
  Destroying();
  // OnDestroy runs while the form's components are still there.
  try {
    DoDestroy();
  } catch (...) {
  }
}

void TCustomForm::InitializeForm() {
  FFormState.Include(fsCreating);
  try {
    if (!InitInheritedComponent(this, TForm::StaticClass()))
      throw EResNotFound("Resource " + ClassName() + " not found");
  } catch (...) {
    FFormState.Exclude(fsCreating);
    throw;
  }
  FFormState.Exclude(fsCreating);
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (OnCreate.Assigned()) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy.Assigned()) OnDestroy(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose.Assigned()) OnClose(this, Action);
}

void TCustomForm::DoShow() {
  if (OnShow.Assigned()) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide.Assigned()) OnHide(this);
}

void TCustomForm::Loaded() {
  inherited::Loaded();
  if (FScaled && FPixelsPerInch > 0 && FPixelsPerInch != 96) {
    // Descriptions written at another resolution scale to the screen's.
    const TSize Client{ClientWidth(), ClientHeight()};
    ChangeScale(96, FPixelsPerInch);
    SetClientSize({MulDiv(Client.cx, 96, FPixelsPerInch), MulDiv(Client.cy, 96, FPixelsPerInch)});
    FPixelsPerInch = 96;
  }
  if (FActiveControl && !FActiveControl->CanFocus()) FActiveControl = nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && !ComponentState().Contains(csLoading)) {
    if (Control == this || GetParentForm(Control) != this)
      throw EInvalidOperation("Invalid ActiveControl value");
    if (FVisible && !Control->CanFocus())
      throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading)) {
    if (FActive) SetWindowFocus();
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->GetParent();
  if (Control->ContainsControl(FActiveControl)) {
    TWinControl* Next = Removing ? nullptr : FindNextControl(Control, true, true, false);
    if (Next && Control->ContainsControl(Next)) Next = nullptr;
    FActiveControl = Next;
    if (!Next) FFocusedControl = (Control->GetParent() && Control->GetParent() != this) ? Control->GetParent() : nullptr;
    else FFocusedControl = Next;
  }
}

bool TCustomForm::IsFocusedForm() const { return FActive; }

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!(FVisible && FEnabled)) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() { FFocusedControl = FActiveControl; }

bool TCustomForm::CloseQuery() {
  // Forms this one owns are asked too (MDI children in the library; here
  // any owned form), and any of them can refuse.
  for (Integer i = 0; i < ComponentCount(); ++i)
    if (auto* F = dynamic_cast<TCustomForm*>(Components(i)))
      if (F->FVisible && !F->CloseQuery()) return false;
  bool CanClose = true;
  if (OnCloseQuery.Assigned()) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  DoClose(Action);
  switch (Action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: SX_NOT_IMPLEMENTED("TCustomForm::Close caFree"); break;
    default: break;
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  if (Value == fsMDIChild || Value == fsMDIForm || FFormStyle == fsMDIChild || FFormStyle == fsMDIForm)
    SX_NOT_IMPLEMENTED("MDI form styles");
  FFormStyle = Value;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  const Word Key = Word(Message.WParam);
  if (Key == VK_TAB) {
    // FIXME: Shift+Tab (backwards) and Ctrl+Tab (left to page controls)
    // need the keyboard state of the window layer.
    SelectNext(FActiveControl, true, true);
    Message.Result = 1;
    return;
  }
  inherited::Dispatch(Message);
}
