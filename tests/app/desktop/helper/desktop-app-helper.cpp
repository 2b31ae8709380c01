// desktop-app-helper — the desktop tests' stand-in for the program: the
// small main window of DesktopProgram.h in an application of its own, so
// that tests can start it twice, kill it, and watch what it does. It
// prints each line of the window's log, "ready" once its message loop
// turns (an admitted copy only) and "ended" when the loop is over; it ends
// by itself within a minute (alarm). Once running it prints the window's
// state whenever it changes: "state visible=<0|1> iconic=<0|1>
// foreground=<0|1> tray=<0|1>" (tray: the tray icon shows).
//   desktop-app-helper [--max N] [--tray | --minimized]
//     --max N        the guard's MaxInstances
//     --tray         once running, hide into the tray (Minimize To SystemTray)
//     --minimized    once running, minimize the window (which hides it into
//                    the tray, as the window minimizes to the tray)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/desktop/SimpleTimer.h"
#include "helper/DesktopProgram.h"
#include "platform/forms/Application.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {
class TStarter : public TObject {
public:
  TDesktopProgramWindow* Window = nullptr;
  std::string Mode;
  TSimpleTimer* Watch = nullptr;
  std::string Last;
  void Ready(TObject*) {
    std::printf("ready\n");
    std::fflush(stdout);
    if (Mode == "--tray") Window->MinimizeToSystemTrayClick(Window);
    if (Mode == "--minimized") Window->SetWindowState(wsMinimized);
    Watch->SetEnabled(true);
  }
  void Check(TObject*) {
    const bool Shown = Window->HandleAllocated() && IsWindowVisible(Window->Handle());
    const bool Iconic = Window->HandleAllocated() && IsIconic(Window->Handle());
    const bool Front = Window->HandleAllocated() && GetForegroundWindow() == Window->Handle();
    const std::string S = "state visible=" + std::to_string(int(Shown)) + " iconic=" + std::to_string(int(Iconic)) +
                          " foreground=" + std::to_string(int(Front)) +
                          " tray=" + std::to_string(int(Window->CoolTrayIcon->GetIconVisible()));
    if (S == Last) return;
    Last = S;
    std::printf("%s\n", S.c_str());
    std::fflush(stdout);
  }
};
}  // namespace

int main(int argc, char** argv) {
  alarm(60);
  TStarter Starter;
  for (int I = 1; I < argc; ++I) {
    if (!std::strcmp(argv[I], "--max") && I + 1 < argc) TDesktopProgramWindow::Settings().MaxInstances = Cardinal(std::atoi(argv[++I]));
    else Starter.Mode = argv[I];
  }
  TDesktopProgramWindow::LogSink() = [](const std::string& Line) {
    std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
  };
  RegisterDesktopProgram();
  {
    TApplication App(nullptr);
    App.Initialize();
    App.CreateForm(Starter.Window);
    TSimpleTimer Start(10, TNotifyEvent(&Starter, &TStarter::Ready));
    TSimpleTimer Watch(20, TNotifyEvent(&Starter, &TStarter::Check));
    Starter.Watch = &Watch;
    Start.SetOneShot(true);
    if (Starter.Window->InstanceControl->Admitted()) Start.SetEnabled(true);
    App.Run();
    std::printf("ended\n");
    std::fflush(stdout);
  }
  return 0;
}
