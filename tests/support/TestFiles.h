// TestFiles.h — what tests of many folders do with files and outside
// programs: read a file whole, and run a command for its standard output.
// Every outside program a test starts goes through RunCommand (or
// RunStatus), so none can hold the suite up: each runs under `timeout`.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sxtest {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& P) {
  std::ifstream In(P, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

// The file's bytes as numbers; empty when it cannot be read.
inline std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& P) {
  std::ifstream In(P, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

// S as one word of the shell, whatever bytes it holds.
inline std::string ShellQuote(const std::string& S) {
  std::string Q = "'";
  for (char C : S) Q += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Q + "'";
}

// How long an outside program may run before it is ended. Readers of our
// small test files answer in a second; the office suite takes the longest.
constexpr int DefaultCommandSeconds = 120;

// The shell command Cmd as it is run: under `timeout`, which ends it (and,
// after a grace period, kills it) when it outlives Seconds.
inline std::string BoundedCommand(const std::string& Cmd, int Seconds = DefaultCommandSeconds) {
  return "/usr/bin/timeout -k 5 " + std::to_string(Seconds) + " /bin/sh -c " + ShellQuote(Cmd);
}

// Standard output of a shell command; Status gets its exit status, or -1
// when it could not start or did not end normally (124 when it ran out of
// time).
inline std::string RunCommand(const std::string& Cmd, int* Status = nullptr,
                              int Seconds = DefaultCommandSeconds) {
  std::string Out;
  if (Status) *Status = -1;
  FILE* P = popen(BoundedCommand(Cmd, Seconds).c_str(), "r");
  if (!P) return Out;
  char Buf[4096];
  for (std::size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
  const int Rc = pclose(P);
  if (Status) *Status = WIFEXITED(Rc) ? WEXITSTATUS(Rc) : -1;
  return Out;
}

// The exit status of a shell command whose output is not wanted (it goes
// where the command sends it), under the same bound; -1 as above.
inline int RunStatus(const std::string& Cmd, int Seconds = DefaultCommandSeconds) {
  const int Rc = std::system(BoundedCommand(Cmd, Seconds).c_str());
  return Rc != -1 && WIFEXITED(Rc) ? WEXITSTATUS(Rc) : -1;
}

}  // namespace sxtest
