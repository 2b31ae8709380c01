// desktop-helper — the child program of the desktop tests. Each mode does
// one thing a test needs from another process; every mode ends by itself
// within a minute (alarm), so no test can leave it behind for long.
//   args               prints ParamCount, then ParamStr(0..ParamCount), one "<...>" per line
//   spew N             writes N bytes of 'a'..'z' to standard output
//   hang               waits until ended
//   exit N             ends with status N
//   debugger           prints IsDebuggerPresent
//   instance NAME      single-instance guard: see RunInstance
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/rtl/ProgramArgs.h"
#include "helper/InstanceProgram.h"

int main(int argc, char** argv) {
  alarm(60);
  const std::string Mode = argc > 1 ? argv[1] : "";
  if (Mode == "args") {
    std::printf("%d\n", int(ParamCount()));
    for (int I = 0; I <= ParamCount(); ++I) std::printf("<%s>\n", ParamStr(I).c_str());
    return 0;
  }
  if (Mode == "spew" && argc > 2) {
    long N = std::atol(argv[2]);
    char Buf[4096];
    for (long Done = 0; Done < N;) {
      int K = int(std::min<long>(sizeof Buf, N - Done));
      for (int I = 0; I < K; ++I) Buf[I] = char('a' + (Done + I) % 26);
      if (write(1, Buf, std::size_t(K)) != K) return 3;
      Done += K;
    }
    return 0;
  }
  if (Mode == "hang") {
    for (;;) pause();
  }
  if (Mode == "exit" && argc > 2) return std::atoi(argv[2]);
  if (Mode == "debugger") {
    std::printf("%d\n", int(IsDebuggerPresent()));
    return 0;
  }
  if (Mode == "instance" && argc > 2) return RunInstance(argv[2]);
  std::fprintf(stderr, "desktop-helper: unknown mode\n");
  return 2;
}
