#include "platform/forms/Application.h"

#include <exception>

#include "platform/forms/ActnList.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

TApplication* Application = nullptr;

AnsiString GetShortHint(const AnsiString& Hint) {
  const size_t Bar = Hint.find('|');
  return Bar == AnsiString::npos ? Hint : Hint.substr(0, Bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
  const size_t Bar = Hint.find('|');
  return Bar == AnsiString::npos ? Hint : Hint.substr(Bar + 1);
}

namespace {
// The hint a control shows: its own, else the nearest parent's.
AnsiString HintOf(TControl* Control) {
  for (TControl* C = Control; C; C = C->GetParent())
    if (!C->GetHint().empty()) return C->GetHint();
  return {};
}
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  if (!::Application) ::Application = this;
  FTitle = ChangeFileExt(ExtractFileName(ExeName()), "");
  if (!::Screen) FScreen = std::make_unique<TScreen>(nullptr);
}

TApplication::~TApplication() {
  // Forms go first, while the screen and the application window still exist.
  if (FMouseControl) FMouseControl->RemoveFreeNotification(this);
  FMouseControl = nullptr;
  DestroyComponents();
  if (FHandle && IsWindow(FHandle)) DeallocateHWnd(FHandle);
  FHandle = nullptr;
  FScreen.reset();
  if (::Application == this) ::Application = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMouseControl) FMouseControl = nullptr;
  if (AComponent == FMainForm) FMainForm = nullptr;
}

HWND TApplication::Handle() {
  if (!FHandle) {
    FHandle = AllocateHWnd(TWndMethod(this, &TApplication::WndProc));
    SetWindowTextA(FHandle, FTitle.c_str());
  }
  return FHandle;
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      FActive = Message.WParam != 0;
      if (FActive && OnActivate.Assigned()) OnActivate(this);
      if (!FActive && OnDeactivate.Assigned()) OnDeactivate(this);
      break;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE: {
      // The active form's controls, then the main form's, may take it.
      TCustomForm* Form = ::Screen ? ::Screen->ActiveForm() : nullptr;
      const bool Done = (Form && Form->Perform(Message.Msg, 0, Message.LParam) == 1) ||
                        (FMainForm && FMainForm != Form && FMainForm->Perform(Message.Msg, 0, Message.LParam) == 1);
      Message.Result = Done ? 1 : 0;
      return;
    }
    default: break;
  }
  Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::SetTitle(const AnsiString& Value) {
  FTitle = Value;
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
}

AnsiString TApplication::ExeName() const { return ::ExeName(); }

void TApplication::CreateForm(TClass InstanceClass, void** Reference) {
  TComponent* C = CreateComponent(InstanceClass, this);
  *Reference = C;
  if (!FMainForm)
    if (auto* F = dynamic_cast<TCustomForm*>(C)) {
      FMainForm = F;
      F->FreeNotification(this);
    }
}

void TApplication::Run() {
  if (!FMainForm) return;
  if (FShowMainForm) {
    if (FMainForm->GetWindowState() == wsMinimized) Minimize();
    else FMainForm->SetVisible(true);
  }
  do {
    try {
      HandleMessage();
    } catch (const Exception&) {
      HandleException(this);
    }
  } while (!FTerminate);
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = GetCapture();
  if (!Wnd) {
    // The nearest window of a control: others know nothing of CN_ messages.
    Wnd = Msg.hwnd;
    while (Wnd && !FindControl(Wnd)) Wnd = GetParent(Wnd);
    if (!Wnd) Wnd = Msg.hwnd;
  }
  if (!Wnd) return false;
  return SendMessageA(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminate = true;
    return true;
  }
  bool Handled = false;
  if (OnMessage.Assigned()) OnMessage(Msg, Handled);
  if (!Handled && !IsKeyMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG Msg;
  while (ProcessMessage(Msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG Msg;
  if (!ProcessMessage(Msg)) Idle(Msg);
}

void TApplication::SetMouseControl(TControl* Control) {
  if (FMouseControl) FMouseControl->RemoveFreeNotification(this);
  FMouseControl = Control;
  if (FMouseControl) FMouseControl->FreeNotification(this);
}

TControl* TApplication::DoMouseIdle() {
  TPoint P;
  GetCursorPos(&P);
  TControl* Result = FindDragTarget(P, true);
  if (FMouseControl != Result) {
    // A control that holds the mouse captured hears only of itself.
    TWinControl* CaptureWin = FindControl(GetCapture());
    auto Tell = [&](TControl* C, UINT Msg) {
      if (!C) return;
      if (!CaptureWin || C->GetMouseCapture()) C->Perform(Msg);
    };
    TControl* Old = FMouseControl;
    SetMouseControl(Result);
    Tell(Old, CM_MOUSELEAVE);
    if (FMouseControl == Result) Tell(Result, CM_MOUSEENTER);
  }
  return Result;
}

void TApplication::Idle(const MSG&) {
  TControl* Control = DoMouseIdle();
  SetHint(GetLongHint(HintOf(Control)));
  bool Done = true;
  try {
    if (OnIdle.Assigned()) OnIdle(this, Done);
  } catch (const Exception&) {
    HandleException(this);
  }
  if (Done) WaitMessage();
}

void TApplication::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint.Assigned()) {
    OnHint(this);
    return;
  }
  // Without a handler the hint goes out as an action: a status bar with an
  // automatic hint panel takes it.
  THintAction Action(nullptr);
  Action.Hint = Value;
  Action.Execute();
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr P = std::current_exception();
  if (!P) return;
  if (HWND Cap = GetCapture()) SendMessageA(Cap, WM_CANCELMODE, 0, 0);
  try {
    std::rethrow_exception(P);
  } catch (const EAbort&) {
  } catch (const Exception& E) {
    if (OnException.Assigned()) OnException(Sender, E);
    else ShowException(E);
  }
}

void TApplication::ShowException(const Exception& E) {
  AnsiString Msg = E.Message();
  // The error display ends the message with a full stop.
  if (!Msg.empty() && static_cast<unsigned char>(Msg.back()) > '.') Msg += '.';
  ::MessageBox(FHandle, Msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags) {
  HWND Owner = GetActiveWindow();
  if (!Owner) Owner = FHandle;
  return ::MessageBox(Owner, Text, Caption, Flags);
}

bool TApplication::HelpContext(Integer Context) { return HelpCommand(/*HELP_CONTEXT=*/1, Context); }

bool TApplication::HelpCommand(Integer Command, Integer Data) {
  bool CallHelp = true;
  bool Result = false;
  if (OnHelp.Assigned()) Result = OnHelp(Word(Command), Data, CallHelp);
  // There is no help viewer on this system: a call that reaches it finds
  // none and reports failure, as a machine without one does.
  return CallHelp ? false : Result;
}

void TApplication::BringToFront() {
  if (!FMainForm || !FMainForm->HandleAllocated()) return;
  HWND Last = GetLastActivePopup(FMainForm->Handle());
  if (Last && IsWindowVisible(Last) && IsWindowEnabled(Last)) SetForegroundWindow(Last);
}

void TApplication::Minimize() {
  if (FMainForm) FMainForm->SetWindowState(wsMinimized);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->GetWindowState() == wsMinimized) FMainForm->SetWindowState(wsNormal);
}

void TApplication::NormalizeTopMosts() {
  if (FTopMostLevel++ > 0) return;
  FTopMostList.clear();
  if (!::Screen) return;
  for (Integer i = 0; i < ::Screen->FormCount(); ++i) {
    TCustomForm* F = ::Screen->Forms(i);
    if (F->GetFormStyle() == fsStayOnTop && F->HandleAllocated() &&
        (GetWindowLongA(F->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
      FTopMostList.push_back(F->Handle());
      SetWindowPos(F->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void TApplication::RestoreTopMosts() {
  if (FTopMostLevel == 0 || --FTopMostLevel > 0) return;
  for (auto It = FTopMostList.rbegin(); It != FTopMostList.rend(); ++It)
    if (IsWindow(*It)) SetWindowPos(*It, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FTopMostList.clear();
}
