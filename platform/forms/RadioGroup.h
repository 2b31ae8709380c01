// RadioGroup.h — TCustomRadioGroup/TRadioGroup: a group box that makes one
// radio button per line of Items and keeps ItemIndex, the chosen line, in
// step with them. The buttons belong to the group (they are never written
// to a form description) and are laid out in Columns, each column filled
// top to bottom, the rows evenly spread over the frame below the caption.
//
// The checked button is the group's tab stop (the first one while none is
// checked, so Tab still reaches the group); the arrow keys move the check
// through the buttons and Alt+letter of a line's "&" checks that line.
// OnClick runs whenever the choice changes, by the user or in code, but
// not while the group is read from a form description.
#pragma once
#include <memory>
#include <vector>

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Strings.h"

class TCustomRadioGroup : public TCustomGroupBox {
  SX_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // -1 when no line is chosen; a value outside the lines chooses none.
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  // 1 to 16.
  Integer GetColumns() const { return FColumns; }
  void SetColumns(Integer Value);
  // The button of line Index (nullptr outside the lines).
  TRadioButton* Buttons(Integer Index) const;
  Integer ButtonCount() const { return Integer(FButtons.size()); }

protected:
  void Loaded() override;
  void Resize() override;
  void Dispatch(TMessage& Message) override;
  // One button per line, captions from the lines, then the check and the
  // layout brought up to date.
  void UpdateButtons();
  void ArrangeButtons();

private:
  void ItemsChange(TObject* Sender);
  void ButtonClick(TObject* Sender);
  // Checks the button of FItemIndex and settles the tab stop.
  void ShowChoice();

  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  SX_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
  static void Published(TPublished<TRadioGroup>& P);
};

// Registers TRadioGroup for form descriptions.
void RegisterRadioGroupClasses();
