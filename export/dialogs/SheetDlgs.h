// SheetDlgs.h — the setup dialogs of the spreadsheet engines (Excel, Lotus,
// Quattro Pro): the common form with a "Formatting" page for the grid's
// spacing and scale, and each engine's own values.
#pragma once
#include "export/dialogs/DocumentDlg.h"

class TgtSpreadSheetDlg : public TgtDocumentDlg {
  SX_CLASS(TgtSpreadSheetDlg, TgtDocumentDlg)
public:
  explicit TgtSpreadSheetDlg(TComponent* AOwner);
  TCheckBox* chkAutoFormatCells;
  TTabSheet* tsFormatting;
  TGroupBox* gbFormatting;
  TLabel *lblColumnSpacing, *lblRowSpacing, *lblScaleX, *lblScaleY;
  TEdit *edColumnSpacing, *edRowSpacing, *edScaleX, *edScaleY;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
  // Key filters: a rejected key becomes 0. The scale fields take what the
  // common filter takes, and one full stop at most.
  void edColumnSpacingKeyPress(TObject* Sender, char& Key);
  void edRowSpacingKeyPress(TObject* Sender, char& Key);
  void edKeyPress(TObject* Sender, char& Key);
};

class TgtExcelEngineDlg : public TgtSpreadSheetDlg {
  SX_CLASS(TgtExcelEngineDlg, TgtSpreadSheetDlg)
public:
  explicit TgtExcelEngineDlg(TComponent* AOwner);
  TLabel* lblPagesPerWorkSheet;
  TEdit* edPagePerWorkSheet;
  TCheckBox *chkPageMargins, *chkPrintGridLines;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
  void chkImageClick(TObject* Sender = nullptr) override;
  void btnSelectImageClick(TObject* Sender = nullptr) override;
  void edPagePerWorkSheetKeyPress(TObject* Sender, char& Key);
};

class TgtQuattroProEngineDlg : public TgtSpreadSheetDlg {
  SX_CLASS(TgtQuattroProEngineDlg, TgtSpreadSheetDlg)
public:
  using TgtSpreadSheetDlg::TgtSpreadSheetDlg;
  void LoadCaptions() override;
  void FormCreate() override;
  void FormShow() override;
  void btnOKClick() override;
};

class TgtLotusEngineDlg : public TgtSpreadSheetDlg {
  SX_CLASS(TgtLotusEngineDlg, TgtSpreadSheetDlg)
public:
  using TgtSpreadSheetDlg::TgtSpreadSheetDlg;
  void LoadCaptions() override;
  void FormCreate() override;
};
