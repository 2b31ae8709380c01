// HarnessTidy.h — the HTML road's tidier step, run as the program runs it:
// the tidier of the data folder, started hidden with the road's command
// line, rewrites "tdy.html" in place; its error file "err.txt" appearing in
// the data folder is the sign that it finished.
#pragma once
#include "platform/shell/Processes.h"
#include <string>
#include <vector>

// The system's tidier, found on PATH as a shell would find it; "" when absent.
std::string FindSystemTidy();

// The command line is the program's (export/HtmlTidy.h) over
// DataDir + "tdy.html", split into arguments by the platform's
// SplitCommandLine (platform/shell/Processes.h).

// Runs the tidier over DataDir + "tdy.html" and waits for "err.txt", which
// it then deletes. Throws Exception when the tidier cannot be started, or
// ends (or outlives LimitSeconds) without writing the error file: the
// program would wait for ever there.
void RunTidier(const std::string& DataDir, double LimitSeconds = 60);
