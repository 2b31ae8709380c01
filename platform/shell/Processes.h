// Processes.h — child processes and anonymous pipes with the kernel's
// calls: CreateProcess over posix_spawn, CreatePipe, ReadFile, WriteFile,
// PeekNamedPipe, GetExitCodeProcess, TerminateProcess. Process, thread and
// pipe handles live in the one kernel handle table (rtl/Threads.h), so
// WaitForSingleObject waits for a process and CloseHandle closes any of
// them.
//
// A command line is split into arguments by the Windows rules
// (SplitCommandLine) and handed to the program directly: no shell ever
// sees it, so quotes, blanks and shell characters reach the child as
// written. A child whose standard handles are not given reads /dev/null and
// writes nowhere, as a hidden console program does. Every child is reaped
// by the layer, also when its handles are closed while it still runs.
#pragma once
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/win/WinTypes.h"

struct STARTUPINFOA {
  DWORD cb = sizeof(STARTUPINFOA);
  char* lpReserved = nullptr;
  char* lpDesktop = nullptr;
  char* lpTitle = nullptr;
  DWORD dwX = 0, dwY = 0, dwXSize = 0, dwYSize = 0;
  DWORD dwXCountChars = 0, dwYCountChars = 0, dwFillAttribute = 0;
  DWORD dwFlags = 0;
  WORD wShowWindow = 0;
  WORD cbReserved2 = 0;
  Byte* lpReserved2 = nullptr;
  HANDLE hStdInput = nullptr;
  HANDLE hStdOutput = nullptr;
  HANDLE hStdError = nullptr;
};

struct PROCESS_INFORMATION {
  HANDLE hProcess = nullptr;
  HANDLE hThread = nullptr;
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD DETACHED_PROCESS = 0x00000008;
constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

// Starts the program named by ApplicationName, or else by the first
// argument of CommandLine (a name without '/' is searched on PATH). The
// arguments come from CommandLine by SplitCommandLine; the first of them is
// the child's argv[0]. With STARTF_USESTDHANDLES and InheritHandles the
// child's standard input, output and error are the given pipe handles
// (null or a handle that is not inheritable: /dev/null). Environment, when
// given, is a block of "name=value" strings ended by an empty one.
// Failure: FALSE with ERROR_FILE_NOT_FOUND (no such program),
// ERROR_ACCESS_DENIED (not executable), ERROR_BAD_EXE_FORMAT,
// ERROR_INVALID_PARAMETER (no program named).
BOOL CreateProcessA(const char* ApplicationName, char* CommandLine, SECURITY_ATTRIBUTES* ProcessAttributes,
                    SECURITY_ATTRIBUTES* ThreadAttributes, BOOL InheritHandles, DWORD CreationFlags,
                    void* Environment, const char* CurrentDirectory, STARTUPINFOA* StartupInfo,
                    PROCESS_INFORMATION* ProcessInformation);
inline BOOL CreateProcess(const char* A, char* C, SECURITY_ATTRIBUTES* P, SECURITY_ATTRIBUTES* T, BOOL I, DWORD F,
                          void* E, const char* D, STARTUPINFOA* S, PROCESS_INFORMATION* Pi) {
  return CreateProcessA(A, C, P, T, I, F, E, D, S, Pi);
}
// STILL_ACTIVE while the process runs; then its exit status, the code
// TerminateProcess gave, or 128 + the signal that ended it.
BOOL GetExitCodeProcess(HANDLE Process, DWORD* ExitCode);
// Ends the process at once (SIGKILL); its exit code becomes ExitCode.
// FALSE with ERROR_ACCESS_DENIED when it has ended already.
BOOL TerminateProcess(HANDLE Process, UINT ExitCode);
// The process id; 0 for a handle that is no process.
DWORD GetProcessId(HANDLE Process);

// An anonymous pipe: ReadPipe reads what WritePipe writes. Size is a hint
// (the system's pipe size is used). Both ends are inheritable when
// Attributes says so.
BOOL CreatePipe(HANDLE* ReadPipe, HANDLE* WritePipe, SECURITY_ATTRIBUTES* Attributes, DWORD Size);
// Reads up to ToRead bytes, waiting until at least one is there. When every
// write end is closed and nothing is left: FALSE with ERROR_BROKEN_PIPE.
// Overlapped reads are not supported (must be null).
BOOL ReadFile(HANDLE File, void* Buffer, DWORD ToRead, DWORD* Read, void* Overlapped);
// Writes all of Count bytes. A pipe whose read ends are all closed: FALSE
// with ERROR_NO_DATA (the process is not signalled).
BOOL WriteFile(HANDLE File, const void* Buffer, DWORD Count, DWORD* Written, void* Overlapped);
// Never waits: copies up to BufferSize waiting bytes into Buffer (when
// given) without taking them out of the pipe, and tells how many bytes
// wait in all. A pipe without writers and without data: FALSE with
// ERROR_BROKEN_PIPE. LeftThisMessage is always 0 (byte pipes).
BOOL PeekNamedPipe(HANDLE Pipe, void* Buffer, DWORD BufferSize, DWORD* BytesRead, DWORD* TotalAvailable,
                   DWORD* LeftThisMessage);

// The arguments of a Windows command line, as the run-time library of a
// Windows program splits it: blanks and tabs separate arguments; a quote
// starts or ends a quoted part, in which blanks are kept; 2n backslashes
// before a quote give n backslashes and the quote acts, 2n+1 give n and a
// literal quote; other backslashes are literal; "" inside a quoted part is
// a literal quote. The first argument (the program) ends at the closing
// quote or the first blank, with no backslash rules.
std::vector<AnsiString> SplitCommandLine(const AnsiString& CommandLine);
// The reverse: one argument quoted so that SplitCommandLine gives it back.
AnsiString QuoteCommandLineArgument(const AnsiString& Argument);
