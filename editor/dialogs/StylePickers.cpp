#include "editor/dialogs/StylePickers.h"

#include "editor/dialogs/PickerEdits.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/TypInfo.h"

namespace {
template <class E>
E ValueOfName(const AnsiString& Name, E Default) {
  const std::vector<AnsiString>& Names = SxTypeInfo(static_cast<E*>(nullptr))->EnumNames;
  for (std::size_t I = 0; I < Names.size(); ++I)
    if (SameText(Names[I], Name)) return E(I);
  return Default;
}

template <class E>
AnsiString NameOfValue(E Value) {
  return GetEnumName(SxTypeInfo(static_cast<E*>(nullptr)), Integer(Value));
}
}  // namespace

// --- the shared part -----------------------------------------------------------

TStylePickerEdit::TStylePickerEdit(TComponent* AOwner) : TCustomDCEdit(AOwner) {
  DropOnClick = true;
  SetWidth(145);
}

void TStylePickerEdit::SetParent(TWinControl* AParent) {
  TCustomDCEdit::SetParent(AParent);
  // The inner edit exists now: it shows the value set before.
  if (AParent && InnerEdit() && !FValueName.empty() && GetText() != FValueName) SetText(FValueName);
}

void TStylePickerEdit::SetValueName(const AnsiString& Name) {
  FValueName = Name;
  if (InnerEdit()) SetText(Name);
}

AnsiString TStylePickerEdit::ValueName() { return InnerEdit() ? GetText() : FValueName; }

// --- pen styles ----------------------------------------------------------------

TDCPenStyleEdit::TDCPenStyleEdit(TComponent* AOwner) : TStylePickerEdit(AOwner) { SetValueName("psSolid"); }

void TDCPenStyleEdit::Published(TPublished<TDCPenStyleEdit>& P) {
  using C = TDCPenStyleEdit;
  P.Property("PenStyle", &C::GetPenStyle, &C::SetPenStyle).Default(psSolid);
  PublishCommon(P);
}

TClass TDCPenStyleEdit::DefaultEditClass() const { return TPenStyleEdit::StaticClass(); }
TClass TDCPenStyleEdit::DefaultPopupClass() const { return TPopupPenBox::StaticClass(); }

TPenStyle TDCPenStyleEdit::GetPenStyle() { return ValueOfName<TPenStyle>(ValueName(), psSolid); }
void TDCPenStyleEdit::SetPenStyle(TPenStyle Value) { SetValueName(NameOfValue(Value)); }

// --- brush styles --------------------------------------------------------------

TDCBrushStyleEdit::TDCBrushStyleEdit(TComponent* AOwner) : TStylePickerEdit(AOwner) { SetValueName("bsSolid"); }

void TDCBrushStyleEdit::Published(TPublished<TDCBrushStyleEdit>& P) {
  using C = TDCBrushStyleEdit;
  P.Property("BrushStyle", &C::GetBrushStyle, &C::SetBrushStyle).Default(bsSolid);
  PublishCommon(P);
}

TClass TDCBrushStyleEdit::DefaultEditClass() const { return TBrushStyleEdit::StaticClass(); }
TClass TDCBrushStyleEdit::DefaultPopupClass() const { return TPopupBrushBox::StaticClass(); }

TBrushStyle TDCBrushStyleEdit::GetBrushStyle() { return ValueOfName<TBrushStyle>(ValueName(), bsSolid); }
void TDCBrushStyleEdit::SetBrushStyle(TBrushStyle Value) { SetValueName(NameOfValue(Value)); }

void RegisterStylePickers() {
  RegisterClasses({TDCPenStyleEdit::StaticClass(), TDCBrushStyleEdit::StaticClass(), TPenStyleEdit::StaticClass(),
                   TBrushStyleEdit::StaticClass(), TPopupPenBox::StaticClass(), TPopupBrushBox::StaticClass()});
}
