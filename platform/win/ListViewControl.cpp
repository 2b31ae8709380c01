// ListViewControl.cpp — the "SysListView32" window class: report, list,
// small-icon and large-icon views over one array of items.
//
// Items live in a vector of owned records, so inserting at the end is
// amortised constant and a sorted insert is a binary search plus one move
// of pointers. Every view places item i by arithmetic (rows, columns or a
// grid of cells), so painting and hit testing touch only what is on screen.
// The report view draws its column header itself, in the header's classic
// look; a click on it notifies LVN_COLUMNCLICK.
#include <algorithm>
#include <memory>
#include <numeric>
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

namespace commctrl {
namespace {

struct TItem {
  std::string Text;
  bool TextCallback = false;
  std::vector<std::string> Sub;  // sub-item 1.. texts
  int Image = 0;
  UINT State = 0;
  LPARAM Param = 0;
};

struct TColumn {
  std::string Text;
  int Width = 60;
  int Fmt = LVCFMT_LEFT;
  int SubItem = 0;
};

class TListView {
public:
  explicit TListView(HWND Wnd) : FWnd(Wnd) {}
  ~TListView() {
    for (TItem* I : FItems) delete I;
  }
  TListView(const TListView&) = delete;
  TListView& operator=(const TListView&) = delete;
  LRESULT Handle(UINT Msg, WPARAM W, LPARAM L);

private:
  DWORD Style() const { return DWORD(GetWindowLongPtrA(FWnd, GWL_STYLE)); }
  DWORD View() const { return Style() & LVS_TYPEMASK; }
  int Count() const { return int(FItems.size()); }
  bool InRange(int I) const { return I >= 0 && I < Count(); }
  TRect Client() const {
    TRect R;
    GetClientRect(FWnd, &R);
    return R;
  }
  int RowHeight() const {
    int H = FontHeight(ControlFont(FFont)) + 3;
    int Cx = 0, Cy = 0;
    if (FSmall && ImageList_GetIconSize(FSmall, &Cx, &Cy)) H = std::max(H, Cy + 1);
    return std::max(H, 16);
  }
  int HeaderHeight() const {
    if (View() != LVS_REPORT || (Style() & LVS_NOCOLUMNHEADER)) return 0;
    return FontHeight(ControlFont(FFont)) + 7;
  }
  // The cell of one item in icon views, and the column width in list view.
  TSize CellSize() const {
    switch (View()) {
      case LVS_ICON: return {76, 32 + 6 + 2 * FontHeight(ControlFont(FFont)) + 4};
      case LVS_SMALLICON: return {FListWidth + 20, RowHeight()};
      case LVS_LIST: return {FListWidth, RowHeight()};
      default: return {0, RowHeight()};
    }
  }
  // Items per row (icon views) or per column (list view).
  int PerLine() const;
  int TotalWidth() const {
    int W = 0;
    for (const TColumn& C : FColumns) W += C.Width;
    return W;
  }
  int PageCount() const;
  TRect ItemRect(int I) const;  // bounds in client coordinates
  int ItemAt(TPoint P) const;

  int Insert(const LVITEMA& I);
  bool Delete(int I);
  bool DeleteAll();
  bool SetItem(const LVITEMA& I);
  bool GetItem(LVITEMA& I);
  bool SetState(int I, UINT State, UINT Mask);
  void SetStateAll(UINT State, UINT Mask);
  int NextItem(int Start, UINT Flags) const;
  int Find(int Start, const LVFINDINFOA& F);
  bool Sort(PFNLVCOMPARE Compare, LPARAM Data);
  void EnsureVisible(int I);
  void ScrollBy(int Dx, int Dy);
  void UpdateScrollBars();
  std::string TextOf(int I, int Sub);
  // The item's image, from the parent for I_IMAGECALLBACK.
  int ImageOf(int I);
  void Paint(HDC Dc, const TRect& Update);
  void PaintHeader(HDC Dc);
  void KeyDown(WORD Key);
  void ButtonDown(TPoint P, bool Right, bool Double);
  void ClickSelect(int I, bool Shift, bool Ctrl);
  // In-place label editing, as in the tree view.
  TRect LabelBox(int I);
  HWND EditLabel(int I);
  bool EndEdit(bool Cancel);
  int IndexOf(const TItem* It) const {
    auto Found = std::find(FItems.begin(), FItems.end(), It);
    return Found == FItems.end() ? -1 : int(Found - FItems.begin());
  }
  void FillDisp(LVITEMA& Out, int I, std::string& Text);
  void NotifyItem(UINT Code, int I, UINT Old = 0, UINT New = 0, UINT Changed = 0, TPoint Pt = {});
  void Changed() {
    FScrollDirty = true;
    InvalidateRect(FWnd, nullptr, TRUE);
  }
  void InvalidateItem(int I) {
    // Redraw off (or hidden): nothing to repaint, and measuring the item
    // for each change of a long fill costs more than the fill.
    if (!InRange(I) || !IsWindowVisible(FWnd)) return;
    TRect R = ItemRect(I);
    InvalidateRect(FWnd, &R, TRUE);
  }

  HWND FWnd;
  // Owned. Plain pointers: an insert in the middle is one memmove.
  std::vector<TItem*> FItems;
  std::vector<TColumn> FColumns;
  HIMAGELIST FNormal = nullptr, FSmall = nullptr, FState = nullptr;
  HFONT FFont = nullptr;
  DWORD FExStyle = 0;
  int FListWidth = 120;
  int FSelCount = 0;
  int FFocus = -1;
  int FMark = -1;  // the anchor of Shift selection
  int FTopRow = 0;   // first row (report, icon views) or first column (list)
  int FScrollX = 0;  // report view: horizontal offset in pixels
  bool FFocused = false;
  bool FScrollDirty = true;
  // A press on an item that may turn into a drag.
  int FPressed = -1;
  TPoint FPressPt;
  bool FPressRight = false;
  TLabelEdit FLabel;
  TItem* FEditItem = nullptr;
  // A second, slow click on the focused, selected item's label.
  TItem* FClickEdit = nullptr;
  static constexpr UINT_PTR ClickEditTimer = 0x5845;
};

int TListView::PerLine() const {
  const TRect C = Client();
  const TSize S = CellSize();
  if (View() == LVS_LIST) return std::max(1, C.Height() / S.cy);
  if (View() == LVS_REPORT) return 1;
  return std::max(1, C.Width() / S.cx);
}

int TListView::PageCount() const {
  const TRect C = Client();
  const TSize S = CellSize();
  if (View() == LVS_LIST) return std::max(1, C.Width() / S.cx);
  return std::max(1, (C.Height() - HeaderHeight()) / S.cy);
}

TRect TListView::ItemRect(int I) const {
  const TSize S = CellSize();
  const int Head = HeaderHeight();
  switch (View()) {
    case LVS_REPORT: {
      const int Y = Head + (I - FTopRow) * S.cy;
      return {-FScrollX, Y, std::max(TotalWidth(), Client().Width()) - FScrollX, Y + S.cy};
    }
    case LVS_LIST: {
      const int Per = PerLine();
      const int Col = I / Per - FTopRow, Row = I % Per;
      return {Col * S.cx, Row * S.cy, (Col + 1) * S.cx, (Row + 1) * S.cy};
    }
    default: {
      const int Per = PerLine();
      const int Row = I / Per - FTopRow, Col = I % Per;
      return {Col * S.cx, Row * S.cy, (Col + 1) * S.cx, (Row + 1) * S.cy};
    }
  }
}

int TListView::ItemAt(TPoint P) const {
  const TRect C = Client();
  if (P.X < 0 || P.Y < HeaderHeight() || P.X >= C.Right || P.Y >= C.Bottom) return -1;
  const TSize S = CellSize();
  int I = -1;
  switch (View()) {
    case LVS_REPORT:
      if (P.X + FScrollX >= std::max(TotalWidth(), C.Width())) return -1;
      I = FTopRow + (P.Y - HeaderHeight()) / S.cy;
      break;
    case LVS_LIST: {
      const int Row = P.Y / S.cy;
      if (Row >= PerLine()) return -1;
      I = (FTopRow + P.X / S.cx) * PerLine() + Row;
      break;
    }
    default: {
      const int Col = P.X / S.cx;
      if (Col >= PerLine()) return -1;
      I = (FTopRow + P.Y / S.cy) * PerLine() + Col;
    }
  }
  return InRange(I) ? I : -1;
}

void TListView::NotifyItem(UINT Code, int I, UINT Old, UINT New, UINT Changed, TPoint Pt) {
  NMLISTVIEW N;
  N.iItem = I;
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = Changed;
  N.ptAction = Pt;
  N.lParam = InRange(I) ? FItems[size_t(I)]->Param : 0;
  Notify(FWnd, Code, &N.hdr);
}

int TListView::Insert(const LVITEMA& In) {
  auto Item = std::make_unique<TItem>();
  if (In.mask & LVIF_TEXT) {
    if (In.pszText == LPSTR_TEXTCALLBACKA) Item->TextCallback = true;
    else if (In.pszText) Item->Text = In.pszText;
  }
  if (In.mask & LVIF_IMAGE) Item->Image = In.iImage;
  if (In.mask & LVIF_PARAM) Item->Param = In.lParam;
  if (In.mask & LVIF_STATE) Item->State = In.state & In.stateMask & ~UINT(LVIS_SELECTED | LVIS_FOCUSED);
  int At = std::clamp(In.iItem, 0, Count());
  const DWORD S = Style();
  if ((S & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !Item->TextCallback) {
    const bool Down = S & LVS_SORTDESCENDING;
    auto Less = [&](const TItem* A, const std::string& Key) {
      const int C = AnsiCompareText(A->Text, Key);
      return Down ? C > 0 : C <= 0;
    };
    At = int(std::partition_point(FItems.begin(), FItems.end(), [&](const auto& A) { return Less(A, Item->Text); }) -
             FItems.begin());
  }
  FItems.insert(FItems.begin() + At, Item.get());
  Item.release();
  if (FFocus >= At) ++FFocus;
  if (FMark >= At) ++FMark;
  NotifyItem(LVN_INSERTITEM, At);
  Changed();
  return At;
}

bool TListView::Delete(int I) {
  if (!InRange(I)) return false;
  TItem* Doomed = FItems[size_t(I)];
  if (Doomed == FEditItem) EndEdit(true);
  if (Doomed == FClickEdit) FClickEdit = nullptr;
  NotifyItem(LVN_DELETEITEM, I);
  // The handler may have deleted or inserted items: find this one again.
  auto It = std::find(FItems.begin(), FItems.end(), Doomed);
  if (It == FItems.end()) return true;
  I = int(It - FItems.begin());
  if (Doomed->State & LVIS_SELECTED) --FSelCount;
  FItems.erase(It);
  delete Doomed;
  if (FFocus == I) FFocus = -1;
  else if (FFocus > I) --FFocus;
  if (FMark == I) FMark = -1;
  else if (FMark > I) --FMark;
  Changed();
  return true;
}

bool TListView::DeleteAll() {
  EndEdit(true);
  FClickEdit = nullptr;
  // Detach first: the handlers see an empty list and may fill it again.
  std::vector<std::unique_ptr<TItem>> Old;
  for (TItem* I : FItems) Old.emplace_back(I);
  FItems.clear();
  FSelCount = 0;
  FFocus = FMark = FPressed = -1;
  FTopRow = FScrollX = 0;
  Changed();
  NMLISTVIEW All;
  All.iItem = -1;
  const bool Each = Notify(FWnd, LVN_DELETEALLITEMS, &All.hdr) == 0;
  if (Each)
    for (const auto& P : Old) {
      NMLISTVIEW N;
      N.iItem = -1;
      N.lParam = P->Param;
      Notify(FWnd, LVN_DELETEITEM, &N.hdr);
    }
  return true;
}

int TListView::ImageOf(int I) {
  const TItem& It = *FItems[size_t(I)];
  if (It.Image != I_IMAGECALLBACK) return It.Image;
  // The parent keeps the image: ask it (an answer of -1 draws none).
  NMLVDISPINFOA D;
  D.item.mask = LVIF_IMAGE;
  D.item.iItem = I;
  D.item.iImage = I_IMAGECALLBACK;
  D.item.lParam = It.Param;
  Notify(FWnd, LVN_GETDISPINFOA, &D.hdr);
  return D.item.iImage;
}

std::string TListView::TextOf(int I, int Sub) {
  TItem& It = *FItems[size_t(I)];
  // An item whose text comes from the parent gives its sub-items the same way.
  if (!It.TextCallback) {
    if (Sub <= 0) return It.Text;
    return size_t(Sub) <= It.Sub.size() ? It.Sub[size_t(Sub - 1)] : std::string();
  }
  char Buffer[1024] = "";
  NMLVDISPINFOA D;
  D.item.mask = LVIF_TEXT;
  D.item.iItem = I;
  D.item.iSubItem = std::max(Sub, 0);
  D.item.lParam = It.Param;
  D.item.pszText = Buffer;
  D.item.cchTextMax = sizeof Buffer;
  Notify(FWnd, LVN_GETDISPINFOA, &D.hdr);
  if (!D.item.pszText) return {};
  if (D.item.pszText == Buffer) Buffer[sizeof Buffer - 1] = 0;
  return D.item.pszText;
}

bool TListView::SetItem(const LVITEMA& In) {
  if (!InRange(In.iItem)) return false;
  TItem& It = *FItems[size_t(In.iItem)];
  if (In.mask & LVIF_TEXT) {
    const bool Callback = In.pszText == LPSTR_TEXTCALLBACKA;
    const std::string T = (In.pszText && !Callback) ? In.pszText : "";
    if (In.iSubItem <= 0) {
      It.TextCallback = Callback;
      It.Text = T;
    } else {
      if (It.Sub.size() < size_t(In.iSubItem)) It.Sub.resize(size_t(In.iSubItem));
      It.Sub[size_t(In.iSubItem - 1)] = T;
    }
  }
  if (In.iSubItem > 0) {
    InvalidateItem(In.iItem);
    return true;
  }
  if (In.mask & LVIF_IMAGE) It.Image = In.iImage;
  if (In.mask & LVIF_PARAM) It.Param = In.lParam;
  if (In.mask & LVIF_STATE) SetState(In.iItem, In.state, In.stateMask);
  InvalidateItem(In.iItem);
  return true;
}

bool TListView::GetItem(LVITEMA& Out) {
  if (!InRange(Out.iItem)) return false;
  TItem& It = *FItems[size_t(Out.iItem)];
  if (Out.mask & LVIF_TEXT) {
    if (It.TextCallback && Out.iSubItem == 0) {
      Out.pszText = LPSTR_TEXTCALLBACKA;
    } else if (Out.pszText && Out.cchTextMax > 0) {
      const std::string T = TextOf(Out.iItem, Out.iSubItem);
      const size_t Len = std::min(T.size(), size_t(Out.cchTextMax - 1));
      std::copy_n(T.data(), Len, Out.pszText);
      Out.pszText[Len] = 0;
    }
  }
  if (Out.mask & LVIF_IMAGE) Out.iImage = It.Image;
  if (Out.mask & LVIF_PARAM) Out.lParam = It.Param;
  if (Out.mask & LVIF_STATE) Out.state = It.State & Out.stateMask;
  return true;
}

bool TListView::SetState(int I, UINT State, UINT Mask) {
  if (!InRange(I)) return false;
  TItem* It = FItems[size_t(I)];
  if ((Style() & LVS_SINGLESEL) && (Mask & State & LVIS_SELECTED) && FSelCount > 0)
    for (int J = 0; J < Count(); ++J)
      if (J != I && (FItems[size_t(J)]->State & LVIS_SELECTED)) SetState(J, 0, LVIS_SELECTED);
  const UINT Old = It->State;
  const UINT New = (Old & ~Mask) | (State & Mask);
  if (New == Old) return true;
  NMLISTVIEW N;
  N.iItem = I;
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = LVIF_STATE;
  N.lParam = It->Param;
  if (Notify(FWnd, LVN_ITEMCHANGING, &N.hdr) != 0) return false;
  // The handler may have moved or deleted the item.
  if (!InRange(I) || FItems[size_t(I)] != It) return false;
  if ((New & LVIS_FOCUSED) && FFocus != I) {
    if (InRange(FFocus)) {
      FItems[size_t(FFocus)]->State &= ~LVIS_FOCUSED;
      InvalidateItem(FFocus);
    }
    FFocus = I;
  } else if (!(New & LVIS_FOCUSED) && FFocus == I) {
    FFocus = -1;
  }
  if ((New ^ Old) & LVIS_SELECTED) FSelCount += (New & LVIS_SELECTED) ? 1 : -1;
  It->State = New;
  InvalidateItem(I);
  Notify(FWnd, LVN_ITEMCHANGED, &N.hdr);
  return true;
}

void TListView::SetStateAll(UINT State, UINT Mask) {
  // Only the items whose state changes: deselecting all of 100 000 items
  // with one selected costs one notification.
  if (Mask == LVIS_SELECTED && !(State & LVIS_SELECTED)) {
    for (int J = 0; J < Count() && FSelCount > 0; ++J)
      if (FItems[size_t(J)]->State & LVIS_SELECTED) SetState(J, 0, LVIS_SELECTED);
    return;
  }
  for (int J = 0; J < Count(); ++J) SetState(J, State, Mask);
}

int TListView::NextItem(int Start, UINT Flags) const {
  const UINT Want = Flags & (LVNI_SELECTED | LVNI_FOCUSED);
  auto Match = [&](int I) {
    const UINT S = FItems[size_t(I)]->State;
    return (!(Want & LVNI_SELECTED) || (S & LVIS_SELECTED)) && (!(Want & LVNI_FOCUSED) || (S & LVIS_FOCUSED));
  };
  if (Flags & LVNI_ABOVE) {
    const int Step = View() == LVS_REPORT || View() == LVS_LIST ? 1 : PerLine();
    for (int I = Start - Step; I >= 0; I -= Step)
      if (Match(I)) return I;
    return -1;
  }
  if (Want == LVNI_FOCUSED) return InRange(FFocus) && FFocus > Start ? FFocus : -1;
  if (Want & LVNI_SELECTED && FSelCount == 0) return -1;
  for (int I = std::max(Start + 1, 0); I < Count(); ++I)
    if (Match(I)) return I;
  return -1;
}

int TListView::Find(int Start, const LVFINDINFOA& F) {
  const int N = Count();
  if (N == 0) return -1;
  for (int K = 1; K <= N; ++K) {
    int I = Start + K;
    if (I >= N) {
      if (!(F.flags & LVFI_WRAP)) return -1;
      I -= N;
    }
    if (I < 0) I = 0;
    if (F.flags & LVFI_PARAM) {
      if (FItems[size_t(I)]->Param == F.lParam) return I;
    } else if (F.flags & (LVFI_STRING | LVFI_PARTIAL)) {
      const std::string Key = F.psz ? F.psz : "";
      std::string T = TextOf(I, 0);
      if (F.flags & LVFI_PARTIAL) T = T.substr(0, Key.size());
      if (AnsiCompareText(T, Key) == 0) return I;
    }
  }
  return -1;
}

bool TListView::Sort(PFNLVCOMPARE Compare, LPARAM Data) {
  if (!Compare) return false;
  // Sorted as a copy: a callback that raises leaves the order untouched.
  std::vector<TItem*> Order;
  Order.reserve(FItems.size());
  for (TItem* P : FItems) Order.push_back(P);
  std::stable_sort(Order.begin(), Order.end(),
                   [&](TItem* A, TItem* B) { return Compare(A->Param, B->Param, Data) < 0; });
  TItem* Focus = InRange(FFocus) ? FItems[size_t(FFocus)] : nullptr;
  TItem* Mark = InRange(FMark) ? FItems[size_t(FMark)] : nullptr;
  FItems.swap(Order);
  FFocus = FMark = -1;
  for (int I = 0; I < Count(); ++I) {
    if (FItems[size_t(I)] == Focus) FFocus = I;
    if (FItems[size_t(I)] == Mark) FMark = I;
  }
  Changed();
  return true;
}

void TListView::UpdateScrollBars() {
  FScrollDirty = false;
  const TRect C = Client();
  SCROLLINFO Si;
  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (View() == LVS_LIST) {
    const int Cols = (Count() + PerLine() - 1) / PerLine();
    FTopRow = std::clamp(FTopRow, 0, std::max(0, Cols - PageCount()));
    Si.nMax = Cols - 1;
    Si.nPage = UINT(PageCount());
    Si.nPos = FTopRow;
    SetScrollInfo(FWnd, SB_HORZ, &Si, TRUE);
    return;
  }
  const int Rows = (Count() + PerLine() - 1) / PerLine();
  FTopRow = std::clamp(FTopRow, 0, std::max(0, Rows - PageCount()));
  Si.nMax = Rows - 1;
  Si.nPage = UINT(PageCount());
  Si.nPos = FTopRow;
  SetScrollInfo(FWnd, SB_VERT, &Si, TRUE);
  if (View() == LVS_REPORT) {
    SCROLLINFO H;
    H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    FScrollX = std::clamp(FScrollX, 0, std::max(0, TotalWidth() - C.Width()));
    H.nMax = TotalWidth() - 1;
    H.nPage = UINT(C.Width());
    H.nPos = FScrollX;
    SetScrollInfo(FWnd, SB_HORZ, &H, TRUE);
  }
}

void TListView::ScrollBy(int Dx, int Dy) {
  // The edit would stay behind over another item.
  if (Dx || Dy) EndEdit(false);
  if (View() == LVS_LIST) {
    FTopRow += Dx;
  } else {
    FTopRow += Dy;
    FScrollX += View() == LVS_REPORT ? Dx : 0;
  }
  UpdateScrollBars();
  InvalidateRect(FWnd, nullptr, TRUE);
}

void TListView::EnsureVisible(int I) {
  if (!InRange(I)) return;
  if (FScrollDirty) UpdateScrollBars();
  const int Line = I / PerLine();
  if (Line < FTopRow) ScrollBy(Line - FTopRow, Line - FTopRow);
  else if (Line >= FTopRow + PageCount()) {
    const int D = Line - FTopRow - PageCount() + 1;
    ScrollBy(D, D);
  }
}

void TListView::PaintHeader(HDC Dc) {
  const int H = HeaderHeight();
  if (!H) return;
  const TRect C = Client();
  int X = -FScrollX;
  for (const TColumn& Col : FColumns) {
    TRect R{X, 0, X + Col.Width, H};
    FillRect(Dc, &R, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(Dc, &R, EDGE_RAISED, BF_RECT);
    TRect T{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
    std::string Copy = Col.Text;
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, GetSysColor(COLOR_BTNTEXT));
    const UINT Align = Col.Fmt == LVCFMT_RIGHT ? DT_RIGHT : Col.Fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    DrawTextA(Dc, Copy.data(), int(Copy.size()), &T, Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    X += Col.Width;
  }
  if (X < C.Right) {
    TRect R{X, 0, C.Right, H};
    FillRect(Dc, &R, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(Dc, &R, EDGE_RAISED, BF_RECT);
  }
}

void TListView::Paint(HDC Dc, const TRect& Update) {
  if (FScrollDirty) UpdateScrollBars();
  const TRect C = Client();
  FillRect(Dc, &C, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ OldFont = SelectObject(Dc, ControlFont(FFont));
  const DWORD S = Style();
  const DWORD V = View();
  HIMAGELIST Images = V == LVS_ICON ? FNormal : FSmall;
  int Cx = 0, Cy = 0;
  if (Images) ImageList_GetIconSize(Images, &Cx, &Cy);
  // The first and last item that can touch the update rectangle.
  int First = 0, Last = -1;
  const TSize Cell = CellSize();
  const int Per = PerLine();
  if (V == LVS_LIST) {
    First = (FTopRow + std::max(0, Update.Left) / Cell.cx) * Per;
    Last = (FTopRow + (Update.Right + Cell.cx - 1) / Cell.cx) * Per;
  } else {
    const int Y0 = std::max(0, Update.Top - HeaderHeight());
    First = (FTopRow + Y0 / Cell.cy) * Per;
    Last = (FTopRow + (Update.Bottom - HeaderHeight() + Cell.cy - 1) / Cell.cy + 1) * Per;
  }
  Last = std::min(Last, Count() - 1);
  const bool ShowSel = FFocused || (S & LVS_SHOWSELALWAYS);
  for (int I = std::max(First, 0); I <= Last; ++I) {
    const TItem& It = *FItems[size_t(I)];
    const TRect R = ItemRect(I);
    const bool Sel = (It.State & (LVIS_SELECTED | LVIS_DROPHILITED)) && (ShowSel || (It.State & LVIS_DROPHILITED));
    const TItemLook Look = !Sel ? TItemLook::Normal
                                : (FFocused || (It.State & LVIS_DROPHILITED)) ? TItemLook::Selected
                                                                             : TItemLook::SelectedInactive;
    const bool FocusRect = FFocused && I == FFocus;
    const std::string Text = TextOf(I, 0);
    const int Image = Images ? ImageOf(I) : -1;
    if (V == LVS_ICON) {
      if (Image >= 0)
        ImageList_Draw(Images, Image, Dc, R.Left + (R.Width() - Cx) / 2, R.Top + 2,
                       ILD_TRANSPARENT | (Sel ? ILD_BLEND50 : 0));
      TRect L{R.Left + 1, R.Top + 2 + std::max(Cy, 32) + 2, R.Right - 1, R.Top + 2 + std::max(Cy, 32) + 4 +
                                                                           FontHeight(ControlFont(FFont)) + 2};
      DrawLabel(Dc, Text, L, Look, FocusRect, DT_CENTER);
      continue;
    }
    int X = R.Left + 2;
    if (Images) {
      if (Image >= 0) ImageList_Draw(Images, Image, Dc, X, R.Top + (R.Height() - Cy) / 2, ILD_TRANSPARENT);
      X += Cx + 2;
    }
    TRect L = R;
    L.Left = X;
    if (V == LVS_REPORT) {
      const int W0 = FColumns.empty() ? R.Width() : FColumns[0].Width;
      L.Right = R.Left + W0;
      if ((FExStyle & LVS_EX_FULLROWSELECT) && Look != TItemLook::Normal) {
        TRect Full{X, R.Top, R.Left + TotalWidth(), R.Bottom};
        FillRect(Dc, &Full, GetSysColorBrush(Look == TItemLook::Selected ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
      }
      DrawLabel(Dc, Text, L, Look, FocusRect);
      int CX = R.Left + W0;
      for (size_t K = 1; K < FColumns.size(); ++K) {
        const TColumn& Col = FColumns[K];
        TRect T{CX + 6, R.Top, CX + Col.Width - 6, R.Bottom};
        std::string Sub = TextOf(I, Col.SubItem > 0 ? Col.SubItem : int(K));
        SetBkMode(Dc, TRANSPARENT);
        SetTextColor(Dc, GetSysColor((FExStyle & LVS_EX_FULLROWSELECT) && Look == TItemLook::Selected
                                         ? COLOR_HIGHLIGHTTEXT
                                         : COLOR_WINDOWTEXT));
        const UINT Align = Col.Fmt == LVCFMT_RIGHT ? DT_RIGHT : Col.Fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        DrawTextA(Dc, Sub.data(), int(Sub.size()), &T,
                  Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        CX += Col.Width;
      }
      if (FExStyle & LVS_EX_GRIDLINES) {
        TRect G{R.Left, R.Bottom - 1, R.Left + TotalWidth(), R.Bottom};
        FillRect(Dc, &G, GetSysColorBrush(COLOR_BTNFACE));
      }
    } else {
      L.Right = R.Right - 2;
      DrawLabel(Dc, Text, L, Look, FocusRect);
    }
  }
  PaintHeader(Dc);
  SelectObject(Dc, OldFont);
}

void TListView::ClickSelect(int I, bool Shift, bool Ctrl) {
  const bool Single = Style() & LVS_SINGLESEL;
  if (Single || (!Shift && !Ctrl)) {
    SetStateAll(0, LVIS_SELECTED);
    SetState(I, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FMark = I;
  } else if (Shift) {
    const int From = InRange(FMark) ? FMark : I;
    if (!Ctrl) SetStateAll(0, LVIS_SELECTED);
    for (int J = std::min(From, I); J <= std::max(From, I); ++J) SetState(J, LVIS_SELECTED, LVIS_SELECTED);
    SetState(I, LVIS_FOCUSED, LVIS_FOCUSED);
  } else {
    const bool On = InRange(I) && (FItems[size_t(I)]->State & LVIS_SELECTED);
    SetState(I, (On ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FMark = I;
  }
  EnsureVisible(I);
}

TRect TListView::LabelBox(int I) {
  const TRect R = ItemRect(I);
  const DWORD V = View();
  HIMAGELIST Images = V == LVS_ICON ? FNormal : FSmall;
  int Cx = 0, Cy = 0;
  if (Images) ImageList_GetIconSize(Images, &Cx, &Cy);
  const int Line = FontHeight(ControlFont(FFont)) + 4;
  if (V == LVS_ICON) {
    const int Top = R.Top + 2 + std::max(Cy, 32) + 2;
    return {R.Left + 1, Top, R.Right - 1, Top + Line};
  }
  TRect L = R;
  L.Left = R.Left + 2 + (Images ? Cx + 2 : 0);
  if (V == LVS_REPORT && !FColumns.empty()) L.Right = R.Left + FColumns[0].Width;
  const int Mid = (R.Top + R.Bottom) / 2;
  L.Top = Mid - Line / 2;
  L.Bottom = L.Top + Line;
  return L;
}

void TListView::FillDisp(LVITEMA& Out, int I, std::string& Text) {
  Out.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  Out.iItem = I;
  Out.iSubItem = 0;
  Out.lParam = FItems[size_t(I)]->Param;
  Out.state = FItems[size_t(I)]->State;
  Out.pszText = Text.data();
  Out.cchTextMax = int(Text.size() + 1);
}

HWND TListView::EditLabel(int I) {
  EndEdit(false);
  if (!InRange(I)) return nullptr;
  EnsureVisible(I);
  if (!InRange(I)) return nullptr;
  std::string Text = TextOf(I, 0);
  TItem* It = FItems[size_t(I)];
  return FLabel.Open(
      FWnd, ControlFont(FFont), Text, LabelBox(I), FEditItem, It,
      [&] {
        NMLVDISPINFOA D;
        FillDisp(D.item, I, Text);
        return Notify(FWnd, LVN_BEGINLABELEDITA, &D.hdr) != 0;
      },
      [&] { return IndexOf(It) >= 0; });
}

bool TListView::EndEdit(bool Cancel) {
  TItem* It = std::exchange(FEditItem, nullptr);
  return FLabel.Finish(FWnd, [&](std::string& Text) {
    const int I = IndexOf(It);
    if (I < 0) return;
    NMLVDISPINFOA D;
    FillDisp(D.item, I, Text);
    if (Cancel) D.item.pszText = nullptr;
    const bool Took = Notify(FWnd, LVN_ENDLABELEDITA, &D.hdr) != 0;
    if (!Cancel && Took && IndexOf(It) >= 0 && !It->TextCallback) It->Text = Text;
    InvalidateItem(IndexOf(It));
  });
}

void TListView::KeyDown(WORD Key) {
  NMLVKEYDOWN K;
  K.wVKey = Key;
  Notify(FWnd, LVN_KEYDOWN, &K.hdr);
  if (Count() == 0) return;
  const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  const int From = InRange(FFocus) ? FFocus : -1;
  const DWORD V = View();
  const int Per = PerLine();
  int To = From;
  switch (Key) {
    case VK_UP: To = From - ((V == LVS_ICON || V == LVS_SMALLICON) ? Per : 1); break;
    case VK_DOWN: To = From < 0 ? 0 : From + ((V == LVS_ICON || V == LVS_SMALLICON) ? Per : 1); break;
    case VK_LEFT: To = V == LVS_LIST ? From - Per : V == LVS_REPORT ? From : From - 1; break;
    case VK_RIGHT: To = V == LVS_LIST ? From + Per : V == LVS_REPORT ? From : From + 1; break;
    case VK_HOME: To = 0; break;
    case VK_END: To = Count() - 1; break;
    case VK_PRIOR: To = From - std::max(1, PageCount() - 1) * (V == LVS_LIST ? Per : 1); break;
    case VK_NEXT: To = From + std::max(1, PageCount() - 1) * (V == LVS_LIST ? Per : 1); break;
    case VK_SPACE:
      if (Ctrl && InRange(From)) {
        const bool On = FItems[size_t(From)]->State & LVIS_SELECTED;
        SetState(From, On ? 0 : LVIS_SELECTED, LVIS_SELECTED);
      }
      return;
    case VK_RETURN: {
      NMHDR H;
      Notify(FWnd, NM_RETURN, &H);
      return;
    }
    default: return;
  }
  To = std::clamp(To, 0, Count() - 1);
  if (Ctrl && !Shift && !(Style() & LVS_SINGLESEL)) {
    SetState(To, LVIS_FOCUSED, LVIS_FOCUSED);
    EnsureVisible(To);
    return;
  }
  ClickSelect(To, Shift, false);
}

void TListView::ButtonDown(TPoint P, bool Right, bool Double) {
  const bool HadFocus = FFocused;
  KillTimer(FWnd, ClickEditTimer);
  FClickEdit = nullptr;
  if (GetFocus() != FWnd) SetFocus(FWnd);
  if (P.Y < HeaderHeight()) {
    if (Right || (Style() & LVS_NOSORTHEADER)) return;
    int X = -FScrollX;
    for (size_t K = 0; K < FColumns.size(); ++K) {
      if (P.X >= X && P.X < X + FColumns[K].Width) {
        NMLISTVIEW N;
        N.iItem = -1;
        N.iSubItem = int(K);
        Notify(FWnd, LVN_COLUMNCLICK, &N.hdr);
        return;
      }
      X += FColumns[K].Width;
    }
    return;
  }
  const int I = ItemAt(P);
  const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  if (I >= 0 && !Right && !Double && !Shift && !Ctrl && HadFocus && (Style() & LVS_EDITLABELS) && I == FFocus &&
      (FItems[size_t(I)]->State & LVIS_SELECTED) && FSelCount == 1) {
    const TRect Box = LabelBox(I);
    if (PtInRect(&Box, P)) FClickEdit = FItems[size_t(I)];
  }
  if (I < 0) {
    if (!Shift && !Ctrl) SetStateAll(0, LVIS_SELECTED);
    return;
  }
  if (Double) {
    NMHDR H;
    Notify(FWnd, Right ? NM_RCLICK : NM_DBLCLK, &H);
    return;
  }
  // A press on a selected item keeps the selection, so that the whole
  // selection can be dragged.
  if (Right || !(FItems[size_t(I)]->State & LVIS_SELECTED) || Shift || Ctrl)
    ClickSelect(I, Shift, Ctrl);
  else
    SetState(I, LVIS_FOCUSED, LVIS_FOCUSED);
  FPressed = I;
  FPressPt = P;
  FPressRight = Right;
  SetCapture(FWnd);
}

LRESULT TListView::Handle(UINT Msg, WPARAM W, LPARAM L) {
  switch (Msg) {
    case LVM_GETITEMCOUNT: return Count();
    case LVM_INSERTITEMA: return L ? Insert(*reinterpret_cast<const LVITEMA*>(L)) : -1;
    case LVM_DELETEITEM: return Delete(int(W));
    case LVM_DELETEALLITEMS: return DeleteAll();
    case LVM_GETITEMA: return L ? GetItem(*reinterpret_cast<LVITEMA*>(L)) : FALSE;
    case LVM_SETITEMA: return L ? SetItem(*reinterpret_cast<const LVITEMA*>(L)) : FALSE;
    case LVM_SETITEMTEXTA: {
      if (!L) return FALSE;
      LVITEMA I = *reinterpret_cast<const LVITEMA*>(L);
      I.iItem = int(W);
      I.mask = LVIF_TEXT;
      return SetItem(I);
    }
    case LVM_GETITEMTEXTA: {
      if (!L || !InRange(int(W))) return 0;
      auto& I = *reinterpret_cast<LVITEMA*>(L);
      const std::string T = TextOf(int(W), I.iSubItem);
      if (!I.pszText || I.cchTextMax <= 0) return 0;
      const size_t Len = std::min(T.size(), size_t(I.cchTextMax - 1));
      std::copy_n(T.data(), Len, I.pszText);
      I.pszText[Len] = 0;
      return LRESULT(Len);
    }
    case LVM_SETITEMSTATE: {
      if (!L) return FALSE;
      const auto& I = *reinterpret_cast<const LVITEMA*>(L);
      if (int(W) == -1) {
        SetStateAll(I.state, I.stateMask);
        return TRUE;
      }
      return SetState(int(W), I.state, I.stateMask);
    }
    case LVM_GETITEMSTATE: return InRange(int(W)) ? LRESULT(FItems[W]->State & UINT(L)) : 0;
    case LVM_GETSELECTEDCOUNT: return FSelCount;
    case LVM_GETNEXTITEM: return NextItem(int(W), UINT(L));
    case LVM_FINDITEMA: return L ? Find(int(W), *reinterpret_cast<const LVFINDINFOA*>(L)) : -1;
    case LVM_SORTITEMS: return Sort(reinterpret_cast<PFNLVCOMPARE>(L), LPARAM(W));
    case LVM_ENSUREVISIBLE: EnsureVisible(int(W)); return InRange(int(W));
    case LVM_SCROLL: {
      const TSize S = CellSize();
      ScrollBy(View() == LVS_LIST ? int(W) / std::max<int>(1, S.cx) : int(W), int(L) / std::max<int>(1, S.cy));
      return TRUE;
    }
    case LVM_GETTOPINDEX: return View() == LVS_LIST || View() == LVS_REPORT ? FTopRow * PerLine() : 0;
    case LVM_GETCOUNTPERPAGE: return PageCount() * (View() == LVS_LIST ? PerLine() : 1);
    case LVM_GETITEMRECT: {
      if (!L || !InRange(int(W))) return FALSE;
      auto* R = reinterpret_cast<TRect*>(L);
      const int Code = R->Left;
      *R = ItemRect(int(W));
      if (Code == LVIR_LABEL && View() == LVS_REPORT && !FColumns.empty()) R->Right = R->Left + FColumns[0].Width;
      return TRUE;
    }
    case LVM_HITTEST: {
      if (!L) return -1;
      auto& H = *reinterpret_cast<LVHITTESTINFO*>(L);
      H.iItem = ItemAt(H.pt);
      H.flags = H.iItem >= 0 ? LVHT_ONITEMLABEL : (H.pt.Y < HeaderHeight() ? LVHT_ABOVE : LVHT_NOWHERE);
      return H.iItem;
    }
    case LVM_SETIMAGELIST: {
      HIMAGELIST& Slot = W == LVSIL_NORMAL ? FNormal : W == LVSIL_SMALL ? FSmall : FState;
      HIMAGELIST Old = Slot;
      Slot = reinterpret_cast<HIMAGELIST>(L);
      Changed();
      return LRESULT(Old);
    }
    case LVM_GETIMAGELIST: return LRESULT(W == LVSIL_NORMAL ? FNormal : W == LVSIL_SMALL ? FSmall : FState);
    case LVM_INSERTCOLUMNA: {
      if (!L) return -1;
      const auto& C = *reinterpret_cast<const LVCOLUMNA*>(L);
      TColumn Col;
      if ((C.mask & LVCF_TEXT) && C.pszText) Col.Text = C.pszText;
      if (C.mask & LVCF_WIDTH) Col.Width = std::max(0, C.cx);
      if (C.mask & LVCF_FMT) Col.Fmt = C.fmt & 3;
      const int At = std::clamp(int(W), 0, int(FColumns.size()));
      Col.SubItem = (C.mask & LVCF_SUBITEM) ? C.iSubItem : At;
      FColumns.insert(FColumns.begin() + At, Col);
      Changed();
      return At;
    }
    case LVM_SETCOLUMNA:
    case LVM_GETCOLUMNA: {
      if (!L || W >= FColumns.size()) return FALSE;
      auto& C = *reinterpret_cast<LVCOLUMNA*>(L);
      TColumn& Col = FColumns[W];
      if (Msg == LVM_SETCOLUMNA) {
        if (C.mask & LVCF_TEXT) Col.Text = C.pszText ? C.pszText : "";
        if (C.mask & LVCF_WIDTH) Col.Width = std::max(0, C.cx);
        if (C.mask & LVCF_FMT) Col.Fmt = C.fmt & 3;
        if (C.mask & LVCF_SUBITEM) Col.SubItem = C.iSubItem;
        Changed();
        return TRUE;
      }
      if ((C.mask & LVCF_TEXT) && C.pszText && C.cchTextMax > 0) {
        const size_t Len = std::min(Col.Text.size(), size_t(C.cchTextMax - 1));
        std::copy_n(Col.Text.data(), Len, C.pszText);
        C.pszText[Len] = 0;
      }
      if (C.mask & LVCF_WIDTH) C.cx = Col.Width;
      if (C.mask & LVCF_FMT) C.fmt = Col.Fmt;
      if (C.mask & LVCF_SUBITEM) C.iSubItem = Col.SubItem;
      return TRUE;
    }
    case LVM_DELETECOLUMN:
      if (W >= FColumns.size()) return FALSE;
      FColumns.erase(FColumns.begin() + W);
      Changed();
      return TRUE;
    case LVM_GETCOLUMNWIDTH:
      if (View() == LVS_LIST) return FListWidth;
      return W < FColumns.size() ? FColumns[W].Width : 0;
    case LVM_SETCOLUMNWIDTH:
      if (View() == LVS_LIST) FListWidth = std::max(1, int(short(LOWORD(L))));
      else if (W < FColumns.size()) FColumns[W].Width = std::max(0, int(short(LOWORD(L))));
      else return FALSE;
      Changed();
      return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD Old = FExStyle;
      const DWORD Mask = W ? DWORD(W) : ~DWORD(0);
      FExStyle = (FExStyle & ~Mask) | (DWORD(L) & Mask);
      Changed();
      return LRESULT(Old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return LRESULT(FExStyle);
    case LVM_GETBKCOLOR: return LRESULT(GetSysColor(COLOR_WINDOW));
    case LVM_EDITLABELA:
      if (int(W) < 0) {
        EndEdit(true);
        return 0;
      }
      return LRESULT(EditLabel(int(W)));
    case LVM_GETEDITCONTROL: return LRESULT(FLabel.Wnd());
    case LVM_CANCELEDITLABEL: EndEdit(true); return 0;
    case LabelEditEndMessage:
    case WM_COMMAND:
      if (FLabel.Route(Msg, W, L, [this](bool Cancel) { EndEdit(Cancel); })) return 0;
      break;
    case WM_TIMER:
      if (W == ClickEditTimer) {
        KillTimer(FWnd, ClickEditTimer);
        TItem* It = FClickEdit;
        FClickEdit = nullptr;
        const int I = IndexOf(It);
        if (I >= 0 && I == FFocus && (It->State & LVIS_SELECTED) && FFocused) EditLabel(I);
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(FWnd, ClickEditTimer);
      FClickEdit = nullptr;
      FLabel.Release();
      FEditItem = nullptr;
      break;

    case WM_SETFONT:
      FFont = reinterpret_cast<HFONT>(W);
      Changed();
      return 0;
    case WM_GETFONT: return LRESULT(FFont);
    case WM_STYLECHANGED:
    case WM_SIZE:
      Changed();
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      FFocused = Msg == WM_SETFOCUS;
      InvalidateRect(FWnd, nullptr, TRUE);
      NMHDR H;
      Notify(FWnd, FFocused ? NM_SETFOCUS : NM_KILLFOCUS, &H);
      return 0;
    }
    case WM_KEYDOWN: KeyDown(WORD(W)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      ButtonDown({GET_X_LPARAM(L), GET_Y_LPARAM(L)}, Msg == WM_RBUTTONDOWN, Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (FPressed >= 0 && GetCapture() == FWnd && BeyondDragThreshold(FPressPt, {GET_X_LPARAM(L), GET_Y_LPARAM(L)})) {
        const int I = FPressed;
        FPressed = -1;
        FClickEdit = nullptr;
        ReleaseCapture();
        if (InRange(I)) NotifyItem(FPressRight ? LVN_BEGINRDRAG : LVN_BEGINDRAG, I, 0, 0, 0, FPressPt);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const int I = FPressed;
      FPressed = -1;
      if (GetCapture() == FWnd) ReleaseCapture();
      if (Msg == WM_LBUTTONUP && I >= 0 && FClickEdit) SetTimer(FWnd, ClickEditTimer, GetDoubleClickTime(), nullptr);
      else FClickEdit = nullptr;
      // A plain click on an item of a multiple selection selects it alone.
      const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
      if (Msg == WM_LBUTTONUP && InRange(I) && !Shift && !Ctrl && FSelCount > 1) ClickSelect(I, false, false);
      NMHDR H;
      if (Notify(FWnd, Msg == WM_LBUTTONUP ? NM_CLICK : NM_RCLICK, &H) == 0 && Msg == WM_RBUTTONUP) {
        TPoint S{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
        ClientToScreen(FWnd, &S);
        SendMessageA(FWnd, WM_CONTEXTMENU, WPARAM(FWnd), MAKELPARAM(S.X, S.Y));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      FPressed = -1;
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      const int Bar = Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
      SCROLLINFO Si;
      Si.fMask = SIF_ALL;
      GetScrollInfo(FWnd, Bar, &Si);
      const bool Pixels = Bar == SB_HORZ && View() == LVS_REPORT;
      const int Line = Pixels ? 8 : 1;
      const int Page = Pixels ? Client().Width() : PageCount();
      int D = 0;
      switch (LOWORD(W)) {
        case SB_LINEUP: D = -Line; break;
        case SB_LINEDOWN: D = Line; break;
        case SB_PAGEUP: D = -Page; break;
        case SB_PAGEDOWN: D = Page; break;
        case SB_TOP: D = -Si.nMax - 1; break;
        case SB_BOTTOM: D = Si.nMax + 1; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: D = Si.nTrackPos - Si.nPos; break;
      }
      if (Bar == SB_VERT) ScrollBy(0, D);
      else ScrollBy(D, 0);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollBy(0, -3 * GET_WHEEL_DELTA_WPARAM(W) / 120);
      return 0;
  }
  return DefWindowProcA(FWnd, Msg, W, L);
}

constexpr const char* StateProp = "SxListView";

}  // namespace

LRESULT ListViewProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto* T = ControlState<TListView>(Wnd, Msg, StateProp);
  return T ? T->Handle(Msg, W, L) : DefWindowProcA(Wnd, Msg, W, L);
}

}  // namespace commctrl
