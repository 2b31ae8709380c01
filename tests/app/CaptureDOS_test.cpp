// The console tool runner: a child gets no input, its output is kept up to
// a bound and drained past it, a child that outlives its limit is ended,
// and a program that cannot start is named in the result. The tidier's
// command line reaches the tidier as the paths it was built from.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include "app/CaptureDOS.h"
#include "export/HtmlTidy.h"
#include "support/ScratchDir.h"

namespace {

TConsoleToolLimits Quick(Integer Polls) {
  TConsoleToolLimits L;
  L.PollMilliseconds = 50;
  L.MaxPolls = Polls;
  return L;
}

TEST(RunConsoleTool, MissingProgramIsNamedAndNothingRuns) {
  const auto R = RunConsoleTool("\"/no/such/dir/tidy\" -f x");
  EXPECT_EQ(R.End, TConsoleToolEnd::NotStarted);
  EXPECT_NE(R.Error.find("/no/such/dir/tidy"), AnsiString::npos) << R.Error;
}

TEST(RunConsoleTool, ChildReadingItsInputSeesEndOfFileAtOnce) {
  // Given the pipe's own read end as input, cat would wait for ever.
  const auto Started = std::chrono::steady_clock::now();
  const auto R = RunConsoleTool("/bin/cat", Quick(100));
  EXPECT_EQ(R.End, TConsoleToolEnd::Ended);
  EXPECT_EQ(R.ExitCode, 0u);
  EXPECT_TRUE(R.Output.empty());
  EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::seconds(4));
}

TEST(RunConsoleTool, OutputAndExitCodeOfAShortChild) {
  const auto R = RunConsoleTool("/bin/sh -c \"echo out; echo err >&2; exit 3\"", Quick(100));
  EXPECT_EQ(R.End, TConsoleToolEnd::Ended);
  EXPECT_EQ(R.ExitCode, 3u);
  EXPECT_NE(R.Output.find("out"), AnsiString::npos);
  EXPECT_NE(R.Output.find("err"), AnsiString::npos);
  EXPECT_FALSE(R.OutputTruncated);
}

TEST(RunConsoleTool, OutputPastTheBoundIsDrainedAndDropped) {
  // Three times the bound: the child must never block on a full pipe.
  TConsoleToolLimits L = Quick(400);
  L.MaxOutput = 1024 * 1024;
  const auto R = RunConsoleTool("/usr/bin/head -c 3145728 /dev/zero", L);
  EXPECT_EQ(R.End, TConsoleToolEnd::Ended);
  EXPECT_EQ(R.Output.size(), L.MaxOutput);
  EXPECT_TRUE(R.OutputTruncated);
}

TEST(RunConsoleTool, ChildOutlivingItsLimitIsEnded) {
  const auto Started = std::chrono::steady_clock::now();
  const auto R = RunConsoleTool("/bin/sleep 30", Quick(4));
  EXPECT_EQ(R.End, TConsoleToolEnd::Killed);
  EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::seconds(10));
}

// Blanks, quotes and backslashes in the data folder or a page's name
// arrive at the tidier unchanged, each page after its own -im.
TEST(TidyCommandLine, EveryPathReachesTheTidierAsWritten) {
  sxtest::TScratchDir Scratch("tidy-args");
  const std::string Data = Scratch / "my data" + "/";
  std::filesystem::create_directories(Data);
  {
    std::ofstream Tidy(Data + "tidy");
    Tidy << "#!/bin/sh\nfor A in \"$@\"; do printf '[%s]\\n' \"$A\"; done\n";
  }
  std::filesystem::permissions(Data + "tidy", std::filesystem::perms::owner_all);
  const std::vector<AnsiString> Pages = {Data + "tdy.html", "/out/a b.html", "/out/say \"hi\".html",
                                         "/out/back\\slash.html", "/out/back\\\"quote.html", "/out/tail\\"};
  const auto R = RunConsoleTool(TidyCommandLine(Data, Pages), Quick(100));
  ASSERT_EQ(R.End, TConsoleToolEnd::Ended) << R.Error;
  AnsiString Expected = "[-config]\n[" + Data + "tdy_config.txt]\n[-f]\n[" + Data + "err.txt]\n";
  for (const AnsiString& P : Pages) Expected += "[-im]\n[" + P + "]\n";
  EXPECT_EQ(R.Output, Expected);
}

}  // namespace
