// DialogForms_p.h — what the common dialogs' forms share: making a named
// control in code, a label bound to its control, and the colour swatches
// of the colour and font dialogs.
#pragma once
#include <vector>
#include "platform/forms/Controls.h"
#include "platform/forms/StdCtrls.h"

// A control owned by Owner, placed in Parent, named so that tests and
// descendants find it with FindComponent.
template <class T>
T* MakeDialogControl(TWinControl* Parent, TComponent* Owner, const AnsiString& Name) {
  T* C = new T(Owner);
  if (!Name.empty()) C->SetName(Name);
  C->SetParent(Parent);
  return C;
}

TLabel* MakeDialogLabel(TWinControl* Parent, TComponent* Owner, const AnsiString& Caption, TWinControl* Focus,
                        Integer X, Integer Y);

using TSwatchEvent = TEvent<void(TObject* Sender, Integer Index)>;

// A grid of colour cells; a click or the arrow keys select one.
class TColorSwatches : public TCustomControl {
  SX_CLASS(TColorSwatches, TCustomControl)
public:
  TColorSwatches(TComponent* AOwner, Integer Columns, Integer Rows);
  void SetColors(const std::vector<TColor>& Colors);
  const std::vector<TColor>& Colors() const { return FColors; }
  void SetCellColor(Integer Index, TColor Color);
  Integer Selected() const { return FSelected; }
  void SetSelected(Integer Index);
  // The cell's rectangle in client coordinates.
  TRect CellRect(Integer Index) const;
  static constexpr Integer CellWidth = 22, CellHeight = 18;
  TSwatchEvent OnSelect;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

private:
  Integer FColumns, FRows;
  std::vector<TColor> FColors;
  Integer FSelected = -1;
};

// Draws text in the dialogs' sample boxes (UTF-16, so a family name of any
// script shows).
void DrawDialogText(TCanvas* Canvas, const AnsiString& Text, TRect R, UINT Format);
