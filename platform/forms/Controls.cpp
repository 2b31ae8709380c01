#include "platform/forms/Controls.h"

#include <algorithm>
#include <cmath>

#include "platform/forms/ActnList.h"
#include "platform/forms/ControlActionLink.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/IdentMaps.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

#include <cstring>

namespace {

// Color, Font and ShowHint can come from the parent. Turning the Parent…
// flag on asks the parent for its value at once, except while the control is
// read from a form description, where Loaded does it.
void SetParentFlag(TControl& C, bool& Flag, bool Value, UINT Msg) {
  if (Flag == Value) return;
  Flag = Value;
  if (C.GetParent() && !C.ComponentState().Contains(csReading)) C.Perform(Msg);
}

// Setting the value itself ends taking it from the parent; the change is
// announced only when the value really changes.
template <class T>
void SetOwnValue(TControl& C, T& Field, bool& FromParent, const T& Value, UINT Msg) {
  FromParent = false;
  if (Field == Value) return;
  Field = Value;
  C.Perform(Msg);
}
constexpr TIdentMapEntry CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},       {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},     {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},   {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},       {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

LPARAM PackPoint(Integer X, Integer Y) {
  return LPARAM(std::uint32_t(std::uint16_t(X)) | (std::uint32_t(std::uint16_t(Y)) << 16));
}

template <class L, class T>
void EraseValue(L& List, T* Value) {
  List.erase(std::remove(List.begin(), List.end(), Value), List.end());
}
}  // namespace

bool CursorToIdent(Integer Cursor, AnsiString& Ident) { return IntToIdent(Cursor, Ident, CursorNames); }

bool IdentToCursor(const AnsiString& Ident, Integer& Cursor) { return IdentToInt(Ident, Cursor, CursorNames); }

const TTypeInfo* SxTypeInfo(TCursor*) {
  static const TTypeInfo Info = NamedIntegerTypeInfo("TCursor", &IdentToCursor, &CursorToIdent);
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

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()), FConstraints(std::make_unique<TSizeConstraints>(this)) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
}

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSizeConstraints*>(Source)) {
    FMaxHeight = S->FMaxHeight;
    FMaxWidth = S->FMaxWidth;
    FMinHeight = S->FMinHeight;
    FMinWidth = S->FMinWidth;
    Change();
    return;
  }
  inherited::Assign(Source);
}

void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (FMaxHeight == Value) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (FMaxWidth == Value) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
  if (FMinHeight == Value) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMinWidth(Integer Value) {
  if (FMinWidth == Value) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange.Assigned()) OnChange(this);
}

void TControl::ConstraintsChanged(TObject*) { AdjustSize(); }

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FWidth, FHeight);
}

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight) {
  bool Result = true;
  if (OnCanResize.Assigned()) OnCanResize(this, NewWidth, NewHeight, Result);
  return Result;
}

void TControl::ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight) {
  if (OnConstrainedResize.Assigned()) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::DoConstrainedResize(Integer& NewWidth, Integer& NewHeight) {
  Integer MinW = FConstraints->GetMinWidth(), MinH = FConstraints->GetMinHeight();
  Integer MaxW = FConstraints->GetMaxWidth(), MaxH = FConstraints->GetMaxHeight();
  ConstrainedResize(MinW, MinH, MaxW, MaxH);
  if (MaxW > 0 && NewWidth > MaxW) NewWidth = MaxW;
  else if (MinW > 0 && NewWidth < MinW) NewWidth = MinW;
  if (MaxH > 0 && NewHeight > MaxH) NewHeight = MaxH;
  else if (MinH > 0 && NewHeight < MinH) NewHeight = MinH;
}

bool TControl::CheckNewSize(Integer& NewWidth, Integer& NewHeight) {
  Integer W = NewWidth, H = NewHeight;
  if (!CanResize(W, H)) return false;
  DoConstrainedResize(W, H);
  if (FAutoSize && !ComponentState().Contains(csLoading) && FAlign != alClient) {
    Integer W2 = W, H2 = H;
    if (CanAutoSize(W2, H2)) {
      DoConstrainedResize(W2, H2);
      W = W2;
      H = H2;
    }
  }
  NewWidth = W;
  NewHeight = H;
  return true;
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  FScalingFlags.Include(sfFont);
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) { SetParentFlag(*this, FParentFont, Value, CM_PARENTFONTCHANGED); }

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont) return;
  if (Message.WParam != 0) FFont->Assign(reinterpret_cast<TFont*>(Message.LParam));
  else if (FParent) FFont->Assign(FParent->FFont.get());
  FParentFont = true;
}

void ForgetCaptureControl(TControl* Control);
void ForgetDragControl(TControl* Control);

TControl::~TControl() {
  Destroying();
  ForgetCaptureControl(this);
  ForgetDragControl(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
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
  if (!CheckNewSize(AWidth, AHeight)) return;
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

void TControl::SetColor(TColor Value) { SetOwnValue(*this, FColor, FParentColor, Value, CM_COLORCHANGED); }

void TControl::SetParentColor(bool Value) { SetParentFlag(*this, FParentColor, Value, CM_PARENTCOLORCHANGED); }

AnsiString TControl::GetText() const { return GetTextInternal(); }

void TControl::SetText(const AnsiString& Value) {
  if (GetTextInternal() == Value) return;
  SetTextInternal(Value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool Value) { SetOwnValue(*this, FShowHint, FParentShowHint, Value, CM_SHOWHINTCHANGED); }

void TControl::SetParentShowHint(bool Value) {
  SetParentFlag(*this, FParentShowHint, Value, CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  SetOwnValue(*this, FBiDiMode, FParentBiDiMode, Value, CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool Value) {
  SetParentFlag(*this, FParentBiDiMode, Value, CM_PARENTBIDIMODECHANGED);
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

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!FControlStyle.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN; break;
        default: break;
      }
    }
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && FDragMode == dmAutomatic) {
      // The press starts a drag (pending until the mouse leaves the
      // threshold square) instead of reaching the control.
      BeginDrag(false, -1);
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) FControlState.Include(csLButtonDown);
    else if (Message.Msg == WM_LBUTTONUP) FControlState.Exclude(csLButtonDown);
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: WMGetText(Message); break;
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(FText.size()); break;
    case WM_SETTEXT: WMSetText(Message); break;
    case WM_LBUTTONDOWN: DoMouseButton(Message, mbLeft, true, false); break;
    case WM_LBUTTONDBLCLK: DoMouseButton(Message, mbLeft, true, true); break;
    case WM_LBUTTONUP: DoMouseButton(Message, mbLeft, false, false); break;
    case WM_RBUTTONDOWN: DoMouseButton(Message, mbRight, true, false); break;
    case WM_RBUTTONDBLCLK: DoMouseButton(Message, mbRight, true, true); break;
    case WM_RBUTTONUP: DoMouseButton(Message, mbRight, false, false); break;
    case WM_MBUTTONDOWN: DoMouseButton(Message, mbMiddle, true, false); break;
    case WM_MBUTTONDBLCLK: DoMouseButton(Message, mbMiddle, true, true); break;
    case WM_MBUTTONUP: DoMouseButton(Message, mbMiddle, false, false); break;
    case WM_MOUSEMOVE:
      DefaultHandler(Message);
      if (!FControlStyle.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(Word(Message.WParam)), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      break;
    case WM_CANCELMODE:
      DefaultHandler(Message);
      if (GetMouseCapture()) SetMouseCapture(false);
      break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    // A new colour or font shows at once, whatever the kind of control.
    case CM_COLORCHANGED:
    case CM_FONTCHANGED: Invalidate(); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_DRAG: CMDrag(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    default: DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WMGetText(TMessage& Message) {
  // wParam is the buffer size with the terminating zero; the copy is cut to fit.
  char* Buffer = reinterpret_cast<char*>(Message.LParam);
  if (!Buffer || Message.WParam == 0) {
    Message.Result = 0;
    return;
  }
  const size_t N = std::min(FText.size(), size_t(Message.WParam) - 1);
  std::memcpy(Buffer, FText.data(), N);
  Buffer[N] = '\0';
  Message.Result = LRESULT(N);
}

void TControl::WMSetText(TMessage& Message) {
  const char* Text = reinterpret_cast<const char*>(Message.LParam);
  FText = Text ? AnsiString(Text) : AnsiString();
  Message.Result = 1;
}

TShiftState KeysToShiftState(Word Keys) {
  TShiftState S;
  if (Keys & MK_SHIFT) S.Include(ssShift);
  if (Keys & MK_CONTROL) S.Include(ssCtrl);
  if (Keys & MK_LBUTTON) S.Include(ssLeft);
  if (Keys & MK_RBUTTON) S.Include(ssRight);
  if (Keys & MK_MBUTTON) S.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (KeyData & 0x20000000) S.Include(ssAlt);
  return S;
}

void TControl::DoMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double) {
  const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  DefaultHandler(Message);
  if (Down) {
    if (Button == mbLeft && FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (Button == mbLeft && FControlStyle.Contains(csClickEvents)) {
      if (Double) DblClick();
      else FControlState.Include(csClicked);
    }
    if (!FControlStyle.Contains(csNoStdEvents)) {
      TShiftState S = KeysToShiftState(Word(Message.WParam));
      if (Double) S.Include(ssDouble);
      MouseDown(Button, S, P.X, P.Y);
    }
    return;
  }
  if (Button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
      FControlState.Exclude(csClicked);
      if (GetClientRect().Contains(P)) Click();
    }
  }
  if (!FControlStyle.Contains(csNoStdEvents)) MouseUp(Button, KeysToShiftState(Word(Message.WParam)), P.X, P.Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown.Assigned()) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove.Assigned()) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp.Assigned()) OnMouseUp(this, Button, Shift, X, Y);
}

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

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!FParentBiDiMode || !FParent) return;
  SetBiDiMode(FParent->FBiDiMode);
  FParentBiDiMode = true;
}

void TControl::Invalidate() {
  // A graphic control is a rectangle of its parent's window.
  if (FParent && FParent->HandleAllocated() && FVisible) {
    const TRect R = BoundsRect();
    InvalidateRect(FParent->FHandle, &R, !FControlStyle.Contains(csOpaque));
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}
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

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

void TControl::Click() {
  // A handler of the control's own (not the action's) runs instead of the
  // action; otherwise the action runs.
  TBasicAction* A = GetAction();
  if (OnClick.Assigned() && (!A || OnClick != A->OnExecute)) OnClick(this);
  else if (FActionLink && A) FActionLink->Execute(this);
  else if (OnClick.Assigned()) OnClick(this);
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
    if (!FParentFont && Flags.Contains(sfFont)) FFont->SetSize(MulDiv(FFont->GetSize(), M, D));
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
    Perform(CM_PARENTFONTCHANGED);
    Perform(CM_PARENTSHOWHINTCHANGED);
    Perform(CM_PARENTBIDIMODECHANGED);
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
  // Leave the parent (tab list, focus) before the window goes, while this
  // is still a TWinControl so that the right list lets go.
  if (FParent) FParent->RemoveControl(this);
  DestroyHandle();
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
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->Perform(CM_PARENTBIDIMODECHANGED);
    AControl->UpdateAnchorRules();
  }
  AlignControl(AControl);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    if (FHandle && !W->ComponentState().Contains(csReading)) W->UpdateControlState();
  } else {
    AControl->Invalidate();
  }
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 0);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && W->ContainsControl(Form->GetActiveControl())) Form->DefocusControl(W, true);
    if (Screen && Screen->ActiveControl() && W->ContainsControl(Screen->ActiveControl()))
      Screen->SetActiveControl(nullptr);
  }
  AControl->Invalidate();
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    EraseValue(FWinControls, W);
    EraseValue(FTabList, W);
  } else {
    EraseValue(FControls, AControl);
  }
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) W->DestroyHandle();
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
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle && !FControlState.Contains(csDestroyingHandle)) {
    // The window reports back through WM_SIZE/WM_MOVE (UpdateBounds).
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    FLeft = ALeft;
    FTop = ATop;
    const bool Resized = AWidth != FWidth || AHeight != FHeight;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateAnchorRules();
    RequestAlign();
    if (Resized) Realign();
    return;
  }
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

void TWinControl::SetParentBackground(bool Value) {
  if (GetParentBackground() == Value) return;
  if (Value) FControlStyle.Include(csParentBackground);
  else FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

bool TWinControl::GetCtl3D() const { return FParentCtl3D && FParent ? FParent->GetCtl3D() : FCtl3D; }

void TWinControl::SetCtl3D(bool Value) {
  const bool Was = GetCtl3D();
  FCtl3D = Value;
  FParentCtl3D = false;
  if (Was == Value) return;
  Perform(CM_CTL3DCHANGED);
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  const bool Was = GetCtl3D();
  FParentCtl3D = Value;
  if (!Value) FCtl3D = Was;
  if (GetCtl3D() == Was) return;
  Perform(CM_CTL3DCHANGED);
  NotifyControls(CM_PARENTCTL3DCHANGED);
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
  if (!Form || ComponentState().Contains(csDestroying)) return false;
  for (const TControl* C = this; C && C != Form; C = C->FParent)
    if (!(C->FVisible && C->GetEnabled())) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* Form = GetParentForm(this)) Form->FocusControl(this);
  else ValidParentForm(this);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::Loaded() {
  inherited::Loaded();
  FixupTabList();
  Realign();
  UpdateControlState();
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

namespace {
TWinControl* ItemOwnerChild(HWND Parent, const TMessage& Message) {
  if (!Message.LParam) return nullptr;
  switch (Message.Msg) {
    case WM_DELETEITEM: return FindControl(reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam)->hwndItem);
    case WM_COMPAREITEM: return FindControl(reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem);
    case WM_MEASUREITEM: {
      const UINT Id = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam)->CtlID;
      return Parent && Id ? FindControl(GetDlgItem(Parent, int(Id))) : nullptr;
    }
    default: return nullptr;
  }
}
}  // namespace

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case CM_CURSORCHANGED: CMCursorChanged(Message); break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
      if (FHandle) DefaultHandler(Message);
      else inherited::Dispatch(Message);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED: Broadcast(Message); break;
    case WM_DRAWITEM:
      // An owner-drawn child draws itself (CN_DRAWITEM).
      if (auto* Di = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam); Di && Di->CtlType != ODT_MENU)
        if (TWinControl* Child = FindControl(Di->hwndItem); Child && Child != this) {
          Message.Result = Child->Perform(CN_DRAWITEM, Message.WParam, Message.LParam);
          break;
        }
      DefaultHandler(Message);
      break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
      // A child control's notification goes back to it as CN_*.
      if (TWinControl* Child = FindControl(reinterpret_cast<HWND>(Message.LParam)); Child && Child != this)
        Message.Result = Child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
      else
        DefaultHandler(Message);
      break;
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
      // An owner-drawn child measures, forgets and orders its items itself
      // (CN_*). MEASUREITEMSTRUCT names the child by its id only.
      if (TWinControl* Child = ItemOwnerChild(FHandle, Message); Child && Child != this)
        Message.Result = Child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
      else
        DefaultHandler(Message);
      break;
    case WM_NOTIFY:
      // A common control's notification names its window in the header.
      if (TWinControl* Child = Message.LParam ? FindControl(*reinterpret_cast<HWND*>(Message.LParam)) : nullptr;
          Child && Child != this)
        Message.Result = Child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
      else
        DefaultHandler(Message);
      break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!FVisible && FParent)
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && ContainsControl(Form->GetActiveControl())) Form->DefocusControl(this, false);
  UpdateControlState();
  inherited::CMVisibleChanged(Message);
}

void TWinControl::DoEnter() {
  if (OnEnter.Assigned()) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit.Assigned()) OnExit(this);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  // A disabled control cannot keep the focus: it moves on to the next one.
  if (!FEnabled && FParent) {
    if (TCustomForm* Form = GetParentForm(this))
      if (Form->GetActiveControl() && ContainsControl(Form->GetActiveControl())) Form->DefocusControl(this, false);
  }
  if (FHandle) EnableWindow(FHandle, FEnabled);
  inherited::CMEnabledChanged(Message);
}

void TWinControl::CMColorChanged(TMessage&) {
  Invalidate();
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMBiDiModeChanged(TMessage&) { NotifyControls(CM_PARENTBIDIMODECHANGED); }

void TWinControl::CMFontChanged(TMessage&) {
  if (FHandle) SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->GetHandle()), 0);
  Invalidate();
  NotifyControls(CM_PARENTFONTCHANGED);
}

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
