#include "platform/forms/Forms.h"

#include <functional>

#include "platform/forms/ActnList.h"
#include "platform/forms/Application.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

void TForm::Published(TPublished<TForm>& P) {
  P.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetFormClientWidth).Stored(false);
  P.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetFormClientHeight).Stored(false);
  P.Property("ActiveControl", &TForm::GetActiveControl, &TForm::SetActiveControl);
  P.Property("Align", &TForm::GetAlign, &TForm::SetAlign).Default(alNone);
  SX_PUBLISH_BIDI(TForm);
  P.Property("BorderIcons", &TForm::GetBorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Property("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  P.Property("Caption", &TForm::GetCaption, &TForm::SetCaption);
  P.Property("Color", &TForm::GetColor, &TForm::SetColor).Default(clBtnFace);
  P.Property("Enabled", &TForm::GetEnabled, &TForm::SetEnabled).Default(true);
  P.Property("Font", &TForm::GetFont, &TForm::SetFont);
  P.Property("FormStyle", &TForm::GetFormStyle, &TForm::SetFormStyle).Default(fsNormal);
  P.Property("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview).Default(false);
  P.Property("Menu", &TForm::GetMenu, &TForm::SetMenu);
  P.Property("OldCreateOrder", &TForm::FOldCreateOrder, &TForm::FOldCreateOrder);
  P.Property("ParentColor", &TForm::GetParentColor, &TForm::SetParentColor).Stored(false);
  SX_PUBLISH_PARENT_BIDI(TForm);
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
  P.Property("OnShortCut", &TForm::OnShortCut, &TForm::OnShortCut);
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
  FParentFont = false;
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  // OnDestroy runs while the form's components are still there.
  try {
    DoDestroy();
  } catch (...) {
  }
  if (Screen) Screen->RemoveForm(this);
  DestroyHandle();
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

void TCustomForm::SetFormClientWidth(Integer Value) {
  if (FControlState.Contains(csReadingState)) FClientWidth = Value;
  else SetClientWidth(Value);
}

void TCustomForm::SetFormClientHeight(Integer Value) {
  if (FControlState.Contains(csReadingState)) FClientHeight = Value;
  else SetClientHeight(Value);
}

void TCustomForm::ReadState(TReader* Reader) {
  FClientWidth = FClientHeight = 0;
  inherited::ReadState(Reader);
  const TRect Client = GetClientRect();
  if (FClientWidth > 0 || FClientHeight > 0)
    SetClientSize({FClientWidth > 0 ? FClientWidth : Client.Width(), FClientHeight > 0 ? FClientHeight : Client.Height()});
  FClientWidth = FClientHeight = 0;
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

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  if (Root != this) return;
  for (Integer I = 0; I < ComponentCount(); ++I)
    // An unnamed one is the form's own helper, made again on every creation.
    if (TComponent* C = Components(I); !C->HasParent() && !C->GetName().empty()) Proc(C);
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
  if (Control && (Control == this || GetParentForm(Control) != this ||
                  (!ComponentState().Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->GetParent();
  if (Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FActive && !ComponentState().Contains(csDestroying)) SetWindowFocus();
  }
}

bool TCustomForm::IsFocusedForm() const { return FActive; }

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++FFocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen) {
    Screen->SetActiveControl(Control);
    Screen->BringFormToFront(this);
  }
  if (Control->ControlState().Contains(csFocusing)) return false;
  TControlState Saved = Control->ControlState();
  Control->SetControlState(Saved + TControlState{csFocusing});
  // A handler that moves the focus again ends this round.
  const Integer Count = FFocusCount;
  auto Send = [&](TWinControl* C, UINT Msg) {
    C->Perform(Msg);
    return FFocusCount == Count;
  };
  bool Ok = true;
  try {
    if (Screen && Screen->FocusedForm() != this) {
      if (TCustomForm* Old = Screen->FocusedForm()) {
        Screen->SetFocusedForm(nullptr);
        Ok = Send(Old, CM_DEACTIVATE);
      }
      if (Ok) {
        Screen->SetFocusedForm(this);
        Ok = Send(this, CM_ACTIVATE);
      }
    }
    if (Ok) {
      if (!FFocusedControl) FFocusedControl = this;
      if (FFocusedControl != Control) {
        while (Ok && FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
          TWinControl* Leaving = FFocusedControl;
          FFocusedControl = FFocusedControl->GetParent();
          Ok = Send(Leaving, CM_EXIT);
        }
        while (Ok && FFocusedControl != Control) {
          TWinControl* Entering = Control;
          while (Entering->GetParent() != FFocusedControl) Entering = Entering->GetParent();
          FFocusedControl = Entering;
          Ok = Send(Entering, CM_ENTER);
        }
        if (Ok) Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
      }
    }
  } catch (...) {
    Control->SetControlState(Control->ControlState() - TControlState{csFocusing});
    throw;
  }
  Control->SetControlState(Control->ControlState() - TControlState{csFocusing});
  return Ok;
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!(FVisible && FEnabled)) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!HandleAllocated()) return;
  HWND Target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl->Handle() : Handle();
  ::SetFocus(Target);
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (Value) {
    if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
    if (Screen) Screen->SetActiveForm(this);
    SetWindowFocus();
  }
}

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
  if (Action == caNone) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  else if (Action == caHide) Hide();
  else if (Action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageA(Handle(), CM_RELEASE, 0, 0);
  else delete this;
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

namespace {
struct TDisabledWindows {
  HWND Keep;
  std::vector<HWND> List;
};
BOOL DisableOne(HWND Wnd, LPARAM Param) {
  auto* D = reinterpret_cast<TDisabledWindows*>(Param);
  if (Wnd != D->Keep && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) {
    D->List.push_back(Wnd);
    EnableWindow(Wnd, FALSE);
  }
  return TRUE;
}
}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal))
    throw EInvalidOperation("Cannot make a visible window modal");
  if (!Application) throw EInvalidOperation("Cannot show a modal form without an application");
  if (HWND Cap = GetCapture()) SendMessageA(Cap, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState.Include(fsModal);
  HWND ActiveWindow = GetActiveWindow();
  TCustomForm* SavedFocusedForm = Screen ? Screen->FocusedForm() : nullptr;
  const TCursor SavedCursor = Screen ? Screen->GetCursor() : crDefault;
  if (Screen) Screen->SetCursor(crDefault);
  TDisabledWindows Disabled{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableOne, LPARAM(&Disabled));
  auto Restore = [&] {
    for (HWND W : Disabled.List)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    if (Screen) {
      if (Screen->GetCursor() == crDefault) Screen->SetCursor(SavedCursor);
      Screen->SetFocusedForm(SavedFocusedForm);
    }
    if (ActiveWindow && IsWindow(ActiveWindow)) SetActiveWindow(ActiveWindow);
    FFormState.Exclude(fsModal);
  };
  TModalResult Result = mrNone;
  try {
    Show();
    try {
      SendMessageA(Handle(), CM_ACTIVATE, 0, 0);
      FModalResult = mrNone;
      do {
        Application->HandleMessage();
        if (Application->Terminated()) FModalResult = mrCancel;
        else if (FModalResult != mrNone) CloseModal();
      } while (FModalResult == mrNone);
      Result = FModalResult;
      SendMessageA(Handle(), CM_DEACTIVATE, 0, 0);
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  return Result;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
      Action = caHide;
      DoClose(Action);
    }
    if (Action == caNone) FModalResult = mrNone;
    else if (Action == caFree) Release();
  } catch (const Exception&) {
    FModalResult = mrNone;
    Application->HandleException(this);
  }
}

void TCustomForm::FormStyleBits(DWORD& Style, DWORD& ExStyle) const {
  Style = WS_CLIPCHILDREN;
  ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone: Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Style |= WS_POPUP | WS_CAPTION;
      ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons.Contains(biMinimize)) Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Style |= WS_MAXIMIZEBOX;
    }
    if (FBorderStyle == bsDialog && FBorderIcons.Contains(biHelp)) ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop) ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  DWORD Style = 0, ExStyle = 0;
  FormStyleBits(Style, ExStyle);
  if (!FParent && !FParentWindow) {
    Params.Style &= ~DWORD(WS_CHILD | WS_GROUP | WS_TABSTOP);
    Params.WndParent = Application ? Application->Handle() : nullptr;
  }
  Params.Style |= Style;
  Params.ExStyle |= ExStyle;
  Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
  Params.WindowClass.style = CS_DBLCLKS;
}

TRect TCustomForm::GetClientRect() const {
  if (HandleAllocated()) return inherited::GetClientRect();
  // Without a window: what the frame of this border style leaves.
  DWORD Style = 0, ExStyle = 0;
  FormStyleBits(Style, ExStyle);
  TRect Frame{0, 0, 0, 0};
  AdjustWindowRectEx(&Frame, Style, FMenu != nullptr, ExStyle);
  return {0, 0, std::max(0, FWidth - Frame.Width()), std::max(0, FHeight - Frame.Height())};
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  FFormState.Include(fsShowing);
  try {
    if (FShowing) {
      DoShow();
      if (FPosition == poScreenCenter || FPosition == poDesktopCenter ||
          (FPosition == poMainFormCenter && (!Application || !Application->MainForm() ||
                                             Application->MainForm() == this))) {
        const Integer X = std::max(0, (Screen ? Screen->Width() : 0) - FWidth) / 2;
        const Integer Y = std::max(0, (Screen ? Screen->Height() : 0) - FHeight) / 2;
        SetBounds(X, Y, FWidth, FHeight);
      } else if (FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) {
        TCustomForm* Center = Application ? Application->MainForm() : nullptr;
        if (FPosition == poOwnerFormCenter)
          if (auto* O = dynamic_cast<TCustomForm*>(Owner())) Center = O;
        if (Center && Center != this)
          SetBounds(Center->FLeft + (Center->FWidth - FWidth) / 2, Center->FTop + (Center->FHeight - FHeight) / 2,
                    FWidth, FHeight);
      }
      static const int ShowCommands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
      ShowWindow(FHandle, ShowCommands[FWindowState]);
      if (FFormStyle == fsStayOnTop)
        SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
      DoHide();
      ShowWindow(FHandle, SW_HIDE);
    }
  } catch (...) {
    FFormState.Exclude(fsShowing);
    throw;
  }
  FFormState.Exclude(fsShowing);
}

void TCustomForm::WMActivate(TMessage& Message) {
  DefaultHandler(Message);
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMSize(TMessage& Message) {
  switch (Message.WParam) {
    case SIZE_MINIMIZED: FWindowState = wsMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = wsMaximized; break;
    case SIZE_RESTORED: FWindowState = wsNormal; break;
    default: break;
  }
  inherited::WMSize(Message);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  // The window keeps its bounds; the client area is what the new frame leaves.
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
  else Realign();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  // The program has no MDI window, and this layer has no MDI client: a form
  // (or form description) that asks for one is refused in words, and the
  // form keeps its style.
  if (Value == fsMDIChild || Value == fsMDIForm)
    throw EInvalidOperation("Form '" + GetName() + "': MDI form styles are not supported");
  FFormStyle = Value;
  if (HandleAllocated())
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  static const int Commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  if (HandleAllocated() && FShowing) ShowWindow(FHandle, Commands[Value]);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_ACTIONEXECUTE: CMActionExecute(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_ACTIVATE:
      if (OnActivate.Assigned()) OnActivate(this);
      break;
    case CM_DEACTIVATE:
      if (OnDeactivate.Assigned()) OnDeactivate(this);
      break;
    case CM_RELEASE: delete this; return;
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case CM_ISSHORTCUT: Message.Result = IsShortCut(Message) ? 1 : 0; break;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // The main menu's messages are its own; the rest go to the controls.
      if (FMenu && FMenu->HandleMenuMessage(Message)) break;
      inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) {
    FMenu->SetForm(nullptr);
    FMenu->RemoveFreeNotification(this);
  }
  FMenu = Value;
  if (FMenu) {
    if (FMenu->Form() && FMenu->Form() != this)
      if (auto* Other = dynamic_cast<TCustomForm*>(FMenu->Form())) Other->SetMenu(nullptr);
    FMenu->FreeNotification(this);
    FMenu->SetForm(this);
  }
  if (HandleAllocated()) ::SetMenu(Handle(), FMenu ? FMenu->Handle() : nullptr);
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (FMenu) ::SetMenu(Handle(), FMenu->Handle());
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) {
    FMenu = nullptr;
    if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
  }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool Handled = false;
  if (OnShortCut.Assigned()) OnShortCut(Message, Handled);
  if (Handled) return true;
  if (FMenu && FMenu->WindowHandle() && FMenu->IsShortCut(Message)) return true;
  Word Key = Word(Message.WParam);
  if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
  TShortCut Sc = ShortCut(Key, KeyDataToShiftState(Message.LParam));
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (auto* List = dynamic_cast<TActionList*>(Components(I)); List && List->IsShortCut(Sc)) return true;
  return false;
}

void TCustomForm::CMActionExecute(TMessage& Message) {
  if (!FShowing) return;
  auto* Action = reinterpret_cast<TBasicAction*>(Message.LParam);
  auto Offer = [&](TControl* C) { return C && C->ExecuteAction(Action); };
  // The active control first, then the form, then every visible control.
  std::function<bool(TWinControl*)> Traverse = [&](TWinControl* Container) {
    if (!Container->GetShowing()) return false;
    for (Integer i = 0; i < Container->ControlCount(); ++i) {
      TControl* C = Container->Controls(i);
      if (C->GetVisible() && Offer(C)) return true;
      if (auto* W = dynamic_cast<TWinControl*>(C); W && Traverse(W)) return true;
    }
    return false;
  };
  if (Offer(FActiveControl) || Offer(this) || Traverse(this)) Message.Result = 1;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  const Word Key = Word(Message.WParam);
  if (GetKeyState(VK_MENU) >= 0) {
    if (Key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
      // Ctrl+Tab is left to page controls.
      SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
      Message.Result = 1;
      return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
      if (FActiveControl && FActiveControl->GetParent()) {
        FActiveControl->GetParent()->SelectNext(FActiveControl, Key == VK_RIGHT || Key == VK_DOWN, false);
        Message.Result = 1;
      }
      return;
    }
  }
  // Enter and Esc reach the default and cancel buttons.
  Broadcast(Message);
}
