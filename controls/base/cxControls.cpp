#include "controls/base/cxControls.h"

#include <algorithm>
#include "platform/forms/ControlMessages.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Mouse.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/SysMetrics.h"

// --- TcxDragAndDropObject ---

void TcxDragAndDropObject::SetDirty(bool Value) {
  if (FDirty == Value) return;
  FDirty = Value;
  DirtyChanged();
}

void TcxDragAndDropObject::DragAndDrop(TPoint, bool& Accepted) {
  SetDirty(false);
  if (Screen) Screen->SetCursor(GetDragAndDropCursor(Accepted));
}

void TcxDragAndDropObject::Start() {
  TPoint P;
  GetCursorPos(&P);
  CurMousePos = PrevMousePos = FControl->ScreenToClient(P);
  BeginDragAndDrop();
}

void TcxDragAndDropObject::Track(TPoint P, bool& Accepted) {
  PrevMousePos = CurMousePos;
  CurMousePos = P;
  DragAndDrop(P, Accepted);
}

void TcxDragAndDropObject::Finish(bool Accepted) {
  EndDragAndDrop(Accepted);
  AfterDragAndDrop(Accepted);
}

// --- TcxControlScrollBar ---

TcxControlScrollBar::TcxControlScrollBar(TcxControl* AOwner, TScrollBarKind AKind) : TcxScrollBar(AOwner) {
  SetColor(clBtnFace);
  TControlStyle S = ControlStyle();
  S.Exclude(csFramed);
  S.Include(csNoDesignVisible);
  SetControlStyle(S);
  SetTabStop(false);
  SetVisible(false);
  SetKind(AKind);
  GetLookAndFeel()->SetMaster(AOwner->GetLookAndFeel());
}

void TcxControlScrollBar::ApplyData() {
  if (Data.Visible) {
    ApplyRange(Data.Min, Data.Max, Data.Position, Data.PageSize, true);
    SetSmallChange(Data.SmallChange);
    SetLargeChange(Data.LargeChange);
  }
  SetEnabled(Data.Enabled);
  SetVisible(Data.Visible);
}

void TcxControlScrollBar::FocusOwnerOnClick() {
  TWinControl* P = GetParent();
  if (auto* C = dynamic_cast<TcxControl*>(P)) {
    if (C->MayFocusOnScrollBarClick() && C->CanFocus()) C->SetFocus();
  } else if (P && P->CanFocus())
    P->SetFocus();
}

void TcxControlScrollBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DESIGNHITTEST) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == WM_LBUTTONDOWN) FocusOwnerOnClick();
  TcxScrollBar::Dispatch(Message);
}

// --- TcxSizeGrip ---

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  TControlStyle S = ControlStyle();
  S.Include(csNoDesignVisible);
  SetControlStyle(S);
  SetVisible(false);
}

void TcxSizeGrip::Paint() {
  Canvas()->Brush()->SetColor(GetColor());
  Canvas()->FillRect(GetClientRect());
}

// --- TcxControl ---

TcxControl::TcxControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FCanvas = std::make_unique<TcxCanvas>(Canvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxControl::LookAndFeelChanged);
  if (UsesScrollBars()) {
    FHScrollBar = new TcxControlScrollBar(this, sbHorizontal);
    FVScrollBar = new TcxControlScrollBar(this, sbVertical);
    FHScrollBar->OnScroll = TScrollEvent(this, &TcxControl::ScrollBarScroll);
    FVScrollBar->OnScroll = TScrollEvent(this, &TcxControl::ScrollBarScroll);
    FSizeGrip = new TcxSizeGrip(this);
    TcxSettingsController::Instance().Add(this);
  }
  SetTabStop(WantsTabStop());
  FSavedCursor = GetCursor();
}

TcxControl::~TcxControl() {
  FEndingDragAndDrop = true;  // no call-outs while going
  FDragAndDropObject.reset();
  if (FHScrollBar) {
    TcxSettingsController::Instance().Remove(this);
    delete FSizeGrip;
    delete FVScrollBar;
    delete FHScrollBar;
    FSizeGrip = nullptr;
    FVScrollBar = FHScrollBar = nullptr;
  }
  FCanvas.reset();
  FLookAndFeel.reset();
  ClearObjectLinks(this);
}

void TcxControl::CreateWnd() {
  TCustomControl::CreateWnd();
  if (UsesScrollBars()) {
    FHScrollBar->SetParent(this);
    FVScrollBar->SetParent(this);
    FSizeGrip->SetParent(this);
  }
}

void TcxControl::SetBorderStyle(TcxControlBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  LayoutModified();
  Invalidate();
}

void TcxControl::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  LayoutModified();
}

int TcxControl::GetBorderWidth() const { return FBorderStyle == cxcbsNone ? 0 : GetPainter()->BorderWidth(); }

TRect TcxControl::GetPaintBounds() const {
  return HandleAllocated() ? GetClientRect() : TRect{0, 0, GetWidth(), GetHeight()};
}

TRect TcxControl::GetContentBounds() const {
  TRect R = GetPaintBounds();
  const int B = GetBorderWidth();
  R = {R.Left + B, R.Top + B, R.Right - B, R.Bottom - B};
  if (HScrollBarShown()) R.Bottom -= FHScrollBar->GetHeight();
  if (VScrollBarShown()) R.Right -= FVScrollBar->GetWidth();
  return R;
}

bool TcxControl::HScrollBarShown() const {
  if (!FHScrollBar) return false;
  return FComputingScrollBars ? FHScrollBar->Data.Visible : FHScrollBar->GetVisible();
}

bool TcxControl::VScrollBarShown() const {
  if (!FVScrollBar) return false;
  return FComputingScrollBars ? FVScrollBar->Data.Visible : FVScrollBar->GetVisible();
}

TRect TcxControl::GetHScrollBarRect() const {
  TRect R = GetContentBounds();
  R.Top = R.Bottom;
  R.Bottom = R.Top + FHScrollBar->GetHeight();
  return R;
}

TRect TcxControl::GetVScrollBarRect() const {
  TRect R = GetContentBounds();
  R.Left = R.Right;
  R.Right = R.Left + FVScrollBar->GetWidth();
  return R;
}

TRect TcxControl::GetSizeGripRect() const {
  return {FVScrollBar->GetLeft(), FHScrollBar->GetTop(), FVScrollBar->GetLeft() + FVScrollBar->GetWidth(),
          FHScrollBar->GetTop() + FHScrollBar->GetHeight()};
}

void TcxControl::PlaceScrollBars() {
  if (FHScrollBar->GetVisible()) FHScrollBar->SetBoundsRect(GetHScrollBarRect());
  if (FVScrollBar->GetVisible()) FVScrollBar->SetBoundsRect(GetVScrollBarRect());
  if (FSizeGrip->GetVisible()) FSizeGrip->SetBoundsRect(GetSizeGripRect());
}

void TcxControl::BringInternalControlsToFront() {
  FHScrollBar->BringToFront();
  FVScrollBar->BringToFront();
  FSizeGrip->BringToFront();
}

void TcxControl::SetScrollBarParams(TScrollBarKind AKind, Integer AMin, Integer AMax, SmallInt AStep, Integer APage,
                                    Integer APosition, bool AAllowShow, bool AAllowHide) {
  TcxControlScrollBar* Bar = BarOf(AKind);
  if (!Bar) return;
  TcxScrollBarData D = Bar->Data;
  const bool Admitted = FScrollBars == ssBoth || (AKind == sbHorizontal ? FScrollBars == ssHorizontal
                                                                        : FScrollBars == ssVertical);
  D.AllowShow = AAllowShow && Admitted;
  D.AllowHide = AAllowHide;
  if (!D.AllowShow)
    D.Visible = false;
  else if (AMax < AMin || APage >= AMax - AMin + 1 || APosition < AMin) {
    // Nothing to scroll.
    if (D.AllowHide)
      D.Visible = false;
    else {
      D.Visible = true;
      D.Enabled = false;
    }
  } else {
    D.Min = AMin;
    D.Max = AMax;
    D.Position = APosition;
    D.PageSize = APage;
    D.SmallChange = AStep;
    D.LargeChange = APage;
    D.Visible = true;
    D.Enabled = true;
  }
  Bar->Data = D;
}

void TcxControl::RefreshScrollBars() {
  if (!UsesScrollBars()) return;
  const bool Outermost = !FInRefresh;
  if (Outermost) {
    FSavedHVisible = FHScrollBar->GetVisible();
    FSavedVVisible = FVScrollBar->GetVisible();
  }
  const bool WasInRefresh = FInRefresh;
  FInRefresh = true;
  const bool HBefore = FHScrollBar->GetVisible(), VBefore = FVScrollBar->GetVisible();
  struct TRestore {
    TcxControl* C;
    bool Was, Outermost;
    ~TRestore() {
      C->FInRefresh = Was;
      if (Outermost) C->FOscillating = false;
    }
  } Restore{this, WasInRefresh, Outermost};
  if (!FOscillating) {
    if (!FComputingScrollBars) {
      FComputingScrollBars = true;
      struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
      } Clear{FComputingScrollBars};
      FHScrollBar->Data.Visible = false;
      FVScrollBar->Data.Visible = false;
      bool H, V;
      do {
        H = HScrollBarShown();
        V = VScrollBarShown();
        ComputeScrollBarParams();
      } while (HScrollBarShown() != H || VScrollBarShown() != V);
      // Both bars may go when each fits once the other is gone.
      TcxScrollBarData& HD = FHScrollBar->Data;
      TcxScrollBarData& VD = FVScrollBar->Data;
      if (HD.Visible && HD.Enabled && HD.AllowHide && VD.Visible && VD.Enabled && VD.AllowHide) {
        const bool HFits = CanHideScrollBarWhenFits(sbHorizontal) &&
                           FVScrollBar->GetWidth() + HD.PageSize >= HD.Max - HD.Min + 1;
        const bool VFits = CanHideScrollBarWhenFits(sbVertical) &&
                           FHScrollBar->GetHeight() + VD.PageSize >= VD.Max - VD.Min + 1;
        if (HFits && VFits) {
          const TcxScrollBarData H0 = HD, V0 = VD;
          SetScrollBarParams(sbHorizontal, H0.Min, H0.Max, SmallInt(H0.SmallChange),
                             H0.PageSize + FVScrollBar->GetWidth(), H0.Position, H0.AllowShow, H0.AllowHide);
          SetScrollBarParams(sbVertical, V0.Min, V0.Max, SmallInt(V0.SmallChange),
                             V0.PageSize + FHScrollBar->GetHeight(), V0.Position, V0.AllowShow, V0.AllowHide);
        }
      }
    }
    if (WasInRefresh && FHScrollBar->Data.Visible == FSavedHVisible && FVScrollBar->Data.Visible == FSavedVVisible)
      FOscillating = true;
    if (FOscillating) {
      // Show the bar that keeps flipping, disabled: that ends the flip-flop.
      for (TcxControlScrollBar* B : {FHScrollBar, FVScrollBar}) {
        const bool Saved = B == FHScrollBar ? FSavedHVisible : FSavedVVisible;
        if (B->GetVisible() != Saved) {
          B->SetEnabled(false);
          B->SetVisible(true);
        }
      }
    } else {
      FHScrollBar->ApplyData();
      FVScrollBar->ApplyData();
    }
  }
  if (FHScrollBar->GetVisible() != HBefore || FVScrollBar->GetVisible() != VBefore) {
    LayoutModified();
    return;
  }
  FSizeGrip->SetVisible(FHScrollBar->GetVisible() && FVScrollBar->GetVisible());
  PlaceScrollBars();
  if (KeepScrollBarsOnTop()) BringInternalControlsToFront();
}

void TcxControl::ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos) {
  ScrollContent(static_cast<TcxScrollBar*>(Sender)->GetKind(), ScrollCode, ScrollPos);
}

void TcxControl::LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
  LookAndFeelModified(Sender, Values);
  // Another painter may draw another border: the content bounds move.
  if (FBorderStyle == cxcbsDefault) LayoutModified();
  Invalidate();
}

void TcxControl::ScrollStep(int ADirection) {
  if (ADirection < 1 || ADirection > 4 || !UsesScrollBars()) return;
  const TScrollBarKind Kind = ADirection >= 3 ? sbVertical : sbHorizontal;
  const TScrollCode Code = (ADirection == 1 || ADirection == 3) ? scLineUp : scLineDown;
  Integer Pos = BarOf(Kind)->GetPosition();
  ScrollContent(Kind, Code, Pos);
}

void TcxControl::ScrollBarMetricsChanged() {
  if (!UsesScrollBars()) return;
  const int CY = GetSystemMetrics(SM_CYHSCROLL), CX = GetSystemMetrics(SM_CXVSCROLL);
  if (FHScrollBar->GetHeight() == CY && FVScrollBar->GetWidth() == CX) return;
  FHScrollBar->SetHeight(CY);
  FVScrollBar->SetWidth(CX);
  LayoutModified();
}

void TcxControl::InvalidateArea(const TRect& R, bool AEraseBackground) {
  if (HandleAllocated()) InvalidateRect(Handle(), &R, AEraseBackground);
}

bool TcxControl::MayFocusOnClick() const {
  return !IsInDesignMode() && FFocusOnClick && WantsTabStop() && CanFocus();
}

void TcxControl::FocusModified() {
  if (OnFocusChanged.Assigned()) OnFocusChanged(this);
}

void TcxControl::NotifyMouseEnter(TControl*) {
  if (OnMouseEnter.Assigned()) OnMouseEnter(this);
}

void TcxControl::NotifyMouseLeave(TControl*) {
  if (OnMouseLeave.Assigned()) OnMouseLeave(this);
}

void TcxControl::Paint() {
  if (FBorderStyle == cxcbsDefault) {
    GetPainter()->DrawControlBorder(FCanvas.get(), GetPaintBounds());
    FCanvas->IntersectClipRect(GetContentBounds());
  }
  TCustomControl::Paint();
}

void TcxControl::Resize() {
  TCustomControl::Resize();
  LayoutModified();
}

void TcxControl::WndProc(TMessage& Message) {
  TcxObjectLinkGuard Link(this);
  TCustomControl::WndProc(Message);
  if (!Link.Alive()) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusModified(); break;
    default: break;
  }
}

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMouseDownPos = {X, Y};
  TcxObjectLinkGuard Link(this);
  if (MayFocusOnClickAt(X, Y) && !Shift.Contains(ssDouble)) {
    SetFocus();
    if (!Link.Alive()) return;
    if (!HasFocus() && !AcceptsMouseWhenUnfocused()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button == mbLeft && !Shift.Contains(ssDouble) && CanStartDropSession(X, Y)) {
    if (DragAndDropObject()->StartsWithoutThreshold())
      StartDropSession();
    else
      SetDragAndDropState(ddsStarting);
  } else
    EndDragAndDrop(false);
  if (!Link.Alive()) return;
  PreMouseDown(Button, Shift, X, Y);
  if (!Link.Alive()) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Link.Alive() && GetMouseCapture()) FMousePressed = true;
}

void TcxControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  // The cursor follows the point; the control's own cursor stays as it is.
  const TCursor Own = FSavedCursor;
  SetCursor(GetCursorAt(X, Y));
  FSavedCursor = Own;
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragAndDropState == ddsStarting && !IsWithinDragThreshold(FMouseDownPos, X, Y))
    StartDropSession();
  else if (FDragAndDropState == ddsInProcess) {
    bool Accepted = false;
    ContinueDropSession({X, Y}, Accepted);
  }
}

void TcxControl::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) EndDragAndDrop(false);
  TCustomControl::KeyDown(Key, Shift);
}

TcxDragAndDropObject* TcxControl::DragAndDropObject() {
  if (!FDragAndDropObject) FDragAndDropObject = CreateDragAndDropObject();
  return FDragAndDropObject.get();
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState Value) {
  if (FDragAndDropState == Value) return;
  FDragAndDropState = Value;
  if (Value == ddsNone && !FEndingDragAndDrop) MouseOperationsCancelled();
}

void TcxControl::StartDropSession() {
  DragAndDropObject()->Start();
  SetMouseCapture(true);
  FSavedScreenCursor = Screen ? Screen->GetCursor() : crDefault;
  SetDragAndDropState(ddsInProcess);
}

void TcxControl::ContinueDropSession(TPoint P, bool& Accepted) { DragAndDropObject()->Track(P, Accepted); }

void TcxControl::FinishDropSession(bool Accepted) {
  SetDragAndDropState(ddsNone);
  if (Screen) Screen->SetCursor(FSavedScreenCursor);
  SetMouseCapture(false);
  DragAndDropObject()->Finish(Accepted);
}

void TcxControl::EndDragAndDrop(bool Accepted) {
  if (FEndingDragAndDrop) return;
  FEndingDragAndDrop = true;
  if (FDragAndDropState == ddsInProcess)
    FinishDropSession(Accepted);
  else
    SetDragAndDropState(ddsNone);
  FDragAndDropObject.reset();
  FEndingDragAndDrop = false;
}

void TcxControl::MouseOperationsCancelled() { FMousePressed = false; }

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMousePressed = false;
  CompleteMouseAction();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_GETDLGCODE: {
      LRESULT R = 0;
      if (FWantedKeys & (1u << wkAll)) R += DLGC_WANTALLKEYS;
      if (FWantedKeys & (1u << wkArrows)) R += DLGC_WANTARROWS;
      if (FWantedKeys & (1u << wkChars)) R += DLGC_WANTCHARS;
      if ((FWantedKeys & (1u << wkTab)) && !IsCtrlPressed()) R += DLGC_WANTTAB;
      Message.Result = R;
      return;
    }
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(Message);
      if (HandleAllocated()) PostMessageA(Handle(), CM_SCROLLBARMETRICSCHANGED, 0, 0);
      return;
    case CM_SCROLLBARMETRICSCHANGED: ScrollBarMetricsChanged(); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TCustomControl::Dispatch(Message);
      TControl* Who = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
      if (Message.Msg == CM_MOUSEENTER)
        NotifyMouseEnter(Who);
      else
        NotifyMouseLeave(Who);
      return;
    }
    case WM_MOUSEWHEEL: {
      if (GetWheelScrollKind() == 0) break;
      const int Delta = short(HIWORD(Message.WParam));
      for (int i = 0; i < Mouse->WheelScrollLines; ++i) {
        const int Kind = GetWheelScrollKind();
        if (Kind == 0) break;
        ScrollStep(Kind == 2 ? (Delta > 0 ? 3 : 4) : (Delta > 0 ? 1 : 2));
      }
      Message.Result = 1;
      return;
    }
    case WM_CANCELMODE:
      TCustomControl::Dispatch(Message);
      EndDragAndDrop(false);
      MouseOperationsCancelled();
      return;
    case CM_CURSORCHANGED:
      FSavedCursor = GetCursor();
      break;
    case WM_CONTEXTMENU: {
      if (Message.Result != 0 || IsInDesignMode()) break;
      TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      const bool FromKey = P.X == -1 && P.Y == -1;
      if (!FromKey) {
        P = ScreenToClient(P);
        if (!GetClientRect().Contains(P)) break;
      }
      bool Handled = false;
      DoContextPopup(FromKey ? TPoint{-1, -1} : P, Handled);
      Message.Result = Handled ? 1 : 0;
      // Nothing shown here: the parent may have a menu for the point.
      if (!Handled) DefaultHandler(Message);
      return;
    }
    case CN_SYSKEYDOWN:
      if (IsPopupMenuShortCut(Message)) {
        Message.Result = 1;
        return;
      }
      break;
    case CN_KEYDOWN:
      if (IsPopupMenuShortCut(Message)) {
        Message.Result = 1;
        return;
      }
      // Esc during a drag-and-drop ends it, however the form treats Esc.
      if (Message.WParam == VK_ESCAPE && FDragAndDropState != ddsNone) {
        SendMessageA(Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Popup menu

void TcxControl::SetPopupMenu(TComponent* Value) {
  if (Value && !dynamic_cast<TPopupMenu*>(Value) && !dynamic_cast<IcxPopupMenuProvider*>(Value)) Value = nullptr;
  if (Value == FPopupMenuComponent) return;
  if (FPopupMenuComponent) FPopupMenuComponent->RemoveFreeNotification(this);
  FPopupMenuComponent = Value;
  if (FPopupMenuComponent) FPopupMenuComponent->FreeNotification(this);
}

void TcxControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenuComponent) FPopupMenuComponent = nullptr;
}

bool TcxControl::IsPopupMenuShortCut(TMessage& Message) {
  if (IsInDesignMode()) return false;
  for (TControl* C = this; C; C = C->GetParent())
    if (auto* Cx = dynamic_cast<TcxControl*>(C); Cx && IsPopupMenuShortCutKey(Cx->FPopupMenuComponent, Message))
      return true;
  return false;
}

bool TcxControl::PopupContextMenu(TComponent* AMenu, Integer X, Integer Y) {
  return PopupMenuAtPos(this, AMenu, X, Y);
}

// A keyboard request (-1, -1) opens the menu at the control's top-left corner.
void TcxControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  TCustomControl::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const bool FromKey = MousePos.X == -1 && MousePos.Y == -1;
  const TPoint At = ClientToScreen(FromKey ? TPoint{0, 0} : MousePos);
  Handled = PopupContextMenu(FPopupMenuComponent, At.X, At.Y);
}
