#include "controls/lookandfeel/cxLookAndFeels.h"

#include <algorithm>
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/win/Window.h"

namespace {
TcxLookAndFeel*& RootSlot() {
  // Never freed: objects destroyed at exit may still ask for it.
  static TcxLookAndFeel* Root = nullptr;
  return Root;
}
int& ControllerCount() {
  static int Count = 0;
  return Count;
}
bool IsController(IcxLookAndFeelListener* L) {
  return dynamic_cast<TcxLookAndFeelController*>(L->GetListenerObject()) != nullptr;
}
}  // namespace

TcxLookAndFeel* GetRootLookAndFeel() { return TcxLookAndFeel::Root(); }

TcxLookAndFeel* TcxLookAndFeel::Root() {
  static bool Making = false;
  TcxLookAndFeel*& R = RootSlot();
  if (!R && !Making) {
    Making = true;
    LockOffice11Scheme();
    auto* Obj = new TcxLookAndFeel(nullptr);
    Obj->FIsRoot = true;
    R = Obj;
    Making = false;
  }
  return R;
}

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner) : FOwner(AOwner) {
  FPaletteNotifier = std::make_unique<TcxSystemPaletteChangedNotifier>(false);
  FPaletteNotifier->OnSystemPaletteChanged = TNotifyEvent(this, &TcxLookAndFeel::PaletteChanged);
  if (TcxLookAndFeel* M = GetMaster()) {
    M->AddChangeListener(this);
    FCachedKind = GetEffectiveKind();
    FCachedNativeStyle = GetEffectiveNativeStyle();
  }
}

TcxLookAndFeel::~TcxLookAndFeel() {
  FDestroying = true;
  // Dependent objects follow the root from now on.
  while (!FListeners.empty()) {
    IcxLookAndFeelListener* L = FListeners.back();
    FListeners.pop_back();
    L->MasterDestroying(this);
  }
  if (!FIsRoot)
    if (TcxLookAndFeel* M = GetMaster()) M->RemoveChangeListener(this);
}

void TcxLookAndFeel::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TcxLookAndFeel*>(Source)) {
    const TPrevious P = Save();
    FKind = S->FKind;
    FNativeStyle = S->FNativeStyle;
    FAssignedValues = S->FAssignedValues;
    NotifyDifferences(P);
  } else
    TPersistent::Assign(Source);
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value) {
  const TPrevious P = Save();
  FKind = Value;
  FAssignedValues |= lfvBit(lfvKind);
  NotifyDifferences(P);
}

void TcxLookAndFeel::SetNativeStyle(bool Value) {
  const TPrevious P = Save();
  FNativeStyle = Value;
  FAssignedValues |= lfvBit(lfvNativeStyle);
  NotifyDifferences(P);
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value) {
  if (Value == FAssignedValues) return;
  const TPrevious P = Save();
  FAssignedValues = Value;
  NotifyDifferences(P);
}

TcxLookAndFeel* TcxLookAndFeel::GetMaster() const {
  if (FIsRoot) return nullptr;
  if (FMaster) return FMaster;
  TcxLookAndFeel* R = RootSlot();
  return R == this ? nullptr : R ? R : Root();
}

void TcxLookAndFeel::SetMaster(TcxLookAndFeel* Value) {
  if (FIsRoot || Value == this || Value == GetMaster()) return;
  const TPrevious P = Save();
  if (TcxLookAndFeel* Old = GetMaster()) Old->RemoveChangeListener(this);
  FMaster = Value;
  if (TcxLookAndFeel* New = GetMaster()) New->AddChangeListener(this);
  NotifyDifferences(P);
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelListener* AListener) {
  if (!AListener) return;
  const bool Controller = IsController(AListener);
  if (Controller && !FIsRoot) return;
  if (std::find(FListeners.begin(), FListeners.end(), AListener) != FListeners.end()) return;
  FListeners.push_back(AListener);
  if (Controller) ++ControllerCount();
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelListener* AListener) {
  if (!AListener || FDestroying) return;
  auto It = std::find(FListeners.begin(), FListeners.end(), AListener);
  if (It == FListeners.end()) return;
  FListeners.erase(It);
  if (FIsRoot && IsController(AListener) && --ControllerCount() == 0) ResetAssignedValues();
}

void TcxLookAndFeel::MasterModified(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  NotifyChanged(AChangedValues & ~FAssignedValues);
}

void TcxLookAndFeel::MasterDestroying(TcxLookAndFeel* Sender) {
  if (FMaster == Sender) {
    // The master is going: its listener list is being emptied already.
    const TPrevious P = Save();
    FMaster = nullptr;
    if (TcxLookAndFeel* R = GetMaster()) R->AddChangeListener(this);
    NotifyDifferences(P);
  }
}

TcxLookAndFeelKind TcxLookAndFeel::GetEffectiveKind() const {
  if (FAssignedValues & lfvBit(lfvKind)) return FKind;
  if (FIsRoot) return lfUltraFlat;
  TcxLookAndFeel* M = GetMaster();
  return M ? M->FCachedKind : lfUltraFlat;
}

bool TcxLookAndFeel::GetEffectiveNativeStyle() const {
  if (FAssignedValues & lfvBit(lfvNativeStyle)) return FNativeStyle;
  if (FIsRoot) return false;
  TcxLookAndFeel* M = GetMaster();
  return M ? M->FCachedNativeStyle : false;
}

void TcxLookAndFeel::NotifyDifferences(const TPrevious& P) {
  TcxLookAndFeelValues Changed = 0;
  if (GetEffectiveKind() != P.Kind) Changed |= lfvBit(lfvKind);
  if (GetEffectiveNativeStyle() != P.NativeStyle) Changed |= lfvBit(lfvNativeStyle);
  // The cache follows even when nothing changed in effect (a value newly
  // assigned to what the master already said).
  FCachedKind = GetEffectiveKind();
  FCachedNativeStyle = GetEffectiveNativeStyle();
  NotifyChanged(Changed);
}

void TcxLookAndFeel::NotifyChanged(TcxLookAndFeelValues AChangedValues) {
  if (!AChangedValues || FDestroying) return;
  FCachedKind = GetEffectiveKind();
  FCachedNativeStyle = GetEffectiveNativeStyle();
  for (std::size_t i = 0; i < FListeners.size();) {
    const std::size_t Count = FListeners.size();
    FListeners[i]->MasterModified(this, AChangedValues);
    // A listener that removed itself must not make the next one be skipped.
    if (FListeners.size() == Count) ++i;
  }
  if (OnChanged.Assigned()) OnChanged(this, AChangedValues);
}

TcxLookAndFeelPainterClass TcxLookAndFeel::GetPainterForThemeClass(TdxThemedObjectType AThemeClass) const {
  if (GetNativeStyle() && IsThemeClassAvailable(AThemeClass)) return TcxWinXPLookAndFeelPainter::Instance();
  return PainterOfKind(GetKind());
}

TcxLookAndFeelPainterClass TcxLookAndFeel::GetPainterForThemeSet(TdxThemeClasses AThemeClasses) const {
  if (GetNativeStyle() && AreThemesAvailable(AThemeClasses)) return TcxWinXPLookAndFeelPainter::Instance();
  return PainterOfKind(GetKind());
}

TcxLookAndFeelPainterClass TcxLookAndFeel::GetActivePainter() const {
  return FPainter ? FPainter : GetPainterForThemeSet(0);
}

// --- controller ---

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner) : TComponent(AOwner) {
  GetRootLookAndFeel()->AddChangeListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController() { GetRootLookAndFeel()->RemoveChangeListener(this); }

// --- palette-changed notifiers ---

namespace {
struct TPaletteListener : TObject {
  std::vector<TcxSystemPaletteChangedNotifier*> Primary, Others;
  HWND Wnd = nullptr;
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_SYSCOLORCHANGE) NotifySystemPaletteChanged();
    Message.Result = DefWindowProcA(Wnd, Message.Msg, Message.WParam, Message.LParam);
  }
};
TPaletteListener& PaletteListener() {
  static TPaletteListener L;
  return L;
}
}  // namespace

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool AIsPrimary) : FIsPrimary(AIsPrimary) {
  (FIsPrimary ? PaletteListener().Primary : PaletteListener().Others).push_back(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier() {
  auto& L = FIsPrimary ? PaletteListener().Primary : PaletteListener().Others;
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
}

void NotifySystemPaletteChanged() {
  ReloadOffice11Scheme();
  TPaletteListener& P = PaletteListener();
  for (auto* List : {&P.Primary, &P.Others}) {
    const auto Copy = *List;  // a handler may free a notifier
    for (auto It = Copy.rbegin(); It != Copy.rend(); ++It)
      if (std::find(List->begin(), List->end(), *It) != List->end()) (*It)->DoChanged();
  }
}

HWND SystemPaletteListenerWindow() {
  TPaletteListener& P = PaletteListener();
  if (!P.Wnd || !IsWindow(P.Wnd)) P.Wnd = AllocateHWnd(TWndMethod(&P, &TPaletteListener::WndProc));
  return P.Wnd;
}
