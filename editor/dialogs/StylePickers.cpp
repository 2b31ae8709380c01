#include "editor/dialogs/StylePickers.h"

#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/TypInfo.h"

namespace {
template <class E>
std::vector<AnsiString> EnumNames() {
  const TTypeInfo* T = SxTypeInfo(static_cast<E*>(nullptr));
  return T->EnumNames;
}
constexpr Integer SampleWidth = 24;
}  // namespace

// --- the shared list ---------------------------------------------------------

TStylePickerCombo::TStylePickerCombo(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  SetWidth(145);
}

Integer TStylePickerCombo::ValueIndex() const {
  const std::vector<AnsiString> Names = ValueNames();
  for (std::size_t I = 0; I < Names.size(); ++I)
    if (SameText(Names[I], FValueText)) return Integer(I);
  return -1;
}

void TStylePickerCombo::SetValueText(const AnsiString& Value) {
  if (Value == FValueText) return;
  FValueText = Value;
  if (HandleAllocated()) SetItemIndex(ValueIndex());
}

void TStylePickerCombo::CreateWnd() {
  TCustomComboBox::CreateWnd();
  TStrings* Items = GetItems();
  Items->BeginUpdate();
  Items->Clear();
  for (const AnsiString& N : ValueNames()) Items->Add(N);
  Items->EndUpdate();
  SetItemIndex(ValueIndex());
}

void TStylePickerCombo::Change() {
  const Integer I = GetItemIndex();
  const std::vector<AnsiString> Names = ValueNames();
  if (I >= 0 && I < Integer(Names.size())) FValueText = Names[std::size_t(I)];
  TCustomComboBox::Change();
}

void TStylePickerCombo::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* C = Canvas();
  C->FillRect(Rect);
  if (Index < 0 || Index >= GetItems()->GetCount()) return;
  const AnsiString Label = RowLabel(Index);
  const TColor Back = C->Brush()->GetColor();
  const TRect Sample{Rect.Left + 2, Rect.Top + 2, Label.empty() ? Rect.Right - 3 : Rect.Left + SampleWidth,
                     Rect.Bottom - 2};
  DrawSample(C, Index, Sample);
  C->Brush()->SetColor(Back);
  C->Brush()->SetStyle(bsSolid);
  if (!Label.empty())
    C->TextOut(Rect.Left + SampleWidth + 4, Rect.Top + (Rect.Height() - C->TextHeight(Label)) / 2, Label);
  (void)State;
}

// --- pen styles ----------------------------------------------------------------

TDCPenStyleEdit::TDCPenStyleEdit(TComponent* AOwner) : TStylePickerCombo(AOwner) { SetValueText("psSolid"); }

void TDCPenStyleEdit::Published(TPublished<TDCPenStyleEdit>& P) {
  using C = TDCPenStyleEdit;
  P.Property("PenStyle", &C::GetPenStyle, &C::SetPenStyle).Default(psSolid);
  PublishCommon(P);
}

std::vector<AnsiString> TDCPenStyleEdit::ValueNames() const { return EnumNames<TPenStyle>(); }

TPenStyle TDCPenStyleEdit::GetPenStyle() const {
  const Integer I = ValueIndex();
  return I < 0 ? psSolid : TPenStyle(I);
}

void TDCPenStyleEdit::SetPenStyle(TPenStyle Value) { SetValueText(ValueNames()[std::size_t(Value)]); }

void TDCPenStyleEdit::DrawSample(TCanvas* C, Integer Index, TRect R) {
  TPen* P = C->Pen();
  const TColor OldColor = P->GetColor();
  const TPenStyle OldStyle = P->GetStyle();
  P->SetColor(clBlack);
  P->SetStyle(TPenStyle(Index));
  // A dotted pen fills its gaps with the background.
  C->Brush()->SetStyle(bsClear);
  const Integer Y = (R.Top + R.Bottom) / 2;
  C->MoveTo(R.Left, Y);
  C->LineTo(R.Right, Y);
  P->SetStyle(OldStyle);
  P->SetColor(OldColor);
}

// --- brush styles ----------------------------------------------------------------

TDCBrushStyleEdit::TDCBrushStyleEdit(TComponent* AOwner) : TStylePickerCombo(AOwner) { SetValueText("bsSolid"); }

void TDCBrushStyleEdit::Published(TPublished<TDCBrushStyleEdit>& P) {
  using C = TDCBrushStyleEdit;
  P.Property("BrushStyle", &C::GetBrushStyle, &C::SetBrushStyle).Default(bsSolid);
  PublishCommon(P);
}

std::vector<AnsiString> TDCBrushStyleEdit::ValueNames() const { return EnumNames<TBrushStyle>(); }

TBrushStyle TDCBrushStyleEdit::GetBrushStyle() const {
  const Integer I = ValueIndex();
  return I < 0 ? bsSolid : TBrushStyle(I);
}

void TDCBrushStyleEdit::SetBrushStyle(TBrushStyle Value) { SetValueText(ValueNames()[std::size_t(Value)]); }

AnsiString TDCBrushStyleEdit::RowLabel(Integer Index) const {
  const AnsiString N = ValueNames()[std::size_t(Index)];
  return N.size() > 2 ? N.substr(2) : N;
}

void TDCBrushStyleEdit::DrawSample(TCanvas* C, Integer Index, TRect R) {
  TBrush* B = C->Brush();
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetStyle(psSolid);
  // The hatch shows on the info background; Clear is that background alone.
  B->SetStyle(bsSolid);
  B->SetColor(clInfoBk);
  C->Rectangle(R);
  if (TBrushStyle(Index) != bsClear && TBrushStyle(Index) != bsSolid) {
    SetBkColor(C->GetHandle(), ColorToRGB(clInfoBk));
    B->SetColor(clBlack);
    B->SetStyle(TBrushStyle(Index));
    C->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
  } else if (TBrushStyle(Index) == bsSolid) {
    B->SetColor(clBlack);
    C->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1});
  }
  B->SetStyle(bsSolid);
}

void RegisterStylePickers() {
  RegisterClasses({TDCPenStyleEdit::StaticClass(), TDCBrushStyleEdit::StaticClass()});
}
