#include "platform/rtl/ProgramArgs.h"

#include <gtest/gtest.h>

#include "DesktopFixtures.h"
#include "platform/rtl/FileUtils.h"
#include "support/TestFiles.h"

TEST(ParamStr, GivesTheProgramAndItsArgumentsAsPassed) {
  const std::string Out = sxtest::RunCommand(sxtest::ShellQuote(sxtest::DesktopHelper()) + " args 'a b' '' '\"q\"'",
                                             nullptr, 30);
  EXPECT_EQ(Out, "4\n<" + sxtest::DesktopHelper() + ">\n<args>\n<a b>\n<>\n<\"q\">\n");
  EXPECT_EQ(ParamStr(0), ExeName());
  EXPECT_EQ(ParamStr(-1), "");
  EXPECT_EQ(ParamStr(ParamCount() + 1), "");
}

TEST(IsDebuggerPresent, FollowsTheTracer) {
  EXPECT_EQ(sxtest::RunCommand(sxtest::ShellQuote(sxtest::DesktopHelper()) + " debugger", nullptr, 30), "0\n");
  int Status = 0;
  const std::string Traced =
      sxtest::RunCommand("command -v strace >/dev/null || exit 77; strace -o /dev/null " +
                             sxtest::ShellQuote(sxtest::DesktopHelper()) + " debugger",
                         &Status, 30);
  if (Status == 77) GTEST_SKIP() << "no tracer (strace) on this machine";
  EXPECT_EQ(Traced, "1\n");
}
