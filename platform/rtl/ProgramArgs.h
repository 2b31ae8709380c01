// ProgramArgs.h — what the running program was started with and under:
// ParamCount and ParamStr over the process's own argument list (as the
// system passed it, already split; /proc/self/cmdline), and whether a
// debugger is attached (the tracer in /proc/self/status).
#pragma once
#include "platform/rtl/Types.h"

// The number of arguments after the program name.
Integer ParamCount();
// ParamStr(0) is the executable's full name (ExeName); 1..ParamCount the
// arguments; any other index gives ''.
AnsiString ParamStr(Integer Index);
// True while a debugger (any tracer) is attached to the process.
BOOL IsDebuggerPresent();
