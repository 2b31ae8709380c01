#include "platform/forms/Dialogs.h"

#include <algorithm>
#include <memory>

#include "platform/forms/Application.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Resources.h"

namespace {
TDialogAnswerer*& CurrentAnswerer() {
  static TDialogAnswerer* A = nullptr;
  return A;
}

AnsiString Describe(const TDialogRequest& R) {
  return R.Kind + " \"" + R.Caption + "\": \"" + R.Text + "\" was not answered";
}

std::vector<Integer> MessageBoxAnswers(UINT Type) {
  switch (Type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

TModalResult ButtonResult(TMsgDlgBtn B) {
  switch (B) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    default: return mrNone;  // Help does not close the dialog
  }
}
}  // namespace

EDialogNotAnswered::EDialogNotAnswered(const TDialogRequest& R) : std::runtime_error(Describe(R)), Request(R) {}

TDialogAnswerer* SetDialogAnswerer(TDialogAnswerer* Answerer) {
  TDialogAnswerer* Old = CurrentAnswerer();
  CurrentAnswerer() = Answerer;
  return Old;
}

TDialogAnswerer* DialogAnswerer() { return CurrentAnswerer(); }

TDialogAnswer RunDialog(const TDialogRequest& Request) {
  TDialogAnswerer* A = CurrentAnswerer();
  if (!A) throw EDialogNotAnswered(Request);
  TDialogAnswer Answer = A->Answer(Request);
  if (!Answer.ShowForm && !Request.Answers.empty() &&
      std::find(Request.Answers.begin(), Request.Answers.end(), Answer.Result) == Request.Answers.end()) {
    TDialogRequest R = Request;
    R.Text += " (the answer " + std::to_string(Answer.Result) + " is not one of its buttons)";
    throw EDialogNotAnswered(R);
  }
  return Answer;
}

TDialogScript::TDialogScript() : FPrevious(SetDialogAnswerer(this)) {}

TDialogScript::~TDialogScript() {
  if (CurrentAnswerer() == this) SetDialogAnswerer(FPrevious);
}

TDialogScript& TDialogScript::Then(Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenFile(const AnsiString& FileName, Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  A.FileName = FileName;
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenFiles(const std::vector<AnsiString>& FileNames, Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  A.Files = FileNames;
  if (!FileNames.empty()) A.FileName = FileNames.front();
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenColor(TColor Color, Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  A.Color = Color;
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenFont(const TDialogFont& Font, Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  A.Font = Font;
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenPrinter(const AnsiString& Printer, Integer Result) {
  TDialogAnswer A;
  A.Result = Result;
  A.Printer = Printer;
  FQueue.push_back(A);
  return *this;
}

TDialogScript& TDialogScript::ThenShowForm() {
  TDialogAnswer A;
  A.Result = mrOk;
  A.ShowForm = true;
  FQueue.push_back(A);
  return *this;
}

TDialogAnswer TDialogScript::Answer(const TDialogRequest& R) {
  FAsked.push_back(R);
  if (FQueue.empty()) throw EDialogNotAnswered(R);
  TDialogAnswer A = FQueue.front();
  FQueue.pop_front();
  return A;
}

namespace {
// The answerer's answer, or the box's window when there is a display to
// show it on (or the answer asks for it). A headless run with nobody to
// answer raises EDialogNotAnswered, as before.
Integer AnswerOrShow(const TDialogRequest& R, const char* IconId, std::size_t DefaultIndex) {
  if (CurrentAnswerer()) {
    const TDialogAnswer A = RunDialog(R);
    if (!A.ShowForm) return A.Result;
  } else if (dynamic_cast<THeadlessDisplay*>(&Display())) {
    throw EDialogNotAnswered(R);
  }
  std::unique_ptr<TForm> F(CreateMessageForm(R.Caption, R.Text, IconId, R.Answers, DefaultIndex));
  const TModalResult Result = F->ShowModal();
  // Closed by its close box: Cancel when there is one, else the only answer.
  if (std::find(R.Answers.begin(), R.Answers.end(), Result) != R.Answers.end()) return Result;
  if (std::find(R.Answers.begin(), R.Answers.end(), mrCancel) != R.Answers.end()) return mrCancel;
  return R.Answers.empty() ? mrCancel : R.Answers.front();
}

const char* MessageBoxIcon(UINT Type) {
  switch (Type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}
}  // namespace

int MessageBox(HWND, const AnsiString& Text, const AnsiString& Caption, UINT Type) {
  TDialogRequest R;
  R.Kind = "MessageBox";
  // The system titles a box without a caption "Error".
  R.Caption = Caption.empty() ? AnsiString("Error") : Caption;
  R.Text = Text;
  R.Style = Type;
  R.Answers = MessageBoxAnswers(Type);
  const std::size_t Default = std::min<std::size_t>((Type & MB_DEFMASK) >> 8, R.Answers.size() - 1);
  return int(AnswerOrShow(R, MessageBoxIcon(Type), Default));
}

TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer) {
  static const char* const Captions[] = {"Warning", "Error", "Information", "Confirmation", nullptr};
  TDialogRequest R;
  R.Kind = "MessageDlg";
  R.Caption = DlgType == mtCustom ? (Application ? Application->GetTitle() : AnsiString()) : Captions[DlgType];
  R.Text = Msg;
  for (TMsgDlgBtn B : Buttons)
    if (ButtonResult(B) != mrNone) R.Answers.push_back(ButtonResult(B));
  // Closing the dialog by Esc or its close box answers Cancel when there is
  // such a button, else the only one.
  if (R.Answers.empty()) R.Answers.push_back(mrCancel);
  static const char* const Icons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION, nullptr};
  return AnswerOrShow(R, Icons[DlgType], 0);
}

void ShowMessage(const AnsiString& Msg) {
  TDialogRequest R;
  R.Kind = "MessageDlg";
  R.Caption = Application ? Application->GetTitle() : AnsiString();
  R.Text = Msg;
  R.Answers = {mrOk};
  AnswerOrShow(R, nullptr, 0);
}

bool TCommonDialog::Execute() {
  const TDialogRequest R = MakeRequest();
  bool UseForm = false;
  while (DialogAnswerer()) {
    const TDialogAnswer A = RunDialog(R);
    if (A.ShowForm) {
      UseForm = true;
      break;
    }
    const TAnswerTaken Taken = TakeAnswer(A);
    if (Taken != TAnswerTaken::Rejected) return Taken == TAnswerTaken::Accepted;
  }
  // Without an answerer a headless run cannot show anything to anyone.
  if (!UseForm && dynamic_cast<THeadlessDisplay*>(&Display())) throw EDialogNotAnswered(R);
  std::unique_ptr<TForm> Form(CreateForm());
  FForm = Form.get();
  struct TClear {
    TForm*& F;
    ~TClear() { F = nullptr; }
  } Clear{FForm};
  DoShow();
  const TModalResult Result = Form->ShowModal();
  DoClose();
  if (Result != mrOk) return false;
  TakeForm(Form.get());
  return true;
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}
