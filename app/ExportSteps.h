// ExportSteps.h — the steps both conversion roads (one document from the
// main window, a batch from its dialog) share: the intermediate "print.rtf"
// that is removed on every path, an engine's render of the hidden rich
// edit, and the tidier's run with its clear errors.
#pragma once
#include <vector>

#include "platform/rtl/Types.h"

class TgtCustomDocumentEngine;
class TRichEdit;

// DataDir + "Printer/print.rtf"; the folder is made when missing (raises
// the class library's file-creation error when it cannot be).
AnsiString PrepareIntermediateRtf();

// Removes "print.rtf" when it goes out of scope, also after an error, so a
// failed export never leaves a file that printing could later print.
class TIntermediateRtf {
public:
  TIntermediateRtf() : FName(PrepareIntermediateRtf()) {}
  ~TIntermediateRtf();
  TIntermediateRtf(const TIntermediateRtf&) = delete;
  TIntermediateRtf& operator=(const TIntermediateRtf&) = delete;
  const AnsiString& Name() const { return FName; }

private:
  AnsiString FName;
};

// Loads RtfFile into the rich edit and renders it with Engine into
// FileName: the page rectangle 25, 25, Width, Height in pixels, new pages
// as the text needs them. The rich edit is emptied afterwards. A setup
// dialog the user cancelled writes nothing (no error).
void RenderRtfWithEngine(TgtCustomDocumentEngine& Engine, TRichEdit& RichEdit, const AnsiString& RtfFile,
                         const AnsiString& FileName, Integer Width, Integer Height);

// Runs the tidier of the data folder over the pages (the command line of
// export/HtmlTidy.h) and waits for it to end. Its error file "err.txt"
// marks a finished run and is deleted. Raises an Exception that
// says what happened when the tidier cannot start, outlives its limit or
// ends without its error file; nothing then waits for ever.
void RunTidierOn(const std::vector<AnsiString>& Pages);
