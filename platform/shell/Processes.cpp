#include "platform/shell/Processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

extern char** environ;

// ---- kernel objects ---------------------------------------------------------

namespace {
// One end of a pipe. A peek takes waiting bytes out of the pipe into
// Peeked, which the next read hands out first.
class TPipeEnd : public TKernelObjectBase {
public:
  TPipeEnd(int AFd, bool AReadEnd, bool AInheritable) : Fd(AFd), ReadEnd(AReadEnd), Inheritable(AInheritable) {}
  ~TPipeEnd() override { ::close(Fd); }
  const int Fd;
  const bool ReadEnd;
  const bool Inheritable;
  std::mutex Lock;
  std::string Peeked;
};

// A child process. A reaper thread waits for its end without reaping it
// first (WNOWAIT), so that TerminateProcess, which holds the same lock,
// never signals a process id that has been reused.
class TProcessObject : public TKernelObjectBase {
public:
  explicit TProcessObject(pid_t APid) : Pid(APid) {}
  bool Signalled() const override { return Exited.load(); }
  const pid_t Pid;
  std::mutex Lock;
  std::atomic<bool> Exited{false};
  DWORD ExitCode = STILL_ACTIVE;
  std::optional<DWORD> TerminateCode;
};

// The process's primary thread: its handle is signalled with the process.
class TProcessThread : public TKernelObjectBase {
public:
  explicit TProcessThread(std::shared_ptr<TProcessObject> P) : Process(std::move(P)) {}
  bool Signalled() const override { return Process->Signalled(); }
  std::shared_ptr<TProcessObject> Process;
};

void Reap(std::shared_ptr<TProcessObject> P) {
  siginfo_t Info{};
  int Rc;
  do Rc = ::waitid(P_PID, id_t(P->Pid), &Info, WEXITED | WNOWAIT);
  while (Rc < 0 && errno == EINTR);
  {
    std::lock_guard<std::mutex> L(P->Lock);
    if (Rc == 0) {
      if (Info.si_code == CLD_EXITED) P->ExitCode = DWORD(Info.si_status);
      else if (P->TerminateCode) P->ExitCode = *P->TerminateCode;
      else P->ExitCode = DWORD(128 + Info.si_status);
      ::waitpid(P->Pid, nullptr, WNOHANG);
    } else {
      P->ExitCode = 0;  // reaped elsewhere (SIGCHLD ignored): nothing known
    }
    P->Exited = true;
  }
  KernelObjectChanged();
}

std::shared_ptr<TPipeEnd> PipeOf(HANDLE H) {
  auto P = KernelLookupAs<TPipeEnd>(H);
  if (!P) SetLastError(ERROR_INVALID_HANDLE);
  return P;
}

DWORD ErrorOfErrno(int E) {
  switch (E) {
    case ENOENT: case ENOTDIR: return ERROR_FILE_NOT_FOUND;
    case EACCES: case EPERM: return ERROR_ACCESS_DENIED;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_PARAMETER;
  }
}

// Bytes waiting in the pipe itself (not counting what a peek holds).
int WaitingInPipe(int Fd) {
  int N = 0;
  return ::ioctl(Fd, FIONREAD, &N) == 0 ? N : 0;
}

bool WritersGone(int Fd) {
  pollfd P{Fd, POLLIN, 0};
  return ::poll(&P, 1, 0) == 1 && (P.revents & POLLHUP) && WaitingInPipe(Fd) == 0;
}
}  // namespace

// ---- pipes ------------------------------------------------------------------

BOOL CreatePipe(HANDLE* ReadPipe, HANDLE* WritePipe, SECURITY_ATTRIBUTES* Attributes, DWORD) {
  if (!ReadPipe || !WritePipe) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int Fds[2];
  if (::pipe2(Fds, O_CLOEXEC) != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  const bool Inherit = Attributes && Attributes->bInheritHandle;
  auto R = std::make_shared<TPipeEnd>(Fds[0], /*ReadEnd=*/true, Inherit);
  auto W = std::make_shared<TPipeEnd>(Fds[1], /*ReadEnd=*/false, Inherit);
  *ReadPipe = KernelAddObject(std::move(R));
  *WritePipe = KernelAddObject(std::move(W));
  return TRUE;
}

BOOL ReadFile(HANDLE File, void* Buffer, DWORD ToRead, DWORD* Read, void* Overlapped) {
  if (Read) *Read = 0;
  if (Overlapped) SX_NOT_IMPLEMENTED("ReadFile with an overlapped record");
  auto P = PipeOf(File);
  if (!P) return FALSE;
  if (!P->ReadEnd || (!Buffer && ToRead)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (ToRead == 0) return TRUE;
  std::lock_guard<std::mutex> L(P->Lock);
  auto* Out = static_cast<char*>(Buffer);
  DWORD Got = 0;
  if (!P->Peeked.empty()) {
    Got = DWORD(std::min<std::size_t>(ToRead, P->Peeked.size()));
    std::memcpy(Out, P->Peeked.data(), Got);
    P->Peeked.erase(0, Got);
  } else {
    ssize_t N;
    do N = ::read(P->Fd, Out, ToRead);
    while (N < 0 && errno == EINTR);
    if (N <= 0) {
      SetLastError(N == 0 ? ERROR_BROKEN_PIPE : ERROR_INVALID_HANDLE);
      return FALSE;
    }
    Got = DWORD(N);
  }
  if (Read) *Read = Got;
  return TRUE;
}

BOOL WriteFile(HANDLE File, const void* Buffer, DWORD Count, DWORD* Written, void* Overlapped) {
  if (Written) *Written = 0;
  if (Overlapped) SX_NOT_IMPLEMENTED("WriteFile with an overlapped record");
  auto P = PipeOf(File);
  if (!P) return FALSE;
  if (P->ReadEnd || (!Buffer && Count)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // A pipe without readers must fail the write, not end the program:
  // SIGPIPE is held back for the write and a pending one taken away.
  sigset_t Pipe, Old;
  sigemptyset(&Pipe);
  sigaddset(&Pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &Pipe, &Old);
  const auto* In = static_cast<const char*>(Buffer);
  DWORD Done = 0;
  bool Broken = false;
  while (Done < Count) {
    ssize_t N = ::write(P->Fd, In + Done, Count - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) {
      Broken = true;
      break;
    }
    Done += DWORD(N);
  }
  if (Broken) {
    const timespec Zero{0, 0};
    while (sigtimedwait(&Pipe, nullptr, &Zero) == SIGPIPE) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &Old, nullptr);
  if (Written) *Written = Done;
  if (Broken) {
    SetLastError(ERROR_NO_DATA);
    return FALSE;
  }
  return TRUE;
}

BOOL PeekNamedPipe(HANDLE Pipe, void* Buffer, DWORD BufferSize, DWORD* BytesRead, DWORD* TotalAvailable,
                   DWORD* LeftThisMessage) {
  if (BytesRead) *BytesRead = 0;
  if (TotalAvailable) *TotalAvailable = 0;
  if (LeftThisMessage) *LeftThisMessage = 0;
  auto P = PipeOf(Pipe);
  if (!P) return FALSE;
  if (!P->ReadEnd) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::lock_guard<std::mutex> L(P->Lock);
  if (P->Peeked.empty() && WritersGone(P->Fd)) {
    SetLastError(ERROR_BROKEN_PIPE);
    return FALSE;
  }
  if (Buffer && BufferSize > P->Peeked.size()) {
    // Take what waits (never more than asked for) into the peek buffer;
    // the next ReadFile hands it out first.
    const std::size_t Want = std::min<std::size_t>(BufferSize - P->Peeked.size(), WaitingInPipe(P->Fd));
    if (Want) {
      std::string More(Want, '\0');
      ssize_t N = ::read(P->Fd, More.data(), Want);
      if (N > 0) P->Peeked.append(More.data(), std::size_t(N));
    }
  }
  if (Buffer) {
    const DWORD N = DWORD(std::min<std::size_t>(BufferSize, P->Peeked.size()));
    std::memcpy(Buffer, P->Peeked.data(), N);
    if (BytesRead) *BytesRead = N;
  }
  if (TotalAvailable) *TotalAvailable = DWORD(P->Peeked.size() + std::size_t(WaitingInPipe(P->Fd)));
  return TRUE;
}

// ---- command lines ----------------------------------------------------------

std::vector<AnsiString> SplitCommandLine(const AnsiString& S) {
  std::vector<AnsiString> Args;
  std::size_t I = 0;
  const std::size_t N = S.size();
  auto Blank = [](char C) { return C == ' ' || C == '\t'; };
  while (I < N && Blank(S[I])) ++I;
  if (I == N) return Args;
  // The program: quotes group, backslashes are path separators there.
  {
    AnsiString Arg;
    if (S[I] == '"') {
      ++I;
      while (I < N && S[I] != '"') Arg += S[I++];
      if (I < N) ++I;
    } else {
      while (I < N && !Blank(S[I])) Arg += S[I++];
    }
    Args.push_back(Arg);
  }
  for (;;) {
    while (I < N && Blank(S[I])) ++I;
    if (I == N) break;
    AnsiString Arg;
    bool Quoted = false;
    while (I < N && (Quoted || !Blank(S[I]))) {
      if (S[I] == '\\') {
        std::size_t Count = 0;
        while (I < N && S[I] == '\\') ++Count, ++I;
        if (I < N && S[I] == '"') {
          Arg.append(Count / 2, '\\');
          if (Count % 2) {
            Arg += '"';
            ++I;
          }
        } else {
          Arg.append(Count, '\\');
        }
      } else if (S[I] == '"') {
        if (Quoted && I + 1 < N && S[I + 1] == '"') {
          Arg += '"';
          I += 2;
        } else {
          Quoted = !Quoted;
          ++I;
        }
      } else {
        Arg += S[I++];
      }
    }
    Args.push_back(Arg);
  }
  return Args;
}

AnsiString QuoteCommandLineArgument(const AnsiString& A) {
  if (!A.empty() && A.find_first_of(" \t\"") == AnsiString::npos) return A;
  AnsiString Q = "\"";
  std::size_t Slashes = 0;
  for (char C : A) {
    if (C == '\\') {
      ++Slashes;
    } else if (C == '"') {
      Q.append(Slashes + 1, '\\');
      Slashes = 0;
    } else {
      Slashes = 0;
    }
    Q += C;
  }
  Q.append(Slashes, '\\');  // before the closing quote they must double
  return Q + "\"";
}

// ---- processes --------------------------------------------------------------

namespace {
// The descriptor a standard handle gives the child, or -1 for /dev/null.
int StdFdOf(HANDLE H, bool Inherit) {
  if (!Inherit || !H || H == INVALID_HANDLE_VALUE) return -1;
  auto P = KernelLookupAs<TPipeEnd>(H);
  return P && P->Inheritable ? P->Fd : -1;
}

bool IsExecutableFile(const AnsiString& Path) {
  struct stat St{};
  return ::stat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode) && ::access(Path.c_str(), X_OK) == 0;
}
}  // namespace

BOOL CreateProcessA(const char* ApplicationName, char* CommandLine, SECURITY_ATTRIBUTES*, SECURITY_ATTRIBUTES*,
                    BOOL InheritHandles, DWORD CreationFlags, void* Environment, const char* CurrentDirectory,
                    STARTUPINFOA* StartupInfo, PROCESS_INFORMATION* Info) {
  if (CreationFlags & CREATE_SUSPENDED) SX_NOT_IMPLEMENTED("CreateProcess with CREATE_SUSPENDED");
  std::vector<AnsiString> Args = SplitCommandLine(CommandLine ? AnsiString(CommandLine) : AnsiString());
  AnsiString Program = ApplicationName ? AnsiString(ApplicationName) : (Args.empty() ? AnsiString() : Args[0]);
  if (Args.empty()) Args.push_back(Program);
  if (Program.empty() || !Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A relative name with a folder part means the parent's current folder,
  // also when the child starts in another one.
  if (Program.find('/') != AnsiString::npos && Program[0] != '/') {
    char Cwd[4096];
    if (::getcwd(Cwd, sizeof Cwd)) Program = AnsiString(Cwd) + "/" + Program;
  }
  if (Program.find('/') != AnsiString::npos && !IsExecutableFile(Program)) {
    SetLastError(::access(Program.c_str(), F_OK) == 0 ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    return FALSE;
  }

  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  const bool Std = StartupInfo && (StartupInfo->dwFlags & STARTF_USESTDHANDLES);
  const HANDLE StdHandles[3] = {Std ? StartupInfo->hStdInput : nullptr, Std ? StartupInfo->hStdOutput : nullptr,
                                Std ? StartupInfo->hStdError : nullptr};
  for (int Target = 0; Target < 3; ++Target) {
    const int Fd = StdFdOf(StdHandles[Target], InheritHandles != 0);
    if (Fd >= 0) posix_spawn_file_actions_adddup2(&Actions, Fd, Target);
    else posix_spawn_file_actions_addopen(&Actions, Target, "/dev/null", Target == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  if (CurrentDirectory && *CurrentDirectory) posix_spawn_file_actions_addchdir_np(&Actions, CurrentDirectory);

  // The child starts with no blocked and no ignored signals.
  posix_spawnattr_t Attr;
  posix_spawnattr_init(&Attr);
  sigset_t None, All;
  sigemptyset(&None);
  sigfillset(&All);
  posix_spawnattr_setsigmask(&Attr, &None);
  posix_spawnattr_setsigdefault(&Attr, &All);
  posix_spawnattr_setflags(&Attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> Argv;
  for (auto& A : Args) Argv.push_back(A.data());
  Argv.push_back(nullptr);
  std::vector<AnsiString> EnvStrings;
  std::vector<char*> Envp;
  char** EnvArg = environ;
  if (Environment) {
    for (const char* E = static_cast<const char*>(Environment); *E; E += std::strlen(E) + 1) EnvStrings.emplace_back(E);
    for (auto& E : EnvStrings) Envp.push_back(E.data());
    Envp.push_back(nullptr);
    EnvArg = Envp.data();
  }

  pid_t Pid = 0;
  const int Rc = Program.find('/') != AnsiString::npos
                     ? posix_spawn(&Pid, Program.c_str(), &Actions, &Attr, Argv.data(), EnvArg)
                     : posix_spawnp(&Pid, Program.c_str(), &Actions, &Attr, Argv.data(), EnvArg);
  posix_spawn_file_actions_destroy(&Actions);
  posix_spawnattr_destroy(&Attr);
  if (Rc != 0) {
    SetLastError(ErrorOfErrno(Rc));
    return FALSE;
  }
  auto P = std::make_shared<TProcessObject>(Pid);
  std::thread(Reap, P).detach();
  Info->hProcess = KernelAddObject(P);
  Info->hThread = KernelAddObject(std::make_shared<TProcessThread>(P));
  Info->dwProcessId = DWORD(Pid);
  Info->dwThreadId = DWORD(Pid);
  return TRUE;
}

namespace {
std::shared_ptr<TProcessObject> ProcessOf(HANDLE H) {
  auto P = KernelLookupAs<TProcessObject>(H);
  if (!P) SetLastError(ERROR_INVALID_HANDLE);
  return P;
}
}  // namespace

BOOL GetExitCodeProcess(HANDLE Process, DWORD* ExitCode) {
  auto P = ProcessOf(Process);
  if (!P || !ExitCode) return FALSE;
  std::lock_guard<std::mutex> L(P->Lock);
  *ExitCode = P->Exited ? P->ExitCode : STILL_ACTIVE;
  return TRUE;
}

BOOL TerminateProcess(HANDLE Process, UINT ExitCode) {
  auto P = ProcessOf(Process);
  if (!P) return FALSE;
  std::lock_guard<std::mutex> L(P->Lock);
  if (P->Exited) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // Not reaped yet (the reaper needs this lock), so the id is still ours.
  if (!P->TerminateCode) P->TerminateCode = ExitCode;
  return ::kill(P->Pid, SIGKILL) == 0 ? TRUE : FALSE;
}

DWORD GetProcessId(HANDLE Process) {
  auto P = KernelLookupAs<TProcessObject>(Process);
  return P ? DWORD(P->Pid) : 0;
}
