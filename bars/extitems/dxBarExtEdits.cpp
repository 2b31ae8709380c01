// dxBarExtEdits.cpp — the edit-like extra kinds: spin edit and image combo.
#include <cmath>
#include <cstdint>
#include <limits>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/windows/dxBarItemControls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/ImageList.h"
#include "controls/base/cxClasses.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "platform/win/Resources.h"

Int64 dxBarTruncToInt64(long double X) {
  if (std::isnan(X)) return 0;
  // The ends of the range, as long doubles, are exact powers of two.
  constexpr long double Lo = -9223372036854775808.0L;
  constexpr long double Hi = 9223372036854775808.0L;
  if (X <= Lo) return std::numeric_limits<Int64>::min();
  if (X >= Hi) return std::numeric_limits<Int64>::max();
  return Int64(std::trunc(X));
}

// ---------------------------------------------------------------------------
// Spin edit

void TdxBarSpinEdit::Published(TPublished<TdxBarSpinEdit>& P) {
  P.Property("Increment", &TdxBarSpinEdit::GetIncrementD, &TdxBarSpinEdit::SetIncrementD)
      .Stored(&TdxBarSpinEdit::IsIncrementStored);
  P.Property("MaxValue", &TdxBarSpinEdit::GetMaxValueD, &TdxBarSpinEdit::SetMaxValueD)
      .Stored(&TdxBarSpinEdit::IsMaxValueStored);
  P.Property("MinValue", &TdxBarSpinEdit::GetMinValueD, &TdxBarSpinEdit::SetMinValueD)
      .Stored(&TdxBarSpinEdit::IsMinValueStored);
  P.Property("Prefix", &TdxBarSpinEdit::GetPrefix, &TdxBarSpinEdit::SetPrefix);
  P.Property("PrefixPlace", &TdxBarSpinEdit::GetPrefixPlace, &TdxBarSpinEdit::SetPrefixPlace).Default(ppEnd);
  P.Property("ValueType", &TdxBarSpinEdit::GetValueType, &TdxBarSpinEdit::SetValueType).Default(svtInteger);
  P.Property("Value", &TdxBarSpinEdit::GetValueD, &TdxBarSpinEdit::SetValueD).Stored(&TdxBarSpinEdit::IsValueStored);
  P.Property("OnButtonClick", &TdxBarSpinEdit::OnButtonClick, &TdxBarSpinEdit::OnButtonClick);
}

TdxBarSpinEdit::TdxBarSpinEdit(TComponent* AOwner) : TdxBarEdit(AOwner) { TdxBarWindowItem::SetText("0"); }

AnsiString TdxBarSpinEdit::RemovePrefix(const AnsiString& S) const {
  if (FPrefix.empty()) return S;
  AnsiString R = S;
  if (std::size_t P = R.find(FPrefix); P != AnsiString::npos) R.erase(P, FPrefix.size());
  return R;
}

TdxBarSpinEdit::Extended TdxBarSpinEdit::NormalizeValue(Extended X) const {
  return FValueType == svtInteger ? Extended(dxBarTruncToInt64(X)) : X;
}

TdxBarSpinEdit::Extended TdxBarSpinEdit::TextToValue(const AnsiString& S) const {
  const AnsiString T = RemovePrefix(S);
  if (FValueType == svtFloat) {
    double D = 0;
    return TryStrToFloat(T, D) ? Extended(D) : FMinValue;
  }
  Int64 I = 0;
  return TryStrToInt64(T, I) ? Extended(I) : FMinValue;
}

AnsiString TdxBarSpinEdit::ValueToText(Extended X) const {
  AnsiString S = FValueType == svtFloat ? FloatToStr(double(X)) : IntToStr(dxBarTruncToInt64(X));
  return FPrefixPlace == ppEnd ? S + FPrefix : FPrefix + S;
}

TdxBarSpinEdit::Extended TdxBarSpinEdit::CheckValue(Extended X) const {
  X = NormalizeValue(X);
  if (IsRangeActive()) {
    if (X < FMinValue) X = FMinValue;
    if (X > FMaxValue) X = FMaxValue;
  }
  return X;
}

void TdxBarSpinEdit::SetValue(Extended Value) {
  const Extended V = CheckValue(Value);
  if (V != GetValue()) TdxBarWindowItem::SetText(ValueToText(V));
}

namespace {
// The control of a link of Item that edits right now; nil when none does.
TdxBarWinControl* EditingControl(const TdxBarItem* Item) {
  for (Integer I = 0; I < Item->GetLinkCount(); ++I)
    if (auto* C = dynamic_cast<TdxBarWinControl*>(Item->GetLink(I)->Control()); C && C->Editing()) return C;
  return nullptr;
}
}  // namespace

AnsiString TdxBarSpinEdit::GetCurText() const {
  if (TdxBarWinControl* C = EditingControl(this)) return C->GetText();
  return GetText();
}

void TdxBarSpinEdit::SetCurText(const AnsiString& Value) {
  if (TdxBarWinControl* C = EditingControl(this)) {
    C->EditWindow()->SetText(Value);
    return;
  }
  SetText(Value);
}

Integer TdxBarSpinEdit::GetCurIntValue() const {
  const Int64 V = dxBarTruncToInt64(GetCurValue());
  return Integer(std::clamp<Int64>(V, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

void TdxBarSpinEdit::SetCurValue(Extended Value) {
  const Extended V = CheckValue(Value);
  if (V != GetCurValue()) SetCurText(ValueToText(V));
}

void TdxBarSpinEdit::SetText(const AnsiString& Value) {
  const AnsiString T = RemovePrefix(Value);
  double D = 0;
  Int64 I = 0;
  if (FValueType == svtFloat ? !TryStrToFloat(T, D) : !TryStrToInt64(T, I)) return;
  TdxBarWindowItem::SetText(ValueToText(CheckValue(TextToValue(Value))));
}

void TdxBarSpinEdit::SetIncrement(Extended Value) {
  Value = NormalizeValue(Value);
  if ((FValueType == svtInteger && Value < 1) || (FValueType == svtFloat && Value <= 0)) Value = 1;
  FIncrement = Value;
}

void TdxBarSpinEdit::SetMaxValue(Extended Value) {
  Value = NormalizeValue(Value);
  if (FMaxValue == Value) return;
  FMaxValue = Value;
  if (FMaxValue < FMinValue) FMinValue = FMaxValue;
  SetValue(CheckValue(GetValue()));
  SetCurValue(CheckValue(GetCurValue()));
}

void TdxBarSpinEdit::SetMinValue(Extended Value) {
  Value = NormalizeValue(Value);
  if (FMinValue == Value) return;
  FMinValue = Value;
  if (FMinValue > FMaxValue) FMaxValue = FMinValue;
  SetValue(CheckValue(GetValue()));
  SetCurValue(CheckValue(GetCurValue()));
}

void TdxBarSpinEdit::SetPrefix(const AnsiString& Value) {
  const Extended V = GetValue();
  if (FPrefix == Value) return;
  FPrefix = Value;
  TdxBarWindowItem::SetText(ValueToText(V));
}

void TdxBarSpinEdit::SetPrefixPlace(TdxBarSpinEditPrefixPlace Value) {
  const Extended V = GetValue();
  if (FPrefixPlace == Value) return;
  FPrefixPlace = Value;
  TdxBarWindowItem::SetText(ValueToText(V));
}

void TdxBarSpinEdit::SetValueType(TdxBarSpinEditValueType Value) {
  if (FValueType == Value) return;
  const Extended V = GetValue(), C = GetCurValue();
  FValueType = Value;
  if (Value == svtFloat) return;
  SetIncrement(FIncrement);
  // Each bound truncates itself; the setters skip an unchanged value, so
  // the stored one is truncated here first.
  const Extended Min = FMinValue, Max = FMaxValue;
  FMinValue = NormalizeValue(Min);
  FMaxValue = NormalizeValue(Max);
  SetValue(V);
  SetCurValue(C);
}

void TdxBarSpinEdit::ButtonClick(TdxBarSpinEditButton Button) {
  TcxObjectLinkGuard Alive(this);
  if (Button == sbUp) SetCurValue(GetCurValue() + FIncrement);
  else if (Button == sbDown) SetCurValue(GetCurValue() - FIncrement);
  if (Alive.Alive() && OnButtonClick) OnButtonClick(this, Button);
}

bool TdxBarSpinEdit::AcceptsChar(char Key) const {
  if (Key == 3 || Key == 8 || Key == 22 || Key == 24) return true;
  if (Key >= '0' && Key <= '9') return true;
  if (Key == '-' && FMinValue < 0) return true;
  return FValueType == svtFloat && Key == FormatSettings().DecimalSeparator;
}

// ---------------------------------------------------------------------------
// Image combo

void TdxBarImageCombo::Published(TPublished<TdxBarImageCombo>& P) {
  P.Property("DropDownCount", &TdxBarImageCombo::GetDropDownCount, &TdxBarImageCombo::SetDropDownCount).Default(8);
  P.Property("Images", &TdxBarImageCombo::GetImages, &TdxBarImageCombo::SetImages);
  P.Property("Items", &TdxBarImageCombo::GetItemsProp, &TdxBarImageCombo::SetItemsProp);
  P.Property("ItemIndex", &TdxBarImageCombo::GetItemIndex, &TdxBarImageCombo::SetItemIndex).Default(-1);
  P.Property("ShowEditor", &TdxBarImageCombo::GetShowEditor, &TdxBarImageCombo::SetShowEditor).Default(false);
  P.Property("ShowText", &TdxBarImageCombo::GetShowText, &TdxBarImageCombo::SetShowText).Default(true);
  P.Property("Sorted", &TdxBarImageCombo::GetSorted, &TdxBarImageCombo::SetSorted).Default(false);
}

TdxBarImageCombo::TdxBarImageCombo(TComponent* AOwner)
    : TdxBarCustomCombo(AOwner), FImagesChangeLink(std::make_unique<TChangeLink>()) {
  FImagesChangeLink->OnChange = TNotifyEvent(this, &TdxBarImageCombo::ImageListChange);
  if (HBITMAP H = LoadProgramBitmap("DXBARIMAGECOMBO")) GetGlyph()->SetHandle(H);
}

TdxBarImageCombo::~TdxBarImageCombo() {
  if (FImages) FImages->UnRegisterChanges(FImagesChangeLink.get());
}

void TdxBarImageCombo::SetItemsProp(TStrings* Value) { Items()->Assign(Value); }

Integer TdxBarImageCombo::GetImageIndex(Integer Index) const {
  if (Index < 0 || Index >= Items()->GetCount()) return -1;
  return Integer(reinterpret_cast<std::intptr_t>(Items()->GetObjects(Index))) - 1;
}

void TdxBarImageCombo::SetImageIndex(Integer Index, Integer Value) {
  if (Index < 0 || Index >= Items()->GetCount()) return;
  Items()->SetObjects(Index, reinterpret_cast<TObject*>(std::intptr_t(Value) + 1));
  if (Index == GetItemIndex()) RepaintControls();
}

void TdxBarImageCombo::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->UnRegisterChanges(FImagesChangeLink.get());
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImagesChangeLink.get());
    FImages->FreeNotification(this);
  }
  if (!ItemLoading()) ImagesChanged();
}

void TdxBarImageCombo::SetShowText(bool Value) {
  if (FShowText == Value) return;
  FShowText = Value;
  RepaintControls();
}

void TdxBarImageCombo::ImageListChange(TObject*) {
  if (!ItemLoading()) ImagesChanged();
}

void TdxBarImageCombo::ImagesChanged() { RelayoutBars(); }

void TdxBarImageCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarCustomCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (!ItemLoading()) ImagesChanged();
  }
}

void TdxBarImageCombo::DefineProperties(TFiler* Filer) {
  TdxBarCustomCombo::DefineProperties(Filer);
  Filer->DefineProperty(
      "ImageIndexes", [this](TReader* R) { ReadImageIndexes(R); }, [this](TWriter* W) { WriteImageIndexes(W); },
      true);
}

void TdxBarImageCombo::ReadImageIndexes(TReader* Reader) {
  Reader->ReadListBegin();
  for (Integer I = 0; I < Items()->GetCount() && !Reader->EndOfList(); ++I) SetImageIndex(I, Reader->ReadInteger());
  // More values than entries (a list edited elsewhere): the rest is read
  // and dropped, so that the list ends where the reader expects it.
  while (!Reader->EndOfList()) Reader->ReadInteger();
  Reader->ReadListEnd();
}

void TdxBarImageCombo::WriteImageIndexes(TWriter* Writer) {
  Writer->WriteListBegin();
  for (Integer I = 0; I < Items()->GetCount(); ++I) Writer->WriteInteger(GetImageIndex(I));
  Writer->WriteListEnd();
}

void TdxBarImageCombo::DrawItem(TCanvas* C, Integer Index, const TRect& R, bool Focused, bool DroppedDown) const {
  C->FillRect(R);
  const AnsiString Text = Index < 0 ? GetText() : Items()->GetStrings(Index);
  TRect Box{R.Left + 1, R.Top, R.Left + 1, R.Bottom};
  if (FImages) {
    const Integer W = FImages->GetWidth(), H = FImages->GetHeight();
    Box.Left = FShowText ? R.Left + 1 : (R.Left + R.Right - W) / 2;
    Box.Top = (R.Top + R.Bottom - H) / 2;
    Box.Right = Box.Left + W;
    Box.Bottom = Box.Top + H;
    const Integer Image = GetImageIndex(Index);
    if (Image >= 0 && Image < FImages->Count()) FImages->Draw(C, Box.Left, Box.Top, Image, true);
    else if (!DroppedDown) Box.Right = Box.Left;
  }
  if (FShowText) {
    C->Brush()->SetStyle(bsClear);
    C->TextOut(Box.Right + 2, (R.Top + R.Bottom - C->TextHeight(Text)) / 2, Text);
    C->Brush()->SetStyle(bsSolid);
  }
  if (Focused) C->DrawFocusRect(R);
}

Integer TdxBarImageCombo::MeasureItem(TCanvas* C) const {
  Integer H = C->TextHeight("Qq");
  if (FImages) H = std::max(H, FImages->GetHeight() + 2);
  return H;
}

Integer TdxBarImageCombo::MeasureItemWidth(TCanvas* C, Integer Index) const {
  const AnsiString Text = Index < 0 ? GetText() : Items()->GetStrings(Index);
  Integer W = C->TextWidth(Text) + 2;
  if (FImages) W = (FShowText ? W : 0) + FImages->GetWidth() + 2;
  return W;
}
