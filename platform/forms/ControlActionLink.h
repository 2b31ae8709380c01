// ControlActionLink.h — a control's link to its action: the action's
// caption, enabled state, hint, visibility and execute handler reach the
// control; the control's click runs the action.
#pragma once
#include "platform/forms/ActnList.h"
#include "platform/forms/Controls.h"

class TControlActionLink : public TActionLink {
public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

protected:
  TControl* FControl;

private:
  friend class TControl;
  bool FAttaching = false;   // the control takes the state itself (ActionChange)
};
