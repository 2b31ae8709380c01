// The single-document page: the input document (Open File, Paste From
// Clipboard, Close File), Convert and the ten Convert To commands with
// their three roads (HTML through the tidier, RTF through the editor's
// exporter, the engine formats through "print.rtf" and the hidden rich
// edit), the output pane, and the window's file dialogs.
#include "app/start.h"

#include "app/ExportSteps.h"
#include "app/Wait.h"
#include "app/public_unit.h"
#include "app/browser/EmbeddedWB.h"
#include "controls/tabs/cxPC.h"
#include "editor/controls/DCMemo.h"
#include "editor/syntax/SyntaxParser.h"
#include "export/engine/DocumentEngine.h"
#include "export/image/BmpEngine.h"
#include "export/image/JpegEngine.h"
#include "export/image/PngEngine.h"
#include "export/pdf/PdfEngine.h"
#include "export/sheet/ExcelEngine.h"
#include "export/sheet/LotusEngine.h"
#include "export/sheet/QuattroProEngine.h"
#include "export/svg/SvgEngine.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/Screen.h"
#include "platform/ole/DragDrop.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Win.h"

namespace {

const char* const RtfFilter = "RTF Files (*.rtf;*.doc;)|*.rtf;*.doc;|All Files (*.*)|*.*";
const char* const HtmlFilter =
    "HTML Documents (*.htm*;*.php;*.asp*;*.shtm*)|*.htm*;*.php;*.asp*;*.shtm*|All Files (*.*)|*.*";
const char* const TextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

struct TFormatInfo {
  const char* Filter;
};

// By TBatchKind.
const TFormatInfo Formats[10] = {
    {HtmlFilter},
    {"RTF Documents (*.rtf)|*.rtf|All Files (*.*)|*.*"},
    {"PDF Documents (*.pdf)|*.pdf|All Files (*.*)|*.*"},
    {"Lotus Documents (*.wk1)|*.wk1|All Files (*.*)|*.*"},
    {"Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*"},
    {"PNG Images (*.png)|*.png|All Files (*.*)|*.*"},
    {"JPG Images (*.jpg;*.jpeg)|*.jpg;*.jpeg|All Files (*.*)|*.*"},
    {"SVG Documents (*.svg)|*.svg|All Files (*.*)|*.*"},
    {"QuattroPro Documents (*.wb1)|*.wb1|All Files (*.*)|*.*"},
    {"Excel Documents (*.xls)|*.xls|All Files (*.*)|*.*"},
};

// The hourglass for the length of a step, the default cursor after it on
// every path.
class THourGlass {
public:
  THourGlass() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(crDefault);
  }
};

TBatchKind KindOfExportFormat(Integer Format) {
  switch (Format) {
    case efPDF: return bkPDF;
    case efRTF: return bkRTF;
    case efLotus: return bkLotus;
    case efBitmap: return bkBitmap;
    case efPNG: return bkPNG;
    case efJPG: return bkJPG;
    case efSVG: return bkSVG;
    case efQuattroPro: return bkQuattroPro;
    case efExcel: return bkExcel;
    default: return bkHTML;
  }
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  // The description's drop target registers with OLE as it is read; a
  // second call only counts up.
  OleInitialize(nullptr);
  InitializeForm();
}

TMainForm::~TMainForm() = default;

// --- file dialogs

bool TMainForm::OpenDlg(const AnsiString& InitialDir, const AnsiString& Filter, AnsiString& FileName,
                        bool MultiSelect) {
  TOpenDialog Dialog(this);
  Dialog.SetFilter(Filter.empty() ? AnsiString(RtfFilter) : Filter);
  TOpenOptions Options{ofHideReadOnly, ofFileMustExist, ofEnableSizing};
  if (MultiSelect) Options.Include(ofAllowMultiSelect);
  Dialog.SetOptions(Options);
  if (!InitialDir.empty()) Dialog.SetInitialDir(InitialDir);
  if (!Dialog.Execute()) return false;
  const AnsiString Result = MultiSelect ? Dialog.Files()->GetText() : Dialog.GetFileName();
  if (Result.empty()) return false;
  FileName = Result;
  return true;
}

bool TMainForm::SaveDlg(const AnsiString& InitialDir, const AnsiString& Filter, AnsiString& FileName) {
  TSaveDialog Dialog(this);
  Dialog.SetFilter(Filter.empty() ? AnsiString(RtfFilter) : Filter);
  Dialog.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
  if (!InitialDir.empty()) Dialog.SetInitialDir(InitialDir);
  if (!Dialog.Execute() || Dialog.GetFileName().empty()) return false;
  FileName = Dialog.GetFileName();
  return true;
}

// --- input document

void TMainForm::LoadDocument(const AnsiString& FileName) {
  DCMemo->ImportFromFile(FileName);
  FCurrentFile = FileName;
  SetCaption(AnsiString(AppTitle) + " - [" + FileName + "]");
}

void TMainForm::OpenFileClick(TObject*) {
  if (cxPageControl->GetActivePageNo() != 0) return;
  TLongStep Step(*this);
  if (!Step.Active()) return;
  AnsiString Name;
  if (OpenDlg("", "", Name, false) && FileExists(Name)) LoadDocument(Name);
}

bool TMainForm::CloseThisFile() {
  TLongStep Step(*this);
  if (!Step.Active()) return false;
  if (DCMemo->GetModified()) {
    switch (Application->MessageBox("This file has been modified, would you like to save it before?",
                                    "Save this file?", MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDCANCEL:
        return false;
      case IDYES: {
        // A pasted document has no name yet: ask for one; cancelling that
        // dialog cancels the whole command and keeps the text.
        AnsiString Name = FCurrentFile;
        if (Name.empty() && !SaveDlg("", TextFilter, Name)) return false;
        DCMemo->SaveToFile(Name);
        break;
      }
      default:
        break;
    }
  }
  if (!FCurrentFile.empty()) {
    const AnsiString Preview = ExtractFilePath(FCurrentFile) + "~preview.html";
    if (FileExists(Preview)) DeleteFile(Preview);
  }
  DCMemo->SetText("");
  DCMemo->SetModified(false);
  DCMemo1->SetText("");
  FCurrentFile = "";
  SetCaption(AppTitle);
  return true;
}

void TMainForm::CloseThisFileClick(TObject*) { CloseThisFile(); }

void TMainForm::PasteFromClipBoardClick(TObject*) {
  if (Busy()) return;
  if (!DCMemo->IsTextEmpty() &&
      Application->MessageBox("Would you like to clear the editor content before?", "Clear Content?",
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
    // Close File asks about saving; its Cancel keeps the user's text and
    // ends the paste.
    if (!CloseThisFile()) return;
    DCMemo->SetText("");
  }
  DCMemo->PasteFromClipboard();
}

// --- Convert

void TMainForm::ExportSingleFileClick(TObject*) {
  ConvertTo(KindOfExportFormat(ReadGeneralOptions().DefaultExportFormat));
}

void TMainForm::ConvertToHTMLClick(TObject*) { ConvertTo(bkHTML); }
void TMainForm::ConvertToRTFClick(TObject*) { ConvertTo(bkRTF); }
void TMainForm::ConvertToPDFClick(TObject*) { ConvertTo(bkPDF); }
void TMainForm::ConvertToLotusClick(TObject*) { ConvertTo(bkLotus); }
void TMainForm::ConvertToBitmapClick(TObject*) { ConvertTo(bkBitmap); }
void TMainForm::ConvertToPNGClick(TObject*) { ConvertTo(bkPNG); }
void TMainForm::ConvertToJPGClick(TObject*) { ConvertTo(bkJPG); }
void TMainForm::ConvertToSVGClick(TObject*) { ConvertTo(bkSVG); }
void TMainForm::ConvertToQuattroProClick(TObject*) { ConvertTo(bkQuattroPro); }
void TMainForm::ConvertToExcelClick(TObject*) { ConvertTo(bkExcel); }

void TMainForm::ConvertTo(TBatchKind Kind) {
  TLongStep Step(*this);
  if (!Step.Active()) return;
  THourGlass Cursor;
  if (cxPageControl->GetActivePageNo() == 1) {
    RunBatch(Kind);
    return;
  }
  if (Kind == bkHTML) ConvertSingleToHtml();
  else if (Kind == bkRTF) ConvertSingleToRtf();
  else ConvertSingleWithEngine(Kind);
}

void TMainForm::ConvertSingleToHtml() {
  if (DCMemo->IsTextEmpty()) return;
  const AnsiString Page = PreviewFileName();
  DCMemo->ExportToHtmlFile(Page);
  RunTidierOn({Page});
  DCMemo1->LoadFromFile(Page);
  DCMemo1->SetSyntaxParser(SyntaxParser1);
}

void TMainForm::ConvertSingleToRtf() {
  if (DCMemo->IsTextEmpty()) return;
  AnsiString Name;
  if (!SaveDlg("", Formats[bkRTF].Filter, Name)) return;
  DCMemo->ExportToRtfFile(Name);
}

void TMainForm::ConvertSingleWithEngine(TBatchKind Kind) {
  if (DCMemo->IsTextEmpty()) return;
  AnsiString Name;
  if (!SaveDlg("", Formats[Kind].Filter, Name)) return;
  // The document's own formats reach the engine: the editor exports RTF
  // (fonts, colours, styles), not its plain lines.
  TIntermediateRtf PrintRtf;
  DCMemo->ExportToRtfFile(PrintRtf.Name());
  TgtCustomDocumentEngine* E = Engine(Kind);
  Integer Width = 600, Height = 800;
  if (Kind == bkPDF) {
    const TGeneralOptions O = ReadGeneralOptions();
    E->GetPreferences()->SetShowSetupDialog(O.ShowSetupDialog);
    E->GetPreferences()->SetOpenAfterCreate(O.OpenAfterExport);
    Width = O.PdfPageWidth;
    Height = O.PdfPageHeight;
  }
  RenderRtfWithEngine(*E, *RichEdit, PrintRtf.Name(), Name, Width, Height);
}

bool TMainForm::EngineExists(TBatchKind Kind) const { return Kind < FEngines.size() && FEngines[Kind]; }

std::vector<AnsiString> TMainForm::EngineOutputFiles(TBatchKind Kind) const {
  if (!EngineExists(Kind)) return {};
  return FEngines[Kind]->GetOutputFiles();
}

TgtCustomDocumentEngine* TMainForm::Engine(TBatchKind Kind) {
  if (Kind >= FEngines.size()) return nullptr;
  std::unique_ptr<TgtCustomDocumentEngine>& E = FEngines[Kind];
  if (!E) {
    switch (Kind) {
      case bkPDF: E = std::make_unique<TgtPDFEngine>(nullptr); break;
      case bkLotus: E = std::make_unique<TgtLotusEngine>(nullptr); break;
      case bkBitmap: E = std::make_unique<TgtBMPEngine>(nullptr); break;
      case bkPNG: E = std::make_unique<TgtPNGEngine>(nullptr); break;
      case bkJPG: E = std::make_unique<TgtJPEGEngine>(nullptr); break;
      case bkSVG: E = std::make_unique<TgtSVGEngine>(nullptr); break;
      case bkQuattroPro: E = std::make_unique<TgtQuattroProEngine>(nullptr); break;
      case bkExcel: E = std::make_unique<TgtExcelEngine>(nullptr); break;
      default: return nullptr;
    }
    E->SetMeasurementUnit(muPixels);
    // The roads never go back to a page: each is written as it closes.
    E->SetStreamPages(true);
    E->GetPreferences()->SetShowSetupDialog(false);
    E->GetPreferences()->SetOpenAfterCreate(false);
  }
  return E.get();
}

void TMainForm::RunBatch(TBatchKind Kind) {
  std::unique_ptr<TWaitDlg> Dialog(new TWaitDlg(this));
  Dialog->Kind = Kind;
  Dialog->ShowModal();
}

// --- output pane

void TMainForm::SaveOutputClick(TObject*) {
  if (DCMemo1->IsTextEmpty()) ConvertToHTMLClick(this);
  if (DCMemo1->IsTextEmpty()) return;
  AnsiString Name;
  if (!SaveDlg("", HtmlFilter, Name)) return;
  if (ExtractFileExt(Name).empty()) Name += ".html";
  DCMemo1->SaveToFile(Name);
}

void TMainForm::PreviewClick(TObject*) {
  if (DCMemo1->IsTextEmpty()) return;
  ConvertToHTMLClick(this);
  ShellExecuteA(Handle(), "Open", PreviewFileName().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

AnsiString TMainForm::PreviewFileName() const { return DataDir() + "tdy.html"; }

void TMainForm::Tab_OutputChange(TObject*) {
  ConvertToHTMLClick(this);
  // The browser loads synchronously: the page is on screen when this ends.
  if (EmbeddedWB && FileExists(PreviewFileName())) EmbeddedWB->Navigate(AnsiToWide(PreviewFileName()));
}
