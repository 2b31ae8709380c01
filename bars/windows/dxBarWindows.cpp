// dxBarWindows.cpp — bar windows: the base that shows one link collection
// (selection, the chain of windows in menu mode, mouse and keyboard
// routing), toolbars docked or floating, and sub-menus.
#include "bars/windows/dxBarWindows.h"

#include <algorithm>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCustomizingHooks.h"
#include "controls/base/cxClasses.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Canvas.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Paint.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/win/Timers.h"
#include <random>
#include "bars/drawing/dxBarDrawing.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------
// Live windows and the chain of windows in menu mode

namespace {
std::vector<TCustomdxBarControl*>& LiveBars() {
  static std::vector<TCustomdxBarControl*> List;
  return List;
}
TCustomdxBarControl* GActiveHead = nullptr;

TPoint PointOf(const TMessage& M) { return {short(M.LParamLo()), short(M.LParamHi())}; }
}  // namespace

bool IsLiveBarControl(const TCustomdxBarControl* ABar) {
  if (!ABar) return false;
  const auto& L = LiveBars();
  return std::find(L.begin(), L.end(), ABar) != L.end();
}

TCustomdxBarControl* GetActiveBarControl() { return GActiveHead; }

bool dxBarIsOpenBarWindow(HWND Wnd) {
  for (TCustomdxBarControl* B = GActiveHead; B; B = B->ParentBar())
    if (B->HandleAllocated() && (B->Handle() == Wnd || IsChild(B->Handle(), Wnd))) return true;
  return false;
}

// ---------------------------------------------------------------------------
// TCustomdxBarControl

TCustomdxBarControl::TCustomdxBarControl(TdxBarManager* AManager)
    : TCustomControl(AManager), FBarManager(AManager), FPaint(std::make_unique<TdxBarWindowPaint>(this)) {
  LiveBars().push_back(this);
  TControlStyle S = ControlStyle();
  S.Exclude(csCaptureMouse);
  S.Include(csDoubleClicks);
  SetControlStyle(S);
  SetColor(clBtnFace);
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
}

TCustomdxBarControl::~TCustomdxBarControl() {
  Destroying();
  if (FActive) TCustomdxBarControl::SetActive(false);
  if (GActiveHead == this) GActiveHead = nullptr;
  for (TCustomdxBarControl* B : LiveBars()) {
    if (B->FPrevActive == this) B->FPrevActive = FPrevActive;
    if (B->FChildBar == this) B->FChildBar = nullptr;
    if (B->FParentBar == this) B->FParentBar = nullptr;
    if (B->FOwnerBar == this) B->FOwnerBar = nullptr;
  }
  dxBarHintBarDestroyed(this);
  std::erase(LiveBars(), this);
  if (FItemLinks && FItemLinks->BarControl() == this) FItemLinks->SetBarControl(nullptr);
  DestroyControls();
  FSelectedControl = nullptr;
}

void TCustomdxBarControl::SetItemLinks(TdxBarItemLinks* Value) {
  if (FItemLinks == Value) return;
  if (FItemLinks) {
    DestroyControls();
    if (FItemLinks->BarControl() == this) FItemLinks->SetBarControl(nullptr);
  }
  FItemLinks = Value;
  if (FItemLinks) {
    FItemLinks->DestroyBarControl();
    FItemLinks->SetBarControl(this);
    FItemLinks->RebuildLists();
  }
}

TdxBarItemControlPainterClass TCustomdxBarControl::GetPainter() const {
  return dxBarPainterOf(FBarManager);
}

const TdxBarPaintWindow& TCustomdxBarControl::PaintWindow() const { return *FPaint; }

bool TCustomdxBarControl::IsCustomizing() const { return FBarManager && FBarManager->IsCustomizing(); }

Integer TCustomdxBarControl::ButtonSize() const { return 23; }

void TCustomdxBarControl::CreateControls() {
  if (!FItemLinks) return;
  // Controls of links no longer shown go; every shown link gets one.
  for (Integer I = 0; I < FItemLinks->Count(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetItem(I);
    if (L && L->Control() && L->GetShownIndex() < 0) {
      if (FSelectedControl == L->Control()) FSelectedControl = nullptr;
      if (FPressedControl == L->Control()) FPressedControl = nullptr;
      L->DestroyControl();
    }
  }
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (!L->Control()) L->SetControl(dxBarCreateItemControl(L));
  }
}

void TCustomdxBarControl::DestroyControls() {
  if (!FItemLinks) return;
  const bool Was = FLocked;
  FLocked = true;
  for (Integer I = 0; I < FItemLinks->Count(); ++I)
    if (TdxBarItemLink* L = FItemLinks->GetItem(I)) {
      if (L->Control() == FSelectedControl) FSelectedControl = nullptr;
      if (L->Control() == FPressedControl) FPressedControl = nullptr;
      L->DestroyControl();
    }
  FLocked = Was;
}

void TCustomdxBarControl::ForgetControl(TdxBarItemControl* AControl) {
  if (FSelectedControl == AControl) FSelectedControl = nullptr;
  if (FPressedControl == AControl) FPressedControl = nullptr;
}

void TCustomdxBarControl::CalcDrawingConsts() {
  TSize S = Canvas()->TextExtent("0");
  FTextSize = S.cy + 6;
  FIndent = std::max<Integer>(4, FTextSize / 5);
  FEditHeight = S.cy + 7;
  FComboButtonWidth = 11;
}

void TCustomdxBarControl::CreateWnd() {
  TCustomControl::CreateWnd();
  Canvas()->SetFont(dxBarMenuFont(FBarManager));
  CalcDrawingConsts();
}

void TCustomdxBarControl::CreateWindowHandle(const TCreateParams& Params) {
  TCustomControl::CreateWindowHandle(Params);
  CreateControls();
}

void TCustomdxBarControl::DestroyWindowHandle() {
  if (HandleAllocated() && FItemLinks)
    for (Integer I = 0; I < FItemLinks->Count(); ++I)
      if (TdxBarItemLink* L = FItemLinks->GetItem(I))
        if (L->Control()) L->Control()->BarWindowDestroying();
  if (FTrackingLeave) FTrackingLeave = false;
  TCustomControl::DestroyWindowHandle();
}

void TCustomdxBarControl::Recalculate() {
  if (ComponentState().Contains(csDestroying)) return;
  CreateControls();
  CalcLayout();
  if (HandleAllocated()) Invalidate();
}

void TCustomdxBarControl::RecalculateLater() {
  if (ComponentState().Contains(csDestroying) || FRecalcPosted) return;
  if (!HandleAllocated()) return;
  FRecalcPosted = true;
  PostMessageA(Handle(), WM_DXBAR_RECALCULATE, 0, 0);
}

TCustomdxBarControl* TCustomdxBarControl::RootBar() {
  TCustomdxBarControl* B = this;
  while (B->FParentBar) B = B->FParentBar;
  return B;
}

bool TCustomdxBarControl::IsParentOf(TCustomdxBarControl* ABar) const {
  for (TCustomdxBarControl* B = ABar ? ABar->FParentBar : nullptr; B; B = B->FParentBar)
    if (B == this) return true;
  return false;
}

TdxBarItemControl* TCustomdxBarControl::GetControlAtPos(TPoint P) const {
  if (!FItemLinks) return nullptr;
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (L->Control() && PtInRect(&L->GetItemRect(), P)) return L->Control();
  }
  return nullptr;
}

bool TCustomdxBarControl::HasControl(TdxBarItemControl* AControl) const {
  if (!AControl || !FItemLinks) return false;
  for (Integer I = 0; I < FItemLinks->Count(); ++I)
    if (FItemLinks->GetItem(I) && FItemLinks->GetItem(I)->Control() == AControl) return true;
  return false;
}

TRect TCustomdxBarControl::GetLinkRect(TdxBarItemControl* AControl) const {
  if (!AControl || !AControl->ItemLink()) return {};
  return AControl->ItemLink()->GetItemRect();
}

TRect TCustomdxBarControl::GetScreenLinkRect(TdxBarItemControl* AControl) {
  TRect R = GetLinkRect(AControl);
  TPoint A = ClientToScreen({R.Left, R.Top}), B = ClientToScreen({R.Right, R.Bottom});
  return {A.X, A.Y, B.X, B.Y};
}

bool TCustomdxBarControl::SendKeyToSelected(WORD Key) {
  TdxBarItemControl* C = FSelectedControl;
  if (!C || !C->GetEnabled() || !C->WantsKey(Key)) return false;
  C->KeyDown(Key);
  return true;
}

TdxBarItemControl* TCustomdxBarControl::NextSelectable(TdxBarItemControl* AFrom, bool Forward) const {
  if (!FItemLinks || FItemLinks->GetShownCount() == 0) return nullptr;
  const Integer N = FItemLinks->GetShownCount();
  Integer Start = AFrom && AFrom->ItemLink() ? AFrom->ItemLink()->GetShownIndex() : (Forward ? -1 : N);
  for (Integer K = 1; K <= N; ++K) {
    Integer I = ((Start + (Forward ? K : -K)) % N + N) % N;
    TdxBarItemControl* C = FItemLinks->GetShownLink(I)->Control();
    if (C && C->CanSelect()) return C;
  }
  return nullptr;
}

TdxBarItemControl* TCustomdxBarControl::FirstSelectable() const { return NextSelectable(nullptr, true); }

void TCustomdxBarControl::DrawItem(TdxBarItemControl* AControl) {
  if (!HandleAllocated() || FLocked || !AControl) return;
  TRect R = GetLinkRect(AControl);
  InvalidateRect(Handle(), &R, FALSE);
}

void TCustomdxBarControl::FillItemBackground(const TRect& R) {
  FPaint->PaintBackground(Canvas()->GetHandle(), R, FPaint->CurrentBrush());
}

void TCustomdxBarControl::Paint() {
  if (FLocked) return;
  if (PaintAnimationStep()) return;
  const HDC DC = Canvas()->GetHandle();
  // Everything is drawn straight on the DC with the bar font selected: the
  // font the controls were measured with.
  TSaveDcGuard State(DC);
  if (HFONT F = FPaint->Font()) SelectObject(DC, F);
  FillItemBackground(GetClientRect());
  PaintFrame();
  if (!FItemLinks) return;
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (!L->Control() || IsRectEmpty(&L->GetItemRect())) continue;
    L->Control()->Draw(Canvas(), L->GetItemRect(), PaintType());
  }
}

void TCustomdxBarControl::SetActive(bool Value) {
  dxBarUpdateHint(FBarManager, false, "");
  if (FActive == Value) return;
  if (Value) {
    FPrevActive = GActiveHead;
    GActiveHead = this;
    FActive = true;
  } else {
    if (IsCustomizing()) FSelectedControl = nullptr;
    else SelectControl(nullptr);
    FActive = false;
    if (GActiveHead == this) {
      GActiveHead = FPrevActive;
      if (GActiveHead && (!IsLiveBarControl(GActiveHead) || !GActiveHead->FActive)) GActiveHead = nullptr;
    }
    FPrevActive = nullptr;
  }
}

void TCustomdxBarControl::SetSelectedControl(TdxBarItemControl* AControl) {
  if (FSelectedControl == AControl) return;
  TdxBarItemControl* Old = FSelectedControl;
  FSelectedControl = AControl;
  SelectionChanged(Old);
  GetCursorPos(&FLastCursorPos);
  if (AControl) dxBarSetHintBar(this);
  dxBarUpdateHint(FBarManager, AControl != nullptr, "");
  AnsiString H;
  if (AControl && (AControl->GetEnabled() || (FBarManager && FBarManager->GetShowHintForDisabledItems()))) {
    H = AControl->GetHint();
    std::size_t Bar = H.find('|');
    if (Bar != AnsiString::npos) H = H.substr(Bar + 1);
  }
  SetHint(H);
  // Status bars follow the selection of a context menu.
  if (TCustomdxBarControl* Root = RootBar(); Root && Root->IsPopup() && Application) Application->SetHint(H);
}

void TCustomdxBarControl::SelectionChanged(TdxBarItemControl* OldControl) {
  if (OldControl && HasControl(OldControl)) DrawItem(OldControl);
  if (FSelectedControl) DrawItem(FSelectedControl);
}

void TCustomdxBarControl::SelectControl(TdxBarItemControl* AControl) {
  if (FSelectedControl == AControl) return;
  if (TdxBarItemControl* Old = FSelectedControl) {
    if (Old->GetActive()) {
      Old->Deactivate(true);
      if (!IsLiveBarControl(this)) return;
    }
  }
  if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(AControl)) Sub->AnimateNextDropDown = false;
  if (AControl) AControl->SetSelectedByMouse(false);
  SetSelectedControl(AControl);
}

void TCustomdxBarControl::HotTrackControl(TdxBarItemControl* AControl) {
  if (!HandleAllocated() || FSelectedControl == AControl) return;
  if (auto* W = dynamic_cast<TdxBarWinControl*>(FSelectedControl); W && W->Editing()) return;
  if (FSelectedControl && FSelectedControl->GetActive() && !dynamic_cast<TdxBarSubItemControl*>(FSelectedControl)) {
    FSelectedControl->Deactivate(false);
    if (!IsLiveBarControl(this)) return;
  }
  TdxBarItemControl* Old = FSelectedControl;
  if (AControl) AControl->SetSelectedByMouse(true);
  SetSelectedControl(AControl);
  if (!IsLiveBarControl(this)) return;
  if (Old && Old->GetActive() && dynamic_cast<TdxBarSubItemControl*>(Old) && HasControl(Old)) {
    Old->Deactivate(false);
    if (!IsLiveBarControl(this)) return;
  }
  if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(AControl)) {
    Sub->AnimateNextDropDown = true;
    Sub->Activate(false);
  }
}

void TCustomdxBarControl::HideAll() {
  TCustomdxBarControl* Parent = FParentBar;
  SetActive(false);
  if (IsLiveBarControl(this) && IsLiveBarControl(Parent)) Parent->HideAll();
}

void TCustomdxBarControl::MouseLeft() {
  FTrackingLeave = false;
  FLastCursorPos = {-1, -1};
  if (!FActive) HotTrackControl(nullptr);
  else if (IsPopup() && FSelectedControl && !FSelectedControl->HasSubMenu()) HotTrackControl(nullptr);
}

void TCustomdxBarControl::LButtonDblClk(TPoint ClientPt) {
  TdxBarItemControl* C = GetControlAtPos(ClientPt);
  if (!C || !C->GetEnabled()) return;
  // The second press of a double click on an edit item starts typing
  // again, as a single press would.
  if (C->IsWindowControl()) {
    if (FSelectedControl != C) {
      if (FActive || IsPopup()) SelectControl(C);
      else SetSelectedControl(C);
      if (!IsLiveBarControl(this)) return;
    }
    C->BeforeClick(true);
    return;
  }
  C->PerformClick(true);
}

void TCustomdxBarControl::KeyDownMsg(WORD Key) {
  if (SendKeyToSelected(Key)) return;
  const bool Vertical = IsVertical();
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
      if (Vertical) SelectControl(NextSelectable(FSelectedControl, Key == VK_DOWN));
      return;
    case VK_LEFT:
    case VK_RIGHT:
      if (!Vertical) SelectControl(NextSelectable(FSelectedControl, Key == VK_RIGHT));
      return;
    case VK_TAB:
      SelectControl(NextSelectable(FSelectedControl, GetKeyState(VK_SHIFT) >= 0));
      return;
    case VK_HOME:
      SelectControl(NextSelectable(nullptr, true));
      return;
    case VK_END:
      SelectControl(NextSelectable(nullptr, false));
      return;
    case VK_RETURN:
      if (FSelectedControl) FSelectedControl->Click(false);
      return;
    default:
      break;
  }
  // An accelerator: a unique one acts at once, shared ones only select.
  char Ch = 0;
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) Ch = char(Key);
  if (!Ch || !FItemLinks) return;
  TdxBarItemLink* First = FItemLinks->FindAccelerator(Ch);
  if (!First) return;
  // Repeated presses of a shared accelerator walk through its entries.
  TdxBarItemLink* L = First;
  TdxBarItemLink* From = FSelectedControl ? FSelectedControl->ItemLink() : nullptr;
  if (From && FSelectedControl->Accelerator() == Ch) L = From->NextWithSameAccelerator();
  if (!L || !L->Control() || !L->Control()->CanSelect()) return;
  TdxBarItemControl* C = L->Control();
  const bool Unique = First->NextWithSameAccelerator() == First;
  SelectControl(C);
  if (Unique && IsLiveBarControl(this) && HasControl(C)) C->Click(false);
}

namespace {
TdxBarCustomizeMouseHook GCustomizeMouseHook = nullptr;
}  // namespace

void dxBarSetCustomizeMouseHook(TdxBarCustomizeMouseHook AHook) { GCustomizeMouseHook = AHook; }

void TCustomdxBarControl::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDOWN) &&
      GCustomizeMouseHook &&
      GCustomizeMouseHook(this, Message.Msg, PointOf(Message)))
    return;
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_DXBAR_RECALCULATE:
      FRecalcPosted = false;
      Recalculate();
      return;
    case WM_DXBAR_STOPEDITING: {
      auto* C = reinterpret_cast<TdxBarItemControl*>(Message.WParam);
      if (HasControl(C))
        if (auto* W = dynamic_cast<TdxBarWinControl*>(C)) W->StopEditing(Message.LParam != 0);
      return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      KeyDownMsg(WORD(Message.WParam));
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return;
    case WM_LBUTTONDOWN: {
      if (FIgnoreMouseClick) {
        FIgnoreMouseClick = false;
        return;
      }
      const TPoint P = PointOf(Message);
      TdxBarItemControl* C = GetControlAtPos(P);
      if (!C) {
        EmptyAreaMouseDown(P);
        return;
      }
      if (!C->CanSelectOrClick()) return;
      if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(C)) Sub->AnimateNextDropDown = true;
      if (FSelectedControl != C) {
        if (FActive || IsPopup()) SelectControl(C);
        else SetSelectedControl(C);
        if (!IsLiveBarControl(this)) return;
      }
      C->SetSelectedByMouse(true);
      if (!C->GetEnabled()) return;
      if (C->TracksMouseDown() && !IsPopup()) {
        FPressedControl = C;
        SetCapture(Handle());
        DrawItem(C);
      }
      C->BeforeClick(true);
      return;
    }
    case WM_LBUTTONUP: {
      if (FIgnoreMouseClick) {
        FIgnoreMouseClick = false;
        return;
      }
      const TPoint P = PointOf(Message);
      TdxBarItemControl* Pressed = FPressedControl;
      FPressedControl = nullptr;
      if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
      if (!IsLiveBarControl(this)) return;
      TdxBarItemControl* C = GetControlAtPos(P);
      if (Pressed && HasControl(Pressed)) DrawItem(Pressed);
      if (C && C == FSelectedControl && C->GetEnabled() && C->IsClickable() && (IsPopup() || C == Pressed))
        C->PerformClick(true);
      return;
    }
    case WM_LBUTTONDBLCLK:
      LButtonDblClk(PointOf(Message));
      return;
    case WM_MOUSEMOVE: {
      TPoint Screen;
      GetCursorPos(&Screen);
      if (Screen == FLastCursorPos || FLocked) return;
      FLastCursorPos = Screen;
      if (!FTrackingLeave && HandleAllocated()) {
        TRACKMOUSEEVENT T{};
        T.cbSize = sizeof(T);
        T.dwFlags = TME_LEAVE;
        T.hwndTrack = Handle();
        TrackMouseEvent(&T);
        FTrackingLeave = true;
      }
      if (FPressedControl) {
        DrawItem(FPressedControl);
        return;
      }
      TdxBarItemControl* C = GetControlAtPos(PointOf(Message));
      if (C && !C->CanSelect()) C = nullptr;
      // Inside a menu an open sub-menu's entry keeps its selection while the
      // pointer is on no entry.
      if (!C && IsPopup() && FChildBar) return;
      HotTrackControl(C);
      return;
    }
    case WM_MOUSELEAVE:
      MouseLeft();
      return;
    case WM_CAPTURECHANGED:
      if (FPressedControl) {
        TdxBarItemControl* C = FPressedControl;
        FPressedControl = nullptr;
        if (HasControl(C)) DrawItem(C);
      }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TdxBarControl

// Where the painter draws the close button: a square of the small caption
// height at the caption band's right end.
static TRect dxBarFloatingCloseRect(TdxBarControl* W) {
  const Integer B = TdxBarControl::BorderSize, H = W->GetPainter()->GetSmallCaptionHeight();
  return {W->GetWidth() - B - H, B, W->GetWidth() - B, B + H};
}

TdxBarControl::TdxBarControl(TdxBarManager* AManager, TdxBar* ABar) : TCustomdxBarControl(AManager), FBar(ABar) {
  SetItemLinks(ABar->ItemLinks());
}

TdxBarControl::~TdxBarControl() {
  Destroying();
  // An open quick-customization menu outlives the toolbar: it must not
  // call back into it.
  if (FQuickPopup && FBarManager)
    for (Integer I = 0; I < FBarManager->GetPopupMenuCount(); ++I)
      if (FBarManager->GetPopupMenu(I) == FQuickPopup) FQuickPopup->OnCloseUp = {};
  FQuickPopup = nullptr;
  if (FActive) HideAll();
  if (FBarManager && FBarManager->MenuModeBar() == this) FBarManager->SetMenuModeBar(nullptr);
  if (FDockControl) FDockControl->UndockBar(this, !FBarManager->IsDestroying());
  FDockControl = nullptr;
}

bool TdxBarControl::IsRotated() const { return IsVertical() && FBar && FBar->GetRotateWhenVertical(); }

bool TdxBarControl::IsLastVisibleLink(TdxBarItemControl* AControl) const {
  return FItemLinks && AControl && FItemLinks->GetShownCount() > 0 &&
         FItemLinks->GetShownLink(FItemLinks->GetShownCount() - 1) == AControl->ItemLink();
}

void TdxBarControl::CreateParams(TCreateParams& Params) {
  TCustomdxBarControl::CreateParams(Params);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.ExStyle = 0;
  if (FDockingStyle != dsNone) Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  else Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.Caption = FBar->GetCaption();
}

TRect TdxBarControl::ItemsRect() const {
  TRect R{0, 0, GetWidth(), GetHeight()};
  InflateRect(&R, -BorderSize, -BorderSize);
  if (FDockingStyle == dsNone) R.Top += CaptionHeight;
  else if (IsVertical()) R.Top += GripSize;
  else R.Left += GripSize;
  return R;
}

TRect TdxBarControl::GetDragGripRect() const {
  if (FDockingStyle == dsNone) return {0, 0, GetWidth() - CaptionHeight, BorderSize + CaptionHeight};
  if (IsVertical()) return {0, 0, GetWidth(), BorderSize + GripSize};
  return {0, 0, BorderSize + GripSize, GetHeight()};
}

namespace {
// The extent of one control along and across a line of the bar.
void ControlExtent(TdxBarItemControl* C, bool Vertical, Integer& Along, Integer& Across) {
  Integer W = C->GetWidth(), H = C->GetHeight();
  Along = Vertical ? H : W;
  Across = Vertical ? W : H;
}
constexpr Integer BeginGroupSize = 6;
}  // namespace

Integer TdxBarControl::LayoutLinks(Integer AAlong, bool AApply) {
  if (!FItemLinks) return 0;
  const bool Vertical = IsVertical();
  const bool Wraps = FBar->GetMultiLine() || FDockingStyle == dsNone;
  const TRect Items = AApply ? ItemsRect() : TRect{};
  struct Placed {
    TdxBarItemLink* L;
    Integer Line, Pos, Along, Across;
  };
  std::vector<Placed> List;
  std::vector<Integer> LineAcross{0};
  Integer Pos = 0, Line = 0;
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    TdxBarItemControl* C = L->Control();
    if (!C) continue;
    Integer A, X;
    ControlExtent(C, Vertical, A, X);
    Integer Gap = (Pos > 0 && L->GetBeginGroup()) ? BeginGroupSize : 0;
    if (Wraps && Pos > 0 && Pos + Gap + A > AAlong) {
      ++Line;
      LineAcross.push_back(0);
      Pos = 0;
      Gap = 0;
    }
    List.push_back({L, Line, Pos + Gap, A, X});
    LineAcross[std::size_t(Line)] = std::max(LineAcross[std::size_t(Line)], X);
    Pos += Gap + A;
  }
  Integer Total = 0;
  for (Integer& X : LineAcross) {
    X = std::max<Integer>(X, ButtonSize() - 1);
    Total += X;
  }
  if (AApply) {
    std::vector<Integer> LineStart(LineAcross.size(), 0);
    // A bar made thicker than its items by a taller neighbour in its row
    // keeps them centred across.
    const Integer Room = Vertical ? Items.Width() : Items.Height();
    if (Room > Total) LineStart[0] = (Room - Total) / 2;
    for (std::size_t K = 1; K < LineAcross.size(); ++K) LineStart[K] = LineStart[K - 1] + LineAcross[K - 1];
    bool Truncated = false;
    for (const Placed& P : List) {
      TRect R;
      const Integer Start = LineStart[std::size_t(P.Line)], Across = LineAcross[std::size_t(P.Line)];
      // A control narrower than its line is centred across it.
      const Integer Off = Start + (Across - P.Across) / 2;
      if (Vertical) R = {Items.Left + Off, Items.Top + P.Pos, Items.Left + Off + P.Across, Items.Top + P.Pos + P.Along};
      else R = {Items.Left + P.Pos, Items.Top + Off, Items.Left + P.Pos + P.Along, Items.Top + Off + P.Across};
      // What does not fit on a bar that does not wrap is not shown.
      // (The line may be shorter than the window: the mark takes its end.)
      const Integer End = std::min(Vertical ? Items.Bottom : Items.Right, (Vertical ? Items.Top : Items.Left) + AAlong);
      if ((Vertical ? R.Bottom > End : R.Right > End) && !Wraps) {
        R = {};
        Truncated = true;
      }
      if (!EqualRect(&R, &P.L->GetItemRect())) {
        P.L->SetItemRect(R);
        if (P.L->Control()) P.L->Control()->BoundsChanged();
      }
    }
    FTruncated = Truncated;
  }
  return Total;
}

Integer TdxBarControl::GetMaxAlong() {
  CreateControls();
  Integer Frame = 2 * BorderSize + (FDockingStyle == dsNone ? 0 : GripSize);
  Integer Sum = 0;
  bool First = true;
  if (FItemLinks)
    for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
      TdxBarItemLink* L = FItemLinks->GetShownLink(I);
      if (!L->Control()) continue;
      Integer A, X;
      ControlExtent(L->Control(), IsVertical(), A, X);
      Sum += A + (!First && L->GetBeginGroup() ? BeginGroupSize : 0);
      First = false;
    }
  return Frame + std::max<Integer>(Sum, ButtonSize()) + (ReservesMark() ? MarkSize : 0);
}

Integer TdxBarControl::GetMinAlong() {
  CreateControls();
  Integer Frame = 2 * BorderSize + (FDockingStyle == dsNone ? 0 : GripSize);
  Integer First = ButtonSize();
  if (FItemLinks && FItemLinks->GetShownCount() > 0 && FItemLinks->GetShownLink(0)->Control()) {
    Integer X;
    ControlExtent(FItemLinks->GetShownLink(0)->Control(), IsVertical(), First, X);
  }
  return Frame + First;
}

Integer TdxBarControl::CalcSizeAcross(Integer AAlong) {
  CreateControls();
  Integer FrameAlong = 2 * BorderSize + (FDockingStyle == dsNone ? 0 : GripSize);
  Integer FrameAcross = 2 * BorderSize + (FDockingStyle == dsNone ? CaptionHeight : 0);
  return FrameAcross + LayoutLinks(AAlong - FrameAlong, false);
}

TSize TdxBarControl::GetBarSize(TdxBarDockingStyle AStyle) {
  TdxBarDockingStyle Saved = FDockingStyle;
  FDockingStyle = AStyle;
  TSize S;
  Integer Along = GetMaxAlong();
  if (AStyle == dsNone && FBar->GetFloatClientWidth() > 0)
    Along = std::min(Along, std::max(GetMinAlong(), FBar->GetFloatClientWidth() + 2 * BorderSize));
  Integer Across = CalcSizeAcross(Along);
  S = IsVertical() ? TSize{Across, Along} : TSize{Along, Across};
  FDockingStyle = Saved;
  return S;
}

void TdxBarControl::CalcLayout() {
  Integer Along = IsVertical() ? GetHeight() : GetWidth();
  // Hidden items leave room for the mark that shows them.
  if (IsMarkVisible()) {
    const TRect M = MarkRect();
    Along -= IsVertical() ? M.Height() : M.Width();
  }
  LayoutLinks(Along - 2 * BorderSize - (FDockingStyle == dsNone ? 0 : GripSize), true);
}

bool TdxBarControl::ReservesMark() const {
  // The mark also stands for quick customizing where the look has one for
  // every toolbar.
  return FDockingStyle != dsNone && FBar->GetShowMark() && GetPainter()->HasBarMark() &&
         FBar->GetAllowQuickCustomizing() && dxBarCustomizingHooks().ShowQuickCustomization;
}

bool TdxBarControl::IsMarkVisible() const {
  if (FDockingStyle == dsNone || !FBar->GetShowMark() || MarkRect().IsEmpty()) return false;
  return FTruncated || ReservesMark();
}

TRect TdxBarControl::MarkRect() const { return GetPainter()->GetBarMarkRect(PaintWindow()); }

void TdxBarControl::ShowHiddenItems() {
  if (FMarkState == 2 || !IsMarkVisible() || !FItemLinks) return;
  if (auto Quick = dxBarCustomizingHooks().ShowQuickCustomization) {
    // The quick-customization menu: the items that found no room, then
    // the buttons to show or hide.
    FMarkState = 2;
    Invalidate();
    const TRect M = MarkRect();
    const TPoint A = ClientToScreen({M.Left, M.Top}), B = ClientToScreen({M.Right, M.Bottom});
    TcxObjectLinkGuard Alive(this);
    TdxBarPopupMenu* P = Quick(this, {A.X, A.Y, B.X, B.Y});
    if (!Alive.Alive()) return;
    FQuickPopup = P;
    if (P) P->OnCloseUp = TNotifyEvent(this, &TdxBarControl::HiddenItemsClosed);
    else HiddenItemsClosed(nullptr);
    return;
  }
  // The links of the last showing go only now: a click in that menu may
  // still have been running when it closed.
  FHiddenLinks = std::make_unique<TdxBarItemLinks>(FBarManager, this);
  FHiddenLinks->SetKeepsUsage(false);
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (!IsRectEmpty(&L->GetItemRect())) continue;
    TdxBarItemLink* Copy = FHiddenLinks->Add();
    Copy->Assign(L);
    Copy->SetItem(L->GetItem());
  }
  FMarkState = 2;
  Invalidate();
  const TRect M = MarkRect();
  const TPoint P = ClientToScreen(IsVertical() ? TPoint{M.Right, M.Top} : TPoint{M.Left, M.Bottom});
  auto* W = new TdxBarSubMenuControl(FBarManager);
  W->SetItemLinks(FHiddenLinks.get());
  W->SetBounds(P.X, P.Y, W->GetWidth(), W->GetHeight());
  W->OwnerWidth = IsVertical() ? M.Width() : 0;
  W->OwnerHeight = IsVertical() ? 0 : M.Height();
  W->OnCloseUp = TNotifyEvent(this, &TdxBarControl::HiddenItemsClosed);
  W->Show();
}

void TdxBarControl::HiddenItemsClosed(TObject*) {
  FQuickPopup = nullptr;
  FMarkState = 0;
  if (HandleAllocated()) Invalidate();
}

void TdxBarControl::Recalculate() {
  if (ComponentState().Contains(csDestroying)) return;
  CreateControls();
  if (FDockControl) FDockControl->UpdateDock();
  else if (FDockingStyle == dsNone) {
    TSize S = GetBarSize(dsNone);
    if (S.cx != GetWidth() || S.cy != GetHeight()) SetBounds(GetLeft(), GetTop(), S.cx, S.cy);
  }
  CalcLayout();
  if (HandleAllocated()) Invalidate();
}

void TdxBarControl::PaintFrame() {
  const HDC DC = Canvas()->GetHandle();
  TdxBarItemControlPainterClass P = GetPainter();
  const TdxBarPaintWindow& W = PaintWindow();
  const HBRUSH Brush = W.CurrentBrush();
  TRect R = GetClientRect();
  if (FDockingStyle == dsNone) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
    const TRect In = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    FrameRect(DC, &In, Brush);
    const TRect Cap{BorderSize, BorderSize, R.Right - BorderSize, BorderSize + CaptionHeight};
    dxFillRectColor(DC, Cap, P->GetBarCaptionColor(W, true));
    P->DrawFloatingBarCaption(W, DC, Brush, true, Cap);
  } else {
    P->DrawDockedBarBorder(W, DC, Brush, R);
  }
  if (IsMarkVisible()) P->DrawBarMark(W, DC, Brush, MarkRect());
  // Group separators in the gaps the layout left before a group's first item.
  if (!FItemLinks) return;
  const bool Vertical = IsVertical();
  TRect Prev{};
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    const TRect& IR = L->GetItemRect();
    if (IsRectEmpty(&IR)) continue;
    if (I > 0 && L->GetBeginGroup() && !IsRectEmpty(&Prev)) {
      const bool SameLine = Vertical ? IR.Left == Prev.Left : IR.Top < Prev.Bottom && IR.Bottom > Prev.Top;
      if (SameLine) {
        const TRect Gap = Vertical ? TRect{IR.Left, Prev.Bottom, IR.Right, IR.Top}
                                   : TRect{Prev.Right, IR.Top, IR.Left, IR.Bottom};
        if (!IsRectEmpty(&Gap)) P->DrawToolbarSeparator(W, DC, Vertical, Brush, Gap);
      }
    }
    Prev = IR;
  }
}


void TdxBarControl::EmptyAreaMouseDown(TPoint ClientPt) {
  if (IsMarkVisible() && !IsCustomizing()) {
    const TRect M = GetPainter()->GetBarMarkHitRect(PaintWindow());
    if (PtInRect(&M, ClientPt)) {
      ShowHiddenItems();
      return;
    }
  }
  if (FDockingStyle == dsNone) {
    TRect X = dxBarFloatingCloseRect(this);
    if (PtInRect(&X, ClientPt)) {
      // The close button: hold it until the release, inside to close.
      dxBarCaptionButtonFlag() = true;
      SetCapture(Handle());
      TdxBar* B = FBar;
      TdxBarManager* M = FBarManager;
      bool Inside = true;
      MSG Msg;
      while (dxBarCaptionButtonFlag() && GetCapture() == Handle()) {
        if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) {
          if (Msg.message == WM_QUIT) PostQuitMessage(int(Msg.wParam));
          break;
        }
        if (Msg.message == WM_LBUTTONUP) {
          TPoint P;
          GetCursorPos(&P);
          P = ScreenToClient(P);
          Inside = PtInRect(&X, P);
          break;
        }
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
      }
      const bool Completed = dxBarCaptionButtonFlag();
      dxBarCaptionButtonFlag() = false;
      if (IsLiveBarControl(this) && GetCapture() == Handle()) ReleaseCapture();
      if (Completed && Inside && B->CanClose()) {
        B->SetVisible(false);
        M->DesignerModified();
        if (M->OnBarClose) M->OnBarClose(M, B);
      }
      return;
    }
  }
  TRect G = GetDragGripRect();
  if (PtInRect(&G, ClientPt) && !IsCustomizing()) {
    FPressOffset = ClientPt;
    HideAll();
    dxBarDragBarControl(this);
  }
}


void TdxBarControl::LButtonDblClk(TPoint ClientPt) {
  // A quick second press on the close button is a press like the first.
  if (FDockingStyle == dsNone) {
    TRect X = dxBarFloatingCloseRect(this);
    if (PtInRect(&X, ClientPt)) {
      EmptyAreaMouseDown(ClientPt);
      return;
    }
  }
  TRect G = GetDragGripRect();
  if (!PtInRect(&G, ClientPt) || IsCustomizing()) {
    TCustomdxBarControl::LButtonDblClk(ClientPt);
    return;
  }
  // Floating bars dock, docked bars float.
  TdxBar* B = FBar;
  TdxBarManager* M = FBarManager;
  if (FDockingStyle != dsNone) {
    if (!M->CanDock(B, dsNone, nullptr)) return;
    TPoint Screen = ClientToScreen({0, 0});
    FDockControl->UndockBar(this, true);
    ChangeDocking(dsNone, nullptr);
    TSize S = GetBarSize(dsNone);
    SetBounds(Screen.X, Screen.Y, S.cx, S.cy);
  } else {
    TdxBarDockingStyle Style = B->GetDockedDockingStyle();
    if (Style == dsNone) Style = dsTop;
    TdxDockControl* Site = B->GetDockedDockControl();
    if (!Site) Site = dxBarBuiltInDockControl(M, Style);
    if (!M->CanDock(B, Site->DockingStyle(), Site)) return;
    const bool FirstTime = B->GetRow() == 0 && B->GetDockedLeft() == 0 && B->GetDockedTop() == 0;
    SetVisible(false);
    ChangeDocking(Site->DockingStyle(), Site);
    if (FirstTime) {
      B->SetOneOnRow(true);
      B->SetRow(Site->RowCount());
    }
    Site->DockBar(this, {}, true, true);
  }
  SetVisible(true);
  StoreBarPosition();
  M->DoBarDockingStyleChange(B);
}

void TdxBarControl::ChangeDocking(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl) {
  if (FDockingStyle == AStyle && FDockControl == ADockControl && (HandleAllocated() || AStyle == dsNone)) return;
  const bool WasVisible = GetVisible();
  SetVisible(false);
  DestroyControls();
  if (HandleAllocated()) DestroyHandle();
  FDockingStyle = AStyle;
  FDockControl = ADockControl;
  if (ADockControl) {
    SetParentWindow(nullptr);
    SetParent(ADockControl);
  } else {
    SetParent(nullptr);
    if (TCustomForm* F = FBarManager->OwnerForm()) SetParentWindow(F->Handle());
  }
  CreateControls();
  if (WasVisible) SetVisible(true);
  if (AStyle == dsNone && GetVisible()) ShowFloatingWindow();
}

void TdxBarControl::ShowFloatingWindow() {
  // A floating bar has no parent control to show it: its window is made
  // and shown here, without taking the activation from the form.
  if (FDockingStyle != dsNone || !GetVisible()) return;
  HandleNeeded();
  if (!IsWindowVisible(Handle()))
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TdxBarControl::StoreBarPosition() {
  if (!FBar->GetVisible() || FDragging || FBarManager->IsDestroying() || FBarManager->IsLoading()) return;
  // The bar learns where its window is; it must not move the window back.
  struct TFollow {
    TdxBar* B;
    bool Was;
    ~TFollow() { B->SetFollowingWindow(Was); }
  } Follow{FBar, FBar->FollowingWindow()};
  FBar->SetFollowingWindow(true);
  if (FDockingStyle == dsNone) {
    FBar->SetDockingStyle(dsNone);
    FBar->SetFloatLeft(GetLeft());
    FBar->SetFloatTop(GetTop());
    FBar->SetFloatClientWidth(GetWidth() - 2 * BorderSize);
    FBar->SetFloatClientHeight(GetHeight() - 2 * BorderSize - CaptionHeight);
    return;
  }
  if (!FDockControl) return;
  if (auto* Placed = dynamic_cast<TdxBarDockControl*>(FDockControl)) FBar->SetDockControl(Placed);
  else {
    FBar->SetDockControl(nullptr);
    FBar->SetDockingStyle(FDockingStyle);
  }
  FBar->SetDockedDockingStyle(FDockingStyle);
  FBar->SetDockedDockControl(dynamic_cast<TdxBarDockControl*>(FDockControl));
  FBar->SetRow(FDockControl->RowIndexOf(this));
  if (TdxDockCol* Col = FDockControl->FindCol(this)) FBar->SetOneOnRow(Col->Row()->ColCount() == 1);
  FBar->SetDockedLeft(GetLeft());
  FBar->SetDockedTop(GetTop());
}

void TdxBarControl::EnterMenuMode(TdxBarItemControl* AControl) {
  if (TdxBarControl* Other = FBarManager->MenuModeBar(); Other && Other != this) Other->HideAll();
  if (TCustomForm* F = FBarManager->OwnerForm(); F && F->HandleAllocated()) F->Perform(CM_CANCELMODE);
  FSavedFocus = GetFocus();
  if (!AControl) AControl = FirstSelectable();
  FBarManager->SetMenuModeBar(this);
  FMenuMode = true;
  TCustomdxBarControl::SetActive(true);
  SelectControl(AControl);
}

void TdxBarControl::ExitMenuMode() {
  if (!FMenuMode) return;
  FMenuMode = false;
  if (FBarManager->MenuModeBar() == this) FBarManager->SetMenuModeBar(nullptr);
  HWND Focus = FSavedFocus;
  FSavedFocus = nullptr;
  if (Focus && IsWindow(Focus) && IsWindowVisible(Focus) && GetFocus() != Focus) ::SetFocus(Focus);
}

void TdxBarControl::SetActive(bool Value) {
  if (!Value) {
    if (FSelectedControl && FSelectedControl->GetActive() && !dynamic_cast<TdxBarSubItemControl*>(FSelectedControl))
      FSelectedControl->Deactivate(true);
    FMenusOpenOnSelect = false;
  }
  TCustomdxBarControl::SetActive(Value);
  if (!Value && IsLiveBarControl(this)) {
    ExitMenuMode();
    if (HandleAllocated()) Invalidate();
  }
}

void TdxBarControl::SelectControl(TdxBarItemControl* AControl) {
  TdxBarItemControl* Old = FSelectedControl;
  TCustomdxBarControl::SelectControl(AControl);
  if (!IsLiveBarControl(this) || !FActive || IsCustomizing()) return;
  if (AControl && AControl != Old && FSelectedControl == AControl && !AControl->GetActive()) {
    // A title opens its menu only once menus follow the selection (after
    // Down, Enter, a click or a mnemonic); Alt alone just selects it.
    if (dynamic_cast<TdxBarSubItemControl*>(AControl)) {
      if (FMenusOpenOnSelect) AControl->BeforeClick(false);
    } else AControl->Activate(true);
  }
}

void TdxBarControl::MouseLeft() {
  if (FActive) return;
  TCustomdxBarControl::MouseLeft();
}

void TdxBarControl::KeyDownMsg(WORD Key) {
  if (!FActive) return;
  if (SendKeyToSelected(Key)) return;
  TdxBarItemControl* C = FSelectedControl;
  switch (Key) {
    case VK_ESCAPE:
      HideAll();
      return;
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN:
      if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(C); Sub && Sub->GetEnabled()) {
        FMenusOpenOnSelect = true;
        Sub->Click(false);
        return;
      }
      if (Key == VK_RETURN && C) C->Click(false);
      return;
    default:
      break;
  }
  if (((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) && FItemLinks)
    if (TdxBarItemLink* L = FItemLinks->FindAccelerator(char(Key)))
      if (dynamic_cast<TdxBarSubItemControl*>(L->Control())) FMenusOpenOnSelect = true;
  TCustomdxBarControl::KeyDownMsg(Key);
}

void TdxBarControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
      TdxBarItemControl* C = GetControlAtPos({short(Message.LParamLo()), short(Message.LParamHi())});
      // A press on a menu title opens menu mode with menus that follow the mouse.
      if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(C); Sub && Sub->GetEnabled() && !IsCustomizing()) {
        if (!FActive) EnterMenuMode(nullptr);
        if (!IsLiveBarControl(this)) return;
        if (FSelectedControl != C) SetSelectedControl(C);
        FMenusOpenOnSelect = true;
        Sub->AnimateNextDropDown = true;
        Sub->SetSelectedByMouse(true);
        Sub->BeforeClick(true);
        return;
      }
      if (FActive && C && !dynamic_cast<TdxBarSubItemControl*>(C)) HideAll();
      if (!IsLiveBarControl(this)) return;
      break;
    }
    case WM_SIZE:
      if (ComponentState().Contains(csDestroying)) return;
      TCustomdxBarControl::WndProc(Message);
      CalcLayout();
      return;
    case WM_CAPTURECHANGED:
      // The close button lost the mouse to another window: the keyboard is
      // free again and the button's loop wakes up to end.
      if (dxBarCaptionButtonFlag()) {
        dxBarCaptionButtonFlag() = false;
        PostMessageA(Handle(), WM_NULL, 0, 0);
      }
      break;
    case WM_WINDOWPOSCHANGED:
      TCustomdxBarControl::WndProc(Message);
      if (FDockingStyle == dsNone && !ComponentState().Contains(csDestroying)) StoreBarPosition();
      return;
    case WM_SETCURSOR: {
      TPoint P;
      GetCursorPos(&P);
      P = ScreenToClient(P);
      TRect G = GetDragGripRect();
      if (!FDragging && FBar->IsMovable() && PtInRect(&G, P) && !(FDockingStyle == dsNone && P.X >= G.Right)) {
        ::SetCursor(Screen->Cursors(crSizeAll));
        Message.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TCustomdxBarControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TdxBarSubMenuControl

TdxBarSubMenuControl::TdxBarSubMenuControl(TdxBarManager* AManager) : TCustomdxBarControl(AManager) {}

TdxBarSubMenuControl::~TdxBarSubMenuControl() {
  Destroying();
  if (FActive) SetActive(false);
  TCustomdxBarControl::DestroyControls();
  CollapseContainers();
}

void TdxBarSubMenuControl::ExpandContainers() {
  if (!FItemLinks || FExpanding || IsCustomizing() || !FContainerLinks.empty()) return;
  FExpanding = true;
  // Adding the entries changes the links: the layout that follows covers it.
  const bool Posted = FRecalcPosted;
  FRecalcPosted = true;
  std::vector<TCustomdxBarContainerItem*> Seen;
  try {
    // The entries of one container may hold another: the walk meets them.
    for (Integer I = 0; I < FItemLinks->Count(); ++I) {
      TdxBarItemLink* L = FItemLinks->GetItem(I);
      auto* C = dynamic_cast<TCustomdxBarContainerItem*>(L->GetItem());
      if (!C || L->Replaced() || L->GetVisibleIndex() < 0) continue;
      const bool First = std::find(Seen.begin(), Seen.end(), C) == Seen.end();
      if (First) Seen.push_back(C);
      FContainerLinks.push_back(L);
      C->AddListItems(FItemLinks, I + 1, L, First);
      if (C->ReplacesOwnLink()) L->SetReplaced(true);
    }
  } catch (...) {
    FRecalcPosted = Posted;
    FExpanding = false;
    throw;
  }
  FRecalcPosted = Posted;
  FExpanding = false;
}

void TdxBarSubMenuControl::CollapseContainers() {
  if (FContainerLinks.empty() || !FItemLinks) {
    FContainerLinks.clear();
    return;
  }
  FExpanding = true;
  const bool Posted = FRecalcPosted;
  FRecalcPosted = true;
  std::vector<TdxBarItemLink*> Links;
  Links.swap(FContainerLinks);
  std::vector<TCustomdxBarContainerItem*> Containers;
  for (auto It = Links.rbegin(); It != Links.rend(); ++It) {
    // A link freed while the menu was open (its item went) has no entries left to remove.
    Integer Index = -1;
    for (Integer I = 0; I < FItemLinks->Count() && Index < 0; ++I)
      if (FItemLinks->GetItem(I) == *It) Index = I;
    if (Index < 0) continue;
    auto* C = dynamic_cast<TCustomdxBarContainerItem*>((*It)->GetItem());
    if (!C) continue;
    C->DeleteListItems(FItemLinks, Index + 1);
    (*It)->SetReplaced(false);
    if (std::find(Containers.begin(), Containers.end(), C) == Containers.end()) Containers.push_back(C);
  }
  // Entries whose container went while the menu was open go with the menu.
  for (Integer I = FItemLinks->Count() - 1; I >= 0; --I)
    if (TdxBarItemLink* L = FItemLinks->GetItem(I); L && L->Generated() && !L->OwnerLink()) FItemLinks->Delete(I);
  for (TCustomdxBarContainerItem* C : Containers) C->SetNeedsClear();
  FRecalcPosted = Posted;
  FExpanding = false;
}

void TdxBarSubMenuControl::CreateControls() {
  ExpandContainers();
  TCustomdxBarControl::CreateControls();
}

void TdxBarSubMenuControl::DestroyControls() {
  TCustomdxBarControl::DestroyControls();
  CollapseContainers();
}

void TdxBarSubMenuControl::CreateParams(TCreateParams& Params) {
  TCustomdxBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style = CS_DBLCLKS | CS_SAVEBITS;
}

namespace {
// The gap a group leaves in a menu: the painter's separator.
Integer MenuSeparatorHeight(const TCustomdxBarControl* W) { return W->GetPainter()->GetSubMenuSeparatorSize(); }
}  // namespace

TSize TdxBarSubMenuControl::CalcSize() {
  Integer W = 0, H = 0;
  if (FItemLinks)
    for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
      TdxBarItemLink* L = FItemLinks->GetShownLink(I);
      if (!L->Control()) continue;
      if (I > 0 && L->GetBeginGroup()) H += MenuSeparatorHeight(this);
      W = std::max(W, L->Control()->GetWidth());
      H += L->Control()->GetHeight();
    }
  W = std::max<Integer>(W, 60);
  H = std::max<Integer>(H, FTextSize);
  return {W + 2 * FrameSize, H + 2 * FrameSize};
}

void TdxBarSubMenuControl::CalcLayout() {
  if (!FItemLinks) return;
  Integer Y = FrameSize;
  const Integer Right = GetWidth() - FrameSize;
  for (Integer I = 0; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (!L->Control()) continue;
    if (I > 0 && L->GetBeginGroup()) Y += MenuSeparatorHeight(this);
    TRect R{FrameSize, Y, Right, Y + L->Control()->GetHeight()};
    if (!EqualRect(&R, &L->GetItemRect())) {
      L->SetItemRect(R);
      L->Control()->BoundsChanged();
    }
    Y = R.Bottom;
  }
}

void TdxBarSubMenuControl::Recalculate() {
  if (FClosed || FExpanding || ComponentState().Contains(csDestroying)) return;
  FinishAnimation();
  // Containers expand again: their entries may have changed (an unfolded
  // block opened or closed, new strings).
  if (!FContainerLinks.empty() && !IsCustomizing()) {
    CollapseContainers();
    ExpandContainers();
  }
  CreateControls();
  TSize S = CalcSize();
  if (S.cx != GetWidth() || S.cy != GetHeight()) {
    SetBounds(GetLeft(), GetTop(), S.cx, S.cy);
    if (FShadow) UpdateShadow();
  }
  CalcLayout();
  if (HandleAllocated()) Invalidate();
}

void TdxBarSubMenuControl::Show() {
  if (FClosed) return;
  TCustomForm* F = FBarManager ? FBarManager->OwnerForm() : nullptr;
  if (F && !GetParentWindow()) SetParentWindow(F->Handle());
  HandleNeeded();
  CreateControls();
  TSize S = CalcSize();
  // Kept on the work area: a menu that would leave it opens on the other
  // side of the item it drops from, or is pushed back inside.
  TRect Work = Screen ? Screen->WorkAreaRect() : TRect{0, 0, 1024, 768};
  Integer X = GetLeft(), Y = GetTop();
  if (X + S.cx > Work.Right) X = OwnerWidth > 0 ? X - OwnerWidth - S.cx : Work.Right - S.cx;
  if (Y + S.cy > Work.Bottom) Y = OwnerHeight > 0 ? Y - OwnerHeight - S.cy : Work.Bottom - S.cy;
  X = std::max(X, Work.Left);
  Y = std::max(Y, Work.Top);
  const bool FlippedLeft = X < GetLeft(), FlippedUp = Y < GetTop();
  SetBounds(X, Y, S.cx, S.cy);
  CalcLayout();
  const TdxBarMenuAnimations Kind = AnimationKindToUse();
  Animate = Animate && (Kind == maUnfold || Kind == maSlide) && FItemLinks && FItemLinks->GetShownCount() > 0 &&
            !IsCustomizing();
  if (!Animate || !StartAnimation(Kind, FlippedLeft, FlippedUp)) {
    // A fade needs the system's blending, which this display lacks: the
    // menu shows at once.
    Animate = false;
    SetVisible(true);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  SetActive(true);
  if (!Animating()) UpdateShadow();
  if (OnPopup) OnPopup(this);
}

TdxBarMenuAnimations TdxBarSubMenuControl::AnimationKindToUse() const {
  // The setting of the toolbar the chain started from, else the menu's own.
  TdxBarManager* M = FBarManager;
  for (TCustomdxBarControl* B = FParentBar; B; B = B->ParentBar())
    if (auto* T = dynamic_cast<TdxBarControl*>(B)) M = T->BarManager();
  TdxBarMenuAnimations Kind = M ? M->GetMenuAnimations() : maNone;
  if (Kind == maRandom) {
    static std::minstd_rand Draw(std::random_device{}());
    const unsigned N = unsigned(Draw() % 100);
    Kind = N < 33 ? maUnfold : N < 66 ? maSlide : maFade;
  }
  return Kind;
}

TRect TdxBarSubMenuControl::AnimationRect(Integer AStep) const {
  const Integer W = FAnimFinal.Width(), H = FAnimFinal.Height();
  Integer Width, Height;
  if (FAnimKind == maSlide) {
    Width = W;
    Height = AStep * FAnimSize;
  } else if (FAnimD < 0) {
    Height = AStep * FAnimSize;
    Width = AStep * FAnimSize - FAnimD;
  } else {
    Width = AStep * FAnimSize;
    Height = FAnimD + AStep * FAnimSize;
  }
  Width = std::min(Width, W);
  Height = std::min(Height, H);
  // The anchored edges stay where the whole menu has them.
  const Integer L = FAnimRight ? FAnimFinal.Right - Width : FAnimFinal.Left;
  const Integer T = FAnimBottom ? FAnimFinal.Bottom - Height : FAnimFinal.Top;
  return {L, T, L + Width, T + Height};
}

bool TdxBarSubMenuControl::StartAnimation(TdxBarMenuAnimations AKind, bool AnchorRight, bool AnchorBottom) {
  const Integer W = GetWidth(), H = GetHeight();
  FAnimD = AKind == maUnfold ? H - W : 0;
  FAnimSize = AKind == maSlide ? 17 : 8;
  const Integer Total = AKind == maSlide ? H : FAnimD <= 0 ? H : W;
  FAnimSteps = Total / FAnimSize;
  if (FAnimSteps < 1 || W <= 0 || H <= 0) return false;
  // The whole menu is painted once; the growing window shows its part.
  FAnimImage = std::make_unique<TBitmap>();
  FAnimImage->SetSize(W, H);
  Canvas()->Lock();
  Canvas()->SetHandle(FAnimImage->Canvas()->GetHandle());
  try {
    Paint();
  } catch (...) {
    Canvas()->SetHandle(nullptr);
    Canvas()->Unlock();
    FAnimImage.reset();
    return false;
  }
  Canvas()->SetHandle(nullptr);
  Canvas()->Unlock();
  FAnimFinal = BoundsRect();
  FAnimKind = AKind;
  FAnimRight = AnchorRight;
  FAnimBottom = AnchorBottom;
  FAnimStep = 1;
  const TRect R = AnimationRect(FAnimStep);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetTimer(Handle(), AnimationTimer, 10, nullptr);
  return true;
}

void TdxBarSubMenuControl::AnimationStep() {
  if (!Animating()) return;
  if (++FAnimStep > FAnimSteps) {
    FinishAnimation();
    return;
  }
  const TRect R = AnimationRect(FAnimStep);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  Invalidate();
}

void TdxBarSubMenuControl::FinishAnimation() {
  if (!Animating()) return;
  if (HandleAllocated()) KillTimer(Handle(), AnimationTimer);
  FAnimKind = maNone;
  Animate = false;
  FAnimImage.reset();
  if (FClosed) return;
  SetBounds(FAnimFinal.Left, FAnimFinal.Top, FAnimFinal.Width(), FAnimFinal.Height());
  CalcLayout();
  Invalidate();
  UpdateShadow();
}

void TdxBarSubMenuControl::UpdateShadow() {
  if (FClosed || !GetPainter()->BarWindowHasShadow(PaintWindow()) || !HandleAllocated()) {
    FShadow.reset();
    return;
  }
  TRect R2;
  GetWindowRect(Handle(), &R2);
  // The item the menu dropped from shares the outline only where it adjoins.
  TRect R1 = FOwnerRect;
  const bool Adjoins = !IsRectEmpty(&R1) && (R1.Bottom == R2.Top || R1.Top == R2.Bottom || R1.Right == R2.Left ||
                                             R1.Left == R2.Right);
  if (!Adjoins) R1 = {};
  if (!FShadow) FShadow = std::make_unique<TdxBarShadow>(this);
  FShadow->SetOwnerBounds(R1, R2);
  FShadow->SetVisible(true);
}

void TdxBarSubMenuControl::CloseAndFree() {
  if (FClosed) return;
  FClosed = true;
  if (FActive) TCustomdxBarControl::SetActive(false);
  if (FChildBar && IsLiveBarControl(FChildBar))
    if (auto* Child = dynamic_cast<TdxBarSubMenuControl*>(FChildBar)) Child->CloseAndFree();
  if (FParentBar && FParentBar->ChildBar() == this) FParentBar->SetChildBar(nullptr);
  if (FOwnerControl && IsLiveBarControl(FParentBar) && FParentBar->HasControl(FOwnerControl)) {
    TdxBarItemControl* Owner = FOwnerControl;
    FOwnerControl = nullptr;
    Owner->MenuClosed();
  }
  FinishAnimation();
  FShadow.reset();
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  SetVisible(false);
  DestroyControls();
  if (FItemLinks && FItemLinks->BarControl() == this) FItemLinks->SetBarControl(nullptr);
  FItemLinks = nullptr;
  FOwnerControl = nullptr;
  TNotifyEvent CloseUp = OnCloseUp;
  OnCloseUp = nullptr;
  dxBarFreeLater(this);
  if (CloseUp) CloseUp(this);
}

void TdxBarSubMenuControl::HideAll() {
  TCustomdxBarControl* Parent = FParentBar;
  CloseAndFree();
  if (IsLiveBarControl(Parent)) Parent->HideAll();
}

void TdxBarSubMenuControl::PaintFrame() {
  const HDC DC = Canvas()->GetHandle();
  TdxBarItemControlPainterClass P = GetPainter();
  const TdxBarPaintWindow& W = PaintWindow();
  const TRect R = GetClientRect();
  P->DrawSubMenuBorder(W, DC, R);
  P->DrawSubMenuClientBorder(W, DC, W.CurrentBrush(), {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
  if (!FItemLinks) return;
  for (Integer I = 1; I < FItemLinks->GetShownCount(); ++I) {
    TdxBarItemLink* L = FItemLinks->GetShownLink(I);
    if (!L->GetBeginGroup() || !L->Control()) continue;
    TdxBarItemPaint C;
    L->Control()->FillPaint(C);
    P->DrawSubMenuSeparator(W, C, false, L->GetItemRect(), DC);
  }
}

void TdxBarSubMenuControl::KeyDownMsg(WORD Key) {
  TCustomdxBarControl* Parent = FParentBar;
  auto CloseThis = [&] {
    auto* Owner = dynamic_cast<TdxBarSubItemControl*>(FOwnerControl);
    if (Owner && IsLiveBarControl(Parent) && Parent->HasControl(Owner)) Owner->Deactivate(true);
    else HideAll();
  };
  auto* ParentToolbar = dynamic_cast<TdxBarControl*>(Parent);
  switch (Key) {
    case VK_ESCAPE:
      if (ParentToolbar) {
        // Back to the title: the toolbar stays in menu mode without menus.
        ParentToolbar->SetMenusOpenOnSelect(false);
        CloseThis();
      } else if (Parent) CloseThis();
      else HideAll();
      return;
    case VK_LEFT:
      if (SendKeyToSelected(Key)) return;
      if (ParentToolbar && !ParentToolbar->IsVertical()) {
        ParentToolbar->SelectControl(ParentToolbar->NextSelectable(ParentToolbar->SelectedControl(), false));
        return;
      }
      if (Parent) CloseThis();
      return;
    case VK_RIGHT: {
      if (SendKeyToSelected(Key)) return;
      // From a plain entry the main menu moves on to its next title.
      TCustomdxBarControl* Root = RootBar();
      auto* RootToolbar = dynamic_cast<TdxBarControl*>(Root);
      if (RootToolbar && !RootToolbar->IsVertical() && RootToolbar->GetActive())
        RootToolbar->SelectControl(RootToolbar->NextSelectable(RootToolbar->SelectedControl(), true));
      return;
    }
    default:
      TCustomdxBarControl::KeyDownMsg(Key);
  }
}

bool TdxBarSubMenuControl::PaintAnimationStep() {
  if (!Animating() || !FAnimImage) return false;
  // Vertically the picture moves with the growing edge; horizontally it
  // is uncovered from the anchored edge.
  const Integer W = GetWidth(), H = GetHeight();
  const Integer SX = FAnimRight ? FAnimFinal.Width() - W : 0;
  const Integer SY = FAnimBottom ? 0 : FAnimFinal.Height() - H;
  BitBlt(Canvas()->GetHandle(), 0, 0, W, H, FAnimImage->Canvas()->GetHandle(), SX, SY, SRCCOPY);
  return true;
}

void TdxBarSubMenuControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == AnimationTimer) {
        AnimationStep();
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
      // Input to a menu that is still opening finishes the opening first.
      FinishAnimation();
      break;
    default:
      break;
  }
  if (FClosed) {
    if (Message.Msg == WM_PAINT) {
      TCustomControl::WndProc(Message);
      return;
    }
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) return;
  }
  TCustomdxBarControl::WndProc(Message);
}
