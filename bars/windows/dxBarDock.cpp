// dxBarDock.cpp — dock sites, their rows and columns, showing a bar's
// window from its stored place, and dragging a bar between sites.
#include <algorithm>
#include "bars/drawing/dxBarDrawing.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/DcApi.h"
#include "platform/forms/Application.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Paint.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Rects.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

// ---------------------------------------------------------------------------
// Rows

TdxDockRow::~TdxDockRow() = default;

TdxDockCol* TdxDockRow::InsertCol(Integer Index, TdxBarControl* ABarControl) {
  Index = std::clamp<Integer>(Index, 0, ColCount());
  auto It = FCols.insert(FCols.begin() + Index, std::make_unique<TdxDockCol>(this, ABarControl));
  return It->get();
}

void TdxDockRow::RemoveCol(TdxDockCol* ACol) {
  std::erase_if(FCols, [ACol](const std::unique_ptr<TdxDockCol>& C) { return C.get() == ACol; });
}

Integer TdxDockRow::IndexOf(const TdxDockCol* ACol) const {
  for (Integer I = 0; I < ColCount(); ++I)
    if (Col(I) == ACol) return I;
  return -1;
}

// ---------------------------------------------------------------------------
// TdxDockControl

TdxDockControl::TdxDockControl(TComponent* AOwner, TdxBarManager* AManager, TdxBarDockingStyle AStyle)
    : TCustomControl(AOwner), FDockingStyle(AStyle) {
  TControlStyle S = ControlStyle();
  S.Include(csAcceptsControls);
  S.Include(csNoDesignVisible);
  SetControlStyle(S);
  SetParentColor(true);
  SetBounds(0, 0, 0, 0);
  SetBarManager(AManager);
}

TdxDockControl::~TdxDockControl() {
  Destroying();
  FRows.clear();
  if (FBarManager) FBarManager->RemoveDockControl(this);
}

void TdxDockControl::SetBarManager(TdxBarManager* Value) {
  if (FBarManager == Value) return;
  if (FBarManager) FBarManager->RemoveDockControl(this);
  FBarManager = Value;
  if (FBarManager) FBarManager->AddDockControl(this);
}

void TdxDockControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  Params.WindowClass.style = CS_DBLCLKS;
}

void TdxDockControl::Paint() {
  TBitmap* B = FBarManager && FBarManager->GetBackgrounds() ? FBarManager->GetBackgrounds()->GetBar() : nullptr;
  if (B && !B->Empty()) {
    const TRect R = GetClientRect();
    TileBitmap(Canvas()->GetHandle(), R, R, B);
    return;
  }
  const TdxDockPaintWindow Site(this);
  dxBarPainterOf(FBarManager)->DrawDockControlBackground(Site, Canvas()->GetHandle(), GetColor(),
                                                         GetSysColorBrush(COLOR_BTNFACE), GetClientRect(), {0, 0});
}

void TdxDockControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      if (FBarManager && !FBarManager->IsDesigning()) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_SIZE: {
      TCustomControl::WndProc(Message);
      // A site that got shorter or longer along its rows (the form was
      // resized) fits its bars again: squeezed ones hide items behind the mark.
      const Integer Along = IsVertical() ? GetHeight() : GetWidth();
      if (Along != FLaidOutAlong && !FUpdating) {
        FLaidOutAlong = Along;
        UpdateDock();
      }
      return;
    }
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

TdxDockCol* TdxDockControl::FindCol(TdxBarControl* ABarControl) const {
  for (const auto& R : FRows)
    for (Integer I = 0; I < R->ColCount(); ++I)
      if (R->Col(I)->BarControl() == ABarControl) return R->Col(I);
  return nullptr;
}

Integer TdxDockControl::RowIndexOf(TdxBarControl* ABarControl) const {
  for (Integer I = 0; I < RowCount(); ++I)
    for (Integer J = 0; J < Row(I)->ColCount(); ++J)
      if (Row(I)->Col(J)->BarControl() == ABarControl) return I;
  return -1;
}

Integer TdxDockControl::GetRowsSize() const {
  Integer S = 0;
  for (const auto& R : FRows) S += R->Thickness;
  return S;
}

TRect TdxDockControl::GetDockZoneRect() {
  TPoint O = ClientToScreen({0, 0});
  TRect R{O.X, O.Y, O.X + GetWidth(), O.Y + GetHeight()};
  R.Left -= DockZone;
  R.Right += DockZone;
  if (!IsVertical()) {
    R.Top -= DockZone;
    R.Bottom += DockZone;
  }
  return R;
}

void TdxDockControl::RowIndexAt(TPoint ScreenPt, Integer& ARow, bool& ANewRow) const {
  ARow = 0;
  ANewRow = true;
  if (FRows.empty()) return;
  const TPoint P = ScreenToClient(ScreenPt);
  const Integer C = IsVertical() ? P.X : P.Y;
  const bool Leading = FDockingStyle == dsLeft || FDockingStyle == dsTop;
  const Integer E = IsVertical() ? ClientWidth() : ClientHeight();
  const Integer S = GetRowsSize();
  const Integer Z = DockZone;
  for (Integer R = -1; R <= RowCount(); ++R) {
    Integer Start, End;
    if (R == -1) {
      Start = Leading ? -Z : E - S - Z;
      End = Start + Z;
    } else if (R == RowCount()) {
      Start = Leading ? S : E;
      End = Start + Z;
    } else {
      Start = Row(R)->Offset;
      End = Start + Row(R)->Thickness;
    }
    const Integer B = Leading ? Start + (Z - 5) / 2 : End - 14;
    if (C >= Start && C < B) {
      ARow = R;
      ANewRow = false;
    } else if (C >= B && C < B + 5) {
      ARow = R + 1;
      ANewRow = true;
    } else if (C >= B + 5 && C < End) {
      ARow = R + 1;
      ANewRow = false;
    } else continue;
    if (ARow < 0) ARow = 0, ANewRow = true;
    if (ARow >= RowCount()) ANewRow = true;
    return;
  }
  ARow = C < S ? 0 : RowCount();
  ANewRow = true;
}

Integer TdxDockControl::ColIndexAt(TdxDockRow* ARow, TPoint SitePt) const {
  const Integer Along = IsVertical() ? SitePt.Y : SitePt.X;
  for (Integer I = 0; I < ARow->ColCount(); ++I)
    if (ARow->Col(I)->Pos >= Along) return I;
  return ARow->ColCount();
}

void TdxDockControl::DockBar(TdxBarControl* W, TPoint ScreenPt, bool ALayout, bool AFromStoredPlace) {
  if (!FBarManager || !W) return;
  TdxBar* B = W->Bar();
  Integer RowIndex;
  bool NewRow;
  if (AFromStoredPlace) {
    RowIndex = B->GetRow();
    NewRow = B->GetOneOnRow();
  } else RowIndexAt(ScreenPt, RowIndex, NewRow);
  if (B->GetWholeRow()) NewRow = true;
  // A stored row past the existing ones opens a new row at the end rather
  // than joining the last row.
  if (RowIndex >= RowCount()) NewRow = true;
  RowIndex = std::max<Integer>(0, std::min<Integer>(RowIndex, NewRow ? RowCount() : RowCount() - 1));
  if (RowIndex < RowCount())
    for (Integer I = 0; I < Row(RowIndex)->ColCount(); ++I) {
      TdxBarControl* Other = Row(RowIndex)->Col(I)->BarControl();
      if (Other != W && Other->Bar()->GetWholeRow()) NewRow = true;
    }
  if (RowIndex >= RowCount()) NewRow = true;
  TdxDockRow* R;
  const TPoint SitePt = ScreenToClient(ScreenPt);
  Integer ColIndex = 0;
  if (NewRow) {
    if (AFromStoredPlace && RowIndex < RowCount() && Row(RowIndex)->ColCount() == 0) R = Row(RowIndex);
    else {
      auto It = FRows.insert(FRows.begin() + RowIndex, std::make_unique<TdxDockRow>(this));
      R = It->get();
    }
  } else {
    R = Row(RowIndex);
    if (AFromStoredPlace) {
      const Integer Stored = IsVertical() ? B->GetDockedTop() : B->GetDockedLeft();
      ColIndex = ColIndexAt(R, IsVertical() ? TPoint{0, Stored} : TPoint{Stored, 0});
    } else ColIndex = ColIndexAt(R, SitePt);
  }
  if (NewRow) ColIndex = R->ColCount();
  TdxDockCol* Col = R->InsertCol(ColIndex, W);
  if (AFromStoredPlace) Col->Pos = IsVertical() ? B->GetDockedTop() : B->GetDockedLeft();
  else Col->Pos = std::max<Integer>(0, IsVertical() ? SitePt.Y : SitePt.X);
  if (W->GetParent() != this) W->SetParent(this);
  if (ALayout) {
    UpdateDock();
    Col->Pos = IsVertical() ? W->GetTop() : W->GetLeft();
  }
}

void TdxDockControl::UndockBar(TdxBarControl* W, bool ALayout) {
  for (auto It = FRows.begin(); It != FRows.end(); ++It) {
    TdxDockRow* R = It->get();
    for (Integer I = 0; I < R->ColCount(); ++I)
      if (R->Col(I)->BarControl() == W) {
        R->RemoveCol(R->Col(I));
        if (R->ColCount() == 0) FRows.erase(It);
        if (ALayout) UpdateDock();
        return;
      }
  }
}

void TdxDockControl::MoveBar(TdxBarControl* W, TPoint ScreenPt) {
  UndockBar(W, false);
  DockBar(W, ScreenPt, true, false);
}

void TdxDockControl::UpdateColPositions() {
  for (const auto& R : FRows)
    for (Integer I = 0; I < R->ColCount(); ++I) {
      TdxBarControl* W = R->Col(I)->BarControl();
      R->Col(I)->Pos = IsVertical() ? W->GetTop() : W->GetLeft();
    }
}

void TdxDockControl::UpdateDock() {
  if (!FBarManager || FBarManager->IsDestroying() || FUpdating) return;
  if (TCustomForm* F = FBarManager->OwnerForm(); !F || F->ComponentState().Contains(csDestroying)) return;
  FUpdating = true;
  try {
    CalcLayout();
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
  const Integer Size = GetRowsSize();
  if (IsVertical()) {
    if (GetWidth() != Size) {
      if (FDockingStyle == dsRight) SetBounds(GetLeft() + GetWidth() - Size, GetTop(), Size, GetHeight());
      else SetWidth(Size);
    }
  } else if (GetHeight() != Size) {
    if (FDockingStyle == dsBottom) SetBounds(GetLeft(), GetTop() + GetHeight() - Size, GetWidth(), Size);
    else SetHeight(Size);
  }
  if (HandleAllocated()) Invalidate();
}

void TdxDockControl::CalcLayout() {
  if (FRows.empty()) return;
  const bool V = IsVertical();
  TCustomForm* F = FBarManager->OwnerForm();
  // The site's length along its rows is the form's room on that edge.
  Integer L = V ? GetHeight() : GetWidth();
  if (L <= 0 && F) L = V ? F->ClientHeight() : F->ClientWidth();
  Integer Offset = 0;
  for (const auto& RowPtr : FRows) {
    TdxDockRow* R = RowPtr.get();
    const Integer N = R->ColCount();
    const std::size_t Cols = std::size_t(N);
    std::vector<Integer> MinA(Cols), MaxA(Cols), Pos(Cols), Len(Cols);
    Integer SumMax = 0;
    for (Integer I = 0; I < N; ++I) {
      TdxBarControl* W = R->Col(I)->BarControl();
      W->SetTruncated(false);
      // The bar sits in this site's orientation while it is measured.
      W->FDockingStyle = FDockingStyle;
      MinA[std::size_t(I)] = W->GetMinAlong();
      MaxA[std::size_t(I)] = W->GetMaxAlong();
      SumMax += MaxA[std::size_t(I)];
    }
    auto SumBefore = [&](const std::vector<Integer>& A, Integer I) {
      Integer S = 0;
      for (Integer K = 0; K < I; ++K) S += A[std::size_t(K)];
      return S;
    };
    if (N == 1 && R->Col(0)->BarControl()->Bar()->GetWholeRow()) {
      Pos[0] = 0;
      Len[0] = std::max(L, MinA[0]);
    } else if (L < SumMax) {
      // Not enough room: squeezed from the last bar to the first.
      Integer Limit = L;
      for (Integer I = N - 1; I >= 0; --I) {
        const std::size_t K = std::size_t(I);
        Integer P = std::clamp(R->Col(I)->Pos, SumBefore(MinA, I), std::max(SumBefore(MinA, I), SumBefore(MaxA, I)));
        Integer Room = Limit - P;
        Len[K] = Room < MaxA[K] ? std::max(MinA[K], Room) : MaxA[K];
        if (I == 0) Len[K] = std::max(Len[K], Limit);
        Pos[K] = std::clamp(Limit - Len[K], SumBefore(MinA, I), std::max(SumBefore(MinA, I), SumBefore(MaxA, I)));
        if (I == 0) Pos[K] = 0, Len[K] = std::min(Len[K], std::max(Limit, MinA[K]));
        Limit = Pos[K];
      }
    } else {
      Integer Limit = L;
      for (Integer I = N - 1; I >= 0; --I) {
        const std::size_t K = std::size_t(I);
        Len[K] = MaxA[K];
        Integer P = R->Col(I)->Pos;
        if (P + Len[K] > Limit) P = Limit - Len[K];
        P = std::max(P, SumBefore(MaxA, I));
        Pos[K] = P;
        Limit = P;
      }
    }
    Integer Thickness = 0;
    for (Integer I = 0; I < N; ++I) {
      TdxBarControl* W = R->Col(I)->BarControl();
      const std::size_t K = std::size_t(I);
      if (Len[K] < MaxA[K] && !W->Bar()->GetMultiLine()) W->SetTruncated(true);
      Thickness = std::max(Thickness, W->CalcSizeAcross(Len[K]));
    }
    R->Offset = Offset;
    R->Thickness = Thickness;
    for (Integer I = 0; I < N; ++I) {
      TdxBarControl* W = R->Col(I)->BarControl();
      const std::size_t K = std::size_t(I);
      TRect B = V ? TRect{Offset, Pos[K], Offset + Thickness, Pos[K] + Len[K]}
                  : TRect{Pos[K], Offset, Pos[K] + Len[K], Offset + Thickness};
      if (!EqualRect(&B, &static_cast<const TRect&>(W->BoundsRect()))) W->SetBounds(B.Left, B.Top, B.Width(), B.Height());
      W->CalcLayout();
      if (W->HandleAllocated()) W->Invalidate();
    }
    Offset += Thickness;
  }
}

// ---------------------------------------------------------------------------
// A placed dock site

TdxBarDockControl::TdxBarDockControl(TComponent* AOwner) : TdxDockControl(AOwner, nullptr, dsTop) {
  if (auto* F = dynamic_cast<TCustomForm*>(AOwner)) SetBarManager(GetBarManagerOfForm(F));
  SetAlign(alTop);
}

void TdxBarDockControl::Published(TPublished<TdxBarDockControl>& P) {
  P.Property("BarManager", &TdxBarDockControl::GetBarManagerProp, &TdxBarDockControl::SetBarManagerProp);
}

void TdxBarDockControl::SetDockAlign(TAlign Value) {
  SetAlign(Value);
  switch (Value) {
    case alLeft: FDockingStyle = dsLeft; break;
    case alRight: FDockingStyle = dsRight; break;
    case alBottom: FDockingStyle = dsBottom; break;
    default: FDockingStyle = dsTop; break;
  }
  UpdateDock();
}

// ---------------------------------------------------------------------------
// Built-in sites and showing a bar's window

TdxDockControl* dxBarBuiltInDockControl(TdxBarManager* AManager, TdxBarDockingStyle AStyle) {
  if (!AManager || AStyle == dsNone) return nullptr;
  TdxBars* Bars = AManager->Bars();
  if (TdxDockControl* D = Bars->GetDockControl(AStyle)) return D;
  auto* D = new TdxDockControl(AManager, AManager, AStyle);
  static const char* Names[] = {"", "dxBarDockControlLeft", "dxBarDockControlTop", "dxBarDockControlRight",
                                "dxBarDockControlBottom"};
  D->SetName(Names[AStyle]);
  Bars->SetDockControl(AStyle, D);
  if (TCustomForm* F = AManager->OwnerForm()) {
    static const TAlign Aligns[] = {alNone, alLeft, alTop, alRight, alBottom};
    D->SetAlign(Aligns[AStyle]);
    D->SetParent(F);
  }
  return D;
}

void dxBarUpdateBarWindow(TdxBar* ABar) {
  TdxBarManager* M = ABar ? ABar->GetBarManager() : nullptr;
  if (!M || M->IsDestroying() || M->IsLoading() || M->IsDesigning()) return;
  TdxBarItemLinks* Links = ABar->ItemLinks();
  auto* W = dynamic_cast<TdxBarControl*>(Links->BarControl());
  if (!ABar->GetVisible()) {
    if (W) {
      if (TdxDockControl* D = W->DockControl()) D->UndockBar(W, true);
      Links->DestroyBarControl();
    }
    return;
  }
  if (W) return;
  W = new TdxBarControl(M, ABar);
  TdxBarDockingStyle Style = ABar->GetDockingStyle();
  TdxDockControl* Site = ABar->GetDockControl();
  if (!Site && Style != dsNone) Site = dxBarBuiltInDockControl(M, Style);
  if (Site) {
    W->ChangeDocking(Site->DockingStyle(), Site);
    Site->DockBar(W, {}, true, true);
    W->SetVisible(true);
    // The stored place follows where the row put the window.
    W->StoreBarPosition();
  } else {
    W->ChangeDocking(dsNone, nullptr);
    TSize S = W->GetBarSize(dsNone);
    W->SetBounds(ABar->GetFloatLeft(), ABar->GetFloatTop(), S.cx, S.cy);
    W->SetVisible(true);
    W->ShowFloatingWindow();
  }
}

void dxBarRedockBarWindow(TdxBar* ABar) {
  TdxBarManager* M = ABar ? ABar->GetBarManager() : nullptr;
  if (!M || M->IsDestroying() || M->IsLoading() || M->IsDesigning() || !ABar->GetVisible()) return;
  auto* W = dynamic_cast<TdxBarControl*>(ABar->ItemLinks()->BarControl());
  if (!W || W->Dragging()) return;
  const TdxBarDockingStyle Style = ABar->GetDockingStyle();
  TdxDockControl* Site = ABar->GetDockControl();
  if (!Site && Style != dsNone) Site = dxBarBuiltInDockControl(M, Style);
  if (Site ? W->DockControl() == Site : W->DockingStyle() == dsNone) return;
  if (TdxDockControl* Old = W->DockControl()) Old->UndockBar(W, true);
  // Hidden while it changes kind: a window shown on the way would write
  // its passing place into the bar.
  W->SetVisible(false);
  if (Site) {
    W->ChangeDocking(Site->DockingStyle(), Site);
    ABar->SetOneOnRow(true);
    ABar->SetRow(Site->RowCount());
    Site->DockBar(W, {}, true, true);
    W->SetVisible(true);
  } else {
    W->ChangeDocking(dsNone, nullptr);
    const TSize S = W->GetBarSize(dsNone);
    W->SetBounds(ABar->GetFloatLeft(), ABar->GetFloatTop(), S.cx, S.cy);
    W->SetVisible(true);
    W->ShowFloatingWindow();
  }
  W->StoreBarPosition();
}

// ---------------------------------------------------------------------------
// Dragging a bar

namespace {
struct TDragState {
  TdxBarControl* Bar = nullptr;
  UINT_PTR Timer = 0;
  bool TimerStep = false;
  TPoint LastPoint{-100000, -100000};
};
TDragState GDrag;

void KillDockingTimer() {
  if (GDrag.Timer) KillTimer(nullptr, GDrag.Timer);
  GDrag.Timer = 0;
}

void DockingDelayTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  KillDockingTimer();
  if (!GDrag.Bar || !IsLiveBarControl(GDrag.Bar)) return;
  TPoint P;
  GetCursorPos(&P);
  GDrag.TimerStep = true;
  dxBarMoveBarControl(GDrag.Bar, P);
  GDrag.TimerStep = false;
}

bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }
// Whether the site's zone at the point shows: the site's parent is the
// topmost visible child of its own parent there. A site whose parent is a
// top-level window (the form itself) is taken as shown, or the floating bar
// being dragged over it would always hide it.
bool DockZoneUncovered(TdxDockControl* D, TPoint ScreenPt) {
  const HWND Parent = GetParent(D->Handle());
  const HWND Outer = Parent ? GetAncestor(Parent, GA_PARENT) : nullptr;
  if (!Parent || !Outer || Outer == GetDesktopWindow()) return true;
  TPoint P = ScreenPt;
  MapWindowPoints(nullptr, Outer, &P, 1);
  return ChildWindowFromPointEx(Outer, P, CWP_SKIPINVISIBLE) == Parent;
}
}  // namespace

TdxBarDockingStyle dxBarFindDockSite(TdxBar* ABar, TPoint ScreenPt, TdxDockControl*& ADockControl) {
  ADockControl = nullptr;
  TdxBarManager* M = ABar->GetBarManager();
  if (!M || (GDrag.Bar && CtrlDown())) return dsNone;
  // The four built-in sites come first: they belong to the manager from its
  // start, before any placed site registers (ours are made on first use).
  std::vector<TdxDockControl*> Sites;
  for (TdxBarDockingStyle Style : {dsLeft, dsTop, dsRight, dsBottom})
    if (TdxDockControl* D = M->Bars()->GetDockControl(Style)) Sites.push_back(D);
  for (Integer I = 0; I < M->GetDockControlCount(); ++I)
    if (std::find(Sites.begin(), Sites.end(), M->GetDockControl(I)) == Sites.end()) Sites.push_back(M->GetDockControl(I));
  for (TdxBarDockingStyle Style : {dsLeft, dsRight, dsTop, dsBottom}) {
    for (TdxDockControl* D : Sites) {
      if (D->DockingStyle() != Style || !D->CanDock(ABar)) continue;
      if (!D->HandleAllocated() || !D->GetShowing() || !D->GetEnabled()) continue;
      if (!M->CanDock(ABar, Style, D)) continue;
      TRect Z = D->GetDockZoneRect();
      if (PtInRect(&Z, ScreenPt) && DockZoneUncovered(D, ScreenPt)) {
        ADockControl = D;
        return Style;
      }
    }
  }
  return dsNone;
}

void dxBarMoveBarControl(TdxBarControl* W, TPoint P) {
  TdxBar* B = W->Bar();
  TdxBarManager* M = W->BarManager();
  TdxDockControl* Site = nullptr;
  TdxBarDockingStyle Style = dxBarFindDockSite(B, P, Site);
  if (!M->CanDock(B, Style, Site)) return;
  // A floating bar waits a moment before it snaps into a site.
  if (!GDrag.TimerStep && W->DockingStyle() == dsNone && Style != dsNone && M->GetWaitForDockingTime() > 0) {
    KillDockingTimer();
    GDrag.Timer = SetTimer(nullptr, 0, UINT(M->GetWaitForDockingTime()), DockingDelayTimerProc);
    Style = dsNone;
    Site = nullptr;
  }
  if (Style == W->DockingStyle() && Site == W->DockControl()) {
    if (Site) Site->MoveBar(W, {P.X - W->DragPressOffset().X, P.Y});
    else {
      TPoint O = W->DragPressOffset();
      SetWindowPos(W->Handle(), nullptr, P.X - O.X, P.Y - O.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
      W->SetBounds(P.X - O.X, P.Y - O.Y, W->GetWidth(), W->GetHeight());
    }
    return;
  }
  if (W->HandleAllocated())
    SetWindowPos(W->Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (TdxDockControl* Old = W->DockControl()) Old->UndockBar(W, true);
  if (Style != dsNone) {
    W->ChangeDocking(Style, Site);
    Site->DockBar(W, {P.X - W->DragPressOffset().X, P.Y}, true, false);
  } else {
    W->ChangeDocking(dsNone, nullptr);
    TSize S = W->GetBarSize(dsNone);
    TPoint O = W->DragPressOffset();
    O.X = std::min<Integer>(O.X, S.cx - TdxBarControl::CaptionHeight - 4);
    O.Y = TdxBarControl::BorderSize + TdxBarControl::CaptionHeight / 2;
    W->SetBounds(P.X - O.X, P.Y - O.Y, S.cx, S.cy);
  }
  W->SetVisible(true);
  if (W->HandleAllocated())
    SetWindowPos(W->Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  M->DoBarDockingStyleChange(B);
}

void dxBarDragBarControl(TdxBarControl* W) {
  TdxBar* B = W->Bar();
  if (!B->IsMovable() || GDrag.Bar) return;
  TdxBarManager* M = W->BarManager();
  GDrag = {};
  GDrag.Bar = W;
  W->SetDragging(true);
  HWND Capture = dxBarCaptureWindow();
  SetCapture(Capture);
  MSG Msg;
  while (GetCapture() == Capture && IsLiveBarControl(W)) {
    if (GetMessageA(&Msg, nullptr, 0, 0) <= 0) {
      if (Msg.message == WM_QUIT) PostQuitMessage(int(Msg.wParam));
      break;
    }
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYDOWN ||
        Msg.message == WM_SYSKEYUP) {
      if (Msg.wParam == VK_ESCAPE) break;
      if (Msg.wParam == VK_CONTROL) {
        // Ctrl re-evaluates at once where the bar goes.
        GDrag.LastPoint = {-100000, -100000};
        TPoint P;
        GetCursorPos(&P);
        dxBarMoveBarControl(W, P);
        GDrag.LastPoint = P;
      }
      continue;
    }
    if (Msg.message == WM_MOUSEMOVE) {
      // The message's own point: the cursor may already be further on.
      TPoint P{short(LOWORD(Msg.lParam)), short(HIWORD(Msg.lParam))};
      ClientToScreen(Msg.hwnd, &P);
      if (P == GDrag.LastPoint) continue;
      dxBarMoveBarControl(W, P);
      GDrag.LastPoint = P;
      continue;
    }
    if (Msg.message == WM_LBUTTONUP) break;
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  KillDockingTimer();
  if (GetCapture() == Capture) ReleaseCapture();
  GDrag = {};
  if (!IsLiveBarControl(W)) return;
  W->SetDragging(false);
  if (TdxDockControl* D = W->DockControl()) D->UpdateColPositions();
  W->StoreBarPosition();
  (void)M;
}
