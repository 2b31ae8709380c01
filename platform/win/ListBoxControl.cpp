#include "platform/win/ListBoxControl.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StdControls_p.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {
constexpr const char* StateProp = "SxListBoxState";
// A pause longer than this starts a new type-ahead prefix.
constexpr DWORD TypeAheadPause = 1000;
// The most characters of one item that painting hands to the text layer:
// a row never shows more, and a megabyte-long item must not cost a
// megabyte of glyph work per paint.
constexpr std::size_t MaxPaintedChars = 4096;

// A sequence kept in blocks of a few hundred, so that inserting or deleting
// in the middle of a long list moves a block, not the whole list. Lookups
// remember the last block, so walking rows in order costs nothing extra.
template <class T>
class TBlockList {
public:
  std::size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  T& operator[](std::size_t I) {
    std::size_t B, Off;
    Locate(I, B, Off);
    return FBlocks[B][Off];
  }
  void insert(std::size_t I, T V) {
    if (FBlocks.empty()) FBlocks.emplace_back();
    std::size_t B, Off;
    if (I >= FCount) {
      B = FBlocks.size() - 1;
      Off = FBlocks[B].size();
      FCacheBlock = B;
      FCacheStart = FCount - Off;
    } else {
      Locate(I, B, Off);
    }
    auto& Blk = FBlocks[B];
    Blk.insert(Blk.begin() + std::ptrdiff_t(Off), std::move(V));
    ++FCount;
    if (Blk.size() >= 2 * BlockSize) {
      std::vector<T> Tail(std::make_move_iterator(Blk.begin() + BlockSize), std::make_move_iterator(Blk.end()));
      Blk.resize(BlockSize);
      FBlocks.insert(FBlocks.begin() + std::ptrdiff_t(B) + 1, std::move(Tail));
    }
  }
  void erase(std::size_t I) {
    std::size_t B, Off;
    Locate(I, B, Off);
    FBlocks[B].erase(FBlocks[B].begin() + std::ptrdiff_t(Off));
    --FCount;
    if (FBlocks[B].empty() && FBlocks.size() > 1) {
      FBlocks.erase(FBlocks.begin() + std::ptrdiff_t(B));
      FCacheBlock = 0;
      FCacheStart = 0;
    }
  }
  void clear() {
    FBlocks.clear();
    FCount = 0;
    FCacheBlock = FCacheStart = 0;
  }
  // The first index whose element is greater than V (Less orders them):
  // where a sorted list takes V after its equals.
  template <class TLess>
  std::size_t UpperBound(const T& V, TLess Less) {
    // The first block whose last element is greater, then the place in it:
    // comparisons stay logarithmic (they may be locale-aware or ask the owner).
    auto B = std::partition_point(FBlocks.begin(), FBlocks.end(),
                                  [&](const std::vector<T>& Blk) { return Blk.empty() || !Less(V, Blk.back()); });
    std::size_t Start = 0;
    for (auto It = FBlocks.begin(); It != B; ++It) Start += It->size();
    if (B == FBlocks.end()) return Start;
    return Start + std::size_t(std::upper_bound(B->begin(), B->end(), V, Less) - B->begin());
  }
  template <class F>
  void ForEach(F Fn) {
    std::size_t I = 0;
    for (auto& Blk : FBlocks)
      for (auto& E : Blk) Fn(I++, E);
  }

private:
  static constexpr std::size_t BlockSize = 512;
  void Locate(std::size_t I, std::size_t& B, std::size_t& Off) {
    std::size_t Bi = FCacheBlock, Start = FCacheStart;
    if (Bi >= FBlocks.size() || I < Start) {
      Bi = 0;
      Start = 0;
    }
    while (I >= Start + FBlocks[Bi].size()) {
      Start += FBlocks[Bi].size();
      ++Bi;
    }
    FCacheBlock = Bi;
    FCacheStart = Start;
    B = Bi;
    Off = I - Start;
  }
  std::vector<std::vector<T>> FBlocks;
  std::size_t FCount = 0;
  std::size_t FCacheBlock = 0, FCacheStart = 0;
};

struct TLbItem {
  AnsiString Text;
  ULONG_PTR Data = 0;
  int Height = 0;  // the variable owner-draw style only
  bool Selected = false;
};

struct TListBox {
  HWND Wnd = nullptr;
  DWORD Style = 0;
  TBlockList<TLbItem> Items;
  int ItemHeight = 13;
  int Top = 0;
  int Caret = -1;   // the focus item
  int Sel = -1;     // single selection
  int Anchor = -1;  // where a Shift range starts
  int SelCount = 0;
  int HExtent = 0, HPos = 0;
  bool Focused = false;
  bool Redraw = true;
  bool Tracking = false;       // the left button went down on the list
  bool TrackDeselect = false;  // a Ctrl drag in an extended list clears
  bool InScrollUpdate = false;
  bool VBar = false, HBar = false;  // asked for at creation (a hidden bar drops its style bit)
  HWND Combo = nullptr;  // the combo box that owns a combo list
  AnsiString Prefix;
  DWORD PrefixTime = 0;

  int Count() const { return int(Items.size()); }
  bool Multi() const { return Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
  bool Extended() const { return Style & LBS_EXTENDEDSEL; }
  bool OwnerDraw() const { return Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
  bool Variable() const { return Style & LBS_OWNERDRAWVARIABLE; }
  bool HasStrings() const { return !OwnerDraw() || (Style & LBS_HASSTRINGS); }
  bool NoSel() const { return Style & LBS_NOSEL; }
};

TListBox* StateOf(HWND Wnd) { return static_cast<TListBox*>(GetPropA(Wnd, StateProp)); }

// --- who hears what ------------------------------------------------------------------------

// A dropped list's owner is the combo box's top-level window, so a combo
// list names its combo box itself.
HWND NotifyTarget(const TListBox& L) { return L.Combo ? L.Combo : GetParent(L.Wnd); }
// The window that draws and measures: the combo box's parent for a combo list.
HWND OwnerTarget(const TListBox& L) { return L.Combo ? GetParent(L.Combo) : GetParent(L.Wnd); }
HWND ItemWindow(const TListBox& L) { return L.Combo ? L.Combo : L.Wnd; }
UINT CtlType(const TListBox& L) { return L.Combo ? ODT_COMBOBOX : ODT_LISTBOX; }
UINT CtlId(const TListBox& L) { return UINT(GetDlgCtrlID(ItemWindow(L))); }

void Notify(TListBox& L, int Code) {
  if (!(L.Style & LBS_NOTIFY) && !L.Combo) return;
  HWND Target = NotifyTarget(L);
  if (!Target) return;
  SendMessageA(Target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(L.Wnd), Code), LPARAM(L.Wnd));
}

// --- geometry --------------------------------------------------------------------------------

TRect ClientOf(const TListBox& L) {
  TRect R;
  GetClientRect(L.Wnd, &R);
  return R;
}

int HeightOf(TListBox& L, int I) {
  if (L.Variable() && I >= 0 && I < L.Count()) return L.Items[std::size_t(I)].Height;
  return L.ItemHeight;
}

// Rows that show whole from Top (at least one).
int FullRows(TListBox& L, int From) {
  const int H = ClientOf(L).Height();
  if (!L.Variable()) return std::max(1, H / std::max(1, L.ItemHeight));
  int Rows = 0, Y = 0;
  for (int I = From; I < L.Count(); ++I) {
    Y += HeightOf(L, I);
    if (Y > H) break;
    ++Rows;
  }
  return std::max(1, Rows);
}

// The highest top index that still fills the window to the last item.
int MaxTop(TListBox& L) {
  const int N = L.Count();
  if (N == 0) return 0;
  if (!L.Variable()) return std::max(0, N - FullRows(L, 0));
  const int H = ClientOf(L).Height();
  int Y = 0, I = N - 1;
  for (; I >= 0; --I) {
    Y += HeightOf(L, I);
    if (Y > H) break;
  }
  return std::min(N - 1, I + 1);
}

TRect ItemRect(TListBox& L, int I) {
  const TRect C = ClientOf(L);
  int Y = 0;
  if (!L.Variable()) {
    Y = (I - L.Top) * L.ItemHeight;
  } else if (I >= L.Top) {
    for (int K = L.Top; K < I; ++K) Y += HeightOf(L, K);
  } else {
    for (int K = I; K < L.Top; ++K) Y -= HeightOf(L, K);
  }
  const int Width = std::max(C.Width(), L.HExtent);
  return {-L.HPos, Y, Width - L.HPos, Y + HeightOf(L, I)};
}

// The item under a client point; Outside tells a point off the items.
int ItemFromPoint(TListBox& L, TPoint P, bool* Outside) {
  const TRect C = ClientOf(L);
  bool Out = !C.Contains(P);
  int Index = -1;
  if (L.Count() > 0) {
    if (P.Y < 0) {
      Index = L.Top;
    } else if (!L.Variable()) {
      Index = L.Top + P.Y / std::max(1, L.ItemHeight);
    } else {
      int Y = 0;
      Index = L.Top;
      for (; Index < L.Count(); ++Index) {
        Y += HeightOf(L, Index);
        if (P.Y < Y) break;
      }
    }
    if (Index >= L.Count()) {
      Index = L.Count() - 1;
      Out = true;
    }
  }
  if (Outside) *Outside = Out;
  return Index;
}

void InvalidateItem(TListBox& L, int I) {
  if (!L.Redraw || I < 0 || I >= L.Count() || I < L.Top) return;
  TRect R = ItemRect(L, I);
  const TRect C = ClientOf(L);
  if (R.Top >= C.Bottom) return;
  R.Left = C.Left;
  R.Right = C.Right;
  InvalidateRect(L.Wnd, &R, TRUE);
}

void InvalidateAll(TListBox& L) {
  if (L.Redraw) InvalidateRect(L.Wnd, nullptr, TRUE);
}

void UpdateScrollBars(TListBox& L) {
  if (!L.Redraw || L.InScrollUpdate) return;
  L.InScrollUpdate = true;
  const UINT Keep = (L.Style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
  // Two rounds: a bar that comes or goes changes the other's page.
  for (int Round = 0; Round < 2; ++Round) {
    if (L.VBar) {
      SCROLLINFO Si;
      Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
      Si.nMin = 0;
      Si.nMax = std::max(0, L.Count() - 1);
      Si.nPage = UINT(FullRows(L, L.Top));
      if (L.Count() <= FullRows(L, 0) && MaxTop(L) == 0) Si.nPage = UINT(Si.nMax + 1);
      Si.nPos = L.Top;
      SetScrollInfo(L.Wnd, SB_VERT, &Si, TRUE);
    }
    if (L.HBar) {
      SCROLLINFO Si;
      Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
      Si.nMin = 0;
      Si.nMax = std::max(0, L.HExtent - 1);
      Si.nPage = UINT(std::max(0, ClientOf(L).Width()));
      Si.nPos = L.HPos;
      SetScrollInfo(L.Wnd, SB_HORZ, &Si, TRUE);
    }
  }
  L.InScrollUpdate = false;
}

void SetTop(TListBox& L, int NewTop) {
  NewTop = std::clamp(NewTop, 0, MaxTop(L));
  if (NewTop == L.Top) return;
  L.Top = NewTop;
  InvalidateAll(L);
  UpdateScrollBars(L);
}

void SetHPos(TListBox& L, int Pos) {
  Pos = std::clamp(Pos, 0, std::max(0, L.HExtent - ClientOf(L).Width()));
  if (Pos == L.HPos) return;
  L.HPos = Pos;
  InvalidateAll(L);
  UpdateScrollBars(L);
}

void EnsureVisible(TListBox& L, int I) {
  if (I < 0 || I >= L.Count()) return;
  if (I < L.Top) {
    SetTop(L, I);
    return;
  }
  const int H = ClientOf(L).Height();
  if (!L.Variable()) {
    const int Rows = FullRows(L, 0);
    if (I >= L.Top + Rows) SetTop(L, I - Rows + 1);
    return;
  }
  int Y = 0;
  for (int K = L.Top; K <= I; ++K) Y += HeightOf(L, K);
  if (Y <= H) return;
  int NewTop = I, Sum = HeightOf(L, I);
  while (NewTop > 0 && Sum + HeightOf(L, NewTop - 1) <= H) Sum += HeightOf(L, --NewTop);
  SetTop(L, NewTop);
}

// --- selection -------------------------------------------------------------------------------

bool IsSelected(TListBox& L, int I) {
  if (I < 0 || I >= L.Count()) return false;
  return L.Multi() ? L.Items[std::size_t(I)].Selected : I == L.Sel;
}

void SetItemSelected(TListBox& L, int I, bool On) {
  TLbItem& It = L.Items[std::size_t(I)];
  if (It.Selected == On) return;
  It.Selected = On;
  L.SelCount += On ? 1 : -1;
  InvalidateItem(L, I);
}

// Single selection; true when it changed.
bool SelectSingle(TListBox& L, int I) {
  if (I >= L.Count()) I = -1;
  const int Old = L.Sel;
  if (I != L.Caret) {
    const int OldCaret = L.Caret;
    L.Caret = I;
    InvalidateItem(L, OldCaret);
  }
  if (Old == I) return false;
  L.Sel = I;
  InvalidateItem(L, Old);
  InvalidateItem(L, I);
  return true;
}

void SetCaret(TListBox& L, int I) {
  if (I == L.Caret) return;
  const int Old = L.Caret;
  L.Caret = I;
  InvalidateItem(L, Old);
  InvalidateItem(L, I);
}

// Selects First..Last (either order) and, with Only, clears every other.
bool SelectRange(TListBox& L, int First, int Last, bool On, bool Only) {
  if (L.Count() == 0) return false;
  if (First > Last) std::swap(First, Last);
  First = std::max(First, 0);
  Last = std::min(Last, L.Count() - 1);
  bool Changed = false;
  if (Only && L.SelCount > 0) {
    // Walk the selected items only when few are selected outside the range.
    L.Items.ForEach([&](std::size_t I, TLbItem& It) {
      if (It.Selected && (int(I) < First || int(I) > Last)) {
        It.Selected = false;
        --L.SelCount;
        InvalidateItem(L, int(I));
        Changed = true;
      }
    });
  }
  for (int I = First; I <= Last; ++I) {
    if (L.Items[std::size_t(I)].Selected != On) {
      SetItemSelected(L, I, On);
      Changed = true;
    }
  }
  return Changed;
}

// What a key or a click does to the selection when it moves the caret to
// Index: the style and the modifiers decide. Notifies a change.
void MoveTo(TListBox& L, int Index, bool Shift, bool Ctrl, bool Toggle) {
  if (L.Count() == 0 || L.NoSel()) return;
  Index = std::clamp(Index, 0, L.Count() - 1);
  bool Changed = false;
  if (!L.Multi()) {
    Changed = SelectSingle(L, Index);
  } else if (!L.Extended()) {
    SetCaret(L, Index);
    if (Toggle) {
      SetItemSelected(L, Index, !L.Items[std::size_t(Index)].Selected);
      Changed = true;
    }
  } else if (Toggle) {
    SetCaret(L, Index);
    L.Anchor = Index;
    SetItemSelected(L, Index, !L.Items[std::size_t(Index)].Selected);
    Changed = true;
  } else if (Shift) {
    if (L.Anchor < 0) L.Anchor = std::max(L.Caret, 0);
    SetCaret(L, Index);
    Changed = SelectRange(L, L.Anchor, Index, true, !Ctrl);
  } else if (Ctrl) {
    SetCaret(L, Index);
  } else {
    SetCaret(L, Index);
    L.Anchor = Index;
    Changed = SelectRange(L, Index, Index, true, true);
  }
  EnsureVisible(L, Index);
  if (Changed) Notify(L, LBN_SELCHANGE);
}

// --- items -----------------------------------------------------------------------------------

int CompareItems(TListBox& L, const TLbItem& A, int IndexA, const TLbItem& B, int IndexB) {
  if (L.HasStrings()) return AnsiCompareText(A.Text, B.Text);
  COMPAREITEMSTRUCT C;
  C.CtlType = CtlType(L);
  C.CtlID = CtlId(L);
  C.hwndItem = ItemWindow(L);
  C.itemID1 = UINT(IndexA);
  C.itemData1 = A.Data;
  C.itemID2 = UINT(IndexB);
  C.itemData2 = B.Data;
  HWND Target = OwnerTarget(L);
  return Target ? int(SendMessageA(Target, WM_COMPAREITEM, C.CtlID, LPARAM(&C))) : 0;
}

void MeasureItem(TListBox& L, int Index, TLbItem& It) {
  MEASUREITEMSTRUCT M;
  M.CtlType = CtlType(L);
  M.CtlID = CtlId(L);
  M.itemID = UINT(Index);
  M.itemWidth = UINT(std::max(0, ClientOf(L).Width()));
  M.itemHeight = UINT(L.ItemHeight);
  M.itemData = It.Data;
  if (HWND Target = OwnerTarget(L)) SendMessageA(Target, WM_MEASUREITEM, M.CtlID, LPARAM(&M));
  It.Height = std::clamp(int(M.itemHeight), 1, 32767);
}

LRESULT InsertItem(TListBox& L, int Index, const char* Text, LPARAM Raw, bool Sorted) {
  TLbItem It;
  if (L.HasStrings()) It.Text = Text ? Text : "";
  else It.Data = ULONG_PTR(Raw);
  if (Sorted) {
    Index = int(L.Items.UpperBound(It, [&](const TLbItem& A, const TLbItem& B) {
      return CompareItems(L, A, -1, B, -1) < 0;
    }));
  } else if (Index < 0 || Index > L.Count()) {
    if (Index != -1) return LB_ERR;
    Index = L.Count();
  }
  if (L.Variable()) {
    It.Height = L.ItemHeight;
    // Measured before it joins the list, as the owner sees the new index.
    MeasureItem(L, Index, It);
  }
  L.Items.insert(std::size_t(Index), std::move(It));
  if (L.Sel >= Index) ++L.Sel;
  if (L.Caret >= Index) ++L.Caret;
  if (L.Anchor >= Index) ++L.Anchor;
  // A multiple-selection list always has a caret row once it has rows.
  if (L.Multi() && L.Caret < 0) L.Caret = 0;
  if (L.Redraw) {
    // Rows from the new one down move; rows above stay.
    if (Index >= L.Top) {
      TRect R = ItemRect(L, Index);
      const TRect C = ClientOf(L);
      if (R.Top < C.Bottom) {
        R = {C.Left, std::max(R.Top, 0), C.Right, C.Bottom};
        InvalidateRect(L.Wnd, &R, TRUE);
      }
    } else {
      InvalidateAll(L);
    }
    UpdateScrollBars(L);
  }
  return Index;
}

void SendDeleteItem(TListBox& L, int Index, const TLbItem& It) {
  if (!L.OwnerDraw()) return;
  HWND Target = OwnerTarget(L);
  if (!Target || !IsWindow(Target)) return;
  DELETEITEMSTRUCT D;
  D.CtlType = CtlType(L);
  D.CtlID = CtlId(L);
  D.itemID = UINT(Index);
  D.hwndItem = ItemWindow(L);
  D.itemData = It.Data;
  SendMessageA(Target, WM_DELETEITEM, D.CtlID, LPARAM(&D));
}

LRESULT DeleteItem(TListBox& L, int Index) {
  if (Index < 0 || Index >= L.Count()) return LB_ERR;
  TLbItem It = L.Items[std::size_t(Index)];
  L.Items.erase(std::size_t(Index));
  if (It.Selected) --L.SelCount;
  auto Shift = [&](int& V) {
    if (V == Index) V = -1;
    else if (V > Index) --V;
  };
  Shift(L.Sel);
  Shift(L.Caret);
  Shift(L.Anchor);
  if (L.Caret < 0 && L.Multi() && L.Count() > 0) L.Caret = std::min(Index, L.Count() - 1);
  L.Top = std::clamp(L.Top, 0, MaxTop(L));
  SendDeleteItem(L, Index, It);
  InvalidateAll(L);
  UpdateScrollBars(L);
  return L.Count();
}

void ResetContent(TListBox& L) {
  if (L.OwnerDraw()) {
    // The owner may free what the item data points at.
    std::vector<TLbItem> Gone;
    L.Items.ForEach([&](std::size_t, TLbItem& It) { Gone.push_back(It); });
    L.Items.clear();
    for (std::size_t I = 0; I < Gone.size(); ++I) SendDeleteItem(L, int(I), Gone[I]);
  }
  L.Items.clear();
  L.Sel = L.Caret = L.Anchor = -1;
  L.SelCount = 0;
  L.Top = 0;
  L.HPos = std::min(L.HPos, std::max(0, L.HExtent - ClientOf(L).Width()));
  InvalidateAll(L);
  UpdateScrollBars(L);
}

bool PrefixMatches(const AnsiString& Text, const AnsiString& Prefix) {
  if (Text.size() < Prefix.size()) return false;
  return AnsiSameText(Text.substr(0, Prefix.size()), Prefix);
}

// Searches after Start (wrapping): a prefix, or the whole text with Exact.
// A list without strings compares the item data with Data.
LRESULT Find(TListBox& L, int Start, const char* Text, LPARAM Data, bool Exact) {
  const int N = L.Count();
  if (N == 0) return LB_ERR;
  if (Start < -1 || Start >= N) Start = -1;
  const AnsiString Key = L.HasStrings() && Text ? AnsiString(Text) : AnsiString();
  for (int K = 1; K <= N; ++K) {
    const int I = (Start + K) % N;
    TLbItem& It = L.Items[std::size_t(I)];
    if (!L.HasStrings()) {
      if (It.Data == ULONG_PTR(Data)) return I;
    } else if (Exact ? AnsiSameText(It.Text, Key) : PrefixMatches(It.Text, Key)) {
      return I;
    }
  }
  return LB_ERR;
}

// --- painting --------------------------------------------------------------------------------

HFONT FontOf(const TListBox& L) {
  HFONT F = HFONT(SendMessageA(L.Wnd, WM_GETFONT, 0, 0));
  return F ? F : HFONT(GetStockObject(DEFAULT_GUI_FONT));
}

int FontItemHeight(const TListBox& L) {
  HDC Dc = GetDC(L.Wnd);
  TSelectObjectGuard Font(Dc, FontOf(L));
  TEXTMETRICA Tm;
  const int H = GetTextMetricsA(Dc, &Tm) ? int(Tm.tmHeight) : 13;
  ReleaseDC(L.Wnd, Dc);
  return std::max(1, H);
}

void DrawOneItem(TListBox& L, HDC Dc, int I, const TRect& R, COLORREF TextColor, COLORREF BackColor) {
  TLbItem& It = L.Items[std::size_t(I)];
  const bool Selected = IsSelected(L, I);
  const bool Enabled = IsWindowEnabled(L.Wnd);
  const bool FocusHere = L.Focused && I == L.Caret && !L.Combo;
  if (L.OwnerDraw()) {
    DRAWITEMSTRUCT D;
    D.CtlType = CtlType(L);
    D.CtlID = CtlId(L);
    D.itemID = UINT(I);
    D.itemAction = ODA_DRAWENTIRE;
    D.itemState = (Selected ? ODS_SELECTED : 0) | (FocusHere ? ODS_FOCUS : 0) | (Enabled ? 0 : ODS_DISABLED);
    D.hwndItem = ItemWindow(L);
    D.hDC = Dc;
    D.rcItem = R;
    D.itemData = It.Data;
    TSaveDcGuard Keep(Dc);
    IntersectClipRect(Dc, R.Left, R.Top, R.Right, R.Bottom);
    if (HWND Target = OwnerTarget(L)) SendMessageA(Target, WM_DRAWITEM, D.CtlID, LPARAM(&D));
    return;
  }
  const COLORREF Back = Selected ? GetSysColor(COLOR_HIGHLIGHT) : BackColor;
  const COLORREF Fore = !Enabled ? GetSysColor(COLOR_GRAYTEXT)
                                 : Selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : TextColor;
  SetBkColor(Dc, Back);
  SetTextColor(Dc, Fore);
  const std::size_t N = std::min(It.Text.size(), MaxPaintedChars);
  ExtTextOutA(Dc, R.Left + 2, R.Top, ETO_OPAQUE | ETO_CLIPPED, &R, It.Text.data(), UINT(N), nullptr);
  if (FocusHere) DrawFocusRect(Dc, &R);
}

void Paint(TListBox& L, HDC Dc, const TRect& Area) {
  TSaveDcGuard Keep(Dc);
  HWND Target = L.Combo ? L.Combo : GetParent(L.Wnd);
  HBRUSH Brush = Target ? HBRUSH(SendMessageA(Target, WM_CTLCOLORLISTBOX, WPARAM(Dc), LPARAM(L.Wnd))) : nullptr;
  if (!Brush) {
    Brush = GetSysColorBrush(COLOR_WINDOW);
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
  }
  const COLORREF TextColor = GetTextColor(Dc);
  const COLORREF BackColor = GetBkColor(Dc);
  SelectObject(Dc, FontOf(L));
  FillRect(Dc, &Area, Brush);
  const TRect C = ClientOf(L);
  int Y = 0;
  for (int I = L.Top; I < L.Count() && Y < C.Bottom; ++I) {
    const int H = HeightOf(L, I);
    TRect R{-L.HPos, Y, std::max(C.Width(), L.HExtent) - L.HPos, Y + H};
    Y += H;
    if (R.Bottom <= Area.Top || R.Top >= Area.Bottom) continue;
    DrawOneItem(L, Dc, I, R, TextColor, BackColor);
  }
  // An empty list with the focus still shows where it is.
  if (L.Count() == 0 && L.Focused && !L.OwnerDraw() && !L.Combo) {
    TRect R{0, 0, C.Right, L.ItemHeight};
    DrawFocusRect(Dc, &R);
  }
}

// --- input -----------------------------------------------------------------------------------

bool KeyDown(int Vk) { return GetKeyState(Vk) < 0; }

void HandleKey(TListBox& L, WPARAM Vk) {
  int Target = -2;  // -2: the key's own meaning
  if (L.Style & LBS_WANTKEYBOARDINPUT) {
    HWND Owner = NotifyTarget(L);
    const LRESULT R = Owner ? SendMessageA(Owner, WM_VKEYTOITEM, MAKEWPARAM(int(Vk), L.Caret), LPARAM(L.Wnd)) : -1;
    if (R == -2) return;
    if (R >= 0) Target = int(R);
  }
  const int N = L.Count();
  if (N == 0) return;
  const bool Shift = KeyDown(VK_SHIFT), Ctrl = KeyDown(VK_CONTROL);
  const int Cur = L.Caret < 0 ? (L.Multi() ? 0 : L.Sel) : L.Caret;
  int Next = -1;
  if (Target >= 0) {
    Next = Target;
  } else {
    switch (Vk) {
      case VK_UP:
      case VK_LEFT: Next = Cur < 0 ? 0 : Cur - 1; break;
      case VK_DOWN:
      case VK_RIGHT: Next = Cur < 0 ? 0 : Cur + 1; break;
      case VK_PRIOR: Next = std::max(Cur, 0) - std::max(1, FullRows(L, L.Top) - 1); break;
      case VK_NEXT: Next = std::max(Cur, 0) + std::max(1, FullRows(L, L.Top) - 1); break;
      case VK_HOME: Next = 0; break;
      case VK_END: Next = N - 1; break;
      case VK_SPACE:
        if (L.Multi() && (!L.Extended() || Ctrl)) MoveTo(L, std::max(Cur, 0), false, false, true);
        else if (L.Extended()) MoveTo(L, std::max(Cur, 0), Shift, false, false);
        return;
      default: return;
    }
  }
  MoveTo(L, std::clamp(Next, 0, N - 1), Shift, Ctrl, false);
}

void HandleChar(TListBox& L, char Ch) {
  if ((L.Style & LBS_WANTKEYBOARDINPUT) && !L.HasStrings()) {
    HWND Owner = NotifyTarget(L);
    const LRESULT R = Owner ? SendMessageA(Owner, WM_CHARTOITEM, MAKEWPARAM(BYTE(Ch), L.Caret), LPARAM(L.Wnd)) : -1;
    if (R >= 0) MoveTo(L, int(R), false, false, false);
    return;
  }
  if (!L.HasStrings() || BYTE(Ch) < 0x20 || L.Count() == 0) return;
  if (Ch == ' ' && L.Multi()) return;  // the space bar selects there
  const DWORD Now = GetTickCount();
  if (Now - L.PrefixTime > TypeAheadPause) L.Prefix.clear();
  L.PrefixTime = Now;
  L.Prefix += Ch;
  const int Cur = L.Multi() ? L.Caret : L.Sel;
  // A first letter looks past the current item; a longer prefix may stay on it.
  const int Start = L.Prefix.size() == 1 ? Cur : Cur - 1;
  LRESULT Found = Find(L, Start, L.Prefix.c_str(), 0, false);
  if (Found == LB_ERR && L.Prefix.size() > 1) {
    // A repeated letter cycles through the items it begins.
    bool Same = std::all_of(L.Prefix.begin(), L.Prefix.end(), [&](char C) { return C == L.Prefix[0]; });
    if (Same) Found = Find(L, Cur, L.Prefix.substr(0, 1).c_str(), 0, false);
  }
  if (Found != LB_ERR) MoveTo(L, int(Found), false, false, false);
}

void MouseDown(TListBox& L, WPARAM Keys, TPoint P, bool Double) {
  const HWND Wnd = L.Wnd;
  if (!L.Combo) {
    if (GetFocus() != Wnd) SetFocus(Wnd);
    if (!IsWindow(Wnd)) return;
  }
  bool Outside = false;
  const int I = ItemFromPoint(L, P, &Outside);
  if (I < 0 || Outside) return;
  L.Tracking = true;
  SetCapture(L.Wnd);
  const bool Shift = Keys & MK_SHIFT, Ctrl = Keys & MK_CONTROL;
  if (L.Multi() && !L.Extended()) {
    MoveTo(L, I, false, false, true);
  } else if (L.Extended() && Ctrl && !Shift) {
    L.TrackDeselect = L.Items[std::size_t(I)].Selected;
    MoveTo(L, I, false, true, true);
  } else {
    L.TrackDeselect = false;
    MoveTo(L, I, Shift, Ctrl, false);
  }
  // The selection's notification may have destroyed the list.
  if (Double && IsWindow(Wnd)) Notify(L, LBN_DBLCLK);
}

void MouseDrag(TListBox& L, TPoint P) {
  if (!L.Tracking || L.Count() == 0) return;
  const TRect C = ClientOf(L);
  int I;
  if (P.Y < 0) {
    I = L.Top - 1;
  } else if (P.Y >= C.Bottom) {
    I = L.Top + FullRows(L, L.Top);
  } else {
    I = ItemFromPoint(L, P, nullptr);
  }
  I = std::clamp(I, 0, L.Count() - 1);
  if (L.Multi() && !L.Extended()) {
    SetCaret(L, I);
    EnsureVisible(L, I);
    return;
  }
  if (!L.Multi()) {
    MoveTo(L, I, false, false, false);
    return;
  }
  if (I == L.Caret) return;
  // An extended drag spreads the anchor's state over the range.
  SetCaret(L, I);
  const bool Changed = SelectRange(L, L.Anchor < 0 ? I : L.Anchor, I, !L.TrackDeselect, !KeyDown(VK_CONTROL));
  EnsureVisible(L, I);
  if (Changed) Notify(L, LBN_SELCHANGE);
}

void Scroll(TListBox& L, int Bar, int Code) {
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  GetScrollInfo(L.Wnd, Bar, &Si);
  if (Bar == SB_VERT) {
    const int Page = std::max(1, FullRows(L, L.Top) - 1);
    switch (Code) {
      case SB_LINEUP: SetTop(L, L.Top - 1); break;
      case SB_LINEDOWN: SetTop(L, L.Top + 1); break;
      case SB_PAGEUP: SetTop(L, L.Top - Page); break;
      case SB_PAGEDOWN: SetTop(L, L.Top + Page); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: SetTop(L, Si.nTrackPos); break;
      case SB_TOP: SetTop(L, 0); break;
      case SB_BOTTOM: SetTop(L, L.Count()); break;
      default: break;
    }
    return;
  }
  const int Line = std::max(1, L.ItemHeight / 2);
  const int Page = std::max(1, ClientOf(L).Width());
  switch (Code) {
    case SB_LINELEFT: SetHPos(L, L.HPos - Line); break;
    case SB_LINERIGHT: SetHPos(L, L.HPos + Line); break;
    case SB_PAGELEFT: SetHPos(L, L.HPos - Page); break;
    case SB_PAGERIGHT: SetHPos(L, L.HPos + Page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetHPos(L, Si.nTrackPos); break;
    case SB_LEFT: SetHPos(L, 0); break;
    case SB_RIGHT: SetHPos(L, L.HExtent); break;
    default: break;
  }
}

DWORD NormalStyle(DWORD Style) {
  if (Style & LBS_OWNERDRAWVARIABLE) Style &= ~LBS_OWNERDRAWFIXED;
  if (Style & LBS_EXTENDEDSEL) Style &= ~LBS_MULTIPLESEL;
  if (Style & LBS_NOSEL) Style &= ~(LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  if (!(Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) Style |= LBS_HASSTRINGS;
  return Style;
}

LRESULT Create(HWND Wnd, const CREATESTRUCTA* Cs) {
  auto L = std::make_unique<TListBox>();
  L->Wnd = Wnd;
  L->Style = NormalStyle(DWORD(Cs ? Cs->style : GetWindowLongA(Wnd, GWL_STYLE)));
  if (L->Style & LBS_COMBOBOX) L->Combo = Cs ? Cs->hwndParent : GetParent(Wnd);
  L->Redraw = !(L->Style & LBS_NOREDRAW);
  L->VBar = L->Style & WS_VSCROLL;
  L->HBar = L->Style & WS_HSCROLL;
  TListBox& Ref = *L;
  SetPropA(Wnd, StateProp, L.release());
  Ref.ItemHeight = FontItemHeight(Ref);
  if (Ref.Style & LBS_OWNERDRAWFIXED) {
    TLbItem Probe;
    MeasureItem(Ref, 0, Probe);
    Ref.ItemHeight = Probe.Height;
  }
  UpdateScrollBars(Ref);
  return 0;
}

// Runs the height through WM_WINDOWPOSCHANGING, which keeps whole rows.
void FitIntegralHeight(TListBox& L) {
  if ((L.Style & LBS_NOINTEGRALHEIGHT) || L.Variable()) return;
  TRect Wr;
  GetWindowRect(L.Wnd, &Wr);
  SetWindowPos(L.Wnd, nullptr, 0, 0, Wr.Width(), Wr.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Dispatch(TListBox& L, UINT Msg, WPARAM W, LPARAM Lp) {
  HWND Wnd = L.Wnd;
  switch (Msg) {
    case WM_CREATE: FitIntegralHeight(L); return 0;
    // --- items
    case LB_ADDSTRING: return InsertItem(L, -1, reinterpret_cast<const char*>(Lp), Lp, L.Style & LBS_SORT);
    case LB_INSERTSTRING: return InsertItem(L, int(W), reinterpret_cast<const char*>(Lp), Lp, false);
    case LB_DELETESTRING: return DeleteItem(L, int(W));
    case LB_RESETCONTENT: ResetContent(L); return LB_OKAY;
    case LB_INITSTORAGE: return L.Count() + LRESULT(W);
    case LB_GETCOUNT: return L.Count();
    case LB_GETTEXTLEN:
      if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
      return L.HasStrings() ? LRESULT(L.Items[W].Text.size()) : LRESULT(sizeof(ULONG_PTR));
    case LB_GETTEXT: {
      if (int(W) < 0 || int(W) >= L.Count() || !Lp) return LB_ERR;
      TLbItem& It = L.Items[W];
      if (!L.HasStrings()) {
        std::memcpy(reinterpret_cast<void*>(Lp), &It.Data, sizeof It.Data);
        return sizeof It.Data;
      }
      char* Out = reinterpret_cast<char*>(Lp);
      std::memcpy(Out, It.Text.data(), It.Text.size());
      Out[It.Text.size()] = 0;
      return LRESULT(It.Text.size());
    }
    case LB_GETITEMDATA:
      if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
      return LRESULT(L.Items[W].Data);
    case LB_SETITEMDATA:
      if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
      L.Items[W].Data = ULONG_PTR(Lp);
      return LB_OKAY;
    case LB_FINDSTRING: return Find(L, int(W), reinterpret_cast<const char*>(Lp), Lp, false);
    case LB_FINDSTRINGEXACT: return Find(L, int(W), reinterpret_cast<const char*>(Lp), Lp, true);
    case LB_SELECTSTRING: {
      if (L.Multi()) return LB_ERR;
      const LRESULT I = Find(L, int(W), reinterpret_cast<const char*>(Lp), Lp, false);
      if (I != LB_ERR) {
        SelectSingle(L, int(I));
        EnsureVisible(L, int(I));
      }
      return I;
    }

    // --- selection
    case LB_SETCURSEL: {
      if (L.Multi()) return LB_ERR;
      const int I = int(W);
      if (I < 0 || I >= L.Count()) {
        SelectSingle(L, -1);
        return LB_ERR;
      }
      SelectSingle(L, I);
      EnsureVisible(L, I);
      return I;
    }
    case LB_GETCURSEL:
      if (L.Multi()) return L.Caret;
      return L.Sel;
    case LB_SETSEL: {
      if (!L.Multi()) return LB_ERR;
      const int I = int(Lp);
      if (I == -1) {
        if (L.Count() > 0) SelectRange(L, 0, L.Count() - 1, W != 0, false);
        return LB_OKAY;
      }
      if (I < 0 || I >= L.Count()) return LB_ERR;
      SetItemSelected(L, I, W != 0);
      return LB_OKAY;
    }
    case LB_GETSEL:
      if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
      return IsSelected(L, int(W)) ? 1 : 0;
    case LB_GETSELCOUNT: return L.Multi() ? L.SelCount : LB_ERR;
    case LB_GETSELITEMS: {
      if (!L.Multi()) return LB_ERR;
      int* Out = reinterpret_cast<int*>(Lp);
      const int Max = int(W);
      int N = 0;
      if (!Out || Max <= 0 || L.SelCount == 0) return 0;
      L.Items.ForEach([&](std::size_t I, TLbItem& It) {
        if (It.Selected && N < Max) Out[N++] = int(I);
      });
      return N;
    }
    case LB_SELITEMRANGE:
      if (!L.Multi()) return LB_ERR;
      SelectRange(L, LOWORD(std::uintptr_t(Lp)), HIWORD(std::uintptr_t(Lp)), W != 0, false);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (!L.Multi()) return LB_ERR;
      const int First = int(W), Last = int(Lp);
      SelectRange(L, First, Last, First <= Last, false);
      return LB_OKAY;
    }
    case LB_SETANCHORINDEX:
      if (int(W) < -1 || int(W) >= L.Count()) return LB_ERR;
      L.Anchor = int(W);
      return LB_OKAY;
    case LB_GETANCHORINDEX: return L.Anchor;
    case LB_SETCARETINDEX:
      if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
      SetCaret(L, int(W));
      if (!L.Multi()) SelectSingle(L, int(W));
      EnsureVisible(L, int(W));
      return LB_OKAY;
    case LB_GETCARETINDEX: return L.Multi() ? L.Caret : (L.Caret >= 0 ? L.Caret : L.Sel);

    // --- geometry
    case LB_SETTOPINDEX:
      if (int(W) < 0 || (int(W) >= L.Count() && L.Count() > 0)) return LB_ERR;
      SetTop(L, int(W));
      return LB_OKAY;
    case LB_GETTOPINDEX: return L.Top;
    case LB_GETITEMRECT: {
      if (int(W) < 0 || int(W) >= std::max(L.Count(), 1) || !Lp) return LB_ERR;
      *reinterpret_cast<TRect*>(Lp) = ItemRect(L, int(W));
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      bool Outside = false;
      const int I = ItemFromPoint(L, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)}, &Outside);
      if (I < 0) return MAKELRESULT(0, 1);
      return MAKELRESULT(I, Outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
      const int H = int(LOWORD(std::uintptr_t(Lp)));
      if (H <= 0 || H > 255) return LB_ERR;
      if (L.Variable()) {
        if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
        L.Items[W].Height = H;
      } else {
        L.ItemHeight = H;
        FitIntegralHeight(L);
      }
      L.Top = std::clamp(L.Top, 0, MaxTop(L));
      InvalidateAll(L);
      UpdateScrollBars(L);
      return LB_OKAY;
    }
    case LB_GETITEMHEIGHT:
      if (L.Variable() && L.Count() > 0) {
        if (int(W) < 0 || int(W) >= L.Count()) return LB_ERR;
        return L.Items[W].Height;
      }
      return L.ItemHeight;
    case LB_SETHORIZONTALEXTENT:
      L.HExtent = std::max(0, int(W));
      L.HPos = std::clamp(L.HPos, 0, std::max(0, L.HExtent - ClientOf(L).Width()));
      InvalidateAll(L);
      UpdateScrollBars(L);
      return 0;
    case LB_GETHORIZONTALEXTENT: return L.HExtent;

    // --- window
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      DefWindowProcA(Wnd, Msg, W, Lp);
      if (!L.OwnerDraw()) L.ItemHeight = FontItemHeight(L);
      FitIntegralHeight(L);
      L.Top = std::clamp(L.Top, 0, MaxTop(L));
      UpdateScrollBars(L);
      if (LOWORD(std::uintptr_t(Lp))) InvalidateAll(L);
      return 0;
    case WM_SETREDRAW:
      L.Redraw = W != 0;
      if (L.Redraw) {
        L.Top = std::clamp(L.Top, 0, MaxTop(L));
        UpdateScrollBars(L);
        InvalidateRect(Wnd, nullptr, TRUE);
      }
      return 0;
    case WM_SIZE:
      L.Top = std::clamp(L.Top, 0, MaxTop(L));
      L.HPos = std::clamp(L.HPos, 0, std::max(0, L.HExtent - ClientOf(L).Width()));
      UpdateScrollBars(L);
      InvalidateAll(L);
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* Pos = reinterpret_cast<WINDOWPOS*>(Lp);
      if (Pos && !(Pos->flags & SWP_NOSIZE) && !(L.Style & LBS_NOINTEGRALHEIGHT) && !L.Variable()) {
        // Only whole rows show: the height drops to the last full one.
        TRect Wr, Cr;
        GetWindowRect(Wnd, &Wr);
        GetClientRect(Wnd, &Cr);
        const int Frame = Wr.Height() - Cr.Height();
        const int Client = Pos->cy - Frame;
        if (Client > L.ItemHeight) Pos->cy = Frame + Client - Client % L.ItemHeight;
      }
      return DefWindowProcA(Wnd, Msg, W, Lp);
    }
    case WM_ENABLE: InvalidateAll(L); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      // Printing draws the whole client; WM_PAINT only the area it asks for.
      TControlPaintDc Dc(Wnd, W);
      Paint(L, Dc.Dc(), Dc.PaintArea() ? *Dc.PaintArea() : ClientOf(L));
      return 0;
    }
    case WM_SETFOCUS:
      L.Focused = true;
      InvalidateItem(L, L.Caret);
      if (L.Count() == 0) InvalidateAll(L);
      Notify(L, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      L.Focused = false;
      InvalidateItem(L, L.Caret);
      if (L.Count() == 0) InvalidateAll(L);
      Notify(L, LBN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN: HandleKey(L, W); return 0;
    case WM_CHAR: HandleChar(L, char(W)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(L, W, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)}, Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (L.Tracking && GetCapture() == Wnd) MouseDrag(L, {GET_X_LPARAM(Lp), GET_Y_LPARAM(Lp)});
      return 0;
    case WM_LBUTTONUP:
      if (L.Tracking) {
        L.Tracking = false;
        if (GetCapture() == Wnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED: L.Tracking = false; return 0;
    case WM_CANCELMODE:
      L.Tracking = false;
      if (GetCapture() == Wnd) ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL:
      SetTop(L, L.Top - 3 * GET_WHEEL_DELTA_WPARAM(W) / WHEEL_DELTA);
      return 0;
    case WM_VSCROLL: Scroll(L, SB_VERT, LOWORD(W)); return 0;
    case WM_HSCROLL: Scroll(L, SB_HORZ, LOWORD(W)); return 0;
    default: return DefWindowProcA(Wnd, Msg, W, Lp);
  }
}
}  // namespace

LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  TListBox* State = StateOf(Wnd);
  if (!State) {
    if (Msg == WM_NCCREATE) {
      Create(Wnd, reinterpret_cast<const CREATESTRUCTA*>(L));
      return DefWindowProcA(Wnd, Msg, W, L);
    }
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Wnd, StateProp);
    delete State;
    return DefWindowProcA(Wnd, Msg, W, L);
  }
  if (Msg == WM_STYLECHANGED && W == WPARAM(GWL_STYLE)) {
    // Only the selection and notification bits can change on a live list.
    const DWORD New = NormalStyle(reinterpret_cast<const STYLESTRUCT*>(L)->styleNew);
    const DWORD Live = LBS_NOTIFY | LBS_DISABLENOSCROLL | LBS_NOSEL | LBS_WANTKEYBOARDINPUT;
    State->Style = (State->Style & ~Live) | (New & Live);
    return 0;
  }
  return Dispatch(*State, Msg, W, L);
}

bool RegisterListBoxClasses() {
  bool Ok = true;
  for (const char* Name : {WC_LISTBOXA, ComboLBoxClassName}) {
    WNDCLASSA Existing;
    if (GetClassInfoA(nullptr, Name, &Existing)) continue;
    WNDCLASSA C;
    C.style = CS_DBLCLKS | CS_GLOBALCLASS | (Name == ComboLBoxClassName ? CS_SAVEBITS : 0);
    C.lpfnWndProc = &ListBoxWndProc;
    C.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    C.lpszClassName = Name;
    Ok = RegisterClassA(&C) != 0 && Ok;
  }
  return Ok;
}
