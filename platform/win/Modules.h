// Modules.h — binding functions by name, the system's version, and the
// common controls' start-up.
//
// LoadLibrary finds a module in the table of what this layer provides
// ("user32.dll", "uxtheme.dll", "comctl32.dll", "kernel32.dll"; layers above
// add theirs with RegisterLibraryModule). Names match without case and
// with or without ".dll". GetProcAddress answers an entry the module has
// and nil for one it lacks, as on a system without that call. A module that
// is not in the table fails to load (ERROR_MOD_NOT_FOUND).
//
// The system is Windows XP Professional, version 5.1, build 2600, Service
// Pack 3: old enough for the programs' "XP or newer" paths, with a
// visual-style library whose themes are switched off (UxTheme.h).
#pragma once
#include <initializer_list>
#include <utility>
#include "platform/win/WinTypes.h"

using FARPROC = void (*)();
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// A module handle counts its loads; FreeLibrary of the last one unloads it.
HMODULE LoadLibraryA(const char* Name);
inline HMODULE LoadLibrary(const char* Name) { return LoadLibraryA(Name); }
BOOL FreeLibrary(HMODULE Module);
FARPROC GetProcAddress(HMODULE Module, const char* ProcName);

// An entry of a module: its exported name and the function (any signature,
// cast back by the caller as GetProcAddress's callers do).
struct TModuleEntry {
  const char* Name;
  FARPROC Proc;
  // The entry's export number, for callers that bind by number (a
  // GetProcAddress name below 0x10000 is a number); 0: by name only.
  WORD Ordinal = 0;
};
template <class F>
TModuleEntry ModuleEntry(const char* Name, F* Proc, WORD Ordinal = 0) {
  return {Name, reinterpret_cast<FARPROC>(Proc), Ordinal};
}
// Adds (or replaces) a module of the table.
void RegisterLibraryModule(const char* Name, std::initializer_list<TModuleEntry> Entries);
// Drops every load (a test's start); the table stays.
void ResetLibraryModules();

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
// Fails (ERROR_INVALID_PARAMETER) unless dwOSVersionInfoSize is set.
BOOL GetVersionExA(OSVERSIONINFOA* Info);
inline BOOL GetVersionEx(OSVERSIONINFOA* Info) { return GetVersionExA(Info); }
// LOWORD: major, minor; HIWORD: build (the NT packing).
DWORD GetVersion();

struct INITCOMMONCONTROLSEX {
  DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
  DWORD dwICC = 0;
};
// Both register the common control classes (CommCtrl.h); the class
// library's controls call them before making their windows.
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init);
