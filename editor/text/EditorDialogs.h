// EditorDialogs.h — how the memo source finds its dialog forms: the modal
// Find Text ("TSrchDialog") and Replace Text ("TReplDialog") dialogs, the
// combined modeless Find and Replace window ("TFrmSearRepl") and the
// one-line input form ("TInputLineForm") of Go to line.
//
// The forms live in the editor's dialog unit, which registers a creator for
// each class name at start-up; the memo source asks for them by name. A
// dialog that nobody registered raises EClassNotFound naming its class, so
// a missing dialog unit shows as that, never as a dialog that silently does
// nothing.
//
// Every dialog is created with the application as its owner (none without
// an application). Whoever shows a modal dialog frees it; the combined
// window frees itself when closed.
#pragma once
#include <functional>
#include "editor/text/SearchUi.h"
#include "platform/forms/Forms.h"

inline constexpr const char* FindDialogClass = "TSrchDialog";
inline constexpr const char* ReplaceDialogClass = "TReplDialog";
inline constexpr const char* SearchReplaceFormClass = "TFrmSearRepl";
inline constexpr const char* InputLineFormClass = "TInputLineForm";

// Makes the form with the given owner.
using TEditorDialogCreator = std::function<TForm*(TComponent* Owner)>;

// Registering a class name again replaces its creator; an empty creator
// unregisters it.
void RegisterEditorDialog(const AnsiString& ClassName, TEditorDialogCreator Creator);
void UnRegisterEditorDialog(const AnsiString& ClassName);
bool IsEditorDialogRegistered(const AnsiString& ClassName);

// The combined Find and Replace window as the memo source drives it; the
// dialog unit's TFrmSearRepl derives from it.
class TCustomSearchReplaceForm : public TForm {
  SX_CLASS(TCustomSearchReplaceForm, TForm)
public:
  explicit TCustomSearchReplaceForm(TComponent* AOwner) : TForm(AOwner) {}
  // The Go To page's line field.
  virtual void SetGoToLine(Integer Line) = 0;
  // 0 Find, 1 Replace, 2 Go To.
  virtual void ShowPage(Integer Page) = 0;
};

// The one-line input form; the dialog unit's TInputLineForm derives from it.
class TCustomInputLineForm : public TForm {
  SX_CLASS(TCustomInputLineForm, TForm)
public:
  explicit TCustomInputLineForm(TComponent* AOwner) : TForm(AOwner) {}
  // The label above the field.
  virtual AnsiString GetLabelText() const = 0;
  virtual void SetLabelText(const AnsiString& Value) = 0;
  // The field.
  virtual AnsiString GetValue() const = 0;
  virtual void SetValue(const AnsiString& Value) = 0;
};

// The registered input-line form with its caption, label and help context;
// the caller fills the field, shows it modally and frees it. Raises
// EClassNotFound when no input-line form is registered, EInvalidCast when
// the registered one is not a TCustomInputLineForm.
TCustomInputLineForm* CreateInputLineForm(const AnsiString& Caption, const AnsiString& LabelText,
                                          Integer HelpContext);

// The number input of the editor's Go to line command: the input-line form
// with Caption and Prompt and Number in its field; CreateDialogEvent (when
// set) sees the form with Editor as sender before it shows. On OK Number
// becomes the field's integer (a field that is no integer raises
// EConvertError) and the result is true. The form is freed in every case.
// Flags is carried for callers; the form has no use for it.
using TInputDialogEvent = TEvent<void(TObject* Sender, TCustomForm* Dialog)>;
bool InputNumber(const AnsiString& Caption, const AnsiString& Prompt, Integer Flags, Integer& Number,
                 const TInputDialogEvent& CreateDialogEvent, TObject* Editor);
