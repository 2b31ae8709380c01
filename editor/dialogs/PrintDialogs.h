// PrintDialogs.h — the editor's two print forms: the print options of an
// editor (selection only, header, line numbers, syntax colours, colour,
// progress, wrapping, left margin) with the printer set-up, and the
// "Printing Status" box with its progress bar and Cancel button.
//
// The options form reads and writes Flags: showing it checks the boxes of
// Flags (the selection box keeps its own state), OK makes Flags the set of
// checked boxes. The file name label and the left margin field are the
// caller's to fill and read.
#pragma once
#include "editor/controls/DCMemoTypes.h"
#include "platform/forms/Forms.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;
class TPrinterSetupDialog;
class TProgressBar;

inline constexpr const char* MemoPrintFormClass = "TMemoPrintForm";
inline constexpr const char* MemoPrintProgressClass = "TMemoPrintProgress";

class TMemoPrintForm : public TForm {
  SX_CLASS(TMemoPrintForm, TForm)
public:
  explicit TMemoPrintForm(TComponent* AOwner);
  static void Published(TPublished<TMemoPrintForm>& P);

  TGroupBox *gbxPrintDestination = nullptr, *gbxOptions = nullptr;
  TLabel *lblFileName = nullptr, *lblLeftMargin = nullptr;
  TCheckBox *PrintSelCheck = nullptr, *HeaderCheck = nullptr, *LineNumbersCheck = nullptr,
            *SyntaxPrintCheck = nullptr, *UseColorCheck = nullptr, *ShowPrintProgress = nullptr,
            *WrapLinesCheck = nullptr;
  TEdit* LeftMarginEdit = nullptr;
  TButton *SetupBut = nullptr, *OkBut = nullptr, *CancelBut = nullptr, *HelpBut = nullptr;
  TPrinterSetupDialog* PrinterSetup = nullptr;

  TDCPrintOptions Flags;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void PrintSelCheckChange(TObject* Sender);
  void OkButClick(TObject* Sender);
  void SetupButClick(TObject* Sender);
};

class TMemoPrintProgress : public TForm {
  SX_CLASS(TMemoPrintProgress, TForm)
public:
  explicit TMemoPrintProgress(TComponent* AOwner);
  static void Published(TPublished<TMemoPrintProgress>& P);

  TButton* btnCancel = nullptr;
  TPanel* pnlInfo = nullptr;
  TLabel *lblPrinter = nullptr, *lblFileName = nullptr, *lblProgress = nullptr;
  TProgressBar* ProgressBar = nullptr;

  void FormCreate(TObject* Sender);
};

// Registers both forms (classes, descriptions and the creators an editor
// asks for by class name: MemoPrintFormClass, MemoPrintProgressClass).
void RegisterPrintDialogs();
