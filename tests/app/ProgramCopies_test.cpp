// The program itself, started as a user starts it (headless): with one
// instance allowed, a second start while the first runs is refused and
// ends by itself; the first copy keeps running and counts once. Each test
// installs its own copy of the program, so runs do not meet.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

#include "app/desktop/InstanceControl.h"
#include "platform/shell/Processes.h"
#include "platform/win/FileMapping.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {
namespace fs = std::filesystem;

class ProgramCopiesTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::permissions(FRuntime.Path(), fs::perms::owner_all);
    // The program as installed: the executable with its data folder and
    // form descriptions beside it, under a path with a blank.
    const fs::path Dir = FScratch.Path() / "Sourcelux App";
    fs::create_directories(Dir);
    FProgram = (Dir / "sourcelux").string();
    std::error_code Ec;
    fs::create_hard_link(SX_SOURCELUX, FProgram, Ec);
    if (Ec) fs::copy_file(SX_SOURCELUX, FProgram);
    fs::copy(SX_SOURCE_DIR "/data", Dir / "data", fs::copy_options::recursive);
    fs::copy(SX_SOURCE_DIR "/resources", Dir / "resources", fs::copy_options::recursive);
    FName = TadpInstanceControl::MappingNameOf(FProgram);
  }
  void TearDown() override {
    ::shm_unlink(FileMappingObjectName(FName).c_str());
    for (int I = 0; I < 4; ++I) ::shm_unlink(FileMappingObjectName(FName + "|seat" + std::to_string(I)).c_str());
  }
  std::unique_ptr<sxtest::TChildProcess> Start() {
    const std::string Doc = QuoteCommandLineArgument(SX_SOURCE_DIR "/data/sample.rtf");
    auto C = std::make_unique<sxtest::TChildProcess>(QuoteCommandLineArgument(FProgram) + " x Indent " + Doc);
    EXPECT_TRUE(C->Started());
    return C;
  }
  // The number of admitted copies the shared block holds; -1 without one.
  int Admitted() {
    HANDLE M = OpenFileMappingA(FILE_MAP_READ, FALSE, FName.c_str());
    if (!M) return -1;
    auto* V = static_cast<std::uint32_t*>(MapViewOfFile(M, FILE_MAP_READ, 0, 0, 8));
    const int N = V ? int(V[1]) : -1;
    if (V) UnmapViewOfFile(V);
    CloseHandle(M);
    return N;
  }
  bool WaitForAdmitted(int Want) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < End) {
      if (Admitted() == Want) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  sxtest::TScratchDir FScratch{"copies"}, FRuntime{"copies-runtime"}, FConfig{"copies-config"};
  sxtest::TEnvVar FRuntimeVar{"XDG_RUNTIME_DIR", FRuntime.Path().string()};
  sxtest::TEnvVar FConfigVar{"XDG_CONFIG_HOME", FConfig.Path().string()};
  sxtest::TEnvVar FDisplayVar{"SX_DISPLAY", "headless"};
  std::string FProgram, FName;
};
}  // namespace

TEST_F(ProgramCopiesTest, ASecondCopyIsRefusedWhileTheFirstRuns) {
  auto First = Start();
  ASSERT_TRUE(WaitForAdmitted(1)) << "the first copy never came up";
  auto Second = Start();
  EXPECT_EQ(Second->Wait(30000), 0) << "the refused copy ends by itself";
  EXPECT_EQ(Admitted(), 1) << "a refused copy does not count";
  // Once the first is gone the next start is admitted (and starts with
  // the editor options the refused copy stored as it ended).
  First->Kill();
  auto Third = Start();
  EXPECT_TRUE(WaitForAdmitted(1));
  EXPECT_EQ(Third->Wait(500), -1) << "the admitted copy keeps running";
  Third->Kill();
}
