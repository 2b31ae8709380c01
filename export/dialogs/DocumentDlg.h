// DocumentDlg.h — the engines' setup dialogs: the base that carries the
// engine being edited, the common form every engine's dialog grows from
// (a page list on the left, one sheet per page, OK and Cancel), and the
// background picture's preview.
//
// An engine shows its dialog with RunSetupDialog. A headless run asks the
// dialog answer hook first (kind: the dialog's class name, caption: its
// window caption): OK keeps the engine's values as they are, Cancel
// cancels, and ThenShowForm shows the real form for a test to drive.
#pragma once
#include <memory>

#include "platform/gdi/Picture.h"

#include "platform/forms/ColorDialog.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/RadioGroup.h"
#include "platform/forms/StdCtrls.h"

class TgtCustomDocumentEngine;
class TgtDocInfo;
class TPanel;
class TShape;
class TImage;

class TgtBaseDlg : public TForm {
  SX_CLASS(TgtBaseDlg, TForm)
public:
  explicit TgtBaseDlg(TComponent* AOwner);
  TgtCustomDocumentEngine* GetEngine() const { return FEngine; }
  void SetEngine(TgtCustomDocumentEngine* Engine) { FEngine = Engine; }
  // The setup dialog on the screen (nil when none): tests reach its controls.
  static TgtBaseDlg* Showing();

protected:
  TgtCustomDocumentEngine* FEngine = nullptr;
  friend Word RunSetupDialog(TgtBaseDlg* Dialog, TgtCustomDocumentEngine* Engine);
};

// Enables or disables everything inside Parent (Parent itself keeps its
// state, so a group's caption stays readable); an edit or combo box turns
// grey while disabled.
void SetControlsEnabled(TWinControl* Parent, bool Enabled);

// Shows Form modally unless the answer hook answers for it (kind: the
// form's class name). Returns the modal result.
TModalResult ShowDialogForm(TForm* Form);

class TgtDocumentDlg : public TgtBaseDlg {
  SX_CLASS(TgtDocumentDlg, TgtBaseDlg)
public:
  explicit TgtDocumentDlg(TComponent* AOwner);
  // Runs the creation steps; the most derived class decides (a constructor
  // would reach only its own level's overrides).
  void Initialize() { FormCreate(); }

  // --- controls (named as the form names them) ---
  TPanel* pnlLeft;
  TListBox* lbDocumentDlg;
  TPanel* pnlCaption;
  TLabel* lblDialogCaption;
  TPageControl* pcDocument;
  TButton *btnOK, *btnCancel;
  TLabel* lblHalvarn;
  TOpenPictureDialog* OpenPictureDialog;
  TColorDialog* ColorDialog;
  // Preferences
  TTabSheet* tsPreferences;
  TGroupBox *gbPreferences, *gbPageRange;
  TRadioButton *rbtnAll, *rbtnPages;
  TEdit* edPages;
  TLabel* lblPageExample;
  TCheckBox *chkOpenAfterCreate, *chkProcessAfterEachPage;
  // Content
  TTabSheet* tsContent;
  TGroupBox *gbContentOptions, *gbItemsToRender, *gbImageSettings, *gbDocInfo;
  TCheckBox *chkText, *chkShape, *chkImage;
  TLabel *lblOutputImageFormat, *lblJPEGQuality, *lblImagePixelFormat, *lblSourceDPI;
  TComboBox *cbOutputImageFormat, *cbImagePixelFormat;
  TEdit *edJPEGQuality, *edSourceDPI;
  TLabel *lblAuthor, *lblCreator, *lblKeywords, *lblSubject, *lblTitle;
  TEdit *edAuthor, *edCreator, *edKeywords, *edSubject, *edTitle;
  // Background
  TTabSheet* tsBackground;
  TGroupBox* gbBackground;
  TLabel *lblBackgroundImage, *lblBackgroundDisplayType, *lblBackgroundColor;
  TPanel* pnlBackgroundImage;
  TImage* imgBackgroundImage;
  TButton *btnSelectImage, *btnImgPrvw, *btnClear;
  TComboBox* cbBackgroundDisplayType;
  TShape* shpBackgroundColor;
  // E-mail (hidden: never shown)
  TTabSheet* tsEMailInfo;
  TCheckBox *chkEmailAfterCreate, *chkAuthentication;
  TGroupBox *gbEMailInfo, *gbAuthentication;
  TEdit *edHost, *edPort, *edFrom, *edTo, *edCC, *edBCC, *edEmailSubject, *edUserID, *edPassword;
  TMemo* memoBody;

  // --- behaviour ---
  virtual void LoadCaptions();
  virtual void FormCreate();
  virtual void FormShow();
  virtual void btnOKClick();
  void lbDocumentDlgClick(TObject* Sender = nullptr);
  void rbtnAllClick(TObject* Sender = nullptr);
  void rbtnPagesClick(TObject* Sender = nullptr);
  void edPagesChange(TObject* Sender = nullptr);
  void cbOutputImageFormatChange(TObject* Sender = nullptr);
  virtual void chkImageClick(TObject* Sender = nullptr);
  virtual void btnSelectImageClick(TObject* Sender = nullptr);
  void btnClearClick(TObject* Sender = nullptr);
  void btnImgPrvwClick(TObject* Sender = nullptr);
  void chkEmailAfterCreateClick(TObject* Sender = nullptr);
  void chkAuthenticationClick(TObject* Sender = nullptr);
  bool UpdateEMailInfo() const { return chkEmailAfterCreate->GetChecked(); }
  // Key filters: a rejected key becomes 0.
  void edPagesKeyPress(TObject* Sender, char& Key);
  void edKeyPress(TObject* Sender, char& Key);
  void edSourceDPIKeyPress(TObject* Sender, char& Key);

  // The selected line's object as an ordinal (-1: none); the line whose
  // object is Value.
  static Integer SelectedObject(TComboBox* Combo);
  static void SelectObject(TComboBox* Combo, Integer Value);
  static void SelectText(TComboBox* Combo, const AnsiString& Text);
  static void DeleteObject(TComboBox* Combo, Integer Value);
  // Names of the output image formats, as the format list shows them.
  static AnsiString OutputFormatName(Integer Format);
  // The colour swatch and the background picture.
  TColor SwatchColor() const;
  void SetSwatchColor(TColor Color);
  TPicture* BackgroundPicture() const;

protected:
  // The document properties on the Content page (author, creator,
  // keywords, subject, title), shown from and stored into D.
  void ShowDocInfo(TgtDocInfo* D);
  void StoreDocInfo(TgtDocInfo* D);

  // Picture and background values shared by the dialogs that show them.
  void ShowBackground();
  void TakeBackground(bool WithDisplayType = true);
  TLabel* AddLabel(TWinControl* Parent, const char* Name, Integer X, Integer Y);
  TEdit* AddEdit(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W = 120);
  TCheckBox* AddCheck(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W = 150);
  TComboBox* AddCombo(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W = 120);
  TGroupBox* AddGroup(TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W, Integer H);
  TTabSheet* AddSheet(const char* Name);
  // Adds a page and its list line.
  void AddPageLine(const AnsiString& Line) { lbDocumentDlg->GetItems()->Add(Line); }
  void DeletePageLine(const AnsiString& Line);

private:
  void OkClicked(TObject* Sender);
  void FormShowEvent(TObject*) { FormShow(); }
  void SwatchDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void SwatchUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  TPoint FSwatchDown{-1, -1};
};

// The background picture shown at its own size.
class TgtImgPrvwDlg : public TForm {
  SX_CLASS(TgtImgPrvwDlg, TForm)
public:
  explicit TgtImgPrvwDlg(TComponent* AOwner);
  TPanel* pnlBgImgPrvw;
  TImage* imgBgImgPrvw;
};

// Shows Dialog for Engine: the engine's values go in when it shows and back
// out only on OK. Returns 1 (OK) or 2 (Cancel).
Word RunSetupDialog(TgtBaseDlg* Dialog, TgtCustomDocumentEngine* Engine);

// Makes a dialog of class T, runs it for Engine and frees it.
template <class T>
Word RunSetupDialogOf(TgtCustomDocumentEngine* Engine) {
  std::unique_ptr<T> D(new T(nullptr));
  D->Initialize();
  return RunSetupDialog(D.get(), Engine);
}
