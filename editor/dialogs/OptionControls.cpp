#include "editor/dialogs/OptionControls.h"

#include <cstdint>

#include "platform/forms/ControlMessages.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Guards.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/OwnerDraw.h"

namespace {
// A row carries its colour as its data.
TObject* ColorData(TColor C) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(C)); }
TColor DataColor(TObject* O) { return TColor(static_cast<std::int32_t>(reinterpret_cast<intptr_t>(O))); }
constexpr Integer SwatchRoom = 32;
}  // namespace

// --- TDCColorCombo ----------------------------------------------------------

TDCColorCombo::TDCColorCombo(TComponent* AOwner) : TCustomComboBox(AOwner) { SetStyle(csOwnerDrawFixed); }

void TDCColorCombo::Published(TPublished<TDCColorCombo>& P) {
  using C = TDCColorCombo;
  P.Property("SelectedColor", &C::GetSelectedColor, &C::SetSelectedColor).Default(0);
  P.Property("CustomColor", &C::GetCustomColor, &C::SetCustomColor).Default(0);
  P.Property("UseCustomColor", &C::GetUseCustomColor, &C::SetUseCustomColor).Default(true);
  P.Property("Color", &C::GetColor, &C::SetColor).Default(clWindow);
  P.Property("DropDownCount", &C::GetDropDownCount, &C::SetDropDownCount).Default(8);
  P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);
  P.Property("Font", &C::GetFont, &C::SetFont);
  P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
  P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint);
  P.Property("TabOrder", &C::GetTabOrder, &C::SetTabOrder).Default(-1);
  P.Property("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
  P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true);
  P.Property("OnEnter", &C::OnEnter, &C::OnEnter);
  P.Property("OnExit", &C::OnExit, &C::OnExit);
  P.Property("OnChange", &C::OnChange, &C::OnChange);
  P.Property("OnDropDown", &C::OnDropDown, &C::OnDropDown);
  P.Property("OnCloseUp", &C::OnCloseUp, &C::OnCloseUp);
  P.Property("OnSelect", &C::OnSelect, &C::OnSelect);
}

TColor TDCColorCombo::ItemColor(Integer Index) const { return DataColor(GetItems()->GetObjects(Index)); }

void TDCColorCombo::AddColorItem(const AnsiString& Ident) {
  TColor C;
  if (!IdentToColor(Ident, C)) return;
  const AnsiString Text = (Ident.size() > 2 && SameText(Ident.substr(0, 2), "cl")) ? Ident.substr(2) : Ident;
  GetItems()->AddObject(Text, ColorData(C));
}

void TDCColorCombo::AddCustomItem() { GetItems()->AddObject("Custom", ColorData(FCustomColor)); }

void TDCColorCombo::SelectColor(TColor Value) {
  TStrings* Items = GetItems();
  for (Integer I = 0; I < Items->GetCount(); ++I)
    if (ItemColor(I) == Value) {
      SetItemIndex(I);
      return;
    }
  SetItemIndex(-1);
}

void TDCColorCombo::CreateWnd() {
  TCustomComboBox::CreateWnd();
  TStrings* Items = GetItems();
  {
    TUpdateGuard<TStrings> Update(*Items);
    Items->Clear();
    GetColorValues([this](const AnsiString& Ident) { AddColorItem(Ident); });
    if (FUseCustomColor) AddCustomItem();
  }
  SelectColor(FSelectedColor);
}

void TDCColorCombo::SetSelectedColor(TColor Value) {
  if (Value == FSelectedColor) return;
  AnsiString Ident;
  if (ColorToIdent(Value, Ident)) {
    FSelectedColor = Value;
    SelectColor(Value);
  } else if (FUseCustomColor) {
    SetCustomColor(Value);
  } else {
    FSelectedColor = TColor(-1);
    SetItemIndex(-1);
  }
}

void TDCColorCombo::SetCustomColor(TColor Value) {
  FCustomColor = Value;
  if (!FUseCustomColor) return;
  FSelectedColor = Value;
  TStrings* Items = GetItems();
  const Integer Last = Items->GetCount() - 1;
  if (Last < 0) return;  // no rows before the window: made with them
  Items->SetObjects(Last, ColorData(Value));
  // Cleared first, so that the row repaints with its new swatch.
  SetItemIndex(-1);
  SetItemIndex(Last);
  Change();
}

void TDCColorCombo::SetUseCustomColor(bool Value) {
  if (Value == FUseCustomColor) return;
  FUseCustomColor = Value;
  TStrings* Items = GetItems();
  if (!HandleAllocated() && Items->GetCount() == 0) return;
  if (Value) {
    AddCustomItem();
  } else {
    const bool WasSelected = GetItemIndex() == Items->GetCount() - 1;
    Items->Delete(Items->GetCount() - 1);
    if (WasSelected || GetItemIndex() < 0) SetItemIndex(0);
  }
}

void TDCColorCombo::Change() {
  Perform(CM_CHANGED, 0, 0);
  const Integer I = GetItemIndex();
  if (I >= 0) FSelectedColor = ItemColor(I);
  if (OnChange.Assigned()) OnChange(this);
}

void TDCColorCombo::Dispatch(TMessage& Message) {
  // The text starts right of the swatch.
  if (Message.Msg == CN_DRAWITEM && Message.LParam)
    reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->rcItem.Left += SwatchRoom;
  TCustomComboBox::Dispatch(Message);
}

void TDCColorCombo::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (Index >= 0 && Index < GetItems()->GetCount()) {
    TCanvas* C = Canvas();
    const TColor Old = C->Brush()->GetColor();
    C->FillRect({Rect.Left - SwatchRoom, Rect.Top, Rect.Left, Rect.Bottom});
    C->Brush()->SetColor(ItemColor(Index));
    C->Rectangle(Rect.Left - 30, Rect.Top + 1, Rect.Left - 2, Rect.Bottom - 1);
    C->Brush()->SetColor(Old);
  }
  TCustomComboBox::DrawItem(Index, Rect, State);
}

// --- TDCPropCheck -----------------------------------------------------------

TDCPropCheck::~TDCPropCheck() {
  if (auto* C = dynamic_cast<TComponent*>(FComponent)) C->RemoveFreeNotification(this);
}

void TDCPropCheck::Published(TPublished<TDCPropCheck>& P) {
  using C = TDCPropCheck;
  P.Property("Component", &C::GetComponent, &C::SetComponent);
  P.Property("PropName", &C::GetPropName, &C::SetPropName);
  P.Property("Inverted", &C::GetInverted, &C::SetInverted).Default(false);
}

bool TDCPropCheck::ResolvePath(const AnsiString& Path) {
  FBoundKind = 1;
  FBoundSetProp = nullptr;
  TObject* Current = FComponent;
  AnsiString Rest = Path;
  for (size_t Dot = Rest.find('.'); Dot != AnsiString::npos && Current; Dot = Rest.find('.')) {
    const AnsiString Name = Rest.substr(0, Dot);
    Rest = Rest.substr(Dot + 1);
    const TPropInfo* P = GetPropInfo(Current, Name);
    if (!P) return false;
    if (P->Kind() == tkSet) {
      FBoundKind = 2;
      FBoundSetProp = P;
    } else if (P->Kind() == tkClass) {
      FBoundKind = 1;
      Current = GetObjectProp(Current, P);
    } else {
      FBoundKind = 0;
      Current = nullptr;
    }
  }
  FBoundName = Rest;
  FBoundObject = Current;
  if (!Current) return false;
  if (FBoundKind == 1) {
    const TPropInfo* P = GetPropInfo(Current, FBoundName);
    return P && SameText(P->PropType->Name, "Boolean");
  }
  if (FBoundKind == 2) {
    const TTypeInfo* Elem = FBoundSetProp->PropType->CompType;
    if (!Elem) return false;
    for (size_t I = 0; I < Elem->EnumNames.size(); ++I)
      if (SameText(Elem->EnumNames[I], FBoundName)) {
        FBoundElement = Integer(I);
        return true;
      }
  }
  return false;
}

void TDCPropCheck::Unbind() {
  FPropName.clear();
  FBoundKind = 0;
  FBoundObject = nullptr;
  FBoundSetProp = nullptr;
}

void TDCPropCheck::SetComponent(TPersistent* Value) {
  if (Value == FComponent) return;
  if (auto* Old = dynamic_cast<TComponent*>(FComponent)) Old->RemoveFreeNotification(this);
  FComponent = Value;
  if (auto* New = dynamic_cast<TComponent*>(FComponent)) New->FreeNotification(this);
  if (FComponent && !ResolvePath(FPropName)) Unbind();
  UpdateState();
}

void TDCPropCheck::SetPropName(const AnsiString& Value) {
  const AnsiString V = Trim(Value);
  if (V == FPropName) return;
  const AnsiString Old = FPropName;
  FPropName = V;
  if (ComponentState().Contains(csLoading)) return;
  if (!FComponent) {
    UpdateState();
  } else if (ResolvePath(FPropName)) {
    UpdateState();
  } else if (!Old.empty()) {
    // Unbindable: the box keeps what it showed, bound to the old path.
    if (!ResolvePath(Old)) Unbind();
  }
}

void TDCPropCheck::SetInverted(bool Value) {
  if (Value == FInverted) return;
  FInverted = Value;
  UpdateState();
}

void TDCPropCheck::UpdateState() {
  const bool Bound = FComponent && !FPropName.empty() && FBoundKind != 0 && FBoundObject;
  SetEnabled(Bound);
  if (!Bound) return;
  bool Value = false;
  if (FBoundKind == 1) Value = GetOrdProp(FBoundObject, FBoundName) != 0;
  else Value = (FBoundSetProp->GetOrd(FBoundObject) >> FBoundElement) & 1;
  // Through the state, not Checked's writer: showing is not toggling.
  if (GetChecked() != (Value != FInverted)) TCheckBox::SetChecked(Value != FInverted);
}

void TDCPropCheck::Toggle() {
  TCheckBox::Toggle();
  WriteBack();
}

void TDCPropCheck::WriteBack() {
  if (!FComponent || FPropName.empty() || !FBoundObject) return;
  const bool Checked = GetChecked();
  if (FBoundKind == 1) {
    SetOrdProp(FBoundObject, FBoundName, (Checked != FInverted) ? 1 : 0);
  } else if (FBoundKind == 2) {
    Int64 Bits = FBoundSetProp->GetOrd(FBoundObject);
    if (Checked == FInverted) Bits &= ~(Int64(1) << FBoundElement);
    else Bits |= Int64(1) << FBoundElement;
    SetOrdProp(FBoundObject, FBoundSetProp, Bits);
  }
}

void TDCPropCheck::Loaded() {
  TCheckBox::Loaded();
  if (FComponent && !ResolvePath(FPropName)) Unbind();
  UpdateState();
}

void TDCPropCheck::Update() {
  TCheckBox::Update();
  UpdateState();
}

void TDCPropCheck::Notification(TComponent* AComponent, TOperation Operation) {
  TCheckBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && static_cast<TPersistent*>(AComponent) == FComponent) {
    FComponent = nullptr;
    FBoundObject = nullptr;
    UpdateState();
  }
}

void RegisterOptionControls() { RegisterClasses({TDCColorCombo::StaticClass(), TDCPropCheck::StaticClass()}); }
