// ActnList.h — actions as far as the class library's own dispatch uses
// them: TBasicAction (something to execute, which may look for a target
// among the controls of the active form) and THintAction, which the
// application sends out when its hint changes so that a status bar with an
// automatic hint panel can show it.
#pragma once
#include "platform/rtl/Component.h"

class TBasicAction : public TComponent {
  SX_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  // OnExecute when assigned; true when something handled the action.
  virtual bool Execute();
  virtual bool HandlesTarget(TObject* Target) {
    (void)Target;
    return false;
  }
  virtual void ExecuteTarget(TObject* Target) { (void)Target; }
  TNotifyEvent OnExecute;
};

// Offered to the controls of the active form (then the main form) until
// one takes it: OnExecute first, then the targets.
class TContainedAction : public TBasicAction {
  SX_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  bool Execute() override;
};

class THintAction : public TContainedAction {
  SX_CLASS(THintAction, TContainedAction)
public:
  explicit THintAction(TComponent* AOwner) : TContainedAction(AOwner) {}
  AnsiString Hint;
};
