// PickerEdits.h — parts of the edit control with buttons that show a value
// instead of its text: drop-down lists of colours and pen styles, and inner
// edits that paint a colour swatch or a pen line. The value travels between
// the parts as its name ("clBlack", "psDot").
#pragma once
#include "editor/dialogs/ColumnLists.h"
#include "platform/gdi/DrawingTools.h"

// The library's paint-into message: WParam a TCanvas*, LParam X and Y in
// its two halves; the control draws its value there and answers 1.
inline constexpr UINT DCM_PAINTINTO = 0xB0C8;

// The list of the 16 standard colours, the system colours and clNone.
class TPopupColorBox : public TPopupListBox {
  SX_CLASS(TPopupColorBox, TPopupListBox)
public:
  explicit TPopupColorBox(TComponent* AOwner);
  static void Published(TPublished<TPopupColorBox>& P);
  // Whether rows show the value's name beside the sample; the list's width follows.
  bool GetDisplayNames() const { return FDisplayNames; }
  void SetDisplayNames(bool Value);
  TColor SelectedColor() const { return FColor; }
  void SetColorValue(TColor Value);

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void Dispatch(TMessage& Message) override;

  // A click on a row makes its value the selected one, then OnClick.
  void Click() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  bool FDisplayNames = true;
  TColor FColor = clBlack;
};

// The list of pen styles, drawn as lines.
class TPopupPenBox : public TPopupListBox {
  SX_CLASS(TPopupPenBox, TPopupListBox)
public:
  explicit TPopupPenBox(TComponent* AOwner);
  static void Published(TPublished<TPopupPenBox>& P);
  // Whether rows show the value's name beside the sample; the list's width follows.
  bool GetDisplayNames() const { return FDisplayNames; }
  void SetDisplayNames(bool Value);
  TPenStyle SelectedPen() const { return FPen; }
  void SetPenValue(TPenStyle Value);

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void Dispatch(TMessage& Message) override;

  // A click on a row makes its value the selected one, then OnClick.
  void Click() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  bool FDisplayNames = false;
  TPenStyle FPen = psSolid;
};

// The list of brush styles ("Solid", "Clear", ...), drawn as swatches; its
// text is the style's name ("bsHorizontal").
class TPopupBrushBox : public TPopupListBox {
  SX_CLASS(TPopupBrushBox, TPopupListBox)
public:
  explicit TPopupBrushBox(TComponent* AOwner);
  static void Published(TPublished<TPopupBrushBox>& P);
  // Whether rows show the value's name beside the sample; the list's width follows.
  bool GetDisplayNames() const { return FDisplayNames; }
  void SetDisplayNames(bool Value);
  TBrushStyle SelectedBrush() const { return FBrush; }
  void SetBrushValue(TBrushStyle Value);

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void Dispatch(TMessage& Message) override;

  // A click on a row makes its value the selected one, then OnClick.
  void Click() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  bool FDisplayNames = true;
  TBrushStyle FBrush = bsSolid;
};

// An inner edit that paints its value.
class TGraphicEdit : public TCustomControl {
  SX_CLASS(TGraphicEdit, TCustomControl)
public:
  explicit TGraphicEdit(TComponent* AOwner);
  virtual void DrawValue(TCanvas* Canvas, Integer X, Integer Y) = 0;
  virtual void SetValueText(const AnsiString& Text) { FText = Text; }
  virtual AnsiString GetValueText() const { return FText; }

protected:
  void Paint() override { DrawValue(Canvas(), 0, 0); }
  void Dispatch(TMessage& Message) override;
  // The owning edit has the focus and draws no flat look.
  bool ShowsFocus() const;
  AnsiString FText;
};

class TColorEdit : public TGraphicEdit {
  SX_CLASS(TColorEdit, TGraphicEdit)
public:
  explicit TColorEdit(TComponent* AOwner) : TGraphicEdit(AOwner) { FText = "clBlack"; }
  // A name that is no colour raises the conversion error; the text stays.
  void SetValueText(const AnsiString& Text) override;
  void DrawValue(TCanvas* Canvas, Integer X, Integer Y) override;
};

class TPenStyleEdit : public TGraphicEdit {
  SX_CLASS(TPenStyleEdit, TGraphicEdit)
public:
  explicit TPenStyleEdit(TComponent* AOwner) : TGraphicEdit(AOwner) { FText = "psSolid"; }
  void DrawValue(TCanvas* Canvas, Integer X, Integer Y) override;
};

class TBrushStyleEdit : public TGraphicEdit {
  SX_CLASS(TBrushStyleEdit, TGraphicEdit)
public:
  explicit TBrushStyleEdit(TComponent* AOwner) : TGraphicEdit(AOwner) { FText = "bsSolid"; }
  void DrawValue(TCanvas* Canvas, Integer X, Integer Y) override;
};

// A check box as the inner edit of a Boolean value: "True" or "False".
// Space or a click on the box toggles it and commits at once.
class TCheckEdit : public TCustomControl {
  SX_CLASS(TCheckEdit, TCustomControl)
public:
  explicit TCheckEdit(TComponent* AOwner);
  bool GetChecked() const { return FChecked; }
  bool Modified() const { return FModified; }
  void Toggle();

protected:
  // The base state of the drawn box.
  virtual UINT CheckState() const { return 0; }
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
  bool FChecked = false;
  bool FModified = false;
};

// Registers the parts of the edit control with buttons per value type.
void RegisterDCEditClasses();
