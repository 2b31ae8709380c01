#include "editor/base/IdeTables.h"

#include <dlfcn.h>

#include <memory>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Registry.h"

const char* const IdeVendorName = "Pascal Tools";

const std::array<TIdeVersion, IdeVersionCount> IdeVersionTable = {{
    {"VER90", "D2", "Pascal Studio 2.0", "Pascal Studio\\2.0", "PSTUDIO.CNT", ""},
    {"VER93", "C1", "C++ Studio 1.0", "C++ Studio\\1.0", "CSTUDIO.CNT", ""},
    {"VER100", "D3", "Pascal Studio 3.0", "Pascal Studio\\3.0", "PSTUDIO3.CNT", ".DPL"},
    {"VER110", "C3", "C++ Studio 3.0", "C++ Studio\\3.0", "CSTUDIO3.CNT", ".BPL"},
    {"VER120", "D4", "Pascal Studio 4.0", "Pascal Studio\\4.0", "PSTUDIO4.CNT", ".BPL"},
    {"VER125", "C4", "C++ Studio 4.0", "C++ Studio\\4.0", "CSTUDIO4.CNT", ".BPL"},
    {"VER130", "D5", "Pascal Studio 5.0", "Pascal Studio\\5.0", "PSTUDIO5.CNT", ".BPL"},
    {"VER130", "C5", "C++ Studio 5.0", "C++ Studio\\5.0", "CSTUDIO5.CNT", ".BPL"},
    {"VER140", "D6", "Pascal Studio 6.0", "Pascal Studio\\6.0", "PSTUDIO6.CNT", ".BPL"},
    {"VER140", "C6", "C++ Studio 6.0", "C++ Studio\\6.0", "CSTUDIO6.CNT", ".BPL"},
    {"VER150", "D7", "Pascal Studio 7.0", "Pascal Studio\\7.0", "PSTUDIO7.CNT", ".BPL"},
}};

namespace {

// The unit's object list and environment library, from its first use to
// the end of the program.
struct TIdeUnitState {
  TList Objects;
  void* Library = nullptr;
  ~TIdeUnitState() { FreeIdeLibrary(); }
};
TIdeUnitState& State() {
  static TIdeUnitState S;
  return S;
}

AnsiString WithDelimiter(const AnsiString& S) {
  if (S.empty() || S.back() == PathDelim) return S;
  return S + PathDelim;
}

}  // namespace

const std::array<TFolderTemplate, FolderTemplateCount>& FolderTemplates() {
  static const std::array<TFolderTemplate, FolderTemplateCount> T = {{
      {"%SYSTEM%", &GetSystemDir},
      {"%WINDOWS%", &GetWindowsDir},
      {"%PROGRAMFILES%", &GetProgramFilesDir},
      {"%C1_HELP%", [] { return GetIdeHelpDir(1); }},
      {"%C3_HELP%", [] { return GetIdeHelpDir(3); }},
      {"%D2_HELP%", [] { return GetIdeHelpDir(0); }},
      {"%D3_HELP%", [] { return GetIdeHelpDir(2); }},
      {"%D4_HELP%", [] { return GetIdeHelpDir(4); }},
  }};
  return T;
}

AnsiString ReadIdeRegistryString(Integer Index, const AnsiString& Name) {
  if (Index < 0 || Index >= IdeVersionCount) return {};
  TRegistry Reg;
  Reg.SetRootKey(HKEY_LOCAL_MACHINE);
  const AnsiString Key = AnsiString("Software\\") + IdeVendorName + "\\" + IdeVersionTable[Index].RegistryKey;
  if (!Reg.OpenKeyReadOnly(Key)) return {};
  return Reg.ReadString(Name);
}

AnsiString GetIdeRootDir(Integer Index) { return WithDelimiter(ReadIdeRegistryString(Index, "RootDir")); }

AnsiString GetIdeHelpDir(Integer Index) {
  const AnsiString Root = GetIdeRootDir(Index);
  return Root.empty() ? Root : Root + "HELP" + PathDelim;
}

AnsiString GetSystemDir() { return "/usr/lib/"; }
AnsiString GetWindowsDir() { return "/usr/"; }
AnsiString GetProgramFilesDir() { return "/opt/"; }

void FreeIdeLibrary() {
  TIdeUnitState& S = State();
  if (!S.Library) return;
  dlclose(S.Library);
  S.Library = nullptr;
}
