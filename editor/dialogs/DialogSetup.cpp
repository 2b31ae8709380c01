#include "editor/dialogs/DialogSetup.h"

#include "platform/forms/Application.h"
#include "platform/forms/StdCtrls.h"

namespace {
bool ShowHelpButtons = false;
bool UseMainFormFont = true;
}  // namespace

bool GetShowHelpButtons() { return ShowHelpButtons; }
void SetShowHelpButtons(bool Value) { ShowHelpButtons = Value; }
bool GetUseMainFormFont() { return UseMainFormFont; }
void SetUseMainFormFont(bool Value) { UseMainFormFont = Value; }

void ApplyMainFormFont(TCustomForm* Form) {
  if (!UseMainFormFont || !Form || !Application) return;
  TCustomForm* Main = Application->MainForm();
  if (!Main || Main == Form) return;
  Form->GetFont()->Assign(Main->GetFont());
}

void SetupDialogButtons(TButton* OK, TButton* Cancel, TButton* Help) {
  if (OK) OK->SetCaption("OK");
  if (Cancel) Cancel->SetCaption("Cancel");
  if (!Help) return;
  Help->SetCaption("&Help");
  Help->SetVisible(ShowHelpButtons);
  if (ShowHelpButtons) return;
  if (OK && Cancel) OK->SetLeft(Cancel->GetLeft());
  if (Cancel) Cancel->SetLeft(Help->GetLeft());
}

void BroadcastToControls(TWinControl* Parent, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!Parent) return;
  for (Integer I = 0; I < Parent->ControlCount(); ++I) Parent->Controls(I)->Perform(Msg, WParam, LParam);
}
