// HarnessRoads.h — the conversion roads of the harness, from the input file
// to the output files, with the main window's editors and hidden rich edit
// created on a parent window that the caller owns.
//
// Kept apart from the form unit: the editor's TPosition (a caret position)
// and the form's TPosition (where a form opens) share a name, so no unit
// may include both headers.
#pragma once
#include <string>
#include <vector>

class TWinControl;
struct THarnessFormat;

// A failure of the conversion: one line for stderr and the exit status.
struct THarnessError {
  int Status;
  std::string Message;
};

[[noreturn]] void HarnessFail(int Status, const std::string& Message);

// How the input reaches the road: imported into the input editor (the
// application's way), or, for the engine formats, as "print.rtf" itself.
enum THarnessInput { hiEditor, hiInputRtf };

// Imports In into the input editor and runs the road of Format ("html",
// "rtf", or an engine format given by Engine). DataDir is the program's data
// folder (trailing separator): the HTML road finds its tidier there and
// leaves "tdy.html"; the engine road writes "Printer/print.rtf" there and
// deletes it. With hiInputRtf the engine road copies In into "print.rtf"
// instead of importing and exporting it. Returns the output files. Throws THarnessError or Exception.
std::vector<std::string> ConvertDocument(TWinControl* Parent, const std::string& DataDir, const std::string& In,
                                         THarnessInput Input, const std::string& Format, const THarnessFormat* Engine,
                                         const std::string& Out);
