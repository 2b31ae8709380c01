#include "editor/dialogs/PickerEdits.h"

#include <algorithm>

#include "editor/base/Notifiers.h"
#include "editor/dialogs/DCEdit.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/TypInfo.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Text.h"
#include "platform/win/EditControl.h"
#include "platform/win/Win.h"

namespace {

constexpr TColor StandardColors[] = {clBlack, clMaroon, clGreen,  clOlive, clNavy, clPurple,
                                     clTeal,  clGray,   clSilver, clRed,   clLime, clYellow,
                                     clBlue,  clFuchsia, clAqua,  clWhite};

// Copies Text into a WM_GETTEXT buffer; the number of characters copied.
LRESULT CopyOut(const AnsiString& Text, WPARAM Room, LPARAM Buffer) {
  auto* Out = reinterpret_cast<char*>(Buffer);
  if (!Out || Room == 0) return 0;
  const size_t N = std::min(Text.size(), size_t(Room) - 1);
  Text.copy(Out, N);
  Out[N] = '\0';
  return LRESULT(N);
}

// The sample rectangle of a list row: a swatch beside the name, or the
// whole row without names.
TRect SampleRect(const TRect& R, bool Names) {
  return {R.Left + 2, R.Top + 2, Names ? R.Left + 24 : R.Right - 3, R.Bottom - 2};
}

void DrawRowName(TCanvas* C, const TRect& R, const AnsiString& Name) {
  TRect T{R.Left + 28, R.Top, R.Right, R.Bottom};
  C->Brush()->SetStyle(bsClear);
  C->TextRect(T, T.Left, R.Top + (R.Height() - C->TextHeight(Name)) / 2, Name);
  C->Brush()->SetStyle(bsSolid);
}

void DrawPenLine(TCanvas* C, TPenStyle Style, Integer Left, Integer Right, Integer Y) {
  TPen* P = C->Pen();
  const TColor OldColor = P->GetColor();
  const TPenStyle OldStyle = P->GetStyle();
  const Integer OldWidth = P->GetWidth();
  P->SetColor(clBlack);
  P->SetWidth(1);
  P->SetStyle(Style);
  const TBrushStyle OldBrush = C->Brush()->GetStyle();
  C->Brush()->SetStyle(bsClear);
  C->MoveTo(Left, Y);
  C->LineTo(Right, Y);
  C->Brush()->SetStyle(OldBrush);
  P->SetStyle(OldStyle);
  P->SetWidth(OldWidth);
  P->SetColor(OldColor);
}

TPenStyle PenFromName(const AnsiString& Name) {
  const Integer V = GetEnumValue(SxTypeInfo(static_cast<TPenStyle*>(nullptr)), Name);
  return V >= 0 && V <= Integer(psInsideFrame) ? TPenStyle(V) : psSolid;
}

AnsiString PenName(TPenStyle Style) { return GetEnumName(SxTypeInfo(static_cast<TPenStyle*>(nullptr)), Style); }

// The colour of a row of the colour list, from its name.
TColor RowColor(TStrings* Items, Integer Index) {
  TColor C = clBlack;
  if (!IdentToColor(Items->GetStrings(Index), C)) C = TColor(Integer(reinterpret_cast<intptr_t>(Items->GetObjects(Index))));
  return C;
}

// Selects the row of a value, known by its name (a list read back from a
// form description has its rows' texts but not the values kept with them).
void SelectObject(TPopupListBox* L, const AnsiString& Name) {
  TStrings* Items = L->GetItems();
  const Integer Cur = L->GetItemIndex();
  if (Cur >= 0 && Items->GetStrings(Cur) == Name) return;
  const Integer I = Items->IndexOf(Name);
  if (I >= 0) L->SetItemIndex(I);
}

// The texts that size each list when it shows names.
constexpr const char* ColorWidest = "clInactiveCaptionText";
constexpr const char* PenWidest = "InsideFrame";
constexpr const char* BrushWidest = "Horizontal";

// The width of the list: a sample and, with names, the widest name.
void SizeList(TPopupListBox* L, bool Names, const char* Widest) {
  Integer W = 42;
  if (Names) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->Canvas()->SetFont(L->GetFont());
    W += Bitmap->Canvas()->TextWidth(Widest);
  }
  L->SetClientWidth(W);
}

AnsiString OwnerText(TComponent* Owner) {
  auto* Edit = dynamic_cast<TCustomDCEdit*>(Owner);
  return Edit ? Edit->GetText() : AnsiString();
}

}  // namespace

// --- colour list -------------------------------------------------------------------------

TPopupColorBox::TPopupColorBox(TComponent* AOwner) : TPopupListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  TStrings* Items = GetItems();
  auto Add = [&](TColor C) { Items->AddObject(ColorToString(C), reinterpret_cast<TObject*>(intptr_t(C))); };
  for (TColor C : StandardColors) Add(C);
  for (Integer I = 0; I <= 0x18; ++I) Add(TColor(Integer(0xFF000000u | unsigned(I))));
  Add(clNone);
}

void TPopupColorBox::SetColorValue(TColor Value) {
  FColor = Value;
  SelectObject(this, ColorToString(Value));
}

void TPopupColorBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  const TColor Back = C->Brush()->GetColor();
  const TRect S = SampleRect(Rect, FDisplayNames);
  C->Brush()->SetColor(clBlack);
  C->FrameRect(S);
  C->Brush()->SetColor(RowColor(GetItems(), Index));
  C->FillRect({S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1});
  C->Brush()->SetColor(Back);
  if (FDisplayNames) DrawRowName(C, Rect, GetItems()->GetStrings(Index));
  (void)State;
}

void TPopupColorBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      const Integer I = GetItemIndex();
      const AnsiString Text = I >= 0 ? GetItems()->GetStrings(I) : AnsiString();
      if (I >= 0) FColor = RowColor(GetItems(), I);
      Message.Result = Message.Msg == WM_GETTEXT ? CopyOut(Text, Message.WParam, Message.LParam) : LRESULT(Text.size());
      return;
    }
    case WM_SETTEXT: {
      SizeList(this, FDisplayNames, ColorWidest);
      SetColorValue(FColor);
      TColor C;
      if (IdentToColor(OwnerText(dynamic_cast<TComponent*>(GetOwner())), C)) SetColorValue(C);
      AdjustHeight();
      Message.Result = 1;
      return;
    }
    default: TPopupListBox::Dispatch(Message);
  }
}

// --- pen list ----------------------------------------------------------------------------

TPopupPenBox::TPopupPenBox(TComponent* AOwner) : TPopupListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  for (Integer P = psSolid; P <= psInsideFrame; ++P)
    GetItems()->AddObject(PenName(TPenStyle(P)), reinterpret_cast<TObject*>(intptr_t(P)));
}

void TPopupPenBox::SetPenValue(TPenStyle Value) {
  FPen = Value;
  SelectObject(this, PenName(Value));
}

void TPopupPenBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  const TRect S = SampleRect(Rect, FDisplayNames);
  DrawPenLine(C, TPenStyle(Index), S.Left, S.Right, (S.Top + S.Bottom) / 2);
  if (FDisplayNames) DrawRowName(C, Rect, GetItems()->GetStrings(Index).substr(2));
  (void)State;
}

void TPopupPenBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      const Integer I = GetItemIndex();
      const AnsiString Text = I >= 0 ? GetItems()->GetStrings(I) : AnsiString();
      if (I >= 0) FPen = TPenStyle(I);
      Message.Result = Message.Msg == WM_GETTEXT ? CopyOut(Text, Message.WParam, Message.LParam) : LRESULT(Text.size());
      return;
    }
    case WM_SETTEXT:
      SizeList(this, FDisplayNames, PenWidest);
      SetPenValue(FPen);
      SetPenValue(PenFromName(OwnerText(dynamic_cast<TComponent*>(GetOwner()))));
      AdjustHeight();
      Message.Result = 1;
      return;
    default: TPopupListBox::Dispatch(Message);
  }
}

// --- brush list --------------------------------------------------------------------------

namespace {
const char* const BrushNames[] = {"Solid", "Clear", "Horizontal", "Vertical", "FDiagonal", "BDiagonal", "Cross", "DiagCross"};

// A black frame; inside, the style in black on the info background; Clear
// is that background alone.
void DrawBrushSwatch(TCanvas* C, TBrushStyle Style, const TRect& S) {
  TBrush* B = C->Brush();
  const TColor OldColor = B->GetColor();
  B->SetStyle(bsSolid);
  B->SetColor(clBlack);
  C->FrameRect(S);
  const TRect In{S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1};
  B->SetColor(clInfoBk);
  C->FillRect(In);
  if (Style != bsClear) {
    SetBkColor(C->GetHandle(), ColorToRGB(clInfoBk));
    B->SetColor(clBlack);
    B->SetStyle(Style);
    C->FillRect(In);
  }
  B->SetStyle(bsSolid);
  B->SetColor(OldColor);
}
}  // namespace

TPopupBrushBox::TPopupBrushBox(TComponent* AOwner) : TPopupListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  for (const char* N : BrushNames) GetItems()->Add(N);
}

void TPopupBrushBox::SetBrushValue(TBrushStyle Value) {
  FBrush = Value;
  if (GetItemIndex() != Integer(Value)) SetItemIndex(Integer(Value));
}

void TPopupBrushBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  DrawBrushSwatch(C, TBrushStyle(Index), SampleRect(Rect, FDisplayNames));
  if (FDisplayNames) DrawRowName(C, Rect, GetItems()->GetStrings(Index));
  (void)State;
}

void TPopupBrushBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      const Integer I = GetItemIndex();
      const AnsiString Text = I >= 0 ? "bs" + GetItems()->GetStrings(I) : AnsiString();
      if (I >= 0) FBrush = TBrushStyle(I);
      Message.Result = Message.Msg == WM_GETTEXT ? CopyOut(Text, Message.WParam, Message.LParam) : LRESULT(Text.size());
      return;
    }
    case WM_SETTEXT: {
      SizeList(this, FDisplayNames, BrushWidest);
      SetBrushValue(FBrush);
      const AnsiString Owner = OwnerText(dynamic_cast<TComponent*>(GetOwner()));
      for (Integer I = 0; I < GetItems()->GetCount(); ++I)
        if ("bs" + GetItems()->GetStrings(I) == Owner) SetBrushValue(TBrushStyle(I));
      AdjustHeight();
      Message.Result = 1;
      return;
    }
    default: TPopupListBox::Dispatch(Message);
  }
}

// --- what the three lists share ---------------------------------------------------------

namespace {

template <class L>
void PublishList(TPublished<L>& P) {
  P.Property("DisplayNames", &L::GetDisplayNames, &L::SetDisplayNames);
  P.Property("Items", &L::GetItems, &L::SetItems);
  P.Property("OnClick", &L::OnClick, &L::OnClick);
}

// A button released over the list's rows is a click on the selected row.
bool ClickedInside(TPopupListBox* L, TMouseButton Button, Integer X, Integer Y) {
  return Button == mbLeft && X >= 0 && Y >= 0 && X < L->ClientWidth() && Y < L->ClientHeight() &&
         L->GetItemIndex() >= 0;
}
}  // namespace

void TPopupColorBox::Published(TPublished<TPopupColorBox>& P) { PublishList(P); }
void TPopupPenBox::Published(TPublished<TPopupPenBox>& P) { PublishList(P); }
void TPopupBrushBox::Published(TPublished<TPopupBrushBox>& P) { PublishList(P); }

void TPopupColorBox::SetDisplayNames(bool Value) {
  if (Value == FDisplayNames) return;
  FDisplayNames = Value;
  SizeList(this, FDisplayNames, ColorWidest);
  Invalidate();
}

void TPopupPenBox::SetDisplayNames(bool Value) {
  if (Value == FDisplayNames) return;
  FDisplayNames = Value;
  SizeList(this, FDisplayNames, PenWidest);
  Invalidate();
}

void TPopupBrushBox::SetDisplayNames(bool Value) {
  if (Value == FDisplayNames) return;
  FDisplayNames = Value;
  SizeList(this, FDisplayNames, BrushWidest);
  Invalidate();
}

void TPopupColorBox::Click() {
  const Integer I = GetItemIndex();
  if (I >= 0) FColor = RowColor(GetItems(), I);
  // The edit it drops from hears of the new colour at once.
  if (auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner())) Edit->Perform(CM_CHANGED, 0, LPARAM(Edit));
  TPopupListBox::Click();
}

void TPopupPenBox::Click() {
  if (GetItemIndex() >= 0) FPen = TPenStyle(GetItemIndex());
  TPopupListBox::Click();
}

void TPopupBrushBox::Click() {
  if (GetItemIndex() >= 0) FBrush = TBrushStyle(GetItemIndex());
  TPopupListBox::Click();
}

void TPopupColorBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FTracking && ClickedInside(this, Button, X, Y)) Click();
  TPopupListBox::MouseUp(Button, Shift, X, Y);
}

void TPopupPenBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FTracking && ClickedInside(this, Button, X, Y)) Click();
  TPopupListBox::MouseUp(Button, Shift, X, Y);
}

void TPopupBrushBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FTracking && ClickedInside(this, Button, X, Y)) Click();
  TPopupListBox::MouseUp(Button, Shift, X, Y);
}

// --- inner edits -------------------------------------------------------------------------

TGraphicEdit::TGraphicEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
}

bool TGraphicEdit::ShowsFocus() const {
  auto* Edit = dynamic_cast<const TCustomDCEdit*>(const_cast<TGraphicEdit*>(this)->GetOwner());
  return Edit && Edit->Focused();
}

void TGraphicEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* Text = reinterpret_cast<const char*>(Message.LParam);
      SetValueText(Text ? AnsiString(Text) : AnsiString());
      if (auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner())) Edit->Change();
      Invalidate();
      Message.Result = 1;
      return;
    }
    case WM_GETTEXT: Message.Result = CopyOut(GetValueText(), Message.WParam, Message.LParam); return;
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(GetValueText().size()); return;
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case DCM_PAINTINTO:
      DrawValue(reinterpret_cast<TCanvas*>(Message.WParam), Integer(short(LOWORD(Message.LParam))),
                Integer(short(HIWORD(Message.LParam))));
      Message.Result = 1;
      return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TColorEdit::SetValueText(const AnsiString& Text) {
  StringToColor(Text);  // raises on a name that is no colour
  FText = Text;
}

void TColorEdit::DrawValue(TCanvas* Canvas, Integer X, Integer Y) {
  // Drawn off screen and copied, so that the swatch does not flicker.
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetWidth(std::max<Integer>(ClientWidth(), 1));
  Bitmap->SetHeight(std::max<Integer>(ClientHeight(), 1));
  TCanvas* C = Bitmap->Canvas();
  const TRect R{0, 0, ClientWidth(), ClientHeight()};
  C->Brush()->SetColor(GetColor());
  C->FillRect(R);
  const TRect S{R.Left + 2, R.Top + 2, R.Left + 24, R.Bottom - 2};
  C->Brush()->SetColor(clBlack);
  C->FrameRect(S);
  TColor Value = clBlack;
  IdentToColor(FText, Value) || (Value = StringToColor(FText), true);
  C->Brush()->SetColor(Value);
  C->FillRect({S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1});
  C->SetFont(GetFont());
  C->Font()->SetColor(GetEnabled() ? GetFont()->GetColor() : clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  const AnsiString Name = FText.size() > 2 ? FText.substr(2) : AnsiString();
  C->TextOut(R.Left + 28, (R.Height() - C->TextHeight("Wg")) / 2, Name);
  C->Brush()->SetStyle(bsSolid);
  if (ShowsFocus()) {
    C->Brush()->SetColor(GetColor());
    C->DrawFocusRect({R.Left + 26, R.Top + 1, R.Right - 1, R.Bottom - 1});
  }
  Canvas->Draw(X, Y, Bitmap.get());
}

void TPenStyleEdit::DrawValue(TCanvas* Canvas, Integer X, Integer Y) {
  const TRect R{X, Y, X + ClientWidth(), Y + ClientHeight()};
  Canvas->Brush()->SetColor(GetColor());
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->FillRect(R);
  DrawPenLine(Canvas, PenFromName(FText), R.Left + 2, R.Right - 2, (R.Top + R.Bottom) / 2);
  if (ShowsFocus()) Canvas->DrawFocusRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
}

void TBrushStyleEdit::DrawValue(TCanvas* Canvas, Integer X, Integer Y) {
  const TRect R{X, Y, X + ClientWidth(), Y + ClientHeight()};
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(GetColor());
  Canvas->FillRect(R);
  const Integer V = GetEnumValue(SxTypeInfo(static_cast<TBrushStyle*>(nullptr)), FText);
  DrawBrushSwatch(Canvas, V >= 0 && V <= Integer(bsDiagCross) ? TBrushStyle(V) : bsSolid,
                  {R.Left + 2, R.Top + 2, R.Left + 24, R.Bottom - 2});
  Canvas->SetFont(GetFont());
  Canvas->Font()->SetColor(GetEnabled() ? GetFont()->GetColor() : clBtnShadow);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextOut(R.Left + 28, R.Top + (R.Height() - Canvas->TextHeight("Wg")) / 2,
                  FText.size() > 2 ? FText.substr(2) : AnsiString());
  Canvas->Brush()->SetStyle(bsSolid);
  if (ShowsFocus()) Canvas->DrawFocusRect({R.Left + 26, R.Top + 1, R.Right - 1, R.Bottom - 1});
}

// --- check edit --------------------------------------------------------------------------

TCheckEdit::TCheckEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TCheckEdit::Toggle() {
  auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner());
  if (Edit && Edit->GetReadOnly()) return;
  FChecked = !FChecked;
  if (Edit) Edit->Change();
  Invalidate();
  FModified = true;
  if (Edit) Edit->ValidateEdit();
}

void TCheckEdit::Paint() {
  TCanvas* C = Canvas();
  const TRect R{0, 0, ClientWidth(), ClientHeight()};
  C->Brush()->SetColor(GetColor());
  C->FillRect(R);
  const Integer Box = std::min<Integer>(ClientHeight(), 13);
  const Integer Left = dynamic_cast<TCustomDCEdit*>(GetOwner()) ? 0 : 2;
  TRect B{Left, (ClientHeight() - Box) / 2, Left + Box, (ClientHeight() - Box) / 2 + Box};
  UINT State = CheckState();
  if (FChecked) State |= DFCS_CHECKED;
  if (!GetEnabled()) State |= DFCS_INACTIVE;
  DrawFrameControl(C->GetHandle(), &B, DFC_BUTTON, State);
  // The owning edit's caption stands beside the box.
  auto* Edit = dynamic_cast<TCustomDCEdit*>(GetOwner());
  AnsiString Caption = Edit ? Edit->GetCaption() : AnsiString();
  if (Caption.empty()) return;
  C->SetFont(GetFont());
  C->Brush()->SetStyle(bsClear);
  // Drawn with its accelerator underlined, as a check box's caption is.
  TRect Calc{0, 0, 0, 0};
  DrawTextA(C->GetHandle(), Caption.data(), Integer(Caption.size()), &Calc, DT_SINGLELINE | DT_CALCRECT);
  const TSize Size{Calc.Width(), Calc.Height()};
  const Integer X = Box + 7, Y = (ClientHeight() - Size.cy) / 2;
  auto Out = [&](Integer Dx, TColor Color) {
    C->Font()->SetColor(Color);
    C->RequiredState({csHandleValid, csFontValid});
    SetTextColor(C->GetHandle(), ColorToRGB(Color));
    SetBkMode(C->GetHandle(), TRANSPARENT);
    TRect R{X + Dx, Y + Dx, X + Dx + Size.cx, Y + Dx + Size.cy};
    DrawTextA(C->GetHandle(), Caption.data(), Integer(Caption.size()), &R, DT_SINGLELINE);
  };
  if (GetEnabled()) {
    Out(0, GetFont()->GetColor());
  } else {
    Out(1, clBtnHighlight);
    Out(0, clBtnShadow);
  }
  C->Brush()->SetStyle(bsSolid);
  if (Edit->Focused() && !Edit->GetFlat()) {
    C->Brush()->SetColor(GetColor());
    C->DrawFocusRect({X - 2, Y - 1, X + Size.cx + 2, Y + Size.cy + 1});
  }
}

void TCheckEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* Text = reinterpret_cast<const char*>(Message.LParam);
      const char First = Text && *Text ? char(toupper(static_cast<unsigned char>(*Text))) : '\0';
      const bool Checked = First == 'T' || First == 'Y';
      if (Checked != FChecked) {
        FChecked = Checked;
        Invalidate();
      }
      FModified = false;
      Message.Result = 1;
      return;
    }
    case WM_GETTEXT: Message.Result = CopyOut(FChecked ? "True" : "False", Message.WParam, Message.LParam); return;
    case WM_GETTEXTLENGTH: Message.Result = FChecked ? 4 : 5; return;
    case EM_GETMODIFY: Message.Result = FModified ? 1 : 0; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCheckEdit::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == ' ') {
    Toggle();
    Key = 0;
  }
}

void TCheckEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (CanFocus()) SetFocus();
  const Integer Square = ClientHeight() + 2;
  if (X >= 0 && X < Square && Y >= 0 && Y < Square) Toggle();
}

void RegisterDCEditClasses() {
  const TTypeInfo* Str = AnsiStringTypeInfo();
  RegisterPopupClass(Str, 0, AnsiString(), TPopupListBox::StaticClass());
  RegisterDefaultEditClass(Str, 0, AnsiString(), TDCSimpleEdit::StaticClass());
  RegisterDefaultEditClass(Str, 0, " ", TDCMaskEdit::StaticClass());
  const TTypeInfo* Color = SxTypeInfo(static_cast<TColor*>(nullptr));
  RegisterPopupClass(Color, 0, AnsiString(), TPopupColorBox::StaticClass());
  RegisterEditClass(Color, 0, AnsiString(), TColorEdit::StaticClass());
  const TTypeInfo* Pen = SxTypeInfo(static_cast<TPenStyle*>(nullptr));
  RegisterPopupClass(Pen, 0, AnsiString(), TPopupPenBox::StaticClass());
  RegisterEditClass(Pen, 0, AnsiString(), TPenStyleEdit::StaticClass());
  const TTypeInfo* Brush = SxTypeInfo(static_cast<TBrushStyle*>(nullptr));
  RegisterPopupClass(Brush, 0, AnsiString(), TPopupBrushBox::StaticClass());
  RegisterEditClass(Brush, 0, AnsiString(), TBrushStyleEdit::StaticClass());
  const TTypeInfo* Boolean = TypeInfoOf<bool>();
  RegisterPopupClass(Boolean, 0, AnsiString(), nullptr);
  RegisterEditClass(Boolean, 0, AnsiString(), TCheckEdit::StaticClass());
  RegisterClassOnce(TDCSimpleEdit::StaticClass());
  RegisterClassOnce(TDummyEditSource::StaticClass());
  RegisterClassOnce(TDummyPopup::StaticClass());
}
