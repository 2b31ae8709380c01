#include "editor/text/SearchUi.h"

#include <memory>

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Screen.h"

HWND ApplicationWindow() { return Application ? Application->Handle() : nullptr; }

void ShowInformationBox(const AnsiString& Text) { MessageDlg(Text, mtInformation, TMsgDlgButtons{mbOK}, 0); }

TReplaceAnswer AskReplaceConfirmation(const AnsiString& Text) {
  switch (MessageDlg(Text, mtConfirmation, TMsgDlgButtons{mbYes, mbNo, mbCancel, mbAll}, 0)) {
    case mrYes: return TReplaceAnswer::Yes;
    case mrNo: return TReplaceAnswer::No;
    case mrAll: return TReplaceAnswer::All;
    default: return TReplaceAnswer::Cancel;
  }
}

TDialogOutcome ShowAndFreeDialog(TForm* Dialog) {
  std::unique_ptr<TForm> Owned(Dialog);
  const TModalResult R = Dialog->ShowModal();
  return R == mrOk ? TDialogOutcome::Ok : R == mrAll ? TDialogOutcome::All : TDialogOutcome::Other;
}

THourGlass::THourGlass() {
  if (Screen && Screen->GetCursor() != crHourGlass) {
    FOld = Integer(Screen->GetCursor());
    FSet = true;
    Screen->SetCursor(crHourGlass);
  }
}

THourGlass::~THourGlass() {
  if (FSet && Screen) Screen->SetCursor(TCursor(FOld));
}
