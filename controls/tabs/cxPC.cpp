#include "controls/tabs/cxPC.h"

#include <algorithm>
#include "controls/tabs/cxPCGoDialog.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/forms/ControlMessages.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/forms/Application.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Rects.h"
#include "platform/win/Window.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"

namespace {

const char* const sTabIndexError = "Tab's index (%d) out of bounds";
const char* const sVisibleIndexError = "TabVisibleIndex (%d) must be between 0 and %d";
const char* const sNoVisibleTabs = "There are no visible tabs";
const char* const sNoRotation = "%s style does not support rotation of tabs";
const char* const sTabsCountZero = "Tabs.Count = 0";
const char* const sInvalidPageIndex = "%d is an invalid PageIndex value.  PageIndex must be between 0 and %d";

[[noreturn]] void RaiseError(const AnsiString& Prefix, const AnsiString& Text) { throw Exception(Prefix + Text); }

TShiftState KeyboardShift() {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

// The DrawKind table: rows by Side, columns by text direction.
constexpr int DrawKinds[4][3] = {{1, 2, 3}, {10, 11, 12}, {6, 4, 5}, {9, 7, 8}};

}  // namespace

// ===========================================================================
// TcxTab

TcxTab::TcxTab(TcxTabs* ATabs, int AIndex) : FTabs(ATabs), FIndex(AIndex), FImageIndex(AIndex) {}

TcxTab::~TcxTab() {
  if (FTabs) {
    TcxCustomTabControl* C = FTabs->Control();
    const bool WasFocused = C && C->FFocusedTab >= 0 && IsFocused();
    FTabs->DetachTab(FIndex, false);
    if (WasFocused) C->FFocusedTab = -1;
  }
}

TcxCustomTabControl* TcxTab::Control() const { return FTabs ? FTabs->Control() : nullptr; }

int TcxTab::VisibleIndex() const { return Control() ? Control()->VisibleTabs()->IndexOfTab(FIndex) : -1; }

void TcxTab::Changed(TcxTabChangeKind Kind) {
  if (FTabs) FTabs->TabChanged(VisibleIndex(), Kind);
}

void TcxTab::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  const bool WasShown = IsShown();
  FCaption = Value;
  TcxCustomTabControl* C = Control();
  if (!FVisible || !C || !C->Painter() || C->IsLoading()) return;
  const int OldWidth = C->GetRotate() ? C->RotatedTabWidth() : NormalWidth;
  const int NewWidth = C->Painter()->CalculateTabNormalWidth(this);
  if (NewWidth != NormalWidth || (C->GetRotate() && NewWidth > OldWidth))
    Changed(tckLayout);
  else if (WasShown)
    Changed(tckRepaint);
}

void TcxTab::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  const bool WasShown = IsShown();
  FEnabled = Value;
  if (WasShown || IsShown()) Changed(tckEnabled);
}

void TcxTab::SetHighlighted(bool Value) {
  if (FHighlighted == Value) return;
  const bool WasShown = IsShown();
  FHighlighted = Value;
  if (WasShown || IsShown()) Changed(tckHighlighted);
}

int TcxTab::GetImageIndex() const { return Control() ? Control()->GetTabImageIndex(FIndex) : FImageIndex; }

void TcxTab::SetImageIndex(int Value) {
  if (Value < 0) Value = -1;
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (IsShown()) Changed(tckLayout);
}

void TcxTab::SetSelected(bool Value) {
  if (FSelected == Value) return;
  TcxCustomTabControl* C = Control();
  if (C && C->IsLoading()) {
    FSelected = Value;
    return;
  }
  if (C && C->Painter()) {
    if (C->Painter()->PainterClass()->AllowsMultiSelect) {
      if (Value)
        for (int I = 0; I < FTabs->GetCount(); ++I)
          if (I != FIndex && FTabs->GetTab(I)->FSelected) {
            C->FMultiSelect = true;
            break;
          }
    } else if (Value && !IsCurrent()) {
      return;
    }
  }
  const bool WasShown = IsShown();
  FSelected = Value;
  if (WasShown || IsShown()) Changed(tckSelected);
}

void TcxTab::SetVisible(bool Value) {
  if (FVisible == Value) return;
  TcxCustomTabControl* C = Control();
  if (Value) {
    if (C) C->VisibleTabs()->Add(FIndex);
    FVisible = true;
    Changed(tckLayout);
    return;
  }
  const bool WasCurrent = C && C->CurrentTabFollowsVisibility() && C->FTabIndex == FIndex;
  const bool WasShown = IsShown();
  if (C) C->VisibleTabs()->Remove(FIndex);
  FVisible = false;
  if (!C) return;
  bool FullLayout = WasShown || C->FMultiLine;
  if (FullLayout) {
    Changed(tckLayout);
  } else if (!C->IsLoading()) {
    // Only the positions: the current visible index stays unless it fell off.
    const int N = C->VisibleTabs()->Count();
    if (C->FCurrentVisibleIndex >= N) C->FCurrentVisibleIndex = -1;
    C->CalculateLayout();
    C->Invalidate();
  }
  if (WasCurrent && !C->IsLoading()) {
    int V = C->FCurrentVisibleIndex;
    if (!FullLayout) {
      // The current visible index was that of the hidden tab: the one that
      // followed it now has it.
      int Pos = 0;
      V = C->VisibleTabs()->FindTabIndex(FIndex, Pos) ? Pos : (Pos < C->VisibleTabs()->Count() ? Pos : -1);
    }
    if (V >= 0) C->SetTabIndex(C->VisibleTabs()->GetTab(V)->FIndex);
  }
}

bool TcxTab::IsShown() const { return !DisplayRect().IsEmpty(); }
bool TcxTab::IsCurrent() const {
  TcxCustomTabControl* C = Control();
  return C && C->FCurrentVisibleIndex >= 0 && C->FCurrentVisibleIndex == VisibleIndex();
}
bool TcxTab::IsHot() const { return Control() && Control()->FHotTab >= 0 && Control()->FHotTab == VisibleIndex(); }
bool TcxTab::IsPressed() const {
  return Control() && Control()->FPressedTab >= 0 && Control()->FPressedTab == VisibleIndex();
}
bool TcxTab::IsFocused() const {
  return Control() && Control()->FFocusedTab >= 0 && Control()->FFocusedTab == VisibleIndex();
}
bool TcxTab::RealEnabled() const { return Control() && Control()->GetEnabled() && FEnabled; }
int TcxTab::Extent() const {
  TcxCustomTabControl* C = Control();
  return C && C->GetRotate() ? FTabs->TabNormalHeight : NormalWidth;
}

int TcxTab::Side() const {
  TcxCustomTabControl* C = Control();
  const bool TopBottom = C->GetTabPosition() == tpTop || C->GetTabPosition() == tpBottom;
  const bool Near = DisplayRow < C->SplitRow();
  return TopBottom ? (Near ? 0 : 1) : (Near ? 2 : 3);
}

int TcxTab::DrawKind() const { return DrawKinds[Side()][Control()->TextDirection()]; }

TRect TcxTab::LayoutRect() const {
  TcxCustomTabControl* C = Control();
  const int Along = C->GetRotate() ? C->RotatedTabWidth() : NormalWidth;
  int W, H;
  if (C->IsVerticalText()) {
    W = FTabs->TabNormalHeight;
    H = Along;
  } else {
    W = Along;
    H = FTabs->TabNormalHeight;
  }
  return {Position.X, Position.Y, Position.X + W, Position.Y + H};
}

TRect TcxTab::Bounds() const {
  TcxCustomTabControl* C = Control();
  TRect R = LayoutRect();
  TRect A{0, 0, 0, 0};
  const int V = VisibleIndex();
  if (C->Painter() && V >= 0) C->Painter()->GetTabBoundsAdjustment(V, A);
  const_cast<TcxTab*>(this)->BoundsAdjustment = A;
  return {R.Left + A.Left, R.Top + A.Top, R.Right + A.Right, R.Bottom + A.Bottom};
}

TRect TcxTab::DisplayRect() const {
  TcxCustomTabControl* C = Control();
  if (!FVisible || !C || C->GetHideTabs()) return {0, 0, 0, 0};
  const int V = VisibleIndex();
  if (V < 0 || C->RowCount() == 0) return {0, 0, 0, 0};
  if (!C->GetMultiLine() && (V < C->FirstShown() || V > C->LastShown())) return {0, 0, 0, 0};
  const TRect Group = DisplayRow < C->SplitRow() ? C->NearGroupRect() : C->FarGroupRect();
  const TRect B = Bounds();
  TRect R;
  if (!IntersectRect(&R, &Group, &B)) return {0, 0, 0, 0};
  return R;
}

void TcxTab::RefreshImage() {
  if (FImageIndex != -1 && IsShown()) Changed(tckRepaint);
}

void TcxTab::AssignTo(TPersistent* Dest) {
  auto* T = dynamic_cast<TcxTab*>(Dest);
  if (!T) {
    inherited::AssignTo(Dest);
    return;
  }
  T->SetCaption(FCaption);
  T->SetEnabled(FEnabled);
  T->SetHighlighted(FHighlighted);
  T->SetImageIndex(GetImageIndex());
  T->FObject = FObject;
  T->SetVisible(FVisible);
  T->SetSelected(FSelected);
}

// ===========================================================================
// TcxVisibleTabList

TcxTab* TcxVisibleTabList::GetTab(int V) const {
  if (FItems.empty()) RaiseError("TcxVisibleTabList.GetTab: ", sNoVisibleTabs);
  if (V < 0 || V >= Count())
    RaiseError("TcxVisibleTabList.GetTab: ", Format(sVisibleIndexError, {V, Count() - 1}));
  return FControl->Tabs()->GetTab(FItems[size_t(V)]);
}

bool TcxVisibleTabList::FindTabIndex(int AIndex, int& APosition) const {
  int Lo = 0, Hi = Count() - 1;
  while (Lo <= Hi) {
    const int Mid = (Lo + Hi) / 2;
    if (FItems[size_t(Mid)] == AIndex) {
      APosition = Mid;
      return true;
    }
    if (FItems[size_t(Mid)] < AIndex)
      Lo = Mid + 1;
    else
      Hi = Mid - 1;
  }
  APosition = Lo;
  return false;
}

int TcxVisibleTabList::IndexOfTab(int AIndex) const {
  int P = 0;
  return FindTabIndex(AIndex, P) ? P : -1;
}

void TcxVisibleTabList::Add(int AIndex) {
  int P = 0;
  if (!FindTabIndex(AIndex, P)) FItems.insert(FItems.begin() + P, AIndex);
}

void TcxVisibleTabList::Remove(int AIndex) {
  int P = 0;
  if (FindTabIndex(AIndex, P)) FItems.erase(FItems.begin() + P);
}

void TcxVisibleTabList::Rebuild() {
  FItems.clear();
  TcxTabs* T = FControl->Tabs();
  for (int I = 0; I < T->GetCount(); ++I)
    if (T->GetTab(I)->GetVisible()) FItems.push_back(I);
}

// ===========================================================================
// TcxTabs

TcxTabs::~TcxTabs() {
  FUpdating = true;
  for (auto It = FItems.rbegin(); It != FItems.rend(); ++It) {
    (*It)->FTabs = nullptr;
    delete *It;
  }
  FItems.clear();
}

void TcxTabs::IndexError(const char* Method, int Index) const {
  RaiseError(AnsiString("TcxTabs.") + Method + ": ", Format(sTabIndexError, {Index}));
}

AnsiString TcxTabs::Get(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError("Get", Index);
  return FItems[size_t(Index)]->FCaption;
}

void TcxTabs::Put(Integer Index, const AnsiString& S) { GetTab(Index)->SetCaption(S); }
TObject* TcxTabs::GetObject(Integer Index) const { return GetTab(Index)->FObject; }
void TcxTabs::PutObject(Integer Index, TObject* AObject) { GetTab(Index)->FObject = AObject; }

TcxTab* TcxTabs::GetTab(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError("GetTab", Index);
  return FItems[size_t(Index)];
}

TcxTab* TcxTabs::GetVisibleTab(int V) const {
  const int N = FControl->VisibleTabs()->Count();
  if (V < 0 || V >= N) RaiseError("TcxTabs.GetVisibleTab: ", Format(sVisibleIndexError, {V, N - 1}));
  return FControl->VisibleTabs()->GetTab(V);
}

int TcxTabs::VisibleCount() const { return FControl->VisibleTabs()->Count(); }

void TcxTabs::Renumber(int From, int To) {
  for (int I = std::max(0, From); I <= To && I < GetCount(); ++I) FItems[size_t(I)]->FIndex = I;
}

void TcxTabs::Insert(Integer Index, const AnsiString& S) {
  if (Index < 0 || Index > GetCount()) IndexError("Insert", Index);
  auto* T = new TcxTab(this, Index);
  FItems.insert(FItems.begin() + Index, T);
  Renumber(Index, GetCount() - 1);
  T->FCaption = S;
  if (!FControl->IsLoading() && FControl->FTabIndex == -1 && GetCount() == 1) FControl->FTabIndex = 0;
  FControl->VisibleTabs()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::Delete(Integer Index) {
  if (FUpdating) return;
  if (Index < 0 || Index >= GetCount()) IndexError("Delete", Index);
  FUpdating = true;
  TcxTab* T = FItems[size_t(Index)];
  if (!FDetaching) {
    T->FTabs = nullptr;
    delete T;
  }
  FItems.erase(FItems.begin() + Index);
  Renumber(Index, GetCount() - 1);
  FControl->VisibleTabs()->Rebuild();
  FUpdating = false;
  TabChanged(-1, tckLayout);
}

void TcxTabs::DetachTab(int Index, bool Keep) {
  FDetaching = true;
  if (!Keep) Delete(Index);
  FDetaching = false;
}

void TcxTabs::Clear() {
  FUpdating = true;
  while (!FItems.empty()) {
    TcxTab* T = FItems.back();
    FItems.pop_back();
    T->FTabs = nullptr;
    delete T;
  }
  FUpdating = false;
  FControl->VisibleTabs()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  TcxTab* T = GetTab(CurIndex);
  if (NewIndex < 0 || NewIndex >= GetCount()) IndexError("Move", NewIndex);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, T);
  Renumber(std::min(CurIndex, NewIndex), std::max(CurIndex, NewIndex));
  FControl->VisibleTabs()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::TabChanged(int V, TcxTabChangeKind Kind) {
  if (FControl->IsLoading() || FControl->IsDestroying()) return;
  if (V == -1 || Kind == tckLayout)
    FControl->RequestLayout();
  else if (FControl->Painter())
    FControl->Painter()->RepaintTab(V, Kind);
}

void TcxTabs::SetHotTab(int V) {
  int& Hot = FControl->FHotTab;
  if (Hot == V) return;
  const int Old = Hot;
  Hot = V;
  if (Old >= 0 && Old < VisibleCount()) TabChanged(Old, tckHot);
  if (V >= 0) TabChanged(V, tckHot);
}

void TcxTabs::SetFocusedTab(int V) {
  if (V < 0 || V >= VisibleCount()) V = -1;
  int& F = FControl->FFocusedTab;
  if (F == V) return;
  const int Old = F;
  F = V;
  if (Old >= 0) TabChanged(Old, tckFocused);
  if (V >= 0) TabChanged(V, tckFocused);
  if (V >= 0 && !FControl->GetMultiLine()) {
    FControl->MakeTabVisible(V);
    FControl->RequestLayout();
    FControl->UpdateHotTrack(KeyboardShift());
  }
}

void TcxTabs::SyncCurrentTab() {
  TcxVisibleTabList* VT = FControl->VisibleTabs();
  int V = -1;
  if (FControl->FTabIndex >= 0 && VT->Count() > 0) {
    int P = 0;
    if (!VT->FindTabIndex(FControl->FTabIndex, P)) P = std::min(P, VT->Count() - 1);
    V = P;
  }
  const int Old = FControl->FCurrentVisibleIndex;
  if (Old == V) return;
  FControl->FCurrentVisibleIndex = V;
  if (Old >= 0 && Old < VT->Count()) TabChanged(Old, tckCurrent);
  if (V >= 0) TabChanged(V, tckCurrent);
  FControl->UpdateNavigatorButtons();
}

void TcxTabs::RefreshImages() {
  for (TcxTab* T : FItems) T->RefreshImage();
}

// ===========================================================================
// TcxTabSlants

void TcxTabSlants::SetKind(TcxTabSlantKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (FOnChange.Assigned()) FOnChange(this);
}

void TcxTabSlants::SetPositions(TcxTabSlantPositions Value) {
  if (FPositions == Value) return;
  FPositions = Value;
  if (FOnChange.Assigned()) FOnChange(this);
}

void TcxTabSlants::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TcxTabSlants*>(Source)) {
    SetKind(S->FKind);
    SetPositions(S->FPositions);
    return;
  }
  inherited::Assign(Source);
}

// ===========================================================================
// TcxCustomTabControl

TcxCustomTabControl::TcxCustomTabControl(TComponent* AOwner) : TcxControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Include(csOpaque);
  SetBounds(FLeft, FTop, 289, 193);
  FTabStop = true;
  FColor = clBtnFace;
  SetBorderStyle(cxcbsNone);
  FTabSlants = std::make_unique<TcxTabSlants>(TNotifyEvent(this, &TcxCustomTabControl::SlantsChanged));
  FTabs = std::make_unique<TcxTabs>(this);
  FVisibleTabs = std::make_unique<TcxVisibleTabList>(this);
  RegisterStandardTabPainters();
  ChooseDefaultStyle();
}

TcxCustomTabControl::~TcxCustomTabControl() {
  FTimer.reset();
  FTabs.reset();
  TcxPCPaintersFactory::ReleasePainter(FPainter);
}

bool TcxCustomTabControl::ChangeEventsLocked() const {
  return FChangeLock > 0 || IsLoading() || ComponentState().Contains(csDesigning);
}

bool TcxCustomTabControl::IsVerticalText() const {
  const bool Side = FTabPosition == tpLeft || FTabPosition == tpRight;
  return Side != FRotate;
}

int TcxCustomTabControl::TextDirection() const {
  if (!IsVerticalText()) return 0;
  return FOptions.Contains(pcoTopToBottomText) ? 2 : 1;
}

bool TcxCustomTabControl::IsReversedRow() const {
  const bool Side = FTabPosition == tpLeft || FTabPosition == tpRight;
  const bool TopToBottom = FOptions.Contains(pcoTopToBottomText);
  return Side ? (!FRotate && !TopToBottom) : (FRotate && TopToBottom);
}

// --- properties -----------------------------------------------------------

void TcxCustomTabControl::SetHideTabs(bool Value) {
  if (FHideTabs == Value) return;
  FHideTabs = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  UpdateHotTrack(KeyboardShift());
}
void TcxCustomTabControl::SetImageBorder(int Value) {
  if (Value < 0 || FImageBorder == Value) return;
  FImageBorder = Value;
  if (FVisibleTabs->Count() > 0) RequestLayout();
}
void TcxCustomTabControl::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  ImagesChanged();
}
void TcxCustomTabControl::SetMaxRotatedTabWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value > 0 && FPainter) Value = std::max(Value, FPainter->GetTabMinWidth());
  if (FMaxRotatedTabWidth == Value) return;
  FMaxRotatedTabWidth = Value;
  if (FRotate && FVisibleTabs->Count() > 0) RequestLayout();
}
void TcxCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  FMultiLine = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetNavigatorPosition(TcxPCNavigatorPosition Value) {
  if (FNavigatorPosition == Value) return;
  FNavigatorPosition = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetOptions(TcxPCOptions Value) {
  if (FOptions == Value) return;
  const TcxPCOptions Old = FOptions;
  FOptions = Value;
  for (TcxPCOption O : {pcoCloseButton, pcoFixedTabWidthWhenRotated, pcoGoDialog, pcoGradient, pcoGradientClientArea,
                        pcoNoArrows, pcoTopToBottomText})
    if (Old.Contains(O) != Value.Contains(O)) {
      RequestLayout();
      return;
    }
}
void TcxCustomTabControl::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  Invalidate();
}
void TcxCustomTabControl::SetRaggedRight(bool Value) {
  if (FRaggedRight == Value) return;
  FRaggedRight = Value;
  if (FMultiLine) RequestLayout();
}
void TcxCustomTabControl::SetRotate(bool Value) {
  if (FRotate == Value) return;
  if (Value && FPainter && !FPainter->PainterClass()->AllowsRotation)
    throw Exception(Format(sNoRotation, {AnsiString(FPainter->PainterClass()->StyleName)}));
  FRotate = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetScrollOpposite(bool Value) {
  if (FScrollOpposite == Value) return;
  FScrollOpposite = Value;
  if (FMultiLine) RequestLayout();
}
void TcxCustomTabControl::SetShowFrame(bool Value) {
  if (FShowFrame == Value) return;
  FShowFrame = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetTabHeight(SmallInt Value) {
  if (FTabHeightValue == Value) return;
  FTabHeightValue = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetTabPosition(TcxTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  RequestLayout();
}
void TcxCustomTabControl::SetTabWidth(SmallInt Value) {
  if (FTabWidthValue == Value) return;
  FTabWidthValue = Value;
  RequestLayout();
}

// --- style ----------------------------------------------------------------

void TcxCustomTabControl::ApplyStyle(TcxPCStyleID Value) {
  TcxPCPainterClass C = TcxPCPaintersFactory::GetPainterClass(Value);
  if (!C) return;
  FStyle = Value;
  if (FPainter && FPainter->PainterClass() == C) return;
  TcxPCPaintersFactory::ReleasePainter(FPainter);
  FPainter = TcxPCPaintersFactory::GetPainterInstance(C, this);
  if (!C->AllowsRotation) FRotate = false;
  RequestLayout();
}

void TcxCustomTabControl::SetStyle(TcxPCStyleID Value) {
  if (Value == cxPCDefaultStyle) {
    FStyle = cxPCDefaultStyle;
    ChooseDefaultStyle();
    return;
  }
  if (FStyle == Value) return;
  ApplyStyle(Value);
}

void TcxCustomTabControl::ChooseDefaultStyle() {
  if (FStyle != cxPCDefaultStyle) return;
  TcxPCStyleID S = TcxPCPaintersFactory::GetStyleForLookAndFeel(GetLookAndFeel());
  if (S == -1) S = TcxPCPaintersFactory::GetDefaultStyleID(GetLookAndFeel());
  ApplyStyle(S);
  FStyle = cxPCDefaultStyle;
}

void TcxCustomTabControl::LookAndFeelModified(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
  inherited::LookAndFeelModified(Sender, Values);
  ChooseDefaultStyle();
  RequestLayout();
}

// --- layout ---------------------------------------------------------------

void TcxCustomTabControl::RequestLayout() {
  if (IsLoading() || FLayoutGuard || !FPainter || !FTabs) return;
  FLayoutGuard = true;
  try {
    if (FMaxRotatedTabWidth > 0) FMaxRotatedTabWidth = std::max(FMaxRotatedTabWidth, FPainter->GetTabMinWidth());
    CalculateLayout();
    FTabs->RefreshImages();
    Realign();
    Invalidate();
    FTabs->SyncCurrentTab();
    UpdateHotTrack(KeyboardShift());
  } catch (...) {
    FLayoutGuard = false;
    throw;
  }
  FLayoutGuard = false;
}

int TcxCustomTabControl::SpacingInRow() const {
  const TPoint S = FPainter->GetTabsSpacing();
  return FRotate ? S.Y : S.X;
}
int TcxCustomTabControl::SpacingBetweenRows() const {
  const TPoint S = FPainter->GetTabsSpacing();
  return FRotate ? S.X : S.Y;
}

void TcxCustomTabControl::CalculateTabsArea(TcxPCNavigatorButtons Buttons) {
  SetNavigatorButtons(Buttons);
  FPainter->CalculateTabsArea(Buttons, FTabsArea);
}

void TcxCustomTabControl::SetNavigatorButtons(TcxPCNavigatorButtons Buttons) { FShownButtons = Buttons; }

void TcxCustomTabControl::CalculateLayout() {
  FNearGroupRect = FFarGroupRect = {0, 0, 0, 0};
  const int N = FVisibleTabs->Count();
  if (FFirstShown == -1 && N > 0) FFirstShown = 0;
  if (FFirstShown >= N) FFirstShown = N - 1;
  FLastShown = FFirstShown;
  if (FHotTab >= N) FHotTab = -1;
  if (FCurrentVisibleIndex >= N) FCurrentVisibleIndex = -1;
  if (FPressedTab >= N) FPressedTab = -1;
  FRowCount = 0;
  if (FTabIndex >= FTabs->GetCount()) FTabIndex = FTabs->GetCount() - 1;
  FSplitRow = 0;
  if (N == 0) {
    CalculateTabsArea({});
    return;
  }
  if (FTabs->GetCount() == 0) RaiseError("TcxCustomTabControl.CalculateTabNormalSizes: ", sTabsCountZero);
  FTabs->TabNormalHeight = FPainter->CalculateTabNormalHeight();
  for (int I = 0; I < FTabs->GetCount(); ++I) {
    TcxTab* T = FTabs->GetTab(I);
    T->NormalWidth = T->GetVisible() ? FPainter->CalculateTabNormalWidth(T) : 0;
  }
  if (FMultiLine)
    MultiLineLayout();
  else
    SingleLineLayout();
}

void TcxCustomTabControl::SetGroupsAlongRow() {
  const bool X = FTabPosition == tpTop || FTabPosition == tpBottom;
  if (X) {
    FNearGroupRect.Left = FFarGroupRect.Left = FTabsArea.Rect.Left;
    FNearGroupRect.Right = FFarGroupRect.Right = FTabsArea.Rect.Right;
  } else {
    FNearGroupRect.Top = FFarGroupRect.Top = FTabsArea.Rect.Top;
    FNearGroupRect.Bottom = FFarGroupRect.Bottom = FTabsArea.Rect.Bottom;
  }
}

void TcxCustomTabControl::SingleLineLayout() {
  FRowCount = 1;
  FSplitRow = (FTabPosition == tpTop || FTabPosition == tpLeft) ? 1 : 0;
  PlaceSingleRow();
  if (FTabsArea.Length < 1) return;
  SetGroupsAlongRow();
  for (int V = 0; V < FVisibleTabs->Count(); ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    T->Row = 0;
    T->DisplayRow = 0;
  }
  CalculateRotatedTabWidth();
  PlaceRowsAcross();
}

void TcxCustomTabControl::PlaceSingleRow() {
  const int N = FVisibleTabs->Count();
  const int Saved = FFirstShown;
  FFirstShown = 0;
  TcxPCNavigatorButtons Fits;
  if (FOptions.Contains(pcoCloseButton)) Fits.Include(nbClose);
  CalculateTabsArea(Fits);
  if (FTabsArea.Length < 1) return;
  PlaceAlongRow(0, N - 1, false);
  if (!FAllFit) {
    FFirstShown = Saved < 0 ? 0 : Saved;
    TcxPCNavigatorButtons Scroll;
    if (!(FOptions.Contains(pcoNoArrows) && FOptions.Contains(pcoGoDialog))) {
      Scroll.Include(nbTopLeft);
      Scroll.Include(nbBottomRight);
    }
    if (FOptions.Contains(pcoGoDialog)) Scroll.Include(nbGoDialog);
    if (FOptions.Contains(pcoCloseButton)) Scroll.Include(nbClose);
    CalculateTabsArea(Scroll);
    if (FTabsArea.Length < 1) return;
    PlaceAlongRow(FFirstShown, N - 1, true);
    if (FAllFit) {
      while (FFirstShown > 0) {
        --FFirstShown;
        PlaceAlongRow(FFirstShown, N - 1, true);
        if (!FAllFit) {
          ++FFirstShown;
          PlaceAlongRow(FFirstShown, N - 1, true);
          break;
        }
      }
    }
  }
  for (TcxPCNavigatorButton B : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose})
    if (!FShownButtons.Contains(B)) {
      FHotButtons.Exclude(B);
      FPressedButtons.Exclude(B);
      FButtonState[B] = nbsNormal;
    }
  UpdateNavigatorButtons();
}

void TcxCustomTabControl::PlaceAlongRow(int From, int To, bool StopAllowed) {
  const int I = SpacingInRow();
  const bool X = FTabPosition == tpTop || FTabPosition == tpBottom;
  const int S = X ? FTabsArea.Start.X : FTabsArea.Start.Y;
  const int L = FTabsArea.Length;
  const int E = S + L - 1;
  auto SetAlong = [&](TcxTab* T, int P) { (X ? T->Position.X : T->Position.Y) = P; };
  FAllFit = false;
  if (From > To) return;
  if (!IsReversedRow()) {
    int P = S, LastEnd = S - 1;
    for (int V = From; V <= To; ++V) {
      FLastShown = V;
      TcxTab* T = FVisibleTabs->GetTab(V);
      SetAlong(T, P);
      LastEnd = P + T->Extent() - 1;
      P = LastEnd + I + 1;
      if (StopAllowed && P > E) break;
    }
    FAllFit = LastEnd <= E && FLastShown == To;
  } else {
    int P = S + L - 1, LastLow = P + 1;
    for (int V = From; V <= To; ++V) {
      FLastShown = V;
      TcxTab* T = FVisibleTabs->GetTab(V);
      LastLow = P - T->Extent() + 1;
      SetAlong(T, LastLow);
      P = LastLow - I - 1;
      if (StopAllowed && P < S) break;
    }
    FAllFit = LastLow >= S && FLastShown == To;
  }
}

namespace {

// The free space of the fullest row when the extents [0, n) are split at
// the given row starts; rows keep at least one tab.
int WorstFree(const std::vector<int>& Ext, const std::vector<int>& Starts, int L, int I) {
  int Worst = 0;
  for (size_t R = 0; R < Starts.size(); ++R) {
    const int A = Starts[R], B = R + 1 < Starts.size() ? Starts[R + 1] : int(Ext.size());
    int Used = 0;
    for (int K = A; K < B; ++K) Used += Ext[size_t(K)];
    Used += I * (B - A - 1);
    Worst = std::max(Worst, L - Used);
  }
  return Worst;
}

bool RowFits(const std::vector<int>& Ext, int A, int B, int L, int I) {
  int Used = 0;
  for (int K = A; K < B; ++K) Used += Ext[size_t(K)];
  return Used + I * (B - A - 1) <= L;
}

// Re-optimises the rows 0..Row (their tabs end where row Row + 1 starts):
// moving tabs from the end of the previous row to the front of this one
// while they fit, keeping a split only when it is strictly better.
void Optimise(const std::vector<int>& Ext, std::vector<int>& Starts, int Row, int L, int I) {
  if (Row <= 0) return;
  const int End = Row + 1 < int(Starts.size()) ? Starts[size_t(Row + 1)] : int(Ext.size());
  Optimise(Ext, Starts, Row - 1, L, I);
  std::vector<int> Best = Starts;
  int BestValue = WorstFree(Ext, Starts, L, I);
  std::vector<int> Try = Starts;
  while (Try[size_t(Row)] - 1 > Try[size_t(Row - 1)] && RowFits(Ext, Try[size_t(Row)] - 1, End, L, I)) {
    --Try[size_t(Row)];
    Optimise(Ext, Try, Row - 1, L, I);
    const int Value = WorstFree(Ext, Try, L, I);
    if (Value < BestValue) {
      BestValue = Value;
      Best = Try;
    }
  }
  Starts = Best;
}

}  // namespace

void TcxCustomTabControl::BalanceRows(int From, int To, int L, int I) {
  if (FRotate && FRaggedRight) return;
  std::vector<int> Ext;
  std::vector<int> Starts;
  int PrevRow = -1;
  for (int V = From; V <= To; ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    Ext.push_back(T->Extent());
    if (T->Row != PrevRow) {
      Starts.push_back(V - From);
      PrevRow = T->Row;
    }
  }
  const int FirstRow = FVisibleTabs->GetTab(From)->Row;
  Optimise(Ext, Starts, int(Starts.size()) - 1, L, I);
  for (size_t R = 0; R < Starts.size(); ++R) {
    const int B = R + 1 < Starts.size() ? Starts[R + 1] : int(Ext.size());
    for (int K = Starts[R]; K < B; ++K) FVisibleTabs->GetTab(From + K)->Row = FirstRow + int(R);
  }
}

void TcxCustomTabControl::BuildRows(int L, int I) {
  const int N = FVisibleTabs->Count();
  FRowCount = 1;
  int Used = 0, GroupStart = 0;
  auto SpansRows = [&](int A, int B) { return FVisibleTabs->GetTab(A)->Row != FVisibleTabs->GetTab(B)->Row; };
  for (int V = 0; V < N; ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    const int E = T->Extent();
    if (E < L) {
      if (Used + E > L) {
        ++FRowCount;
        T->Row = FRowCount - 1;
        Used = E + I;
      } else {
        T->Row = FRowCount - 1;
        Used += E + I;
      }
    } else {
      if (Used != 0) {
        ++FRowCount;
        Used = 0;
      }
      if (GroupStart < V && SpansRows(GroupStart, V - 1)) BalanceRows(GroupStart, V - 1, L, I);
      if (!FRotate && FPainter->GetTabMinWidth() < L) T->NormalWidth = L;
      T->Row = FRowCount - 1;
      if (V != N - 1) ++FRowCount;
      GroupStart = V + 1;
    }
  }
  if (GroupStart < N - 1 && SpansRows(GroupStart, N - 1)) BalanceRows(GroupStart, N - 1, L, I);
}

void TcxCustomTabControl::PlaceRows() {
  CalculateTabsArea({});
  const int L = FTabsArea.Length;
  if (L < 1) return;
  const int I = SpacingInRow();
  const int N = FVisibleTabs->Count();
  int A = 0;
  while (A < N) {
    const int Row = FVisibleTabs->GetTab(A)->Row;
    int B = A;
    while (B + 1 < N && FVisibleTabs->GetTab(B + 1)->Row == Row) ++B;
    if (!FRotate && !FRaggedRight) {
      int Sum = 0;
      for (int V = A; V <= B; ++V) Sum += FVisibleTabs->GetTab(V)->Extent();
      const int Free = L - (Sum + I * (B - A));
      if (Free > 0 && Sum > 0) {
        int Given = 0;
        for (int V = A; V < B; ++V) {
          TcxTab* T = FVisibleTabs->GetTab(V);
          const int Add = T->NormalWidth * Free / Sum;
          T->NormalWidth += Add;
          Given += Add;
        }
        FVisibleTabs->GetTab(B)->NormalWidth += Free - Given;
      }
    }
    PlaceAlongRow(A, B, true);
    A = B + 1;
  }
  FFirstShown = 0;
  FLastShown = N - 1;
}

void TcxCustomTabControl::MultiLineLayout() {
  CalculateTabsArea({});
  if (FTabsArea.Length < 1) return;
  BuildRows(FTabsArea.Length, SpacingInRow());
  if (FRowCount < 2) {
    FRowCount = 1;
    PlaceSingleRow();
  } else {
    PlaceRows();
  }
  if (FTabsArea.Length >= 1) SetGroupsAlongRow();
  CalculateRotatedTabWidth();
  ArrangeRows();
}

void TcxCustomTabControl::CalculateRotatedTabWidth() {
  if (!FRotate) {
    FRotatedTabWidth = FTabs->TabNormalHeight;
    return;
  }
  int W = 0;
  const int N = FVisibleTabs->Count();
  const bool All = FOptions.Contains(pcoFixedTabWidthWhenRotated) || FMultiLine;
  for (int V = All ? 0 : std::max(0, FFirstShown); V <= (All ? N - 1 : FLastShown) && V < N; ++V)
    W = std::max(W, FVisibleTabs->GetTab(V)->NormalWidth);
  if (FMaxRotatedTabWidth >= 1 && FMaxRotatedTabWidth >= FPainter->GetTabMinWidth() && FMaxRotatedTabWidth < W)
    W = FMaxRotatedTabWidth;
  FRotatedTabWidth = W;
}

void TcxCustomTabControl::ArrangeRows() {
  const int N = FVisibleTabs->Count();
  const bool Side = FTabPosition == tpLeft || FTabPosition == tpRight;
  const bool TopToBottom = FOptions.Contains(pcoTopToBottomText);
  const bool Reversed = Side ? ((!FRotate && TopToBottom) != (FTabPosition == tpRight))
                             : ((FRotate && !TopToBottom) != (FTabPosition == tpBottom));
  for (int V = 0; V < N; ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    T->DisplayRow = Reversed ? FRowCount - T->Row - 1 : T->Row;
  }
  int Candidate = FRowCount;
  int Current = -1;
  if (FTabIndex >= 0) {
    int P = 0;
    if (FVisibleTabs->FindTabIndex(FTabIndex, P)) Current = P;
  }
  if (Current >= 0 && FPainter->PainterClass()->ActiveRowNextToPage) {
    const int Active = FVisibleTabs->GetTab(Current)->DisplayRow;
    if (FScrollOpposite) {
      Candidate = Active + 1;
    } else {
      for (int V = 0; V < N; ++V) {
        TcxTab* T = FVisibleTabs->GetTab(V);
        T->DisplayRow = (T->DisplayRow + FRowCount - Active - 1) % FRowCount;
      }
    }
  }
  FSplitRow = Candidate;
  if (FTabPosition == tpBottom || FTabPosition == tpRight) {
    for (int V = 0; V < N; ++V) {
      TcxTab* T = FVisibleTabs->GetTab(V);
      T->DisplayRow = FRowCount - T->DisplayRow - 1;
    }
    FSplitRow = FRowCount - FSplitRow;
  }
  PlaceRowsAcross();
}

void TcxCustomTabControl::PlaceRowsAcross() {
  const int W = FRotatedTabWidth;
  const int G = SpacingBetweenRows();
  const bool X = FTabPosition == tpTop || FTabPosition == tpBottom;  // rows run along X: across is Y
  const int S = X ? FTabsArea.Start.Y : FTabsArea.Start.X;
  const int E = X ? FTabsArea.End.Y : FTabsArea.End.X;
  const int A1 = X ? FTabsArea.Rect.Top : FTabsArea.Rect.Left;
  const int A2 = X ? FTabsArea.Rect.Bottom : FTabsArea.Rect.Right;
  for (int V = 0; V < FVisibleTabs->Count(); ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    const int D = T->DisplayRow;
    const int P = D < FSplitRow ? D * (W + G) + S : E - (FRowCount - D) * W - (FRowCount - D - 1) * G;
    (X ? T->Position.Y : T->Position.X) = P;
  }
  int NearEnd = std::min(A2, (W + G) * FSplitRow + S + FTabsArea.NearOffset - G);
  int FarStart = std::max(A1, E + G + FTabsArea.FarOffset - (FRowCount - FSplitRow) * (W + G));
  if (FSplitRow != 0 && FSplitRow != FRowCount) {
    if (FTabPosition == tpTop || FTabPosition == tpLeft)
      FarStart = std::max(FarStart, std::min(A2, NearEnd + FTabsArea.RowSpacing));
    else
      NearEnd = std::min(NearEnd, std::max(A1, FarStart - FTabsArea.RowSpacing));
  }
  if (X) {
    FNearGroupRect.Top = A1;
    FNearGroupRect.Bottom = FSplitRow > 0 ? NearEnd : A1;
    FFarGroupRect.Top = FSplitRow < FRowCount ? FarStart : A2;
    FFarGroupRect.Bottom = A2;
  } else {
    FNearGroupRect.Left = A1;
    FNearGroupRect.Right = FSplitRow > 0 ? NearEnd : A1;
    FFarGroupRect.Left = FSplitRow < FRowCount ? FarStart : A2;
    FFarGroupRect.Right = A2;
  }
}

bool TcxCustomTabControl::IsNavigatorButtonEnabled(TcxPCNavigatorButton B) const {
  const int N = FVisibleTabs->Count();
  const TcxPCNavigatorButton Forward = IsReversedRow() ? nbTopLeft : nbBottomRight;
  switch (B) {
    case nbGoDialog: return true;
    case nbClose: return FCurrentVisibleIndex >= 0;
    default:
      if (B == Forward) return !(FLastShown >= N - 1 && (FAllFit || FLastShown == FFirstShown));
      return FFirstShown > 0;
  }
}

void TcxCustomTabControl::UpdateNavigatorButtons() {
  bool Changed = false;
  for (TcxPCNavigatorButton B : {nbTopLeft, nbBottomRight, nbClose}) {
    if (!FShownButtons.Contains(B)) continue;
    const int Old = FButtonState[B];
    int New = Old;
    if (!IsNavigatorButtonEnabled(B))
      New = nbsDisabled;
    else if (Old == nbsDisabled)
      New = nbsNormal;
    if (New == Old) continue;
    FButtonState[B] = New;
    if (New == nbsDisabled) {
      FHotButtons.Exclude(B);
      FPressedButtons.Exclude(B);
    }
    if (FPainter) FPainter->RepaintNavigatorButton(B, Old);
    Changed = true;
  }
  if (Changed && !FLayoutGuard) UpdateHotTrack(KeyboardShift());
}

void TcxCustomTabControl::ScrollTabs(TcxPCNavigatorButton Button) {
  if (FButtonState[Button] == nbsDisabled || !IsNavigatorButtonEnabled(Button)) return;
  bool Forward = Button == nbBottomRight;
  if (IsReversedRow()) Forward = !Forward;
  FFirstShown += Forward ? 1 : -1;
  RequestLayout();
}

void TcxCustomTabControl::MakeTabVisible(int V) {
  if (V < FFirstShown) {
    FFirstShown = V;
    return;
  }
  if (V < FLastShown || (V == FLastShown && FAllFit)) return;
  FPainter->CalculateTabsArea(FShownButtons, FTabsArea);
  const int L = FTabsArea.Length;
  FFirstShown = V;
  if (L < 1) return;
  const int I = SpacingInRow();
  int D = FVisibleTabs->GetTab(V)->Extent();
  while (D + I < L && FFirstShown >= 1) {
    --FFirstShown;
    D += I + FVisibleTabs->GetTab(FFirstShown)->Extent();
    if (D > L) {
      ++FFirstShown;
      break;
    }
  }
}

int TcxCustomTabControl::GetTabAt(int X, int Y) const {
  if (FHideTabs || !FPainter) return -1;
  const int N = FVisibleTabs->Count();
  const int From = FMultiLine ? 0 : std::max(0, FFirstShown);
  const int To = FMultiLine ? N - 1 : FLastShown;
  for (int V = From; V <= To && V < N; ++V) {
    if (FVisibleTabs->GetTab(V)->DisplayRect().Contains({X, Y}) && FPainter->IsPointInTab(V, X, Y)) return V;
  }
  return -1;
}

void TcxCustomTabControl::AdjustClientRect(TRect& Rect) const {
  if (!FPainter) return;
  Rect = FPainter->GetDisplayRect();
}

void TcxCustomTabControl::Resize() {
  inherited::Resize();
  RequestLayout();
  if (FOptions.Contains(pcoRedrawOnResize) && FPainter && FPainter->NeedsRedrawOnResize()) Invalidate();
}

void TcxCustomTabControl::CreateWnd() {
  inherited::CreateWnd();
  RequestLayout();
}

void TcxCustomTabControl::Loaded() {
  const int Read = FTabIndex;
  inherited::Loaded();
  FTabIndex = -1;
  RequestLayout();
  LockChangeEvents();
  try {
    SetTabIndex(Read);
  } catch (...) {
    UnlockChangeEvents();
    throw;
  }
  UnlockChangeEvents();
}

void TcxCustomTabControl::Paint() {
  if (IsDestroying() || !FPainter) return;
  PaintTo(GetCxCanvas());
}

void TcxCustomTabControl::PaintTo(TcxCanvas* ACanvas) {
  const int Saved = SaveDC(ACanvas->GetDC());
  FPainter->Paint(ACanvas);
  RestoreDC(ACanvas->GetDC(), Saved);
}

// --- events and virtual operations ------------------------------------------

bool TcxCustomTabControl::CanChange(int /*NewIndex*/) {
  bool Allow = true;
  if (!ChangeEventsLocked() && OnChanging.Assigned()) OnChanging(this, Allow);
  return Allow;
}

void TcxCustomTabControl::Change() {
  if (!ChangeEventsLocked() && OnChange.Assigned()) OnChange(this);
}

bool TcxCustomTabControl::CanCloseActive() {
  bool Can = true;
  if (OnCanClose.Assigned()) OnCanClose(this, Can);
  return Can;
}

void TcxCustomTabControl::CloseActive() {
  if (FTabIndex >= 0) FTabs->Delete(FTabIndex);
}

bool TcxCustomTabControl::CanSelectTab(int Index) const {
  TcxTab* T = FTabs->GetTab(Index);
  return T->GetVisible() && T->RealEnabled();
}

int TcxCustomTabControl::GetTabImageIndex(int Index) const {
  int I = FTabs->GetTab(Index)->StoredImageIndex();
  if (OnGetImageIndex.Assigned()) OnGetImageIndex(const_cast<TcxCustomTabControl*>(this), Index, I);
  if (I < 0) return -1;
  if (!FImages || FImages->GetWidth() <= 0 || FImages->GetHeight() <= 0 || I >= FImages->Count()) return -1;
  return I;
}

void TcxCustomTabControl::PrepareTabFont(TcxTab* ATab, TcxCanvas* ACanvas) {
  ACanvas->GetFont()->Assign(GetFont());
  const int V = ATab->VisibleIndex();
  if (FPainter && V >= 0) ACanvas->GetFont()->SetColor(FPainter->GetTabTextColor(V));
  if (OnDrawTabEx.Assigned()) OnDrawTabEx(this, ATab, ACanvas->GetFont());
}

bool TcxCustomTabControl::SelectTabByAccelerator(char C) {
  if (!CanFocus()) return false;
  for (int I = 0; I < FTabs->GetCount(); ++I) {
    TcxTab* T = FTabs->GetTab(I);
    if (IsAccel(Word(static_cast<unsigned char>(C)), T->GetCaption()) && CanSelectTab(I)) {
      SetTabIndex(I);
      return true;
    }
  }
  return false;
}

std::vector<std::pair<AnsiString, int>> TcxCustomTabControl::GoDialogEntries() const {
  struct Entry {
    AnsiString Key, Caption;
    int Index;
  };
  std::vector<Entry> E;
  for (int V = 0; V < FVisibleTabs->Count(); ++V) {
    TcxTab* T = FVisibleTabs->GetTab(V);
    if (!T->RealEnabled()) continue;
    AnsiString Key;
    const AnsiString& C = T->GetCaption();
    for (size_t K = 0; K < C.size(); ++K) {
      if (C[K] == '&' && K + 1 < C.size()) ++K;
      else if (C[K] == '&') continue;
      Key += C[K];
    }
    E.push_back({Key, C, T->Index()});
  }
  if (FOptions.Contains(pcoSort))
    std::stable_sort(E.begin(), E.end(),
                     [](const Entry& A, const Entry& B) { return AnsiCompareText(A.Key, B.Key) < 0; });
  std::vector<std::pair<AnsiString, int>> R;
  for (auto& X : E) R.push_back({X.Caption, X.Index});
  return R;
}

void TcxCustomTabControl::GoDialogItemClicked(int Index) {
  FGoDialogShown = false;
  if (FShownButtons.Contains(nbGoDialog)) {
    const int Old = FButtonState[nbGoDialog];
    FButtonState[nbGoDialog] = nbsNormal;
    if (FPainter) FPainter->RepaintNavigatorButton(nbGoDialog, Old);
  }
  FPressedButtons = {};
  if (Index >= 0) SetTabIndex(Index);
  UpdateHotTrack(KeyboardShift());
}

// --- current tab ------------------------------------------------------------

void TcxCustomTabControl::SetTabIndex(int Value) {
  if (IsLoading()) {
    FTabIndex = Value;
    return;
  }
  if (Value < -1 || Value >= FTabs->GetCount()) return;
  if (Value >= 0 && CurrentTabFollowsVisibility() && !FTabs->GetTab(Value)->GetVisible()) Value = -1;
  if (Value == FTabIndex || !CanChange(Value)) return;
  FTabIndex = -1;
  FTabs->SyncCurrentTab();
  for (int I = 0; I < FTabs->GetCount(); ++I) {
    TcxTab* T = FTabs->GetTab(I);
    if (T->GetSelected()) {
      T->FSelected = false;
      T->Changed(tckSelected);
    }
  }
  FMultiSelect = false;
  FFocusedTab = -1;
  FTabIndex = Value;
  FTabs->SyncCurrentTab();
  if (!FMultiLine) {
    if (FCurrentVisibleIndex >= 0) MakeTabVisible(FCurrentVisibleIndex);
    RequestLayout();
  } else if (FPainter && FPainter->PainterClass()->ActiveRowNextToPage) {
    ArrangeRows();
    Realign();
    Invalidate();
  }
  UpdateNavigatorButtons();
  UpdateHotTrack(KeyboardShift());
  Change();
}

// --- input ------------------------------------------------------------------

void TcxCustomTabControl::UpdateHotTrack(TShiftState Shift) {
  if (IsLoading() || IsDestroying() || ComponentState().Contains(csDesigning) || !HandleAllocated() ||
      FGoDialogShown || !FPainter)
    return;
  if (!(FHotTrack || FPainter->IsNativePainting()) || !GetEnabled()) return;
  TPoint P;
  GetCursorPos(&P);
  P = ScreenToClient(P);
  TcxPCNavigatorButton B;
  TcxPCNavigatorButtons NewHot;
  const bool LeftDown = Shift.Contains(ssLeft);
  int NewHotTab = FHotTab;
  if (!LeftDown && FPainter->GetNavigatorButtonAt(P.X, P.Y, B) && FShownButtons.Contains(B) &&
      FButtonState[B] != nbsPressed && FButtonState[B] != nbsDisabled) {
    NewHot.Include(B);
    NewHotTab = -1;
  } else if (!(LeftDown && FPainter->PainterClass()->TabsActAsButtons)) {
    NewHotTab = GetTabAt(P.X, P.Y);
    if (NewHotTab >= 0 && !FVisibleTabs->GetTab(NewHotTab)->GetEnabled()) NewHotTab = -1;
  }
  if (NewHot != FHotButtons) {
    for (TcxPCNavigatorButton X : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose}) {
      if (FHotButtons.Contains(X) && !NewHot.Contains(X) && FButtonState[X] == nbsHot) {
        FButtonState[X] = nbsNormal;
        FPainter->RepaintNavigatorButton(X, nbsHot);
      }
      if (NewHot.Contains(X) && !FHotButtons.Contains(X)) {
        const int Old = FButtonState[X];
        FButtonState[X] = nbsHot;
        FPainter->RepaintNavigatorButton(X, Old);
      }
    }
    FHotButtons = NewHot;
  }
  FTabs->SetHotTab(NewHotTab);
}

void TcxCustomTabControl::TabClick(int V, TShiftState Shift) {
  TcxTab* T = FVisibleTabs->GetTab(V);
  if (FMultiSelect && FPainter->PainterClass()->AllowsMultiSelect && Shift.Contains(ssCtrl)) {
    if (V == FCurrentVisibleIndex)
      SetTabIndex(-1);
    else
      T->SetSelected(!T->GetSelected());
    return;
  }
  if (FPainter->PainterClass()->AllowsMultiSelect && Shift.Contains(ssCtrl) && FCurrentVisibleIndex >= 0 &&
      V != FCurrentVisibleIndex) {
    // The first Ctrl+click: the current tab counts as selected.
    FVisibleTabs->GetTab(FCurrentVisibleIndex)->SetSelected(true);
    T->SetSelected(true);
    return;
  }
  SetTabIndex(T->Index());
}

void TcxCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  const bool Designing = ComponentState().Contains(csDesigning);
  if ((!Designing && Button != mbLeft) || FHideTabs || !FPainter) return;
  UpdateHotTrack(Shift);
  TcxPCNavigatorButton B;
  if (FPainter->GetNavigatorButtonAt(X, Y, B) && FShownButtons.Contains(B)) {
    if (FButtonState[B] == nbsPressed || FButtonState[B] == nbsDisabled) return;
    const int Old = FButtonState[B];
    FButtonState[B] = nbsPressed;
    FPressedButtons = {B};
    FPainter->RepaintNavigatorButton(B, Old);
    if (B == nbTopLeft || B == nbBottomRight) {
      ScrollTabs(B);
      if (FButtonState[B] == nbsPressed) {
        if (!FTimer) {
          FTimer = std::make_unique<TcxTimer>(nullptr);
          FTimer->SetOnTimer(TNotifyEvent(this, &TcxCustomTabControl::TimerTick));
        }
        FTimer->SetEnabled(false);
        FTimer->SetInterval(300);
        FTimer->SetEnabled(true);
      }
    }
    return;
  }
  const int V = GetTabAt(X, Y);
  if (V < 0) return;
  TcxTab* T = FVisibleTabs->GetTab(V);
  if (!T->RealEnabled() && !Designing) return;
  if (FPainter->PainterClass()->TabsActAsButtons && !Designing) {
    FPressedTab = V;
    FTabs->TabChanged(V, tckPressed);
    return;
  }
  TabClick(V, Shift);
}

void TcxCustomTabControl::TimerTick(TObject*) {
  TcxPCNavigatorButton B = nbTopLeft;
  bool Any = false;
  for (TcxPCNavigatorButton X : {nbTopLeft, nbBottomRight})
    if (FPressedButtons.Contains(X) && FButtonState[X] == nbsPressed) {
      B = X;
      Any = true;
    }
  if (!Any) {
    FTimer->SetEnabled(false);
    return;
  }
  if (FTimer->GetInterval() != 150) FTimer->SetInterval(150);
  ScrollTabs(B);
  if (FButtonState[B] != nbsPressed) FTimer->SetEnabled(false);
}

void TcxCustomTabControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FHideTabs || FGoDialogShown || !FPainter) return;
  for (TcxPCNavigatorButton B : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose}) {
    if (!FPressedButtons.Contains(B)) continue;
    TcxPCNavigatorButton At;
    if (!(FPainter->GetNavigatorButtonAt(X, Y, At) && At == B)) {
      if (FTimer) FTimer->SetEnabled(false);
      FPressedButtons.Exclude(B);
      if (FButtonState[B] == nbsPressed) {
        FButtonState[B] = nbsNormal;
        FPainter->RepaintNavigatorButton(B, nbsPressed);
      }
    }
  }
  if (FPressedTab >= 0 && FPressedTab != GetTabAt(X, Y)) {
    const int Old = FPressedTab;
    FPressedTab = -1;
    FTabs->TabChanged(Old, tckPressed);
  }
  UpdateHotTrack(Shift);
}

void TcxCustomTabControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FHideTabs || FGoDialogShown || !FPainter) return;
  const bool Designing = ComponentState().Contains(csDesigning);
  TcxPCNavigatorButton B;
  if (FPainter->GetNavigatorButtonAt(X, Y, B) && FShownButtons.Contains(B)) {
    if (FTimer) FTimer->SetEnabled(false);
    if (FButtonState[B] == nbsDisabled) return;
    const bool WasPressed = FPressedButtons.Contains(B);
    FPressedButtons = {};
    if (!Designing && B == nbGoDialog && WasPressed) {
      FGoDialogShown = true;
      if (!FGoDialog) FGoDialog = std::make_unique<TcxPCGoDialog>(nullptr, this);
      FGoDialog->Popup(FOptions.Contains(pcoSort));
      return;
    }
    const int Old = FButtonState[B];
    FButtonState[B] = nbsNormal;
    FPainter->RepaintNavigatorButton(B, Old);
    if (B == nbClose && WasPressed && CanCloseActive()) CloseActive();
    UpdateNavigatorButtons();
  } else if (FPainter->PainterClass()->TabsActAsButtons && !Designing) {
    const int V = GetTabAt(X, Y);
    if (V >= 0 && V == FPressedTab) {
      FPressedTab = -1;
      FTabs->TabChanged(V, tckPressed);
      TabClick(V, Shift);
    }
  }
  UpdateHotTrack(Shift);
}

bool TcxCustomTabControl::HandleKey(Word& Key, TShiftState Shift) {
  const int N = FVisibleTabs->Count();
  if (FHideTabs || N == 0) return false;
  const bool Alt = Shift.Contains(ssAlt);
  if (Alt && !Shift.Contains(ssCtrl)) return false;
  const bool Ctrl = Shift.Contains(ssCtrl);
  const int Fwd = IsReversedRow() ? -1 : 1;
  int Step = 0;
  bool Wrap = false, FromEnd = false;
  switch (Key) {
    case VK_TAB:
      if (!Ctrl) return false;
      Step = Shift.Contains(ssShift) ? -1 : 1;
      Wrap = true;
      break;
    case VK_LEFT:
    case VK_UP: Step = -Fwd; break;
    case VK_RIGHT:
    case VK_DOWN: Step = Fwd; break;
    case VK_HOME:
      Step = Fwd;
      FromEnd = true;
      break;
    case VK_END:
      Step = -Fwd;
      FromEnd = true;
      break;
    case VK_RETURN:
    case VK_SPACE:
      if (FFocusedTab < 0) return false;
      SetTabIndex(FVisibleTabs->GetTab(FFocusedTab)->Index());
      return true;
    default: return false;
  }
  int Start;
  if (FromEnd)
    Start = Step > 0 ? 0 : N - 1;
  else if (FFocusedTab >= 0)
    Start = FFocusedTab + Step;
  else if (FCurrentVisibleIndex >= 0)
    Start = FCurrentVisibleIndex + Step;
  else
    Start = Step > 0 ? 0 : N - 1;
  if (Start < 0 || Start >= N) {
    if (!Wrap) return true;
    Start = Start < 0 ? N - 1 : 0;
  }
  int V = Start;
  for (int K = 0; K < N; ++K) {
    if (FVisibleTabs->GetTab(V)->RealEnabled()) {
      if (FPainter->PainterClass()->TabsActAsButtons && Key != VK_TAB)
        FTabs->SetFocusedTab(V);
      else if (V != FCurrentVisibleIndex)
        SetTabIndex(FVisibleTabs->GetTab(V)->Index());
      return true;
    }
    V += Step;
    if (V < 0 || V >= N) {
      if (!Wrap) return true;
      V = V < 0 ? N - 1 : 0;
    }
  }
  return true;
}

void TcxCustomTabControl::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != 0 && HandleKey(Key, Shift)) Key = 0;
}

void TcxCustomTabControl::FocusModified() {
  inherited::FocusModified();
  if (!IsDestroying() && FCurrentVisibleIndex >= 0 && FVisibleTabs->GetTab(FCurrentVisibleIndex)->IsShown())
    FTabs->TabChanged(FCurrentVisibleIndex, tckFocus);
}

void TcxCustomTabControl::NotifyMouseLeave(TControl* AControl) {
  inherited::NotifyMouseLeave(AControl);
  if (!FGoDialogShown) UpdateHotTrack(KeyboardShift());
}

void TcxCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      inherited::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS;
      return;
    case CM_DIALOGCHAR:
      if (SelectTabByAccelerator(char(Message.WParam))) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (HandleAllocated() && (Focused() || IsChild(FHandle, GetFocus()))) {
        Word Key = Word(Message.WParam);
        if (HandleKey(Key, KeyboardShift())) {
          Message.Result = 1;
          return;
        }
      }
      break;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TcxTabSheet

TcxTabSheet::TcxTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FVisible = false;
  FTabStop = false;
  SetAlign(alClient);
}

TcxTabSheet::~TcxTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TcxTabSheet::Published(TPublished<TcxTabSheet>& P) {
  P.Property("Caption", &TcxTabSheet::GetCaption, &TcxTabSheet::SetCaption);
  P.Property("Color", &TcxTabSheet::GetColor, &TcxTabSheet::SetColor);
  P.Property("Enabled", &TcxTabSheet::GetEnabled, &TcxTabSheet::SetEnabled).Default(true);
  P.Property("Font", &TcxTabSheet::GetFont, &TcxTabSheet::SetFont).Stored(&TcxTabSheet::IsFontStored);
  P.Property("Highlighted", &TcxTabSheet::GetHighlighted, &TcxTabSheet::SetHighlighted).Default(false);
  P.Property("ImageIndex", &TcxTabSheet::GetImageIndex, &TcxTabSheet::SetImageIndex).Default(-1);
  P.Property("PageIndex", &TcxTabSheet::GetPageIndex, &TcxTabSheet::SetPageIndex).Stored(false);
  P.Property("ParentColor", &TcxTabSheet::GetParentColor, &TcxTabSheet::SetParentColor).Default(true);
  P.Property("ParentFont", &TcxTabSheet::GetParentFont, &TcxTabSheet::SetParentFont).Default(true);
  P.Property("TabVisible", &TcxTabSheet::GetTabVisible, &TcxTabSheet::SetTabVisible).Default(true);
  P.Property("OnHide", &TcxTabSheet::OnHide, &TcxTabSheet::OnHide);
  P.Property("OnShow", &TcxTabSheet::OnShow, &TcxTabSheet::OnShow);
}

void TcxTabSheet::SetParent(TWinControl* AParent) {
  auto* PC = dynamic_cast<TcxPageControl*>(AParent);
  if (AParent && !PC) return;  // only a page control can hold a sheet
  if (FPageControl && FPageControl != PC) FPageControl->RemovePage(this);
  inherited::SetParent(AParent);
  if (PC && FPageControl != PC) PC->InsertPage(this);
}

void TcxTabSheet::SetPageControl(TcxPageControl* Value) { SetParent(Value); }

Integer TcxTabSheet::GetPageIndex() const {
  if (!FPageControl) return -1;
  const auto& P = FPageControl->FPages;
  return Integer(std::find(P.begin(), P.end(), this) - P.begin());
}

void TcxTabSheet::SetPageIndex(Integer Value) {
  if (!FPageControl) return;
  auto& P = FPageControl->FPages;
  const int Count = int(P.size());
  if (Value > Count - 1) throw EListError(Format(sInvalidPageIndex, {Value, Count - 1}));
  if (Value < 0) throw EListError("List index out of bounds (" + IntToStr(Value) + ")");
  const Integer Old = GetPageIndex();
  if (Old == Value) return;
  P.erase(P.begin() + Old);
  P.insert(P.begin() + Value, this);
  FPageControl->Tabs()->Move(Old, Value);
  FTab = FPageControl->Tabs()->GetTab(Value);
  FPageControl->UpdateTab(this);
  FPageControl->LockChangeEvents();
  FPageControl->SetTabIndexDirect(-1);
  FPageControl->SetTabIndex(FPageControl->FActivePage && FPageControl->FActivePage->FTabVisible
                                ? FPageControl->FActivePage->GetPageIndex()
                                : -1);
  FPageControl->UnlockChangeEvents();
}

void TcxTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TcxTabSheet::SetHighlighted(bool Value) {
  if (FHighlighted == Value) return;
  FHighlighted = Value;
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TcxTabSheet::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TcxTabSheet::Paint() {
  if (!FPageControl || !FPageControl->Painter()) return;
  // The sheet shows the page area's colour of its control.
  TcxCanvas C(Canvas());
  C.FillRect(TRect{0, 0, FWidth, FHeight}, FPageControl->Painter()->GetPageColor());
}

void TcxTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED:
      inherited::Dispatch(Message);
      try {
        if (FShowing) {
          if (OnShow.Assigned()) OnShow(this);
        } else if (OnHide.Assigned()) {
          OnHide(this);
        }
      } catch (Exception& E) {
        if (Application) Application->ShowException(E);
      }
      return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      if (FPageControl) FPageControl->UpdateTab(this);
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TcxPageControl

TcxPageControl::TcxPageControl(TComponent* AOwner) : TcxCustomTabControl(AOwner) {}

TcxPageControl::~TcxPageControl() {
  for (TcxTabSheet* S : FPages) {
    S->FPageControl = nullptr;
    S->FTab = nullptr;
  }
  FPages.clear();
}

void TcxPageControl::Published(TPublished<TcxPageControl>& P) {
  P.Property("ActivePage", &TcxPageControl::GetActivePage, &TcxPageControl::SetActivePage);
  P.Property("Align", &TcxPageControl::GetAlign, &TcxPageControl::SetAlign).Default(alNone);
  P.Property("Enabled", &TcxPageControl::GetEnabled, &TcxPageControl::SetEnabled).Default(true);
  P.Property("Focusable", &TcxPageControl::GetFocusable, &TcxPageControl::SetFocusable).Default(true);
  P.Property("HideTabs", &TcxPageControl::GetHideTabs, &TcxPageControl::SetHideTabs).Default(false);
  P.Property("HotTrack", &TcxPageControl::GetHotTrack, &TcxPageControl::SetHotTrack).Default(false);
  P.Property("LookAndFeel", &TcxPageControl::GetLookAndFeel, &TcxPageControl::SetLookAndFeel);
  P.Property("MultiLine", &TcxPageControl::GetMultiLine, &TcxPageControl::SetMultiLine).Default(false);
  P.Property("Rotate", &TcxPageControl::GetRotate, &TcxPageControl::SetRotate).Default(false);
  P.Property("ShowFrame", &TcxPageControl::GetShowFrame, &TcxPageControl::SetShowFrame).Default(false);
  P.Property("Style", &TcxPageControl::GetStyle, &TcxPageControl::SetStyle).Default(0);
  P.Property("TabHeight", &TcxPageControl::GetTabHeight, &TcxPageControl::SetTabHeight).Default(SmallInt(0));
  P.Property("TabOrder", &TcxPageControl::GetTabOrder, &TcxPageControl::SetTabOrder).Default(-1);
  P.Property("TabPosition", &TcxPageControl::GetTabPosition, &TcxPageControl::SetTabPosition).Default(tpTop);
  P.Property("TabWidth", &TcxPageControl::GetTabWidth, &TcxPageControl::SetTabWidth).Default(SmallInt(0));
  P.Property("Visible", &TcxPageControl::GetVisible, &TcxPageControl::SetVisible).Default(true);
  P.Property("OnChange", &TcxPageControl::OnChange, &TcxPageControl::OnChange);
  P.Property("OnPageChanging", &TcxPageControl::OnPageChanging, &TcxPageControl::OnPageChanging);
}

TcxTabSheet* TcxPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FPages[size_t(Index)];
}

TWinControl* TcxPageControl::GetPage(int Index) const { return Pages(Index); }

void TcxPageControl::SetActivePageNo(int Index) {
  SetActivePage(Index >= 0 && Index < PageCount() ? FPages[size_t(Index)] : nullptr);
}

TcxTabSheet* TcxPageControl::GetNextPage(TcxTabSheet* Sheet, bool Forward, bool OnlyVisible) const {
  if (FPages.empty()) return nullptr;
  const int Count = PageCount();
  auto It = std::find(FPages.begin(), FPages.end(), Sheet);
  const int Start = It == FPages.end() ? (Forward ? Count - 1 : 0) : int(It - FPages.begin());
  int I = Start;
  do {
    I = Forward ? (I + 1) % Count : (I + Count - 1) % Count;
    TcxTabSheet* S = FPages[size_t(I)];
    if (!OnlyVisible || (S->FTabVisible && S->GetEnabled())) return S;
  } while (I != Start);
  return nullptr;
}

void TcxPageControl::MoveToNextPage(bool Forward, bool OnlyVisible) {
  TcxTabSheet* S = GetNextPage(FActivePage, Forward, OnlyVisible);
  if (S && S != FActivePage) SetActivePage(S);
}

void TcxPageControl::InsertPage(TcxTabSheet* Sheet) {
  FInserting = true;
  FPages.push_back(Sheet);
  Sheet->FPageControl = this;
  LockChangeEvents();
  try {
    Tabs()->Add(Sheet->GetCaption());
  } catch (...) {
    UnlockChangeEvents();
    FInserting = false;
    throw;
  }
  UnlockChangeEvents();
  FInserting = false;
  Sheet->FTab = Tabs()->GetTab(Tabs()->GetCount() - 1);
  UpdateTab(Sheet);
  if (!IsLoading() && !FActivePage && Sheet->FTabVisible) SetActivePage(Sheet);
}

void TcxPageControl::RemovePage(TcxTabSheet* Sheet) {
  auto It = std::find(FPages.begin(), FPages.end(), Sheet);
  if (It == FPages.end()) return;
  TcxTabSheet* Next = GetNextPage(Sheet, true, !ComponentState().Contains(csDesigning));
  const int Index = int(It - FPages.begin());
  FPages.erase(It);
  Sheet->FTab = nullptr;
  LockChangeEvents();
  Tabs()->Delete(Index);
  UnlockChangeEvents();
  SetTabIndexDirect(-1);
  if (Next == Sheet) Next = nullptr;
  if (FActivePage == Sheet) {
    FActivePage = nullptr;
    if (!IsDestroying()) SetActivePage(Next);
  } else if (FActivePage) {
    LockChangeEvents();
    SetTabIndex(FActivePage->FTabVisible ? FActivePage->GetPageIndex() : -1);
    UnlockChangeEvents();
  }
  Sheet->FPageControl = nullptr;
}

void TcxPageControl::UpdateTab(TcxTabSheet* Sheet) {
  if (IsLoading() || !Sheet->FTab) return;
  TcxTab* T = Sheet->FTab;
  T->SetCaption(Sheet->GetCaption());
  T->SetEnabled(Sheet->GetEnabled());
  T->SetImageIndex(Sheet->FImageIndex);
  T->SetHighlighted(Sheet->FHighlighted);
  T->SetVisible(Sheet->FTabVisible);
  if (Sheet == FActivePage) {
    LockChangeEvents();
    SetTabIndex(T->GetVisible() ? T->Index() : -1);
    UnlockChangeEvents();
  }
}

void TcxPageControl::SetActivePage(TcxTabSheet* Value) {
  if (Value && Value->FPageControl != this) return;
  ChangeActivePage(Value);
  if (FActivePage == Value) {
    LockChangeEvents();
    SetTabIndex(Value && Value->FTabVisible ? Value->GetPageIndex() : -1);
    UnlockChangeEvents();
  }
}

void TcxPageControl::ChangeActivePage(TcxTabSheet* Value) {
  if (FActivePage == Value || !PageChanging(Value)) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form && FActivePage && FActivePage->ContainsControl(Form->GetActiveControl())) {
    Form->SetActiveControl(FActivePage);
    if (Form->GetActiveControl() != FActivePage) {
      LockChangeEvents();
      SetTabIndex(FActivePage->GetPageIndex());
      UnlockChangeEvents();
      return;
    }
  }
  TWinControl* Focus = nullptr;
  if (Value && Form && FActivePage && Form->GetActiveControl() == FActivePage) {
    Focus = Value->GetEnabled() && GetVisible() && GetEnabled() ? static_cast<TWinControl*>(Value) : this;
  }
  if (FActivePage) FActivePage->SetVisible(false);
  if (Value) {
    Value->BringToFront();
    Value->SetVisible(true);
  }
  if (Focus && Form) Form->SetActiveControl(Focus);
  FActivePage = Value;
  ActivePageChanged();
}

bool TcxPageControl::PageChanging(TcxTabSheet* NewPage) {
  bool Allow = true;
  if (!ChangeEventsLocked() && OnPageChanging.Assigned()) OnPageChanging(this, NewPage, Allow);
  return Allow;
}

void TcxPageControl::ActivePageChanged() {
  if (!ChangeEventsLocked() && OnChange.Assigned()) OnChange(this);
}

bool TcxPageControl::CanChange(int NewIndex) {
  if (!inherited::CanChange(NewIndex)) return false;
  if (NewIndex == GetTabIndex() || NewIndex < 0 || NewIndex >= PageCount()) return true;
  return PageChanging(FPages[size_t(NewIndex)]);
}

void TcxPageControl::SyncActivePage() {
  const int I = GetTabIndex();
  TcxTabSheet* S = I >= 0 && I < PageCount() ? FPages[size_t(I)] : nullptr;
  if (S == FActivePage) return;
  // The page changing question was asked for the tab already.
  auto Saved = OnPageChanging;
  OnPageChanging = {};
  ChangeActivePage(S);
  OnPageChanging = Saved;
}

void TcxPageControl::Change() {
  // A locked change comes from the active page itself (a page whose tab is
  // hidden stays active without a current tab); only the user's choice of
  // a tab moves the page.
  if (ChangeEventsLocked()) return;
  LockChangeEvents();
  try {
    SyncActivePage();
  } catch (...) {
    UnlockChangeEvents();
    throw;
  }
  UnlockChangeEvents();
  inherited::Change();
}

void TcxPageControl::CloseActive() { delete FActivePage; }

void TcxPageControl::RequestLayout() {
  inherited::RequestLayout();
  if (FActivePage) FActivePage->Invalidate();
}

void TcxPageControl::ImagesChanged() {
  if (!FInserting)
    for (TcxTabSheet* S : FPages)
      if (S->FTab) S->FTab->SetImageIndex(S->FImageIndex);
  inherited::ImagesChanged();
}

void TcxPageControl::Loaded() {
  inherited::Loaded();
  for (TcxTabSheet* S : FPages) UpdateTab(S);
  if (FActivePage && !FActivePage->GetEnabled() && !ComponentState().Contains(csDesigning)) SetActivePage(nullptr);
  if (!FActivePage) {
    LockChangeEvents();
    SetTabIndex(-1);
    UnlockChangeEvents();
  }
  for (TcxTabSheet* S : FPages) S->SetVisible(S == FActivePage);
}

void TcxPageControl::ShowControl(TControl* AControl) {
  if (auto* S = dynamic_cast<TcxTabSheet*>(AControl); S && S->FPageControl == this) SetActivePage(S);
}

bool TcxPageControl::MayFocusOnClickAt(int X, int Y) const {
  if (!inherited::MayFocusOnClickAt(X, Y)) return false;
  const int V = GetTabAt(X, Y);
  return V >= 0 && FActivePage && FActivePage->FTab && VisibleTabs()->GetTab(V) == FActivePage->FTab;
}

void RegisterTabControlClasses() { RegisterClasses({TcxPageControl::StaticClass(), TcxTabSheet::StaticClass()}); }
