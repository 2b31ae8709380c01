#include "platform/forms/Application.h"

#include <algorithm>
#include <exception>

#include "platform/forms/ActnList.h"
#include "platform/forms/HintWindow.h"
#include "platform/gdi/IconGraphic.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
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

// The control whose hint shows: the nearest one that shows hints.
TControl* GetHintControl(TControl* Control) {
  TControl* C = Control;
  while (C && !C->GetShowHint()) C = C->GetParent();
  return C;
}

constexpr UINT_PTR HintTimerId = 0x4855;  // the application window's one timer
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  if (!::Application) ::Application = this;
  FTitle = ChangeFileExt(ExtractFileName(ExeName()), "");
  if (!::Screen) FScreen = std::make_unique<TScreen>(nullptr);
  FIcon = std::make_unique<TIcon>();
  FIcon->OnChange = TNotifyEvent(this, &TApplication::IconChanged);
  // A worker's Synchronize wakes the loop with a thread message.
  if (::Application == this) WakeMainThread = [] { PostMessageA(nullptr, WM_NULL, 0, 0); };
}

TApplication::~TApplication() {
  // Forms go first, while the screen and the application window still exist.
  if (FMouseControl) FMouseControl->RemoveFreeNotification(this);
  FMouseControl = nullptr;
  SetHintControl(nullptr);
  FHintWindow.reset();
  DestroyComponents();
  if (FHandle && IsWindow(FHandle)) DeallocateHWnd(FHandle);
  FHandle = nullptr;
  FScreen.reset();
  if (::Application == this) {
    ::Application = nullptr;
    WakeMainThread = nullptr;
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMouseControl) FMouseControl = nullptr;
  if (AComponent == FHintControl) {
    FHintControl = nullptr;
    HideHint();
  }
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
  // Last hooked first; a hook that handles the message ends it. A copy, as a
  // hook may unhook itself.
  const std::vector<TWindowHook> Hooks = FWindowHooks;
  for (auto It = Hooks.rbegin(); It != Hooks.rend(); ++It)
    if ((*It)(Message)) return;
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == HintTimerId) {
        KillTimer(FHandle, HintTimerId);
        if (FHintTimerShows) {
          TPoint P;
          GetCursorPos(&P);
          ActivateHint(P);
        } else {
          HideHint();
        }
        return;
      }
      break;
    case WM_NULL: CheckSynchronize(); return;
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
  if (Msg.message == WM_NULL && !Msg.hwnd) {
    CheckSynchronize();
    return true;
  }
  bool Handled = false;
  if (OnMessage.Assigned()) OnMessage(Msg, Handled);
  if (!Handled && !IsHintMsg(Msg) && !IsKeyMsg(Msg)) {
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
  CheckSynchronize();
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

// ---------------------------------------------------------------------------
// Hints

bool TApplication::IsHintMsg(const MSG& Msg) {
  switch (Msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      TPoint P;
      GetCursorPos(&P);
      HintMouseMessage(P);
      break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
    case WM_CANCELMODE:
      if (FHintControl || FHintActive) CancelHint();
      break;
    default: break;
  }
  return false;  // the message goes on to its window
}

void TApplication::SetHintControl(TControl* Control) {
  if (FHintControl == Control) return;
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = Control;
  if (FHintControl) FHintControl->FreeNotification(this);
}

void TApplication::StartHintTimer(Integer Pause, bool Show) {
  KillTimer(Handle(), HintTimerId);
  FHintTimerShows = Show;
  SetTimer(Handle(), HintTimerId, UINT(std::max<Integer>(Pause, 0)), nullptr);
}

void TApplication::HintMouseMessage(TPoint ScreenPos) {
  TControl* Control = GetHintControl(FindDragTarget(ScreenPos, true));
  if (!FShowHint || !Control || !Control->GetShowHint() || GetCapture()) {
    CancelHint();
    return;
  }
  if (Control == FHintControl && FHintCursorRect.Contains(ScreenPos)) return;
  // Moving on from a shown hint, the next one comes after the short pause.
  Integer Pause = FHintActive ? HintShortPause : HintPause;
  Control->Perform(CM_HINTSHOWPAUSE, FHintActive ? 1 : 0, reinterpret_cast<LPARAM>(&Pause));
  if (FHintWindow) FHintWindow->ReleaseHandle();
  SetHintControl(Control);
  const TPoint Origin = Control->ClientToScreen({0, 0});
  FHintCursorRect = {Origin.X, Origin.Y, Origin.X + Control->GetWidth(), Origin.Y + Control->GetHeight()};
  StartHintTimer(Pause, /*Show=*/true);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  if (!FHintControl) return;
  THintInfo Info;
  Info.HintControl = FHintControl;
  Info.HintWindowClass = HintWindowClass;
  Info.HintPos = {CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR)};
  Info.HintMaxWidth = ::Screen ? ::Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  Info.HintColor = HintColor;
  Info.CursorRect = FHintControl->GetClientRect();
  Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  Info.HideTimeout = HintHidePause;
  Info.HintStr = GetShortHint(HintOf(FHintControl));
  const bool CanShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
  if (!CanShow || Info.HintStr.empty()) {
    HideHint();
    return;
  }
  const TPoint Origin = FHintControl->ClientToScreen({Info.CursorRect.Left, Info.CursorRect.Top});
  FHintCursorRect = {Origin.X, Origin.Y, Origin.X + Info.CursorRect.Width(), Origin.Y + Info.CursorRect.Height()};
  if (!FHintWindow || FHintWindow->ClassType() != Info.HintWindowClass) {
    FHintWindow.reset();
    TComponent* W = CreateComponent(Info.HintWindowClass ? Info.HintWindowClass : HintWindowClass, nullptr);
    FHintWindow.reset(dynamic_cast<THintWindow*>(W));
    if (!FHintWindow) {
      delete W;
      return;
    }
  }
  FHintWindow->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
  R = {Info.HintPos.X, Info.HintPos.Y, Info.HintPos.X + R.Width(), Info.HintPos.Y + R.Height()};
  FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
  FHintActive = true;
  if (Info.HideTimeout > 0) StartHintTimer(Info.HideTimeout, /*Show=*/false);
}

void TApplication::HideHint() {
  if (FHandle) KillTimer(FHandle, HintTimerId);
  if (FHintWindow) FHintWindow->ReleaseHandle();
  FHintActive = false;
}

void TApplication::CancelHint() {
  HideHint();
  SetHintControl(nullptr);
}

THintWindow* TApplication::HintWindow() const {
  return FHintWindow && FHintWindow->IsHintShowing() ? FHintWindow.get() : nullptr;
}

// ---------------------------------------------------------------------------
// Hooks and icon

void TApplication::HookMainWindow(const TWindowHook& Hook) {
  Handle();
  for (const auto& H : FWindowHooks)
    if (H == Hook) return;
  FWindowHooks.push_back(Hook);
}

void TApplication::UnhookMainWindow(const TWindowHook& Hook) {
  for (auto It = FWindowHooks.begin(); It != FWindowHooks.end(); ++It)
    if (*It == Hook) {
      FWindowHooks.erase(It);
      return;
    }
}

void TApplication::SetIcon(TIcon* Value) { FIcon->Assign(Value); }

void TApplication::IconChanged(TObject*) {
  if (!FHandle) return;
  HICON H = FIcon->Empty() ? nullptr : FIcon->GetHandle();
  SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(H));
}
