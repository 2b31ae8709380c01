// IdeTables.h — the library's tables of the development environments it can
// be installed into (registry keys, help folders, package extensions) and
// the folder helpers built on them. Nothing in this program calls them; a
// library keeps its calls all the same.
//
// Folders come back with a trailing PathDelim. On this platform the system
// folders are the system's own: GetSystemDir is "/usr/lib/", GetWindowsDir
// "/usr/" and GetProgramFilesDir "/opt/".
#pragma once
#include <array>
#include <functional>
#include "platform/rtl/Types.h"

struct TIdeVersion {
  const char* Symbol;        // conditional-compilation symbol
  const char* Id;            // a letter and a digit
  const char* Title;         // the product's title
  const char* RegistryKey;   // below "Software\<vendor>\"
  const char* HelpContents;  // the help contents file (".cnt")
  const char* PackageExt;    // "" when the release has no packages
};
inline constexpr Integer IdeVersionCount = 11;
extern const std::array<TIdeVersion, IdeVersionCount> IdeVersionTable;

// The environments' vendor, the registry key below "Software\".
extern const char* const IdeVendorName;
inline constexpr const char* SIdeError = "Error:";
inline constexpr const char* SIdeFatal = "Fatal:";

struct TFolderTemplate {
  const char* Placeholder;  // "%SYSTEM%" …
  std::function<AnsiString()> Folder;
};
inline constexpr Integer FolderTemplateCount = 8;
const std::array<TFolderTemplate, FolderTemplateCount>& FolderTemplates();

// The string value Name of the entry's key under HKEY_LOCAL_MACHINE
// ("Software\<vendor>\<entry key>", opened without creating it); empty when
// the key cannot be opened or the index is outside the table.
AnsiString ReadIdeRegistryString(Integer Index, const AnsiString& Name);
// The entry's "RootDir" with a trailing PathDelim; empty when not installed.
AnsiString GetIdeRootDir(Integer Index);
// GetIdeRootDir followed by "HELP" and PathDelim; empty when not installed.
AnsiString GetIdeHelpDir(Integer Index);
AnsiString GetSystemDir();
AnsiString GetWindowsDir();
AnsiString GetProgramFilesDir();
// Frees the environment library the unit holds, when it holds one (it
// loads none itself).
void FreeIdeLibrary();
