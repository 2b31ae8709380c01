#include "platform/rtl/ProgramArgs.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rtl/FileUtils.h"

namespace {
// Read once: the list never changes while the program runs.
const std::vector<AnsiString>& Arguments() {
  static const std::vector<AnsiString> Args = [] {
    std::ifstream In("/proc/self/cmdline", std::ios::binary);
    const std::string All{std::istreambuf_iterator<char>(In), {}};
    std::vector<AnsiString> R;
    std::size_t Start = 0;
    while (Start < All.size()) {
      std::size_t End = All.find('\0', Start);
      if (End == std::string::npos) End = All.size();
      R.push_back(All.substr(Start, End - Start));
      Start = End + 1;
    }
    return R;
  }();
  return Args;
}
}  // namespace

Integer ParamCount() {
  const auto& A = Arguments();
  return A.empty() ? 0 : Integer(A.size() - 1);
}

AnsiString ParamStr(Integer Index) {
  if (Index == 0) return ExeName();
  const auto& A = Arguments();
  if (Index < 0 || std::size_t(Index) >= A.size()) return {};
  return A[std::size_t(Index)];
}

BOOL IsDebuggerPresent() {
  std::ifstream In("/proc/self/status");
  for (std::string Line; std::getline(In, Line);)
    if (Line.rfind("TracerPid:", 0) == 0) return std::stol(Line.substr(10)) != 0 ? TRUE : FALSE;
  return FALSE;
}
