#include "TestDialogs.h"

#include "editor/text/EditorDialogs.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

namespace {

TTestDialogs* Current = nullptr;

// Closes itself from the first idle moment of its modal loop.
class TClosingDialog : public TForm {
public:
  explicit TClosingDialog(TComponent* AOwner) : TForm(AOwner) {}
};

class TRecordingWindow : public TCustomSearchReplaceForm {
public:
  explicit TRecordingWindow(TComponent* AOwner) : TCustomSearchReplaceForm(AOwner) {}
  void SetGoToLine(Integer Line) override { Current->WindowLine = Line; }
  void ShowPage(Integer Page) override { Current->WindowPage = Page; }
};

TForm* MakeModal(TComponent* Owner) {
  auto* D = new TClosingDialog(Owner);
  HeadlessDisplay().SetIdleHandler([D] {
    ++Current->ModalShown;
    D->SetModalResult(Current->ModalResult);
    HeadlessDisplay().SetIdleHandler(nullptr);
    return true;
  });
  return D;
}

}  // namespace

const Integer TTestDialogs::Ok = mrOk;
const Integer TTestDialogs::Cancel = mrCancel;
const Integer TTestDialogs::All = mrAll;

TTestDialogs::TTestDialogs() : ModalResult(mrOk) {
  RegisterFormsClasses();
  ResetWindowSystem();
  UseVirtualClock();
  FApp = std::make_unique<TApplication>(nullptr);
  Current = this;
  RegisterEditorDialog(FindDialogClass, &MakeModal);
  RegisterEditorDialog(ReplaceDialogClass, &MakeModal);
  RegisterEditorDialog(SearchReplaceFormClass, [](TComponent* Owner) -> TForm* {
    ++Current->WindowsCreated;
    return new TRecordingWindow(Owner);
  });
}

TTestDialogs::~TTestDialogs() {
  for (const char* C : {FindDialogClass, ReplaceDialogClass, SearchReplaceFormClass}) UnRegisterEditorDialog(C);
  FApp.reset();  // frees a combined window still open
  HeadlessDisplay().SetIdleHandler(nullptr);
  ResetWindowSystem();
  UseRealClock();
  Current = nullptr;
}

bool TTestDialogs::WindowVisible() const {
  TForm* W = SearchReplaceWindow([]() -> TForm* { return nullptr; });
  return W && W->GetVisible();
}

void TTestDialogs::CloseWindow() { delete SearchReplaceWindow([]() -> TForm* { return nullptr; }); }
