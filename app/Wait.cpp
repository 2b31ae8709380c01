#include "app/Wait.h"

#include "app/ExportSteps.h"
#include "app/start.h"
#include "editor/controls/DCMemo.h"
#include "export/engine/DocumentEngine.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Win.h"

TWaitDlg::TWaitDlg(TComponent* AOwner) : TForm(AOwner), FMain(dynamic_cast<TMainForm*>(AOwner)) {
  InitializeForm();
}

void TWaitDlg::Published(TPublished<TWaitDlg>& P) {
  using F = TWaitDlg;
  P.Property("Label1", &F::Label1, &F::Label1).Stored(false);
  P.Property("Label_File", &F::Label_File, &F::Label_File).Stored(false);
  P.Property("Label2", &F::Label2, &F::Label2).Stored(false);
  P.Property("Label_Count", &F::Label_Count, &F::Label_Count).Stored(false);
  P.Property("CancelBtn", &F::CancelBtn, &F::CancelBtn).Stored(false);
  P.Property("DCMemo", &F::DCMemo, &F::DCMemo).Stored(false);
  P.Property("RichEdit", &F::RichEdit, &F::RichEdit).Stored(false);
  P.Property("Timer", &F::Timer, &F::Timer).Stored(false);
  P.Method("FormCreate", &F::FormCreate);
  P.Method("TimerTimer", &F::TimerTimer);
  P.Method("CancelBtnClick", &F::CancelBtnClick);
}

AnsiString TWaitDlg::KindExtension(Byte Kind) {
  static const char* const Extensions[10] = {".html", ".rtf", ".pdf", ".wk1", ".bmp",
                                             ".png",  ".jpg", ".svg", ".wb1", ".xls"};
  return Kind < 10 ? Extensions[Kind] : "";
}

void TWaitDlg::FormCreate(TObject*) {
  Stop = false;
  // The hidden editor keeps what the importer gave each run of text; a
  // syntax parser would colour it anew and lose the document's formats.
  DCMemo->SetSyntaxParser(nullptr);
  Timer->SetEnabled(true);
}

void TWaitDlg::CancelBtnClick(TObject*) { Stop = true; }

void TWaitDlg::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  if (Screen) Screen->SetCursor(crHourGlass);
  try {
    ExportFiles();
  } catch (...) {
    if (Screen) Screen->SetCursor(crDefault);
    SetModalResult(mrOk);
    throw;
  }
  if (Screen) Screen->SetCursor(crDefault);
  if (!FFailures.empty() && Application) {
    AnsiString Text = "These files could not be converted:";
    for (const AnsiString& F : FFailures) Text += "\r\n" + F;
    Application->MessageBox(Text, "Exporting Files...", MB_OK | MB_ICONWARNING);
  }
  SetModalResult(mrOk);
}

bool TWaitDlg::ImportInput(const AnsiString& InputFile) {
  DCMemo->ImportFromFile(InputFile);
  return !DCMemo->IsTextEmpty();
}

void TWaitDlg::ExportOne(const AnsiString& InputFile, const AnsiString& OutputFile) {
  if (!ImportInput(InputFile)) return;
  if (Kind == bkHTML) {
    DCMemo->ExportToHtmlFile(OutputFile);
    FWritten.push_back(OutputFile);
    return;
  }
  if (Kind == bkRTF) {
    // An ".rtf" input would be its own output: never overwrite a source.
    if (SameText(ExpandFileName(InputFile), ExpandFileName(OutputFile)))
      throw Exception("the output would replace the input itself");
    DCMemo->ExportToRtfFile(OutputFile);
    FWritten.push_back(OutputFile);
    return;
  }
  TgtCustomDocumentEngine* Engine = FMain->Engine(TBatchKind(Kind));
  Integer Width = 600, Height = 800;
  if (Kind == bkPDF) {
    const TGeneralOptions O = ReadGeneralOptions();
    Width = O.PdfPageWidth;
    Height = O.PdfPageHeight;
  }
  TIntermediateRtf PrintRtf;
  DCMemo->ExportToRtfFile(PrintRtf.Name());
  RenderRtfWithEngine(*Engine, *RichEdit, PrintRtf.Name(), OutputFile, Width, Height);
  for (const AnsiString& Out : Engine->GetOutputFiles()) FWritten.push_back(Out);
}

void TWaitDlg::ExportFiles() {
  FWritten.clear();
  FFailures.clear();
  if (!FMain) return;
  ShowSetupDialog = ReadGeneralOptions().ShowSetupDialog;
  OpenAfterCreate = false;
  const AnsiString Extension = KindExtension(Kind);
  if (Extension.empty()) return;
  if (Kind != bkHTML && Kind != bkRTF) {
    const bool Existed = FMain->EngineExists(TBatchKind(Kind));
    TgtCustomDocumentEngine* Engine = FMain->Engine(TBatchKind(Kind));
    if (!Existed) Engine->GetPreferences()->SetShowSetupDialog(ShowSetupDialog);
    Engine->GetPreferences()->SetOpenAfterCreate(false);
  }
  TStrings* List = FMain->ListBox->GetItems();
  auto OutputOf = [&](const AnsiString& Name) { return ChangeFileExt(Name, Extension); };
  Integer Count = 0;
  for (Integer I = 0; I < List->GetCount(); ++I) {
    const AnsiString Name = Trim(List->GetStrings(I));
    if (!FileExists(Name)) continue;
    if (Stop) break;
    Label_File->SetCaption(Name);
    try {
      ExportOne(Name, OutputOf(Name));
    } catch (const Exception& E) {
      FFailures.push_back(Name + ": " + E.Message());
    }
    Label_Count->SetCaption(IntToStr(++Count));
    const int Pumps = Kind == bkPNG || Kind == bkJPG ? 4 : 1;
    for (int P = 0; P < Pumps; ++P)
      if (Application) Application->ProcessMessages();
    if (Stop) break;
  }
  if (Kind == bkHTML) {
    std::vector<AnsiString> Pages;
    for (Integer I = 0; I < List->GetCount(); ++I) {
      const AnsiString Out = OutputOf(Trim(List->GetStrings(I)));
      if (FileExists(Out)) Pages.push_back(Out);
    }
    if (!Pages.empty()) {
      try {
        RunTidierOn(Pages);
      } catch (const Exception& E) {
        FFailures.push_back(E.Message());
      }
    }
  }
}
