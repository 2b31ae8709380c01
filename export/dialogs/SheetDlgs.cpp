// The spreadsheet engines' setup dialogs: the controls, and the values read
// from the engine when shown and written back on OK (each level writes its
// own, then its parent's).
#include "export/dialogs/SheetDlgs.h"

#include "export/sheet/ExcelEngine.h"
#include "export/sheet/LotusEngine.h"
#include "export/sheet/QuattroProEngine.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

TgtItemsToRender WithItem(TgtItemsToRender Items, TgtItemToRender Item, bool On) {
  return On ? TgtItemsToRender(Items | (1 << Item)) : TgtItemsToRender(Items & ~(1 << Item));
}
bool HasItem(TgtItemsToRender Items, TgtItemToRender Item) { return Items & (1 << Item); }

// A typed whole number within the range the grid takes; outside it the
// value is refused as a text that does not convert is (the dialog stays).
Integer SpacingFrom(TEdit* Edit, const char* What, Integer Max) {
  const Integer V = StrToInt(Edit->GetText());
  if (V < -1 || V > Max)
    throw EConvertError(Format("%s must be between -1 and %d", {What, Max}));
  return V;
}

// A scale multiplies the grid's cell size: it must leave the cells a size.
float ScaleFrom(TEdit* Edit) {
  const double V = StrToFloat(Edit->GetText());
  if (!(V > 0) || V > 1000) throw EConvertError(Format("'%s' is not a valid scale", {Edit->GetText()}));
  return float(V);
}

TgtCustomSpreadSheetEngine* Sheet(TgtCustomDocumentEngine* E) { return dynamic_cast<TgtCustomSpreadSheetEngine*>(E); }
}  // namespace

// ---- spreadsheet -------------------------------------------------------------------

TgtSpreadSheetDlg::TgtSpreadSheetDlg(TComponent* AOwner) : TgtDocumentDlg(AOwner) {
  chkAutoFormatCells = AddCheck(gbPreferences, "chkAutoFormatCells", 12, 174, 200);
  tsFormatting = AddSheet("tsFormatting");
  gbFormatting = AddGroup(tsFormatting, "gbFormatting", 6, 2, 322, 140);
  lblColumnSpacing = AddLabel(gbFormatting, "lblColumnSpacing", 10, 22);
  edColumnSpacing = AddEdit(gbFormatting, "edColumnSpacing", 140, 18, 60);
  lblRowSpacing = AddLabel(gbFormatting, "lblRowSpacing", 10, 50);
  edRowSpacing = AddEdit(gbFormatting, "edRowSpacing", 140, 46, 60);
  lblScaleX = AddLabel(gbFormatting, "lblScaleX", 10, 78);
  edScaleX = AddEdit(gbFormatting, "edScaleX", 140, 74, 60);
  lblScaleY = AddLabel(gbFormatting, "lblScaleY", 10, 106);
  edScaleY = AddEdit(gbFormatting, "edScaleY", 140, 102, 60);
  edColumnSpacing->OnKeyPress = TKeyPressEvent(this, &TgtSpreadSheetDlg::edColumnSpacingKeyPress);
  edScaleX->OnKeyPress = TKeyPressEvent(this, &TgtSpreadSheetDlg::edKeyPress);
  edScaleY->OnKeyPress = TKeyPressEvent(this, &TgtSpreadSheetDlg::edKeyPress);
  lblColumnSpacing->SetFocusControl(edColumnSpacing);
  lblRowSpacing->SetFocusControl(edRowSpacing);
  lblScaleX->SetFocusControl(edScaleX);
  lblScaleY->SetFocusControl(edScaleY);
}

void TgtSpreadSheetDlg::LoadCaptions() {
  inherited::LoadCaptions();
  tsFormatting->SetCaption("Formatting");
  gbFormatting->SetCaption("");
  chkAutoFormatCells->SetCaption("Auto Format Cells");
  lblColumnSpacing->SetCaption("Column Spacing:");
  lblRowSpacing->SetCaption("Row Spacing:");
  lblScaleX->SetCaption("Scale X:");
  lblScaleY->SetCaption("Scale Y:");
}

void TgtSpreadSheetDlg::FormCreate() {
  inherited::FormCreate();
  AddPageLine("Formatting");
}

void TgtSpreadSheetDlg::FormShow() {
  inherited::FormShow();
  auto* E = Sheet(FEngine);
  chkAutoFormatCells->SetChecked(E->GetPreferences()->GetAutoFormatCells());
  const TgtItemsToRender Items = E->GetItemsToRender();
  chkText->SetChecked(HasItem(Items, irText));
  chkShape->SetChecked(HasItem(Items, irShape));
  TgtSheetFormatting* F = E->GetFormatting();
  edColumnSpacing->SetText(IntToStr(F->GetColumnSpacing()));
  edRowSpacing->SetText(IntToStr(F->GetRowSpacing()));
  edScaleX->SetText(FloatToStr(F->GetScaleX()));
  edScaleY->SetText(FloatToStr(F->GetScaleY()));
}

void TgtSpreadSheetDlg::btnOKClick() {
  auto* E = Sheet(FEngine);
  E->GetPreferences()->SetAutoFormatCells(chkAutoFormatCells->GetChecked());
  TgtSheetFormatting* F = E->GetFormatting();
  F->SetColumnSpacing(SmallInt(SpacingFrom(edColumnSpacing, "Column Spacing", 256)));
  F->SetRowSpacing(SpacingFrom(edRowSpacing, "Row Spacing", 65536));
  F->SetScaleX(ScaleFrom(edScaleX));
  F->SetScaleY(ScaleFrom(edScaleY));
  inherited::btnOKClick();
}

void TgtSpreadSheetDlg::edColumnSpacingKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || Key == '-' || IsDigit(Key))) Key = 0;
}

void TgtSpreadSheetDlg::edRowSpacingKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || Key == '-' || IsDigit(Key))) Key = 0;
}

void TgtSpreadSheetDlg::edKeyPress(TObject* Sender, char& Key) {
  inherited::edKeyPress(Sender, Key);
  if (Key != '.') return;
  if (auto* Edit = dynamic_cast<TCustomEdit*>(Sender); Edit && Edit->GetText().find('.') != AnsiString::npos)
    Key = 0;
}

// ---- Excel ---------------------------------------------------------------------------

TgtExcelEngineDlg::TgtExcelEngineDlg(TComponent* AOwner) : TgtSpreadSheetDlg(AOwner) {
  chkPageMargins = AddCheck(gbPreferences, "chkPageMargins", 12, 222, 200);
  chkPrintGridLines = AddCheck(gbPreferences, "chkPrintGridLines", 12, 246, 200);
  lblPagesPerWorkSheet = AddLabel(gbPreferences, "lblPagesPerWorkSheet", 12, 278);
  edPagePerWorkSheet = AddEdit(gbPreferences, "edPagePerWorkSheet", 150, 274, 60);
  lblPagesPerWorkSheet->SetFocusControl(edPagePerWorkSheet);
  chkImage->OnClick = TNotifyEvent(this, &TgtExcelEngineDlg::chkImageClick);
}

void TgtExcelEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("Excel Setup");
}

void TgtExcelEngineDlg::FormCreate() {
  inherited::FormCreate();
  SetControlsEnabled(gbDocInfo, false);
  lblBackgroundDisplayType->SetEnabled(false);
  cbBackgroundDisplayType->SetEnabled(false);
  for (Integer F : {Integer(ifJPEG), Integer(ifGIF), Integer(ifPNG)}) DeleteObject(cbOutputImageFormat, F);
}

void TgtExcelEngineDlg::FormShow() {
  auto* E = dynamic_cast<TgtCustomExcelEngine*>(FEngine);
  chkImage->SetChecked(HasItem(E->GetItemsToRender(), irImage));
  ShowBackground();
  TgtImageSettings* S = E->GetImageSettings();
  SelectText(cbOutputImageFormat, OutputFormatName(S->GetOutputImageFormat()));
  cbImagePixelFormat->SetItemIndex(Integer(S->ImagePixelFormat));
  edSourceDPI->SetText(IntToStr(S->SourceDPI));
  chkImageClick();
  TgtExcelPreferences* P = E->GetPreferences();
  edPagePerWorkSheet->SetText(IntToStr(P->GetPagesPerWorksheet()));
  chkPrintGridLines->SetCaption("Print Grid Lines");
  chkPageMargins->SetCaption("Page Margins");
  lblPagesPerWorkSheet->SetCaption("Pages Per WorkSheet:");
  chkPageMargins->SetChecked(P->GetPageMargins());
  chkPrintGridLines->SetChecked(P->GetPrintGridLines());
  inherited::FormShow();
  // The sheet's picture lies under the cells as it is: it has no placement.
  lblBackgroundDisplayType->SetEnabled(false);
  cbBackgroundDisplayType->SetEnabled(false);
}

void TgtExcelEngineDlg::btnOKClick() {
  auto* E = dynamic_cast<TgtCustomExcelEngine*>(FEngine);
  TgtItemsToRender Items = E->GetItemsToRender();
  Items = WithItem(Items, irText, chkText->GetChecked());
  Items = WithItem(Items, irShape, chkShape->GetChecked());
  Items = WithItem(Items, irImage, chkImage->GetChecked());
  E->SetItemsToRender(Items);
  TgtImageSettings* S = E->GetImageSettings();
  if (const Integer F = SelectedObject(cbOutputImageFormat); F >= 0) S->SetOutputImageFormat(TgtOutputImageFormat(F));
  if (const Integer P = SelectedObject(cbImagePixelFormat); P >= 0) S->ImagePixelFormat = TPixelFormat(P);
  S->SourceDPI = StrToInt(edSourceDPI->GetText());
  TakeBackground(false);
  TgtExcelPreferences* P = E->GetPreferences();
  P->SetPagesPerWorksheet(StrToInt(edPagePerWorkSheet->GetText()));
  P->SetPageMargins(chkPageMargins->GetChecked());
  P->SetPrintGridLines(chkPrintGridLines->GetChecked());
  inherited::btnOKClick();
}

void TgtExcelEngineDlg::chkImageClick(TObject*) {
  SetControlsEnabled(gbImageSettings, chkImage->GetChecked());
  cbOutputImageFormatChange();
}

void TgtExcelEngineDlg::btnSelectImageClick(TObject* Sender) {
  inherited::btnSelectImageClick(Sender);
  lblBackgroundDisplayType->SetEnabled(false);
  cbBackgroundDisplayType->SetEnabled(false);
}

void TgtExcelEngineDlg::edPagePerWorkSheetKeyPress(TObject*, char& Key) {
  if (!(Key == '\b' || IsDigit(Key))) Key = 0;
}

// ---- Quattro Pro ---------------------------------------------------------------------

void TgtQuattroProEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("Quattro Pro Setup");
}

void TgtQuattroProEngineDlg::FormCreate() {
  inherited::FormCreate();
  DeletePageLine("Content");
  // A notebook page takes a colour behind its cells, not a picture.
  for (TControl* C : {static_cast<TControl*>(lblBackgroundImage), static_cast<TControl*>(pnlBackgroundImage),
                      static_cast<TControl*>(btnSelectImage), static_cast<TControl*>(btnImgPrvw),
                      static_cast<TControl*>(btnClear), static_cast<TControl*>(lblBackgroundDisplayType),
                      static_cast<TControl*>(cbBackgroundDisplayType)})
    C->SetEnabled(false);
}

void TgtQuattroProEngineDlg::FormShow() {
  inherited::FormShow();
  SetSwatchColor(FEngine->GetBackgroundColor());
}

void TgtQuattroProEngineDlg::btnOKClick() {
  inherited::btnOKClick();
  FEngine->SetBackgroundColor(SwatchColor());
}

// ---- Lotus ---------------------------------------------------------------------------

void TgtLotusEngineDlg::LoadCaptions() {
  inherited::LoadCaptions();
  SetCaption("Lotus Setup");
}

void TgtLotusEngineDlg::FormCreate() {
  inherited::FormCreate();
  DeletePageLine("Content");
  DeletePageLine("Background");
}

// ---- the engines show them -----------------------------------------------------------

Word TgtExcelEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtExcelEngineDlg>(this); }
Word TgtQuattroProEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtQuattroProEngineDlg>(this); }
Word TgtLotusEngine::ShowSetupDialog() { return RunSetupDialogOf<TgtLotusEngineDlg>(this); }
