// AppBenchSupport.h — what the program's benchmarks share: a private
// program folder (the shipped data, the system's tidier beside it, a
// private settings store and an output folder) and the main window as the
// program makes it on the headless display, shown and painted once.
// SX_SOURCE_DIR is the source tree.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/public_unit.h"
#include "app/start.h"
#include "platform/forms/Application.h"
#include "platform/forms/FormLoader.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Window.h"

namespace bench {

class TProgramDir {
public:
  explicit TProgramDir(const std::string& Tag)
      : Root(std::filesystem::temp_directory_path() / ("sx-" + Tag + "-bench-" + std::to_string(::getpid()))) {
    namespace fs = std::filesystem;
    for (const char* Sub : {"data", "config", "out"}) fs::create_directories(Root / Sub);
    for (const char* F : {"html.sch", "tdy_config.txt", "sample.rtf"})
      fs::copy_file(fs::path(SX_SOURCE_DIR) / "data" / F, Root / "data" / F, fs::copy_options::overwrite_existing);
    for (const char* Tidy : {"/usr/bin/tidy", "/bin/tidy"})
      if (access(Tidy, X_OK) == 0) {
        fs::create_symlink(Tidy, Root / "data" / "tidy");
        break;
      }
    setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
    SetAppDir(Root.string());
    SetFormDescriptionDir(SX_SOURCE_DIR "/resources");
  }
  ~TProgramDir() {
    SetAppDir("");
    std::error_code Ec;
    std::filesystem::remove_all(Root, Ec);
  }
  TProgramDir(const TProgramDir&) = delete;
  TProgramDir& operator=(const TProgramDir&) = delete;

  std::filesystem::path Data(const char* Name) const { return Root / "data" / Name; }
  std::filesystem::path Output(const std::string& Name) const { return Root / "out" / Name; }
  bool HasTidy() const { return std::filesystem::exists(Data("tidy")); }

  const std::filesystem::path Root;
};

// The window system as the program starts it: its classes registered and
// a fresh headless screen. The editor library must be up.
inline void StartWindowSystem() {
  RegisterAppClasses();
  ResetWindowSystem();
  HeadlessDisplay().SetScreenSize({1024, 768});
}

// The application's main window, made from its description, shown and
// painted; the caller deletes it.
inline TMainForm* OpenMainWindow(TApplication& App) {
  TMainForm* Main = nullptr;
  App.CreateForm(Main);
  Main->Show();
  HeadlessDisplay().ProcessMessages();
  return Main;
}

}  // namespace bench
