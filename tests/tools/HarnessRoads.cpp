#include "HarnessRoads.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include "HarnessEditor.h"
#include "HarnessFormats.h"
#include "HarnessTidy.h"
#include "editor/controls/DCMemo.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

void HarnessFail(int Status, const std::string& Message) { throw THarnessError{Status, Message}; }

namespace {

// The main window's parts that the roads use: the input and output editors
// and the hidden rich edit. The parent outlives them.
class TMainWindowParts {
public:
  explicit TMainWindowParts(TWinControl* Parent)
      : FInput(std::make_unique<TDCMemo>(nullptr)),
        FOutput(std::make_unique<TDCMemo>(nullptr)),
        FRichEdit(std::make_unique<TRichEdit>(nullptr)) {
    FInput->SetParent(Parent);
    FOutput->SetParent(Parent);
    FRichEdit->SetParent(Parent);
    FRichEdit->SetVisible(false);
    ConfigureInputEditor(*FInput);
    ConfigureOutputEditor(*FOutput);
  }
  TDCMemo& Input() { return *FInput; }
  TDCMemo& Output() { return *FOutput; }
  TRichEdit& RichEdit() { return *FRichEdit; }

private:
  std::unique_ptr<TDCMemo> FInput, FOutput;
  std::unique_ptr<TRichEdit> FRichEdit;
};

std::vector<std::string> ConvertToHtml(TMainWindowParts& Parts, const std::string& DataDir, const std::string& Out) {
  const std::string Page = DataDir + "tdy.html";
  Parts.Input().ExportToHtmlFile(Page);
  RunTidier(DataDir);
  Parts.Output().LoadFromFile(Page);
  // Save Output: a name without extension gets ".html".
  const std::string Name = ExtractFileExt(Out).empty() ? Out + ".html" : Out;
  Parts.Output().SaveToFile(Name);
  return {Name};
}

std::vector<std::string> ConvertToRtf(TMainWindowParts& Parts, const std::string& Out) {
  Parts.Input().ExportToRtfFile(Out);
  return {Out};
}

// Copied by the file system, not through a buffer the size of the file.
void CopyFileBytes(const std::string& From, const std::string& To) {
  std::error_code Ec;
  std::filesystem::copy_file(From, To, std::filesystem::copy_options::overwrite_existing, Ec);
  if (Ec) HarnessFail(1, "cannot copy " + From + " to " + To + ": " + Ec.message());
}

std::vector<std::string> ConvertWithEngine(TMainWindowParts& Parts, const std::string& DataDir,
                                           const std::string& In, THarnessInput Input,
                                           const THarnessFormat& Format, const std::string& Out) {
  const std::string Printer = DataDir + "Printer";
  if (!ForceDirectories(Printer)) HarnessFail(1, "cannot create " + Printer);
  const std::string PrintRtf = Printer + PathDelim + "print.rtf";
  if (Input == hiInputRtf) {
    CopyFileBytes(In, PrintRtf);
  } else {
    Parts.Input().ImportFromFile(In);
    if (Parts.Input().IsTextEmpty()) HarnessFail(1, "the input " + In + " has no text: nothing converted");
    Parts.Input().ExportToRtfFile(PrintRtf);
  }
  TRichEdit& RichEdit = Parts.RichEdit();
  RichEdit.GetLines()->LoadFromFile(PrintRtf);
  if (RichEdit.GetTextLen() == 0) HarnessFail(1, "the input " + In + " has no text: nothing converted");

  std::unique_ptr<TgtCustomDocumentEngine> Engine = Format.Make();
  Engine->SetMeasurementUnit(muPixels);
  Engine->GetPreferences()->SetShowSetupDialog(false);
  Engine->GetPreferences()->SetOpenAfterCreate(false);
  // The conversion never goes back to a page: each is written as it closes.
  Engine->SetStreamPages(true);
  Engine->SetFileName(Out);
  Engine->BeginDoc();
  if (!Engine->IsDocumentOpen()) HarnessFail(1, "the " + Format.Name + " engine opened no document for " + Out);
  Engine->RenderRichEdit(&RichEdit, 0, 25, 25, 600, 800);
  Engine->EndDoc();
  if (Engine->GetDocumentState() != dsFinished || Engine->GetOutputFiles().empty())
    HarnessFail(1, "the " + Format.Name + " engine wrote no file for " + Out);
  RichEdit.GetLines()->Clear();
  DeleteFile(PrintRtf);
  return {Engine->GetOutputFiles().begin(), Engine->GetOutputFiles().end()};
}

}  // namespace

std::vector<std::string> ConvertDocument(TWinControl* Parent, const std::string& DataDir, const std::string& In,
                                         THarnessInput Input, const std::string& Format,
                                         const THarnessFormat* Engine, const std::string& Out) {
  TMainWindowParts Parts(Parent);
  if (Engine) return ConvertWithEngine(Parts, DataDir, In, Input, *Engine, Out);
  if (Format != "html" && Format != "rtf") HarnessFail(3, "unknown format " + Format);
  Parts.Input().ImportFromFile(In);
  if (Parts.Input().IsTextEmpty()) HarnessFail(1, "the input " + In + " has no text: nothing converted");
  if (Format == "html") return ConvertToHtml(Parts, DataDir, Out);
  return ConvertToRtf(Parts, Out);
}
