#include "controls/splitter/cxSplitter.h"

#include <algorithm>
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/Paint.h"

namespace {

TAlign AlignOf(TcxSplitterAlign A) {
  switch (A) {
    case salBottom: return alBottom;
    case salRight: return alRight;
    case salTop: return alTop;
    default: return alLeft;
  }
}

bool Across(TAlign A) { return A == alLeft || A == alRight; }  // the splitter stands upright

void ProcessPending() {
  if (Application) Application->ProcessMessages();
}

}  // namespace

TcxCustomSplitter::TcxCustomSplitter(TComponent* AOwner) : TcxControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetColor(clBtnFace);
  SetAlign(alNone);
  SetAlignSplitter(salLeft);
  SetWidth(8);
  SetTabStop(false);
}

TcxCustomSplitter::~TcxCustomSplitter() {
  StopSizing();
  FControl = nullptr;
  FHotZone.Set(nullptr);
  if (FPatternBitmap) DeleteObject(FPatternBitmap);
}

void TcxCustomSplitter::Published(TPublished<TcxCustomSplitter>& P) {
  P.Property("AlignSplitter", &TcxCustomSplitter::GetAlignSplitter, &TcxCustomSplitter::SetAlignSplitter)
      .Default(salLeft);
  P.Property("AllowHotZoneDrag", &TcxCustomSplitter::GetAllowHotZoneDrag, &TcxCustomSplitter::SetAllowHotZoneDrag)
      .Default(true);
  P.Property("AutoPosition", &TcxCustomSplitter::GetAutoPosition, &TcxCustomSplitter::SetAutoPosition).Default(true);
  P.Property("AutoSnap", &TcxCustomSplitter::GetAutoSnap, &TcxCustomSplitter::SetAutoSnap).Default(false);
  P.Property("Color", &TcxCustomSplitter::GetColor, &TcxCustomSplitter::SetColor).Default(clBtnFace);
  P.Property("Control", &TcxCustomSplitter::GetControl, &TcxCustomSplitter::SetControl);
  P.Property("DragThreshold", &TcxCustomSplitter::GetDragThreshold, &TcxCustomSplitter::SetDragThreshold).Default(3);
  P.Property("HotZoneClassName", &TcxCustomSplitter::GetHotZoneClassName, &TcxCustomSplitter::SetHotZoneClassName);
  P.Property("HotZone", &TcxCustomSplitter::GetHotZone, &TcxCustomSplitter::SetHotZone);
  P.Property("HotZoneEvents", &TcxCustomSplitter::HotZoneEvents, &TcxCustomSplitter::HotZoneEvents);
  P.Property("InvertDirection", &TcxCustomSplitter::GetInvertDirection, &TcxCustomSplitter::SetInvertDirection)
      .Default(false);
  P.Property("MinSize", &TcxCustomSplitter::GetMinSize, &TcxCustomSplitter::SetMinSize).Default(30);
  P.Property("NativeBackground", &TcxCustomSplitter::GetNativeBackground, &TcxCustomSplitter::SetNativeBackground)
      .Default(true);
  P.Property("PositionAfterOpen", &TcxCustomSplitter::GetPositionAfterOpen, &TcxCustomSplitter::SetPositionAfterOpen)
      .Default(30);
  P.Property("ResizeIgnoreSnap", &TcxCustomSplitter::GetResizeIgnoreSnap, &TcxCustomSplitter::SetResizeIgnoreSnap)
      .Default(false);
  P.Property("ResizeUpdate", &TcxCustomSplitter::GetResizeUpdate, &TcxCustomSplitter::SetResizeUpdate).Default(false);
  P.Property("Visible", &TcxCustomSplitter::GetVisible, &TcxCustomSplitter::SetVisible).Default(true);
  P.Property("OnAfterClose", &TcxCustomSplitter::OnAfterClose, &TcxCustomSplitter::OnAfterClose);
  P.Property("OnAfterOpen", &TcxCustomSplitter::OnAfterOpen, &TcxCustomSplitter::OnAfterOpen);
  P.Property("OnBeforeClose", &TcxCustomSplitter::OnBeforeClose, &TcxCustomSplitter::OnBeforeClose);
  P.Property("OnBeforeOpen", &TcxCustomSplitter::OnBeforeOpen, &TcxCustomSplitter::OnBeforeOpen);
  P.Property("OnCanResize", &TcxCustomSplitter::OnCanResize, &TcxCustomSplitter::OnCanResize);
  P.Property("OnMoved", &TcxCustomSplitter::OnMoved, &TcxCustomSplitter::OnMoved);
}

// --- properties -------------------------------------------------------------

void TcxCustomSplitter::SetAlignSplitter(TcxSplitterAlign Value) {
  FAlignSplitter = Value;
  if (GetHotZone()) UpdateConstraints();
  SetAlign(AlignOf(Value));
}

void TcxCustomSplitter::SetAllowHotZoneDrag(bool Value) {
  if (Value == FAllowHotZoneDrag) return;
  StopSizing();
  FAllowHotZoneDrag = Value;
}

void TcxCustomSplitter::SetNativeBackground(bool Value) {
  FNativeBackground = Value;
  Invalidate();
}

void TcxCustomSplitter::SetInvertDirection(bool Value) {
  FInvertDirection = Value;
  StopSizing();
  Invalidate();
}

void TcxCustomSplitter::SetControl(TControl* Value) {
  if (FControl == Value) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = Value;
  if (FControl) FControl->FreeNotification(this);
}

void TcxCustomSplitter::SetHotZoneClassName(const AnsiString& Value) {
  FHotZone.SetClassName(Value);
  UpdateConstraints();
  Invalidate();
}

void TcxCustomSplitter::SetHotZone(TcxHotZoneStyle* Value) {
  if (Value != FHotZone.Get()) FHotZone.Set(std::unique_ptr<TcxHotZoneStyle>(Value));
  UpdateConstraints();
  Invalidate();
}

int TcxCustomSplitter::GetMinThickness() const { return GetHotZone() ? GetHotZone()->MinThickness() : 8; }
int TcxCustomSplitter::GetMaxThickness() const { return GetHotZone() ? GetHotZone()->MaxThickness() : 8; }

// With a hot zone the splitter's thickness is the style's; without one it
// is free.
void TcxCustomSplitter::UpdateConstraints() {
  TSizeConstraints* C = GetConstraints();
  if (!GetHotZone()) {
    C->SetMinWidth(0), C->SetMaxWidth(0), C->SetMinHeight(0), C->SetMaxHeight(0);
    return;
  }
  const int Min = GetMinThickness(), Max = GetMaxThickness();
  if (FAlignSplitter == salLeft || FAlignSplitter == salRight) {
    C->SetMinHeight(0), C->SetMaxHeight(0);
    C->SetMinWidth(Min), C->SetMaxWidth(Max);
    if (GetWidth() < Min || GetWidth() > Max) SetWidth(Min);
  } else {
    C->SetMinWidth(0), C->SetMaxWidth(0);
    C->SetMinHeight(Min), C->SetMaxHeight(Max);
    if (GetHeight() < Min || GetHeight() > Max) SetHeight(Min);
  }
}

int TcxCustomSplitter::GetArrowDirection() const {
  const bool ToControl = (FState == 0) != FInvertDirection;
  switch (FAlignSplitter) {
    case salLeft: return ToControl ? 1 : 0;
    case salRight: return ToControl ? 0 : 1;
    case salTop: return ToControl ? 3 : 2;
    default: return ToControl ? 2 : 3;
  }
}

int TcxCustomSplitter::GetMinControlSize() const {
  if (!FControl) return FMinSize;
  TSizeConstraints* C = FControl->GetConstraints();
  const bool Vertical = FAlignSplitter == salTop || FAlignSplitter == salBottom;
  return std::max<int>(FMinSize, Vertical ? C->GetMinHeight() : C->GetMinWidth());
}

// --- finding the control ------------------------------------------------------

void TcxCustomSplitter::Loaded() {
  inherited::Loaded();
  if (!FControl) FindControl();
  SetAlignSplitter(FAlignSplitter);
}

void TcxCustomSplitter::FindControl() {
  TWinControl* P = GetParent();
  if (!P) return;
  TPoint Probe;
  switch (GetAlign()) {
    case alTop: Probe = {GetLeft(), GetTop() - 1}; break;
    case alBottom: Probe = {GetLeft(), GetTop() + GetHeight()}; break;
    case alLeft: Probe = {GetLeft() - 1, GetTop()}; break;
    case alRight: Probe = {GetLeft() + GetWidth(), GetTop()}; break;
    default: return;
  }
  for (int I = 0; I < P->ControlCount(); ++I) {
    TControl* C = P->Controls(I);
    if (C == this || !C->GetVisible() || !C->GetEnabled()) continue;
    TRect R = C->BoundsRect();
    // A collapsed control is widened by a pixel towards the splitter.
    if (R.Width() == 0) {
      if (GetAlign() == alLeft) --R.Left; else ++R.Right;
    }
    if (R.Height() == 0) {
      if (GetAlign() == alTop) --R.Top; else ++R.Bottom;
    }
    if (R.Contains(Probe)) {
      SetControl(C);
      return;
    }
    // A control of the same alignment collapsed exactly at our edge.
    if (C->GetAlign() == GetAlign()) {
      const TRect B = C->BoundsRect();
      bool Edge = false;
      switch (GetAlign()) {
        case alLeft: Edge = B.Width() == 0 && B.Right == GetLeft(); break;
        case alRight: Edge = B.Width() == 0 && B.Left == GetLeft() + GetWidth(); break;
        case alTop: Edge = B.Height() == 0 && B.Bottom == GetTop(); break;
        case alBottom: Edge = B.Height() == 0 && B.Top == GetTop() + GetHeight(); break;
        default: break;
      }
      if (Edge) {
        SetControl(C);
        return;
      }
    }
  }
}

void TcxCustomSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

// --- sizes ------------------------------------------------------------------

int TcxCustomSplitter::ControlSize() const {
  if (!FControl) return 0;
  return Across(GetAlign()) ? FControl->GetWidth() : FControl->GetHeight();
}

void TcxCustomSplitter::RecordReopenSize() {
  if (FControl) FReopenSize = ControlSize();
}

void TcxCustomSplitter::CalculateMaxSize() {
  if (!FControl || !GetParent()) return;
  const TRect PC = GetParent()->GetClientRect();
  int M = 0;
  switch (GetAlign()) {
    case alTop: M = PC.Height() - GetHeight() - FControl->GetTop(); break;
    case alBottom: M = FControl->GetTop() + FControl->GetHeight() - GetHeight(); break;
    case alLeft: M = PC.Width() - GetWidth() - FControl->GetLeft(); break;
    case alRight: M = FControl->GetLeft() + FControl->GetWidth() - GetWidth(); break;
    default: break;
  }
  M -= FMinSize;
  TSizeConstraints* C = FControl->GetConstraints();
  const int Limit = Across(GetAlign()) ? C->GetMaxWidth() : C->GetMaxHeight();
  if (Limit != 0 && Limit < M) M = Limit;
  FMaxSize = M;
}

int TcxCustomSplitter::SplitSize(int X, int Y, bool AClamp) {
  const TAlign A = GetAlign();
  const int Split = Across(A) ? X - FDownPoint.X : Y - FDownPoint.Y;
  int Size = 0;
  if (FControl) {
    switch (A) {
      case alTop: Size = FControl->GetHeight() + Split; break;
      case alBottom: Size = FControl->GetHeight() - Split; break;
      case alLeft: Size = FControl->GetWidth() + Split; break;
      case alRight: Size = FControl->GetWidth() - Split; break;
      default: break;
    }
  }
  FSplitOffset = Split;
  if (!AClamp) return Size;
  const int Unclamped = Size;
  const int Min = GetMinControlSize();
  if (Size < 0) Size = 0;
  if (Size >= Min) Size = std::min(Size, FMaxSize);
  else Size = FAutoSnap ? 0 : Min;
  if (Size != Unclamped) {
    const int D = Size - Unclamped;
    FSplitOffset += (A == alBottom || A == alRight) ? -D : D;
  }
  return Size;
}

// --- the inverted line ----------------------------------------------------------

void TcxCustomSplitter::DrawLine(bool AEntire, int ADelta, bool AForward) {
  if (!AEntire && ADelta == 0) return;
  if (!FScreenDC) return;
  FLineVisible = !FLineVisible;
  const bool Upright = Across(GetAlign());
  const TPoint O = ClientToScreen({0, 0});
  TRect R{O.X, O.Y, O.X + GetWidth() - 1, O.Y + GetHeight() - 1};
  const int Shift = FSplitOffset + 1;
  if (Upright) R.Left += Shift, R.Right += Shift;
  else R.Top += Shift, R.Bottom += Shift;
  if (!AEntire) {
    // Only the strip that changed is touched.
    const int D = AForward ? ADelta : -ADelta;
    TRect Moved = R;
    if (Upright) Moved.Left += D, Moved.Right += D;
    else Moved.Top += D, Moved.Bottom += D;
    if (Upright) {
      if (D > 0) R.Right = std::min(R.Right, Moved.Left);
      else R.Left = std::max(R.Left, Moved.Right);
    } else {
      if (D > 0) R.Bottom = std::min(R.Bottom, Moved.Top);
      else R.Top = std::max(R.Top, Moved.Bottom);
    }
  }
  if (R.Right > R.Left && R.Bottom > R.Top) PatBlt(FScreenDC, R.Left, R.Top, R.Width(), R.Height(), PATINVERT);
}

void TcxCustomSplitter::StartSizing() {
  CalculateMaxSize();
  FNewSize = SplitSize(FDownPoint.X, FDownPoint.Y, true);
  FDragState = 1;
  FScreenDC = GetDC(nullptr);
  if (!FResizeUpdate && FScreenDC) {
    if (!FPatternBitmap) {
      // The 8 x 8 black-and-white checker.
      const WORD Bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
      FPatternBitmap = CreateBitmap(8, 8, 1, 1, Bits);
    }
    FDragBrush = CreatePatternBrush(FPatternBitmap);
    FPrevBrush = HBRUSH(SelectObject(FScreenDC, FDragBrush));
  }
  if (TCustomForm* F = GetParentForm(this)) {
    if (TWinControl* A = F->GetActiveControl()) {
      FFocusedControl = A;
      FSavedKeyDown = A->OnKeyDown;
      A->OnKeyDown = TKeyEvent(this, &TcxCustomSplitter::SizingKeyDown);
    }
  }
  if (!FResizeUpdate) DrawLine(true, 0, true);
}

void TcxCustomSplitter::SizingKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  if (Key == 27) {
    // As a release where the splitter itself stands.
    EndSizing(mbLeft, {}, GetLeft(), GetTop());
    return;
  }
  if (FSavedKeyDown.Assigned()) FSavedKeyDown(Sender, Key, Shift);
}

void TcxCustomSplitter::StopSizing() {
  if (FLineVisible) DrawLine(true, 0, true);
  if (FScreenDC) {
    if (FPrevBrush) SelectObject(FScreenDC, FPrevBrush);
    ReleaseDC(nullptr, FScreenDC);
    FScreenDC = nullptr;
  }
  FPrevBrush = nullptr;
  if (FDragBrush) {
    DeleteObject(FDragBrush);
    FDragBrush = nullptr;
  }
  if (FFocusedControl) {
    FFocusedControl->OnKeyDown = FSavedKeyDown;
    FFocusedControl = nullptr;
    FSavedKeyDown = {};
  }
  FLineVisible = false;
  FDragState = 0;
}

void TcxCustomSplitter::ApplySize() {
  if (!FControl || FNewSize == FAppliedSize) return;
  ProcessPending();
  TWinControl* P = GetParent();
  if (P) P->DisableAlign();
  const int S = std::max(0, FNewSize);
  const TRect B = FControl->BoundsRect();
  switch (GetAlign()) {
    case alTop: FControl->SetHeight(S); break;
    case alBottom: FControl->SetBounds(B.Left, B.Bottom - S, B.Width(), S); break;
    case alLeft: FControl->SetWidth(S); break;
    case alRight: FControl->SetBounds(B.Right - S, B.Top, S, B.Height()); break;
    default: break;
  }
  // A control that was collapsed (or never sized) gets the splitter next to
  // it again.
  if (FAppliedSize <= 0) {
    const TRect C = FControl->BoundsRect();
    switch (GetAlign()) {
      case alTop: SetTop(C.Bottom); break;
      case alBottom: SetTop(C.Top - GetHeight()); break;
      case alLeft: SetLeft(C.Right); break;
      case alRight: SetLeft(C.Left - GetWidth()); break;
      default: break;
    }
  }
  if (P) P->EnableAlign();
  FAppliedSize = FNewSize;
  ProcessPending();
  DoMoved();
}

// --- open and close ----------------------------------------------------------------

void TcxCustomSplitter::CloseSplitter() {
  if (FState == 1) return;
  bool Allow = true;
  DoBeforeClose(Allow);
  if (!Allow) return;
  FState = 1;
  FNewSize = 0;
  RecordReopenSize();
  ApplySize();
  DoAfterClose();
  Invalidate();
}

void TcxCustomSplitter::OpenSplitter() {
  if (FState != 1) return;
  int Size = FAutoPosition ? FReopenSize : FPositionAfterOpen;
  Size = std::max(Size, GetMinControlSize());
  bool Allow = true;
  DoBeforeOpen(Size, Allow);
  if (!Allow) return;
  FState = 0;
  FNewSize = Size;
  RecordReopenSize();
  ApplySize();
  DoAfterOpen();
  Invalidate();
}

bool TcxCustomSplitter::DoCanResize(int& NewSize) {
  bool Accept = true;
  if (OnCanResize.Assigned()) OnCanResize(this, NewSize, Accept);
  return Accept;
}

bool TcxCustomSplitter::CanResize(int& NewSize) {
  const bool Accept = DoCanResize(NewSize);
  if (Accept && FAutoSnap && NewSize < GetMinControlSize()) NewSize = 0;
  return Accept;
}

void TcxCustomSplitter::DoBeforeOpen(int& NewSize, bool& AllowOpen) {
  if (OnBeforeOpen.Assigned()) OnBeforeOpen(this, NewSize, AllowOpen);
}
void TcxCustomSplitter::DoAfterOpen() {
  if (OnAfterOpen.Assigned()) OnAfterOpen(this);
}
void TcxCustomSplitter::DoBeforeClose(bool& AllowClose) {
  if (OnBeforeClose.Assigned()) OnBeforeClose(this, AllowClose);
}
void TcxCustomSplitter::DoAfterClose() {
  if (OnAfterClose.Assigned()) OnAfterClose(this);
}
void TcxCustomSplitter::DoMoved() {
  if (OnMoved.Assigned()) OnMoved(this);
}

// --- mouse --------------------------------------------------------------------

TRect TcxCustomSplitter::HotZoneRect() const {
  TcxHotZoneStyle* S = GetHotZone();
  if (!S || !S->GetVisible()) return {0, 0, 0, 0};
  TRect R;
  S->CalculateHotZoneRect(GetClientRect(), R);
  return R;
}

bool TcxCustomSplitter::UpdateHotZoneState(int X, int Y) {
  const TRect R = HotZoneRect();
  const bool In = !R.IsEmpty() && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
  if (In) FMouseFlags |= 2;
  else FMouseFlags &= ~2;
  return In;
}

void TcxCustomSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !FControl) return;
  FDownPoint = {X, Y};
  FSavedShowHint = GetShowHint();
  FSavedParentShowHint = GetParentShowHint();
  SetShowHint(false);
  FMouseFlags |= 1;
  if (UpdateHotZoneState(X, Y)) {
    FDragState = 2;
    FPressPoint = {X, Y};
    Invalidate();
  } else {
    StartSizing();
  }
}

void TcxCustomSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  const int OldFlags = FMouseFlags;
  UpdateHotZoneState(X, Y);
  inherited::MouseMove(Shift, X, Y);
  if (Shift.Contains(ssLeft) && FControl && (FMouseFlags & 1)) {
    if (FDragState == 1) {
      const int OldSplit = FSplitOffset;
      int Size = SplitSize(X, Y, true);
      const int NewSplit = FSplitOffset;
      FSplitOffset = OldSplit;
      if (CanResize(Size)) {
        const int Delta = NewSplit - OldSplit;
        if (!FResizeUpdate) DrawLine(false, Delta, true);
        FNewSize = Size;
        FSplitOffset = NewSplit;
        if (FResizeUpdate) {
          RecordReopenSize();
          ApplySize();
        } else {
          DrawLine(false, Delta, false);
        }
      }
    } else if (FDragState == 2) {
      if (FAllowHotZoneDrag) {
        if (std::abs(X - FPressPoint.X) >= FDragThreshold || std::abs(Y - FPressPoint.Y) >= FDragThreshold) {
          int Size = SplitSize(X, Y, true);
          if (CanResize(Size)) {
            StartSizing();
            Invalidate();
          }
        }
      } else if (OldFlags != FMouseFlags) {
        Invalidate();
      }
    }
    return;
  }
  if (!Shift.Contains(ssLeft) && !Shift.Contains(ssRight) && OldFlags != FMouseFlags) Invalidate();
}

void TcxCustomSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  EndSizing(Button, Shift, X, Y);
}

void TcxCustomSplitter::EndSizing(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  if (!(FMouseFlags & 1) && FDragState == 0) return;
  SetShowHint(FSavedShowHint);
  SetParentShowHint(FSavedParentShowHint);
  FPressPoint = {-1, -1};
  const bool OverHotZone = UpdateHotZoneState(X, Y);
  if (FDragState == 2 && OverHotZone) {
    if (FState == 0) CloseSplitter();
    else OpenSplitter();
  } else if (FControl) {
    const int LastSplit = FSplitOffset;
    StopSizing();
    FSplitOffset = LastSplit;
    const int S = SplitSize(X, Y, false);
    FSplitOffset = LastSplit;
    if (S < FMinSize) {
      if (FState == 0) {
        if (FAutoSnap) FNewSize = 0;
        else FNewSize = FMinSize;
      } else if (S < 0) {
        FNewSize = 0;
      }
    }
    if (S >= 0) RecordReopenSize();
    ApplySize();
    FState = FNewSize <= 0 ? 1 : 0;
  }
  StopSizing();
  FMouseFlags = 0;
  FDragState = 0;
  Invalidate();
}

TCursor TcxCustomSplitter::GetCursorAt(int X, int Y) const {
  const TRect R = HotZoneRect();
  if (!R.IsEmpty() && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) return crDefault;
  const TCursor Own = inherited::GetCursorAt(X, Y);
  if (Own != crDefault) return Own;
  return Across(GetAlign()) ? crHSplit : crVSplit;
}

void TcxCustomSplitter::NotifyMouseLeave(TControl* AControl) {
  inherited::NotifyMouseLeave(AControl);
  if (FMouseFlags & 2) Invalidate();
  FMouseFlags &= ~2;
}

// --- painting -------------------------------------------------------------------

void TcxCustomSplitter::DrawHotZone() {}

void TcxCustomSplitter::Paint() {
  const TRect R = GetClientRect();
  if (R.IsEmpty()) return;
  TBitmap Buffer;
  Buffer.SetSize(R.Width(), R.Height());
  TcxCanvas C(Buffer.Canvas());
  // Visual styles are never available here, so the buffer takes Color.
  C.FillRect(R, GetColor());
  TcxHotZoneStyle* S = GetHotZone();
  if (S && S->GetVisible()) {
    TRect Zone;
    const bool Hot = FMouseFlags & 2, Pressed = (FMouseFlags & 1) && Hot;
    S->DrawHotZone(&C, R, Hot, Pressed, Zone);
  }
  GetCxCanvas()->Draw(0, 0, &Buffer);
}

void RegisterSplitterClasses() {
  RegisterClasses({TcxSplitter::StaticClass()});
}
