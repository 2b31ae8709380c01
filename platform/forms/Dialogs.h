// Dialogs.h — message boxes (the system's MessageBox and the class
// library's MessageDlg/ShowMessage) and the answer hook of headless runs.
//
// A run without a display never blocks on a dialog: every dialog goes to
// the installed TDialogAnswerer, which answers it (a test script supplies
// the answers in order) or refuses. A dialog nobody answers throws
// EDialogNotAnswered, carrying its caption and text; that exception is not
// an Exception of the library, so the message loop does not swallow it and
// the test fails with the dialog's text.
#pragma once
#include <deque>
#include <stdexcept>
#include <vector>
#include "platform/forms/Forms.h"

// MessageBox styles and answers (the system's values).
enum : UINT {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONASTERISK = 0x40,
  MB_ICONMASK = 0xF0, MB_ICONERROR = MB_ICONHAND, MB_ICONSTOP = MB_ICONHAND, MB_ICONWARNING = MB_ICONEXCLAMATION,
  MB_ICONINFORMATION = MB_ICONASTERISK,
  MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFBUTTON4 = 0x300, MB_DEFMASK = 0xF00,
  MB_APPLMODAL = 0x0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_HELP = 0x4000,
  MB_SETFOREGROUND = 0x10000, MB_DEFAULT_DESKTOP_ONLY = 0x20000, MB_TOPMOST = 0x40000, MB_RIGHT = 0x80000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

SX_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
SX_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A dialog as the answerer sees it.
struct TDialogRequest {
  AnsiString Kind;     // "MessageBox", "MessageDlg", or a common dialog's class name
  AnsiString Caption;
  AnsiString Text;
  UINT Style = 0;                 // MessageBox: the MB_* flags
  std::vector<Integer> Answers;   // the results the dialog can give (IDs or modal results)
  // Common dialogs: the folder the dialog opens in, its filter and the
  // name it starts with (file dialogs); what it starts with otherwise.
  AnsiString InitialDir;
  AnsiString Filter;
  AnsiString FileName;
};

// A font as a font dialog answers it.
struct TDialogFont {
  AnsiString Name;
  Integer Size = 0;  // points; 0 keeps the dialog's
  TFontStyles Style;
  TColor Color = clWindowText;
};

struct TDialogAnswer {
  Integer Result = 0;   // a button's ID / modal result
  AnsiString FileName;  // for file dialogs
  std::vector<AnsiString> Files;  // a multi-select answer (FileName is the first)
  TColor Color = clBlack;         // colour dialogs
  TDialogFont Font;               // font dialogs
  AnsiString Printer;             // printer set-up: the printer chosen
  // The dialog runs its own form instead, for the test to drive with input.
  bool ShowForm = false;
};

class EDialogNotAnswered : public std::runtime_error {
public:
  explicit EDialogNotAnswered(const TDialogRequest& R);
  TDialogRequest Request;
};

class TDialogAnswerer {
public:
  virtual ~TDialogAnswerer() = default;
  // The answer to R; throws EDialogNotAnswered to refuse.
  virtual TDialogAnswer Answer(const TDialogRequest& R) = 0;
};

// Installs the answerer for the program (nil: none; every dialog then
// throws). Returns the previous one.
TDialogAnswerer* SetDialogAnswerer(TDialogAnswerer* Answerer);
TDialogAnswerer* DialogAnswerer();
// What a dialog returns: asks the installed answerer and checks the answer
// is one the dialog can give (a script asking for IDYES of an OK box is a
// mistake of the test, reported as EDialogNotAnswered too).
TDialogAnswer RunDialog(const TDialogRequest& Request);

// Answers dialogs from a queue, recording each request. Installs itself for
// its lifetime and restores the previous answerer.
class TDialogScript : public TDialogAnswerer {
public:
  TDialogScript();
  ~TDialogScript() override;
  TDialogScript& Then(Integer Result);
  TDialogScript& ThenFile(const AnsiString& FileName, Integer Result = mrOk);
  TDialogScript& ThenFiles(const std::vector<AnsiString>& FileNames, Integer Result = mrOk);
  TDialogScript& ThenColor(TColor Color, Integer Result = mrOk);
  TDialogScript& ThenFont(const TDialogFont& Font, Integer Result = mrOk);
  TDialogScript& ThenPrinter(const AnsiString& Printer, Integer Result = mrOk);
  // The next dialog shows its real form, which the test drives.
  TDialogScript& ThenShowForm();
  TDialogAnswer Answer(const TDialogRequest& R) override;
  const std::vector<TDialogRequest>& Asked() const { return FAsked; }
  size_t Pending() const { return FQueue.size(); }

private:
  std::deque<TDialogAnswer> FQueue;
  std::vector<TDialogRequest> FAsked;
  TDialogAnswerer* FPrevious;
};

// The system message box: IDOK … IDNO.
int MessageBox(HWND Wnd, const AnsiString& Text, const AnsiString& Caption, UINT Type);
// The class library's message dialog; captions "Warning", "Error",
// "Information", "Confirmation", or the application's title for mtCustom.
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
void ShowMessage(const AnsiString& Msg);
// The window a message box shows: the system icon IconId (none when null),
// the text, and a button per result (their captions as the system gives
// them) with DefaultIndex the default one. The caller owns the form.
TForm* CreateMessageForm(const AnsiString& Caption, const AnsiString& Text, const char* IconId,
                         const std::vector<Integer>& Results, std::size_t DefaultIndex);

// The base of the common dialogs (file, colour, font, printer set-up): a
// component whose Execute shows a modal form of this platform's own and
// answers whether the user confirmed it.
//
// Where the answer comes from: an installed TDialogAnswerer answers (or
// passes the dialog on to its form with ShowForm); without one a headless
// run fails with EDialogNotAnswered naming the caption, and a run on a
// real display shows the form.
class TCommonDialog : public TComponent {
  SX_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual bool Execute();
  Integer HelpContext = 0;
  bool Ctl3D = true;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  // The form while it shows (nil otherwise): tests and descendants reach
  // its controls.
  TForm* DialogForm() const { return FForm; }

protected:
  // The request the answerer sees (kind, caption, and what it starts with).
  virtual TDialogRequest MakeRequest() = 0;
  // Takes an answer of the hook. Rejected: it failed the dialog's checks
  // (which said why), the dialog stays open and the answerer is asked again.
  enum class TAnswerTaken { Accepted, Cancelled, Rejected };
  virtual TAnswerTaken TakeAnswer(const TDialogAnswer& Answer) = 0;
  // Builds the form; Execute shows it modally and frees it.
  virtual TForm* CreateForm() = 0;
  // The form closed with OK: take its values.
  virtual void TakeForm(TForm* Form) = 0;
  virtual void DoShow();
  virtual void DoClose();
  TForm* FForm = nullptr;
};
