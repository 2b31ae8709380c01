// TreeViewControl.cpp — the "SysTreeView32" window class.
//
// Items form a tree of nodes linked to parent, siblings and children; an
// HTREEITEM is the node's address, checked against the control's set of
// live nodes before use, so a stale handle fails instead of crashing.
// The rows on screen are the expanded part of the tree in order; they are
// rebuilt lazily (once per change burst, never per insert), and painting
// walks only the rows inside the update rectangle.
#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/gdi/ImageListHandles.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/CommonControls_p.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/EditControl.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/Window.h"

struct _TREEITEM {
  _TREEITEM* Parent = nullptr;
  _TREEITEM* First = nullptr;
  _TREEITEM* Last = nullptr;
  _TREEITEM* Next = nullptr;
  _TREEITEM* Prev = nullptr;
  std::string Text;
  bool TextCallback = false;
  int Image = 0, SelImage = 0;
  int Children = 0;  // cChildren as given; I_CHILDRENCALLBACK asks the parent
  UINT State = 0;
  LPARAM Param = 0;
  int Level = 0;
  bool Dying = false;  // unlinked, its TVN_DELETEITEM still to come
};

namespace commctrl {
namespace {

using TNode = _TREEITEM;

class TTreeView {
public:
  explicit TTreeView(HWND Wnd) : FWnd(Wnd) {}
  ~TTreeView() {
    // The window is going: free without notifications.
    std::vector<TNode*> All(FLive.begin(), FLive.end());
    for (TNode* N : All) delete N;
  }
  LRESULT Handle(UINT Msg, WPARAM W, LPARAM L);

private:
  DWORD Style() const { return DWORD(GetWindowLongPtrA(FWnd, GWL_STYLE)); }
  bool Valid(HTREEITEM H) const { return H && FLive.count(H) && !H->Dying; }
  TNode* Resolve(HTREEITEM H) const { return Valid(H) ? H : nullptr; }
  int ItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    int H = FontHeight(ControlFont(FFont)) + 3;
    int Cx = 0, Cy = 0;
    if (FImages && ImageList_GetIconSize(FImages, &Cx, &Cy)) H = std::max(H, Cy + 1);
    return std::max(H, 16);
  }
  int Indent() const { return FIndent > 0 ? FIndent : 19; }
  int VisibleCount() const {
    TRect R;
    GetClientRect(FWnd, &R);
    return std::max(1, R.Height() / ItemHeight());
  }

  HTREEITEM Insert(const TVINSERTSTRUCTA& In);
  bool Delete(HTREEITEM H);
  bool Expand(TNode* N, WPARAM Action, UINT Cause = TVC_UNKNOWN);
  bool Select(TNode* N, UINT Cause);
  bool GetItem(TVITEMA& Item);
  bool SetItem(const TVITEMA& Item);
  HTREEITEM Next(WPARAM Code, TNode* From);
  bool SortChildren(TNode* Parent, bool Recurse, PFNTVCOMPARE Compare, LPARAM Data);
  void EnsureVisible(TNode* N);
  void HitTest(TVHITTESTINFO& Info);

  // The rows shown: the expanded part of the tree, in order.
  const std::vector<TNode*>& Rows();
  void RowsChanged() {
    FRowsDirty = true;
    Invalidate();
  }
  int RowOf(TNode* N) {
    const auto& R = Rows();
    auto It = std::find(R.begin(), R.end(), N);
    return It == R.end() ? -1 : int(It - R.begin());
  }
  void Invalidate() { InvalidateRect(FWnd, nullptr, TRUE); }
  void UpdateScrollBar();
  void ScrollTo(int Top);
  bool HasChildren(TNode* N);
  std::string TextOf(TNode* N);
  int ImageOf(TNode* N, bool Selected);
  TRect RowRect(int Row) const;
  TRect LabelRect(TNode* N, int Row, HDC Dc);
  void Paint(HDC Dc, const TRect& Update);
  void SendNotify(UINT Code, TNode* Old, TNode* New, UINT Action, TPoint Pt = {});
  void Unlink(TNode* N);
  void KeyDown(WORD Key);
  void LButtonDown(TPoint P, bool Double);
  // In-place label editing: the edit over N's label, after the parent
  // allowed it; EndEdit tells the parent the outcome.
  HWND EditLabel(TNode* N);
  bool EndEdit(bool Cancel);
  void FillDisp(TVITEMA& I, TNode* N, std::string& Text);

  HWND FWnd;
  std::unordered_set<TNode*> FLive;
  TNode FRoot;  // the invisible root; its children are the top-level items
  TNode* FSelected = nullptr;
  TNode* FDropHilite = nullptr;
  HIMAGELIST FImages = nullptr, FStateImages = nullptr;
  HFONT FFont = nullptr;
  int FItemHeight = 0, FIndent = 0;
  int FTop = 0;  // first row shown
  std::vector<TNode*> FRows;
  bool FRowsDirty = true;
  bool FFocused = false;
  bool FRedraw = true;
  // A press on an item that may turn into a drag.
  TNode* FPressed = nullptr;
  TPoint FPressPt;
  bool FPressRight = false;
  TLabelEdit FLabel;
  TNode* FEditItem = nullptr;
  // A second, slow click on the selected item's label: edit when no
  // double click follows within the double-click time.
  TNode* FClickEdit = nullptr;
  static constexpr UINT_PTR ClickEditTimer = 0x5845;
};

HTREEITEM TTreeView::Insert(const TVINSERTSTRUCTA& In) {
  TNode* Parent = &FRoot;
  if (In.hParent && In.hParent != TVI_ROOT) {
    Parent = Resolve(In.hParent);
    if (!Parent) return nullptr;
  }
  TNode* After = nullptr;  // null: first
  bool Sorted = false;
  if (In.hInsertAfter == TVI_FIRST) {
  } else if (In.hInsertAfter == TVI_LAST || !In.hInsertAfter) {
    After = Parent->Last;
  } else if (In.hInsertAfter == TVI_SORT) {
    Sorted = true;
  } else {
    After = Resolve(In.hInsertAfter);
    if (!After || After->Parent != Parent) After = Parent->Last;
  }
  auto Owned = std::make_unique<TNode>();
  TNode* N = Owned.get();
  const TVITEMA& I = In.item;
  if (I.mask & TVIF_TEXT) {
    if (I.pszText == LPSTR_TEXTCALLBACKA) N->TextCallback = true;
    else if (I.pszText) N->Text = I.pszText;
  }
  if (I.mask & TVIF_IMAGE) N->Image = I.iImage;
  if (I.mask & TVIF_SELECTEDIMAGE) N->SelImage = I.iSelectedImage;
  if (I.mask & TVIF_CHILDREN) N->Children = I.cChildren;
  if (I.mask & TVIF_PARAM) N->Param = I.lParam;
  if (I.mask & TVIF_STATE) N->State = I.state & I.stateMask & ~(TVIS_SELECTED);
  if (Sorted) {
    const std::string Key = TextOf(N);
    // Items usually come in order: one comparison with the last child then
    // places them, and only an item out of order walks the siblings.
    if (!Parent->Last || AnsiCompareText(TextOf(Parent->Last), Key) <= 0) {
      After = Parent->Last;
    } else {
      After = nullptr;
      for (TNode* C = Parent->First; C; C = C->Next) {
        if (AnsiCompareText(TextOf(C), Key) > 0) break;
        After = C;
      }
    }
  }
  N->Parent = Parent;
  N->Level = Parent == &FRoot ? 0 : Parent->Level + 1;
  N->Prev = After;
  N->Next = After ? After->Next : Parent->First;
  (N->Prev ? N->Prev->Next : Parent->First) = N;
  (N->Next ? N->Next->Prev : Parent->Last) = N;
  FLive.insert(Owned.release());
  if (Parent == &FRoot || (Parent->State & TVIS_EXPANDED)) RowsChanged();
  else if (Parent->First == N && Parent->Last == N) Invalidate();  // its button appears
  return N;
}

void TTreeView::Unlink(TNode* N) {
  TNode* P = N->Parent;
  (N->Prev ? N->Prev->Next : P->First) = N->Next;
  (N->Next ? N->Next->Prev : P->Last) = N->Prev;
  N->Prev = N->Next = nullptr;
}

bool TTreeView::Delete(HTREEITEM H) {
  std::vector<TNode*> Doomed;
  auto Collect = [&](TNode* Top, auto& Self) -> void {
    for (TNode* C = Top->First; C; C = C->Next) Self(C, Self);
    if (Top != &FRoot) Doomed.push_back(Top);
  };
  TNode* Target = nullptr;
  if (H == TVI_ROOT || !H) {
    Target = &FRoot;
  } else {
    Target = Resolve(H);
    if (!Target) return false;
  }
  Collect(Target, Collect);
  // Unlink the whole subtree first, so that a handler that deletes, sorts
  // or walks the tree during the notifications sees a consistent one.
  // Where the selection goes when it goes with the subtree: the next
  // sibling, else the previous one, else the parent, whichever still lives
  // once the handlers have run.
  std::vector<TNode*> SelCandidates;
  bool SelGone = false;
  if (Target == &FRoot) {
    FRoot.First = FRoot.Last = nullptr;
    SelGone = FSelected != nullptr;
  } else {
    for (TNode* S = FSelected; S; S = S->Parent)
      if (S == Target) SelGone = true;
    if (SelGone) {
      for (TNode* N = Target->Next; N; N = N->Next) SelCandidates.push_back(N);
      for (TNode* N = Target->Prev; N; N = N->Prev) SelCandidates.push_back(N);
      if (Target->Parent != &FRoot) SelCandidates.push_back(Target->Parent);
    }
    Unlink(Target);
    for (TNode* C = Target->First; C; C = C->Next) Unlink(C);
  }
  for (TNode* D : Doomed) D->Dying = true;
  if (FEditItem && FEditItem->Dying) EndEdit(true);
  if (FClickEdit && FClickEdit->Dying) FClickEdit = nullptr;
  if (FDropHilite && FDropHilite->Dying) FDropHilite = nullptr;
  if (FPressed && FPressed->Dying) FPressed = nullptr;
  if (SelGone) FSelected = nullptr;
  RowsChanged();
  FTop = std::min(FTop, std::max(0, int(Rows().size()) - 1));
  std::exception_ptr Failure;
  for (TNode* D : Doomed) {
    try {
      SendNotify(TVN_DELETEITEMA, D, nullptr, 0);
    } catch (...) {
      if (!Failure) Failure = std::current_exception();
    }
  }
  for (TNode* D : Doomed) {
    FLive.erase(D);
    delete D;
  }
  if (SelGone && !FSelected)
    for (TNode* C : SelCandidates)
      if (Valid(C)) {
        Select(C, TVC_UNKNOWN);
        break;
      }
  if (Failure) std::rethrow_exception(Failure);
  return true;
}

bool TTreeView::HasChildren(TNode* N) {
  if (N->First) return true;
  if (N->Children == I_CHILDRENCALLBACK) {
    NMTVDISPINFOA D;
    D.item.mask = TVIF_CHILDREN;
    D.item.hItem = N;
    D.item.lParam = N->Param;
    D.item.state = N->State;
    Notify(FWnd, TVN_GETDISPINFOA, &D.hdr);
    return Valid(N) && D.item.cChildren != 0;
  }
  return N->Children > 0;
}

std::string TTreeView::TextOf(TNode* N) {
  if (!N->TextCallback) return N->Text;
  char Buffer[1024] = "";
  NMTVDISPINFOA D;
  D.item.mask = TVIF_TEXT;
  D.item.hItem = N;
  D.item.lParam = N->Param;
  D.item.pszText = Buffer;
  D.item.cchTextMax = sizeof Buffer;
  Notify(FWnd, TVN_GETDISPINFOA, &D.hdr);
  if (!D.item.pszText) return {};
  if (D.item.pszText == Buffer) Buffer[sizeof Buffer - 1] = 0;
  return D.item.pszText;
}

int TTreeView::ImageOf(TNode* N, bool Selected) {
  int I = Selected ? N->SelImage : N->Image;
  if (I != I_IMAGECALLBACK) return I;
  NMTVDISPINFOA D;
  D.item.mask = Selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
  D.item.hItem = N;
  D.item.lParam = N->Param;
  Notify(FWnd, TVN_GETDISPINFOA, &D.hdr);
  return Selected ? D.item.iSelectedImage : D.item.iImage;
}

void TTreeView::SendNotify(UINT Code, TNode* Old, TNode* New, UINT Action, TPoint Pt) {
  NMTREEVIEWA N;
  N.action = Action;
  N.ptDrag = Pt;
  auto Fill = [](TVITEMA& I, TNode* X) {
    if (!X) return;
    I.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    I.hItem = X;
    I.lParam = X->Param;
    I.state = X->State;
    I.iImage = X->Image;
    I.iSelectedImage = X->SelImage;
  };
  Fill(N.itemOld, Old);
  Fill(N.itemNew, New);
  Notify(FWnd, Code, &N.hdr);
}

bool TTreeView::Expand(TNode* N, WPARAM Action, UINT Cause) {
  const WPARAM Kind = Action & 3;
  bool Open = N->State & TVIS_EXPANDED;
  bool Want = Kind == TVE_EXPAND || (Kind == TVE_TOGGLE && !Open);
  if (Kind == 0) return false;
  if (Want == Open && !(Action & TVE_COLLAPSERESET)) return false;
  if (Want && !HasChildren(N)) return false;
  NMTREEVIEWA Msg;
  Msg.action = Want ? TVE_EXPAND : TVE_COLLAPSE;
  Msg.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
  Msg.itemNew.hItem = N;
  Msg.itemNew.lParam = N->Param;
  Msg.itemNew.state = N->State;
  (void)Cause;
  if (Notify(FWnd, TVN_ITEMEXPANDINGA, &Msg.hdr) != 0) return false;
  if (!Valid(N)) return false;
  if (Want) {
    N->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  } else {
    N->State &= ~TVIS_EXPANDED;
    // The selection never hides inside a closed branch.
    for (TNode* S = FSelected ? FSelected->Parent : nullptr; S; S = S->Parent)
      if (S == N) {
        Select(N, TVC_UNKNOWN);
        break;
      }
    if (Action & TVE_COLLAPSERESET) {
      N->State &= ~TVIS_EXPANDEDONCE;
      while (N->First) Delete(N->First);
    }
  }
  RowsChanged();
  Msg.itemNew.state = N->State;
  Notify(FWnd, TVN_ITEMEXPANDEDA, &Msg.hdr);
  return true;
}

bool TTreeView::Select(TNode* N, UINT Cause) {
  if (N == FSelected) return true;
  TNode* Old = FSelected;
  NMTREEVIEWA Msg;
  Msg.action = Cause;
  auto Fill = [](TVITEMA& I, TNode* X) {
    if (!X) return;
    I.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    I.hItem = X;
    I.lParam = X->Param;
    I.state = X->State;
  };
  Fill(Msg.itemOld, Old);
  Fill(Msg.itemNew, N);
  if (Notify(FWnd, TVN_SELCHANGINGA, &Msg.hdr) != 0) return false;
  if (N && !Valid(N)) return false;
  if (FSelected && Valid(FSelected)) FSelected->State &= ~TVIS_SELECTED;
  FSelected = N;
  if (N) {
    N->State |= TVIS_SELECTED;
    EnsureVisible(N);
  }
  Invalidate();
  Fill(Msg.itemOld, Old && Valid(Old) ? Old : nullptr);
  Fill(Msg.itemNew, N);
  Notify(FWnd, TVN_SELCHANGEDA, &Msg.hdr);
  return true;
}

const std::vector<TNode*>& TTreeView::Rows() {
  if (!FRowsDirty) return FRows;
  FRows.clear();
  // Iterative walk: a deep tree must not overflow the stack.
  TNode* N = FRoot.First;
  while (N) {
    FRows.push_back(N);
    if (N->First && (N->State & TVIS_EXPANDED)) {
      N = N->First;
      continue;
    }
    while (N && !N->Next) {
      N = N->Parent;
      if (N == &FRoot) N = nullptr;
    }
    if (N) N = N->Next;
  }
  FRowsDirty = false;
  UpdateScrollBar();
  return FRows;
}

void TTreeView::UpdateScrollBar() {
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Si.nMin = 0;
  Si.nMax = int(FRows.size()) - 1;
  Si.nPage = UINT(VisibleCount());
  const int MaxTop = std::max(0, int(FRows.size()) - VisibleCount());
  FTop = std::clamp(FTop, 0, MaxTop);
  Si.nPos = FTop;
  if (Style() & WS_VSCROLL || int(FRows.size()) > VisibleCount()) SetScrollInfo(FWnd, SB_VERT, &Si, TRUE);
}

void TTreeView::ScrollTo(int Top) {
  const int MaxTop = std::max(0, int(Rows().size()) - VisibleCount());
  Top = std::clamp(Top, 0, MaxTop);
  if (Top == FTop) return;
  // The edit would stay behind over another row.
  EndEdit(false);
  FTop = Top;
  SetScrollPos(FWnd, SB_VERT, FTop, TRUE);
  Invalidate();
}

void TTreeView::EnsureVisible(TNode* N) {
  bool Opened = false;
  for (TNode* P = N->Parent; P && P != &FRoot; P = P->Parent)
    if (!(P->State & TVIS_EXPANDED)) Opened |= Expand(P, TVE_EXPAND);
  (void)Opened;
  const int Row = RowOf(N);
  if (Row < 0) return;
  if (Row < FTop) ScrollTo(Row);
  else if (Row >= FTop + VisibleCount()) ScrollTo(Row - VisibleCount() + 1);
}

TRect TTreeView::RowRect(int Row) const {
  TRect C;
  GetClientRect(FWnd, &C);
  const int H = ItemHeight();
  return {0, (Row - FTop) * H, C.Right, (Row - FTop + 1) * H};
}

// Where the label of N starts: indent for its level (and the root lines),
// then the image.
TRect TTreeView::LabelRect(TNode* N, int Row, HDC Dc) {
  TRect R = RowRect(Row);
  const bool RootLines = Style() & TVS_LINESATROOT;
  int X = Indent() * (N->Level + (RootLines ? 1 : 0)) + 3;
  int Cx = 0, Cy = 0;
  if (FImages && ImageList_GetIconSize(FImages, &Cx, &Cy)) X += Cx + 3;
  R.Left = X;
  R.Right = X + TextWidth(Dc, TextOf(N)) + 4;
  return R;
}

void TTreeView::HitTest(TVHITTESTINFO& Info) {
  Info.hItem = nullptr;
  Info.flags = 0;
  TRect C;
  GetClientRect(FWnd, &C);
  if (Info.pt.Y < 0) Info.flags |= TVHT_ABOVE;
  if (Info.pt.Y >= C.Bottom) Info.flags |= TVHT_BELOW;
  if (Info.pt.X < 0) Info.flags |= TVHT_TOLEFT;
  if (Info.pt.X >= C.Right) Info.flags |= TVHT_TORIGHT;
  if (Info.flags) return;
  const auto& R = Rows();
  const int Row = FTop + Info.pt.Y / ItemHeight();
  if (Row < 0 || Row >= int(R.size())) {
    Info.flags = TVHT_NOWHERE;
    return;
  }
  TNode* N = R[size_t(Row)];
  Info.hItem = N;
  HDC Dc = GetDC(FWnd);
  SelectObject(Dc, ControlFont(FFont));
  const TRect L = LabelRect(N, Row, Dc);
  ReleaseDC(FWnd, Dc);
  const bool RootLines = Style() & TVS_LINESATROOT;
  const int ButtonRight = Indent() * (N->Level + (RootLines ? 1 : 0));
  int Cx = 0, Cy = 0;
  if (FImages) ImageList_GetIconSize(FImages, &Cx, &Cy);
  if (Info.pt.X >= L.Right) Info.flags = TVHT_ONITEMRIGHT;
  else if (Info.pt.X >= L.Left) Info.flags = TVHT_ONITEMLABEL;
  else if (FImages && Info.pt.X >= L.Left - Cx - 3) Info.flags = TVHT_ONITEMICON;
  else if (Info.pt.X >= ButtonRight - Indent() && (N->Level > 0 || RootLines) && (Style() & TVS_HASBUTTONS) &&
           HasChildren(N))
    Info.flags = TVHT_ONITEMBUTTON;
  else Info.flags = TVHT_ONITEMINDENT;
}

bool TTreeView::GetItem(TVITEMA& I) {
  TNode* N = Resolve(I.hItem);
  if (!N) return false;
  if (I.mask & TVIF_TEXT) {
    if (N->TextCallback) {
      I.pszText = LPSTR_TEXTCALLBACKA;
    } else if (I.pszText && I.cchTextMax > 0) {
      const size_t Len = std::min(N->Text.size(), size_t(I.cchTextMax - 1));
      std::copy_n(N->Text.data(), Len, I.pszText);
      I.pszText[Len] = 0;
    }
  }
  if (I.mask & TVIF_IMAGE) I.iImage = N->Image;
  if (I.mask & TVIF_SELECTEDIMAGE) I.iSelectedImage = N->SelImage;
  if (I.mask & TVIF_CHILDREN) I.cChildren = N->Children == I_CHILDRENCALLBACK ? I_CHILDRENCALLBACK
                                                                            : (N->First ? 1 : N->Children);
  if (I.mask & TVIF_PARAM) I.lParam = N->Param;
  if (I.mask & TVIF_STATE) I.state = N->State & (I.stateMask ? I.stateMask : ~0u);
  return true;
}

bool TTreeView::SetItem(const TVITEMA& I) {
  TNode* N = Resolve(I.hItem);
  if (!N) return false;
  if (I.mask & TVIF_TEXT) {
    N->TextCallback = I.pszText == LPSTR_TEXTCALLBACKA;
    N->Text = (!N->TextCallback && I.pszText) ? I.pszText : "";
  }
  if (I.mask & TVIF_IMAGE) N->Image = I.iImage;
  if (I.mask & TVIF_SELECTEDIMAGE) N->SelImage = I.iSelectedImage;
  if (I.mask & TVIF_CHILDREN) N->Children = I.cChildren;
  if (I.mask & TVIF_PARAM) N->Param = I.lParam;
  if (I.mask & TVIF_STATE) {
    // Selection and expansion have their own calls (with notifications).
    const UINT Mask = I.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED);
    N->State = (N->State & ~Mask) | (I.state & Mask);
    if ((I.stateMask & TVIS_EXPANDED) && bool(I.state & TVIS_EXPANDED) != bool(N->State & TVIS_EXPANDED)) {
      N->State ^= TVIS_EXPANDED;
      FRowsDirty = true;
    }
  }
  Invalidate();
  return true;
}

HTREEITEM TTreeView::Next(WPARAM Code, TNode* From) {
  switch (Code) {
    case TVGN_ROOT: return FRoot.First;
    case TVGN_CARET: return FSelected;
    case TVGN_DROPHILITE: return FDropHilite;
    case TVGN_FIRSTVISIBLE: {
      const auto& R = Rows();
      return FTop < int(R.size()) ? R[size_t(FTop)] : nullptr;
    }
    case TVGN_LASTVISIBLE: {
      const auto& R = Rows();
      return R.empty() ? nullptr : R.back();
    }
  }
  if (!From) return nullptr;
  switch (Code) {
    case TVGN_NEXT: return From->Next;
    case TVGN_PREVIOUS: return From->Prev;
    case TVGN_PARENT: return From->Parent == &FRoot ? nullptr : From->Parent;
    case TVGN_CHILD: return From->First;
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const int Row = RowOf(From);
      if (Row < 0) return nullptr;
      const int To = Row + (Code == TVGN_NEXTVISIBLE ? 1 : -1);
      const auto& R = Rows();
      return To >= 0 && To < int(R.size()) ? R[size_t(To)] : nullptr;
    }
  }
  return nullptr;
}

bool TTreeView::SortChildren(TNode* Parent, bool Recurse, PFNTVCOMPARE Compare, LPARAM Data) {
  std::vector<TNode*> Kids;
  for (TNode* C = Parent->First; C; C = C->Next) Kids.push_back(C);
  if (Compare) {
    // A callback that raises leaves the order untouched: sort a copy.
    std::stable_sort(Kids.begin(), Kids.end(),
                     [&](TNode* A, TNode* B) { return Compare(A->Param, B->Param, Data) < 0; });
  } else {
    std::vector<std::pair<std::string, TNode*>> Keyed;
    for (TNode* K : Kids) Keyed.emplace_back(TextOf(K), K);
    std::stable_sort(Keyed.begin(), Keyed.end(),
                     [](const auto& A, const auto& B) { return AnsiCompareText(A.first, B.first) < 0; });
    for (size_t i = 0; i < Kids.size(); ++i) Kids[i] = Keyed[i].second;
  }
  // Children the callback deleted are gone from the tree already.
  std::erase_if(Kids, [&](TNode* K) { return !Valid(K) || K->Parent != Parent; });
  Parent->First = Parent->Last = nullptr;
  TNode* Prev = nullptr;
  for (TNode* K : Kids) {
    K->Prev = Prev;
    K->Next = nullptr;
    (Prev ? Prev->Next : Parent->First) = K;
    Prev = K;
  }
  Parent->Last = Prev;
  if (Recurse)
    for (TNode* K : Kids) SortChildren(K, true, Compare, Data);
  RowsChanged();
  return true;
}

void TTreeView::Paint(HDC Dc, const TRect& Update) {
  TRect C;
  GetClientRect(FWnd, &C);
  FillRect(Dc, &C, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ OldFont = SelectObject(Dc, ControlFont(FFont));
  const auto& R = Rows();
  const int H = ItemHeight();
  const int First = FTop + std::max(0, Update.Top / H);
  const int Last = std::min(int(R.size()) - 1, FTop + (Update.Bottom + H - 1) / H);
  const DWORD S = Style();
  const bool RootLines = S & TVS_LINESATROOT;
  HPEN LinePen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_GRAYTEXT));
  int Cx = 0, Cy = 0;
  if (FImages) ImageList_GetIconSize(FImages, &Cx, &Cy);
  for (int Row = First; Row <= Last; ++Row) {
    TNode* N = R[size_t(Row)];
    const TRect RR = RowRect(Row);
    const int Mid = (RR.Top + RR.Bottom) / 2;
    const int Depth = N->Level + (RootLines ? 1 : 0);
    if (S & TVS_HASLINES) {
      HGDIOBJ OldPen = SelectObject(Dc, LinePen);
      // The lines of the ancestors that have more siblings below.
      int Level = N->Level - 1;
      for (TNode* A = N->Parent; A && A != &FRoot; A = A->Parent, --Level) {
        const int X = Indent() * (Level + (RootLines ? 1 : 0)) + Indent() / 2;
        if (A->Next) {
          MoveToEx(Dc, X, RR.Top, nullptr);
          LineTo(Dc, X, RR.Bottom);
        }
      }
      if (Depth > 0) {
        const int X = Indent() * (Depth - 1) + Indent() / 2;
        const bool Above = N->Prev || N->Parent != &FRoot;
        MoveToEx(Dc, X, Above ? RR.Top : Mid, nullptr);
        LineTo(Dc, X, N->Next ? RR.Bottom : Mid + 1);
        MoveToEx(Dc, X, Mid, nullptr);
        LineTo(Dc, X + Indent() / 2 + 1, Mid);
      }
      SelectObject(Dc, OldPen);
    }
    if ((S & TVS_HASBUTTONS) && Depth > 0 && HasChildren(N)) {
      const int X = Indent() * (Depth - 1) + Indent() / 2;
      TRect B{X - 4, Mid - 4, X + 5, Mid + 5};
      FillRect(Dc, &B, GetSysColorBrush(COLOR_WINDOW));
      FrameRect(Dc, &B, GetSysColorBrush(COLOR_GRAYTEXT));
      TRect Dash{X - 2, Mid, X + 3, Mid + 1};
      FillRect(Dc, &Dash, GetSysColorBrush(COLOR_WINDOWTEXT));
      if (!(N->State & TVIS_EXPANDED)) {
        TRect Bar{X, Mid - 2, X + 1, Mid + 3};
        FillRect(Dc, &Bar, GetSysColorBrush(COLOR_WINDOWTEXT));
      }
    }
    TRect L = LabelRect(N, Row, Dc);
    const bool Sel = N == FSelected;
    if (FImages) {
      const int I = ImageOf(N, Sel);
      if (I >= 0) ImageList_Draw(FImages, I, Dc, L.Left - Cx - 2, RR.Top + (RR.Height() - Cy) / 2, ILD_TRANSPARENT);
    }
    TItemLook Look = TItemLook::Normal;
    if (N == FDropHilite || (Sel && FFocused && !FDropHilite)) Look = TItemLook::Selected;
    else if (Sel && (S & TVS_SHOWSELALWAYS) && !FDropHilite) Look = TItemLook::SelectedInactive;
    const std::string Text = TextOf(N);
    HGDIOBJ Bold = nullptr;
    HFONT BoldFont = nullptr;
    if (N->State & TVIS_BOLD) {
      LOGFONTA Lf{};
      GetObjectA(ControlFont(FFont), sizeof Lf, &Lf);
      Lf.lfWeight = FW_BOLD;
      BoldFont = CreateFontIndirectA(&Lf);
      Bold = SelectObject(Dc, BoldFont);
    }
    L.Right = C.Right;
    DrawLabel(Dc, Text, L, Look, Sel && FFocused);
    if (BoldFont) {
      SelectObject(Dc, Bold);
      DeleteObject(BoldFont);
    }
  }
  DeleteObject(LinePen);
  SelectObject(Dc, OldFont);
}

void TTreeView::KeyDown(WORD Key) {
  NMTVKEYDOWN K;
  K.wVKey = Key;
  Notify(FWnd, TVN_KEYDOWN, &K.hdr);
  const auto& R = Rows();
  if (R.empty()) return;
  int Row = FSelected ? RowOf(FSelected) : -1;
  auto Go = [&](int To) {
    To = std::clamp(To, 0, int(Rows().size()) - 1);
    Select(Rows()[size_t(To)], TVC_BYKEYBOARD);
  };
  switch (Key) {
    case VK_UP: Go(Row <= 0 ? 0 : Row - 1); break;
    case VK_DOWN: Go(Row + 1); break;
    case VK_HOME: Go(0); break;
    case VK_END: Go(int(R.size()) - 1); break;
    case VK_PRIOR: Go(Row - std::max(1, VisibleCount() - 1)); break;
    case VK_NEXT: Go(Row + std::max(1, VisibleCount() - 1)); break;
    case VK_LEFT:
      if (!FSelected) break;
      if (FSelected->State & TVIS_EXPANDED) Expand(FSelected, TVE_COLLAPSE, TVC_BYKEYBOARD);
      else if (FSelected->Parent != &FRoot) Select(FSelected->Parent, TVC_BYKEYBOARD);
      break;
    case VK_RIGHT:
      if (!FSelected) break;
      if (!(FSelected->State & TVIS_EXPANDED)) Expand(FSelected, TVE_EXPAND, TVC_BYKEYBOARD);
      else if (FSelected->First) Select(FSelected->First, TVC_BYKEYBOARD);
      break;
    case VK_ADD:
      if (FSelected) Expand(FSelected, TVE_EXPAND, TVC_BYKEYBOARD);
      break;
    case VK_SUBTRACT:
      if (FSelected) Expand(FSelected, TVE_COLLAPSE, TVC_BYKEYBOARD);
      break;
    case VK_RETURN: {
      NMHDR H;
      Notify(FWnd, NM_RETURN, &H);
      break;
    }
    default: break;
  }
}

void TTreeView::LButtonDown(TPoint P, bool Double) {
  const bool HadFocus = FFocused;
  KillTimer(FWnd, ClickEditTimer);
  FClickEdit = nullptr;
  if (GetFocus() != FWnd) SetFocus(FWnd);
  TVHITTESTINFO Hit;
  Hit.pt = P;
  HitTest(Hit);
  TNode* N = Resolve(Hit.hItem);
  if (!N) return;
  if (Hit.flags & TVHT_ONITEMBUTTON) {
    Expand(N, TVE_TOGGLE, TVC_BYMOUSE);
    return;
  }
  if (Double) {
    NMHDR H;
    if (Notify(FWnd, NM_DBLCLK, &H) == 0 && Valid(N)) Expand(N, TVE_TOGGLE, TVC_BYMOUSE);
    return;
  }
  if (!(Hit.flags & TVHT_ONITEM)) return;
  if (HadFocus && N == FSelected && (Hit.flags & TVHT_ONITEMLABEL) && (Style() & TVS_EDITLABELS)) FClickEdit = N;
  FPressed = N;
  FPressPt = P;
  FPressRight = false;
  SetCapture(FWnd);
  Select(N, TVC_BYMOUSE);
}

void TTreeView::FillDisp(TVITEMA& I, TNode* N, std::string& Text) {
  I.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_TEXT;
  I.hItem = N;
  I.lParam = N->Param;
  I.state = N->State;
  I.pszText = Text.data();
  I.cchTextMax = int(Text.size() + 1);
}

HWND TTreeView::EditLabel(TNode* N) {
  EndEdit(false);
  if (!N || !Valid(N)) return nullptr;
  EnsureVisible(N);
  const int Row = RowOf(N);
  if (Row < 0) return nullptr;
  HDC Dc = GetDC(FWnd);
  SelectObject(Dc, ControlFont(FFont));
  TRect Box = LabelRect(N, Row, Dc);
  ReleaseDC(FWnd, Dc);
  std::string Text = TextOf(N);
  return FLabel.Open(
      FWnd, ControlFont(FFont), Text, Box, FEditItem, N,
      [&] {
        NMTVDISPINFOA D;
        FillDisp(D.item, N, Text);
        return Notify(FWnd, TVN_BEGINLABELEDITA, &D.hdr) != 0;
      },
      [&] { return Valid(N); });
}

bool TTreeView::EndEdit(bool Cancel) {
  TNode* N = std::exchange(FEditItem, nullptr);
  const bool Ran = FLabel.Finish(FWnd, [&](std::string& Text) {
    if (!Valid(N)) return;
    NMTVDISPINFOA D;
    FillDisp(D.item, N, Text);
    if (Cancel) D.item.pszText = nullptr;
    const bool Took = Notify(FWnd, TVN_ENDLABELEDITA, &D.hdr) != 0;
    if (!Cancel && Took && Valid(N) && !N->TextCallback) N->Text = Text;
  });
  if (Ran) Invalidate();
  return Ran;
}

LRESULT TTreeView::Handle(UINT Msg, WPARAM W, LPARAM L) {
  switch (Msg) {
    case TVM_INSERTITEMA:
      return L ? LRESULT(Insert(*reinterpret_cast<const TVINSERTSTRUCTA*>(L))) : 0;
    case TVM_DELETEITEM: return Delete(reinterpret_cast<HTREEITEM>(L));
    case TVM_EXPAND: {
      TNode* N = Resolve(reinterpret_cast<HTREEITEM>(L));
      return N ? Expand(N, W) : FALSE;
    }
    case TVM_GETITEMRECT: {
      if (!L) return FALSE;
      auto* R = reinterpret_cast<TRect*>(L);
      HTREEITEM Item;
      std::memcpy(&Item, R, sizeof Item);
      TNode* N = Resolve(Item);
      if (!N) return FALSE;
      const int Row = RowOf(N);
      if (Row < 0) return FALSE;
      if (W) {
        HDC Dc = GetDC(FWnd);
        SelectObject(Dc, ControlFont(FFont));
        *R = LabelRect(N, Row, Dc);
        ReleaseDC(FWnd, Dc);
      } else {
        *R = RowRect(Row);
      }
      return TRUE;
    }
    case TVM_GETCOUNT: return LRESULT(FLive.size());
    case TVM_GETINDENT: return Indent();
    case TVM_SETINDENT:
      FIndent = std::max(int(W), 0);
      Invalidate();
      return 0;
    case TVM_GETIMAGELIST: return LRESULT(W == TVSIL_STATE ? FStateImages : FImages);
    case TVM_SETIMAGELIST: {
      HIMAGELIST& Slot = W == TVSIL_STATE ? FStateImages : FImages;
      HIMAGELIST Old = Slot;
      Slot = reinterpret_cast<HIMAGELIST>(L);
      FRowsDirty = true;
      Invalidate();
      return LRESULT(Old);
    }
    case TVM_GETNEXTITEM: {
      TNode* From = L ? Resolve(reinterpret_cast<HTREEITEM>(L)) : nullptr;
      if (L && !From && W != TVGN_ROOT && W != TVGN_CARET && W != TVGN_DROPHILITE && W != TVGN_FIRSTVISIBLE)
        return 0;
      return LRESULT(Next(W, From));
    }
    case TVM_SELECTITEM: {
      TNode* N = L ? Resolve(reinterpret_cast<HTREEITEM>(L)) : nullptr;
      if (L && !N) return FALSE;
      switch (W & 0xFF) {
        case TVGN_CARET: return Select(N, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
          FDropHilite = N;
          Invalidate();
          return TRUE;
        case TVGN_FIRSTVISIBLE:
          if (!N) return FALSE;
          EnsureVisible(N);
          ScrollTo(RowOf(N));
          return TRUE;
      }
      return FALSE;
    }
    case TVM_GETITEMA: return L ? GetItem(*reinterpret_cast<TVITEMA*>(L)) : FALSE;
    case TVM_SETITEMA: return L ? SetItem(*reinterpret_cast<const TVITEMA*>(L)) : FALSE;
    case TVM_GETVISIBLECOUNT: return VisibleCount();
    case TVM_HITTEST: {
      if (!L) return 0;
      auto& Info = *reinterpret_cast<TVHITTESTINFO*>(L);
      HitTest(Info);
      return LRESULT(Info.hItem);
    }
    case TVM_SORTCHILDREN: {
      TNode* P = (!L || reinterpret_cast<HTREEITEM>(L) == TVI_ROOT) ? &FRoot : Resolve(reinterpret_cast<HTREEITEM>(L));
      return P ? SortChildren(P, W != 0, nullptr, 0) : FALSE;
    }
    case TVM_SORTCHILDRENCB: {
      if (!L) return FALSE;
      const auto& Cb = *reinterpret_cast<const TVSORTCB*>(L);
      TNode* P = (!Cb.hParent || Cb.hParent == TVI_ROOT) ? &FRoot : Resolve(Cb.hParent);
      if (!P || !Cb.lpfnCompare) return FALSE;
      return SortChildren(P, W != 0, Cb.lpfnCompare, Cb.lParam);
    }
    case TVM_ENSUREVISIBLE: {
      TNode* N = Resolve(reinterpret_cast<HTREEITEM>(L));
      if (!N) return FALSE;
      EnsureVisible(N);
      return TRUE;
    }
    case TVM_SETITEMHEIGHT: {
      const int Old = ItemHeight();
      FItemHeight = int(W) == -1 ? 0 : std::max(1, int(W));
      RowsChanged();
      return Old;
    }
    case TVM_GETITEMHEIGHT: return ItemHeight();
    case TVM_EDITLABELA: return LRESULT(EditLabel(Resolve(reinterpret_cast<HTREEITEM>(L))));
    case TVM_GETEDITCONTROL: return LRESULT(FLabel.Wnd());
    case TVM_ENDEDITLABELNOW: return EndEdit(W != 0);
    case LabelEditEndMessage:
    case WM_COMMAND:
      if (FLabel.Route(Msg, W, L, [this](bool Cancel) { EndEdit(Cancel); })) return 0;
      break;
    case WM_TIMER:
      if (W == ClickEditTimer) {
        KillTimer(FWnd, ClickEditTimer);
        TNode* N = FClickEdit;
        FClickEdit = nullptr;
        if (N && Valid(N) && N == FSelected && FFocused) EditLabel(N);
        return 0;
      }
      break;

    case WM_SETFONT:
      FFont = reinterpret_cast<HFONT>(W);
      RowsChanged();
      return 0;
    case WM_GETFONT: return LRESULT(FFont);
    case WM_SETREDRAW:
      FRedraw = W != 0;
      if (FRedraw) RowsChanged();
      return 0;
    case WM_GETDLGCODE:
      // While a label is edited every key belongs to the edit.
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (FLabel.Wnd() ? DLGC_WANTALLKEYS : 0);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const TControlPaintDc Pd(FWnd, W);
      TRect Update;
      if (const TRect* Area = Pd.PaintArea()) Update = *Area;
      else GetClientRect(FWnd, &Update);
      Paint(Pd.Dc(), Update);
      return 0;
    }
    case WM_DESTROY:
      KillTimer(FWnd, ClickEditTimer);
      FClickEdit = nullptr;
      FLabel.Release();
      FEditItem = nullptr;
      break;
    case WM_SIZE:
      FRowsDirty = true;
      Invalidate();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      FFocused = Msg == WM_SETFOCUS;
      Invalidate();
      NMHDR H;
      Notify(FWnd, FFocused ? NM_SETFOCUS : NM_KILLFOCUS, &H);
      return 0;
    }
    case WM_KEYDOWN: KeyDown(WORD(W)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      LButtonDown({GET_X_LPARAM(L), GET_Y_LPARAM(L)}, Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN: {
      TVHITTESTINFO Hit;
      Hit.pt = {GET_X_LPARAM(L), GET_Y_LPARAM(L)};
      HitTest(Hit);
      if (Hit.hItem && (Hit.flags & TVHT_ONITEM)) {
        FPressed = Hit.hItem;
        FPressPt = Hit.pt;
        FPressRight = true;
        SetCapture(FWnd);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (FPressed && GetCapture() == FWnd && BeyondDragThreshold(FPressPt, {GET_X_LPARAM(L), GET_Y_LPARAM(L)})) {
        TNode* N = FPressed;
        FPressed = nullptr;
        FClickEdit = nullptr;
        ReleaseCapture();
        if (!(Style() & TVS_DISABLEDRAGDROP) && Valid(N))
          SendNotify(FPressRight ? TVN_BEGINRDRAGA : TVN_BEGINDRAGA, nullptr, N, 0, FPressPt);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const bool Was = FPressed != nullptr;
      FPressed = nullptr;
      if (GetCapture() == FWnd) ReleaseCapture();
      if (Msg == WM_LBUTTONUP && Was && FClickEdit) SetTimer(FWnd, ClickEditTimer, GetDoubleClickTime(), nullptr);
      else FClickEdit = nullptr;
      NMHDR H;
      if (Was || Msg == WM_RBUTTONUP) {
        if (Notify(FWnd, Msg == WM_LBUTTONUP ? NM_CLICK : NM_RCLICK, &H) == 0 && Msg == WM_RBUTTONUP) {
          TPoint S{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
          ClientToScreen(FWnd, &S);
          SendMessageA(FWnd, WM_CONTEXTMENU, WPARAM(FWnd), MAKELPARAM(S.X, S.Y));
        }
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      FPressed = nullptr;
      return 0;
    case WM_VSCROLL: {
      SCROLLINFO Si;
      Si.fMask = SIF_ALL;
      GetScrollInfo(FWnd, SB_VERT, &Si);
      int Top = FTop;
      switch (LOWORD(W)) {
        case SB_LINEUP: --Top; break;
        case SB_LINEDOWN: ++Top; break;
        case SB_PAGEUP: Top -= VisibleCount(); break;
        case SB_PAGEDOWN: Top += VisibleCount(); break;
        case SB_TOP: Top = 0; break;
        case SB_BOTTOM: Top = int(Rows().size()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: Top = Si.nTrackPos; break;
      }
      ScrollTo(Top);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(FTop - 3 * GET_WHEEL_DELTA_WPARAM(W) / 120);
      return 0;
  }
  return DefWindowProcA(FWnd, Msg, W, L);
}

constexpr const char* StateProp = "SxTreeView";

}  // namespace

LRESULT TreeViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* T = ControlState<TTreeView>(Wnd, Msg, StateProp);
  return T ? T->Handle(Msg, W, L) : DefWindowProcA(Wnd, Msg, W, L);
}

}  // namespace commctrl
