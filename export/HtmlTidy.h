// HtmlTidy.h — the command line that starts the HTML tidier of a data
// folder over written pages. One place for it, so the program's HTML road
// and the conversion harness that it is measured against start the tidier
// alike.
#pragma once
#include <vector>

#include "platform/rtl/Types.h"

// DataDir ends with the path separator (D). Every path is enclosed in
// double quotes, separated by single blanks:
//   "D/tidy" -config "D/tdy_config.txt" -f "D/err.txt" -im "page" ...
// with one -im per page. A quote or a backslash before a quote inside a
// path is escaped, so the arguments split back to the paths as written.
AnsiString TidyCommandLine(const AnsiString& DataDir, const std::vector<AnsiString>& Pages);
