#include "platform/forms/ControlDrag.h"

#include <cstdlib>
#include <memory>

#include "platform/forms/Menus.h"
#include "platform/forms/Mouse.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Cursors.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace {
TMouse TheMouse;
}  // namespace

TMouse* Mouse = &TheMouse;

TPoint TMouse::GetCursorPos() const {
  TPoint P;
  ::GetCursorPos(&P);
  return P;
}

void TMouse::SetCursorPos(TPoint P) { ::SetCursorPos(P.X, P.Y); }

HWND TMouse::GetCapture() const { return ::GetCapture(); }

// ---------------------------------------------------------------------------
// Drag objects

TCursor TDragObject::GetDragCursor(bool Accepted, Integer, Integer) { return Accepted ? crDrag : crNoDrop; }

void TDragObject::Finished(TObject*, Integer, Integer, bool) {}

void TBaseDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
  (void)Accepted;
  if (FControl) FControl->DoEndDrag(Target, X, Y);
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  if (Accepted && Control()) return Control()->GetDragCursor();
  return TBaseDragControlObject::GetDragCursor(Accepted, X, Y);
}

// ---------------------------------------------------------------------------
// The session

class TDragSession : public TObject {
public:
  TDragSession(TControl* AControl, TDragObject* AObject, bool Owned, Integer AThreshold)
      : Control(AControl), Object(AObject), OwnsObject(Owned), Threshold(AThreshold) {
    Object->FInternal = Owned;
    GetCursorPos(&Start);
    Capture = AllocateHWnd(TWndMethod(this, &TDragSession::WndProc));
  }
  ~TDragSession() override {
    Ending = true;
    if (GetCapture() == Capture) ReleaseCapture();
    DeallocateHWnd(Capture);
    if (OwnsObject) delete Object;
  }
  void Begin(bool Immediate) {
    SetCapture(Capture);
    if (Immediate) {
      Active = true;
      DragTo(Start);
    }
  }
  // Ends the drag: drops on an accepting target when Drop. The session
  // stays until the caller resets it.
  void Done(bool Drop);
  void WndProc(TMessage& Message);
  void DragTo(TPoint P);
  // Sends CM_DRAG to Target; answers its result.
  LRESULT Tell(TControl* To, TDragMessage Msg, TPoint P) {
    TDragRec Rec;
    Rec.Pos = P;
    Rec.Source = Object;
    Rec.Target = To;
    return To->Perform(CM_DRAG, WPARAM(Msg), reinterpret_cast<LPARAM>(&Rec));
  }

  TControl* Control;
  TDragObject* Object;
  bool OwnsObject;
  Integer Threshold;
  TPoint Start;
  HWND Capture = nullptr;
  bool Active = false;      // the mouse left the threshold square
  bool Accepted = false;
  bool Ending = false;
  TControl* Target = nullptr;
};

namespace {
std::unique_ptr<TDragSession>& Session() {
  static std::unique_ptr<TDragSession> S;
  return S;
}

// Ends and frees the session; safe from inside its own window procedure
// because nothing of the session is touched after the reset.
void EndSession(bool Drop) {
  auto& S = Session();
  if (!S || S->Ending) return;
  S->Done(Drop);
  S.reset();
}
}  // namespace

void TDragSession::DragTo(TPoint P) {
  TControl* NewTarget = FindDragTarget(P, false);
  if (NewTarget != Target) {
    if (Target) Tell(Target, dmDragLeave, P);
    Target = NewTarget;
    Accepted = Target && Tell(Target, dmDragEnter, P) != 0;
  } else if (Target) {
    Accepted = Tell(Target, dmDragMove, P) != 0;
  }
  Object->DragPos = P;
  Object->DragTarget = Target;
  Object->DragTargetPos = Target ? Target->ScreenToClient(P) : P;
  if (::Screen) ::SetCursor(::Screen->Cursors(Object->GetDragCursor(Accepted, P.X, P.Y)));
}

void TDragSession::Done(bool Drop) {
  Ending = true;
  if (GetCapture() == Capture) ReleaseCapture();
  TPoint P;
  GetCursorPos(&P);
  TControl* DropTarget = nullptr;
  if (Active && Target) {
    // The cursor may have moved since the last look: the drop lands where
    // the release was, on the target that accepted it there.
    if (Drop && FindDragTarget(P, false) == Target && Accepted) {
      Object->Dropped = true;
      DropTarget = Target;
      Tell(Target, dmDragDrop, P);
    } else {
      Object->Cancelling = !Drop;
      Tell(Target, dmDragLeave, P);
    }
  }
  const TPoint Local = DropTarget ? DropTarget->ScreenToClient(P) : P;
  if (::Screen) ::SetCursor(::Screen->Cursors(crDefault));
  Object->Finished(DropTarget, Local.X, Local.Y, DropTarget != nullptr);
}

void TDragSession::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      TPoint P;
      GetCursorPos(&P);
      if (!Active && (std::abs(P.X - Start.X) >= Threshold || std::abs(P.Y - Start.Y) >= Threshold)) Active = true;
      if (Active) DragTo(P);
      return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: EndSession(true); return;
    case CN_KEYDOWN:
      if (Message.WParam == VK_ESCAPE) {
        EndSession(false);
        Message.Result = 1;
      }
      return;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(Message.LParam) != Capture) EndSession(false);
      return;
    case WM_CANCELMODE: EndSession(false); return;
    default: Message.Result = DefWindowProcA(Capture, Message.Msg, Message.WParam, Message.LParam);
  }
}

void CancelDrag() { EndSession(false); }

TControl* DragControl() { return Session() ? Session()->Control : nullptr; }

TDragObject* DragObject() { return Session() ? Session()->Object : nullptr; }

void ResetDragState() {
  auto& S = Session();
  if (!S) return;
  S->Ending = true;
  S.reset();
}

// A control that dies leaves the drag: as its source the drag just stops
// (no events on a dying control), as its target it is forgotten.
void ForgetDragControl(TControl* C) {
  auto& S = Session();
  if (!S) return;
  if (S->Control == C) {
    ResetDragState();
    return;
  }
  if (S->Target == C) {
    S->Target = nullptr;
    S->Accepted = false;
  }
}

// ---------------------------------------------------------------------------
// TControl's side

bool TControl::Dragging() const { return Session() && Session()->Control == this; }

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (Session()) return;
  if (Threshold < 0) Threshold = Mouse->DragThreshold;
  if (GetMouseCapture()) SetMouseCapture(false);
  TDragObject* Obj = nullptr;
  DoStartDrag(Obj);
  const bool Owned = Obj == nullptr;
  if (Owned) Obj = new TDragControlObject(this);
  Session() = std::make_unique<TDragSession>(this, Obj, Owned, Threshold);
  Session()->Begin(Immediate);
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) EndSession(Drop);
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag.Assigned()) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  if (OnEndDrag.Assigned()) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  if (OnDragOver.Assigned()) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (OnDragDrop.Assigned()) OnDragDrop(this, Source, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
  auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
  if (!Rec || !Rec->Source) return;
  // A drag the session made for a control shows the control as the source.
  TObject* Source = Rec->Source;
  if (Rec->Source->InternalObject())
    if (auto* C = dynamic_cast<TBaseDragControlObject*>(Rec->Source)) Source = C->Control();
  const TPoint P = ScreenToClient(Rec->Pos);
  switch (TDragMessage(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      static const TDragState States[] = {dsDragEnter, dsDragLeave, dsDragMove};
      bool Accept = OnDragOver.Assigned();
      DragOver(Source, P.X, P.Y, States[Message.WParam], Accept);
      Message.Result = Accept ? 1 : 0;
      break;
    }
    case dmDragDrop: DragDrop(Source, P.X, P.Y); break;
    case dmDragCancel: DragCanceled(); break;
    case dmFindTarget: Message.Result = reinterpret_cast<LRESULT>(this); break;
  }
}

// ---------------------------------------------------------------------------
// Context menus

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup.Assigned()) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  const TPoint Screen{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  // The menu key sends (-1, -1): no point of the mouse.
  const bool FromKey = Screen.X == -1 && Screen.Y == -1;
  if (auto* W = dynamic_cast<TWinControl*>(this); W && !FromKey)
    if (TControl* Child = W->ControlAtPos(ScreenToClient(Screen), false); Child && !dynamic_cast<TWinControl*>(Child)) {
      Message.Result = Child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      if (Message.Result != 0) return;
    }
  bool Handled = false;
  DoContextPopup(FromKey ? TPoint{-1, -1} : ScreenToClient(Screen), Handled);
  Message.Result = Handled ? 1 : 0;
  if (Handled) return;
  if (FPopupMenu && FPopupMenu->AutoPopup) {
    if (HWND Cap = GetCapture()) SendMessageA(Cap, WM_CANCELMODE, 0, 0);
    FPopupMenu->PopupComponent = this;
    const TPoint At = FromKey ? ClientToScreen({0, 0}) : Screen;
    FPopupMenu->Popup(At.X, At.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}
