#include "editor/text/EditorDialogs.h"

#include <memory>
#include <vector>

#include "platform/forms/Application.h"
#include "platform/rtl/AnsiStrings.h"

namespace {

struct TDialogEntry {
  AnsiString ClassName;
  TEditorDialogCreator Create;
};

std::vector<TDialogEntry>& DialogClasses() {
  static std::vector<TDialogEntry> L;
  return L;
}

TDialogEntry* FindEntry(const AnsiString& ClassName) {
  for (TDialogEntry& E : DialogClasses())
    if (SameText(E.ClassName, ClassName)) return &E;
  return nullptr;
}

// Holds the open combined window and forgets it when it is freed (it frees
// itself when closed).
class TWindowKeeper : public TComponent {
public:
  TWindowKeeper() : TComponent(nullptr) {}
  ~TWindowKeeper() override { Keep(nullptr); }
  TForm* Window() const { return FWindow; }
  void Keep(TForm* W) {
    if (FWindow) FWindow->RemoveFreeNotification(this);
    FWindow = W;
    if (FWindow) FWindow->FreeNotification(this);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWindow) FWindow = nullptr;
  }

private:
  TForm* FWindow = nullptr;
};

TWindowKeeper& Keeper() {
  static TWindowKeeper K;
  return K;
}

}  // namespace

void RegisterEditorDialog(const AnsiString& ClassName, TEditorDialogCreator Creator) {
  if (!Creator) {
    UnRegisterEditorDialog(ClassName);
    return;
  }
  if (TDialogEntry* E = FindEntry(ClassName)) E->Create = std::move(Creator);
  else DialogClasses().push_back({ClassName, std::move(Creator)});
}

void UnRegisterEditorDialog(const AnsiString& ClassName) {
  auto& L = DialogClasses();
  for (auto It = L.begin(); It != L.end(); ++It)
    if (SameText(It->ClassName, ClassName)) {
      L.erase(It);
      return;
    }
}

bool IsEditorDialogRegistered(const AnsiString& ClassName) { return FindEntry(ClassName) != nullptr; }

TForm* CreateEditorDialog(const AnsiString& ClassName) {
  TDialogEntry* E = FindEntry(ClassName);
  if (!E) throw EClassNotFound("Class " + ClassName + " not found");
  // A copy: the creator may register or unregister dialogs itself.
  const TEditorDialogCreator Create = E->Create;
  return Create(Application);
}

TForm* SearchReplaceWindow(const std::function<TForm*()>& Create) {
  if (TForm* W = Keeper().Window()) return W;
  TForm* W = Create();
  Keeper().Keep(W);
  return W;
}

void ShowSearchReplaceWindow(TForm* Window, Integer GoToLine, bool Replace) {
  auto* W = dynamic_cast<TCustomSearchReplaceForm*>(Window);
  if (!W) throw EInvalidCast(AnsiString(SearchReplaceFormClass) + " is not a search and replace window");
  W->SetGoToLine(GoToLine);
  W->Show();
  W->ShowPage(Replace ? 1 : 0);
}

TCustomInputLineForm* CreateInputLineForm(const AnsiString& Caption, const AnsiString& LabelText,
                                          Integer HelpContext) {
  std::unique_ptr<TForm> Form(CreateEditorDialog(InputLineFormClass));
  auto* Input = dynamic_cast<TCustomInputLineForm*>(Form.get());
  if (!Input) throw EInvalidCast(AnsiString(InputLineFormClass) + " is not an input-line form");
  Input->SetCaption(Caption);
  Input->SetLabelText(LabelText);
  Input->SetHelpContext(HelpContext);
  Form.release();
  return Input;
}

bool InputNumber(const AnsiString& Caption, const AnsiString& Prompt, Integer /*Flags*/, Integer& Number,
                 const TInputDialogEvent& CreateDialogEvent, TObject* Editor) {
  std::unique_ptr<TCustomInputLineForm> Form(CreateInputLineForm(Caption, Prompt, 0));
  Form->SetValue(IntToStr(Number));
  if (CreateDialogEvent.Assigned()) CreateDialogEvent(Editor, Form.get());
  if (Form->ShowModal() != mrOk) return false;
  Number = StrToInt(Form->GetValue());
  return true;
}
