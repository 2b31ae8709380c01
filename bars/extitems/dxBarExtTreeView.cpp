// dxBarExtTreeView.cpp — the tree-view combo: its drop-down tree, the
// "Select item" dialog and its control.
#include <algorithm>
#include <memory>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

// The drop-down tree (IsPopup) or the dialog's tree: Enter, a double click
// (or, without ChooseByDblClick, a click) on a node chooses it.
class TdxBarTreeView : public TTreeView {
public:
  TdxBarTreeView(TComponent* AOwner, TdxBarTreeViewCombo* ACombo, bool APopup)
      : TTreeView(AOwner), FCombo(ACombo), IsPopup(APopup) {
    SetVisible(false);
    SetReadOnly(true);
    SetBounds(0, 0, 150, 200);
  }
  ~TdxBarTreeView() override {
    // The combo forgets no node of ours behind our back.
    FDying = true;
  }
  TdxBarTreeViewCombo* FCombo;
  bool IsPopup;
  TForm* FDialog = nullptr;

  void ChooseNode() {
    TTreeNode* N = GetSelected();
    if (!N || !FCombo->CanSelectNode(N)) return;
    if (IsPopup) {
      FCombo->CloseUp();
      FCombo->SetSelectedNode(N);
      return;
    }
    FCombo->SetText(N->GetText());
    if (FDialog) FDialog->SetModalResult(mrOk);
  }

protected:
  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_MOUSEACTIVATE:
        if (IsPopup) {
          Message.Result = MA_NOACTIVATE;
          return;
        }
        break;
      case WM_KEYDOWN:
        if (Message.WParam == VK_RETURN) {
          ChooseNode();
          return;
        }
        break;
      case WM_LBUTTONDBLCLK:
      case WM_LBUTTONUP: {
        const TPoint P{short(Message.LParamLo()), short(Message.LParamHi())};
        const bool Dbl = Message.Msg == WM_LBUTTONDBLCLK;
        TTreeView::WndProc(Message);
        // Only a press on a node chooses, never one on empty room.
        TTreeNode* N = GetNodeAt(P.X, P.Y);
        if (N && Dbl == FCombo->GetChooseByDblClick()) {
          SetSelected(N);
          ChooseNode();
        }
        return;
      }
      case WM_GETMINMAXINFO:
        TTreeView::WndProc(Message);
        if (auto* I = reinterpret_cast<MINMAXINFO*>(Message.LParam)) I->ptMinTrackSize = {100, 100};
        return;
      default:
        break;
    }
    TTreeView::WndProc(Message);
  }
  void Delete(TTreeNode* Node) override {
    TTreeView::Delete(Node);
    if (IsPopup && !FDying) FCombo->NodeDeleted(Node);
  }

private:
  bool FDying = false;
};

// The window the drop-down tree sits in: above everything, framed, never
// taking the activation. The tree is its child, so the tree's
// notifications come back to it.
class TdxBarTreeViewPopup : public TCustomControl {
public:
  explicit TdxBarTreeViewPopup(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = Application ? Application->Handle() : nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_MOUSEACTIVATE) {
      Message.Result = MA_NOACTIVATE;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};

void TdxBarTreeViewCombo::Published(TPublished<TdxBarTreeViewCombo>& P) {
  P.Property("AllowResizing", &TdxBarTreeViewCombo::GetAllowResizing, &TdxBarTreeViewCombo::SetAllowResizing)
      .Default(true);
  P.Property("ChooseByDblClick", &TdxBarTreeViewCombo::GetChooseByDblClick,
             &TdxBarTreeViewCombo::SetChooseByDblClick)
      .Default(true);
  P.Property("DropDownHeight", &TdxBarTreeViewCombo::GetDropDownHeight, &TdxBarTreeViewCombo::SetDropDownHeight)
      .Default(200);
  P.Property("DropDownWidth", &TdxBarTreeViewCombo::GetDropDownWidth, &TdxBarTreeViewCombo::SetDropDownWidth)
      .Default(150);
  P.Property("FullExpand", &TdxBarTreeViewCombo::GetFullExpand, &TdxBarTreeViewCombo::SetFullExpand).Default(false);
  P.Property("ShowImageInEdit", &TdxBarTreeViewCombo::GetShowImageInEdit, &TdxBarTreeViewCombo::SetShowImageInEdit)
      .Default(true);
}

TdxBarTreeViewCombo::TdxBarTreeViewCombo(TComponent* AOwner) : TCustomdxBarCombo(AOwner) {
  if (HBITMAP H = LoadProgramBitmap("DXBARTREEVIEWCOMBO")) GetGlyph()->SetHandle(H);
  FPopup = new TdxBarTreeViewPopup(nullptr);
  // A parent window makes the popup show its child like a form does.
  if (Application && Application->Handle()) FPopup->SetParentWindow(Application->Handle());
  FTreeView = new TdxBarTreeView(FPopup, this, true);
  FTreeView->SetParent(FPopup);
  FTreeView->SetBorderStyle(bsNone);
}

TdxBarTreeViewCombo::~TdxBarTreeViewCombo() {
  FSelectedNode = nullptr;
  FTreeView = nullptr;
  delete FPopup;  // with the tree
}

TTreeNode* TdxBarTreeViewCombo::GetSelectedNode() const {
  // A node deleted from the tree is forgotten (the tree's notification
  // does not reach a drop-down that has no parent window).
  if (FSelectedNode) {
    bool Found = false;
    for (TTreeNode* N = GetItems()->GetFirstNode(); N && !Found; N = N->GetNext()) Found = N == FSelectedNode;
    if (!Found) FSelectedNode = nullptr;
  }
  return FSelectedNode;
}

TTreeNodes* TdxBarTreeViewCombo::GetItems() const { return FTreeView->GetItems(); }
void TdxBarTreeViewCombo::SetItems(TTreeNodes* Value) {
  FSelectedNode = nullptr;
  FTreeView->SetItems(Value);
  FSelectedNode = FindNodeByText(GetText());
}

Integer TdxBarTreeViewCombo::GetDropDownWidth() const { return FTreeView->GetWidth(); }
void TdxBarTreeViewCombo::SetDropDownWidth(Integer Value) { FTreeView->SetWidth(std::max<Integer>(Value, 100)); }
Integer TdxBarTreeViewCombo::GetDropDownHeight() const { return FTreeView->GetHeight(); }
void TdxBarTreeViewCombo::SetDropDownHeight(Integer Value) { FTreeView->SetHeight(std::max<Integer>(Value, 100)); }

TTreeNode* TdxBarTreeViewCombo::FindNodeByText(const AnsiString& S) const {
  // Depth first: a node, then its children, then its next sibling.
  for (TTreeNode* N = GetItems()->GetFirstNode(); N; N = N->GetNext())
    if (AnsiCompareText(N->GetText(), S) == 0) return N;
  return nullptr;
}

void TdxBarTreeViewCombo::SetText(const AnsiString& Value) {
  if (Value == GetText()) return;
  if (ComponentState().Contains(csLoading)) {
    FLoadedText = Value;
    return;
  }
  if (!FSettingNode) FSelectedNode = FindNodeByText(Value);
  TCustomdxBarCombo::SetText(Value);
}

void TdxBarTreeViewCombo::Loaded() {
  TCustomdxBarCombo::Loaded();
  SetText(FLoadedText);
}

void TdxBarTreeViewCombo::SetSelectedNode(TTreeNode* Value) {
  if (GetSelectedNode() == Value) return;
  FSelectedNode = Value;
  SelectedNodeChanged();
}

void TdxBarTreeViewCombo::SelectedNodeChanged() {
  FSettingNode = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } Reset{FSettingNode};
  const AnsiString T = FSelectedNode ? FSelectedNode->GetText() : AnsiString();
  if (T != GetText()) TCustomdxBarCombo::SetText(T);
  else if (OnChange) OnChange(this);
  RepaintControls();
}

void TdxBarTreeViewCombo::NodeDeleted(TTreeNode* ANode) {
  if (ANode == FSelectedNode) FSelectedNode = nullptr;
}

bool TdxBarTreeViewCombo::CanSelectNode(TTreeNode* ANode) {
  bool Can = true;
  if (OnCanSelectNode) OnCanSelectNode(this, ANode, Can);
  return Can;
}

bool TdxBarTreeViewCombo::DroppedDown() const {
  return FPopup->HandleAllocated() && IsWindowVisible(FPopup->Handle());
}

void TdxBarTreeViewCombo::DropDown(const TRect& AOwnerScreenRect, const AnsiString& ACurrentText) {
  // The bars' font: the tree has no parent to take one from.
  if (BarManager()) FTreeView->GetFont()->Assign(BarManager()->Font());
  if (FFullExpand) FTreeView->FullExpand();
  if (ACurrentText != GetText()) FTreeView->SetSelected(FindNodeByText(ACurrentText));
  else FTreeView->SetSelected(GetSelectedNode());
  if (!FTreeView->GetSelected() && GetItems()->GetFirstNode()) FTreeView->SetSelected(GetItems()->GetFirstNode());
  // Under the box, or above it when the screen ends first.
  const Integer W = FTreeView->GetWidth(), H = FTreeView->GetHeight();
  Integer X = AOwnerScreenRect.Left, Y = AOwnerScreenRect.Bottom;
  if (Y + H > GetSystemMetrics(SM_CYSCREEN)) Y = std::max<Integer>(AOwnerScreenRect.Top - H, 0);
  X = std::max<Integer>(0, std::min<Integer>(X, GetSystemMetrics(SM_CXSCREEN) - W));
  // The frame lies around the tree.
  FPopup->HandleNeeded();
  FTreeView->SetBounds(0, 0, W, H);
  FTreeView->SetVisible(true);
  SetWindowPos(FPopup->Handle(), HWND_TOPMOST, X, Y, W + 2, H + 2, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FPopup->SetVisible(true);
}

HWND TdxBarTreeViewCombo::GetDropDownWindow() const { return FPopup->Handle(); }

void TdxBarTreeViewCombo::CloseUp() {
  if (!FPopup->HandleAllocated()) return;
  FPopup->SetVisible(false);
  SetWindowPos(FPopup->Handle(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// Sets a size again while it has not taken (a scroll bar that comes and
// goes can keep two sizes from agreeing): a few attempts, no more.
template <class FGet, class FSet>
void SettleSize(FGet Get, FSet Set, TSize Want) {
  for (int Attempt = 0; Attempt < 4 && Get() != Want; ++Attempt) Set(Want);
}

}  // namespace

bool TdxBarTreeViewCombo::RunSelectDialog() {
  std::unique_ptr<TForm> F(new TForm(nullptr));
  F->SetCaption(dxBarStr(dxSBAR_TREEVIEWDIALOGCAPTION));
  if (BarManager()) F->GetFont()->Assign(BarManager()->Font());
  F->SetPosition(Forms::poScreenCenter);
  if (FAllowResizing) {
    F->SetBorderIcons(TBorderIcons{});
  } else {
    F->SetBorderStyle(bsDialog);
  }
  auto* Tree = new TdxBarTreeView(F.get(), this, false);
  Tree->SetParent(F.get());
  Tree->FDialog = F.get();
  Tree->SetIndent(FTreeView->GetIndent());
  Tree->SetItems(FTreeView->GetItems());
  Tree->SetShowButtons(FTreeView->GetShowButtons());
  Tree->SetShowLines(FTreeView->GetShowLines());
  Tree->SetShowRoot(FTreeView->GetShowRoot());
  Tree->SetVisible(true);
  const TSize TreeSize{FTreeView->GetWidth(), FTreeView->GetHeight()};
  SettleSize([&] { return TSize{Tree->GetWidth(), Tree->GetHeight()}; },
             [&](TSize S) { Tree->SetBounds(Tree->GetLeft(), Tree->GetTop(), S.cx, S.cy); }, TreeSize);
  TBitmap Measure;
  Measure.SetWidth(1);
  Measure.SetHeight(1);
  Measure.Canvas()->Font()->Assign(F->GetFont());
  const Integer BW = Measure.Canvas()->TextWidth("0") * 12;
  const Integer BH = MulDiv(Measure.Canvas()->TextHeight("0"), 5, 3);
  const Integer G = BH / 4;
  Tree->SetLeft(G);
  Tree->SetTop(G);
  auto* OK = new TButton(F.get());
  OK->SetParent(F.get());
  OK->SetCaption(dxBarStr(dxSBAR_LOOKUPDIALOGOK));
  OK->SetDefault(true);
  OK->SetModalResult(mrOk);
  auto* Cancel = new TButton(F.get());
  Cancel->SetParent(F.get());
  Cancel->SetCaption(dxBarStr(dxSBAR_LOOKUPDIALOGCANCEL));
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  auto Place = [&] {
    const Integer CW = F->ClientWidth(), CH = F->ClientHeight();
    Tree->SetBounds(G, G, std::max<Integer>(CW - BW - 3 * G, 0), std::max<Integer>(CH - 2 * G, 0));
    OK->SetBounds(CW - G - BW, G, BW, BH);
    Cancel->SetBounds(CW - G - BW, 2 * G + BH, BW, BH);
  };
  const TSize Client{Tree->GetWidth() + BW + 3 * G, Tree->GetHeight() + 2 * G};
  SettleSize([&] { return TSize{F->ClientWidth(), F->ClientHeight()}; },
             [&](TSize S) {
               F->SetClientWidth(S.cx);
               F->SetClientHeight(S.cy);
             }, Client);
  Place();
  struct TResizer : TObject {
    std::function<void()> Fn;
    void Resize(TObject*) { Fn(); }
  } Resizer;
  Resizer.Fn = Place;
  F->OnResize = TNotifyEvent(&Resizer, &TResizer::Resize);
  if (FFullExpand) Tree->FullExpand();
  TTreeNode* Start = nullptr;
  for (TTreeNode* N = Tree->GetItems()->GetFirstNode(); N && !Start; N = N->GetNext())
    if (AnsiCompareText(N->GetText(), GetText()) == 0) Start = N;
  Tree->SetSelected(Start ? Start : Tree->GetItems()->GetFirstNode());
  F->SetActiveControl(Tree);
  const bool Ok = F->ShowModal() == mrOk;
  if (Ok)
    if (TTreeNode* N = Tree->GetSelected()) SetText(N->GetText());
  // A resized dialog resizes the drop-down too.
  const TSize Now{Tree->GetWidth(), Tree->GetHeight()};
  SettleSize([&] { return TSize{FTreeView->GetWidth(), FTreeView->GetHeight()}; },
             [&](TSize S) { FTreeView->SetBounds(FTreeView->GetLeft(), FTreeView->GetTop(), S.cx, S.cy); },
             TSize{std::max<Integer>(Now.cx, 100), std::max<Integer>(Now.cy, 100)});
  F->OnResize = nullptr;
  return Ok;
}

void TdxBarTreeViewCombo::DoClick() {
  TCustomdxBarCombo::DoClick();
  if (!OnClick && !GetReadOnly() && GetEnabled()) RunSelectDialog();
}

// ---------------------------------------------------------------------------
// The control

TdxBarTreeViewComboControl::~TdxBarTreeViewComboControl() { CloseUpIfDropped(); }

TdxBarTreeViewCombo* TdxBarTreeViewComboControl::TreeCombo() const {
  return dynamic_cast<TdxBarTreeViewCombo*>(GetItem());
}

void TdxBarTreeViewComboControl::CommitText(const AnsiString& AText) {
  if (TdxBarTreeViewCombo* C = TreeCombo(); C && !C->GetReadOnly()) C->SetText(AText);
}

AnsiString TdxBarTreeViewComboControl::ItemText() const { return TreeCombo() ? TreeCombo()->GetText() : AnsiString(); }

bool TdxBarTreeViewComboControl::PopupDroppedDown() const { return TreeCombo() && TreeCombo()->DroppedDown(); }
void TdxBarTreeViewComboControl::PopupDropDown(const TRect& R, const AnsiString& AText) {
  if (TdxBarTreeViewCombo* C = TreeCombo()) C->DropDown(R, AText);
}
void TdxBarTreeViewComboControl::PopupCloseUp() {
  if (TdxBarTreeViewCombo* C = TreeCombo()) C->CloseUp();
}

bool TdxBarTreeViewComboControl::EditKey(WORD& Key) {
  TdxBarTreeViewCombo* C = TreeCombo();
  if (!C) return false;
  if (PopupToggleKey(Key)) return true;
  if (!C->DroppedDown()) return false;
  TdxBarTreeView* T = C->TreeView();
  switch (Key) {
    case VK_UP:
    case VK_DOWN: {
      TTreeNode* N = T->GetSelected();
      if (!N) N = C->GetItems()->GetFirstNode();
      else if (Key == VK_DOWN) N = N->GetNext() ? N->GetNext() : N;
      else
        for (TTreeNode* P = C->GetItems()->GetFirstNode(); P; P = P->GetNext())
          if (P->GetNext() == N) {
            N = P;
            break;
          }
      T->SetSelected(N);
      if (N && FEdit) FEdit->SetText(N->GetText());
      return true;
    }
    case VK_RETURN: {
      TTreeNode* N = T->GetSelected();
      // A refused node keeps the drop-down open (and the old node).
      if (!N || !C->CanSelectNode(N)) return true;
      C->CloseUp();
      if (FEdit) FEdit->SetText(N->GetText());
      C->SetSelectedNode(N);
      return false;  // Enter also ends typing, with the chosen text
    }
    case VK_ESCAPE:
      C->CloseUp();
      return true;
    default:
      return false;
  }
}
