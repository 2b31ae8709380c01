// public_unit.h — the program's folder and the small lookups every unit of
// the program shares: where the data folder is, whether a debugger is
// attached, and the default code-formatting configuration.
#pragma once
#include "platform/rtl/Types.h"

// The running executable's folder with a trailing separator. Tests (and a
// program started from the build tree) may place the program elsewhere with
// SetAppDir; '' restores the executable's folder.
AnsiString AppDir();
void SetAppDir(const AnsiString& Dir);

// AppDir + "data" + separator: every file of the program lives below it.
AnsiString DataDir();

// True while a debugger is attached; shows the developer-only parts.
bool IsRunningUnderDebugger();

// "Default Config" of "Options.ini" (section "General"); "standard" when
// the file, the section or the value is missing or empty.
AnsiString ReadDefaultConfig();
