#include "platform/forms/Controls.h"

#include <algorithm>
#include <cmath>

#include "platform/forms/Forms.h"
#include "platform/rtl/Filer.h"

namespace {
struct TCursorName {
  TCursor Value;
  const char* Name;
};
constexpr TCursorName CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},       {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},     {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},   {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},       {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

bool SameIdent(const AnsiString& A, const char* B) {
  size_t N = A.size();
  if (N != std::char_traits<char>::length(B)) return false;
  for (size_t i = 0; i < N; ++i)
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
      return false;
  return true;
}

LPARAM PackPoint(Integer X, Integer Y) {
  return LPARAM(std::uint32_t(std::uint16_t(X)) | (std::uint32_t(std::uint16_t(Y)) << 16));
}

template <class L, class T>
void EraseValue(L& List, T* Value) {
  List.erase(std::remove(List.begin(), List.end(), Value), List.end());
}
}  // namespace

bool CursorToIdent(Integer Cursor, AnsiString& Ident) {
  for (const auto& C : CursorNames)
    if (Integer(C.Value) == Cursor) {
      Ident = C.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const AnsiString& Ident, Integer& Cursor) {
  for (const auto& C : CursorNames)
    if (SameIdent(Ident, C.Name)) {
      Cursor = Integer(C.Value);
      return true;
    }
  return false;
}

const TTypeInfo* SxTypeInfo(TCursor*) {
  static const TTypeInfo Info = [] {
    TTypeInfo I;
    I.Kind = tkInteger;
    I.Name = "TCursor";
    I.IdentToInt = &IdentToCursor;
    I.IntToIdent = &CursorToIdent;
    return I;
  }();
  return &Info;
}

TAnchors AnchorAlign(TAlign Align) {
  switch (Align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

Integer MulDiv(Integer A, Integer B, Integer C) {
  if (C == 0) return -1;
  const long long P = static_cast<long long>(A) * B;
  long long Q = P / C;
  const long long R = P % C;
  // Round half away from zero.
  if (2 * std::llabs(R) >= std::llabs(static_cast<long long>(C))) Q += ((P < 0) != (C < 0)) ? -1 : 1;
  if (Q > INT32_MAX || Q < INT32_MIN) return -1;
  return Integer(Q);
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
}

TControl::~TControl() {
  Destroying();
  if (FParent) FParent->RemoveControl(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
}

TComponent* TControl::GetParentComponent() { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* W = dynamic_cast<TWinControl*>(Value)) SetParent(W);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  for (TWinControl* P = AParent; P; P = P->FParent)
    if (P == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TControl::Resize() {
  if (OnResize.Assigned()) OnResize(this);
}

TRect TControl::GetClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientSize(TSize Value) {
  const TRect Client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - Client.Right + Value.cx, FHeight - Client.Bottom + Value.cy);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  TPoint P = FParent->ClientOrigin();
  return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TPoint O = ClientOrigin();
  return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint O = ClientOrigin();
  return {P.X - O.X, P.Y - O.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  const TAlign Old = FAlign;
  FAlign = Value;
  FAnchors = AnchorAlign(Value);
  if (!ComponentState().Contains(csLoading) && Old != alNone && Value != alNone && Old != alClient &&
      Value != alClient && Old != alCustom && Value != alCustom) {
    // Turning a bar from horizontal to vertical keeps its thickness.
    const bool WasHorizontal = Old == alTop || Old == alBottom;
    const bool IsHorizontal = Value == alTop || Value == alBottom;
    if (WasHorizontal != IsHorizontal) SetBounds(FLeft, FTop, FHeight, FWidth);
  }
  AdjustSize();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || ComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop}) {
    FOriginalParentSize = {0, 0};
    return;
  }
  if (FAnchors.Contains(akRight))
    FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else
    FAnchorRules.X = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom))
    FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
  else
    FAnchorRules.Y = FTop + FHeight / 2;
  if (FParent) FOriginalParentSize = FParent->GetClientRect().BottomRight();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, WPARAM(Value));
  RequestAlign();
}

void TControl::Show() {
  if (FParent) FParent->Show();
  SetVisible(true);
  BringToFront();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const {
  for (const TControl* C = this; C; C = C->FParent) {
    if (!C->FVisible) return false;
    if (dynamic_cast<const TCustomForm*>(C)) return true;
  }
  return false;
}

void TControl::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
  } else {
    FParentColor = false;
  }
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

AnsiString TControl::GetText() const { return GetTextInternal(); }

void TControl::SetText(const AnsiString& Value) {
  if (GetTextInternal() == Value) return;
  SetTextInternal(Value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint != Value) {
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
  } else {
    FParentShowHint = false;
  }
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M;
  M.Msg = Msg;
  M.WParam = WParam;
  M.LParam = LParam;
  if (WindowProc.Assigned()) WindowProc(M);
  else WndProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    default: DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor) return;
  const TColor C = Message.WParam != 0 ? TColor(Integer(Message.LParam)) : (FParent ? FParent->FColor : FColor);
  SetColor(C);
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->FShowHint);
  FParentShowHint = true;
}

void TControl::Invalidate() {}
void TControl::Update() {}
void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto Move = [&](auto& List, auto* Self) {
    auto It = std::find(List.begin(), List.end(), Self);
    if (It == List.end()) return;
    List.erase(It);
    if (TopMost) List.push_back(Self);
    else List.insert(List.begin(), Self);
  };
  if (auto* W = dynamic_cast<TWinControl*>(this)) Move(FParent->FWinControls, W);
  else Move(FParent->FControls, this);
  Invalidate();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::Click() {
  if (OnClick.Assigned()) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick.Assigned()) OnDblClick(this);
}

void TControl::ChangeScale(Integer M, Integer D) {
  if (M != D) {
    const TScalingFlags Flags = ComponentState().Contains(csLoading)
                                    ? FScalingFlags
                                    : TScalingFlags{sfLeft, sfTop, sfWidth, sfHeight, sfFont};
    const Integer X = Flags.Contains(sfLeft) ? MulDiv(FLeft, M, D) : FLeft;
    const Integer Y = Flags.Contains(sfTop) ? MulDiv(FTop, M, D) : FTop;
    // Right and bottom edges scale as edges, so neighbours stay flush.
    Integer W = FWidth, H = FHeight;
    if (Flags.Contains(sfWidth) && !FControlStyle.Contains(csFixedWidth))
      W = Flags.Contains(sfLeft) ? MulDiv(FLeft + FWidth, M, D) - X : MulDiv(FWidth, M, D);
    if (Flags.Contains(sfHeight) && !FControlStyle.Contains(csFixedHeight))
      H = Flags.Contains(sfTop) ? MulDiv(FTop + FHeight, M, D) - Y : MulDiv(FHeight, M, D);
    SetBounds(X, Y, W, H);
  }
  FScalingFlags = {};
}

void TControl::ScaleBy(Integer M, Integer D) {
  TWinControl* P = FParent;
  if (P) P->DisableAlign();
  try {
    ChangeScale(M, D);
  } catch (...) {
    if (P) P->EnableAlign();
    throw;
  }
  if (P) P->EnableAlign();
}

void TControl::BeginDrag(bool, Integer) {
  // Drag-and-drop of controls runs through the mouse capture of a window,
  // which no caller of this layer starts.
  SX_NOT_IMPLEMENTED("TControl::BeginDrag");
}

void TControl::EndDrag(bool) { FDragging = false; }

void TControl::ReadState(TReader* Reader) {
  FControlState.Include(csReadingState);
  try {
    if (auto* P = dynamic_cast<TWinControl*>(Reader->Parent())) SetParent(P);
    inherited::ReadState(Reader);
  } catch (...) {
    FControlState.Exclude(csReadingState);
    throw;
  }
  FControlState.Exclude(csReadingState);
  if (FParent) {
    Perform(CM_PARENTCOLORCHANGED);
    Perform(CM_PARENTSHOWHINTCHANGED);
  }
}

void TControl::Loaded() {
  inherited::Loaded();
  // Scaling flags were collected while reading; what was read is final.
  FScalingFlags = {sfLeft, sfTop, sfWidth, sfHeight, sfFont};
  UpdateAnchorRules();
  FScalingFlags = {};
  RequestAlign();
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Leave the parent while this is still a TWinControl, so the right list lets go.
  if (FParent) FParent->RemoveControl(this);
  // Children the owner did not free go with their parent.
  while (!FControls.empty() || !FWinControls.empty()) {
    TControl* C = !FControls.empty() ? FControls.back() : static_cast<TControl*>(FWinControls.back());
    RemoveControl(C);
    if (C->Owner() == nullptr) delete C;
  }
}

TControl* TWinControl::Controls(Integer Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  if (size_t(Index) < FControls.size()) return FControls[size_t(Index)];
  return FWinControls[size_t(Index) - FControls.size()];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 1);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(W);
    FTabList.push_back(W);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->UpdateAnchorRules();
  }
  AlignControl(AControl);
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 0);
  if (auto* W = dynamic_cast<TWinControl*>(AControl))
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && W->ContainsControl(Form->GetActiveControl())) Form->DefocusControl(W, true);
  AControl->Invalidate();
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    EraseValue(FWinControls, W);
    EraseValue(FTabList, W);
  } else {
    EraseValue(FControls, AControl);
  }
  AControl->FParent = nullptr;
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 0);
  if (!ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* C = Control; C; C = C->FParent)
    if (C == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
  auto Hit = [&](TControl* C) {
    if (!C->FVisible || !(C->FEnabled || AllowDisabled)) return false;
    if (!C->BoundsRect().Contains(Pos)) return false;
    return C->Perform(CM_HITTEST, 0, PackPoint(Pos.X - C->FLeft, Pos.Y - C->FTop)) != 0;
  };
  // Later in the list is higher in z-order; windowed children sit above
  // graphic ones.
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hit(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hit(*It)) return *It;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (Integer i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc.Assigned() ? Controls(i)->WindowProc(Message) : Controls(i)->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage M;
  M.Msg = Msg;
  Broadcast(M);
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const bool Resized = AWidth != FWidth || AHeight != FHeight;
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Resized) Realign();
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  try {
    TRect R = GetClientRect();
    AlignControls(AControl, R);
  } catch (...) {
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
    throw;
  }
  FControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  AdjustClientRect(Rect);
  const TPoint ParentSize = GetClientRect().BottomRight();

  // Whether control C, with alignment A, goes before I in the alignment order.
  // The control being moved wins ties, so dragging it past a neighbour swaps them.
  auto InsertBefore = [&](TControl* C1, TControl* C2, TAlign A) {
    switch (A) {
      case alTop: return C1->FTop < C2->FTop;
      case alBottom: return C1->FTop + C1->FHeight >= C2->FTop + C2->FHeight;
      case alLeft: return C1->FLeft < C2->FLeft;
      case alRight: return C1->FLeft + C1->FWidth >= C2->FLeft + C2->FWidth;
      default: return false;
    }
  };

  auto DoPosition = [&](TControl* Control, TAlign A) {
    if (A == alNone || Control->FAnchors != AnchorAlign(A)) {
      const TPoint Orig = Control->FOriginalParentSize;
      if (Orig.X != 0 && Orig.Y != 0) {
        Integer L = Control->FLeft, T = Control->FTop, W = Control->FWidth, H = Control->FHeight;
        const TAnchors An = Control->FAnchors;
        const TPoint Rules = Control->FAnchorRules;
        if (An.Contains(akRight)) {
          if (An.Contains(akLeft)) W = ParentSize.X - (Orig.X - Rules.X);
          else L = ParentSize.X - (Orig.X - Rules.X);
        } else if (!An.Contains(akLeft)) {
          L = MulDiv(Rules.X, ParentSize.X, Orig.X) - W / 2;
        }
        if (An.Contains(akBottom)) {
          if (An.Contains(akTop)) H = ParentSize.Y - (Orig.Y - Rules.Y);
          else T = ParentSize.Y - (Orig.Y - Rules.Y);
        } else if (!An.Contains(akTop)) {
          T = MulDiv(Rules.Y, ParentSize.Y, Orig.Y) - H / 2;
        }
        Control->FAnchorMove = true;
        try {
          Control->SetBounds(L, T, W, H);
        } catch (...) {
          Control->FAnchorMove = false;
          throw;
        }
        Control->FAnchorMove = false;
      }
      if (A == alNone || A == alCustom) return;
    }
    Integer W = Rect.Right - Rect.Left;
    if (W < 0 || A == alLeft || A == alRight) W = Control->FWidth;
    Integer H = Rect.Bottom - Rect.Top;
    if (H < 0 || A == alTop || A == alBottom) H = Control->FHeight;
    Integer L = Rect.Left, T = Rect.Top;
    switch (A) {
      case alTop: Rect.Top += H; break;
      case alBottom: Rect.Bottom -= H; T = Rect.Bottom; break;
      case alLeft: Rect.Left += W; break;
      case alRight: Rect.Right -= W; L = Rect.Right; break;
      default: break;
    }
    Control->FAnchorMove = true;
    try {
      Control->SetBounds(L, T, W, H);
    } catch (...) {
      Control->FAnchorMove = false;
      throw;
    }
    Control->FAnchorMove = false;
    // A control that refused the size (fixed width, constraints) gives the
    // difference back to the remaining rectangle.
    if (Control->FWidth != W || Control->FHeight != H) {
      switch (A) {
        case alTop: Rect.Top -= H - Control->FHeight; break;
        case alBottom: Rect.Bottom += H - Control->FHeight; break;
        case alLeft: Rect.Left -= W - Control->FWidth; break;
        case alRight: Rect.Right += W - Control->FWidth; break;
        default: break;
      }
    }
  };

  auto DoAlign = [&](TAlign A) {
    TControlList List;
    if (AControl && AControl->FAlign == A && AControl->FVisible && AControl->FParent == this) List.push_back(AControl);
    for (Integer i = 0; i < ControlCount(); ++i) {
      TControl* C = Controls(i);
      if (C->FAlign != A || !C->FVisible || C == AControl) continue;
      size_t J = 0;
      while (J < List.size() && !InsertBefore(C, List[J], A)) ++J;
      List.insert(List.begin() + J, C);
    }
    for (TControl* C : List) DoPosition(C, A);
  };

  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) DoAlign(A);
  ControlsAligned();
}

void TWinControl::ChangeScale(Integer M, Integer D) {
  DisableAlign();
  try {
    for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D);
    inherited::ChangeScale(M, D);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

Integer TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : Integer(It - L.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (FControlState.Contains(csReadingState)) FTabOrder = Value;
  else UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(Integer Value) {
  if (!FParent) return;
  auto& L = FParent->FTabList;
  const Integer Cur = GetTabOrder();
  if (Cur < 0) return;
  const Integer Count = Integer(L.size());
  if (Value < 0 || Value >= Count) Value = Count - 1;
  if (Value == Cur) return;
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
}

void TWinControl::FixupTabList() {
  const size_t Count = FWinControls.size();
  std::vector<TWinControl*> Ordered(Count, nullptr);
  for (TWinControl* W : FWinControls)
    if (W->FTabOrder >= 0 && size_t(W->FTabOrder) < Count) Ordered[size_t(W->FTabOrder)] = W;
  for (size_t i = 0; i < Count; ++i)
    if (Ordered[i]) Ordered[i]->UpdateTabOrder(Integer(i));
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(TWinControlList& List) const {
  for (TWinControl* W : FTabList) {
    List.push_back(W);
    W->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  TWinControlList List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  const Integer Count = Integer(List.size());
  auto Found = std::find(List.begin(), List.end(), CurControl);
  Integer Start = Found == List.end() ? (GoForward ? Count - 1 : 0) : Integer(Found - List.begin());
  Integer I = Start;
  do {
    if (GoForward) {
      if (++I == Count) I = 0;
    } else {
      if (I == 0) I = Count;
      --I;
    }
    TWinControl* C = List[size_t(I)];
    if (C->CanFocus() && (!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this)) return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) Next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* Form = GetParentForm(this);
  if (!Form) return;
  TWinControl* C = FindNextControl(nullptr, true, true, false);
  if (!C) C = FindNextControl(nullptr, true, false, false);
  if (C) C->SetFocus();
}

bool TWinControl::CanFocus() const {
  const TCustomForm* Form = GetParentForm(this);
  if (!Form) return false;
  for (const TControl* C = this; C && C != Form; C = C->FParent)
    if (!(C->FVisible && C->GetEnabled())) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* Form = GetParentForm(this)) Form->FocusControl(this);
  else ValidParentForm(this);
}

bool TWinControl::Focused() const {
  const TCustomForm* Form = GetParentForm(this);
  return Form && Form->GetActiveControl() == this && Form->IsFocusedForm();
}

void TWinControl::Loaded() {
  inherited::Loaded();
  FixupTabList();
  Realign();
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  FixupTabList();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* C : FControls)
    if (C->Owner() == Root) Proc(C);
  for (TWinControl* C : FWinControls)
    if (C->Owner() == Root) Proc(C);
}

void TWinControl::SetChildOrder(TComponent* Child, Integer Order) {
  if (auto* W = dynamic_cast<TWinControl*>(Child)) {
    auto It = std::find(FWinControls.begin(), FWinControls.end(), W);
    if (It == FWinControls.end()) return;
    FWinControls.erase(It);
    Order = std::clamp<Integer>(Order - Integer(FControls.size()), 0, Integer(FWinControls.size()));
    FWinControls.insert(FWinControls.begin() + Order, W);
  } else if (auto* C = dynamic_cast<TControl*>(Child)) {
    auto It = std::find(FControls.begin(), FControls.end(), C);
    if (It == FControls.end()) return;
    FControls.erase(It);
    Order = std::clamp<Integer>(Order, 0, Integer(FControls.size()));
    FControls.insert(FControls.begin() + Order, C);
  }
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!FVisible && FParent)
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && ContainsControl(Form->GetActiveControl())) Form->DefocusControl(this, false);
  inherited::CMVisibleChanged(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  // A disabled control cannot keep the focus: it moves on to the next one.
  if (!FEnabled && FParent) {
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && ContainsControl(Form->GetActiveControl())) Form->DefocusControl(this, false);
  }
  inherited::CMEnabledChanged(Message);
}

void TWinControl::CMColorChanged(TMessage&) {
  Invalidate();
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

// ---------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control) {
  if (!Control) return nullptr;
  const TControl* C = Control;
  while (C->GetParent()) C = C->GetParent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(C));
}

TCustomForm* ValidParentForm(const TControl* Control) {
  TCustomForm* F = GetParentForm(Control);
  if (!F) throw EInvalidOperation("Control '" + Control->GetName() + "' has no parent window");
  return F;
}
