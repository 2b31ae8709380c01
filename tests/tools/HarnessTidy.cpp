#include "HarnessTidy.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <thread>
#include "export/HtmlTidy.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"

extern char** environ;

namespace {

// A started child: polled with WNOHANG, ended and reaped if still running
// when this goes out of scope.
class TChild {
public:
  explicit TChild(const std::vector<std::string>& Args) {
    std::vector<char*> Argv;
    for (const std::string& A : Args) Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    // Hidden: no input, and its console output goes nowhere.
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    const int Rc = posix_spawn(&FPid, Argv[0], &Actions, nullptr, Argv.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    if (Rc != 0) {
      FPid = -1;
      throw Exception("the tidier " + Args[0] + " cannot be started: " + std::strerror(Rc));
    }
  }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  ~TChild() {
    if (FPid <= 0) return;
    kill(FPid, SIGKILL);
    while (waitpid(FPid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  // True once the child has ended (and is reaped).
  bool Ended() {
    if (FPid <= 0) return true;
    const pid_t R = waitpid(FPid, nullptr, WNOHANG);
    if (R == FPid || (R < 0 && errno != EINTR)) FPid = -1;
    return FPid <= 0;
  }

private:
  pid_t FPid = -1;
};

}  // namespace

std::string FindSystemTidy() {
  const char* Path = std::getenv("PATH");
  const std::string Dirs = Path && *Path ? Path : "/usr/bin:/bin";
  size_t Start = 0;
  while (Start <= Dirs.size()) {
    size_t End = Dirs.find(':', Start);
    if (End == std::string::npos) End = Dirs.size();
    const std::string Dir = Dirs.substr(Start, End - Start);
    const std::string Candidate = (Dir.empty() ? "." : Dir) + "/tidy";
    if (access(Candidate.c_str(), X_OK) == 0) return Candidate;
    Start = End + 1;
  }
  return "";
}

void RunTidier(const std::string& DataDir, double LimitSeconds) {
  const std::string ErrFile = DataDir + "err.txt";
  DeleteFile(ErrFile);
  const std::string CommandLine = TidyCommandLine(DataDir, {DataDir + "tdy.html"});
  TChild Child(SplitCommandLine(CommandLine));
  // The road waits for the error file alone. It also stops here once the
  // tidier has ended without one, so a broken tidier cannot hang a test.
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(LimitSeconds);
  for (;;) {
    const bool Ended = Child.Ended();
    if (FileExists(ErrFile)) break;
    if (Ended) throw Exception("the tidier ended without writing " + ErrFile + ": " + CommandLine);
    if (std::chrono::steady_clock::now() > Deadline)
      throw Exception("the tidier wrote no " + ErrFile + " within its time limit: " + CommandLine);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // The tidier opens its error file before it rewrites tdy.html, so the
  // file alone does not mean the page is complete: let the tidier end.
  while (!Child.Ended()) {
    if (std::chrono::steady_clock::now() > Deadline)
      throw Exception("the tidier did not end within its time limit: " + CommandLine);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  DeleteFile(ErrFile);
}
