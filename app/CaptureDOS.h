// CaptureDOS.h — runs a console program hidden while the window stays
// responsive: the program's messages are pumped between short waits, the
// child's output is drained (kept up to a bound, the rest read and
// dropped, so the child never blocks on a full pipe), its standard input is
// empty, and a child that outlives its time limit is ended. The caller
// learns how the run ended and reports what matters to it.
#pragma once
#include <cstddef>
#include "platform/rtl/Types.h"

struct TConsoleToolLimits {
  DWORD PollMilliseconds = 100;            // the longest stretch without pumping messages
  Integer MaxPolls = 151;                   // about fifteen seconds in all
  std::size_t MaxOutput = 1024 * 1024;      // bytes kept of the child's output
};

enum class TConsoleToolEnd {
  NotStarted,  // the program could not be started (Error says why)
  Ended,       // the child ended by itself (ExitCode)
  Killed,      // the child outlived its limit and was ended
};

struct TConsoleToolResult {
  TConsoleToolEnd End = TConsoleToolEnd::NotStarted;
  DWORD ExitCode = 0;
  AnsiString Output;              // standard output and error, ANSI code page
  bool OutputTruncated = false;   // more than MaxOutput bytes came and were dropped
  AnsiString Error;               // NotStarted: the reason, one line
};

// Runs CommandLine (split by the Windows rules; no shell) and returns once
// the child has ended, or after MaxPolls polls, when it is ended first.
// Never throws for the child's sake; errors raised by the pumped messages'
// handlers reach the caller (the child is ended and reaped first).
TConsoleToolResult RunConsoleTool(const AnsiString& CommandLine, const TConsoleToolLimits& Limits = {});
