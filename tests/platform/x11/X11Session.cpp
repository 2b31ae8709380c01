#include "X11Session.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/TestFiles.h"

#define Display XDisplay
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#undef Display

namespace {
// Outside programs of the session live at most this long.
constexpr int SessionSeconds = 600;

bool Exists(const char* Path) { return access(Path, X_OK) == 0; }
}  // namespace

TX11Session* TX11Session::Get() {
  static std::unique_ptr<TX11Session> S;
  static bool Tried = false;
  if (!Tried) {
    Tried = true;
    if (Exists("/usr/bin/Xvfb")) {
      S.reset(new TX11Session());
      if (!S->Start()) S.reset();
    }
  }
  return S.get();
}

pid_t TX11Session::Spawn(const std::vector<std::string>& Args, int KeepFd) {
  pid_t P = fork();
  if (P != 0) return P;
  // The child: its own process group, so that stopping it stops what it starts.
  setpgid(0, 0);
  int Null = open("/dev/null", O_RDWR);
  dup2(Null, 0);
  dup2(Null, 1);
  dup2(Null, 2);
  for (int Fd = 3; Fd < 256; ++Fd)
    if (Fd != KeepFd) close(Fd);
  std::vector<std::string> Full = {"/usr/bin/timeout", "-k", "5", std::to_string(SessionSeconds)};
  Full.insert(Full.end(), Args.begin(), Args.end());
  std::vector<char*> Argv;
  for (auto& A : Full) Argv.push_back(A.data());
  Argv.push_back(nullptr);
  if (!FName.empty()) setenv("DISPLAY", FName.c_str(), 1);
  execv(Argv[0], Argv.data());
  _exit(127);
}

bool TX11Session::WaitForSelection(const char* Selection, int Ms) {
  Atom A = XInternAtom(FDpy, Selection, False);
  for (int T = 0; T < Ms; T += 50) {
    if (XGetSelectionOwner(FDpy, A) != None) return true;
    usleep(50000);
  }
  return false;
}

bool TX11Session::Start() {
  int Fds[2];
  if (pipe(Fds) != 0) return false;
  pid_t X = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(Fds[1]), "-screen", "0", "1280x800x24", "-nolisten",
                   "tcp", "-noreset", "+extension", "RANDR"},
                  Fds[1]);
  close(Fds[1]);
  if (X < 0) return false;
  FChildren.push_back(X);
  // Xvfb writes its display number when it is ready.
  std::string Number;
  pollfd P{Fds[0], POLLIN, 0};
  for (int Waited = 0; Waited < 15000; Waited += 100) {
    if (poll(&P, 1, 100) > 0) {
      char Buf[32];
      ssize_t N = read(Fds[0], Buf, sizeof Buf);
      if (N <= 0) break;
      Number.append(Buf, std::size_t(N));
      if (Number.find('\n') != std::string::npos) break;
    }
  }
  close(Fds[0]);
  while (!Number.empty() && (Number.back() == '\n' || Number.back() == ' ')) Number.pop_back();
  if (Number.empty()) return false;
  FName = ":" + Number;
  FDpy = XOpenDisplay(FName.c_str());
  if (!FDpy) return false;
  if (Exists("/usr/bin/openbox")) {
    FChildren.push_back(Spawn({"/usr/bin/openbox", "--sm-disable"}));
    Atom Check = XInternAtom(FDpy, "_NET_SUPPORTING_WM_CHECK", False);
    for (int T = 0; T < 10000 && !FWm; T += 50) {
      Atom Type;
      int Format;
      unsigned long N = 0, After;
      unsigned char* Data = nullptr;
      if (XGetWindowProperty(FDpy, DefaultRootWindow(FDpy), Check, 0, 1, False, AnyPropertyType, &Type, &Format, &N,
                             &After, &Data) == Success &&
          N)
        FWm = true;
      if (Data) XFree(Data);
      if (!FWm) usleep(50000);
    }
  }
  if (Exists("/usr/bin/trayer")) {
    FChildren.push_back(Spawn({"/usr/bin/trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                               "--height", "24", "--SetDockType", "true", "--transparent", "false"}));
    FTray = WaitForSelection("_NET_SYSTEM_TRAY_S0", 10000);
  }
  return true;
}

TX11Session::~TX11Session() {
  if (FDpy) XCloseDisplay(FDpy);
  for (auto It = FChildren.rbegin(); It != FChildren.rend(); ++It) {
    kill(-*It, SIGTERM);
    kill(*It, SIGTERM);
    for (int T = 0; T < 40; ++T) {
      if (waitpid(*It, nullptr, WNOHANG) == *It) break;
      usleep(50000);
    }
  }
}

std::string TX11Session::Command(const std::string& Cmd) const { return "DISPLAY=" + FName + " " + Cmd; }

void TX11Session::MoveTo(int X, int Y) {
  XTestFakeMotionEvent(FDpy, -1, X, Y, CurrentTime);
  XSync(FDpy, False);
}

void TX11Session::Button(int B, bool Down) {
  XTestFakeButtonEvent(FDpy, unsigned(B), Down, CurrentTime);
  XSync(FDpy, False);
}

void TX11Session::Click(int X, int Y, int B) {
  MoveTo(X, Y);
  Button(B, true);
  Button(B, false);
}

void TX11Session::Key(unsigned long Sym, bool Down) {
  KeyCode Code = XKeysymToKeycode(FDpy, Sym);
  XTestFakeKeyEvent(FDpy, Code, Down, CurrentTime);
  XSync(FDpy, False);
}

void TX11Session::Tap(unsigned long Sym) {
  Key(Sym, true);
  Key(Sym, false);
}

void TX11Session::Type(const std::string& Text) {
  for (char C : Text) {
    unsigned long Sym = static_cast<unsigned char>(C);
    bool Shift = std::isupper(static_cast<unsigned char>(C)) || std::strchr("~!@#$%^&*()_+{}|:\"<>?", C);
    if (C == ' ') Sym = XK_space;
    if (Shift) Key(XK_Shift_L, true);
    Tap(Sym);
    if (Shift) Key(XK_Shift_L, false);
  }
}

std::vector<std::uint32_t> TX11Session::Grab(unsigned long Window, int X, int Y, int W, int H) {
  std::vector<std::uint32_t> Out;
  XImage* Img = XGetImage(FDpy, Window, X, Y, unsigned(W), unsigned(H), AllPlanes, ZPixmap);
  if (!Img) return Out;
  Out.resize(std::size_t(W) * std::size_t(H));
  for (int Yy = 0; Yy < H; ++Yy)
    for (int Xx = 0; Xx < W; ++Xx) Out[std::size_t(Yy) * std::size_t(W) + std::size_t(Xx)] = std::uint32_t(XGetPixel(Img, Xx, Yy)) & 0xFFFFFF;
  XDestroyImage(Img);
  return Out;
}

bool TX11Session::Viewable(unsigned long W) const {
  XWindowAttributes A;
  return W && XGetWindowAttributes(FDpy, W, &A) && A.map_state == IsViewable;
}

bool TX11Session::HasFocus(unsigned long W) const {
  Window F = 0;
  int Revert;
  XGetInputFocus(FDpy, &F, &Revert);
  return W && F == W;
}
