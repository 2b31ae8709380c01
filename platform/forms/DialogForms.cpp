#include "platform/forms/DialogForms_p.h"

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Win.h"

TLabel* MakeDialogLabel(TWinControl* Parent, TComponent* Owner, const AnsiString& Caption, TWinControl* Focus,
                        Integer X, Integer Y) {
  TLabel* L = MakeDialogControl<TLabel>(Parent, Owner, "");
  L->SetCaption(Caption);
  L->SetFocusControl(Focus);
  L->SetLeft(X);
  L->SetTop(Y);
  return L;
}

TColorSwatches::TColorSwatches(TComponent* AOwner, Integer Columns, Integer Rows)
    : TCustomControl(AOwner), FColumns(Columns), FRows(Rows), FColors(size_t(Columns * Rows), clWhite) {
  SetTabStop(true);
  SetBounds(0, 0, Columns * (CellWidth + 4), Rows * (CellHeight + 4));
}

void TColorSwatches::SetColors(const std::vector<TColor>& Colors) {
  FColors = Colors;
  FColors.resize(size_t(FColumns * FRows), clWhite);
  Invalidate();
}

void TColorSwatches::SetCellColor(Integer Index, TColor Color) {
  if (Index < 0 || size_t(Index) >= FColors.size()) return;
  FColors[size_t(Index)] = Color;
  Invalidate();
}

void TColorSwatches::SetSelected(Integer Index) {
  if (Index < -1 || Index >= FColumns * FRows || Index == FSelected) return;
  FSelected = Index;
  Invalidate();
  if (Index >= 0 && OnSelect) OnSelect(this, Index);
}

TRect TColorSwatches::CellRect(Integer Index) const {
  const Integer X = (Index % FColumns) * (CellWidth + 4) + 2, Y = (Index / FColumns) * (CellHeight + 4) + 2;
  return {X, Y, X + CellWidth, Y + CellHeight};
}

void TColorSwatches::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(GetClientRect());
  for (Integer I = 0; I < FColumns * FRows; ++I) {
    TRect R = CellRect(I);
    C->RequiredState({csHandleValid});
    DrawEdge(C->GetHandle(), &R, EDGE_SUNKEN, BF_RECT);
    C->Brush()->SetColor(FColors[size_t(I)]);
    C->FillRect({R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2});
    if (I == FSelected) {
      C->Brush()->SetColor(clBlack);
      C->FrameRect({R.Left - 2, R.Top - 2, R.Right + 2, R.Bottom + 2});
      if (Focused()) C->DrawFocusRect({R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1});
    }
  }
}

void TColorSwatches::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (Button == mbLeft) {
    for (Integer I = 0; I < FColumns * FRows; ++I) {
      const TRect R = CellRect(I);
      if (X >= R.Left - 2 && X < R.Right + 2 && Y >= R.Top - 2 && Y < R.Bottom + 2) {
        SetSelected(I);
        break;
      }
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TColorSwatches::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  const Integer Cur = FSelected < 0 ? 0 : FSelected;
  Integer Next = Cur;
  switch (Key) {
    case VK_LEFT: Next = Cur % FColumns ? Cur - 1 : Cur; break;
    case VK_RIGHT: Next = Cur % FColumns < FColumns - 1 ? Cur + 1 : Cur; break;
    case VK_UP: Next = Cur >= FColumns ? Cur - FColumns : Cur; break;
    case VK_DOWN: Next = Cur + FColumns < FColumns * FRows ? Cur + FColumns : Cur; break;
    default: return;
  }
  Key = 0;
  if (FSelected < 0) Next = Cur;
  SetSelected(Next);
}

void TColorSwatches::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    default: break;
  }
  inherited::Dispatch(Message);
}

void DrawDialogText(TCanvas* Canvas, const AnsiString& Text, TRect R, UINT Format) {
  std::u16string W = AnsiToWide(Text);
  if (W.empty()) return;
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC DC = Canvas->GetHandle();
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(Canvas->Font()->GetColor()));
  DrawTextW(DC, reinterpret_cast<WCHAR*>(W.data()), int(W.size()), &R, Format | DT_NOPREFIX);
}
