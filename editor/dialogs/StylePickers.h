// StylePickers.h — the pen-style and brush-style pickers of the Display
// options page: drop-down lists whose rows, and whose closed field, show the
// style itself (a line in the pen style; a swatch in the brush style with
// its name). The value travels as its name ("psDot", "bsCross"), so Text
// and PenStyle/BrushStyle are two views of one setting.
#pragma once
#include "platform/forms/ListCtrls.h"
#include "platform/gdi/DrawingTools.h"

class TStylePickerCombo : public TCustomComboBox {
  SX_CLASS(TStylePickerCombo, TCustomComboBox)
public:
  explicit TStylePickerCombo(TComponent* AOwner);

  // The value's name; a name the picker does not know selects nothing.
  AnsiString GetValueText() const { return FValueText; }
  void SetValueText(const AnsiString& Value);

protected:
  // The names of the values in order, as the value text gives them.
  virtual std::vector<AnsiString> ValueNames() const = 0;
  void CreateWnd() override;
  void Change() override;
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  // Draws the sample of value Index into R of the canvas.
  virtual void DrawSample(TCanvas* C, Integer Index, TRect R) = 0;
  // The row's label beside its sample; empty when names are hidden.
  virtual AnsiString RowLabel(Integer Index) const = 0;
  Integer ValueIndex() const;
  // What every picker publishes after its own value, in this order.
  template <class C>
  static void PublishCommon(TPublished<C>& P) {
    P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);
    P.Property("Font", &C::GetFont, &C::SetFont);
    P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
    P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint);
    P.Property("TabOrder", &C::GetTabOrder, &C::SetTabOrder).Default(-1);
    P.Property("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
    P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true);
    P.Property("OnEnter", &C::OnEnter, &C::OnEnter);
    P.Property("OnExit", &C::OnExit, &C::OnExit);
    P.Property("Color", &C::GetColor, &C::SetColor).Default(clWindow);
    P.Property("OnChange", &C::OnChange, &C::OnChange);
    P.Property("OnDropDown", &C::OnDropDown, &C::OnDropDown);
  }

private:
  AnsiString FValueText;
};

class TDCPenStyleEdit : public TStylePickerCombo {
  SX_CLASS(TDCPenStyleEdit, TStylePickerCombo)
public:
  explicit TDCPenStyleEdit(TComponent* AOwner);
  static void Published(TPublished<TDCPenStyleEdit>& P);

  TPenStyle GetPenStyle() const;
  void SetPenStyle(TPenStyle Value);

protected:
  std::vector<AnsiString> ValueNames() const override;
  void DrawSample(TCanvas* C, Integer Index, TRect R) override;
  AnsiString RowLabel(Integer) const override { return AnsiString(); }
};

class TDCBrushStyleEdit : public TStylePickerCombo {
  SX_CLASS(TDCBrushStyleEdit, TStylePickerCombo)
public:
  explicit TDCBrushStyleEdit(TComponent* AOwner);
  static void Published(TPublished<TDCBrushStyleEdit>& P);

  TBrushStyle GetBrushStyle() const;
  void SetBrushStyle(TBrushStyle Value);

protected:
  std::vector<AnsiString> ValueNames() const override;
  void DrawSample(TCanvas* C, Integer Index, TRect R) override;
  AnsiString RowLabel(Integer Index) const override;
};

void RegisterStylePickers();
