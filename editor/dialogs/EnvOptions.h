// EnvOptions.h — the editor library's options dialog ("Properties"): one tab
// per registered option page, each page an ordinary form shown inside its
// tab as a child window and made when its tab first shows. The dialog tells
// every page form the outcome by message (DCM_OPTIONSOK, DCM_OPTIONSCANCEL);
// the pages apply their edits on DCM_OPTIONSOK.
//
// Also here: the registry of option pages, and the two classes that place a
// form inside a control (TDCFormParent and the tab sheets built on it).
#pragma once
#include <functional>
#include <vector>
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Panels.h"
#include "platform/forms/StdCtrls.h"

inline constexpr UINT DCM_OPTIONSOK = 2073;
// WParam the tab sheet, LParam the page form just made for it.
inline constexpr UINT DCM_PAGEFORMCREATED = 2074;
inline constexpr UINT DCM_OPTIONSCANCEL = 2077;

// --- the option pages ----------------------------------------------------------

// Makes a page form (no owner).
using TOptionFormCreator = std::function<TForm*()>;
struct TOptionFormItem {
  TClass FormClass = nullptr;
  Integer Order = 0;
  AnsiString Caption;
  TOptionFormCreator Create;
};
// Pages are kept by ascending Order (equal orders in registration order);
// registering a class again replaces its entry.
void RegisterOptionForm(TClass FormClass, Integer Order, const AnsiString& Caption, TOptionFormCreator Create);
void UnRegisterOptionForm(TClass FormClass);
// The registered pages in order.
std::vector<TClass> GetOptionFormClassList();
const TOptionFormItem* GetOptionFormItem(TClass FormClass);
AnsiString GetOptionFormCaption(TClass FormClass);

// --- a form inside a control -----------------------------------------------------

// Shows a form as a child window of ParentControl, filling it: the form
// loses its frame and caption while embedded and gets its window state back
// when it is let go.
class TDCFormParent : public TComponent {
  SX_CLASS(TDCFormParent, TComponent)
public:
  explicit TDCFormParent(TComponent* AOwner) : TComponent(AOwner) {}
  ~TDCFormParent() override;

  TWinControl* GetParentControl() const { return FParentControl; }
  void SetParentControl(TWinControl* Value);
  TForm* EmbeddedForm() const { return FEmbedded; }
  // nil lets the embedded form go. Raises Exception("Circular reference")
  // for the form that holds ParentControl itself.
  void Embed(TForm* Form);
  // Sizes the embedded form to the parent's client area.
  void FitToParent();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Restore();
  TWinControl* FParentControl = nullptr;
  TForm* FEmbedded = nullptr;
  // The embedded form's own look, given back when it is let go.
  TFormBorderStyle FSavedBorder = bsSizeable;
  TWinControl* FSavedParent = nullptr;
  bool FSavedVisible = false;
  Forms::TPosition FSavedPosition = poDesigned;
  TRect FSavedBounds{};
};

// A tab sheet that shows a form inside it.
class TDCFormTabSheet : public TTabSheet {
  SX_CLASS(TDCFormTabSheet, TTabSheet)
public:
  explicit TDCFormTabSheet(TComponent* AOwner);
  ~TDCFormTabSheet() override;

  TForm* PageForm() const { return FFormParent->EmbeddedForm(); }
  void SetPageForm(TForm* Form);
  TDCFormParent* FormParent() const { return FFormParent; }

protected:
  void Resize() override;

private:
  TDCFormParent* FFormParent;
};

// The options dialog's sheet: makes its page form the first time it shows.
class TDCFormTabSheet2 : public TDCFormTabSheet {
  SX_CLASS(TDCFormTabSheet2, TDCFormTabSheet)
public:
  explicit TDCFormTabSheet2(TComponent* AOwner) : TDCFormTabSheet(AOwner) {}
  ~TDCFormTabSheet2() override;
  TClass PageFormClass = nullptr;
  // Makes the page form when the sheet shows and has none yet.
  void MakePageForm();

protected:
  void Dispatch(TMessage& Message) override;
};

// --- the dialog -------------------------------------------------------------------

class TEnvForm : public TForm {
  SX_CLASS(TEnvForm, TForm)
public:
  explicit TEnvForm(TComponent* AOwner);
  static void Published(TPublished<TEnvForm>& P);

  TPageControl* PageProps = nullptr;
  TPanel* pnlButtons = nullptr;
  TPanel* Panel2 = nullptr;
  TButton* OkBut = nullptr;
  TButton* CancelBut = nullptr;
  TButton* HelpBut = nullptr;

  void FormCreate(TObject* Sender);
  void OkButClick(TObject* Sender);
  void CancelButClick(TObject* Sender);
  // Adds the pages, shows the dialog modally and tells the pages the
  // outcome; true when confirmed.
  bool Execute(TPageControl* Pages, const std::vector<TClass>& Classes);
  void AddPages(TPageControl* Pages, const std::vector<TClass>& Classes);
  // Sends Msg to the page form of every tab that has one.
  void BroadcastToPages(UINT Msg);

protected:
  void Dispatch(TMessage& Message) override;
  // DCM_PAGEFORMCREATED: the dialog grows to fit the page (never shrinks).
  void FitPageForm(TForm* Page);
};

// Set to open the dialog on its last tab; nothing resets it.
extern bool EnvOptionsShowLastPage;
// True while ShowEnvironmentOptions runs.
extern bool EnvOptionsRunning;

// Shows the dialog with every registered page; a call while it shows does
// nothing.
void ShowEnvironmentOptions();
bool ExecuteEnvForm(const std::vector<TClass>& Classes);

// Registers the dialog, its three pages ("Editor", "Display", "Colors"),
// the built-in colour schemes, the controls the pages use and the command
// "Tools.EnvironOptions". Calling it again registers nothing twice.
void RegisterEnvironmentDialog();
