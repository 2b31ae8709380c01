// PrinterDialogs.h — the printer set-up dialog: which printer, and the
// page's orientation.
//
// FIXME: the printing layer does not exist yet; until it does, the dialog
// offers the built-in printer that writes the printed pages to a file,
// and keeps the choice in itself instead of handing it to a printer
// object.
#pragma once
#include <vector>
#include "platform/forms/Dialogs.h"

// The printers the set-up dialog offers, the default first.
std::vector<AnsiString> SetupPrinterNames();

class TPrinterSetupDialog : public TCommonDialog {
  SX_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  static void Published(TPublished<TPrinterSetupDialog>& P);

  // The printer chosen (the default one until a set-up is confirmed).
  AnsiString GetPrinterName() const;
  bool GetLandscape() const { return FLandscape; }
  void SetLandscape(bool Value) { FLandscape = Value; }

protected:
  TDialogRequest MakeRequest() override;
  TAnswerTaken TakeAnswer(const TDialogAnswer& Answer) override;
  TForm* CreateForm() override;
  void TakeForm(TForm* Form) override;

private:
  AnsiString FPrinterName;
  bool FLandscape = false;
};

// Registers the printer set-up dialog for form descriptions.
void RegisterPrinterDialogClasses();
