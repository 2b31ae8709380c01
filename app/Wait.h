// Wait.h — the batch dialog: converts every file of the main window's batch
// list into one format, each output beside its input, from a one-shot
// timer once the dialog is on screen; shows the current file and a
// counter, stops after the current file on Stop, and closes itself when
// done. A file that fails is reported with its reason at the end and the
// batch goes on with the next one.
#pragma once
#include <vector>
#include "platform/forms/Forms.h"

class TButton;
class TDCMemo;
class TLabel;
class TMainForm;
class TRichEdit;
class TTimer;

class TWaitDlg : public TForm {
  SX_CLASS(TWaitDlg, TForm)
public:
  // The owner is the main window whose batch list and engines are used.
  explicit TWaitDlg(TComponent* AOwner);
  static void Published(TPublished<TWaitDlg>& P);

  TLabel* Label1 = nullptr;
  TLabel* Label_File = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label_Count = nullptr;
  TButton* CancelBtn = nullptr;
  TDCMemo* DCMemo = nullptr;
  TRichEdit* RichEdit = nullptr;
  TTimer* Timer = nullptr;

  Byte Kind = 0;  // TBatchKind
  bool Stop = false;
  bool ShowSetupDialog = false;
  bool OpenAfterCreate = false;

  void FormCreate(TObject* Sender);
  void TimerTimer(TObject* Sender);
  void CancelBtnClick(TObject* Sender);
  void ExportFiles();

  // What the last run did: the outputs written and the files that failed
  // ("name: reason").
  const std::vector<AnsiString>& Written() const { return FWritten; }
  const std::vector<AnsiString>& Failures() const { return FFailures; }
  // The extension of a kind's output (".html" … ".xls").
  static AnsiString KindExtension(Byte Kind);

private:
  void ExportOne(const AnsiString& InputFile, const AnsiString& OutputFile);
  bool ImportInput(const AnsiString& InputFile);

  TMainForm* FMain = nullptr;
  std::vector<AnsiString> FWritten;
  std::vector<AnsiString> FFailures;
};
