#include "platform/win/Modules.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinState_p.h"
#include "platform/win/Window.h"

namespace {
// The layer's modules: one table, handles are 1-based indices into it
// (shifted so that a handle is never a small integer a caller may take for
// an error code below 32).
using TModuleTable = std::vector<TLibraryModule>;

AnsiString ModuleKey(const char* Name) {
  AnsiString K = UpperCase(AnsiString(Name ? Name : ""));
  // A path names the file: only its last part counts.
  const size_t Slash = K.find_last_of("\\/");
  if (Slash != AnsiString::npos) K = K.substr(Slash + 1);
  if (K.size() > 4 && K.compare(K.size() - 4, 4, ".DLL") == 0) K.resize(K.size() - 4);
  return K;
}

void AddModule(TModuleTable& T, const char* Name, std::initializer_list<TModuleEntry> Entries) {
  const AnsiString Key = ModuleKey(Name);
  TLibraryModule* M = nullptr;
  for (auto& Existing : T)
    if (Existing.Name == Key) M = &Existing;
  if (!M) {
    T.push_back({Key, {}, {}, 0});
    M = &T.back();
  }
  M->Entries.clear();
  M->Ordinals.clear();
  for (const auto& E : Entries) {
    M->Entries[E.Name] = E.Proc;
    if (E.Ordinal) M->Ordinals[E.Ordinal] = E.Name;
  }
}

void AddOwnModules(TModuleTable& R) {
  AddModule(R, "user32.dll",
            {ModuleEntry("MonitorFromPoint", &MonitorFromPoint), ModuleEntry("MonitorFromRect", &MonitorFromRect),
             ModuleEntry("MonitorFromWindow", &MonitorFromWindow), ModuleEntry("GetMonitorInfoA", &GetMonitorInfoA),
             ModuleEntry("TrackMouseEvent", &TrackMouseEvent)});
  AddModule(R, "kernel32.dll", {ModuleEntry("GetVersionExA", &GetVersionExA)});
  AddModule(R, "comctl32.dll",
            {ModuleEntry("InitCommonControls", &InitCommonControls),
             ModuleEntry("InitCommonControlsEx", &InitCommonControlsEx)});
  AddModule(R, "uxtheme.dll",
            {ModuleEntry("OpenThemeData", &OpenThemeData), ModuleEntry("CloseThemeData", &CloseThemeData),
             ModuleEntry("DrawThemeBackground", &DrawThemeBackground),
             ModuleEntry("DrawThemeText", &DrawThemeText), ModuleEntry("DrawThemeEdge", &DrawThemeEdge),
             ModuleEntry("DrawThemeIcon", &DrawThemeIcon),
             ModuleEntry("DrawThemeParentBackground", &DrawThemeParentBackground),
             ModuleEntry("GetThemeBackgroundContentRect", &GetThemeBackgroundContentRect),
             ModuleEntry("GetThemeBackgroundExtent", &GetThemeBackgroundExtent),
             ModuleEntry("GetThemeBackgroundRegion", &GetThemeBackgroundRegion),
             ModuleEntry("GetThemePartSize", &GetThemePartSize), ModuleEntry("GetThemeColor", &GetThemeColor),
             ModuleEntry("GetThemeInt", &GetThemeInt), ModuleEntry("GetThemeMargins", &GetThemeMargins),
             ModuleEntry("IsThemeBackgroundPartiallyTransparent", &IsThemeBackgroundPartiallyTransparent),
             ModuleEntry("IsThemePartDefined", &IsThemePartDefined),
             ModuleEntry("GetThemeSysColor", &GetThemeSysColor), ModuleEntry("IsThemeActive", &IsThemeActive),
             ModuleEntry("IsAppThemed", &IsAppThemed), ModuleEntry("GetCurrentThemeName", &GetCurrentThemeName),
             ModuleEntry("SetWindowTheme", &SetWindowTheme),
             ModuleEntry("IsThemeDialogTextureEnabled", &IsThemeDialogTextureEnabled),
             ModuleEntry("GetThemeAppProperties", &GetThemeAppProperties)});
}

TModuleTable& Table() {
  TModuleTable& T = WinState().LibraryModules;
  if (T.empty()) AddOwnModules(T);
  return T;
}

constexpr std::uintptr_t HandleBase = 0x10000;

TLibraryModule* FromHandle(HMODULE H) {
  const auto V = reinterpret_cast<std::uintptr_t>(H);
  auto& T = Table();
  if (V <= HandleBase || V > HandleBase + T.size()) return nullptr;
  TLibraryModule* M = &T[V - HandleBase - 1];
  return M->Loads > 0 ? M : nullptr;
}
}  // namespace

void RegisterLibraryModule(const char* Name, std::initializer_list<TModuleEntry> Entries) {
  AddModule(Table(), Name, Entries);
}

void ResetLibraryModules() {
  for (auto& M : Table()) M.Loads = 0;
}

HMODULE LoadLibraryA(const char* Name) {
  const AnsiString Key = ModuleKey(Name);
  auto& T = Table();
  for (size_t i = 0; i < T.size(); ++i)
    if (T[i].Name == Key) {
      ++T[i].Loads;
      return reinterpret_cast<HMODULE>(HandleBase + i + 1);
    }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE Module) {
  TLibraryModule* M = FromHandle(Module);
  if (!M) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  --M->Loads;
  return TRUE;
}

FARPROC GetProcAddress(HMODULE Module, const char* ProcName) {
  TLibraryModule* M = FromHandle(Module);
  if (!M) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // A "name" below 0x10000 is an export number: it leads to the name.
  const auto Number = reinterpret_cast<std::uintptr_t>(ProcName);
  if (ProcName && Number < 0x10000) {
    auto O = M->Ordinals.find(WORD(Number));
    ProcName = O == M->Ordinals.end() ? nullptr : O->second.c_str();
  }
  auto It = ProcName ? M->Entries.find(ProcName) : M->Entries.end();
  if (It == M->Entries.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return It->second;
}

BOOL GetVersionExA(OSVERSIONINFOA* Info) {
  if (!Info || Info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Info->dwMajorVersion = 5;
  Info->dwMinorVersion = 1;
  Info->dwBuildNumber = 2600;
  Info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::strcpy(Info->szCSDVersion, "Service Pack 3");
  return TRUE;
}

DWORD GetVersion() { return 5u | (1u << 8) | (2600u << 16); }

// InitCommonControls itself lives with the classes (CommonControls.cpp).
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init) {
  if (!Init || Init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  InitCommonControls();
  return TRUE;
}
