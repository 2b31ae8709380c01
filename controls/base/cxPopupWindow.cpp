#include "controls/base/cxPopupWindow.h"

#include <algorithm>
#include "controls/base/cxControlHelpers.h"
#include "platform/forms/ControlMessages.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

TcxPopupWindow::TcxPopupWindow() : TForm(nullptr) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  // The frame is painted even while the form has no children.
  SetControlState(ControlState() + TControlState{csCustomPaint});
}

TcxPopupWindow::~TcxPopupWindow() = default;

void TcxPopupWindow::ShiftChildren(int DX, int DY) {
  if (DX == 0 && DY == 0) return;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    C->SetBounds(C->GetLeft() + DX, C->GetTop() + DY, C->GetWidth(), C->GetHeight());
  }
}

void TcxPopupWindow::SetFrameStyle(TcxPopupFrameStyle Value) {
  ShiftChildren(-FAppliedShift.X, -FAppliedShift.Y);
  FAppliedShift = {};
  FFrameStyle = Value;
}

int TcxPopupWindow::GetFrameWidth(TcxBorder) const {
  switch (FFrameStyle) {
    case fsFlat:
    case fsRaisedInner: return 1;
    case fsRaised: return 2;
    default: return 0;
  }
}

void TcxPopupWindow::CalcPopupSize() {
  if (!Adjustable) return;
  // The children's natural places are where they stand less the shift of
  // the previous sizing, so sizing twice changes nothing.
  ShiftChildren(-FAppliedShift.X, -FAppliedShift.Y);
  int MaxRight = 0, MaxBottom = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    const TControl* C = Controls(i);
    MaxRight = std::max(MaxRight, C->GetLeft() + C->GetWidth());
    MaxBottom = std::max(MaxBottom, C->GetTop() + C->GetHeight());
  }
  FAppliedShift = {GetSideWidth(bLeft), GetSideWidth(bTop)};
  ShiftChildren(FAppliedShift.X, FAppliedShift.Y);
  if (MaxRight != 0 || ControlCount() > 0) {
    SetWidth(GetSideWidth(bLeft) + MaxRight + GetSideWidth(bRight));
    SetHeight(GetSideWidth(bTop) + MaxBottom + GetSideWidth(bBottom));
  }
}

TRect TcxPopupWindow::GetOwnerScreenRect() const {
  TRect R = OwnerBounds;
  if (OwnerParent) {
    const TPoint A = OwnerParent->ClientToScreen(R.TopLeft()), B = OwnerParent->ClientToScreen(R.BottomRight());
    R = {A, B};
  }
  return R;
}

void TcxPopupWindow::PreparePopup() {
  if (OwnerParent)
    if (TFont* F = OwnerParent->GetFont()) GetFont()->Assign(F);
}

void TcxPopupWindow::CalcPosition(TPoint& P) {
  const TRect R = GetOwnerScreenRect();
  TcxPopupAlignHorz AH = AlignHorz;
  TcxPopupAlignVert AV = AlignVert;
  const int W = GetWidth(), H = GetHeight();
  TPoint A{R.Left, R.Bottom};
  if (AH == pahCenter) A.X = P.X = (R.Left + R.Right - W) / 2;
  if (AV == pavCenter) A.Y = P.Y = (R.Top + R.Bottom - H) / 2;
  auto Place = [&] {
    if (Direction == pdHorizontal) {
      if (AH == pahLeft) A.X = R.Left, P.X = R.Left - W;
      if (AH == pahRight) A.X = P.X = R.Right;
      if (AV == pavTop) A.Y = P.Y = R.Top;
      if (AV == pavBottom) P.Y = R.Bottom - H, A.Y = R.Bottom;
    } else {
      if (AH == pahLeft) A.X = P.X = R.Left;
      if (AH == pahRight) P.X = R.Right - W, A.X = R.Right;
      if (AV == pavTop) P.Y = R.Top - H, A.Y = R.Top;
      if (AV == pavBottom) A.Y = P.Y = R.Bottom;
    }
  };
  Place();
  TRect Work;
  GetMonitorWorkArea(A, Work);
  if (Direction == pdHorizontal) {
    const int Before = R.Left - Work.Left, After = Work.Right - R.Right;
    if (AH == pahLeft && P.X < Work.Left && Before <= After) AH = pahRight;
    else if (AH == pahRight && P.X + W > Work.Right && Before > After) AH = pahLeft;
  } else {
    const int Before = R.Top - Work.Top, After = Work.Bottom - R.Bottom;
    if (AV == pavTop && P.Y < Work.Top && Before <= After) AV = pavBottom;
    else if (AV == pavBottom && P.Y + H > Work.Bottom && Before > After) AV = pavTop;
  }
  Place();
  if (Direction == pdVertical || AH == pahCenter) {
    if (P.X + W > Work.Right) P.X = Work.Right - W;
    if (P.X < Work.Left) P.X = Work.Left;
  }
  if (Direction == pdHorizontal || AV == pavCenter) {
    if (P.Y + H > Work.Bottom) P.Y = Work.Bottom - H;
    if (P.Y < Work.Top) P.Y = Work.Top;
  }
}

void TcxPopupWindow::PaintFrame(TcxCanvas* ACanvas) {
  const TRect R{0, 0, GetWidth(), GetHeight()};
  switch (FFrameStyle) {
    case fsFlat: ACanvas->FrameSides(R, FrameColor, 1, cxBordersAll); break;
    case fsRaisedInner: ACanvas->Draw3DEdgeRing(R, false, false); break;
    case fsRaised: {
      ACanvas->Draw3DEdgeRing(R, false, true);
      TRect I = R;
      I.Left += 1;
      I.Top += 1;
      I.Right -= 1;
      I.Bottom -= 1;
      ACanvas->Draw3DEdgeRing(I, false, false);
      break;
    }
    default: break;
  }
}

void TcxPopupWindow::Popup() {
  PreparePopup();
  CalcPopupSize();
  TPoint P;
  CalcPosition(P);
  SetLeft(P.X);
  CalcPosition(P);
  SetTop(P.Y);
  Show();
}

void TcxPopupWindow::HidePopup() {
  if (FHiding || !GetVisible()) return;
  FHiding = true;
  // Whoever had the activation before gets it back when the popup still
  // holds it (Esc); a click elsewhere has already given it away.
  const bool WasActive = HandleAllocated() && GetActiveWindow() == Handle();
  Hide();
  if (WasActive && FPrevActiveWnd && IsWindow(FPrevActiveWnd) && IsWindowVisible(FPrevActiveWnd))
    SetActiveWindow(FPrevActiveWnd);
  FHiding = false;
}

void TcxPopupWindow::PaintWindow(HDC DC) {
  inherited::PaintWindow(DC);
  TCanvas C;
  C.SetHandle(DC);
  TcxCanvas Cx(&C);
  PaintFrame(&Cx);
  C.SetHandle(nullptr);
}

void TcxPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      inherited::Dispatch(Message);
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        FPrevActiveWnd = HWND(Message.LParam);
        if (FPrevActiveWnd && IsWindow(FPrevActiveWnd)) SendMessageA(FPrevActiveWnd, WM_NCACTIVATE, TRUE, 0);
      }
      return;
    case WM_ACTIVATEAPP:
      inherited::Dispatch(Message);
      if (Message.WParam == 0) {
        if (FPrevActiveWnd && IsWindow(FPrevActiveWnd)) SendMessageA(FPrevActiveWnd, WM_NCACTIVATE, FALSE, 0);
        HidePopup();
      }
      return;
    case CM_DEACTIVATE:
      inherited::Dispatch(Message);
      HidePopup();
      return;
    case CM_DIALOGKEY:
      if (Message.WParam == VK_ESCAPE) {
        HidePopup();
        Message.Result = 1;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_ESCAPE) {
        HidePopup();
        return;
      }
      break;
    case CM_VISIBLECHANGED:
      inherited::Dispatch(Message);
      VisibilityModified();
      return;
    default:
      break;
  }
  inherited::Dispatch(Message);
}
