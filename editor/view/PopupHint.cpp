#include "editor/view/PopupHint.h"

#include <algorithm>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Win.h"

AnsiString ExtractMarkedRange(const AnsiString& Text, Integer& Pos, Integer& Len) {
  Pos = 0;
  Len = 0;
  const size_t First = Text.find('~');
  if (First == AnsiString::npos) return Text;
  const size_t Second = Text.find('~', First + 1);
  Pos = Integer(First) + 1;
  AnsiString Plain = Text.substr(0, First);
  if (Second == AnsiString::npos) {
    Plain += Text.substr(First + 1);
    Len = Integer(Text.size() - First - 1);
  } else {
    Plain += Text.substr(First + 1, Second - First - 1) + Text.substr(Second + 1);
    Len = Integer(Second - First - 1);
  }
  return Plain;
}

namespace {
void BoldOf(TFont* Normal, TFont* Bold) {
  Bold->Assign(Normal);
  TFontStyles St = Normal->GetStyle();
  St.Include(fsBold);
  Bold->SetStyle(St);
}

// The three parts of a marked text: before, marked, after.
struct TMarkedParts {
  AnsiString Before, Marked, After;
};

TMarkedParts SplitMarked(const AnsiString& Text, Integer Pos, Integer Len) {
  if (Pos <= 0 || Pos > Integer(Text.size()) + 1) return {Text, {}, {}};
  const size_t P = size_t(Pos - 1);
  const size_t L = std::min(size_t(std::max<Integer>(Len, 0)), Text.size() - P);
  return {Text.substr(0, P), Text.substr(P, L), Text.substr(P + L)};
}

TSize Extent(TCanvas* Canvas, TFont* Font, const AnsiString& S) {
  if (S.empty()) return {0, 0};
  Canvas->SetFont(Font);
  return Canvas->TextExtent(S);
}

std::vector<AnsiString> SplitLines(const AnsiString& Text) {
  std::vector<AnsiString> Lines;
  size_t From = 0;
  for (;;) {
    const size_t At = Text.find("\r\n", From);
    Lines.push_back(Text.substr(From, At == AnsiString::npos ? AnsiString::npos : At - From));
    if (At == AnsiString::npos) break;
    From = At + 2;
  }
  return Lines;
}
}  // namespace

TSize MeasureMarkedText(TCanvas* Canvas, TFont* Font, TFont* BoldFont, const AnsiString& Text) {
  Integer Pos, Len;
  const AnsiString Plain = ExtractMarkedRange(Text, Pos, Len);
  if (Pos == 0) {
    Canvas->SetFont(Font);
    return Canvas->TextExtent(Plain);
  }
  const TMarkedParts M = SplitMarked(Plain, Pos, Len);
  const TSize A = Extent(Canvas, Font, M.Before), B = Extent(Canvas, BoldFont, M.Marked),
              C = Extent(Canvas, Font, M.After);
  Canvas->SetFont(Font);
  return {A.cx + B.cx + C.cx, std::max({A.cy, B.cy, C.cy})};
}

TSize CalcHintTextSize(TDCHintWindow* HintWindow, const AnsiString& Text) {
  TCanvas* C = HintWindow->Canvas();
  HintWindow->Lines()->Clear();
  HintWindow->LineHeights().clear();
  if (Text.find("\r\n") == AnsiString::npos)
    return MeasureMarkedText(C, HintWindow->GetFont(), HintWindow->BoldFont(), Text);
  // The height comes from the plain text's own layout, the width from the
  // widest marked line.
  C->SetFont(HintWindow->GetFont());
  AnsiString Copy = Text;
  TRect R{0, 0, 0, 0};
  DrawTextA(C->GetHandle(), Copy.data(), Integer(Copy.size()), &R, DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  Integer Width = 0;
  for (const AnsiString& Line : SplitLines(Text)) {
    TSize S = MeasureMarkedText(C, HintWindow->GetFont(), HintWindow->BoldFont(), Line);
    if (S.cy == 0) S.cy = C->TextHeight("Wg");
    Width = std::max(Width, S.cx);
    HintWindow->Lines()->Add(Line);
    HintWindow->LineHeights().push_back(S.cy);
  }
  return {Width + 8, R.Bottom - R.Top};
}

void DrawTextWithBoldRange(TCanvas* Canvas, TFont* Font, TFont* BoldFont, bool RightAligned, Integer Len,
                           Integer Pos, const AnsiString& Text, TRect Rect) {
  const TMarkedParts M = SplitMarked(Text, Pos, Len);
  const std::pair<const AnsiString*, TFont*> Parts[3] = {{&M.Before, Font}, {&M.Marked, BoldFont}, {&M.After, Font}};
  auto Draw = [&](const AnsiString& S, TFont* F) {
    if (S.empty() || Rect.Right <= Rect.Left) return;
    Canvas->SetFont(F);
    const Integer W = Canvas->TextWidth(S);
    TRect R = Rect;
    if (RightAligned) R.Left = std::max(Rect.Left, Rect.Right - W);
    AnsiString Copy = S;
    DrawTextA(Canvas->GetHandle(), Copy.data(), Integer(Copy.size()), &R,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | (RightAligned ? DT_RIGHT : DT_LEFT));
    if (RightAligned)
      Rect.Right -= W;
    else
      Rect.Left += W;
  };
  if (RightAligned)
    for (Integer I = 2; I >= 0; --I) Draw(*Parts[I].first, Parts[I].second);
  else
    for (const auto& P : Parts) Draw(*P.first, P.second);
  Canvas->SetFont(Font);
}

TDCHintWindow::TDCHintWindow(TComponent* AOwner)
    : THintWindow(AOwner), FBoldFont(std::make_unique<TFont>()), FLines(std::make_unique<TStringList>()) {
  BoldOf(GetFont(), FBoldFont.get());
}

TDCHintWindow::~TDCHintWindow() = default;

void TDCHintWindow::CreateWnd() {
  inherited::CreateWnd();
  SetColor(Application ? Application->HintColor : clInfoBk);
}

void TDCHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_NCPAINT || !HandleAllocated()) return inherited::Dispatch(Message);
  HDC Dc = GetWindowDC(Handle());
  if (!Dc) return;
  TRect R{0, 0, GetWidth(), GetHeight()};
  DrawEdge(Dc, &R, BDR_RAISEDOUTER, BF_RECT);
  ReleaseDC(Handle(), Dc);
  Message.Result = 0;
}

TSize TDCHintWindow::MarkedTextSize(const AnsiString& Text) {
  return MeasureMarkedText(Canvas(), GetFont(), FBoldFont.get(), Text);
}

void TDCHintWindow::Paint() {
  TCanvas* C = Canvas();
  TRect R = GetClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(GetColor());
  C->FillRect(R);
  C->Brush()->SetStyle(bsClear);
  TFont Normal, Bold;
  Normal.Assign(GetFont());
  Normal.SetColor(clInfoText);
  Bold.Assign(FBoldFont.get());
  Bold.SetColor(clInfoText);
  R.Left += 2;
  R.Top += 1;
  auto Line = [&](const AnsiString& Text, const TRect& At) {
    Integer Pos, Len;
    const AnsiString Plain = ExtractMarkedRange(Text, Pos, Len);
    DrawTextWithBoldRange(C, &Normal, &Bold, false, Len, Pos, Plain, At);
  };
  // The line list is measured again: it may have been left by another text.
  if (GetCaption().find("\r\n") != AnsiString::npos) {
    CalcHintTextSize(this, GetCaption());
    for (Integer I = 0; I < FLines->GetCount() && R.Top < R.Bottom; ++I) {
      const Integer H = I < Integer(FLineHeights.size()) ? FLineHeights[size_t(I)] : C->TextHeight("Wg");
      Line(FLines->GetStrings(I), {R.Left, R.Top, R.Right, R.Top + H});
      R.Top += H;
    }
  } else {
    Line(GetCaption(), R);
  }
}

TDCHint::TDCHint(TComponent* AOwner)
    : TComponent(AOwner),
      FWindow(std::make_unique<TDCHintWindow>(nullptr)),
      FBoldFont(std::make_unique<TFont>()),
      FTimer(std::make_unique<TTimer>(nullptr)) {
  FBoldFont->Assign(FWindow->BoldFont());
  FBoldFont->OnChange = TNotifyEvent(this, &TDCHint::BoldFontChanged);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(50);
  FTimer->SetOnTimer(TNotifyEvent(this, &TDCHint::Tick));
}

TDCHint::~TDCHint() { FTimer->SetEnabled(false); }

Integer TDCHint::GetInterval() const { return Integer(FTimer->GetInterval()); }
void TDCHint::SetInterval(Integer Value) { FTimer->SetInterval(Cardinal(std::max<Integer>(Value, 1))); }

void TDCHint::BoldFontChanged(TObject*) {
  FWindow->BoldFont()->Assign(FBoldFont.get());
  if (GetVisible()) FWindow->Invalidate();
}

TSize TDCHint::TextSize(const AnsiString& Text) {
  const TSize S = CalcHintTextSize(FWindow.get(), Text);
  return {S.cx + 8, S.cy};
}

void TDCHint::ShowAt(TPoint Point, const AnsiString& Text) {
  if (Text.empty()) return HideHint();
  const TSize S = TextSize(Text);
  FHintRect = {Point.X, Point.Y, Point.X + S.cx, Point.Y + S.cy};
  FOffset = 0;
  FTicks = 0;
  FState = TState::ShowPending;
  SetCaption(Text);
  FTimer->SetEnabled(true);
  if (FImmediate) TimerTick();
}

void TDCHint::ShowAtCursor(const AnsiString& Text) {
  TPoint P{};
  GetCursorPos(&P);
  ShowAt(P, Text);
  FOffset = 20;
}

void TDCHint::SetCaption(const AnsiString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  if (GetVisible()) {
    const TSize S = TextSize(Value);
    FWindow->ActivateHint({FHintRect.Left, FHintRect.Top + FOffset, FHintRect.Left + S.cx + 4,
                           FHintRect.Top + FOffset + S.cy + 4},
                          Value);
  }
}

bool TDCHint::MouseInHintArea(const TRect& Rect, TPoint Point) {
  const Integer H = Rect.Bottom - Rect.Top;
  return Point.X >= Rect.Left && Point.X < Rect.Right && Point.Y >= Rect.Top - H && Point.Y < Rect.Bottom;
}

void TDCHint::DoVisibleChanged() {
  if (OnVisibleChanged.Assigned()) OnVisibleChanged(this);
}

void TDCHint::ActivateHintWindow() {
  const bool Was = GetVisible();
  FWindow->ActivateHint({FHintRect.Left, FHintRect.Top + FOffset, FHintRect.Right + 4,
                         FHintRect.Bottom + FOffset + 4},
                        FCaption);
  if (!Was) DoVisibleChanged();
}

void TDCHint::HideWindow() {
  if (FWindow->HandleAllocated() && GetVisible()) ShowWindow(FWindow->Handle(), SW_HIDE);
  DoVisibleChanged();
}

void TDCHint::TimerTick() {
  TPoint Mouse{};
  GetCursorPos(&Mouse);
  const bool In = MouseInHintArea(FHintRect, Mouse);
  const Integer T = Integer(FTimer->GetInterval()) * FTicks;
  switch (FState) {
    case TState::ShowPending:
      if (!FAutoHide || In) {
        const Integer Pause = Application ? (GetVisible() ? Application->HintShortPause : Application->HintPause) : 0;
        if (FImmediate || T >= Pause) {
          ActivateHintWindow();
          FTicks = 0;
          FState = TState::Shown;
        } else {
          ++FTicks;
        }
      } else {
        FState = TState::HideRequested;
      }
      break;
    case TState::Shown:
      if (!FAutoHide || (In && T <= (Application ? Application->HintHidePause : 2500))) {
        ++FTicks;
      } else {
        HideWindow();
        FTicks = 0;
        FState = TState::HideRequested;
      }
      break;
    case TState::HideRequested:
      HideWindow();
      FTicks = 0;
      if (!In) {
        FTimer->SetEnabled(false);
        FState = TState::Idle;
      }
      break;
    case TState::Idle: FTimer->SetEnabled(false); break;
  }
}

void TDCHint::HideHint() {
  if (FWindow->HandleAllocated()) ShowWindow(FWindow->Handle(), SW_HIDE);
  FTicks = 0;
  FState = TState::Idle;
  FTimer->SetEnabled(false);
}

bool TDCHint::GetVisible() const { return FWindow->IsHintShowing(); }

void TDCHint::SetVisible(bool Value) {
  if (Value)
    ShowAtCursor(FCaption);
  else
    HideHint();
}

// ---------------------------------------------------------------------------

TDCPopupList::TDCPopupList(TComponent* AOwner) : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
  SetVisible(false);
  SetColor(clWindow);
}

TDCPopupList::~TDCPopupList() = default;

void TDCPopupList::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = Application ? Application->Handle() : nullptr;
}

Integer TDCPopupList::RowHeight() {
  Canvas()->SetFont(GetFont());
  return std::max<Integer>(Canvas()->TextHeight("Wg") + 2, 1);
}

void TDCPopupList::Popup(TPoint ScreenPoint, TStrings* Items, TFont* Font, TChoose OnChoose) {
  FItems->Assign(Items);
  GetFont()->Assign(Font);
  FChoose = std::move(OnChoose);
  FItemIndex = FItems->GetCount() > 0 ? 0 : -1;
  FTopIndex = 0;
  Integer Width = 60;
  Canvas()->SetFont(GetFont());
  for (Integer I = 0; I < FItems->GetCount(); ++I) {
    AnsiString S = FItems->GetStrings(I);
    std::replace(S.begin(), S.end(), '|', ' ');
    Width = std::max<Integer>(Width, Canvas()->TextWidth(S) + 24);
  }
  const Integer Rows = std::clamp<Integer>(FItems->GetCount(), 1, 8);
  HandleNeeded();
  SetBounds(ScreenPoint.X, ScreenPoint.Y, Width, Rows * RowHeight() + 2);
  SetWindowPos(Handle(), HWND_TOPMOST, ScreenPoint.X, ScreenPoint.Y, Width, Rows * RowHeight() + 2,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FOpen = true;
  Invalidate();
}

void TDCPopupList::CloseUp(bool Choose) {
  if (!FOpen) return;
  FOpen = false;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  const Integer Index = Choose ? FItemIndex : -1;
  if (FChoose) {
    TChoose C = FChoose;
    C(Index);
  }
}

void TDCPopupList::SetItemIndex(Integer Value) {
  Value = std::clamp<Integer>(Value, -1, FItems->GetCount() - 1);
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  const Integer Rows = std::max<Integer>(ClientHeight() / RowHeight(), 1);
  if (FItemIndex >= 0 && FItemIndex < FTopIndex) FTopIndex = FItemIndex;
  if (FItemIndex >= FTopIndex + Rows) FTopIndex = FItemIndex - Rows + 1;
  Invalidate();
}

Integer TDCPopupList::FindPrefix(const AnsiString& Prefix) const {
  const AnsiString P = UpperCase(Prefix);
  for (Integer I = 0; I < FItems->GetCount(); ++I) {
    const AnsiString S = UpperCase(FItems->GetStrings(I));
    if (S.compare(0, P.size(), P) == 0) return I;
  }
  return -1;
}

bool TDCPopupList::HandleKey(Word Key) {
  const Integer Page = std::max<Integer>(ClientHeight() / RowHeight(), 1);
  switch (Key) {
    case VK_RETURN: CloseUp(true); return true;
    case VK_ESCAPE: CloseUp(false); return true;
    case VK_UP: SetItemIndex(std::max<Integer>(FItemIndex - 1, 0)); return true;
    case VK_DOWN: SetItemIndex(FItemIndex + 1); return true;
    case VK_PRIOR: SetItemIndex(std::max<Integer>(FItemIndex - Page, 0)); return true;
    case VK_NEXT: SetItemIndex(FItemIndex + Page); return true;
    default: return false;
  }
}

void TDCPopupList::Paint() {
  TCanvas* C = Canvas();
  C->SetFont(GetFont());
  const Integer Rh = RowHeight();
  const TRect Client = GetClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWindow);
  C->FillRect(Client);
  for (Integer I = FTopIndex, Y = 0; I < FItems->GetCount() && Y < Client.Bottom; ++I, Y += Rh) {
    const bool Current = I == FItemIndex;
    C->Brush()->SetColor(Current ? clHighlight : clWindow);
    C->Font()->SetColor(Current ? clHighlightText : clWindowText);
    const TRect R{0, Y, Client.Right, Y + Rh};
    C->FillRect(R);
    const AnsiString S = FItems->GetStrings(I);
    const size_t Bar = S.find('|');
    C->Brush()->SetStyle(bsClear);
    C->TextOut(2, Y + 1, S.substr(0, Bar));
    if (Bar != AnsiString::npos) {
      const AnsiString Right = S.substr(Bar + 1);
      C->TextOut(Client.Right - 2 - C->TextWidth(Right), Y + 1, Right);
    }
    C->Brush()->SetStyle(bsSolid);
  }
}

void TDCPopupList::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  SetItemIndex(FTopIndex + Y / RowHeight());
  CloseUp(true);
}
