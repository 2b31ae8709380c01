// ColumnLists.h — list boxes whose items are made of columns: TDCListBox
// draws "Name|Type" items in aligned columns, with the part of a column
// between two "~" in bold; TPopupListBox is such a list as a drop-down (it
// selects while the mouse is dragged over it and closes on Enter, Escape
// or a click); TDCPopupListBox is a free-standing drop-down that any control
// opens at a point and that reports the chosen index (-1 when cancelled).
#pragma once
#include <functional>
#include <memory>
#include <vector>
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/Collection.h"

class TBitmap;
class TCanvas;

SX_ENUM(TLeftRightAlign, lrLeftJustify, lrRightJustify)

class TDCListBoxColumn : public TCollectionItem {
  SX_CLASS(TDCListBoxColumn, TCollectionItem)
public:
  explicit TDCListBoxColumn(TCollection* ACollection) : TCollectionItem(ACollection) {}
  static void Published(TPublished<TDCListBoxColumn>& P);
  // 0: as wide as the widest text of the column.
  Integer ColumnSize = 0;
  TLeftRightAlign Alignment = lrLeftJustify;
};

class TDCListBoxColumns : public TCollection {
  SX_CLASS(TDCListBoxColumns, TCollection)
public:
  TDCListBoxColumns() : TCollection(TDCListBoxColumn::StaticClass()) {}
  TDCListBoxColumn* Add() { return static_cast<TDCListBoxColumn*>(TCollection::Add()); }
  TDCListBoxColumn* Column(Integer I) const { return static_cast<TDCListBoxColumn*>(Items(I)); }
};

class TDCListBox : public TCustomListBox {
  SX_CLASS(TDCListBox, TCustomListBox)
public:
  explicit TDCListBox(TComponent* AOwner);
  ~TDCListBox() override;

  TDCListBoxColumns* Columns() const { return FColumns.get(); }
  // Items are drawn in columns (set before the window exists).
  bool GetCustomDraw() const { return FCustomDraw; }
  void SetCustomDraw(bool Value);
  // The widest text of each column over all items (with one blank).
  void MeasureColumns();
  const std::vector<Integer>& MeasuredWidths() const { return FMeasured; }
  // The width column I is drawn with.
  Integer ColumnWidth(Integer I) const;

protected:
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  TFont* BoldFont();
  TCanvas* MeasureCanvas();
  std::vector<Integer> FMeasured;

private:
  std::unique_ptr<TDCListBoxColumns> FColumns;
  std::unique_ptr<TFont> FBold;
  std::unique_ptr<TBitmap> FMeasureBitmap;
  bool FCustomDraw = false;
};

class TPopupListBox : public TDCListBox {
  SX_CLASS(TPopupListBox, TDCListBox)
public:
  explicit TPopupListBox(TComponent* AOwner);
  // Closes the list; Accept keeps the selected item.
  virtual void CloseUp(bool Accept);
  // The client height fits the items: at least one row, at most seven.
  void AdjustHeight();
  static constexpr Integer MaxRows = 7;

protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;
  bool FTracking = false;
};

// Sender the list; Index the chosen item or -1.
using TPopupListResult = std::function<void(TObject* Sender, Integer Index)>;

class TDCPopupListBox : public TPopupListBox {
  SX_CLASS(TDCPopupListBox, TPopupListBox)
public:
  explicit TDCPopupListBox(TComponent* AOwner);
  ~TDCPopupListBox() override;

  // The largest width (0: none); wider columns are narrowed in proportion.
  Integer WidthLimit = 0;
  TPopupListResult OnResult;

  // Shows the list with its top-left corner at the screen point (moved up
  // or left when it would pass the screen's edge), item 0 selected. While
  // it is open the keys of its parent control go to it and a click outside
  // it cancels it.
  void ShowAt(Integer X, Integer Y);
  void CloseUp(bool Accept) override;
  bool IsOpen() const { return FOpen; }

private:
  void FitColumns(Integer& Total);
  void ParentWndProc(TMessage& Message);
  void Unhook();
  TWndMethod FParentProc;
  TWinControl* FHookedParent = nullptr;
  bool FOpen = false;
};

// The list under Control at its client point (X, Y): one column per
// alignment, Font (or MS Sans Serif 8), the items copied. The caller frees
// the list.
TDCPopupListBox* ShowPopupListBox(TWinControl* Control, TStrings* Items, Integer X, Integer WidthLimit,
                                  TPopupListResult Callback, TFont* Font,
                                  const std::vector<TLeftRightAlign>& Alignments, Integer Y);
