#include "app/public_unit.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ProgramArgs.h"

namespace {
AnsiString& AppDirOverride() {
  static AnsiString Dir;
  return Dir;
}
}  // namespace

AnsiString AppDir() {
  const AnsiString& Over = AppDirOverride();
  return Over.empty() ? ExeDir() : Over;
}

void SetAppDir(const AnsiString& Dir) { AppDirOverride() = Dir.empty() ? AnsiString() : IncludeTrailingPathDelimiter(Dir); }

AnsiString DataDir() { return AppDir() + "data" + PathDelim; }

bool IsRunningUnderDebugger() { return IsDebuggerPresent() != FALSE; }

AnsiString ReadDefaultConfig() {
  AnsiString Result;
  const AnsiString Name = DataDir() + "Options.ini";
  if (FileExists(Name)) {
    TIniFile Ini(Name);
    if (Ini.SectionExists("General")) Result = Ini.ReadString("General", "Default Config", "");
  }
  return Result.empty() ? AnsiString("standard") : Result;
}
