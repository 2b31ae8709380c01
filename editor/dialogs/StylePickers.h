// StylePickers.h — the pen-style and brush-style pickers of the Display
// options page: edit controls with buttons whose inner edit paints the
// style (a line in the pen style; a swatch in the brush style with its
// name) and whose list shows every style the same way. The value travels
// as its name ("psDot", "bsCross"), so Text and PenStyle/BrushStyle are two
// views of one setting.
#pragma once
#include "editor/dialogs/DCEdit.h"
#include "platform/gdi/DrawingTools.h"

class TStylePickerEdit : public TCustomDCEdit {
  SX_CLASS(TStylePickerEdit, TCustomDCEdit)
public:
  explicit TStylePickerEdit(TComponent* AOwner);
  void SetParent(TWinControl* AParent) override;

protected:
  // The value's name, kept until the inner edit exists to show it.
  void SetValueName(const AnsiString& Name);
  AnsiString ValueName();
  // What every picker publishes after its own value, in this order.
  template <class C>
  static void PublishCommon(TPublished<C>& P) {
    P.Property("Align", &C::GetAlign, &C::SetAlign).Default(alNone);
    P.Property("BorderStyle", &C::GetBorderStyle, &C::SetBorderStyle).Default(bsSingle);
    P.Property("Color", &C::GetColor, &C::SetColor).Default(clWindow);
    P.Property("DropOnClick", &C::DropOnClick, &C::DropOnClick).Default(true);
    P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);
    P.Property("Flat", &C::GetFlat, &C::SetFlat).Default(false);
    P.Property("Font", &C::GetFont, &C::SetFont);
    P.Property("LineColor", &C::GetLineColor, &C::SetLineColor).Default(cl3DDkShadow);
    P.Property("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(false);
    P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
    P.Property("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);
    P.Property("ReadOnly", &C::GetReadOnly, &C::SetReadOnly).Default(false);
    P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint);
    P.Property("TabOrder", &C::GetTabOrder, &C::SetTabOrder).Default(-1);
    P.Property("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
    P.Property("TorvoBorderStyle", &C::GetTorvoBorderStyle, &C::SetTorvoBorderStyle).Default(tbsSunkenBorder);
    P.Property("UseTorvoBorder", &C::GetUseTorvoBorder, &C::SetUseTorvoBorder).Default(false);
    P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true);
    P.Property("OnChange", &C::OnChange, &C::OnChange);
    P.Property("OnClick", &C::OnClick, &C::OnClick);
    P.Property("OnDropDown", &C::OnDropDown, &C::OnDropDown);
    P.Property("OnEnter", &C::OnEnter, &C::OnEnter);
    P.Property("OnExit", &C::OnExit, &C::OnExit);
  }

private:
  AnsiString FValueName;
};

class TDCPenStyleEdit : public TStylePickerEdit {
  SX_CLASS(TDCPenStyleEdit, TStylePickerEdit)
public:
  explicit TDCPenStyleEdit(TComponent* AOwner);
  static void Published(TPublished<TDCPenStyleEdit>& P);

  // A text that names no pen style reads as psSolid.
  TPenStyle GetPenStyle();
  void SetPenStyle(TPenStyle Value);

protected:
  TClass DefaultEditClass() const override;
  TClass DefaultPopupClass() const override;
};

class TDCBrushStyleEdit : public TStylePickerEdit {
  SX_CLASS(TDCBrushStyleEdit, TStylePickerEdit)
public:
  explicit TDCBrushStyleEdit(TComponent* AOwner);
  static void Published(TPublished<TDCBrushStyleEdit>& P);

  // A text that names no brush style reads as bsSolid.
  TBrushStyle GetBrushStyle();
  void SetBrushStyle(TBrushStyle Value);

protected:
  TClass DefaultEditClass() const override;
  TClass DefaultPopupClass() const override;
};

void RegisterStylePickers();
