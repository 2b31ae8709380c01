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
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Regions.h"
#include "platform/win/Resources.h"
#include "platform/win/SysBitmaps.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

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

// --- TcxControlChildComponent ---

TcxControlChildComponent::TcxControlChildComponent(TComponent* AOwner) : TcxComponent(AOwner) {}

TcxControlChildComponent::TcxControlChildComponent(TcxControl* AControl, bool AAssignOwner)
    : TcxComponent(AAssignOwner && AControl ? AControl->Owner() : nullptr) {
  // Joined through the control, so that a control that goes first lets go of it.
  if (AControl) AControl->AddChildComponent(this);
}

TcxControlChildComponent::~TcxControlChildComponent() {
  if (FControl) FControl->RemoveChildComponent(this);
}

TComponent* TcxControlChildComponent::GetParentComponent() { return FControl; }

void TcxControlChildComponent::SetParentComponent(TComponent* Value) {
  if (auto* C = dynamic_cast<TcxControl*>(Value)) C->AddChildComponent(this);
}

// --- TcxDragControlObject ---

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  if (Accepted && dynamic_cast<TcxControl*>(Control()) && IsCtrlPressed()) return TCursor(crcxDragCopy);
  return TDragControlObject::GetDragCursor(Accepted, X, Y);
}

void TcxDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
  TDragControlObject::Finished(Target, X, Y, Accepted);
  delete this;
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
  if (Dragging()) EndDrag(false);
  FEndingDragAndDrop = true;  // no call-outs while going
  // Child components that outlive the control must not reach back to it.
  for (TcxControlChildComponent* C : std::vector<TcxControlChildComponent*>(FChildComponents)) C->SetControl(nullptr);
  FChildComponents.clear();
  FFontListeners.clear();
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
  // Asked here rather than at construction, where a descendant's answer
  // cannot be heard yet.
  if (UsesDragImages()) {
    TControlStyle S = ControlStyle();
    S.Include(csDisplayDragImage);
    SetControlStyle(S);
  }
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
  const bool LeftPress = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  if (LeftPress && !Dragging() && !IsInDesignMode() && GetDragMode() == dmAutomatic) {
    // The control starts the automatic drag itself once the mouse leaves
    // the threshold square (HandleMouseButtonDown): the press still reaches it.
    if (Message.Msg == WM_LBUTTONDBLCLK && !ControlStyle().Contains(csDoubleClicks)) Message.Msg = WM_LBUTTONDOWN;
    TControlState S = ControlState();
    S.Include(csLButtonDown);
    SetControlState(S);
    Dispatch(Message);
    if (Link.Alive()) {
      S = ControlState();
      S.Exclude(csLButtonDown);
      SetControlState(S);
    }
  } else
    TCustomControl::WndProc(Message);
  if (!Link.Alive()) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusModified(); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      // The message's 16-bit fields cannot hold points of a wider control.
      if (HandleAllocated() && (GetWidth() > 32768 || GetHeight() > 32768)) {
        GetCursorPos(&P);
        P = ScreenToClient(P);
      }
      const TMouseButton B = Message.Msg == WM_LBUTTONDOWN ? mbLeft : Message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      HandleMouseButtonDown(B, P.X, P.Y);
      break;
    }
    default: break;
  }
}

void TcxControl::HandleMouseButtonDown(TMouseButton AButton, int X, int Y) {
  if (AButton == mbLeft && GetDragMode() == dmAutomatic && GetMouseCapture() &&
      (!IsInDesignMode() || AllowAutoDragAt(X, Y, {})) && AllowDragStartAt(X, Y) && DetectDrag(Handle()) == 1)
    BeginDrag(true, -1);
  else if (AButton == mbMiddle)
    RunScrollingAnchor();
}

// ---------------------------------------------------------------------------
// Font listeners and child components

void TcxControl::AddFontListener(IcxFontListener* AListener) {
  if (AListener) FFontListeners.push_back(AListener);
}

void TcxControl::RemoveFontListener(IcxFontListener* AListener) {
  auto It = std::find(FFontListeners.begin(), FFontListeners.end(), AListener);
  if (It != FFontListeners.end()) FFontListeners.erase(It);
}

void TcxControl::FontModified() {
  // A listener may leave the list while it hears the change.
  for (IcxFontListener* L : std::vector<IcxFontListener*>(FFontListeners))
    if (std::find(FFontListeners.begin(), FFontListeners.end(), L) != FFontListeners.end()) L->Changed(this, GetFont());
  Invalidate();
}

void TcxControl::AddChildComponent(TcxControlChildComponent* AComponent) {
  if (!AComponent) return;
  if (AComponent->Control() && AComponent->Control() != this) AComponent->Control()->RemoveChildComponent(AComponent);
  if (std::find(FChildComponents.begin(), FChildComponents.end(), AComponent) == FChildComponents.end())
    FChildComponents.push_back(AComponent);
  AComponent->SetControl(this);
}

void TcxControl::RemoveChildComponent(TcxControlChildComponent* AComponent) {
  auto It = std::find(FChildComponents.begin(), FChildComponents.end(), AComponent);
  if (It != FChildComponents.end()) FChildComponents.erase(It);
  if (AComponent && AComponent->Control() == this) AComponent->SetControl(nullptr);
}

// ---------------------------------------------------------------------------
// Class-library drags

void TcxControl::FillDragImages(TcxDragImageList* AList) {
  const TPoint Size = GetDragImageSize();
  AList->SetSize(Size.X, Size.Y);
  if (Size.X == 0 || Size.Y == 0) return;
  TBitmap Bmp;
  Bmp.SetSize(Size.X, Size.Y);
  TcxCanvas C(Bmp.Canvas());
  PaintDragImage(&C, {0, 0, Size.X, Size.Y});
  AList->AddMasked(&Bmp, Bmp.GetTransparentColor());
}

TcxDragImageList* TcxControl::GetDragImages() {
  if (!UsesDragImages()) return nullptr;
  if (!FDragImages) {
    FDragImages = CreateDragImageList();
    FillDragImages(FDragImages.get());
  }
  return FDragImages->Count() > 0 ? FDragImages.get() : nullptr;
}

void TcxControl::DoStartDrag(TDragObject*& DragObject) {
  Update();
  TCustomControl::DoStartDrag(DragObject);
  if (DragObject) return;
  DragObject = CreateStdDragObject();
  if (DragObject && !AcceptDragObject(DragObject)) {
    delete DragObject;
    DragObject = nullptr;
    CancelDrag();
  }
}

void TcxControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  TCustomControl::DoEndDrag(Target, X, Y);
  FDragImages.reset();
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
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      FontModified();
      return;
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

// ---------------------------------------------------------------------------
// The middle-button scrolling anchor

void CalcScrollingAnchorMove(TPoint AAnchor, int ASize, bool AHorzShown, bool AVertShown, const TRect& AScreen,
                             TPoint P, int& ADirection, int& ASpeed, bool& ALeftZone) {
  TRect Zone{AAnchor.X - ASize / 2, AAnchor.Y - ASize / 2, AAnchor.X - ASize / 2 + ASize,
             AAnchor.Y - ASize / 2 + ASize};
  if (!AHorzShown) {
    Zone.Left = AScreen.Left;
    Zone.Right = AScreen.Right;
  }
  if (!AVertShown) {
    Zone.Top = AScreen.Top;
    Zone.Bottom = AScreen.Bottom;
  }
  if (Zone.Contains(P)) {
    ADirection = 0;
    ASpeed = 0;
    return;
  }
  ALeftZone = true;
  const int DX = P.X - AAnchor.X, DY = P.Y - AAnchor.Y;
  int Distance;
  if (AHorzShown && (!AVertShown || std::abs(DX) > std::abs(DY))) {
    ADirection = DX < 0 ? 1 : 2;
    Distance = std::abs(DX);
  } else {
    ADirection = DY < 0 ? 3 : 4;
    Distance = std::abs(DY);
  }
  ASpeed = std::clamp((Distance - ASize / 2) / 5 + 1, 1, 12);
}

TCursor ScrollingAnchorCursor(int ADirection, bool AHorzShown, bool AVertShown) {
  switch (ADirection) {
    case 1: return TCursor(crcxLeftScroll);
    case 2: return TCursor(crcxRightScroll);
    case 3: return TCursor(crcxUpScroll);
    case 4: return TCursor(crcxDownScroll);
    default:
      if (AHorzShown && AVertShown) return TCursor(crcxFullScroll);
      return TCursor(AHorzShown ? crcxHorScroll : crcxVerScroll);
  }
}

void TcxControl::RunScrollingAnchor() {
  const bool H = HScrollBarShown(), V = VScrollBarShown();
  if ((!H && !V) || FAnchorActive || !HandleAllocated()) return;
  FAnchorActive = true;
  TPoint Anchor;
  GetCursorPos(&Anchor);
  int Direction = 0, Speed = 1, Ticks = 0;
  bool LeftZone = false;

  const char* Name = !H ? "CX_VERSCROLLBITMAP" : !V ? "CX_HORSCROLLBITMAP" : "CX_FULLSCROLLBITMAP";
  HBITMAP Bmp = LoadBitmapA(ProgramInstance(), Name);
  BITMAP Info{};
  if (Bmp) GetObjectA(Bmp, sizeof(Info), &Info);
  // Without its picture the anchor still scrolls; its window is just smaller.
  const int W = Bmp ? Info.bmWidth : 24, Ht = Bmp ? Info.bmHeight : 24;
  HWND Wnd = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP, Anchor.X - W / 2, Anchor.Y - Ht / 2, W, Ht,
                             Handle(), nullptr, nullptr, nullptr);
  auto PaintAnchor = [&] {
    if (!Wnd) return;
    HDC Dc = GetDC(Wnd);
    if (Bmp) {
      HDC Mem = CreateCompatibleDC(Dc);
      HGDIOBJ Old = SelectObject(Mem, Bmp);
      BitBlt(Dc, 0, 0, W, Ht, Mem, 0, 0, SRCCOPY);
      SelectObject(Mem, Old);
      DeleteDC(Mem);
    }
    // The window's round edge, one pixel in the window-text colour.
    HPEN Pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ OldPen = SelectObject(Dc, Pen);
    HGDIOBJ OldBrush = SelectObject(Dc, GetStockObject(NULL_BRUSH));
    Ellipse(Dc, 0, 0, W + 1, Ht + 1);
    SelectObject(Dc, OldBrush);
    DeleteObject(SelectObject(Dc, OldPen));
    ReleaseDC(Wnd, Dc);
  };
  if (Wnd) {
    SetWindowRgn(Wnd, CreateEllipticRgn(0, 0, W + 1, Ht + 1), FALSE);
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PaintAnchor();
  }
  const TRect ScreenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  auto ShowCursorFor = [&] {
    if (::Screen) ::SetCursor(::Screen->Cursors(ScrollingAnchorCursor(Direction, H, V)));
  };
  ShowCursorFor();
  const UINT_PTR Timer = SetTimer(nullptr, 0, 20, nullptr);
  SetCapture(Handle());
  TcxObjectLinkGuard Link(this);
  const HWND Own = Handle();
  TPoint Last = Anchor;
  try {
    MSG Msg;
    while (GetCapture() == Own) {
      const BOOL Got = GetMessageA(&Msg, nullptr, 0, 0);
      if (Got == -1) break;
      if (Got == 0) {
        PostQuitMessage(int(Msg.wParam));
        break;
      }
      const UINT M = Msg.message;
      if (M == WM_PAINT && Msg.hwnd == Wnd && Wnd) {
        // Painted once when shown; the system must not paint it over.
        PAINTSTRUCT Ps;
        BeginPaint(Wnd, &Ps);
        EndPaint(Wnd, &Ps);
        continue;
      }
      if ((M >= WM_LBUTTONDOWN && M <= WM_MBUTTONDOWN) || M == WM_MBUTTONDBLCLK || M == WM_MOUSEWHEEL) break;
      if ((M == WM_KEYDOWN || M == WM_KEYUP) && Msg.wParam == VK_ESCAPE) {
        DispatchMessageA(&Msg);
        break;
      }
      if (M == WM_TIMER && Msg.hwnd == nullptr && Msg.wParam == Timer) {
        ++Ticks;
        if (Speed > 0 && Ticks % (13 - Speed) == 0) ScrollStep(Direction);
        if (!Link.Alive()) break;
        continue;
      }
      if (M == WM_MOUSEMOVE) {
        TPoint P{GET_X_LPARAM(Msg.lParam), GET_Y_LPARAM(Msg.lParam)};
        if (Msg.hwnd) ::ClientToScreen(Msg.hwnd, &P);
        if (P != Last) {
          CalcScrollingAnchorMove(Anchor, W, H, V, ScreenRect, P, Direction, Speed, LeftZone);
          ShowCursorFor();
          Last = P;
        }
        continue;
      }
      if (M == WM_MBUTTONUP) {
        DispatchMessageA(&Msg);
        if (LeftZone) break;
        continue;
      }
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
      if (!Link.Alive()) break;
    }
  } catch (...) {
    if (Link.Alive() && GetCapture() == Own) ReleaseCapture();
    KillTimer(nullptr, Timer);
    if (Wnd) DestroyWindow(Wnd);
    if (Bmp) DeleteObject(Bmp);
    if (Link.Alive()) FAnchorActive = false;
    throw;
  }
  if (GetCapture() == Own) ReleaseCapture();
  KillTimer(nullptr, Timer);
  if (Wnd) DestroyWindow(Wnd);
  if (Bmp) DeleteObject(Bmp);
  if (Link.Alive()) {
    FAnchorActive = false;
    if (::Screen) ::SetCursor(::Screen->Cursors(GetCursorAt(-1, -1)));
  }
}
