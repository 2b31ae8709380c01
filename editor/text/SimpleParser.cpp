#include "editor/text/SimpleParser.h"

TSimpleParser::TSimpleParser(TComponent* AOwner) : TComponent(AOwner) {}

TSimpleParser::~TSimpleParser() = default;

void TSimpleParser::InitAttributes(Integer /*LineIndex*/, const AnsiString& Text, AnsiString& Attrs) {
  Attrs.assign(Text.size(), '\0');
}

void TSimpleParser::AddNotifier(const TNotifierProc& Method, TComponent* Listener) {
  FNotifiers.Remove(Method);
  FNotifiers.Add(Method);
  if (Listener) Listener->FreeNotification(this);
}

void TSimpleParser::RemoveNotifier(const TNotifierProc& Method) { FNotifiers.Remove(Method); }

void TSimpleParser::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent) FNotifiers.RemoveTarget(AComponent);
}
