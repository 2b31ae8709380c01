// The console tool runner: a child gets no input, its output is kept up to
// a bound and drained past it, a child that outlives its limit is ended,
// and a program that cannot start is named in the result.
#include <gtest/gtest.h>

#include <chrono>
#include "app/CaptureDOS.h"

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

}  // namespace
