#include "app/dragdrop/DropTarget.h"

#include <algorithm>

#include "platform/forms/Clipbrd.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/OleClipboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Window.h"

// --- the proxy -----------------------------------------------------------------------------------

TWinControlProxy::TWinControlProxy(TComponent* AOwner, IDropTarget* Target) : TWinControl(AOwner), FTarget(Target) {
  SetBounds(0, 0, 0, 0);
}

TWinControlProxy::~TWinControlProxy() {
  // The base destructor destroys the window without reaching DestroyWnd
  // of this class.
  if (FRegistered && IsWindow(FRegistered)) RevokeDragDrop(FRegistered);
}

void TWinControlProxy::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  // No size and no input: the window exists only to follow its parent's.
  Params.Width = 0;
  Params.Height = 0;
  Params.Style |= WS_DISABLED;
}

void TWinControlProxy::CreateWnd() {
  TWinControl::CreateWnd();
  HWND Parent = ::GetParent(Handle());
  if (!Parent) return;
  // The parent's class may have registered a target of its own (a rich
  // edit does): ours takes its place.
  if (RegisteredDropTarget(Parent)) RevokeDragDrop(Parent);
  OleCheck(RegisterDragDrop(Parent, FTarget));
  FRegistered = Parent;
}

void TWinControlProxy::DestroyWnd() {
  if (FRegistered && IsWindow(FRegistered)) RevokeDragDrop(FRegistered);
  FRegistered = nullptr;
  TWinControl::DestroyWnd();
}

// --- the drop target -----------------------------------------------------------------------------

TCustomDropTarget::TCustomDropTarget(TComponent* AOwner) : TDragDropComponent(AOwner) {
  FScrollTimer = new TTimer(this);
  FScrollTimer->SetEnabled(false);
  FScrollTimer->SetOnTimer(TNotifyEvent(this, &TCustomDropTarget::ScrollTimerTick));
}

void TCustomDropTarget::Published(TPublished<TCustomDropTarget>& P) {
  using T = TCustomDropTarget;
  P.Property("DragTypes", &T::GetDragTypes, &T::SetDragTypes);
  P.Property("GetDataOnEnter", &T::GetGetDataOnEnter, &T::SetGetDataOnEnter).Default(false);
  P.Property("ShowImage", &T::GetShowImage, &T::SetShowImage).Default(true);
  P.Property("MultiTarget", &T::GetMultiTarget, &T::SetMultiTarget).Default(false);
  P.Property("AutoScroll", &T::GetAutoScroll, &T::SetAutoScroll).Default(true);
  P.Property("AllowAsyncTransfer", &T::GetAllowAsyncTransfer, &T::SetAllowAsyncTransfer).Default(false);
  // After MultiTarget, which decides whether it replaces the others.
  P.Property("Target", &T::GetTarget, &T::SetTarget);
  P.Property("OnEnter", &T::OnEnter, &T::OnEnter);
  P.Property("OnDragOver", &T::OnDragOver, &T::OnDragOver);
  P.Property("OnLeave", &T::OnLeave, &T::OnLeave);
  P.Property("OnDrop", &T::OnDrop, &T::OnDrop);
  P.Property("OnGetDropEffect", &T::OnGetDropEffect, &T::OnGetDropEffect);
}

TCustomDropTarget::~TCustomDropTarget() {
  FScrollTimer->SetEnabled(false);
  ReleaseDataObject();
  Unregister(nullptr);
}

bool TCustomDropTarget::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IDropTarget>(this, IID, Obj) || TDragDropComponent::GetInterface(IID, Obj);
}

void TCustomDropTarget::Notification(TComponent* AComponent, TOperation Operation) {
  TDragDropComponent::Notification(AComponent, Operation);
  // A control of the same owner is announced late in its destruction, when
  // it is no longer a control: it is recognised by its address.
  if (Operation == opRemove) Forget(AComponent, true);
}

void TCustomDropTarget::Register(TWinControl* Control) {
  if (Control && std::find(FControls.begin(), FControls.end(), Control) != FControls.end()) return;
  if (!FMultiTarget && !ComponentState().Contains(csLoading)) Unregister(nullptr);
  if (!Control) return;
  // After the last registered control that is an ancestor of this one, so
  // that a search from the front meets the innermost last.
  auto At = FControls.end();
  for (auto It = FControls.begin(); It != FControls.end(); ++It)
    for (TWinControl* P = Control->GetParent(); P; P = P->GetParent())
      if (P == *It) {
        At = It + 1;
        break;
      }
  if (At == FControls.end()) FControls.push_back(Control);
  else FControls.insert(At, Control);
  Control->FreeNotification(this);
  auto* Proxy = new TWinControlProxy(this, this);
  FProxies.emplace_back(Control, Proxy);
  try {
    Proxy->SetParent(Control);
    if (Control->HandleAllocated()) Proxy->HandleNeeded();
  } catch (...) {
    Unregister(Control);
    throw;
  }
}

void TCustomDropTarget::Unregister(TWinControl* Control) {
  if (!Control) {
    while (!FControls.empty()) Unregister(FControls.back());
    return;
  }
  Forget(Control, false);
}

void TCustomDropTarget::Forget(TComponent* Control, bool Gone) {
  auto It = std::find_if(FControls.begin(), FControls.end(),
                         [&](TWinControl* C) { return static_cast<TComponent*>(C) == Control; });
  if (It == FControls.end()) return;
  TWinControl* Ctl = *It;
  if (FTarget == Ctl) FTarget = nullptr;
  FControls.erase(It);
  auto P = std::find_if(FProxies.begin(), FProxies.end(), [&](const auto& E) { return E.first == Ctl; });
  if (P != FProxies.end()) {
    TWinControlProxy* Proxy = P->second;
    FProxies.erase(P);
    // Freeing the proxy revokes the registration (its window went with a
    // control that is being destroyed).
    delete Proxy;
  }
  if (!Gone && !Ctl->ComponentState().Contains(csDestroying)) Ctl->RemoveFreeNotification(this);
}

TWinControl* TCustomDropTarget::GetTarget() const {
  if (FTarget) return FTarget;
  return FControls.empty() ? nullptr : FControls.front();
}

void TCustomDropTarget::SetTarget(TWinControl* Control) {
  if (Control == FTarget) return;
  if (FMultiTarget && !ComponentState().Contains(csLoading)) Unregister(nullptr);
  Register(Control);
}

TWinControl* TCustomDropTarget::FindTarget(TPoint Screen) {
  for (TWinControl* C = FindVCLWindow(Screen); C; C = C->GetParent())
    if (std::find(FControls.begin(), FControls.end(), C) != FControls.end()) return C;
  return nullptr;
}

HRESULT TCustomDropTarget::DragEnter(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) {
  if (!Effect) return E_POINTER;
  ClearData();
  FDataObject = Data;
  FTarget = FindTarget(Pt);
  if (FTarget) FLastPoint = FTarget->ScreenToClient(Pt);
  else {
    // A drag over a window of ours that is no registered control: the
    // control-relative features cannot work for it.
    FShowImage = false;
    FAutoScroll = false;
  }
  if (Data && HasValidFormats(Data)) {
    FScrollBars = 0;
    if (FAutoScroll && FTarget) {
      const LONG_PTR Style = GetWindowLongA(FTarget->Handle(), GWL_STYLE);
      if (Style & WS_HSCROLL) FScrollBars |= 1;
      if (Style & WS_VSCROLL) FScrollBars |= 2;
      if (FScrollBars) {
        FNoScrollZone = FTarget->GetClientRect();
        if (FScrollBars & 2) {
          FNoScrollZone.Top += GetSystemMetrics(SM_CYHSCROLL);
          FNoScrollZone.Bottom -= GetSystemMetrics(SM_CYHSCROLL);
        }
        if (FScrollBars & 1) {
          FNoScrollZone.Left += GetSystemMetrics(SM_CXHSCROLL);
          FNoScrollZone.Right -= GetSystemMetrics(SM_CXHSCROLL);
        }
      }
    }
    if (FGetDataOnEnter && !GetData(*Effect)) {
      ReleaseDataObject();
      *Effect = DROPEFFECT_NONE;
      return DV_E_CLIPFORMAT;
    }
    const TShiftState Shift = KeysToShiftState(KeyState);
    *Effect = GetValidDropEffect(Shift, FLastPoint, *Effect);
    DoEnter(Shift, FLastPoint, *Effect);
    if (*Effect == DROPEFFECT_NONE) ReleaseDataObject();
  } else {
    ReleaseDataObject();
    *Effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT TCustomDropTarget::DragOver(DWORD KeyState, TPoint Pt, DWORD* Effect) {
  if (!Effect) return E_POINTER;
  if (!FTarget) {
    *Effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
  const TPoint Client = FTarget->ScreenToClient(Pt);
  HRESULT Result;
  if (FDataObject) {
    const TShiftState Shift = KeysToShiftState(KeyState);
    FLastPoint = Client;
    *Effect = GetValidDropEffect(Shift, Client, *Effect);
    DoDragOver(Shift, Client, *Effect);
    if ((*Effect & DROPEFFECT_SCROLL) && !FScrollTimer->GetEnabled()) {
      FScrollTimer->SetInterval(ScrollDelay);
      FScrollTimer->SetEnabled(true);
    }
    Result = S_OK;
  } else {
    *Effect = DROPEFFECT_NONE;
    Result = DV_E_CLIPFORMAT;
  }
  FLastPoint = Client;
  return Result;
}

HRESULT TCustomDropTarget::DragLeave() {
  ClearData();
  FScrollTimer->SetEnabled(false);
  ReleaseDataObject();
  struct TForget {
    TWinControl*& Target;
    ~TForget() { Target = nullptr; }
  } Forget{FTarget};
  DoLeave();
  return S_OK;
}

HRESULT TCustomDropTarget::Drop(IDataObject* Data, DWORD KeyState, TPoint Pt, DWORD* Effect) {
  if (!Effect) return E_POINTER;
  FScrollTimer->SetEnabled(false);
  // Whatever the handlers do, the drag ends with nothing held.
  struct TEndOfDrop {
    TCustomDropTarget* Self;
    ~TEndOfDrop() {
      try {
        Self->ClearData();
      } catch (...) {
      }
      Self->ReleaseDataObject();
      Self->FTarget = nullptr;
    }
  } End{this};
  if (!FDataObject) {
    *Effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
  if (Data) FDataObject = Data;
  const TShiftState Shift = KeysToShiftState(KeyState);
  const TPoint Client = FTarget ? FTarget->ScreenToClient(Pt) : Pt;
  *Effect = GetValidDropEffect(Shift, Client, *Effect) & ~DROPEFFECT_SCROLL;
  if (FGetDataOnEnter || GetData(*Effect)) DoDrop(Shift, Client, *Effect);
  else *Effect = DROPEFFECT_NONE;
  return S_OK;
}

DWORD TCustomDropTarget::GetValidDropEffect(TShiftState Shift, TPoint Point, DWORD Requested) {
  const DWORD Allowed = Requested & DragTypesToDropEffect(FDragTypes);
  DWORD Effect = ChooseDropEffect(Shift, Allowed, true);
  if (FAutoScroll && FScrollBars) {
    const bool Inside = Point.X >= FNoScrollZone.Left && Point.X < FNoScrollZone.Right &&
                        Point.Y >= FNoScrollZone.Top && Point.Y < FNoScrollZone.Bottom;
    if (Inside) Effect &= ~DROPEFFECT_SCROLL;
    else Effect |= DROPEFFECT_SCROLL;
  }
  if (OnGetDropEffect) {
    Integer E = Integer(Effect);
    OnGetDropEffect(this, Shift, Point, E);
    Effect = DWORD(E);
  }
  return Effect;
}

void TCustomDropTarget::ScrollTimerTick(TObject*) {
  FScrollTimer->SetEnabled(false);
  Integer Interval = Integer(ScrollInterval);
  TScrolDirections Scroll;
  const TPoint P = FLastPoint;
  const bool Inside = P.X >= FNoScrollZone.Left && P.X < FNoScrollZone.Right && P.Y >= FNoScrollZone.Top &&
                      P.Y < FNoScrollZone.Bottom;
  if (!Inside) {
    if (P.Y < FNoScrollZone.Top) Scroll.Include(TScrolDirection::sdUp);
    else if (P.Y >= FNoScrollZone.Bottom) Scroll.Include(TScrolDirection::sdDown);
    if (P.X < FNoScrollZone.Left) Scroll.Include(TScrolDirection::sdLeft);
    else if (P.X >= FNoScrollZone.Right) Scroll.Include(TScrolDirection::sdRight);
  }
  DoScroll(P, Scroll, Interval);
  if (Scroll.Empty() || !FTarget) return;
  if (Scroll.Contains(TScrolDirection::sdUp)) FTarget->Perform(WM_VSCROLL, SB_LINEUP, 0);
  if (Scroll.Contains(TScrolDirection::sdDown)) FTarget->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  if (Scroll.Contains(TScrolDirection::sdLeft)) FTarget->Perform(WM_HSCROLL, SB_LINELEFT, 0);
  if (Scroll.Contains(TScrolDirection::sdRight)) FTarget->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
  FScrollTimer->SetInterval(Cardinal(std::max(Interval, 1)));
  FScrollTimer->SetEnabled(true);
}

void TCustomDropTarget::DoEnter(TShiftState Shift, TPoint Point, DWORD& Effect) {
  if (!OnEnter) return;
  Integer E = Integer(Effect);
  OnEnter(this, Shift, Point, E);
  Effect = DWORD(E);
}

void TCustomDropTarget::DoDragOver(TShiftState Shift, TPoint Point, DWORD& Effect) {
  if (!OnDragOver) return;
  Integer E = Integer(Effect);
  OnDragOver(this, Shift, Point, E);
  Effect = DWORD(E);
}

void TCustomDropTarget::DoDrop(TShiftState Shift, TPoint Point, DWORD& Effect) {
  if (OnDrop) {
    Integer E = Integer(Effect);
    OnDrop(this, Shift, Point, E);
    Effect = DWORD(E);
  }
  if (Effect == DROPEFFECT_NONE) return;
  // The target did the moving itself: the source must not delete.
  if (FOptimizedMove && Effect == DROPEFFECT_MOVE) Effect = DROPEFFECT_COPY;
  SetPerformedDropEffect(Effect);
}

void TCustomDropTarget::DoLeave() {
  if (OnLeave) OnLeave(this);
}

void TCustomDropTarget::DoScroll(TPoint Point, TScrolDirections& Scroll, Integer& Interval) {
  if (OnScroll) OnScroll(this, Point, Scroll, Interval);
}

bool TCustomDropTarget::GetData(DWORD) {
  ClearData();
  return DoGetData();
}

DWORD TCustomDropTarget::GetPreferredDropEffect() {
  if (!FDataObject) return DROPEFFECT_NONE;
  TPreferredDropEffectClipboardFormat F;
  return F.GetData(FDataObject.Get()) ? F.Value : DROPEFFECT_NONE;
}

namespace {
bool WriteEffect(IDataObject* Data, TCustomDWORDClipboardFormat& F, DWORD Effect) {
  if (!Data) return false;
  F.Value = Effect;
  STGMEDIUM Medium;
  return F.SetData(Data, F.FormatEtc(), Medium);
}
}  // namespace

bool TCustomDropTarget::SetPerformedDropEffect(DWORD Effect) {
  TPerformedDropEffectClipboardFormat F;
  return WriteEffect(FDataObject.Get(), F, Effect);
}

bool TCustomDropTarget::SetPasteSucceeded(DWORD Effect) {
  TPasteSuccededClipboardFormat F;
  return WriteEffect(FDataObject.Get(), F, Effect);
}

DWORD TCustomDropTarget::PasteFromClipboard() {
  IDataObject* Data = nullptr;
  OleCheck(OleGetClipboard(&Data));
  FDataObject.Attach(Data);
  struct TRelease {
    TCustomDropTarget* Self;
    ~TRelease() { Self->ReleaseDataObject(); }
  } Release{this};
  const DWORD Preferred = GetPreferredDropEffect();
  DWORD Effect = GetData(Preferred) ? Preferred : DROPEFFECT_NONE;
  DropPasted(Effect);
  return Effect;
}

void TCustomDropTarget::DropPasted(DWORD& Effect) {
  DoDrop(TShiftState{}, TPoint{0, 0}, Effect);
  if (Effect != DROPEFFECT_NONE) SetPasteSucceeded(Effect);
}

void TCustomDropTarget::Assign(TPersistent* Source) {
  if (dynamic_cast<TClipboard*>(Source)) {
    PasteFromClipboard();
    return;
  }
  TIntfPtr<IDataObject> Data;
  if (Source && Supports(static_cast<TObject*>(Source), Data)) {
    FDataObject = Data;
    struct TRelease {
      TCustomDropTarget* Self;
      ~TRelease() { Self->ReleaseDataObject(); }
    } Release{this};
    if (GetData(DROPEFFECT_COPY)) return;
  }
  TDragDropComponent::Assign(Source);
}

// --- the multi-format target ---------------------------------------------------------------------

TCustomDropMultiTarget::TCustomDropMultiTarget(TComponent* AOwner) : TCustomDropTarget(AOwner) {
  FDataFormats = std::make_unique<TDataFormats>();
  SetDragTypes({dtCopy, dtLink});
}

TCustomDropMultiTarget::~TCustomDropMultiTarget() = default;

bool TCustomDropMultiTarget::HasValidFormats(IDataObject* Data) {
  IEnumFORMATETC* Raw = nullptr;
  if (!Data || !Succeeded(Data->EnumFormatEtc(DATADIR_GET, &Raw)) || !Raw) return false;
  TIntfPtr<IEnumFORMATETC> Enum;
  Enum.Attach(Raw);
  Enum->Reset();
  FORMATETC F;
  ULONG Got = 0;
  // Bounded: an enumerator of another program may never say it is done.
  for (int Guard = 0; Guard < 4096 && Enum->Next(1, &F, &Got) == S_OK && Got == 1; ++Guard) {
    for (Integer I = 0; I < DataFormats()->Count(); ++I) {
      TCustomDataFormat* D = DataFormats()->Items(I);
      if (!D->AcceptFormat(F) || !D->HasValidFormats(Data)) continue;
      bool Accept = true;
      DoAcceptFormat(D, Accept);
      if (Accept) return true;
    }
  }
  return false;
}

bool TCustomDropMultiTarget::DoGetData() {
  bool Result = false;
  for (Integer I = 0; I < DataFormats()->Count(); ++I) {
    TCustomDataFormat* D = DataFormats()->Items(I);
    if (!D->HasValidFormats(DataObject())) continue;
    bool Accept = true;
    DoAcceptFormat(D, Accept);
    if (Accept && D->GetData(DataObject())) Result = true;
  }
  return Result;
}

void TCustomDropMultiTarget::ClearData() {
  for (Integer I = 0; I < DataFormats()->Count(); ++I) DataFormats()->Items(I)->Clear();
}

void TCustomDropMultiTarget::DoAcceptFormat(TCustomDataFormat* DataFormat, bool& Accept) {
  if (OnAcceptFormat) OnAcceptFormat(this, DataFormat, Accept);
}
