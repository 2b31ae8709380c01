// ChildProcess.h — a program a test starts and talks to line by line: its
// standard output comes through a pipe, each line read with a time limit.
// The child is ended (and waited for) when the object goes, so no test
// leaves one behind; Kill ends it at once, as a crash would.
#pragma once
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "platform/shell/Processes.h"

namespace sxtest {

class TChildProcess {
public:
  // CommandLine: the program and its arguments, quoted as the system does
  // (QuoteCommandLineArgument).
  explicit TChildProcess(std::string CommandLine) {
    SECURITY_ATTRIBUTES Sa;
    Sa.bInheritHandle = TRUE;
    HANDLE W = nullptr;
    CreatePipe(&FOut, &W, &Sa, 0);
    STARTUPINFOA Si;
    Si.dwFlags = STARTF_USESTDHANDLES;
    Si.hStdOutput = W;
    FStarted = CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &Si, &FPi) != FALSE;
    CloseHandle(W);
  }
  ~TChildProcess() {
    if (FPi.hProcess) {
      TerminateProcess(FPi.hProcess, 1);
      WaitForSingleObject(FPi.hProcess, 5000);
      CloseHandle(FPi.hProcess);
      CloseHandle(FPi.hThread);
    }
    CloseHandle(FOut);
  }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return FStarted; }
  // The next line the child writes, within Ms; "" when none came.
  std::string Line(int Ms = 15000) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (FPending.find('\n') == std::string::npos && std::chrono::steady_clock::now() < End) {
      DWORD Avail = 0;
      if (!PeekNamedPipe(FOut, nullptr, 0, nullptr, &Avail, nullptr)) break;
      if (!Avail) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      char Buf[256];
      DWORD Got = 0;
      if (!::ReadFile(FOut, Buf, std::min<DWORD>(Avail, sizeof Buf), &Got, nullptr)) break;
      FPending.append(Buf, Got);
    }
    const std::size_t Nl = FPending.find('\n');
    if (Nl == std::string::npos) return "";
    std::string L = FPending.substr(0, Nl);
    FPending.erase(0, Nl + 1);
    return L;
  }
  // Reads lines until one equals Want (true) or none comes within Ms.
  bool WaitFor(const std::string& Want, int Ms = 15000) {
    for (;;) {
      const std::string L = Line(Ms);
      if (L.empty()) return false;
      if (L == Want) return true;
    }
  }
  // Ends the child at once (SIGKILL: no chance to clean up).
  void Kill() {
    TerminateProcess(FPi.hProcess, 9);
    WaitForSingleObject(FPi.hProcess, 10000);
  }
  // Waits for the child to end by itself; its exit code, or -1 when it
  // did not end within Ms.
  int Wait(int Ms = 15000) {
    if (WaitForSingleObject(FPi.hProcess, DWORD(Ms)) != WAIT_OBJECT_0) return -1;
    DWORD Code = 0;
    GetExitCodeProcess(FPi.hProcess, &Code);
    return int(Code);
  }

private:
  PROCESS_INFORMATION FPi;
  HANDLE FOut = nullptr;
  std::string FPending;
  bool FStarted = false;
};

}  // namespace sxtest
