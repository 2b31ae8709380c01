// RasterSupport.h — what the picture and SVG engine tests share: a fresh
// output folder per test, an engine set up as the program sets it up, and
// the outside readers (Python's PIL, pngcheck, xmllint) run on our files.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include "platform/rtl/FileUtils.h"
#include "support/TestFiles.h"

namespace raster {

// An empty folder of its own for each test and process.
inline std::string OutDir(const std::string& Name) {
  const std::string Dir = GetTempPath() + "sx_raster_" + std::to_string(getpid()) + "_" + Name + "/";
  std::string Cmd = "rm -rf '" + Dir + "'";
  if (sxtest::RunStatus(Cmd) != 0) ADD_FAILURE() << "cannot clear " << Dir;
  ForceDirectories(Dir);
  return Dir;
}

// The folders of this process go when the tests end.
class TOutDirCleanup : public ::testing::Environment {
public:
  void TearDown() override {
    const std::string Cmd = "rm -rf '" + GetTempPath() + "sx_raster_" + std::to_string(getpid()) + "_'*";
    if (sxtest::RunStatus(Cmd) != 0) std::fprintf(stderr, "cannot remove the test folders\n");
  }
};
inline ::testing::Environment* const OutDirCleanup = ::testing::AddGlobalTestEnvironment(new TOutDirCleanup);

using sxtest::ReadFile;
using sxtest::RunCommand;

inline bool HaveTool(const char* Path) { return access(Path, X_OK) == 0; }

// Runs a Python snippet under Debian's python (which has PIL) with the
// file name as sys.argv[1] (and Arg as sys.argv[2]); answers what it
// prints, trimmed.
inline std::string Py(const std::string& Script, const std::string& File, const std::string& Arg = "") {
  const std::string ScriptFile = File + ".check.py";
  {
    std::ofstream S(ScriptFile);
    S << "import sys\nfrom PIL import Image\n" << Script << "\n";
  }
  std::string Out = RunCommand("/usr/bin/python3 '" + ScriptFile + "' '" + File + "' '" + Arg + "' 2>&1");
  std::remove(ScriptFile.c_str());
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == ' ')) Out.pop_back();
  return Out;
}

// Big-endian 32-bit value at Offset.
inline unsigned BE32(const std::string& S, size_t Offset) {
  return (unsigned(Byte(S[Offset])) << 24) | (unsigned(Byte(S[Offset + 1])) << 16) |
         (unsigned(Byte(S[Offset + 2])) << 8) | unsigned(Byte(S[Offset + 3]));
}

struct TPngChunk {
  std::string Type, Data;
};
// The chunks of a PNG file in order (empty when the signature is wrong).
inline std::vector<TPngChunk> PngChunks(const std::string& File) {
  std::vector<TPngChunk> Out;
  if (File.size() < 8 || File.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return Out;
  for (size_t P = 8; P + 12 <= File.size();) {
    const unsigned Len = BE32(File, P);
    if (P + 12 + Len > File.size()) break;
    Out.push_back({File.substr(P + 4, 4), File.substr(P + 8, Len)});
    P += 12 + Len;
  }
  return Out;
}

}  // namespace raster
