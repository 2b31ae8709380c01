#include "platform/shell/Processes.h"

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "DesktopFixtures.h"
#include "support/TestFiles.h"

namespace {

// A started helper with its handles; ends a child a failed test left running.
struct TChild {
  PROCESS_INFORMATION Pi;
  bool Started = false;
  ~TChild() {
    if (!Started) return;
    TerminateProcess(Pi.hProcess, 1);
    WaitForSingleObject(Pi.hProcess, 5000);
    CloseHandle(Pi.hThread);
    CloseHandle(Pi.hProcess);
  }
};

std::string HelperCommand(const std::string& Args) {
  return QuoteCommandLineArgument(sxtest::DesktopHelper()) + " " + Args;
}

// Starts the helper hidden, its output (and input, as the tool runner does)
// on the given pipe ends.
bool Start(TChild& C, const std::string& Args, HANDLE Out = nullptr, HANDLE In = nullptr) {
  STARTUPINFOA Si;
  Si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  Si.hStdOutput = Out;
  Si.hStdInput = In;
  std::string Cmd = HelperCommand(Args);
  C.Started = CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS,
                             nullptr, nullptr, &Si, &C.Pi) != 0;
  return C.Started;
}

std::string Pattern(std::size_t Size) {
  std::string S(Size, '\0');
  for (std::size_t I = 0; I < Size; ++I) S[I] = char('a' + I % 26);
  return S;
}

SECURITY_ATTRIBUTES Inheritable() {
  SECURITY_ATTRIBUTES Sa;
  Sa.bInheritHandle = TRUE;
  return Sa;
}

// Everything a pipe gets until the child ends and the pipe is empty.
std::string ReadAll(HANDLE Read, HANDLE Process) {
  std::string Out;
  char Buf[4096];
  for (int Polls = 0; Polls < 300; ++Polls) {
    const bool Ended = WaitForSingleObject(Process, 100) == WAIT_OBJECT_0;
    DWORD Avail = 0;
    while (PeekNamedPipe(Read, nullptr, 0, nullptr, &Avail, nullptr) && Avail > 0) {
      DWORD Got = 0;
      if (!ReadFile(Read, Buf, sizeof Buf, &Got, nullptr)) break;
      Out.append(Buf, Got);
    }
    if (Ended) break;
  }
  return Out;
}
}  // namespace

TEST(CreateProcess, ChildOutputIsReadInBoundedChunksWhileItRuns) {
  // The tool runner's way: the pipe is the child's input and output, the
  // parent keeps both ends, polls with a timeout, reads what waits into a
  // bounded buffer and drains the rest so that the child never blocks.
  auto Sa = Inheritable();
  HANDLE R = nullptr, W = nullptr;
  ASSERT_TRUE(CreatePipe(&R, &W, &Sa, 0));
  constexpr std::size_t Total = 300000, Capacity = 100000;
  TChild C;
  ASSERT_TRUE(Start(C, "spew " + std::to_string(Total), W, R));
  std::string Kept, Chunk(8192, '\0');
  std::size_t Dropped = 0;
  int Polls = 0;
  for (bool Ended = false; !Ended && Polls < 151;) {
    ++Polls;
    Ended = WaitForSingleObject(C.Pi.hProcess, 100) != WAIT_TIMEOUT;
    DWORD Avail = 0;
    ASSERT_TRUE(PeekNamedPipe(R, nullptr, 0, nullptr, &Avail, nullptr));
    while (Avail > 0) {
      const DWORD Room = DWORD(std::min<std::size_t>(Capacity - Kept.size(), Chunk.size()));
      DWORD Got = 0;
      ASSERT_TRUE(ReadFile(R, Chunk.data(), Room ? Room : DWORD(Chunk.size()), &Got, nullptr));
      if (Room) Kept.append(Chunk.data(), Got);
      else Dropped += Got;
      ASSERT_TRUE(PeekNamedPipe(R, nullptr, 0, nullptr, &Avail, nullptr));
    }
  }
  EXPECT_LT(Polls, 151);
  DWORD Code = 99;
  ASSERT_TRUE(GetExitCodeProcess(C.Pi.hProcess, &Code));
  EXPECT_EQ(Code, 0u) << "the child must not have been blocked on a full pipe";
  EXPECT_EQ(Kept, Pattern(Total).substr(0, Capacity));
  EXPECT_EQ(Kept.size() + Dropped, Total);
  CloseHandle(R);
  CloseHandle(W);
}

TEST(CreateProcess, HungChildTimesOutAndIsEnded) {
  TChild C;
  ASSERT_TRUE(Start(C, "hang"));
  EXPECT_EQ(WaitForSingleObject(C.Pi.hProcess, 200), WAIT_TIMEOUT);
  DWORD Code = 0;
  ASSERT_TRUE(GetExitCodeProcess(C.Pi.hProcess, &Code));
  EXPECT_EQ(Code, STILL_ACTIVE);
  ASSERT_TRUE(TerminateProcess(C.Pi.hProcess, 7));
  ASSERT_EQ(WaitForSingleObject(C.Pi.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(C.Pi.hThread, 0), WAIT_OBJECT_0) << "the primary thread ends with it";
  ASSERT_TRUE(GetExitCodeProcess(C.Pi.hProcess, &Code));
  EXPECT_EQ(Code, 7u);
  EXPECT_FALSE(TerminateProcess(C.Pi.hProcess, 8)) << "an ended process cannot be ended again";
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(CreateProcess, ExitStatusAndHandleLifetime) {
  TChild C;
  ASSERT_TRUE(Start(C, "exit 42"));
  ASSERT_EQ(WaitForSingleObject(C.Pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD Code = 0;
  ASSERT_TRUE(GetExitCodeProcess(C.Pi.hProcess, &Code));
  EXPECT_EQ(Code, 42u);
  const HANDLE Process = C.Pi.hProcess;
  EXPECT_TRUE(CloseHandle(C.Pi.hThread));
  EXPECT_TRUE(CloseHandle(Process));
  C.Started = false;
  EXPECT_FALSE(CloseHandle(Process)) << "a closed handle is dead";
  EXPECT_FALSE(GetExitCodeProcess(Process, &Code));
  EXPECT_EQ(WaitForSingleObject(Process, 0), WAIT_FAILED);
}

TEST(CreateProcess, ChildWhoseHandlesAreClosedEarlyIsStillReaped) {
  TChild C;
  ASSERT_TRUE(Start(C, "exit 0"));
  const DWORD Pid = C.Pi.dwProcessId;
  CloseHandle(C.Pi.hThread);
  CloseHandle(C.Pi.hProcess);
  C.Started = false;
  const std::string Proc = "/proc/" + std::to_string(Pid);
  bool Gone = false;
  for (int I = 0; I < 500 && !Gone; ++I) {
    Gone = !std::filesystem::exists(Proc);
    if (!Gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(Gone) << "the child was left a zombie";
}

TEST(CreateProcess, ArgumentsReachTheChildWholeWithoutAShell) {
  const std::string Args[] = {"with blanks",   "say \"hi\"",     "back\\slash\\", "ends in \\\\",
                              "tab\tinside",   "$HOME;`id`|&*?", "",              "\\\"\\\\\""};
  std::string Cmd = "args";
  for (const auto& A : Args) Cmd.append(1, ' ').append(QuoteCommandLineArgument(A));
  auto Sa = Inheritable();
  HANDLE R = nullptr, W = nullptr;
  ASSERT_TRUE(CreatePipe(&R, &W, &Sa, 0));
  TChild C;
  ASSERT_TRUE(Start(C, Cmd, W));
  CloseHandle(W);
  std::string Want = std::to_string(std::size(Args) + 1) + "\n<" + sxtest::DesktopHelper() + ">\n<args>\n";
  for (const auto& A : Args) Want += "<" + A + ">\n";
  EXPECT_EQ(ReadAll(R, C.Pi.hProcess), Want);
  CloseHandle(R);
}

TEST(CreateProcess, FailsForMissingOrNonExecutablePrograms) {
  sxtest::TScratchDir Dir("proc");
  std::ofstream(Dir / "plain.txt") << "not a program";
  struct TCase { std::string CommandLine; DWORD Error; const char* Why; };
  const TCase Cases[] = {
      {"sx-no-such-program-anywhere --x", ERROR_FILE_NOT_FOUND, "not on PATH"},
      {std::string(1, '"').append(Dir / "missing").append(1, '"'), ERROR_FILE_NOT_FOUND, "no such file"},
      {std::string(1, '"').append(Dir / "plain.txt").append(1, '"'), ERROR_ACCESS_DENIED, "not executable"},
      {"   ", ERROR_INVALID_PARAMETER, "nothing named"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Why);
    STARTUPINFOA Si;
    PROCESS_INFORMATION Pi;
    std::string Cmd = T.CommandLine;
    SetLastError(0);
    EXPECT_FALSE(CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi));
    EXPECT_EQ(GetLastError(), T.Error);
    EXPECT_EQ(Pi.hProcess, nullptr);
  }
}

TEST(CreateProcess, RunsInTheGivenFolderWithTheGivenEnvironment) {
  sxtest::TScratchDir Dir("cwd");
  std::string Cmd = "/bin/sh -c \"pwd; printf '%s\\n' \\\"$SX_PROBE\\\"\"";
  const char Env[] = "SX_PROBE=probe value\0PATH=/usr/bin:/bin\0";
  auto Sa = Inheritable();
  HANDLE R = nullptr, W = nullptr;
  ASSERT_TRUE(CreatePipe(&R, &W, &Sa, 0));
  STARTUPINFOA Si;
  Si.dwFlags = STARTF_USESTDHANDLES;
  Si.hStdOutput = W;
  TChild C;
  C.Started = CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, (void*)Env,
                             Dir.Path().c_str(), &Si, &C.Pi) != 0;
  ASSERT_TRUE(C.Started);
  CloseHandle(W);
  EXPECT_EQ(ReadAll(R, C.Pi.hProcess),
            std::filesystem::canonical(Dir.Path()).string() + "\nprobe value\n");
  CloseHandle(R);
}

TEST(Pipes, PeekLeavesDataForReadAndBrokenPipeIsReported) {
  HANDLE R = nullptr, W = nullptr;
  ASSERT_TRUE(CreatePipe(&R, &W, nullptr, 0));
  DWORD N = 0, Avail = 0;
  EXPECT_TRUE(PeekNamedPipe(R, nullptr, 0, nullptr, &Avail, nullptr));
  EXPECT_EQ(Avail, 0u) << "an empty pipe with a writer is not broken";
  ASSERT_TRUE(WriteFile(W, "hello", 5, &N, nullptr));
  EXPECT_EQ(N, 5u);
  char Buf[16] = {};
  ASSERT_TRUE(PeekNamedPipe(R, Buf, 3, &N, &Avail, nullptr));
  EXPECT_EQ(std::string(Buf, N), "hel");
  EXPECT_EQ(Avail, 5u);
  ASSERT_TRUE(ReadFile(R, Buf, sizeof Buf, &N, nullptr));
  EXPECT_EQ(std::string(Buf, N), "hel") << "what the peek holds comes first";
  ASSERT_TRUE(ReadFile(R, Buf, sizeof Buf, &N, nullptr));
  EXPECT_EQ(std::string(Buf, N), "lo");
  EXPECT_FALSE(ReadFile(W, Buf, 1, &N, nullptr)) << "the write end cannot be read";
  CloseHandle(W);
  EXPECT_FALSE(PeekNamedPipe(R, nullptr, 0, nullptr, &Avail, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
  EXPECT_FALSE(ReadFile(R, Buf, sizeof Buf, &N, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
  CloseHandle(R);

  // Writing into a pipe nobody reads fails; it does not end the program.
  ASSERT_TRUE(CreatePipe(&R, &W, nullptr, 0));
  CloseHandle(R);
  EXPECT_FALSE(WriteFile(W, "x", 1, &N, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_NO_DATA);
  CloseHandle(W);
}

TEST(SplitCommandLine, FollowsTheWindowsRules) {
  struct TCase { const char* Line; std::vector<std::string> Args; };
  const TCase Cases[] = {
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {"  \"C:\\Program Files\\x.exe\" \"a b\" c ", {"C:\\Program Files\\x.exe", "a b", "c"}},
      {"\"pro\\\"g\" x", {"pro\\", "g x"}},  // no backslash rules in the program name
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},          // 2n+1 backslashes: n and a quote
      {"p \"a\\\\\\\\\" b", {"p", "a\\\\", "b"}}, // 2n backslashes: n, the quote closes
      {"p a\\\\b\\", {"p", "a\\\\b\\"}},          // not before a quote: literal
      {"p \"a\"\"b\" \"\"", {"p", "a\"b", ""}},
      {"p \"open ended", {"p", "open ended"}},
      {"p x\"y z\"w", {"p", "xy zw"}},
      {"", {}},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Line);
    EXPECT_EQ(SplitCommandLine(T.Line), T.Args);
  }
}
