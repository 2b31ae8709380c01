#include "platform/win/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "DesktopFixtures.h"
#include "support/ChildProcess.h"
#include "platform/shell/Processes.h"

namespace {
// Runs with a private runtime folder and removes the shared memory objects
// of the names it used.
class FileMappingTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* Old = std::getenv("XDG_RUNTIME_DIR");
    FOldRuntime = Old ? Old : "";
    FHadRuntime = Old != nullptr;
    ::chmod(FRuntime.Path().c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", FRuntime.Path().c_str(), 1);
  }
  void TearDown() override {
    for (const auto& N : FNames) ::shm_unlink(FileMappingObjectName(N).c_str());
    if (FHadRuntime) setenv("XDG_RUNTIME_DIR", FOldRuntime.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }
  std::string Name(const std::string& Tag) {
    FNames.push_back("C:sxtest" + Tag + std::to_string(getpid()));
    return FNames.back();
  }
  sxtest::TScratchDir FRuntime{"runtime"};
  std::string FOldRuntime;
  bool FHadRuntime = false;
  std::vector<std::string> FNames;
};

// A helper copy with its output on a pipe; ended when the test ends.
struct TCopy : sxtest::TChildProcess {
  explicit TCopy(const std::string& Name)
      : TChildProcess(QuoteCommandLineArgument(sxtest::DesktopHelper()) + " instance " + QuoteCommandLineArgument(Name)) {
    EXPECT_TRUE(Started());
  }
};
}  // namespace

TEST_F(FileMappingTest, TheSecondCopyRaisesTheFirstAndAKilledFirstLeavesTheNextStartFree) {
  const std::string N = Name("guard");
  TCopy First(N);
  ASSERT_EQ(First.Line(), "first");
  {
    TCopy Second(N);
    EXPECT_EQ(Second.Line(), "second activated=1 count=1");
  }
  EXPECT_EQ(First.Line(), "raised iconic=0 foreground=1") << "restored from minimized and in front";

  First.Kill();  // SIGKILL: no chance to clean up
  TCopy Next(N);
  EXPECT_EQ(Next.Line(), "first") << "a dead copy must not hold the name";
  Next.Kill();
  TCopy Last(N);
  EXPECT_EQ(Last.Line(), "first");
}

TEST_F(FileMappingTest, NamedMappingsShareMemoryWhileHeld) {
  const std::string N = Name("share");
  HANDLE A = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, N.c_str());
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  auto* VA = static_cast<std::uint32_t*>(MapViewOfFile(A, FILE_MAP_ALL_ACCESS, 0, 0, 8));
  ASSERT_NE(VA, nullptr);
  EXPECT_EQ(VA[0] | VA[1], 0u) << "a new block starts zeroed";
  VA[1] = 41;
  HANDLE B = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, ("Local\\" + N).c_str());
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  HANDLE C = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, N.c_str());
  ASSERT_NE(C, nullptr);
  auto* VC = static_cast<std::uint32_t*>(MapViewOfFile(C, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(VC, nullptr);
  EXPECT_EQ(VC[1], 41u);
  ++VC[1];
  EXPECT_EQ(VA[1], 42u);
  EXPECT_TRUE(UnmapViewOfFile(VC));
  EXPECT_FALSE(UnmapViewOfFile(VC));
  EXPECT_TRUE(CloseHandle(B));
  EXPECT_TRUE(CloseHandle(C));
  EXPECT_TRUE(CloseHandle(A));
  EXPECT_EQ(VA[1], 42u) << "a view outlives its handle";
  EXPECT_TRUE(UnmapViewOfFile(VA));
  EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, N.c_str()), nullptr) << "nobody holds it any more";
  EXPECT_EQ(GetLastError(), 2u);
  HANDLE D = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, N.c_str());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(D);
}

TEST_F(FileMappingTest, BadRequestsFail) {
  EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, Name("zero").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  HANDLE M = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100000, nullptr);
  ASSERT_NE(M, nullptr) << "an unnamed mapping";
  EXPECT_EQ(MapViewOfFile(M, FILE_MAP_ALL_ACCESS, 0, 100, 8), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MAPPED_ALIGNMENT);
  EXPECT_EQ(MapViewOfFile(M, FILE_MAP_ALL_ACCESS, 0, 0, 200000), nullptr) << "past the end";
  EXPECT_FALSE(ActivatePeerWindow(M, nullptr)) << "an unnamed mapping has no peers";
  CloseHandle(M);
  EXPECT_EQ(MapViewOfFile(M, FILE_MAP_READ, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  // Alone, nobody answers; an object someone else could open is refused.
  const std::string N = Name("alone");
  HANDLE A = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, N.c_str());
  ASSERT_NE(A, nullptr);
  EXPECT_FALSE(ActivatePeerWindow(A, HandleFromInt<HWND>(0x100001), 500));
  CloseHandle(A);
  const std::string Open = Name("open");
  const int Fd = ::shm_open(FileMappingObjectName(Open).c_str(), O_RDWR | O_CREAT, 0666);
  ASSERT_GE(Fd, 0);
  ::fchmod(Fd, 0666);
  ::close(Fd);
  EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, Open.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileMappingTest, TheRuntimeFolderIsPrivate) {
  EXPECT_EQ(SourceluxRuntimeDir(), FRuntime.Path().string() + "/sourcelux/");
  struct stat St{};
  ASSERT_EQ(::stat((FRuntime / "sourcelux").c_str(), &St), 0);
  EXPECT_EQ(St.st_mode & 0777, 0700u);
  // A runtime folder open to others is not used.
  ::chmod(FRuntime.Path().c_str(), 0755);
  const std::string Fallback = "/tmp/sourcelux-" + std::to_string(getuid());
  const bool Existed = std::filesystem::exists(Fallback);
  EXPECT_EQ(SourceluxRuntimeDir(), Fallback + "/");
  if (!Existed) ::rmdir(Fallback.c_str());
}
