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

class TBitBtn;
class TBitmap;
class TListBox;

// The combined, modeless Find and Replace window with pages Find, Replace
// and Go To. It acts on the current source (the text of the editor that
// last had the focus) and shows what happened in its own information line
// instead of message boxes. "More" opens the options below the buttons.
class TFrmSearRepl : public TCustomSearchReplaceForm {
  SX_CLASS(TFrmSearRepl, TCustomSearchReplaceForm)
public:
  explicit TFrmSearRepl(TComponent* AOwner);
  ~TFrmSearRepl() override;
  static void Published(TPublished<TFrmSearRepl>& P);

  TPageControl* PageControl = nullptr;
  TTabSheet *EditorFindPage = nullptr, *EditorReplacePage = nullptr, *GotoTab = nullptr;
  TLabel *LTexttFind = nullptr, *Label1 = nullptr, *LReplWith = nullptr, *Label4 = nullptr, *InputLabel = nullptr;
  TLabel *InfoLbl = nullptr, *InfoLbl1 = nullptr, *InfoLbl2 = nullptr;
  TDCHistoryEditor *SearText = nullptr, *SearText1 = nullptr, *ReplText = nullptr;
  TListBox* GotoBox = nullptr;
  TEdit* LineEd = nullptr;
  TPanel *Panel2 = nullptr, *ExPanel = nullptr;
  TBitBtn* ExBtn = nullptr;
  TButton *FindBtn = nullptr, *ReplBtn = nullptr, *ReplAllBtn = nullptr, *GoToBtn = nullptr, *CloseBtn = nullptr;
  TGroupBox *gbxOptions = nullptr, *gbxDirection = nullptr, *gbxScope = nullptr;
  TCheckBox *CaseSens = nullptr, *WholeWord = nullptr, *RegExpr = nullptr;
  TRadioButton *dirForward = nullptr, *dirBackward = nullptr, *ScopeGlobal = nullptr, *ScopeSelected = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void ExBtnClick(TObject* Sender);
  void PageControlChange(TObject* Sender);
  void FindBtnClick(TObject* Sender);
  void ReplBtnClick(TObject* Sender);
  void GoToBtnClick(TObject* Sender);
  void CloseBtnClick(TObject* Sender);

  void ShowPage(Integer Page) override;
  void SetGoToLine(Integer Line) override;
  // The same text in the three information lines; empty clears them.
  void SetInfo(const AnsiString& Text);
  // Moves the window off R (screen coordinates) when it covers it.
  void AvoidRect(const TRect& R);
  void ApplyOptions();
  TSearchOptions* Options() const { return FOptions.get(); }

private:
  void LoadOptions();
  void ShowNotFound();
  bool ReplacePageActive() const;
  std::unique_ptr<TSearchOptions> FOptions;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FExHeight = 0;
};

// The live combined window, or nil.
TFrmSearRepl* SearchReplaceForm();

// Registers the classes and form descriptions of the dialogs and the
// creators the memo source asks for by class name.
void RegisterSearchDialogs();
