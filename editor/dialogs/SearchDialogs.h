// SearchDialogs.h — the editor's Find Text and Replace Text dialogs and the
// one-line input form of Go to line, built from their form descriptions.
//
// The find and replace dialogs edit a private copy of the process's search
// options: the controls show the copy when the dialog is made, and only OK
// (or Replace All) writes them back into the global options, so Cancel
// leaves the settings as they were. Their text fields are history editors.
#pragma once
#include <memory>
#include "editor/text/EditorDialogs.h"
#include "platform/forms/Panels.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/StdCtrls.h"

class TDCHistoryEditor;
class TPageControl;
class TTabSheet;
// The search options and the list view's search direction share a name, so
// the units that build the forms never see the search options: their copy is
// handled in SearchDialogOptions.cpp.
class TSearchOptions;

// What the two search dialogs share: the options copy and the controls both
// carry.
class TSearchDialogBase : public TForm {
  SX_CLASS(TSearchDialogBase, TForm)
public:
  explicit TSearchDialogBase(TComponent* AOwner);
  ~TSearchDialogBase() override;
  static void Published(TPublished<TSearchDialogBase>& P);

  TLabel* LTexttFind = nullptr;
  TDCHistoryEditor* SearText = nullptr;
  TGroupBox* OptionsGroup = nullptr;
  TCheckBox* CaseSens = nullptr;
  TCheckBox* WholeWord = nullptr;
  TCheckBox* RegExpr = nullptr;
  TGroupBox* DirectionGroup = nullptr;
  TRadioButton* dirForward = nullptr;
  TRadioButton* dirBackward = nullptr;
  TRadioGroup* ScopeGroup = nullptr;
  TRadioGroup* OriginGroup = nullptr;
  TButton* OKBut = nullptr;
  TButton* CancelBut = nullptr;
  TButton* HelpBut = nullptr;

  // The dialog's own copy of the search options.
  TSearchOptions* Options() const { return FOptions.get(); }

protected:
  // Copy → controls; controls → copy (StoreOptions), and the copy into the
  // global options (PublishOptions).
  void LoadOptions();
  void StoreOptions();
  void PublishOptions();

  std::unique_ptr<TSearchOptions> FOptions;
};

class TSrchDialog : public TSearchDialogBase {
  SX_CLASS(TSrchDialog, TSearchDialogBase)
public:
  explicit TSrchDialog(TComponent* AOwner);
  static void Published(TPublished<TSrchDialog>& P);

  TPageControl* PageControl = nullptr;
  TTabSheet* EditorFindPage = nullptr;
  TPanel* Panel1 = nullptr;

  void FormCreate(TObject* Sender);
  void OKButClick(TObject* Sender);
};

class TReplDialog : public TSearchDialogBase {
  SX_CLASS(TReplDialog, TSearchDialogBase)
public:
  explicit TReplDialog(TComponent* AOwner);
  static void Published(TPublished<TReplDialog>& P);

  TLabel* LReplWith = nullptr;
  TDCHistoryEditor* ReplText = nullptr;
  TCheckBox* PromptRepl = nullptr;
  TButton* ReplBut = nullptr;

  void FormCreate(TObject* Sender);
  void OKButClick(TObject* Sender);
  void ReplButClick(TObject* Sender);
  void ApplyOptions(bool ReplaceAll);

private:
  void LoadReplaceOptions();
};

class TInputLineForm : public TCustomInputLineForm {
  SX_CLASS(TInputLineForm, TCustomInputLineForm)
public:
  explicit TInputLineForm(TComponent* AOwner);
  static void Published(TPublished<TInputLineForm>& P);

  TPanel* Panel1 = nullptr;
  TLabel* InputLabel = nullptr;
  TEdit* PropEdit = nullptr;
  TButton* OkBut = nullptr;
  TButton* CancelBut = nullptr;
  TButton* HelpBut = nullptr;

  void FormCreate(TObject* Sender);
  AnsiString GetLabelText() const override;
  void SetLabelText(const AnsiString& Value) override;
  AnsiString GetValue() const override;
  void SetValue(const AnsiString& Value) override;
};

// Registers the classes and form descriptions of the dialogs and the
// creators the memo source asks for by class name.
void RegisterSearchDialogs();
