#include "editor/dialogs/ColumnLists.h"

#include <algorithm>

#include "editor/dialogs/DCEdit.h"
#include "editor/view/PopupHint.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Hooks.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Win.h"

namespace {

// The part of Text before the I-th "|" (0-based), and whether there is one.
bool PipeField(const AnsiString& Text, Integer I, AnsiString& Field) {
  size_t Start = 0;
  for (Integer N = 0; N < I; ++N) {
    const size_t Bar = Text.find('|', Start);
    if (Bar == AnsiString::npos) return false;
    Start = Bar + 1;
  }
  const size_t End = Text.find('|', Start);
  Field = Text.substr(Start, End == AnsiString::npos ? AnsiString::npos : End - Start);
  return true;
}

// The three parts of a column: before, bold, after.
struct TMarked {
  AnsiString Before, Bold, After;
};
TMarked SplitMarked(const AnsiString& Column) {
  Integer Pos = 0, Len = 0;
  const AnsiString Plain = ExtractMarkedRange(Column, Pos, Len);
  if (Pos <= 0) return {Plain, {}, {}};
  const size_t P = size_t(Pos - 1);
  return {Plain.substr(0, P), Plain.substr(P, size_t(Len)), P + size_t(Len) < Plain.size() ? Plain.substr(P + size_t(Len)) : AnsiString()};
}

TDCPopupListBox* OpenList = nullptr;
HHOOK MouseHook = nullptr;

LRESULT PopupMouseHook(int Code, WPARAM W, LPARAM L) {
  if (Code >= 0 && OpenList && (W == WM_LBUTTONDOWN || W == WM_NCLBUTTONDOWN || W == WM_RBUTTONDOWN)) {
    const auto* M = reinterpret_cast<const MOUSEHOOKSTRUCT*>(L);
    TRect R;
    GetWindowRect(OpenList->Handle(), &R);
    if (M && !(M->pt.X >= R.Left && M->pt.X < R.Right && M->pt.Y >= R.Top && M->pt.Y < R.Bottom)) {
      OpenList->CloseUp(false);
      return 1;
    }
  }
  return CallNextHookEx(MouseHook, Code, W, L);
}

}  // namespace

void TDCListBoxColumn::Published(TPublished<TDCListBoxColumn>& P) {
  P.Property("ColumnSize", &TDCListBoxColumn::ColumnSize, &TDCListBoxColumn::ColumnSize).Default(0);
  P.Property("Alignment", &TDCListBoxColumn::Alignment, &TDCListBoxColumn::Alignment).Default(lrLeftJustify);
}

// --- TDCListBox ---------------------------------------------------------------------

TDCListBox::TDCListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), FColumns(std::make_unique<TDCListBoxColumns>()), FBold(std::make_unique<TFont>()) {}

TDCListBox::~TDCListBox() = default;

void TDCListBox::SetCustomDraw(bool Value) {
  FCustomDraw = Value;
  SetStyle(Value ? lbOwnerDrawFixed : lbStandard);
}

TFont* TDCListBox::BoldFont() {
  FBold->Assign(GetFont());
  TFontStyles S = FBold->GetStyle();
  S.Include(fsBold);
  FBold->SetStyle(S);
  return FBold.get();
}

// Text is measured on a canvas of its own: the list's canvas has a device
// context only while a row is drawn.
TCanvas* TDCListBox::MeasureCanvas() {
  if (!FMeasureBitmap) {
    FMeasureBitmap = std::make_unique<TBitmap>();
    FMeasureBitmap->SetSize(1, 1);
  }
  return FMeasureBitmap->Canvas();
}

void TDCListBox::MeasureColumns() {
  FMeasured.clear();
  if (!FCustomDraw) return;
  TCanvas* C = MeasureCanvas();
  TStrings* Items = GetItems();
  for (Integer I = 0; I < Items->GetCount(); ++I) {
    const AnsiString Text = Items->GetStrings(I);
    AnsiString Field;
    for (Integer Col = 0; PipeField(Text, Col, Field); ++Col) {
      const TMarked M = SplitMarked(Field);
      C->SetFont(GetFont());
      Integer W = C->TextWidth(M.Before + M.After + " ");
      C->SetFont(BoldFont());
      W += C->TextWidth(M.Bold);
      if (Integer(FMeasured.size()) <= Col) FMeasured.resize(size_t(Col) + 1, 0);
      FMeasured[size_t(Col)] = std::max(FMeasured[size_t(Col)], W);
    }
  }
  C->SetFont(GetFont());
}

Integer TDCListBox::ColumnWidth(Integer I) const {
  if (I < FColumns->Count() && FColumns->Column(I)->ColumnSize != 0) return FColumns->Column(I)->ColumnSize;
  return I < Integer(FMeasured.size()) ? FMeasured[size_t(I)] : 0;
}

void TDCListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (!FCustomDraw) return TCustomListBox::DrawItem(Index, Rect, State);
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  if (Index < 0 || Index >= GetItems()->GetCount()) return;
  if (FMeasured.empty()) MeasureColumns();
  Rect.Left += 2;
  Rect.Right -= 2;
  const AnsiString Text = GetItems()->GetStrings(Index);
  AnsiString Field;
  Integer Left = Rect.Left;
  const TColor Ink = C->Font()->GetColor();
  for (Integer Col = 0; PipeField(Text, Col, Field) && Left < Rect.Right; ++Col) {
    const Integer Width = ColumnWidth(Col);
    const bool Right = Col < FColumns->Count() && FColumns->Column(Col)->Alignment == lrRightJustify;
    const TRect Cell{Left, Rect.Top, std::min(Left + (Right ? Width - 1 : Width), Rect.Right), Rect.Bottom};
    const TMarked M = SplitMarked(Field);
    const TFont* Parts[3] = {GetFont(), BoldFont(), GetFont()};
    const AnsiString Texts[3] = {M.Before, M.Bold, M.After};
    Integer Widths[3];
    Integer Total = 0;
    for (int P = 0; P < 3; ++P) {
      C->SetFont(const_cast<TFont*>(Parts[P]));
      Widths[P] = C->TextWidth(Texts[P]);
      Total += Widths[P];
    }
    Integer X = Right ? Cell.Right - Total : Cell.Left;
    C->Brush()->SetStyle(bsClear);
    for (int P = 0; P < 3; ++P) {
      if (Texts[P].empty()) continue;
      C->SetFont(const_cast<TFont*>(Parts[P]));
      C->Font()->SetColor(Ink);
      C->TextRect(Cell, X, Rect.Top, Texts[P]);
      X += Widths[P];
    }
    C->Brush()->SetStyle(bsSolid);
    Left += Width;
  }
  C->SetFont(GetFont());
}

// --- TPopupListBox ---------------------------------------------------------------------

TPopupListBox::TPopupListBox(TComponent* AOwner) : TDCListBox(AOwner) {
  SetVisible(false);
  SetTabStop(false);
}

void TPopupListBox::CreateParams(TCreateParams& Params) {
  TDCListBox::CreateParams(Params);
  // Sized to whole rows here; the list must not shrink itself.
  // The list box's own style bits, in a bordered popup window.
  Params.Style = (Params.Style & 0xFFFF) | WS_POPUP | WS_BORDER | LBS_NOINTEGRALHEIGHT;
  // The scroll bar only when the rows do not all show.
  if (GetItems()->GetCount() > MaxRows) Params.Style |= WS_VSCROLL;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  // Owned by the control it drops from, which hands the rows back to be drawn.
  if (GetParent()) Params.WndParent = GetParent()->Handle();
  else Params.WndParent = Application ? Application->Handle() : nullptr;
}

void TPopupListBox::AdjustHeight() {
  TCanvas* C = MeasureCanvas();
  C->SetFont(GetFont());
  const Integer Row = std::max<Integer>(C->TextHeight("Wg") + 1, 9);
  SetItemHeight(Row);
  const Integer Rows = std::clamp<Integer>(GetItems()->GetCount(), 1, MaxRows);
  SetClientHeight(Row * Rows);
}

void TPopupListBox::CloseUp(bool Accept) {
  if (auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner())) Edit->CloseUp(Accept);
  else SetVisible(false);
}

void TPopupListBox::MouseDown(TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button != mbLeft) return;
  FTracking = true;
  const Integer I = ItemAtPos({X, Y}, true);
  if (I >= 0) SetItemIndex(I);
}

void TPopupListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!FTracking || !Shift.Contains(ssLeft)) return;
  const Integer Top = GetTopIndex();
  const Integer Rows = std::max<Integer>(ClientHeight() / std::max<Integer>(GetItemHeight(), 1), 1);
  if (Y < 0) SetItemIndex(std::max<Integer>(Top - 1, 0));
  else if (Y >= ClientHeight()) SetItemIndex(std::min<Integer>(Top + Rows, GetItems()->GetCount() - 1));
  else if (const Integer I = ItemAtPos({X, Y}, true); I >= 0) SetItemIndex(I);
}

void TPopupListBox::MouseUp(TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button != mbLeft || !FTracking) return;
  FTracking = false;
  CloseUp(X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight());
}

void TPopupListBox::KeyDown(Word& Key, TShiftState Shift) {
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return;
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    const bool Accept = Key == VK_RETURN;
    Key = 0;
    CloseUp(Accept);
  }
}

void TPopupListBox::Dispatch(TMessage& Message) {
  // The list's own left button: it selects, it does not take the focus.
  if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONUP || Message.Msg == WM_MOUSEMOVE) {
    const Integer X = Integer(short(LOWORD(Message.LParam))), Y = Integer(short(HIWORD(Message.LParam)));
    TShiftState S;
    if (Message.WParam & MK_LBUTTON) S.Include(ssLeft);
    if (Message.Msg == WM_LBUTTONDOWN) MouseDown(mbLeft, S, X, Y);
    else if (Message.Msg == WM_LBUTTONUP) MouseUp(mbLeft, S, X, Y);
    else MouseMove(S, X, Y);
    return;
  }
  // The text of the list is its selected item: the edit it drops from
  // reads its choice so and sets its current entry so.
  if (Message.Msg == WM_GETTEXT || Message.Msg == WM_GETTEXTLENGTH) {
    const Integer I = GetItemIndex();
    const AnsiString Text = I >= 0 ? GetItems()->GetStrings(I) : AnsiString();
    if (Message.Msg == WM_GETTEXTLENGTH) {
      Message.Result = LRESULT(Text.size());
      return;
    }
    const size_t Room = size_t(Message.WParam);
    auto* Buffer = reinterpret_cast<char*>(Message.LParam);
    if (!Buffer || Room == 0) {
      Message.Result = 0;
      return;
    }
    const size_t N = std::min(Text.size(), Room - 1);
    Text.copy(Buffer, N);
    Buffer[N] = '\0';
    Message.Result = LRESULT(N);
    return;
  }
  if (Message.Msg == WM_SETTEXT) {
    const char* Text = reinterpret_cast<const char*>(Message.LParam);
    const AnsiString Wanted = Text ? AnsiString(Text) : AnsiString();
    Integer Found = -1;
    for (Integer I = 0; I < GetItems()->GetCount() && Found < 0; ++I)
      if (GetItems()->GetStrings(I) == Wanted) Found = I;
    SetItemIndex(Found);
    AdjustHeight();
    Message.Result = 1;
    return;
  }
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE) {
    if (auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner())) Edit->Change();
  }
  if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_ESCAPE) {
    Message.Result = 1;
    return;
  }
  TDCListBox::Dispatch(Message);
}

// --- TDCPopupListBox ---------------------------------------------------------------------

TDCPopupListBox::TDCPopupListBox(TComponent* AOwner) : TPopupListBox(AOwner) { SetCustomDraw(true); }

TDCPopupListBox::~TDCPopupListBox() {
  Unhook();
  if (OpenList == this) OpenList = nullptr;
}

void TDCPopupListBox::FitColumns(Integer& Total) {
  Total = 8;
  for (Integer W : FMeasured) Total += W;
  if (WidthLimit <= 0 || WidthLimit >= Total) return;
  const double Scale = double(WidthLimit) / double(Total);
  Integer Sum = 0;
  for (Integer& W : FMeasured) {
    W = Integer(W * Scale + 0.5);
    Sum += W;
  }
  Total = Sum + (Sum != 0 ? 1 : 0);
}

void TDCPopupListBox::ShowAt(Integer X, Integer Y) {
  // The row height first: the window is made with it.
  AdjustHeight();
  HandleNeeded();
  AdjustHeight();
  MeasureColumns();
  Integer Total = 0;
  FitColumns(Total);
  const Integer Frame = GetWidth() - ClientWidth();
  const Integer W = std::max(ClientWidth(), Total) + Frame;
  const Integer H = GetHeight();
  if (Screen && Y + H > Screen->Height()) Y -= H;
  if (Screen && X + W > Screen->Width()) X -= W;
  SetBounds(X, Y, W, H);
  if (GetItems()->GetCount() > 0) SetItemIndex(0);
  SetWindowPos(Handle(), HWND_TOPMOST, X, Y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FOpen = true;
  if (OpenList && OpenList != this) OpenList->CloseUp(false);
  OpenList = this;
  if (!MouseHook) MouseHook = SetWindowsHookEx(WH_MOUSE, &PopupMouseHook, nullptr, 0);
  // The parent's keys come here while the list is open.
  if (TWinControl* P = GetParent(); P && !FHookedParent) {
    FHookedParent = P;
    FParentProc = P->WindowProc;
    P->WindowProc = TWndMethod(this, &TDCPopupListBox::ParentWndProc);
  }
}

void TDCPopupListBox::ParentWndProc(TMessage& Message) {
  if (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST && FOpen) {
    Message.Result = Perform(Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (FParentProc.Assigned()) FParentProc(Message);
}

void TDCPopupListBox::Unhook() {
  if (FHookedParent) {
    FHookedParent->WindowProc = FParentProc;
    FHookedParent = nullptr;
  }
  if (OpenList == this) {
    OpenList = nullptr;
    if (MouseHook) UnhookWindowsHookEx(MouseHook);
    MouseHook = nullptr;
  }
}

void TDCPopupListBox::CloseUp(bool Accept) {
  if (!FOpen) return;
  FOpen = false;
  FTracking = false;
  Unhook();
  const Integer Result = Accept ? GetItemIndex() : -1;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  SetVisible(false);
  if (OnResult) OnResult(this, Result);
}

TDCPopupListBox* ShowPopupListBox(TWinControl* Control, TStrings* Items, Integer X, Integer WidthLimit,
                                  TPopupListResult Callback, TFont* Font,
                                  const std::vector<TLeftRightAlign>& Alignments, Integer Y) {
  auto* L = new TDCPopupListBox(nullptr);
  L->WidthLimit = WidthLimit;
  for (TLeftRightAlign A : Alignments) L->Columns()->Add()->Alignment = A;
  L->SetParent(Control);
  if (Font) {
    L->GetFont()->Assign(Font);
  } else {
    L->GetFont()->SetName("MS Sans Serif");
    L->GetFont()->SetSize(8);
  }
  L->OnResult = std::move(Callback);
  L->GetItems()->Assign(Items);
  const TPoint P = Control->ClientToScreen({X, Y});
  L->ShowAt(P.X, P.Y);
  return L;
}
