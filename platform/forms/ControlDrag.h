// ControlDrag.h — dragging controls onto controls: the drag objects, the
// CM_DRAG record, and the session that follows the mouse.
//
// BeginDrag starts a session: the mouse is captured by a hidden window of
// the session, so every mouse move and the release come to it whatever lies
// under the cursor. Until the mouse leaves the threshold square around the
// press point the session is pending (a release then ends it without a
// drag). Dragging, each move finds the control under the cursor
// (FindDragTarget) and asks it through CM_DRAG (dmDragEnter, dmDragMove,
// dmDragLeave → DragOver/OnDragOver) whether it accepts the source; the
// release drops on the last control that accepted (dmDragDrop →
// DragDrop/OnDragDrop), and the source hears the end (EndDrag →
// OnEndDrag) with the target or nil. Esc or losing the capture cancels.
//
// Ownership: the session owns a drag object it made itself; one that
// OnStartDrag supplies stays the program's. At most one session exists.
#pragma once
#include "platform/forms/Controls.h"

enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

class TDragObject;

// CM_DRAG's lParam; wParam is the TDragMessage. Pos is in screen
// coordinates; Target is the control asked.
struct TDragRec {
  TPoint Pos;
  TDragObject* Source = nullptr;
  TControl* Target = nullptr;
  bool Docking = false;
};

class TDragObject : public TObject {
  SX_CLASS(TDragObject, TObject)
public:
  TDragObject() = default;
  // The cursor over a target that accepts (or refuses) the drop.
  virtual TCursor GetDragCursor(bool Accepted, Integer X, Integer Y);
  // Called when the drag ended: on Target at X, Y (client) when dropped,
  // Target nil and Accepted false when cancelled or refused.
  virtual void Finished(TObject* Target, Integer X, Integer Y, bool Accepted);
  TPoint DragPos;            // screen
  TControl* DragTarget = nullptr;
  TPoint DragTargetPos;      // client point in the target
  bool Cancelling = false;
  bool Dropped = false;
  // The drag object is the session's own (the events see its control).
  bool InternalObject() const { return FInternal; }

private:
  bool FInternal = false;
  friend class TDragSession;
};

// A drag of a control: the events name Control as the source.
class TBaseDragControlObject : public TDragObject {
  SX_CLASS(TBaseDragControlObject, TDragObject)
public:
  explicit TBaseDragControlObject(TControl* AControl) : FControl(AControl) {}
  TControl* Control() const { return FControl; }
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;

private:
  TControl* FControl;
};

class TDragControlObject : public TBaseDragControlObject {
  SX_CLASS(TDragControlObject, TBaseDragControlObject)
public:
  using TBaseDragControlObject::TBaseDragControlObject;
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
};

// Ends the current drag without a drop; nothing when none runs.
void CancelDrag();
// The control being dragged, or nil.
TControl* DragControl();
// The drag object of the running session (nil when none runs).
TDragObject* DragObject();
// Forgets a session that a test left behind (frees its window).
void ResetDragState();
