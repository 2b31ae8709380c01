#include "export/HtmlTidy.h"

namespace {
// Enclosed in quotes by the command line's splitting rules: backslashes
// double only where a quote follows them.
AnsiString QuotedArgument(const AnsiString& S) {
  AnsiString Q = "\"";
  std::size_t Slashes = 0;
  for (char C : S) {
    if (C == '\\') {
      ++Slashes;
    } else {
      if (C == '"') Q.append(Slashes + 1, '\\');
      Slashes = 0;
    }
    Q += C;
  }
  Q.append(Slashes, '\\');
  return Q + "\"";
}
}  // namespace

AnsiString TidyCommandLine(const AnsiString& DataDir, const std::vector<AnsiString>& Pages) {
  // The program's name follows no escaping rules: it runs to the next quote.
  AnsiString Line = "\"" + DataDir + "tidy\" -config " + QuotedArgument(DataDir + "tdy_config.txt") + " -f " +
                    QuotedArgument(DataDir + "err.txt");
  for (const AnsiString& Page : Pages) Line += " -im " + QuotedArgument(Page);
  return Line;
}
