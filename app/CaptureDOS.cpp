#include "app/CaptureDOS.h"

#include <algorithm>
#include <vector>
#include "platform/forms/Application.h"
#include "platform/rtl/CodePages.h"
#include "platform/shell/Processes.h"
#include "platform/win/Win.h"

namespace {

// Closes the handles it holds on every path out of the runner.
class THandleCloser {
public:
  ~THandleCloser() {
    for (HANDLE H : FHandles)
      if (H) CloseHandle(H);
  }
  void Add(HANDLE H) { FHandles.push_back(H); }
  void Close(HANDLE& H) {
    if (!H) return;
    std::erase(FHandles, H);
    CloseHandle(H);
    H = nullptr;
  }

private:
  std::vector<HANDLE> FHandles;
};

// Ends a child still running when the runner is left by an exception from
// a pumped handler, so no hidden process outlives its runner.
class TChildGuard {
public:
  explicit TChildGuard(HANDLE Process) : FProcess(Process) {}
  ~TChildGuard() {
    if (FProcess && WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(FProcess, 1);
      WaitForSingleObject(FProcess, 5000);
    }
  }
  void Release() { FProcess = nullptr; }

private:
  HANDLE FProcess;
};

// Moves what waits in the pipe into Result, keeping at most Limit bytes.
// False once the pipe is broken (every writer closed and nothing left).
bool Drain(HANDLE Pipe, TConsoleToolResult& Result, std::size_t Limit) {
  char Buffer[16384];
  // A bounded number of reads per call, so a child that writes without end
  // cannot keep the runner from pumping messages and checking its limit.
  for (int Reads = 0; Reads < 64; ++Reads) {
    DWORD Available = 0;
    if (!PeekNamedPipe(Pipe, nullptr, 0, nullptr, &Available, nullptr)) return false;
    if (Available == 0) return true;
    DWORD Read = 0;
    if (!ReadFile(Pipe, Buffer, std::min<DWORD>(Available, sizeof Buffer), &Read, nullptr)) return false;
    const std::size_t Room = Limit - std::min(Limit, Result.Output.size());
    Result.Output.append(Buffer, std::min<std::size_t>(Read, Room));
    if (Read > Room) Result.OutputTruncated = true;
  }
  return true;
}

}  // namespace

TConsoleToolResult RunConsoleTool(const AnsiString& CommandLine, const TConsoleToolLimits& Limits) {
  TConsoleToolResult Result;
  THandleCloser Handles;
  SECURITY_ATTRIBUTES Inherit{};
  Inherit.nLength = sizeof Inherit;
  Inherit.bInheritHandle = TRUE;
  HANDLE ReadEnd = nullptr, WriteEnd = nullptr;
  if (!CreatePipe(&ReadEnd, &WriteEnd, &Inherit, 0)) {
    Result.Error = "cannot create a pipe for " + CommandLine;
    return Result;
  }
  Handles.Add(ReadEnd);
  Handles.Add(WriteEnd);

  // Output and errors into the pipe; no input at all (a child that reads
  // its standard input gets end of file at once instead of waiting on a
  // pipe that nobody writes).
  STARTUPINFOA Start{};
  Start.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  Start.wShowWindow = 0;  // hidden
  Start.hStdInput = nullptr;
  Start.hStdOutput = WriteEnd;
  Start.hStdError = WriteEnd;
  PROCESS_INFORMATION Info{};
  std::vector<char> Line(CommandLine.begin(), CommandLine.end());
  Line.push_back('\0');
  if (!CreateProcessA(nullptr, Line.data(), &Inherit, &Inherit, TRUE, CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &Start, &Info)) {
    const DWORD Code = GetLastError();
    const std::vector<AnsiString> Args = SplitCommandLine(CommandLine);
    const AnsiString Program = Args.empty() ? AnsiString() : Args.front();
    Result.Error = Program.empty()            ? AnsiString("no program named in the command line")
                   : Code == ERROR_FILE_NOT_FOUND ? "the program " + Program + " was not found"
                   : Code == ERROR_ACCESS_DENIED  ? "the program " + Program + " may not be run"
                                                  : "the program " + Program + " cannot be started";
    return Result;
  }
  Handles.Add(Info.hProcess);
  Handles.Add(Info.hThread);
  // Only the child writes now: once it (and anything it started) ends, the
  // pipe breaks and the last read sees all of its output.
  Handles.Close(WriteEnd);
  TChildGuard Guard(Info.hProcess);

  bool Ended = false;
  bool PipeOpen = true;
  for (Integer Poll = 1; Poll <= Limits.MaxPolls && !Ended; ++Poll) {
    Ended = WaitForSingleObject(Info.hProcess, Limits.PollMilliseconds) != WAIT_TIMEOUT;
    if (Application) Application->ProcessMessages();
    if (PipeOpen) PipeOpen = Drain(ReadEnd, Result, Limits.MaxOutput);
  }
  if (!Ended) {
    TerminateProcess(Info.hProcess, 1);
    WaitForSingleObject(Info.hProcess, INFINITE);
    Result.End = TConsoleToolEnd::Killed;
  } else {
    Result.End = TConsoleToolEnd::Ended;
  }
  Guard.Release();
  GetExitCodeProcess(Info.hProcess, &Result.ExitCode);
  // What the child wrote last; the bound on reads per call keeps this
  // finite even when something it started still writes.
  if (PipeOpen) Drain(ReadEnd, Result, Limits.MaxOutput);
  // Console programs write the OEM code page.
  Result.Output = OemToAnsi(Result.Output);
  return Result;
}
