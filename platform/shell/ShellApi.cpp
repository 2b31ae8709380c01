#include "platform/shell/ShellApi.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/rtl/FileUtils.h"
#include "platform/shell/Processes.h"

namespace {
HINSTANCE Result(std::intptr_t Code) { return HandleFromInt<HINSTANCE>(Code); }

bool StartsWithNoCase(const AnsiString& S, const char* Prefix) {
  const std::size_t N = std::strlen(Prefix);
  return S.size() >= N && strncasecmp(S.c_str(), Prefix, N) == 0;
}

bool HasControlCharacters(const AnsiString& S) {
  for (unsigned char C : S)
    if (C < 0x20 || C == 0x7F) return true;
  return false;
}

// What the opener gets for File, or an error code (the first of the pair).
std::pair<int, AnsiString> Target(AnsiString File, const char* Directory) {
  if (File.empty() || File.size() > ShellMaxAddressLength || HasControlCharacters(File))
    return {int(ERROR_BAD_FORMAT), {}};
  if (StartsWithNoCase(File, "http://") || StartsWithNoCase(File, "https://") ||
      StartsWithNoCase(File, "mailto:")) {
    const bool Web = !StartsWithNoCase(File, "mailto:");
    const std::size_t Rest = File.find(':') + (Web ? 3 : 1);  // past "://" or ":"
    if (File.size() <= Rest || File.find_first_of(" \"<>\\^`{|}") != AnsiString::npos)
      return {int(ERROR_BAD_FORMAT), {}};
    return {0, File};
  }
  AnsiString Path = File;
  if (Path[0] != '/' && Directory && *Directory) Path = IncludeTrailingPathDelimiter(Directory) + Path;
  Path = ExpandFileName(Path);
  struct stat St{};
  if (::stat(Path.c_str(), &St) == 0) {
    if (!S_ISREG(St.st_mode) && !S_ISDIR(St.st_mode)) return {SE_ERR_NOASSOC, {}};
    return {0, Path};
  }
  // The shell takes a bare "www." name for a web address.
  if (StartsWithNoCase(File, "www.") && File.find_first_of(" \"<>\\^`{|}") == AnsiString::npos)
    return {0, "http://" + File};
  // Some other scheme ("ftp:", "file:", "javascript:"...): not ours to open.
  const std::size_t Colon = File.find(':');
  if (Colon != AnsiString::npos && Colon > 1 && File.find('/') > Colon) return {SE_ERR_NOASSOC, {}};
  return {SE_ERR_FNF, {}};
}
}  // namespace

HINSTANCE ShellExecuteA(HWND, const char* Operation, const char* File, const char*, const char* Directory, int) {
  if (Operation && *Operation && strcasecmp(Operation, "open") != 0) return Result(SE_ERR_NOASSOC);
  auto [Error, What] = Target(File ? AnsiString(File) : AnsiString(), Directory);
  if (Error) return Result(Error);

  // "xdg-open" and the target as its one argument; the target never starts
  // with "-" (an absolute name or a scheme), so it cannot pass for an option.
  AnsiString CommandLine = "xdg-open " + QuoteCommandLineArgument(What);
  STARTUPINFOA Si;
  PROCESS_INFORMATION Pi;
  if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      Directory && *Directory ? Directory : nullptr, &Si, &Pi))
    return Result(GetLastError() == ERROR_FILE_NOT_FOUND ? SE_ERR_NOASSOC : SE_ERR_ACCESSDENIED);
  std::intptr_t Code = 42;  // started
  if (WaitForSingleObject(Pi.hProcess, ShellOpenWaitMs) == WAIT_OBJECT_0) {
    DWORD Exit = 0;
    GetExitCodeProcess(Pi.hProcess, &Exit);
    // The opener's statuses: 1 bad arguments, 2 no such file, 3 no tool
    // for it, 4 the tool failed.
    switch (Exit) {
      case 0: break;
      case 2: Code = SE_ERR_FNF; break;
      case 1: Code = ERROR_BAD_FORMAT; break;
      default: Code = SE_ERR_NOASSOC; break;
    }
  }
  CloseHandle(Pi.hThread);
  CloseHandle(Pi.hProcess);
  return Result(Code);
}
