// The window side of TWinControl: creating, showing and destroying its
// window, the window procedure that brings messages to the control, focus,
// keys, painting, and the lookups from a window to its control.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/forms/ControlDrag.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace {
// The window property naming a window's control.
constexpr const char* ControlProp = "SxControl";

// Set while CreateWindowEx runs: the control the new window belongs to, so
// that the messages sent during creation already reach it.
TWinControl* CreationControl = nullptr;

// The graphic control that has the mouse (its parent's window holds the
// capture); null when a window or nobody has it.
TControl* CaptureControl = nullptr;

LRESULT ControlWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

// Every program that makes a control window links this unit, so the hook is
// in place before the first window exists.
const bool FormsResetAdded = (AddWindowSystemResetHook(&ResetFormsState), true);

void RegisterControlClass(const AnsiString& Name, UINT Style) {
  WNDCLASSA Existing;
  if (GetClassInfoA(nullptr, Name.c_str(), &Existing)) return;
  WNDCLASSA C;
  C.style = Style;
  C.lpfnWndProc = &ControlWndProc;
  C.lpszClassName = Name.c_str();
  RegisterClassA(&C);
}

// What the library's controls are told of utility windows.
struct TUtilityWindow {
  TWndMethod Method;
};
}  // namespace

// The bridge the window procedure needs into the control's protected parts.
class TWinControlAccess {
public:
  static void Bind(TWinControl* C, HWND Wnd) {
    C->FHandle = Wnd;
    SetPropA(Wnd, ControlProp, C);
  }
  static void Dispatch(TWinControl* C, HWND, UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) {
    TMessage M;
    M.Msg = Msg;
    M.WParam = W;
    M.LParam = L;
    C->MainWndProc(M);
    Result = M.Result;
  }
};

namespace {
LRESULT ControlWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* C = static_cast<TWinControl*>(GetPropA(Wnd, ControlProp));
  if (!C && CreationControl) {
    C = CreationControl;
    CreationControl = nullptr;
    TWinControlAccess::Bind(C, Wnd);
  }
  if (!C) return DefWindowProcA(Wnd, Msg, W, L);
  LRESULT R = 0;
  TWinControlAccess::Dispatch(C, Wnd, Msg, W, L, R);
  return R;
}

LRESULT UtilityWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* U = static_cast<TUtilityWindow*>(GetPropA(Wnd, "SxUtility"));
  if (!U) return DefWindowProcA(Wnd, Msg, W, L);
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Wnd, "SxUtility");
    delete U;
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  TMessage M;
  M.Msg = Msg;
  M.WParam = W;
  M.LParam = L;
  try {
    U->Method(M);
  } catch (const Exception&) {
    if (Application) Application->HandleException(nullptr);
    else throw;
  }
  return M.Result;
}
}  // namespace

TWinControl* FindControl(HWND Handle) {
  if (!Handle || !IsWindow(Handle)) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Handle, ControlProp));
}

TWinControl* FindVCLWindow(TPoint Pos) {
  for (HWND W = WindowFromPoint(Pos); W; W = GetParent(W))
    if (TWinControl* C = FindControl(W)) return C;
  return nullptr;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  TWinControl* W = FindVCLWindow(Pos);
  if (!W) return nullptr;
  if (TControl* C = W->ControlAtPos(W->ScreenToClient(Pos), AllowDisabled)) return C;
  return W;
}

HWND AllocateHWnd(const TWndMethod& Method) {
  static const char* const ClassName = "TPUtilWindow";
  WNDCLASSA Existing;
  if (!GetClassInfoA(nullptr, ClassName, &Existing)) {
    WNDCLASSA C;
    C.lpfnWndProc = &UtilityWndProc;
    C.lpszClassName = ClassName;
    RegisterClassA(&C);
  }
  HWND Wnd = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                             nullptr);
  if (!Wnd) throw EOutOfResources("Error creating window");
  SetPropA(Wnd, "SxUtility", new TUtilityWindow{Method});
  return Wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (Wnd && IsWindow(Wnd)) DestroyWindow(Wnd);
}

// ---------------------------------------------------------------------------
// Capture

bool TControl::GetMouseCapture() const {
  TWinControl* Holder = FindControl(GetCapture());
  if (!Holder) return false;
  if (CaptureControl && CaptureControl->FParent == Holder) return CaptureControl == this;
  return Holder == this;
}

void TControl::SetMouseCapture(bool Value) {
  if (GetMouseCapture() == Value) return;
  if (!Value) {
    CaptureControl = nullptr;
    ReleaseCapture();
    return;
  }
  ReleaseCapture();
  CaptureControl = nullptr;
  if (auto* W = dynamic_cast<TWinControl*>(this)) {
    SetCapture(W->Handle());
    return;
  }
  if (!FParent) return;
  HWND H = FParent->Handle();
  CaptureControl = this;
  SetCapture(H);
}

void ForgetCaptureControl(TControl* Control) {
  if (CaptureControl == Control) CaptureControl = nullptr;
}

// ---------------------------------------------------------------------------
// Creating and destroying the window

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && FParentWindow && Value) {
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
  }
  FParentWindow = Value;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASSA System;
  if (!GetClassInfoA(nullptr, ControlClassName, &System))
    throw EOutOfResources(AnsiString("Window class ") + ControlClassName + " not found");
  const AnsiString Keep = Params.WinClassName;
  Params.WindowClass = System;
  Params.WindowClass.lpszClassName = nullptr;
  Params.WinClassName = Keep;
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (!Params.WndParent && (Params.Style & WS_CHILD))
    throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  RegisterControlClass(Params.WinClassName, Params.WindowClass.style);
  // A subclassed system class hears its creation messages too.
  FDefWndProc = Params.WindowClass.lpfnWndProc ? Params.WindowClass.lpfnWndProc : &DefWindowProcA;
  CreateWindowHandle(Params);
  if (!FHandle) throw EOutOfResources("Error creating window");
  UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl* Saved = CreationControl;
  CreationControl = this;
  HWND Wnd = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, nullptr,
                             Params.Param);
  CreationControl = Saved;
  // Creation may have bound the window already (messages during creation).
  if (Wnd && !FHandle) TWinControlAccess::Bind(this, Wnd);
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent) {
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
}

void TWinControl::DestroyWnd() {
  FText = WindowTextOf(FHandle);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  HWND H = FHandle;
  // Children's windows go with this one; their controls forget them first.
  for (TWinControl* W : FWinControls) W->DestroyHandle();
  // The control hears WM_DESTROY and WM_NCDESTROY (which lets go of it).
  if (H && IsWindow(H)) DestroyWindow(H);
  if (H && IsWindow(H)) RemovePropA(H, ControlProp);
  FHandle = nullptr;
  FShowing = false;
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* W : FWinControls) W->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  UpdateControlState();
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto It = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (It == FWinControls.end()) return HWND_TOP;
  // Later in the list is higher in z-order: the new window goes just below
  // the nearest higher sibling that has a window.
  for (auto Up = It + 1; Up != FWinControls.end(); ++Up)
    if ((*Up)->FHandle) return (*Up)->FHandle;
  return HWND_TOP;
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  TRect R;
  GetWindowRect(FHandle, &R);
  HWND Owner = ::GetParent(FHandle);
  if ((GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) && Owner) MapWindowPoints(nullptr, Owner, reinterpret_cast<TPoint*>(&R), 2);
  const bool Resized = R.Width() != FWidth || R.Height() != FHeight;
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
  UpdateAnchorRules();
  if (Resized) Realign();
}

void TWinControl::UpdateShowing() {
  // Called only where the parents are shown already (UpdateControlState).
  const bool Show = FVisible && !FControlState.Contains(csReadingState) && !ComponentState().Contains(csLoading);
  if (Show) {
    if (!FHandle) CreateHandle();
    for (TWinControl* W : std::vector<TWinControl*>(FWinControls)) W->UpdateShowing();
  }
  if (FHandle && FShowing != Show) {
    FShowing = Show;
    try {
      Perform(CM_SHOWINGCHANGED);
    } catch (...) {
      FShowing = !Show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  // Only a tree whose top is a form (or lives in a foreign window) shows.
  const TWinControl* Top = this;
  while (Top->FParent) {
    Top = Top->FParent;
    if (!Top->FShowing) return;
  }
  if (dynamic_cast<const TCustomForm*>(Top) || Top->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  const UINT Flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, Flags | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

// ---------------------------------------------------------------------------
// Geometry and text through the window

TRect TWinControl::GetClientRect() const {
  if (!FHandle) return TControl::GetClientRect();
  TRect R;
  ::GetClientRect(FHandle, &R);
  return R;
}

TPoint TWinControl::ClientOrigin() const {
  if (!FHandle) {
    if (!FParent) return {FLeft, FTop};
    return TControl::ClientOrigin();
  }
  TPoint P{0, 0};
  ::ClientToScreen(FHandle, &P);
  return P;
}

AnsiString TWinControl::GetTextInternal() const { return FHandle ? WindowTextOf(FHandle) : FText; }

void TWinControl::SetTextInternal(const AnsiString& Value) {
  if (FHandle) SetWindowTextA(FHandle, Value.c_str());
  else FText = Value;
}

void TWinControl::SetZOrder(bool TopMost) {
  inherited::SetZOrder(TopMost);
  if (FHandle) {
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// ---------------------------------------------------------------------------
// Messages

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    if (WindowProc.Assigned()) WindowProc(Message);
    else WndProc(Message);
  } catch (const Exception&) {
    if (!Application) throw;
    Application->HandleException(this);
  }
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* Control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (CaptureControl && CaptureControl->FParent == this) Control = CaptureControl;
  } else {
    Control = ControlAtPos({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}, false);
  }
  if (!Control) return false;
  const Integer X = GET_X_LPARAM(Message.LParam) - Control->FLeft;
  const Integer Y = GET_Y_LPARAM(Message.LParam) - Control->FTop;
  Message.Result = Control->Perform(Message.Msg, Message.WParam, MAKELPARAM(X, Y));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* Form = GetParentForm(this))
        if (!Form->ComponentState().Contains(csDestroying) && !Form->SetFocusedControl(this)) return;
      break;
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      inherited::WndProc(Message);
      if (Message.Result == HTTRANSPARENT &&
          ControlAtPos(ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}), false))
        Message.Result = HTCLIENT;
      return;
    case WM_CANCELMODE:
      if (FHandle && GetCapture() == FHandle && CaptureControl && CaptureControl->FParent == this)
        CaptureControl->Perform(WM_CANCELMODE);
      break;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
          IsControlMouseMsg(Message)) {
        if (Message.Result == 0 && FHandle) DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  inherited::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    inherited::DefaultHandler(Message);
    return;
  }
  // Colour messages from a child go back to it (it knows its colours).
  if (Message.Msg >= WM_CTLCOLORMSGBOX && Message.Msg <= WM_CTLCOLORSTATIC) {
    Message.Result = SendMessageA(reinterpret_cast<HWND>(Message.LParam), CN_BASE + Message.Msg, Message.WParam,
                                  Message.LParam);
    return;
  }
  Message.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : &DefWindowProcA, FHandle, Message.Msg,
                                   Message.WParam, Message.LParam);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  // The frame may have changed (border style): the client area with it.
  DefaultHandler(Message);
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMSetCursor(TMessage& Message) {
  if (LOWORD(std::uintptr_t(Message.LParam)) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
    TCursor Cursor = Screen ? Screen->GetCursor() : crDefault;
    if (Cursor == crDefault) {
      TPoint P;
      GetCursorPos(&P);
      TControl* C = ControlAtPos(ScreenToClient(P), false);
      Cursor = C ? C->GetCursor() : FCursor;
    }
    if (Cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(Cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::CMCursorChanged(TMessage&) {
  TPoint P;
  if (FHandle && GetCursorPos(&P) && WindowFromPoint(P) == FHandle)
    SendMessageA(FHandle, WM_SETCURSOR, WPARAM(FHandle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TWinControl::CMTextChanged(TMessage&) {}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  // The window is going without DestroyHandle (the parent window went):
  // forget it so it is made anew when needed.
  if (FHandle) RemovePropA(FHandle, ControlProp);
  FHandle = nullptr;
  FShowing = false;
}

// ---------------------------------------------------------------------------
// Keys

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown.Assigned()) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp.Assigned()) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress.Assigned()) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->GetKeyPreview() && Form->DoKeyDown(Message)) return true;
  Word Key = Word(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyDown(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->GetKeyPreview() && Form->DoKeyUp(Message)) return true;
  Word Key = Word(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyUp(Key, KeyDataToShiftState(Message.LParam));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form != this && Form->GetKeyPreview() && Form->DoKeyPress(Message)) return true;
  char Ch = char(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyPress(Ch);
    Message.WParam = static_cast<unsigned char>(Ch);
    if (Ch == 0) return true;
  }
  return false;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// The application hands key-downs here before they are dispatched; a result
// of 1 means handled (the key message is dropped). OnKeyDown runs later,
// when WM_KEYDOWN itself arrives.
void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, LPARAM(this)) != 0) return;
  const Word Key = Word(Message.WParam);
  UINT Mask = 0;
  switch (Key) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Key) == 0 && (Perform(WM_GETDLGCODE) & Mask) == 0) {
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->Perform(CM_DIALOGKEY, Key, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

// A shortcut of a popup menu of this control or a parent, else of the
// form (its main menu and actions) takes the key before the control does.
bool TWinControl::IsMenuKey(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return false;
  for (TControl* C = this; C; C = C->GetParent())
    if (TPopupMenu* P = C->GetPopupMenu(); P && P->IsShortCut(Message)) return true;
  TCustomForm* Form = GetParentForm(this);
  return Form && Form->Perform(CM_ISSHORTCUT, Message.WParam, Message.LParam) != 0;
}

// Alt+letter: the form offers it to the controls as an accelerator.
void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  if (TCustomForm* Form = GetParentForm(this))
    if (Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  // Alt-less characters go to the form's dialog-character handling only
  // when the control does not want them.
  if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0)
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  Message.Result = 0;
}

// ---------------------------------------------------------------------------
// Painting

void TWinControl::PaintWindow(HDC DC) {
  TMessage M;
  M.Msg = WM_PAINT;
  M.WParam = WPARAM(DC);
  DefaultHandler(M);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto It = First ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
  for (; It != FControls.end(); ++It) {
    TControl* C = *It;
    if (!C->FVisible) continue;
    const TRect R = C->BoundsRect();
    if (!RectVisible(DC, &R)) continue;
    const int Saved = SaveDC(DC);
    TPoint Old;
    OffsetWindowOrgEx(DC, -C->FLeft, -C->FTop, &Old);
    IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
    C->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, Saved);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT PS;
  if (!DC) DC = BeginPaint(FHandle, &PS);
  try {
    if (FControls.empty()) {
      PaintWindow(DC);
    } else {
      // Opaque graphic children cover part of the window: skip it.
      const int Saved = SaveDC(DC);
      int Clip = SIMPLEREGION;
      for (TControl* C : FControls)
        if (C->FVisible && C->FControlStyle.Contains(csOpaque)) {
          Clip = ExcludeClipRect(DC, C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight);
          if (Clip == NULLREGION) break;
        }
      if (Clip != NULLREGION) PaintWindow(DC);
      RestoreDC(DC, Saved);
    }
    PaintControls(DC, nullptr);
  } catch (...) {
    if (!Message.WParam) EndPaint(FHandle, &PS);
    throw;
  }
  if (!Message.WParam) EndPaint(FHandle, &PS);
}

void TWinControl::WMPaint(TMessage& Message) {
  if (FDoubleBuffered && !Message.WParam) {
    // Into a memory bitmap, then onto the window in one copy.
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(FHandle, &PS);
    TRect R;
    ::GetClientRect(FHandle, &R);
    HDC MemDC = CreateCompatibleDC(DC);
    HBITMAP Bmp = CreateCompatibleBitmap(DC, std::max(1, R.Right), std::max(1, R.Bottom));
    HGDIOBJ Old = SelectObject(MemDC, Bmp);
    try {
      Perform(WM_ERASEBKGND, WPARAM(MemDC), LPARAM(MemDC));
      TMessage M;
      M.Msg = WM_PAINT;
      M.WParam = WPARAM(MemDC);
      WMPaint(M);
      BitBlt(DC, 0, 0, R.Right, R.Bottom, MemDC, 0, 0, SRCCOPY);
    } catch (...) {
      SelectObject(MemDC, Old);
      DeleteObject(Bmp);
      DeleteDC(MemDC);
      EndPaint(FHandle, &PS);
      throw;
    }
    SelectObject(MemDC, Old);
    DeleteObject(Bmp);
    DeleteDC(MemDC);
    EndPaint(FHandle, &PS);
    return;
  }
  if (!FControlState.Contains(csCustomPaint) && FControls.empty() && !dynamic_cast<TCustomControl*>(this))
    DefaultHandler(Message);
  else
    PaintHandler(Message);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  // A double-buffered control erases only into its memory bitmap.
  if (FDoubleBuffered && WPARAM(Message.LParam) != Message.WParam) {
    Message.Result = 1;
    return;
  }
  HBRUSH Brush = CreateSolidBrush(ColorToRGB(FColor));
  TRect R = GetClientRect();
  FillRect(DC, &R, Brush);
  DeleteObject(Brush);
  Message.Result = 1;
}

void TWinControl::PaintTo(HDC DC, Integer X, Integer Y) {
  // Each window paints itself through WM_PRINT at its own offset.
  HandleNeeded();
  const int Saved = SaveDC(DC);
  TPoint Old;
  OffsetWindowOrgEx(DC, -X, -Y, &Old);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  SendMessageA(FHandle, WM_ERASEBKGND, WPARAM(DC), 0);
  TMessage M;
  M.Msg = WM_PAINT;
  M.WParam = WPARAM(DC);
  PaintHandler(M);
  RestoreDC(DC, Saved);
  for (TWinControl* W : FWinControls)
    if (W->FVisible) W->PaintTo(DC, X + W->FLeft, Y + W->FTop);
}

void TControl::PaintTo(HDC DC, Integer X, Integer Y) {
  const int Saved = SaveDC(DC);
  TPoint Old;
  OffsetWindowOrgEx(DC, -X, -Y, &Old);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  Perform(WM_PAINT, WPARAM(DC), 0);
  RestoreDC(DC, Saved);
}

// ---------------------------------------------------------------------------
// Canvases

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::FreeHandle() {
  if (!FDC) return;
  SetHandle(nullptr);
  ReleaseDC(FWnd, FDC);
  FDC = nullptr;
  FWnd = nullptr;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (auto* W = dynamic_cast<TWinControl*>(FControl)) {
    FWnd = W->Handle();
    FDC = GetDC(FWnd);
  } else {
    TWinControl* P = FControl->GetParent();
    if (!P) return;
    FWnd = P->Handle();
    FDC = GetDC(FWnd);
    const TRect R = FControl->BoundsRect();
    IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom);
    SetWindowOrgEx(FDC, -R.Left, -R.Top, nullptr);
  }
  SetHandle(FDC);
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas->SetControl(nullptr); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam != 0 && !ComponentState().Contains(csDestroying)) {
    FCanvas->FreeHandle();
    FCanvas->Lock();
    try {
      FCanvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
      Paint();
    } catch (...) {
      FCanvas->SetHandle(nullptr);
      FCanvas->Unlock();
      throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    return;
  }
  inherited::Dispatch(Message);
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
  FCanvas->SetControl(nullptr);
  // The window goes while the canvas and Paint's class still exist.
  DestroyHandle();
}

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  try {
    FCanvas->SetHandle(DC);
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void ResetFormsState() {
  ResetDragState();
  CaptureControl = nullptr;
  CreationControl = nullptr;
}
