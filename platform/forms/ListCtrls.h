// ListCtrls.h — the class library's list controls over the system's list
// box and combo box: TCustomListBox/TListBox and TCustomComboBox/TComboBox,
// with Items as TStrings (an object per line), owner drawing through
// OnDrawItem/OnMeasureItem on the control's Canvas, and their published
// properties for form descriptions.
//
// Items live in the window while it exists and in the control otherwise
// (before the window is made, and across RecreateWnd), so a control can be
// filled and read without a parent.
//
// An exception from OnDrawItem or OnMeasureItem goes to the application's
// error display (it leaves through the parent's window procedure); the list
// goes on drawing the other rows and stays usable.
#pragma once
#include <memory>
#include "platform/forms/Controls.h"
#include "platform/rtl/Strings.h"

SX_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw)
SX_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
enum TOwnerDrawStateElem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateElem>;
// The state an owner-draw record's itemState describes.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TDrawItemEvent = TEvent<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, Integer Index, Integer& Height)>;

class TListControlStrings;

// What the list box and the combo box share: the items kept while there
// is no window, the owner-draw canvas, the events.
class TCustomListControlBase : public TWinControl {
  SX_CLASS(TCustomListControlBase, TWinControl)
public:
  explicit TCustomListControlBase(TComponent* AOwner);
  ~TCustomListControlBase() override;

  TStrings* GetItems() const;
  void SetItems(TStrings* Value);
  TCanvas* Canvas() const { return FCanvas.get(); }
  Integer GetItemIndex();
  void SetItemIndex(Integer Value);
  Integer GetItemHeight();
  void SetItemHeight(Integer Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  void Clear();
  void AddItem(const AnsiString& Item, TObject* AObject);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

protected:
  // The window class's procedure: every message nobody handles reaches it.
  virtual WNDPROC SystemProc() const = 0;
  void DefaultHandler(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Draws a row: OnDrawItem when assigned, else the text on the selection colours.
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  virtual bool IsOwnerDraw() const = 0;
  virtual bool IsVariable() const = 0;

  // The messages of the family (LB_* or CB_*).
  struct TItemMessages {
    UINT Add, Insert, Delete, Reset, Count, GetText, GetTextLen, GetData, SetData, FindExact, GetCurSel, SetCurSel,
        GetItemHeight, SetItemHeight;
    LRESULT Err, ErrSpace;
  };
  virtual const TItemMessages& Msgs() const = 0;

  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void CNCtlColor(TMessage& Message);

  std::unique_ptr<TListControlStrings> FItems;
  std::unique_ptr<TStringList> FSaveItems;  // the items while there is no window
  std::unique_ptr<TControlCanvas> FCanvas;
  Integer FSaveItemIndex = -1;
  Integer FItemHeight = 16;
  bool FSorted = false;
  HBRUSH FBrush = nullptr;

  friend class TListControlStrings;
};

class TCustomListBox : public TCustomListControlBase {
  SX_CLASS(TCustomListBox, TCustomListControlBase)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetSelected(Integer Index);
  void SetSelected(Integer Index, bool Value);
  Integer SelCount();
  Integer GetTopIndex();
  void SetTopIndex(Integer Value);
  // The row at a client point; with Existing, -1 off the rows, else the
  // count below the last one.
  Integer ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(Integer Index);
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  WNDPROC SystemProc() const override;
  bool IsOwnerDraw() const override { return FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable; }
  bool IsVariable() const override { return FStyle == lbOwnerDrawVariable; }
  const TItemMessages& Msgs() const override;
  bool IsItemHeightStored() const { return FStyle != lbStandard; }

  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
  TBorderStyle FBorderStyle = bsSingle;
  Integer FSaveTopIndex = 0;
  std::vector<Integer> FSaveSelection;
};

class TListBox : public TCustomListBox {
  SX_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  static void Published(TPublished<TListBox>& P);
};

class TCustomComboBox : public TCustomListControlBase {
  SX_CLASS(TCustomComboBox, TCustomListControlBase)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  Integer GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  Integer GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  bool GetDroppedDown();
  void SetDroppedDown(bool Value);
  // The window of the edit part (csDropDown, csSimple), null otherwise.
  HWND EditHandle();
  void SelectAll();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  // The edit's text, or the selected item's for a drop-down list.
  AnsiString GetTextInternal() const override;
  WNDPROC SystemProc() const override;
  bool IsOwnerDraw() const override { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
  bool IsVariable() const override { return FStyle == csOwnerDrawVariable; }
  const TItemMessages& Msgs() const override;
  bool IsItemHeightStored() const { return IsOwnerDraw(); }
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  void CNCommand(TMessage& Message);

  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
  Integer FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
  SX_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  static void Published(TPublished<TComboBox>& P);
};

// Registers TListBox and TComboBox for form descriptions.
void RegisterListControlClasses();
