#include "platform/forms/ScrollBar.h"

#include <algorithm>

#include "platform/forms/ControlProps_p.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Window.h"

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csCaptureMouse);
  FControlStyle.Exclude(csDoubleClicks);
  FTabStop = true;
  SetBounds(FLeft, FTop, 121, 17);
}

void TScrollBar::Published(TPublished<TScrollBar>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TScrollBar);
  P.Property("Kind", &TScrollBar::GetKind, &TScrollBar::SetKind).Default(sbHorizontal);
  P.Property("LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange).Default(1);
  P.Property("Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
  P.Property("Min", &TScrollBar::GetMin, &TScrollBar::SetMin).Default(0);
  P.Property("PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize).Default(0);
  P.Property("Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition).Default(0);
  P.Property("SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange).Default(1);
  P.Property("TabStop", &TScrollBar::GetTabStop, &TScrollBar::SetTabStop).Default(true);
  P.Property("OnChange", &TScrollBar::OnChange, &TScrollBar::OnChange);
  P.Property("OnScroll", &TScrollBar::OnScroll, &TScrollBar::OnScroll);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FKind == sbVertical) Params.Style |= SBS_VERT;
}

void TScrollBar::CreateWnd() {
  InitCommonControls();
  WNDCLASSA C;
  if (!GetClassInfoA(nullptr, SCROLLBAR_CLASS, &C)) throw EOutOfResources("Error creating window");
  inherited::CreateWnd();
  FDefWndProc = C.lpfnWndProc;
  Apply();
}

void TScrollBar::Apply() {
  if (!FHandle) return;
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  Si.nMin = FMin;
  Si.nMax = FMax;
  Si.nPage = UINT(FPageSize);
  Si.nPos = FPosition;
  SetScrollInfo(FHandle, SB_CTL, &Si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TScrollBar::SetPageSize(Integer Value) {
  if (FPageSize == Value || Value < 0 || Value > FMax - FMin + 1) return;
  FPageSize = Value;
  Apply();
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  if (AMax < AMin) throw EInvalidOperation("Scroll bar property out of range");
  const Integer Top = FPageSize > 0 ? std::max(AMin, AMax - FPageSize + 1) : AMax;
  APosition = std::clamp(APosition, AMin, Top);
  const bool Changed = APosition != FPosition;
  if (AMin == FMin && AMax == FMax && !Changed) return;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  Apply();
  if (Changed) Change();
}

void TScrollBar::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos) {
  if (OnScroll.Assigned()) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& Message) {
  const Word Code = LOWORD(Message.WParam);
  Integer Pos = FPosition;
  TScrollCode Sc = scEndScroll;
  switch (Code) {
    case SB_LINEUP: Sc = scLineUp; Pos -= FSmallChange; break;
    case SB_LINEDOWN: Sc = scLineDown; Pos += FSmallChange; break;
    case SB_PAGEUP: Sc = scPageUp; Pos -= FLargeChange; break;
    case SB_PAGEDOWN: Sc = scPageDown; Pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      Sc = Code == SB_THUMBPOSITION ? scPosition : scTrack;
      // The 16-bit word of the message loses large positions: ask the bar.
      SCROLLINFO Si;
      Si.fMask = SIF_TRACKPOS;
      Pos = GetScrollInfo(FHandle, SB_CTL, &Si) ? Si.nTrackPos : Integer(SHORT(HIWORD(Message.WParam)));
      break;
    }
    case SB_TOP: Sc = scTop; Pos = FMin; break;
    case SB_BOTTOM: Sc = scBottom; Pos = FMax; break;
    case SB_ENDSCROLL: Sc = scEndScroll; break;
    default: return;
  }
  const Integer Top = FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
  Pos = std::clamp(Pos, FMin, Top);
  Scroll(Sc, Pos);
  SetPosition(Pos);
}

void TScrollBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    DoScroll(Message);
    Message.Result = 0;
    return;
  }
  inherited::Dispatch(Message);
}
