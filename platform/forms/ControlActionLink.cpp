#include "platform/forms/ControlActionLink.h"

void TControlActionLink::SetCaption(const AnsiString& Value) {
  if (!FAttaching && IsCaptionLinked()) FControl->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
  if (!FAttaching && IsEnabledLinked()) FControl->SetEnabled(Value);
}
void TControlActionLink::SetHint(const AnsiString& Value) {
  if (!FAttaching && IsHintLinked()) FControl->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
  if (!FAttaching && IsVisibleLinked()) FControl->SetVisible(Value);
}
void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (!FAttaching && IsOnExecuteLinked()) FControl->OnClick = Value;
}

TBasicAction* TControl::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    if (FActionLink) {
      if (TBasicAction* Old = FActionLink->GetAction()) Old->RemoveFreeNotification(this);
      FActionLink.reset();
    }
    FControlStyle.Exclude(csActionClient);
    return;
  }
  if (Value == GetAction()) return;
  FControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
  if (TBasicAction* Old = FActionLink->GetAction()) Old->RemoveFreeNotification(this);
  FActionLink->FAttaching = true;
  FActionLink->SetAction(Value);
  FActionLink->FAttaching = false;
  ActionChange(Value, ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A) return;
  if (!CheckDefaults || GetCaption().empty() || GetCaption() == GetName()) SetCaption(A->GetCaption());
  if (!CheckDefaults || GetEnabled()) SetEnabled(A->GetEnabled());
  if (!CheckDefaults || GetHint().empty()) SetHint(A->GetHint());
  if (!CheckDefaults || GetVisible()) SetVisible(A->GetVisible());
  if (!CheckDefaults || !OnClick.Assigned()) OnClick = A->OnExecute;
}

void TControl::Published(TPublished<TControl>& P) {
  P.Property("Left", &TControl::GetLeft, &TControl::SetLeft);
  P.Property("Top", &TControl::GetTop, &TControl::SetTop);
  P.Property("Width", &TControl::GetWidth, &TControl::SetWidth);
  P.Property("Height", &TControl::GetHeight, &TControl::SetHeight);
  P.Property("Action", &TControl::GetAction, &TControl::SetAction);
  P.Property("Cursor", &TControl::GetCursor, &TControl::SetCursor).Default(crDefault);
  P.Property("Hint", &TControl::GetHint, &TControl::SetHint);
  P.Property("HelpContext", &TControl::FHelpContext, &TControl::FHelpContext).Default(0);
}
