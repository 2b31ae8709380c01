#include "controls/base/cxScrollBar.h"

#include <algorithm>
#include "platform/forms/ControlMessages.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/MulDiv.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"

namespace {
constexpr unsigned FirstRepeatDelay = 400;
constexpr unsigned RepeatInterval = 60;
// How far the mouse may stray from the bar while dragging the thumb before
// the thumb snaps back: across the bar and along it.
constexpr int TrackAcross = 136;
constexpr int TrackAlong = 34;
}  // namespace

TSize GetScrollBarMetrics() { return {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)}; }

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FBitmap.SetPixelFormat(pf32bit);
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxScrollBar::LookAndFeelChanged);
  SetControlStyle(TControlStyle{csCaptureMouse, csFramed, csOpaque});
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeChanged = TEvent<void()>(this, &TcxScrollBar::ThemeChanged);
  FTimer = std::make_unique<TcxTimer>();
  FTimer->SetEnabled(false);
  FTimer->SetInterval(FirstRepeatDelay);
  FTimer->SetOnTimer(TNotifyEvent(this, &TcxScrollBar::RepeatTimer));
  // Reached with the keyboard like the class library's scroll bar.
  SetTabStop(true);
  CalcMinThumbLength();
  SetBounds(GetLeft(), GetTop(), 121, GetSystemMetrics(SM_CYHSCROLL));
  CalcRects();
}

TcxScrollBar::~TcxScrollBar() {
  FTimer.reset();
  FThemeNotificator.reset();
}

void TcxScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (ComponentState().Contains(csLoading))
    CalcRects();
  else
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  Invalidate();
}

void TcxScrollBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const bool Changed = AWidth != GetWidth() || AHeight != GetHeight();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Changed && AWidth > 0 && AHeight > 0) {
    FBitmap.SetSize(AWidth, AHeight);
    CalcRects();
  }
}

void TcxScrollBar::CalcMinThumbLength() {
  FMinThumbLength = 8;
  if (!FLookAndFeel) return;
  if (Painter() != TcxWinXPLookAndFeelPainter::Instance()) return;
  HTHEME T = GetThemeHandle(totScrollBar);
  if (!T) return;
  const int Gripper = IsHorizontal() ? 9 : 8;
  TSize Min{}, True{};
  if (GetThemePartSize(T, nullptr, Gripper, 1, nullptr, TS_MIN, &Min) != S_OK) return;
  int L = IsHorizontal() ? Min.cx : Min.cy;
  if (GetThemePartSize(T, nullptr, Gripper, 1, nullptr, TS_TRUE, &True) == S_OK)
    L = std::max(L, (IsHorizontal() ? True.cx : True.cy) + 4);
  FMinThumbLength = std::max(L, 8);
}

void TcxScrollBar::CalcRects() {
  const int W = GetWidth(), H = GetHeight();
  if (IsHorizontal()) {
    const int A = std::min(W / 2, GetSystemMetrics(SM_CYHSCROLL));
    FLineUpRect = {0, 0, A, H};
    FLineDownRect = {W - A, 0, W, H};
  } else {
    const int A = std::min(H / 2, GetSystemMetrics(SM_CXVSCROLL));
    FLineUpRect = {0, 0, W, A};
    FLineDownRect = {0, H - A, W, H};
  }
  CalcThumb();
}

void TcxScrollBar::CalcThumb() {
  FThumbRect = FPageUpRect = FPageDownRect = {};
  if (!GetEnabled()) return;
  const int TrackStart = IsHorizontal() ? FLineUpRect.Right : FLineUpRect.Bottom;
  const int TrackEnd = IsHorizontal() ? FLineDownRect.Left : FLineDownRect.Top;
  const int Track = TrackEnd - TrackStart;
  int Len, Start;
  if (FPageSize != 0) {
    Len = std::min(Track, MulDiv(FPageSize, Track, FMax - FMin + 1));
    if (Track < FMinThumbLength || FMax == FMin) return;
    Len = std::max(Len, FMinThumbLength);
    const int Range = FMax - FMin - FPageSize + 1;
    // A page as large as the range leaves the thumb at the start.
    Start = TrackStart + (Range > 0 ? MulDiv(Track - Len, std::min(FPosition - FMin, Range), Range) : 0);
  } else {
    Len = GetSystemMetrics(IsHorizontal() ? SM_CXHTHUMB : SM_CYVTHUMB);
    if (Track < Len) return;
    Start = (Track - Len <= 0 || FMax == FMin) ? TrackStart
                                               : TrackStart + MulDiv(Track - Len, FPosition - FMin, FMax - FMin);
  }
  const int W = GetWidth(), H = GetHeight();
  if (IsHorizontal()) {
    FThumbRect = {Start, 0, Start + Len, H};
    FPageUpRect = {TrackStart, 0, Start, H};
    FPageDownRect = {Start + Len, 0, TrackEnd, H};
  } else {
    FThumbRect = {0, Start, W, Start + Len};
    FPageUpRect = {0, TrackStart, W, Start};
    FPageDownRect = {0, Start + Len, W, TrackEnd};
  }
}

Integer TcxScrollBar::PositionFromThumb() const {
  int Range = FMax - FMin;
  if (FPageSize > 0) Range -= FPageSize - 1;
  const int TrackStart = IsHorizontal() ? FLineUpRect.Right : FLineUpRect.Bottom;
  const int TrackEnd = IsHorizontal() ? FLineDownRect.Left : FLineDownRect.Top;
  const int Len = IsHorizontal() ? FThumbRect.Width() : FThumbRect.Height();
  const int Free = TrackEnd - TrackStart - Len;
  if (Free <= 0) return FMin;
  return FMin + MulDiv(Range, Along(FThumbRect.TopLeft()) - TrackStart, Free);
}

void TcxScrollBar::ApplyRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize, bool ARedraw) {
  if (AMax < AMin || AMax < APageSize) throw EInvalidOperation("Scrollbar property out of range");
  bool Redraw = ARedraw && HandleAllocated();
  APosition = std::clamp(APosition, AMin, AMax);
  if (FMin == AMin && FMax == AMax && FPageSize == APageSize && FPosition == APosition)
    Redraw = false;
  else {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
  }
  if (FPosition == APosition) {
    CalcThumb();
    if (Redraw) Repaint();
    return;
  }
  SetEnabled(true);
  FPosition = APosition;
  CalcThumb();
  if (Redraw) Repaint();
  NotifyChange();
}

void TcxScrollBar::NotifyChange() {
  if (OnChange.Assigned()) OnChange(this);
}

void TcxScrollBar::NotifyScroll(TScrollCode ScrollCode, Integer& ScrollPos) {
  if (OnScroll.Assigned()) OnScroll(this, ScrollCode, ScrollPos);
}

void TcxScrollBar::Scroll(TScrollCode ScrollCode) {
  Integer P = FPosition;
  switch (ScrollCode) {
    case scLineUp: P -= FSmallChange; break;
    case scLineDown: P += FSmallChange; break;
    case scPageUp: P -= FLargeChange; break;
    case scPageDown: P += FLargeChange; break;
    case scTop: P = FMin; break;
    case scBottom: P = FMax; break;
    default: break;
  }
  P = std::clamp(P, FMin, FMax);
  NotifyScroll(ScrollCode, P);
  P = std::clamp(P, FMin, FMax);
  if (P == FPosition) return;
  if (ScrollCode == scTrack) {
    FPosition = P;
    CalcThumb();
    Repaint();
  } else
    SetPosition(P);
}

TcxScrollBarPart TcxScrollBar::HitTest(TPoint P) const {
  if (!GetClientRect().Contains(P)) return sbpNone;
  if (FLineUpRect.Contains(P)) return sbpLineUp;
  if (FLineDownRect.Contains(P)) return sbpLineDown;
  if (FThumbRect.IsEmpty()) return sbpNone;
  if (FThumbRect.Contains(P)) return sbpThumbnail;
  if (FPageUpRect.Contains(P)) return sbpPageUp;
  if (FPageDownRect.Contains(P)) return sbpPageDown;
  return sbpNone;
}

void TcxScrollBar::StepPart(TcxScrollBarPart APart) {
  static constexpr TScrollCode Codes[] = {scEndScroll, scLineUp, scLineDown, scTrack, scPageUp, scPageDown};
  Scroll(Codes[APart]);
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TcxScrollBarPart Part = HitTest({X, Y});
  if (Part == sbpThumbnail) {
    FDownPoint = {X, Y};
    FDownPosition = FPosition;
    FDownThumbTopLeft = FThumbRect.TopLeft();
    Scroll(scTrack);
  }
  FPressedPart = FHotPart = Part;
  if (Part != sbpNone && Part != sbpThumbnail) {
    StepPart(Part);
    FTimer->SetInterval(FirstRepeatDelay);
    FTimer->SetEnabled(true);
  }
  Repaint();
}

void TcxScrollBar::RepeatTimer(TObject*) {
  const bool Repeating = FPressedPart == sbpLineUp || FPressedPart == sbpLineDown || FPressedPart == sbpPageUp ||
                         FPressedPart == sbpPageDown;
  if (!GetMouseCapture() || !Repeating) {
    EndScrolling();
    return;
  }
  FTimer->SetInterval(RepeatInterval);
  StepPart(FPressedPart);
  TPoint P;
  GetCursorPos(&P);
  // Holding the button on a page area stops once the thumb reaches the cursor.
  FTimer->SetEnabled(HitTest(ScreenToClient(P)) == FPressedPart);
}

void TcxScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const TPoint P{X, Y};
  if (FPressedPart == sbpThumbnail) {
    const int W = GetWidth(), H = GetHeight();
    const TRect Area = IsHorizontal() ? TRect{-TrackAlong, -TrackAcross, W + TrackAlong, H + TrackAcross}
                                      : TRect{-TrackAcross, -TrackAlong, W + TrackAcross, H + TrackAlong};
    if (FUnlimitedTracking || Area.Contains(P)) {
      const int Offset = IsHorizontal() ? X - FDownPoint.X : Y - FDownPoint.Y;
      const int TrackStart = IsHorizontal() ? FLineUpRect.Right : FLineUpRect.Bottom;
      const int TrackEnd = IsHorizontal() ? FLineDownRect.Left : FLineDownRect.Top;
      const int Len = IsHorizontal() ? FThumbRect.Width() : FThumbRect.Height();
      const int Start = std::clamp(Along(FDownThumbTopLeft) + Offset, TrackStart, TrackEnd - Len);
      if (IsHorizontal()) {
        FThumbRect = {Start, 0, Start + Len, H};
        FPageUpRect = {TrackStart, 0, Start, H};
        FPageDownRect = {Start + Len, 0, TrackEnd, H};
      } else {
        FThumbRect = {0, Start, W, Start + Len};
        FPageUpRect = {0, TrackStart, W, Start};
        FPageDownRect = {0, Start + Len, W, TrackEnd};
      }
      Repaint();
      const Integer NewPos = PositionFromThumb();
      if (NewPos != FPosition) {
        FPosition = NewPos;
        Scroll(scTrack);
      }
    } else {
      // Too far away: the thumb goes back to where the drag began.
      if (FPosition != FDownPosition) SetPosition(FDownPosition);
      CalcThumb();
      Repaint();
      Scroll(scTrack);
    }
  } else if (FPressedPart != sbpNone)
    FTimer->SetEnabled(HitTest(P) == FPressedPart);
  const TcxScrollBarPart Hot = HitTest(P);
  if (Hot != FHotPart) {
    FHotPart = Hot;
    if (Painter()->HotTracksButtons()) Repaint();
  }
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  EndScrolling();
  FHotPart = HitTest({X, Y});
}

void TcxScrollBar::EndScrolling() {
  if (FPressedPart == sbpNone) return;
  if (FPressedPart == sbpThumbnail) {
    SetPosition(PositionFromThumb());
    Scroll(scPosition);
  }
  FTimer->SetEnabled(false);
  FPressedPart = FHotPart = sbpNone;
  Scroll(scEndScroll);
  CalcThumb();
  Invalidate();
}

void TcxScrollBar::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_LEFT:
    case VK_UP: Scroll(scLineUp); break;
    case VK_RIGHT:
    case VK_DOWN: Scroll(scLineDown); break;
    case VK_PRIOR: Scroll(scPageUp); break;
    case VK_NEXT: Scroll(scPageDown); break;
    case VK_HOME: Scroll(scTop); break;
    case VK_END: Scroll(scBottom); break;
    default: return;
  }
}

void TcxScrollBar::KeyUp(Word& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  switch (Key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: Scroll(scEndScroll); break;
    default: break;
  }
}

TcxButtonState TcxScrollBar::PartState(TcxScrollBarPart APart) const {
  if (!GetEnabled()) return cxbsDisabled;
  if (APart == sbpThumbnail && !Painter()->HotTracksButtons() && FPressedPart != sbpThumbnail) return cxbsNormal;
  if (FPressedPart != sbpNone) return (APart == FPressedPart && APart == FHotPart) ? cxbsPressed : cxbsNormal;
  return (APart == FHotPart && !ComponentState().Contains(csDesigning)) ? cxbsHot : cxbsNormal;
}

void TcxScrollBar::Paint() {
  if (FBitmap.GetWidth() != GetWidth() || FBitmap.GetHeight() != GetHeight()) FBitmap.SetSize(GetWidth(), GetHeight());
  TcxCanvas C(FBitmap.Canvas());
  const TcxLookAndFeelPainterClass P = Painter();
  const bool H = IsHorizontal();
  if (FThumbRect.IsEmpty())
    P->DrawScrollPart(&C, H, GetClientRect(), sbpPageUp, GetEnabled() ? cxbsNormal : cxbsDisabled);
  else {
    P->DrawScrollPart(&C, H, FThumbRect, sbpThumbnail, PartState(sbpThumbnail));
  }
  P->DrawScrollPart(&C, H, FLineUpRect, sbpLineUp, PartState(sbpLineUp));
  P->DrawScrollPart(&C, H, FLineDownRect, sbpLineDown, PartState(sbpLineDown));
  if (!FThumbRect.IsEmpty()) {
    if (!FPageUpRect.IsEmpty()) P->DrawScrollPart(&C, H, FPageUpRect, sbpPageUp, PartState(sbpPageUp));
    if (!FPageDownRect.IsEmpty()) P->DrawScrollPart(&C, H, FPageDownRect, sbpPageDown, PartState(sbpPageDown));
  }
  BitBlt(Canvas()->GetHandle(), 0, 0, GetWidth(), GetHeight(), FBitmap.Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TcxScrollBar::MouseEnterRepaint() {
  if (Painter()->HotTracksButtons() || (FPressedPart != sbpNone && FPressedPart != sbpThumbnail)) Repaint();
}

void TcxScrollBar::MouseLeaveRepaint() {
  if (FPressedPart != sbpThumbnail) FHotPart = sbpNone;
  if (Painter()->HotTracksButtons() || (FPressedPart != sbpNone && FPressedPart != sbpThumbnail)) Invalidate();
}

void TcxScrollBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  CalcMinThumbLength();
  CalcRects();
  Invalidate();
}

void TcxScrollBar::ThemeChanged() {
  CalcMinThumbLength();
  CalcRects();
  RefreshCheckerBitmaps();
  Invalidate();
  if (TWinControl* P = GetParent()) P->Realign();
}

void TcxScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_CANCELMODE:
      EndScrolling();
      break;
    case CN_HSCROLL:
    case CN_VSCROLL:
      Scroll(TScrollCode(LOWORD(Message.WParam)));
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      CalcRects();
      if (!GetEnabled()) EndScrolling();
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      TCustomControl::Dispatch(Message);
      if (!GetVisible()) EndScrolling();
      return;
    case CM_SYSCOLORCHANGE:
      RefreshCheckerBitmaps();
      break;
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(Message);
      MouseEnterRepaint();
      return;
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(Message);
      MouseLeaveRepaint();
      return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}
