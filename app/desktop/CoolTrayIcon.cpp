#include "app/desktop/CoolTrayIcon.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/ImageListHandles.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

// ---- the shared window ------------------------------------------------------

class TTrayIconHandler : public TObject {
public:
  TTrayIconHandler() { FHandle = AllocateHWnd(TWndMethod(this, &TTrayIconHandler::WndProc)); }
  ~TTrayIconHandler() override { DeallocateHWnd(FHandle); }
  HWND Handle() const { return FHandle; }
  std::vector<TCoolTrayIcon*> Icons;

private:
  void WndProc(TMessage& Message) {
    switch (Message.Msg) {
      case WM_TRAYNOTIFY: {
        // The id names the icon; one that is gone since hears nothing.
        auto It = std::find_if(Icons.begin(), Icons.end(),
                               [&](TCoolTrayIcon* I) { return I->IconId() == UINT(Message.WParam); });
        if (It != Icons.end()) {
          try {
            (*It)->HandleTrayMessage(UINT(LOWORD(Message.LParam)));
          } catch (const Exception&) {
            if (!Application) throw;
            Application->HandleException(*It);
          }
        }
        return;
      }
      case WM_DESTROY:
      case WM_CLOSE:
      case WM_QUERYENDSESSION:
      case WM_QUIT:
      case WM_ENDSESSION:
      case WM_NCDESTROY: Message.Result = 1; return;
      default: Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
    }
  }
  HWND FHandle = nullptr;
};

namespace {
TTrayIconHandler*& Handler() {
  static TTrayIconHandler* H = nullptr;
  return H;
}

UINT& LastIconId() {
  static UINT Id = 0;
  return Id;
}

UINT TaskbarCreatedMessage() {
  static UINT Msg = RegisterWindowMessageA("TaskbarCreated");
  return Msg;
}

TTrayIconHandler* AddIcon(TCoolTrayIcon* Icon) {
  auto*& H = Handler();
  if (H && !IsWindow(H->Handle()) && H->Icons.empty()) {
    delete H;
    H = nullptr;
  }
  if (!H) H = new TTrayIconHandler;
  H->Icons.push_back(Icon);
  return H;
}

void ReleaseIcon(TCoolTrayIcon* Icon) {
  auto*& H = Handler();
  if (!H) return;
  H->Icons.erase(std::remove(H->Icons.begin(), H->Icons.end(), Icon), H->Icons.end());
  if (H->Icons.empty()) {
    delete H;
    H = nullptr;
  }
}

TShiftState KeyShift() {
  TShiftState S;
  if (GetAsyncKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetAsyncKeyState(VK_MENU) < 0) S.Include(ssAlt);
  if (GetAsyncKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  return S;
}

TPoint CursorPos() {
  TPoint P;
  GetCursorPos(&P);
  return P;
}
}  // namespace

HWND TCoolTrayIcon::HandlerWindow() { return Handler() ? Handler()->Handle() : nullptr; }

// ---- the component ----------------------------------------------------------

TCoolTrayIcon::TCoolTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  TTrayIconHandler* H = AddIcon(this);
  // Icon ids are numbers of their own (the record's id has 32 bits); never
  // 0, and unique among the icons alive.
  FIconData.uID = ++LastIconId() ? LastIconId() : ++LastIconId();
  FIconData.cbSize = sizeof(NOTIFYICONDATAA);
  FIconData.hWnd = H->Handle();
  FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FIconData.uCallbackMessage = WM_TRAYNOTIFY;
  FIcon = std::make_unique<TIcon>();
  FIcon->OnChange = TNotifyEvent(this, &TCoolTrayIcon::IconChanged);
  FCycleTimer = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TCoolTrayIcon::CycleTimerProc));
  FClickTimer = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TCoolTrayIcon::ClickTimerProc));
  FExitTimer = std::make_unique<TSimpleTimer>(20, TNotifyEvent(this, &TCoolTrayIcon::ExitTimerProc));
  TaskbarCreatedMessage();
  if (Application) {
    Application->HookMainWindow(TWindowHook(this, &TCoolTrayIcon::HookAppProc));
    FAppHooked = true;
  }
  // The owner's messages come through its WindowProc, which stays ours
  // when the owner's window is made again.
  if (TWinControl* Owner = OwnerControl()) {
    FOldOwnerProc = Owner->WindowProc;
    Owner->WindowProc = TWndMethod(this, &TCoolTrayIcon::OwnerWndProc);
    FOwnerHooked = true;
  }
}

TCoolTrayIcon::~TCoolTrayIcon() {
  SetIconVisible(false);
  FCycleTimer.reset();
  FClickTimer.reset();
  FExitTimer.reset();
  FIcon.reset();
  if (FAppHooked && Application) Application->UnhookMainWindow(TWindowHook(this, &TCoolTrayIcon::HookAppProc));
  // An owner that is being destroyed has no window procedure to give back.
  if (FOwnerHooked && Owner() && !Owner()->ComponentState().Contains(csDestroying))
    if (TWinControl* O = OwnerControl(); O && O->WindowProc == TWndMethod(this, &TCoolTrayIcon::OwnerWndProc))
      O->WindowProc = FOldOwnerProc;
  ReleaseIcon(this);
}

TWinControl* TCoolTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

void TCoolTrayIcon::Loaded() {
  inherited::Loaded();
  if (OwnerControl()) {
    bool Show = true;
    if (OnStartup.Assigned()) OnStartup(this, Show);
    if (!Show) {
      if (Application) Application->SetShowMainForm(false);
      HideMainForm();
    }
  }
  ModifyIcon();
  // The stored values take effect now, in this order.
  const bool Visible = FIconVisible;
  FIconVisible = !Visible;
  SetIconVisible(Visible);
  SetCycleIcons(FCycleIcons);
  SetWantEnterExitEvents(FWantEnterExitEvents);
  SetTrayBehavior(FTrayBehavior);
}

void TCoolTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) SetIconList(nullptr);
  if (AComponent == FPopupMenu) SetPopupMenu(nullptr);
}

// ---- the shell --------------------------------------------------------------

void TCoolTrayIcon::PrepareIconData() {
  FIconData.hIcon = FIcon ? FIcon->GetHandle() : nullptr;
  std::memset(FIconData.szTip, 0, sizeof FIconData.szTip);
  if (!FHint.empty() && FShowHint)
    std::memcpy(FIconData.szTip, FHint.data(), std::min(FHint.size(), sizeof FIconData.szTip - 1));
}

bool TCoolTrayIcon::Notify(DWORD Message) {
  PrepareIconData();
  return Shell_NotifyIconA(Message, &FIconData) != FALSE;
}

bool TCoolTrayIcon::ShowIcon() {
  FIconVisible = true;
  return Notify(NIM_ADD);
}

bool TCoolTrayIcon::HideIcon() {
  FIconVisible = false;
  return Notify(NIM_DELETE);
}

bool TCoolTrayIcon::ModifyIcon() { return Notify(NIM_MODIFY); }

void TCoolTrayIcon::IconChanged(TObject*) { ModifyIcon(); }

// ---- properties -------------------------------------------------------------

void TCoolTrayIcon::SetIconVisible(bool Value) {
  if (Loading()) {
    FIconVisible = Value;
    return;
  }
  if (Value) ShowIcon();
  else HideIcon();
}

void TCoolTrayIcon::SetIcon(TIcon* Value) {
  FIcon->OnChange = nullptr;
  FIcon->Assign(Value);
  FIcon->OnChange = TNotifyEvent(this, &TCoolTrayIcon::IconChanged);
  if (!Loading()) ModifyIcon();
}

void TCoolTrayIcon::SetHint(const AnsiString& Value) {
  FHint = Value;
  if (!Loading()) ModifyIcon();
}

void TCoolTrayIcon::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Loading()) ModifyIcon();
}

void TCoolTrayIcon::SetIconList(TCustomImageList* Value) {
  if (FIconList) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (FIconList) FIconList->FreeNotification(this);
  SetIconIndex(0);
}

void TCoolTrayIcon::SetIconIndex(Integer Value) {
  if (FIconList && FIconList->Count() > 0) {
    FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
    if (HICON H = ImageList_GetIcon(FIconList->GetHandle(), FIconIndex, ILD_NORMAL)) {
      FIcon->OnChange = nullptr;
      FIcon->SetHandle(H);
      FIcon->OnChange = TNotifyEvent(this, &TCoolTrayIcon::IconChanged);
    }
  } else {
    FIconIndex = 0;
  }
  if (!Loading()) ModifyIcon();
}

void TCoolTrayIcon::SetCycleIcons(bool Value) {
  FCycleIcons = Value;
  if (Loading()) return;
  if (Value) {
    SetIconIndex(0);
    FCycleTimer->SetInterval(FCycleInterval);
    FCycleTimer->SetEnabled(true);
  } else {
    FCycleTimer->SetEnabled(false);
  }
}

void TCoolTrayIcon::SetCycleInterval(Cardinal Value) {
  FCycleInterval = Value;
  if (!Loading()) SetCycleIcons(FCycleIcons);
}

void TCoolTrayIcon::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TCoolTrayIcon::SetWantEnterExitEvents(bool Value) {
  FWantEnterExitEvents = Value;
  if (!Loading()) FExitTimer->SetEnabled(Value);
}

void TCoolTrayIcon::SetTrayBehavior(TTrayBehavior Value) {
  FTrayBehavior = Value;
  if (Loading()) return;
  FIconData.uTimeoutOrVersion = Value == tbShellVersion3 ? NOTIFYICON_VERSION : 0;
  Notify(NIM_SETVERSION);
}

// ---- the main form ----------------------------------------------------------

void TCoolTrayIcon::ShowMainForm() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  TCustomForm* Main = Application->MainForm();
  Application->Restore();
  if (Main->GetWindowState() == wsMinimized) Main->SetWindowState(wsNormal);
  Main->SetVisible(true);
  SetForegroundWindow(Application->Handle());
  // The application window is a hidden one here: the main window itself
  // comes to the front.
  if (Main->HandleAllocated()) SetForegroundWindow(Main->Handle());
}

void TCoolTrayIcon::HideMainForm() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
  if (IsWindowVisible(Application->Handle())) ShowWindow(Application->Handle(), SW_HIDE);
}

void TCoolTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

// ---- events -----------------------------------------------------------------

void TCoolTrayIcon::Click() {
  if (OnClick.Assigned()) OnClick(this);
}
void TCoolTrayIcon::DblClick() {
  if (OnDblClick.Assigned()) OnDblClick(this);
}
void TCoolTrayIcon::DoCycle() {
  if (!OnCycle.Assigned()) return;
  Integer Next = 0;
  if (FIconList && FIconIndex < FIconList->Count() - 1) Next = FIconIndex + 1;
  OnCycle(this, Next);
}
void TCoolTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown.Assigned()) OnMouseDown(this, Button, Shift, X, Y);
}
void TCoolTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp.Assigned()) OnMouseUp(this, Button, Shift, X, Y);
}
void TCoolTrayIcon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove.Assigned()) OnMouseMove(this, Shift, X, Y);
}
void TCoolTrayIcon::MouseEnter() {
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}
void TCoolTrayIcon::MouseExit() {
  if (OnMouseExit.Assigned()) OnMouseExit(this);
}

void TCoolTrayIcon::HandleTrayMessage(UINT Event) {
  auto Fire = [&](const TNotifyEvent& E) {
    if (E.Assigned()) E(this);
  };
  switch (Event) {
    case NIN_BALLOONSHOW: Fire(OnBalloonHintShow); return;
    case NIN_BALLOONHIDE: Fire(OnBalloonHintHide); return;
    case NIN_BALLOONTIMEOUT: Fire(OnBalloonHintTimeout); return;
    case NIN_BALLOONUSERCLICK: Fire(OnBalloonHintClick); return;
    default: break;
  }
  if (!Enabled) return;
  const TPoint P = CursorPos();
  TShiftState Shift = KeyShift();
  switch (Event) {
    case WM_MOUSEMOVE:
      if (FWantEnterExitEvents && FMouseOutside) {
        MouseEnter();
        FMouseOutside = false;
      }
      MouseMove(Shift, P.X, P.Y);
      FLastMoveOverIcon = P;
      break;
    case WM_LBUTTONDOWN:
      if (OnDblClick.Assigned()) {
        FClickTimer->SetInterval(GetDoubleClickTime());
        FClickTimer->SetEnabled(true);
      }
      Shift.Include(ssLeft);
      MouseDown(mbLeft, Shift, P.X, P.Y);
      FLeftButtonDown = true;
      if (LeftPopup) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FLeftButtonDown) {
        FClickPending = true;
        if (!FClickTimer->GetEnabled()) {
          FClickPending = false;
          FLeftButtonDown = false;
          Click();
        }
      }
      FLeftButtonDown = false;
      Shift.Include(ssLeft);
      MouseUp(mbLeft, Shift, P.X, P.Y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickPending = false;
      FDblClickSeen = true;
      DblClick();
      if (FPopupMenu && FPopupMenu->AutoPopup && !LeftPopup) {
        TMenuItem* Items = FPopupMenu->Items();
        for (Integer I = 0; I < Items->Count(); ++I)
          if (Items->Items(I)->GetDefault()) {
            Items->Items(I)->Click();
            break;
          }
      }
      break;
    case WM_RBUTTONDOWN:
      Shift.Include(ssRight);
      MouseDown(mbRight, Shift, P.X, P.Y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      if (FTrayBehavior == tbClassic) {
        Shift.Include(ssRight);
        MouseUp(mbRight, Shift, P.X, P.Y);
      }
      break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if (FTrayBehavior == tbShellVersion3) {
        Shift.Include(ssRight);
        MouseUp(mbRight, Shift, P.X, P.Y);
      }
      break;
    case WM_MBUTTONDOWN:
      Shift.Include(ssMiddle);
      MouseDown(mbMiddle, Shift, P.X, P.Y);
      break;
    case WM_MBUTTONUP:
      Shift.Include(ssMiddle);
      MouseUp(mbMiddle, Shift, P.X, P.Y);
      break;
    default: break;
  }
}

void TCoolTrayIcon::PopupAtCursor() {
  TPoint P;
  if (!FPopupMenu || !FPopupMenu->AutoPopup || !GetCursorPos(&P)) return;
  if (Application) {
    SetForegroundWindow(Application->Handle());
    Application->ProcessMessages();
  }
  // The menu may free this icon (an item that closes the form): hold on
  // to what is needed after it.
  TWinControl* Owner = OwnerControl();
  FPopupMenu->PopupComponent = this;
  FPopupMenu->Popup(P.X, P.Y);
  if (Owner && Owner->HandleAllocated()) PostMessageA(Owner->Handle(), WM_NULL, 0, 0);
}

void TCoolTrayIcon::CycleTimerProc(TObject*) {
  if (FIconList && FIconList->Count() > 0) {
    if (HICON H = ImageList_GetIcon(FIconList->GetHandle(), std::min(FIconIndex, FIconList->Count() - 1), ILD_NORMAL)) {
      FIcon->OnChange = nullptr;
      FIcon->SetHandle(H);
      FIcon->OnChange = TNotifyEvent(this, &TCoolTrayIcon::IconChanged);
      ModifyIcon();
    }
  }
  DoCycle();
  const Integer Next = FIconList && FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0;
  SetIconIndex(Next);
}

void TCoolTrayIcon::ClickTimerProc(TObject*) {
  FClickTimer->SetEnabled(false);
  if (!FDblClickSeen && FClickPending) {
    FClickPending = false;
    Click();
  }
  FDblClickSeen = false;
}

void TCoolTrayIcon::ExitTimerProc(TObject*) {
  if (FMouseOutside) return;
  const TPoint P = CursorPos();
  if (P.X != FLastMoveOverIcon.X || P.Y != FLastMoveOverIcon.Y) {
    FMouseOutside = true;
    MouseExit();
  }
}

// ---- hooks ------------------------------------------------------------------

bool TCoolTrayIcon::HookAppProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      if (Message.WParam == SIZE_MINIMIZED && MinimizeToTray) DoMinimizeToTray();
      break;
    case WM_WINDOWPOSCHANGED:
      // This class library has no MDI forms: nothing waits for a main form
      // of that style.
      if (FStartupCheckPending && Application && Application->MainForm()) FStartupCheckPending = false;
      break;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_RESTORE && Application && Application->MainForm())
        Application->MainForm()->SetVisible(true);
      break;
    default:
      if (Message.Msg == TaskbarCreatedMessage() && TaskbarCreatedMessage() != 0 && FIconVisible) ShowIcon();
      break;
  }
  return false;
}

void TCoolTrayIcon::OwnerWndProc(TMessage& Message) {
  const bool Terminating = Application && Application->Terminated();
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 1 && Message.LParam == 0) {
    if (Application) SetForegroundWindow(Application->Handle());
    if (TWinControl* O = OwnerControl(); O && O->HandleAllocated()) SetForegroundWindow(O->Handle());
  } else if ((Message.Msg == WM_SHOWWINDOW && Message.WParam == 0 && Message.LParam == SW_PARENTCLOSING && !Terminating) ||
             (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_MINIMIZE)) {
    if (MinimizeToTray && OnMinimizeToTray.Assigned()) {
      OnMinimizeToTray(this);
      DoMinimizeToTray();
      Message.Result = 1;
      return;
    }
  }
  FOldOwnerProc(Message);
  // This class library minimizes the main form itself, not an application
  // window: its minimizing is what the application window's would be.
  if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && MinimizeToTray && !Terminating && Application &&
      Application->MainForm() == Owner())
    DoMinimizeToTray();
}
