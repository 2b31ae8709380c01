#include "platform/forms/ListCtrls.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/forms/Menus.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Window.h"

namespace {
// The ids that let a parent find the control a WM_MEASUREITEM is for.
int NextControlId() {
  static int Id = 0x4000;
  if (++Id >= 0x7FFF0000) Id = 0x4001;
  return Id;
}
}  // namespace

TOwnerDrawState OwnerDrawStateOf(UINT S) {
  TOwnerDrawState R;
  if (S & ODS_SELECTED) R.Include(odSelected);
  if (S & ODS_GRAYED) R.Include(odGrayed);
  if (S & ODS_DISABLED) R.Include(odDisabled);
  if (S & ODS_CHECKED) R.Include(odChecked);
  if (S & ODS_FOCUS) R.Include(odFocused);
  if (S & ODS_DEFAULT) R.Include(odDefault);
  if (S & ODS_NOACCEL) R.Include(odNoAccel);
  if (S & ODS_NOFOCUSRECT) R.Include(odNoFocusRect);
  if (S & ODS_COMBOBOXEDIT) R.Include(odComboBoxEdit);
  return R;
}

// ---------------------------------------------------------------------------
// Items: in the window when there is one, in the control's list otherwise.

class TListControlStrings : public TStrings {
  SX_CLASS(TListControlStrings, TStrings)
public:
  explicit TListControlStrings(TCustomListControlBase* AControl = nullptr) : FControl(AControl) {}

  Integer GetCount() const override {
    if (!Live()) return Saved()->GetCount();
    return Integer(std::max<LRESULT>(Send(M().Count), 0));
  }
  Integer Add(const AnsiString& S) override {
    if (!Live()) return Saved()->Add(S);
    return Checked(Send(M().Add, 0, LPARAM(S.c_str())));
  }
  void Insert(Integer Index, const AnsiString& S) override {
    if (Index < 0 || Index > GetCount()) IndexError(Index);
    if (!Live()) {
      if (Saved()->GetSorted()) Saved()->Add(S);
      else Saved()->Insert(Index, S);
      return;
    }
    Checked(Send(M().Insert, WPARAM(Index), LPARAM(S.c_str())));
  }
  void Delete(Integer Index) override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    if (!Live()) Saved()->Delete(Index);
    else Send(M().Delete, WPARAM(Index));
  }
  void Clear() override {
    if (!Live()) Saved()->Clear();
    else Send(M().Reset);
  }
  Integer IndexOf(const AnsiString& S) const override {
    if (!Live()) return Saved()->IndexOf(S);
    const LRESULT R = Send(M().FindExact, WPARAM(-1), LPARAM(S.c_str()));
    return R < 0 ? -1 : Integer(R);
  }

protected:
  AnsiString Get(Integer Index) const override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    if (!Live()) return Saved()->GetStrings(Index);
    const LRESULT N = Send(M().GetTextLen, WPARAM(Index));
    if (N < 0) IndexError(Index);
    // The buffer is the length the list gave, plus its terminator.
    AnsiString S(std::size_t(N) + 1, '\0');
    const LRESULT Got = Send(M().GetText, WPARAM(Index), LPARAM(S.data()));
    S.resize(std::size_t(std::clamp<LRESULT>(Got, 0, N)));
    return S;
  }
  void Put(Integer Index, const AnsiString& S) override {
    TObject* Obj = GetObject(Index);
    const Integer Sel = FControl->GetItemIndex();
    Delete(Index);
    InsertObject(Index, S, Obj);
    if (Sel == Index) FControl->SetItemIndex(Index);
  }
  TObject* GetObject(Integer Index) const override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    if (!Live()) return Saved()->GetObjects(Index);
    return reinterpret_cast<TObject*>(Send(M().GetData, WPARAM(Index)));
  }
  void PutObject(Integer Index, TObject* AObject) override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    if (!Live()) Saved()->SetObjects(Index, AObject);
    else Send(M().SetData, WPARAM(Index), LPARAM(AObject));
  }
  void SetUpdateState(bool Updating) override {
    if (!Live()) return;
    Send(WM_SETREDRAW, !Updating);
    if (!Updating) FControl->Invalidate();
  }

private:
  bool Live() const { return FControl->HandleAllocated(); }
  TStringList* Saved() const { return FControl->FSaveItems.get(); }
  const TCustomListControlBase::TItemMessages& M() const { return FControl->Msgs(); }
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const { return FControl->Perform(Msg, W, L); }
  Integer Checked(LRESULT R) const {
    if (R == M().ErrSpace) throw EOutOfResources("Insufficient memory for this operation");
    if (R < 0) throw EStringListError("List index out of bounds");
    return Integer(R);
  }

  TCustomListControlBase* FControl;
};

// ---------------------------------------------------------------------------
// The shared base

TCustomListControlBase::TCustomListControlBase(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TListControlStrings>(this)),
      FSaveItems(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
  // The system control holds the mouse itself; clicks come as notifications.
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
}

TCustomListControlBase::~TCustomListControlBase() {
  if (FBrush) DeleteObject(FBrush);
}

TStrings* TCustomListControlBase::GetItems() const { return FItems.get(); }

void TCustomListControlBase::SetItems(TStrings* Value) { FItems->Assign(Value); }

Integer TCustomListControlBase::GetItemIndex() {
  if (!HandleAllocated()) return FSaveItemIndex;
  return Integer(Perform(Msgs().GetCurSel));
}

void TCustomListControlBase::SetItemIndex(Integer Value) {
  if (!HandleAllocated() || ComponentState().Contains(csLoading)) {
    FSaveItemIndex = Value;
    return;
  }
  if (GetItemIndex() != Value) Perform(Msgs().SetCurSel, WPARAM(Value));
}

Integer TCustomListControlBase::GetItemHeight() {
  if (!HandleAllocated() || IsOwnerDraw()) return FItemHeight;
  return Integer(Perform(Msgs().GetItemHeight, 0));
}

void TCustomListControlBase::SetItemHeight(Integer Value) {
  if (Value <= 0 || Value == FItemHeight) return;
  FItemHeight = Value;
  // The owner-draw styles measure when the window is made.
  if (IsOwnerDraw()) RecreateWnd();
}

void TCustomListControlBase::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  FSaveItems->SetSorted(Value);
  RecreateWnd();
}

void TCustomListControlBase::Clear() { FItems->Clear(); }

void TCustomListControlBase::AddItem(const AnsiString& Item, TObject* AObject) { FItems->AddObject(Item, AObject); }

void TCustomListControlBase::CreateWnd() {
  inherited::CreateWnd();
  // Rows and the field take their height from the control's font.
  Perform(WM_SETFONT, WPARAM(GetFont()->GetHandle()), 0);
  if (FSaveItems->GetCount() > 0) {
    Perform(WM_SETREDRAW, FALSE);
    for (Integer I = 0; I < FSaveItems->GetCount(); ++I) {
      const LRESULT Index = Perform(Msgs().Add, 0, LPARAM(FSaveItems->GetStrings(I).c_str()));
      if (Index >= 0) Perform(Msgs().SetData, WPARAM(Index), LPARAM(FSaveItems->GetObjects(I)));
    }
    Perform(WM_SETREDRAW, TRUE);
    FSaveItems->Clear();
  }
  if (FSaveItemIndex >= 0) SetItemIndex(FSaveItemIndex);
  FSaveItemIndex = -1;
}

void TCustomListControlBase::DestroyWnd() {
  if (FHandle && !ComponentState().Contains(csDestroying)) {
    FSaveItemIndex = GetItemIndex();
    FSaveItems->Clear();
    const Integer N = FItems->GetCount();
    std::vector<std::pair<AnsiString, TObject*>> Lines;
    Lines.reserve(std::size_t(N));
    for (Integer I = 0; I < N; ++I) Lines.emplace_back(FItems->GetStrings(I), FItems->GetObjects(I));
    // Kept in the window's order (already sorted when Sorted).
    const bool Sorted = FSaveItems->GetSorted();
    FSaveItems->SetSorted(false);
    FSaveItems->SetCapacity(N);
    for (auto& L : Lines) FSaveItems->AddObject(L.first, L.second);
    FSaveItems->SetSorted(Sorted);
  }
  inherited::DestroyWnd();
}

void TCustomListControlBase::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    inherited::DefaultHandler(Message);
    return;
  }
  // A colour request from a child control goes back to it; from the
  // system control's own parts, to the system control.
  if (Message.Msg >= WM_CTLCOLORMSGBOX && Message.Msg <= WM_CTLCOLORSTATIC) {
    TWinControl* Child = FindControl(reinterpret_cast<HWND>(Message.LParam));
    if (Child && Child != this) {
      inherited::DefaultHandler(Message);
      return;
    }
  }
  Message.Result = CallWindowProcA(SystemProc(), FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomListControlBase::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCREATE:
      // An id of its own, before the system control measures its items.
      // Only a child window has one: a top-level window's id field holds
      // its menu, and an id there would give it a menu-bar strip.
      if (FHandle && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
        SetWindowLongPtrA(FHandle, GWLP_ID, NextControlId());
      inherited::Dispatch(Message);
      break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomListControlBase::CNCtlColor(TMessage& Message) {
  HDC Dc = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(Dc, ColorToRGB(GetFont()->GetColor()));
  SetBkColor(Dc, ColorToRGB(FColor));
  const COLORREF Want = ColorToRGB(FColor);
  LOGBRUSH Lb{};
  if (!FBrush || !GetObjectA(FBrush, sizeof Lb, &Lb) || Lb.lbColor != Want) {
    if (FBrush) DeleteObject(FBrush);
    FBrush = CreateSolidBrush(Want);
  }
  Message.Result = LRESULT(FBrush);
}

void TCustomListControlBase::CNDrawItem(TMessage& Message) {
  auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (!D) return;
  const TOwnerDrawState State = OwnerDrawStateOf(D->itemState);
  // The canvas lends the system's DC for this row only, whatever happens.
  struct TLend {
    TCanvas* C;
    ~TLend() { C->SetHandle(nullptr); }
  } Lend{FCanvas.get()};
  FCanvas->SetHandle(D->hDC);
  FCanvas->SetFont(GetFont());
  FCanvas->Brush()->SetColor(FColor);
  if (State.Contains(odSelected)) {
    FCanvas->Brush()->SetColor(clHighlight);
    FCanvas->Font()->SetColor(clHighlightText);
  }
  const TRect R = D->rcItem;
  if (int(D->itemID) >= 0) DrawItem(Integer(D->itemID), R, State);
  else FCanvas->FillRect(R);
  if (State.Contains(odFocused) && !State.Contains(odNoFocusRect)) DrawFocusRect(D->hDC, &R);
  Message.Result = TRUE;
}

void TCustomListControlBase::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < FItems->GetCount()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->GetStrings(Index));
}

void TCustomListControlBase::CNMeasureItem(TMessage& Message) {
  auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!M) return;
  Integer Height = FItemHeight;
  if (IsVariable() && int(M->itemID) >= 0) MeasureItem(Integer(M->itemID), Height);
  M->itemHeight = UINT(std::max<Integer>(Height, 1));
  Message.Result = TRUE;
}

void TCustomListControlBase::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem.Assigned()) OnMeasureItem(this, Index, Height);
}

// ---------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListControlBase(AOwner) {
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

WNDPROC TCustomListBox::SystemProc() const { return &ListBoxWndProc; }

const TCustomListControlBase::TItemMessages& TCustomListBox::Msgs() const {
  static const TItemMessages M{LB_ADDSTRING,     LB_INSERTSTRING,   LB_DELETESTRING,    LB_RESETCONTENT,
                               LB_GETCOUNT,      LB_GETTEXT,        LB_GETTEXTLEN,      LB_GETITEMDATA,
                               LB_SETITEMDATA,   LB_FINDSTRINGEXACT, LB_GETCURSEL,      LB_SETCURSEL,
                               LB_GETITEMHEIGHT, LB_SETITEMHEIGHT,  LB_ERR,             LB_ERRSPACE};
  return M;
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  if (FSorted) Params.Style |= LBS_SORT;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  if (FMultiSelect)
    for (Integer I : FSaveSelection) Perform(LB_SETSEL, TRUE, LPARAM(I));
  FSaveSelection.clear();
  if (FSaveTopIndex > 0) Perform(LB_SETTOPINDEX, WPARAM(FSaveTopIndex));
  FSaveTopIndex = 0;
}

void TCustomListBox::DestroyWnd() {
  if (FHandle && !ComponentState().Contains(csDestroying)) {
    FSaveTopIndex = GetTopIndex();
    FSaveSelection.clear();
    if (FMultiSelect) {
      const Integer N = SelCount();
      FSaveSelection.resize(std::size_t(std::max<Integer>(N, 0)));
      if (N > 0) Perform(LB_GETSELITEMS, WPARAM(N), LPARAM(FSaveSelection.data()));
    }
  }
  inherited::DestroyWnd();
}

void TCustomListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    switch (SHORT(HIWORD(Message.WParam))) {
      case LBN_SELCHANGE: Click(); break;
      case LBN_DBLCLK: DblClick(); break;
      default: break;
    }
    return;
  }
  inherited::Dispatch(Message);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  FSaveSelection.clear();
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

bool TCustomListBox::GetSelected(Integer Index) {
  if (Index < 0 || Index >= FItems->GetCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  if (!HandleAllocated()) {
    if (FMultiSelect) return std::find(FSaveSelection.begin(), FSaveSelection.end(), Index) != FSaveSelection.end();
    return FSaveItemIndex == Index;
  }
  return Perform(LB_GETSEL, WPARAM(Index)) > 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= FItems->GetCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  if (!FMultiSelect) {
    if (Value) SetItemIndex(Index);
    else if (GetItemIndex() == Index) SetItemIndex(-1);
    return;
  }
  if (!HandleAllocated()) {
    auto It = std::find(FSaveSelection.begin(), FSaveSelection.end(), Index);
    if (Value && It == FSaveSelection.end()) FSaveSelection.push_back(Index);
    if (!Value && It != FSaveSelection.end()) FSaveSelection.erase(It);
    return;
  }
  Perform(LB_SETSEL, Value, LPARAM(Index));
}

Integer TCustomListBox::SelCount() {
  if (!FMultiSelect) return -1;
  if (!HandleAllocated()) return Integer(FSaveSelection.size());
  return Integer(Perform(LB_GETSELCOUNT));
}

Integer TCustomListBox::GetTopIndex() {
  if (!HandleAllocated()) return FSaveTopIndex;
  return Integer(Perform(LB_GETTOPINDEX));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  if (!HandleAllocated()) FSaveTopIndex = Value;
  else if (GetTopIndex() != Value) Perform(LB_SETTOPINDEX, WPARAM(Value));
}

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  const Integer Count = FItems->GetCount();
  if (!HandleAllocated() || Count == 0) return Existing ? -1 : 0;
  const LRESULT R = Perform(LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.X, Pos.Y));
  // The answer holds the index's low 16 bits; the rows shown start at the top.
  const Integer Top = GetTopIndex();
  Integer Index = Top + WORD(LOWORD(std::uintptr_t(R)) - WORD(Top));
  TRect Rect = ItemRect(Index);
  const bool Inside = !HIWORD(std::uintptr_t(R)) && Rect.Contains(Pos);
  if (Inside) return Index;
  if (Existing) return -1;
  return Pos.Y >= Rect.Bottom ? Count : Index;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  TRect R;
  if (HandleAllocated() && Index >= 0 && Index < FItems->GetCount()) Perform(LB_GETITEMRECT, WPARAM(Index), LPARAM(&R));
  return R;
}

void TCustomListBox::ClearSelection() {
  if (FMultiSelect) {
    if (HandleAllocated()) Perform(LB_SETSEL, FALSE, -1);
    else FSaveSelection.clear();
  } else {
    SetItemIndex(-1);
  }
}

void TCustomListBox::SelectAll() {
  if (!FMultiSelect) return;
  if (HandleAllocated()) {
    Perform(LB_SETSEL, TRUE, -1);
    return;
  }
  FSaveSelection.clear();
  for (Integer I = 0; I < FItems->GetCount(); ++I) FSaveSelection.push_back(I);
}

void TCustomListBox::DeleteSelected() {
  if (!FMultiSelect) {
    const Integer I = GetItemIndex();
    if (I >= 0) FItems->Delete(I);
    return;
  }
  FItems->BeginUpdate();
  for (Integer I = FItems->GetCount() - 1; I >= 0; --I)
    if (GetSelected(I)) FItems->Delete(I);
  FItems->EndUpdate();
}

void TListBox::Published(TPublished<TListBox>& P) {
  P.Property("Style", &TListBox::GetStyle, &TListBox::SetStyle).Default(lbStandard);
  P.Property("Align", &TListBox::GetAlign, &TListBox::SetAlign).Default(alNone);
  P.Property("Anchors", &TListBox::GetAnchors, &TListBox::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TListBox);
  P.Property("BorderStyle", &TListBox::GetBorderStyle, &TListBox::SetBorderStyle).Default(bsSingle);
  P.Property("Color", &TListBox::GetColor, &TListBox::SetColor).Default(clWindow);
  P.Property("Constraints", &TListBox::GetConstraints, &TListBox::SetConstraints);
  P.Property("DragMode", &TListBox::GetDragMode, &TListBox::SetDragMode).Default(dmManual);
  P.Property("Enabled", &TListBox::GetEnabled, &TListBox::SetEnabled).Default(true);
  P.Property("ExtendedSelect", &TListBox::GetExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
  P.Property("Font", &TListBox::GetFont, &TListBox::SetFont).Stored(&TListBox::IsFontStored);
  SX_PUBLISH_IME(TListBox);
  P.Property("IntegralHeight", &TListBox::GetIntegralHeight, &TListBox::SetIntegralHeight).Default(false);
  P.Property("ItemHeight", &TListBox::GetItemHeight, &TListBox::SetItemHeight).Stored(&TListBox::IsItemHeightStored);
  P.Property("Items", &TListBox::GetItems, &TListBox::SetItems);
  P.Property("MultiSelect", &TListBox::GetMultiSelect, &TListBox::SetMultiSelect).Default(false);
  SX_PUBLISH_PARENT_BIDI(TListBox);
  P.Property("ParentColor", &TListBox::GetParentColor, &TListBox::SetParentColor).Default(false);
  P.Property("ParentFont", &TListBox::GetParentFont, &TListBox::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TListBox::GetParentShowHint, &TListBox::SetParentShowHint).Default(true);
  SX_PUBLISH_POPUP_HINT(TListBox);
  P.Property("Sorted", &TListBox::GetSorted, &TListBox::SetSorted).Default(false);
  SX_PUBLISH_TAB(TListBox, true);
  P.Property("Visible", &TListBox::GetVisible, &TListBox::SetVisible).Default(true);
  P.Property("OnClick", &TListBox::OnClick, &TListBox::OnClick);
  P.Property("OnDblClick", &TListBox::OnDblClick, &TListBox::OnDblClick);
  P.Property("OnDragDrop", &TListBox::OnDragDrop, &TListBox::OnDragDrop);
  P.Property("OnDragOver", &TListBox::OnDragOver, &TListBox::OnDragOver);
  P.Property("OnDrawItem", &TListBox::OnDrawItem, &TListBox::OnDrawItem);
  P.Property("OnEndDrag", &TListBox::OnEndDrag, &TListBox::OnEndDrag);
  SX_PUBLISH_KEY_EVENTS(TListBox);
  P.Property("OnMeasureItem", &TListBox::OnMeasureItem, &TListBox::OnMeasureItem);
  SX_PUBLISH_MOUSE_EVENTS(TListBox);
  P.Property("OnStartDrag", &TListBox::OnStartDrag, &TListBox::OnStartDrag);
}

// ---------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomListControlBase(AOwner) {
  SetBounds(0, 0, 145, 21);
  FSaveItemIndex = -1;
}

TCustomComboBox::~TCustomComboBox() = default;

WNDPROC TCustomComboBox::SystemProc() const { return &ComboBoxWndProc; }

const TCustomListControlBase::TItemMessages& TCustomComboBox::Msgs() const {
  static const TItemMessages M{CB_ADDSTRING,     CB_INSERTSTRING,    CB_DELETESTRING, CB_RESETCONTENT,
                               CB_GETCOUNT,      CB_GETLBTEXT,       CB_GETLBTEXTLEN, CB_GETITEMDATA,
                               CB_SETITEMDATA,   CB_FINDSTRINGEXACT, CB_GETCURSEL,    CB_SETCURSEL,
                               CB_GETITEMHEIGHT, CB_SETITEMHEIGHT,   CB_ERR,          CB_ERRSPACE};
  return M;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  static const DWORD Kinds[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | Kinds[FStyle];
  if (FSorted) Params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
  const AnsiString Text = FText;
  inherited::CreateWnd();
  Perform(CB_SETMINVISIBLE, WPARAM(std::max<Integer>(FDropDownCount, 1)));
  if (FMaxLength > 0) Perform(CB_LIMITTEXT, WPARAM(FMaxLength));
  if (FStyle == csDropDown || FStyle == csSimple) {
    if (!Text.empty() && GetItemIndex() < 0) SetWindowTextA(FHandle, Text.c_str());
  }
}

void TCustomComboBox::DestroyWnd() {
  const AnsiString Text = GetTextInternal();
  inherited::DestroyWnd();
  FText = Text;
}

AnsiString TCustomComboBox::GetTextInternal() const {
  if (!FHandle) return FText;
  const LRESULT N = SendMessageA(FHandle, WM_GETTEXTLENGTH, 0, 0);
  if (N <= 0) return {};
  AnsiString S(std::size_t(N) + 1, '\0');
  const LRESULT Got = SendMessageA(FHandle, WM_GETTEXT, WPARAM(N + 1), LPARAM(S.data()));
  S.resize(std::size_t(std::clamp<LRESULT>(Got, 0, N)));
  return S;
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
      // The text is the edit's or the selected item's, never the combo window's own.
      if (FHandle) DefaultHandler(Message);
      else inherited::Dispatch(Message);
      break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (SHORT(HIWORD(Message.WParam))) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    case CBN_SELCHANGE:
      Click();
      Select();
      break;
    case CBN_SETFOCUS:
      // With an edit part the combo box's window does not see the focus come.
      if (TCustomForm* Form = GetParentForm(this)) Form->SetFocusedControl(this);
      break;
    default: break;
  }
}

void TCustomComboBox::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect.Assigned()) OnSelect(this);
  else Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown.Assigned()) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp.Assigned()) OnCloseUp(this);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
  FDropDownCount = Value;
  if (HandleAllocated()) Perform(CB_SETMINVISIBLE, WPARAM(std::max<Integer>(Value, 1)));
}

void TCustomComboBox::SetMaxLength(Integer Value) {
  FMaxLength = std::max<Integer>(Value, 0);
  if (HandleAllocated()) Perform(CB_LIMITTEXT, WPARAM(FMaxLength));
}

bool TCustomComboBox::GetDroppedDown() { return HandleAllocated() && Perform(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value) { Perform(CB_SHOWDROPDOWN, Value); }

HWND TCustomComboBox::EditHandle() { return ComboBoxEditWindow(Handle()); }

void TCustomComboBox::SelectAll() {
  if (HandleAllocated()) Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TComboBox::Published(TPublished<TComboBox>& P) {
  P.Property("Style", &TComboBox::GetStyle, &TComboBox::SetStyle).Default(csDropDown);
  P.Property("Anchors", &TComboBox::GetAnchors, &TComboBox::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TComboBox);
  P.Property("Color", &TComboBox::GetColor, &TComboBox::SetColor).Default(clWindow);
  P.Property("Constraints", &TComboBox::GetConstraints, &TComboBox::SetConstraints);
  P.Property("DropDownCount", &TComboBox::GetDropDownCount, &TComboBox::SetDropDownCount).Default(8);
  P.Property("Enabled", &TComboBox::GetEnabled, &TComboBox::SetEnabled).Default(true);
  P.Property("Font", &TComboBox::GetFont, &TComboBox::SetFont).Stored(&TComboBox::IsFontStored);
  SX_PUBLISH_IME(TComboBox);
  P.Property("ItemHeight", &TComboBox::GetItemHeight, &TComboBox::SetItemHeight)
      .Stored(&TComboBox::IsItemHeightStored);
  P.Property("MaxLength", &TComboBox::GetMaxLength, &TComboBox::SetMaxLength).Default(0);
  SX_PUBLISH_PARENT_BIDI(TComboBox);
  P.Property("ParentColor", &TComboBox::GetParentColor, &TComboBox::SetParentColor).Default(false);
  P.Property("ParentFont", &TComboBox::GetParentFont, &TComboBox::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TComboBox::GetParentShowHint, &TComboBox::SetParentShowHint).Default(true);
  SX_PUBLISH_POPUP_HINT(TComboBox);
  P.Property("Sorted", &TComboBox::GetSorted, &TComboBox::SetSorted).Default(false);
  SX_PUBLISH_TAB(TComboBox, true);
  P.Property("Text", &TComboBox::GetText, &TComboBox::SetText);
  P.Property("Visible", &TComboBox::GetVisible, &TComboBox::SetVisible).Default(true);
  P.Property("OnChange", &TComboBox::OnChange, &TComboBox::OnChange);
  P.Property("OnClick", &TComboBox::OnClick, &TComboBox::OnClick);
  P.Property("OnCloseUp", &TComboBox::OnCloseUp, &TComboBox::OnCloseUp);
  P.Property("OnDblClick", &TComboBox::OnDblClick, &TComboBox::OnDblClick);
  P.Property("OnDrawItem", &TComboBox::OnDrawItem, &TComboBox::OnDrawItem);
  P.Property("OnDropDown", &TComboBox::OnDropDown, &TComboBox::OnDropDown);
  SX_PUBLISH_KEY_EVENTS(TComboBox);
  P.Property("OnMeasureItem", &TComboBox::OnMeasureItem, &TComboBox::OnMeasureItem);
  P.Property("OnSelect", &TComboBox::OnSelect, &TComboBox::OnSelect);
  // Items before ItemIndex: the index names one of them.
  P.Property("Items", &TComboBox::GetItems, &TComboBox::SetItems);
  P.Property("ItemIndex", &TComboBox::GetItemIndex, &TComboBox::SetItemIndex).Default(-1);
}

void RegisterListControlClasses() { RegisterClasses({TListBox::StaticClass(), TComboBox::StaticClass()}); }
