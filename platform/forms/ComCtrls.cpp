#include "platform/forms/ComCtrls.h"

#include <algorithm>
#include <cstring>

#include "platform/forms/ControlDrag.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ControlProps_p.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/ImageListHandles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace {
// Adopts the class's procedure as the control's default handler: the
// library's window keeps its own class (so it reaches the control), and
// everything the control does not handle goes on to the common control.
WNDPROC CommonControlProc(const char* ClassName) {
  InitCommonControls();
  WNDCLASSA C;
  if (!GetClassInfoA(nullptr, ClassName, &C)) throw EOutOfResources("Error creating window");
  return C.lpfnWndProc;
}

// With automatic dragging a press still reaches the tree or list view (it
// selects the item and watches for the drag, which starts on the control's
// begin-drag notification): Pass runs with the mode held at manual.
template <class F>
void PassPressWithoutAutoDrag(TDragMode& Mode, const TMessage& Message, F&& Pass) {
  if ((Message.Msg != WM_LBUTTONDOWN && Message.Msg != WM_LBUTTONDBLCLK) || Mode != dmAutomatic) {
    Pass();
    return;
  }
  Mode = dmManual;
  try {
    Pass();
  } catch (...) {
    Mode = dmAutomatic;
    throw;
  }
  Mode = dmAutomatic;
}

// A label edit's typed characters pass the view's key press first
// (OnKeyPress, a form's key preview), which may change or drop them: the
// view answers this message with the character to type, 0 to drop it.
constexpr UINT CM_LABELEDITCHAR = CM_BASE + 0xC8;

struct TLabelEditHook {
  TWinControl* View;
  WNDPROC Prev;
};
constexpr const char* LabelEditHookProp = "SxLabelEditHook";

LRESULT LabelEditHookProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* Hook = static_cast<TLabelEditHook*>(GetPropA(Wnd, LabelEditHookProp));
  if (!Hook) return DefWindowProcA(Wnd, Msg, W, L);
  const WNDPROC Prev = Hook->Prev;
  if (Msg == WM_NCDESTROY) {
    delete static_cast<TLabelEditHook*>(RemovePropA(Wnd, LabelEditHookProp));
    return CallWindowProcA(Prev, Wnd, Msg, W, L);
  }
  if (Msg == WM_CHAR) {
    W = WPARAM(Hook->View->Perform(CM_LABELEDITCHAR, W, L));
    if (W == 0) return 0;
  }
  return CallWindowProcA(Prev, Wnd, Msg, W, L);
}

void HookLabelEdit(TWinControl* View, HWND Edit) {
  if (!IsWindow(Edit) || GetPropA(Edit, LabelEditHookProp)) return;
  auto* Hook = new TLabelEditHook{View, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Edit, GWLP_WNDPROC))};
  SetPropA(Edit, LabelEditHookProp, Hook);
  SetWindowLongPtrA(Edit, GWLP_WNDPROC, LONG_PTR(&LabelEditHookProc));
}

// In-place label editing as the tree and the list view both do it: the
// view's window runs the edit and names it in answer to GetEditMsg
// (TVM_GETEDITCONTROL, LVM_GETEDITCONTROL); null when none runs.
HWND LabelEditOf(HWND View, UINT GetEditMsg) {
  return View ? reinterpret_cast<HWND>(SendMessageA(View, GetEditMsg, 0, 0)) : nullptr;
}

struct TLabelEditing {
  TWinControl* View;
  UINT GetEditMsg;

  HWND Edit() const { return LabelEditOf(View->HandleAllocated() ? View->Handle() : nullptr, GetEditMsg); }
  // The start of an edit: refused (Result 1) unless Allowed; an allowed
  // edit's typed characters pass the view's key press first.
  void Begin(TMessage& Message, bool Allowed) const {
    Message.Result = Allowed ? 0 : 1;
    if (Allowed) HookLabelEdit(View, Edit());
  }
  // The view's Dispatch offers each message here first; true when it was
  // the edit's. While an edit runs its keys are its own (no shortcuts, no
  // dialog keys); CM_LABELEDITCHAR runs KeyPress (the view's DoKeyPress)
  // and answers the character to type, 0 to drop it.
  template <class FKeyPress>
  bool Dispatch(TMessage& Message, FKeyPress KeyPress) const {
    switch (Message.Msg) {
      case CN_KEYDOWN:
      case CN_CHAR:
        if (!Edit()) return false;
        Message.Result = 0;
        return true;
      case CM_LABELEDITCHAR: {
        TMessage Key{WM_CHAR, Message.WParam, Message.LParam, 0};
        Message.Result = KeyPress(Key) ? 0 : LRESULT(Key.WParam);
        return true;
      }
      default: return false;
    }
  }
};

// Notifications carry the mouse press that started them; the library's
// drag starts there.
}  // namespace

// ===========================================================================
// TTreeNode

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }
HWND TTreeNode::Wnd() const { return FOwner->Wnd(); }

HTREEITEM TTreeNode::Relative(WPARAM Code) const {
  return reinterpret_cast<HTREEITEM>(SendMessageA(Wnd(), TVM_GETNEXTITEM, Code, LPARAM(FItemId)));
}

UINT TTreeNode::State() const {
  TVITEMA I;
  I.mask = TVIF_STATE | TVIF_HANDLE;
  I.hItem = FItemId;
  I.stateMask = ~0u;
  SendMessageA(Wnd(), TVM_GETITEMA, 0, LPARAM(&I));
  return I.state;
}

void TTreeNode::SetText(const AnsiString& Value) {
  if (FText == Value) return;
  FText = Value;
  // The window asks for the text (callback); redraw it.
  TVITEMA I;
  I.mask = TVIF_TEXT | TVIF_HANDLE;
  I.hItem = FItemId;
  I.pszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(Wnd(), TVM_SETITEMA, 0, LPARAM(&I));
}

void TTreeNode::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  TVITEMA I;
  I.mask = TVIF_IMAGE | TVIF_HANDLE;
  I.hItem = FItemId;
  I.iImage = Value;
  SendMessageA(Wnd(), TVM_SETITEMA, 0, LPARAM(&I));
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  FSelectedIndex = Value;
  TVITEMA I;
  I.mask = TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  I.hItem = FItemId;
  I.iSelectedImage = Value;
  SendMessageA(Wnd(), TVM_SETITEMA, 0, LPARAM(&I));
}

bool TTreeNode::GetHasChildren() const {
  TVITEMA I;
  I.mask = TVIF_CHILDREN | TVIF_HANDLE;
  I.hItem = FItemId;
  SendMessageA(Wnd(), TVM_GETITEMA, 0, LPARAM(&I));
  return I.cChildren > 0;
}

void TTreeNode::SetHasChildren(bool Value) {
  TVITEMA I;
  I.mask = TVIF_CHILDREN | TVIF_HANDLE;
  I.hItem = FItemId;
  I.cChildren = Value ? 1 : 0;
  SendMessageA(Wnd(), TVM_SETITEMA, 0, LPARAM(&I));
}

bool TTreeNode::GetExpanded() const { return State() & TVIS_EXPANDED; }
void TTreeNode::SetExpanded(bool Value) {
  if (Value) Expand(false);
  else Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
  SendMessageA(Wnd(), TVM_EXPAND, TVE_EXPAND, LPARAM(FItemId));
  if (Recurse)
    for (TTreeNode* C = GetFirstChild(); C; C = C->GetNextSibling()) C->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse)
    for (TTreeNode* C = GetFirstChild(); C; C = C->GetNextSibling()) C->Collapse(true);
  SendMessageA(Wnd(), TVM_EXPAND, TVE_COLLAPSE, LPARAM(FItemId));
}

bool TTreeNode::GetSelected() const { return State() & TVIS_SELECTED; }
void TTreeNode::SetSelected(bool Value) {
  if (Value) SendMessageA(Wnd(), TVM_SELECTITEM, TVGN_CARET, LPARAM(FItemId));
  else if (GetSelected()) SendMessageA(Wnd(), TVM_SELECTITEM, TVGN_CARET, 0);
}

bool TTreeNode::GetDropTarget() const { return Relative(TVGN_DROPHILITE) == FItemId; }
void TTreeNode::SetDropTarget(bool Value) {
  if (Value) SendMessageA(Wnd(), TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(FItemId));
  else if (GetDropTarget()) SendMessageA(Wnd(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

TTreeNode* TTreeNode::GetParent() const { return FOwner->GetNode(Relative(TVGN_PARENT)); }
TTreeNode* TTreeNode::GetFirstChild() const { return FOwner->GetNode(Relative(TVGN_CHILD)); }
TTreeNode* TTreeNode::GetNextSibling() const { return FOwner->GetNode(Relative(TVGN_NEXT)); }
TTreeNode* TTreeNode::GetPrevSibling() const { return FOwner->GetNode(Relative(TVGN_PREVIOUS)); }

TTreeNode* TTreeNode::GetLastChild() const {
  TTreeNode* C = GetFirstChild();
  while (C)
    if (TTreeNode* N = C->GetNextSibling()) C = N;
    else break;
  return C;
}

TTreeNode* TTreeNode::GetNext() const {
  if (TTreeNode* C = GetFirstChild()) return C;
  for (const TTreeNode* N = this; N; N = N->GetParent())
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

Integer TTreeNode::Count() const {
  Integer N = 0;
  for (HTREEITEM C = Relative(TVGN_CHILD); C;
       C = reinterpret_cast<HTREEITEM>(SendMessageA(Wnd(), TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(C))))
    ++N;
  return N;
}

TTreeNode* TTreeNode::Item(Integer Index) const {
  TTreeNode* C = GetFirstChild();
  for (Integer i = 0; C && i < Index; ++i) C = C->GetNextSibling();
  if (!C || Index < 0) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return C;
}

Integer TTreeNode::Index() const {
  Integer N = 0;
  for (HTREEITEM P = Relative(TVGN_PREVIOUS); P;
       P = reinterpret_cast<HTREEITEM>(SendMessageA(Wnd(), TVM_GETNEXTITEM, TVGN_PREVIOUS, LPARAM(P))))
    ++N;
  return N;
}

Integer TTreeNode::Level() const {
  Integer L = 0;
  for (TTreeNode* P = GetParent(); P; P = P->GetParent()) ++L;
  return L;
}

bool TTreeNode::IsVisible() const {
  TRect R;
  std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);
  return SendMessageA(Wnd(), TVM_GETITEMRECT, FALSE, LPARAM(&R)) != 0;
}

void TTreeNode::Delete() { SendMessageA(Wnd(), TVM_DELETEITEM, 0, LPARAM(FItemId)); }

void TTreeNode::DeleteChildren() {
  while (HTREEITEM C = Relative(TVGN_CHILD)) SendMessageA(Wnd(), TVM_DELETEITEM, 0, LPARAM(C));
}

void TTreeNode::MakeVisible() { SendMessageA(Wnd(), TVM_ENSUREVISIBLE, 0, LPARAM(FItemId)); }

bool TTreeNode::EditText() { return SendMessageA(Wnd(), TVM_EDITLABELA, 0, LPARAM(FItemId)) != 0; }

void TTreeNode::EndEdit(bool Cancel) {
  if (TreeView()->HandleAllocated()) SendMessageA(Wnd(), TVM_ENDEDITLABELNOW, Cancel, 0);
}

bool TTreeNode::AlphaSort(bool Recurse) { return CustomSort(nullptr, 0, Recurse); }

bool TTreeNode::CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
  TVSORTCB Cb;
  Cb.hParent = FItemId;
  Cb.lpfnCompare = SortProc ? SortProc : &TCustomTreeView::DefaultSort;
  Cb.lParam = SortProc ? Data : LPARAM(TreeView());
  return SendMessageA(Wnd(), TVM_SORTCHILDRENCB, Recurse, LPARAM(&Cb)) != 0;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TRect R;
  std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);
  if (!SendMessageA(Wnd(), TVM_GETITEMRECT, TextOnly, LPARAM(&R))) return TRect();
  return R;
}

void TTreeNode::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TTreeNode*>(Source)) {
    SetText(S->FText);
    SetData(S->FData);
    SetImageIndex(S->FImageIndex);
    SetSelectedIndex(S->FSelectedIndex);
    return;
  }
  inherited::Assign(Source);
}

// ===========================================================================
// TTreeNodes

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* N : FNodes) delete N;
}

HWND TTreeNodes::Wnd() const { return FOwner->Handle(); }

Integer TTreeNodes::Count() const {
  if (!FOwner->HandleAllocated()) return 0;
  return Integer(SendMessageA(FOwner->Handle(), TVM_GETCOUNT, 0, 0));
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM ItemId) const {
  if (!ItemId || !FOwner->HandleAllocated()) return nullptr;
  TVITEMA I;
  I.mask = TVIF_PARAM | TVIF_HANDLE;
  I.hItem = ItemId;
  if (!SendMessageA(FOwner->Handle(), TVM_GETITEMA, 0, LPARAM(&I))) return nullptr;
  auto* N = reinterpret_cast<TTreeNode*>(I.lParam);
  return FNodes.count(N) ? N : nullptr;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
  if (!FOwner->HandleAllocated()) return nullptr;
  return GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(FOwner->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
  TTreeNode* N = GetFirstNode();
  for (Integer i = 0; N && i < Index; ++i) N = N->GetNext();
  if (!N || Index < 0) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return N;
}

TTreeNode* TTreeNodes::InsertItem(HTREEITEM Parent, HTREEITEM After, const AnsiString& S, void* Ptr) {
  HWND W = Wnd();
  auto Node = std::make_unique<TTreeNode>(this);
  Node->FText = S;
  Node->FData = Ptr;
  TVINSERTSTRUCTA In;
  In.hParent = Parent;
  In.hInsertAfter = After;
  In.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  In.item.pszText = LPSTR_TEXTCALLBACKA;
  In.item.lParam = LPARAM(Node.get());
  In.item.iImage = I_IMAGECALLBACK;
  In.item.iSelectedImage = I_IMAGECALLBACK;
  if (FOwner->FSortType == stText || FOwner->FSortType == stBoth) In.hInsertAfter = TVI_SORT;
  FNodes.insert(Node.get());
  HTREEITEM Id = reinterpret_cast<HTREEITEM>(SendMessageA(W, TVM_INSERTITEMA, 0, LPARAM(&In)));
  if (!Id) {
    FNodes.erase(Node.get());
    throw EOutOfResources("Failed to create tree node");
  }
  Node->FItemId = Id;
  // The node's own image numbers are what the callback hands out.
  TTreeNode* Result = Node.release();
  Result->FImageIndex = 0;
  Result->FSelectedIndex = 0;
  return Result;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
  HTREEITEM Parent = Sibling ? Sibling->Relative(TVGN_PARENT) : nullptr;
  return InsertItem(Parent ? Parent : TVI_ROOT, TVI_LAST, S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const AnsiString& S) {
  HTREEITEM Parent = Sibling ? Sibling->Relative(TVGN_PARENT) : nullptr;
  return InsertItem(Parent ? Parent : TVI_ROOT, TVI_FIRST, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr) {
  return InsertItem(Parent ? Parent->FItemId : TVI_ROOT, TVI_LAST, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const AnsiString& S) {
  return InsertItem(Parent ? Parent->FItemId : TVI_ROOT, TVI_FIRST, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const AnsiString& S) {
  if (!Sibling) return AddObject(nullptr, S, nullptr);
  HTREEITEM Parent = Sibling->Relative(TVGN_PARENT);
  HTREEITEM Prev = Sibling->Relative(TVGN_PREVIOUS);
  return InsertItem(Parent ? Parent : TVI_ROOT, Prev ? Prev : TVI_FIRST, S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node && FNodes.count(Node)) Node->Delete();
}

void TTreeNodes::Clear() {
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FOwner->HandleAllocated()) {
    SendMessageA(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
    FOwner->Invalidate();
  }
}

void TTreeNodes::Forget(TTreeNode* Node) {
  if (FNodes.erase(Node)) delete Node;
}

void TTreeNodes::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TTreeNodes*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  if (S == this) return;
  BeginUpdate();
  Clear();
  auto Copy = [&](TTreeNode* From, TTreeNode* ToParent, auto& Self) -> void {
    for (; From; From = From->GetNextSibling()) {
      TTreeNode* N = AddChildObject(ToParent, From->GetText(), From->GetData());
      N->FImageIndex = From->FImageIndex;
      N->FSelectedIndex = From->FSelectedIndex;
      if (From->GetHasChildren() && !From->GetFirstChild()) N->SetHasChildren(true);
      Self(From->GetFirstChild(), N, Self);
    }
  };
  Copy(S->GetFirstNode(), nullptr, Copy);
  EndUpdate();
}

// ===========================================================================
// TCustomTreeView

struct TCustomTreeView::TSavedNode {
  AnsiString Text;
  void* Data;
  Integer Image, SelImage;
  bool HasChildren, Expanded;
  int Depth;
};

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  FTreeNodes = std::make_unique<TTreeNodes>(this);
  FControlStyle.Exclude(csCaptureMouse);
  FControlStyle.Include(csDisplayDragImage);
  FControlStyle.Include(csReflector);
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
  SetBounds(FLeft, FTop, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
  // The window goes without notifications; the nodes go with the list.
  DestroyHandle();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_VSCROLL;
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (FRowSelect) Params.Style |= TVS_FULLROWSELECT;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
  WNDPROC Proc = CommonControlProc(WC_TREEVIEW);
  inherited::CreateWnd();
  FDefWndProc = Proc;
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  if (FIndent != 19) SendMessageA(FHandle, TVM_SETINDENT, WPARAM(FIndent), 0);
  if (FImages) SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImages->GetHandle()));
  if (FSaved) {
    std::unique_ptr<std::vector<TSavedNode>> Saved = std::move(FSaved);
    std::vector<TTreeNode*> Parents;
    std::vector<TTreeNode*> ToExpand;
    for (const TSavedNode& S : *Saved) {
      Parents.resize(size_t(S.Depth));
      TTreeNode* N = FTreeNodes->AddChildObject(Parents.empty() ? nullptr : Parents.back(), S.Text, S.Data);
      N->FImageIndex = S.Image;
      N->FSelectedIndex = S.SelImage;
      if (S.HasChildren) N->SetHasChildren(true);
      if (S.Expanded) ToExpand.push_back(N);
      Parents.push_back(N);
    }
    for (TTreeNode* N : ToExpand) SendMessageA(FHandle, TVM_EXPAND, TVE_EXPAND, LPARAM(N->FItemId));
  }
}

void TCustomTreeView::DestroyWnd() {
  if (!ComponentState().Contains(csDestroying) && FHandle) {
    auto Saved = std::make_unique<std::vector<TSavedNode>>();
    int Depth = 0;
    auto Walk = [&](TTreeNode* N, auto& Self) -> void {
      for (; N; N = N->GetNextSibling()) {
        Saved->push_back({N->FText, N->FData, N->FImageIndex, N->FSelectedIndex,
                          N->GetHasChildren(), N->GetExpanded(), Depth});
        ++Depth;
        Self(N->GetFirstChild(), Self);
        --Depth;
      }
    };
    Walk(FTreeNodes->GetFirstNode(), Walk);
    if (!Saved->empty()) FSaved = std::move(Saved);
  }
  inherited::DestroyWnd();
  // The window freed its items without notifying: free their nodes.
  for (TTreeNode* N : FTreeNodes->FNodes) delete N;
  FTreeNodes->FNodes.clear();
}

void TCustomTreeView::SetStyleFlag(bool& Flag, bool Value) {
  if (Flag == Value) return;
  Flag = Value;
  if (!FHandle) return;
  DWORD S = DWORD(GetWindowLongPtrA(FHandle, GWL_STYLE));
  auto Apply = [&](bool On, DWORD Bit) { S = On ? (S | Bit) : (S & ~Bit); };
  Apply(FShowLines, TVS_HASLINES);
  Apply(FShowButtons, TVS_HASBUTTONS);
  Apply(FShowRoot, TVS_LINESATROOT);
  Apply(!FHideSelection, TVS_SHOWSELALWAYS);
  Apply(FRowSelect, TVS_FULLROWSELECT);
  Apply(!FReadOnly, TVS_EDITLABELS);
  SetWindowLongPtrA(FHandle, GWL_STYLE, LONG_PTR(S));
  Invalidate();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

Integer TCustomTreeView::GetIndent() const { return FIndent; }
void TCustomTreeView::SetIndent(Integer Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  if (FHandle) SendMessageA(FHandle, TVM_SETINDENT, WPARAM(Value), 0);
}

void TCustomTreeView::SetSortType(TSortType Value) {
  if (FSortType == Value) return;
  FSortType = Value;
  if (FHandle && (Value == stText || Value == stBoth)) AlphaSort(true);
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  if (FHandle)
    SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(Value ? Value->GetHandle() : nullptr));
}

void TCustomTreeView::ImageListChange(TObject*) { Invalidate(); }

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (FHandle) SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  }
}

TTreeNode* TCustomTreeView::GetSelected() const {
  if (!FHandle) return nullptr;
  return FTreeNodes->GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (Value) Value->SetSelected(true);
  else if (FHandle) SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, 0);
}

TTreeNode* TCustomTreeView::GetTopItem() const {
  if (!FHandle) return nullptr;
  return FTreeNodes->GetNode(
      reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

TTreeNode* TCustomTreeView::GetDropTarget() const {
  if (!FHandle) return nullptr;
  return FTreeNodes->GetNode(
      reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)));
}

void TCustomTreeView::SetDropTarget(TTreeNode* Value) {
  if (Value) Value->SetDropTarget(true);
  else if (FHandle) SendMessageA(FHandle, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
  TVHITTESTINFO H;
  H.pt = {X, Y};
  HTREEITEM Id = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, LPARAM(&H)));
  return (H.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)) ? FTreeNodes->GetNode(Id)
                                                                                            : nullptr;
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* N = FTreeNodes->GetFirstNode(); N; N = N->GetNextSibling()) N->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* N = FTreeNodes->GetFirstNode(); N; N = N->GetNextSibling()) N->Collapse(true);
}

int TCustomTreeView::DefaultSort(LPARAM A, LPARAM B, LPARAM Data) {
  auto* View = reinterpret_cast<TCustomTreeView*>(Data);
  auto* N1 = reinterpret_cast<TTreeNode*>(A);
  auto* N2 = reinterpret_cast<TTreeNode*>(B);
  if (View && View->OnCompare.Assigned()) {
    Integer Result = 0;
    View->OnCompare(View, N1, N2, 0, Result);
    return Result;
  }
  return AnsiCompareText(N1->GetText(), N2->GetText());
}

bool TCustomTreeView::AlphaSort(bool Recurse) { return CustomSort(nullptr, 0, Recurse); }

bool TCustomTreeView::CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
  if (!FHandle) return false;
  TVSORTCB Cb;
  Cb.hParent = TVI_ROOT;
  Cb.lpfnCompare = SortProc ? SortProc : &DefaultSort;
  Cb.lParam = SortProc ? Data : LPARAM(this);
  return SendMessageA(FHandle, TVM_SORTCHILDRENCB, Recurse, LPARAM(&Cb)) != 0;
}

namespace {
TLabelEditing LabelEditing(TCustomTreeView* View) { return {View, TVM_GETEDITCONTROL}; }
TLabelEditing LabelEditing(TCustomListView* View) { return {View, LVM_GETEDITCONTROL}; }
}  // namespace

bool TCustomTreeView::IsEditing() const { return LabelEditOf(FHandle, TVM_GETEDITCONTROL) != nullptr; }

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool Allow = true;
  if (OnEditing.Assigned()) OnEditing(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, AnsiString& S) {
  if (OnEdited.Assigned()) OnEdited(this, Node, S);
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange.Assigned()) OnChange(this, Node);
}
bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool Allow = true;
  if (OnChanging.Assigned()) OnChanging(this, Node, Allow);
  return Allow;
}
bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool Allow = true;
  if (OnExpanding.Assigned()) OnExpanding(this, Node, Allow);
  return Allow;
}
bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool Allow = true;
  if (OnCollapsing.Assigned()) OnCollapsing(this, Node, Allow);
  return Allow;
}
void TCustomTreeView::Expanded(TTreeNode* Node) {
  if (OnExpanded.Assigned()) OnExpanded(this, Node);
}
void TCustomTreeView::Collapsed(TTreeNode* Node) {
  if (OnCollapsed.Assigned()) OnCollapsed(this, Node);
}
void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion.Assigned()) OnDeletion(this, Node);
}

void TCustomTreeView::WndProc(TMessage& Message) {
  // The drag starts on TVN_BEGINDRAG.
  PassPressWithoutAutoDrag(FDragMode, Message, [&] { inherited::WndProc(Message); });
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  if (LabelEditing(this).Dispatch(Message, [this](TMessage& Key) { return DoKeyPress(Key); })) return;
  inherited::Dispatch(Message);
}

void TCustomTreeView::DoStartDrag(TDragObject*& DragObject) {
  inherited::DoStartDrag(DragObject);
  if (!FDragNode) {
    TPoint P;
    GetCursorPos(&P);
    P = ScreenToClient(P);
    FDragNode = GetNodeAt(P.X, P.Y);
  }
  if (FDragNode) SendMessageA(FHandle, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* Hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  auto* Tv = reinterpret_cast<NMTREEVIEWA*>(Message.LParam);
  auto NodeOf = [&](const TVITEMA& I) {
    auto* N = reinterpret_cast<TTreeNode*>(I.lParam);
    return FTreeNodes->FNodes.count(N) ? N : nullptr;
  };
  switch (Hdr->code) {
    case TVN_GETDISPINFOA: {
      auto& I = reinterpret_cast<NMTVDISPINFOA*>(Message.LParam)->item;
      TTreeNode* N = NodeOf(I);
      if (!N) break;
      if ((I.mask & TVIF_TEXT) && I.pszText && I.cchTextMax > 0) {
        const size_t Len = std::min(N->FText.size(), size_t(I.cchTextMax - 1));
        std::copy_n(N->FText.data(), Len, I.pszText);
        I.pszText[Len] = 0;
      }
      if (I.mask & TVIF_IMAGE) I.iImage = N->FImageIndex;
      if (I.mask & TVIF_SELECTEDIMAGE) I.iSelectedImage = N->FSelectedIndex;
      break;
    }
    case TVN_SELCHANGINGA:
      Message.Result = CanChange(NodeOf(Tv->itemNew)) ? 0 : 1;
      break;
    case TVN_SELCHANGEDA: Change(NodeOf(Tv->itemNew)); break;
    case TVN_ITEMEXPANDINGA: {
      TTreeNode* N = NodeOf(Tv->itemNew);
      if (!N) break;
      const bool Ok = Tv->action == TVE_EXPAND ? CanExpand(N) : CanCollapse(N);
      Message.Result = Ok ? 0 : 1;
      break;
    }
    case TVN_ITEMEXPANDEDA: {
      TTreeNode* N = NodeOf(Tv->itemNew);
      if (!N) break;
      if (Tv->action == TVE_EXPAND) Expanded(N);
      else Collapsed(N);
      break;
    }
    case TVN_DELETEITEMA: {
      TTreeNode* N = NodeOf(Tv->itemOld);
      if (!N) break;
      if (N == FDragNode) FDragNode = nullptr;
      try {
        Delete(N);
      } catch (...) {
        FTreeNodes->Forget(N);
        throw;
      }
      FTreeNodes->Forget(N);
      break;
    }
    case TVN_BEGINLABELEDITA: {
      TTreeNode* N = NodeOf(reinterpret_cast<NMTVDISPINFOA*>(Message.LParam)->item);
      LabelEditing(this).Begin(Message, N && !FReadOnly && CanEdit(N));
      break;
    }
    case TVN_ENDLABELEDITA: {
      const TVITEMA& I = reinterpret_cast<NMTVDISPINFOA*>(Message.LParam)->item;
      TTreeNode* N = NodeOf(I);
      if (!N) break;
      if (!I.pszText) {
        if (OnCancelEdit.Assigned()) OnCancelEdit(this, N);
        break;
      }
      AnsiString S = I.pszText;
      Edit(N, S);
      // The handler may have deleted the node.
      if (FTreeNodes->FNodes.count(N)) N->SetText(S);
      break;
    }
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA:
      FDragNode = NodeOf(Tv->itemNew);
      if (Hdr->code == TVN_BEGINDRAGA && FDragMode == dmAutomatic) BeginDrag(true);
      break;
    default: break;
  }
}

void TTreeView::Published(TPublished<TTreeView>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TTreeView);
  P.Property("BorderStyle", &TTreeView::GetBorderStyle, &TTreeView::SetBorderStyle).Default(bsSingle);
  P.Property("Color", &TTreeView::GetColor, &TTreeView::SetColor).Default(clWindow);
  P.Property("HideSelection", &TTreeView::GetHideSelection, &TTreeView::SetHideSelection).Default(true);
  P.Property("Images", &TTreeView::GetImages, &TTreeView::SetImages);
  P.Property("Indent", &TTreeView::GetIndent, &TTreeView::SetIndent).Default(19);
  P.Property("ParentColor", &TTreeView::GetParentColor, &TTreeView::SetParentColor).Default(false);
  P.Property("ReadOnly", &TTreeView::GetReadOnly, &TTreeView::SetReadOnly).Default(false);
  P.Property("RowSelect", &TTreeView::GetRowSelect, &TTreeView::SetRowSelect).Default(false);
  P.Property("ShowButtons", &TTreeView::GetShowButtons, &TTreeView::SetShowButtons).Default(true);
  P.Property("ShowLines", &TTreeView::GetShowLines, &TTreeView::SetShowLines).Default(true);
  P.Property("ShowRoot", &TTreeView::GetShowRoot, &TTreeView::SetShowRoot).Default(true);
  P.Property("SortType", &TTreeView::GetSortType, &TTreeView::SetSortType).Default(stNone);
  P.Property("TabStop", &TTreeView::GetTabStop, &TTreeView::SetTabStop).Default(true);
  P.Property("OnChange", &TTreeView::OnChange, &TTreeView::OnChange);
  P.Property("OnChanging", &TTreeView::OnChanging, &TTreeView::OnChanging);
  P.Property("OnCollapsed", &TTreeView::OnCollapsed, &TTreeView::OnCollapsed);
  P.Property("OnCollapsing", &TTreeView::OnCollapsing, &TTreeView::OnCollapsing);
  P.Property("OnCompare", &TTreeView::OnCompare, &TTreeView::OnCompare);
  P.Property("OnDeletion", &TTreeView::OnDeletion, &TTreeView::OnDeletion);
  P.Property("OnCancelEdit", &TTreeView::OnCancelEdit, &TTreeView::OnCancelEdit);
  P.Property("OnEdited", &TTreeView::OnEdited, &TTreeView::OnEdited);
  P.Property("OnEditing", &TTreeView::OnEditing, &TTreeView::OnEditing);
  P.Property("OnExpanded", &TTreeView::OnExpanded, &TTreeView::OnExpanded);
  P.Property("OnExpanding", &TTreeView::OnExpanding, &TTreeView::OnExpanding);
}

// ===========================================================================
// TListItem

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner->Owner(); }

Integer TListItem::Index() const {
  // Items rarely move, so the place found last is checked first: filling a
  // list item by item stays linear.
  if (FIndexHint >= 0 && FOwner->Owner()->ItemOf(FIndexHint) == this) return FIndexHint;
  FIndexHint = FOwner->IndexOf(this);
  return FIndexHint;
}

void TListItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  const Integer I = Index();
  if (I >= 0) {
    LVITEMA It;
    It.mask = LVIF_TEXT;
    It.iItem = I;
    It.pszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(FOwner->Wnd(), LVM_SETITEMA, 0, LPARAM(&It));
  }
}

void TListItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  const Integer I = Index();
  if (I < 0) return;
  LVITEMA It;
  It.mask = LVIF_IMAGE;
  It.iItem = I;
  It.iImage = Value;
  SendMessageA(FOwner->Wnd(), LVM_SETITEMA, 0, LPARAM(&It));
}

void TListItem::SubItemsChanged(TObject*) {
  if (FOwner->Owner()->HandleAllocated()) FOwner->Owner()->Invalidate();
}

bool TListItem::GetState(UINT Flag) const {
  const Integer I = Index();
  if (I < 0) return false;
  return SendMessageA(FOwner->Wnd(), LVM_GETITEMSTATE, WPARAM(I), LPARAM(Flag)) != 0;
}

void TListItem::SetState(UINT Flag, bool Value) {
  const Integer I = Index();
  if (I < 0) return;
  LVITEMA It;
  It.state = Value ? Flag : 0;
  It.stateMask = Flag;
  SendMessageA(FOwner->Wnd(), LVM_SETITEMSTATE, WPARAM(I), LPARAM(&It));
}

void TListItem::Delete() {
  const Integer I = Index();
  if (I >= 0) SendMessageA(FOwner->Wnd(), LVM_DELETEITEM, WPARAM(I), 0);
}

bool TListItem::EditCaption() {
  const Integer I = Index();
  return I >= 0 && SendMessageA(FOwner->Wnd(), LVM_EDITLABELA, WPARAM(I), 0) != 0;
}

void TListItem::CancelEdit() {
  if (ListView()->HandleAllocated()) SendMessageA(FOwner->Wnd(), LVM_CANCELEDITLABEL, 0, 0);
}

void TListItem::MakeVisible(bool PartialOK) {
  const Integer I = Index();
  if (I >= 0) SendMessageA(FOwner->Wnd(), LVM_ENSUREVISIBLE, WPARAM(I), PartialOK);
}

TRect TListItem::DisplayRect(int Code) const {
  TRect R;
  R.Left = Code;
  const Integer I = Index();
  if (I < 0 || !SendMessageA(FOwner->Wnd(), LVM_GETITEMRECT, WPARAM(I), LPARAM(&R))) return TRect();
  return R;
}

void TListItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TListItem*>(Source)) {
    SetCaption(S->FCaption);
    SetData(S->FData);
    SetImageIndex(S->FImageIndex);
    FSubItems->Assign(S->FSubItems.get());
    return;
  }
  inherited::Assign(Source);
}

// ===========================================================================
// TListItems

TListItems::~TListItems() {
  for (TListItem* I : FItems) delete I;
}

HWND TListItems::Wnd() const { return FOwner->Handle(); }

Integer TListItems::Count() const {
  if (!FOwner->HandleAllocated()) return 0;
  return Integer(SendMessageA(FOwner->Handle(), LVM_GETITEMCOUNT, 0, 0));
}

TListItem* TListItems::Item(Integer Index) const {
  TListItem* It = FOwner->ItemOf(Index);
  if (!It) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return It;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(Integer Index) {
  HWND W = Wnd();
  auto Item = std::make_unique<TListItem>(this);
  LVITEMA It;
  It.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  It.iItem = Index;
  It.pszText = LPSTR_TEXTCALLBACKA;
  It.iImage = I_IMAGECALLBACK;
  It.lParam = LPARAM(Item.get());
  FItems.insert(Item.get());
  const LRESULT At = SendMessageA(W, LVM_INSERTITEMA, 0, LPARAM(&It));
  if (At < 0) {
    FItems.erase(Item.get());
    throw EOutOfResources("Failed to create list item");
  }
  Item->FIndexHint = Integer(At);
  return Item.release();
}

void TListItems::Delete(Integer Index) { Item(Index)->Delete(); }

void TListItems::Clear() {
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), LVM_DELETEALLITEMS, 0, 0);
}

Integer TListItems::IndexOf(const TListItem* Value) const {
  if (!Value || !FOwner->HandleAllocated()) return -1;
  LVFINDINFOA F;
  F.flags = LVFI_PARAM;
  F.lParam = LPARAM(Value);
  return Integer(SendMessageA(FOwner->Handle(), LVM_FINDITEMA, WPARAM(-1), LPARAM(&F)));
}

void TListItems::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FOwner->HandleAllocated()) {
    SendMessageA(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
    FOwner->Invalidate();
  }
}

// ===========================================================================
// TListColumn, TListColumns

void TListColumn::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

Integer TListColumn::GetWidth() const { return FWidth; }

void TListColumn::SetWidth(Integer Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

TListColumns::TListColumns(TCustomListView* AOwner)
    : TOwnedCollection(AOwner, TListColumn::StaticClass()), FOwner(AOwner) {}

void TListColumns::Update(TCollectionItem*) { FOwner->UpdateColumns(); }

// ===========================================================================
// TCustomListView

struct TCustomListView::TSavedItem {
  AnsiString Caption;
  std::unique_ptr<TStringList> Sub;
  void* Data;
  Integer Image;
  UINT State;
};

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner) {
  FListItems = std::make_unique<TListItems>(this);
  FColumns = std::make_unique<TListColumns>(this);
  FControlStyle.Exclude(csCaptureMouse);
  FControlStyle.Include(csDisplayDragImage);
  FControlStyle.Include(csReflector);
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
  SetBounds(FLeft, FTop, 250, 150);
}

TCustomListView::~TCustomListView() { DestroyHandle(); }

void TCustomListView::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  static const DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  Params.Style |= Views[FViewStyle];
  if (!FMultiSelect) Params.Style |= LVS_SINGLESEL;
  if (!FHideSelection) Params.Style |= LVS_SHOWSELALWAYS;
  if (!FShowColumnHeaders) Params.Style |= LVS_NOCOLUMNHEADER;
  if (!FColumnClick) Params.Style |= LVS_NOSORTHEADER;
  if (!FReadOnly) Params.Style |= LVS_EDITLABELS;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
  WNDPROC Proc = CommonControlProc(WC_LISTVIEW);
  inherited::CreateWnd();
  FDefWndProc = Proc;
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  if (FLargeImages) SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(FLargeImages->GetHandle()));
  if (FSmallImages) SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(FSmallImages->GetHandle()));
  UpdateExStyle();
  UpdateColumns();
  if (FSaved) {
    std::unique_ptr<std::vector<TSavedItem>> Saved = std::move(FSaved);
    for (TSavedItem& S : *Saved) {
      TListItem* It = FListItems->Add();
      It->FCaption = S.Caption;
      It->FData = S.Data;
      It->FImageIndex = S.Image;
      It->FSubItems->Assign(S.Sub.get());
      if (S.State & (LVIS_SELECTED | LVIS_FOCUSED)) {
        LVITEMA I;
        I.state = S.State;
        I.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(FHandle, LVM_SETITEMSTATE, WPARAM(FListItems->Count() - 1), LPARAM(&I));
      }
    }
  }
}

void TCustomListView::DestroyWnd() {
  if (!ComponentState().Contains(csDestroying) && FHandle) {
    auto Saved = std::make_unique<std::vector<TSavedItem>>();
    const Integer N = FListItems->Count();
    for (Integer I = 0; I < N; ++I) {
      TListItem* It = ItemOf(I);
      if (!It) continue;
      auto Sub = std::make_unique<TStringList>();
      Sub->Assign(It->FSubItems.get());
      const UINT State = UINT(SendMessageA(FHandle, LVM_GETITEMSTATE, WPARAM(I), LVIS_SELECTED | LVIS_FOCUSED));
      Saved->push_back({It->FCaption, std::move(Sub), It->FData, It->FImageIndex, State});
    }
    if (!Saved->empty()) FSaved = std::move(Saved);
  }
  inherited::DestroyWnd();
  for (TListItem* I : FListItems->FItems) delete I;
  FListItems->FItems.clear();
}

TListItem* TCustomListView::ItemOf(int Index) const {
  if (!FHandle || Index < 0) return nullptr;
  LVITEMA I;
  I.mask = LVIF_PARAM;
  I.iItem = Index;
  if (!SendMessageA(FHandle, LVM_GETITEMA, 0, LPARAM(&I))) return nullptr;
  auto* It = reinterpret_cast<TListItem*>(I.lParam);
  return FListItems->FItems.count(It) ? It : nullptr;
}

void TCustomListView::SetStyleFlag(bool& Flag, bool Value) {
  if (Flag == Value) return;
  Flag = Value;
  if (!FHandle) return;
  DWORD S = DWORD(GetWindowLongPtrA(FHandle, GWL_STYLE));
  auto Apply = [&](bool On, DWORD Bit) { S = On ? (S | Bit) : (S & ~Bit); };
  Apply(!FMultiSelect, LVS_SINGLESEL);
  Apply(!FHideSelection, LVS_SHOWSELALWAYS);
  Apply(!FShowColumnHeaders, LVS_NOCOLUMNHEADER);
  Apply(!FColumnClick, LVS_NOSORTHEADER);
  Apply(!FReadOnly, LVS_EDITLABELS);
  SetWindowLongPtrA(FHandle, GWL_STYLE, LONG_PTR(S));
  Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  if (!FHandle) return;
  static const DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  const DWORD S = DWORD(GetWindowLongPtrA(FHandle, GWL_STYLE));
  SetWindowLongPtrA(FHandle, GWL_STYLE, LONG_PTR((S & ~LVS_TYPEMASK) | Views[Value]));
  Invalidate();
}

void TCustomListView::UpdateExStyle() {
  if (!FHandle) return;
  const DWORD Ex = (FRowSelect ? LVS_EX_FULLROWSELECT : 0) | (FGridLines ? LVS_EX_GRIDLINES : 0);
  SendMessageA(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, LPARAM(Ex));
}

void TCustomListView::SetRowSelect(bool Value) {
  if (FRowSelect == Value) return;
  FRowSelect = Value;
  UpdateExStyle();
}

void TCustomListView::SetGridLines(bool Value) {
  if (FGridLines == Value) return;
  FGridLines = Value;
  UpdateExStyle();
}

void TCustomListView::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomListView::SetSortType(TSortType Value) {
  if (FSortType == Value) return;
  FSortType = Value;
  if (FHandle && Value != stNone) AlphaSort();
}

void TCustomListView::UpdateColumns() {
  if (!FHandle) return;
  while (SendMessageA(FHandle, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (Integer I = 0; I < FColumns->Count(); ++I) {
    TListColumn* C = FColumns->Items(I);
    LVCOLUMNA Col;
    Col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    AnsiString Text = C->GetCaption();
    Col.pszText = Text.data();
    Col.cx = C->GetWidth();
    Col.fmt = C->GetAlignment() == taRightJustify ? LVCFMT_RIGHT
              : C->GetAlignment() == taCenter     ? LVCFMT_CENTER
                                                  : LVCFMT_LEFT;
    SendMessageA(FHandle, LVM_INSERTCOLUMNA, WPARAM(I), LPARAM(&Col));
  }
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
  if (FLargeImages == Value) return;
  FLargeImages = Value;
  if (Value) Value->FreeNotification(this);
  if (FHandle)
    SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL, LPARAM(Value ? Value->GetHandle() : nullptr));
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  if (FSmallImages == Value) return;
  FSmallImages = Value;
  if (Value) Value->FreeNotification(this);
  if (FHandle) SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(Value ? Value->GetHandle() : nullptr));
}

void TCustomListView::ImageListChange(TObject*) { Invalidate(); }

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
}

TListItem* TCustomListView::GetSelected() const {
  if (!FHandle) return nullptr;
  return ItemOf(int(SendMessageA(FHandle, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* Value) {
  ClearSelection();
  if (Value) Value->SetSelected(true);
}

TListItem* TCustomListView::GetItemFocused() const {
  if (!FHandle) return nullptr;
  return ItemOf(int(SendMessageA(FHandle, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value) Value->SetFocused(true);
  else if (TListItem* F = GetItemFocused()) F->SetFocused(false);
}

Integer TCustomListView::SelCount() const {
  if (!FHandle) return 0;
  return Integer(SendMessageA(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
}

void TCustomListView::SelectAll() {
  if (!FMultiSelect) return;
  LVITEMA I;
  I.state = LVIS_SELECTED;
  I.stateMask = LVIS_SELECTED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&I));
}

void TCustomListView::ClearSelection() {
  if (!FHandle) return;
  LVITEMA I;
  I.state = 0;
  I.stateMask = LVIS_SELECTED;
  SendMessageA(FHandle, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&I));
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TItemSearchDirection Direction, TItemStates States) const {
  if (!FHandle) return nullptr;
  UINT Flags = 0;
  if (States.Contains(isSelected)) Flags |= LVNI_SELECTED;
  if (States.Contains(isFocused)) Flags |= LVNI_FOCUSED;
  if (Direction == sdAbove) Flags |= LVNI_ABOVE;
  if (Direction == sdBelow) Flags |= LVNI_BELOW;
  const Integer Start = StartItem ? StartItem->Index() : -1;
  return ItemOf(int(SendMessageA(FHandle, LVM_GETNEXTITEM, WPARAM(Start), LPARAM(Flags))));
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) {
  LVHITTESTINFO H;
  H.pt = {X, Y};
  return ItemOf(int(SendMessageA(Handle(), LVM_HITTEST, 0, LPARAM(&H))));
}

TListItem* TCustomListView::FindCaption(Integer StartIndex, const AnsiString& Value, bool Partial, bool Inclusive,
                                        bool Wrap) {
  // The window compares the texts it gets through the callback: our captions.
  LVFINDINFOA F;
  F.flags = (Partial ? LVFI_PARTIAL : LVFI_STRING) | (Wrap ? LVFI_WRAP : 0);
  F.psz = Value.c_str();
  return ItemOf(int(SendMessageA(Handle(), LVM_FINDITEMA, WPARAM(Inclusive ? StartIndex - 1 : StartIndex), LPARAM(&F))));
}

TListItem* TCustomListView::FindData(Integer StartIndex, void* Value, bool Inclusive, bool Wrap) {
  const Integer N = FListItems->Count();
  for (Integer K = 0; K < N; ++K) {
    Integer I = StartIndex + K + (Inclusive ? 0 : 1);
    if (I >= N) {
      if (!Wrap) break;
      I -= N;
    }
    if (TListItem* It = ItemOf(I); It && It->FData == Value) return It;
  }
  return nullptr;
}

int TCustomListView::DefaultSort(LPARAM A, LPARAM B, LPARAM Data) {
  auto* View = reinterpret_cast<TCustomListView*>(Data);
  auto* I1 = reinterpret_cast<TListItem*>(A);
  auto* I2 = reinterpret_cast<TListItem*>(B);
  if (View->OnCompare.Assigned()) {
    Integer Result = 0;
    View->OnCompare(View, I1, I2, 0, Result);
    return Result;
  }
  return AnsiCompareText(I1->FCaption, I2->FCaption);
}

bool TCustomListView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TCustomListView::CustomSort(PFNLVCOMPARE SortProc, LPARAM Data) {
  if (!FHandle) return false;
  if (!SortProc) return SendMessageA(FHandle, LVM_SORTITEMS, WPARAM(this), LPARAM(&DefaultSort)) != 0;
  return SendMessageA(FHandle, LVM_SORTITEMS, WPARAM(Data), LPARAM(SortProc)) != 0;
}

bool TCustomListView::IsEditing() const { return LabelEditOf(FHandle, LVM_GETEDITCONTROL) != nullptr; }

bool TCustomListView::CanEdit(TListItem* Item) {
  bool Allow = true;
  if (OnEditing.Assigned()) OnEditing(this, Item, Allow);
  return Allow;
}

void TCustomListView::Edit(TListItem* Item, AnsiString& S) {
  if (OnEdited.Assigned()) OnEdited(this, Item, S);
}

void TCustomListView::Scroll(Integer DX, Integer DY) {
  SendMessageA(Handle(), LVM_SCROLL, WPARAM(DX), LPARAM(DY));
}

void TCustomListView::WndProc(TMessage& Message) {
  PassPressWithoutAutoDrag(FDragMode, Message, [&] { inherited::WndProc(Message); });
}

void TCustomListView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  if (LabelEditing(this).Dispatch(Message, [this](TMessage& Key) { return DoKeyPress(Key); })) return;
  inherited::Dispatch(Message);
}

void TCustomListView::DoStartDrag(TDragObject*& DragObject) { inherited::DoStartDrag(DragObject); }

void TCustomListView::CNNotify(TMessage& Message) {
  auto* Hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  auto* Lv = reinterpret_cast<NMLISTVIEW*>(Message.LParam);
  auto ItemOfParam = [&](LPARAM P) {
    auto* It = reinterpret_cast<TListItem*>(P);
    return FListItems->FItems.count(It) ? It : nullptr;
  };
  switch (Hdr->code) {
    case LVN_GETDISPINFOA: {
      auto& I = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam)->item;
      TListItem* It = ItemOfParam(I.lParam);
      if (!It) break;
      if ((I.mask & LVIF_TEXT) && I.pszText && I.cchTextMax > 0) {
        AnsiString T;
        if (I.iSubItem == 0) T = It->FCaption;
        else if (I.iSubItem - 1 < It->FSubItems->GetCount()) T = It->FSubItems->GetStrings(I.iSubItem - 1);
        const size_t Len = std::min(T.size(), size_t(I.cchTextMax - 1));
        std::copy_n(T.data(), Len, I.pszText);
        I.pszText[Len] = 0;
      }
      if (I.mask & LVIF_IMAGE) I.iImage = It->FImageIndex;
      break;
    }
    case LVN_ITEMCHANGED: {
      TListItem* It = ItemOfParam(Lv->lParam);
      if (!It || !(Lv->uChanged & LVIF_STATE)) break;
      if (OnChange.Assigned()) OnChange(this, It, ctState);
      if (((Lv->uOldState ^ Lv->uNewState) & LVIS_SELECTED) && OnSelectItem.Assigned())
        OnSelectItem(this, It, (Lv->uNewState & LVIS_SELECTED) != 0);
      break;
    }
    case LVN_DELETEITEM: {
      TListItem* It = ItemOfParam(Lv->lParam);
      if (!It) break;
      FListItems->FItems.erase(It);
      std::unique_ptr<TListItem> Owned(It);
      if (OnDeletion.Assigned()) OnDeletion(this, It);
      break;
    }
    case LVN_COLUMNCLICK:
      if (OnColumnClick.Assigned() && Lv->iSubItem >= 0 && Lv->iSubItem < FColumns->Count())
        OnColumnClick(this, FColumns->Items(Lv->iSubItem));
      break;
    case LVN_BEGINDRAG:
      if (FDragMode == dmAutomatic) BeginDrag(true);
      break;
    case LVN_BEGINLABELEDITA: {
      TListItem* It = ItemOfParam(reinterpret_cast<NMLVDISPINFOA*>(Message.LParam)->item.lParam);
      LabelEditing(this).Begin(Message, It && !FReadOnly && CanEdit(It));
      break;
    }
    case LVN_ENDLABELEDITA: {
      const LVITEMA& I = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam)->item;
      TListItem* It = ItemOfParam(I.lParam);
      if (!It || !I.pszText) break;
      AnsiString S = I.pszText;
      Edit(It, S);
      // The handler may have deleted the item.
      if (FListItems->FItems.count(It)) It->SetCaption(S);
      break;
    }
    default: break;
  }
}

void TListView::Published(TPublished<TListView>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TListView);
  P.Property("BorderStyle", &TListView::GetBorderStyle, &TListView::SetBorderStyle).Default(bsSingle);
  P.Property("Color", &TListView::GetColor, &TListView::SetColor).Default(clWindow);
  P.Property("ColumnClick", &TListView::GetColumnClick, &TListView::SetColumnClick).Default(true);
  P.Property("Columns", &TListView::GetColumns, &TListView::SetColumns);
  P.Property("GridLines", &TListView::GetGridLines, &TListView::SetGridLines).Default(false);
  P.Property("HideSelection", &TListView::GetHideSelection, &TListView::SetHideSelection).Default(true);
  P.Property("LargeImages", &TListView::GetLargeImages, &TListView::SetLargeImages);
  P.Property("MultiSelect", &TListView::GetMultiSelect, &TListView::SetMultiSelect).Default(false);
  P.Property("ParentColor", &TListView::GetParentColor, &TListView::SetParentColor).Default(false);
  P.Property("ReadOnly", &TListView::GetReadOnly, &TListView::SetReadOnly).Default(false);
  P.Property("RowSelect", &TListView::GetRowSelect, &TListView::SetRowSelect).Default(false);
  P.Property("ShowColumnHeaders", &TListView::GetShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(true);
  P.Property("SmallImages", &TListView::GetSmallImages, &TListView::SetSmallImages);
  P.Property("SortType", &TListView::GetSortType, &TListView::SetSortType).Default(stNone);
  P.Property("TabStop", &TListView::GetTabStop, &TListView::SetTabStop).Default(true);
  P.Property("ViewStyle", &TListView::GetViewStyle, &TListView::SetViewStyle).Default(vsIcon);
  P.Property("OnChange", &TListView::OnChange, &TListView::OnChange);
  P.Property("OnColumnClick", &TListView::OnColumnClick, &TListView::OnColumnClick);
  P.Property("OnCompare", &TListView::OnCompare, &TListView::OnCompare);
  P.Property("OnDeletion", &TListView::OnDeletion, &TListView::OnDeletion);
  P.Property("OnEdited", &TListView::OnEdited, &TListView::OnEdited);
  P.Property("OnEditing", &TListView::OnEditing, &TListView::OnEditing);
  P.Property("OnSelectItem", &TListView::OnSelectItem, &TListView::OnSelectItem);
}

// ===========================================================================
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FVisible = false;
  FColor = clBtnFace;
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::Published(TPublished<TTabSheet>& P) {
  P.Property("Caption", &TTabSheet::GetCaption, &TTabSheet::SetCaption);
  P.Property("Color", &TTabSheet::GetColor, &TTabSheet::SetColor);
  P.Property("Constraints", &TTabSheet::GetConstraints, &TTabSheet::SetConstraints);
  P.Property("Enabled", &TTabSheet::GetEnabled, &TTabSheet::SetEnabled).Default(true);
  P.Property("Font", &TTabSheet::GetFont, &TTabSheet::SetFont).Stored(&TTabSheet::IsFontStored);
  P.Property("ImageIndex", &TTabSheet::GetImageIndex, &TTabSheet::SetImageIndex).Default(-1);
  P.Property("PageIndex", &TTabSheet::GetPageIndex, &TTabSheet::SetPageIndex).Stored(false);
  P.Property("ParentColor", &TTabSheet::GetParentColor, &TTabSheet::SetParentColor).Default(true);
  P.Property("ParentFont", &TTabSheet::GetParentFont, &TTabSheet::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TTabSheet::GetParentShowHint, &TTabSheet::SetParentShowHint).Default(true);
  P.Property("ShowHint", &TTabSheet::GetShowHint, &TTabSheet::SetShowHint);
  P.Property("TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible).Default(true);
  P.Property("OnEnter", &TTabSheet::OnEnter, &TTabSheet::OnEnter);
  P.Property("OnExit", &TTabSheet::OnExit, &TTabSheet::OnExit);
  P.Property("OnHide", &TTabSheet::OnHide, &TTabSheet::OnHide);
  P.Property("OnResize", &TTabSheet::OnResize, &TTabSheet::OnResize);
  P.Property("OnShow", &TTabSheet::OnShow, &TTabSheet::OnShow);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  auto* PC = dynamic_cast<TPageControl*>(AParent);
  if (FPageControl && FPageControl != PC) FPageControl->RemovePage(this);
  inherited::SetParent(AParent);
  if (PC && FPageControl != PC) PC->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

Integer TTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  const auto& P = FPageControl->FPages;
  return Integer(std::find(P.begin(), P.end(), this) - P.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (!FPageControl) return;
  auto& P = FPageControl->FPages;
  const Integer Old = GetPageIndex();
  Value = std::clamp<Integer>(Value, 0, Integer(P.size()) - 1);
  if (Old == Value) return;
  P.erase(P.begin() + Old);
  P.insert(P.begin() + Value, this);
  FPageControl->UpdateTabs();
}

Integer TTabSheet::TabIndex() const {
  if (!FTabVisible || !FPageControl) return -1;
  Integer N = 0;
  for (TTabSheet* S : FPageControl->FPages) {
    if (S == this) return N;
    if (S->FTabVisible) ++N;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_SHOWINGCHANGED) {
    inherited::Dispatch(Message);
    if (FShowing) {
      if (OnShow.Assigned()) OnShow(this);
    } else if (OnHide.Assigned()) {
      OnHide(this);
    }
    return;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Exclude(csCaptureMouse);
  FTabStop = true;
  FColor = clBtnFace;
  SetBounds(FLeft, FTop, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* S : FPages) S->FPageControl = nullptr;
}

void TPageControl::Published(TPublished<TPageControl>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TPageControl);
  P.Property("ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
  P.Property("Images", &TPageControl::GetImages, &TPageControl::SetImages);
  P.Property("MultiLine", &TPageControl::GetMultiLine, &TPageControl::SetMultiLine).Default(false);
  P.Property("Style", &TPageControl::GetStyle, &TPageControl::SetStyle).Default(tsTabs);
  P.Property("TabPosition", &TPageControl::GetTabPosition, &TPageControl::SetTabPosition).Default(tpTop);
  P.Property("TabStop", &TPageControl::GetTabStop, &TPageControl::SetTabStop).Default(true);
  P.Property("OnChange", &TPageControl::OnChange, &TPageControl::OnChange);
  P.Property("OnChanging", &TPageControl::OnChanging, &TPageControl::OnChanging);
}

TTabSheet* TPageControl::Pages(Integer Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FPages[size_t(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  Page->SetBoundsRect(DisplayRect());
  Page->SetAlign(alClient);
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto It = std::find(FPages.begin(), FPages.end(), Page);
  if (It == FPages.end()) return;
  TTabSheet* Next = FActivePage == Page ? FindNextPage(Page, true, !ComponentState().Contains(csDesigning)) : nullptr;
  if (Next == Page) Next = nullptr;
  FPages.erase(It);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    if (!ComponentState().Contains(csDestroying)) ChangeActivePage(Next);
  }
  UpdateTabs();
}

Integer TPageControl::GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }

void TPageControl::SetActivePageIndex(Integer Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  if (ComponentState().Contains(csLoading)) {
    FActivePageName = Page ? Page->GetName() : AnsiString();
  }
  ChangeActivePage(Page);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (FActivePage == Page) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form && FActivePage && FActivePage->ContainsControl(Form->GetActiveControl())) {
    Form->SetActiveControl(this);
  }
  if (Page) {
    Page->SetBoundsRect(DisplayRect());
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (FActivePage) FActivePage->SetVisible(false);
  FActivePage = Page;
  Invalidate();
}

Integer TPageControl::TabCount() const {
  Integer N = 0;
  for (TTabSheet* S : FPages) N += S->FTabVisible ? 1 : 0;
  return N;
}

Integer TPageControl::GetTabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::SetTabIndex(Integer Value) {
  Integer N = 0;
  for (TTabSheet* S : FPages)
    if (S->FTabVisible && N++ == Value) {
      UserSelect(S);
      return;
    }
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  if (FPages.empty()) return nullptr;
  const Integer Count = PageCount();
  auto It = std::find(FPages.begin(), FPages.end(), CurPage);
  Integer Start = It == FPages.end() ? (GoForward ? Count - 1 : 0) : Integer(It - FPages.begin());
  Integer I = Start;
  for (Integer K = 0; K < Count; ++K) {
    I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
    TTabSheet* S = FPages[size_t(I)];
    if (!CheckTabVisible || S->FTabVisible) return S;
  }
  return nullptr;
}

bool TPageControl::CanChange() {
  bool Allow = true;
  if (OnChanging.Assigned()) OnChanging(this, Allow);
  return Allow;
}

void TPageControl::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

bool TPageControl::UserSelect(TTabSheet* Page) {
  if (!Page || Page == FActivePage) return false;
  if (!CanChange()) return false;
  ChangeActivePage(Page);
  Change();
  return true;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  UserSelect(FindNextPage(FActivePage, GoForward, CheckTabVisible));
}

void TPageControl::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TPageControl::Loaded() {
  inherited::Loaded();
  if (!FActivePage)
    for (TTabSheet* S : FPages)
      if (S->FTabVisible) {
        ChangeActivePage(S);
        break;
      }
  for (TTabSheet* S : FPages) S->SetVisible(S == FActivePage);
}

void TPageControl::ShowControl(TControl* AControl) {
  if (auto* S = dynamic_cast<TTabSheet*>(AControl); S && S->FPageControl == this) SetActivePage(S);
}

int TPageControl::TabHeight() const {
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, FFont->GetHandle());
  TEXTMETRICA Tm{};
  GetTextMetricsA(Dc, &Tm);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  int H = int(Tm.tmHeight) + 6;
  int Cx = 0, Cy = 0;
  if (FImages) H = std::max(H, FImages->GetHeight() + 4);
  (void)Cx;
  (void)Cy;
  return H + 2;
}

TRect TPageControl::DisplayRect() const {
  TRect R{0, 0, FWidth, FHeight};
  if (TabCount() > 0) R.Top = TabHeight();
  R.Left += 4;
  R.Top += 4;
  R.Right -= 4;
  R.Bottom -= 4;
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}

void TPageControl::AdjustClientRect(TRect& Rect) const { Rect = DisplayRect(); }

TRect TPageControl::TabRect(Integer Index) {
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, FFont->GetHandle());
  int X = 2;
  const int H = TabHeight();
  TRect Result;
  Integer N = 0;
  for (TTabSheet* S : FPages) {
    if (!S->FTabVisible) continue;
    AnsiString Text = S->GetCaption();
    TRect Calc{0, 0, 0, 0};
    DrawTextA(Dc, Text.data(), int(Text.size()), &Calc, DT_CALCRECT | DT_SINGLELINE);
    int W = Calc.Width() + 12;
    if (FImages && S->FImageIndex >= 0) W += FImages->GetWidth() + 3;
    if (N == Index) {
      Result = {X, 2, X + W, H};
      break;
    }
    X += W;
    ++N;
  }
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return Result;
}

Integer TPageControl::IndexOfTabAt(Integer X, Integer Y) {
  const Integer Count = TabCount();
  for (Integer I = 0; I < Count; ++I) {
    TRect R = TabRect(I);
    if (R.Contains({X, Y})) return I;
  }
  return -1;
}

void TPageControl::Paint() {
  TCanvas* C = Canvas();
  HDC Dc = C->GetHandle();
  TRect All{0, 0, FWidth, FHeight};
  FillRect(Dc, &All, GetSysColorBrush(COLOR_BTNFACE));
  const int H = TabCount() > 0 ? TabHeight() : 0;
  TRect Frame{0, H, FWidth, FHeight};
  DrawEdge(Dc, &Frame, EDGE_RAISED, BF_RECT);
  HGDIOBJ OldFont = SelectObject(Dc, FFont->GetHandle());
  SetBkMode(Dc, TRANSPARENT);
  const Integer Active = GetTabIndex();
  const Integer Count = TabCount();
  Integer N = 0;
  for (TTabSheet* S : FPages) {
    if (!S->FTabVisible) continue;
    TRect R = TabRect(N);
    const bool On = N == Active;
    if (On) {
      R.Left -= 2;
      R.Top -= 2;
      R.Right += 2;
      R.Bottom += 1;  // over the frame's top line: the tab opens into its page
    }
    TRect Fill = R;
    FillRect(Dc, &Fill, GetSysColorBrush(COLOR_BTNFACE));
    TRect E = R;
    DrawEdge(Dc, &E, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    AnsiString Text = S->GetCaption();
    TRect T = R;
    T.Left += 6;
    if (FImages && S->FImageIndex >= 0) {
      FImages->Draw(C, T.Left, T.Top + (T.Height() - FImages->GetHeight()) / 2, S->FImageIndex, true);
      T.Left += FImages->GetWidth() + 3;
    }
    SetTextColor(Dc, GetSysColor(S->GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextA(Dc, Text.data(), int(Text.size()), &T, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (On && Focused()) {
      TRect F = R;
      F.Left += 3;
      F.Top += 3;
      F.Right -= 3;
      F.Bottom -= 2;
      DrawFocusRect(Dc, &F);
    }
    ++N;
  }
  (void)Count;
  SelectObject(Dc, OldFont);
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    const Integer I = IndexOfTabAt(X, Y);
    if (I >= 0) {
      if (CanFocus()) SetFocus();
      SetTabIndex(I);
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && FHandle &&
          (Focused() || IsChild(FHandle, GetFocus()))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT) {
        if (!DoKeyDown(Message)) SelectNextPage(Message.WParam == VK_RIGHT);
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_SIZE:
      inherited::Dispatch(Message);
      if (FActivePage) FActivePage->SetBoundsRect(DisplayRect());
      Invalidate();
      return;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      Realign();
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TUpDown

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csCaptureMouse);
  FControlStyle.Exclude(csDoubleClicks);
  SetBounds(FLeft, FTop, 17, 25);
}

void TUpDown::Published(TPublished<TUpDown>& P) {
  P.Property("AlignButton", &TUpDown::GetAlignButton, &TUpDown::SetAlignButton).Default(udRight);
  P.Property("Anchors", &TUpDown::GetAnchors, &TUpDown::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("ArrowKeys", &TUpDown::GetArrowKeys, &TUpDown::SetArrowKeys).Default(true);
  P.Property("Associate", &TUpDown::GetAssociate, &TUpDown::SetAssociate);
  P.Property("Enabled", &TUpDown::GetEnabled, &TUpDown::SetEnabled).Default(true);
  P.Property("Increment", &TUpDown::GetIncrement, &TUpDown::SetIncrement).Default(1);
  P.Property("Max", &TUpDown::GetMax, &TUpDown::SetMax).Default(100);
  P.Property("Min", &TUpDown::GetMin, &TUpDown::SetMin).Default(0);
  P.Property("Orientation", &TUpDown::GetOrientation, &TUpDown::SetOrientation).Default(udVertical);
  P.Property("Position", &TUpDown::GetPosition, &TUpDown::SetPosition).Default(0);
  P.Property("TabOrder", &TUpDown::GetTabOrder, &TUpDown::SetTabOrder).Default(-1);
  P.Property("Thousands", &TUpDown::GetThousands, &TUpDown::SetThousands).Default(true);
  P.Property("Visible", &TUpDown::GetVisible, &TUpDown::SetVisible).Default(true);
  P.Property("Wrap", &TUpDown::GetWrap, &TUpDown::SetWrap).Default(false);
  P.Property("OnChanging", &TUpDown::OnChanging, &TUpDown::OnChanging);
  P.Property("OnClick", &TUpDown::OnClick, &TUpDown::OnClick);
}

void TUpDown::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= UDS_SETBUDDYINT;
  if (FAlignButton == udRight) Params.Style |= UDS_ALIGNRIGHT;
  else Params.Style |= UDS_ALIGNLEFT;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FWrap) Params.Style |= UDS_WRAP;
  if (!FThousands) Params.Style |= UDS_NOTHOUSANDS;
  if (FArrowKeys) Params.Style |= UDS_ARROWKEYS;
}

void TUpDown::CreateWnd() {
  WNDPROC Proc = CommonControlProc(UPDOWN_CLASS);
  inherited::CreateWnd();
  FDefWndProc = Proc;
  SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SendMessageA(FHandle, UDM_SETPOS32, 0, LPARAM(FPosition));
  if (FAssociate) SendMessageA(FHandle, UDM_SETBUDDY, WPARAM(FAssociate->Handle()), 0);
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (Value == this || Value == FAssociate) return;
  FAssociate = Value;
  if (Value) Value->FreeNotification(this);
  // Reading a form sets it before the windows exist; CreateWnd links them.
  if (FHandle && !ComponentState().Contains(csLoading))
    SendMessageA(FHandle, UDM_SETBUDDY, WPARAM(Value ? Value->Handle() : nullptr), 0);
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    FAssociate = nullptr;
    if (FHandle) SendMessageA(FHandle, UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::SetMin(SmallInt Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (FHandle) SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

void TUpDown::SetMax(SmallInt Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (FHandle) SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

SmallInt TUpDown::GetPosition() const {
  if (FHandle) return SmallInt(SendMessageA(FHandle, UDM_GETPOS32, 0, 0));
  return FPosition;
}

void TUpDown::SetPosition(SmallInt Value) {
  FPosition = Value;
  if (FHandle) SendMessageA(FHandle, UDM_SETPOS32, 0, LPARAM(Value));
}

void TUpDown::SetOrientation(TUDOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (FHandle) RecreateWnd();
}
void TUpDown::SetAlignButton(TUDAlignButton Value) {
  if (FAlignButton == Value) return;
  FAlignButton = Value;
  if (FHandle) RecreateWnd();
}
void TUpDown::SetWrap(bool Value) {
  if (FWrap == Value) return;
  FWrap = Value;
  if (FHandle) RecreateWnd();
}
void TUpDown::SetThousands(bool Value) {
  if (FThousands == Value) return;
  FThousands = Value;
  if (FHandle) RecreateWnd();
}

void TUpDown::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    auto* N = reinterpret_cast<NMUPDOWN*>(Message.LParam);
    if (N->hdr.code == UDN_DELTAPOS) {
      bool Allow = true;
      if (OnChanging.Assigned()) OnChanging(this, Allow);
      N->iDelta = N->iDelta > 0 ? FIncrement : -FIncrement;
      Message.Result = Allow ? 0 : 1;
    }
    return;
  }
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    const WORD Code = LOWORD(Message.WParam);
    if (Code == SB_THUMBPOSITION) {
      const SmallInt New = SmallInt(SHORT(HIWORD(Message.WParam)));
      const TUDBtnType Button = New > FPosition || (FWrap && New < FPosition && FPosition == FMax) ? btNext : btPrev;
      FPosition = New;
      if (OnClick.Assigned()) OnClick(this, Button);
    }
    Message.Result = 0;
    return;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TProgressBar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(FLeft, FTop, 150, 16); }

void TProgressBar::Published(TPublished<TProgressBar>& P) {
  P.Property("Align", &TProgressBar::GetAlign, &TProgressBar::SetAlign).Default(alNone);
  P.Property("Anchors", &TProgressBar::GetAnchors, &TProgressBar::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("Max", &TProgressBar::GetMax, &TProgressBar::SetMax).Default(100);
  P.Property("Min", &TProgressBar::GetMin, &TProgressBar::SetMin).Default(0);
  P.Property("Position", &TProgressBar::GetPosition, &TProgressBar::SetPosition).Default(0);
  P.Property("Smooth", &TProgressBar::GetSmooth, &TProgressBar::SetSmooth).Default(false);
  P.Property("Step", &TProgressBar::GetStep, &TProgressBar::SetStep).Default(10);
  P.Property("TabOrder", &TProgressBar::GetTabOrder, &TProgressBar::SetTabOrder).Default(-1);
  P.Property("Visible", &TProgressBar::GetVisible, &TProgressBar::SetVisible).Default(true);
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FSmooth) Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  WNDPROC Proc = CommonControlProc(PROGRESS_CLASS);
  inherited::CreateWnd();
  FDefWndProc = Proc;
  SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SendMessageA(FHandle, PBM_SETSTEP, WPARAM(FStep), 0);
  SendMessageA(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

void TProgressBar::SetMin(Integer Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (FHandle) SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}
void TProgressBar::SetMax(Integer Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (FHandle) SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}
Integer TProgressBar::GetPosition() const {
  return FHandle ? Integer(SendMessageA(FHandle, PBM_GETPOS, 0, 0)) : FPosition;
}
void TProgressBar::SetPosition(Integer Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (FHandle) SendMessageA(FHandle, PBM_SETPOS, WPARAM(Value), 0);
}
void TProgressBar::SetStep(Integer Value) {
  FStep = Value;
  if (FHandle) SendMessageA(FHandle, PBM_SETSTEP, WPARAM(Value), 0);
}
void TProgressBar::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  FSmooth = Value;
  if (FHandle) RecreateWnd();
}
void TProgressBar::StepIt() {
  SendMessageA(Handle(), PBM_STEPIT, 0, 0);
  FPosition = GetPosition();
}
void TProgressBar::StepBy(Integer Delta) {
  SendMessageA(Handle(), PBM_DELTAPOS, WPARAM(Delta), 0);
  FPosition = GetPosition();
}

// ===========================================================================

#include "platform/forms/Buttons.h"
#include "platform/forms/Panels.h"
#include "platform/forms/ScrollBar.h"
#include "platform/rtl/ClassRegistry.h"

void RegisterComCtrlsClasses() {
  RegisterClasses({TTreeView::StaticClass(), TListView::StaticClass(), TPageControl::StaticClass(),
                   TTabSheet::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(), TShape::StaticClass(),
                   TImage::StaticClass(), TScrollBox::StaticClass(), TBitBtn::StaticClass(),
                   TSpeedButton::StaticClass(), TUpDown::StaticClass(), TProgressBar::StaticClass(), TScrollBar::StaticClass()});
}
