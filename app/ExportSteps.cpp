#include "app/ExportSteps.h"

#include "app/CaptureDOS.h"
#include "app/public_unit.h"
#include "export/HtmlTidy.h"
#include "export/engine/DocumentEngine.h"
#include "platform/richedit/RichEdit.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"

AnsiString PrepareIntermediateRtf() {
  const AnsiString Folder = DataDir() + "Printer";
  if (!ForceDirectories(Folder)) throw EFCreateError("Cannot create folder \"" + Folder + "\"");
  return Folder + PathDelim + "print.rtf";
}

TIntermediateRtf::~TIntermediateRtf() {
  if (FileExists(FName)) DeleteFile(FName);
}

void RenderRtfWithEngine(TgtCustomDocumentEngine& Engine, TRichEdit& RichEdit, const AnsiString& RtfFile,
                         const AnsiString& FileName, Integer Width, Integer Height) {
  RichEdit.GetLines()->LoadFromFile(RtfFile);
  try {
    Engine.SetFileName(FileName);
    Engine.BeginDoc();
    Engine.RenderRichEdit(&RichEdit, 0, 25, 25, Width, Height);
    Engine.EndDoc();
  } catch (...) {
    RichEdit.GetLines()->Clear();
    throw;
  }
  RichEdit.GetLines()->Clear();
}

void RunTidierOn(const std::vector<AnsiString>& Pages) {
  const AnsiString ErrFile = DataDir() + "err.txt";
  // A report left by an earlier run must not pass for this run's.
  if (FileExists(ErrFile)) DeleteFile(ErrFile);
  const TConsoleToolResult R = RunConsoleTool(TidyCommandLine(DataDir(), Pages));
  switch (R.End) {
    case TConsoleToolEnd::NotStarted:
      throw Exception("The HTML tidier could not be started: " + R.Error);
    case TConsoleToolEnd::Killed:
      if (FileExists(ErrFile)) DeleteFile(ErrFile);
      throw Exception("The HTML tidier did not finish in time and was stopped; the HTML is not tidied.");
    case TConsoleToolEnd::Ended:
      break;
  }
  if (!FileExists(ErrFile))
    throw Exception(Format("The HTML tidier ended (exit code %d) without writing its report %s.",
                           {Integer(R.ExitCode), ErrFile}));
  DeleteFile(ErrFile);
}
