// dxBarExtDateNav.cpp — the date combo's drop-down calendar.
#include <algorithm>
#include <cmath>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/drawing/dxBarDrawing.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/DcApi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

namespace {

double DateOf(double D) { return std::floor(D + 1e-11); }

double FirstOfMonth(double D) {
  Word Y, M, Day;
  DecodeDate(DateOf(D), Y, M, Day);
  return EncodeDate(Y, M, 1);
}

double ShiftMonth(double First, Integer Delta) {
  Word Y, M, Day;
  DecodeDate(First, Y, M, Day);
  Integer Months = Integer(Y) * 12 + (M - 1) + Delta;
  if (Months < 12) Months = 12;  // year 1 at the earliest
  return EncodeDate(Word(Months / 12), Word(Months % 12 + 1), 1);
}

}  // namespace

TdxBarDateNavigator::TdxBarDateNavigator(TComponent* AOwner, TdxBarDateCombo* ACombo)
    : TCustomControl(AOwner), FCombo(ACombo) {
  SetVisible(false);
  SetBounds(0, 0, 20, 20);
  FFirstDate = FirstOfMonth(Date());
  FSelStart = DateOf(Date());
  if (Application && Application->Handle()) SetParentWindow(Application->Handle());
}

void TdxBarDateNavigator::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TdxBarDateNavigator::CalcMetrics() {
  // Measured on a canvas of its own: the window's draws only while painting.
  TBitmap Measure;
  Measure.SetWidth(1);
  Measure.SetHeight(1);
  TCanvas* M = Measure.Canvas();
  M->Font()->Assign(GetFont());
  const TSize Z = M->TextExtent("0");
  // Two digits with room around them, whatever the font's digit shapes.
  FColWidth = std::max<Integer>(3 * Z.cx, M->TextWidth("00") + 8);
  FSideWidth = 2 * Z.cx;
  FRowHeight = Z.cy + 2;
  FHeaderHeight = Z.cy + 4 + 1;
  FDaysOfWeekHeight = FRowHeight + 1;
  FTodayButtonWidth = M->TextWidth(dxBarStr(dxSBAR_DATETODAY)) + FColWidth;
  FClearButtonWidth = M->TextWidth(dxBarStr(dxSBAR_DATECLEAR)) + FColWidth;
  const Integer Size = std::max<Integer>(GetFont()->GetSize(), 8);
  FButtonsOffset = Size / 2;
  FButtonsHeight = MulDiv(Size, 5, 2);
  FButtonsRegionHeight = Size * 3 / 4 + FButtonsHeight + FButtonsOffset;
  const bool Buttons = ShowTodayButton || ShowClearButton;
  SetBounds(GetLeft(), GetTop(), 2 + 2 * FSideWidth + 7 * FColWidth,
            2 + FHeaderHeight + FDaysOfWeekHeight + 6 * FRowHeight + 1 + (Buttons ? FButtonsRegionHeight : 0));
}

void TdxBarDateNavigator::SetFirstDate(double D) {
  const double F = FirstOfMonth(D);
  if (F == FFirstDate) return;
  FFirstDate = F;
  Invalidate();
}

void TdxBarDateNavigator::SetSelStart(double D) {
  FSelStart = D == dxBarNullDate ? D : DateOf(D);
  // The chosen day is always in view.
  if (FSelStart != dxBarNullDate &&
      (FSelStart < GetFirstVisibleDate() || FSelStart > GetLastVisibleDate()))
    SetFirstDate(FSelStart);
  Invalidate();
}

Integer TdxBarDateNavigator::GetDayOffset(double D) const {
  // DayOfWeek: 1 Sunday .. 7 Saturday; the first day of the week 0 Sunday ..
  Integer O = Integer(DayOfWeek(D)) - Integer(dxBarFirstDayOfWeek()) - 1;
  if (O < 0) O += 7;
  return O;
}

double TdxBarDateNavigator::GetFirstVisibleDate() const {
  const Integer O = GetDayOffset(FFirstDate);
  // The grid always starts with days of the month before.
  return FFirstDate - (O == 0 ? 7 : O);
}

double TdxBarDateNavigator::GetLastVisibleDate() const { return GetFirstVisibleDate() + 41; }

double TdxBarDateNavigator::GetDateAtPos(TPoint P) const {
  const Integer Top = FHeaderHeight + FDaysOfWeekHeight;
  const Integer X = P.X - FSideWidth, Y = P.Y - Top;
  if (X < 0 || Y < 0 || X >= 7 * FColWidth || Y >= 6 * FRowHeight) return dxBarNullDate;
  return GetFirstVisibleDate() + 7 * (Y / FRowHeight) + X / FColWidth;
}

TRect TdxBarDateNavigator::PrevMonthRect() const { return {0, 0, FSideWidth + FColWidth, FHeaderHeight}; }
TRect TdxBarDateNavigator::NextMonthRect() const {
  const Integer W = ClientWidth();
  return {W - FSideWidth - FColWidth, 0, W, FHeaderHeight};
}

TRect TdxBarDateNavigator::TodayButtonRect() const {
  if (!ShowTodayButton) return {};
  const Integer Top = FHeaderHeight + FDaysOfWeekHeight + 6 * FRowHeight + 1 + FButtonsOffset;
  const Integer Total = FTodayButtonWidth + (ShowClearButton ? FClearButtonWidth + FColWidth : 0);
  const Integer L = (ClientWidth() - Total) / 2;
  return {L, Top, L + FTodayButtonWidth, Top + FButtonsHeight};
}

TRect TdxBarDateNavigator::ClearButtonRect() const {
  if (!ShowClearButton) return {};
  const Integer Top = FHeaderHeight + FDaysOfWeekHeight + 6 * FRowHeight + 1 + FButtonsOffset;
  const Integer Total = FClearButtonWidth + (ShowTodayButton ? FTodayButtonWidth + FColWidth : 0);
  const Integer L = (ClientWidth() - Total) / 2 + (ShowTodayButton ? FTodayButtonWidth + FColWidth : 0);
  return {L, Top, L + FClearButtonWidth, Top + FButtonsHeight};
}

void TdxBarDateNavigator::Paint() {
  TCanvas* C = Canvas();
  C->Font()->Assign(GetFont());
  HDC DC = C->GetHandle();
  const TRect Client = GetClientRect();
  C->Brush()->SetColor(clWindow);
  C->FillRect(Client);
  auto Centred = [&](TRect R, const AnsiString& S, TColor Color) {
    // Over whatever the cell holds: no background of its own.
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
    HDC H = C->GetHandle();
    SetBkMode(H, TRANSPARENT);
    AnsiString T = S;
    DrawTextA(H, T.data(), int(T.size()), &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
  };
  // The title: the month and year between the arrows.
  TRect Head{0, 0, Client.Right, FHeaderHeight};
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Head);
  dxDrawEdge(DC, Head, BDR_RAISEDINNER, BF_RECT);
  Word Y, M, D;
  DecodeDate(FFirstDate, Y, M, D);
  Centred(Head, FormatSettings().LongMonthNames[M - 1] + " " + IntToStr(Y), clBtnText);
  {
    // The arrows point left and right: drawn as small triangles.
    auto Tri = [&](TRect R, bool Left) {
      const Integer CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
      const TPoint Pts[3] = {Left ? TPoint{CX + 2, CY - 4} : TPoint{CX - 2, CY - 4},
                             Left ? TPoint{CX + 2, CY + 4} : TPoint{CX - 2, CY + 4},
                             Left ? TPoint{CX - 2, CY} : TPoint{CX + 2, CY}};
      dxPolygon(DC, Pts, 3, clBtnText);
    };
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(PrevMonthRect());
    C->FillRect(NextMonthRect());
    Tri(PrevMonthRect(), true);
    Tri(NextMonthRect(), false);
  }
  // The weekday names, starting with the first day of the week.
  const Integer WeekTop = FHeaderHeight;
  for (Integer I = 0; I < 7; ++I) {
    const Integer Day = (Integer(dxBarFirstDayOfWeek()) + I) % 7;
    const TRect R{FSideWidth + I * FColWidth, WeekTop, FSideWidth + (I + 1) * FColWidth, WeekTop + FRowHeight};
    Centred(R, FormatSettings().ShortDayNames[std::size_t(Day)].substr(0, 1), clWindowText);
  }
  dxLine(DC, FSideWidth, WeekTop + FRowHeight, Client.Right - FSideWidth, WeekTop + FRowHeight, clBtnShadow);
  // The days: the month's own in the window text colour, the neighbours'
  // greyed, the chosen one highlighted, today framed.
  const Integer GridTop = FHeaderHeight + FDaysOfWeekHeight;
  const double First = GetFirstVisibleDate(), Last = ShiftMonth(FFirstDate, 1);
  const double Today = DateOf(Date());
  for (Integer I = 0; I < 42; ++I) {
    const double Day = First + I;
    const TRect R{FSideWidth + (I % 7) * FColWidth, GridTop + (I / 7) * FRowHeight,
                  FSideWidth + (I % 7 + 1) * FColWidth, GridTop + (I / 7 + 1) * FRowHeight};
    const bool Own = Day >= FFirstDate && Day < Last;
    TColor Text = Own ? clWindowText : clGrayText;
    if (Day == FSelStart) {
      C->Brush()->SetColor(clHighlight);
      C->FillRect(R);
      Text = clHighlightText;
    }
    if (Day == Today) {
      C->Brush()->SetColor(clMaroon);
      C->FrameRect(R);
    }
    Word DY, DM, DD;
    DecodeDate(Day, DY, DM, DD);
    Centred(R, IntToStr(DD), Text);
  }
  // Today and Clear.
  for (auto [R, Text] : {std::pair{TodayButtonRect(), dxBarStr(dxSBAR_DATETODAY)},
                         std::pair{ClearButtonRect(), dxBarStr(dxSBAR_DATECLEAR)}}) {
    if (R.Right <= R.Left) continue;
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    dxDrawEdge(DC, R, EDGE_RAISED, BF_RECT);
    Centred(R, Text, clBtnText);
  }
}

void TdxBarDateNavigator::Choose(double D) {
  FSelStart = D;
  if (OnDateChosen) OnDateChosen(this);
}

void TdxBarDateNavigator::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN: {
      const TPoint P{short(Message.LParamLo()), short(Message.LParamHi())};
      const TRect Prev = PrevMonthRect(), Next = NextMonthRect();
      if (PtInRect(&Prev, P)) {
        SetFirstDate(ShiftMonth(FFirstDate, -1));
        return;
      }
      if (PtInRect(&Next, P)) {
        SetFirstDate(ShiftMonth(FFirstDate, 1));
        return;
      }
      const TRect T = TodayButtonRect(), C = ClearButtonRect();
      if (PtInRect(&T, P)) {
        Choose(DateOf(Date()));
        return;
      }
      if (PtInRect(&C, P)) {
        Choose(dxBarNullDate);
        return;
      }
      if (const double D = GetDateAtPos(P); D != dxBarNullDate) Choose(D);
      return;
    }
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// The combo's drop-down

TdxBarDateCombo::~TdxBarDateCombo() { delete FNavigator; }

TdxBarDateNavigator* TdxBarDateCombo::Navigator() {
  if (!FNavigator) {
    FNavigator = new TdxBarDateNavigator(nullptr, this);
    FNavigator->OnDateChosen = TNotifyEvent(this, &TdxBarDateCombo::NavigatorDateChosen);
  }
  return FNavigator;
}

void TdxBarDateCombo::NavigatorDateChosen(TObject*) {
  CloseUp();
  SetDate(FNavigator->GetSelStart());
}

bool TdxBarDateCombo::DroppedDown() const {
  return FNavigator && FNavigator->HandleAllocated() && IsWindowVisible(FNavigator->Handle());
}

void TdxBarDateCombo::DropDown(const TRect& AOwnerScreenRect, const AnsiString& ACurrentText) {
  TdxBarDateNavigator* N = Navigator();
  double D = ParseText(ACurrentText);
  if (D == dxBarNullDate) D = Date();
  N->ShowTodayButton = GetShowTodayButton();
  N->ShowClearButton = GetShowClearButton();
  if (BarManager()) N->GetFont()->Assign(BarManager()->Font());
  N->GetFont()->SetColor(clWindowText);
  N->HandleNeeded();
  N->CalcMetrics();
  N->SetFirstDate(D);
  N->SetSelStart(D);
  const Integer W = N->GetWidth(), H = N->GetHeight();
  Integer X = AOwnerScreenRect.Left, Y = AOwnerScreenRect.Bottom;
  if (Y + H > GetSystemMetrics(SM_CYSCREEN)) Y = std::max<Integer>(AOwnerScreenRect.Top - H, 0);
  X = std::max<Integer>(0, std::min<Integer>(X, GetSystemMetrics(SM_CXSCREEN) - W));
  SetWindowPos(N->Handle(), HWND_TOPMOST, X, Y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  N->SetVisible(true);
}

void TdxBarDateCombo::CloseUp() {
  if (!FNavigator || !FNavigator->HandleAllocated()) return;
  if (GetCapture() == FNavigator->Handle()) ReleaseCapture();
  FNavigator->SetVisible(false);
  SetWindowPos(FNavigator->Handle(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------
// Combos with a drop-down window of their own

void TdxBarPopupComboControl::DropDown() {
  if (!FParent || !IsLiveBarControl(FParent)) return;
  PopupDropDown(FParent->GetScreenLinkRect(this), GetText());
}

void TdxBarPopupComboControl::BeforeClick(bool ByMouse) {
  TCustomdxBarComboControl::BeforeClick(ByMouse);
  if (!ByMouse || !FParent || !IsLiveBarControl(FParent)) return;
  // A press on the button drops the window down.
  TPoint P;
  GetCursorPos(&P);
  P = FParent->ScreenToClient(P);
  const TRect R = FParent->GetLinkRect(this);
  if (P.X >= R.Right - ButtonWidth() && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) DropDown();
}

void TdxBarPopupComboControl::StopEditing(bool Accept) {
  CloseUpIfDropped();
  TCustomdxBarComboControl::StopEditing(Accept);
}

bool TdxBarPopupComboControl::PopupToggleKey(WORD Key) {
  if (Key != VK_F4 && !(Key == VK_DOWN && GetKeyState(VK_MENU) < 0)) return false;
  if (PopupDroppedDown()) PopupCloseUp();
  else DropDown();
  return true;
}

// ---------------------------------------------------------------------------
// The control's drop-down

bool TdxBarDateComboControl::PopupDroppedDown() const { return DateCombo() && DateCombo()->DroppedDown(); }
void TdxBarDateComboControl::PopupDropDown(const TRect& R, const AnsiString& AText) {
  if (TdxBarDateCombo* C = DateCombo()) C->DropDown(R, AText);
}
void TdxBarDateComboControl::PopupCloseUp() {
  if (TdxBarDateCombo* C = DateCombo()) C->CloseUp();
}

bool TdxBarDateComboControl::EditKey(WORD& Key) {
  TdxBarDateCombo* C = DateCombo();
  if (!C) return false;
  if (PopupToggleKey(Key)) return true;
  if (Key == VK_ESCAPE && C->DroppedDown()) {
    C->CloseUp();
    return true;
  }
  return false;
}

TdxBarDateComboControl::~TdxBarDateComboControl() { CloseUpIfDropped(); }
