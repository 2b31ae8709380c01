// HarnessRun.h — runs the conversion harness from a test, the way a user's
// shell would, and collects what it answered: the exit status, the output
// files it named on stdout and its one-line error on stderr.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "support/TestFiles.h"

namespace sxtest {

struct THarnessResult {
  int Status = -1;                  // the exit status, or -1 when it did not exit
  std::vector<std::string> Files;   // the output files, one per line of stdout
  std::string Error;                // what it wrote on stderr
};

inline std::string HarnessQuote(const std::string& S) {
  std::string R = "'";
  for (char C : S) R += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return R + "'";
}

// How the input reaches an engine: through the editor, as the application
// converts it, or as the input's own RTF (the harness's --input-rtf), for
// tests of what an engine makes of a whole document.
enum class THarnessInput { Editor, InputRtf };

// convert-harness IN FORMAT OUT, with the test's environment.
inline THarnessResult RunConvertHarness(const std::string& In, const std::string& Format, const std::string& Out,
                                        THarnessInput Input = THarnessInput::Editor) {
  const std::string Base = Out + ".harness";
  const std::string Cmd = HarnessQuote(SX_CONVERT_HARNESS) +
                          (Input == THarnessInput::InputRtf ? " --input-rtf " : " ") + HarnessQuote(In) + " " +
                          HarnessQuote(Format) + " " + HarnessQuote(Out) + " >" +
                          HarnessQuote(Base + ".out") + " 2>" + HarnessQuote(Base + ".err");
  THarnessResult R;
  R.Status = RunStatus(Cmd, 300);
  std::istringstream Lines(ReadFile(Base + ".out"));
  for (std::string L; std::getline(Lines, L);)
    if (!L.empty()) R.Files.push_back(L);
  R.Error = ReadFile(Base + ".err");
  std::remove((Base + ".out").c_str());
  std::remove((Base + ".err").c_str());
  return R;
}

}  // namespace sxtest
