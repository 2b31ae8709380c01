// The single-instance guard: its rules inside one process, and copies of
// a small program (helper/DesktopProgram.h) started side by side, one
// after another and killed. Each test runs its own copy of that program
// under a path of its own, so the tests of one run do not meet.
#include "app/desktop/InstanceControl.h"

#include <sys/mman.h>

#include <cstdint>
#include <filesystem>

#include "DesktopTestSupport.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/Processes.h"
#include "platform/win/FileMapping.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {
class InstanceControlTest : public TDesktopTest {
protected:
  void SetUp() override {
    TDesktopTest::SetUp();
    std::filesystem::permissions(FRuntime.Path(), std::filesystem::perms::owner_all);
  }
  void TearDown() override {
    for (const auto& N : FNames) {
      ::shm_unlink(FileMappingObjectName(N).c_str());
      for (int I = 0; I < 4; ++I) ::shm_unlink(FileMappingObjectName(N + "|seat" + std::to_string(I)).c_str());
    }
    TDesktopTest::TearDown();
  }
  // The program, installed in a folder of this test (a blank in its path).
  std::string Program() {
    if (FProgram.empty()) {
      const auto Dir = FScratch.Path() / "Sourcelux App";
      std::filesystem::create_directories(Dir);
      FProgram = (Dir / "sourcelux").string();
      std::error_code Ec;
      std::filesystem::create_hard_link(SX_APP_DESKTOP_HELPER, FProgram, Ec);
      if (Ec) std::filesystem::copy_file(SX_APP_DESKTOP_HELPER, FProgram);
      FNames.push_back(TadpInstanceControl::MappingNameOf(FProgram));
    }
    return FProgram;
  }
  std::unique_ptr<sxtest::TChildProcess> Start(const std::string& Args = "") {
    auto C = std::make_unique<sxtest::TChildProcess>(QuoteCommandLineArgument(Program()) + " " + Args);
    EXPECT_TRUE(C->Started());
    return C;
  }
  // The shared block's two numbers (the test holds it open meanwhile).
  std::pair<std::uint32_t, std::uint32_t> Block() {
    HANDLE M = OpenFileMappingA(FILE_MAP_READ, FALSE, TadpInstanceControl::MappingNameOf(Program()).c_str());
    if (!M) return {0, 0};
    auto* V = static_cast<std::uint32_t*>(MapViewOfFile(M, FILE_MAP_READ, 0, 0, 8));
    std::pair<std::uint32_t, std::uint32_t> R{V[0], V[1]};
    UnmapViewOfFile(V);
    CloseHandle(M);
    return R;
  }

  sxtest::TScratchDir FScratch{"instance"}, FRuntime{"runtime"};
  sxtest::TEnvVar FRuntimeVar{"XDG_RUNTIME_DIR", FRuntime.Path().string()};
  sxtest::TEnvVar FDisplayVar{"SX_DISPLAY", "headless"};
  std::string FProgram;
  std::vector<std::string> FNames;
};
}  // namespace

TEST(InstanceControlNames, TheBlockIsNamedAfterTheExecutableWithoutBackslashesAndBlanks) {
  EXPECT_EQ(TadpInstanceControl::MappingNameOf("C:\\Program Files\\Conv\\conv.exe"), "C:ProgramFilesConvconv.exe");
  EXPECT_EQ(TadpInstanceControl::MappingNameOf("C:\\A B\\x.exe"), TadpInstanceControl::MappingNameOf("C:\\AB\\x.exe"));
  EXPECT_EQ(TadpInstanceControl::MappingNameOf("/opt/Source Lux/sourcelux"), "/opt/SourceLux/sourcelux");
  EXPECT_NE(TadpInstanceControl::MappingNameOf("/opt/a/sourcelux"), TadpInstanceControl::MappingNameOf("/opt/b/sourcelux"));
}

// Inside one process: one component at most, nothing while disabled, and
// the block of an admitted copy. (The only test that admits this test
// program itself.)
TEST_F(InstanceControlTest, OneComponentPerProcessAndItsBlock) {
  const AnsiString Name = TadpInstanceControl::MappingNameOf(ExeName());
  FNames.push_back(Name);
  {
    TComponent Owner(nullptr);
    auto* Off = new TadpInstanceControl(&Owner);
    Off->Enabled = false;
    Off->Loaded();
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, Name.c_str()), nullptr) << "disabled: no block";
  }
  TComponent Owner(nullptr);
  auto* Guard = new TadpInstanceControl(&Owner);
  try {
    new TadpInstanceControl(&Owner);
    ADD_FAILURE() << "a second component was made";
  } catch (const EInstanceControl& E) {
    EXPECT_EQ(E.Message(), "Only one copy of this component can be dropped on a form!");
  }
  Guard->Loaded();
  EXPECT_TRUE(Guard->Admitted()) << "the first component still works";
  HANDLE M = OpenFileMappingA(FILE_MAP_READ, FALSE, Name.c_str());
  ASSERT_NE(M, nullptr);
  auto* V = static_cast<std::uint32_t*>(MapViewOfFile(M, FILE_MAP_READ, 0, 0, 8));
  ASSERT_NE(V, nullptr);
  EXPECT_EQ(V[1], 1u);
  EXPECT_TRUE(IsWindow(HandleFromInt<HWND>(std::intptr_t(V[0])))) << "the window a later copy asks to come forward";
  delete Guard;
  EXPECT_EQ(V[1], 0u) << "lowered when the copy ends";
  UnmapViewOfFile(V);
  CloseHandle(M);
  TadpInstanceControl Again(nullptr);  // a new one may be made once the first is gone
}

TEST_F(InstanceControlTest, ASecondStartBringsTheFirstWindowForwardAndEnds) {
  struct TCase { const char* Mode; const char* Away; };
  const TCase Cases[] = {
      {"--tray", "state visible=0 iconic=0 foreground=0 tray=1"},
      {"--minimized", "state visible=0 iconic=1 foreground=0 tray=1"},  // minimizing hides it into the tray
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Mode);
    auto First = Start(C.Mode);
    EXPECT_EQ(First->Line(), "admitted");
    ASSERT_TRUE(First->WaitFor(C.Away));
    EXPECT_EQ(Block().second, 1u);
    auto Second = Start();
    EXPECT_EQ(Second->Line(), "refused");
    EXPECT_TRUE(Second->WaitFor("ended")) << "the second copy ends by itself";
    EXPECT_EQ(Second->Wait(), 0);
    EXPECT_TRUE(First->WaitFor("state visible=1 iconic=0 foreground=1 tray=1"))
        << "the first copy's window is back in its normal state and in front; the icon stays";
    EXPECT_EQ(Block().second, 1u) << "a refused copy does not count";
  }
}

TEST_F(InstanceControlTest, AKilledCopyDoesNotKeepItsSeat) {
  {
    auto First = Start();
    ASSERT_TRUE(First->WaitFor("ready"));
    First->Kill();
    auto Next = Start();
    EXPECT_EQ(Next->Line(), "admitted") << "a dead copy must not block the next start";
    ASSERT_TRUE(Next->WaitFor("ready"));
  }
  // Two seats: a killed copy's seat goes to the next start, then the limit
  // holds again.
  auto A = Start("--max 2");
  ASSERT_TRUE(A->WaitFor("ready"));
  auto B = Start("--max 2");
  EXPECT_EQ(B->Line(), "admitted");
  ASSERT_TRUE(B->WaitFor("ready"));
  EXPECT_EQ(Block().second, 2u);
  A->Kill();
  auto C = Start("--max 2");
  EXPECT_EQ(C->Line(), "admitted");
  ASSERT_TRUE(C->WaitFor("ready"));
  EXPECT_EQ(Block().second, 2u) << "counted from the seats held, not from the dead copy's raise";
  auto D = Start("--max 2");
  EXPECT_EQ(D->Line(), "refused");
  EXPECT_EQ(D->Wait(), 0);
}
