// TestFiles.h — what tests of many folders do with files and outside
// programs: read a file whole, and run a command for its standard output.
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

// Standard output of a shell command; Status gets its exit status, or -1
// when it could not start or did not end normally.
inline std::string RunCommand(const std::string& Cmd, int* Status = nullptr) {
  std::string Out;
  if (Status) *Status = -1;
  FILE* P = popen(Cmd.c_str(), "r");
  if (!P) return Out;
  char Buf[4096];
  for (std::size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
  const int Rc = pclose(P);
  if (Status) *Status = WIFEXITED(Rc) ? WEXITSTATUS(Rc) : -1;
  return Out;
}

}  // namespace sxtest
