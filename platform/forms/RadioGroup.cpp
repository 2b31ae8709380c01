#include "platform/forms/RadioGroup.h"

#include <algorithm>

#include "platform/forms/ControlMessages.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/rtl/ClassRegistry.h"

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
  // The group's own surface is no choice: OnClick speaks of the buttons.
  FControlStyle.Exclude(csClickEvents);
  FControlStyle.Exclude(csAcceptsControls);
  FItems->OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChange);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = {};
  // The buttons go before the group's window, while they still have their parent.
  std::vector<TRadioButton*> Buttons;
  Buttons.swap(FButtons);
  for (TRadioButton* B : Buttons) delete B;
}

TRadioButton* TCustomRadioGroup::Buttons(Integer Index) const {
  return Index >= 0 && Index < ButtonCount() ? FButtons[std::size_t(Index)] : nullptr;
}

void TCustomRadioGroup::SetItemIndex(Integer Value) {
  if (ComponentState().Contains(csLoading)) {
    // The lines may come later in the description: Loaded checks the range.
    FItemIndex = Value;
    return;
  }
  if (Value < -1 || Value >= FItems->GetCount()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  ShowChoice();
  Click();
}

void TCustomRadioGroup::SetColumns(Integer Value) {
  Value = std::clamp<Integer>(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (ComponentState().Contains(csLoading)) {
    UpdateButtons();
    return;
  }
  // A choice past the last line is no choice; one still in range stays.
  if (FItemIndex >= FItems->GetCount()) FItemIndex = -1;
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  const Integer Count = FItems->GetCount();
  while (ButtonCount() > Count) {
    TRadioButton* B = FButtons.back();
    FButtons.pop_back();
    delete B;
  }
  while (ButtonCount() < Count) {
    auto* B = new TRadioButton(this);
    B->OnClick = TNotifyEvent(this, &TCustomRadioGroup::ButtonClick);
    B->SetEnabled(GetEnabled());
    B->SetParent(this);
    FButtons.push_back(B);
  }
  for (Integer I = 0; I < Count; ++I) FButtons[std::size_t(I)]->SetCaption(FItems->GetStrings(I));
  if (!ComponentState().Contains(csLoading)) ShowChoice();
  ArrangeButtons();
}

void TCustomRadioGroup::ShowChoice() {
  FUpdating = true;
  for (Integer I = 0; I < ButtonCount(); ++I) FButtons[std::size_t(I)]->SetChecked(I == FItemIndex);
  // With nothing chosen the first button stands in as the tab stop.
  if (FItemIndex < 0 && !FButtons.empty()) FButtons.front()->SetTabStop(true);
  FUpdating = false;
}

void TCustomRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  auto It = std::find(FButtons.begin(), FButtons.end(), Sender);
  if (It == FButtons.end()) return;
  const Integer Index = Integer(It - FButtons.begin());
  if (!FButtons[std::size_t(Index)]->GetChecked() || Index == FItemIndex) return;
  FItemIndex = Index;
  Click();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty() || ComponentState().Contains(csLoading)) return;
  TEXTMETRICA Tm;
  {
    TMemoryDc Dc(FFont->GetHandle());
    GetTextMetricsA(Dc.Dc(), &Tm);
  }
  const Integer Count = ButtonCount();
  const Integer PerColumn = (Count + FColumns - 1) / FColumns;
  const Integer Top = Tm.tmHeight + 1;
  const Integer ColumnWidth = std::max<Integer>(0, (FWidth - 10) / FColumns);
  // Rows share the height below the caption, less the frame's bottom edge.
  const Integer RowHeight = std::max<Integer>(0, (FHeight - Top - 5) / PerColumn);
  for (Integer I = 0; I < Count; ++I) {
    const Integer Column = I / PerColumn, Row = I % PerColumn;
    FButtons[std::size_t(I)]->SetBounds(8 + Column * ColumnWidth, Top + Row * RowHeight,
                                        std::max<Integer>(0, ColumnWidth - 8), RowHeight);
  }
}

void TCustomRadioGroup::Loaded() {
  inherited::Loaded();
  if (FItemIndex < -1 || FItemIndex >= FItems->GetCount()) FItemIndex = -1;
  ShowChoice();
  ArrangeButtons();
}

void TCustomRadioGroup::Resize() {
  inherited::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      for (TRadioButton* B : FButtons) B->SetEnabled(GetEnabled());
      return;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      ArrangeButtons();
      return;
    default: inherited::Dispatch(Message);
  }
}

void TRadioGroup::Published(TPublished<TRadioGroup>& P) {
  P.Property("Align", &TRadioGroup::GetAlign, &TRadioGroup::SetAlign).Default(alNone);
  P.Property("Anchors", &TRadioGroup::GetAnchors, &TRadioGroup::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TRadioGroup);
  P.Property("Caption", &TRadioGroup::GetCaption, &TRadioGroup::SetCaption);
  P.Property("Color", &TRadioGroup::GetColor, &TRadioGroup::SetColor);
  P.Property("Columns", &TRadioGroup::GetColumns, &TRadioGroup::SetColumns).Default(1);
  P.Property("Constraints", &TRadioGroup::GetConstraints, &TRadioGroup::SetConstraints);
  P.Property("Ctl3D", &TRadioGroup::GetCtl3D, &TRadioGroup::SetCtl3D).Stored(&TRadioGroup::IsCtl3DStored);
  P.Property("DragCursor", &TRadioGroup::GetDragCursor, &TRadioGroup::SetDragCursor).Default(crDrag);
  P.Property("DragKind", &TRadioGroup::GetDragKind, &TRadioGroup::SetDragKind).Default(dkDrag);
  P.Property("DragMode", &TRadioGroup::GetDragMode, &TRadioGroup::SetDragMode).Default(dmManual);
  P.Property("Enabled", &TRadioGroup::GetEnabled, &TRadioGroup::SetEnabled).Default(true);
  P.Property("Font", &TRadioGroup::GetFont, &TRadioGroup::SetFont).Stored(&TRadioGroup::IsFontStored);
  P.Property("ItemIndex", &TRadioGroup::GetItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
  P.Property("Items", &TRadioGroup::GetItems, &TRadioGroup::SetItems);
  P.Property("ParentBackground", &TRadioGroup::GetParentBackground, &TRadioGroup::SetParentBackground)
      .Default(true);
  SX_PUBLISH_PARENT_BIDI(TRadioGroup);
  P.Property("ParentColor", &TRadioGroup::GetParentColor, &TRadioGroup::SetParentColor).Default(true);
  P.Property("ParentFont", &TRadioGroup::GetParentFont, &TRadioGroup::SetParentFont).Default(true);
  P.Property("ParentCtl3D", &TRadioGroup::GetParentCtl3D, &TRadioGroup::SetParentCtl3D).Default(true);
  P.Property("ParentShowHint", &TRadioGroup::GetParentShowHint, &TRadioGroup::SetParentShowHint).Default(true);
  P.Property("PopupMenu", &TRadioGroup::GetPopupMenu, &TRadioGroup::SetPopupMenu);
  P.Property("ShowHint", &TRadioGroup::GetShowHint, &TRadioGroup::SetShowHint);
  P.Property("TabOrder", &TRadioGroup::GetTabOrder, &TRadioGroup::SetTabOrder).Default(-1);
  P.Property("TabStop", &TRadioGroup::GetTabStop, &TRadioGroup::SetTabStop).Default(false);
  P.Property("Visible", &TRadioGroup::GetVisible, &TRadioGroup::SetVisible).Default(true);
  P.Property("OnClick", &TRadioGroup::OnClick, &TRadioGroup::OnClick);
  P.Property("OnEnter", &TRadioGroup::OnEnter, &TRadioGroup::OnEnter);
  P.Property("OnExit", &TRadioGroup::OnExit, &TRadioGroup::OnExit);
}

void RegisterRadioGroupClasses() { RegisterClasses({TRadioGroup::StaticClass()}); }
