// The common controls with many items: filling a list view or a tree view
// with 100 000 items and scrolling through them a page at a time, painting
// each page as the display would.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {
struct TWindows {
  TWindows() {
    ResetWindowSystem();
    InitCommonControls();
    Parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr, nullptr,
                             nullptr);
    if (!Parent) {
      WNDCLASSA C;
      C.lpfnWndProc = &DefWindowProcA;
      C.lpszClassName = "SxBenchParent";
      RegisterClassA(&C);
      Parent = CreateWindowExA(0, "SxBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr,
                               nullptr, nullptr);
    }
  }
  ~TWindows() { ResetWindowSystem(); }
  HWND Make(const char* Class, DWORD Style) {
    return CreateWindowExA(0, Class, "", WS_CHILD | WS_VISIBLE | Style, 0, 0, 400, 300, Parent, nullptr, nullptr,
                           nullptr);
  }
  HWND Parent = nullptr;
};

void FillList(HWND List, int N) {
  SendMessageA(List, WM_SETREDRAW, FALSE, 0);
  std::string Text;
  for (int i = 0; i < N; ++i) {
    Text = "document " + std::to_string(i) + ".rtf";
    LVITEMA I;
    I.mask = LVIF_TEXT | LVIF_PARAM;
    I.iItem = i;
    I.pszText = Text.data();
    I.lParam = i;
    SendMessageA(List, LVM_INSERTITEMA, 0, LPARAM(&I));
  }
  SendMessageA(List, WM_SETREDRAW, TRUE, 0);
}

void BM_ListViewInsert(benchmark::State& State) {
  const int N = int(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    TWindows W;
    HWND List = W.Make(WC_LISTVIEW, LVS_REPORT);
    State.ResumeTiming();
    FillList(List, N);
    benchmark::DoNotOptimize(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_ListViewInsert)->Arg(100000)->Unit(benchmark::kMillisecond);

// Sorted inserts: a binary search each and one move of pointers.
void BM_ListViewInsertSorted(benchmark::State& State) {
  const int N = int(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    TWindows W;
    HWND List = W.Make(WC_LISTVIEW, LVS_LIST | LVS_SORTASCENDING);
    State.ResumeTiming();
    std::string Text;
    for (int i = 0; i < N; ++i) {
      Text = std::to_string((i * 7919) % N);
      LVITEMA I;
      I.mask = LVIF_TEXT;
      I.pszText = Text.data();
      SendMessageA(List, LVM_INSERTITEMA, 0, LPARAM(&I));
    }
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_ListViewInsertSorted)->Arg(100000)->Unit(benchmark::kMillisecond);

// One page down and a repaint of the page, from the top to the end.
void BM_ListViewScrollToEnd(benchmark::State& State) {
  const int N = int(State.range(0));
  TWindows W;
  HWND List = W.Make(WC_LISTVIEW, LVS_REPORT);
  LVCOLUMNA C;
  C.mask = LVCF_TEXT | LVCF_WIDTH;
  C.pszText = const_cast<char*>("Name");
  C.cx = 300;
  SendMessageA(List, LVM_INSERTCOLUMNA, 0, LPARAM(&C));
  FillList(List, N);
  UpdateWindow(W.Parent);
  const int Page = int(SendMessageA(List, LVM_GETCOUNTPERPAGE, 0, 0));
  int Pages = 0;
  for (auto _ : State) {
    SendMessageA(List, WM_VSCROLL, SB_TOP, 0);
    for (int Top = 0; Top + Page < N; Top += Page) {
      SendMessageA(List, WM_VSCROLL, SB_PAGEDOWN, 0);
      UpdateWindow(List);
      ++Pages;
    }
  }
  State.counters["pages"] = benchmark::Counter(double(Pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ListViewScrollToEnd)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Selecting the last item from the first with the keyboard's End: one
// notification pair, whatever the count.
void BM_ListViewSelectAllAndClear(benchmark::State& State) {
  const int N = int(State.range(0));
  TWindows W;
  HWND List = W.Make(WC_LISTVIEW, LVS_REPORT);
  FillList(List, N);
  for (auto _ : State) {
    LVITEMA S;
    S.state = LVIS_SELECTED;
    S.stateMask = LVIS_SELECTED;
    SendMessageA(List, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&S));
    S.state = 0;
    SendMessageA(List, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&S));
  }
}
BENCHMARK(BM_ListViewSelectAllAndClear)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeViewInsertAndScroll(benchmark::State& State) {
  const int N = int(State.range(0));
  for (auto _ : State) {
    TWindows W;
    HWND Tree = W.Make(WC_TREEVIEW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
    HTREEITEM Last = nullptr;
    for (int i = 0; i < N; ++i) {
      TVINSERTSTRUCTA In;
      In.hParent = TVI_ROOT;
      In.hInsertAfter = TVI_LAST;
      In.item.mask = TVIF_TEXT;
      In.item.pszText = const_cast<char*>("folder");
      Last = reinterpret_cast<HTREEITEM>(SendMessageA(Tree, TVM_INSERTITEMA, 0, LPARAM(&In)));
    }
    SendMessageA(Tree, TVM_ENSUREVISIBLE, 0, LPARAM(Last));
    UpdateWindow(Tree);
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_TreeViewInsertAndScroll)->Arg(100000)->Unit(benchmark::kMillisecond);

// The class library's list: items through TListItems (captions by callback).
void BM_TListViewAddItems(benchmark::State& State) {
  const int N = int(State.range(0));
  for (auto _ : State) {
    ResetWindowSystem();
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 420, 320);
    auto* L = new TListView(&Form);
    L->SetParent(&Form);
    L->SetViewStyle(vsReport);
    L->GetItems()->BeginUpdate();
    for (int i = 0; i < N; ++i) L->GetItems()->Add()->SetCaption("item");
    L->GetItems()->EndUpdate();
    benchmark::DoNotOptimize(L->GetItems()->Count());
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_TListViewAddItems)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace
