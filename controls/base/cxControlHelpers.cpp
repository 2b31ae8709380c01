#include "controls/base/cxControlHelpers.h"

#include <algorithm>
#include <memory>
#include <vector>
#include "controls/base/cxGraphics.h"
#include "controls/base/cxTimer.h"
#include "platform/forms/ControlMessages.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Mouse.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

// --- settings controller ---

class TcxSettingsController::TTarget : public TObject {
public:
  void WndProc(TMessage& Message) { TcxSettingsController::Instance().WndProc(Message); }
};

TcxSettingsController& TcxSettingsController::Instance() {
  static TcxSettingsController C;
  return C;
}

void TcxSettingsController::Add(TWinControl* AControl) {
  if (Contains(AControl)) return;
  FControls.push_back(AControl);
  if (!FHandle || !IsWindow(FHandle)) {
    static TTarget Target;
    FHandle = AllocateHWnd(TWndMethod(&Target, &TTarget::WndProc));
  }
}

void TcxSettingsController::Remove(TWinControl* AControl) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  if (FControls.empty() && FHandle) {
    if (IsWindow(FHandle)) DeallocateHWnd(FHandle);
    FHandle = nullptr;
  }
}

bool TcxSettingsController::Contains(TWinControl* AControl) const {
  return std::find(FControls.begin(), FControls.end(), AControl) != FControls.end();
}

void TcxSettingsController::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETTINGCHANGE && Message.WParam == SPI_SETNONCLIENTMETRICS) {
    for (TWinControl* C : std::vector<TWinControl*>(FControls))
      if (C->HandleAllocated()) SendNotifyMessageA(C->Handle(), CM_SCROLLBARMETRICSCHANGED, 0, 0);
    Message.Result = 0;
  } else
    Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// --- mouse-leave watch ---

namespace {
class TMouseTrackingTimer : public TcxTimer {
public:
  TWinControl* Control = nullptr;
  TRect Bounds;
  IcxMouseTrackingCaller* Caller = nullptr;
  void Tick(TObject*);
};

std::vector<std::unique_ptr<TMouseTrackingTimer>>& Watches() {
  static std::vector<std::unique_ptr<TMouseTrackingTimer>> W;
  return W;
}

// Shutdown: what is still watched goes quietly.
struct TWatchesAtExit {
  ~TWatchesAtExit() { StopAllMouseLeaveWatches(); }
} WatchesAtExit;

void TMouseTrackingTimer::Tick(TObject*) {
  TPoint P;
  GetCursorPos(&P);
  bool Inside;
  if (auto* Area = dynamic_cast<IcxMouseTrackingArea*>(Caller)) {
    Inside = false;
    if (Control && Control->HandleAllocated()) {
      TPoint C = P;
      ScreenToClient(Control->Handle(), &C);
      Inside = Area->ContainsPoint(C);
    }
  } else
    Inside = Bounds.Contains(P);
  if (Inside) return;
  IcxMouseTrackingCaller* C = Caller;  // held for the tick: the stop frees this timer
  if (Control && Control->HandleAllocated()) {
    TPoint Client = P;
    ScreenToClient(Control->Handle(), &Client);
    if (!Control->GetClientRect().Contains(Client))
      SendMessageA(Control->Handle(), CM_MOUSELEAVE, 0, LPARAM(Control));
  }
  C->NotifyMouseLeft();
  StopMouseLeaveWatch(C);
}
}  // namespace

void StartMouseLeaveWatch(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller) {
  if (!ACaller || IsMouseLeaveWatched(ACaller)) return;
  auto T = std::make_unique<TMouseTrackingTimer>();
  T->Control = AControl;
  T->Bounds = ABounds;
  if (AControl && AControl->HandleAllocated()) MapRectBetweenWindows(AControl->Handle(), nullptr, T->Bounds);
  T->Caller = ACaller;
  T->SetInterval(10);
  T->SetOnTimer(TNotifyEvent(T.get(), &TMouseTrackingTimer::Tick));
  Watches().push_back(std::move(T));
}

void StopMouseLeaveWatch(IcxMouseTrackingCaller* ACaller) {
  auto& W = Watches();
  auto It = std::find_if(W.begin(), W.end(), [ACaller](const auto& T) { return T->Caller == ACaller; });
  if (It == W.end()) return;
  // Freed after leaving the list, so a caller told of it cannot find it.
  std::unique_ptr<TMouseTrackingTimer> Gone = std::move(*It);
  W.erase(It);
}

bool IsMouseLeaveWatched(IcxMouseTrackingCaller* ACaller) {
  const auto& W = Watches();
  return std::any_of(W.begin(), W.end(), [ACaller](const auto& T) { return T->Caller == ACaller; });
}

void StopAllMouseLeaveWatches() { Watches().clear(); }

// --- drag detection ---

int DetectDrag(HWND AWnd) {
  TPoint P0;
  GetCursorPos(&P0);
  const int T = Mouse->DragThreshold;
  const TRect Square{P0.X - T, P0.Y - T, P0.X + T, P0.Y + T};
  SetCapture(AWnd);
  int Result = 2;
  MSG Msg;
  while (GetCapture() == AWnd) {
    const BOOL Got = GetMessageA(&Msg, nullptr, 0, 0);
    if (Got == -1) break;
    if (Got == 0) {
      PostQuitMessage(int(Msg.wParam));
      break;
    }
    bool Done = false;
    if ((Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP) && Msg.wParam == VK_ESCAPE) {
      Result = 2;
      Done = true;
    } else if (Msg.message == WM_MOUSEMOVE && Msg.hwnd == AWnd) {
      TPoint P{short(LOWORD(Msg.lParam)), short(HIWORD(Msg.lParam))};
      ClientToScreen(AWnd, &P);
      if (!Square.Contains(P)) {
        Result = 1;
        Done = true;
      }
    } else if (Msg.message == WM_LBUTTONUP || Msg.message == WM_RBUTTONUP || Msg.message == WM_MBUTTONUP) {
      Result = 0;
      Done = true;
    }
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
    if (Done) break;
  }
  if (GetCapture() == AWnd) ReleaseCapture();
  return Result;
}

void GetMonitorWorkArea(TPoint P, TRect& R) {
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (HMONITOR M = MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST); M && GetMonitorInfoA(M, &Info))
    R = Info.rcWork;
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &R, 0);
}

bool IsParentHandleAllocated(TControl* AControl) {
  for (TWinControl* P = AControl ? AControl->GetParent() : nullptr; P; P = P->GetParent())
    if (P->HandleAllocated()) return true;
  return false;
}

bool IsChildStyleWindow(HWND AWnd) { return (GetWindowLongA(AWnd, GWL_STYLE) & WS_CHILD) != 0; }
unsigned GetDoubleClickInterval() { return GetDoubleClickTime(); }

bool IsNumericChar(char Ch, int AKind) {
  if ((Ch >= '0' && Ch <= '9') || Ch == '+' || Ch == '-') return true;
  if ((AKind == 1 || AKind == 2) && Ch == FormatSettings().DecimalSeparator) return true;
  return AKind == 2 && (Ch == 'e' || Ch == 'E');
}

bool IsTextChar(char Ch) { return static_cast<unsigned char>(Ch) >= 32; }

AnsiString StripAccelChars(const AnsiString& AText) {
  AnsiString R;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] != '&')
      R += AText[i];
    else if (i + 1 < AText.size())
      R += AText[++i];
    else
      R += '_';
  }
  return R;
}

Word TranslateKey(Word AKey) { return AKey; }

bool IsWithinDragThreshold(TPoint AMouseDownPos, int X, int Y) {
  return std::abs(X - AMouseDownPos.X) < Mouse->DragThreshold && std::abs(Y - AMouseDownPos.Y) < Mouse->DragThreshold;
}

void MapPointBetweenWindows(HWND AFrom, HWND ATo, TPoint& P) { MapWindowPoints(AFrom, ATo, &P, 1); }

void MapRectBetweenWindows(HWND AFrom, HWND ATo, TRect& R) {
  TPoint P[2] = {R.TopLeft(), R.BottomRight()};
  MapWindowPoints(AFrom, ATo, P, 2);
  R = {P[0], P[1]};
}

bool IsCtrlPressed() { return GetAsyncKeyState(VK_CONTROL) < 0; }

namespace {
const char* const ControlCursorNames[] = {
    "CX_DRAGCOPYCURSOR", "CX_FULLSCROLLCURSOR", "CX_HORSCROLLCURSOR", "CX_VERSCROLLCURSOR", "CX_UPSCROLLCURSOR",
    "CX_RIGHTSCROLLCURSOR", "CX_DOWNSCROLLCURSOR", "CX_LEFTSCROLLCURSOR", "CX_REMOVECURSOR", "CX_VERTSIZECURSOR",
    "CX_HORZSIZECURSOR", "CX_MULTIDRAGCURSOR", "CX_NODROPCURSOR", "CX_DRAGCURSOR"};
}  // namespace

const char* ControlCursorResourceName(int ACursor) {
  return (ACursor >= crcxDragCopy && ACursor <= crcxDrag) ? ControlCursorNames[ACursor - crcxDragCopy] : "";
}

void RegisterControlCursors() {
  if (!Screen) return;
  for (int Id = crcxDragCopy; Id <= crcxDrag; ++Id)
    if (HCURSOR C = LoadCursorA(ProgramInstance(), ControlCursorResourceName(Id))) Screen->SetCursors(Id, C);
  Screen->SetCursors(crcxHandPoint, LoadCursorA(nullptr, IDC_HAND));
}

// ---------------------------------------------------------------------------
// Popup menus

bool PopupMenuAtPos(TWinControl* AControl, TComponent* AMenu, Integer X, Integer Y) {
  if (!AMenu) return false;
  if (auto* Provider = dynamic_cast<IcxPopupMenuProvider*>(AMenu)) {
    Provider->Popup(X, Y);
    return true;
  }
  if (auto* Menu = dynamic_cast<TPopupMenu*>(AMenu); Menu && Menu->AutoPopup) {
    Menu->PopupComponent = AControl;
    Menu->Popup(X, Y);
    return true;
  }
  return false;
}

bool IsPopupMenuShortCutKey(TComponent* AMenu, TMessage& Message) {
  if (!AMenu) return false;
  if (auto* Provider = dynamic_cast<IcxPopupMenuProvider*>(AMenu)) return Provider->IsShortCut(Message);
  if (auto* Menu = dynamic_cast<TPopupMenu*>(AMenu); Menu && Menu->WindowHandle()) return Menu->IsShortCut(Message);
  return false;
}

// Measured the way the menu window lays its items out: text items on the
// menu font, separators at half a menu-bar height, items drawn by their
// owner (an owner-drawn menu, images, a bitmap) at the height their
// MeasureItem gives, and the frame above and below.
Integer CalcPopupMenuHeight(TPopupMenu* AMenu) {
  constexpr Integer FrameHeight = 4;
  if (!AMenu) return FrameHeight;
  TcxScreenCanvas Measure;
  TCanvas& Canvas = *Measure.Canvas();
  if (::Screen) Canvas.SetFont(::Screen->MenuFont());
  const Integer Default = std::max<Integer>(Canvas.TextHeight("Qg") + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
  Integer Total = FrameHeight;
  TMenuItem* Items = AMenu->Items();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TMenuItem* Item = Items->Items(I);
    if (!Item->GetVisible()) continue;
    Integer Height = Default;
    if (Item->IsOwnerDraw()) {
      Integer Width = 0;
      Item->MeasureItem(&Canvas, Width, Height);
      Height = std::max<Integer>(Height, 1);
    } else if (Item->IsLine()) {
      Height = GetSystemMetrics(SM_CYMENU) / 2;
    }
    Total += Height;
  }
  return Total;
}
