// The README's second command on a real X desktop: scripts/run starts the
// built program (SX_PROGRAM, so the tree is not rebuilt) on the session's
// display with the sample document; its window is found and photographed,
// then a user closes the sample, types a document into the input editor,
// converts it with F5 (HTML by default) and sees it in the output editor,
// and leaves with Alt+X.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/win/HeadlessDisplay.h"
#include "platform/x11/X11Session.h"
#include "support/ScratchDir.h"
#include "support/TestFiles.h"

#define Display XDisplay
#define Screen XScreen
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef Display
#undef Screen

namespace {
namespace fs = std::filesystem;

// Seconds the script (and the program it becomes) may run at most.
constexpr int RunSeconds = 180;

bool WaitFor(const std::function<bool()>& Done, int Ms) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
  while (std::chrono::steady_clock::now() < End) {
    if (Done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return Done();
}

class RunScriptX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    Session = TX11Session::Get();
    if (!Session) GTEST_SKIP() << "no Xvfb on this machine";
    if (access("/usr/bin/tidy", X_OK) != 0) GTEST_SKIP() << "no tidy: the HTML road cannot run";
    // The program as the build lays it out, in a folder of its own (its
    // settings, layout and single-instance guard stay there).
    ProgramDir = Scratch.Path() / "Sourcelux Run";
    fs::create_directories(ProgramDir);
    Program = ProgramDir / "sourcelux";
    std::error_code Ec;
    fs::create_hard_link(SX_SOURCELUX, Program, Ec);
    if (Ec) fs::copy_file(SX_SOURCELUX, Program);
    fs::copy(SX_SOURCE_DIR "/data", ProgramDir / "data", fs::copy_options::recursive);
    fs::copy(SX_SOURCE_DIR "/resources", ProgramDir / "resources", fs::copy_options::recursive);
    fs::copy_file(SX_SOURCE_DIR "/app/tidy-launcher.sh", ProgramDir / "data" / "tidy");
    fs::permissions(ProgramDir / "data" / "tidy", fs::perms::owner_all);
    fs::create_directories(Scratch.Path() / "config");
    fs::create_directories(Scratch.Path() / "runtime");
    fs::permissions(Scratch.Path() / "runtime", fs::perms::owner_all);
  }
  void TearDown() override {
    if (Pid > 0) {
      // The script's own process group: timeout, and the program it runs.
      kill(-Pid, SIGTERM);
      if (!Reap(5000)) {
        kill(-Pid, SIGKILL);
        Reap(5000);
      }
    }
  }

  // scripts/run with no FILE: the sample document of the program's data
  // folder, loaded through the program's command line.
  void StartScript() {
    const std::string Log = Scratch / "run.log";
    Pid = fork();
    ASSERT_GE(Pid, 0);
    if (Pid == 0) {
      setpgid(0, 0);
      int Null = open("/dev/null", O_RDONLY);
      int Out = open(Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(Null, 0);
      dup2(Out, 1);
      dup2(Out, 2);
      setenv("DISPLAY", Session->Name().c_str(), 1);
      setenv("SX_DISPLAY", "x11", 1);
      setenv("SX_PROGRAM", Program.c_str(), 1);
      setenv("XDG_CONFIG_HOME", (Scratch / "config").c_str(), 1);
      setenv("XDG_RUNTIME_DIR", (Scratch / "runtime").c_str(), 1);
      const std::string Script = SX_SOURCE_DIR "/scripts/run";
      const std::string Limit = std::to_string(RunSeconds);
      execl("/usr/bin/timeout", "timeout", "-k", "5", Limit.c_str(), "/bin/sh", Script.c_str(), (char*)nullptr);
      _exit(127);
    }
    setpgid(Pid, Pid);
  }
  // Waits for the script's end; its exit status, or -1 when it has not
  // ended within Ms.
  bool Reap(int Ms, int* Code = nullptr) {
    int S = 0;
    const bool Ended = WaitFor([&] { return waitpid(Pid, &S, WNOHANG) == Pid; }, Ms);
    if (Ended) {
      Pid = -1;
      if (Code) *Code = WIFEXITED(S) ? WEXITSTATUS(S) : 128 + WTERMSIG(S);
    }
    return Ended;
  }
  std::string Log() { return sxtest::ReadFile(Scratch / "run.log"); }

  // The program's top-level window: the one whose title starts with Prefix.
  unsigned long FindWindow(const std::string& Prefix) {
    std::function<unsigned long(Window)> Walk = [&](Window W) -> unsigned long {
      char* Name = nullptr;
      if (XFetchName(Session->Dpy(), W, &Name) && Name) {
        const std::string N = Name;
        XFree(Name);
        if (N.rfind(Prefix, 0) == 0) return W;
      }
      Window Root, Parent, *Kids = nullptr;
      unsigned Count = 0;
      unsigned long Found = 0;
      if (XQueryTree(Session->Dpy(), W, &Root, &Parent, &Kids, &Count)) {
        for (unsigned I = 0; I < Count && !Found; ++I) Found = Walk(Kids[I]);
        if (Kids) XFree(Kids);
      }
      return Found;
    };
    return Walk(DefaultRootWindow(Session->Dpy()));
  }
  std::string Title(unsigned long W) {
    char* Name = nullptr;
    std::string N;
    if (XFetchName(Session->Dpy(), W, &Name) && Name) {
      N = Name;
      XFree(Name);
    }
    return N;
  }
  void Size(unsigned long W, int& Width, int& Height) {
    XWindowAttributes A;
    XGetWindowAttributes(Session->Dpy(), W, &A);
    Width = A.width;
    Height = A.height;
  }
  // A photograph of the window, kept beside the test for a look.
  std::vector<std::uint32_t> Photograph(unsigned long W, const std::string& Name) {
    int Width = 0, Height = 0;
    Size(W, Width, Height);
    std::vector<std::uint32_t> Px = Session->Grab(W, 0, 0, Width, Height);
    if (!Px.empty()) WritePng(Name, Width, Height, Px.data());
    return Px;
  }
  // Pixels darker than mid-grey in a rectangle of the window: text.
  int DarkPixels(unsigned long W, int X, int Y, int Width, int Height) {
    int N = 0;
    for (std::uint32_t P : Session->Grab(W, X, Y, Width, Height)) {
      const int Lum = int((P >> 16) & 0xFF) + int((P >> 8) & 0xFF) + int(P & 0xFF);
      if (Lum < 3 * 128) ++N;
    }
    return N;
  }
  void ClickAt(unsigned long W, int X, int Y) {
    Window Child;
    int Rx = 0, Ry = 0;
    XTranslateCoordinates(Session->Dpy(), W, DefaultRootWindow(Session->Dpy()), X, Y, &Rx, &Ry, &Child);
    Session->Click(Rx, Ry);
    // The server delivers keys to whichever window has the focus when it
    // reads them; the program moves the focus only once it has handled the
    // click, so a key sent at once can land elsewhere on a loaded machine
    // (a user never types within microseconds of clicking).
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  void Chord(unsigned long Modifier, unsigned long Key) {
    Session->Key(Modifier, true);
    Session->Tap(Key);
    Session->Key(Modifier, false);
  }

  TX11Session* Session = nullptr;
  sxtest::TScratchDir Scratch{"x11-run"};
  fs::path ProgramDir, Program;
  pid_t Pid = -1;
};
}  // namespace

TEST_F(RunScriptX11Test, StartsTheProgramWhichConvertsATypedDocumentToHtml) {
  StartScript();
  const std::string Sample = fs::canonical(ProgramDir / "data" / "sample.rtf").string();
  const std::string Loaded = "Sourcelux v1.0.0 - [" + Sample + "]";
  unsigned long W = 0;
  ASSERT_TRUE(WaitFor([&] { return (W = FindWindow("Sourcelux v1.0.0")) != 0 && Session->Viewable(W); }, 90000))
      << "no window came up; the script said:\n" << Log();
  // The command line's "x Indent FILE" loaded the sample and shows it.
  ASSERT_TRUE(WaitFor([&] { return Title(W) == Loaded; }, 30000)) << Title(W);
  int Width = 0, Height = 0;
  Size(W, Width, Height);
  ASSERT_GT(Width, 400);
  ASSERT_GT(Height, 300);
  // The two editors: the input editor in the left half, the output editor
  // in the right, both below the bars and above the tabs.
  const int InX = Width / 4, OutX = Width * 3 / 4, MidY = Height / 2;
  const int AreaW = Width / 6, AreaH = Height / 5;
  EXPECT_TRUE(WaitFor([&] { return DarkPixels(W, InX - AreaW / 2, MidY - AreaH, AreaW, AreaH) > 20; }, 15000))
      << "the sample's text shows in the input editor";
  EXPECT_EQ(DarkPixels(W, OutX - AreaW / 2, MidY - AreaH / 2, AreaW, AreaH), 0) << "nothing converted yet";
  EXPECT_FALSE(Photograph(W, "app-x11-run.png").empty()) << "the window can be photographed";

  // A user: focus the input editor, close the sample, type a document.
  ClickAt(W, InX, MidY);
  Chord(XK_Control_L, XK_w);
  ASSERT_TRUE(WaitFor([&] { return Title(W) == "Sourcelux v1.0.0"; }, 15000)) << "Close File: " << Title(W);
  ClickAt(W, InX, MidY);
  Session->Type("Typed on the display");
  Session->Tap(XK_Return);
  Session->Type("second line");
  // Convert: the default format is HTML; the tidied page fills the output
  // editor.
  Session->Tap(XK_F5);
  const fs::path Page = ProgramDir / "data" / "tdy.html";
  EXPECT_TRUE(WaitFor([&] {
    if (!fs::exists(Page) || fs::exists(ProgramDir / "data" / "err.txt")) return false;
    const std::string Html = sxtest::ReadFile(Page);
    // The exporter keeps blanks as non-breaking spaces.
    return Html.find("Typed&nbsp;on&nbsp;the&nbsp;display") != std::string::npos &&
           Html.find("second&nbsp;line") != std::string::npos;
  }, 60000)) << "the typed document became the tidied page";
  EXPECT_TRUE(WaitFor([&] { return DarkPixels(W, OutX - AreaW / 2, Height / 5, AreaW, AreaH) > 20; }, 15000))
      << "the page shows in the output editor";
  Photograph(W, "app-x11-run-converted.png");

  // Exit (Alt+X) ends the program normally, which keeps the bar layout.
  Chord(XK_Alt_L, XK_x);
  int Code = -1;
  ASSERT_TRUE(Reap(30000, &Code)) << "the program did not end";
  EXPECT_EQ(Code, 0) << Log();
  EXPECT_TRUE(fs::exists(ProgramDir / "data" / "Layout.ini"));
}
